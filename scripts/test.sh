#!/usr/bin/env bash
# Builds Vardel and runs the whole test suite, ending with a pass/fail summary.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh --tests
scripts/build.sh
cd build
status=0
ctest --output-on-failure --timeout 600 | tee ctest.log || status=$?
passed=$(grep -cE '^ *[0-9]+/[0-9]+ Test +#[0-9]+: .* +Passed' ctest.log || true)
failed=$(grep -cE '^ *[0-9]+/[0-9]+ Test +#[0-9]+: .*(Failed|Exception|Timeout|Not Run)' ctest.log || true)
echo
echo "Tests: ${passed} passed, ${failed} failed"
exit "$status"
