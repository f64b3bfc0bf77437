// The fake desktop's shell, dialogs and process: the notification-area icons, the colour
// chooser and the message box (answered by the test's handlers), the single-instance check,
// the file replacement the program saves its lists with, the program's folder, the user's
// application-data folder and folders that refuse writes, and the process's exit.
#include <algorithm>
#include <filesystem>
#include <string>
#include <system_error>
#include <utility>

#include "platform/fake/FakeState.h"
#include "platform/fake/FakeWindowSystem.h"

namespace vd::fake {

// ---- Shell and common dialogs -------------------------------------------------------------------

bool FakeWindowSystem::Shell_NotifyIconW(uint32_t message, const NotifyIconData& data) {
  State& s = *state_;
  s.Record("Shell_NotifyIconW", {Dec(message), Dec(data.hwnd), Dec(data.id), Dec(data.flags),
                                 Dec(data.callbackMessage), Dec(uint64_t{data.icon}), data.tip});
  constexpr size_t kTipUnits = 127;  // the record's room, cut between characters
  auto it = std::find_if(s.tray.begin(), s.tray.end(), [&](const NotifyIconData& icon) {
    return icon.hwnd == data.hwnd && icon.id == data.id;
  });
  switch (message) {
    case NIM_ADD: {
      if (it != s.tray.end()) return false;
      NotifyIconData icon = data;
      icon.tip = FirstUtf16Units(icon.tip, kTipUnits);
      s.tray.push_back(std::move(icon));
      return true;
    }
    case NIM_MODIFY:
      if (it == s.tray.end()) return false;
      // Only the fields the flags name change.
      if ((data.flags & NIF_MESSAGE) != 0) it->callbackMessage = data.callbackMessage;
      if ((data.flags & NIF_ICON) != 0) it->icon = data.icon;
      if ((data.flags & NIF_TIP) != 0) it->tip = FirstUtf16Units(data.tip, kTipUnits);
      it->flags |= data.flags;
      return true;
    case NIM_DELETE:
      if (it == s.tray.end()) return false;
      s.tray.erase(it);
      return true;
    default:
      return false;
  }
}

bool FakeWindowSystem::ChooseColorW(Hwnd owner, uint32_t* color, std::array<uint32_t, 16>* custom) {
  (void)custom;
  state_->Record("ChooseColorW", {Dec(owner), Dec(color ? *color : 0u)});
  if (!onChooseColor || !color) return false;
  uint32_t chosen = *color;
  if (!onChooseColor(&chosen)) return false;
  *color = chosen;
  return true;
}

int FakeWindowSystem::MessageBoxW(Hwnd owner, const std::string& text, const std::string& caption,
                                  uint32_t style) {
  state_->Record("MessageBoxW", {Dec(owner), text, caption, Dec(style)});
  return onMessageBox ? onMessageBox(text, caption, style) : IDCANCEL;
}

// ---- Process ------------------------------------------------------------------------------------

bool FakeWindowSystem::AcquireSingleInstance() {
  state_->Record("AcquireSingleInstance", {});
  return !state_->secondInstance;
}

bool FakeWindowSystem::ReplaceFileWith(const std::string& to, const std::string& from) {
  State& s = *state_;
  s.Record("ReplaceFileWith", {to, from});
  if (s.RefusesWritesTo(to)) return false;
  if (s.failingReplacements > 0) {
    --s.failingReplacements;
    return false;
  }
  std::error_code ec;
  if (!std::filesystem::is_regular_file(from, ec)) return false;
  std::filesystem::rename(from, to, ec);  // replaces a file in one step, as the system does
  return !ec;
}

std::string FakeWindowSystem::ProgramFolder() {
  state_->Record("ProgramFolder", {});
  return state_->programFolder;
}

// ---- Folders ------------------------------------------------------------------------------------

std::string FakeWindowSystem::ApplicationDataFolder() {
  state_->Record("ApplicationDataFolder", {});
  return state_->appDataFolder;
}

bool FakeWindowSystem::CanWriteInFolder(const std::string& folder) {
  state_->Record("CanWriteInFolder", {folder});
  std::error_code ec;
  return std::filesystem::is_directory(LocalPath(folder), ec) && !state_->RefusesWritesIn(folder);
}

bool FakeWindowSystem::CreateFolder(const std::string& folder) {
  state_->Record("CreateFolder", {folder});
  std::error_code ec;
  std::filesystem::create_directory(LocalPath(folder), ec);
  return std::filesystem::is_directory(LocalPath(folder), ec);
}

void FakeWindowSystem::ExitProcess(uint32_t exitCode) {
  state_->Record("ExitProcess", {Dec(exitCode)});
  state_->ended = true;
}

}  // namespace vd::fake
