#!/usr/bin/env bash
# Audits the import of every STEP and IGES file below a folder with
# `nimb verify`, one process per file, and prints the totals and the worst
# misses.
#
#   scripts/verify-corpus.sh FOLDER [--timeout SECONDS] [--tolerance FRACTION] [--log FILE] [--worst N]
#
# NIMB names the nimb program (default: build/bin/nimb). The log keeps every
# line nimb printed. Exits 1 when any body missed.
set -uo pipefail

usage() { echo "usage: $0 FOLDER [--timeout SECONDS] [--tolerance FRACTION] [--log FILE] [--worst N]" >&2; exit 2; }
[ $# -ge 1 ] || usage
folder=$1; shift
timeout_s=600
tolerance=""
log=""
worst=20
while [ $# -gt 0 ]; do
  case $1 in
    --timeout) timeout_s=$2; shift 2 ;;
    --tolerance) tolerance="--tolerance $2"; shift 2 ;;
    --log) log=$2; shift 2 ;;
    --worst) worst=$2; shift 2 ;;
    *) usage ;;
  esac
done
[ -d "$folder" ] || { echo "$0: no folder $folder" >&2; exit 2; }
nimb=${NIMB:-$(dirname "$0")/../build/bin/nimb}
[ -x "$nimb" ] || { echo "$0: $nimb is not built (make native)" >&2; exit 2; }
nimb=$(cd "$(dirname "$nimb")" && pwd)/$(basename "$nimb") # it runs from inside the folder

lines=$(mktemp)
trap 'rm -f "$lines"' EXIT
while IFS= read -r -d '' file; do
  name=${file#"$folder"/}
  # shellcheck disable=SC2086
  output=$(cd "$folder" && timeout --kill-after=10 "$timeout_s" "$nimb" verify $tolerance "$name" 2>/dev/null)
  rc=$?
  printf '%s\n' "$output" >> "$lines"
  case $rc in
    0|1) ;;
    124|137) echo "$name: timed out" >> "$lines" ;;
    *) echo "$name: died ($rc)" >> "$lines" ;;
  esac
  printf '%s\n' "$output" | tail -n 1
done < <(find "$folder" -type f \( -iname '*.step' -o -iname '*.stp' -o -iname '*.ste' \
                                   -o -iname '*.iges' -o -iname '*.igs' \) -print0 | sort -z)
[ -n "$log" ] && cp "$lines" "$log"

echo
echo "== worst misses"
grep -v -E ': [0-9]+/[0-9]+ solids, ' "$lines" | grep -v '^$' | awk '
  { worst = 0; line = $0
    while (match(line, /[-+]?[0-9.]+%/)) {
      v = substr(line, RSTART, RLENGTH - 1) + 0; if (v < 0) v = -v; if (v > worst) worst = v
      line = substr(line, RSTART + RLENGTH) }
    if ($0 ~ /not valid|inside out|not imported|not in the file|open, the source|timed out|died|cannot/) worst += 1e9
    printf "%020.6f\t%s\n", worst, $0 }' | sort -r | head -n "$worst" | cut -f2-

echo
echo "== totals"
awk '
  /: [0-9]+\/[0-9]+ solids, [0-9]+\/[0-9]+ surfaces within/ {
    files++
    for (i = 1; i <= NF; i++) {
      if ($(i + 1) == "solids,") { split($i, s, "/"); sw += s[1]; st += s[2]; fs = s[2] }
      if ($(i + 1) == "surfaces") { split($i, f, "/"); fw += f[1]; ft += f[2] }
      if ($i == "kept") { pct = $(i + 1); sub(/%/, "", pct); total = $(i + 3)
                          if (fs == 0) { at += total; ak += total * pct / 100 } }
    }
  }
  / timed out$/ { slow++ }
  / died \(/ { dead++ }
  / cannot / { cannot++ }
  / inside out/ { inverted++ }
  END {
    printf "files %d (cannot compare %d, timed out %d, died %d)\n", files, cannot, slow, dead
    printf "solids within: %d of %d (%.2f%%)\n", sw, st, st ? 100 * sw / st : 100
    printf "surfaces within: %d of %d (%.2f%%)\n", fw, ft, ft ? 100 * fw / ft : 100
    printf "surface area kept in files without solids: %.2f%%\n", at ? 100 * ak / at : 100
    printf "bodies inside out: %d\n", inverted
  }' "$lines"
! grep -q -v -E ': [0-9]+/[0-9]+ solids, ' <(grep -v '^$' "$lines")
