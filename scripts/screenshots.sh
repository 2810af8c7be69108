#!/usr/bin/env bash
# Remakes the README's screenshots in docs/ from the x86_64 build: the settings dialog, the About
# box, the meter, and the questionnaire of a platform other than NT. Koravel runs inside Wine's virtual desktop, which draws the windows'
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

# Runs Koravel (or PROGRAM ARGUMENT...) in the virtual desktop until the caller is done with it.
start_koravel() {
  koravel_spawn env WINEPREFIX="$KORAVEL_PREFIX" "$KORAVEL_WINE64" explorer \
    "/desktop=$desktop_name,640x480" "${@:-$build/Koravel.exe}"
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
stop_koravel

# The meter, as the in-process tests fill it in their first case, which KORAVEL_PICTURE holds on
# the screen for eight seconds: a PS/2 mouse whose own value is too long to be a rate, and input
# from no device. Wine gives all input a device: there, the tests' stand-in hands every other
# report over without one.
export KORAVEL_PICTURE=1
start_koravel "$build/tests/koravel_tests.exe" '--gtest_filter=MeterTest.*'
shoot meter.png 300 100 "the meter"
sleep 2  # the rows' rates come with the meter's first figure
shoot meter.png 300 100 "the meter"
stop_koravel

# Wine then tells Koravel that it runs on Windows 98.
emulation='HKCU\Software\Wine\AppDefaults\Koravel.exe'
koravel_wine reg add "$emulation" /v Version /d win98 /f >/dev/null 2>&1
start_koravel
shoot questionnaire.png 400 100 "the questionnaire"
stop_koravel

mv "$shots"/{settings,about,meter,questionnaire}.png "$KORAVEL_ROOT/docs/"
koravel_log "docs/: settings.png, about.png, meter.png and questionnaire.png remade"
