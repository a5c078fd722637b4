#!/usr/bin/env bash
# Whole 2-D runs through the batch tool: a Morlet run on 512 x 512 and 1024 x 1024 grey
# pictures, with and without the contrast pass; wall time and peak memory of each process.
# Usage: bench/twod_runs.sh [build-dir]
set -euo pipefail
build=${1:-build}
cli="$build/bin/tulvo1d-cli"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# A grey PNG written with the standard library only: smooth waves plus a few edges.
make_png() {
  /usr/bin/python3 - "$1" "$2" <<'PY'
import math, struct, sys, zlib
size, path = int(sys.argv[1]), sys.argv[2]
rows = b"".join(
    b"\0" + bytes(
        int(127 + 60 * math.sin(x / 9.0) * math.cos(y / 13.0) + (50 if (x // 64 + y // 64) % 2 else -50))
        for x in range(size))
    for y in range(size))
def chunk(kind, data):
    return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))
png = b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", size, size, 8, 0, 0, 0, 0)) \
    + chunk(b"IDAT", zlib.compress(rows)) + chunk(b"IEND", b"")
open(path, "wb").write(png)
PY
}

printf '%-10s %-9s %10s %12s\n' size contrast wall_s peak_MiB
for size in 512 1024; do
  make_png "$size" "$work/m$size.png"
  for contrast in "" "--contrast"; do
    out=$(/usr/bin/time -f '%e %M' "$cli" 2d "$work/m$size.png" --out-dir "$work" \
          --wavelet morlet --step linear $contrast 2>&1 >/dev/null | tail -n 1)
    read -r wall kib <<<"$out"
    printf '%-10s %-9s %10s %12.0f\n' "${size}x$size" "${contrast:-no}" "$wall" "$((kib / 1024))"
  done
done
