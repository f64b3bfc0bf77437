// The options dialog (a desktop named on its way), start with Windows and the tray icon, in one
// session.
#include "E2eTest.h"

namespace vde2e {

constexpr char kRunKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";

static std::optional<std::string> RunValue() {
  char data[1024] = "";
  DWORD size = sizeof data - 1;
  const LONG error =
      RegGetValueA(HKEY_CURRENT_USER, kRunKey, "VUEDECK", RRF_RT_REG_SZ, 0, data, &size);
  return error ? std::nullopt : std::optional<std::string>(data);
}

static std::string GridOf(HWND pager) {  // e.g. "3 x 2"
  const std::vector<RECT> cells = Cells(pager);
  int columns = 0;
  while (columns < int(cells.size()) && cells[columns].top == cells[0].top) ++columns;
  return std::to_string(columns) + " x " + std::to_string(columns ? cells.size() / columns : 0);
}

using Options = E2eTest;

TEST_F(Options, PagesRunValueAndA3By2GridKeptOverARestartThenTheTrayIconTogglesThePager) {
  struct NoRunValue {
    NoRunValue() { RegDeleteKeyValueA(HKEY_CURRENT_USER, kRunKey, "VUEDECK"); }
    ~NoRunValue() { RegDeleteKeyValueA(HKEY_CURRENT_USER, kRunKey, "VUEDECK"); }
  } runValueGone;
  Set("SETUP", "columns", "2");
  HWND pager = Start();
  ASSERT_TRUE(pager);
  // Options... from the main menu, chosen with the keyboard (a click on the entry was seen to
  // leave the menu open with the entry merely highlighted under Wine).
  HWND dialog = nullptr;
  auto openOptions = [&] {
    return ClickOn(ChildWith(pager, "Button", "...")) && ChooseFromMenu({}) &&
           WaitUntil([&] { return IsWindowVisible(dialog = FindWindowA(0, "Options")); });
  };
  ASSERT_EQ(GridOf(pager), "2 x 2");

  ASSERT_TRUE(openOptions());
  EXPECT_TRUE(WaitUntil([&] { return Topmost(dialog); })) << Facts({dialog});
  ASSERT_TRUE(PressChord({VK_MENU, VK_F4}) && WaitShown({dialog}, false));
  ASSERT_TRUE(openOptions());

  // Columns and rows are the first row of fields of the page it opens on, General/Application.
  std::vector<Child> fields;
  ASSERT_TRUE(WaitUntil([&] {
    fields = ChildrenOf(dialog);
    std::erase_if(fields, [](const Child& c) { return _stricmp(c.className.c_str(), "Edit"); });
    return fields.size() == 4;
  }));
  for (auto [field, digit] : {std::pair{fields[0].hwnd, '3'}, {fields[1].hwnd, '2'}}) {
    ASSERT_TRUE(ClickOn(field) && PressChord({VK_END}));
    for (WORD key : {WORD(VK_BACK), WORD(VK_BACK), WORD(VK_BACK), WORD(digit)}) PressChord({key});
  }
  Shot("typed-3-by-2");

  for (auto [page, shows] :
       {std::pair<std::string, std::string>{"Others", "Start Application After Reboot"},
        {"Desktops", "Hotkey Enabled"},
        {"Panic", "Enabled Panic Hotkeys"},
        {"Appearance", "Change..."},
        {"Keys", "Wrap around the grid's edges"}}) {
    EXPECT_TRUE(ClickOn(ChildWith(dialog, "Button", page)) &&
                WaitUntil([&] { return ChildWith(dialog, "Button", shows) != nullptr; }))
        << page;
    Shot("page-" + page);
    if (page == "Desktops") {
      // Desktop 2 chosen in the dropped list of desktops (the page's first list) with the
      // keyboard, then named "Mail" in the page's one field.
      std::vector<Child> lists = ChildrenOf(dialog);
      std::erase_if(lists,
                    [](const Child& c) { return _stricmp(c.className.c_str(), "ComboBox"); });
      ASSERT_FALSE(lists.empty());
      const HWND list = lists[0].hwnd;
      ASSERT_TRUE(ClickOn(list) &&
                  WaitUntil([&] { return SendMessageA(list, CB_GETDROPPEDSTATE, 0, 0) != 0; }));
      for (WORD key : {WORD(VK_HOME), WORD(VK_DOWN), WORD(VK_RETURN)}) PressChord({key});
      ASSERT_TRUE(WaitUntil([&] { return TextOf(list) == "Desktop 2"; })) << TextOf(list);
      const HWND name = ChildWith(dialog, "Edit", "");
      ASSERT_TRUE(ClickOn(name) && TypeUnicode(L"Mail"));
      EXPECT_TRUE(WaitUntil([&] { return TextOf(name) == "Mail"; })) << TextOf(name);
      Shot("desktop-2-named");
    }
    if (page != "Others") continue;
    // A click on the box of "Start Application After Reboot" (its left end) writes the Run
    // value at once: the program's folder and name without extension, in double quotes; a
    // second click deletes it.
    const RECT box = RectOf(ChildWith(dialog, "Button", shows));
    ASSERT_FALSE(RunValue().has_value()) << *RunValue();
    ASSERT_TRUE(ClickAt({box.left + 7, Middle(box).y}));
    ASSERT_TRUE(WaitUntil([] { return RunValue().has_value(); }));
    EXPECT_STRCASEEQ(RunValue()->c_str(), ("\"" + ScratchFile("vuedeck") + "\"").c_str());
    ASSERT_TRUE(ClickAt({box.left + 7, Middle(box).y}));
    EXPECT_TRUE(WaitUntil([] { return !RunValue().has_value(); })) << RunValue().value_or("");
  }
  EXPECT_TRUE(ClickOn(ChildWith(dialog, "Button", "OK")) && WaitShown({dialog}, false));
  EXPECT_TRUE(WaitUntil([&] { return GridOf(pager) == "3 x 2"; })) << GridOf(pager);
  Shot("after-ok");
  // The name stands in desktop 2's cell and, once desktop 2 is opened, in the status caption.
  const auto named = [&] {
    return ChildWith(pager, "VuedeckControl", "Mail") != nullptr &&
           ChildWith(pager, "VuedeckControl", "2: Mail") != nullptr;
  };
  EXPECT_TRUE(Hotkey(2) && WaitUntil(named)) << Facts({pager});
  Shot("named-desktop");

  // A new start builds the grid from the file.
  ASSERT_TRUE(CloseAndWaitForExit() && (pager = Start()));
  EXPECT_EQ(GridOf(pager), "3 x 2");
  EXPECT_TRUE(WaitUntil([&] { return ChildWith(pager, "VuedeckControl", "Mail") != nullptr; }));

  // The tray icon, the only one at the right end of Wine's task bar: a click puts the pager
  // away, the next brings it back.
  const RECT bar = RectOf(FindWindowA("Shell_TrayWnd", nullptr));
  ASSERT_FALSE(IsRectEmpty(&bar)) << "Wine's task bar is missing";
  EXPECT_TRUE(ClickAt({bar.right - 10, Middle(bar).y}) && WaitShown({pager}, false));
  Shot("pager-hidden");
  ASSERT_TRUE(ClickAt({bar.right - 10, Middle(bar).y}));
  EXPECT_TRUE(WaitUntil([&] { return IsWindowVisible(pager) && AlphaOf(pager) == 255; }))
      << Facts({pager});
  Shot("pager-back");
}

}  // namespace vde2e
