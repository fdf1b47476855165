#!/usr/bin/env bash
# Builds the release: Release builds of the 64-bit and the 32-bit DLL, gathered with the type
# library, the early-bound files, the manifests and the user's README into
# dist/Brevanto-<version>/, and that folder zipped as dist/Brevanto-<version>.zip.
#
# The zip is reproducible: the same commit gives the same bytes. Files carry the commit's time,
# entries are sorted, no extra attributes are stored, and the linker writes no time stamp.
#
# Usage: scripts/release.sh
#   BREVANTO_RELEASE_X64, BREVANTO_RELEASE_X86  build folders to use (default build/release-x64
#       and build/release-x86); an existing one is reused if it is a Release build, so the
#       win64 and win32 preset builds serve as they are
#   BREVANTO_DIST  where the folder and the zip go (default dist)
#   BREVANTO_BUILD  the build number (default: the commit count, as in src/CMakeLists.txt)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
bash scripts/install-deps.sh

absolute() { case $1 in /*) echo "$1" ;; *) echo "$root/$1" ;; esac; }
x64=$(absolute "${BREVANTO_RELEASE_X64:-build/release-x64}")
x86=$(absolute "${BREVANTO_RELEASE_X86:-build/release-x86}")
dist=$(absolute "${BREVANTO_DIST:-dist}")

# The build number and the files' time both come from the commit (see src/CMakeLists.txt).
if git rev-parse --verify -q HEAD >/dev/null 2>&1; then
    build_number=${BREVANTO_BUILD:-$(git rev-list --count HEAD)}
    stamp=$(git log -1 --format=%ct HEAD)
    [ -z "$(git status --porcelain --untracked-files=no)" ] ||
        echo "warning: the checkout has uncommitted changes; this release is not that of a commit" >&2
else
    build_number=${BREVANTO_BUILD:-0}
    stamp=315532800  # 1980-01-01, the earliest time a zip entry can hold
fi
version=$(sed -nE 's/^project\(Brevanto VERSION ([0-9]+\.[0-9]+).*/\1/p' CMakeLists.txt).$build_number
[[ $version =~ ^[0-9]+\.[0-9]+\.[0-9]+$ ]] || { echo "no version in CMakeLists.txt" >&2; exit 1; }
name=Brevanto-$version

build() {  # folder, toolchain file
    local dir=$1 toolchain=$2
    if [ -f "$dir/CMakeCache.txt" ]; then
        grep -q '^CMAKE_BUILD_TYPE:STRING=Release$' "$dir/CMakeCache.txt" || {
            echo "$dir is not a Release build" >&2
            exit 1
        }
        cmake "$dir" -DBREVANTO_BUILD:STRING="$build_number" >/dev/null
    else
        cmake -S "$root" -B "$dir" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/$toolchain" \
            -DCMAKE_BUILD_TYPE=Release -DBREVANTO_BUILD:STRING="$build_number" >/dev/null
    fi
    cmake --build "$dir" -j 2 --target brevanto_com >/dev/null
}
echo "== building $name"
build "$x64" mingw-w64-x86_64.cmake
build "$x86" mingw-w64-i686.cmake

echo "== gathering $dist/$name"
out=$dist/$name
rm -rf "$out" "$out.zip"
mkdir -p "$out/x64" "$out/x86"
for arch in x64 x86; do
    dir=$x64
    [ $arch = x64 ] || dir=$x86
    cp "$dir/Brevanto.dll" "$dir/Brevanto.manifest" "$out/$arch/"
done
# The 32-bit form of the type library, the one classic 32-bit tools read; each DLL carries its
# own form inside.
cp "$x86/Brevanto.tlb" "$out/"
cp "$x64/brevanto.idl" "$x64/brevanto.h" "$x64/brevanto_i.c" docs/reference.md "$out/"
sed -e "s/@VERSION@/$version/g" scripts/release-readme.md >"$out/README.md"

echo "== zipping $dist/$name.zip"
find "$out" -type d -exec chmod 755 {} +
find "$out" -type f -exec chmod 644 {} +
find "$out" -exec touch -h -d "@$stamp" {} +
# Zip stores local time: UTC makes the entries' times independent of the machine's zone.
(cd "$dist" && find "$name" -type f | LC_ALL=C sort | TZ=UTC zip -q -X -9 "$name.zip" -@)

(cd "$dist" && find "$name" -type f | LC_ALL=C sort | xargs stat -c '%10s  %n')
echo "$(stat -c '%10s' "$dist/$name.zip")  $name.zip"
