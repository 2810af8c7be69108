#!/usr/bin/env bash
# Ctrl-C to scripts/test.sh as a terminal sends it (SIGINT to its whole process group), at moments
# of its work: during a build, during the emulator's fetch, as its X servers start, during a Wine
# prefix's creation and during its end-to-end tests. Each time, within the time the scripts
# promise (KORAVEL_END_LIMIT), none of its processes may run on (they are tagged in their
# environment, which Wine hands on too), and nothing of it may be left: its scratch folders and
# its X servers' files, found by name in its processes' environment. Nothing else in /tmp counts.
set -euo pipefail
. "$(dirname "$0")/../../scripts/common.sh"
koravel_traps

tag=KORAVEL_INTERRUPTED=$$.$RANDOM
pids() { grep -lsa "$tag" /proc/[0-9]*/environ | cut -d/ -f3 || true; }
# Notes the scratch folders and X displays that the processes PID... use.
note() {
  [ $# -gt 0 ] || return 0
  local environ
  environ=$(cd /proc && cat "${@/%//environ}" 2>/dev/null | tr '\0' '\n' || true)
  folders+=" $(sed -n 's#^TMPDIR=\(/tmp/koravel-[^/]*\).*#\1#p' <<<"$environ" | sort -u)"
  displays+=" $(sed -n 's#^DISPLAY=:\([0-9]*\).*#\1#p' <<<"$environ" | sort -u)"
}
# This script's own, which its test.sh inherits until it makes its own.
own_folder=${TMPDIR:-} own_display=${DISPLAY:-}
own_folder=${own_folder%/tmp} own_display=${own_display#:}

failures=0
# Starts test.sh with VAR=VALUE... in its environment, interrupts it once a process of it runs a
# command that matches PATTERN, and checks what is left. MOMENT names the moment.
interrupt() {
  local moment=$1 pattern=$2 running left=
  shift 2
  folders= displays=
  koravel_spawn env "$tag" "$@" "$KORAVEL_ROOT/scripts/test.sh" -R end_to_end >/dev/null 2>&1
  local group=$KORAVEL_JOB
  for _ in $(seq 3000); do
    running=$(pids)
    note $running
    [ -n "$running" ] && grep -qsaiE "$pattern" $(printf '/proc/%s/cmdline ' $running) && break
    running=
    sleep 0.1
  done
  if [ -z "$running" ]; then
    echo "FAILED: test.sh never came to $moment within 5 minutes"
    failures=$((failures + 1))
    koravel_end_groups "$group"
    return
  fi
  kill -INT -- "-$group" 2>/dev/null || true
  for _ in $(seq $((10 * KORAVEL_END_LIMIT))); do
    running=$(pids)
    [ -n "$running" ] || break
    note $running
    sleep 0.1
  done
  for folder in $(printf '%s\n' $folders | sort -u); do
    if [ "$folder" != "$own_folder" ] && [ -e "$folder" ]; then left+=" $folder"; fi
  done
  for display in $(printf '%s\n' $displays | sort -u); do
    [ "$display" != "${own_display%%.*}" ] || continue
    for file in "/tmp/.X$display-lock" "/tmp/.X11-unix/X$display"; do
      if [ -e "$file" ]; then left+=" $file"; fi
    done
  done
  if [ -z "$running$left" ]; then
    echo "test.sh interrupted during $moment: ended with everything it started"
    koravel_wait "$group" || true
    return
  fi
  failures=$((failures + 1))
  echo "FAILED: test.sh interrupted during $moment left${left:- nothing in /tmp}; running $KORAVEL_END_LIMIT s after Ctrl-C:"
  if [ -n "$running" ]; then ps -o pid,args -p "$(echo $running | tr ' ' ,)"; else echo "nothing"; fi
  koravel_end_groups "$group"
}

# A build folder of its own, in which every build starts from nothing and the emulator is not
# there yet: the clean-up removes it with the scratch folder. Not in /tmp, which may forbid
# execution.
mkdir -p "$KORAVEL_BUILD"
KORAVEL_SCRATCH=$(mktemp -d "$KORAVEL_BUILD/interrupted.XXXXXX")
fresh=$KORAVEL_SCRATCH
interrupt "a build" 'cc1plus' KORAVEL_BUILD="$fresh"
rm -rf "$fresh/qemu-i386"
interrupt "the emulator's fetch" 'apt-get' KORAVEL_BUILD="$fresh" KORAVEL_EMULATE_I386=1
interrupt "the start of its X servers" '^Xvfb'
interrupt "a Wine prefix's creation" 'wineboot'
interrupt "its end-to-end tests" 'notepad'
[ $failures -eq 0 ]
