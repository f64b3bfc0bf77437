#include "desktops/RecoveryRecord.h"

#include <filesystem>
#include <fstream>
#include <sstream>
#include <system_error>

#include "core/Text.h"
#include "platform/Utf8.h"

namespace vd {

namespace {
// A record holds no more lines than this; the rest of a file that long is not read.
constexpr int kMaxRecordLines = 100000;

// Writes `text` beside `file` and puts it in its place; false when that failed.
bool WriteRecord(WindowSystem& ws, const std::string& file, const std::string& text) {
  const std::string temporary = file + ".new";
  {
    std::ofstream out(PathFromUtf8(temporary), std::ios::binary | std::ios::trunc);
    if (!out || !(out << text).flush()) return false;
  }
  return ws.ReplaceFileWith(file, temporary);
}
}  // namespace

RecoveryRecord::RecoveryRecord(WindowSystem& ws, std::string hiddenFile,
                               std::string translucentFile, TranslucentWindows translucentWindows)
    : ws_(ws),
      hiddenFile_(std::move(hiddenFile)),
      translucentFile_(std::move(translucentFile)),
      translucentWindows_(std::move(translucentWindows)) {}

void RecoveryRecord::NoteHidden(Hwnd hwnd, uint32_t process) {
  hidden_[hwnd] = process;
  hiddenBehind_ = true;
  // Written at once, unless a switch is hiding many windows: then once at its end.
  if (!batch_) SaveIfBehind();
}

void RecoveryRecord::Forget(Hwnd hwnd) {
  if (hidden_.erase(hwnd) != 0) hiddenBehind_ = true;
}

bool RecoveryRecord::IsHiddenByProgram(Hwnd hwnd) const { return hidden_.count(hwnd) != 0; }

void RecoveryRecord::EndBatch() {
  batch_ = false;
  SaveIfBehind();
}

void RecoveryRecord::ShowHiddenWindows() {
  for (const auto& [hwnd, process] : hidden_) ws_.ShowWindow(hwnd, SW_SHOW);
}

void RecoveryRecord::SaveIfBehind() {
  SaveTranslucencyIfBehind();
  if (!hiddenBehind_) return;
  hiddenBehind_ = false;
  const std::filesystem::path file = PathFromUtf8(hiddenFile_);
  std::error_code ec;
  if (hidden_.empty()) {
    std::filesystem::remove(file, ec);
    return;
  }
  std::ostringstream lines;
  for (const auto& [hwnd, process] : hidden_) lines << hwnd << ' ' << process << "\r\n";
  if (!WriteRecord(ws_, file.string(), lines.str())) {
    hiddenBehind_ = writeFailed_ = true;  // tried again at the next tick
  }
}

std::optional<std::vector<std::pair<Hwnd, uint32_t>>> RecoveryRecord::ReadHidden(
    const std::string& file) {
  std::ifstream in(PathFromUtf8(file), std::ios::binary);
  if (!in) return std::nullopt;
  std::vector<std::pair<Hwnd, uint32_t>> windows;
  std::string line;
  int lines = 0;
  while (std::getline(in, line) && ++lines <= kMaxRecordLines) {
    const auto fields = Split(line.substr(0, line.find('\r')), ' ');
    if (fields.size() < 2) continue;
    const auto hwnd = ToInt32(fields[0]), process = ToInt32(fields[1]);
    if (!hwnd || !process) continue;
    windows.emplace_back(*hwnd, static_cast<uint32_t>(*process));
  }
  return windows;
}

void RecoveryRecord::SaveTranslucencyIfBehind() {
  if (!translucencyBehind_) return;
  translucencyBehind_ = false;
  std::ostringstream lines;
  for (const auto& [hwnd, recorded] : translucentWindows_()) {
    lines << hwnd << ' ' << recorded.process << ' ' << recorded.alpha;
    if (recorded.own) {
      const OwnLayering& own = *recorded.own;
      lines << ' ' << own.colorKey << ' ' << static_cast<int>(own.alpha) << ' '
            << (own.hasAttributes ? own.flags : 0);
    }
    lines << "\r\n";
  }
  if (lines.str().empty()) {
    std::error_code ec;
    std::filesystem::remove(PathFromUtf8(translucentFile_), ec);
  } else if (!WriteRecord(ws_, translucentFile_, lines.str())) {
    translucencyBehind_ = true;  // tried again at the next tick
  }
}

void RecoveryRecord::LoadTranslucency() {
  translucencyOfLastRun_.clear();
  std::ifstream in(PathFromUtf8(translucentFile_), std::ios::binary);
  std::string line;
  int lines = 0;
  while (in && std::getline(in, line) && ++lines <= kMaxRecordLines) {
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

std::optional<RecordedTranslucency> RecoveryRecord::Adopt(Hwnd hwnd) {
  auto it = translucencyOfLastRun_.find(hwnd);
  if (it == translucencyOfLastRun_.end()) return std::nullopt;
  const RecordedTranslucency recorded = it->second;
  translucencyOfLastRun_.erase(it);
  if (ws_.GetWindowThreadProcessId(hwnd) != recorded.process) return std::nullopt;
  // Managed again with this translucency: the record is written anew with this run's windows.
  translucencyBehind_ = true;
  return recorded;
}

void RecoveryRecord::ReleaseUnclaimed(
    const std::function<bool(Hwnd)>& claimed,
    const std::function<void(Hwnd, const std::optional<OwnLayering>&)>& release) {
  for (const auto& [hwnd, recorded] : translucencyOfLastRun_) {
    if (claimed(hwnd) || !ws_.IsWindow(hwnd) ||
        ws_.GetWindowThreadProcessId(hwnd) != recorded.process) {
      continue;
    }
    release(hwnd, recorded.own);
  }
  if (!translucencyOfLastRun_.empty()) translucencyBehind_ = true;
  translucencyOfLastRun_.clear();
  SaveTranslucencyIfBehind();
}

}  // namespace vd
