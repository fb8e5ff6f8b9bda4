#include "duplicate_cache.h"

#include <openssl/evp.h>
#include <rpc/rpc.h>

#include <vector>

#include "rpc_message.h"

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
                           const Exchange* exchange, Key& out) {
  const zq::transport::RequestHeader* header = p.argsHeader ? p.argsHeader(args) : nullptr;
  if (!header || header->cacheId == 0 || !exchange) return false;
  std::string bytes;
  if (!encodeRecord(p.args, args, bytes)) return false;
  unsigned char digest[EVP_MAX_MD_SIZE];
  unsigned int length = 0;
  if (!EVP_Digest(bytes.data(), bytes.size(), digest, &length, EVP_sha256(), nullptr)) return false;
  out.cacheId = header->cacheId;
  out.procedure = p.number;
  out.version = version;
  out.digest.assign(reinterpret_cast<char*>(digest), length);
  out.connection = connectionOf(exchange);
  out.client = clientOf(exchange, *header);
  return true;
}

std::string DuplicateCache::clientOf(const Exchange* exchange,
                                     const zq::transport::RequestHeader& header) {
  const std::string host = exchange->peerHost();
  return std::string(header.user ? header.user : "") + "@" + host;
}

std::string DuplicateCache::connectionOf(const Exchange* exchange) {
  // The connection's own number: a descriptor and even a peer port may be
  // reused by a later connection.
  return exchange->peer() + std::to_string(exchange->connection());
}

void DuplicateCache::acknowledge(const Exchange* exchange, const zq::transport::RequestHeader* header) {
  if (!exchange || empty_.load(std::memory_order_relaxed)) return;
  const std::string connection = connectionOf(exchange);
  const int32_t cacheId = header ? header->cacheId : 0;
  const std::string client = header ? clientOf(exchange, *header) : std::string();
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

bool sendEncodedReply(Exchange& exchange, const std::string& bytes) {
  XdrRoutine put = [](XDR* x, void* data, u_int) -> bool_t {
    auto* s = static_cast<std::string*>(data);
    return xdr_opaque(x, s->data(), static_cast<u_int>(s->size()));
  };
  std::string copy = bytes;
  return exchange.sendReply(reinterpret_cast<xdrproc_t>(put), &copy);
}

}  // namespace zqserver
