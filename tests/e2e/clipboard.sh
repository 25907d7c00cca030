#!/usr/bin/env bash
# shellcheck disable=SC2016,SC2034  # conditions are evaluated later, over S[] and these variables
# Ctrl+A then Ctrl+C in the table, typed through X, copy the header line and
# every row as tab-separated text.
# shellcheck source=tests/e2e/lib.sh
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
kv_e2e_begin "$@"
kv_app_start

kv_click cmdSwitch
kv_wait_for 10 "rows appear" '((S[rows] > 0)) && kv_is_time "${S[time]}"'
kv_probe clear-clipboard || kv_fail "could not empty the clipboard"

read -r l t r b < <(kv_probe row-rect 0)
timeout 10 xdotool mousemove "$(((l + r) / 2))" "$(((t + b) / 2))"
sleep 0.2
timeout 10 xdotool click 1
sleep 0.3
timeout 10 xdotool key ctrl+a
sleep 0.2
timeout 10 xdotool key ctrl+c
kv_probe_check check-clipboard
kv_shot copied
kv_e2e_finish
