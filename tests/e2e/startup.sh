#!/usr/bin/env bash
# Start-up as the user first sees it: every control at its place, the texts,
# the table's 13 headers and no rows, an empty time label in plain view.
# shellcheck source=tests/e2e/lib.sh
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
kv_e2e_begin "$@"
kv_app_start

kv_probe_check check-layout 96
kv_probe_check check-startup
kv_shot startup
kv_e2e_finish
