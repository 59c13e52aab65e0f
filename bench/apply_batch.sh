#!/usr/bin/env bash
# Batch apply against one run per picture: nine 3000x2000 PNGs through one filter, written as
# PNG, wall clock, the fastest of RUNS runs each; then what --png-level costs and saves on one
# of them. Reports ratios.
#   bench/apply_batch.sh [BUILD_DIR] [RUNS]
set -euo pipefail
cd "$(dirname "$0")/.."
build="${1:-build/release}"
runs="${2:-3}"
cli="$build/src/cli/quillmark-cli"
[ -e "$cli" ] || { echo "apply_batch.sh: $cli is missing"; exit 1; }
work="$(mktemp -d -t quillmark-batch.XXXXXX)"
trap 'rm -rf "$work"' EXIT

# Smooth shapes with grain, as a photograph has: PNG packs them about 3:1.
python3 - "$work" <<'PY'
import math, random, struct, sys
w, h = 3000, 2000
for n in range(1, 10):
    rnd = random.Random(n)
    grain = bytes(rnd.randrange(24) for _ in range(w * 3 + 4099))
    stride = (w * 3 + 3) // 4 * 4
    with open(f"{sys.argv[1]}/p{n}.bmp", "wb") as f:
        f.write(b"BM" + struct.pack("<IHHI", 54 + stride * h, 0, 0, 54))
        f.write(struct.pack("<IiiHHIIiiII", 40, w, h, 1, 24, 0, stride * h, 2835, 2835, 0, 0))
        base = bytearray(w * 3)
        for y in range(h):
            if y % 64 == 0:
                for x in range(w):
                    v = 128 + 100 * math.sin((x + n * 37) / 300) * math.cos((y + n) / 220)
                    base[3 * x:3 * x + 3] = bytes((int(v) & 255, int(v * .7 + 40) & 255, int(255 - v) & 255))
            o = y * 131 % 4096
            f.write(bytes((base[i] + grain[o + i]) & 255 for i in range(w * 3)) + b"\0" * (stride - w * 3))
PY
printf '%%RGB-1.0\r0\r0\r0\r0\r0\r0\r0\r0\r%s\r\r%s\r\r%s\r\ra\r\rBench\r\rwarm\r\r\r\r\r\r' \
  'r*7/8+32' 'g' 'b*7/8' >"$work/warm.afs"
printf '%%RGB-1.0\r0\r0\r0\r0\r0\r0\r0\r0\rr\r\rg\r\rb\r\ra\r\rBench\r\rsame\r\r\r\r\r\r' >"$work/same.afs"
mkdir "$work/in"
"$cli" apply "$work/same.afs" --dest "$work/in" --to png "$work"/p?.bmp >/dev/null

ms() { local s; s=$(date +%s%N); "$@" >/dev/null; echo $((($(date +%s%N) - s) / 1000000)); }
fastest() { sort -n | head -1; }
singles() {
  rm -rf "$work/out" && mkdir "$work/out"
  for p in "$work"/in/*.png; do "$cli" apply "$work/warm.afs" "$p" "$work/out/$(basename "$p")"; done
}
batch() { rm -rf "$work/out" && "$cli" apply "$work/warm.afs" --dest "$work/out" "$work"/in/*.png; }
single_ms=$(for _ in $(seq "$runs"); do ms singles; done | fastest)
batch_ms=$(for _ in $(seq "$runs"); do ms batch; done | fastest)
echo "load: $(cut -d' ' -f1-3 /proc/loadavg)"
printf '%-28s %8s ms\n' "nine single runs" "$single_ms" "one batch of nine" "$batch_ms"
awk -v s="$single_ms" -v b="$batch_ms" 'BEGIN { printf "batch speed-up: %.2fx\n", s / b }'

printf '\n%-10s %10s %12s %10s %10s\n' "png-level" "ms" "bytes" "time/def." "size/def."
level_run() {  # LEVEL (empty: the default) -> "ms bytes"
  local args=() t
  [ -n "$1" ] && args=(--png-level "$1")
  t=$(for _ in $(seq "$runs"); do
    ms "$cli" apply "$work/warm.afs" "$work/in/p1.png" "$work/l.png" --overwrite all --threads 1 "${args[@]}"
  done | fastest)
  echo "$t $(stat -c %s "$work/l.png")"
}
read -r def_ms def_bytes <<<"$(level_run "")"
printf '%-10s %10d %12d %9.2fx %9.2fx\n' default "$def_ms" "$def_bytes" 1 1
for level in 0 1 3 6 9; do
  read -r t b <<<"$(level_run "$level")"
  awk -v l="$level" -v t="$t" -v b="$b" -v dt="$def_ms" -v db="$def_bytes" \
    'BEGIN { printf "%-10s %10d %12d %9.2fx %9.2fx\n", l, t, b, t / dt, b / db }'
done
