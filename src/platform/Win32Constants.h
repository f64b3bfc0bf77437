// The numeric constants of the window system that the portable logic uses, under their usual
// names, so that the logic never needs <windows.h>.
#pragma once

#include <cstdint>

namespace vd {

// ShowWindow
inline constexpr int SW_HIDE = 0;
inline constexpr int SW_MAXIMIZE = 3;
inline constexpr int SW_SHOW = 5;
inline constexpr int SW_MINIMIZE = 6;

// SetWindowPos
inline constexpr int32_t HWND_TOP = 0;
inline constexpr int32_t HWND_BOTTOM = 1;
inline constexpr int32_t HWND_TOPMOST = -1;
inline constexpr int32_t HWND_NOTOPMOST = -2;
inline constexpr uint32_t SWP_NOSIZE = 0x0001;
inline constexpr uint32_t SWP_NOMOVE = 0x0002;
inline constexpr uint32_t SWP_NOZORDER = 0x0004;
inline constexpr uint32_t SWP_NOACTIVATE = 0x0010;

// GetWindow
inline constexpr uint32_t GW_HWNDFIRST = 0;
inline constexpr uint32_t GW_HWNDNEXT = 2;

// GetWindowLong
inline constexpr int GWL_WNDPROC = -4;
inline constexpr int GWL_STYLE = -16;
inline constexpr int GWL_EXSTYLE = -20;

// Styles
inline constexpr uint32_t WS_BORDER = 0x00800000;
inline constexpr uint32_t WS_VISIBLE = 0x10000000;
inline constexpr uint32_t WS_CAPTION = 0x00C00000;
inline constexpr uint32_t WS_POPUP = 0x80000000;
inline constexpr uint32_t WS_CHILD = 0x40000000;
inline constexpr uint32_t WS_EX_TOPMOST = 0x00000008;
inline constexpr uint32_t WS_EX_TOOLWINDOW = 0x00000080;
inline constexpr uint32_t WS_EX_LAYERED = 0x00080000;

// Layered windows
inline constexpr uint32_t LWA_COLORKEY = 0x1;
inline constexpr uint32_t LWA_ALPHA = 0x2;

// Messages
inline constexpr uint32_t WM_NULL = 0x0000;
inline constexpr uint32_t WM_CLOSE = 0x0010;
inline constexpr uint32_t WM_QUERYENDSESSION = 0x0011;
inline constexpr uint32_t WM_ENDSESSION = 0x0016;
inline constexpr uint32_t WM_NCLBUTTONDOWN = 0x00A1;
inline constexpr uint32_t WM_HOTKEY = 0x0312;
inline constexpr uint32_t WM_MOUSEMOVE = 0x0200;
inline constexpr uint32_t WM_LBUTTONDOWN = 0x0201;
inline constexpr uint32_t WM_LBUTTONUP = 0x0202;
inline constexpr uint32_t WM_RBUTTONDOWN = 0x0204;
inline constexpr uint32_t WM_RBUTTONUP = 0x0205;
inline constexpr uint32_t WM_USER = 0x0400;
inline constexpr int32_t HTCAPTION = 2;

// Hotkey modifiers
inline constexpr uint32_t MOD_ALT = 0x1;
inline constexpr uint32_t MOD_CONTROL = 0x2;
inline constexpr uint32_t MOD_SHIFT = 0x4;
inline constexpr uint32_t MOD_WIN = 0x8;

// Screen
inline constexpr int SM_CXSCREEN = 0;
inline constexpr int SM_CYSCREEN = 1;

// Raster operations
inline constexpr uint32_t SRCCOPY = 0x00CC0020;

// Shell_NotifyIcon
inline constexpr uint32_t NIM_ADD = 0;
inline constexpr uint32_t NIM_MODIFY = 1;
inline constexpr uint32_t NIM_DELETE = 2;
inline constexpr uint32_t NIF_MESSAGE = 0x1;
inline constexpr uint32_t NIF_ICON = 0x2;
inline constexpr uint32_t NIF_TIP = 0x4;

// Registry
inline constexpr uintptr_t HKEY_CURRENT_USER = 0x80000001u;
inline constexpr uint32_t KEY_WRITE = 0x20006;
inline constexpr uint32_t KEY_READ = 0x20019;
inline constexpr uint32_t REG_SZ = 1;
inline constexpr int32_t ERROR_SUCCESS = 0;
inline constexpr int32_t ERROR_FILE_NOT_FOUND = 2;

// Message boxes
inline constexpr uint32_t MB_OK = 0x0;
inline constexpr uint32_t MB_YESNO = 0x4;
inline constexpr uint32_t MB_ICONEXCLAMATION = 0x30;
inline constexpr int IDOK = 1;
inline constexpr int IDCANCEL = 2;
inline constexpr int IDYES = 6;
inline constexpr int IDNO = 7;

}  // namespace vd
