#ifndef ZELVATRIX_TESTS_TESTSUPPORT_H_
#define ZELVATRIX_TESTS_TESTSUPPORT_H_

#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "TPatches.h"

// Path of a file under the project's examples/ folder.
std::string ExamplePath(const std::string& name);
// Path of one of the published MP files kept beside the project, or "" when
// that folder is not there (the tests using it then skip).
std::string RealMpPath(const std::string& name);

// A patch for a test collection: name, position and populations by year.
struct PatchData {
  std::string name;
  double x;
  double y;
  std::vector<std::pair<int32_t, double>> populations;
};

// A collection holding the given patches.
std::unique_ptr<TPatches> MakePatches(const std::vector<PatchData>& landscape);

// Loads MP file content held in a string.
std::unique_ptr<TPatches> LoadText(const std::string& content,
                                   int32_t startyear);

// Writes `content` to a new file in a temporary folder and returns its path.
std::string WriteTempFile(const std::string& name, const std::string& content);

struct RunResult {
  int status;
  std::string out;
  std::string err;
};

// Runs the program in-process; the file name argument is opened as usual.
RunResult RunProgram(const std::vector<std::string>& args);
// Runs the program in-process with `mp_content` as the MP file.
RunResult RunProgramOn(const std::vector<std::string>& args,
                       const std::string& mp_content);
// Runs the built executable `binary` (by default the one-file program) as a
// separate process.
RunResult RunExecutable(const std::vector<std::string>& args,
                        const std::string& binary = ZELVATRIX_BINARY);

#endif  // ZELVATRIX_TESTS_TESTSUPPORT_H_
