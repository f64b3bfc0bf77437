// The suite's desktop: natively the in-memory one, driven through its test interface; for Windows
// the real one, with windows of this process and of threads that hide slowly or stop answering.
#if !defined(VD_CONFORMANCE_FAKE)
#include <windows.h>

#include "ChildProcess.h"  // the end-to-end tests': winmaker.exe over pipes
#include "platform/win32/HandleConversion.h"
#include "platform/win32/WideText.h"
#include "platform/win32/Win32WindowSystem.h"
#else
#include "platform/fake/FakeWindowSystem.h"
#endif

#include <algorithm>
#include <deque>
#include <iomanip>
#include <map>
#include <sstream>
#include <thread>

#include "Harness.h"

namespace vd::conformance {
namespace {

#if !defined(VD_CONFORMANCE_FAKE)

using namespace win32;

constexpr wchar_t kClass[] = L"VdConformanceWindow";
std::map<HWND, Hotkeys> received;    // only the test's own thread touches it
thread_local DWORD hideDelayMs = 0;  // how long the thread's windows take to hide

// A window keeps its colour in GWLP_USERDATA.
LRESULT CALLBACK WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) noexcept {
  if (msg == WM_ERASEBKGND || msg == WM_PRINTCLIENT) {  // also asked to render itself
    RECT client{};
    ::GetClientRect(hwnd, &client);
    const HBRUSH brush = ::CreateSolidBrush(::GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    ::FillRect(reinterpret_cast<HDC>(wParam), &client, brush);
    ::DeleteObject(brush);
    return msg == WM_ERASEBKGND;
  }
  if (msg == WM_SHOWWINDOW && wParam == FALSE) ::Sleep(hideDelayMs);
  if (msg == WM_HOTKEY) received[hwnd].emplace_back(wParam, lParam);
  return ::DefWindowProcW(hwnd, msg, wParam, lParam);
}

HWND Create(Rect r, Hwnd parent, uint32_t color, Hwnd owner = 0) {
  const HWND hwnd =
      ::CreateWindowExW(0, kClass, Widen(kCaption).c_str(), parent != 0 ? WS_CHILD : WS_POPUP,
                        r.left, r.top, r.Width(), r.Height(), ToHwnd(parent != 0 ? parent : owner),
                        nullptr, ::GetModuleHandleW(nullptr), nullptr);
  ::SetWindowLongPtrA(hwnd, GWLP_USERDATA, static_cast<LONG_PTR>(color));
  return hwnd;
}

// winmaker.exe, built beside this program, makes the windows of another process; "ok HWND"
// names the window a command made or found, anything else is 0.
Hwnd MakerAnswer(const std::string& answer) {
  return answer.starts_with("ok ") ? static_cast<Hwnd>(std::stoll(answer.substr(3))) : 0;
}

std::string Quoted(const std::string& caption) {
  std::ostringstream out;
  out << std::quoted(caption);
  return out.str();
}

class Desktop : public TestDesktop {
 public:
  Desktop() {
    const WNDCLASSW windowClass{0,       WindowProc, 0,       0,       ::GetModuleHandleW(nullptr),
                                nullptr, nullptr,    nullptr, nullptr, kClass};
    ::RegisterClassW(&windowClass);  // fails harmlessly when an earlier desktop registered it
  }

  ~Desktop() override {
    for (HWND hwnd : made_) ::DestroyWindow(hwnd);
    ::SetEvent(release_);
    for (auto& [thread, hwnd] : workers_) {  // a thread's windows end with it
      ::PostThreadMessageA(::GetWindowThreadProcessId(hwnd, nullptr), WM_QUIT, 0, 0);
      thread.join();
    }
    ::CloseHandle(release_);
    received.clear();
  }

  WindowSystem& System() override { return system_; }
  Hwnd MakeWindow(Rect rect, Hwnd parent, uint32_t color, Hwnd owner) override {
    ::ShowWindow(made_.emplace_back(Create(rect, parent, color, owner)), SW_SHOW);
    Pump();
    return FromHwnd(made_.back());
  }

  void Destroy(Hwnd hwnd) override {
    if (const auto other = others_.find(hwnd); other != others_.end()) {
      maker_->Ask("close " + Quoted(other->second));
      others_.erase(other);
    } else {
      ::DestroyWindow(ToHwnd(hwnd));
    }
    Pump();
  }
  void Retitle(Hwnd hwnd, const std::string& caption) override {
    if (const auto other = others_.find(hwnd); other != others_.end()) {
      if (MakerAnswer(maker_->Ask("title " + Quoted(other->second) + " " + Quoted(caption))) ==
          hwnd) {
        other->second = caption;  // winmaker knows it by its caption
      }
    } else {
      ::SetWindowTextW(ToHwnd(hwnd), Widen(caption).c_str());
    }
  }

  Hwnd MakeOtherProcessWindow() override {
    if (!maker_) {
      const std::string folder = system_.ProgramFolder();
      maker_ = std::make_unique<vde2e::ChildProcess>(folder + "\\winmaker.exe", folder, true);
    }
    const std::string caption = "Other process " + std::to_string(++otherCount_);
    const Hwnd hwnd = MakerAnswer(maker_->Ask("open " + Quoted(caption) + " 300 200 400 300"));
    if (hwnd != 0) others_[hwnd] = caption;
    Pump();
    return hwnd;
  }
  bool Front(Hwnd hwnd) override {
    const auto other = others_.find(hwnd);
    if (other == others_.end()) return ::SetForegroundWindow(ToHwnd(hwnd)) != 0;
    return MakerAnswer(maker_->Ask("front " + Quoted(other->second))) == hwnd;
  }

  Hwnd MakeOtherThreadWindow(bool answers, uint32_t hideMs) override {
    auto& [thread, hwnd] = workers_.emplace_back();
    const HANDLE ready = ::CreateEventA(nullptr, TRUE, FALSE, nullptr);
    thread = std::thread([&made = hwnd, ready, release = release_, answers, hideMs] {
      hideDelayMs = hideMs;
      ::ShowWindow(made = Create({0, 0, 50, 50}, 0, 0), SW_SHOWNA);
      ::SetEvent(ready);
      // One that stops answering takes no message until the test is over.
      if (!answers) ::WaitForSingleObject(release, INFINITE);
      for (MSG message; ::GetMessageW(&message, nullptr, 0, 0) > 0;) ::DispatchMessageW(&message);
    });
    ::WaitForSingleObject(ready, INFINITE);
    ::CloseHandle(ready);
    return FromHwnd(hwnd);
  }

  // Three rounds, each after a short wait: the display driver's work comes late.
  void Pump() override {
    MSG message;
    for (int round = 0; round < 3; ++round) {
      ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
      while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageW(&message);
    }
  }

  bool PumpUntil(const std::function<bool()>& done, uint32_t ms) override {
    for (const DWORD start = ::GetTickCount(); !done(); Pump()) {
      if (::GetTickCount() - start >= ms) return false;
    }
    return true;
  }

  Hotkeys Press(Hwnd hwnd, uint32_t modifiers, uint32_t virtualKey) override {
    std::vector<BYTE> keys;
    for (auto [modifier, key] :
         {std::pair{MOD_ALT, VK_MENU}, {MOD_CONTROL, VK_CONTROL}, {MOD_SHIFT, VK_SHIFT}}) {
      if (modifiers & modifier) keys.push_back(key);
    }
    keys.push_back(static_cast<BYTE>(virtualKey));
    for (BYTE key : keys) ::keybd_event(key, 0, 0, 0);
    for (auto k = keys.rbegin(); k != keys.rend(); ++k) ::keybd_event(*k, 0, KEYEVENTF_KEYUP, 0);
    const Hotkeys& got = received[ToHwnd(hwnd)];
    const auto pressed = static_cast<intptr_t>((virtualKey << 16) | modifiers);
    PumpUntil([&] { return std::ranges::count(got, pressed, &Hotkeys::value_type::second) != 0; },
              2000);
    return got;
  }

 private:
  Win32WindowSystem system_;
  std::vector<HWND> made_;
  std::unique_ptr<vde2e::ChildProcess> maker_;  // started with the first window of another process
  std::map<Hwnd, std::string> others_;          // its windows, by the caption it knows them by
  int otherCount_ = 0;
  // Threads of other windows, each with a reference to its entry, and what wakes them at the end.
  std::deque<std::pair<std::thread, HWND>> workers_;
  const HANDLE release_ = ::CreateEventA(nullptr, TRUE, FALSE, nullptr);
};

#else

class Desktop : public TestDesktop {
 public:
  WindowSystem& System() override { return fake_; }
  Hwnd MakeWindow(Rect rect, Hwnd parent, uint32_t color, Hwnd owner) override {
    const Hwnd hwnd =
        fake_.CreateWindow({kCaption, WS_POPUP | WS_VISIBLE, 0, rect, kOwn, parent, owner});
    fake_.SetWindowPicture(hwnd, Bitmap(rect.Width(), rect.Height(), color));
    fake_.SetMessageSink(hwnd, [this, hwnd](uint32_t msg, uintptr_t wParam, intptr_t lParam) {
      if (msg == WM_HOTKEY) hotkeys_[hwnd].emplace_back(wParam, lParam);
      return intptr_t{0};
    });
    if (parent == 0) fake_.Activate(hwnd);  // as a new window on the real desktop
    return hwnd;
  }

  void Destroy(Hwnd hwnd) override { fake_.DestroyWindow(hwnd); }
  void Retitle(Hwnd hwnd, const std::string& caption) override { fake_.SetCaption(hwnd, caption); }
  Hwnd MakeOtherThreadWindow(bool answers, uint32_t) override {
    const Hwnd hwnd =
        fake_.CreateWindow({kCaption, WS_POPUP | WS_VISIBLE, 0, {0, 0, 50, 50}, kOwn});
    fake_.SetHung(hwnd, !answers);
    return hwnd;
  }
  Hwnd MakeOtherProcessWindow() override {
    const Hwnd hwnd = fake_.CreateWindow({"Other process", WS_POPUP | WS_VISIBLE, 0, {}, 2});
    fake_.Activate(hwnd);
    return hwnd;
  }
  bool Front(Hwnd hwnd) override {
    fake_.Activate(hwnd);
    return fake_.GetForegroundWindow() == hwnd;
  }

  void Pump() override {}
  bool PumpUntil(const std::function<bool()>& done, uint32_t) override { return done(); }
  Hotkeys Press(Hwnd hwnd, uint32_t modifiers, uint32_t key) override {
    fake_.PressHotkey(modifiers, key);
    return hotkeys_[hwnd];
  }

 private:
  // The test's windows are the program's own, as they are of the program's process for real.
  static constexpr uint32_t kOwn = fake::FakeWindowSystem::kProgramProcess;
  fake::FakeWindowSystem fake_;
  std::map<Hwnd, Hotkeys> hotkeys_;
};

#endif

}  // namespace

std::unique_ptr<TestDesktop> MakeTestDesktop() { return std::make_unique<Desktop>(); }

}  // namespace vd::conformance
