#!/usr/bin/env bash
# Runs a command on a private virtual display: starts Xvfb on a free display
# number, runs the command with DISPLAY set to it, and ends Xvfb afterwards.
#
#   scripts/with-display.sh COMMAND [ARGS...]
set -euo pipefail
[ $# -ge 1 ] || { echo "usage: $0 COMMAND [ARGS...]" >&2; exit 2; }
command -v Xvfb >/dev/null || { echo "$0: Xvfb is not installed (scripts/install-deps.sh)" >&2; exit 2; }

work=$(mktemp -d "${TMPDIR:-/tmp}/quor-display.XXXXXX")
xvfb_pid=""
cleanup() {
  if [ -n "$xvfb_pid" ]; then kill "$xvfb_pid" 2>/dev/null || true; wait "$xvfb_pid" 2>/dev/null || true; fi
  rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 130' INT TERM

Xvfb -displayfd 3 -screen 0 1600x1200x24 -nolisten tcp -noreset 3>"$work/display" 2>"$work/xvfb.log" &
xvfb_pid=$!
for _ in $(seq 200); do [ -s "$work/display" ] && break; sleep 0.05; done
[ -s "$work/display" ] || { echo "$0: Xvfb did not start" >&2; cat "$work/xvfb.log" >&2; exit 2; }
export DISPLAY=":$(head -n1 "$work/display")"
status=0
"$@" || status=$?
exit "$status"
