# shellcheck shell=bash
# Shared by the release tests.

# kv_same_bytes EXPECTED SEEN: passes when the two files hold the same
# bytes; otherwise prints the offset of the first difference.
kv_same_bytes() {
    local said first
    if said=$(cmp "$1" "$2" 2>&1); then
        echo "PASS $2 is $1, byte for byte ($(stat -c %s "$1") bytes)"
        return 0
    fi
    # cmp counts bytes from 1 ("differ: byte 137") or names the last byte of
    # the shorter file ("EOF on ... after byte 1000"): both give the offset.
    first=$(sed -nE 's/.*differ: byte ([0-9]+).*/\1 - 1/p; s/.*EOF on .* after byte ([0-9]+).*/\1/p' <<<"$said")
    first=$((${first:-0}))
    printf 'FAIL %s differs from %s: first at offset %d (0x%x); %s\n' "$2" "$1" "$first" "$first" "$said"
    return 1
}
