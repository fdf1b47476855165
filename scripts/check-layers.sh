#!/usr/bin/env bash
# Fails when an #include points up a layer. The layers, from the ground up: the frame, the
# platform seam, the classes (one layer: the text helper may use the SQL translator), the COM
# server. Tests, benchmarks and tools may include anything.
set -euo pipefail
cd "$(dirname "$0")/.."

layer() {
    case $1 in
        frame) echo 0 ;;
        platform) echo 1 ;;
        sql | text | registry | dialogs | cmdline | arrays | system) echo 2 ;;
        com) echo 3 ;;
        *) echo -1 ;;
    esac
}

bad=0
checked=0
while IFS= read -r file; do
    own=$(layer "$(echo "$file" | cut -d/ -f2)")
    [ "$own" -ge 0 ] || continue
    checked=$((checked + 1))
    while IFS=: read -r line target; do
        [ -n "$target" ] || continue
        other=$(layer "${target%%/*}")
        if [ "$other" -gt "$own" ]; then
            echo "$file:$line includes \"$target\", a layer above its own"
            bad=$((bad + 1))
        fi
    done < <(grep -nE '^[[:space:]]*#[[:space:]]*include[[:space:]]+"[a-z]+/' "$file" |
        sed -E 's|^([0-9]+):.*"([^"]+)".*|\1:\2|')
done < <(git ls-files 'src/*.h' 'src/*.cpp' 'src/*.in')

echo "layers: $checked files checked, $bad includes point up a layer"
[ "$bad" -eq 0 ]
