#!/usr/bin/env bash
# Installs what is missing, builds Koravel for both targets and runs every test under Wine, on a
# private X display with a private Wine prefix: first the tests that run in-process and check the
# executables, then those that drive the real Koravel.exe.
set -euo pipefail
. "$(dirname "$0")/common.sh"

koravel_install_deps
for arch in "${KORAVEL_ARCHS[@]}"; do koravel_build "$arch"; done

trap koravel_cleanup EXIT
koravel_start_x
KORAVEL_PREFIX_OWNED=1
koravel_prefix "$(mktemp -d /tmp/koravel-tests.XXXXXX)/prefix"
# Wine's desktop process starts with the first program that needs it and keeps that program's
# standard handles. Started here, it holds none of CTest's pipes, which CTest would otherwise wait
# on until the desktop process ends. (The end-to-end tests end the Wine session on purpose and
# look after the desktop themselves.)
wine "$KORAVEL_ROOT/build/i686/tests/koravel_probe.exe" witness >/dev/null 2>&1 &

status=0
for stage in "-E ^e2e_" "-R ^e2e_"; do
  for arch in "${KORAVEL_ARCHS[@]}"; do
    koravel_log "testing $arch ($stage)"
    # shellcheck disable=SC2086
    ctest --test-dir "$KORAVEL_ROOT/build/$arch" --output-on-failure $stage || status=1
  done
done
exit $status
