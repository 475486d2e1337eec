#!/usr/bin/env bash
# Builds the whole project with AddressSanitizer and UndefinedBehaviorSanitizer
# into build-asan/ and runs every test there.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$root/build-asan
"$root/scripts/build.sh" "$build" -DFROSTPICK_SANITIZE=ON -DFROSTPICK_WERROR=ON -DCMAKE_BUILD_TYPE=Debug
# Qt's own one-time allocations are not leaks of this program.
export ASAN_OPTIONS=detect_leaks=0:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
ctest --test-dir "$build" -j2 --output-on-failure --no-tests=error
