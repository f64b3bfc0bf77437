// Drives winmaker.exe, the helper process that makes real top-level windows for a run.
#pragma once

#include <windows.h>

#include <string>

#include "ChildProcess.h"

namespace vdbench {

struct MakerReply {
  bool ok = false;
  HWND hwnd = nullptr;  // the handle an "ok" answer names
  std::string text;     // the whole answer line, for failure messages
};

class WinMaker {
 public:
  // Starts winmaker.exe; false when it cannot be started.
  bool Start(const std::string& exe, const std::string& folder);
  // Ends it: "quit" (its windows close), then TerminateProcess if it is still there.
  void Stop();
  bool Running() const { return process_.Running(); }
  const ChildProcess& Process() const { return process_; }

  // Sends one command line and waits for its answer.
  MakerReply Send(const std::string& command, DWORD timeoutMs = 15000);

  // Convenience forms; the returned handle is null when winmaker answered with an error.
  // `options`: "color 0xBBGGRR" or nothing.
  HWND Open(const std::string& caption, int x, int y, int width, int height,
            const std::string& options = "");
  bool Close(const std::string& caption) { return Send("close " + Quote(caption)).ok; }
  bool Front(const std::string& caption) { return Send("front " + Quote(caption)).ok; }
  // Moves and sizes the window (its window rectangle, screen pixels).
  bool Move(const std::string& caption, int x, int y, int width, int height) {
    return Send("move " + Quote(caption) + " " + std::to_string(x) + " " + std::to_string(y) + " " +
                std::to_string(width) + " " + std::to_string(height))
        .ok;
  }

  static std::string Quote(const std::string& word);

 private:
  ChildProcess process_;
};

}  // namespace vdbench
