#!/usr/bin/env bash
# Installs what is missing, builds Koravel for both targets and runs every test. The two targets'
# tests run side by side, each on an X display and in a Wine prefix of its own; their reports
# follow one another at the end.
set -euo pipefail
. "$(dirname "$0")/common.sh"

koravel_install_deps
for arch in "${KORAVEL_ARCHS[@]}"; do koravel_build "$arch"; done

# One target's tests, in a subshell whose display and prefix end with it.
test_target() (
  arch=$1
  if [ "$arch" = i686 ] && ! koravel_runs_32bit; then
    koravel_log "i686: this machine's kernel runs no 32-bit programs, so Wine cannot start the i686" \
      "build here. Left out: its tests under Wine (label wine). Run: the checks of its executable."
    exec ctest --test-dir "$KORAVEL_ROOT/build/$arch" --output-on-failure -LE wine
  fi
  trap koravel_cleanup EXIT
  koravel_start_x
  KORAVEL_PREFIX_OWNED=1
  koravel_prefix "$(mktemp -d "/tmp/koravel-tests-$arch.XXXXXX")/prefix"
  touch "$WINEPREFIX/drive_c/koravel-test-prefix"  # the tests run only in a prefix marked so
  ctest --test-dir "$KORAVEL_ROOT/build/$arch" --output-on-failure
)

logs=$(mktemp -d)
trap 'rm -rf "$logs"' EXIT
declare -A pids
for arch in "${KORAVEL_ARCHS[@]}"; do
  test_target "$arch" >"$logs/$arch" 2>&1 &
  pids[$arch]=$!
done
status=0
for arch in "${KORAVEL_ARCHS[@]}"; do
  wait "${pids[$arch]}" || status=1
  koravel_log "tests of $arch"
  cat "$logs/$arch"
done
exit $status
