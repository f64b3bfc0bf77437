// What only the in-memory desktop offers the logic's tests and the shared suite cannot check:
// the record of calls. Tests of the logic assert that a call was never made ("no window was
// shown"); a record that missed calls would let those pass whatever the program did.
#if defined(VD_CONFORMANCE_FAKE)

#include <gtest/gtest.h>

#include "platform/fake/FakeWindowSystem.h"

namespace vd::fake {
namespace {

using Args = std::vector<std::string>;

TEST(FakeDesktop, RecordsEveryCallWithItsArgumentsAsDecimalText) {
  FakeWindowSystem fake;
  WindowTraits desc;
  const Hwnd a = fake.CreateWindow(desc), b = fake.CreateWindow(desc);
  fake.ShowWindow(a, SW_HIDE);
  fake.SetWindowPos(b, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  fake.ShowWindow(b, SW_SHOW);
  fake.SendMessageA(a, WM_CLOSE, 0, -5);
  char buffer[8];
  fake.GetPrivateProfileStringA("SETUP", "rows", "", buffer, sizeof buffer, "none.ini");
  fake.Sleep(25);

  const std::vector<Call>& calls = fake.Calls();
  ASSERT_EQ(calls.size(), 6u);
  EXPECT_EQ(calls[0].name, "ShowWindow");
  EXPECT_EQ(calls[0].args, (Args{std::to_string(a), "0"}));
  EXPECT_EQ(calls[1].args, (Args{std::to_string(b), "-1", "0", "0", "0", "0", "3"}));
  EXPECT_EQ(calls[3].args, (Args{std::to_string(a), "16", "0", "-5"}));
  EXPECT_EQ(calls[4].args, (Args{"SETUP", "rows", "", "8", "none.ini"}));
  EXPECT_EQ(fake.CallsOn("Sleep", 25).size(), 1u);  // the first argument is the pause
  const std::vector<Call> onB = fake.CallsOn("ShowWindow", b);
  ASSERT_EQ(onB.size(), 1u);
  EXPECT_EQ(onB[0].args[1], "5");
  fake.ClearCalls();
  EXPECT_TRUE(fake.Calls().empty());
}

}  // namespace
}  // namespace vd::fake

#endif  // VD_CONFORMANCE_FAKE
