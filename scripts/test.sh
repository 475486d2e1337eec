#!/usr/bin/env bash
# Fresh machine to test results: installs the packages, builds and runs every
# test (headless). Fails on any compiler warning, when a test fails, when no
# test ran or when one skipped for a reason not allowed.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/setup.sh"
"$root/scripts/test-suite.sh" "$root/build-test" -DFROSTPICK_WERROR=ON -- "$@"
