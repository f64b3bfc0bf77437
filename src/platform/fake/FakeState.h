// The in-memory desktop's state, shared by the source files of the fake (one file per thing it
// fakes): every window with its styles, rectangle, layering, owner and message sink; the Z
// order and the foreground window; the cursor, the hotkeys, the clock, the screen, the tray
// icons, the registry and its open keys, and the record of calls. Its helpers keep the window
// manager's rules that more than one call follows (the Z-order bands, activation, hit testing,
// destruction). Private to src/platform/fake.
#pragma once

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/fake/FakeWindowSystem.h"

namespace vd::fake {

constexpr Hwnd kFirstHandle = 0x10010;
// The process of the program's own windows (the headless forms make theirs in it).
constexpr uint32_t kProgramProcess = FakeWindowSystem::kProgramProcess;
constexpr RegKey kFirstRegKey = 0x1000;

// Window-manager details the program itself never names.
constexpr uint32_t kWsDisabled = 0x08000000;
constexpr uint32_t kHotkeyModifierMask = MOD_ALT | MOD_CONTROL | MOD_SHIFT | MOD_WIN;

inline std::string Dec(int64_t value) { return std::to_string(value); }
inline std::string Dec(uint64_t value) { return std::to_string(value); }
inline std::string Dec(int value) { return std::to_string(value); }
inline std::string Dec(uint32_t value) { return std::to_string(value); }
inline std::string Dec(bool value) { return value ? "1" : "0"; }

// A path the program built (with backslashes) as a path of the host: there they are separators too.
inline std::filesystem::path LocalPath(const std::string& name) {
  std::string local = name;
#ifndef _WIN32
  std::replace(local.begin(), local.end(), '\\', '/');
#endif
  return std::filesystem::path(local).lexically_normal();
}

inline char Lower(char c) { return static_cast<char>(std::tolower(static_cast<unsigned char>(c))); }

inline bool SameText(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (Lower(a[i]) != Lower(b[i])) return false;
  }
  return true;
}

// ---- State --------------------------------------------------------------------------------------

struct FakeWindowSystem::State {
  struct Window {
    std::string caption;
    uint32_t style = 0;
    uint32_t exStyle = 0;
    Rect rect;  // relative to the parent's top-left corner for a child
    uint32_t process = 0;
    Hwnd parent = 0;
    Hwnd owner = 0;
    std::vector<Hwnd> children;  // Z order, top first
    bool hasLayeredAttributes = false;
    uint32_t colorKey = 0;
    uint8_t alpha = 255;
    uint32_t layeredFlags = 0;
    MessageSink sink;
    bool hung = false;
    bool cloaked = false;
    int systemDesktop = 0;        // 0: on none
    bool refusesChanges = false;  // the system refuses the program every change to it
    bool refusalKnown = false;    // and RefusesChanges says so
    std::optional<Bitmap> picture;
    std::map<int, int32_t> otherLongs;
  };
  struct Hotkey {
    Hwnd hwnd = 0;
    int id = 0;
    uint32_t modifiers = 0;
    uint32_t virtualKey = 0;
  };
  struct OpenKey {
    std::string path;
    uint32_t access = 0;
  };

  std::map<Hwnd, Window> windows;
  std::vector<Hwnd> zOrder;  // top-level windows, top first
  Hwnd nextHandle = kFirstHandle;
  Hwnd foreground = 0;
  Point cursor;
  std::vector<Hotkey> hotkeys;
  std::vector<std::pair<uint32_t, uint32_t>> heldElsewhere;
  uint32_t clock = 0;
  int screenWidth = 1280;
  int screenHeight = 1024;
  std::string programFolder = std::filesystem::current_path().string();
  std::string appDataFolder = std::filesystem::temp_directory_path().string();
  std::vector<std::filesystem::path> refusingFolders;  // as LocalPath gives them
  bool secondInstance = false;
  int failingReplacements = 0;
  int currentSystemDesktop = 1;
  bool ended = false;
  std::vector<Call> calls;
  std::vector<NotifyIconData> tray;
  std::map<std::string, std::map<std::string, std::string>> registry;
  std::map<RegKey, OpenKey> openKeys;
  RegKey nextRegKey = kFirstRegKey;
  bool thumbnailsOffered = false;
  std::map<ThumbnailId, Thumbnail> thumbnails;  // by id, ascending as registered
  ThumbnailId nextThumbnail = 1;

  // True when the folder, or the folder of the file, refuses writes.
  bool RefusesWritesIn(const std::string& folder) const {
    return std::ranges::count(refusingFolders, LocalPath(folder)) != 0;
  }
  bool RefusesWritesTo(const std::string& file) const {
    return std::ranges::count(refusingFolders, LocalPath(file).parent_path()) != 0;
  }

  Window* Find(Hwnd hwnd) {
    auto it = windows.find(hwnd);
    return it == windows.end() ? nullptr : &it->second;
  }
  const Window* Find(Hwnd hwnd) const {
    auto it = windows.find(hwnd);
    return it == windows.end() ? nullptr : &it->second;
  }

  std::function<void(const Call&)> callHook;
  bool inCallHook = false;
  // Window events: the program's handler, whether the system offers them at all, and whether
  // it withholds them for now (as it may drop one now and then).
  WindowEventHandler eventHandler;
  bool eventsOffered = true;
  bool eventsWithheld = false;

  // True when the window refuses the program changes: the call that asks for one is refused,
  // and from then on RefusesChanges says so.
  bool Refused(Window& window) {
    if (!window.refusesChanges) return false;
    window.refusalKnown = true;
    return true;
  }

  void Record(std::string name, std::vector<std::string> args) {
    calls.push_back(Call{std::move(name), std::move(args)});
    if (callHook && !inCallHook) {
      inCallHook = true;
      const auto hook = callHook;
      const Call call = calls.back();
      hook(call);
      inCallHook = false;
    }
  }

  // The sibling list a window lives in: the top-level Z order or its parent's children.
  std::vector<Hwnd>& Siblings(const Window& window) {
    if (window.parent != 0) {
      if (Window* parent = Find(window.parent)) return parent->children;
    }
    return zOrder;
  }

  static bool TopMost(const Window& window) { return (window.exStyle & WS_EX_TOPMOST) != 0; }

  void Unlink(Hwnd hwnd, std::vector<Hwnd>& list) {
    list.erase(std::remove(list.begin(), list.end(), hwnd), list.end());
  }

  // Top of its band: top-most windows stay above all others, so a normal window goes right
  // under the last top-most one.
  void PlaceAtTop(Hwnd hwnd) {
    Window& window = windows.at(hwnd);
    std::vector<Hwnd>& list = Siblings(window);
    Unlink(hwnd, list);
    auto at = list.begin();
    if (window.parent == 0 && !TopMost(window)) {
      at = std::find_if(list.begin(), list.end(),
                        [this](Hwnd other) { return !TopMost(windows.at(other)); });
    }
    list.insert(at, hwnd);
  }

  void PlaceAtBottom(Hwnd hwnd) {
    Window& window = windows.at(hwnd);
    std::vector<Hwnd>& list = Siblings(window);
    Unlink(hwnd, list);
    list.push_back(hwnd);
  }

  // Right under a sibling; a top-level window takes the top-most state of the window it goes
  // under, so the two bands stay apart.
  void PlaceAfter(Hwnd hwnd, Hwnd after) {
    Window& window = windows.at(hwnd);
    std::vector<Hwnd>& list = Siblings(window);
    auto target = std::find(list.begin(), list.end(), after);
    if (target == list.end() || after == hwnd) return;
    if (window.parent == 0) {
      if (TopMost(windows.at(after))) {
        window.exStyle |= WS_EX_TOPMOST;
      } else {
        window.exStyle &= ~WS_EX_TOPMOST;
      }
    }
    Unlink(hwnd, list);
    list.insert(std::find(list.begin(), list.end(), after) + 1, hwnd);
  }

  Hwnd TopLevelOf(Hwnd hwnd) const {
    const Window* window = Find(hwnd);
    while (window && window->parent != 0) {
      hwnd = window->parent;
      window = Find(hwnd);
    }
    return hwnd;
  }

  bool Visible(Hwnd hwnd) const {
    for (const Window* window = Find(hwnd); window; window = Find(window->parent)) {
      if ((window->style & WS_VISIBLE) == 0) return false;
      if (window->parent == 0) return true;
    }
    return false;
  }

  bool CanActivate(Hwnd hwnd) const {
    const Window* window = Find(hwnd);
    return window && window->parent == 0 && (window->style & WS_VISIBLE) != 0 &&
           (window->style & kWsDisabled) == 0;
  }

  // Whether the program hears of the window's events: a top-level window of another process
  // (the program asks not to hear of its own).
  bool Reported(Hwnd hwnd) const {
    const Window* window = Find(hwnd);
    return window != nullptr && window->parent == 0 && window->process != kProgramProcess;
  }
  // Reports the event to the program's handler, as the system does once the program waits for
  // messages (here at once; the program must not mind where it is).
  void Notify(WindowEvent event, Hwnd hwnd) {
    if (!eventHandler || eventsWithheld) return;
    const WindowEventHandler handler = eventHandler;
    handler(event, hwnd);
  }

  void Activate(Hwnd hwnd) {
    const Hwnd top = TopLevelOf(hwnd);
    if (!Find(top)) return;
    PlaceAtTop(top);
    const bool changed = foreground != top;
    foreground = top;
    // The program hears of its own windows coming to the front too.
    if (changed) Notify(WindowEvent::kForeground, top);
  }

  // When the foreground window goes away (hidden or destroyed), the window manager activates
  // the next window below it that can take the focus, else the top window, else none.
  void ActivateOtherWindow(Hwnd leaving) {
    if (foreground != leaving) return;
    auto it = std::find(zOrder.begin(), zOrder.end(), leaving);
    if (it != zOrder.end()) {
      for (++it; it != zOrder.end(); ++it) {
        if (CanActivate(*it)) {
          Activate(*it);
          return;
        }
      }
    }
    if (!zOrder.empty() && zOrder.front() != leaving && CanActivate(zOrder.front())) {
      Activate(zOrder.front());
      return;
    }
    foreground = 0;
  }

  Rect ScreenRect(Hwnd hwnd) const {
    const Window* window = Find(hwnd);
    if (!window) return {};
    Rect rect = window->rect;
    for (const Window* parent = Find(window->parent); parent; parent = Find(parent->parent)) {
      rect.left += parent->rect.left;
      rect.right += parent->rect.left;
      rect.top += parent->rect.top;
      rect.bottom += parent->rect.top;
    }
    return rect;
  }

  static bool Contains(const Rect& rect, Point point) {
    return point.x >= rect.left && point.x < rect.right && point.y >= rect.top &&
           point.y < rect.bottom;
  }

  // The innermost visible, enabled window under the point among a sibling list.
  Hwnd HitTest(const std::vector<Hwnd>& list, Point point) const {
    for (Hwnd hwnd : list) {
      const Window& window = windows.at(hwnd);
      if ((window.style & WS_VISIBLE) == 0) continue;
      if (window.parent != 0 && (window.style & kWsDisabled) != 0) continue;
      if (!Contains(ScreenRect(hwnd), point)) continue;
      const Hwnd inner = HitTest(window.children, point);
      return inner != 0 ? inner : hwnd;
    }
    return 0;
  }

  void SetVisible(Hwnd hwnd, bool visible) {
    Window& window = windows.at(hwnd);
    if (visible) {
      window.style |= WS_VISIBLE;
    } else if ((window.style & WS_VISIBLE) != 0) {
      window.style &= ~WS_VISIBLE;
      if (window.parent == 0) ActivateOtherWindow(hwnd);
    }
  }

  void Destroy(Hwnd hwnd) {
    Window* window = Find(hwnd);
    if (!window) return;
    const std::vector<Hwnd> children = window->children;
    for (Hwnd child : children) Destroy(child);
    window = Find(hwnd);
    if (window->parent == 0) ActivateOtherWindow(hwnd);
    Unlink(hwnd, Siblings(*window));
    // A window's hotkeys die with it.
    hotkeys.erase(std::remove_if(hotkeys.begin(), hotkeys.end(),
                                 [hwnd](const Hotkey& h) { return h.hwnd == hwnd; }),
                  hotkeys.end());
    if (foreground == hwnd) foreground = 0;
    const bool reported = Reported(hwnd);
    windows.erase(hwnd);
    if (reported) Notify(WindowEvent::kDestroyed, hwnd);
  }

  // Clearing the layered bit makes the window opaque and forgets its alpha.
  void SetExStyle(Window& window, uint32_t exStyle) {
    // The top-most state is changed only by SetWindowPos; the bit cannot be set or cleared here.
    exStyle = (exStyle & ~WS_EX_TOPMOST) | (window.exStyle & WS_EX_TOPMOST);
    if ((exStyle & WS_EX_LAYERED) == 0) {
      window.hasLayeredAttributes = false;
      window.alpha = 255;
      window.colorKey = 0;
      window.layeredFlags = 0;
    }
    window.exStyle = exStyle;
  }

  std::optional<std::string> RegistryPath(uintptr_t root, const std::string& subKey) const {
    std::string base;
    if (root == HKEY_CURRENT_USER) {
      base = "HKCU";
    } else if (root == 0x80000002u) {
      base = "HKLM";
    } else if (auto it = openKeys.find(root); it != openKeys.end()) {
      base = it->second.path;
    } else {
      return std::nullopt;
    }
    std::string path = subKey;
    while (!path.empty() && path.front() == '\\') path.erase(path.begin());
    while (!path.empty() && path.back() == '\\') path.pop_back();
    return path.empty() ? base : base + "\\" + path;
  }

  // Registry key and value names match regardless of letter case.
  std::map<std::string, std::map<std::string, std::string>>::iterator FindRegistryKey(
      const std::string& path) {
    return std::find_if(registry.begin(), registry.end(),
                        [&path](const auto& entry) { return SameText(entry.first, path); });
  }
};

}  // namespace vd::fake
