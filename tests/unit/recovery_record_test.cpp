// The record of the windows the program keeps hidden, and what a start after the program was
// killed does with it.
#include <gtest/gtest.h>

#include <filesystem>

#include "ProgramFixture.h"

namespace vd::testing {
namespace {

class Recovery : public ProgramFixture {
 protected:
  void SetUp() override {
    a = OpenWindow("A");
    b = OpenWindow("B");
    ASSERT_TRUE(StartWith(kGrid3x2));
    Pager().Desktops().Place(2, b, 0, 0, 0, 0);
    Pager().Desktops().Open(1);  // b is hidden now
  }
  Hwnd a = 0, b = 0;
};

TEST_F(Recovery, TheRecordNamesExactlyTheWindowsTheProgramKeepsHidden) {
  const std::string record = ReadFile("hidden.list");
  EXPECT_EQ(record,
            std::to_string(b) + " " + std::to_string(fake.GetWindowThreadProcessId(b)) + "\r\n");
  Pager().Desktops().Open(2);  // a hidden, b shown
  EXPECT_EQ(ReadFile("hidden.list").find(std::to_string(b) + " "), std::string::npos);
  EXPECT_NE(ReadFile("hidden.list").find(std::to_string(a) + " "), std::string::npos);
  // The hidden window closes: the record forgets it at the next tick.
  fake.DestroyWindow(a);
  backend->Advance(100);
  EXPECT_FALSE(std::filesystem::exists(File("hidden.list")));
}

TEST_F(Recovery, AStartAfterTheProgramWasKilledBringsBackWhatItHadHidden) {
  // Managed on the current desktop, then hidden by its own application before the switch.
  Hwnd ownHidden = OpenWindow("Hidden by its own application");
  fake.Activate(ownHidden);
  backend->Advance(300);
  ASSERT_TRUE(Pager().IsManaged(ownHidden));
  fake.ShowWindow(ownHidden, SW_HIDE);
  Pager().Desktops().Open(3);  // a and b hidden by the program
  ASSERT_FALSE(fake.IsWindowVisible(a));
  ASSERT_TRUE(Restart());
  EXPECT_TRUE(fake.IsWindowVisible(a));
  EXPECT_TRUE(fake.IsWindowVisible(b));
  EXPECT_FALSE(fake.IsWindowVisible(ownHidden));  // not ours to show
  EXPECT_FALSE(std::filesystem::exists(File("hidden.list")));
}

TEST_F(Recovery, ARecordNamingAWindowOfAnotherProcessNowIsIgnored) {
  program.reset();
  fake::WindowTraits other;
  other.caption = "Other";
  other.process = 7;
  other.style = WS_BORDER;  // hidden
  Hwnd stranger = fake.CreateWindow(other);
  WriteFile("hidden.list",
            ReadFile("hidden.list") + std::to_string(stranger) + " 2\r\ngarbage\r\n\r\n-5 x\r\n");
  ASSERT_TRUE(Restart());
  EXPECT_FALSE(fake.IsWindowVisible(stranger));
  EXPECT_TRUE(fake.IsWindowVisible(b));  // hidden at SetUp, in the record the kill left
}

// The transparency the program gives a window is never taken for the window's own: after a
// kill and a restart the window keeps it, and "Opaque" brings back the window's own state (no
// layering, or its application's); a window forgotten while translucent, or not taken on again
// by the next start, is made opaque.
TEST_F(Recovery, TheProgramsTransparencyIsNeverTakenForTheWindowsOwn) {
  enum How { kRestart, kRestartIgnored, kCaptionCleared };
  struct Case {
    const char* how;
    int ownAlpha;  // -1: its application did not layer it
    How then;
  };
  for (const Case& c : {Case{"killed and started again", -1, kRestart},
                        Case{"layered by its application, killed", 200, kRestart},
                        Case{"layered at alpha 0 by its application, killed", 0, kRestart},
                        Case{"killed, then ignored by the next start", 200, kRestartIgnored},
                        Case{"caption cleared and back", -1, kCaptionCleared}}) {
    SCOPED_TRACE(c.how);
    fake::WindowTraits traits;
    traits.caption = c.how;
    if (c.ownAlpha >= 0) traits.exStyle = WS_EX_LAYERED;
    const Hwnd w = fake.CreateWindow(traits);
    if (c.ownAlpha >= 0) fake.SetLayeredWindowAttributes(w, 0, c.ownAlpha, LWA_ALPHA);
    fake.Activate(w);
    backend->Advance(200);
    ASSERT_TRUE(Pager().IsManaged(w));
    Pager().windowMenu.Open(w);
    Pager().windowMenu.highTransparencyEntry.RaiseClick();
    ASSERT_EQ(fake.Alpha(w), 100);
    if (c.then == kRestartIgnored) {
      WriteFile("ignore.list", std::string(c.how) + "\r\n");
      ASSERT_TRUE(Restart());
      EXPECT_FALSE(Pager().IsManaged(w));
      EXPECT_EQ(fake.Alpha(w), c.ownAlpha) << "not taken on again: its own layering back";
      continue;
    }
    if (c.then == kRestart) {
      ASSERT_TRUE(Restart());
      EXPECT_EQ(fake.Alpha(w), 100) << "kept over the restart";
    } else {
      fake.SetCaption(w, "");
      backend->Advance(200);
      ASSERT_FALSE(Pager().IsManaged(w));
      EXPECT_EQ(fake.Alpha(w), c.ownAlpha) << "forgotten: opaque";
      EXPECT_EQ(ReadFile("translucent.list").find(std::to_string(w) + " "), std::string::npos)
          << "and no longer recorded";
      fake.SetCaption(w, c.how);
      backend->Advance(200);
    }
    ASSERT_TRUE(Pager().IsManaged(w));
    Pager().windowMenu.Open(w);
    Pager().windowMenu.opaqueEntry.RaiseClick();
    EXPECT_EQ(fake.Alpha(w), c.ownAlpha);
    EXPECT_EQ((static_cast<uint32_t>(fake.GetWindowLongA(w, GWL_EXSTYLE)) & WS_EX_LAYERED) != 0,
              c.ownAlpha >= 0);
  }
}

// The records are written when what they name changes, never by a pager that only waits.
TEST_F(Recovery, APagerThatOnlyWaitsWritesNothing) {
  Pager().windowMenu.Open(a);
  Pager().windowMenu.highTransparencyEntry.RaiseClick();
  backend->Advance(300);
  ASSERT_NE(ReadFile("translucent.list"), "");
  fake.ClearCalls();
  backend->Advance(3000);
  for (const fake::Call& call : fake.Calls()) EXPECT_NE(call.name, "ReplaceFileWith");
}

TEST_F(Recovery, AnUnexpectedFaultShowsEveryManagedWindowAndItsDialogs) {
  fake::WindowTraits dialog;
  dialog.caption = "Find";
  dialog.owner = a;
  const Hwnd find = fake.CreateWindow(dialog);
  Pager().Desktops().Open(3);
  ASSERT_FALSE(fake.IsWindowVisible(find));
  program->BringEveryWindowBack();
  for (Hwnd w : {a, b, find}) EXPECT_TRUE(fake.IsWindowVisible(w)) << w;
}

}  // namespace
}  // namespace vd::testing
