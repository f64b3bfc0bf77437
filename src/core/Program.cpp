#include "core/Program.h"

#include "options/OptionsDialog.h"
#include "pager/PagerWindow.h"
#include "settings/Hotkeys.h"

namespace vd {

std::string FileInFolder(const std::string& folder, const std::string& name) {
  if (folder.empty()) return name;
  char separator = folder.find('\\') != std::string::npos ? '\\' : '/';
  char last = folder.back();
  if (last == '\\' || last == '/') return folder + name;
  return folder + separator + name;
}

Program::Program(WindowSystem& windowSystem, forms::Backend& formsBackend)
    : ws(windowSystem), backend(formsBackend) {}

Program::~Program() = default;

bool Program::Start() {
  // One copy per user and logon session: a second copy ends before any window exists.
  if (!ws.AcquireSingleInstance()) return false;
  RecoverWindowsOfAnEndedRun();
  Hotkeys::FillKeyTables();
  settings = ReadSettings(ws, SettingsFile());
  main_ = std::make_unique<PagerWindow>(*this);
  options_ = std::make_unique<OptionsDialog>(*this, *main_, settings);
  main_->OpenOptionsDialog = [this] { options_->ShowModal(); };
  main_->CloseOptions = [this] {
    if (options_->IsLoaded()) options_->Hide();
  };
  main_->Show();  // runs the pager's load handler to its end, then shows it
  return true;
}

std::string Program::SettingsFile() { return FileInFolder(ws.ProgramFolder(), "settings.ini"); }

std::string Program::IgnoreFile() { return FileInFolder(ws.ProgramFolder(), "ignore.list"); }

std::string Program::RecoveryFile() { return FileInFolder(ws.ProgramFolder(), "hidden.list"); }

std::string Program::TranslucencyFile() {
  return FileInFolder(ws.ProgramFolder(), "translucent.list");
}

void Program::BringEveryWindowBack() noexcept {
  if (main_) main_->Desktops().BringEveryWindowBack();
}

}  // namespace vd
