// ZQGetEntry through the whole frame (checks, binding, driver, reply moved
// out, values post-processed) against a bare libtirpc clnt_call of procedure
// 1 with the same request bytes on the same server, in the same run. The
// ratio of the two is the entry call's overhead.
#include <arpa/inet.h>
#include <benchmark/benchmark.h>
#include <rpc/rpc.h>

#include <csignal>
#include <cstring>
#include <vector>

#include "entry_store.h"
#include "bare_call.h"
#include "calls/session.h"
#include "model/codec.h"
#include "server.h"
#include "transport/describe_entries.h"
#include "zqapi/zqapi.h"

namespace {

constexpr ZQInternalId kTitle = 536870913, kCount = 536870914;

struct Fixture {
  zqserver::Server server;
  ZQControlStruct control{};
  std::vector<char> request;  // the exact bytes the frame sends
  CLIENT* bare = nullptr;
  ZQEntryIdType id{};
  ZQInternalId fields[3] = {1, kTitle, kCount};

  Fixture() {
    signal(SIGPIPE, SIG_IGN);
    setenv("ZQAPI_CONFIG", "/tmp/zqapi-bench-config", 1);
    if (!server.start()) abort();
    zqserver::EntryStore store(server.store());
    if (!store
             .createForm("Tickets", {{kTitle, ZQ_DATA_TYPE_CHAR, "Title"},
                                     {kCount, ZQ_DATA_TYPE_INTEGER, "Count"}})
             .ok())
      abort();
    strcpy(control.user, "Demo");
    strcpy(control.server, "127.0.0.1");
    ZQStatusList s{0, nullptr};
    ZQInitialization(&control, &s);
    ZQSetServerPort(&control, "127.0.0.1", server.port(), 0, &s);
    ZQFieldValueStruct values[2] = {};
    values[0].fieldId = kTitle;
    values[0].value.dataType = ZQ_DATA_TYPE_CHAR;
    values[0].value.u.charValue = const_cast<char*>("Printer on floor 3 jams again");
    values[1].fieldId = kCount;
    values[1].value.dataType = ZQ_DATA_TYPE_INTEGER;
    values[1].value.u.integerValue = 42;
    ZQFieldValueList list{2, values};
    if (ZQCreateEntry(&control, "Tickets", &list, id, &s) != 0) abort();

    // The same record, with the header the frame fills after binding.
    zq::transport::GetEntryArgs args{};
    args.header.cacheId = control.cacheId;
    args.header.user = control.user;
    static char password[121] = "";
    args.header.password = password;
    static char info[] = "0::127.0.0.1";
    args.header.clientInfo = {7, sizeof info, reinterpret_cast<unsigned char*>(info)};
    args.header.localeBlock[1] = const_cast<char*>("UTF-8");
    args.header.timeout = 120;
    args.header.lastChunk = 1;
    static char* identity = nullptr;
    ZQGetClientIdentity(&control, &identity, &s);
    static ZQPropStruct property{};
    property.propertyTag = 2;
    property.value.dataType = ZQ_DATA_TYPE_CHAR;
    property.value.u.charValue = identity;
    args.header.properties = {1, &property};
    args.form = const_cast<char*>("Tickets");
    args.entryId = {1, &id};
    args.fieldIds = {3, fields};
    zq::model::CodecScope scope(14, control.context);
    if (!zq::model::encodeToBuffer(args, 14, request)) abort();

    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_port = htons(server.port());
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    int fd = socket(AF_INET, SOCK_STREAM, 0);
    if (connect(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0) abort();
    netbuf nb{sizeof addr, sizeof addr, &addr};
    bare = clnt_vc_create(fd, &nb, 390620, 14, 0, 0);
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

void BM_FrameGetEntry(benchmark::State& state) {
  Fixture& f = fixture();
  ZQEntryIdList ids{1, &f.id};
  ZQInternalIdList wanted{3, f.fields};
  for (auto _ : state) {
    ZQStatusList s{0, nullptr};
    ZQFieldValueList out{0, nullptr};
    if (ZQGetEntry(&f.control, "Tickets", &ids, &wanted, &out, &s) != 0)
      state.SkipWithError("call failed");
    FreeZQFieldValueList(&out, 0);
    FreeZQStatusList(&s, 0);
  }
}
BENCHMARK(BM_FrameGetEntry)->UseRealTime();

void BM_BareGetEntry(benchmark::State& state) {
  Fixture& f = fixture();
  zq::model::CodecScope scope(14, f.control.context);
  for (auto _ : state) {
    zq::transport::GetEntryReply reply{};
    timeval tv{25, 0};
    if (clnt_call(f.bare, 1, zqbench::rawRequest(), &f.request,
                  zq::model::xdrProc<zq::transport::GetEntryReply>(), &reply, tv) != RPC_SUCCESS ||
        reply.values.count != 3)
      state.SkipWithError("bare call failed");
    zq::model::release(reply);
  }
}
BENCHMARK(BM_BareGetEntry)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
