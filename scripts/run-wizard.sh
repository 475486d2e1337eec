#!/usr/bin/env bash
# Fresh machine to running wizard: installs the packages, builds, and starts
# Frostpick on the sample data in build/bin.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/setup.sh"
"$root/scripts/build.sh"
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  echo "No display found: starting the wizard on a virtual X display (xvfb-run)." >&2
  exec xvfb-run -a -s "-screen 0 1280x900x24" "$root/build/bin/frostpick"
fi
exec "$root/build/bin/frostpick"
