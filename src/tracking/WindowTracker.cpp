#include "tracking/WindowTracker.h"

#include <algorithm>
#include <optional>
#include <unordered_set>

#include "desktops/Transparency.h"
#include "tracking/ManageRule.h"

namespace vd {

void WindowTracker::Scan() {
  WindowSystem& ws = p_.ws;
  const Hwnd pager = p_.pagerHandle();
  // Walk the top-level windows from the top of the Z order. The walk is bounded and never
  // visits a window twice, whatever the window system answers.
  std::unordered_set<Hwnd> seen;
  std::vector<Hwnd> added;
  // An owned window lies above its owner: it is looked at once every owner is taken on, so
  // that one whose owner is managed goes with it.
  std::vector<std::pair<Hwnd, std::string>> owned;
  for (Hwnd w = ws.GetWindow(pager, GW_HWNDFIRST); w != 0 && seen.insert(w).second;
       w = ws.GetWindow(w, GW_HWNDNEXT)) {
    if (w == pager || !p_.geometry.HasManagedStyle(w)) continue;
    std::string caption = p_.geometry.Title(w);
    if (ManagedWindow* managed = p_.table.Find(w)) {
      managed->title = caption;
      continue;
    }
    if (caption.empty()) continue;
    if (ws.GetWindow(w, GW_OWNER) != 0) {
      owned.emplace_back(w, std::move(caption));
      continue;
    }
    AddWindow(w, caption, p_.desktops.Current(), false);
    if (p_.table.Contains(w)) added.push_back(w);
  }
  for (const auto& [w, caption] : owned) {
    AddWindow(w, caption, p_.desktops.Current(), false);
    if (p_.table.Contains(w)) added.push_back(w);
  }
  // The walk went from the top window down and raised each new miniature in turn; stack them
  // again from the bottom window up, so that the miniatures overlap as the windows do.
  p_.miniatures.StackFromBottom(added);
}

void WindowTracker::Poll() { TakeOnFront(p_.ws.GetForegroundWindow()); }

void WindowTracker::TakeOnFront(Hwnd foreground) {
  front_ = foreground;
  // Nearly every time a managed window or the pager is in front, which AddWindow would
  // turn away: its caption is not read then.
  if (foreground == 0 || foreground == p_.pagerHandle() || p_.table.Contains(foreground)) return;
  AddWindow(foreground, p_.geometry.Title(foreground), p_.desktops.Current(), false);
}

void WindowTracker::AddWindow(Hwnd hwnd, const std::string& caption, int desktop, bool force) {
  WindowCandidate candidate;
  candidate.exists = hwnd != 0;
  candidate.managed = candidate.exists && p_.table.Contains(hwnd);
  candidate.ownWindow = candidate.exists && !candidate.managed && IsOwnWindow(hwnd);
  candidate.ownerManaged = candidate.exists && !candidate.managed && !candidate.ownWindow &&
                           p_.table.Contains(TopOwner(p_.ws, hwnd));
  candidate.hasCaption = !caption.empty();
  // Asked last, and only of a window that could still be taken: it costs the most.
  candidate.outOfSight = candidate.exists && !candidate.managed && !candidate.ownWindow &&
                         !candidate.ownerManaged && candidate.hasCaption && OutOfSight(hwnd);
  candidate.ignored = p_.ignoreList.Contains(caption);
  candidate.acceptedOffer = force;
  candidate.visibleWithBorder = force || !candidate.exists || p_.geometry.HasManagedStyle(hwnd);
  switch (DecideManagement(candidate)) {
    case ManageVerdict::kTake:
      break;
    case ManageVerdict::kOffer:
      pendingTitle_ = caption;
      pendingWindow_ = hwnd;
      p_.view.OfferWindow();
      return;
    default:
      return;
  }
  WindowSystem& ws = p_.ws;
  const int current = p_.desktops.Current();
  const int32_t v = p_.miniatures.NewNumber();
  const int32_t arrival = ++arrivals_[current];

  const WindowGeometry::ScaledRect scaled = p_.geometry.Scaled(hwnd);
  ManagedWindow& record = *p_.table.Add(hwnd);
  record.title = caption;
  record.desktop = desktop;
  record.arrival = arrival;
  record.miniature = v;
  // A window the system does not let the program change (its application runs as
  // administrator) is never asked to: it stays where the user sees it, on every desktop.
  const bool refuses = ws.RefusesChanges(hwnd);
  record.refusesChanges = record.showAll = refuses;
  const std::string tip = MiniatureTip(record);

  // A window parked wholly left of the screen is brought to its top-left corner.
  if (!refuses && scaled.left + scaled.width < 0) {
    const Rect r = p_.geometry.Bounds(hwnd);
    ws.MoveWindow(hwnd, 0, 0, r.Width(), r.Height(), true);
  }

  // Remember how the application itself layered the window, so that "opaque" can return to
  // that state instead of breaking how the window is drawn. A window the program made
  // translucent in an earlier run is known from its record: that layering is not its own.
  if (!AdoptRecordedTranslucency(hwnd)) p_.layering.ReadOwn(hwnd);
  if (p_.desktops.Animates() && !refuses) {
    transparency::SetWindowAlpha(ws, hwnd, 255);
  } else {
    p_.layering.MakeOpaque(hwnd);
  }
  p_.layering.ReapplyTransparency(hwnd);  // the transparency a window taken back had

  p_.miniatures.Load(v, scaled, current, tip);
  p_.view.WindowTakenOn(hwnd, caption);

  // The row and the miniature follow the window now; its first picture is taken 100 ms
  // later, once the new window has painted itself.
  UpdateActiveWindow(hwnd, current, false);
  p_.miniatures.FirstPictureLater(hwnd);
  if (p_.settings.autoHide) p_.view.HideForAutoHide();
}

void WindowTracker::AddPendingWindow() {
  AddWindow(pendingWindow_, pendingTitle_, p_.desktops.Current(), true);
}

bool WindowTracker::AdoptRecordedTranslucency(Hwnd hwnd) {
  const std::optional<RecordedTranslucency> recorded = p_.record.Adopt(hwnd);
  if (!recorded) return false;
  p_.layering.SetOwn(hwnd, recorded->own);
  if (ManagedWindow* w = p_.table.Find(hwnd)) w->transparency = recorded->alpha;
  return true;
}

void WindowTracker::ReleaseUnclaimedTranslucency() {
  // Opaque again, as its application left it: made so through the managed windows' rule.
  auto makeOpaque = [this](Hwnd hwnd, const std::optional<OwnLayering>& own) {
    p_.layering.SetOwn(hwnd, own);
    p_.layering.MakeOpaque(hwnd);
    p_.layering.Forget(hwnd);
  };
  p_.record.ReleaseUnclaimed([this](Hwnd hwnd) { return p_.table.Contains(hwnd); }, makeOpaque);
}

bool WindowTracker::Concerns(WindowEvent event, Hwnd hwnd) const {
  if (hwnd == 0) return false;
  switch (event) {
    case WindowEvent::kForeground:
    case WindowEvent::kUncloaked:
      return true;
    case WindowEvent::kRenamed:  // a window in front may now be taken on
      return hwnd == front_ || p_.table.Contains(hwnd);
    default:
      return p_.table.Contains(hwnd);
  }
}

void WindowTracker::OnWindowEvent(WindowEvent event, Hwnd hwnd) {
  WindowSystem& ws = p_.ws;
  const int current = p_.desktops.Current();
  switch (event) {
    case WindowEvent::kForeground: {
      front_ = hwnd;
      if (hwnd == p_.pagerHandle()) return;
      if (!p_.table.Contains(hwnd)) {
        AddWindow(hwnd, p_.geometry.Title(hwnd), current, false);
        return;
      }
      // Its copy is taken by the tick while the pager is in view, else when the pager shows
      // again or the program hides the window.
      p_.miniatures.OweCopy(hwnd);
      UpdateActiveWindow(hwnd, current, false);
      return;
    }
    case WindowEvent::kDestroyed:
      if (!ws.IsWindow(hwnd)) ForgetWindow(hwnd);
      return;
    case WindowEvent::kRenamed: {
      if (!p_.table.Contains(hwnd)) {
        Poll();  // the window in front, under its new caption
        return;
      }
      const std::string title = p_.geometry.Title(hwnd);
      if (title.empty()) {
        ForgetWindow(hwnd);
        return;
      }
      FollowWindow(hwnd, false, &title);
      p_.miniatures.OweCopy(hwnd);
      return;
    }
    case WindowEvent::kMoved:
      FollowWindow(hwnd, false, nullptr);
      p_.miniatures.OweCopy(hwnd);
      return;
    case WindowEvent::kCloaked:
      // Out of sight while shown: no longer the program's, forgotten without being shown or
      // hidden. A window the program hid is on none of the system's desktops and stays.
      if (ws.IsWindowVisible(hwnd) && OutOfSight(hwnd)) ForgetWindow(hwnd);
      return;
    case WindowEvent::kUncloaked:
      Scan();  // the windows that came into sight
      return;
  }
}

void WindowTracker::LookFor(bool closed, bool front) {
  WindowSystem& ws = p_.ws;
  if (closed) {
    for (const Hwnd hwnd : ClosedWindows()) ForgetWindow(hwnd);
  }
  if (front) {
    const Hwnd foreground = ws.GetForegroundWindow();
    if (foreground != 0 && foreground != front_)
      OnWindowEvent(WindowEvent::kForeground, foreground);
  }
}

void WindowTracker::Sweep() {
  WindowSystem& ws = p_.ws;
  // Which managed windows are gone: those closed, and those whose caption now reads empty
  // (cleared). The captions are read in turns, so that a sweep costs a round trip to the system
  // for a share of the windows only.
  std::vector<Hwnd> gone = ClosedWindows();
  const Hwnd foreground = ws.GetForegroundWindow();
  front_ = foreground;
  const std::vector<Hwnd> managed = p_.table.Handles();
  const int count = static_cast<int>(managed.size());
  // A shown window that went out of sight (cloaked, or the user moved to another of the
  // system's own desktops) is no longer the program's: it is forgotten without being shown or
  // hidden, and the windows that came into sight with it are taken on. A window the program
  // hid is on none of the system's desktops and stays. Whether a window is out of sight is asked
  // before whether it is shown: where the system has neither cloaks nor desktops of its own,
  // the first answer costs nothing, and the second is a round trip to the system.
  bool leftSight = false;
  const int turns = eventsHeard_ ? kCaptionTurnsHeard : kCaptionTurnsPolled;
  const int turn = (count + turns - 1) / turns;
  for (int step = 0; step < turn; ++step) {
    captionTurn_ = captionTurn_ % count + 1;
    const Hwnd hwnd = managed[static_cast<size_t>(captionTurn_ - 1)];
    if (hwnd == foreground) continue;
    // The caption's length tells whether it reads empty; the text itself is not needed.
    if (ws.GetWindowTextLengthW(hwnd) == 0) {
      gone.push_back(hwnd);
    } else if (OutOfSight(hwnd) && ws.IsWindowVisible(hwnd)) {
      gone.push_back(hwnd);
      leftSight = true;
    }
  }
  const bool foregroundManaged = p_.table.Contains(foreground);
  const std::string foregroundTitle = foregroundManaged ? p_.geometry.Title(foreground) : "";
  if (foregroundManaged && foregroundTitle.empty()) gone.push_back(foreground);
  std::sort(gone.begin(), gone.end());
  gone.erase(std::unique(gone.begin(), gone.end()), gone.end());
  for (Hwnd hwnd : gone) ForgetWindow(hwnd);
  if (leftSight) Scan();
  // The window in front: a new one is taken on, a managed one of this desktop followed.
  if (!foregroundManaged) {
    TakeOnFront(foreground);
  } else if (!foregroundTitle.empty()) {
    UpdateActiveWindow(foreground, p_.desktops.Current(), false, &foregroundTitle);
  }
}

std::vector<Hwnd> WindowTracker::ClosedWindows() {
  WindowSystem& ws = p_.ws;
  // Those no longer among the top-level windows, read in one call. A window missing from the
  // list is asked once more, so that a list that came back short never makes the program forget
  // (and show) windows that are still there.
  std::vector<Hwnd> live = ws.TopLevelWindows();
  std::sort(live.begin(), live.end());
  std::vector<Hwnd> closed;
  for (const Hwnd hwnd : p_.table.Handles()) {
    if (!std::binary_search(live.begin(), live.end(), hwnd) && !ws.IsWindow(hwnd)) {
      closed.push_back(hwnd);
    }
  }
  return closed;
}

void WindowTracker::FollowFrontWindow() {
  const int current = p_.desktops.Current();
  const ManagedWindow* front = p_.table.Find(front_);
  if (front != nullptr && front->desktop == current) {
    // Followed (its caption, place and picture) when its copy is due: an unchanged window is
    // asked nothing between its spaced-out copies. One the compositor draws live is followed
    // each tick, as its thumbnail must stay on its miniature.
    if (p_.miniatures.DueForFrontWindow(front_)) {
      FollowWindow(front_, true, nullptr);
      return;
    }
    if (p_.miniatures.DrawnLive(front_)) FollowWindow(front_, false, nullptr);
  }
  // Else a copy owed to a shown window of the current desktop (it came forward, moved or was
  // renamed since its last copy, perhaps while the pager was away) is taken.
  p_.miniatures.TakeNextOwedCopy([this, current](Hwnd candidate) {
    const ManagedWindow* w = p_.table.Find(candidate);
    return w != nullptr && w->desktop == current && candidate != moved_ &&
           p_.ws.IsWindowVisible(candidate);
  });
}

void WindowTracker::ForgetWindow(Hwnd hwnd) {
  const ManagedWindow* record = p_.table.Find(hwnd);
  if (record == nullptr) return;
  WindowSystem& ws = p_.ws;
  const bool translucent = record->transparency.has_value();
  // A window still alive that the program hid (it cleared its caption while on another
  // desktop) is given back before the program forgets it, without coming to the front; one
  // that its own application hid stays hidden. Neither keeps a translucency the program gave it.
  if (ws.IsWindow(hwnd)) {
    const bool hiddenByUs = p_.record.IsHiddenByProgram(hwnd) && !ws.IsWindowVisible(hwnd);
    if (hiddenByUs) p_.desktops.GiveBack(hwnd);
    if (hiddenByUs || translucent) p_.layering.MakeOpaque(hwnd);
  }
  DropWindow(hwnd);
}

void WindowTracker::DropWindow(Hwnd hwnd) {
  if (const ManagedWindow* record = p_.table.Find(hwnd)) {
    const int32_t miniature = record->miniature;
    const bool translucent = record->transparency.has_value();
    p_.view.WindowLeaving(hwnd, miniature);
    // Its miniature and its full-size picture go with it (the number is never used again), so
    // a pager running for weeks does not keep anything of the windows it ever managed.
    if (miniature > 0) p_.miniatures.Unload(miniature);
    if (translucent) p_.record.TranslucencyChanged();
  }
  p_.record.Forget(hwnd);  // the record is rewritten this tick
  p_.desktops.ShowOwnedWindows(hwnd);
  p_.table.Remove(hwnd);
  p_.miniatures.Forget(hwnd);
  p_.layering.Forget(hwnd);
  if (summoned_ == hwnd) summoned_ = 0;
  if (moved_ == hwnd) moved_ = 0;
}

bool WindowTracker::KnowsWindow(Hwnd hwnd) const {
  return p_.table.Contains(hwnd) || p_.miniatures.Knows(hwnd) || p_.layering.Knows(hwnd) ||
         p_.record.IsHiddenByProgram(hwnd) || p_.desktops.KeepsOwnedWindowsOf(hwnd) ||
         summoned_ == hwnd;
}

void WindowTracker::Summon(Hwnd hwnd) {
  if (!p_.table.Contains(hwnd)) return;
  // Only one window is summoned at a time: the one summoned before goes back to its desktop.
  if (summoned_ >= 1 && summoned_ != hwnd) SendSummonedWindowBack();
  summoned_ = hwnd;
  transparency::FadeIn(p_.ws, hwnd, 255, 1);
  p_.desktops.ShowOwnedWindows(hwnd);
  if (p_.settings.autoHide) p_.view.HideForAutoHide();
}

void WindowTracker::SendSummonedWindowBack() {
  const Hwnd summoned = summoned_;
  summoned_ = 0;
  const ManagedWindow* w = p_.table.Find(summoned);
  if (w != nullptr && w->desktop != p_.desktops.Current()) {
    int alpha = 255;
    transparency::FadeOut(p_.ws, summoned, alpha, 1);
    p_.desktops.Hide(summoned);
  }
  if (p_.desktops.Animates()) {
    transparency::SetWindowAlpha(p_.ws, summoned, 255);
  } else {
    p_.layering.MakeOpaque(summoned);
  }
}

void WindowTracker::UpdateActiveWindow(Hwnd hwnd, int desktop, bool capture,
                                       const std::string* title) {
  const ManagedWindow* w = p_.table.Find(hwnd);
  if (w == nullptr || hwnd == p_.pagerHandle() || w->desktop != desktop) return;
  // A managed window of this desktop came forward: withdraw a pending offer.
  p_.view.WithdrawOffer();
  // Another window came to the front: the summoned window goes back where it belongs.
  if (summoned_ >= 1 && summoned_ != hwnd) SendSummonedWindowBack();
  // Auto-hide: the user turned to another window.
  // Opening this desktop again gives this window the focus back.
  p_.desktops.NoteFocus(desktop, hwnd);
  // Each window that comes forward becomes the last one at once, so that the next turn to
  // another window hides the pager again, however soon it comes.
  const bool turned = lastActive_ != 0 && lastActive_ != hwnd;
  lastActive_ = hwnd;
  if (turned && p_.settings.autoHide) p_.view.HideForAutoHide();
  // Handlers that ran meanwhile (hiding the pager, sending a summoned window back) may have
  // taken the window's record out: it is looked up again.
  FollowWindow(hwnd, capture, title);
}

void WindowTracker::RefreshQuietly(const std::vector<Hwnd>& windows, bool capture) {
  for (const Hwnd hwnd : windows) {
    if (hwnd != p_.pagerHandle()) FollowWindow(hwnd, capture, nullptr);
  }
}

void WindowTracker::FollowWindow(Hwnd hwnd, bool capture, const std::string* title) {
  ManagedWindow* record = p_.table.Find(hwnd);
  if (record == nullptr || record->miniature == 0) return;
  record->title = title != nullptr ? *title : p_.geometry.Title(hwnd);
  // A window the window menu moved keeps its picture until it is placed.
  p_.miniatures.Refresh(hwnd, p_.geometry.Scaled(hwnd), capture && hwnd != moved_);
}

bool WindowTracker::OutOfSight(Hwnd hwnd) const {
  return p_.ws.IsWindowCloaked(hwnd) || !p_.ws.IsOnCurrentSystemDesktop(hwnd);
}

bool WindowTracker::IsOwnWindow(Hwnd hwnd) const {
  if (hwnd == 0) return false;
  const Hwnd pager = p_.pagerHandle();
  if (hwnd == pager) return true;
  return p_.ws.GetWindowThreadProcessId(hwnd) == p_.ws.GetWindowThreadProcessId(pager);
}

}  // namespace vd
