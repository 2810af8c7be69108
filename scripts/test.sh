#!/usr/bin/env bash
# Installs what is missing, builds Koravel for both targets and runs every test under Wine, on a
# private X display with a private Wine prefix.
set -euo pipefail
. "$(dirname "$0")/common.sh"

koravel_install_deps
for arch in "${KORAVEL_ARCHS[@]}"; do koravel_build "$arch"; done

trap koravel_cleanup EXIT
koravel_start_x
KORAVEL_PREFIX_OWNED=1
koravel_prefix "$(mktemp -d /tmp/koravel-tests.XXXXXX)/prefix"

status=0
for arch in "${KORAVEL_ARCHS[@]}"; do
  koravel_log "testing $arch"
  ctest --test-dir "$KORAVEL_ROOT/build/$arch" --output-on-failure || status=1
done
exit $status
