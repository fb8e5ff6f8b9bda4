/** \file
 * XML documents: parsing, definitions and entry requests in their XML form.
 *
 * The work is done by the XML library, libzqxmlutil.so, loaded on the first
 * call that needs it (by name, then from the directory of libzqapi). When it
 * cannot be loaded, or lacks an entry point, every call below fails with
 * message 8953 and return code 2, and keeps failing cleanly. */
#ifndef ZQAPI_ZQ_XML_H
#define ZQAPI_ZQ_XML_H

#include "zq_definitions.h"
#include "zq_entries.h"
#include "zq_export.h"
#include "zq_queries.h"
#include "zq_session.h"
#include "zq_workflow.h"

#ifdef __cplusplus
extern "C" {
#endif

/** Kinds of document: text held in memory, or a file named by path. */
#define ZQ_XML_DOC_CHAR_STR 1
#define ZQ_XML_DOC_FILE_NAME 2

/** Which halves of a call an entry document holds. */
#define ZQ_XML_PART_REQUEST 1
#define ZQ_XML_PART_REPLY 2
#define ZQ_XML_PART_BOTH 3

/** A document to read. */
typedef struct ZQXMLInputDoc {
  uint32_t docType; /**< ZQ_XML_DOC_CHAR_STR or ZQ_XML_DOC_FILE_NAME */
  union {
    char* charBuffer; /**< the text (ZQ_XML_DOC_CHAR_STR) */
    char* fileName;   /**< the path (ZQ_XML_DOC_FILE_NAME) */
  } u;
} ZQXMLInputDoc;

/** A document being written: SetDocHeaderToXML starts it, the Set...ToXML
 * calls add objects, SetDocFooterToXML finishes it into charBuffer (allocated
 * by the XML library) or into the file fileName names. */
typedef struct ZQXMLOutputDoc {
  uint32_t docType;
  union {
    char* charBuffer;
    char* fileName;
  } u;
  void* state; /**< the document under construction; owned by the XML library */
} ZQXMLOutputDoc;

/** A parsed document; filled and released by the XML library. */
typedef struct ZQXMLParsedStream {
  void* state;
} ZQXMLParsedStream;

/** The parser of one thread context; the first word is 0 until created. */
typedef struct ZQXMLParserHandle {
  void* state;
} ZQXMLParserHandle;

/* ---- documents ------------------------------------------------------------ */

/** Parses input into parsed. wanted (null or empty: every object) selects the
 * objects; found lists those present, missing those wanted but absent. */
int ZQParseXMLDocument(ZQControlStruct* control, ZQXMLInputDoc* input, ZQStructItemList* wanted,
                       ZQXMLParsedStream* parsed, ZQStructItemList* found,
                       ZQStructItemList* missing, ZQStatusList* status);
/** Object kinds that ZQGetListXMLObjects reports besides the item types of
 * zq_transfer.h (forms, filters, active links, menus, escalations,
 * containers, images). A field or view names its form as its one selected
 * element. */
#define ZQ_XML_OBJECT_FIELD 1001
#define ZQ_XML_OBJECT_VIEW 1002
#define ZQ_XML_OBJECT_DSO_MAPPING 1003
#define ZQ_XML_OBJECT_DSO_POOL 1004

/** The objects of a parsed document, in document order. */
int ZQGetListXMLObjects(ZQControlStruct* control, ZQXMLParsedStream* parsed,
                        ZQStructItemList* objects, ZQStatusList* status);
/**@{*/
/** Starts and finishes a document of several objects. */
int ZQSetDocHeaderToXML(ZQControlStruct* control, ZQXMLOutputDoc* doc, ZQStatusList* status);
int ZQSetDocFooterToXML(ZQControlStruct* control, ZQXMLOutputDoc* doc, ZQStatusList* status);
/**@}*/

/**@{*/
/** Releases what the XML library put into a document. They return 0, or
 * 8953 when the XML library cannot be loaded. */
int FreeZQXMLInputDoc(ZQXMLInputDoc* doc, ZQBoolean freeStruct);
int FreeZQXMLOutputDoc(ZQXMLOutputDoc* doc, ZQBoolean freeStruct);
int FreeZQXMLParsedStream(ZQXMLParsedStream* parsed, ZQBoolean freeStruct);
/**@}*/
/** Releases a parser handle; does nothing when the XML library was never
 * loaded (no handle can exist then). */
int FreeZQXMLParserHandle(ZQXMLParserHandle* handle, ZQBoolean freeStruct);

/* ---- definitions ----------------------------------------------------------
 * Get...FromXML read the object called name out of a parsed document; every
 * output may be null. Set...ToXML add an object to a started document.
 * appBlockName and appOwner name the application the object belongs to. */

/**@{*/
/** An image in XML form. */
int ZQGetImageFromXML(ZQControlStruct* control, ZQXMLParsedStream* parsed, const char* name,
                      char** appBlockName, char** appOwner, ZQImageDataStruct* data,
                      char** imageType, ZQTimestamp* timestamp, char** checksum, char** description,
                      char** helpText, ZQAccessNameType owner, ZQAccessNameType lastChanged,
                      char** changeDiary, ZQPropList* properties, ZQStatusList* status);
int ZQSetImageToXML(ZQControlStruct* control, ZQXMLOutputDoc* doc, const char* name,
                    const char* appBlockName, const char* appOwner, ZQImageDataStruct* data,
                    const char* imageType, ZQTimestamp timestamp, const char* description,
                    const char* helpText, const char* owner, const char* lastChanged,
                    const char* changeDiary, ZQPropList* properties, ZQStatusList* status);
/**@}*/

/**@{*/
/** A form in XML form. */
int ZQGetSchemaFromXML(ZQControlStruct* control, ZQXMLParsedStream* parsed, const char* name,
                       char** appBlockName, char** appOwner, ZQCompoundSchema* schema,
                       ZQSchemaInheritanceList* inheritance, ZQPermissionList* permissions,
                       ZQInternalIdList* subAdminGroups, ZQEntryListFieldList* getListFields,
                       ZQSortList* sort, ZQIndexList* indexes, ZQArchiveInfoStruct* archive,
                       ZQAuditInfoStruct* audit, ZQNameType defaultView, uint32_t* nextFieldId,
                       ZQInternalIdList* fieldIds, ZQInternalIdList* vuiIds, char** helpText,
                       ZQTimestamp* timestamp, ZQAccessNameType owner, ZQAccessNameType lastChanged,
                       char** changeDiary, ZQPropList* properties, uint32_t* option,
                       ZQStatusList* status);
int ZQSetSchemaToXML(ZQControlStruct* control, ZQXMLOutputDoc* doc, const char* name,
                     const char* appBlockName, const char* appOwner, ZQCompoundSchema* schema,
                     ZQSchemaInheritanceList* inheritance, ZQPermissionList* permissions,
                     ZQInternalIdList* subAdminGroups, ZQEntryListFieldList* getListFields,
                     ZQSortList* sort, ZQIndexList* indexes, ZQArchiveInfoStruct* archive,
                     ZQAuditInfoStruct* audit, const char* defaultView, uint32_t nextFieldId,
                     ZQInternalIdList* fieldIds, ZQInternalIdList* vuiIds, const char* helpText,
                     ZQTimestamp timestamp, const char* owner, const char* lastChanged,
                     const char* changeDiary, ZQPropList* properties, uint32_t option,
                     ZQStatusList* status);
/**@}*/

/**@{*/
/** A filter in XML form. */
int ZQGetFilterFromXML(ZQControlStruct* control, ZQXMLParsedStream* parsed, const char* name,
                       char** appBlockName, char** appOwner, uint32_t* order,
                       ZQWorkflowConnectStruct* forms, uint32_t* opSet, uint32_t* enable,
                       ZQQualifierStruct* query, ZQFilterActionList* actions,
                       ZQFilterActionList* elseActions, char** helpText, ZQTimestamp* timestamp,
                       ZQAccessNameType owner, ZQAccessNameType lastChanged, char** changeDiary,
                       ZQPropList* properties, uint32_t* errorOptions, ZQNameType errorFilter,
                       ZQStatusList* status);
int ZQSetFilterToXML(ZQControlStruct* control, ZQXMLOutputDoc* doc, const char* name,
                     const char* appBlockName, const char* appOwner, uint32_t order,
                     ZQWorkflowConnectStruct* forms, uint32_t opSet, uint32_t enable,
                     ZQQualifierStruct* query, ZQFilterActionList* actions,
                     ZQFilterActionList* elseActions, const char* helpText, ZQTimestamp timestamp,
                     const char* owner, const char* lastChanged, const char* changeDiary,
                     ZQPropList* properties, uint32_t errorOptions, const char* errorFilter,
                     ZQStatusList* status);
/**@}*/

/**@{*/
/** An active link in XML form. */
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
                           ZQStatusList* status);
int ZQSetActiveLinkToXML(ZQControlStruct* control, ZQXMLOutputDoc* doc, const char* name,
                         const char* appBlockName, const char* appOwner, uint32_t order,
                         ZQWorkflowConnectStruct* forms, ZQInternalIdList* groups,
                         uint32_t executeMask, ZQInternalId controlField, ZQInternalId focusField,
                         uint32_t enable, ZQQualifierStruct* query, ZQActiveLinkActionList* actions,
                         ZQActiveLinkActionList* elseActions, ZQInternalIdList* subAdminGroups,
                         const char* helpText, ZQTimestamp timestamp, const char* owner,
                         const char* lastChanged, const char* changeDiary, ZQPropList* properties,
                         uint32_t errorOptions, const char* errorActiveLink, ZQStatusList* status);
/**@}*/

/**@{*/
/** An escalation in XML form; interval: seconds between runs. */
int ZQGetEscalationFromXML(ZQControlStruct* control, ZQXMLParsedStream* parsed, const char* name,
                           char** appBlockName, char** appOwner, uint32_t* interval,
                           ZQWorkflowConnectStruct* forms, uint32_t* enable,
                           ZQQualifierStruct* query, ZQFilterActionList* actions,
                           ZQFilterActionList* elseActions, char** helpText, ZQTimestamp* timestamp,
                           ZQAccessNameType owner, ZQAccessNameType lastChanged, char** changeDiary,
                           ZQPropList* properties, ZQStatusList* status);
int ZQSetEscalationToXML(ZQControlStruct* control, ZQXMLOutputDoc* doc, const char* name,
                         const char* appBlockName, const char* appOwner, uint32_t interval,
                         ZQWorkflowConnectStruct* forms, uint32_t enable, ZQQualifierStruct* query,
                         ZQFilterActionList* actions, ZQFilterActionList* elseActions,
                         const char* helpText, ZQTimestamp timestamp, const char* owner,
                         const char* lastChanged, const char* changeDiary, ZQPropList* properties,
                         ZQStatusList* status);
/**@}*/

/**@{*/
/** A container in XML form. */
int ZQGetContainerFromXML(ZQControlStruct* control, ZQXMLParsedStream* parsed, const char* name,
                          char** appBlockName, char** appOwner, ZQPermissionList* permissions,
                          ZQInternalIdList* subAdminGroups, ZQContainerOwnerObjList* ownerObjects,
                          char** label, char** description, uint32_t* type,
                          ZQReferenceList* references, char** helpText, ZQTimestamp* timestamp,
                          ZQAccessNameType owner, ZQAccessNameType lastChanged, char** changeDiary,
                          ZQPropList* properties, ZQStatusList* status);
int ZQSetContainerToXML(ZQControlStruct* control, ZQXMLOutputDoc* doc, const char* name,
                        const char* appBlockName, const char* appOwner,
                        ZQPermissionList* permissions, ZQInternalIdList* subAdminGroups,
                        ZQContainerOwnerObjList* ownerObjects, const char* label,
                        const char* description, uint32_t type, ZQReferenceList* references,
                        const char* helpText, ZQTimestamp timestamp, const char* owner,
                        const char* lastChanged, const char* changeDiary, ZQPropList* properties,
                        ZQStatusList* status);
/**@}*/

/**@{*/
/** A character menu in XML form. */
int ZQGetMenuFromXML(ZQControlStruct* control, ZQXMLParsedStream* parsed, const char* name,
                     char** appBlockName, char** appOwner, uint32_t* refreshCode,
                     ZQCharMenuStruct* menu, char** helpText, ZQTimestamp* timestamp,
                     ZQAccessNameType owner, ZQAccessNameType lastChanged, char** changeDiary,
                     ZQPropList* properties, ZQStatusList* status);
int ZQSetMenuToXML(ZQControlStruct* control, ZQXMLOutputDoc* doc, const char* name,
                   const char* appBlockName, const char* appOwner, uint32_t refreshCode,
                   ZQCharMenuStruct* menu, const char* helpText, ZQTimestamp timestamp,
                   const char* owner, const char* lastChanged, const char* changeDiary,
                   ZQPropList* properties, ZQStatusList* status);
/**@}*/

/**@{*/
/** A view of a form in XML form, found by name (null: by vuiId). */
int ZQGetVUIFromXML(ZQControlStruct* control, ZQXMLParsedStream* parsed, const char* form,
                    const char* name, ZQInternalId* vuiId, char** locale, uint32_t* vuiType,
                    ZQPropList* displayProperties, ZQStatusList* status);
int ZQSetVUIToXML(ZQControlStruct* control, ZQXMLOutputDoc* doc, const char* form, const char* name,
                  ZQInternalId vuiId, const char* locale, uint32_t vuiType,
                  ZQPropList* displayProperties, ZQStatusList* status);
/**@}*/

/**@{*/
/** A mapping that copies entries between forms of two servers in XML form. */
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
                           ZQPropList* properties, ZQStatusList* status);
int ZQSetDSOMappingToXML(ZQControlStruct* control, ZQXMLOutputDoc* doc, const char* name,
                         const char* appBlockName, const char* appOwner, const char* fromForm,
                         const char* fromServer, const char* toForm, const char* toServer,
                         uint32_t enable, uint32_t updateCode, uint32_t transferMode,
                         uint32_t mapType, uint32_t returnMapType, uint32_t defaultMap,
                         uint32_t duplicateAction, uint32_t returnDuplicateAction,
                         uint32_t patternMatch, uint32_t requiredFields, const char* mapping,
                         const char* returnMapping, ZQQualifierStruct* match, const char* helpText,
                         ZQTimestamp timestamp, const char* owner, const char* lastChanged,
                         const char* changeDiary, ZQPropList* properties, ZQStatusList* status);
/**@}*/

/**@{*/
/** A pool of threads that runs mappings in XML form. */
int ZQGetDSOPoolFromXML(ZQControlStruct* control, ZQXMLParsedStream* parsed, const char* name,
                        char** appBlockName, char** appOwner, uint32_t* enable,
                        uint32_t* defaultPool, uint32_t* threadCount, char** connection,
                        uint32_t* polling, uint32_t* pollingInterval, char** helpText,
                        ZQTimestamp* timestamp, ZQAccessNameType owner,
                        ZQAccessNameType lastChanged, char** changeDiary, ZQPropList* properties,
                        ZQStatusList* status);
int ZQSetDSOPoolToXML(ZQControlStruct* control, ZQXMLOutputDoc* doc, const char* name,
                      const char* appBlockName, const char* appOwner, uint32_t enable,
                      uint32_t defaultPool, uint32_t threadCount, const char* connection,
                      uint32_t polling, uint32_t pollingInterval, const char* helpText,
                      ZQTimestamp timestamp, const char* owner, const char* lastChanged,
                      const char* changeDiary, ZQPropList* properties, ZQStatusList* status);
/**@}*/

/**@{*/
/** A field of a form in XML form, found by name (null: by fieldId). */
int ZQGetFieldFromXML(ZQControlStruct* control, ZQXMLParsedStream* parsed, const char* form,
                      const char* name, ZQInternalId* fieldId, ZQFieldMappingStruct* mapping,
                      uint32_t* dataType, uint32_t* option, uint32_t* createMode,
                      uint32_t* optionBits, ZQValueStruct* defaultValue,
                      ZQPermissionList* permissions, ZQFieldLimitStruct* limit,
                      ZQDisplayInstanceList* displays, char** helpText, ZQTimestamp* timestamp,
                      ZQAccessNameType owner, ZQAccessNameType lastChanged, char** changeDiary,
                      ZQPropList* properties, ZQStatusList* status);
int ZQSetFieldToXML(ZQControlStruct* control, ZQXMLOutputDoc* doc, const char* form,
                    const char* name, ZQInternalId fieldId, ZQFieldMappingStruct* mapping,
                    uint32_t dataType, uint32_t option, uint32_t createMode, uint32_t optionBits,
                    ZQValueStruct* defaultValue, ZQPermissionList* permissions,
                    ZQFieldLimitStruct* limit, ZQDisplayInstanceList* displays,
                    const char* helpText, ZQTimestamp timestamp, const char* owner,
                    const char* lastChanged, const char* changeDiary, ZQPropList* properties,
                    ZQStatusList* status);
/**@}*/

/* ---- entry requests and replies ---------------------------------------------
 * Push...ToXML write a call's request (parts ZQ_XML_PART_REQUEST), its reply
 * (ZQ_XML_PART_REPLY) or both into doc, a document of its own; options is 0.
 * Pull...FromXML read back what the document holds; every output may be
 * null. replyStatus carries the server's messages of the reply. */

/**@{*/
/** The request and reply of ZQCreateEntry in XML form. */
int ZQPushCreateEntryToXML(ZQControlStruct* control, ZQXMLOutputDoc* doc, uint32_t parts,
                           uint32_t options, const char* form, ZQFieldValueList* values,
                           const char* entryId, ZQStatusList* replyStatus, ZQStatusList* status);
int ZQPullCreateEntryFromXML(ZQControlStruct* control, ZQXMLInputDoc* input, ZQNameType form,
                             ZQFieldValueList* values, ZQEntryIdType entryId,
                             ZQStatusList* replyStatus, ZQStatusList* status);
/**@}*/

/**@{*/
/** The request and reply of ZQSetEntry in XML form. */
int ZQPushSetEntryToXML(ZQControlStruct* control, ZQXMLOutputDoc* doc, uint32_t parts,
                        uint32_t options, const char* form, ZQEntryIdList* entryId,
                        ZQFieldValueList* values, ZQTimestamp getTime, uint32_t option,
                        ZQStatusList* replyStatus, ZQStatusList* status);
int ZQPullSetEntryFromXML(ZQControlStruct* control, ZQXMLInputDoc* input, ZQNameType form,
                          ZQEntryIdList* entryId, ZQFieldValueList* values, ZQTimestamp* getTime,
                          uint32_t* option, ZQStatusList* replyStatus, ZQStatusList* status);
/**@}*/

/**@{*/
/** The request and reply of ZQDeleteEntry in XML form. */
int ZQPushDeleteEntryToXML(ZQControlStruct* control, ZQXMLOutputDoc* doc, uint32_t parts,
                           uint32_t options, const char* form, ZQEntryIdList* entryId,
                           uint32_t option, ZQStatusList* replyStatus, ZQStatusList* status);
int ZQPullDeleteEntryFromXML(ZQControlStruct* control, ZQXMLInputDoc* input, ZQNameType form,
                             ZQEntryIdList* entryId, uint32_t* option, ZQStatusList* replyStatus,
                             ZQStatusList* status);
/**@}*/

/**@{*/
/** The request and reply of ZQMergeEntry in XML form. */
int ZQPushMergeEntryToXML(ZQControlStruct* control, ZQXMLOutputDoc* doc, uint32_t parts,
                          uint32_t options, const char* form, ZQFieldValueList* values,
                          uint32_t mergeType, const char* entryId, ZQStatusList* replyStatus,
                          ZQStatusList* status);
int ZQPullMergeEntryFromXML(ZQControlStruct* control, ZQXMLInputDoc* input, ZQNameType form,
                            ZQFieldValueList* values, uint32_t* mergeType, ZQEntryIdType entryId,
                            ZQStatusList* replyStatus, ZQStatusList* status);
/**@}*/

/**@{*/
/** The request and reply of ZQGetEntry in XML form. */
int ZQPushGetEntryToXML(ZQControlStruct* control, ZQXMLOutputDoc* doc, uint32_t parts,
                        uint32_t options, const char* form, ZQEntryIdList* entryId,
                        ZQInternalIdList* fieldIds, ZQFieldValueList* values,
                        ZQStatusList* replyStatus, ZQStatusList* status);
int ZQPullGetEntryFromXML(ZQControlStruct* control, ZQXMLInputDoc* input, ZQNameType form,
                          ZQEntryIdList* entryId, ZQInternalIdList* fieldIds,
                          ZQFieldValueList* values, ZQStatusList* replyStatus,
                          ZQStatusList* status);
/**@}*/

/**@{*/
/** The request and reply of ZQGetEntryBLOB in XML form. */
int ZQPushGetEntryBlobToXML(ZQControlStruct* control, ZQXMLOutputDoc* doc, uint32_t parts,
                            uint32_t options, const char* form, ZQEntryIdList* entryId,
                            ZQInternalId fieldId, ZQLocStruct* location, ZQStatusList* replyStatus,
                            ZQStatusList* status);
int ZQPullGetEntryBlobFromXML(ZQControlStruct* control, ZQXMLInputDoc* input, ZQNameType form,
                              ZQEntryIdList* entryId, ZQInternalId* fieldId, ZQLocStruct* location,
                              ZQStatusList* replyStatus, ZQStatusList* status);
/**@}*/

/**@{*/
/** The request and reply of ZQGetListEntryWithFields in XML form. */
int ZQPushGetListEntryWithFieldsToXML(ZQControlStruct* control, ZQXMLOutputDoc* doc, uint32_t parts,
                                      uint32_t options, const char* form,
                                      ZQQualifierStruct* qualifier, ZQEntryListFieldList* fields,
                                      ZQSortList* sort, uint32_t firstRetrieve,
                                      uint32_t maxRetrieve, ZQBoolean useLocale,
                                      ZQEntryListFieldValueList* entries, uint32_t numMatches,
                                      ZQStatusList* status);
int ZQPullGetListEntryWithFieldsFromXML(ZQControlStruct* control, ZQXMLInputDoc* input,
                                        ZQNameType form, ZQQualifierStruct* qualifier,
                                        ZQEntryListFieldList* fields, ZQSortList* sort,
                                        uint32_t* firstRetrieve, uint32_t* maxRetrieve,
                                        ZQBoolean* useLocale, ZQEntryListFieldValueList* entries,
                                        uint32_t* numMatches, ZQStatusList* status);
/**@}*/

/**@{*/
/** The request and reply of ZQGetMultipleEntries in XML form. */
int ZQPushGetMultipleEntriesToXML(ZQControlStruct* control, ZQXMLOutputDoc* doc, uint32_t parts,
                                  uint32_t options, const char* form, ZQEntryIdListList* ids,
                                  ZQInternalIdList* fields, ZQBooleanList* exists,
                                  ZQFieldValueListList* values, ZQStatusList* replyStatus,
                                  ZQStatusList* status);
int ZQPullGetMultipleEntriesFromXML(ZQControlStruct* control, ZQXMLInputDoc* input, ZQNameType form,
                                    ZQEntryIdListList* ids, ZQInternalIdList* fields,
                                    ZQBooleanList* exists, ZQFieldValueListList* values,
                                    ZQStatusList* status);
/**@}*/

/**@{*/
/** The request and reply of ZQGetListEntry in XML form. */
int ZQPushGetListEntryToXML(ZQControlStruct* control, ZQXMLOutputDoc* doc, uint32_t parts,
                            uint32_t options, const char* form, ZQQualifierStruct* qualifier,
                            ZQEntryListFieldList* fields, ZQSortList* sort, uint32_t firstRetrieve,
                            uint32_t maxRetrieve, ZQBoolean useLocale, ZQEntryListList* entries,
                            uint32_t numMatches, ZQStatusList* status);
int ZQPullGetListEntryFromXML(ZQControlStruct* control, ZQXMLInputDoc* input, ZQNameType form,
                              ZQQualifierStruct* qualifier, ZQEntryListFieldList* fields,
                              ZQSortList* sort, uint32_t* firstRetrieve, uint32_t* maxRetrieve,
                              ZQBoolean* useLocale, ZQEntryListList* entries, uint32_t* numMatches,
                              ZQStatusList* status);
/**@}*/

/* ---- entries through XML documents (server calls) ------------------------- */

/* These calls send their documents to the server as text and leave their
 * meaning to it; a null document travels as an empty one. The entry
 * document (the one with the entry's content) travels in the server's
 * character set and protected; the output document, allocated by the
 * library (release it with ZQFree), comes back in the client's character
 * set. Inside a bulk transaction create, set and delete are queued and
 * return no output. zqserverd reads the request documents that
 * ZQPush...ToXML writes (ZQ_XML_PART_REQUEST) and answers with the reply
 * half (ZQ_XML_PART_REPLY); it does not use the mapping and option
 * documents. */

/** Creates an entry from inputDoc (the entry document; for zqserverd the
 * request of a create). outputDoc may be null. */
int ZQXMLCreateEntry(ZQControlStruct* control, const char* inputMapping, const char* inputDoc,
                     const char* outputMapping, const char* optionDoc, char** outputDoc,
                     ZQStatusList* status);
/** Changes an entry by inputDoc (the entry document; for zqserverd the
 * request of a set). outputDoc may be null. */
int ZQXMLSetEntry(ZQControlStruct* control, const char* queryMapping, const char* queryDoc,
                  const char* inputMapping, const char* inputDoc, const char* outputMapping,
                  const char* optionDoc, char** outputDoc, ZQStatusList* status);
/** Reads an entry named by queryDoc (for zqserverd the request of a get)
 * into outputDoc; a null outputDoc still runs the call. */
int ZQXMLGetEntry(ZQControlStruct* control, const char* queryMapping, const char* queryDoc,
                  const char* outputMapping, const char* optionDoc, char** outputDoc,
                  ZQStatusList* status);
/** Services an entry: inputDoc is protected in its own place (not
 * converted); the answer arrives in outputDoc (may be null). */
int ZQXMLServiceEntry(ZQControlStruct* control, const char* queryMapping, const char* queryDoc,
                      const char* inputMapping, const char* inputDoc, const char* outputMapping,
                      const char* optionDoc, char** outputDoc, ZQStatusList* status);
/** Deletes the entry queryDoc names (for zqserverd the request of a
 * delete); the five documents travel unchanged. */
int ZQXMLDeleteEntry(ZQControlStruct* control, const char* queryMapping, const char* queryDoc,
                     const char* inputMapping, const char* inputDoc, const char* optionDoc,
                     ZQStatusList* status);

/* ---- exported by ordinal only (ZQGetOrdinal) -------------------------------- */

/** 842: the form and values of an entry to create, read from a document. */
int ZQGetComplexEntryCreateFromXML(ZQControlStruct* control, ZQXMLInputDoc* input, ZQNameType form,
                                   ZQFieldValueList* values, ZQStatusList* status);
/** 843: the lock of an application's definitions. */
int ZQGetLockBlockFromXML(ZQControlStruct* control, ZQXMLParsedStream* parsed, uint32_t* lockType,
                          char** lockKey, ZQStructItemList* lockedObjects, char** appBlockName,
                          char** appOwner, ZQStatusList* status);
/** 844: up to maxRows entries of a form's data, from row firstRow. */
int ZQGetSchemaDataFromXML(ZQControlStruct* control, ZQXMLParsedStream* parsed, const char* form,
                           uint32_t firstRow, uint32_t maxRows, ZQInternalIdList* fieldIds,
                           ZQFieldValueListList* rows, ZQStatusList* status);

#ifdef __cplusplus
}
#endif

#endif
