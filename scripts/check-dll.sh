#!/usr/bin/env bash
# Static check of a built server DLL, 32-bit or 64-bit, read with mingw-w64's objdump:
# - its machine is what its build directory says (win32: i386, win64: x86-64);
# - it exports exactly the entry points that src/com/brevanto.def lists, by their plain names
#   (no stdcall decoration such as DllCanUnloadNow@0, no extra or nameless exports);
# - it imports only DLLs that every Windows it targets ships in its system folder (the list
#   below), so no mingw runtime (libgcc_s, libstdc++, libwinpthread) and no UCRT forwarders.
# Usage: scripts/check-dll.sh path/to/Brevanto.dll...   Exits non-zero on any breach.
set -u -o pipefail
root=$(cd "$(dirname "$0")/.." && pwd)

# System DLLs present on 32-bit Windows from XP on, and on 64-bit Windows in both flavours.
allowed="advapi32.dll comdlg32.dll gdi32.dll kernel32.dll mpr.dll msvcrt.dll ole32.dll oleaut32.dll
shell32.dll shlwapi.dll user32.dll version.dll"

expected=$(sed -n '/^EXPORTS/,$p' "$root/src/com/brevanto.def" | tail -n +2 | awk 'NF {print $1}' | sort)
status=0
breach() {
    echo "check-dll: $dll: $*"
    status=1
    bad=1
}

for dll in "$@"; do
    bad=0
    if [ ! -f "$dll" ]; then
        breach "missing"
        continue
    fi
    format=$(x86_64-w64-mingw32-objdump -f "$dll" | sed -n 's/.*file format //p')
    case $format in
    pei-i386) objdump=i686-w64-mingw32-objdump want=win32 ;;
    pei-x86-64) objdump=x86_64-w64-mingw32-objdump want=win64 ;;
    *) breach "not a Windows DLL ($format)"; continue ;;
    esac
    command -v "$objdump" >/dev/null || objdump=x86_64-w64-mingw32-objdump
    case $dll in */$want/* | $want/*) ;; */win32/* | */win64/*) breach "a $format DLL in the other build" ;; esac
    table=$($objdump -p "$dll")
    names=$(printf '%s\n' "$table" | sed -nE 's/^\s*\[ *[0-9]+\] ([^ +].*)$/\1/p' | sort)
    ordinals=$(printf '%s\n' "$table" | grep -c 'Export RVA')
    if [ "$names" != "$expected" ]; then
        breach "exports differ from brevanto.def:"
        diff <(echo "$expected") <(echo "$names") | sed 's/^/    /'
    fi
    [ "$ordinals" -eq "$(echo "$expected" | wc -l)" ] ||
        breach "$ordinals exports where brevanto.def lists $(echo "$expected" | wc -l)"
    imports=$(printf '%s\n' "$table" | sed -n 's/^\s*DLL Name: //p' | tr 'A-Z' 'a-z' | sort -u)
    for import in $imports; do
        grep -qw -- "$import" <<<"$allowed" || breach "imports $import, which is not a system DLL"
    done
    [ $bad -ne 0 ] || echo "check-dll: $dll ($format): exports $(echo $names), imports $(echo $imports)"
done
exit $status
