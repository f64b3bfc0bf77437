// Whether a visible window is on the system's own desktop the user is on (the compositor's cloak
// is read beside the other compositor calls, in Win32WindowSystem.cpp). The desktop manager is
// looked up once, at its first use, and may be missing (an older system, or Wine): then every
// window reads on the current desktop, so the program treats windows as it always did.
#include "platform/win32/Win32WindowSystem.h"

// clang-format off
#include <windows.h>
#include <objbase.h>
// clang-format on

#include "platform/win32/HandleConversion.h"

namespace vd::win32 {

namespace {

// The system's desktop manager and its interface, named here so that no import library needs
// to know them.
constexpr GUID kDesktopManagerClass = {
    0xaa509086, 0x5ca9, 0x4c25, {0x8f, 0x95, 0x58, 0x9d, 0x3c, 0x07, 0xb4, 0x8a}};
constexpr GUID kDesktopManagerInterface = {
    0xa5cd92ff, 0x29be, 0x454c, {0x8d, 0x04, 0xd8, 0x28, 0x79, 0xfb, 0x3f, 0x1b}};
// The desktop manager's interface, as the system lays it out.
struct SystemDesktops : IUnknown {
  virtual HRESULT STDMETHODCALLTYPE IsWindowOnCurrentVirtualDesktop(HWND window, BOOL* on) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetWindowDesktopId(HWND window, GUID* desktop) = 0;
  virtual HRESULT STDMETHODCALLTYPE MoveWindowToDesktop(HWND window, REFGUID desktop) = 0;
};

// The system's desktop manager; nullptr where the system has none. Made on the program's
// thread, which is the only one that asks.
SystemDesktops* SystemDesktopManager() {
  static SystemDesktops* const manager = [] {
    const HRESULT com = ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    if (FAILED(com) && com != RPC_E_CHANGED_MODE) return static_cast<SystemDesktops*>(nullptr);
    SystemDesktops* made = nullptr;
    if (FAILED(::CoCreateInstance(kDesktopManagerClass, nullptr, CLSCTX_ALL,
                                  kDesktopManagerInterface, reinterpret_cast<void**>(&made)))) {
      return static_cast<SystemDesktops*>(nullptr);
    }
    return made;
  }();
  return manager;
}

}  // namespace

bool Win32WindowSystem::IsOnCurrentSystemDesktop(Hwnd hwnd) {
  SystemDesktops* manager = SystemDesktopManager();
  BOOL onCurrent = TRUE;
  // A window the system puts on no desktop of its own (a hidden one) fails the question: it is
  // where the user is.
  return manager == nullptr ||
         FAILED(manager->IsWindowOnCurrentVirtualDesktop(ToHwnd(hwnd), &onCurrent)) ||
         onCurrent != FALSE;
}

}  // namespace vd::win32
