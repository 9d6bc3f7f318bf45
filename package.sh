#!/usr/bin/env bash
# ./package.sh: installs what is missing, builds the optimised programs (preset "play") and packs
# them with CPack: build/play/haruvel-kardovan_<version>_<arch>.deb and a .tar.gz beside it.
set -euo pipefail
cd "$(dirname "$0")"

# The play build, plus help2man for the manual pages and dpkg-dev for the .deb's Depends.
PACKAGES=(cmake ninja-build g++ qt6-base-dev help2man dpkg-dev)
missing=()
for p in "${PACKAGES[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [[ ${#missing[@]} -gt 0 ]]; then
    sudo=()
    if [[ $(id -u) -ne 0 ]]; then
        command -v sudo >/dev/null || {
            echo "package.sh: missing packages: ${missing[*]} (install them with apt-get as root)" >&2
            exit 1
        }
        sudo=(sudo)
    fi
    echo "package.sh: installing ${missing[*]}"
    "${sudo[@]}" apt-get update -qq
    DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq --no-install-recommends \
        "${missing[@]}"
fi

cmake --preset play >/dev/null
cmake --build --preset play -j "$(nproc 2>/dev/null || echo 2)"
cd build/play
rm -f ./*.deb ./*.tar.gz
cpack
