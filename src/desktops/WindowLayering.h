// How the managed windows are layered. A window's own layering is how its application layered
// it when it was taken on (or what the last run's record says it was); making a window opaque
// gives that back instead of removing the layered style, and a window with a transparency the
// user chose gets that transparency again after it was shown.
#pragma once

#include <optional>
#include <unordered_map>
#include <utility>
#include <vector>

#include "core/WindowTable.h"
#include "desktops/OwnLayering.h"
#include "desktops/RecoveryRecord.h"
#include "platform/WindowSystem.h"

namespace vd {

class WindowLayering {
 public:
  WindowLayering(WindowSystem& ws, const WindowTable& table) : ws_(ws), table_(table) {}
  WindowLayering(const WindowLayering&) = delete;
  WindowLayering& operator=(const WindowLayering&) = delete;

  // Reads how the application layered a window that is being taken on.
  void ReadOwn(Hwnd hwnd);
  // Takes this as the window's own layering; none: its application did not layer it.
  void SetOwn(Hwnd hwnd, const std::optional<OwnLayering>& own);
  std::optional<OwnLayering> Own(Hwnd hwnd) const;

  // Opaque again: back to the window's own layering, else without the layered style. A window
  // that refuses changes is left as it is.
  void MakeOpaque(Hwnd hwnd);
  // Sets the transparency the user chose for a managed window; false when there is none.
  bool ReapplyTransparency(Hwnd hwnd);

  // The managed windows with a transparency the user chose, in table order, with their owner
  // process and their own layering: what the record of translucent windows holds.
  std::vector<std::pair<Hwnd, RecordedTranslucency>> TranslucentWindows() const;

  void Forget(Hwnd hwnd) { own_.erase(hwnd); }
  bool Knows(Hwnd hwnd) const { return own_.count(hwnd) != 0; }

 private:
  WindowSystem& ws_;
  const WindowTable& table_;
  std::unordered_map<Hwnd, OwnLayering> own_;
};

}  // namespace vd
