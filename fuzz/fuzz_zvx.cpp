// Fuzzes zvx in-process: its option parsing and the per-file pipeline of
// every subcommand. Input: the first line is the command line, split at
// spaces, where "@" stands for the MP file (named once at the end when no
// "@" is given); the rest of the input is the MP file's content.
//
// The run happens in a private temporary folder and may name no other
// file: arguments holding a "/" are dropped, and so are --output and
// --files-from, so that the fuzzer can neither write nor read elsewhere.
//
// Every run must end with status 0, 1 or 2 (3 is a fault of zvx):
// 2 with nothing on standard output and a pointer to the help; 0 with
// nothing on standard error; and every table line whole, with as many
// fields as the header.

#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "Zvx.h"

namespace {

void Require(bool condition) {
  if (!condition) std::abort();
}

const char kFile[] = "run.mp";

// Moves the process into a folder of its own, once.
void EnterPrivateFolder() {
  static const bool entered = [] {
    const std::filesystem::path dir =
        std::filesystem::temp_directory_path() /
        ("fuzz_zvx_" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    Require(::chdir(dir.c_str()) == 0);
    return true;
  }();
  (void)entered;
}

std::vector<std::string> TakeArguments(std::string_view* input) {
  const std::size_t end = input->find('\n');
  const std::string_view line = input->substr(0, end);
  input->remove_prefix(end == std::string_view::npos ? input->size() : end + 1);
  std::vector<std::string> args;
  bool file_named = false;
  std::size_t at = 0;
  while (at <= line.size() && args.size() < 24) {
    std::size_t space = line.find(' ', at);
    if (space == std::string_view::npos) space = line.size();
    std::string arg(line.substr(at, space - at));
    at = space + 1;
    if (arg.empty() || arg.find('/') != std::string::npos) continue;
    if (arg.rfind("--output", 0) == 0 || arg.rfind("--files-from", 0) == 0) {
      continue;
    }
    if (arg == "@") {
      arg = kFile;
      file_named = true;
    }
    args.push_back(arg);
  }
  if (!args.empty()) {
    args.insert(args.begin() + 1, {"--jobs", "1", "-q"});
    if (!file_named) args.push_back(kFile);
  }
  return args;
}

// Commas outside double quotes: the field separators of a csv line.
std::size_t Separators(const std::string& line) {
  std::size_t count = 0;
  bool quoted = false;
  for (char c : line) {
    if (c == '"') quoted = !quoted;
    if (c == ',' && !quoted) ++count;
  }
  return count;
}

void CheckTable(const std::string& out) {
  Require(out.empty() || out.back() == '\n');
  if (out.rfind("file,", 0) != 0 && out.rfind("baseline,", 0) != 0) return;
  std::istringstream lines(out);
  std::string header;
  std::getline(lines, header);
  const std::size_t fields = Separators(header);
  // The only text fields are the names from this run, which hold no line
  // end, so every table line is one row.
  for (std::string line; std::getline(lines, line);) {
    Require(Separators(line) == fields);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  EnterPrivateFolder();
  std::string_view input(reinterpret_cast<const char*>(data), size);
  const std::vector<std::string> args = TakeArguments(&input);
  std::ofstream(kFile, std::ios::binary | std::ios::trunc)
      .write(input.data(), static_cast<std::streamsize>(input.size()));
  std::istringstream in;
  std::ostringstream out;
  std::ostringstream err;
  const int status = RunZvx(args, in, out, err, false);
  Require(status == 0 || status == 1 || status == 2);
  if (status == 2) {
    Require(out.str().empty());
    Require(err.str().find("--help'.\n") != std::string::npos);
  } else if (status == 0) {
    Require(err.str().empty());
  } else {
    Require(!err.str().empty());
  }
  CheckTable(out.str());
  return 0;
}
