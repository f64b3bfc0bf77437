// Whether the system lets the program change another application's window. A program run
// without administrator rights may not show, hide, move or restyle the windows of one run with
// them: the system refuses those calls (as access denied, while ShowWindow's answer looks the
// same as ever). The program learns it two ways: beforehand, from the integrity levels of the
// two processes' tokens, read once per process; and from a refused call, noted for the window.
// Where the tokens carry no integrity level, or every process the same one (Wine), nothing
// reads as higher.
#include "platform/win32/Win32WindowSystem.h"

// clang-format off
#include <windows.h>
// clang-format on

#include <optional>
#include <vector>

#include "platform/win32/HandleConversion.h"
#include "platform/win32/UniqueHandle.h"

namespace vd::win32 {

namespace {

// Whether the window still lives and belongs to the process.
bool OfProcess(HWND window, DWORD process) {
  DWORD owner = 0;
  return ::GetWindowThreadProcessId(window, &owner) != 0 && owner == process;
}

// The integrity level of the process's token (its mandatory label's last sub-authority); none when
// the token carries none. `opened` tells whether the token could be opened at all.
std::optional<DWORD> IntegrityLevel(HANDLE process, bool* opened) {
  HANDLE token = nullptr;
  *opened = ::OpenProcessToken(process, TOKEN_QUERY, &token) != FALSE;
  if (!*opened) return std::nullopt;
  const OwnedKernelHandle held(token);
  DWORD size = 0;
  ::GetTokenInformation(token, TokenIntegrityLevel, nullptr, 0, &size);
  if (size < sizeof(TOKEN_MANDATORY_LABEL)) return std::nullopt;
  std::vector<BYTE> buffer(size);
  if (!::GetTokenInformation(token, TokenIntegrityLevel, buffer.data(), size, &size)) {
    return std::nullopt;
  }
  const PSID label = reinterpret_cast<const TOKEN_MANDATORY_LABEL*>(buffer.data())->Label.Sid;
  if (label == nullptr || !::IsValidSid(label)) return std::nullopt;
  const UCHAR parts = *::GetSidSubAuthorityCount(label);
  if (parts == 0) return std::nullopt;
  return *::GetSidSubAuthority(label, parts - 1);
}

// The program's own integrity level, read once; none where tokens carry none.
std::optional<DWORD> OwnIntegrityLevel() {
  static const std::optional<DWORD> own = [] {
    bool opened = false;
    return IntegrityLevel(::GetCurrentProcess(), &opened);
  }();
  return own;
}

}  // namespace

void Win32WindowSystem::NoteIfRefused(HWND window, DWORD error) {
  if (error != ERROR_ACCESS_DENIED) return;
  // The program's own windows are always its to change.
  DWORD process = 0;
  if (::GetWindowThreadProcessId(window, &process) == 0 || process == ::GetCurrentProcessId()) {
    return;
  }
  // Only windows that still live are kept: a pager running for weeks keeps no closed ones.
  std::erase_if(refused_, [](const auto& noted) { return !OfProcess(noted.first, noted.second); });
  refused_[window] = process;
}

bool Win32WindowSystem::RunsWithHigherRights(DWORD process, HWND window) {
  if (process == ::GetCurrentProcessId()) return false;
  const std::optional<DWORD> own = OwnIntegrityLevel();
  if (!own) return false;
  const auto known = rights_.find(process);
  if (known != rights_.end() && OfProcess(known->second.window, process)) {
    return known->second.higher;
  }
  // A process whose window is gone may have ended, and its id may come back for another one.
  std::erase_if(rights_,
                [](const auto& read) { return !OfProcess(read.second.window, read.first); });
  bool higher = false;
  const OwnedKernelHandle handle(::OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, process));
  if (!handle) {
    // A process the program may not even look at (a system one) has rights above its own; one
    // that has ended has none.
    higher = ::GetLastError() == ERROR_ACCESS_DENIED;
  } else {
    bool opened = false;
    const std::optional<DWORD> level = IntegrityLevel(handle.Get(), &opened);
    higher = !opened || (level && *level > *own);
  }
  rights_[process] = ProcessRights{higher, window};
  return higher;
}

bool Win32WindowSystem::RefusesChanges(Hwnd hwnd) {
  const HWND window = ToHwnd(hwnd);
  // A refused call is the surest sign; the window's process is read only then, to tell the
  // window from a later one given the same handle.
  if (const auto refused = refused_.find(window); refused != refused_.end()) {
    if (OfProcess(window, refused->second)) return true;
    refused_.erase(refused);
  }
  // Where tokens carry no integrity level, nothing reads as higher and nothing need be asked.
  if (!OwnIntegrityLevel()) return false;
  // A window keeps its process, and so its rights, for its life: they are read once per window,
  // so that asking again (after every show and hide of a switch) costs the system nothing.
  if (const auto known = windowRights_.find(window); known != windowRights_.end()) {
    return known->second;
  }
  DWORD process = 0;
  if (::GetWindowThreadProcessId(window, &process) == 0) return false;
  const bool higher = RunsWithHigherRights(process, window);
  // Closed windows are dropped whenever the table has doubled, so that it stays as large as the
  // windows that live. (A handle comes back for another window only after its slot has been
  // reused many thousands of times.)
  if (windowRights_.size() >= pruneRightsAt_) {
    std::erase_if(windowRights_, [](const auto& read) { return ::IsWindow(read.first) == FALSE; });
    pruneRightsAt_ = 2 * windowRights_.size() + 64;
  }
  windowRights_[window] = higher;
  return higher;
}

}  // namespace vd::win32
