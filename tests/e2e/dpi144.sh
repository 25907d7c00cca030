#!/usr/bin/env bash
# shellcheck disable=SC2016,SC2034  # conditions are evaluated later, over S[] and these variables
# At 144 DPI (a prefix of its own with LogPixels 144): every place and size
# is the 96-DPI one scaled by 1.5, and the pictures are drawn at 24 px, not
# as 16-px ones.
# shellcheck source=tests/e2e/lib.sh
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
kv_e2e_begin 144 "$@"
kv_expect_eq "the prefix's DPI" 144 "$(kv_probe system-dpi)"
kv_app_start

kv_probe_check check-layout 144

kv_click cmdSwitch
kv_wait_for 10 "rows appear" '((S[rows] > 0)) && kv_is_time "${S[time]}"'
lights=$(kv_probe lights) || kv_abort "cannot place the lights: $lights"
sleep 0.5
kv_shot dpi144
shot=$KV_ARTIFACTS/dpi144.png

# kv_extent X Y WIDTH: how many pixels of the run, from the first to the last,
# differ from the background at its start.
kv_extent() {
    kv_pixels "$shot" "$1" "$2" "$3" | awk '
        NR == 1 { back = $0 }
        $0 != back { if (!first) first = NR; last = NR }
        END { print (first ? last - first + 1 : 0) }'
}

fills=" 76 255 0 | 255 216 0 | 255 0 0 "
row=0
while read -r x y w h _; do
    row=$((row + 1))
    cy=$((y + h / 2))
    centre=$(kv_pixels "$shot" $((x + w / 2)) "$cy" 1)
    kv_that "row $row: light cell 24x24 or more" '((w >= 24 && h >= 24))' "${w}x${h}"
    kv_that "row $row: light centre is one of ($fills)" '[[ "$fills" == *" $centre "* ]]' \
        "($centre)"
    # The disc is 12 px across at 16 px: 18 at 24 px.
    span=$(kv_extent "$x" "$cy" "$w")
    kv_that "row $row: light disc 18 +- 1 px across" '((span >= 17 && span <= 19))' "$span px"
done <<<"$lights"

read -r cl ct cr cb < <(kv_probe rect Close)
kv_that "close picture 24 px wide or more" '((cr - cl >= 24))' "$((cr - cl)) px"
# A 16-px picture cannot mark more than 16 pixels of a row.
span=$(kv_extent "$cl" $(((ct + cb) / 2)) $((cr - cl)))
kv_that "close mark more than 16 px across" '((span > 16))' "$span px"
kv_e2e_finish
