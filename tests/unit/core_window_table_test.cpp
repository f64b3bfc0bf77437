// The window table (text rows keyed by handle) and the conversions of its text to numbers.
#include <gtest/gtest.h>

#include "core/Text.h"
#include "core/WindowTable.h"

namespace vd {
namespace {

TEST(WindowTable, RowsAreKeyedByHandleAndKeepTheirOrderWhenOneLeaves) {
  WindowTable t;
  EXPECT_EQ(WindowTable::KeyOf(918), "ID:918");
  for (int h : {918, 17, 4242}) ASSERT_TRUE(t.Add(WindowTable::KeyOf(h), std::to_string(h)));
  t.Set("ID:17", WindowTable::kTitle, "Notes");
  t.Set("ID:4242", WindowTable::kTransparent, "150");

  ASSERT_TRUE(t.Remove("ID:918"));
  ASSERT_EQ(t.Count(), 2);
  // Positions close up; lookups by key still find the right rows.
  EXPECT_EQ(t.KeyAt(1), "ID:17");
  EXPECT_EQ(t.HandleAt(2), 4242);
  EXPECT_EQ(t.GetAt(1, WindowTable::kTitle), "Notes");
  EXPECT_EQ(t.Get("ID:4242", WindowTable::kTransparent), "150");
  t.SetAt(2, WindowTable::kDesktop, "3");
  EXPECT_EQ(t.Get("ID:4242", WindowTable::kDesktop), "3");
  EXPECT_EQ(t.ItemText("ID:17"), "17");
}

TEST(WindowTable, ASecondRowForTheSameWindowIsRefusedAndMissingRowsReadEmpty) {
  WindowTable t;
  ASSERT_TRUE(t.Add("ID:5", "5"));
  t.Set("ID:5", WindowTable::kTitle, "first");
  EXPECT_FALSE(t.Add("ID:5", "5"));
  EXPECT_EQ(t.Count(), 1);
  EXPECT_EQ(t.Get("ID:5", WindowTable::kTitle), "first");

  // Reading or writing what is not there is harmless.
  EXPECT_FALSE(t.RowExists("ID:6"));
  EXPECT_EQ(t.Get("ID:6", WindowTable::kTitle), "");
  t.Set("ID:6", WindowTable::kTitle, "x");
  EXPECT_EQ(t.GetAt(0, WindowTable::kTitle), "");
  EXPECT_EQ(t.GetAt(2, WindowTable::kTitle), "");
  EXPECT_EQ(t.Get("ID:5", 12), "");
  EXPECT_EQ(t.Get("ID:5", 0), "");
  EXPECT_FALSE(t.Remove("ID:6"));
  EXPECT_EQ(t.Count(), 1);
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
