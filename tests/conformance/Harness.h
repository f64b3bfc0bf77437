// What the conformance suite runs against: the window system under test plus a way to make
// windows of the test's own and to act as the user. Natively it is the in-memory desktop; in
// the Windows build it is the real system, with real windows of the test process and real
// keyboard input.
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "platform/WindowSystem.h"

namespace vd::conformance {

struct TestWindowTraits {
  std::string caption = "Conformance window";
  Rect rect{100, 100, 400, 300};  // screen pixels; relative to the parent for a child
  bool visible = true;
  Hwnd parent = 0;
  uint32_t color = 0x00FFFFFF;  // what the window paints itself with (0x00BBGGRR)
  // A window that leaves every message to the system's defaults (records nothing).
  bool defaultProcedure = false;
};

struct Received {
  uint32_t msg = 0;
  uintptr_t wParam = 0;
  intptr_t lParam = 0;
};

class TestDesktop {
 public:
  virtual ~TestDesktop() = default;

  virtual WindowSystem& System() = 0;
  // A new window. Windows made here record WM_HOTKEY and messages from WM_USER up, and answer
  // a message from WM_USER up with wParam + lParam; WM_CLOSE destroys them.
  virtual Hwnd MakeWindow(const TestWindowTraits& desc) = 0;
  virtual void Destroy(Hwnd hwnd) = 0;
  // A window whose thread has stopped answering messages.
  virtual Hwnd MakeUnresponsiveWindow() = 0;
  // A shown window of another thread that answers, but takes `hideMs` to hide itself.
  virtual Hwnd MakeSlowWindow(uint32_t hideMs) = 0;
  virtual std::vector<Received> MessagesOf(Hwnd hwnd) = 0;
  // Lets pending work run (posted messages, painting).
  virtual void Pump() = 0;
  // Puts the mouse pointer at a screen point, as the user's mouse would.
  virtual void MoveCursor(Point point) = 0;
  // Presses and releases a key combination the way the user's keyboard would.
  virtual void PressKeys(uint32_t modifiers, uint32_t virtualKey) = 0;
  // Waits, letting messages run, until the window has received a message that matches, for at
  // most two seconds; true when one came.
  virtual bool WaitFor(Hwnd hwnd, const std::function<bool(const Received&)>& match) = 0;
  // The process id that windows made here carry.
  virtual uint32_t OwnProcessId() = 0;
  // Registry keys under HKEY_CURRENT_USER, made and removed outside the seam (the program
  // itself never creates keys).
  virtual void CreateRegistryKey(const std::string& subKey) = 0;
  virtual void DeleteRegistryKey(const std::string& subKey) = 0;
};

std::unique_ptr<TestDesktop> MakeTestDesktop();

// A fresh folder under the system's temporary folder, removed with everything in it.
class TempFolder {
 public:
  TempFolder() {
    std::random_device random;
    const auto base = std::filesystem::temp_directory_path();
    for (int attempt = 0; attempt < 100; ++attempt) {
      path_ = base / ("vd-conformance-" + std::to_string(random()));
      if (std::filesystem::create_directory(path_)) return;
    }
  }
  ~TempFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  const std::filesystem::path& Path() const { return path_; }
  std::string File(const std::string& name) const { return (path_ / name).string(); }

 private:
  std::filesystem::path path_;
};

}  // namespace vd::conformance
