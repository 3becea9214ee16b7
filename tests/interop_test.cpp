// The field's own tape readers must accept what velmora writes: libspectrum
// (the library behind the Fuse emulator) and tzxlist. Where they are not
// installed the tests say so and skip; CI requires both.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <numeric>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>

#include "tests/tap_reader.h"
#include "tests/velmora_process.h"

#ifdef VELMORA_HAVE_LIBSPECTRUM
#include <libspectrum.h>
#endif

namespace fs = std::filesystem;

namespace {

class Interop : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() / ("velmora-interop-" + std::to_string(std::random_device{}()));
    fs::create_directories(dir_);
    std::mt19937 generator(6912);
    screen_.resize(6912);
    std::generate(screen_.begin(), screen_.end(), [&] { return static_cast<unsigned char>(generator()); });
    std::ofstream(dir_ / "pic.scr", std::ios::binary)
        .write(reinterpret_cast<const char*>(screen_.data()), static_cast<std::streamsize>(screen_.size()));
    RunSettings settings;
    settings.working_directory = dir_.string();
    const RunOutcome outcome = run_program(VELMORA_PATH, {"pic.scr"}, settings);
    ASSERT_EQ(outcome.standard_output, "Conversion exitosa.");
    std::ifstream in(dir_ / "pic.tap", std::ios::binary);
    tape_.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }
  void TearDown() override {
    std::error_code ignored;
    fs::remove_all(dir_, ignored);
  }

  fs::path dir_;
  Bytes screen_;
  Bytes tape_;
};

#ifdef VELMORA_HAVE_LIBSPECTRUM

struct ExpectedBlock {
  std::size_t length;  // flag, payload and checksum, as libspectrum keeps them
  unsigned char flag;
};

TEST_F(Interop, LibspectrumReadsFourStandardBlocks) {
  ASSERT_EQ(libspectrum_init(), LIBSPECTRUM_ERROR_NONE);
  libspectrum_tape* tape = libspectrum_tape_alloc();
  ASSERT_EQ(libspectrum_tape_read(tape, tape_.data(), tape_.size(), LIBSPECTRUM_ID_TAPE_TAP, "pic.tap"),
            LIBSPECTRUM_ERROR_NONE);

  const ExpectedBlock expected[] = {{19, 0x00}, {24, 0xFF}, {19, 0x00}, {6914, 0xFF}};
  Bytes blocks[4];
  std::size_t count = 0;
  libspectrum_tape_iterator iterator;
  for (libspectrum_tape_block* block = libspectrum_tape_iterator_init(&iterator, tape); block != nullptr;
       block = libspectrum_tape_iterator_next(&iterator), ++count) {
    ASSERT_LT(count, 4u) << "more than four blocks";
    EXPECT_EQ(libspectrum_tape_block_type(block), LIBSPECTRUM_TAPE_BLOCK_ROM) << "block " << count;
    const libspectrum_byte* data = libspectrum_tape_block_data(block);
    blocks[count].assign(data, data + libspectrum_tape_block_data_length(block));
  }
  libspectrum_tape_free(tape);
  ASSERT_EQ(count, 4u);

  for (std::size_t i = 0; i < 4; ++i) {
    SCOPED_TRACE("block " + std::to_string(i + 1));
    ASSERT_EQ(blocks[i].size(), expected[i].length);
    EXPECT_EQ(blocks[i][0], expected[i].flag);
    EXPECT_EQ(std::accumulate(blocks[i].begin(), blocks[i].end(), 0, std::bit_xor<>()), 0) << "checksum";
  }
  const Bytes& program = blocks[0];
  EXPECT_EQ(program[1], 0);
  EXPECT_EQ(std::string(program.begin() + 2, program.begin() + 12), "velmora   ");
  EXPECT_EQ(little_endian(program, 12), 22u);
  EXPECT_EQ(little_endian(program, 14), 10u);
  EXPECT_EQ(little_endian(program, 16), 22u);
  const Bytes& bytes_header = blocks[2];
  EXPECT_EQ(bytes_header[1], 3);
  EXPECT_EQ(std::string(bytes_header.begin() + 2, bytes_header.begin() + 12), "screen    ");
  EXPECT_EQ(little_endian(bytes_header, 12), 6912u);
  EXPECT_EQ(little_endian(bytes_header, 14), 16384u);
  EXPECT_EQ(little_endian(bytes_header, 16), 32865u);
  EXPECT_EQ(Bytes(blocks[3].begin() + 1, blocks[3].end() - 1), screen_);
}

#else

TEST_F(Interop, LibspectrumReadsFourStandardBlocks) {
  GTEST_SKIP() << "libspectrum was not found when this suite was built "
                  "(Debian: libspectrum-dev and pkg-config); the tape was not checked with it";
}

#endif

TEST_F(Interop, TzxlistPassesAllFourChecksums) {
#if defined(VELMORA_TZXLIST) && !defined(_WIN32)
  const std::string command = std::string(VELMORA_TZXLIST) + " '" + (dir_ / "pic.tap").string() + "'";
  std::FILE* listing = popen(command.c_str(), "r");
  ASSERT_NE(listing, nullptr);
  std::string printed;
  char chunk[4096];
  for (std::size_t got; (got = std::fread(chunk, 1, sizeof chunk, listing)) > 0;) printed.append(chunk, got);
  ASSERT_EQ(pclose(listing), 0) << printed;

  std::size_t passes = 0;
  for (std::size_t at = printed.find("(PASS)"); at != std::string::npos; at = printed.find("(PASS)", at + 1))
    ++passes;
  EXPECT_EQ(passes, 4u) << printed;
  EXPECT_EQ(printed.find("FAIL"), std::string::npos) << printed;
  EXPECT_NE(printed.find("Bytes: \"screen    \" SCREEN$  16384, 6912"), std::string::npos) << printed;
  EXPECT_NE(printed.find("Program: \"velmora   \" LINE 10"), std::string::npos) << printed;
#else
  GTEST_SKIP() << "tzxlist was not found when this suite was built, or it can't run beside a "
                  "Windows build (Debian: fuse-emulator-utils); the tape was not checked with it";
#endif
}

}  // namespace
