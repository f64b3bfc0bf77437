// What the fuzz targets share: a whole program on the fake desktop and the headless toolkit,
// in a scratch folder that stands for the program's folder (settings.ini and ignore.list live
// there). The folder is made once per fuzzing process and its files are rewritten for every
// input. A broken promise is reported with Check, which aborts, so that libFuzzer keeps the
// input that broke it.
#pragma once

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "core/Program.h"
#include "dialogs/MessageDialog.h"
#include "forms/headless/HeadlessBackend.h"
#include "pager/PagerWindow.h"
#include "platform/fake/FakeWindowSystem.h"

namespace vd::fuzzing {

// A fuzz target's entry: libFuzzer's, or a function of that name when the unit tests replay the
// corpus (VD_CORPUS_REPLAY); there a broken promise throws instead of aborting.
#ifdef VD_CORPUS_REPLAY
#define VD_FUZZ_TARGET(name) int Fuzz##name(const uint8_t* data, size_t size)
#else
#define VD_FUZZ_TARGET(name) extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
#endif

inline void Check(bool promise, const char* what) {
  if (promise) return;
#ifdef VD_CORPUS_REPLAY
  throw std::runtime_error(std::string("broken promise: ") + what);
#else
  std::fprintf(stderr, "broken promise: %s\n", what);
  std::abort();
#endif
}

// The scratch folder of this process, emptied of the program's files.
inline const std::filesystem::path& Folder() {
  static const std::filesystem::path folder = [] {
    std::filesystem::path p =
        std::filesystem::temp_directory_path() / ("vuedeck-fuzz-" + std::to_string(::getpid()));
    std::filesystem::create_directories(p);
    return p;
  }();
  return folder;
}

inline void WriteFile(const std::string& name, std::string_view content) {
  std::ofstream out(Folder() / name, std::ios::binary | std::ios::trunc);
  out.write(content.data(), static_cast<std::streamsize>(content.size()));
}

inline void RemoveFile(const std::string& name) {
  std::error_code ec;
  std::filesystem::remove(Folder() / name, ec);
}

// The lines of a text as the program's readers cut them (at LF, one CR before it dropped).
inline std::vector<std::string> Lines(std::string_view text) {
  std::vector<std::string> lines;
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find('\n', start);
    if (end == std::string_view::npos) end = text.size();
    std::string line(text.substr(start, end - start));
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(std::move(line));
    start = end + 1;
  }
  return lines;
}

// A fake desktop with a few windows of another application, and the program on it.
class Harness {
 public:
  Harness() {
    fake.SetProgramFolder(Folder().string());
    // A small screen and small windows: pictures and cells are drawn pixel by pixel, and
    // their size matters nothing to the readers fuzzed here.
    fake.SetScreen(640, 480);
    backend = std::make_unique<forms::headless::HeadlessBackend>(&fake);
    // Every message box is answered with its first button; other dialogs are closed.
    backend->onModal = [](forms::Form& form) {
      if (auto* box = dynamic_cast<MessageDialog*>(&form)) box->answerButtons(0).RaiseClick();
    };
  }
  ~Harness() {
    program.reset();
    backend.reset();
  }

  Hwnd OpenWindow(const std::string& caption, Rect rect = {100, 100, 140, 130}) {
    fake::WindowTraits desc;
    desc.caption = caption;
    desc.rect = rect;
    Hwnd hwnd = fake.CreateWindow(desc);
    windows.push_back(hwnd);
    return hwnd;
  }

  void Start() {
    program.reset();
    program = std::make_unique<Program>(fake, *backend);
    Check(program->Start(), "the program starts");
  }

  PagerWindow& Pager() { return program->Main(); }

  // Ends the program the ordinary way and checks that every window came back.
  void CloseAll() {
    Pager().CloseAll();
    Check(fake.ProcessEnded(), "CloseAll ends the process");
    for (Hwnd hwnd : windows) {
      Check(!fake.Exists(hwnd) || fake.IsWindowVisible(hwnd), "every window is visible at exit");
    }
    Check(!std::filesystem::exists(Folder() / "hidden.list"),
          "no record of hidden windows is left at exit");
  }

  fake::FakeWindowSystem fake;
  std::unique_ptr<forms::headless::HeadlessBackend> backend;
  std::unique_ptr<Program> program;
  std::vector<Hwnd> windows;
};

}  // namespace vd::fuzzing
