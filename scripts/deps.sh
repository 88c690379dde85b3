#!/usr/bin/env bash
# Installs the Debian packages VLT needs to build, test and run, when they are missing.
# Sourced by run.sh and test.sh.
set -euo pipefail

VLT_PACKAGES=(
    build-essential cmake ninja-build pkg-config
    libssl-dev zlib1g-dev libgtest-dev
    qt6-base-dev qt6-qpa-plugins famfamfam-silk
    fonts-liberation fonts-dejavu-core
    xvfb xauth
    desktop-file-utils shared-mime-info xclip xdotool
    clang libclang-rt-14-dev clang-format
    # The on-screen keyboard (X11, XTEST, xkbcommon); the boss key (xcb), and what the display
    # tests drive them with: xdotool, a tray host and a window manager for minimising to the tray.
    libx11-dev libx11-xcb-dev libxtst-dev libxkbcommon-dev libxkbcommon-x11-dev xkb-data
    libxcb1-dev x11-utils trayer twm
)

vlt_install_missing() {
    local missing=()
    local p
    for p in "${VLT_PACKAGES[@]}"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" ||
            missing+=("$p")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    echo "Installing missing packages: ${missing[*]}"
    local sudo=""
    [ "$(id -u)" -ne 0 ] && sudo="sudo"
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends \
        "${missing[@]}"
}
