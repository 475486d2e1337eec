#!/usr/bin/env bash
# Builds the whole project with AddressSanitizer and UndefinedBehaviorSanitizer
# into build-asan/ and runs every test there except the package's, which
# would only package the instrumented programs, and the screens' runs against a
# server: the same screens run here on files, and the server's own code runs
# here under the store, tool and outage tests. Line tables (-g1) are all a
# sanitizer's report needs.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
# Qt's own one-time allocations are not leaks of this program.
export ASAN_OPTIONS=detect_leaks=0:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
"$root/scripts/test-suite.sh" "$root/build-asan" -DFROSTPICK_SANITIZE=ON -DFROSTPICK_WERROR=ON \
  -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_FLAGS_DEBUG=-g1 -- -LE package -E '^(wizard|admin)_test_.*_server$'
