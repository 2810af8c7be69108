#!/usr/bin/env bash
# Installs what is missing, builds Koravel and runs it under Wine, in the prefix .wine-demo with a
# demonstration SampleRate of 100 (set only where there is none). With no X display, Koravel runs
# on a private one: the script saves a screenshot to build/koravel-demo.png and closes it.
# Usage: scripts/run.sh [i686|x86_64]
set -euo pipefail
. "$(dirname "$0")/common.sh"
arch=${1:-x86_64}

koravel_traps
koravel_install_deps
if [ "$arch" = i686 ] && ! koravel_kernel_runs_32bit; then
  koravel_log "this machine's kernel runs no 32-bit programs: Wine cannot start the i686 build here"
  exit 1
fi
koravel_build "$arch"
# The prefix stays; its wineserver's folder, and every other temporary file, goes with the scratch
# folder.
koravel_scratch run
headless=
if [ -z "${DISPLAY:-}" ]; then
  headless=1
  koravel_start_x
fi
koravel_prefix "$KORAVEL_ROOT/.wine-demo"
koravel_demo_value

exe="$KORAVEL_BUILD/$arch/Koravel.exe"
loader=$(koravel_loader "$arch")
if [ -z "$headless" ]; then
  koravel_run "$loader" "$exe"
  exit 0
fi
koravel_spawn "$loader" "$exe"
koravel=$KORAVEL_JOB
# The settings dialog, or an Error box when the registry lets Koravel down: whichever comes first,
# within a minute.
window=$(koravel_wait_window '^(Koravel Settings|Error)$' 60) || exit 1
seen=$(xdotool getwindowname "$window")
sleep 3  # let every control paint
import -window root -crop "$(xdotool getwindowgeometry --shell "$window" |
  awk -F= '/WIDTH|HEIGHT|^X|^Y/ {v[$1]=$2} END {printf "%dx%d+%d+%d", v["WIDTH"], v["HEIGHT"], v["X"], v["Y"]}')" \
  "$KORAVEL_BUILD/koravel-demo.png"
koravel_log "Koravel shows \"$seen\"; screenshot: build/koravel-demo.png"
xdotool key Escape  # cancels the dialog, or closes the Error box
for _ in $(seq 60); do kill -0 "$koravel" 2>/dev/null || exit 0; sleep 0.5; done
koravel_log "Koravel did not end within half a minute; stopping it"
exit 1
