#!/usr/bin/env bash
# shellcheck disable=SC2016,SC2034  # conditions are evaluated later, over S[] and these variables
# Each row's status light, as it appears on the screen, has the colour its
# adapter's gateway and DNS servers call for.
# shellcheck source=tests/e2e/lib.sh
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
kv_e2e_begin "$@"
kv_app_start

kv_click cmdSwitch
kv_wait_for 10 "rows appear" '((S[rows] > 0)) && kv_is_time "${S[time]}"'
lights=$(kv_probe lights) || kv_abort "cannot place the lights: $lights"

# The table repaints after the refresh; a few screenshots are allowed for it.
for ((attempt = 1; attempt <= 10; attempt++)); do
    kv_shot lights
    wrong=()
    row=0
    while read -r x y w h r g b name; do
        row=$((row + 1))
        seen=$(kv_pixels "$KV_ARTIFACTS/lights.png" $((x + w / 2)) $((y + h / 2)) 1)
        [[ "$seen" == "$r $g $b" ]] ||
            wrong+=("row $row: expected $name ($r $g $b) at $((x + w / 2)),$((y + h / 2)), saw ($seen)")
    done <<<"$lights"
    ((${#wrong[@]} == 0)) && break
    sleep 0.3
done
if ((${#wrong[@]} == 0)); then
    kv_pass "$row lights have the colours their status calls for"
else
    for line in "${wrong[@]}"; do kv_fail "light $line"; done
fi
kv_e2e_finish
