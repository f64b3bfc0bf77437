#include "E2eTest.h"

#include <cstdio>

#include "HostPath.h"

namespace vde2e {
namespace {

std::string FromEnvironment(const char* name, const std::string& fallback) {
  char value[MAX_PATH * 2];
  DWORD n = GetEnvironmentVariableA(name, value, sizeof value);
  if (n == 0 || n >= sizeof value) return fallback;
  return vdtools::HostPathToWindows(value);
}

std::string FolderOfThisProgram() {
  char path[MAX_PATH * 2];
  DWORD n = GetModuleFileNameA(nullptr, path, sizeof path);
  std::string full(path, n);
  size_t slash = full.find_last_of("\\/");
  return slash == std::string::npos ? "." : full.substr(0, slash);
}

bool FileExists(const std::string& path) {
  DWORD attributes = GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool MakeFolders(const std::string& path) {
  for (size_t i = 3; i <= path.size(); ++i) {
    if (i == path.size() || path[i] == '\\' || path[i] == '/') {
      std::string part = path.substr(0, i);
      if (!CreateDirectoryA(part.c_str(), nullptr) && GetLastError() != ERROR_ALREADY_EXISTS) {
        return false;
      }
    }
  }
  return true;
}

}  // namespace

const E2eConfig& E2eConfig::Get() {
  static const E2eConfig config = [] {
    const std::string here = FolderOfThisProgram();
    E2eConfig c;
    c.vuedeckExe = FromEnvironment("VD_EXE", here + "\\vuedeck.exe");
    c.winmakerExe = FromEnvironment("VD_WINMAKER", here + "\\winmaker.exe");
    c.shotsDir = FromEnvironment("VD_SHOTS", here + "\\e2e-shots");
    c.scratchRoot = FromEnvironment("VD_SCRATCH", here + "\\e2e-scratch");
    return c;
  }();
  return config;
}

bool DeleteTree(const std::string& path) {
  WIN32_FIND_DATAA entry;
  HANDLE find = FindFirstFileA((path + "\\*").c_str(), &entry);
  if (find != INVALID_HANDLE_VALUE) {
    do {
      std::string name = entry.cFileName;
      if (name == "." || name == "..") continue;
      std::string child = path + "\\" + name;
      if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
        DeleteTree(child);
      } else {
        SetFileAttributesA(child.c_str(), FILE_ATTRIBUTE_NORMAL);
        DeleteFileA(child.c_str());
      }
    } while (FindNextFileA(find, &entry));
    FindClose(find);
  }
  RemoveDirectoryA(path.c_str());
  return GetFileAttributesA(path.c_str()) == INVALID_FILE_ATTRIBUTES;
}

std::string E2eTest::TestName() const {
  const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
  std::string name = std::string(info->test_suite_name()) + "." + info->name();
  for (char& c : name) {
    if (c == '/' || c == '\\' || c == ':' || c == '*' || c == '?') c = '_';
  }
  return name;
}

void E2eTest::SetUp() {
  const E2eConfig& config = E2eConfig::Get();
  scratch_ = config.scratchRoot + "\\" + TestName();
  // A folder left by an earlier run is replaced: each test starts from its own files only.
  ASSERT_TRUE(DeleteTree(scratch_)) << "cannot clear " << scratch_;
  ASSERT_TRUE(MakeFolders(scratch_)) << "cannot make " << scratch_;
  ASSERT_TRUE(MakeFolders(config.shotsDir)) << "cannot make " << config.shotsDir;
  ParkCursor();
}

void E2eTest::TearDown() {
  if (HasFailure()) SaveShot(vdtools::Image{}, "failed");
  maker_.Stop();
  for (ChildProcess& process : processes_) process.Kill();
  processes_.clear();
}

ChildProcess& E2eTest::StartVuedeck() {
  const E2eConfig& config = E2eConfig::Get();
  const std::string copy = ScratchFile("vuedeck.exe");
  processes_.emplace_back();
  ChildProcess& process = processes_.back();
  if (!FileExists(config.vuedeckExe)) {
    ADD_FAILURE() << "no program to test at " << config.vuedeckExe << " (set VD_EXE)";
    return process;
  }
  if (!CopyFileA(config.vuedeckExe.c_str(), copy.c_str(), FALSE)) {
    ADD_FAILURE() << "cannot copy " << config.vuedeckExe << " to " << copy;
    return process;
  }
  if (!settings.Write(ScratchFile("settings.ini"))) {
    ADD_FAILURE() << "cannot write " << ScratchFile("settings.ini");
    return process;
  }
  if (!process.Start(copy, "", scratch_, false)) {
    ADD_FAILURE() << "cannot start " << copy << " (error " << GetLastError() << ")";
  }
  return process;
}

ChildProcess& E2eTest::StartAnotherCopy() {
  const std::string copy = ScratchFile("vuedeck.exe");
  processes_.emplace_back();
  ChildProcess& process = processes_.back();
  if (!process.Start(copy, "", scratch_, false)) {
    ADD_FAILURE() << "cannot start " << copy << " (error " << GetLastError() << ")";
  }
  return process;
}

HWND E2eTest::WaitForPager(const ChildProcess& vuedeck, DWORD timeoutMs) {
  HWND pager = nullptr;
  WaitUntil(
      [&] {
        if (!vuedeck.Running()) return true;  // no point waiting for a program that ended
        auto windows = TopLevelWindowsOf(vuedeck.Pid(), true);
        if (!windows.empty()) pager = windows.front();
        return pager != nullptr;
      },
      timeoutMs);
  return pager;
}

WinMaker& E2eTest::Maker() {
  if (!maker_.Running()) {
    const E2eConfig& config = E2eConfig::Get();
    if (!FileExists(config.winmakerExe)) {
      ADD_FAILURE() << "no winmaker at " << config.winmakerExe << " (set VD_WINMAKER)";
    } else if (!maker_.Start(config.winmakerExe, scratch_)) {
      ADD_FAILURE() << "cannot start " << config.winmakerExe;
    }
  }
  return maker_;
}

void E2eTest::SaveShot(const vdtools::Image& given, const std::string& step) {
  vdtools::Image image = given;
  if (image.width == 0 && !vdtools::CaptureScreen(image)) {
    ADD_FAILURE() << "the screen could not be captured";
    return;
  }
  std::string path =
      E2eConfig::Get().shotsDir + "\\" + TestName() + (step.empty() ? "" : "-" + step) + ".png";
  if (!vdtools::SavePng(image, path)) {
    ADD_FAILURE() << "cannot write " << path;
    return;
  }
  std::printf("[   SHOT   ] %s\n", path.c_str());
  std::fflush(stdout);
}

vdtools::Image E2eTest::Shot(const std::string& step) {
  vdtools::Image image;
  if (!vdtools::CaptureScreen(image)) {
    ADD_FAILURE() << "the screen could not be captured";
    return image;
  }
  SaveShot(image, step);
  return image;
}

bool E2eTest::ShotUntil(const std::string& step,
                        const std::function<bool(const vdtools::Image&)>& check, DWORD timeoutMs,
                        vdtools::Image* last) {
  vdtools::Image image;
  bool passed =
      WaitUntil([&] { return vdtools::CaptureScreen(image) && check(image); }, timeoutMs, 50);
  if (image.width == 0) {
    ADD_FAILURE() << "the screen could not be captured";
    return false;
  }
  SaveShot(image, step);
  if (last) *last = image;
  return passed;
}

}  // namespace vde2e
