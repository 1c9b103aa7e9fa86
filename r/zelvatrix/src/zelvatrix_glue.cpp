// The R package's entry points: the library's MP reader and tidy tables,
// handed to R as data frames. The analyses are the library's own, the very
// code zvx runs, so a data frame holds the doubles zvx writes.
//
// R's API is not thread safe and its errors unwind by longjmp, which would
// skip C++ destructors. So the worker threads never touch R, nothing here
// calls R's error functions directly: C++ exceptions reach R through Rcpp's
// BEGIN_RCPP/END_RCPP, and a file's failure is returned to the R code as a
// message, which signals it as an R condition.

#include <R_ext/Rdynload.h>
#include <Rcpp.h>

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "TEnsembleRunner.h"
#include "TError.h"
#include "TMPParser.h"
#include "TNumberFormat.h"
#include "TPatch.h"
#include "TPatches.h"
#include "TRangeTables.h"
#include "TTable.h"

namespace {

// Compact row names, as data.frame() and read.csv() store them: identical()
// compares them too.
Rcpp::IntegerVector RowNames(std::size_t rows) {
  if (rows == 0) return Rcpp::IntegerVector(0);
  return Rcpp::IntegerVector::create(NA_INTEGER, -static_cast<int>(rows));
}

Rcpp::List DataFrame(Rcpp::List columns, std::size_t rows) {
  columns.attr("row.names") = RowNames(rows);
  columns.attr("class") = "data.frame";
  return columns;
}

Rcpp::CharacterVector Texts(const std::vector<std::string>& texts) {
  Rcpp::CharacterVector out(texts.size());
  for (std::size_t i = 0; i < texts.size(); ++i) {
    out[i] = Rf_mkCharLenCE(texts[i].data(), static_cast<int>(texts[i].size()),
                            CE_NATIVE);
  }
  return out;
}

// R's integers are 32-bit, with the smallest value taken by NA; years and
// patch counts always fit.
Rcpp::IntegerVector Integers(const std::vector<int64_t>& integers) {
  Rcpp::IntegerVector out(integers.size());
  for (std::size_t i = 0; i < integers.size(); ++i) {
    if (integers[i] <= std::numeric_limits<int32_t>::min() ||
        integers[i] > std::numeric_limits<int32_t>::max()) {
      throw TError("an integer of the table does not fit R's integers",
                   TError::Kind::kInternal);
    }
    out[i] = static_cast<int>(integers[i]);
  }
  return out;
}

// NaN is R's NA, as zvx writes it "NA" and read.csv reads that back as
// NA_real_, a NaN with a payload of its own: identical() tells the two apart.
Rcpp::NumericVector Doubles(const std::vector<double>& doubles) {
  Rcpp::NumericVector out(doubles.size());
  for (std::size_t i = 0; i < doubles.size(); ++i) {
    out[i] = std::isnan(doubles[i]) ? NA_REAL : doubles[i];
  }
  return out;
}

Rcpp::List ToDataFrame(const TTable& table) {
  const std::vector<TTable::Column>& columns = table.GetColumns();
  Rcpp::List out(columns.size());
  Rcpp::CharacterVector names(columns.size());
  for (std::size_t c = 0; c < columns.size(); ++c) {
    names[c] = columns[c].name;
    switch (columns[c].type) {
      case TTable::Type::kText:
        out[c] = Texts(table.GetTexts(c));
        break;
      case TTable::Type::kInteger:
        out[c] = Integers(table.GetIntegers(c));
        break;
      case TTable::Type::kDouble:
        out[c] = Doubles(table.GetDoubles(c));
        break;
    }
  }
  out.attr("names") = names;
  return DataFrame(out, table.GetNumRows());
}

// The settings from the list the R code made; the R code has checked every
// value already, in the ranges zvx accepts.
TTableSettings ReadSettings(const Rcpp::List& list) {
  TTableSettings settings;
  settings.run.start_year = Rcpp::as<int>(list["start_year"]);
  settings.run.axis = Rcpp::as<std::string>(list["axis"]) == "x" ? 'X' : 'Y';
  settings.run.share = Rcpp::as<double>(list["share"]);
  settings.run.burn_in = Rcpp::as<int>(list["burn_in"]);
  settings.run.clean_threshold = Rcpp::as<int>(list["clean"]);
  const std::string smooth = Rcpp::as<std::string>(list["smooth"]);
  if (smooth == "sma") {
    settings.run.smoothing = TSmoothing::kMovingAverage;
  } else if (smooth == "exp") {
    settings.run.smoothing = TSmoothing::kExponential;
  } else if (smooth == "median") {
    settings.run.smoothing = TSmoothing::kMedian;
  } else {
    settings.run.smoothing = TSmoothing::kNone;
  }
  settings.run.window = Rcpp::as<int>(list["window"]);
  settings.run.weighted = Rcpp::as<bool>(list["weighted"]);
  settings.y_down = Rcpp::as<bool>(list["y_down"]);
  SEXP resolution = list["resolution"];
  if (!Rf_isNull(resolution)) {
    settings.has_resolution = true;
    settings.resolution = Rcpp::as<double>(resolution);
  }
  // Messages name the settings as the R user typed them.
  settings.names.clean_threshold = "clean";
  settings.names.burn_in = "burn_in";
  settings.names.window = "window";
  settings.names.resolution = "the argument `resolution`";
  return settings;
}

std::size_t Jobs(SEXP jobs) {
  if (!Rf_isNull(jobs)) return static_cast<std::size_t>(Rcpp::as<int>(jobs));
  const unsigned threads = std::thread::hardware_concurrency();
  return threads > 0 ? threads : 1;
}

// R_CheckUserInterrupt jumps out when the user pressed Ctrl-C; run inside
// R_ToplevelExec, the jump ends there, so the question can be asked without
// skipping the destructors of the run.
void CheckInterrupt(void*) { R_CheckUserInterrupt(); }
bool Interrupted() { return R_ToplevelExec(CheckInterrupt, nullptr) == FALSE; }

// Thrown from the deliver callback to end a run early.
struct TStopRun {};

}  // namespace

// read_mp: the patches, their populations in long form and the resolution.
extern "C" SEXP zelvatrix_read_mp(SEXP file_sexp, SEXP start_year_sexp) {
  BEGIN_RCPP
  const std::string file = Rcpp::as<std::string>(file_sexp);
  const int start_year = Rcpp::as<int>(start_year_sexp);
  std::unique_ptr<TPatches> patches;
  try {
    patches = TMPParser::LoadMP(file, start_year);
  } catch (const TError& error) {
    return Rcpp::List::create(Rcpp::Named("error") = std::string(error.what()));
  }
  const std::vector<const TPatch*> list = patches->GetPatchList();
  std::vector<std::string> names;
  std::vector<double> xs;
  std::vector<double> ys;
  std::vector<std::string> population_patches;
  std::vector<int64_t> years;
  std::vector<double> populations;
  for (const TPatch* patch : list) {
    names.push_back(patch->GetName());
    xs.push_back(patch->GetX());
    ys.push_back(patch->GetY());
    const std::vector<int32_t> patch_years = patch->GetYearList();
    const std::vector<double>& values = patch->GetPopulations();
    for (std::size_t k = 0; k < patch_years.size(); ++k) {
      population_patches.push_back(patch->GetName());
      years.push_back(patch_years[k]);
      populations.push_back(values[k]);
    }
  }
  Rcpp::List patch_frame = Rcpp::List::create(
      Rcpp::Named("patch") = Texts(names), Rcpp::Named("x") = Doubles(xs),
      Rcpp::Named("y") = Doubles(ys));
  Rcpp::List population_frame =
      Rcpp::List::create(Rcpp::Named("patch") = Texts(population_patches),
                         Rcpp::Named("year") = Integers(years),
                         Rcpp::Named("population") = Doubles(populations));
  return Rcpp::List::create(
      Rcpp::Named("patches") = DataFrame(patch_frame, names.size()),
      Rcpp::Named("populations") =
          DataFrame(population_frame, populations.size()),
      Rcpp::Named("resolution") = patches->GetResolution());
  END_RCPP
}

// One of the tables for `files`: list(table = the data frame of the files
// that succeeded, failed = the positions (from 1) of those that failed,
// failures = their messages, interrupted). With
// `stop_at_first`, the run ends at the first failed file in file order.
// The baseline of "compare" is prepared first; its failure is returned as
// the one message of `baseline_failure`.
extern "C" SEXP zelvatrix_table(SEXP kind_sexp, SEXP files_sexp,
                                SEXP baseline_sexp, SEXP settings_sexp,
                                SEXP jobs_sexp, SEXP stop_at_first_sexp) {
  BEGIN_RCPP
  const std::string kind = Rcpp::as<std::string>(kind_sexp);
  const std::vector<std::string> files =
      Rcpp::as<std::vector<std::string>>(files_sexp);
  const TTableSettings settings =
      ReadSettings(Rcpp::as<Rcpp::List>(settings_sexp));
  const std::size_t jobs = Jobs(jobs_sexp);
  const bool stop_at_first = Rcpp::as<bool>(stop_at_first_sexp);

  std::string baseline;
  std::unique_ptr<TPatches> baseline_patches;
  TTable table = TRangeTables::EdgesColumns();
  TRangeTables::Use use = TRangeTables::Use::kEdges;
  if (kind == "members") {
    table = TRangeTables::MembersColumns();
    use = TRangeTables::Use::kSpan;
  } else if (kind == "years") {
    table = TRangeTables::YearsColumns();
    use = TRangeTables::Use::kSpan;
  } else if (kind == "compare") {
    table = TRangeTables::CompareColumns();
    use = TRangeTables::Use::kCompare;
    baseline = Rcpp::as<std::string>(baseline_sexp);
    try {
      baseline_patches = TRangeTables::Prepare(baseline, settings, use);
    } catch (const TError& error) {
      return Rcpp::List::create(Rcpp::Named("baseline_failure") =
                                    std::string(error.what()));
    }
  }

  const TEnsembleRunner::Work work = [&](std::size_t index) {
    const std::string& file = files[index];
    const std::unique_ptr<TPatches> patches =
        TRangeTables::Prepare(file, settings, use);
    if (kind == "members")
      return TRangeTables::Members(file, *patches, settings);
    if (kind == "years") return TRangeTables::Years(file, *patches, settings);
    if (kind == "compare") {
      return TRangeTables::Compare(baseline, *baseline_patches, file, *patches,
                                   settings);
    }
    return TRangeTables::Edges(file, *patches, settings);
  };
  std::vector<int> failed;
  std::vector<std::string> failures;
  bool interrupted = false;
  try {
    TEnsembleRunner::Run(
        files.size(), jobs, work, [&](std::size_t index, TFileResult& result) {
          if (result.ok) {
            table.Append(result.table);
          } else {
            failed.push_back(static_cast<int>(index) + 1);
            failures.push_back(result.FileMessage(files[index]));
            if (stop_at_first) throw TStopRun();
          }
          if (Interrupted()) {
            interrupted = true;
            throw TStopRun();
          }
        });
  } catch (const TStopRun&) {
    // The failure or the interrupt is reported below.
  }
  return Rcpp::List::create(Rcpp::Named("table") = ToDataFrame(table),
                            Rcpp::Named("failed") = failed,
                            Rcpp::Named("failures") = failures,
                            Rcpp::Named("interrupted") = interrupted);
  END_RCPP
}

// The doubles as zvx writes them: the shortest text that reads back to the
// very same double. Two doubles have the same text only when they have the
// same bits (but for NaN payloads, all "NA"), so the tests compare the
// package's tables with zvx's by this text: read.csv cannot serve, as R's
// number reader is not correctly rounded and reads a few of these texts one
// unit in the last place off.
extern "C" SEXP zelvatrix_shortest(SEXP doubles_sexp) {
  BEGIN_RCPP
  const Rcpp::NumericVector doubles(doubles_sexp);
  std::vector<std::string> texts;
  texts.reserve(doubles.size());
  for (const double value : doubles) {
    texts.push_back(TNumberFormat::Shortest(value));
  }
  return Texts(texts);
  END_RCPP
}

namespace {

const R_CallMethodDef kCallMethods[] = {
    {"zelvatrix_read_mp", reinterpret_cast<DL_FUNC>(&zelvatrix_read_mp), 2},
    {"zelvatrix_table", reinterpret_cast<DL_FUNC>(&zelvatrix_table), 6},
    {"zelvatrix_shortest", reinterpret_cast<DL_FUNC>(&zelvatrix_shortest), 1},
    {nullptr, nullptr, 0}};

}  // namespace

extern "C" void R_init_zelvatrix(DllInfo* dll) {
  R_registerRoutines(dll, nullptr, kCallMethods, nullptr, nullptr);
  R_useDynamicSymbols(dll, FALSE);
}
