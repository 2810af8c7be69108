# Runs COMMAND... only in a Wine prefix that scripts/test.sh marked for the tests, asked before Wine
# starts (and creates the prefix); output through LOG. Usage: in_test_prefix.sh LOG COMMAND...
if [ ! -f "${WINEPREFIX:-$HOME/.wine}/drive_c/koravel-test-prefix" ]; then
  echo "This is not a Wine prefix made for the tests; scripts/test.sh makes one. Nothing was run." >&2
  exit 1
fi
log=$1
shift
"$@" >"$log" 2>&1
status=$?
cat "$log"
exit $status
