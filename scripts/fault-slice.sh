#!/usr/bin/env bash
# Replays the slice of the fault catalogue this commit chooses
# (plant-faults.sh --slice; default 3 rows), only the tests each row names, on
# the build scripts/test.sh left: run by root, in the copy the tests ran in and
# as their user; otherwise in build-faults/. A row takes 10 s to 3 min (its
# file recompiled, its tests run), so no row begins after 150 s and CI keeps
# its 30 minutes. All rows: scripts/plant-faults.sh.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
size=${1:-3}
commit=$(git -C "$root" rev-parse HEAD)
if [ "$(id -u)" -eq 0 ]; then
  copy=${FROSTPICK_TEST_COPY:-/var/tmp/frostpick-test}
  exec runuser -u frostpick-test -- env HOME="$copy" PLANT_FAULTS_DIR="$copy" PLANT_FAULTS_COMMIT="$commit" \
    PLANT_FAULTS_NAMED_ONLY=1 PLANT_FAULTS_BUDGET=150 "$copy/src/scripts/plant-faults.sh" --slice "$size"
fi
PLANT_FAULTS_COMMIT=$commit PLANT_FAULTS_NAMED_ONLY=1 PLANT_FAULTS_BUDGET=150 exec "$root/scripts/plant-faults.sh" --slice "$size"
