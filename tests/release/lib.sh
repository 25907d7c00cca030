# shellcheck shell=bash
# Shared by the release tests.

# kv_same_bytes EXPECTED SEEN [OBJDUMP]: passes when the two files hold the
# same bytes. Otherwise says where the first difference is (its offset, and
# for a PE file the header or section holding it) and how many bytes differ.
kv_same_bytes() {
    local expected=$1 seen=$2 objdump=${3:-}
    if cmp -s "$expected" "$seen"; then
        echo "PASS $seen is $expected, byte for byte ($(stat -c %s "$seen") bytes)"
        return 0
    fi
    local first count where=""
    # cmp -l: one line per differing byte, 1-based offset first; a file that
    # is a prefix of the other gives none, and then the shorter one's end is
    # the first difference.
    first=$(cmp -l "$expected" "$seen" 2>/dev/null | awk 'NR == 1 { print $1 - 1 }')
    count=$(cmp -l "$expected" "$seen" 2>/dev/null | wc -l)
    if [[ -z "$first" ]]; then
        first=$(stat -c %s "$expected" "$seen" | sort -n | head -n 1)
    fi
    if [[ -n "$objdump" ]]; then
        where=$(kv_pe_part "$objdump" "$expected" "$first")
    fi
    printf 'FAIL %s differs from %s: first at offset %d (0x%x)%s; %d bytes differ within the shorter length, sizes %s\n' \
        "$seen" "$expected" "$first" "$first" "$where" "$count" \
        "$(stat -c %s "$expected" "$seen" | paste -sd/)"
    return 1
}

# kv_pe_part OBJDUMP FILE OFFSET: " (section NAME)" or " (PE headers)" for
# the part of a PE file that holds OFFSET; nothing for any other file.
kv_pe_part() {
    local idx name size vma lma off rest lowest=""
    while read -r idx name size vma lma off rest; do
        [[ "$idx" =~ ^[0-9]+$ && "$off" =~ ^[0-9a-f]+$ ]] || continue
        size=$((16#$size)) off=$((16#$off))
        ((off == 0)) && continue
        if (($3 >= off && $3 < off + size)); then
            echo " (section $name)"
            return
        fi
        [[ -z "$lowest" ]] || ((off < lowest)) && lowest=$off
    done < <("$1" -h "$2" 2>/dev/null)
    [[ -n "$lowest" ]] && (($3 < lowest)) && echo " (PE headers)"
    return 0
}
