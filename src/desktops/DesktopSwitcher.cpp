#include "desktops/DesktopSwitcher.h"

#include <vector>

#include "core/Text.h"
#include "desktops/Transparency.h"

namespace vd {

namespace {
// How long a hidden window is given to show it answers before it is hidden.
constexpr uint32_t kAnswerWaitMs = 50;
}  // namespace

void DesktopSwitcher::SwitchTo(int desktop) {
  MoveOut();
  Open(desktop);
}

void DesktopSwitcher::Open(int desktop) {
  if (desktop < 1 || desktop > count_) return;
  WindowSystem& ws = p_.ws;
  const Hwnd pager = p_.pagerHandle();
  const Hwnd foregroundBefore = ws.GetForegroundWindow();
  // The window the user leaves in front is the one to come back to.
  if (const ManagedWindow* front = p_.table.Find(foregroundBefore);
      front != nullptr && (front->desktop == current_ || front->showAll)) {
    focus_[current_] = foregroundBefore;
  }
  p_.record.BeginBatch();
  p_.view.SwitchBegins(current_, desktop);
  current_ = desktop;
  // The windows of the other desktops hide side by side, not one after the other.
  ws.BeginShowBatch();
  owned_.HoldSurvey();
  for (Hwnd hwnd : p_.table.Handles()) {
    const ManagedWindow* w = p_.table.Find(hwnd);
    if (hwnd == pager || w == nullptr) continue;
    if (!w->showAll && w->desktop != desktop) Hide(hwnd);
  }
  owned_.ReleaseSurvey();
  // Without slides this desktop's windows are asked to show right after, in the same batch,
  // and one wait covers them all; slides start from windows that are hidden.
  if (animate_) ws.EndShowBatch();
  ShowDesktop(desktop);
  p_.record.EndBatch();
  FocusDesktop(desktop, foregroundBefore);
}

Hwnd DesktopSwitcher::FocusOf(int desktop) {
  const auto noted = focus_.find(desktop);
  if (noted == focus_.end()) return 0;
  const ManagedWindow* w = p_.table.Find(noted->second);
  if (w == nullptr || (w->desktop != desktop && !w->showAll) ||
      !p_.ws.IsWindowVisible(noted->second)) {
    return 0;
  }
  return noted->second;
}

void DesktopSwitcher::FocusDesktop(int desktop, Hwnd foregroundBefore) {
  WindowSystem& ws = p_.ws;
  // A window shown on every desktop that was in front stays there: it never left the screen.
  if (const ManagedWindow* front = p_.table.Find(foregroundBefore);
      front != nullptr && front->showAll && ws.IsWindowVisible(foregroundBefore)) {
    return;
  }
  Hwnd target = FocusOf(desktop);
  if (target == 0) target = TopShownWindow();
  if (target != 0) {
    if (ws.GetForegroundWindow() != target) ws.SetForegroundWindow(target);
    return;
  }
  KeepFocusVisible(foregroundBefore);  // a desktop without windows: the pager, when need be
}

Hwnd DesktopSwitcher::TopShownWindow() {
  WindowSystem& ws = p_.ws;
  const Hwnd pager = p_.pagerHandle();
  int guard = 0;
  for (Hwnd w = ws.GetWindow(pager, GW_HWNDFIRST); w != 0 && guard < 100000;
       w = ws.GetWindow(w, GW_HWNDNEXT), ++guard) {
    const ManagedWindow* managed = p_.table.Find(w);
    if (w == pager || managed == nullptr) continue;
    if ((managed->showAll || managed->desktop == current_) && ws.IsWindowVisible(w)) return w;
  }
  return 0;
}

void DesktopSwitcher::KeepFocusVisible(Hwnd foregroundBefore) {
  WindowSystem& ws = p_.ws;
  if (!p_.table.Contains(foregroundBefore) || ws.IsWindowVisible(foregroundBefore)) return;
  const Hwnd top = TopShownWindow();
  ws.SetForegroundWindow(top != 0 ? top : p_.pagerHandle());
}

void DesktopSwitcher::ShowDesktop(int desktop) {
  WindowSystem& ws = p_.ws;
  p_.view.DesktopShowing(desktop);
  // Without slides the windows show side by side; their transparency is set once they are
  // shown (a window made layered while hidden may not be drawn when it shows).
  const bool together = !animate_;
  std::vector<Hwnd> shown;
  if (together) ws.BeginShowBatch();
  for (Hwnd hwnd : p_.table.Handles()) {
    // Read before anything is shown: showing a window answers sent messages, whose handlers
    // may take records out of the table (a window that closes meanwhile is skipped).
    ManagedWindow* w = p_.table.Find(hwnd);
    if (w == nullptr) continue;
    const bool showAll = w->showAll;
    if (w->desktop == desktop) {
      if (animate_ && !showAll) {
        // The window slides in to its own left edge, read from the window itself.
        MoveIn(hwnd, p_.geometry.Bounds(hwnd).left);
      } else {
        ApplyShow(hwnd, SW_SHOWNA);
        if (!showAll) shown.push_back(hwnd);
      }
    }
    if (showAll) {
      if (ManagedWindow* record = p_.table.Find(hwnd)) record->desktop = desktop;
      p_.view.FollowedToDesktop(hwnd);
      ApplyShow(hwnd, SW_SHOWNA);
      shown.push_back(hwnd);
    }
  }
  if (together) ws.EndShowBatch();
  for (Hwnd hwnd : shown) {
    const ManagedWindow* w = p_.table.Find(hwnd);
    if (w == nullptr) continue;
    if (w->showAll) {
      if (!p_.layering.ReapplyTransparency(hwnd)) p_.layering.MakeOpaque(hwnd);
    } else if (w->transparency) {
      transparency::SetWindowAlpha(ws, hwnd, *w->transparency);
    }
  }
  p_.view.DesktopShown(desktop);
}

void DesktopSwitcher::MoveOut() {
  if (!animate_) return;
  WindowSystem& ws = p_.ws;
  for (Hwnd hwnd : p_.table.Handles()) {
    const ManagedWindow* w = p_.table.Find(hwnd);
    if (w == nullptr || w->showAll || w->desktop != current_) continue;
    // The slide starts from the window's real rectangle and puts it back there, to the pixel.
    const Rect r = p_.geometry.Bounds(hwnd);
    int32_t x = r.left;
    transparency::SetWindowAlpha(ws, hwnd, 254);
    for (int a = 254; a > 0; a -= 40) {
      x -= 20;
      ws.MoveWindow(hwnd, x, r.top, r.Width(), r.Height(), true);
      transparency::SetWindowAlpha(ws, hwnd, a);
    }
    Hide(hwnd);
    ws.MoveWindow(hwnd, r.left, r.top, r.Width(), r.Height(), true);
    p_.layering.MakeOpaque(hwnd);
  }
}

void DesktopSwitcher::MoveIn(Hwnd hwnd, int32_t target) {
  if (!animate_) return;
  const ManagedWindow* w = p_.table.Find(hwnd);
  if (w == nullptr) return;
  WindowSystem& ws = p_.ws;
  // Read once: showing and moving the window answers sent messages, and the handlers they run
  // may take records out of the table.
  const std::optional<int> transparency = w->transparency;
  const Rect r = p_.geometry.Bounds(hwnd);
  const int own = transparency.value_or(255);
  int32_t x = target + 60;
  ws.MoveWindow(hwnd, x, r.top, r.Width(), r.Height(), true);
  transparency::SetWindowAlpha(ws, hwnd, 0);
  ApplyShow(hwnd, SW_SHOWNA);
  int a = 0;
  while (x > target) {
    x -= 5;
    ws.MoveWindow(hwnd, x, r.top, r.Width(), r.Height(), true);
    transparency::SetWindowAlpha(ws, hwnd, a);
    if (!transparency || a + 10 <= own) {
      a += 10;
    } else {
      a = own;
    }
  }
  ws.MoveWindow(hwnd, target, r.top, r.Width(), r.Height(), true);
  // The slide ends with the window as the user left it: opaque (its own layering), or at the
  // transparency the user chose. The layered style is set anew while the window is shown:
  // some systems do not draw a window that became layered while it was hidden.
  if (!transparency) {
    p_.layering.MakeOpaque(hwnd);
  } else {
    transparency::ClearWindowAlpha(ws, hwnd);
    transparency::SetWindowAlpha(ws, hwnd, own);
  }
}

void DesktopSwitcher::GiveBack(Hwnd hwnd) {
  p_.ws.ShowWindow(hwnd, SW_SHOWNA);
  p_.record.Forget(hwnd);
  ShowOwnedWindows(hwnd);
}

void DesktopSwitcher::ShowOwnedWindows(Hwnd owner) {
  // Shown after their owner and without activation: they stay above it, and the focus stays
  // where the owner's show put it.
  for (const Hwnd hwnd : owned_.TakeHiddenWith(owner)) {
    if (p_.ws.IsWindow(hwnd)) p_.ws.ShowWindow(hwnd, SW_SHOWNA);
    p_.record.Forget(hwnd);
  }
}

void DesktopSwitcher::HideOwnedWindows(Hwnd owner) {
  WindowSystem& ws = p_.ws;
  std::vector<Hwnd> hidden;
  for (const Hwnd hwnd : owned_.ShownOwnedBy(owner)) {
    ws.ShowWindow(hwnd, SW_HIDE);
    // One that the system would not hide stays shown: neither recorded nor kept.
    if (ws.RefusesChanges(hwnd)) continue;
    p_.record.NoteHidden(hwnd, ws.GetWindowThreadProcessId(hwnd));
    hidden.push_back(hwnd);
  }
  owned_.HiddenWith(owner, hidden);
}

void DesktopSwitcher::SetShown(Hwnd hwnd, bool shown) {
  ApplyShow(hwnd, shown ? SW_SHOW : SW_HIDE);
}

void DesktopSwitcher::ApplyShow(Hwnd hwnd, int cmd) {
  WindowSystem& ws = p_.ws;
  const bool shown = cmd != SW_HIDE;
  if (const ManagedWindow* w = p_.table.Find(hwnd); w != nullptr && w->refusesChanges) return;
  if (!shown) {
    p_.view.WindowHiding(hwnd);
    HideOwnedWindows(hwnd);
  }
  const bool wasVisible = ws.ShowWindow(hwnd, cmd);
  // Refused: the window is where it was, and the program did not hide it.
  if (Refuses(hwnd)) return;
  if (shown) {
    p_.record.Forget(hwnd);
    ShowOwnedWindows(hwnd);
    return;
  }
  // A window already hidden that the program did not hide was hidden by its own application:
  // it is not the program's to bring back after a run ended by force. A window that does not
  // answer may still have the program's request to show it waiting: it is recorded all the same.
  intptr_t answer = 0;
  if (!wasVisible && !p_.record.IsHiddenByProgram(hwnd) &&
      ws.SendMessageTimeoutA(hwnd, WM_NULL, 0, 0, kAnswerWaitMs, &answer)) {
    return;
  }
  p_.record.NoteHidden(hwnd, ws.GetWindowThreadProcessId(hwnd));
}

bool DesktopSwitcher::Refuses(Hwnd hwnd) {
  ManagedWindow* w = p_.table.Find(hwnd);
  if (w != nullptr && w->refusesChanges) return true;
  if (!p_.ws.RefusesChanges(hwnd)) return false;
  if (w == nullptr) return true;
  // Once, for good: the program never tries to hide, move or layer it again.
  w->refusesChanges = w->showAll = true;
  w->desktop = current_;
  p_.record.Forget(hwnd);
  ShowOwnedWindows(hwnd);
  p_.view.FollowedToDesktop(hwnd);
  return true;
}

void DesktopSwitcher::Hide(Hwnd hwnd) {
  const ManagedWindow* w = p_.table.Find(hwnd);
  if (w != nullptr && !w->showAll) SetShown(hwnd, false);
}

void DesktopSwitcher::Place(int desktop, Hwnd hwnd, float left, float top, float width,
                            float height) {
  ManagedWindow* w = p_.table.Find(hwnd);
  if (w == nullptr) return;
  if (w->refusesChanges) {
    p_.view.FollowedToDesktop(hwnd);
    return;
  }
  WindowSystem& ws = p_.ws;
  w->desktop = desktop;
  if (!w->onTop) {
    // To the top of the Z order without staying top-most.
    ws.SetWindowPos(hwnd, HWND_TOPMOST, 0, 0, 0, 0, kRaiseFlags);
    ws.SetWindowPos(hwnd, HWND_NOTOPMOST, 0, 0, 0, 0, kRaiseFlags);
  }
  if (left == 0 && top == 0 && width == 0 && height == 0) return;
  if (desktop != current_) Hide(hwnd);
  const WindowGeometry& g = p_.geometry;
  const float sx = g.ScreenWidth() > 0 ? g.CellWidth() / g.ScreenWidth() : 0.0f;
  const float sy = g.ScreenHeight() > 0 ? g.CellHeight() / g.ScreenHeight() : 0.0f;
  if (sx > 0 && sy > 0) {
    ws.MoveWindow(hwnd, RoundEven(left / sx), RoundEven(top / sy), RoundEven(width / sx),
                  RoundEven(height / sy), true);
  }
}

bool DesktopSwitcher::Relocate(int count) {
  bool relocated = false;
  for (ManagedWindow& w : p_.table) {
    if (w.desktop > count) {
      w.desktop = count;
      relocated = true;
    }
  }
  return relocated;
}

void DesktopSwitcher::ReapplyWindowOpacity() {
  for (const Hwnd hwnd : p_.table.Handles()) {
    const ManagedWindow* w = p_.table.Find(hwnd);
    if (w == nullptr) continue;
    if (animate_) {
      if (w->desktop == current_) transparency::SetWindowAlpha(p_.ws, hwnd, 255);
    } else if (!w->transparency) {
      p_.layering.MakeOpaque(hwnd);
    } else {
      transparency::SetWindowAlpha(p_.ws, hwnd, *w->transparency);
    }
  }
}

void DesktopSwitcher::BringEveryWindowBack() noexcept {
  try {
    for (const Hwnd hwnd : p_.table.Handles()) p_.ws.ShowWindow(hwnd, SW_SHOW);
    p_.record.ShowHiddenWindows();
  } catch (...) {
  }
}

}  // namespace vd
