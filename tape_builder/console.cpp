#include "tape_builder/console.h"

#include <cstring>

#include "tape_builder/file_access.h"

namespace {
bool write_failed = false;
}  // namespace

void print_text(const char* text) {
  constexpr int STANDARD_OUTPUT = 1;
  if (!write_all(STANDARD_OUTPUT, text, std::strlen(text))) write_failed = true;
}

bool console_failed() {
  return write_failed;
}
