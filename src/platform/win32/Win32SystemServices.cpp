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
#include <vector>

#include "platform/win32/HandleConversion.h"
#include "platform/win32/UniqueHandle.h"

namespace vd::win32 {

namespace {
constexpr size_t kTipChars = 63;
}  // namespace

// ---- Profile files ------------------------------------------------------------------------------

uint32_t Win32WindowSystem::GetPrivateProfileStringA(const std::string& section,
                                                     const std::string& key,
                                                     const std::string& defaultValue, char* buffer,
                                                     uint32_t size, const std::string& fileName) {
  if (!buffer || size == 0) return 0;
  return ::GetPrivateProfileStringA(section.c_str(), key.c_str(), defaultValue.c_str(), buffer,
                                    size, fileName.c_str());
}

bool Win32WindowSystem::WritePrivateProfileStringA(const std::string& section,
                                                   const std::string& key, const std::string& value,
                                                   const std::string& fileName) {
  return ::WritePrivateProfileStringA(section.c_str(), key.c_str(), value.c_str(),
                                      fileName.c_str()) != FALSE;
}

// ---- Registry -----------------------------------------------------------------------------------

int32_t Win32WindowSystem::RegOpenKeyExA(uintptr_t root, const std::string& subKey, uint32_t access,
                                         RegKey* result) {
  if (!result) return ERROR_INVALID_PARAMETER;
  HKEY opened = nullptr;
  const LONG status = ::RegOpenKeyExA(ToHkey(root), subKey.c_str(), 0, access, &opened);
  if (status == ERROR_SUCCESS) {
    *result = reinterpret_cast<RegKey>(opened);
    // The key leaves as a number for the caller to close through RegCloseKey: the seam counts
    // it among the held registry keys until then.
    LiveHandles::Opened(HandleKind::kRegistryKey);
  }
  return status;
}

int32_t Win32WindowSystem::RegSetValueExA(RegKey key, const std::string& valueName, uint32_t type,
                                          const std::string& data, uint32_t length) {
  // The text's own terminating NUL is the last byte that may be read.
  const DWORD bytes = std::min<DWORD>(length, static_cast<DWORD>(data.size() + 1));
  return ::RegSetValueExA(ToHkey(key), valueName.c_str(), 0, type,
                          reinterpret_cast<const BYTE*>(data.c_str()), bytes);
}

int32_t Win32WindowSystem::RegQueryValueExA(RegKey key, const std::string& valueName,
                                            std::string* data) {
  const HKEY hkey = ToHkey(key);
  for (int attempt = 0; attempt < 3; ++attempt) {
    DWORD type = 0, size = 0;
    LONG status = ::RegQueryValueExA(hkey, valueName.c_str(), nullptr, &type, nullptr, &size);
    if (status != ERROR_SUCCESS) return status;
    std::vector<BYTE> bytes(size + 1, 0);
    status = ::RegQueryValueExA(hkey, valueName.c_str(), nullptr, &type, bytes.data(), &size);
    if (status == ERROR_MORE_DATA) continue;  // the value grew in between: ask again
    if (status != ERROR_SUCCESS) return status;
    if (data) {
      size_t length = size;
      while (length > 0 && bytes[length - 1] == 0) --length;  // the stored NULs end the text
      data->assign(reinterpret_cast<const char*>(bytes.data()), length);
    }
    return ERROR_SUCCESS;
  }
  return ERROR_MORE_DATA;
}

int32_t Win32WindowSystem::RegDeleteValueA(RegKey key, const std::string& valueName) {
  return ::RegDeleteValueA(ToHkey(key), valueName.c_str());
}

int32_t Win32WindowSystem::RegCloseKey(RegKey key) {
  const LONG status = ::RegCloseKey(ToHkey(key));
  if (status == ERROR_SUCCESS) LiveHandles::Closed(HandleKind::kRegistryKey);
  return status;
}

// ---- Shell and common dialogs -------------------------------------------------------------------

bool Win32WindowSystem::Shell_NotifyIconA(uint32_t message, const NotifyIconData& data) {
  NOTIFYICONDATAA record{};
  record.cbSize = sizeof(record);
  record.hWnd = ToHwnd(data.hwnd);
  record.uID = data.id;
  record.uFlags = data.flags;
  record.uCallbackMessage = data.callbackMessage;
  if (data.icon != 0) {
    record.hIcon = reinterpret_cast<HICON>(data.icon);
  } else {
    // The program's own icon (resource 1), or the system's application icon without one.
    record.hIcon = ::LoadIconA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(1));
    if (record.hIcon == nullptr) record.hIcon = ::LoadIconA(nullptr, IDI_APPLICATION);
  }
  const size_t tipLength = std::min(data.tip.size(), kTipChars);
  std::memcpy(record.szTip, data.tip.data(), tipLength);
  record.szTip[tipLength] = '\0';
  return ::Shell_NotifyIconA(message, &record) != FALSE;
}

bool Win32WindowSystem::ChooseColorA(Hwnd owner, uint32_t* color,
                                     std::array<uint32_t, 16>* custom) {
  if (!color) return false;
  COLORREF customColors[16] = {};
  if (custom) std::copy(custom->begin(), custom->end(), customColors);
  CHOOSECOLORA dialog{};
  dialog.lStructSize = sizeof(dialog);
  dialog.hwndOwner = ToHwnd(owner);
  dialog.rgbResult = *color;
  dialog.lpCustColors = customColors;
  dialog.Flags = CC_RGBINIT;
  const bool chosen = ::ChooseColorA(&dialog) != FALSE;
  if (custom) std::copy(std::begin(customColors), std::end(customColors), custom->begin());
  if (chosen) *color = dialog.rgbResult;
  return chosen;
}

int Win32WindowSystem::MessageBoxA(Hwnd owner, const std::string& text, const std::string& caption,
                                   uint32_t style) {
  return ::MessageBoxA(ToHwnd(owner), text.c_str(), caption.c_str(), style);
}

// ---- Process ------------------------------------------------------------------------------------

bool Win32WindowSystem::AcquireSingleInstance() {
  if (instanceMutex_) return true;
  // One copy per user and logon session: the mutex lives in the session's namespace and its
  // name carries the user's name.
  char user[257] = {};
  DWORD userLength = sizeof(user);
  if (!::GetUserNameA(user, &userLength)) std::strcpy(user, "user");
  std::string name = std::string("Local\\VuedeckSingleInstance-") + user;
  std::replace(name.begin() + 6, name.end(), '\\', '_');
  OwnedKernelHandle mutex(::CreateMutexA(nullptr, FALSE, name.c_str()));
  const DWORD error = ::GetLastError();
  if (!mutex) return error != ERROR_ACCESS_DENIED;  // someone else's copy holds it
  if (error == ERROR_ALREADY_EXISTS) return false;
  instanceMutex_ = std::move(mutex);
  return true;
}

bool Win32WindowSystem::ReplaceFileWith(const std::string& to, const std::string& from) {
  return ::MoveFileExA(from.c_str(), to.c_str(),
                       MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
}

std::string Win32WindowSystem::ProgramFolder() {
  std::vector<char> path(MAX_PATH);
  for (;;) {
    const DWORD length =
        ::GetModuleFileNameA(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (length == 0) return {};
    if (length < path.size()) {
      std::string full(path.data(), length);
      const size_t slash = full.find_last_of("\\/");
      return slash == std::string::npos ? std::string() : full.substr(0, slash);
    }
    path.resize(path.size() * 2);
  }
}

// ---- Folders ------------------------------------------------------------------------------------

std::string Win32WindowSystem::ApplicationDataFolder() {
  char path[MAX_PATH] = {};
  if (SUCCEEDED(::SHGetFolderPathA(nullptr, CSIDL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, path))) {
    return path;
  }
  const DWORD length = ::GetEnvironmentVariableA("APPDATA", path, MAX_PATH);
  return length > 0 && length < MAX_PATH ? std::string(path, length) : std::string();
}

bool Win32WindowSystem::CanWriteInFolder(const std::string& folder) {
  // The folder's rights, its share's and a read-only medium all come down to this: whether a
  // file can be made there. GetTempFileNameA makes an empty one with a name of its own.
  char trial[MAX_PATH] = {};
  if (::GetTempFileNameA(folder.c_str(), "vd", 0, trial) == 0) return false;
  ::DeleteFileA(trial);
  return true;
}

bool Win32WindowSystem::CreateFolder(const std::string& folder) {
  ::CreateDirectoryA(folder.c_str(), nullptr);
  const DWORD attributes = ::GetFileAttributesA(folder.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

void Win32WindowSystem::ExitProcess(uint32_t exitCode) { ::ExitProcess(exitCode); }

}  // namespace vd::win32
