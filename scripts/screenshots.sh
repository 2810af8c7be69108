#!/usr/bin/env bash
# Remakes the README's screenshots in docs/ from the x86_64 build: Koravel runs inside Wine's
# virtual desktop, which draws the windows' caption bars, on a private X display.
set -euo pipefail
. "$(dirname "$0")/common.sh"

koravel_install_deps
koravel_build x86_64
trap koravel_cleanup EXIT
koravel_start_x
KORAVEL_PREFIX_OWNED=1
koravel_prefix "$(mktemp -d /tmp/koravel-shots.XXXXXX)/prefix"
koravel_demo_value

build="$KORAVEL_ROOT/build/x86_64"
desktop_name=koravel

# Saves what the virtual desktop shows, trimmed of the empty desktop around it, to docs/FILE once
# it holds a window of at least MIN_WIDTH pixels. (The probe cannot help here: a program sees only
# the windows of its own desktop.)
shoot() {
  local file=$1 min_width=$2 desktop out="$KORAVEL_ROOT/docs/$1"
  desktop=$(xdotool search --sync --name "^$desktop_name - Wine desktop\$" | head -n 1)
  for _ in $(seq 60); do
    sleep 0.5
    import -window "$desktop" -trim +repage "$out" 2>/dev/null
    [ "$(identify -format %w "$out")" -ge "$min_width" ] && break
  done
  sleep 1  # let the last paint land
  import -window "$desktop" -trim +repage "$out"
  koravel_log "saved docs/$file"
}

wine explorer "/desktop=$desktop_name,640x480" "$build/Koravel.exe" &
shoot settings.png 200
