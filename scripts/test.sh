#!/usr/bin/env bash
# Builds Vardel and runs the whole test suite twice: in the normal build (build/), then in a
# build with AddressSanitizer and UndefinedBehaviorSanitizer (build-asan/), where any finding
# fails the test that made it. In between, the Debian package is built and checked with
# lintian, and clang-tidy checks the sources when it is installed.
# Ends with one pass/fail summary over everything.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh --tests
root=$PWD
passed=0
failed=0

# run_suite DIR: runs ctest in DIR and adds its results to the totals.
run_suite() {
    local status=0
    (cd "$1" && ctest --output-on-failure --timeout 600 --parallel 2) | tee "$1/ctest.log" ||
        status=$?
    passed=$((passed + $(grep -cE '^ *[0-9]+/[0-9]+ Test +#[0-9]+: .* +Passed' "$1/ctest.log" || true)))
    failed=$((failed + $(grep -cE '^ *[0-9]+/[0-9]+ Test +#[0-9]+: .*(Failed|Exception|Timeout|Not Run)' "$1/ctest.log" || true)))
    # A crash before ctest printed its results is a failure too.
    [[ $status -eq 0 ]] || [[ $failed -gt 0 ]] || failed=$((failed + 1))
}

echo "== Normal build"
scripts/build.sh
run_suite build

# The Debian package and lintian (seconds); its end-to-end check on a bare system takes about
# a minute and the network: scripts/package.sh --verify.
echo "== Debian package"
if scripts/package.sh; then
    passed=$((passed + 1))
else
    failed=$((failed + 1))
    echo "Debian package: FAILED"
fi

if command -v run-clang-tidy >/dev/null; then
    echo "== clang-tidy"
    if run-clang-tidy -p build -quiet -j "$(nproc)" "$root/(src|tools|tests|bench)/.*\.cpp$" \
        >build/clang-tidy.log 2>&1; then
        passed=$((passed + 1))
        echo "clang-tidy: no findings"
    else
        failed=$((failed + 1))
        grep -E -A3 '(warning|error):' build/clang-tidy.log || tail -20 build/clang-tidy.log
        echo "clang-tidy: findings above (whole log in build/clang-tidy.log)"
    fi
fi

echo "== Sanitizer build"
cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVARDEL_SANITIZE=ON >/dev/null
cmake --build build-asan --parallel "$(nproc)"
# LeakSanitizer's tracking of dynamic thread-local storage reads a bogus block with this
# glibc (2.36) and crashes its exit check; without the tracking it scans no such block, which
# can only report more leaks, never fewer.
export ASAN_OPTIONS=detect_leaks=1:halt_on_error=1:abort_on_error=0:intercept_tls_get_addr=0
export LSAN_OPTIONS=suppressions=$root/tests/sanitizers/lsan.supp:print_suppressions=0
export UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1
run_suite build-asan

echo
echo "Tests: ${passed} passed, ${failed} failed"
[[ $failed -eq 0 ]]
