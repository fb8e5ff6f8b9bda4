// The entry changes with their filters: one path for the single entry calls
// and for the operations of a bulk transaction, so that workflow runs the
// same way whichever way a change arrives.
//
// Each change runs the filters of its operation on the entry (they may
// change values or refuse it), then writes what the filters left. Messages
// go to the status list given; false when the change was refused or failed.
// The caller owns the store transaction, and runs the after-create hooks of
// the created entries (created()) once it has committed.
#pragma once

#include <string>
#include <vector>

#include "entry_store.h"
#include "query_engine.h"
#include "zqapi/zq_types.h"

namespace zqserver {

class WorkflowEngine;

class EntryChanges {
 public:
  EntryChanges(WorkflowEngine& workflow, EntryStore& store, const std::string& user,
               ZQStatusList* status)
      : workflow_(workflow), store_(store), user_(user), status_(status) {}

  // Messages of the next changes go to this list.
  void reportTo(ZQStatusList* status) { status_ = status; }

  bool create(const std::string& form, const ZQFieldValueList& values, std::string& id);
  bool set(const std::string& form, const std::string& id, const ZQFieldValueList& values);
  bool remove(const std::string& form, const std::string& id);
  // Filters of the merge operation see the values as submitted.
  bool merge(const std::string& form, const ZQFieldValueList& values, uint32_t mergeType,
             std::string& id);

  // Runs the after-create hooks of the entries created so far and forgets
  // them; call once the transaction that holds them committed.
  void committed();

 private:
  bool report(const StoreResult& r);
  bool stored(const std::string& form, const std::string& id, Row& entry);

  WorkflowEngine& workflow_;
  EntryStore& store_;
  const std::string& user_;
  ZQStatusList* status_;
  struct Created {
    std::string form;
    Row entry;
  };
  std::vector<Created> created_;
};

}  // namespace zqserver
