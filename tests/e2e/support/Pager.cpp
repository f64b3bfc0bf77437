// Input as a user gives it, and the program's windows read from outside.
#include <algorithm>
#include <cstdlib>

#include "E2eTest.h"

namespace vde2e {
namespace {

bool Mouse(DWORD flags) {  // MOUSEEVENTF_MOVE by no distance: a move event where the pointer is
  INPUT in{};
  in.type = INPUT_MOUSE;
  in.mi.dwFlags = flags;
  return SendInput(1, &in, sizeof in) == 1;
}

// Puts the pointer at `p` until it stays there for `polls` looks in a row (under Wine the X
// server's echo of an earlier move can put it back a moment later), then sends a move event
// there, so that the window under it hears of it.
bool PointerTo(POINT p, int polls = 5) {
  int steady = 0;
  return WaitUntil(
             [&] {
               POINT now{};
               GetCursorPos(&now);
               steady = now.x == p.x && now.y == p.y ? steady + 1 : 0;
               if (!steady) SetCursorPos(p.x, p.y);
               return steady >= polls;
             },
             3000) &&
         Mouse(MOUSEEVENTF_MOVE);
}

bool Blank(const Child& c) {
  return c.visible && c.text.empty() && _stricmp(c.className.c_str(), "VuedeckControl") == 0;
}

}  // namespace

bool PressChord(std::initializer_list<WORD> keys) {
  std::vector<INPUT> events(2 * keys.size());  // downs in order, then ups in reverse order
  for (size_t i = 0; i < events.size(); ++i) {
    const bool up = i >= keys.size();
    events[i].type = INPUT_KEYBOARD;
    events[i].ki.wVk = keys.begin()[up ? events.size() - 1 - i : i];
    events[i].ki.wScan = static_cast<WORD>(MapVirtualKeyA(events[i].ki.wVk, MAPVK_VK_TO_VSC));
    events[i].ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
  }
  return SendInput(events.size(), events.data(), sizeof(INPUT)) == events.size();
}

POINT Middle(const RECT& r) { return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2}; }

bool ClickAt(POINT p, bool rightButton) {
  return PointerTo(p) && Mouse(rightButton ? MOUSEEVENTF_RIGHTDOWN : MOUSEEVENTF_LEFTDOWN) &&
         Mouse(rightButton ? MOUSEEVENTF_RIGHTUP : MOUSEEVENTF_LEFTUP);
}

bool ClickOn(HWND control) { return control && ClickAt(Middle(RectOf(control))); }

bool Drag(POINT from, POINT to) {
  bool ok = PointerTo(from) && Mouse(MOUSEEVENTF_LEFTDOWN);
  // The first pixel down starts the drag, as a hand's first move does; each step waits for the
  // pointer to be there, so no move event reports a place the X server has not reached yet.
  from.y += 1;
  for (int i = 0; i <= 12 && ok; ++i) {
    ok = PointerTo({from.x + (to.x - from.x) * i / 12, from.y + (to.y - from.y) * i / 12}, 2);
  }
  // A rest before the drop, as a hand rests: the pager notes the cell under the pointer every
  // 100 ms, and a drop goes to the cell it noted last.
  Sleep(300);
  return Mouse(MOUSEEVENTF_LEFTUP) && ok;
}

bool ChooseFromMenu(std::initializer_list<WORD> keys) {
  auto menuShown = [] { return IsWindowVisible(FindWindowA("#32768", nullptr)) != FALSE; };
  if (!WaitUntil(menuShown)) return false;
  // The menu's own loop takes the keyboard once it is up, one key at a time.
  std::vector<WORD> typed{VK_HOME};
  typed.insert(typed.end(), keys.begin(), keys.end());
  if (typed.back() != VK_ESCAPE) typed.push_back(VK_RETURN);
  for (size_t i = 0; i < typed.size(); ++i) {
    Sleep(i == 0 ? 100 : 40);
    if (!PressChord({typed[i]})) return false;
  }
  return WaitUntil([&] { return !menuShown(); });
}

std::vector<Child> ChildrenOf(HWND root) {
  std::vector<Child> children;
  EnumChildWindows(
      root,
      [](HWND w, LPARAM out) noexcept -> BOOL {
        char text[256] = "", name[64] = "";  // another process's edit field answers only this
        SendMessageTimeoutA(w, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text),
                            SMTO_ABORTIFHUNG, 2000, nullptr);
        GetClassNameA(w, name, sizeof name);
        reinterpret_cast<std::vector<Child>*>(out)->push_back(
            {w, name, text, RectOf(w), IsWindowVisible(w) != FALSE});
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&children));
  return children;
}

HWND ChildWith(HWND root, const char* className, const std::string& text) {
  for (const Child& c : ChildrenOf(root)) {
    if (c.visible && _stricmp(c.className.c_str(), className) == 0 && c.text == text) return c.hwnd;
  }
  return nullptr;
}

std::vector<RECT> Cells(HWND pager) {
  // Blank controls at least 40 pixels high (the title strip is lower) inside no other one (the
  // miniatures stand inside the cells).
  std::vector<RECT> blank, cells;
  for (const Child& c : ChildrenOf(pager)) {
    if (Blank(c) && c.rect.bottom - c.rect.top >= 40) blank.push_back(c.rect);
  }
  for (const RECT& r : blank) {
    if (std::none_of(blank.begin(), blank.end(), [&](const RECT& o) {
          return !EqualRect(&o, &r) && o.left <= r.left && o.top <= r.top && o.right >= r.right &&
                 o.bottom >= r.bottom;
        })) {
      cells.push_back(r);
    }
  }
  std::sort(cells.begin(), cells.end(), [](const RECT& a, const RECT& b) {
    return std::pair(a.top, a.left) < std::pair(b.top, b.left);
  });
  return cells;
}

RECT MiniatureOf(HWND pager, const RECT& cell, const RECT& window, DWORD waitMs) {
  const double across = (cell.right - cell.left) / double(GetSystemMetrics(SM_CXSCREEN));
  const double down = (cell.bottom - cell.top) / double(GetSystemMetrics(SM_CYSCREEN));
  RECT found{};
  WaitUntil(
      [&] {
        for (const Child& c : ChildrenOf(pager)) {
          if (Blank(c) && !EqualRect(&c.rect, &cell) &&
              std::abs(c.rect.left - cell.left - window.left * across) <= 2 &&
              std::abs(c.rect.top - cell.top - window.top * down) <= 2) {
            found = c.rect;
          }
        }
        return !IsRectEmpty(&found);
      },
      waitMs);
  return found;
}

bool ColorAround(const vdtools::Image& shot, POINT at, uint32_t color) {
  int hits = 0;  // a miniature is its window's picture scaled down: its edges blend
  for (int i = 0; i < 25; ++i) {
    const uint32_t c = shot.ColorAt(at.x + i % 5 - 2, at.y + i / 5 - 2);
    bool alike = true;
    for (int shift : {0, 8, 16}) {
      alike = alike && std::abs(int(c >> shift & 0xFF) - int(color >> shift & 0xFF)) <= 40;
    }
    hits += alike;
  }
  return hits >= 20;
}

}  // namespace vde2e
