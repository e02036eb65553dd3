#!/usr/bin/env bash
# Times the batch run (bench_run: the real engine, headless) side by side with vipsthumbnail,
# ImageMagick and GraphicsMagick doing the same jobs on the same files, in one go:
#   A  every camera-size JPEG of CORPUS/jpeg -> JPEG 1280 pixels wide, quality 75
#   B  the 12 JPEGs of CORPUS/sub12          -> PNG at 50 percent
#   C  CORPUS/huge/huge-10000.jpg (10000x10000) -> JPEG 2000 pixels wide
# Each command runs REPEAT times (default 3); the best wall time and its peak RSS are reported.
# JOBS="A C" runs a subset.
# Usage: bench/compare-run.sh [CORPUS=/tmp/perfcorpus] [BUILD=build/release]
# The corpus comes from ../shared/bench/make-corpus.sh; bench_run from a release build
# (cmake --preset release -DVANTREL_BUILD_TESTS=OFF && cmake --build build/release --target bench_run).
set -euo pipefail
CORPUS=${1:-/tmp/perfcorpus}
BUILD=${2:-build/release}
REPEAT=${REPEAT:-3}
JOBS=${JOBS:-A B C}
RUN=$BUILD/bench/bench_run
IM_MOGRIFY=/usr/bin/mogrify
IM_CONVERT=/usr/bin/convert
GM=/usr/bin/gm
for tool in "$RUN" vipsthumbnail vipsheader "$IM_MOGRIFY" "$IM_CONVERT" "$GM" /usr/bin/time; do
  command -v "$tool" >/dev/null || { echo "missing: $tool" >&2; exit 1; }
done
[ -d "$CORPUS/jpeg" ] || { echo "no corpus in $CORPUS (run make-corpus.sh)" >&2; exit 1; }

OUT=$(mktemp -d /tmp/compare-run.XXXXXX)
trap 'rm -rf "$OUT"' EXIT

# best <label> <command...>: runs the command REPEAT times into a fresh $OUT/o; prints
# "label  wall-seconds  peak-MB" for the fastest run.
best() {
  local label=$1; shift
  local bestWall="" bestRss=""
  for ((r = 0; r < REPEAT; r++)); do
    rm -rf "$OUT/o"; mkdir -p "$OUT/o"
    /usr/bin/time -f '%e %M' -o "$OUT/time" "$@" >/dev/null 2>"$OUT/err" || { echo "$label failed:"; cat "$OUT/err"; return 1; }
    read -r wall rss < "$OUT/time"
    if [ -z "$bestWall" ] || awk "BEGIN{exit !($wall < $bestWall)}"; then bestWall=$wall; bestRss=$rss; fi
  done
  printf '%-34s %8.2f s %9.1f MB\n' "$label" "$bestWall" "$(awk "BEGIN{print $bestRss/1024}")"
  echo "$label $bestWall $bestRss" >> "$OUT/results"
}

# vipsthumbnail sizes to a box; 50 percent of each photo needs its own box (upright half size),
# so job B runs it once per file with sizes read beforehand (outside the timing).
vipsHalf() {
  while read -r f w h; do vipsthumbnail "$f" --size "${w}x${h}" -o "$OUT/o/%s.png"; done < "$OUT/half.txt"
}
: > "$OUT/half.txt"
for f in "$CORPUS"/sub12/*.jpg; do
  w=$(vipsheader -f width "$f"); h=$(vipsheader -f height "$f")
  o=$(vipsheader -f orientation "$f" 2>/dev/null || echo 1)
  if [ "${o:-1}" -ge 5 ] 2>/dev/null; then t=$w; w=$h; h=$t; fi
  echo "$f $(( (w + 1) / 2 )) $(( (h + 1) / 2 ))" >> "$OUT/half.txt"
done
export -f vipsHalf; export OUT

n=$(ls "$CORPUS"/jpeg/*.jpg | wc -l)
if [[ " $JOBS " == *" A "* ]]; then
echo "A: $n camera-size JPEGs -> JPEG 1280 wide, quality 75"
best "A vantrel (bench_run)" "$RUN" "$CORPUS/jpeg" "$OUT/o" --width 1280 --format jpg --quality 75
best "A vipsthumbnail" sh -c "vipsthumbnail --size 1280x -o '$OUT/o/%s.jpg[Q=75]' '$CORPUS'/jpeg/*.jpg"
best "A ImageMagick mogrify" sh -c "$IM_MOGRIFY -path '$OUT/o' -resize 1280x -quality 75 '$CORPUS'/jpeg/*.jpg"
best "A GraphicsMagick gm mogrify" sh -c "cd '$CORPUS/jpeg' && $GM mogrify -output-directory '$OUT/o' -resize 1280x -quality 75 *.jpg"
fi

if [[ " $JOBS " == *" B "* ]]; then
echo "B: 12 JPEGs -> PNG at 50 percent"
best "B vantrel (bench_run)" "$RUN" "$CORPUS/sub12" "$OUT/o" --percent 50 --format png
best "B vipsthumbnail (one call per file)" bash -c vipsHalf
best "B ImageMagick mogrify" sh -c "$IM_MOGRIFY -path '$OUT/o' -resize 50% -format png '$CORPUS'/sub12/*.jpg"
best "B GraphicsMagick gm mogrify" sh -c "cd '$CORPUS/sub12' && $GM mogrify -output-directory '$OUT/o' -resize 50% -format png *.jpg"
fi

if [[ " $JOBS " == *" C "* ]]; then
echo "C: one 10000x10000 JPEG -> JPEG 2000 wide"
best "C vantrel (bench_run)" "$RUN" "$CORPUS/huge" "$OUT/o" --width 2000 --keep-format
best "C vipsthumbnail" sh -c "vipsthumbnail --size 2000x -o '$OUT/o/%s.jpg[Q=75]' '$CORPUS'/huge/huge-10000.jpg"
best "C ImageMagick convert" sh -c "$IM_CONVERT '$CORPUS/huge/huge-10000.jpg' -resize 2000x -quality 75 '$OUT/o/huge.jpg'"
best "C GraphicsMagick gm convert" sh -c "$GM convert '$CORPUS/huge/huge-10000.jpg' -resize 2000x -quality 75 '$OUT/o/huge.jpg'"
fi

echo
echo "Ratios (vantrel wall / other wall; goals: <= 1.1 against vipsthumbnail, <= 0.33 against ImageMagick)"
awk '
  { label=$0; sub(/ [^ ]+ [^ ]+$/, "", label); job=substr(label,1,1); wall[label]=$(NF-1); rss[label]=$NF
    if (label ~ /vantrel/) ours[job]=$(NF-1); else { others[job]=others[job] "|" label } }
  END {
    for (job in ours) { n=split(others[job], list, "|")
      for (i = 2; i <= n; i++) printf "%s  vs %-36s %5.2f\n", job, substr(list[i], 3), ours[job] / wall[list[i]] }
  }' "$OUT/results" | sort
