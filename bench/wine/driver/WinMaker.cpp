#include "WinMaker.h"

#include <cstdlib>

namespace vdbench {

bool WinMaker::Start(const std::string& exe, const std::string& folder) {
  return process_.Start(exe, "", folder, true);
}

void WinMaker::Stop() {
  if (process_.Running()) {
    process_.WriteLine("quit");
    process_.CloseInput();
    process_.WaitExit(5000);
  }
  process_.Kill();
}

MakerReply WinMaker::Send(const std::string& command, DWORD timeoutMs) {
  MakerReply reply;
  if (!process_.WriteLine(command)) {
    reply.text = "winmaker is not running";
    return reply;
  }
  auto line = process_.ReadLine(timeoutMs);
  if (!line) {
    reply.text = "no answer from winmaker to: " + command;
    return reply;
  }
  reply.text = *line;
  if (line->rfind("ok ", 0) == 0) {
    reply.ok = true;
    reply.hwnd =
        reinterpret_cast<HWND>(static_cast<intptr_t>(std::strtoll(line->c_str() + 3, nullptr, 10)));
  }
  return reply;
}

HWND WinMaker::Open(const std::string& caption, int x, int y, int width, int height,
                    const std::string& options) {
  std::string command = "open " + Quote(caption) + " " + std::to_string(x) + " " +
                        std::to_string(y) + " " + std::to_string(width) + " " +
                        std::to_string(height);
  if (!options.empty()) command += " " + options;
  MakerReply reply = Send(command);
  return reply.ok ? reply.hwnd : nullptr;
}

std::string WinMaker::Quote(const std::string& word) {
  std::string quoted = "\"";
  for (char c : word) {
    if (c == '"' || c == '\\') quoted += '\\';
    quoted += c;
  }
  return quoted + "\"";
}

}  // namespace vdbench
