#include "front_end/run_flow.h"

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#else
#include <csignal>
#endif

int main(int argc, char** argv) {
#ifdef _WIN32
  // Texts go out byte for byte, with no CR put in front of each LF.
  (void)_setmode(1, _O_BINARY);
#else
  // Under a file size limit a write must fail and be reported, not kill
  // the process and leave a partial tape behind.
  (void)std::signal(SIGXFSZ, SIG_IGN);
#endif
  return velmora_entry(argc, argv);
}
