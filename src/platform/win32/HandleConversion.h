// Conversions between the program's 32-bit handles and the system's handle types.
#pragma once

// clang-format off
#include <windows.h>
// clang-format on

#include <cstdint>

#include "platform/WindowSystem.h"

namespace vd::win32 {

// Window handles are 32-bit significant and sign-extended; HWND_TOPMOST (-1) and
// HWND_NOTOPMOST (-2) survive the conversion both ways.
inline HWND ToHwnd(Hwnd hwnd) { return reinterpret_cast<HWND>(static_cast<intptr_t>(hwnd)); }
inline Hwnd FromHwnd(HWND hwnd) { return static_cast<Hwnd>(reinterpret_cast<intptr_t>(hwnd)); }

// The predefined roots are sign-extended 32-bit values (HKEY_CURRENT_USER is
// 0xFFFFFFFF80000001 on 64-bit); the program keeps them as 0x80000001.
inline HKEY ToHkey(uintptr_t key) {
  if (key >= 0x80000000u && key <= 0x800000FFu) {
    const auto low = static_cast<int32_t>(static_cast<uint32_t>(key));
    return reinterpret_cast<HKEY>(static_cast<intptr_t>(low));
  }
  return reinterpret_cast<HKEY>(key);
}

}  // namespace vd::win32
