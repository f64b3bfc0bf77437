// Where the program keeps the files it writes: settings.ini, ignore.list and the records
// hidden.list and translucent.list. That is the program's own folder whenever a file can be
// made there, as it always has been. Installed under Program Files or run from a read-only
// share, the program cannot write beside itself: the files then live in a "VUEDECK" folder in
// the user's application-data folder, made when missing. A file there is read first; the
// settings and the ignore list found beside the program (a settings.ini shipped with it) still
// give the first values: when the data folder does not hold one yet it is copied there, so
// that what the program writes later is added to those values, not to an empty file. The
// records are never read from beside a program that cannot be written: a record that cannot
// be written could not bring hidden windows back.
#pragma once

#include <string>

#include "platform/WindowSystem.h"

namespace vd {

class DataFolder {
 public:
  explicit DataFolder(WindowSystem& ws) : ws_(ws) {}

  // The file `name` ("settings.ini") where it is read and written. The folder is chosen at the
  // first call and kept for the run.
  std::string File(const std::string& name);

 private:
  void Choose();

  WindowSystem& ws_;
  bool chosen_ = false;
  std::string programFolder_;
  std::string folder_;
};

// A file in a folder, joined with the folder's own separator.
std::string FileInFolder(const std::string& folder, const std::string& name);

}  // namespace vd
