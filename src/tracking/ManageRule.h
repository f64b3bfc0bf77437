// Whether the pager takes a window on, and why not: one pure decision over what is known of
// the window, in the order the checks must run (a window the program already manages is never
// taken twice, its own windows never, a window owned by a managed one goes with its owner, one
// the user cannot see is left alone, an ignored caption is neither taken nor offered).
#pragma once

namespace vd {

struct WindowCandidate {
  bool exists = true;             // a window at all (not handle 0)
  bool managed = false;           // the pager manages it already
  bool ownWindow = false;         // one of the program's own windows
  bool ownerManaged = false;      // owned by a window the pager manages (a dialog, a palette)
  bool hasCaption = true;         // its caption reads non-empty
  bool outOfSight = false;        // cloaked, or on another of the system's own desktops
  bool visibleWithBorder = true;  // it has the style of a window the user works in
  bool ignored = false;           // its caption is on the ignore list
  bool acceptedOffer = false;     // the user accepted it from the offer button
};

enum class ManageVerdict {
  kTake,   // a row, a miniature, a window-menu entry
  kOffer,  // offered through the pager's offer button
  kNotAWindow,
  kAlreadyManaged,
  kOwnWindow,
  kGoesWithOwner,  // hidden, shown and moved with its owner, never on its own
  kNoCaption,
  kOutOfSight,
  kIgnored,
};

constexpr ManageVerdict DecideManagement(const WindowCandidate& w) {
  if (!w.exists) return ManageVerdict::kNotAWindow;
  if (w.managed) return ManageVerdict::kAlreadyManaged;
  if (w.ownWindow) return ManageVerdict::kOwnWindow;
  if (w.ownerManaged) return ManageVerdict::kGoesWithOwner;
  if (!w.hasCaption) return ManageVerdict::kNoCaption;
  if (w.outOfSight) return ManageVerdict::kOutOfSight;
  if (w.ignored) return ManageVerdict::kIgnored;
  if (!w.visibleWithBorder && !w.acceptedOffer) return ManageVerdict::kOffer;
  return ManageVerdict::kTake;
}

}  // namespace vd
