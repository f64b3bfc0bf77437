#include "pager/PreviewPictures.h"

#include <algorithm>

namespace vd {

namespace {
// A picture is never kept smaller than this on its longer side: below it the preview shows
// nothing a user could recognise.
constexpr int kSmallestSide = 64;
constexpr size_t kWorthHalving = 16u << 10;
}  // namespace

void PreviewPictures::Unload(int v) {
  auto it = entries_.find(v);
  if (it == entries_.end()) return;
  bytes_ -= BytesOf(it->second);
  entries_.erase(it);
}

std::vector<int> PreviewPictures::Indexes() const {
  std::vector<int> indexes;
  indexes.reserve(entries_.size());
  for (const auto& [v, entry] : entries_) indexes.push_back(v);
  return indexes;
}

bool PreviewPictures::HasPicture(int v) const {
  auto it = entries_.find(v);
  return it != entries_.end() && it->second.width > 0 && it->second.height > 0;
}

void PreviewPictures::Keep(Entry& entry, const Bitmap& picture) {
  entry.keptWidth = picture.Width();
  entry.keptHeight = picture.Height();
  const std::vector<uint32_t>& pixels = picture.Pixels();
  std::vector<uint32_t> runs;
  for (size_t i = 0; i < pixels.size() && runs.size() < pixels.size();) {
    size_t end = i + 1;
    while (end < pixels.size() && pixels[end] == pixels[i] && end - i < UINT32_MAX) ++end;
    runs.push_back(static_cast<uint32_t>(end - i));
    runs.push_back(pixels[i]);
    i = end;
  }
  entry.packed = runs.size() < pixels.size();
  if (entry.packed) {
    entry.pixels = std::move(runs);
  } else {
    entry.pixels = pixels;
  }
  entry.pixels.shrink_to_fit();
}

Bitmap PreviewPictures::Unpack(const Entry& entry) {
  Bitmap kept(entry.keptWidth, entry.keptHeight);
  std::vector<uint32_t>& pixels = kept.Pixels();
  if (!entry.packed) {
    std::copy_n(entry.pixels.begin(), std::min(entry.pixels.size(), pixels.size()), pixels.begin());
    return kept;
  }
  size_t at = 0;
  for (size_t r = 0; r + 1 < entry.pixels.size() && at < pixels.size(); r += 2) {
    const size_t count = std::min<size_t>(entry.pixels[r], pixels.size() - at);
    std::fill_n(pixels.begin() + static_cast<std::ptrdiff_t>(at), count, entry.pixels[r + 1]);
    at += count;
  }
  return kept;
}

void PreviewPictures::SetPicture(int v, const Bitmap& picture) {
  auto it = entries_.find(v);
  if (it == entries_.end()) return;
  Entry& entry = it->second;
  bytes_ -= BytesOf(entry);
  entry.width = picture.Empty() ? 0 : picture.Width();
  entry.height = picture.Empty() ? 0 : picture.Height();
  Keep(entry, picture.Empty() ? Bitmap() : picture);
  entry.captured = ++captures_;
  bytes_ += BytesOf(entry);
  KeepWithinBudget(v);
}

void PreviewPictures::KeepWithinBudget(int latest) {
  while (bytes_ > budget_) {
    // The picture captured longest ago that can still be halved; the latest one last.
    // Halving a picture that packs small (a plain window) would gain nothing.
    auto canHalve = [](const Entry& e) {
      return std::max(e.keptWidth, e.keptHeight) / 2 >= kSmallestSide &&
             BytesOf(e) >= kWorthHalving;
    };
    Entry* oldest = nullptr;
    for (auto& [v, entry] : entries_) {
      if (v == latest || !canHalve(entry)) continue;
      if (oldest == nullptr || entry.captured < oldest->captured) oldest = &entry;
    }
    if (oldest == nullptr) {
      auto it = entries_.find(latest);
      if (it != entries_.end() && canHalve(it->second)) oldest = &it->second;
    }
    if (oldest == nullptr) return;  // every picture is as small as it gets
    Bitmap kept = Unpack(*oldest);
    Bitmap half(std::max(1, kept.Width() / 2), std::max(1, kept.Height() / 2));
    half.StretchFrom(0, 0, half.Width(), half.Height(), kept, 0, 0, kept.Width(), kept.Height(),
                     StretchMode::kHalftone);
    bytes_ -= BytesOf(*oldest);
    Keep(*oldest, half);
    bytes_ += BytesOf(*oldest);
  }
}

Bitmap PreviewPictures::Picture(int v) const {
  auto it = entries_.find(v);
  if (it == entries_.end() || it->second.width <= 0 || it->second.height <= 0) return {};
  const Entry& entry = it->second;
  Bitmap kept = Unpack(entry);
  if (entry.keptWidth == entry.width && entry.keptHeight == entry.height) return kept;
  Bitmap full(entry.width, entry.height);
  full.StretchFrom(0, 0, entry.width, entry.height, kept, 0, 0, kept.Width(), kept.Height(),
                   StretchMode::kHalftone);
  return full;
}

void PreviewPictures::DrawInto(int v, Bitmap& target) const {
  const Bitmap picture = Picture(v);
  if (!picture.Empty()) target.Blit(0, 0, picture, 0, 0, picture.Width(), picture.Height());
}

}  // namespace vd
