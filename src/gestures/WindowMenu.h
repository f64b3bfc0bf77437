// The window menu, opened by a right click on a miniature: Summon, Show on All Desktop, Always
// On Top, Move To, the transparency levels, Remove, and the windows of the same desktop. Timers
// keep running while the menu (or the Remove question) is open, so every command first checks
// that its window is still managed.
#pragma once

#include <functional>
#include <string>

#include "core/WindowTable.h"
#include "desktops/DesktopSwitcher.h"
#include "desktops/RecoveryRecord.h"
#include "desktops/WindowLayering.h"
#include "forms/ControlArray.h"
#include "forms/Controls.h"
#include "forms/Form.h"
#include "forms/Menu.h"
#include "platform/WindowSystem.h"
#include "tracking/IgnoreList.h"
#include "tracking/WindowTracker.h"

namespace vd {

class Program;

class WindowMenu {
 public:
  struct Parts {
    forms::Form& pager;  // shows the menu
    Program& program;    // asks the Remove question
    WindowSystem& ws;
    WindowTable& table;
    DesktopSwitcher& desktops;
    WindowTracker& tracker;
    WindowLayering& layering;
    RecoveryRecord& record;
    IgnoreList& ignoreList;
    const forms::ControlArray<forms::PictureBox>& cells;
    forms::ControlArray<forms::PictureBox>& miniatures;
    std::function<void(Hwnd)> activateWindow;      // what a pick in the window list does
    std::function<std::string(int)> desktopTitle;  // "Desktop 3", or "3: Mail" when named
  };
  explicit WindowMenu(Parts parts);
  WindowMenu(const WindowMenu&) = delete;
  WindowMenu& operator=(const WindowMenu&) = delete;

  forms::MenuItem popup;
  forms::MenuItem summonEntry;
  forms::MenuItem showOnAllEntry;
  forms::MenuItem onTopEntry;
  forms::MenuItem moveToEntry;
  forms::MenuArray moveToEntries;  // "Move To" entries by desktop; 0 is a hidden template
  forms::MenuItem transparencyEntry;
  forms::MenuItem opaqueEntry;
  forms::MenuItem highTransparencyEntry;
  forms::MenuItem mediumTransparencyEntry;
  forms::MenuItem lowTransparencyEntry;
  forms::MenuItem removeEntry;
  forms::MenuItem windowListSeparator;
  forms::MenuItem windowListTitle;     // the desktop's name, when it has one
  forms::MenuArray windowListEntries;  // the windows of one desktop; 0 is a hidden template

  // Opens the menu at the cursor with the states of a managed window.
  void Open(Hwnd window);
  // A right click on a cell prepares the menu for that cell's desktop; no menu is shown.
  void PrepareForCell(int desktop);
  // The window list holds the desktop's windows and "Move To" every other desktop.
  void Fill(int desktop);
  // A window was taken on: the window list gets it.
  void ListWindow(Hwnd hwnd, const std::string& title);
  // The grid shrank to this many desktops: "Move To" loses the others.
  void ForgetDesktopsBeyond(int count);
  // What "Move To" does for a managed window: its miniature goes into the target's cell and
  // the window leaves the current desktop (or comes to it).
  void MoveWindowTo(Hwnd window, int target);
  // Set by some commands: the next activation of a window (a click on a miniature, a pick in
  // the window list) only clears it. True when it was set.
  bool SkipsNextActivation() const { return skipNextActivation_; }
  bool ConsumeSkippedActivation();

 private:
  void Summon();
  void ToggleShowOnAll();
  void ToggleOnTop();
  void MoveTo(int index);
  void MakeOpaque();
  void ApplyTransparency(int alpha);
  void Remove();
  void BringListedWindowForward(int index);
  // The record of the window the menu was opened for, when the program may change the window:
  // a window that refuses changes stays on every desktop, opaque and not on top.
  ManagedWindow* Changeable();

  Parts p_;
  Hwnd window_ = 0;  // the window the menu was opened for
  int listed_ = 0;   // the entries of the window list
  bool skipNextActivation_ = false;
};

}  // namespace vd
