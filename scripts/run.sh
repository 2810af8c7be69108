#!/usr/bin/env bash
# Installs what is missing, builds Koravel and runs it under Wine, in the prefix .wine-demo with a
# demonstration SampleRate of 100 (set only where there is none). With no X display, Koravel runs
# on a private one: the script saves a screenshot to build/koravel-demo.png and closes it.
# Usage: scripts/run.sh [i686|x86_64]
set -euo pipefail
. "$(dirname "$0")/common.sh"
arch=${1:-x86_64}

koravel_install_deps
koravel_build "$arch"
trap koravel_cleanup EXIT
headless=
if [ -z "${DISPLAY:-}" ]; then
  headless=1
  koravel_start_x
fi
koravel_prefix "$KORAVEL_ROOT/.wine-demo"
koravel_demo_value

exe="$KORAVEL_ROOT/build/$arch/Koravel.exe"
loader=$(koravel_loader "$arch")
if [ -z "$headless" ]; then
  "$loader" "$exe"
  exit 0
fi
"$loader" "$exe" &
koravel=$!
if window=$(xdotool search --sync --onlyvisible --name '^Koravel Settings$' 2>/dev/null | head -n 1) \
   && [ -n "$window" ]; then
  sleep 3  # let every control paint
  import -window root -crop "$(xdotool getwindowgeometry --shell "$window" |
    awk -F= '/WIDTH|HEIGHT|^X|^Y/ {v[$1]=$2} END {printf "%dx%d+%d+%d", v["WIDTH"], v["HEIGHT"], v["X"], v["Y"]}')" \
    "$KORAVEL_ROOT/build/koravel-demo.png"
  koravel_log "Koravel is running; screenshot: build/koravel-demo.png"
  xdotool key Escape
fi
wait "$koravel"
