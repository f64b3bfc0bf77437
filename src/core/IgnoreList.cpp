// The ignore list: captions of windows the pager never manages, matched exactly (letter case
// and blanks included). In memory it holds the built-in entries, then the entries of
// "ignore.list" beside the program, then the additions of the run, each caption once, at most
// 1000; that is also what the file holds, one caption per line ending in CR LF.
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <system_error>

#include "core/Program.h"
#include "core/frmMain.h"

namespace vd {

namespace {
constexpr size_t kMaxIgnoreEntries = 1000;
}

void frmMain::SetIgnoreList() {
  IgnoreTitles.clear();
  for (const char* builtIn : {"Start Menu", "Program Manager", "Open"}) {
    IgnoreTitles.emplace_back(builtIn);
  }
  LoadIgnoreList();
}

void frmMain::LoadIgnoreList() {
  std::ifstream in(program_.IgnoreFile(), std::ios::binary);
  if (!in) return;  // no file: the built-in entries only
  std::string line;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.empty()) continue;
    AddIgnoreList(line);
  }
}

void frmMain::SaveIgnoreList() {
  // Written beside the list and then put in its place, so that a failed write never leaves
  // the list empty or cut short.
  const std::filesystem::path target(program_.IgnoreFile());
  std::filesystem::path temporary = target;
  temporary += ".new";
  {
    std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
    if (!out) return;
    for (const std::string& caption : IgnoreTitles) {
      if (!caption.empty()) out << caption << "\r\n";
    }
    out.flush();
    if (!out) {
      out.close();
      std::error_code ec;
      std::filesystem::remove(temporary, ec);
      return;
    }
  }
  std::error_code ec;
  std::filesystem::rename(temporary, target, ec);
  if (ec) {
    // Some systems refuse to rename over an existing file.
    std::error_code removed;
    std::filesystem::remove(target, removed);
    std::filesystem::rename(temporary, target, ec);
    if (ec) std::filesystem::remove(temporary, removed);
  }
}

void frmMain::AddIgnoreList(const std::string& caption) {
  if (caption.empty() || IgnoreTitles.size() >= kMaxIgnoreEntries || IsIgnored(caption)) return;
  IgnoreTitles.push_back(caption);
}

bool frmMain::IsIgnored(const std::string& caption) const {
  return std::find(IgnoreTitles.begin(), IgnoreTitles.end(), caption) != IgnoreTitles.end();
}

}  // namespace vd
