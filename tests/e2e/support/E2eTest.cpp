#include "E2eTest.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "HostPath.h"

namespace vde2e {
namespace {

std::string Configured(const char* variable, const char* fallback) {
  char value[MAX_PATH * 2];
  const DWORD n = GetEnvironmentVariableA(variable, value, sizeof value);
  if (n > 0 && n < sizeof value) return vdtools::HostPathToWindows(value);
  const std::string self(value, GetModuleFileNameA(nullptr, value, sizeof value));
  return self.substr(0, self.find_last_of('\\')) + "\\" + fallback;
}

// Three columns by two rows, a quarter of the screen wide and high, 600,100 from the screen's
// corner (in twips), opaque, no animation, preview, auto-hide or start with Windows; desktop n
// has Alt+n (key index 7 is the digit 1), Ctrl+F12 hides and unhides the pager, no panic key.
constexpr char kSettings[] =
    "[SETUP]\r\ncolumns=3\r\nrows=2\r\nwidth=25\r\nheight=25\r\nleft=9000\r\ntop=1500\r\n"
    "transparent=0\r\nhide=1,50\r\ncolor_normal=8404992\r\ncolor_hover=16744448\r\n"
    "color_selected=32768\r\ncolor_box=65535\r\nanimate=0\r\npreview=0\r\nauto_hide=0\r\n"
    "auto_start=0\r\n[ALERT]\r\nenabled=0\r\ndesktop=1\r\nkey1=1\r\nkey2=49\r\n[HOTKEYS]\r\n"
    "1=0,7,1\r\n2=0,8,1\r\n3=0,9,1\r\n4=0,10,1\r\n5=0,11,1\r\n6=0,12,1\r\n";

void CloseIfOpen(HANDLE& handle) {
  if (handle) CloseHandle(handle);
  handle = nullptr;
}

std::string Geometry(const RECT& r) {  // as winmaker reads it: "X Y W H"
  return std::to_string(r.left) + " " + std::to_string(r.top) + " " +
         std::to_string(r.right - r.left) + " " + std::to_string(r.bottom - r.top);
}

}  // namespace

bool WaitUntil(const std::function<bool()>& condition, DWORD timeoutMs, DWORD pollMs) {
  for (const ULONGLONG deadline = GetTickCount64() + timeoutMs; !condition(); Sleep(pollMs)) {
    if (GetTickCount64() >= deadline) return false;
  }
  return true;
}

testing::AssertionResult WaitShown(std::initializer_list<HWND> windows, bool shown,
                                   DWORD timeoutMs) {
  const auto all = [&] {
    return std::all_of(windows.begin(), windows.end(),
                       [&](HWND w) { return (IsWindowVisible(w) != FALSE) == shown; });
  };
  if (WaitUntil(all, timeoutMs, 10)) return testing::AssertionSuccess();
  return testing::AssertionFailure() << Facts(windows);
}

RECT RectOf(HWND hwnd) {
  RECT r{};
  GetWindowRect(hwnd, &r);
  return r;
}

bool At(HWND hwnd, const RECT& r) {
  const RECT now = RectOf(hwnd);
  return EqualRect(&now, &r);
}

bool Topmost(HWND hwnd) { return (GetWindowLongA(hwnd, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0; }

int AlphaOf(HWND hwnd) {
  BYTE alpha = 255;
  DWORD flags = 0;
  const bool layered = (GetWindowLongA(hwnd, GWL_EXSTYLE) & WS_EX_LAYERED) &&
                       GetLayeredWindowAttributes(hwnd, nullptr, &alpha, &flags);
  return layered && (flags & LWA_ALPHA) ? alpha : 255;
}

std::string Facts(std::initializer_list<HWND> windows) {
  std::ostringstream out;
  for (HWND w : windows) {
    char caption[64] = "";
    GetWindowTextA(w, caption, sizeof caption);
    const RECT r = RectOf(w);
    out << "\n  " << caption << (IsWindowVisible(w) ? " shown " : " hidden ") << r.left << ","
        << r.top << "-" << r.right << "," << r.bottom << " exstyle " << std::hex
        << GetWindowLongA(w, GWL_EXSTYLE) << std::dec << " alpha " << AlphaOf(w);
  }
  return out.str();
}

std::vector<HWND> WindowsOf(DWORD pid) {
  std::vector<HWND> found;
  for (HWND w = GetTopWindow(nullptr); w; w = GetWindow(w, GW_HWNDNEXT)) {
    DWORD owner = 0;
    GetWindowThreadProcessId(w, &owner);
    if (owner == pid && IsWindowVisible(w)) found.push_back(w);
  }
  return found;
}

std::optional<std::string> ReadWholeFile(const std::string& path) {
  HANDLE file = CreateFileA(path.c_str(), GENERIC_READ,
                            FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                            OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return std::nullopt;
  std::string bytes(GetFileSize(file, nullptr), '\0');
  DWORD got = 0;
  ReadFile(file, bytes.data(), bytes.size(), &got, nullptr);
  CloseHandle(file);
  return bytes.substr(0, got);
}

bool ChildProcess::Start(const std::string& exe, const std::string& folder, bool pipes) {
  // Ends every process in it once its last handle closes, i.e. when we end.
  static const HANDLE job = [] {
    HANDLE j = CreateJobObjectA(nullptr, nullptr);
    JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits{};
    limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
    SetInformationJobObject(j, JobObjectExtendedLimitInformation, &limits, sizeof limits);
    return j;
  }();
  Kill();
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  HANDLE childIn = nullptr, childOut = nullptr;
  SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
  if (pipes && CreatePipe(&childIn, &input_, &inherit, 0) &&
      CreatePipe(&output_, &childOut, &inherit, 0)) {
    // Only the child's ends are inherited: it sees the end of its input when we close ours.
    SetHandleInformation(input_, HANDLE_FLAG_INHERIT, 0);
    SetHandleInformation(output_, HANDLE_FLAG_INHERIT, 0);
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = childIn;
    startup.hStdOutput = startup.hStdError = childOut;
  }
  std::string commandLine = "\"" + exe + "\"";
  const bool ok = CreateProcessA(exe.c_str(), commandLine.data(), nullptr, nullptr, pipes,
                                 CREATE_NO_WINDOW, nullptr, folder.c_str(), &startup, &info_);
  CloseIfOpen(childIn);
  CloseIfOpen(childOut);
  if (ok) AssignProcessToJobObject(job, info_.hProcess);
  CloseIfOpen(info_.hThread);
  return ok;
}

void ChildProcess::Kill() {
  if (Running() && TerminateProcess(info_.hProcess, 1)) WaitExit(5000);
  CloseIfOpen(info_.hProcess);
  info_ = PROCESS_INFORMATION{};
  CloseIfOpen(input_);
  CloseIfOpen(output_);
}

std::string ChildProcess::Ask(const std::string& line) {
  // A byte at a time: winmaker answers every command at once, and a helper that died breaks the
  // pipe.
  const std::string text = line + "\n";
  std::string answer;
  DWORD done = 0;
  char c = 0;
  if (!input_ || !WriteFile(input_, text.data(), text.size(), &done, nullptr)) return answer;
  while (ReadFile(output_, &c, 1, &done, nullptr) && done == 1 && c != '\n') {
    if (c != '\r') answer += c;
  }
  return answer;
}

void E2eTest::SetUp() {
  const auto* info = testing::UnitTest::GetInstance()->current_test_info();
  name_ = std::string(info->test_suite_name()) + "." + info->name();
  scratch_ = Configured("VD_SCRATCH", "e2e-scratch") + "\\" + name_;
  std::error_code ignored;
  std::filesystem::remove_all(scratch_, ignored);
  std::filesystem::create_directories(scratch_);
  std::filesystem::create_directories(Configured("VD_SHOTS", "e2e-shots"));
  std::ofstream(ScratchFile("settings.ini"), std::ios::binary) << kSettings;
  // The pointer waits in the bottom-right corner, where it hides nothing a test looks at.
  SetCursorPos(GetSystemMetrics(SM_CXSCREEN) - 1, GetSystemMetrics(SM_CYSCREEN) - 1);
}

void E2eTest::TearDown() {
  if (HasFailure()) ShotUntil("failed", [](const vdtools::Image&) { return true; });
  maker_.Kill();
  processes_.clear();
}

void E2eTest::Set(const char* section, const char* key, const char* value) {
  ASSERT_TRUE(WritePrivateProfileStringA(section, key, value, ScratchFile("settings.ini").c_str()));
}

ChildProcess& E2eTest::Launch(bool again) {
  const std::string copy = ScratchFile("vuedeck.exe"), exe = Configured("VD_EXE", "vuedeck.exe");
  EXPECT_TRUE(again || CopyFileA(exe.c_str(), copy.c_str(), FALSE)) << exe;
  EXPECT_TRUE(processes_.emplace_back().Start(copy, scratch_));
  return processes_.back();
}

HWND E2eTest::Start(bool again, const std::function<void()>& eachLook) {
  vuedeck_ = &Launch(again);
  pager_ = nullptr;
  WaitUntil(
      [&] {
        if (eachLook) eachLook();
        const std::vector<HWND> shown = WindowsOf(vuedeck_->Pid());
        if (!shown.empty()) pager_ = shown.front();
        return pager_ || !vuedeck_->Running();
      },
      kStartMs, eachLook ? 1 : 5);
  return pager_;
}

bool E2eTest::CloseAndWaitForExit(DWORD ms) {
  return PostMessageA(pager_, WM_CLOSE, 0, 0) && vuedeck_->WaitExit(ms);
}

HWND E2eTest::Maker(const std::string& verb, const std::string& caption, const std::string& rest) {
  if (!maker_.Running()) {
    EXPECT_TRUE(maker_.Start(Configured("VD_WINMAKER", "winmaker.exe"), scratch_, true));
  }
  const std::string answer = maker_.Ask(verb + " \"" + caption + "\" " + rest);
  return answer.rfind("ok ", 0) ? nullptr : reinterpret_cast<HWND>(std::stoll(answer.substr(3)));
}

HWND E2eTest::Open(const std::string& caption, const RECT& r, uint32_t color) {
  return Maker("open", caption, Geometry(r) + " color " + std::to_string(color));
}

HWND E2eTest::OpenManaged(const std::string& caption, const RECT& place, uint32_t color) {
  // Opened left of the screen and brought to the front, the program brings it to (0,0).
  const LONG w = place.right - place.left, h = place.bottom - place.top;
  HWND hwnd = Open(caption, {-2000, 200, -2000 + w, 200 + h}, color);
  const bool taken = hwnd && Maker("front", caption) && WaitUntil([&] {
                       return At(hwnd, {0, 0, w, h});
                     });
  EXPECT_TRUE(taken) << caption << " was not taken on:" << Facts({hwnd});
  return taken && Maker("move", caption, Geometry(place)) ? hwnd : nullptr;
}

bool E2eTest::ShotUntil(const std::string& step,
                        const std::function<bool(const vdtools::Image&)>& check, DWORD timeoutMs) {
  vdtools::Image image;
  const bool passed =
      WaitUntil([&] { return vdtools::CaptureScreen(image) && check(image); }, timeoutMs, 50);
  const std::string path = Configured("VD_SHOTS", "e2e-shots") + "\\" + name_ + "-" + step + ".png";
  EXPECT_TRUE(image.width && vdtools::SavePng(image, path)) << "the screen was not saved: " << path;
  return passed;
}

void E2eTest::Shot(const std::string& step) {
  // What Wine draws reaches the screen a moment after the call, piece by piece.
  std::vector<uint8_t> previous;
  int same = 0;
  ShotUntil(step, [&](const vdtools::Image& shot) {
    same = shot.rgb == previous ? same + 1 : 0;
    previous = shot.rgb;
    return same >= 3;
  });
}

}  // namespace vde2e
