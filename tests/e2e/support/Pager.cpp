#include "Pager.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "Desktop.h"
#include "Input.h"

namespace vde2e {
namespace {

double Number(const SettingsIni& settings, const char* key, double fallback) {
  const std::string text = settings.Get("SETUP", key);
  char* end = nullptr;
  const double v = std::strtod(text.c_str(), &end);
  return end != text.c_str() ? v : fallback;
}

LONG Round(double v) { return static_cast<LONG>(std::lround(v)); }

bool SendMouse(DWORD flags) {
  INPUT in{};
  in.type = INPUT_MOUSE;
  in.mi.dwFlags = flags;
  return SendInput(1, &in, sizeof in) == 1;
}

// SetCursorPos, then a move event of no distance: it reaches the window under the pointer as
// WM_MOUSEMOVE, as a real mouse's move does.
bool MoveNow(POINT p) { return SetCursorPos(p.x, p.y) && SendMouse(MOUSEEVENTF_MOVE); }

}  // namespace

PagerGrid::PagerGrid(HWND pager, const SettingsIni& settings) {
  GetWindowRect(pager, &pager_);
  columns_ = std::clamp(static_cast<int>(Number(settings, "columns", 1)), 1, 9);
  rows_ = std::clamp(static_cast<int>(Number(settings, "rows", 1)), 1, 9);
  screenWidth_ = GetSystemMetrics(SM_CXSCREEN);
  screenHeight_ = GetSystemMetrics(SM_CYSCREEN);
  const double w = std::clamp(Number(settings, "width", 25), 1.0, 100.0);
  const double h = std::clamp(Number(settings, "height", 25), 1.0, 100.0);
  cellWidth_ = screenWidth_ * w / 100 / columns_;
  cellHeight_ = screenHeight_ * h / 100 / rows_;
}

double PagerGrid::CellLeft(int n) const {
  const int column = (n - 1) % columns_;  // from 0
  return pager_.left + column * cellWidth_ + 1 + column;
}

double PagerGrid::CellTop(int n) const {
  const int row = (n - 1) / columns_;
  return pager_.top + row * cellHeight_ + 22 + row;
}

RECT PagerGrid::Cell(int n) const {
  const double left = CellLeft(n), top = CellTop(n);
  return RECT{Round(left), Round(top), Round(left + cellWidth_), Round(top + cellHeight_)};
}

RECT PagerGrid::Miniature(int n, const RECT& window) const {
  const double left = CellLeft(n) + window.left * cellWidth_ / screenWidth_;
  const double top = CellTop(n) + window.top * cellHeight_ / screenHeight_;
  const double width =
      std::min(cellWidth_, (window.right - window.left) * cellWidth_ / screenWidth_);
  const double height =
      std::min(cellHeight_, (window.bottom - window.top) * cellHeight_ / screenHeight_);
  return RECT{Round(left), Round(top), Round(left + width), Round(top + height)};
}

POINT PagerGrid::FreePoint(int n) const {
  const RECT c = Cell(n);
  return POINT{c.right - 6, c.bottom - 6};
}

HWND MiniatureAt(HWND pager, const RECT& expected) {
  HWND at = WindowFromPoint(Middle(expected));
  if (!at || at == pager || GetAncestor(at, GA_ROOT) != pager) return nullptr;
  RECT r{};
  GetWindowRect(at, &r);
  const bool placed =
      std::abs(r.left - expected.left) <= 1 && std::abs(r.top - expected.top) <= 1 &&
      std::abs(r.right - expected.right) <= 1 && std::abs(r.bottom - expected.bottom) <= 1;
  return placed ? at : nullptr;
}

POINT Middle(const RECT& r) { return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2}; }

bool NearColor(uint32_t a, uint32_t b, int tolerance) {
  for (int shift = 0; shift <= 16; shift += 8) {
    const int ca = static_cast<int>((a >> shift) & 0xFF),
              cb = static_cast<int>((b >> shift) & 0xFF);
    if (std::abs(ca - cb) > tolerance) return false;
  }
  return true;
}

std::string Hex(uint32_t color) {
  char text[16];
  std::snprintf(text, sizeof text, "0x%06X", static_cast<unsigned>(color));
  return text;
}

bool ShowsSelectedCell(const vdtools::Image& shot, const RECT& cell, const SettingsIni& settings) {
  const uint32_t selected = static_cast<uint32_t>(
      std::strtoul(settings.Get("SETUP", "color_selected").c_str(), nullptr, 10));
  return NearColor(shot.ColorAt(cell.left + 3, cell.top + 3), selected, 40);
}

bool ColorAround(const vdtools::Image& shot, POINT at, uint32_t color) {
  int hits = 0;
  for (int dy = -2; dy <= 2; ++dy) {
    for (int dx = -2; dx <= 2; ++dx)
      hits += NearColor(shot.ColorAt(at.x + dx, at.y + dy), color, 40);
  }
  return hits >= 20;
}

// Waits until the pointer stays at `p` for `steadyPolls` looks in a row, putting it back there
// whenever it is found elsewhere.
static bool Settle(POINT p, int steadyPolls) {
  int steady = 0;
  return WaitUntil(
      [&] {
        POINT now{};
        GetCursorPos(&now);
        if (now.x == p.x && now.y == p.y) return ++steady >= steadyPolls;
        steady = 0;
        SetCursorPos(p.x, p.y);
        return false;
      },
      3000, 20);
}

bool PointerTo(POINT p) { return Settle(p, 5) && MoveNow(p); }

bool ClickPoint(POINT p, bool rightButton) {
  return PointerTo(p) && ClickAt(p.x, p.y, rightButton);
}

bool PressAndMove(POINT from, POINT to, int steps) {
  if (steps < 1) steps = 1;
  if (!PointerTo(from)) return false;
  bool ok = SendMouse(MOUSEEVENTF_LEFTDOWN);
  // The first pixel down starts the drag, as a hand's first move does.
  const POINT start{from.x, from.y + 1};
  ok = ok && SetCursorPos(start.x, start.y) && Settle(start, 2) && MoveNow(start);
  from = start;
  // Each step waits for the pointer to be there before the move event: a move event that
  // comes while the X server's echo of the previous step still moves the pointer would report
  // a stale place.
  for (int i = 1; i <= steps && ok; ++i) {
    const POINT p{from.x + (to.x - from.x) * i / steps, from.y + (to.y - from.y) * i / steps};
    ok = SetCursorPos(p.x, p.y) && Settle(p, 2) && MoveNow(p);
  }
  return ok;
}

bool ReleaseLeftButton() { return SendMouse(MOUSEEVENTF_LEFTUP); }

bool DragAndRest(POINT from, POINT to, int steps, DWORD restMs) {
  const bool moved = PressAndMove(from, to, steps);
  Sleep(restMs);
  return ReleaseLeftButton() && moved;
}

bool TypeKeys(std::initializer_list<WORD> keys) {
  for (WORD key : keys) {
    if (!PressChord({key})) return false;
    Sleep(40);  // the menu loop handles one key before the next
  }
  return true;
}

HWND VisiblePopupMenu() {
  HWND menu = FindWindowA("#32768", nullptr);
  return menu && IsWindowVisible(menu) ? menu : nullptr;
}

bool ChooseFromPopupMenu(std::initializer_list<WORD> keys, DWORD timeoutMs) {
  if (!WaitUntil([] { return VisiblePopupMenu() != nullptr; }, timeoutMs)) return false;
  Sleep(100);  // the menu's own loop takes over the keyboard once it is up
  if (!TypeKeys({VK_HOME})) return false;
  for (WORD key : keys) {
    if (!TypeKeys({key})) return false;
  }
  if (!TypeKeys({VK_RETURN})) return false;
  return WaitUntil([] { return VisiblePopupMenu() == nullptr; }, timeoutMs);
}

std::string ClassOf(HWND hwnd) {
  char name[64] = "";
  GetClassNameA(hwnd, name, sizeof name);
  return name;
}

bool Child::Is(const char* name) const { return _stricmp(className.c_str(), name) == 0; }

std::vector<Child> ChildrenOf(HWND root) {
  std::vector<HWND> handles;
  EnumChildWindows(
      root,
      [](HWND w, LPARAM out) noexcept -> BOOL {
        reinterpret_cast<std::vector<HWND>*>(out)->push_back(w);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&handles));
  std::vector<Child> children;
  for (HWND w : handles) {
    char text[256] = "";
    SendMessageTimeoutA(w, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text),
                        SMTO_ABORTIFHUNG, 2000, nullptr);
    RECT r{};
    GetWindowRect(w, &r);
    children.push_back({w, ClassOf(w), text, r, IsWindowVisible(w) != FALSE});
  }
  return children;
}

std::vector<Child> VisibleButtons(HWND form) {
  std::vector<Child> buttons = ChildrenOf(form);
  std::erase_if(buttons, [](const Child& c) { return !c.visible || !c.Is("Button"); });
  return buttons;
}

HWND ButtonCaptioned(HWND form, const std::string& caption) {
  for (const Child& b : VisibleButtons(form)) {
    if (b.text == caption) return b.hwnd;
  }
  return nullptr;
}

HWND WaitForQuestion(DWORD pid, std::initializer_list<const char*> captions, DWORD timeoutMs) {
  HWND question = nullptr;
  WaitUntil(
      [&] {
        for (HWND w : TopLevelWindowsOf(pid, true)) {
          if (std::all_of(captions.begin(), captions.end(),
                          [&](const char* c) { return ButtonCaptioned(w, c) != nullptr; })) {
            question = w;
            return true;
          }
        }
        return false;
      },
      timeoutMs);
  return question;
}

std::vector<std::string> Lines(const std::string& bytes) {
  std::vector<std::string> lines;
  std::string line;
  for (char c : bytes) {
    if (c == '\n') {
      if (!line.empty() && line.back() == '\r') line.pop_back();
      lines.push_back(line);
      line.clear();
    } else {
      line += c;
    }
  }
  if (!line.empty()) lines.push_back(line);
  return lines;
}

}  // namespace vde2e
