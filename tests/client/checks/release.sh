# The release: scripts/release.sh packs the DLLs built for these tests (the win64 build under
# test and the win32 preset build, both Release builds of the same sources), then
# - the zip holds what the user's README promises, and packing again gives the same bytes;
# - the DLL's version resource matches the type library and the build number;
# - in a fresh Wine prefix, the zip unpacked under C:\ and x64\Brevanto.dll registered from there
#   run the demo.
# Sourced by scripts/client-tests.sh.

release_start=$SECONDS
release_x86=$root/build/win32
if ! grep -qs '^CMAKE_BUILD_TYPE:STRING=Release$' "$release_x86/CMakeCache.txt"; then
    echo "release.sh: skipped: no 32-bit Release build in $release_x86 (cmake --preset win32)"
    return 0
fi
# The build number these builds already have, so that packing does not rebuild them.
release_number=$(sed -nE 's/^BREVANTO_BUILD(:[A-Z]+)?=//p' "$build/CMakeCache.txt")
release_pack() {  # output folder
    BREVANTO_RELEASE_X64=$build BREVANTO_RELEASE_X86=$release_x86 BREVANTO_DIST=$1 \
        BREVANTO_BUILD=$release_number bash "$root/scripts/release.sh" >"$1.log" 2>&1
}
release_name=Brevanto-$(sed -nE 's/^project\(Brevanto VERSION ([0-9.]+).*/\1/p' "$root/CMakeLists.txt").$release_number
release_zip=$work/dist1/$release_name.zip
if release_pack "$work/dist1" && [ -f "$release_zip" ]; then
    pass
else
    fail "release.sh failed:"
    tail -5 "$work/dist1.log"
fi

if [ -f "$release_zip" ]; then
    release_expected=(Brevanto.tlb README.md brevanto.h brevanto.idl brevanto_i.c
                      reference.md x64/Brevanto.dll x64/Brevanto.manifest x86/Brevanto.dll
                      x86/Brevanto.manifest)
    release_listed=$(unzip -Z1 "$release_zip" | LC_ALL=C sort)
    release_wanted=$(printf "$release_name/%s\n" "${release_expected[@]}" | LC_ALL=C sort)
    if [ "$release_listed" = "$release_wanted" ]; then
        pass
    else
        fail "release zip entries differ:"
        diff <(echo "$release_wanted") <(echo "$release_listed") | head -10
    fi
    # The 32-bit DLL is really the 32-bit one (PE machine i386 at the PE header + 4).
    release_machine() {
        unzip -p "$release_zip" "$release_name/$1/Brevanto.dll" | od -An -tx1 -j"$((
            $(unzip -p "$release_zip" "$release_name/$1/Brevanto.dll" | od -An -tu4 -j60 -N4)
            + 4))" -N2 | tr -d ' '
    }
    if [ "$(release_machine x64)" = 6486 ] && [ "$(release_machine x86)" = 4c01 ]; then
        pass
    else
        fail "release zip: x64 and x86 DLLs are not of their machines"
    fi
    if unzip -p "$release_zip" "$release_name/README.md" | grep -q "^# ${release_name/-/ }\$" &&
        unzip -p "$release_zip" "$release_name/x86/Brevanto.manifest" | grep -q 'processorArchitecture="x86"'; then
        pass
    else
        fail "release zip: README title or x86 manifest architecture"
    fi
    if release_pack "$work/dist2" && cmp -s "$release_zip" "$work/dist2/$release_name.zip"; then
        pass
    else
        fail "release zip: a second packing differs"
    fi

    release_prefix=$(mktemp -d /tmp/wine-brevanto-release-XXXXXX)
    release_run() { WINEPREFIX=$release_prefix run "$@"; }
    WINEPREFIX=$release_prefix wineboot -i >/dev/null 2>&1
    unzip -q "$release_zip" -d "$release_prefix/drive_c"
    release_dll="C:\\$release_name\\x64\\Brevanto.dll"
    tally "version resource" "$(release_run "$build/tests/release_client.exe" version "$release_dll")"
    release_run regsvr32 /s "$release_dll"
    if release_run reg query "HKLM\\Software\\Classes\\CLSID\\$clsid\\InprocServer32" /ve |
        grep -qiF "$release_dll"; then
        pass
    else
        fail "release: the class is not registered from the unpacked folder"
    fi
    release_demo=$(release_run cscript //nologo "$(winpath "$root/examples/demo.vbs")")
    if grep -q '^Joined again: ' <<<"$release_demo" && grep -q '^Opening a missing file: error ' <<<"$release_demo"; then
        pass
        echo "release.sh: demo ran against the unpacked DLL ($(wc -l <<<"$release_demo") lines)"
    else
        fail "release: the demo did not run through:"
        tail -5 <<<"$release_demo"
    fi
    WINEPREFIX=$release_prefix wineserver -k >/dev/null 2>&1
    rm -rf "$release_prefix"
fi
echo "release.sh: done in $((SECONDS - release_start)) s"
