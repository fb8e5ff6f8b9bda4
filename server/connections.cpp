#include "connections.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/epoll.h>
#include <sys/eventfd.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <algorithm>
#include <cstring>

namespace zqserver {
namespace {

constexpr uint64_t kListenerId = 0;
constexpr uint64_t kWakeId = 1;
constexpr int kRoundMs = 50;

}  // namespace

Connections::~Connections() {
  stop();
  // Closed only now: workers still finishing exchanges after stop() wake
  // the (stopped) loop through it.
  if (epollFd_ >= 0) ::close(epollFd_);
  if (wakeFd_ >= 0) ::close(wakeFd_);
}

bool Connections::listen(const std::string& host, uint16_t port, std::string& error) {
  listenFd_ = socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
  if (listenFd_ < 0) {
    error = std::string("socket: ") + strerror(errno);
    return false;
  }
  int one = 1;
  setsockopt(listenFd_, SOL_SOCKET, SO_REUSEADDR, &one, sizeof one);
  sockaddr_in addr{};
  addr.sin_family = AF_INET;
  addr.sin_port = htons(port);
  if (inet_pton(AF_INET, host.c_str(), &addr.sin_addr) != 1) {
    error = "bad listen address " + host;
    return false;
  }
  if (bind(listenFd_, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0) {
    error = std::string("bind: ") + strerror(errno);
    return false;
  }
  // A deep queue: a burst of connections beyond a short one waits out SYN
  // retransmissions, a second or more each.
  if (::listen(listenFd_, SOMAXCONN) != 0) {
    error = std::string("listen: ") + strerror(errno);
    return false;
  }
  socklen_t len = sizeof addr;
  getsockname(listenFd_, reinterpret_cast<sockaddr*>(&addr), &len);
  port_ = ntohs(addr.sin_port);
  return true;
}

bool Connections::start(const ConnectionLimits& limits, Deliver deliver,
                        std::function<void()> tick, std::string& error) {
  limits_ = limits;
  deliver_ = std::move(deliver);
  tick_ = std::move(tick);
  if (epollFd_ < 0) {
    epollFd_ = epoll_create1(EPOLL_CLOEXEC);
    wakeFd_ = eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC);
    epoll_event e{};
    e.events = EPOLLIN;
    e.data.u64 = kWakeId;
    if (epollFd_ < 0 || wakeFd_ < 0 || epoll_ctl(epollFd_, EPOLL_CTL_ADD, wakeFd_, &e) != 0) {
      error = std::string("cannot watch connections: ") + strerror(errno);
      return false;
    }
  }
  if (listenFd_ < 0) {
    error = "not listening";
    return false;
  }
  setListening(true);
  stopping_ = false;
  thread_ = std::thread([this] { loop(); });
  return true;
}

void Connections::stop() {
  if (thread_.joinable()) {
    stopping_ = true;
    wake();
    thread_.join();
  }
  while (!connections_.empty()) close(connections_.begin()->first);
  waiting_.clear();
  if (listenFd_ >= 0) {
    if (listening_) epoll_ctl(epollFd_, EPOLL_CTL_DEL, listenFd_, nullptr);
    ::close(listenFd_);
  }
  listenFd_ = -1;
  listening_ = false;
  std::lock_guard<std::mutex> lock(outcomesMutex_);
  outcomes_.clear();
}

void Connections::wake() {
  const uint64_t one = 1;
  if (wakeFd_ >= 0) (void)!write(wakeFd_, &one, sizeof one);
}

void Connections::room() {
  wake();
}

void Connections::setListening(bool on) {
  if (on == listening_ || listenFd_ < 0) return;
  epoll_event e{};
  e.events = EPOLLIN;
  e.data.u64 = kListenerId;
  if (epoll_ctl(epollFd_, on ? EPOLL_CTL_ADD : EPOLL_CTL_DEL, listenFd_, &e) == 0) listening_ = on;
}

void Connections::loop() {
  std::vector<epoll_event> events(256);
  auto lastSweep = Clock::now();
  while (!stopping_.load()) {
    const int n = epoll_wait(epollFd_, events.data(), static_cast<int>(events.size()), kRoundMs);
    if (n < 0 && errno != EINTR) break;
    for (int i = 0; i < n; ++i) {
      const uint64_t id = events[i].data.u64;
      if (id == kListenerId) {
        acceptAll();
      } else if (id == kWakeId) {
        uint64_t count;
        while (read(wakeFd_, &count, sizeof count) > 0) {
        }
      } else {
        auto it = connections_.find(id);
        if (it == connections_.end()) continue;
        Connection& c = *it->second;
        if (c.state == State::writing)
          flush(c);
        else if (c.state == State::reading)
          readFrom(c);
        else if (c.state == State::closing)
          close(c.id);
      }
    }
    applyOutcomes();
    offerWaiting();
    const auto now = Clock::now();
    if (now - lastSweep >= std::chrono::milliseconds(kRoundMs)) {
      lastSweep = now;
      sweep(now);
      if (tick_) tick_();
    }
  }
}

void Connections::acceptAll() {
  for (;;) {
    sockaddr_storage peer{};
    socklen_t length = sizeof peer;
    const int fd = accept4(listenFd_, reinterpret_cast<sockaddr*>(&peer), &length,
                           SOCK_NONBLOCK | SOCK_CLOEXEC);
    if (fd < 0) {
      if (errno == EINTR || errno == ECONNABORTED) continue;
      // Out of descriptors: an idle connection makes room, or the listener
      // rests until the next sweep.
      if ((errno == EMFILE || errno == ENFILE) && evictIdle()) continue;
      if (errno == EMFILE || errno == ENFILE) setListening(false);
      return;
    }
    if (connections_.size() >= limits_.maxConnections && !evictIdle()) {
      ::close(fd);
      cutOff_.evicted++;
      continue;
    }
    auto c = std::make_unique<Connection>();
    c->fd = fd;
    c->id = nextId_++;
    c->peer.assign(reinterpret_cast<const char*>(&peer), length);
    c->lastActivity = Clock::now();
    epoll_event e{};
    e.events = EPOLLIN | EPOLLONESHOT;
    e.data.u64 = c->id;
    if (epoll_ctl(epollFd_, EPOLL_CTL_ADD, fd, &e) != 0) {
      ::close(fd);
      continue;
    }
    connections_.emplace(c->id, std::move(c));
    open_ = connections_.size();
  }
}

void Connections::arm(Connection& c, uint32_t events) {
  epoll_event e{};
  e.events = events | EPOLLONESHOT;
  e.data.u64 = c.id;
  epoll_ctl(epollFd_, EPOLL_CTL_MOD, c.fd, &e);
}

void Connections::close(uint64_t id) {
  auto it = connections_.find(id);
  if (it == connections_.end()) return;
  Connection& c = *it->second;
  epoll_ctl(epollFd_, EPOLL_CTL_DEL, c.fd, nullptr);
  ::close(c.fd);
  connections_.erase(it);
  open_ = connections_.size();
}

// Ends a connection the server drops on purpose as a shutdown, closed once
// the peer has seen it: closing a socket with unread requests would reset
// it, and the peer could lose the reply written just before.
void Connections::hangUp(Connection& c) {
  ::shutdown(c.fd, SHUT_RDWR);
  c.state = State::closing;
  c.lastActivity = Clock::now();
  arm(c, EPOLLIN);
}

// The connection idle the longest (no request in progress) is closed.
bool Connections::evictIdle() {
  uint64_t oldest = 0;
  Clock::time_point at = Clock::time_point::max();
  for (auto& [id, c] : connections_)
    if (c->state == State::reading && !c->recordOpen && c->lastActivity < at) {
      at = c->lastActivity;
      oldest = id;
    }
  if (!oldest) return false;
  close(oldest);
  cutOff_.evicted++;
  return true;
}

void Connections::readFrom(Connection& c) {
  char buffer[64 * 1024];
  const ssize_t n = recv(c.fd, buffer, sizeof buffer, 0);
  if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR)) {
    arm(c, EPOLLIN);
    return;
  }
  if (n <= 0) {
    close(c.id);
    return;
  }
  c.lastActivity = Clock::now();
  take(c, buffer, static_cast<size_t>(n));
}

// Feeds received bytes to the record in progress; a whole record goes to
// the workers and what follows it waits for the reply.
void Connections::take(Connection& c, const char* data, size_t n) {
  size_t used = 0;
  switch (feed(c, data, n, used)) {
    case Fed::tooLarge:
      cutOff_.tooLarge++;
      close(c.id);
      return;
    case Fed::more:
      arm(c, EPOLLIN);
      return;
    case Fed::whole:
      c.pending.assign(data + used, n - used);
      offer(c);
      return;
  }
}

Connections::Fed Connections::feed(Connection& c, const char* data, size_t n, size_t& used) {
  if (used < n && !c.recordOpen) {
    c.recordOpen = true;
    c.recordStarted = Clock::now();
  }
  while (used < n) {
    if (!c.inFragment) {
      while (c.markHave < 4 && used < n) c.mark[c.markHave++] = static_cast<unsigned char>(data[used++]);
      if (c.markHave < 4) return Fed::more;
      c.markHave = 0;
      const uint32_t mark = (uint32_t{c.mark[0]} << 24) | (uint32_t{c.mark[1]} << 16) |
                            (uint32_t{c.mark[2]} << 8) | c.mark[3];
      c.fragmentLeft = mark & 0x7FFFFFFFu;
      c.lastFragment = (mark & 0x80000000u) != 0;
      if (c.fragmentLeft > limits_.maxRecordSize - c.record.size()) return Fed::tooLarge;
      c.inFragment = true;
    }
    const size_t part = std::min<size_t>(c.fragmentLeft, n - used);
    c.record.append(data + used, part);
    used += part;
    c.fragmentLeft -= static_cast<uint32_t>(part);
    if (c.fragmentLeft == 0) {
      c.inFragment = false;
      if (c.lastFragment) return Fed::whole;
    }
  }
  return Fed::more;
}

void Connections::offer(Connection& c) {
  std::string record;
  record.swap(c.record);
  c.recordOpen = false;
  c.held = std::make_shared<Exchange>(
      c.fd, c.id, c.peer, std::move(record),
      [this](uint64_t connection, std::string reply, bool drop) {
        finished(connection, std::move(reply), drop);
      });
  c.state = State::waiting;
  if (waiting_.empty() && deliver_(c.held)) {
    c.held.reset();
    c.state = State::busy;
    return;
  }
  waiting_.push_back(c.id);
}

void Connections::offerWaiting() {
  while (!waiting_.empty()) {
    auto it = connections_.find(waiting_.front());
    if (it == connections_.end() || it->second->state != State::waiting) {
      waiting_.pop_front();
      continue;
    }
    Connection& c = *it->second;
    if (!deliver_(c.held)) return;
    c.held.reset();
    c.state = State::busy;
    waiting_.pop_front();
  }
}

void Connections::finished(uint64_t connection, std::string reply, bool drop) {
  {
    std::lock_guard<std::mutex> lock(outcomesMutex_);
    outcomes_.push_back(Outcome{connection, std::move(reply), drop});
  }
  wake();
}

void Connections::applyOutcomes() {
  std::vector<Outcome> outcomes;
  {
    std::lock_guard<std::mutex> lock(outcomesMutex_);
    outcomes.swap(outcomes_);
  }
  for (Outcome& o : outcomes) {
    auto it = connections_.find(o.connection);
    if (it == connections_.end()) continue;
    Connection& c = *it->second;
    if (o.drop && o.reply.empty()) {
      hangUp(c);
      continue;
    }
    c.state = State::writing;
    c.out = std::move(o.reply);
    c.sent = 0;
    c.closeAfterWrite = o.drop;
    c.writeProgress = Clock::now();
    flush(c);
  }
}

void Connections::flush(Connection& c) {
  while (c.sent < c.out.size()) {
    const ssize_t n = send(c.fd, c.out.data() + c.sent, c.out.size() - c.sent,
                           MSG_NOSIGNAL | MSG_DONTWAIT);
    if (n > 0) {
      c.sent += static_cast<size_t>(n);
      c.writeProgress = Clock::now();
      continue;
    }
    if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR)) {
      arm(c, EPOLLOUT);
      return;
    }
    close(c.id);
    return;
  }
  if (c.closeAfterWrite) {
    hangUp(c);
    return;
  }
  std::string().swap(c.out);
  c.sent = 0;
  c.state = State::reading;
  c.lastActivity = Clock::now();
  // A request that came right behind the last one is served now.
  if (!c.pending.empty()) {
    std::string pending;
    pending.swap(c.pending);
    take(c, pending.data(), pending.size());
    return;
  }
  arm(c, EPOLLIN);
}

void Connections::sweep(Clock::time_point now) {
  using std::chrono::milliseconds;
  std::vector<uint64_t> expired;
  for (auto& [id, c] : connections_) {
    if (c->state == State::reading) {
      if (c->recordOpen && now - c->recordStarted > milliseconds(limits_.recordTimeoutMs)) {
        cutOff_.tooSlow++;
        expired.push_back(id);
      } else if (!c->recordOpen && now - c->lastActivity > milliseconds(limits_.idleTimeoutMs)) {
        cutOff_.idle++;
        expired.push_back(id);
      }
    } else if (c->state == State::writing &&
               now - c->writeProgress > milliseconds(limits_.writeTimeoutMs)) {
      cutOff_.replyStalled++;
      expired.push_back(id);
    } else if (c->state == State::closing && now - c->lastActivity > milliseconds(1000)) {
      expired.push_back(id);
    }
  }
  for (uint64_t id : expired) close(id);
  if (!listening_) setListening(true);
}

}  // namespace zqserver
