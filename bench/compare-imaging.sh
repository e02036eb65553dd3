#!/usr/bin/env bash
# Times header reads and thumbnails side by side with the command-line tools, on the corpus that
# make-corpus.sh builds (scan/ for header reads, jpeg/ for camera-size thumbnails).
#   bash bench/compare-imaging.sh [CORPUS=/tmp/perfcorpus] [BUILD=build/dev] [RUNS=3]
# Each figure is the best wall time of RUNS runs of one process over all the files (warm cache).
set -euo pipefail
CORPUS=${1:-/tmp/perfcorpus}
BUILD=${2:-build/dev}
RUNS=${3:-3}
BENCH=$BUILD/bench/bench_imaging
[ -x "$BENCH" ] || { echo "build first: $BENCH missing" >&2; exit 1; }
for tool in vipsheader vipsthumbnail identify; do
  command -v "$tool" >/dev/null || { echo "$tool missing (apt-get install libvips-tools imagemagick)" >&2; exit 1; }
done
SCAN=$CORPUS/scan
JPEG=$CORPUS/jpeg
OUT=$(mktemp -d)
trap 'rm -rf "$OUT"' EXIT

# best <command...>: prints the best wall time in seconds over RUNS runs.
best() {
  local b="" t
  for ((r = 0; r < RUNS; r++)); do
    local s=$(date +%s.%N)
    "$@" >/dev/null 2>&1 || true
    t=$(echo "$(date +%s.%N) - $s" | bc -l)
    if [ -z "$b" ] || (( $(echo "$t < $b" | bc -l) )); then b=$t; fi
  done
  printf '%.3f' "$b"
}
ratio() { printf '%.2f' "$(echo "$1 / $2" | bc -l)"; }

mapfile -t scanFiles < <(find "$SCAN" -maxdepth 1 -type f | sort)
mapfile -t jpegFiles < <(find "$JPEG" -maxdepth 1 -name '*.jpg' | sort)
echo "corpus $CORPUS: ${#scanFiles[@]} scan files, ${#jpegFiles[@]} camera JPEGs; best of $RUNS runs"
cat "${scanFiles[@]}" "${jpegFiles[@]}" >/dev/null   # warm the page cache

ours=$(best "$BENCH" headers "$SCAN")
vh=$(best vipsheader "${scanFiles[@]}")
idp=$(best identify -ping "${scanFiles[@]}")
echo "header reads (size + orientation):"
echo "  bench_imaging headers   ${ours} s"
echo "  vipsheader (one call)   ${vh} s   ours/vipsheader = $(ratio "$ours" "$vh")   (goal <= 1.20)"
echo "  identify -ping          ${idp} s   identify/ours   = $(ratio "$idp" "$ours")   (goal >= 1.50)"

oursT=$(best "$BENCH" thumbnails "$JPEG" 404x414)
oursS=$(best "$BENCH" thumbnails "$JPEG" 404x414 --save "$OUT")
vt=$(best vipsthumbnail --size 404x414 -o "$OUT/%s_v.jpg" "${jpegFiles[@]}")
echo "thumbnails 404x414 of the camera JPEGs:"
echo "  bench_imaging (QImage)  ${oursT} s"
echo "  bench_imaging (JPEG)    ${oursS} s"
echo "  vipsthumbnail           ${vt} s   ours(JPEG)/vipsthumbnail = $(ratio "$oursS" "$vt")   (goal <= 1.00)"
