#include "tape_builder/tape_layout.h"

#include <cstdint>
#include <cstring>

namespace {

constexpr std::size_t little_endian_at(std::size_t offset) {
  return tape_preamble[offset] | (tape_preamble[offset + 1] << 8);
}

// Checks one complete block starting at offset: XOR of flag, payload and
// checksum is zero. Returns the offset of the next block, or 0 on failure.
constexpr std::size_t checked_block_end(std::size_t offset) {
  const std::size_t length = little_endian_at(offset);
  unsigned char sum = 0;
  for (std::size_t i = 0; i < length; ++i) sum ^= tape_preamble[offset + 2 + i];
  return sum == 0 ? offset + 2 + length : 0;
}

constexpr std::size_t BLOCK_2 = checked_block_end(0);
constexpr std::size_t BLOCK_3 = checked_block_end(BLOCK_2);
constexpr std::size_t BLOCK_4 = checked_block_end(BLOCK_3);

static_assert(BLOCK_2 == 21 && BLOCK_3 == 47 && BLOCK_4 == 68,
              "each header and loader block must pass the XOR rule");
static_assert(BLOCK_4 + 3 == TAPE_PREAMBLE_BYTES,
              "the preamble ends just after the flag of the data block");
static_assert(little_endian_at(BLOCK_4) == SCREEN_BYTES + 2,
              "the data block holds flag, screen and checksum");
static_assert(tape_preamble[BLOCK_4 + 2] == 0xFF, "the screen is a data block");
static_assert(little_endian_at(14) == little_endian_at(BLOCK_2) - 2,
              "the BASIC header announces the loader's real size");
static_assert(little_endian_at(BLOCK_3 + 14) == SCREEN_BYTES,
              "the bytes header announces a whole screen");
static_assert(little_endian_at(BLOCK_3 + 16) == 16384,
              "the screen loads into display memory");
static_assert(TAPE_BYTES == 6984, "a tape is 6984 bytes");

}  // namespace

unsigned char screen_checksum(const unsigned char* screen) {
  // Eight bytes at a time: the checksum is most of the work of a conversion.
  std::uint64_t wide_sum = 0;
  for (std::size_t i = 0; i < SCREEN_BYTES; i += sizeof wide_sum) {
    std::uint64_t word = 0;
    std::memcpy(&word, screen + i, sizeof word);
    wide_sum ^= word;
  }
  static_assert(SCREEN_BYTES % sizeof wide_sum == 0, "no tail to fold in");
  wide_sum ^= wide_sum >> 32;
  wide_sum ^= wide_sum >> 16;
  wide_sum ^= wide_sum >> 8;
  return static_cast<unsigned char>(~wide_sum);
}

void compose_tape(const unsigned char* screen, unsigned char* tape) {
  std::memcpy(tape, tape_preamble, TAPE_PREAMBLE_BYTES);
  std::memcpy(tape + TAPE_PREAMBLE_BYTES, screen, SCREEN_BYTES);
  tape[TAPE_BYTES - 1] = screen_checksum(screen);
}

void fill_missing_screen_bytes(unsigned char* screen, std::size_t bytes_read) {
  if (bytes_read < SCREEN_BITMAP_BYTES) {
    std::memset(screen + bytes_read, 0, SCREEN_BITMAP_BYTES - bytes_read);
    bytes_read = SCREEN_BITMAP_BYTES;
  }
  if (bytes_read < SCREEN_BYTES)
    std::memset(screen + bytes_read, DEFAULT_ATTRIBUTE, SCREEN_BYTES - bytes_read);
}
