// The server's dispatcher: decodes with the procedure table's record
// routines, runs the handler of the procedure, answers. Handlers register
// by procedure type, so a handler always sees its procedure's records.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <type_traits>

#include "accounts.h"
#include "transport/procedures.h"

namespace zqserver {

class Server;
class Exchange;
namespace proc = zq::transport::proc;

// What a handler sees of one call.
struct Call {
  Server& server;
  const zq::transport::Procedure& procedure;
  int version;
  void* argsRecord;       // decoded argument record
  void* replyRecord;      // zeroed reply record; the header echo is already filled
  ZQStatusList* status;   // the reply's status list (may be null)
  Principal principal{};  // who the call runs as (access.h)
};

// A call of procedure P, its records typed.
template <class P>
struct Request : Call {
  typename P::Args& args() const { return *static_cast<typename P::Args*>(argsRecord); }
  typename P::Reply& reply() const { return *static_cast<typename P::Reply*>(replyRecord); }
};

using Handler = void (*)(Call&);

// The handlers of the procedures the server serves, by procedure number.
class Handlers {
 public:
  template <class P, void (*Handle)(Request<P>&)>
  void serve() {
    static_assert(!std::is_void_v<typename P::Args>, "the procedure's records are not described");
    table_[P::number] = &run<P, Handle>;
  }
  // Null for a procedure the server does not serve.
  Handler find(uint32_t number) const { return number < table_.size() ? table_[number] : nullptr; }

 private:
  template <class P, void (*Handle)(Request<P>&)>
  static void run(Call& call) {
    Request<P> request{call};
    Handle(request);
  }
  std::array<Handler, 183> table_{};
};

// Every handler of the server, each family registering its own.
const Handlers& handlers();
void serveSession(Handlers& h);         // handlers.cpp
void serveKeyExchange(Handlers& h);     // handlers_crypto.cpp
void serveEntries(Handlers& h);         // handlers_entries.cpp
void serveQueries(Handlers& h);         // handlers_queries.cpp
void serveAdministration(Handlers& h);  // handlers_admin.cpp
void serveServerControl(Handlers& h);   // handlers_control.cpp
void serveDefinitions(Handlers& h);     // handlers_definitions.cpp, serving the two below too
void serveViewsAndImages(Handlers& h);  // handlers_views_images.cpp
void serveSupportFiles(Handlers& h);    // handlers_support_files.cpp
void serveWorkflowDefinitions(Handlers& h);  // handlers_workflow.cpp
void serveAlerts(Handlers& h);          // handlers_alerts.cpp
void serveExportImport(Handlers& h);    // handlers_export.cpp
void serveDebugger(Handlers& h);        // handlers_debugger.cpp
void serveMenus(Handlers& h);           // handlers_menus.cpp

// Serves one request record on a worker: the RPC checks of its call header
// (credentials, program, version), then the procedure.
void serve(Server& server, std::shared_ptr<Exchange> exchange);

}  // namespace zqserver
