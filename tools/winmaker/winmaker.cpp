// winmaker.exe: makes real top-level windows on command, for the end-to-end tests, and answers
// with their handles. It reads one command a line from standard input and writes one answer a
// line to standard output:
//
//   open CAPTION X Y W H [color 0xBBGGRR] [style normal|noborder|hidden|tool] [topmost] [alpha N]
//   close CAPTION        asks the window to close (WM_CLOSE) and waits until it is gone
//   front CAPTION        makes it the foreground window
//   caption OLD NEW      changes its caption
//   move CAPTION X Y W H moves and sizes it (window rectangle, screen pixels)
//   show CAPTION         ShowWindow(SW_SHOW)
//   hide CAPTION         ShowWindow(SW_HIDE)
//   hang CAPTION MS      its thread stops pumping messages for MS milliseconds
//   quit                 closes every window and ends
//
// The answer is "ok HWND" (the window's handle in decimal; "ok 0" for quit) or "err REASON".
// A caption with blanks is written in double quotes. Every window fills itself with its colour
// and runs on its own thread, so a hung window stalls no other. End of input ends the program
// too, so it never outlives the test that drives it.
#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>
#include <vector>

namespace {

constexpr UINT kHang = WM_APP + 1;     // wParam: milliseconds
constexpr UINT kFront = WM_APP + 2;    // returns 1 when the window became the foreground one
constexpr UINT kMove = WM_APP + 3;     // lParam: const RECT* (left, top, width, height)
constexpr UINT kShow = WM_APP + 4;     // wParam: SW_ command
constexpr UINT kCaption = WM_APP + 5;  // lParam: const char*
constexpr DWORD kCallTimeoutMs = 5000;
constexpr DWORD kCloseTimeoutMs = 10000;
const char kClassName[] = "VdWinMakerWindow";

struct WindowStart {
  std::string caption;
  int x = 0, y = 0, w = 0, h = 0;
  COLORREF color = RGB(0, 128, 255);
  DWORD style = WS_OVERLAPPEDWINDOW;
  DWORD exStyle = 0;
  bool show = true;
  int alpha = -1;
  HANDLE ready = nullptr;
  HWND hwnd = nullptr;  // set by the window's thread before `ready` is signalled
};

struct Managed {
  HWND hwnd;
  HANDLE thread;
};

std::map<std::string, Managed> g_windows;

void Answer(const std::string& line) {
  std::string text = line + "\n";
  DWORD written = 0;
  WriteFile(GetStdHandle(STD_OUTPUT_HANDLE), text.data(), static_cast<DWORD>(text.size()), &written,
            nullptr);
}

std::string Ok(HWND hwnd) {
  return "ok " + std::to_string(static_cast<long long>(reinterpret_cast<intptr_t>(hwnd)));
}

LRESULT CALLBACK WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) noexcept {
  switch (msg) {
    case WM_ERASEBKGND:
      return 1;
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(hwnd, &ps);
      RECT client;
      GetClientRect(hwnd, &client);
      HBRUSH brush =
          CreateSolidBrush(static_cast<COLORREF>(GetWindowLongPtrA(hwnd, GWLP_USERDATA)));
      FillRect(dc, &client, brush);
      DeleteObject(brush);
      EndPaint(hwnd, &ps);
      return 0;
    }
    case kHang:
      Sleep(static_cast<DWORD>(wParam));
      return 0;
    case kFront:
      SetForegroundWindow(hwnd);
      return GetForegroundWindow() == hwnd ? 1 : 0;
    case kMove: {
      const RECT* r = reinterpret_cast<const RECT*>(lParam);
      return MoveWindow(hwnd, r->left, r->top, r->right, r->bottom, TRUE) ? 1 : 0;
    }
    case kShow:
      ShowWindow(hwnd, static_cast<int>(wParam));
      return 1;
    case kCaption:
      return SetWindowTextA(hwnd, reinterpret_cast<const char*>(lParam)) ? 1 : 0;
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
    default:
      return DefWindowProcA(hwnd, msg, wParam, lParam);
  }
}

DWORD WINAPI WindowThread(void* param) {
  WindowStart* start = static_cast<WindowStart*>(param);
  HWND hwnd = CreateWindowExA(start->exStyle, kClassName, start->caption.c_str(), start->style,
                              start->x, start->y, start->w, start->h, nullptr, nullptr,
                              GetModuleHandleA(nullptr), nullptr);
  if (hwnd) {
    SetWindowLongPtrA(hwnd, GWLP_USERDATA, static_cast<LONG_PTR>(start->color));
    if (start->alpha >= 0)
      SetLayeredWindowAttributes(hwnd, 0, static_cast<BYTE>(start->alpha), LWA_ALPHA);
    if (start->show) {
      ShowWindow(hwnd, SW_SHOW);
      UpdateWindow(hwnd);
    }
  }
  start->hwnd = hwnd;
  SetEvent(start->ready);  // `start` belongs to the caller from here on
  if (!hwnd) return 1;
  MSG msg;
  while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  return 0;
}

// Splits a command line at blanks; "double quoted" words may hold blanks, and \" and \\ inside
// quotes stand for " and \.
std::vector<std::string> Words(const std::string& line) {
  std::vector<std::string> words;
  size_t i = 0;
  while (i < line.size()) {
    while (i < line.size() && (line[i] == ' ' || line[i] == '\t')) ++i;
    if (i >= line.size()) break;
    std::string word;
    if (line[i] == '"') {
      ++i;
      while (i < line.size() && line[i] != '"') {
        if (line[i] == '\\' && i + 1 < line.size()) ++i;
        word += line[i++];
      }
      ++i;  // the closing quote
    } else {
      while (i < line.size() && line[i] != ' ' && line[i] != '\t') word += line[i++];
    }
    words.push_back(word);
  }
  return words;
}

bool ToInt(const std::string& text, long& value) {
  if (text.empty()) return false;
  char* end = nullptr;
  value = std::strtol(text.c_str(), &end, 0);
  return *end == '\0';
}

std::string Open(const std::vector<std::string>& w) {
  if (w.size() < 6) return "err usage: open CAPTION X Y W H [options]";
  if (g_windows.count(w[1])) return "err a window with that caption exists";
  WindowStart start;
  start.caption = w[1];
  long n[4];
  for (int i = 0; i < 4; ++i) {
    if (!ToInt(w[2 + i], n[i])) return "err bad number " + w[2 + i];
  }
  start.x = n[0], start.y = n[1], start.w = n[2], start.h = n[3];
  for (size_t i = 6; i < w.size(); ++i) {
    long v = 0;
    if (w[i] == "color" && i + 1 < w.size() && ToInt(w[i + 1], v)) {
      start.color = static_cast<COLORREF>(v);
      ++i;
    } else if (w[i] == "alpha" && i + 1 < w.size() && ToInt(w[i + 1], v) && v >= 0 && v <= 255) {
      start.alpha = static_cast<int>(v);
      start.exStyle |= WS_EX_LAYERED;
      ++i;
    } else if (w[i] == "topmost") {
      start.exStyle |= WS_EX_TOPMOST;
    } else if (w[i] == "style" && i + 1 < w.size()) {
      const std::string& s = w[++i];
      if (s == "normal") {
        start.style = WS_OVERLAPPEDWINDOW;
      } else if (s == "noborder") {
        start.style = WS_POPUP;
      } else if (s == "hidden") {
        start.style = WS_OVERLAPPEDWINDOW;
        start.show = false;
      } else if (s == "tool") {
        start.exStyle |= WS_EX_TOOLWINDOW;
      } else {
        return "err unknown style " + s;
      }
    } else {
      return "err unknown option " + w[i];
    }
  }
  start.ready = CreateEventA(nullptr, TRUE, FALSE, nullptr);
  HANDLE thread = CreateThread(nullptr, 0, WindowThread, &start, 0, nullptr);
  if (!thread) {
    CloseHandle(start.ready);
    return "err no thread";
  }
  // The thread only touches `start` before it signals, so waiting without a limit is safe.
  WaitForSingleObject(start.ready, INFINITE);
  CloseHandle(start.ready);
  if (!start.hwnd) {
    WaitForSingleObject(thread, INFINITE);
    CloseHandle(thread);
    return "err CreateWindowEx failed";
  }
  g_windows[start.caption] = Managed{start.hwnd, thread};
  return Ok(start.hwnd);
}

// Runs a request on the window's own thread; false when it does not answer in time.
bool Call(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, DWORD_PTR& result) {
  return SendMessageTimeoutA(hwnd, msg, wParam, lParam, SMTO_NORMAL, kCallTimeoutMs, &result) != 0;
}

bool Close(const std::string& caption) {
  auto it = g_windows.find(caption);
  PostMessageA(it->second.hwnd, WM_CLOSE, 0, 0);
  if (WaitForSingleObject(it->second.thread, kCloseTimeoutMs) != WAIT_OBJECT_0) return false;
  CloseHandle(it->second.thread);
  g_windows.erase(it);
  return true;
}

std::string Run(const std::vector<std::string>& w) {
  const std::string& verb = w[0];
  if (verb == "open") return Open(w);
  if (verb == "quit") return "ok 0";
  if (w.size() < 2) return "err usage: " + verb + " CAPTION ...";
  auto it = g_windows.find(w[1]);
  if (it == g_windows.end()) return "err no window " + w[1];
  HWND hwnd = it->second.hwnd;
  DWORD_PTR result = 0;
  if (verb == "close") {
    return Close(w[1]) ? Ok(hwnd) : "err busy";
  }
  if (verb == "front") {
    if (!Call(hwnd, kFront, 0, 0, result)) return "err busy";
    return result ? Ok(hwnd) : "err not foreground";
  }
  if (verb == "caption" && w.size() == 3) {
    if (g_windows.count(w[2])) return "err a window with that caption exists";
    if (!Call(hwnd, kCaption, 0, reinterpret_cast<LPARAM>(w[2].c_str()), result)) return "err busy";
    Managed managed = it->second;
    g_windows.erase(it);
    g_windows[w[2]] = managed;
    return Ok(hwnd);
  }
  if (verb == "move" && w.size() == 6) {
    long n[4];
    for (int i = 0; i < 4; ++i) {
      if (!ToInt(w[2 + i], n[i])) return "err bad number " + w[2 + i];
    }
    RECT r{static_cast<LONG>(n[0]), static_cast<LONG>(n[1]), static_cast<LONG>(n[2]),
           static_cast<LONG>(n[3])};
    if (!Call(hwnd, kMove, 0, reinterpret_cast<LPARAM>(&r), result)) return "err busy";
    return Ok(hwnd);
  }
  if (verb == "show" || verb == "hide") {
    if (!Call(hwnd, kShow, verb == "show" ? SW_SHOW : SW_HIDE, 0, result)) return "err busy";
    return Ok(hwnd);
  }
  if (verb == "hang" && w.size() == 3) {
    long ms = 0;
    if (!ToInt(w[2], ms) || ms < 0) return "err bad number " + w[2];
    PostMessageA(hwnd, kHang, static_cast<WPARAM>(ms), 0);
    return Ok(hwnd);
  }
  return "err unknown command " + verb;
}

void CloseAll() {
  std::vector<std::string> captions;
  for (const auto& entry : g_windows) captions.push_back(entry.first);
  for (const auto& caption : captions) Close(caption);
}

}  // namespace

int main() {
  WNDCLASSA wc{};
  wc.lpfnWndProc = WindowProc;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
  wc.lpszClassName = kClassName;
  if (!RegisterClassA(&wc)) return 1;

  HANDLE input = GetStdHandle(STD_INPUT_HANDLE);
  std::string pending;
  char buffer[4096];
  for (;;) {
    size_t newline;
    while ((newline = pending.find('\n')) != std::string::npos) {
      std::string line = pending.substr(0, newline);
      pending.erase(0, newline + 1);
      if (!line.empty() && line.back() == '\r') line.pop_back();
      std::vector<std::string> words = Words(line);
      if (words.empty()) continue;
      Answer(Run(words));
      if (words[0] == "quit") {
        CloseAll();
        return 0;
      }
    }
    DWORD got = 0;
    if (!ReadFile(input, buffer, sizeof buffer, &got, nullptr) || got == 0) break;
    pending.append(buffer, got);
  }
  CloseAll();
  return 0;
}
