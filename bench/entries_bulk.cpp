// 10,000 creates in one bulk transaction against 10,000 single creates, on
// the same server in the same run: the speed-up of sending one request.
#include <benchmark/benchmark.h>

#include <csignal>
#include <cstring>
#include <string>

#include "entry_store.h"
#include "server.h"
#include "zqapi/zqapi.h"

namespace {

constexpr ZQInternalId kTitle = 536870913, kCount = 536870914;
constexpr int kCreates = 10000;

struct Fixture {
  zqserver::Server server;
  ZQControlStruct control{};

  Fixture() {
    signal(SIGPIPE, SIG_IGN);
    setenv("ZQAPI_CONFIG", "/tmp/zqapi-bench-config", 1);
    if (!server.start()) abort();
    zqserver::EntryStore store(server.store());
    if (!store.createForm("Tickets", {{kTitle, ZQ_DATA_TYPE_CHAR, "Title"},
                                      {kCount, ZQ_DATA_TYPE_INTEGER, "Count"}})
             .ok())
      abort();
    strcpy(control.user, "Demo");
    strcpy(control.server, "127.0.0.1");
    ZQStatusList s{0, nullptr};
    ZQInitialization(&control, &s);
    ZQSetServerPort(&control, "127.0.0.1", server.port(), 0, &s);
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

int createOne(Fixture& f, int i) {
  const std::string title = "Ticket number " + std::to_string(i);
  ZQFieldValueStruct values[2] = {};
  values[0].fieldId = kTitle;
  values[0].value.dataType = ZQ_DATA_TYPE_CHAR;
  values[0].value.u.charValue = const_cast<char*>(title.c_str());
  values[1].fieldId = kCount;
  values[1].value.dataType = ZQ_DATA_TYPE_INTEGER;
  values[1].value.u.integerValue = i;
  ZQFieldValueList list{2, values};
  ZQEntryIdType id;
  ZQStatusList s{0, nullptr};
  const int rc = ZQCreateEntry(&f.control, "Tickets", &list, id, &s);
  FreeZQStatusList(&s, 0);
  return rc;
}

void BM_SingleCreates(benchmark::State& state) {
  Fixture& f = fixture();
  for (auto _ : state)
    for (int i = 0; i < kCreates; ++i)
      if (createOne(f, i) != 0) state.SkipWithError("create failed");
  state.SetItemsProcessed(state.iterations() * kCreates);
}
BENCHMARK(BM_SingleCreates)->UseRealTime()->Unit(benchmark::kMillisecond)->Iterations(2);

void BM_BulkCreates(benchmark::State& state) {
  Fixture& f = fixture();
  for (auto _ : state) {
    ZQStatusList s{0, nullptr};
    if (ZQBeginBulkEntryTransaction(&f.control, &s) != 0) state.SkipWithError("begin failed");
    for (int i = 0; i < kCreates; ++i)
      if (createOne(f, i) != 0) state.SkipWithError("queueing failed");
    ZQBulkEntryReturnList results{0, nullptr};
    if (ZQEndBulkEntryTransaction(&f.control, ZQ_BULK_ENTRY_ACTION_SEND, &results, &s) != 0 ||
        results.count != kCreates)
      state.SkipWithError("bulk send failed");
    FreeZQBulkEntryReturnList(&results, 0);
    FreeZQStatusList(&s, 0);
  }
  state.SetItemsProcessed(state.iterations() * kCreates);
}
BENCHMARK(BM_BulkCreates)->UseRealTime()->Unit(benchmark::kMillisecond)->Iterations(2);

}  // namespace

BENCHMARK_MAIN();
