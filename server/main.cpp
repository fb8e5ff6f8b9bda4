// zqserverd: the reference server as a program of its own.
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "entry_store.h"
#include "server.h"

namespace {

zqserver::Server* g_server = nullptr;

void onSignal(int) {
  if (g_server) g_server->requestStop();
}

void usage(FILE* out) {
  fputs(
      "usage: zqserverd [options]\n"
      "\n"
      "The zq reference server: answers the client library's remote calls on\n"
      "loopback or any local address, keeping definitions and entries in SQLite.\n"
      "\n"
      "  --host ADDRESS        listen address (default 127.0.0.1)\n"
      "  --port N              TCP port (default: any free port)\n"
      "  --rpcbind             register the programs with the local rpcbind, so that\n"
      "                        clients find the server without knowing its port\n"
      "  --versions A-B        protocol versions to serve (default 7-14); a client\n"
      "                        asking for another version gets a version mismatch\n"
      "  --program N           serve only this private program number instead of the\n"
      "                        admin (390600), fast (390620) and list (390635) programs\n"
      "  --db FILE             keep the store in FILE (default: in memory)\n"
      "  --setting N=VALUE     answer server setting N with VALUE; a VALUE of the form\n"
      "                        int:NUMBER is an integer, anything else a text.\n"
      "                        Examples: --setting 4='7.5.00 Patch 004' (version),\n"
      "                        --setting 246=int:1000 (argument limit in bytes),\n"
      "                        --setting 333=int:65536 (maximum attachment size),\n"
      "                        --setting 55=de_DE.UTF-8 (server language)\n"
      "  --refuse-setting N    answer any settings request naming N with error 123\n"
      "  --security POLICY     wire encryption: optional (clients that can encrypt\n"
      "                        do), required (calls in the clear are refused) or\n"
      "                        disabled (the default). The encryption is single DES\n"
      "                        with a 672-bit RSA key exchange, kept for wire\n"
      "                        compatibility: it does not replace TLS\n"
      "  --form SPEC           create a form at start (repeatable). SPEC is\n"
      "                        Name:id:type[:fieldName][,id:type[:fieldName]...]\n"
      "                        with type a data type number or one of char, integer,\n"
      "                        real, diary, enum, time, bitmask, bytes, decimal,\n"
      "                        attach, currency, date, timeofday, ulong, coords.\n"
      "                        The core fields (1 entry id, 2 submitter, 3 create\n"
      "                        date, 4 assigned to, 5 last modified by, 6 modified\n"
      "                        date, 7 status, 8 short description, 15 status\n"
      "                        history) are added. Example:\n"
      "                        --form 'Tickets:536870913:char:Title,536870914:attach'\n"
      "  --verbose             print the chosen port and the registrations\n"
      "  --help                show this text\n"
      "\n"
      "The server prints \"listening on PORT\" when it is ready and stops cleanly on\n"
      "SIGINT or SIGTERM, removing its rpcbind registrations.\n",
      out);
}

bool parseVersions(const char* text, int& lo, int& hi) {
  if (sscanf(text, "%d-%d", &lo, &hi) == 2) return lo >= 7 && hi <= 14 && lo <= hi;
  if (sscanf(text, "%d", &lo) == 1) {
    hi = lo;
    return lo >= 7 && lo <= 14;
  }
  return false;
}

}  // namespace

int main(int argc, char** argv) {
  zqserver::Options options;
  std::vector<std::string> forms;
  for (int i = 1; i < argc; ++i) {
    std::string arg = argv[i];
    auto value = [&]() -> const char* {
      if (i + 1 >= argc) {
        fprintf(stderr, "zqserverd: %s needs a value\n", arg.c_str());
        exit(2);
      }
      return argv[++i];
    };
    if (arg == "--help" || arg == "-h") {
      usage(stdout);
      return 0;
    } else if (arg == "--host") {
      options.host = value();
    } else if (arg == "--port") {
      options.port = static_cast<uint16_t>(atoi(value()));
    } else if (arg == "--rpcbind") {
      options.useRpcbind = true;
    } else if (arg == "--versions") {
      if (!parseVersions(value(), options.minVersion, options.maxVersion)) {
        fprintf(stderr, "zqserverd: versions must lie within 7-14\n");
        return 2;
      }
    } else if (arg == "--program") {
      options.programs = {static_cast<uint32_t>(strtoul(value(), nullptr, 10))};
    } else if (arg == "--db") {
      options.database = value();
    } else if (arg == "--setting") {
      std::string s = value();
      size_t eq = s.find('=');
      if (eq == std::string::npos) {
        fprintf(stderr, "zqserverd: --setting takes N=VALUE\n");
        return 2;
      }
      uint32_t n = static_cast<uint32_t>(strtoul(s.substr(0, eq).c_str(), nullptr, 10));
      std::string v = s.substr(eq + 1);
      if (v.rfind("int:", 0) == 0)
        options.settings[n] = static_cast<int32_t>(strtol(v.c_str() + 4, nullptr, 10));
      else
        options.settings[n] = v;
    } else if (arg == "--refuse-setting") {
      // Applied after the server exists.
      options.refusedSetting = static_cast<uint32_t>(strtoul(value(), nullptr, 10));
    } else if (arg == "--security") {
      std::string policy = value();
      if (policy == "optional")
        options.securityPolicy = 0;
      else if (policy == "required")
        options.securityPolicy = 1;
      else if (policy == "disabled")
        options.securityPolicy = 2;
      else {
        fprintf(stderr, "zqserverd: --security takes optional, required or disabled\n");
        return 2;
      }
    } else if (arg == "--form") {
      std::string spec = value(), name, error;
      std::vector<zqserver::FieldDef> fields;
      if (!zqserver::parseFormSpec(spec, name, fields, error)) {
        fprintf(stderr, "zqserverd: --form %s: %s\n", spec.c_str(), error.c_str());
        return 2;
      }
      forms.push_back(spec);
    } else if (arg == "--verbose") {
      options.verbose = true;
    } else {
      fprintf(stderr, "zqserverd: unknown option %s (see --help)\n", arg.c_str());
      return 2;
    }
  }

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
        for (const std::string& spec : forms) {
          zqserver::StoreResult r = store.createFormFromSpec(spec);
          if (!r.ok()) {
            fprintf(stderr, "zqserverd: --form %s: %s\n", spec.c_str(), r.appended.c_str());
            formsFailed = true;
            server.requestStop();
            return;
          }
        }
        printf("listening on %u\n", port);
        fflush(stdout);
      })) {
    fprintf(stderr, "zqserverd: %s\n", server.error().c_str());
    return 1;
  }
  return formsFailed ? 1 : 0;
}
