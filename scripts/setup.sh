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

test_user=frostpick-test

if [ "$(id -u)" -eq 0 ]; then
  sudo=()
else
  sudo=(sudo)
fi

installed() { dpkg-query -W -f='${Status}\n' "$@" 2>/dev/null | grep -c '^install ok installed$'; }

# Asking the archive for news takes a while: only when something is missing.
if [ "$(installed "${packages[@]}")" -ne "${#packages[@]}" ]; then
  export DEBIAN_FRONTEND=noninteractive
  "${sudo[@]}" apt-get update
  "${sudo[@]}" apt-get install -y --no-install-recommends "${packages[@]}"
fi

# Run by root, the tests run as an ordinary user instead (scripts/test.sh), so
# that file permissions stop them as they stop a user.
if [ "$(id -u)" -eq 0 ] && ! id -u "$test_user" >/dev/null 2>&1; then
  useradd --system --user-group --create-home --home-dir "/var/lib/$test_user" \
    --shell /usr/sbin/nologin "$test_user"
fi
