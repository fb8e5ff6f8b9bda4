#include "calls/definition_checks.h"

#include <cstring>
#include <string>

#include "calls/checks.h"
#include "frame/frame.h"
#include "zqapi/zq_free.h"

namespace zq::checks {
namespace {

constexpr size_t kMaxName = 254;
constexpr size_t kMaxServerName = 64;
constexpr size_t kMaxPattern = 255;
constexpr size_t kMaxDefaultText = 255;
constexpr uint32_t kMaxPermission = 2;
constexpr uint32_t kMaxRows = 9999;
constexpr uint32_t kMaxColumnDisplay = 255;
constexpr uint32_t kMaxDataSource = 4;
constexpr uint32_t kMaxAttachSize = 2147483647u;
constexpr uint32_t kMaxMinute = 59;
constexpr uint32_t kArchiveDelete = 0x02;  // archive by deleting the entries

// Length as the server counts it, never less than the bytes themselves.
size_t serverLength(const char* text) {
  const size_t bytes = strlen(text);
  const size_t counted = ZQServerTextLength(text);
  return counted > bytes ? counted : bytes;
}

// A fixed-width buffer as a terminated text; false when it has no terminator.
bool terminated(const char* buf, size_t width, std::string& out) {
  const size_t n = strnlen(buf, width);
  out.assign(buf, n);
  return n < width;
}

int fail(ZQStatusList* status, int32_t message) {
  return addError(status, message);
}

// A check run for its verdict only: its messages are dropped.
template <class F>
bool passesQuietly(F&& check) {
  ZQStatusList scratch{0, nullptr};
  const int rc = check(&scratch);
  FreeZQStatusList(&scratch, 0);
  return rc < ZQ_RETURN_ERROR;
}

bool mustBeNull(uint32_t dataType) {
  return dataType == ZQ_DATA_TYPE_ATTACH || dataType == ZQ_DATA_TYPE_TABLE ||
         dataType == ZQ_DATA_TYPE_COLUMN || dataType == ZQ_DATA_TYPE_VIEW;
}

// An external name of a view or vendor mapping: present and not too long.
bool goodExternalName(const ZQNameType& name) {
  std::string text;
  return terminated(name, sizeof name, text) && !text.empty() &&
         serverLength(text.c_str()) <= kMaxName;
}

int checkCharacterLimits(ZQCharacterLimits& c, ZQStatusList* status) {
  std::string menu;
  if ((c.menuStyle != 1 && c.menuStyle != 2) || c.fullTextOptions > 3 || c.qbeMatchOperation < 1 ||
      c.qbeMatchOperation > 3 || !terminated(c.characterMenu, sizeof c.characterMenu, menu) ||
      serverLength(menu.c_str()) > kMaxName || c.lengthUnits > 1 || c.storageOption > 3)
    return fail(status, kMsgBadFieldLimit);
  // A null pattern travels empty; the caller's limit is left as it is (a
  // block put into it here would be the caller's to release, unknowingly).
  if (c.pattern && serverLength(c.pattern) > kMaxPattern) return fail(status, kMsgBadFieldLimit);
  return ZQ_RETURN_OK;
}

int checkEnumLimits(ZQEnumeratedLimits& e, ZQStatusList* status) {
  switch (e.enumKind) {
    case ZQ_ENUM_STYLE_REGULAR:
      return checkNameList(&e.u.values, false, status);
    case ZQ_ENUM_STYLE_CUSTOM: {
      const ZQEnumItemList& items = e.u.customValues;
      if (items.count == 0) return fail(status, kMsgNameListEmpty);
      if (!items.items) return fail(status, kMsgCountWithoutItems);
      for (uint32_t i = 0; i < items.count; ++i) {
        std::string name;
        const bool whole = terminated(items.items[i].itemName, sizeof(ZQNameType), name);
        int32_t message = 0;
        if (name.empty())
          message = kMsgNameRequired;
        else if (!whole || serverLength(name.c_str()) > kMaxName)
          message = kMsgTooLong;
        if (message) {
          fail(status, message);
          return fail(status, kMsgBadNameInList);
        }
      }
      return ZQ_RETURN_OK;
    }
    case ZQ_ENUM_STYLE_QUERY: {
      ZQEnumeratedQuery& q = e.u.query;
      int rc = checkFixedName(q.schemaName, sizeof q.schemaName, false, status);
      if (rc < ZQ_RETURN_ERROR)
        rc = checkServerName(q.serverName, sizeof q.serverName, false, status);
      if (rc < ZQ_RETURN_ERROR) rc = checkQualifier(&q.qualifier, true, status);
      return rc;
    }
    default:
      return fail(status, kMsgBadEnumKind);
  }
}

int checkTableLimits(ZQTableFieldLimits& t, ZQStatusList* status) {
  int rc = checkFixedName(t.schemaName, sizeof t.schemaName, false, status);
  if (rc < ZQ_RETURN_ERROR) rc = checkServerName(t.serverName, sizeof t.serverName, false, status);
  if (rc < ZQ_RETURN_ERROR) rc = checkQualifier(&t.qualifier, true, status);
  if (rc < ZQ_RETURN_ERROR && t.maxRowsToRetrieve > kMaxRows) rc = fail(status, kMsgBadFieldLimit);
  if (rc < ZQ_RETURN_ERROR)
    rc = checkFixedName(t.sampleSchemaName, sizeof t.sampleSchemaName, true, status);
  if (rc < ZQ_RETURN_ERROR)
    rc = checkServerName(t.sampleServerName, sizeof t.sampleServerName, true, status);
  return rc;
}

bool givenText(const char* s) {
  return s && *s;
}

}  // namespace

int checkFixedName(const char* name, size_t width, bool emptyAllowed, ZQStatusList* status) {
  std::string text;
  if (!terminated(name, width, text)) return fail(status, kMsgTooLong);
  return ZQCheckName(text.c_str(), emptyAllowed, status);
}

int checkServerName(const char* name, size_t width, bool emptyAllowed, ZQStatusList* status) {
  std::string text;
  const bool whole = terminated(name, width, text);
  if (text.empty()) return emptyAllowed ? ZQ_RETURN_OK : fail(status, kMsgNameRequired);
  if (!whole || serverLength(text.c_str()) > kMaxServerName) return fail(status, kMsgTooLong);
  return ZQ_RETURN_OK;
}

int checkProperties(ZQPropList* properties, ZQStatusList* status) {
  if (!properties || properties->count == 0) return ZQ_RETURN_OK;
  if (!properties->items) return fail(status, kMsgCountWithoutItems);
  for (uint32_t i = 0; i < properties->count; ++i) {
    const int rc = checkValue(&properties->items[i].value, status);
    if (rc >= ZQ_RETURN_ERROR) return rc;
  }
  return ZQ_RETURN_OK;
}

int checkPermissions(const ZQPermissionList* permissions, bool emptyAllowed, ZQStatusList* status) {
  if (!permissions) return ZQ_RETURN_OK;
  if (permissions->count == 0)
    return emptyAllowed ? ZQ_RETURN_OK : addWarning(status, kMsgEmptyPermissions);
  if (!permissions->items) return fail(status, kMsgCountWithoutItems);
  for (uint32_t i = 0; i < permissions->count; ++i) {
    if (permissions->items[i].permissions > kMaxPermission) {
      fail(status, kMsgBadPermission);
      return fail(status, kMsgBadPermissionList);
    }
  }
  return ZQ_RETURN_OK;
}

int checkIndexes(const ZQIndexList* indexes, ZQStatusList* status) {
  if (!indexes || indexes->count == 0) return ZQ_RETURN_OK;
  if (!indexes->items) return fail(status, kMsgCountWithoutItems);
  for (uint32_t i = 0; i < indexes->count; ++i) {
    const uint32_t n = indexes->items[i].numberOfFields;
    if (n == 0 || n > ZQ_MAX_INDEX_FIELDS) return fail(status, kMsgBadIndex);
  }
  return ZQ_RETURN_OK;
}

int checkSchemaKind(ZQCompoundSchema* kind, bool noneMeansUnchanged, ZQStatusList* status) {
  if (!kind || kind->schemaType == ZQ_SCHEMA_NONE)
    return noneMeansUnchanged ? ZQ_RETURN_OK : fail(status, kMsgSchemaTypeMissing);
  switch (kind->schemaType) {
    case ZQ_SCHEMA_REGULAR:
    case ZQ_SCHEMA_VIEW:
    case ZQ_SCHEMA_DIALOG:
    case ZQ_SCHEMA_VENDOR:
      return ZQ_RETURN_OK;
    case ZQ_SCHEMA_JOIN: {
      ZQJoinSchema& join = kind->u.join;
      auto member = [](const ZQNameType& name) {
        return passesQuietly(
            [&](ZQStatusList* s) { return checkFixedName(name, sizeof name, false, s); });
      };
      if (!member(join.joinMemberA) || !member(join.joinMemberB))
        return fail(status, kMsgBadJoinMembers);
      if (!passesQuietly(
              [&](ZQStatusList* s) { return checkQualifier(&join.joinQualifier, true, s); }))
        return fail(status, kMsgBadJoinQualifier);
      return ZQ_RETURN_OK;
    }
    default:
      return fail(status, kMsgBadSchemaType);
  }
}

int32_t scheduleMessage(int32_t monthday, int32_t weekday, int32_t hourmask, uint32_t minute) {
  if (monthday == 0 && weekday == 0) return kMsgNoScheduleDay;
  if (hourmask == 0) return kMsgNoScheduleHour;
  if (minute > kMaxMinute) return kMsgBadScheduleMinute;
  return 0;
}

int checkArchive(const ZQArchiveInfoStruct* archive, ZQStatusList* status) {
  if (!archive) return ZQ_RETURN_OK;
  if (archive->archiveType == 0) {
    // Settings without a type must not look like a schedule in force.
    const bool scheduled = archive->enable && archive->hourmask && archive->minute &&
                           archive->monthday && archive->weekday && archive->qualifier.operation;
    return scheduled ? fail(status, kMsgBadArchive) : ZQ_RETURN_OK;
  }
  if (!(archive->archiveType & (ZQ_ARCHIVE_FORM | kArchiveDelete)))
    return fail(status, kMsgBadArchive);
  if ((archive->archiveType & ZQ_ARCHIVE_FORM) && archive->u.formName[0] == '\0')
    return fail(status, kMsgArchiveFormMissing);
  const int32_t message =
      scheduleMessage(archive->monthday, archive->weekday, archive->hourmask, archive->minute);
  return message ? fail(status, message) : ZQ_RETURN_OK;
}

int checkFieldLimit(ZQFieldLimitStruct* limit, ZQStatusList* status) {
  if (!limit) return ZQ_RETURN_OK;
  bool ok = true;
  switch (limit->dataType) {
    case ZQ_DATA_TYPE_NULL:
    case ZQ_DATA_TYPE_TIME:
    case ZQ_DATA_TYPE_TIME_OF_DAY:
    case ZQ_DATA_TYPE_VIEW:
      break;
    case ZQ_DATA_TYPE_INTEGER:
      ok = limit->u.intLimits.lowRange <= limit->u.intLimits.highRange;
      break;
    case ZQ_DATA_TYPE_REAL: {
      const ZQRealLimits& r = limit->u.realLimits;
      ok = r.lowRange <= r.highRange && r.precision >= -1;
      break;
    }
    case ZQ_DATA_TYPE_CHAR:
      return checkCharacterLimits(limit->u.charLimits, status);
    case ZQ_DATA_TYPE_DIARY:
      ok = limit->u.diaryLimits.fullTextOptions <= 1;
      break;
    case ZQ_DATA_TYPE_ENUM:
      return checkEnumLimits(limit->u.enumLimits, status);
    case ZQ_DATA_TYPE_BITMASK:
      return checkEnumLimits(limit->u.maskLimits, status);
    case ZQ_DATA_TYPE_DECIMAL: {
      const ZQDecimalLimits& d = limit->u.decimalLimits;
      ok = givenText(d.lowRange) && givenText(d.highRange) && d.precision >= 0;
      break;
    }
    case ZQ_DATA_TYPE_CURRENCY: {
      const ZQCurrencyFieldLimits& c = limit->u.currencyLimits;
      ok = givenText(c.lowRange) && givenText(c.highRange) && c.precision >= 0;
      break;
    }
    case ZQ_DATA_TYPE_ATTACH: {
      const ZQAttachLimits& a = limit->u.attachLimits;
      ok = a.maximumSize <= kMaxAttachSize && a.attachType == ZQ_ATTACH_EMBEDDED &&
           a.fullTextOptions <= 1;
      break;
    }
    case ZQ_DATA_TYPE_DATE:
      ok = limit->u.dateLimits.minimumDate <= limit->u.dateLimits.maximumDate;
      break;
    case ZQ_DATA_TYPE_TABLE:
      return checkTableLimits(limit->u.tableLimits, status);
    case ZQ_DATA_TYPE_COLUMN:
      if (limit->u.columnLimits.lengthToDisplay > kMaxColumnDisplay)
        return fail(status, kMsgBadFieldLimit);
      if (limit->u.columnLimits.dataSource > kMaxDataSource)
        return fail(status, kMsgOptionOutOfRange);
      break;
    case ZQ_DATA_TYPE_DISPLAY:
      // The display limit's own length units, by the rule of character limits.
      ok = limit->u.displayLimits.lengthUnits <= 1;
      break;
    default:
      ok = false;
      break;
  }
  return ok ? ZQ_RETURN_OK : fail(status, kMsgBadFieldLimit);
}

int checkLimitMatchesType(const ZQFieldLimitStruct* limit, uint32_t dataType,
                          ZQStatusList* status) {
  if (!limit || limit->dataType == ZQ_DATA_TYPE_NULL || limit->dataType == dataType)
    return ZQ_RETURN_OK;
  return fail(status, kMsgLimitTypeMismatch);
}

int checkFieldMapping(const ZQFieldMappingStruct* mapping, ZQStatusList* status) {
  if (!mapping) return ZQ_RETURN_OK;
  switch (mapping->fieldType) {
    case ZQ_FIELD_MAPPING_NONE:
    case ZQ_FIELD_MAPPING_REGULAR:
      return ZQ_RETURN_OK;
    case ZQ_FIELD_MAPPING_JOIN:
      return mapping->u.join.schemaIndex <= 1 ? ZQ_RETURN_OK : fail(status, kMsgBadJoinMemberIndex);
    case ZQ_FIELD_MAPPING_VIEW:
      return goodExternalName(mapping->u.view.externalFieldName) ? ZQ_RETURN_OK
                                                                 : fail(status, kMsgBadViewColumn);
    case ZQ_FIELD_MAPPING_VENDOR:
      return goodExternalName(mapping->u.vendor.externalFieldName)
                 ? ZQ_RETURN_OK
                 : fail(status, kMsgBadExternalFieldName);
    default:
      return fail(status, kMsgBadMappingType);
  }
}

int checkDefaultValue(ZQValueStruct* value, uint32_t dataType, bool compareType,
                      ZQStatusList* status) {
  if (!value) return ZQ_RETURN_OK;
  if (dataType && mustBeNull(dataType)) {
    if (value->dataType != ZQ_DATA_TYPE_NULL) return fail(status, kMsgBadDefaultValue);
  } else if (!passesQuietly([&](ZQStatusList* s) { return checkValue(value, s); })) {
    return fail(status, kMsgBadDefaultValue);
  }
  if ((value->dataType == ZQ_DATA_TYPE_CHAR || value->dataType == ZQ_DATA_TYPE_DISPLAY) &&
      value->u.charValue && serverLength(value->u.charValue) > kMaxDefaultText)
    return fail(status, kMsgDefaultTooLong);
  if (compareType && value->dataType != ZQ_DATA_TYPE_NULL &&
      value->dataType != ZQ_DATA_TYPE_KEYWORD && value->dataType != dataType)
    return fail(status, kMsgDefaultTypeMismatch);
  return ZQ_RETURN_OK;
}

int checkDisplayInstances(ZQDisplayInstanceList* displays, ZQStatusList* status) {
  if (!displays) return ZQ_RETURN_OK;
  int rc = checkProperties(&displays->commonProperties, status);
  if (rc >= ZQ_RETURN_ERROR) return rc;
  if (displays->count && !displays->items) return fail(status, kMsgCountWithoutItems);
  for (uint32_t i = 0; i < displays->count; ++i) {
    rc = checkProperties(&displays->items[i].properties, status);
    if (rc >= ZQ_RETURN_ERROR) return rc;
    for (uint32_t j = 0; j < i; ++j)
      if (displays->items[j].vuiId == displays->items[i].vuiId)
        return fail(status, kMsgDuplicateDisplayView);
  }
  return ZQ_RETURN_OK;
}

}  // namespace zq::checks
