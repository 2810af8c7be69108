#!/usr/bin/env bash
# Builds Koravel.exe twice, in two fresh build folders, and fails unless the bytes are the same.
# Usage: reproducible.sh SOURCE_DIR TOOLCHAIN_FILE
set -euo pipefail
source_dir=$1
toolchain=$2
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
for n in 1 2; do
  cmake -S "$source_dir" -B "$scratch/build-$n" -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
    -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF >/dev/null
  cmake --build "$scratch/build-$n" --target Koravel -j "$(nproc)" >/dev/null
done
cmp "$scratch/build-1/Koravel.exe" "$scratch/build-2/Koravel.exe"
echo "two builds, $(stat -c %s "$scratch/build-1/Koravel.exe") identical bytes"
