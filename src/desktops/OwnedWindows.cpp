#include "desktops/OwnedWindows.h"

#include <algorithm>

namespace vd {

namespace {
// Chains of owners are short; a longer one (or a loop a broken answer could make) stops here.
constexpr int kLongestOwnerChain = 32;
}  // namespace

Hwnd TopOwner(WindowSystem& ws, Hwnd hwnd) {
  Hwnd top = hwnd;
  for (int step = 0; step < kLongestOwnerChain; ++step) {
    const Hwnd owner = ws.GetWindow(top, GW_OWNER);
    if (owner == 0 || owner == hwnd) break;
    top = owner;
  }
  return top;
}

void OwnedWindows::ReleaseSurvey() {
  held_ = false;
  surveyed_ = false;
  shownByOwner_.clear();
}

void OwnedWindows::Survey() {
  shownByOwner_.clear();
  for (const Hwnd hwnd : ws_.TopLevelWindows()) {
    if (table_.Contains(hwnd)) continue;
    const Hwnd owner = ws_.GetWindow(hwnd, GW_OWNER);
    if (owner == 0 || !ws_.IsWindowVisible(hwnd)) continue;
    shownByOwner_[TopOwner(ws_, owner)].push_back(hwnd);
  }
  surveyed_ = true;
}

std::vector<Hwnd> OwnedWindows::ShownOwnedBy(Hwnd owner) {
  if (!held_ || !surveyed_) Survey();
  const auto it = shownByOwner_.find(owner);
  std::vector<Hwnd> shown = it == shownByOwner_.end() ? std::vector<Hwnd>{} : it->second;
  if (!held_) ReleaseSurvey();
  return shown;
}

void OwnedWindows::HiddenWith(Hwnd owner, const std::vector<Hwnd>& owned) {
  if (owned.empty()) return;
  std::vector<Hwnd>& kept = hiddenWith_[owner];
  for (const Hwnd hwnd : owned) {
    if (std::find(kept.begin(), kept.end(), hwnd) == kept.end()) kept.push_back(hwnd);
  }
}

std::vector<Hwnd> OwnedWindows::TakeHiddenWith(Hwnd owner) {
  const auto it = hiddenWith_.find(owner);
  if (it == hiddenWith_.end()) return {};
  std::vector<Hwnd> owned = std::move(it->second);
  hiddenWith_.erase(it);
  return owned;
}

}  // namespace vd
