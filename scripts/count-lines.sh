#!/usr/bin/env bash
# Counts the lines of the tests against all source lines (C++, .ui, CMake,
# scripts, tests included) of the files under version control, and the
# tests' share of them.
set -euo pipefail
cd "$(dirname "$0")/.."
count() { git ls-files -z -- "$@" | xargs -0 -r cat | wc -l; }
# In a git pathspec * also matches /, so each pattern reaches every folder.
patterns=('*.cpp' '*.h' '*.ui' '*CMakeLists.txt' '*.cmake' '*.sh' '*.py')
all=$(count "${patterns[@]}")
# The script that replays the fault catalogue is test code though it lives in
# scripts/; the catalogue itself (tests/faults/faults.tsv) is data, as the SQL
# of the sample databases is, and counts on neither side.
tests=$(count "${patterns[@]/#/tests/}" scripts/plant-faults.sh)
echo "test lines:   $tests"
echo "source lines: $all"
awk -v t="$tests" -v a="$all" 'BEGIN { printf "test share:   %.1f%%\n", a ? 100 * t / a : 0 }'
