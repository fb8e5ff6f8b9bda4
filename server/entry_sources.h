// Where the entries of the forms that keep none of their own come from:
// join forms read their member forms, view forms their SQLite table. The
// entry store hands these forms over here (see entry_store.h for the rules).
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "entry_store.h"

namespace zqserver {

using EntryVisitor = std::function<bool(const std::string& entryId, const ZQFieldValueList&)>;

struct EntrySources {
  // ---- join forms ----
  static StoreResult joinForEach(EntryStore& store, const FormDef& form, const EntryVisitor& fn);
  static StoreResult joinLoad(EntryStore& store, const FormDef& form, const std::string& entryId,
                              ZQFieldValueList& out);
  static StoreResult joinSet(EntryStore& store, const FormDef& form, const std::string& entryId,
                             const ZQFieldValueList& values, const std::string& user);
  static StoreResult joinRemove(EntryStore& store, const FormDef& form,
                                const std::string& entryId);

  // ---- view forms ----
  static StoreResult viewForEach(EntryStore& store, const FormDef& form, const EntryVisitor& fn);
  static StoreResult viewLoad(EntryStore& store, const FormDef& form, const std::string& entryId,
                              ZQFieldValueList& out);
  static StoreResult viewCreate(EntryStore& store, const FormDef& form,
                                const ZQFieldValueList& values, std::string& newId);
  static StoreResult viewSet(EntryStore& store, const FormDef& form, const std::string& entryId,
                             const ZQFieldValueList& values);
  static StoreResult viewRemove(EntryStore& store, const FormDef& form,
                                const std::string& entryId);
};

// Checks values against a form's fields before anything is written
// (entry_store.cpp): unknown field 304, wrong data type 306.
StoreResult checkFormValues(const FormDef& form, const ZQFieldValueList& values);

}  // namespace zqserver
