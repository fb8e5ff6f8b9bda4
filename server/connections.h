// The server's connections: a listener and its accepted sockets, all
// non-blocking, watched by one thread with epoll. The thread reads request
// records (record marking, at most maxRecordSize bytes, received whole
// within recordTimeoutMs), hands each whole record on as an Exchange, and
// writes the reply the exchange leaves. A connection has one request at a
// time in the server, so its replies stay in order; it is not read while
// its request waits for a worker (back-pressure) or runs.
#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <unordered_map>
#include <vector>

#include "rpc_message.h"

namespace zqserver {

struct ConnectionLimits {
  // A record announcing more than this is cut off at its record mark.
  size_t maxRecordSize = 64u << 20;
  // Time a client has to send one whole record, from its first byte.
  uint32_t recordTimeoutMs = 30000;
  // A connection without a request for this long is closed.
  uint32_t idleTimeoutMs = 600000;
  // Time a client has to take a reply, counted from its last progress.
  uint32_t writeTimeoutMs = 30000;
  // Beyond this many connections the longest idle one makes room.
  size_t maxConnections = 4096;
};

class Connections {
 public:
  // Takes a whole request (moving it out of the pointer) or returns false
  // when the workers have no room: the record waits until room().
  using Deliver = std::function<bool(std::shared_ptr<Exchange>&)>;

  Connections() = default;
  ~Connections();
  Connections(const Connections&) = delete;
  Connections& operator=(const Connections&) = delete;

  bool listen(const std::string& host, uint16_t port, std::string& error);
  uint16_t port() const { return port_; }
  // Starts the thread; tick runs on it between rounds (about every 50 ms),
  // the only thread that closes connections.
  bool start(const ConnectionLimits& limits, Deliver deliver, std::function<void()> tick,
             std::string& error);
  // Stops the thread and closes every connection and the listener.
  void stop();
  // The workers have room again: waiting records are offered.
  void room();
  size_t open() const { return open_.load(); }
  // Connections closed by a limit: record size, record time, idle time.
  struct CutOff {
    std::atomic<uint64_t> tooLarge{0}, tooSlow{0}, idle{0}, replyStalled{0}, evicted{0};
  };
  const CutOff& cutOff() const { return cutOff_; }

 private:
  using Clock = std::chrono::steady_clock;
  enum class State { reading, waiting, busy, writing, closing };
  struct Connection {
    int fd = -1;
    uint64_t id = 0;
    std::string peer;
    State state = State::reading;
    // The record being received and the fragment being read.
    std::string record;
    bool recordOpen = false;
    bool inFragment = false;
    bool lastFragment = false;
    uint32_t fragmentLeft = 0;
    unsigned char mark[4] = {};
    int markHave = 0;
    std::string pending;  // bytes that came after the current record
    std::shared_ptr<Exchange> held;  // a whole record waiting for a worker
    std::string out;
    size_t sent = 0;
    bool closeAfterWrite = false;
    Clock::time_point recordStarted, lastActivity, writeProgress;
  };
  struct Outcome {
    uint64_t connection;
    std::string reply;
    bool drop;
  };
  enum class Fed { more, whole, tooLarge };

  void loop();
  void acceptAll();
  void readFrom(Connection& c);
  void take(Connection& c, const char* data, size_t n);
  Fed feed(Connection& c, const char* data, size_t n, size_t& used);
  void offer(Connection& c);
  void offerWaiting();
  void finished(uint64_t connection, std::string reply, bool drop);
  void applyOutcomes();
  void flush(Connection& c);
  void arm(Connection& c, uint32_t events);
  void close(uint64_t id);
  void hangUp(Connection& c);
  bool evictIdle();
  void sweep(Clock::time_point now);
  void setListening(bool on);
  void wake();

  ConnectionLimits limits_;
  Deliver deliver_;
  std::function<void()> tick_;
  int listenFd_ = -1;
  int epollFd_ = -1;
  int wakeFd_ = -1;
  bool listening_ = false;
  uint16_t port_ = 0;
  uint64_t nextId_ = 2;  // 0 the listener, 1 the wake-up
  std::unordered_map<uint64_t, std::unique_ptr<Connection>> connections_;
  std::deque<uint64_t> waiting_;  // connections holding a record, oldest first
  std::mutex outcomesMutex_;
  std::vector<Outcome> outcomes_;
  std::atomic<bool> stopping_{false};
  std::atomic<size_t> open_{0};
  CutOff cutOff_;
  std::thread thread_;
};

}  // namespace zqserver
