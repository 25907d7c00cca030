#!/usr/bin/env bash
# Two release runs give the same zip, and its SHA256SUMS tells the truth
# about the zip and each file in it. The first run is the whole release, a
# clean build of HEAD; the second packages the first's kestrova.exe again,
# later, from a file of another time and mode, in another time zone and
# umask. Whether the program's own bytes repeat is same_bytes.sh's matter:
# one build is enough here.
#   zip.sh <source dir> <version as the program shows it>
set -uo pipefail
source_dir=$1
version=$2
# shellcheck source=tests/release/lib.sh
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
python=/usr/bin/python3
[[ -x "$python" ]] || python=python3

work=$(mktemp -d "${TMPDIR:-/tmp}/kestrova-release-test.XXXXXX")
trap 'rm -rf "$work"' EXIT
name=kestrova-$version-win64.zip
failures=0

"$source_dir/scripts/release" --out "$work/first" >/dev/null || { echo "FAIL scripts/release"; exit 1; }
[[ -f "$work/first/$name" ]] || { echo "FAIL no $name in: $(ls "$work/first")"; exit 1; }
echo "PASS the release is $name"

"$python" -c 'import sys, zipfile; sys.stdout.buffer.write(zipfile.ZipFile(sys.argv[1]).read("kestrova.exe"))' \
    "$work/first/$name" >"$work/kestrova.exe" || { echo "FAIL no kestrova.exe in $name"; exit 1; }
touch -d '2001-02-03 04:05:06' "$work/kestrova.exe"
chmod 600 "$work/kestrova.exe"
(umask 077 && TZ=Asia/Kathmandu "$source_dir/scripts/release" --exe "$work/kestrova.exe" \
    --out "$work/second" >/dev/null) || { echo "FAIL scripts/release --exe"; exit 1; }
kv_same_bytes "$work/first/$name" "$work/second/$name" || failures=$((failures + 1))
kv_same_bytes "$work/first/SHA256SUMS" "$work/second/SHA256SUMS" || failures=$((failures + 1))

# Every line of SHA256SUMS against the zip or a file in it, every file in
# the zip listed; the text for Windows users in CRLF lines.
"$python" - "$work/first" "$name" <<'PY' || failures=$((failures + 1))
import hashlib, os, sys, zipfile
folder, name = sys.argv[1:]
zip_path = os.path.join(folder, name)
archive = zipfile.ZipFile(zip_path)
files = {member: archive.read(member) for member in archive.namelist()}
files[name] = open(zip_path, "rb").read()
bad = 0
listed = set()
for line in open(os.path.join(folder, "SHA256SUMS"), encoding="ascii"):
    digest, _, listed_name = line.rstrip("\n").partition("  ")
    listed.add(listed_name)
    if listed_name not in files:
        print("FAIL SHA256SUMS lists %s, which is neither the zip nor in it" % listed_name)
        bad += 1
    elif hashlib.sha256(files[listed_name]).hexdigest() != digest:
        print("FAIL SHA256SUMS: wrong hash for %s" % listed_name)
        bad += 1
    else:
        print("PASS SHA256SUMS: %s" % listed_name)
for missing in sorted(set(files) - listed):
    print("FAIL SHA256SUMS does not list %s" % missing)
    bad += 1
text = files.get("README.txt", b"")
if text and text.count(b"\n") == text.count(b"\r\n") and text.endswith(b"\r\n"):
    print("PASS README.txt: %d lines, each ending in CRLF" % text.count(b"\n"))
else:
    print("FAIL README.txt missing or with lines not ending in CRLF")
    bad += 1
sys.exit(1 if bad else 0)
PY
((failures == 0))
