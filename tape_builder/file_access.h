#ifndef VELMORA_TAPE_BUILDER_FILE_ACCESS_H_
#define VELMORA_TAPE_BUILDER_FILE_ACCESS_H_

#include <cstddef>

// Thin, binary-only file access over the host's descriptors. Every call
// reports failure through its result; none of them prints anything.

constexpr int NO_FILE = -1;

int open_for_reading(const char* name);
// Creates the file or truncates an existing one to zero length.
int create_for_writing(const char* name);

// Reads until capacity bytes arrived or the file ended; pipes and devices
// may hand over less per call. Returns the byte count, or -1 on error.
long read_up_to(int file, unsigned char* buffer, std::size_t capacity);
// Writes all of size bytes or fails.
bool write_all(int file, const void* bytes, std::size_t size);
bool close_file(int file);

bool is_regular_file(int file);
void remove_file(const char* name);

#endif  // VELMORA_TAPE_BUILDER_FILE_ACCESS_H_
