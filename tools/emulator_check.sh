#!/usr/bin/env bash
# Loads a tape in the Fuse emulator (48K, free OpenSE BASIC ROM) on a
# virtual display, types LOAD "" and saves a screenshot once loading is
# over. Given the screen the tape was made from, it also compares every
# pixel of the Spectrum's display with it and fails on any difference.
#
# Usage: tools/emulator_check.sh TAPE.tap SCREENSHOT.png [EXPECTED.scr]
# Needs: fuse-emulator-sdl opense-basic xvfb xdotool imagemagick python3
set -euo pipefail
tape=$(realpath "$1")
shot=$2
expected=${3:-}

show_tape() {
  local display=:$((90 + RANDOM % 9))
  Xvfb "$display" -screen 0 640x480x24 >/dev/null 2>&1 &
  local xvfb=$!
  sleep 1
  DISPLAY=$display SDL_AUDIODRIVER=dummy fuse-sdl --machine 48 \
    --rom-48 /usr/share/spectrum-roms/opense.rom --no-sound --no-auto-load \
    --tape "$tape" >/dev/null 2>&1 &
  local fuse=$!
  (
    export DISPLAY=$display
    sleep 4
    window=$(xdotool search --name Fuse | head -n 1)
    xdotool windowfocus "$window"
    press() { xdotool keydown "$1"; sleep 0.3; xdotool keyup "$1"; sleep 0.3; }
    press Return                  # leave the copyright screen
    xdotool type --delay 200 'LOAD '
    press ctrl+p; press ctrl+p    # Symbol Shift + P: the quote mark
    press Return
    sleep "${LOAD_SECONDS:-8}"    # tape traps load at once; the rest is margin
    import -window root -crop 320x240+0+0 "$shot"
  ) || true
  kill "$fuse" "$xvfb" 2>/dev/null || true
  wait 2>/dev/null || true
}

# Every display pixel against the screen: the display sits 32 pixels right
# of and 24 below the border's corner. Fuse draws a normal colour channel
# at about 192 and a bright one at about 250.
compare() {
  convert "$shot" -depth 8 rgb:- | python3 -c '
import sys
shot = sys.stdin.buffer.read()
screen = open(sys.argv[1], "rb").read()
def seen(x, y):
    r, g, b = shot[((y + 24) * 320 + x + 32) * 3:][:3]
    levels = [0 if c < 96 else 2 if c > 224 else 1 for c in (b, r, g)]
    on = [l > 0 for l in levels]
    colour = on[0] | on[1] << 1 | on[2] << 2
    return colour, colour != 0 and max(levels) == 2
wrong = 0
for y in range(192):
    for x in range(256):
        byte = screen[((y & 0xC0) << 5) | ((y & 7) << 8) | ((y & 0x38) << 2) | (x >> 3)]
        attribute = screen[6144 + (y // 8) * 32 + x // 8]
        colour = attribute & 7 if byte >> (7 - (x & 7)) & 1 else attribute >> 3 & 7
        if seen(x, y) != (colour, colour != 0 and bool(attribute & 0x40)):
            wrong += 1
print("pixels that differ from the screen:", wrong)
sys.exit(1 if wrong else 0)
' "$expected"
}

for attempt in 1 2 3; do
  rm -f "$shot"
  show_tape
  if [ -s "$shot" ] && { [ -z "$expected" ] || compare; }; then
    echo "screenshot: $shot"
    exit 0
  fi
  echo "attempt $attempt: the emulator did not show the expected picture"
done
exit 1
