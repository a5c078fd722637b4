#!/usr/bin/env bash
# Times the load of a 1 000 000-line text table (a number label and 4 series) beside
# pandas.read_csv(sep='\t') on the same file, then the load of a 4000 x 3000 image.
# Usage: bench/load_text.sh [BUILD_DIR]   (needs bench_load_data built there, python3-pandas,
# imagemagick's convert and /usr/bin/time)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build}
driver=$build/bench/bench_load_data
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
python=/usr/bin/python3 # Debian's, with python3-pandas

"$python" - "$work/series.txt" <<'PY'
import random, sys
random.seed(1)
with open(sys.argv[1], "w") as out:
    out.write("N\tA\tB\tC\tD\n")
    for i in range(1, 1_000_001):
        out.write("%d\t%.6f\t%.9g\t%.4e\t%d\n" % (
            i, random.uniform(-100, 100), random.gauss(0, 1e3),
            random.uniform(0, 1e-3), random.randrange(-50000, 50000)))
PY
echo "text file: $(du -m "$work/series.txt" | cut -f1) MB, 1000000 data lines"

peak() { grep "Maximum resident" "$1" | awk '{printf "%.1f MiB", $NF / 1024}'; }

for run in 1 2 3; do
  /usr/bin/time -v "$driver" "$work/series.txt" 2>"$work/time_ours"
  echo "        peak RSS of the process $(peak "$work/time_ours")"
  /usr/bin/time -v "$python" -c "
import sys, time, pandas
start = time.perf_counter()
frame = pandas.read_csv(sys.argv[1], sep='\t')
print('pandas: %.3f s  %d rows x %d columns' % (time.perf_counter() - start, *frame.shape))
" "$work/series.txt" 2>"$work/time_pandas"
  echo "        peak RSS of the process $(peak "$work/time_pandas")"
done

convert -seed 1 -size 4000x3000 plasma:fractal -colorspace Gray "$work/picture.png"
convert "$work/picture.png" "$work/picture.bmp"
for picture in picture.png picture.bmp; do
  echo "image $picture 4000 x 3000:"
  /usr/bin/time -v "$driver" "$work/$picture" 2>"$work/time_image"
  echo "        peak RSS of the process $(peak "$work/time_image")"
done
