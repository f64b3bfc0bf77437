// Never losing a window: the records that let a later run give back what this one did to other
// applications' windows. Each is a file beside the program, written beside its place and then
// put there in one step, and removed when it would be empty:
// - "hidden.list", the windows the program hid and has not shown again, one line per window:
//   its handle and its owner process. A run ended by force leaves it behind, and the next start
//   shows those windows again before anything else.
// - "translucent.list", the windows the program made translucent at the user's choice, one
//   line per window: handle, owner process, opacity, and the window's own layering (colour
//   key, alpha, flags) when its application layered it, so that no later run takes that
//   translucency for the application's own. Read at start: a window of the record taken on
//   again keeps its transparency; one still there but not taken on is made opaque.
// A record is behind when what it should hold changed since it was written; one that could not
// be written stays behind and is tried again at the next save.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

#include "desktops/OwnLayering.h"
#include "platform/WindowSystem.h"

namespace vd {

// A translucent window as the record holds it.
struct RecordedTranslucency {
  uint32_t process = 0;
  int alpha = 255;
  std::optional<OwnLayering> own;  // its application's own layering, when it had one
};

class RecoveryRecord {
 public:
  // The windows the program keeps translucent now, in the order the record lists them.
  using TranslucentWindows = std::function<std::vector<std::pair<Hwnd, RecordedTranslucency>>()>;

  RecoveryRecord(WindowSystem& ws, std::string hiddenFile, std::string translucentFile,
                 TranslucentWindows translucentWindows);

  // ---- Windows the program hid ---------------------------------------------------------------
  // The program hid the window (owned by `process`): the records are written at once, or at
  // the end of the batch that runs.
  void NoteHidden(Hwnd hwnd, uint32_t process);
  // The program no longer keeps the window hidden (shown again, or no longer managed); the
  // record is written at the next save.
  void Forget(Hwnd hwnd);
  bool IsHiddenByProgram(Hwnd hwnd) const;
  // A switch hides many windows: between these the record is not written for each one, and
  // EndBatch writes what is behind once.
  void BeginBatch() { batch_ = true; }
  void EndBatch();
  // Shows every window the program keeps hidden; the record stays as it is.
  void ShowHiddenWindows();
  // Writes the record of translucent windows, then that of hidden ones, where they are behind.
  void SaveIfBehind();
  // True once the record of hidden windows could not be written in this run.
  bool WriteFailed() const { return writeFailed_; }
  // The windows a record of hidden windows names, with their owner processes (lines that do not
  // read as two numbers are skipped, at most 100000 lines are read); none when it cannot be
  // opened.
  static std::optional<std::vector<std::pair<Hwnd, uint32_t>>> ReadHidden(const std::string& file);

  // ---- Windows the program made translucent -------------------------------------------------
  // A window's translucency changed, or a translucent window is no longer managed.
  void TranslucencyChanged() { translucencyBehind_ = true; }
  void SaveTranslucencyIfBehind();
  // Reads the last run's record of translucent windows.
  void LoadTranslucency();
  // What the last run's record holds about the window, when it names it and the window still
  // belongs to the same process. Either way the window is taken out of the last run's record.
  std::optional<RecordedTranslucency> Adopt(Hwnd hwnd);
  // Ends the last run's record: `release` gets each window it still names that exists, belongs
  // to the same process and is not `claimed` (with its own layering when it had one). The
  // record on disk is then written anew.
  void ReleaseUnclaimed(
      const std::function<bool(Hwnd)>& claimed,
      const std::function<void(Hwnd, const std::optional<OwnLayering>&)>& release);

 private:
  WindowSystem& ws_;
  std::string hiddenFile_;
  std::string translucentFile_;
  TranslucentWindows translucentWindows_;

  std::unordered_map<Hwnd, uint32_t> hidden_;  // window -> owner process
  bool hiddenBehind_ = false;
  bool batch_ = false;
  bool writeFailed_ = false;

  std::unordered_map<Hwnd, RecordedTranslucency> translucencyOfLastRun_;
  bool translucencyBehind_ = false;
};

}  // namespace vd
