#!/usr/bin/env bash
# ./run.sh [haruvel|kardovan] [release|dev] [game options, e.g. --scale 2 --fullscreen]:
# installs what is missing, builds, starts the game.
set -euo pipefail
cd "$(dirname "$0")"

program=${1:-haruvel}
preset=${2:-release}
case $program in
haruvel | kardovan) ;;
*) echo "usage: ./run.sh [haruvel|kardovan] [release|dev]" >&2; exit 2 ;;
esac
case $preset in
release | dev) ;;
*) echo "usage: ./run.sh [haruvel|kardovan] [release|dev]" >&2; exit 2 ;;
esac

if [[ -z ${DISPLAY:-} && -z ${WAYLAND_DISPLAY:-} && -z ${QT_QPA_PLATFORM:-} ]]; then
    echo "run.sh: no display (DISPLAY and WAYLAND_DISPLAY are unset); on a virtual screen: xvfb-run -a -s '-screen 0 1280x1024x24' ./run.sh $program" >&2
    exit 1
fi

# What playing needs. The optimised build leaves the tests and benchmarks out (preset "play");
# the dev build has them, so it needs their frameworks as well.
PACKAGES=(cmake ninja-build g++ qt6-base-dev qt6-tools-dev qt6-l10n-tools qt6-qpa-plugins
          fonts-ipafont-gothic)
build_preset=play
if [[ $preset == dev ]]; then
    PACKAGES+=(libgtest-dev libbenchmark-dev)
    build_preset=dev
fi
source tools/install_missing.sh
install_missing run.sh "${PACKAGES[@]}"

cmake --preset "$build_preset" >/dev/null
cmake --build --preset "$build_preset" --target "$program" -j "$(nproc 2>/dev/null || echo 2)"
exec "build/$build_preset/apps/$program" "${@:3}"
