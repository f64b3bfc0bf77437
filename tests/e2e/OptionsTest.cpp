// The options dialog, start with Windows and the tray icon, in one session: the dialog opened
// from the pager's main menu (top-most) and closed with Alt+F4, opened again, every page as the
// user sees it, the Run value written and deleted at once by "Start Application After Reboot",
// a 3 x 2 grid typed in, applied with OK and kept over a restart, and the pager put away and
// brought back with the tray icon.
#include <algorithm>
#include <optional>

#include "E2eTest.h"

namespace vde2e {
namespace {

constexpr char kRunKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";

// The current user's Run value, or nothing when there is none.
std::optional<std::string> RunValue() {
  char data[1024] = "";
  DWORD size = sizeof data - 1;
  if (RegGetValueA(HKEY_CURRENT_USER, kRunKey, "VUEDECK", RRF_RT_REG_SZ, nullptr, data, &size)) {
    return std::nullopt;
  }
  return std::string(data);
}

// Columns x rows of the pager's cells, e.g. "3 x 2".
std::string GridOf(HWND pager) {
  const std::vector<RECT> cells = Cells(pager);
  int columns = 0;
  while (columns < int(cells.size()) && cells[columns].top == cells[0].top) ++columns;
  return std::to_string(columns) + " x " + std::to_string(columns ? cells.size() / columns : 0);
}

class Options : public E2eTest {
 protected:
  void TearDown() override {
    RegDeleteKeyValueA(HKEY_CURRENT_USER, kRunKey, "VUEDECK");
    E2eTest::TearDown();
  }

  // A click on the menu button, then Options... chosen with the keyboard: clicking the entry
  // was seen to leave the menu open with the entry merely highlighted under Wine. The dialog.
  HWND OpenOptions() {
    if (!ClickOn(ChildWith(Pager(), "Button", "...")) || !ChooseFromMenu({})) return nullptr;
    HWND dialog = nullptr;
    WaitUntil([&] { return IsWindowVisible(dialog = FindWindowA(nullptr, "Options")); });
    return dialog;
  }

  // Clicks the page button and waits for a control of that page; saves the page's picture.
  bool Page(HWND dialog, const char* page, const char* shows, const std::string& step) {
    const bool shown = ClickOn(ChildWith(dialog, "Button", page)) &&
                       WaitUntil([&] { return ChildWith(dialog, "Button", shows) != nullptr; });
    SetCursorPos(GetSystemMetrics(SM_CXSCREEN) - 1, GetSystemMetrics(SM_CYSCREEN) - 1);
    Shot(step);
    return shown;
  }
};

TEST_F(Options, PagesRunValueAndA3By2GridKeptOverARestartThenTheTrayIconTogglesThePager) {
  RegDeleteKeyValueA(HKEY_CURRENT_USER, kRunKey, "VUEDECK");
  Set("SETUP", "columns", "2");
  HWND pager = Start();
  ASSERT_NE(pager, nullptr);
  ASSERT_EQ(GridOf(pager), "2 x 2");

  HWND dialog = OpenOptions();
  ASSERT_NE(dialog, nullptr) << "the Options dialog did not open from the main menu";
  EXPECT_TRUE(WaitUntil([&] { return Topmost(dialog); })) << Facts({dialog});
  ASSERT_TRUE(PressChord({VK_MENU, VK_F4}));
  ASSERT_TRUE(WaitShown({dialog}, false)) << "Alt+F4 left the dialog open";
  dialog = OpenOptions();
  ASSERT_NE(dialog, nullptr) << "the Options dialog did not open again";

  // Columns and rows are the first row of fields of the page it opens on, General/Application.
  std::vector<Child> fields;
  ASSERT_TRUE(WaitUntil([&] {
    fields = ChildrenOf(dialog);
    std::erase_if(
        fields, [](const Child& c) { return !c.visible || _stricmp(c.className.c_str(), "Edit"); });
    return fields.size() == 4;
  }));
  std::sort(fields.begin(), fields.end(), [](const Child& a, const Child& b) {
    return std::pair(a.rect.top, a.rect.left) < std::pair(b.rect.top, b.rect.left);
  });
  for (auto [field, digit] : {std::pair{fields[0].hwnd, '3'}, {fields[1].hwnd, '2'}}) {
    ASSERT_TRUE(ClickOn(field) && PressChord({VK_END}));
    for (WORD key : {WORD(VK_BACK), WORD(VK_BACK), WORD(VK_BACK), WORD(digit)}) PressChord({key});
  }
  Shot("typed-3-by-2");

  // A click on the box of "Start Application After Reboot" (its left end) writes the Run value
  // at once: the program's folder and name without extension, in double quotes; a second click
  // deletes it.
  ASSERT_TRUE(Page(dialog, "Others", "Start Application After Reboot", "page-general-others"));
  const RECT box = RectOf(ChildWith(dialog, "Button", "Start Application After Reboot"));
  ASSERT_FALSE(RunValue().has_value()) << *RunValue();
  ASSERT_TRUE(ClickAt({box.left + 7, Middle(box).y}));
  ASSERT_TRUE(WaitUntil([] { return RunValue().has_value(); })) << "no Run value";
  EXPECT_EQ(_stricmp(RunValue()->c_str(), ("\"" + ScratchFile("vuedeck") + "\"").c_str()), 0)
      << *RunValue();
  ASSERT_TRUE(ClickAt({box.left + 7, Middle(box).y}));
  EXPECT_TRUE(WaitUntil([] { return !RunValue().has_value(); })) << RunValue().value_or("");
  EXPECT_TRUE(Page(dialog, "Desktops", "Hotkey Enabled", "page-desktops"));
  EXPECT_TRUE(Page(dialog, "Panic", "Enabled Panic Hotkeys", "page-panic"));
  EXPECT_TRUE(Page(dialog, "Appearance", "Change...", "page-appearance"));
  ASSERT_TRUE(ClickOn(ChildWith(dialog, "Button", "OK")));
  EXPECT_TRUE(WaitShown({dialog}, false));
  EXPECT_TRUE(WaitUntil([&] { return GridOf(pager) == "3 x 2"; })) << GridOf(pager);
  Shot("after-ok");

  // A new start builds the grid from the file.
  ASSERT_TRUE(CloseAndWaitForExit());
  pager = Start(true);
  ASSERT_NE(pager, nullptr);
  EXPECT_EQ(GridOf(pager), "3 x 2");

  // The tray icon: the only icon at the right end of Wine's task bar. A click puts the pager
  // away, the next brings it back.
  const RECT bar = RectOf(FindWindowA("Shell_TrayWnd", nullptr));
  ASSERT_FALSE(IsRectEmpty(&bar)) << "Wine's task bar is missing";
  ASSERT_TRUE(ClickAt({bar.right - 10, Middle(bar).y}));
  EXPECT_TRUE(WaitShown({pager}, false)) << "the first click on the tray icon left the pager";
  Shot("pager-hidden");
  ASSERT_TRUE(ClickAt({bar.right - 10, Middle(bar).y}));
  EXPECT_TRUE(WaitUntil([&] { return IsWindowVisible(pager) && AlphaOf(pager) == 255; }))
      << "the second click did not bring the pager back:" << Facts({pager});
  Shot("pager-back");
}

}  // namespace
}  // namespace vde2e
