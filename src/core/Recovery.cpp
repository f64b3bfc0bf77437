// Never losing a window: the record of the windows the program keeps hidden ("hidden.list"
// beside the program: one line per window, its handle and its owner process), kept up to date
// whenever the program hides or shows one, removed when none is hidden. A run ended by force
// leaves it behind, and the next start shows those windows again before anything else.
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <system_error>

#include "core/Program.h"
#include "core/Text.h"
#include "core/Transparency.h"
#include "pager/PagerWindow.h"

namespace vd {

namespace {
// How long a hidden window is given to show it answers before it is hidden.
constexpr uint32_t kAnswerWaitMs = 50;

// Writes `text` beside `file` and puts it in its place; false when that failed.
bool WriteRecord(WindowSystem& ws, const std::string& file, const std::string& text) {
  const std::string temporary = file + ".new";
  {
    std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
    if (!out || !(out << text).flush()) return false;
  }
  return ws.ReplaceFileWith(file, temporary);
}
}  // namespace

void PagerWindow::SetWindowShown(Hwnd hwnd, bool shown) {
  if (!shown) {
    // A window hidden before its first picture was taken gets it now, while it can still be
    // copied from the screen: its miniature and its preview must not stay blank.
    auto waiting = std::find_if(awaitingPicture_.begin(), awaitingPicture_.end(),
                                [hwnd](const auto& w) { return w.first == hwnd; });
    if (waiting != awaitingPicture_.end()) {
      awaitingPicture_.erase(waiting);
      CaptureMiniature(hwnd);
    }
  }
  const bool wasVisible = ws_.ShowWindow(hwnd, shown ? SW_SHOW : SW_HIDE);
  if (shown) {
    if (hiddenByProgram_.erase(hwnd) != 0) recordBehind_ = true;
    return;
  }
  // A window already hidden that the program did not hide was hidden by its own application:
  // it is not the program's to bring back after a run ended by force. A window that does not
  // answer may still have the program's request to show it waiting: it is recorded all the same.
  intptr_t answer = 0;
  if (!wasVisible && hiddenByProgram_.count(hwnd) == 0 &&
      ws_.SendMessageTimeoutA(hwnd, WM_NULL, 0, 0, kAnswerWaitMs, &answer)) {
    return;
  }
  hiddenByProgram_[hwnd] = ws_.GetWindowThreadProcessId(hwnd);
  recordBehind_ = true;
  // Written at once, unless a switch is hiding many windows: then once at its end.
  if (!switching_) SaveRecoveryRecord();
}

void PagerWindow::SaveRecoveryRecord() {
  SaveTranslucencyRecord();
  if (!recordBehind_) return;
  recordBehind_ = false;
  const std::filesystem::path file(program_.RecoveryFile());
  std::error_code ec;
  if (hiddenByProgram_.empty()) {
    std::filesystem::remove(file, ec);
    return;
  }
  std::ostringstream lines;
  for (const auto& [hwnd, process] : hiddenByProgram_) lines << hwnd << ' ' << process << "\r\n";
  if (!WriteRecord(ws_, file.string(), lines.str())) recordBehind_ = true;  // again next tick
}

void PagerWindow::SaveTranslucencyRecord() {
  if (!translucencyBehind_) return;
  translucencyBehind_ = false;
  std::ostringstream lines;
  for (const Hwnd hwnd : Table.Handles()) {
    const ManagedWindow* w = Table.Find(hwnd);
    if (w == nullptr || !w->transparency) continue;
    lines << hwnd << ' ' << ws_.GetWindowThreadProcessId(hwnd) << ' ' << *w->transparency;
    if (auto own = OriginallyLayered.find(hwnd); own != OriginallyLayered.end()) {
      const OwnLayering& layering = own->second;
      lines << ' ' << layering.colorKey << ' ' << static_cast<int>(layering.alpha) << ' '
            << (layering.hasAttributes ? layering.flags : 0);
    }
    lines << "\r\n";
  }
  const std::string file = program_.TranslucencyFile();
  if (lines.str().empty()) {
    std::error_code ec;
    std::filesystem::remove(file, ec);
  } else if (!WriteRecord(ws_, file, lines.str())) {
    translucencyBehind_ = true;  // tried again at the next tick
  }
}

void PagerWindow::LoadTranslucencyRecord() {
  translucencyOfLastRun_.clear();
  std::ifstream in(program_.TranslucencyFile(), std::ios::binary);
  std::string line;
  int lines = 0;
  while (in && std::getline(in, line) && ++lines <= 100000) {
    const auto fields = Split(line.substr(0, line.find('\r')), ' ');
    if (fields.size() < 3) continue;
    const auto hwnd = ToInt32(fields[0]), process = ToInt32(fields[1]), alpha = ToInt32(fields[2]);
    if (!hwnd || !process || !alpha || *alpha < 0 || *alpha > 255) continue;
    RecordedTranslucency recorded{static_cast<uint32_t>(*process), *alpha, std::nullopt};
    if (fields.size() >= 6) {
      const auto key = ToInt32(fields[3]), own = ToInt32(fields[4]), flags = ToInt32(fields[5]);
      if (key && own && flags && *own >= 0 && *own <= 255) {
        recorded.own = OwnLayering{*flags != 0, static_cast<uint32_t>(*key),
                                   static_cast<uint8_t>(*own), static_cast<uint32_t>(*flags)};
      }
    }
    translucencyOfLastRun_[*hwnd] = recorded;
  }
}

bool PagerWindow::AdoptRecordedTranslucency(Hwnd hwnd) {
  auto it = translucencyOfLastRun_.find(hwnd);
  if (it == translucencyOfLastRun_.end()) return false;
  const RecordedTranslucency recorded = it->second;
  translucencyOfLastRun_.erase(it);
  if (ws_.GetWindowThreadProcessId(hwnd) != recorded.process) return false;
  if (recorded.own) {
    OriginallyLayered[hwnd] = *recorded.own;
  } else {
    OriginallyLayered.erase(hwnd);
  }
  if (ManagedWindow* w = Table.Find(hwnd)) w->transparency = recorded.alpha;
  translucencyBehind_ = true;
  return true;
}

void PagerWindow::ReleaseUnclaimedTranslucency() {
  for (const auto& [hwnd, recorded] : translucencyOfLastRun_) {
    if (IsManaged(hwnd) || !ws_.IsWindow(hwnd) ||
        ws_.GetWindowThreadProcessId(hwnd) != recorded.process) {
      continue;
    }
    // Opaque again, as its application left it: made so through the managed windows' rule.
    if (recorded.own) OriginallyLayered[hwnd] = *recorded.own;
    MakeOpaque(hwnd);
    OriginallyLayered.erase(hwnd);
  }
  if (!translucencyOfLastRun_.empty()) translucencyBehind_ = true;
  translucencyOfLastRun_.clear();
  SaveTranslucencyRecord();
}

void PagerWindow::BringEveryWindowBack() noexcept {
  try {
    for (const Hwnd hwnd : Table.Handles()) ws_.ShowWindow(hwnd, SW_SHOW);
    for (const auto& [hwnd, process] : hiddenByProgram_) ws_.ShowWindow(hwnd, SW_SHOW);
  } catch (...) {
  }
}

void Program::RecoverWindowsOfAnEndedRun() {
  const std::filesystem::path file(RecoveryFile());
  std::ifstream in(file, std::ios::binary);
  if (!in) return;
  std::string line;
  int lines = 0;
  while (std::getline(in, line) && ++lines <= 100000) {
    auto fields = Split(line.substr(0, line.find('\r')), ' ');
    if (fields.size() < 2) continue;
    auto hwnd = ToInt32(fields[0]);
    auto process = ToInt32(fields[1]);
    if (!hwnd || !process || !ws.IsWindow(*hwnd) || ws.IsWindowVisible(*hwnd)) continue;
    // A handle now naming a window of another process is not ours to show.
    if (ws.GetWindowThreadProcessId(*hwnd) != static_cast<uint32_t>(*process)) continue;
    ws.ShowWindow(*hwnd, SW_SHOW);
    // A window layered while hidden is drawn again only once layered anew.
    uint32_t key = 0, flags = 0;
    uint8_t alpha = 255;
    if (ws.GetLayeredWindowAttributes(*hwnd, &key, &alpha, &flags)) {
      transparency::ClearWindowAlpha(ws, *hwnd);
      int32_t exStyle = ws.GetWindowLongA(*hwnd, GWL_EXSTYLE);
      ws.SetWindowLongA(*hwnd, GWL_EXSTYLE, static_cast<int32_t>(exStyle | WS_EX_LAYERED));
      ws.SetLayeredWindowAttributes(*hwnd, key, alpha, flags);
    }
  }
  in.close();
  std::error_code ec;
  std::filesystem::remove(file, ec);
}

}  // namespace vd
