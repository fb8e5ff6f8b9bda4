// The field calls on one field, the field lists and the deletes:
// ZQGetField, ZQSetField, ZQCreateField, ZQDeleteField,
// ZQDeleteMultipleFields, ZQGetListField and ZQGetMultipleFields.
#include "calls/checks.h"
#include "calls/definition_checks.h"
#include "calls/definitions.h"
#include "diag/diag.h"
#include "diag/record_described.h"
#include "zqapi/zq_definitions.h"

namespace zq::calls {
namespace {

using call::Call;
using defs::Mask;
namespace proc = transport::proc;
namespace wanted = transport::wanted;
namespace changed = transport::changed;

constexpr uint32_t kSetOptionBits = 3;

bool goodOption(uint32_t option) {
  return option >= ZQ_FIELD_OPTION_REQUIRED && option <= ZQ_FIELD_OPTION_DISPLAY;
}
bool goodCreateMode(uint32_t mode) {
  return mode == ZQ_FIELD_OPEN_AT_CREATE || mode == ZQ_FIELD_PROTECTED_AT_CREATE;
}

// The field's parts into a request, the given ones borrowed.
struct FieldInput {
  const char* fieldName;
  ZQFieldMappingStruct* mapping;
  uint32_t* option;
  uint32_t* createMode;
  uint32_t* optionBits;
  ZQValueStruct* defaultValue;
  ZQPermissionList* permissions;
  ZQFieldLimitStruct* limit;
  ZQDisplayInstanceList* displays;
  const char* helpText;
  const char* owner;
  const char* changeDiary;
};

void fillParts(transport::FieldParts& p, const FieldInput& in) {
  copyName(p.fieldName, in.fieldName, sizeof p.fieldName);
  if (in.mapping) p.mapping = *in.mapping;
  if (in.option) p.option = *in.option;
  if (in.createMode) p.createMode = *in.createMode;
  if (in.optionBits) p.optionBits = *in.optionBits;
  if (in.defaultValue) p.defaultValue = *in.defaultValue;
  if (in.permissions) p.permissions = *in.permissions;
  if (in.limit) p.limit = *in.limit;
  if (in.displays) p.displays = *in.displays;
  p.common.helpText = const_cast<char*>(in.helpText);
  copyName(p.common.owner, in.owner, sizeof p.common.owner);
  p.common.changeDiary = const_cast<char*>(in.changeDiary);
}

}  // namespace
}  // namespace zq::calls

using namespace zq;
using namespace zq::calls;

extern "C" {

int ZQGetField(ZQControlStruct* control, const char* form, ZQInternalId fieldId,
               ZQNameType fieldName, ZQFieldMappingStruct* mapping, uint32_t* dataType,
               uint32_t* option, uint32_t* createMode, uint32_t* optionBits,
               ZQValueStruct* defaultValue, ZQPermissionList* permissions,
               ZQFieldLimitStruct* limit, ZQDisplayInstanceList* displays, char** helpText,
               ZQTimestamp* timestamp, ZQAccessNameType owner, ZQAccessNameType lastChanged,
               char** changeDiary, ZQStatusList* status) {
  defs::clearAll(fieldName, mapping, dataType, option, createMode, optionBits, defaultValue,
                 permissions, limit, displays, helpText, timestamp, owner, lastChanged,
                 changeDiary);
  Call<proc::GetField> call(control, status);
  if (!call || call.refusedControl() || call.refused(ZQCheckName(form, 0, status)))
    return call.rc();
  call.record(diag::Command::GetField, form, fieldId);
  if (call.bind()) {
    auto& a = call.args();
    a.form = const_cast<char*>(form);
    a.fieldId = fieldId;
    a.wanted = Mask()(fieldName, wanted::kFieldName)(mapping, wanted::kFieldMapping)(
                   dataType, wanted::kFieldDataType)(option, wanted::kFieldOption)(
                   createMode, wanted::kFieldCreateMode)(optionBits, wanted::kFieldOptionBits)(
                   defaultValue, wanted::kFieldDefault)(permissions, wanted::kFieldPermissions)(
                   limit, wanted::kFieldLimit)(displays, wanted::kFieldDisplays)(
                   helpText, wanted::kFieldHelp)(changeDiary, wanted::kFieldDiary)(
                   owner, wanted::kFieldOwner)(lastChanged, wanted::kFieldLastChanged)
                   .value();
    if (auto* reply = call.send()) {
      transport::FieldParts& f = reply->field;
      defs::takeName(fieldName, f.fieldName, sizeof(ZQNameType));
      defs::take(mapping, f.mapping);
      if (dataType) *dataType = f.dataType;
      if (option) *option = f.option;
      if (createMode) *createMode = f.createMode;
      if (optionBits) *optionBits = f.optionBits;
      defs::take(defaultValue, f.defaultValue);
      defs::take(permissions, f.permissions);
      defs::take(limit, f.limit);
      defs::take(displays, f.displays);
      defs::take(helpText, f.common.helpText);
      if (timestamp) *timestamp = f.common.timestamp;
      defs::takeName(owner, f.common.owner, sizeof(ZQAccessNameType));
      defs::takeName(lastChanged, f.common.lastChanged, sizeof(ZQAccessNameType));
      defs::take(changeDiary, f.common.changeDiary);
    }
  }
  return call.finish(fieldName, mapping, dataType, option, createMode, optionBits, defaultValue,
                     permissions, limit, displays, helpText, timestamp, owner, lastChanged,
                     changeDiary);
}

int ZQSetField(ZQControlStruct* control, const char* form, ZQInternalId fieldId,
               const char* fieldName, ZQFieldMappingStruct* mapping, uint32_t* option,
               uint32_t* createMode, uint32_t* optionBits, ZQValueStruct* defaultValue,
               ZQPermissionList* permissions, ZQFieldLimitStruct* limit,
               ZQDisplayInstanceList* displays, const char* helpText, const char* owner,
               const char* changeDiary, uint32_t setOption, ZQStatusList* status) {
  Call<proc::SetField> call(control, status);
  if (!call || call.refusedControl() || call.refused(ZQCheckName(form, 0, status)))
    return call.rc();
  const uint32_t parts =
      Mask()(fieldName, changed::kFieldName)(option, changed::kFieldOption)(
          createMode, changed::kFieldCreateMode)(defaultValue, changed::kFieldDefault)(
          permissions, changed::kFieldPermissions)(limit, changed::kFieldLimit)(
          displays, changed::kFieldDisplays)(helpText, changed::kFieldHelp)(
          owner, changed::kFieldOwner)(changeDiary, changed::kFieldDiary)(
          mapping, changed::kFieldMapping)(optionBits, changed::kFieldOptionBits)
          .value();
  if (parts == 0) return defs::nothingToChange(call);
  int rc = ZQCheckName(fieldName, 1, status);
  if (rc < ZQ_RETURN_ERROR) rc = checks::checkFieldMapping(mapping, status);
  if (rc < ZQ_RETURN_ERROR && option && !goodOption(*option))
    rc = addError(status, kMsgOptionOutOfRange);
  if (rc < ZQ_RETURN_ERROR && createMode && !goodCreateMode(*createMode))
    rc = addError(status, kMsgBadCreateMode);
  if (rc < ZQ_RETURN_ERROR) rc = checks::checkDefaultValue(defaultValue, 0, false, status);
  if (rc < ZQ_RETURN_ERROR) rc = checks::checkPermissions(permissions, true, status);
  if (rc < ZQ_RETURN_ERROR) rc = checks::checkFieldLimit(limit, status);
  if (rc < ZQ_RETURN_ERROR) rc = checks::checkDisplayInstances(displays, status);
  if (rc < ZQ_RETURN_ERROR) rc = ZQCheckName(owner, 1, status);
  if (call.refused(rc)) return call.rc();
  call.record(diag::Command::SetField, form, fieldId, fieldName, diag::described(mapping),
              diag::optional(option), diag::optional(createMode), diag::optional(optionBits),
              diag::optional(defaultValue), diag::described(permissions), diag::described(limit),
              diag::described(displays), diag::LongText{helpText}, owner,
              diag::LongText{changeDiary}, setOption);
  if (call.bind()) {
    // Both set options at once contradict each other.
    if ((setOption & kSetOptionBits) == kSetOptionBits)
      return call.finishWithError(kMsgTooManyOrConflicting);
    auto& a = call.args();
    a.form = const_cast<char*>(form);
    a.fieldId = fieldId;
    a.changed = parts | ((setOption & kSetOptionBits) << changed::kFieldSetOptionShift);
    fillParts(a.field, FieldInput{fieldName, mapping, option, createMode, optionBits, defaultValue,
                                  permissions, limit, displays, helpText, owner, changeDiary});
    call.send();
  }
  return call.finish();
}

int ZQCreateField(ZQControlStruct* control, const char* form, ZQInternalId* fieldId,
                  uint32_t reservedIdOk, const char* fieldName, ZQFieldMappingStruct* mapping,
                  uint32_t dataType, uint32_t option, uint32_t createMode, uint32_t optionBits,
                  ZQValueStruct* defaultValue, ZQPermissionList* permissions,
                  ZQFieldLimitStruct* limit, ZQDisplayInstanceList* displays, const char* helpText,
                  const char* owner, const char* changeDiary, ZQStatusList* status) {
  Call<proc::CreateField> call(control, status);
  if (!call || call.refusedControl() || call.refused(ZQCheckName(form, 0, status)))
    return call.rc();
  int rc = fieldId ? ZQCheckName(fieldName, 1, status) : addError(status, kMsgIdMissing);
  if (rc < ZQ_RETURN_ERROR) rc = checks::checkFieldMapping(mapping, status);
  if (rc < ZQ_RETURN_ERROR && !defs::isFieldType(dataType)) rc = addError(status, kMsgBadDataType);
  if (rc < ZQ_RETURN_ERROR && !goodOption(option)) rc = addError(status, kMsgOptionOutOfRange);
  if (rc < ZQ_RETURN_ERROR && !goodCreateMode(createMode)) rc = addError(status, kMsgBadCreateMode);
  if (rc < ZQ_RETURN_ERROR) rc = checks::checkDefaultValue(defaultValue, dataType, true, status);
  if (rc < ZQ_RETURN_ERROR) {
    // Only control fields may go without permissions.
    ZQPermissionList none{0, nullptr};
    rc = checks::checkPermissions(permissions ? permissions : &none,
                                  dataType == ZQ_DATA_TYPE_CONTROL, status);
  }
  if (rc < ZQ_RETURN_ERROR) rc = checks::checkFieldLimit(limit, status);
  if (rc < ZQ_RETURN_ERROR) rc = checks::checkLimitMatchesType(limit, dataType, status);
  if (rc < ZQ_RETURN_ERROR) rc = checks::checkDisplayInstances(displays, status);
  if (rc < ZQ_RETURN_ERROR) rc = ZQCheckName(owner, 1, status);
  if (call.refused(rc)) return call.rc();
  call.record(diag::Command::CreateField, form, *fieldId, reservedIdOk, fieldName,
              diag::described(mapping), dataType, option, createMode, optionBits,
              static_cast<const ZQValueStruct*>(defaultValue), diag::described(permissions),
              diag::described(limit), diag::described(displays), diag::LongText{helpText}, owner,
              diag::LongText{changeDiary});
  if (call.bind()) {
    auto& a = call.args();
    a.form = const_cast<char*>(form);
    a.fieldId = *fieldId;
    a.reservedIdOk = reservedIdOk;
    fillParts(a.field,
              FieldInput{fieldName, mapping, &option, &createMode, &optionBits, defaultValue,
                         permissions, limit, displays, helpText, owner, changeDiary});
    a.field.dataType = dataType;
    if (auto* reply = call.send()) {
      if (call.rc() < ZQ_RETURN_ERROR) *fieldId = reply->id;
    }
  }
  return call.finish();
}

int ZQDeleteField(ZQControlStruct* control, const char* form, ZQInternalId fieldId,
                  uint32_t deleteOption, ZQStatusList* status) {
  Call<proc::DeleteField> call(control, status);
  if (!call || call.refusedControl() || call.refused(ZQCheckName(form, 0, status)))
    return call.rc();
  call.record(diag::Command::DeleteField, form, fieldId, deleteOption);
  if (call.bind()) {
    auto& a = call.args();
    a.form = const_cast<char*>(form);
    a.id = fieldId;
    a.option = deleteOption;
    call.send();
  }
  return call.finish();
}

int ZQDeleteMultipleFields(ZQControlStruct* control, const char* form, ZQInternalIdList* fieldIds,
                           uint32_t deleteOption, ZQStatusList* status) {
  Call<proc::DeleteMultipleFields> call(control, status);
  if (!call || call.refusedControl() || call.refused(ZQCheckName(form, 0, status)) ||
      call.refused(checks::checkItems(fieldIds, status)))
    return call.rc();
  call.record(diag::Command::DeleteMultipleFields, form, fieldIds, deleteOption);
  if (call.bind()) {
    auto& a = call.args();
    a.form = const_cast<char*>(form);
    if (fieldIds) a.fieldIds = *fieldIds;
    a.option = deleteOption;
    call.send();
  }
  return call.finish();
}

int ZQGetListField(ZQControlStruct* control, const char* form, ZQTimestamp changedSince,
                   uint32_t fieldType, ZQInternalIdList* fieldIds, ZQStatusList* status) {
  defs::clear(fieldIds);
  Call<proc::GetListField> call(control, status);
  if (!call || call.refusedControl() || call.refused(ZQCheckName(form, 0, status)))
    return call.rc();
  if (!fieldIds) return call.fail(kMsgNoResultOutput);
  call.record(diag::Command::GetListField, form, static_cast<uint32_t>(changedSince), fieldType);
  if (call.bind()) {
    auto& a = call.args();
    a.form = const_cast<char*>(form);
    a.changedSince = changedSince;
    a.fieldType = fieldType;
    if (auto* reply = call.send()) defs::take(fieldIds, reply->ids);
  }
  return call.finish(fieldIds);
}

int ZQGetMultipleFields(ZQControlStruct* control, const char* form, ZQInternalIdList* wantedIds,
                        ZQBooleanList* exists, ZQInternalIdList* fieldIds, ZQNameList* names,
                        ZQFieldMappingList* mappings, ZQUnsignedIntList* dataTypes,
                        ZQUnsignedIntList* options, ZQUnsignedIntList* createModes,
                        ZQUnsignedIntList* optionBits, ZQValueList* defaults,
                        ZQPermissionListList* permissions, ZQFieldLimitList* limits,
                        ZQDisplayInstanceListList* displays, ZQTextStringList* helpTexts,
                        ZQTimestampList* timestamps, ZQAccessNameList* owners,
                        ZQAccessNameList* lastChanged, ZQTextStringList* changeDiaries,
                        ZQStatusList* status) {
  Call<proc::GetMultipleFields> call(control, status);
  if (!call) return call.rc();
  if (!exists) return call.fail(kMsgNoExistsOutput);
  defs::clearAll(exists, fieldIds, names, mappings, dataTypes, options, createModes, optionBits,
                 defaults, permissions, limits, displays, helpTexts, timestamps, owners,
                 lastChanged, changeDiaries);
  if (call.refusedControl() || call.refused(ZQCheckName(form, 0, status)) ||
      call.refused(checks::checkItems(wantedIds, status)))
    return call.rc();
  call.record(diag::Command::GetMultipleFields, form, wantedIds);
  if (call.bind()) {
    namespace w = transport::wanted;
    auto& a = call.args();
    a.form = const_cast<char*>(form);
    if (wantedIds) a.fieldIds = *wantedIds;
    a.wanted = Mask()(exists, w::kMultiFieldExists)(fieldIds, w::kMultiFieldIds)(
                   names, w::kMultiFieldNames)(mappings, w::kMultiFieldMappings)(
                   dataTypes, w::kMultiFieldDataTypes)(options, w::kMultiFieldOptions)(
                   createModes, w::kMultiFieldCreateModes)(optionBits, w::kMultiFieldOptionBits)(
                   defaults, w::kMultiFieldDefaults)(permissions, w::kMultiFieldPermissions)(
                   limits, w::kMultiFieldLimits)(displays, w::kMultiFieldDisplays)(
                   helpTexts, w::kMultiFieldHelp)(timestamps, w::kMultiFieldTimestamps)(
                   owners, w::kMultiFieldOwners)(lastChanged, w::kMultiFieldLastChanged)(
                   changeDiaries, w::kMultiFieldDiaries)
                   .value();
    if (auto* r = call.send()) {
      defs::take(exists, r->exists);
      defs::take(fieldIds, r->ids);
      defs::take(names, r->names);
      defs::take(mappings, r->mappings);
      defs::take(dataTypes, r->dataTypes);
      defs::take(options, r->options);
      defs::take(createModes, r->createModes);
      defs::take(optionBits, r->optionBits);
      defs::take(defaults, r->defaults);
      defs::take(permissions, r->permissions);
      defs::take(limits, r->limits);
      defs::take(displays, r->displays);
      defs::take(helpTexts, r->helpTexts);
      defs::take(timestamps, r->timestamps);
      defs::take(owners, r->owners);
      defs::take(lastChanged, r->lastChanged);
      defs::take(changeDiaries, r->diaries);
    }
  }
  // Each block is named by the returned id, else by the id asked for.
  return call.finish(exists, fieldIds ? fieldIds : wantedIds, names, mappings, dataTypes, options,
                     createModes, optionBits, defaults, permissions, limits, displays, helpTexts,
                     timestamps, owners, lastChanged, changeDiaries);
}

}  // extern "C"
