// What the end-to-end scenarios share: the program started and its pager found, the pager closed
// the way the task bar closes it, windows opened on the open desktop, facts for failure messages.
#pragma once

#include <initializer_list>
#include <sstream>
#include <string>

#include "E2eTest.h"
#include "Managed.h"
#include "Pager.h"

namespace vde2e {

class ProgramTest : public E2eTest {
 protected:
  // Starts the program on `settings` (or, `again`, the same copy once more on the files the last
  // run left) and waits for its pager: its load, the start-up scan included, has run to its end
  // once the pager shows. Null when none showed.
  HWND StartAndWaitForPager(bool again = false) {
    vuedeck_ = again ? &StartAnotherCopy() : &StartVuedeck();
    pager_ = vuedeck_->Started() ? WaitForPager(*vuedeck_) : nullptr;
    return pager_;
  }
  ChildProcess& Vuedeck() { return *vuedeck_; }
  HWND Pager() const { return pager_; }

  // Closes the pager the way the task bar's Close and Alt+F4 do and waits for the program to end.
  ::testing::AssertionResult CloseAndWaitForExit() {
    if (!PostMessageA(pager_, WM_CLOSE, 0, 0)) {
      return ::testing::AssertionFailure() << "WM_CLOSE could not be posted to the pager";
    }
    if (!vuedeck_->WaitExit(kExitTimeoutMs)) {
      return ::testing::AssertionFailure()
             << "vuedeck.exe still runs " << kExitTimeoutMs << " ms after WM_CLOSE";
    }
    return ::testing::AssertionSuccess();
  }

  // Opens a window while the open desktop is current, so that it belongs to it (see
  // OpenManagedWindow), at `place`.
  HWND OpenOnCurrentDesktop(const std::string& caption, const RECT& place, uint32_t color) {
    std::string why;
    HWND hwnd = OpenManagedWindow(Maker(), caption, place.right - place.left,
                                  place.bottom - place.top, "color " + Hex(color), &place, why);
    EXPECT_NE(hwnd, nullptr) << why;
    return hwnd;
  }

  // A winmaker window painted in `color` (0x00BBGGRR, as a screenshot pixel reads it).
  HWND Open(const std::string& caption, const RECT& r, uint32_t color,
            const std::string& options = "") {
    return Maker().Open(caption, r.left, r.top, r.right - r.left, r.bottom - r.top,
                        "color " + Hex(color) + (options.empty() ? "" : " " + options));
  }

  static std::string FactsOf(std::initializer_list<HWND> windows) {
    std::ostringstream out;
    for (HWND w : windows) out << "\n  " << ReadWindowFacts(w);
    return out.str();
  }

  // Whether the middle of each rectangle shows its colour on the screen.
  static bool MiddlesShow(const vdtools::Image& shot,
                          std::initializer_list<std::pair<RECT, uint32_t>> painted) {
    for (const auto& [rect, color] : painted) {
      const POINT m = Middle(rect);
      if (shot.ColorAt(m.x, m.y) != color) return false;
    }
    return true;
  }

 private:
  ChildProcess* vuedeck_ = nullptr;
  HWND pager_ = nullptr;
};

}  // namespace vde2e
