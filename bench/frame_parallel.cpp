// Small calls in parallel against one server: 1 and 8 threads, each on its
// own control record, calling ZQGetServerInfo through the frame; and the
// same counts of threads, each on its own connection, making bare libtirpc
// clnt_calls of the same procedure with the same request bytes. Compare
// items_per_second: 8 threads against 1 (does the frame scale), and frame
// against bare at 8 threads (what the frame costs under contention).
#include <arpa/inet.h>
#include <benchmark/benchmark.h>
#include <rpc/rpc.h>

#include <csignal>
#include <cstring>
#include <mutex>
#include <vector>

#include "bare_call.h"
#include "calls/session.h"
#include "model/codec.h"
#include "server.h"
#include "transport/describe_records.h"
#include "zqapi/zqapi.h"

namespace {

constexpr int kThreads = 8;

// One control record and one bare connection per benchmark thread.
struct Lane {
  ZQControlStruct control{};
  std::vector<char> request;  // the exact bytes the frame sends
  CLIENT* bare = nullptr;
  char* identity = nullptr;
  ZQPropStruct property{};
};

struct Fixture {
  zqserver::Server server;
  Lane lanes[kThreads];

  Fixture() {
    signal(SIGPIPE, SIG_IGN);
    setenv("ZQAPI_CONFIG", "/tmp/zqapi-bench-config", 1);
    if (!server.start()) abort();
    for (Lane& lane : lanes) open(lane);
  }
  ~Fixture() {
    for (Lane& lane : lanes) {
      clnt_destroy(lane.bare);
      ZQStatusList s{0, nullptr};
      ZQTermination(&lane.control, &s);
      ZQFree(lane.identity);
    }
    server.stop();
  }

  void open(Lane& lane) {
    strcpy(lane.control.user, "Demo");
    strcpy(lane.control.server, "127.0.0.1");
    ZQStatusList s{0, nullptr};
    ZQInitialization(&lane.control, &s);
    ZQSetServerPort(&lane.control, "127.0.0.1", server.port(), 0, &s);
    uint32_t item = 4;
    ZQServerInfoRequestList req{1, &item};
    ZQServerInfoList out{0, nullptr};
    if (ZQGetServerInfo(&lane.control, &req, &out, &s) != 0) abort();
    FreeZQServerInfoList(&out, 0);

    // The same record, with the header the frame fills after binding.
    zq::transport::ServerInfoArgs args{};
    args.header.cacheId = lane.control.cacheId;
    args.header.user = lane.control.user;
    static char password[121] = "";
    args.header.password = password;
    static char info[] = "0::127.0.0.1";
    args.header.clientInfo = {7, sizeof info, reinterpret_cast<unsigned char*>(info)};
    args.header.localeBlock[1] = const_cast<char*>("UTF-8");
    args.header.timeout = 120;
    args.header.lastChunk = 1;
    ZQGetClientIdentity(&lane.control, &lane.identity, &s);
    lane.property.propertyTag = 2;
    lane.property.value.dataType = ZQ_DATA_TYPE_CHAR;
    lane.property.value.u.charValue = lane.identity;
    args.header.properties = {1, &lane.property};
    args.settings = req;
    zq::model::CodecScope scope(14, lane.control.context);
    if (!zq::model::encodeToBuffer(args, 14, lane.request)) abort();

    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_port = htons(server.port());
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    int fd = socket(AF_INET, SOCK_STREAM, 0);
    if (connect(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0) abort();
    netbuf nb{sizeof addr, sizeof addr, &addr};
    lane.bare = clnt_vc_create(fd, &nb, 390620, 14, 0, 0);
    if (!lane.bare) abort();
  }
};

Fixture& fixture() {
  static Fixture f;
  return f;
}

// The fixture is made once, by the first thread in; the others wait.
Fixture& sharedFixture() {
  static std::once_flag once;
  std::call_once(once, [] { fixture(); });
  return fixture();
}

void BM_FrameParallel(benchmark::State& state) {
  Lane& lane = sharedFixture().lanes[state.thread_index()];
  uint32_t item = 4;
  ZQServerInfoRequestList req{1, &item};
  for (auto _ : state) {
    ZQStatusList s{0, nullptr};
    ZQServerInfoList out{0, nullptr};
    if (ZQGetServerInfo(&lane.control, &req, &out, &s) != 0) state.SkipWithError("call failed");
    FreeZQServerInfoList(&out, 0);
    FreeZQStatusList(&s, 0);
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_FrameParallel)->Threads(1)->Threads(kThreads)->UseRealTime();

void BM_BareParallel(benchmark::State& state) {
  Lane& lane = sharedFixture().lanes[state.thread_index()];
  zq::model::CodecScope scope(14, lane.control.context);
  for (auto _ : state) {
    zq::transport::ServerInfoReply reply{};
    timeval tv{25, 0};
    if (clnt_call(lane.bare, 36, zqbench::rawRequest(), &lane.request,
                  zq::model::xdrProc<zq::transport::ServerInfoReply>(), &reply, tv) != RPC_SUCCESS)
      state.SkipWithError("bare call failed");
    zq::model::release(reply);
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_BareParallel)->Threads(1)->Threads(kThreads)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
