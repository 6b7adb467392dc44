#!/usr/bin/env bash
# Installs what is missing, builds the release preset and runs Orvane.
# With no supported mouse on the machine it starts the demo (simulated mice);
# without a display it writes the demo's screenshot instead and says where.
# Arguments are passed on to the program unchanged.
set -euo pipefail
cd "$(dirname "$0")/.."
# The compiler cache keys on paths relative to the checkout, so clones in
# other folders (CI's, a second work tree) reuse each other's objects.
export CCACHE_BASEDIR="${CCACHE_BASEDIR:-$PWD}" CCACHE_NOHASHDIR="${CCACHE_NOHASHDIR:-1}"
bash scripts/install-deps.sh
cmake --preset release >/dev/null
cmake --build --preset release
bin=./build/release/bin/orvane
if [ "$#" -gt 0 ]; then exec "$bin" "$@"; fi

args=()
if ! "$bin" --list >/dev/null 2>&1; then
  echo "No supported mouse found: starting the demo with simulated mice."
  args=(--simulate)
fi
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  shot="$PWD/orvane-demo.png"
  echo "No display: writing the demo's screenshot instead."
  exec env SDL_VIDEODRIVER=dummy "$bin" --simulate --screenshot "$shot" --tab 2
fi
exec "$bin" "${args[@]}"
