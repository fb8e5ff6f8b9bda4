// Several fields at once: ZQCreateMultipleFields and ZQSetMultipleFields.
// Every per-field list holds one item per field id; the checks name the
// field a message is about by its id as appended text.
#include <cstdio>
#include <type_traits>

#include "calls/checks.h"
#include "calls/definition_checks.h"
#include "calls/definitions.h"
#include "diag/diag.h"
#include "diag/record_described.h"
#include "zqapi/zq_definitions.h"
#include "zqapi/zq_free.h"

namespace zq::calls {
namespace {

using call::Call;
namespace proc = transport::proc;

// The caller's per-field lists.
struct Lists {
  ZQNamePtrList* names;
  ZQFieldMappingPtrList* mappings;
  ZQUnsignedIntPtrList* dataTypes;
  ZQUnsignedIntPtrList* options;
  ZQUnsignedIntPtrList* createModes;
  ZQUnsignedIntPtrList* optionBits;
  ZQValuePtrList* defaults;
  ZQPermissionListPtrList* permissions;
  ZQFieldLimitPtrList* limits;
  ZQDisplayInstanceListPtrList* displays;
  ZQTextStringList* helpTexts;
  ZQAccessNamePtrList* owners;
  ZQTextStringList* diaries;
};

// Item i of a list, or null when the list or the item is absent.
template <class L>
auto item(const L* list, uint32_t i) {
  using T = std::remove_reference_t<decltype(list->items[0])>;
  return list && list->items && i < list->count ? list->items[i] : T{};
}

// A list given (and, when optional, non-empty) has one item per field.
template <class L>
bool fits(const L* list, uint32_t n, bool optional) {
  if (!list || (optional && list->count == 0)) return true;
  return list->count == n;
}

bool listsFit(const Lists& l, const ZQUnsignedIntList* flags, uint32_t n) {
  return fits(flags, n, false) && fits(l.mappings, n, false) && fits(l.dataTypes, n, false) &&
         fits(l.options, n, false) && fits(l.createModes, n, false) &&
         fits(l.optionBits, n, false) && fits(l.names, n, true) && fits(l.defaults, n, true) &&
         fits(l.permissions, n, true) && fits(l.limits, n, true) && fits(l.displays, n, true) &&
         fits(l.helpTexts, n, true) && fits(l.owners, n, true) && fits(l.diaries, n, true);
}

// The messages that name the field they are about.
bool namesItsField(int32_t message) {
  switch (message) {
    case kMsgBadDataType:
    case kMsgOptionOutOfRange:
    case kMsgBadCreateMode:
    case kMsgBadDefaultValue:
    case kMsgDefaultTooLong:
    case kMsgDefaultTypeMismatch:
    case kMsgLimitTypeMismatch:
      return true;
    default:
      return false;
  }
}

// Runs a check of one field in a list of its own, then moves its messages
// to status, those that name their field with the field's id appended.
template <class F>
int forField(ZQInternalId id, ZQStatusList* status, F&& check) {
  ZQStatusList own{0, nullptr};
  int rc = check(&own);
  char idText[16];
  snprintf(idText, sizeof idText, "%u", id);
  // Oldest first, so that the order of the messages stays.
  for (uint32_t i = own.count; i-- > 0;) {
    const ZQStatusStruct& m = own.items[i];
    const int added = ZQAddStatus(status, m.messageType, m.messageNumber,
                                  namesItsField(m.messageNumber) ? idText : m.appended);
    if (added > rc) rc = added;
  }
  FreeZQStatusList(&own, 0);
  return rc;
}

int fail(ZQStatusList* status, int32_t message) {
  return addError(status, message);
}

bool goodOption(const uint32_t* option) {
  return option && *option >= ZQ_FIELD_OPTION_REQUIRED && *option <= ZQ_FIELD_OPTION_DISPLAY;
}
bool goodCreateMode(const uint32_t* mode) {
  return mode && (*mode == ZQ_FIELD_OPEN_AT_CREATE || *mode == ZQ_FIELD_PROTECTED_AT_CREATE);
}

// Checks of parts that both calls share, field by field: names, mappings,
// permission lists, limits, display instances and owners.
int checkNames(const Lists& l, uint32_t n, ZQStatusList* status) {
  for (uint32_t i = 0; i < n; ++i) {
    ZQNameType* name = item(l.names, i);
    if (name && checks::checkFixedName(*name, sizeof *name, true, status) >= ZQ_RETURN_ERROR)
      return ZQ_RETURN_ERROR;
  }
  return ZQ_RETURN_OK;
}

int checkMappings(const Lists& l, uint32_t n, ZQStatusList* status) {
  for (uint32_t i = 0; i < n; ++i) {
    const int rc = checks::checkFieldMapping(item(l.mappings, i), status);
    if (rc >= ZQ_RETURN_ERROR) return rc;
  }
  return ZQ_RETURN_OK;
}

int checkOwners(const Lists& l, uint32_t n, ZQStatusList* status) {
  for (uint32_t i = 0; i < n; ++i) {
    ZQAccessNameType* owner = item(l.owners, i);
    if (owner && checks::checkFixedName(*owner, sizeof *owner, true, status) >= ZQ_RETURN_ERROR)
      return ZQ_RETURN_ERROR;
  }
  return ZQ_RETURN_OK;
}

int checkDisplays(const Lists& l, uint32_t n, ZQStatusList* status) {
  for (uint32_t i = 0; i < n; ++i) {
    const int rc = checks::checkDisplayInstances(item(l.displays, i), status);
    if (rc >= ZQ_RETURN_ERROR) return rc;
  }
  return ZQ_RETURN_OK;
}

// The checks of ZQCreateMultipleFields after the control record and form.
int checkCreate(const ZQInternalIdList& ids, const ZQUnsignedIntList* flags, const Lists& l,
                ZQStatusList* status) {
  const uint32_t n = ids.count;
  if (!flags) return fail(status, kMsgFieldFlagsMissing);
  int rc = checkNames(l, n, status);
  if (rc >= ZQ_RETURN_ERROR) return rc;
  if (!l.mappings) return fail(status, kMsgMappingListMissing);
  if ((rc = checkMappings(l, n, status)) >= ZQ_RETURN_ERROR) return rc;
  if (!l.dataTypes) return fail(status, kMsgBadDataType);
  for (uint32_t i = 0; i < n; ++i) {
    const uint32_t* type = item(l.dataTypes, i);
    if (!type || !defs::isFieldType(*type))
      return forField(ids.items[i], status,
                      [](ZQStatusList* s) { return fail(s, kMsgBadDataType); });
  }
  if (!l.options) return fail(status, kMsgOptionOutOfRange);
  for (uint32_t i = 0; i < n; ++i)
    if (!goodOption(item(l.options, i)))
      return forField(ids.items[i], status,
                      [](ZQStatusList* s) { return fail(s, kMsgOptionOutOfRange); });
  if (!l.createModes) return fail(status, kMsgBadCreateMode);
  for (uint32_t i = 0; i < n; ++i)
    if (!goodCreateMode(item(l.createModes, i)))
      return forField(ids.items[i], status,
                      [](ZQStatusList* s) { return fail(s, kMsgBadCreateMode); });
  if (!l.optionBits) return fail(status, kMsgOptionOutOfRange);
  for (uint32_t i = 0; i < n; ++i) {
    ZQValueStruct* value = item(l.defaults, i);
    const uint32_t type = *item(l.dataTypes, i);
    if (!value) continue;
    rc = forField(ids.items[i], status,
                  [&](ZQStatusList* s) { return checks::checkDefaultValue(value, type, true, s); });
    if (rc >= ZQ_RETURN_ERROR) return rc;
  }
  for (uint32_t i = 0; i < n; ++i) {
    const ZQPermissionList* permissions = item(l.permissions, i);
    const uint32_t type = *item(l.dataTypes, i);
    if (permissions && checks::checkPermissions(permissions, type == ZQ_DATA_TYPE_CONTROL,
                                                status) >= ZQ_RETURN_ERROR)
      return ZQ_RETURN_ERROR;
  }
  for (uint32_t i = 0; i < n; ++i) {
    ZQFieldLimitStruct* limit = item(l.limits, i);
    const uint32_t type = *item(l.dataTypes, i);
    if (!limit) continue;
    rc = forField(ids.items[i], status, [&](ZQStatusList* s) {
      const int r = checks::checkFieldLimit(limit, s);
      return r >= ZQ_RETURN_ERROR ? r : checks::checkLimitMatchesType(limit, type, s);
    });
    if (rc >= ZQ_RETURN_ERROR) return rc;
  }
  if ((rc = checkDisplays(l, n, status)) >= ZQ_RETURN_ERROR) return rc;
  return checkOwners(l, n, status);
}

// The checks of ZQSetMultipleFields after the control record, the form and
// the test for anything to change.
int checkSet(const ZQInternalIdList& ids, const Lists& l, ZQStatusList* status) {
  const uint32_t n = ids.count;
  int rc = checkNames(l, n, status);
  if (rc < ZQ_RETURN_ERROR) rc = checkMappings(l, n, status);
  for (uint32_t i = 0; rc < ZQ_RETURN_ERROR && i < n; ++i) {
    const uint32_t* option = item(l.options, i);
    const uint32_t* mode = item(l.createModes, i);
    if (option && !goodOption(option))
      rc = forField(ids.items[i], status,
                    [](ZQStatusList* s) { return fail(s, kMsgOptionOutOfRange); });
    else if (mode && !goodCreateMode(mode))
      rc = forField(ids.items[i], status,
                    [](ZQStatusList* s) { return fail(s, kMsgBadCreateMode); });
  }
  // A default is measured against its own type: a set does not know the
  // field's.
  for (uint32_t i = 0; rc < ZQ_RETURN_ERROR && i < n; ++i) {
    ZQValueStruct* value = item(l.defaults, i);
    if (value)
      rc = forField(ids.items[i], status, [&](ZQStatusList* s) {
        return checks::checkDefaultValue(value, value->dataType, false, s);
      });
  }
  for (uint32_t i = 0; rc < ZQ_RETURN_ERROR && i < n; ++i)
    rc = checks::checkPermissions(item(l.permissions, i), true, status);
  for (uint32_t i = 0; rc < ZQ_RETURN_ERROR && i < n; ++i)
    rc = checks::checkFieldLimit(item(l.limits, i), status);
  if (rc < ZQ_RETURN_ERROR) rc = checkDisplays(l, n, status);
  if (rc < ZQ_RETURN_ERROR) rc = checkOwners(l, n, status);
  return rc;
}

bool anyGiven(const Lists& l) {
  return l.names || l.mappings || l.dataTypes || l.options || l.createModes || l.optionBits ||
         l.defaults || l.permissions || l.limits || l.displays || l.helpTexts || l.owners ||
         l.diaries;
}

// The lists into a request, borrowed; absent ones travel empty.
void fillLists(transport::FieldLists& out, const Lists& l) {
  if (l.names) out.names = *l.names;
  if (l.mappings) out.mappings = *l.mappings;
  if (l.dataTypes) out.dataTypes = *l.dataTypes;
  if (l.options) out.options = *l.options;
  if (l.createModes) out.createModes = *l.createModes;
  if (l.optionBits) out.optionBits = *l.optionBits;
  if (l.defaults) out.defaults = *l.defaults;
  if (l.permissions) out.permissions = *l.permissions;
  if (l.limits) out.limits = *l.limits;
  if (l.displays) out.displays = *l.displays;
  if (l.helpTexts) out.helpTexts = *l.helpTexts;
  if (l.owners) out.owners = *l.owners;
  if (l.diaries) out.diaries = *l.diaries;
}

template <class P, class... A>
void recordLists(Call<P>& call, diag::Command command, const Lists& l, const A&... head) {
  call.record(command, head..., diag::described(l.names), diag::described(l.mappings),
              diag::described(l.dataTypes), diag::described(l.options),
              diag::described(l.createModes), diag::described(l.optionBits),
              diag::describedItems(l.defaults), diag::describedItems(l.permissions),
              diag::describedItems(l.limits), diag::describedItems(l.displays),
              diag::described(l.helpTexts), diag::described(l.owners), diag::described(l.diaries));
}

// The checks both calls start with: the ids, the list lengths, the control
// record and the form.
template <class P>
bool refusedStart(Call<P>& call, const char* form, const ZQInternalIdList* ids,
                  const ZQUnsignedIntList* flags, const Lists& l) {
  if (!call) return true;
  if (!ids || ids->count == 0 || !ids->items) return call.refused(call.fail(kMsgIdMissing));
  if (!listsFit(l, flags, ids->count)) return call.refused(call.fail(kMsgFieldListLengths));
  return call.refusedControl() || call.refused(ZQCheckName(form, 0, call.status()));
}

}  // namespace
}  // namespace zq::calls

using namespace zq;
using namespace zq::calls;

extern "C" {

int ZQCreateMultipleFields(ZQControlStruct* control, const char* form, ZQInternalIdList* fieldIds,
                           ZQUnsignedIntList* reservedIdOk, ZQNamePtrList* names,
                           ZQFieldMappingPtrList* mappings, ZQUnsignedIntPtrList* dataTypes,
                           ZQUnsignedIntPtrList* options, ZQUnsignedIntPtrList* createModes,
                           ZQUnsignedIntPtrList* optionBits, ZQValuePtrList* defaults,
                           ZQPermissionListPtrList* permissions, ZQFieldLimitPtrList* limits,
                           ZQDisplayInstanceListPtrList* displays, ZQTextStringList* helpTexts,
                           ZQAccessNamePtrList* owners, ZQTextStringList* changeDiaries,
                           ZQStatusList* status) {
  const Lists lists{names,      mappings, dataTypes,    options, createModes,
                    optionBits, defaults, permissions,  limits,  displays,
                    helpTexts,  owners,   changeDiaries};
  Call<proc::CreateMultipleFields> call(control, status);
  if (refusedStart(call, form, fieldIds, reservedIdOk, lists) ||
      call.refused(checkCreate(*fieldIds, reservedIdOk, lists, status)))
    return call.rc();
  recordLists(call, diag::Command::CreateMultipleFields, lists, form, fieldIds, reservedIdOk);
  if (call.bind()) {
    auto& a = call.args();
    a.form = const_cast<char*>(form);
    a.fieldIds = *fieldIds;
    a.reservedIdOk = *reservedIdOk;
    fillLists(a.fields, lists);
    call.send();
  }
  return call.finish();
}

int ZQSetMultipleFields(ZQControlStruct* control, const char* form, ZQInternalIdList* fieldIds,
                        ZQNamePtrList* names, ZQFieldMappingPtrList* mappings,
                        ZQUnsignedIntPtrList* dataTypes, ZQUnsignedIntPtrList* options,
                        ZQUnsignedIntPtrList* createModes, ZQUnsignedIntPtrList* optionBits,
                        ZQValuePtrList* defaults, ZQPermissionListPtrList* permissions,
                        ZQFieldLimitPtrList* limits, ZQDisplayInstanceListPtrList* displays,
                        ZQTextStringList* helpTexts, ZQAccessNamePtrList* owners,
                        ZQTextStringList* changeDiaries, ZQUnsignedIntList* setOptions,
                        ZQStatusListList* fieldStatus, ZQStatusList* status) {
  if (fieldStatus) *fieldStatus = ZQStatusListList{0, nullptr};
  const Lists lists{names,      mappings, dataTypes,    options, createModes,
                    optionBits, defaults, permissions,  limits,  displays,
                    helpTexts,  owners,   changeDiaries};
  Call<proc::SetMultipleFields> call(control, status);
  if (refusedStart(call, form, fieldIds, nullptr, lists)) return call.rc();
  if (!anyGiven(lists)) return defs::nothingToChange(call);
  if (call.refused(checkSet(*fieldIds, lists, status)) ||
      call.refused(checks::checkItems(setOptions, status)))
    return call.rc();
  if (!fieldStatus) return call.fail(kMsgNoFieldStatusOutput);
  recordLists(call, diag::Command::SetMultipleFields, lists, form, fieldIds);
  if (call.bind()) {
    auto& a = call.args();
    a.form = const_cast<char*>(form);
    a.fieldIds = *fieldIds;
    fillLists(a.fields, lists);
    if (setOptions) a.setOptions = *setOptions;
    if (auto* reply = call.send()) defs::take(fieldStatus, reply->fieldStatus);
  }
  return call.finish();
}

}  // extern "C"
