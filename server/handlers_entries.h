// Handlers of the entry and transaction procedures.
//
// Client-managed transactions: one may be open at a time; it is a savepoint
// of the store's connection, so every call that arrives while it is open
// runs inside it. A call that carries another handle (property 60037) is
// refused; an entry call that fails inside the transaction rolls it back.
#pragma once

#include <string>
#include <vector>

#include "dispatch.h"
#include "transport/records_entries.h"

namespace zqserver {

// The client-managed transaction handle (property 60037) the last entry or
// transaction call carried; empty when it carried none.
std::string lastTransactionHandleSeen();

// The structured entry handlers; the XML entry handlers run them on the
// requests their documents hold.
void getEntry(Request<proc::GetEntry>& call);
void setEntry(Request<proc::SetEntry>& call);
void createEntry(Request<proc::CreateEntry>& call);
void deleteEntry(Request<proc::DeleteEntry>& call);
void serviceEntry(Request<proc::ServiceEntry>& call);

// Handlers of the XML entry procedures (handlers_xml_entries.cpp).
void serveXmlEntries(Handlers& h);

// Queued XML operations of a bulk transaction run as the structured
// operations their documents hold: lowerXmlOperations rewrites them in place
// (false with the message added when a document does not read), and
// restores them, giving each XML result its output document, when it ends.
class LoweredXmlOperations {
 public:
  LoweredXmlOperations(zq::transport::BulkOperation* ops, uint32_t count);
  ~LoweredXmlOperations();
  bool lower(Call& call);
  // The results of the lowered operations back in their XML form.
  void raise(ZQBulkEntryReturnList& results);

 private:
  zq::transport::BulkOperation* ops_;
  uint32_t count_;
  std::vector<uint32_t> kinds_;  // the XML kind of each lowered operation, else 0
};

}  // namespace zqserver
