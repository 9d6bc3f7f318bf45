#!/usr/bin/env bash
# check_package.sh: builds the .deb with ./package.sh, has lintian check it (errors fail, warnings
# are listed), unpacks it into a scratch root and runs the three programs from there against the
# system's Qt. Needs lintian and dpkg-dev besides what package.sh installs.
set -euo pipefail
cd "$(dirname "$0")/../.."
command -v lintian >/dev/null || { echo "check_package.sh: needs lintian (apt-get install lintian)" >&2; exit 1; }

log=$(mktemp)
./package.sh >"$log" 2>&1 || { cat "$log"; exit 1; }
rm -f "$log"
deb=$(ls build/play/haruvel-kardovan_*.deb)
echo "== $deb"
dpkg-deb -f "$deb" Package Version Section Depends Recommends

echo "== lintian"
findings=$(lintian "$deb" 2>&1 | grep -E '^[EW]: ' || true)
echo "${findings:-no errors, no warnings}"
if grep -q '^E: ' <<<"$findings"; then exit 1; fi

echo "== the programs, unpacked"
root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
dpkg-deb -x "$deb" "$root"
version=$(dpkg-deb -f "$deb" Version)
[[ $("$root/usr/bin/haruvel" --version) == "haruvel $version" ]] || { echo "haruvel --version is not $version" >&2; exit 1; }
"$root/usr/bin/kardovan" --help | head -2
"$root/usr/bin/tekkel" --help | head -1
echo "package checked: haruvel $version"
