#include "tape_builder/file_access.h"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/types.h>

#ifdef _WIN32
#include <io.h>
// The Windows runtime counts a single transfer in unsigned int.
using transfer_size = unsigned int;
// Without O_BINARY, Windows would translate line ends inside the tape.
constexpr int READ_FLAGS = O_RDONLY | O_BINARY;
constexpr int WRITE_FLAGS = O_WRONLY | O_CREAT | O_TRUNC | O_BINARY;
#else
#include <unistd.h>
using transfer_size = std::size_t;
constexpr int READ_FLAGS = O_RDONLY;
constexpr int WRITE_FLAGS = O_WRONLY | O_CREAT | O_TRUNC;
#endif

int open_for_reading(const char* name) {
  return open(name, READ_FLAGS);
}

int create_for_writing(const char* name) {
  return open(name, WRITE_FLAGS, 0666);
}

long read_up_to(int file, unsigned char* buffer, std::size_t capacity) {
  std::size_t filled = 0;
  while (filled < capacity) {
    const auto got = read(file, buffer + filled,
                          static_cast<transfer_size>(capacity - filled));
    if (got == 0) break;
    if (got < 0) {
      if (errno == EINTR) continue;
      return -1;
    }
    filled += static_cast<std::size_t>(got);
  }
  return static_cast<long>(filled);
}

bool write_all(int file, const void* bytes, std::size_t size) {
  const auto* next = static_cast<const unsigned char*>(bytes);
  while (size > 0) {
    const auto put = write(file, next, static_cast<transfer_size>(size));
    if (put < 0 && errno == EINTR) continue;
    if (put <= 0) return false;
    next += put;
    size -= static_cast<std::size_t>(put);
  }
  return true;
}

bool close_file(int file) {
  return close(file) == 0;
}

bool is_regular_file(int file) {
  struct stat status {};
  return fstat(file, &status) == 0 && (status.st_mode & S_IFMT) == S_IFREG;
}

void remove_file(const char* name) {
  (void)remove(name);
}
