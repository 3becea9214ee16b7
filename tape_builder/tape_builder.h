#ifndef VELMORA_TAPE_BUILDER_TAPE_BUILDER_H_
#define VELMORA_TAPE_BUILDER_TAPE_BUILDER_H_

// One conversion is load_screen, then save_tape, then release_screen.
// Each of the first two returns 1 on success and 0 on failure, after
// printing its own "ERROR: " line where the failure has one.

// Reads the first bytes of the source (up to a whole screen) into the
// screen buffer; a short source is completed with blank screen bytes.
int load_screen(const char* source_name);

// Writes the tape of the loaded screen. A destination that could not be
// written completely is removed again if it is a regular file.
int save_tape(const char* destination_name);

// Frees the screen buffer; safe after a failed or skipped load_screen.
void release_screen();

#endif  // VELMORA_TAPE_BUILDER_TAPE_BUILDER_H_
