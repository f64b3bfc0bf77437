#include "forms/win32/Win32Backend.h"

#include <algorithm>
#include <cmath>

#include "forms/Controls.h"
#include "forms/Form.h"
#include "forms/Menu.h"
#include "forms/Timer.h"
#include "forms/win32/FormPeer.h"
#include "forms/win32/Win32Internal.h"
#include "forms/win32/WindowPeer.h"
#include "platform/win32/ProgramIcon.h"

namespace forms::win32 {

// ---- Context ------------------------------------------------------------------------------

HFONT Context::GetFont(const Font& font, int dpi) {
  const int height = -static_cast<int>(std::lround(font.size * static_cast<float>(dpi) / 72.0f));
  const auto key = std::make_tuple(font.name, height, font.bold);
  auto it = fonts.find(key);
  if (it == fonts.end()) {
    CachedFont made(::CreateFontW(height, 0, 0, 0, font.bold ? FW_BOLD : FW_NORMAL, FALSE, FALSE,
                                  FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                                  DEFAULT_QUALITY, DEFAULT_PITCH | FF_SWISS,
                                  Widen(font.name).c_str()));
    it = fonts.emplace(key, std::move(made)).first;
  }
  return it->second.Get();
}

HFONT Context::DefaultFont(int dpi) { return GetFont(Font{}, dpi); }

HBRUSH Context::GetBrush(COLORREF color) {
  auto it = brushes.find(color);
  if (it == brushes.end()) {
    it = brushes.emplace(color, CachedBrush(::CreateSolidBrush(color))).first;
  }
  return it->second.Get();
}

COLORREF Context::Color(uint32_t value) {
  if (value & 0x80000000u) return ::GetSysColor(static_cast<int>(value & 0xFF));
  return value & 0x00FFFFFFu;
}

namespace {

// A timer handler slower than its interval keeps a timer message always pending: DoEvents
// stops after this many messages rather than loop for ever.
constexpr int kDoEventsLimit = 200;

// ---- Timers: one id per timer on a hidden message-only window -----------------------------

class Win32TimerPeer;

struct TimerTable {
  HWND window = nullptr;
  UINT_PTR nextId = 1;
  std::map<UINT_PTR, Timer*> timers;
};

class Win32TimerPeer : public TimerPeer {
 public:
  Win32TimerPeer(TimerTable& table, Timer& timer)
      : table_(table), timer_(timer), id_(table.nextId++) {
    table_.timers[id_] = &timer_;
  }
  ~Win32TimerPeer() override {
    if (table_.window) ::KillTimer(table_.window, id_);
    table_.timers.erase(id_);
  }
  // SetTimer with the same id starts the count again.
  void Changed() override {
    if (!table_.window) return;
    if (timer_.Running()) {
      ::SetTimer(table_.window, id_, timer_.Interval(), nullptr);
    } else {
      ::KillTimer(table_.window, id_);
    }
  }

 private:
  TimerTable& table_;
  Timer& timer_;
  UINT_PTR id_;
};

LRESULT CALLBACK TimerWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) noexcept {
  try {
    if (msg == WM_TIMER) {
      auto* table = reinterpret_cast<TimerTable*>(::GetWindowLongPtrW(hwnd, GWLP_USERDATA));
      if (table) {
        auto it = table->timers.find(static_cast<UINT_PTR>(wParam));
        // A message of a timer stopped or destroyed meanwhile finds nothing.
        if (it != table->timers.end()) it->second->RaiseTick();
      }
      return 0;
    }
  } catch (...) {
    return 0;
  }
  return ::DefWindowProcW(hwnd, msg, wParam, lParam);
}

void RegisterClasses(HINSTANCE instance) {
  // The program's icon drawn for the large and the small icon sizes of the system's DPI, loaded
  // once for the run (a second backend finds the classes registered already).
  static const HICON icon = vd::win32::LoadProgramIcon(instance, SM_CXICON, SM_CYICON);
  static const HICON smallIcon = vd::win32::LoadProgramIcon(instance, SM_CXSMICON, SM_CYSMICON);
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof(wc);
  wc.style = CS_HREDRAW | CS_VREDRAW;
  wc.lpfnWndProc = &WindowPeer::ClassProc;
  wc.hInstance = instance;
  wc.hIcon = icon;
  wc.hIconSm = smallIcon;
  wc.hCursor = ::LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
  wc.lpszClassName = kFormClass;
  ::RegisterClassExW(&wc);  // a second backend finds the classes registered already
  wc.lpszClassName = kControlClass;
  wc.hIcon = nullptr;
  wc.hIconSm = nullptr;
  ::RegisterClassExW(&wc);
  WNDCLASSEXW timers{};
  timers.cbSize = sizeof(timers);
  timers.lpfnWndProc = &TimerWindowProc;
  timers.hInstance = instance;
  timers.lpszClassName = kTimerClass;
  ::RegisterClassExW(&timers);
}

FormPeer* PeerOf(Form& form) { return dynamic_cast<FormPeer*>(form.GetPeer()); }

// The popup menu as the system shows it: the visible entries, submenus built recursively;
// every command entry gets the position of its item in `items` plus one as its id.
void BuildMenu(HMENU menu, MenuItem& source, std::vector<MenuItem*>& items) {
  for (MenuItem* child : source.Children()) {
    if (!child->Visible()) continue;
    if (child->IsSeparator()) {
      ::AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
      continue;
    }
    UINT flags =
        MF_STRING | (child->Checked() ? MF_CHECKED : 0) | (child->Enabled() ? 0 : MF_GRAYED);
    const bool hasVisibleChild = std::any_of(child->Children().begin(), child->Children().end(),
                                             [](MenuItem* c) { return c->Visible(); });
    if (hasVisibleChild) {
      // Once appended, the submenu belongs to its menu and goes with it.
      OwnedMenu sub(::CreatePopupMenu());
      if (!sub) continue;
      BuildMenu(sub.Get(), *child, items);
      if (::AppendMenuW(menu, flags | MF_POPUP, reinterpret_cast<UINT_PTR>(sub.Get()),
                        Widen(child->Caption()).c_str())) {
        sub.Release();
      }
    } else {
      items.push_back(child);
      ::AppendMenuW(menu, flags, items.size(), Widen(child->Caption()).c_str());
    }
  }
}

}  // namespace

// ---- Backend ------------------------------------------------------------------------------

struct Win32Backend::State {
  Context context;
  TimerTable timers;
  OwnedWindow timerWindow;
  bool quit = false;
  int exitCode = 0;

  bool AnyFormLoaded() const {
    return std::any_of(context.forms.begin(), context.forms.end(),
                       [](FormPeer* f) { return f->GetForm().IsLoaded(); });
  }
  void Pump(const MSG& msg) {
    ::TranslateMessage(&msg);
    ::DispatchMessageW(&msg);
  }
};

Win32Backend::Win32Backend() : state_(std::make_unique<State>()) {
  Context& context = state_->context;
  context.instance = ::GetModuleHandleW(nullptr);
  INITCOMMONCONTROLSEX controls{sizeof(INITCOMMONCONTROLSEX), ICC_WIN95_CLASSES};
  ::InitCommonControlsEx(&controls);
  RegisterClasses(context.instance);

  // The system's scale, which forms start at; each form's window then tells its own screen's.
  if (vd::win32::WindowDc screen(::GetDC(nullptr)); screen) {
    const int dpi = ::GetDeviceCaps(screen.Get(), LOGPIXELSY);
    if (dpi > 0) context.systemDpi = dpi;
  }

  state_->timerWindow.Reset(::CreateWindowExW(0, kTimerClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE,
                                              nullptr, context.instance, nullptr));
  state_->timers.window = state_->timerWindow.Get();
  if (state_->timers.window) {
    ::SetWindowLongPtrW(state_->timers.window, GWLP_USERDATA,
                        reinterpret_cast<LONG_PTR>(&state_->timers));
  }
}

Win32Backend::~Win32Backend() {
  if (state_->timers.window) {
    for (const auto& [id, timer] : state_->timers.timers) ::KillTimer(state_->timers.window, id);
    ::SetWindowLongPtrW(state_->timers.window, GWLP_USERDATA, 0);
  }
  state_->timers.window = nullptr;
}

int Win32Backend::Run() {
  MSG msg{};
  while (!state_->quit && state_->AnyFormLoaded()) {
    const BOOL got = ::GetMessageW(&msg, nullptr, 0, 0);
    if (got == 0) {
      state_->exitCode = static_cast<int>(msg.wParam);
      break;
    }
    if (got < 0) break;
    state_->Pump(msg);
  }
  return state_->exitCode;
}

void Win32Backend::Quit(int exitCode) {
  state_->quit = true;
  state_->exitCode = exitCode;
  ::PostQuitMessage(exitCode);
}

std::unique_ptr<Peer> Win32Backend::CreatePeer(Control& control) {
  return CreateWin32Peer(state_->context, control);
}

std::unique_ptr<TimerPeer> Win32Backend::CreateTimerPeer(Timer& timer) {
  return std::make_unique<Win32TimerPeer>(state_->timers, timer);
}

// The other forms of the program are disabled while the modal one is up, so only it takes
// input; timers and hotkeys keep arriving through the nested loop.
void Win32Backend::RunModal(Form& form) {
  FormPeer* peer = PeerOf(form);
  if (!peer || !peer->Hwnd()) return;
  HWND self = peer->Hwnd();
  HWND previousActive = ::GetActiveWindow();
  std::vector<HWND> disabled;
  for (FormPeer* other : state_->context.forms) {
    HWND h = other->Hwnd();
    if (h && h != self && ::IsWindowEnabled(h)) {
      ::EnableWindow(h, FALSE);
      disabled.push_back(h);
    }
  }
  if (!::IsWindowVisible(self)) ::ShowWindow(self, SW_SHOW);
  ::SetForegroundWindow(self);

  MSG msg{};
  while (form.IsLoaded() && form.Visible() && ::IsWindow(self) && ::IsWindowVisible(self)) {
    const BOOL got = ::GetMessageW(&msg, nullptr, 0, 0);
    if (got == 0) {
      ::PostQuitMessage(static_cast<int>(msg.wParam));  // the outer loop must see it too
      break;
    }
    if (got < 0) break;
    state_->Pump(msg);
  }

  for (HWND h : disabled) {
    if (::IsWindow(h)) ::EnableWindow(h, TRUE);
  }
  if (previousActive && ::IsWindow(previousActive) && ::IsWindowVisible(previousActive)) {
    ::SetActiveWindow(previousActive);
  }
}

MenuItem* Win32Backend::TrackPopupMenu(Form& form, MenuItem& menu, float x, float y) {
  FormPeer* peer = PeerOf(form);
  if (!peer || !peer->Hwnd()) return nullptr;
  std::vector<MenuItem*> items;
  OwnedMenu popup(::CreatePopupMenu());
  if (!popup) return nullptr;
  BuildMenu(popup.Get(), menu, items);
  POINT at{static_cast<LONG>(std::lround(form.ToScreenPixelsX(x))),
           static_cast<LONG>(std::lround(form.ToScreenPixelsY(y)))};
  ::ClientToScreen(peer->Hwnd(), &at);
  // The menu closes properly when the user clicks elsewhere only if its owner is the
  // foreground window, and the message posted afterwards lets the system finish the menu.
  ::SetForegroundWindow(peer->Hwnd());
  const BOOL chosen =
      ::TrackPopupMenu(popup.Get(), TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_LEFTALIGN | TPM_TOPALIGN,
                       at.x, at.y, 0, peer->Hwnd(), nullptr);
  ::PostMessageW(peer->Hwnd(), WM_NULL, 0, 0);
  if (chosen <= 0 || static_cast<size_t>(chosen) > items.size()) return nullptr;
  return items[static_cast<size_t>(chosen) - 1];
}

void Win32Backend::DoEvents() {
  MSG msg{};
  for (int i = 0; i < kDoEventsLimit && ::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE); ++i) {
    if (msg.message == WM_QUIT) {
      ::PostQuitMessage(static_cast<int>(msg.wParam));
      break;
    }
    state_->Pump(msg);
  }
}

int Win32Backend::SystemDpi() const { return state_->context.systemDpi; }

uint32_t Win32Backend::SysColor(int index) const { return ::GetSysColor(index); }

}  // namespace forms::win32
