// The end-to-end tests' fixture and tools (see README.md).
#pragma once

#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <cstdlib>
#include <cwchar>
#include <deque>
#include <filesystem>
#include <fstream>
#include <functional>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "ChildProcess.h"
#include "ScreenShot.h"
#include "platform/win32/WideText.h"

namespace vde2e {

constexpr DWORD kStartMs = 20000, kExitMs = 10000, kWaitMs = 5000;

inline bool WaitUntil(const std::function<bool()>& condition, DWORD timeoutMs = kWaitMs,
                      DWORD pollMs = 20) {
  for (const ULONGLONG deadline = GetTickCount64() + timeoutMs; !condition(); Sleep(pollMs)) {
    if (GetTickCount64() >= deadline) return false;
  }
  return true;
}

inline RECT RectOf(HWND hwnd) {
  RECT r{};
  GetWindowRect(hwnd, &r);
  return r;
}
inline bool At(HWND hwnd, const RECT& r) {
  const RECT now = RectOf(hwnd);
  return EqualRect(&now, &r);
}
inline bool Topmost(HWND hwnd) { return GetWindowLongA(hwnd, GWL_EXSTYLE) & WS_EX_TOPMOST; }

inline int AlphaOf(HWND hwnd) {  // 255 when the window is not layered with an alpha
  BYTE alpha = 255;
  DWORD flags = 0;
  GetLayeredWindowAttributes(hwnd, nullptr, &alpha, &flags);  // fails unless layered
  return flags & LWA_ALPHA ? alpha : 255;
}

inline std::string Facts(std::initializer_list<HWND> windows) {  // for failure messages
  std::ostringstream out;
  for (HWND w : windows) {
    char caption[64] = "";
    GetWindowTextA(w, caption, sizeof caption);
    const RECT r = RectOf(w);
    out << "\n  " << caption << (IsWindowVisible(w) ? " shown " : " hidden ") << r.left << ","
        << r.top << "-" << r.right << "," << r.bottom << " exstyle " << std::hex
        << GetWindowLongA(w, GWL_EXSTYLE) << std::dec << " alpha " << AlphaOf(w);
  }
  return out.str();
}

// Fails with their Facts unless in time every window is shown (or every one hidden), and every
// one of `others` the other way.
inline testing::AssertionResult WaitShown(std::initializer_list<HWND> windows, bool shown,
                                          std::initializer_list<HWND> others = {},
                                          DWORD timeoutMs = kWaitMs) {
  const auto all = [&](std::initializer_list<HWND> list, bool visible) {
    return std::all_of(list.begin(), list.end(),
                       [&](HWND w) { return (IsWindowVisible(w) != FALSE) == visible; });
  };
  return WaitUntil([&] { return all(windows, shown) && all(others, !shown); }, timeoutMs, 10)
             ? testing::AssertionSuccess()
             : testing::AssertionFailure() << Facts(windows) << Facts(others);
}

inline std::vector<HWND> WindowsOf(DWORD pid) {  // its shown top-level windows, in Z order
  std::vector<HWND> found;
  for (HWND w = GetTopWindow(nullptr); w; w = GetWindow(w, GW_HWNDNEXT)) {
    DWORD owner = 0;
    GetWindowThreadProcessId(w, &owner);
    if (owner == pid && IsWindowVisible(w)) found.push_back(w);
  }
  return found;
}

// With every sharing flag: a reader without FILE_SHARE_DELETE makes the program's removal fail.
inline std::optional<std::string> ReadWholeFile(const std::string& path) {
  HANDLE file = CreateFileA(path.c_str(), GENERIC_READ,
                            FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                            OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return std::nullopt;
  std::string bytes(GetFileSize(file, nullptr), '\0');
  DWORD got = 0;
  ReadFile(file, bytes.data(), bytes.size(), &got, nullptr);
  CloseHandle(file);
  return bytes.substr(0, got);
}

// Real input. Keys are pressed in order and released in reverse.
inline bool PressChord(std::initializer_list<WORD> keys) {
  std::vector<INPUT> events(2 * keys.size(), INPUT{INPUT_KEYBOARD, {}});
  for (size_t i = 0; i < events.size(); ++i) {
    const bool up = i >= keys.size();
    events[i].ki.wVk = keys.begin()[up ? events.size() - 1 - i : i];
    events[i].ki.wScan = static_cast<WORD>(MapVirtualKeyA(events[i].ki.wVk, MAPVK_VK_TO_VSC));
    events[i].ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
  }
  return SendInput(events.size(), events.data(), sizeof(INPUT)) == events.size();
}

// Characters typed as an input method types them: each UTF-16 unit a key of its own.
inline bool TypeUnicode(const std::wstring& text) {
  std::vector<INPUT> events;
  for (wchar_t unit : text) {
    for (DWORD up : {DWORD(0), DWORD(KEYEVENTF_KEYUP)}) {
      events.push_back(INPUT{INPUT_KEYBOARD, {}});
      events.back().ki.wScan = unit;
      events.back().ki.dwFlags = KEYEVENTF_UNICODE | up;
    }
  }
  return SendInput(events.size(), events.data(), sizeof(INPUT)) == events.size();
}

inline bool Hotkey(int desktop) { return PressChord({VK_MENU, WORD('0' + desktop)}); }
inline bool Mouse(DWORD flags) {  // MOUSEEVENTF_MOVE by no distance: an event where it is
  INPUT in{INPUT_MOUSE, {}};
  in.mi.dwFlags = flags;
  return SendInput(1, &in, sizeof in) == 1;
}

// Puts the pointer at `p` until it stays there for `polls` looks in a row (under Wine the X
// server's echo of an earlier move can put it back), then a move event for the window under it.
inline bool PointerTo(POINT p, int polls = 5) {
  int steady = 0;
  const auto there = [&] {
    POINT now{};
    GetCursorPos(&now);
    steady = now.x == p.x && now.y == p.y ? steady + 1 : 0;
    if (!steady) SetCursorPos(p.x, p.y);
    return steady >= polls;
  };
  return WaitUntil(there, 3000) && Mouse(MOUSEEVENTF_MOVE);
}

inline POINT Middle(const RECT& r) { return {(r.left + r.right) / 2, (r.top + r.bottom) / 2}; }
inline bool ClickAt(POINT p, bool rightButton = false) {
  return PointerTo(p) && Mouse(rightButton ? MOUSEEVENTF_RIGHTDOWN : MOUSEEVENTF_LEFTDOWN) &&
         Mouse(rightButton ? MOUSEEVENTF_RIGHTUP : MOUSEEVENTF_LEFTUP);
}
inline bool ClickOn(HWND control) { return control && ClickAt(Middle(RectOf(control))); }

// Home, `keys`, then Enter; true once the menu has closed.
inline bool ChooseFromMenu(std::vector<WORD> keys) {
  auto menuShown = [] { return IsWindowVisible(FindWindowA("#32768", nullptr)) != FALSE; };
  if (!WaitUntil(menuShown)) return false;
  keys.insert(keys.begin(), VK_HOME);
  keys.push_back(VK_RETURN);
  for (WORD key : keys) {  // the menu's own loop takes the keyboard once it is up, a key at a time
    Sleep(key == VK_HOME ? 100 : 40);
    if (!PressChord({key})) return false;
  }
  return WaitUntil([&] { return !menuShown(); });
}

// A window's text as UTF-8, read with the wide call (another process's edit field answers only
// WM_GETTEXT).
inline std::string TextOf(HWND w) {
  wchar_t text[256] = L"";
  SendMessageTimeoutW(w, WM_GETTEXT, 256, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG, 2000,
                      nullptr);
  return vd::win32::Narrow(text, wcslen(text));
}

// The tip a process shows now (its shown tip window's text), or "".
inline std::string TipOf(DWORD pid) {
  for (HWND w : WindowsOf(pid)) {
    wchar_t name[64] = L"";
    GetClassNameW(w, name, 64);
    if (_wcsicmp(name, L"tooltips_class32") == 0) return TextOf(w);
  }
  return "";
}

// The program's shown controls, read from outside.
struct Child {
  HWND hwnd;
  std::string className, text;
  RECT rect;
  bool Blank() const { return text.empty() && _stricmp(className.c_str(), "VuedeckControl") == 0; }
};

inline std::vector<Child> ChildrenOf(HWND root) {  // its shown descendants, row by row
  std::vector<Child> children;
  EnumChildWindows(
      root,
      [](HWND w, LPARAM out) noexcept -> BOOL {
        if (!IsWindowVisible(w)) return TRUE;
        char name[64] = "";
        GetClassNameA(w, name, sizeof name);
        reinterpret_cast<std::vector<Child>*>(out)->push_back({w, name, TextOf(w), RectOf(w)});
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&children));
  std::sort(children.begin(), children.end(), [](const Child& a, const Child& b) {
    return std::pair(a.rect.top, a.rect.left) < std::pair(b.rect.top, b.rect.left);
  });
  return children;
}

inline HWND ChildWith(HWND root, const char* className, const std::string& text) {
  for (const Child& c : ChildrenOf(root)) {
    if (_stricmp(c.className.c_str(), className) == 0 && c.text == text) return c.hwnd;
  }
  return nullptr;
}

// Row by row: the tallest blank controls (the title strip is lower, a miniature inside a cell is
// lower unless its window is as tall as the screen).
inline std::vector<RECT> Cells(HWND pager) {
  std::vector<RECT> cells;
  for (const Child& c : ChildrenOf(pager)) {
    const LONG height = c.rect.bottom - c.rect.top;
    const LONG tallest = cells.empty() ? 0 : cells[0].bottom - cells[0].top;
    if (!c.Blank() || height < tallest - 2) continue;
    if (height > tallest + 2) cells.clear();
    cells.push_back(c.rect);
  }
  return cells;
}

// The miniature in `cell` of a window at `window`; empty when none came within `waitMs`.
inline RECT MiniatureOf(HWND pager, const RECT& cell, const RECT& window, DWORD waitMs = kWaitMs) {
  const double across = (cell.right - cell.left) / double(GetSystemMetrics(SM_CXSCREEN));
  const double down = (cell.bottom - cell.top) / double(GetSystemMetrics(SM_CYSCREEN));
  RECT found{};
  const auto seen = [&] {
    for (const Child& c : ChildrenOf(pager)) {
      if (c.Blank() && !EqualRect(&c.rect, &cell) &&
          std::abs(c.rect.left - cell.left - window.left * across) <= 2 &&
          std::abs(c.rect.top - cell.top - window.top * down) <= 2) {
        found = c.rect;
      }
    }
    return !IsRectEmpty(&found);
  };
  WaitUntil(seen, waitMs);
  return found;
}

// Each of the 3 x 3 pixels around `at` near `color`, channel by channel.
inline bool ColorAround(const vdtools::Image& shot, POINT at, uint32_t color) {
  for (int i = 0; i < 9; ++i) {
    const uint32_t c = shot.ColorAt(at.x + i % 3 - 1, at.y + i / 3 - 1);
    for (int shift : {0, 8, 16}) {
      if (std::abs(int(c >> shift & 0xFF) - int(color >> shift & 0xFF)) > 40) return false;
    }
  }
  return true;
}

// The screen around `r`, `margin` pixels more each way.
inline vdtools::Image Cropped(const vdtools::Image& screen, const RECT& r, int margin) {
  vdtools::Image crop;
  const int left = std::max(0, int(r.left) - margin), top = std::max(0, int(r.top) - margin);
  crop.width = std::min(screen.width, int(r.right) + margin) - left;
  crop.height = std::min(screen.height, int(r.bottom) + margin) - top;
  if (crop.width <= 0 || crop.height <= 0) return {};
  for (int y = top; y < top + crop.height; ++y) {
    const auto row = screen.rgb.begin() + 3 * (size_t(y) * screen.width + left);
    crop.rgb.insert(crop.rgb.end(), row, row + 3 * crop.width);
  }
  return crop;
}

inline std::string Configured(const char* variable) {  // a path run.sh hands over, for Windows
  const char* value = std::getenv(variable);
  return vdtools::HostPathToWindows(value ? value : "");
}

inline std::string Geometry(const RECT& r) {  // as winmaker reads it: "X Y W H"
  return std::to_string(r.left) + " " + std::to_string(r.top) + " " +
         std::to_string(r.right - r.left) + " " + std::to_string(r.bottom - r.top);
}

// Whether a copy of the program holds its single-instance mutex (named after the user).
inline bool InstanceRunning() {
  wchar_t user[257] = L"user";
  DWORD length = std::size(user);
  if (!GetUserNameW(user, &length)) std::wcscpy(user, L"user");
  std::wstring name = std::wstring(L"Local\\VuedeckSingleInstance-") + user;
  std::replace(name.begin() + 6, name.end(), L'\\', L'_');
  HANDLE mutex = OpenMutexW(SYNCHRONIZE, FALSE, name.c_str());
  if (mutex) CloseHandle(mutex);
  return mutex != nullptr;
}

class E2eTest : public testing::Test {
 protected:
  void SetUp() override {
    const auto* info = testing::UnitTest::GetInstance()->current_test_info();
    name_ = std::string(info->test_suite_name()) + "." + info->name();
    scratch_ = Configured("VD_SCRATCH") + "\\" + name_;
    std::filesystem::remove_all(scratch_);
    std::filesystem::create_directories(scratch_);
    // A pager a quarter of the screen wide and high, 600,100 from the screen's corner (in
    // twips), in these colours, with no previews; the rest as built in: 3 x 2 desktops, Alt+n
    // opens desktop n, Ctrl+F12 hides and unhides the pager, the panic key Ctrl+F11 is off.
    std::ofstream(ScratchFile("settings.ini"), std::ios::binary)
        << "[SETUP]\r\nwidth=25\r\nheight=25\r\nleft=9000\r\ntop=1500\r\npreview=0\r\n"
           "color_normal=8404992\r\ncolor_hover=16744448\r\ncolor_selected=32768\r\n"
           "color_box=65535\r\n";
    // A copy of the program a test before ended by force may still be going away: while it
    // holds the single-instance mutex, a new copy would end at once.
    WaitUntil([] { return !InstanceRunning(); }, kExitMs);
    // The pointer waits in the bottom-right corner, where it hides nothing a test looks at.
    SetCursorPos(GetSystemMetrics(SM_CXSCREEN) - 1, GetSystemMetrics(SM_CYSCREEN) - 1);
    maker_.emplace(Configured("VD_WINMAKER"), scratch_, true);
  }
  void TearDown() override {
    if (HasFailure()) Shot("failed", [](const vdtools::Image&) { return true; });
  }

  void Set(const char* section, const char* key, const char* value) {  // in settings.ini
    ASSERT_TRUE(
        WritePrivateProfileStringA(section, key, value, ScratchFile("settings.ini").c_str()));
  }
  ChildProcess& Launch() {  // the test's copy of vuedeck.exe, made at its first launch
    const std::string copy = ScratchFile("vuedeck.exe"), exe = Configured("VD_EXE");
    EXPECT_TRUE(!processes_.empty() || CopyFileA(exe.c_str(), copy.c_str(), FALSE)) << exe;
    EXPECT_TRUE(processes_.emplace_back(copy, scratch_).Running());
    return processes_.back();
  }
  // Launch, and the pager, the first window it shows; `eachLook` runs before every look for it.
  HWND Start(const std::function<void()>& eachLook = {}) {
    vuedeck_ = &Launch();
    const auto shown = [&] {
      if (eachLook) eachLook();
      const std::vector<HWND> windows = WindowsOf(vuedeck_->Pid());
      pager_ = windows.empty() ? nullptr : windows.front();
      return pager_ || !vuedeck_->Running();
    };
    WaitUntil(shown, kStartMs, eachLook ? 1 : 5);
    return pager_;
  }
  ChildProcess& Vuedeck() { return *vuedeck_; }
  bool CloseAndWaitForExit(DWORD ms = kExitMs) {  // as the task bar's Close does
    return PostMessageA(pager_, WM_CLOSE, 0, 0) && vuedeck_->WaitExit(ms);
  }

  HWND Maker(const std::string& verb, const std::string& caption, const std::string& rest = "") {
    const std::string answer = maker_->Ask(verb + " \"" + caption + "\" " + rest);
    return answer.rfind("ok ", 0) ? nullptr : reinterpret_cast<HWND>(std::stoll(answer.substr(3)));
  }
  HWND Open(const std::string& caption, const RECT& r, uint32_t color) {
    return Maker("open", caption, Geometry(r) + " color " + std::to_string(color));
  }
  // One the program takes on (so on the open desktop: opened left of the screen and brought to
  // the front, it is brought to 0,0), then moved to `place`.
  HWND OpenManaged(const std::string& caption, const RECT& place, uint32_t color) {
    const RECT corner{0, 0, place.right - place.left, place.bottom - place.top};
    HWND hwnd = Open(caption, {-2000, 200, -2000 + corner.right, 200 + corner.bottom}, color);
    const bool taken =
        hwnd && Maker("front", caption) && WaitUntil([&] { return At(hwnd, corner); });
    EXPECT_TRUE(taken) << caption << " was not taken on:" << Facts({hwnd});
    return taken && Maker("move", caption, Geometry(place)) ? hwnd : nullptr;
  }

  // Saves "<Suite>.<Test>-<step>.png" once `check` passes (true then) or, without one, once the
  // screen has stopped changing: what Wine draws reaches it a moment after, piece by piece.
  bool Shot(const std::string& step, const std::function<bool(const vdtools::Image&)>& check = {}) {
    vdtools::Image image;
    std::vector<uint8_t> previous;
    int same = 0;
    const auto ready = [&] {
      if (!vdtools::CaptureScreen(image)) return false;
      same = image.rgb == previous ? same + 1 : 0;
      previous = image.rgb;
      return check ? check(image) : same >= 3;
    };
    const bool passed = WaitUntil(ready, kWaitMs, 50);
    const std::string path = Configured("VD_SHOTS") + "\\" + name_ + "-" + step + ".png";
    EXPECT_TRUE(image.width && vdtools::SavePng(image, path))
        << "the screen was not saved: " << path;
    return passed;
  }
  std::string ScratchFile(const std::string& name) const { return scratch_ + "\\" + name; }
  // Once the screen has stopped changing, the window and 8 pixels around it as "NAME.png" (the
  // pictures of README.md).
  void ShotOf(HWND window, const std::string& name) {
    vdtools::Image screen;
    if (Shot(name) && vdtools::CaptureScreen(screen)) {
      vdtools::SavePng(Cropped(screen, RectOf(window), 8),
                       Configured("VD_SHOTS") + "\\" + name + ".png");
    }
  }

 private:
  std::string name_, scratch_;
  std::deque<ChildProcess> processes_;  // a deque: references stay valid as it grows
  ChildProcess* vuedeck_ = nullptr;
  HWND pager_ = nullptr;
  std::optional<ChildProcess> maker_;  // ended first, as members go in reverse order
};

}  // namespace vde2e
