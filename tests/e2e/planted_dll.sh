#!/usr/bin/env bash
# shellcheck disable=SC2016  # conditions are evaluated later, over S[] and these variables
# A version.dll of the test's own beside a copy of the program, with Wine
# told to prefer it, as Windows prefers any DLL beside a program that is not
# a known DLL. The planted DLL writes down who imported it and who called
# it (tests/e2e/plant). First the control: a program that imports
# VERSION.dll loads it. Then Kestrova starts, shows its title and fills the
# table on ON, and neither its import table nor its code brings the planted
# DLL in or calls it; what does is Wine's own user32.dll, which imports
# version.dll under Wine 8.
# shellcheck source=tests/e2e/lib.sh
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
kv_e2e_begin "$@"
[[ -f "${KV_PLANTED_DLL:-}" && -f "${KV_IMPORTS_VERSION:-}" ]] ||
    kv_abort "KV_PLANTED_DLL and KV_IMPORTS_VERSION must name the planted DLL and its control"

downloads=$KV_ARTIFACTS/downloads
mkdir -p "$downloads"
cp "$KV_PLANTED_DLL" "$downloads/version.dll"
cp "$KV_IMPORTS_VERSION" "$downloads/imports_version.exe"
cp "$KV_EXE" "$downloads/kestrova.exe"
mark=$downloads/planted-version.mark
prefer_planted="version=n,b;mscoree,mshtml="

# The mark's importers and callers outside Wine's system folder.
kv_strangers() {
    grep -E '^(imported by|called .* from) ' "$mark" 2>/dev/null |
        grep -viE '^(imported by|called .* from) C:\\windows\\system32\\'
}

WINEDLLOVERRIDES=$prefer_planted timeout 30 wine "$downloads/imports_version.exe" \
    </dev/null >/dev/null 2>&1
kv_that "control: a program importing VERSION.dll loads the planted one" \
    'grep -qiE "^imported by .*\\\\imports_version\\.exe$" "$mark"' \
    "$(cat "$mark" 2>/dev/null || echo 'no mark')"
rm -f "$mark"

KV_EXE=$downloads/kestrova.exe
WINEDLLOVERRIDES=$prefer_planted kv_app_start
kv_probe_check check-startup
kv_click cmdSwitch
kv_wait_for 10 "ON: rows and a time appear" '((S[rows] > 0)) && kv_is_time "${S[time]}"'
kv_app_stop
# Without the planted DLL in the process the rest would prove nothing.
kv_that "the planted DLL was in Kestrova's process" \
    'grep -qiE "^loaded into .*\\\\kestrova\\.exe$" "$mark"' "$(cat "$mark" 2>/dev/null || echo 'no mark')"
kv_that "nothing of Kestrova's own imports or calls the planted DLL" '[[ -z "$(kv_strangers)" ]]' \
    "$(kv_strangers)"
kv_e2e_finish
