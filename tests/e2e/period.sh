#!/usr/bin/env bash
# shellcheck disable=SC2016,SC2034  # conditions are evaluated later, over S[] and these variables
# Periods the timer cannot take are refused with one warning and nothing
# else; 1 s refreshes again within a period; 0.5 s refreshes once only.
# shellcheck source=tests/e2e/lib.sh
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
kv_e2e_begin "$@"
kv_app_start

for period in abc "" -1 66 1e12; do
    echo "period '$period':"
    kv_state
    rows_before=${S[rows]}
    time_before=${S[time]}
    kv_probe set txtFreq "$period" || kv_fail "could not type '$period'"
    kv_click cmdSwitch
    kv_probe_check answer-refusal
    kv_state
    kv_expect_eq "period '$period' refused: the switch reads" ON "${S[switch]}"
    kv_expect_eq "period '$period' refused: txtFreq enabled" 1 "${S[freq_enabled]}"
    kv_expect_eq "period '$period' refused: no refresh (rows)" "$rows_before" "${S[rows]}"
    kv_expect_eq "period '$period' refused: no refresh (time)" "$time_before" "${S[time]}"
    kv_app_alive || kv_abort "kestrova.exe ended after period '$period'"
    # A period wrongly taken leaves the switch on; the next one starts stopped.
    if [[ ${S[switch]} == OFF ]]; then
        kv_click cmdSwitch
        kv_wait_for 5 "stopped again" '[[ ${S[switch]} == ON ]]'
    fi
done

kv_probe set txtFreq 1
kv_click cmdSwitch
kv_wait_for 5 "period 1: a first refresh" 'kv_is_time "${S[time]}"'
first=${S[time]}
kv_wait_for 2.5 "period 1: a second refresh within 2.5 s" '[[ ${S[time]} != "$first" ]]'
kv_click cmdSwitch
kv_wait_for 5 "period 1: OFF" '[[ ${S[switch]} == ON ]]'

last=${S[time]}
sleep 1.1
kv_probe set txtFreq 0.5
kv_click cmdSwitch
kv_wait_for 5 "period 0.5: one refresh" '[[ ${S[switch]} == OFF && ${S[time]} != "$last" ]]'
once=${S[time]}
sleep 2.5
kv_state
kv_expect_eq "period 0.5: no further refresh within 2.5 s" "$once" "${S[time]}"
kv_expect_eq "period 0.5: still running" OFF "${S[switch]}"
kv_e2e_finish
