#!/usr/bin/env bash
# Installs what the build needs, builds, and runs every test: once in the dev build, once more
# under address and undefined-behaviour sanitizers. Exits non-zero on any failure.
set -euo pipefail
cd "$(dirname "$0")"

PACKAGES=(cmake ninja-build g++ clang libclang-rt-14-dev qt6-base-dev qt6-tools-dev qt6-l10n-tools
          qt6-qpa-plugins libgtest-dev libbenchmark-dev fonts-ipafont-gothic
          help2man man-db appstream desktop-file-utils)

install_missing() {
    local missing=()
    for p in "${PACKAGES[@]}"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" ||
            missing+=("$p")
    done
    [[ ${#missing[@]} -eq 0 ]] && return 0
    local sudo=()
    if [[ $(id -u) -ne 0 ]]; then
        if command -v sudo >/dev/null; then
            sudo=(sudo)
        else
            echo "test.sh: missing packages: ${missing[*]} (install them with apt-get as root)" >&2
            return 1
        fi
    fi
    echo "test.sh: installing ${missing[*]}"
    "${sudo[@]}" apt-get update -qq
    DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq --no-install-recommends \
        "${missing[@]}"
}

JOBS=$(nproc 2>/dev/null || echo 2)
export QT_QPA_PLATFORM=offscreen

# Builds and tests one preset; its ctest summary goes to build/<preset>/ctest-summary.txt.
# Called as `run_preset ... || overall=1`, where bash ignores `set -e`: every step checks its
# own status, so a failed configure or build never goes on to test the binaries of an earlier
# build (and leaves no summary, so the summary below says the preset did not build).
run_preset() {
    local preset=$1
    rm -f "build/$preset/ctest-summary.txt"
    echo "== $preset: configure and build"
    if ! cmake --preset "$preset" >/dev/null; then
        echo "test.sh: $preset: configure failed" >&2
        return 1
    fi
    if ! cmake --build --preset "$preset" -j "$JOBS"; then
        echo "test.sh: $preset: build failed" >&2
        return 1
    fi
    echo "== $preset: test"
    local log="build/$preset/ctest.log"
    local status=0
    ctest --preset "$preset" -j "$JOBS" --timeout 600 >"$log" 2>&1 || status=$?
    grep -E "tests passed|tests failed|The following tests|^\s+[0-9]+ - " "$log" \
        >"build/$preset/ctest-summary.txt" || true
    if [[ $status -ne 0 ]]; then
        grep -E "Failed|\*\*\*|Timeout" "$log" | tail -40 || true
    fi
    return $status
}

install_missing

overall=0
run_preset dev || overall=1
run_preset asan || overall=1

echo
echo "== summary"
passed=0
failed=0
for preset in dev asan; do
    summary=build/$preset/ctest-summary.txt
    if [[ -f $summary ]]; then
        sed "s/^/$preset: /" "$summary"
        line=$(grep -E "tests passed, [0-9]+ tests failed out of [0-9]+" "$summary" | tail -1 || true)
        if [[ $line =~ ([0-9]+)\ tests\ failed\ out\ of\ ([0-9]+) ]]; then
            failed=$((failed + BASH_REMATCH[1]))
            passed=$((passed + BASH_REMATCH[2] - BASH_REMATCH[1]))
        else
            failed=$((failed + 1))
        fi
    else
        echo "$preset: did not build"
        failed=$((failed + 1))
    fi
done
# One plain closing line over both runs.
echo "tests: $passed passed, $failed failed"
exit $overall
