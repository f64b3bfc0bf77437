// The options dialog, the tray icon and start with Windows, seen from outside: the dialog opened
// from the pager's main menu, a new grid applied with OK and kept over a restart, every page as
// the user sees it, the pager put away and brought back with the tray icon, and the Run value
// written and deleted by "Start Application After Reboot".
#include <algorithm>
#include <cctype>
#include <iostream>
#include <optional>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "E2eTest.h"

namespace vde2e {
namespace {

constexpr char kRunKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr DWORD kDialogTimeoutMs = 5000;

std::string ClassOf(HWND hwnd) {
  char name[64] = "";
  GetClassNameA(hwnd, name, sizeof name);
  return name;
}

// The window's text; asked of the window itself, since an edit field of another process keeps
// its text to itself.
std::string TextOf(HWND hwnd) {
  char text[256] = "";
  SendMessageTimeoutA(hwnd, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text),
                      SMTO_ABORTIFHUNG, 2000, nullptr);
  return text;
}

bool IsClass(HWND hwnd, const char* name) { return _stricmp(ClassOf(hwnd).c_str(), name) == 0; }

POINT Center(const RECT& r) { return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2}; }

// Every descendant window of `root` that is visible on the screen, in no particular order.
std::vector<HWND> VisibleDescendants(HWND root) {
  std::vector<HWND> found;
  EnumChildWindows(
      root,
      [](HWND w, LPARAM out) -> BOOL {
        if (IsWindowVisible(w)) reinterpret_cast<std::vector<HWND>*>(out)->push_back(w);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&found));
  return found;
}

// The visible control of the class with exactly this text, or null.
HWND ControlWithText(HWND root, const char* className, const std::string& text) {
  for (HWND w : VisibleDescendants(root)) {
    if (IsClass(w, className) && TextOf(w) == text) return w;
  }
  return nullptr;
}

// The visible edit fields, row by row, left to right.
std::vector<HWND> EditFields(HWND root) {
  std::vector<HWND> edits;
  for (HWND w : VisibleDescendants(root)) {
    if (IsClass(w, "Edit")) edits.push_back(w);
  }
  std::sort(edits.begin(), edits.end(), [](HWND a, HWND b) {
    const RECT ra = ReadWindowFacts(a).rect, rb = ReadWindowFacts(b).rect;
    return ra.top != rb.top ? ra.top < rb.top : ra.left < rb.left;
  });
  return edits;
}

// The desktop cells of the pager: its large child windows of the program's own class.
std::vector<RECT> Cells(HWND pager) {
  std::vector<RECT> cells;
  for (HWND c = GetWindow(pager, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
    if (!IsWindowVisible(c) || !IsClass(c, "VuedeckControl")) continue;
    const RECT r = ReadWindowFacts(c).rect;
    if (r.right - r.left >= 40 && r.bottom - r.top >= 40) cells.push_back(r);
  }
  return cells;
}

// "3 x 2" when the cells stand in three columns and two rows.
std::string GridOf(HWND pager) {
  std::set<LONG> lefts, tops;
  const std::vector<RECT> cells = Cells(pager);
  for (const RECT& r : cells) {
    lefts.insert(r.left);
    tops.insert(r.top);
  }
  std::ostringstream out;
  out << lefts.size() << " x " << tops.size() << " (" << cells.size() << " cells)";
  return out.str();
}

// The options dialog of the program: its visible top-level window captioned "Options".
HWND VisibleOptions(DWORD pid) {
  for (HWND w : TopLevelWindowsOf(pid, true)) {
    if (TextOf(w) == "Options") return w;
  }
  return nullptr;
}

HWND VisiblePopupMenu() {
  HWND menu = FindWindowA("#32768", nullptr);
  return menu && IsWindowVisible(menu) ? menu : nullptr;
}

// The pager's main-menu button: the push button on its title strip.
HWND MenuButton(HWND pager) {
  const RECT p = ReadWindowFacts(pager).rect;
  for (HWND c = GetWindow(pager, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
    if (IsWindowVisible(c) && IsClass(c, "Button") && ReadWindowFacts(c).rect.top < p.top + 20) {
      return c;
    }
  }
  return nullptr;
}

// Puts the pointer at `p` and waits until it stays there (under Wine a press right after
// SetCursorPos was seen to land at the pointer's earlier place).
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

bool ClickCenterOf(HWND control) {
  const POINT c = Center(ReadWindowFacts(control).rect);
  return SettlePointerAt(c) && ClickAt(c.x, c.y);
}

// The Run value of the current user, or nothing when there is none.
std::optional<std::string> RunValue() {
  HKEY key = nullptr;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, kRunKey, 0, KEY_READ, &key) != ERROR_SUCCESS) {
    return std::nullopt;
  }
  char data[1024] = "";
  DWORD size = sizeof data - 1, type = 0;
  const LONG status =
      RegQueryValueExA(key, "VUEDECK", nullptr, &type, reinterpret_cast<BYTE*>(data), &size);
  RegCloseKey(key);
  if (status != ERROR_SUCCESS) return std::nullopt;
  return std::string(data);
}

void DeleteRunValue() {
  HKEY key = nullptr;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, kRunKey, 0, KEY_WRITE, &key) == ERROR_SUCCESS) {
    RegDeleteValueA(key, "VUEDECK");
    RegCloseKey(key);
  }
}

// A path in one comparable form: full, long, upper case.
std::string Canonical(const std::string& path) {
  char full[MAX_PATH] = "", longer[MAX_PATH] = "";
  if (GetFullPathNameA(path.c_str(), sizeof full, full, nullptr) == 0) return path;
  std::string out = full;
  if (GetLongPathNameA(full, longer, sizeof longer) > 0) out = longer;
  for (char& c : out) c = static_cast<char>(toupper(static_cast<unsigned char>(c)));
  return out;
}

// What Wine's task bar holds, for a failure message.
std::string DescribeTaskBar() {
  std::ostringstream out;
  HWND tray = FindWindowA("Shell_TrayWnd", nullptr);
  out << "Shell_TrayWnd " << tray;
  if (tray) {
    for (HWND w : VisibleDescendants(tray)) {
      out << "; " << ClassOf(w) << " '" << TextOf(w) << "' " << Describe(ReadWindowFacts(w).rect);
    }
  }
  return out.str();
}

class Options : public E2eTest {
 protected:
  // Starts the program and waits for its pager.
  HWND StartPager() {
    ChildProcess& process = StartVuedeck();
    vuedeck_ = &process;
    return WaitForPager(process);
  }

  // Opens the dialog the way the user does: a click on the pager's menu button, then the menu
  // is worked from the keyboard: Down selects its first entry, "Options...", Enter chooses it.
  // (Clicking the entry itself was not reliable under Wine: the click was seen to leave the
  // menu open with the entry merely highlighted.) The pointer stays on the button, off the
  // menu, so that no entry is highlighted by hovering before Down.
  HWND OpenOptions(HWND pager) {
    HWND button = MenuButton(pager);
    if (!button || !ClickCenterOf(button)) return nullptr;
    if (!WaitUntil([] { return VisiblePopupMenu() != nullptr; }, kDialogTimeoutMs)) {
      return nullptr;
    }
    Shot("main-menu");
    PressChord({VK_DOWN});
    PressChord({VK_RETURN});
    HWND dialog = nullptr;
    WaitUntil([&] { return (dialog = VisibleOptions(vuedeck_->Pid())) != nullptr; },
              kDialogTimeoutMs);
    return dialog;
  }

  // Saves a screenshot once the screen has stopped changing (what Wine draws reaches the screen
  // a moment after the call that drew it, and a page or a new grid is drawn piece by piece).
  bool ShotSettled(const std::string& step) {
    std::vector<uint8_t> previous;
    int same = 0;
    return ShotUntil(step, [&](const vdtools::Image& shot) {
      same = shot.rgb == previous ? same + 1 : 0;
      previous = shot.rgb;
      return same >= 4;
    });
  }

  // Clicks the button captioned `caption` in the dialog.
  bool Press(HWND dialog, const std::string& caption) {
    HWND button = ControlWithText(dialog, "Button", caption);
    return button && ClickCenterOf(button);
  }

  // Types over an edit field: a click into it, End, Backspaces, then the text.
  static bool TypeInto(HWND edit, const std::string& text) {
    if (!ClickCenterOf(edit)) return false;
    PressChord({VK_END});
    for (int i = 0; i < 4; ++i) PressChord({VK_BACK});
    for (char c : text) PressChord({static_cast<WORD>(c)});
    return true;
  }

  ChildProcess* vuedeck_ = nullptr;
};

TEST_F(Options, TheMainMenuOpensTheDialogAndOkAppliesA3By2GridThatARestartKeeps) {
  settings.Set("SETUP", "columns", "2");
  settings.Set("SETUP", "rows", "2");
  HWND pager = StartPager();
  ASSERT_NE(pager, nullptr);
  ASSERT_TRUE(WaitUntil([&] { return Cells(pager).size() == 4; }, kDialogTimeoutMs))
      << GridOf(pager);

  HWND dialog = OpenOptions(pager);
  ASSERT_NE(dialog, nullptr) << "the Options dialog did not open from the main menu";
  const WindowFacts facts = ReadWindowFacts(dialog);
  EXPECT_TRUE(WaitUntil([&] { return ReadWindowFacts(dialog).topmost; }, kDialogTimeoutMs))
      << ReadWindowFacts(dialog);
  EXPECT_TRUE(facts.Borderless()) << facts;

  // Every page, as the user sees it.
  ParkCursor();
  EXPECT_TRUE(ShotSettled("page-general-application"));
  ASSERT_TRUE(Press(dialog, "Others"));
  ASSERT_TRUE(WaitUntil([&] { return ControlWithText(dialog, "Button", "Clear List"); }, 3000));
  ParkCursor();
  EXPECT_TRUE(ShotSettled("page-general-others"));
  ASSERT_TRUE(Press(dialog, "Desktops"));
  ASSERT_TRUE(WaitUntil([&] { return ControlWithText(dialog, "Button", "Hotkey Enabled"); }, 3000));
  ParkCursor();
  EXPECT_TRUE(ShotSettled("page-desktops"));
  ASSERT_TRUE(Press(dialog, "Panic"));
  ASSERT_TRUE(
      WaitUntil([&] { return ControlWithText(dialog, "Button", "Enabled Panic Hotkeys"); }, 3000));
  ParkCursor();
  EXPECT_TRUE(ShotSettled("page-panic"));
  ASSERT_TRUE(Press(dialog, "Appearance"));
  ASSERT_TRUE(WaitUntil([&] { return ControlWithText(dialog, "Button", "Change..."); }, 3000));
  ParkCursor();
  EXPECT_TRUE(ShotSettled("page-appearance"));
  ASSERT_TRUE(Press(dialog, "General"));
  ASSERT_TRUE(Press(dialog, "Application"));
  ASSERT_TRUE(WaitUntil([&] { return EditFields(dialog).size() == 4; }, 3000));

  // Columns and rows are the first row of fields.
  std::vector<HWND> fields = EditFields(dialog);
  ASSERT_TRUE(TypeInto(fields[0], "3"));
  ASSERT_TRUE(TypeInto(fields[1], "2"));
  EXPECT_TRUE(WaitUntil([&] { return TextOf(fields[0]) == "3" && TextOf(fields[1]) == "2"; }, 3000))
      << "fields read " << TextOf(fields[0]) << " and " << TextOf(fields[1]);
  EXPECT_TRUE(ShotSettled("typed-3-by-2"));
  HWND ok = ControlWithText(dialog, "Button", "OK");
  ASSERT_NE(ok, nullptr);
  EXPECT_TRUE(IsWindowEnabled(ok));
  ASSERT_TRUE(ClickCenterOf(ok));

  EXPECT_TRUE(WaitUntil([&] { return !IsWindowVisible(dialog); }, kDialogTimeoutMs));
  EXPECT_TRUE(WaitUntil([&] { return GridOf(pager) == "3 x 2 (6 cells)"; }, kDialogTimeoutMs))
      << GridOf(pager);
  // Back where the settings place it, with the new grid drawn.
  const LONG left = std::stol(settings.Get("SETUP", "left")) / 15;  // twips at 96 dpi
  const LONG top = std::stol(settings.Get("SETUP", "top")) / 15;
  EXPECT_TRUE(WaitUntil(
      [&] {
        const RECT r = ReadWindowFacts(pager).rect;
        return r.left == left && r.top == top;
      },
      kDialogTimeoutMs))
      << ReadWindowFacts(pager);
  ParkCursor();
  EXPECT_TRUE(ShotSettled("after-ok"));
  const std::string written = ReadWholeFile(ScratchFile("settings.ini")).value_or("");
  EXPECT_NE(written.find("columns=3\r\n"), std::string::npos) << Printable(written);
  EXPECT_NE(written.find("rows=2\r\n"), std::string::npos) << Printable(written);

  // A new start builds the grid from the file.
  ASSERT_TRUE(PostMessageA(pager, WM_CLOSE, 0, 0));
  ASSERT_TRUE(vuedeck_->WaitExit(kExitTimeoutMs));
  ChildProcess& again = StartAnotherCopy();
  HWND second = WaitForPager(again);
  ASSERT_NE(second, nullptr);
  EXPECT_TRUE(WaitUntil([&] { return GridOf(second) == "3 x 2 (6 cells)"; }, kDialogTimeoutMs))
      << GridOf(second);
  ParkCursor();
  EXPECT_TRUE(ShotSettled("after-restart"));
}

TEST_F(Options, StartApplicationAfterRebootWritesTheRunValueAtOnceAndUncheckingDeletesIt) {
  DeleteRunValue();
  HWND pager = StartPager();
  ASSERT_NE(pager, nullptr);
  HWND dialog = OpenOptions(pager);
  ASSERT_NE(dialog, nullptr);
  ASSERT_TRUE(Press(dialog, "Others"));
  HWND box = nullptr;
  ASSERT_TRUE(WaitUntil(
      [&] { return (box = ControlWithText(dialog, "Button", "Start Application After Reboot")); },
      3000));
  EXPECT_FALSE(RunValue().has_value()) << *RunValue();

  // A click on the box itself (its left end).
  const RECT r = ReadWindowFacts(box).rect;
  const POINT onBox{r.left + 7, (r.top + r.bottom) / 2};
  ASSERT_TRUE(SettlePointerAt(onBox) && ClickAt(onBox.x, onBox.y));
  ASSERT_TRUE(WaitUntil([] { return RunValue().has_value(); }, kDialogTimeoutMs))
      << "no Run value after checking the box";
  EXPECT_TRUE(ShotSettled("checked"));
  EXPECT_EQ(SendMessageA(box, BM_GETCHECK, 0, 0), BST_CHECKED);
  // The program's folder and name without extension, in double quotes.
  const std::string value = *RunValue();
  ASSERT_GE(value.size(), 2u);
  EXPECT_EQ(value.front(), '"') << value;
  EXPECT_EQ(value.back(), '"') << value;
  const std::string inner = value.substr(1, value.size() - 2);
  const std::string suffix = "\\vuedeck";
  ASSERT_GE(inner.size(), suffix.size());
  EXPECT_EQ(inner.substr(inner.size() - suffix.size()), suffix) << value;
  EXPECT_EQ(Canonical(inner + ".exe"), Canonical(ScratchFile("vuedeck.exe"))) << value;

  ASSERT_TRUE(SettlePointerAt(onBox) && ClickAt(onBox.x, onBox.y));
  EXPECT_TRUE(WaitUntil([] { return !RunValue().has_value(); }, kDialogTimeoutMs))
      << "the Run value stayed after unchecking: " << RunValue().value_or("");
  EXPECT_EQ(SendMessageA(box, BM_GETCHECK, 0, 0), BST_UNCHECKED);
  ASSERT_TRUE(Press(dialog, "Cancel"));
  EXPECT_TRUE(WaitUntil([&] { return !IsWindowVisible(dialog); }, kDialogTimeoutMs));
  DeleteRunValue();
}

// The icon is clicked where Wine's task bar draws it: the right end of the task bar's tray, the
// only icon there. Should that click not reach the program, the shell's own report of a
// left-button release is posted to the program's tray window instead (the callback message 512
// with WM_LBUTTONUP as its lParam, as the shell sends it for the icon), and the test says so.
TEST_F(Options, ALeftClickOnTheTrayIconHidesThePagerAndASecondOneShowsIt) {
  HWND pager = StartPager();
  ASSERT_NE(pager, nullptr);
  HWND tray = FindWindowA("Shell_TrayWnd", nullptr);
  ASSERT_NE(tray, nullptr) << "Wine's task bar is missing";
  const RECT bar = ReadWindowFacts(tray).rect;
  const POINT icon{bar.right - 10, (bar.top + bar.bottom) / 2};
  Shot("icon");

  HWND trayForm = nullptr;  // only when the click does not reach the program
  auto clickIcon = [&] {
    if (!trayForm) return SettlePointerAt(icon) && ClickAt(icon.x, icon.y);
    return PostMessageA(trayForm, WM_MOUSEMOVE, 1, WM_LBUTTONUP) != FALSE;
  };
  ASSERT_TRUE(clickIcon());
  if (!WaitUntil([&] { return !IsWindowVisible(pager); }, kDialogTimeoutMs)) {
    // The tray form: the program's hidden window of its own class without size.
    for (HWND w : TopLevelWindowsOf(vuedeck_->Pid(), false)) {
      const WindowFacts f = ReadWindowFacts(w);
      if (IsClass(w, "VuedeckForm") && !f.visible && f.Width() == 0 && f.Height() == 0) {
        trayForm = w;
      }
    }
    ASSERT_NE(trayForm, nullptr) << "the program's tray window was not found";
    std::cout << "[          ] the click at " << icon.x << "," << icon.y << " on the task bar ("
              << DescribeTaskBar() << ") did not reach the program: the shell's message is "
              << "posted to its tray window instead\n";
    ASSERT_TRUE(clickIcon());
    ASSERT_TRUE(WaitUntil([&] { return !IsWindowVisible(pager); }, kDialogTimeoutMs))
        << "the pager still shows after the first click";
  }
  EXPECT_TRUE(ShotSettled("pager-hidden"));
  ASSERT_TRUE(clickIcon());
  EXPECT_TRUE(WaitUntil([&] { return IsWindowVisible(pager) != FALSE; }, kDialogTimeoutMs))
      << "the pager did not come back after the second click";
  EXPECT_TRUE(WaitUntil(
      [&] {
        const WindowFacts f = ReadWindowFacts(pager);
        return !f.alpha || *f.alpha == 255;
      },
      kDialogTimeoutMs))
      << ReadWindowFacts(pager);
  ParkCursor();
  EXPECT_TRUE(ShotSettled("pager-back"));
}

}  // namespace
}  // namespace vde2e
