// The same server-information call through the whole frame, once on a
// binding that encrypts (the envelope both ways) and once on one that does
// not, against the same in-process server in the same run. The ratio of the
// two is the cost of the envelope; the counters report the ratio directly.
#include <benchmark/benchmark.h>

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <cstring>

#include "server.h"
#include "transport/state.h"
#include "zqapi/zqapi.h"

namespace {

struct Session {
  ZQControlStruct control{};
  Session(const char* user, uint16_t port) {
    strcpy(control.user, user);
    strcpy(control.server, "127.0.0.1");
    ZQStatusList s{0, nullptr};
    if (ZQInitialization(&control, &s) != 0) abort();
    ZQSetServerPort(&control, "127.0.0.1", port, 0, &s);
    FreeZQStatusList(&s, 0);
  }
  ~Session() {
    ZQStatusList s{0, nullptr};
    ZQTermination(&control, &s);
    FreeZQStatusList(&s, 0);
  }
  bool call() {
    uint32_t items[3] = {4, 55, 139};
    ZQServerInfoRequestList req{3, items};
    ZQServerInfoList out{0, nullptr};
    ZQStatusList s{0, nullptr};
    int rc = ZQGetServerInfo(&control, &req, &out, &s);
    FreeZQServerInfoList(&out, 0);
    FreeZQStatusList(&s, 0);
    return rc == 0;
  }
  bool encrypts() {
    auto* st = zq::transport::stateOf(control.context);
    auto* b = st ? st->current[zq::kQueueFast] : nullptr;
    return b && b->encryptionOn && b->keys.hasKeys();
  }
};

struct Fixture {
  zqserver::Server server;
  Session* encrypted = nullptr;
  Session* plain = nullptr;

  Fixture() {
    signal(SIGPIPE, SIG_IGN);
    setenv("ZQAPI_CONFIG", "/tmp/zqapi-bench-config", 1);
    if (!server.start()) abort();
    // Bound while the server offers encryption: keys agreed.
    server.crypto().setPolicy(ZQ_SECURITY_POLICY_OPTIONAL);
    encrypted = new Session("Encrypted", server.port());
    if (!encrypted->call() || !encrypted->encrypts()) abort();
    // Bound while it does not: no keys, calls in the clear.
    server.crypto().setPolicy(ZQ_SECURITY_POLICY_DISABLED);
    plain = new Session("Plain", server.port());
    if (!plain->call() || plain->encrypts()) abort();
  }
  ~Fixture() {
    delete encrypted;
    delete plain;
    server.stop();
  }
};

Fixture& fixture() {
  static Fixture f;
  return f;
}

void run(benchmark::State& state, Session& session) {
  for (auto _ : state)
    if (!session.call()) state.SkipWithError("call failed");
}

void BM_PlainServerInfo(benchmark::State& state) {
  run(state, *fixture().plain);
}
BENCHMARK(BM_PlainServerInfo)->UseRealTime();

void BM_EncryptedServerInfo(benchmark::State& state) {
  run(state, *fixture().encrypted);
}
BENCHMARK(BM_EncryptedServerInfo)->UseRealTime();

// Both in one loop, alternating, so that the ratio is measured under the
// same conditions; reported as the counter "encrypted/plain".
void BM_EnvelopeRatio(benchmark::State& state) {
  Fixture& f = fixture();
  using Clock = std::chrono::steady_clock;
  Clock::duration plainTime{}, encryptedTime{};
  for (auto _ : state) {
    auto t0 = Clock::now();
    if (!f.plain->call()) state.SkipWithError("plain call failed");
    auto t1 = Clock::now();
    if (!f.encrypted->call()) state.SkipWithError("encrypted call failed");
    auto t2 = Clock::now();
    plainTime += t1 - t0;
    encryptedTime += t2 - t1;
  }
  if (plainTime.count() > 0)
    state.counters["encrypted/plain"] =
        static_cast<double>(encryptedTime.count()) / static_cast<double>(plainTime.count());
}
BENCHMARK(BM_EnvelopeRatio)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
