// The conformance suite's desktop for the native build: the in-memory window system, with the
// test's windows made through its test interface and the user's keys pressed through it.
#if defined(VD_CONFORMANCE_FAKE)

#include <map>

#include "Harness.h"
#include "platform/fake/FakeWindowSystem.h"

namespace vd::conformance {

namespace {

constexpr uint32_t kTestProcess = 7;

class FakeDesktop : public TestDesktop {
 public:
  WindowSystem& System() override { return fake_; }

  Hwnd MakeWindow(const TestWindowTraits& desc) override {
    fake::WindowTraits window;
    window.caption = desc.caption;
    window.style = WS_POPUP | (desc.visible ? WS_VISIBLE : 0u);
    window.rect = desc.rect;
    window.process = kTestProcess;
    window.parent = desc.parent;
    const Hwnd hwnd = fake_.CreateWindow(window);
    fake_.SetWindowPicture(hwnd, Bitmap(desc.rect.Width(), desc.rect.Height(), desc.color));
    if (!desc.defaultProcedure) {
      fake_.SetMessageSink(
          hwnd, [this, hwnd](uint32_t msg, uintptr_t wParam, intptr_t lParam) -> intptr_t {
            if (msg == WM_HOTKEY || msg >= WM_USER) {
              inbox_[hwnd].push_back(Received{msg, wParam, lParam});
              return msg >= WM_USER ? static_cast<intptr_t>(wParam) + lParam : 0;
            }
            if (msg == WM_CLOSE) fake_.DestroyWindow(hwnd);
            return 0;
          });
    }
    // A top-level window that appears takes the focus, as on the real desktop.
    if (desc.visible && desc.parent == 0) fake_.Activate(hwnd);
    return hwnd;
  }

  void Destroy(Hwnd hwnd) override { fake_.DestroyWindow(hwnd); }

  Hwnd MakeSlowWindow(uint32_t) override {
    fake::WindowTraits window;
    window.caption = "Slow";
    window.process = kTestProcess + 1;
    return fake_.CreateWindow(window);
  }

  Hwnd MakeUnresponsiveWindow() override {
    fake::WindowTraits window;
    window.caption = "Unresponsive";
    window.process = kTestProcess + 1;
    const Hwnd hwnd = fake_.CreateWindow(window);
    fake_.SetHung(hwnd, true);
    return hwnd;
  }

  std::vector<Received> MessagesOf(Hwnd hwnd) override { return inbox_[hwnd]; }

  void Pump() override {}

  void MoveCursor(Point point) override { fake_.SetCursor(point); }

  void PressKeys(uint32_t modifiers, uint32_t virtualKey) override {
    fake_.PressHotkey(modifiers, virtualKey);
  }

  bool WaitFor(Hwnd hwnd, const std::function<bool(const Received&)>& match) override {
    for (const Received& message : inbox_[hwnd]) {
      if (match(message)) return true;
    }
    return false;
  }

  uint32_t OwnProcessId() override { return kTestProcess; }

  void CreateRegistryKey(const std::string& subKey) override {
    fake_.CreateRegistryKey("HKCU\\" + subKey);
  }
  void DeleteRegistryKey(const std::string&) override {}

 private:
  fake::FakeWindowSystem fake_;
  std::map<Hwnd, std::vector<Received>> inbox_;
};

}  // namespace

std::unique_ptr<TestDesktop> MakeTestDesktop() { return std::make_unique<FakeDesktop>(); }

}  // namespace vd::conformance

#endif  // VD_CONFORMANCE_FAKE
