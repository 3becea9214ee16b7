#include "tests/velmora_process.h"

#ifndef _WIN32

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>

extern char** environ;

namespace {

void read_both(int out_pipe, int err_pipe, std::string& out, std::string& err) {
  pollfd watched[2] = {{out_pipe, POLLIN, 0}, {err_pipe, POLLIN, 0}};
  std::string* sinks[2] = {&out, &err};
  int open_pipes = 2;
  while (open_pipes > 0) {
    if (poll(watched, 2, -1) < 0) continue;
    for (int i = 0; i < 2; ++i) {
      if (watched[i].fd < 0 || watched[i].revents == 0) continue;
      char chunk[4096];
      const ssize_t got = read(watched[i].fd, chunk, sizeof chunk);
      if (got > 0) {
        sinks[i]->append(chunk, static_cast<size_t>(got));
      } else {
        close(watched[i].fd);
        watched[i].fd = -1;
        --open_pipes;
      }
    }
  }
}

[[noreturn]] void become_child(const std::string& program, const std::vector<std::string>& arguments,
                               const RunSettings& settings, int out_pipe, int err_pipe) {
  if (!settings.working_directory.empty() && chdir(settings.working_directory.c_str()) != 0) _exit(126);
  const int no_input = open("/dev/null", O_RDONLY);
  dup2(no_input, 0);
  if (!settings.standard_output_file.empty()) {
    const int out_file = open(settings.standard_output_file.c_str(), O_WRONLY);
    if (out_file < 0) _exit(126);
    dup2(out_file, 1);
  } else {
    dup2(out_pipe, 1);
  }
  dup2(err_pipe, 2);
  if (settings.file_size_limit >= 0) {
    const rlimit limit = {static_cast<rlim_t>(settings.file_size_limit),
                          static_cast<rlim_t>(settings.file_size_limit)};
    if (setrlimit(RLIMIT_FSIZE, &limit) != 0) _exit(126);
  }
  // putenv and execve take writable strings: hand them copies.
  std::vector<std::string> environment = settings.environment;
  for (std::string& entry : environment) putenv(entry.data());
  std::vector<std::string> words;
  if (!settings.empty_argument_vector) {
    words.push_back(program);
    words.insert(words.end(), arguments.begin(), arguments.end());
  }
  std::vector<char*> argv(words.size() + 1, nullptr);
  std::transform(words.begin(), words.end(), argv.begin(), [](std::string& word) { return word.data(); });
  execve(program.c_str(), argv.data(), environ);
  _exit(127);
}

}  // namespace

RunOutcome run_program(const std::string& program, const std::vector<std::string>& arguments,
                       const RunSettings& settings) {
  RunOutcome outcome;
  int out_pipe[2];
  int err_pipe[2];
  if (pipe(out_pipe) != 0) return outcome;
  if (pipe(err_pipe) != 0) return outcome;
  const pid_t child = fork();
  if (child == 0) {
    close(out_pipe[0]);
    close(err_pipe[0]);
    become_child(program, arguments, settings, out_pipe[1], err_pipe[1]);
  }
  close(out_pipe[1]);
  close(err_pipe[1]);
  if (child < 0) {
    close(out_pipe[0]);
    close(err_pipe[0]);
    return outcome;
  }
  read_both(out_pipe[0], err_pipe[0], outcome.standard_output, outcome.standard_error);
  int status = 0;
  while (waitpid(child, &status, 0) < 0) {
  }
  outcome.exited = WIFEXITED(status);
  outcome.exit_status = outcome.exited ? WEXITSTATUS(status) : -1;
  return outcome;
}

#endif
