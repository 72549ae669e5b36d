#!/usr/bin/env bash
# Run every test of Tirelmo: the core's unit tests, fuzz targets (briefly) and the
# benchmarks' build on Linux; the Win32 adapter tests and the end-to-end tests of the real
# Tirelmo.exe and Vornel.exe under Wine on a private virtual display. The house checks
# (scripts/check-house.sh) run first and stop the run when they find a violation.
#
#   scripts/test.sh
#
# Installs what is missing first; safe to rerun. Exits non-zero when any test fails.
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

echo "== house checks: platform headers in the core, file lengths, the core's include graph"
"$root/scripts/check-house.sh"

"$root/scripts/install-deps.sh" all

jobs=$(nproc 2>/dev/null || echo 2)

echo "== native: core, unit tests, fuzz targets, benchmarks"
cmake --preset native
cmake --build --preset native -j "$jobs"
ctest --preset native -j "$jobs"

echo "== win32: Tirelmo.exe, Vornel.exe, adapter tests and end-to-end tests under Wine"
cmake --preset win32
cmake --build --preset win32 -j "$jobs"

. "$root/scripts/wine-env.sh"
wine_env_use "$root/build/win32/wine-prefix"
wine_prefix_ensure "$root/build/win32/wine-prefix.log"
# ctest waits on every process that holds its pipes; Wine's server and services must
# therefore be running before ctest starts them.
wine_server_start "$root/build/win32/wine-prefix.log"
status=0
ctest --preset win32 || status=$?
wine_server_stop
exit $status
