# Generated calls of every member of every class, late and early bound (call_fuzz.exe), a
# thousand per class with a fixed seed so that a failure here replays exactly; scripts/call-fuzz.sh
# runs the long version. Sourced by scripts/client-tests.sh (run, winpath, tally, $build, $dll,
# $work). Members that would touch files or the registry outside the test's own places are left
# out by the program, which prints them.
fuzz_scratch=$(mktemp -d "$work/call-fuzz-XXXXXX")
fuzz_out=$(cd "$fuzz_scratch" && run "$build/tests/call_fuzz.exe" "$(winpath "$dll")" \
    --scratch "$(winpath "$fuzz_scratch")" --calls "${BREVANTO_FUZZ_CALLS:-1000}" --seed 20261206)
printf '%s\n' "$fuzz_out" | grep -E '^seed' | sed 's/^/call_fuzz: /'
tally call_fuzz "$fuzz_out"
rm -rf "$fuzz_scratch"
