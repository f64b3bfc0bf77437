// The pager's construction, its load handler (the order in which the program comes up) and
// CloseAll (the order in which it goes down, giving every window back to the user).
#include <algorithm>
#include <cmath>

#include "core/Program.h"
#include "core/Text.h"
#include "desktops/Transparency.h"
#include "pager/DesktopNote.h"
#include "pager/PagerWindow.h"
#include "pager/PreviewWindow.h"
#include "pager/TrayIcon.h"
#include "settings/AutoStart.h"
#include "settings/Hotkeys.h"

namespace vd {

using forms::ScaleMode;

PagerWindow::PagerWindow(Program& program)
    : forms::Form(program.backend, "PagerWindow"),
      titleStrip(*this, "titleStrip", ScaleMode::kTwips),
      productName(titleStrip, "productName", "VUEDECK"),
      productSubtitle(titleStrip, "productSubtitle", "Virtual Desktop"),
      offerButton(*this, "offerButton"),
      menuButton(*this, "menuButton"),
      statusLabel(*this, "statusLabel"),
      cells(*this, "cells", ScaleMode::kTwips),
      selectionBox(*this, "selectionBox"),
      handleField(*this, "handleField"),
      showButton(*this, "showButton", "Show"),
      hideButton(*this, "hideButton", "Hide"),
      miniatures(*this, "miniatures", ScaleMode::kTwips),
      safetySweep(*this, "safetySweep", kPolledSweepMs, false),
      refreshTimer(*this, "refreshTimer", 100, false),
      eventTimer(*this, "eventTimer", 10, false),
      windowMenu({*this, program, program.ws, Table, desktops_, tracker_, layering_,
                  recoveryRecord_, ignoreList, cells, miniatures,
                  [this](Hwnd hwnd) { gestures_.ActivateWindow(hwnd); },
                  [this](int desktop) { return DesktopTitle(settings_, desktop); }}),
      mainMenu(nullptr, "mainMenu", "Menu"),
      optionsEntry(&mainMenu, "optionsEntry", "Options..."),
      aboutEntry(&mainMenu, "aboutEntry", "About"),
      exitSeparator(&mainMenu, "exitSeparator", "-"),
      exitEntry(&mainMenu, "exitEntry", "Exit"),
      ignoreList(program.ws, program.IgnoreFile()),
      geometry(program.ws),
      program_(program),
      ws_(program.ws),
      settings_(program.settings),
      preview_(std::make_unique<PreviewWindow>(program)),
      tray_(std::make_unique<TrayIcon>(program, mainMenu)),
      note_(std::make_unique<DesktopNote>(program)),
      layering_(program.ws, Table),
      recoveryRecord_(program.ws, program.RecoveryFile(), program.TranslucencyFile(),
                      [this] { return layering_.TranslucentWindows(); }),
      desktops_({program.ws, Table, geometry, layering_, recoveryRecord_, *this,
                 [this] { return hWnd(); }}),
      tracker_({program.ws, Table, geometry, program.settings, ignoreList, desktops_, layering_,
                recoveryRecord_, miniatureView_, *this, [this] { return hWnd(); }}),
      cellPainter_(program.ws),
      miniatureView_({*this, program.backend, program.ws, Table, geometry, cells, miniatures,
                      [this] { return int{desktops_.Current()}; }}),
      hover_({*this, program.ws, program.settings, Table, geometry, cells, miniatures, statusLabel,
              *preview_, miniatureView_.Pictures(), [this] { return int{desktops_.Current()}; },
              [this](int cell, uint32_t colour) { PaintDesktopCell(cell, 315, colour, 0); }}),
      gestures_({program.ws, Table, geometry, cells, miniatures, desktops_, tracker_,
                 miniatureView_, hover_, windowMenu}) {
  tray_->Clicked = [this] {
    if (pagerShown_) {
      HidePager();
    } else {
      ShowPager();
    }
  };
  // The pager: no system caption bar (the title strip stands in for it), positions of its
  // controls in pixels, its own place and size in twips.
  SetScaleMode(ScaleMode::kPixels);
  SetCaption("");
  SetShowInTaskbar(true);
  SetBackColor(0x202020);
  SetVisible(false);
  Move(0, 0, 93.0f * forms::kTwipsPerPixel, 84.0f * forms::kTwipsPerPixel);

  titleStrip.Move(0, 0, 93, 20);
  titleStrip.SetBackColor(0x000000);
  forms::Font bold;
  bold.bold = true;
  productName.SetFont(bold);
  // Wider than the name needs in Tahoma, so that a substituted font never clips it.
  productName.Move(60, 40, 900, 195);
  productName.SetForeColor(0xFFFFFF);
  productName.SetBackColor(0x000000);
  productSubtitle.Move(990, 40, 2355, 195);
  productSubtitle.SetForeColor(0xC0C0C0);
  productSubtitle.SetBackColor(0x000000);

  menuButton.Move(68, 1, 20, 20);
  menuButton.SetCaption("...");
  menuButton.SetToolTipText("Menu");
  offerButton.Move(47, 1, 20, 20);
  offerButton.SetCaption("+");
  offerButton.SetVisible(false);

  statusLabel.Move(28, 116, 60, 13);
  statusLabel.SetForeColor(0xFFFFFF);
  statusLabel.SetBackColor(0x202020);
  handleField.SetToolTipText("A window handle to show or hide");
  showButton.SetToolTipText("Show the window");
  hideButton.SetToolTipText("Hide the window (managed windows only)");

  // Cell 1 exists with the form; element 0 is the template the other cells are made from.
  cells(0).Move(1, 22, 90, 60);
  cells(0).SetVisible(false);
  forms::PictureBox& cell1 = cells.Load(1);
  cell1.SetVisible(true);
  selectionBox.Move(0, 21, 93, 63);

  miniatures(0).SetBackColor(0xFFFFFF);
  miniatures(0).SetVisible(false);

  LoadEvent = [this] { OnLoad(); };
  DpiChanged = [this] { FollowScreenScale(); };
  QueryUnload = [this](forms::UnloadMode mode, bool& cancel) { OnQueryUnload(mode, cancel); };
  // Dragging the pager by its background, its title strip and its labels.
  auto drag = [this](int, int, float, float) { StartDrag(); };
  MouseDown = drag;
  titleStrip.MouseDown = drag;
  productName.MouseDown = drag;
  productSubtitle.MouseDown = drag;
  statusLabel.MouseDown = drag;

  safetySweep.Tick = [this] { OnSweep(); };
  refreshTimer.Tick = [this] { OnRefreshTick(); };
  eventTimer.Tick = [this] { ActOnWindowEvents(); };

  cells.MouseMove = [this](int i, int, int, float, float) {
    hover_.PointerMoved();
    hover_.OnCellMouseMove(i);
  };
  cells.MouseUp = [this](int i, int button, int, float, float) { OnCellMouseUp(i, button); };
  miniatures.MouseDown = [this](int i, int b, int, float x, float y) {
    gestures_.OnMouseDown(i, b, x, y);
  };
  miniatures.MouseMove = [this](int i, int b, int, float x, float y) {
    hover_.PointerMoved();
    gestures_.OnMouseMove(i, b, x, y);
  };
  miniatures.MouseUp = [this](int i, int b, int, float, float) { gestures_.OnMouseUp(i, b); };
  miniatures.CaptureLost = [this](int i) { gestures_.EndDragWithoutDrop(i); };
  showButton.Click = [this] { ShowTypedWindow(); };
  hideButton.Click = [this] { HideTypedWindow(); };
  menuButton.Click = [this] { OpenMainMenu(); };
  offerButton.Click = [this] { OfferPendingWindow(); };

  optionsEntry.Click = [this] { OpenOptions(); };
  aboutEntry.Click = [this] { ShowAbout(); };
  exitEntry.Click = [this] { ConfirmExit(); };
}

// The system's reports stop with the pager that hears them.
PagerWindow::~PagerWindow() { ws_.WatchWindowEvents(nullptr); }

void PagerWindow::OnLoad() {
  WindowSystem& ws = ws_;
  // The settings were read when the program started. Foreground tracking starts as if a
  // window had been refreshed already.
  tracker_.StartAutoHide();
  ignoreList.Reset();  // the built-in entries, then the file's
  ws.SetWindowPos(hWnd(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE);
  geometry.MeasureScreen();
  geometry.SetCellSize(cells(1).Width(), cells(1).Height());  // as laid out in the form
  // The pager's own window procedure takes the hotkeys and passes on everything else.
  previousProc_ = SetWindowProc([this](uint32_t msg, uintptr_t wParam, intptr_t lParam) {
    return HotkeyWindowProc(msg, wParam, lParam);
  });
  // The system's window events, heard from before the first scan so that nothing falls
  // between the two; without them the sweep looks every 100 ms. The sweep and the tick are
  // started together: two timers of one interval started together fall due together and wake
  // the program once instead of twice.
  eventsHeard_ =
      ws.WatchWindowEvents([this](WindowEvent event, Hwnd hwnd) { HearWindowEvent(event, hwnd); });
  tracker_.SetEventsHeard(eventsHeard_);
  safetySweep.SetInterval(eventsHeard_ ? kHeardSweepMs : kPolledSweepMs);
  safetySweep.SetEnabled(true);
  refreshTimer.SetEnabled(true);
  windowMenu.Fill(1);
  SetupDesktops(settings_.columns.value_or(1), settings_.rows.value_or(1));
  // The first scan: every window found belongs to desktop 1. The windows an earlier run made
  // translucent keep their transparency when they are taken on again, and are made opaque
  // when they are not.
  recoveryRecord_.LoadTranslucency();
  tracker_.Scan();
  tracker_.ReleaseUnclaimedTranslucency();
  // The effects and the pager's opacity. Start with Windows is written again, so that the Run
  // value names the program where it now is.
  desktops_.SetAnimate(settings_.animate);
  if (settings_.opacity) transparency::SetWindowAlpha(ws, hWnd(), settings_.PagerAlpha());
  if (settings_.autoStart) AutoStart::AppAutoStart(ws);
  desktops_.ReapplyWindowOpacity();
  cells(1).SetBackColor(settings_.colorSelected);
  statusLabel.SetCaption(DesktopTitle(settings_, 1));
  // The hide/unhide hotkey, and the panic hotkey when it is enabled.
  if (settings_.hideHotkey.modifier >= 0 && settings_.hideHotkey.key >= 0) {
    program_.hotkeys.Set(hWnd(), Hotkeys::kHideHotkeyId, settings_.hideHotkey, false);
  }
  if (settings_.panicEnabled && settings_.panicHotkey.modifier >= 0 &&
      settings_.panicHotkey.key >= 0) {
    program_.hotkeys.Set(hWnd(), Hotkeys::kPanicHotkeyId, settings_.panicHotkey, false);
  }
  // The keys that walk the grid and carry the front window along.
  for (int k = 0; k < kGridKeyCount; ++k) {
    const auto key = static_cast<GridKey>(k);
    program_.hotkeys.RegisterEntry(hWnd(), Hotkeys::GridKeyId(key),
                                   settings_.gridKeys[static_cast<size_t>(k)]);
  }
  PaintDesktopCell(1, 315, settings_.colorSelected, 0);
  tray_->Load();
  MoveSelectionBox(1);
  pagerShown_ = true;  // shown once the load handler returns
}

void PagerWindow::OnRefreshTick() {
  // The mouse is asked where it is only while it is over the pager (a move over a cell or a
  // miniature starts the hit test; the hit test that finds it gone stops it).
  const bool hovering = hover_.Tracking();
  if (hovering) {
    const float tpp = TwipsPerScreenPixel();
    hover_.HitTest(Left() / tpp, Top() / tpp, forms::kTwipsPerPixel / tpp);
  }
  LookForUnreported();
  tracker_.FollowFrontWindow();
  miniatureView_.UpdateThumbnails();
  Tidy();
  if (hovering) hover_.CountRestTick();
}

void PagerWindow::OnSweep() {
  tracker_.Sweep();
  Tidy();
}

void PagerWindow::HearWindowEvent(WindowEvent event, Hwnd hwnd) {
  // Any window's closing, a child control's included, shows that the system reports closes.
  if (event == WindowEvent::kForeground) foregroundHeard_ = true;
  if (event == WindowEvent::kDestroyed) closeHeard_ = true;
  // Heard inside whatever call was waiting (a switch showing a window, a message box): only
  // noted now, and acted on by the event timer.
  if (closing_ || !tracker_.Concerns(event, hwnd)) return;
  heardEvents_.emplace_back(event, hwnd);
  if (!eventTimer.Enabled()) eventTimer.SetEnabled(true);
}

void PagerWindow::ActOnWindowEvents() {
  eventTimer.SetEnabled(false);
  // Taken out first: acting on one may bring more (they wait for the next time).
  const std::vector<std::pair<WindowEvent, Hwnd>> events = std::move(heardEvents_);
  heardEvents_.clear();
  for (const auto& [event, hwnd] : events) {
    if (closing_) return;
    tracker_.OnWindowEvent(event, hwnd);
  }
  Tidy();
}

void PagerWindow::LookForUnreported() {
  if (eventsHeard_ && !(closeHeard_ && foregroundHeard_)) {
    tracker_.LookFor(!closeHeard_, !foregroundHeard_);
  }
}

void PagerWindow::Tidy() {
  miniatureView_.UnloadQueued();
  recoveryRecord_.SaveIfBehind();
  if (recoveryRecord_.WriteFailed()) {
    program_.ReportFailedWrite(Program::StoredFile::kRecoveryRecord);
  }
}

void PagerWindow::OfferWindow() {
  offerButton.SetVisible(true);
  statusLabel.SetWidth(std::max(0.0f, offerButton.Left() - 6));
}

void PagerWindow::WithdrawOffer() {
  offerButton.SetVisible(false);
  statusLabel.SetWidth(std::max(0.0f, menuButton.Left() - 6));
  offerButton.SetToolTipText("");
}

void PagerWindow::WindowTakenOn(Hwnd hwnd, const std::string& title) {
  windowMenu.ListWindow(hwnd, title);
}

void PagerWindow::HideForAutoHide() { HidePager(); }

void PagerWindow::WindowLeaving(Hwnd hwnd, int32_t miniature) {
  if (miniature > 0) gestures_.EndDragWithoutDrop(miniature);
  hover_.ForgetWindow(hwnd);
}

void PagerWindow::OnQueryUnload(forms::UnloadMode, bool& cancel) {
  // Any close of the pager from outside (the task bar, Alt+F4, the end of the session) ends
  // the program the one way that gives every window back.
  cancel = true;
  CloseAll();
}

void PagerWindow::StartDrag() {
  ws_.ReleaseCapture();
  ws_.SendMessageA(hWnd(), WM_NCLBUTTONDOWN, HTCAPTION, 0);
}

bool PagerWindow::SaveWindowPosition() {
  Rect r;
  float left = Left() / TwipsPerScreenPixel(), top = Top() / TwipsPerScreenPixel();
  // The window's real place: the system may have moved the pager (a drag by its strip).
  if (ws_.GetWindowRect(hWnd(), &r)) {
    left = static_cast<float>(r.left);
    top = static_cast<float>(r.top);
  }
  return WritePagerPosition(ws_, program_.SettingsFile(), left * forms::kTwipsPerPixel,
                            top * forms::kTwipsPerPixel);
}

void PagerWindow::CloseAll() {
  if (closing_) return;
  closing_ = true;
  ws_.WatchWindowEvents(nullptr);
  safetySweep.SetEnabled(false);
  refreshTimer.SetEnabled(false);
  eventTimer.SetEnabled(false);
  miniatureView_.DropThumbnails();
  // What must outlive the run. A failure here must never keep the windows hidden; it is
  // reported once every window is back.
  bool ignoreListSaved = false, positionSaved = false;
  try {
    ignoreListSaved = ignoreList.Save();
  } catch (...) {
  }
  try {
    positionSaved = SaveWindowPosition();
  } catch (...) {
  }
  // The windows come back without sliding.
  desktops_.SetAnimate(false);
  // Every window onto desktop 1, opaque unless the user chose a transparency.
  for (Hwnd hwnd : Table.Handles()) {
    if (!IsManaged(hwnd)) continue;
    layering_.MakeOpaque(hwnd);
    if (DesktopOf(hwnd) != 1) desktops_.Place(1, hwnd, 0, 0, 0, 0);
  }
  // Every managed window is now on desktop 1 and is shown (and the record of hidden
  // windows goes).
  desktops_.Open(1);
  recoveryRecord_.SaveIfBehind();
  if (!ignoreListSaved) program_.ReportFailedWrite(Program::StoredFile::kIgnoreList);
  if (!positionSaved) program_.ReportFailedWrite(Program::StoredFile::kSettings);
  tray_->RemoveIcon();
  ws_.ExitProcess(0);
}

}  // namespace vd
