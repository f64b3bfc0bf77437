#include "forms/headless/HeadlessBackend.h"

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "forms/Controls.h"
#include "forms/Form.h"
#include "forms/Menu.h"
#include "forms/Timer.h"
#include "platform/fake/FakeWindowSystem.h"

namespace forms::headless {

namespace {

using vd::Hwnd;
using vd::Rect;

// Without a desktop, handles are made up; they never collide with the desktop's own.
constexpr int32_t kFirstMadeUpHandle = 0x00700010;
constexpr uint32_t kWsDisabled = 0x08000000;
constexpr uint32_t kNoMoveNoSize = vd::SWP_NOMOVE | vd::SWP_NOSIZE | vd::SWP_NOACTIVATE;

class HeadlessTimerPeer;

// What the backend and its peers share: the clock, the timers, the desktop.
struct Engine {
  vd::fake::FakeWindowSystem* desktop = nullptr;
  int systemDpi = 96;
  uint64_t ownClock = 0;
  int32_t nextHandle = kFirstMadeUpHandle;
  uint64_t nextTimerSerial = 0;
  std::vector<HeadlessTimerPeer*> timers;  // in creation order
  const Control* focus = nullptr;

  uint64_t Now() const { return desktop ? desktop->VirtualTimeMs() : ownClock; }

  void MoveClockTo(uint64_t time) {
    const uint64_t now = Now();
    if (time <= now) return;
    if (desktop) {
      desktop->AdvanceTime(static_cast<uint32_t>(time - now));
    } else {
      ownClock = time;
    }
  }

  HeadlessTimerPeer* NextDue(uint64_t limit) const;
  void Fire(HeadlessTimerPeer& peer);
};

class HeadlessTimerPeer : public TimerPeer {
 public:
  HeadlessTimerPeer(Engine& engine, Timer& timer)
      : engine_(engine), timer_(timer), serial_(engine.nextTimerSerial++) {
    engine_.timers.push_back(this);
  }
  ~HeadlessTimerPeer() override { std::erase(engine_.timers, this); }

  // Counting starts again from now: the first tick comes one interval later.
  void Changed() override {
    active_ = timer_.Running();
    if (active_) due_ = engine_.Now() + timer_.Interval();
  }

  bool Active() const { return active_; }
  uint64_t Due() const { return due_; }
  uint64_t Serial() const { return serial_; }
  Timer& GetTimer() { return timer_; }
  void SetDue(uint64_t due) { due_ = due; }

 private:
  Engine& engine_;
  Timer& timer_;
  uint64_t serial_;
  bool active_ = false;
  uint64_t due_ = 0;
};

// The earliest due timer at or before limit; of timers due together, the older one.
HeadlessTimerPeer* Engine::NextDue(uint64_t limit) const {
  HeadlessTimerPeer* best = nullptr;
  for (HeadlessTimerPeer* t : timers) {
    if (!t->Active() || t->Due() > limit) continue;
    if (!best || t->Due() < best->Due() ||
        (t->Due() == best->Due() && t->Serial() < best->Serial())) {
      best = t;
    }
  }
  return best;
}

// A tick that was due while the clock jumped (a Sleep) comes once, late, as the system's
// timers coalesce; the next one follows a full interval after it.
void Engine::Fire(HeadlessTimerPeer& peer) {
  MoveClockTo(peer.Due());
  peer.SetDue(Now() + peer.GetTimer().Interval());
  peer.GetTimer().RaiseTick();  // may disable, re-enable or destroy the timer
}

int Round(float v) { return static_cast<int>(std::lround(v)); }

std::string CaptionOf(Control& c) {
  switch (c.Kind()) {
    case ControlKind::kForm:
      return static_cast<Form&>(c).Caption();
    case ControlKind::kLabel:
      return static_cast<Label&>(c).Caption();
    case ControlKind::kFrame:
      return static_cast<Frame&>(c).Caption();
    case ControlKind::kButton:
      return static_cast<Button&>(c).Caption();
    case ControlKind::kCheckBox:
      return static_cast<CheckBox&>(c).Caption();
    case ControlKind::kComboBox:
      return static_cast<ComboBox&>(c).Text();
    case ControlKind::kTextBox:
      return static_cast<TextBox&>(c).Text();
    default:
      return {};
  }
}

// Where the control's window stands: a form on the screen (twips to pixels), a child relative
// to its container's window (inside the container's border).
Rect PixelRect(Control& c) {
  if (c.Kind() == ControlKind::kForm) {
    const float tpp = static_cast<Form&>(c).TwipsPerScreenPixel();
    const int x = Round(c.Left() / tpp), y = Round(c.Top() / tpp);
    return Rect{x, y, x + Round(c.Width() / tpp), y + Round(c.Height() / tpp)};
  }
  Container& parent = *c.Parent();
  int offset = 0;
  if (parent.Kind() == ControlKind::kPictureBox && static_cast<PictureBox&>(parent).BorderStyle()) {
    offset = 1;
  }
  const int x = Round(parent.ToScreenPixelsX(c.Left())) + offset;
  const int y = Round(parent.ToScreenPixelsY(c.Top())) + offset;
  return Rect{x, y, x + Round(parent.ToScreenPixelsX(c.Width())),
              y + Round(parent.ToScreenPixelsY(c.Height()))};
}

class HeadlessPeer : public Peer {
 public:
  HeadlessPeer(Engine& engine, Control& control)
      : engine_(engine), control_(control), kind_(control.Kind()) {
    if (kind_ == ControlKind::kShape) return;  // drawn by its container, no window
    if (!engine_.desktop) {
      handle_ = engine_.nextHandle;
      engine_.nextHandle += 2;
      return;
    }
    vd::fake::WindowTraits desc;
    desc.process = vd::fake::FakeWindowSystem::kProgramProcess;
    desc.caption = caption_ = CaptionOf(control_);
    desc.rect = rect_ = PixelRect(control_);
    shown_ = WantShown();
    if (kind_ == ControlKind::kForm) {
      taskbar_ = static_cast<Form&>(control_).ShowInTaskbar();
      desc.style = vd::WS_POPUP | (shown_ ? vd::WS_VISIBLE : 0);
      desc.exStyle = taskbar_ ? 0 : vd::WS_EX_TOOLWINDOW;
    } else {
      desc.parent = control_.Parent()->hWnd();
      desc.style = vd::WS_CHILD | (shown_ ? vd::WS_VISIBLE : 0);
    }
    handle_ = engine_.desktop->CreateWindow(desc);
    if (kind_ == ControlKind::kForm) {
      Form* form = &static_cast<Form&>(control_);
      engine_.desktop->SetMessageSink(handle_, [form](uint32_t msg, uintptr_t w, intptr_t l) {
        return form->Dispatch(msg, w, l);
      });
    }
  }

  ~HeadlessPeer() override {
    if (engine_.focus == &control_) engine_.focus = nullptr;
    if (engine_.desktop && handle_ != 0) engine_.desktop->DestroyWindow(handle_);
  }

  void Changed(Property property) override {
    if (!engine_.desktop || handle_ == 0) return;
    vd::fake::FakeWindowSystem& desktop = *engine_.desktop;
    switch (property) {
      case Property::kGeometry: {
        const Rect rect = PixelRect(control_);
        if (rect == rect_) break;
        rect_ = rect;
        desktop.MoveWindow(handle_, rect.left, rect.top, rect.Width(), rect.Height(), true);
        break;
      }
      case Property::kVisible: {
        const bool want = WantShown();
        // A form may have been hidden through the window system behind the toolkit's back.
        const bool is = kind_ == ControlKind::kForm ? desktop.IsWindowVisible(handle_) : shown_;
        shown_ = want;
        const bool activates =
            kind_ != ControlKind::kForm || static_cast<Form&>(control_).ActivatesWhenShown();
        constexpr int kShowWithoutActivating = 8;
        if (want != is) {
          desktop.ShowWindow(
              handle_, want ? (activates ? vd::SW_SHOW : kShowWithoutActivating) : vd::SW_HIDE);
        }
        break;
      }
      case Property::kEnabled: {
        if (control_.Enabled() == enabled_) break;
        enabled_ = control_.Enabled();
        const auto style = static_cast<uint32_t>(desktop.GetWindowLongA(handle_, vd::GWL_STYLE));
        const uint32_t next = enabled_ ? (style & ~kWsDisabled) : (style | kWsDisabled);
        desktop.SetWindowLongA(handle_, vd::GWL_STYLE, static_cast<int32_t>(next));
        break;
      }
      case Property::kText:
      case Property::kListIndex:
      case Property::kItems: {
        std::string caption = CaptionOf(control_);
        if (caption == caption_) break;
        caption_ = std::move(caption);
        desktop.SetCaption(handle_, caption_);
        break;
      }
      case Property::kZOrder:
        desktop.SetWindowPos(handle_, InsertAfter(), 0, 0, 0, 0, kNoMoveNoSize);
        break;
      case Property::kStyle:
        if (kind_ == ControlKind::kForm) {
          const bool taskbar = static_cast<Form&>(control_).ShowInTaskbar();
          if (taskbar == taskbar_) break;
          taskbar_ = taskbar;
          const auto ex = static_cast<uint32_t>(desktop.GetWindowLongA(handle_, vd::GWL_EXSTYLE));
          const uint32_t next =
              taskbar ? (ex & ~vd::WS_EX_TOOLWINDOW) : (ex | vd::WS_EX_TOOLWINDOW);
          desktop.SetWindowLongA(handle_, vd::GWL_EXSTYLE, static_cast<int32_t>(next));
        } else if (kind_ == ControlKind::kPictureBox) {
          // A border moves the client area, and the children with it.
          for (Control* child : static_cast<Container&>(control_).Children()) {
            if (Peer* peer = child->GetPeer()) peer->Changed(Property::kGeometry);
          }
        }
        break;
      default:
        break;
    }
  }

  void Refresh() override {}

  int32_t Handle() const override { return handle_; }

  bool IsShown() const override {
    if (engine_.desktop && handle_ != 0) return engine_.desktop->IsWindowVisible(handle_);
    if (kind_ == ControlKind::kForm) {
      const auto& form = static_cast<const Form&>(control_);
      return form.IsLoaded() && form.Visible();
    }
    const Peer* parent = control_.Parent()->GetPeer();
    return control_.Visible() && parent && parent->IsShown();
  }

  // Focus moves to the control; a text field runs its GotFocus when it did not have it.
  void SetFocus() override {
    if (engine_.focus == &control_) return;
    engine_.focus = &control_;
    if (kind_ == ControlKind::kTextBox) static_cast<TextBox&>(control_).RaiseGotFocus();
  }

 private:
  bool WantShown() const {
    if (kind_ == ControlKind::kForm) {
      const auto& form = static_cast<const Form&>(control_);
      return form.IsLoaded() && form.Visible();
    }
    return control_.Visible();
  }

  // Front of the container: top of the sibling windows; back: the bottom; elsewhere right
  // under the nearest windowed sibling in front of it.
  Hwnd InsertAfter() const {
    if (kind_ == ControlKind::kForm) return vd::HWND_TOP;
    const std::vector<Control*>& siblings = control_.Parent()->Children();
    auto self = std::find(siblings.begin(), siblings.end(), &control_);
    if (self == siblings.begin() || self == siblings.end()) return vd::HWND_TOP;
    if (self + 1 == siblings.end()) return vd::HWND_BOTTOM;
    for (auto it = self; it != siblings.begin();) {
      --it;
      if (Hwnd h = (*it)->hWnd(); h != 0) return h;
    }
    return vd::HWND_TOP;
  }

  Engine& engine_;
  Control& control_;
  ControlKind kind_;
  int32_t handle_ = 0;
  Rect rect_;
  bool shown_ = false;
  bool enabled_ = true;
  bool taskbar_ = false;
  std::string caption_;
};

}  // namespace

struct HeadlessBackend::State {
  Engine engine;
};

HeadlessBackend::HeadlessBackend(vd::fake::FakeWindowSystem* desktop, int systemDpi)
    : state_(std::make_unique<State>()) {
  state_->engine.desktop = desktop;
  state_->engine.systemDpi = systemDpi > 0 ? systemDpi : 96;
}

HeadlessBackend::~HeadlessBackend() = default;

void HeadlessBackend::Advance(unsigned ms) {
  Engine& engine = state_->engine;
  const uint64_t target = engine.Now() + ms;
  // Ticks due after the target (the clock may have jumped past it in a handler's Sleep) wait
  // for the next Advance.
  while (HeadlessTimerPeer* next = engine.NextDue(target)) engine.Fire(*next);
  engine.MoveClockTo(target);
}

unsigned HeadlessBackend::Now() const { return static_cast<unsigned>(state_->engine.Now()); }

std::unique_ptr<Peer> HeadlessBackend::CreatePeer(Control& control) {
  return std::make_unique<HeadlessPeer>(state_->engine, control);
}

std::unique_ptr<TimerPeer> HeadlessBackend::CreateTimerPeer(Timer& timer) {
  return std::make_unique<HeadlessTimerPeer>(state_->engine, timer);
}

void HeadlessBackend::RunModal(Form& form) {
  if (auto handler = onModal) handler(form);
  if (form.IsLoaded() && form.Visible()) form.Hide();
}

MenuItem* HeadlessBackend::TrackPopupMenu(Form& form, MenuItem& menu, float x, float y) {
  if (auto handler = onPopup) return handler(form, menu, x, y);
  return nullptr;
}

// The ticks already due run once each, in time order; the clock stands still.
void HeadlessBackend::DoEvents() {
  Engine& engine = state_->engine;
  const uint64_t now = engine.Now();
  std::vector<HeadlessTimerPeer*> due;
  for (HeadlessTimerPeer* t : engine.timers) {
    if (t->Active() && t->Due() <= now) due.push_back(t);
  }
  std::sort(due.begin(), due.end(), [](HeadlessTimerPeer* a, HeadlessTimerPeer* b) {
    return a->Due() != b->Due() ? a->Due() < b->Due() : a->Serial() < b->Serial();
  });
  for (HeadlessTimerPeer* t : due) {
    // An earlier handler may have stopped or destroyed this timer.
    if (std::find(engine.timers.begin(), engine.timers.end(), t) == engine.timers.end()) continue;
    if (t->Active() && t->Due() <= now) engine.Fire(*t);
  }
}

int HeadlessBackend::SystemDpi() const { return state_->engine.systemDpi; }

void HeadlessBackend::MoveToScale(Form& form, int dpi) {
  // The form keeps its top-left corner on the screen, as when the system moves it.
  const float tpp = form.TwipsPerScreenPixel();
  form.ChangeDpi(dpi, Round(form.Left() / tpp), Round(form.Top() / tpp));
}

}  // namespace forms::headless
