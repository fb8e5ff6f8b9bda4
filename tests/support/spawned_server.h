// zqserverd as a process of its own (posix_spawn, not fork: test programs
// run threads and sanitizers): its port once it listens, its memory, its
// stop as a service or by kill -9.
#pragma once

#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "support/program_dir.h"

extern char** environ;

namespace zqtest {

struct SpawnedServer {
  pid_t pid = -1;
  uint16_t port = 0;
  explicit SpawnedServer(std::vector<std::string> args) {
    int out[2];
    if (pipe(out) != 0) return;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out[1], 1);
    posix_spawn_file_actions_addclose(&actions, out[0]);
    const std::string exe = programDir() + "/zqserverd";
    args.insert(args.begin(), "zqserverd");
    std::vector<char*> argv;
    for (std::string& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    if (posix_spawn(&pid, exe.c_str(), &actions, nullptr, argv.data(), environ) != 0) pid = -1;
    posix_spawn_file_actions_destroy(&actions);
    close(out[1]);
    FILE* f = fdopen(out[0], "r");
    unsigned p = 0;
    if (pid > 0 && f && fscanf(f, "listening on %u", &p) == 1) port = static_cast<uint16_t>(p);
    if (f) fclose(f);
  }
  // Peak resident memory in KiB.
  long peakRssKiB() const {
    std::ifstream in("/proc/" + std::to_string(pid) + "/status");
    std::string line;
    while (std::getline(in, line))
      if (line.rfind("VmHWM:", 0) == 0) return std::atol(line.c_str() + 6);
    return -1;
  }
  // Stops it as a service is stopped; its exit status (a sanitizer that
  // found something makes it non-zero).
  int terminate() {
    if (pid <= 0) return -1;
    kill(pid, SIGTERM);
    int status = 0;
    waitpid(pid, &status, 0);
    pid = -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
  }
  void kill9() {
    if (pid > 0) {
      kill(pid, SIGKILL);
      waitpid(pid, nullptr, 0);
      pid = -1;
    }
  }
  SpawnedServer(const SpawnedServer&) = delete;
  SpawnedServer& operator=(const SpawnedServer&) = delete;
  ~SpawnedServer() { kill9(); }
};

}  // namespace zqtest
