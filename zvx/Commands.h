#ifndef ZELVATRIX_ZVX_COMMANDS_H_
#define ZELVATRIX_ZVX_COMMANDS_H_

#include <string>
#include <vector>

#include "TEnsembleCommand.h"

// A subcommand of zvx: its name, a one-line summary for zvx --help, the
// synopsis of its arguments, and its handler, which returns the exit
// status. A handler throws TError of kind kUsage for a wrong command line.
// `notes`, when given, ends the command's --help.
struct TZvxCommand {
  const char* name;
  const char* summary;
  const char* synopsis;
  int (*run)(TCommandContext& context);
  const char* notes = nullptr;
};

// Every subcommand, in the order zvx --help lists them.
const std::vector<TZvxCommand>& ZvxCommands();

// The handlers, one file each.
int RunEdgesCommand(TCommandContext& context);
int RunMembersCommand(TCommandContext& context);
int RunYearsCommand(TCommandContext& context);
int RunCompareCommand(TCommandContext& context);
int RunPlotCommand(TCommandContext& context);

#endif  // ZELVATRIX_ZVX_COMMANDS_H_
