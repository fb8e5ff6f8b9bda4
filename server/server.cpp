#include "server.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <rpc/rpc.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
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

  listenFd_ = socket(AF_INET, SOCK_STREAM, 0);
  if (listenFd_ < 0) return fail(std::string("socket: ") + strerror(errno));
  int one = 1;
  setsockopt(listenFd_, SOL_SOCKET, SO_REUSEADDR, &one, sizeof one);
  sockaddr_in addr{};
  addr.sin_family = AF_INET;
  addr.sin_port = htons(options_.port);
  if (inet_pton(AF_INET, options_.host.c_str(), &addr.sin_addr) != 1)
    return fail("bad listen address " + options_.host);
  if (bind(listenFd_, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0)
    return fail(std::string("bind: ") + strerror(errno));
  // A deep queue: a burst of connections beyond a short one waits out SYN
  // retransmissions, a second or more each.
  if (listen(listenFd_, SOMAXCONN) != 0) return fail(std::string("listen: ") + strerror(errno));
  socklen_t len = sizeof addr;
  getsockname(listenFd_, reinterpret_cast<sockaddr*>(&addr), &len);
  port_ = ntohs(addr.sin_port);

  SVCXPRT* xprt = svc_vc_create(listenFd_, 0, 0);
  if (!xprt) return fail("cannot create the RPC transport");
  transport_ = xprt;

  netconfig* nconf = nullptr;
  if (options_.useRpcbind) {
    nconf = getnetconfigent("tcp");
    if (!nconf) return fail("no tcp network configuration");
  }
  bool ok = true;
  for (uint32_t program : options_.programs) {
    for (int v = options_.minVersion; v <= options_.maxVersion && ok; ++v) {
      if (nconf) rpcb_unset(program, v, nconf);
      if (!svc_reg(xprt, program, v, dispatch, nconf)) {
        ok = false;
        error_ = "cannot register program " + std::to_string(program) + " version " +
                 std::to_string(v) + (nconf ? " with rpcbind" : "");
      } else {
        registered_.emplace_back(program, v);
      }
    }
  }
  if (nconf) freenetconfigent(nconf);
  if (!ok) {
    std::string why = error_;
    return fail(why);
  }
  return true;
}

void Server::tearDown() {
  // Calls running aside end first: they still answer on their connections.
  running_.cancelAll();
  if (debugger_) debugger_->shutdown();  // releases the calls it holds
  if (administration_) administration_->stop();
  if (alerts_) alerts_->stop();
  reapAsideCalls(true);
  processes_.stopAll();
  // svc_unreg also removes a registration with rpcbind.
  for (auto [program, version] : registered_) svc_unreg(program, version);
  registered_.clear();
  // Close every connection the RPC library still serves, then the listener.
  for (int i = 0; i < svc_max_pollfd; ++i) {
    const int fd = svc_pollfd[i].fd;
    if (fd >= 0 && fd != listenFd_) ::shutdown(fd, SHUT_RDWR);
  }
  if (transport_) {
    svc_destroy(static_cast<SVCXPRT*>(transport_));  // closes listenFd_
    transport_ = nullptr;
    listenFd_ = -1;
  } else if (listenFd_ >= 0) {
    close(listenFd_);
    listenFd_ = -1;
  }
  // Let the RPC library notice the shut-down connections and free them.
  for (int round = 0; round < 3; ++round) serveReady(0);
  debugger_.reset();
  workflow_.reset();
  alerts_.reset();
  administration_.reset();
  accounts_.reset();
  store_.reset();
  std::lock_guard<std::mutex> lock(g_currentMutex);
  if (g_current == this) g_current = nullptr;
}

// Serves the connections that are ready within timeoutMs. poll, not
// select: select's descriptor sets end at 1023, and a connection above that
// would never be served nor closed.
bool Server::serveReady(int timeoutMs) {
  std::vector<pollfd> fds(svc_pollfd, svc_pollfd + svc_max_pollfd);
  {
    // A connection whose call runs aside is read again once it answered;
    // poll skips negative descriptors.
    std::lock_guard<std::mutex> lock(asideMutex_);
    for (pollfd& p : fds)
      if (busyConnections_.count(p.fd)) p.fd = -1;
  }
  const int n = poll(fds.data(), fds.size(), timeoutMs);
  if (n < 0) return errno == EINTR;
  if (n > 0) svc_getreq_poll(fds.data(), n);
  return true;
}

void Server::loop() {
  while (!stopping_.load()) {
    if (!serveReady(50)) break;
    if (debugger_) debugger_->checkConnections();
    if (workflow_ && debugger_)
      debugger_->whenStoreFree([this] { workflow_->tick(time(nullptr)); });
    startAsideCalls();
    reapAsideCalls(false);
  }
}

void Server::runAside(std::unique_ptr<PendingCall> call) {
  std::lock_guard<std::mutex> lock(asideMutex_);
  busyConnections_.insert(call->fd());
  asideWaiting_.push_back(std::move(call));
}

// Started once the RPC library is done with the request that queued them.
void Server::startAsideCalls() {
  std::lock_guard<std::mutex> lock(asideMutex_);
  for (auto& waiting : asideWaiting_) {
    auto done = std::make_shared<std::atomic<bool>>(false);
    std::shared_ptr<PendingCall> call(std::move(waiting));
    std::thread thread([this, call, done] {
      const int fd = call->fd();
      completeCall(*call);
      {
        std::lock_guard<std::mutex> lock(asideMutex_);
        busyConnections_.erase(fd);
      }
      *done = true;
    });
    asideRunning_.push_back(AsideThread{std::move(thread), std::move(done)});
  }
  asideWaiting_.clear();
}

void Server::reapAsideCalls(bool all) {
  std::vector<AsideThread> finished;
  {
    std::lock_guard<std::mutex> lock(asideMutex_);
    if (all) {
      for (auto& waiting : asideWaiting_) busyConnections_.erase(waiting->fd());
      asideWaiting_.clear();
    }
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
  thread_ = std::thread([this] { loop(); });
  return true;
}

bool Server::run(const std::function<void(uint16_t)>& onReady) {
  stopping_ = false;
  if (!setUp()) return false;
  if (onReady) onReady(port_);
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

}  // namespace zqserver
