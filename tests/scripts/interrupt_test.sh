#!/usr/bin/env bash
# Ctrl-C to scripts/test.sh as a terminal sends it (SIGINT to its whole process group), at moments
# of its work: during a build, during the emulator's fetch, as its X servers start, during a Wine
# prefix's creation and during its end-to-end tests. Each time it must end within the time the
# scripts promise (KORAVEL_END_LIMIT), and then none of its processes may run on (they are tagged
# in their environment, which Wine hands on too), nor anything of it be left: its scratch folders
# and its X servers' files, found by name in its processes' environment. Nothing else in /tmp
# counts.
set -euo pipefail
. "$(dirname "$0")/../../scripts/common.sh"
koravel_traps

pids() { grep -lsa "$tag" /proc/[0-9]*/environ | cut -d/ -f3 || true; }
# Notes the scratch folders and X displays of the processes PID..., not this script's own.
note() {
  local environ own=${TMPDIR-} display=${DISPLAY-}
  display=${display#:} && display=${display%%.*}
  environ=$(cd /proc && cat "${@/%//environ}" </dev/null 2>/dev/null | tr '\0' '\n' || true)
  owned+=" $(sed -n 's#^TMPDIR=\(/tmp/koravel-[^/]*\)/tmp$#\1#p; s#^DISPLAY=:\([0-9]*\).*#/tmp/.X\1-lock /tmp/.X11-unix/X\1#p' \
    <<<"$environ" | grep -vxF -e "${own%/tmp}" -e "/tmp/.X$display-lock /tmp/.X11-unix/X$display" || true)"
}
# Notes what test.sh's processes own; succeeds once one of them runs a command that matches PATTERN
# (none when empty), or once test.sh has ended.
watch() {
  running=$(pids)
  [ -z "$running" ] || note $running
  [ -n "$1" ] && [ -n "$running" ] && grep -qsaiE "$1" $(printf '/proc/%s/cmdline ' $running) ||
    koravel_ended "$group" "$start"
}

failures=0
# Starts test.sh with VAR=VALUE... in its environment, interrupts it once a process of it runs a
# command that matches PATTERN, and checks what is left. MOMENT names the moment.
interrupt() {
  local moment=$1 pattern=$2 running= left= problem= owned= group start
  local tag=KORAVEL_INTERRUPTED=$$.$RANDOM  # one per run: what one run left is not the next one's
  shift 2
  # SIGINT at its default: bash could not restore it where this test started with it ignored.
  KORAVEL_NESTED=1 koravel_spawn env --default-signal=INT "$tag" "$@" \
    "$KORAVEL_ROOT/scripts/test.sh" -R end_to_end >/dev/null 2>&1
  group=$KORAVEL_JOB start=${KORAVEL_GROUP_START[$KORAVEL_JOB]}
  if koravel_poll 300 watch "$pattern" && koravel_still "$group" "$start"; then
    kill -INT -- "-$group" 2>/dev/null || true
    koravel_poll $KORAVEL_END_LIMIT watch '' ||
      problem="interrupted during $moment did not end within $KORAVEL_END_LIMIT s"
    running=$(pids)
    for file in $(printf '%s\n' $owned | sort -u); do [ ! -e "$file" ] || left+=" $file"; done
  else
    problem="never came to $moment"
  fi
  if [ -z "$problem$running$left" ]; then
    echo "test.sh interrupted during $moment: ended with everything it started"
  else
    failures=$((failures + 1))
    printf 'FAILED: test.sh %s%s\n' \
      "${problem:-interrupted during $moment left${left:- nothing in /tmp}}" "${running:+; running:}"
    [ -z "$running" ] || ps -o pid,args -p "$(echo $running | tr ' ' ,)"
  fi
  koravel_end_groups "$group"
  koravel_wait "$group" || true
  kill -KILL $(pids) 2>/dev/null || true
}

# A build folder of its own, where every build starts from nothing and the emulator is not there
# yet, removed by the clean-up as the scratch folder; not in /tmp, which may forbid execution.
mkdir -p "$KORAVEL_BUILD"
KORAVEL_SCRATCH=$(mktemp -d "$KORAVEL_BUILD/interrupted.XXXXXX")
interrupt "a build" 'cc1plus' KORAVEL_BUILD="$KORAVEL_SCRATCH"
rm -rf "$KORAVEL_SCRATCH/qemu-i386"
interrupt "the emulator's fetch" 'SourceList=' KORAVEL_BUILD="$KORAVEL_SCRATCH" KORAVEL_EMULATE_I386=1
interrupt "the start of its X servers" '^Xvfb'
interrupt "a Wine prefix's creation" 'wineboot'
interrupt "its end-to-end tests" 'notepad'
[ $failures -eq 0 ]
