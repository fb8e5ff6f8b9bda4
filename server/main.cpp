// zqserverd: the reference server as a program of its own, also run as a
// service (see dist/zqserverd.service).
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "accounts.h"
#include "command_line.h"
#include "definitions_file.h"
#include "entry_store.h"
#include "server.h"

namespace {

zqserver::Server* g_server = nullptr;
volatile sig_atomic_t g_signal = 0;

void onSignal(int number) {
  g_signal = number;
  if (g_server) g_server->requestStop();
}

// Tells a supervising systemd (Type=notify) about readiness and shut-down.
// Without NOTIFY_SOCKET nothing is sent.
void notifySupervisor(const char* state) {
  const char* path = getenv("NOTIFY_SOCKET");
  if (!path || (path[0] != '/' && path[0] != '@')) return;
  sockaddr_un addr{};
  addr.sun_family = AF_UNIX;
  const size_t length = strlen(path);
  if (length >= sizeof addr.sun_path) return;
  memcpy(addr.sun_path, path, length);
  if (addr.sun_path[0] == '@') addr.sun_path[0] = '\0';  // an abstract socket
  const int fd = socket(AF_UNIX, SOCK_DGRAM | SOCK_CLOEXEC, 0);
  if (fd < 0) return;
  const socklen_t size = static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + length);
  sendto(fd, state, strlen(state), MSG_NOSIGNAL, reinterpret_cast<sockaddr*>(&addr), size);
  close(fd);
}

}  // namespace

int main(int argc, char** argv) {
  zqserver::CommandLine commandLine;
  std::string error;
  if (!zqserver::parseCommandLine(argc, argv, commandLine, error)) {
    fprintf(stderr, "zqserverd: %s (see --help)\n", error.c_str());
    return 2;
  }
  if (commandLine.help) {
    zqserver::printUsage(stdout);
    return 0;
  }
  // The server's own messages go to the log file from here on.
  if (!commandLine.logFile.empty()) {
    if (!freopen(commandLine.logFile.c_str(), "a", stderr)) {
      fprintf(stdout, "zqserverd: cannot open the log file %s: %s\n", commandLine.logFile.c_str(),
              strerror(errno));
      return 1;
    }
    setvbuf(stderr, nullptr, _IOLBF, 0);
  }
  const zqserver::Options& options = commandLine.options;

  zqserver::Server server(options);
  g_server = &server;
  struct sigaction sa {};
  sa.sa_handler = onSignal;
  sigaction(SIGINT, &sa, nullptr);
  sigaction(SIGTERM, &sa, nullptr);
  signal(SIGPIPE, SIG_IGN);
  server.faults().refuseSetting = options.refusedSetting;
  bool formsFailed = false;
  if (!server.run([&](uint16_t port) {
        zqserver::EntryStore store(server.store());
        for (const std::string& description : commandLine.forms) {
          zqserver::StoreResult r = store.createFormFromDescription(description);
          if (!r.ok()) {
            fprintf(stderr, "zqserverd: --form %s: %s\n", description.c_str(), r.appended.c_str());
            formsFailed = true;
            server.requestStop();
            return;
          }
        }
        for (const std::string& file : commandLine.definitions) {
          std::string why;
          if (!zqserver::loadDefinitionsFile(server.store(), file, why)) {
            fprintf(stderr, "zqserverd: --definitions %s\n", why.c_str());
            formsFailed = true;
            server.requestStop();
            return;
          }
        }
        printf("listening on %u\n", port);
        if (!server.accounts().hasUsers())
          printf("no users in the store: every call is accepted (open for demos)\n");
        fflush(stdout);
        if (!commandLine.logFile.empty())
          fprintf(stderr, "zqserverd: listening on %s:%u, store %s\n", options.host.c_str(), port,
                  options.database.c_str());
        notifySupervisor("READY=1");
      })) {
    fprintf(stderr, "zqserverd: %s\n", server.error().c_str());
    return 1;
  }
  // run() returns once the call being served is answered and the store is
  // closed.
  if (g_signal) {
    notifySupervisor("STOPPING=1");
    fprintf(stderr, "zqserverd: stopped on %s\n", g_signal == SIGTERM ? "SIGTERM" : "SIGINT");
  }
  return formsFailed ? 1 : 0;
}
