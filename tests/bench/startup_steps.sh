#!/usr/bin/env bash
# Where a start-up's time goes, read from Wine's own trace of an unchanged
# program: +timestamp,+loaddll and +relay limited to the calls that mark a
# step (RelayInclude below). Each call the program itself makes to one of
# them starts a step, which lasts until the next one starts; the steps before
# the program's first instruction come from the loader's own lines. "Painted
# and idle" is the first GetMessageW that then waits 100 ms or more (or never
# returns).
#
#   startup_steps.sh <runs> <name>=<program.exe>...
#
# The programs are launched in turn, each round starting with the next one.
# Needs a started Wine (scripts/wine-env.sh); sets RelayInclude in its
# prefix. Prints `startup_steps.<name>.<step> <median> ms` per step, in the
# order the steps first come, then the sums of the program's own steps and
# of the platform's. The relay trace slows every traced call and message, so
# the sums are larger than the untraced figures; they say where, not how long.
set -euo pipefail

runs=$1
shift
subjects=("$@")

markers=(
    kernel32.SetDefaultDllDirectories comctl32.InitCommonControlsEx combase.CoInitializeEx
    user32.LoadImageW user32.RegisterClassExW user32.CreateWindowExW comctl32.ImageList_Create
    comctl32.SetWindowSubclass combase.CoCreateInstance gdi32.CreateFontIndirectW
    gdi32.CreateSolidBrush kernel32.FindResourceW kernelbase.FindResourceW
    kernel32.GetEnvironmentVariableW kernelbase.GetEnvironmentVariableW user32.SetTimer
    user32.ShowWindow user32.GetMessageW)
relay_include=$(IFS=';'; echo "${markers[*]}")
timeout 60 wine reg add 'HKCU\Software\Wine\Debug' /v RelayInclude /t REG_SZ \
    /d "$relay_include" /f </dev/null >/dev/null 2>&1

logs=$(mktemp -d)
trap 'rm -rf "$logs"' EXIT

# One traced launch each, ended after it has long been idle.
for ((i = 0; i < runs; i++)); do
    for ((k = 0; k < ${#subjects[@]}; k++)); do
        subject=${subjects[$(((i + k) % ${#subjects[@]}))]}
        WINEDEBUG=+timestamp,+loaddll,+relay timeout --kill-after=2 4 wine "${subject#*=}" \
            </dev/null 2>"$logs/${subject%%=*}.$i" >/dev/null || true
    done
done

# Steps per run: "step ms" lines, in order.
steps_of() {
    tr -d '\r' <"$1" | awk '
    function t(line) { split(line, f, ":"); return f[1] * 1000 }
    function step(name, at) {
        if (current != "") { spent[current] += at - since }
        if (!(name in seen)) { seen[name] = 1; order[++n] = name }
        current = name; since = at
    }
    function owner(name) { return name ~ /^platform/ ? "platform" : "program" }
    /loaddll:build_module Loaded/ && !started {
        started = 1; step("platform: loader, DLLs mapped and started", t($0))
    }
    !started { next }
    /loaddll:build_module Loaded/ && /(rpcrt4|combase|ole32|OLEAUT32|oleaut32|WS2_32|ws2_32)\.dll/ && !entered {
        step("program: its DLLs for COM and Winsock mapped", t($0)); next
    }
    (/loaddll:build_module Loaded/ || /Call PE DLL/) && !entered && current ~ /its DLLs/ {
        step("platform: loader, DLLs mapped and started", t($0))
    }
    /Call PE DLL .*COMCTL32\.dll.*PROCESS_ATTACH/ && !entered {
        step("platform: comctl32 v6 start (display driver, theme)", t($0)); next
    }
    /Ret  PE DLL .*COMCTL32\.dll.*PROCESS_ATTACH/ && !entered {
        step("platform: loader, DLLs mapped and started", t($0)); next
    }
    /Starting thread proc/ { entered = 1; step("program: runtime start, wWinMain", t($0)); next }
    !entered { next }
    # A program without comctl32 loads the display driver at its first
    # window or cursor instead.
    /loaddll:build_module Loaded/ && /(winex11\.drv|uxtheme\.dll)/ && !painting {
        step("platform: display driver and theme", t($0)); next
    }
    # Calls the program makes itself: return addresses inside the exe.
    /:Call / && / ret=14/ {
        at = t($0)
        if (idleFrom) next
        if ($0 ~ /GetMessageW/) {
            if (!painting) { painting = 1; step("platform: first paint (the controls draw)", at) }
            waitingSince = at; waiting = 1; next
        }
        if (painting) next
        if ($0 ~ /SetDefaultDllDirectories/) step("program: start-up settings", at)
        else if ($0 ~ /InitCommonControlsEx|SetWindowSubclass/) step("program: controls", at)
        else if ($0 ~ /CoInitializeEx/) step("program: COM", at)
        else if ($0 ~ /CoCreateInstance/) step("program: accessibility (COM object)", at)
        else if ($0 ~ /RegisterClassExW/) step("program: window class", at)
        else if ($0 ~ /ImageList_Create/) step("program: image list", at)
        else if ($0 ~ /LoadImageW\(140000000,0000000(1|0),/) step("program: icons", at)
        else if ($0 ~ /LoadImageW\(140000000,000000c/) step("program: image list", at)
        else if ($0 ~ /LoadImageW/) step("program: controls", at)
        else if ($0 ~ /CreateFontIndirectW/) step("program: fonts", at)
        else if ($0 ~ /CreateSolidBrush/) step("program: colours", at)
        else if ($0 ~ /FindResourceW/) step("program: version resource", at)
        else if ($0 ~ /GetEnvironmentVariableW/) step("program: texts and layout", at)
        else if ($0 ~ /SetTimer/) step("program: timer", at)
        else if ($0 ~ /ShowWindow/) step("program: show and layout", at)
        else if ($0 ~ /CreateWindowExW/) {
            # The first top-level window of the process: the platform connects it
            # to the display (for the program, the probe for the default place).
            args = $0; sub(/.*CreateWindowExW\(/, "", args); sub(/\) ret=.*/, "", args)
            gsub(/ L"[^"]*"/, "", args); split(args, arg, ",")
            if (arg[9] + 0 == 0 && !firstWindow) {
                firstWindow = 1; step("platform: first window (the display connection)", at)
            } else if ($0 ~ /tooltips_class32/) step("program: tip", at)
            else if ($0 ~ /L"Kestrova/) step("program: main window", at)
            else step("program: controls", at)
        }
        next
    }
    /:Ret  user32\.GetMessageW\(\)/ && painting && !idleFrom && waiting {
        waiting = 0
        if (t($0) - waitingSince >= 100) { idleFrom = 1; step("end", waitingSince) }
        next
    }
    END {
        # A wait that never ended (the process was ended in it) is idle too.
        if (!idleFrom && waiting) { idleFrom = 1; step("end", waitingSince) }
        if (!idleFrom) { print "unfinished\t0"; exit }
        for (i = 1; i <= n; i++) if (order[i] != "end") {
            printf "%s\t%.1f\n", order[i], spent[order[i]]
            total[owner(order[i])] += spent[order[i]]
        }
        printf "sum: program'"'"'s own steps\t%.1f\n", total["program"]
        printf "sum: platform\t%.1f\n", total["platform"]
        printf "sum: exe mapped to painted and idle\t%.1f\n", total["program"] + total["platform"]
    }'
}

for subject in "${subjects[@]}"; do
    name=${subject%%=*}
    : >"$logs/all"
    for ((i = 0; i < runs; i++)); do
        steps_of "$logs/$name.$i" | awk -v r="$i" -F'\t' '{ print r "\t" NR "\t" $1 "\t" $2 }' \
            >>"$logs/all"
    done
    if grep -q $'\tunfinished\t' "$logs/all"; then
        echo "# startup_steps $name: a traced run did not reach painted and idle within 4 s"
    fi

    # Median per step over the finished runs (a step a run lacks counts as 0
    # there), in the order of the first run.
    finished=$(awk -F'\t' '$3 != "unfinished" { print $1 }' "$logs/all" | sort -u | wc -l)
    ((finished > 0)) || continue
    awk -F'\t' -v runs="$finished" -v name="$name" '
        $3 == "unfinished" { next }
        { if (!($3 in pos)) { pos[$3] = $2 + 0; key[++n] = $3 } v[$3, ++c[$3]] = $4 }
        END {
            for (i = 1; i <= n; i++) {
                k = key[i]; m = 0
                for (j = 1; j <= runs; j++) a[j] = (j <= c[k]) ? v[k, j] : 0
                for (x = 1; x <= runs; x++) for (y = x + 1; y <= runs; y++)
                    if (a[y] < a[x]) { s = a[x]; a[x] = a[y]; a[y] = s }
                m = (runs % 2) ? a[(runs + 1) / 2] : (a[runs / 2] + a[runs / 2 + 1]) / 2
                label = k; gsub(/[^A-Za-z0-9]+/, "_", label); gsub(/^_|_$/, "", label)
                printf "startup_steps.%s.%s %.1f ms\n", name, tolower(label), m
            }
        }' "$logs/all"
done
