#include "tape_builder/tape_builder.h"

#include <cstdlib>

#include "tape_builder/console.h"
#include "tape_builder/file_access.h"
#include "tape_builder/tape_layout.h"

namespace {

constexpr std::size_t SCREEN_BUFFER_BYTES = 8192;
static_assert(SCREEN_BUFFER_BYTES >= SCREEN_BYTES, "a screen fits the buffer");

unsigned char* screen_buffer = nullptr;

}  // namespace

int load_screen(const char* source_name) {
  release_screen();
  screen_buffer = static_cast<unsigned char*>(std::malloc(SCREEN_BUFFER_BYTES));
  if (screen_buffer == nullptr) return 0;

  const int source = open_for_reading(source_name);
  if (source == NO_FILE) {
    print_text("ERROR: El archivo de origen no existe.\n");
    return 0;
  }
  const long bytes_read = read_up_to(source, screen_buffer, SCREEN_BYTES);
  // Nothing was written to the source, so a failed close loses nothing.
  (void)close_file(source);
  if (bytes_read < 0) {
    print_text("ERROR: No se pudo leer el archivo de origen.\n");
    return 0;
  }
  fill_missing_screen_bytes(screen_buffer, static_cast<std::size_t>(bytes_read));
  return 1;
}

int save_tape(const char* destination_name) {
  if (screen_buffer == nullptr) return 0;
  unsigned char tape[TAPE_BYTES];
  compose_tape(screen_buffer, tape);

  const int destination = create_for_writing(destination_name);
  if (destination == NO_FILE) {
    print_text("ERROR: El archivo de destino no existe.\n");
    return 0;
  }
  const bool regular = is_regular_file(destination);
  const bool written = write_all(destination, tape, TAPE_BYTES);
  const bool closed = close_file(destination);
  if (written && closed) return 1;

  // A partial tape looks like a tape; never leave one behind. Devices and
  // pipes are not ours to remove.
  if (regular) remove_file(destination_name);
  print_text("ERROR: No se pudo escribir el archivo de destino.\n");
  return 0;
}

void release_screen() {
  std::free(screen_buffer);
  screen_buffer = nullptr;
}
