// The server's store: definitions and entries in SQLite.
#pragma once

#include <string>

struct sqlite3;

namespace zqserver {

struct Store {
  Store() = default;
  ~Store();
  Store(const Store&) = delete;
  Store& operator=(const Store&) = delete;

  // Opens (":memory:" or a file) and creates the tables when missing.
  bool open(const std::string& path);
  // Runs SQL without results; false with error() on failure.
  bool exec(const std::string& sql);
  const std::string& error() const { return error_; }
  sqlite3* db() { return db_; }

 private:
  sqlite3* db_ = nullptr;
  std::string error_;
};

}  // namespace zqserver
