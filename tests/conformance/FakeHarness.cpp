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

  Hwnd MakeWindow(const TestWindowTraits& traits) override {
    const Hwnd hwnd = fake_.CreateWindow(
        {traits.caption, WS_POPUP | WS_VISIBLE, 0, traits.rect, kTestProcess, traits.parent});
    fake_.SetWindowPicture(hwnd, Bitmap(traits.rect.Width(), traits.rect.Height(), traits.color));
    fake_.SetMessageSink(hwnd, [this, hwnd](uint32_t msg, uintptr_t wParam, intptr_t lParam) {
      if (msg == WM_HOTKEY) hotkeys_[hwnd].emplace_back(wParam, lParam);
      return msg >= WM_USER ? static_cast<intptr_t>(wParam) + lParam : 0;
    });
    // A top-level window that appears takes the focus, as on the real desktop.
    if (traits.parent == 0) fake_.Activate(hwnd);
    return hwnd;
  }

  void Destroy(Hwnd hwnd) override { fake_.DestroyWindow(hwnd); }

  Hwnd MakeOtherThreadWindow(bool answers, uint32_t) override {
    const Hwnd hwnd = fake_.CreateWindow({answers ? "Slow" : "Unresponsive",
                                          WS_POPUP | WS_VISIBLE,
                                          0,
                                          {0, 0, 50, 50},
                                          kTestProcess});
    fake_.SetHung(hwnd, !answers);
    return hwnd;
  }

  void Pump() override {}
  void PressKeys(uint32_t modifiers, uint32_t key) override { fake_.PressHotkey(modifiers, key); }
  Hotkeys HotkeysAfter(Hwnd hwnd, uint32_t, uint32_t) override { return hotkeys_[hwnd]; }
  uint32_t OwnProcessId() override { return kTestProcess; }

 private:
  fake::FakeWindowSystem fake_;
  std::map<Hwnd, Hotkeys> hotkeys_;
};

}  // namespace

std::unique_ptr<TestDesktop> MakeTestDesktop() { return std::make_unique<FakeDesktop>(); }

}  // namespace vd::conformance

#endif  // VD_CONFORMANCE_FAKE
