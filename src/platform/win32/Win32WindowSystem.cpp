// The window-system seam on the real system: each operation is the Win32 call it is named
// after, with the conversions between the program's 32-bit handles and the system's types.
#include "platform/win32/Win32WindowSystem.h"

// <windows.h> must come before the other system headers.
// clang-format off
#include <windows.h>
#include <commdlg.h>
#include <shellapi.h>
// clang-format on

#include <algorithm>
#include <cstring>
#include <vector>

#include "platform/win32/OtherThreadWindows.h"
#include "platform/win32/UniqueHandle.h"

namespace vd::win32 {

namespace {

// Asks the window to draw content that the desktop composes itself (not in older headers).
constexpr UINT kPwRenderFullContent = 0x00000002;
constexpr size_t kTipChars = 63;

// Window handles are 32-bit significant and sign-extended; HWND_TOPMOST (-1) and
// HWND_NOTOPMOST (-2) survive the conversion both ways.
HWND ToHwnd(Hwnd hwnd) { return reinterpret_cast<HWND>(static_cast<intptr_t>(hwnd)); }
Hwnd FromHwnd(HWND hwnd) { return static_cast<Hwnd>(reinterpret_cast<intptr_t>(hwnd)); }

// The predefined roots are sign-extended 32-bit values (HKEY_CURRENT_USER is
// 0xFFFFFFFF80000001 on 64-bit); the program keeps them as 0x80000001.
HKEY ToHkey(uintptr_t key) {
  if (key >= 0x80000000u && key <= 0x800000FFu) {
    const auto low = static_cast<int32_t>(static_cast<uint32_t>(key));
    return reinterpret_cast<HKEY>(static_cast<intptr_t>(low));
  }
  return reinterpret_cast<HKEY>(key);
}

// Reads a bitmap (not selected into any context) as 32-bit top-down rows and turns the
// BGRA bytes into colour values 0x00BBGGRR.
Bitmap ReadBitmap(HDC dc, HBITMAP bitmap, int width, int height) {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;  // top row first
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  std::vector<uint32_t> raw(static_cast<size_t>(width) * static_cast<size_t>(height));
  if (::GetDIBits(dc, bitmap, 0, static_cast<UINT>(height), raw.data(), &info, DIB_RGB_COLORS) ==
      0) {
    return Bitmap();
  }
  Bitmap result(width, height);
  std::vector<uint32_t>& pixels = result.Pixels();
  for (size_t i = 0; i < raw.size(); ++i) {
    const uint32_t v = raw[i];
    pixels[i] = ((v >> 16) & 0xFFu) | (v & 0xFF00u) | ((v & 0xFFu) << 16);
  }
  return result;
}

}  // namespace

Win32WindowSystem::Win32WindowSystem() = default;

Win32WindowSystem::~Win32WindowSystem() = default;

// ---- Top-level windows --------------------------------------------------------------------------
//
// Showing, hiding, moving and restyling a window of another thread makes the system send that
// thread messages and wait for its answers, so a hung application would hold the pager up for
// as long as it hangs. Windows of other threads are therefore asked through requests the system
// queues for them (see OtherThreadWindows.h); the program's own windows are worked on directly.

bool Win32WindowSystem::ShowWindow(Hwnd hwnd, int cmd) {
  const HWND window = ToHwnd(hwnd);
  const DWORD thread = OtherThreadOf(window);
  if (thread == 0) return ::ShowWindow(window, cmd) != FALSE;
  // The answer is whether the window was shown before, as the direct call gives it: its own
  // visible style, whatever its owner's state.
  const bool wasVisible =
      (static_cast<DWORD>(::GetWindowLongA(window, GWL_STYLE)) & WS_VISIBLE) != 0;
  const DWORD askedAt = ::GetTickCount();
  if (!::ShowWindowAsync(window, cmd)) return wasVisible;
  if (batching_) {
    batch_.push_back(ShowRequest{window, thread, cmd != SW_HIDE});
    return wasVisible;
  }
  if (AwaitAnswer(window, thread)) AwaitVisibility(window, cmd != SW_HIDE, askedAt);
  return wasVisible;
}

void Win32WindowSystem::BeginShowBatch() { batching_ = true; }

void Win32WindowSystem::EndShowBatch() {
  batching_ = false;
  std::vector<ShowRequest> asked;
  asked.swap(batch_);
  if (!asked.empty()) AwaitShows(asked);
}

bool Win32WindowSystem::SetWindowPos(Hwnd hwnd, Hwnd insertAfter, int x, int y, int cx, int cy,
                                     uint32_t flags) {
  const HWND window = ToHwnd(hwnd);
  const DWORD thread = OtherThreadOf(window);
  if (thread == 0) {
    return ::SetWindowPos(window, ToHwnd(insertAfter), x, y, cx, cy, flags) != FALSE;
  }
  if (!::SetWindowPos(window, ToHwnd(insertAfter), x, y, cx, cy, flags | SWP_ASYNCWINDOWPOS)) {
    return false;
  }
  AwaitAnswer(window, thread);
  return true;
}

bool Win32WindowSystem::MoveWindow(Hwnd hwnd, int x, int y, int width, int height, bool repaint) {
  const HWND window = ToHwnd(hwnd);
  if (OtherThreadOf(window) == 0) {
    return ::MoveWindow(window, x, y, width, height, repaint ? TRUE : FALSE) != FALSE;
  }
  // What MoveWindow does, as a request to the window's thread.
  return SetWindowPos(hwnd, 0, x, y, width, height,
                      SWP_NOZORDER | SWP_NOACTIVATE | (repaint ? 0u : SWP_NOREDRAW));
}

Hwnd Win32WindowSystem::GetWindow(Hwnd hwnd, uint32_t cmd) {
  return FromHwnd(::GetWindow(ToHwnd(hwnd), cmd));
}

std::vector<Hwnd> Win32WindowSystem::TopLevelWindows() {
  std::vector<Hwnd> windows;
  windows.reserve(256);
  // EnumDesktopWindows of the current desktop lists what EnumWindows lists, in one request
  // under Wine, where EnumWindows asks after every window again whether it still exists.
  ::EnumDesktopWindows(
      nullptr,
      [](HWND window, LPARAM list) -> BOOL {
        reinterpret_cast<std::vector<Hwnd>*>(list)->push_back(FromHwnd(window));
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&windows));
  return windows;
}

// Another thread's window has its caption read from what the system keeps, as GetWindowTextA
// does for another process's: asking the window itself would wait on a hung one.

int Win32WindowSystem::GetWindowTextLengthA(Hwnd hwnd) {
  // Read from what the system keeps for every window, the program's own included (their
  // captions are the ones they were given): the refresh asks this of every managed window ten
  // times a second, and asking first whose window it is would double the cost.
  return static_cast<int>(KeptCaption(ToHwnd(hwnd)).size());
}

std::string Win32WindowSystem::GetWindowTextA(Hwnd hwnd, int maxCount) {
  if (maxCount <= 0) return {};
  // Whoever's window it is, one read of what the system keeps (see GetWindowTextLengthA).
  std::string caption = KeptCaption(ToHwnd(hwnd));
  // Cut to the buffer as the API cuts: never through a double-byte character.
  const size_t room = static_cast<size_t>(maxCount - 1);
  size_t kept = 0;
  while (kept < caption.size()) {
    const bool pair =
        ::IsDBCSLeadByte(static_cast<BYTE>(caption[kept])) != FALSE && kept + 1 < caption.size();
    const size_t next = kept + (pair ? 2 : 1);
    if (next > room) break;
    kept = next;
  }
  caption.resize(kept);
  return caption;
}

int32_t Win32WindowSystem::GetWindowLongA(Hwnd hwnd, int index) {
  return static_cast<int32_t>(::GetWindowLongA(ToHwnd(hwnd), index));
}

int32_t Win32WindowSystem::SetWindowLongA(Hwnd hwnd, int index, int32_t value) {
  const HWND window = ToHwnd(hwnd);
  const DWORD thread = OtherThreadOf(window);
  // A style change sends the window WM_STYLECHANGING and WM_STYLECHANGED and waits for both:
  // it is made only when the window's thread has just answered.
  if (thread != 0 && (index == GWL_STYLE || index == GWL_EXSTYLE) && !AwaitAnswer(window, thread)) {
    // A window that was to lose its layering is made fully opaque through its alpha instead,
    // which sends it nothing.
    const auto exStyle = static_cast<uint32_t>(::GetWindowLongA(window, GWL_EXSTYLE));
    if (index == GWL_EXSTYLE && (exStyle & WS_EX_LAYERED) != 0 &&
        (static_cast<uint32_t>(value) & WS_EX_LAYERED) == 0) {
      ::SetLayeredWindowAttributes(window, 0, 255, LWA_ALPHA);
    }
    ::SetLastError(ERROR_TIMEOUT);
    return 0;
  }
  return static_cast<int32_t>(::SetWindowLongA(window, index, value));
}

Hwnd Win32WindowSystem::GetForegroundWindow() { return FromHwnd(::GetForegroundWindow()); }

bool Win32WindowSystem::SetForegroundWindow(Hwnd hwnd) {
  return ::SetForegroundWindow(ToHwnd(hwnd)) != FALSE;
}

bool Win32WindowSystem::GetWindowRect(Hwnd hwnd, Rect* rect) {
  RECT r{};
  if (!rect || !::GetWindowRect(ToHwnd(hwnd), &r)) return false;
  *rect = Rect{r.left, r.top, r.right, r.bottom};
  return true;
}

bool Win32WindowSystem::IsWindow(Hwnd hwnd) { return ::IsWindow(ToHwnd(hwnd)) != FALSE; }

bool Win32WindowSystem::IsWindowVisible(Hwnd hwnd) {
  return ::IsWindowVisible(ToHwnd(hwnd)) != FALSE;
}

uint32_t Win32WindowSystem::GetWindowThreadProcessId(Hwnd hwnd) {
  DWORD process = 0;
  if (::GetWindowThreadProcessId(ToHwnd(hwnd), &process) == 0) return 0;
  return process;
}

bool Win32WindowSystem::IsHungAppWindow(Hwnd hwnd) {
  return ::IsHungAppWindow(ToHwnd(hwnd)) != FALSE;
}

// ---- Layered windows ----------------------------------------------------------------------------

bool Win32WindowSystem::SetLayeredWindowAttributes(Hwnd hwnd, uint32_t colorKey, uint8_t alpha,
                                                   uint32_t flags) {
  return ::SetLayeredWindowAttributes(ToHwnd(hwnd), colorKey, alpha, flags) != FALSE;
}

bool Win32WindowSystem::GetLayeredWindowAttributes(Hwnd hwnd, uint32_t* colorKey, uint8_t* alpha,
                                                   uint32_t* flags) {
  COLORREF key = 0;
  BYTE value = 0;
  DWORD how = 0;
  if (!::GetLayeredWindowAttributes(ToHwnd(hwnd), &key, &value, &how)) return false;
  if (colorKey) *colorKey = key;
  if (alpha) *alpha = value;
  if (flags) *flags = how;
  return true;
}

// ---- Mouse and messages -------------------------------------------------------------------------

bool Win32WindowSystem::GetCursorPos(Point* point) {
  POINT p{};
  if (!point || !::GetCursorPos(&p)) return false;
  *point = Point{p.x, p.y};
  return true;
}

Hwnd Win32WindowSystem::WindowFromPoint(Point point) {
  return FromHwnd(::WindowFromPoint(POINT{point.x, point.y}));
}

bool Win32WindowSystem::ReleaseCapture() { return ::ReleaseCapture() != FALSE; }

intptr_t Win32WindowSystem::SendMessageA(Hwnd hwnd, uint32_t msg, uintptr_t wParam,
                                         intptr_t lParam) {
  return ::SendMessageA(ToHwnd(hwnd), msg, wParam, lParam);
}

bool Win32WindowSystem::PostMessageA(Hwnd hwnd, uint32_t msg, uintptr_t wParam, intptr_t lParam) {
  return ::PostMessageA(ToHwnd(hwnd), msg, wParam, lParam) != FALSE;
}

bool Win32WindowSystem::SendMessageTimeoutA(Hwnd hwnd, uint32_t msg, uintptr_t wParam,
                                            intptr_t lParam, uint32_t timeoutMs, intptr_t* result) {
  DWORD_PTR answer = 0;
  // A hung window is given up at once; the caller's thread does not pump other messages
  // while it waits.
  const LRESULT ok = ::SendMessageTimeoutA(ToHwnd(hwnd), msg, wParam, lParam,
                                           SMTO_ABORTIFHUNG | SMTO_BLOCK, timeoutMs, &answer);
  if (ok == 0) return false;
  if (result) *result = static_cast<intptr_t>(answer);
  return true;
}

// ---- Hotkeys ------------------------------------------------------------------------------------

bool Win32WindowSystem::RegisterHotKey(Hwnd hwnd, int id, uint32_t modifiers, uint32_t virtualKey) {
  return ::RegisterHotKey(ToHwnd(hwnd), id, modifiers, virtualKey) != FALSE;
}

bool Win32WindowSystem::UnregisterHotKey(Hwnd hwnd, int id) {
  return ::UnregisterHotKey(ToHwnd(hwnd), id) != FALSE;
}

// ---- Capture ------------------------------------------------------------------------------------

Bitmap Win32WindowSystem::CaptureWindow(Hwnd hwnd, bool client, int left, int top, int width,
                                        int height) {
  const HWND window = ToHwnd(hwnd);
  // GetWindowDC of no window would be the whole screen: refuse handles that name none.
  if (!::IsWindow(window) || width <= 0 || height <= 0) return Bitmap();
  WindowDc source(client ? ::GetDC(window) : ::GetWindowDC(window), WindowDcCloser{window});
  if (!source) return Bitmap();
  MemoryDc memory(::CreateCompatibleDC(source.Get()));
  OwnedBitmap bitmap(::CreateCompatibleBitmap(source.Get(), width, height));
  if (!memory || !bitmap) return Bitmap();
  {
    SelectGuard selected(memory.Get(), bitmap.Get());
    if (!selected.Selected()) return Bitmap();
    ::BitBlt(memory.Get(), 0, 0, width, height, source.Get(), left, top, SRCCOPY);
  }
  return ReadBitmap(memory.Get(), bitmap.Get(), width, height);
}

Bitmap Win32WindowSystem::PrintWindow(Hwnd hwnd, bool fullContent) {
  const HWND window = ToHwnd(hwnd);
  RECT r{};
  if (!::IsWindow(window) || !::GetWindowRect(window, &r)) return Bitmap();
  // The window renders itself while the caller waits: only a window that has just answered is
  // asked to.
  const DWORD thread = OtherThreadOf(window);
  if (thread != 0 && !AwaitAnswer(window, thread)) return Bitmap();
  const int width = r.right - r.left, height = r.bottom - r.top;
  if (width <= 0 || height <= 0) return Bitmap();
  WindowDc source(::GetWindowDC(window), WindowDcCloser{window});
  if (!source) return Bitmap();
  MemoryDc memory(::CreateCompatibleDC(source.Get()));
  OwnedBitmap bitmap(::CreateCompatibleBitmap(source.Get(), width, height));
  if (!memory || !bitmap) return Bitmap();
  {
    SelectGuard selected(memory.Get(), bitmap.Get());
    if (!selected.Selected()) return Bitmap();
    if (!::PrintWindow(window, memory.Get(), fullContent ? kPwRenderFullContent : 0)) {
      return Bitmap();
    }
  }
  return ReadBitmap(memory.Get(), bitmap.Get(), width, height);
}

// ---- Time ---------------------------------------------------------------------------------------

void Win32WindowSystem::Sleep(uint32_t milliseconds) { ::Sleep(milliseconds); }

uint32_t Win32WindowSystem::GetTickCount() { return ::GetTickCount(); }

// ---- Screen facts -------------------------------------------------------------------------------

int Win32WindowSystem::GetSystemMetrics(int index) { return ::GetSystemMetrics(index); }

namespace {

// Read once: the program is not aware of changes of the screen's resolution while it runs, and
// a screen device context per call is costly (the refresh asks for it many times a second).
int TwipsPerPixel(int capability) {
  auto read = [](int which) {
    WindowDc screen(::GetDC(nullptr), WindowDcCloser{nullptr});
    const int dpi = screen ? ::GetDeviceCaps(screen.Get(), which) : 0;
    return dpi > 0 ? 1440 / dpi : 15;
  };
  static const int x = read(LOGPIXELSX);
  static const int y = read(LOGPIXELSY);
  return capability == LOGPIXELSX ? x : y;
}

}  // namespace

int Win32WindowSystem::TwipsPerPixelX() { return TwipsPerPixel(LOGPIXELSX); }

int Win32WindowSystem::TwipsPerPixelY() { return TwipsPerPixel(LOGPIXELSY); }

uint32_t Win32WindowSystem::GetSysColor(int index) { return ::GetSysColor(index); }

// ---- Profile files ------------------------------------------------------------------------------

uint32_t Win32WindowSystem::GetPrivateProfileStringA(const std::string& section,
                                                     const std::string& key,
                                                     const std::string& defaultValue, char* buffer,
                                                     uint32_t size, const std::string& fileName) {
  if (!buffer || size == 0) return 0;
  return ::GetPrivateProfileStringA(section.c_str(), key.c_str(), defaultValue.c_str(), buffer,
                                    size, fileName.c_str());
}

bool Win32WindowSystem::WritePrivateProfileStringA(const std::string& section,
                                                   const std::string& key, const std::string& value,
                                                   const std::string& fileName) {
  return ::WritePrivateProfileStringA(section.c_str(), key.c_str(), value.c_str(),
                                      fileName.c_str()) != FALSE;
}

// ---- Registry -----------------------------------------------------------------------------------

int32_t Win32WindowSystem::RegOpenKeyExA(uintptr_t root, const std::string& subKey, uint32_t access,
                                         RegKey* result) {
  if (!result) return ERROR_INVALID_PARAMETER;
  HKEY opened = nullptr;
  const LONG status = ::RegOpenKeyExA(ToHkey(root), subKey.c_str(), 0, access, &opened);
  if (status == ERROR_SUCCESS) {
    *result = reinterpret_cast<RegKey>(opened);
    // The key leaves as a number for the caller to close through RegCloseKey: the seam counts
    // it among the held registry keys until then.
    LiveHandles::Opened(HandleKind::kRegistryKey);
  }
  return status;
}

int32_t Win32WindowSystem::RegSetValueExA(RegKey key, const std::string& valueName, uint32_t type,
                                          const std::string& data, uint32_t length) {
  // The text's own terminating NUL is the last byte that may be read.
  const DWORD bytes = std::min<DWORD>(length, static_cast<DWORD>(data.size() + 1));
  return ::RegSetValueExA(ToHkey(key), valueName.c_str(), 0, type,
                          reinterpret_cast<const BYTE*>(data.c_str()), bytes);
}

int32_t Win32WindowSystem::RegQueryValueExA(RegKey key, const std::string& valueName,
                                            std::string* data) {
  const HKEY hkey = ToHkey(key);
  for (int attempt = 0; attempt < 3; ++attempt) {
    DWORD type = 0, size = 0;
    LONG status = ::RegQueryValueExA(hkey, valueName.c_str(), nullptr, &type, nullptr, &size);
    if (status != ERROR_SUCCESS) return status;
    std::vector<BYTE> bytes(size + 1, 0);
    status = ::RegQueryValueExA(hkey, valueName.c_str(), nullptr, &type, bytes.data(), &size);
    if (status == ERROR_MORE_DATA) continue;  // the value grew in between: ask again
    if (status != ERROR_SUCCESS) return status;
    if (data) {
      size_t length = size;
      while (length > 0 && bytes[length - 1] == 0) --length;  // the stored NULs end the text
      data->assign(reinterpret_cast<const char*>(bytes.data()), length);
    }
    return ERROR_SUCCESS;
  }
  return ERROR_MORE_DATA;
}

int32_t Win32WindowSystem::RegDeleteValueA(RegKey key, const std::string& valueName) {
  return ::RegDeleteValueA(ToHkey(key), valueName.c_str());
}

int32_t Win32WindowSystem::RegCloseKey(RegKey key) {
  const LONG status = ::RegCloseKey(ToHkey(key));
  if (status == ERROR_SUCCESS) LiveHandles::Closed(HandleKind::kRegistryKey);
  return status;
}

// ---- Shell and common dialogs -------------------------------------------------------------------

bool Win32WindowSystem::Shell_NotifyIconA(uint32_t message, const NotifyIconData& data) {
  NOTIFYICONDATAA record{};
  record.cbSize = sizeof(record);
  record.hWnd = ToHwnd(data.hwnd);
  record.uID = data.id;
  record.uFlags = data.flags;
  record.uCallbackMessage = data.callbackMessage;
  if (data.icon != 0) {
    record.hIcon = reinterpret_cast<HICON>(data.icon);
  } else {
    // The program's own icon (resource 1), or the system's application icon without one.
    record.hIcon = ::LoadIconA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(1));
    if (record.hIcon == nullptr) record.hIcon = ::LoadIconA(nullptr, IDI_APPLICATION);
  }
  const size_t tipLength = std::min(data.tip.size(), kTipChars);
  std::memcpy(record.szTip, data.tip.data(), tipLength);
  record.szTip[tipLength] = '\0';
  return ::Shell_NotifyIconA(message, &record) != FALSE;
}

bool Win32WindowSystem::ChooseColorA(Hwnd owner, uint32_t* color,
                                     std::array<uint32_t, 16>* custom) {
  if (!color) return false;
  COLORREF customColors[16] = {};
  if (custom) std::copy(custom->begin(), custom->end(), customColors);
  CHOOSECOLORA dialog{};
  dialog.lStructSize = sizeof(dialog);
  dialog.hwndOwner = ToHwnd(owner);
  dialog.rgbResult = *color;
  dialog.lpCustColors = customColors;
  dialog.Flags = CC_RGBINIT;
  const bool chosen = ::ChooseColorA(&dialog) != FALSE;
  if (custom) std::copy(std::begin(customColors), std::end(customColors), custom->begin());
  if (chosen) *color = dialog.rgbResult;
  return chosen;
}

int Win32WindowSystem::MessageBoxA(Hwnd owner, const std::string& text, const std::string& caption,
                                   uint32_t style) {
  return ::MessageBoxA(ToHwnd(owner), text.c_str(), caption.c_str(), style);
}

// ---- Process ------------------------------------------------------------------------------------

bool Win32WindowSystem::AcquireSingleInstance() {
  if (instanceMutex_) return true;
  // One copy per user and logon session: the mutex lives in the session's namespace and its
  // name carries the user's name.
  char user[257] = {};
  DWORD userLength = sizeof(user);
  if (!::GetUserNameA(user, &userLength)) std::strcpy(user, "user");
  std::string name = std::string("Local\\VuedeckSingleInstance-") + user;
  std::replace(name.begin() + 6, name.end(), '\\', '_');
  OwnedKernelHandle mutex(::CreateMutexA(nullptr, FALSE, name.c_str()));
  const DWORD error = ::GetLastError();
  if (!mutex) return error != ERROR_ACCESS_DENIED;  // someone else's copy holds it
  if (error == ERROR_ALREADY_EXISTS) return false;
  instanceMutex_ = std::move(mutex);
  return true;
}

bool Win32WindowSystem::ReplaceFileWith(const std::string& to, const std::string& from) {
  return ::MoveFileExA(from.c_str(), to.c_str(),
                       MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
}

std::string Win32WindowSystem::ProgramFolder() {
  std::vector<char> path(MAX_PATH);
  for (;;) {
    const DWORD length =
        ::GetModuleFileNameA(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (length == 0) return {};
    if (length < path.size()) {
      std::string full(path.data(), length);
      const size_t slash = full.find_last_of("\\/");
      return slash == std::string::npos ? std::string() : full.substr(0, slash);
    }
    path.resize(path.size() * 2);
  }
}

void Win32WindowSystem::ExitProcess(uint32_t exitCode) { ::ExitProcess(exitCode); }

}  // namespace vd::win32
