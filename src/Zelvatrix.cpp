// The driver: reads the command line, loads the MP file and writes the
// report of range-edge shifts as delimiter-separated text.

#include "Zelvatrix.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <exception>
#include <functional>
#include <iostream>
#include <memory>
#include <new>
#include <string>
#include <vector>

#include "TCentroidTools.h"
#include "TCentroids.h"
#include "TError.h"
#include "TMPParser.h"
#include "TPatch.h"
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

// Takes the run parameters by position. The start year and the smoothing
// type are checked here, before the MP file is opened.
RunParameters ReadParameters(const std::vector<std::string>& args) {
  RunParameters parameters;
  parameters.filename = args[0];
  parameters.startyear = TMPParser::ReadInteger(args[1]);
  // A patch's minimum year never rises above kNoMinYear, so with a later
  // start year that value would open the year span as a year without data:
  // the reference of every shift, and the whole report NaN.
  if (parameters.startyear > TPatch::kNoMinYear) {
    throw TError("startyear " + std::to_string(parameters.startyear) +
                 " is outside its valid range: it can be at most " +
                 std::to_string(TPatch::kNoMinYear));
  }
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
// Throws TError when the line could not be written.
void WriteLine(std::ostream& out, const std::string& delimiter,
               const std::vector<std::string>& fields) {
  for (std::size_t i = 0; i < fields.size(); ++i) {
    if (i > 0) out << delimiter;
    out << fields[i];
  }
  out << '\n' << std::flush;
  // A full disk or a closed output must not pass for a complete report.
  if (!out) {
    throw TError(
        "cannot write the report to standard output (is the disk full?)");
  }
}

// A double as the report shows it: at most six significant digits in the
// shorter of plain and scientific notation (the rules of %g), "NaN" and
// "Infinity" for the values that are not finite, and a point as decimal
// separator whatever the locale.
std::string FormatNumber(double value) {
  if (std::isnan(value)) return "NaN";
  if (std::isinf(value)) return "Infinity";
  char buffer[32];
  const std::to_chars_result result = std::to_chars(
      buffer, buffer + sizeof buffer, value, std::chars_format::general, 6);
  return std::string(buffer, result.ptr);
}

std::string FormatInteger(int64_t value) { return std::to_string(value); }

// The collection the analysis runs on: the loaded one, or its cleaned copy.
std::unique_ptr<TPatches> LoadAndClean(const RunParameters& parameters,
                                       const Loader& load, std::ostream& out) {
  const std::string& d = parameters.delimiter;
  std::unique_ptr<TPatches> patches =
      load(parameters.filename, parameters.startyear);
  WriteLine(out, d,
            {"Num patches loaded", FormatInteger(patches->GetNumPatches())});
  if (parameters.patch_size_threshold > 0) {
    patches =
        TCentroidTools::CleanPatches(*patches, parameters.patch_size_threshold);
    WriteLine(out, d,
              {"Patch size threshold",
               FormatInteger(parameters.patch_size_threshold)});
    WriteLine(out, d,
              {"Num patches after cleaning",
               FormatInteger(patches->GetNumPatches())});
  }
  WriteLine(out, d, {"Resolution(km)", FormatNumber(patches->GetResolution())});
  return patches;
}

// Rejects a run that would leave nothing to report, before any analysis:
// each analysis stage needs at least one patch, one year, and a burn-in
// and window that leave at least one year.
void CheckLimits(const RunParameters& parameters, const TPatches& patches,
                 std::size_t span) {
  if (patches.GetNumPatches() == 0) {
    throw TError(parameters.patch_size_threshold > 0
                     ? "No patch to analyse: cleaning with "
                       "patch_size_threshold " +
                           FormatInteger(parameters.patch_size_threshold) +
                           " removed every patch of " + parameters.filename
                     : "No patch to analyse: " + parameters.filename +
                           " holds no patch lines");
  }
  if (span == 0) {
    throw TError("No year to analyse: no patch of " + parameters.filename +
                 " has populations (the file has no \"Pop. ALL\" results)");
  }
  const int64_t years = static_cast<int64_t>(span);
  if (parameters.burn_in < 0 || parameters.burn_in >= years) {
    throw TError("burn-in " + FormatInteger(parameters.burn_in) +
                 " is outside its valid range 0 to " +
                 FormatInteger(years - 1) + ": the file covers " +
                 FormatInteger(years) + " years");
  }
  if (parameters.smoothing == Smoothing::kNone) return;
  if (parameters.window_size < 1) {
    throw TError("window_size " + FormatInteger(parameters.window_size) +
                 " is outside its valid range: it must be at least 1");
  }
  const int64_t left = years - parameters.burn_in;
  if (parameters.smoothing == Smoothing::kMovingAverage &&
      parameters.window_size > left) {
    throw TError("window_size " + FormatInteger(parameters.window_size) +
                 " is outside its valid range 1 to " + FormatInteger(left) +
                 ": the years left after the burn-in");
  }
}

std::unique_ptr<TCentroids> Smooth(const RunParameters& parameters,
                                   std::unique_ptr<TCentroids> shifts) {
  switch (parameters.smoothing) {
    case Smoothing::kMovingAverage:
      return TCentroidTools::MovingAverage(*shifts, parameters.window_size);
    case Smoothing::kExponential: {
      const double factor =
          2.0 / (static_cast<double>(parameters.window_size) + 1.0);
      return TCentroidTools::ExponentialSmoothing(*shifts, factor);
    }
    case Smoothing::kNone:
      break;
  }
  return shifts;
}

// The four series of the report.
struct EdgeSeries {
  std::unique_ptr<TCentroids> north;
  std::unique_ptr<TCentroids> south;
  std::unique_ptr<TCentroids> north_shifts;
  std::unique_ptr<TCentroids> south_shifts;
};

EdgeSeries Analyse(const RunParameters& parameters, const TPatches& patches) {
  // The northern edge is gathered from the largest ordinate downwards, the
  // southern one from the smallest upwards.
  EdgeSeries series;
  series.north = TCentroidTools::GetSubpopulationMeans(
      patches, parameters.share, parameters.axis, false);
  series.north_shifts =
      TCentroidTools::GetRangeCoordShifts(*series.north, parameters.burn_in);
  series.south = TCentroidTools::GetSubpopulationMeans(
      patches, parameters.share, parameters.axis, true);
  series.south_shifts =
      TCentroidTools::GetRangeCoordShifts(*series.south, parameters.burn_in);
  series.south_shifts = Smooth(parameters, std::move(series.south_shifts));
  series.north_shifts = Smooth(parameters, std::move(series.north_shifts));
  return series;
}

void WriteSummary(const RunParameters& parameters, const EdgeSeries& series,
                  std::ostream& out) {
  const std::string& d = parameters.delimiter;
  WriteLine(out, d,
            {"Total years",
             FormatInteger(static_cast<int64_t>(series.south->GetNumYears()))});
  if (parameters.burn_in > 0) {
    WriteLine(out, d, {"Burn-in years", FormatInteger(parameters.burn_in)});
  }
  if (parameters.smoothing != Smoothing::kNone) {
    WriteLine(out, d,
              {parameters.smoothing == Smoothing::kMovingAverage
                   ? "Simple moving average smoothing window"
                   : "Exponential smoothing window",
               FormatInteger(parameters.window_size)});
  }
}

// The heading lines and one row per reported year: the northern shift
// first, then the southern, each after its year; the same again in
// kilometres when the resolution is not exactly 1.
void WriteTable(const RunParameters& parameters, const EdgeSeries& series,
                double resolution, std::ostream& out) {
  const std::string& d = parameters.delimiter;
  const std::vector<int32_t> years = series.south_shifts->GetYearList();
  // The initial positions are the edge centroids themselves, southern
  // first, in map units.
  const TPoint south = series.south->GetCoords(years.front());
  const TPoint north = series.north->GetCoords(years.front());
  WriteLine(out, d, {"North", "", "South"});
  WriteLine(out, d,
            {"Initial Coords", FormatNumber(south.X()), FormatNumber(south.Y()),
             "", FormatNumber(north.X()), FormatNumber(north.Y())});
  const bool in_km = !(resolution == 1.0);
  std::vector<std::string> heading = {"Year", "X", "Y", "Year", "X", "Y"};
  if (in_km) {
    heading.insert(heading.end(),
                   {"Year", "X(km)", "Y(km)", "Year", "X(km)", "Y(km)"});
  }
  WriteLine(out, d, heading);
  for (int32_t year : years) {
    const TPoint s = series.south_shifts->GetCoords(year);
    const TPoint n = series.north_shifts->GetCoords(year);
    const std::string y = FormatInteger(year);
    std::vector<std::string> row = {
        y, FormatNumber(n.X()), FormatNumber(n.Y()),
        y, FormatNumber(s.X()), FormatNumber(s.Y())};
    if (in_km) {
      row.insert(row.end(), {y, FormatNumber(resolution * n.X()),
                             FormatNumber(resolution * n.Y()), y,
                             FormatNumber(resolution * s.X()),
                             FormatNumber(resolution * s.Y())});
    }
    WriteLine(out, d, row);
  }
}

void Report(const RunParameters& parameters, const Loader& load,
            std::ostream& out) {
  std::unique_ptr<TPatches> patches = LoadAndClean(parameters, load, out);
  const double resolution = patches->GetResolution();
  CheckLimits(parameters, *patches,
              TCentroidTools::MakeYearList(*patches).size());
  const EdgeSeries series = Analyse(parameters, *patches);
  patches.reset();
  WriteSummary(parameters, series, out);
  WriteTable(parameters, series, resolution, out);
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
