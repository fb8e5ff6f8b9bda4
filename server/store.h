// The server's store: definitions and entries in SQLite.
#pragma once

#include <cstdint>
#include <ctime>
#include <functional>
#include <string>

struct sqlite3;

namespace zqserver {

enum class ChangeEvent { created, changed, deleted };

// Now, as the store records times (seconds since the epoch).
inline int32_t now() {
  return static_cast<int32_t>(time(nullptr));
}

struct Store {
  Store() = default;
  ~Store();
  Store(const Store&) = delete;
  Store& operator=(const Store&) = delete;

  // Opens a file, or for ":memory:" a temporary file removed when the store
  // closes, and creates the tables when missing.
  bool open(const std::string& path);
  // Runs SQL without results; false with error() on failure.
  bool exec(const std::string& sql);
  const std::string& error() const { return error_; }
  sqlite3* db() { return db_; }
  // A connection of its own to the same file, for a statement that may run
  // long (a client's SQL): on the shared connection it would hold every other
  // user of the store, the serving loop included, until it ends. The caller closes
  // it with sqlite3_close. Null when it cannot be opened.
  sqlite3* openSide();

  // Told of every definition the definition store wrote: its kind (the
  // store's DefinitionKind) and what happened. The server keeps its object
  // change times and cache events by it. Set before serving.
  std::function<void(uint32_t kind, ChangeEvent event)> definitionChanged;
  void noteDefinition(uint32_t kind, ChangeEvent event) {
    if (definitionChanged) definitionChanged(kind, event);
  }

 private:
  sqlite3* db_ = nullptr;
  std::string path_;
  std::string temporary_;  // removed at close
  std::string error_;
};

}  // namespace zqserver
