// The end-to-end tests' fixture and tools (see README.md).
#pragma once

#include <gtest/gtest.h>
#include <windows.h>

#include <deque>
#include <functional>
#include <initializer_list>
#include <optional>
#include <string>
#include <vector>

#include "ScreenShot.h"

namespace vde2e {

class ChildProcess {
 public:
  // Starts `exe` in `folder`; with `pipes`, its standard input and output are pipes to us.
  ChildProcess(const std::string& exe, const std::string& folder, bool pipes = false);
  ChildProcess(const ChildProcess&) = delete;
  ChildProcess& operator=(const ChildProcess&) = delete;
  ~ChildProcess();
  DWORD Pid() const { return info_.dwProcessId; }
  bool WaitExit(DWORD ms) const {
    return info_.hProcess && WaitForSingleObject(info_.hProcess, ms) == WAIT_OBJECT_0;
  }
  bool Running() const { return info_.hProcess && !WaitExit(0); }
  void Kill() {  // as the task manager ends a program
    if (Running() && TerminateProcess(info_.hProcess, 1)) WaitExit(5000);
  }
  std::string Ask(const std::string& line);  // a line to its input; the line it answers

 private:
  PROCESS_INFORMATION info_{};
  HANDLE input_ = nullptr, output_ = nullptr;
};

constexpr DWORD kStartMs = 20000, kExitMs = 10000, kWaitMs = 5000;

bool WaitUntil(const std::function<bool()>& condition, DWORD timeoutMs = kWaitMs,
               DWORD pollMs = 20);
// Fails with their Facts unless in time every window is shown (or every one hidden), and every
// one of `others` the other way.
testing::AssertionResult WaitShown(std::initializer_list<HWND> windows, bool shown,
                                   std::initializer_list<HWND> others = {},
                                   DWORD timeoutMs = kWaitMs);
RECT RectOf(HWND hwnd);
bool At(HWND hwnd, const RECT& r);
bool Topmost(HWND hwnd);
int AlphaOf(HWND hwnd);  // 255 when the window is not layered with an alpha
std::string Facts(std::initializer_list<HWND> windows);  // their states, for failure messages
std::vector<HWND> WindowsOf(DWORD pid);                  // its shown top-level windows, in Z order
std::optional<std::string> ReadWholeFile(const std::string& path);

// Real input. Keys are pressed in order and released in reverse.
bool PressChord(std::initializer_list<WORD> keys);
inline bool Hotkey(int desktop) { return PressChord({VK_MENU, WORD('0' + desktop)}); }
POINT Middle(const RECT& r);
bool ClickAt(POINT p, bool rightButton = false);
bool ClickOn(HWND control);  // in its middle
bool Drag(POINT from, POINT to);
// Home, `keys`, then Enter unless the last key is Escape; true once the menu has closed.
bool ChooseFromMenu(std::initializer_list<WORD> keys);

struct Child {
  HWND hwnd;
  std::string className, text;
  RECT rect;
};
std::vector<Child> ChildrenOf(HWND root);  // its shown descendants
HWND ChildWith(HWND root, const char* className, const std::string& text);
std::vector<RECT> Cells(HWND pager);  // row by row
// The miniature in `cell` of a window at `window`; empty when none came within `waitMs`.
RECT MiniatureOf(HWND pager, const RECT& cell, const RECT& window, DWORD waitMs = kWaitMs);
bool ColorAround(const vdtools::Image& shot, POINT at, uint32_t color);

class E2eTest : public testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  void Set(const char* section, const char* key, const char* value);  // in settings.ini
  ChildProcess& Launch();  // the test's copy of vuedeck.exe, made at its first launch
  // Launch, and the pager, the first window it shows; `eachLook` runs before every look for it.
  HWND Start(const std::function<void()>& eachLook = {});
  ChildProcess& Vuedeck() { return *vuedeck_; }
  bool CloseAndWaitForExit(DWORD ms = kExitMs);  // as the task bar's Close does

  HWND Maker(const std::string& verb, const std::string& caption, const std::string& rest = "");
  HWND Open(const std::string& caption, const RECT& r, uint32_t color);
  // One the program takes on (so on the open desktop), then moved to `place`.
  HWND OpenManaged(const std::string& caption, const RECT& place, uint32_t color);

  // Saves "<Suite>.<Test>-<step>.png" once `check` passes (true then) or, without one, once the
  // screen has stopped changing.
  bool Shot(const std::string& step, const std::function<bool(const vdtools::Image&)>& check = {},
            DWORD timeoutMs = kWaitMs);
  std::string ScratchFile(const std::string& name) const { return scratch_ + "\\" + name; }

 private:
  std::string name_, scratch_;
  std::deque<ChildProcess> processes_;  // a deque: references stay valid as it grows
  ChildProcess* vuedeck_ = nullptr;
  HWND pager_ = nullptr;
  std::optional<ChildProcess> maker_;  // ended first, as members go in reverse order
};

}  // namespace vde2e
