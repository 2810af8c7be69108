# Shared by the scripts beside it: installing what Koravel needs, building it, giving Wine a
# private X display and prefix, and running 32-bit programs where the kernel does not. Source it;
# every function and variable is prefixed koravel_ or KORAVEL_.
#
# What a script starts or makes (a process group, an X server, a prefix's Wine processes, a scratch
# folder) is recorded in a KORAVEL_ variable as it starts, signals held meanwhile, and
# koravel_cleanup acts on those variables alone: never on a WINEPREFIX or DISPLAY that the script
# inherited. A script that calls koravel_traps ends, on Ctrl-C, TERM or HUP, with everything it
# started, within KORAVEL_END_LIMIT seconds (within a few, as a rule).

KORAVEL_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
# Where the scripts build, and keep the emulator (see below): build/ unless told otherwise.
KORAVEL_BUILD=${KORAVEL_BUILD:-$KORAVEL_ROOT/build}
KORAVEL_ARCHS=(i686 x86_64)
export WINEDEBUG=${WINEDEBUG:--all}

# Debian's wine command always starts Wine's 32-bit loader; 64-bit Windows programs, Wine's own
# tools among them (wineboot, reg, explorer), run through the 64-bit loader started directly, on
# every machine.
KORAVEL_WINE64=/usr/lib/wine/wine64
KORAVEL_WINE32=/usr/lib/wine/wine

# The Wine loader for one target's programs.
koravel_loader() { if [ "$1" = i686 ]; then echo wine; else echo "$KORAVEL_WINE64"; fi; }
# Wine's own tools (reg, wineboot), in the script's prefix, for at most a minute.
koravel_wine() {
  koravel_run koravel_limit 60 env WINEPREFIX="$KORAVEL_PREFIX" "$KORAVEL_WINE64" "$@"
}
# Runs COMMAND... for at most SECONDS, then sends it a TERM, and a KILL KORAVEL_KILL_AFTER seconds
# later, since a command may ignore the TERM and a limit must end what it limits. GNU timeout would
# put itself in a process group of its own, out of reach of the clean-up that ends the caller's
# group: it runs in the foreground here, and what COMMAND starts stays in the caller's group too.
koravel_limit() { timeout --foreground --kill-after="$KORAVEL_KILL_AFTER" "$@"; }
# Runs COMMAND... every tenth of a second until it succeeds; fails once SECONDS have passed without.
# The clock decides, not a count of turns, which a loaded machine would stretch.
koravel_poll() {
  local now=${EPOCHREALTIME//[!0-9]/} end
  end=$((now + $1 * 1000000))
  shift
  until "$@"; do
    now=${EPOCHREALTIME//[!0-9]/}
    [ "$now" -lt "$end" ] || return 1
    sleep 0.1
  done
}

koravel_log() { printf '==> %s\n' "$*" >&2; }
koravel_die() { koravel_log "$*" && exit 1; }

# Installs the packages that are missing (Debian 12). Needs root, or sudo. apt-get runs in the
# foreground, where Ctrl-C reaches it as it would anyway; a TERM to the script waits for it rather
# than leave dpkg half done.
koravel_install_deps() {
  local missing=()
  command -v i686-w64-mingw32-g++-posix >/dev/null || missing+=(g++-mingw-w64-i686)
  command -v x86_64-w64-mingw32-g++-posix >/dev/null || missing+=(g++-mingw-w64-x86-64)
  command -v cmake >/dev/null || missing+=(cmake)
  command -v make >/dev/null || missing+=(make)
  /usr/bin/python3 -c 'import pefile' 2>/dev/null || missing+=(python3 python3-pefile)
  [ -f /usr/src/googletest/CMakeLists.txt ] || missing+=(googletest)
  [ -x "$KORAVEL_WINE64" ] || missing+=(wine wine64)
  [ -d /usr/share/wine/fonts ] || missing+=(fonts-wine)
  dpkg -s wine32:i386 >/dev/null 2>&1 || missing+=(wine32:i386)
  command -v Xvfb >/dev/null || missing+=(xvfb)
  command -v xdotool >/dev/null || missing+=(xdotool)
  command -v import >/dev/null || missing+=(imagemagick)
  command -v zip >/dev/null || missing+=(zip)
  command -v unshare >/dev/null || missing+=(util-linux)
  command -v pgrep >/dev/null || missing+=(procps)
  [ ${#missing[@]} -eq 0 ] && return 0

  local sudo=()
  [ "$(id -u)" -eq 0 ] || sudo=(sudo)
  koravel_log "installing ${missing[*]}"
  "${sudo[@]}" dpkg --add-architecture i386
  local only_main=()
  if ! "${sudo[@]}" apt-get update -qq; then
    # An index of the security suite can come with the wrong size while its mirror syncs, on every
    # try; main and updates alone still hold every package, in matching versions for both
    # architectures.
    local sources=$KORAVEL_BUILD/apt-sources
    [ -f /etc/apt/sources.list.d/debian.sources ] || koravel_die "apt-get update failed"
    mkdir -p "$sources"
    awk 'BEGIN { RS = ""; ORS = "\n\n" } !/debian-security/' /etc/apt/sources.list.d/debian.sources \
      >"$sources/debian.sources"
    only_main=(-o Dir::Etc::sourcelist=/dev/null -o Dir::Etc::sourceparts="$sources")
    koravel_log "apt-get update failed; again without the security suite"
    "${sudo[@]}" apt-get update -qq "${only_main[@]}"
  fi
  DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq "${only_main[@]}" \
    "${missing[@]}" >/dev/null
}

KORAVEL_GROUPS=()
# Of each process group in KORAVEL_GROUPS: its first process's start time, the tag in the
# environment of what it runs, and whether it is a script of ours.
declare -gA KORAVEL_GROUP_START=() KORAVEL_GROUP_TAG=() KORAVEL_GROUP_SCRIPT=()
KORAVEL_XVFB_PID=
KORAVEL_XVFB_START=
KORAVEL_PREFIX=
KORAVEL_SCRATCH=

# How long a clean-up gives what it ends, in seconds of the clock: a command's process group after
# TERM, before KILL; a time limit's command after its TERM, before KILL; Wine's server to end the
# prefix's processes, then to end itself; the X server. A script of ours gets as long as its own
# clean-up can take (each of those, and a few seconds to remove its scratch folder), so a script's
# whole clean-up takes at most KORAVEL_END_LIMIT.
KORAVEL_GRACE=10
KORAVEL_KILL_AFTER=1
KORAVEL_WINE_GRACE=10
KORAVEL_X_GRACE=5
KORAVEL_SCRIPT_GRACE=$((KORAVEL_GRACE + 2 * (KORAVEL_WINE_GRACE + KORAVEL_KILL_AFTER) +
  KORAVEL_X_GRACE + 3))
KORAVEL_END_LIMIT=$((KORAVEL_SCRIPT_GRACE + 5))

# Between koravel_hold and koravel_release, a Ctrl-C, TERM or HUP is held, not acted on: what the
# script starts meanwhile is recorded first, then the script ends as the signal asked.
koravel_hold() {
  KORAVEL_HELD=
  trap 'KORAVEL_HELD=130' INT
  trap 'KORAVEL_HELD=143' TERM
  trap 'KORAVEL_HELD=129' HUP
}
koravel_release() {
  koravel_signal_traps
  [ -z "$KORAVEL_HELD" ] || exit "$KORAVEL_HELD"
}

# Starts COMMAND... (a program or a function) in the background, with no terminal to read from, in
# a process group of its own that koravel_cleanup ends, and sets KORAVEL_JOB to its process ID.
# Its own group also means that it does not start with SIGINT ignored, as a background job of a
# script otherwise would (unless the script itself started with it ignored, which bash cannot
# undo). KORAVEL_NESTED=1 before the call marks COMMAND as a script of ours, whose own clean-up
# koravel_cleanup waits for; COMMAND itself does not inherit the mark, or every job of that script
# would be waited for as long. What COMMAND runs carries KORAVEL_JOB_TAG, unique to this script and
# job, in its environment.
koravel_spawn() {
  local koravel_tag=$BASHPID.${EPOCHREALTIME//[!0-9]/}
  koravel_hold
  set -m
  KORAVEL_NESTED='' KORAVEL_JOB_TAG=$koravel_tag "$@" </dev/null &
  KORAVEL_JOB=$!
  set +m
  KORAVEL_GROUPS+=("$KORAVEL_JOB")
  KORAVEL_GROUP_START[$KORAVEL_JOB]=$(koravel_start_time "$KORAVEL_JOB")
  KORAVEL_GROUP_TAG[$KORAVEL_JOB]=$koravel_tag
  KORAVEL_GROUP_SCRIPT[$KORAVEL_JOB]=${KORAVEL_NESTED:-}
  koravel_release
}
# Runs COMMAND... as koravel_spawn does and waits for it, returning its status. Bash runs no trap
# while a command runs in the foreground: anything that can take long runs this way, so that Ctrl-C
# or TERM ends the script at once.
koravel_run() {
  koravel_spawn "$@"
  koravel_wait "$KORAVEL_JOB"
}
# Waits for the job JOB that koravel_spawn started, returning its status.
koravel_wait() {
  local status=0
  wait "$1" || status=$?
  koravel_forget "$1"
  return $status
}
# Forgets those of the process groups GROUP... in which nothing of ours is left.
koravel_forget() {
  local kept=() group
  for group in "${KORAVEL_GROUPS[@]}"; do
    if [[ " $* " == *" $group "* ]] && ! koravel_ours "$group"; then
      unset "KORAVEL_GROUP_START[$group]" "KORAVEL_GROUP_TAG[$group]" "KORAVEL_GROUP_SCRIPT[$group]"
    else
      kept+=("$group")
    fi
  done
  KORAVEL_GROUPS=("${kept[@]}")
}

# Whether something of ours is left in the process group GROUP that koravel_spawn started: its first
# process (the same number and start time), or a program that the job ran (KORAVEL_JOB_TAG in its
# environment). Both are needed: a subshell that the job forks shows only the environment that the
# script was started with. Once all of a group has ended, its number is free for a group not ours;
# a subshell left behind by a first process that has ended is not recognised, nor waited for.
koravel_ours() {
  local pid
  koravel_still "$1" "${KORAVEL_GROUP_START[$1]-}" && return 0
  for pid in $(pgrep -g "$1" 2>/dev/null || true); do
    grep -qsazxF "KORAVEL_JOB_TAG=${KORAVEL_GROUP_TAG[$1]-}" "/proc/$pid/environ" && return 0
  done
  return 1
}
# Whether nothing of ours is left in any of the process groups GROUP....
koravel_gone() {
  local group
  for group in "$@"; do
    if koravel_ours "$group"; then return 1; fi
  done
}
# Sends SIGNAL to those of the process groups GROUP... in which something of ours is left.
koravel_signal_groups() {
  local signal=$1 group
  shift
  for group in "$@"; do
    if koravel_ours "$group"; then kill "-$signal" -- "-$group" 2>/dev/null || true; fi
  done
}
# Asks the process groups GROUP... to end, waits until they have, and kills what is left of a
# command's group after KORAVEL_GRACE seconds, of a script's (which has a clean-up of its own to
# finish) after KORAVEL_SCRIPT_GRACE.
koravel_end_groups() {
  local group commands=()
  for group in "$@"; do
    if [ -z "${KORAVEL_GROUP_SCRIPT[$group]-}" ]; then commands+=("$group"); fi
  done
  koravel_signal_groups TERM "$@"
  if ! koravel_poll $KORAVEL_GRACE koravel_gone "$@"; then
    koravel_signal_groups KILL "${commands[@]}"
    koravel_poll $((KORAVEL_SCRIPT_GRACE - KORAVEL_GRACE)) koravel_gone "$@" ||
      koravel_signal_groups KILL "$@"
  fi
  koravel_forget "$@"
}

# The start time of process PID (in clock ticks since boot), which tells it from a later process
# given the same number; nothing for a process that has ended, a zombie included.
koravel_start_time() {
  local stat
  stat=$(cat "/proc/$1/stat" 2>/dev/null) || return 0
  stat=${stat##*) }  # the fields after the command name, which may hold anything
  set -- $stat
  [ "$1" = Z ] || echo "${20}"
}
# Whether the process PID that started at START still runs.
koravel_still() { [ -n "$2" ] && [ "$(koravel_start_time "$1")" = "$2" ]; }
koravel_ended() { ! koravel_still "$@"; }

# Ends what the functions here started (process groups, the prefix's Wine processes, the X server)
# and removes the scratch folder they made. koravel_traps installs it as the EXIT trap.
koravel_cleanup() {
  trap '' INT TERM HUP  # a second Ctrl-C does not cut the clean-up short
  koravel_end_groups "${KORAVEL_GROUPS[@]}"
  if [ -n "$KORAVEL_PREFIX" ]; then
    local action
    for action in -k -w; do  # end the prefix's processes, then wait for the server to end
      WINEPREFIX=$KORAVEL_PREFIX koravel_limit $KORAVEL_WINE_GRACE wineserver $action \
        >/dev/null 2>&1 || true
    done
  fi
  # Signalled only while it is still the X server started: its number may since be another's.
  if koravel_still "$KORAVEL_XVFB_PID" "$KORAVEL_XVFB_START"; then
    kill "$KORAVEL_XVFB_PID" 2>/dev/null || true
    # It removes its lock file and socket in /tmp as it ends.
    koravel_poll $KORAVEL_X_GRACE koravel_ended "$KORAVEL_XVFB_PID" "$KORAVEL_XVFB_START" || true
    if koravel_still "$KORAVEL_XVFB_PID" "$KORAVEL_XVFB_START"; then
      kill -KILL "$KORAVEL_XVFB_PID" 2>/dev/null || true
    fi
  fi
  if [ -n "$KORAVEL_SCRATCH" ]; then rm -rf "$KORAVEL_SCRATCH"; fi
}
# Ctrl-C, a termination or a closed terminal ends the script through its EXIT trap, which cleans
# up.
koravel_traps() {
  trap koravel_cleanup EXIT
  koravel_signal_traps
}
koravel_signal_traps() {
  trap 'exit 130' INT
  trap 'exit 143' TERM
  trap 'exit 129' HUP
}

# Configures and builds one target (i686 or x86_64) into build/ARCH.
koravel_build() {
  local arch=$1
  koravel_log "building for $arch"
  koravel_run cmake -S "$KORAVEL_ROOT" -B "$KORAVEL_BUILD/$arch" \
    -DCMAKE_TOOLCHAIN_FILE="$KORAVEL_ROOT/cmake/mingw-$arch.cmake" -DCMAKE_BUILD_TYPE=Release \
    >/dev/null
  koravel_run cmake --build "$KORAVEL_BUILD/$arch" -j "$(nproc)" >/dev/null
}

# A scratch folder of the script's own, removed by koravel_cleanup. Temporary files go there too,
# the folder of a wineserver among them (Debian's Wine keeps it in $TMPDIR), so that none is left
# behind.
koravel_scratch() {
  [ -z "$KORAVEL_SCRATCH" ] || return 0
  KORAVEL_SCRATCH=$(mktemp -d "/tmp/koravel-$1.XXXXXX")
  export TMPDIR="$KORAVEL_SCRATCH/tmp"
  mkdir -p "$TMPDIR"
}

# Starts a private X server on a display that it picks itself, and exports DISPLAY.
koravel_start_x() {
  koravel_scratch x
  local number="$KORAVEL_SCRATCH/display"
  : >"$number"
  koravel_hold
  Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$number" </dev/null >/dev/null 2>&1 &
  KORAVEL_XVFB_PID=$!
  KORAVEL_XVFB_START=$(koravel_start_time "$KORAVEL_XVFB_PID")
  koravel_release
  koravel_poll 10 test -s "$number" || koravel_die "the X server (Xvfb) did not start within 10 s"
  export DISPLAY=":$(head -n 1 "$number")"
}

# Creates (or reuses) the Wine prefix DIR, exports it as WINEPREFIX, and keeps its wineserver
# running until cleanup. Windows are left unmanaged: with no window manager, Wine then draws their
# captions itself and does not wait for one to answer when a window goes away.
koravel_prefix() {
  mkdir -p "$1"
  KORAVEL_PREFIX=$(cd "$1" && pwd)
  export WINEPREFIX=$KORAVEL_PREFIX
  # Fails when a server for the prefix is up already, which serves as well.
  wineserver -p 2>/dev/null || true
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    koravel_log "creating the Wine prefix $WINEPREFIX"
    # Koravel needs neither .NET nor a web engine: no offer to install Wine's Mono or Gecko.
    WINEDLLOVERRIDES="mscoree,mshtml=" koravel_run koravel_limit 300 "$KORAVEL_WINE64" wineboot -i \
      >/dev/null 2>&1 || koravel_die "Wine did not set up the prefix $WINEPREFIX within 5 minutes"
  fi
  # Debian's Wine does not put its own fonts (the fonts-wine package) into a new prefix, and
  # "MS Sans Serif", "Tahoma" and the caption buttons' "Marlett" would fall back to another face.
  cp -n /usr/share/wine/fonts/* "$WINEPREFIX/drive_c/windows/Fonts/"
  koravel_wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
}

# Prints the X window of the visible window named NAME (a regular expression) once there is one;
# fails saying so if none comes within SECONDS.
koravel_wait_window() {
  koravel_poll "$2" koravel_window "$1" && return 0
  koravel_log "no window named \"$1\" came within $2 s"
  return 1
}
# Prints the X window of the visible window named NAME, if there is one.
koravel_window() {
  local window
  window=$(xdotool search --onlyvisible --name "$1" 2>/dev/null | head -n 1 || true)
  [ -n "$window" ] && echo "$window"
}

# A new prefix in the script's scratch folder, removed with it.
koravel_scratch_prefix() {
  koravel_scratch "$1"
  koravel_prefix "$KORAVEL_SCRATCH/prefix"
}

# The i8042 port driver's parameters key, and a demonstration SampleRate where there is none.
KORAVEL_KEY='HKLM\SYSTEM\CurrentControlSet\Services\i8042prt\Parameters'
koravel_demo_value() {
  if ! koravel_wine reg query "$KORAVEL_KEY" /v SampleRate >/dev/null 2>&1; then
    koravel_log "setting the demonstration value SampleRate = 100"
    koravel_wine reg add "$KORAVEL_KEY" /v SampleRate /t REG_DWORD /d 100 /f >/dev/null 2>&1
  fi
}

# Runs a 32-bit x86 program that only exits (93 bytes: an ELF header, one loadable segment, and
# exit(0) through int 0x80), with RUNNER... before it (an emulator) or none; prints what it said
# and returns its status. It runs from the build folder, since /tmp may forbid execution.
koravel_probe32() {
  local probe status=0
  mkdir -p "$KORAVEL_BUILD"
  probe=$(mktemp "$KORAVEL_BUILD/koravel-probe32.XXXXXX")
  printf '\177ELF\1\1\1\0\0\0\0\0\0\0\0\0\2\0\3\0\1\0\0\0\124\200\4\010\064\0\0\0\0\0\0\0\0\0\0\0'`
    `'\064\0\040\0\1\0\0\0\0\0\0\0\1\0\0\0\0\0\0\0\0\200\4\010\0\200\4\010\135\0\0\0\135\0\0\0'`
    `'\5\0\0\0\0\020\0\0\270\1\0\0\0\061\333\315\200' >"$probe"
  chmod +x "$probe"
  LC_ALL=C "$@" "$probe" 2>&1 || status=$?
  rm -f "$probe"
  return $status
}

# Whether the kernel runs 32-bit x86 programs. Where its 32-bit emulation is switched off, exec
# fails with "Exec format error"; any other failure ends the script, saying why.
koravel_kernel_runs_32bit() {
  local out status=0
  out=$(koravel_probe32) || status=$?
  [ $status -ne 0 ] || return 0
  case $out in *"Exec format error"*) return 1 ;; esac
  koravel_die "the 32-bit probe did not run (status $status): $out"
}

# qemu's user-mode emulator for 32-bit x86 programs, and the rule that sends them to it, from
# Debian 13's qemu-user package (Debian 12's qemu-i386 cannot run Wine). The package is fetched
# with a private apt configuration in the script's scratch folder: nothing under /etc/apt changes,
# nothing is installed, and only qemu-i386 and its rule are kept, in build/qemu-i386, each written
# under a temporary name and renamed, and the version last: the cache is complete once its version
# is there and its qemu-i386 runs a 32-bit program; an incomplete one is fetched again. Every step
# is checked by hand, since this runs as a condition, where set -e does not act. Prints why on
# failure.
KORAVEL_QEMU_DIR=$KORAVEL_BUILD/qemu-i386
koravel_fetch_qemu_i386() (
  [ -s "$KORAVEL_QEMU_DIR/version" ] && koravel_probe32 "$KORAVEL_QEMU_DIR/qemu-i386" >/dev/null &&
    exit 0
  fail() { echo "$*"; exit 1; }
  rm -f "$KORAVEL_QEMU_DIR/version" || fail "the cache $KORAVEL_QEMU_DIR cannot be written"
  apt=$KORAVEL_SCRATCH/apt
  mirror=$(apt-get indextargets --format '$(REPO_URI)' 2>/dev/null | grep -m 1 '/debian/$') ||
    mirror=http://deb.debian.org/debian/
  mkdir -p "$apt/lists/partial" "$apt/cache/archives/partial" && : >"$apt/status" &&
    echo "deb $mirror trixie main" >"$apt/sources.list" ||
    fail "the scratch folder cannot be written"
  options=(-o "Dir::Etc::SourceList=$apt/sources.list" -o Dir::Etc::SourceParts=/dev/null
    -o "Dir::State=$apt" -o "Dir::State::Lists=$apt/lists" -o "Dir::State::status=$apt/status"
    -o "Dir::Cache=$apt/cache" -o APT::Architectures=amd64 -o Debug::NoLocking=1
    -o APT::Sandbox::User=root)
  koravel_log "fetching qemu-user from Debian 13 ($mirror) to run the 32-bit Wine emulated"
  koravel_limit 300 apt-get -qq "${options[@]}" update >"$apt/log" 2>&1 ||
    fail "the index of Debian 13 could not be fetched: $(tail -n 1 "$apt/log")"
  (cd "$apt" && koravel_limit 300 apt-get -qq "${options[@]}" download qemu-user) >"$apt/log" 2>&1 ||
    fail "qemu-user could not be fetched: $(tail -n 1 "$apt/log")"
  dpkg-deb --fsys-tarfile "$apt"/qemu-user_*.deb |
    tar -x -C "$apt" ./usr/bin/qemu-i386 ./usr/share/qemu/binfmt.d/qemu-i386.conf ||
    fail "the qemu-user package holds no qemu-i386"
  dpkg-deb -f "$apt"/qemu-user_*.deb Version >"$apt/version" || fail "the package has no version"
  koravel_probe32 "$apt/usr/bin/qemu-i386" >/dev/null || fail "its qemu-i386 runs no 32-bit program"
  mkdir -p "$KORAVEL_QEMU_DIR" || fail "the cache $KORAVEL_QEMU_DIR cannot be made"
  for file in usr/share/qemu/binfmt.d/qemu-i386.conf usr/bin/qemu-i386 version; do
    cp "$apt/$file" "$KORAVEL_QEMU_DIR/.new" &&
      mv -f "$KORAVEL_QEMU_DIR/.new" "$KORAVEL_QEMU_DIR/$(basename "$file")" ||
      fail "the cache $KORAVEL_QEMU_DIR cannot be written"
  done
)

# Runs COMMAND... where every 32-bit x86 program runs through qemu-i386: in a user, mount and PID
# namespace of its own, whose binfmt_misc (one per user namespace, Linux 6.7 and later) holds the
# package's rule for i386 programs. Nothing outside the namespace sees the rule. Every process of
# a Wine prefix used in it must run in it: a wineserver cannot read the memory of processes in
# another namespace. COMMAND is the namespace's first process, so that the namespace, a persistent
# wineserver included, ends with it; should unshare end first, COMMAND gets a TERM.
koravel_in_i386_emulation() {
  local rule
  rule=$(head -n 1 "$KORAVEL_QEMU_DIR/qemu-i386.conf")
  # ":name:type:offset:magic:mask:interpreter:flags", with this qemu-i386 as the interpreter, opened
  # once when the rule is written (F), so that it is found whatever the command mounts.
  rule="${rule%:*:*}:$KORAVEL_QEMU_DIR/qemu-i386:F"
  unshare --user --map-root-user --mount --propagation private --pid --mount-proc \
    --kill-child=TERM bash -c '
    mount -t binfmt_misc binfmt_misc /proc/sys/fs/binfmt_misc && printf %s "$1" >/proc/sys/fs/binfmt_misc/register || exit 125
    shift
    exec "$@"' koravel-i386 "$rule" "$@"
}
