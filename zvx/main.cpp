// zvx: the toolkit command. main only hands the arguments and the standard
// streams to RunZvx, so that tests and fuzzers run the same code in-process.

#include <unistd.h>

#include <iostream>
#include <string>
#include <vector>

#include "Zvx.h"

int main(int argc, char** argv) {
  std::ios::sync_with_stdio(false);
  const std::vector<std::string> args(argv + 1, argv + argc);
  return RunZvx(args, std::cin, std::cout, std::cerr, isatty(2) == 1);
}
