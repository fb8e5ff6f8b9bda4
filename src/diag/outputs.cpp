// The outputs of a result record, shown by the items of the call's row.
#include "diag/outputs.h"

#include "diag/state.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>

#include "model/visit_print.h"
#include "text/diary.h"
#include "zqapi/zq_free.h"

namespace zq::diag {

template <class T>
void printOutput(std::string& out, const void* value, const char* label,
                 const std::string& prefix) {
  model::print(out, *static_cast<const T*>(value), prefix, label);
}

// A workflow connection shows its forms, and only when it holds a list.
template <>
void printOutput<ZQWorkflowConnectStruct>(std::string& out, const void* value, const char* label,
                                          const std::string& prefix) {
  const auto* w = static_cast<const ZQWorkflowConnectStruct*>(value);
  if (w->type == ZQ_WORKFLOW_CONN_SCHEMA_LIST && w->schemaList)
    model::print(out, *w->schemaList, prefix, label);
}

// Every structure a result record shows.
template void printOutput<ZQValueStruct>(std::string&, const void*, const char*,
                                         const std::string&);
template void printOutput<ZQValueList>(std::string&, const void*, const char*, const std::string&);
template void printOutput<ZQValueListList>(std::string&, const void*, const char*,
                                           const std::string&);
template void printOutput<ZQFieldValueList>(std::string&, const void*, const char*,
                                            const std::string&);
template void printOutput<ZQFieldValueListList>(std::string&, const void*, const char*,
                                                const std::string&);
template void printOutput<ZQNameList>(std::string&, const void*, const char*, const std::string&);
template void printOutput<ZQAccessNameList>(std::string&, const void*, const char*,
                                            const std::string&);
template void printOutput<ZQServerNameList>(std::string&, const void*, const char*,
                                            const std::string&);
template void printOutput<ZQInternalIdList>(std::string&, const void*, const char*,
                                            const std::string&);
template void printOutput<ZQUnsignedIntList>(std::string&, const void*, const char*,
                                             const std::string&);
template void printOutput<ZQEntryListList>(std::string&, const void*, const char*,
                                           const std::string&);
template void printOutput<ZQEntryListFieldValueList>(std::string&, const void*, const char*,
                                                     const std::string&);
template void printOutput<ZQEntryListFieldList>(std::string&, const void*, const char*,
                                                const std::string&);
template void printOutput<ZQEntryBlockList>(std::string&, const void*, const char*,
                                            const std::string&);
template void printOutput<ZQStatisticsResultList>(std::string&, const void*, const char*,
                                                  const std::string&);
template void printOutput<ZQSortList>(std::string&, const void*, const char*, const std::string&);
template void printOutput<ZQIndexList>(std::string&, const void*, const char*, const std::string&);
template void printOutput<ZQPermissionList>(std::string&, const void*, const char*,
                                            const std::string&);
template void printOutput<ZQGroupInfoList>(std::string&, const void*, const char*,
                                           const std::string&);
template void printOutput<ZQRoleInfoList>(std::string&, const void*, const char*,
                                          const std::string&);
template void printOutput<ZQPropList>(std::string&, const void*, const char*, const std::string&);
template void printOutput<ZQServerInfoList>(std::string&, const void*, const char*,
                                            const std::string&);
template void printOutput<ZQFullTextInfoList>(std::string&, const void*, const char*,
                                              const std::string&);
template void printOutput<ZQQualifierStruct>(std::string&, const void*, const char*,
                                             const std::string&);
template void printOutput<ZQAssignStruct>(std::string&, const void*, const char*,
                                          const std::string&);
template void printOutput<ZQFilterActionList>(std::string&, const void*, const char*,
                                              const std::string&);
template void printOutput<ZQActiveLinkActionList>(std::string&, const void*, const char*,
                                                  const std::string&);
template void printOutput<ZQCharMenuStruct>(std::string&, const void*, const char*,
                                            const std::string&);
template void printOutput<ZQFieldLimitStruct>(std::string&, const void*, const char*,
                                              const std::string&);
template void printOutput<ZQFieldMappingStruct>(std::string&, const void*, const char*,
                                                const std::string&);
template void printOutput<ZQDisplayInstanceList>(std::string&, const void*, const char*,
                                                 const std::string&);
template void printOutput<ZQCompoundSchema>(std::string&, const void*, const char*,
                                            const std::string&);
template void printOutput<ZQArchiveInfoStruct>(std::string&, const void*, const char*,
                                               const std::string&);
template void printOutput<ZQAuditInfoStruct>(std::string&, const void*, const char*,
                                             const std::string&);
template void printOutput<ZQContainerOwnerObjList>(std::string&, const void*, const char*,
                                                   const std::string&);
template void printOutput<ZQContainerInfoList>(std::string&, const void*, const char*,
                                               const std::string&);
template void printOutput<ZQReferenceList>(std::string&, const void*, const char*,
                                           const std::string&);
template void printOutput<ZQStatusHistoryList>(std::string&, const void*, const char*,
                                               const std::string&);
template void printOutput<ZQDiaryList>(std::string&, const void*, const char*, const std::string&);

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
  if (text && text::decodeDiary(text, &list, &status) >= ZQ_RETURN_ERROR) {
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
  FreeZQDiaryList(&list, 0);
  FreeZQStatusList(&status, 0);
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

void printOutputs(std::string& out, const CommandInfo& info, const std::vector<OutputRef>& refs) {
  const size_t n = refs.size() < info.items.size() ? refs.size() : info.items.size();
  for (size_t i = 0; i < n; ++i)
    if (refs[i].kind != OutputRef::Kind::none) printItem(out, info.items[i], refs[i]);
}

}  // namespace zq::diag
