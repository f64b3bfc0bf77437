// The program's one record of the windows it manages: one row per window, keyed "ID:" and the
// decimal handle, holding the handle as item text and eleven text columns. Rows keep the order
// in which they were added; they are found by key or by 1-based position.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

namespace vd {

class WindowTable {
 public:
  // The eleven columns, in their order.
  enum Column {
    kTitle = 1,
    kDesktop = 2,
    kZOrder = 3,
    kWidth = 4,
    kHeight = 5,
    kLeft = 6,
    kTop = 7,
    kVirtualWindow = 8,
    kOnTop = 9,
    kShowAll = 10,
    kTransparent = 11,
  };
  static constexpr int kColumnCount = 11;
  // The column captions, index 0 being the item text's ("wHnd").
  static const std::array<const char*, kColumnCount + 1> kCaptions;

  // "ID:" followed by the decimal handle: the key of a window's row.
  static std::string KeyOf(int32_t handle);

  int Count() const { return static_cast<int>(rows_.size()); }
  bool RowExists(const std::string& key) const { return index_.count(key) != 0; }

  // Appends a row; false (and nothing changes) when the key is already taken.
  bool Add(const std::string& key, const std::string& itemText);
  // Removes a row; false when there is none with that key.
  bool Remove(const std::string& key);

  // Reading a missing row or a column outside 1..11 gives the empty text; writing one does
  // nothing. Positions run from 1 to Count().
  const std::string& Get(const std::string& key, int column) const;
  void Set(const std::string& key, int column, std::string value);
  const std::string& GetAt(int position, int column) const;
  void SetAt(int position, int column, std::string value);
  const std::string& ItemText(const std::string& key) const;
  const std::string& ItemTextAt(int position) const;
  const std::string& KeyAt(int position) const;
  // The handle of the row at a position (its item text as a number; 0 when unreadable).
  int32_t HandleAt(int position) const;

 private:
  struct Row {
    std::string key;
    std::string itemText;
    std::array<std::string, kColumnCount> cells;  // column c at cells[c - 1]
  };
  const Row* Find(const std::string& key) const;
  Row* Find(const std::string& key);
  const Row* At(int position) const;

  std::vector<Row> rows_;
  std::unordered_map<std::string, size_t> index_;  // key -> position in rows_
};

}  // namespace vd
