// The Win32 edit fields' positions and typed characters between the system's UTF-16 units and
// the text boxes' UTF-8 bytes (forms/win32/EditUnits.h).
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <string_view>
#include <tuple>
#include <vector>

#include "forms/win32/EditUnits.h"

namespace {

using namespace forms::win32;

std::wstring Wide(std::u16string_view units) { return {units.begin(), units.end()}; }

// "a", "é", "€", U+1F600 (a pair) and "b": 6 units of UTF-16, 11 bytes of UTF-8.
TEST(EditUnits, PositionsGoBetweenUnitsAndBytesWithoutSplittingACharacter) {
  const std::wstring wide = Wide(u"a\u00e9\u20ac\U0001F600b");
  const std::string utf8 = "a\u00e9\u20ac\U0001F600b";
  const std::tuple<int, int> unitsToBytes[] = {
      {0, 0}, {1, 1}, {2, 3}, {3, 6}, {4, 6}, {5, 10}, {6, 11}, {7, 11}, {-1, 0},
  };
  for (const auto& [units, bytes] : unitsToBytes) {
    EXPECT_EQ(Utf8Offset(wide, units), bytes) << "unit " << units;
  }
  const int bytesToUnits[] = {0, 1, 1, 2, 2, 2, 3, 3, 3, 3, 5, 6, 6};
  for (int bytes = 0; bytes < 13; ++bytes) {
    EXPECT_EQ(Utf16Offset(utf8, bytes), bytesToUnits[bytes]) << "byte " << bytes;
  }
  // A sequence cut short widens to one U+FFFD, and what follows it is counted on its own.
  EXPECT_EQ(Utf16Offset("\xe2xy", 3), 3);
  // An unpaired surrogate narrows to U+FFFD, 3 bytes, wherever it stands.
  const std::tuple<std::u16string, int, int> unpaired[] = {
      {u"\xd83dx\xde00", 1, 3}, {u"\xd83dx\xde00", 2, 4}, {u"\xd83dx\xde00", 3, 7},
      {u"a\xd83d", 2, 4},       {u"\xde00\xd83d", 1, 3},
  };
  for (const auto& [text, units, bytes] : unpaired) {
    EXPECT_EQ(Utf8Offset(Wide(text), units), bytes) << units;
  }
}

// Each code point: its UTF-16 units and UTF-8 bytes, and typed as those units it arrives once.
TEST(EditUnits, ACharacterIsTypedOnceWhetherOneUnitOrAPair) {
  const std::tuple<char32_t, int, int> rows[] = {
      {U'A', 1, 1},    {8, 1, 1},        {0xE9, 1, 2},   {0x20AC, 1, 3},
      {0x1F600, 2, 4}, {0x10FFFF, 2, 4}, {0xD800, 0, 0}, {0x110000, 0, 0},
  };
  for (const auto& [c, unitCount, bytes] : rows) {
    wchar_t units[2] = {};
    ASSERT_EQ(std::tuple(Utf16Units(c, units), Utf8Length(c)), std::tuple(unitCount, bytes))
        << std::hex << uint32_t(c);
    TypedCharacters typing;
    std::vector<char32_t> typed;
    for (int i = 0; i < unitCount; ++i) typed.push_back(typing.Take(char32_t(units[i])));
    std::vector<char32_t> expected;  // nothing for what is no character
    if (unitCount > 0) expected = unitCount == 2 ? std::vector<char32_t>{0, c} : std::vector{c};
    EXPECT_EQ(typed, expected) << std::hex << uint32_t(c);
  }
  // A half without its partner is dropped; what follows it is typed.
  const std::tuple<std::u16string, std::vector<char32_t>> halves[] = {
      {u"\xd83dx", {0, U'x'}},
      {u"\xd83dx\xde00", {0, U'x', 0}},
      {u"\xde00y", {0, U'y'}},
      {u"\xd83d\xd83d\xde00", {0, 0, 0x1F600}},
  };
  for (const auto& [units, expected] : halves) {
    TypedCharacters typing;
    std::vector<char32_t> typed;
    for (char16_t unit : units) typed.push_back(typing.Take(unit));
    EXPECT_EQ(typed, expected);
  }
}

}  // namespace
