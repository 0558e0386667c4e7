#!/usr/bin/env bash
# Runs one Windows test program under Wine in a fresh, temporary WINEPREFIX,
# removed afterwards together with every Wine and Xvfb process it started.
#
#   run-under-wine.sh [--display] [--dpi N]... [--search-path DIR]... [--drive L=DIR]... -- PROGRAM.exe [ARGS...]
#
# --display      start a private Xvfb for programs that create windows
# --dpi N        run the program once per given DPI (default: once at 96);
#                the run sees its DPI in QUOR_TEST_DPI
# --search-path  folder added to the program's PATH (for LoadLibrary by bare name)
# --drive L=DIR  drive letter L of the prefix shows the folder DIR
#
# Every way this script ends other than success says why on stderr.
set -euo pipefail

say() { echo "run-under-wine: $*" >&2; }
fail() { say "$@"; exit 2; }
trap 'say "failed at line $LINENO: $BASH_COMMAND (status $?)"' ERR

display=0
dpis=()
search_paths=()
drives=()
while [ $# -gt 0 ]; do
  case "$1" in
    --display) display=1; shift ;;
    --dpi|--search-path|--drive)
      [ $# -ge 2 ] || fail "$1 needs a value"
      case "$1" in
        --dpi) dpis+=("$2") ;;
        --search-path) search_paths+=("$2") ;;
        --drive) drives+=("$2") ;;
      esac
      shift 2 ;;
    --) shift; break ;;
    *) fail "unknown option $1" ;;
  esac
done
[ $# -ge 1 ] || fail "no program given"
[ -f "$1" ] || fail "program $1 does not exist"
[ ${#dpis[@]} -gt 0 ] || dpis=(96)
for drive in "${drives[@]}"; do
  [[ "$drive" =~ ^[a-yA-Y]=.+ ]] || fail "--drive $drive: expected a letter, '=' and a folder"
  [ -d "${drive#*=}" ] || fail "--drive $drive: ${drive#*=} is not a folder"
done

# The first of the candidates that exists. No pipeline into head: a writer
# cut off by head's early exit dies of SIGPIPE, which pipefail turns into a
# silent failure of the whole script.
first_program() {
  local candidate
  for candidate in "$@"; do
    if command -v "$candidate" >/dev/null 2>&1; then command -v "$candidate"; return 0; fi
  done
  return 1
}
wine=$(first_program /usr/lib/wine/wine64 wine64 wine) || fail "Wine is not installed (no wine64 or wine)"
wineserver=$(first_program /usr/lib/wine/wineserver wineserver) || fail "Wine is not installed (no wineserver)"

work=$(mktemp -d "${TMPDIR:-/tmp}/quor-wine.XXXXXX") || fail "cannot make a temporary folder"
xvfb_pid=""
cleanup() {
  WINEPREFIX="$work/prefix" "$wineserver" -k 2>/dev/null || true
  if [ -n "$xvfb_pid" ]; then kill "$xvfb_pid" 2>/dev/null || true; wait "$xvfb_pid" 2>/dev/null || true; fi
  rm -rf "$work"
}
trap cleanup EXIT
trap 'say "interrupted"; exit 130' INT TERM

export WINEPREFIX="$work/prefix" WINEARCH=win64 WINEDEBUG=-all
# No Mono or Gecko: their install prompts would stall an unattended run.
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"

now() { date +%s.%N; }
elapsed() { awk -v a="$1" -v b="$(now)" 'BEGIN { printf "%.1f", b - a }'; }

if [ "$display" = 1 ]; then
  command -v Xvfb >/dev/null 2>&1 || fail "Xvfb is not installed"
  Xvfb -displayfd 3 -screen 0 1600x1200x24 -nolisten tcp -noreset 3>"$work/display" 2>"$work/xvfb.log" &
  xvfb_pid=$!
  # -displayfd writes the number and a newline once the server listens.
  for _ in $(seq 200); do
    grep -q '^[0-9][0-9]*$' "$work/display" 2>/dev/null && break
    kill -0 "$xvfb_pid" 2>/dev/null || break
    sleep 0.05
  done
  if ! grep -q '^[0-9][0-9]*$' "$work/display" 2>/dev/null; then
    say "Xvfb did not start; its log:"
    cat "$work/xvfb.log" >&2
    exit 2
  fi
  export DISPLAY=":$(head -n1 "$work/display")"
else
  unset DISPLAY
fi

started=$(now)
if ! "$wine" wineboot --init >"$work/wineboot.log" 2>&1; then
  say "wineboot of the fresh prefix failed; its output:"
  cat "$work/wineboot.log" >&2
  exit 2
fi
[ -d "$WINEPREFIX/drive_c/windows" ] || { say "wineboot left no Windows folder; its output:"; cat "$work/wineboot.log" >&2; exit 2; }
"$wineserver" -p 2>/dev/null || true # keep the server up between the runs of this program
echo "run-under-wine: wineboot took $(elapsed "$started") s"

# Tahoma is installed on Windows; Wine ships a copy but does not load it.
for font in /usr/share/wine/fonts/tahoma.ttf /usr/share/wine/fonts/tahomabd.ttf; do
  if [ -f "$font" ]; then cp "$font" "$WINEPREFIX/drive_c/windows/Fonts/" || fail "cannot copy $font into the prefix"; fi
done
# Chinese texts in the UI font: link Tahoma to the CJK font, as Windows does.
# Wine's regedit reads hex(7) data of a file in this encoding as ANSI bytes.
# Xvfb runs no window manager: unmanaged windows spare Wine its wait for one.
cat >"$work/setup.reg" <<'REG'
Windows Registry Editor Version 5.00

[HKEY_CURRENT_USER\Software\Wine\X11 Driver]
"Managed"="N"

[HKEY_LOCAL_MACHINE\Software\Microsoft\Windows NT\CurrentVersion\FontLink\SystemLink]
"Tahoma"=hex(7):77,71,79,2d,6d,69,63,72,6f,68,65,69,2e,74,74,63,2c,57,65,6e,51,75,61,6e,59,69,20,4d,69,63,72,6f,20,48,65,69,00,00
REG
"$wine" regedit /S "$(printf 'Z:%s' "$work/setup.reg" | tr / '\\')" >"$work/regedit.log" 2>&1 ||
  { say "regedit could not import the prefix settings:"; cat "$work/regedit.log" >&2; exit 2; }

for drive in "${drives[@]}"; do
  letter=$(printf '%s' "${drive%%=*}" | tr '[:upper:]' '[:lower:]')
  ln -sfn "${drive#*=}" "$WINEPREFIX/dosdevices/$letter:" || fail "cannot map drive $letter: to ${drive#*=}"
done

winepath=""
for dir in "${search_paths[@]}"; do
  winepath+="${winepath:+;}Z:$(printf '%s' "$dir" | tr / '\\')"
done
export WINEPATH="$winepath"

program=$1
shift
for dpi in "${dpis[@]}"; do
  "$wine" reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$dpi" /f >"$work/reg.log" 2>&1 ||
    { say "cannot set $dpi DPI:"; cat "$work/reg.log" >&2; exit 2; }
  started=$(now)
  echo "run-under-wine: $(basename "$program") at $dpi DPI"
  status=0
  QUOR_TEST_DPI=$dpi "$wine" "$program" "$@" || status=$?
  echo "run-under-wine: run took $(elapsed "$started") s"
  [ "$status" = 0 ] || { say "$(basename "$program") at $dpi DPI ended with status $status"; exit "$status"; }
done
