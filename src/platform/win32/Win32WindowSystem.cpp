// The window-system seam on the real system: each operation is the Win32 call it is named
// after, with the conversions between the program's 32-bit handles and the system's types.
#include "platform/win32/Win32WindowSystem.h"

// <windows.h> must come before the other system headers.
// clang-format off
#include <windows.h>
#include <commdlg.h>
#include <dwmapi.h>
#include <shellapi.h>
// clang-format on

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "platform/win32/HandleConversion.h"
#include "platform/win32/OtherThreadWindows.h"
#include "platform/win32/UniqueHandle.h"
#include "platform/win32/WideText.h"

namespace vd::win32 {

namespace {

// Asks the window to draw content that the desktop composes itself (not in older headers).
constexpr UINT kPwRenderFullContent = 0x00000002;

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

Win32WindowSystem::~Win32WindowSystem() { WatchWindowEvents(nullptr); }

// ---- Top-level windows --------------------------------------------------------------------------
//
// Showing, hiding, moving and restyling a window of another thread makes the system send that
// thread messages and wait for its answers, so a hung application would hold the pager up for
// as long as it hangs. Windows of other threads are therefore asked through requests the system
// queues for them (see OtherThreadWindows.h); the program's own windows are worked on directly.
// A request the system refuses for lack of rights is noted for the window (RefusesChanges).

bool Win32WindowSystem::ShowWindow(Hwnd hwnd, int cmd) {
  const HWND window = ToHwnd(hwnd);
  const DWORD thread = OtherThread(window);
  if (thread == 0) return ::ShowWindow(window, cmd) != FALSE;
  // The answer is whether the window was shown before, as the direct call gives it: its own
  // visible style, whatever its owner's state.
  const bool wasVisible =
      (static_cast<DWORD>(::GetWindowLongA(window, GWL_STYLE)) & WS_VISIBLE) != 0;
  const DWORD askedAt = ::GetTickCount();
  ::SetLastError(0);
  if (!::ShowWindowAsync(window, cmd)) {
    NoteIfRefused(window, ::GetLastError());
    return wasVisible;
  }
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
  const DWORD thread = OtherThread(window);
  if (thread == 0) {
    return ::SetWindowPos(window, ToHwnd(insertAfter), x, y, cx, cy, flags) != FALSE;
  }
  ::SetLastError(0);
  if (!::SetWindowPos(window, ToHwnd(insertAfter), x, y, cx, cy, flags | SWP_ASYNCWINDOWPOS)) {
    NoteIfRefused(window, ::GetLastError());
    return false;
  }
  AwaitAnswer(window, thread);
  return true;
}

bool Win32WindowSystem::MoveWindow(Hwnd hwnd, int x, int y, int width, int height, bool repaint) {
  const HWND window = ToHwnd(hwnd);
  if (OtherThread(window) == 0) {
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

// Another thread's window has its caption read from what the system keeps, as GetWindowTextW
// does for another process's: asking the window itself would wait on a hung one.

int Win32WindowSystem::GetWindowTextLengthW(Hwnd hwnd) {
  // Read from what the system keeps for every window, the program's own included (their
  // captions are the ones they were given): the refresh asks this of every managed window ten
  // times a second, and asking first whose window it is would double the cost.
  return static_cast<int>(KeptCaption(ToHwnd(hwnd)).size());
}

std::string Win32WindowSystem::GetWindowTextW(Hwnd hwnd) {
  // Whoever's window it is, one read of what the system keeps (see GetWindowTextLengthW).
  return Narrow(KeptCaption(ToHwnd(hwnd)));
}

int32_t Win32WindowSystem::GetWindowLongA(Hwnd hwnd, int index) {
  return static_cast<int32_t>(::GetWindowLongA(ToHwnd(hwnd), index));
}

int32_t Win32WindowSystem::SetWindowLongA(Hwnd hwnd, int index, int32_t value) {
  const HWND window = ToHwnd(hwnd);
  const DWORD thread = OtherThread(window);
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
  // The previous value may be 0: only the last error tells a refusal, and then the value is
  // not the one asked for (the last error may also come from a message the program answered
  // meanwhile).
  ::SetLastError(0);
  const LONG previous = ::SetWindowLongA(window, index, value);
  const DWORD error = ::GetLastError();
  if (previous == 0 && thread != 0 && ::GetWindowLongA(window, index) != value) {
    NoteIfRefused(window, error);
  }
  return static_cast<int32_t>(previous);
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
  return ThreadOf(ToHwnd(hwnd)).process;
}

Win32WindowSystem::WindowThread Win32WindowSystem::ThreadOf(HWND window) {
  if (const auto known = threads_.find(window); known != threads_.end()) return known->second;
  WindowThread read;
  read.thread = ::GetWindowThreadProcessId(window, &read.process);
  if (read.thread == 0) return {};  // no window: nothing to keep
  if (threads_.size() >= pruneThreadsAt_) {
    std::erase_if(threads_, [](const auto& entry) { return ::IsWindow(entry.first) == FALSE; });
    pruneThreadsAt_ = 2 * threads_.size() + 256;
  }
  threads_[window] = read;
  return read;
}

DWORD Win32WindowSystem::OtherThread(HWND window) {
  const DWORD thread = ThreadOf(window).thread;
  return thread == ::GetCurrentThreadId() ? 0 : thread;
}

bool Win32WindowSystem::IsHungAppWindow(Hwnd hwnd) {
  return ::IsHungAppWindow(ToHwnd(hwnd)) != FALSE;
}

// ---- Layered windows ----------------------------------------------------------------------------

bool Win32WindowSystem::SetLayeredWindowAttributes(Hwnd hwnd, uint32_t colorKey, uint8_t alpha,
                                                   uint32_t flags) {
  const HWND window = ToHwnd(hwnd);
  ::SetLastError(0);
  if (::SetLayeredWindowAttributes(window, colorKey, alpha, flags)) return true;
  NoteIfRefused(window, ::GetLastError());
  return false;
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
  const DWORD thread = OtherThread(window);
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

// ---- Live thumbnails ---------------------------------------------------------------------------

namespace {

// The compositor's calls, from dwmapi.dll in the system folder, loaded once when first asked for:
// the program starts and copies windows as before where the library or a call is missing.
struct Compositor {
  HRESULT(WINAPI* isCompositionEnabled)(BOOL*) = nullptr;
  HRESULT(WINAPI* registerThumbnail)(HWND, HWND, PHTHUMBNAIL) = nullptr;
  HRESULT(WINAPI* updateThumbnailProperties)(HTHUMBNAIL, const DWM_THUMBNAIL_PROPERTIES*) = nullptr;
  HRESULT(WINAPI* unregisterThumbnail)(HTHUMBNAIL) = nullptr;
  HRESULT(WINAPI* querySourceSize)(HTHUMBNAIL, PSIZE) = nullptr;             // may be missing
  HRESULT(WINAPI* getWindowAttribute)(HWND, DWORD, PVOID, DWORD) = nullptr;  // may be missing
  bool Complete() const {
    return isCompositionEnabled && registerThumbnail && updateThumbnailProperties &&
           unregisterThumbnail;
  }
};

template <typename Call>
void Resolve(HMODULE library, const char* name, Call* call) {
  *call = reinterpret_cast<Call>(reinterpret_cast<void*>(::GetProcAddress(library, name)));
}

const Compositor& Dwm() {
  static const Compositor compositor = [] {
    Compositor loaded;
    // By its full path: never a library of that name beside the program.
    char folder[MAX_PATH] = {};
    const UINT length = ::GetSystemDirectoryA(folder, MAX_PATH);
    if (length == 0 || length >= MAX_PATH - 12) return loaded;
    const HMODULE library = ::LoadLibraryA((std::string(folder) + "\\dwmapi.dll").c_str());
    if (library == nullptr) return loaded;
    Resolve(library, "DwmIsCompositionEnabled", &loaded.isCompositionEnabled);
    Resolve(library, "DwmRegisterThumbnail", &loaded.registerThumbnail);
    Resolve(library, "DwmUpdateThumbnailProperties", &loaded.updateThumbnailProperties);
    Resolve(library, "DwmUnregisterThumbnail", &loaded.unregisterThumbnail);
    Resolve(library, "DwmQueryThumbnailSourceSize", &loaded.querySourceSize);
    Resolve(library, "DwmGetWindowAttribute", &loaded.getWindowAttribute);
    return loaded;
  }();
  return compositor;
}

// The compositor's window attribute that says whether a window is cloaked (not in older
// headers under this name).
constexpr DWORD kDwmCloakedAttribute = 14;

}  // namespace

bool Win32WindowSystem::IsWindowCloaked(Hwnd hwnd) {
  const Compositor& dwm = Dwm();
  // A compositor that does not know the attribute (Wine's, which also logs each question) is
  // not asked again: it cloaks nothing.
  static bool knowsCloaking = true;
  if (dwm.getWindowAttribute == nullptr || !knowsCloaking) return false;
  DWORD cloaked = 0;
  const HRESULT answer =
      dwm.getWindowAttribute(ToHwnd(hwnd), kDwmCloakedAttribute, &cloaked, sizeof cloaked);
  if (answer == E_NOTIMPL) knowsCloaking = false;
  return SUCCEEDED(answer) && cloaked != 0;
}

bool Win32WindowSystem::ThumbnailsOffered() {
  const Compositor& dwm = Dwm();
  BOOL enabled = FALSE;
  return dwm.Complete() && SUCCEEDED(dwm.isCompositionEnabled(&enabled)) && enabled != FALSE;
}

WindowSystem::ThumbnailId Win32WindowSystem::RegisterThumbnail(Hwnd destination, Hwnd source) {
  const Compositor& dwm = Dwm();
  HTHUMBNAIL thumbnail = nullptr;
  if (!dwm.Complete() ||
      FAILED(dwm.registerThumbnail(ToHwnd(destination), ToHwnd(source), &thumbnail))) {
    return 0;
  }
  return reinterpret_cast<ThumbnailId>(thumbnail);
}

bool Win32WindowSystem::UpdateThumbnail(ThumbnailId id, const ThumbnailProperties& properties) {
  const Compositor& dwm = Dwm();
  if (!dwm.Complete() || id == 0) return false;
  const auto thumbnail = reinterpret_cast<HTHUMBNAIL>(id);
  DWM_THUMBNAIL_PROPERTIES set{};
  set.dwFlags = DWM_TNP_RECTDESTINATION | DWM_TNP_RECTSOURCE | DWM_TNP_VISIBLE | DWM_TNP_OPACITY;
  const Rect& d = properties.destination;
  set.rcDestination = RECT{d.left, d.top, d.right, d.bottom};
  // The source rectangle is set every time, the whole window's too: a part set before stays
  // in force until another replaces it.
  const Rect& s = properties.source;
  SIZE whole{};
  if (s.Width() > 0 && s.Height() > 0) {
    set.rcSource = RECT{s.left, s.top, s.right, s.bottom};
  } else if (dwm.querySourceSize && SUCCEEDED(dwm.querySourceSize(thumbnail, &whole))) {
    set.rcSource = RECT{0, 0, whole.cx, whole.cy};
  } else {
    set.dwFlags &= ~static_cast<DWORD>(DWM_TNP_RECTSOURCE);
  }
  set.fVisible = properties.visible ? TRUE : FALSE;
  set.opacity = properties.opacity;
  return SUCCEEDED(dwm.updateThumbnailProperties(thumbnail, &set));
}

bool Win32WindowSystem::UnregisterThumbnail(ThumbnailId id) {
  const Compositor& dwm = Dwm();
  return dwm.Complete() && id != 0 &&
         SUCCEEDED(dwm.unregisterThumbnail(reinterpret_cast<HTHUMBNAIL>(id)));
}

// ---- Time ---------------------------------------------------------------------------------------

void Win32WindowSystem::Sleep(uint32_t milliseconds) { ::Sleep(milliseconds); }

uint32_t Win32WindowSystem::GetTickCount() { return ::GetTickCount(); }

// ---- Screen facts -------------------------------------------------------------------------------

int Win32WindowSystem::GetSystemMetrics(int index) { return ::GetSystemMetrics(index); }

uint32_t Win32WindowSystem::GetSysColor(int index) { return ::GetSysColor(index); }

}  // namespace vd::win32
