// The transport against zqserverd on loopback: binding, first contact,
// caches, the driver's retries and failure mapping, ports, termination.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include <rpc/rpc.h>

#include "frame/context.h"
#include "dispatch.h"
#include "support/server_fixture.h"
#include "transport/procedures.h"
#include "transport/state.h"

using zqtest::Status;

namespace {

zq::transport::ServerOptions* optionsOf(ZQControlStruct* c) {
  return zq::transport::findOptions(c->context, c->server);
}
zq::transport::ServerRecord* recordOf(ZQControlStruct* c) {
  return zq::transport::findServer(c->context, c->server);
}
zq::transport::TransportState* stateOf(ZQControlStruct* c) {
  return zq::transport::stateOf(c->context);
}

void setTimeout(ZQControlStruct* c, int seconds) {
  ZQValueStruct v{};
  v.dataType = ZQ_DATA_TYPE_INTEGER;
  v.u.integerValue = seconds;
  Status s;
  ASSERT_EQ(ZQSetSessionVariable(c, ZQ_SESSVAR_TIMEOUT_NORMAL, &v, &s), 0);
}

}  // namespace

class Transport : public zqtest::ServerTest {};

TEST_F(Transport, ServerInfoOverAFixedPort) {
  Status s;
  ZQServerInfoList out{0, nullptr};
  ASSERT_EQ(serverInfo(&control_, {4, 55, 246}, &out, s), 0) << s.count;
  ASSERT_EQ(out.count, 3u);
  EXPECT_EQ(out.items[0].operation, 4u);
  ASSERT_EQ(out.items[0].value.dataType, ZQ_DATA_TYPE_CHAR);
  EXPECT_STREQ(out.items[0].value.u.charValue, "7.5.00 Patch 004");
  EXPECT_STREQ(out.items[1].value.u.charValue, "en_US.UTF-8");
  EXPECT_EQ(out.items[2].value.dataType, ZQ_DATA_TYPE_INTEGER);
  FreeZQServerInfoList(&out, 0);

  // First contact took the settings the client needs.
  zq::transport::ServerOptions* o = optionsOf(&control_);
  ASSERT_NE(o, nullptr);
  EXPECT_EQ(o->major, 7);
  EXPECT_EQ(o->minor, 5);
  EXPECT_EQ(o->maintenance, 0);
  EXPECT_EQ(o->patch, 4);
  EXPECT_TRUE(o->wantsClientProperties);
  EXPECT_EQ(o->language, "en_US.UTF-8");
  EXPECT_NE(control_.cacheId, 0);
  EXPECT_EQ(server_->faults().lastProgram.load(), 390620u);  // the fast queue
}

TEST_F(Transport, ArgumentChecksComeFirst) {
  Status s;
  ZQServerInfoList out{7, reinterpret_cast<ZQServerInfoStruct*>(0x1)};
  EXPECT_EQ(serverInfo(&control_, {}, &out, s), 2);
  EXPECT_EQ(out.count, 0u);  // outputs are cleared first
  EXPECT_TRUE(s.has(122));
  s.reset();
  EXPECT_EQ(serverInfo(&control_, {0, 4, 10}, &out, s), 2);
  EXPECT_EQ(s.appendedOf(123), "0");
  EXPECT_EQ(s.appendedOf(218), "10");
  s.reset();
  ZQServerInfoRequestList noItems{2, nullptr};
  EXPECT_EQ(ZQGetServerInfo(&control_, &noItems, &out, &s), 2);
  EXPECT_TRUE(s.has(165));
  EXPECT_EQ(ZQGetServerInfo(&control_, &noItems, &out, nullptr), 4);
  EXPECT_EQ(server_->faults().callsReceived.load(), 0u);  // nothing was sent
}

TEST_F(Transport, RefusedSettingStepsTheRequestDown) {
  // The settings request goes 7, 6, 4, 1 items until the server takes it;
  // then comes the caller's own request.
  struct Case {
    uint32_t refused;
    uint64_t calls;
    bool versionKnown;
  } cases[] = {{333, 3, true}, {305, 4, true}, {246, 4, true}, {4, 5, false}, {55, 4, false}};
  for (const auto& c : cases) {
    ZQControlStruct control = zqtest::makeControl("Demo", "127.0.0.1");
    Status s;
    ASSERT_EQ(ZQInitialization(&control, &s), 0);
    usePort(&control);
    server_->faults().reset();
    server_->faults().refuseSetting = c.refused;
    int rc = ping(&control, s);
    if (c.refused == 55 || c.refused == 4) {
      // 55: even the last form names it and the binding fails with the
      // server's 123; 4: binding works, the caller's own request is refused.
      EXPECT_EQ(rc, 2) << c.refused;
      EXPECT_TRUE(s.has(123)) << c.refused;
      EXPECT_EQ(optionsOf(&control) != nullptr, c.refused == 4) << c.refused;
    } else {
      EXPECT_EQ(rc, 0) << c.refused;
      EXPECT_EQ(optionsOf(&control)->major == 7, c.versionKnown) << c.refused;
    }
    EXPECT_EQ(server_->faults().callsReceived.load(), c.calls) << c.refused;
    s.reset();
    ZQTermination(&control, &s);
  }
}

TEST_F(Transport, CachesAndSessions) {
  Status s;
  ASSERT_EQ(ping(&control_, s), 0);
  auto handle = recordOf(&control_)->handle();
  ASSERT_TRUE(handle);
  int32_t cacheId = control_.cacheId;
  ASSERT_EQ(ping(&control_, s), 0);
  EXPECT_EQ(recordOf(&control_)->handle(), handle);          // the handle is reused
  EXPECT_EQ(server_->faults().lastCacheId.load(), cacheId);  // the cache id travels back

  // A second user on the same context gets a binding of its own.
  ZQControlStruct other = control_;
  strcpy(other.user, "Second");
  other.cacheId = 0;
  ASSERT_EQ(ping(&other, s), 0);
  EXPECT_EQ(stateOf(&control_)->bindings[zq::kQueueFast].size(), 2u);

  // Closing the connections keeps bindings and cache ids.
  ASSERT_EQ(ZQCloseNetworkConnections(&control_, &s), 0);
  EXPECT_FALSE(recordOf(&control_)->handle());
  cacheId = control_.cacheId;
  ASSERT_EQ(ping(&control_, s), 0);
  EXPECT_TRUE(recordOf(&control_)->handle());
  EXPECT_EQ(server_->faults().lastCacheId.load(), cacheId);
}

TEST_F(Transport, UnreachableServerGives90) {
  ZQControlStruct c = zqtest::makeControl("Demo", "127.0.0.1");
  Status s;
  ASSERT_EQ(ZQInitialization(&c, &s), 0);
  // A port nobody listens on.
  ASSERT_EQ(ZQSetServerPort(&c, "127.0.0.1", 1, 0, &s), 0);
  EXPECT_EQ(ping(&c, s), 2);
  ASSERT_TRUE(s.has(90));
  std::string appended = s.appendedOf(90);
  EXPECT_EQ(appended.rfind("127.0.0.1", 0), 0u) << appended;
  EXPECT_NE(appended.find(" : "), std::string::npos) << appended;
  s.reset();
  ZQTermination(&c, &s);
}

TEST_F(Transport, DelayedReplyTimesOutAndTheNextCallReconnects) {
  setTimeout(&control_, 1);
  Status s;
  ASSERT_EQ(ping(&control_, s), 0);
  server_->faults().delayMs = 2500;
  server_->faults().delayCalls = 1;
  EXPECT_EQ(ping(&control_, s), 2);
  EXPECT_EQ(s.appendedOf(93), "127.0.0.1");
  s.reset();
  std::this_thread::sleep_for(std::chrono::milliseconds(1800));  // the server catches up
  EXPECT_EQ(ping(&control_, s), 0);
}

TEST_F(Transport, DroppedConnectionIsRetriedOnce) {
  Status s;
  ASSERT_EQ(ping(&control_, s), 0);
  server_->faults().dropNext = 1;
  EXPECT_EQ(ping(&control_, s), 0);
  s.reset();
  server_->faults().dropNext = 2;
  EXPECT_EQ(ping(&control_, s), 2);
  EXPECT_TRUE(s.has(91));
  s.reset();
  server_->faults().closeMidCall = 1;
  EXPECT_EQ(ping(&control_, s), 0);
}

TEST_F(Transport, BrokenRepliesAreErrorsNotCrashes) {
  Status s;
  ASSERT_EQ(ping(&control_, s), 0);
  server_->faults().garbleReplies = 1;  // read again after a reconnect
  EXPECT_EQ(ping(&control_, s), 0);
  s.reset();
  server_->faults().garbleReplies = 2;
  ZQServerInfoList out{0, nullptr};
  EXPECT_EQ(serverInfo(&control_, {4, 55}, &out, s), 2);
  EXPECT_TRUE(s.has(91));
  EXPECT_EQ(out.count, 0u);
  EXPECT_EQ(out.items, nullptr);
}

// A client of the RPC library itself, on the server's port.
struct RawClient {
  explicit RawClient(uint16_t port, uint32_t version = 14) {
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_port = htons(port);
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    fd = socket(AF_INET, SOCK_STREAM, 0);
    if (connect(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0) return;
    netbuf nb{sizeof addr, sizeof addr, &addr};
    client = clnt_vc_create(fd, &nb, 390620, version, 0, 0);
  }
  ~RawClient() {
    if (client) clnt_destroy(client);
    close(fd);
  }
  // Sends two words that are no argument record, reads nothing back.
  clnt_stat junk(uint32_t procedure) {
    bool_t (*words)(XDR*, void*, u_int) = [](XDR* x, void*, u_int) -> bool_t {
      uint32_t w = 0xFFFFFFFFu;
      return xdr_u_int(x, &w) && xdr_u_int(x, &w);
    };
    bool_t (*none)(XDR*, void*, u_int) = [](XDR*, void*, u_int) -> bool_t { return TRUE; };
    timeval tv{5, 0};
    return clnt_call(client, procedure, reinterpret_cast<xdrproc_t>(words), nullptr,
                     reinterpret_cast<xdrproc_t>(none), nullptr, tv);
  }
  int fd = -1;
  CLIENT* client = nullptr;
};

TEST_F(Transport, ServerSurvivesMalformedRequests) {
  {
    RawClient raw(server_->port());
    ASSERT_NE(raw.client, nullptr);
    EXPECT_EQ(raw.junk(36), RPC_CANTDECODEARGS);
    EXPECT_EQ(raw.junk(999), RPC_PROCUNAVAIL);
  }
  Status s;
  EXPECT_EQ(ping(&control_, s), 0);  // and it keeps serving
}

// The dispatcher comes from the procedure table: what the server does not
// serve, it answers as the protocol answers an unavailable procedure, and
// the connection stays usable.
TEST_F(Transport, ProceduresWithoutAHandlerAreUnavailable) {
  RawClient raw(server_->port());
  ASSERT_NE(raw.client, nullptr);
  for (const zq::transport::Procedure& p : zq::transport::procedures()) {
    if (zqserver::handlers().find(p.number)) continue;
    EXPECT_EQ(raw.junk(p.number), RPC_PROCUNAVAIL) << "procedure " << p.number;
  }
  // Every procedure of the table is served now: a number the table lacks.
  ASSERT_EQ(zqserver::handlers().find(180), nullptr);
  EXPECT_EQ(raw.junk(180), RPC_PROCUNAVAIL);
  // A served procedure at a version that does not have it.
  RawClient older(server_->port(), 13);
  ASSERT_NE(older.client, nullptr);
  ASSERT_NE(zqserver::handlers().find(181), nullptr);
  EXPECT_EQ(older.junk(181), RPC_PROCUNAVAIL);
  EXPECT_EQ(raw.junk(36), RPC_CANTDECODEARGS);
}

TEST_F(Transport, ClosingFromAnotherThreadEndsTheCallWithoutReconnect) {
  Status s;
  ASSERT_EQ(ping(&control_, s), 0);
  server_->faults().delayMs = 1500;
  server_->faults().delayCalls = 1;
  std::thread closer([&] {
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    Status cs;
    EXPECT_EQ(ZQCloseNetworkConnections(&control_, &cs), 0);
  });
  auto start = std::chrono::steady_clock::now();
  EXPECT_EQ(ping(&control_, s), 2);
  auto elapsed = std::chrono::steady_clock::now() - start;
  closer.join();
  EXPECT_TRUE(s.has(93));
  EXPECT_LT(elapsed, std::chrono::milliseconds(1400));  // ended promptly
  s.reset();
  std::this_thread::sleep_for(std::chrono::milliseconds(1500));
  EXPECT_EQ(ping(&control_, s), 0);  // the next call reconnects
}

TEST_F(Transport, ArgumentLimitKeepsTheRequestHome) {
  Status s;
  ASSERT_EQ(ping(&control_, s), 0);
  // Above a small request, whose header carries the 120-character password.
  optionsOf(&control_)->argumentLimit = 600;
  uint64_t before = server_->faults().callsReceived;
  std::vector<uint32_t> many(100, 4);
  ZQServerInfoList out{0, nullptr};
  EXPECT_EQ(serverInfo(&control_, many, &out, s), 2);
  EXPECT_TRUE(s.has(9008));
  EXPECT_EQ(server_->faults().callsReceived.load(), before);
  s.reset();
  EXPECT_EQ(ping(&control_, s), 0);  // small requests still pass
}

TEST_F(Transport, SetServerPortRules) {
  Status s;
  EXPECT_EQ(ZQSetServerPort(&control_, "127.0.0.1", 70000, 0, &s), 2);
  EXPECT_EQ(s.appendedOf(8202), "70000");
  s.reset();
  EXPECT_EQ(ZQSetServerPort(&control_, "127.0.0.1", 0, 390601, &s), 2);
  EXPECT_EQ(s.appendedOf(8201), "390601");
  s.reset();
  ASSERT_EQ(ping(&control_, s), 0);
  auto handle = recordOf(&control_)->handle();
  ASSERT_EQ(ZQSetServerPort(&control_, "127.0.0.1", server_->port(), 0, &s), 0);
  EXPECT_EQ(recordOf(&control_)->handle(), handle);  // same values: connection kept
  ASSERT_EQ(ZQSetServerPort(&control_, "127.0.0.1", server_->port(), 390621, &s), 0);
  EXPECT_FALSE(recordOf(&control_)->handle());  // changed: dropped
  EXPECT_EQ(recordOf(&control_)->program, 390621u);
}

TEST_F(Transport, ListServer) {
  Status s;
  ZQServerNameList list{9, nullptr};
  EXPECT_EQ(ZQGetListServer(&control_, &list, &s), 0);
  EXPECT_EQ(list.count, 0u);
  std::ofstream(configPath_) << "ServerList=alpha; beta;gamma\n";
  EXPECT_EQ(ZQGetListServer(&control_, &list, &s), 0);
  ASSERT_EQ(list.count, 3u);
  EXPECT_STREQ(list.items[0], "alpha");
  EXPECT_STREQ(list.items[2], "gamma");
  ZQFree(list.items);
  EXPECT_EQ(ZQGetListServer(&control_, nullptr, &s), 2);
  EXPECT_TRUE(s.has(155));
}

TEST_F(Transport, TerminationEndsEverySession) {
  Status s;
  ASSERT_EQ(ping(&control_, s), 0);
  ZQControlStruct other = control_;
  strcpy(other.user, "Second");
  other.cacheId = 0;
  ASSERT_EQ(ping(&other, s), 0);
  size_t open = server_->sessions().count();
  ASSERT_GE(open, 2u);
  ASSERT_EQ(ZQTermination(&control_, &s), 0);
  EXPECT_EQ(server_->sessions().count(), 0u);
  EXPECT_GE(server_->sessions().ended(), 2u);
  EXPECT_STREQ(control_.user, "Demo");  // the caller's record is left as it was
}

TEST_F(Transport, CallsOnDifferentRecordsRunInParallel) {
  constexpr int kThreads = 4, kCalls = 25;
  std::vector<ZQControlStruct> controls(kThreads);
  for (auto& c : controls) {
    c = zqtest::makeControl("Demo", "127.0.0.1");
    Status s;
    ASSERT_EQ(ZQInitialization(&c, &s), 0);
    usePort(&c);
  }
  std::atomic<int> failures{0};
  std::vector<std::thread> threads;
  for (int t = 0; t < kThreads; ++t)
    threads.emplace_back([&, t] {
      for (int i = 0; i < kCalls; ++i) {
        Status s;
        if (ping(&controls[t], s) != 0) failures++;
      }
    });
  // Two threads sharing one record are serialized by its call lock.
  threads.emplace_back([&] {
    for (int i = 0; i < kCalls; ++i) {
      Status s;
      if (ping(&controls[0], s) != 0) failures++;
    }
  });
  for (auto& th : threads) th.join();
  EXPECT_EQ(failures.load(), 0);
  for (auto& c : controls) {
    Status s;
    ZQTermination(&c, &s);
  }
}

class OlderServer : public zqtest::ServerTest {
  void configure(zqserver::Options& o) override { o.maxVersion = 11; }
};

TEST_F(OlderServer, DriverStepsDownOneVersionPerRetry) {
  Status s;
  ASSERT_EQ(ping(&control_, s), 0) << (s.count ? s.items[0].messageNumber : 0);
  EXPECT_EQ(recordOf(&control_)->version, 11);
  EXPECT_EQ(server_->faults().lastVersion.load(), 11u);
  uint64_t before = server_->faults().callsReceived;
  ASSERT_EQ(ping(&control_, s), 0);
  EXPECT_EQ(server_->faults().callsReceived.load(), before + 1);  // no more fallback

  // A second user on the same server inherits the lowered version.
  ZQControlStruct other = control_;
  strcpy(other.user, "Second");
  other.cacheId = 0;
  before = server_->faults().callsReceived;
  ASSERT_EQ(ping(&other, s), 0);
  EXPECT_EQ(server_->faults().callsReceived.load(), before + 1);
  for (auto& b : stateOf(&control_)->bindings[zq::kQueueFast]) EXPECT_EQ(b->version, 11);
}

TEST_F(OlderServer, VersionSevenHeadersTravel) {
  zq::transport::findOrCreateServer(control_.context, control_.server)->version = 7;
  Status s;
  ASSERT_EQ(ping(&control_, s), 0);
  EXPECT_EQ(server_->faults().lastVersion.load(), 7u);
}

class OnlyVersionSeven : public zqtest::ServerTest {
  void configure(zqserver::Options& o) override { o.minVersion = o.maxVersion = 7; }
};

TEST_F(OnlyVersionSeven, StepsAllTheWayDown) {
  Status s;
  ASSERT_EQ(ping(&control_, s), 0);
  EXPECT_EQ(recordOf(&control_)->version, 7);
}

class AdminProgramOnly : public zqtest::ServerTest {
  void configure(zqserver::Options& o) override { o.programs = {390600}; }
};

TEST_F(AdminProgramOnly, NoVersionWorksGives90AndVersion14Again) {
  Status s;
  EXPECT_EQ(ping(&control_, s), 2);
  EXPECT_EQ(s.appendedOf(90), "127.0.0.1");
  EXPECT_EQ(recordOf(&control_)->version, 14);
}

class LimitedServer : public zqtest::ServerTest {
  void configure(zqserver::Options& o) override { o.settings[246] = int32_t{600}; }
};

TEST_F(LimitedServer, ArgumentLimitFromTheServer) {
  Status s;
  ASSERT_EQ(ping(&control_, s), 0);
  EXPECT_EQ(optionsOf(&control_)->argumentLimit, 600u);
  uint64_t before = server_->faults().callsReceived;
  std::vector<uint32_t> many(200, 4);
  ZQServerInfoList out{0, nullptr};
  EXPECT_EQ(serverInfo(&control_, many, &out, s), 2);
  EXPECT_TRUE(s.has(9008));
  EXPECT_EQ(server_->faults().callsReceived.load(), before);
}

class RpcbindServer : public zqtest::ServerTest {
  void configure(zqserver::Options& o) override { o.useRpcbind = true; }
};

TEST_F(RpcbindServer, FoundThroughThePortMapper) {
  Status s;
  ASSERT_EQ(ping(&control_, s), 0) << (s.count ? s.items[0].messageNumber : 0)
                                   << (s.count && s.items[0].appended ? s.items[0].appended : "");
  EXPECT_EQ(recordOf(&control_)->port, 0u);
}
