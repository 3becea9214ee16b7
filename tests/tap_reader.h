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

#endif  // VELMORA_TESTS_TAP_READER_H_
