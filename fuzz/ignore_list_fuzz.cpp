// "ignore.list" with any bytes in it: a first run reads it, adds captions (some of them lines
// of the file, so duplicates are tried) and saves it; a second run reads what the first saved.
// Whatever the file held, the list never exceeds 1000 entries, never holds a caption twice,
// starts with the built-in entries, comes back from the file exactly as it was saved, and a
// window is managed exactly when the list does not hold its caption.
#include <cstddef>
#include <cstdint>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "FuzzProgram.h"

using vd::fuzzing::Check;

namespace {

void CheckList(const std::vector<std::string>& list) {
  Check(list.size() <= 1000, "the ignore list holds at most 1000 entries");
  Check(std::set<std::string>(list.begin(), list.end()).size() == list.size(),
        "the ignore list holds each caption once");
  Check(list.size() >= 3 && list[0] == "Start Menu" && list[1] == "Program Manager" &&
            list[2] == "Open",
        "the built-in entries come first");
  for (const std::string& caption : list) Check(!caption.empty(), "no empty entry");
}

}  // namespace

VD_FUZZ_TARGET(IgnoreList) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  vd::fuzzing::WriteFile("ignore.list", text);
  vd::fuzzing::RemoveFile("settings.ini");
  vd::fuzzing::RemoveFile("hidden.list");
  const std::vector<std::string> lines = vd::fuzzing::Lines(text);

  vd::fuzzing::Harness h;
  // Windows titled with the first and the last line of the file (a caption never holds a
  // NUL), and one never listed.
  std::vector<std::string> captions;
  if (!lines.empty()) captions.push_back(lines.front());
  if (lines.size() > 1) captions.push_back(lines.back());
  std::erase_if(captions, [](const std::string& c) { return c.find('\0') != std::string::npos; });
  for (const std::string& caption : captions) h.OpenWindow(caption);
  const vd::Hwnd plain = h.OpenWindow("A window nobody ignores \x01\xff");
  h.Start();
  vd::PagerWindow& first = h.Pager();
  CheckList(first.ignoreList.Titles());
  for (size_t i = 0; i < captions.size(); ++i) {
    const bool listed = first.ignoreList.Contains(captions[i]);
    Check(first.IsManaged(h.windows[i]) == (!listed && !captions[i].empty()),
          "a window is managed exactly when its caption is not ignored");
  }
  Check(first.IsManaged(plain) == !first.ignoreList.Contains(h.fake.GetWindowTextW(plain)),
        "a caption not in the list is managed");

  // Additions: lines of the file again, a caption with bytes of another code page, the plain
  // window's caption twice.
  for (size_t i = 0; i < lines.size() && i < 8; ++i) first.ignoreList.Add(lines[i]);
  first.ignoreList.Add("Caf\xe9 \xc0\xff");
  first.ignoreList.Add(h.fake.GetWindowTextW(plain));
  first.ignoreList.Add(h.fake.GetWindowTextW(plain));
  CheckList(first.ignoreList.Titles());
  first.ignoreList.Save();
  const std::vector<std::string> saved = first.ignoreList.Titles();

  // The second run reads back exactly what the first one saved.
  h.Start();
  vd::PagerWindow& second = h.Pager();
  CheckList(second.ignoreList.Titles());
  Check(second.ignoreList.Titles() == saved, "the saved ignore list reads back as it was");
  Check(!second.IsManaged(plain) || saved.size() >= 1000,
        "a caption added to the list is not managed on the next run");
  h.backend->Advance(150);
  h.CloseAll();
  return 0;
}
