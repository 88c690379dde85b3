#!/usr/bin/env bash
# Checks that are about the source tree rather than behaviour: the engine stays free of Qt and of
# the layers above it, and every C/C++ file is laid out as .clang-format says.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
cd "$root"
status=0

# The engine links only the standard library, OpenSSL and zlib.
if grep -rnE '#include *[<"](Q[A-Za-z]*|qt[^">]*|shell/[^">]*|platform/[^">]*|host/[^">]*)[">]' \
    src/engine src/common; then
    echo "check-tree: the files above bring Qt or an upper layer into src/engine or src/common" >&2
    status=1
fi

if ! git ls-files '*.cpp' '*.h' '*.c' | xargs clang-format --dry-run --Werror 2>/tmp/vlt-format.$$; then
    head -40 /tmp/vlt-format.$$ >&2
    echo "check-tree: run clang-format -i on the files above" >&2
    status=1
fi
rm -f /tmp/vlt-format.$$
exit $status
