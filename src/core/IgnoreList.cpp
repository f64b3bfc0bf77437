// The ignore list: captions of windows the pager never manages, matched exactly.
#include <algorithm>

#include "core/Program.h"
#include "core/frmMain.h"

namespace vd {

void frmMain::SetIgnoreList() {
  IgnoreTitles = {"Start Menu", "Program Manager", "Open"};
  LoadIgnoreList();
}

// Reading and writing "ignore.list" come with window tracking; until then the list holds the
// built-in entries and the additions of the run.
void frmMain::LoadIgnoreList() {}

void frmMain::SaveIgnoreList() {}

void frmMain::AddIgnoreList(const std::string& caption) { IgnoreTitles.push_back(caption); }

bool frmMain::IsIgnored(const std::string& caption) const {
  return std::find(IgnoreTitles.begin(), IgnoreTitles.end(), caption) != IgnoreTitles.end();
}

}  // namespace vd
