#include "store.h"

#include <sqlite3.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace zqserver {
namespace {

// A file of its own in the temporary folder, for a store that keeps nothing.
std::string temporaryFile(std::string& error) {
  const char* dir = getenv("TMPDIR");
  std::string pattern = std::string(dir && *dir ? dir : "/tmp") + "/zqserverd-XXXXXX";
  std::vector<char> name(pattern.begin(), pattern.end());
  name.push_back('\0');
  const int fd = mkstemp(name.data());
  if (fd < 0) {
    error = std::string("cannot create a temporary database: ") + strerror(errno);
    return {};
  }
  close(fd);
  return name.data();
}

}  // namespace

Store::~Store() {
  if (db_) sqlite3_close(db_);
  if (!temporary_.empty())
    for (const char* suffix : {"", "-wal", "-shm"}) unlink((temporary_ + suffix).c_str());
}

bool Store::open(const std::string& path) {
  path_ = path;
  if (path.empty() || path == ":memory:") {
    // Nothing is kept, but in a file all the same: only a file lets a long
    // statement run on a connection of its own while the others go on.
    path_ = temporary_ = temporaryFile(error_);
    if (path_.empty()) return false;
  }
  if (sqlite3_open(path_.c_str(), &db_) != SQLITE_OK) {
    error_ = db_ ? sqlite3_errmsg(db_) : "out of memory";
    return false;
  }
  return exec(std::string("PRAGMA journal_mode=WAL;") +
              (temporary_.empty() ? "" : "PRAGMA synchronous=OFF;") +
              "CREATE TABLE IF NOT EXISTS sessions(cache_id INTEGER PRIMARY KEY, user TEXT,"
              " started INTEGER);");
}

sqlite3* Store::openSide() {
  if (path_.empty()) return nullptr;
  sqlite3* side = nullptr;
  if (sqlite3_open_v2(path_.c_str(), &side, SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX, nullptr) !=
      SQLITE_OK) {
    sqlite3_close(side);
    return nullptr;
  }
  // A writer on the shared connection holds the file only briefly.
  sqlite3_busy_timeout(side, 5000);
  return side;
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
