#!/usr/bin/env bash
# Remakes the README's screenshots in docs/ from the x86_64 build: the settings dialog, the About
# box over it, and the questionnaire of a platform other than NT. Koravel runs inside Wine's
# virtual desktop, which draws the windows' caption bars, on a private X display.
set -euo pipefail
. "$(dirname "$0")/common.sh"

koravel_install_deps
koravel_build x86_64
koravel_traps
koravel_scratch shots
koravel_start_x
koravel_scratch_prefix shots
koravel_demo_value

build="$KORAVEL_ROOT/build/x86_64"
desktop_name=koravel

# Waits until the virtual desktop holds windows at least MIN_WIDTH pixels wide, then saves what it
# shows, trimmed of the empty desktop around them, to docs/FILE. (A Windows program could not wait
# for them: it sees only the windows of its own desktop.)
shoot() {
  local file=$1 min_width=$2 desktop out="$KORAVEL_ROOT/docs/$1" width=0
  desktop=$(koravel_wait_window "^$desktop_name - Wine desktop\$" 60)
  for _ in $(seq 60); do
    sleep 0.5
    import -window "$desktop" -trim +repage "$out" 2>/dev/null
    width=$(identify -format %w "$out" 2>/dev/null || echo 0)
    [ "$width" -ge "$min_width" ] && break
  done
  [ "$width" -ge "$min_width" ] ||
    koravel_die "no window $min_width pixels wide came for docs/$file within 30 s"
  sleep 1  # let the last paint land
  import -window "$desktop" -trim +repage "$out"
  koravel_log "saved docs/$file"
}

# Runs Koravel in the virtual desktop until the caller is done with it.
start_koravel() {
  koravel_wine explorer "/desktop=$desktop_name,640x480" "$build/Koravel.exe" &
  koravel_pid=$!
}
stop_koravel() {
  timeout 10 wineserver -k || true
  wait "$koravel_pid" || true
  wineserver -p 2>/dev/null || true
}

start_koravel
shoot settings.png 200
sleep 2  # a second look, once every control has painted
shoot settings.png 200
# The About entry is the last of the system menu.
xdotool key alt+space
sleep 0.5
xdotool key End Return
shoot about.png 350
stop_koravel

# Wine then tells Koravel that it runs on Windows 98.
emulation='HKCU\Software\Wine\AppDefaults\Koravel.exe'
koravel_wine reg add "$emulation" /v Version /d win98 /f >/dev/null 2>&1
start_koravel
shoot questionnaire.png 400
stop_koravel
koravel_wine reg delete "$emulation" /f >/dev/null 2>&1
