#!/usr/bin/env bash
# Regenerates docs/reference.md from the type library in the built Brevanto.dll and the notes in
# docs/reference/ (one file per class, and Overview.md). The client tests fail while the
# committed reference differs from what this writes.
#
# Usage: scripts/reference.sh [build-dir]    (default build/win64)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
bash scripts/install-deps.sh
build=${1:-build/win64}
case $build in /*) ;; *) build=$root/$build ;; esac

if [ ! -f "$build/CMakeCache.txt" ]; then
    if [ "$build" = "$root/build/win64" ]; then
        cmake --preset win64 >/dev/null
    else
        cmake -S "$root" -B "$build" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake" \
            -DCMAKE_BUILD_TYPE=Release >/dev/null
    fi
fi
cmake --build "$build" -j 2 --target brevanto_com refgen >/dev/null

prefix=$(mktemp -d /tmp/wine-brevanto-reference-XXXXXX)
export WINEPREFIX=$prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" DISPLAY=
trap 'wineserver -k >/dev/null 2>&1; rm -rf "$prefix"' EXIT
wineboot -i >/dev/null 2>&1
winpath() { echo "Z:$1" | tr '/' '\\'; }

wine "$build/tools/refgen.exe" "$(winpath "$build/Brevanto.dll")" "$(winpath "$root/docs/reference")" \
    "$(winpath "$root/docs/reference.md")"
echo "wrote docs/reference.md"
