#!/usr/bin/env bash
# shellcheck disable=SC2016,SC2034  # conditions are evaluated later, over S[] and these variables
# A computer name that does not resolve: the failure shows in the time
# label with the resolver's own code, the rows stay, monitoring goes on and
# recovers with the real name.
# shellcheck source=tests/e2e/lib.sh
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
kv_e2e_begin "$@"
kv_app_start

# What the resolver says of it depends on the machine's DNS (no such host,
# or no answer at all), so the probe asks the resolver first.
unreachable=kestrova-unreachable
code=$(kv_probe resolver-code "$unreachable")
[[ "$code" =~ ^0x[0-9A-F]{8}$ ]] || kv_abort "the resolver has an answer for $unreachable: $code"

kv_state
computer=${S[computer]}
kv_probe set txtFreq 1
kv_click cmdSwitch
kv_wait_for 10 "period 1: rows and a time" '((S[rows] > 0)) && kv_is_time "${S[time]}"'
rows_before=$(kv_probe rows)

kv_probe set txtComputer "$unreachable" || kv_fail "could not type the name"
kv_wait_for 4 "the failure shows in lblTime" \
    '[[ ${S[time]} == *"$unreachable"* && ${S[time]} == *"$code"* ]]'
kv_shot failure
kv_expect_eq "the rows stay" "$rows_before" "$(kv_probe rows)"
kv_expect_eq "monitoring goes on" OFF "${S[switch]}"
kv_app_alive || kv_abort "kestrova.exe ended after the failure"

kv_probe set txtComputer "$computer" || kv_fail "could not type the name back"
kv_wait_for 4 "the next tick refreshes: a plain time" 'kv_is_time "${S[time]}"'
kv_probe_check check-rows
kv_e2e_finish
