// zqserverd serving many clients at once: the RPC replies it frames itself
// (bytes written by hand from the wire rules), replies of one connection in
// order, a delayed call that holds nobody else, senders that are too big,
// too slow or silent cut off while others are served, and a load of many
// clients with a slow and a hostile one mixed in.
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <mutex>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "entry_store.h"
#include "store.h"
#include "support/hostile_proxy.h"
#include "support/server_fixture.h"
#include "support/spawned_server.h"

using zqtest::dialLoopback;
using zqtest::fragment;
using zqtest::sendAll;
using zqtest::SpawnedServer;
using zqtest::Status;
using zqtest::word;
using zqtest::wordAt;

namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

constexpr ZQInternalId kTitleId = 536870913;
constexpr uint32_t kFast = 390620;

// What came back on a connection within a time.
struct Heard {
  std::vector<std::string> records;  // whole records, marks included
  bool closed = false;
};

// Reads until `want` whole records arrived, the peer closed, or ms passed.
Heard listenFor(int fd, size_t want, int ms) {
  Heard heard;
  std::string got;
  const auto until = Clock::now() + milliseconds(ms);
  while (heard.records.size() < want && Clock::now() < until) {
    pollfd p{fd, POLLIN, 0};
    if (poll(&p, 1, 10) <= 0) continue;
    char buf[4096];
    const ssize_t n = recv(fd, buf, sizeof buf, 0);
    if (n <= 0) {
      heard.closed = true;
      break;
    }
    got.append(buf, static_cast<size_t>(n));
    // Cut whole records (one or more fragments) off the front.
    for (;;) {
      size_t at = 0;
      bool whole = false;
      while (got.size() >= at + 4) {
        const uint32_t mark = wordAt(got, at);
        const size_t end = at + 4 + (mark & 0x7FFFFFFFu);
        if (got.size() < end) break;
        at = end;
        if (mark & 0x80000000u) {
          whole = true;
          break;
        }
      }
      if (!whole) break;
      heard.records.push_back(got.substr(0, at));
      got.erase(0, at);
    }
  }
  return heard;
}

// A call header: program, version, procedure, credentials (flavor, body).
std::string callHead(uint32_t xid, uint32_t program, uint32_t version, uint32_t procedure,
                     uint32_t flavor = 0, const std::string& body = "") {
  return word(xid) + word(0) + word(2) + word(program) + word(version) + word(procedure) +
         word(flavor) + word(static_cast<uint32_t>(body.size())) + body + word(0) + word(0);
}

// An accepted reply head with its status (the verifier AUTH_NONE, empty).
std::string acceptedWith(uint32_t xid, uint32_t stat) {
  return word(xid) + word(1) + word(0) + word(0) + word(0) + word(stat);
}

std::string pingRecord(uint32_t xid) {
  return fragment(callHead(xid, kFast, 14, 0));
}

class ServerConcurrency : public zqtest::ServerTest {
 protected:
  void SetUp() override {
    zqtest::ServerTest::SetUp();
    ASSERT_TRUE(zqserver::EntryStore(server_->store())
                    .createForm("Tickets", {{kTitleId, ZQ_DATA_TYPE_CHAR, "Title"}})
                    .ok());
  }
  // A second client of its own.
  ZQControlStruct newClient() {
    ZQControlStruct c = zqtest::makeControl("Demo", "127.0.0.1");
    Status s;
    EXPECT_LT(ZQInitialization(&c, &s), 2);
    usePort(&c);
    return c;
  }
  static double msSince(Clock::time_point t) {
    return std::chrono::duration<double, std::milli>(Clock::now() - t).count();
  }
};

// Replies the server frames itself, byte for byte as the RPC rules write them.
TEST_F(ServerConcurrency, RpcRepliesAreFramedByTheWireRules) {
  const std::string badUnixCred = word(1) + word(0xFFFF);  // machine name past the body
  struct Case {
    const char* what;
    std::string request;
    std::string reply;  // empty: the connection is closed without one
  } cases[] = {
      {"null procedure", pingRecord(11), fragment(acceptedWith(11, 0))},
      {"unknown program", fragment(callHead(12, 12345, 14, 0)), fragment(acceptedWith(12, 1))},
      {"version out of range", fragment(callHead(13, kFast, 15, 0)),
       fragment(acceptedWith(13, 2) + word(7) + word(14))},
      {"unknown procedure", fragment(callHead(14, kFast, 14, 9999)),
       fragment(acceptedWith(14, 3))},
      {"arguments that do not decode", fragment(callHead(15, kFast, 14, 1) + word(7)),
       fragment(acceptedWith(15, 4))},
      {"credentials of an unknown flavor", fragment(callHead(16, kFast, 14, 0, 9, "abcd")),
       fragment(word(16) + word(1) + word(1) + word(1) + word(2))},
      {"broken system credentials", fragment(callHead(17, kFast, 14, 0, 1, badUnixCred)),
       fragment(word(17) + word(1) + word(1) + word(1) + word(1))},
      {"a call in three fragments",
       fragment(callHead(18, kFast, 14, 0).substr(0, 8), false) +
           fragment(callHead(18, kFast, 14, 0).substr(8, 20), false) +
           fragment(callHead(18, kFast, 14, 0).substr(28)),
       fragment(acceptedWith(18, 0))},
      {"an empty fragment first", fragment("", false) + pingRecord(19),
       fragment(acceptedWith(19, 0))},
      {"RPC version 3", fragment(word(20) + word(0) + word(3) + callHead(20, kFast, 14, 0).substr(12)),
       ""},
      {"a reply sent to the server", fragment(acceptedWith(21, 0)), ""},
      {"an empty record", fragment(""), ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const int fd = dialLoopback(server_->port());
    ASSERT_GE(fd, 0);
    ASSERT_TRUE(sendAll(fd, c.request));
    const Heard heard = listenFor(fd, 1, 2000);
    if (c.reply.empty()) {
      EXPECT_TRUE(heard.records.empty());
      EXPECT_TRUE(heard.closed);
    } else {
      ASSERT_EQ(heard.records.size(), 1u);
      EXPECT_EQ(heard.records[0], c.reply);
    }
    close(fd);
  }
  // The server goes on serving.
  Status s;
  EXPECT_EQ(ping(&control_, s), 0);
}

// Requests sent back to back in one write are answered one by one, in order.
TEST_F(ServerConcurrency, RepliesOfOneConnectionStayInOrder) {
  const int fd = dialLoopback(server_->port());
  ASSERT_GE(fd, 0);
  std::string burst;
  for (uint32_t xid = 100; xid < 140; ++xid)
    burst += xid % 3 ? pingRecord(xid) : fragment(callHead(xid, kFast, 14, 9999));
  ASSERT_TRUE(sendAll(fd, burst));
  const Heard heard = listenFor(fd, 40, 5000);
  ASSERT_EQ(heard.records.size(), 40u);
  for (uint32_t i = 0; i < 40; ++i) {
    const uint32_t xid = 100 + i;
    EXPECT_EQ(heard.records[i], fragment(acceptedWith(xid, xid % 3 ? 0 : 3))) << xid;
  }
  close(fd);
}

TEST_F(ServerConcurrency, DelayedCallHoldsOnlyItsOwnConnection) {
  server_->faults().delayMs = 3000;
  server_->faults().delayCalls = 1;
  Clock::time_point slowStart = Clock::now();
  double slowMs = 0;
  int slowRc = -1;
  std::thread slow([&] {
    Status s;
    slowRc = ping(&control_, s);
    slowMs = msSince(slowStart);
  });
  // Wait until the slow call has taken the delay.
  for (int i = 0; i < 500 && server_->faults().delayCalls.load() > 0; ++i)
    std::this_thread::sleep_for(milliseconds(2));
  ASSERT_EQ(server_->faults().delayCalls.load(), 0);
  ZQControlStruct other = newClient();
  Status s;
  const auto start = Clock::now();
  EXPECT_EQ(ping(&other, s), 0);
  ZQFieldValueStruct fv{};
  fv.fieldId = kTitleId;
  fv.value.dataType = ZQ_DATA_TYPE_CHAR;
  fv.value.u.charValue = const_cast<char*>("beside the slow one");
  ZQFieldValueList values{1, &fv};
  ZQEntryIdType id;
  EXPECT_EQ(ZQCreateEntry(&other, "Tickets", &values, id, s.fresh()), 0);
  const double otherMs = msSince(start);
  slow.join();
  EXPECT_EQ(slowRc, 0);
  EXPECT_GE(slowMs, 2900);
  EXPECT_LT(otherMs, 1500) << "the second client waited for the delayed call";
  ZQTermination(&other, s.fresh());
}

// ---- limits ----------------------------------------------------------------------------

class ServerLimits : public ServerConcurrency {
 protected:
  void configure(zqserver::Options& o) override {
    o.limits.recordTimeoutMs = 1000;
    o.limits.maxRecordSize = 1u << 20;
  }
};

TEST_F(ServerLimits, OversizedAndTricklingSendersAreCutOffWhileOthersAreServed) {
  std::atomic<bool> done{false};
  double hugeClosedMs = -1, trickleClosedMs = -1, bigClosedMs = -1;
  int trickleBytes = 0;
  std::thread hostile([&] {
    // A record mark announcing 2 GiB: cut off at once.
    int fd = dialLoopback(server_->port());
    auto start = Clock::now();
    if (fd >= 0 && sendAll(fd, word(0xFFFFFFFFu) + "abcd")) {
      if (listenFor(fd, 1, 3000).closed) hugeClosedMs = msSince(start);
    }
    if (fd >= 0) close(fd);
    // Fragments adding up past the limit, none of them large.
    fd = dialLoopback(server_->port());
    start = Clock::now();
    std::string chunk = fragment(std::string(600 * 1024, 'x'), false);
    if (fd >= 0 && sendAll(fd, chunk) && sendAll(fd, chunk.substr(0, 4))) {
      if (listenFor(fd, 1, 3000).closed) bigClosedMs = msSince(start);
    }
    if (fd >= 0) close(fd);
  });
  std::thread trickler([&] {
    // One byte a second of an otherwise valid call.
    const int fd = dialLoopback(server_->port());
    if (fd < 0) return;
    const std::string record = pingRecord(7);
    const auto start = Clock::now();
    for (char byte : record) {
      if (send(fd, &byte, 1, MSG_NOSIGNAL) != 1) break;
      ++trickleBytes;
      if (listenFor(fd, 1, 1000).closed) {
        trickleClosedMs = msSince(start);
        break;
      }
    }
    close(fd);
    done = true;
  });
  // Meanwhile every call of a well-behaved client is answered promptly.
  double worstMs = 0;
  int calls = 0;
  while (!done.load()) {
    Status s;
    const auto start = Clock::now();
    EXPECT_EQ(ping(&control_, s), 0);
    worstMs = std::max(worstMs, msSince(start));
    ++calls;
    std::this_thread::sleep_for(milliseconds(20));
  }
  hostile.join();
  trickler.join();
  EXPECT_GE(hugeClosedMs, 0) << "a 2 GiB record mark was not cut off";
  EXPECT_LT(hugeClosedMs, 500);
  EXPECT_GE(bigClosedMs, 0) << "fragments past the record limit were not cut off";
  EXPECT_GE(trickleClosedMs, 900);
  EXPECT_LT(trickleClosedMs, 3500);
  EXPECT_LT(trickleBytes, 5);
  EXPECT_GT(calls, 10);
  EXPECT_LT(worstMs, 500);
  EXPECT_GE(server_->connections().cutOff().tooLarge.load(), 2u);
  EXPECT_GE(server_->connections().cutOff().tooSlow.load(), 1u);
}

// Idle connections by the thousand: new clients are still served, and past
// the connection limit the longest idle ones make room.
struct IdleCase {
  size_t maxConnections;
  bool evicts;
};

class ServerIdle : public ServerConcurrency, public ::testing::WithParamInterface<IdleCase> {
 protected:
  void configure(zqserver::Options& o) override {
    o.limits.maxConnections = GetParam().maxConnections;
  }
};

TEST_P(ServerIdle, FifteenHundredIdleConnectionsDoNotStopNewClients) {
  constexpr int kIdle = 1500;
  rlimit limit{};
  getrlimit(RLIMIT_NOFILE, &limit);
  const rlim_t saved = limit.rlim_cur;
  // Both ends live in this process.
  if (limit.rlim_max < 2 * kIdle + 200)
    GTEST_SKIP() << "needs " << 2 * kIdle + 200 << " descriptors, has " << limit.rlim_max;
  limit.rlim_cur = std::max<rlim_t>(limit.rlim_cur, 2 * kIdle + 200);
  ASSERT_EQ(setrlimit(RLIMIT_NOFILE, &limit), 0);
  std::vector<int> idle;
  for (int i = 0; i < kIdle; ++i) {
    const int fd = dialLoopback(server_->port());
    ASSERT_GE(fd, 0) << i;
    idle.push_back(fd);
  }
  // Let the server accept them all.
  for (int i = 0; i < 200 && server_->connections().open() + 1 < std::min<size_t>(kIdle, GetParam().maxConnections); ++i)
    std::this_thread::sleep_for(milliseconds(10));
  ZQControlStruct other = newClient();
  Status s;
  const auto start = Clock::now();
  EXPECT_EQ(ping(&other, s), 0);
  EXPECT_LT(msSince(start), 2000);
  EXPECT_LE(server_->connections().open(), GetParam().maxConnections);
  const uint64_t evicted = server_->connections().cutOff().evicted.load();
  if (GetParam().evicts) {
    EXPECT_GE(evicted, static_cast<uint64_t>(kIdle + 1 - GetParam().maxConnections));
    // The connections closed were idle ones: the oldest first.
    EXPECT_TRUE(listenFor(idle.front(), 1, 1000).closed);
  } else {
    EXPECT_EQ(evicted, 0u);
    EXPECT_GE(server_->connections().open(), static_cast<size_t>(kIdle));
  }
  ZQTermination(&other, s.fresh());
  for (int fd : idle) close(fd);
  limit.rlim_cur = saved;
  setrlimit(RLIMIT_NOFILE, &limit);
}

INSTANTIATE_TEST_SUITE_P(Limits, ServerIdle,
                         ::testing::Values(IdleCase{4096, false}, IdleCase{1000, true}));

// ---- the load test -----------------------------------------------------------------------

size_t envCount(const char* name, size_t fallback) {
  const char* v = getenv(name);
  return v && atol(v) > 0 ? static_cast<size_t>(atol(v)) : fallback;
}

constexpr uint32_t kLookupEntries = 50;

struct ClientTally {
  std::vector<double> latenciesMs;
  uint64_t created = 0;
  uint64_t errors = 0;
  std::string firstError;
};

// One well-behaved client: creates, gets, sets, queries and bulks in turn.
void runLoadClient(uint16_t port, int number, size_t calls, Clock::time_point deadline,
                   ClientTally& tally) {
  ZQControlStruct control = zqtest::makeControl("Demo", "127.0.0.1");
  Status s;
  if (ZQInitialization(&control, &s) >= 2 ||
      ZQSetServerPort(&control, control.server, port, 0, s.fresh()) != 0) {
    tally.errors++;
    tally.firstError = "initialization";
    return;
  }
  std::string title = "client " + std::to_string(number);
  ZQFieldValueStruct fv{};
  fv.fieldId = kTitleId;
  fv.value.dataType = ZQ_DATA_TYPE_CHAR;
  fv.value.u.charValue = title.data();
  ZQFieldValueList values{1, &fv};
  ZQEntryIdType last = "";
  auto failed = [&](int rc, const char* what) {
    if (rc < 2) return false;
    tally.errors++;
    if (tally.firstError.empty())
      tally.firstError = std::string(what) + " rc " + std::to_string(rc) +
                         (s.count ? " message " + std::to_string(s.items[0].messageNumber) : "");
    return true;
  };
  for (size_t call = 0; call < calls && Clock::now() < deadline; ++call) {
    const auto start = Clock::now();
    const int kind = last[0] ? static_cast<int>(call % 5) : 0;
    switch (kind) {
      case 0: {
        ZQEntryIdType id;
        if (!failed(ZQCreateEntry(&control, "Tickets", &values, id, s.fresh()), "create")) {
          tally.created++;
          memcpy(last, id, sizeof last);
        }
        break;
      }
      case 1: {
        ZQEntryIdList ids{1, &last};
        ZQFieldValueList got{0, nullptr};
        failed(ZQGetEntry(&control, "Tickets", &ids, nullptr, &got, s.fresh()), "get");
        FreeZQFieldValueList(&got, 0);
        break;
      }
      case 2: {
        ZQEntryIdList ids{1, &last};
        failed(ZQSetEntry(&control, "Tickets", &ids, &values, 0, 0, s.fresh()), "set");
        break;
      }
      case 3: {
        // On a form of its own: the query engine reads a whole form per
        // query, and Tickets grows with the load.
        ZQEntryListList list{0, nullptr};
        uint32_t matches = 0;
        if (!failed(ZQGetListEntry(&control, "Lookup", nullptr, nullptr, nullptr, 0, 10, 0, &list,
                                   &matches, s.fresh()),
                    "query") &&
            (list.count != 10 || matches != kLookupEntries)) {
          tally.errors++;
          if (tally.firstError.empty()) tally.firstError = "a query with a wrong result";
        }
        FreeZQEntryListList(&list, 0);
        break;
      }
      case 4: {
        constexpr int kQueued = 3;
        if (failed(ZQBeginBulkEntryTransaction(&control, s.fresh()), "bulk begin")) break;
        for (int i = 0; i < kQueued; ++i) {
          ZQEntryIdType id;
          failed(ZQCreateEntry(&control, "Tickets", &values, id, s.fresh()), "bulk create");
        }
        ZQBulkEntryReturnList results{0, nullptr};
        if (!failed(ZQEndBulkEntryTransaction(&control, ZQ_BULK_ENTRY_ACTION_SEND, &results,
                                              s.fresh()),
                    "bulk end"))
          tally.created += kQueued;
        FreeZQBulkEntryReturnList(&results, 0);
        break;
      }
    }
    tally.latenciesMs.push_back(
        std::chrono::duration<double, std::milli>(Clock::now() - start).count());
  }
  ZQTermination(&control, s.fresh());
}

// Many clients at once against zqserverd in a process of its own, with a
// slow and a hostile client beside them. Shortened by default; the full run
// (64 clients x 1,000 calls): ZQ_LOAD_CLIENTS=64 ZQ_LOAD_CALLS=1000.
TEST(ServerLoad, ManyClientsWithSlowAndHostileOnesBeside) {
  signal(SIGPIPE, SIG_IGN);
  const size_t clients = envCount("ZQ_LOAD_CLIENTS", 16);
  const size_t calls = envCount("ZQ_LOAD_CALLS", 60);
  const std::string db =
      ::testing::TempDir() + "zqload-" + std::to_string(getpid()) + ".db";
  unlink(db.c_str());
  SpawnedServer server({"--db", db, "--form", "Tickets:536870913:char:Title", "--form",
                        "Lookup:536870913:char:Title", "--record-time-limit", "2000"});
  ASSERT_NE(server.port, 0);
  {
    ZQControlStruct control = zqtest::makeControl("Demo", "127.0.0.1");
    Status s;
    ASSERT_LT(ZQInitialization(&control, &s), 2);
    ASSERT_EQ(ZQSetServerPort(&control, control.server, server.port, 0, s.fresh()), 0);
    ZQFieldValueStruct fv{};
    fv.fieldId = kTitleId;
    fv.value.dataType = ZQ_DATA_TYPE_CHAR;
    fv.value.u.charValue = const_cast<char*>("lookup");
    ZQFieldValueList values{1, &fv};
    for (uint32_t i = 0; i < kLookupEntries; ++i) {
      ZQEntryIdType id;
      ASSERT_EQ(ZQCreateEntry(&control, "Lookup", &values, id, s.fresh()), 0);
    }
    ZQTermination(&control, s.fresh());
  }
  const auto deadline = Clock::now() + std::chrono::minutes(8);
  std::atomic<bool> loadDone{false};
  std::atomic<int> slowAnswered{0}, slowFailed{0}, hostileCutOff{0};
  // A slow client: each call dribbles in a byte every 10 ms, yet is answered.
  std::thread slow([&] {
    for (uint32_t xid = 1; !loadDone.load() && Clock::now() < deadline; ++xid) {
      const int fd = dialLoopback(server.port);
      if (fd < 0) break;
      bool sent = true;
      for (char byte : pingRecord(xid)) {
        sent = send(fd, &byte, 1, MSG_NOSIGNAL) == 1;
        if (!sent) break;
        std::this_thread::sleep_for(milliseconds(10));
      }
      const Heard heard = listenFor(fd, 1, 10000);
      (sent && heard.records.size() == 1 ? slowAnswered : slowFailed)++;
      close(fd);
    }
  });
  // A hostile client: huge record marks, garbage, and connections left idle.
  std::thread hostile([&] {
    std::mt19937 random(7);
    std::vector<int> silent;
    while (!loadDone.load() && Clock::now() < deadline) {
      int fd = dialLoopback(server.port);
      if (fd < 0) break;
      std::string junk(64, '\0');
      for (char& c : junk) c = static_cast<char>(random());
      sendAll(fd, random() % 2 ? word(0xFFFFFFFFu) : fragment(junk));
      if (listenFor(fd, 1, 1000).closed) hostileCutOff++;
      close(fd);
      if (silent.size() < 200) silent.push_back(dialLoopback(server.port));
      std::this_thread::sleep_for(milliseconds(5));
    }
    for (int fd : silent)
      if (fd >= 0) close(fd);
  });
  std::vector<ClientTally> tallies(clients);
  std::vector<std::thread> threads;
  const auto start = Clock::now();
  for (size_t i = 0; i < clients; ++i)
    threads.emplace_back(runLoadClient, server.port, static_cast<int>(i), calls, deadline,
                         std::ref(tallies[i]));
  for (std::thread& t : threads) t.join();
  const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
  loadDone = true;
  slow.join();
  hostile.join();
  const long peakKiB = server.peakRssKiB();
  EXPECT_EQ(server.terminate(), 0) << "zqserverd did not stop cleanly";

  std::vector<double> all;
  uint64_t created = 0, errors = 0;
  for (const ClientTally& t : tallies) {
    all.insert(all.end(), t.latenciesMs.begin(), t.latenciesMs.end());
    created += t.created;
    errors += t.errors;
    EXPECT_EQ(t.errors, 0u) << t.firstError;
  }
  ASSERT_FALSE(all.empty());
  std::sort(all.begin(), all.end());
  auto at = [&](double q) { return all[std::min(all.size() - 1, static_cast<size_t>(q * all.size()))]; };
  zqserver::Store store;
  ASSERT_TRUE(store.open(db));
  uint64_t stored = 0;
  zqserver::EntryStore(store).count("Tickets", stored);
  printf("  %zu clients x %zu calls: %zu calls in %.2f s, %.0f calls/s\n", clients, calls,
         all.size(), seconds, all.size() / seconds);
  printf("  latency p50 %.2f ms, p99 %.2f ms, max %.2f ms; errors %llu\n", at(0.50), at(0.99),
         all.back(), static_cast<unsigned long long>(errors));
  printf("  entries created %llu, stored %llu; slow client answered %d (failed %d); hostile "
         "connections cut off %d; server peak RSS %ld KiB\n",
         static_cast<unsigned long long>(created), static_cast<unsigned long long>(stored),
         slowAnswered.load(), slowFailed.load(), hostileCutOff.load(), peakKiB);
  EXPECT_EQ(all.size(), clients * calls) << "the load did not finish in time";
  EXPECT_EQ(stored, created);
  EXPECT_GT(slowAnswered.load(), 0);
  EXPECT_EQ(slowFailed.load(), 0);
  EXPECT_GT(hostileCutOff.load(), 0);
  unlink(db.c_str());
  unlink((db + "-wal").c_str());
  unlink((db + "-shm").c_str());
}

}  // namespace
