#!/usr/bin/env bash
# Runs one Windows test program under Wine in a fresh, temporary WINEPREFIX,
# removed afterwards together with every Wine and Xvfb process it started.
#
#   run-under-wine.sh [--display] [--dpi N]... [--search-path DIR]... -- PROGRAM.exe [ARGS...]
#
# --display      start a private Xvfb for programs that create windows
# --dpi N        run the program once per given DPI (default: once at 96);
#                the run sees its DPI in QUOR_TEST_DPI
# --search-path  folder added to the program's PATH (for LoadLibrary by bare name)
set -euo pipefail

display=0
dpis=()
search_paths=()
while [ $# -gt 0 ]; do
  case "$1" in
    --display) display=1; shift ;;
    --dpi) dpis+=("$2"); shift 2 ;;
    --search-path) search_paths+=("$2"); shift 2 ;;
    --) shift; break ;;
    *) echo "run-under-wine: unknown option $1" >&2; exit 2 ;;
  esac
done
[ $# -ge 1 ] || { echo "run-under-wine: no program given" >&2; exit 2; }
[ ${#dpis[@]} -gt 0 ] || dpis=(96)

wine=$(command -v /usr/lib/wine/wine64 wine64 wine 2>/dev/null | head -n1)
wineserver=$(command -v /usr/lib/wine/wineserver wineserver 2>/dev/null | head -n1)
[ -n "$wine" ] && [ -n "$wineserver" ] || { echo "run-under-wine: Wine is not installed" >&2; exit 2; }

work=$(mktemp -d "${TMPDIR:-/tmp}/quor-wine.XXXXXX")
xvfb_pid=""
cleanup() {
  WINEPREFIX="$work/prefix" "$wineserver" -k 2>/dev/null || true
  if [ -n "$xvfb_pid" ]; then kill "$xvfb_pid" 2>/dev/null || true; wait "$xvfb_pid" 2>/dev/null || true; fi
  rm -rf "$work"
}
trap cleanup EXIT
trap 'echo "run-under-wine: failed at line $LINENO" >&2' ERR
trap 'exit 130' INT TERM

export WINEPREFIX="$work/prefix" WINEARCH=win64 WINEDEBUG=-all
# No Mono or Gecko: their install prompts would stall an unattended run.
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"

now() { date +%s.%N; }
elapsed() { awk -v a="$1" -v b="$(now)" 'BEGIN { printf "%.1f", b - a }'; }

if [ "$display" = 1 ]; then
  Xvfb -displayfd 3 -screen 0 1600x1200x24 -nolisten tcp -noreset 3>"$work/display" 2>"$work/xvfb.log" &
  xvfb_pid=$!
  for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.05; done
  [ -s "$work/display" ] || { echo "run-under-wine: Xvfb did not start" >&2; cat "$work/xvfb.log" >&2; exit 2; }
  export DISPLAY=":$(head -n1 "$work/display")"
else
  unset DISPLAY
fi

started=$(now)
"$wine" wineboot --init >"$work/wineboot.log" 2>&1 || { cat "$work/wineboot.log" >&2; exit 2; }
"$wineserver" -p 2>/dev/null || true # keep the server up between the runs of this program
echo "run-under-wine: wineboot took $(elapsed "$started") s"

# Tahoma is installed on Windows; Wine ships a copy but does not load it.
for font in /usr/share/wine/fonts/tahoma.ttf /usr/share/wine/fonts/tahomabd.ttf; do
  [ -f "$font" ] && cp "$font" "$WINEPREFIX/drive_c/windows/Fonts/"
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
"$wine" regedit /S "$(printf 'Z:%s' "$work/setup.reg" | tr / '\\')" >/dev/null 2>&1

winepath=""
for dir in "${search_paths[@]}"; do
  winepath+="${winepath:+;}Z:$(printf '%s' "$dir" | tr / '\\')"
done
export WINEPATH="$winepath"

program=$1
shift
status=0
for dpi in "${dpis[@]}"; do
  "$wine" reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$dpi" /f >/dev/null 2>&1
  started=$(now)
  echo "run-under-wine: $(basename "$program") at $dpi DPI"
  QUOR_TEST_DPI=$dpi "$wine" "$program" "$@" || status=$?
  echo "run-under-wine: run took $(elapsed "$started") s"
  [ "$status" = 0 ] || break
done
exit "$status"
