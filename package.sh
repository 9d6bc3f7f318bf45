#!/usr/bin/env bash
# ./package.sh: installs what is missing, builds the optimised programs (preset "play") and packs
# them with CPack: build/play/haruvel-kardovan_<version>_<arch>.deb and a .tar.gz beside it.
set -euo pipefail
cd "$(dirname "$0")"

# The play build, plus help2man for the manual pages and dpkg-dev for the .deb's Depends.
PACKAGES=(cmake ninja-build g++ qt6-base-dev qt6-tools-dev qt6-l10n-tools help2man dpkg-dev)
source tools/install_missing.sh
install_missing package.sh "${PACKAGES[@]}"

cmake --preset play >/dev/null
cmake --build --preset play -j "$(nproc 2>/dev/null || echo 2)"
cd build/play
rm -f ./*.deb ./*.tar.gz
cpack
