#!/usr/bin/env bash
# Builds into BUILD with the given CMake options, runs the tests and fails when
# one fails, when none ran, or when one skipped for a reason that
# tests/allowed-skips.txt does not list.
#   test-suite.sh BUILD [CMAKE_OPTION...] [-- CTEST_OPTION...]
# Run by root, it does all of this as the ordinary user scripts/setup.sh made,
# on a copy of the sources that user owns (in $FROSTPICK_TEST_COPY, by default
# /var/tmp/frostpick-test), so that no test skips or passes for being root.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$1
shift
user=frostpick-test

if [ "$(id -u)" -eq 0 ]; then
  copy=${FROSTPICK_TEST_COPY:-/var/tmp/frostpick-test}
  install -d -o "$user" -g "$user" "$copy" "$copy/src"
  # A fresh copy of the files git knows and of any new ones, with their times,
  # so that the build folders kept inside it stay incremental.
  runuser -u "$user" -- find "$copy/src" -mindepth 1 -maxdepth 1 ! -name 'build-*' -exec rm -rf {} +
  (cd "$root" && git ls-files -z --cached --others --exclude-standard |
    tar --null --files-from=- --ignore-failed-read -cf - 2>/dev/null) |
    runuser -u "$user" -- tar -xf - -C "$copy/src"
  echo "Running the tests as $user in $copy/src" >&2
  exec runuser -u "$user" -- env HOME="$copy" "$copy/src/scripts/test-suite.sh" \
    "$copy/src/$(basename "$build")" "$@"
fi

cmake_options=()
while [ $# -gt 0 ] && [ "$1" != -- ]; do
  cmake_options+=("$1")
  shift
done
[ $# -gt 0 ] && shift
"$root/scripts/build.sh" "$build" "${cmake_options[@]}"
ctest --test-dir "$build" -j2 --output-on-failure --no-tests=error "$@"

# Qt Test prints "SKIP   : Class::function(row) reason" for every skip.
allowed=$root/tests/allowed-skips.txt
unexplained=$(grep -h '^SKIP   :' "$build/Testing/Temporary/LastTest"*.log | grep -v -F -f "$allowed" || true)
if [ -n "$unexplained" ]; then
  echo "Tests skipped for reasons not in tests/allowed-skips.txt:" >&2
  echo "$unexplained" >&2
  exit 1
fi
