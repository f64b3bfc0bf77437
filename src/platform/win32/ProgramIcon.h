// The program's icon (resource 1) loaded at the size the screen wants, so it is drawn from the
// image made for that size rather than scaled from another.
#pragma once

#include <windows.h>

namespace vd::win32 {

// A system metric at the system's DPI. GetSystemMetricsForDpi and GetDpiForSystem are asked of
// user32 by name, as systems before Windows 10 (version 1607) lack them; there GetSystemMetrics
// answers, which gives the same for a program aware of the system's DPI.
inline int SystemMetricForSystemDpi(int index) {
  struct Calls {
    int(WINAPI* metricForDpi)(int, UINT) = nullptr;
    UINT(WINAPI* systemDpi)() = nullptr;
  };
  static const Calls calls = [] {
    Calls found;
    if (const HMODULE user32 = ::GetModuleHandleW(L"user32.dll")) {
      found.metricForDpi = reinterpret_cast<decltype(found.metricForDpi)>(
          reinterpret_cast<void*>(::GetProcAddress(user32, "GetSystemMetricsForDpi")));
      found.systemDpi = reinterpret_cast<decltype(found.systemDpi)>(
          reinterpret_cast<void*>(::GetProcAddress(user32, "GetDpiForSystem")));
    }
    return found;
  }();
  if (calls.metricForDpi && calls.systemDpi) return calls.metricForDpi(index, calls.systemDpi());
  return ::GetSystemMetrics(index);
}

// The program's icon in `module` at the size of two metrics (SM_CXICON and SM_CYICON for the
// large icon, SM_CXSMICON and SM_CYSMICON for the small one), or the system's application icon
// when the module has none. Each call loads a new icon: callers load theirs once and keep it
// for the run.
inline HICON LoadProgramIcon(HINSTANCE module, int widthMetric, int heightMetric) {
  const auto icon = static_cast<HICON>(::LoadImageW(module, MAKEINTRESOURCEW(1), IMAGE_ICON,
                                                    SystemMetricForSystemDpi(widthMetric),
                                                    SystemMetricForSystemDpi(heightMetric), 0));
  return icon ? icon : ::LoadIconW(nullptr, MAKEINTRESOURCEW(32512));  // IDI_APPLICATION
}

}  // namespace vd::win32
