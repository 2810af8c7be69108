#!/usr/bin/env bash
# The benchmark: Koravel.exe against the same settings dialog on bare Win32 (bench/baseline), both
# built the same way, for both targets. Under Wine on a private X display and prefix, the driver
# alternates RUNS starts of each (default 25) and reports start-up time to the filled-in dialog,
# peak working set, private bytes and handle count; this script adds executable sizes and imports.
# Then the run from a script: Koravel /query and /check against the same work on bare Win32
# (bench/script_runs.py), RUNS runs of each, their time, CPU time and peak memory.
# Usage: scripts/bench.sh [RUNS]. A benchmark, not a test: it asserts nothing.
set -euo pipefail
. "$(dirname "$0")/common.sh"
runs=${1:-25}
rate=100

koravel_traps
koravel_install_deps
for arch in "${KORAVEL_ARCHS[@]}"; do koravel_build "$arch"; done
koravel_scratch bench
koravel_start_x
koravel_scratch_prefix bench
koravel_wine reg add "$KORAVEL_KEY" /v SampleRate /t REG_DWORD /d "$rate" /f >/dev/null 2>&1
# Wine's mouse made a PS/2 mouse, so that the work includes one.
mouse='HKLM\System\CurrentControlSet\Enum\HID\VID_845E&PID_0001\0&0000&0&0'
for value in 'ClassGUID {4D36E96F-E325-11CE-BFC1-08002BE10318}' 'Class Mouse' 'Service i8042prt'; do
  koravel_wine reg add "$mouse" /v "${value%% *}" /d "${value#* }" /f >/dev/null 2>&1
done

echo "Machine: $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | sed 's/^ //'), $(nproc) cores," \
  "$(awk '/MemTotal/ {printf "%.0f GiB", $2 / 1048576}' /proc/meminfo); $(uname -sr);" \
  "$(koravel_wine --version); $(i686-w64-mingw32-g++-posix --version | head -n 1)"
for arch in "${KORAVEL_ARCHS[@]}"; do
  build="$KORAVEL_BUILD/$arch"
  echo
  if [ "$arch" = i686 ] && ! koravel_kernel_runs_32bit; then
    echo "== i686: not measured: this machine's kernel runs no 32-bit programs"
    continue
  fi
  echo "== $arch: $runs runs of each"
  for exe in "$build/Koravel.exe" "$build/bench/KoravelBaseline.exe"; do
    imports=$("$arch-w64-mingw32-objdump" -p "$exe" | awk '/DLL Name:/ {print $3}' | sort -f | paste -sd ' ')
    printf '%-20s %7d bytes  imports %s\n' "$(basename "$exe")" "$(stat -c %s "$exe")" "$imports"
  done
  echo "Koravel.exe by object file (bytes of loaded sections, before alignment):"
  python3 "$KORAVEL_ROOT/bench/size_by_object.py" "$build/Koravel.map" 10 | sed 's/^/  /'
  koravel_run "$(koravel_loader "$arch")" "$build/bench/bench_driver.exe" "$runs" "$rate" \
    "Koravel=Z:$build/Koravel.exe" "baseline=Z:$build/bench/KoravelBaseline.exe" \
    >"$KORAVEL_SCRATCH/$arch.out"
  tr -d '\r' <"$KORAVEL_SCRATCH/$arch.out" | grep -v '^run '
  echo "From a script, against bench/baseline/query_baseline.c:"
  koravel_run python3 "$KORAVEL_ROOT/bench/script_runs.py" "$runs" "$(koravel_loader "$arch")" \
    "$build/Koravel.exe" "$build/bench/KoravelQueryBaseline.exe" >"$KORAVEL_SCRATCH/$arch.script"
  sed 's/^/  /' "$KORAVEL_SCRATCH/$arch.script"
done
