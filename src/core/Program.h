// The running program: the two seams it talks through and its forms. The program entry
// (Start) refuses a second copy, fills the hotkey tables and loads and shows the pager; the
// pager's load handler does the rest of the start-up.
#pragma once

#include <array>
#include <memory>
#include <set>
#include <string>

#include "forms/Backend.h"
#include "platform/WindowSystem.h"
#include "settings/DataFolder.h"
#include "settings/Hotkeys.h"
#include "settings/Settings.h"

namespace vd {

class PagerWindow;
class OptionsDialog;

class Program {
 public:
  Program(WindowSystem& windowSystem, forms::Backend& formsBackend);
  ~Program();
  Program(const Program&) = delete;
  Program& operator=(const Program&) = delete;

  // The program entry. False when another copy already runs for this user: then nothing was
  // created and the caller ends silently. True when the pager is loaded and shown.
  bool Start();
  bool Started() const { return main_ != nullptr; }

  WindowSystem& ws;
  forms::Backend& backend;
  // The settings in effect: read from settings.ini once at start, replaced by the options
  // dialog's OK.
  Settings settings;

  // The pager and the options dialog, for the tests and the fault handler. The forms get
  // what they need of each other when they are made; none asks the program for another. The
  // options dialog, with its hundred-odd controls, is made when it is first wanted, not at
  // start: most runs never open it.
  PagerWindow& Main() { return *main_; }
  OptionsDialog& Options();

  // What is registered under each hotkey id.
  HotkeyRegistry hotkeys{*this};

  // "settings.ini", "ignore.list" and "hidden.list", beside the program or, when its folder
  // cannot be written, in the user's data folder (DataFolder).
  std::string SettingsFile();
  std::string IgnoreFile();
  std::string RecoveryFile();
  // "translucent.list": the windows the program made translucent, kept across runs.
  std::string TranslucencyFile();

  // The files whose failed writes the user is told of.
  enum class StoredFile { kSettings, kIgnoreList, kRecoveryRecord };
  // Tells the user in the program's message box that the file could not be written: once a
  // run for each file, however often the write fails again (the record is tried every tick).
  void ReportFailedWrite(StoredFile file);

  // Brings back the windows a previous run left hidden when it was ended by force (its record
  // "hidden.list" names them and their owner processes), then removes the record. A window
  // that is visible, gone, or now belongs to another process is left alone.
  void RecoverWindowsOfAnEndedRun();
  // For an unexpected fault: every managed window is shown before the process ends.
  void BringEveryWindowBack() noexcept;

 private:
  std::unique_ptr<PagerWindow> main_;
  std::unique_ptr<OptionsDialog> options_;  // edits the pager's settings: goes first
  DataFolder dataFolder_{ws};
  std::set<StoredFile> reported_;  // the files whose failed write the user was told of
};

}  // namespace vd
