// The field table of the qualification language, read from the server: the
// fields of a form with their types, the names they are known by (labels
// of the chosen view, else names) and the names of enumeration values.
#include <cstring>
#include <string>

#include "calls/qualification.h"
#include "frame/frame.h"
#include "zqapi/zq_definitions.h"
#include "zqapi/zq_free.h"

namespace zq::calls {
namespace {

// Moves the messages of a nested call into the caller's list.
void absorb(ZQStatusList* into, ZQStatusList& from) {
  ZQStatusList merged{0, nullptr};
  mergeStatusLists(into, &from, &merged);
  *into = merged;
}

// The view chosen: the one named label, else the form's first view (0:
// the form has none).
ZQInternalId chooseView(ZQControlStruct* control, const char* form, const char* label,
                        ZQStatusList* status) {
  ZQInternalIdList ids{0, nullptr};
  ZQStatusList s{0, nullptr};
  ZQGetListVUI(control, form, 0, &ids, &s);
  absorb(status, s);
  ZQInternalId chosen = ids.count > 0 ? ids.items[0] : 0;
  if (label && *label) {
    for (uint32_t i = 0; i < ids.count; ++i) {
      ZQNameType name{};
      ZQStatusList vs{0, nullptr};
      const int rc = ZQGetVUI(control, form, ids.items[i], name, nullptr, nullptr, nullptr, nullptr,
                              nullptr, nullptr, nullptr, nullptr, &vs);
      FreeZQStatusList(&vs, 0);
      if (rc < ZQ_RETURN_ERROR && strcmp(name, label) == 0) {
        chosen = ids.items[i];
        break;
      }
    }
  }
  FreeZQInternalIdList(&ids, 0);
  return chosen;
}

const char* labelIn(const ZQPropList& props) {
  for (uint32_t i = 0; i < props.count; ++i) {
    const ZQPropStruct& p = props.items[i];
    if (p.propertyTag == ZQ_DPROP_LABEL && p.value.dataType == ZQ_DATA_TYPE_CHAR &&
        p.value.u.charValue && *p.value.u.charValue)
      return p.value.u.charValue;
  }
  return nullptr;
}

// The label of the chosen view, else the name.
std::string nameIn(const char* name, const ZQDisplayInstanceList* displays, ZQInternalId view) {
  if (displays) {
    for (uint32_t i = 0; i < displays->count; ++i)
      if (displays->items[i].vuiId == view)
        if (const char* label = labelIn(displays->items[i].properties)) return label;
  }
  return name;
}

void enumValues(const ZQFieldLimitStruct* limit, qualify::Field& f) {
  if (!limit || limit->dataType != ZQ_DATA_TYPE_ENUM) return;
  const ZQEnumeratedLimits& e = limit->u.enumLimits;
  if (e.enumKind == ZQ_ENUM_STYLE_REGULAR) {
    for (uint32_t i = 0; i < e.u.values.count; ++i) f.values.push_back({e.u.values.items[i], i});
  } else if (e.enumKind == ZQ_ENUM_STYLE_CUSTOM) {
    for (uint32_t i = 0; i < e.u.customValues.count; ++i)
      f.values.push_back(
          {e.u.customValues.items[i].itemName, e.u.customValues.items[i].itemNumber});
  }
}

// All fields in one request. False when the request failed.
bool readAll(ZQControlStruct* control, const char* form, ZQInternalIdList& ids, ZQInternalId view,
             qualify::FieldTable& table, ZQStatusList* status) {
  ZQBooleanList exists{0, nullptr};
  ZQInternalIdList got{0, nullptr};
  ZQNameList names{0, nullptr};
  ZQUnsignedIntList types{0, nullptr};
  ZQFieldLimitList limits{0, nullptr};
  ZQDisplayInstanceListList displays{0, nullptr};
  ZQStatusList s{0, nullptr};
  const int rc = ZQGetMultipleFields(control, form, &ids, &exists, &got, &names, nullptr, &types,
                                     nullptr, nullptr, nullptr, nullptr, nullptr, &limits,
                                     &displays, nullptr, nullptr, nullptr, nullptr, nullptr, &s);
  const bool ok = rc < ZQ_RETURN_ERROR && names.count == ids.count && types.count == ids.count;
  if (ok) {
    absorb(status, s);
    for (uint32_t i = 0; i < ids.count; ++i) {
      if (i < exists.count && !exists.items[i]) continue;
      qualify::Field f;
      f.id = i < got.count ? got.items[i] : ids.items[i];
      f.dataType = types.items[i];
      f.name = nameIn(names.items[i], i < displays.count ? &displays.items[i] : nullptr, view);
      enumValues(i < limits.count ? &limits.items[i] : nullptr, f);
      table.fields.push_back(std::move(f));
    }
  } else {
    FreeZQStatusList(&s, 0);
  }
  FreeZQBooleanList(&exists, 0);
  FreeZQInternalIdList(&got, 0);
  FreeZQNameList(&names, 0);
  FreeZQUnsignedIntList(&types, 0);
  FreeZQFieldLimitList(&limits, 0);
  FreeZQDisplayInstanceListList(&displays, 0);
  return ok;
}

// One request per field, when the bulk request is refused.
int readEach(ZQControlStruct* control, const char* form, const ZQInternalIdList& ids,
             ZQInternalId view, qualify::FieldTable& table, ZQStatusList* status) {
  for (uint32_t i = 0; i < ids.count; ++i) {
    ZQNameType name{};
    uint32_t type = 0;
    ZQFieldLimitStruct limit{};
    ZQDisplayInstanceList displays{};
    ZQStatusList s{0, nullptr};
    const int rc = ZQGetField(control, form, ids.items[i], name, nullptr, &type, nullptr, nullptr,
                              nullptr, nullptr, nullptr, &limit, &displays, nullptr, nullptr,
                              nullptr, nullptr, nullptr, &s);
    if (rc >= ZQ_RETURN_ERROR) {
      absorb(status, s);
      return rc;
    }
    absorb(status, s);
    qualify::Field f;
    f.id = ids.items[i];
    f.dataType = type;
    f.name = nameIn(name, &displays, view);
    enumValues(&limit, f);
    table.fields.push_back(std::move(f));
    FreeZQFieldLimitStruct(&limit, 0);
    FreeZQDisplayInstanceList(&displays, 0);
  }
  return ZQ_RETURN_OK;
}

}  // namespace

int readFieldTable(ZQControlStruct* control, const char* form, const char* viewLabel,
                   qualify::FieldTable& table, ZQStatusList* status) {
  ZQInternalIdList ids{0, nullptr};
  ZQStatusList s{0, nullptr};
  const int rc = ZQGetListField(control, form, 0, ZQ_FIELD_TYPE_DATA, &ids, &s);
  absorb(status, s);
  if (rc >= ZQ_RETURN_ERROR) return rc;
  int result = ZQ_RETURN_OK;
  try {
    const ZQInternalId view = chooseView(control, form, viewLabel, status);
    if (!readAll(control, form, ids, view, table, status)) {
      table.fields.clear();
      result = readEach(control, form, ids, view, table, status);
    }
  } catch (...) {
    result = addError(status, kMsgNoMemory);
  }
  FreeZQInternalIdList(&ids, 0);
  return result;
}

}  // namespace zq::calls
