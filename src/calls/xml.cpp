// The XML calls: each forwards to the XML library's entry point of the same
// name (without the ZQ), leaving out the control record.
#include "xml/xml.h"
#include "zqapi/zq_xml.h"

using zq::xml::Before;
using zq::xml::Slot;

extern "C" {

int ZQParseXMLDocument(ZQControlStruct* control, ZQXMLInputDoc* input, ZQStructItemList* wanted,
                       ZQXMLParsedStream* parsed, ZQStructItemList* found,
                       ZQStructItemList* missing, ZQStatusList* status) {
  return zq::xml::forwardWithParser<Slot::ParseXMLDocument>(control, status, input, wanted, parsed,
                                                            found, missing);
}

int ZQGetListXMLObjects(ZQControlStruct* control, ZQXMLParsedStream* parsed,
                        ZQStructItemList* objects, ZQStatusList* status) {
  return zq::xml::forwardWithParser<Slot::GetListXMLObjects>(control, status, parsed, objects);
}

int ZQSetDocHeaderToXML(ZQControlStruct* control, ZQXMLOutputDoc* doc, ZQStatusList* status) {
  (void)control;
  return zq::xml::forward<Slot::SetDocHeaderToXML>(Before::initParser, status, doc, 1u);
}

int ZQSetDocFooterToXML(ZQControlStruct* control, ZQXMLOutputDoc* doc, ZQStatusList* status) {
  (void)control;
  return zq::xml::forward<Slot::SetDocFooterToXML>(Before::initParser, status, doc, 1u);
}

int FreeZQXMLInputDoc(ZQXMLInputDoc* doc, ZQBoolean freeStruct) {
  return zq::xml::release<Slot::FreeZQXMLInputDocInternal>(doc, freeStruct);
}

int FreeZQXMLOutputDoc(ZQXMLOutputDoc* doc, ZQBoolean freeStruct) {
  return zq::xml::release<Slot::FreeZQXMLOutputDocInternal>(doc, freeStruct);
}

int FreeZQXMLParsedStream(ZQXMLParsedStream* parsed, ZQBoolean freeStruct) {
  return zq::xml::release<Slot::FreeZQXMLParsedStreamInternal>(parsed, freeStruct);
}

int FreeZQXMLParserHandle(ZQXMLParserHandle* handle, ZQBoolean freeStruct) {
  return zq::xml::releaseParserHandle(handle, freeStruct);
}

int ZQGetImageFromXML(ZQControlStruct* control, ZQXMLParsedStream* parsed, const char* name,
                      char** appBlockName, char** appOwner, ZQImageDataStruct* data,
                      char** imageType, ZQTimestamp* timestamp, char** checksum, char** description,
                      char** helpText, ZQAccessNameType owner, ZQAccessNameType lastChanged,
                      char** changeDiary, ZQPropList* properties, ZQStatusList* status) {
  (void)control;
  return zq::xml::forward<Slot::GetImageFromXML>(
      Before::nothing, status, parsed, name, appBlockName, appOwner, data, imageType, timestamp,
      checksum, description, helpText, owner, lastChanged, changeDiary, properties);
}

int ZQSetImageToXML(ZQControlStruct* control, ZQXMLOutputDoc* doc, const char* name,
                    const char* appBlockName, const char* appOwner, ZQImageDataStruct* data,
                    const char* imageType, ZQTimestamp timestamp, const char* description,
                    const char* helpText, const char* owner, const char* lastChanged,
                    const char* changeDiary, ZQPropList* properties, ZQStatusList* status) {
  (void)control;
  return zq::xml::forward<Slot::SetImageToXML>(
      Before::initParser, status, doc, name, appBlockName, appOwner, data, imageType, timestamp,
      description, helpText, owner, lastChanged, changeDiary, properties);
}

int ZQGetSchemaFromXML(ZQControlStruct* control, ZQXMLParsedStream* parsed, const char* name,
                       char** appBlockName, char** appOwner, ZQCompoundSchema* schema,
                       ZQSchemaInheritanceList* inheritance, ZQPermissionList* permissions,
                       ZQInternalIdList* subAdminGroups, ZQEntryListFieldList* getListFields,
                       ZQSortList* sort, ZQIndexList* indexes, ZQArchiveInfoStruct* archive,
                       ZQAuditInfoStruct* audit, ZQNameType defaultView, uint32_t* nextFieldId,
                       ZQInternalIdList* fieldIds, ZQInternalIdList* vuiIds, char** helpText,
                       ZQTimestamp* timestamp, ZQAccessNameType owner, ZQAccessNameType lastChanged,
                       char** changeDiary, ZQPropList* properties, uint32_t* option,
                       ZQStatusList* status) {
  (void)control;
  return zq::xml::forward<Slot::GetSchemaFromXML>(
      Before::nothing, status, parsed, name, appBlockName, appOwner, schema, inheritance,
      permissions, subAdminGroups, getListFields, sort, indexes, archive, audit, defaultView,
      nextFieldId, fieldIds, vuiIds, helpText, timestamp, owner, lastChanged, changeDiary,
      properties, option);
}

int ZQSetSchemaToXML(ZQControlStruct* control, ZQXMLOutputDoc* doc, const char* name,
                     const char* appBlockName, const char* appOwner, ZQCompoundSchema* schema,
                     ZQSchemaInheritanceList* inheritance, ZQPermissionList* permissions,
                     ZQInternalIdList* subAdminGroups, ZQEntryListFieldList* getListFields,
                     ZQSortList* sort, ZQIndexList* indexes, ZQArchiveInfoStruct* archive,
                     ZQAuditInfoStruct* audit, const char* defaultView, uint32_t nextFieldId,
                     ZQInternalIdList* fieldIds, ZQInternalIdList* vuiIds, const char* helpText,
                     ZQTimestamp timestamp, const char* owner, const char* lastChanged,
                     const char* changeDiary, ZQPropList* properties, uint32_t option,
                     ZQStatusList* status) {
  (void)control;
  return zq::xml::forward<Slot::SetSchemaToXML>(
      Before::initParser, status, doc, name, appBlockName, appOwner, schema, inheritance,
      permissions, subAdminGroups, getListFields, sort, indexes, archive, audit, defaultView,
      nextFieldId, fieldIds, vuiIds, helpText, timestamp, owner, lastChanged, changeDiary,
      properties, option);
}

int ZQGetFilterFromXML(ZQControlStruct* control, ZQXMLParsedStream* parsed, const char* name,
                       char** appBlockName, char** appOwner, uint32_t* order,
                       ZQWorkflowConnectStruct* forms, uint32_t* opSet, uint32_t* enable,
                       ZQQualifierStruct* query, ZQFilterActionList* actions,
                       ZQFilterActionList* elseActions, char** helpText, ZQTimestamp* timestamp,
                       ZQAccessNameType owner, ZQAccessNameType lastChanged, char** changeDiary,
                       ZQPropList* properties, uint32_t* errorOptions, ZQNameType errorFilter,
                       ZQStatusList* status) {
  (void)control;
  return zq::xml::forward<Slot::GetFilterFromXML>(
      Before::nothing, status, parsed, name, appBlockName, appOwner, order, forms, opSet, enable,
      query, actions, elseActions, helpText, timestamp, owner, lastChanged, changeDiary, properties,
      errorOptions, errorFilter);
}

int ZQSetFilterToXML(ZQControlStruct* control, ZQXMLOutputDoc* doc, const char* name,
                     const char* appBlockName, const char* appOwner, uint32_t order,
                     ZQWorkflowConnectStruct* forms, uint32_t opSet, uint32_t enable,
                     ZQQualifierStruct* query, ZQFilterActionList* actions,
                     ZQFilterActionList* elseActions, const char* helpText, ZQTimestamp timestamp,
                     const char* owner, const char* lastChanged, const char* changeDiary,
                     ZQPropList* properties, uint32_t errorOptions, const char* errorFilter,
                     ZQStatusList* status) {
  (void)control;
  return zq::xml::forward<Slot::SetFilterToXML>(
      Before::initParser, status, doc, name, appBlockName, appOwner, order, forms, opSet, enable,
      query, actions, elseActions, helpText, timestamp, owner, lastChanged, changeDiary, properties,
      errorOptions, errorFilter);
}

int ZQGetActiveLinkFromXML(ZQControlStruct* control, ZQXMLParsedStream* parsed, const char* name,
                           char** appBlockName, char** appOwner, uint32_t* order,
                           ZQWorkflowConnectStruct* forms, ZQInternalIdList* groups,
                           uint32_t* executeMask, ZQInternalId* controlField,
                           ZQInternalId* focusField, uint32_t* enable, ZQQualifierStruct* query,
                           ZQActiveLinkActionList* actions, ZQActiveLinkActionList* elseActions,
                           ZQInternalIdList* subAdminGroups, char** helpText,
                           ZQTimestamp* timestamp, ZQAccessNameType owner,
                           ZQAccessNameType lastChanged, char** changeDiary, ZQPropList* properties,
                           uint32_t* errorOptions, ZQNameType errorActiveLink,
                           ZQStatusList* status) {
  (void)control;
  return zq::xml::forward<Slot::GetActiveLinkFromXML>(
      Before::nothing, status, parsed, name, appBlockName, appOwner, order, forms, groups,
      executeMask, controlField, focusField, enable, query, actions, elseActions, subAdminGroups,
      helpText, timestamp, owner, lastChanged, changeDiary, properties, errorOptions,
      errorActiveLink);
}

int ZQSetActiveLinkToXML(ZQControlStruct* control, ZQXMLOutputDoc* doc, const char* name,
                         const char* appBlockName, const char* appOwner, uint32_t order,
                         ZQWorkflowConnectStruct* forms, ZQInternalIdList* groups,
                         uint32_t executeMask, ZQInternalId controlField, ZQInternalId focusField,
                         uint32_t enable, ZQQualifierStruct* query, ZQActiveLinkActionList* actions,
                         ZQActiveLinkActionList* elseActions, ZQInternalIdList* subAdminGroups,
                         const char* helpText, ZQTimestamp timestamp, const char* owner,
                         const char* lastChanged, const char* changeDiary, ZQPropList* properties,
                         uint32_t errorOptions, const char* errorActiveLink, ZQStatusList* status) {
  (void)control;
  return zq::xml::forward<Slot::SetActiveLinkToXML>(
      Before::initParser, status, doc, name, appBlockName, appOwner, order, forms, groups,
      executeMask, controlField, focusField, enable, query, actions, elseActions, subAdminGroups,
      helpText, timestamp, owner, lastChanged, changeDiary, properties, errorOptions,
      errorActiveLink);
}

int ZQGetEscalationFromXML(ZQControlStruct* control, ZQXMLParsedStream* parsed, const char* name,
                           char** appBlockName, char** appOwner, uint32_t* interval,
                           ZQWorkflowConnectStruct* forms, uint32_t* enable,
                           ZQQualifierStruct* query, ZQFilterActionList* actions,
                           ZQFilterActionList* elseActions, char** helpText, ZQTimestamp* timestamp,
                           ZQAccessNameType owner, ZQAccessNameType lastChanged, char** changeDiary,
                           ZQPropList* properties, ZQStatusList* status) {
  (void)control;
  return zq::xml::forward<Slot::GetEscalationFromXML>(
      Before::nothing, status, parsed, name, appBlockName, appOwner, interval, forms, enable, query,
      actions, elseActions, helpText, timestamp, owner, lastChanged, changeDiary, properties);
}

int ZQSetEscalationToXML(ZQControlStruct* control, ZQXMLOutputDoc* doc, const char* name,
                         const char* appBlockName, const char* appOwner, uint32_t interval,
                         ZQWorkflowConnectStruct* forms, uint32_t enable, ZQQualifierStruct* query,
                         ZQFilterActionList* actions, ZQFilterActionList* elseActions,
                         const char* helpText, ZQTimestamp timestamp, const char* owner,
                         const char* lastChanged, const char* changeDiary, ZQPropList* properties,
                         ZQStatusList* status) {
  (void)control;
  return zq::xml::forward<Slot::SetEscalationToXML>(
      Before::initParser, status, doc, name, appBlockName, appOwner, interval, forms, enable, query,
      actions, elseActions, helpText, timestamp, owner, lastChanged, changeDiary, properties);
}

int ZQGetContainerFromXML(ZQControlStruct* control, ZQXMLParsedStream* parsed, const char* name,
                          char** appBlockName, char** appOwner, ZQPermissionList* permissions,
                          ZQInternalIdList* subAdminGroups, ZQContainerOwnerObjList* ownerObjects,
                          char** label, char** description, uint32_t* type,
                          ZQReferenceList* references, char** helpText, ZQTimestamp* timestamp,
                          ZQAccessNameType owner, ZQAccessNameType lastChanged, char** changeDiary,
                          ZQPropList* properties, ZQStatusList* status) {
  (void)control;
  return zq::xml::forward<Slot::GetContainerFromXML>(
      Before::nothing, status, parsed, name, appBlockName, appOwner, permissions, subAdminGroups,
      ownerObjects, label, description, type, references, helpText, timestamp, owner, lastChanged,
      changeDiary, properties);
}

int ZQSetContainerToXML(ZQControlStruct* control, ZQXMLOutputDoc* doc, const char* name,
                        const char* appBlockName, const char* appOwner,
                        ZQPermissionList* permissions, ZQInternalIdList* subAdminGroups,
                        ZQContainerOwnerObjList* ownerObjects, const char* label,
                        const char* description, uint32_t type, ZQReferenceList* references,
                        const char* helpText, ZQTimestamp timestamp, const char* owner,
                        const char* lastChanged, const char* changeDiary, ZQPropList* properties,
                        ZQStatusList* status) {
  (void)control;
  return zq::xml::forward<Slot::SetContainerToXML>(
      Before::initParser, status, doc, name, appBlockName, appOwner, permissions, subAdminGroups,
      ownerObjects, label, description, type, references, helpText, timestamp, owner, lastChanged,
      changeDiary, properties);
}

int ZQGetMenuFromXML(ZQControlStruct* control, ZQXMLParsedStream* parsed, const char* name,
                     char** appBlockName, char** appOwner, uint32_t* refreshCode,
                     ZQCharMenuStruct* menu, char** helpText, ZQTimestamp* timestamp,
                     ZQAccessNameType owner, ZQAccessNameType lastChanged, char** changeDiary,
                     ZQPropList* properties, ZQStatusList* status) {
  (void)control;
  return zq::xml::forward<Slot::GetMenuFromXML>(Before::nothing, status, parsed, name, appBlockName,
                                                appOwner, refreshCode, menu, helpText, timestamp,
                                                owner, lastChanged, changeDiary, properties);
}

int ZQSetMenuToXML(ZQControlStruct* control, ZQXMLOutputDoc* doc, const char* name,
                   const char* appBlockName, const char* appOwner, uint32_t refreshCode,
                   ZQCharMenuStruct* menu, const char* helpText, ZQTimestamp timestamp,
                   const char* owner, const char* lastChanged, const char* changeDiary,
                   ZQPropList* properties, ZQStatusList* status) {
  (void)control;
  return zq::xml::forward<Slot::SetMenuToXML>(Before::initParser, status, doc, name, appBlockName,
                                              appOwner, refreshCode, menu, helpText, timestamp,
                                              owner, lastChanged, changeDiary, properties);
}

int ZQGetVUIFromXML(ZQControlStruct* control, ZQXMLParsedStream* parsed, const char* form,
                    const char* name, ZQInternalId* vuiId, char** locale, uint32_t* vuiType,
                    ZQPropList* displayProperties, ZQStatusList* status) {
  (void)control;
  return zq::xml::forward<Slot::GetVUIFromXML>(Before::nothing, status, parsed, form, name, vuiId,
                                               locale, vuiType, displayProperties);
}

int ZQSetVUIToXML(ZQControlStruct* control, ZQXMLOutputDoc* doc, const char* form, const char* name,
                  ZQInternalId vuiId, const char* locale, uint32_t vuiType,
                  ZQPropList* displayProperties, ZQStatusList* status) {
  (void)control;
  return zq::xml::forward<Slot::SetVUIToXML>(Before::initParser, status, doc, form, name, vuiId,
                                             locale, vuiType, displayProperties);
}

int ZQGetDSOMappingFromXML(ZQControlStruct* control, ZQXMLParsedStream* parsed, const char* name,
                           char** appBlockName, char** appOwner, ZQNameType fromForm,
                           ZQServerNameType fromServer, ZQNameType toForm,
                           ZQServerNameType toServer, uint32_t* enable, uint32_t* updateCode,
                           uint32_t* transferMode, uint32_t* mapType, uint32_t* returnMapType,
                           uint32_t* defaultMap, uint32_t* duplicateAction,
                           uint32_t* returnDuplicateAction, uint32_t* patternMatch,
                           uint32_t* requiredFields, char** mapping, char** returnMapping,
                           ZQQualifierStruct* match, char** helpText, ZQTimestamp* timestamp,
                           ZQAccessNameType owner, ZQAccessNameType lastChanged, char** changeDiary,
                           ZQPropList* properties, ZQStatusList* status) {
  (void)control;
  return zq::xml::forward<Slot::GetDSOMappingFromXML>(
      Before::nothing, status, parsed, name, appBlockName, appOwner, fromForm, fromServer, toForm,
      toServer, enable, updateCode, transferMode, mapType, returnMapType, defaultMap,
      duplicateAction, returnDuplicateAction, patternMatch, requiredFields, mapping, returnMapping,
      match, helpText, timestamp, owner, lastChanged, changeDiary, properties);
}

int ZQSetDSOMappingToXML(ZQControlStruct* control, ZQXMLOutputDoc* doc, const char* name,
                         const char* appBlockName, const char* appOwner, const char* fromForm,
                         const char* fromServer, const char* toForm, const char* toServer,
                         uint32_t enable, uint32_t updateCode, uint32_t transferMode,
                         uint32_t mapType, uint32_t returnMapType, uint32_t defaultMap,
                         uint32_t duplicateAction, uint32_t returnDuplicateAction,
                         uint32_t patternMatch, uint32_t requiredFields, const char* mapping,
                         const char* returnMapping, ZQQualifierStruct* match, const char* helpText,
                         ZQTimestamp timestamp, const char* owner, const char* lastChanged,
                         const char* changeDiary, ZQPropList* properties, ZQStatusList* status) {
  (void)control;
  return zq::xml::forward<Slot::SetDSOMappingToXML>(
      Before::initParser, status, doc, name, appBlockName, appOwner, fromForm, fromServer, toForm,
      toServer, enable, updateCode, transferMode, mapType, returnMapType, defaultMap,
      duplicateAction, returnDuplicateAction, patternMatch, requiredFields, mapping, returnMapping,
      match, helpText, timestamp, owner, lastChanged, changeDiary, properties);
}

int ZQGetDSOPoolFromXML(ZQControlStruct* control, ZQXMLParsedStream* parsed, const char* name,
                        char** appBlockName, char** appOwner, uint32_t* enable,
                        uint32_t* defaultPool, uint32_t* threadCount, char** connection,
                        uint32_t* polling, uint32_t* pollingInterval, char** helpText,
                        ZQTimestamp* timestamp, ZQAccessNameType owner,
                        ZQAccessNameType lastChanged, char** changeDiary, ZQPropList* properties,
                        ZQStatusList* status) {
  (void)control;
  return zq::xml::forward<Slot::GetDSOPoolFromXML>(
      Before::nothing, status, parsed, name, appBlockName, appOwner, enable, defaultPool,
      threadCount, connection, polling, pollingInterval, helpText, timestamp, owner, lastChanged,
      changeDiary, properties);
}

int ZQSetDSOPoolToXML(ZQControlStruct* control, ZQXMLOutputDoc* doc, const char* name,
                      const char* appBlockName, const char* appOwner, uint32_t enable,
                      uint32_t defaultPool, uint32_t threadCount, const char* connection,
                      uint32_t polling, uint32_t pollingInterval, const char* helpText,
                      ZQTimestamp timestamp, const char* owner, const char* lastChanged,
                      const char* changeDiary, ZQPropList* properties, ZQStatusList* status) {
  (void)control;
  return zq::xml::forward<Slot::SetDSOPoolToXML>(
      Before::initParser, status, doc, name, appBlockName, appOwner, enable, defaultPool,
      threadCount, connection, polling, pollingInterval, helpText, timestamp, owner, lastChanged,
      changeDiary, properties);
}

int ZQGetFieldFromXML(ZQControlStruct* control, ZQXMLParsedStream* parsed, const char* form,
                      const char* name, ZQInternalId* fieldId, ZQFieldMappingStruct* mapping,
                      uint32_t* dataType, uint32_t* option, uint32_t* createMode,
                      uint32_t* optionBits, ZQValueStruct* defaultValue,
                      ZQPermissionList* permissions, ZQFieldLimitStruct* limit,
                      ZQDisplayInstanceList* displays, char** helpText, ZQTimestamp* timestamp,
                      ZQAccessNameType owner, ZQAccessNameType lastChanged, char** changeDiary,
                      ZQPropList* properties, ZQStatusList* status) {
  (void)control;
  return zq::xml::forward<Slot::GetFieldFromXML>(
      Before::nothing, status, parsed, form, name, fieldId, mapping, dataType, option, createMode,
      optionBits, defaultValue, permissions, limit, displays, helpText, timestamp, owner,
      lastChanged, changeDiary, properties);
}

int ZQSetFieldToXML(ZQControlStruct* control, ZQXMLOutputDoc* doc, const char* form,
                    const char* name, ZQInternalId fieldId, ZQFieldMappingStruct* mapping,
                    uint32_t dataType, uint32_t option, uint32_t createMode, uint32_t optionBits,
                    ZQValueStruct* defaultValue, ZQPermissionList* permissions,
                    ZQFieldLimitStruct* limit, ZQDisplayInstanceList* displays,
                    const char* helpText, ZQTimestamp timestamp, const char* owner,
                    const char* lastChanged, const char* changeDiary, ZQPropList* properties,
                    ZQStatusList* status) {
  (void)control;
  return zq::xml::forward<Slot::SetFieldToXML>(
      Before::initParser, status, doc, form, name, fieldId, mapping, dataType, option, createMode,
      optionBits, defaultValue, permissions, limit, displays, helpText, timestamp, owner,
      lastChanged, changeDiary, properties);
}

int ZQPushCreateEntryToXML(ZQControlStruct* control, ZQXMLOutputDoc* doc, uint32_t parts,
                           uint32_t options, const char* form, ZQFieldValueList* values,
                           const char* entryId, ZQStatusList* replyStatus, ZQStatusList* status) {
  (void)control;
  return zq::xml::forward<Slot::PushCreateEntryToXML>(Before::initParser, status, doc, parts,
                                                      options, form, values, entryId, replyStatus);
}

int ZQPullCreateEntryFromXML(ZQControlStruct* control, ZQXMLInputDoc* input, ZQNameType form,
                             ZQFieldValueList* values, ZQEntryIdType entryId,
                             ZQStatusList* replyStatus, ZQStatusList* status) {
  (void)control;
  return zq::xml::forward<Slot::PullCreateEntryFromXML>(Before::initParser, status, input, form,
                                                        values, entryId, replyStatus);
}

int ZQPushSetEntryToXML(ZQControlStruct* control, ZQXMLOutputDoc* doc, uint32_t parts,
                        uint32_t options, const char* form, ZQEntryIdList* entryId,
                        ZQFieldValueList* values, ZQTimestamp getTime, uint32_t option,
                        ZQStatusList* replyStatus, ZQStatusList* status) {
  (void)control;
  return zq::xml::forward<Slot::PushSetEntryToXML>(Before::initParser, status, doc, parts, options,
                                                   form, entryId, values, getTime, option,
                                                   replyStatus);
}

int ZQPullSetEntryFromXML(ZQControlStruct* control, ZQXMLInputDoc* input, ZQNameType form,
                          ZQEntryIdList* entryId, ZQFieldValueList* values, ZQTimestamp* getTime,
                          uint32_t* option, ZQStatusList* replyStatus, ZQStatusList* status) {
  (void)control;
  return zq::xml::forward<Slot::PullSetEntryFromXML>(Before::initParser, status, input, form,
                                                     entryId, values, getTime, option, replyStatus);
}

int ZQPushDeleteEntryToXML(ZQControlStruct* control, ZQXMLOutputDoc* doc, uint32_t parts,
                           uint32_t options, const char* form, ZQEntryIdList* entryId,
                           uint32_t option, ZQStatusList* replyStatus, ZQStatusList* status) {
  (void)control;
  return zq::xml::forward<Slot::PushDeleteEntryToXML>(Before::initParser, status, doc, parts,
                                                      options, form, entryId, option, replyStatus);
}

int ZQPullDeleteEntryFromXML(ZQControlStruct* control, ZQXMLInputDoc* input, ZQNameType form,
                             ZQEntryIdList* entryId, uint32_t* option, ZQStatusList* replyStatus,
                             ZQStatusList* status) {
  (void)control;
  return zq::xml::forward<Slot::PullDeleteEntryFromXML>(Before::initParser, status, input, form,
                                                        entryId, option, replyStatus);
}

int ZQPushMergeEntryToXML(ZQControlStruct* control, ZQXMLOutputDoc* doc, uint32_t parts,
                          uint32_t options, const char* form, ZQFieldValueList* values,
                          uint32_t mergeType, const char* entryId, ZQStatusList* replyStatus,
                          ZQStatusList* status) {
  (void)control;
  return zq::xml::forward<Slot::PushMergeEntryToXML>(Before::initParser, status, doc, parts,
                                                     options, form, values, mergeType, entryId,
                                                     replyStatus);
}

int ZQPullMergeEntryFromXML(ZQControlStruct* control, ZQXMLInputDoc* input, ZQNameType form,
                            ZQFieldValueList* values, uint32_t* mergeType, ZQEntryIdType entryId,
                            ZQStatusList* replyStatus, ZQStatusList* status) {
  (void)control;
  return zq::xml::forward<Slot::PullMergeEntryFromXML>(Before::initParser, status, input, form,
                                                       values, mergeType, entryId, replyStatus);
}

int ZQPushGetEntryToXML(ZQControlStruct* control, ZQXMLOutputDoc* doc, uint32_t parts,
                        uint32_t options, const char* form, ZQEntryIdList* entryId,
                        ZQInternalIdList* fieldIds, ZQFieldValueList* values,
                        ZQStatusList* replyStatus, ZQStatusList* status) {
  (void)control;
  return zq::xml::forward<Slot::PushGetEntryToXML>(Before::initParser, status, doc, parts, options,
                                                   form, entryId, fieldIds, values, replyStatus);
}

int ZQPullGetEntryFromXML(ZQControlStruct* control, ZQXMLInputDoc* input, ZQNameType form,
                          ZQEntryIdList* entryId, ZQInternalIdList* fieldIds,
                          ZQFieldValueList* values, ZQStatusList* replyStatus,
                          ZQStatusList* status) {
  (void)control;
  return zq::xml::forward<Slot::PullGetEntryFromXML>(Before::initParser, status, input, form,
                                                     entryId, fieldIds, values, replyStatus);
}

int ZQPushGetEntryBlobToXML(ZQControlStruct* control, ZQXMLOutputDoc* doc, uint32_t parts,
                            uint32_t options, const char* form, ZQEntryIdList* entryId,
                            ZQInternalId fieldId, ZQLocStruct* location, ZQStatusList* replyStatus,
                            ZQStatusList* status) {
  (void)control;
  return zq::xml::forward<Slot::PushGetEntryBlobToXML>(Before::initParser, status, doc, parts,
                                                       options, form, entryId, fieldId, location,
                                                       replyStatus);
}

int ZQPullGetEntryBlobFromXML(ZQControlStruct* control, ZQXMLInputDoc* input, ZQNameType form,
                              ZQEntryIdList* entryId, ZQInternalId* fieldId, ZQLocStruct* location,
                              ZQStatusList* replyStatus, ZQStatusList* status) {
  (void)control;
  return zq::xml::forward<Slot::PullGetEntryBlobFromXML>(Before::initParser, status, input, form,
                                                         entryId, fieldId, location, replyStatus);
}

int ZQPushGetListEntryWithFieldsToXML(ZQControlStruct* control, ZQXMLOutputDoc* doc, uint32_t parts,
                                      uint32_t options, const char* form,
                                      ZQQualifierStruct* qualifier, ZQEntryListFieldList* fields,
                                      ZQSortList* sort, uint32_t firstRetrieve,
                                      uint32_t maxRetrieve, ZQBoolean useLocale,
                                      ZQEntryListFieldValueList* entries, uint32_t numMatches,
                                      ZQStatusList* status) {
  (void)control;
  return zq::xml::forward<Slot::PushGetListEntryWithFieldsToXML>(
      Before::initParser, status, doc, parts, options, form, qualifier, fields, sort, firstRetrieve,
      maxRetrieve, useLocale, entries, numMatches);
}

int ZQPullGetListEntryWithFieldsFromXML(ZQControlStruct* control, ZQXMLInputDoc* input,
                                        ZQNameType form, ZQQualifierStruct* qualifier,
                                        ZQEntryListFieldList* fields, ZQSortList* sort,
                                        uint32_t* firstRetrieve, uint32_t* maxRetrieve,
                                        ZQBoolean* useLocale, ZQEntryListFieldValueList* entries,
                                        uint32_t* numMatches, ZQStatusList* status) {
  (void)control;
  return zq::xml::forward<Slot::PullGetListEntryWithFieldsFromXML>(
      Before::initParser, status, input, form, qualifier, fields, sort, firstRetrieve, maxRetrieve,
      useLocale, entries, numMatches);
}

int ZQPushGetMultipleEntriesToXML(ZQControlStruct* control, ZQXMLOutputDoc* doc, uint32_t parts,
                                  uint32_t options, const char* form, ZQEntryIdListList* ids,
                                  ZQInternalIdList* fields, ZQBooleanList* exists,
                                  ZQFieldValueListList* values, ZQStatusList* replyStatus,
                                  ZQStatusList* status) {
  (void)control;
  return zq::xml::forward<Slot::PushGetMultipleEntriesToXML>(Before::initParser, status, doc, parts,
                                                             options, form, ids, fields, exists,
                                                             values, replyStatus);
}

int ZQPullGetMultipleEntriesFromXML(ZQControlStruct* control, ZQXMLInputDoc* input, ZQNameType form,
                                    ZQEntryIdListList* ids, ZQInternalIdList* fields,
                                    ZQBooleanList* exists, ZQFieldValueListList* values,
                                    ZQStatusList* status) {
  (void)control;
  return zq::xml::forward<Slot::PullGetMultipleEntriesFromXML>(Before::initParser, status, input,
                                                               form, ids, fields, exists, values);
}

int ZQPushGetListEntryToXML(ZQControlStruct* control, ZQXMLOutputDoc* doc, uint32_t parts,
                            uint32_t options, const char* form, ZQQualifierStruct* qualifier,
                            ZQEntryListFieldList* fields, ZQSortList* sort, uint32_t firstRetrieve,
                            uint32_t maxRetrieve, ZQBoolean useLocale, ZQEntryListList* entries,
                            uint32_t numMatches, ZQStatusList* status) {
  (void)control;
  return zq::xml::forward<Slot::PushGetListEntryToXML>(
      Before::initParser, status, doc, parts, options, form, qualifier, fields, sort, firstRetrieve,
      maxRetrieve, useLocale, entries, numMatches);
}

int ZQPullGetListEntryFromXML(ZQControlStruct* control, ZQXMLInputDoc* input, ZQNameType form,
                              ZQQualifierStruct* qualifier, ZQEntryListFieldList* fields,
                              ZQSortList* sort, uint32_t* firstRetrieve, uint32_t* maxRetrieve,
                              ZQBoolean* useLocale, ZQEntryListList* entries, uint32_t* numMatches,
                              ZQStatusList* status) {
  (void)control;
  return zq::xml::forward<Slot::PullGetListEntryFromXML>(
      Before::initParser, status, input, form, qualifier, fields, sort, firstRetrieve, maxRetrieve,
      useLocale, entries, numMatches);
}

int ZQGetComplexEntryCreateFromXML(ZQControlStruct* control, ZQXMLInputDoc* input, ZQNameType form,
                                   ZQFieldValueList* values, ZQStatusList* status) {
  (void)control;
  return zq::xml::forward<Slot::GetComplexEntryCreateFromXML>(Before::initParser, status, input,
                                                              form, 0u, values);
}

int ZQGetLockBlockFromXML(ZQControlStruct* control, ZQXMLParsedStream* parsed, uint32_t* lockType,
                          char** lockKey, ZQStructItemList* lockedObjects, char** appBlockName,
                          char** appOwner, ZQStatusList* status) {
  (void)control;
  return zq::xml::forward<Slot::GetLockBlockFromXML>(
      Before::initParser, status, parsed, lockType, lockKey, lockedObjects, appBlockName, appOwner);
}

int ZQGetSchemaDataFromXML(ZQControlStruct* control, ZQXMLParsedStream* parsed, const char* form,
                           uint32_t firstRow, uint32_t maxRows, ZQInternalIdList* fieldIds,
                           ZQFieldValueListList* rows, ZQStatusList* status) {
  (void)control;
  return zq::xml::forward<Slot::GetSchemaDataFromXML>(Before::initParser, status, parsed, form,
                                                      firstRow, maxRows, fieldIds, rows);
}

}  // extern "C"
