#include "store.h"

#include <sqlite3.h>

namespace zqserver {

Store::~Store() {
  if (db_) sqlite3_close(db_);
}

bool Store::open(const std::string& path) {
  if (sqlite3_open(path.c_str(), &db_) != SQLITE_OK) {
    error_ = db_ ? sqlite3_errmsg(db_) : "out of memory";
    return false;
  }
  return exec(
      "PRAGMA journal_mode=WAL;"
      "CREATE TABLE IF NOT EXISTS sessions(cache_id INTEGER PRIMARY KEY, user TEXT,"
      " started INTEGER);");
}

bool Store::exec(const std::string& sql) {
  char* message = nullptr;
  if (sqlite3_exec(db_, sql.c_str(), nullptr, nullptr, &message) != SQLITE_OK) {
    error_ = message ? message : "unknown error";
    sqlite3_free(message);
    return false;
  }
  return true;
}

}  // namespace zqserver
