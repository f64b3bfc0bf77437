#include "tracking/IgnoreList.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <system_error>
#include <utility>

namespace vd {

namespace {
constexpr size_t kMaxIgnoreEntries = 1000;
}

IgnoreList::IgnoreList(WindowSystem& ws, std::string file) : ws_(ws), file_(std::move(file)) {}

void IgnoreList::Reset() {
  titles_.clear();
  for (const char* builtIn : {"Start Menu", "Program Manager", "Open"}) {
    titles_.emplace_back(builtIn);
  }
  Load();
}

void IgnoreList::Clear() {
  std::error_code ec;
  std::filesystem::remove(file_, ec);  // a missing file is no error
  Reset();
}

void IgnoreList::Load() {
  std::ifstream in(file_, std::ios::binary);
  if (!in) return;  // no file: the built-in entries only
  std::string line;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.empty()) continue;
    Add(line);
  }
}

bool IgnoreList::Save() {
  // Written beside the list and then put in its place in one step: whatever fails, the old
  // list or the new one stays on disk whole, and nothing is deleted.
  const std::string fresh = file_ + ".new";
  {
    std::ofstream out(fresh, std::ios::binary | std::ios::trunc);
    if (!out) return false;
    for (const std::string& caption : titles_) {
      if (!caption.empty()) out << caption << "\r\n";
    }
    out.flush();
    if (!out) {
      out.close();
      std::error_code ec;
      std::filesystem::remove(fresh, ec);  // cut short: the old list stays as it was
      return false;
    }
  }
  // When the replacement fails the new list is left beside the old one, for the user.
  return ws_.ReplaceFileWith(file_, fresh);
}

void IgnoreList::Add(const std::string& caption) {
  if (caption.empty() || titles_.size() >= kMaxIgnoreEntries || Contains(caption)) return;
  titles_.push_back(caption);
}

bool IgnoreList::Contains(const std::string& caption) const {
  return std::find(titles_.begin(), titles_.end(), caption) != titles_.end();
}

}  // namespace vd
