#include "duplicate_cache.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <openssl/evp.h>
#include <sys/socket.h>

#include <vector>

namespace zqserver {
namespace {

using Clock = std::chrono::steady_clock;
using XdrRoutine = bool_t (*)(XDR*, void*, u_int);

bool encodeRecord(zq::platform::XdrProc proc, void* record, std::string& out) {
  const auto routine = reinterpret_cast<xdrproc_t>(proc);
  const unsigned long size = xdr_sizeof(routine, record);
  if (size == 0 || size > 0x7FFFFFF0ul) return false;
  out.assign(size, '\0');
  XDR x;
  xdrmem_create(&x, out.data(), static_cast<u_int>(size), XDR_ENCODE);
  const bool ok = proc(&x, record, 0) && xdr_getpos(&x) == size;
  xdr_destroy(&x);
  return ok;
}

}  // namespace

bool DuplicateCache::keyOf(const zq::transport::Procedure& p, void* args, int version,
                           const SVCXPRT* xprt, Key& out) {
  const zq::transport::RequestHeader* header = p.argsHeader ? p.argsHeader(args) : nullptr;
  if (!header || header->cacheId == 0 || !xprt) return false;
  std::string bytes;
  if (!encodeRecord(p.args, args, bytes)) return false;
  unsigned char digest[EVP_MAX_MD_SIZE];
  unsigned int length = 0;
  if (!EVP_Digest(bytes.data(), bytes.size(), digest, &length, EVP_sha256(), nullptr)) return false;
  out.cacheId = header->cacheId;
  out.procedure = p.number;
  out.version = version;
  out.digest.assign(reinterpret_cast<char*>(digest), length);
  out.connection = connectionOf(xprt);
  out.client = clientOf(xprt, *header);
  return true;
}

std::string DuplicateCache::clientOf(const SVCXPRT* xprt,
                                     const zq::transport::RequestHeader& header) {
  sockaddr_storage peer{};
  socklen_t length = sizeof peer;
  char host[INET6_ADDRSTRLEN] = "";
  if (getpeername(xprt->xp_fd, reinterpret_cast<sockaddr*>(&peer), &length) == 0) {
    if (peer.ss_family == AF_INET)
      inet_ntop(AF_INET, &reinterpret_cast<const sockaddr_in*>(&peer)->sin_addr, host, sizeof host);
    else if (peer.ss_family == AF_INET6)
      inet_ntop(AF_INET6, &reinterpret_cast<const sockaddr_in6*>(&peer)->sin6_addr, host,
                sizeof host);
  }
  return std::string(header.user ? header.user : "") + "@" + host;
}

std::string DuplicateCache::connectionOf(const SVCXPRT* xprt) {
  std::string id(static_cast<const char*>(xprt->xp_rtaddr.buf),
                 xprt->xp_rtaddr.buf ? xprt->xp_rtaddr.len : 0);
  return id + std::to_string(xprt->xp_fd);
}

void DuplicateCache::acknowledge(const SVCXPRT* xprt, const zq::transport::RequestHeader* header) {
  if (!xprt || empty_.load(std::memory_order_relaxed)) return;
  const std::string connection = connectionOf(xprt);
  const int32_t cacheId = header ? header->cacheId : 0;
  const std::string client = header ? clientOf(xprt, *header) : std::string();
  std::lock_guard<std::mutex> lock(mutex_);
  std::erase_if(entries_, [&](const Entry& e) {
    return e.key.connection == connection || (cacheId != 0 && e.key.cacheId == cacheId) ||
           (header && e.key.client == client);
  });
  empty_ = entries_.empty();
}

void DuplicateCache::expire(Clock::time_point now) {
  while (!entries_.empty() && (now - entries_.front().at > kWindow || entries_.size() > kEntries))
    entries_.pop_front();
}

bool DuplicateCache::find(const Key& key, std::string& reply) {
  std::lock_guard<std::mutex> lock(mutex_);
  expire(Clock::now());
  for (auto it = entries_.rbegin(); it != entries_.rend(); ++it) {
    Key& k = it->key;
    // The same connection sending the same request again is a new request.
    if (k.cacheId == key.cacheId && k.procedure == key.procedure && k.version == key.version &&
        k.digest == key.digest && k.connection != key.connection) {
      reply = it->reply;
      ++hits_;
      // Answered on this connection now: the same bytes sent here again
      // are a new request.
      k.connection = key.connection;
      return true;
    }
  }
  return false;
}

void DuplicateCache::remember(const Key& key, std::string reply) {
  if (reply.empty() || reply.size() > kMaxReply) return;
  std::lock_guard<std::mutex> lock(mutex_);
  entries_.push_back(Entry{key, std::move(reply), Clock::now()});
  expire(Clock::now());
  empty_ = entries_.empty();
}

size_t DuplicateCache::hits() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return hits_;
}

std::string encodeReply(const zq::transport::Procedure& p, void* reply) {
  std::string out;
  if (!encodeRecord(p.reply, reply, out) || out.size() > DuplicateCache::kMaxReply) out.clear();
  return out;
}

bool sendEncodedReply(SVCXPRT* xprt, const std::string& bytes) {
  XdrRoutine put = [](XDR* x, void* data, u_int) -> bool_t {
    auto* s = static_cast<std::string*>(data);
    return xdr_opaque(x, s->data(), static_cast<u_int>(s->size()));
  };
  std::string copy = bytes;
  return svc_sendreply(xprt, reinterpret_cast<xdrproc_t>(put), reinterpret_cast<char*>(&copy));
}

}  // namespace zqserver
