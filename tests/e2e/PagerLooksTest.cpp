// What the pager looks like on the screen and how its own windows behave under the mouse: it
// stays top-most, the miniatures show the pictures of their windows, the cells keep the gaps
// between them at fractional sizes, the title buttons are drawn flat and answer hover, tips and
// clicks, and a drag by the title strip moves the pager with the program following.
#include <algorithm>
#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

#include "E2eTest.h"

namespace vde2e {
namespace {

constexpr uint32_t kPagerBack = 0x202020;  // the pager's background (0x00BBGGRR)
constexpr uint32_t kLime = 0x00FF00;       // a test window's colour
constexpr uint32_t kHover = 0xFF8000;      // color_hover of the test settings

std::string ClassOf(HWND hwnd) {
  char name[64] = "";
  GetClassNameA(hwnd, name, sizeof name);
  return name;
}

struct Child {
  HWND hwnd;
  RECT rect;  // screen pixels
};

// The visible child windows of `parent` (its direct children only).
std::vector<Child> VisibleChildren(HWND parent) {
  std::vector<Child> children;
  for (HWND c = GetWindow(parent, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
    if (!IsWindowVisible(c)) continue;
    RECT r{};
    GetWindowRect(c, &r);
    children.push_back({c, r});
  }
  return children;
}

// The desktop cells: the pager's own large child windows, row by row.
std::vector<RECT> Cells(HWND pager) {
  std::vector<RECT> cells;
  for (const Child& c : VisibleChildren(pager)) {
    const int w = c.rect.right - c.rect.left, h = c.rect.bottom - c.rect.top;
    if (ClassOf(c.hwnd) == "VuedeckControl" && w >= 60 && h >= 60) cells.push_back(c.rect);
  }
  std::sort(cells.begin(), cells.end(), [](const RECT& a, const RECT& b) {
    return a.top != b.top ? a.top < b.top : a.left < b.left;
  });
  return cells;
}

// The title strip's visible push button (the main menu's).
HWND TitleButton(HWND pager) {
  const RECT p = ReadWindowFacts(pager).rect;
  for (const Child& c : VisibleChildren(pager)) {
    if (_stricmp(ClassOf(c.hwnd).c_str(), "Button") == 0 && c.rect.top < p.top + 20) {
      return c.hwnd;
    }
  }
  return nullptr;
}

int Red(uint32_t c) { return static_cast<int>(c & 0xFF); }
int Green(uint32_t c) { return static_cast<int>((c >> 8) & 0xFF); }
int Blue(uint32_t c) { return static_cast<int>((c >> 16) & 0xFF); }
int Brightness(uint32_t c) { return (Red(c) * 299 + Green(c) * 587 + Blue(c) * 114) / 1000; }

bool Near(uint32_t a, uint32_t b, int tolerance) {
  return std::abs(Red(a) - Red(b)) <= tolerance && std::abs(Green(a) - Green(b)) <= tolerance &&
         std::abs(Blue(a) - Blue(b)) <= tolerance;
}

std::string Hex(uint32_t c) {
  std::ostringstream out;
  out << "0x" << std::hex << c;
  return out.str();
}

POINT Center(const RECT& r) { return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2}; }

// A visible tip window of the process, if one shows.
HWND VisibleTip(DWORD pid) {
  for (HWND w : TopLevelWindowsOf(pid, true)) {
    if (_stricmp(ClassOf(w).c_str(), "tooltips_class32") == 0) return w;
  }
  return nullptr;
}

HWND VisiblePopupMenu() {
  HWND menu = FindWindowA("#32768", nullptr);
  return menu && IsWindowVisible(menu) ? menu : nullptr;
}

// Puts the pointer at `p` and waits until it stays there. Under Wine a button pressed 20 ms after
// SetCursorPos was seen to land at the pointer's earlier place (the parked pointer's: the tray
// icon), as if the old position had come back meanwhile.
bool SettlePointerAt(POINT p) {
  int steady = 0;
  return WaitUntil(
      [&] {
        POINT now{};
        GetCursorPos(&now);
        if (now.x == p.x && now.y == p.y) return ++steady >= 5;
        steady = 0;
        SetCursorPos(p.x, p.y);
        return false;
      },
      3000, 30);
}

class PagerLooks : public E2eTest {};

// The pager's tip window once cost it its top-most state (Wine put the form right behind its
// owned top-most tip); it stays top-most after a tip showed and a menu opened.
TEST_F(PagerLooks, TitleButtonIsFlatAndAnswersHoverTipAndClickWhileThePagerStaysTopMost) {
  ChildProcess& vuedeck = StartVuedeck();
  HWND pager = WaitForPager(vuedeck);
  ASSERT_NE(pager, nullptr);
  EXPECT_TRUE(ReadWindowFacts(pager).topmost) << ReadWindowFacts(pager);

  HWND button = TitleButton(pager);
  ASSERT_NE(button, nullptr) << "no push button on the title strip";
  EXPECT_EQ(GetWindowLongA(button, GWL_STYLE) & BS_TYPEMASK, BS_OWNERDRAW);
  const RECT b = ReadWindowFacts(button).rect;
  // Inside the one-pixel border: the face, and the strokes of the menu glyph.
  const POINT face{b.left + 2, b.top + 2};
  const POINT middle = Center(b);

  uint32_t restFace = 0;
  int lightPixels = 0;
  bool drawn = ShotUntil("button-at-rest", [&](const vdtools::Image& shot) {
    restFace = shot.ColorAt(face.x, face.y);
    lightPixels = 0;
    for (int y = b.top + 2; y < b.bottom - 2; ++y) {
      for (int x = b.left + 2; x < b.right - 2; ++x) {
        if (Brightness(shot.ColorAt(x, y)) > 200) ++lightPixels;
      }
    }
    return Brightness(restFace) < 80 && lightPixels >= 12;
  });
  EXPECT_TRUE(drawn) << "a dark face with light strokes expected: face " << Hex(restFace) << ", "
                     << lightPixels << " light pixels";

  // The mouse over the button lights its face and, after a moment, shows its tip.
  ASSERT_TRUE(SettlePointerAt(middle));
  uint32_t hotFace = 0;
  EXPECT_TRUE(ShotUntil("button-hovered", [&](const vdtools::Image& shot) {
    hotFace = shot.ColorAt(face.x, face.y);
    return Brightness(hotFace) > Brightness(restFace) + 8;
  })) << "face at rest " << Hex(restFace) << ", hovered " << Hex(hotFace);
  EXPECT_TRUE(WaitUntil([&] { return VisibleTip(vuedeck.Pid()) != nullptr; }, 5000))
      << "no tip showed over the title button";
  Shot("button-tip");
  EXPECT_TRUE(ReadWindowFacts(pager).topmost) << "after the tip: " << ReadWindowFacts(pager);

  // A click reaches the program: its main menu opens.
  ASSERT_TRUE(ClickAt(middle.x, middle.y));
  EXPECT_TRUE(WaitUntil([] { return VisiblePopupMenu() != nullptr; }, 5000))
      << "the click on the title button opened no menu";
  // The menu with its entries drawn (dark text on the light menu).
  EXPECT_TRUE(ShotUntil("button-clicked", [](const vdtools::Image& shot) {
    HWND menu = VisiblePopupMenu();
    if (!menu) return false;
    const RECT m = ReadWindowFacts(menu).rect;
    int text = 0;
    for (int y = m.top + 2; y < m.bottom - 2; ++y) {
      for (int x = m.left + 2; x < m.right - 2; ++x) text += Brightness(shot.ColorAt(x, y)) < 100;
    }
    return text >= 20;
  })) << "the menu showed no entries";
  PressChord({VK_ESCAPE});
  EXPECT_TRUE(WaitUntil([] { return VisiblePopupMenu() == nullptr; }, 5000));
  ParkCursor();
  EXPECT_TRUE(ReadWindowFacts(pager).topmost) << "after the menu: " << ReadWindowFacts(pager);
}

// A window open before the program starts gets its picture in its miniature: the miniature's
// middle has the window's colour (a picture presented wrongly shows black or white there), and
// keeps it while the pager repaints every 100 ms.
TEST_F(PagerLooks, MiniatureShowsItsWindowsColourAndKeepsItWithoutFlicker) {
  // Below the pager (600,100 326x300), so that neither covers the other.
  HWND lime = Maker().Open("Lime", 120, 560, 400, 300, "color " + Hex(kLime));
  ASSERT_NE(lime, nullptr);
  ChildProcess& vuedeck = StartVuedeck();
  HWND pager = WaitForPager(vuedeck);
  ASSERT_NE(pager, nullptr);
  std::vector<RECT> cells = Cells(pager);
  ASSERT_EQ(cells.size(), 6u) << "cells of the 3 x 2 grid";

  // Where the window's middle falls in cell 1: the screen scaled down into the cell.
  const RECT& cell = cells[0];
  const POINT mid = Center(ReadWindowFacts(lime).rect);
  const POINT at{
      cell.left + mid.x * (cell.right - cell.left) / GetSystemMetrics(SM_CXSCREEN),
      cell.top + mid.y * (cell.bottom - cell.top) / GetSystemMetrics(SM_CYSCREEN)};
  auto limeAround = [&](const vdtools::Image& shot) {
    int hits = 0;
    for (int dy = -2; dy <= 2; ++dy) {
      for (int dx = -2; dx <= 2; ++dx) hits += Near(shot.ColorAt(at.x + dx, at.y + dy), kLime, 40);
    }
    return hits >= 20;
  };
  vdtools::Image last;
  EXPECT_TRUE(ShotUntil("miniature", limeAround, kDrawTimeoutMs, &last))
      << "the miniature's middle at (" << at.x << "," << at.y << ") is "
      << Hex(last.ColorAt(at.x, at.y)) << ", not the window's " << Hex(kLime);

  // Ten looks over a second of 100 ms repaints: the picture is there every time.
  int missing = 0;
  for (int i = 0; i < 10; ++i) {
    Sleep(100);
    vdtools::Image shot;
    if (vdtools::CaptureScreen(shot) && !limeAround(shot)) ++missing;
  }
  EXPECT_EQ(missing, 0) << "looks at the miniature that did not show its picture";

  // The pointer on the miniature brings up its tip (the window's title, on the screenshot).
  ASSERT_TRUE(SettlePointerAt(at));
  EXPECT_TRUE(WaitUntil([&] { return VisibleTip(vuedeck.Pid()) != nullptr; }, 5000))
      << "no tip over the miniature";
  Shot("miniature-tip");
  ParkCursor();
}

// Cells 106.67 pixels wide (a 3 x 2 grid on a pager a quarter of 1280 pixels wide): rounding a
// cell's left and width apart once made cell 2 touch cell 3. Every pair of neighbours keeps a
// gap that shows the pager's background.
TEST_F(PagerLooks, NeighbouringCellsKeepAGapAtFractionalSizes) {
  settings.Set("SETUP", "columns", "3");
  settings.Set("SETUP", "rows", "2");
  settings.Set("SETUP", "width", "25");
  settings.Set("SETUP", "height", "25");
  ChildProcess& vuedeck = StartVuedeck();
  HWND pager = WaitForPager(vuedeck);
  ASSERT_NE(pager, nullptr);
  std::vector<RECT> cells = Cells(pager);
  ASSERT_EQ(cells.size(), 6u);

  // Pairs of cells (left or upper one, right or lower one), counted from 0; the gaps beside
  // cell 1 carry its selection box and are left out.
  const int across[][2] = {{1, 2}, {3, 4}, {4, 5}};
  const int down[][2] = {{1, 4}, {2, 5}};
  for (const auto& pair : across) {
    const RECT& a = cells[pair[0]];
    const RECT& b = cells[pair[1]];
    EXPECT_LT(a.right, b.left) << "cells " << pair[0] + 1 << " and " << pair[1] + 1 << ": "
                               << Describe(a) << " / " << Describe(b);
  }
  for (const auto& pair : down) {
    const RECT& a = cells[pair[0]];
    const RECT& b = cells[pair[1]];
    EXPECT_LT(a.bottom, b.top) << "cells " << pair[0] + 1 << " and " << pair[1] + 1 << ": "
                               << Describe(a) << " / " << Describe(b);
  }

  std::string wrong;
  auto note = [](std::ostringstream& out, const vdtools::Image& shot, int x, int y) {
    const uint32_t c = shot.ColorAt(x, y);
    if (c != kPagerBack) out << " (" << x << "," << y << ")=" << Hex(c);
  };
  bool gaps = ShotUntil("gaps", [&](const vdtools::Image& shot) {
    std::ostringstream found;
    for (const auto& pair : across) {
      note(found, shot, cells[pair[0]].right, Center(cells[pair[0]]).y);
    }
    for (const auto& pair : down) {
      note(found, shot, Center(cells[pair[0]]).x, cells[pair[0]].bottom);
    }
    wrong = found.str();
    return wrong.empty();
  });
  EXPECT_TRUE(gaps) << "gap pixels not in the pager's background " << Hex(kPagerBack) << ":"
                    << wrong;
}

// A drag by the title strip moves the pager; the program follows (its hover tracking works from
// the form's place), so the cell under the pointer at the new place lights up.
TEST_F(PagerLooks, DragByTheTitleStripMovesThePagerAndTheProgramFollows) {
  ChildProcess& vuedeck = StartVuedeck();
  HWND pager = WaitForPager(vuedeck);
  ASSERT_NE(pager, nullptr);
  const RECT before = ReadWindowFacts(pager).rect;
  const POINT grab{before.left + 100, before.top + 8};
  ASSERT_TRUE(SettlePointerAt(grab));
  const int dx = -350, dy = 300;
  ASSERT_TRUE(DragFromTo(grab, POINT{grab.x + dx, grab.y + dy}, 15));
  EXPECT_TRUE(WaitUntil(
      [&] {
        const RECT now = ReadWindowFacts(pager).rect;
        return now.left == before.left + dx && now.top == before.top + dy;
      },
      5000))
      << "the pager is at " << Describe(ReadWindowFacts(pager).rect) << " after a drag by ("
      << dx << "," << dy << ") from " << Describe(before);
  EXPECT_TRUE(ReadWindowFacts(pager).topmost) << ReadWindowFacts(pager);

  std::vector<RECT> cells = Cells(pager);
  ASSERT_EQ(cells.size(), 6u);
  const RECT& cell = cells[1];
  const POINT corner{cell.left + 3, cell.top + 3};
  ASSERT_TRUE(SettlePointerAt(Center(cell)));
  uint32_t seen = 0;
  EXPECT_TRUE(ShotUntil("hover-after-drag", [&](const vdtools::Image& shot) {
    seen = shot.ColorAt(corner.x, corner.y);
    return Near(seen, kHover, 48);
  })) << "cell 2 under the pointer shows " << Hex(seen) << " by its corner, not the hover colour";
  ParkCursor();
}

}  // namespace
}  // namespace vde2e
