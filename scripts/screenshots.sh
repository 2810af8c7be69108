#!/usr/bin/env bash
# Remakes the README's screenshots in docs/ from the x86_64 build: the settings dialog, the About
# box and the meter over it (a row for Wine's mouse, made a PS/2 mouse), and the questionnaire of a
# platform other than NT. Koravel runs inside Wine's virtual desktop, which draws the windows'
# caption bars, on a private X display. The pictures are made in the scratch folder and replace
# those in docs/ only once every one of them was made.
set -euo pipefail
. "$(dirname "$0")/common.sh"

koravel_traps
koravel_install_deps
koravel_build x86_64
koravel_scratch shots
koravel_start_x
koravel_scratch_prefix shots
koravel_demo_value
# Wine's own mouse, declared a PS/2 mouse of this prefix with a rate of its own, as the tests do:
# the meter's row then shows what Koravel stored for it.
mouse='HKLM\System\CurrentControlSet\Enum\HID\VID_845E&PID_0001\0&0000&0&0'
koravel_wine reg add "$mouse" /v ClassGUID /d '{4D36E96F-E325-11CE-BFC1-08002BE10318}' /f >/dev/null 2>&1
koravel_wine reg add "$mouse" /v Class /d Mouse /f >/dev/null 2>&1
koravel_wine reg add "$mouse" /v Service /d i8042prt /f >/dev/null 2>&1
koravel_wine reg add "$mouse\Device Parameters" /v SampleRate /t REG_DWORD /d 100 /f >/dev/null 2>&1

build="$KORAVEL_BUILD/x86_64"
shots="$KORAVEL_SCRATCH/shots"
mkdir -p "$shots"
desktop_name=koravel
desktop=

# Waits until the virtual desktop shows windows at least WIDTH by HEIGHT pixels in all, then
# saves what it shows, trimmed of the empty desktop around them, to FILE in the scratch folder;
# fails saying so if WHAT does not come within 30 s. (A Windows program could not wait for them:
# it sees only the windows of its own desktop.)
shoot() {
  local file=$1 width=$2 height=$3 what=$4 size
  [ -n "$desktop" ] || desktop=$(koravel_wait_window "^$desktop_name - Wine desktop\$" 60)
  for _ in $(seq 60); do
    sleep 0.5
    import -window "$desktop" -trim +repage "$shots/$file" 2>/dev/null || continue
    size=$(identify -format '%w %h' "$shots/$file")
    if [ "${size% *}" -ge "$width" ] && [ "${size#* }" -ge "$height" ]; then
      sleep 1  # let the last paint land
      import -window "$desktop" -trim +repage "$shots/$file"
      koravel_log "made $file"
      return 0
    fi
  done
  koravel_die "$what did not come within 30 s"
}
height() { identify -format %h "$shots/$1"; }

# Runs Koravel in the virtual desktop until the caller is done with it.
start_koravel() {
  koravel_spawn env WINEPREFIX="$KORAVEL_PREFIX" "$KORAVEL_WINE64" explorer \
    "/desktop=$desktop_name,640x480" "$build/Koravel.exe"
  koravel_group=$KORAVEL_JOB
  desktop=
}
stop_koravel() {
  koravel_limit $KORAVEL_WINE_GRACE wineserver -k || true
  koravel_end_groups "$koravel_group"
  wineserver -p 2>/dev/null || true
}

start_koravel
shoot settings.png 200 100 "the settings dialog"
sleep 2  # a second look, once every control has painted
shoot settings.png 200 100 "the settings dialog"
# The system menu reaches below the dialog: once it does, an entry is chosen, counted from the
# last one (Measure Rate...).
system_menu() {
  xdotool key alt+space
  shoot menu.png 200 $(($(height settings.png) + 20)) "the system menu"
  xdotool key End "$@" Return
}
system_menu Up
shoot about.png 350 100 "the About box"
xdotool key Escape
# The pointer goes round in circles over the meter, as a mouse moved by hand: the moves reach
# Koravel through Wine's desktop, and the meter shows their rate.
system_menu
koravel_spawn xdotool $(awk 'BEGIN {
  for (i = 1; i <= 600; i++) printf "mousemove %d %d sleep 0.01 ", 320 + 60 * cos(i / 8), 330 + 30 * sin(i / 8)
}')
mover=$KORAVEL_JOB
sleep 3  # the meter's first figure needs 800 ms of movement
shoot meter.png 300 100 "the meter"
koravel_end_groups "$mover"
stop_koravel

# Wine then tells Koravel that it runs on Windows 98.
emulation='HKCU\Software\Wine\AppDefaults\Koravel.exe'
koravel_wine reg add "$emulation" /v Version /d win98 /f >/dev/null 2>&1
start_koravel
shoot questionnaire.png 400 100 "the questionnaire"
stop_koravel

mv "$shots"/{settings,about,meter,questionnaire}.png "$KORAVEL_ROOT/docs/"
koravel_log "docs/: settings.png, about.png, meter.png and questionnaire.png remade"
