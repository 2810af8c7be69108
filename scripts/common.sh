# Shared by the scripts beside it: installing what Koravel needs, building it, and giving Wine a
# private X display and prefix. Source it; every function is prefixed koravel_.

KORAVEL_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
KORAVEL_ARCHS=(i686 x86_64)
export WINEDEBUG=${WINEDEBUG:--all}

koravel_log() { printf '==> %s\n' "$*" >&2; }

# Installs the packages that are missing (Debian 12). Needs root, or sudo.
koravel_install_deps() {
  local missing=()
  command -v i686-w64-mingw32-g++-posix >/dev/null || missing+=(g++-mingw-w64-i686)
  command -v x86_64-w64-mingw32-g++-posix >/dev/null || missing+=(g++-mingw-w64-x86-64)
  command -v cmake >/dev/null || missing+=(cmake)
  command -v make >/dev/null || missing+=(make)
  command -v python3 >/dev/null || missing+=(python3)
  [ -f /usr/src/googletest/CMakeLists.txt ] || missing+=(googletest)
  command -v wine >/dev/null || missing+=(wine wine64)
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
  DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq "${missing[@]}" fonts-wine \
    >/dev/null
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

# Starts a private X server on a free display and exports DISPLAY.
koravel_start_x() {
  local n=90
  while [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ]; do n=$((n + 1)); done
  Xvfb ":$n" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
  KORAVEL_XVFB_PID=$!
  for _ in $(seq 100); do [ -e "/tmp/.X11-unix/X$n" ] && break; sleep 0.1; done
  export DISPLAY=":$n"
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
    WINEDLLOVERRIDES="mscoree,mshtml=" wineboot -i >/dev/null 2>&1
  fi
  wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
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
  if ! wine reg query "$KORAVEL_KEY" /v SampleRate >/dev/null 2>&1; then
    koravel_log "setting the demonstration value SampleRate = 100"
    wine reg add "$KORAVEL_KEY" /v SampleRate /t REG_DWORD /d 100 /f >/dev/null 2>&1
  fi
}
