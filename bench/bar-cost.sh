#!/usr/bin/env bash
# What a bar costs on a desktop: each program runs alone on a fresh Xvfb with openbox for
# DURATION seconds (60 unless set). For each: CPU % of one core of the program and of the X
# server over the same span, the program's resident memory at the end, and the time from exec
# until its window is mapped as the X server reports it (bench/launch_to_map; the median of
# STARTS starts, 7 unless set; the bar after a first start has seeded its data folder). Baselines: polybar (date, CPU, memory once a second) and a minimal
# Qt 6 window; then the bar with the ticker on (RSI 10, a long line) and off, when built. Last,
# the four start in turns for ROUNDS rounds (15 unless set) on one desktop: the median start to
# map of each and its ratio to polybar's.
#
#   bench/bar-cost.sh [BUILD_DIR]      (default: the newest build*/ holding the programs)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
duration=${DURATION:-60}
starts=${STARTS:-7}
work=$(mktemp -d /tmp/bar-cost.XXXXXX)
hz=$(getconf CLK_TCK)
pids=()

cleanup() {
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  wait 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

# The newest file matching a pattern under the build folders (or the one given).
find_built() {
  local rel=$1
  if [ -n "${BUILD_DIR_ARG:-}" ]; then
    [ -x "$BUILD_DIR_ARG/$rel" ] && echo "$BUILD_DIR_ARG/$rel"
    return 0
  fi
  ls -t "$root"/build*/"$rel" 2>/dev/null | head -n 1 || true
}
BUILD_DIR_ARG=${1:+$(cd "$1" && pwd)}

now_ns() { date +%s%N; }

# utime + stime of a process, in clock ticks.
cpu_ticks() { awk '{ print $14 + $15 }' "/proc/$1/stat"; }

rss_mb() { awk '/^VmRSS:/ { printf "%.1f", $2 / 1024 }' "/proc/$1/status"; }

free_display() {
  local n=90
  while [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ]; do n=$((n + 1)); done
  echo "$n"
}

# Starts Xvfb and openbox; sets xvfb_pid, wm_pid and DISPLAY.
start_desktop() {
  local n
  n=$(free_display)
  Xvfb ":$n" -screen 0 1280x800x24 -nolisten tcp >/dev/null 2>&1 &
  xvfb_pid=$!
  pids+=("$xvfb_pid")
  export DISPLAY=":$n"
  for _ in $(seq 100); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.05; done
  openbox --sm-disable >/dev/null 2>&1 &
  wm_pid=$!
  pids+=("$wm_pid")
  for _ in $(seq 100); do
    xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && break
    sleep 0.05
  done
}

stop_pid() { kill "$1" 2>/dev/null || true; wait "$1" 2>/dev/null || true; }

launcher=$(find_built bench/launch_to_map)
if [ -z "$launcher" ]; then
  echo "bench/launch_to_map is not built (it needs libxcb1-dev): nothing measured"
  exit 1
fi

printf '%-28s %9s %9s %9s %12s\n' "program" "CPU %" "X CPU %" "RSS MB" "to map ms"

# measure NAME ENV... -- PROGRAM ARGS...
measure() {
  local name=$1
  shift
  local envs=()
  while [ "$1" != "--" ]; do envs+=("$1"); shift; done
  shift
  start_desktop
  local pid mapped_ms times=() i
  # Start-up varies by several milliseconds from run to run: the median of STARTS starts.
  for i in $(seq "$starts"); do
    launch "$name" "${envs[@]}" -- "$@"
    times+=("$(cat "$work/$name.map" 2>/dev/null || echo -)")
    [ "$i" -lt "$starts" ] && stop_pid "$pid"
  done
  mapped_ms=$(printf '%s\n' "${times[@]}" | grep -v -- - | sort -n | awk '{ v[NR] = $1 } END { print NR ? v[int((NR + 1) / 2)] : "-" }')
  echo "${times[*]}" >"$work/$name.starts"
  if ! kill -0 "$pid" 2>/dev/null; then
    printf '%-28s exited early; its output:\n' "$name"
    sed 's/^/    /' "$work/$name.log" | head -n 20
    stop_pid "$wm_pid"; stop_pid "$xvfb_pid"
    return 0
  fi
  # Let start-up work settle before the measured minute.
  sleep 2
  local p0 x0 s0 p1 x1 s1 rss
  p0=$(cpu_ticks "$pid"); x0=$(cpu_ticks "$xvfb_pid"); s0=$(now_ns)
  sleep "$duration"
  if ! kill -0 "$pid" 2>/dev/null; then
    printf '%-28s exited during the measurement; its output:\n' "$name"
    sed 's/^/    /' "$work/$name.log" | head -n 20
    stop_pid "$wm_pid"; stop_pid "$xvfb_pid"
    return 0
  fi
  p1=$(cpu_ticks "$pid"); x1=$(cpu_ticks "$xvfb_pid"); s1=$(now_ns)
  rss=$(rss_mb "$pid")
  local window height
  window=$(xdotool search --onlyvisible --pid "$pid" 2>/dev/null | head -n 1 || true)
  height=$(xwininfo -id "$window" 2>/dev/null | awk '/Height:/ { print $2 }' || true)
  echo "height=${height:-?}" >"$work/$name.height"
  awk -v n="$name" -v p=$((p1 - p0)) -v x=$((x1 - x0)) -v ns=$((s1 - s0)) -v hz="$hz" -v rss="$rss" -v m="$mapped_ms" \
    'BEGIN { s = ns / 1e9; printf "%-28s %9.2f %9.2f %9s %12s\n", n, 100 * p / hz / s, 100 * x / hz / s, rss, m }'
  echo "    starts to map (ms): $(cat "$work/$name.starts")"
  stop_pid "$pid"; stop_pid "$wm_pid"; stop_pid "$xvfb_pid"
}

# launch NAME ENV... -- PROGRAM ARGS...: starts the program through the launcher (which becomes
# the program, same pid) and waits until its watcher has written the time to map; sets pid.
launch() {
  local name=$1
  shift
  local envs=()
  while [ "$1" != "--" ]; do envs+=("$1"); shift; done
  shift
  rm -f "$work/$name.map"
  env "${envs[@]}" "$launcher" "$work/$name.map" "$@" >"$work/$name.log" 2>&1 &
  pid=$!
  pids+=("$pid")
  for _ in $(seq 2100); do
    [ -s "$work/$name.map" ] && break
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.01
  done
}

# warm_up ENV... -- PROGRAM ARGS...: runs the program until its window is mapped, then ends it.
warm_up() {
  local envs=()
  while [ "$1" != "--" ]; do envs+=("$1"); shift; done
  shift
  start_desktop
  local pid
  launch warm "${envs[@]}" -- "$@"
  sleep 1
  stop_pid "$pid"; stop_pid "$wm_pid"; stop_pid "$xvfb_pid"
}

# A check that the run measured what it meant to: window height (37 with the ticker row, 19
# without) and how often the feed was fetched.
describe() { echo "    $1: window $(cat "$work/$1.height" 2>/dev/null || echo 'height=?'), feed requests $(grep -c 'GET /feed.xml' "$work/feed.log" 2>/dev/null || true)"; }

# --- baselines ---------------------------------------------------------------------------------
if command -v polybar >/dev/null; then
  measure polybar-1Hz -- polybar --config="$root/bench/polybar.ini" --quiet cost
else
  echo "polybar-1Hz                  not installed (apt-get install polybar)"
fi

qt_minimal=$(find_built bench/qt_minimal_window)
if [ -n "$qt_minimal" ]; then
  measure qt-minimal-window QT_QPA_PLATFORM=xcb -- "$qt_minimal"
else
  echo "qt-minimal-window            not built (bench/qt_minimal_window in a build folder)"
fi

# --- the bar -----------------------------------------------------------------------------------
bar=$(find_built src/app/zentrix)
cli=$(find_built src/cli/zentrix-cli)
if [ -z "$bar" ]; then
  echo "zentrix                      not built yet (no build*/src/app/zentrix): bar not measured"
  exit 0
fi
if [ -z "$cli" ]; then
  echo "zentrix                      zentrix-cli not built, cannot prepare its settings: bar not measured"
  exit 0
fi

# A long ticker line: a feed of many long titles served on loopback.
mkdir -p "$work/feed"
{
  echo '<?xml version="1.0" encoding="UTF-8"?><rss version="2.0"><channel><title>Bench</title>'
  echo '<link>http://127.0.0.1/</link><description>bench</description>'
  for i in $(seq 60); do
    echo "<item><title>Item $i: a long headline that keeps the marquee busy from one end of the screen to the other</title><link>http://127.0.0.1/$i</link><description>Headline $i</description></item>"
  done
  echo '</channel></rss>'
} >"$work/feed/feed.xml"
port=$(python3 -c 'import socket; s = socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])')
python3 -m http.server "$port" --bind 127.0.0.1 --directory "$work/feed" >"$work/feed.log" 2>&1 &
pids+=("$!")

for ticker in on off; do
  home="$work/home-$ticker"
  mkdir -p "$home"/{data,config,cache,runtime}
  chmod 700 "$home/runtime"
  xdg=(XDG_DATA_HOME="$home/data" XDG_CONFIG_HOME="$home/config" XDG_CACHE_HOME="$home/cache"
       XDG_RUNTIME_DIR="$home/runtime")
  dt=false
  [ "$ticker" = on ] && dt=true
  env "${xdg[@]}" "$cli" settings set '主要\DT' "$dt" >/dev/null
  env "${xdg[@]}" "$cli" settings set '主要\RSI' 10 >/dev/null
  env "${xdg[@]}" "$cli" settings set '主要\RSS' "http://127.0.0.1:$port/feed.xml" >/dev/null
  # A first start seeds the data folder; every later morning starts from what it left.
  warm_up "${xdg[@]}" QT_QPA_PLATFORM=xcb -- "$bar" NUC
  # "NUC": no update check reaching out during the measurement.
  measure "zentrix-ticker-$ticker" "${xdg[@]}" QT_QPA_PLATFORM=xcb -- "$bar" NUC
  describe "zentrix-ticker-$ticker"
  : >"$work/feed.log"
done

# --- start to map, interleaved -------------------------------------------------------------------
# Start times drift with whatever else the machine does; taking the programs in turns, round after
# round on one desktop, lets every program meet the same drift. Ratios are to polybar's median.
rounds=${ROUNDS:-15}
names=() commands=()
if command -v polybar >/dev/null; then
  names+=(polybar-1Hz); commands+=("polybar --config=$root/bench/polybar.ini --quiet cost")
fi
[ -n "$qt_minimal" ] && { names+=(qt-minimal-window); commands+=("$qt_minimal"); }
names+=(zentrix-ticker-on zentrix-ticker-off); commands+=("$bar NUC" "$bar NUC")
start_desktop
for r in $(seq "$rounds"); do
  for i in "${!names[@]}"; do
    name=${names[$i]}
    envs=(QT_QPA_PLATFORM=xcb)
    case $name in
      zentrix-ticker-*)
        home="$work/home-${name#zentrix-ticker-}"
        envs+=(XDG_DATA_HOME="$home/data" XDG_CONFIG_HOME="$home/config" XDG_CACHE_HOME="$home/cache"
               XDG_RUNTIME_DIR="$home/runtime") ;;
    esac
    # shellcheck disable=SC2086
    launch "$name" "${envs[@]}" -- ${commands[$i]}
    cat "$work/$name.map" 2>/dev/null >>"$work/$name.rounds" || true
    stop_pid "$pid"
  done
done
stop_pid "$wm_pid"; stop_pid "$xvfb_pid"
echo
printf '%-28s %12s %12s   (%s rounds, interleaved)\n' "start to map" "median ms" "× polybar" "$rounds"
base=$(grep -v -- - "$work/polybar-1Hz.rounds" 2>/dev/null | sort -n | awk '{ v[NR] = $1 } END { if (NR) print v[int((NR + 1) / 2)] }')
for name in "${names[@]}"; do
  grep -v -- - "$work/$name.rounds" 2>/dev/null | sort -n |
    awk -v n="$name" -v b="${base:-0}" '{ v[NR] = $1 } END {
      if (!NR) { printf "%-28s %12s\n", n, "-"; exit }
      m = v[int((NR + 1) / 2)]
      printf "%-28s %12.1f %12s\n", n, m, (b > 0 ? sprintf("%.2f", m / b) : "-") }'
done
