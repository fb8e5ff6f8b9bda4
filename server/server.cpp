#include "server.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <rpc/rpc.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstring>
#include <vector>

#include "accounts.h"
#include "administration.h"
#include "alerts.h"
#include "debugger.h"
#include "dispatch.h"
#include "pending_call.h"
#include "sql_runner.h"
#include "store.h"
#include "workflow_engine.h"
#include "zqapi/zq_alerts.h"

namespace zqserver {
namespace {

std::mutex g_currentMutex;
Server* g_current = nullptr;

}  // namespace

Options::Options() {
  settings[55] = std::string("en_US.UTF-8");  // server language
  settings[140] = int32_t{1};                 // localized server
  settings[139] = std::string("zqserverd");
  settings[4] = std::string("7.5.00 Patch 004");  // version text
  settings[246] = int32_t{0};                     // argument limit: none
  settings[305] = std::string("");                // programs with long time-outs
  settings[333] = int32_t{0};                     // maximum attachment size: none
  settings[1] = std::string("SQLite");            // database type
  settings[182] = int32_t{0};                     // largest query result: no limit
}

Server::Server(Options options)
    : options_(std::move(options)), crypto_(std::make_unique<Crypto>(options_.securityPolicy)) {}

Server::~Server() {
  stop();
}

Server* Server::current() {
  std::lock_guard<std::mutex> lock(g_currentMutex);
  return g_current;
}

bool Server::setUp() {
  {
    std::lock_guard<std::mutex> lock(g_currentMutex);
    if (g_current) {
      error_ = "another server is already serving in this process";
      return false;
    }
    g_current = this;
  }
  auto fail = [&](std::string why) {
    error_ = std::move(why);
    tearDown();
    return false;
  };

  {
    std::string why;
    if (!crypto_->start(why)) return fail(why);
  }
  store_ = std::make_unique<Store>();
  if (!store_->open(options_.database)) return fail("cannot open the database: " + store_->error());
  {
    std::string why;
    accounts_ = std::make_unique<Accounts>(*store_);
    if (!accounts_->open(why)) return fail("cannot read the accounts: " + why);
    administration_ = std::make_unique<Administration>(*store_, options_);
    if (!administration_->open(why)) return fail("cannot read the settings: " + why);
    store_->definitionChanged = [admin = administration_.get()](uint32_t kind, ChangeEvent e) {
      if (const int32_t object = Administration::objectKindOf(kind)) admin->noteChange(object, e);
    };
    installSqlGuards(store_->db());
    alerts_ = std::make_unique<AlertCenter>(*store_, options_.host);
    alerts_->start();
    workflow_ = std::make_unique<WorkflowEngine>(*store_, alerts_.get());
    workflow_->setCommandLimits([this](ProcessLimits& process, SqlLimits& sql) {
      const Options& o = options_;
      process = ProcessLimits{o.processDirectory, o.processTimeLimitMs, o.processOutputLimit};
      sql.allowWrite = o.allowSqlWrite;
      sql.maxRows = o.sqlRowLimit;
      sql.timeLimitMs = o.sqlTimeLimitMs;
    });
    debugger_ = std::make_unique<Debugger>(*this);
    // Every entry created on the alert form is delivered to its listeners.
    workflow_->onCreated(ZQ_ALERT_FORM, [this](const std::string&, const std::string&,
                                               const ZQFieldValueList& values) {
      alerts_->alertCreated(alertOfValues(values));
    });
  }

  {
    std::string why;
    if (!connections_.listen(options_.host, options_.port, why)) return fail(why);
  }
  port_ = connections_.port();

  // rpcbind learns where each program and version listens; the server
  // itself answers every program and version it serves.
  if (options_.useRpcbind) {
    netconfig* nconf = getnetconfigent("tcp");
    if (!nconf) return fail("no tcp network configuration");
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_port = htons(port_);
    inet_pton(AF_INET, options_.host.c_str(), &addr.sin_addr);
    netbuf where{sizeof addr, sizeof addr, &addr};
    bool ok = true;
    for (uint32_t program : options_.programs) {
      for (int v = options_.minVersion; v <= options_.maxVersion && ok; ++v) {
        rpcb_unset(program, v, nconf);
        if (!rpcb_set(program, v, nconf, &where)) {
          ok = false;
          error_ = "cannot register program " + std::to_string(program) + " version " +
                   std::to_string(v) + " with rpcbind";
        } else {
          registered_.emplace_back(program, v);
        }
      }
    }
    freenetconfigent(nconf);
    if (!ok) {
      std::string why = error_;
      return fail(why);
    }
  }
  pool_.start(options_.workers, options_.queueLimit, [this] { connections_.room(); });
  return true;
}

// Connections are read from here on (until then they wait in the listen
// queue), so that the program can prepare the store first.
bool Server::beginServing() {
  std::string why;
  if (connections_.start(
          options_.limits,
          [this](std::shared_ptr<Exchange>& exchange) { return deliver(exchange); },
          [this] { betweenRounds(); }, why))
    return true;
  error_ = why;
  tearDown();
  return false;
}

bool Server::deliver(std::shared_ptr<Exchange>& exchange) {
  WorkerPool::Job job = [this, exchange] { serve(*this, exchange); };
  if (!pool_.trySubmit(job)) return false;
  exchange.reset();
  return true;
}

// On the connections' thread, the one that closes connections (so a
// descriptor the debugger looks at is never closed or reused meanwhile).
void Server::betweenRounds() {
  if (debugger_) debugger_->checkConnections();
  // Escalations run on a worker, under the handler lock, one tick at a time.
  if (workflow_ && debugger_ && !tickQueued_.exchange(true)) {
    WorkerPool::Job tick = [this] {
      {
        HandlerLock lock(*this);
        debugger_->whenStoreFree([this] { workflow_->tick(time(nullptr)); });
      }
      tickQueued_ = false;
    };
    if (!pool_.trySubmit(tick)) tickQueued_ = false;
  }
}

void Server::tearDown() {
  // No more requests; the calls in progress end first: they still answer.
  connections_.stop();
  running_.cancelAll();
  if (debugger_) debugger_->shutdown();  // releases the calls it holds
  if (administration_) administration_->stop();
  if (alerts_) alerts_->stop();
  pool_.stop();
  reapAsideCalls(true);
  processes_.stopAll();
  for (auto [program, version] : registered_) rpcb_unset(program, version, nullptr);
  registered_.clear();
  debugger_.reset();
  workflow_.reset();
  alerts_.reset();
  administration_.reset();
  accounts_.reset();
  store_.reset();
  std::lock_guard<std::mutex> lock(g_currentMutex);
  if (g_current == this) g_current = nullptr;
}

void Server::loop() {
  while (!stopping_.load()) {
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    reapAsideCalls(false);
  }
}

void Server::runAside(std::unique_ptr<PendingCall> call) {
  auto done = std::make_shared<std::atomic<bool>>(false);
  std::shared_ptr<PendingCall> pending(std::move(call));
  std::thread thread([pending, done]() mutable {
    completeCall(*pending);
    pending.reset();  // answers: the connection is read again
    *done = true;
  });
  std::lock_guard<std::mutex> lock(asideMutex_);
  asideRunning_.push_back(AsideThread{std::move(thread), std::move(done)});
}

void Server::reapAsideCalls(bool all) {
  std::vector<AsideThread> finished;
  {
    std::lock_guard<std::mutex> lock(asideMutex_);
    for (auto it = asideRunning_.begin(); it != asideRunning_.end();) {
      if (all || it->done->load()) {
        finished.push_back(std::move(*it));
        it = asideRunning_.erase(it);
      } else {
        ++it;
      }
    }
  }
  for (AsideThread& t : finished) t.thread.join();
}

bool Server::start() {
  stopping_ = false;
  if (!setUp()) return false;
  faults_.refuseSetting = options_.refusedSetting;
  if (!beginServing()) return false;
  thread_ = std::thread([this] { loop(); });
  return true;
}

bool Server::run(const std::function<void(uint16_t)>& onReady) {
  stopping_ = false;
  if (!setUp()) return false;
  if (onReady) onReady(port_);
  if (!beginServing()) return false;
  loop();
  tearDown();
  return true;
}

void Server::stop() {
  if (!thread_.joinable()) return;
  stopping_ = true;
  thread_.join();
  tearDown();
}

void Server::requestStop() {
  stopping_ = true;
}

namespace {
thread_local bool tHoldsHandlerLock = false;
}  // namespace

HandlerLock::HandlerLock(Server& server) : lock_(server.handlerMutex_) {
  tHoldsHandlerLock = true;
}

HandlerLock::~HandlerLock() {
  if (lock_.owns_lock()) tHoldsHandlerLock = false;
}

void HandlerLock::unlock() {
  lock_.unlock();
  tHoldsHandlerLock = false;
}

void HandlerLock::lock() {
  lock_.lock();
  tHoldsHandlerLock = true;
}

bool HandlerLock::heldHere() {
  return tHoldsHandlerLock;
}

}  // namespace zqserver
