// The windows another window owns: its dialogs, its tool palettes, its property sheets. They
// belong where their owner is, but the system neither hides nor shows them with it, so the
// program does: hiding a managed window first hides the shown windows it owns (through any
// chain of owners) and keeps which they were; showing it again shows those after it. An owned
// window that is managed itself (its owner was not managed when it was taken on) goes its own
// way.
#pragma once

#include <unordered_map>
#include <vector>

#include "core/WindowTable.h"
#include "platform/WindowSystem.h"

namespace vd {

// The window at the top of the window's chain of owners; the window itself when it has none.
Hwnd TopOwner(WindowSystem& ws, Hwnd hwnd);

class OwnedWindows {
 public:
  OwnedWindows(WindowSystem& ws, const WindowTable& table) : ws_(ws), table_(table) {}
  OwnedWindows(const OwnedWindows&) = delete;
  OwnedWindows& operator=(const OwnedWindows&) = delete;

  // A switch hides many owners: between these the top-level windows are read once, not once
  // for each owner.
  void HoldSurvey() { held_ = true; }
  void ReleaseSurvey();

  // The shown windows that `owner` owns and that are not managed themselves, top first.
  std::vector<Hwnd> ShownOwnedBy(Hwnd owner);
  // The program hid these windows together with `owner`.
  void HiddenWith(Hwnd owner, const std::vector<Hwnd>& owned);
  // The windows hidden with `owner`, which the program no longer keeps for it.
  std::vector<Hwnd> TakeHiddenWith(Hwnd owner);
  bool KeepsAnyFor(Hwnd owner) const { return hiddenWith_.count(owner) != 0; }

 private:
  void Survey();

  WindowSystem& ws_;
  const WindowTable& table_;
  bool held_ = false;
  bool surveyed_ = false;
  std::unordered_map<Hwnd, std::vector<Hwnd>> shownByOwner_;  // the survey: top owner -> shown
  std::unordered_map<Hwnd, std::vector<Hwnd>> hiddenWith_;
};

}  // namespace vd
