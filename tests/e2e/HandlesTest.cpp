// Rounds of use give back every handle they took, as the pager counts them by kind when asked
// with its registered message "VueDeckLiveHandles".
#include <utility>

#include "E2eTest.h"

namespace vde2e {

constexpr const char* kKinds[] = {
    "window DCs",    "memory DCs", "GDI objects", "kernel handles",
    "registry keys", "menus",      "windows",     "cached fonts and brushes"};
// Device contexts live only within a call, the fonts and brushes kept for drawing are bounded;
// -1: no more than after the warm-up.
constexpr long kLimits[] = {0, 0, -1, -1, -1, -1, -1, 64};

using Handles = E2eTest;

TEST_F(Handles, RoundsOfUseGiveBackEveryHandleTheyTook) {
  HWND pager = Start();
  ASSERT_TRUE(pager);
  ASSERT_EQ(Cells(pager).size(), 6u);
  auto counts = [&] {
    static const UINT message = RegisterWindowMessageA("VueDeckLiveHandles");
    std::vector<long> counts;
    DWORD_PTR n = 0;
    for (WPARAM kind = 0; kind < std::size(kKinds); ++kind) {
      if (!SendMessageTimeoutA(pager, message, kind, 0, SMTO_ABORTIFHUNG, 2000, &n)) return counts;
      counts.push_back(static_cast<long>(static_cast<LRESULT>(n)));
    }
    return counts;
  };
  auto round = [&](int n) {
    const std::string caption = "Round " + std::to_string(n);
    const RECT place{300 + 20 * n, 420, 700 + 20 * n, 700}, cell = Cells(pager)[0];
    HWND w = OpenManaged(caption, place, 0x3070B0);
    ASSERT_TRUE(w);
    const RECT miniature = MiniatureOf(pager, cell, place);
    ASSERT_FALSE(IsRectEmpty(&miniature));
    ASSERT_TRUE(Hotkey(2) && WaitShown({w}, false));
    ASSERT_TRUE(Hotkey(1) && WaitShown({w}, true));
    ASSERT_TRUE(ClickAt(Middle(miniature), true) && ChooseFromMenu({VK_ESCAPE}));
    ASSERT_TRUE(Maker("close", caption));
    ASSERT_TRUE(WaitUntil([&] {
      const RECT gone = MiniatureOf(pager, cell, place, 0);
      return IsRectEmpty(&gone);
    }));
  };
  for (int n = 0; n < 2; ++n) ASSERT_NO_FATAL_FAILURE(round(n));
  std::vector<long> warm;  // once two looks 100 ms apart agree
  WaitUntil(
      [&] {
        const std::vector<long> now = counts();
        return std::exchange(warm, now) == now;
      },
      kWaitMs, 100);
  ASSERT_EQ(warm.size(), std::size(kKinds)) << "the pager does not answer its handle counts";
  for (int n = 2; n < 6; ++n) ASSERT_NO_FATAL_FAILURE(round(n));
  // What a round still holds for a moment is given back within the wait.
  std::string grown;
  EXPECT_TRUE(WaitUntil([&] {
    const std::vector<long> now = counts();
    grown = now.size() == warm.size() ? "" : "no answer";
    for (size_t k = 0; k < now.size(); ++k) {
      if (now[k] > (kLimits[k] < 0 ? warm[k] : kLimits[k])) {
        grown += " " + std::string(kKinds[k]) + " " + std::to_string(now[k]);
      }
    }
    return grown.empty();
  })) << grown;
  Shot("after-the-rounds");
  EXPECT_TRUE(CloseAndWaitForExit());
}

}  // namespace vde2e
