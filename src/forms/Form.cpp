#include "forms/Form.h"

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "forms/Menu.h"

namespace forms {

namespace {
constexpr uint32_t kWmClose = 0x0010;
constexpr uint32_t kWmQueryEndSession = 0x0011;
}  // namespace

Form::Form(Backend& backend, std::string name)
    : Container(backend, nullptr, ControlKind::kForm, std::move(name), ScaleMode::kTwips),
      dpi_(std::max(1, backend.SystemDpi())) {
  SetVisible(false);  // a form appears when it is shown
  proc_ = [this](uint32_t msg, uintptr_t wParam, intptr_t lParam) {
    return DefaultWindowProc(msg, wParam, lParam);
  };
  Realize();
}

Form::~Form() = default;

void Form::SetCaption(std::string caption) {
  caption_ = std::move(caption);
  Changed(Property::kText);
}

void Form::SetShowInTaskbar(bool v) {
  showInTaskbar_ = v;
  Changed(Property::kStyle);
}

bool Form::IsShown() const {
  if (const Peer* peer = GetPeer()) return peer->IsShown();
  return loaded_ && Visible();
}

void Form::Load() {
  if (loaded_) return;
  loaded_ = true;
  if (auto handler = LoadEvent) handler();
  // A Visible set before the form was loaded takes effect now.
  Changed(Property::kVisible);
}

// Showing a form activates it, so its Activate event runs on every Show.
void Form::Show() {
  Load();
  if (!loaded_) return;  // the Load event unloaded it again
  SetVisible(true);
  if (auto handler = Activate) handler();
}

void Form::ShowModal() {
  Load();
  if (!loaded_) return;
  modal_ = true;
  SetVisible(true);
  if (auto handler = Activate) handler();
  if (loaded_ && Visible()) GetBackend().RunModal(*this);
  modal_ = false;
}

void Form::Hide() { SetVisible(false); }

void Form::Unload() {
  if (!loaded_) return;
  if (auto handler = UnloadEvent) handler();
  SetVisible(false);
  loaded_ = false;
}

float Form::ScaleWidth() const { return FromScreenPixelsX(Width() / TwipsPerScreenPixel()); }

float Form::ScaleHeight() const { return FromScreenPixelsY(Height() / TwipsPerScreenPixel()); }

void Form::ChangeDpi(int dpi, int left, int top) {
  if (dpi <= 0) return;
  dpi_ = dpi;
  // Placed without telling the peer: ScaleChanged below applies place and size at once.
  left_ = static_cast<float>(left) * TwipsPerScreenPixel();
  top_ = static_cast<float>(top) * TwipsPerScreenPixel();
  ScaleChanged();
  if (auto handler = DpiChanged) handler();
}

namespace {

// An entry as the user saw it when the popup menu opened.
struct ShownEntry {
  MenuItem* item;
  std::weak_ptr<const void> lifetime;
  std::string name;
  int index;
  std::string caption, tag;

  bool Matches(const MenuItem& entry) const {
    return entry.Name() == name && entry.Index() == index && entry.Caption() == caption &&
           entry.Tag() == tag;
  }
};

void NoteShownEntries(MenuItem& menu, std::vector<ShownEntry>& shown) {
  for (MenuItem* child : menu.Children()) {
    shown.push_back(
        {child, child->Lifetime(), child->Name(), child->Index(), child->Caption(), child->Tag()});
    NoteShownEntries(*child, shown);
  }
}

MenuItem* FindEntry(MenuItem& menu, const ShownEntry& shown) {
  for (MenuItem* child : menu.Children()) {
    if (shown.Matches(*child)) return child;
    if (MenuItem* found = FindEntry(*child, shown)) return found;
  }
  return nullptr;
}

}  // namespace

// Timers and hotkeys keep running while a popup menu is open, and may rebuild its entries: the
// entry the backend hands back is then destroyed, or stands for something else. The pick acts
// on an entry that is the same as the one the user saw (the one picked, or its rebuilt twin),
// or does nothing; a destroyed entry is never touched.
void Form::PopupMenu(MenuItem& menu, float x, float y) {
  std::vector<ShownEntry> shown;
  NoteShownEntries(menu, shown);
  MenuItem* chosen = GetBackend().TrackPopupMenu(*this, menu, x, y);
  if (chosen == nullptr) return;
  auto picked = std::find_if(shown.begin(), shown.end(),
                             [chosen](const ShownEntry& entry) { return entry.item == chosen; });
  if (picked == shown.end()) return;
  MenuItem* target =
      !picked->lifetime.expired() && picked->Matches(*chosen) ? chosen : FindEntry(menu, *picked);
  if (target != nullptr) target->RaiseClick();
}

WindowProc Form::SetWindowProc(WindowProc proc) {
  WindowProc previous = std::move(proc_);
  proc_ = std::move(proc);
  return previous;
}

intptr_t Form::Dispatch(uint32_t msg, uintptr_t wParam, intptr_t lParam) {
  // A copy: the procedure may replace itself while it runs.
  if (WindowProc proc = proc_) return proc(msg, wParam, lParam);
  return DefaultWindowProc(msg, wParam, lParam);
}

intptr_t Form::DefaultWindowProc(uint32_t msg, uintptr_t wParam, intptr_t lParam) {
  if (msg == kWmClose || msg == kWmQueryEndSession) {
    const UnloadMode mode =
        msg == kWmClose ? UnloadMode::kFormControlMenu : UnloadMode::kAppWindows;
    bool cancel = false;
    if (auto handler = QueryUnload) handler(mode, cancel);
    if (!cancel) Unload();
    // The session may end unless a form refused; a closed form is never destroyed here.
    return msg == kWmQueryEndSession ? (cancel ? 0 : 1) : 0;
  }
  if (Peer* peer = GetPeer()) return peer->DefaultProcedure(msg, wParam, lParam);
  return 0;
}

}  // namespace forms
