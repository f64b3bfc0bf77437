// What a busy while leaves behind: after a warm-up, rounds of use (a window opened and taken on,
// desktops switched there and back, the window's menu opened and closed, the window closed) give
// back every handle the program took. The pager answers its live handles of each kind (its
// registered message "VueDeckLiveHandles"); device contexts live only within a call, and the
// fonts and brushes the drawing code keeps, one per look, are held to a bound.
#include <array>
#include <vector>

#include "ProgramTest.h"

namespace vde2e {
namespace {

constexpr const char* kKinds[] = {
    "window DCs",    "memory DCs", "GDI objects", "kernel handles",
    "registry keys", "menus",      "windows",     "cached fonts and brushes"};
constexpr size_t kCachedGdi = 7;
constexpr long kCachedGdiLimit = 64;

class Handles : public ProgramTest {
 protected:
  std::vector<long> Counts() {
    static const UINT message = RegisterWindowMessageA("VueDeckLiveHandles");
    std::vector<long> counts;
    for (WPARAM kind = 0; kind < std::size(kKinds); ++kind) {
      DWORD_PTR answer = 0;
      if (!SendMessageTimeoutA(Pager(), message, kind, 0, SMTO_ABORTIFHUNG, 2000, &answer)) {
        return {};
      }
      counts.push_back(static_cast<long>(static_cast<LRESULT>(answer)));
    }
    return counts;
  }

  // One round of use, with a window of its own.
  void Round(int n) {
    const RECT place{300 + 20 * n, 420, 700 + 20 * n, 700};
    HWND w = OpenOnCurrentDesktop("Round " + std::to_string(n), place, 0x3070B0);
    ASSERT_NE(w, nullptr);
    const RECT miniature = PagerGrid(Pager(), settings).Miniature(1, place);
    ASSERT_TRUE(WaitUntil([&] { return MiniatureAt(Pager(), miniature) != nullptr; }, 3000));
    ASSERT_TRUE(PressDesktopHotkey(2) && WaitVisibility({w}, false));
    ASSERT_TRUE(PressDesktopHotkey(1) && WaitVisibility({w}, true));
    ASSERT_TRUE(ClickPoint(Middle(miniature), true));
    ASSERT_TRUE(WaitUntil([] { return VisiblePopupMenu() != nullptr; }, 3000));
    Sleep(100);  // the menu's loop takes the keyboard
    ASSERT_TRUE(TypeKeys({VK_ESCAPE}));
    ASSERT_TRUE(WaitUntil([] { return VisiblePopupMenu() == nullptr; }, 3000));
    ASSERT_TRUE(Maker().Close("Round " + std::to_string(n)));
    ASSERT_TRUE(WaitUntil([&] { return MiniatureAt(Pager(), miniature) == nullptr; }, 3000));
  }
};

TEST_F(Handles, RoundsOfUseGiveBackEveryHandleTheyTook) {
  ASSERT_NE(StartAndWaitForPager(), nullptr);
  for (int n = 0; n < 2; ++n) ASSERT_NO_FATAL_FAILURE(Round(n));
  Sleep(300);
  const std::vector<long> warm = Counts();
  ASSERT_EQ(warm.size(), std::size(kKinds)) << "the pager does not answer its handle counts";
  for (int n = 2; n < 6; ++n) ASSERT_NO_FATAL_FAILURE(Round(n));
  Sleep(300);
  const std::vector<long> after = Counts();
  ASSERT_EQ(after.size(), warm.size());
  Shot("after-the-rounds");
  for (size_t k = 0; k < after.size(); ++k) {
    if (k == kCachedGdi) {
      EXPECT_LE(after[k], kCachedGdiLimit) << kKinds[k];
    } else if (k < 2) {
      EXPECT_EQ(after[k], 0) << kKinds[k] << " held between calls";
    } else {
      EXPECT_LE(after[k], warm[k]) << kKinds[k] << " grew over the rounds";
    }
  }
  EXPECT_TRUE(CloseAndWaitForExit());
}

}  // namespace
}  // namespace vde2e
