#!/usr/bin/env bash
# Installs the Debian 12 packages Orvane needs to build, run and test.
# Idempotent: apt-get runs only when a package is missing.
set -euo pipefail

PACKAGES=(
  build-essential cmake ninja-build pkg-config ccache git
  clang libclang-rt-14-dev
  googletest libgtest-dev libgmock-dev libbenchmark-dev
  libsdl2-dev libcairo2-dev libpango1.0-dev libgif-dev libpng-dev
  fonts-open-sans fonts-noto-cjk
  libhidapi-dev libudev-dev
  libsqlite3-dev sqlite3
  libcurl4-openssl-dev libsystemd-dev
  libxml2-dev libpugixml-dev
  xvfb xauth xdotool imagemagick dbus twm python3 libx11-dev
  dpkg-dev fakeroot lintian desktop-file-utils appstream libxml2-utils man-db
)

missing=()
for p in "${PACKAGES[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  echo "install-deps: every package is present"
  exit 0
fi

SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
echo "install-deps: installing ${missing[*]}"
$SUDO apt-get update -q
DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -q --no-install-recommends "${missing[@]}"
