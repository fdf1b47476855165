# Reference and handle stress of the DLL (tests/client/stress.cpp), sourced by
# scripts/client-tests.sh with its helpers. BREVANTO_STRESS_SCALE sets the objects created per
# class (default 5000 here; scripts/stress.sh runs 100000). The dialog rounds need a display:
# without Xvfb they are skipped with a note.
stress_scale=${BREVANTO_STRESS_SCALE:-5000}
stress_dir=$(mktemp -d "$work/stress-XXXXXX")
stress_figures() { printf '%s\n' "$1" | grep -E '^(probe|figure|time) ' | sed 's/^/[stress] /'; }

# The full scale runs for many minutes under Wine: longer than run()'s limit.
stress_out=$(timeout 7200 wine "$build/tests/stress.exe" "$(winpath "$dll")" "$stress_scale" \
    "$(winpath "$stress_dir")" 2>/dev/null | tr -d '\r')
stress_figures "$stress_out"
tally stress "$stress_out"

[ -n "$display" ] || start_display
if [ -z "$display" ]; then
    echo "stress: no display (Xvfb is not installed): the dialog rounds are skipped"
else
    # One cancel per round plus the warm-up, then the save and the open that choose a file.
    stress_rounds=$((stress_scale / 1000))
    [ "$stress_rounds" -ge 5 ] || stress_rounds=5
    [ "$stress_rounds" -le 100 ] || stress_rounds=100
    stress_steps=()
    for _ in $(seq $((stress_rounds + 1))); do stress_steps+=(--caption "Brevanto stress" cancel); done
    stress_steps+=(--caption "Brevanto stress save" type stress.txt)
    stress_steps+=(--caption "Brevanto stress open" type stress.txt)
    restart_wine
    DISPLAY=$display timeout 600 wine "$build/tests/window_driver.exe" --timeout 30 \
        "${stress_steps[@]}" >"$work/stress-driver.out" 2>/dev/null &
    stress_driver=$!
    stress_out=$(DISPLAY=$display timeout 600 wine "$build/tests/stress.exe" "$(winpath "$dll")" \
        "$stress_scale" "$(winpath "$stress_dir")" dialogs 2>/dev/null | tr -d '\r')
    stress_figures "$stress_out"
    tally "stress dialogs" "$stress_out"
    for _ in $(seq 30); do kill -0 "$stress_driver" 2>/dev/null || break; sleep 0.2; done
    kill "$stress_driver" 2>/dev/null
    wait "$stress_driver" 2>/dev/null
    tally "stress dialogs (window driver)" "$(tr -d '\r' <"$work/stress-driver.out")"
    restart_wine
fi
