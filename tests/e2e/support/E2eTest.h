// The fixture of the end-to-end tests. Each test gets a scratch folder holding a copy of
// vuedeck.exe and its settings, starts the programs it needs, reads real window states and
// saves screenshots; every process it started is ended when it ends, failed or not.
//
// Where things are comes from the environment (host paths are fine under Wine), else from the
// folder of e2e_tests.exe: VD_EXE (vuedeck.exe to test), VD_WINMAKER, VD_SHOTS (the
// screenshots' folder, default e2e-shots), VD_SCRATCH (the scratch folders', e2e-scratch).
#pragma once

#include <gtest/gtest.h>
#include <windows.h>

#include <deque>
#include <functional>
#include <initializer_list>
#include <optional>
#include <string>
#include <vector>

#include "Pager.h"
#include "ScreenShot.h"

namespace vde2e {

// A process started by a test: ended when its object goes (and, through a job object, when the
// test program itself dies), so no test leaves a program running behind it.
class ChildProcess {
 public:
  ChildProcess() = default;
  ~ChildProcess() { Kill(); }
  ChildProcess(const ChildProcess&) = delete;
  ChildProcess& operator=(const ChildProcess&) = delete;

  // Starts `exe` in `folder`; with `pipes`, its standard input and output are pipes to us.
  bool Start(const std::string& exe, const std::string& folder, bool pipes = false);
  DWORD Pid() const { return info_.dwProcessId; }
  bool Running() const { return info_.hProcess && !WaitExit(0); }
  bool WaitExit(DWORD ms) const {
    return info_.hProcess && WaitForSingleObject(info_.hProcess, ms) == WAIT_OBJECT_0;
  }
  void Kill();  // TerminateProcess, as the task manager ends a program
  // Writes a line to its input and waits for the line it answers (empty when none comes).
  std::string Ask(const std::string& line);

 private:
  PROCESS_INFORMATION info_{};
  HANDLE input_ = nullptr, output_ = nullptr;  // our ends of its pipes
};

constexpr DWORD kStartMs = 20000;  // a first start under Wine takes seconds
constexpr DWORD kExitMs = 10000;
constexpr DWORD kWaitMs = 5000;  // a switch, a menu, a drawing reaching the screen

// Polls `condition` every `pollMs` until it holds or `timeoutMs` passed; true when it held.
bool WaitUntil(const std::function<bool()>& condition, DWORD timeoutMs = kWaitMs,
               DWORD pollMs = 20);
// Waits until every window is shown (or every one hidden).
bool WaitShown(std::initializer_list<HWND> windows, bool shown, DWORD timeoutMs = kWaitMs);
RECT RectOf(HWND hwnd);
bool At(HWND hwnd, const RECT& r);  // the window's rectangle is `r` to the pixel
bool Topmost(HWND hwnd);
int AlphaOf(HWND hwnd);  // the layered alpha; 255 when the window is not layered with one
// Caption, visibility, rectangle and styles of each window, for failure messages.
std::string Facts(std::initializer_list<HWND> windows);
// The shown top-level windows of process `pid`, in Z order (topmost first).
std::vector<HWND> WindowsOf(DWORD pid);
std::optional<std::string> ReadWholeFile(const std::string& path);  // nothing when missing

class E2eTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // One key of the scratch folder's settings.ini (the defaults are in E2eTest.cpp).
  void Set(const char* section, const char* key, const char* value);
  // Starts the scratch copy of vuedeck.exe (`again`: once more, else first copying the program
  // there), without waiting.
  ChildProcess& Launch(bool again = false);
  // The first shown top-level window of the process: the pager. Its load, the start-up scan
  // included, has run to its end once it shows. Null when none showed in time.
  HWND WaitForPager(const ChildProcess& vuedeck);
  // Launch and WaitForPager; Vuedeck() and Pager() then name them.
  HWND Start(bool again = false);
  ChildProcess& Vuedeck() { return *vuedeck_; }
  HWND Pager() const { return pager_; }
  // Closes the pager as the task bar's Close does and waits for the program to end.
  bool CloseAndWaitForExit();

  // A command to winmaker.exe (started on first use; see README.md): `verb` "`caption`" `rest`.
  // The handle its answer names; null when it answered an error.
  HWND Maker(const std::string& verb, const std::string& caption, const std::string& rest = "");
  // A winmaker window painted in `color` (0x00BBGGRR, as a screenshot pixel reads it).
  HWND Open(const std::string& caption, const RECT& r, uint32_t color);
  // A window taken on by the running program, so it belongs to the open desktop: opened left of
  // the screen and brought to the front, the program brings it to (0,0); then moved to `place`.
  HWND OpenManaged(const std::string& caption, const RECT& place, uint32_t color);

  // Saves the screen as "<suite>.<test>-<step>.png" once it has stopped changing (what Wine
  // draws reaches the screen a moment after the call, piece by piece).
  void Shot(const std::string& step);
  // Captures the screen until `check` accepts it or the time is up and saves the last capture;
  // true when the check passed.
  bool ShotUntil(const std::string& step, const std::function<bool(const vdtools::Image&)>& check,
                 DWORD timeoutMs = kWaitMs);

  std::string ScratchFile(const std::string& name) const { return scratch_ + "\\" + name; }

 private:
  void Save(const vdtools::Image& image, const std::string& step);

  std::string scratch_;
  std::deque<ChildProcess> processes_;  // a deque: references stay valid as it grows
  ChildProcess* vuedeck_ = nullptr;
  HWND pager_ = nullptr;
  ChildProcess maker_;
};

}  // namespace vde2e
