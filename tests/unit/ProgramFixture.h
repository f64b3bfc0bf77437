// A whole program on the fake desktop and the headless toolkit, in a scratch folder of its
// own that stands for the program's folder (settings.ini and ignore.list live there).
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "core/Program.h"
#include "core/Text.h"
#include "dialogs/MessageDialog.h"
#include "forms/headless/HeadlessBackend.h"
#include "pager/GradientPainter.h"
#include "pager/PagerWindow.h"
#include "platform/fake/FakeWindowSystem.h"

namespace vd::testing {

// A 3 x 2 grid on 30 % x 20 % of the screen, each cell state in a colour of its own.
inline constexpr const char* kGrid3x2 =
    "[SETUP]\r\ncolumns=3\r\nrows=2\r\nwidth=30\r\nheight=20\r\n"
    "color_normal=255\r\ncolor_hover=65280\r\ncolor_selected=16711680\r\ncolor_box=65535\r\n";

class ProgramFixture : public ::testing::Test {
 protected:
  ProgramFixture() {
    std::random_device rd;
    folder_ = std::filesystem::temp_directory_path() /
              ("vuedeck-test-" + std::to_string(rd()) + std::to_string(rd()));
    std::filesystem::create_directories(folder_);
    fake.SetProgramFolder(folder_.string());
    fake.SetScreen(1280, 1024);
    backend = std::make_unique<forms::headless::HeadlessBackend>(&fake);
  }
  ~ProgramFixture() override {
    program.reset();
    backend.reset();
    std::error_code ec;
    std::filesystem::remove_all(folder_, ec);
  }

  std::filesystem::path File(const std::string& name) const { return folder_ / name; }

  void WriteFile(const std::string& name, const std::string& content) {
    std::ofstream out(File(name), std::ios::binary);
    out << content;
  }

  std::string ReadFile(const std::string& name) const {
    std::ifstream in(File(name), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }

  // Starts the program; true when the pager came up.
  bool Start() {
    program = std::make_unique<Program>(fake, *backend);
    const bool started = program->Start();
    if (answering_) AnswerMessageBoxes();
    return started;
  }
  bool StartWith(const std::string& settings) {
    WriteFile("settings.ini", settings);
    return Start();
  }
  // The program ends without its exit, as when it is killed (its own windows go with it, the
  // other applications' stay as they are), and starts again on the same desktop.
  bool Restart() {
    program.reset();
    backend = std::make_unique<forms::headless::HeadlessBackend>(&fake);
    return Start();
  }

  PagerWindow& Pager() { return program->Main(); }
  // What the program handed to ExitProcess; empty while it runs.
  std::string ExitCode() const {
    for (const fake::Call& call : fake.Calls()) {
      if (call.name == "ExitProcess") return call.args.at(0);
    }
    return "";
  }

  // A window of another application, on the screen.
  Hwnd OpenWindow(const std::string& caption, Rect rect = {100, 100, 500, 400}) {
    fake::WindowTraits desc;
    desc.caption = caption;
    desc.rect = rect;
    return fake.CreateWindow(desc);
  }

  // The window's record; a test failure (and an empty record) when it has none.
  ManagedWindow& Record(Hwnd hwnd) {
    if (ManagedWindow* w = Pager().Table.Find(hwnd)) return *w;
    ADD_FAILURE() << "window " << hwnd << " is not managed";
    static ManagedWindow none;
    none = ManagedWindow{};
    return none;
  }
  int DesktopOf(Hwnd hwnd) { return Pager().DesktopOf(hwnd); }
  forms::PictureBox& MiniatureOf(Hwnd hwnd) {
    return Pager().miniatures(Pager().MiniatureOf(hwnd));
  }
  // The control's place among the pager's children, 0 in front.
  int StackPosition(const forms::Control& control) {
    const auto& children = Pager().Children();
    return static_cast<int>(std::find(children.begin(), children.end(), &control) -
                            children.begin());
  }
  // The user brings a window to the front; the poll and the 100 ms refresh see it.
  void BringToFront(Hwnd hwnd) {
    fake.Activate(hwnd);
    backend->Advance(100);
  }
  // A screen point of the pager, from a point in its client area.
  Point OnPager(float x, float y) {
    Rect pager;
    fake.GetWindowRect(Pager().hWnd(), &pager);
    return {pager.left + static_cast<int>(x), pager.top + static_cast<int>(y)};
  }
  // Right-clicks a window's miniature: its window menu pops up.
  void RightClick(Hwnd hwnd) {
    forms::PictureBox& miniature = MiniatureOf(hwnd);
    miniature.RaiseMouseDown(forms::kRightButton, 0, 30, 30);
    miniature.RaiseMouseUp(forms::kRightButton, 0, 30, 30);
  }
  void LeftClick(Hwnd hwnd) {
    forms::PictureBox& miniature = MiniatureOf(hwnd);
    miniature.RaiseMouseDown(forms::kLeftButton, 0, 30, 30);
    miniature.RaiseMouseUp(forms::kLeftButton, 0, 30, 30);
  }

  // From now on (over restarts too) the program's message boxes are recorded and answered with
  // their first button; any other modal form goes to `otherModal`.
  struct Message {
    std::string title, text;
  };
  void AnswerMessageBoxes() {
    answering_ = true;
    backend->onModal = [this](forms::Form& form) {
      if (auto* box = dynamic_cast<MessageDialog*>(&form)) {
        messages.push_back({box->titleLabel.Caption(), box->messageLabel.Caption()});
        box->answerButtons(0).RaiseClick();
      } else if (otherModal) {
        otherModal(form);
      }
    };
  }
  // Every popup menu is recorded and dismissed unless `choose` picks an entry.
  struct Popup {
    forms::Form* form;
    forms::MenuItem* menu;
    float x, y;
  };
  void RecordPopups() {
    backend->onPopup = [this](forms::Form& form, forms::MenuItem& menu, float x, float y) {
      popups.push_back({&form, &menu, x, y});
      return choose ? choose(menu) : nullptr;
    };
  }

  // True when the cell shows the gradient of its state colour (to black, at 315 degrees).
  bool CellShows(int desktop, uint32_t colour) {
    const Bitmap& surface = Pager().cells(desktop).Surface();
    Bitmap expected(surface.Width(), surface.Height());
    GradientPainter painter(fake);
    painter.SetAngle(315);
    painter.SetColor1(static_cast<int32_t>(colour));
    painter.SetColor2(0);
    painter.Draw(expected);
    return surface.Pixels() == expected.Pixels();
  }

  fake::FakeWindowSystem fake;
  std::unique_ptr<forms::headless::HeadlessBackend> backend;
  std::unique_ptr<Program> program;
  std::vector<Message> messages;
  std::function<void(forms::Form&)> otherModal;
  std::vector<Popup> popups;
  std::function<forms::MenuItem*(forms::MenuItem&)> choose;

 private:
  std::filesystem::path folder_;
  bool answering_ = false;
};

}  // namespace vd::testing
