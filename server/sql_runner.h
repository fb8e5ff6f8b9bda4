// SQL statements that clients send (ZQGetListSQL) run against zqserverd's
// own SQLite database under guards: one statement at a time, reading only
// unless writes are allowed, never ATTACH, DETACH, PRAGMA or transaction
// control, never the password hashes, at most a number of rows and a time
// limit, and an end when the call is cancelled.
#pragma once

#include <sqlite3.h>

#include <cstdint>
#include <string>

#include "zqapi/zq_types.h"

namespace zqserver {

struct SqlLimits {
  bool allowWrite = false;
  uint32_t maxRows = 10000;  // the rows returned; a count of matches goes on
  uint32_t timeLimitMs = 10000;
};

struct SqlOutcome {
  int32_t message = 0;  // 0: success
  std::string appended;
  bool ok() const { return message == 0; }
};

// Installs the authorizer and the progress handler on the connection; they
// act only on statements run by runSql (on the thread that runs them).
void installSqlGuards(sqlite3* db);

// Runs one statement: rows receives a value list per row (integers, reals,
// texts, bytes, nulls as the columns hold them), at most limits.maxRows;
// matches the number of rows the statement yields when countAll, else the
// rows returned. The call running on this thread may cancel it.
SqlOutcome runSql(sqlite3* db, const std::string& sql, const SqlLimits& limits, bool countAll,
                  ZQValueListList& rows, uint32_t& matches);

}  // namespace zqserver
