# shellcheck shell=bash
# Shared by the end-to-end drivers. A driver sources this file, then:
#
#   kv_e2e_begin [dpi] "$@"   # arguments from CTest: kestrova.exe probe.exe build-dir
#   kv_app_start              # kestrova.exe in the background, window up
#   ... checks ...
#   kv_e2e_finish             # exit status: 0 when every check passed
#
# A driver that needs a network of its own calls kv_netns_enter "$@" first
# (see "A private network namespace" below).
#
# Checks count failures and carry on, so one run reports all that is wrong.
# On any way out the program is ended by its process id, the driver waits
# for its window to go, and a failing run keeps its screenshots and logs in
# <build>/e2e-artifacts/<test>/.
set -uo pipefail

KV_E2E_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
KV_E2E_NAME=$(basename "$0" .sh)
KV_FAILURES=0
KV_APP_PID=""
KV_OWN_WINE=""
declare -A S=()

kv_pass() { echo "PASS $*"; }
kv_fail() {
    echo "FAIL $*"
    KV_FAILURES=$((KV_FAILURES + 1))
}

# Gives up on the test: the rest cannot run meaningfully.
kv_abort() {
    kv_fail "$*"
    exit 1
}

kv_expect_eq() {
    local what=$1 expected=$2 seen=$3
    if [[ "$expected" == "$seen" && "$seen" == *$'\n'* ]]; then
        kv_pass "$what ($(wc -l <<<"$seen") lines)"
    elif [[ "$expected" == "$seen" ]]; then
        kv_pass "$what '$seen'"
    else
        kv_fail "$what: expected '$expected', saw '$seen'"
    fi
}

# kv_that WHAT CONDITION SEEN: CONDITION is bash, evaluated; SEEN says what
# was there when it does not hold.
kv_that() {
    if eval "$2"; then
        kv_pass "$1"
    else
        kv_fail "$1: saw $3"
    fi
}

kv_e2e_begin() {
    local dpi=96
    if [[ "${1:-}" =~ ^[0-9]+$ ]]; then
        dpi=$1
        shift
    fi
    (($# == 3)) || { echo "usage: $0 kestrova.exe kestrova_probe.exe build-dir" >&2; exit 2; }
    KV_EXE=$1
    KV_PROBE=$2
    KV_BUILD=$3
    KV_ARTIFACTS=$KV_BUILD/e2e-artifacts/$KV_E2E_NAME
    rm -rf "$KV_ARTIFACTS"
    mkdir -p "$KV_ARTIFACTS"
    trap kv_e2e_end EXIT

    # Another DPI needs a prefix (and so a wineserver) of its own; the usual
    # one is the caller's when it has set one up.
    if [[ "$dpi" != 96 || -z "${WINEPREFIX:-}" || -z "${DISPLAY:-}" ]]; then
        # shellcheck source=scripts/wine-env.sh
        source "$KV_E2E_ROOT/scripts/wine-env.sh"
        KV_OWN_WINE=1
        if [[ "$dpi" == 96 ]]; then
            kv_wine_start "$KV_BUILD" || kv_abort "could not start Wine"
        else
            kv_wine_start "$KV_BUILD" "$dpi" || kv_abort "could not start Wine at $dpi DPI"
        fi
    fi
    echo "e2e $KV_E2E_NAME: DISPLAY=$DISPLAY WINEPREFIX=$WINEPREFIX"
}

kv_probe() {
    timeout --kill-after=5 30 wine "$KV_PROBE" "$@" </dev/null
}

# Runs a probe sub-command that checks; its PASS/FAIL lines are the output.
kv_probe_check() {
    local out status=0
    out=$(kv_probe "$@") || status=$?
    [[ -n "$out" ]] && echo "$out"
    if ((status != 0)); then
        KV_FAILURES=$((KV_FAILURES + 1))
        [[ "$out" == *FAIL* ]] || echo "FAIL probe $*: exit status $status"
    fi
}

# kv_pairs NAME ARGS...: fills the associative array NAME from the key=value
# lines of the probe sub-command ARGS.
kv_pairs() {
    local -n into=$1
    shift
    local line out
    into=()
    out=$(kv_probe "$@") || return 1
    while IFS= read -r line; do
        into[${line%%=*}]=${line#*=}
    done <<<"$out"
}

# Fills S[] from the probe's state: switch, freq, freq_enabled, computer,
# time, rows, dialogs.
kv_state() {
    kv_pairs S state
}

kv_state_text() {
    local k
    for k in switch freq freq_enabled computer time rows dialogs; do
        printf "%s='%s' " "$k" "${S[$k]-}"
    done
}

kv_now_ms() {
    echo $(($(date +%s%N) / 1000000))
}

# kv_wait_for SECONDS WHAT CONDITION: polls the state until CONDITION (bash,
# over S[]) holds. A failure shows the last state seen.
kv_wait_for() {
    local seconds=$1 what=$2 condition=$3 deadline
    deadline=$(($(kv_now_ms) + $(awk -v s="$seconds" 'BEGIN { printf "%d", s * 1000 }')))
    while :; do
        if kv_state && eval "$condition"; then
            kv_pass "$what"
            return 0
        fi
        if (($(kv_now_ms) > deadline)); then
            kv_fail "$what: not within $seconds s; last seen: $(kv_state_text)"
            return 1
        fi
        sleep 0.1
    done
}

# A time of day as the locale writes it, and nothing else.
kv_is_time() {
    [[ "$1" =~ ^[0-9]{1,2}[:.][0-9]{2}[:.][0-9]{2}(\ ?[AaPp]\.?[Mm]\.?)?$ ]]
}

kv_app_alive() {
    [[ -n "$KV_APP_PID" ]] && kill -0 "$KV_APP_PID" 2>/dev/null
}

kv_app_start() {
    kv_probe wait-gone 10 >/dev/null || kv_abort "a Kestrova window from before is still open"
    wine "$KV_EXE" </dev/null >"$KV_ARTIFACTS/kestrova-wine.log" 2>&1 &
    KV_APP_PID=$!
    if ! kv_probe wait-window 20 >/dev/null; then
        kv_app_alive || kv_abort "kestrova.exe ended before its window appeared"
        kv_abort "kestrova.exe's window did not appear within 20 s"
    fi
    # The first paint follows the window's appearance.
    sleep 0.5
}

kv_click() {
    kv_probe click "$1" || kv_fail "could not press $1"
}

# Screen point at the middle of a control: "x y".
kv_centre_of() {
    kv_probe rect "$1" | awk '{ printf "%d %d\n", ($1 + $3) / 2, ($2 + $4) / 2 }'
}

kv_shot() {
    timeout 30 import -window root "$KV_ARTIFACTS/$1.png" 2>/dev/null ||
        echo "(no screenshot $1: import failed)"
}

# kv_pixels PNG X Y WIDTH: the pixels of one horizontal run, "r g b" per line.
kv_pixels() {
    timeout 30 stream -map rgb -storage-type char -extract "${4}x1+${2}+${3}" "$1" - 2>/dev/null |
        od -An -v -tu1 -w3 | awk '{ print $1, $2, $3 }'
}

kv_app_stop() {
    local i
    [[ -n "$KV_APP_PID" ]] || return 0
    if kill -0 "$KV_APP_PID" 2>/dev/null; then
        kill "$KV_APP_PID" 2>/dev/null
        for ((i = 0; i < 50; i++)); do
            kill -0 "$KV_APP_PID" 2>/dev/null || break
            sleep 0.1
        done
        kill -9 "$KV_APP_PID" 2>/dev/null
    fi
    wait "$KV_APP_PID" 2>/dev/null
    KV_APP_PID=""
    # Without a window manager Wine takes a moment to take a window down.
    kv_probe wait-gone 10 >/dev/null || kv_fail "a Kestrova window was left behind"
}

kv_e2e_end() {
    local status=$?
    trap - EXIT
    if ((KV_FAILURES > 0 || status != 0)); then
        kv_shot final
    fi
    kv_app_stop
    if [[ -n "$KV_OWN_WINE" ]]; then
        kv_wine_stop
    fi
    if ((KV_FAILURES > 0 || status != 0)); then
        echo "e2e $KV_E2E_NAME: $KV_FAILURES failed check(s); screenshots and logs in $KV_ARTIFACTS"
        exit 1
    fi
    rm -rf "$KV_ARTIFACTS"
    echo "e2e $KV_E2E_NAME: all checks passed"
    exit 0
}

# ---- the adapter table ------------------------------------------------------

# Waits for `count` more refreshes: the time label changes at each (a period
# of 1 s).
kv_refreshes() {
    local count=$1 seen i
    for ((i = 0; i < count; i++)); do
        kv_state
        seen=${S[time]}
        kv_wait_for 5 "a refresh ($((i + 1)) of $count)" '[[ ${S[time]} != "$seen" ]]'
    done
}

# The row whose description (the interface's name) is $1.
kv_row_of() {
    kv_probe rows | awk -F'\t' -v name="$1" '$2 == name { print NR - 1; exit }'
}

# A marked row's background.
KV_MARKED_RGB="255 232 160"

# Marked pixels of a row in a screenshot, along its middle from its first
# cell well into the (wide, mostly empty) description.
kv_marked_pixels() {
    local shot=$1 row=$2 l t r b
    read -r l t r b < <(kv_probe row-rect "$row") || return 1
    kv_pixels "$shot" "$l" $(((t + b) / 2)) 300 | grep -c "^$KV_MARKED_RGB\$"
}

# ---- a private network namespace -------------------------------------------
#
#   kv_netns_enter "$@"                      # re-runs the driver inside; returns there
#   kv_e2e_begin "$@"                        # Xvfb, prefix and wineserver of its own
#   kv_netns_veth a0 b0 198.51.100.1/24      # a veth pair, both ends up
#   kv_netns_silent_host 203.0.113.1 a0      # an address that never answers
#
# Wine's WMI and its network service run in the wineserver's processes, so
# they report the interfaces of the namespace the wineserver started in:
# everything Wine runs starts inside, with a display, a prefix
# (<build>/wineprefix-netns, made once and kept) and a wineserver of its own.
# kv_e2e_end ends the program, the wineserver and Xvfb on every way out; the
# namespace, with whatever was made in it, goes with its last process.

# Needs root (unshare). Inside, the loopback is up and /sys shows this
# namespace's interfaces, as nsiproxy and ip expect.
kv_netns_enter() {
    if [[ -n "${KV_NETNS_OUTSIDE:-}" ]]; then
        kv_netns_inside kv_netns_enter
        ip link set lo up || kv_abort "cannot bring up lo in the namespace"
        mount -t sysfs sysfs /sys || kv_abort "cannot mount the namespace's own /sys"
        return 0
    fi
    if ((EUID != 0)) || ! command -v unshare >/dev/null; then
        kv_abort "a private network namespace needs root and unshare"
    fi
    # The caller's display, prefix and wineserver belong to the outside.
    exec env -u DISPLAY -u WINEPREFIX KV_NETNS_OUTSIDE="$(readlink /proc/self/ns/net)" \
        KV_WINE_PREFIX_NAME=wineprefix-netns unshare --net --mount -- bash "$0" "$@"
}

# Refuses to go on outside the namespace: the functions below change the
# network of whatever namespace they run in.
kv_netns_inside() {
    [[ -n "${KV_NETNS_OUTSIDE:-}" && "$(readlink /proc/self/ns/net)" != "$KV_NETNS_OUTSIDE" ]] ||
        kv_abort "$1: only inside the namespace of kv_netns_enter"
}

# kv_netns_veth NAME PEER [ADDRESS/PREFIX ...]: a veth pair with both ends
# up and the addresses on NAME. Wine lists both ends as adapters.
kv_netns_veth() {
    kv_netns_inside kv_netns_veth
    local name=$1 peer=$2 address
    shift 2
    ip link add "$name" type veth peer name "$peer" || return 1
    for address in "$@"; do
        ip addr add "$address" dev "$name" || return 1
    done
    ip link set "$name" up && ip link set "$peer" up
}

# kv_netns_silent_host ADDRESS DEV: a host that drops every packet, neither
# refusing nor sending ICMP, as one switched off or behind a firewall does.
# ADDRESS is routed out of DEV (an end of a veth pair that has an address)
# to a MAC address nobody has, so a TCP connect to it waits out its retries.
kv_netns_silent_host() {
    kv_netns_inside kv_netns_silent_host
    local length=32
    [[ "$1" == *:* ]] && length=128
    ip neigh replace "$1" lladdr 02:00:00:00:99:99 dev "$2" nud permanent &&
        ip route replace "$1/$length" dev "$2"
}

kv_e2e_finish() {
    exit 0  # the EXIT trap decides the status
}
