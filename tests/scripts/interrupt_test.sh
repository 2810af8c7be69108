#!/usr/bin/env bash
# Ctrl-C to scripts/test.sh in the middle of its tests, once its end-to-end tests have a Wine
# session going (Notepad, their witness, runs) and a fresh build of the release is still to come.
# SIGINT goes to test.sh alone: a terminal sends it to the foreground process group, where
# test.sh keeps nothing else that runs for long, so test.sh has to end the rest. Within 15 s no
# process of it may be left (each carries a tag in its environment, which Wine hands on to its own
# processes), and nothing of it in /tmp.
set -euo pipefail
tag=KORAVEL_INTERRUPTED=$$.$RANDOM
before=$(ls -A /tmp)
ours() { grep -lsa "$tag" /proc/[0-9]*/environ | cut -d/ -f3 || true; }
testing() { for pid in $(ours); do grep -qsai notepad "/proc/$pid/cmdline" && return; done; false; }

# Started with SIGINT not ignored, as from a terminal.
set -m
env "$tag" "$(dirname "$0")/../../scripts/test.sh" -R 'end_to_end|reproducible' >/dev/null 2>&1 &
group=$!
set +m
seen=
for _ in $(seq 1200); do testing && seen=1 && break; sleep 0.1; done
[ -n "$seen" ] || { echo "no end-to-end test of test.sh ran within 2 minutes"; kill $group; exit 1; }
kill -INT $group
for _ in $(seq 150); do [ -z "$(ours)" ] && break; sleep 0.1; done
left=$(ours)
new=$(comm -13 <(echo "$before" | sort) <(ls -A /tmp | sort))
[ -z "$left" ] || { echo "still running 15 s after Ctrl-C:"; ps -o pid,args -p "${left//$'\n'/,}"; }
[ -z "$new" ] || echo "left in /tmp: $new"
[ -z "$left$new" ]
