// The ignore list: captions of windows the pager never manages, matched exactly (letter case
// and blanks included). In memory it holds the built-in entries, then the entries of
// "ignore.list" beside the program, then the additions of the run, each caption once, at most
// 1000; that is also what the file holds, one caption per line ending in CR LF.
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <system_error>

#include "core/Program.h"
#include "pager/PagerWindow.h"

namespace vd {

namespace {
constexpr size_t kMaxIgnoreEntries = 1000;
}

void PagerWindow::SetIgnoreList() {
  IgnoreTitles.clear();
  for (const char* builtIn : {"Start Menu", "Program Manager", "Open"}) {
    IgnoreTitles.emplace_back(builtIn);
  }
  LoadIgnoreList();
}

void PagerWindow::ClearIgnoreList() {
  std::error_code ec;
  std::filesystem::remove(program_.IgnoreFile(), ec);  // a missing file is no error
  SetIgnoreList();
}

void PagerWindow::LoadIgnoreList() {
  std::ifstream in(program_.IgnoreFile(), std::ios::binary);
  if (!in) return;  // no file: the built-in entries only
  std::string line;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.empty()) continue;
    AddIgnoreList(line);
  }
}

bool PagerWindow::SaveIgnoreList() {
  // Written beside the list and then put in its place in one step: whatever fails, the old
  // list or the new one stays on disk whole, and nothing is deleted.
  const std::string target = program_.IgnoreFile();
  const std::string fresh = target + ".new";
  {
    std::ofstream out(fresh, std::ios::binary | std::ios::trunc);
    if (!out) return false;
    for (const std::string& caption : IgnoreTitles) {
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
  return ws_.ReplaceFileWith(target, fresh);
}

void PagerWindow::AddIgnoreList(const std::string& caption) {
  if (caption.empty() || IgnoreTitles.size() >= kMaxIgnoreEntries || IsIgnored(caption)) return;
  IgnoreTitles.push_back(caption);
}

bool PagerWindow::IsIgnored(const std::string& caption) const {
  return std::find(IgnoreTitles.begin(), IgnoreTitles.end(), caption) != IgnoreTitles.end();
}

}  // namespace vd
