// ONC RPC client operations (libtirpc behind a small interface of our own).
#pragma once

#include <cstdint>
#include <string>

struct __rpc_client;
struct __rpc_xdr;

namespace zq::platform {

// Same signature as the RPC library's xdrproc_t.
using XdrProc = int (*)(__rpc_xdr*, void*, unsigned);

// RPC statuses the call driver tells apart.
enum RpcStatus : int {
  kRpcSuccess = 0,
  kRpcCantSend = 3,
  kRpcCantReceive = 4,
  kRpcTimedOut = 5,
  kRpcAuthError = 7,
  kRpcProgUnavailable = 8,
  kRpcProgVersMismatch = 9,
  kRpcProgNotRegistered = 15,
};

// Details of an authentication error.
enum RpcAuthDetail : int { kAuthBadCred = 1, kAuthRejectedCred = 2, kAuthTooWeak = 5 };

// Creates a client through the port mapper of host over "tcp" or "udp".
__rpc_client* rpcCreate(const char* host, uint32_t program, uint32_t version,
                        const char* transport);
// Creates a TCP client straight to host:port, without the port mapper.
__rpc_client* rpcCreateDirect(const char* host, uint16_t port, uint32_t program,
                              uint32_t version);
// Status and text of the last failed creation on this thread.
int rpcCreateErrorStatus();
std::string rpcCreateErrorText();

void rpcDestroy(__rpc_client* client);
void rpcSetTimeout(__rpc_client* client, uint32_t seconds);
// The client's socket (read once when the client is made: the RPC library
// serialises control requests with a call in progress).
int rpcSocket(__rpc_client* client);
// Shuts a client socket down so that a call in progress fails at once.
void rpcShutdownSocket(int fd);

int rpcCall(__rpc_client* client, uint32_t procedure, XdrProc encode, void* args, XdrProc decode,
            void* reply, uint32_t timeoutSeconds);
// Status and detail (auth reason, errno or versions) of the client's last call.
void rpcLastError(__rpc_client* client, int* status, int* detail);
// The client's error text for its last call.
std::string rpcErrorText(__rpc_client* client);

}  // namespace zq::platform
