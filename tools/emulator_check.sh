#!/usr/bin/env bash
# Loads a tape in the Fuse emulator (48K, free OpenSE BASIC ROM) on a
# virtual display, types LOAD "" and saves a screenshot of what the
# Spectrum shows once loading is over.
#
# Usage: tools/emulator_check.sh TAPE.tap SCREENSHOT.png
# Needs: fuse-emulator-sdl opense-basic xvfb xdotool imagemagick
set -euo pipefail
tape=$(realpath "$1")
shot=$2
display=:${DISPLAY_NUMBER:-97}

Xvfb "$display" -screen 0 640x480x24 >/dev/null 2>&1 &
xvfb=$!
trap 'kill $xvfb ${fuse:-} 2>/dev/null || true' EXIT
sleep 1
export DISPLAY=$display SDL_AUDIODRIVER=dummy
fuse-sdl --machine 48 --rom-48 /usr/share/spectrum-roms/opense.rom --no-sound \
  --no-auto-load --tape "$tape" >/dev/null 2>&1 &
fuse=$!
sleep 4
window=$(xdotool search --name Fuse | head -n 1)
xdotool windowfocus "$window"
press() { xdotool keydown "$1"; sleep 0.3; xdotool keyup "$1"; sleep 0.3; }
press Return                  # leave the copyright screen
xdotool type --delay 200 'LOAD '
press ctrl+p; press ctrl+p    # Symbol Shift + P: the quote mark
press Return
sleep "${LOAD_SECONDS:-12}"   # tape traps load at once; the rest is margin
import -window root -crop 320x240+0+0 "$shot"
echo "screenshot: $shot"
