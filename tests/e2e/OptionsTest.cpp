// The options dialog, start with Windows and the tray icon, seen from outside, in one session:
// the dialog opened from the pager's main menu and closed with Alt+F4 as with Cancel (the pager
// hides with its hotkey again, and the dialog opens again as it was), every page as the user sees
// it, the Run value written and deleted at once by "Start Application After Reboot", a new grid
// applied with OK and kept over a restart, and the pager put away and brought back with the tray
// icon.
#include <algorithm>
#include <cctype>
#include <iostream>
#include <map>
#include <optional>
#include <set>

#include "ProgramTest.h"

namespace vde2e {
namespace {

constexpr char kRunKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr DWORD kDialogTimeoutMs = 5000;

// The window's text, asked of the window itself.
std::string TextOf(HWND hwnd) {
  char text[256] = "";
  SendMessageTimeoutA(hwnd, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text),
                      SMTO_ABORTIFHUNG, 2000, nullptr);
  return text;
}

// The visible control of the class with exactly this text, or null.
HWND ControlWithText(HWND root, const char* className, const std::string& text) {
  for (const Child& c : ChildrenOf(root)) {
    if (c.visible && c.Is(className) && c.text == text) return c.hwnd;
  }
  return nullptr;
}

// The visible edit fields, row by row, left to right.
std::vector<HWND> EditFields(HWND root) {
  std::vector<Child> edits = ChildrenOf(root);
  std::erase_if(edits, [](const Child& c) { return !c.visible || !c.Is("Edit"); });
  std::sort(edits.begin(), edits.end(), [](const Child& a, const Child& b) {
    return a.rect.top != b.rect.top ? a.rect.top < b.rect.top : a.rect.left < b.rect.left;
  });
  std::vector<HWND> handles;
  for (const Child& c : edits) handles.push_back(c.hwnd);
  return handles;
}

// "3 x 2 (6 cells)" when the pager's cells (its large child windows of the program's own
// class) stand in three columns and two rows.
std::string GridOf(HWND pager) {
  std::set<LONG> lefts, tops;
  int cells = 0;
  for (const Child& c : ChildrenOf(pager)) {
    if (!c.visible || !c.Is("VuedeckControl") || c.rect.right - c.rect.left < 40 ||
        c.rect.bottom - c.rect.top < 40) {
      continue;
    }
    lefts.insert(c.rect.left);
    tops.insert(c.rect.top);
    ++cells;
  }
  return std::to_string(lefts.size()) + " x " + std::to_string(tops.size()) + " (" +
         std::to_string(cells) + " cells)";
}

bool ClickCenterOf(HWND control) { return control && ClickPoint(Middle(RectOf(control))); }

// The entries of every list box of the dialog (its combo boxes, on every page), by window. Asked
// in wide characters: the program's controls are Unicode windows, and asked from another
// process in ANSI they gave only the first character of each entry under Wine.
using Lists = std::map<HWND, std::vector<std::string>>;
Lists ListsOf(HWND dialog) {
  Lists lists;
  for (const Child& c : ChildrenOf(dialog)) {
    if (!c.Is("ComboBox")) continue;
    const HWND combo = c.hwnd;
    DWORD_PTR count = 0;
    SendMessageTimeoutA(combo, CB_GETCOUNT, 0, 0, SMTO_ABORTIFHUNG, 2000, &count);
    std::vector<std::string>& items = lists[combo];
    for (WPARAM i = 0; i < count; ++i) {
      wchar_t text[256] = L"";
      SendMessageTimeoutW(combo, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG,
                          2000, nullptr);
      items.push_back(std::string(text, text + wcslen(text)));
    }
  }
  return lists;
}

// How many lists hold the entry.
int ListsHolding(const Lists& lists, const std::string& entry) {
  return static_cast<int>(std::count_if(lists.begin(), lists.end(), [&](const auto& list) {
    return std::count(list.second.begin(), list.second.end(), entry) > 0;
  }));
}

// The first entry that a list holds twice, or nothing.
std::optional<std::string> Repeated(const Lists& lists) {
  for (const auto& [combo, items] : lists) {
    for (const std::string& item : items) {
      if (std::count(items.begin(), items.end(), item) > 1) return item;
    }
  }
  return std::nullopt;
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

// What Wine's task bar holds, for a message.
std::string DescribeTaskBar() {
  HWND tray = FindWindowA("Shell_TrayWnd", nullptr);
  std::string out = tray ? "Shell_TrayWnd" : "no Shell_TrayWnd";
  for (const Child& c : tray ? ChildrenOf(tray) : std::vector<Child>{}) {
    if (c.visible) out += "; " + c.className + " '" + c.text + "' " + Describe(c.rect);
  }
  return out;
}

class Options : public ProgramTest {
 protected:
  void TearDown() override {
    DeleteRunValue();
    ProgramTest::TearDown();
  }

  // Opens the dialog the way the user does: a click on the pager's menu button, then the menu
  // is worked from the keyboard: Down selects its first entry, "Options...", Enter chooses it.
  // (Clicking the entry itself was not reliable under Wine: the click was seen to leave the
  // menu open with the entry merely highlighted.) The pointer stays on the button, off the
  // menu, so that no entry is highlighted by hovering before Down.
  HWND OpenOptions() {
    if (!ClickCenterOf(ButtonCaptioned(Pager(), "..."))) return nullptr;
    if (!WaitUntil([] { return VisiblePopupMenu() != nullptr; }, kDialogTimeoutMs)) {
      return nullptr;
    }
    Shot("main-menu");
    PressChord({VK_DOWN});
    PressChord({VK_RETURN});
    HWND dialog = nullptr;
    WaitUntil(
        [&] {
          for (HWND w : TopLevelWindowsOf(Vuedeck().Pid(), true)) {
            if (TextOf(w) == "Options") dialog = w;
          }
          return dialog != nullptr;
        },
        kDialogTimeoutMs);
    return dialog;
  }

  // Saves a screenshot once the screen has stopped changing (what Wine draws reaches the screen
  // a moment after the call that drew it, and a page or a new grid is drawn piece by piece).
  bool ShotSettled(const std::string& step) {
    ParkCursor();
    std::vector<uint8_t> previous;
    int same = 0;
    return ShotUntil(step, [&](const vdtools::Image& shot) {
      same = shot.rgb == previous ? same + 1 : 0;
      previous = shot.rgb;
      return same >= 4;
    });
  }

  // Clicks the page button `page` and waits for the control `shows` of that page.
  ::testing::AssertionResult Page(HWND dialog, const std::string& page, const char* shows) {
    if (!ClickCenterOf(ControlWithText(dialog, "Button", page))) {
      return ::testing::AssertionFailure() << "no button " << page;
    }
    if (!WaitUntil([&] { return ControlWithText(dialog, "Button", shows) != nullptr; }, 3000)) {
      return ::testing::AssertionFailure() << page << " shows no " << shows;
    }
    return ::testing::AssertionSuccess();
  }

  // Types over an edit field: a click into it, End, Backspaces, then the text.
  static bool TypeInto(HWND edit, const std::string& text) {
    if (!ClickCenterOf(edit)) return false;
    PressChord({VK_END});
    for (int i = 0; i < 4; ++i) PressChord({VK_BACK});
    for (char c : text) PressChord({static_cast<WORD>(c)});
    return true;
  }
};

TEST_F(Options, PagesRunValueAndA3By2GridKeptOverARestartThenTheTrayIconTogglesThePager) {
  DeleteRunValue();
  settings.Set("SETUP", "columns", "2");
  settings.Set("SETUP", "rows", "2");
  HWND pager = StartAndWaitForPager();
  ASSERT_NE(pager, nullptr);
  ASSERT_TRUE(WaitUntil([&] { return GridOf(pager) == "2 x 2 (4 cells)"; }, kDialogTimeoutMs))
      << GridOf(pager);

  HWND dialog = OpenOptions();
  ASSERT_NE(dialog, nullptr) << "the Options dialog did not open from the main menu";
  EXPECT_TRUE(WaitUntil([&] { return ReadWindowFacts(dialog).topmost; }, kDialogTimeoutMs))
      << FactsOf({dialog});
  EXPECT_TRUE(ReadWindowFacts(dialog).Borderless()) << FactsOf({dialog});

  // Alt+F4 on the dialog is Cancel: it goes, the hide/unhide hotkey (Ctrl+F12 in the test
  // settings) puts the pager away and back, and opened once more the dialog lists each modifier
  // and key once, as the first time.
  const Lists lists = ListsOf(dialog);
  ASSERT_EQ(ListsHolding(lists, "CTRL"), 3) << "the desktops', panic and hide/unhide modifiers";
  ASSERT_EQ(ListsHolding(lists, "F12"), 3) << "the desktops', panic and hide/unhide keys";
  EXPECT_FALSE(Repeated(lists).has_value()) << *Repeated(lists);
  ASSERT_TRUE(PressChord({VK_MENU, VK_F4}));
  ASSERT_TRUE(WaitUntil([&] { return !IsWindowVisible(dialog); }, kDialogTimeoutMs))
      << "Alt+F4 left the dialog open";
  auto pagerAfterHideKey = [&](bool shown) {
    if (!PressChord({VK_CONTROL, VK_F12})) return false;
    return WaitUntil(
        [&] {
          const WindowFacts f = ReadWindowFacts(pager);  // shown means opaque again, too
          return shown ? f.visible && f.alpha.value_or(255) == 255 : !f.visible;
        },
        kDialogTimeoutMs);
  };
  EXPECT_TRUE(pagerAfterHideKey(false)) << "Ctrl+F12 did not hide the pager:" << FactsOf({pager});
  EXPECT_TRUE(ShotSettled("closed-with-alt-f4-and-pager-hidden"));
  EXPECT_TRUE(pagerAfterHideKey(true)) << "Ctrl+F12 did not bring it back:" << FactsOf({pager});
  dialog = OpenOptions();
  ASSERT_NE(dialog, nullptr) << "the Options dialog did not open again";
  const Lists again = ListsOf(dialog);
  EXPECT_EQ(again, lists) << "opened again, the dialog's lists are not those of the first time";

  // Every page, as the user sees it.
  EXPECT_TRUE(ShotSettled("page-general-application"));
  ASSERT_TRUE(Page(dialog, "Others", "Start Application After Reboot"));
  EXPECT_TRUE(ShotSettled("page-general-others"));

  // A click on the box of "Start Application After Reboot" (its left end) writes the Run value
  // at once: the program's folder and name without extension, in double quotes; a second click
  // deletes it.
  HWND box = ControlWithText(dialog, "Button", "Start Application After Reboot");
  EXPECT_FALSE(RunValue().has_value()) << *RunValue();
  const RECT r = RectOf(box);
  const POINT onBox{r.left + 7, (r.top + r.bottom) / 2};
  ASSERT_TRUE(ClickPoint(onBox));
  ASSERT_TRUE(WaitUntil([] { return RunValue().has_value(); }, kDialogTimeoutMs))
      << "no Run value after checking the box";
  EXPECT_EQ(SendMessageA(box, BM_GETCHECK, 0, 0), BST_CHECKED);
  const std::string value = *RunValue();
  ASSERT_GE(value.size(), 2u);
  EXPECT_TRUE(value.front() == '"' && value.back() == '"') << value;
  EXPECT_EQ(Canonical(value.substr(1, value.size() - 2) + ".exe"),
            Canonical(ScratchFile("vuedeck.exe")))
      << value;
  ASSERT_TRUE(ClickPoint(onBox));
  EXPECT_TRUE(WaitUntil([] { return !RunValue().has_value(); }, kDialogTimeoutMs))
      << "the Run value stayed after unchecking: " << RunValue().value_or("");
  EXPECT_EQ(SendMessageA(box, BM_GETCHECK, 0, 0), BST_UNCHECKED);

  ASSERT_TRUE(Page(dialog, "Desktops", "Hotkey Enabled"));
  EXPECT_TRUE(ShotSettled("page-desktops"));
  ASSERT_TRUE(Page(dialog, "Panic", "Enabled Panic Hotkeys"));
  EXPECT_TRUE(ShotSettled("page-panic"));
  ASSERT_TRUE(Page(dialog, "Appearance", "Change..."));
  EXPECT_TRUE(ShotSettled("page-appearance"));
  ASSERT_TRUE(Page(dialog, "General", "Application"));
  ASSERT_TRUE(ClickCenterOf(ControlWithText(dialog, "Button", "Application")));
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
        const RECT now = RectOf(pager);
        return now.left == left && now.top == top;
      },
      kDialogTimeoutMs))
      << FactsOf({pager});
  EXPECT_TRUE(ShotSettled("after-ok"));
  const std::string written = ReadWholeFile(ScratchFile("settings.ini")).value_or("");
  EXPECT_NE(written.find("columns=3\r\n"), std::string::npos) << Printable(written);
  EXPECT_NE(written.find("rows=2\r\n"), std::string::npos) << Printable(written);

  // A new start builds the grid from the file.
  ASSERT_TRUE(CloseAndWaitForExit());
  pager = StartAndWaitForPager(true);
  ASSERT_NE(pager, nullptr);
  EXPECT_TRUE(WaitUntil([&] { return GridOf(pager) == "3 x 2 (6 cells)"; }, kDialogTimeoutMs))
      << GridOf(pager);
  EXPECT_TRUE(ShotSettled("after-restart"));

  // The tray icon is clicked where Wine's task bar draws it: the right end of the task bar's
  // tray, the only icon there. Should that click not reach the program, the shell's own report
  // of a left-button release is posted to the program's tray window instead (the callback
  // message 512 with WM_LBUTTONUP as its lParam, as the shell sends it for the icon), and the
  // test says so.
  HWND tray = FindWindowA("Shell_TrayWnd", nullptr);
  ASSERT_NE(tray, nullptr) << "Wine's task bar is missing";
  const RECT bar = RectOf(tray);
  const POINT icon{bar.right - 10, (bar.top + bar.bottom) / 2};
  HWND trayForm = nullptr;  // only when the click does not reach the program
  auto clickIcon = [&] {
    if (!trayForm) return ClickPoint(icon);
    return PostMessageA(trayForm, WM_MOUSEMOVE, 1, WM_LBUTTONUP) != FALSE;
  };
  ASSERT_TRUE(clickIcon());
  if (!WaitUntil([&] { return !IsWindowVisible(pager); }, kDialogTimeoutMs)) {
    // The tray form: the program's hidden window of its own class without size.
    for (HWND w : TopLevelWindowsOf(Vuedeck().Pid(), false)) {
      const WindowFacts f = ReadWindowFacts(w);
      if (ClassOf(w) == "VuedeckForm" && !f.visible && f.Width() == 0 && f.Height() == 0) {
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
  EXPECT_TRUE(WaitUntil(
      [&] {
        const WindowFacts f = ReadWindowFacts(pager);
        return f.visible && (!f.alpha || *f.alpha == 255);
      },
      kDialogTimeoutMs))
      << "the pager did not come back after the second click:" << FactsOf({pager});
  EXPECT_TRUE(ShotSettled("pager-back"));
}

}  // namespace
}  // namespace vde2e
