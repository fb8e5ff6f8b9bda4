// Entry points whose XML form is not written yet: definition objects and
// the ordinal-only readers. They refuse with a message, so
// that the library is complete for the loader and no caller is misled.
#include "documents.h"

using namespace zq;

namespace {
int notYet(ZQStatusList* status) {
  return addError(status, kMsgXmlNotSupported);
}
}  // namespace

extern "C" {

int GetComplexEntryCreateFromXML(ZQXMLInputDoc*, ZQNameType, uint32_t, ZQFieldValueList*,
                                 ZQStatusList* status) {
  return notYet(status);
}

int GetLockBlockFromXML(ZQXMLParsedStream*, uint32_t*, char**, ZQStructItemList*, char**, char**,
                        ZQStatusList* status) {
  return notYet(status);
}

int GetSchemaDataFromXML(ZQXMLParsedStream*, const char*, uint32_t, uint32_t, ZQInternalIdList*,
                         ZQFieldValueListList*, ZQStatusList* status) {
  return notYet(status);
}

int GetImageFromXML(ZQXMLParsedStream*, const char*, char**, char**, ZQImageDataStruct*, char**,
                    ZQTimestamp*, char**, char**, char**, ZQAccessNameType, ZQAccessNameType,
                    char**, ZQPropList*, ZQStatusList* status) {
  return notYet(status);
}

int SetImageToXML(ZQXMLOutputDoc*, const char*, const char*, const char*, ZQImageDataStruct*,
                  const char*, ZQTimestamp, const char*, const char*, const char*, const char*,
                  const char*, ZQPropList*, ZQStatusList* status) {
  return notYet(status);
}

int GetSchemaFromXML(ZQXMLParsedStream*, const char*, char**, char**, ZQCompoundSchema*,
                     ZQSchemaInheritanceList*, ZQPermissionList*, ZQInternalIdList*,
                     ZQEntryListFieldList*, ZQSortList*, ZQIndexList*, ZQArchiveInfoStruct*,
                     ZQAuditInfoStruct*, ZQNameType, uint32_t*, ZQInternalIdList*,
                     ZQInternalIdList*, char**, ZQTimestamp*, ZQAccessNameType, ZQAccessNameType,
                     char**, ZQPropList*, uint32_t*, ZQStatusList* status) {
  return notYet(status);
}

int SetSchemaToXML(ZQXMLOutputDoc*, const char*, const char*, const char*, ZQCompoundSchema*,
                   ZQSchemaInheritanceList*, ZQPermissionList*, ZQInternalIdList*,
                   ZQEntryListFieldList*, ZQSortList*, ZQIndexList*, ZQArchiveInfoStruct*,
                   ZQAuditInfoStruct*, const char*, uint32_t, ZQInternalIdList*, ZQInternalIdList*,
                   const char*, ZQTimestamp, const char*, const char*, const char*, ZQPropList*,
                   uint32_t, ZQStatusList* status) {
  return notYet(status);
}

int GetFilterFromXML(ZQXMLParsedStream*, const char*, char**, char**, uint32_t*,
                     ZQWorkflowConnectStruct*, uint32_t*, uint32_t*, ZQQualifierStruct*,
                     ZQFilterActionList*, ZQFilterActionList*, char**, ZQTimestamp*,
                     ZQAccessNameType, ZQAccessNameType, char**, ZQPropList*, uint32_t*, ZQNameType,
                     ZQStatusList* status) {
  return notYet(status);
}

int SetFilterToXML(ZQXMLOutputDoc*, const char*, const char*, const char*, uint32_t,
                   ZQWorkflowConnectStruct*, uint32_t, uint32_t, ZQQualifierStruct*,
                   ZQFilterActionList*, ZQFilterActionList*, const char*, ZQTimestamp, const char*,
                   const char*, const char*, ZQPropList*, uint32_t, const char*,
                   ZQStatusList* status) {
  return notYet(status);
}

int GetActiveLinkFromXML(ZQXMLParsedStream*, const char*, char**, char**, uint32_t*,
                         ZQWorkflowConnectStruct*, ZQInternalIdList*, uint32_t*, ZQInternalId*,
                         ZQInternalId*, uint32_t*, ZQQualifierStruct*, ZQActiveLinkActionList*,
                         ZQActiveLinkActionList*, ZQInternalIdList*, char**, ZQTimestamp*,
                         ZQAccessNameType, ZQAccessNameType, char**, ZQPropList*, uint32_t*,
                         ZQNameType, ZQStatusList* status) {
  return notYet(status);
}

int SetActiveLinkToXML(ZQXMLOutputDoc*, const char*, const char*, const char*, uint32_t,
                       ZQWorkflowConnectStruct*, ZQInternalIdList*, uint32_t, ZQInternalId,
                       ZQInternalId, uint32_t, ZQQualifierStruct*, ZQActiveLinkActionList*,
                       ZQActiveLinkActionList*, ZQInternalIdList*, const char*, ZQTimestamp,
                       const char*, const char*, const char*, ZQPropList*, uint32_t, const char*,
                       ZQStatusList* status) {
  return notYet(status);
}

int GetEscalationFromXML(ZQXMLParsedStream*, const char*, char**, char**, uint32_t*,
                         ZQWorkflowConnectStruct*, uint32_t*, ZQQualifierStruct*,
                         ZQFilterActionList*, ZQFilterActionList*, char**, ZQTimestamp*,
                         ZQAccessNameType, ZQAccessNameType, char**, ZQPropList*,
                         ZQStatusList* status) {
  return notYet(status);
}

int SetEscalationToXML(ZQXMLOutputDoc*, const char*, const char*, const char*, uint32_t,
                       ZQWorkflowConnectStruct*, uint32_t, ZQQualifierStruct*, ZQFilterActionList*,
                       ZQFilterActionList*, const char*, ZQTimestamp, const char*, const char*,
                       const char*, ZQPropList*, ZQStatusList* status) {
  return notYet(status);
}

int GetContainerFromXML(ZQXMLParsedStream*, const char*, char**, char**, ZQPermissionList*,
                        ZQInternalIdList*, ZQContainerOwnerObjList*, char**, char**, uint32_t*,
                        ZQReferenceList*, char**, ZQTimestamp*, ZQAccessNameType, ZQAccessNameType,
                        char**, ZQPropList*, ZQStatusList* status) {
  return notYet(status);
}

int SetContainerToXML(ZQXMLOutputDoc*, const char*, const char*, const char*, ZQPermissionList*,
                      ZQInternalIdList*, ZQContainerOwnerObjList*, const char*, const char*,
                      uint32_t, ZQReferenceList*, const char*, ZQTimestamp, const char*,
                      const char*, const char*, ZQPropList*, ZQStatusList* status) {
  return notYet(status);
}

int GetMenuFromXML(ZQXMLParsedStream*, const char*, char**, char**, uint32_t*, ZQCharMenuStruct*,
                   char**, ZQTimestamp*, ZQAccessNameType, ZQAccessNameType, char**, ZQPropList*,
                   ZQStatusList* status) {
  return notYet(status);
}

int SetMenuToXML(ZQXMLOutputDoc*, const char*, const char*, const char*, uint32_t,
                 ZQCharMenuStruct*, const char*, ZQTimestamp, const char*, const char*, const char*,
                 ZQPropList*, ZQStatusList* status) {
  return notYet(status);
}

int GetVUIFromXML(ZQXMLParsedStream*, const char*, const char*, ZQInternalId*, char**, uint32_t*,
                  ZQPropList*, ZQStatusList* status) {
  return notYet(status);
}

int SetVUIToXML(ZQXMLOutputDoc*, const char*, const char*, ZQInternalId, const char*, uint32_t,
                ZQPropList*, ZQStatusList* status) {
  return notYet(status);
}

int GetDSOMappingFromXML(ZQXMLParsedStream*, const char*, char**, char**, ZQNameType,
                         ZQServerNameType, ZQNameType, ZQServerNameType, uint32_t*, uint32_t*,
                         uint32_t*, uint32_t*, uint32_t*, uint32_t*, uint32_t*, uint32_t*,
                         uint32_t*, uint32_t*, char**, char**, ZQQualifierStruct*, char**,
                         ZQTimestamp*, ZQAccessNameType, ZQAccessNameType, char**, ZQPropList*,
                         ZQStatusList* status) {
  return notYet(status);
}

int SetDSOMappingToXML(ZQXMLOutputDoc*, const char*, const char*, const char*, const char*,
                       const char*, const char*, const char*, uint32_t, uint32_t, uint32_t,
                       uint32_t, uint32_t, uint32_t, uint32_t, uint32_t, uint32_t, uint32_t,
                       const char*, const char*, ZQQualifierStruct*, const char*, ZQTimestamp,
                       const char*, const char*, const char*, ZQPropList*, ZQStatusList* status) {
  return notYet(status);
}

int GetDSOPoolFromXML(ZQXMLParsedStream*, const char*, char**, char**, uint32_t*, uint32_t*,
                      uint32_t*, char**, uint32_t*, uint32_t*, char**, ZQTimestamp*,
                      ZQAccessNameType, ZQAccessNameType, char**, ZQPropList*,
                      ZQStatusList* status) {
  return notYet(status);
}

int SetDSOPoolToXML(ZQXMLOutputDoc*, const char*, const char*, const char*, uint32_t, uint32_t,
                    uint32_t, const char*, uint32_t, uint32_t, const char*, ZQTimestamp,
                    const char*, const char*, const char*, ZQPropList*, ZQStatusList* status) {
  return notYet(status);
}

int GetFieldFromXML(ZQXMLParsedStream*, const char*, const char*, ZQInternalId*,
                    ZQFieldMappingStruct*, uint32_t*, uint32_t*, uint32_t*, uint32_t*,
                    ZQValueStruct*, ZQPermissionList*, ZQFieldLimitStruct*, ZQDisplayInstanceList*,
                    char**, ZQTimestamp*, ZQAccessNameType, ZQAccessNameType, char**, ZQPropList*,
                    ZQStatusList* status) {
  return notYet(status);
}

int SetFieldToXML(ZQXMLOutputDoc*, const char*, const char*, ZQInternalId, ZQFieldMappingStruct*,
                  uint32_t, uint32_t, uint32_t, uint32_t, ZQValueStruct*, ZQPermissionList*,
                  ZQFieldLimitStruct*, ZQDisplayInstanceList*, const char*, ZQTimestamp,
                  const char*, const char*, const char*, ZQPropList*, ZQStatusList* status) {
  return notYet(status);
}

}  // extern "C"
