// Processes that clients ask zqserverd to run (ZQExecuteProcess): only
// programs of one configured directory, started without a shell from an
// argument vector, with a time limit and a cap on the output kept.
#pragma once

#include <sys/types.h>

#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace zqserver {

struct ProcessLimits {
  std::string directory;  // empty: processes are refused
  uint32_t timeLimitMs = 10000;
  uint32_t outputLimit = 64 * 1024;
};

struct ProcessOutcome {
  int32_t message = 0;  // 0: the process ran (whatever its status)
  std::string appended;
  int32_t status = 0;  // exit status, or 128 + the signal that ended it
  std::string output;  // standard output and error, cut at the limit
  bool ok() const { return message == 0; }
};

// Splits a command line into words (blanks separate, double quotes group)
// and checks it: no shell metacharacters, no "..", the program a file of
// the directory (a plain name or a path inside it), absolute arguments
// inside it. The program's resolved path replaces argv[0]. False with the
// reason in why.
bool parseCommand(const std::string& command, const std::string& directory,
                  std::vector<std::string>& argv, std::string& why);

// Runs a parsed command and waits for it (the call running on this thread
// may cancel it).
ProcessOutcome runProcess(const std::vector<std::string>& argv, const ProcessLimits& limits);

// Processes started without waiting: each is watched by a thread of its
// own that ends it at the time limit and collects it.
class BackgroundProcesses {
 public:
  ~BackgroundProcesses();
  // 0, or the message when the process could not start.
  int32_t start(const std::vector<std::string>& argv, const ProcessLimits& limits);
  // Ends every process still running and waits for the watchers.
  void stopAll();

 private:
  std::mutex mutex_;
  std::condition_variable stopped_;
  bool stopping_ = false;
  std::vector<std::thread> watchers_;
};

}  // namespace zqserver
