#!/usr/bin/env bash
# Ctrl-C to scripts/test.sh once its end-to-end tests have a Wine session going (their witness,
# Notepad, runs), a fresh release build still to come. SIGINT goes to test.sh alone, as the rest of
# the terminal's foreground group does not run for long. Within 15 s none of its processes (tagged
# in their environment, which Wine hands on) may be left, nor anything of it in /tmp.
set -euo pipefail
tag=KORAVEL_INTERRUPTED=$$.$RANDOM
before=$(ls -A /tmp)
ours() { grep -lsa "$tag" /proc/[0-9]*/environ | cut -d/ -f3 || true; }
testing() { for pid in $(ours); do grep -qsai notepad "/proc/$pid/cmdline" && return; done; false; }

set -m  # SIGINT not ignored, as from a terminal
env "$tag" "$(dirname "$0")/../../scripts/test.sh" -R 'end_to_end|reproducible' >/dev/null 2>&1 &
group=$! seen=
set +m
for _ in $(seq 1200); do testing && seen=1 && break; sleep 0.1; done
[ -n "$seen" ] || { echo "no end-to-end test of test.sh ran within 2 minutes"; kill $group; exit 1; }
kill -INT $group
for _ in $(seq 150); do [ -z "$(ours)" ] && break; sleep 0.1; done
left=$(ours)
new=$(comm -13 <(echo "$before" | sort) <(ls -A /tmp | sort))
[ -z "$left$new" ] && exit 0
echo "left in /tmp: $new; running 15 s after Ctrl-C:" && ps -o pid,args -p "${left//$'\n'/,}"; exit 1
