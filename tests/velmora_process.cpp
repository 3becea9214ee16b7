#include "tests/velmora_process.h"

#include <algorithm>

#ifndef _WIN32

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

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

#ifdef _WIN32

#include <windows.h>

#include <thread>

namespace {

// Quotes one argument so that the C runtime's parser gives it back as is.
std::string quoted(const std::string& argument) {
  if (!argument.empty() && argument.find_first_of(" \t\n\v\"") == std::string::npos) return argument;
  std::string result = "\"";
  std::size_t backslashes = 0;
  for (const char c : argument) {
    if (c == '\\') {
      ++backslashes;
      continue;
    }
    result.append(c == '"' ? backslashes * 2 + 1 : backslashes, '\\');
    backslashes = 0;
    result += c;
  }
  result.append(backslashes * 2, '\\');
  return result + "\"";
}

// The build hands over host paths; under Wine the host's root is drive Z.
std::string windows_path(std::string path) {
  if (path.empty() || path[0] != '/') return path;
  std::replace(path.begin(), path.end(), '/', '\\');
  return "Z:" + path;
}

void drain(HANDLE pipe, std::string& sink) {
  char chunk[4096];
  DWORD got = 0;
  while (ReadFile(pipe, chunk, sizeof chunk, &got, nullptr) && got > 0) sink.append(chunk, got);
  CloseHandle(pipe);
}

bool inheritable_pipe(HANDLE& read_end, HANDLE& write_end) {
  SECURITY_ATTRIBUTES inherit = {sizeof inherit, nullptr, TRUE};
  if (!CreatePipe(&read_end, &write_end, &inherit, 0)) return false;
  return SetHandleInformation(read_end, HANDLE_FLAG_INHERIT, 0) != 0;
}

}  // namespace

RunOutcome run_program(const std::string& program, const std::vector<std::string>& arguments,
                       const RunSettings& settings) {
  RunOutcome outcome;
  const std::string application = windows_path(program);
  std::string command_line;
  if (!settings.empty_argument_vector) {
    command_line = quoted(application);
    for (const std::string& argument : arguments) command_line += " " + quoted(argument);
  }
  HANDLE out_read = nullptr, out_write = nullptr, err_read = nullptr, err_write = nullptr;
  if (!inheritable_pipe(out_read, out_write) || !inheritable_pipe(err_read, err_write)) return outcome;
  SECURITY_ATTRIBUTES inherit = {sizeof inherit, nullptr, TRUE};
  HANDLE no_input = CreateFileA("NUL", GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit,
                                OPEN_EXISTING, 0, nullptr);

  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdInput = no_input;
  startup.hStdOutput = out_write;
  startup.hStdError = err_write;
  PROCESS_INFORMATION process = {};
  const std::string directory = windows_path(settings.working_directory);
  const BOOL started = CreateProcessA(application.c_str(), command_line.data(), nullptr, nullptr, TRUE, 0,
                                      nullptr, directory.empty() ? nullptr : directory.c_str(), &startup,
                                      &process);
  CloseHandle(out_write);
  CloseHandle(err_write);
  CloseHandle(no_input);
  if (!started) {
    CloseHandle(out_read);
    CloseHandle(err_read);
    return outcome;
  }
  std::thread error_reader(drain, err_read, std::ref(outcome.standard_error));
  drain(out_read, outcome.standard_output);
  error_reader.join();
  WaitForSingleObject(process.hProcess, INFINITE);
  DWORD exit_code = 0;
  outcome.exited = GetExitCodeProcess(process.hProcess, &exit_code) != 0;
  outcome.exit_status = static_cast<int>(exit_code);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return outcome;
}

#endif
