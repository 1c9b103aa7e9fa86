#include "TSvgPlot.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>

#include "TNumberFormat.h"

namespace {

// The page, in SVG user units (pixels at 100 %).
constexpr double kWidth = 1000.0;
constexpr double kPlotLeft = 80.0;
constexpr double kPlotRight = 660.0;
constexpr double kLegendLeft = 690.0;
constexpr double kFirstPanelTop = 96.0;
constexpr double kPanelHeight = 230.0;
constexpr double kPanelGap = 70.0;
constexpr double kLegendRow = 17.0;

const char* const kFont = "font-family=\"DejaVu Sans, Arial, sans-serif\"";

// A number in fixed notation with `decimals` digits after the point,
// whatever the process locale.
std::string Fixed(double value, int decimals) {
  if (value == 0.0) value = 0.0;  // no "-0" label
  char buffer[400];
  const std::to_chars_result result =
      std::to_chars(buffer, buffer + sizeof buffer, value,
                    std::chars_format::fixed, decimals);
  return std::string(buffer, result.ptr);
}

std::string Px(double value) { return Fixed(value, 2); }

// Decodes UTF-8; a byte that does not start a valid sequence becomes
// U+FFFD, so that a file name in another encoding still gives valid XML.
std::vector<char32_t> Decode(const std::string& text) {
  std::vector<char32_t> code_points;
  std::size_t i = 0;
  while (i < text.size()) {
    const unsigned char lead = static_cast<unsigned char>(text[i]);
    std::size_t length = 0;
    char32_t c = 0;
    if (lead < 0x80) {
      length = 1;
      c = lead;
    } else if (lead >= 0xC2 && lead <= 0xDF) {
      length = 2;
      c = lead & 0x1F;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
      length = 3;
      c = lead & 0x0F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
      length = 4;
      c = lead & 0x07;
    }
    bool valid = length > 0 && i + length <= text.size();
    for (std::size_t k = 1; valid && k < length; ++k) {
      const unsigned char next = static_cast<unsigned char>(text[i + k]);
      valid = (next & 0xC0) == 0x80;
      c = (c << 6) | (next & 0x3F);
    }
    // Overlong forms, surrogates and code points beyond Unicode.
    if (valid && ((length == 3 && c < 0x800) || (length == 4 && c < 0x10000) ||
                  (c >= 0xD800 && c <= 0xDFFF) || c > 0x10FFFF)) {
      valid = false;
    }
    if (!valid) {
      code_points.push_back(0xFFFD);
      ++i;
      continue;
    }
    code_points.push_back(c);
    i += length;
  }
  return code_points;
}

// XML 1.0 allows tab, LF and CR of the control characters, and neither
// U+FFFE nor U+FFFF.
bool AllowedInXml(char32_t c) {
  if (c < 0x20) return c == 0x9 || c == 0xA || c == 0xD;
  return c != 0xFFFE && c != 0xFFFF;
}

void AppendUtf8(char32_t c, std::string* out) {
  if (c < 0x80) {
    *out += static_cast<char>(c);
  } else if (c < 0x800) {
    *out += static_cast<char>(0xC0 | (c >> 6));
    *out += static_cast<char>(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    *out += static_cast<char>(0xE0 | (c >> 12));
    *out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    *out += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    *out += static_cast<char>(0xF0 | (c >> 18));
    *out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
    *out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    *out += static_cast<char>(0x80 | (c & 0x3F));
  }
}

// A value axis: the range drawn and the ticks in it.
struct Axis {
  double low = 0.0;
  double high = 1.0;
  double step = 0.2;
};

// The round step nearest to a fifth of the range: three to eight ticks,
// unless `min_step` asks for fewer.
double NiceStep(double range, double min_step) {
  const double raw = range / 5.0;
  const double magnitude = std::pow(10.0, std::floor(std::log10(raw)));
  const double fraction = raw / magnitude;
  double nice = 10.0;
  if (fraction < 1.5) {
    nice = 1.0;
  } else if (fraction < 3.0) {
    nice = 2.0;
  } else if (fraction < 7.0) {
    nice = 5.0;
  }
  return std::max(nice * magnitude, min_step);
}

// The multiples of `step` from `low` to `high`, each computed from its
// index so that no error builds up along the axis.
std::vector<double> StepTicks(double low, double high, double step) {
  std::vector<double> ticks;
  const double first = std::ceil(low / step - 1e-9);
  const double last = std::floor(high / step + 1e-9);
  for (double k = first; k <= last; k += 1.0) ticks.push_back(k * step);
  return ticks;
}

// The range of the finite values, widened to whole steps.
Axis ValueAxis(const TSvgPanel& panel) {
  double low = INFINITY;
  double high = -INFINITY;
  auto take = [&](double v) {
    if (!std::isfinite(v)) return;
    low = std::min(low, v);
    high = std::max(high, v);
  };
  for (const TSvgLine& line : panel.lines) {
    for (double v : line.values) take(v);
  }
  for (const TSvgBand& band : panel.bands) {
    for (std::size_t i = 0; i < band.years.size(); ++i) {
      if (std::isfinite(band.lower[i]) && std::isfinite(band.upper[i])) {
        take(band.lower[i]);
        take(band.upper[i]);
      }
    }
  }
  if (!(low <= high)) {
    low = 0.0;
    high = 1.0;
  }
  if (panel.include_zero) {
    low = std::min(low, 0.0);
    high = std::max(high, 0.0);
  }
  if (low == high) {
    // A flat line still gets an axis around it.
    const double pad = low == 0.0 ? 1.0 : std::fabs(low) * 0.1;
    low -= pad;
    high += pad;
  }
  Axis axis;
  axis.step = NiceStep(high - low, 0.0);
  axis.low = std::floor(low / axis.step) * axis.step;
  axis.high = std::ceil(high / axis.step) * axis.step;
  return axis;
}

// Digits after the point that a tick label of this step needs.
int DecimalsFor(double step) {
  return std::max(0, static_cast<int>(-std::floor(std::log10(step) + 1e-9)));
}

class Writer {
 public:
  explicit Writer(const TSvgFigure& figure) : figure_(figure) {}

  std::string Render();

 private:
  void YearRange();
  void Panel(const TSvgPanel& panel, double top, bool last);
  void Line(const TSvgLine& line, const Axis& axis, double top);
  void Band(const TSvgBand& band, const Axis& axis, double top);
  void Legend();
  double X(double year) const {
    return kPlotLeft + (year - first_year_) / (last_year_ - first_year_) *
                           (kPlotRight - kPlotLeft);
  }
  static double Y(double value, const Axis& axis, double top) {
    return top + kPanelHeight -
           (value - axis.low) / (axis.high - axis.low) * kPanelHeight;
  }
  void Text(double x, double y, const std::string& text, int size,
            const char* anchor = "start", const char* extra = "");

  const TSvgFigure& figure_;
  std::string svg_;
  double first_year_ = 0.0;
  double last_year_ = 1.0;
};

void Writer::Text(double x, double y, const std::string& text, int size,
                  const char* anchor, const char* extra) {
  svg_ += "<text x=\"" + Px(x) + "\" y=\"" + Px(y) + "\" font-size=\"" +
          std::to_string(size) + "\" text-anchor=\"" + anchor + "\"" + extra +
          ">" + TSvgPlot::Escape(text) + "</text>\n";
}

void Writer::YearRange() {
  int64_t first = INT64_MAX;
  int64_t last = INT64_MIN;
  for (const TSvgPanel& panel : figure_.panels) {
    for (const TSvgLine& line : panel.lines) {
      for (int64_t year : line.years) {
        first = std::min(first, year);
        last = std::max(last, year);
      }
    }
    for (const TSvgBand& band : panel.bands) {
      for (int64_t year : band.years) {
        first = std::min(first, year);
        last = std::max(last, year);
      }
    }
  }
  if (first > last) {
    first = 0;
    last = 1;
  }
  if (first == last) {
    --first;
    ++last;
  }
  first_year_ = static_cast<double>(first);
  last_year_ = static_cast<double>(last);
}

// Splits the years into runs of consecutive entries with values: the
// polylines of a line, the polygons of a band.
template <typename HasValue, typename Emit>
void ForEachRun(std::size_t count, HasValue has_value, Emit emit) {
  std::size_t i = 0;
  while (i < count) {
    if (!has_value(i)) {
      ++i;
      continue;
    }
    std::size_t end = i;
    while (end < count && has_value(end)) ++end;
    emit(i, end);
    i = end;
  }
}

std::string Numbers(const std::vector<double>& values, std::size_t begin,
                    std::size_t end) {
  std::string text;
  for (std::size_t i = begin; i < end; ++i) {
    if (i > begin) text += ' ';
    text += TNumberFormat::Shortest(values[i]);
  }
  return text;
}

std::string Years(const std::vector<int64_t>& years, std::size_t begin,
                  std::size_t end) {
  std::string text;
  for (std::size_t i = begin; i < end; ++i) {
    if (i > begin) text += ' ';
    text += TNumberFormat::Integer(years[i]);
  }
  return text;
}

void Writer::Line(const TSvgLine& line, const Axis& axis, double top) {
  svg_ += "<g class=\"line\" data-series=\"" + TSvgPlot::Escape(line.series) +
          "\" data-file=\"" + TSvgPlot::Escape(line.file) + "\" stroke=\"" +
          line.colour + "\" stroke-width=\"" + Px(line.width) + "\"" +
          (line.dashed ? " stroke-dasharray=\"6 3\"" : "") +
          " fill=\"none\" stroke-linejoin=\"round\">\n";
  const std::size_t count = std::min(line.years.size(), line.values.size());
  ForEachRun(
      count, [&](std::size_t i) { return std::isfinite(line.values[i]); },
      [&](std::size_t begin, std::size_t end) {
        const std::string data =
            " data-years=\"" + Years(line.years, begin, end) +
            "\" data-values=\"" + Numbers(line.values, begin, end) + "\"";
        if (end - begin == 1) {
          // A lone year has no segment to draw: a dot instead.
          svg_ += "<circle cx=\"" +
                  Px(X(static_cast<double>(line.years[begin]))) + "\" cy=\"" +
                  Px(Y(line.values[begin], axis, top)) + "\" r=\"" +
                  Px(line.width + 1.0) + "\" fill=\"" + line.colour +
                  "\" stroke=\"none\"" + data + "/>\n";
          return;
        }
        svg_ += "<polyline points=\"";
        for (std::size_t i = begin; i < end; ++i) {
          if (i > begin) svg_ += ' ';
          svg_ += Px(X(static_cast<double>(line.years[i]))) + "," +
                  Px(Y(line.values[i], axis, top));
        }
        svg_ += "\"" + data + "/>\n";
      });
  svg_ += "</g>\n";
}

void Writer::Band(const TSvgBand& band, const Axis& axis, double top) {
  svg_ += "<g class=\"band\" data-series=\"" + TSvgPlot::Escape(band.series) +
          "\" fill=\"" + band.colour +
          "\" fill-opacity=\"0.25\" stroke=\"none\">\n";
  const std::size_t count = band.years.size();
  ForEachRun(
      count,
      [&](std::size_t i) {
        return std::isfinite(band.lower[i]) && std::isfinite(band.upper[i]);
      },
      [&](std::size_t begin, std::size_t end) {
        // Along the upper bound, back along the lower one; a lone year is a
        // vertical bar one year wide.
        const double half = end - begin == 1 ? 0.25 : 0.0;
        std::string points;
        for (std::size_t i = begin; i < end; ++i) {
          const double year = static_cast<double>(band.years[i]);
          points += Px(X(year - (i == begin ? half : 0.0))) + "," +
                    Px(Y(band.upper[i], axis, top)) + " ";
          if (half > 0.0) {
            points += Px(X(year + half)) + "," +
                      Px(Y(band.upper[i], axis, top)) + " ";
          }
        }
        for (std::size_t i = end; i-- > begin;) {
          const double year = static_cast<double>(band.years[i]);
          if (half > 0.0) {
            points += Px(X(year + half)) + "," +
                      Px(Y(band.lower[i], axis, top)) + " ";
          }
          points += Px(X(year - (i == begin ? half : 0.0))) + "," +
                    Px(Y(band.lower[i], axis, top));
          if (i > begin) points += ' ';
        }
        svg_ += "<polygon points=\"" + points + "\" data-years=\"" +
                Years(band.years, begin, end) + "\" data-lower=\"" +
                Numbers(band.lower, begin, end) + "\" data-upper=\"" +
                Numbers(band.upper, begin, end) + "\"/>\n";
      });
  svg_ += "</g>\n";
}

void Writer::Panel(const TSvgPanel& panel, double top, bool last) {
  const Axis axis = ValueAxis(panel);
  const double bottom = top + kPanelHeight;
  svg_ += "<g class=\"panel\" data-panel=\"" + TSvgPlot::Escape(panel.name) +
          "\">\n";
  Text(kPlotLeft, top - 10.0, panel.title, 13, "start",
       " font-weight=\"bold\"");
  svg_ += "<rect x=\"" + Px(kPlotLeft) + "\" y=\"" + Px(top) + "\" width=\"" +
          Px(kPlotRight - kPlotLeft) + "\" height=\"" + Px(kPanelHeight) +
          "\" fill=\"#ffffff\" stroke=\"#808080\"/>\n";
  // Value ticks with light grid lines.
  const int decimals = DecimalsFor(axis.step);
  for (double tick : StepTicks(axis.low, axis.high, axis.step)) {
    const double y = Y(tick, axis, top);
    svg_ += "<line x1=\"" + Px(kPlotLeft) + "\" y1=\"" + Px(y) + "\" x2=\"" +
            Px(kPlotRight) + "\" y2=\"" + Px(y) +
            "\" stroke=\"#e0e0e0\" stroke-width=\"1\"/>\n";
    Text(kPlotLeft - 6.0, y + 4.0, Fixed(tick, decimals), 11, "end");
  }
  // Year ticks under every panel, their labels under the last.
  const std::vector<double> years =
      TSvgPlot::Ticks(first_year_, last_year_, 1.0);
  for (double year : years) {
    const double x = X(year);
    svg_ += "<line x1=\"" + Px(x) + "\" y1=\"" + Px(bottom) + "\" x2=\"" +
            Px(x) + "\" y2=\"" + Px(bottom + 5.0) +
            "\" stroke=\"#808080\" stroke-width=\"1\"/>\n";
    Text(x, bottom + 18.0, Fixed(year, 0), 11, "middle");
  }
  if (last) {
    Text((kPlotLeft + kPlotRight) / 2.0, bottom + 38.0, figure_.year_title, 12,
         "middle");
  }
  for (const TSvgBand& band : panel.bands) Band(band, axis, top);
  for (const TSvgLine& line : panel.lines) Line(line, axis, top);
  if (panel.lines.empty() && panel.bands.empty()) {
    Text((kPlotLeft + kPlotRight) / 2.0, top + kPanelHeight / 2.0, "no values",
         12, "middle", " fill=\"#808080\"");
  }
  svg_ += "</g>\n";
}

void Writer::Legend() {
  double y = kFirstPanelTop + 8.0;
  if (!figure_.legend_title.empty()) {
    Text(kLegendLeft, kFirstPanelTop - 10.0, figure_.legend_title, 12, "start",
         " font-weight=\"bold\"");
  }
  svg_ += "<g class=\"legend\">\n";
  for (const TSvgLegendEntry& entry : figure_.legend) {
    double x = kLegendLeft;
    for (const TSvgLegendEntry::Swatch& swatch : entry.swatches) {
      if (swatch.band) {
        svg_ += "<rect x=\"" + Px(x) + "\" y=\"" + Px(y - 9.0) +
                "\" width=\"20\" height=\"10\" fill=\"" + swatch.colour +
                "\" fill-opacity=\"0.25\"/>\n";
      } else {
        svg_ += "<line x1=\"" + Px(x) + "\" y1=\"" + Px(y - 4.0) + "\" x2=\"" +
                Px(x + 20.0) + "\" y2=\"" + Px(y - 4.0) + "\" stroke=\"" +
                swatch.colour + "\" stroke-width=\"2.5\"" +
                (swatch.dashed ? " stroke-dasharray=\"6 3\"" : "") + "/>\n";
      }
      x += 24.0;
    }
    Text(x + 2.0, y, entry.text, 11);
    y += kLegendRow;
  }
  svg_ += "</g>\n";
}

std::string Writer::Render() {
  YearRange();
  const double height =
      kFirstPanelTop +
      static_cast<double>(figure_.panels.size()) * (kPanelHeight + kPanelGap) +
      10.0;
  const double legend_bottom =
      kFirstPanelTop + static_cast<double>(figure_.legend.size()) * kLegendRow;
  const double page = std::max(height, legend_bottom + 20.0);
  svg_ = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";
  svg_ += "<svg xmlns=\"http://www.w3.org/2000/svg\" version=\"1.1\" width=\"" +
          Px(kWidth) + "\" height=\"" + Px(page) + "\" viewBox=\"0 0 " +
          Px(kWidth) + " " + Px(page) + "\" " + kFont + ">\n";
  svg_ += "<rect width=\"100%\" height=\"100%\" fill=\"#ffffff\"/>\n";
  Text(kPlotLeft, 30.0, figure_.title, 17, "start", " font-weight=\"bold\"");
  Text(kPlotLeft, 52.0, figure_.subtitle, 12, "start", " fill=\"#404040\"");
  for (std::size_t i = 0; i < figure_.panels.size(); ++i) {
    Panel(figure_.panels[i],
          kFirstPanelTop + static_cast<double>(i) * (kPanelHeight + kPanelGap),
          i + 1 == figure_.panels.size());
  }
  Legend();
  svg_ += "</svg>\n";
  return std::move(svg_);
}

}  // namespace

std::string TSvgPlot::Render(const TSvgFigure& figure) {
  return Writer(figure).Render();
}

std::string TSvgPlot::Escape(const std::string& text) {
  std::string out;
  for (char32_t c : Decode(text)) {
    switch (c) {
      case '&':
        out += "&amp;";
        break;
      case '<':
        out += "&lt;";
        break;
      case '>':
        out += "&gt;";
        break;
      case '"':
        out += "&quot;";
        break;
      case '\'':
        out += "&apos;";
        break;
      default:
        AppendUtf8(AllowedInXml(c) ? c : 0xFFFD, &out);
    }
  }
  return out;
}

std::string TSvgPlot::Shorten(const std::string& text, std::size_t length) {
  const std::vector<char32_t> code_points = Decode(text);
  if (code_points.size() <= length || length < 3) return text;
  // The end of a file name tells replicates apart more often than its
  // start: two thirds of the room go to it.
  const std::size_t head = (length - 1) / 3;
  const std::size_t tail = length - 1 - head;
  std::string out;
  for (std::size_t i = 0; i < head; ++i) AppendUtf8(code_points[i], &out);
  AppendUtf8(0x2026, &out);
  for (std::size_t i = code_points.size() - tail; i < code_points.size(); ++i) {
    AppendUtf8(code_points[i], &out);
  }
  return out;
}

std::vector<double> TSvgPlot::Ticks(double low, double high, double min_step) {
  if (!(low < high) || !std::isfinite(low) || !std::isfinite(high)) return {};
  return StepTicks(low, high, NiceStep(high - low, min_step));
}

std::string TSvgPlot::Tint(const std::string& colour, double tint) {
  unsigned rgb = 0;
  std::from_chars(colour.data() + 1, colour.data() + colour.size(), rgb, 16);
  char out[8];
  unsigned channels[3] = {(rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF};
  for (unsigned& c : channels) {
    c = static_cast<unsigned>(
        std::lround(static_cast<double>(c) + (255.0 - c) * tint));
  }
  std::snprintf(out, sizeof out, "#%02x%02x%02x", channels[0], channels[1],
                channels[2]);
  return out;
}
