#!/usr/bin/env bash
# Installs what is missing, builds the release preset and makes the Debian
# package orvane_<version>_<arch>.deb in the checkout's folder:
#   bash scripts/package.sh && sudo apt install ./orvane_*.deb
# Its dependencies come from dpkg-shlibdeps; lintian checks it when present.
set -euo pipefail
cd "$(dirname "$0")/.."
# The compiler cache keys on paths relative to the checkout, so clones in
# other folders (CI's, a second work tree) reuse each other's objects.
export CCACHE_BASEDIR="${CCACHE_BASEDIR:-$PWD}" CCACHE_NOHASHDIR="${CCACHE_NOHASHDIR:-1}"
bash scripts/install-deps.sh
cmake --preset release >/dev/null
cmake --build --preset release
out=build/release/package
rm -rf "$out"
(cd build/release && cpack --config CPackConfig.cmake -B "$PWD/package")
debs=("$out"/orvane_*.deb)
if [ ${#debs[@]} -ne 1 ] || [ ! -f "${debs[0]}" ]; then
  echo "package: cpack made no single package in $out" >&2
  exit 1
fi
deb="$(basename "${debs[0]}")"
rm -f ./orvane_*.deb
cp "${debs[0]}" "./$deb"
if command -v lintian >/dev/null 2>&1; then
  lintian --fail-on error "./$deb"
else
  echo "package: lintian is not installed; the package was not checked"
fi
echo "package: $PWD/$deb"
