#!/usr/bin/env bash
# Start-up time of quillmark on the sample collection, from process start to the first shown
# window, against the floor: a Qt Widgets program that shows one empty window. Both quit as
# soon as their window is shown; the median of RUNS runs is reported, and the ratio.
#   bench/startup.sh [BUILD_DIR] [RUNS]
set -euo pipefail
cd "$(dirname "$0")/.."
build="${1:-build/release}"
runs="${2:-15}"
app="$build/src/app/quillmark"
floor="$build/bench/startup_floor"
samples="$build/data/samples"
for p in "$app" "$floor"; do [ -x "$p" ] || { echo "startup.sh: $p is not built"; exit 1; }; done
work="$(mktemp -d -t quillmark-startup.XXXXXX)"
trap 'rm -rf "$work"' EXIT
export QT_QPA_PLATFORM="${QT_QPA_PLATFORM:-offscreen}"
export XDG_CONFIG_HOME="$work/config" XDG_DATA_HOME="$work/data" XDG_RUNTIME_DIR="$work"
export QUILLMARK_QUIT_WHEN_SHOWN=1

median_ms() {
  local times=()
  for _ in $(seq "$runs"); do
    local start end
    start=$(date +%s%N)
    "$@" >/dev/null 2>&1
    end=$(date +%s%N)
    times+=($(((end - start) / 1000000)))
  done
  printf '%s\n' "${times[@]}" | sort -n | sed -n "$(((runs + 1) / 2))p"
}

"$app" "$samples" >/dev/null 2>&1  # first start: seeds the program folder
floor_ms=$(median_ms "$floor")
text_ms=$(median_ms "$floor" --text)
app_ms=$(median_ms "$app" "$samples")
echo "floor (empty Qt window):        ${floor_ms} ms"
echo "floor (window with one text):   ${text_ms} ms"
echo "quillmark on samples:           ${app_ms} ms"
awk -v a="$app_ms" -v f="$floor_ms" -v t="$text_ms" 'BEGIN {
  printf "ratio to the empty window: %.2fx, to the text window: %.2fx\n", a / (f > 0 ? f : 1), a / (t > 0 ? t : 1) }'
