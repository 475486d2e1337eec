#!/usr/bin/env bash
# Fresh machine to test results: installs the packages, builds and runs every
# test (headless). Fails on any compiler warning, when a test fails or when no
# test ran.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$root/build-test
"$root/scripts/setup.sh"
"$root/scripts/build.sh" "$build" -DFROSTPICK_WERROR=ON
ctest --test-dir "$build" -j2 --output-on-failure --no-tests=error
