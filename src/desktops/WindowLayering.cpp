#include "desktops/WindowLayering.h"

#include "desktops/Transparency.h"

namespace vd {

void WindowLayering::ReadOwn(Hwnd hwnd) {
  if (!(static_cast<uint32_t>(ws_.GetWindowLongA(hwnd, GWL_EXSTYLE)) & WS_EX_LAYERED)) {
    own_.erase(hwnd);
    return;
  }
  OwnLayering own;
  own.hasAttributes = ws_.GetLayeredWindowAttributes(hwnd, &own.colorKey, &own.alpha, &own.flags);
  own_[hwnd] = own;
}

void WindowLayering::SetOwn(Hwnd hwnd, const std::optional<OwnLayering>& own) {
  if (own) {
    own_[hwnd] = *own;
  } else {
    own_.erase(hwnd);
  }
}

std::optional<OwnLayering> WindowLayering::Own(Hwnd hwnd) const {
  auto own = own_.find(hwnd);
  if (own == own_.end()) return std::nullopt;
  return own->second;
}

void WindowLayering::MakeOpaque(Hwnd hwnd) {
  // A window that refuses changes was never layered by the program.
  if (const ManagedWindow* w = table_.Find(hwnd); w != nullptr && w->refusesChanges) return;
  auto own = own_.find(hwnd);
  if (own == own_.end()) {
    transparency::ClearWindowAlpha(ws_, hwnd);
    return;
  }
  // The application layered this window itself: give it back its own layering.
  const int32_t exStyle = ws_.GetWindowLongA(hwnd, GWL_EXSTYLE);
  if (!(static_cast<uint32_t>(exStyle) & WS_EX_LAYERED)) {
    ws_.SetWindowLongA(hwnd, GWL_EXSTYLE, static_cast<int32_t>(exStyle | WS_EX_LAYERED));
  }
  if (own->second.hasAttributes) {
    ws_.SetLayeredWindowAttributes(hwnd, own->second.colorKey, own->second.alpha,
                                   own->second.flags);
  }
}

std::vector<std::pair<Hwnd, RecordedTranslucency>> WindowLayering::TranslucentWindows() const {
  std::vector<std::pair<Hwnd, RecordedTranslucency>> windows;
  for (const ManagedWindow& w : table_) {
    if (!w.transparency) continue;
    RecordedTranslucency recorded;
    recorded.alpha = *w.transparency;
    recorded.process = ws_.GetWindowThreadProcessId(w.handle);
    recorded.own = Own(w.handle);
    windows.emplace_back(w.handle, recorded);
  }
  return windows;
}

bool WindowLayering::ReapplyTransparency(Hwnd hwnd) {
  const ManagedWindow* w = table_.Find(hwnd);
  if (w == nullptr || !w->transparency) return false;
  transparency::SetWindowAlpha(ws_, hwnd, *w->transparency);
  return true;
}

}  // namespace vd
