#!/usr/bin/env bash
# Builds VLT (Release) and starts it, passing on the arguments (a container file, or -tray).
# Installs missing Debian packages first. On a machine without any display it says so, runs VLT
# under Xvfb, saves a screenshot and prints where.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
. "$root/scripts/deps.sh"
vlt_install_missing

build="$root/build-release"
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DVLT_WERROR=ON >/dev/null
cmake --build "$build" -j "$(nproc)" --target VLT

if [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ]; then
    exec "$build/VLT" "$@"
fi

echo "No display found: running VLT under Xvfb."
VLT_PACKAGES=(imagemagick)
vlt_install_missing
shot="${VLT_SCREENSHOT:-$root/build-release/vlt-screenshot.png}"
xvfb-run -a -s "-screen 0 1280x800x24" bash -c '
    "$0" "${@:2}" &
    vlt=$!
    sleep 4
    import -window root "$1"
    echo "Screenshot saved: $1"
    if [ "${VLT_KEEP_RUNNING:-0}" = 1 ]; then
        wait "$vlt"
    else
        kill "$vlt"
    fi
' "$build/VLT" "$shot" "$@"
