// The ignore list: captions of windows the pager never manages, matched exactly (letter case
// and blanks included), in any script. In memory it holds the built-in entries, then the
// entries of its file ("ignore.list" in the program's data folder), then the additions of the
// run, each caption once, at most 1000; that is also what the file holds: UTF-8 after a byte
// order mark, one caption per line ending in CR LF. A file without the mark was written by an
// earlier version: valid UTF-8 is read as such, anything else in the ANSI code page. Those
// versions saw a character the code page lacks as '?', so a line with '?' also stands for a
// caption that reads as that line in the code page.
#pragma once

#include <string>
#include <vector>

#include "platform/WindowSystem.h"

namespace vd {

class IgnoreList {
 public:
  // file: where the list is read from and saved to; ws puts a saved list in its place.
  IgnoreList(WindowSystem& ws, std::string file);

  // The built-in entries, then those of the file (none when there is no file).
  void Reset();
  // Adds a caption at the end; an empty caption, one already listed, or any caption once the
  // list holds 1000 entries is not added.
  void Add(const std::string& caption);
  bool Contains(const std::string& caption) const;
  // Saves the list; false when it could not be saved (the file then holds the list as it was,
  // and the new list, when it could be written, stands beside it as "<file>.new").
  bool Save();
  // Deletes the file and starts afresh with the built-in entries.
  void Clear();

  // The captions, in order.
  const std::vector<std::string>& Titles() const { return titles_; }

 private:
  void Load();

  WindowSystem& ws_;
  std::string file_;
  std::vector<std::string> titles_;
  size_t withQuestionMarks_ = 0;  // lines with a '?': only then is a caption read as ANSI
};

}  // namespace vd
