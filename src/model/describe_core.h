// Descriptions of the core value and list types (zq_types.h).
#pragma once

#include "model/codec.h"
#include "zqapi/zq_free.h"
#include "zqapi/zq_types.h"

namespace zq::model {

// Attachment values travel as tag 49 from version 8 on; memory keeps 11.
inline constexpr uint32_t kWireAttachTag = 49;

inline uint32_t valueWireTag(uint32_t tag, int version) {
  return tag == ZQ_DATA_TYPE_ATTACH && version >= 8 ? kWireAttachTag : tag;
}
inline uint32_t valueMemoryTag(uint32_t wire, int version) {
  return wire == kWireAttachTag && version >= 8 ? uint32_t{ZQ_DATA_TYPE_ATTACH} : wire;
}

// Field id whose entry value reaches the server unconverted.
inline constexpr ZQInternalId kUnconvertedFieldId = 102;

// ---- value payloads --------------------------------------------------------------

template <class V>
void describe(V& v, ZQByteList& s) {
  v.u32(s.type, "type");
  v.byteArray(s.count, s.bytes, "bytes");
}

template <class V>
void describe(V& v, ZQCoordStruct& s) {
  v.i32(s.x, "x");
  v.i32(s.y, "y");
}

template <class V>
void describe(V& v, ZQCoordList& s) {
  list(v, s);
}

template <class V>
void describe(V& v, ZQBufStruct& s) {
  v.bytes(s.size, s.bytes, "bytes");
}

template <class V>
void describe(V& v, ZQLocStruct& s) {
  v.u32(s.locationType, "locationType");
  switch (s.locationType) {
    case 0:
      break;
    case ZQ_LOC_FILENAME:
      v.string(s.u.filename, kUnbounded, "filename");
      break;
    case ZQ_LOC_BUFFER:
      v.member(s.u.buffer, "buffer");
      break;
    default:
      v.badTag();
      if constexpr (V::kPass == Pass::copy) s = ZQLocStruct{};
      break;
  }
}

// Versions 7 to 11 know only buffer locations: the location type, then the
// bytes (one per unit in 7, counted opaque from 8). A file location cannot
// travel there; it must be loaded into a buffer first.
template <class V>
void describeBufferOnlyLocation(V& v, ZQLocStruct& s, bool bytePerUnit) {
  v.u32(s.locationType, "locationType");
  if (s.locationType == ZQ_LOC_BUFFER) {
    if (bytePerUnit)
      v.byteArray(s.u.buffer.size, s.u.buffer.bytes, "buffer");
    else
      v.bytes(s.u.buffer.size, s.u.buffer.bytes, "buffer");
    return;
  }
  if (s.locationType == ZQ_LOC_FILENAME) return v.badTag();
  uint32_t none = 0;
  unsigned char* nothing = nullptr;
  if (bytePerUnit)
    v.byteArray(none, nothing);
  else
    v.bytes(none, nothing);
  if (nothing) {  // bytes without a buffer location
    zq::freeBlock(nothing);
    v.fail();
  }
}

template <class V>
void describeAttachment(V& v, ZQAttachStruct& s, int form) {
  v.string(s.name, 256, "name");
  v.i32(s.originalSize, "originalSize");
  v.i32(s.compressedSize, "compressedSize");
  if (form >= 12)
    v.member(s.location, "location");
  else
    describeBufferOnlyLocation(v, s.location, form == 7);
}

template <class V>
void describe(V& v, ZQAttachStruct& s) {
  describeAttachment(v, s, kNewestVersion);
}

template <class V>
void describe(V& v, ZQFunctionalCurrencyStruct& s) {
  v.string(s.value, kUnbounded, "value");
  v.name(s.currencyCode, "currencyCode");
}

template <class V>
void describe(V& v, ZQFunctionalCurrencyList& s) {
  list(v, s);
}

template <class V>
void describe(V& v, ZQCurrencyStruct& s) {
  v.string(s.value, kUnbounded, "value");
  v.name(s.currencyCode, "currencyCode");
  v.i32(s.conversionDate, "conversionDate");
  v.member(s.functionalCurrencies, "functionalCurrencies");
}

// ---- tagged value ----------------------------------------------------------------

template <class V>
void describe(V& v, ZQValueStruct& s) {
  const int version = v.version();
  const uint32_t wire =
      v.tag(s.dataType, valueWireTag(s.dataType, version), valueMemoryTag, "dataType");
  switch (wire) {
    case ZQ_DATA_TYPE_NULL:
    case ZQ_DATA_TYPE_JOIN:
    case ZQ_DATA_TYPE_TRIM:
    case ZQ_DATA_TYPE_CONTROL:
      break;
    case ZQ_DATA_TYPE_KEYWORD:
      v.u32(s.u.keywordNumber, "keywordNumber");
      break;
    case ZQ_DATA_TYPE_INTEGER:
      v.i32(s.u.integerValue, "integerValue");
      break;
    case ZQ_DATA_TYPE_REAL:
      v.real(s.u.realValue, "realValue");
      break;
    case ZQ_DATA_TYPE_CHAR:
    case ZQ_DATA_TYPE_DIARY:
    case ZQ_DATA_TYPE_DECIMAL:
    case ZQ_DATA_TYPE_VIEW:
    case ZQ_DATA_TYPE_DISPLAY:
      v.string(s.u.charValue, kUnbounded, "charValue");
      break;
    case ZQ_DATA_TYPE_ENUM:
      v.u32(s.u.enumValue, "enumValue");
      break;
    case ZQ_DATA_TYPE_BITMASK:
      v.u32(s.u.bitmaskValue, "bitmaskValue");
      break;
    case ZQ_DATA_TYPE_ULONG:
      v.u32(s.u.ulongValue, "ulongValue");
      break;
    case ZQ_DATA_TYPE_TIME:
      v.i32(s.u.timestampValue, "timestampValue");
      break;
    case ZQ_DATA_TYPE_DATE:
      v.i32(s.u.dateValue, "dateValue");
      break;
    case ZQ_DATA_TYPE_TIME_OF_DAY:
      v.i32(s.u.timeOfDayValue, "timeOfDayValue");
      break;
    case ZQ_DATA_TYPE_BYTES:
      v.pointer(s.u.byteListValue, "byteListValue");
      break;
    case ZQ_DATA_TYPE_CURRENCY:
      v.pointer(s.u.currencyValue, "currencyValue");
      break;
    case ZQ_DATA_TYPE_COORDS:
      v.pointer(s.u.coordListValue, "coordListValue");
      break;
    case ZQ_DATA_TYPE_ATTACH:  // the wire carries 11 only in version 7
      if (version == 7)
        v.pointer(
            s.u.attachmentValue, [](auto& w, ZQAttachStruct& a) { describeAttachment(w, a, 7); },
            "attachmentValue");
      else
        v.badTag();
      break;
    case kWireAttachTag:  // only ever the wire form of 11: a 49 in memory is no value
      if (since(v, 8) && s.dataType == ZQ_DATA_TYPE_ATTACH)
        v.pointer(
            s.u.attachmentValue,
            [version](auto& w, ZQAttachStruct& a) { describeAttachment(w, a, version); },
            "attachmentValue");
      else
        v.badTag();
      break;
    default:  // 35, 36, 37 and unknown tags cannot travel
      v.badTag();
      break;
  }
}

inline void resetFreed(FreeVisitor&, ZQValueStruct& s) {
  s = ZQValueStruct{};
}
inline void resetFreed(FreeVisitor&, ZQLocStruct& s) {
  s.locationType = 0;
}
inline void resetFreed(FreeVisitor&, ZQAttachStruct& s) {
  s.originalSize = 0;
  s.compressedSize = 0;
}

// ---- value lists and id-and-value items ---------------------------------------------

template <class V>
void describe(V& v, ZQValueList& s) {
  list(v, s);
}

template <class V>
void describe(V& v, ZQValueListList& s) {
  list(v, s);
}

template <class V>
void describe(V& v, ZQFieldValueStruct& s) {
  v.u32(s.fieldId, "fieldId");
  v.member(s.value, "value");
}

// The entry-value form of a field value: the value of field 102 reaches the
// server in the client's character set.
template <class V>
void describeEntryValue(V& v, ZQFieldValueStruct& s) {
  v.u32(s.fieldId, "fieldId");
  if (s.fieldId == kUnconvertedFieldId) {
    v.suspend(Suspend::namesWhenEncoding);
    v.member(s.value, "value");
    v.resume(Suspend::namesWhenEncoding);
  } else {
    v.member(s.value, "value");
  }
}

template <class V>
void describe(V& v, ZQFieldValueList& s) {
  list(v, s);
}

// Field value lists of entries (see describeEntryValue).
template <class V>
void describeEntryValues(V& v, ZQFieldValueList& s) {
  list(v, s, [](auto& w, ZQFieldValueStruct& fv) { describeEntryValue(w, fv); });
}

template <class V>
void describe(V& v, ZQFieldValueListList& s) {
  list(v, s);
}

template <class V>
void describe(V& v, ZQServerInfoStruct& s) {
  v.u32(s.operation, "   Server Info Struct:");
  v.member(s.value, "value");
}

template <class V>
void describe(V& v, ZQServerInfoList& s) {
  list(v, s);
}

template <class V>
void describe(V& v, ZQPropStruct& s) {
  v.u32(s.propertyTag, "Property Tag:");
  v.member(s.value, "value");
}
inline void resetFreed(FreeVisitor&, ZQPropStruct& s) {
  s.propertyTag = 0;
}

template <class V>
void describe(V& v, ZQPropList& s) {
  list(v, s);
}

template <class V>
void describe(V& v, ZQPropListList& s) {
  list(v, s);
}

// ---- identifier lists ------------------------------------------------------------------

template <class V>
void describe(V& v, ZQNameList& s) {
  list(v, s, [](auto& w, ZQNameType& n) { w.name(n, NameKind::plain); });
}

template <class V>
void describe(V& v, ZQAccessNameList& s) {
  list(v, s, [](auto& w, ZQAccessNameType& n) { w.name(n, NameKind::access); });
}

template <class V>
void describe(V& v, ZQServerNameList& s) {
  list(v, s, [](auto& w, ZQServerNameType& n) { w.name(n); });
}

template <class V>
void describe(V& v, ZQEntryIdList& s) {
  list(v, s, [](auto& w, ZQEntryIdType& n) { w.name(n); });
}

template <class V>
void describe(V& v, ZQEntryIdListList& s) {
  list(v, s);
}

template <class V>
void describe(V& v, ZQInternalIdList& s) {
  list(v, s, [](auto& w, ZQInternalId& id) { w.u32(id); });
}

template <class V>
void describe(V& v, ZQInternalIdListList& s) {
  list(v, s);
}

template <class V>
void describe(V& v, ZQUnsignedIntList& s) {
  list(v, s, [](auto& w, uint32_t& n) { w.u32(n); });
}

template <class V>
void describe(V& v, ZQBooleanList& s) {
  list(v, s, [](auto& w, ZQBoolean& b) { w.flag(b); });
}

template <class V>
void describe(V& v, ZQBooleanListList& s) {
  list(v, s);
}

template <class V>
void describe(V& v, ZQTimestampList& s) {
  list(v, s, [](auto& w, ZQTimestamp& t) { w.i32(t); });
}

template <class V>
void describe(V& v, ZQTextStringList& s) {
  list(v, s, [](auto& w, char*& text) { w.string(text); });
}

template <class V>
void describe(V& v, ZQNamePtrList& s) {
  v.ptrList(
      s.count, s.items, [](auto& w, ZQNameType& n) { w.name(n, NameKind::plain); }, "items");
}

template <class V>
void describe(V& v, ZQAccessNamePtrList& s) {
  v.ptrList(
      s.count, s.items, [](auto& w, ZQAccessNameType& n) { w.name(n, NameKind::access); }, "items");
}

template <class V>
void describe(V& v, ZQUnsignedIntPtrList& s) {
  v.ptrList(
      s.count, s.items, [](auto& w, uint32_t& n) { w.u32(n); }, "items");
}

// ---- entries -------------------------------------------------------------------------

template <class V>
void describe(V& v, ZQEntryListFieldStruct& s) {
  v.u32(s.fieldId, "fieldId");
  v.u32(s.columnWidth, "columnWidth");
  v.name(s.separator, "separator");
}

template <class V>
void describe(V& v, ZQEntryListFieldList& s) {
  list(v, s);
}

template <class V>
void describe(V& v, ZQEntryListFieldListList& s) {
  list(v, s);
}

template <class V>
void describe(V& v, ZQEntryListStruct& s) {
  v.member(s.entryId, "Entry Id:");
  v.string(s.shortDescription, v.version() <= 7 ? 129 : 255, "Short Description:");
}

template <class V>
void describe(V& v, ZQEntryListList& s) {
  list(v, s);
}

template <class V>
void describe(V& v, ZQEntryListFieldValueStruct& s) {
  v.member(s.entryId, "Entry Id:");
  v.pointer(
      s.fieldValues, [](auto& w, ZQFieldValueList& list) { describeEntryValues(w, list); },
      "fieldValues");
}

template <class V>
void describe(V& v, ZQEntryListFieldValueList& s) {
  list(v, s);
}

template <class V>
void describe(V& v, ZQSortStruct& s) {
  v.u32(s.fieldId, "      Field Id:");
  v.u32(s.sortOrder, "      Sort Order:");
}

template <class V>
void describe(V& v, ZQSortList& s) {
  list(v, s);
}

template <class V>
void describe(V& v, ZQSortListList& s) {
  list(v, s);
}

template <class V>
void describe(V& v, ZQIndexStruct& s) {
  v.u32(s.numberOfFields, "numberOfFields");
  v.u32Array(s.fieldId, ZQ_MAX_INDEX_FIELDS, "fieldId");
  v.flag(s.uniqueFlag, "uniqueFlag");
  if (since(v, 10)) {  // index name and flags arrived with version 10
    v.name(s.indexName, NameKind::plain, "indexName");
    v.u32(s.indexFlags, "indexFlags");
  }
}

template <class V>
void describe(V& v, ZQIndexList& s) {
  list(v, s);
}

template <class V>
void describe(V& v, ZQIndexListList& s) {
  list(v, s);
}

// ---- status history and diary ------------------------------------------------------------

template <class V>
void describe(V& v, ZQStatusHistoryStruct& s) {
  v.name(s.user, NameKind::access, "user");
  v.u32(s.timestamp, "timestamp");
}

template <class V>
void describe(V& v, ZQStatusHistoryList& s) {
  list(v, s);
}

template <class V>
void describe(V& v, ZQDiaryStruct& s) {
  v.name(s.user, NameKind::access, "user");
  v.u32(s.timestamp, "timestamp");
  v.string(s.value, kUnbounded, "value");
}

template <class V>
void describe(V& v, ZQDiaryList& s) {
  list(v, s);
}

// ---- permissions and groups ------------------------------------------------------------

template <class V>
void describe(V& v, ZQPermissionStruct& s) {
  v.u32(s.groupId, "      Group Id:");
  v.u32(s.permissions, "      Permissions:");
}

template <class V>
void describe(V& v, ZQPermissionList& s) {
  list(v, s);
}

template <class V>
void describe(V& v, ZQPermissionListList& s) {
  list(v, s);
}

template <class V>
void describe(V& v, ZQGroupInfoStruct& s) {
  v.u32(s.groupId, "      Group id:");
  v.u32(s.groupType, "      Group type:");
  v.member(s.groupNames, "Group name:");
  if (since(v, 10)) v.u32(s.groupExtra, "groupExtra");
}

template <class V>
void describe(V& v, ZQGroupInfoList& s) {
  list(v, s);
}

// ---- status list --------------------------------------------------------------------------

// Copies give the server-log note 8914 a message buffer of whole 8192-byte
// blocks, so that the log text can be appended to in place.
bool copyStatusMessage(ZQStatusStruct& s);

template <class V>
void describe(V& v, ZQStatusStruct& s) {
  v.u32(s.messageType, "messageType");
  v.i32(s.messageNumber, "messageNumber");
  if constexpr (V::kPass == Pass::copy) {
    if (v.ok()) {
      if (!copyStatusMessage(s)) v.noMemory();
    } else {
      s.message = nullptr;
    }
  } else {
    v.string(s.message, kUnbounded, "message");
  }
  v.string(s.appended, 256, "appended");
}

template <class V>
void describe(V& v, ZQStatusList& s) {
  list(v, s);
}

template <class V>
void describe(V& v, ZQStatusListList& s) {
  list(v, s);
}

// ---- display instances -------------------------------------------------------------------

template <class V>
void describe(V& v, ZQDisplayInstanceStruct& s) {
  v.u32(s.vuiId, "VUI Id:");
  v.member(s.properties, "properties");
}

template <class V>
void describe(V& v, ZQDisplayInstanceList& s) {
  v.member(s.commonProperties, "commonProperties");
  list(v, s, "   VUI Specific Properties:");
}

template <class V>
void describe(V& v, ZQDisplayInstanceListList& s) {
  list(v, s);
}

}  // namespace zq::model
