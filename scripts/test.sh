#!/usr/bin/env bash
# Installs what is missing, builds the debug preset with its tests and runs
# every test. Pass a preset name (debug, asan, tsan) to test another build.
set -euo pipefail
cd "$(dirname "$0")/.."
# The compiler cache keys on paths relative to the checkout, so clones in
# other folders (CI's, a second work tree) reuse each other's objects.
export CCACHE_BASEDIR="${CCACHE_BASEDIR:-$PWD}" CCACHE_NOHASHDIR="${CCACHE_NOHASHDIR:-1}"
preset="${1:-debug}"
bash scripts/install-deps.sh
cmake --preset "$preset" >/dev/null
cmake --build --preset "$preset"
ctest --preset "$preset" --output-on-failure
