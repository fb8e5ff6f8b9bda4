#include "run_program.h"

#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>

namespace zqtest {

RunResult runProgram(const std::vector<std::string>& argv, const RunOptions& options) {
  RunResult result;
  int outPipe[2], errPipe[2];
  int errParent = -1, errChild = -1;
  if (pipe2(outPipe, O_CLOEXEC) != 0) return result;
  if (options.stderrTerminal) {
    if (openpty(&errParent, &errChild, nullptr, nullptr, nullptr) != 0) return result;
    fcntl(errParent, F_SETFD, FD_CLOEXEC);
  } else {
    if (pipe2(errPipe, O_CLOEXEC) != 0) return result;
    errParent = errPipe[0];
    errChild = errPipe[1];
  }
  const pid_t pid = fork();
  if (pid == 0) {
    const int input =
        open(options.stdinFile.empty() ? "/dev/null" : options.stdinFile.c_str(), O_RDONLY);
    if (input < 0) _exit(126);
    dup2(input, 0);
    dup2(outPipe[1], 1);
    dup2(errChild, 2);
    if (!options.cwd.empty() && chdir(options.cwd.c_str()) != 0) _exit(126);
    for (const std::string& e : options.env) putenv(strdup(e.c_str()));
    std::vector<char*> args;
    for (const std::string& a : argv) args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);
    execv(args[0], args.data());
    _exit(127);
  }
  close(outPipe[1]);
  close(errChild);
  if (options.closeStdoutAtOnce) {
    close(outPipe[0]);
    outPipe[0] = -1;
  }
  if (options.whileRunning) options.whileRunning(pid, options.data);
  pollfd fds[2] = {{outPipe[0], POLLIN, 0}, {errParent, POLLIN, 0}};
  std::string* sinks[2] = {&result.out, &result.err};
  int open = (outPipe[0] >= 0) + 1;
  while (open > 0) {
    if (poll(fds, 2, 20000) <= 0) {  // a hung child fails the test, not the run
      kill(pid, SIGKILL);
      break;
    }
    for (int i = 0; i < 2; ++i) {
      if (fds[i].fd < 0 || !fds[i].revents) continue;
      char buffer[4096];
      const ssize_t n = read(fds[i].fd, buffer, sizeof buffer);
      if (n > 0) {
        sinks[i]->append(buffer, static_cast<size_t>(n));
      } else if (n == 0 || errno != EINTR) {  // a pty reports EIO once the child is gone
        close(fds[i].fd);
        fds[i].fd = -1;
        --open;
      }
    }
  }
  for (pollfd& f : fds)
    if (f.fd >= 0) close(f.fd);
  int status = 0;
  while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
  }
  result.exitStatus = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return result;
}

}  // namespace zqtest
