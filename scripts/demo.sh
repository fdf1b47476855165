#!/usr/bin/env bash
# The main job: builds Brevanto.dll, registers it in a private Wine prefix and runs the demo
# script through cscript, a real late-bound automation client.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
bash scripts/install-deps.sh

cmake --preset win64 >/dev/null
cmake --build --preset win64 -j 2 --target brevanto_com >/dev/null

prefix=$(mktemp -d /tmp/wine-brevanto-demo-XXXXXX)
export WINEPREFIX=$prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" DISPLAY=
trap 'wineserver -k >/dev/null 2>&1; rm -rf "$prefix"' EXIT
wineboot -i >/dev/null 2>&1
winpath() { echo "Z:$1" | tr '/' '\\'; }

wine regsvr32 /s "$(winpath "$root/build/win64/Brevanto.dll")"
wine cscript //nologo "$(winpath "$root/examples/demo.vbs")" "$@" 2>/dev/null | tr -d '\r'
