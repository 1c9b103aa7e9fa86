// zvx over many files and bad command lines: the shifts agree with the
// one-file report, the table does not depend on the number of jobs, broken
// files fail alone, and a wrong command line writes nothing but a message.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "TNumberFormat.h"
#include "TestSupport.h"
#include "Zvx.h"

using ::testing::EndsWith;
using ::testing::HasSubstr;

namespace fs = std::filesystem;

namespace {

RunResult Zvx(const std::vector<std::string>& args,
              const std::string& input = "") {
  std::istringstream in(input);
  std::ostringstream out, err;
  const int status = RunZvx(args, in, out, err, false);
  return {status, out.str(), err.str()};
}

std::vector<std::string> Split(const std::string& line, char delimiter) {
  std::vector<std::string> fields;
  std::stringstream stream(line);
  for (std::string field; std::getline(stream, field, delimiter);) {
    fields.push_back(field);
  }
  if (!line.empty() && line.back() == delimiter) fields.push_back("");
  return fields;
}

std::string DataPath(const std::string& name) {
  return std::string(ZELVATRIX_SOURCE_DIR) + "/tests/data/zvx/" + name;
}

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream content;
  content << in.rdbuf();
  return content.str();
}

// The report's shift fields by edge and year: "north 2003" -> {x, y}.
std::map<std::string, std::vector<std::string>> ReportShifts(
    const std::string& report) {
  std::map<std::string, std::vector<std::string>> shifts;
  std::istringstream lines(report);
  bool table = false;
  for (std::string line; std::getline(lines, line);) {
    if (line.rfind("Year,", 0) == 0) {
      table = true;
      continue;
    }
    if (!table) continue;
    const std::vector<std::string> f = Split(line, ',');
    shifts["north " + f.at(0)] = {f.at(1), f.at(2)};
    shifts["south " + f.at(3)] = {f.at(4), f.at(5)};
  }
  return shifts;
}

// zvx's shifts by edge and year, as the report would print them. East and
// west are the report's north and south on axis x.
std::map<std::string, std::vector<std::string>> ZvxShifts(
    const std::string& table) {
  std::map<std::string, std::vector<std::string>> shifts;
  std::istringstream lines(table);
  std::string line;
  std::getline(lines, line);  // header
  while (std::getline(lines, line)) {
    const std::vector<std::string> f = Split(line, ',');
    std::string edge = f.at(1);
    if (edge == "east") edge = "north";
    if (edge == "west") edge = "south";
    auto report = [](const std::string& text) {
      return TNumberFormat::Report(std::strtod(text.c_str(), nullptr));
    };
    shifts[edge + " " + f.at(2)] = {report(f.at(5)), report(f.at(6))};
  }
  return shifts;
}

}  // namespace

TEST(ZvxTest, EdgesGiveTheShiftsOfTheReport) {
  std::vector<std::string> files = {ExamplePath("heath_skink.mp"),
                                    ExamplePath("transect.mp")};
  const std::string real_dir = RealMpPath("");
  if (!real_dir.empty()) {
    for (const auto& entry : fs::directory_iterator(real_dir)) {
      if (entry.path().extension() == ".mp") files.push_back(entry.path());
    }
  }
  struct Setting {
    std::vector<std::string> report;  // after file, start year, axis, share
    std::string axis;
    std::vector<std::string> zvx;
  };
  const Setting settings[] = {
      {{","}, "Y", {}},
      {{",", "2"}, "Y", {"--burn-in", "2"}},
      {{",", "0", "3"}, "Y", {"--clean", "3"}},
      {{",", "1", "0", "sma", "3"}, "Y", {"--burn-in=1", "--smooth=sma:3"}},
      {{",", "0", "2", "exp", "4"}, "Y", {"--clean", "2", "--smooth", "exp:4"}},
      {{",", "1"}, "X", {"--burn-in", "1", "--axis", "x"}},
  };
  int compared = 0;
  for (const std::string& file : files) {
    for (const Setting& s : settings) {
      std::vector<std::string> report_args = {file, "1", s.axis, "0.1"};
      report_args.insert(report_args.end(), s.report.begin(), s.report.end());
      const RunResult report = RunProgram(report_args);
      std::vector<std::string> zvx_args = {"edges", "-q", "--jobs", "1"};
      zvx_args.insert(zvx_args.end(), s.zvx.begin(), s.zvx.end());
      zvx_args.push_back(file);
      const RunResult table = Zvx(zvx_args);
      const std::string name = file + " " + ::testing::PrintToString(s.zvx);
      if (report.status != 0) {
        // A file the report rejects fails in zvx too, without rows.
        EXPECT_EQ(table.status, 1) << name;
        EXPECT_EQ(std::count(table.out.begin(), table.out.end(), '\n'), 1)
            << name;
        continue;
      }
      ASSERT_EQ(table.status, 0) << name << "\n" << table.err;
      const auto expected = ReportShifts(report.out);
      ASSERT_FALSE(expected.empty()) << name;
      EXPECT_EQ(ZvxShifts(table.out), expected) << name;
      ++compared;
    }
  }
  EXPECT_GT(compared, 0);
}

// An ensemble of 1,000 files with four broken ones among them: missing,
// malformed, cut short, and too short for the burn-in. The others' rows come
// complete and in file order, whatever the number of jobs.
TEST(ZvxTest, EnsembleWithBrokenFilesKeepsTheOthersInOrder) {
  const std::string good = ReadFile(DataPath("drift.mp"));
  const fs::path dir =
      fs::path(WriteTempFile("ensemble-marker", "")).parent_path() / "ensemble";
  fs::create_directories(dir);
  const std::map<int, std::string> broken = {
      {7, ""},  // not written: missing
      {250, "A,0,0,a.KCH\nB,0\nMigration\n"},
      {500, good.substr(0, good.find("Pop. 2") + 12)},
      {999, "A,0,0,a.KCH\nMigration\nPop. ALL\n1 0\n1 0\nPop. 1\n5 0\n5 0\n"},
  };
  std::string list;
  std::vector<std::string> names;
  for (int i = 0; i < 1000; ++i) {
    const std::string path =
        (dir / ("run" + std::to_string(i) + ".mp")).string();
    names.push_back(path);
    list += path + "\n";
    const auto it = broken.find(i);
    if (it == broken.end()) {
      std::ofstream(path, std::ios::binary) << good;
    } else if (!it->second.empty()) {
      std::ofstream(path, std::ios::binary) << it->second;
    }
  }
  const std::vector<std::string> options = {
      "--burn-in", "3", "--share", "0.5", "--files-from", "-"};
  std::vector<std::string> one = {"edges", "--jobs", "1"};
  one.insert(one.end(), options.begin(), options.end());
  std::vector<std::string> eight = {"edges", "--jobs", "8"};
  eight.insert(eight.end(), options.begin(), options.end());
  const RunResult serial = Zvx(one, list);
  const RunResult parallel = Zvx(eight, list);
  EXPECT_EQ(parallel.status, serial.status);
  EXPECT_EQ(parallel.out, serial.out);
  EXPECT_EQ(parallel.err, serial.err);

  // Expected: the rows of one good file, renamed, for every good file.
  const RunResult single = Zvx(
      {"edges", "--no-header", "--burn-in", "3", "--share", "0.5", names[0]});
  ASSERT_EQ(single.status, 0) << single.err;
  std::string expected =
      "file,edge,year,x,y,shift_x,shift_y,shift_x_km,shift_y_km,step_x,"
      "step_y\n";
  for (int i = 0; i < 1000; ++i) {
    if (broken.count(i) > 0) continue;
    std::string rows = single.out;
    for (std::size_t at = 0;
         (at = rows.find(names[0], at)) != std::string::npos;
         at += names[i].size()) {
      rows.replace(at, names[0].size(), names[i]);
    }
    expected += rows;
  }
  EXPECT_EQ(serial.status, 1);
  EXPECT_EQ(serial.out, expected);
  for (const auto& entry : broken) {
    EXPECT_THAT(serial.err, HasSubstr(names[entry.first] + ": "))
        << entry.first;
  }
  EXPECT_THAT(serial.err, HasSubstr("burn-in 3 is outside"));
  EXPECT_THAT(serial.err, EndsWith("\nzvx edges: 4 of 1000 files failed\n"));
  fs::remove_all(dir);
}

// A wrong command line: status 2, nothing on standard output, a message
// that names the option and the value as typed, and where to find help.
TEST(ZvxTest, UsageErrorsNameTheOptionAndValue) {
  const std::string file = DataPath("drift.mp");
  struct Row {
    std::vector<std::string> args;
    std::string message;
    std::string help;
  };
  const std::string edges = "Try 'zvx edges --help'.\n";
  const Row rows[] = {
      {{}, "zvx: no command given", "Try 'zvx --help'.\n"},
      {{"edge", file}, "unknown command 'edge'", "Try 'zvx --help'.\n"},
      {{"edges", "--bogus", file}, "unknown option '--bogus'", edges},
      {{"edges", file, "--share"}, "'--share' needs a value", edges},
      {{"edges", "--share", "0", file}, "--share '0'", edges},
      {{"edges", "--share", "1.5", file}, "--share '1.5'", edges},
      {{"edges", "--share=abc", file}, "--share 'abc'", edges},
      {{"edges", "--share", "nan", file}, "--share 'nan'", edges},
      {{"edges", "--start-year", "0", file}, "--start-year '0'", edges},
      {{"edges", "--start-year", "100000000", file},
       "--start-year '100000000'",
       edges},
      {{"edges", "--jobs", "0", file}, "--jobs '0'", edges},
      {{"edges", "--smooth", "sma", file}, "--smooth 'sma'", edges},
      {{"edges", "--smooth", "sma:0", file}, "--smooth 'sma:0'", edges},
      {{"edges", "--smooth", "mean:3", file}, "--smooth 'mean:3'", edges},
      {{"edges", "--axis", "z", file}, "--axis 'z'", edges},
      {{"edges", "--burn-in", "-1", file}, "--burn-in '-1'", edges},
      {{"edges", "--burn-in", "2x", file}, "--burn-in '2x'", edges},
      {{"edges", "--resolution", "0", file}, "--resolution '0'", edges},
      {{"edges", "--weighted=yes", file}, "'--weighted' takes no value", edges},
      {{"edges", "--files-from", DataPath("no-such-list"), file},
       "cannot open the list",
       edges},
      {{"edges"}, "no FILE given", edges},
      {{"members", "-q"}, "no FILE given", "Try 'zvx members --help'.\n"},
      {{"compare", file},
       "no FILE given after BASELINE",
       "Try 'zvx compare --help'.\n"},
  };
  for (const Row& row : rows) {
    const RunResult result = Zvx(row.args);
    const std::string name = ::testing::PrintToString(row.args);
    EXPECT_EQ(result.status, 2) << name << "\n" << result.err;
    EXPECT_EQ(result.out, "") << name;
    EXPECT_THAT(result.err, HasSubstr(row.message)) << name;
    EXPECT_THAT(result.err, EndsWith(row.help)) << name;
  }
}

TEST(ZvxTest, HelpAndVersionSucceed) {
  for (const std::vector<std::string>& args :
       {std::vector<std::string>{"--help"},
        {"--version"},
        {"edges", "--help"},
        {"compare", "--share", "2", "--help"}}) {
    const RunResult result = Zvx(args);
    const std::string name = ::testing::PrintToString(args);
    EXPECT_EQ(result.status, 0) << name << "\n" << result.err;
    EXPECT_NE(result.out, "") << name;
    EXPECT_EQ(result.err, "") << name;
  }
}

// A baseline whose years differ from the scenario's: the scenario fails,
// naming both spans; a baseline that fails stops the run.
TEST(ZvxTest, CompareRejectsMismatchedSpansAndBadBaselines) {
  const RunResult spans =
      Zvx({"compare", "-q", DataPath("band,1.mp"), DataPath("drift.mp")});
  EXPECT_EQ(spans.status, 1);
  EXPECT_THAT(spans.err, HasSubstr("from 1 to 6"));
  EXPECT_THAT(spans.err, HasSubstr("from 1 to 5"));
  EXPECT_EQ(std::count(spans.out.begin(), spans.out.end(), '\n'), 1);
  const RunResult missing =
      Zvx({"compare", DataPath("missing.mp"), DataPath("drift.mp")});
  EXPECT_EQ(missing.status, 1);
  EXPECT_EQ(missing.out, "");
  EXPECT_THAT(missing.err, HasSubstr("the baseline failed"));
}
