// The window table (records in the order the windows came) and the conversions of text.
#include <gtest/gtest.h>

#include <optional>
#include <tuple>
#include <vector>

#include "core/Text.h"
#include "core/WindowTable.h"

namespace vd {
namespace {

TEST(WindowTable, RecordsKeepTheirOrderAndPlaceAndAWindowHasOneAtMost) {
  WindowTable t;
  for (Hwnd h : {918, 17, 4242}) ASSERT_NE(t.Add(h), nullptr);
  EXPECT_EQ(t.Add(17), nullptr);
  ManagedWindow* notes = t.Find(17);
  ASSERT_NE(notes, nullptr);
  notes->miniature = 2;
  EXPECT_TRUE(t.Remove(918));
  EXPECT_EQ(t.Find(17), notes) << "the other records did not move";
  ASSERT_NE(t.Add(918), nullptr);
  std::vector<Hwnd> walked;
  for (const ManagedWindow& w : t) walked.push_back(w.handle);
  EXPECT_EQ(walked, (std::vector<Hwnd>{17, 4242, 918})) << "a window back is last";
  EXPECT_EQ(t.Handles(), walked);
  EXPECT_EQ(std::tuple(t.WindowWithMiniature(2), t.WindowWithMiniature(0), t.Find(5)),
            std::tuple(17, 0, nullptr));
}

// Whole numbers round halves to even; what is not a plain decimal number in range gives none.
TEST(TextConversions, NumbersFromTextAndBack) {
  const std::tuple<const char*, std::optional<int>, std::optional<int>> rows[] = {
      {" 12 ", 12, 12}, {"-1", -1, -1},    {"2.5", 2, 2},        {"3.5", 4, 4},
      {"", {}, {}},     {"abc", {}, {}},   {"1-2", {}, {}},      {"0x10", {}, {}},
      {"nan", {}, {}},  {"1e400", {}, {}}, {"40000", {}, 40000}, {"14448680", {}, 14448680},
  };
  for (const auto& [text, int16, int32] : rows) {
    EXPECT_EQ(std::tuple(ToInt16(text), ToInt32(text)), std::tuple(int16, int32)) << text;
  }
  EXPECT_EQ(FormatSingle(100.0f / 3) + " " + FormatSingle(-0.8f) + " " + FormatSingle(1234.0f) +
                " " + FormatSingle(-0.0f),
            "33.33333 -0.8 1234 0");
  EXPECT_EQ(std::tuple(ToSingle("33.33333"), ToSingle(" 81.92")), std::tuple(33.33333f, 81.92f));
  EXPECT_EQ((std::vector{RoundEven(2.5), RoundEven(3.5), RoundEven(-8.4)}),
            (std::vector{2, 4, -8}));
}

}  // namespace
}  // namespace vd
