// The start of a run after one that ended by force: the windows that run left hidden are
// shown again, from its record of hidden windows.
#include <algorithm>
#include <filesystem>
#include <optional>
#include <system_error>
#include <utility>
#include <vector>

#include "core/Program.h"
#include "desktops/RecoveryRecord.h"
#include "desktops/Transparency.h"
#include "platform/Utf8.h"

namespace vd {

void Program::RecoverWindowsOfAnEndedRun() {
  const std::string file = RecoveryFile();
  const auto hidden = RecoveryRecord::ReadHidden(file);
  if (!hidden) return;
  for (const auto& [hwnd, process] : *hidden) {
    if (!ws.IsWindow(hwnd) || ws.IsWindowVisible(hwnd)) continue;
    // A handle now naming a window of another process is not ours to show.
    if (ws.GetWindowThreadProcessId(hwnd) != process) continue;
    ws.ShowWindow(hwnd, SW_SHOW);
    // A window layered while hidden is drawn again only once layered anew.
    uint32_t key = 0, flags = 0;
    uint8_t alpha = 255;
    if (ws.GetLayeredWindowAttributes(hwnd, &key, &alpha, &flags)) {
      transparency::ClearWindowAlpha(ws, hwnd);
      int32_t exStyle = ws.GetWindowLongA(hwnd, GWL_EXSTYLE);
      ws.SetWindowLongA(hwnd, GWL_EXSTYLE, static_cast<int32_t>(exStyle | WS_EX_LAYERED));
      ws.SetLayeredWindowAttributes(hwnd, key, alpha, flags);
    }
  }
  std::error_code ec;
  std::filesystem::remove(PathFromUtf8(file), ec);
}

}  // namespace vd
