#include "tape_builder/tape_layout.h"

#include <gtest/gtest.h>

#include <string>

#include "tests/tap_reader.h"

namespace {

Bytes compose(const Bytes& screen) {
  Bytes tape(TAPE_BYTES);
  compose_tape(screen.data(), tape.data());
  return tape;
}

std::string text_of(const Bytes& bytes, std::size_t from, std::size_t size) {
  return std::string(bytes.begin() + from, bytes.begin() + from + size);
}

// Reads the loader and both headers field by field, as a Spectrum would.
TEST(TapeLayout, PreambleDescribesAnAutoRunningScreenLoader) {
  const Bytes tape = compose(Bytes(SCREEN_BYTES, 0));
  std::vector<TapBlock> blocks;
  ASSERT_TRUE(read_tap_blocks(tape, blocks));
  ASSERT_EQ(blocks.size(), 4u);

  const Bytes& program_header = blocks[0].payload;
  EXPECT_EQ(blocks[0].flag, 0x00);
  EXPECT_EQ(program_header[0], 0);  // BASIC program
  EXPECT_EQ(text_of(program_header, 1, 10), "velmora   ");
  EXPECT_EQ(little_endian(program_header, 11), 22u);
  EXPECT_EQ(little_endian(program_header, 13), 10u);  // auto-run line
  EXPECT_EQ(little_endian(program_header, 15), 22u);  // no variables
  EXPECT_EQ(blocks[0].checksum, 0x44);

  const Bytes loader = {
      0x00, 10, 5, 0, 0xEF, '"', '"', 0xAA, 0x0D,                  // 10 LOAD "" SCREEN$
      0x00, 20, 9, 0, 0xF2, '0', 0x0E, 0, 0, 0, 0, 0, 0x0D};       // 20 PAUSE 0
  EXPECT_EQ(blocks[1].flag, 0xFF);
  EXPECT_EQ(blocks[1].payload, loader);
  EXPECT_EQ(blocks[1].checksum, 0x64);

  const Bytes& bytes_header = blocks[2].payload;
  EXPECT_EQ(blocks[2].flag, 0x00);
  EXPECT_EQ(bytes_header[0], 3);  // bytes
  EXPECT_EQ(text_of(bytes_header, 1, 10), "screen    ");
  EXPECT_EQ(little_endian(bytes_header, 11), 6912u);
  EXPECT_EQ(little_endian(bytes_header, 13), 16384u);
  EXPECT_EQ(little_endian(bytes_header, 15), 0x8061u);
  EXPECT_EQ(blocks[2].checksum, 0xB5);

  for (const TapBlock& block : blocks) EXPECT_TRUE(block.passes_xor_rule);
  EXPECT_EQ(Bytes(tape.begin(), tape.begin() + TAPE_PREAMBLE_BYTES),
            Bytes(tape_preamble, tape_preamble + TAPE_PREAMBLE_BYTES));
}

TEST(TapeLayout, ChecksumComplementsTheXorOfTheScreen) {
  Bytes zero(SCREEN_BYTES, 0);
  EXPECT_EQ(screen_checksum(zero.data()), 0xFF);

  Bytes xors_to_ff(SCREEN_BYTES, 0);
  xors_to_ff[6911] = 0xFF;
  EXPECT_EQ(screen_checksum(xors_to_ff.data()), 0x00);

  // Every byte position counts, whichever lane of a wide word it falls in.
  for (std::size_t position : {0u, 1u, 7u, 8u, 4095u, 6143u, 6144u, 6905u}) {
    Bytes screen(SCREEN_BYTES, 0x5A);  // an even count of equal bytes XORs to 0
    screen[position] ^= 0x81;
    EXPECT_EQ(screen_checksum(screen.data()), static_cast<unsigned char>(~0x81))
        << "position " << position;
  }
}

TEST(TapeLayout, ComposedTapeHoldsTheScreenUnchanged) {
  Bytes screen(SCREEN_BYTES);
  for (std::size_t i = 0; i < screen.size(); ++i) screen[i] = static_cast<unsigned char>(i * 7 + i / 256);
  EXPECT_EQ(tape_fault(compose(screen), screen), "");
}

TEST(TapeLayout, MissingScreenBytesBecomeBlankBitmapAndDefaultAttributes) {
  for (std::size_t bytes_read : {0u, 1u, 6143u, 6144u, 6145u, 6911u, 6912u}) {
    Bytes screen(SCREEN_BYTES, 0xAB);
    fill_missing_screen_bytes(screen.data(), bytes_read);
    for (std::size_t i = 0; i < SCREEN_BYTES; ++i) {
      const unsigned char expected = i < bytes_read ? 0xAB : i < 6144 ? 0x00 : 0x38;
      ASSERT_EQ(screen[i], expected) << "bytes read " << bytes_read << ", offset " << i;
    }
  }
}

}  // namespace
