#!/usr/bin/env bash
# Builds kestrova.exe a second time, from a copy of the working tree in
# another folder, at another time, in another time zone, with the same
# preset, and requires the very bytes of the build under test: whoever
# rebuilds this source with the pinned toolchain gets the released file.
# A copy rather than a clone of HEAD, so that edits not yet committed are in
# both builds. Only the program's target is built.
#   same_bytes.sh <source dir> <built kestrova.exe>
set -uo pipefail
source_dir=$1
exe=$2
# shellcheck source=tests/release/lib.sh
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"

copy=$(mktemp -d "${TMPDIR:-/tmp}/kestrova-rebuild.XXXXXX")
trap 'rm -rf "$copy"' EXIT
tar -C "$source_dir" --exclude=./build --exclude=./dist --exclude=./.git -cf - . |
    tar -C "$copy" -xf - || { echo "FAIL cannot copy $source_dir to $copy"; exit 1; }

(cd "$copy" && export TZ=Pacific/Kiritimati && cmake --preset windows &&
    cmake --build --preset windows --target kestrova) >"$copy/build.log" 2>&1 ||
    { tail -n 30 "$copy/build.log"; echo "FAIL the second build, in $copy"; exit 1; }
# A difference may also mean a build under test older than its sources.
kv_same_bytes "$exe" "$copy/build/windows/kestrova.exe"
