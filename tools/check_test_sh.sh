#!/usr/bin/env bash
# Runs a copy of test.sh (the first argument) against stub cmake, ctest and dpkg-query, in a tree
# whose earlier run left passing summaries and whose tests would pass again: a failed configure
# or build must still end the run non-zero and be counted as a failure, and a clean run must not.
set -euo pipefail
script=$(realpath "$1")
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

mkdir "$scratch/bin"
cat >"$scratch/bin/cmake" <<'STUB'
#!/usr/bin/env bash
if [[ $1 == --build ]]; then
    [[ $STUB_FAIL != build ]]
else
    mkdir -p "build/$2" && [[ $STUB_FAIL != configure ]]
fi
STUB
cat >"$scratch/bin/ctest" <<'STUB'
#!/usr/bin/env bash
echo "100% tests passed, 0 tests failed out of 5"
STUB
printf '#!/bin/sh\necho "install ok installed"\n' >"$scratch/bin/dpkg-query"
chmod +x "$scratch/bin/"*

failures=0
# expect <failing step or none> <expected exit: zero|nonzero> <expected last line>
expect() {
    local tree="$scratch/tree-$1"
    mkdir -p "$tree/build/dev" "$tree/build/asan"
    cp "$script" "$tree/test.sh"
    for preset in dev asan; do
        echo "100% tests passed, 0 tests failed out of 5" >"$tree/build/$preset/ctest-summary.txt"
    done
    local status=0
    STUB_FAIL=$1 PATH="$scratch/bin:$PATH" bash "$tree/test.sh" >"$tree/out.txt" 2>&1 || status=$?
    local exit=nonzero last
    [[ $status -eq 0 ]] && exit=zero
    last=$(tail -1 "$tree/out.txt")
    if [[ $exit != "$2" || $last != "$3" ]]; then
        echo "FAIL: with a failing $1 step test.sh exited $status and ended with '$last'" \
             "(expected a $2 exit and '$3'); its output:"
        cat "$tree/out.txt"
        failures=$((failures + 1))
    fi
}

expect configure nonzero "tests: 0 passed, 2 failed"
expect build nonzero "tests: 0 passed, 2 failed"
expect none zero "tests: 10 passed, 0 failed"
exit $((failures > 0))
