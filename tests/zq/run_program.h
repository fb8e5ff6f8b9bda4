// Runs a program as a child process and collects its exit status, stdout
// and stderr; stderr may be a pseudo-terminal instead of a pipe.
#pragma once

#include <string>
#include <vector>

namespace zqtest {

struct RunResult {
  int exitStatus = -1;  // -1: killed by a signal
  std::string out, err;
};

struct RunOptions {
  std::vector<std::string> env;    // NAME=VALUE added to the environment
  std::string cwd;                 // empty: the current folder
  std::string stdinFile;           // empty: /dev/null
  bool stderrTerminal = false;     // stderr on a pseudo-terminal
  bool closeStdoutAtOnce = false;  // the reader of stdout goes away at once
  // Called with the child's pid while it runs (after it started).
  void (*whileRunning)(int pid, void* data) = nullptr;
  void* data = nullptr;
};

RunResult runProgram(const std::vector<std::string>& argv, const RunOptions& options = {});

}  // namespace zqtest
