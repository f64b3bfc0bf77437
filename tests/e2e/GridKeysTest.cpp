// The keys about the grid on real windows, with their built-in combinations (WIN+CTRL+ALT, with
// SHIFT to carry the front window).
#include "E2eTest.h"

namespace vde2e {

using GridKeys = E2eTest;

// Presses WIN+CTRL+ALT with these keys, as the built-in grid keys are.
bool GridChord(std::initializer_list<WORD> more) {
  std::vector<WORD> chord{VK_LWIN, VK_CONTROL, VK_MENU};
  chord.insert(chord.end(), more);
  std::vector<INPUT> events;
  for (size_t i = 0; i < 2 * chord.size(); ++i) {
    const bool up = i >= chord.size();
    INPUT e{INPUT_KEYBOARD, {}};
    e.ki.wVk = chord[up ? 2 * chord.size() - 1 - i : i];
    e.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    events.push_back(e);
  }
  return SendInput(events.size(), events.data(), sizeof(INPUT)) == events.size();
}

// A switch shows the windows without activating each and gives the focus back once, to the
// window the user left in front: here the middle one of three, with the newest raised above it.
TEST_F(GridKeys, ASwitchGivesTheFocusBackToTheWindowLeftInFront) {
  HWND pager = Start();
  ASSERT_TRUE(pager);
  HWND first = OpenManaged("First", {100, 500, 500, 800}, 0x3060C0);
  HWND middle = OpenManaged("Middle", {600, 500, 1000, 800}, 0x40A040);
  HWND last = OpenManaged("Last", {300, 300, 700, 600}, 0xA04040);
  ASSERT_TRUE(first && middle && last);
  ASSERT_TRUE(Maker("front", "Middle") &&
              WaitUntil([&] { return GetForegroundWindow() == middle; }));
  SetWindowPos(last, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  EXPECT_TRUE(GridChord({VK_RIGHT}) && WaitShown({first, middle, last}, false));
  EXPECT_TRUE(GridChord({VK_LEFT}) && WaitShown({first, middle, last}, true));
  EXPECT_TRUE(WaitUntil([&] { return GetForegroundWindow() == middle; }))
      << "in front: " << GetForegroundWindow();
}

// The front window sent to desktop 3 by its key; the grid walked right and down with the arrows
// and back; the pager put away, a walk shows the note naming the desktop, in the middle of the
// screen, without taking the focus, gone again within two seconds.
TEST_F(GridKeys, SendWalkBackAndTheNoteWithThePagerPutAway) {
  Set("SETUP", "rows", "3");  // a 3 x 3 grid, five desktops named (the last in Cyrillic, as kept)
  for (auto [desktop, name] : {std::pair{"1", "Work"},
                               {"3", "Letters"},
                               {"5", "Mail"},
                               {"7", "Music"},
                               {"9", "%D0%97%D0%B0%D0%BC%D0%B5%D1%82%D0%BA%D0%B8"}}) {
    Set("NAMES", desktop, name);
  }
  HWND pager = Start();
  ASSERT_TRUE(pager);
  HWND letter = OpenManaged("Letter", {100, 500, 500, 800}, 0x3060C0);
  HWND notes = OpenManaged("Notes", {600, 500, 1000, 800}, 0x40A040);
  ASSERT_TRUE(letter && notes);
  const auto keys = GridChord;
  const auto status = [&] {
    for (const Child& c : ChildrenOf(pager)) {
      if (c.text.rfind("Desktop ", 0) == 0 || c.text.find(": ") != std::string::npos) {
        return c.text;
      }
    }
    return std::string();
  };

  ASSERT_TRUE(Maker("front", "Letter") &&
              WaitUntil([&] { return GetForegroundWindow() == letter; }));
  EXPECT_TRUE(keys({'3'}) && WaitShown({letter}, false, {notes}));
  EXPECT_TRUE(keys({VK_RIGHT}) && WaitShown({notes}, false) &&
              WaitUntil([&] { return status() == "Desktop 2"; }))
      << status();
  EXPECT_TRUE(keys({VK_DOWN}) && WaitUntil([&] { return status() == "5: Mail"; })) << status();
  ShotOf(pager, "pager-named");
  EXPECT_TRUE(keys({VK_BACK}) && WaitUntil([&] { return status() == "Desktop 2"; })) << status();
  EXPECT_TRUE(keys({VK_RIGHT}) && WaitShown({letter}, true, {notes})) << status();

  // Put away, the pager leaves the note to tell where a key went.
  ASSERT_TRUE(PressChord({VK_CONTROL, VK_F12}) && WaitShown({pager}, false));
  ASSERT_TRUE(keys({VK_LEFT}) && WaitShown({letter}, false));
  HWND note = nullptr;
  ASSERT_TRUE(WaitUntil([&] {
    const std::vector<HWND> shown = WindowsOf(Vuedeck().Pid());
    note = shown.empty() ? nullptr : shown.front();
    return note != nullptr;
  }));
  const std::vector<Child> lines = ChildrenOf(note);
  EXPECT_TRUE(lines.size() == 1 && lines[0].text == "Desktop 2");
  const POINT middle = Middle(RectOf(note));
  EXPECT_NEAR(middle.x, GetSystemMetrics(SM_CXSCREEN) / 2, 2);
  EXPECT_NEAR(middle.y, GetSystemMetrics(SM_CYSCREEN) / 2, 2);
  EXPECT_TRUE(Topmost(note) && GetForegroundWindow() != note);
  ShotOf(note, "note");
  EXPECT_TRUE(WaitShown({note}, false, {}, 2000));
  ASSERT_TRUE(PressChord({VK_CONTROL, VK_F12}) && WaitShown({pager}, true));
}

}  // namespace vde2e
