#include "core/Program.h"

#include "dialogs/MessageDialog.h"
#include "options/OptionsDialog.h"
#include "pager/PagerWindow.h"
#include "settings/Hotkeys.h"

namespace vd {

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
  main_->OpenOptionsDialog = [this] { Options().ShowModal(); };
  main_->CloseOptions = [this] {
    if (options_ != nullptr && options_->IsLoaded()) options_->Hide();
  };
  main_->Show();  // runs the pager's load handler to its end, then shows it
  return true;
}

OptionsDialog& Program::Options() {
  if (options_ == nullptr) options_ = std::make_unique<OptionsDialog>(*this, *main_, settings);
  return *options_;
}

std::string Program::SettingsFile() { return dataFolder_.File("settings.ini"); }

std::string Program::IgnoreFile() { return dataFolder_.File("ignore.list"); }

std::string Program::RecoveryFile() { return dataFolder_.File("hidden.list"); }

std::string Program::TranslucencyFile() { return dataFolder_.File("translucent.list"); }

void Program::ReportFailedWrite(StoredFile file) {
  // Marked first: the box's own message loop may run the tick that fails again.
  if (!reported_.insert(file).second) return;
  switch (file) {
    case StoredFile::kSettings:
      ShowMessage(*this, "Settings",
                  "The settings could not be saved. They stay in effect until VUEDECK ends.",
                  "critical", "Ok;");
      break;
    case StoredFile::kIgnoreList:
      ShowMessage(*this, "Ignore List",
                  "The ignore list could not be saved. ignore.list keeps the list as it was.",
                  "critical", "Ok;");
      break;
    case StoredFile::kRecoveryRecord:
      ShowMessage(*this, "Hidden Windows",
                  "The record of hidden windows could not be saved. Should VUEDECK be ended by "
                  "force, the windows of other desktops stay hidden.",
                  "critical", "Ok;");
      break;
  }
}

void Program::BringEveryWindowBack() noexcept {
  if (main_) main_->Desktops().BringEveryWindowBack();
}

}  // namespace vd
