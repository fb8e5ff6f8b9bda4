// Deep copies of the core value and list types.
#include <cstring>

#include "model/copy_impl.h"
#include "frame/frame.h"
#include "model/describe_core.h"

namespace zq::model {

bool copyStatusMessage(ZQStatusStruct& s) {
  if (!s.message) return true;
  if (s.messageType != ZQ_MESSAGE_NOTE || s.messageNumber != kMsgServerLogNote) {
    s.message = dupString(s.message);
    return s.message != nullptr;
  }
  const size_t len = strlen(s.message);
  const size_t room = (len / 8192 + 1) * 8192;
  auto* buffer = static_cast<char*>(zq::alloc(room));
  if (buffer) memcpy(buffer, s.message, len + 1);
  s.message = buffer;
  return buffer != nullptr;
}

}  // namespace zq::model

using zq::model::copyExport;

extern "C" {

int32_t ZQCopyValueStruct(ZQValueStruct* destination, const ZQValueStruct* source) {
  return copyExport(destination, source);
}
int32_t ZQCopyPermissionList(ZQPermissionList* destination, const ZQPermissionList* source) {
  return copyExport(destination, source);
}
int32_t ZQCopyTextStringList(ZQTextStringList* destination, const ZQTextStringList* source) {
  return copyExport(destination, source);
}
int32_t ZQCopyInternalIdList(ZQInternalIdList* destination, const ZQInternalIdList* source) {
  return copyExport(destination, source);
}
int32_t ZQCopyAccessNameList(ZQAccessNameList* destination, const ZQAccessNameList* source) {
  return copyExport(destination, source);
}
int32_t ZQCopySortList(ZQSortList* destination, const ZQSortList* source) {
  return copyExport(destination, source);
}
int32_t ZQCopyEntryListFieldList(ZQEntryListFieldList* destination,
                                 const ZQEntryListFieldList* source) {
  return copyExport(destination, source);
}
int32_t ZQCopyStatusHistoryList(ZQStatusHistoryList* destination,
                                const ZQStatusHistoryList* source) {
  return copyExport(destination, source);
}
int32_t ZQCopyFieldValueStruct(ZQFieldValueStruct* destination, const ZQFieldValueStruct* source) {
  return copyExport(destination, source);
}
int32_t ZQCopyPropList(ZQPropList* destination, const ZQPropList* source) {
  return copyExport(destination, source);
}
int32_t ZQCopyDisplayInstanceStruct(ZQDisplayInstanceStruct* destination,
                                    const ZQDisplayInstanceStruct* source) {
  return copyExport(destination, source);
}
int32_t ZQCopyDisplayInstanceList(ZQDisplayInstanceList* destination,
                                  const ZQDisplayInstanceList* source) {
  return copyExport(destination, source);
}
int32_t ZQCopyFieldValueList(ZQFieldValueList* destination, const ZQFieldValueList* source) {
  return copyExport(destination, source);
}
int32_t ZQCopyValueList(ZQValueList* destination, const ZQValueList* source) {
  return copyExport(destination, source);
}
int32_t ZQCopyStatusStruct(ZQStatusStruct* destination, const ZQStatusStruct* source) {
  return copyExport(destination, source);
}
int32_t ZQCopyStatusList(ZQStatusList* destination, const ZQStatusList* source) {
  return copyExport(destination, source);
}
int32_t ZQCopyCurrencyStruct(ZQCurrencyStruct* destination, const ZQCurrencyStruct* source) {
  return copyExport(destination, source);
}
int32_t ZQCopyServerInfoStruct(ZQServerInfoStruct* destination, const ZQServerInfoStruct* source) {
  return copyExport(destination, source);
}
int32_t ZQCopyEntryIdList(ZQEntryIdList* destination, const ZQEntryIdList* source) {
  return copyExport(destination, source);
}
int32_t ZQCopyEntryListFieldValueList(ZQEntryListFieldValueList* destination,
                                      const ZQEntryListFieldValueList* source) {
  return copyExport(destination, source);
}

int32_t ZQCopyNameList(ZQNameList* destination, const ZQNameList* source) {
  return zq::model::copyWithSpare(destination, source, 10);
}

int32_t ZQCopyInternalIdListWithSpare(ZQInternalIdList* destination,
                                      const ZQInternalIdList* source) {
  return zq::model::copyWithSpare(destination, source, 100);
}

}  // extern "C"
