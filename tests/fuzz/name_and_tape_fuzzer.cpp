// libFuzzer target for the pure parts of a conversion. The input up to its
// first NUL byte is a file name; the bytes after it are a source file.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

#include "front_end/destination_name.h"
#include "tape_builder/tape_layout.h"
#include "tests/tap_reader.h"

namespace {

void require(bool condition) {
  if (!condition) __builtin_trap();
}

void check_derived_name(const std::string& source_name) {
  // What the name must be, worked out independently of the code under test.
  const std::size_t stem_start = source_name.find_first_not_of('.');
  const std::string rest = stem_start == std::string::npos ? "" : source_name.substr(stem_start);
  const std::string stem = rest.substr(0, rest.find('.'));
  const bool fits = stem.size() + 4 <= 259;

  DestinationName derived;
  const bool accepted = derive_destination_name(source_name.c_str(), derived);
  require(accepted == fits);  // rejected exactly when it would have to be cut
  const std::string name(derived);
  if (!accepted) {
    require(name.empty());
    return;
  }
  require(name.size() <= 259);
  require(name == stem + ".tap");
  require(name.find('.') == name.size() - 4);
}

void check_given_name(const std::string& given_name) {
  DestinationName copied;
  const bool accepted = copy_destination_name(given_name.c_str(), copied);
  require(accepted == (given_name.size() <= 259));
  require(std::string(copied) == (accepted ? given_name : ""));
}

void check_tape(const std::uint8_t* source, std::size_t size) {
  const std::size_t loaded = size < SCREEN_BYTES ? size : SCREEN_BYTES;
  Bytes screen(SCREEN_BYTES, 0xA5);
  std::copy(source, source + loaded, screen.begin());
  fill_missing_screen_bytes(screen.data(), loaded);

  const Bytes expected_screen = expected_screen_of(source, size);
  require(screen == expected_screen);

  Bytes tape(TAPE_BYTES);
  compose_tape(screen.data(), tape.data());
  require(std::memcmp(tape.data(), tape_preamble, TAPE_PREAMBLE_BYTES) == 0);
  require(tape_fault(tape, expected_screen).empty());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const auto* text = reinterpret_cast<const char*>(data);
  const std::size_t name_length = strnlen(text, size);
  const std::string name(text, name_length);
  check_derived_name(name);
  check_given_name(name);
  const std::size_t source_start = name_length < size ? name_length + 1 : size;
  check_tape(data + source_start, size - source_start);
  return 0;
}
