// Move-only owners for system handles (device contexts, bitmaps, keys, mutexes) and a guard for
// GDI objects selected into a device context, so that whatever a call creates is released
// before the call returns, on every path.
//
// The owners keep a live count per kind of handle: how many each kind of owner holds right
// now. A handle that the program keeps past the call that made it shows up there, and a count
// that grows while the program runs is a handle it never gives back. The pager answers the
// registered window message kLiveHandlesMessage with the count of the kind its wParam names,
// so a program outside can watch them.
#pragma once

#include <windows.h>

#include <atomic>
#include <cstddef>
#include <utility>

namespace vd::win32 {

enum class HandleKind : int {
  kWindowDc,      // GetDC / GetWindowDC, given back with ReleaseDC
  kMemoryDc,      // CreateCompatibleDC
  kGdiObject,     // bitmaps, fonts, brushes, pens
  kKernelHandle,  // mutexes, events, processes
  kRegistryKey,
  kMenu,
  kWindow,  // the program's own windows
  // Fonts and brushes the drawing code keeps for reuse, one per font or colour it has drawn
  // with: bounded by what the program draws, so they may grow until every look has been seen.
  kCachedGdiObject,
  kCount
};

// RegisterWindowMessageA of this name; wParam: a HandleKind; the answer: the count, or -1 for
// a kind that does not exist.
inline constexpr char kLiveHandlesMessage[] = "VueDeckLiveHandles";

class LiveHandles {
 public:
  static long Count(HandleKind kind) {
    const auto i = static_cast<size_t>(kind);
    return i < kKinds ? counts_[i].load(std::memory_order_relaxed) : -1;
  }
  // The answer to kLiveHandlesMessage.
  static LRESULT Answer(WPARAM kind) {
    return kind < kKinds ? Count(static_cast<HandleKind>(kind)) : -1;
  }
  static void Opened(HandleKind kind) {
    counts_[static_cast<size_t>(kind)].fetch_add(1, std::memory_order_relaxed);
  }
  static void Closed(HandleKind kind) {
    counts_[static_cast<size_t>(kind)].fetch_sub(1, std::memory_order_relaxed);
  }

 private:
  static constexpr size_t kKinds = static_cast<size_t>(HandleKind::kCount);
  static inline std::atomic<long> counts_[kKinds] = {};
};

// Closes one kind of handle; Closer::kKind says which count its owners keep.
template <typename T, typename Closer>
class UniqueHandle {
 public:
  UniqueHandle() = default;
  explicit UniqueHandle(T handle, Closer closer = Closer{})
      : handle_(handle), closer_(std::move(closer)) {
    if (handle_ != T{}) LiveHandles::Opened(Closer::kKind);
  }
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
  // The caller takes the handle over: it no longer counts as held here.
  T Release() {
    if (handle_ != T{}) LiveHandles::Closed(Closer::kKind);
    return std::exchange(handle_, T{});
  }
  void Reset(T handle = T{}) {
    if (handle_ != T{}) {
      closer_(handle_);
      LiveHandles::Closed(Closer::kKind);
    }
    handle_ = handle;
    if (handle_ != T{}) LiveHandles::Opened(Closer::kKind);
  }

 private:
  T handle_{};
  Closer closer_{};
};

// A device context from GetDC / GetWindowDC goes back to its window with ReleaseDC.
struct WindowDcCloser {
  static constexpr HandleKind kKind = HandleKind::kWindowDc;
  HWND window = nullptr;
  void operator()(HDC dc) const { ::ReleaseDC(window, dc); }
};
// A memory device context from CreateCompatibleDC is deleted.
struct MemoryDcCloser {
  static constexpr HandleKind kKind = HandleKind::kMemoryDc;
  void operator()(HDC dc) const { ::DeleteDC(dc); }
};
struct GdiObjectCloser {
  static constexpr HandleKind kKind = HandleKind::kGdiObject;
  void operator()(HGDIOBJ object) const { ::DeleteObject(object); }
};
struct CachedGdiObjectCloser {
  static constexpr HandleKind kKind = HandleKind::kCachedGdiObject;
  void operator()(HGDIOBJ object) const { ::DeleteObject(object); }
};
struct KernelHandleCloser {
  static constexpr HandleKind kKind = HandleKind::kKernelHandle;
  void operator()(HANDLE handle) const { ::CloseHandle(handle); }
};
struct RegKeyCloser {
  static constexpr HandleKind kKind = HandleKind::kRegistryKey;
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
