#!/usr/bin/env bash
# Opens every STEP and IGES file below a folder with nimb, one process per
# file, and reports how each ended. Fails when nimb died on any file.
#
#   scripts/run-corpus.sh FOLDER [--timeout SECONDS] [--threads N] [--log FILE] [--dxf]
#
# --dxf also saves each drawing as DXF and reads it back strictly with
# scripts/dxf-check.py (ezdxf); a drawing with a fault counts as such, its
# reason goes to the log, and any fault fails the run.
#
# NIMB names the nimb program (default: build/bin/nimb).
set -uo pipefail

usage() { echo "usage: $0 FOLDER [--timeout SECONDS] [--threads N] [--log FILE] [--dxf]" >&2; exit 2; }
[ $# -ge 1 ] || usage
folder=$1; shift
timeout_s=600
threads=""
log=/dev/null
dxf=0
while [ $# -gt 0 ]; do
  case $1 in
    --timeout) timeout_s=$2; shift 2 ;;
    --threads) threads="--threads $2"; shift 2 ;;
    --log) log=$2; shift 2 ;;
    --dxf) dxf=1; shift ;;
    *) usage ;;
  esac
done
[ -d "$folder" ] || { echo "$0: no folder $folder" >&2; exit 2; }
nimb=${NIMB:-$(dirname "$0")/../build/bin/nimb}
[ -x "$nimb" ] || { echo "$0: $nimb is not built (make native)" >&2; exit 2; }

here=$(dirname "$0")
save=()
if [ "$dxf" = 1 ]; then
  work=$(mktemp -d)
  trap 'rm -rf "$work"' EXIT
  save=(-o "$work/drawing.dxf")
fi

opened=0; refused=0; died=0; slow=0; faults=0
: > "$log"
while IFS= read -r -d '' file; do
  start=$(date +%s%N)
  # shellcheck disable=SC2086
  timeout --kill-after=10 "$timeout_s" "$nimb" $threads open "$file" "${save[@]}" >> "$log" 2>&1
  rc=$?
  millis=$((($(date +%s%N) - start) / 1000000))
  if [ "$rc" = 0 ] && [ "$dxf" = 1 ]; then
    verdict=$("$here/dxf-check.py" "$work/drawing.dxf") || { rc=dxf; echo "${file#"$folder"/}: ${verdict#*: }" >> "$log"; }
    rm -f "$work/drawing.dxf"
  fi
  case $rc in
    0) outcome=opened; opened=$((opened + 1)) ;;
    dxf) outcome=dxf-fault; faults=$((faults + 1)) ;;
    1) outcome=refused; refused=$((refused + 1)) ;;
    124|137) outcome=timeout; slow=$((slow + 1)) ;;
    *) outcome="died($rc)"; died=$((died + 1)) ;;
  esac
  printf '%-10s %6d.%03ds  %s\n' "$outcome" $((millis / 1000)) $((millis % 1000)) "${file#"$folder"/}"
done < <(find "$folder" -type f \( -iname '*.step' -o -iname '*.stp' -o -iname '*.ste' \
                                   -o -iname '*.iges' -o -iname '*.igs' \) -print0 | sort -z)

echo "opened $opened, refused $refused, timed out $slow, died $died$([ "$dxf" = 1 ] && echo ", DXF faults $faults")"
[ "$died" -eq 0 ] && [ "$faults" -eq 0 ]
