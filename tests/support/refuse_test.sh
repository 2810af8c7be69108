# In a prefix not made for the tests (not there yet) the runner, through LAUNCHER, and the e2e SCRIPT
# stop, saying why, before Wine creates it. Usage: refuse_test.sh LAUNCHER LOADER RUNNER PYTHON SCRIPT
WINEPREFIX=$(mktemp -u /tmp/koravel-not-for-tests.XXXXXX)
export WINEPREFIX
out=$({ sh "$1" /dev/null "$2" "$3"; echo "status $?"; "$4" "$5"; echo "status $?"; } 2>&1)
echo "$out"
[ ! -e "$WINEPREFIX" ] && [ "$(echo "$out" | grep -c 'not a Wine prefix made for the tests')" = 2 ] &&
  [ "$(echo "$out" | grep -c '^status 1$')" = 2 ]
status=$?
[ -e "$WINEPREFIX" ] && wineserver -k && rm -rf "$WINEPREFIX"
exit $status
