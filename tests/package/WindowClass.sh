#!/usr/bin/env bash
# The program's window carries the class the launcher names in
# StartupWMClass (the X11 WM_CLASS, both its name and class parts): the
# program runs under a private Xvfb and xdotool looks the window up by class.
#   WindowClass.sh <orvane executable> <desktop entry>
# Exit 77 (skipped) when Xvfb or xdotool is missing.
set -euo pipefail
program="$1"
entry="$2"
for tool in Xvfb xdotool; do
  if ! command -v "$tool" >/dev/null 2>&1; then
    echo "SKIPPED: $tool is not installed (scripts/install-deps.sh installs it)"
    exit 77
  fi
done
class="$(sed -n 's/^StartupWMClass=//p' "$entry")"
if [ -z "$class" ]; then
  echo "$entry names no StartupWMClass"
  exit 1
fi

work="$(mktemp -d)"
xvfb_pid=""
app_pid=""
cleanup() {
  [ -n "$app_pid" ] && kill "$app_pid" 2>/dev/null || true
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
  wait 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

# A display number of our own: Xvfb writes the one it took to the fd given.
exec 3>"$work/display"
Xvfb -displayfd 3 -screen 0 1400x900x24 -noreset -nolisten tcp >/dev/null 2>&1 &
xvfb_pid=$!
for _ in $(seq 100); do
  [ -s "$work/display" ] && break
  sleep 0.1
done
display=":$(head -n1 "$work/display")"
if [ "$display" = ":" ]; then
  echo "Xvfb did not start"
  exit 1
fi

mkdir -p "$work/config" "$work/data" "$work/run"
chmod 700 "$work/run"
DISPLAY="$display" SDL_VIDEODRIVER=x11 XDG_CONFIG_HOME="$work/config" XDG_DATA_HOME="$work/data" \
  XDG_RUNTIME_DIR="$work/run" "$program" --simulate >/dev/null 2>&1 &
app_pid=$!

for part in --classname --class; do
  found=""
  for _ in $(seq 150); do
    found="$(DISPLAY="$display" xdotool search --onlyvisible "$part" "^${class//./\\.}\$" 2>/dev/null || true)"
    [ -n "$found" ] && break
    sleep 0.1
  done
  if [ -z "$found" ]; then
    echo "no window with WM_CLASS $part $class"
    exit 1
  fi
done
echo "window $found has the class $class"
