#include "platform/rpc.h"

#include <netdb.h>
#include <netinet/in.h>
#include <rpc/rpc.h>
#include <sys/socket.h>
#include <unistd.h>

#include <csignal>
#include <cstring>
#include <pthread.h>

#include "platform/rpc_stream.h"

namespace zq::platform {

__rpc_client* rpcCreate(const char* host, uint32_t program, uint32_t version,
                        const char* transport) {
  CLIENT* client = clnt_create(host, program, version, transport);
  if (!client || strcmp(transport, "tcp") != 0) return client;
  // The port mapper found the program and the RPC library connected: the
  // connection moves to our own stream client (see rpc_stream.h).
  int fd = -1;
  if (!clnt_control(client, CLGET_FD, reinterpret_cast<char*>(&fd)) || fd < 0) return client;
  clnt_control(client, CLSET_FD_NCLOSE, nullptr);
  clnt_destroy(client);
  return rpcStreamClient(fd, program, version);
}

__rpc_client* rpcCreateDirect(const char* host, uint16_t port, uint32_t program,
                              uint32_t version) {
  addrinfo hints{};
  hints.ai_family = AF_INET;
  hints.ai_socktype = SOCK_STREAM;
  addrinfo* res = nullptr;
  if (getaddrinfo(host, nullptr, &hints, &res) != 0 || !res) {
    rpc_createerr.cf_stat = RPC_UNKNOWNHOST;
    return nullptr;
  }
  sockaddr_in addr{};
  memcpy(&addr, res->ai_addr, sizeof addr);
  freeaddrinfo(res);
  addr.sin_port = htons(port);

  int fd = socket(AF_INET, SOCK_STREAM, 0);
  if (fd < 0) {
    rpc_createerr.cf_stat = RPC_SYSTEMERROR;
    rpc_createerr.cf_error.re_errno = errno;
    return nullptr;
  }
  if (connect(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0) {
    rpc_createerr.cf_stat = RPC_SYSTEMERROR;
    rpc_createerr.cf_error.re_errno = errno;
    close(fd);
    return nullptr;
  }
  // The handle owns the socket from now on.
  return rpcStreamClient(fd, program, version);
}

int rpcCreateErrorStatus() { return rpc_createerr.cf_stat; }

std::string rpcCreateErrorText() {
  const char* text = clnt_spcreateerror("");
  std::string s = text ? text : "";
  // Drop the leading ": " and the trailing newline.
  if (s.rfind(": ", 0) == 0) s.erase(0, 2);
  while (!s.empty() && (s.back() == '\n' || s.back() == ' ')) s.pop_back();
  return s;
}

void rpcDestroy(__rpc_client* client) {
  if (client) clnt_destroy(client);
}

void rpcSetTimeout(__rpc_client* client, uint32_t seconds) {
  timeval tv{static_cast<time_t>(seconds), 0};
  clnt_control(client, CLSET_TIMEOUT, reinterpret_cast<char*>(&tv));
}

int rpcSocket(__rpc_client* client) {
  int fd = -1;
  if (client && !clnt_control(client, CLGET_FD, reinterpret_cast<char*>(&fd))) fd = -1;
  return fd;
}

void rpcShutdownSocket(int fd) {
  if (fd >= 0) ::shutdown(fd, SHUT_RDWR);
}

int rpcCall(__rpc_client* client, uint32_t procedure, XdrProc encode, void* args, XdrProc decode,
            void* reply, uint32_t timeoutSeconds) {
  timeval tv{static_cast<time_t>(timeoutSeconds), 0};
  // Our stream client sends with MSG_NOSIGNAL: it raises no SIGPIPE, and
  // four system calls per call to guard against one would be wasted.
  if (isStreamClient(client))
    return clnt_call(client, procedure, reinterpret_cast<xdrproc_t>(encode),
                     reinterpret_cast<char*>(args), reinterpret_cast<xdrproc_t>(decode),
                     reinterpret_cast<char*>(reply), tv);
  // A peer that closed the connection must not kill the caller's process
  // with SIGPIPE: block it on this thread during the call and discard one
  // that the call raised.
  sigset_t pipeSet, saved, pending;
  sigemptyset(&pipeSet);
  sigaddset(&pipeSet, SIGPIPE);
  pthread_sigmask(SIG_BLOCK, &pipeSet, &saved);
  sigpending(&pending);
  const bool wasPending = sigismember(&pending, SIGPIPE);
  int status = clnt_call(client, procedure, reinterpret_cast<xdrproc_t>(encode),
                         reinterpret_cast<char*>(args), reinterpret_cast<xdrproc_t>(decode),
                         reinterpret_cast<char*>(reply), tv);
  if (!wasPending) {
    timespec zero{0, 0};
    sigpending(&pending);
    if (sigismember(&pending, SIGPIPE)) sigtimedwait(&pipeSet, nullptr, &zero);
  }
  pthread_sigmask(SIG_SETMASK, &saved, nullptr);
  return status;
}

void rpcLastError(__rpc_client* client, int* status, int* detail) {
  rpc_err err{};
  clnt_geterr(client, &err);
  *status = err.re_status;
  *detail = err.re_status == RPC_AUTHERROR ? static_cast<int>(err.re_why) : err.re_errno;
}

std::string rpcErrorText(__rpc_client* client) {
  const char* text = clnt_sperror(client, "");
  std::string s = text ? text : "";
  if (s.rfind(": ", 0) == 0) s.erase(0, 2);
  while (!s.empty() && (s.back() == '\n' || s.back() == ' ')) s.pop_back();
  return s;
}

}  // namespace zq::platform
