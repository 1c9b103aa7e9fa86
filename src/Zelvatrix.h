#ifndef ZELVATRIX_ZELVATRIX_H_
#define ZELVATRIX_ZELVATRIX_H_

#include <istream>
#include <ostream>
#include <string>
#include <vector>

// The usage line, written without line end to standard error when the
// command line is too short.
extern const char kZelvatrixUsage[];

// Runs the whole program once. `args` are the command-line arguments after
// the program name. The report goes to `out`, the usage line or an error
// message to `err`. Returns the exit status: 0 after a complete report, 1 for
// a command line that is too short and for any error.
int RunZelvatrix(const std::vector<std::string>& args, std::ostream& out,
                 std::ostream& err);

// The same, but the MP file is read from `mp_file` instead of being opened;
// the file name argument then only appears in messages.
int RunZelvatrix(const std::vector<std::string>& args, std::istream& mp_file,
                 std::ostream& out, std::ostream& err);

#endif  // ZELVATRIX_ZELVATRIX_H_
