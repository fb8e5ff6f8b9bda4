// A server-information call through the whole frame against a bare
// libtirpc clnt_call of the same procedure with the same request bytes on
// the same server, in the same run. The ratio of the two is the frame's
// overhead.
#include <benchmark/benchmark.h>
#include <rpc/rpc.h>

#include <csignal>
#include <cstring>
#include <vector>

#include "bare_call.h"
#include "calls/session.h"
#include "model/codec.h"
#include "server.h"
#include "transport/describe_records.h"
#include "zqapi/zqapi.h"

namespace {

struct Fixture {
  zqserver::Server server;
  ZQControlStruct control{};
  std::vector<char> request;  // the exact bytes the frame sends
  CLIENT* bare = nullptr;

  Fixture() {
    signal(SIGPIPE, SIG_IGN);
    setenv("ZQAPI_CONFIG", "/tmp/zqapi-bench-config", 1);
    if (!server.start()) abort();
    strcpy(control.user, "Demo");
    strcpy(control.server, "127.0.0.1");
    ZQStatusList s{0, nullptr};
    ZQInitialization(&control, &s);
    ZQSetServerPort(&control, "127.0.0.1", server.port(), 0, &s);
    uint32_t item = 4;
    ZQServerInfoRequestList req{1, &item};
    ZQServerInfoList out{0, nullptr};
    if (ZQGetServerInfo(&control, &req, &out, &s) != 0) abort();
    FreeZQServerInfoList(&out, 0);

    // The same record, with the header the frame fills after binding.
    zq::transport::ServerInfoArgs args{};
    args.header.cacheId = control.cacheId;
    args.header.user = control.user;
    static char password[121] = "";
    args.header.password = password;
    static char info[] = "0::127.0.0.1";
    args.header.clientInfo = {7, sizeof info, reinterpret_cast<unsigned char*>(info)};
    args.header.localeBlock[1] = const_cast<char*>("UTF-8");
    args.header.timeout = 120;
    args.header.lastChunk = 1;
    // The client property the frame adds for this server: its identity.
    static char* identity = nullptr;
    ZQGetClientIdentity(&control, &identity, &s);
    static ZQPropStruct property{};
    property.propertyTag = 2;
    property.value.dataType = ZQ_DATA_TYPE_CHAR;
    property.value.u.charValue = identity;
    args.header.properties = {1, &property};
    args.settings = req;
    zq::model::CodecScope scope(14, control.context);
    if (!zq::model::encodeToBuffer(args, 14, request)) abort();

    bare = clnt_create_timed("127.0.0.1", 390620, 14, "tcp", nullptr);
    if (!bare) {
      // No rpcbind: connect straight to the port.
      sockaddr_in addr{};
      addr.sin_family = AF_INET;
      addr.sin_port = htons(server.port());
      addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
      int fd = socket(AF_INET, SOCK_STREAM, 0);
      connect(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr);
      netbuf nb{sizeof addr, sizeof addr, &addr};
      bare = clnt_vc_create(fd, &nb, 390620, 14, 0, 0);
    }
    if (!bare) abort();
  }
  ~Fixture() {
    clnt_destroy(bare);
    ZQStatusList s{0, nullptr};
    ZQTermination(&control, &s);
    server.stop();
  }
};

Fixture& fixture() {
  static Fixture f;
  return f;
}

void BM_FrameServerInfo(benchmark::State& state) {
  Fixture& f = fixture();
  uint32_t item = 4;
  ZQServerInfoRequestList req{1, &item};
  for (auto _ : state) {
    ZQStatusList s{0, nullptr};
    ZQServerInfoList out{0, nullptr};
    if (ZQGetServerInfo(&f.control, &req, &out, &s) != 0) state.SkipWithError("call failed");
    FreeZQServerInfoList(&out, 0);
    FreeZQStatusList(&s, 0);
  }
}
BENCHMARK(BM_FrameServerInfo)->UseRealTime();

void BM_BareClntCall(benchmark::State& state) {
  Fixture& f = fixture();
  zq::model::CodecScope scope(14, f.control.context);
  for (auto _ : state) {
    zq::transport::ServerInfoReply reply{};
    timeval tv{25, 0};
    if (clnt_call(f.bare, 36, zqbench::rawRequest(), &f.request,
                  zq::model::xdrProc<zq::transport::ServerInfoReply>(), &reply, tv) != RPC_SUCCESS)
      state.SkipWithError("bare call failed");
    zq::model::release(reply);
  }
}
BENCHMARK(BM_BareClntCall)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
