// The server's forms and entries, kept in the SQLite database of Store.
//
// Forms and fields are definitions (definition_store.h, form_definitions.h);
// this store keeps the entries of regular forms, reads the entries of join
// forms from their members and those of view forms from their tables.
//
// SCHEMA (created on first use, idempotent; every table lives in Store::db())
//   zq_entry_counters(form_id INTEGER PRIMARY KEY, next_entry INTEGER NOT NULL)
//     form_id is the form's definition row; next number to hand out
//   zq_entries(form_id INTEGER, entry INTEGER, PRIMARY KEY(form_id, entry))
//   zq_values(form_id INTEGER, entry INTEGER, field_id INTEGER, data_type INTEGER,
//             value, raw BLOB, PRIMARY KEY(form_id, entry, field_id))
//     `value` holds the comparable scalar of the value with SQLite's own
//     typing: INTEGER for keyword, integer, enumerated, time, bitmask,
//     unsigned, date and time-of-day values; REAL for reals; TEXT for
//     character, diary, decimal, view and display values and for the amount
//     text of currencies; NULL for the null value and for byte lists,
//     coordinates and attachments. `raw` holds the whole value XDR-encoded
//     (newest protocol version) for the types a scalar cannot hold
//     (attachments with their compressed content, currencies, byte lists,
//     coordinates); NULL otherwise. Entry ids are stored as numbers in
//     `entry` and in field 1's value as the 15-character id text.
//
// A join form's entries are the pairs of member entries (A, B) that its join
// qualification accepts (with an outer join, an entry of A without a
// partner too); its entry id is "A|B" ("A|" without a partner), its fields
// read the member fields they map to. A view form's entries are the rows of
// its table, their ids the row ids, its fields the columns they map to.
// Dialog and vendor forms hold no entries.
//
// Entry ids are 15-character zero-padded numbers ("000000000000001"). Every
// form has the core fields below; the store writes 1, 3 and 6 itself (and 2
// and 5 from the user of the request when given).
//
// Threads: the reference server dispatches one call at a time. An
// EntryStore is a view over Store that keeps prepared statements and form
// definitions for its own lifetime: create one per handler call (or per
// batch of work), and destroy it before the Store.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "frame/message_numbers.h"
#include "zqapi/zq_defs.h"
#include "zqapi/zq_types.h"

struct sqlite3;

namespace zqserver {

struct Store;

// Core field ids every form has.
inline constexpr ZQInternalId kFieldEntryId = 1;
inline constexpr ZQInternalId kFieldSubmitter = 2;
inline constexpr ZQInternalId kFieldCreateDate = 3;
inline constexpr ZQInternalId kFieldAssignedTo = 4;
inline constexpr ZQInternalId kFieldLastModifiedBy = 5;
inline constexpr ZQInternalId kFieldModifiedDate = 6;
inline constexpr ZQInternalId kFieldStatus = 7;
inline constexpr ZQInternalId kFieldShortDescription = 8;
inline constexpr ZQInternalId kFieldStatusHistory = 15;

inline constexpr size_t kEntryIdLength = 15;

// Outcome of a store operation: message 0 is success; otherwise the error
// message number the server reports, with its appended text.
struct StoreResult {
  int32_t message = 0;
  std::string appended;
  bool ok() const { return message == 0; }
};

inline StoreResult failure(int32_t message, std::string appended = {}) {
  return StoreResult{message, std::move(appended)};
}
// The database's own message (kMsgStoreFailure).
StoreResult dbFailure(sqlite3* db);

struct FieldDef {
  FieldDef() = default;
  FieldDef(ZQInternalId i, uint32_t type, std::string n)
      : id(i), dataType(type), name(std::move(n)) {}

  ZQInternalId id = 0;
  uint32_t dataType = ZQ_DATA_TYPE_CHAR;
  std::string name;
  // Join forms: the member (0: A, 1: B) and its field the value comes from.
  uint32_t joinMember = 0;
  ZQInternalId memberField = 0;
  // View forms: the column of the table.
  std::string column;
};

struct FormDef {
  int64_t formId = 0;  // the form's definition row
  std::string name;
  uint32_t kind = ZQ_SCHEMA_REGULAR;
  std::vector<FieldDef> fields;  // by field id
  // Join forms.
  std::string memberA;
  std::string memberB;
  std::shared_ptr<const ZQQualifierStruct> joinQualifier;
  uint32_t joinOption = 0;  // 1: outer join
  // View forms.
  std::string table;
  const FieldDef* field(ZQInternalId id) const;
};

// The core fields a regular form gets when it is created.
const std::vector<FieldDef>& coreFields();
bool isCoreField(ZQInternalId id);

// The entry store's tables, made when missing.
bool createEntryTables(Store& store);

// What the entry store keeps of a form that goes away, or of one of its
// fields.
StoreResult dropFormEntries(Store& store, int64_t formId);
StoreResult dropFieldValues(Store& store, int64_t formId, ZQInternalId fieldId);

// An entry id list as one key ("A|B" for the two ids of a join entry), and
// back; false when the key does not fit an id list.
std::string entryKey(const ZQEntryIdList& ids);
bool entryIdsOf(const std::string& key, ZQEntryIdList& out);

// Server-side messages of entry operations.
using zq::kMsgEntryExists;    // merge without overwrite, id taken
using zq::kMsgNoSuchEntry;    // entry does not exist
using zq::kMsgNoSuchField;    // field does not exist on the form
using zq::kMsgNoSuchForm;     // form does not exist
using zq::kMsgStoreFailure;   // the database failed
using zq::kMsgWrongDataType;  // value does not match the field

// Formats entry number n as a 15-character id; parses one back (0: not an id).
std::string formatEntryId(int64_t n);
int64_t parseEntryId(const char* id);

// Parses a form description "Name:id:type[:fieldName][,id:type[:fieldName]...]"
// (zqserverd's --form option). id is a field id from 1 to 4294967295; type is
// a data type number or one of: char, integer, real, diary, enum, time,
// bitmask, bytes, decimal, attach, currency, date, timeofday, ulong, coords.
// False with a reason in error when the text is malformed.
bool parseFormDescription(const std::string& description, std::string& name,
                          std::vector<FieldDef>& fields, std::string& error);

class EntryStore {
 public:
  // Creates the tables when missing.
  explicit EntryStore(Store& store);
  ~EntryStore();
  EntryStore(const EntryStore&) = delete;
  EntryStore& operator=(const EntryStore&) = delete;

  // ---- forms -------------------------------------------------------------
  // Creates a regular form (a definition, as ZQCreateSchema does) with the
  // given fields plus the core fields missing from them. Fails when the name
  // is taken or a field is given twice.
  StoreResult createForm(const std::string& name, const std::vector<FieldDef>& fields);
  // createForm from a parseFormDescription text.
  StoreResult createFormFromDescription(const std::string& description);
  std::optional<FormDef> form(const std::string& name);
  std::vector<std::string> formNames();

  // ---- entries -----------------------------------------------------------
  // Values are checked against the form's fields (unknown field 304, wrong
  // data type 306; the null value clears a field). The caller's lists are
  // never changed; lists handed out are allocated with ZQAlloc and released
  // with FreeZQFieldValueList.
  StoreResult create(const std::string& form, const ZQFieldValueList& values,
                     const std::string& user, std::string& newId);
  // Only fields in `wanted` (null or empty: every field the entry has a value
  // for, plus field 1), in the order asked; a wanted field without a value
  // comes back as the null value.
  StoreResult get(const std::string& form, const std::string& entryId,
                  const ZQInternalIdList* wanted, ZQFieldValueList& out);
  StoreResult set(const std::string& form, const std::string& entryId,
                  const ZQFieldValueList& values, const std::string& user);
  StoreResult remove(const std::string& form, const std::string& entryId);
  // Join forms take no creates or merges; a set writes the member fields,
  // a delete deletes both member entries.
  // mergeType 1: an existing id is an error (382); 2: a new id is generated
  // when the given one exists; 3: the existing entry is replaced; 4: the
  // existing entry is updated with the given fields. Without field 1 (or
  // with an empty one) a new entry is created. newId receives the id used.
  StoreResult merge(const std::string& form, const ZQFieldValueList& values, uint32_t mergeType,
                    const std::string& user, std::string& newId);
  // The value of one attachment field (procedure 80): a deep copy the caller
  // releases with FreeZQAttachStruct; dataType 0 in *out when none.
  StoreResult attachment(const std::string& form, const std::string& entryId, ZQInternalId fieldId,
                         ZQValueStruct& out);

  // Every entry of a form in id order, with all its values (the list lives
  // for the duration of the callback only). Return false from fn to stop.
  StoreResult forEachEntry(
      const std::string& form,
      const std::function<bool(const std::string& entryId, const ZQFieldValueList& values)>& fn);
  // Number of entries of a form.
  StoreResult count(const std::string& form, uint64_t& out);

  // ---- transactions ------------------------------------------------------
  // Groups store operations into one unit: begin, then commit or rollback.
  // Nested begin calls are counted; only the outermost commit writes.
  bool begin();
  bool commit();
  void rollback();

 private:
  friend struct EntrySources;
  Store& store_;
  unsigned joinDepth_ = 0;  // joins of joins, bounded

 public:
  struct Cache;  // prepared statements and forms (entry_store.cpp)

 private:
  std::unique_ptr<Cache> cache_;
};

// Rolls back unless committed (RAII for handlers).
class StoreTransaction {
 public:
  explicit StoreTransaction(EntryStore& s) : store_(s), open_(s.begin()) {}
  ~StoreTransaction() {
    if (open_) store_.rollback();
  }
  bool open() const { return open_; }
  bool commit() {
    if (!open_) return false;
    open_ = false;
    return store_.commit();
  }

 private:
  EntryStore& store_;
  bool open_;
};

}  // namespace zqserver
