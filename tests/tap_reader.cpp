#include "tests/tap_reader.h"

#include <algorithm>

unsigned little_endian(const Bytes& bytes, std::size_t offset) {
  return bytes[offset] | (bytes[offset + 1] << 8);
}

Bytes expected_screen_of(const unsigned char* source, std::size_t size) {
  // One block of one size, so that callers counting heap use see no churn.
  Bytes screen(6912, 0x38);
  const std::size_t loaded = size < 6912 ? size : 6912;
  std::copy(source, source + loaded, screen.begin());
  if (loaded < 6144) std::fill(screen.begin() + static_cast<long>(loaded), screen.begin() + 6144, 0x00);
  return screen;
}

bool read_tap_blocks(const Bytes& tape, std::vector<TapBlock>& blocks) {
  blocks.clear();
  std::size_t offset = 0;
  while (offset < tape.size()) {
    if (tape.size() - offset < 2) return false;
    const std::size_t length = little_endian(tape, offset);
    offset += 2;
    if (length < 2 || tape.size() - offset < length) return false;
    TapBlock block;
    block.flag = tape[offset];
    block.payload.assign(&tape[offset + 1], &tape[offset + length - 1]);
    block.checksum = tape[offset + length - 1];
    unsigned char sum = 0;
    for (std::size_t i = 0; i < length; ++i) sum ^= tape[offset + i];
    block.passes_xor_rule = sum == 0;
    blocks.push_back(block);
    offset += length;
  }
  return true;
}

std::string tape_fault(const Bytes& tape, const Bytes& screen) {
  if (tape.size() != 6984) return "tape is " + std::to_string(tape.size()) + " bytes, not 6984";
  std::vector<TapBlock> blocks;
  if (!read_tap_blocks(tape, blocks)) return "tape does not split into blocks";
  if (blocks.size() != 4) return "tape has " + std::to_string(blocks.size()) + " blocks";
  for (std::size_t i = 0; i < blocks.size(); ++i) {
    if (!blocks[i].passes_xor_rule) return "block " + std::to_string(i + 1) + " fails the XOR rule";
  }
  const Bytes expected_flags_and_sizes = {0x00, 17, 0xFF, 22, 0x00, 17, 0xFF, 0};
  for (std::size_t i = 0; i < 3; ++i) {
    if (blocks[i].flag != expected_flags_and_sizes[2 * i] ||
        blocks[i].payload.size() != expected_flags_and_sizes[2 * i + 1])
      return "block " + std::to_string(i + 1) + " has the wrong flag or size";
  }
  if (blocks[3].flag != 0xFF) return "the screen is not in a data block";
  if (blocks[3].payload != screen) return "the screen bytes differ from the source";
  return "";
}
