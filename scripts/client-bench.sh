#!/usr/bin/env bash
# Client benchmarks of the DLL under Wine: registers it in a private prefix and runs each
# bench/*.vbs script through cscript, which times our members against a system object in the
# same run and prints the ratios. Figures only: nothing here passes or fails.
#
# Usage: scripts/client-bench.sh [build-dir] [script-name-glob]   (default build/win64, *)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-build/win64}
case $build in /*) ;; *) build=$root/$build ;; esac
only=${2:-*}

prefix=$(mktemp -d /tmp/wine-brevanto-bench-XXXXXX)
export WINEPREFIX=$prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" DISPLAY=
trap 'wineserver -k >/dev/null 2>&1; rm -rf "$prefix"' EXIT
wineboot -i >/dev/null 2>&1
winpath() { echo "Z:$1" | tr '/' '\\'; }

wine regsvr32 /s "$(winpath "$build/Brevanto.dll")"
for script in "$root"/bench/$only.vbs; do
    echo "== $(basename "$script")"
    wine cscript //nologo "$(winpath "$script")" 2>/dev/null | tr -d '\r'
done
