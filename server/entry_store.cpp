#include "entry_store.h"

#include <sqlite3.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <map>
#include <memory>

#include "decimal.h"
#include "entry_sources.h"
#include "form_definitions.h"
#include "frame/alloc.h"
#include "model/codec.h"
#include "model/describe_core.h"
#include "store.h"
#include "zqapi/zq_free.h"

namespace zqserver {
namespace {

constexpr int kRawVersion = 14;

}  // namespace

// Prepared statements and form definitions of one EntryStore: statements are
// prepared once and reset after each use; everything is finalized with the
// store object, before the database can be closed.
struct EntryStore::Cache {
  sqlite3* db;
  std::map<const char*, sqlite3_stmt*> statements;
  std::map<std::string, FormDef> forms;
  explicit Cache(sqlite3* d) : db(d) {}
  ~Cache() {
    for (auto& [sql, stmt] : statements) sqlite3_finalize(stmt);
  }
};

namespace {

using Cache = EntryStore::Cache;

// A cached statement, reset on scope exit.
class Statement {
 public:
  Statement(Cache& cache, const char* sql) {
    auto it = cache.statements.find(sql);
    if (it != cache.statements.end()) {
      stmt_ = it->second;
      return;
    }
    if (sqlite3_prepare_v3(cache.db, sql, -1, SQLITE_PREPARE_PERSISTENT, &stmt_, nullptr) !=
        SQLITE_OK) {
      sqlite3_finalize(stmt_);
      stmt_ = nullptr;
      return;
    }
    try {
      cache.statements.emplace(sql, stmt_);
    } catch (...) {
      sqlite3_finalize(stmt_);
      stmt_ = nullptr;
    }
  }
  ~Statement() { reset(); }
  Statement(const Statement&) = delete;
  Statement& operator=(const Statement&) = delete;
  explicit operator bool() const { return stmt_ != nullptr; }
  sqlite3_stmt* get() { return stmt_; }
  Statement& bind(int i, int64_t x) {
    sqlite3_bind_int64(stmt_, i, x);
    return *this;
  }
  Statement& bind(int i, const std::string& s) {
    sqlite3_bind_text(stmt_, i, s.data(), static_cast<int>(s.size()), SQLITE_TRANSIENT);
    return *this;
  }
  int step() { return stmt_ ? sqlite3_step(stmt_) : SQLITE_ERROR; }
  void reset() {
    if (!stmt_) return;
    sqlite3_reset(stmt_);
    sqlite3_clear_bindings(stmt_);
  }
  int64_t integer(int col) { return sqlite3_column_int64(stmt_, col); }
  std::string text(int col) {
    const auto* p = sqlite3_column_text(stmt_, col);
    return p ? std::string(reinterpret_cast<const char*>(p),
                           static_cast<size_t>(sqlite3_column_bytes(stmt_, col)))
             : std::string();
  }

 private:
  sqlite3_stmt* stmt_ = nullptr;
};

using zqserver::dbFailure;
StoreResult dbFailure(Cache& c) {
  return dbFailure(c.db);
}

struct TypeName {
  const char* name;
  uint32_t type;
};
constexpr TypeName kTypeNames[] = {
    {"char", ZQ_DATA_TYPE_CHAR},     {"integer", ZQ_DATA_TYPE_INTEGER},
    {"int", ZQ_DATA_TYPE_INTEGER},   {"real", ZQ_DATA_TYPE_REAL},
    {"diary", ZQ_DATA_TYPE_DIARY},   {"enum", ZQ_DATA_TYPE_ENUM},
    {"time", ZQ_DATA_TYPE_TIME},     {"bitmask", ZQ_DATA_TYPE_BITMASK},
    {"bytes", ZQ_DATA_TYPE_BYTES},   {"decimal", ZQ_DATA_TYPE_DECIMAL},
    {"attach", ZQ_DATA_TYPE_ATTACH}, {"currency", ZQ_DATA_TYPE_CURRENCY},
    {"date", ZQ_DATA_TYPE_DATE},     {"timeofday", ZQ_DATA_TYPE_TIME_OF_DAY},
    {"ulong", ZQ_DATA_TYPE_ULONG},   {"coords", ZQ_DATA_TYPE_COORDS},
};

bool storableType(uint32_t t) {
  return (t >= ZQ_DATA_TYPE_KEYWORD && t <= ZQ_DATA_TYPE_TIME_OF_DAY) ||
         (t >= ZQ_DATA_TYPE_ULONG && t <= ZQ_DATA_TYPE_DISPLAY);
}

// Whether a value fits a field of the given type. Null always does; a
// character field takes any text, numeric fields take integers.
bool valueFits(const ZQValueStruct& v, uint32_t fieldType) {
  if (v.dataType == ZQ_DATA_TYPE_NULL || v.dataType == fieldType) return true;
  switch (fieldType) {
    case ZQ_DATA_TYPE_CHAR:
    case ZQ_DATA_TYPE_DIARY:
      return v.dataType == ZQ_DATA_TYPE_CHAR || v.dataType == ZQ_DATA_TYPE_DIARY;
    case ZQ_DATA_TYPE_INTEGER:
    case ZQ_DATA_TYPE_ENUM:
    case ZQ_DATA_TYPE_TIME:
    case ZQ_DATA_TYPE_BITMASK:
    case ZQ_DATA_TYPE_DATE:
    case ZQ_DATA_TYPE_TIME_OF_DAY:
    case ZQ_DATA_TYPE_ULONG:
      return v.dataType == ZQ_DATA_TYPE_INTEGER || v.dataType == ZQ_DATA_TYPE_ENUM ||
             v.dataType == ZQ_DATA_TYPE_ULONG;
    case ZQ_DATA_TYPE_REAL:
    case ZQ_DATA_TYPE_DECIMAL:
      return v.dataType == ZQ_DATA_TYPE_INTEGER || v.dataType == ZQ_DATA_TYPE_REAL ||
             v.dataType == ZQ_DATA_TYPE_DECIMAL;
    default:
      return false;
  }
}

// Converts a value that fits a field to the field's own type (an integer
// given for an enumerated field is stored as the enumerated value).
ZQValueStruct coerce(const ZQValueStruct& v, uint32_t fieldType) {
  ZQValueStruct out = v;
  if (v.dataType == ZQ_DATA_TYPE_NULL || v.dataType == fieldType) return out;
  const bool integral = v.dataType == ZQ_DATA_TYPE_INTEGER || v.dataType == ZQ_DATA_TYPE_ENUM ||
                        v.dataType == ZQ_DATA_TYPE_ULONG;
  if (integral && fieldType != ZQ_DATA_TYPE_REAL && fieldType != ZQ_DATA_TYPE_DECIMAL) {
    out.dataType = fieldType;  // the union's 32-bit integer members share storage
  } else if (integral && fieldType == ZQ_DATA_TYPE_REAL) {
    out.dataType = ZQ_DATA_TYPE_REAL;
    out.u.realValue = static_cast<double>(v.u.integerValue);
  } else if (v.dataType == ZQ_DATA_TYPE_CHAR || v.dataType == ZQ_DATA_TYPE_DIARY) {
    out.dataType = fieldType;
  }
  return out;  // real/decimal cross-overs stay as given
}

// Binds the scalar column and the raw column of a value.
bool bindValue(Statement& st, int scalarCol, int rawCol, const ZQValueStruct& v) {
  sqlite3_stmt* s = st.get();
  switch (v.dataType) {
    case ZQ_DATA_TYPE_KEYWORD:
      sqlite3_bind_int64(s, scalarCol, v.u.keywordNumber);
      return true;
    case ZQ_DATA_TYPE_INTEGER:
    case ZQ_DATA_TYPE_TIME:
    case ZQ_DATA_TYPE_DATE:
    case ZQ_DATA_TYPE_TIME_OF_DAY:
      sqlite3_bind_int64(s, scalarCol, v.u.integerValue);
      return true;
    case ZQ_DATA_TYPE_ENUM:
    case ZQ_DATA_TYPE_BITMASK:
    case ZQ_DATA_TYPE_ULONG:
      sqlite3_bind_int64(s, scalarCol, v.u.ulongValue);
      return true;
    case ZQ_DATA_TYPE_REAL:
      sqlite3_bind_double(s, scalarCol, v.u.realValue);
      return true;
    case ZQ_DATA_TYPE_CHAR:
    case ZQ_DATA_TYPE_DIARY:
    case ZQ_DATA_TYPE_DECIMAL:
    case ZQ_DATA_TYPE_VIEW:
    case ZQ_DATA_TYPE_DISPLAY:
      if (v.u.charValue) sqlite3_bind_text(s, scalarCol, v.u.charValue, -1, SQLITE_TRANSIENT);
      return true;
    default:
      break;
  }
  if (v.dataType == ZQ_DATA_TYPE_CURRENCY && v.u.currencyValue && v.u.currencyValue->value)
    sqlite3_bind_text(s, scalarCol, v.u.currencyValue->value, -1, SQLITE_TRANSIENT);
  std::vector<char> raw;
  if (!zq::model::encodeToBuffer(v, kRawVersion, raw)) return false;
  sqlite3_bind_blob(s, rawCol, raw.data(), static_cast<int>(raw.size()), SQLITE_TRANSIENT);
  return true;
}

// Reads a stored value back (type, scalar, raw) into out (library heap).
bool readValue(sqlite3_stmt* s, int typeCol, int scalarCol, int rawCol, ZQValueStruct& out) {
  out = ZQValueStruct{};
  const auto type = static_cast<uint32_t>(sqlite3_column_int64(s, typeCol));
  if (sqlite3_column_type(s, rawCol) == SQLITE_BLOB) {
    const void* p = sqlite3_column_blob(s, rawCol);
    const int n = sqlite3_column_bytes(s, rawCol);
    if (!zq::model::decodeFromBuffer(p, static_cast<size_t>(n), out, kRawVersion)) {
      FreeZQValueStruct(&out, 0);
      out = ZQValueStruct{};
      return false;
    }
    return true;
  }
  if (sqlite3_column_type(s, scalarCol) == SQLITE_NULL && type != ZQ_DATA_TYPE_CHAR &&
      type != ZQ_DATA_TYPE_DIARY && type != ZQ_DATA_TYPE_DECIMAL) {
    return true;  // null value
  }
  out.dataType = type;
  switch (type) {
    case ZQ_DATA_TYPE_KEYWORD:
      out.u.keywordNumber = static_cast<uint32_t>(sqlite3_column_int64(s, scalarCol));
      break;
    case ZQ_DATA_TYPE_INTEGER:
    case ZQ_DATA_TYPE_TIME:
    case ZQ_DATA_TYPE_DATE:
    case ZQ_DATA_TYPE_TIME_OF_DAY:
      out.u.integerValue = static_cast<int32_t>(sqlite3_column_int64(s, scalarCol));
      break;
    case ZQ_DATA_TYPE_ENUM:
    case ZQ_DATA_TYPE_BITMASK:
    case ZQ_DATA_TYPE_ULONG:
      out.u.ulongValue = static_cast<uint32_t>(sqlite3_column_int64(s, scalarCol));
      break;
    case ZQ_DATA_TYPE_REAL:
      out.u.realValue = sqlite3_column_double(s, scalarCol);
      break;
    default: {  // texts
      const auto* t = reinterpret_cast<const char*>(sqlite3_column_text(s, scalarCol));
      if (!t) {
        out = ZQValueStruct{};
        break;
      }
      out.u.charValue = zq::dupString(t);
      if (!out.u.charValue) {
        out = ZQValueStruct{};
        return false;
      }
      break;
    }
  }
  return true;
}

ZQValueStruct timeValue(time_t t) {
  ZQValueStruct v{};
  v.dataType = ZQ_DATA_TYPE_TIME;
  v.u.timestampValue = static_cast<ZQTimestamp>(t);
  return v;
}

ZQValueStruct textValue(const std::string& s) {
  ZQValueStruct v{};
  v.dataType = ZQ_DATA_TYPE_CHAR;
  v.u.charValue = const_cast<char*>(s.c_str());  // bound with SQLITE_TRANSIENT only
  return v;
}

}  // namespace

const FieldDef* FormDef::field(ZQInternalId id) const {
  auto it = std::lower_bound(fields.begin(), fields.end(), id,
                             [](const FieldDef& f, ZQInternalId x) { return f.id < x; });
  return it != fields.end() && it->id == id ? &*it : nullptr;
}

const std::vector<FieldDef>& coreFields() {
  static const std::vector<FieldDef> fields = {
      {kFieldEntryId, ZQ_DATA_TYPE_CHAR, "Request ID"},
      {kFieldSubmitter, ZQ_DATA_TYPE_CHAR, "Submitter"},
      {kFieldCreateDate, ZQ_DATA_TYPE_TIME, "Create Date"},
      {kFieldAssignedTo, ZQ_DATA_TYPE_CHAR, "Assigned To"},
      {kFieldLastModifiedBy, ZQ_DATA_TYPE_CHAR, "Last Modified By"},
      {kFieldModifiedDate, ZQ_DATA_TYPE_TIME, "Modified Date"},
      {kFieldStatus, ZQ_DATA_TYPE_ENUM, "Status"},
      {kFieldShortDescription, ZQ_DATA_TYPE_CHAR, "Short Description"},
      {kFieldStatusHistory, ZQ_DATA_TYPE_CHAR, "Status History"},
  };
  return fields;
}

bool isCoreField(ZQInternalId id) {
  for (const FieldDef& f : coreFields())
    if (f.id == id) return true;
  return false;
}

bool createEntryTables(Store& store) {
  return store.exec(
      "CREATE TABLE IF NOT EXISTS zq_entry_counters(form_id INTEGER PRIMARY KEY,"
      " next_entry INTEGER NOT NULL);"
      "CREATE TABLE IF NOT EXISTS zq_entries(form_id INTEGER, entry INTEGER,"
      " PRIMARY KEY(form_id, entry));"
      "CREATE TABLE IF NOT EXISTS zq_values(form_id INTEGER, entry INTEGER, field_id INTEGER,"
      " data_type INTEGER, value, raw BLOB, PRIMARY KEY(form_id, entry, field_id));");
}

// A form or field may go before any entry was ever stored: the tables are
// made first so that there is something to delete from.
StoreResult dropFormEntries(Store& store, int64_t formId) {
  const std::string id = std::to_string(formId);
  if (!createEntryTables(store) ||
      !store.exec("DELETE FROM zq_values WHERE form_id=" + id +
                  "; DELETE FROM zq_entries WHERE form_id=" + id +
                  "; DELETE FROM zq_entry_counters WHERE form_id=" + id + ";"))
    return failure(kMsgStoreFailure, store.error());
  return {};
}

StoreResult dropFieldValues(Store& store, int64_t formId, ZQInternalId fieldId) {
  if (!createEntryTables(store) ||
      !store.exec("DELETE FROM zq_values WHERE form_id=" + std::to_string(formId) +
                  " AND field_id=" + std::to_string(fieldId) + ";"))
    return failure(kMsgStoreFailure, store.error());
  return {};
}

std::string entryKey(const ZQEntryIdList& ids) {
  std::string key;
  for (uint32_t i = 0; ids.items && i < ids.count; ++i) {
    if (i) key += '|';
    key.append(ids.items[i], strnlen(ids.items[i], sizeof(ZQEntryIdType)));
  }
  return key;
}

bool entryIdsOf(const std::string& key, ZQEntryIdList& out) {
  out = ZQEntryIdList{};
  std::vector<std::string> parts;
  size_t start = 0;
  for (;;) {
    const size_t bar = key.find('|', start);
    parts.push_back(key.substr(start, bar == std::string::npos ? std::string::npos : bar - start));
    if (bar == std::string::npos) break;
    start = bar + 1;
  }
  for (const std::string& p : parts)
    if (p.size() > kEntryIdLength) return false;
  out.items = static_cast<ZQEntryIdType*>(ZQCalloc(parts.size(), sizeof(ZQEntryIdType)));
  if (!out.items) return false;
  out.count = static_cast<uint32_t>(parts.size());
  for (size_t i = 0; i < parts.size(); ++i)
    zq::copyName(out.items[i], parts[i].c_str(), sizeof(ZQEntryIdType));
  return true;
}

std::string formatEntryId(int64_t n) {
  char buf[32];
  snprintf(buf, sizeof buf, "%015lld", static_cast<long long>(n));
  return buf;
}

int64_t parseEntryId(const char* id) {
  if (!id || !*id) return 0;
  int64_t n = 0;
  size_t len = 0;
  for (const char* p = id; *p; ++p, ++len) {
    if (*p < '0' || *p > '9' || len >= kEntryIdLength) return 0;
    n = n * 10 + (*p - '0');
  }
  return n;
}

bool parseFormDescription(const std::string& description, std::string& name,
                          std::vector<FieldDef>& fields, std::string& error) {
  fields.clear();
  const size_t colon = description.find(':');
  name = description.substr(0, colon);
  if (name.empty() || name.size() > 254) {
    error = "the form name is missing or longer than 254 characters";
    return false;
  }
  if (colon == std::string::npos) return true;
  size_t pos = colon + 1;
  while (pos <= description.size()) {
    size_t end = description.find(',', pos);
    if (end == std::string::npos) end = description.size();
    const std::string item = description.substr(pos, end - pos);
    pos = end + 1;
    const size_t c1 = item.find(':');
    if (c1 == std::string::npos) {
      error = "field '" + item + "' is not id:type";
      return false;
    }
    const size_t c2 = item.find(':', c1 + 1);
    const std::string idText = item.substr(0, c1);
    const std::string typeText =
        item.substr(c1 + 1, c2 == std::string::npos ? std::string::npos : c2 - c1 - 1);
    int64_t id = 0;
    if (!parseDecimal(idText, 1, UINT32_MAX, id)) {
      error = "field id '" + idText + "' is not a number from 1 to 4294967295";
      return false;
    }
    FieldDef f;
    f.id = static_cast<ZQInternalId>(id);
    int64_t type = 0;
    if (!typeText.empty() && typeText.find_first_not_of("0123456789") == std::string::npos) {
      if (!parseDecimal(typeText, 0, UINT32_MAX, type)) {
        error = "data type '" + typeText + "' is out of range";
        return false;
      }
      f.dataType = static_cast<uint32_t>(type);
    } else {
      auto it = std::find_if(std::begin(kTypeNames), std::end(kTypeNames),
                             [&](const TypeName& n) { return typeText == n.name; });
      if (it == std::end(kTypeNames)) {
        error = "unknown data type '" + typeText + "'";
        return false;
      }
      f.dataType = it->type;
    }
    if (!storableType(f.dataType)) {
      error = "data type " + typeText + " cannot be stored in a field";
      return false;
    }
    f.name = c2 == std::string::npos ? "Field " + idText : item.substr(c2 + 1);
    fields.push_back(std::move(f));
    if (end == description.size()) break;
  }
  return true;
}

EntryStore::~EntryStore() = default;

EntryStore::EntryStore(Store& store) : store_(store), cache_(new Cache(store.db())) {
  createEntryTables(store_);
}

StoreResult EntryStore::createForm(const std::string& name, const std::vector<FieldDef>& fields) {
  cache_->forms.clear();
  FormDefinitions defs(store_);
  OwnedParts<zq::transport::SchemaParts> parts;
  parts.p.kind.schemaType = ZQ_SCHEMA_REGULAR;
  return defs.createForm(name, parts.p, Actor{"", static_cast<int64_t>(time(nullptr))}, fields);
}

StoreResult EntryStore::createFormFromDescription(const std::string& description) {
  std::string name, error;
  std::vector<FieldDef> fields;
  if (!parseFormDescription(description, name, fields, error))
    return failure(kMsgStoreFailure, error);
  return createForm(name, fields);
}

std::optional<FormDef> EntryStore::form(const std::string& name) {
  auto hit = cache_->forms.find(name);
  if (hit != cache_->forms.end()) return hit->second;
  auto f = FormDefinitions(store_).formDef(name);
  if (f) cache_->forms.emplace(name, *f);
  return f;
}

std::vector<std::string> EntryStore::formNames() {
  std::vector<std::string> names;
  for (const Definition& d : DefinitionStore(store_).list(DefinitionKind::form, 0))
    names.push_back(d.name);
  return names;
}

namespace {}  // namespace

StoreResult checkFormValues(const FormDef& form, const ZQFieldValueList& values) {
  if (values.count && !values.items) return failure(zq::kMsgCountWithoutItems);
  for (uint32_t i = 0; i < values.count; ++i) {
    const ZQFieldValueStruct& fv = values.items[i];
    const FieldDef* f = form.field(fv.fieldId);
    if (!f) return failure(kMsgNoSuchField, std::to_string(fv.fieldId));
    if (fv.fieldId == kFieldEntryId) continue;  // handled by the operations
    if (!valueFits(fv.value, f->dataType))
      return failure(kMsgWrongDataType, std::to_string(fv.fieldId));
  }
  return {};
}

namespace {

StoreResult checkValues(const FormDef& form, const ZQFieldValueList& values) {
  return checkFormValues(form, values);
}

// Writes (or clears, for the null value) one field of an entry.
StoreResult writeValue(Cache& db, int64_t formId, int64_t entry, ZQInternalId fieldId,
                       uint32_t fieldType, const ZQValueStruct& given) {
  const ZQValueStruct v = coerce(given, fieldType);
  if (v.dataType == ZQ_DATA_TYPE_NULL) {
    Statement del(db, "DELETE FROM zq_values WHERE form_id=? AND entry=? AND field_id=?");
    del.bind(1, formId).bind(2, entry).bind(3, fieldId);
    return del.step() == SQLITE_DONE ? StoreResult{} : dbFailure(db);
  }
  Statement up(db, "INSERT OR REPLACE INTO zq_values VALUES(?,?,?,?,?,?)");
  up.bind(1, formId).bind(2, entry).bind(3, fieldId).bind(4, v.dataType);
  if (!bindValue(up, 5, 6, v)) return failure(kMsgWrongDataType, std::to_string(fieldId));
  return up.step() == SQLITE_DONE ? StoreResult{} : dbFailure(db);
}

bool entryExists(Cache& db, int64_t formId, int64_t entry) {
  Statement q(db, "SELECT 1 FROM zq_entries WHERE form_id=? AND entry=?");
  q.bind(1, formId).bind(2, entry);
  return q.step() == SQLITE_ROW;
}

// Writes a whole new entry numbered `entry` (which must be free).
StoreResult insertEntry(Cache& db, const FormDef& form, int64_t entry,
                        const ZQFieldValueList& values, const std::string& user) {
  Statement ins(db, "INSERT INTO zq_entries VALUES(?,?)");
  ins.bind(1, form.formId).bind(2, entry);
  if (ins.step() != SQLITE_DONE) return dbFailure(db);
  Statement next(db,
                 "INSERT INTO zq_entry_counters VALUES(?, ?) ON CONFLICT(form_id)"
                 " DO UPDATE SET next_entry = max(next_entry, excluded.next_entry)");
  next.bind(1, form.formId).bind(2, entry + 1);
  if (next.step() != SQLITE_DONE) return dbFailure(db);
  const time_t now = time(nullptr);
  const std::string id = formatEntryId(entry);
  StoreResult r =
      writeValue(db, form.formId, entry, kFieldEntryId, ZQ_DATA_TYPE_CHAR, textValue(id));
  if (r.ok())
    r = writeValue(db, form.formId, entry, kFieldCreateDate, ZQ_DATA_TYPE_TIME, timeValue(now));
  if (r.ok())
    r = writeValue(db, form.formId, entry, kFieldModifiedDate, ZQ_DATA_TYPE_TIME, timeValue(now));
  if (r.ok() && !user.empty()) {
    r = writeValue(db, form.formId, entry, kFieldSubmitter, ZQ_DATA_TYPE_CHAR, textValue(user));
    if (r.ok())
      r = writeValue(db, form.formId, entry, kFieldLastModifiedBy, ZQ_DATA_TYPE_CHAR,
                     textValue(user));
  }
  for (uint32_t i = 0; r.ok() && i < values.count; ++i) {
    const ZQFieldValueStruct& fv = values.items[i];
    if (fv.fieldId == kFieldEntryId || fv.fieldId == kFieldCreateDate ||
        fv.fieldId == kFieldModifiedDate)
      continue;  // the server's own
    r = writeValue(db, form.formId, entry, fv.fieldId, form.field(fv.fieldId)->dataType, fv.value);
  }
  return r;
}

StoreResult updateEntry(Cache& db, const FormDef& form, int64_t entry,
                        const ZQFieldValueList& values, const std::string& user) {
  StoreResult r;
  for (uint32_t i = 0; r.ok() && i < values.count; ++i) {
    const ZQFieldValueStruct& fv = values.items[i];
    if (fv.fieldId == kFieldEntryId || fv.fieldId == kFieldCreateDate ||
        fv.fieldId == kFieldModifiedDate)
      continue;
    r = writeValue(db, form.formId, entry, fv.fieldId, form.field(fv.fieldId)->dataType, fv.value);
  }
  if (r.ok())
    r = writeValue(db, form.formId, entry, kFieldModifiedDate, ZQ_DATA_TYPE_TIME,
                   timeValue(time(nullptr)));
  if (r.ok() && !user.empty())
    r = writeValue(db, form.formId, entry, kFieldLastModifiedBy, ZQ_DATA_TYPE_CHAR,
                   textValue(user));
  return r;
}

StoreResult deleteValues(Cache& db, int64_t formId, int64_t entry) {
  Statement del(db, "DELETE FROM zq_values WHERE form_id=? AND entry=?");
  del.bind(1, formId).bind(2, entry);
  return del.step() == SQLITE_DONE ? StoreResult{} : dbFailure(db);
}

int64_t nextEntry(Cache& db, int64_t formId) {
  Statement q(db, "SELECT next_entry FROM zq_entry_counters WHERE form_id=?");
  q.bind(1, formId);
  return q.step() == SQLITE_ROW ? q.integer(0) : 1;
}

// Loads all values of one entry ordered by field id into out.
StoreResult loadValues(Cache& db, int64_t formId, int64_t entry, ZQFieldValueList& out) {
  out = ZQFieldValueList{};
  Statement q(db,
              "SELECT field_id, data_type, value, raw FROM zq_values"
              " WHERE form_id=? AND entry=? ORDER BY field_id");
  q.bind(1, formId).bind(2, entry);
  std::vector<ZQFieldValueStruct> items;
  auto releaseAll = [&] {
    for (auto& fv : items) FreeZQValueStruct(&fv.value, 0);
  };
  int rc;
  while ((rc = q.step()) == SQLITE_ROW) {
    ZQFieldValueStruct fv{};
    fv.fieldId = static_cast<ZQInternalId>(q.integer(0));
    if (!readValue(q.get(), 1, 2, 3, fv.value)) {
      releaseAll();
      return failure(zq::kMsgNoMemory);
    }
    items.push_back(fv);
  }
  if (rc != SQLITE_DONE) {
    releaseAll();
    return dbFailure(db);
  }
  if (items.empty()) return {};
  out.items = static_cast<ZQFieldValueStruct*>(ZQCalloc(items.size(), sizeof(ZQFieldValueStruct)));
  if (!out.items) {
    releaseAll();
    return failure(zq::kMsgNoMemory);
  }
  std::copy(items.begin(), items.end(), out.items);
  out.count = static_cast<uint32_t>(items.size());
  return {};
}

}  // namespace

namespace {

// Dialog and vendor forms keep no entries; join forms take no creates.
StoreResult noEntries(const FormDef& form) {
  return failure(zq::kMsgOperationUnsupported, form.name);
}
bool keepsEntries(const FormDef& form) {
  return form.kind == ZQ_SCHEMA_REGULAR || form.kind == ZQ_SCHEMA_JOIN ||
         form.kind == ZQ_SCHEMA_VIEW;
}

}  // namespace

StoreResult EntryStore::create(const std::string& formName, const ZQFieldValueList& values,
                               const std::string& user, std::string& newId) {
  newId.clear();
  auto form = this->form(formName);
  if (!form) return failure(kMsgNoSuchForm, formName);
  if (form->kind == ZQ_SCHEMA_VIEW) return EntrySources::viewCreate(*this, *form, values, newId);
  if (form->kind != ZQ_SCHEMA_REGULAR) return noEntries(*form);
  StoreResult r = checkValues(*form, values);
  if (!r.ok()) return r;
  Cache& db = *cache_;
  StoreTransaction tx(*this);
  const int64_t entry = nextEntry(db, form->formId);
  r = insertEntry(db, *form, entry, values, user);
  if (!r.ok()) return r;
  if (!tx.commit()) return dbFailure(db);
  newId = formatEntryId(entry);
  return {};
}

StoreResult EntryStore::get(const std::string& formName, const std::string& entryId,
                            const ZQInternalIdList* wanted, ZQFieldValueList& out) {
  out = ZQFieldValueList{};
  auto form = this->form(formName);
  if (!form) return failure(kMsgNoSuchForm, formName);
  if (!keepsEntries(*form)) return noEntries(*form);
  Cache& db = *cache_;
  ZQFieldValueList all{};
  StoreResult r;
  if (form->kind == ZQ_SCHEMA_JOIN) {
    r = EntrySources::joinLoad(*this, *form, entryId, all);
  } else if (form->kind == ZQ_SCHEMA_VIEW) {
    r = EntrySources::viewLoad(*this, *form, entryId, all);
  } else {
    const int64_t entry = parseEntryId(entryId.c_str());
    if (!entry || !entryExists(db, form->formId, entry)) return failure(kMsgNoSuchEntry, entryId);
    r = loadValues(db, form->formId, entry, all);
  }
  if (!r.ok()) return r;
  if (wanted && wanted->count && !wanted->items) {
    FreeZQFieldValueList(&all, 0);
    return failure(zq::kMsgCountWithoutItems);
  }
  if (wanted) {
    for (uint32_t i = 0; i < wanted->count; ++i)
      if (!form->field(wanted->items[i])) {
        FreeZQFieldValueList(&all, 0);
        return failure(kMsgNoSuchField, std::to_string(wanted->items[i]));
      }
  }
  if (!wanted || wanted->count == 0) {
    out = all;
    return r;
  }
  out.items = static_cast<ZQFieldValueStruct*>(ZQCalloc(wanted->count, sizeof(ZQFieldValueStruct)));
  if (!out.items) {
    FreeZQFieldValueList(&all, 0);
    return failure(zq::kMsgNoMemory);
  }
  out.count = wanted->count;
  for (uint32_t i = 0; i < wanted->count; ++i) {
    out.items[i].fieldId = wanted->items[i];
    for (uint32_t j = 0; j < all.count; ++j) {
      if (all.items[j].fieldId != wanted->items[i]) continue;
      // Move the value out; asking for a field twice copies it.
      if (all.items[j].value.dataType == ZQ_DATA_TYPE_NULL) break;
      out.items[i].value = all.items[j].value;
      all.items[j].value = ZQValueStruct{};
      for (uint32_t k = i + 1; k < wanted->count; ++k) {
        if (wanted->items[k] != wanted->items[i]) continue;
        if (!zq::model::deepCopy(all.items[j].value, out.items[i].value)) {
          FreeZQFieldValueList(&all, 0);
          FreeZQFieldValueList(&out, 0);
          return failure(zq::kMsgNoMemory);
        }
        break;
      }
      break;
    }
  }
  FreeZQFieldValueList(&all, 0);
  return {};
}

StoreResult EntryStore::set(const std::string& formName, const std::string& entryId,
                            const ZQFieldValueList& values, const std::string& user) {
  auto form = this->form(formName);
  if (!form) return failure(kMsgNoSuchForm, formName);
  if (form->kind == ZQ_SCHEMA_JOIN)
    return EntrySources::joinSet(*this, *form, entryId, values, user);
  if (form->kind == ZQ_SCHEMA_VIEW) return EntrySources::viewSet(*this, *form, entryId, values);
  if (form->kind != ZQ_SCHEMA_REGULAR) return noEntries(*form);
  Cache& db = *cache_;
  const int64_t entry = parseEntryId(entryId.c_str());
  if (!entry || !entryExists(db, form->formId, entry)) return failure(kMsgNoSuchEntry, entryId);
  StoreResult r = checkValues(*form, values);
  if (!r.ok()) return r;
  StoreTransaction tx(*this);
  r = updateEntry(db, *form, entry, values, user);
  if (!r.ok()) return r;
  if (!tx.commit()) return dbFailure(db);
  return {};
}

StoreResult EntryStore::remove(const std::string& formName, const std::string& entryId) {
  auto form = this->form(formName);
  if (!form) return failure(kMsgNoSuchForm, formName);
  if (form->kind == ZQ_SCHEMA_JOIN) return EntrySources::joinRemove(*this, *form, entryId);
  if (form->kind == ZQ_SCHEMA_VIEW) return EntrySources::viewRemove(*this, *form, entryId);
  if (form->kind != ZQ_SCHEMA_REGULAR) return noEntries(*form);
  Cache& db = *cache_;
  const int64_t entry = parseEntryId(entryId.c_str());
  if (!entry || !entryExists(db, form->formId, entry)) return failure(kMsgNoSuchEntry, entryId);
  StoreTransaction tx(*this);
  StoreResult r = deleteValues(db, form->formId, entry);
  if (!r.ok()) return r;
  Statement del(db, "DELETE FROM zq_entries WHERE form_id=? AND entry=?");
  del.bind(1, form->formId).bind(2, entry);
  if (del.step() != SQLITE_DONE) return dbFailure(db);
  if (!tx.commit()) return dbFailure(db);
  return {};
}

StoreResult EntryStore::merge(const std::string& formName, const ZQFieldValueList& values,
                              uint32_t mergeType, const std::string& user, std::string& newId) {
  newId.clear();
  auto form = this->form(formName);
  if (!form) return failure(kMsgNoSuchForm, formName);
  if (form->kind != ZQ_SCHEMA_REGULAR) return noEntries(*form);
  StoreResult r = checkValues(*form, values);
  if (!r.ok()) return r;
  const char* given = nullptr;
  for (uint32_t i = 0; i < values.count; ++i) {
    const ZQFieldValueStruct& fv = values.items[i];
    if (fv.fieldId == kFieldEntryId && fv.value.dataType == ZQ_DATA_TYPE_CHAR &&
        fv.value.u.charValue && *fv.value.u.charValue)
      given = fv.value.u.charValue;
  }
  Cache& db = *cache_;
  int64_t entry = 0;
  if (given) {
    entry = parseEntryId(given);
    if (!entry) return failure(zq::kMsgEntryIdTooLong, given);
  }
  StoreTransaction tx(*this);
  const bool exists = entry && entryExists(db, form->formId, entry);
  if (!entry || !exists) {
    if (!entry) entry = nextEntry(db, form->formId);
    r = insertEntry(db, *form, entry, values, user);
  } else {
    switch (mergeType & 0xF) {
      case 1:
        return failure(kMsgEntryExists, formatEntryId(entry));
      case 2:
        entry = nextEntry(db, form->formId);
        r = insertEntry(db, *form, entry, values, user);
        break;
      case 3: {
        Statement del(db, "DELETE FROM zq_entries WHERE form_id=? AND entry=?");
        del.bind(1, form->formId).bind(2, entry);
        r = deleteValues(db, form->formId, entry);
        if (r.ok() && del.step() != SQLITE_DONE) r = dbFailure(db);
        if (r.ok()) r = insertEntry(db, *form, entry, values, user);
        break;
      }
      case 4:
        r = updateEntry(db, *form, entry, values, user);
        break;
      default:
        return failure(zq::kMsgOptionOutOfRange, std::to_string(mergeType));
    }
  }
  if (!r.ok()) return r;
  if (!tx.commit()) return dbFailure(db);
  newId = formatEntryId(entry);
  return {};
}

StoreResult EntryStore::attachment(const std::string& formName, const std::string& entryId,
                                   ZQInternalId fieldId, ZQValueStruct& out) {
  out = ZQValueStruct{};
  ZQInternalId ids[1] = {fieldId};
  ZQInternalIdList wanted{1, ids};
  ZQFieldValueList got{};
  StoreResult r = get(formName, entryId, &wanted, got);
  if (!r.ok()) return r;
  if (got.count == 1 && got.items[0].value.dataType == ZQ_DATA_TYPE_ATTACH) {
    out = got.items[0].value;
    got.items[0].value = ZQValueStruct{};
  }
  FreeZQFieldValueList(&got, 0);
  return {};
}

StoreResult EntryStore::forEachEntry(
    const std::string& formName,
    const std::function<bool(const std::string&, const ZQFieldValueList&)>& fn) {
  auto form = this->form(formName);
  if (!form) return failure(kMsgNoSuchForm, formName);
  if (form->kind == ZQ_SCHEMA_JOIN) return EntrySources::joinForEach(*this, *form, fn);
  if (form->kind == ZQ_SCHEMA_VIEW) return EntrySources::viewForEach(*this, *form, fn);
  if (form->kind != ZQ_SCHEMA_REGULAR) return noEntries(*form);
  Cache& db = *cache_;
  Statement q(db, "SELECT entry FROM zq_entries WHERE form_id=? ORDER BY entry");
  q.bind(1, form->formId);
  std::vector<int64_t> entries;
  while (q.step() == SQLITE_ROW) entries.push_back(q.integer(0));
  for (int64_t entry : entries) {
    ZQFieldValueList values{};
    StoreResult r = loadValues(db, form->formId, entry, values);
    if (!r.ok()) return r;
    const bool more = fn(formatEntryId(entry), values);
    FreeZQFieldValueList(&values, 0);
    if (!more) break;
  }
  return {};
}

StoreResult EntryStore::count(const std::string& formName, uint64_t& out) {
  out = 0;
  auto form = this->form(formName);
  if (!form) return failure(kMsgNoSuchForm, formName);
  if (form->kind != ZQ_SCHEMA_REGULAR)
    return forEachEntry(formName, [&](const std::string&, const ZQFieldValueList&) {
      ++out;
      return true;
    });
  Statement q(*cache_, "SELECT count(*) FROM zq_entries WHERE form_id=?");
  q.bind(1, form->formId);
  if (q.step() != SQLITE_ROW) return dbFailure(*cache_);
  out = static_cast<uint64_t>(q.integer(0));
  return {};
}

// Savepoints nest, so store operations inside a handler's transaction join it.
bool EntryStore::begin() {
  return store_.exec("SAVEPOINT zq_entries");
}
bool EntryStore::commit() {
  return store_.exec("RELEASE zq_entries");
}
void EntryStore::rollback() {
  store_.exec("ROLLBACK TO zq_entries");
  store_.exec("RELEASE zq_entries");
}

StoreResult dbFailure(sqlite3* db) {
  return failure(zq::kMsgStoreFailure, sqlite3_errmsg(db));
}

}  // namespace zqserver
