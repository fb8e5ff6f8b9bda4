// The server's dispatcher: decodes with the procedure table's record
// routines, runs the handler of the procedure, answers.
#pragma once

#include <cstdint>

#include "transport/procedures.h"

struct svc_req;
struct __rpc_svcxprt;

namespace zqserver {

class Server;

// What a handler sees of one call.
struct Call {
  Server& server;
  const zq::transport::Procedure& procedure;
  int version;
  void* args;   // decoded argument record
  void* reply;  // zeroed reply record; the header echo is already filled
  ZQStatusList* status;  // the reply's status list (may be null)
};

using Handler = void (*)(Call&);

// The handler of a procedure, or null when the server does not serve it.
Handler handlerFor(uint32_t procedure);

// The RPC library's entry point for every program and version.
void dispatch(svc_req* request, __rpc_svcxprt* transport);

}  // namespace zqserver
