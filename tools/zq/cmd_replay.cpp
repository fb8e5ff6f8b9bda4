// zq replay: zqreplay (installed beside zq) reads a command log back and,
// with --run, plays it against zq's server.
#include <fcntl.h>
#include <limits.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "args.h"
#include "commands_impl.h"

namespace zqcli {
namespace {

std::string replayProgram() {
  char self[PATH_MAX];
  const ssize_t n = readlink("/proc/self/exe", self, sizeof self - 1);
  if (n > 0) {
    self[n] = '\0';
    std::string beside(self);
    beside = beside.substr(0, beside.rfind('/') + 1) + "zqreplay";
    if (access(beside.c_str(), X_OK) == 0) return beside;
  }
  return "zqreplay";  // from PATH
}

}  // namespace

int runReplay(Session& session, std::vector<std::string>& args) {
  ParsedArgs parsed;
  std::string error;
  if (!parseArgs(args, {{"run", false}, {"no-wait", false}}, parsed, error))
    return session.fail(error);
  if (parsed.positional.size() != 1)
    return session.fail("replay needs one LOG (see zq replay --help)");
  const bool run = parsed.has("run");
  if (run && !session.resolvePassword()) return session.exitStatus();
  const Settings& s = session.settings();

  std::vector<std::string> argv{replayProgram()};
  int pipeFds[2] = {-1, -1};
  if (run) {
    // The password reaches zqreplay through a pipe, never its arguments.
    if (pipe(pipeFds) != 0) return session.fail(std::string("pipe: ") + strerror(errno));
    argv.insert(argv.end(), {"--server", s.server, "--user", s.user, "--password-fd",
                             std::to_string(pipeFds[0])});
    if (s.port) argv.insert(argv.end(), {"--port", std::to_string(s.port)});
    if (parsed.has("no-wait")) argv.push_back("--no-wait");
  }
  argv.push_back("--");
  argv.push_back(parsed.positional[0]);
  fflush(stdout);
  const pid_t child = fork();
  if (child < 0) return session.fail(std::string("fork: ") + strerror(errno));
  if (child == 0) {
    if (run) close(pipeFds[1]);
    std::vector<char*> cargv;
    for (std::string& a : argv) cargv.push_back(a.data());
    cargv.push_back(nullptr);
    execvp(cargv[0], cargv.data());
    fprintf(stderr, "zq: cannot run %s: %s\n", cargv[0], strerror(errno));
    _exit(127);
  }
  if (run) {
    close(pipeFds[0]);
    std::string line = s.password + "\n";
    if (write(pipeFds[1], line.data(), line.size()) < 0) { /* zqreplay reports it */
    }
    explicit_bzero(line.data(), line.size());
    close(pipeFds[1]);
  }
  int waitStatus = 0;
  while (waitpid(child, &waitStatus, 0) < 0 && errno == EINTR) {
  }
  const int code = WIFEXITED(waitStatus) ? WEXITSTATUS(waitStatus) : kExitError;
  session.raise(code == 127 ? kExitError : code);
  return code;
}

}  // namespace zqcli
