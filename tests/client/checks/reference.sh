# The member reference (sourced by scripts/client-tests.sh): docs/reference.md must be what the
# generator writes for this DLL, and every class's example in docs/reference/ must print the
# output shown beneath it. The examples touch only the prefix's temporary folder and
# HKCU\Software\BrevantoTests\reference, which is removed afterwards.

# The first ```vbscript block of a notes file (code), or the first ```text block after it (output).
reference_block() {  # notes file, code|output
    awk -v want="$2" '
        /^```vbscript$/ && !seen { inside = "code"; seen = 1; next }
        /^```text$/ && seen && !done { inside = "output"; next }
        /^```$/ { if (inside == "output") done = 1; inside = ""; next }
        inside == want { print }
    ' "$1"
}

reference_check() {
    local generated=$work/reference.md notes name code expected actual
    local passed0=$passed failed0=$failed
    rm -f "$generated"
    if run "$build/tools/refgen.exe" "$(winpath "$dll")" "$(winpath "$root/docs/reference")" \
        "$(winpath "$generated")" >/dev/null && [ -f "$generated" ]; then
        if diff "$root/docs/reference.md" "$generated" >"$work/reference.diff"; then
            pass
        else
            fail "docs/reference.md differs from what the generator writes (scripts/reference.sh):"
            head -20 "$work/reference.diff"
        fi
    else
        fail "the reference generator failed"
    fi

    # Without a class's notes the generator refuses to write a reference that lacks them.
    mkdir -p "$work/reference-notes"
    cp "$root/docs/reference/Overview.md" "$work/reference-notes/"
    if run "$build/tools/refgen.exe" "$(winpath "$dll")" "$(winpath "$work/reference-notes")" \
        "$(winpath "$work/partial.md")" >/dev/null; then
        fail "reference: the generator succeeded without the classes' notes"
    else
        pass
    fi

    for notes in "$root"/docs/reference/*.md; do
        name=$(basename "$notes" .md)
        [ "$name" != Overview ] || continue
        if ! grep -qx "## $name" "$root/docs/reference.md"; then
            fail "reference: docs/reference/$name.md names no class of the library"
        fi
        code=$(reference_block "$notes" code)
        expected=$(reference_block "$notes" output)
        if [ -z "$code" ] || [ -z "$expected" ]; then
            fail "reference: $name has no example with its output"
            continue
        fi
        printf '%s\n' "$code" >"$work/example-$name.vbs"
        actual=$(run cscript //nologo "$(winpath "$work/example-$name.vbs")")
        if [ "$actual" = "$expected" ]; then
            pass
        else
            fail "reference: the $name example printed otherwise than its notes show:"
            diff <(echo "$expected") <(echo "$actual") | head -10
        fi
    done
    run reg delete 'HKCU\Software\BrevantoTests\reference' /f >/dev/null 2>&1
    echo "reference: $((passed - passed0)) passed, $((failed - failed0)) failed"
}
reference_check
