// What the trace-log hooks cost when logging is off: the same calls with the
// hooks in place (logging off) and with the frame's hooks bypassed, in the
// same run. The ratio logging-off / bypassed is the hooks' overhead; the goal
// is 1.02 or less. A remote call (server settings against an in-process
// zqserverd) and a local one (the client character set of a bound control
// record) are measured, alternating so that drift hits both alike.
#include <benchmark/benchmark.h>

#include <csignal>
#include <cstring>

#include "diag/state.h"
#include "server.h"
#include "zqapi/zqapi.h"

namespace {

struct Fixture {
  zqserver::Server server;
  ZQControlStruct control{};

  Fixture() {
    signal(SIGPIPE, SIG_IGN);
    setenv("ZQAPI_CONFIG", "/tmp/zqapi-bench-config", 1);
    unsetenv("ZQAPILOGGING");
    if (!server.start()) abort();
    strcpy(control.user, "Demo");
    strcpy(control.server, "127.0.0.1");
    ZQStatusList s{0, nullptr};
    if (ZQInitialization(&control, &s) >= 2) abort();
    ZQSetServerPort(&control, "127.0.0.1", server.port(), 0, &s);
    char charset[ZQ_CHARSET_NAME_SIZE];
    if (ZQGetClientCharSet(&control, charset, &s) != 0) abort();  // binds once
  }
  ~Fixture() {
    ZQStatusList s{0, nullptr};
    ZQTermination(&control, &s);
    server.stop();
  }
};

Fixture& fixture() {
  static Fixture f;
  return f;
}

void serverInfo(benchmark::State& state, bool bypass) {
  Fixture& f = fixture();
  uint32_t item = 4;
  ZQServerInfoRequestList req{1, &item};
  zq::diag::testing::bypassHooks(bypass);
  for (auto _ : state) {
    ZQStatusList s{0, nullptr};
    ZQServerInfoList out{0, nullptr};
    if (ZQGetServerInfo(&f.control, &req, &out, &s) != 0) state.SkipWithError("call failed");
    FreeZQServerInfoList(&out, 0);
    FreeZQStatusList(&s, 0);
  }
  zq::diag::testing::bypassHooks(false);
}

void clientCharSet(benchmark::State& state, bool bypass) {
  Fixture& f = fixture();
  char charset[ZQ_CHARSET_NAME_SIZE];
  zq::diag::testing::bypassHooks(bypass);
  for (auto _ : state) {
    ZQStatusList s{0, nullptr};
    if (ZQGetClientCharSet(&f.control, charset, &s) != 0) state.SkipWithError("call failed");
    benchmark::DoNotOptimize(charset);
  }
  zq::diag::testing::bypassHooks(false);
}

void BM_ServerInfo_LoggingOff(benchmark::State& state) {
  serverInfo(state, false);
}
void BM_ServerInfo_HooksBypassed(benchmark::State& state) {
  serverInfo(state, true);
}
void BM_ClientCharSet_LoggingOff(benchmark::State& state) {
  clientCharSet(state, false);
}
void BM_ClientCharSet_HooksBypassed(benchmark::State& state) {
  clientCharSet(state, true);
}

BENCHMARK(BM_ServerInfo_HooksBypassed)->UseRealTime()->Repetitions(5)->ReportAggregatesOnly();
BENCHMARK(BM_ServerInfo_LoggingOff)->UseRealTime()->Repetitions(5)->ReportAggregatesOnly();
BENCHMARK(BM_ClientCharSet_HooksBypassed)->Repetitions(5)->ReportAggregatesOnly();
BENCHMARK(BM_ClientCharSet_LoggingOff)->Repetitions(5)->ReportAggregatesOnly();

}  // namespace

BENCHMARK_MAIN();
