#!/bin/sh
# Builds the benchmark in its own build folder and prints every figure.
# Usage: scripts/bench.sh [runner options], e.g. --sizes 1000,10000 --runs 7
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
build=${FROSTPICK_BENCH_BUILD:-$root/build-bench}
cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
targets="frostpick-calc frostpick-bench-generate frostpick-bench"
# The GUI figures need the screens; without them the runner says "not measured".
for optional in frostpick-bench-gui frostpick-bench-start; do
    if cmake --build "$build" --target help | grep -q "$optional"; then
        targets="$targets $optional"
    fi
done
# shellcheck disable=SC2086
cmake --build "$build" -j2 --target $targets >/dev/null
echo "load before measuring: $(cut -d' ' -f1-3 /proc/loadavg)" >&2
exec "$build/bench/frostpick-bench" --work "$build/bench" "$@"
