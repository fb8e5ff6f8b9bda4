// The server's definitions of every kind, kept in the SQLite database of
// Store, whatever the kind: forms, fields, views, images and the workflow
// kinds (menus, filters, active links, escalations, containers).
//
// SCHEMA (created on first use, idempotent)
//   zq_definitions(def_id INTEGER PRIMARY KEY, kind INTEGER NOT NULL,
//                  parent_id INTEGER NOT NULL,   the form of a field or view, else 0
//                  name TEXT NOT NULL COLLATE NOCASE,
//                  object_id INTEGER NOT NULL,   the id of a field or view, else 0
//                  owner TEXT, last_changed TEXT,
//                  created INTEGER, changed INTEGER,   seconds since 1970
//                  record BLOB)
//     unique (kind, parent_id, name); unique (kind, parent_id, object_id)
//     for object_id <> 0; indexed by (kind, changed).
//   `record` is the kind's parts XDR-encoded at the newest protocol version
//   (SchemaParts, FieldParts, ViewParts, ImageParts of
//   transport/records_definitions.h, and the workflow kinds' own), so that
//   the server answers any protocol version from it through the codec; the
//   columns repeat what lookups, lists and changed-since need.
//   zq_support_files(file_type INTEGER, owner TEXT COLLATE NOCASE, id INTEGER,
//                    file_id INTEGER, changed INTEGER, content BLOB,
//                    PRIMARY KEY(file_type, owner, id, file_id))
//
// The common properties (owner, last changer, timestamp, change diary) are
// the server's to keep: stamp() writes them on every create and set.
#pragma once

#include <cstdint>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "entry_store.h"
#include "model/codec.h"
#include "transport/describe_definitions.h"
#include "transport/records_definitions.h"

namespace zqserver {

struct Store;

enum class DefinitionKind : uint32_t {
  form = 1,
  field = 2,
  view = 3,
  image = 4,
  menu = 5,
  filter = 6,
  activeLink = 7,
  escalation = 8,
  container = 9,
};

// One stored definition.
struct Definition {
  int64_t rowId = 0;
  DefinitionKind kind = DefinitionKind::form;
  int64_t parentId = 0;
  std::string name;
  uint32_t objectId = 0;
  std::string owner;
  std::string lastChanged;
  int64_t created = 0;
  int64_t changed = 0;
  std::vector<char> record;
};

// The version the records are kept in.
inline constexpr int kDefinitionRecordVersion = 14;

// The context records are written and read with, whoever calls (a handler,
// a worker, the escalation tick, the start-up loading of --form and
// --definitions, a test): texts are kept as they are, at the records' own
// version. Its codec state is one, so a record is coded under the mutex.
ZQThreadContext* recordContext();
std::recursive_mutex& recordCodecMutex();

// A kind's parts in and out of a record. decode zeroes the parts first;
// the caller releases them (zq::model::release) whatever it returned.
template <class Parts>
bool encodeRecord(Parts& parts, std::vector<char>& out) {
  std::lock_guard<std::recursive_mutex> hold(recordCodecMutex());
  zq::model::CodecScope scope(kDefinitionRecordVersion, recordContext());
  std::vector<char> bytes;
  if (!zq::model::encodeToBuffer(parts, kDefinitionRecordVersion, bytes)) return false;
  out.swap(bytes);
  return true;
}
template <class Parts>
bool decodeRecord(const std::vector<char>& record, Parts& parts) {
  std::lock_guard<std::recursive_mutex> hold(recordCodecMutex());
  zq::model::CodecScope scope(kDefinitionRecordVersion, recordContext());
  return zq::model::decodeFromBuffer(record.data(), record.size(), parts, kDefinitionRecordVersion);
}

class DefinitionStore {
 public:
  // Creates the tables when missing.
  explicit DefinitionStore(Store& store);

  std::optional<Definition> find(DefinitionKind kind, int64_t parentId, const std::string& name);
  std::optional<Definition> findById(DefinitionKind kind, int64_t parentId, uint32_t objectId);
  std::optional<Definition> byRow(int64_t rowId);
  // The definitions of a kind (below a parent), changed at or after
  // changedSince when it is not 0: named kinds by name, numbered kinds by id.
  std::vector<Definition> list(DefinitionKind kind, int64_t parentId, int64_t changedSince = 0);
  // Every definition of a kind, whatever its parent.
  std::vector<Definition> listAll(DefinitionKind kind);

  // A name or an id taken gives DefinitionExists; insert fills rowId.
  StoreResult insert(Definition& d);
  // By row id, name and id included (a rename).
  StoreResult update(const Definition& d);
  // The definition and every definition below it.
  StoreResult remove(int64_t rowId);
  // A free id of a numbered kind below a parent, from floor on.
  uint32_t freeObjectId(DefinitionKind kind, int64_t parentId, uint32_t floor);

  // ---- support files (content by key) ----
  struct SupportFile {
    int64_t changed = 0;
    std::string content;
  };
  std::optional<SupportFile> supportFile(uint32_t fileType, const std::string& owner, uint32_t id,
                                         uint32_t fileId);
  StoreResult putSupportFile(uint32_t fileType, const std::string& owner, uint32_t id,
                             uint32_t fileId, const std::string& content, int64_t changed);
  // False when there was none.
  bool removeSupportFile(uint32_t fileType, const std::string& owner, uint32_t id, uint32_t fileId);
  std::vector<uint32_t> supportFileIds(uint32_t fileType, const std::string& owner, uint32_t id,
                                       int64_t changedSince);
  // The files of an owner that goes away, or that is renamed.
  void removeSupportFilesOf(uint32_t fileType, const std::string& owner);
  void renameSupportFilesOf(uint32_t fileType, const std::string& from, const std::string& to);

  Store& store() { return store_; }

 private:
  Store& store_;
};

// The common properties as the server keeps them, on props that hold what
// is stored (nothing for a create): the timestamp and the last changer on
// every write, a new owner when one is given (else the user, when there is
// none yet), a diary entry appended when text is given. False when memory
// runs out.
bool stampCommon(zq::transport::CommonProps& props, const std::string& user, int64_t now,
                 const char* newOwner, const char* diaryText);

// The same into a Definition's columns.
void stampColumns(Definition& d, const zq::transport::CommonProps& props);

}  // namespace zqserver
