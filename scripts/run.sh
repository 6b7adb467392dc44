#!/usr/bin/env bash
# Installs what is missing, builds the release preset and runs Orvane.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
cmake --preset release >/dev/null
cmake --build --preset release
exec ./build/release/bin/orvane "$@"
