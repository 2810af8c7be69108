#!/usr/bin/env bash
# Installs what is missing, builds Koravel for both targets and runs every test. The two targets'
# tests run side by side (scripts/test_target.sh), each on an X display and in a Wine prefix of its
# own; their reports follow one another, and the last line says how each target's tests under Wine
# ran. Where the kernel runs no 32-bit programs, the i686 tests under Wine run with Debian's
# 32-bit Wine emulated by qemu (see common.sh); KORAVEL_EMULATE_I386=1 asks for that anywhere.
# Usage: scripts/test.sh [CTEST OPTION...]. Options (-R in_process, say) choose the tests; without
# any, every test runs, and then a check that test.sh interrupted leaves nothing behind.
set -euo pipefail
. "$(dirname "$0")/common.sh"

koravel_traps
koravel_install_deps
koravel_scratch test

# How each target's tests under Wine run: natively, emulated, or not at all.
declare -A how=([x86_64]=natively [i686]=natively)
if [ -n "${KORAVEL_EMULATE_I386:-}" ] || ! koravel_kernel_runs_32bit; then
  reason="this kernel runs no 32-bit programs"
  [ -n "${KORAVEL_EMULATE_I386:-}" ] && reason="KORAVEL_EMULATE_I386 is set"
  why=$KORAVEL_SCRATCH/why
  if koravel_run koravel_fetch_qemu_i386 >"$why" && koravel_run koravel_in_i386_emulation true >"$why" 2>&1; then
    how[i686]="emulated by qemu-i386 $(cat "$KORAVEL_QEMU_DIR/version") ($reason)"
  else
    [ -s "$why" ] || echo "this kernel gives a user namespace no binfmt_misc of its own (Linux 6.7 and later do)" >"$why"
    how[i686]="NOT RUN: $reason, and the emulation could not be set up: $(cat "$why")"
  fi
fi
for arch in "${KORAVEL_ARCHS[@]}"; do koravel_build "$arch"; done

run_tests() {
  local arch=$1
  shift
  case ${how[$arch]} in
    natively) "$KORAVEL_ROOT/scripts/test_target.sh" "$arch" "$@" ;;
    emulated*) koravel_in_i386_emulation "$KORAVEL_ROOT/scripts/test_target.sh" "$arch" "$@" ;;
    *) ctest --test-dir "$KORAVEL_BUILD/$arch" --output-on-failure -LE wine "$@" ;;  # the rest
  esac
}

declare -A jobs
for arch in "${KORAVEL_ARCHS[@]}"; do
  KORAVEL_NESTED=1 koravel_spawn run_tests "$arch" "$@" >"$KORAVEL_SCRATCH/$arch.log" 2>&1
  jobs[$arch]=$KORAVEL_JOB
done
status=0
summary=()
for arch in "${KORAVEL_ARCHS[@]}"; do
  result=passed
  koravel_wait "${jobs[$arch]}" || { status=1; result=FAILED; }
  koravel_log "tests of $arch"
  cat "$KORAVEL_SCRATCH/$arch.log"
  summary+=("$arch $result, tests under Wine ${how[$arch]}")
done
if [ $# -eq 0 ]; then
  koravel_log "interrupting test.sh at moments of its work"
  result="test.sh interrupted ended with everything it started"
  KORAVEL_NESTED=1 koravel_run "$KORAVEL_ROOT/tests/scripts/interrupt_test.sh" ||
    { status=1; result="test.sh interrupted FAILED to end cleanly"; }
  summary+=("$result")
fi
koravel_log "$(IFS=';' && echo "${summary[*]}" | sed 's/;/; /g')"
exit $status
