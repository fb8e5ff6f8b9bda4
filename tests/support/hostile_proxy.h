// A misbehaving peer for end-to-end tests: a proxy on loopback between the
// library and a real zqserverd. Every request goes to the server; its reply
// passes a test's tamper function, which may let it through, replace it
// with crafted record-marking bytes, drip it, delay it or drop it.
#pragma once

#include <arpa/inet.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdint>
#include <cstring>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace zqtest {

// A connection to a server on loopback; -1 when it cannot be made.
inline int dialLoopback(uint16_t port) {
  int fd = socket(AF_INET, SOCK_STREAM, 0);
  if (fd < 0) return -1;
  sockaddr_in a{};
  a.sin_family = AF_INET;
  a.sin_port = htons(port);
  a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  if (connect(fd, reinterpret_cast<sockaddr*>(&a), sizeof a) != 0) {
    close(fd);
    return -1;
  }
  return fd;
}

// All of bytes, or false when the peer went away.
inline bool sendAll(int fd, const std::string& bytes) {
  size_t sent = 0;
  while (sent < bytes.size()) {
    const ssize_t n = send(fd, bytes.data() + sent, bytes.size() - sent, MSG_NOSIGNAL);
    if (n <= 0) return false;
    sent += static_cast<size_t>(n);
  }
  return true;
}

// Big-endian words and record marks, written by hand.
inline std::string word(uint32_t v) {
  const char b[4] = {static_cast<char>(v >> 24), static_cast<char>(v >> 16),
                     static_cast<char>(v >> 8), static_cast<char>(v)};
  return std::string(b, 4);
}
inline uint32_t wordAt(const std::string& s, size_t at) {
  if (s.size() < at + 4) return 0;
  auto b = [&](size_t i) { return static_cast<uint32_t>(static_cast<unsigned char>(s[at + i])); };
  return (b(0) << 24) | (b(1) << 16) | (b(2) << 8) | b(3);
}
// One fragment: mark (last bit, length) and body.
inline std::string fragment(const std::string& body, bool last = true) {
  return word((last ? 0x80000000u : 0u) | static_cast<uint32_t>(body.size())) + body;
}
// An accepted, successful reply header (AUTH_NONE verifier) for xid.
inline std::string acceptedHead(uint32_t xid) {
  return word(xid) + word(1) + word(0) + word(0) + word(0) + word(0);
}
// A denied reply: authentication error with the reason why.
inline std::string authErrorReply(uint32_t xid, uint32_t why) {
  return word(xid) + word(1) + word(1) + word(1) + word(why);
}

class HostileProxy {
 public:
  // One exchange as the proxy saw it (record bodies, marks removed).
  struct Exchange {
    uint32_t xid = 0;
    uint32_t procedure = 0;  // the encrypted-call bit cleared
    std::string request;
    std::string reply;  // the server's (empty when it did not answer)
  };
  // The client side of the connection, for the tamper function.
  class Wire {
   public:
    explicit Wire(int fd, const std::atomic<bool>& stop) : fd_(fd), stop_(stop) {}
    bool send(const std::string& bytes) {
      size_t at = 0;
      while (at < bytes.size()) {
        ssize_t n = ::send(fd_, bytes.data() + at, bytes.size() - at, MSG_NOSIGNAL);
        if (n <= 0) return false;
        at += static_cast<size_t>(n);
      }
      return true;
    }
    // Waits, but returns early (false) when the proxy stops or the client
    // hung up.
    bool pause(int ms) {
      auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
      while (!stop_) {
        auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                        until - std::chrono::steady_clock::now())
                        .count();
        if (left <= 0) return true;
        pollfd p{fd_, POLLIN, 0};
        if (poll(&p, 1, static_cast<int>(std::min<long>(left, 50))) > 0) {
          char c;
          if (recv(fd_, &c, 1, MSG_PEEK | MSG_DONTWAIT) == 0) return false;
          if (p.revents & (POLLERR | POLLHUP)) return false;
        }
      }
      return false;
    }
    bool stopping() const { return stop_; }
    int fd() const { return fd_; }

   private:
    int fd_;
    const std::atomic<bool>& stop_;
  };
  // Returns true when it answered (or chose not to); false forwards the
  // server's reply unchanged.
  using Tamper = std::function<bool(Exchange&, Wire&)>;

  HostileProxy(uint16_t serverPort, Tamper tamper)
      : serverPort_(serverPort), tamper_(std::move(tamper)) {
    listen_ = socket(AF_INET, SOCK_STREAM, 0);
    int one = 1;
    setsockopt(listen_, SOL_SOCKET, SO_REUSEADDR, &one, sizeof one);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    bind(listen_, reinterpret_cast<sockaddr*>(&a), sizeof a);
    ::listen(listen_, 16);
    socklen_t len = sizeof a;
    getsockname(listen_, reinterpret_cast<sockaddr*>(&a), &len);
    port_ = ntohs(a.sin_port);
    acceptor_ = std::thread([this] { acceptLoop(); });
  }
  ~HostileProxy() {
    stop_ = true;
    acceptor_.join();
    for (auto& t : workers_) t.join();
    close(listen_);
  }
  uint16_t port() const { return port_; }
  uint64_t exchanges() const { return exchanges_; }
  uint64_t connections() const { return connections_; }

 private:
  // Reads one record; false when the peer closed or the proxy stops.
  bool readRecord(int fd, std::string& out) {
    out.clear();
    for (;;) {
      std::string mark;
      if (!readExact(fd, 4, mark)) return false;
      uint32_t m = wordAt(mark, 0);
      std::string body;
      if (!readExact(fd, m & 0x7FFFFFFFu, body)) return false;
      out += body;
      if (m & 0x80000000u) return true;
    }
  }
  bool readExact(int fd, size_t n, std::string& out) {
    out.resize(n);
    size_t at = 0;
    while (at < n) {
      if (stop_) return false;
      pollfd p{fd, POLLIN, 0};
      if (poll(&p, 1, 50) <= 0) continue;
      ssize_t r = recv(fd, out.data() + at, n - at, 0);
      if (r <= 0) return false;
      at += static_cast<size_t>(r);
    }
    return true;
  }
  void serve(int client) {
    int server = dialLoopback(serverPort_);
    Wire wire(client, stop_);
    Exchange ex;
    while (server >= 0 && readRecord(client, ex.request)) {
      ex.xid = wordAt(ex.request, 0);
      ex.procedure = wordAt(ex.request, 20) & ~0x8000u;
      Wire to(server, stop_);
      if (!to.send(fragment(ex.request)) || !readRecord(server, ex.reply)) ex.reply.clear();
      ++exchanges_;
      bool handled;
      {
        std::lock_guard<std::mutex> g(tamperLock_);
        handled = tamper_(ex, wire);
      }
      if (!handled && !wire.send(fragment(ex.reply))) break;
    }
    if (server >= 0) close(server);
    close(client);
  }
  void acceptLoop() {
    while (!stop_) {
      pollfd p{listen_, POLLIN, 0};
      if (poll(&p, 1, 50) <= 0) continue;
      int c = accept(listen_, nullptr, nullptr);
      if (c < 0) continue;
      int one = 1;
      setsockopt(c, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
      ++connections_;
      workers_.emplace_back([this, c] { serve(c); });
    }
  }

  uint16_t serverPort_;
  Tamper tamper_;
  std::mutex tamperLock_;
  int listen_ = -1;
  uint16_t port_ = 0;
  std::atomic<bool> stop_{false};
  std::atomic<uint64_t> exchanges_{0}, connections_{0};
  std::thread acceptor_;
  std::vector<std::thread> workers_;
};

}  // namespace zqtest
