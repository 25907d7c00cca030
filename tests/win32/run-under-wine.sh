#!/usr/bin/env bash
# Runs a Windows test program under Wine (the caller has started the display
# and the prefix), first handing it what Linux itself reports about this
# machine's interfaces, so the WMI tests can compare against an independent
# source: the first interface with an IPv4 address, its MAC and that address.
set -euo pipefail
exe=$1
shift

if command -v ip >/dev/null 2>&1; then
  # "2: eth0    inet 10.0.0.5/24 brd ..." -> eth0 10.0.0.5
  read -r ifname ipv4 < <(ip -o -4 addr show scope global 2>/dev/null |
    awk '{ split($4, a, "/"); print $2, a[1]; exit }') || true
  if [[ -n "${ifname:-}" ]]; then
    export KESTROVA_EXPECT_IFNAME="$ifname"
    export KESTROVA_EXPECT_IPV4="$ipv4"
    KESTROVA_EXPECT_MAC=$(cat "/sys/class/net/$ifname/address" 2>/dev/null || true)
    export KESTROVA_EXPECT_MAC
  fi
fi

exec timeout --kill-after=5 110 "${KESTROVA_WINE:-wine}" "$exe" "$@"
