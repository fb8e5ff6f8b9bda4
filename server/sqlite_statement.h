// One SQL statement on zqserverd's database, prepared on construction and
// finalized on scope exit, for the stores that run few statements.
#pragma once

#include <sqlite3.h>

#include <cstdint>
#include <string>

namespace zqserver {

class SqlStatement {
 public:
  SqlStatement(sqlite3* db, const char* sql) {
    if (sqlite3_prepare_v2(db, sql, -1, &stmt_, nullptr) != SQLITE_OK) {
      sqlite3_finalize(stmt_);
      stmt_ = nullptr;
    }
  }
  ~SqlStatement() { sqlite3_finalize(stmt_); }
  SqlStatement(const SqlStatement&) = delete;
  SqlStatement& operator=(const SqlStatement&) = delete;

  explicit operator bool() const { return stmt_ != nullptr; }
  SqlStatement& bind(int i, int64_t x) {
    if (stmt_) sqlite3_bind_int64(stmt_, i, x);
    return *this;
  }
  SqlStatement& bind(int i, const std::string& s) {
    if (stmt_) sqlite3_bind_text(stmt_, i, s.data(), static_cast<int>(s.size()), SQLITE_TRANSIENT);
    return *this;
  }
  // SQLITE_ROW, SQLITE_DONE or an error code.
  int step() { return stmt_ ? sqlite3_step(stmt_) : SQLITE_ERROR; }
  // Runs a statement without rows; true on success.
  bool run() { return step() == SQLITE_DONE; }
  int64_t integer(int col) const { return sqlite3_column_int64(stmt_, col); }
  std::string text(int col) const {
    const auto* p = sqlite3_column_text(stmt_, col);
    return p ? std::string(reinterpret_cast<const char*>(p),
                           static_cast<size_t>(sqlite3_column_bytes(stmt_, col)))
             : std::string();
  }

 private:
  sqlite3_stmt* stmt_ = nullptr;
};

}  // namespace zqserver
