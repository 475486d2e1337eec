#!/usr/bin/env bash
# Installs what is missing, builds into build/ (or $1) and makes the Debian
# package frostpick_<version>_amd64.deb there with CPack.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build}
"$root/scripts/setup.sh"
"$root/scripts/build.sh" "$build"
cpack --config "$build/CPackConfig.cmake" -B "$build"
