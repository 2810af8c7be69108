#!/usr/bin/env bash
# Installs what is missing, builds Koravel for both targets and runs every test. The two targets'
# tests run side by side (scripts/test_target.sh), each on an X display and in a Wine prefix of its
# own; their reports follow one another, and the last line says how each target's tests under Wine
# ran. Where the kernel runs no 32-bit programs, the i686 tests under Wine run with Debian's
# 32-bit Wine emulated by qemu (see common.sh); KORAVEL_EMULATE_I386=1 asks for that anywhere.
set -euo pipefail
. "$(dirname "$0")/common.sh"

koravel_install_deps
for arch in "${KORAVEL_ARCHS[@]}"; do koravel_build "$arch"; done

# How each target's tests under Wine run: natively, emulated, or not at all.
declare -A how=([x86_64]=natively [i686]=natively)
if [ -n "${KORAVEL_EMULATE_I386:-}" ] || ! koravel_kernel_runs_32bit; then
  reason="this kernel runs no 32-bit programs"
  [ -n "${KORAVEL_EMULATE_I386:-}" ] && reason="KORAVEL_EMULATE_I386 is set"
  if why=$(koravel_fetch_qemu_i386) && why=$(koravel_in_i386_emulation true 2>&1); then
    how[i686]="emulated by qemu-i386 $(cat "$KORAVEL_QEMU_DIR/version") ($reason)"
  else
    [ -n "$why" ] || why="this kernel gives a user namespace no binfmt_misc of its own (Linux 6.7 and later do)"
    how[i686]="NOT RUN: $reason, and the emulation could not be set up: $why"
  fi
fi
run_tests() {
  case ${how[$1]} in
    natively) "$KORAVEL_ROOT/scripts/test_target.sh" "$1" ;;
    emulated*) koravel_in_i386_emulation "$KORAVEL_ROOT/scripts/test_target.sh" "$1" ;;
    *) ctest --test-dir "$KORAVEL_ROOT/build/$1" --output-on-failure -LE wine ;;  # the rest
  esac
}

logs=$(mktemp -d /tmp/koravel-logs.XXXXXX)
trap 'rm -rf "$logs"' EXIT
trap 'exit 130' INT
trap 'exit 143' TERM
declare -A pids
for arch in "${KORAVEL_ARCHS[@]}"; do
  run_tests "$arch" >"$logs/$arch" 2>&1 &
  pids[$arch]=$!
done
status=0
summary=()
for arch in "${KORAVEL_ARCHS[@]}"; do
  result=passed
  wait "${pids[$arch]}" || { status=1; result=FAILED; }
  koravel_log "tests of $arch"
  cat "$logs/$arch"
  summary+=("$arch $result, tests under Wine ${how[$arch]}")
done
koravel_log "$(IFS=';' && echo "${summary[*]}" | sed 's/;/; /g')"
exit $status
