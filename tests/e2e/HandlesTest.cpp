// What a busy while leaves behind: after a warm-up, rounds of use (a window opened and taken on,
// desktops switched there and back, the window's menu opened and closed, the window closed) give
// back every handle the program took. The pager answers its live handles of each kind (its
// registered message "VueDeckLiveHandles"); device contexts live only within a call, and the
// fonts and brushes the drawing code keeps, one per look, are held to a bound.
#include <utility>
#include <vector>

#include "E2eTest.h"

namespace vde2e {
namespace {

constexpr const char* kKinds[] = {
    "window DCs",    "memory DCs", "GDI objects", "kernel handles",
    "registry keys", "menus",      "windows",     "cached fonts and brushes"};
constexpr size_t kCachedGdi = 7;
constexpr long kCachedGdiLimit = 64;

class Handles : public E2eTest {
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
    const std::string caption = "Round " + std::to_string(n);
    const RECT place{300 + 20 * n, 420, 700 + 20 * n, 700}, cell = Cells(Pager())[0];
    HWND w = OpenManaged(caption, place, 0x3070B0);
    ASSERT_NE(w, nullptr);
    const RECT miniature = MiniatureOf(Pager(), cell, place);
    ASSERT_FALSE(IsRectEmpty(&miniature));
    ASSERT_TRUE(Hotkey(2) && WaitShown({w}, false));
    ASSERT_TRUE(Hotkey(1) && WaitShown({w}, true));
    ASSERT_TRUE(ClickAt(Middle(miniature), true) && ChooseFromMenu({VK_ESCAPE}));
    ASSERT_TRUE(Maker("close", caption));
    ASSERT_TRUE(WaitUntil([&] {
      const RECT gone = MiniatureOf(Pager(), cell, place, 0);
      return IsRectEmpty(&gone);
    }));
  }
};

TEST_F(Handles, RoundsOfUseGiveBackEveryHandleTheyTook) {
  ASSERT_NE(Start(), nullptr);
  ASSERT_EQ(Cells(Pager()).size(), 6u);
  for (int n = 0; n < 2; ++n) ASSERT_NO_FATAL_FAILURE(Round(n));
  // The counts once two looks 100 ms apart agree.
  std::vector<long> warm;
  WaitUntil(
      [&] {
        const std::vector<long> now = Counts();
        return std::exchange(warm, now) == now;
      },
      kWaitMs, 100);
  ASSERT_EQ(warm.size(), std::size(kKinds)) << "the pager does not answer its handle counts";
  for (int n = 2; n < 6; ++n) ASSERT_NO_FATAL_FAILURE(Round(n));
  // Device contexts are held by none between calls, the cache stays in its bound, and the rest
  // come back to the warm-up's counts (what a round still holds for a moment, within the wait).
  std::string grown;
  EXPECT_TRUE(WaitUntil([&] {
    const std::vector<long> now = Counts();
    grown = now.size() == warm.size() ? "" : " (no answer)";
    for (size_t k = 0; k < now.size(); ++k) {
      const long limit = k < 2 ? 0 : k == kCachedGdi ? kCachedGdiLimit : warm[k];
      if (now[k] > limit) grown += " " + std::string(kKinds[k]) + " " + std::to_string(now[k]);
    }
    return grown.empty();
  })) << "grew over the rounds:"
      << grown;
  Shot("after-the-rounds");
  EXPECT_TRUE(CloseAndWaitForExit());
}

}  // namespace
}  // namespace vde2e
