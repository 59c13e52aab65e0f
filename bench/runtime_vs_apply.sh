#!/usr/bin/env bash
# The plugin runtime against apply on a 3000x2000 picture, single-threaded, as a ratio of
# filter times. The test host (under wine64) times the plugin's selectors and, apart, its own
# copying of pixels into and out of its buffers; the runtime's time is the first less the
# second, measured in the same run. "ratio" leaves out what the runtime spends on any filter
# (its share of the copying, the pixels' inputs and outputs) by subtracting the runtime's time
# for a filter that changes nothing, taken in turn with the others; "whole" keeps it. apply's
# time is the filter time of `apply --timings`. The columns of times show the fastest of RUNS
# runs of each.
#   bench/runtime_vs_apply.sh [BUILD_DIR] [RUNS] [x64|x86]
set -euo pipefail
cd "$(dirname "$0")/.."
build="${1:-build/release}"
runs="${2:-5}"
arch="${3:-x64}"
cli="$build/src/cli/quillmark-cli"
# The test host is built with the tests (the asan preset); it is the same program in any preset.
host="$build/tests/plugin-host-$arch/build/qmhost.exe"
[ -e "$host" ] || host="build/asan/tests/plugin-host-$arch/build/qmhost.exe"
wine="$(command -v wine64 || echo /usr/lib/wine/wine64)"
[ "$arch" = x64 ] || wine="$(command -v wine || echo /usr/lib/wine/wine)"
for p in "$cli" "$host" "$wine"; do [ -e "$p" ] || { echo "runtime_vs_apply.sh: $p is missing"; exit 1; }; done
work="$(mktemp -d -t quillmark-runtime.XXXXXX)"
export WINEPREFIX="$work/prefix" WINEDEBUG=-all
trap '"$(dirname "$wine")/wineserver" -k 2>/dev/null || true; rm -rf "$work"' EXIT
"$(dirname "$wine")/wineserver" -p 2>/dev/null || true

# The picture, as the raw file the host reads and as a BMP for apply.
python3 - "$work" <<'PY'
import struct, sys
w, h = 3000, 2000
row = bytes((x * 7 + k * 50) & 255 for x in range(w) for k in range(3))
with open(sys.argv[1] + "/in.raw", "wb") as f:
    f.write(struct.pack("<3I", w, h, 3))
    for y in range(h): f.write(row[y % 97 * 3:] + row[:y % 97 * 3])
PY
tail -c +13 "$work/in.raw" | convert -size 3000x2000 -depth 8 rgb:- "$work/in.bmp"

afs() {  # NAME R G B
  printf '%%RGB-1.0\r150\r60\r46\r0\r0\r0\r0\r0\r%s\r\r%s\r\r%s\r\ra\r\rBench\r\r%s\r\r\r\r\r\r' "$2" "$3" "$4" "$1" \
    >"$work/$1.afs"
  "$cli" --program-dir "$build/data" convert --to 8bf --arch "$arch" --no-dialog --dest "$work" \
    --overwrite all "$work/$1.afs" >/dev/null
}
fastest() { sort -n | head -1; }  # the fastest run: the machine may be busy
apply_once() {
  "$cli" --program-dir "$build/data" apply "$work/$1.8bf" "$work/in.bmp" "$work/out.bmp" \
    --timings --threads 1 --overwrite all 2>&1 >/dev/null | sed -n 's/.*filter \([0-9]*\) ms.*/\1/p'
}
runtime_once() {  # the host's time less its own copying
  "$wine" "$host" "$work/$1.8bf" "$work/in.raw" "$work/out.raw" |
    awk '/filter ms/ { printf "%.1f\n", $3 - $6 }'
}
# Apply, the runtime with the filter and with the identity filter take turns, so a change in
# the machine's load meets all three alike; the filter's time beyond the identity's is the
# median of the differences within a turn, which a busy moment moves far less than it moves
# the fastest of either.
times_ms() {
  for _ in $(seq "$runs"); do
    echo "a $(apply_once "$1")"
    echo "h $(runtime_once "$1")"
    echo "i $(runtime_once identity)"
  done >"$work/times"
  for k in a h i; do awk -v k=$k '$1 == k { print $2 }' "$work/times" | fastest; done | tr '\n' ' '
  paste - - - <"$work/times" | awk '{ print $4 - $6 }' | sort -n |
    awk '{ d[NR] = $1 } END { print NR % 2 ? d[(NR + 1) / 2] : (d[NR / 2] + d[NR / 2 + 1]) / 2 }'
}

afs identity r g b
echo "runtime $arch, 3000x2000 RGB, fastest of $runs, load average $(cut -d' ' -f1-3 /proc/loadavg)"
printf '%-10s %9s %11s %12s %7s %7s\n' filter "apply ms" "runtime ms" "identity ms" ratio whole
mix='(r*ctl(0)+g*ctl(1)+b*ctl(2))/256|(g*ctl(0)+b*ctl(1)+r*ctl(2))/256|(b*ctl(0)+r*ctl(1)+g*ctl(2))/256'
ripple='src(x+sin(y*8)/32,y,z)'
twirl='rad(d+ctl(0)*(M-m)/M,m,z)'
blur='cnv(1,2,1,2,4,2,1,2,1,16)'
computed='src((x*3+y)%X,(y*2+x/8)%Y,z)'
for f in "mix|$mix" "ripple|$ripple|$ripple|$ripple" "twirl|$twirl|$twirl|$twirl" \
  "blur|$blur|$blur|$blur" "computed|$computed|$computed|$computed"; do
  IFS='|' read -r name r g b <<<"$f"
  afs "$name" "$r" "$g" "$b"
  read -r a h i beyond <<<"$(times_ms "$name")"
  awk -v n="$name" -v a="$a" -v h="$h" -v i="$i" -v b="$beyond" 'BEGIN {
    d = a > 0 ? a : 1
    printf "%-10s %9d %11.1f %12.1f %7.2f %7.2f\n", n, a, h, i, b / d, h / d }'
done
