#!/usr/bin/env bash
# Builds Koravel.exe once more, in a fresh build folder, and fails unless its bytes are those of
# the executable under test. Usage: reproducible.sh SOURCE_DIR TOOLCHAIN_FILE EXE
set -euo pipefail
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
trap 'exit 1' INT TERM  # through the EXIT trap, which a signal alone would skip
cmake -S "$1" -B "$scratch" -DCMAKE_TOOLCHAIN_FILE="$2" -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF >/dev/null
cmake --build "$scratch" --target Koravel -j "$(nproc)" >/dev/null
cmp "$scratch/Koravel.exe" "$3"
