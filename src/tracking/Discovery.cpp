// Which top-level windows the pager manages: the start-up scan, the foreground poll, the
// offer of a window the poll would not take by itself, and the refresh of the table every
// 100 ms (closed windows leave it; the foreground window's row and miniature follow it).
#include <algorithm>
#include <limits>
#include <unordered_set>

#include "core/Program.h"
#include "core/Text.h"
#include "desktops/Transparency.h"
#include "dialogs/AddWindowPrompt.h"
#include "options/OptionsDialog.h"
#include "pager/PagerWindow.h"
#include "pager/PreviewWindow.h"
#include "tracking/ManageRule.h"

namespace vd {

void PagerWindow::GetActiveWindows() {
  // Walk the top-level windows from the top of the Z order. The walk is bounded and never
  // visits a window twice, whatever the window system answers.
  std::unordered_set<Hwnd> seen;
  std::vector<Hwnd> added;
  for (Hwnd w = ws_.GetWindow(hWnd(), GW_HWNDFIRST); w != 0 && seen.insert(w).second;
       w = ws_.GetWindow(w, GW_HWNDNEXT)) {
    if (w == hWnd() || !geometry.HasManagedStyle(w)) continue;
    const std::string caption = geometry.Title(w);
    if (ManagedWindow* managed = Table.Find(w)) {
      managed->title = caption;
      continue;
    }
    if (caption.empty()) continue;
    AddWindow(w, caption, desktops_.Current(), false);
    if (IsManaged(w)) added.push_back(w);
  }
  // The walk went from the top window down and raised each new miniature in turn; stack them
  // again from the bottom window up, so that the miniatures overlap as the windows do.
  // None of them has come forward since: the first to do so gets its miniature raised.
  for (auto it = added.rbegin(); it != added.rend(); ++it) {
    const ManagedWindow* w = Table.Find(*it);
    if (w != nullptr && w->miniature > 0 && miniatures.Exists(w->miniature)) {
      miniatures(w->miniature).ZOrder(0);
    }
    miniatureView_.NotInFront(*it);
  }
}

void PagerWindow::AddWindow(Hwnd hwnd, const std::string& caption, int desktop, bool force) {
  WindowCandidate candidate;
  candidate.exists = hwnd != 0;
  candidate.managed = candidate.exists && IsManaged(hwnd);
  candidate.ownWindow = candidate.exists && !candidate.managed && IsOwnWindow(hwnd);
  candidate.hasCaption = !caption.empty();
  candidate.ignored = ignoreList.Contains(caption);
  candidate.acceptedOffer = force;
  candidate.visibleWithBorder = force || !candidate.exists || geometry.HasManagedStyle(hwnd);
  switch (DecideManagement(candidate)) {
    case ManageVerdict::kTake:
      break;
    case ManageVerdict::kOffer:
      // The user may add it with the offer button.
      offerButton.SetVisible(true);
      statusLabel.SetWidth(std::max(0.0f, offerButton.Left() - 6));
      PendingTitle = caption;
      PendingWindow = hwnd;
      return;
    default:
      return;
  }

  const int32_t v = miniatureView_.NewNumber();
  const int32_t arrival = ++ZOrderCounters[desktops_.Current()];

  const ScaledRect scaled = geometry.Scaled(hwnd);
  ManagedWindow& record = *Table.Add(hwnd);
  record.title = caption;
  record.desktop = desktop;
  record.arrival = arrival;
  record.miniature = v;

  // A window parked wholly left of the screen is brought to its top-left corner.
  if (scaled.left + scaled.width < 0) {
    Rect r = geometry.Bounds(hwnd);
    ws_.MoveWindow(hwnd, 0, 0, r.Width(), r.Height(), true);
  }

  // Remember how the application itself layered the window, so that "opaque" can return to
  // that state instead of breaking how the window is drawn. A window the program made
  // translucent in an earlier run is known from its record: that layering is not its own.
  if (!AdoptRecordedTranslucency(hwnd)) layering_.ReadOwn(hwnd);
  if (desktops_.Animates()) {
    transparency::SetWindowAlpha(ws_, hwnd, 255);
  } else {
    layering_.MakeOpaque(hwnd);
  }
  layering_.ReapplyTransparency(hwnd);  // the transparency a window taken back from the record had

  miniatureView_.Load(v, scaled, desktops_.Current(), caption);

  ++WindowMenuCount;
  if (!windowListEntries.Exists(WindowMenuCount)) windowListEntries.Load(WindowMenuCount);
  forms::MenuItem& entry = windowListEntries(WindowMenuCount);
  entry.SetCaption(caption);
  entry.SetTag(std::to_string(hwnd));
  entry.SetVisible(true);

  // The row and the miniature follow the window now; its first picture is taken 100 ms
  // later, once the new window has painted itself.
  UpdateActiveWindow(hwnd, desktops_.Current(), false);
  miniatureView_.FirstPictureLater(hwnd);
  if (settings_.autoHide) HidePager();
}

void PagerWindow::AddAlertWindow() {
  AddWindow(PendingWindow, PendingTitle, desktops_.Current(), true);
}

// The options' "Clear List": the file goes, the built-in entries stay.
void PagerWindow::ClearIgnoreList() { ignoreList.Clear(); }

void PagerWindow::RefreshWindows() {
  // Which managed windows are gone: those no longer among the top-level windows (closed), read
  // in one call, and those whose caption now reads empty (cleared). Reading every caption ten
  // times a second would cost a round trip to the system per window per tick, so the captions
  // are read in turns, each window's at least every two seconds, and the front window's every
  // tick.
  std::vector<Hwnd> live = ws_.TopLevelWindows();
  std::sort(live.begin(), live.end());
  const Hwnd foreground = ws_.GetForegroundWindow();
  std::vector<Hwnd> gone;
  const std::vector<Hwnd> managed = Table.Handles();
  const int count = static_cast<int>(managed.size());
  for (const Hwnd hwnd : managed) {
    // A window missing from the list is asked once more, so that a list that came back short
    // never makes the program forget (and show) windows that are still there.
    if (!std::binary_search(live.begin(), live.end(), hwnd) && !ws_.IsWindow(hwnd)) {
      gone.push_back(hwnd);
    }
  }
  const int turn = (count + kCaptionTurns - 1) / kCaptionTurns;
  for (int step = 0; step < turn; ++step) {
    captionTurn_ = captionTurn_ % count + 1;
    const Hwnd hwnd = managed[static_cast<size_t>(captionTurn_ - 1)];
    // The caption's length tells whether it reads empty; the text itself is not needed.
    if (hwnd != foreground && ws_.GetWindowTextLengthA(hwnd) == 0) gone.push_back(hwnd);
  }
  const bool foregroundManaged = IsManaged(foreground);
  const std::string foregroundTitle = foregroundManaged ? geometry.Title(foreground) : "";
  if (foregroundManaged && foregroundTitle.empty()) gone.push_back(foreground);
  std::sort(gone.begin(), gone.end());
  gone.erase(std::unique(gone.begin(), gone.end()), gone.end());
  for (Hwnd hwnd : gone) ForgetWindow(hwnd);

  if (IsManaged(foreground) && DesktopOf(foreground) == desktops_.Current()) {
    UpdateActiveWindow(foreground, desktops_.Current(),
                       miniatureView_.DueForFrontWindow(foreground), &foregroundTitle);
    return;
  }
  // The user is on the pager (or on a window the program does not manage): the tick's one
  // capture goes round the shown windows of the current desktop instead, so that their
  // miniatures stay live too.
  miniatureView_.CaptureNextInRound([this](Hwnd candidate) {
    return DesktopOf(candidate) == desktops_.Current() && candidate != MovedWindow &&
           ws_.IsWindowVisible(candidate);
  });
}

void PagerWindow::ForgetWindow(Hwnd hwnd) {
  const ManagedWindow* record = Table.Find(hwnd);
  if (record == nullptr) return;
  const bool translucent = record->transparency.has_value();
  // A window still alive that the program hid (it cleared its caption while on another
  // desktop) is given back before the program forgets it; one that its own application hid
  // stays hidden. Neither keeps a translucency the program gave it.
  if (ws_.IsWindow(hwnd)) {
    const bool hiddenByUs = recoveryRecord_.IsHiddenByProgram(hwnd) && !ws_.IsWindowVisible(hwnd);
    if (hiddenByUs) desktops_.SetShown(hwnd, true);
    if (hiddenByUs || translucent) layering_.MakeOpaque(hwnd);
  }
  DropWindow(hwnd);
}

void PagerWindow::DropWindow(Hwnd hwnd) {
  if (const ManagedWindow* record = Table.Find(hwnd)) {
    // Its miniature and its full-size picture go with it (the number is never used again), so
    // a pager running for weeks does not keep anything of the windows it ever managed.
    if (record->miniature > 0) {
      EndDragWithoutDrop(record->miniature);
      miniatureView_.Unload(record->miniature);
    }
    if (record->transparency) recoveryRecord_.TranslucencyChanged();
  }
  recoveryRecord_.Forget(hwnd);  // the record is rewritten this tick
  Table.Remove(hwnd);
  miniatureView_.Forget(hwnd);
  layering_.Forget(hwnd);
  if (SummonedWindow == hwnd) SummonedWindow = 0;
  hover_.ForgetWindow(hwnd);
  if (MovedWindow == hwnd) MovedWindow = 0;
}

bool PagerWindow::KnowsWindow(Hwnd hwnd) const {
  return IsManaged(hwnd) || miniatureView_.Knows(hwnd) || layering_.Knows(hwnd) ||
         recoveryRecord_.IsHiddenByProgram(hwnd) || SummonedWindow == hwnd;
}

void PagerWindow::SendSummonedWindowBack() {
  const Hwnd summoned = SummonedWindow;
  SummonedWindow = 0;
  const bool elsewhere = IsManaged(summoned) && DesktopOf(summoned) != desktops_.Current();
  if (elsewhere) {
    int alpha = 255;
    transparency::FadeOut(ws_, summoned, alpha, 1);
    desktops_.Hide(summoned);
  }
  if (desktops_.Animates()) {
    transparency::SetWindowAlpha(ws_, summoned, 255);
  } else {
    layering_.MakeOpaque(summoned);
  }
}

void PagerWindow::UpdateActiveWindow(Hwnd hwnd, int desktop, bool capture,
                                     const std::string* title) {
  if (!IsManaged(hwnd) || hwnd == hWnd() || DesktopOf(hwnd) != desktop) return;

  if (!replacingMiniatures_) {
    // A managed window of this desktop came forward: withdraw a pending offer.
    offerButton.SetVisible(false);
    statusLabel.SetWidth(std::max(0.0f, menuButton.Left() - 6));
    offerButton.SetToolTipText("");

    // Another window came to the front: the summoned window goes back where it belongs.
    if (SummonedWindow >= 1 && SummonedWindow != hwnd) SendSummonedWindowBack();

    // Auto-hide: the user turned to another window.
    if (LastActiveWindow == 0) {
      LastActiveWindow = hwnd;
    } else if (LastActiveWindow != hwnd && settings_.autoHide) {
      HidePager();
      LastActiveWindow = 0;
    }
  }

  // Handlers that ran meanwhile (hiding the pager, sending a summoned window back) may have
  // taken the window's record out: it is looked up again.
  ManagedWindow* record = Table.Find(hwnd);
  if (record == nullptr || record->miniature == 0) return;
  record->title = title ? *title : geometry.Title(hwnd);
  // A window the window menu is moving keeps its picture until it is placed.
  miniatureView_.Refresh(hwnd, geometry.Scaled(hwnd), capture && hwnd != MovedWindow);
}

bool PagerWindow::IsOwnWindow(Hwnd hwnd) {
  if (hwnd == 0) return false;
  // The pager, its dialogs, the preview, a message box: every window of the program's own.
  if (hwnd == hWnd()) return true;
  return ws_.GetWindowThreadProcessId(hwnd) == ws_.GetWindowThreadProcessId(hWnd());
}

}  // namespace vd
