#!/usr/bin/env bash
# Checks how the binaries were built: position-independent, relocations read-only after start-up
# (RELRO with immediate binding), stack canaries, and in optimised builds the checked variants
# of the C library's string and memory calls.
#   HardenedBinaries.sh <fortified 0|1> <binary>...
set -u
fortified="$1"
shift
for tool in readelf nm; do
    command -v "$tool" >/dev/null || { echo "skipped: $tool is not installed"; exit 77; }
done
status=0
fail() { echo "FAILED: $1: $2"; status=1; failed=1; }
for binary in "$@"; do
    name="$(basename "$binary")"
    failed=0
    header="$(readelf -h "$binary")"
    dynamic="$(readelf -d "$binary")"
    grep -q "Type: *DYN" <<<"$header" || fail "$name" "not position-independent (ELF type)"
    case "$name" in
        *.so) ;;
        *) grep -qE "FLAGS_1.*PIE" <<<"$dynamic" || fail "$name" "not a PIE executable" ;;
    esac
    grep -qE "BIND_NOW|FLAGS.*NOW" <<<"$dynamic" || fail "$name" "no immediate binding (-z now)"
    readelf -lW "$binary" | grep -q "GNU_RELRO" || fail "$name" "no GNU_RELRO segment"
    symbols="$(nm -D "$binary")"
    grep -q " U __stack_chk_fail" <<<"$symbols" || fail "$name" "no stack protector"
    checked="$(grep -cE " U __[a-z_]+_chk(@|$)" <<<"$symbols" | tr -d ' ')"
    if [ "$fortified" = 1 ] && [ "$checked" -eq 0 ]; then
        fail "$name" "no fortified calls (__*_chk)"
    fi
    [ "$failed" = 0 ] && echo "$name: PIE, RELRO, BIND_NOW, stack protector, $checked fortified calls"
done
exit $status
