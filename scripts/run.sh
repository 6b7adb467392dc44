#!/usr/bin/env bash
# Installs what is missing, builds the release preset and runs Orvane.
set -euo pipefail
cd "$(dirname "$0")/.."
# The compiler cache keys on paths relative to the checkout, so clones in
# other folders (CI's, a second work tree) reuse each other's objects.
export CCACHE_BASEDIR="${CCACHE_BASEDIR:-$PWD}" CCACHE_NOHASHDIR="${CCACHE_NOHASHDIR:-1}"
bash scripts/install-deps.sh
cmake --preset release >/dev/null
cmake --build --preset release
exec ./build/release/bin/orvane "$@"
