// Move-only owners for system handles (device contexts, bitmaps, keys, mutexes) and a guard for
// GDI objects selected into a device context, so that whatever a call creates is released
// before the call returns, on every path.
#pragma once

#include <windows.h>

#include <utility>

namespace vd::win32 {

template <typename T, typename Closer>
class UniqueHandle {
 public:
  UniqueHandle() = default;
  explicit UniqueHandle(T handle, Closer closer = Closer{})
      : handle_(handle), closer_(std::move(closer)) {}
  ~UniqueHandle() { Reset(); }

  UniqueHandle(const UniqueHandle&) = delete;
  UniqueHandle& operator=(const UniqueHandle&) = delete;
  UniqueHandle(UniqueHandle&& other) noexcept
      : handle_(std::exchange(other.handle_, T{})), closer_(std::move(other.closer_)) {}
  UniqueHandle& operator=(UniqueHandle&& other) noexcept {
    if (this != &other) {
      Reset();
      handle_ = std::exchange(other.handle_, T{});
      closer_ = std::move(other.closer_);
    }
    return *this;
  }

  T Get() const { return handle_; }
  explicit operator bool() const { return handle_ != T{}; }
  T Release() { return std::exchange(handle_, T{}); }
  void Reset(T handle = T{}) {
    if (handle_ != T{}) closer_(handle_);
    handle_ = handle;
  }

 private:
  T handle_{};
  Closer closer_{};
};

// A device context from GetDC / GetWindowDC goes back to its window with ReleaseDC.
struct WindowDcCloser {
  HWND window = nullptr;
  void operator()(HDC dc) const { ::ReleaseDC(window, dc); }
};
// A memory device context from CreateCompatibleDC is deleted.
struct MemoryDcCloser {
  void operator()(HDC dc) const { ::DeleteDC(dc); }
};
struct GdiObjectCloser {
  void operator()(HGDIOBJ object) const { ::DeleteObject(object); }
};
struct KernelHandleCloser {
  void operator()(HANDLE handle) const { ::CloseHandle(handle); }
};
struct RegKeyCloser {
  void operator()(HKEY key) const { ::RegCloseKey(key); }
};

using WindowDc = UniqueHandle<HDC, WindowDcCloser>;
using MemoryDc = UniqueHandle<HDC, MemoryDcCloser>;
using OwnedBitmap = UniqueHandle<HBITMAP, GdiObjectCloser>;
using OwnedKernelHandle = UniqueHandle<HANDLE, KernelHandleCloser>;
using OwnedRegKey = UniqueHandle<HKEY, RegKeyCloser>;

// Selects an object into a device context for the guard's lifetime and puts the previous one
// back afterwards (a bitmap must be deselected before it can be read or deleted).
class SelectGuard {
 public:
  SelectGuard(HDC dc, HGDIOBJ object) : dc_(dc), previous_(::SelectObject(dc, object)) {}
  ~SelectGuard() {
    if (previous_ != nullptr && previous_ != HGDI_ERROR) ::SelectObject(dc_, previous_);
  }
  SelectGuard(const SelectGuard&) = delete;
  SelectGuard& operator=(const SelectGuard&) = delete;
  bool Selected() const { return previous_ != nullptr && previous_ != HGDI_ERROR; }

 private:
  HDC dc_;
  HGDIOBJ previous_;
};

}  // namespace vd::win32
