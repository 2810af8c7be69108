#!/usr/bin/env bash
# One target's tests, built by scripts/test.sh: on an X display and in a Wine prefix of their own,
# both ended when the tests end. Usage: scripts/test_target.sh ARCH [CTEST OPTION...]
set -euo pipefail
. "$(dirname "$0")/common.sh"
arch=$1
shift

koravel_traps
if [ "$arch" = i686 ] && ! "$KORAVEL_WINE32" --version >/dev/null 2>&1; then
  koravel_die "the 32-bit Wine loader ($KORAVEL_WINE32, package wine32:i386) does not start:" \
    "$("$KORAVEL_WINE32" --version 2>&1 | head -n 1)"
fi
koravel_scratch "tests-$arch"
koravel_start_x
koravel_scratch_prefix "tests-$arch"
touch "$WINEPREFIX/drive_c/koravel-test-prefix"  # the tests run only in a prefix marked so
# No debugger: a program that crashes ends at once with its exception code, where Wine's debugger
# would hold it until the test's time ran out.
for key in 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\AeDebug' \
  'HKLM\Software\Wow6432Node\Microsoft\Windows NT\CurrentVersion\AeDebug'; do
  koravel_wine reg add "$key" /v Debugger /d "" /f >/dev/null 2>&1
done
koravel_run ctest --test-dir "$KORAVEL_BUILD/$arch" --output-on-failure "$@"
