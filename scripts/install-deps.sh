#!/usr/bin/env bash
# Installs the Debian packages the program needs to build, run and test, when any is missing.
set -euo pipefail

packages=(
    build-essential cmake pkg-config
    qt6-base-dev qt6-svg-dev libgl-dev
    libsqlcipher-dev libpugixml-dev libzip-dev libjpeg62-turbo-dev
    libgtest-dev libgmock-dev libbenchmark-dev
    fonts-noto-cjk fonts-liberation
)

missing=()
for package in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$package")
    fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=""
if [ "$(id -u)" -ne 0 ]; then
    sudo="sudo"
fi
echo "Installing: ${missing[*]}"
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
