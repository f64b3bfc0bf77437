// The window menu, opened by a right click on a miniature: Summon, Show on All Desktop,
// Always On Top, Move To, the transparency levels, Remove, and the windows of the same
// desktop. Timers keep running while the menu (or the Remove question) is open, so every
// command first checks that the selected window is still managed.
#include "core/Program.h"
#include "core/Text.h"
#include "desktops/Transparency.h"
#include "dialogs/MessageDialog.h"
#include "options/OptionsDialog.h"
#include "pager/PagerWindow.h"

namespace vd {

void PagerWindow::OpenWindowMenu() {
  const ManagedWindow* w = Table.Find(SelectedWindow);
  if (w == nullptr) return;
  const int desktop = w->desktop;
  const std::optional<int> transparency = w->transparency;
  const bool showAll = w->showAll;
  SkipNextActivation = false;
  moveToEntry.SetVisible(true);
  onTopEntry.SetVisible(true);
  windowListSeparator.SetVisible(true);
  for (forms::MenuItem* level :
       {&opaqueEntry, &highTransparencyEntry, &mediumTransparencyEntry, &lowTransparencyEntry}) {
    level->SetChecked(false);
  }
  summonEntry.SetEnabled(desktop != desktops_.Current());
  if (transparency == 100) {
    highTransparencyEntry.SetChecked(true);
  } else if (transparency == 150) {
    mediumTransparencyEntry.SetChecked(true);
  } else if (transparency == 200) {
    lowTransparencyEntry.SetChecked(true);
  } else if (!desktops_.Animates()) {
    opaqueEntry.SetChecked(true);
  }
  FillWindowMenus(desktop);
  // A window is never offered the desktop it already belongs to.
  if (moveToEntries.Exists(desktop) && desktop > 0) moveToEntries.Unload(desktop);
  showOnAllEntry.SetChecked(showAll);
  moveToEntry.SetEnabled(!showAll);

  Point cursor;
  ws_.GetCursorPos(&cursor);
  Rect pager;
  ws_.GetWindowRect(hWnd(), &pager);
  PopupMenu(windowMenu, static_cast<float>(cursor.x - pager.left),
            static_cast<float>(cursor.y - pager.top));
}

void PagerWindow::SummonSelectedWindow() { tracker_.Summon(SelectedWindow); }

void PagerWindow::ToggleShowOnAll() {
  ManagedWindow* w = Table.Find(SelectedWindow);
  if (w == nullptr) return;
  w->showAll = !w->showAll;
  if (w->showAll) layering_.ReapplyTransparency(SelectedWindow);
}

void PagerWindow::ToggleOnTop() {
  ManagedWindow* w = Table.Find(SelectedWindow);
  if (w == nullptr) return;
  SkipNextActivation = true;
  if (!onTopEntry.Checked()) {
    w->onTop = true;
    ws_.SetWindowPos(SelectedWindow, HWND_TOPMOST, 0, 0, 0, 0, kRaiseFlags);
    onTopEntry.SetChecked(true);
    if (!layering_.ReapplyTransparency(SelectedWindow)) layering_.MakeOpaque(SelectedWindow);
  } else {
    w->onTop = false;
    ws_.SetWindowPos(SelectedWindow, HWND_NOTOPMOST, 0, 0, 0, 0, kRaiseFlags);
    onTopEntry.SetChecked(false);
  }
}

void PagerWindow::MoveSelectedWindowTo(int index) {
  ManagedWindow* w = Table.Find(SelectedWindow);
  if (w == nullptr || !moveToEntries.Exists(index)) return;
  const int32_t target = AsNumber(moveToEntries(index).Tag());
  if (target < 1 || target > desktops_.Count()) return;
  const int32_t v = w->miniature;
  const int d = w->desktop;
  // The miniature moves into the target cell keeping its offset inside the cell.
  if (miniatures.Exists(v) && v > 0 && cells.Exists(d) && cells.Exists(target)) {
    forms::PictureBox& miniature = miniatures(v);
    miniature.SetLeft(miniature.Left() - cells(d).Left() + cells(target).Left());
    miniature.SetTop(miniature.Top() - cells(d).Top() + cells(target).Top());
    miniature.ZOrder(0);
  }
  w->desktop = target;
  desktops_.Place(target, SelectedWindow, 0, 0, 0, 0);
  desktops_.SetShown(SelectedWindow, target == desktops_.Current());
  tracker_.NoteMoved(SelectedWindow);
}

void PagerWindow::MakeSelectedWindowOpaque() {
  if (!IsManaged(SelectedWindow)) return;
  layering_.MakeOpaque(SelectedWindow);
  if (ManagedWindow* w = Table.Find(SelectedWindow)) w->transparency.reset();
  recoveryRecord_.TranslucencyChanged();
  recoveryRecord_.SaveTranslucencyIfBehind();
}

void PagerWindow::ApplyTransparency(Hwnd hwnd, int alpha) {
  if (!IsManaged(hwnd)) return;
  transparency::SetWindowAlpha(ws_, hwnd, alpha);
  if (ManagedWindow* w = Table.Find(hwnd)) w->transparency = alpha;
  recoveryRecord_.TranslucencyChanged();
  recoveryRecord_.SaveTranslucencyIfBehind();
}

void PagerWindow::RemoveSelectedWindow() {
  if (!IsManaged(SelectedWindow)) return;
  const Hwnd window = SelectedWindow;
  const std::string answer =
      ShowMessage(program_, "Remove Window",
                  "Are you sure you want to remove and add the window to the ignore list ?",
                  "warning", "Yes;No;Just Remove;");
  // The question was open while the timers ran: the window may have gone meanwhile.
  if (!IsManaged(window) || (answer != "Yes" && answer != "Just Remove")) return;
  const std::string title = Table.Find(window)->title;
  // Shown first, so that a window of a hidden desktop does not stay invisible once the
  // program no longer manages it.
  desktops_.SetShown(window, true);
  layering_.MakeOpaque(window);
  if (answer == "Yes") ignoreList.Add(title);
  tracker_.DropWindow(window);
}

void PagerWindow::BringListedWindowForward(int index) {
  if (!windowListEntries.Exists(index)) return;
  const Hwnd window = AsNumber(windowListEntries(index).Tag());
  ActivateWindow(window);
  const int32_t v = MiniatureOf(window);
  if (v > 0 && miniatures.Exists(v)) miniatures(v).ZOrder(0);
  SkipNextActivation = true;
}

}  // namespace vd
