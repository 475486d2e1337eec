#!/usr/bin/env bash
# Installs every Debian package that building, testing and running the
# programs need. Safe to run again: apt-get skips what is installed.
set -euo pipefail

packages=(
  cmake g++ make pkg-config
  qt6-base-dev qt6-base-dev-tools qt6-qpa-plugins libgl-dev qt6-translations-l10n
  libsqlite3-dev sqlite3
  postgresql libpq-dev
  fonts-liberation fonts-dejavu-core
  xvfb xauth imagemagick poppler-utils
  clang libclang-rt-14-dev
  dpkg-dev file lintian desktop-file-utils appstream
)

if [ "$(id -u)" -eq 0 ]; then
  sudo=()
else
  sudo=(sudo)
fi

export DEBIAN_FRONTEND=noninteractive
"${sudo[@]}" apt-get update
"${sudo[@]}" apt-get install -y --no-install-recommends "${packages[@]}"
