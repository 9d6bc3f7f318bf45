#!/usr/bin/env bash
# validate_install.sh BUILD_DIR with-man-pages|without-man-pages: installs the build into a scratch root and runs the validators
# the distributions run on what it installs: desktop-file-validate on the menu entries,
# appstreamcli on the metainfo (with the menu entries and icons it names), man on the manual
# pages, and finds each program's manual page. Exit 77 (skipped) when a validator is missing.
set -uo pipefail
root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
DESTDIR=$root cmake --install "$1" --prefix /usr >/dev/null || exit 1
usr=$root/usr
failed=0
missing=()

if command -v desktop-file-validate >/dev/null; then
    desktop-file-validate "$usr"/share/applications/*.desktop || failed=1
else
    missing+=("desktop-file-validate (package desktop-file-utils)")
fi
if command -v appstreamcli >/dev/null; then
    # Offline: the screenshots' web address is checked where the pictures are published.
    appstreamcli validate-tree --no-net --pedantic "$root" || failed=1
    [[ $(ls "$usr"/share/metainfo/*.metainfo.xml | wc -l) -eq 2 ]] ||
        { echo "want a metainfo file for each game"; failed=1; }
else
    missing+=("appstreamcli (package appstream)")
fi
if [[ $2 == without-man-pages ]]; then
    echo "no manual pages in this build (no help2man, or a sanitizer build)"
elif ! command -v man >/dev/null; then
    missing+=("man (package man-db)")
else
    for program in "$usr"/bin/*; do
        page=$(ls "$usr"/share/man/man[16]/"$(basename "$program")".[16].gz 2>/dev/null)
        [[ -n $page ]] || { echo "no manual page for $(basename "$program")"; failed=1; continue; }
        warnings=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -l "$page" 2>&1 >/dev/null)
        [[ -z $warnings ]] || { echo "$page: $warnings"; failed=1; }
    done
fi

[[ $failed -eq 0 ]] || exit 1
if [[ ${#missing[@]} -gt 0 ]]; then
    printf 'skipped, not found: %s\n' "${missing[@]}"
    exit 77
fi
echo "what the build installs is valid"
