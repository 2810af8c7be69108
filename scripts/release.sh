#!/usr/bin/env bash
# Builds the release artefacts from the checked-out sources: dist/Koravel-x86.exe,
# dist/Koravel-x64.exe, the README, SHA256SUMS, and dist/Koravel-VERSION.zip holding them all.
# The same commit always gives the same bytes: the executables carry no time stamps, and the
# files in the zip carry the commit's time.
set -euo pipefail
. "$(dirname "$0")/common.sh"
# zip keeps each file's time in local time: the same in every time zone only when that is fixed.
export TZ=UTC

koravel_traps
koravel_install_deps
version=$(sed -n 's/^project(Koravel VERSION \([0-9.]*\).*/\1/p' "$KORAVEL_ROOT/CMakeLists.txt")
dist="$KORAVEL_ROOT/dist"
rm -rf "$dist"
mkdir -p "$dist"

declare -A names=([i686]=Koravel-x86.exe [x86_64]=Koravel-x64.exe)
for arch in "${KORAVEL_ARCHS[@]}"; do
  build="$KORAVEL_BUILD/release-$arch"
  koravel_log "building the $arch release"
  koravel_run cmake -S "$KORAVEL_ROOT" -B "$build" \
    -DCMAKE_TOOLCHAIN_FILE="$KORAVEL_ROOT/cmake/mingw-$arch.cmake" -DCMAKE_BUILD_TYPE=Release \
    -DBUILD_TESTING=OFF >/dev/null
  koravel_run cmake --build "$build" -j "$(nproc)" --target Koravel >/dev/null
  cp "$build/Koravel.exe" "$dist/${names[$arch]}"
done
cp "$KORAVEL_ROOT/README.md" "$dist/README.md"

cd "$dist"
sha256sum Koravel-x86.exe Koravel-x64.exe README.md >SHA256SUMS
stamp=$(git -C "$KORAVEL_ROOT" log -1 --format=%ct 2>/dev/null || echo 0)
touch -d "@$stamp" Koravel-x86.exe Koravel-x64.exe README.md SHA256SUMS
rm -f "Koravel-$version.zip"
zip -q -X "Koravel-$version.zip" Koravel-x86.exe Koravel-x64.exe README.md SHA256SUMS
koravel_log "dist/: $(ls | tr '\n' ' ')"
