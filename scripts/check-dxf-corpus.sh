#!/usr/bin/env bash
# Opens every STEP and IGES file below a folder with nimb, saves its drawing
# as DXF and reads that back strictly with scripts/dxf-check.py (ezdxf).
# Prints how each file ended and fails when a saved drawing has a fault or
# nimb died.
#
#   scripts/check-dxf-corpus.sh FOLDER [--timeout SECONDS] [--threads N] [--log FILE]
#
# NIMB names the nimb program (default: build/bin/nimb).
set -uo pipefail

usage() { echo "usage: $0 FOLDER [--timeout SECONDS] [--threads N] [--log FILE]" >&2; exit 2; }
[ $# -ge 1 ] || usage
folder=$1; shift
timeout_s=600
threads=""
log=/dev/null
while [ $# -gt 0 ]; do
  case $1 in
    --timeout) timeout_s=$2; shift 2 ;;
    --threads) threads="--threads $2"; shift 2 ;;
    --log) log=$2; shift 2 ;;
    *) usage ;;
  esac
done
[ -d "$folder" ] || { echo "$0: no folder $folder" >&2; exit 2; }
here=$(dirname "$0")
nimb=${NIMB:-$here/../build/bin/nimb}
[ -x "$nimb" ] || { echo "$0: $nimb is not built (make native)" >&2; exit 2; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

clean=0; faults=0; refused=0; slow=0; died=0
: > "$log"
while IFS= read -r -d '' file; do
  name=${file#"$folder"/}
  # shellcheck disable=SC2086
  timeout --kill-after=10 "$timeout_s" "$nimb" $threads open "$file" -o "$work/drawing.dxf" >> "$log" 2>&1
  rc=$?
  case $rc in
    0) if verdict=$("$here/dxf-check.py" "$work/drawing.dxf"); then
         outcome=clean; clean=$((clean + 1))
       else
         outcome=fault; faults=$((faults + 1))
         echo "$name: ${verdict#*: }" >> "$log"
       fi ;;
    1) outcome=refused; refused=$((refused + 1)) ;;
    124|137) outcome=timeout; slow=$((slow + 1)) ;;
    *) outcome="died($rc)"; died=$((died + 1)) ;;
  esac
  rm -f "$work/drawing.dxf"
  printf '%-10s %s\n' "$outcome" "$name"
done < <(find "$folder" -type f \( -iname '*.step' -o -iname '*.stp' -o -iname '*.ste' \
                                   -o -iname '*.iges' -o -iname '*.igs' \) -print0 | sort -z)

echo "read clean $clean, faults $faults; not saved: refused $refused, timed out $slow, died $died"
[ "$faults" -eq 0 ] && [ "$died" -eq 0 ]
