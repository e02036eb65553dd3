#!/usr/bin/env bash
# Times header reads and thumbnails side by side with the command-line tools, on the corpus that
# make-corpus.sh builds (scan/ for header reads, jpeg/ for camera-size thumbnails).
#   bash bench/compare-imaging.sh [CORPUS=/tmp/perfcorpus] [BUILD=build/dev] [RUNS=5]
# Each figure is the best wall time of RUNS runs of one process over all the files, warm cache.
# The commands of a comparison take turns within each run, so that a busy machine slows them
# alike.
set -euo pipefail
CORPUS=${1:-/tmp/perfcorpus}
BUILD=${2:-build/dev}
RUNS=${3:-5}
BENCH=$BUILD/bench/bench_imaging
[ -x "$BENCH" ] || { echo "build first: $BENCH missing" >&2; exit 1; }
for tool in vipsheader vipsthumbnail identify bc; do
  command -v "$tool" >/dev/null || { echo "$tool missing (apt-get install libvips-tools imagemagick bc)" >&2; exit 1; }
done
SCAN=$CORPUS/scan
JPEG=$CORPUS/jpeg
OUT=$(mktemp -d)
trap 'rm -rf "$OUT"' EXIT

mapfile -t scanFiles < <(find "$SCAN" -maxdepth 1 -type f | sort)
mapfile -t jpegFiles < <(find "$JPEG" -maxdepth 1 -name '*.jpg' | sort)
echo "corpus $CORPUS: ${#scanFiles[@]} scan files, ${#jpegFiles[@]} camera JPEGs; best of $RUNS runs"
cat "${scanFiles[@]}" "${jpegFiles[@]}" >/dev/null # warm the page cache

declare -A BEST
# timed <name> <command...>: runs the command once and keeps its best wall time under <name>.
timed() {
  local name=$1; shift
  local s t
  s=$(date +%s.%N)
  "$@" >/dev/null 2>&1 || echo "warning: $name exited with an error" >&2
  t=$(echo "$(date +%s.%N) - $s" | bc -l)
  if [ -z "${BEST[$name]:-}" ] || (( $(echo "$t < ${BEST[$name]}" | bc -l) )); then BEST[$name]=$t; fi
}
fmt() { printf '%.3f' "${BEST[$1]}"; }
ratio() { printf '%.2f' "$(echo "${BEST[$1]} / ${BEST[$2]}" | bc -l)"; }

for ((r = 0; r < RUNS; r++)); do
  timed ours_headers "$BENCH" headers "$SCAN"
  timed vipsheader vipsheader "${scanFiles[@]}"
  timed identify identify -ping "${scanFiles[@]}"
done
echo "header reads (pixel size + orientation):"
echo "  bench_imaging headers   $(fmt ours_headers) s"
echo "  vipsheader (one call)   $(fmt vipsheader) s   ours/vipsheader = $(ratio ours_headers vipsheader)   (goal <= 1.20)"
echo "  identify -ping          $(fmt identify) s   identify/ours   = $(ratio identify ours_headers)   (goal >= 1.50)"

for ((r = 0; r < RUNS; r++)); do
  timed ours_qimage "$BENCH" thumbnails "$JPEG" 404x414
  timed vipsthumbnail vipsthumbnail --size 404x414 -o "$OUT/%s_v.jpg" "${jpegFiles[@]}"
  timed ours_jpeg "$BENCH" thumbnails "$JPEG" 404x414 --save "$OUT"
  timed ours_two "$BENCH" thumbnails "$JPEG" 404x414 --threads 2
done
echo "thumbnails 404x414 of the camera JPEGs:"
echo "  bench_imaging (QImage)  $(fmt ours_qimage) s   ours/vipsthumbnail = $(ratio ours_qimage vipsthumbnail)"
echo "  bench_imaging (JPEG)    $(fmt ours_jpeg) s   ours/vipsthumbnail = $(ratio ours_jpeg vipsthumbnail)   (goal <= 1.00)"
echo "  vipsthumbnail           $(fmt vipsthumbnail) s"
echo "  bench_imaging (QImage, 2 workers as the grid's queues) $(fmt ours_two) s"
