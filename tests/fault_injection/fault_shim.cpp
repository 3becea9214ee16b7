// Linked into a test-only velmora with -Wl,--wrap for malloc, open, read,
// write and close. VELMORA_FAULT picks the fault to inject; without it the
// wrapped calls behave as the real ones. The shipped binary has none of it.
#include <cerrno>
#include <cstddef>
#include <cstdlib>
#include <cstring>
#include <sys/types.h>
#include <unistd.h>

extern "C" {
void* __real_malloc(std::size_t size);
int __real_open(const char* name, int flags, ...);
ssize_t __real_read(int file, void* buffer, std::size_t size);
ssize_t __real_write(int file, const void* buffer, std::size_t size);
int __real_close(int file);
}

namespace {

// Exit status that tells the test a file was opened where none may be.
constexpr int OPENED_AFTER_FAILED_ALLOCATION = 99;

bool fault_is(const char* name) {
  const char* fault = std::getenv("VELMORA_FAULT");
  return fault != nullptr && std::strcmp(fault, name) == 0;
}

bool allocation_failed = false;
int interrupted_reads = 0;
int interrupted_writes = 0;
int closes = 0;

}  // namespace

extern "C" {

void* __wrap_malloc(std::size_t size) {
  if (fault_is("malloc")) {
    allocation_failed = true;
    return nullptr;
  }
  return __real_malloc(size);
}

int __wrap_open(const char* name, int flags, mode_t mode) {
  if (allocation_failed) _exit(OPENED_AFTER_FAILED_ALLOCATION);
  return __real_open(name, flags, mode);
}

ssize_t __wrap_read(int file, void* buffer, std::size_t size) {
  if (fault_is("read-error")) {
    errno = EIO;
    return -1;
  }
  // Interrupted calls and transfers a byte at a time are legal; they must
  // not change the result.
  if (fault_is("read-trickle")) {
    if (interrupted_reads++ % 3 == 0) {
      errno = EINTR;
      return -1;
    }
    return __real_read(file, buffer, size < 7 ? size : 7);
  }
  return __real_read(file, buffer, size);
}

ssize_t __wrap_write(int file, const void* buffer, std::size_t size) {
  if (fault_is("write-trickle")) {
    if (interrupted_writes++ % 3 == 0) {
      errno = EINTR;
      return -1;
    }
    return __real_write(file, buffer, size < 5 ? size : 5);
  }
  if (fault_is("write-error") && file != 1) {
    errno = EIO;
    return -1;
  }
  return __real_write(file, buffer, size);
}

int __wrap_close(int file) {
  // The first close is the source's, the second the destination's: a
  // failed close there is how a network file system reports a lost write.
  const int result = __real_close(file);
  if (fault_is("close-error") && ++closes == 2) {
    errno = EIO;
    return -1;
  }
  return result;
}

}  // extern "C"
