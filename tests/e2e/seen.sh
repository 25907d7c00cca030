#!/usr/bin/env bash
# shellcheck disable=SC2016  # conditions are evaluated later, over S[] and these variables
# Changes a user was not there to see: an address changes while another
# window is in front, and its row stays marked until Kestrova has been in
# front for 10 s; the same while the session is locked, the computer asleep,
# the window minimized, nobody gives input, the latest input is over a
# minute old, or the row is out of view (F8 goes there); a tip tells the old and new value; the
# window of changes lists it and copies it; and in a table sorted by address
# and scrolled to its top, a new adapter that sorts first comes into view.
# shellcheck source=tests/e2e/lib.sh
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
kv_netns_enter "$@"
kv_e2e_begin "$@"

sysctl -qw net.ipv6.conf.default.addr_gen_mode=1 || kv_abort "cannot turn off link-local addresses"
# Enough adapters that the last rows lie below the table's view.
pairs=6
for ((i = 0; i < pairs; i++)); do
    kv_netns_veth "kva$i" "kvb$i" "10.0.$((i + 10)).1/24" || kv_abort "cannot make veth pair $i"
done
adapters=$((2 * pairs))
declare -A P=()

kv_app_start
kv_probe set txtFreq 1
kv_click cmdSwitch
kv_wait_for 15 "all $adapters adapters listed" '((S[rows] == adapters))'

# ---- a change while another window is in front -------------------------------
kv_probe hold-front 60 &
holder=$!
kv_wait_for 5 "another window is in front" '[[ $(kv_probe foreground) == other ]]'
changed=kva1
ip addr add 10.250.0.1/24 dev "$changed" || kv_abort "cannot add an address to $changed"
kv_wait_for 9 "the new address shows" '[[ $(kv_probe rows) == *"10.250.0.1"* ]]'
kv_refreshes 5
row=$(kv_row_of "$changed")
# Another process brings it into view: only time in view counts.
kv_probe show-row "$row"
kv_shot behind
amber=$(kv_marked_pixels "$KV_ARTIFACTS/behind.png" "$row")
kv_that "five refreshes later, $changed's row is still marked" '((amber > 20))' "$amber amber pixels"
other=$(kv_row_of kva2)
amber_other=$(kv_marked_pixels "$KV_ARTIFACTS/behind.png" "$other")
kv_that "a row that did not change is not" '((amber_other == 0))' "$amber_other amber pixels"

# ---- the tip tells what changed ----------------------------------------------
read -r l t r b < <(kv_probe row-rect "$row")
x=$((l + 200))
y=$(((t + b) / 2))
# One motion, the first over the list: the tip it creates must show without
# another.
timeout 10 xdotool mousemove "$x" "$y"
tip=""
for ((i = 0; i < 30; i++)); do
    tip=$(kv_probe tip 2>/dev/null) && [[ "$tip" == *"10.250.0.1"* ]] && break
    sleep 0.2
done
kv_that "a tip over the row tells when it changed" '[[ $tip == *"Changed at "* ]]' "'$tip'"
kv_that "and the old and the new value" \
    '[[ $tip == *"10.0.11.1 → 10.250.0.1"* || $tip == *"none → 10.250.0.1"* ]]' "'$tip'"
timeout 10 xdotool mousemove 5 1000

# ---- seen for 10 s, and a refresh: the mark goes -------------------------------
kill "$holder" 2>/dev/null
wait "$holder" 2>/dev/null
kv_probe front || kv_fail "could not bring Kestrova to the front"
kv_wait_for 5 "Kestrova is in front" '[[ $(kv_probe foreground) == kestrova ]]'
sleep 9
kv_shot nine_seconds
amber=$(kv_marked_pixels "$KV_ARTIFACTS/nine_seconds.png" "$row")
kv_that "after 9 s in front the row is still marked" '((amber > 20))' \
    "$amber amber pixels in row $row at $(kv_probe row-rect "$row")"
sleep 1.5
kv_refreshes 2
kv_shot seen
amber=$(kv_marked_pixels "$KV_ARTIFACTS/seen.png" "$row")
kv_that "after 10 s in front and a refresh the mark is gone" '((amber == 0))' "$amber amber pixels"

# ---- away from the desk ------------------------------------------------------
# Input comes every second as pointer motion over a window of the probe's own
# that never takes the foreground, so that only the condition under test
# explains a mark that stays.
pad_y=$(($(xdotool getdisplaygeometry | cut -d' ' -f2) - 40))
timeout 600 wine "$KV_PROBE" input-pad 590 </dev/null &
pad=$!
input_on="$KV_ARTIFACTS/input-on"
touch "$input_on"
driver=$$
(
    for ((i = 0; i < 600; i++)); do
        kill -0 "$driver" 2>/dev/null || exit 0
        [[ -e "$input_on" ]] && timeout 5 xdotool mousemove 40 "$pad_y" mousemove 60 "$pad_y"
        sleep 1
    done
) &
input_loop=$!
nudge() { timeout 5 xdotool mousemove 45 "$pad_y" mousemove 65 "$pad_y"; }
# With no window manager, keys and the wheel go to the window under the
# pointer: the loop leaves it alone while they are sent.
hands_on() { rm -f "$input_on"; sleep 1.1; }

marked() { # marked NAME DEVICE: amber pixels of DEVICE's row in a screenshot called NAME
    local row
    row=$(kv_row_of "$2")
    kv_probe show-row "$row"
    sleep 0.3
    kv_shot "$1"
    kv_marked_pixels "$KV_ARTIFACTS/$1.png" "$row"
}

# away NAME DEVICE ADDRESS LEAVE RETURN [late]: in front, LEAVE (late: after the change);
# an address changes, its row in view; 12 s later RETURN; the row is still marked after the
# next refresh, and not after 12 s more in front with input.
away() {
    local name=$1 dev=$2 address=$3 leave=$4 return=$5 late=${6:-} amber
    kv_probe front || kv_fail "$name: could not bring Kestrova to the front"
    kv_wait_for 5 "$name: Kestrova is in front" '[[ $(kv_probe foreground) == kestrova ]]'
    [[ -n $late ]] || eval "$leave"
    ip addr add "$address/24" dev "$dev" || kv_abort "cannot add an address to $dev"
    kv_wait_for 9 "$name: the new address shows" '[[ $(kv_probe rows) == *"$address"* ]]'
    kv_probe show-row "$(kv_row_of "$dev")"
    [[ -z $late ]] || eval "$leave"
    sleep 12
    eval "$return"
    kv_refreshes 1
    amber=$(marked "$name-back" "$dev")
    kv_that "$name: 12 s later and a refresh after the return, the row is still marked" \
        '((amber > 20))' "$amber amber pixels"
    sleep 12
    kv_refreshes 2
    amber=$(marked "$name-seen" "$dev")
    kv_that "$name: after 12 s more in front with input it is not" '((amber == 0))' \
        "$amber amber pixels"
}

away locked kva0 10.251.0.1 \
    'kv_probe post 0x2B1 7' \
    'kv_probe post 0x2B1 8'
# Asleep: input after the change, none from the suspend to the resume.
away asleep kva2 10.252.0.1 \
    'rm -f "$input_on"; sleep 1.2; nudge; kv_probe post 0x218 4' \
    'kv_probe post 0x218 0x12; kv_probe post 0x218 7; touch "$input_on"' late
away minimized kva3 10.253.0.1 \
    'kv_probe minimize; kv_wait_for 5 "minimized" "[[ \$(kv_probe iconic) == 1 ]]"
     kv_that "minimized and still in front" "[[ \$(kv_probe foreground) == kestrova ]]"' \
    'kv_probe restore; kv_wait_for 5 "restored" "[[ \$(kv_probe iconic) == 0 ]]"'

# Nobody there: the change comes a few seconds after the last input.
rm -f "$input_on"
sleep 3
ip addr add 10.254.0.1/24 dev kva1 || kv_abort "cannot add an address to kva1"
kv_wait_for 9 "unattended: the new address shows" '[[ $(kv_probe rows) == *"10.254.0.1"* ]]'
kv_probe show-row "$(kv_row_of kva1)"
sleep 66
amber=$(marked unattended kva1)
kv_that "unattended: 66 s in front with no input, the row is still marked" '((amber > 20))' \
    "$amber amber pixels"
touch "$input_on"
sleep 12
kv_refreshes 2
amber=$(marked attended kva1)
kv_that "unattended: after input and 12 s in front it is not" '((amber == 0))' \
    "$amber amber pixels"

# Out of view: at the table's top, a row below changes; 11 s in front with input count
# nothing for it: scrolled to with the wheel, still marked; gone after 10 s in view.
kv_probe show-row 0
read -r _ _ _ bottom < <(kv_probe rect Adaptors)
below=$((adapters - 1))
row_top() { kv_probe row-rect "$1" | cut -d' ' -f2; }
(($(row_top "$below") >= bottom)) || kv_abort "row $below is in view (table bottom $bottom)"
hidden=$(kv_probe rows | sed -n "$((below + 1))p" | cut -f2)
ip addr add 10.249.0.1/24 dev "$hidden" || kv_abort "cannot add an address to $hidden"
kv_wait_for 9 "out of view: the new address shows" '[[ $(kv_probe rows) == *"10.249.0.1"* ]]'
sleep 11
read -r l t r b < <(kv_probe rect Adaptors)
hands_on
timeout 10 xdotool mousemove $(((l + r) / 2)) $(((t + b) / 2)) click --repeat 8 --delay 60 5
touch "$input_on"
# Above the horizontal scroll bar, wholly in the client area.
kv_wait_for 5 "the wheel brings it into view" '(($(row_top "$below") < bottom - 40))'
kv_refreshes 1
amber=$(marked scrolled "$hidden")
kv_that "out of view: 11 s in front with input, then scrolled to, the row is still marked" \
    '((amber > 20))' "$amber amber pixels"
sleep 12
kv_refreshes 2
amber=$(marked scrolled_seen "$hidden")
kv_that "out of view: after 12 s in view it is not" '((amber == 0))' "$amber amber pixels"

# F8, wherever the focus is: the change focused, selected alone and in view.
kv_probe show-row 0
ip addr add 10.249.0.2/24 dev "$hidden" || kv_abort "cannot add an address to $hidden"
kv_wait_for 9 "F8: the new address shows" '[[ $(kv_probe rows) == *"10.249.0.2"* ]]'
mac=$(kv_probe rows | sed -n "$((below + 1))p" | cut -f1)
# The focus in the computer box, not in the table.
read -r x y < <(kv_centre_of txtComputer)
hands_on
timeout 10 xdotool mousemove "$x" "$y" click 1 sleep 0.3 key F8
kv_wait_for 5 "F8 brings the changed row into view" '(($(row_top "$below") < bottom - 40))'
kv_pairs P place
kv_expect_eq "F8: the changed row is focused" "$mac" "${P[focused]-}"
kv_expect_eq "F8: and selected alone" "$mac" "${P[selected]-}"

# Somebody looked once, then left: input once 2 s after a change made while
# another window was in front, then none for 65 s, then Kestrova in front.
rm -f "$input_on"
timeout 200 wine "$KV_PROBE" hold-front 190 </dev/null &
holder=$!
kv_wait_for 5 "another window is in front" '[[ $(kv_probe foreground) == other ]]'
ip addr add 10.255.0.1/24 dev kvb0 || kv_abort "cannot add an address to kvb0"
kv_wait_for 9 "left: the new address shows" '[[ $(kv_probe rows) == *"10.255.0.1"* ]]'
kv_probe show-row "$(kv_row_of kvb0)"
sleep 2
nudge
sleep 65
kill "$holder" 2>/dev/null
wait "$holder" 2>/dev/null
kv_probe front || kv_fail "could not bring Kestrova to the front"
kv_wait_for 5 "Kestrova is in front" '[[ $(kv_probe foreground) == kestrova ]]'
sleep 12
kv_refreshes 1
amber=$(marked left kvb0)
kv_that "left: 12 s in front, but the latest input is over 60 s old: still marked" \
    '((amber > 20))' "$amber amber pixels"
kill "$input_loop" "$pad" 2>/dev/null
wait "$pad" 2>/dev/null

# ---- the window of changes ----------------------------------------------------
read -r l t r b < <(kv_probe row-rect "$row")
timeout 10 xdotool mousemove $(((l + r) / 2)) $(((t + b) / 2)) click 1
sleep 0.3
timeout 10 xdotool key shift+F10
sleep 0.5
timeout 10 xdotool key h
kv_wait_for 5 "Changes... opens the window of changes" '[[ $(kv_probe changes-visible) == 1 ]]'
entries=$(kv_probe changes-rows)
line=$(grep -F "10.250.0.1" <<<"$entries" | head -n 1)
IFS=$'\t' read -r when computer mac description change <<<"$line"
kv_that "it lists the change with its time" 'kv_is_time "$when"' "'$line'"
kv_that "the computer and the adapter" \
    '[[ -n $computer && -n $mac && $description == "$changed" ]]' "'$line'"
kv_that "and what changed, old and new" '[[ $change == *" → 10.250.0.1" ]]' "'$line'"
kv_probe clear-clipboard
timeout 10 xdotool key ctrl+a ctrl+c
sleep 0.5
copied=$(kv_probe clipboard | tr -d '\r')
kv_that "the copy has the header line" \
    '[[ $(head -n 1 <<<"$copied") == "Time	Computer	Mac	Description	Change" ]]' "'$(head -n 1 <<<"$copied")'"
kv_that "and the change" '[[ $copied == *"$changed"*"10.250.0.1"* ]]' "'$copied'"
timeout 10 xdotool key Escape
kv_wait_for 5 "Esc closes it" '[[ $(kv_probe changes-visible) == 0 ]]'
kv_that "and gives the foreground back to the main window" '[[ $(kv_probe foreground) == kestrova ]]'

# ---- sorted by address, at the top: a new first row is in view ---------------
read -r l t r b < <(kv_probe header-rect 2)
timeout 10 xdotool mousemove $(((l + r) / 2)) $(((t + b) / 2)) click 1
sleep 0.4
kv_probe_check check-sorted 2 up
kv_probe show-row 0
kv_netns_veth kvnew0 kvnew1 1.1.1.1/24 || kv_fail "could not add a veth pair"
kv_wait_for 9 "two adapters came" '((S[rows] == adapters + 2))'
kv_pairs P place
first=$(kv_probe rows | head -n 1 | cut -f3)
kv_expect_eq "the new adapter sorts first" "1.1.1.1" "$first"
kv_expect_eq "and the table is still at its top, so it is in view" 0 "${P[top_index]-}"
kv_e2e_finish
