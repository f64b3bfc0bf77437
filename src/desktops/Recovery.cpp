// Never losing a window: the pager's side of the record of translucent windows (it lists the
// windows it keeps translucent, takes the last run's translucent windows back or makes them
// opaque), and the start of the program, which shows the windows a run ended by force left
// hidden.
#include <algorithm>
#include <filesystem>
#include <optional>
#include <system_error>
#include <utility>
#include <vector>

#include "core/Program.h"
#include "desktops/RecoveryRecord.h"
#include "desktops/Transparency.h"
#include "pager/PagerWindow.h"

namespace vd {

std::vector<std::pair<Hwnd, RecordedTranslucency>> PagerWindow::TranslucentWindows() {
  std::vector<std::pair<Hwnd, RecordedTranslucency>> windows;
  for (const Hwnd hwnd : Table.Handles()) {
    const ManagedWindow* w = Table.Find(hwnd);
    if (w == nullptr || !w->transparency) continue;
    RecordedTranslucency recorded;
    recorded.alpha = *w->transparency;
    recorded.process = ws_.GetWindowThreadProcessId(hwnd);
    recorded.own = layering_.Own(hwnd);
    windows.emplace_back(hwnd, recorded);
  }
  return windows;
}

bool PagerWindow::AdoptRecordedTranslucency(Hwnd hwnd) {
  const std::optional<RecordedTranslucency> recorded = recoveryRecord_.Adopt(hwnd);
  if (!recorded) return false;
  layering_.SetOwn(hwnd, recorded->own);
  if (ManagedWindow* w = Table.Find(hwnd)) w->transparency = recorded->alpha;
  return true;
}

void PagerWindow::ReleaseUnclaimedTranslucency() {
  // Opaque again, as its application left it: made so through the managed windows' rule.
  auto makeOpaque = [this](Hwnd hwnd, const std::optional<OwnLayering>& own) {
    layering_.SetOwn(hwnd, own);
    layering_.MakeOpaque(hwnd);
    layering_.Forget(hwnd);
  };
  recoveryRecord_.ReleaseUnclaimed([this](Hwnd hwnd) { return IsManaged(hwnd); }, makeOpaque);
}

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
  std::filesystem::remove(std::filesystem::path(file), ec);
}

}  // namespace vd
