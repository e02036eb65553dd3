#!/usr/bin/env bash
# A sound photo must never fail because of the photos written beside it. Runs the batch run
# (bench_run) RUNS times over one 3000x4000 uncompressed 8-bit TIFF followed by JPEGS camera-size
# JPEGs, at 50 percent to JPEG with WRITERS writers, and counts the runs in which any photo was
# not written (the run prints "written N"; its log lines go to standard error).
# ROWS=N rewrites the TIFF with N rows per strip (ImageMagick's convert), as cameras vary.
# Usage: [ROWS=N] bench/repeat-tiff-beside-jpeg.sh [BUILD=build/dev] [RUNS=30] [WRITERS=8] [JPEGS=1]
set -euo pipefail
BUILD=${1:-build/dev}
RUNS=${2:-30}
WRITERS=${3:-8}
JPEGS=${4:-1}
RUN=$BUILD/bench/bench_run
command -v vips >/dev/null || { echo "missing: vips" >&2; exit 1; }
[ -x "$RUN" ] || { echo "missing: $RUN" >&2; exit 1; }

WORK=$(mktemp -d /tmp/repeat-tiff.XXXXXX)
trap 'rm -rf "$WORK"' EXIT
mkdir -p "$WORK/src"
# Noise: nothing compresses, every strip of the TIFF is a full read.
vips gaussnoise "$WORK/n.v" 3000 4000
vips bandjoin "$WORK/n.v $WORK/n.v $WORK/n.v" "$WORK/c.v"
vips cast "$WORK/c.v" "$WORK/c8.v" uchar
vips tiffsave "$WORK/c8.v" "$WORK/src/a-camera.tif" --compression none
if [ -n "${ROWS:-}" ]; then
  convert "$WORK/src/a-camera.tif" -depth 8 -compress none -define tiff:rows-per-strip="$ROWS" "$WORK/r.tif"
  mv "$WORK/r.tif" "$WORK/src/a-camera.tif"
fi
for i in $(seq 1 "$JPEGS"); do
  vips jpegsave "$WORK/c8.v" "$WORK/src/b-photo$i.jpg" --Q 85
done
rm -f "$WORK"/*.v
photos=$((JPEGS + 1))

failed=0
for run in $(seq 1 "$RUNS"); do
  rm -rf "$WORK/out"
  line=$("$RUN" "$WORK/src" "$WORK/out" --percent 50 --format jpg --writers "$WRITERS" 2>"$WORK/err" | tail -n 1 || true)
  written=$(sed -n 's/.*written \([0-9]*\).*/\1/p' <<<"$line")
  if [ "${written:-0}" -ne "$photos" ]; then
    failed=$((failed + 1))
    echo "run $run: $line" >&2
    grep -v '^$' "$WORK/err" | tail -n 3 >&2
  fi
done
echo "runs $RUNS  writers $WRITERS  photos $photos  failed runs $failed"
