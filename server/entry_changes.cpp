#include "entry_changes.h"

#include <algorithm>

#include "workflow_engine.h"
#include "zqapi/zq_copy.h"
#include "zqapi/zq_free.h"
#include "zqapi/zq_session.h"
#include "zqapi/zq_workflow_definitions.h"

namespace zqserver {
namespace {

// The values a change writes once the filters ran: the fields given and the
// fields the filters set, read from the entry (borrowed from it).
std::vector<ZQFieldValueStruct> valuesToWrite(const ZQFieldValueList& given, const Row& entry,
                                              std::vector<ZQInternalId> changed) {
  for (uint32_t i = 0; i < given.count && given.items; ++i)
    changed.push_back(given.items[i].fieldId);
  std::sort(changed.begin(), changed.end());
  changed.erase(std::unique(changed.begin(), changed.end()), changed.end());
  std::vector<ZQFieldValueStruct> out;
  for (ZQInternalId id : changed) {
    ZQFieldValueStruct fv{};
    fv.fieldId = id;
    if (const ZQValueStruct* v = entry.find(id)) fv.value = *v;
    out.push_back(fv);
  }
  return out;
}

// Lays the values of a request over an entry.
bool overlay(Row& entry, const ZQFieldValueList& values) {
  ZQFieldValueList merged{0, nullptr};
  std::vector<ZQFieldValueStruct> all;
  for (uint32_t i = 0; i < entry.values.count; ++i) {
    bool replaced = false;
    for (uint32_t k = 0; k < values.count && values.items; ++k)
      replaced |= values.items[k].fieldId == entry.values.items[i].fieldId;
    if (!replaced) all.push_back(entry.values.items[i]);
  }
  for (uint32_t k = 0; k < values.count && values.items; ++k) all.push_back(values.items[k]);
  const ZQFieldValueList view{static_cast<uint32_t>(all.size()), all.data()};
  if (ZQCopyFieldValueList(&merged, &view) != 0) return false;
  FreeZQFieldValueList(&entry.values, 0);
  entry.values = merged;
  return true;
}

}  // namespace

bool EntryChanges::report(const StoreResult& r) {
  if (!r.ok())
    ZQAddStatus(status_, ZQ_MESSAGE_ERROR, r.message,
                r.appended.empty() ? nullptr : r.appended.c_str());
  return r.ok();
}

bool EntryChanges::stored(const std::string& form, const std::string& id, Row& entry) {
  entry.id = id;
  return report(store_.get(form, id, nullptr, entry.values));
}

bool EntryChanges::create(const std::string& form, const ZQFieldValueList& values,
                          std::string& id) {
  Row entry;
  if (ZQCopyFieldValueList(&entry.values, &values) != 0)
    return report(StoreResult{zq::kMsgNoMemory, {}});
  if (!workflow_.runFilters(store_, form, ZQ_OPERATION_CREATE, entry, user_, status_)) return false;
  if (!report(store_.create(form, entry.values, user_, id))) return false;
  entry.id = id;
  created_.push_back(Created{form, std::move(entry)});
  return true;
}

bool EntryChanges::set(const std::string& form, const std::string& id,
                       const ZQFieldValueList& values) {
  Row entry;
  std::vector<ZQInternalId> changed;
  if (!stored(form, id, entry)) return false;
  if (!overlay(entry, values)) return report(StoreResult{zq::kMsgNoMemory, {}});
  if (!workflow_.runFilters(store_, form, ZQ_OPERATION_SET, entry, user_, status_, &changed))
    return false;
  auto write = valuesToWrite(values, entry, changed);
  const ZQFieldValueList list{static_cast<uint32_t>(write.size()), write.data()};
  return report(store_.set(form, id, list, user_));
}

bool EntryChanges::remove(const std::string& form, const std::string& id) {
  Row entry;
  if (!stored(form, id, entry)) return false;
  if (!workflow_.runFilters(store_, form, ZQ_OPERATION_DELETE, entry, user_, status_)) return false;
  return report(store_.remove(form, id));
}

bool EntryChanges::merge(const std::string& form, const ZQFieldValueList& values,
                         uint32_t mergeType, std::string& id) {
  Row entry;
  if (ZQCopyFieldValueList(&entry.values, &values) != 0)
    return report(StoreResult{zq::kMsgNoMemory, {}});
  if (!workflow_.runFilters(store_, form, ZQ_OPERATION_MERGE, entry, user_, status_)) return false;
  return report(store_.merge(form, entry.values, mergeType, user_, id));
}

void EntryChanges::committed() {
  for (Created& c : created_) workflow_.afterCreate(c.form, c.entry.id, c.entry.values);
  created_.clear();
}

}  // namespace zqserver
