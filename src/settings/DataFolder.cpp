#include "settings/DataFolder.h"

#include <filesystem>
#include <system_error>
#include "platform/Utf8.h"

namespace vd {

namespace {
// The files a user may find beside the program and expect kept: shipped with it, or left there
// while its folder could still be written.
constexpr const char* kCarriedOver[] = {"settings.ini", "ignore.list"};
}  // namespace

std::string FileInFolder(const std::string& folder, const std::string& name) {
  if (folder.empty()) return name;
  char separator = folder.find('\\') != std::string::npos ? '\\' : '/';
  char last = folder.back();
  if (last == '\\' || last == '/') return folder + name;
  return folder + separator + name;
}

void DataFolder::Choose() {
  if (chosen_) return;
  chosen_ = true;
  programFolder_ = folder_ = ws_.ProgramFolder();
  if (ws_.CanWriteInFolder(programFolder_)) return;
  const std::string appData = ws_.ApplicationDataFolder();
  if (appData.empty()) return;  // nowhere else to go: a write that fails is reported
  folder_ = FileInFolder(appData, "VUEDECK");
  ws_.CreateFolder(folder_);
  for (const char* name : kCarriedOver) {
    const std::filesystem::path from = PathFromUtf8(FileInFolder(programFolder_, name));
    const std::filesystem::path to = PathFromUtf8(FileInFolder(folder_, name));
    std::error_code ec;
    if (!std::filesystem::exists(to, ec) && std::filesystem::exists(from, ec)) {
      std::filesystem::copy_file(from, to, ec);
    }
  }
}

std::string DataFolder::File(const std::string& name) {
  Choose();
  return FileInFolder(folder_, name);
}

}  // namespace vd
