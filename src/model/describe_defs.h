// Descriptions of the definition, administration and result structures and
// of the queries over several forms (zq_defs.h).
#pragma once

#include <cstring>

#include "model/describe_deflists.h"
#include "model/describe_workflow.h"
#include "zqapi/zq_defs.h"

namespace zq::model {

// ---- workflow connection ----------------------------------------------------------

// A name that travels as a counted text holding the name and its terminator.
template <class V>
void describeCountedName(V& v, ZQNameType& name) {
  if constexpr (V::kPass == Pass::encode || V::kPass == Pass::size) {
    // The terminator travels; a name filling its whole array has none and is cut.
    char text[sizeof(ZQNameType)];
    char* bytes = name;
    size_t n = strnlen(name, sizeof(ZQNameType));
    if (n == sizeof(ZQNameType)) {
      copyName(text, name, sizeof text);
      bytes = text;
      n = strlen(text);
    }
    const uint32_t length = static_cast<uint32_t>(n + 1);
    v.text(length, bytes, "name");
  } else if constexpr (V::kPass == Pass::decode) {
    uint32_t length = 0;
    char* bytes = nullptr;
    v.text(length, bytes, "name");
    if (!v.ok()) return;
    const size_t n = bytes ? strlen(bytes) : 0;
    if (n >= sizeof(ZQNameType)) {
      v.fail();  // longer than a name can hold
    } else {
      memcpy(name, bytes ? bytes : "", n);
      memset(name + n, 0, sizeof(ZQNameType) - n);
    }
    zq::freeBlock(bytes);
  }
}

// The forms of a connection: fixed names in version 7, counted texts from 8.
template <class V>
void describeConnectedForms(V& v, ZQNameList& s) {
  if (v.version() <= 7) return v.member(s, "schemaList");
  list(v, s, [](auto& w, ZQNameType& n) { describeCountedName(w, n); });
}

template <class V>
void describe(V& v, ZQWorkflowConnectStruct& s) {
  v.u32(s.type, "type");
  switch (s.type) {
    case ZQ_WORKFLOW_CONN_NONE:
      break;
    case ZQ_WORKFLOW_CONN_SCHEMA_LIST:
      if constexpr (V::kPass == Pass::copy) {
        // A new list with room to grow, as every copied name list.
        if (!s.schemaList) break;
        const ZQNameList* source = s.schemaList;
        s.schemaList = nullptr;
        if (!v.ok()) break;
        auto* list = static_cast<ZQNameList*>(zq::allocZeroed(1, sizeof(ZQNameList)));
        if (!list || !copyWithSpare(*list, *source, 10)) {
          zq::freeBlock(list);
          v.noMemory();
          break;
        }
        s.schemaList = list;
      } else {
        v.pointer(
            s.schemaList, [](auto& w, ZQNameList& l) { describeConnectedForms(w, l); },
            "schemaList");
      }
      break;
    default:
      v.badTag();
      break;
  }
}
inline void resetFreed(FreeVisitor&, ZQWorkflowConnectStruct& s) {
  s.type = 0;
}

template <class V>
void describe(V& v, ZQWorkflowConnectList& s) {
  list(v, s);
}

// ---- form kind and field mapping ---------------------------------------------------

// A string that only version 7 sends: empty on the way out, dropped on the way in.
template <class V>
void describeVersion7String(V& v) {
  if constexpr (V::kPass == Pass::encode || V::kPass == Pass::size) {
    char* none = nullptr;
    v.string(none);
  } else if constexpr (V::kPass == Pass::decode) {
    char* dropped = nullptr;
    v.string(dropped);
    zq::freeBlock(dropped);
  }
}

// Table names: 256 characters up to version 11, 2048 from 12.
inline size_t tableNameWireWidth(int version) {
  return version <= 11 ? 256 : 2048;
}

template <class V>
void describe(V& v, ZQCompoundSchema& s) {
  const int version = v.version();
  v.u32(s.schemaType, "Compound Schema Info:");
  switch (s.schemaType) {
    case ZQ_SCHEMA_NONE:
    case ZQ_SCHEMA_REGULAR:
    case ZQ_SCHEMA_DIALOG:
      break;
    case ZQ_SCHEMA_JOIN:
      v.name(s.u.join.joinMemberA, NameKind::plain, "   Join member A");
      v.name(s.u.join.joinMemberB, NameKind::plain, "   Join member B");
      v.member(s.u.join.joinQualifier, "joinQualifier");
      v.u32(s.u.join.joinOption, "   Join option");
      break;
    case ZQ_SCHEMA_VIEW:
      v.chars(s.u.view.viewTableName, sizeof s.u.view.viewTableName, tableNameWireWidth(version),
              "   View table name");
      if (version <= 7) describeVersion7String(v);
      v.name(s.u.view.extraName, NameKind::plain, "extraName");
      break;
    case ZQ_SCHEMA_VENDOR:
      v.name(s.u.vendor.vendorName, NameKind::plain, "   Vendor name");
      v.chars(s.u.vendor.vendorTableName, sizeof s.u.vendor.vendorTableName,
              tableNameWireWidth(version), "   Vendor table name");
      break;
    default:
      v.badTag();
      break;
  }
}
inline void resetFreed(FreeVisitor&, ZQCompoundSchema& s) {
  s.schemaType = 0;
}

template <class V>
void describe(V& v, ZQCompoundSchemaList& s) {
  list(v, s);
}

template <class V>
void describe(V& v, ZQFieldMappingStruct& s) {
  v.u32(s.fieldType, "   Type:");
  switch (s.fieldType) {
    case ZQ_FIELD_MAPPING_NONE:
    case ZQ_FIELD_MAPPING_REGULAR:
      break;
    case ZQ_FIELD_MAPPING_JOIN:
      v.u32(s.u.join.schemaIndex, "   Schema Index:");
      v.u32(s.u.join.fieldId, "   Field Id:");
      break;
    case ZQ_FIELD_MAPPING_VIEW:
      v.name(s.u.view.externalFieldName, NameKind::plain, "   External Field Name:");
      break;
    case ZQ_FIELD_MAPPING_VENDOR:  // arrived with 8
      if (since(v, 8))
        v.name(s.u.vendor.externalFieldName, NameKind::plain, "   External Field Name:");
      else
        v.badTag();
      break;
    case ZQ_FIELD_MAPPING_INHERITED:  // arrived with 10
      if (since(v, 10)) {
        v.name(s.u.inherited.externalFieldName, NameKind::plain, "   External Field Name:");
        v.u32(s.u.inherited.word1, "word1");
        v.u32(s.u.inherited.word2, "word2");
      } else {
        v.badTag();
      }
      break;
    default:
      v.badTag();
      break;
  }
}

template <class V>
void describe(V& v, ZQFieldMappingList& s) {
  list(v, s);
}

template <class V>
void describe(V& v, ZQFieldMappingPtrList& s) {
  v.ptrList(
      s.count, s.items, [](auto& w, ZQFieldMappingStruct& m) { describe(w, m); }, "items");
}

// ---- inheritance ------------------------------------------------------------------------

template <class V>
void describe(V& v, ZQDataMappingInfoStruct& s) {
  v.u32(s.mappingType, "mappingType");
  v.name(s.sourceName, NameKind::plain, "sourceName");
  v.name(s.targetName, NameKind::plain, "targetName");
  v.member(s.fieldIds, "fieldIds");
  v.u32(s.word1, "word1");
  v.u32(s.word2, "word2");
  v.u32(s.word3, "word3");
}
inline void resetFreed(FreeVisitor&, ZQDataMappingInfoStruct& s) {
  s = ZQDataMappingInfoStruct{};
}

template <class V>
void describe(V& v, ZQDataMappingInfoList& s) {
  list(v, s);
}

template <class V>
void describe(V& v, ZQSchemaInheritanceStruct& s) {
  v.name(s.schemaName, NameKind::plain, "schemaName");
  v.flag(s.flag, "flag");
  v.u32(s.inheritanceType, "inheritanceType");
  v.member(s.dataMappingList, "dataMappingList");
}
inline void resetFreed(FreeVisitor&, ZQSchemaInheritanceStruct& s) {
  s = ZQSchemaInheritanceStruct{};
}

template <class V>
void describe(V& v, ZQSchemaInheritanceList& s) {
  list(v, s);
}

template <class V>
void describe(V& v, ZQSchemaInheritanceListList& s) {
  list(v, s);
}

// ---- archiving and auditing ----------------------------------------------------------------

// Which member of the destination union an archive holds. A form wins over a
// path when both bits are set, so that a union holding a name is never
// released as a string.
inline bool archiveHoldsForm(uint32_t type) {
  return (type & (ZQ_ARCHIVE_FORM | ZQ_ARCHIVE_SELECTOR_FORM)) != 0;
}
inline bool archiveHoldsPath(uint32_t type) {
  return !archiveHoldsForm(type) && (type & (ZQ_ARCHIVE_FILE_XML | ZQ_ARCHIVE_FILE_ARX)) != 0;
}

// The destination selector that travels before the destination: 1 or 3 a
// form, 4 or 8 a path, 0 or 2 nothing. Received selectors are kept in the
// bits 0x20 (1 or 3) and 0x40 (2 or 3) so that they travel back unchanged.
inline uint32_t archiveSelector(uint32_t type) {
  const uint32_t kept =
      ((type & ZQ_ARCHIVE_SELECTOR_FORM) ? 1u : 0u) | ((type & ZQ_ARCHIVE_SELECTOR_TWO) ? 2u : 0u);
  if (archiveHoldsForm(type)) return kept & 1u ? kept : 1u | kept;
  if (archiveHoldsPath(type)) return (type & ZQ_ARCHIVE_FILE_XML) ? 4u : 8u;
  return kept & 2u;
}

template <class V>
void describe(V& v, ZQArchiveInfoStruct& s) {
  v.u32(s.enable, "Enable:");
  if constexpr (V::kPass == Pass::encode || V::kPass == Pass::size) {
    const uint32_t wireType =
        s.archiveType & ~uint32_t{ZQ_ARCHIVE_SELECTOR_FORM | ZQ_ARCHIVE_SELECTOR_TWO};
    const uint32_t selector = archiveSelector(s.archiveType);
    v.u32(wireType, "Type:");
    v.u32(selector, "selector");
    if (selector == 1 || selector == 3) v.name(s.u.formName, NameKind::plain, "Form:");
    if (selector == 4 || selector == 8) v.string(s.u.dirPath, 256, "Dir Path:");
  } else if constexpr (V::kPass == Pass::decode) {
    uint32_t selector = 0;
    v.u32(s.archiveType, "Type:");
    v.u32(selector, "selector");
    // Memory must say which member the union holds (see archiveHoldsForm).
    s.archiveType &= ~uint32_t{ZQ_ARCHIVE_SELECTOR_FORM | ZQ_ARCHIVE_SELECTOR_TWO};
    switch (selector) {
      case 0:
      case 2:
        if (selector == 2) s.archiveType |= ZQ_ARCHIVE_SELECTOR_TWO;
        break;
      case 1:
      case 3:
        s.archiveType |= ZQ_ARCHIVE_SELECTOR_FORM | (selector == 3 ? ZQ_ARCHIVE_SELECTOR_TWO : 0u);
        v.name(s.u.formName, NameKind::plain, "Form:");
        break;
      case 4:
      case 8:
        s.archiveType = (s.archiveType & ~uint32_t{ZQ_ARCHIVE_FORM}) | selector;
        v.string(s.u.dirPath, 256, "Dir Path:");
        break;
      default:
        v.badTag();
        return;
    }
  } else if constexpr (V::kPass == Pass::print) {
    v.u32(s.archiveType, "Type:");
    if (archiveHoldsForm(s.archiveType))
      v.name(s.u.formName, NameKind::plain, "Form:");
    else if (archiveHoldsPath(s.archiveType))
      v.string(s.u.dirPath, 256, "Dir Path:");
  } else {
    v.u32(s.archiveType, "Type:");
    if (archiveHoldsPath(s.archiveType)) v.string(s.u.dirPath, 256, "Dir Path:");
  }
  v.i32(s.monthday, "Monthday:");
  v.i32(s.weekday, "Weekday:");
  v.i32(s.hourmask, "Hourmask:");
  v.u32(s.minute, "Minute:");
  v.member(s.qualifier, "qualifier");
  v.name(s.archiveFrom, NameKind::plain, "ArchiveFrom:");
}
inline void resetFreed(FreeVisitor&, ZQArchiveInfoStruct& s) {
  s = ZQArchiveInfoStruct{};
}

template <class V>
void describe(V& v, ZQArchiveInfoList& s) {
  list(v, s);
}

template <class V>
void describe(V& v, ZQAuditInfoStruct& s) {
  v.u32(s.enable, "Enable:");
  v.u32(s.auditType, "Type:");
  v.name(s.formName, NameKind::plain, "Form:");
  v.member(s.qualifier, "qualifier");
  if (since(v, 14)) v.u32(s.auditFlags, "auditFlags");
}
inline void resetFreed(FreeVisitor&, ZQAuditInfoStruct& s) {
  s = ZQAuditInfoStruct{};
}

template <class V>
void describe(V& v, ZQAuditInfoList& s) {
  list(v, s);
}

// ---- containers ---------------------------------------------------------------------------

template <class V>
void describe(V& v, ZQContainerOwnerObj& s) {
  v.u32(s.type, "   Type:");
  v.name(s.ownerName, NameKind::plain, "   Name:");
}

template <class V>
void describe(V& v, ZQContainerOwnerObjList& s) {
  list(v, s);
}

template <class V>
void describe(V& v, ZQContainerOwnerObjListList& s) {
  list(v, s);
}

template <class V>
void describe(V& v, ZQContainerInfo& s) {
  v.name(s.name, NameKind::plain, "   Name:");
  v.u32(s.type, "   Type:");
  v.member(s.ownerList, "ownerList");
}

template <class V>
void describe(V& v, ZQContainerInfoList& s) {
  list(v, s);
}

template <class V>
void describe(V& v, ZQContainerTypeList& s) {
  list(v, s, [](auto& w, int32_t& t) { w.i32(t); });
}

template <class V>
void describe(V& v, ZQReferenceTypeList& s) {
  list(v, s, [](auto& w, int32_t& t) { w.i32(t); });
}

template <class V>
void describe(V& v, ZQReferenceObj& s) {
  v.u32(s.dataType, "   Data Type:");
  switch (s.dataType) {
    case ZQ_REFERENCE_INTERNAL:
      v.name(s.u.name, NameKind::plain, "   ZQ Reference:");
      break;
    case ZQ_REFERENCE_EXTERNAL:
      if constexpr (V::kPass == Pass::copy)
        copyRounded(v, s.u.extRef.groupList, 100);
      else
        v.member(s.u.extRef.groupList, "Group List:");
      v.member(s.u.extRef.value, "value");
      break;
    default:
      v.badTag();
      break;
  }
}
inline void resetFreed(FreeVisitor&, ZQReferenceObj& s) {
  s.dataType = 0;
}

template <class V>
void describe(V& v, ZQReferenceStruct& s) {
  v.string(s.label, kUnbounded, "   Label:");
  v.string(s.description, kUnbounded, "   Description:");
  v.u32(s.type, "   Type:");
  v.member(s.reference, "reference");
}
inline void resetFreed(FreeVisitor&, ZQReferenceStruct& s) {
  s.type = 0;
}

template <class V>
void describe(V& v, ZQReferenceList& s) {
  list(v, s);
}

template <class V>
void describe(V& v, ZQReferenceListList& s) {
  list(v, s);
}

// ---- images and entry blocks: binary, never converted ----------------------------------------

template <class V>
void describe(V& v, ZQImageDataStruct& s) {
  // A kept image with no bytes keeps its size.
  if constexpr (V::kPass == Pass::release) {
    if (!s.bytes) return;
  }
  v.suspend(Suspend::binaryText);
  v.bytes(s.size, s.bytes, "bytes");
  v.resume(Suspend::binaryText);
}

template <class V>
void describe(V& v, ZQImageDataList& s) {
  list(v, s);
}

template <class V>
void describe(V& v, ZQEntryBlockStruct& s) {
  v.suspend(Suspend::binaryText);
  v.bytes(s.blockSize, s.bytes, "   Block size:");
  v.resume(Suspend::binaryText);
}

template <class V>
void describe(V& v, ZQEntryBlockList& s) {
  list(v, s);
}

// ---- statistics, full text, roles, settings, signals --------------------------------------------

template <class V>
void describe(V& v, ZQStatisticsResultStruct& s) {
  v.member(s.groupByValues, "Grouped by ");
  v.member(s.result, "Stat ");
}

template <class V>
void describe(V& v, ZQStatisticsResultList& s) {
  list(v, s);
}

template <class V>
void describe(V& v, ZQFullTextInfoStruct& s) {
  v.u32(s.infoType, "   FullText Info Struct:");
  switch (s.infoType) {
    case ZQ_FULLTEXT_STOPWORD:
      v.member(s.u.valueList, "valueList");
      break;
    case ZQ_FULLTEXT_COLLECTION_DIRECTORY:
    case ZQ_FULLTEXT_REINDEX:
    case ZQ_FULLTEXT_CASE_SENSITIVE_SRCH:
    case ZQ_FULLTEXT_STATE:
    case ZQ_FULLTEXT_FTS_MATCH_OP:
      v.member(s.u.value, "value");
      break;
    default:
      v.badTag();
      break;
  }
}

template <class V>
void describe(V& v, ZQFullTextInfoList& s) {
  list(v, s);
}

template <class V>
void describe(V& v, ZQFullTextInfoRequestList& s) {
  list(v, s, [](auto& w, uint32_t& n) { w.u32(n); });
}

template <class V>
void describe(V& v, ZQRoleInfoStruct& s) {
  v.u32(s.roleId, "      Role id:");
  v.name(s.roleName, NameKind::access, "      Role name:");
  v.u32(s.roleType, "      Role type:");
}

template <class V>
void describe(V& v, ZQRoleInfoList& s) {
  list(v, s);
}

template <class V>
void describe(V& v, ZQServerInfoRequestList& s) {
  list(v, s, [](auto& w, uint32_t& n) { w.u32(n); });
}

template <class V>
void describe(V& v, ZQSignalStruct& s) {
  v.u32(s.type, "type");
  v.string(s.argument, kUnbounded, "argument");
}

template <class V>
void describe(V& v, ZQSignalList& s) {
  list(v, s);
}

// ---- field, view and support-file info records (memory only) -------------------------------

template <class V>
void describe(V& v, ZQFieldInfoStruct& s) {
  v.u32(s.fieldId, "fieldId");
  v.name(s.fieldName, NameKind::plain, "fieldName");
  v.i32(s.timestamp, "timestamp");
  v.member(s.fieldMap, "fieldMap");
  v.u32(s.dataType, "dataType");
  v.u32(s.option, "option");
  v.u32(s.createMode, "createMode");
  v.u32(s.fieldOption, "fieldOption");
  v.member(s.defaultValue, "defaultValue");
  v.member(s.permList, "permList");
  v.member(s.limit, "limit");
  v.member(s.dInstanceList, "dInstanceList");
  v.name(s.owner, NameKind::access, "owner");
  v.name(s.lastChanged, NameKind::access, "lastChanged");
  v.string(s.helpText, kUnbounded, "helpText");
  v.string(s.changeDiary, kUnbounded, "changeDiary");
}

template <class V>
void describe(V& v, ZQFieldInfoList& s) {
  list(v, s);
}

template <class V>
void describe(V& v, ZQVuiInfoStruct& s) {
  v.u32(s.vuiId, "vuiId");
  v.name(s.vuiName, NameKind::plain, "vuiName");
  v.i32(s.timestamp, "timestamp");
  v.member(s.dPropList, "dPropList");
  v.name(s.owner, NameKind::access, "owner");
  v.name(s.locale, "locale");
  v.u32(s.vuiType, "vuiType");
  v.name(s.lastChanged, NameKind::access, "lastChanged");
  v.string(s.helpText, kUnbounded, "helpText");
  v.string(s.changeDiary, kUnbounded, "changeDiary");
}

template <class V>
void describe(V& v, ZQVuiInfoList& s) {
  list(v, s);
}

template <class V>
void describe(V& v, ZQSupportFileInfoStruct& s) {
  v.u32(s.fileType, "fileType");
  v.name(s.name, NameKind::plain, "name");
  v.u32(s.fileId, "fileId");
  v.i32(s.timestamp, "timestamp");
  auto* content = reinterpret_cast<unsigned char*>(s.content);
  v.suspend(Suspend::binaryText);
  v.bytes(s.contentSize, content, "content");
  v.resume(Suspend::binaryText);
  s.content = reinterpret_cast<char*>(content);
}

template <class V>
void describe(V& v, ZQSupportFileInfoList& s) {
  list(v, s);
}

// ---- queries over several forms ---------------------------------------------------------------

// These structures exist in protocol version 14 only.
template <class V>
bool multiFormVersion(V& v) {
  if (since(v, 14)) return true;
  v.badTag();
  return false;
}

template <class V>
void describe(V& v, ZQMultiSchemaFieldIdStruct& s) {
  if (!multiFormVersion(v)) return;
  v.name(s.queryFromAlias, NameKind::plain, "queryFromAlias");
  v.u32(s.fieldId, "fieldId");
}

template <class V>
void describe(V& v, ZQMultiSchemaFieldIdList& s) {
  list(v, s);
}

template <class V>
void describe(V& v, ZQMultiSchemaStatHistoryValue& s) {
  if (!multiFormVersion(v)) return;
  v.name(s.queryFromAlias, NameKind::plain, "queryFromAlias");
  v.u32(s.enumeratedValueIndex, "enumeratedValueIndex");
  v.u32(s.userOrTime, "userOrTime");
}

template <class V>
void describe(V& v, ZQMultiSchemaCurrencyPartStruct& s) {
  if (!multiFormVersion(v)) return;
  v.member(s.fieldId, "fieldId");
  v.u32(s.partTag, "partTag");
  v.name(s.currencyCode, "currencyCode");
}

template <class V>
void describe(V& v, ZQMultiSchemaQualifierStruct& s);
template <class V>
void describe(V& v, ZQMultiSchemaValueSetQueryStruct& s);

template <class V>
void describe(V& v, ZQMultiSchemaFieldValueOrArithStruct& s) {
  if (!multiFormVersion(v)) return;
  v.u32(s.tag, "tag");
  const uint32_t tag = s.tag;
  if (tag >= 12 && tag <= 26) return v.member(s.u.fieldId, "fieldId");
  switch (tag) {
    case 0:
      break;
    case ZQ_FIELD:
    case ZQ_FIELD_TRAN:
    case ZQ_FIELD_DB:
    case ZQ_FIELD_CURRENT:
      v.member(s.u.fieldId, "fieldId");
      break;
    case ZQ_VALUE:
      v.member(s.u.value, "value");
      break;
    case ZQ_ARITHMETIC:
      v.pointer(s.u.arithOp, "arithOp");
      break;
    case ZQ_STAT_HISTORY:
      v.member(s.u.statHistory, "statHistory");
      break;
    case ZQ_VALUE_SET:
      v.member(s.u.valueSet, "valueSet");
      break;
    case ZQ_MULTI_VALUE_SET_QUERY:
      v.pointer(s.u.valueSetQuery, "valueSetQuery");
      break;
    case ZQ_LOCAL_VARIABLE:
      v.u32(s.u.variable, "variable");
      break;
    case ZQ_QUERY:
      v.pointer(s.u.query, "query");
      break;
    case ZQ_CURRENCY_FLD:
    case ZQ_CURRENCY_FLD_TRAN:
    case ZQ_CURRENCY_FLD_DB:
    case ZQ_CURRENCY_FLD_CURRENT:
      v.pointer(s.u.currencyField, "currencyField");
      break;
    default:
      v.badTag();
      break;
  }
}
inline void resetFreed(FreeVisitor&, ZQMultiSchemaFieldValueOrArithStruct& s) {
  s = ZQMultiSchemaFieldValueOrArithStruct{};
}

template <class V>
void describe(V& v, ZQMultiSchemaArithOpStruct& s) {
  if (!multiFormVersion(v)) return;
  v.u32(s.operation, "operation");
  if (s.operation == ZQ_ARITH_OP_NEGATE)
    v.unowned(s.left, "left");
  else
    v.member(s.left, "left");
  v.member(s.right, "right");
}
inline void resetFreed(FreeVisitor&, ZQMultiSchemaArithOpStruct& s) {
  s.operation = 0;
}

template <class V>
void describe(V& v, ZQMultiSchemaRelOpStruct& s) {
  if (!multiFormVersion(v)) return;
  v.u32(s.operation, "operation");
  v.member(s.left, "left");
  v.member(s.right, "right");
}
inline void resetFreed(FreeVisitor&, ZQMultiSchemaRelOpStruct& s) {
  s.operation = 0;
}

template <class V>
void describe(V& v, ZQMultiSchemaQualifierStruct& s) {
  if (!multiFormVersion(v)) return;
  v.u32(s.operation, "operation");
  switch (s.operation) {
    case ZQ_COND_OP_NONE:
      break;
    case ZQ_COND_OP_AND:
    case ZQ_COND_OP_OR:
      v.pointer(s.u.andor.left, "left");
      v.pointer(s.u.andor.right, "right");
      break;
    case ZQ_COND_OP_NOT:
      v.pointer(s.u.notQual, "operand");
      break;
    case ZQ_COND_OP_REL_OP:
      v.pointer(s.u.relOp, "relation");
      break;
    case ZQ_COND_OP_FROM_FIELD:
      v.member(s.u.fieldId, "fieldId");
      break;
    default:
      v.badTag();
      break;
  }
}
inline void resetFreed(FreeVisitor&, ZQMultiSchemaQualifierStruct& s) {
  s.operation = 0;
}

template <class V>
void describe(V& v, ZQMultiSchemaRecursiveQueryStruct& s);

template <class V>
void describe(V& v, ZQMultiSchemaQueryFromStruct& s) {
  if (!multiFormVersion(v)) return;
  v.u32(s.type, "type");
  switch (s.type) {
    case ZQ_MULTI_SCHEMA_SOURCE_FORM:
      v.name(s.u.schemaName, NameKind::plain, "schemaName");
      break;
    case ZQ_MULTI_SCHEMA_SOURCE_RECURSIVE:
      v.pointer(s.u.recursiveQuery, "recursiveQuery");
      break;
    default:  // nested queries (1) are not supported
      v.badTag();
      if constexpr (V::kPass == Pass::copy) s.u.nestedQuery = nullptr;
      break;
  }
  v.name(s.queryFromAlias, NameKind::plain, "queryFromAlias");
  v.u32(s.joinType, "joinType");
  v.pointer(s.joinQual, "joinQual");
}
inline void resetFreed(FreeVisitor&, ZQMultiSchemaQueryFromStruct& s) {
  s = ZQMultiSchemaQueryFromStruct{};
}

template <class V>
void describe(V& v, ZQMultiSchemaQueryFromList& s) {
  list(v, s);
}

template <class V>
void describe(V& v, ZQMultiSchemaRecursiveQueryStruct& s) {
  if (!multiFormVersion(v)) return;
  v.name(s.queryFromAlias, NameKind::plain, "queryFromAlias");
  v.member(s.queryFromList, "queryFromList");
  v.member(s.getListFields, "getListFields");
  v.pointer(s.startQual, "startQual");
  v.pointer(s.recursionQual, "recursionQual");
  v.i32(s.levelsToRetrieve, "levelsToRetrieve");
}
inline void resetFreed(FreeVisitor&, ZQMultiSchemaRecursiveQueryStruct& s) {
  s = ZQMultiSchemaRecursiveQueryStruct{};
}

template <class V>
void describe(V& v, ZQMultiSchemaValueSetQueryStruct& s) {
  if (!multiFormVersion(v)) return;
  v.member(s.queryFromList, "queryFromList");
  v.member(s.fieldId, "fieldId");
  v.pointer(s.qualifier, "qualifier");
}
inline void resetFreed(FreeVisitor&, ZQMultiSchemaValueSetQueryStruct& s) {
  s = ZQMultiSchemaValueSetQueryStruct{};
}

template <class V>
void describe(V& v, ZQMultiSchemaSortStruct& s) {
  if (!multiFormVersion(v)) return;
  v.member(s.fieldId, "fieldId");
  v.u32(s.sortOrder, "sortOrder");
}

template <class V>
void describe(V& v, ZQMultiSchemaSortList& s) {
  list(v, s);
}

template <class V>
void describe(V& v, ZQMultiSchemaFieldValueStruct& s) {
  if (!multiFormVersion(v)) return;
  v.member(s.fieldId, "fieldId");
  v.member(s.value, "value");
}
inline void resetFreed(FreeVisitor&, ZQMultiSchemaFieldValueStruct& s) {
  s = ZQMultiSchemaFieldValueStruct{};
}

template <class V>
void describe(V& v, ZQMultiSchemaFieldValueList& s) {
  list(v, s);
}

template <class V>
void describe(V& v, ZQMultiSchemaFieldValueListList& s) {
  list(v, s);
}

}  // namespace zq::model
