#!/usr/bin/env bash
# Takes the README's screenshots of both windows under a real X server with a
# window manager: Xvfb, openbox, then ImageMagick's import of each window and
# its frame. Needs: xvfb openbox imagemagick xdotool.
# Usage: tools/screenshots.sh [BUILD-FOLDER [OUTPUT-FOLDER]]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build}
output=${2:-$root/docs}
mkdir -p "$output"
export DISPLAY=:77
Xvfb "$DISPLAY" -screen 0 1024x768x24 -nolisten tcp &
trap 'kill $(jobs -p) 2>/dev/null || true' EXIT
sleep 1
openbox &
sleep 1

# Waits for a visible window whose title matches, and prints its id.
window_named() {
  local id
  for _ in $(seq 50); do
    id=$(xdotool search --onlyvisible --name "$1" 2>/dev/null | head -1 || true)
    if [ -n "$id" ]; then echo "$id"; return 0; fi
    sleep 0.2
  done
  echo "no window named $1" >&2
  return 1
}

LANG=C.UTF-8 "$build/src/numbrook" &
main=$(window_named '^Numbrook$')
sleep 1
import -window "$main" -frame "$output/main-window.png"
# The About window, opened by 关于(B)'s access key, centred on the screen.
xdotool windowactivate --sync "$main"
xdotool key alt+b
about=$(window_named '关于')
sleep 1
import -window "$about" -frame "$output/about-window.png"
echo "wrote $output/main-window.png and $output/about-window.png"
