// The driver: reads the command line, loads the MP file and writes the
// report of range-edge shifts as delimiter-separated text.

#include "Zelvatrix.h"

#include <cstdint>
#include <exception>
#include <functional>
#include <iostream>
#include <memory>
#include <new>
#include <string>
#include <vector>

#include "TError.h"
#include "TMPParser.h"
#include "TPatches.h"

const char kZelvatrixUsage[] =
    "Usage: Zelvatrix filename startyear XorY Threshold delimiter [burn-in] "
    "[patch_size_threshold] [moving_average_type (sma | exp) window_size]";

namespace {

using Loader =
    std::function<std::unique_ptr<TPatches>(const std::string&, int32_t)>;

enum class Smoothing { kNone, kMovingAverage, kExponential };

struct RunParameters {
  std::string filename;
  int32_t startyear = 0;
  char axis = '\0';
  double share = 0.0;
  std::string delimiter;
  int32_t burn_in = 0;
  int32_t patch_size_threshold = 0;
  Smoothing smoothing = Smoothing::kNone;
  int32_t window_size = 0;
};

// Takes the run parameters by position. The smoothing type is checked here,
// before the MP file is opened.
RunParameters ReadParameters(const std::vector<std::string>& args) {
  RunParameters parameters;
  parameters.filename = args[0];
  parameters.startyear = TMPParser::ReadInteger(args[1]);
  parameters.axis = args[2].empty() ? '\0' : args[2][0];
  parameters.share = TMPParser::ReadDecimal(args[3]);
  parameters.delimiter = args[4];
  if (args.size() >= 6) parameters.burn_in = TMPParser::ReadInteger(args[5]);
  if (args.size() >= 7) {
    parameters.patch_size_threshold = TMPParser::ReadInteger(args[6]);
  }
  if (args.size() >= 9) {
    if (args[7] == "sma") {
      parameters.smoothing = Smoothing::kMovingAverage;
    } else if (args[7] == "exp") {
      parameters.smoothing = Smoothing::kExponential;
    } else {
      throw TError("Unknown moving average");
    }
    parameters.window_size = TMPParser::ReadInteger(args[8]);
  }
  return parameters;
}

// Writes one report line: the fields joined by the delimiter, a line end,
// and a flush, so that what was written stays written if a later step fails.
void WriteLine(std::ostream& out, const std::string& delimiter,
               const std::vector<std::string>& fields) {
  for (std::size_t i = 0; i < fields.size(); ++i) {
    if (i > 0) out << delimiter;
    out << fields[i];
  }
  out << '\n' << std::flush;
}

void Report(const RunParameters& parameters, const Loader& load,
            std::ostream& out) {
  std::unique_ptr<TPatches> patches =
      load(parameters.filename, parameters.startyear);
  WriteLine(out, parameters.delimiter,
            {"Num patches loaded", std::to_string(patches->GetNumPatches())});
}

int Run(const std::vector<std::string>& args, const Loader& load,
        std::ostream& out, std::ostream& err) {
  // Eight arguments name a smoothing type without its window size: as
  // incomplete as fewer than five.
  if (args.size() < 5 || args.size() == 8) {
    err << kZelvatrixUsage << std::flush;
    return 1;
  }
  try {
    Report(ReadParameters(args), load, out);
    return 0;
  } catch (const std::bad_alloc&) {
    err << "Out of memory" << std::endl;
  } catch (const std::exception& error) {
    err << error.what() << std::endl;
  }
  return 1;
}

}  // namespace

int RunZelvatrix(const std::vector<std::string>& args, std::ostream& out,
                 std::ostream& err) {
  const Loader load = [](const std::string& filename, int32_t startyear) {
    return TMPParser::LoadMP(filename, startyear);
  };
  return Run(args, load, out, err);
}

int RunZelvatrix(const std::vector<std::string>& args, std::istream& mp_file,
                 std::ostream& out, std::ostream& err) {
  const Loader load = [&mp_file](const std::string& filename,
                                 int32_t startyear) {
    try {
      return TMPParser::LoadMP(mp_file, startyear);
    } catch (const TError& error) {
      throw TError(filename + ": " + error.what());
    }
  };
  return Run(args, load, out, err);
}

#ifndef ZELVATRIX_NO_MAIN
int main(int argc, char** argv) {
  const std::vector<std::string> args(argv + 1, argv + argc);
  return RunZelvatrix(args, std::cout, std::cerr);
}
#endif
