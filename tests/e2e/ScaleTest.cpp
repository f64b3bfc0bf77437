// The pager and the options dialog at 100, 150 and 200 %: Wine gives a program the scale its
// registry holds (LogPixels) when the program starts.
#include "E2eTest.h"

namespace vde2e {

// The screen's scale of the programs started from now on; 100 % again at its end.
class ScreenScale {
 public:
  explicit ScreenScale(DWORD dpi) { Write(dpi); }
  ~ScreenScale() { Write(96); }
  ScreenScale(const ScreenScale&) = delete;
  ScreenScale& operator=(const ScreenScale&) = delete;

 private:
  static void Write(DWORD dpi) {
    for (auto [root, key] : {std::pair{HKEY_CURRENT_USER, "Control Panel\\Desktop"},
                             {HKEY_CURRENT_CONFIG, "Software\\Fonts"}}) {
      RegSetKeyValueA(root, key, "LogPixels", REG_DWORD, &dpi, sizeof dpi);
    }
  }
};

// What does not fit in `root` at the scale: each shown control with a caption whose text is
// wider or taller than the control (measured in the toolkit's face at its size for the scale,
// bold, the wider of its two weights), and each control that sticks out of the window. Fields
// and lists scroll their text, and are left out. Empty when everything fits.
std::string Misfits(HWND root, int dpi) {
  HDC dc = CreateCompatibleDC(nullptr);
  HFONT font = CreateFontW(-MulDiv(825, dpi, 7200), 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE,
                           DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                           DEFAULT_QUALITY, DEFAULT_PITCH | FF_SWISS, L"Tahoma");
  HGDIOBJ old = SelectObject(dc, font);
  const RECT window = RectOf(root);
  std::string misfits;
  for (const Child& c : ChildrenOf(root)) {
    RECT inside{};
    if (!IntersectRect(&inside, &c.rect, &window) || !EqualRect(&inside, &c.rect)) {
      misfits += " [" + c.text + " sticks out]";
    }
    if (c.text.empty() || !_stricmp(c.className.c_str(), "Edit") ||
        !_stricmp(c.className.c_str(), "ComboBox")) {
      continue;
    }
    // A box's caption stands beside the box; a button's on one line.
    const bool button = !_stricmp(c.className.c_str(), "Button");
    const bool box = button && (GetWindowLongA(c.hwnd, GWL_STYLE) & BS_TYPEMASK) == BS_CHECKBOX;
    const int width = c.rect.right - c.rect.left - (box ? MulDiv(16, dpi, 96) : 2);
    RECT need{0, 0, width, 0};
    const std::wstring text = vd::win32::Widen(c.text);
    DrawTextW(dc, text.c_str(), -1, &need,
              DT_CALCRECT | DT_NOPREFIX | (button ? DT_SINGLELINE : DT_WORDBREAK));
    if (need.right > width || need.bottom > c.rect.bottom - c.rect.top) {
      misfits += " [" + c.text + ": " + std::to_string(need.right) + " x " +
                 std::to_string(need.bottom) + " in " + std::to_string(width) + " x " +
                 std::to_string(c.rect.bottom - c.rect.top) + "]";
    }
  }
  SelectObject(dc, old);
  DeleteObject(font);
  DeleteDC(dc);
  return misfits;
}

// Tells the window, as the system does, that its screen's scale is now `dpi`, suggesting `place`
// (the suggestion is written into the window's process, where the message is read).
bool ChangeScale(HWND window, int dpi, const RECT& place) {
  DWORD pid = 0;
  GetWindowThreadProcessId(window, &pid);
  HANDLE process = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_WRITE, FALSE, pid);
  if (!process) return false;
  void* remote = VirtualAllocEx(process, nullptr, sizeof place, MEM_COMMIT, PAGE_READWRITE);
  const bool sent =
      remote && WriteProcessMemory(process, remote, &place, sizeof place, nullptr) &&
      SendMessageTimeoutA(window, 0x02E0 /* WM_DPICHANGED */, MAKEWPARAM(dpi, dpi),
                          reinterpret_cast<LPARAM>(remote), SMTO_ABORTIFHUNG, kWaitMs, nullptr);
  if (remote) VirtualFreeEx(process, remote, 0, MEM_RELEASE);
  CloseHandle(process);
  return sent;
}

using Scale = E2eTest;

// At each scale the pager takes the same share of the screen at the same place, its rows grow
// with the scale, and every caption of the pager, of each page of the options dialog and of the
// About box fits.
TEST_F(Scale, ThePagerAndTheOptionsFitTheirTextAtEveryScale) {
  // Two windows for the miniatures, taken on at each start.
  ASSERT_TRUE(Open("Mail", {40, 420, 560, 900}, 0x30A0E0) &&
              Open("Notes", {700, 520, 1240, 940}, 0x60B060));
  for (const int dpi : {96, 144, 192}) {
    const ScreenScale scale(dpi);
    HWND pager = Start();
    ASSERT_TRUE(pager) << dpi;
    // A quarter of the screen wide, 600,100 from its corner (settings.ini), at every scale.
    EXPECT_NEAR(RectOf(pager).left, 600, 1) << dpi;
    const auto expectLaidOutFor = [&](int scale) {
      const std::vector<RECT> cells = Cells(pager);
      ASSERT_EQ(cells.size(), 6u) << scale;
      EXPECT_NEAR(cells[2].right - cells[0].left, 1280 / 4, 6) << scale;
      const RECT field = RectOf(ChildWith(pager, "Edit", ""));
      EXPECT_EQ(field.bottom - field.top, MulDiv(16, scale, 96)) << scale;
      EXPECT_EQ(Misfits(pager, scale), "") << scale;
    };
    expectLaidOutFor(dpi);
    if (dpi == 96) {
      // Moved to a screen at 200 %, and back: laid out again each time, where suggested.
      for (const auto& [next, left] : {std::pair{192, 500}, {96, 600}}) {
        ASSERT_TRUE(ChangeScale(pager, next, {left, 100, left + 400, 500})) << next;
        EXPECT_NEAR(RectOf(pager).left, left, 1) << next;
        expectLaidOutFor(next);
      }
    }
    if (dpi == 144) ShotOf(pager, "pager-150");

    HWND dialog = nullptr;
    ASSERT_TRUE(ClickOn(ChildWith(pager, "Button", "...")) && ChooseFromMenu({}) &&
                WaitUntil([&] { return IsWindowVisible(dialog = FindWindowA(0, "Options")); }))
        << dpi;
    for (const char* page : {"Application", "Others", "Desktops", "Panic", "Appearance", "Keys"}) {
      ASSERT_TRUE(ClickOn(ChildWith(dialog, "Button", page))) << page;
      Sleep(200);  // the page's controls shown
      EXPECT_EQ(Misfits(dialog, dpi), "") << dpi << " " << page;
    }
    Shot(std::to_string(dpi) + "-dpi");
    EXPECT_TRUE(ClickOn(ChildWith(dialog, "Button", "Cancel")) && WaitShown({dialog}, false));
    // The program's own message boxes share the About box's frame.
    HWND about = nullptr;
    ASSERT_TRUE(ClickOn(ChildWith(pager, "Button", "...")) && ChooseFromMenu({VK_DOWN}) &&
                WaitUntil([&] {
                  const std::vector<HWND> shown = WindowsOf(Vuedeck().Pid());
                  return (about = shown.empty() ? nullptr : shown.front()) != pager;
                }))
        << dpi;
    EXPECT_EQ(Misfits(about, dpi), "") << dpi << " About";
    EXPECT_TRUE(ClickOn(ChildWith(about, "Button", "Ok")) && WaitShown({about}, false));
    ASSERT_TRUE(CloseAndWaitForExit()) << dpi;
  }
}

}  // namespace vde2e
