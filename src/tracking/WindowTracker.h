// Which top-level windows the program manages: the start-up scan, the system's window events
// (a window in front is taken on, a closed one leaves, a renamed or moved one is followed),
// the offer of a window that would not be taken by itself, the slow safety sweep that catches
// what an event missed, and the front window's copies while the pager is in view. It also keeps
// what follows the front window: the auto-hide's last front window, the summoned window (brought
// forward from another desktop until another window comes forward) and the window the window menu
// moved (its miniature keeps its picture until it is clicked).
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "core/WindowTable.h"
#include "desktops/DesktopSwitcher.h"
#include "desktops/RecoveryRecord.h"
#include "desktops/WindowLayering.h"
#include "pager/MiniatureView.h"
#include "platform/WindowSystem.h"
#include "settings/Settings.h"
#include "tracking/IgnoreList.h"
#include "tracking/WindowGeometry.h"

namespace vd {

// What tracking changes on the pager.
class TrackingView {
 public:
  virtual ~TrackingView() = default;
  // A window the tracker would not take by itself is pending: the user may add it (the offer
  // button).
  virtual void OfferWindow() = 0;
  // A managed window came forward: a pending offer is withdrawn.
  virtual void WithdrawOffer() = 0;
  // A window was taken on: the window list lists it.
  virtual void WindowTakenOn(Hwnd hwnd, const std::string& title) = 0;
  // Auto-hide: a window was taken on, or the user turned to another window.
  virtual void HideForAutoHide() = 0;
  // A window is leaving the table: a drag of its miniature ends, a rest on it opens nothing.
  virtual void WindowLeaving(Hwnd hwnd, int32_t miniature) = 0;
};

class WindowTracker {
 public:
  struct Parts {
    WindowSystem& ws;
    WindowTable& table;
    const WindowGeometry& geometry;
    const Settings& settings;
    IgnoreList& ignoreList;
    DesktopSwitcher& desktops;
    WindowLayering& layering;
    RecoveryRecord& record;
    MiniatureView& miniatures;
    TrackingView& view;
    std::function<Hwnd()> pagerHandle;
  };
  explicit WindowTracker(Parts parts) : p_(std::move(parts)) {}
  WindowTracker(const WindowTracker&) = delete;
  WindowTracker& operator=(const WindowTracker&) = delete;

  // The start-up scan: every window with a caption and a border, from the top of the Z order,
  // onto the current desktop; then, once, the windows of the last run's record of translucent
  // windows that were not taken on again are made opaque.
  void Scan();
  void ReleaseUnclaimedTranslucency();
  // The window in front, read now: a new one is taken on, or offered.
  void Poll();

  // Whether the system reports window events (then the sweep is slow and reads fewer captions
  // each time; else it runs with the tick and does all the looking).
  void SetEventsHeard(bool heard) { eventsHeard_ = heard; }
  // Whether an event reported of this window is one the program acts on: events of windows it
  // neither manages nor has in front, and of the program's own windows, are dropped at once.
  bool Concerns(WindowEvent event, Hwnd hwnd) const;
  // An event reported by the system, acted on outside the call that reported it: a window in
  // front is taken on (or offered) and followed; a closed one, or one whose caption was
  // cleared, leaves the table; a renamed or moved one is followed; a cloaked one is forgotten,
  // and an uncloaked one brings the windows that came into sight.
  void OnWindowEvent(WindowEvent event, Hwnd hwnd);
  // Looks for closed windows (they leave the table) and for a new window in front (taken on
  // or followed, as when the system reports it), for a system that does not report them.
  void LookFor(bool closed, bool front);
  // The safety sweep: what an event may have missed. Closed windows leave the table, and so do
  // windows whose caption reads empty and shown windows that went out of sight (their captions
  // read in turns); a new window in front is taken on, and the front window is followed.
  void Sweep();
  // The tick's copies, while the pager is in view: the front window's record and miniature
  // follow it when its copy is due; else a copy owed to a shown window of the current desktop
  // is taken.
  void FollowFrontWindow();
  // Everything at once: the sweep, then the front window (after a click that raised a window).
  void Refresh() {
    Sweep();
    FollowFrontWindow();
  }
  // The window the program last knew in front (from the events, or the sweep).
  Hwnd FrontWindow() const { return front_; }

  // Takes a window on (force: the user accepted the offer, so the style bits are not asked).
  void AddWindow(Hwnd hwnd, const std::string& caption, int desktop, bool force);
  // The offered window, and taking it on.
  Hwnd PendingWindow() const { return pendingWindow_; }
  const std::string& PendingTitle() const { return pendingTitle_; }
  void AddPendingWindow();

  // A managed window of this desktop came forward: its record and miniature follow it, a
  // pending offer is withdrawn, a summoned window goes back, and auto-hide may hide the pager.
  // title: the window's caption when the caller has just read it, so it is not read twice.
  void UpdateActiveWindow(Hwnd hwnd, int desktop, bool capture, const std::string* title = nullptr);
  // The records and miniatures of these windows follow their windows without the side effects
  // of a window coming forward (the grid's rebuild, the options' OK).
  void RefreshQuietly(const std::vector<Hwnd>& windows, bool capture);
  // Foreground tracking starts anew: the next window to come forward only becomes the last.
  void RestartAutoHide() { lastActive_ = 0; }
  // At start: tracking starts as if a window had come forward already.
  void StartAutoHide() { lastActive_ = 1; }
  Hwnd LastActiveWindow() const { return lastActive_; }

  // Summons a managed window of another desktop onto the screen until another window comes
  // forward; a window summoned before goes back first.
  void Summon(Hwnd hwnd);
  Hwnd SummonedWindow() const { return summoned_; }
  // The summoned window goes back: hidden again when its desktop is not the current one.
  void SendSummonedWindowBack();
  // The window menu moved this window; 0 once the user clicked the pager again.
  void NoteMoved(Hwnd hwnd) { moved_ = hwnd; }
  Hwnd MovedWindow() const { return moved_; }

  // Takes a window out of the table, its miniature and the records (the window menu's Remove).
  void DropWindow(Hwnd hwnd);
  // Whether the program keeps anything at all about the window (a record, a miniature's state,
  // a capture rhythm, a layering, a place in the records on disk); false once it was removed or
  // forgotten.
  bool KnowsWindow(Hwnd hwnd) const;
  // The pager, its dialogs, the preview, a message box: every window of the program's own.
  bool IsOwnWindow(Hwnd hwnd) const;

 private:
  // The window in front, as read: a new one is taken on, or offered.
  void TakeOnFront(Hwnd foreground);
  // The managed windows that were closed.
  std::vector<Hwnd> ClosedWindows();
  // Takes a closed or caption-less window out of the table, giving back a window the program
  // hid.
  void ForgetWindow(Hwnd hwnd);
  // The record and the miniature follow the window (its caption, its place and size, a new
  // picture when asked).
  void FollowWindow(Hwnd hwnd, bool capture, const std::string* title);
  // Cloaked by the compositor, or on another of the system's own desktops: the user cannot
  // see it.
  bool OutOfSight(Hwnd hwnd) const;
  // Takes a window of the last run's record back with its transparency and its own layering;
  // false when the record does not name it (or it now belongs to another process).
  bool AdoptRecordedTranslucency(Hwnd hwnd);

  Parts p_;
  Hwnd pendingWindow_ = 0;
  std::string pendingTitle_;
  Hwnd lastActive_ = 0;
  Hwnd summoned_ = 0;
  Hwnd moved_ = 0;
  std::map<int, int32_t> arrivals_;  // arrival counters by desktop
  // The sweep reads the captions of a share of the table each time: every caption is read
  // within this many sweeps (two seconds when the sweep runs with the 100 ms tick, ten seconds
  // at its slow pace when events report renames). captionTurn_ is the row read last.
  static constexpr int kCaptionTurnsPolled = 20;
  static constexpr int kCaptionTurnsHeard = 5;
  int captionTurn_ = 0;
  bool eventsHeard_ = false;
  Hwnd front_ = 0;  // the window in front, as last reported or read
};

}  // namespace vd
