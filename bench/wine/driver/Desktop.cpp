#include "Desktop.h"

namespace vdbench {

bool WindowFacts::Borderless() const {
  const LONG frames = WS_CAPTION | WS_THICKFRAME | WS_DLGFRAME | WS_BORDER;
  return (style & frames) == 0 && client.cx == Width() && client.cy == Height();
}

WindowFacts ReadWindowFacts(HWND hwnd) {
  WindowFacts f;
  f.hwnd = hwnd;
  f.exists = IsWindow(hwnd) != FALSE;
  if (!f.exists) return f;
  f.visible = IsWindowVisible(hwnd) != FALSE;
  GetWindowRect(hwnd, &f.rect);
  RECT client{};
  GetClientRect(hwnd, &client);
  f.client = SIZE{client.right - client.left, client.bottom - client.top};
  f.style = GetWindowLongA(hwnd, GWL_STYLE);
  f.exStyle = GetWindowLongA(hwnd, GWL_EXSTYLE);
  f.topmost = (f.exStyle & WS_EX_TOPMOST) != 0;
  if (f.exStyle & WS_EX_LAYERED) {
    COLORREF key = 0;
    BYTE alpha = 0;
    DWORD flags = 0;
    if (GetLayeredWindowAttributes(hwnd, &key, &alpha, &flags) && (flags & LWA_ALPHA)) {
      f.alpha = alpha;
    }
  }
  char text[256] = "";
  GetWindowTextA(hwnd, text, sizeof text);
  f.caption = text;
  return f;
}

std::ostream& operator<<(std::ostream& out, const WindowFacts& f) {
  out << "window " << reinterpret_cast<intptr_t>(f.hwnd);
  if (!f.exists) return out << " (gone)";
  out << " \"" << f.caption << "\" " << (f.visible ? "visible" : "hidden") << " at (" << f.rect.left
      << "," << f.rect.top << ") " << f.Width() << "x" << f.Height() << " client " << f.client.cx
      << "x" << f.client.cy << std::hex << " style 0x" << f.style << " exstyle 0x" << f.exStyle
      << std::dec << (f.topmost ? " topmost" : "");
  if (f.alpha) out << " alpha " << static_cast<int>(*f.alpha);
  return out;
}

std::vector<HWND> TopLevelWindowsOf(DWORD pid, bool visibleOnly) {
  struct Search {
    DWORD pid;
    bool visibleOnly;
    std::vector<HWND> found;
  } search{pid, visibleOnly, {}};
  EnumWindows(
      [](HWND hwnd, LPARAM param) noexcept -> BOOL {
        auto* s = reinterpret_cast<Search*>(param);
        DWORD owner = 0;
        GetWindowThreadProcessId(hwnd, &owner);
        if (owner == s->pid && (!s->visibleOnly || IsWindowVisible(hwnd))) s->found.push_back(hwnd);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.found;
}

bool IsAbove(HWND upper, HWND lower) {
  if (!IsWindow(upper) || !IsWindow(lower) || upper == lower) return false;
  for (HWND w = GetWindow(upper, GW_HWNDNEXT); w; w = GetWindow(w, GW_HWNDNEXT)) {
    if (w == lower) return true;
  }
  return false;
}

HWND TopLevelWindowAt(int x, int y) {
  HWND hit = WindowFromPoint(POINT{x, y});
  return hit ? GetAncestor(hit, GA_ROOT) : nullptr;
}

bool SameRect(const RECT& a, const RECT& b) {
  return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

std::string Describe(const RECT& r) {
  return "(" + std::to_string(r.left) + "," + std::to_string(r.top) + ") " +
         std::to_string(r.right - r.left) + "x" + std::to_string(r.bottom - r.top);
}

bool WaitUntil(const std::function<bool()>& condition, DWORD timeoutMs, DWORD pollMs) {
  const ULONGLONG deadline = GetTickCount64() + timeoutMs;
  for (;;) {
    if (condition()) return true;
    if (GetTickCount64() >= deadline) return false;
    Sleep(pollMs);
  }
}

void ParkCursor() {
  SetCursorPos(GetSystemMetrics(SM_CXSCREEN) - 1, GetSystemMetrics(SM_CYSCREEN) - 1);
}

}  // namespace vdbench
