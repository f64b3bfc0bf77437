// The window table (typed records in the order the windows came) and the conversions of text
// to numbers.
#include <gtest/gtest.h>

#include <vector>

#include "core/Text.h"
#include "core/WindowTable.h"

namespace vd {
namespace {

// Records stay in the order the windows came, a window has one record at most, and a record
// stays where it is while others come and go.
TEST(WindowTable, RecordsKeepTheirOrderAndPlaceAndAWindowHasOneAtMost) {
  WindowTable t;
  for (Hwnd h : {918, 17, 4242}) ASSERT_NE(t.Add(h), nullptr);
  EXPECT_EQ(t.Add(17), nullptr);
  ManagedWindow* notes = t.Find(17);
  ASSERT_NE(notes, nullptr);
  notes->title = "Notes";
  EXPECT_TRUE(t.Remove(918));
  EXPECT_FALSE(t.Remove(918));
  EXPECT_EQ(t.Find(17), notes) << "the other records did not move";
  EXPECT_EQ(t.Find(17)->title, "Notes");
  EXPECT_EQ(t.Handles(), (std::vector<Hwnd>{17, 4242}));
  ASSERT_NE(t.Add(918), nullptr);
  std::vector<Hwnd> walked;
  for (const ManagedWindow& w : t) walked.push_back(w.handle);
  EXPECT_EQ(walked, (std::vector<Hwnd>{17, 4242, 918})) << "a window back is last";
  EXPECT_EQ(t.Count(), 3);
  EXPECT_FALSE(t.Contains(5));
  EXPECT_EQ(t.Find(5), nullptr);
}

TEST(TextConversions, WholeNumbersRoundHalvesToEvenAndRejectWhatIsNotANumber) {
  EXPECT_EQ(ToInt16(" 12 "), 12);
  EXPECT_EQ(ToInt16("-1"), -1);
  EXPECT_EQ(ToInt16("2.5"), 2);
  EXPECT_EQ(ToInt16("3.5"), 4);
  EXPECT_EQ(ToInt16(""), std::nullopt);
  EXPECT_EQ(ToInt16("abc"), std::nullopt);
  EXPECT_EQ(ToInt16("12abc"), std::nullopt);
  EXPECT_EQ(ToInt16("0x10"), std::nullopt);
  EXPECT_EQ(ToInt16("40000"), std::nullopt);  // beyond 16 bits
  EXPECT_EQ(ToInt32("40000"), 40000);
  EXPECT_EQ(ToInt32("14448680"), 14448680);
  EXPECT_EQ(ToInt32("1e400"), std::nullopt);
  EXPECT_EQ(ToInt32("nan"), std::nullopt);
}

TEST(TextConversions, SinglesRoundTripThroughTheirText) {
  EXPECT_EQ(FormatSingle(12.5f), "12.5");
  EXPECT_EQ(FormatSingle(-0.8f), "-0.8");
  EXPECT_EQ(FormatSingle(1234.0f), "1234");
  EXPECT_EQ(FormatSingle(0.0f), "0");
  // Seven significant digits: values with no more come back exactly, others within that.
  for (float v : {0.1f, 33.33333f, -8.0f, 9600.0f, 81.92f}) {
    EXPECT_EQ(ToSingle(FormatSingle(v)), v) << FormatSingle(v);
  }
  EXPECT_EQ(FormatSingle(100.0f / 3), "33.33333");
  EXPECT_EQ(RoundEven(2.5), 2);
  EXPECT_EQ(RoundEven(3.5), 4);
  EXPECT_EQ(RoundEven(-8.4), -8);
}

}  // namespace
}  // namespace vd
