#include "tracking/IgnoreList.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <system_error>
#include <utility>

#include "platform/Utf8.h"

namespace vd {

namespace {
constexpr size_t kMaxIgnoreEntries = 1000;
constexpr char kByteOrderMark[] = "\xEF\xBB\xBF";
}  // namespace

IgnoreList::IgnoreList(WindowSystem& ws, std::string file) : ws_(ws), file_(std::move(file)) {}

void IgnoreList::Reset() {
  titles_.clear();
  withQuestionMarks_ = 0;
  for (const char* builtIn : {"Start Menu", "Program Manager", "Open"}) {
    titles_.emplace_back(builtIn);
  }
  Load();
}

void IgnoreList::Clear() {
  std::error_code ec;
  std::filesystem::remove(PathFromUtf8(file_), ec);  // a missing file is no error
  Reset();
}

void IgnoreList::Load() {
  std::ifstream in(PathFromUtf8(file_), std::ios::binary);
  if (!in) return;  // no file: the built-in entries only
  std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  // A list this version wrote starts with a byte order mark. One without it is read as UTF-8
  // when it is valid UTF-8, and otherwise in the ANSI code page earlier versions wrote it in.
  const bool marked = text.starts_with(kByteOrderMark);
  if (marked) text.erase(0, 3);
  const bool ansi = !marked && !IsValidUtf8(text);
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    std::string line = text.substr(start, end - start);
    start = end + 1;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.empty()) continue;
    Add(ansi ? ws_.AnsiToUtf8(line) : line);
  }
}

bool IgnoreList::Save() {
  // Written beside the list and then put in its place in one step: whatever fails, the old
  // list or the new one stays on disk whole, and nothing is deleted.
  const std::string fresh = file_ + ".new";
  {
    std::ofstream out(PathFromUtf8(fresh), std::ios::binary | std::ios::trunc);
    if (!out) return false;
    out << kByteOrderMark;
    for (const std::string& caption : titles_) {
      if (!caption.empty()) out << caption << "\r\n";
    }
    out.flush();
    if (!out) {
      out.close();
      std::error_code ec;
      std::filesystem::remove(PathFromUtf8(fresh), ec);  // cut short: the old list stays as it was
      return false;
    }
  }
  // When the replacement fails the new list is left beside the old one, for the user.
  return ws_.ReplaceFileWith(file_, fresh);
}

void IgnoreList::Add(const std::string& caption) {
  if (caption.empty() || titles_.size() >= kMaxIgnoreEntries || Contains(caption)) return;
  titles_.push_back(caption);
  if (caption.find('?') != std::string::npos) ++withQuestionMarks_;
}

bool IgnoreList::Contains(const std::string& caption) const {
  if (std::find(titles_.begin(), titles_.end(), caption) != titles_.end()) return true;
  // Earlier versions read titles in the ANSI code page, where a character the page lacks is a
  // '?': a line they wrote that way still stands for the window it was written for.
  if (withQuestionMarks_ == 0 || IsAscii(caption)) return false;
  const std::string asRead = ws_.AnsiToUtf8(ws_.Utf8ToAnsi(caption));
  return asRead != caption && std::find(titles_.begin(), titles_.end(), asRead) != titles_.end();
}

}  // namespace vd
