// The conformance suite's desktop for the Windows build: the real window system, real windows
// of the test process (painted in a chosen colour, recording their hotkeys), windows of worker
// threads that hide slowly or stop answering, and keyboard input sent with SendInput.
#if !defined(VD_CONFORMANCE_FAKE) && defined(_WIN32)

#include <windows.h>

#include <deque>
#include <map>
#include <thread>

#include "Harness.h"
#include "platform/win32/HandleConversion.h"
#include "platform/win32/Win32WindowSystem.h"

namespace vd::conformance {
namespace {

constexpr char kClass[] = "VdConformanceWindow";
std::map<HWND, Hotkeys> received;  // only the test's own thread touches it

// A window keeps its colour in GWLP_USERDATA and how long it takes to hide in its extra bytes.
LRESULT CALLBACK WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) noexcept {
  if (msg == WM_ERASEBKGND || msg == WM_PRINTCLIENT) {  // also asked to render itself
    RECT client{};
    ::GetClientRect(hwnd, &client);
    const HBRUSH brush =
        ::CreateSolidBrush(static_cast<COLORREF>(::GetWindowLongPtrA(hwnd, GWLP_USERDATA)));
    ::FillRect(reinterpret_cast<HDC>(wParam), &client, brush);
    ::DeleteObject(brush);
    return msg == WM_ERASEBKGND;
  }
  if (msg == WM_WINDOWPOSCHANGING &&
      (reinterpret_cast<const WINDOWPOS*>(lParam)->flags & SWP_HIDEWINDOW) != 0) {
    ::Sleep(static_cast<DWORD>(::GetWindowLongPtrA(hwnd, 0)));
  }
  if (msg == WM_HOTKEY) received[hwnd].emplace_back(wParam, lParam);
  if (msg >= WM_USER && msg < 0x8000) return static_cast<LRESULT>(wParam) + lParam;
  return ::DefWindowProcA(hwnd, msg, wParam, lParam);
}

using namespace win32;

HWND Create(const TestWindowTraits& traits, LONG_PTR hideMs) {
  const Rect& r = traits.rect;
  const HWND hwnd = ::CreateWindowExA(
      0, kClass, traits.caption.c_str(), traits.parent != 0 ? WS_CHILD : WS_POPUP, r.left, r.top,
      r.Width(), r.Height(), ToHwnd(traits.parent), nullptr, ::GetModuleHandleA(nullptr), nullptr);
  ::SetWindowLongPtrA(hwnd, GWLP_USERDATA, static_cast<LONG_PTR>(traits.color));
  ::SetWindowLongPtrA(hwnd, 0, hideMs);
  return hwnd;
}

// Lets pending messages run, each round after a short wait: the display driver's work comes late.
void PumpRounds(int rounds) {
  for (MSG message; rounds-- > 0;) {
    ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
    while (::PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageA(&message);
  }
}

class Win32Desktop : public TestDesktop {
 public:
  Win32Desktop() {
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = WindowProc;
    windowClass.cbWndExtra = sizeof(LONG_PTR);
    windowClass.hInstance = ::GetModuleHandleA(nullptr);
    windowClass.lpszClassName = kClass;
    ::RegisterClassA(&windowClass);  // fails harmlessly when an earlier desktop registered it
  }

  ~Win32Desktop() override {
    for (auto it = made_.rbegin(); it != made_.rend(); ++it) ::DestroyWindow(*it);
    ::SetEvent(release_);
    for (auto& [thread, hwnd] : workers_) {  // a thread's windows end with it
      ::PostThreadMessageA(::GetWindowThreadProcessId(hwnd, nullptr), WM_QUIT, 0, 0);
      thread.join();
    }
    ::CloseHandle(release_);
    received.clear();
  }

  WindowSystem& System() override { return system_; }

  Hwnd MakeWindow(const TestWindowTraits& traits) override {
    const HWND hwnd = made_.emplace_back(Create(traits, 0));
    ::ShowWindow(hwnd, SW_SHOW);
    Pump();
    return FromHwnd(hwnd);
  }

  void Destroy(Hwnd hwnd) override {
    ::DestroyWindow(ToHwnd(hwnd));
    Pump();
  }

  Hwnd MakeOtherThreadWindow(bool answers, uint32_t hideMs) override {
    auto& [thread, hwnd] = workers_.emplace_back();
    const HANDLE ready = ::CreateEventA(nullptr, TRUE, FALSE, nullptr);
    thread = std::thread([&made = hwnd, ready, release = release_, answers, hideMs] {
      made = Create({answers ? "Slow" : "Unresponsive", {0, 0, 50, 50}}, hideMs);
      ::ShowWindow(made, SW_SHOWNA);
      ::SetEvent(ready);
      // One that stops answering takes no message until the test is over.
      if (!answers) ::WaitForSingleObject(release, INFINITE);
      MSG message;
      while (::GetMessageA(&message, nullptr, 0, 0) > 0) ::DispatchMessageA(&message);
    });
    ::WaitForSingleObject(ready, INFINITE);
    ::CloseHandle(ready);
    return FromHwnd(hwnd);
  }

  void Pump() override { PumpRounds(3); }

  void PressKeys(uint32_t modifiers, uint32_t virtualKey) override {
    std::vector<WORD> keys;
    for (auto [modifier, key] :
         {std::pair{MOD_ALT, VK_MENU}, {MOD_CONTROL, VK_CONTROL}, {MOD_SHIFT, VK_SHIFT}}) {
      if (modifiers & modifier) keys.push_back(key);
    }
    keys.push_back(static_cast<WORD>(virtualKey));
    // Each key down in turn, then up in the reverse order.
    std::vector<INPUT> inputs(keys.size() * 2);
    for (size_t k = 0; k < keys.size(); ++k) {
      inputs[k].type = inputs[inputs.size() - 1 - k].type = INPUT_KEYBOARD;
      inputs[k].ki.wVk = inputs[inputs.size() - 1 - k].ki.wVk = keys[k];
      inputs[inputs.size() - 1 - k].ki.dwFlags = KEYEVENTF_KEYUP;
    }
    ::SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
  }

  Hotkeys HotkeysAfter(Hwnd hwnd, uint32_t modifiers, uint32_t virtualKey) override {
    for (const DWORD start = ::GetTickCount(); ::GetTickCount() - start < 2000;) {
      for (const auto& [id, keys] : received[ToHwnd(hwnd)]) {
        if (keys == HotkeyLParam(modifiers, virtualKey)) return received[ToHwnd(hwnd)];
      }
      PumpRounds(1);
    }
    return received[ToHwnd(hwnd)];
  }

  uint32_t OwnProcessId() override { return ::GetCurrentProcessId(); }

 private:
  Win32WindowSystem system_;
  std::vector<HWND> made_;
  // Threads of other windows, each with a reference to its entry, and what wakes them at the end.
  std::deque<std::pair<std::thread, HWND>> workers_;
  const HANDLE release_ = ::CreateEventA(nullptr, TRUE, FALSE, nullptr);
};

}  // namespace

std::unique_ptr<TestDesktop> MakeTestDesktop() { return std::make_unique<Win32Desktop>(); }

}  // namespace vd::conformance

#endif  // !VD_CONFORMANCE_FAKE && _WIN32
