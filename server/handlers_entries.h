// Handlers of the entry and transaction procedures (1, 2, 3, 4, 37, 134,
// 136, 172, 173).
//
// Client-managed transactions: one may be open at a time; it is a savepoint
// of the store's connection, so every call that arrives while it is open
// runs inside it. A call that carries another handle (property 60037) is
// refused; an entry call that fails inside the transaction rolls it back.
#pragma once

#include <string>

#include "dispatch.h"

namespace zqserver {

void getEntry(Call& call);
void setEntry(Call& call);
void createEntry(Call& call);
void deleteEntry(Call& call);
void mergeEntry(Call& call);
void bulkEntryTransaction(Call& call);
void serviceEntry(Call& call);
void beginClientManagedTransaction(Call& call);
void endClientManagedTransaction(Call& call);

// The client-managed transaction handle (property 60037) the last entry or
// transaction call carried; empty when it carried none.
std::string lastTransactionHandleSeen();

}  // namespace zqserver
