#include "settings/AutoStart.h"

namespace vd::AutoStart {

std::string RunCommand(const std::string& programFolder) {
  std::string folder = programFolder;
  // A drive's root comes with its separator ("C:\"): the name follows it directly.
  if (!folder.empty() && (folder.back() == '\\' || folder.back() == '/')) folder.pop_back();
  return "\"" + folder + "\\vuedeck\"";
}

namespace {

// Opens the Run key for writing; 0 when it cannot be opened.
RegKey OpenRunKey(WindowSystem& ws) {
  RegKey key = 0;
  if (ws.RegOpenKeyExW(HKEY_CURRENT_USER, kRunKey, KEY_WRITE, &key) != ERROR_SUCCESS) return 0;
  return key;
}

}  // namespace

bool AppAutoStart(WindowSystem& ws) {
  if (RegKey key = OpenRunKey(ws)) {
    const std::string command = RunCommand(ws.ProgramFolder());
    // The length of a text value counts its terminating NUL.
    ws.RegSetValueExW(key, kValueName, REG_SZ, command, static_cast<uint32_t>(command.size() + 1));
    ws.RegCloseKey(key);
  }
  return false;
}

bool AppAutoStop(WindowSystem& ws) {
  if (RegKey key = OpenRunKey(ws)) {
    ws.RegDeleteValueW(key, kValueName);
    ws.RegCloseKey(key);
  }
  return false;
}

}  // namespace vd::AutoStart
