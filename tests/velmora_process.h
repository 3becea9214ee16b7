#ifndef VELMORA_TESTS_VELMORA_PROCESS_H_
#define VELMORA_TESTS_VELMORA_PROCESS_H_

#include <string>
#include <vector>

// What one run of a velmora executable left behind.
struct RunOutcome {
  bool exited = false;  // false: killed by a signal or never started
  int exit_status = -1;
  std::string standard_output;
  std::string standard_error;
};

struct RunSettings {
  std::string working_directory;
  // Passes no argument vector at all, not even the program's name.
  bool empty_argument_vector = false;
  // A file size limit in bytes for the child, or -1 for none.
  long long file_size_limit = -1;
  // Where the child's standard output goes instead of being captured.
  std::string standard_output_file;
  // Extra environment entries for the child, as NAME=VALUE.
  std::vector<std::string> environment;
};

// Runs program with arguments (program name first, added here) and waits.
RunOutcome run_program(const std::string& program, const std::vector<std::string>& arguments,
                       const RunSettings& settings);

#endif  // VELMORA_TESTS_VELMORA_PROCESS_H_
