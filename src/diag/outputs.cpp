// The outputs of a result record, shown by the items of the call's row.
#include "diag/outputs.h"

#include "diag/state.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>

#include "diag/print_visitor.h"
#include "frame/frame.h"
#include "model/model.h"

namespace zq::diag {

template <class T>
void printOutput(std::string& out, const void* value, const char* label,
                 const std::string& prefix) {
  print(out, *static_cast<const T*>(value), prefix, label);
}

// A workflow connection shows its forms, and only when it holds a list.
template <>
void printOutput<ZQWorkflowConnectStruct>(std::string& out, const void* value, const char* label,
                                          const std::string& prefix) {
  const auto* w = static_cast<const ZQWorkflowConnectStruct*>(value);
  if (w->type == ZQ_WORKFLOW_CONN_SCHEMA_LIST && w->schemaList)
    print(out, *w->schemaList, prefix, label);
}

// A list: count and items; its items are texts, numbers, flags, names or
// structures.
template <class T>
concept CountedList = requires(const T& t) {
  t.count;
  t.items;
};

template <class T>
uint32_t outputCount(const void* list) {
  if constexpr (CountedList<T>) {
    const T* l = static_cast<const T*>(list);
    return l->items ? l->count : 0;
  } else {
    return 0;
  }
}

namespace {
void printDiaryItem(std::string& out, const char* label, const char* text);
}  // namespace

template <class T>
void printElement(std::string& out, const void* list, uint32_t index, const ResultItem& item) {
  if constexpr (CountedList<T>) {
    const T* l = static_cast<const T*>(list);
    if (!l->items || index >= l->count) return;
    using E = std::remove_cv_t<std::remove_reference_t<decltype(l->items[0])>>;
    const E& e = l->items[index];
    const char* label = item.label ? item.label : "";
    if constexpr (std::is_same_v<E, char*>) {
      if (item.form == Form::diary)
        printDiaryItem(out, label, e);
      else if (e)
        appendf(out, "%s %s\n", label, e);
      else
        appendf(out, "%s\n", label);
    } else if constexpr (std::is_array_v<E>) {
      appendf(out, "%s %s\n", label, std::string(e, strnlen(e, sizeof e)).c_str());
    } else if constexpr (std::is_same_v<E, ZQBoolean>) {
      appendf(out, "%s %s\n", label, e ? "TRUE" : "FALSE");
    } else if constexpr (std::is_integral_v<E>) {
      appendf(out, "%s %d\n", label, static_cast<int32_t>(e));
    } else if constexpr (std::is_class_v<E>) {
      // Structures of a definition block print with its three blanks.
      printOutput<E>(out, &e, item.label, "   ");
    }
  }
}

template <class T>
std::string elementName(const void* list, uint32_t index) {
  if constexpr (CountedList<T>) {
    const T* l = static_cast<const T*>(list);
    if (!l->items || index >= l->count) return "???";
    using E = std::remove_cv_t<std::remove_reference_t<decltype(l->items[0])>>;
    const E& e = l->items[index];
    if constexpr (std::is_same_v<E, char*>) {
      return e ? e : "???";
    } else if constexpr (std::is_array_v<E>) {
      return std::string(e, strnlen(e, sizeof e));
    } else if constexpr (std::is_integral_v<E>) {
      return std::to_string(e);
    } else {
      return "???";
    }
  } else {
    return "???";
  }
}

// Every structure a result record shows.
#define ZQ_DIAG_OUTPUT_TYPES(X)  \
  X(ZQValueStruct)               \
  X(ZQValueList)                 \
  X(ZQValueListList)             \
  X(ZQFieldValueList)            \
  X(ZQFieldValueListList)        \
  X(ZQNameList)                  \
  X(ZQAccessNameList)            \
  X(ZQServerNameList)            \
  X(ZQInternalIdList)            \
  X(ZQInternalIdListList)        \
  X(ZQUnsignedIntList)           \
  X(ZQBooleanList)               \
  X(ZQTimestampList)             \
  X(ZQTextStringList)            \
  X(ZQEntryListList)             \
  X(ZQEntryListFieldValueList)   \
  X(ZQEntryListFieldList)        \
  X(ZQEntryListFieldListList)    \
  X(ZQEntryBlockList)            \
  X(ZQStatisticsResultList)      \
  X(ZQSortList)                  \
  X(ZQSortListList)              \
  X(ZQIndexList)                 \
  X(ZQIndexListList)             \
  X(ZQPermissionList)            \
  X(ZQPermissionListList)        \
  X(ZQGroupInfoList)             \
  X(ZQRoleInfoList)              \
  X(ZQUserInfoList)              \
  X(ZQObjectChangeTimesList)     \
  X(ZQPropList)                  \
  X(ZQPropListList)              \
  X(ZQServerInfoList)            \
  X(ZQFullTextInfoList)          \
  X(ZQQualifierStruct)           \
  X(ZQQualifierList)             \
  X(ZQAssignStruct)              \
  X(ZQFilterActionList)          \
  X(ZQFilterActionListList)      \
  X(ZQActiveLinkActionList)      \
  X(ZQActiveLinkActionListList)  \
  X(ZQCharMenuStruct)            \
  X(ZQCharMenuStructList)        \
  X(ZQFieldLimitStruct)          \
  X(ZQFieldLimitList)            \
  X(ZQFieldMappingStruct)        \
  X(ZQFieldMappingList)          \
  X(ZQDisplayInstanceList)       \
  X(ZQDisplayInstanceListList)   \
  X(ZQCompoundSchema)            \
  X(ZQCompoundSchemaList)        \
  X(ZQArchiveInfoStruct)         \
  X(ZQArchiveInfoList)           \
  X(ZQAuditInfoStruct)           \
  X(ZQAuditInfoList)             \
  X(ZQContainerOwnerObjList)     \
  X(ZQContainerOwnerObjListList) \
  X(ZQContainerInfoList)         \
  X(ZQReferenceList)             \
  X(ZQReferenceListList)         \
  X(ZQStatusHistoryList)         \
  X(ZQDiaryList)                 \
  X(ZQWorkflowConnectStruct)     \
  X(ZQWorkflowConnectList)       \
  X(ZQLocaleList)

#define ZQ_DIAG_INSTANTIATE(T)                                                           \
  template uint32_t outputCount<T>(const void*);                                         \
  template void printElement<T>(std::string&, const void*, uint32_t, const ResultItem&); \
  template std::string elementName<T>(const void*, uint32_t);
ZQ_DIAG_OUTPUT_TYPES(ZQ_DIAG_INSTANTIATE)
#define ZQ_DIAG_INSTANTIATE_PRINT(T) \
  template void printOutput<T>(std::string&, const void*, const char*, const std::string&);
#define ZQ_DIAG_UNLESS_SPECIALIZED(T) ZQ_DIAG_INSTANTIATE_PRINT(T)
ZQ_DIAG_INSTANTIATE_PRINT(ZQValueStruct)
ZQ_DIAG_INSTANTIATE_PRINT(ZQValueList)
ZQ_DIAG_INSTANTIATE_PRINT(ZQValueListList)
ZQ_DIAG_INSTANTIATE_PRINT(ZQFieldValueList)
ZQ_DIAG_INSTANTIATE_PRINT(ZQFieldValueListList)
ZQ_DIAG_INSTANTIATE_PRINT(ZQNameList)
ZQ_DIAG_INSTANTIATE_PRINT(ZQAccessNameList)
ZQ_DIAG_INSTANTIATE_PRINT(ZQServerNameList)
ZQ_DIAG_INSTANTIATE_PRINT(ZQInternalIdList)
ZQ_DIAG_INSTANTIATE_PRINT(ZQInternalIdListList)
ZQ_DIAG_INSTANTIATE_PRINT(ZQUnsignedIntList)
ZQ_DIAG_INSTANTIATE_PRINT(ZQBooleanList)
ZQ_DIAG_INSTANTIATE_PRINT(ZQTimestampList)
ZQ_DIAG_INSTANTIATE_PRINT(ZQTextStringList)
ZQ_DIAG_INSTANTIATE_PRINT(ZQEntryListList)
ZQ_DIAG_INSTANTIATE_PRINT(ZQEntryListFieldValueList)
ZQ_DIAG_INSTANTIATE_PRINT(ZQEntryListFieldList)
ZQ_DIAG_INSTANTIATE_PRINT(ZQEntryListFieldListList)
ZQ_DIAG_INSTANTIATE_PRINT(ZQEntryBlockList)
ZQ_DIAG_INSTANTIATE_PRINT(ZQStatisticsResultList)
ZQ_DIAG_INSTANTIATE_PRINT(ZQSortList)
ZQ_DIAG_INSTANTIATE_PRINT(ZQSortListList)
ZQ_DIAG_INSTANTIATE_PRINT(ZQIndexList)
ZQ_DIAG_INSTANTIATE_PRINT(ZQIndexListList)
ZQ_DIAG_INSTANTIATE_PRINT(ZQPermissionList)
ZQ_DIAG_INSTANTIATE_PRINT(ZQPermissionListList)
ZQ_DIAG_INSTANTIATE_PRINT(ZQGroupInfoList)
ZQ_DIAG_INSTANTIATE_PRINT(ZQRoleInfoList)
ZQ_DIAG_INSTANTIATE_PRINT(ZQUserInfoList)
ZQ_DIAG_INSTANTIATE_PRINT(ZQObjectChangeTimesList)
ZQ_DIAG_INSTANTIATE_PRINT(ZQPropList)
ZQ_DIAG_INSTANTIATE_PRINT(ZQPropListList)
ZQ_DIAG_INSTANTIATE_PRINT(ZQServerInfoList)
ZQ_DIAG_INSTANTIATE_PRINT(ZQFullTextInfoList)
ZQ_DIAG_INSTANTIATE_PRINT(ZQQualifierStruct)
ZQ_DIAG_INSTANTIATE_PRINT(ZQQualifierList)
ZQ_DIAG_INSTANTIATE_PRINT(ZQAssignStruct)
ZQ_DIAG_INSTANTIATE_PRINT(ZQFilterActionList)
ZQ_DIAG_INSTANTIATE_PRINT(ZQFilterActionListList)
ZQ_DIAG_INSTANTIATE_PRINT(ZQActiveLinkActionList)
ZQ_DIAG_INSTANTIATE_PRINT(ZQActiveLinkActionListList)
ZQ_DIAG_INSTANTIATE_PRINT(ZQCharMenuStruct)
ZQ_DIAG_INSTANTIATE_PRINT(ZQCharMenuStructList)
ZQ_DIAG_INSTANTIATE_PRINT(ZQFieldLimitStruct)
ZQ_DIAG_INSTANTIATE_PRINT(ZQFieldLimitList)
ZQ_DIAG_INSTANTIATE_PRINT(ZQFieldMappingStruct)
ZQ_DIAG_INSTANTIATE_PRINT(ZQFieldMappingList)
ZQ_DIAG_INSTANTIATE_PRINT(ZQDisplayInstanceList)
ZQ_DIAG_INSTANTIATE_PRINT(ZQDisplayInstanceListList)
ZQ_DIAG_INSTANTIATE_PRINT(ZQCompoundSchema)
ZQ_DIAG_INSTANTIATE_PRINT(ZQCompoundSchemaList)
ZQ_DIAG_INSTANTIATE_PRINT(ZQArchiveInfoStruct)
ZQ_DIAG_INSTANTIATE_PRINT(ZQArchiveInfoList)
ZQ_DIAG_INSTANTIATE_PRINT(ZQAuditInfoStruct)
ZQ_DIAG_INSTANTIATE_PRINT(ZQAuditInfoList)
ZQ_DIAG_INSTANTIATE_PRINT(ZQContainerOwnerObjList)
ZQ_DIAG_INSTANTIATE_PRINT(ZQContainerOwnerObjListList)
ZQ_DIAG_INSTANTIATE_PRINT(ZQContainerInfoList)
ZQ_DIAG_INSTANTIATE_PRINT(ZQReferenceList)
ZQ_DIAG_INSTANTIATE_PRINT(ZQReferenceListList)
ZQ_DIAG_INSTANTIATE_PRINT(ZQStatusHistoryList)
ZQ_DIAG_INSTANTIATE_PRINT(ZQDiaryList)
ZQ_DIAG_INSTANTIATE_PRINT(ZQWorkflowConnectList)
ZQ_DIAG_INSTANTIATE_PRINT(ZQLocaleList)

namespace {

const char* textOf(const OutputRef& r) {
  if (r.kind == OutputRef::Kind::text) return static_cast<const char*>(r.pointer);
  if (r.kind == OutputRef::Kind::textPointer) return *static_cast<char* const*>(r.pointer);
  return nullptr;
}

bool numberOf(const OutputRef& r, int32_t* n) {
  switch (r.kind) {
    case OutputRef::Kind::u32:
      *n = static_cast<int32_t>(*static_cast<const uint32_t*>(r.pointer));
      return true;
    case OutputRef::Kind::i32:
      *n = *static_cast<const int32_t*>(r.pointer);
      return true;
    case OutputRef::Kind::boolean:
      *n = *static_cast<const ZQBoolean*>(r.pointer);
      return true;
    default:
      return false;
  }
}

void printDiaryItem(std::string& out, const char* label, const char* text) {
  ZQDiaryList list{0, nullptr};
  ZQStatusList status{0, nullptr};
  if (text && model::decodeDiary(text, &list, &status) >= ZQ_RETURN_ERROR) {
    appendf(out, "%s   DECODE DIARY FAILURE\n", label);
  } else {
    appendf(out, "%s %u diary entries\n", label, list.count);
    for (uint32_t i = 0; i < list.count && list.items; ++i) {
      const ZQDiaryStruct& d = list.items[i];
      appendf(out, " %d   %s\n", static_cast<int32_t>(d.timestamp),
              std::string(d.user, strnlen(d.user, sizeof d.user)).c_str());
      appendf(out, "%s\n", d.value ? d.value : "");
    }
  }
  zq::model::release(list);
  zq::releaseStatusList(&status);
}

void printItem(std::string& out, const ResultItem& item, const OutputRef& r) {
  const char* label = item.label ? item.label : "";
  int32_t n = 0;
  switch (item.form) {
    case Form::text: {
      const char* t = textOf(r);
      if (t)
        appendf(out, "%s %s\n", label, t);
      else
        appendf(out, "%s\n", label);
      break;
    }
    case Form::number:
      if (numberOf(r, &n)) appendf(out, "%s %d\n", label, n);
      break;
    case Form::flag:
      if (numberOf(r, &n)) appendf(out, "%s %s\n", label, n ? "TRUE" : "FALSE");
      break;
    case Form::unlabeledNumber:
      if (numberOf(r, &n)) appendf(out, "%d\n", n);
      break;
    case Form::diary:
      printDiaryItem(out, label, textOf(r));
      break;
    case Form::names:
    case Form::unlabeledNames:
    case Form::structure:
    case Form::valuePrefixed:
    case Form::workflowForms:
    case Form::escalationTime:
      if (r.kind == OutputRef::Kind::structure && r.print) r.print(out, r.pointer, item.label, "");
      break;
  }
}

}  // namespace

namespace {

// Calls returning several definitions pass the exists list, the list naming
// the definitions (may be absent), then one list per item of the row. Calls
// whose items always exist (entry points) start with the naming list.
void printBlocks(std::string& out, const CommandInfo& info, const std::vector<OutputRef>& refs) {
  if (refs.empty() || refs[0].kind != OutputRef::Kind::structure) return;
  const bool withExists = refs[0].count == &outputCount<ZQBooleanList>;
  const size_t first = withExists ? 2 : 1;  // the first item's output
  const OutputRef* names = nullptr;
  if (!withExists)
    names = &refs[0];
  else if (refs.size() > 1 && refs[1].kind == OutputRef::Kind::structure)
    names = &refs[1];
  const OutputRef& counted = withExists ? refs[0] : *names;
  const uint32_t blocks = counted.count(counted.pointer);
  const auto* flags = withExists ? static_cast<const ZQBooleanList*>(refs[0].pointer) : nullptr;
  for (uint32_t b = 0; b < blocks; ++b) {
    const std::string name = names && names->name ? names->name(names->pointer, b) : "???";
    appendf(out, "%s %s\n", info.blockLabel, name.c_str());
    if (flags) {
      const bool there = flags->items[b] != 0;
      appendf(out, "   Exists?: %s\n", there ? "TRUE" : "FALSE");
      if (!there) continue;
    }
    for (size_t k = 0; k < info.items.size() && k + first < refs.size(); ++k) {
      const OutputRef& r = refs[k + first];
      if (r.kind == OutputRef::Kind::structure && r.element)
        r.element(out, r.pointer, b, info.items[k]);
    }
  }
}

}  // namespace

void printOutputs(std::string& out, const CommandInfo& info, const std::vector<OutputRef>& refs) {
  if (info.blockLabel) return printBlocks(out, info, refs);
  const size_t n = refs.size() < info.items.size() ? refs.size() : info.items.size();
  for (size_t i = 0; i < n; ++i)
    if (refs[i].kind != OutputRef::Kind::none) printItem(out, info.items[i], refs[i]);
}

}  // namespace zq::diag
