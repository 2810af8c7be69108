# In a prefix not made for the tests, one that does not exist yet, the in-process runner (through
# LAUNCHER, with its LOADER) and the end-to-end script (run by PYTHON) must both stop at once with
# the reason, before anything starts Wine there: that would create the prefix.
# Usage: refuse_test.sh LAUNCHER LOADER RUNNER PYTHON SCRIPT
WINEPREFIX=$(mktemp -u /tmp/koravel-not-for-tests.XXXXXX)
export WINEPREFIX
out=$({ sh "$1" /dev/null "$2" "$3"; echo "status $?"; "$4" "$5"; echo "status $?"; } 2>&1)
echo "$out"
[ ! -e "$WINEPREFIX" ] && [ "$(echo "$out" | grep -c 'not a Wine prefix made for the tests')" = 2 ] &&
  [ "$(echo "$out" | grep -c '^status 1$')" = 2 ]
status=$?
[ -e "$WINEPREFIX" ] && wineserver -k && rm -rf "$WINEPREFIX"
exit $status
