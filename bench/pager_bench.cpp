// Times the pager's 100 ms tick and the painting of one desktop cell, with the whole program
// running on the fake desktop and the headless toolkit (a 1920 x 1080 screen, a 9 x 9 grid).
#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "core/Program.h"
#include "forms/headless/HeadlessBackend.h"
#include "pager/GradientPainter.h"
#include "pager/PagerWindow.h"
#include "platform/Bitmap.h"
#include "platform/fake/FakeWindowSystem.h"

namespace vd {
namespace {

constexpr int kScreenWidth = 1920;
constexpr int kScreenHeight = 1080;
constexpr int kCells = 81;
constexpr const char* kSettings = "[SETUP]\r\ncolumns=9\r\nrows=9\r\nwidth=20\r\nheight=20\r\n";

// A running program in a scratch folder of its own (settings.ini lives there), with a number
// of 640 x 480 windows of other applications, each with a picture, the last one in front; the
// compositor's live thumbnails offered or not.
class RunningPager {
 public:
  explicit RunningPager(int windowCount, bool thumbnails = false) {
    std::random_device rd;
    folder_ = std::filesystem::temp_directory_path() /
              ("vuedeck-bench-" + std::to_string(rd()) + std::to_string(rd()));
    std::filesystem::create_directories(folder_);
    std::ofstream(folder_ / "settings.ini", std::ios::binary) << kSettings;
    fake.SetProgramFolder(folder_.string());
    fake.SetScreen(kScreenWidth, kScreenHeight);
    fake.SetThumbnailsOffered(thumbnails);
    backend = std::make_unique<forms::headless::HeadlessBackend>(&fake);

    for (int i = 0; i < windowCount; ++i) {
      fake::WindowTraits desc;
      desc.caption = "Window " + std::to_string(i);
      const int left = (i * 37) % (kScreenWidth - 640);
      const int top = (i * 23) % (kScreenHeight - 480);
      desc.rect = {left, top, left + 640, top + 480};
      const Hwnd hwnd = fake.CreateWindow(desc);
      fake.SetWindowPicture(hwnd,
                            Bitmap(640, 480, 0x102030u + static_cast<uint32_t>(i) * 0x010203u));
      windows.push_back(hwnd);
    }
    program = std::make_unique<Program>(fake, *backend);
    started = program->Start();
    if (!started) return;
    // Let the first pictures be taken and the timers settle, then put one window in front.
    backend->Advance(300);
    if (!windows.empty()) fake.Activate(windows.back());
  }
  ~RunningPager() {
    program.reset();
    backend.reset();
    std::error_code ec;
    std::filesystem::remove_all(folder_, ec);
  }

  PagerWindow& Pager() { return program->Main(); }

  // The screen point in the middle of each cell, by cell index (1-based; [0] unused).
  std::vector<Point> CellCentres() {
    PagerWindow& pager = Pager();
    const float originX = pager.Left() / pager.TwipsPerScreenPixel();
    const float originY = pager.Top() / pager.TwipsPerScreenPixel();
    std::vector<Point> centres(1);
    for (int i = 1; i <= pager.Desktops().Count(); ++i) {
      const forms::PictureBox& cell = pager.cells(i);
      centres.push_back(
          {static_cast<int32_t>(originX + pager.ToScreenPixelsX(cell.Left() + cell.Width() / 2)),
           static_cast<int32_t>(originY + pager.ToScreenPixelsY(cell.Top() + cell.Height() / 2))});
    }
    return centres;
  }

  fake::FakeWindowSystem fake;
  std::unique_ptr<forms::headless::HeadlessBackend> backend;
  std::unique_ptr<Program> program;
  std::vector<Hwnd> windows;
  bool started = false;

 private:
  std::filesystem::path folder_;
};

bool Ready(benchmark::State& state, RunningPager& run, int windowCount) {
  if (!run.started) {
    state.SkipWithError("the program did not start");
    return false;
  }
  if (run.Pager().Desktops().Count() != kCells) {
    state.SkipWithError("the grid is not 9 x 9");
    return false;
  }
  if (run.Pager().Table.Count() != windowCount) {
    state.SkipWithError("not every window is managed");
    return false;
  }
  return true;
}

// Adds the calls recorded since the last ClearCalls to `calls`, by name.
void CountCalls(const fake::FakeWindowSystem& fake, std::map<std::string, int64_t>& calls) {
  for (const fake::Call& call : fake.Calls()) ++calls[call.name];
}

// The calls through the window-system seam per iteration, as counters: "calls" in all, and
// one counter per call name.
void ReportCalls(benchmark::State& state, const std::map<std::string, int64_t>& calls,
                 int64_t iterations) {
  if (iterations == 0) return;
  int64_t total = 0;
  for (const auto& [name, count] : calls) {
    total += count;
    state.counters[name] = static_cast<double>(count) / static_cast<double>(iterations);
  }
  state.counters["calls"] = static_cast<double>(total) / static_cast<double>(iterations);
}

// The full tick with the mouse over the pager: hit test and repaint of the 81 cells, the front
// window followed (with its capture into its miniature when due) and the recovery record. The
// cursor moves to the next cell before each tick, so one cell loses its hover look and another
// gains it. The front window changes its picture before each tick when `playing` (a video).
void TimeTicks(benchmark::State& state, RunningPager& run, bool playing) {
  PagerWindow& pager = run.Pager();
  const std::vector<Point> centres = run.CellCentres();
  const Hwnd front = run.windows.back();
  int cell = 1;
  int hoverMisses = 0;
  int64_t ticks = 0;
  std::map<std::string, int64_t> calls;
  for (auto _ : state) {
    state.PauseTiming();
    cell = cell % kCells + 1;
    run.fake.SetCursor(centres[static_cast<size_t>(cell)]);
    if (playing) {
      run.fake.SetWindowPicture(front,
                                Bitmap(640, 480, 0x203040u + static_cast<uint32_t>(ticks % 64)));
    }
    run.fake.ClearCalls();
    pager.Hover().PointerMoved();  // the mouse is over the pager: the hit test runs
    state.ResumeTiming();
    pager.OnRefreshTick();
    state.PauseTiming();
    if (pager.Hover().CursorCell() != cell) ++hoverMisses;
    ++ticks;
    CountCalls(run.fake, calls);
    state.ResumeTiming();
  }
  if (hoverMisses > 0) state.SkipWithError("the cursor was not found in the cell it was put in");
  if (run.fake.GetForegroundWindow() != front) state.SkipWithError("the front window changed");
  ReportCalls(state, calls, ticks);
}

void BM_PagerTick(benchmark::State& state) {
  const int windowCount = static_cast<int>(state.range(0));
  RunningPager run(windowCount);
  if (Ready(state, run, windowCount)) TimeTicks(state, run, false);
}
BENCHMARK(BM_PagerTick)
    ->Arg(10)
    ->Arg(50)
    ->Arg(100)
    ->Unit(benchmark::kMicrosecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

// The tick with the front window's picture still (0) or changing every tick (1, a video), without
// (0) or with (1) the compositor's live thumbnails: with them the tick copies no window.
void BM_PagerTickLive(benchmark::State& state) {
  const int windowCount = static_cast<int>(state.range(0));
  RunningPager run(windowCount, state.range(2) != 0);
  if (Ready(state, run, windowCount)) TimeTicks(state, run, state.range(1) != 0);
}
BENCHMARK(BM_PagerTickLive)
    ->ArgsProduct({{10, 100}, {0, 1}, {0, 1}})
    ->Unit(benchmark::kMicrosecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

// A switch between two desktops of N windows each, by the desktops' hotkeys (Alt+1, Alt+2):
// the time on the fake desktop, and the calls the switch makes through the window-system seam,
// per switch (counters "calls", "ShowWindow", and one per call name), to set beside the 2N
// ShowWindow calls a bare loop makes for the same switch.
void TimeSwitches(benchmark::State& state, bool thumbnails) {
  const int perDesktop = static_cast<int>(state.range(0));
  RunningPager run(perDesktop, thumbnails);  // desktop 1's windows, taken on by the start-up scan
  if (!Ready(state, run, perDesktop)) return;
  PagerWindow& pager = run.Pager();
  // Desktop 2: each new window comes to the front and the foreground poll takes it on there.
  if (!run.fake.PressHotkey(MOD_ALT, '2') || pager.Desktops().Current() != 2) {
    state.SkipWithError("Alt+2 did not open desktop 2");
    return;
  }
  for (int i = 0; i < perDesktop; ++i) {
    fake::WindowTraits desc;
    desc.caption = "Second " + std::to_string(i);
    const int left = (i * 41) % (kScreenWidth - 640);
    const int top = (i * 29) % (kScreenHeight - 480);
    desc.rect = {left, top, left + 640, top + 480};
    const Hwnd hwnd = run.fake.CreateWindow(desc);
    run.fake.SetWindowPicture(hwnd, Bitmap(640, 480, 0x302010u + static_cast<uint32_t>(i)));
    run.fake.Activate(hwnd);
    run.backend->Advance(100);  // the event that it came to the front is acted on
  }
  run.backend->Advance(300);
  if (pager.Table.Count() != 2 * perDesktop) {
    state.SkipWithError("not every window of desktop 2 is managed");
    return;
  }
  std::map<std::string, int64_t> calls;
  int64_t switches = 0;
  int wrongDesktop = 0;
  char next = '1';
  for (auto _ : state) {
    state.PauseTiming();
    run.fake.ClearCalls();
    state.ResumeTiming();
    run.fake.PressHotkey(MOD_ALT, static_cast<uint32_t>(next));
    state.PauseTiming();
    CountCalls(run.fake, calls);
    if (pager.Desktops().Current() != next - '0') ++wrongDesktop;
    ++switches;
    next = next == '1' ? '2' : '1';
    state.ResumeTiming();
  }
  if (wrongDesktop > 0) state.SkipWithError("a hotkey did not switch");
  ReportCalls(state, calls, switches);
}

void BM_Switch(benchmark::State& state) { TimeSwitches(state, false); }
BENCHMARK(BM_Switch)
    ->Arg(10)
    ->Arg(50)
    ->Arg(100)
    ->Unit(benchmark::kMicrosecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

// The same switch without (0) or with (1) the compositor's live thumbnails: with them, each
// window hidden is copied once as it goes, and the shown desktop's windows get thumbnails.
void BM_SwitchLive(benchmark::State& state) { TimeSwitches(state, state.range(1) != 0); }
BENCHMARK(BM_SwitchLive)
    ->ArgsProduct({{10, 100}, {0, 1}})
    ->Unit(benchmark::kMicrosecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

// One cell painted the plain way: a fresh gradient painter drawing the cell's gradient line
// by line into a bitmap of the cell's size.
void BM_CellPlain(benchmark::State& state) {
  RunningPager run(0);
  if (!Ready(state, run, 0)) return;
  PagerWindow& pager = run.Pager();
  pager.cells(2).SyncSurfaceSize();
  const Bitmap& cellSurface = pager.cells(2).Surface();
  Bitmap surface(cellSurface.Width(), cellSurface.Height());
  const uint32_t colours[2] = {run.program->settings.colorNormal, run.program->settings.colorHover};
  int turn = 0;
  for (auto _ : state) {
    GradientPainter painter(run.fake);
    painter.SetAngle(315);
    painter.SetColor1(static_cast<int32_t>(colours[turn]));
    painter.SetColor2(0);
    benchmark::DoNotOptimize(painter.Draw(surface));
    benchmark::ClobberMemory();
    turn ^= 1;
  }
  state.SetLabel(std::to_string(surface.Width()) + "x" + std::to_string(surface.Height()));
}
BENCHMARK(BM_CellPlain)->Unit(benchmark::kMicrosecond)->Repetitions(5)->ReportAggregatesOnly(true);

// The same cell painted by the pager when the look was painted before: a copy of the cached
// bitmap. The colours alternate, since the pager skips a cell whose look did not change.
void BM_CellCached(benchmark::State& state) {
  RunningPager run(0);
  if (!Ready(state, run, 0)) return;
  PagerWindow& pager = run.Pager();
  const uint32_t colours[2] = {run.program->settings.colorNormal, run.program->settings.colorHover};
  for (uint32_t c : colours) pager.PaintDesktopCell(2, 315, c, 0);  // both looks cached
  int turn = 0;
  for (auto _ : state) {
    pager.PaintDesktopCell(2, 315, colours[turn], 0);
    benchmark::ClobberMemory();
    turn ^= 1;
  }
  const Bitmap& surface = pager.cells(2).Surface();
  state.SetLabel(std::to_string(surface.Width()) + "x" + std::to_string(surface.Height()));
}
BENCHMARK(BM_CellCached)->Unit(benchmark::kMicrosecond)->Repetitions(5)->ReportAggregatesOnly(true);

}  // namespace
}  // namespace vd

BENCHMARK_MAIN();
