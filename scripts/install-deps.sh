#!/usr/bin/env bash
# Installs the Debian packages Lintaro builds with, when any is missing.
set -euo pipefail
packages=(g++ cmake ninja-build qt6-base-dev qt6-svg-dev libjpeg62-turbo-dev libzint-dev fonts-liberation
          breeze-icon-theme poppler-utils zbar-tools cups cups-client cups-bsd printer-driver-cups-pdf
          libgtest-dev libgmock-dev libbenchmark-dev)
# --fuzz: the compiler and runtime of the fuzz targets (scripts/fuzz.sh).
if [ "${1:-}" = "--fuzz" ]; then
    packages=(clang libclang-rt-14-dev)
fi
missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0
echo "Installing: ${missing[*]}"
if [ "$(id -u)" -eq 0 ]; then sudo=(); else sudo=(sudo); fi
"${sudo[@]}" apt-get update -qq
DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
