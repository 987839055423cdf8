#!/usr/bin/env bash
# Frame benchmark: starts a private Xvfb (it picks a free display itself), runs
# the frame benchmark of the build directory in it, ends that Xvfb, then runs
# the tooth benchmark. Usage: scripts/frame-bench.sh [build-dir [word ...]]
# (default build-dir: build; words choose the cases whose names contain one, e.g. "z=1000")
set -euo pipefail

build="${1:-build}"
shift || true
frame_bench="$build/bench/rackgen_frame_bench"
tooth_bench="$build/bench/rackgen_bench"
for b in "$frame_bench" "$tooth_bench"; do
  if [ ! -x "$b" ]; then
    echo "frame-bench: $b is missing; build first (make build)" >&2
    exit 1
  fi
done

work="$(mktemp -d)"
xvfb_pid=""
finish() {
  if [ -n "$xvfb_pid" ]; then
    kill "$xvfb_pid" 2>/dev/null || true
    wait "$xvfb_pid" 2>/dev/null || true
  fi
  rm -rf "$work"
}
trap finish EXIT

# Wide enough for the 1600x400 case, taller than the 800-pixel window.
Xvfb -displayfd 3 -screen 0 1700x1024x24 -nolisten tcp -noreset 3>"$work/display" 2>"$work/xvfb.log" &
xvfb_pid=$!
for _ in $(seq 1 200); do
  grep -q . "$work/display" 2>/dev/null && break
  kill -0 "$xvfb_pid" 2>/dev/null || { echo "frame-bench: Xvfb did not start:" >&2; cat "$work/xvfb.log" >&2; exit 1; }
  sleep 0.05
done
display="$(head -n1 "$work/display")"
[ -n "$display" ] || { echo "frame-bench: Xvfb reported no display" >&2; exit 1; }

echo "== Frame times (real frames of display, software GL, 800x800 unless said) =="
status=0
DISPLAY=":$display" "$frame_bench" "$@" || status=$?
kill "$xvfb_pid" 2>/dev/null || true
wait "$xvfb_pid" 2>/dev/null || true
xvfb_pid=""

echo
echo "== Computing both teeth (standard and shifted) =="
"$tooth_bench" --benchmark_filter='both_teeth'
exit "$status"
