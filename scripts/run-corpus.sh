#!/usr/bin/env bash
# Opens every STEP and IGES file below a folder with nimb, one process per
# file, and reports how each ended. Fails when nimb died on any file.
#
#   scripts/run-corpus.sh FOLDER [--timeout SECONDS] [--threads N] [--codepage N] [--log FILE] [--dxf]
#
# Each file ends as one of
#   opened     the drawing has what the file brought
#   empty      nimb opened it and nothing came in ("nothing imported from")
#   refused    nimb did not hand it to the plug-in ("cannot open FILE: why")
#   failed     the plug-in's open failed (an exception or a kernel fault)
#   timeout    no end within the timeout
#   died       nimb ended by a signal or an unknown status
# and for every file that brought nothing the line says why: nimb's own
# reason, or what the host's kernel reads from the file (nimb contents).
#
# --dxf also saves each drawing as DXF and reads it back strictly with
# scripts/dxf-check.py (ezdxf); a drawing with a fault counts as such, its
# reason goes to the log, and any fault fails the run.
#
# NIMB names the nimb program (default: build/bin/nimb).
set -uo pipefail

usage() { echo "usage: $0 FOLDER [--timeout SECONDS] [--threads N] [--codepage N] [--log FILE] [--dxf]" >&2; exit 2; }
[ $# -ge 1 ] || usage
folder=$1; shift
timeout_s=600
threads=""
codepage=""
log=/dev/null
dxf=0
while [ $# -gt 0 ]; do
  case $1 in
    --timeout) timeout_s=$2; shift 2 ;;
    --threads) threads="--threads $2"; shift 2 ;;
    --codepage) codepage="--codepage $2"; shift 2 ;;
    --log) log=$2; shift 2 ;;
    --dxf) dxf=1; shift ;;
    *) usage ;;
  esac
done
[ -d "$folder" ] || { echo "$0: no folder $folder" >&2; exit 2; }
nimb=${NIMB:-$(dirname "$0")/../build/bin/nimb}
[ -x "$nimb" ] || { echo "$0: $nimb is not built (make native)" >&2; exit 2; }

here=$(dirname "$0")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
save=()
[ "$dxf" = 1 ] && save=(-o "$work/drawing.dxf")

# What the host's kernel reads from a file, as one statement.
contents() {
  # shellcheck disable=SC2086
  local said
  said=$(timeout --kill-after=10 "$timeout_s" "$nimb" $codepage contents "$1" 2>/dev/null | head -n 1)
  echo "${said#"$1: "}"
}

opened=0; empty=0; refused=0; failed=0; died=0; slow=0; faults=0
: > "$log"
while IFS= read -r -d '' file; do
  start=$(date +%s%N)
  # shellcheck disable=SC2086
  timeout --kill-after=10 "$timeout_s" "$nimb" $threads $codepage open "$file" "${save[@]}" \
    > "$work/out" 2> "$work/err"
  rc=$?
  millis=$((($(date +%s%N) - start) / 1000000))
  cat "$work/out" "$work/err" >> "$log"
  why=""
  if [ "$rc" = 1 ] && grep -qxF "nimb: nothing imported from $file" "$work/err"; then
    rc=empty
  elif [ "$rc" = 1 ] && grep -qF "nimb: cannot open $file: " "$work/err"; then
    rc=refused
    why=$(grep -F "nimb: cannot open $file: " "$work/err" | head -n 1)
    why=${why#"nimb: cannot open $file: "}
  fi
  if { [ "$rc" = 0 ] || [ "$rc" = empty ]; } && [ "$dxf" = 1 ]; then
    verdict=$("$here/dxf-check.py" "$work/drawing.dxf") || { rc=dxf; echo "${file#"$folder"/}: ${verdict#*: }" >> "$log"; }
    rm -f "$work/drawing.dxf"
  fi
  case $rc in
    0) outcome=opened; opened=$((opened + 1)) ;;
    empty)
      outcome=empty; empty=$((empty + 1))
      why=$(contents "$file")
      case $why in
        "it holds no "*) ;;
        "it holds "*) why="nothing came of what it holds: ${why#it holds }" ;;
      esac ;;
    refused) outcome=refused; refused=$((refused + 1)) ;;
    dxf) outcome=dxf-fault; faults=$((faults + 1)) ;;
    1)
      outcome=failed; failed=$((failed + 1))
      why="the plug-in's open failed; $(contents "$file")" ;;
    124|137) outcome=timeout; slow=$((slow + 1)); why="no end within ${timeout_s}s" ;;
    *)
      outcome="died($rc)"; died=$((died + 1))
      if [ "$rc" -gt 128 ]; then why="ended by signal $((rc - 128))"; else why="exit status $rc"; fi ;;
  esac
  printf '%-10s %6d.%03ds  %s%s\n' "$outcome" $((millis / 1000)) $((millis % 1000)) "${file#"$folder"/}" \
    "${why:+: $why}"
done < <(find "$folder" -type f \( -iname '*.step' -o -iname '*.stp' -o -iname '*.ste' \
                                   -o -iname '*.iges' -o -iname '*.igs' \) -print0 | sort -z)

echo "opened $opened, empty $empty, refused $refused, failed $failed, timed out $slow, died $died$([ "$dxf" = 1 ] && echo ", DXF faults $faults")"
[ "$died" -eq 0 ] && [ "$faults" -eq 0 ]
