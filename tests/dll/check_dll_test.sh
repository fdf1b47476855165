#!/usr/bin/env bash
# scripts/check-dll.sh refuses what it is there to refuse: a DLL with a decorated export and the
# mingw C++ runtime among its imports, and a DLL of one machine in the other's build folder.
# Usage: tests/dll/check_dll_test.sh path/to/good/Brevanto.dll. Prints "N passed, N failed".
set -u -o pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
good=$1
tmp=$(mktemp -d /tmp/brevanto-check-dll-XXXXXX)
trap 'rm -rf "$tmp"' EXIT
passed=0 failed=0
expect() {  # name, expected exit status (0 or 1), pattern the output must hold, dll...
    local name=$1 status=$2 pattern=$3 out rc
    shift 3
    out=$(bash "$root/scripts/check-dll.sh" "$@" 2>&1)
    rc=$?
    if [ "$rc" -eq "$status" ] && grep -q -- "$pattern" <<<"$out"; then
        passed=$((passed + 1))
    else
        failed=$((failed + 1))
        echo "FAIL $name (status $rc):"
        sed 's/^/    /' <<<"$out"
    fi
}

mkdir -p "$tmp/win32" "$tmp/win64"
cat >"$tmp/bad.cpp" <<'CPP'
#include <windows.h>
#include <string>
extern "C" __declspec(dllexport) HRESULT __stdcall DllCanUnloadNow() {
    return std::string("x").empty() ? S_FALSE : S_OK;
}
CPP
i686-w64-mingw32-g++ -shared -o "$tmp/win32/Brevanto.dll" "$tmp/bad.cpp"
expect "the good DLL passes" 0 "imports" "$good"
expect "a decorated export" 1 "> DllCanUnloadNow@0" "$tmp/win32/Brevanto.dll"
expect "a missing entry point" 1 "< DllGetClassObject" "$tmp/win32/Brevanto.dll"
expect "the C++ runtime imported" 1 "imports libstdc++-6.dll" "$tmp/win32/Brevanto.dll"
expect "one bad DLL fails the run" 1 "imports" "$good" "$tmp/win32/Brevanto.dll"
cp "$tmp/win32/Brevanto.dll" "$tmp/win64/Brevanto.dll"
expect "a 32-bit DLL in the 64-bit build" 1 "in the other build" "$tmp/win64/Brevanto.dll"
expect "a missing file" 1 "missing" "$tmp/none/Brevanto.dll"
echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
