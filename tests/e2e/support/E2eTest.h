// The fixture of the end-to-end tests: each test gets its own scratch folder holding a copy of
// vuedeck.exe and the settings the test chose, starts the programs it needs, reads real window
// states, and saves screenshots; whatever happens, every process it started is ended when the
// test ends.
//
// Where things are comes from the environment (host paths such as /build/x are fine under
// Wine), else from the folder of e2e_tests.exe:
//   VD_EXE       vuedeck.exe to test                  (default: beside e2e_tests.exe)
//   VD_WINMAKER  winmaker.exe                         (default: beside e2e_tests.exe)
//   VD_SHOTS     folder for the screenshots           (default: e2e-shots beside it)
//   VD_SCRATCH   folder for the tests' scratch folders (default: e2e-scratch beside it)
#pragma once

#include <gtest/gtest.h>
#include <windows.h>

#include <deque>
#include <functional>
#include <string>

#include "ChildProcess.h"
#include "Desktop.h"
#include "Files.h"
#include "Input.h"
#include "ScreenShot.h"
#include "SettingsIni.h"
#include "WinMaker.h"

namespace vde2e {

struct E2eConfig {
  std::string vuedeckExe;
  std::string winmakerExe;
  std::string shotsDir;
  std::string scratchRoot;

  static const E2eConfig& Get();
};

class E2eTest : public ::testing::Test {
 public:
  static constexpr DWORD kStartTimeoutMs = 20000;  // a first start under Wine takes seconds
  static constexpr DWORD kExitTimeoutMs = 10000;
  static constexpr DWORD kDrawTimeoutMs = 5000;  // until what Wine drew reaches the screen

 protected:
  void SetUp() override;
  void TearDown() override;

  // Writes `settings` as settings.ini into the scratch folder and starts the copy of
  // vuedeck.exe there. The process is ended at the end of the test if it still runs.
  ChildProcess& StartVuedeck();
  // Starts the same copy once more (without touching the settings).
  ChildProcess& StartAnotherCopy();
  // The pager: the first visible top-level window of `vuedeck`; null when none showed in time.
  HWND WaitForPager(const ChildProcess& vuedeck, DWORD timeoutMs = kStartTimeoutMs);

  // winmaker.exe, started on first use, stopped at the end of the test.
  WinMaker& Maker();

  // Captures the screen and saves it as "<suite>.<test>[-<step>].png" in the shots folder.
  vdtools::Image Shot(const std::string& step = "");
  // Captures the screen until `check` accepts the picture or `timeoutMs` passed, then saves
  // the last capture as Shot does; true when the check passed. What Wine draws reaches the
  // screen a moment after the call that drew it, so pixel checks poll.
  bool ShotUntil(const std::string& step, const std::function<bool(const vdtools::Image&)>& check,
                 DWORD timeoutMs = kDrawTimeoutMs, vdtools::Image* last = nullptr);

  const std::string& Scratch() const { return scratch_; }
  std::string ScratchFile(const std::string& name) const { return scratch_ + "\\" + name; }

  SettingsIni settings;

 private:
  std::string TestName() const;
  void SaveShot(const vdtools::Image& image, const std::string& step);

  std::string scratch_;
  std::deque<ChildProcess> processes_;  // a deque: references stay valid as it grows
  WinMaker maker_;
};

// Deletes a folder with everything in it; true when it is gone.
bool DeleteTree(const std::string& path);

}  // namespace vde2e
