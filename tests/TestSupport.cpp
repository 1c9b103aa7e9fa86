#include "TestSupport.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "TMPParser.h"
#include "Zelvatrix.h"

extern char** environ;

namespace fs = std::filesystem;

std::string ExamplePath(const std::string& name) {
  return std::string(ZELVATRIX_SOURCE_DIR) + "/examples/" + name;
}

std::string RealMpPath(const std::string& name) {
  const fs::path dir =
      fs::path(ZELVATRIX_SOURCE_DIR) / ".." / "shared" / "data" / "real-mp";
  if (!fs::is_directory(dir)) return "";
  return (dir / name).string();
}

std::unique_ptr<TPatches> MakePatches(const std::vector<PatchData>& landscape) {
  auto patches = std::make_unique<TPatches>();
  for (const PatchData& data : landscape) {
    auto patch = std::make_unique<TPatch>(data.name, "", data.x, data.y);
    for (const auto& entry : data.populations) {
      patch->SetYear(entry.first, entry.second);
    }
    patches->AddPatch(std::move(patch));
  }
  return patches;
}

std::unique_ptr<TPatches> LoadText(const std::string& content,
                                   int32_t startyear) {
  std::istringstream in(content);
  return TMPParser::LoadMP(in, startyear);
}

std::string WriteTempFile(const std::string& name, const std::string& content) {
  static const fs::path dir = [] {
    fs::path made = fs::temp_directory_path() /
                    ("zelvatrix-tests-" + std::to_string(::getpid()));
    fs::create_directories(made);
    return made;
  }();
  const fs::path path = dir / name;
  std::ofstream(path, std::ios::binary) << content;
  return path.string();
}

RunResult RunProgram(const std::vector<std::string>& args) {
  std::ostringstream out;
  std::ostringstream err;
  const int status = RunZelvatrix(args, out, err);
  return {status, out.str(), err.str()};
}

RunResult RunProgramOn(const std::vector<std::string>& args,
                       const std::string& mp_content) {
  std::istringstream in(mp_content);
  std::ostringstream out;
  std::ostringstream err;
  const int status = RunZelvatrix(args, in, out, err);
  return {status, out.str(), err.str()};
}

namespace {

std::string ReadAll(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream content;
  content << in.rdbuf();
  return content.str();
}

}  // namespace

RunResult RunExecutable(const std::vector<std::string>& args,
                        const std::string& binary) {
  const std::string out_path = WriteTempFile("stdout.txt", "");
  const std::string err_path = WriteTempFile("stderr.txt", "");
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 1, out_path.c_str(),
                                   O_WRONLY | O_TRUNC, 0);
  posix_spawn_file_actions_addopen(&actions, 2, err_path.c_str(),
                                   O_WRONLY | O_TRUNC, 0);
  std::vector<std::string> argv_text = {binary};
  argv_text.insert(argv_text.end(), args.begin(), args.end());
  std::vector<char*> argv;
  for (std::string& arg : argv_text) argv.push_back(arg.data());
  argv.push_back(nullptr);
  pid_t pid = 0;
  const int spawned = posix_spawn(&pid, binary.c_str(), &actions, nullptr,
                                  argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  if (spawned != 0) return {-1, "", "spawn failed"};
  int wait_status = 0;
  waitpid(pid, &wait_status, 0);
  const int status = WIFEXITED(wait_status) ? WEXITSTATUS(wait_status)
                                            : 128 + WTERMSIG(wait_status);
  return {status, ReadAll(out_path), ReadAll(err_path)};
}
