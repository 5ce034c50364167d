#!/usr/bin/env bash
# Installs the Debian packages that are missing, then configures and builds
# with the CMake preset given as the first argument: dev (the default), asan or fuzz.
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
preset="${1:-dev}"

packages=(cmake ninja-build g++ qt6-base-dev qt6-pdf-dev qt6-svg-dev qt6-qpa-plugins libicu-dev
    libqpdf-dev fonts-noto-color-emoji)
# libFuzzer comes with clang's runtime libraries.
[ "$preset" != fuzz ] || packages+=(clang libclang-rt-14-dev)
[ "$preset" != clang ] || packages+=(clang)

if command -v dpkg-query >/dev/null 2>&1; then
    missing=()
    for package in "${packages[@]}"; do
        dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" ||
            missing+=("$package")
    done
    if ((${#missing[@]})); then
        echo "Installing ${missing[*]}"
        sudo=""
        [ "$(id -u)" -eq 0 ] || sudo="sudo"
        $sudo apt-get update -qq
        DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq "${missing[@]}"
    fi
fi

cd "$root"
cmake --preset "$preset" >/dev/null
cmake --build --preset "$preset"
