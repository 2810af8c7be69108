# Shared by the scripts beside it: installing what Koravel needs, building it, and giving Wine a
# private X display and prefix. Source it; every function is prefixed koravel_.

KORAVEL_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
KORAVEL_ARCHS=(i686 x86_64)
export WINEDEBUG=${WINEDEBUG:--all}

# Debian's wine command always starts Wine's 32-bit loader, which needs a kernel that runs 32-bit
# programs; on some machines it does not (32-bit emulation switched off), and there only 64-bit
# Windows programs run, through Wine's 64-bit loader started directly.
KORAVEL_WINE64=/usr/lib/wine/wine64

# The Wine loader for one target's programs.
koravel_loader() { if [ "$1" = i686 ]; then echo wine; else echo "$KORAVEL_WINE64"; fi; }
koravel_runs_32bit() { /usr/lib/wine/wine --version >/dev/null 2>&1; }
# Wine's own programs (wineboot, reg, explorer), through a loader that runs on this machine.
koravel_wine() {
  if [ -z "${KORAVEL_TOOL_LOADER:-}" ]; then
    KORAVEL_TOOL_LOADER=$KORAVEL_WINE64
    if koravel_runs_32bit; then KORAVEL_TOOL_LOADER=wine; fi
  fi
  "$KORAVEL_TOOL_LOADER" "$@"
}

koravel_log() { printf '==> %s\n' "$*" >&2; }

# Installs the packages that are missing (Debian 12). Needs root, or sudo.
koravel_install_deps() {
  local missing=()
  command -v i686-w64-mingw32-g++-posix >/dev/null || missing+=(g++-mingw-w64-i686)
  command -v x86_64-w64-mingw32-g++-posix >/dev/null || missing+=(g++-mingw-w64-x86-64)
  command -v cmake >/dev/null || missing+=(cmake)
  command -v make >/dev/null || missing+=(make)
  /usr/bin/python3 -c 'import pefile' 2>/dev/null || missing+=(python3 python3-pefile)
  [ -f /usr/src/googletest/CMakeLists.txt ] || missing+=(googletest)
  command -v wine >/dev/null || missing+=(wine wine64)
  [ -d /usr/share/wine/fonts ] || missing+=(fonts-wine)
  dpkg -s wine32:i386 >/dev/null 2>&1 || missing+=(wine32:i386)
  command -v Xvfb >/dev/null || missing+=(xvfb)
  command -v xdotool >/dev/null || missing+=(xdotool)
  command -v import >/dev/null || missing+=(imagemagick)
  command -v zip >/dev/null || missing+=(zip)
  [ ${#missing[@]} -eq 0 ] && return 0

  local sudo=()
  [ "$(id -u)" -eq 0 ] || sudo=(sudo)
  koravel_log "installing ${missing[*]}"
  "${sudo[@]}" dpkg --add-architecture i386
  "${sudo[@]}" apt-get update -qq
  DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq "${missing[@]}" >/dev/null
}

# Configures and builds one target (i686 or x86_64) into build/ARCH.
koravel_build() {
  local arch=$1
  koravel_log "building for $arch"
  cmake -S "$KORAVEL_ROOT" -B "$KORAVEL_ROOT/build/$arch" \
    -DCMAKE_TOOLCHAIN_FILE="$KORAVEL_ROOT/cmake/mingw-$arch.cmake" -DCMAKE_BUILD_TYPE=Release \
    >/dev/null
  cmake --build "$KORAVEL_ROOT/build/$arch" -j "$(nproc)" >/dev/null
}

KORAVEL_XVFB_PID=
KORAVEL_PREFIX_OWNED=

# Starts a private X server on a display that it picks itself, and exports DISPLAY.
koravel_start_x() {
  local number
  number=$(mktemp)
  Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$number" >/dev/null 2>&1 &
  KORAVEL_XVFB_PID=$!
  for _ in $(seq 100); do [ -s "$number" ] && break; sleep 0.1; done
  export DISPLAY=":$(head -n 1 "$number")"
  rm -f "$number"
}

# Creates (or reuses) the Wine prefix DIR and keeps its wineserver running until cleanup.
# Windows are left unmanaged: with no window manager, Wine then draws their captions itself and
# does not wait for one to answer when a window goes away.
koravel_prefix() {
  export WINEPREFIX=$1
  mkdir -p "$WINEPREFIX"
  # Fails when a server for the prefix is up already, which serves as well.
  wineserver -p 2>/dev/null || true
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    koravel_log "creating the Wine prefix $WINEPREFIX"
    # Koravel needs neither .NET nor a web engine: no offer to install Wine's Mono or Gecko.
    WINEDLLOVERRIDES="mscoree,mshtml=" koravel_wine wineboot -i >/dev/null 2>&1
  fi
  # Debian's Wine does not put its own fonts (the fonts-wine package) into a new prefix, and
  # "MS Sans Serif", "Tahoma" and the caption buttons' "Marlett" would fall back to another face.
  cp -n /usr/share/wine/fonts/* "$WINEPREFIX/drive_c/windows/Fonts/"
  koravel_wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
}

# Ends what the functions above started; a prefix made with KORAVEL_PREFIX_OWNED=1 is removed.
koravel_cleanup() {
  if [ -n "${WINEPREFIX:-}" ]; then
    wineserver -k >/dev/null 2>&1 || true
    wineserver -w >/dev/null 2>&1 || true
    [ -n "$KORAVEL_PREFIX_OWNED" ] && rm -rf "$WINEPREFIX"
  fi
  if [ -n "$KORAVEL_XVFB_PID" ]; then kill "$KORAVEL_XVFB_PID" 2>/dev/null || true; fi
}

# The i8042 port driver's parameters key, and a demonstration SampleRate where there is none.
KORAVEL_KEY='HKLM\SYSTEM\CurrentControlSet\Services\i8042prt\Parameters'
koravel_demo_value() {
  if ! koravel_wine reg query "$KORAVEL_KEY" /v SampleRate >/dev/null 2>&1; then
    koravel_log "setting the demonstration value SampleRate = 100"
    koravel_wine reg add "$KORAVEL_KEY" /v SampleRate /t REG_DWORD /d 100 /f >/dev/null 2>&1
  fi
}
