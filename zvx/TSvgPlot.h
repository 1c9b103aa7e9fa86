#ifndef ZELVATRIX_ZVX_TSVGPLOT_H_
#define ZELVATRIX_ZVX_TSVGPLOT_H_

#include <cstdint>
#include <string>
#include <vector>

// One line of a panel: a value per year, NaN where there is none. A run of
// years with values is drawn as one polyline (a lone year as a dot), so that
// a year without a value leaves a gap instead of a drop to 0.
struct TSvgLine {
  std::vector<int64_t> years;
  std::vector<double> values;
  std::string colour;  // "#rrggbb"
  double width = 1.5;
  bool dashed = false;
  // Written as data-series and data-file attributes of the line's group,
  // so that programs reading the picture can tell its lines apart.
  std::string series;
  std::string file;
};

// A band between two values per year (both NaN where there is none), filled
// in a light tint of its colour; a run of years with values is one polygon.
struct TSvgBand {
  std::vector<int64_t> years;
  std::vector<double> lower;
  std::vector<double> upper;
  std::string colour;
  std::string series;
};

// One panel of the figure, with its own value axis; the panels share the
// year axis. Bands are drawn below the lines.
struct TSvgPanel {
  std::string title;  // above the panel: the quantity and its unit
  std::string name;   // its data-panel attribute
  bool include_zero = false;
  std::vector<TSvgBand> bands;
  std::vector<TSvgLine> lines;
};

// One row of the legend: swatches (a line, dashed or not, or a band) in
// their colours, then the text.
struct TSvgLegendEntry {
  struct Swatch {
    std::string colour;
    bool dashed = false;
    bool band = false;
  };
  std::vector<Swatch> swatches;
  std::string text;
};

struct TSvgFigure {
  std::string title;
  std::string subtitle;
  std::string year_title = "year";
  std::vector<TSvgPanel> panels;
  std::string legend_title;
  std::vector<TSvgLegendEntry> legend;
};

// Draws figures of yearly series as standalone SVG 1.1 that browsers show
// and XML parsers read as it is: every text escaped, bytes that are not
// valid UTF-8 or not allowed in XML shown as U+FFFD. Each polyline, dot and
// band polygon carries the years and shortest-text values it draws
// (data-years, data-values, data-lower, data-upper), so that a reader can
// check the picture against the tables. All operations are static and safe
// to call from several threads at once.
class TSvgPlot {
 public:
  TSvgPlot() = delete;

  // The whole SVG document of `figure`.
  static std::string Render(const TSvgFigure& figure);
  // `text` as XML character data or attribute value: & < > " ' escaped,
  // invalid UTF-8 and characters XML forbids replaced by U+FFFD.
  static std::string Escape(const std::string& text);
  // `text` shortened to at most `length` characters (not bytes) by an
  // ellipsis, keeping a third of the room for its start and the rest for
  // its end.
  static std::string Shorten(const std::string& text, std::size_t length);
  // The ticks of an axis from `low` to `high` (low < high) at round numbers:
  // steps of 1, 2 or 5 times a power of ten, about five of them, and at
  // least `min_step` apart.
  static std::vector<double> Ticks(double low, double high, double min_step);
  // The colour `colour` ("#rrggbb") mixed with white, `tint` from 0 (the
  // colour itself) to 1 (white).
  static std::string Tint(const std::string& colour, double tint);
};

#endif  // ZELVATRIX_ZVX_TSVGPLOT_H_
