#!/usr/bin/env bash
# Installs the Debian packages needed to build, run and test Q407. Does nothing when they are all
# present; otherwise needs root (or sudo).
set -euo pipefail

packages=(
    build-essential cmake ninja-build pkg-config git clang-format
    qt6-base-dev qt6-tools-dev qt6-tools-dev-tools qt6-l10n-tools libqt6uitools6 qt6-svg-dev
    libqt6opengl6-dev
    libgl-dev libvulkan-dev
    libjsoncpp-dev libudev-dev libcurl4-openssl-dev libcpp-httplib-dev libssl-dev libdbus-1-dev
    libasound2-dev alsa-utils
    libevdev-dev libxtst-dev
    libpulse-dev libfftw3-dev pulseaudio pulseaudio-utils
    libgtest-dev libgmock-dev libbenchmark-dev
    dbus xvfb xauth fonts-dejavu-core fonts-open-sans fonts-wqy-microhei
)

missing=()
for package in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" ||
        missing+=("$package")
done
# The interop tests need Node.js and npm. A machine may already have a newer Node.js from another
# source whose package bundles npm and conflicts with Debian's; the commands are what matter.
if ! command -v node >/dev/null || ! command -v npm >/dev/null; then
    missing+=(nodejs npm)
fi
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
sudo=()
[ "$(id -u)" -eq 0 ] || sudo=(sudo)
export DEBIAN_FRONTEND=noninteractive
"${sudo[@]}" apt-get update -q
"${sudo[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}"
