// bare_switch.exe: the least a desktop switch can cost, and the least an idle program costs.
// It shows one small window that never takes the focus, registers Ctrl+Alt+1 and Ctrl+Alt+2,
// and on either hotkey makes, in a plain loop, the calls a switch needs: ShowWindow(SW_HIDE)
// on every window of the other desktop, then ShowWindow(SW_SHOW) on every window of the
// chosen one. Otherwise it waits in GetMessage and does nothing at all.
//
//   bare_switch.exe [--sets FILE] [--tag WORD]
//
// FILE holds one line per desktop: its number, then the handles (decimal) of its windows, e.g.
// "1 65620 65622" and "2 65630". Without it the hotkeys change nothing. --tag is not read: it
// puts a word into the command line by which the benchmark finds this process among others.
// Standard output: "ready" once the window shows and the hotkeys are held (or "err REASON"),
// then "switch D MICROSECONDS" after each switch, the time the loop took.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

namespace {

std::map<int, std::vector<HWND>> g_desktops;

void Say(const std::string& line) {
  std::string text = line + "\n";
  DWORD written = 0;
  WriteFile(GetStdHandle(STD_OUTPUT_HANDLE), text.data(), static_cast<DWORD>(text.size()), &written,
            nullptr);
}

bool ReadSets(const char* path) {
  std::ifstream in(path);
  if (!in) return false;
  std::string line;
  while (std::getline(in, line)) {
    std::istringstream words(line);
    int desktop = 0;
    if (!(words >> desktop)) continue;
    std::vector<HWND>& windows = g_desktops[desktop];
    long long handle = 0;
    while (words >> handle)
      windows.push_back(reinterpret_cast<HWND>(static_cast<intptr_t>(handle)));
  }
  return true;
}

void Switch(int desktop) {
  LARGE_INTEGER frequency, start, end;
  QueryPerformanceFrequency(&frequency);
  QueryPerformanceCounter(&start);
  for (const auto& [number, windows] : g_desktops) {
    if (number == desktop) continue;
    for (HWND w : windows) ShowWindow(w, SW_HIDE);
  }
  auto it = g_desktops.find(desktop);
  if (it != g_desktops.end()) {
    for (HWND w : it->second) ShowWindow(w, SW_SHOW);
  }
  QueryPerformanceCounter(&end);
  const long long us = (end.QuadPart - start.QuadPart) * 1000000 / frequency.QuadPart;
  Say("switch " + std::to_string(desktop) + " " + std::to_string(us));
}

LRESULT CALLBACK WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) noexcept {
  switch (msg) {
    case WM_HOTKEY:
      Switch(static_cast<int>(wParam));
      return 0;
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(hwnd, &ps);
      RECT client;
      GetClientRect(hwnd, &client);
      FillRect(dc, &client, static_cast<HBRUSH>(GetStockObject(DKGRAY_BRUSH)));
      EndPaint(hwnd, &ps);
      return 0;
    }
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
    default:
      return DefWindowProcA(hwnd, msg, wParam, lParam);
  }
}

}  // namespace

int main(int argc, char** argv) {
  for (int i = 1; i + 1 < argc; i += 2) {
    if (std::strcmp(argv[i], "--sets") == 0 && !ReadSets(argv[i + 1])) {
      Say(std::string("err cannot read ") + argv[i + 1]);
      return 1;
    }
  }
  WNDCLASSA wc{};
  wc.lpfnWndProc = WindowProc;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
  wc.lpszClassName = "VdBareSwitch";
  if (!RegisterClassA(&wc)) {
    Say("err RegisterClass");
    return 1;
  }
  // A borderless tool window that is never activated: no desktop manager takes it for a
  // window of the user's, and it never takes the focus from one.
  HWND hwnd = CreateWindowExA(WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE | WS_EX_TOPMOST, wc.lpszClassName,
                              "bare switch", WS_POPUP, 0, GetSystemMetrics(SM_CYSCREEN) - 60, 100,
                              30, nullptr, nullptr, wc.hInstance, nullptr);
  if (!hwnd) {
    Say("err CreateWindowEx");
    return 1;
  }
  if (!RegisterHotKey(hwnd, 1, MOD_CONTROL | MOD_ALT, '1') ||
      !RegisterHotKey(hwnd, 2, MOD_CONTROL | MOD_ALT, '2')) {
    Say("err hotkeys Ctrl+Alt+1 and Ctrl+Alt+2 are taken");
    return 1;
  }
  ShowWindow(hwnd, SW_SHOWNA);
  UpdateWindow(hwnd);
  Say("ready");
  MSG msg;
  while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  return 0;
}
