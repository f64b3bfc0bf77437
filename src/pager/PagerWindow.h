// The pager: the program's main window. It owns its controls, the window table and the
// components that hold the program's behaviour (window tracking, the desktops and their switch,
// the miniatures, the hover, the gestures on the miniatures, the window menu, the layering of
// windows and the records on disk), gives each what it needs when it is made, and wires its
// controls' events and timers to them. What is left to the form itself:
//
//   pager/PagerWindow.cpp           construction and wiring, the load handler, the tick,
//                                   CloseAll, the pager's place
//   pager/Layout.cpp                the title strip, the grid, the cell colours, the selection box
//   pager/PagerVisibility.cpp       hiding and showing the pager, keeping it on the screen
//   pager/HotkeyDispatch.cpp        the pager's window procedure and the hotkey actions
//   pager/ApplySettings.cpp         applying a grid and confirmed settings
//   gestures/MainMenu.cpp           the main menu, the offer button and their dialogs
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <tuple>
#include <unordered_map>
#include <vector>

#include "core/WindowTable.h"
#include "desktops/DesktopSwitcher.h"
#include "desktops/RecoveryRecord.h"
#include "desktops/WindowLayering.h"
#include "forms/ControlArray.h"
#include "forms/Controls.h"
#include "forms/Form.h"
#include "forms/Menu.h"
#include "forms/Timer.h"
#include "gestures/MiniatureGestures.h"
#include "gestures/WindowMenu.h"
#include "options/OptionsHost.h"
#include "pager/CellPainter.h"
#include "pager/HoverTracker.h"
#include "pager/MiniatureView.h"
#include "platform/WindowSystem.h"
#include "settings/Settings.h"
#include "tracking/IgnoreList.h"
#include "tracking/WindowGeometry.h"
#include "tracking/WindowTracker.h"

namespace vd {

class Program;
class DesktopNote;
class PreviewWindow;
class TrayIcon;

class PagerWindow : public forms::Form,
                    public OptionsHost,
                    private DesktopView,
                    private TrackingView {
 public:
  explicit PagerWindow(Program& program);
  ~PagerWindow() override;

  // ---- What the options dialog asks of the pager -------------------------------------------
  Hwnd PagerHandle() const override { return hWnd(); }
  int NumberOfDesktops() const override { return desktops_.Count(); }
  void SetDialogOpen(bool open) override { dialogOpen_ = open; }
  GridChange ApplySettings(bool rebuildGrid) override;
  // The options' "Clear List": the file goes, the built-in entries stay.
  void ClearIgnoreList() override { ignoreList.Clear(); }

  // ---- Controls --------------------------------------------------------------------------
  forms::PictureBox titleStrip;  // drags the pager; carries the name and the buttons
  forms::Label productName;      // "VUEDECK" on the strip
  forms::Label productSubtitle;  // "Virtual Desktop" on the strip
  forms::Button offerButton;     // offers a window not taken by itself
  forms::Button menuButton;      // opens the main menu
  forms::Label statusLabel;      // the status caption
  forms::ControlArray<forms::PictureBox> cells;  // the desktop cells, 1..the number of desktops
  forms::Shape selectionBox;                     // the box around the current cell
  forms::TextBox handleField;                    // a handle for Show / Hide
  forms::Button showButton;
  forms::Button hideButton;
  forms::ControlArray<forms::PictureBox> miniatures;  // by miniature number; 0 the template
  // The names in the named desktops' cells, by desktop (none where the cell has no name or is
  // too low for a line of text); each stands in its cell, and goes before it.
  std::vector<std::unique_ptr<forms::Label>> cellNames;
  // The safety sweep: what the system's window events may have missed, every two seconds;
  // where the system reports no events, it does all the looking every 100 ms, with the tick.
  static constexpr unsigned kHeardSweepMs = 2000;
  static constexpr unsigned kPolledSweepMs = 100;
  forms::Timer safetySweep;
  // The tick, every 100 ms while the pager is in view: the front window's copies, the hit test
  // while the mouse is over the pager, the live thumbnails.
  forms::Timer refreshTimer;
  // Acts on the window events heard since it was started, outside the call they came in.
  forms::Timer eventTimer;

  // ---- Menus (used only as popup menus) ----------------------------------------------------
  WindowMenu windowMenu;     // opened by a right click on a miniature
  forms::MenuItem mainMenu;  // the main menu
  forms::MenuItem optionsEntry;
  forms::MenuItem aboutEntry;
  forms::MenuItem exitSeparator;
  forms::MenuItem exitEntry;

  // ---- Shared state of the desktops ----------------------------------------------------------
  WindowTable Table;
  // Whether the pager is shown (not put away by the user, auto-hide or a panic), and whether
  // one of its dialogs is open (the pager is then never hidden).
  bool PagerShown() const { return pagerShown_; }
  bool DialogOpen() const { return dialogOpen_; }

  IgnoreList ignoreList;  // the captions of windows never managed

  // Ends the program: saves the ignore list and the pager's place, puts every managed window
  // back on desktop 1, shown, removes the tray icon and ends the process.
  void CloseAll();

  // ---- The window table's windows -------------------------------------------------------------
  // What the pager reads off a window, and the screen and cell sizes that scale it.
  WindowGeometry geometry;
  using ScaledRect = WindowGeometry::ScaledRect;
  bool IsManaged(Hwnd hwnd) const { return Table.Contains(hwnd); }
  // The desktop of a managed window, and the number of its miniature; 0 for any other window.
  int DesktopOf(Hwnd hwnd) const {
    const ManagedWindow* w = Table.Find(hwnd);
    return w != nullptr ? w->desktop : 0;
  }
  int32_t MiniatureOf(Hwnd hwnd) const {
    const ManagedWindow* w = Table.Find(hwnd);
    return w != nullptr ? w->miniature : 0;
  }
  // The window whose miniature has this number; 0 for none.
  Hwnd WindowOfMiniature(int32_t miniature) const { return Table.WindowWithMiniature(miniature); }

  // ---- Confirmed settings (pager/ApplySettings.cpp) ----------------------------------------
  // A new grid of columns x rows (each pulled into 1 to 9): windows of vanished desktops go to
  // the last remaining one, a panic desktop that vanished turns the panic hotkey off, and the
  // last desktop opens when the current one vanished or windows were moved onto it.
  GridChange ApplyGrid(int columns, int rows);
  // Clears the pictures of the current desktop's miniatures, so that they are drawn afresh.
  void BlankCurrentMiniatures();

  // ---- Pager show and hide (pager/PagerVisibility.cpp) ---------------------------------------
  void HidePager();
  void ShowPager();

  // ---- Layout and appearance (pager/Layout.cpp) ---------------------------------------------
  // Builds the grid of columns x rows cells (each pulled into 1 to 9) and sizes and places the
  // pager from the settings.
  void SetupDesktops(int columnCount, int rowCount);
  void FollowScreenScale();
  void PaintDesktopCell(int index, float angle, uint32_t color1, uint32_t color2);

  // ---- The timers (pager/PagerWindow.cpp) ---------------------------------------------------
  // Every 100 ms while the pager is in view: the hit test over the cells and the count of a rest
  // on a miniature towards its preview (while the mouse is over the pager), what the system
  // does not report, the front window's copies, the live thumbnails, the records on disk.
  void OnRefreshTick();
  // The safety sweep, and the window events heard since the last time.
  void OnSweep();
  void ActOnWindowEvents();
  // Until the system has shown that it reports windows coming to the front and closing (Wine
  // reports neither), the tick looks for the window in front and the closed windows; put
  // away, the sweep does it, and a hotkey looks first.
  void LookForUnreported();
  // Whether the system reports window events.
  bool EventsHeard() const { return eventsHeard_; }

  // The preview of hidden windows and the notification-area icon, the pager's own.
  PreviewWindow& Preview() { return *preview_; }
  TrayIcon& Tray() { return *tray_; }
  DesktopNote& Note() { return *note_; }
  // Hover over the cells and miniatures, and the preview it opens.
  HoverTracker& Hover() { return hover_; }
  // The current desktop, the number of desktops, and the switches between them.
  DesktopSwitcher& Desktops() { return desktops_; }
  // Which windows are managed, the offer, the summoned and the moved window.
  WindowTracker& Tracker() { return tracker_; }
  // The miniatures' placing, stacking, pictures and capture rhythm.
  MiniatureView& Miniatures() { return miniatureView_; }
  // Presses, clicks, drags and drops on the miniatures.
  MiniatureGestures& Gestures() { return gestures_; }

  // Set by the program: shows the options dialog, and takes it away (a panic leaves nothing of
  // the program's on the screen).
  std::function<void()> OpenOptionsDialog;
  std::function<void()> CloseOptions;

 private:
  bool SaveWindowPosition();  // false when it could not be written
  void KeepPagerOnScreen();
  void MoveSelectionBox(int index);
  // Adds the next desktop's cell at this column and row of the grid.
  void AddDesktop(int column, int row);
  // Draws the title strip's picture (the strip's black background and its band of colour).
  void DrawTitleStrip();
  // Clicks on the pager (pager/Layout.cpp).
  void OnCellMouseUp(int index, int button);
  void ShowTypedWindow();
  void HideTypedWindow();
  // The main menu and the offer button (gestures/MainMenu.cpp).
  void OpenMainMenu();
  void OfferPendingWindow();
  void OpenOptions();
  void ShowAbout();
  void ConfirmExit();
  // The pager's window procedure and the hotkey actions (pager/HotkeyDispatch.cpp).
  intptr_t HotkeyWindowProc(uint32_t msg, uintptr_t wParam, intptr_t lParam);
  void HandleHotkey(int id);
  // A switch by a hotkey: the same switch as a click on the cell, then the status caption and,
  // with the pager put away, the note that tells the desktop.
  void SwitchByKey(int desktop);
  void WalkGrid(GridKey key);
  // Sends the front window (a managed one of this desktop, not shown on all) to the desktop,
  // the focus going to the next window here; or, following it, carries it there.
  void SendFrontWindow(int desktop, bool follow);
  void OnLoad();
  void OnQueryUnload(forms::UnloadMode mode, bool& cancel);
  void StartDrag();  // lets the system move the borderless pager with the mouse

  Program& program_;
  WindowSystem& ws_;
  Settings& settings_;  // the program's settings in effect
  std::unique_ptr<PreviewWindow> preview_;
  std::unique_ptr<TrayIcon> tray_;
  std::unique_ptr<DesktopNote> note_;  // tells the desktop a hotkey opened, the pager put away
  int lastLeft_ = 0;                   // the desktop the last switch left; 0: none yet
  bool eventsHeard_ = false;           // the system reports window events
  bool foregroundHeard_ = false;       // it reported a window coming to the front
  bool closeHeard_ = false;            // it reported a window closing
  // The window events heard and not yet acted on, in the order they came.
  std::vector<std::pair<WindowEvent, Hwnd>> heardEvents_;
  void HearWindowEvent(WindowEvent event, Hwnd hwnd);
  // What the tick and the sweep both finish with: miniatures of windows that left unloaded, the
  // records on disk written when behind.
  void Tidy();
  forms::WindowProc previousProc_;
  bool closing_ = false;
  bool pagerShown_ = false;
  bool dialogOpen_ = false;
  // How each managed window was layered by its own application.
  WindowLayering layering_;
  // The records of the windows the program hid and of those it made translucent.
  RecoveryRecord recoveryRecord_;
  DesktopSwitcher desktops_;
  WindowTracker tracker_;
  // What tracking changes on the pager (TrackingView).
  void OfferWindow() override;
  void WithdrawOffer() override;
  void WindowTakenOn(Hwnd hwnd, const std::string& title) override;
  void HideForAutoHide() override;
  void WindowLeaving(Hwnd hwnd, int32_t miniature) override;
  // What a switch changes on the pager (DesktopView).
  void SwitchBegins(int from, int to) override;
  void DesktopShowing(int desktop) override;
  void FollowedToDesktop(Hwnd hwnd) override;
  void DesktopShown(int desktop) override;
  void WindowHiding(Hwnd hwnd) override;
  CellPainter cellPainter_;  // the cells' gradients
  // Lays out the status row below the grid: the status caption and the Show/Hide field.
  void LayOutStatusRow();
  // Puts each named desktop's name in its cell, and the current one's in the tray icon's tip.
  void ShowDesktopNames();
  void ShowDesktopInTray(int desktop);  // the tray tip names a named desktop
  // The current desktop's windows get new pictures (after the settings or the scale changed).
  void RecaptureCurrentDesktop();
  MiniatureView miniatureView_;  // after the controls, the table and the geometry it is given
  HoverTracker hover_;           // after the preview and the miniatures' pictures
  MiniatureGestures gestures_;   // after every component it is given
};

}  // namespace vd
