// A random run of the real vuedeck.exe under Wine, as a restless user gives it: windows of another
// application (winmaker.exe) open, close, hide and show themselves and come to the front; the
// user switches desktops by hotkey and by clicking cells, drags miniatures to other cells, clicks
// them, works their window menu with the keyboard (answering what it asks), hides and shows the
// pager, takes up offered windows. The steps come from a seed, printed so that a run can be
// replayed (what the program does in between depends on timing, so a replay walks the same
// steps, not always to the same states).
//
// While it runs it samples what the program holds: the live handle counts of its owners (asked
// with the registered message the program answers) and the process's committed memory. At quiet
// points (every window of the application closed, desktop 1 open, the pager shown) the handle
// counts are compared with those after the warm-up; at the end the program is closed and every
// window must be back on the screen. See Trend.h for the verdict.
#pragma once

#include <windows.h>

#include <cstdint>
#include <fstream>
#include <optional>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "ChildProcess.h"
#include "Pager.h"
#include "SettingsIni.h"
#include "Trend.h"
#include "WinMaker.h"

namespace vdsoak {

struct RunOptions {
  double seconds = 300;
  uint64_t seed = 0;
  double warmupSeconds = 60;  // random steps after the scripted ones, before the first quiet point
  double quietEverySeconds = 60;    // between quiet points
  double finalStretchSeconds = 10;  // random steps after the last quiet point, before the exit
  DWORD sampleMs = 2000;
  double slopeLimitKbPerMinute = 1024;
  std::string vuedeckExe, winmakerExe, folder;
  bool trace = false;  // every step on standard output too
};

class RandomRun {
 public:
  explicit RandomRun(RunOptions options);
  ~RandomRun();
  RandomRun(const RandomRun&) = delete;
  RandomRun& operator=(const RandomRun&) = delete;

  // Runs everything and prints the verdict; 0 when every check held, 1 when one failed, 2 when
  // the run could not be set up.
  int Run();

 private:
  struct AppWindow {
    std::string caption;
    HWND hwnd = nullptr;
    bool hiddenByApp = false;
  };
  struct Miniature {
    HWND hwnd;
    RECT rect;
    int cell;
  };
  struct Draw {
    uint32_t kind, a, b, c;
  };

  bool SetUp();
  Draw Next();
  void Step(const Draw& d);
  void Scripted();  // one of each kind of step, so that the warm-up fills every cache
  void RandomUntil(double seconds);
  bool Healthy();
  void MaybeSample();
  bool TakeQuietPoint();
  bool ExitAndCheck();

  // The steps.
  void Open(uint32_t a, uint32_t b);
  void Close(uint32_t a);
  void Hotkey(uint32_t a);
  void ClickCell(uint32_t a);
  void Drag(uint32_t a, uint32_t b, uint32_t c);
  void ClickMiniature(uint32_t a);
  void WindowMenu(uint32_t a, uint32_t b, uint32_t c);
  void AppHideOrShow(uint32_t a);
  void TogglePager();
  void Front(uint32_t a);
  void TakeOffer(uint32_t a);

  std::vector<Miniature> Miniatures() const;
  AppWindow* Pick(uint32_t a);
  bool PagerShown() const { return IsWindowVisible(pager_) != FALSE; }
  // Whether the steps that use the pager can run; a hidden pager is sometimes shown first.
  bool NeedPager(uint32_t a);
  // Menus left open are closed; forms of the program that ask something are answered.
  void Tidy(uint32_t a);
  std::optional<HandleCounts> Counts() const;
  // The program's committed bytes (Wine reports its private bytes there) and working set.
  std::optional<std::pair<double, double>> Memory() const;
  double Now() const;
  void Log(const std::string& what);
  void Fail(const std::string& what);

  RunOptions options_;
  std::mt19937_64 random_;
  vde2e::SettingsIni settings_;
  vde2e::ChildProcess vuedeck_;
  vde2e::WinMaker maker_;
  HWND pager_ = nullptr;
  std::optional<vde2e::PagerGrid> grid_;
  UINT countMessage_ = 0;
  std::vector<AppWindow> windows_;
  int opened_ = 0;
  ULONGLONG started_ = 0;
  ULONGLONG nextSample_ = 0;
  size_t steps_ = 0;
  std::vector<std::string> recent_;  // the last steps, for a failure's report
  std::ofstream log_, samples_;
  std::vector<QuietPoint> quiet_;
  std::vector<MemorySample> memory_;
  std::vector<std::string> failures_;
};

}  // namespace vdsoak
