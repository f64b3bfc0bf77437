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
    Pager().PlaceWindow(2, b, 0, 0, 0, 0);
    Pager().OpenDesktop(1);  // b is hidden now
  }
  Hwnd a = 0, b = 0;
};

TEST_F(Recovery, TheRecordNamesExactlyTheWindowsTheProgramKeepsHidden) {
  const std::string record = ReadFile("hidden.list");
  EXPECT_EQ(record, std::to_string(b) + " " + std::to_string(fake.GetWindowThreadProcessId(b)) +
                        "\r\n");
  Pager().OpenDesktop(2);  // a hidden, b shown
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
  Pager().OpenDesktop(3);  // a and b hidden by the program
  ASSERT_FALSE(fake.IsWindowVisible(a));
  ASSERT_TRUE(Restart());
  EXPECT_TRUE(fake.IsWindowVisible(a));
  EXPECT_TRUE(fake.IsWindowVisible(b));
  EXPECT_FALSE(fake.IsWindowVisible(ownHidden));  // not ours to show
  EXPECT_FALSE(std::filesystem::exists(File("hidden.list")));
}

TEST_F(Recovery, ARecordNamingAWindowOfAnotherProcessNowIsIgnored) {
  program.reset();
  fake::WindowSpec other;
  other.caption = "Other";
  other.process = 7;
  other.style = WS_BORDER;  // hidden
  Hwnd stranger = fake.CreateWindow(other);
  WriteFile("hidden.list", ReadFile("hidden.list") + std::to_string(stranger) +
                               " 2\r\ngarbage\r\n\r\n-5 x\r\n");
  ASSERT_TRUE(Restart());
  EXPECT_FALSE(fake.IsWindowVisible(stranger));
  EXPECT_TRUE(fake.IsWindowVisible(b));  // hidden at SetUp, in the record the kill left
}

TEST_F(Recovery, AnUnexpectedFaultShowsEveryManagedWindow) {
  Pager().OpenDesktop(3);
  program->BringEveryWindowBack();
  EXPECT_TRUE(fake.IsWindowVisible(a));
  EXPECT_TRUE(fake.IsWindowVisible(b));
}

}  // namespace
}  // namespace vd::testing
