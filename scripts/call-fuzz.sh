#!/usr/bin/env bash
# Calls every member of every class of the 64-bit DLL with generated arguments under Wine, late
# and early bound (tests/client/call_fuzz.cpp), many calls per class, and prints per class (and
# per member) the calls and their outcomes. A failure names the call and the seed that replays it.
#
# Usage: scripts/call-fuzz.sh [calls-per-class] [seed]      (defaults: 10000, a new seed)
#        BREVANTO_FUZZ_CLASS=NAME runs one class only; BREVANTO_CLIENT_BUILD names the build
#        directory (default build/win64).
# Runs niced, in a private Wine prefix and a scratch folder under /tmp that it removes again.
set -u -o pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
calls=${1:-10000}
seed=${2:-}
build=${BREVANTO_CLIENT_BUILD:-build/win64}
case $build in /*) ;; *) build=$root/$build ;; esac

if [ ! -f "$build/CMakeCache.txt" ]; then
    cmake -S "$root" -B "$build" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake" \
        -DCMAKE_BUILD_TYPE=Release >/dev/null || { echo "configure failed"; exit 1; }
fi
nice -n 10 cmake --build "$build" -j2 --target brevanto_com call_fuzz >"$build/call-fuzz-build.log" 2>&1 || {
    tail -30 "$build/call-fuzz-build.log"
    echo "build failed"
    exit 1
}

prefix=$(mktemp -d /tmp/wine-brevanto-fuzz-XXXXXX)
scratch=$(mktemp -d /tmp/brevanto-call-fuzz-XXXXXX)
export WINEPREFIX=$prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" DISPLAY=
cleanup() {
    wineserver -k >/dev/null 2>&1
    rm -rf "$prefix" "$scratch"
}
trap cleanup EXIT
winpath() { echo "Z:$1" | tr '/' '\\'; }

wineboot -i >/dev/null 2>&1
wine regsvr32 /s "$(winpath "$build/Brevanto.dll")" >/dev/null 2>&1 || { echo "regsvr32 failed"; exit 1; }
args=(--scratch "$(winpath "$scratch")" --calls "$calls" --members)
[ -z "$seed" ] || args+=(--seed "$seed")
[ -z "${BREVANTO_FUZZ_CLASS:-}" ] || args+=(--class "$BREVANTO_FUZZ_CLASS")
start=$(date +%s)
(cd "$scratch" && nice -n 10 wine "$build/tests/call_fuzz.exe" "$(winpath "$build/Brevanto.dll")" \
    "${args[@]}" 2>/dev/null | tr -d '\r')
status=$?
echo "elapsed $(($(date +%s) - start)) s"
exit $status
