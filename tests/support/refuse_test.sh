# Hides the mark of the prefix made for the tests, runs the in-process runner (LOADER RUNNER) and
# the end-to-end script (PYTHON SCRIPT), and passes when both stop at once with the reason.
# Usage: refuse_test.sh LOADER RUNNER PYTHON SCRIPT
mark="$WINEPREFIX/drive_c/koravel-test-prefix"
mv "$mark" "$mark.hidden" || exit 1
out=$({ "$1" "$2"; echo "status $?"; "$3" "$4"; echo "status $?"; } 2>&1)
mv "$mark.hidden" "$mark"
echo "$out"
[ "$(echo "$out" | grep -c 'not a Wine prefix made for the tests')" = 2 ] &&
  [ "$(echo "$out" | grep -c '^status 1$')" = 2 ]
