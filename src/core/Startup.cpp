// The pager's construction, its load handler (the order in which the program comes up) and
// CloseAll (the order in which it goes down, giving every window back to the user).
#include <cmath>

#include "core/Program.h"
#include "core/Text.h"
#include "core/Transparency.h"
#include "core/frmMain.h"
#include "interaction/MessageDialog.h"
#include "settings/SettingsFile.h"
#include "settings/TrayIcon.h"
#include "settings/frmOptions.h"

namespace vd {

using forms::ScaleMode;

frmMain::frmMain(Program& program)
    : forms::Form(program.backend, "frmMain"),
      titleStrip(*this, "titleStrip", ScaleMode::kTwips),
      Label2(titleStrip, "Label2", "VUEDECK"),
      Label3(titleStrip, "Label3", "Virtual Desktop"),
      offerButton(*this, "offerButton"),
      cmdMenu(*this, "cmdMenu"),
      statusLabel(*this, "statusLabel"),
      cells(*this, "cells", ScaleMode::kTwips),
      selectionBox(*this, "selectionBox"),
      txthWnd(*this, "txthWnd"),
      cmdShow(*this, "cmdShow", "Show"),
      cmdHide(*this, "cmdHide", "Hide"),
      miniatures(*this, "miniatures", ScaleMode::kTwips),
      captureBuffer(*this, "captureBuffer", ScaleMode::kPixels),
      foregroundPoll(*this, "foregroundPoll", kForegroundPollMs, false),
      refreshTimer(*this, "refreshTimer", 100, true),
      tmrOverDesktop(*this, "tmrOverDesktop", 1, false),
      tmrMouseOver(*this, "tmrMouseOver", 1, false),
      tmrFirstPicture(*this, "tmrFirstPicture", 100, false),
      windowMenu(nullptr, "windowMenu", "Options"),
      mnuSummon(&windowMenu, "mnuSummon", "Summon"),
      mnuShowAll(&windowMenu, "mnuShowAll", "Show on All Desktop"),
      mnuOnTop(&windowMenu, "mnuOnTop", "Always On Top"),
      mnuMoveTo(&windowMenu, "mnuMoveTo", "Move To"),
      mnuDesktop(mnuMoveTo, "mnuDesktop", "Desktop 0"),
      mnuTransparent(&windowMenu, "mnuTransparent", "Tranparent"),
      mnuOpaque(&mnuTransparent, "mnuOpaque", "Opaque"),
      mnuTransHigh(&mnuTransparent, "mnuTransHigh", "High"),
      mnuTransMedium(&mnuTransparent, "mnuTransMedium", "Medium"),
      mnuTransLow(&mnuTransparent, "mnuTransLow", "Low"),
      mnuMax(&windowMenu, "mnuMax", "Maximize"),
      mnuMinimize(&windowMenu, "mnuMinimize", "Minimize"),
      mnuClose(&windowMenu, "mnuClose", "Close"),
      mnuRemove(&windowMenu, "mnuRemove", "Remove"),
      mnuSep(&windowMenu, "mnuSep", "-"),
      mnuWin(windowMenu, "mnuWin", "Window Title"),
      mnuMenu(nullptr, "mnuMenu", "Menu"),
      mnuMainOption(&mnuMenu, "mnuMainOption", "Options..."),
      mnuAbout(&mnuMenu, "mnuAbout", "About"),
      mnuSep3(&mnuMenu, "mnuSep3", "-"),
      mnuExit(&mnuMenu, "mnuExit", "Exit"),
      program_(program),
      ws_(program.ws) {
  // The pager: no system caption bar (the title strip stands in for it), positions of its
  // controls in pixels, its own place and size in twips.
  SetScaleMode(ScaleMode::kPixels);
  SetCaption("");
  SetShowInTaskbar(true);
  SetBackColor(0x202020);
  SetVisible(false);
  const int tppX = program.backend.TwipsPerPixelX();
  const int tppY = program.backend.TwipsPerPixelY();
  Move(0, 0, 93.0f * static_cast<float>(tppX), 84.0f * static_cast<float>(tppY));

  titleStrip.Move(0, 0, 93, 20);
  titleStrip.SetBackColor(0x000000);
  forms::Font bold;
  bold.bold = true;
  Label2.SetFont(bold);
  // Wider than the name needs in Tahoma, so that a substituted font never clips it.
  Label2.Move(60, 40, 900, 195);
  Label2.SetForeColor(0xFFFFFF);
  Label2.SetBackColor(0x000000);
  Label3.Move(990, 40, 2355, 195);
  Label3.SetForeColor(0xC0C0C0);
  Label3.SetBackColor(0x000000);

  cmdMenu.Move(68, 1, 20, 20);
  cmdMenu.SetCaption("...");
  cmdMenu.SetToolTipText("Menu");
  offerButton.Move(47, 1, 20, 20);
  offerButton.SetCaption("+");
  offerButton.SetVisible(false);

  statusLabel.Move(28, 116, 60, 13);
  statusLabel.SetForeColor(0xFFFFFF);
  statusLabel.SetBackColor(0x202020);
  txthWnd.SetToolTipText("A window handle to show or hide");
  cmdShow.SetToolTipText("Show the window");
  cmdHide.SetToolTipText("Hide the window (managed windows only)");

  // Cell 1 exists with the form; element 0 is the template the other cells are made from.
  cells(0).Move(1, 22, 90, 60);
  cells(0).SetVisible(false);
  forms::PictureBox& cell1 = cells.Load(1);
  cell1.SetVisible(true);
  selectionBox.Move(0, 21, 93, 63);

  miniatures(0).SetBackColor(0xFFFFFF);
  miniatures(0).SetVisible(false);
  captureBuffer.SetAutoSize(true);
  captureBuffer.SetVisible(false);

  // The window menu's templates and the entries no command stands behind stay hidden.
  mnuDesktop(0).SetVisible(false);
  mnuWin(0).SetVisible(false);
  mnuMax.SetVisible(false);
  mnuMinimize.SetVisible(false);
  mnuClose.SetVisible(false);

  LoadEvent = [this] { Form_Load(); };
  QueryUnload = [this](forms::UnloadMode mode, bool& cancel) { Form_QueryUnload(mode, cancel); };
  // Dragging the pager by its background, its title strip and its labels.
  auto drag = [this](int, int, float, float) { StartDrag(); };
  MouseDown = drag;
  titleStrip.MouseDown = drag;
  Label2.MouseDown = drag;
  Label3.MouseDown = drag;
  statusLabel.MouseDown = drag;

  foregroundPoll.Tick = [this] {
    const Hwnd foreground = ws_.GetForegroundWindow();
    // Nearly every poll finds a managed window or the pager in front, which AddWindow would
    // turn away: its caption is not read then.
    if (foreground == 0 || foreground == hWnd() || IsManaged(foreground)) return;
    AddWindow(foreground, GetWindowTitle(foreground), CurrentDesktop, false);
  };
  refreshTimer.Tick = [this] { Timer2_Timer(); };
  tmrOverDesktop.Tick = [this] { tmrOverDesktop_Timer(); };
  tmrMouseOver.Tick = [this] { tmrMouseOver_Timer(); };
  tmrFirstPicture.Tick = [this] { TakeFirstPictures(); };

  cells.MouseMove = [this](int i, int, int, float, float) { lblDesktop_MouseMove(i); };
  cells.MouseUp = [this](int i, int button, int, float, float) { lblDesktop_MouseUp(i, button); };
  miniatures.MouseDown = [this](int i, int b, int, float x, float y) {
    picWin_MouseDown(i, b, x, y);
  };
  miniatures.MouseMove = [this](int i, int b, int, float x, float y) {
    picWin_MouseMove(i, b, x, y);
  };
  miniatures.MouseUp = [this](int i, int b, int, float x, float y) { picWin_MouseUp(i, b, x, y); };
  miniatures.CaptureLost = [this](int i) { EndDragWithoutDrop(i); };
  cmdShow.Click = [this] { cmdShow_Click(); };
  cmdHide.Click = [this] { cmdHide_Click(); };
  cmdMenu.Click = [this] { cmdMenu_Click(); };
  offerButton.Click = [this] { cmdQuery_Click(); };

  mnuSummon.Click = [this] { mnuSummon_Click(); };
  mnuShowAll.Click = [this] { mnuShowAll_Click(); };
  mnuOnTop.Click = [this] { mnuOnTop_Click(); };
  mnuDesktop.Click = [this](int i) { mnuDesktop_Click(i); };
  mnuOpaque.Click = [this] { mnuOpaque_Click(); };
  mnuTransHigh.Click = [this] { ApplyTransparency(SelectedWindow, 100); };
  mnuTransMedium.Click = [this] { ApplyTransparency(SelectedWindow, 150); };
  mnuTransLow.Click = [this] { ApplyTransparency(SelectedWindow, 200); };
  mnuRemove.Click = [this] { mnuRemove_Click(); };
  mnuWin.Click = [this](int i) { mnuWin_Click(i); };
  mnuMainOption.Click = [this] { mnuMainOption_Click(); };
  mnuAbout.Click = [this] { mnuAbout_Click(); };
  mnuExit.Click = [this] { mnuExit_Click(); };
}

frmMain::~frmMain() = default;

void frmMain::Form_Load() {
  WindowSystem& ws = ws_;
  const std::string settings = program_.SettingsFile();

  // 1. The cell colours (a value the file lacks or that is not a number keeps the built-in).
  auto colour = [&](const char* key, uint32_t& into) {
    if (auto v = ToInt32(ReadIniValue(ws, settings, "SETUP", key))) {
      into = static_cast<uint32_t>(*v);
    } else if (auto d = ToInt32(DefaultSetting("SETUP", key))) {
      into = static_cast<uint32_t>(*d);
    }
  };
  colour("color_hover", ColorHover);
  colour("color_selected", ColorSelected);
  colour("color_normal", ColorNormal);

  // 2. Foreground tracking starts as if a window had been refreshed already.
  LastActiveWindow = 1;
  // 3. The ignore list: the built-in entries, then the file's.
  SetIgnoreList();
  // 4. Always on top.
  ws.SetWindowPos(hWnd(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE);
  // 5. The screen's size in pixels.
  ScreenWidthPx = static_cast<float>(ws.GetSystemMetrics(SM_CXSCREEN));
  ScreenHeightPx = static_cast<float>(ws.GetSystemMetrics(SM_CYSCREEN));
  // 6. The cell size as laid out in the form.
  CellWidth = cells(1).Width();
  CellHeight = cells(1).Height();
  // 7.
  CurrentDesktop = 1;
  DesktopCount = 1;
  // 8. The pager's own window procedure takes the hotkeys and passes on everything else.
  previousProc_ = SetWindowProc([this](uint32_t msg, uintptr_t wParam, intptr_t lParam) {
    return HotkeyWindowProc(msg, wParam, lParam);
  });
  // 9. The foreground poll. The refresh is started again with it: two timers of one interval
  // started together fall due together and wake the program once instead of twice.
  foregroundPoll.SetEnabled(true);
  refreshTimer.SetEnabled(false);
  refreshTimer.SetEnabled(true);
  // 10.
  FillWindowMenus(1);
  // 11. The grid from "columns" and "rows".
  SetupDesktops(ReadSetting(ws, settings, "SETUP", "columns"),
                ReadSetting(ws, settings, "SETUP", "rows"));
  // 12. The first scan: every window found belongs to desktop 1. The windows an earlier run
  // made translucent keep their transparency when they are taken on again, and are made
  // opaque when they are not.
  LoadTranslucencyRecord();
  GetActiveWindows();
  ReleaseUnclaimedTranslucency();
  // 13.
  program_.Options().LoadOptions();
  // 14.
  cells(1).SetBackColor(ColorSelected);
  statusLabel.SetCaption("Desktop 1");
  // 15, 16.
  program_.Options().setHideUnhide(false);
  program_.Options().setAlertHotkeys(false);
  // 17.
  PaintDesktopCell(1, 315, ColorSelected, 0);
  // 18. The tray icon.
  program_.Tray().Load();
  // 19.
  MoveSelectionBox(1);
}

void frmMain::Form_QueryUnload(forms::UnloadMode, bool& cancel) {
  // Any close of the pager from outside (the task bar, Alt+F4, the end of the session) ends
  // the program the one way that gives every window back.
  cancel = true;
  CloseAll();
}

void frmMain::StartDrag() {
  ws_.ReleaseCapture();
  ws_.SendMessageA(hWnd(), WM_NCLBUTTONDOWN, HTCAPTION, 0);
}

void frmMain::SaveWindowPosition() {
  const std::string settings = program_.SettingsFile();
  Rect r;
  float left = Left(), top = Top();
  // The window's real place: the system may have moved the pager (a drag by its strip).
  if (ws_.GetWindowRect(hWnd(), &r)) {
    left = static_cast<float>(r.left * ws_.TwipsPerPixelX());
    top = static_cast<float>(r.top * ws_.TwipsPerPixelY());
  }
  ws_.WritePrivateProfileStringA("SETUP", "left", FormatSingle(left), settings);
  ws_.WritePrivateProfileStringA("SETUP", "top", FormatSingle(top), settings);
}

void frmMain::CloseAll() {
  if (closing_) return;
  closing_ = true;
  foregroundPoll.SetEnabled(false);
  refreshTimer.SetEnabled(false);
  // 1, 2. What must outlive the run. A failure here must never keep the windows hidden; it is
  // reported once every window is back.
  bool ignoreListSaved = false;
  try {
    ignoreListSaved = SaveIgnoreList();
  } catch (...) {
  }
  try {
    SaveWindowPosition();
  } catch (...) {
  }
  // 3. The windows come back without sliding.
  AnimateMode = false;
  // 4. Every window onto desktop 1, opaque unless the user chose a transparency.
  for (Hwnd hwnd : Table.Handles()) {
    if (!IsManaged(hwnd)) continue;
    MakeOpaque(hwnd);
    if (DesktopOf(hwnd) != 1) PlaceWindow(1, hwnd, 0, 0, 0, 0);
  }
  // 5. Every managed window is now on desktop 1 and is shown (and the record of hidden
  // windows goes).
  OpenDesktop(1);
  SaveRecoveryRecord();
  if (!ignoreListSaved) {
    ShowMessage(program_, "Ignore List",
                "The ignore list could not be saved. ignore.list keeps the list as it was.",
                "critical", "Ok;");
  }
  // 6, 7.
  program_.Tray().RemoveIcon();
  ws_.ExitProcess(0);
}

}  // namespace vd
