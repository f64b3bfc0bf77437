#include "RandomRun.h"

// <windows.h> comes first (RandomRun.h); psapi builds on it.
#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <sstream>

#include "Desktop.h"
#include "Input.h"

namespace vdsoak {
namespace {

constexpr int kDesktops = 6;  // the settings' grid: 3 x 2
constexpr size_t kMostWindows = 10;
constexpr DWORD kStartTimeoutMs = 30000;
constexpr DWORD kExitTimeoutMs = 15000;
constexpr size_t kRecentSteps = 40;
// The committed memory moves by a megabyte or two with the windows open and Wine's own caches;
// a slope is judged over this much time at least.
constexpr double kJudgedMemorySeconds = 120;
constexpr char kControlClass[] = "VuedeckControl";
constexpr char kFormClass[] = "VuedeckForm";

enum Kind : uint32_t {
  kOpen,
  kClose,
  kHotkey,
  kCellClick,
  kDrag,
  kClick,
  kWindowMenu,
  kAppHide,
  kPagerToggle,
  kFront,
  kOffer,
  kPause,
  kKinds
};
// How often each kind comes, per 100 steps.
constexpr int kWeights[kKinds] = {12, 7, 14, 10, 10, 6, 14, 6, 4, 8, 3, 6};

std::string ClassOf(HWND hwnd) {
  char name[64] = "";
  GetClassNameA(hwnd, name, sizeof name);
  return name;
}

bool Inside(const RECT& inner, const RECT& outer) {
  return inner.left >= outer.left - 1 && inner.top >= outer.top - 1 &&
         inner.right <= outer.right + 1 && inner.bottom <= outer.bottom + 1;
}

std::string Seconds(double s) {
  char text[32];
  std::snprintf(text, sizeof text, "%7.1f s", s);
  return text;
}

}  // namespace

RandomRun::RandomRun(RunOptions options) : options_(std::move(options)), random_(options_.seed) {}

RandomRun::~RandomRun() {
  maker_.Stop();
  vuedeck_.Kill();
}

double RandomRun::Now() const { return static_cast<double>(GetTickCount64() - started_) / 1000.0; }

void RandomRun::Log(const std::string& what) {
  const std::string line = Seconds(Now()) + "  #" + std::to_string(steps_) + "  " + what;
  if (log_) log_ << line << "\n" << std::flush;
  if (options_.trace) std::printf("%s\n", line.c_str());
  recent_.push_back(line);
  if (recent_.size() > kRecentSteps) recent_.erase(recent_.begin());
}

void RandomRun::Fail(const std::string& what) {
  Log("FAILED: " + what);
  failures_.push_back(what);
}

RandomRun::Draw RandomRun::Next() {
  int pick = static_cast<int>(random_() % 100);
  uint32_t kind = 0;
  while (pick >= kWeights[kind]) pick -= kWeights[kind++];
  Draw d{kind, static_cast<uint32_t>(random_()), static_cast<uint32_t>(random_()),
         static_cast<uint32_t>(random_())};
  return d;
}

// ---- Setting up --------------------------------------------------------------------------------

bool RandomRun::SetUp() {
  const std::string& folder = options_.folder;
  CreateDirectoryA(folder.c_str(), nullptr);
  // What an earlier run left must not steer this one.
  for (const char* name : {"hidden.list", "hidden.list.new", "ignore.list", "settings.ini"}) {
    DeleteFileA((folder + "\\" + name).c_str());
  }
  log_.open(folder + "\\steps.log", std::ios::trunc);
  samples_.open(folder + "\\samples.csv", std::ios::trunc);
  samples_ << "seconds";
  for (const char* name : kHandleKindNames) samples_ << "," << name;
  samples_ << ",committed bytes,working set bytes\n";

  const std::string copy = folder + "\\vuedeck.exe";
  if (!CopyFileA(options_.vuedeckExe.c_str(), copy.c_str(), FALSE)) {
    std::printf("wine-soak: cannot copy %s to %s\n", options_.vuedeckExe.c_str(), copy.c_str());
    return false;
  }
  if (!settings_.Write(folder + "\\settings.ini")) {
    std::printf("wine-soak: cannot write the settings in %s\n", folder.c_str());
    return false;
  }
  if (!maker_.Start(options_.winmakerExe, folder)) {
    std::printf("wine-soak: cannot start %s\n", options_.winmakerExe.c_str());
    return false;
  }
  countMessage_ = RegisterWindowMessageA("VueDeckLiveHandles");
  vde2e::ParkCursor();
  if (!vuedeck_.Start(copy, "", folder, false)) {
    std::printf("wine-soak: cannot start %s\n", copy.c_str());
    return false;
  }
  vde2e::WaitUntil(
      [&] {
        auto shown = vde2e::TopLevelWindowsOf(vuedeck_.Pid(), true);
        if (!shown.empty()) pager_ = shown.front();
        return pager_ != nullptr || !vuedeck_.Running();
      },
      kStartTimeoutMs, 50);
  if (!pager_) {
    std::printf("wine-soak: vuedeck.exe showed no pager\n");
    return false;
  }
  grid_.emplace(pager_, settings_);
  if (!Counts()) {
    std::printf("wine-soak: the pager does not answer the handle counts (VueDeckLiveHandles)\n");
    return false;
  }
  return true;
}

// ---- What the program holds -------------------------------------------------------------------

std::optional<HandleCounts> RandomRun::Counts() const {
  HandleCounts counts{};
  for (int kind = 0; kind < kHandleKinds; ++kind) {
    DWORD_PTR answer = 0;
    if (!SendMessageTimeoutA(pager_, countMessage_, static_cast<WPARAM>(kind), 0,
                             SMTO_ABORTIFHUNG | SMTO_BLOCK, 3000, &answer)) {
      return std::nullopt;
    }
    counts[static_cast<size_t>(kind)] = static_cast<long>(static_cast<LRESULT>(answer));
  }
  return counts;
}

std::optional<std::pair<double, double>> RandomRun::Memory() const {
  PROCESS_MEMORY_COUNTERS memory{};
  memory.cb = sizeof memory;
  if (!GetProcessMemoryInfo(vuedeck_.Handle(), &memory, sizeof memory)) return std::nullopt;
  // The commit charge: Wine reports the private bytes there (PrivateUsage reads 0).
  return std::make_pair(static_cast<double>(memory.PagefileUsage),
                        static_cast<double>(memory.WorkingSetSize));
}

void RandomRun::MaybeSample() {
  const ULONGLONG now = GetTickCount64();
  if (now < nextSample_) return;
  nextSample_ = now + options_.sampleMs;
  auto memory = Memory();
  if (!memory) return;
  const double t = Now();
  memory_.push_back({t, memory->first});
  samples_ << t;
  if (auto counts = Counts()) {
    for (long c : *counts) samples_ << "," << c;
  } else {
    for (int i = 0; i < kHandleKinds; ++i) samples_ << ",";
  }
  samples_ << "," << static_cast<long long>(memory->first) << ","
           << static_cast<long long>(memory->second) << "\n"
           << std::flush;
}

bool RandomRun::Healthy() {
  if (!vuedeck_.Running()) {
    auto code = vuedeck_.ExitCode();
    Fail("vuedeck.exe ended by itself (exit code " + std::to_string(code ? *code : 0) + ")");
    return false;
  }
  DWORD_PTR answer = 0;
  if (!SendMessageTimeoutA(pager_, WM_NULL, 0, 0, SMTO_ABORTIFHUNG | SMTO_BLOCK, 5000, &answer)) {
    Fail("the pager did not answer within 5 s");
    return false;
  }
  return true;
}

// ---- The steps ---------------------------------------------------------------------------------

RandomRun::AppWindow* RandomRun::Pick(uint32_t a) {
  std::erase_if(windows_, [](const AppWindow& w) { return !IsWindow(w.hwnd); });
  if (windows_.empty()) return nullptr;
  return &windows_[a % windows_.size()];
}

std::vector<RandomRun::Miniature> RandomRun::Miniatures() const {
  struct Search {
    const RandomRun* run;
    std::vector<Miniature> found;
  } search{this, {}};
  EnumChildWindows(
      pager_,
      [](HWND child, LPARAM param) noexcept -> BOOL {
        auto* s = reinterpret_cast<Search*>(param);
        if (!IsWindowVisible(child) || ClassOf(child) != kControlClass) return TRUE;
        RECT r{};
        GetWindowRect(child, &r);
        for (int n = 1; n <= kDesktops; ++n) {
          const RECT cell = s->run->grid_->Cell(n);
          // A miniature lies in its cell and is smaller than it; the cell is a control too.
          if (Inside(r, cell) && (r.right - r.left < cell.right - cell.left - 2 ||
                                  r.bottom - r.top < cell.bottom - cell.top - 2)) {
            s->found.push_back({child, r, n});
            break;
          }
        }
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.found;
}

void RandomRun::Open(uint32_t a, uint32_t b) {
  Pick(0);
  if (windows_.size() >= kMostWindows) return;
  const std::string caption = "Soak " + std::to_string(++opened_);
  // Below the pager, above the task bar.
  const int w = 160 + static_cast<int>(a % 320), h = 120 + static_cast<int>((a >> 9) % 200);
  const int x = static_cast<int>(b % static_cast<uint32_t>(1280 - w));
  const int y = 380 + static_cast<int>((b >> 12) % static_cast<uint32_t>(940 - 380 - h));
  char color[16];
  std::snprintf(color, sizeof color, "0x%06X", static_cast<unsigned>((a >> 3) & 0xFFFFFF));
  HWND hwnd = maker_.Open(caption, x, y, w, h, std::string("color ") + color);
  if (!hwnd) {
    Log("open " + caption + ": winmaker refused");
    return;
  }
  windows_.push_back({caption, hwnd, false});
  const bool front = maker_.Front(caption);
  Log("open " + caption + " at (" + std::to_string(x) + "," + std::to_string(y) + ") " +
      std::to_string(w) + "x" + std::to_string(h) + (front ? "" : " (not brought to the front)"));
}

void RandomRun::Close(uint32_t a) {
  if (AppWindow* w = Pick(a)) {
    const std::string caption = w->caption;
    Log("close " + caption + (maker_.Close(caption) ? "" : ": winmaker failed"));
    Pick(0);
  }
}

void RandomRun::Hotkey(uint32_t a) {
  const int desktop = 1 + static_cast<int>(a % kDesktops);
  Log("hotkey Alt+" + std::to_string(desktop));
  vde2e::PressChord({VK_MENU, static_cast<WORD>('0' + desktop)});
}

void RandomRun::ClickCell(uint32_t a) {
  if (!NeedPager(a >> 8)) return;
  const int cell = 1 + static_cast<int>(a % kDesktops);
  Log("click on cell " + std::to_string(cell));
  vde2e::ClickPoint(grid_->FreePoint(cell));
}

void RandomRun::Drag(uint32_t a, uint32_t b, uint32_t c) {
  if (!NeedPager(a >> 8)) return;
  auto minis = Miniatures();
  if (minis.empty()) return;
  const Miniature& m = minis[a % minis.size()];
  const int target = 1 + static_cast<int>(b % kDesktops);
  const RECT cell = grid_->Cell(target);
  // Somewhere in the target cell, not only its free corner.
  const POINT to{
      cell.left + 4 + static_cast<LONG>(c % static_cast<uint32_t>(cell.right - cell.left - 8)),
      cell.top + 4 +
          static_cast<LONG>((c >> 10) % static_cast<uint32_t>(cell.bottom - cell.top - 8))};
  Log("drag the miniature in cell " + std::to_string(m.cell) + " to cell " +
      std::to_string(target));
  vde2e::DragAndRest(vde2e::Middle(m.rect), to, 6, 250);
}

void RandomRun::ClickMiniature(uint32_t a) {
  if (!NeedPager(a >> 8)) return;
  auto minis = Miniatures();
  if (minis.empty()) return;
  const Miniature& m = minis[a % minis.size()];
  Log("click on the miniature in cell " + std::to_string(m.cell));
  vde2e::ClickPoint(vde2e::Middle(m.rect));
}

// The window menu: Summon, Show on All Desktop, Always On Top, Move To >, Tranparent >, Remove,
// then the windows of the desktop. Home, some steps down, sometimes into a submenu, Enter.
void RandomRun::WindowMenu(uint32_t a, uint32_t b, uint32_t c) {
  if (!NeedPager(a >> 8)) return;
  auto minis = Miniatures();
  if (minis.empty()) return;
  const Miniature& m = minis[a % minis.size()];
  const int down = static_cast<int>(b % 8);
  const bool sub = c % 3 == 0;
  const int subDown = static_cast<int>((c >> 4) % 4);
  Log("window menu of the miniature in cell " + std::to_string(m.cell) + ": Home, " +
      std::to_string(down) + " down" +
      (sub ? ", right, " + std::to_string(subDown) + " down" : std::string()) + ", Enter");
  vde2e::ClickPoint(vde2e::Middle(m.rect), true);
  if (!vde2e::WaitUntil([] { return vde2e::VisiblePopupMenu() != nullptr; }, 2000)) {
    Log("  no menu showed");
    return;
  }
  Sleep(100);  // the menu's loop takes the keyboard
  vde2e::TypeKeys({VK_HOME});
  for (int i = 0; i < down; ++i) vde2e::TypeKeys({VK_DOWN});
  if (sub) {
    vde2e::TypeKeys({VK_RIGHT});
    for (int i = 0; i < subDown; ++i) vde2e::TypeKeys({VK_DOWN});
  }
  vde2e::TypeKeys({VK_RETURN});
  // Enter on a submenu's own entry opens it: the next Enter takes its first entry.
  if (vde2e::WaitUntil([] { return vde2e::VisiblePopupMenu() == nullptr; }, 300)) return;
  vde2e::TypeKeys({VK_RETURN});
}

void RandomRun::AppHideOrShow(uint32_t a) {
  AppWindow* w = Pick(a);
  if (!w) return;
  const bool hide = !w->hiddenByApp;
  const bool ok =
      maker_.Send(std::string(hide ? "hide " : "show ") + vde2e::WinMaker::Quote(w->caption)).ok;
  if (ok) w->hiddenByApp = hide;
  Log(std::string("the application ") + (hide ? "hides " : "shows ") + w->caption +
      (ok ? "" : ": winmaker failed"));
}

void RandomRun::TogglePager() {
  const bool shown = PagerShown();
  Log(std::string("Ctrl+F12: ") + (shown ? "hide" : "show") + " the pager");
  vde2e::PressChord({VK_CONTROL, VK_F12});
  if (!vde2e::WaitUntil([&] { return PagerShown() != shown; }, 1000)) {
    Log(std::string("  the pager stays ") + (shown ? "shown" : "hidden"));
  }
}

bool RandomRun::NeedPager(uint32_t a) {
  // A hidden pager is shown for every other step that needs it: it is not hidden for long.
  if (!PagerShown() && a % 2 == 0) TogglePager();
  return PagerShown();
}

void RandomRun::Front(uint32_t a) {
  if (AppWindow* w = Pick(a)) {
    if (w->hiddenByApp) return;
    Log("to the front: " + w->caption);
    maker_.Front(w->caption);
  }
}

void RandomRun::TakeOffer(uint32_t a) {
  if (!NeedPager(a >> 8)) return;
  HWND plus = vde2e::ButtonCaptioned(pager_, "+");
  if (!plus) return;
  RECT r{};
  GetWindowRect(plus, &r);
  Log("click on + (a window offered)");
  vde2e::ClickPoint(vde2e::Middle(r));
  Sleep(300);
  Tidy(a);
}

void RandomRun::Tidy(uint32_t a) {
  for (int round = 0; round < 3; ++round) {
    bool any = false;
    if (vde2e::VisiblePopupMenu()) {
      Log("  a menu stayed open: Escape");
      vde2e::TypeKeys({VK_ESCAPE, VK_ESCAPE});
      any = true;
    }
    for (HWND form : vde2e::TopLevelWindowsOf(vuedeck_.Pid(), true)) {
      if (form == pager_ || ClassOf(form) != kFormClass) continue;
      auto buttons = vde2e::VisibleButtons(form);
      char title[128] = "";
      GetWindowTextA(form, title, sizeof title);
      if (buttons.empty()) {
        Log(std::string("  a form without buttons (\"") + title + "\"): Escape");
        SetForegroundWindow(form);
        vde2e::TypeKeys({VK_ESCAPE});
      } else {
        const vde2e::ButtonInfo& b = buttons[(a + static_cast<uint32_t>(round)) % buttons.size()];
        Log("  answer " + b.caption + " to \"" + title + "\"");
        vde2e::ClickPoint(vde2e::Middle(b.rect));
      }
      any = true;
      Sleep(200);
    }
    if (!any) return;
  }
}

void RandomRun::Step(const Draw& d) {
  ++steps_;
  switch (d.kind) {
    case kOpen:
      Open(d.a, d.b);
      break;
    case kClose:
      Close(d.a);
      break;
    case kHotkey:
      Hotkey(d.a);
      break;
    case kCellClick:
      ClickCell(d.a);
      break;
    case kDrag:
      Drag(d.a, d.b, d.c);
      break;
    case kClick:
      ClickMiniature(d.a);
      break;
    case kWindowMenu:
      WindowMenu(d.a, d.b, d.c);
      break;
    case kAppHide:
      AppHideOrShow(d.a);
      break;
    case kPagerToggle:
      TogglePager();
      break;
    case kFront:
      Front(d.a);
      break;
    case kOffer:
      TakeOffer(d.a);
      break;
    default:
      Log("pause " + std::to_string(d.a % 1200) + " ms");
      Sleep(d.a % 1200);
      break;
  }
  // The program takes its turn; then whatever a step left asking is answered.
  Sleep(100 + d.b % 200);
  Tidy(d.c);
}

// ---- The phases --------------------------------------------------------------------------------

void RandomRun::Scripted() {
  Log("warm-up: one step of each kind");
  Open(0x1234567u, 0x0F00500u);
  Open(0x2345678u, 0x3F40100u);
  Hotkey(1);  // desktop 2
  Open(0x3456789u, 0x7A00300u);
  Hotkey(0);
  Sleep(500);
  ClickCell(1);
  Sleep(300);
  Drag(0, 2, 0x5A5A5);
  Sleep(300);
  ClickMiniature(1);
  WindowMenu(0, 2, 1);  // Always On Top
  Tidy(0);
  WindowMenu(1, 4, 3);  // Tranparent > an entry
  Tidy(1);
  WindowMenu(2, 5, 1);  // Remove: the question is answered
  Sleep(300);
  Tidy(2);
  AppHideOrShow(0);  // hides the first window
  AppHideOrShow(0);  // and shows it again
  TogglePager();
  Sleep(300);
  TogglePager();
  Front(0);
  Close(0);
  Tidy(0);
}

void RandomRun::RandomUntil(double seconds) {
  while (Now() < seconds && failures_.empty()) {
    if (!Healthy()) return;
    Step(Next());
    MaybeSample();
  }
}

bool RandomRun::TakeQuietPoint() {
  Log("quiet point: every window closed, desktop 1, the pager shown");
  Tidy(0);
  for (AppWindow& w : windows_) {
    if (w.hiddenByApp && IsWindow(w.hwnd)) maker_.Send("show " + vde2e::WinMaker::Quote(w.caption));
  }
  for (const AppWindow& w : windows_) {
    if (IsWindow(w.hwnd) && !maker_.Close(w.caption)) Log("  " + w.caption + " did not close");
  }
  windows_.clear();
  if (!PagerShown()) vde2e::PressChord({VK_CONTROL, VK_F12});
  vde2e::PressChord({VK_MENU, '1'});
  vde2e::ParkCursor();
  if (!Healthy()) return false;
  // The program forgets closed windows at its next tick and unloads their miniatures at the one
  // after: wait until two readings a tick apart agree, after at least a second.
  std::optional<HandleCounts> last;
  const ULONGLONG since = GetTickCount64();
  HandleCounts counts{};
  bool settled = vde2e::WaitUntil(
      [&] {
        auto now = Counts();
        const bool same = now && last && *now == *last && GetTickCount64() - since >= 1000;
        last = now;
        if (now) counts = *now;
        return same;
      },
      8000, 200);
  if (!last) {
    Fail("the pager did not answer the handle counts at a quiet point");
    return false;
  }
  std::ostringstream line;
  line << "  handles" << (settled ? "" : " (still changing)") << ":";
  for (int k = 0; k < kHandleKinds; ++k)
    line << " " << kHandleKindNames[k] << " " << counts[k] << ";";
  // The system's own counts of the process, beside the owners' (Wine reports 0 for all three).
  DWORD kernel = 0;
  GetProcessHandleCount(vuedeck_.Handle(), &kernel);
  line << " the system says: GDI " << GetGuiResources(vuedeck_.Handle(), GR_GDIOBJECTS) << ", USER "
       << GetGuiResources(vuedeck_.Handle(), GR_USEROBJECTS) << ", kernel " << kernel;
  Log(line.str());
  const auto memory = Memory();
  quiet_.push_back({Now(), counts, memory ? memory->first : 0});
  if (memory) memory_.push_back({quiet_.back().seconds, memory->first});
  return true;
}

bool RandomRun::ExitAndCheck() {
  Log("exit: the application shows what it hid, the pager is closed");
  Tidy(0);
  for (AppWindow& w : windows_) {
    if (w.hiddenByApp && IsWindow(w.hwnd)) {
      maker_.Send("show " + vde2e::WinMaker::Quote(w.caption));
      w.hiddenByApp = false;
    }
  }
  Sleep(300);
  Tidy(0);
  Pick(0);
  std::string hiddenBefore;
  for (const AppWindow& w : windows_) {
    if (!IsWindowVisible(w.hwnd)) hiddenBefore += " " + w.caption;
  }
  Log("  " + std::to_string(windows_.size()) +
      " windows open; hidden by the program:" + (hiddenBefore.empty() ? " none" : hiddenBefore));
  PostMessageA(pager_, WM_CLOSE, 0, 0);
  if (!vuedeck_.WaitExit(kExitTimeoutMs)) {
    Fail("vuedeck.exe still runs " + std::to_string(kExitTimeoutMs) + " ms after WM_CLOSE");
    return false;
  }
  bool ok = true;
  for (const AppWindow& w : windows_) {
    if (IsWindow(w.hwnd) && !IsWindowVisible(w.hwnd)) {
      Fail(w.caption + " is still hidden after the exit");
      ok = false;
    }
  }
  // The record must be gone; what it names tells what was left.
  std::ifstream record(options_.folder + "\\hidden.list", std::ios::binary);
  if (record) {
    std::string line, living, closed;
    while (std::getline(record, line)) {
      const long long handle = std::atoll(line.c_str());
      if (handle == 0) continue;
      (IsWindow(reinterpret_cast<HWND>(static_cast<intptr_t>(handle))) ? living : closed) +=
          " " + std::to_string(handle);
    }
    Fail("the record of hidden windows is still there after the exit, naming living windows:" +
         (living.empty() ? std::string(" none") : living) +
         "; closed ones:" + (closed.empty() ? std::string(" none") : closed));
    ok = false;
  }
  return ok;
}

int RandomRun::Run() {
  std::printf("wine-soak: seed %llu, %.0f s (replay: tests/soak/run-wine.sh %.0f %llu)\n",
              static_cast<unsigned long long>(options_.seed), options_.seconds, options_.seconds,
              static_cast<unsigned long long>(options_.seed));
  std::fflush(stdout);
  started_ = GetTickCount64();
  if (!SetUp()) return 2;
  std::printf("wine-soak: steps in %s\\steps.log, samples in %s\\samples.csv\n",
              options_.folder.c_str(), options_.folder.c_str());
  std::fflush(stdout);

  const double exitAt = options_.seconds;
  const double lastQuietAt = std::max(0.0, exitAt - options_.finalStretchSeconds);
  Scripted();
  MaybeSample();
  RandomUntil(std::min(options_.warmupSeconds, lastQuietAt));
  if (failures_.empty() && TakeQuietPoint()) {
    const double warmedUp = Now();
    for (double next = warmedUp + options_.quietEverySeconds; failures_.empty();
         next += options_.quietEverySeconds) {
      const double until = std::min(next, lastQuietAt);
      RandomUntil(until);
      if (!failures_.empty() || !TakeQuietPoint()) break;
      if (until >= lastQuietAt) break;
    }
    RandomUntil(exitAt);
    if (failures_.empty()) ExitAndCheck();

    for (const std::string& growth : HandleGrowth(quiet_)) Fail("handles grew: " + growth);
    // The memory's line is fitted between the first and the last quiet point: whole stretches
    // from no window of the application to none again (the final stretch only opens windows).
    const double from = quiet_.front().seconds, to = quiet_.back().seconds;
    std::vector<MemorySample> between;
    for (const MemorySample& m : memory_) {
      if (m.seconds >= from && m.seconds <= to) between.push_back(m);
    }
    const double slope = KilobytesPerMinute(between, from);
    if (to - from >= kJudgedMemorySeconds) {
      std::printf(
          "wine-soak: committed memory from %.0f s to %.0f s: %+.0f KB a minute (limit %.0f)\n",
          from, to, slope, options_.slopeLimitKbPerMinute);
      if (slope > options_.slopeLimitKbPerMinute) {
        char text[200];
        std::snprintf(text, sizeof text,
                      "committed memory grows %.0f KB a minute from %.0f s to %.0f s (limit %.0f)",
                      slope, from, to, options_.slopeLimitKbPerMinute);
        Fail(text);
      }
    } else {
      std::printf(
          "wine-soak: committed memory from %.0f s to %.0f s: %+.0f KB a minute, not judged "
          "(its noise needs %.0f s and more)\n",
          from, to, slope, kJudgedMemorySeconds);
    }
  }

  std::printf("wine-soak: %zu steps, %zu quiet points, %zu memory samples\n", steps_, quiet_.size(),
              memory_.size());
  for (const QuietPoint& q : quiet_) {
    std::printf("  quiet point at %s:", Seconds(q.seconds).c_str());
    for (int k = 0; k < kHandleKinds; ++k)
      std::printf(" %s %ld;", kHandleKindNames[k], q.counts[k]);
    std::printf(" committed %.0f KB\n", q.committedBytes / 1024);
  }
  if (failures_.empty()) {
    std::printf("wine-soak: passed (seed %llu)\n", static_cast<unsigned long long>(options_.seed));
    return 0;
  }
  std::printf("wine-soak: FAILED (seed %llu):\n", static_cast<unsigned long long>(options_.seed));
  for (const std::string& f : failures_) std::printf("  %s\n", f.c_str());
  std::printf("wine-soak: the last steps:\n");
  for (const std::string& line : recent_) std::printf("  %s\n", line.c_str());
  return 1;
}

}  // namespace vdsoak
