// The end-to-end tests' fixture and tools. Each test gets a scratch folder with a copy of
// vuedeck.exe and its settings.ini; every process it starts is ended when it ends, failed or not
// (through a job object also when the test program dies). VD_EXE, VD_WINMAKER, VD_SHOTS and
// VD_SCRATCH say where things are (host paths are fine), else the folder of e2e_tests.exe.
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
  ChildProcess() = default;
  ChildProcess(const ChildProcess&) = delete;
  ChildProcess& operator=(const ChildProcess&) = delete;
  ~ChildProcess() { Kill(); }
  // Starts `exe` in `folder`; with `pipes`, its standard input and output are pipes to us.
  bool Start(const std::string& exe, const std::string& folder, bool pipes = false);
  DWORD Pid() const { return info_.dwProcessId; }
  bool WaitExit(DWORD ms) const {
    return info_.hProcess && WaitForSingleObject(info_.hProcess, ms) == WAIT_OBJECT_0;
  }
  bool Running() const { return info_.hProcess && !WaitExit(0); }
  void Kill();                               // as the task manager ends a program
  std::string Ask(const std::string& line);  // a line to its input; the line it answers

 private:
  PROCESS_INFORMATION info_{};
  HANDLE input_ = nullptr, output_ = nullptr;
};

constexpr DWORD kStartMs = 20000, kExitMs = 10000, kWaitMs = 5000;

// Polls `condition` until it holds (true) or `timeoutMs` passed.
bool WaitUntil(const std::function<bool()>& condition, DWORD timeoutMs = kWaitMs,
               DWORD pollMs = 20);
// Waits until every window is shown (or every one hidden); else fails with their Facts.
testing::AssertionResult WaitShown(std::initializer_list<HWND> windows, bool shown,
                                   DWORD timeoutMs = kWaitMs);
RECT RectOf(HWND hwnd);
bool At(HWND hwnd, const RECT& r);
bool Topmost(HWND hwnd);
int AlphaOf(HWND hwnd);  // 255 when the window is not layered with an alpha
std::string Facts(std::initializer_list<HWND> windows);  // their states, for failure messages
std::vector<HWND> WindowsOf(DWORD pid);  // the process's shown top-level windows, in Z order
// Read with every sharing flag: a reader without FILE_SHARE_DELETE makes the program's removal
// of the file fail.
std::optional<std::string> ReadWholeFile(const std::string& path);

// Real input (SendInput): keys pressed in order and released in reverse ({VK_MENU, '3'} is
// Alt+3); Alt+n is desktop n's hotkey in the tests' settings.
bool PressChord(std::initializer_list<WORD> keys);
inline bool Hotkey(int desktop) { return PressChord({VK_MENU, WORD('0' + desktop)}); }
POINT Middle(const RECT& r);
bool ClickAt(POINT p, bool rightButton = false);
bool ClickOn(HWND control);  // in its middle
bool Drag(POINT from, POINT to);
// Waits for a popup menu and works it from the keyboard: Home, `keys`, then Enter unless the
// last key is Escape. True once the menu has closed.
bool ChooseFromMenu(std::initializer_list<WORD> keys);

struct Child {
  HWND hwnd;
  std::string className, text;
  RECT rect;
  bool visible;
};
// Every descendant window of `root`: the one reader of the program's controls.
std::vector<Child> ChildrenOf(HWND root);
HWND ChildWith(HWND root, const char* className, const std::string& text);  // a visible one
std::vector<RECT> Cells(HWND pager);  // the desktops' cells, row by row
// The miniature in `cell` standing where a window at `window` stands on the screen, scaled
// (give or take two pixels); an empty rectangle when none came within `waitMs`.
RECT MiniatureOf(HWND pager, const RECT& cell, const RECT& window, DWORD waitMs = kWaitMs);
// Most of the 5 x 5 pixels around `at` have about the colour (0x00BBGGRR).
bool ColorAround(const vdtools::Image& shot, POINT at, uint32_t color);

class E2eTest : public testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  void Set(const char* section, const char* key, const char* value);  // in settings.ini
  // Starts the scratch copy of vuedeck.exe (`again`: the copy there, on the files the last run
  // left).
  ChildProcess& Launch(bool again = false);
  // Launches and waits for the pager, the first window the program shows (its start-up has run
  // by then), calling `eachLook` before every look for it; null when none showed.
  HWND Start(bool again = false, const std::function<void()>& eachLook = {});
  ChildProcess& Vuedeck() { return *vuedeck_; }
  HWND Pager() const { return pager_; }
  bool CloseAndWaitForExit(DWORD ms = kExitMs);  // as the task bar's Close does

  // A winmaker command, `verb` "`caption`" `rest`: the window its answer names, null on an error.
  HWND Maker(const std::string& verb, const std::string& caption, const std::string& rest = "");
  HWND Open(const std::string& caption, const RECT& r, uint32_t color);  // painted in 0x00BBGGRR
  // One the program takes on (so on the open desktop), then moved to `place`.
  HWND OpenManaged(const std::string& caption, const RECT& place, uint32_t color);

  // Saves the screen as "<Suite>.<Test>-<step>.png" once it has stopped changing, or once
  // `check` accepts it (true then).
  void Shot(const std::string& step);
  bool ShotUntil(const std::string& step, const std::function<bool(const vdtools::Image&)>& check,
                 DWORD timeoutMs = kWaitMs);
  std::string ScratchFile(const std::string& name) const { return scratch_ + "\\" + name; }

 private:
  std::string name_, scratch_;
  std::deque<ChildProcess> processes_;  // references stay valid as it grows
  ChildProcess* vuedeck_ = nullptr;
  HWND pager_ = nullptr;
  ChildProcess maker_;
};

}  // namespace vde2e
