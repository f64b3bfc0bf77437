// A whole program on the fake desktop and the headless toolkit, in a scratch folder of its
// own that stands for the program's folder (settings.ini and ignore.list live there).
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <random>
#include <string>

#include "core/Program.h"
#include "core/frmMain.h"
#include "forms/headless/HeadlessBackend.h"
#include "interaction/GradientRect.h"
#include "platform/fake/FakeWindowSystem.h"

namespace vd::testing {

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
    return program->Start();
  }

  frmMain& Pager() { return program->Main(); }

  // A window of another application, on the screen.
  Hwnd OpenWindow(const std::string& caption, Rect rect = {100, 100, 500, 400}) {
    fake::WindowSpec desc;
    desc.caption = caption;
    desc.rect = rect;
    return fake.CreateWindow(desc);
  }

  // Puts a row into the window table through the table's own interface, as the pager does
  // when it takes a window.
  void PutRow(Hwnd hwnd, int desktop, const std::string& onTop = "0",
              const std::string& showAll = "", const std::string& transparent = "") {
    WindowTable& t = Pager().Table;
    const std::string key = WindowTable::KeyOf(hwnd);
    ASSERT_TRUE(t.Add(key, std::to_string(hwnd)));
    t.Set(key, WindowTable::kTitle, Pager().GetWindowTitle(hwnd));
    t.Set(key, WindowTable::kDesktop, std::to_string(desktop));
    t.Set(key, WindowTable::kOnTop, onTop);
    t.Set(key, WindowTable::kShowAll, showAll);
    t.Set(key, WindowTable::kTransparent, transparent);
  }

  // True when the cell shows the gradient of its state colour (to black, at 315 degrees).
  bool CellShows(int desktop, uint32_t colour) {
    const Bitmap& surface = Pager().lblDesktop(desktop).Surface();
    Bitmap expected(surface.Width(), surface.Height());
    clsGradient painter(fake);
    painter.SetAngle(315);
    painter.SetColor1(static_cast<int32_t>(colour));
    painter.SetColor2(0);
    painter.Draw(expected);
    return surface.Pixels() == expected.Pixels();
  }

  fake::FakeWindowSystem fake;
  std::unique_ptr<forms::headless::HeadlessBackend> backend;
  std::unique_ptr<Program> program;

 private:
  std::filesystem::path folder_;
};

}  // namespace vd::testing
