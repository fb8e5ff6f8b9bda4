#include "rpc_message.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>

#include <algorithm>
#include <cstring>

namespace zqserver {
namespace {

int appendToReply(void* handle, void* bytes, int length) {
  static_cast<std::string*>(handle)->append(static_cast<const char*>(bytes),
                                            static_cast<size_t>(length));
  return length;
}

int noInput(void*, void*, int) {
  return -1;
}

// Encodes a reply message through a record stream, so that fragments are
// cut where the RPC library's own transport cut them.
std::string frameReply(rpc_msg& message) {
  std::string out;
  XDR x;
  xdrrec_create(&x, kReplyBufferSize, kReplyBufferSize, &out, noInput, appendToReply);
  x.x_op = XDR_ENCODE;
  const bool ok = xdr_replymsg(&x, &message) && xdrrec_endofrecord(&x, TRUE);
  xdr_destroy(&x);
  if (!ok) out.clear();
  return out;
}

// What the RPC library's authenticator says of these credentials.
auth_stat judgeCredentials(const opaque_auth& cred) {
  switch (cred.oa_flavor) {
    case AUTH_NONE:
      return AUTH_OK;
    case AUTH_SYS: {
      authunix_parms parms{};
      XDR x;
      xdrmem_create(&x, cred.oa_base, cred.oa_length, XDR_DECODE);
      const bool ok = xdr_authunix_parms(&x, &parms);
      xdr_destroy(&x);
      xdr_free(reinterpret_cast<xdrproc_t>(xdr_authunix_parms), reinterpret_cast<char*>(&parms));
      return ok ? AUTH_OK : AUTH_BADCRED;
    }
    default:
      return AUTH_REJECTEDCRED;
  }
}

}  // namespace

bool parseCall(const std::string& record, CallHeader& out) {
  // Credentials and verifier land here (each at most MAX_AUTH_BYTES).
  char area[2 * MAX_AUTH_BYTES];
  rpc_msg message{};
  message.rm_call.cb_cred.oa_base = area;
  message.rm_call.cb_verf.oa_base = area + MAX_AUTH_BYTES;
  XDR x;
  xdrmem_create(&x, const_cast<char*>(record.data()), static_cast<u_int>(record.size()),
                XDR_DECODE);
  const bool ok = xdr_callmsg(&x, &message) && message.rm_direction == CALL &&
                  message.rm_call.cb_rpcvers == RPC_MSG_VERSION;
  out.argsOffset = ok ? xdr_getpos(&x) : 0;
  xdr_destroy(&x);
  if (!ok) return false;
  out.xid = message.rm_xid;
  out.program = static_cast<uint32_t>(message.rm_call.cb_prog);
  out.version = static_cast<uint32_t>(message.rm_call.cb_vers);
  out.procedure = static_cast<uint32_t>(message.rm_call.cb_proc);
  out.credentials = judgeCredentials(message.rm_call.cb_cred);
  return true;
}

std::string acceptedReply(uint32_t xid, accept_stat stat, xdrproc_t results, const void* where,
                          uint32_t low, uint32_t high) {
  rpc_msg message{};
  message.rm_xid = xid;
  message.rm_direction = REPLY;
  message.rm_reply.rp_stat = MSG_ACCEPTED;
  message.acpted_rply.ar_verf = opaque_auth{AUTH_NONE, nullptr, 0};
  message.acpted_rply.ar_stat = stat;
  if (stat == SUCCESS) {
    message.acpted_rply.ar_results.where = static_cast<char*>(const_cast<void*>(where));
    message.acpted_rply.ar_results.proc = results;
  } else if (stat == PROG_MISMATCH) {
    message.acpted_rply.ar_vers.low = low;
    message.acpted_rply.ar_vers.high = high;
  }
  return frameReply(message);
}

std::string deniedReply(uint32_t xid, reject_stat stat, auth_stat why, uint32_t low,
                        uint32_t high) {
  rpc_msg message{};
  message.rm_xid = xid;
  message.rm_direction = REPLY;
  message.rm_reply.rp_stat = MSG_DENIED;
  message.rjcted_rply.rj_stat = stat;
  if (stat == AUTH_ERROR) {
    message.rjcted_rply.rj_why = why;
  } else {
    message.rjcted_rply.rj_vers.low = low;
    message.rjcted_rply.rj_vers.high = high;
  }
  return frameReply(message);
}

Exchange::Exchange(int fd, uint64_t connection, std::string peer, std::string record,
                   Finish finish)
    : fd_(fd),
      connection_(connection),
      peer_(std::move(peer)),
      record_(std::move(record)),
      finish_(std::move(finish)) {}

Exchange::~Exchange() {
  // The request is no longer needed; the connection may hold the next one.
  std::string().swap(record_);
  if (finish_) finish_(connection_, std::move(reply_), drop_);
}

std::string Exchange::peerHost() const {
  char host[INET6_ADDRSTRLEN] = "";
  sockaddr_storage a{};
  memcpy(&a, peer_.data(), std::min(peer_.size(), sizeof a));
  if (a.ss_family == AF_INET && peer_.size() >= sizeof(sockaddr_in))
    inet_ntop(AF_INET, &reinterpret_cast<const sockaddr_in*>(&a)->sin_addr, host, sizeof host);
  else if (a.ss_family == AF_INET6 && peer_.size() >= sizeof(sockaddr_in6))
    inet_ntop(AF_INET6, &reinterpret_cast<const sockaddr_in6*>(&a)->sin6_addr, host, sizeof host);
  return host;
}

bool Exchange::getArgs(xdrproc_t proc, void* args) const {
  if (call_.argsOffset > record_.size()) return false;
  XDR x;
  xdrmem_create(&x, const_cast<char*>(record_.data()) + call_.argsOffset,
                static_cast<u_int>(record_.size() - call_.argsOffset), XDR_DECODE);
  const bool ok = proc(&x, args, 0);
  xdr_destroy(&x);
  return ok;
}

bool Exchange::sendReply(xdrproc_t proc, const void* results) {
  std::string bytes = acceptedReply(call_.xid, SUCCESS, proc, results);
  if (bytes.empty()) return false;
  answer(std::move(bytes));
  return true;
}

}  // namespace zqserver
