#include "Zvx.h"

#include <exception>
#include <new>

#include "Commands.h"
#include "TError.h"
#include "TZvxOptions.h"

#ifndef ZELVATRIX_VERSION
#define ZELVATRIX_VERSION "unknown"
#endif

namespace {

std::string MainHelp() {
  std::string help =
      "Usage: zvx COMMAND [options] FILE...\n"
      "Range-edge analyses of MP files of the population model, for whole\n"
      "ensembles of files, as tidy comma-separated tables.\n\nCommands:\n";
  for (const TZvxCommand& command : ZvxCommands()) {
    std::string name = std::string("  ") + command.name;
    name.resize(12, ' ');
    help += name + command.summary + "\n";
  }
  help +=
      "\nzvx COMMAND --help shows the options of a command; zvx --version "
      "its version.\n"
      "Exit status: 0 success, 1 a file failed, 2 a wrong command line, 3 an "
      "internal fault.\n";
  return help;
}

std::string CommandHelp(const TZvxCommand& command) {
  std::string help = std::string("Usage: zvx ") + command.name + " " +
                     command.synopsis + "\n" + command.summary +
                     ".\n\nOptions:\n" + TZvxOptions::Help();
  if (command.notes != nullptr) help += std::string("\n") + command.notes;
  return help + "\nSee man zvx for the details.\n";
}

const TZvxCommand* FindCommand(const std::string& name) {
  for (const TZvxCommand& command : ZvxCommands()) {
    if (name == command.name) return &command;
  }
  return nullptr;
}

int Run(const TZvxCommand& command, const std::vector<std::string>& args,
        std::istream& in, std::ostream& out, std::ostream& err,
        bool err_is_terminal) {
  const std::string name = command.name;
  try {
    TCommandContext context{name, TZvxOptions::Parse(name, args, in),
                            in,   out,
                            err,  err_is_terminal};
    if (context.options.help) {
      out << CommandHelp(command);
      return kZvxSuccess;
    }
    return command.run(context);
  } catch (const TError& error) {
    switch (error.GetKind()) {
      case TError::Kind::kUsage:
        err << "zvx " << name << ": " << error.what() << "\nTry 'zvx " << name
            << " --help'.\n";
        return kZvxUsage;
      case TError::Kind::kInput:
        err << error.what() << '\n';
        return kZvxFileFailed;
      case TError::Kind::kInternal:
        break;
    }
    err << "zvx " << name
        << ": internal error, please report it: " << error.what() << '\n';
  } catch (const std::bad_alloc&) {
    err << "zvx " << name << ": Out of memory\n";
    return kZvxFileFailed;
  } catch (const std::exception& error) {
    err << "zvx " << name
        << ": internal error, please report it: " << error.what() << '\n';
  }
  return kZvxInternal;
}

}  // namespace

int RunZvx(const std::vector<std::string>& args, std::istream& in,
           std::ostream& out, std::ostream& err, bool err_is_terminal) {
  if (args.empty()) {
    err << "zvx: no command given\nTry 'zvx --help'.\n";
    return kZvxUsage;
  }
  if (args[0] == "--help" || args[0] == "-h") {
    out << MainHelp();
    return kZvxSuccess;
  }
  if (args[0] == "--version") {
    out << "zvx " << ZELVATRIX_VERSION << '\n';
    return kZvxSuccess;
  }
  const TZvxCommand* command = FindCommand(args[0]);
  if (command == nullptr) {
    err << "zvx: unknown command '" << args[0] << "'\nTry 'zvx --help'.\n";
    return kZvxUsage;
  }
  const std::vector<std::string> rest(args.begin() + 1, args.end());
  return Run(*command, rest, in, out, err, err_is_terminal);
}
