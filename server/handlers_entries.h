// Handlers of the entry and transaction procedures.
//
// Client-managed transactions: one may be open at a time; it is a savepoint
// of the store's connection, so every call that arrives while it is open
// runs inside it. A call that carries another handle (property 60037) is
// refused; an entry call that fails inside the transaction rolls it back.
#pragma once

#include <string>

#include "dispatch.h"

namespace zqserver {

// The client-managed transaction handle (property 60037) the last entry or
// transaction call carried; empty when it carried none.
std::string lastTransactionHandleSeen();

}  // namespace zqserver
