#!/usr/bin/env bash
# Installs what is missing, builds the debug preset with its tests and runs
# every test. Pass a preset name (debug, asan, tsan) to test another build.
set -euo pipefail
cd "$(dirname "$0")/.."
preset="${1:-debug}"
bash scripts/install-deps.sh
cmake --preset "$preset" >/dev/null
cmake --build --preset "$preset"
ctest --preset "$preset"
