// The full-size pictures of the managed windows, kept for the preview of hidden windows.
// A picture per window at screen size would cost megabytes each (a pager with a hundred large
// windows would hold hundreds of megabytes), so each is kept run-length packed, and the whole
// store keeps within a budget: when the packed pictures outgrow it, the picture captured
// longest ago is kept at half its size (and again, down to a floor), and shown stretched back
// to its window's size.
#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <vector>

#include "platform/Bitmap.h"

namespace vd {

class PreviewPictures {
 public:
  static constexpr size_t kDefaultBudgetBytes = size_t{8} << 20;

  explicit PreviewPictures(size_t budgetBytes = kDefaultBudgetBytes) : budget_(budgetBytes) {}

  // A place for the picture of miniature v, empty until its first capture.
  void Load(int v) { entries_.try_emplace(v); }
  void Unload(int v);
  bool Exists(int v) const { return entries_.count(v) != 0; }
  std::vector<int> Indexes() const;

  // True once miniature v has a picture.
  bool HasPicture(int v) const;
  // Keeps a copy of the picture as the latest of miniature v (nothing when v is not loaded).
  void SetPicture(int v, const Bitmap& picture);
  // The picture at the size it was captured (stretched back when it is kept smaller); empty
  // when there is none.
  Bitmap Picture(int v) const;
  // Draws the picture at (0, 0) of the target, at the size it was captured.
  void DrawInto(int v, Bitmap& target) const;

  // What the packed pictures take, in bytes.
  size_t Bytes() const { return bytes_; }

 private:
  struct Entry {
    int width = 0, height = 0;          // as captured
    int keptWidth = 0, keptHeight = 0;  // as kept
    bool packed = false;                // pixels holds runs: pairs of length and colour
    std::vector<uint32_t> pixels;       // or the plain pixels, when they do not pack
    uint64_t captured = 0;              // the order of the captures
  };
  // Packs the picture into the entry, or keeps it plain when packing would not make it smaller.
  static void Keep(Entry& entry, const Bitmap& picture);
  static Bitmap Unpack(const Entry& entry);
  static size_t BytesOf(const Entry& entry) { return entry.pixels.capacity() * sizeof(uint32_t); }
  void KeepWithinBudget(int latest);

  std::map<int, Entry> entries_;
  size_t budget_;
  size_t bytes_ = 0;
  uint64_t captures_ = 0;
};

}  // namespace vd
