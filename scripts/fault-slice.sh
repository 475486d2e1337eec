#!/usr/bin/env bash
# Replays the slice of the fault catalogue this commit chooses
# (plant-faults.sh --slice; default 6 rows), only the tests each row names, on
# the build scripts/test.sh left: run by root, in the copy the tests ran in and
# as their user; otherwise in build-faults/. All rows: scripts/plant-faults.sh.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
size=${1:-6}
commit=$(git -C "$root" rev-parse HEAD)
if [ "$(id -u)" -eq 0 ]; then
  copy=${FROSTPICK_TEST_COPY:-/var/tmp/frostpick-test}
  exec runuser -u frostpick-test -- env HOME="$copy" PLANT_FAULTS_DIR="$copy" PLANT_FAULTS_COMMIT="$commit" \
    PLANT_FAULTS_NAMED_ONLY=1 "$copy/src/scripts/plant-faults.sh" --slice "$size"
fi
PLANT_FAULTS_COMMIT=$commit PLANT_FAULTS_NAMED_ONLY=1 exec "$root/scripts/plant-faults.sh" --slice "$size"
