#!/usr/bin/env bash
# Installs the Debian packages that building, running and testing Movik need.
# Quick when everything is already there.
set -euo pipefail

packages=(
    cmake ninja-build g++ pkg-config
    qt6-base-dev qt6-translations-l10n libgl-dev libcups2-dev libfontconfig-dev
    googletest libgtest-dev libbenchmark-dev
    fonts-liberation2 xvfb xauth poppler-utils
    desktop-file-utils shared-mime-info libglib2.0-bin dpkg-dev file librsvg2-bin
    cups-daemon cups-client cups-filters cups-ipp-utils time
    qt6-charts-dev libqt6opengl6-dev qt6-svg-dev libxlsxwriter-dev python3-openpyxl
    clang-14 libfuzzer-14-dev libclang-rt-14-dev parallel faketime tzdata xdotool
    appstream lintian man-db fonts-dejavu-core
    at-spi2-core python3-pyatspi dbus-x11 orca
    openbox qt6ct netpbm x11-apps x11-utils x11-xserver-utils
    libzip-dev libexpat1-dev libfreexl-dev
)

missing=()
for p in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$p")
    fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
sudo_cmd=()
[ "$(id -u)" -ne 0 ] && sudo_cmd=(sudo)
"${sudo_cmd[@]}" apt-get update -qq
DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
