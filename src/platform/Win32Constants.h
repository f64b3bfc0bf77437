// The numeric constants of the window system that the portable logic uses, under their usual
// names, so that the logic never needs <windows.h>. A file that includes <windows.h> first
// gets the system's own macros of the same names and values instead (hence the #ifndef around
// each constant).
#pragma once

#include <cstdint>

namespace vd {

// ShowWindow
#ifndef SW_HIDE
inline constexpr int SW_HIDE = 0;
#endif
#ifndef SW_SHOW
inline constexpr int SW_SHOW = 5;
#endif
#ifndef SW_SHOWNA
inline constexpr int SW_SHOWNA = 8;
#endif
#ifndef SW_MINIMIZE
inline constexpr int SW_MINIMIZE = 6;
#endif

// SetWindowPos
#ifndef HWND_TOP
inline constexpr int32_t HWND_TOP = 0;
#endif
#ifndef HWND_BOTTOM
inline constexpr int32_t HWND_BOTTOM = 1;
#endif
#ifndef HWND_TOPMOST
inline constexpr int32_t HWND_TOPMOST = -1;
#endif
#ifndef HWND_NOTOPMOST
inline constexpr int32_t HWND_NOTOPMOST = -2;
#endif
#ifndef SWP_NOSIZE
inline constexpr uint32_t SWP_NOSIZE = 0x0001;
#endif
#ifndef SWP_NOMOVE
inline constexpr uint32_t SWP_NOMOVE = 0x0002;
#endif
#ifndef SWP_NOZORDER
inline constexpr uint32_t SWP_NOZORDER = 0x0004;
#endif
#ifndef SWP_NOACTIVATE
inline constexpr uint32_t SWP_NOACTIVATE = 0x0010;
#endif

// GetWindow
#ifndef GW_HWNDFIRST
inline constexpr uint32_t GW_HWNDFIRST = 0;
#endif
#ifndef GW_HWNDNEXT
inline constexpr uint32_t GW_HWNDNEXT = 2;
#endif
#ifndef GW_OWNER
inline constexpr uint32_t GW_OWNER = 4;
#endif

// GetWindowLong
#ifndef GWL_WNDPROC
inline constexpr int GWL_WNDPROC = -4;
#endif
#ifndef GWL_STYLE
inline constexpr int GWL_STYLE = -16;
#endif
#ifndef GWL_EXSTYLE
inline constexpr int GWL_EXSTYLE = -20;
#endif

// Styles
#ifndef WS_BORDER
inline constexpr uint32_t WS_BORDER = 0x00800000;
#endif
#ifndef WS_VISIBLE
inline constexpr uint32_t WS_VISIBLE = 0x10000000;
#endif
#ifndef WS_CAPTION
inline constexpr uint32_t WS_CAPTION = 0x00C00000;
#endif
#ifndef WS_POPUP
inline constexpr uint32_t WS_POPUP = 0x80000000;
#endif
#ifndef WS_CHILD
inline constexpr uint32_t WS_CHILD = 0x40000000;
#endif
#ifndef WS_EX_TOPMOST
inline constexpr uint32_t WS_EX_TOPMOST = 0x00000008;
#endif
#ifndef WS_EX_TOOLWINDOW
inline constexpr uint32_t WS_EX_TOOLWINDOW = 0x00000080;
#endif
#ifndef WS_EX_LAYERED
inline constexpr uint32_t WS_EX_LAYERED = 0x00080000;
#endif

// Layered windows
#ifndef LWA_COLORKEY
inline constexpr uint32_t LWA_COLORKEY = 0x1;
#endif
#ifndef LWA_ALPHA
inline constexpr uint32_t LWA_ALPHA = 0x2;
#endif

// Messages
#ifndef WM_NULL
inline constexpr uint32_t WM_NULL = 0x0000;
#endif
#ifndef WM_CLOSE
inline constexpr uint32_t WM_CLOSE = 0x0010;
#endif
#ifndef WM_QUERYENDSESSION
inline constexpr uint32_t WM_QUERYENDSESSION = 0x0011;
#endif
#ifndef WM_ENDSESSION
inline constexpr uint32_t WM_ENDSESSION = 0x0016;
#endif
#ifndef WM_NCLBUTTONDOWN
inline constexpr uint32_t WM_NCLBUTTONDOWN = 0x00A1;
#endif
#ifndef WM_HOTKEY
inline constexpr uint32_t WM_HOTKEY = 0x0312;
#endif
#ifndef WM_MOUSEMOVE
inline constexpr uint32_t WM_MOUSEMOVE = 0x0200;
#endif
#ifndef WM_LBUTTONDOWN
inline constexpr uint32_t WM_LBUTTONDOWN = 0x0201;
#endif
#ifndef WM_LBUTTONUP
inline constexpr uint32_t WM_LBUTTONUP = 0x0202;
#endif
#ifndef WM_RBUTTONDOWN
inline constexpr uint32_t WM_RBUTTONDOWN = 0x0204;
#endif
#ifndef WM_RBUTTONUP
inline constexpr uint32_t WM_RBUTTONUP = 0x0205;
#endif
#ifndef WM_USER
inline constexpr uint32_t WM_USER = 0x0400;
#endif
#ifndef HTCAPTION
inline constexpr int32_t HTCAPTION = 2;
#endif

// Hotkey modifiers
#ifndef MOD_ALT
inline constexpr uint32_t MOD_ALT = 0x1;
#endif
#ifndef MOD_CONTROL
inline constexpr uint32_t MOD_CONTROL = 0x2;
#endif
#ifndef MOD_SHIFT
inline constexpr uint32_t MOD_SHIFT = 0x4;
#endif
#ifndef MOD_WIN
inline constexpr uint32_t MOD_WIN = 0x8;
#endif

// Screen
#ifndef SM_CXSCREEN
inline constexpr int SM_CXSCREEN = 0;
#endif
#ifndef SM_CYSCREEN
inline constexpr int SM_CYSCREEN = 1;
#endif

// Raster operations
#ifndef SRCCOPY
inline constexpr uint32_t SRCCOPY = 0x00CC0020;
#endif

// Shell_NotifyIcon
#ifndef NIM_ADD
inline constexpr uint32_t NIM_ADD = 0;
#endif
#ifndef NIM_MODIFY
inline constexpr uint32_t NIM_MODIFY = 1;
#endif
#ifndef NIM_DELETE
inline constexpr uint32_t NIM_DELETE = 2;
#endif
#ifndef NIF_MESSAGE
inline constexpr uint32_t NIF_MESSAGE = 0x1;
#endif
#ifndef NIF_ICON
inline constexpr uint32_t NIF_ICON = 0x2;
#endif
#ifndef NIF_TIP
inline constexpr uint32_t NIF_TIP = 0x4;
#endif

// Registry
#ifndef HKEY_CURRENT_USER
inline constexpr uintptr_t HKEY_CURRENT_USER = 0x80000001u;
#endif
#ifndef KEY_WRITE
inline constexpr uint32_t KEY_WRITE = 0x20006;
#endif
#ifndef KEY_READ
inline constexpr uint32_t KEY_READ = 0x20019;
#endif
#ifndef REG_SZ
inline constexpr uint32_t REG_SZ = 1;
#endif
#ifndef ERROR_SUCCESS
inline constexpr int32_t ERROR_SUCCESS = 0;
#endif
#ifndef ERROR_FILE_NOT_FOUND
inline constexpr int32_t ERROR_FILE_NOT_FOUND = 2;
#endif

// Message boxes
#ifndef MB_OK
inline constexpr uint32_t MB_OK = 0x0;
#endif
#ifndef MB_YESNO
inline constexpr uint32_t MB_YESNO = 0x4;
#endif
#ifndef MB_ICONEXCLAMATION
inline constexpr uint32_t MB_ICONEXCLAMATION = 0x30;
#endif
#ifndef IDOK
inline constexpr int IDOK = 1;
#endif
#ifndef IDCANCEL
inline constexpr int IDCANCEL = 2;
#endif
#ifndef IDYES
inline constexpr int IDYES = 6;
#endif
#ifndef IDNO
inline constexpr int IDNO = 7;
#endif

}  // namespace vd
