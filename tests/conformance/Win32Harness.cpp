// The conformance suite's desktop for the Windows build: the real window system, real windows
// of the test process (painted in a chosen colour, recording what they receive), a worker
// thread for a window that stops answering, and keyboard input sent with SendInput.
#if !defined(VD_CONFORMANCE_FAKE) && defined(_WIN32)

#include <windows.h>

#include <map>
#include <thread>

#include "Harness.h"
#include "platform/win32/Win32WindowSystem.h"

namespace vd::conformance {

namespace {

constexpr char kRecordingClass[] = "VdConformanceWindow";
constexpr char kPlainClass[] = "VdConformancePlain";
constexpr char kSlowClass[] = "VdConformanceSlow";
constexpr DWORD kWaitMs = 2000;

std::map<HWND, std::vector<Received>>& Inbox() {
  static std::map<HWND, std::vector<Received>> inbox;
  return inbox;
}

void Paint(HWND hwnd, HDC dc) {
  RECT client{};
  ::GetClientRect(hwnd, &client);
  const HBRUSH brush =
      ::CreateSolidBrush(static_cast<COLORREF>(::GetWindowLongPtrA(hwnd, GWLP_USERDATA)));
  ::FillRect(dc, &client, brush);
  ::DeleteObject(brush);
}

LRESULT CALLBACK RecordingProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) noexcept {
  switch (msg) {
    case WM_ERASEBKGND:
      Paint(hwnd, reinterpret_cast<HDC>(wParam));
      return 1;
    case WM_PRINTCLIENT:  // asked to render itself into another device context
      Paint(hwnd, reinterpret_cast<HDC>(wParam));
      return 0;
    case WM_HOTKEY:
      Inbox()[hwnd].push_back(Received{msg, wParam, lParam});
      return 0;
    case WM_NCDESTROY:
      Inbox().erase(hwnd);
      break;
    default:
      if (msg >= WM_USER && msg < 0x8000) {
        Inbox()[hwnd].push_back(Received{msg, wParam, lParam});
        return static_cast<LRESULT>(wParam) + lParam;
      }
      break;
  }
  return ::DefWindowProcA(hwnd, msg, wParam, lParam);
}

// A slow window keeps in GWLP_USERDATA how long it takes to hide; its thread ends with it.
LRESULT CALLBACK SlowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) noexcept {
  if (msg == WM_WINDOWPOSCHANGING &&
      (reinterpret_cast<const WINDOWPOS*>(lParam)->flags & SWP_HIDEWINDOW) != 0) {
    ::Sleep(static_cast<DWORD>(::GetWindowLongPtrA(hwnd, GWLP_USERDATA)));
  }
  if (msg == WM_DESTROY) ::PostQuitMessage(0);
  return ::DefWindowProcA(hwnd, msg, wParam, lParam);
}

void RegisterClasses() {
  static bool done = false;
  if (done) return;
  WNDCLASSA recording{};
  recording.lpfnWndProc = RecordingProc;
  recording.hInstance = ::GetModuleHandleA(nullptr);
  recording.hCursor = ::LoadCursorA(nullptr, IDC_ARROW);
  recording.lpszClassName = kRecordingClass;
  ::RegisterClassA(&recording);
  WNDCLASSA plain = recording;
  plain.lpfnWndProc = ::DefWindowProcA;
  plain.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  plain.lpszClassName = kPlainClass;
  ::RegisterClassA(&plain);
  WNDCLASSA slow = plain;
  slow.lpfnWndProc = SlowProc;
  slow.lpszClassName = kSlowClass;
  ::RegisterClassA(&slow);
  done = true;
}

HWND ToHwnd(Hwnd hwnd) { return reinterpret_cast<HWND>(static_cast<intptr_t>(hwnd)); }
Hwnd FromHwnd(HWND hwnd) { return static_cast<Hwnd>(reinterpret_cast<intptr_t>(hwnd)); }

void PumpOnce() {
  MSG message;
  while (::PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
    ::TranslateMessage(&message);
    ::DispatchMessageA(&message);
  }
}

class Win32Desktop : public TestDesktop {
 public:
  Win32Desktop() { RegisterClasses(); }

  ~Win32Desktop() override {
    for (auto it = made_.rbegin(); it != made_.rend(); ++it) {
      if (::IsWindow(*it)) ::DestroyWindow(*it);
    }
    for (auto& [hwnd, thread] : slow_) {
      ::PostMessageA(hwnd, WM_CLOSE, 0, 0);
      thread.join();
    }
    for (Unresponsive& hung : unresponsive_) {
      ::SetEvent(hung.release);
      if (hung.thread.joinable()) hung.thread.join();
      ::CloseHandle(hung.release);
    }
    PumpOnce();
  }

  WindowSystem& System() override { return system_; }

  Hwnd MakeWindow(const TestWindowTraits& desc) override {
    const DWORD style = desc.parent != 0 ? WS_CHILD : WS_POPUP;
    const HWND hwnd = ::CreateWindowExA(0, desc.defaultProcedure ? kPlainClass : kRecordingClass,
                                        desc.caption.c_str(), style, desc.rect.left, desc.rect.top,
                                        desc.rect.Width(), desc.rect.Height(), ToHwnd(desc.parent),
                                        nullptr, ::GetModuleHandleA(nullptr), nullptr);
    if (hwnd == nullptr) return 0;
    ::SetWindowLongPtrA(hwnd, GWLP_USERDATA, static_cast<LONG_PTR>(desc.color));
    if (desc.visible) {
      ::ShowWindow(hwnd, SW_SHOW);
      ::UpdateWindow(hwnd);
    }
    made_.push_back(hwnd);
    Pump();
    return FromHwnd(hwnd);
  }

  void Destroy(Hwnd hwnd) override {
    ::DestroyWindow(ToHwnd(hwnd));
    Pump();
  }

  Hwnd MakeUnresponsiveWindow() override {
    Unresponsive& hung = unresponsive_.emplace_back();
    hung.release = ::CreateEventA(nullptr, TRUE, FALSE, nullptr);
    const HANDLE ready = ::CreateEventA(nullptr, TRUE, FALSE, nullptr);
    HWND made = nullptr;
    const HANDLE release = hung.release;
    hung.thread = std::thread([&made, ready, release] {
      const HWND hwnd = ::CreateWindowExA(0, kPlainClass, "Unresponsive", WS_POPUP, 0, 0, 50, 50,
                                          nullptr, nullptr, ::GetModuleHandleA(nullptr), nullptr);
      made = hwnd;
      ::SetEvent(ready);
      // Stops answering: no message is taken from the queue until the test is over.
      ::WaitForSingleObject(release, INFINITE);
      ::DestroyWindow(hwnd);
    });
    ::WaitForSingleObject(ready, 10000);
    ::CloseHandle(ready);
    return FromHwnd(made);
  }

  Hwnd MakeSlowWindow(uint32_t hideMs) override {
    const HANDLE ready = ::CreateEventA(nullptr, TRUE, FALSE, nullptr);
    HWND made = nullptr;
    std::thread thread([&made, ready, hideMs] {
      const HWND hwnd = ::CreateWindowExA(0, kSlowClass, "Slow", WS_POPUP, 0, 0, 50, 50, nullptr,
                                          nullptr, ::GetModuleHandleA(nullptr), nullptr);
      if (hwnd) {
        ::SetWindowLongPtrA(hwnd, GWLP_USERDATA, static_cast<LONG_PTR>(hideMs));
        ::ShowWindow(hwnd, SW_SHOWNA);
      }
      made = hwnd;
      ::SetEvent(ready);
      MSG message;
      while (hwnd && ::GetMessageA(&message, nullptr, 0, 0) > 0) ::DispatchMessageA(&message);
    });
    ::WaitForSingleObject(ready, 10000);
    ::CloseHandle(ready);
    if (!made) {
      thread.join();
      return 0;
    }
    slow_.emplace_back(made, std::move(thread));
    return FromHwnd(made);
  }

  std::vector<Received> MessagesOf(Hwnd hwnd) override {
    auto it = Inbox().find(ToHwnd(hwnd));
    return it == Inbox().end() ? std::vector<Received>{} : it->second;
  }

  void Pump() override {
    // Two rounds with a short wait between them let the display driver's work arrive too.
    for (int round = 0; round < 2; ++round) {
      PumpOnce();
      ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
    }
    PumpOnce();
  }

  void MoveCursor(Point point) override {
    // The display may still report an earlier position for a moment: put the pointer there
    // again until the system sees it there.
    const DWORD start = ::GetTickCount();
    POINT now{};
    do {
      ::SetCursorPos(point.x, point.y);
      Pump();
      ::GetCursorPos(&now);
    } while ((now.x != point.x || now.y != point.y) && ::GetTickCount() - start < kWaitMs);
  }

  void PressKeys(uint32_t modifiers, uint32_t virtualKey) override {
    std::vector<WORD> keys;
    if (modifiers & MOD_ALT) keys.push_back(VK_MENU);
    if (modifiers & MOD_CONTROL) keys.push_back(VK_CONTROL);
    if (modifiers & MOD_SHIFT) keys.push_back(VK_SHIFT);
    if (modifiers & MOD_WIN) keys.push_back(VK_LWIN);
    keys.push_back(static_cast<WORD>(virtualKey));
    std::vector<INPUT> inputs;
    for (WORD key : keys) {
      INPUT down{};
      down.type = INPUT_KEYBOARD;
      down.ki.wVk = key;
      inputs.push_back(down);
    }
    for (auto it = keys.rbegin(); it != keys.rend(); ++it) {
      INPUT up{};
      up.type = INPUT_KEYBOARD;
      up.ki.wVk = *it;
      up.ki.dwFlags = KEYEVENTF_KEYUP;
      inputs.push_back(up);
    }
    ::SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
  }

  bool WaitFor(Hwnd hwnd, const std::function<bool(const Received&)>& match) override {
    const DWORD start = ::GetTickCount();
    for (;;) {
      for (const Received& message : MessagesOf(hwnd)) {
        if (match(message)) return true;
      }
      if (::GetTickCount() - start > kWaitMs) return false;
      ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
      PumpOnce();
    }
  }

  uint32_t OwnProcessId() override { return ::GetCurrentProcessId(); }

  void CreateRegistryKey(const std::string& subKey) override {
    HKEY key = nullptr;
    if (::RegCreateKeyExA(HKEY_CURRENT_USER, subKey.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                          &key, nullptr) == ERROR_SUCCESS) {
      ::RegCloseKey(key);
    }
  }

  void DeleteRegistryKey(const std::string& subKey) override {
    ::RegDeleteKeyA(HKEY_CURRENT_USER, subKey.c_str());
  }

 private:
  struct Unresponsive {
    std::thread thread;
    HANDLE release = nullptr;
  };

  win32::Win32WindowSystem system_;
  std::vector<HWND> made_;
  std::vector<Unresponsive> unresponsive_;
  std::vector<std::pair<HWND, std::thread>> slow_;
};

}  // namespace

std::unique_ptr<TestDesktop> MakeTestDesktop() { return std::make_unique<Win32Desktop>(); }

}  // namespace vd::conformance

#endif  // !VD_CONFORMANCE_FAKE && _WIN32
