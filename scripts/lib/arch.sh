# Sourced by the scripts: finds out once whether this machine runs 32-bit x86
# code and sets ZARVO_ARCH to the architecture the Windows side is tested on:
#   i686    32-bit Wine runs the 32-bit zarvo.exe itself
#   x86_64  the kernel refuses 32-bit programs ("Exec format error"), so the
#           same sources are built for x86-64 and run under 64-bit Wine; the
#           32-bit zarvo.exe is still built and its file checked
# ZARVO_FORCE_WIN64=1 takes the 64-bit road on any machine.

# Does the kernel run a 32-bit x86 program? The smallest one there is, written
# out byte for byte: an ELF header, one loadable segment, and exit(0).
zarvo_runs_32bit() {
  local probe status=0
  local elf='\177ELF\1\1\1\0\0\0\0\0\0\0\0\0\2\0\3\0\1\0\0\0\124\200\4\10\64\0\0\0'
  elf+='\0\0\0\0\0\0\0\0\64\0\40\0\1\0\0\0\0\0\0\0'           # ELF header
  elf+='\1\0\0\0\0\0\0\0\0\200\4\10\0\200\4\10\135\0\0\0\135\0\0\0\5\0\0\0\0\20\0\0'  # segment
  elf+='\270\1\0\0\0\61\333\315\200'  # mov eax,1; xor ebx,ebx; int 0x80
  # A file of its own for each probe: scripts side by side (the Windows
  # tests) must not run one that another is still writing.
  mkdir -p "$1"
  probe=$(mktemp "$1/run32-probe.XXXXXX")
  printf "$elf" >"$probe"
  chmod +x "$probe"
  "$probe" 2>/dev/null || status=$?
  rm -f "$probe"
  return "$status"
}

zarvo_choose_arch() {
  # A script started by another (a test by scripts/test) keeps its choice.
  if [ -n "${ZARVO_ARCH:-}" ]; then
    ZARVO_ARCH_WHY=${ZARVO_ARCH_WHY:-ZARVO_ARCH=$ZARVO_ARCH}
  elif [ "${ZARVO_FORCE_WIN64:-}" = 1 ]; then
    ZARVO_ARCH=x86_64
    ZARVO_ARCH_WHY="ZARVO_FORCE_WIN64=1"
  elif zarvo_runs_32bit "$ZARVO_ROOT/build"; then
    ZARVO_ARCH=i686
  else
    ZARVO_ARCH=x86_64
    ZARVO_ARCH_WHY="this machine runs no 32-bit code"
  fi
  export ZARVO_ARCH ZARVO_ARCH_WHY
}

# One line that says which build the Windows side uses.
zarvo_say_arch() {
  if [ "$ZARVO_ARCH" = i686 ]; then
    echo "zarvo: using the 32-bit zarvo.exe under 32-bit Wine"
  else
    echo "zarvo: $ZARVO_ARCH_WHY: using an x86-64 build of the same sources under 64-bit Wine (the 32-bit zarvo.exe is still built and checked)"
  fi
}

# Every script writes under build/. After a run as root (sudo scripts/test,
# say) that folder or part of it may belong to root: say so in one line before
# anything is written, rather than fail later with a screen of errors.
zarvo_check_build_writable() {
  local blocked= owner
  [ "$(id -u)" -ne 0 ] || return 0
  if [ -e "$ZARVO_ROOT/build" ]; then
    blocked=$(find "$ZARVO_ROOT/build" ! -user "$(id -u)" -print -quit 2>/dev/null)
  elif [ ! -w "$ZARVO_ROOT" ]; then
    blocked=$ZARVO_ROOT
  fi
  [ -n "$blocked" ] || return 0
  owner=$(stat -c %U "$blocked")
  echo "zarvo: build/ belongs to $owner, left by a run as $owner, so $(id -un) cannot use it: remove it with 'sudo rm -rf $ZARVO_ROOT/build' and run again" >&2
  exit 1
}

ZARVO_ROOT=${ZARVO_ROOT:-$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)}
zarvo_check_build_writable
zarvo_choose_arch

# Configures a build folder: zarvo_configure DIR ARCH [OPTION...], ARCH being
# i686 or x86_64 for the Windows side, or host for the native one. A warning
# fails every build the scripts make. A folder configured whole with the same
# options is left as it is: its build configures again by itself when a file
# that configuring read has changed.
zarvo_configure() {
  local dir=$1 arch=$2 done
  shift 2
  if [ "$arch" != host ]; then
    set -- -DCMAKE_TOOLCHAIN_FILE="$ZARVO_ROOT/cmake/mingw.cmake" -DZARVO_ARCH="$arch" "$@"
  fi
  set -- -G Ninja -DCMAKE_BUILD_TYPE=Release -DCMAKE_COMPILE_WARNING_AS_ERROR=ON "$@"
  done=$dir/zarvo-configured-with
  [ "$(cat "$done" 2>/dev/null)" != "$*" ] || [ ! -f "$dir/CMakeCache.txt" ] || return 0
  rm -f "$done"
  # A folder another generator made is configured afresh.
  grep -qsx 'CMAKE_GENERATOR:INTERNAL=Ninja' "$dir/CMakeCache.txt" || rm -rf "$dir/CMakeCache.txt" "$dir/CMakeFiles"
  cmake --no-warn-unused-cli -S "$ZARVO_ROOT" -B "$dir" "$@" >/dev/null
  echo "$*" >"$done"
}

# The Windows side's build folder for the architecture in use.
if [ "$ZARVO_ARCH" = i686 ]; then ZARVO_WIN_BUILD=build/win32; else ZARVO_WIN_BUILD=build/win64; fi
