#!/bin/sh
# Builds the benchmark in its own build folder and prints every figure.
# Usage: scripts/bench.sh [runner options], e.g. --sizes 1000,10000 --runs 7, or --server for
# the same figures on a throwaway PostgreSQL cluster (loopback and with 1 ms added round trip)
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
build=${FROSTPICK_BENCH_BUILD:-$root/build-bench}
cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" -j2 --target frostpick-calc frostpick-bench-generate frostpick-bench >/dev/null
# The GUI figures need the screens; a part that does not build is reported
# as "not measured" by the runner.
for optional in frostpick-bench-gui rimehold-bench-gui frostpick-bench-start; do
    cmake --build "$build" -j2 --target "$optional" >/dev/null 2>&1 || echo "bench: $optional not built" >&2
done
echo "bench: load before measuring: $(cut -d' ' -f1-3 /proc/loadavg)" >&2
exec "$build/bench/frostpick-bench" --work "$build/bench" "$@"
