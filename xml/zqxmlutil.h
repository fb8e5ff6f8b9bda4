/* libzqxmlutil: the XML library behind libzqapi's XML calls.
 *
 * libzqapi loads it on first use and resolves these entry points by name;
 * each takes the arguments of the libzqapi call of the same name without its
 * control record (see zqapi/zq_xml.h), the status list last. They return 0,
 * 1 (warning) or 2 and more (error), with the messages in the status list. */
#ifndef ZQXMLUTIL_H
#define ZQXMLUTIL_H

#include "zqapi/zq_xml.h"

#ifdef __cplusplus
extern "C" {
#endif

#define ZQXMLUTIL_API __attribute__((visibility("default")))

/* Library and parser set-up. */
ZQXMLUTIL_API int InitXMLParser(ZQStatusList* status);
ZQXMLUTIL_API int CreateXMLParserHandle(ZQXMLParserHandle* handle, ZQStatusList* status);
ZQXMLUTIL_API int ParseXMLDocument(ZQXMLParserHandle* handle, ZQXMLInputDoc* input,
                                   ZQStructItemList* wanted, ZQXMLParsedStream* parsed,
                                   ZQStructItemList* found, ZQStructItemList* missing,
                                   ZQStatusList* status);
ZQXMLUTIL_API int GetListXMLObjects(ZQXMLParserHandle* handle, ZQXMLParsedStream* parsed,
                                    ZQStructItemList* objects, ZQStatusList* status);
/* withDeclaration: 1 writes the XML declaration (libzqapi always passes 1). */
ZQXMLUTIL_API int SetDocHeaderToXML(ZQXMLOutputDoc* doc, uint32_t withDeclaration,
                                    ZQStatusList* status);
ZQXMLUTIL_API int SetDocFooterToXML(ZQXMLOutputDoc* doc, uint32_t withDeclaration,
                                    ZQStatusList* status);

/* Releasing what the library filled. */
ZQXMLUTIL_API int FreeZQXMLInputDocInternal(ZQXMLInputDoc* doc, ZQBoolean freeStruct);
ZQXMLUTIL_API int FreeZQXMLOutputDocInternal(ZQXMLOutputDoc* doc, ZQBoolean freeStruct);
ZQXMLUTIL_API int FreeZQXMLParsedStreamInternal(ZQXMLParsedStream* parsed, ZQBoolean freeStruct);
ZQXMLUTIL_API int FreeZQXMLParserHandleInternal(ZQXMLParserHandle* handle, ZQBoolean freeStruct);

/* Calls exported by libzqapi by ordinal only. validateOnly: libzqapi passes 0;
 * non-zero only checks the document. The entry to create is the request of a
 * <createEntry> (PushCreateEntryToXML writes it); the lock block and the rows
 * of a form are objects of a document of many, written by the two Set calls
 * below (libzqxmlutil's own: libzqapi does not forward them). */
ZQXMLUTIL_API int GetComplexEntryCreateFromXML(ZQXMLInputDoc* input, ZQNameType form,
                                               uint32_t validateOnly, ZQFieldValueList* values,
                                               ZQStatusList* status);
ZQXMLUTIL_API int GetLockBlockFromXML(ZQXMLParsedStream* parsed, uint32_t* lockType, char** lockKey,
                                      ZQStructItemList* lockedObjects, char** appBlockName,
                                      char** appOwner, ZQStatusList* status);
ZQXMLUTIL_API int GetSchemaDataFromXML(ZQXMLParsedStream* parsed, const char* form,
                                       uint32_t firstRow, uint32_t maxRows,
                                       ZQInternalIdList* fieldIds, ZQFieldValueListList* rows,
                                       ZQStatusList* status);
/* The lock of the document's definitions: one per document. */
ZQXMLUTIL_API int SetLockBlockToXML(ZQXMLOutputDoc* doc, uint32_t lockType, const char* lockKey,
                                    ZQStructItemList* lockedObjects, const char* appBlockName,
                                    const char* appOwner, ZQStatusList* status);
/* The entries of a form: every value of a row names one of fieldIds. */
ZQXMLUTIL_API int SetSchemaDataToXML(ZQXMLOutputDoc* doc, const char* form,
                                     ZQInternalIdList* fieldIds, ZQFieldValueListList* rows,
                                     ZQStatusList* status);

/* Definitions, entry requests and replies. */
ZQXMLUTIL_API int GetImageFromXML(ZQXMLParsedStream* parsed, const char* name, char** appBlockName,
                                  char** appOwner, ZQImageDataStruct* data, char** imageType,
                                  ZQTimestamp* timestamp, char** checksum, char** description,
                                  char** helpText, ZQAccessNameType owner,
                                  ZQAccessNameType lastChanged, char** changeDiary,
                                  ZQPropList* properties, ZQStatusList* status);
ZQXMLUTIL_API int SetImageToXML(ZQXMLOutputDoc* doc, const char* name, const char* appBlockName,
                                const char* appOwner, ZQImageDataStruct* data,
                                const char* imageType, ZQTimestamp timestamp,
                                const char* description, const char* helpText, const char* owner,
                                const char* lastChanged, const char* changeDiary,
                                ZQPropList* properties, ZQStatusList* status);
ZQXMLUTIL_API int GetSchemaFromXML(
    ZQXMLParsedStream* parsed, const char* name, char** appBlockName, char** appOwner,
    ZQCompoundSchema* schema, ZQSchemaInheritanceList* inheritance, ZQPermissionList* permissions,
    ZQInternalIdList* subAdminGroups, ZQEntryListFieldList* getListFields, ZQSortList* sort,
    ZQIndexList* indexes, ZQArchiveInfoStruct* archive, ZQAuditInfoStruct* audit,
    ZQNameType defaultView, uint32_t* nextFieldId, ZQInternalIdList* fieldIds,
    ZQInternalIdList* vuiIds, char** helpText, ZQTimestamp* timestamp, ZQAccessNameType owner,
    ZQAccessNameType lastChanged, char** changeDiary, ZQPropList* properties, uint32_t* option,
    ZQStatusList* status);
ZQXMLUTIL_API int SetSchemaToXML(
    ZQXMLOutputDoc* doc, const char* name, const char* appBlockName, const char* appOwner,
    ZQCompoundSchema* schema, ZQSchemaInheritanceList* inheritance, ZQPermissionList* permissions,
    ZQInternalIdList* subAdminGroups, ZQEntryListFieldList* getListFields, ZQSortList* sort,
    ZQIndexList* indexes, ZQArchiveInfoStruct* archive, ZQAuditInfoStruct* audit,
    const char* defaultView, uint32_t nextFieldId, ZQInternalIdList* fieldIds,
    ZQInternalIdList* vuiIds, const char* helpText, ZQTimestamp timestamp, const char* owner,
    const char* lastChanged, const char* changeDiary, ZQPropList* properties, uint32_t option,
    ZQStatusList* status);
ZQXMLUTIL_API int GetFilterFromXML(ZQXMLParsedStream* parsed, const char* name, char** appBlockName,
                                   char** appOwner, uint32_t* order, ZQWorkflowConnectStruct* forms,
                                   uint32_t* opSet, uint32_t* enable, ZQQualifierStruct* query,
                                   ZQFilterActionList* actions, ZQFilterActionList* elseActions,
                                   char** helpText, ZQTimestamp* timestamp, ZQAccessNameType owner,
                                   ZQAccessNameType lastChanged, char** changeDiary,
                                   ZQPropList* properties, uint32_t* errorOptions,
                                   ZQNameType errorFilter, ZQStatusList* status);
ZQXMLUTIL_API int SetFilterToXML(ZQXMLOutputDoc* doc, const char* name, const char* appBlockName,
                                 const char* appOwner, uint32_t order,
                                 ZQWorkflowConnectStruct* forms, uint32_t opSet, uint32_t enable,
                                 ZQQualifierStruct* query, ZQFilterActionList* actions,
                                 ZQFilterActionList* elseActions, const char* helpText,
                                 ZQTimestamp timestamp, const char* owner, const char* lastChanged,
                                 const char* changeDiary, ZQPropList* properties,
                                 uint32_t errorOptions, const char* errorFilter,
                                 ZQStatusList* status);
ZQXMLUTIL_API int GetActiveLinkFromXML(
    ZQXMLParsedStream* parsed, const char* name, char** appBlockName, char** appOwner,
    uint32_t* order, ZQWorkflowConnectStruct* forms, ZQInternalIdList* groups,
    uint32_t* executeMask, ZQInternalId* controlField, ZQInternalId* focusField, uint32_t* enable,
    ZQQualifierStruct* query, ZQActiveLinkActionList* actions, ZQActiveLinkActionList* elseActions,
    ZQInternalIdList* subAdminGroups, char** helpText, ZQTimestamp* timestamp,
    ZQAccessNameType owner, ZQAccessNameType lastChanged, char** changeDiary,
    ZQPropList* properties, uint32_t* errorOptions, ZQNameType errorActiveLink,
    ZQStatusList* status);
ZQXMLUTIL_API int SetActiveLinkToXML(
    ZQXMLOutputDoc* doc, const char* name, const char* appBlockName, const char* appOwner,
    uint32_t order, ZQWorkflowConnectStruct* forms, ZQInternalIdList* groups, uint32_t executeMask,
    ZQInternalId controlField, ZQInternalId focusField, uint32_t enable, ZQQualifierStruct* query,
    ZQActiveLinkActionList* actions, ZQActiveLinkActionList* elseActions,
    ZQInternalIdList* subAdminGroups, const char* helpText, ZQTimestamp timestamp,
    const char* owner, const char* lastChanged, const char* changeDiary, ZQPropList* properties,
    uint32_t errorOptions, const char* errorActiveLink, ZQStatusList* status);
ZQXMLUTIL_API int GetEscalationFromXML(ZQXMLParsedStream* parsed, const char* name,
                                       char** appBlockName, char** appOwner, uint32_t* interval,
                                       ZQWorkflowConnectStruct* forms, uint32_t* enable,
                                       ZQQualifierStruct* query, ZQFilterActionList* actions,
                                       ZQFilterActionList* elseActions, char** helpText,
                                       ZQTimestamp* timestamp, ZQAccessNameType owner,
                                       ZQAccessNameType lastChanged, char** changeDiary,
                                       ZQPropList* properties, ZQStatusList* status);
ZQXMLUTIL_API int SetEscalationToXML(ZQXMLOutputDoc* doc, const char* name,
                                     const char* appBlockName, const char* appOwner,
                                     uint32_t interval, ZQWorkflowConnectStruct* forms,
                                     uint32_t enable, ZQQualifierStruct* query,
                                     ZQFilterActionList* actions, ZQFilterActionList* elseActions,
                                     const char* helpText, ZQTimestamp timestamp, const char* owner,
                                     const char* lastChanged, const char* changeDiary,
                                     ZQPropList* properties, ZQStatusList* status);
ZQXMLUTIL_API int GetContainerFromXML(
    ZQXMLParsedStream* parsed, const char* name, char** appBlockName, char** appOwner,
    ZQPermissionList* permissions, ZQInternalIdList* subAdminGroups,
    ZQContainerOwnerObjList* ownerObjects, char** label, char** description, uint32_t* type,
    ZQReferenceList* references, char** helpText, ZQTimestamp* timestamp, ZQAccessNameType owner,
    ZQAccessNameType lastChanged, char** changeDiary, ZQPropList* properties, ZQStatusList* status);
ZQXMLUTIL_API int SetContainerToXML(ZQXMLOutputDoc* doc, const char* name, const char* appBlockName,
                                    const char* appOwner, ZQPermissionList* permissions,
                                    ZQInternalIdList* subAdminGroups,
                                    ZQContainerOwnerObjList* ownerObjects, const char* label,
                                    const char* description, uint32_t type,
                                    ZQReferenceList* references, const char* helpText,
                                    ZQTimestamp timestamp, const char* owner,
                                    const char* lastChanged, const char* changeDiary,
                                    ZQPropList* properties, ZQStatusList* status);
ZQXMLUTIL_API int GetMenuFromXML(ZQXMLParsedStream* parsed, const char* name, char** appBlockName,
                                 char** appOwner, uint32_t* refreshCode, ZQCharMenuStruct* menu,
                                 char** helpText, ZQTimestamp* timestamp, ZQAccessNameType owner,
                                 ZQAccessNameType lastChanged, char** changeDiary,
                                 ZQPropList* properties, ZQStatusList* status);
ZQXMLUTIL_API int SetMenuToXML(ZQXMLOutputDoc* doc, const char* name, const char* appBlockName,
                               const char* appOwner, uint32_t refreshCode, ZQCharMenuStruct* menu,
                               const char* helpText, ZQTimestamp timestamp, const char* owner,
                               const char* lastChanged, const char* changeDiary,
                               ZQPropList* properties, ZQStatusList* status);
ZQXMLUTIL_API int GetVUIFromXML(ZQXMLParsedStream* parsed, const char* form, const char* name,
                                ZQInternalId* vuiId, char** locale, uint32_t* vuiType,
                                ZQPropList* displayProperties, ZQStatusList* status);
ZQXMLUTIL_API int SetVUIToXML(ZQXMLOutputDoc* doc, const char* form, const char* name,
                              ZQInternalId vuiId, const char* locale, uint32_t vuiType,
                              ZQPropList* displayProperties, ZQStatusList* status);
ZQXMLUTIL_API int GetDSOMappingFromXML(
    ZQXMLParsedStream* parsed, const char* name, char** appBlockName, char** appOwner,
    ZQNameType fromForm, ZQServerNameType fromServer, ZQNameType toForm, ZQServerNameType toServer,
    uint32_t* enable, uint32_t* updateCode, uint32_t* transferMode, uint32_t* mapType,
    uint32_t* returnMapType, uint32_t* defaultMap, uint32_t* duplicateAction,
    uint32_t* returnDuplicateAction, uint32_t* patternMatch, uint32_t* requiredFields,
    char** mapping, char** returnMapping, ZQQualifierStruct* match, char** helpText,
    ZQTimestamp* timestamp, ZQAccessNameType owner, ZQAccessNameType lastChanged,
    char** changeDiary, ZQPropList* properties, ZQStatusList* status);
ZQXMLUTIL_API int SetDSOMappingToXML(
    ZQXMLOutputDoc* doc, const char* name, const char* appBlockName, const char* appOwner,
    const char* fromForm, const char* fromServer, const char* toForm, const char* toServer,
    uint32_t enable, uint32_t updateCode, uint32_t transferMode, uint32_t mapType,
    uint32_t returnMapType, uint32_t defaultMap, uint32_t duplicateAction,
    uint32_t returnDuplicateAction, uint32_t patternMatch, uint32_t requiredFields,
    const char* mapping, const char* returnMapping, ZQQualifierStruct* match, const char* helpText,
    ZQTimestamp timestamp, const char* owner, const char* lastChanged, const char* changeDiary,
    ZQPropList* properties, ZQStatusList* status);
ZQXMLUTIL_API int GetDSOPoolFromXML(ZQXMLParsedStream* parsed, const char* name,
                                    char** appBlockName, char** appOwner, uint32_t* enable,
                                    uint32_t* defaultPool, uint32_t* threadCount, char** connection,
                                    uint32_t* polling, uint32_t* pollingInterval, char** helpText,
                                    ZQTimestamp* timestamp, ZQAccessNameType owner,
                                    ZQAccessNameType lastChanged, char** changeDiary,
                                    ZQPropList* properties, ZQStatusList* status);
ZQXMLUTIL_API int SetDSOPoolToXML(ZQXMLOutputDoc* doc, const char* name, const char* appBlockName,
                                  const char* appOwner, uint32_t enable, uint32_t defaultPool,
                                  uint32_t threadCount, const char* connection, uint32_t polling,
                                  uint32_t pollingInterval, const char* helpText,
                                  ZQTimestamp timestamp, const char* owner, const char* lastChanged,
                                  const char* changeDiary, ZQPropList* properties,
                                  ZQStatusList* status);
ZQXMLUTIL_API int GetFieldFromXML(ZQXMLParsedStream* parsed, const char* form, const char* name,
                                  ZQInternalId* fieldId, ZQFieldMappingStruct* mapping,
                                  uint32_t* dataType, uint32_t* option, uint32_t* createMode,
                                  uint32_t* optionBits, ZQValueStruct* defaultValue,
                                  ZQPermissionList* permissions, ZQFieldLimitStruct* limit,
                                  ZQDisplayInstanceList* displays, char** helpText,
                                  ZQTimestamp* timestamp, ZQAccessNameType owner,
                                  ZQAccessNameType lastChanged, char** changeDiary,
                                  ZQPropList* properties, ZQStatusList* status);
ZQXMLUTIL_API int SetFieldToXML(ZQXMLOutputDoc* doc, const char* form, const char* name,
                                ZQInternalId fieldId, ZQFieldMappingStruct* mapping,
                                uint32_t dataType, uint32_t option, uint32_t createMode,
                                uint32_t optionBits, ZQValueStruct* defaultValue,
                                ZQPermissionList* permissions, ZQFieldLimitStruct* limit,
                                ZQDisplayInstanceList* displays, const char* helpText,
                                ZQTimestamp timestamp, const char* owner, const char* lastChanged,
                                const char* changeDiary, ZQPropList* properties,
                                ZQStatusList* status);
ZQXMLUTIL_API int PushCreateEntryToXML(ZQXMLOutputDoc* doc, uint32_t parts, uint32_t options,
                                       const char* form, ZQFieldValueList* values,
                                       const char* entryId, ZQStatusList* replyStatus,
                                       ZQStatusList* status);
ZQXMLUTIL_API int PullCreateEntryFromXML(ZQXMLInputDoc* input, ZQNameType form,
                                         ZQFieldValueList* values, ZQEntryIdType entryId,
                                         ZQStatusList* replyStatus, ZQStatusList* status);
ZQXMLUTIL_API int PushSetEntryToXML(ZQXMLOutputDoc* doc, uint32_t parts, uint32_t options,
                                    const char* form, ZQEntryIdList* entryId,
                                    ZQFieldValueList* values, ZQTimestamp getTime, uint32_t option,
                                    ZQStatusList* replyStatus, ZQStatusList* status);
ZQXMLUTIL_API int PullSetEntryFromXML(ZQXMLInputDoc* input, ZQNameType form, ZQEntryIdList* entryId,
                                      ZQFieldValueList* values, ZQTimestamp* getTime,
                                      uint32_t* option, ZQStatusList* replyStatus,
                                      ZQStatusList* status);
ZQXMLUTIL_API int PushDeleteEntryToXML(ZQXMLOutputDoc* doc, uint32_t parts, uint32_t options,
                                       const char* form, ZQEntryIdList* entryId, uint32_t option,
                                       ZQStatusList* replyStatus, ZQStatusList* status);
ZQXMLUTIL_API int PullDeleteEntryFromXML(ZQXMLInputDoc* input, ZQNameType form,
                                         ZQEntryIdList* entryId, uint32_t* option,
                                         ZQStatusList* replyStatus, ZQStatusList* status);
ZQXMLUTIL_API int PushMergeEntryToXML(ZQXMLOutputDoc* doc, uint32_t parts, uint32_t options,
                                      const char* form, ZQFieldValueList* values,
                                      uint32_t mergeType, const char* entryId,
                                      ZQStatusList* replyStatus, ZQStatusList* status);
ZQXMLUTIL_API int PullMergeEntryFromXML(ZQXMLInputDoc* input, ZQNameType form,
                                        ZQFieldValueList* values, uint32_t* mergeType,
                                        ZQEntryIdType entryId, ZQStatusList* replyStatus,
                                        ZQStatusList* status);
ZQXMLUTIL_API int PushGetEntryToXML(ZQXMLOutputDoc* doc, uint32_t parts, uint32_t options,
                                    const char* form, ZQEntryIdList* entryId,
                                    ZQInternalIdList* fieldIds, ZQFieldValueList* values,
                                    ZQStatusList* replyStatus, ZQStatusList* status);
ZQXMLUTIL_API int PullGetEntryFromXML(ZQXMLInputDoc* input, ZQNameType form, ZQEntryIdList* entryId,
                                      ZQInternalIdList* fieldIds, ZQFieldValueList* values,
                                      ZQStatusList* replyStatus, ZQStatusList* status);
ZQXMLUTIL_API int PushGetEntryBlobToXML(ZQXMLOutputDoc* doc, uint32_t parts, uint32_t options,
                                        const char* form, ZQEntryIdList* entryId,
                                        ZQInternalId fieldId, ZQLocStruct* location,
                                        ZQStatusList* replyStatus, ZQStatusList* status);
ZQXMLUTIL_API int PullGetEntryBlobFromXML(ZQXMLInputDoc* input, ZQNameType form,
                                          ZQEntryIdList* entryId, ZQInternalId* fieldId,
                                          ZQLocStruct* location, ZQStatusList* replyStatus,
                                          ZQStatusList* status);
ZQXMLUTIL_API int PushGetListEntryWithFieldsToXML(
    ZQXMLOutputDoc* doc, uint32_t parts, uint32_t options, const char* form,
    ZQQualifierStruct* qualifier, ZQEntryListFieldList* fields, ZQSortList* sort,
    uint32_t firstRetrieve, uint32_t maxRetrieve, ZQBoolean useLocale,
    ZQEntryListFieldValueList* entries, uint32_t numMatches, ZQStatusList* status);
ZQXMLUTIL_API int PullGetListEntryWithFieldsFromXML(ZQXMLInputDoc* input, ZQNameType form,
                                                    ZQQualifierStruct* qualifier,
                                                    ZQEntryListFieldList* fields, ZQSortList* sort,
                                                    uint32_t* firstRetrieve, uint32_t* maxRetrieve,
                                                    ZQBoolean* useLocale,
                                                    ZQEntryListFieldValueList* entries,
                                                    uint32_t* numMatches, ZQStatusList* status);
ZQXMLUTIL_API int PushGetMultipleEntriesToXML(ZQXMLOutputDoc* doc, uint32_t parts, uint32_t options,
                                              const char* form, ZQEntryIdListList* ids,
                                              ZQInternalIdList* fields, ZQBooleanList* exists,
                                              ZQFieldValueListList* values,
                                              ZQStatusList* replyStatus, ZQStatusList* status);
ZQXMLUTIL_API int PullGetMultipleEntriesFromXML(ZQXMLInputDoc* input, ZQNameType form,
                                                ZQEntryIdListList* ids, ZQInternalIdList* fields,
                                                ZQBooleanList* exists, ZQFieldValueListList* values,
                                                ZQStatusList* status);
ZQXMLUTIL_API int PushGetListEntryToXML(ZQXMLOutputDoc* doc, uint32_t parts, uint32_t options,
                                        const char* form, ZQQualifierStruct* qualifier,
                                        ZQEntryListFieldList* fields, ZQSortList* sort,
                                        uint32_t firstRetrieve, uint32_t maxRetrieve,
                                        ZQBoolean useLocale, ZQEntryListList* entries,
                                        uint32_t numMatches, ZQStatusList* status);
ZQXMLUTIL_API int PullGetListEntryFromXML(ZQXMLInputDoc* input, ZQNameType form,
                                          ZQQualifierStruct* qualifier,
                                          ZQEntryListFieldList* fields, ZQSortList* sort,
                                          uint32_t* firstRetrieve, uint32_t* maxRetrieve,
                                          ZQBoolean* useLocale, ZQEntryListList* entries,
                                          uint32_t* numMatches, ZQStatusList* status);

#ifdef __cplusplus
}
#endif

#endif
