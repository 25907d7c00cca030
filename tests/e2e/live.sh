#!/usr/bin/env bash
# shellcheck disable=SC2016,SC2034  # conditions are evaluated later, over S[], P[] and these variables
# The table as a live monitor, on a computer with dozens of adapters (veth
# pairs in a private network namespace) that change while it runs: the
# user's place (selection, focus, top row, sideways scroll) survives every
# refresh, a changed row is drawn apart from the others, header clicks sort
# by address and the sort survives refreshes, and a third click brings back
# the order WMI delivers.
# shellcheck source=tests/e2e/lib.sh
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
kv_netns_enter "$@"
kv_e2e_begin "$@"

pairs=16
# No link-local addresses: they would come and go while the test looks. A
# few adapters get an IPv6 address of their own instead, so that sorting by
# address has both families to order.
sysctl -qw net.ipv6.conf.default.addr_gen_mode=1 || kv_abort "cannot turn off link-local addresses"
for ((i = 0; i < pairs; i++)); do
    # Third octets that sort differently as numbers and as text (9 < 10 < 100).
    kv_netns_veth "kva$i" "kvb$i" "10.0.$(((i * 37) % 101)).1/24" ||
        kv_abort "cannot make veth pair $i"
    if ((i % 5 == 0)); then
        ip -6 addr add "2001:db8::$((i + 1))/64" dev "kvb$i" nodad || kv_abort "cannot add IPv6 to kvb$i"
    fi
done
adapters=$((2 * pairs))

# P[] from the probe's place: rows, top_index, top, focused, selected, scroll_x.
declare -A P=()
kv_place() {
    kv_pairs P place
}
kv_place_text() {
    local k
    for k in top_index top focused selected scroll_x; do printf "%s='%s' " "$k" "${P[$k]-}"; done
}

kv_app_start
kv_probe set txtFreq 1
kv_click cmdSwitch
kv_wait_for 15 "all $adapters adapters listed" '((S[rows] == adapters)) && kv_is_time "${S[time]}"'
kv_probe_check check-rows

# ---- the user's place survives refreshes ------------------------------------
row=$((adapters - 3))
kv_probe show-row "$row" || kv_fail "could not bring row $row into view"
read -r l t r b < <(kv_probe row-rect "$row")
timeout 10 xdotool mousemove $(((l + r) / 2)) $(((t + b) / 2)) click 1
sleep 0.3
kv_probe scroll 60 || kv_fail "could not scroll sideways"
kv_place
before=$(kv_place_text)
chosen=$(kv_probe rows | sed -n "$((row + 1))p" | cut -f1)
kv_expect_eq "the clicked row is selected" "$chosen" "${P[selected]-}"
kv_expect_eq "and focused" "$chosen" "${P[focused]-}"
kv_that "the view is scrolled down and sideways" '((P[top_index] > 0 && P[scroll_x] > 0))' "$before"

kv_refreshes 3
kv_place
kv_expect_eq "after three refreshes the place is the same" "$before" "$(kv_place_text)"

# ---- a change, and an adapter that comes ------------------------------------
# A longer period, so that the highlight of a change lasts long enough to be
# photographed; ON refreshes at once.
kv_click cmdSwitch
kv_wait_for 5 "OFF" '[[ ${S[switch]} == ON ]]'
kv_probe set txtFreq 6
kv_click cmdSwitch
kv_wait_for 5 "ON at 6 s" '[[ ${S[switch]} == OFF ]]'
sleep 1
kv_place
changed_name=$(kv_probe rows | sed -n "$((P[top_index] + 1))p" | cut -f2)
steady_row=$((P[top_index] + 1))
ip addr add 10.250.0.1/24 dev "$changed_name" || kv_fail "could not add an address to $changed_name"
kv_wait_for 9 "the new address shows in $changed_name's row" \
    '[[ $(kv_probe rows) == *"10.250.0.1"* ]]'
changed_row=$(kv_row_of "$changed_name")
kv_shot changed
amber_changed=$(kv_marked_pixels "$KV_ARTIFACTS/changed.png" "$changed_row")
amber_steady=$(kv_marked_pixels "$KV_ARTIFACTS/changed.png" "$steady_row")
kv_that "the changed row ($changed_name) is drawn apart: amber behind it" \
    '((amber_changed > 20))' "$amber_changed amber pixels"
kv_that "an unchanged row is not" '((amber_steady == 0))' "$amber_steady amber pixels"
kv_place
kv_expect_eq "a changed cell moves nobody's place" "$before" "$(kv_place_text)"

kv_netns_veth kvnew0 kvnew1 10.251.0.1/24 || kv_fail "could not add a veth pair"
kv_wait_for 9 "two adapters came" '((S[rows] == adapters + 2))'
kv_place
kv_expect_eq "the selection stays with its adapter" "$chosen" "${P[selected]-}"
kv_expect_eq "so does the focus" "$chosen" "${P[focused]-}"
kv_probe_check check-rows

# ---- sorting ----------------------------------------------------------------
kv_click cmdSwitch
kv_wait_for 5 "OFF" '[[ ${S[switch]} == ON ]]'
kv_probe set txtFreq 1
kv_click cmdSwitch
ip_column=2
click_header() {
    local l t r b
    read -r l t r b < <(kv_probe header-rect "$1") || return 1
    timeout 10 xdotool mousemove $(((l + r) / 2)) $(((t + b) / 2)) click 1
    sleep 0.4
}
arrows() {
    kv_probe sort-arrows | awk -v c=$(($1 + 1)) '{ print $c }'
}

click_header "$ip_column"
kv_probe_check check-sorted "$ip_column" up
kv_expect_eq "the IP header shows the ascending arrow" up "$(arrows "$ip_column")"
kv_place
kv_expect_eq "the selection follows its adapter through the sort" "$chosen" "${P[selected]-}"
kv_shot sorted

click_header "$ip_column"
kv_probe_check check-sorted "$ip_column" down
kv_expect_eq "a second click: the descending arrow" down "$(arrows "$ip_column")"
kv_refreshes 2
kv_probe_check check-sorted "$ip_column" down
kv_expect_eq "the focus is still on its adapter" "$chosen" "$(kv_place && echo "${P[focused]-}")"

click_header "$ip_column"
kv_expect_eq "a third click: no arrow" "none" "$(arrows "$ip_column")"
kv_probe_check check-rows
kv_e2e_finish
