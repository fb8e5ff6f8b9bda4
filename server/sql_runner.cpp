#include "sql_runner.h"

#include <cctype>
#include <chrono>
#include <cstring>
#include <strings.h>

#include "frame/alloc.h"
#include "frame/message_numbers.h"
#include "running_calls.h"
#include "zqapi/zq_free.h"

namespace zqserver {
namespace {

using Clock = std::chrono::steady_clock;

// The statement runSql is running on this thread; the guards of the
// connection leave every other statement alone.
struct SqlJob {
  bool allowWrite = false;
  Clock::time_point deadline;
  bool timedOut = false;
  bool cancelled = false;
  bool refused = false;
  std::string refusal;
};
thread_local SqlJob* t_job = nullptr;

constexpr int kProgressSteps = 1000;

// The server's own tables. (SQLite's schema tables are written by every
// CREATE and DROP and refuse direct writes by themselves.)
bool internalTable(const char* table) {
  return table && (strncasecmp(table, "zq_", 3) == 0 || strcasecmp(table, "sessions") == 0);
}

int authorize(void*, int action, const char* a, const char* b, const char*, const char*) {
  SqlJob* job = t_job;
  if (!job) return SQLITE_OK;
  auto deny = [&](const char* what) {
    job->refused = true;
    job->refusal = what;
    return SQLITE_DENY;
  };
  switch (action) {
    case SQLITE_SELECT:
    case SQLITE_RECURSIVE:
      return SQLITE_OK;
    case SQLITE_READ:
      // Password hashes stay inside the server, even for administrators.
      if (a && b && strcasecmp(a, "zq_users") == 0 && strcasecmp(b, "password_hash") == 0)
        return SQLITE_IGNORE;
      return SQLITE_OK;
    case SQLITE_FUNCTION:
      return b && strcasecmp(b, "load_extension") == 0 ? deny("load_extension") : SQLITE_OK;
    case SQLITE_INSERT:
    case SQLITE_UPDATE:
    case SQLITE_DELETE:
      if (!job->allowWrite) return deny("writing");
      return internalTable(a) ? deny("the server's own tables") : SQLITE_OK;
    case SQLITE_CREATE_TABLE:
    case SQLITE_CREATE_INDEX:
    case SQLITE_CREATE_VIEW:
    case SQLITE_CREATE_TRIGGER:
    case SQLITE_DROP_TABLE:
    case SQLITE_DROP_INDEX:
    case SQLITE_DROP_VIEW:
    case SQLITE_DROP_TRIGGER:
    case SQLITE_ALTER_TABLE:
      if (!job->allowWrite) return deny("changing the schema");
      // For CREATE/DROP INDEX and TRIGGER the table is the second argument.
      return internalTable(a) || internalTable(b) ? deny("the server's own tables") : SQLITE_OK;
    case SQLITE_ATTACH:
    case SQLITE_DETACH:
      return deny("ATTACH and DETACH");
    case SQLITE_PRAGMA:
      return deny("PRAGMA");
    case SQLITE_TRANSACTION:
    case SQLITE_SAVEPOINT:
      return deny("transaction control");
    default:
      return deny("this kind of statement");
  }
}

int progress(void*) {
  SqlJob* job = t_job;
  if (!job) return 0;
  if (CallControl* call = currentCall(); call && call->cancelled) {
    job->cancelled = true;
    return 1;
  }
  if (Clock::now() >= job->deadline) {
    job->timedOut = true;
    return 1;
  }
  return 0;
}

bool onlyBlanks(const char* text) {
  for (; text && *text; ++text)
    if (!isspace(static_cast<unsigned char>(*text)) && *text != ';') return false;
  return true;
}

// One column of the current row as a value of its SQLite type.
bool columnValue(sqlite3_stmt* stmt, int col, ZQValueStruct& out) {
  out = ZQValueStruct{};
  switch (sqlite3_column_type(stmt, col)) {
    case SQLITE_INTEGER: {
      const int64_t x = sqlite3_column_int64(stmt, col);
      if (x >= INT32_MIN && x <= INT32_MAX) {
        out.dataType = ZQ_DATA_TYPE_INTEGER;
        out.u.integerValue = static_cast<int32_t>(x);
        return true;
      }
      // Wider than a value's integer: its exact digits as a decimal.
      out.dataType = ZQ_DATA_TYPE_DECIMAL;
      out.u.decimalValue = zq::dupString(std::to_string(x).c_str());
      return out.u.decimalValue != nullptr;
    }
    case SQLITE_FLOAT:
      out.dataType = ZQ_DATA_TYPE_REAL;
      out.u.realValue = sqlite3_column_double(stmt, col);
      return true;
    case SQLITE_TEXT: {
      const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(stmt, col));
      const int n = sqlite3_column_bytes(stmt, col);
      char* copy = static_cast<char*>(ZQAlloc(static_cast<size_t>(n) + 1));
      if (!copy) return false;
      memcpy(copy, text ? text : "", static_cast<size_t>(n));
      copy[n] = '\0';
      out.dataType = ZQ_DATA_TYPE_CHAR;
      out.u.charValue = copy;
      return true;
    }
    case SQLITE_BLOB: {
      const int n = sqlite3_column_bytes(stmt, col);
      auto* bytes = static_cast<ZQByteList*>(ZQCalloc(1, sizeof(ZQByteList)));
      if (!bytes) return false;
      if (n > 0) {
        bytes->bytes = static_cast<unsigned char*>(ZQAlloc(static_cast<size_t>(n)));
        if (!bytes->bytes) {
          ZQFree(bytes);
          return false;
        }
        memcpy(bytes->bytes, sqlite3_column_blob(stmt, col), static_cast<size_t>(n));
        bytes->count = static_cast<uint32_t>(n);
      }
      out.dataType = ZQ_DATA_TYPE_BYTES;
      out.u.byteListValue = bytes;
      return true;
    }
    default:
      return true;  // NULL
  }
}

bool appendRow(sqlite3_stmt* stmt, ZQValueListList& rows, uint32_t& capacity) {
  if (rows.count == capacity) {
    const uint32_t grown = capacity ? capacity * 2 : 16;
    auto* items = static_cast<ZQValueList*>(ZQRealloc(rows.items, grown * sizeof(ZQValueList)));
    if (!items) return false;
    rows.items = items;
    capacity = grown;
  }
  ZQValueList& row = rows.items[rows.count];
  row = ZQValueList{0, nullptr};
  const int columns = sqlite3_column_count(stmt);
  ++rows.count;
  if (columns <= 0) return true;
  row.items =
      static_cast<ZQValueStruct*>(ZQCalloc(static_cast<size_t>(columns), sizeof(ZQValueStruct)));
  if (!row.items) return false;
  for (int c = 0; c < columns; ++c) {
    if (!columnValue(stmt, c, row.items[c])) return false;
    row.count = static_cast<uint32_t>(c + 1);
  }
  return true;
}

// Clears t_job on every way out.
struct JobScope {
  explicit JobScope(SqlJob* job) { t_job = job; }
  ~JobScope() { t_job = nullptr; }
};

}  // namespace

void installSqlGuards(sqlite3* db) {
  sqlite3_set_authorizer(db, authorize, nullptr);
  sqlite3_progress_handler(db, kProgressSteps, progress, nullptr);
}

SqlOutcome runSql(sqlite3* db, const std::string& sql, const SqlLimits& limits, bool countAll,
                  ZQValueListList& rows, uint32_t& matches) {
  rows = ZQValueListList{0, nullptr};
  matches = 0;
  SqlJob job;
  job.allowWrite = limits.allowWrite;
  job.deadline = Clock::now() + std::chrono::milliseconds(limits.timeLimitMs);
  JobScope scope(&job);

  sqlite3_stmt* stmt = nullptr;
  const char* tail = nullptr;
  const int prepared =
      sqlite3_prepare_v2(db, sql.c_str(), static_cast<int>(sql.size()), &stmt, &tail);
  auto finish = [&](SqlOutcome outcome) {
    sqlite3_finalize(stmt);
    if (!outcome.ok()) FreeZQValueListList(&rows, 0);
    return outcome;
  };
  if (prepared != SQLITE_OK) {
    if (job.refused) return finish({zq::kMsgSqlRefused, job.refusal});
    return finish({zq::kMsgSqlFailed, sqlite3_errmsg(db)});
  }
  if (!stmt) return finish({zq::kMsgSqlCommandMissing, {}});
  if (!onlyBlanks(tail)) return finish({zq::kMsgSqlRefused, "one statement at a time"});
  if (!limits.allowWrite && !sqlite3_stmt_readonly(stmt))
    return finish({zq::kMsgSqlRefused, "writing"});

  uint32_t capacity = 0;
  for (;;) {
    const int rc = sqlite3_step(stmt);
    if (rc == SQLITE_DONE) break;
    if (rc != SQLITE_ROW) {
      if (job.cancelled) return finish({zq::kMsgCancelled, {}});
      if (job.timedOut)
        return finish({zq::kMsgSqlLimitReached, std::to_string(limits.timeLimitMs) + " ms"});
      return finish({zq::kMsgSqlFailed, sqlite3_errmsg(db)});
    }
    ++matches;
    if (matches <= limits.maxRows) {
      if (!appendRow(stmt, rows, capacity)) return finish({zq::kMsgNoMemory, {}});
    } else if (!countAll) {
      break;
    }
  }
  if (!countAll) matches = rows.count;
  if (rows.count == 0) {
    ZQFree(rows.items);
    rows.items = nullptr;
  }
  return finish({});
}

}  // namespace zqserver
