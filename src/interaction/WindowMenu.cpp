// The window menu, opened by a right click on a miniature: Summon, Show on All Desktop,
// Always On Top, Move To, the transparency levels, Remove, and the windows of the same
// desktop. Timers keep running while the menu (or the Remove question) is open, so every
// command first checks that the selected window is still managed.
#include "core/Program.h"
#include "core/Text.h"
#include "core/frmMain.h"
#include "core/modTransparent.h"
#include "interaction/frmMsgBox.h"
#include "settings/frmOptions.h"

namespace vd {

void frmMain::OpenWindowMenu() {
  const std::string key = WindowTable::KeyOf(SelectedWindow);
  if (!Table.RowExists(key)) return;
  SkipNextActivation = false;
  mnuMoveTo.SetVisible(true);
  mnuOnTop.SetVisible(true);
  mnuSep.SetVisible(true);
  for (forms::MenuItem* level : {&mnuOpaque, &mnuTransHigh, &mnuTransMedium, &mnuTransLow}) {
    level->SetChecked(false);
  }
  const int32_t desktop = AsNumber(Table.Get(key, WindowTable::kDesktop));
  mnuSummon.SetEnabled(desktop != CurrentDesktop);
  const std::string& transparent = Table.Get(key, WindowTable::kTransparent);
  if (transparent == "100") {
    mnuTransHigh.SetChecked(true);
  } else if (transparent == "150") {
    mnuTransMedium.SetChecked(true);
  } else if (transparent == "200") {
    mnuTransLow.SetChecked(true);
  } else if (!AnimateMode) {
    mnuOpaque.SetChecked(true);
  }
  FillWindowMenus(static_cast<int16_t>(desktop));
  // A window is never offered the desktop it already belongs to.
  if (mnuDesktop.Exists(desktop) && desktop > 0) mnuDesktop.Unload(desktop);
  const bool showAll = Table.Get(key, WindowTable::kShowAll) == "1";
  mnuShowAll.SetChecked(showAll);
  mnuMoveTo.SetEnabled(!showAll);

  Point cursor;
  ws_.GetCursorPos(&cursor);
  Rect pager;
  ws_.GetWindowRect(hWnd(), &pager);
  PopupMenu(mnuOptions, static_cast<float>(cursor.x - pager.left),
            static_cast<float>(cursor.y - pager.top));
}

void frmMain::mnuSummon_Click() {
  if (!IsManaged(SelectedWindow)) return;
  // Only one window is summoned at a time: the one summoned before goes back to its desktop.
  if (SummonedWindow >= 1 && SummonedWindow != SelectedWindow) SendSummonedWindowBack();
  SummonedWindow = SelectedWindow;
  modTransparent::FadeIn(ws_, SelectedWindow, 255, 1);
  if (program_.Options().chkAutoHide.Value() == 1) HidePager();
}

void frmMain::mnuShowAll_Click() {
  const std::string key = WindowTable::KeyOf(SelectedWindow);
  if (!Table.RowExists(key)) return;
  if (Table.Get(key, WindowTable::kShowAll).empty()) {
    Table.Set(key, WindowTable::kShowAll, "1");
    ReapplyTransparency(SelectedWindow);
  } else {
    Table.Set(key, WindowTable::kShowAll, "");
  }
}

void frmMain::mnuOnTop_Click() {
  const std::string key = WindowTable::KeyOf(SelectedWindow);
  if (!Table.RowExists(key)) return;
  SkipNextActivation = true;
  if (!mnuOnTop.Checked()) {
    ws_.SetWindowPos(SelectedWindow, HWND_TOPMOST, 0, 0, 0, 0, kRaiseFlags);
    Table.Set(key, WindowTable::kOnTop, "1");
    mnuOnTop.SetChecked(true);
    if (!ReapplyTransparency(SelectedWindow)) MakeOpaque(SelectedWindow);
  } else {
    ws_.SetWindowPos(SelectedWindow, HWND_NOTOPMOST, 0, 0, 0, 0, kRaiseFlags);
    Table.Set(key, WindowTable::kOnTop, "0");
    mnuOnTop.SetChecked(false);
  }
}

void frmMain::mnuDesktop_Click(int index) {
  const std::string key = WindowTable::KeyOf(SelectedWindow);
  if (!Table.RowExists(key) || !mnuDesktop.Exists(index)) return;
  const int32_t target = AsNumber(mnuDesktop(index).Tag());
  if (target < 1 || target > DesktopCount) return;
  const int32_t v = AsNumber(Table.Get(key, WindowTable::kVirtualWindow));
  const int32_t d = AsNumber(Table.Get(key, WindowTable::kDesktop));
  // The miniature moves into the target cell keeping its offset inside the cell.
  if (picWin.Exists(v) && v > 0 && lblDesktop.Exists(d) && lblDesktop.Exists(target)) {
    forms::PictureBox& miniature = picWin(v);
    miniature.SetLeft(miniature.Left() - lblDesktop(d).Left() + lblDesktop(target).Left());
    miniature.SetTop(miniature.Top() - lblDesktop(d).Top() + lblDesktop(target).Top());
    miniature.ZOrder(0);
  }
  Table.Set(key, WindowTable::kDesktop, std::to_string(target));
  PlaceWindow(static_cast<int16_t>(target), SelectedWindow, 0, 0, 0, 0);
  SetWindowShown(SelectedWindow, target == CurrentDesktop);
  MovedWindow = SelectedWindow;
}

void frmMain::mnuOpaque_Click() {
  const std::string key = WindowTable::KeyOf(SelectedWindow);
  if (!Table.RowExists(key)) return;
  MakeOpaque(SelectedWindow);
  Table.Set(key, WindowTable::kTransparent, "");
  translucencyBehind_ = true;
  SaveTranslucencyRecord();
}

void frmMain::ApplyTransparency(Hwnd hwnd, int alpha) {
  const std::string key = WindowTable::KeyOf(hwnd);
  if (!Table.RowExists(key)) return;
  modTransparent::SetWindowAlpha(ws_, hwnd, alpha);
  Table.Set(key, WindowTable::kTransparent, std::to_string(alpha));
  translucencyBehind_ = true;
  SaveTranslucencyRecord();
}

void frmMain::mnuRemove_Click() {
  if (!IsManaged(SelectedWindow)) return;
  const Hwnd window = SelectedWindow;
  ShowMessage(program_, "Remove Window",
              "Are you sure you want to remove and add the window to the ignore list ?",
              "warning", "Yes;No;Just Remove;");
  const std::string answer = program_.MessageResult;
  program_.MessageResult.clear();
  const std::string key = WindowTable::KeyOf(window);
  // The question was open while the timers ran: the window may have gone meanwhile.
  if (!Table.RowExists(key) || (answer != "Yes" && answer != "Just Remove")) return;
  // Shown first, so that a window of a hidden desktop does not stay invisible once the
  // program no longer manages it.
  SetWindowShown(window, true);
  MakeOpaque(window);
  if (answer == "Yes") AddIgnoreList(Table.Get(key, WindowTable::kTitle));
  DropWindow(window);
}

void frmMain::mnuWin_Click(int index) {
  if (!mnuWin.Exists(index)) return;
  const Hwnd window = AsNumber(mnuWin(index).Tag());
  ActivateWindow(window);
  const int32_t v =
      AsNumber(Table.Get(WindowTable::KeyOf(window), WindowTable::kVirtualWindow));
  if (v > 0 && picWin.Exists(v)) picWin(v).ZOrder(0);
  SkipNextActivation = true;
}

}  // namespace vd
