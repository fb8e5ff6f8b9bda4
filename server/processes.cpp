#include "processes.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <climits>
#include <cstdlib>
#include <cstring>

#include "frame/message_numbers.h"
#include "running_calls.h"

namespace zqserver {
namespace {

using Clock = std::chrono::steady_clock;

// Characters a shell would interpret: refused, so that a command means the
// same whether or not anything ever hands it to a shell.
constexpr const char* kShellCharacters = ";|&$`<>()\\*?~{}[]'!#\n\r\t";

std::string realPath(const std::string& path) {
  char buffer[PATH_MAX];
  return realpath(path.c_str(), buffer) ? std::string(buffer) : std::string();
}

bool inside(const std::string& path, const std::string& directory) {
  return path.size() > directory.size() && path.compare(0, directory.size(), directory) == 0 &&
         path[directory.size()] == '/';
}

bool splitWords(const std::string& command, std::vector<std::string>& words, std::string& why) {
  std::string word;
  bool quoted = false, inWord = false;
  for (char c : command) {
    if (c == '"') {
      quoted = !quoted;
      inWord = true;
    } else if (c == ' ' && !quoted) {
      if (inWord) words.push_back(word);
      word.clear();
      inWord = false;
    } else {
      word += c;
      inWord = true;
    }
  }
  if (quoted) {
    why = "a quote is not closed";
    return false;
  }
  if (inWord) words.push_back(word);
  if (words.empty() || words[0].empty()) {
    why = "the command is empty";
    return false;
  }
  return true;
}

// Starts the program with its output on a pipe; false with errno set.
bool spawn(const std::vector<std::string>& argv, pid_t& pid, int& output) {
  int fds[2];
  if (pipe2(fds, O_CLOEXEC) != 0) return false;
  posix_spawn_file_actions_t actions;
  posix_spawnattr_t attributes;
  posix_spawn_file_actions_init(&actions);
  posix_spawnattr_init(&attributes);
  posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
  posix_spawn_file_actions_adddup2(&actions, fds[1], 1);
  posix_spawn_file_actions_adddup2(&actions, fds[1], 2);
  // A group of its own, so that the time limit ends whatever it started;
  // signals as a fresh program expects them.
  sigset_t none, defaults;
  sigemptyset(&none);
  sigemptyset(&defaults);
  sigaddset(&defaults, SIGPIPE);
  sigaddset(&defaults, SIGINT);
  sigaddset(&defaults, SIGTERM);
  posix_spawnattr_setsigmask(&attributes, &none);
  posix_spawnattr_setsigdefault(&attributes, &defaults);
  posix_spawnattr_setpgroup(&attributes, 0);
  posix_spawnattr_setflags(&attributes,
                           POSIX_SPAWN_SETPGROUP | POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);
  std::vector<char*> args;
  for (const std::string& a : argv) args.push_back(const_cast<char*>(a.c_str()));
  args.push_back(nullptr);
  char path[] = "PATH=/usr/bin:/bin";
  char lang[] = "LANG=C";
  char* environment[] = {path, lang, nullptr};
  const int rc =
      posix_spawn(&pid, argv[0].c_str(), &actions, &attributes, args.data(), environment);
  posix_spawn_file_actions_destroy(&actions);
  posix_spawnattr_destroy(&attributes);
  close(fds[1]);
  if (rc != 0) {
    close(fds[0]);
    errno = rc;
    return false;
  }
  output = fds[0];
  return true;
}

int32_t statusOf(int wait) {
  if (WIFEXITED(wait)) return WEXITSTATUS(wait);
  if (WIFSIGNALED(wait)) return 128 + WTERMSIG(wait);
  return -1;
}

// Reads the output until the process closes it, then collects the process;
// stop() asks for an early end. Returns the exit status; timedOut and
// stoppedEarly tell why it ended before its time.
template <class Stop>
int32_t collect(pid_t pid, int output, const ProcessLimits& limits, std::string* kept,
                bool& timedOut, Stop&& stop) {
  const auto deadline = Clock::now() + std::chrono::milliseconds(limits.timeLimitMs);
  bool killed = false;
  auto kill = [&] {
    if (!killed) ::kill(-pid, SIGKILL);
    killed = true;
  };
  char buffer[4096];
  bool open = true;
  while (open) {
    if (stop()) kill();
    if (Clock::now() >= deadline) {
      timedOut = !killed;
      kill();
    }
    pollfd p{output, POLLIN, 0};
    const int ready = poll(&p, 1, 20);
    if (ready < 0 && errno != EINTR) break;
    if (ready <= 0) continue;
    const ssize_t n = read(output, buffer, sizeof buffer);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      open = false;
      break;
    }
    // Beyond the cap the output is read and dropped, so the process never
    // blocks on a full pipe.
    if (kept && kept->size() < limits.outputLimit)
      kept->append(buffer, std::min(static_cast<size_t>(n), limits.outputLimit - kept->size()));
  }
  close(output);
  int wait = 0;
  for (;;) {
    const pid_t done = waitpid(pid, &wait, WNOHANG);
    if (done == pid) break;
    if (done < 0 && errno != EINTR) return -1;
    if (stop()) kill();
    if (Clock::now() >= deadline) {
      timedOut = timedOut || !killed;
      kill();
    }
    usleep(5000);
  }
  return statusOf(wait);
}

}  // namespace

bool parseCommand(const std::string& command, const std::string& directory,
                  std::vector<std::string>& argv, std::string& why) {
  argv.clear();
  if (directory.empty()) {
    why = "processes are not enabled";
    return false;
  }
  if (command.find_first_of(kShellCharacters) != std::string::npos) {
    why = "shell characters";
    return false;
  }
  std::vector<std::string> words;
  if (!splitWords(command, words, why)) return false;
  const std::string root = realPath(directory);
  if (root.empty()) {
    why = "the process directory does not exist";
    return false;
  }
  for (const std::string& w : words) {
    if (w.find("..") != std::string::npos) {
      why = "\"..\" in " + w;
      return false;
    }
  }
  // The program: a name of the directory, or a path inside it.
  const std::string& program = words[0];
  std::string candidate = program[0] == '/' ? program : directory + "/" + program;
  const std::string resolved = realPath(candidate);
  struct stat info {};
  if (resolved.empty() || !inside(resolved, root) || stat(resolved.c_str(), &info) != 0 ||
      !S_ISREG(info.st_mode) || access(resolved.c_str(), X_OK) != 0) {
    why = program + " is not a program of the process directory";
    return false;
  }
  for (size_t i = 1; i < words.size(); ++i) {
    const std::string& w = words[i];
    if (w[0] != '/') continue;
    const std::string real = realPath(w);
    if (!inside(real.empty() ? w : real, root)) {
      why = w + " lies outside the process directory";
      return false;
    }
  }
  argv = std::move(words);
  argv[0] = resolved;
  return true;
}

ProcessOutcome runProcess(const std::vector<std::string>& argv, const ProcessLimits& limits) {
  ProcessOutcome out;
  pid_t pid = 0;
  int output = -1;
  if (!spawn(argv, pid, output)) {
    out.message = zq::kMsgProcessFailed;
    out.appended = strerror(errno);
    return out;
  }
  bool timedOut = false;
  CallControl* call = currentCall();
  out.status = collect(pid, output, limits, &out.output, timedOut,
                       [&] { return call && call->cancelled.load(); });
  if (call && call->cancelled) {
    out.message = zq::kMsgCancelled;
  } else if (timedOut) {
    out.message = zq::kMsgProcessTimeLimit;
    out.appended = std::to_string(limits.timeLimitMs) + " ms";
  }
  return out;
}

BackgroundProcesses::~BackgroundProcesses() {
  stopAll();
}

int32_t BackgroundProcesses::start(const std::vector<std::string>& argv,
                                   const ProcessLimits& limits) {
  pid_t pid = 0;
  int output = -1;
  if (!spawn(argv, pid, output)) return zq::kMsgProcessFailed;
  std::lock_guard<std::mutex> lock(mutex_);
  watchers_.emplace_back([this, pid, output, limits] {
    bool timedOut = false;
    collect(pid, output, limits, nullptr, timedOut, [this] {
      std::lock_guard<std::mutex> lock(mutex_);
      return stopping_;
    });
  });
  return 0;
}

void BackgroundProcesses::stopAll() {
  std::vector<std::thread> watchers;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    stopping_ = true;
    watchers.swap(watchers_);
  }
  for (std::thread& t : watchers) t.join();
  std::lock_guard<std::mutex> lock(mutex_);
  stopping_ = false;
}

}  // namespace zqserver
