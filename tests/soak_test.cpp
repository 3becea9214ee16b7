// Ten thousand conversions in one process: every tape checked, and no
// file descriptor or heap block may outlive its conversion.
#include <gtest/gtest.h>

#ifdef __linux__

// AddressSanitizer holds freed blocks back on purpose, so peak memory grows
// under it; it checks for leaks itself.
#if defined(__SANITIZE_ADDRESS__)
#define VELMORA_UNDER_ADDRESS_SANITIZER
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define VELMORA_UNDER_ADDRESS_SANITIZER
#endif
#endif

#include <fcntl.h>
#include <malloc.h>
#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <random>

#include "tape_builder/tape_builder.h"
#include "tape_builder/tape_layout.h"
#include "tests/tap_reader.h"

namespace fs = std::filesystem;

namespace {

std::size_t open_descriptors() {
  std::size_t count = 0;
  for (const auto& entry : fs::directory_iterator("/proc/self/fd")) {
    (void)entry;
    ++count;
  }
  return count;
}

long peak_resident_kib() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return usage.ru_maxrss;
}

bool write_whole_file(const std::string& name, const Bytes& bytes) {
  const int file = open(name.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
  if (file < 0) return false;
  const bool written = write(file, bytes.data(), bytes.size()) == static_cast<ssize_t>(bytes.size());
  return close(file) == 0 && written;
}

// Reads at most buffer.size() bytes; returns how many there were.
std::size_t read_up_to_size(const std::string& name, Bytes& buffer) {
  const int file = open(name.c_str(), O_RDONLY);
  if (file < 0) return 0;
  std::size_t filled = 0;
  for (ssize_t got; (got = read(file, buffer.data() + filled, buffer.size() - filled)) > 0;)
    filled += static_cast<std::size_t>(got);
  close(file);
  return filled;
}

TEST(Soak, TenThousandConversionsLeakNothing) {
  const fs::path dir = fs::temp_directory_path() / ("velmora-soak-" + std::to_string(std::random_device{}()));
  fs::create_directories(dir);
  const std::string source_name = (dir / "origen.scr").string();
  const std::string tape_name = (dir / "destino.tap").string();
  std::mt19937 generator(20261210);
  std::uniform_int_distribution<std::size_t> size_of_source(0, 20000);

  // The test's own buffers are made once, so that the only heap traffic
  // inside the loop is the conversion's.
  Bytes source;
  source.reserve(20000);
  Bytes tape(TAPE_BYTES + 1);
  auto convert_one = [&]() {
    source.resize(size_of_source(generator));
    std::generate(source.begin(), source.end(), [&] { return static_cast<unsigned char>(generator()); });
    ASSERT_TRUE(write_whole_file(source_name, source));
    ASSERT_EQ(load_screen(source_name.c_str()), 1);
    ASSERT_EQ(save_tape(tape_name.c_str()), 1);
    release_screen();
    ASSERT_EQ(read_up_to_size(tape_name, tape), TAPE_BYTES);
    ASSERT_EQ(tape_fault(Bytes(tape.begin(), tape.begin() + TAPE_BYTES), expected_screen_of(source.data(), source.size())), "")
        << "source of " << source.size() << " bytes";
  };

  // Warm up first, so that buffers the runtime keeps for good are counted
  // in the baseline, not as growth.
  for (int i = 0; i < 100; ++i) convert_one();
  const std::size_t descriptors_before = open_descriptors();
  const std::size_t heap_in_use_before = mallinfo2().uordblks;
  const long peak_before = peak_resident_kib();

  for (int i = 0; i < 10000 && !HasFatalFailure(); ++i) convert_one();

  EXPECT_EQ(open_descriptors(), descriptors_before);
  EXPECT_EQ(mallinfo2().uordblks, heap_in_use_before);
#ifndef VELMORA_UNDER_ADDRESS_SANITIZER
  EXPECT_LE(peak_resident_kib() - peak_before, 64) << "KiB of peak memory gained";
#else
  (void)peak_before;
#endif
  fs::remove_all(dir);
}

}  // namespace

#endif
