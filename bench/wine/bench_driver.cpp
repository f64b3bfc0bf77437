// bench_driver.exe: measures vuedeck.exe under Wine against bare_switch.exe, the least a program
// can do for the same job, in alternating runs, and writes the figures as "key value" lines
// (bench/run.sh turns them into docs/PERFORMANCE.md).
//
//   bench_driver.exe --vuedeck EXE --winmaker EXE --bare EXE --scratch DIR --out FILE
//                    --wineprefix HOSTPATH [--counts 10,50,100] [--runs 16]
//                    [--interval-ms 4000] [--phases switch,spread,idle,startup] [--marks]
//
// The windows are real windows of winmaker.exe, another process, as a user's are.
//
// switch   N windows on desktop 1 and N on desktop 2 (3 x 2 grid, no animation). A run is the
//          time from the injected hotkey (SendInput) until every window of the new desktop is
//          visible and every window of the old one hidden (IsWindowVisible, polled every
//          millisecond). vuedeck answers Alt+1 / Alt+2; bare_switch.exe, holding the same
//          windows in the same two sets, Ctrl+Alt+1 / Ctrl+Alt+2. While one program runs the
//          other is suspended, so neither sees nor pays for the other's work. The windows are
//          all of one winmaker process, one thread each. Each run starts on a quiet desktop:
//          once the Wine server has been nearly idle for 100 ms. How long that took after the
//          end of each program's switch is kept too: the switch's work left to other
//          processes, Wine's task bar above all.
// spread   The same with the largest N, the windows dealt in turn to ten winmaker processes,
//          as a user's windows come from several applications.
// idle     N windows on desktop 1, a 9 x 9 grid, the pointer parked away from the pager. An
//          interval runs vuedeck with bare_switch.exe suspended, the next bare_switch.exe with
//          vuedeck suspended; each reads the processor time of the running program's Linux
//          process and of the Wine server (the kernel's schedstat of every thread) and the
//          program's resident memory. From these: the pager's cost per 100 ms tick, the idle
//          cost in percent of one core, and the memory above the bare program's.
// startup  N windows open before the program starts. A run is the time from CreateProcess to
//          the program's first visible window, to its answer to WM_NULL sent right after, and
//          to a hotkey switch pressed right after that having hidden all N windows.
//
// Every wait has a limit; a run that misses one counts as failed and the phase goes on.
//
// With --marks the log also names the Windows process ids of vuedeck.exe and bare_switch.exe
// ("mark pid vuedeck 013c") and brackets each timed switch and idle interval ("mark begin
// vuedeck-switch" ... "mark end vuedeck-switch 142.5"), so that a run with Wine's server trace
// (WINEDEBUG=+server) can count the server requests each program makes inside them.
#include <windows.h>

#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <initializer_list>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "ChildProcess.h"
#include "Desktop.h"
#include "HostProcesses.h"
#include "Input.h"
#include "Managed.h"
#include "Measure.h"
#include "SettingsIni.h"
#include "WinMaker.h"

namespace vdbench {
namespace {

using vdbench::ChildProcess;
using vdbench::PressChord;
using vdbench::SettingsIni;
using vdbench::WinMaker;

constexpr DWORD kStartTimeoutMs = 30000;
constexpr DWORD kAnswerTimeoutMs = 10000;
constexpr double kSwitchTimeoutMs = 15000;
// The windows of the spread switch come from this many winmaker processes, dealt in turn.
constexpr size_t kSpreadProcesses = 10;
constexpr DWORD kExitTimeoutMs = 10000;

using Options = DriverOptions;

void Log(const char* format, ...) {
  va_list args;
  va_start(args, format);
  std::fprintf(stderr, "bench: ");
  std::vfprintf(stderr, format, args);
  std::fprintf(stderr, "\n");
  std::fflush(stderr);
  va_end(args);
}

double NowMs() {
  static const double frequency = [] {
    LARGE_INTEGER f;
    QueryPerformanceFrequency(&f);
    return static_cast<double>(f.QuadPart);
  }();
  LARGE_INTEGER now;
  QueryPerformanceCounter(&now);
  return static_cast<double>(now.QuadPart) * 1000.0 / frequency;
}

bool MakeFolder(const std::string& path) {
  for (size_t i = 3; i <= path.size(); ++i) {
    if (i == path.size() || path[i] == '\\') {
      const std::string part = path.substr(0, i);
      if (!CreateDirectoryA(part.c_str(), nullptr) && GetLastError() != ERROR_ALREADY_EXISTS) {
        return false;
      }
    }
  }
  return true;
}

RECT PlaceOf(int i) {
  const WindowBox box = WindowPlace(i);
  return RECT{box.left, box.top, box.left + box.width, box.top + box.height};
}

std::string ColorOf(int i) {
  char text[32];
  std::snprintf(text, sizeof text, "color 0x%06X", (0x203040 + i * 0x0a1327) & 0xFFFFFF);
  return text;
}

// Opens `count` windows on the current desktop, all visible, each of the next winmaker in turn.
bool OpenWindows(const std::vector<WinMaker*>& makers, const std::string& prefix, int count,
                 std::vector<HWND>& out) {
  for (int i = 0; i < count; ++i) {
    const RECT r = PlaceOf(i);
    HWND hwnd = makers[static_cast<size_t>(i) % makers.size()]->Open(
        prefix + " " + std::to_string(i + 1), r.left, r.top, r.right - r.left, r.bottom - r.top,
        ColorOf(i));
    if (!hwnd) {
      Log("winmaker could not open window %d of %s", i + 1, prefix.c_str());
      return false;
    }
    out.push_back(hwnd);
  }
  return true;
}

using Targets = std::vector<std::pair<HWND, bool>>;  // window, must be visible

Targets SwitchTargets(const std::vector<HWND>& hide, const std::vector<HWND>& show) {
  Targets t;
  for (HWND w : hide) t.emplace_back(w, false);
  for (HWND w : show) t.emplace_back(w, true);
  return t;
}

// Polls until every window is in its state; the time it took from `startMs`, or -1.
double WaitStates(const Targets& targets, double startMs, double timeoutMs) {
  SwitchWatch watch(targets.size());
  auto probe = [&](size_t i) {
    return (IsWindowVisible(targets[i].first) != FALSE) == targets[i].second;
  };
  for (;;) {
    if (watch.Poll(probe)) return NowMs() - startMs;
    if (NowMs() - startMs > timeoutMs) return -1;
    Sleep(1);
  }
}

bool AllInState(const Targets& targets) {
  for (const auto& [w, visible] : targets) {
    if ((IsWindowVisible(w) != FALSE) != visible) return false;
  }
  return true;
}

// Waits until the Wine server has been nearly idle (under 2 % of a core) for 100 ms, at most
// kQuietLimitMs. Wine's task bar goes on with a switch of many windows for seconds after the
// windows changed: a switch timed meanwhile shares the processors and the server with it.
constexpr double kQuietLimitMs = 20000;
void WaitForQuiet(int serverPid) {
  const double start = NowMs();
  while (NowMs() - start < kQuietLimitMs) {
    const auto s0 = ProcessCpuNs(serverPid);
    const double t0 = NowMs();
    Sleep(100);
    const auto s1 = ProcessCpuNs(serverPid);
    if (!s0 || !s1) break;
    const double busyMs = static_cast<double>(*s1 - *s0) / 1e6;
    if (busyMs < 0.02 * (NowMs() - t0)) break;
  }
}

// Presses the chord and times the switch to `targets`; -1 when it did not happen in time.
double TimeSwitch(std::initializer_list<WORD> keys, const Targets& targets) {
  const double start = NowMs();
  if (!PressChord(keys)) return -1;
  return WaitStates(targets, start, kSwitchTimeoutMs);
}

// The top-level windows there are now.
std::set<HWND> TopLevelWindows() {
  std::set<HWND> all;
  EnumWindows(
      [](HWND hwnd, LPARAM param) noexcept -> BOOL {
        reinterpret_cast<std::set<HWND>*>(param)->insert(hwnd);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&all));
  return all;
}

// The first visible top-level window of the process, polled every 2 ms. Only windows that
// are not in `before` are asked for their process, each once: the poll must cost next to
// nothing while the program it waits for starts on the same two cores.
HWND WaitFirstWindow(const ChildProcess& process, const std::set<HWND>& before, DWORD timeoutMs) {
  std::set<HWND> others = before;
  std::vector<HWND> own;
  HWND found = nullptr;
  vdbench::WaitUntil(
      [&] {
        if (!process.Running()) return true;
        for (HWND hwnd : TopLevelWindows()) {
          if (others.count(hwnd) || std::find(own.begin(), own.end(), hwnd) != own.end()) {
            continue;
          }
          DWORD pid = 0;
          GetWindowThreadProcessId(hwnd, &pid);
          if (pid == process.Pid()) {
            own.push_back(hwnd);
          } else {
            others.insert(hwnd);
          }
        }
        for (HWND hwnd : own) {
          if (IsWindowVisible(hwnd)) {
            found = hwnd;
            return true;
          }
        }
        return false;
      },
      timeoutMs, 2);
  return found;
}

bool Answers(HWND hwnd) {
  DWORD_PTR result = 0;
  return SendMessageTimeoutA(hwnd, WM_NULL, 0, 0, SMTO_NORMAL, kAnswerTimeoutMs, &result) != 0;
}

// Ends vuedeck the way that gives every window back (its pager closed), else by force.
void CloseVuedeck(ChildProcess& process, HWND pager) {
  if (process.Running() && pager) {
    PostMessageA(pager, WM_CLOSE, 0, 0);
    process.WaitExit(kExitTimeoutMs);
  }
  process.Kill();
}

void CloseBare(ChildProcess& process, HWND window) {
  if (process.Running() && window) {
    PostMessageA(window, WM_CLOSE, 0, 0);
    process.WaitExit(kExitTimeoutMs);
  }
  process.Kill();
}

// A suspended process is resumed when this goes, whatever happened.
class Suspension {
 public:
  explicit Suspension(HANDLE process) : process_(process) {}
  ~Suspension() { Resume(); }
  Suspension(const Suspension&) = delete;
  Suspension& operator=(const Suspension&) = delete;
  bool Suspend() {
    if (!suspended_) suspended_ = SuspendProcess(process_);
    return suspended_;
  }
  void Resume() {
    if (suspended_) ResumeProcess(process_);
    suspended_ = false;
  }

 private:
  HANDLE process_;
  bool suspended_ = false;
};

std::string HandleList(const std::vector<HWND>& windows) {
  std::string text;
  for (HWND w : windows) {
    text += ' ';
    text += std::to_string(reinterpret_cast<intptr_t>(w));
  }
  return text;
}

class Bench {
 public:
  void Mark(const char* format, ...) {
    if (!o_.marks) return;
    char text[256];
    va_list args;
    va_start(args, format);
    std::vsnprintf(text, sizeof text, format, args);
    va_end(args);
    Log("mark %s", text);
  }
  void MarkPid(const char* program, const ChildProcess& process) {
    Mark("pid %s %04lx", program, static_cast<unsigned long>(process.Pid()));
  }

  explicit Bench(Options options) : o_(std::move(options)) {}

  int Run() {
    results_.Set("config.runs", std::to_string(o_.runs));
    results_.Set("config.interval_ms", std::to_string(o_.intervalMs));
    Save();
    for (const char* phaseName : {"switch", "spread", "idle", "startup"}) {
      const std::string phase = phaseName;
      if (!o_.phases.count(phase)) continue;
      for (int n : o_.counts) {
        if (phase == "spread" && n != o_.counts.back()) continue;
        const double started = NowMs();
        Log("%s with %d windows", phase.c_str(), n);
        if (phase == "switch") RunSwitch(n, 1);
        if (phase == "spread") RunSwitch(n, kSpreadProcesses);
        if (phase == "idle") RunIdle(n);
        if (phase == "startup") RunStartup(n);
        results_.Set(phase + "." + std::to_string(n) + ".seconds", (NowMs() - started) / 1000, 0);
        Save();
      }
    }
    return 0;
  }

 private:
  // A scratch folder with its own copy of vuedeck.exe and `settings`, no recovery record.
  std::string PrepareFolder(const std::string& name, const SettingsIni& settings) {
    const std::string folder = o_.scratch + "\\" + name;
    if (!MakeFolder(folder)) {
      Log("cannot make %s", folder.c_str());
      return "";
    }
    const std::string copy = folder + "\\vuedeck.exe";
    if (!CopyFileA(o_.vuedeck.c_str(), copy.c_str(), FALSE) ||
        !settings.Write(folder + "\\settings.ini")) {
      Log("cannot prepare %s", folder.c_str());
      return "";
    }
    DeleteFileA((folder + "\\hidden.list").c_str());
    return folder;
  }

  bool StartVuedeck(ChildProcess& process, const std::string& folder, HWND& pager) {
    const std::set<HWND> before = TopLevelWindows();
    if (!process.Start(folder + "\\vuedeck.exe", "", folder, false)) {
      Log("cannot start vuedeck.exe in %s", folder.c_str());
      return false;
    }
    pager = WaitFirstWindow(process, before, kStartTimeoutMs);
    if (!pager || !Answers(pager)) {
      Log("vuedeck.exe showed no pager that answers");
      return false;
    }
    return true;
  }

  // Starts bare_switch.exe and waits for its "ready".
  bool StartBare(ChildProcess& process, const std::string& folder, const std::string& sets,
                 const std::string& tag, HWND& window) {
    std::string arguments = "--tag " + tag;
    if (!sets.empty()) arguments += " --sets \"" + sets + "\"";
    const std::set<HWND> before = TopLevelWindows();
    if (!process.Start(o_.bare, arguments, folder, true)) {
      Log("cannot start %s", o_.bare.c_str());
      return false;
    }
    auto line = process.ReadLine(kStartTimeoutMs);
    if (!line || *line != "ready") {
      Log("bare_switch.exe: %s", line ? line->c_str() : "no answer");
      return false;
    }
    window = WaitFirstWindow(process, before, kStartTimeoutMs);
    return window != nullptr;
  }

  bool WriteSets(const std::string& path, const std::vector<HWND>& one,
                 const std::vector<HWND>& two) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << "1" << HandleList(one) << "\n2" << HandleList(two) << "\n";
    return static_cast<bool>(out);
  }

  std::optional<int> FindUnixPid(const std::string& exe, const std::string& marker) {
    return FindWineProcess(ListUnixProcesses({exe}), exe, o_.prefix, marker);
  }

  // ---- switch ---------------------------------------------------------------------------

  // `processes`: how many winmaker processes the windows come from.
  void RunSwitch(int n, size_t processes) {
    const std::string phase = processes > 1 ? "spread" : "switch";
    const std::string key = phase + "." + std::to_string(n);
    const std::string name = phase + "-" + std::to_string(n);
    SettingsIni settings;
    const std::string folder = PrepareFolder(name, settings);
    if (folder.empty()) return Fail(key, "no scratch folder");
    std::vector<WinMaker> makerSet(processes);
    std::vector<WinMaker*> makers;
    for (WinMaker& m : makerSet) {
      if (!m.Start(o_.winmaker, folder)) return Fail(key, "winmaker.exe did not start");
      makers.push_back(&m);
    }
    std::vector<HWND> one, two;
    if (!OpenWindows(makers, "Desk1", n, one))
      return Fail(key, "winmaker could not open the windows");

    ChildProcess vuedeck;
    HWND pager = nullptr;
    if (!StartVuedeck(vuedeck, folder, pager)) return Fail(key, "vuedeck.exe did not start");
    // Desktop 2, empty: every window of desktop 1 hides once the start-up scan took them all.
    if (TimeSwitch({VK_MENU, '2'}, SwitchTargets(one, {})) < 0) {
      CloseVuedeck(vuedeck, pager);
      return Fail(key, "vuedeck.exe did not hide the windows it found at its start");
    }
    // The second set is opened on desktop 2: each window comes to the front, is taken on,
    // then goes to its place.
    for (int i = 0; i < n; ++i) {
      const RECT place = PlaceOf(i);
      std::string why;
      WinMaker& maker = *makers[static_cast<size_t>(i) % makers.size()];
      HWND hwnd = vdbench::OpenManagedWindow(maker, "Desk2 " + std::to_string(i + 1),
                                             place.right - place.left, place.bottom - place.top,
                                             ColorOf(i + 7), &place, why);
      if (!hwnd) {
        CloseVuedeck(vuedeck, pager);
        return Fail(key, why);
      }
      two.push_back(hwnd);
    }
    const Targets toOne = SwitchTargets(two, one), toTwo = SwitchTargets(one, two);
    if (!AllInState(toTwo)) {
      CloseVuedeck(vuedeck, pager);
      return Fail(key, "the windows are not where the switches start");
    }
    const std::string sets = folder + "\\sets.txt";
    ChildProcess bare;
    HWND bareWindow = nullptr;
    if (!WriteSets(sets, one, two) || !StartBare(bare, folder, sets, name, bareWindow)) {
      CloseVuedeck(vuedeck, pager);
      return Fail(key, "bare_switch.exe did not start");
    }
    MarkPid("vuedeck", vuedeck);
    MarkPid("bare", bare);
    const auto serverPid = FindWineServer(ListUnixProcesses({}), o_.prefix);
    if (!serverPid) Log("  the Wine server's Linux process was not found: runs start unsettled");
    makers[static_cast<size_t>(n - 1) % makers.size()]->Front("Desk2 " + std::to_string(n));
    const DWORD settleMs = 300 + 5 * static_cast<DWORD>(n);
    Sleep(1000 + settleMs);

    std::vector<double> vd, base, loop, vdQuiet, baseQuiet;
    std::vector<double>* quietAfterLast = nullptr;  // that of the program that switched last
    double lastSwitchEnd = 0;
    int failures = 0;
    Suspension vdPause(vuedeck.Handle());
    auto sample = [&](const char* program, std::vector<double>& into,
                      std::initializer_list<WORD> keys, const Targets& targets) {
      if (serverPid) {
        WaitForQuiet(*serverPid);
        if (quietAfterLast) quietAfterLast->push_back(NowMs() - lastSwitchEnd);
      }
      quietAfterLast = &into == &vd ? &vdQuiet : &baseQuiet;
      Mark("begin %s-switch", program);
      const double ms = TimeSwitch(keys, targets);
      lastSwitchEnd = NowMs();
      Mark("end %s-switch %.1f", program, ms);
      if (ms < 0) {
        ++failures;
        // Put the windows where the next run expects them, whatever the program did.
        for (const auto& [w, visible] : targets) ShowWindow(w, visible ? SW_SHOWNA : SW_HIDE);
      } else {
        into.push_back(ms);
      }
      Sleep(settleMs);
    };
    for (int cycle = 0; cycle < o_.runs && failures <= o_.runs; ++cycle) {
      // vuedeck: desktop 2 -> 1 -> 2.
      vdPause.Resume();
      Sleep(200);
      sample("vuedeck", vd, {VK_MENU, '1'}, toOne);
      sample("vuedeck", vd, {VK_MENU, '2'}, toTwo);
      if (!vdPause.Suspend()) {
        Log("vuedeck.exe could not be suspended: the bare runs are left out");
        results_.Set(key + ".error", "vuedeck.exe could not be suspended for the bare runs");
        continue;
      }
      // The bare loop over the same windows, vuedeck suspended.
      sample("bare", base, {VK_CONTROL, VK_MENU, '1'}, toOne);
      sample("bare", base, {VK_CONTROL, VK_MENU, '2'}, toTwo);
      // The loop's own time, as bare_switch.exe measured it.
      while (auto line = bare.ReadLine(0)) {
        long long us = 0;
        int desktop = 0;
        if (std::sscanf(line->c_str(), "switch %d %lld", &desktop, &us) == 2) {
          loop.push_back(static_cast<double>(us) / 1000.0);
        }
      }
      Log("  switch cycle %d: vuedeck %.1f / %.1f ms, bare %.1f / %.1f ms", cycle + 1,
          vd.size() >= 2 ? vd[vd.size() - 2] : -1.0, vd.empty() ? -1.0 : vd.back(),
          base.size() >= 2 ? base[base.size() - 2] : -1.0, base.empty() ? -1.0 : base.back());
    }
    vdPause.Resume();
    results_.SetSummary(key + ".vuedeck_ms", Summarize(vd), 1);
    results_.SetSummary(key + ".bare_ms", Summarize(base), 1);
    results_.SetSummary(key + ".bare_loop_ms", Summarize(loop), 1);
    results_.SetSummary(key + ".vuedeck_quiet_ms", Summarize(vdQuiet), 0);
    results_.SetSummary(key + ".bare_quiet_ms", Summarize(baseQuiet), 0);
    results_.Set(key + ".failed", std::to_string(failures));
    CloseBare(bare, bareWindow);
    CloseVuedeck(vuedeck, pager);
    for (WinMaker* m : makers) m->Stop();
  }

  // ---- idle -------------------------------------------------------------------------------

  void RunIdle(int n) {
    const std::string key = std::to_string(n);
    const std::string name = "idle-" + key;
    SettingsIni settings;
    settings.Set("SETUP", "columns", "9");
    settings.Set("SETUP", "rows", "9");
    for (int d = 7; d <= 9; ++d) {
      settings.Set("HOTKEYS", std::to_string(d), "0," + std::to_string(6 + d) + ",1");
    }
    const std::string folder = PrepareFolder(name, settings);
    if (folder.empty()) return Fail("idle." + key, "no scratch folder");
    WinMaker maker;
    std::vector<HWND> windows;
    if (!maker.Start(o_.winmaker, folder) || !OpenWindows({&maker}, "Idle", n, windows)) {
      return Fail("idle." + key, "winmaker could not open the windows");
    }
    ChildProcess vuedeck;
    HWND pager = nullptr;
    if (!StartVuedeck(vuedeck, folder, pager))
      return Fail("idle." + key, "vuedeck.exe did not start");
    // Every window managed: a switch away hides them all, the switch back shows them.
    if (TimeSwitch({VK_MENU, '2'}, SwitchTargets(windows, {})) < 0 ||
        TimeSwitch({VK_MENU, '1'}, SwitchTargets({}, windows)) < 0) {
      CloseVuedeck(vuedeck, pager);
      return Fail("idle." + key, "vuedeck.exe did not take every window");
    }
    ChildProcess bare;
    HWND bareWindow = nullptr;
    if (!StartBare(bare, folder, "", name, bareWindow)) {
      CloseVuedeck(vuedeck, pager);
      return Fail("idle." + key, "bare_switch.exe did not start");
    }
    vdbench::ParkCursor();
    Sleep(2000);  // the first pictures of the windows are taken

    const auto vdPid = FindUnixPid("vuedeck.exe", "\\" + name + "\\");
    const auto barePid = FindUnixPid("bare_switch.exe", name);
    const auto serverPid = FindWineServer(ListUnixProcesses({}), o_.prefix);
    if (!vdPid || !barePid || !serverPid) {
      CloseBare(bare, bareWindow);
      CloseVuedeck(vuedeck, pager);
      return Fail("idle." + key,
                  "the Linux processes of vuedeck.exe, bare_switch.exe or the "
                  "Wine server were not found");
    }
    Log("  Linux processes: vuedeck.exe %d, bare_switch.exe %d, Wine server %d", *vdPid, *barePid,
        *serverPid);

    struct Interval {
      double wallMs = 0, programMs = 0, serverMs = 0;
      ResidentMemory memory;
      bool ok = false;
    };
    // One interval with `program` running: its processor time and the server's.
    MarkPid("vuedeck", vuedeck);
    MarkPid("bare", bare);
    auto measure = [&](const char* program, int pid) {
      Interval in;
      Sleep(500);  // what the resume itself set going is over
      const auto p0 = ProcessCpuNs(pid), s0 = ProcessCpuNs(*serverPid);
      const double t0 = NowMs();
      Mark("begin %s-idle", program);
      Sleep(static_cast<DWORD>(o_.intervalMs));
      Mark("end %s-idle %.1f", program, NowMs() - t0);
      const auto p1 = ProcessCpuNs(pid), s1 = ProcessCpuNs(*serverPid);
      in.wallMs = NowMs() - t0;
      const auto memory = ProcessMemory(pid);
      if (!p0 || !p1 || !s0 || !s1 || !memory || *p1 < *p0 || *s1 < *s0) return in;
      in.programMs = static_cast<double>(*p1 - *p0) / 1e6;
      in.serverMs = static_cast<double>(*s1 - *s0) / 1e6;
      in.memory = *memory;
      in.ok = true;
      return in;
    };

    std::vector<double> tick, tickServer, vdPct, basePct, vdRss, baseRss, vdAnon, baseAnon;
    Suspension vdPause(vuedeck.Handle()), barePause(bare.Handle());
    // Alternating intervals; `shown` only names the pager's state in the log.
    auto cycles = [&](const char* state, std::vector<double>* tickOut, std::vector<double>* vdOut,
                      std::vector<double>* baseOut, bool keepMemory) {
      for (int cycle = 0; cycle < o_.runs; ++cycle) {
        vdPause.Resume();
        const bool bareStopped = barePause.Suspend();
        const Interval v = measure("vuedeck", *vdPid);
        barePause.Resume();
        if (!bareStopped || !vdPause.Suspend()) {
          Log("a program could not be suspended: the intervals would overlap");
          results_.Set("idle." + key + ".error", "a program could not be suspended");
          break;
        }
        const Interval b = measure("bare", *barePid);
        if (!v.ok || !b.ok) {
          Log("  idle cycle %d: the process files could not be read", cycle + 1);
          continue;
        }
        const double ticks = v.wallMs / 100.0;
        tickOut->push_back(v.programMs / ticks);
        if (keepMemory) tickServer.push_back((v.programMs + v.serverMs) / ticks);
        vdOut->push_back(100.0 * (v.programMs + v.serverMs) / v.wallMs);
        baseOut->push_back(100.0 * (b.programMs + b.serverMs) / b.wallMs);
        if (keepMemory) {
          vdRss.push_back(static_cast<double>(v.memory.rssKib) / 1024);
          baseRss.push_back(static_cast<double>(b.memory.rssKib) / 1024);
          vdAnon.push_back(static_cast<double>(v.memory.anonKib) / 1024);
          baseAnon.push_back(static_cast<double>(b.memory.anonKib) / 1024);
        }
        Log("  idle cycle %d, pager %s: vuedeck %.2f ms/tick, %.3f %% with server, bare %.3f %%",
            cycle + 1, state, tickOut->back(), vdOut->back(), baseOut->back());
      }
      vdPause.Resume();
      barePause.Resume();
    };
    cycles("shown", &tick, &vdPct, &basePct, true);
    // The same with the pager put away (its hide key), where only the safety sweep may run.
    std::vector<double> hiddenTick, hiddenPct, hiddenBasePct;
    if (PressChord({VK_CONTROL, VK_F12}) &&
        vdbench::WaitUntil([&] { return !IsWindowVisible(pager); }, 3000)) {
      Sleep(1000);
      cycles("hidden", &hiddenTick, &hiddenPct, &hiddenBasePct, false);
      PressChord({VK_CONTROL, VK_F12});
      vdbench::WaitUntil([&] { return IsWindowVisible(pager) != FALSE; }, 3000);
    } else {
      Log("  the pager could not be put away: no figures with it hidden");
    }
    results_.SetSummary("tick." + key + ".vuedeck_ms", Summarize(tick), 3);
    results_.SetSummary("tick." + key + ".with_server_ms", Summarize(tickServer), 3);
    results_.SetSummary("idle." + key + ".vuedeck_pct", Summarize(vdPct), 3);
    results_.SetSummary("idle." + key + ".bare_pct", Summarize(basePct), 3);
    results_.SetSummary("idle." + key + ".above_pct", Summarize(PairedDifferences(vdPct, basePct)),
                        3);
    results_.SetSummary("idle_hidden." + key + ".vuedeck_pct", Summarize(hiddenPct), 3);
    results_.SetSummary("idle_hidden." + key + ".bare_pct", Summarize(hiddenBasePct), 3);
    results_.SetSummary("idle_hidden." + key + ".above_pct",
                        Summarize(PairedDifferences(hiddenPct, hiddenBasePct)), 3);
    results_.SetSummary("memory." + key + ".vuedeck_rss_mib", Summarize(vdRss), 1);
    results_.SetSummary("memory." + key + ".bare_rss_mib", Summarize(baseRss), 1);
    results_.SetSummary("memory." + key + ".growth_rss_mib",
                        Summarize(PairedDifferences(vdRss, baseRss)), 1);
    results_.SetSummary("memory." + key + ".vuedeck_anon_mib", Summarize(vdAnon), 1);
    results_.SetSummary("memory." + key + ".bare_anon_mib", Summarize(baseAnon), 1);
    results_.SetSummary("memory." + key + ".growth_anon_mib",
                        Summarize(PairedDifferences(vdAnon, baseAnon)), 1);
    CloseBare(bare, bareWindow);
    CloseVuedeck(vuedeck, pager);
    maker.Stop();
  }

  // ---- startup --------------------------------------------------------------------------

  void RunStartup(int n) {
    const std::string key = "startup." + std::to_string(n);
    const std::string name = "startup-" + std::to_string(n);
    SettingsIni settings;
    const std::string folder = PrepareFolder(name, settings);
    if (folder.empty()) return Fail(key, "no scratch folder");
    WinMaker maker;
    std::vector<HWND> windows;
    if (!maker.Start(o_.winmaker, folder) || !OpenWindows({&maker}, "Start", n, windows)) {
      return Fail(key, "winmaker could not open the windows");
    }
    const std::string sets = folder + "\\sets.txt";
    if (!WriteSets(sets, windows, {})) return Fail(key, "cannot write the window sets");
    const Targets hidden = SwitchTargets(windows, {}), shown = SwitchTargets({}, windows);
    const DWORD settleMs = 500 + 5 * static_cast<DWORD>(n);
    Sleep(settleMs);

    struct Times {
      std::vector<double> shown, answer, switched;
    } vd, base;
    int failures = 0;
    // One start: the program's first visible window, its answer, a switch to desktop 2.
    auto run = [&](bool isVuedeck, Times& into) {
      ChildProcess process;
      DeleteFileA((folder + "\\hidden.list").c_str());
      const std::set<HWND> before = TopLevelWindows();
      const double start = NowMs();
      const bool started =
          isVuedeck
              ? process.Start(folder + "\\vuedeck.exe", "", folder, false)
              : process.Start(o_.bare, "--tag " + name + " --sets \"" + sets + "\"", folder, true);
      const char* program = isVuedeck ? "vuedeck" : "bare";
      if (started) {
        MarkPid(program, process);
        Mark("begin %s-startup", program);
      }
      HWND window = started ? WaitFirstWindow(process, before, kStartTimeoutMs) : nullptr;
      const double shownMs = NowMs() - start;
      const bool answered = window && Answers(window);
      const double answerMs = NowMs() - start;
      if (started) Mark("end %s-startup %.1f", program, answerMs);
      double switchMs = -1;
      if (answered) {
        switchMs = isVuedeck ? TimeSwitch({VK_MENU, '2'}, hidden)
                             : TimeSwitch({VK_CONTROL, VK_MENU, '2'}, hidden);
        if (switchMs >= 0) switchMs = NowMs() - start;
      }
      if (switchMs >= 0) {
        into.shown.push_back(shownMs);
        into.answer.push_back(answerMs);
        into.switched.push_back(switchMs);
      } else {
        ++failures;
      }
      // Back to desktop 1, then the program ends.
      if (answered) {
        if (isVuedeck) {
          TimeSwitch({VK_MENU, '1'}, shown);
        } else {
          TimeSwitch({VK_CONTROL, VK_MENU, '1'}, shown);
        }
      }
      if (isVuedeck) {
        CloseVuedeck(process, window);
      } else {
        CloseBare(process, window);
      }
      if (!AllInState(shown)) {
        for (HWND w : windows) ShowWindow(w, SW_SHOWNA);
      }
      Sleep(settleMs);
      return switchMs >= 0;
    };
    for (int cycle = 0; cycle < o_.runs && failures <= o_.runs; ++cycle) {
      // The order alternates, so that neither program always follows the other.
      if (cycle % 2 == 0) {
        run(true, vd);
        run(false, base);
      } else {
        run(false, base);
        run(true, vd);
      }
      if (!vd.switched.empty() && !base.switched.empty()) {
        Log("  start-up cycle %d: vuedeck shown %.0f, answers %.0f, switched %.0f ms; bare %.0f, "
            "%.0f, %.0f ms",
            cycle + 1, vd.shown.back(), vd.answer.back(), vd.switched.back(), base.shown.back(),
            base.answer.back(), base.switched.back());
      }
    }
    results_.SetSummary(key + ".vuedeck_shown_ms", Summarize(vd.shown), 0);
    results_.SetSummary(key + ".vuedeck_answer_ms", Summarize(vd.answer), 0);
    results_.SetSummary(key + ".vuedeck_switch_ms", Summarize(vd.switched), 0);
    results_.SetSummary(key + ".bare_shown_ms", Summarize(base.shown), 0);
    results_.SetSummary(key + ".bare_answer_ms", Summarize(base.answer), 0);
    results_.SetSummary(key + ".bare_switch_ms", Summarize(base.switched), 0);
    results_.Set(key + ".failed", std::to_string(failures));
    maker.Stop();
  }

  void Fail(const std::string& key, const std::string& why) {
    Log("FAILED %s: %s", key.c_str(), why.c_str());
    results_.Set(key + ".error", why);
    Save();
  }

  void Save() {
    std::ofstream out(o_.out, std::ios::binary | std::ios::trunc);
    out << results_.Text();
    if (!out) Log("cannot write %s", o_.out.c_str());
  }

  Options o_;
  Results results_;
};

}  // namespace
}  // namespace vdbench

int main(int argc, char** argv) {
  std::string error;
  auto options =
      vdbench::ParseDriverOptions(std::vector<std::string>(argv + 1, argv + argc), error);
  if (!options) {
    std::fprintf(stderr,
                 "bench: %s\nusage: bench_driver.exe --vuedeck EXE --winmaker EXE --bare EXE "
                 "--scratch DIR --out FILE --wineprefix HOSTPATH [--counts 10,50,100] [--runs 16] "
                 "[--interval-ms 4000] [--phases switch,spread,idle,startup] [--marks]\n",
                 error.c_str());
    return 2;
  }
  return vdbench::Bench(std::move(*options)).Run();
}
