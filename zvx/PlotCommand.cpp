// zvx plot: the edges' ordinates and the occupied area per year as one SVG
// picture, one line per file and edge, or with --ensemble the median and
// the 2.5 % to 97.5 % band across the files.

#include <algorithm>
#include <cstddef>
#include <fstream>
#include <set>
#include <string>
#include <vector>

#include "Commands.h"
#include "TEnsembleSummary.h"
#include "TEnsembleValues.h"
#include "TError.h"
#include "TNumberFormat.h"
#include "TRangeTables.h"
#include "TSvgPlot.h"

namespace {

// The Okabe-Ito colours that stay apart for colour-blind readers; the two
// edges also differ in lightness and dash, so that they read in greyscale.
const char* const kFirstEdgeColour = "#0072B2";   // blue
const char* const kSecondEdgeColour = "#D55E00";  // vermillion
const char* const kAreaColour = "#009E73";        // bluish green

// Files listed one by one in the legend; the rest are counted.
constexpr std::size_t kLegendFiles = 14;
// Characters of a file name in the legend.
constexpr std::size_t kLegendNameLength = 34;

struct FileValues {
  std::string file;
  TTable values;
};

// The ordinates of a file, then its area in the same years, so that both
// panels cover the years the edges report.
TTable Analyse(const std::string& file, const TTableSettings& settings) {
  const auto patches =
      TRangeTables::Prepare(file, settings, TRangeTables::Use::kEdges);
  TTable values = TEnsembleValues::Ordinates(file, *patches, settings);
  const auto& years = values.GetIntegers(2);
  const std::set<int64_t> reported(years.begin(), years.end());
  const TTable areas = TEnsembleValues::Areas(file, *patches, settings);
  const auto& area_years = areas.GetIntegers(2);
  const auto& area_values = areas.GetDoubles(3);
  const auto& resolutions = areas.GetDoubles(4);
  for (std::size_t row = 0; row < areas.GetNumRows(); ++row) {
    if (reported.count(area_years[row]) == 0) continue;
    values.AddRow({file, TEnsembleValues::kArea, area_years[row],
                   area_values[row], resolutions[row]});
  }
  return values;
}

std::string SmoothingText(const TRunSettings& run) {
  const std::string window = TNumberFormat::Integer(run.window);
  switch (run.smoothing) {
    case TSmoothing::kMovingAverage:
      return "sma:" + window;
    case TSmoothing::kExponential:
      return "exp:" + window;
    case TSmoothing::kMedian:
      return "median:" + window;
    case TSmoothing::kNone:
      break;
  }
  return "none";
}

std::string Subtitle(const TTableSettings& settings) {
  const TRunSettings& run = settings.run;
  std::string text =
      std::string("axis ") + (run.axis == 'X' ? "x" : "y") + ", share " +
      TNumberFormat::Shortest(run.share) + ", burn-in " +
      TNumberFormat::Integer(run.burn_in) + ", cleaning " +
      (run.clean_threshold > 0
           ? TNumberFormat::Integer(run.clean_threshold) + " years"
           : std::string("none")) +
      ", smoothing " + SmoothingText(run) + ", " +
      (run.weighted ? "weighted" : "plain") + " edge centroids";
  if (settings.y_down) text += ", y grows southwards";
  if (settings.has_resolution) {
    text += ", resolution " + TNumberFormat::Shortest(settings.resolution) +
            " km given";
  }
  return text;
}

// The unit of the area: km² unless a file's resolution is 1, where the
// area is in the map's own units.
std::string AreaTitle(const std::set<double>& resolutions) {
  std::string title = "Occupied area (minimum convex polygon), ";
  const bool any_one = resolutions.count(1.0) > 0;
  if (any_one && resolutions.size() == 1) return title + "map units\u00b2";
  if (any_one) return title + "km\u00b2 (map units\u00b2 at resolution 1)";
  return title + "km\u00b2";
}

std::string OrdinateTitle(const TTableSettings& settings,
                          const std::vector<std::string>& edges) {
  std::string title = std::string("Edge centroids' ") +
                      (settings.run.axis == 'X' ? "x" : "y") + ", map units";
  if (!edges.empty()) {
    title += " (";
    for (std::size_t i = 0; i < edges.size(); ++i) {
      if (i > 0) title += " and ";
      title += edges[i];
    }
    title += ")";
  }
  if (settings.run.smoothing != TSmoothing::kNone) {
    title += ", smoothed " + SmoothingText(settings.run);
  }
  return title;
}

// The folder all files share, to be said once in the legend.
std::string CommonFolder(const std::vector<FileValues>& files) {
  if (files.size() < 2) return "";
  std::string folder = files[0].file.substr(0, files[0].file.rfind('/') + 1);
  for (const FileValues& f : files) {
    while (!folder.empty() && f.file.compare(0, folder.size(), folder) != 0) {
      folder.pop_back();
      folder.erase(folder.rfind('/') + 1);
    }
  }
  return folder;
}

// Everything the picture is drawn from, gathered in file order.
class Plot {
 public:
  explicit Plot(const TTableSettings& settings, bool ensemble)
      : settings_(settings), ensemble_(ensemble) {}

  void Take(const TTable& values) {
    const auto& series = values.GetTexts(1);
    for (std::size_t row = 0; row < values.GetNumRows(); ++row) {
      if (series[row] != TEnsembleValues::kArea) AddEdge(series[row]);
      resolutions_.insert(values.GetDoubles(4)[row]);
    }
    ++analysed_;
    if (ensemble_) {
      TEnsembleValues::AddTo(values, &summary_);
    } else {
      files_.push_back(
          {values.GetNumRows() > 0 ? values.GetTexts(0)[0] : "", values});
    }
  }

  TSvgFigure Figure(std::size_t failed) const;

 private:
  void AddEdge(const std::string& edge) {
    for (const std::string& known : edges_) {
      if (known == edge) return;
    }
    edges_.push_back(edge);
  }
  std::string ColourOf(const std::string& series) const {
    if (series == TEnsembleValues::kArea) return kAreaColour;
    return !edges_.empty() && series == edges_[0] ? kFirstEdgeColour
                                                  : kSecondEdgeColour;
  }
  bool DashedOf(const std::string& series) const {
    return series != TEnsembleValues::kArea && edges_.size() > 1 &&
           series == edges_[1];
  }
  void PerFile(TSvgFigure* figure) const;
  void Summary(TSvgFigure* figure) const;

  const TTableSettings settings_;
  const bool ensemble_;
  std::vector<std::string> edges_;
  std::set<double> resolutions_;
  std::size_t analysed_ = 0;
  std::vector<FileValues> files_;
  TEnsembleSummary summary_;
};

void Plot::PerFile(TSvgFigure* figure) const {
  const std::size_t count = files_.size();
  const double width = count > 10 ? 1.0 : 1.5;
  std::vector<std::string> legend_series = edges_;
  legend_series.push_back(TEnsembleValues::kArea);
  for (const std::string& series : legend_series) {
    figure->legend.push_back({{{ColourOf(series), DashedOf(series), false}},
                              series == TEnsembleValues::kArea
                                  ? "occupied area"
                                  : series + " edge"});
  }
  const std::string folder = CommonFolder(files_);
  figure->legend.push_back({{}, count > 1 ? "Files, darkest first" : "File"});
  if (!folder.empty()) {
    figure->legend.push_back(
        {{}, "in " + TSvgPlot::Shorten(folder, kLegendNameLength)});
  }
  for (std::size_t i = 0; i < count; ++i) {
    // Files told apart by a lighter shade of their series' colour.
    const double tint = count > 1 ? 0.6 * static_cast<double>(i) /
                                        static_cast<double>(count - 1)
                                  : 0.0;
    const TTable& values = files_[i].values;
    const auto& series = values.GetTexts(1);
    const auto& years = values.GetIntegers(2);
    const auto& numbers = values.GetDoubles(3);
    std::vector<TSvgLine> lines;
    for (std::size_t row = 0; row < values.GetNumRows(); ++row) {
      if (lines.empty() || lines.back().series != series[row]) {
        TSvgLine line;
        line.series = series[row];
        line.file = files_[i].file;
        line.colour = TSvgPlot::Tint(ColourOf(series[row]), tint);
        line.dashed = DashedOf(series[row]);
        line.width = width;
        lines.push_back(line);
      }
      lines.back().years.push_back(years[row]);
      lines.back().values.push_back(numbers[row]);
    }
    for (TSvgLine& line : lines) {
      const bool area = line.series == TEnsembleValues::kArea;
      figure->panels[area ? 1 : 0].lines.push_back(std::move(line));
    }
    if (i + 1 < kLegendFiles || count == kLegendFiles) {
      TSvgLegendEntry entry;
      for (const std::string& s : legend_series) {
        entry.swatches.push_back(
            {TSvgPlot::Tint(ColourOf(s), tint), DashedOf(s), false});
      }
      entry.text = TSvgPlot::Shorten(files_[i].file.substr(folder.size()),
                                     kLegendNameLength);
      figure->legend.push_back(entry);
    } else if (i + 1 == kLegendFiles) {
      figure->legend.push_back(
          {{},
           "and " + TNumberFormat::Integer(static_cast<int64_t>(count - i)) +
               " more files, in lighter shades"});
    }
  }
  // The lightest drawn first, so that the first files stay on top.
  for (TSvgPanel& panel : figure->panels) {
    std::reverse(panel.lines.begin(), panel.lines.end());
  }
}

void Plot::Summary(TSvgFigure* figure) const {
  int64_t fewest = -1;
  int64_t most = 0;
  std::vector<TSvgBand> bands;
  std::vector<TSvgLine> medians;
  for (const TEnsembleSummary::Row& row : summary_.Rows()) {
    if (bands.empty() || bands.back().series != row.series) {
      TSvgBand band;
      band.series = row.series;
      band.colour = ColourOf(row.series);
      bands.push_back(band);
      TSvgLine line;
      line.series = row.series;
      line.colour = ColourOf(row.series);
      line.dashed = DashedOf(row.series);
      line.width = 2.2;
      medians.push_back(line);
    }
    bands.back().years.push_back(row.year);
    bands.back().lower.push_back(row.spread.lower);
    bands.back().upper.push_back(row.spread.upper);
    medians.back().years.push_back(row.year);
    medians.back().values.push_back(row.spread.median);
    if (row.spread.n > 0) {
      fewest = fewest < 0 ? row.spread.n : std::min(fewest, row.spread.n);
      most = std::max(most, row.spread.n);
    }
  }
  for (std::size_t i = 0; i < bands.size(); ++i) {
    const bool area = bands[i].series == TEnsembleValues::kArea;
    const std::string name =
        area ? std::string("occupied area") : bands[i].series + " edge";
    figure->legend.push_back({{{bands[i].colour, false, true},
                               {medians[i].colour, medians[i].dashed, false}},
                              name + ": median and band"});
    figure->panels[area ? 1 : 0].bands.push_back(std::move(bands[i]));
    figure->panels[area ? 1 : 0].lines.push_back(std::move(medians[i]));
  }
  std::string across =
      "across n = " + TNumberFormat::Integer(most) + " files per year";
  if (fewest >= 0 && fewest != most) {
    across = "across n = " + TNumberFormat::Integer(fewest) + " to " +
             TNumberFormat::Integer(most) + " files per year";
  }
  figure->legend.push_back({{}, fewest < 0 ? "no file has values" : across});
  figure->legend.push_back({{}, "band: 2.5 % to 97.5 % quantiles"});
  figure->legend.push_back({{}, "(as R's type 7; NA left out)"});
}

TSvgFigure Plot::Figure(std::size_t failed) const {
  TSvgFigure figure;
  const std::string files =
      TNumberFormat::Integer(static_cast<int64_t>(analysed_)) +
      (analysed_ == 1 ? " file" : " files");
  figure.title = ensemble_ ? "Range edges and occupied area across " + files
                           : "Range edges and occupied area of " + files;
  if (failed > 0) {
    figure.title += " (" +
                    TNumberFormat::Integer(static_cast<int64_t>(failed)) +
                    " failed)";
  }
  figure.subtitle = Subtitle(settings_);
  figure.panels.resize(2);
  figure.panels[0].name = "edges";
  figure.panels[0].title = OrdinateTitle(settings_, edges_);
  figure.panels[1].name = "area";
  figure.panels[1].title = AreaTitle(resolutions_);
  figure.panels[1].include_zero = true;
  figure.legend_title = ensemble_ ? "Ensemble" : "Lines";
  if (ensemble_) {
    Summary(&figure);
  } else {
    PerFile(&figure);
  }
  return figure;
}

}  // namespace

int RunPlotCommand(TCommandContext& context) {
  const TTableSettings settings = context.options.settings;
  if (context.options.output.empty()) {
    throw TError("--output FILE.svg is required: the picture goes to a file",
                 TError::Kind::kUsage);
  }
  if (context.options.files.empty()) {
    throw TError("no FILE given", TError::Kind::kUsage);
  }
  std::ofstream file_out;
  std::ostream& out = TEnsembleCommand::OpenOutput(context, file_out);
  Plot plot(settings, context.options.ensemble);
  std::size_t taken = 0;
  return TEnsembleCommand::Gather(
      context, context.options.files,
      [&settings](const std::string& file) { return Analyse(file, settings); },
      [&](const TTable& values) {
        plot.Take(values);
        ++taken;
      },
      [&]() {
        out << TSvgPlot::Render(
            plot.Figure(context.options.files.size() - taken));
        out.flush();
        if (!out) {
          throw TError("zvx plot: cannot write the picture to " +
                       TEnsembleCommand::OutputName(context) +
                       " (is the disk full?)");
        }
      });
}
