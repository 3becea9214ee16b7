#include "front_end/run_flow.h"

#include "front_end/destination_name.h"
#include "front_end/texts.h"
#include "tape_builder/console.h"
#include "tape_builder/tape_builder.h"

namespace {

bool form_destination_name(int argument_count, char** arguments,
                           DestinationName& destination_name) {
  if (argument_count == 3) return copy_destination_name(arguments[2], destination_name);
  return derive_destination_name(arguments[1], destination_name);
}

}  // namespace

void show_usage() {
  print_text(USAGE_TEXT);
}

int run_conversion(int argument_count, char** arguments) {
  // Without a source name there is nothing to convert either.
  if (argument_count < 2 || argument_count > 3) {
    show_usage();
    return 0;
  }
  if (!load_screen(arguments[1])) {
    release_screen();
    return 0;
  }
  DestinationName destination_name;
  if (!form_destination_name(argument_count, arguments, destination_name)) {
    print_text(NAME_TOO_LONG_TEXT);
    release_screen();
    return 0;
  }
  const int saved = save_tape(destination_name);
  release_screen();
  return saved ? 1 : 0;
}

int velmora_entry(int argument_count, char** arguments) {
  // Started with no argument vector at all: there is no source to read.
  if (argument_count < 1) {
    show_usage();
    return 1;
  }
  if (argument_count == 1) {
    show_usage();
    return console_failed() ? 1 : 0;
  }
  const bool converted = run_conversion(argument_count, arguments) != 0;
  print_text(converted ? SUCCESS_TEXT : FAILURE_TEXT);
  return converted && !console_failed() ? 0 : 1;
}
