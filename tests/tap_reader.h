#ifndef VELMORA_TESTS_TAP_READER_H_
#define VELMORA_TESTS_TAP_READER_H_

#include <cstddef>
#include <string>
#include <vector>

using Bytes = std::vector<unsigned char>;

// One block of a TAP file, as a tape loader would see it.
struct TapBlock {
  unsigned char flag = 0;
  Bytes payload;           // between the flag and the checksum
  unsigned char checksum = 0;
  bool passes_xor_rule = false;
};

// Splits a TAP image into blocks. Returns false when a length runs past
// the end or a block is too short to hold a flag and a checksum.
bool read_tap_blocks(const Bytes& tape, std::vector<TapBlock>& blocks);

// An empty string when tape is the complete, well-formed tape of screen;
// otherwise what is wrong with it.
std::string tape_fault(const Bytes& tape, const Bytes& screen);

unsigned little_endian(const Bytes& bytes, std::size_t offset);

// The screen that a source of these bytes must put on a tape: its first
// 6912 bytes, a short one completed with a blank bitmap and 0x38 attributes.
Bytes expected_screen_of(const unsigned char* source, std::size_t size);

#endif  // VELMORA_TESTS_TAP_READER_H_
