// winmaker.exe: makes real top-level windows of its own process on command, for the end-to-end
// tests and the benchmark. It reads one command a line from standard input and writes one answer
// a line to standard output:
//
//   open CAPTION X Y W H [color 0xBBGGRR] [owner CAPTION]
//                        a window (window rectangle, screen pixels), shown; with an owner, a
//                        window that the other one owns, as a dialog is owned by its main window
//   close CAPTION        asks the window to close (WM_CLOSE) and waits until it is gone
//   front CAPTION        makes it the foreground window
//   move CAPTION X Y W H moves and sizes it
//   hide CAPTION         ShowWindow(SW_HIDE)
//   title CAPTION NEW    renames it (SetWindowTextW on its own thread, as an application renames
//                        its window); later commands name it NEW
//   hang CAPTION MS      its thread stops pumping messages for MS milliseconds
//   quit                 closes every window and ends; so does the end of input
//
// The answer is "ok HWND" (the window's handle in decimal; "ok 0" for quit) or "err REASON".
// A caption with blanks is written in double quotes (\" and \\ inside them stand for " and \);
// captions are UTF-8, in any script, and the windows are Unicode windows.
// Every window fills itself with its colour and runs on its own thread, so a hung window stalls
// no other.
#include <windows.h>

#include <cstdint>
#include <functional>
#include <iomanip>
#include <iostream>
#include <map>
#include <sstream>
#include <string>

#include "platform/win32/WideText.h"

namespace {

constexpr UINT kHang = WM_APP + 1;  // wParam: milliseconds
constexpr UINT kRun = WM_APP + 2;   // lParam: a Job, run on the window's thread
using Job = std::function<bool()>;
const wchar_t kClassName[] = L"VdWinMakerWindow";

struct Window {
  HWND hwnd;
  HANDLE thread;
};
std::map<std::string, Window> g_windows;

struct WindowStart {
  std::string caption;
  long x, y, w, h;
  COLORREF color;
  HWND owner;
  HANDLE ready;  // set by the window's thread once it is done with this
  HWND hwnd;
};

LRESULT CALLBACK WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) noexcept {
  switch (msg) {
    case WM_ERASEBKGND:
      return 1;
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(hwnd, &ps);
      SetDCBrushColor(dc, static_cast<COLORREF>(GetWindowLongPtrA(hwnd, GWLP_USERDATA)));
      FillRect(dc, &ps.rcPaint, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
      EndPaint(hwnd, &ps);
      return 0;
    }
    case kHang:
      Sleep(static_cast<DWORD>(wParam));
      return 0;
    case kRun:
      return (*reinterpret_cast<const Job*>(lParam))() ? 1 : 0;
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
  }
  return DefWindowProcW(hwnd, msg, wParam, lParam);
}

DWORD WINAPI WindowThread(void* param) {
  WindowStart& s = *static_cast<WindowStart*>(param);
  HWND hwnd =
      CreateWindowExW(0, kClassName, vd::win32::Widen(s.caption).c_str(), WS_OVERLAPPEDWINDOW, s.x,
                      s.y, s.w, s.h, s.owner, nullptr, GetModuleHandleW(nullptr), nullptr);
  if (hwnd) {
    SetWindowLongPtrA(hwnd, GWLP_USERDATA, static_cast<LONG_PTR>(s.color));
    ShowWindow(hwnd, SW_SHOW);
    UpdateWindow(hwnd);
  }
  s.hwnd = hwnd;
  SetEvent(s.ready);
  MSG msg;
  while (hwnd && GetMessageW(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  return 0;
}

std::string Ok(HWND hwnd) { return "ok " + std::to_string(reinterpret_cast<intptr_t>(hwnd)); }

std::string Open(WindowStart s) {
  s.ready = CreateEventA(nullptr, TRUE, FALSE, nullptr);
  HANDLE thread = CreateThread(nullptr, 0, WindowThread, &s, 0, nullptr);
  if (thread) WaitForSingleObject(s.ready, INFINITE);
  CloseHandle(s.ready);
  if (!thread || !s.hwnd) {
    if (thread) CloseHandle(thread);  // it ends by itself without a window
    return "err CreateWindowEx failed";
  }
  g_windows[s.caption] = Window{s.hwnd, thread};
  return Ok(s.hwnd);
}

bool Close(std::map<std::string, Window>::iterator it) {
  PostMessageA(it->second.hwnd, WM_CLOSE, 0, 0);
  if (WaitForSingleObject(it->second.thread, 10000) != WAIT_OBJECT_0) return false;
  CloseHandle(it->second.thread);
  g_windows.erase(it);
  return true;
}

// Runs `job` on the window's own thread; "err busy" when the window does not answer in time.
std::string OnItsThread(HWND hwnd, const Job& job, const char* failure = "") {
  DWORD_PTR done = 0;
  if (!SendMessageTimeoutA(hwnd, kRun, 0, reinterpret_cast<LPARAM>(&job), SMTO_NORMAL, 5000,
                           &done)) {
    return "err busy";
  }
  return done ? Ok(hwnd) : std::string("err ") + failure;
}

std::string Run(const std::string& verb, std::istream& in) {
  WindowStart s{};
  in >> std::quoted(s.caption);
  const auto it = g_windows.find(s.caption);
  if (verb == "open") {
    std::string option;
    s.color = RGB(0, 128, 255);
    if (!(in >> s.x >> s.y >> s.w >> s.h))
      return "err usage: open CAPTION X Y W H [color 0xBBGGRR] [owner CAPTION]";
    for (std::string owner; in >> option;) {
      if (option == "color" && in >> s.color) continue;
      if (option != "owner" || !(in >> std::quoted(owner)) || !g_windows.count(owner)) {
        return "err bad option " + option;
      }
      s.owner = g_windows[owner].hwnd;
    }
    return it == g_windows.end() ? Open(s) : "err a window with that caption exists";
  }
  if (it == g_windows.end()) return "err no window " + s.caption;
  HWND hwnd = it->second.hwnd;
  if (verb == "close") return Close(it) ? Ok(hwnd) : "err busy";
  if (verb == "front") {
    return OnItsThread(
        hwnd, [&] { return SetForegroundWindow(hwnd), GetForegroundWindow() == hwnd; },
        "not foreground");
  }
  if (verb == "move" && in >> s.x >> s.y >> s.w >> s.h) {
    return OnItsThread(hwnd, [&] { return MoveWindow(hwnd, s.x, s.y, s.w, s.h, TRUE), true; });
  }
  if (verb == "hide") return OnItsThread(hwnd, [&] { return ShowWindow(hwnd, SW_HIDE), true; });
  if (std::string name; verb == "title" && in >> std::quoted(name)) {
    if (g_windows.count(name)) return "err a window with that caption exists";
    const std::string answer = OnItsThread(
        hwnd, [&] { return SetWindowTextW(hwnd, vd::win32::Widen(name).c_str()) != 0; },
        "SetWindowTextW failed");
    if (answer.rfind("ok", 0) == 0) g_windows[name] = g_windows.extract(it).mapped();
    return answer;
  }
  long ms = -1;
  if (verb == "hang" && in >> ms && ms >= 0) {
    PostMessageA(hwnd, kHang, static_cast<WPARAM>(ms), 0);
    return Ok(hwnd);
  }
  return "err bad command: " + verb + " CAPTION ...";
}

}  // namespace

int main() {
  WNDCLASSW wc{};
  wc.lpfnWndProc = WindowProc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
  wc.lpszClassName = kClassName;
  if (!RegisterClassW(&wc)) return 1;
  // Numbers may be written in decimal or, with 0x, in hexadecimal.
  for (std::string line, verb; std::getline(std::cin, line);) {
    std::istringstream in(line);
    if (!(in >> std::setbase(0) >> verb)) continue;
    std::cout << (verb == "quit" ? "ok 0" : Run(verb, in)) << std::endl;
    if (verb == "quit") break;
  }
  for (auto it = g_windows.begin(); it != g_windows.end();) Close(it++);
  return 0;
}
