#include "entry_sources.h"

#include <sqlite3.h>

#include <vector>

#include "frame/alloc.h"
#include "model/codec.h"
#include "model/describe_core.h"
#include "query_engine.h"
#include "store.h"
#include "zqapi/zq_copy.h"
#include "zqapi/zq_free.h"

namespace zqserver {
namespace {

// Joins of joins: deeper than this is a cycle or a mistake.
constexpr unsigned kMaxJoinDepth = 8;

// The two member ids of a join entry id "A|B" ("A|" without a partner).
bool splitJoinId(const std::string& id, std::string& a, std::string& b) {
  const size_t bar = id.find('|');
  if (bar == std::string::npos || bar == 0) return false;
  a = id.substr(0, bar);
  b = id.substr(bar + 1);
  return b.find('|') == std::string::npos;
}

struct DepthGuard {
  unsigned& depth;
  explicit DepthGuard(unsigned& d) : depth(d) { ++depth; }
  ~DepthGuard() { --depth; }
};

// Every entry of a member form as rows.
StoreResult loadRows(EntryStore& store, const std::string& form, std::vector<Row>& rows) {
  bool noMemory = false;
  StoreResult r = store.forEachEntry(form, [&](const std::string& id, const ZQFieldValueList& v) {
    Row row;
    row.id = id;
    if (ZQCopyFieldValueList(&row.values, &v) != 0) {
      noMemory = true;
      return false;
    }
    rows.push_back(std::move(row));
    return true;
  });
  if (r.ok() && noMemory) r = failure(zq::kMsgNoMemory);
  return r;
}

// The join form's values of one pair (b null: no partner), copies in the
// library heap; false when memory runs out.
bool joinedValues(const FormDef& form, const Row& a, const Row* b, ZQFieldValueList& out) {
  out = ZQFieldValueList{};
  std::vector<ZQFieldValueStruct> items;
  for (const FieldDef& f : form.fields) {
    if (f.memberField == 0) continue;
    const Row* source = f.joinMember == 0 ? &a : b;
    const ZQValueStruct* v = source ? source->find(f.memberField) : nullptr;
    if (!v) continue;
    ZQFieldValueStruct fv{};
    fv.fieldId = f.id;
    if (!zq::model::deepCopy(fv.value, *v)) {
      for (auto& item : items) FreeZQValueStruct(&item.value, 0);
      return false;
    }
    items.push_back(fv);
  }
  if (items.empty()) return true;
  out.items = static_cast<ZQFieldValueStruct*>(ZQCalloc(items.size(), sizeof(ZQFieldValueStruct)));
  if (!out.items) {
    for (auto& item : items) FreeZQValueStruct(&item.value, 0);
    return false;
  }
  std::copy(items.begin(), items.end(), out.items);
  out.count = static_cast<uint32_t>(items.size());
  return true;
}

}  // namespace

StoreResult EntrySources::joinForEach(EntryStore& store, const FormDef& form,
                                      const EntryVisitor& fn) {
  if (store.joinDepth_ >= kMaxJoinDepth) return failure(zq::kMsgBadDefinition, form.name);
  DepthGuard depth(store.joinDepth_);
  std::vector<Row> a, b;
  StoreResult r = loadRows(store, form.memberA, a);
  if (r.ok()) r = loadRows(store, form.memberB, b);
  if (!r.ok()) return r;
  const bool outer = form.joinOption == 1;
  for (const Row& ra : a) {
    bool partnered = false;
    for (const Row& rb : b) {
      if (!joinMatches(form.joinQualifier.get(), ra, &rb)) continue;
      partnered = true;
      ZQFieldValueList values{};
      if (!joinedValues(form, ra, &rb, values)) return failure(zq::kMsgNoMemory);
      const bool more = fn(ra.id + "|" + rb.id, values);
      FreeZQFieldValueList(&values, 0);
      if (!more) return {};
    }
    if (!partnered && outer) {
      ZQFieldValueList values{};
      if (!joinedValues(form, ra, nullptr, values)) return failure(zq::kMsgNoMemory);
      const bool more = fn(ra.id + "|", values);
      FreeZQFieldValueList(&values, 0);
      if (!more) return {};
    }
  }
  return {};
}

StoreResult EntrySources::joinLoad(EntryStore& store, const FormDef& form,
                                   const std::string& entryId, ZQFieldValueList& out) {
  out = ZQFieldValueList{};
  std::string idA, idB;
  if (!splitJoinId(entryId, idA, idB)) return failure(zq::kMsgNoSuchEntry, entryId);
  if (store.joinDepth_ >= kMaxJoinDepth) return failure(zq::kMsgBadDefinition, form.name);
  DepthGuard depth(store.joinDepth_);
  Row a, b;
  a.id = idA;
  b.id = idB;
  StoreResult r = store.get(form.memberA, idA, nullptr, a.values);
  if (r.ok() && !idB.empty()) r = store.get(form.memberB, idB, nullptr, b.values);
  if (!r.ok()) return r.message == zq::kMsgNoSuchEntry ? failure(r.message, entryId) : r;
  // The pair must be one the join holds.
  if (idB.empty() ? form.joinOption != 1 : !joinMatches(form.joinQualifier.get(), a, &b))
    return failure(zq::kMsgNoSuchEntry, entryId);
  return joinedValues(form, a, idB.empty() ? nullptr : &b, out) ? StoreResult{}
                                                                : failure(zq::kMsgNoMemory);
}

StoreResult EntrySources::joinSet(EntryStore& store, const FormDef& form,
                                  const std::string& entryId, const ZQFieldValueList& values,
                                  const std::string& user) {
  std::string ids[2];
  if (!splitJoinId(entryId, ids[0], ids[1])) return failure(zq::kMsgNoSuchEntry, entryId);
  ZQFieldValueList current{};
  StoreResult r = joinLoad(store, form, entryId, current);
  FreeZQFieldValueList(&current, 0);
  if (!r.ok()) return r;
  // The values go to the member fields they map to; the lists borrow them.
  std::vector<ZQFieldValueStruct> member[2];
  for (uint32_t i = 0; values.items && i < values.count; ++i) {
    const FieldDef* f = form.field(values.items[i].fieldId);
    if (!f || f->memberField == 0)
      return failure(zq::kMsgNoSuchField, std::to_string(values.items[i].fieldId));
    if (f->joinMember == 1 && ids[1].empty()) return failure(zq::kMsgNoSuchEntry, entryId);
    ZQFieldValueStruct fv = values.items[i];
    fv.fieldId = f->memberField;
    member[f->joinMember == 0 ? 0 : 1].push_back(fv);
  }
  const std::string* names[2] = {&form.memberA, &form.memberB};
  StoreTransaction tx(store);
  for (int m = 0; m < 2 && r.ok(); ++m) {
    if (member[m].empty()) continue;
    const ZQFieldValueList list{static_cast<uint32_t>(member[m].size()), member[m].data()};
    r = store.set(*names[m], ids[m], list, user);
  }
  if (r.ok() && !tx.commit()) r = failure(zq::kMsgStoreFailure);
  return r;
}

StoreResult EntrySources::joinRemove(EntryStore& store, const FormDef& form,
                                     const std::string& entryId) {
  std::string idA, idB;
  ZQFieldValueList current{};
  StoreResult r = joinLoad(store, form, entryId, current);
  FreeZQFieldValueList(&current, 0);
  if (!r.ok()) return r;
  splitJoinId(entryId, idA, idB);
  StoreTransaction tx(store);
  r = store.remove(form.memberA, idA);
  if (r.ok() && !idB.empty()) r = store.remove(form.memberB, idB);
  if (r.ok() && !tx.commit()) r = failure(zq::kMsgStoreFailure);
  return r;
}

// ---- view forms ---------------------------------------------------------------------------

namespace {

std::string quoted(const std::string& identifier) {
  std::string out = "\"";
  for (char ch : identifier) {
    if (ch == '"') out += '"';
    out += ch;
  }
  return out + '"';
}

// A prepared statement released on scope exit.
struct Sql {
  sqlite3_stmt* stmt = nullptr;
  Sql(sqlite3* db, const std::string& text) {
    if (sqlite3_prepare_v2(db, text.c_str(), -1, &stmt, nullptr) != SQLITE_OK) {
      sqlite3_finalize(stmt);
      stmt = nullptr;
    }
  }
  ~Sql() { sqlite3_finalize(stmt); }
};

std::vector<const FieldDef*> columnsOf(const FormDef& form) {
  std::vector<const FieldDef*> out;
  for (const FieldDef& f : form.fields)
    if (!f.column.empty()) out.push_back(&f);
  return out;
}

bool integral(uint32_t type) {
  switch (type) {
    case ZQ_DATA_TYPE_KEYWORD:
    case ZQ_DATA_TYPE_INTEGER:
    case ZQ_DATA_TYPE_ENUM:
    case ZQ_DATA_TYPE_TIME:
    case ZQ_DATA_TYPE_BITMASK:
    case ZQ_DATA_TYPE_DATE:
    case ZQ_DATA_TYPE_TIME_OF_DAY:
    case ZQ_DATA_TYPE_ULONG:
      return true;
    default:
      return false;
  }
}
bool textual(uint32_t type) {
  return type == ZQ_DATA_TYPE_CHAR || type == ZQ_DATA_TYPE_DIARY || type == ZQ_DATA_TYPE_DECIMAL ||
         type == ZQ_DATA_TYPE_VIEW || type == ZQ_DATA_TYPE_DISPLAY;
}

// A column's value as the field's type; false when memory runs out.
bool readColumn(sqlite3_stmt* st, int col, uint32_t type, ZQValueStruct& out) {
  out = ZQValueStruct{};
  if (sqlite3_column_type(st, col) == SQLITE_NULL) return true;
  if (integral(type)) {
    out.dataType = type;
    out.u.integerValue = static_cast<int32_t>(sqlite3_column_int64(st, col));
  } else if (type == ZQ_DATA_TYPE_REAL) {
    out.dataType = type;
    out.u.realValue = sqlite3_column_double(st, col);
  } else if (textual(type)) {
    const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(st, col));
    out.u.charValue = zq::dupString(text ? text : "");
    if (!out.u.charValue) return false;
    out.dataType = type;
  }
  return true;
}

// A value into a statement parameter; false for a type a column cannot hold.
bool bindColumn(sqlite3_stmt* st, int index, const ZQValueStruct& v) {
  if (v.dataType == ZQ_DATA_TYPE_NULL) return sqlite3_bind_null(st, index) == SQLITE_OK;
  if (integral(v.dataType)) return sqlite3_bind_int64(st, index, v.u.integerValue) == SQLITE_OK;
  if (v.dataType == ZQ_DATA_TYPE_REAL)
    return sqlite3_bind_double(st, index, v.u.realValue) == SQLITE_OK;
  if (textual(v.dataType) && v.u.charValue)
    return sqlite3_bind_text(st, index, v.u.charValue, -1, SQLITE_TRANSIENT) == SQLITE_OK;
  return false;
}

// The values of the current row, columns from index 1 on.
StoreResult rowValues(sqlite3_stmt* st, const std::vector<const FieldDef*>& columns,
                      ZQFieldValueList& out) {
  out = ZQFieldValueList{};
  if (columns.empty()) return {};
  out.items =
      static_cast<ZQFieldValueStruct*>(ZQCalloc(columns.size(), sizeof(ZQFieldValueStruct)));
  if (!out.items) return failure(zq::kMsgNoMemory);
  out.count = static_cast<uint32_t>(columns.size());
  for (size_t i = 0; i < columns.size(); ++i) {
    out.items[i].fieldId = columns[i]->id;
    if (!readColumn(st, static_cast<int>(i + 1), columns[i]->dataType, out.items[i].value)) {
      FreeZQFieldValueList(&out, 0);
      return failure(zq::kMsgNoMemory);
    }
  }
  return {};
}

std::string selectOf(const FormDef& form, const std::vector<const FieldDef*>& columns) {
  std::string sql = "SELECT rowid";
  for (const FieldDef* f : columns) sql += ", " + quoted(f->column);
  return sql + " FROM " + quoted(form.table);
}

// The columns and values of a write; every value must have a column.
StoreResult writeColumns(const FormDef& form, const ZQFieldValueList& values,
                         std::vector<std::pair<std::string, const ZQValueStruct*>>& out) {
  StoreResult r = checkFormValues(form, values);
  if (!r.ok()) return r;
  for (uint32_t i = 0; values.items && i < values.count; ++i) {
    const FieldDef* f = form.field(values.items[i].fieldId);
    if (!f || f->column.empty())
      return failure(zq::kMsgNoSuchField, std::to_string(values.items[i].fieldId));
    out.emplace_back(f->column, &values.items[i].value);
  }
  return {};
}

}  // namespace

StoreResult EntrySources::viewForEach(EntryStore& store, const FormDef& form,
                                      const EntryVisitor& fn) {
  sqlite3* db = store.store_.db();
  const auto columns = columnsOf(form);
  Sql q(db, selectOf(form, columns) + " ORDER BY rowid");
  if (!q.stmt) return dbFailure(db);
  int rc;
  while ((rc = sqlite3_step(q.stmt)) == SQLITE_ROW) {
    ZQFieldValueList values{};
    StoreResult r = rowValues(q.stmt, columns, values);
    if (!r.ok()) return r;
    const bool more = fn(formatEntryId(sqlite3_column_int64(q.stmt, 0)), values);
    FreeZQFieldValueList(&values, 0);
    if (!more) return {};
  }
  return rc == SQLITE_DONE ? StoreResult{} : dbFailure(db);
}

StoreResult EntrySources::viewLoad(EntryStore& store, const FormDef& form,
                                   const std::string& entryId, ZQFieldValueList& out) {
  out = ZQFieldValueList{};
  sqlite3* db = store.store_.db();
  const int64_t rowid = parseEntryId(entryId.c_str());
  const auto columns = columnsOf(form);
  Sql q(db, selectOf(form, columns) + " WHERE rowid=?");
  if (!q.stmt) return dbFailure(db);
  sqlite3_bind_int64(q.stmt, 1, rowid);
  if (!rowid || sqlite3_step(q.stmt) != SQLITE_ROW) return failure(zq::kMsgNoSuchEntry, entryId);
  return rowValues(q.stmt, columns, out);
}

StoreResult EntrySources::viewCreate(EntryStore& store, const FormDef& form,
                                     const ZQFieldValueList& values, std::string& newId) {
  sqlite3* db = store.store_.db();
  std::vector<std::pair<std::string, const ZQValueStruct*>> cols;
  StoreResult r = writeColumns(form, values, cols);
  if (!r.ok()) return r;
  std::string names, marks;
  for (const auto& [column, value] : cols) {
    names += (names.empty() ? "" : ", ") + quoted(column);
    marks += marks.empty() ? "?" : ", ?";
  }
  const std::string sql =
      cols.empty() ? "INSERT INTO " + quoted(form.table) + " DEFAULT VALUES"
                   : "INSERT INTO " + quoted(form.table) + "(" + names + ") VALUES(" + marks + ")";
  Sql q(db, sql);
  if (!q.stmt) return dbFailure(db);
  for (size_t i = 0; i < cols.size(); ++i)
    if (!bindColumn(q.stmt, static_cast<int>(i + 1), *cols[i].second))
      return failure(zq::kMsgWrongDataType, cols[i].first);
  if (sqlite3_step(q.stmt) != SQLITE_DONE) return dbFailure(db);
  newId = formatEntryId(sqlite3_last_insert_rowid(db));
  return {};
}

StoreResult EntrySources::viewSet(EntryStore& store, const FormDef& form,
                                  const std::string& entryId, const ZQFieldValueList& values) {
  sqlite3* db = store.store_.db();
  const int64_t rowid = parseEntryId(entryId.c_str());
  std::vector<std::pair<std::string, const ZQValueStruct*>> cols;
  StoreResult r = writeColumns(form, values, cols);
  if (!r.ok()) return r;
  if (cols.empty()) {
    ZQFieldValueList none{};
    r = viewLoad(store, form, entryId, none);
    FreeZQFieldValueList(&none, 0);
    return r;
  }
  std::string sets;
  for (const auto& [column, value] : cols)
    sets += (sets.empty() ? "" : ", ") + quoted(column) + "=?";
  Sql q(db, "UPDATE " + quoted(form.table) + " SET " + sets + " WHERE rowid=?");
  if (!q.stmt) return dbFailure(db);
  for (size_t i = 0; i < cols.size(); ++i)
    if (!bindColumn(q.stmt, static_cast<int>(i + 1), *cols[i].second))
      return failure(zq::kMsgWrongDataType, cols[i].first);
  sqlite3_bind_int64(q.stmt, static_cast<int>(cols.size() + 1), rowid);
  if (sqlite3_step(q.stmt) != SQLITE_DONE) return dbFailure(db);
  return sqlite3_changes(db) ? StoreResult{} : failure(zq::kMsgNoSuchEntry, entryId);
}

StoreResult EntrySources::viewRemove(EntryStore& store, const FormDef& form,
                                     const std::string& entryId) {
  sqlite3* db = store.store_.db();
  Sql q(db, "DELETE FROM " + quoted(form.table) + " WHERE rowid=?");
  if (!q.stmt) return dbFailure(db);
  sqlite3_bind_int64(q.stmt, 1, parseEntryId(entryId.c_str()));
  if (sqlite3_step(q.stmt) != SQLITE_DONE) return dbFailure(db);
  return sqlite3_changes(db) ? StoreResult{} : failure(zq::kMsgNoSuchEntry, entryId);
}

}  // namespace zqserver
