// Tests of what the benchmarks under Wine compute and parse: a wrong median, a misread process
// file or a switch declared finished too early would put wrong figures into the report.
#include <gtest/gtest.h>

#include <cmath>
#include <optional>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "Measure.h"

namespace vdbench {
namespace {

TEST(Samples, MedianAndQuartilesOfOddAndEvenCountsWhateverTheOrder) {
  const Summary odd = Summarize({9, 1, 5, 3, 7});
  EXPECT_EQ(odd.count, 5u);
  EXPECT_DOUBLE_EQ(odd.median, 5);
  EXPECT_DOUBLE_EQ(odd.q1, 2);  // median of 1, 3
  EXPECT_DOUBLE_EQ(odd.q3, 8);  // median of 7, 9
  EXPECT_DOUBLE_EQ(odd.min, 1);
  EXPECT_DOUBLE_EQ(odd.max, 9);

  const Summary even = Summarize({40, 10, 30, 20});
  EXPECT_DOUBLE_EQ(even.median, 25);
  EXPECT_DOUBLE_EQ(even.q1, 15);
  EXPECT_DOUBLE_EQ(even.q3, 35);
  EXPECT_DOUBLE_EQ(Median({3, 1, 2}), 2);

  // One wild sample (Wine's noise) moves the median by one place only.
  EXPECT_DOUBLE_EQ(Median({100, 101, 102, 103, 5000}), 102);
}

TEST(Samples, NoSamplesGiveNoFigureAndOneSampleIsItsOwnSummary) {
  const Summary none = Summarize({});
  EXPECT_EQ(none.count, 0u);
  EXPECT_TRUE(std::isnan(none.median));
  EXPECT_TRUE(std::isnan(none.q1));
  EXPECT_TRUE(std::isnan(none.max));

  const Summary one = Summarize({4.5});
  EXPECT_DOUBLE_EQ(one.median, 4.5);
  EXPECT_DOUBLE_EQ(one.q1, 4.5);
  EXPECT_DOUBLE_EQ(one.q3, 4.5);
}

TEST(Samples, PairedDifferencesPairRunsInOrderAndDropAnUnpairedOne) {
  EXPECT_EQ(PairedDifferences({5, 7, 9}, {1, 2}), (std::vector<double>{4, 5}));
  EXPECT_TRUE(PairedDifferences({}, {1}).empty());
}

TEST(ProcessFiles, StatReadsTheTimesAfterACommandNameWithBlanksAndParentheses) {
  // Fields 14 and 15 (utime, stime) are 1234 and 56 in each line.
  const std::string tail = " S 1 2 3 4 5 6 7 8 9 10 1234 56 0 0 20 0 3 0 999 1000 200\n";
  auto plain = ParseProcStat("4321 (vuedeck.exe)" + tail);
  ASSERT_TRUE(plain);
  EXPECT_EQ(plain->pid, 4321);
  EXPECT_EQ(plain->comm, "vuedeck.exe");
  EXPECT_EQ(plain->state, 'S');
  EXPECT_EQ(plain->utimeTicks, 1234u);
  EXPECT_EQ(plain->stimeTicks, 56u);

  // A name may hold ") " itself: the name ends at the last parenthesis of the line.
  auto tricky = ParseProcStat("77 (odd) name (x)" + tail);
  ASSERT_TRUE(tricky);
  EXPECT_EQ(tricky->comm, "odd) name (x");
  EXPECT_EQ(tricky->utimeTicks, 1234u);
  EXPECT_EQ(tricky->stimeTicks, 56u);
}

TEST(ProcessFiles, StatThatIsCutShortOrGarbledIsRefused) {
  EXPECT_FALSE(ParseProcStat(""));
  EXPECT_FALSE(ParseProcStat("12 (x) S 1 2 3"));                        // cut before utime
  EXPECT_FALSE(ParseProcStat("12 (x) S 1 2 3 4 5 6 7 8 9 10 ab 5 0"));  // utime not a number
  EXPECT_FALSE(ParseProcStat("(x) S 1 2 3 4 5 6 7 8 9 10 1 5 0"));      // no pid
  EXPECT_FALSE(ParseProcStat("12 x S 1 2 3 4 5 6 7 8 9 10 1 5 0"));     // no parentheses
}

TEST(ProcessFiles, SchedstatGivesTheRunTimeInNanoseconds) {
  EXPECT_EQ(ParseSchedstatRunNs("142989123456 6732810 2\n"), 142989123456u);
  EXPECT_FALSE(ParseSchedstatRunNs(""));
  EXPECT_FALSE(ParseSchedstatRunNs("x 1 2"));
}

TEST(ProcessFiles, StatusValuesAreFoundByTheirWholeKey) {
  const std::string status =
      "Name:\tvuedeck.exe\n"
      "VmPeak:\t  300000 kB\n"
      "VmRSSMax:\t  999 kB\n"
      "VmRSS:\t   35840 kB\n"
      "RssAnon:\t   13952 kB\n"
      "Threads:\t5\n";
  EXPECT_EQ(StatusKib(status, "VmRSS"), 35840u);
  EXPECT_EQ(StatusKib(status, "RssAnon"), 13952u);
  EXPECT_FALSE(StatusKib(status, "Vm"));
  EXPECT_FALSE(StatusKib(status, "RssFile"));
  EXPECT_FALSE(StatusKib("VmRSS:\tlots kB\n", "VmRSS"));
}

TEST(ProcessFiles, NulSeparatedListsKeepEveryEntry) {
  const std::string bytes("Z:\\a\\vuedeck.exe\0--tag\0idle-10\0", 31);
  EXPECT_EQ(SplitNul(bytes), (std::vector<std::string>{"Z:\\a\\vuedeck.exe", "--tag", "idle-10"}));
  EXPECT_TRUE(SplitNul("").empty());
}

// Processes of two Wine prefixes on one machine, as when several runs share it.
std::vector<UnixProcessInfo> TwoPrefixes() {
  return {
      {101, "wineserver64", "/usr/lib/wine/wineserver64 -p0", {"HOME=/root", "WINEPREFIX=/b/mine"}},
      {102, "wineserver64", "/usr/lib/wine/wineserver64 -p0", {"WINEPREFIX=/b/theirs"}},
      {201, "vuedeck.exe", "Z:\\b\\scratch\\idle-10\\vuedeck.exe", {"WINEPREFIX=/b/theirs"}},
      {202, "vuedeck.exe", "Z:\\b\\scratch\\idle-10\\vuedeck.exe", {"WINEPREFIX=/b/mine"}},
      {203, "vuedeck.exe", "Z:\\b\\scratch\\IDLE-100\\vuedeck.exe", {"WINEPREFIX=/b/mine"}},
      {301, "bare_switch.exe", "Z:\\b\\bare_switch.exe --tag idle-10", {"WINEPREFIX=/b/mine"}},
      {401, "averylongprogra", "Z:\\b\\averylongprogramname.exe", {"WINEPREFIX=/b/mine"}},
  };
}

TEST(FindingWineProcesses, OnlyTheProcessOfThisPrefixWithTheMarkerIsTaken) {
  const auto all = TwoPrefixes();
  EXPECT_EQ(FindWineProcess(all, "vuedeck.exe", "/b/mine", "\\idle-10\\"), 202);
  EXPECT_EQ(FindWineProcess(all, "vuedeck.exe", "/b/mine", "\\idle-100\\"), 203);
  EXPECT_EQ(FindWineProcess(all, "vuedeck.exe", "/b/theirs", "idle-10"), 201);
  EXPECT_EQ(FindWineProcess(all, "bare_switch.exe", "/b/mine", "idle-10"), 301);
  // The kernel keeps 15 characters of a name.
  EXPECT_EQ(FindWineProcess(all, "averylongprogramname.exe", "/b/mine", ""), 401);
  EXPECT_EQ(FindWineProcess(all, "VUEDECK.EXE", "/b/mine", "idle-100"), 203);
}

TEST(FindingWineProcesses, NoneOrAnAmbiguousMatchGivesNothing) {
  const auto all = TwoPrefixes();
  // "idle-10" is also inside "idle-100": two processes fit, neither is certain.
  EXPECT_FALSE(FindWineProcess(all, "vuedeck.exe", "/b/mine", "idle-10"));
  EXPECT_FALSE(FindWineProcess(all, "vuedeck.exe", "/b/mine", ""));
  EXPECT_FALSE(FindWineProcess(all, "vuedeck.exe", "/b/other", ""));
  EXPECT_FALSE(FindWineProcess(all, "winmaker.exe", "/b/mine", ""));
  // A prefix is matched whole, not by its beginning.
  EXPECT_FALSE(FindWineProcess(all, "bare_switch.exe", "/b/mi", ""));
}

TEST(FindingWineProcesses, TheServerOfThisPrefix) {
  auto all = TwoPrefixes();
  EXPECT_EQ(FindWineServer(all, "/b/mine"), 101);
  EXPECT_EQ(FindWineServer(all, "/b/theirs"), 102);
  EXPECT_FALSE(FindWineServer(all, "/b/none"));
  all.push_back({103, "wineserver", "wineserver", {"WINEPREFIX=/b/mine/"}});
  EXPECT_FALSE(FindWineServer(all, "/b/mine"));  // two servers: refuse to guess
}

TEST(SwitchWatching, FinishesOnlyWhenEveryWindowIsInItsStateAtOnce) {
  std::vector<bool> there{false, false, false};
  SwitchWatch watch(there.size());
  auto probe = [&](size_t i) { return static_cast<bool>(there[i]); };
  EXPECT_FALSE(watch.Poll(probe));
  there[0] = there[2] = true;  // the last window is there before the middle one
  EXPECT_FALSE(watch.Poll(probe));
  EXPECT_EQ(watch.Waiting(), 1u);
  there[1] = true;
  EXPECT_TRUE(watch.Poll(probe));
  EXPECT_TRUE(watch.Done());
  there[0] = false;  // what happens after the end is not this switch's
  EXPECT_TRUE(watch.Poll(probe));
}

TEST(SwitchWatching, AWindowPutBackAfterItWasSeenKeepsTheSwitchUnfinished) {
  std::vector<bool> there{true, true, false};
  SwitchWatch watch(there.size());
  auto probe = [&](size_t i) { return static_cast<bool>(there[i]); };
  EXPECT_FALSE(watch.Poll(probe));
  there[0] = false;  // shown, then hidden again
  there[2] = true;
  EXPECT_FALSE(watch.Poll(probe));
  EXPECT_EQ(watch.Waiting(), 0u);
  there[0] = true;
  EXPECT_TRUE(watch.Poll(probe));
}

TEST(SwitchWatching, APollAsksFewQuestionsWhileTheSwitchRuns) {
  // 200 windows, none there yet: polling a thousand times must not ask 200 000 questions,
  // which would load the Wine server the switch itself needs.
  SwitchWatch watch(200);
  for (int i = 0; i < 1000; ++i) watch.Poll([](size_t) { return false; });
  EXPECT_EQ(watch.Probes(), 1000u);
  watch.Poll([](size_t) { return true; });
  EXPECT_EQ(watch.Probes(), 1000u + 200u + 200u);  // the walk, then the pass over all
  EXPECT_TRUE(watch.Done());
}

TEST(SwitchWatching, NoWindowsIsAFinishedSwitch) {
  SwitchWatch watch(0);
  EXPECT_TRUE(watch.Poll([](size_t) { return false; }));
}

std::vector<std::string> Required() {
  return {"--vuedeck", "Z:\\b\\vuedeck.exe",     "--winmaker",   "Z:\\b\\winmaker.exe",
          "--bare",    "Z:\\b\\bare_switch.exe", "--scratch",    "Z:\\b\\scratch",
          "--out",     "Z:\\b\\out.txt",         "--wineprefix", "/b/prefix"};
}

std::optional<DriverOptions> Parse(std::vector<std::string> extra, std::string& error) {
  std::vector<std::string> args = Required();
  args.insert(args.end(), extra.begin(), extra.end());
  return ParseDriverOptions(args, error);
}

TEST(DriverOptions, EveryOptionIsReadAndTheRestKeepsItsDefault) {
  std::string error;
  auto plain = Parse({}, error);
  ASSERT_TRUE(plain) << error;
  EXPECT_EQ(plain->prefix, "/b/prefix");
  EXPECT_EQ(plain->bare, "Z:\\b\\bare_switch.exe");
  EXPECT_EQ(plain->counts, (std::vector<int>{10, 50, 100}));
  EXPECT_EQ(plain->runs, 16);
  EXPECT_EQ(plain->phases.size(), 3u);
  EXPECT_FALSE(plain->marks);

  // --marks takes no value: what follows it is the next option, not its value.
  auto chosen = Parse(
      {"--marks", "--counts", "100,10", "--runs", "3", "--interval-ms", "500", "--phases", "idle"},
      error);
  ASSERT_TRUE(chosen) << error;
  EXPECT_TRUE(chosen->marks);
  EXPECT_EQ(chosen->counts, (std::vector<int>{100, 10}));
  EXPECT_EQ(chosen->runs, 3);
  EXPECT_EQ(chosen->intervalMs, 500);
  EXPECT_EQ(chosen->phases, (std::set<std::string>{"idle"}));
}

TEST(DriverOptions, WhatCannotBeMeasuredAsAskedIsRefusedWithTheReason) {
  std::string error;
  EXPECT_FALSE(Parse({"--runs", "many"}, error));
  EXPECT_NE(error.find("--runs"), std::string::npos);
  EXPECT_FALSE(Parse({"--runs", "0"}, error));
  EXPECT_FALSE(Parse({"--runs", "-3"}, error));
  EXPECT_FALSE(Parse({"--counts", "10,,100"}, error));
  EXPECT_FALSE(Parse({"--counts", "10,50x"}, error));
  EXPECT_FALSE(Parse({"--phases", "switch,tick"}, error));
  EXPECT_NE(error.find("tick"), std::string::npos);
  EXPECT_FALSE(Parse({"--speed", "9"}, error));
  EXPECT_FALSE(Parse({"--runs"}, error));             // no value at the end
  EXPECT_FALSE(Parse({"--runs", "--marks"}, error));  // an option where the value belongs

  std::vector<std::string> noPrefix = Required();
  noPrefix.resize(noPrefix.size() - 2);
  EXPECT_FALSE(ParseDriverOptions(noPrefix, error));
  EXPECT_EQ(error, "--wineprefix is missing");
}

TEST(WindowPlaces, TwoHundredWindowsStayOnTheScreenAboveTheTaskBarEachInAPlaceOfItsOwn) {
  std::set<std::pair<int, int>> corners;
  for (int i = 0; i < 200; ++i) {
    const WindowBox box = WindowPlace(i);
    // A window wholly left of the screen would be moved by the program when taken on, and one
    // below 1024 - 30 would stand behind the task bar.
    EXPECT_GE(box.left, 0) << i;
    EXPECT_GE(box.top, 0) << i;
    EXPECT_LE(box.left + box.width, 1280) << i;
    EXPECT_LE(box.top + box.height, 994) << i;
    EXPECT_TRUE(corners.insert({box.left, box.top}).second) << "window " << i << " hides another";
  }
}

TEST(ResultsFile, KeysKeepTheirFirstPlaceAndValuesStayOnOneLine) {
  Results r;
  r.Set("switch.10.failed", "0");
  r.Set("idle 10", 1.23456, 2);
  r.Set("switch.10.failed", "2");
  r.Set("switch.10.error", "no pager\r\nat all");
  EXPECT_EQ(r.Text(), "switch.10.failed 2\nidle_10 1.23\nswitch.10.error no pager  at all\n");
  EXPECT_EQ(r.Get("idle_10"), "1.23");
  EXPECT_FALSE(r.Get("idle 10"));
}

TEST(ResultsFile, ASummaryIsWrittenAsItsSixFiguresAndAMissingOneAsNan) {
  Results r;
  r.SetSummary("tick.100.vuedeck_ms", Summarize({1, 2, 3}), 1);
  r.SetSummary("tick.10.vuedeck_ms", Summarize({}), 1);
  EXPECT_EQ(r.Get("tick.100.vuedeck_ms.n"), "3");
  EXPECT_EQ(r.Get("tick.100.vuedeck_ms.median"), "2.0");
  EXPECT_EQ(r.Get("tick.100.vuedeck_ms.q1"), "1.0");
  EXPECT_EQ(r.Get("tick.100.vuedeck_ms.max"), "3.0");
  EXPECT_EQ(r.Get("tick.10.vuedeck_ms.median"), "nan");
  EXPECT_EQ(FormatNumber(2.005, 0), "2");
}

}  // namespace
}  // namespace vdbench
