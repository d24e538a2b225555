#!/usr/bin/env bash
# Runs the drawing benchmarks beside their peers, the OpenGL view's frame beside its rendering,
# and times the hello window against FLTK's under Xvfb, printing medians of repetitions.
# Usage: bench/run.sh [build-dir] [repetitions]
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$here/build}
reps=${2:-15}
cmake --build "$build" --target peers_bench vorla_hello -j2 >/dev/null
cmake --build "$build" --target fltk_hello -j2 >/dev/null 2>&1 || true
cmake --build "$build" --target opengl_bench -j2 >/dev/null 2>&1 || true # only with OSMesa

echo "== drawing beside its peers: thread CPU time, median of $reps repetitions"
json=$(mktemp)
trap 'rm -f "$json"' EXIT
VORLA_BACKEND=headless "$build/bench/peers_bench" --benchmark_repetitions="$reps" \
  --benchmark_min_time=0.05 --benchmark_out="$json" --benchmark_out_format=json >/dev/null
python3 - "$json" <<'PY'
import json, sys
rows = [b for b in json.load(open(sys.argv[1]))["benchmarks"] if b.get("aggregate_name") == "median"]
for b in rows:
    name = b["run_name"].replace("/manual_time", "")
    peers = sorted(k[:-3] for k in b if k.endswith("_us") and k != "us")
    cells = ["%-34s %9.1f us" % (name, b["us"])]
    cells += ["%s %.1f us (x%.2f)" % (p, b[p + "_us"], b["x_" + p]) for p in peers]
    print("  ".join(cells))
per_button = {int(b["run_name"].split(":")[1].split("/")[0]): b["us"] for b in rows if b["run_name"].startswith("RepaintPerButton")}
if 20 in per_button:
    print("repaint per button over 20 buttons' cost: " +
          ", ".join("%d: x%.2f" % (n, v / per_button[20]) for n, v in sorted(per_button.items())))
PY

if [[ -x "$build/bench/opengl_bench" ]]; then
  echo "== OpenGL view of 320 x 240 (the example's cube) through OSMesa in one thread: thread CPU time, median of $reps repetitions"
  VORLA_BACKEND=headless "$build/bench/opengl_bench" --benchmark_repetitions="$reps" \
    --benchmark_min_time=0.1 --benchmark_out="$json" --benchmark_out_format=json >/dev/null
  python3 - "$json" <<'PY'
import json, sys
for b in json.load(open(sys.argv[1]))["benchmarks"]:
    if b.get("aggregate_name") != "median":
        continue
    print("%-16s frame %7.1f us (%.0f frames/s)  rendering alone %7.1f us  swap alone %5.1f us  "
          "swap over rendering x%.3f  frame over rendering x%.3f  [%s]" % (
              b["run_name"].replace("/manual_time", ""), b["frame_us"], b["fps"], b["render_us"], b["swap_us"],
              b["swap_over_render"], b["frame_over_render"], b.get("label", "")))
PY
fi

echo "== hello window of 20 buttons under Xvfb: process start to first frame, peak RSS, one full repaint"
if ! command -v Xvfb >/dev/null; then echo "Xvfb is not installed"; exit 0; fi
display=:$((90 + RANDOM % 100))
Xvfb "$display" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
server=$!
trap 'kill $server 2>/dev/null; rm -f "$json"' EXIT
sleep 1
export DISPLAY=$display VORLA_BACKEND=sdl
programs=("$build/bench/vorla_hello")
[[ -x "$build/bench/fltk_hello" ]] && programs+=("$build/bench/fltk_hello")
for program in "${programs[@]}"; do
  starts=() memory=()
  for ((i = 0; i < reps; i++)); do
    begin=$(date +%s%N)
    /usr/bin/time -f %M -o /tmp/vorla-run-rss.$$ "$program"
    end=$(date +%s%N)
    starts+=($(((end - begin) / 1000)))
    memory+=($(cat /tmp/vorla-run-rss.$$))
  done
  repaint=$("$program" 200)
  median() { printf '%s\n' "$@" | sort -n | awk '{a[NR]=$1} END {print a[int((NR + 1) / 2)]}'; }
  printf '%-12s first frame %6.1f ms  peak RSS %6.1f MiB  one repaint %7.1f us\n' "$(basename "$program")" \
    "$(awk -v v="$(median "${starts[@]}")" 'BEGIN {print v / 1000}')" \
    "$(awk -v v="$(median "${memory[@]}")" 'BEGIN {print v / 1024}')" "$repaint"
done
rm -f /tmp/vorla-run-rss.$$
