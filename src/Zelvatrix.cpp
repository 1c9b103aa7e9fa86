// The driver: reads the command line, loads the MP file and writes the
// report of range-edge shifts as delimiter-separated text.

#include "Zelvatrix.h"

#include <cstdint>
#include <exception>
#include <functional>
#include <future>
#include <iostream>
#include <memory>
#include <new>
#include <string>
#include <system_error>
#include <vector>

#include "TCentroidTools.h"
#include "TCentroids.h"
#include "TError.h"
#include "TMPParser.h"
#include "TNumberFormat.h"
#include "TPatch.h"
#include "TPatches.h"
#include "TPipeline.h"

const char kZelvatrixUsage[] =
    "Usage: Zelvatrix filename startyear XorY Threshold delimiter [burn-in] "
    "[patch_size_threshold] [moving_average_type (sma | exp) window_size]";

namespace {

using Loader =
    std::function<std::unique_ptr<TPatches>(const std::string&, int32_t)>;

struct RunParameters {
  std::string filename;
  std::string delimiter;
  // The axis character is kept as typed: only a capital X selects x.
  TRunSettings settings;
  // The numeric arguments as typed, for messages about their values.
  TSettingNames names;
};

// Takes the run parameters by position. The start year and the smoothing
// type are checked here, before the MP file is opened.
RunParameters ReadParameters(const std::vector<std::string>& args) {
  RunParameters parameters;
  TRunSettings& settings = parameters.settings;
  TSettingNames& names = parameters.names;
  parameters.filename = args[0];
  settings.start_year = TMPParser::ReadInteger(args[1]);
  names.start_year_text = args[1];
  // A patch's minimum year never rises above kNoMinYear, so with a later
  // start year that value would open the year span as a year without data:
  // the reference of every shift, and the whole report NaN.
  if (settings.start_year > TPatch::kNoMinYear) {
    throw TError(TPipeline::DescribeSetting(names.start_year,
                                            names.start_year_text,
                                            settings.start_year) +
                 " is outside its valid range: it can be at most " +
                 std::to_string(TPatch::kNoMinYear));
  }
  settings.axis = args[2].empty() ? '\0' : args[2][0];
  settings.share = TMPParser::ReadDecimal(args[3]);
  parameters.delimiter = args[4];
  if (args.size() >= 6) {
    settings.burn_in = TMPParser::ReadInteger(args[5]);
    names.burn_in_text = args[5];
  }
  if (args.size() >= 7) {
    settings.clean_threshold = TMPParser::ReadInteger(args[6]);
    names.clean_threshold_text = args[6];
  }
  if (args.size() >= 9) {
    if (args[7] == "sma") {
      settings.smoothing = TSmoothing::kMovingAverage;
    } else if (args[7] == "exp") {
      settings.smoothing = TSmoothing::kExponential;
    } else {
      throw TError("Unknown moving average");
    }
    settings.window = TMPParser::ReadInteger(args[8]);
    names.window_text = args[8];
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

std::string Number(double value) { return TNumberFormat::Report(value); }
std::string Integer(int64_t value) { return TNumberFormat::Integer(value); }

// The collection the analysis runs on: the loaded one, or its cleaned copy.
std::unique_ptr<TPatches> LoadAndClean(const RunParameters& parameters,
                                       const Loader& load, std::ostream& out) {
  const std::string& d = parameters.delimiter;
  const TRunSettings& settings = parameters.settings;
  std::unique_ptr<TPatches> patches =
      load(parameters.filename, settings.start_year);
  WriteLine(out, d, {"Num patches loaded", Integer(patches->GetNumPatches())});
  if (TPipeline::Cleans(settings)) {
    patches = TPipeline::Clean(std::move(patches), settings);
    WriteLine(out, d,
              {"Patch size threshold", Integer(settings.clean_threshold)});
    WriteLine(
        out, d,
        {"Num patches after cleaning", Integer(patches->GetNumPatches())});
  }
  WriteLine(out, d, {"Resolution(km)", Number(patches->GetResolution())});
  return patches;
}

// The four series of the report.
struct EdgeSeries {
  std::unique_ptr<TCentroids> north;
  std::unique_ptr<TCentroids> south;
  std::unique_ptr<TCentroids> north_shifts;
  std::unique_ptr<TCentroids> south_shifts;
};

// The northern edge series, gathered from the largest ordinate downwards:
// on a second thread while the caller gathers the southern one, when the
// landscape is large enough to repay the thread and one can be started.
// The two only read the collection, so the series are the same either way.
std::unique_ptr<TCentroids> NorthernEdge(
    const TRunSettings& settings, const TPatches& patches,
    std::future<std::unique_ptr<TCentroids>>* later) {
  constexpr std::size_t kMinimumValues = 1 << 17;
  std::size_t values = 0;
  for (const TPatch* patch : patches.GetPatchList()) {
    values += patch->GetNumYears();
  }
  if (values >= kMinimumValues) {
    try {
      *later = std::async(std::launch::async, [&settings, &patches] {
        return TPipeline::EdgeSeries(patches, settings, false);
      });
      return nullptr;
    } catch (const std::system_error&) {
      // No thread to spare: gathered here instead.
    }
  }
  return TPipeline::EdgeSeries(patches, settings, false);
}

EdgeSeries Analyse(const TRunSettings& settings, const TPatches& patches) {
  // The northern edge is gathered from the largest ordinate downwards, the
  // southern one from the smallest upwards.
  EdgeSeries series;
  std::future<std::unique_ptr<TCentroids>> north;
  series.north = NorthernEdge(settings, patches, &north);
  series.south = TPipeline::EdgeSeries(patches, settings, true);
  if (north.valid()) series.north = north.get();
  series.north_shifts = TPipeline::Shifts(*series.north, settings);
  series.south_shifts = TPipeline::Shifts(*series.south, settings);
  series.south_shifts =
      TPipeline::Smooth(std::move(series.south_shifts), settings);
  series.north_shifts =
      TPipeline::Smooth(std::move(series.north_shifts), settings);
  return series;
}

void WriteSummary(const RunParameters& parameters, const EdgeSeries& series,
                  std::ostream& out) {
  const std::string& d = parameters.delimiter;
  const TRunSettings& settings = parameters.settings;
  WriteLine(out, d,
            {"Total years",
             Integer(static_cast<int64_t>(series.south->GetNumYears()))});
  if (settings.burn_in > 0) {
    WriteLine(out, d, {"Burn-in years", Integer(settings.burn_in)});
  }
  if (settings.smoothing != TSmoothing::kNone) {
    WriteLine(out, d,
              {settings.smoothing == TSmoothing::kMovingAverage
                   ? "Simple moving average smoothing window"
                   : "Exponential smoothing window",
               Integer(settings.window)});
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
            {"Initial Coords", Number(south.X()), Number(south.Y()), "",
             Number(north.X()), Number(north.Y())});
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
    const std::string y = Integer(year);
    std::vector<std::string> row = {y, Number(n.X()), Number(n.Y()),
                                    y, Number(s.X()), Number(s.Y())};
    if (in_km) {
      row.insert(row.end(),
                 {y, Number(resolution * n.X()), Number(resolution * n.Y()), y,
                  Number(resolution * s.X()), Number(resolution * s.Y())});
    }
    WriteLine(out, d, row);
  }
}

void Report(const RunParameters& parameters, const Loader& load,
            std::ostream& out) {
  std::unique_ptr<TPatches> patches = LoadAndClean(parameters, load, out);
  const double resolution = patches->GetResolution();
  TPipeline::CheckLimits(*patches, parameters.settings, parameters.filename,
                         parameters.names);
  const EdgeSeries series = Analyse(parameters.settings, *patches);
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
    // By now the unwinding has freed what the run held, so the message
    // itself can be made.
    err << "Out of memory while analysing " << args[0]
        << ": the file is too large for the memory available" << std::endl;
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
      throw error.WithMessage(filename + ": " + error.what());
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
