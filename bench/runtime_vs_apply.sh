#!/usr/bin/env bash
# The plugin runtime against apply on a 3000x2000 picture, single-threaded, as a ratio of
# filter times. The runtime is timed by the test host under wine64 (selectors only, no file
# work); apply's filter time is its run minus the run of a filter that changes nothing, so
# both leave out reading and writing the picture. The fastest of RUNS runs per filter.
#   bench/runtime_vs_apply.sh [BUILD_DIR] [RUNS]
set -euo pipefail
cd "$(dirname "$0")/.."
build="${1:-build/release}"
runs="${2:-5}"
cli="$build/src/cli/quillmark-cli"
# The test host is built with the tests (the asan preset); it is the same program in any preset.
host="$build/tests/plugin-host-x64/build/qmhost.exe"
[ -e "$host" ] || host="build/asan/tests/plugin-host-x64/build/qmhost.exe"
wine="$(command -v wine64 || echo /usr/lib/wine/wine64)"
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
  printf '%%RGB-1.0\r24\r40\r0\r0\r0\r0\r0\r0\r%s\r\r%s\r\r%s\r\ra\r\rBench\r\r%s\r\r\r\r\r\r' "$2" "$3" "$4" "$1" \
    >"$work/$1.afs"
  "$cli" --program-dir "$build/data" convert --to 8bf --no-dialog --dest "$work" \
    --overwrite all "$work/$1.afs" >/dev/null
}
fastest() { sort -n | head -1; }  # the fastest run: the machine may be busy
apply_ms() {
  for _ in $(seq "$runs"); do
    s=$(date +%s%N)
    "$cli" --program-dir "$build/data" apply "$work/$1.8bf" "$work/in.bmp" "$work/out.bmp" \
      --threads 1 --overwrite all >/dev/null
    echo $((($(date +%s%N) - s) / 1000000))
  done | fastest
}
host_ms() {
  for _ in $(seq "$runs"); do
    "$wine" "$host" "$work/$1.8bf" "$work/in.raw" "$work/out.raw" | sed -n 's/.*filter ms //p'
  done | fastest
}

afs identity r g b
floor=$(apply_ms identity)
printf '%-10s %10s %12s %7s\n' filter "apply ms" "runtime ms" ratio
for f in "invert|255-r|255-g|255-b" "ripple|src(x,y+sin(x*ctl(0)/2)*ctl(1)/4096,z)|src(x,y+sin(x*ctl(0)/2)*ctl(1)/4096,z)|src(x,y+sin(x*ctl(0)/2)*ctl(1)/4096,z)" \
  "polar|rad(d+m/4,m,z)|rad(d-m/4,m,z)|c2m(x-X/2,y-Y/2)" "blur|cnv(1,2,1,2,4,2,1,2,1,16)|cnv(1,2,1,2,4,2,1,2,1,16)|cnv(1,2,1,2,4,2,1,2,1,16)"; do
  IFS='|' read -r name r g b <<<"$f"
  afs "$name" "$r" "$g" "$b"
  a=$(($(apply_ms "$name") - floor))
  h=$(host_ms "$name")
  awk -v n="$name" -v a="$a" -v h="$h" 'BEGIN { printf "%-10s %10d %12.0f %7.2f\n", n, a, h, h / (a > 0 ? a : 1) }'
done
