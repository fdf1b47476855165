#!/usr/bin/env bash
# Runs every test: the core's unit tests (plain and under ASan/UBSan), both Windows builds,
# and the client tests of the real DLL under Wine. Warnings are errors here.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh

jobs=2
werror=(-DBREVANTO_WERROR=ON)

echo "== format"
git ls-files -z 'src/*.h' 'src/*.cpp' 'tests/*.h' 'tests/*.cpp' 'bench/*.cpp' 'fuzz/*.h' 'fuzz/*.cpp' |
  xargs -0 clang-format --dry-run -Werror

echo "== layers"
bash scripts/check-layers.sh

echo "== native build and unit tests"
cmake --preset native "${werror[@]}" >/dev/null
cmake --build --preset native -j "$jobs"
ctest --preset native -j "$jobs"

echo "== unit tests under AddressSanitizer and UndefinedBehaviorSanitizer"
cmake --preset native-sanitize "${werror[@]}" >/dev/null
cmake --build --preset native-sanitize -j "$jobs"
ctest --preset native-sanitize -j "$jobs"

echo "== fuzz targets of the core, a short run each over its seeds"
BREVANTO_WERROR=ON bash scripts/fuzz.sh 2000

echo "== Windows builds"
for preset in win64 win32; do
  cmake --preset "$preset" "${werror[@]}" >/dev/null
  cmake --build --preset "$preset" -j "$jobs"
done

echo "== exports and imports of both DLLs"
bash scripts/check-dll.sh build/win32/Brevanto.dll build/win64/Brevanto.dll
bash tests/dll/check_dll_test.sh build/win64/Brevanto.dll

if [ -f scripts/client-tests.sh ]; then
  echo "== client tests under Wine"
  bash scripts/client-tests.sh build/win64
fi
