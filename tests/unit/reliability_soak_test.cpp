// The short soak: a few thousand random steps over a whole program (see tests/soak/SoakWalk.h
// for what a step does and which promises are checked after each). The walk is the same on
// every run; VD_SOAK_SEED chooses another. The long soak is tests/soak/run.sh.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "../soak/SoakWalk.h"
#include "ProgramFixture.h"

namespace vd::soak {
namespace {

uint64_t Seed() {
  const char* chosen = std::getenv("VD_SOAK_SEED");
  return chosen && *chosen ? std::strtoull(chosen, nullptr, 10) : 20240611u;
}

TEST(ReliabilitySoak, ARandomWalkKeepsEveryWindowOnOneDesktopShownWhenItShouldAndItsMiniature) {
  const uint64_t seed = Seed();
  constexpr uint32_t kMaxTimeMs = 1000;
  const std::vector<Step> steps = DrawSteps(seed, 3000, kMaxTimeMs);
  const auto failure = RunWalk(steps);
  ASSERT_FALSE(failure) << "seed " << seed << ", step " << failure->step << " "
                        << (failure->step < steps.size() ? Describe(steps[failure->step])
                                                         : std::string("(the exit)"))
                        << ": " << failure->what << "\nshrink it with: tests/soak/run.sh --seed "
                        << seed << " --steps " << failure->step + 1 << " --max-time-ms "
                        << kMaxTimeMs << " --shrink";
}

// ---- Faults the walk found, shrunk to their fewest steps ----------------------------------------

class SoakFound : public vd::testing::ProgramFixture {
 protected:
  void SetUp() override {
    WriteFile("settings.ini", "[SETUP]\r\ncolumns=3\r\nrows=2\r\nwidth=30\r\nheight=20\r\n");
    work = OpenWindow("Work");
    mail = OpenWindow("Mail", {600, 100, 1000, 400});
    ASSERT_TRUE(Start());
    backend->onModal = [](forms::Form& form) {
      if (auto* box = dynamic_cast<frmMsgBox*>(&form)) box->cmdRespond(0).RaiseClick();
    };
  }
  // The grid typed into the options and confirmed.
  void SetGrid(const std::string& columns, const std::string& rows) {
    frmOptions& options = program->Options();
    options.Show();
    for (auto [field, text] : {std::pair{&options.mskColumns, columns}, {&options.mskRows, rows}}) {
      field->RaiseGotFocus();
      for (char c : text) field->TypeChar(c);
    }
    options.cmdClose.RaiseClick();
  }
  std::string DesktopOf(Hwnd hwnd) {
    return Pager().Table.Get(WindowTable::KeyOf(hwnd), WindowTable::kDesktop);
  }
  Hwnd work = 0, mail = 0;
};

// Awaiting its mend in frmOptions::SetDesktops; remove DISABLED_ with it, and the case in
// Walk::AwaitsFix. A window of a desktop that vanishes is moved to the last remaining desktop;
// when that is the current one, the window stays hidden there.
TEST_F(SoakFound, DISABLED_ShrinkingTheGridOntoTheCurrentDesktopShowsTheWindowsMovedThere) {
  Pager().PlaceWindow(5, mail, 0, 0, 0, 0);
  Pager().OpenDesktop(1);
  ASSERT_FALSE(fake.IsWindowVisible(mail));
  SetGrid("1", "1");
  EXPECT_EQ(Pager().CurrentDesktop, 1);
  EXPECT_EQ(DesktopOf(mail), "1");
  EXPECT_TRUE(fake.IsWindowVisible(mail));
}

}  // namespace
}  // namespace vd::soak
