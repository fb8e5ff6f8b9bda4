// zqserverd: the reference server as a program of its own.
#include <csignal>
#include <cstdio>
#include <string>

#include "accounts.h"
#include "command_line.h"
#include "definitions_file.h"
#include "entry_store.h"
#include "server.h"

namespace {

zqserver::Server* g_server = nullptr;

void onSignal(int) {
  if (g_server) g_server->requestStop();
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
      })) {
    fprintf(stderr, "zqserverd: %s\n", server.error().c_str());
    return 1;
  }
  return formsFailed ? 1 : 0;
}
