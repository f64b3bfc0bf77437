// The window-system seam on the real system, its services beyond windows: profile files, the
// registry, the notification area and the common dialogs, the process itself and the folders
// the program keeps its files in.
#include "platform/win32/Win32WindowSystem.h"

// <windows.h> must come before the other system headers.
// clang-format off
#include <windows.h>
#include <commdlg.h>
#include <shellapi.h>
#include <shlobj.h>
// clang-format on

#include <algorithm>
#include <cstring>
#include <cwchar>
#include <iterator>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/ProfileText.h"
#include "platform/win32/HandleConversion.h"
#include "platform/win32/ProgramIcon.h"
#include "platform/win32/UniqueHandle.h"
#include "platform/win32/WideText.h"

namespace vd::win32 {

namespace {
// The tip's room in the notification record, its terminating NUL aside.
constexpr size_t kTipUnits = std::size(NOTIFYICONDATAW{}.szTip) - 1;
}  // namespace

// ---- Profile files ------------------------------------------------------------------------------

uint32_t Win32WindowSystem::GetPrivateProfileStringW(const std::string& section,
                                                     const std::string& key,
                                                     const std::string& defaultValue, char* buffer,
                                                     uint32_t size, const std::string& fileName) {
  if (!buffer || size == 0) return 0;
  std::vector<wchar_t> wide(size, L'\0');
  const DWORD units = ::GetPrivateProfileStringW(Widen(section).c_str(), Widen(key).c_str(),
                                                 Widen(defaultValue).c_str(), wide.data(), size,
                                                 Widen(fileName).c_str());
  // As many whole characters of the value as the buffer holds, NUL-terminated.
  const std::string value = Narrow(wide.data(), units);
  size_t kept = std::min<size_t>(value.size(), size - 1);
  while (kept > 0 && kept < value.size() &&
         (static_cast<unsigned char>(value[kept]) & 0xC0) == 0x80) {
    --kept;
  }
  std::memcpy(buffer, value.data(), kept);
  buffer[kept] = '\0';
  return static_cast<uint32_t>(kept);
}

std::vector<std::pair<std::string, std::string>> Win32WindowSystem::GetPrivateProfileSectionW(
    const std::string& section, const std::string& fileName) {
  constexpr size_t kLargestSection = 1 << 20;  // characters
  const std::wstring sectionName = Widen(section), file = Widen(fileName);
  std::vector<wchar_t> buffer(8192);
  DWORD units = 0;
  for (;;) {
    units = ::GetPrivateProfileSectionW(sectionName.c_str(), buffer.data(),
                                        static_cast<DWORD>(buffer.size()), file.c_str());
    // A buffer filled up to its last two characters may have cut the section: read it again
    // into a larger one.
    if (units + 2 < buffer.size() || buffer.size() >= kLargestSection) break;
    buffer.resize(buffer.size() * 4);
  }
  std::vector<std::pair<std::string, std::string>> entries;
  const wchar_t* const end = buffer.data() + std::min<size_t>(units, buffer.size());
  for (const wchar_t* line = buffer.data(); line < end && *line != L'\0';) {
    const size_t length = ::wcsnlen(line, static_cast<size_t>(end - line));
    const std::string text = Narrow(line, length);
    line += length + 1;
    const size_t equals = text.find('=');
    if (equals == std::string::npos) continue;
    const std::string_view view(text);
    entries.emplace_back(TrimProfileBlanks(view.substr(0, equals)),
                         UnquoteProfileValue(TrimProfileBlanks(view.substr(equals + 1))));
  }
  return entries;
}

bool Win32WindowSystem::WritePrivateProfileStringW(const std::string& section,
                                                   const std::string& key, const std::string& value,
                                                   const std::string& fileName) {
  return ::WritePrivateProfileStringW(Widen(section).c_str(), Widen(key).c_str(),
                                      Widen(value).c_str(), Widen(fileName).c_str()) != FALSE;
}

// ---- Registry -----------------------------------------------------------------------------------

int32_t Win32WindowSystem::RegOpenKeyExW(uintptr_t root, const std::string& subKey, uint32_t access,
                                         RegKey* result) {
  if (!result) return ERROR_INVALID_PARAMETER;
  HKEY opened = nullptr;
  const LONG status = ::RegOpenKeyExW(ToHkey(root), Widen(subKey).c_str(), 0, access, &opened);
  if (status == ERROR_SUCCESS) {
    *result = reinterpret_cast<RegKey>(opened);
    // The key leaves as a number for the caller to close through RegCloseKey: the seam counts
    // it among the held registry keys until then.
    LiveHandles::Opened(HandleKind::kRegistryKey);
  }
  return status;
}

int32_t Win32WindowSystem::RegSetValueExW(RegKey key, const std::string& valueName, uint32_t type,
                                          const std::string& data, uint32_t length) {
  // The length counts bytes of the text; a terminating NUL within it is not part of it. The
  // text is stored wide, with its NUL.
  std::string text = data.substr(0, std::min<size_t>(length, data.size()));
  while (!text.empty() && text.back() == '\0') text.pop_back();
  const std::wstring wide = Widen(text);
  const auto bytes = static_cast<DWORD>((wide.size() + 1) * sizeof(wchar_t));
  return ::RegSetValueExW(ToHkey(key), Widen(valueName).c_str(), 0, type,
                          reinterpret_cast<const BYTE*>(wide.c_str()), bytes);
}

int32_t Win32WindowSystem::RegQueryValueExW(RegKey key, const std::string& valueName,
                                            std::string* data) {
  const HKEY hkey = ToHkey(key);
  const std::wstring name = Widen(valueName);
  for (int attempt = 0; attempt < 3; ++attempt) {
    DWORD type = 0, size = 0;
    LONG status = ::RegQueryValueExW(hkey, name.c_str(), nullptr, &type, nullptr, &size);
    if (status != ERROR_SUCCESS) return status;
    std::vector<wchar_t> units(size / sizeof(wchar_t) + 1, L'\0');
    status = ::RegQueryValueExW(hkey, name.c_str(), nullptr, &type,
                                reinterpret_cast<BYTE*>(units.data()), &size);
    if (status == ERROR_MORE_DATA) continue;  // the value grew in between: ask again
    if (status != ERROR_SUCCESS) return status;
    if (data) {
      size_t length = size / sizeof(wchar_t);
      while (length > 0 && units[length - 1] == 0) --length;  // the stored NULs end the text
      *data = Narrow(units.data(), length);
    }
    return ERROR_SUCCESS;
  }
  return ERROR_MORE_DATA;
}

int32_t Win32WindowSystem::RegDeleteValueW(RegKey key, const std::string& valueName) {
  return ::RegDeleteValueW(ToHkey(key), Widen(valueName).c_str());
}

int32_t Win32WindowSystem::RegCloseKey(RegKey key) {
  const LONG status = ::RegCloseKey(ToHkey(key));
  if (status == ERROR_SUCCESS) LiveHandles::Closed(HandleKind::kRegistryKey);
  return status;
}

// ---- Shell and common dialogs -------------------------------------------------------------------

bool Win32WindowSystem::Shell_NotifyIconW(uint32_t message, const NotifyIconData& data) {
  NOTIFYICONDATAW record{};
  record.cbSize = sizeof(record);
  record.hWnd = ToHwnd(data.hwnd);
  record.uID = data.id;
  record.uFlags = data.flags;
  record.uCallbackMessage = data.callbackMessage;
  if (data.icon != 0) {
    record.hIcon = reinterpret_cast<HICON>(data.icon);
  } else {
    // The program's own icon at the small-icon size of the system's DPI (or the system's
    // application icon without one), loaded once for the run.
    static const HICON programIcon =
        LoadProgramIcon(::GetModuleHandleW(nullptr), SM_CXSMICON, SM_CYSMICON);
    record.hIcon = programIcon;
  }
  // A tip longer than the record holds is cut between two characters, never inside one.
  std::wstring tip = Widen(data.tip);
  if (tip.size() > kTipUnits) {
    size_t kept = kTipUnits;
    if (IS_HIGH_SURROGATE(tip[kept - 1])) --kept;
    tip.resize(kept);
  }
  std::copy(tip.begin(), tip.end(), record.szTip);
  record.szTip[tip.size()] = L'\0';
  return ::Shell_NotifyIconW(message, &record) != FALSE;
}

bool Win32WindowSystem::ChooseColorW(Hwnd owner, uint32_t* color,
                                     std::array<uint32_t, 16>* custom) {
  if (!color) return false;
  COLORREF customColors[16] = {};
  if (custom) std::copy(custom->begin(), custom->end(), customColors);
  CHOOSECOLORW dialog{};
  dialog.lStructSize = sizeof(dialog);
  dialog.hwndOwner = ToHwnd(owner);
  dialog.rgbResult = *color;
  dialog.lpCustColors = customColors;
  dialog.Flags = CC_RGBINIT;
  const bool chosen = ::ChooseColorW(&dialog) != FALSE;
  if (custom) std::copy(std::begin(customColors), std::end(customColors), custom->begin());
  if (chosen) *color = dialog.rgbResult;
  return chosen;
}

int Win32WindowSystem::MessageBoxW(Hwnd owner, const std::string& text, const std::string& caption,
                                   uint32_t style) {
  return ::MessageBoxW(ToHwnd(owner), Widen(text).c_str(), Widen(caption).c_str(), style);
}

// ---- The ANSI code page ------------------------------------------------------------------------

std::string Win32WindowSystem::AnsiToUtf8(const std::string& ansi) {
  return win32::AnsiToUtf8(ansi);
}

std::string Win32WindowSystem::Utf8ToAnsi(const std::string& utf8) {
  return win32::Utf8ToAnsi(utf8);
}

// ---- Process ------------------------------------------------------------------------------------

bool Win32WindowSystem::AcquireSingleInstance() {
  if (instanceMutex_) return true;
  // One copy per user and logon session: the mutex lives in the session's namespace and its
  // name carries the user's name.
  wchar_t user[257] = {};
  DWORD userLength = std::size(user);
  if (!::GetUserNameW(user, &userLength)) std::wcscpy(user, L"user");
  std::wstring name = std::wstring(L"Local\\VuedeckSingleInstance-") + user;
  std::replace(name.begin() + 6, name.end(), L'\\', L'_');
  OwnedKernelHandle mutex(::CreateMutexW(nullptr, FALSE, name.c_str()));
  const DWORD error = ::GetLastError();
  if (!mutex) return error != ERROR_ACCESS_DENIED;  // someone else's copy holds it
  if (error == ERROR_ALREADY_EXISTS) return false;
  instanceMutex_ = std::move(mutex);
  return true;
}

bool Win32WindowSystem::ReplaceFileWith(const std::string& to, const std::string& from) {
  return ::MoveFileExW(Widen(from).c_str(), Widen(to).c_str(),
                       MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
}

std::string Win32WindowSystem::ProgramFolder() {
  std::vector<wchar_t> path(MAX_PATH);
  for (;;) {
    const DWORD length =
        ::GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (length == 0) return {};
    if (length < path.size()) {
      const std::string full = Narrow(path.data(), length);
      const size_t slash = full.find_last_of("\\/");
      return slash == std::string::npos ? std::string() : full.substr(0, slash);
    }
    path.resize(path.size() * 2);
  }
}

// ---- Folders ------------------------------------------------------------------------------------

std::string Win32WindowSystem::ApplicationDataFolder() {
  wchar_t path[MAX_PATH] = {};
  if (SUCCEEDED(::SHGetFolderPathW(nullptr, CSIDL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, path))) {
    return Narrow(path, std::wcslen(path));
  }
  const DWORD length = ::GetEnvironmentVariableW(L"APPDATA", path, MAX_PATH);
  return length > 0 && length < MAX_PATH ? Narrow(path, length) : std::string();
}

bool Win32WindowSystem::CanWriteInFolder(const std::string& folder) {
  // The folder's rights, its share's and a read-only medium all come down to this: whether a
  // file can be made there. GetTempFileNameW makes an empty one with a name of its own.
  wchar_t trial[MAX_PATH] = {};
  if (::GetTempFileNameW(Widen(folder).c_str(), L"vd", 0, trial) == 0) return false;
  ::DeleteFileW(trial);
  return true;
}

bool Win32WindowSystem::CreateFolder(const std::string& folder) {
  const std::wstring wide = Widen(folder);
  ::CreateDirectoryW(wide.c_str(), nullptr);
  const DWORD attributes = ::GetFileAttributesW(wide.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

void Win32WindowSystem::ExitProcess(uint32_t exitCode) { ::ExitProcess(exitCode); }

}  // namespace vd::win32
