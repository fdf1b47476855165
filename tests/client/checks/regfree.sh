# Registration-free activation, in a Wine prefix of its own where regsvr32 never ran: the DLL and
# its manifest in a folder, used first by the early-bound client through an activation context,
# then by a copy of cscript.exe whose own manifest names the DLL's assembly. Sourced by
# scripts/client-tests.sh.

regfree_start=$SECONDS
regfree_prefix=$(mktemp -d /tmp/wine-brevanto-regfree-XXXXXX)
regfree_dir=$work/regfree
mkdir -p "$regfree_dir"
cp "$dll" "$build/Brevanto.manifest" "$regfree_dir/"
regfree_run() { WINEPREFIX=$regfree_prefix run "$@"; }
WINEPREFIX=$regfree_prefix wineboot -i >/dev/null 2>&1

tally regfree "$(regfree_run "$build/tests/release_client.exe" regfree \
    "$(winpath "$regfree_dir/Brevanto.manifest")")"

# The script host: every class by its programmatic identifier, one late-bound call, and the same
# script through the prefix's own cscript, which knows nothing of the assembly.
regfree_identity=$(grep -o '<assemblyIdentity [^>]*>' "$regfree_dir/Brevanto.manifest")
cat >"$regfree_dir/cscript.exe.manifest" <<MANIFEST
<?xml version="1.0" encoding="UTF-8" standalone="yes"?>
<assembly xmlns="urn:schemas-microsoft-com:asm.v1" manifestVersion="1.0">
  <assemblyIdentity type="win32" name="cscript" version="1.0.0.0" processorArchitecture="amd64"/>
  <dependency><dependentAssembly>$regfree_identity</dependentAssembly></dependency>
</assembly>
MANIFEST
cp "$regfree_prefix/drive_c/windows/system32/cscript.exe" "$regfree_dir/"
{
    echo 'Dim created, refused, o, name'
    echo 'created = 0 : refused = 0'
    echo 'On Error Resume Next'
    for regfree_progid in $(grep -o 'progid="[^"]*"' "$regfree_dir/Brevanto.manifest" | cut -d'"' -f2); do
        echo "Set o = Nothing : Err.Clear : Set o = CreateObject(\"$regfree_progid\")"
        echo 'If Err.Number = 0 And IsObject(o) Then created = created + 1'
        echo 'If Err.Number = 429 Then refused = refused + 1'
    done
    echo 'Err.Clear : Set o = CreateObject("Brevanto.TextHelper")'
    echo 'If Err.Number = 0 Then If o.RemoveAllSpaces(" a b ") <> "ab" Then created = -1'
    echo 'WScript.Echo created & " created, " & refused & " refused"'
} >"$regfree_dir/classes.vbs"
regfree_classes=$(grep -c '<comClass [^>]*progid=' "$regfree_dir/Brevanto.manifest")
regfree_out=$(regfree_run "$(winpath "$regfree_dir/cscript.exe")" //nologo "$(winpath "$regfree_dir/classes.vbs")")
if [ "$regfree_out" = "$regfree_classes created, 0 refused" ]; then
    pass
else
    fail "regfree: cscript with the assembly in its manifest: '$regfree_out', expected $regfree_classes created"
fi
regfree_out=$(regfree_run cscript //nologo "$(winpath "$regfree_dir/classes.vbs")")
if [ "$regfree_out" = "0 created, $regfree_classes refused" ]; then
    pass
else
    fail "regfree: cscript without the manifest: '$regfree_out', expected $regfree_classes refused"
fi

WINEPREFIX=$regfree_prefix wineserver -k >/dev/null 2>&1
rm -rf "$regfree_prefix"
echo "regfree.sh: done in $((SECONDS - regfree_start)) s"
