// zqserverd: the reference server. It speaks the library's wire protocol
// (ONC RPC records on TCP), registered with rpcbind or listening on a fixed
// port, and runs either as its own program or inside a test process. One
// thread watches the connections; a pool of workers runs the calls.
#pragma once

#include <atomic>
#include <functional>
#include <cstdint>
#include <map>
#include <set>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <variant>
#include <vector>

#include "connections.h"
#include "duplicate_cache.h"
#include "envelope.h"
#include "processes.h"
#include "running_calls.h"
#include "faults.h"
#include "sessions.h"
#include "worker_pool.h"

namespace zqserver {

inline constexpr uint32_t kProgramAdmin = 390600;
inline constexpr uint32_t kProgramFast = 390620;
inline constexpr uint32_t kProgramList = 390635;

// A server setting as procedure 36 answers it: text or integer.
using Setting = std::variant<std::string, int32_t>;

struct Options {
  std::string host = "127.0.0.1";
  // 0 with useRpcbind: an ephemeral port registered with rpcbind;
  // 0 without: an ephemeral port the caller reads back with port().
  uint16_t port = 0;
  bool useRpcbind = false;
  int minVersion = 7;
  int maxVersion = 14;
  std::vector<uint32_t> programs = {kProgramAdmin, kProgramFast, kProgramList};
  std::string database = ":memory:";
  bool verbose = false;
  uint32_t refusedSetting = 0;  // see Faults::refuseSetting
  // Wire encryption policy announced to clients: 0 optional, 1 required
  // (calls in the clear other than the key exchange are refused with
  // AUTH_TOOWEAK), 2 disabled. Disabled by default, so that plain test
  // servers need no key exchange.
  int32_t securityPolicy = 2;
  // Settings answered by procedure 36 (setting number -> value), written
  // into the store at start.
  std::map<uint32_t, Setting> settings;

  // ZQGetListSQL: administrators only, reading statements only unless
  // allowSqlWrite; at most sqlRowLimit rows, sqlTimeLimitMs per statement.
  bool allowSqlWrite = false;
  uint32_t sqlRowLimit = 10000;
  uint32_t sqlTimeLimitMs = 10000;
  // ZQExecuteProcess: refused while processDirectory is empty; otherwise
  // only programs of that directory run, without a shell, at most
  // processTimeLimitMs, their output cut at processOutputLimit bytes.
  std::string processDirectory;
  uint32_t processTimeLimitMs = 10000;
  uint32_t processOutputLimit = 64 * 1024;
  // Character menu files on the server (procedure 45) are read from this
  // directory only; empty: refused.
  std::string menuDirectory;
  // The private-context user and group calls (90 to 93) need this key once
  // the store has users; empty: they are refused then.
  std::string accessKey;
  // Active-link SQL and processes are redirected to this server (message
  // 9100) when set; workflowPassword travels with them ("+" commands) and
  // is what a "+" command must carry here. Kept in memory only.
  std::string workflowServer;
  std::string workflowPassword;

  // Calls run on this many workers; at most queueLimit requests wait for
  // one (then connections are not read until there is room).
  size_t workers = 8;
  size_t queueLimit = 256;
  ConnectionLimits limits;

  Options();
};

struct Store;
class AlertCenter;
class WorkflowEngine;
class Debugger;
class Accounts;
class Administration;
struct PendingCall;

class Server {
 public:
  explicit Server(Options options = Options());
  ~Server();
  Server(const Server&) = delete;
  Server& operator=(const Server&) = delete;

  // Binds, registers and starts serving on a thread of its own. Returns
  // false with a reason in error() when it cannot.
  bool start();
  // Stops serving, unregisters and closes every connection.
  void stop();
  // Serves on the calling thread until requestStop() (the program's main
  // loop); onReady is called with the port once the server listens.
  bool run(const std::function<void(uint16_t)>& onReady = {});
  // Asks run() to return (safe from a signal handler).
  void requestStop();

  uint16_t port() const { return port_; }
  const std::string& error() const { return error_; }
  Faults& faults() { return faults_; }
  Options& options() { return options_; }
  Store& store() { return *store_; }
  Sessions& sessions() { return sessions_; }
  DuplicateCache& duplicates() { return duplicates_; }
  Crypto& crypto() { return *crypto_; }
  Accounts& accounts() { return *accounts_; }
  Administration& administration() { return *administration_; }
  RunningCalls& running() { return running_; }
  BackgroundProcesses& processes() { return processes_; }
  AlertCenter& alerts() { return *alerts_; }
  WorkflowEngine& workflow() { return *workflow_; }
  Debugger& debugger() { return *debugger_; }

  // Runs a call that may take long (SQL, processes, waits for events) on a
  // thread of its own, outside the handler lock; its connection is not read
  // until it has answered.
  void runAside(std::unique_ptr<PendingCall> call);
  const Connections& connections() const { return connections_; }

  // One server serves per process (handlers find it through current()).
  static Server* current();

 private:
  friend class HandlerLock;
  bool setUp();
  bool beginServing();
  void tearDown();
  void loop();
  void reapAsideCalls(bool all);
  bool deliver(std::shared_ptr<Exchange>& exchange);
  void betweenRounds();

  Options options_;
  Faults faults_;
  Sessions sessions_;
  DuplicateCache duplicates_;
  std::unique_ptr<Crypto> crypto_;
  std::unique_ptr<Store> store_;
  std::unique_ptr<Accounts> accounts_;
  std::unique_ptr<Administration> administration_;
  std::unique_ptr<AlertCenter> alerts_;
  std::unique_ptr<WorkflowEngine> workflow_;
  std::unique_ptr<Debugger> debugger_;
  RunningCalls running_;
  BackgroundProcesses processes_;
  // Calls running aside, with their threads.
  std::mutex asideMutex_;
  struct AsideThread {
    std::thread thread;
    std::shared_ptr<std::atomic<bool>> done;
  };
  std::vector<AsideThread> asideRunning_;
  std::mutex handlerMutex_;
  std::atomic<bool> tickQueued_{false};
  Connections connections_;
  WorkerPool pool_;
  uint16_t port_ = 0;
  std::vector<std::pair<uint32_t, uint32_t>> registered_;
  std::atomic<bool> stopping_{false};
  std::thread thread_;
  std::string error_;
};

// Handlers share state that has no lock of its own: they run one at a time
// under this lock (the calls running aside excepted). Never held for I/O:
// reading, writing and waiting happen outside it.
class HandlerLock {
 public:
  explicit HandlerLock(Server& server);
  ~HandlerLock();
  HandlerLock(const HandlerLock&) = delete;
  HandlerLock& operator=(const HandlerLock&) = delete;
  void unlock();
  void lock();
  // Whether the calling thread holds it (calls under it must not stop).
  static bool heldHere();

 private:
  std::unique_lock<std::mutex> lock_;
};

}  // namespace zqserver
