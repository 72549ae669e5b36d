#!/usr/bin/env bash
# Install what building and testing Tirelmo needs on Debian 12 (bookworm).
#
#   scripts/install-deps.sh [GROUP...]
#
# Groups:
#   native  cmake, g++, GoogleTest, Google Benchmark, clang with libFuzzer (core, unit tests,
#           fuzz targets, benchmarks)
#   win32   the MinGW-w64 i686 cross compiler (Tirelmo.exe, Vornel.exe, Win32 adapter tests)
#           and NSIS (the installer Tirelmo-setup.exe)
#   run     Wine with 32-bit support (runs the Win32 programs and their tests) and the CJK
#           font Wine falls back to for Chinese text (fonts-wqy-microhei)
#   e2e     Xvfb, openbox, xdotool, X utilities, ImageMagick (end-to-end tests on a virtual
#           display); implies run
#   all     everything above (the default)
#
# Safe to rerun: packages already installed are not touched, and when nothing is missing the
# script neither calls apt nor needs root. Non-interactive; uses sudo only when not root.

set -euo pipefail

usage() {
  sed -n '2,17p' "$0" | sed 's/^# \{0,1\}//'
}

groups=()
for arg in "$@"; do
  case $arg in
    native|win32|run|e2e|all) groups+=("$arg") ;;
    -h|--help) usage; exit 0 ;;
    *) echo "install-deps: unknown group '$arg'" >&2; usage >&2; exit 2 ;;
  esac
done
[ ${#groups[@]} -eq 0 ] && groups=(all)

want_native=0 want_win32=0 want_run=0 want_e2e=0
for g in "${groups[@]}"; do
  case $g in
    native) want_native=1 ;;
    win32) want_win32=1 ;;
    run) want_run=1 ;;
    e2e) want_run=1; want_e2e=1 ;;
    all) want_native=1; want_win32=1; want_run=1; want_e2e=1 ;;
  esac
done

# Packages per group. Both build sides need cmake and make; the win32 side also builds the
# art generator with the host compiler, hence g++ there too.
packages=()
if [ $want_native -eq 1 ] || [ $want_win32 -eq 1 ]; then
  packages+=(cmake make g++ ca-certificates)
fi
if [ $want_native -eq 1 ]; then
  # The sync service (server/) is built beside the core: cpp-httplib and SQLite.
  packages+=(googletest libgtest-dev libbenchmark-dev clang libclang-rt-14-dev
             libcpp-httplib-dev libsqlite3-dev pkgconf)
fi
if [ $want_win32 -eq 1 ]; then
  # googletest's sources (/usr/src/googletest) are cross-built for the Win32 adapter tests.
  # nsis: makensis builds Tirelmo-setup.exe, which the installer's end-to-end test runs.
  packages+=(g++-mingw-w64-i686-posix mingw-w64-tools googletest nsis)
fi
if [ $want_run -eq 1 ]; then
  packages+=(wine wine32:i386 fonts-wqy-microhei)
fi
if [ $want_e2e -eq 1 ]; then
  # curl: the sync test asks the service what arrived.
  packages+=(xvfb xauth openbox xdotool x11-utils imagemagick procps curl)
fi

# A package counts as present when dpkg says it is fully installed.
is_installed() {
  [ "$(dpkg-query -W -f='${db:Status-Status}' "$1" 2>/dev/null || true)" = "installed" ]
}

missing=()
declare -A seen=()
for p in "${packages[@]}"; do
  [ -n "${seen[$p]:-}" ] && continue
  seen[$p]=1
  is_installed "$p" || missing+=("$p")
done

need_i386=0
if [ $want_run -eq 1 ] && ! dpkg --print-foreign-architectures | grep -x i386 >/dev/null; then
  need_i386=1
fi

if [ ${#missing[@]} -eq 0 ] && [ $need_i386 -eq 0 ]; then
  echo "install-deps: everything for '${groups[*]}' is installed"
  exit 0
fi

if [ "$(id -u)" -eq 0 ]; then
  as_root=()
elif command -v sudo >/dev/null 2>&1; then
  as_root=(sudo)
else
  echo "install-deps: need root (or sudo) to install: ${missing[*]}" >&2
  exit 1
fi

export DEBIAN_FRONTEND=noninteractive

if [ $need_i386 -eq 1 ]; then
  echo "install-deps: enabling the i386 architecture (for wine32)"
  "${as_root[@]}" dpkg --add-architecture i386
fi

echo "install-deps: installing ${missing[*]}"
"${as_root[@]}" env DEBIAN_FRONTEND=noninteractive apt-get update -q
"${as_root[@]}" env DEBIAN_FRONTEND=noninteractive \
  apt-get install -y -q --no-install-recommends "${missing[@]}"

# Check the result by the same rule, so that a half-done install cannot pass as success.
still=()
for p in "${missing[@]}"; do
  is_installed "$p" || still+=("$p")
done
if [ ${#still[@]} -ne 0 ]; then
  echo "install-deps: still missing after apt-get: ${still[*]}" >&2
  exit 1
fi
echo "install-deps: done"
