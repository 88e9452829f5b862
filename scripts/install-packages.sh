#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need, only those that are missing.
set -euo pipefail

packages=(
    cmake ninja-build g++ pkg-config
    qt6-base-dev libgl-dev
    xvfb xauth fonts-dejavu-core fonts-liberation2
    libgtest-dev libgmock-dev libbenchmark-dev
    clang libclang-rt-14-dev
    poppler-utils xdotool dbus-daemon openbox
    at-spi2-core gir1.2-atspi-2.0 python3-gi
    cups cups-client cups-bsd printer-driver-cups-pdf libcups2-dev
    libhunspell-dev hunspell-en-gb libxcb1-dev
    g++-mingw-w64-x86-64 wine64 wixl msitools ghostscript
)

missing=()
for package in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$package")
    fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
