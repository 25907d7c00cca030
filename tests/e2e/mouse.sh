#!/usr/bin/env bash
# Real mouse input through X: dragging the title label moves the window by
# exactly the mouse's travel; clicking the close picture ends the program.
# shellcheck source=tests/e2e/lib.sh
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
kv_e2e_begin "$@"
kv_app_start

read -r left top _ _ < <(kv_probe window-rect)
read -r cl ct _ cb < <(kv_probe rect lblCaption)
x=$((cl + 100))
y=$(((ct + cb) / 2))
timeout 10 xdotool mousemove "$x" "$y"
sleep 0.2
timeout 10 xdotool mousedown 1
for ((i = 1; i <= 8; i++)); do
    timeout 10 xdotool mousemove "$((x + 15 * i))" "$((y + 10 * i))"
    sleep 0.05
done
timeout 10 xdotool mouseup 1
sleep 0.5
read -r left2 top2 _ _ < <(kv_probe window-rect)
kv_expect_eq "dragging the title by (120, 80) moves the window by" "120 80" \
    "$((left2 - left)) $((top2 - top))"
kv_shot dragged

read -r cx cy < <(kv_centre_of Close)
timeout 10 xdotool mousemove "$cx" "$cy"
sleep 0.2
timeout 10 xdotool click 1
for ((i = 0; i < 30; i++)); do
    kv_app_alive || break
    sleep 0.1
done
if kv_app_alive; then
    kv_fail "clicking the close picture at $cx,$cy: the program still runs after 3 s"
else
    kv_pass "clicking the close picture ends the program within 3 s"
fi
kv_e2e_finish
