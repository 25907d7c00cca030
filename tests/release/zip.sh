#!/usr/bin/env bash
# Two release runs give the same zip, and its SHA256SUMS tells the truth
# about it. The first packages the kestrova.exe under test (that a build
# from a clean tree gives these very bytes is same_bytes.sh's matter, so the
# test command builds the program once more, not twice); the second
# packages the first's kestrova.exe again, later, from a file of another
# time and mode, in another time zone and umask.
#   zip.sh <source dir> <version as the program shows it> <kestrova.exe>
set -uo pipefail
release=$1/scripts/release
name=kestrova-$2-win64.zip
# shellcheck source=tests/release/lib.sh
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
work=$(mktemp -d "${TMPDIR:-/tmp}/kestrova-release-test.XXXXXX")
trap 'rm -rf "$work"' EXIT
cd "$work" || exit 1

"$release" --exe "$3" --out first >/dev/null && [[ -f first/$name ]] || { echo "FAIL no $name: $(ls first)"; exit 1; }
python3 -c 'import sys, zipfile; zipfile.ZipFile(sys.argv[1]).extractall("unpacked")' "first/$name" &&
    touch -d '2001-02-03 04:05:06' unpacked/kestrova.exe && chmod 600 unpacked/kestrova.exe &&
    (umask 077 && TZ=Asia/Kathmandu "$release" --exe unpacked/kestrova.exe --out second >/dev/null) ||
    { echo "FAIL the second release run"; exit 1; }
failures=0
kv_same_bytes "first/$name" "second/$name" || failures=$((failures + 1))
kv_same_bytes first/SHA256SUMS second/SHA256SUMS || failures=$((failures + 1))

# Every line of SHA256SUMS holds for the zip or a file in it, and lists each.
cp "first/$name" unpacked/
(cd unpacked && sha256sum --check --strict ../first/SHA256SUMS) || failures=$((failures + 1))
listed=$(awk '{ print $2 }' first/SHA256SUMS | sort)
[[ "$listed" == "$(ls unpacked | sort)" ]] || { echo "FAIL SHA256SUMS lists $listed"; failures=$((failures + 1)); }
# Notepad on Windows 8 shows a file of bare LFs as one line.
grep -qv $'\r$' unpacked/README.txt && { echo "FAIL README.txt: not every line ends in CRLF"; failures=$((failures + 1)); }
((failures == 0))
