// The program ended by force (TerminateProcess, as the task manager does) while windows of other
// desktops are hidden: the next start gives every window it had hidden back, visible at its own
// place, by the time its pager shows, and leaves alone a window that its own application hid;
// a hidden window that closes leaves no record behind.
#include <cstdio>
#include <set>
#include <vector>

#include "E2eTest.h"
#include "Managed.h"
#include "Pager.h"

namespace vde2e {
namespace {

constexpr DWORD kRecordTimeoutMs = 3000;  // a switch until the record says what it hid

std::string Handle(HWND hwnd) { return std::to_string(reinterpret_cast<intptr_t>(hwnd)); }

class KillAndRestart : public E2eTest {
 protected:
  // The windows the record of hidden windows names (the first number of each line); empty when
  // there is no record.
  std::set<std::string> Recorded() const {
    std::set<std::string> named;
    auto bytes = ReadWholeFile(ScratchFile("hidden.list"));
    if (!bytes) return named;
    for (const std::string& line : Lines(*bytes)) named.insert(line.substr(0, line.find(' ')));
    return named;
  }
  bool RecordExists() const {
    return GetFileAttributesA(ScratchFile("hidden.list").c_str()) != INVALID_FILE_ATTRIBUTES;
  }
  std::string RecordText() const {
    auto bytes = ReadWholeFile(ScratchFile("hidden.list"));
    return bytes ? Printable(*bytes) : std::string("(no record)");
  }

  // Opens a window of the helper on the current desktop, takes it on and puts it at `place`.
  HWND OpenAt(const std::string& caption, const RECT& place, const std::string& color) {
    std::string why;
    HWND hwnd = OpenManagedWindow(Maker(), caption, place.right - place.left,
                                  place.bottom - place.top, "color " + color, &place, why);
    EXPECT_NE(hwnd, nullptr) << why;
    return hwnd;
  }

  // Starts the copy again and watches it come up, as closely as polling allows. Returns the
  // pager; `late` lists each of `mustShow` that was still hidden at a look that found the pager
  // already shown, `early` tells whether all of them were seen shown before the pager was.
  HWND RestartAndWatch(const std::vector<HWND>& mustShow, std::string& late, bool& early) {
    ChildProcess& again = StartAnotherCopy();
    early = false;
    late.clear();
    if (!again.Started()) return nullptr;
    HWND pager = nullptr;
    WaitUntil(
        [&] {
          if (!again.Running()) return true;
          auto shown = TopLevelWindowsOf(again.Pid(), true);  // the pager, first
          bool allShown = true;
          for (HWND w : mustShow) allShown = allShown && IsWindowVisible(w);
          if (shown.empty()) {
            early = early || allShown;
            return false;
          }
          pager = shown.front();
          for (HWND w : mustShow) {
            if (!IsWindowVisible(w)) late += " " + Handle(w);
          }
          return true;
        },
        kStartTimeoutMs, 1);
    return pager;
  }
};

TEST_F(KillAndRestart, TheNextStartShowsEveryWindowItHadHiddenAndNotTheOneItsApplicationHid) {
  ChildProcess& first = StartVuedeck();
  ASSERT_NE(WaitForPager(first), nullptr) << "vuedeck.exe showed no window";

  // "One" on desktop 1, "Three" on desktop 3, then desktop 2, where the run ends: "Two", and
  // "Own", which its application hides there.
  const RECT onePlace{40, 420, 340, 620}, ownPlace{60, 700, 300, 860};
  const RECT twoPlace{380, 450, 700, 650}, threePlace{760, 480, 1100, 700};
  HWND one = OpenAt("One", onePlace, "0x3050C0");
  ASSERT_NE(one, nullptr);
  ASSERT_TRUE(PressDesktopHotkey(3));
  ASSERT_TRUE(WaitVisibility({one}, false)) << ReadWindowFacts(one);
  HWND three = OpenAt("Three", threePlace, "0xC08030");
  ASSERT_TRUE(PressDesktopHotkey(2));
  ASSERT_TRUE(WaitVisibility({three}, false)) << ReadWindowFacts(three);
  HWND own = OpenAt("Own", ownPlace, "0x20A020");
  HWND two = OpenAt("Two", twoPlace, "0x9030A0");
  ASSERT_TRUE(three && own && two);
  ASSERT_TRUE(Maker().Send("hide Own").ok);
  ASSERT_TRUE(WaitVisibility({own}, false));
  Shot("desktop-2-before-the-kill");

  const std::set<std::string> expected{Handle(one), Handle(three)};
  EXPECT_TRUE(WaitUntil([&] { return Recorded() == expected; }, kRecordTimeoutMs))
      << "the record of hidden windows should name One " << Handle(one) << " and Three "
      << Handle(three) << " only: " << RecordText();
  const RECT oneRect = RectOf(one), threeRect = RectOf(three), twoRect = RectOf(two);

  first.Kill();
  ASSERT_FALSE(first.Running());
  ASSERT_FALSE(IsWindowVisible(one) || IsWindowVisible(three))
      << "nothing showed them while the program was gone";
  ASSERT_TRUE(RecordExists()) << "the kill must leave the record behind";

  std::string late;
  bool early = false;
  HWND pager = RestartAndWatch({one, three}, late, early);
  ASSERT_NE(pager, nullptr) << "the second start showed no window";
  EXPECT_TRUE(late.empty()) << "hidden still when the pager was already shown:" << late;
  std::printf("[   INFO   ] the windows were %s shown before the pager\n",
              early ? "seen" : "not seen (the looks were too far apart)");

  WindowFacts oneFacts = ReadWindowFacts(one), threeFacts = ReadWindowFacts(three);
  EXPECT_TRUE(oneFacts.visible) << oneFacts;
  EXPECT_TRUE(threeFacts.visible) << threeFacts;
  EXPECT_TRUE(SameRect(oneFacts.rect, oneRect)) << "was " << Describe(oneRect) << ": " << oneFacts;
  EXPECT_TRUE(SameRect(threeFacts.rect, threeRect))
      << "was " << Describe(threeRect) << ": " << threeFacts;
  EXPECT_TRUE(IsWindowVisible(two)) << ReadWindowFacts(two);
  EXPECT_TRUE(SameRect(RectOf(two), twoRect)) << ReadWindowFacts(two);
  EXPECT_TRUE(WaitUntil([&] { return !RecordExists(); }, kRecordTimeoutMs))
      << "the record is still there after the start used it: " << RecordText();
  // The program is up and ticking (its record is gone); the window its application hid is
  // still hidden and where it was.
  WindowFacts ownFacts = ReadWindowFacts(own);
  EXPECT_FALSE(ownFacts.visible) << ownFacts;
  EXPECT_TRUE(SameRect(ownFacts.rect, ownPlace)) << ownFacts;

  // On the screen: each recovered window shows its own colour in its middle.
  const POINT oneMiddle = Middle(oneRect), threeMiddle = Middle(threeRect);
  EXPECT_TRUE(ShotUntil("after-the-restart", [&](const vdtools::Image& shot) {
    return ColorAround(shot, oneMiddle, 0x3050C0) && ColorAround(shot, threeMiddle, 0xC08030);
  })) << "One and Three are not to be seen on the screen";
}

// A window the program hid that its application then closes leaves the record at once (it was
// kept there until the next change of what is hidden, and an exit before then left the record
// behind).
TEST_F(KillAndRestart, AHiddenWindowThatClosesLeavesNoRecordAtTheExit) {
  ChildProcess& first = StartVuedeck();
  HWND pager = WaitForPager(first);
  ASSERT_NE(pager, nullptr) << "vuedeck.exe showed no window";
  HWND one = OpenAt("One", RECT{40, 420, 340, 620}, "0x3050C0");
  ASSERT_NE(one, nullptr);
  ASSERT_TRUE(PressDesktopHotkey(2));
  ASSERT_TRUE(WaitVisibility({one}, false)) << ReadWindowFacts(one);
  ASSERT_TRUE(
      WaitUntil([&] { return Recorded() == std::set<std::string>{Handle(one)}; }, kRecordTimeoutMs))
      << RecordText();
  ASSERT_TRUE(Maker().Close("One"));
  EXPECT_TRUE(WaitUntil([&] { return !RecordExists(); }, kRecordTimeoutMs))
      << "nothing is hidden any more: " << RecordText();
  ASSERT_TRUE(PostMessageA(pager, WM_CLOSE, 0, 0));
  ASSERT_TRUE(first.WaitExit(kExitTimeoutMs));
  EXPECT_FALSE(RecordExists()) << "after the exit: " << RecordText();
}

}  // namespace
}  // namespace vde2e
