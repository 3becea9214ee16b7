#ifndef VELMORA_TAPE_BUILDER_TAPE_LAYOUT_H_
#define VELMORA_TAPE_BUILDER_TAPE_LAYOUT_H_

#include <cstddef>

// A screen image is the Spectrum's display memory as it stands at 16384:
// the bitmap first, then one attribute byte per 8x8 character cell.
constexpr std::size_t SCREEN_BYTES = 6912;
constexpr std::size_t SCREEN_BITMAP_BYTES = 6144;
// Black ink on white paper: what the Spectrum itself uses after a reset.
constexpr unsigned char DEFAULT_ATTRIBUTE = 0x38;

constexpr std::size_t TAPE_PREAMBLE_BYTES = 71;
constexpr std::size_t TAPE_BYTES = TAPE_PREAMBLE_BYTES + SCREEN_BYTES + 1;

// Everything in front of the screen bytes: a BASIC header, the loader
// (10 LOAD "" SCREEN$ / 20 PAUSE 0, auto-run from line 10), a bytes header
// for 6912 bytes at 16384, and the length and flag of the data block.
inline constexpr unsigned char tape_preamble[TAPE_PREAMBLE_BYTES] = {
    // Block 1: header of the BASIC loader.
    0x13, 0x00, 0x00, 0x00,
    'v', 'e', 'l', 'm', 'o', 'r', 'a', ' ', ' ', ' ',
    0x16, 0x00, 0x0A, 0x00, 0x16, 0x00, 0x44,
    // Block 2: the loader itself.
    0x18, 0x00, 0xFF,
    0x00, 0x0A, 0x05, 0x00, 0xEF, 0x22, 0x22, 0xAA, 0x0D,
    0x00, 0x14, 0x09, 0x00, 0xF2, 0x30, 0x0E, 0x00, 0x00, 0x00, 0x00, 0x00, 0x0D,
    0x64,
    // Block 3: header of the screen bytes.
    0x13, 0x00, 0x00, 0x03,
    's', 'c', 'r', 'e', 'e', 'n', ' ', ' ', ' ', ' ',
    0x00, 0x1B, 0x00, 0x40, 0x61, 0x80, 0xB5,
    // Block 4, opened: length 6914, data flag; the screen and checksum follow.
    0x02, 0x1B, 0xFF,
};

// The last byte of the tape: XOR of the screen bytes, complemented, so
// that the data block's flag, payload and checksum XOR to zero.
unsigned char screen_checksum(const unsigned char* screen);

// Lays out the whole tape for one screen: preamble, screen, checksum.
void compose_tape(const unsigned char* screen, unsigned char* tape);

// Completes a screen of which only the first bytes_read bytes were loaded,
// so that a short source never puts undefined bytes on a tape.
void fill_missing_screen_bytes(unsigned char* screen, std::size_t bytes_read);

#endif  // VELMORA_TAPE_BUILDER_TAPE_LAYOUT_H_
