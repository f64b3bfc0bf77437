// How the pager is laid out and painted: the title strip, the grid of desktop cells built from
// the settings, the cells' colours and the box around the current desktop's cell.
#include <algorithm>
#include <cmath>
#include <optional>

#include "core/Program.h"
#include "core/Text.h"
#include "pager/PagerWindow.h"
#include "pager/TrayIcon.h"
#include "settings/Hotkeys.h"

namespace vd {

void PagerWindow::SetupDesktops(int columnCount, int rowCount) {
  // The screen in twips; the pager's controls in its pixels (kTwipsPerPixel each).
  const float screenW = geometry.ScreenWidth() * TwipsPerScreenPixel();
  const float screenH = geometry.ScreenHeight() * TwipsPerScreenPixel();
  constexpr float tpp = forms::kTwipsPerPixel;
  // A 0 would leave no desktop and divide by zero; more than 9 is 9.
  const int columns = std::clamp(columnCount, 1, 9);
  const int rows = std::clamp(rowCount, 1, 9);

  // The pager's size from the screen percentages (1 to 100), centred.
  if (auto w = settings_.widthPercent) {
    SetWidth(screenW * (static_cast<float>(std::clamp(*w, 1, 100)) / 100.0f));
  }
  if (auto h = settings_.heightPercent) {
    SetHeight(screenH * (static_cast<float>(std::clamp(*h, 1, 100)) / 100.0f));
  }
  SetLeft((screenW - Width()) / 2);
  SetTop((screenH - Height()) / 2);
  // Cell 1 shares the pager out among the columns and rows.
  cells(1).SetWidth((Width() / tpp) / static_cast<float>(columns));
  cells(1).SetHeight((Height() / tpp) / static_cast<float>(rows));
  geometry.SetCellSize(cells(1).Width(), cells(1).Height());
  // Back to one desktop. The hotkeys of the desktops (and those that send a window there) go
  // too (those that remain are registered again below), so a hotkey left from a larger grid
  // switches to nothing; their record and their entries in the settings file stay for when
  // the grid grows again.
  cellNames.clear();  // they stand in the cells
  for (int i = desktops_.Count(); i >= 2; --i) {
    if (cells.Exists(i)) cells.Unload(i);
    program_.hotkeys.Release(hWnd(), i);
    program_.hotkeys.Release(hWnd(), Hotkeys::SendHotkeyId(i));
  }
  desktops_.SetCount(1);
  auto registerHotkey = [this](int desktop) {
    const auto at = static_cast<size_t>(desktop);
    program_.hotkeys.RegisterEntry(hWnd(), desktop, settings_.desktopHotkeys[at]);
    program_.hotkeys.RegisterEntry(hWnd(), Hotkeys::SendHotkeyId(desktop),
                                   settings_.sendHotkeys[at]);
  };
  registerHotkey(1);
  // The other cells, along the first row first.
  for (int row = 1; row <= rows; ++row) {
    for (int column = 1; column <= columns; ++column) {
      if (row == 1 && column == 1) continue;
      AddDesktop(column, row);
      registerHotkey(desktops_.Count());
      cells(desktops_.Count()).Refresh();
    }
  }
  // The pager fits the grid.
  forms::PictureBox& lastOfRow = cells(columns);
  forms::PictureBox& last = cells(columns * rows);
  SetWidth((lastOfRow.Left() + lastOfRow.Width()) * tpp + 40);
  SetHeight((last.Top() + last.Height()) * tpp + 40);
  hover_.ForgetCursorCell();  // a cell noted under the cursor belongs to the old grid
  cellPainter_.Forget();
  // The title strip and its buttons follow the pager's width.
  const float widthPx = Width() / tpp;
  titleStrip.SetWidth(widthPx);
  menuButton.SetLeft(widthPx - menuButton.Width() - 5);
  offerButton.SetLeft(menuButton.Left() - offerButton.Width() - 1);
  statusLabel.SetWidth(std::max(0.0f, menuButton.Left() - 6));
  ShowDesktopNames();
  // The product's name and subtitle stand left of the title buttons; one that would run under
  // them (a narrow pager, or a screen at a high scale, where text takes more of the pager's
  // share of the screen) is left out, the subtitle first.
  const float room = menuButton.Left() * tpp;  // twips of the strip
  productName.SetVisible(productName.Left() + productName.Width() <= room);
  productSubtitle.SetVisible(productName.Visible() &&
                             productSubtitle.Left() + productSubtitle.Width() <= room);
  DrawTitleStrip();
  LayOutStatusRow();
  // Where the user left the pager (kept in pixels of a screen at 100 %), pulled back onto the
  // screen if it sticks out.
  if (settings_.left) SetLeft(*settings_.left / tpp * TwipsPerScreenPixel());
  if (settings_.top) SetTop(*settings_.top / tpp * TwipsPerScreenPixel());
  KeepPagerOnScreen();
  // Every window's miniature into the new grid, without new pictures (and without the
  // side effects of a window coming forward).
  tracker_.RefreshQuietly(Table.Handles(), false);
  // The pager stays shown and repainted after the rebuild.
  Refresh();
}

void PagerWindow::FollowScreenScale() {
  // The system has placed the pager on a screen of another scale. Its controls are as large to
  // the eye as before; its size, a share of the screen, is worked out anew, at the place the
  // system chose. The cells, the strip and the miniatures are drawn again at the new scale.
  const float left = Left(), top = Top();
  SetupDesktops(settings_.columns.value_or(1), settings_.rows.value_or(1));
  SetLeft(left);
  SetTop(top);
  KeepPagerOnScreen();
  MoveSelectionBox(desktops_.Current());
  RecaptureCurrentDesktop();
  Refresh();
}

void PagerWindow::ShowDesktopNames() {
  // A line of the cells' text is 13 pixels at 100 %; it sits 2 pixels in from the bottom-left
  // corner, where windows stand less often than at the top (their miniatures cover it).
  constexpr float kLine = 13, kMargin = 2;
  constexpr float tpp = forms::kTwipsPerPixel;  // the cells place their children in twips
  cellNames.resize(static_cast<size_t>(desktops_.Count()) + 1);
  for (int k = 1; k <= desktops_.Count(); ++k) {
    std::unique_ptr<forms::Label>& label = cellNames[static_cast<size_t>(k)];
    const std::string& name = settings_.desktopNames[static_cast<size_t>(k)];
    forms::PictureBox& cell = cells(k);
    if (name.empty() || cell.Height() < kLine + 2 * kMargin || cell.Width() < 4 * kMargin) {
      label.reset();
      continue;
    }
    if (!label) {
      label = std::make_unique<forms::Label>(cell, "cellName");
      label->SetTransparent(true);
      label->SetForeColor(0xFFFFFF);
      // The name is part of the cell: a click on it is a click on the cell.
      label->MouseUp = [this, k](int button, int, float, float) { OnCellMouseUp(k, button); };
      label->MouseMove = [this, k](int, int, float, float) { hover_.OnCellMouseMove(k); };
    }
    label->SetCaption(name);
    label->Move(kMargin * tpp, (cell.Height() - kLine - kMargin) * tpp,
                (cell.Width() - 2 * kMargin) * tpp, kLine * tpp);
    label->SetVisible(true);
  }
  ShowDesktopInTray(desktops_.Current());
}

void PagerWindow::ShowDesktopInTray(int desktop) {
  const bool named = !settings_.desktopNames[static_cast<size_t>(desktop)].empty();
  tray_->ShowDesktop(named ? DesktopTitle(settings_, desktop) : "");
}

void PagerWindow::PaintDesktopCell(int index, float angle, uint32_t color1, uint32_t color2) {
  if (index < 1 || !cells.Exists(index)) return;
  cellPainter_.Paint(cells(index), index, angle, color1, color2);
}

void PagerWindow::LayOutStatusRow() {
  // Below the grid: the status caption on the left, the Show/Hide field on the right.
  constexpr float tpp = forms::kTwipsPerPixel;
  const float widthPx = Width() / tpp;
  const float top = Height() / tpp;
  constexpr float kRow = 18;
  hideButton.Move(widthPx - 1 - 34, top, 34, kRow - 2);
  showButton.Move(hideButton.Left() - 35, top, 34, kRow - 2);
  handleField.Move(showButton.Left() - 61, top, 60, kRow - 2);
  // The caption's width follows the title buttons; the field stands in front of it.
  statusLabel.Move(3, top + 2, statusLabel.Width(), kRow - 4);
  statusLabel.ZOrder(1);
  SetHeight(Height() + kRow * tpp);
}

void PagerWindow::OnCellMouseUp(int index, int button) {
  tracker_.NoteMoved(0);
  if (button == forms::kLeftButton) {
    if (index == desktops_.Current()) return;
    desktops_.SetAnimate(settings_.animate);
    desktops_.SwitchTo(index);
    statusLabel.SetCaption(DesktopTitle(settings_, desktops_.Current()));
  } else if (button == forms::kRightButton) {
    windowMenu.PrepareForCell(index);
  }
}

void PagerWindow::ShowTypedWindow() {
  if (auto hwnd = ToInt32(handleField.Text())) {
    if (IsManaged(*hwnd)) {
      desktops_.SetShown(*hwnd, true);
    } else {
      ws_.ShowWindow(*hwnd, SW_SHOW);
    }
  }
}

void PagerWindow::HideTypedWindow() {
  // Only a window the program manages may be hidden here: it comes back with its desktop
  // and at exit. Anything else would be lost from sight.
  if (auto hwnd = ToInt32(handleField.Text()); hwnd && IsManaged(*hwnd)) {
    desktops_.SetShown(*hwnd, false);
  }
}

void PagerWindow::AddDesktop(int column, int row) {
  if (desktops_.Count() == 1) PaintDesktopCell(1, 315, settings_.colorNormal, 0);
  desktops_.SetCount(desktops_.Count() + 1);
  const int k = desktops_.Count();
  forms::PictureBox& cell = cells.Exists(k) ? cells(k) : cells.Load(k);
  const float w = cells(1).Width();
  const float h = cells(1).Height();
  const float t1 = cells(1).Top();
  cell.Move(static_cast<float>(column - 1) * w + 1 + static_cast<float>(column - 1),
            static_cast<float>(row - 1) * h + t1 + static_cast<float>(row - 1), w, h);
  PaintDesktopCell(k, 315,
                   k == desktops_.Current() ? settings_.colorSelected : settings_.colorNormal, 0);
  if (desktops_.Current() == 1 && k == 2) PaintDesktopCell(1, 315, settings_.colorSelected, 0);
  cell.SetVisible(true);
  cell.Refresh();
  MoveSelectionBox(k);
}

void PagerWindow::SwitchBegins(int from, int to) {
  lastLeft_ = from;  // where the back key returns to
  PaintDesktopCell(from, 315, settings_.colorNormal, 0);
  PaintDesktopCell(to, 315, settings_.colorSelected, 0);
}

void PagerWindow::DesktopShowing(int desktop) { MoveSelectionBox(desktop); }

void PagerWindow::FollowedToDesktop(Hwnd hwnd) {
  const int32_t v = MiniatureOf(hwnd);
  if (v > 0 && miniatures.Exists(v)) miniatures(v).SetVisible(false);
  miniatureView_.Place(hwnd);
}

void PagerWindow::DesktopShown(int desktop) {
  windowMenu.Fill(desktop);
  ShowDesktopInTray(desktop);
  tracker_.RestartAutoHide();
  // The shown desktop's windows get their live thumbnails now rather than at the next tick.
  if (!closing_) miniatureView_.UpdateThumbnails();
}

void PagerWindow::WindowHiding(Hwnd hwnd) {
  // A window hidden before its first picture was taken, or whose miniature the compositor drew,
  // gets its picture now: its miniature and its preview must not stay blank or old.
  miniatureView_.BeforeHiding(hwnd);
}

void PagerWindow::MoveSelectionBox(int index) {
  if (!cells.Exists(index) || index < 1) return;
  forms::PictureBox& cell = cells(index);
  selectionBox.Move(cell.Left() - 1, cell.Top() - 1, cell.Width() + 3, cell.Height() + 3);
  selectionBox.SetBorderColor(settings_.colorBox);
}

void PagerWindow::DrawTitleStrip() {
  titleStrip.SyncSurfaceSize();
  vd::Bitmap& strip = titleStrip.Surface();
  strip.Fill(0x000000);
  // A thin line of the selected-cell colour along the strip's bottom edge, below the labels:
  // a pixel at 100 %, as thick to the eye at any scale.
  const int line = std::max(1, static_cast<int>(std::lround(Dpi() / 96.0)));
  strip.FillRect(0, strip.Height() - line, strip.Width(), strip.Height(), settings_.colorSelected);
  titleStrip.Refresh();
}

}  // namespace vd
