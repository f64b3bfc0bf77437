#!/usr/bin/env bash
# Measures VUEDECK's speed and writes docs/PERFORMANCE.md (figures, machine, method):
#   1. natively, on the in-memory fake desktop (a release build without sanitizers in
#      build/bench): the pager's 100 ms tick, one cell's paint, one desktop switch and the calls
#      each makes through the window-system seam (bench/pager_bench.cpp);
#   2. under Wine with real windows (a release build of the Windows tree): desktop switches,
#      the idle pager's processor time and memory, and start-up, each against bare_switch.exe,
#      a minimal program doing the same job in a plain loop (bench/wine/bench_driver.cpp).
# Every Wine process, Wine server and Xvfb it starts is stopped at the end, also on failure or
# timeout. About 20 to 30 minutes on two cores.
#
#   bench/run.sh [--native-only]
#
# Environment (all optional):
#   VD_BENCH_WIN64        the Windows build tree            (default build/bench-win64)
#   VD_BENCH_PREFIX       the Wine prefix                   (default <Windows tree>/wineprefix)
#   VD_BENCH_RUNS         runs of each program per figure   (default 16)
#   VD_BENCH_INTERVAL_MS  length of one idle interval       (default 4000)
#   VD_BENCH_COUNTS       windows per desktop               (default 10,50,100)
#   VD_BENCH_TIMEOUT      limit of the Wine part in seconds (default 2700)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

native_only=0
for arg in "$@"; do
  case "$arg" in
    --native-only) native_only=1 ;;
    *) echo "usage: $0 [--native-only]" >&2; exit 2 ;;
  esac
done

build=build/bench
win64=${VD_BENCH_WIN64:-build/bench-win64}
prefix=${VD_BENCH_PREFIX:-$win64/wineprefix}
runs=${VD_BENCH_RUNS:-16}
interval=${VD_BENCH_INTERVAL_MS:-4000}
counts=${VD_BENCH_COUNTS:-10,50,100}
limit=${VD_BENCH_TIMEOUT:-2700}
started=$SECONDS
load_before=$(cut -d' ' -f1-3 /proc/loadavg)

# ---- 1. Native ------------------------------------------------------------------------------
# GCC 12 at -O3 reports a false -Wrestrict inside std::string; kept a warning in this tree only.
cmake -S . -B "$build" -G Ninja -DVD_SANITIZE=OFF -DCMAKE_BUILD_TYPE=Release \
      -DCMAKE_CXX_FLAGS=-Wno-error=restrict >/dev/null
cmake --build "$build" -j2 --target pager_bench
json="$build/pager_bench.json"
timeout --kill-after=10 900 "$build/bench/pager_bench" --benchmark_out="$json" \
  --benchmark_out_format=json

median() {  # median real and CPU time of one benchmark, in microseconds
  jq -r --arg n "$1" '.benchmarks[] | select((.run_name | split("/repeats")[0]) == $n and .aggregate_name == "median")
    | "\(.real_time * 100 | round / 100) | \(.cpu_time * 100 | round / 100)"' "$json"
}
label() { jq -r --arg n "$1" 'first(.benchmarks[] | select((.run_name | split("/repeats")[0]) == $n) | .label // "")' "$json"; }
# The seam calls a benchmark counted per iteration: "total (name n, name n, ...)", most first.
calls() {
  jq -r --arg n "$1" '
    ["name","family_index","per_family_instance_index","run_name","run_type","repetitions",
     "threads","aggregate_name","aggregate_unit","iterations","real_time","cpu_time","time_unit",
     "label","error_occurred","error_message","repetition_index","calls"] as $std
    | first(.benchmarks[] | select((.run_name | split("/repeats")[0]) == $n and .aggregate_name == "median"))
    | "\(.calls | round) (" + ([to_entries[] | select(.key as $k | $std | index($k) | not)
        | select(.value >= 0.5)] | sort_by(-.value) | map("\(.key) \(.value | round)") | join(", ")) + ")"' "$json"
}
reps=$(jq -r 'first(.benchmarks[] | .repetitions)' "$json")
cell=$(label BM_CellPlain)
cpu=$(grep -m1 'model name' /proc/cpuinfo | sed 's/.*: //')
memory=$(awk '/MemTotal/ { printf "%.1f GiB", $2 / 1048576 }' /proc/meminfo)
compiler=$(c++ --version | head -n1)
date=$(date -u +%Y-%m-%d)

# ---- 2. Under Wine --------------------------------------------------------------------------
results="$win64/bench-results.txt"
log="$win64/bench-driver.log"
requests=/nonexistent/bench-requests.txt
requests_last=/nonexistent/bench-requests-last.txt
wine_state="not run (--native-only)"
[ $native_only = 1 ] && results=/nonexistent/bench-results.txt
wine_version="" mingw=""
if [ $native_only = 0 ]; then
  # The same false -Wrestrict of GCC 12 at -O3 as above, in the cross compiler.
  cmake -S . -B "$win64" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake" \
        -DCMAKE_BUILD_TYPE=Release -DCMAKE_CXX_FLAGS=-Wno-error=restrict >/dev/null
  cmake --build "$win64" -j2 --target vuedeck winmaker bare_switch bench_driver
  win64=$(cd "$win64" && pwd)
  results="$win64/bench-results.txt"
  log="$win64/bench-driver.log"
  requests="$win64/bench-requests.txt"
  requests_last="$win64/bench-requests-last.txt"
  rm -f "$requests" "$requests_last"
  mkdir -p "$prefix"
  prefix=$(cd "$prefix" && pwd)
  scratch="$win64/bench-scratch"
  rm -rf "$scratch" "$results"
  mkdir -p "$scratch"
  winpath() { printf 'Z:%s' "${1//\//\\}"; }
  wine_version=$(/usr/lib/wine/wine64 --version 2>/dev/null || wine --version 2>/dev/null || echo "Wine")
  mingw=$(x86_64-w64-mingw32-g++-posix --version | head -n1)
  echo "bench: under Wine, at most $limit s (progress in $log)"
  set +e
  timeout --kill-after=30 "$limit" \
    scripts/with-wine.sh --prefix "$prefix" -- \
    bash -c 'exec "$WINE" "$@"' bench "$win64/bench_driver.exe" \
      --vuedeck "$(winpath "$win64/vuedeck.exe")" --winmaker "$(winpath "$win64/winmaker.exe")" \
      --bare "$(winpath "$win64/bare_switch.exe")" --scratch "$(winpath "$scratch")" \
      --out "$(winpath "$results")" --wineprefix "$prefix" --counts "$counts" --runs "$runs" \
      --interval-ms "$interval" 2>&1 | tee "$log"
  rc=${PIPESTATUS[0]}
  set -e
  case $rc in
    0) wine_state="complete" ;;
    124|137) wine_state="stopped after $limit s: figures missing below were not reached" ;;
    *) wine_state="ended with status $rc: figures missing below were not reached" ;;
  esac

  # Two short runs more with the Wine server's trace, to count the requests each program makes
  # in a switch and while idle (the trace slows everything down: only the counts are used).
  trace_run() {
    WINEDEBUG=+server timeout --kill-after=30 600 \
      scripts/with-wine.sh --prefix "$prefix" -- \
      bash -c 'exec "$WINE" "$@"' bench "$win64/bench_driver.exe" \
        --vuedeck "$(winpath "$win64/vuedeck.exe")" --winmaker "$(winpath "$win64/winmaker.exe")" \
        --bare "$(winpath "$win64/bare_switch.exe")" --scratch "$(winpath "$scratch")" \
        --out "$(winpath "$win64/bench-trace-results.txt")" --wineprefix "$prefix" --marks "$@" 2>&1 |
      awk -f bench/wine/server-requests.awk
  }
  if [ $rc = 0 ]; then
    echo "bench: counting the Wine server requests (traced runs)"
    {
      trace_run --phases switch --counts "${counts%%,*}" --runs 2 || true
      trace_run --phases idle --counts "${counts##*,}" --runs 1 --interval-ms 3000 || true
    } > "$requests"
    # The same switch with the most windows: whose requests grow with the number of windows.
    trace_run --phases switch --counts "${counts##*,}" --runs 1 > "$requests_last" || true
  fi
fi

# ---- 3. The report --------------------------------------------------------------------------
# One figure of the Wine run ("—" when it is missing).
v() {
  local value=""
  [ -f "$results" ] && value=$(awk -v k="$1" '$1 == k { $1 = ""; sub(/^ /, ""); print; exit }' "$results")
  if [ -z "$value" ] || [ "$value" = nan ]; then echo "—"; else echo "$value"; fi
}
# "median (q1 – q3)" of a summary.
mq() { local m; m=$(v "$1.median"); [ "$m" = "—" ] && { echo "—"; return; }; echo "$m ($(v "$1.q1") – $(v "$1.q3"))"; }
# a / b with two decimals, or "—".
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { if (a == "—" || b == "—" || b + 0 == 0) print "—"; else printf "%.2f", a / b }'; }
# "met" / "missed" for value OP limit.
verdict() {
  awk -v x="$1" -v op="$2" -v lim="$3" 'BEGIN {
    if (x == "—") { print "not measured"; exit }
    ok = (op == "<") ? (x + 0 < lim + 0) : (x + 0 <= lim + 0)
    print ok ? "met" : "**missed**" }'
}
n_of() { v "$1.n"; }
first=${counts%%,*}
last=${counts##*,}

sw_ratio=$(ratio "$(v switch.$last.vuedeck_ms.median)" "$(v switch.$last.bare_ms.median)")
tick_last=$(v tick.$last.vuedeck_ms.median)
idle50=$(v idle.50.above_pct.median)
idle50_hidden=$(v idle_hidden.50.above_pct.median)
start_first_ratio=$(ratio "$(v startup.$first.vuedeck_shown_ms.median)" "$(v startup.$first.bare_shown_ms.median)")
start_first_answer_s=$(awk -v x="$(v startup.$first.vuedeck_answer_ms.median)" 'BEGIN { if (x == "—") print "—"; else printf "%.2f", x / 1000 }')
start_last_shown_s=$(awk -v x="$(v startup.$last.vuedeck_shown_ms.median)" 'BEGIN { if (x == "—") print "—"; else printf "%.2f", x / 1000 }')
mem_last=$(v memory.$last.growth_rss_mib.median)
start_last=$(v startup.$last.vuedeck_answer_ms.median)
start_switch_last=$(v startup.$last.vuedeck_switch_ms.median)
start_last_s=$(awk -v x="$start_last" 'BEGIN { if (x == "—") print "—"; else printf "%.2f", x / 1000 }')
start_switch_s=$(awk -v x="$start_switch_last" 'BEGIN { if (x == "—") print "—"; else printf "%.2f", x / 1000 }')

growth_rows=""
worst_growth="—"
add_growth() {  # LABEL KEY-PATTERN (with N for the window count) [baseline]
  local k1=${2//N/$first} k2=${2//N/$last} a b r
  a=$(v "$k1"); b=$(v "$k2"); r=$(ratio "$b" "$a")
  if [ "${3:-}" = baseline ]; then
    growth_rows+="| $1 | $a | $b | $r | (the baseline's) |"$'\n'
    return
  fi
  growth_rows+="| $1 | $a | $b | $r | $(verdict "$r" "<=" 12) |"$'\n'
  if [ "$r" != "—" ]; then
    worst_growth=$(awk -v w="$worst_growth" -v r="$r" 'BEGIN { print (w == "—" || r + 0 > w + 0) ? r : w }')
  fi
}
add_growth "Switch, vuedeck (ms)" "switch.N.vuedeck_ms.median"
add_growth "Switch, bare loop (ms, for comparison)" "switch.N.bare_ms.median" baseline
add_growth "Pager tick, vuedeck.exe (ms CPU per tick)" "tick.N.vuedeck_ms.median"
add_growth "Idle, vuedeck.exe and Wine server (% of one core)" "idle.N.vuedeck_pct.median"
add_growth "Memory above the bare program (MiB RSS)" "memory.N.growth_rss_mib.median"
add_growth "Start-up to the pager answering (ms)" "startup.N.vuedeck_answer_ms.median"

switch_rows="" idle_rows="" memory_rows="" startup_rows=""
IFS=, read -r -a count_list <<<"$counts"
switch_row() { # LABEL KEY
  local k=$2
  echo "| $1 | $(mq $k.vuedeck_ms) | $(mq $k.bare_ms) | $(ratio "$(v $k.vuedeck_ms.median)" "$(v $k.bare_ms.median)") | $(mq $k.bare_loop_ms) | $(mq $k.vuedeck_quiet_ms) | $(mq $k.bare_quiet_ms) | $(n_of $k.vuedeck_ms) / $(n_of $k.bare_ms) | $(v $k.failed) |"
}
for n in "${count_list[@]}"; do
  switch_rows+="$(switch_row "$n" "switch.$n")"$'\n'
  idle_rows+="| $n | $(mq tick.$n.vuedeck_ms) | $(mq idle.$n.vuedeck_pct) | $(mq idle.$n.bare_pct) | $(mq idle.$n.above_pct) | $(mq idle_hidden.$n.vuedeck_pct) | $(mq idle_hidden.$n.bare_pct) | $(mq idle_hidden.$n.above_pct) | $(n_of idle.$n.above_pct) / $(n_of idle_hidden.$n.above_pct) |"$'\n'
  memory_rows+="| $n | $(mq memory.$n.vuedeck_rss_mib) | $(mq memory.$n.bare_rss_mib) | $(mq memory.$n.growth_rss_mib) | $(mq memory.$n.growth_anon_mib) |"$'\n'
  startup_rows+="| $n | $(mq startup.$n.vuedeck_shown_ms) | $(mq startup.$n.vuedeck_answer_ms) | $(mq startup.$n.vuedeck_switch_ms) | $(mq startup.$n.bare_answer_ms) | $(mq startup.$n.bare_switch_ms) | $(n_of startup.$n.vuedeck_answer_ms) / $(n_of startup.$n.bare_answer_ms) | $(v startup.$n.failed) |"$'\n'
done
switch_rows+="$(switch_row "$last, of ten processes" "spread.$last")"$'\n'
# The traced runs' counts: per switch, or per 100 ms of an idle interval.
request_text="Not counted in this run."
if [ -s "$requests" ]; then
  request_rows=$(awk '
    function what(label) {
      split(label, part, "-")
      return (part[1] == "bare" ? "bare_switch.exe" : part[1] ".exe") ", " (part[2] == "idle" ? "idle" : "switch")
    }
    $1 == "others" { next }
    {
      idle = ($1 ~ /-idle$/)
      unit = idle ? ($3 / 100) : $2
      if (unit <= 0) next
      most = ""
      timers = ""
      for (i = 5; i <= NF; i++) {
        split($i, kv, "=")
        if (kv[2] / unit < 0.5) continue
        if (kv[1] ~ /^timer:/) {
          timers = timers (timers == "" ? "" : ", ") "timer " substr(kv[1], 7) ": " sprintf("%.1f", kv[2] / unit)
        } else {
          most = most (most == "" ? "" : ", ") kv[1] " " sprintf("%.0f", kv[2] / unit)
        }
      }
      printf "| %s | %s | %.0f | %s | %s |\n", what($1), idle ? "100 ms" : "switch", $4 / unit, most, timers
    }' "$requests")
  request_text="Counted in two short runs more with Wine's server trace (WINEDEBUG=+server; it slows
everything down, so only the counts are used): the requests the threads of each program sent
to the Wine server between the hotkey and the end of a switch with $first windows per desktop
(vuedeck's timers included, as far as they ran during the switch), and during idle intervals
with $last windows and a 9 x 9 grid. Nearly every Win32 call that reads or changes another
process's window, every paint and every wait for a message is at least one request, a round
trip to the server process: under Wine they are the bulk of a program's cost. The last column
shows how often each of the program's timers actually fired (its ids are the forms toolkit's).

| Program, what | per | requests | the most frequent, per the same | WM_TIMER received, by timer id |
|---|---|---|---|---|
$request_rows"
fi

# Requests per window asked to hide or show in a switch (N hidden and N shown): the program's
# own, and those of every other process meanwhile.
if [ -s "$requests" ] && [ -s "$requests_last" ]; then
  per_window() {  # FILE WINDOWS LABEL: "own others" per window asked
    awk -v n="$2" -v label="$3" '
      $1 == label && $2 > 0 { own = $4 / $2 / (2 * n) }
      $1 == "others" && $2 == label && $3 > 0 { other = $4 / $3 / (2 * n) }
      END { printf "%.1f %.1f", own, other }' "$1"
  }
  read -r vd_first other_first <<<"$(per_window "$requests" "$first" vuedeck-switch)"
  read -r vd_last other_last <<<"$(per_window "$requests_last" "$last" vuedeck-switch)"
  read -r bare_first bother_first <<<"$(per_window "$requests" "$first" bare-switch)"
  read -r bare_last bother_last <<<"$(per_window "$requests_last" "$last" bare-switch)"
  request_text+="
Per window hidden or shown in a switch, from the same traced switches and from one more with
$last windows per desktop: the requests of the program itself, and those every other process
of the prefix made meanwhile (the windows' own threads hiding, showing and activating
themselves, Wine's desktop with its task bar), which do the work of the switch.

| Windows per desktop | vuedeck.exe | other processes, during vuedeck's switch | bare_switch.exe | other processes, during the bare loop |
|---|---|---|---|---|
| $first | $vd_first | $other_first | $bare_first | $bother_first |
| $last | $vd_last | $other_last | $bare_last | $bother_last |
"
fi

errors=""
if [ -f "$results" ]; then
  errors=$(awk '$1 ~ /\.error$/ { k = $1; $1 = ""; printf "- `%s`:%s\n", k, $0 }' "$results")
fi

wine_where="Wine not used"
[ -z "$wine_version" ] || wine_where="$wine_version on Xvfb (1280 x 1024, Wine's virtual desktop)"

cat > docs/PERFORMANCE.md <<DOC
# Performance

Measured on $date with \`bench/run.sh\` (sources in \`bench/\`), $((SECONDS - started)) s in all.
Machine: $(nproc) CPUs ($cpu), $memory of memory, load average $load_before when the run began
and $(cut -d' ' -f1-3 /proc/loadavg) when it ended (other work on the machine shows there);
$wine_where;
vuedeck.exe built by ${mingw:-MinGW-w64} (Release), the native benchmarks by $compiler. The run
under Wine: $wine_state.

## Against the targets

| Figure | Target | Measured (median) | |
|---|---|---|---|
| Switch with $last windows per desktop, vuedeck's time over the bare loop's | at most 0.2 x | $sw_ratio x ($(v switch.$last.vuedeck_ms.median) ms against $(v switch.$last.bare_ms.median) ms) | $(verdict "$sw_ratio" "<=" 0.2) |
| Pager tick under Wine, 9 x 9 grid, $last windows (CPU of vuedeck.exe per tick) | under 2 ms | $tick_last ms | $(verdict "$tick_last" "<" 2) |
| Idle with 50 windows, the pager shown, vuedeck.exe and the Wine server above the baseline | at most 0.3 % of one core | $idle50 % | $(verdict "$idle50" "<=" 0.3) |
| Idle with 50 windows, the pager put away, the same | at most 0.05 % of one core | $idle50_hidden % | $(verdict "$idle50_hidden" "<=" 0.05) |
| Memory with $last windows above the baseline (RSS of the Wine process) | under 20 MiB | $mem_last MiB | $(verdict "$mem_last" "<" 20) |
| Start-up with $first windows open, the pager shown, over the bare program's first window | at most 2 x | $start_first_ratio x ($(v startup.$first.vuedeck_shown_ms.median) ms against $(v startup.$first.bare_shown_ms.median) ms) | $(verdict "$start_first_ratio" "<=" 2) |
| Start-up with $first windows open, to the pager answering | within 0.5 s | $start_first_answer_s s | $(verdict "$start_first_answer_s" "<=" 0.5) |
| Start-up with $last windows open, to the pager shown | within 1 s | $start_last_shown_s s (answering at $start_last_s s, a hotkey switch took effect at $start_switch_s s) | $(verdict "$start_last_shown_s" "<=" 1) |
| Growth from $first to $last windows, worst figure of vuedeck's | at most 12 x | $worst_growth x | $(verdict "$worst_growth" "<=" 12) |

Each cell below gives the median and, in brackets, the lower and upper quartile of the runs.
$( [ -z "$errors" ] || printf '\nWhat failed in the run under Wine:\n\n%s\n' "$errors" )

## Under Wine

### Desktop switch

From the injected hotkey to the last window of the new desktop shown and every window of the
old one hidden, in ms. N windows on each of two desktops; vuedeck (Alt+1 / Alt+2) against
bare_switch.exe (Ctrl+Alt+1 / Ctrl+Alt+2) switching the same windows in a plain loop. Each run
starts on a quiet desktop; "quiet again" is the time from the end of each program's switch
until the Wine server was nearly idle again (never less than the settling time and one look of
100 ms): what the switch left other processes to do, Wine's task bar above all. In the last
row the windows come from ten winmaker processes, dealt in turn, as a user's come from several
applications; in the others, all from one (a thread each).

| Windows per desktop | vuedeck | bare loop | ratio of medians | the loop's own time | quiet again after vuedeck's | quiet again after the bare loop's | runs (vuedeck / bare) | failed runs |
|---|---|---|---|---|---|---|---|---|
$switch_rows
### Pager tick and idle cost

A 9 x 9 grid, N windows on desktop 1, nothing happening, the mouse away from the pager; the same
again with the pager put away (its hide key). The tick is the processor time of vuedeck.exe per
100 ms (all its threads) with the pager shown; the idle cost is vuedeck.exe and the Wine server
in percent of one core (which is also their milliseconds per 100 ms), against bare_switch.exe
and the Wine server with the same windows open.

| Windows | vuedeck.exe per tick (ms) | shown: vuedeck + server (%) | bare + server (%) | above the baseline (% of a core) | put away: vuedeck + server (%) | bare + server (%) | above the baseline (% of a core) | intervals (shown / put away) |
|---|---|---|---|---|---|---|---|---|
$idle_rows
### Memory

Resident memory of each program's Linux process (VmRSS, and its anonymous part RssAnon, the
closest to private bytes), with the same N windows open, in MiB.

| Windows | vuedeck.exe RSS | bare_switch.exe RSS | growth, RSS | growth, anonymous |
|---|---|---|---|---|
$memory_rows
### Start-up

From CreateProcess to the first visible window of the program, to its answer to WM_NULL
(sent as soon as it shows), and to a switch to the empty desktop 2 (hotkey pressed as soon as
it answers) having hidden all N windows, in ms. N windows open before the start.

| Windows | vuedeck shown | vuedeck answers | vuedeck switched | bare answers | bare switched | runs (vuedeck / bare) | failed runs |
|---|---|---|---|---|---|---|---|
$startup_rows
### Wine server requests

$request_text

### Growth from $first to $last windows

| Figure | at $first | at $last | growth | at most 12 x |
|---|---|---|---|---|
$growth_rows
## Natively, on the fake desktop

| What is measured | Median real time (µs) | Median CPU time (µs) |
|---|---|---|
| Pager tick, 100 windows | $(median BM_PagerTick/100) |
| Pager tick, 50 windows (for information) | $(median BM_PagerTick/50) |
| Pager tick, 10 windows (for information) | $(median BM_PagerTick/10) |
| Switch, 100 windows per desktop | $(median BM_Switch/100) |
| Switch, 10 windows per desktop | $(median BM_Switch/10) |
| Pager tick, 10 windows, the front one changing every tick (a video), copied | $(median BM_PagerTickLive/10/1/0) |
| The same, where the compositor draws live thumbnails | $(median BM_PagerTickLive/10/1/1) |
| Pager tick, 100 windows, where the compositor draws live thumbnails | $(median BM_PagerTickLive/100/0/1) |
| Switch, 100 windows per desktop, where the compositor draws live thumbnails | $(median BM_SwitchLive/100/1) |
| One cell ($cell px), plain gradient drawn line by line | $(median BM_CellPlain) |
| One cell ($cell px), cached look copied | $(median BM_CellCached) |

Calls through the window-system seam (the fake desktop records each):

| Per | Calls, by name |
|---|---|
| pager tick, 100 windows | $(calls BM_PagerTick/100) |
| pager tick, 10 windows | $(calls BM_PagerTick/10) |
| switch, 100 windows per desktop | $(calls BM_Switch/100) |
| switch, 10 windows per desktop | $(calls BM_Switch/10) |
| pager tick, 100 windows, live thumbnails | $(calls BM_PagerTickLive/100/0/1) |
| switch, 100 windows per desktop, live thumbnails | $(calls BM_SwitchLive/100/1) |

A bare switch makes 2 calls per window of a desktop: ShowWindow(SW_HIDE) on each window of the
old desktop and ShowWindow(SW_SHOW) on each of the new. The program's own windows (the pager's
cells and miniatures, drawn by the forms toolkit) are not part of these counts.

## Method

**Under Wine.** \`bench/wine/bench_driver.exe\` runs in a Wine prefix of its own on a private
Xvfb (\`scripts/with-wine.sh\`), beside vuedeck.exe, \`tools/winmaker.exe\` (the windows: real
top-level windows of another process, 240 x 180 pixels, each on its own thread, filled with a
colour, spread over the screen so that they overlap) and \`bench/wine/bare_switch.exe\` (the
baseline: one small borderless tool window that never takes the focus, two hotkeys, and a
message loop that does nothing else). vuedeck starts each time from a scratch folder of its own
with a settings file of a 3 x 2 grid (a 9 x 9 grid for the tick and idle figures), animation,
preview, auto-hide and start with Windows off, desktop n on Alt+n. The program and its baseline
run alternately, in the same prefix, on the same windows; the figures are the medians of
$(v config.runs) runs of each per window count (twice that for switches: each run switches
there and back). Times are read with QueryPerformanceCounter.

- *Switch.* N windows are opened before vuedeck starts (its start-up scan puts them on
  desktop 1); after a switch to desktop 2, N more are opened there, each brought to the front
  until vuedeck has taken it on. bare_switch.exe is given the same two sets of handles. A run
  presses the hotkey with SendInput and polls IsWindowVisible every millisecond until every
  window of the new desktop is visible and every window of the old one hidden (each poll asks
  from the first window not yet seen in its state onwards; at the end every window is asked
  again). vuedeck is suspended (NtSuspendProcess) while the bare loop runs, so it neither sees
  nor pays for those switches; bare_switch.exe waits in GetMessage, doing nothing, while
  vuedeck runs. After each run the driver waits 300 ms + 5 ms per window
  for the screen to settle, and before each run until the Wine server (the kernel's figures for
  its Linux process) has used under 2 % of a core for 100 ms, at most 20 s: Wine's task bar
  follows a switch of a hundred windows for seconds (about five after the bare loop's, which
  activates every window), and a switch timed meanwhile would share the processors with it. "The loop's own time" is bare_switch.exe's own measure of its loop.
- *Tick and idle.* With vuedeck and bare_switch.exe both started and settled (2 s), intervals
  alternate: vuedeck running with bare_switch.exe suspended, then the other way round; each
  interval starts 500 ms after the switch-over and lasts $(v config.interval_ms) ms, so the idle
  figure at 50 windows covers $(awk -v r="$(v config.runs)" -v i="$(v config.interval_ms)" 'BEGIN { printf "%.0f", r * i / 1000 }') s of each program. The processor
  time is the kernel's: the sum of /proc/<pid>/task/*/schedstat (nanoseconds of run time of
  every thread, user and system) of the running program's Linux process, and of the Wine
  server's (one process for the prefix, found by its WINEPREFIX), read by the driver through
  Wine's drive Z:. The tick figure is vuedeck.exe's time divided by the interval's length in
  100 ms periods: it counts everything the program does while idle (the 100 ms tick while the
  pager is shown, with the front window's spaced-out copies and, under Wine, which reports no
  window coming forward or closing, the look for both; the safety sweep every two seconds), not
  the tick handler alone. The put-away intervals follow the shown ones, after the hide key. The Wine server also serves the other processes of the
  prefix (winmaker.exe, explorer.exe), equally in both kinds of interval; "above the baseline"
  is the median of the differences between each vuedeck interval and the baseline interval
  after it.
- *Memory.* VmRSS and RssAnon from /proc/<pid>/status at the end of each interval above: the
  resident memory of the program's Linux process, its own code and Wine's libraries included,
  with the same N windows open; the growth is the program's figure less the baseline's.
  Memory the Wine server holds for the program's windows is not counted.
- *Start-up.* The N windows are open before each start; each run of vuedeck starts a fresh
  process from the same folder (no record of hidden windows left), each run of the baseline
  starts bare_switch.exe with the N handles as desktop 1. The first visible top-level window of
  the new process is polled every 2 ms (asking only windows that did not exist before the
  start). Then WM_NULL is sent (SendMessageTimeout), then the hotkey of the empty desktop 2 is
  pressed and the run ends when all N windows are hidden. The driver then switches back, closes
  the program (WM_CLOSE to its window) and waits for the screen to settle. The order of the
  two programs alternates from one run to the next.
- Every wait has a limit (30 s for a start, 15 s for a switch); a run that misses it counts as
  failed and the phase goes on, and the whole run under Wine is stopped after $limit s. The
  figures the driver wrote are in \`$(realpath --relative-to="$root" "$results" 2>/dev/null || echo "$results")\` and its log in \`$(realpath --relative-to="$root" "$log" 2>/dev/null || echo "$log")\`.

**Natively.** Google Benchmark (Debian's libbenchmark) times each case in $reps repetitions;
the table gives the median of the repetitions, in wall-clock (real) and process CPU time. The
build is a release build (-O3) without AddressSanitizer or UBSan, in its own build tree. The
whole program runs on the in-memory fake desktop and the headless forms toolkit, on a fake
screen of 1920 x 1080 pixels with settings.ini \`columns=9 rows=9 width=20 height=20\` (81 cells
of $cell pixels). The tick is the pager's 100 ms timer handler as a whole: the hit test and
repaint of the 81 cells, the window table's refresh with the capture of the foreground window into its
miniature, and the recovery record. It runs with 100 (and 10, 50) managed fake windows of 640 x
480, each with a picture of its own and one of them in front; between ticks the cursor moves to
the next cell, so one cell loses its hover look and another gains it (that move is not timed).
The switch presses Alt+1 and Alt+2 in turn with N fake windows on each desktop (the second
desktop's windows taken on by the foreground poll, as under Wine). The plain cell paint is a
fresh gradient painter drawing the cell's gradient line by line into a bitmap of the cell's
size; the cached one is the pager's own cell paint when the look was painted before, i.e. a
copy of the cached bitmap, forced by alternating two colours on one cell. The machine is shared
with other work, so real times run above CPU times. (Debian's benchmark library reports itself
as a debug build; that concerns the harness, not the code timed.)
DOC
echo "docs/PERFORMANCE.md written ($((SECONDS - started)) s)"
