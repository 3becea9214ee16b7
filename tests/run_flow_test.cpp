#include "front_end/run_flow.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <string>

#ifdef _WIN32
#include <io.h>
#else
#include <unistd.h>
#endif

namespace {

// Runs action in this process with standard output sent to a file, and
// returns what it printed.
std::string printed_while(const std::function<void()>& action) {
  std::fflush(stdout);
  std::FILE* capture = std::tmpfile();
  const int saved = dup(1);
  dup2(fileno(capture), 1);
  action();
  dup2(saved, 1);
  close(saved);
  std::rewind(capture);
  std::string printed;
  for (int c = std::fgetc(capture); c != EOF; c = std::fgetc(capture)) printed += static_cast<char>(c);
  std::fclose(capture);
  return printed;
}

// A process can be started with no argument vector at all on some systems;
// there is no source then, and the run must fail without touching argv[1].
TEST(RunFlow, EmptyArgumentVectorShowsUsageAndFails) {
  char* no_arguments[] = {nullptr};
  int status = -1;
  const std::string printed = printed_while([&] { status = velmora_entry(0, no_arguments); });
  EXPECT_EQ(status, 1);
  EXPECT_EQ(printed.rfind("VELMORA\n=======\n\n", 0), 0u) << printed;
  EXPECT_EQ(printed.find("Error"), std::string::npos);
}

// Called directly with no source name, the conversion refuses as it does
// for a surplus of arguments, instead of reading past the vector.
TEST(RunFlow, ConversionWithoutASourceNameShowsUsage) {
  char program[] = "velmora";
  char* only_the_program[] = {program, nullptr};
  int converted = -1;
  const std::string printed = printed_while([&] { converted = run_conversion(1, only_the_program); });
  EXPECT_EQ(converted, 0);
  EXPECT_EQ(printed.rfind("VELMORA\n=======\n\n", 0), 0u) << printed;
}

}  // namespace
