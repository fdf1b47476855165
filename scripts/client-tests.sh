#!/usr/bin/env bash
# Client tests of the COM server under Wine: builds the 64-bit DLL and the test clients, makes a
# private Wine prefix, checks registration (machine-wide and per user), the type library, an
# early-bound C++ client, and runs every tests/client/*.vbs and *.js suite through cscript.
#
# Usage: scripts/client-tests.sh [build-dir]    (default build/win64, configured with the
#        win64 preset when it does not exist yet; BREVANTO_CLIENT_BUILD also names it)
#        BREVANTO_CLIENT_SUITES='glob' runs only the script suites whose file names match, with
#        the early-bound client, and skips the registration round trips and the type library.
# A suite with a companion NAME.windows file shows real dialogs: with Xvfb installed the runner
# gives it a display of its own and drives the dialogs with window_driver.exe; without one the
# suite reports those tests as skipped and runs the rest.
# Ends with "N passed, N failed"; exits non-zero on any failure.
set -u -o pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-${BREVANTO_CLIENT_BUILD:-build/win64}}
case $build in /*) ;; *) build=$root/$build ;; esac

passed=0
failed=0
pass() { passed=$((passed + 1)); }
fail() {
    failed=$((failed + 1))
    echo "FAIL $*"
}

# --- build ---------------------------------------------------------------------------------
if [ ! -f "$build/CMakeCache.txt" ]; then
    if [ "$build" = "$root/build/win64" ]; then
        (cd "$root" && cmake --preset win64 >/dev/null) || { echo "configure failed"; exit 1; }
    else
        cmake -S "$root" -B "$build" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake" \
            -DCMAKE_BUILD_TYPE=Release >/dev/null || { echo "configure failed"; exit 1; }
    fi
fi
cmake --build "$build" -j2 --target client_tests >"$build/client-build.log" 2>&1 || {
    tail -30 "$build/client-build.log"
    echo "build failed"
    echo "0 passed, 1 failed"
    exit 1
}
dll=$build/Brevanto.dll

# --- private Wine prefix -------------------------------------------------------------------
prefix=$(mktemp -d /tmp/wine-brevanto-tests-XXXXXX)
work=$(mktemp -d /tmp/brevanto-client-XXXXXX)
export WINEPREFIX=$prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" DISPLAY=
xvfb_pid=
cleanup() {
    wineserver -k >/dev/null 2>&1
    [ -z "$xvfb_pid" ] || { kill "$xvfb_pid" 2>/dev/null; wait "$xvfb_pid" 2>/dev/null; }
    rm -rf "$prefix" "$work"
}
trap cleanup EXIT
wineboot -i >/dev/null 2>&1
winpath() { echo "Z:$1" | tr '/' '\\'; }
run() { timeout 600 wine "$@" 2>/dev/null | tr -d '\r'; }

# Adds the counts of a suite's closing line; a suite without one has failed.
tally() {
    local name=$1 output=$2 line
    line=$(printf '%s\n' "$output" | grep -E '^[0-9]+ passed, [0-9]+ failed' | tail -1)
    printf '%s\n' "$output" | grep -E '^FAIL' | sed "s/^/[$name] /"
    if [ -z "$line" ]; then
        fail "$name: no summary line (syntax error or crash?)"
        printf '%s\n' "$output" | tail -5
        return
    fi
    local p f
    p=$(echo "$line" | sed -E 's/^([0-9]+) passed.*/\1/')
    f=$(echo "$line" | sed -E 's/.*passed, ([0-9]+) failed.*/\1/')
    passed=$((passed + p))
    failed=$((failed + f))
    echo "$name: $line"
}

# --- registration round trip ---------------------------------------------------------------
# A key's tree as text (empty when the key does not exist).
export_key() {
    rm -f "$2"
    run reg export "$1" "$(winpath "$2")" /y >/dev/null 2>&1
    [ -f "$2" ] && iconv -f UTF-16LE -t UTF-8 "$2" | tr -d '\r'
}
clsid=$(grep -oiE 'DECLSPEC_UUID\("[^"]+"\) TextHelper;' "$build/brevanto.h" | sed -E 's/.*"([^"]+)".*/{\1}/' | tr a-f A-F)
query() { run reg query "$1" >/dev/null 2>&1; }

check_round_trip() {  # scope-name, classes key, regsvr32 args...
    local scope=$1 key=$2
    shift 2
    local before after
    before=$(export_key "$key" "$work/before.reg")
    run regsvr32 /s "$@" "$(winpath "$dll")" >/dev/null
    if query "$key\\CLSID\\$clsid\\InprocServer32" && query "$key\\Brevanto.TextHelper\\CLSID" &&
        query "$key\\TypeLib"; then
        pass
    else
        fail "$scope registration: keys missing under $key"
    fi
    if run reg query "$key\\CLSID\\$clsid\\InprocServer32" | grep -q 'ThreadingModel.*Apartment'; then
        pass
    else
        fail "$scope registration: ThreadingModel"
    fi
    if query "$key\\Brevanto.clsCommandParam"; then
        fail "$scope registration: a programmatic identifier for the not-creatable class"
    else
        pass
    fi
    run regsvr32 /s /u "$@" "$(winpath "$dll")" >/dev/null
    after=$(export_key "$key" "$work/after.reg")
    if [ "$before" = "$after" ]; then
        pass
    else
        fail "$scope unregistration left the registry changed:"
        diff <(echo "$before") <(echo "$after") | head -20
    fi
}
# Keys that others put beside ours (another version of the type library, a category of the
# class) survive unregistration; our keys that hold them stay, without our values.
libid={$(sed -nE 's/^\[uuid\(([0-9A-Fa-f-]+)\), version\([0-9.]+\).*/\1/p' "$build/brevanto.idl" | tr a-f A-F)}
check_foreign_keys() {  # scope-name, classes key, regsvr32 args...
    local scope=$1 key=$2 f
    shift 2
    local foreign=("$key\\TypeLib\\$libid\\2.4" "$key\\CLSID\\$clsid\\Implemented Categories")
    run regsvr32 /s "$@" "$(winpath "$dll")" >/dev/null
    for f in "${foreign[@]}"; do run reg add "$f" /ve /d foreign /f >/dev/null; done
    run regsvr32 /s /u "$@" "$(winpath "$dll")" >/dev/null
    for f in "${foreign[@]}"; do
        if query "$f"; then pass; else fail "$scope unregistration removed $f"; fi
        run reg delete "$f" /f >/dev/null 2>&1
    done
    if query "$key\\CLSID\\$clsid\\InprocServer32"; then fail "$scope unregistration left our keys"; else pass; fi
    run regsvr32 /s /u "$@" "$(winpath "$dll")" >/dev/null  # now-empty parents go
}
suites=${BREVANTO_CLIENT_SUITES:-}
if [ -z "$suites" ]; then
    machine_before=$(export_key 'HKLM\Software\Classes' "$work/machine.reg")
    check_round_trip machine-wide 'HKLM\Software\Classes'
    check_round_trip per-user 'HKCU\Software\Classes' /n /i:user
    check_foreign_keys machine-wide 'HKLM\Software\Classes'
    # With the other bitness's DLL also registered (its class keys in the 32-bit view), our
    # unregistration leaves the keys both share, and the last one out takes them.
    other="HKLM\\Software\\Classes\\CLSID\\$clsid\\InprocServer32"
    run regsvr32 /s "$(winpath "$dll")" >/dev/null
    run reg add "$other" /ve /d 'C:\x86\Brevanto.dll' /reg:32 /f >/dev/null
    run regsvr32 /s /u "$(winpath "$dll")" >/dev/null
    if query 'HKLM\Software\Classes\Brevanto.TextHelper\CLSID' &&
        query "HKLM\\Software\\Classes\\TypeLib\\$libid\\2.3\\FLAGS"; then
        pass
    else
        fail "unregistering one bitness took the keys that the other shares"
    fi
    if query "HKLM\\Software\\Classes\\TypeLib\\$libid\\2.3\\0\\win64" ||
        query "HKLM\\Software\\Classes\\CLSID\\$clsid"; then
        fail "unregistering left this bitness's own keys"
    else
        pass
    fi
    run reg delete "HKLM\\Software\\Classes\\CLSID\\$clsid" /reg:32 /f >/dev/null
    run regsvr32 /s /u "$(winpath "$dll")" >/dev/null
    if [ "$(export_key 'HKLM\Software\Classes' "$work/machine3.reg")" = "$machine_before" ]; then pass; else fail "machine-wide keys left after the foreign keys went"; fi
    # A per-user registration writes nothing machine-wide.
    run regsvr32 /s /n /i:user "$(winpath "$dll")" >/dev/null
    if [ "$(export_key 'HKLM\Software\Classes' "$work/machine2.reg")" = "$machine_before" ]; then pass; else fail "per-user registration changed HKLM"; fi
    run regsvr32 /s /u /n /i:user "$(winpath "$dll")" >/dev/null
    echo "registration: $passed passed, $failed failed"
fi

# Machine-wide registration for the client suites (Wine's COM reads only machine-wide classes).
run regsvr32 /s "$(winpath "$dll")" >/dev/null || fail "regsvr32"

# --- type library --------------------------------------------------------------------------
if [ -z "$suites" ]; then
    tlb=$(run "$build/tests/typelib_dump.exe" "$(winpath "$dll")")
    if diff <(echo "$tlb") "$root/tests/client/typelib.expected" >"$work/tlb.diff"; then
        pass
        echo "type library: matches tests/client/typelib.expected"
    else
        fail "type library differs from tests/client/typelib.expected:"
        head -20 "$work/tlb.diff"
    fi
fi

# --- early-bound client --------------------------------------------------------------------
tally early_bound "$(run "$build/tests/early_bound.exe" "$(winpath "$dll")")"

# --- a display for the suites that show dialogs ---------------------------------------------
# Xvfb on the first free display number; only the server started here is stopped again.
display=
start_display() {
    command -v Xvfb >/dev/null 2>&1 || return 0
    local n
    for n in $(seq 90 160); do
        [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ] && continue
        Xvfb ":$n" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
        xvfb_pid=$!
        for _ in $(seq 50); do
            [ -e "/tmp/.X11-unix/X$n" ] && break
            kill -0 "$xvfb_pid" 2>/dev/null || break
            sleep 0.1
        done
        if [ -e "/tmp/.X11-unix/X$n" ] && kill -0 "$xvfb_pid" 2>/dev/null; then
            display=:$n
            return 0
        fi
        kill "$xvfb_pid" 2>/dev/null
        wait "$xvfb_pid" 2>/dev/null
        xvfb_pid=
    done
}
# The driver's steps from NAME.windows, one a line: caption|action|argument|expected static text.
driver_args() {
    local caption action argument expect
    while IFS='|' read -r caption action argument expect; do
        case $caption in '#'* | '') continue ;; esac
        printf '%s\0' --caption "$caption"
        [ -z "$expect" ] || printf '%s\0' --expect "$expect"
        printf '%s\0' "$action"
        [ -z "$argument" ] || printf '%s\0' "$argument"
    done <"$1"
}
# Wine's desktop process keeps the display of the process that started it: the prefix's
# server is restarted around the suites that show dialogs.
restart_wine() { wineserver -k >/dev/null 2>&1; wineserver -w >/dev/null 2>&1; }
run_dialog_suite() {  # name, script, steps file
    local name=$1 script=$2 steps=$3 dir driver_pid args=()
    dir=$(mktemp -d "$work/dialogs-XXXXXX")
    if [ -z "$display" ]; then
        tally "$name" "$(BREVANTO_DIALOG_DIR=$(winpath "$dir") run cscript //nologo "$(winpath "$script")")"
        return
    fi
    restart_wine
    mapfile -d '' args < <(driver_args "$steps")
    DISPLAY=$display timeout 300 wine "$build/tests/window_driver.exe" --timeout 20 "${args[@]}" \
        >"$work/driver.out" 2>/dev/null &
    driver_pid=$!
    tally "$name" "$(DISPLAY=$display BREVANTO_DISPLAY=1 BREVANTO_DIALOG_DIR=$(winpath "$dir") \
        timeout 300 wine cscript //nologo "$(winpath "$script")" 2>/dev/null | tr -d '\r')"
    # The suite is done: a driver still waiting for a dialog that never came is stopped.
    for _ in $(seq 30); do kill -0 "$driver_pid" 2>/dev/null || break; sleep 0.2; done
    kill "$driver_pid" 2>/dev/null
    wait "$driver_pid" 2>/dev/null
    tally "$(basename "$steps") (window driver)" "$(tr -d '\r' <"$work/driver.out")"
    restart_wine
}

# --- script suites -------------------------------------------------------------------------
for suite in "$root"/tests/client/*.vbs; do
    [ -e "$suite" ] || continue
    name=$(basename "$suite")
    [[ -z "$suites" || $name == $suites ]] || continue
    cat "$root/tests/client/lib/assert.vbs" "$suite" >"$work/$name"
    if [ -f "${suite%.vbs}.windows" ]; then
        [ -n "$display" ] || start_display
        [ -n "$display" ] || echo "$name: no display (Xvfb is not installed): the dialog tests are skipped"
        run_dialog_suite "$name" "$work/$name" "${suite%.vbs}.windows"
        continue
    fi
    tally "$name" "$(run cscript //nologo "$(winpath "$work/$name")")"
done
for suite in "$root"/tests/client/*.js; do
    [ -e "$suite" ] || continue
    name=$(basename "$suite")
    [[ -z "$suites" || $name == $suites ]] || continue
    tally "$name" "$(run cscript //nologo "$(winpath "$suite")")"
done

# --- further checks -------------------------------------------------------------------------
# Each tests/client/checks/NAME.sh runs here, sourced, with the helpers above (run, winpath,
# pass, fail, tally) and $root, $build, $dll, $work; the DLL is registered machine-wide.
# BREVANTO_CLIENT_SUITES names them too ('NAME.sh').
for check in "$root"/tests/client/checks/*.sh; do
    [ -e "$check" ] || continue
    [[ -z "$suites" || $(basename "$check") == $suites ]] || continue
    # shellcheck source=/dev/null
    . "$check"
done

# --- late-bound call cost (figures only) ---------------------------------------------------
if [ -z "$suites" ] && [ -f "$root/bench/late_bound.vbs" ]; then
    run cscript //nologo "$(winpath "$root/bench/late_bound.vbs")" | sed 's/^/bench: /'
fi

run regsvr32 /s /u "$(winpath "$dll")" >/dev/null

if [ -d /usr/lib/i386-linux-gnu/wine ] || [ -d /usr/lib/wine/i386-windows ]; then
    echo "note: a 32-bit Wine is present; the 32-bit DLL is built by the win32 preset but not run here"
else
    echo "32-bit client tests skipped: no 32-bit Wine on this machine (the win32 DLL is only built)"
fi

echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
