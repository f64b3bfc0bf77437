// The in-memory desktop. Each behaviour here mirrors what the real window manager does (and
// what the conformance suite checks against it under Wine), so the logic's unit tests see the
// same answers the program gets on Windows.
#include "platform/fake/FakeWindowSystem.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <string_view>
#include <utility>

namespace vd::fake {

namespace {

constexpr Hwnd kFirstHandle = 0x10010;
constexpr Hwnd kHandleStep = 2;
constexpr RegKey kFirstRegKey = 0x1000;
constexpr uint32_t kDefaultFill = 0x00F5F5F5;  // the button-face colour, as an unpainted capture

// Window-manager details the program itself never names.
constexpr uint32_t kWsMinimize = 0x20000000;
constexpr uint32_t kWsMaximize = 0x01000000;
constexpr uint32_t kWsDisabled = 0x08000000;
constexpr uint32_t kSwpShowWindow = 0x0040;
constexpr uint32_t kSwpHideWindow = 0x0080;
constexpr uint32_t kGwHwndLast = 1;
constexpr uint32_t kGwHwndPrev = 3;
constexpr uint32_t kGwChild = 5;
constexpr uint32_t kHotkeyModifierMask = MOD_ALT | MOD_CONTROL | MOD_SHIFT | MOD_WIN;
constexpr uint32_t kKeyQueryValue = 0x0001;
constexpr uint32_t kKeySetValue = 0x0002;
constexpr int32_t kErrorAccessDenied = 5;
constexpr int32_t kErrorInvalidHandle = 6;

// The system colours of a fresh Wine prefix, where the program's end-to-end tests run
// (index 0 to 30: COLOR_SCROLLBAR to COLOR_MENUBAR).
constexpr uint32_t kSysColors[] = {
    0x00FFFFFF, 0x00956F25, 0x00FA9632, 0x00808080, 0x00FFFFFF, 0x00FFFFFF, 0x009E9E9E, 0x00000000,
    0x00000000, 0x00000000, 0x00FFFFFF, 0x00FFFFFF, 0x00808080, 0x00FA9630, 0x00FFFFFF, 0x00F5F5F5,
    0x00A6A6A6, 0x00A6A6A6, 0x00000000, 0x00C8C8C8, 0x00FFFFFF, 0x006A6A6A, 0x00E3E3E3, 0x00000000,
    0x00FFFFFF, 0x00FFFFFF, 0x00E0E0E0, 0x00FA9632, 0x00808080, 0x00FA9630, 0x00FFFFFF,
};

std::string Dec(int64_t value) { return std::to_string(value); }
std::string Dec(uint64_t value) { return std::to_string(value); }
std::string Dec(int value) { return std::to_string(value); }
std::string Dec(uint32_t value) { return std::to_string(value); }
std::string Dec(bool value) { return value ? "1" : "0"; }

char Lower(char c) { return static_cast<char>(std::tolower(static_cast<unsigned char>(c))); }

bool SameText(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (Lower(a[i]) != Lower(b[i])) return false;
  }
  return true;
}

bool IsBlank(char c) {
  return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f';
}

std::string_view Trim(std::string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  return text;
}

// ---- Profile files ---------------------------------------------------------------------------
// A profile file kept as its lines, so that a write changes one line and leaves every other
// line exactly as it was.

std::filesystem::path ProfilePath(const std::string& fileName) {
#ifdef _WIN32
  return std::filesystem::path(fileName);
#else
  // The program builds its paths with backslashes; on the test host they are separators too.
  std::string local = fileName;
  std::replace(local.begin(), local.end(), '\\', '/');
  return std::filesystem::path(local);
#endif
}

std::optional<std::vector<std::string>> ReadLines(const std::string& fileName) {
  std::ifstream in(ProfilePath(fileName), std::ios::binary);
  if (!in) return std::nullopt;
  std::stringstream buffer;
  buffer << in.rdbuf();
  const std::string text = buffer.str();
  std::vector<std::string> lines;
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    std::string line = text.substr(start, end - start);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(std::move(line));
    start = end + 1;
  }
  return lines;
}

// The section name of a header line ("[ SETUP ]" -> "SETUP"), or nothing for other lines.
std::optional<std::string_view> SectionOf(std::string_view line) {
  line = Trim(line);
  if (line.empty() || line.front() != '[') return std::nullopt;
  const size_t close = line.rfind(']');
  if (close == std::string_view::npos) return Trim(line.substr(1));
  return Trim(line.substr(1, close - 1));
}

struct KeyLine {
  std::string_view name;
  std::optional<std::string_view> value;  // none for a line without '='
};

KeyLine KeyOf(std::string_view line) {
  line = Trim(line);
  const size_t equals = line.find('=');
  if (equals == std::string_view::npos) return {line, std::nullopt};
  return {Trim(line.substr(0, equals)), Trim(line.substr(equals + 1))};
}

// Where a section lies in the file: its header line and the line after its last line.
struct SectionSpan {
  size_t header = 0;
  size_t end = 0;
};

std::optional<SectionSpan> FindSection(const std::vector<std::string>& lines,
                                       std::string_view section) {
  for (size_t i = 0; i < lines.size(); ++i) {
    const auto name = SectionOf(lines[i]);
    if (!name || !SameText(*name, section)) continue;
    size_t end = i + 1;
    while (end < lines.size() && !SectionOf(lines[end])) ++end;
    return SectionSpan{i, end};
  }
  return std::nullopt;
}

std::optional<size_t> FindKey(const std::vector<std::string>& lines, const SectionSpan& span,
                              std::string_view key) {
  for (size_t i = span.header + 1; i < span.end; ++i) {
    if (SameText(KeyOf(lines[i]).name, key)) return i;
  }
  return std::nullopt;
}

// A value enclosed in a pair of the same quote characters reads without them.
std::string_view Unquote(std::string_view value) {
  if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
      value.back() == value.front()) {
    return value.substr(1, value.size() - 2);
  }
  return value;
}

bool WriteLines(const std::string& fileName, const std::vector<std::string>& lines) {
  std::ofstream out(ProfilePath(fileName), std::ios::binary | std::ios::trunc);
  if (!out) return false;
  for (const std::string& line : lines) out << line << "\r\n";
  out.flush();
  return static_cast<bool>(out);
}

}  // namespace

// ---- State --------------------------------------------------------------------------------------

struct FakeWindowSystem::State {
  struct Window {
    std::string caption;
    uint32_t style = 0;
    uint32_t exStyle = 0;
    Rect rect;         // relative to the parent's top-left corner for a child
    Rect restoreRect;  // the rectangle to return to after a maximise
    uint32_t process = 0;
    Hwnd parent = 0;
    std::vector<Hwnd> children;  // Z order, top first
    bool hasLayeredAttributes = false;
    uint32_t colorKey = 0;
    uint8_t alpha = 255;
    uint32_t layeredFlags = 0;
    MessageSink sink;
    bool hung = false;
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
  int twipsX = 15;
  int twipsY = 15;
  std::string programFolder = std::filesystem::current_path().string();
  bool secondInstance = false;
  int failingReplacements = 0;
  bool ended = false;
  std::vector<Call> calls;
  std::vector<NotifyIconData> tray;
  std::map<std::string, std::map<std::string, std::string>> registry;
  std::map<RegKey, OpenKey> openKeys;
  RegKey nextRegKey = kFirstRegKey;

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

  void Activate(Hwnd hwnd) {
    const Hwnd top = TopLevelOf(hwnd);
    if (!Find(top)) return;
    PlaceAtTop(top);
    foreground = top;
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
    windows.erase(hwnd);
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

// ---- The desktop, driven by tests ---------------------------------------------------------------

FakeWindowSystem::FakeWindowSystem() : state_(std::make_unique<State>()) {
  // Every Windows user has a Run key; the program writes its start-with-Windows value there.
  state_->registry["HKCU\\Software\\Microsoft\\Windows\\CurrentVersion\\Run"];
}

FakeWindowSystem::~FakeWindowSystem() = default;

Hwnd FakeWindowSystem::CreateWindow(const WindowSpec& desc) {
  State& s = *state_;
  if (desc.parent != 0 && !s.Find(desc.parent)) return 0;
  const Hwnd hwnd = s.nextHandle;
  s.nextHandle += kHandleStep;
  State::Window window;
  window.caption = desc.caption;
  window.style = desc.style | (desc.parent != 0 ? WS_CHILD : 0);
  window.exStyle = desc.parent != 0 ? (desc.exStyle & ~WS_EX_TOPMOST) : desc.exStyle;
  window.rect = desc.rect;
  window.restoreRect = desc.rect;
  window.process = desc.process;
  window.parent = desc.parent;
  s.windows.emplace(hwnd, std::move(window));
  s.Siblings(s.windows.at(hwnd)).push_back(hwnd);
  s.PlaceAtTop(hwnd);
  return hwnd;
}

void FakeWindowSystem::DestroyWindow(Hwnd hwnd) { state_->Destroy(hwnd); }

void FakeWindowSystem::SetCaption(Hwnd hwnd, const std::string& caption) {
  if (auto* window = state_->Find(hwnd)) window->caption = caption;
}

void FakeWindowSystem::SetMessageSink(Hwnd hwnd, MessageSink sink) {
  if (auto* window = state_->Find(hwnd)) window->sink = std::move(sink);
}

void FakeWindowSystem::Activate(Hwnd hwnd) {
  if (state_->Find(hwnd)) state_->Activate(hwnd);
}

void FakeWindowSystem::SetCursor(Point point) { state_->cursor = point; }

bool FakeWindowSystem::PressHotkey(uint32_t modifiers, uint32_t virtualKey) {
  State& s = *state_;
  modifiers &= kHotkeyModifierMask;
  auto it = std::find_if(s.hotkeys.begin(), s.hotkeys.end(), [&](const State::Hotkey& h) {
    return h.modifiers == modifiers && h.virtualKey == virtualKey;
  });
  if (it == s.hotkeys.end()) return false;
  const State::Hotkey hotkey = *it;
  State::Window* window = s.Find(hotkey.hwnd);
  if (window && window->sink) {
    const MessageSink sink = window->sink;  // the sink may change the desktop while it runs
    const intptr_t lParam = static_cast<intptr_t>((virtualKey << 16) | (modifiers & 0xFFFF));
    sink(WM_HOTKEY, static_cast<uintptr_t>(hotkey.id), lParam);
  }
  return true;
}

void FakeWindowSystem::HoldHotkeyElsewhere(uint32_t modifiers, uint32_t virtualKey) {
  state_->heldElsewhere.emplace_back(modifiers & kHotkeyModifierMask, virtualKey);
}

void FakeWindowSystem::SetHung(Hwnd hwnd, bool hung) {
  if (auto* window = state_->Find(hwnd)) window->hung = hung;
}

void FakeWindowSystem::SetWindowPicture(Hwnd hwnd, Bitmap picture) {
  if (auto* window = state_->Find(hwnd)) window->picture = std::move(picture);
}

void FakeWindowSystem::SetScreen(int widthPx, int heightPx, int twipsPerPixelX,
                                 int twipsPerPixelY) {
  state_->screenWidth = widthPx;
  state_->screenHeight = heightPx;
  state_->twipsX = twipsPerPixelX;
  state_->twipsY = twipsPerPixelY;
}

void FakeWindowSystem::SetProgramFolder(const std::string& folder) {
  state_->programFolder = folder;
}

void FakeWindowSystem::SetCallHook(std::function<void(const Call& call)> hook) {
  state_->callHook = std::move(hook);
}

void FakeWindowSystem::FailFileReplacements(int count) { state_->failingReplacements = count; }

void FakeWindowSystem::SetSecondInstance(bool anotherCopyRuns) {
  state_->secondInstance = anotherCopyRuns;
}

void FakeWindowSystem::CreateRegistryKey(const std::string& path) {
  if (state_->FindRegistryKey(path) == state_->registry.end()) state_->registry[path];
}

// ---- Inspection ---------------------------------------------------------------------------------

bool FakeWindowSystem::Exists(Hwnd hwnd) const { return state_->Find(hwnd) != nullptr; }

bool FakeWindowSystem::IsTopMost(Hwnd hwnd) const {
  const auto* window = state_->Find(hwnd);
  return window && State::TopMost(*window);
}

int FakeWindowSystem::Alpha(Hwnd hwnd) const {
  const auto* window = state_->Find(hwnd);
  if (!window || (window->exStyle & WS_EX_LAYERED) == 0) return -1;
  return window->alpha;
}

std::vector<Hwnd> FakeWindowSystem::ZOrder() const { return state_->zOrder; }

uint32_t FakeWindowSystem::VirtualTimeMs() const { return state_->clock; }

void FakeWindowSystem::AdvanceTime(uint32_t ms) { state_->clock += ms; }

bool FakeWindowSystem::ProcessEnded() const { return state_->ended; }

const std::vector<Call>& FakeWindowSystem::Calls() const { return state_->calls; }

void FakeWindowSystem::ClearCalls() { state_->calls.clear(); }

std::vector<Call> FakeWindowSystem::CallsOn(const std::string& name, Hwnd hwnd) const {
  std::vector<Call> result;
  const std::string handle = Dec(hwnd);
  for (const Call& call : state_->calls) {
    if (call.name == name && !call.args.empty() && call.args.front() == handle) {
      result.push_back(call);
    }
  }
  return result;
}

std::vector<NotifyIconData> FakeWindowSystem::TrayIcons() const { return state_->tray; }

const std::map<std::string, std::map<std::string, std::string>>& FakeWindowSystem::Registry()
    const {
  return state_->registry;
}

// ---- Top-level windows --------------------------------------------------------------------------

bool FakeWindowSystem::ShowWindow(Hwnd hwnd, int cmd) {
  State& s = *state_;
  s.Record("ShowWindow", {Dec(hwnd), Dec(cmd)});
  State::Window* window = s.Find(hwnd);
  if (!window) return false;
  // The answer is whether the window was visible before, not whether the call worked.
  const bool wasVisible = (window->style & WS_VISIBLE) != 0;
  constexpr int kShowNormal = 1, kShowMinimized = 2, kShowNoActivate = 4, kShowMinNoActive = 7,
                kShowNa = 8, kRestore = 9;
  const bool topLevel = window->parent == 0;
  switch (cmd) {
    case SW_HIDE:
      s.SetVisible(hwnd, false);
      break;
    case SW_SHOW:
      s.SetVisible(hwnd, true);
      if (topLevel) s.Activate(hwnd);
      break;
    case kShowNa:
    case kShowNoActivate:
      s.SetVisible(hwnd, true);
      break;
    case kShowNormal:
    case kRestore:
      if ((window->style & kWsMaximize) != 0) window->rect = window->restoreRect;
      window->style &= ~(kWsMaximize | kWsMinimize);
      s.SetVisible(hwnd, true);
      if (topLevel) s.Activate(hwnd);
      break;
    case SW_MAXIMIZE:
      if ((window->style & kWsMaximize) == 0) window->restoreRect = window->rect;
      window->style = (window->style | kWsMaximize) & ~kWsMinimize;
      window->rect = Rect{0, 0, s.screenWidth, s.screenHeight};
      s.SetVisible(hwnd, true);
      if (topLevel) s.Activate(hwnd);
      break;
    case SW_MINIMIZE:
    case kShowMinimized:
    case kShowMinNoActive:
      window->style |= kWsMinimize;
      s.SetVisible(hwnd, true);
      if (topLevel) s.ActivateOtherWindow(hwnd);
      break;
    default:
      break;
  }
  return wasVisible;
}

bool FakeWindowSystem::SetWindowPos(Hwnd hwnd, Hwnd insertAfter, int x, int y, int cx, int cy,
                                    uint32_t flags) {
  State& s = *state_;
  s.Record("SetWindowPos",
           {Dec(hwnd), Dec(insertAfter), Dec(x), Dec(y), Dec(cx), Dec(cy), Dec(flags)});
  State::Window* window = s.Find(hwnd);
  if (!window) return false;
  const bool topLevel = window->parent == 0;
  if ((flags & SWP_NOZORDER) == 0) {
    if (insertAfter == HWND_TOPMOST) {
      if (topLevel) window->exStyle |= WS_EX_TOPMOST;
      s.PlaceAtTop(hwnd);
    } else if (insertAfter == HWND_NOTOPMOST) {
      // Only a top-most window moves: to the top of the normal windows.
      if (topLevel && State::TopMost(*window)) {
        window->exStyle &= ~WS_EX_TOPMOST;
        s.PlaceAtTop(hwnd);
      }
    } else if (insertAfter == HWND_TOP) {
      s.PlaceAtTop(hwnd);
    } else if (insertAfter == HWND_BOTTOM) {
      if (topLevel) window->exStyle &= ~WS_EX_TOPMOST;
      s.PlaceAtBottom(hwnd);
    } else if (s.Find(insertAfter)) {
      s.PlaceAfter(hwnd, insertAfter);
    }
  }
  if ((flags & SWP_NOMOVE) == 0) {
    const int width = window->rect.Width(), height = window->rect.Height();
    window->rect = Rect{x, y, x + width, y + height};
  }
  if ((flags & SWP_NOSIZE) == 0) {
    window->rect.right = window->rect.left + cx;
    window->rect.bottom = window->rect.top + cy;
  }
  if ((flags & kSwpShowWindow) != 0) s.SetVisible(hwnd, true);
  if ((flags & kSwpHideWindow) != 0) s.SetVisible(hwnd, false);
  // Unless told not to, the window is activated: it takes the focus and the top of its band.
  if ((flags & SWP_NOACTIVATE) == 0 && topLevel && insertAfter != HWND_BOTTOM &&
      (window->style & WS_VISIBLE) != 0) {
    s.Activate(hwnd);
  }
  return true;
}

bool FakeWindowSystem::MoveWindow(Hwnd hwnd, int x, int y, int width, int height, bool repaint) {
  State& s = *state_;
  s.Record("MoveWindow", {Dec(hwnd), Dec(x), Dec(y), Dec(width), Dec(height), Dec(repaint)});
  State::Window* window = s.Find(hwnd);
  if (!window) return false;
  window->rect = Rect{x, y, x + width, y + height};
  return true;
}

Hwnd FakeWindowSystem::GetWindow(Hwnd hwnd, uint32_t cmd) {
  State& s = *state_;
  s.Record("GetWindow", {Dec(hwnd), Dec(cmd)});
  State::Window* window = s.Find(hwnd);
  if (!window) return 0;
  if (cmd == kGwChild) return window->children.empty() ? 0 : window->children.front();
  const std::vector<Hwnd>& list = s.Siblings(*window);
  if (list.empty()) return 0;
  const auto self = std::find(list.begin(), list.end(), hwnd);
  switch (cmd) {
    case GW_HWNDFIRST:
      return list.front();
    case kGwHwndLast:
      return list.back();
    case GW_HWNDNEXT:
      return (self == list.end() || self + 1 == list.end()) ? 0 : *(self + 1);
    case kGwHwndPrev:
      return (self == list.end() || self == list.begin()) ? 0 : *(self - 1);
    default:
      return 0;
  }
}

std::vector<Hwnd> FakeWindowSystem::TopLevelWindows() {
  state_->Record("TopLevelWindows", {});
  return state_->zOrder;
}

int FakeWindowSystem::GetWindowTextLengthA(Hwnd hwnd) {
  state_->Record("GetWindowTextLengthA", {Dec(hwnd)});
  const auto* window = state_->Find(hwnd);
  return window ? static_cast<int>(window->caption.size()) : 0;
}

std::string FakeWindowSystem::GetWindowTextA(Hwnd hwnd, int maxCount) {
  state_->Record("GetWindowTextA", {Dec(hwnd), Dec(maxCount)});
  const auto* window = state_->Find(hwnd);
  if (!window || maxCount <= 0) return {};
  return window->caption.substr(0, static_cast<size_t>(maxCount - 1));
}

int32_t FakeWindowSystem::GetWindowLongA(Hwnd hwnd, int index) {
  state_->Record("GetWindowLongA", {Dec(hwnd), Dec(index)});
  const auto* window = state_->Find(hwnd);
  if (!window) return 0;
  switch (index) {
    case GWL_STYLE:
      return static_cast<int32_t>(window->style);
    case GWL_EXSTYLE:
      return static_cast<int32_t>(window->exStyle);
    case GWL_WNDPROC:
      return 0;  // a procedure address does not fit the 32-bit call on 64-bit Windows
    default: {
      auto it = window->otherLongs.find(index);
      return it == window->otherLongs.end() ? 0 : it->second;
    }
  }
}

int32_t FakeWindowSystem::SetWindowLongA(Hwnd hwnd, int index, int32_t value) {
  State& s = *state_;
  s.Record("SetWindowLongA", {Dec(hwnd), Dec(index), Dec(value)});
  State::Window* window = s.Find(hwnd);
  if (!window) return 0;
  switch (index) {
    case GWL_STYLE: {
      const uint32_t previous = window->style;
      const uint32_t next = static_cast<uint32_t>(value);
      window->style = (next & ~WS_VISIBLE) | (previous & WS_VISIBLE);
      s.SetVisible(hwnd, (next & WS_VISIBLE) != 0);
      return static_cast<int32_t>(previous);
    }
    case GWL_EXSTYLE: {
      const uint32_t previous = window->exStyle;
      s.SetExStyle(*window, static_cast<uint32_t>(value));
      return static_cast<int32_t>(previous);
    }
    case GWL_WNDPROC:
      return 0;
    default: {
      const int32_t previous = window->otherLongs[index];
      window->otherLongs[index] = value;
      return previous;
    }
  }
}

Hwnd FakeWindowSystem::GetForegroundWindow() {
  state_->Record("GetForegroundWindow", {});
  return state_->foreground;
}

bool FakeWindowSystem::SetForegroundWindow(Hwnd hwnd) {
  State& s = *state_;
  s.Record("SetForegroundWindow", {Dec(hwnd)});
  if (!s.Find(hwnd)) return false;
  s.Activate(hwnd);
  return true;
}

bool FakeWindowSystem::GetWindowRect(Hwnd hwnd, Rect* rect) {
  State& s = *state_;
  s.Record("GetWindowRect", {Dec(hwnd)});
  if (!s.Find(hwnd) || !rect) return false;
  *rect = s.ScreenRect(hwnd);
  return true;
}

bool FakeWindowSystem::IsWindow(Hwnd hwnd) {
  state_->Record("IsWindow", {Dec(hwnd)});
  return state_->Find(hwnd) != nullptr;
}

bool FakeWindowSystem::IsWindowVisible(Hwnd hwnd) {
  state_->Record("IsWindowVisible", {Dec(hwnd)});
  return state_->Visible(hwnd);
}

uint32_t FakeWindowSystem::GetWindowThreadProcessId(Hwnd hwnd) {
  state_->Record("GetWindowThreadProcessId", {Dec(hwnd)});
  const auto* window = state_->Find(hwnd);
  return window ? window->process : 0;
}

bool FakeWindowSystem::IsHungAppWindow(Hwnd hwnd) {
  state_->Record("IsHungAppWindow", {Dec(hwnd)});
  const auto* window = state_->Find(hwnd);
  return window && window->hung;
}

// ---- Layered windows ----------------------------------------------------------------------------

bool FakeWindowSystem::SetLayeredWindowAttributes(Hwnd hwnd, uint32_t colorKey, uint8_t alpha,
                                                  uint32_t flags) {
  State& s = *state_;
  s.Record("SetLayeredWindowAttributes",
           {Dec(hwnd), Dec(colorKey), Dec(uint32_t{alpha}), Dec(flags)});
  State::Window* window = s.Find(hwnd);
  // Refused unless the window carries the layered bit first.
  if (!window || (window->exStyle & WS_EX_LAYERED) == 0) return false;
  window->hasLayeredAttributes = true;
  window->colorKey = colorKey;
  window->alpha = alpha;
  window->layeredFlags = flags;
  return true;
}

bool FakeWindowSystem::GetLayeredWindowAttributes(Hwnd hwnd, uint32_t* colorKey, uint8_t* alpha,
                                                  uint32_t* flags) {
  State& s = *state_;
  s.Record("GetLayeredWindowAttributes", {Dec(hwnd)});
  const State::Window* window = s.Find(hwnd);
  if (!window || (window->exStyle & WS_EX_LAYERED) == 0 || !window->hasLayeredAttributes) {
    return false;
  }
  if (colorKey) *colorKey = window->colorKey;
  if (alpha) *alpha = window->alpha;
  if (flags) *flags = window->layeredFlags;
  return true;
}

// ---- Mouse and messages -------------------------------------------------------------------------

bool FakeWindowSystem::GetCursorPos(Point* point) {
  state_->Record("GetCursorPos", {});
  if (!point) return false;
  *point = state_->cursor;
  return true;
}

Hwnd FakeWindowSystem::WindowFromPoint(Point point) {
  state_->Record("WindowFromPoint", {Dec(point.x), Dec(point.y)});
  return state_->HitTest(state_->zOrder, point);
}

bool FakeWindowSystem::ReleaseCapture() {
  state_->Record("ReleaseCapture", {});
  return true;
}

namespace {

// What a window procedure that takes the defaults does with a message: a close request
// destroys the window.
constexpr uint32_t kDefaultHandled = WM_CLOSE;

}  // namespace

intptr_t FakeWindowSystem::SendMessageA(Hwnd hwnd, uint32_t msg, uintptr_t wParam,
                                        intptr_t lParam) {
  State& s = *state_;
  s.Record("SendMessageA", {Dec(hwnd), Dec(msg), Dec(uint64_t{wParam}), Dec(int64_t{lParam})});
  State::Window* window = s.Find(hwnd);
  if (!window) return 0;
  if (window->sink) {
    const MessageSink sink = window->sink;
    return sink(msg, wParam, lParam);
  }
  if (msg == kDefaultHandled) s.Destroy(hwnd);
  return 0;
}

bool FakeWindowSystem::PostMessageA(Hwnd hwnd, uint32_t msg, uintptr_t wParam, intptr_t lParam) {
  State& s = *state_;
  s.Record("PostMessageA", {Dec(hwnd), Dec(msg), Dec(uint64_t{wParam}), Dec(int64_t{lParam})});
  State::Window* window = s.Find(hwnd);
  if (!window) return false;
  if (window->sink) {
    const MessageSink sink = window->sink;
    sink(msg, wParam, lParam);
  } else if (msg == kDefaultHandled) {
    s.Destroy(hwnd);
  }
  return true;
}

bool FakeWindowSystem::SendMessageTimeoutA(Hwnd hwnd, uint32_t msg, uintptr_t wParam,
                                           intptr_t lParam, uint32_t timeoutMs, intptr_t* result) {
  State& s = *state_;
  s.Record("SendMessageTimeoutA",
           {Dec(hwnd), Dec(msg), Dec(uint64_t{wParam}), Dec(int64_t{lParam}), Dec(timeoutMs)});
  State::Window* window = s.Find(hwnd);
  if (!window || window->hung) return false;
  intptr_t answer = 0;
  if (window->sink) {
    const MessageSink sink = window->sink;
    answer = sink(msg, wParam, lParam);
  } else if (msg == kDefaultHandled) {
    s.Destroy(hwnd);
  }
  if (result) *result = answer;
  return true;
}

// ---- Hotkeys ------------------------------------------------------------------------------------

bool FakeWindowSystem::RegisterHotKey(Hwnd hwnd, int id, uint32_t modifiers, uint32_t virtualKey) {
  State& s = *state_;
  s.Record("RegisterHotKey", {Dec(hwnd), Dec(id), Dec(modifiers), Dec(virtualKey)});
  if (hwnd != 0 && !s.Find(hwnd)) return false;
  const uint32_t mods = modifiers & kHotkeyModifierMask;
  // A combination belongs to one registration in the whole session, whoever holds it.
  for (const auto& held : s.heldElsewhere) {
    if (held.first == mods && held.second == virtualKey) return false;
  }
  for (const State::Hotkey& hotkey : s.hotkeys) {
    if (hotkey.modifiers == mods && hotkey.virtualKey == virtualKey) return false;
  }
  // The same window and id again: the new combination replaces the old one.
  for (State::Hotkey& hotkey : s.hotkeys) {
    if (hotkey.hwnd == hwnd && hotkey.id == id) {
      hotkey.modifiers = mods;
      hotkey.virtualKey = virtualKey;
      return true;
    }
  }
  s.hotkeys.push_back(State::Hotkey{hwnd, id, mods, virtualKey});
  return true;
}

bool FakeWindowSystem::UnregisterHotKey(Hwnd hwnd, int id) {
  State& s = *state_;
  s.Record("UnregisterHotKey", {Dec(hwnd), Dec(id)});
  auto it = std::find_if(s.hotkeys.begin(), s.hotkeys.end(),
                         [&](const State::Hotkey& h) { return h.hwnd == hwnd && h.id == id; });
  if (it == s.hotkeys.end()) return false;
  s.hotkeys.erase(it);
  return true;
}

// ---- Capture ------------------------------------------------------------------------------------

Bitmap FakeWindowSystem::CaptureWindow(Hwnd hwnd, bool client, int left, int top, int width,
                                       int height) {
  State& s = *state_;
  s.Record("CaptureWindow", {Dec(hwnd), Dec(client), Dec(left), Dec(top), Dec(width), Dec(height)});
  const State::Window* window = s.Find(hwnd);
  if (!window || width <= 0 || height <= 0) return Bitmap();
  // Outside the window's picture the copy stays black, as a copy from beyond a device context.
  Bitmap result(width, height, 0);
  if (window->picture) {
    result.Blit(0, 0, *window->picture, left, top, width, height);
  } else {
    const Rect rect = s.ScreenRect(hwnd);
    const Bitmap plain(rect.Width(), rect.Height(), kDefaultFill);
    result.Blit(0, 0, plain, left, top, width, height);
  }
  return result;
}

Bitmap FakeWindowSystem::PrintWindow(Hwnd hwnd, bool fullContent) {
  State& s = *state_;
  s.Record("PrintWindow", {Dec(hwnd), Dec(fullContent)});
  const State::Window* window = s.Find(hwnd);
  if (!window) return Bitmap();
  if (window->picture) return *window->picture;
  const Rect rect = s.ScreenRect(hwnd);
  if (rect.Width() <= 0 || rect.Height() <= 0) return Bitmap();
  return Bitmap(rect.Width(), rect.Height(), kDefaultFill);
}

// ---- Time ---------------------------------------------------------------------------------------

void FakeWindowSystem::Sleep(uint32_t milliseconds) {
  state_->Record("Sleep", {Dec(milliseconds)});
  state_->clock += milliseconds;
}

uint32_t FakeWindowSystem::GetTickCount() {
  state_->Record("GetTickCount", {});
  return state_->clock;
}

// ---- Screen facts -------------------------------------------------------------------------------

int FakeWindowSystem::GetSystemMetrics(int index) {
  state_->Record("GetSystemMetrics", {Dec(index)});
  if (index == SM_CXSCREEN) return state_->screenWidth;
  if (index == SM_CYSCREEN) return state_->screenHeight;
  return 0;
}

int FakeWindowSystem::TwipsPerPixelX() {
  state_->Record("TwipsPerPixelX", {});
  return state_->twipsX;
}

int FakeWindowSystem::TwipsPerPixelY() {
  state_->Record("TwipsPerPixelY", {});
  return state_->twipsY;
}

uint32_t FakeWindowSystem::GetSysColor(int index) {
  state_->Record("GetSysColor", {Dec(index)});
  constexpr int kCount = static_cast<int>(std::size(kSysColors));
  return (index >= 0 && index < kCount) ? kSysColors[index] : 0;
}

// ---- Profile files ------------------------------------------------------------------------------

uint32_t FakeWindowSystem::GetPrivateProfileStringA(const std::string& section,
                                                    const std::string& key,
                                                    const std::string& defaultValue, char* buffer,
                                                    uint32_t size, const std::string& fileName) {
  state_->Record("GetPrivateProfileStringA", {section, key, defaultValue, Dec(size), fileName});
  if (!buffer || size == 0) return 0;
  // The default loses its trailing blanks; a key found without '=' also reads as the default.
  std::string value(Trim(defaultValue));
  if (auto lines = ReadLines(fileName)) {
    if (auto span = FindSection(*lines, Trim(section))) {
      if (auto line = FindKey(*lines, *span, Trim(key))) {
        const KeyLine entry = KeyOf((*lines)[*line]);
        if (entry.value) value = std::string(Unquote(*entry.value));
      }
    }
  }
  const size_t count = std::min<size_t>(value.size(), size - 1);
  std::copy_n(value.data(), count, buffer);
  buffer[count] = '\0';
  return static_cast<uint32_t>(count);
}

bool FakeWindowSystem::WritePrivateProfileStringA(const std::string& section,
                                                  const std::string& key, const std::string& value,
                                                  const std::string& fileName) {
  state_->Record("WritePrivateProfileStringA", {section, key, value, fileName});
  std::vector<std::string> lines = ReadLines(fileName).value_or(std::vector<std::string>{});
  const std::string_view sectionName = Trim(section);
  const std::string_view keyName = Trim(key);
  if (auto span = FindSection(lines, sectionName)) {
    if (auto line = FindKey(lines, *span, keyName)) {
      // Replaced in place; the key keeps the spelling the file gave it.
      const std::string stored(KeyOf(lines[*line]).name);
      lines[*line] = stored + "=" + value;
    } else {
      // Added after the section's last non-blank line.
      size_t at = span->end;
      while (at > span->header + 1 && Trim(lines[at - 1]).empty()) --at;
      lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(at),
                   std::string(keyName) + "=" + value);
    }
  } else {
    lines.push_back("[" + std::string(sectionName) + "]");
    lines.push_back(std::string(keyName) + "=" + value);
  }
  return WriteLines(fileName, lines);
}

// ---- Registry -----------------------------------------------------------------------------------

int32_t FakeWindowSystem::RegOpenKeyExA(uintptr_t root, const std::string& subKey, uint32_t access,
                                        RegKey* result) {
  State& s = *state_;
  s.Record("RegOpenKeyExA", {Dec(uint64_t{root}), subKey, Dec(access)});
  if (!result) return kErrorInvalidHandle;
  const auto path = s.RegistryPath(root, subKey);
  if (!path) return kErrorInvalidHandle;
  auto key = s.FindRegistryKey(*path);
  if (key == s.registry.end()) return ERROR_FILE_NOT_FOUND;
  const RegKey handle = s.nextRegKey;
  s.nextRegKey += 4;
  s.openKeys[handle] = State::OpenKey{key->first, access};
  *result = handle;
  return ERROR_SUCCESS;
}

int32_t FakeWindowSystem::RegSetValueExA(RegKey key, const std::string& valueName, uint32_t type,
                                         const std::string& data, uint32_t length) {
  State& s = *state_;
  s.Record("RegSetValueExA", {Dec(uint64_t{key}), valueName, Dec(type), data, Dec(length)});
  auto open = s.openKeys.find(key);
  if (open == s.openKeys.end()) return kErrorInvalidHandle;
  if ((open->second.access & kKeySetValue) == 0) return kErrorAccessDenied;
  auto stored = s.FindRegistryKey(open->second.path);
  if (stored == s.registry.end()) return kErrorInvalidHandle;
  // The length counts bytes of data; a terminating NUL within it is not part of the text.
  std::string text = data.substr(0, std::min<size_t>(length, data.size()));
  auto& values = stored->second;
  auto existing = std::find_if(values.begin(), values.end(),
                               [&](const auto& entry) { return SameText(entry.first, valueName); });
  if (existing != values.end()) {
    existing->second = std::move(text);
  } else {
    values[valueName] = std::move(text);
  }
  return ERROR_SUCCESS;
}

int32_t FakeWindowSystem::RegQueryValueExA(RegKey key, const std::string& valueName,
                                           std::string* data) {
  State& s = *state_;
  s.Record("RegQueryValueExA", {Dec(uint64_t{key}), valueName});
  auto open = s.openKeys.find(key);
  if (open == s.openKeys.end()) return kErrorInvalidHandle;
  if ((open->second.access & kKeyQueryValue) == 0) return kErrorAccessDenied;
  auto stored = s.FindRegistryKey(open->second.path);
  if (stored == s.registry.end()) return kErrorInvalidHandle;
  for (const auto& [name, value] : stored->second) {
    if (SameText(name, valueName)) {
      if (data) *data = value;
      return ERROR_SUCCESS;
    }
  }
  return ERROR_FILE_NOT_FOUND;
}

int32_t FakeWindowSystem::RegDeleteValueA(RegKey key, const std::string& valueName) {
  State& s = *state_;
  s.Record("RegDeleteValueA", {Dec(uint64_t{key}), valueName});
  auto open = s.openKeys.find(key);
  if (open == s.openKeys.end()) return kErrorInvalidHandle;
  if ((open->second.access & kKeySetValue) == 0) return kErrorAccessDenied;
  auto stored = s.FindRegistryKey(open->second.path);
  if (stored == s.registry.end()) return kErrorInvalidHandle;
  auto& values = stored->second;
  for (auto it = values.begin(); it != values.end(); ++it) {
    if (SameText(it->first, valueName)) {
      values.erase(it);
      return ERROR_SUCCESS;
    }
  }
  return ERROR_FILE_NOT_FOUND;
}

int32_t FakeWindowSystem::RegCloseKey(RegKey key) {
  state_->Record("RegCloseKey", {Dec(uint64_t{key})});
  return state_->openKeys.erase(key) == 1 ? ERROR_SUCCESS : kErrorInvalidHandle;
}

// ---- Shell and common dialogs -------------------------------------------------------------------

bool FakeWindowSystem::Shell_NotifyIconA(uint32_t message, const NotifyIconData& data) {
  State& s = *state_;
  s.Record("Shell_NotifyIconA", {Dec(message), Dec(data.hwnd), Dec(data.id), Dec(data.flags),
                                 Dec(data.callbackMessage), Dec(uint64_t{data.icon}), data.tip});
  constexpr size_t kTipChars = 63;
  auto it = std::find_if(s.tray.begin(), s.tray.end(), [&](const NotifyIconData& icon) {
    return icon.hwnd == data.hwnd && icon.id == data.id;
  });
  switch (message) {
    case NIM_ADD: {
      if (it != s.tray.end()) return false;
      NotifyIconData icon = data;
      icon.tip = icon.tip.substr(0, kTipChars);
      s.tray.push_back(std::move(icon));
      return true;
    }
    case NIM_MODIFY:
      if (it == s.tray.end()) return false;
      // Only the fields the flags name change.
      if ((data.flags & NIF_MESSAGE) != 0) it->callbackMessage = data.callbackMessage;
      if ((data.flags & NIF_ICON) != 0) it->icon = data.icon;
      if ((data.flags & NIF_TIP) != 0) it->tip = data.tip.substr(0, kTipChars);
      it->flags |= data.flags;
      return true;
    case NIM_DELETE:
      if (it == s.tray.end()) return false;
      s.tray.erase(it);
      return true;
    default:
      return false;
  }
}

bool FakeWindowSystem::ChooseColorA(Hwnd owner, uint32_t* color, std::array<uint32_t, 16>* custom) {
  (void)custom;
  state_->Record("ChooseColorA", {Dec(owner), Dec(color ? *color : 0u)});
  if (!onChooseColor || !color) return false;
  uint32_t chosen = *color;
  if (!onChooseColor(&chosen)) return false;
  *color = chosen;
  return true;
}

int FakeWindowSystem::MessageBoxA(Hwnd owner, const std::string& text, const std::string& caption,
                                  uint32_t style) {
  state_->Record("MessageBoxA", {Dec(owner), text, caption, Dec(style)});
  return onMessageBox ? onMessageBox(text, caption, style) : IDCANCEL;
}

// ---- Process ------------------------------------------------------------------------------------

bool FakeWindowSystem::AcquireSingleInstance() {
  state_->Record("AcquireSingleInstance", {});
  return !state_->secondInstance;
}

bool FakeWindowSystem::ReplaceFileWith(const std::string& to, const std::string& from) {
  State& s = *state_;
  s.Record("ReplaceFileWith", {to, from});
  if (s.failingReplacements > 0) {
    --s.failingReplacements;
    return false;
  }
  std::error_code ec;
  if (!std::filesystem::is_regular_file(from, ec)) return false;
  std::filesystem::rename(from, to, ec);  // replaces a file in one step, as the system does
  return !ec;
}

std::string FakeWindowSystem::ProgramFolder() {
  state_->Record("ProgramFolder", {});
  return state_->programFolder;
}

void FakeWindowSystem::ExitProcess(uint32_t exitCode) {
  state_->Record("ExitProcess", {Dec(exitCode)});
  state_->ended = true;
}

}  // namespace vd::fake
