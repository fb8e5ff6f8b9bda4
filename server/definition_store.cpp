#include "definition_store.h"

#include <sqlite3.h>

#include <cstdio>
#include <cstring>

#include "frame/alloc.h"
#include "frame/context.h"
#include "store.h"

namespace zqserver {

ZQThreadContext* recordContext() {
  static ZQThreadContext* context = zq::createContext();
  return context;
}

std::recursive_mutex& recordCodecMutex() {
  static std::recursive_mutex m;
  return m;
}

namespace {

// A prepared statement for one use.
class Query {
 public:
  Query(sqlite3* db, const char* sql) {
    if (sqlite3_prepare_v2(db, sql, -1, &stmt_, nullptr) != SQLITE_OK) {
      sqlite3_finalize(stmt_);
      stmt_ = nullptr;
    }
  }
  ~Query() { sqlite3_finalize(stmt_); }
  Query(const Query&) = delete;
  Query& operator=(const Query&) = delete;

  Query& bind(int i, int64_t x) {
    sqlite3_bind_int64(stmt_, i, x);
    return *this;
  }
  Query& bind(int i, const std::string& s) {
    sqlite3_bind_text(stmt_, i, s.data(), static_cast<int>(s.size()), SQLITE_TRANSIENT);
    return *this;
  }
  Query& blob(int i, const void* data, size_t n) {
    sqlite3_bind_blob(stmt_, i, n ? data : "", static_cast<int>(n), SQLITE_TRANSIENT);
    return *this;
  }
  int step() { return stmt_ ? sqlite3_step(stmt_) : SQLITE_ERROR; }
  int64_t integer(int col) { return sqlite3_column_int64(stmt_, col); }
  std::string text(int col) {
    const auto* p = sqlite3_column_text(stmt_, col);
    return p ? std::string(reinterpret_cast<const char*>(p),
                           static_cast<size_t>(sqlite3_column_bytes(stmt_, col)))
             : std::string();
  }
  std::string bytes(int col) {
    const void* p = sqlite3_column_blob(stmt_, col);
    const int n = sqlite3_column_bytes(stmt_, col);
    return p ? std::string(static_cast<const char*>(p), static_cast<size_t>(n)) : std::string();
  }

 private:
  sqlite3_stmt* stmt_ = nullptr;
};

constexpr const char* kColumns =
    "def_id, kind, parent_id, name, object_id, owner, last_changed, created, changed, record";

Definition readRow(Query& q) {
  Definition d;
  d.rowId = q.integer(0);
  d.kind = static_cast<DefinitionKind>(q.integer(1));
  d.parentId = q.integer(2);
  d.name = q.text(3);
  d.objectId = static_cast<uint32_t>(q.integer(4));
  d.owner = q.text(5);
  d.lastChanged = q.text(6);
  d.created = q.integer(7);
  d.changed = q.integer(8);
  const std::string record = q.bytes(9);
  d.record.assign(record.begin(), record.end());
  return d;
}

std::optional<Definition> one(sqlite3* db, const std::string& sql,
                              const std::function<void(Query&)>& bind) {
  Query q(db, sql.c_str());
  bind(q);
  if (q.step() != SQLITE_ROW) return std::nullopt;
  return readRow(q);
}

bool numbered(DefinitionKind kind) {
  return kind == DefinitionKind::field || kind == DefinitionKind::view;
}

}  // namespace

DefinitionStore::DefinitionStore(Store& store) : store_(store) {
  store_.exec(
      "CREATE TABLE IF NOT EXISTS zq_definitions(def_id INTEGER PRIMARY KEY,"
      " kind INTEGER NOT NULL, parent_id INTEGER NOT NULL, name TEXT NOT NULL COLLATE NOCASE,"
      " object_id INTEGER NOT NULL, owner TEXT, last_changed TEXT, created INTEGER,"
      " changed INTEGER, record BLOB);"
      "CREATE UNIQUE INDEX IF NOT EXISTS zq_definitions_name"
      " ON zq_definitions(kind, parent_id, name);"
      "CREATE UNIQUE INDEX IF NOT EXISTS zq_definitions_id"
      " ON zq_definitions(kind, parent_id, object_id) WHERE object_id <> 0;"
      "CREATE INDEX IF NOT EXISTS zq_definitions_changed ON zq_definitions(kind, changed);"
      "CREATE TABLE IF NOT EXISTS zq_support_files(file_type INTEGER,"
      " owner TEXT COLLATE NOCASE, id INTEGER, file_id INTEGER, changed INTEGER, content BLOB,"
      " PRIMARY KEY(file_type, owner, id, file_id));");
}

std::optional<Definition> DefinitionStore::find(DefinitionKind kind, int64_t parentId,
                                                const std::string& name) {
  return one(
      store_.db(),
      std::string("SELECT ") + kColumns +
          " FROM zq_definitions WHERE kind=? AND parent_id=? AND name=?",
      [&](Query& q) { q.bind(1, static_cast<int64_t>(kind)).bind(2, parentId).bind(3, name); });
}

std::optional<Definition> DefinitionStore::findById(DefinitionKind kind, int64_t parentId,
                                                    uint32_t objectId) {
  if (objectId == 0) return std::nullopt;
  return one(
      store_.db(),
      std::string("SELECT ") + kColumns +
          " FROM zq_definitions WHERE kind=? AND parent_id=? AND object_id=?",
      [&](Query& q) { q.bind(1, static_cast<int64_t>(kind)).bind(2, parentId).bind(3, objectId); });
}

std::optional<Definition> DefinitionStore::byRow(int64_t rowId) {
  return one(store_.db(), std::string("SELECT ") + kColumns + " FROM zq_definitions WHERE def_id=?",
             [&](Query& q) { q.bind(1, rowId); });
}

std::vector<Definition> DefinitionStore::list(DefinitionKind kind, int64_t parentId,
                                              int64_t changedSince) {
  const std::string sql = std::string("SELECT ") + kColumns +
                          " FROM zq_definitions WHERE kind=? AND parent_id=? AND changed>=?" +
                          (numbered(kind) ? " ORDER BY object_id" : " ORDER BY name");
  Query q(store_.db(), sql.c_str());
  q.bind(1, static_cast<int64_t>(kind)).bind(2, parentId).bind(3, changedSince);
  std::vector<Definition> out;
  while (q.step() == SQLITE_ROW) out.push_back(readRow(q));
  return out;
}

std::vector<Definition> DefinitionStore::listAll(DefinitionKind kind) {
  const std::string sql =
      std::string("SELECT ") + kColumns + " FROM zq_definitions WHERE kind=? ORDER BY def_id";
  Query q(store_.db(), sql.c_str());
  q.bind(1, static_cast<int64_t>(kind));
  std::vector<Definition> out;
  while (q.step() == SQLITE_ROW) out.push_back(readRow(q));
  return out;
}

StoreResult DefinitionStore::insert(Definition& d) {
  if ((d.objectId && findById(d.kind, d.parentId, d.objectId)) || find(d.kind, d.parentId, d.name))
    return StoreResult{zq::kMsgDefinitionExists, d.name};
  Query q(store_.db(),
          "INSERT INTO zq_definitions(kind, parent_id, name, object_id, owner, last_changed,"
          " created, changed, record) VALUES(?,?,?,?,?,?,?,?,?)");
  q.bind(1, static_cast<int64_t>(d.kind))
      .bind(2, d.parentId)
      .bind(3, d.name)
      .bind(4, d.objectId)
      .bind(5, d.owner)
      .bind(6, d.lastChanged)
      .bind(7, d.created)
      .bind(8, d.changed)
      .blob(9, d.record.data(), d.record.size());
  if (q.step() != SQLITE_DONE) return dbFailure(store_.db());
  d.rowId = sqlite3_last_insert_rowid(store_.db());
  store_.noteDefinition(static_cast<uint32_t>(d.kind), ChangeEvent::created);
  return {};
}

StoreResult DefinitionStore::update(const Definition& d) {
  const auto sameName = find(d.kind, d.parentId, d.name);
  if (sameName && sameName->rowId != d.rowId) return StoreResult{zq::kMsgDefinitionExists, d.name};
  Query q(store_.db(),
          "UPDATE zq_definitions SET name=?, object_id=?, owner=?, last_changed=?, changed=?,"
          " record=? WHERE def_id=?");
  q.bind(1, d.name)
      .bind(2, d.objectId)
      .bind(3, d.owner)
      .bind(4, d.lastChanged)
      .bind(5, d.changed)
      .blob(6, d.record.data(), d.record.size())
      .bind(7, d.rowId);
  if (q.step() != SQLITE_DONE) return dbFailure(store_.db());
  if (!sqlite3_changes(store_.db())) return StoreResult{zq::kMsgNoSuchDefinition, d.name};
  store_.noteDefinition(static_cast<uint32_t>(d.kind), ChangeEvent::changed);
  return {};
}

StoreResult DefinitionStore::remove(int64_t rowId) {
  const std::optional<Definition> gone = byRow(rowId);
  Query children(store_.db(), "DELETE FROM zq_definitions WHERE parent_id=?");
  children.bind(1, rowId);
  if (children.step() != SQLITE_DONE) return dbFailure(store_.db());
  Query q(store_.db(), "DELETE FROM zq_definitions WHERE def_id=?");
  q.bind(1, rowId);
  if (q.step() != SQLITE_DONE) return dbFailure(store_.db());
  if (gone) store_.noteDefinition(static_cast<uint32_t>(gone->kind), ChangeEvent::deleted);
  return {};
}

uint32_t DefinitionStore::freeObjectId(DefinitionKind kind, int64_t parentId, uint32_t floor) {
  Query q(store_.db(),
          "SELECT max(object_id) FROM zq_definitions WHERE kind=? AND parent_id=? AND"
          " object_id>=?");
  q.bind(1, static_cast<int64_t>(kind)).bind(2, parentId).bind(3, floor);
  int64_t highest = 0;
  if (q.step() == SQLITE_ROW) highest = q.integer(0);
  if (highest < floor) return floor;
  return highest < UINT32_MAX ? static_cast<uint32_t>(highest + 1) : 0;
}

std::optional<DefinitionStore::SupportFile> DefinitionStore::supportFile(uint32_t fileType,
                                                                         const std::string& owner,
                                                                         uint32_t id,
                                                                         uint32_t fileId) {
  Query q(store_.db(),
          "SELECT changed, content FROM zq_support_files WHERE file_type=? AND owner=? AND id=?"
          " AND file_id=?");
  q.bind(1, fileType).bind(2, owner).bind(3, id).bind(4, fileId);
  if (q.step() != SQLITE_ROW) return std::nullopt;
  return SupportFile{q.integer(0), q.bytes(1)};
}

StoreResult DefinitionStore::putSupportFile(uint32_t fileType, const std::string& owner,
                                            uint32_t id, uint32_t fileId,
                                            const std::string& content, int64_t changed) {
  Query q(store_.db(), "INSERT OR REPLACE INTO zq_support_files VALUES(?,?,?,?,?,?)");
  q.bind(1, fileType).bind(2, owner).bind(3, id).bind(4, fileId).bind(5, changed);
  q.blob(6, content.data(), content.size());
  return q.step() == SQLITE_DONE ? StoreResult{} : dbFailure(store_.db());
}

bool DefinitionStore::removeSupportFile(uint32_t fileType, const std::string& owner, uint32_t id,
                                        uint32_t fileId) {
  Query q(store_.db(),
          "DELETE FROM zq_support_files WHERE file_type=? AND owner=? AND id=? AND file_id=?");
  q.bind(1, fileType).bind(2, owner).bind(3, id).bind(4, fileId);
  return q.step() == SQLITE_DONE && sqlite3_changes(store_.db()) > 0;
}

std::vector<uint32_t> DefinitionStore::supportFileIds(uint32_t fileType, const std::string& owner,
                                                      uint32_t id, int64_t changedSince) {
  Query q(store_.db(),
          "SELECT file_id FROM zq_support_files WHERE file_type=? AND owner=? AND id=? AND"
          " changed>=? ORDER BY file_id");
  q.bind(1, fileType).bind(2, owner).bind(3, id).bind(4, changedSince);
  std::vector<uint32_t> ids;
  while (q.step() == SQLITE_ROW) ids.push_back(static_cast<uint32_t>(q.integer(0)));
  return ids;
}

void DefinitionStore::removeSupportFilesOf(uint32_t fileType, const std::string& owner) {
  Query q(store_.db(), "DELETE FROM zq_support_files WHERE file_type=? AND owner=?");
  q.bind(1, fileType).bind(2, owner);
  q.step();
}

void DefinitionStore::renameSupportFilesOf(uint32_t fileType, const std::string& from,
                                           const std::string& to) {
  Query q(store_.db(), "UPDATE zq_support_files SET owner=? WHERE file_type=? AND owner=?");
  q.bind(1, to).bind(2, fileType).bind(3, from);
  q.step();
}

bool stampCommon(zq::transport::CommonProps& props, const std::string& user, int64_t now,
                 const char* newOwner, const char* diaryText) {
  props.timestamp = static_cast<ZQTimestamp>(now);
  zq::copyName(props.lastChanged, user.c_str(), sizeof props.lastChanged);
  if (newOwner && *newOwner)
    zq::copyName(props.owner, newOwner, sizeof props.owner);
  else if (props.owner[0] == '\0')
    zq::copyName(props.owner, user.c_str(), sizeof props.owner);
  if (!diaryText || !*diaryText) return true;
  char stamp[16];
  snprintf(stamp, sizeof stamp, "%u", static_cast<uint32_t>(now));
  const std::string diary = std::string(props.changeDiary ? props.changeDiary : "") + stamp +
                            '\x04' + user + '\x04' + diaryText + '\x03';
  char* appended = zq::dupString(diary.c_str());
  if (!appended) return false;
  ZQFree(props.changeDiary);
  props.changeDiary = appended;
  return true;
}

void stampColumns(Definition& d, const zq::transport::CommonProps& props) {
  d.owner.assign(props.owner, strnlen(props.owner, sizeof props.owner));
  d.lastChanged.assign(props.lastChanged, strnlen(props.lastChanged, sizeof props.lastChanged));
  d.changed = props.timestamp;
  if (d.created == 0) d.created = props.timestamp;
}

}  // namespace zqserver
