#!/usr/bin/env bash
# shellcheck disable=SC2016,SC2034  # conditions are evaluated later, over S[] and these variables
# ON fills the table with what WMI says; OFF stops and keeps it; ON with no
# computer name does nothing at all.
# shellcheck source=tests/e2e/lib.sh
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
kv_e2e_begin "$@"
kv_app_start

kv_click cmdSwitch
kv_wait_for 10 "ON: rows and a time appear" '((S[rows] > 0)) && kv_is_time "${S[time]}"'
kv_expect_eq "ON: the switch reads" OFF "${S[switch]}"
kv_expect_eq "ON: txtFreq disabled (enabled flag)" 0 "${S[freq_enabled]}"
kv_probe_check check-rows
kv_shot on

# A second boundary passes before each press, so a refresh that should not
# happen would show in the time label.
rows_on=$(kv_probe rows)
time_on=${S[time]}
sleep 1.1
kv_click cmdSwitch
kv_wait_for 5 "OFF: the switch reads ON" '[[ ${S[switch]} == ON ]]'
kv_expect_eq "OFF: txtFreq enabled" 1 "${S[freq_enabled]}"
kv_expect_eq "OFF: the time is kept" "$time_on" "${S[time]}"
kv_expect_eq "OFF: the rows are kept" "$rows_on" "$(kv_probe rows)"

sleep 1.1
kv_probe set txtComputer "" || kv_fail "could not empty txtComputer"
kv_click cmdSwitch
sleep 1.5
kv_state
kv_expect_eq "ON with no computer name: the switch still reads" ON "${S[switch]}"
kv_expect_eq "ON with no computer name: txtFreq enabled" 1 "${S[freq_enabled]}"
kv_expect_eq "ON with no computer name: the time is unchanged" "$time_on" "${S[time]}"
kv_expect_eq "ON with no computer name: the rows are unchanged" "$rows_on" "$(kv_probe rows)"
kv_expect_eq "ON with no computer name: no box" 0 "${S[dialogs]}"
kv_e2e_finish
