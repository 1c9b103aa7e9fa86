#include "TZvxOptions.h"

#include <charconv>
#include <cmath>
#include <fstream>
#include <functional>
#include <limits>
#include <thread>

#include "TError.h"
#include "TPatch.h"

namespace {

[[noreturn]] void Usage(const std::string& message) {
  throw TError(message, TError::Kind::kUsage);
}

// "--share 1.5: must be ..." with the value as typed.
[[noreturn]] void BadValue(const std::string& option, const std::string& value,
                           const std::string& requirement) {
  Usage(option + " '" + value + "': " + requirement);
}

// The whole text as a decimal integer in [low, high].
int64_t StrictInteger(const std::string& option, const std::string& text,
                      int64_t low, int64_t high,
                      const std::string& requirement) {
  const char* first = text.data();
  const char* last = first + text.size();
  if (first != last && *first == '+') ++first;
  int64_t value = 0;
  const std::from_chars_result result = std::from_chars(first, last, value);
  if (first == last || result.ptr != last || result.ec != std::errc() ||
      value < low || value > high) {
    BadValue(option, text, requirement);
  }
  return value;
}

// The whole text as a finite decimal number.
double StrictDecimal(const std::string& option, const std::string& text,
                     const std::string& requirement) {
  const char* first = text.data();
  const char* last = first + text.size();
  if (first != last && *first == '+') ++first;
  double value = 0.0;
  const std::from_chars_result result =
      std::from_chars(first, last, value, std::chars_format::general);
  if (first == last || result.ptr != last || result.ec != std::errc() ||
      !std::isfinite(value)) {
    BadValue(option, text, requirement);
  }
  return value;
}

constexpr int64_t kInt32Max = std::numeric_limits<int32_t>::max();

void ReadSmoothing(const std::string& option, const std::string& value,
                   TRunSettings* run) {
  const std::string requirement =
      "expected sma:W, exp:W or median:W with a whole window W of at least 1";
  if (value == "none") {
    run->smoothing = TSmoothing::kNone;
    return;
  }
  const std::size_t colon = value.find(':');
  if (colon == std::string::npos) BadValue(option, value, requirement);
  const std::string kind = value.substr(0, colon);
  if (kind == "sma") {
    run->smoothing = TSmoothing::kMovingAverage;
  } else if (kind == "exp") {
    run->smoothing = TSmoothing::kExponential;
  } else if (kind == "median") {
    run->smoothing = TSmoothing::kMedian;
  } else {
    BadValue(option, value, requirement);
  }
  const std::string window = value.substr(colon + 1);
  const char* first = window.data();
  const char* last = first + window.size();
  int64_t w = 0;
  const std::from_chars_result result = std::from_chars(first, last, w);
  if (first == last || result.ptr != last || result.ec != std::errc() ||
      w < 1 || w > kInt32Max) {
    BadValue(option, value, requirement);
  }
  run->window = static_cast<int32_t>(w);
}

void ReadFileList(const std::string& list, std::istream& in,
                  std::vector<std::string>* files) {
  std::ifstream file;
  std::istream* source = &in;
  if (list != "-") {
    file.open(list);
    if (!file) Usage("--files-from '" + list + "': cannot open the list");
    source = &file;
  }
  std::string line;
  while (std::getline(*source, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (!line.empty()) files->push_back(line);
  }
  if (source->bad()) Usage("--files-from '" + list + "': cannot read the list");
}

struct OptionDefinition {
  const char* name;
  const char* value;  // nullptr for a flag
  const char* help;
  std::function<void(const std::string& value, TZvxOptions* options)> apply;
};

const std::vector<OptionDefinition>& Definitions() {
  static const std::vector<OptionDefinition> definitions = {
      {"--start-year", "Y",
       "calendar year of the first simulated year, 1 to 99999999 (default 1)",
       [](const std::string& v, TZvxOptions* o) {
         o->settings.run.start_year = static_cast<int32_t>(
             StrictInteger("--start-year", v, 1, TPatch::kNoMinYear,
                           "expected a whole year from 1 to 99999999"));
       }},
      {"--axis", "x|y", "the ordinate, either case (default y)",
       [](const std::string& v, TZvxOptions* o) {
         if (v == "x" || v == "X") {
           o->settings.run.axis = 'X';
         } else if (v == "y" || v == "Y") {
           o->settings.run.axis = 'Y';
         } else {
           BadValue("--axis", v, "expected x or y");
         }
       }},
      {"--share", "S",
       "population share of each edge, above 0 and at most 1 (default 0.1)",
       [](const std::string& v, TZvxOptions* o) {
         const std::string requirement =
             "expected a number above 0 and at most 1";
         const double share = StrictDecimal("--share", v, requirement);
         if (!(share > 0.0 && share <= 1.0)) {
           BadValue("--share", v, requirement);
         }
         o->settings.run.share = share;
       }},
      {"--burn-in", "B", "leading years not reported (default 0)",
       [](const std::string& v, TZvxOptions* o) {
         o->settings.run.burn_in = static_cast<int32_t>(
             StrictInteger("--burn-in", v, 0, kInt32Max,
                           "expected a whole number of years, 0 or more"));
       }},
      {"--clean", "T",
       "first drop the patches without T consecutive occupied years; 0: no "
       "cleaning (default 0)",
       [](const std::string& v, TZvxOptions* o) {
         o->settings.run.clean_threshold = static_cast<int32_t>(
             StrictInteger("--clean", v, 0, kInt32Max,
                           "expected a whole number of years, 0 or more"));
       }},
      {"--smooth", "KIND:W",
       "sma:W, exp:W (factor 2 / (W + 1)) or median:W (default none)",
       [](const std::string& v, TZvxOptions* o) {
         ReadSmoothing("--smooth", v, &o->settings.run);
       }},
      {"--weighted", nullptr,
       "edge centroids weighted by what each patch contributes",
       [](const std::string&, TZvxOptions* o) {
         o->settings.run.weighted = true;
       }},
      {"--y-down", nullptr,
       "the map's y grows southwards: the edge at the largest y is the south",
       [](const std::string&, TZvxOptions* o) { o->settings.y_down = true; }},
      {"--resolution", "R", "kilometres per map unit, overriding the file's",
       [](const std::string& v, TZvxOptions* o) {
         const std::string requirement = "expected a number above 0";
         const double r = StrictDecimal("--resolution", v, requirement);
         if (!(r > 0.0)) BadValue("--resolution", v, requirement);
         o->settings.has_resolution = true;
         o->settings.resolution = r;
       }},
      {"--jobs", "N", "files analysed at once (default: all hardware threads)",
       [](const std::string& v, TZvxOptions* o) {
         o->jobs = static_cast<std::size_t>(StrictInteger(
             "--jobs", v, 1, 1024, "expected a whole number from 1 to 1024"));
       }},
      {"--files-from", "LIST",
       "more file names, one per line (-: standard input)", nullptr},
      {"--no-header", nullptr, "no header row",
       [](const std::string&, TZvxOptions* o) { o->header = false; }},
      {"--output", "PATH", "write the table there instead of standard output",
       [](const std::string& v, TZvxOptions* o) {
         if (v.empty()) BadValue("--output", v, "expected a file name");
         o->output = v;
       }},
      {"--ensemble", nullptr,
       "per year (and edge) the files' median and 2.5 % and 97.5 % "
       "quantiles instead of rows per file (edges, years, plot)",
       [](const std::string&, TZvxOptions* o) { o->ensemble = true; }},
      {"--quiet", nullptr, "no progress line (also -q)",
       [](const std::string&, TZvxOptions* o) { o->quiet = true; }},
      {"--help", nullptr, "this help",
       [](const std::string&, TZvxOptions* o) { o->help = true; }},
  };
  return definitions;
}

const OptionDefinition* Find(const std::string& name) {
  for (const OptionDefinition& option : Definitions()) {
    if (name == option.name) return &option;
  }
  return nullptr;
}

}  // namespace

TZvxOptions TZvxOptions::Parse(const std::string& command,
                               const std::vector<std::string>& args,
                               std::istream& in) {
  TZvxOptions options;
  const unsigned threads = std::thread::hardware_concurrency();
  options.jobs = threads > 0 ? threads : 1;
  TSettingNames& names = options.settings.names;
  names.start_year = "--start-year";
  names.clean_threshold = "--clean";
  names.burn_in = "--burn-in";
  names.window = "--smooth window";
  // Help wins over everything else on the line, wrong values included.
  for (const std::string& arg : args) {
    if (arg == "--") break;
    if (arg == "--help") {
      options.help = true;
      return options;
    }
  }
  std::vector<std::string> lists;
  bool only_files = false;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (only_files || arg.size() < 2 || arg[0] != '-') {
      options.files.push_back(arg);
      continue;
    }
    if (arg == "--") {
      only_files = true;
      continue;
    }
    const std::string name =
        arg == "-q" ? "--quiet" : arg.substr(0, arg.find('='));
    const OptionDefinition* option = Find(name);
    if (option == nullptr) Usage("unknown option '" + arg + "'");
    const bool inline_value = arg.find('=') != std::string::npos;
    std::string value;
    if (option->value == nullptr) {
      if (inline_value) Usage("option '" + name + "' takes no value");
    } else if (inline_value) {
      value = arg.substr(arg.find('=') + 1);
    } else if (i + 1 < args.size()) {
      value = args[++i];
    } else {
      Usage("option '" + name + "' needs a value " + option->value);
    }
    if (name == "--files-from") {
      lists.push_back(value);
    } else {
      option->apply(value, &options);
    }
  }
  if (options.help) return options;
  if (options.ensemble && command != "edges" && command != "years" &&
      command != "plot") {
    Usage("option '--ensemble' is not available for zvx " + command);
  }
  for (const std::string& list : lists) ReadFileList(list, in, &options.files);
  return options;
}

std::string TZvxOptions::Help() {
  std::string help;
  for (const OptionDefinition& option : Definitions()) {
    std::string left = std::string("  ") + option.name;
    if (option.value != nullptr) left += std::string(" ") + option.value;
    if (left.size() < 24)
      left.resize(24, ' ');
    else
      left += "  ";
    help += left + option.help + "\n";
  }
  return help;
}
