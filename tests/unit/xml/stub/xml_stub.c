/* A stand-in XML library for the loader tests: every entry point records
 * that it ran and returns what the test set. Built twice: complete, and
 * without its last entry point (ZQ_TEST_XML_INCOMPLETE). */
#include <stdlib.h>
#include <string.h>

#include "zqxmlutil.h"

typedef struct XmlStubState {
  int result;             /* what every entry point returns */
  int warn;               /* add a warning (number 4242) before returning */
  int initResult;         /* what InitXMLParser returns */
  int calls;              /* entry points run, InitXMLParser included */
  int inits;              /* InitXMLParser runs */
  int handlesCreated;     /* CreateXMLParserHandle runs */
  int handlesFreed;       /* FreeZQXMLParserHandleInternal runs */
  long lastConstant;      /* the constant a forwarder inserted */
  const void* lastHandle; /* the handle passed to the parser calls */
  char lastCall[64];
} XmlStubState;

static XmlStubState g_state;

__attribute__((visibility("default"))) XmlStubState* zqTestXmlState(void) {
  return &g_state;
}

static int record(const char* name, ZQStatusList* status) {
  ++g_state.calls;
  strncpy(g_state.lastCall, name, sizeof g_state.lastCall - 1);
  if (g_state.warn && status) {
    ZQStatusStruct* items = realloc(status->items, (status->count + 1) * sizeof *items);
    if (items) {
      status->items = items;
      items[status->count].messageType = ZQ_MESSAGE_WARNING;
      items[status->count].messageNumber = 4242;
      items[status->count].message = strdup("stub warning");
      items[status->count].appended = NULL;
      ++status->count;
    }
  }
  return g_state.result;
}

ZQXMLUTIL_API int InitXMLParser(ZQStatusList* status) {
  ++g_state.inits;
  ++g_state.calls;
  strcpy(g_state.lastCall, "InitXMLParser");
  (void)status;
  return g_state.initResult;
}

ZQXMLUTIL_API int CreateXMLParserHandle(ZQXMLParserHandle* handle, ZQStatusList* status) {
  ++g_state.handlesCreated;
  if (g_state.result < 2) handle->state = &g_state;
  return record("CreateXMLParserHandle", status);
}

ZQXMLUTIL_API int ParseXMLDocument(ZQXMLParserHandle* handle, ZQXMLInputDoc* input,
                                   ZQStructItemList* wanted, ZQXMLParsedStream* parsed,
                                   ZQStructItemList* found, ZQStructItemList* missing,
                                   ZQStatusList* status) {
  (void)input;
  (void)wanted;
  (void)parsed;
  (void)found;
  (void)missing;
  g_state.lastHandle = handle;
  return record("ParseXMLDocument", status);
}

ZQXMLUTIL_API int GetListXMLObjects(ZQXMLParserHandle* handle, ZQXMLParsedStream* parsed,
                                    ZQStructItemList* objects, ZQStatusList* status) {
  (void)parsed;
  (void)objects;
  g_state.lastHandle = handle;
  return record("GetListXMLObjects", status);
}

ZQXMLUTIL_API int SetDocHeaderToXML(ZQXMLOutputDoc* doc, uint32_t withDeclaration,
                                    ZQStatusList* status) {
  (void)doc;
  g_state.lastConstant = withDeclaration;
  return record("SetDocHeaderToXML", status);
}

ZQXMLUTIL_API int SetDocFooterToXML(ZQXMLOutputDoc* doc, uint32_t withDeclaration,
                                    ZQStatusList* status) {
  (void)doc;
  g_state.lastConstant = withDeclaration;
  return record("SetDocFooterToXML", status);
}

ZQXMLUTIL_API int FreeZQXMLInputDocInternal(ZQXMLInputDoc* doc, ZQBoolean freeStruct) {
  (void)doc;
  (void)freeStruct;
  strcpy(g_state.lastCall, "FreeZQXMLInputDocInternal");
  return 0;
}

ZQXMLUTIL_API int FreeZQXMLOutputDocInternal(ZQXMLOutputDoc* doc, ZQBoolean freeStruct) {
  (void)doc;
  (void)freeStruct;
  strcpy(g_state.lastCall, "FreeZQXMLOutputDocInternal");
  return 0;
}

ZQXMLUTIL_API int FreeZQXMLParsedStreamInternal(ZQXMLParsedStream* parsed, ZQBoolean freeStruct) {
  (void)parsed;
  (void)freeStruct;
  strcpy(g_state.lastCall, "FreeZQXMLParsedStreamInternal");
  return 0;
}

ZQXMLUTIL_API int FreeZQXMLParserHandleInternal(ZQXMLParserHandle* handle, ZQBoolean freeStruct) {
  ++g_state.handlesFreed;
  (void)freeStruct;
  handle->state = NULL;
  strcpy(g_state.lastCall, "FreeZQXMLParserHandleInternal");
  return 0;
}

ZQXMLUTIL_API int GetComplexEntryCreateFromXML(ZQXMLInputDoc* input, ZQNameType form,
                                               uint32_t validateOnly, ZQFieldValueList* values,
                                               ZQStatusList* status) {
  (void)input;
  (void)form;
  (void)values;
  g_state.lastConstant = validateOnly;
  return record("GetComplexEntryCreateFromXML", status);
}

ZQXMLUTIL_API int GetLockBlockFromXML(ZQXMLParsedStream* parsed, uint32_t* lockType, char** lockKey,
                                      ZQStructItemList* lockedObjects, char** appBlockName,
                                      char** appOwner, ZQStatusList* status) {
  (void)parsed;
  (void)lockType;
  (void)lockKey;
  (void)lockedObjects;
  (void)appBlockName;
  (void)appOwner;
  return record("GetLockBlockFromXML", status);
}

ZQXMLUTIL_API int GetSchemaDataFromXML(ZQXMLParsedStream* parsed, const char* form,
                                       uint32_t firstRow, uint32_t maxRows,
                                       ZQInternalIdList* fieldIds, ZQFieldValueListList* rows,
                                       ZQStatusList* status) {
  (void)parsed;
  (void)form;
  (void)firstRow;
  (void)maxRows;
  (void)fieldIds;
  (void)rows;
  return record("GetSchemaDataFromXML", status);
}

ZQXMLUTIL_API int GetImageFromXML(ZQXMLParsedStream* parsed, const char* name, char** appBlockName,
                                  char** appOwner, ZQImageDataStruct* data, char** imageType,
                                  ZQTimestamp* timestamp, char** checksum, char** description,
                                  char** helpText, ZQAccessNameType owner,
                                  ZQAccessNameType lastChanged, char** changeDiary,
                                  ZQPropList* properties, ZQStatusList* status) {
  (void)parsed;
  (void)name;
  (void)appBlockName;
  (void)appOwner;
  (void)data;
  (void)imageType;
  (void)timestamp;
  (void)checksum;
  (void)description;
  (void)helpText;
  (void)owner;
  (void)lastChanged;
  (void)changeDiary;
  (void)properties;
  return record("GetImageFromXML", status);
}

ZQXMLUTIL_API int SetImageToXML(ZQXMLOutputDoc* doc, const char* name, const char* appBlockName,
                                const char* appOwner, ZQImageDataStruct* data,
                                const char* imageType, ZQTimestamp timestamp,
                                const char* description, const char* helpText, const char* owner,
                                const char* lastChanged, const char* changeDiary,
                                ZQPropList* properties, ZQStatusList* status) {
  (void)doc;
  (void)name;
  (void)appBlockName;
  (void)appOwner;
  (void)data;
  (void)imageType;
  (void)timestamp;
  (void)description;
  (void)helpText;
  (void)owner;
  (void)lastChanged;
  (void)changeDiary;
  (void)properties;
  return record("SetImageToXML", status);
}

ZQXMLUTIL_API int GetSchemaFromXML(
    ZQXMLParsedStream* parsed, const char* name, char** appBlockName, char** appOwner,
    ZQCompoundSchema* schema, ZQSchemaInheritanceList* inheritance, ZQPermissionList* permissions,
    ZQInternalIdList* subAdminGroups, ZQEntryListFieldList* getListFields, ZQSortList* sort,
    ZQIndexList* indexes, ZQArchiveInfoStruct* archive, ZQAuditInfoStruct* audit,
    ZQNameType defaultView, uint32_t* nextFieldId, ZQInternalIdList* fieldIds,
    ZQInternalIdList* vuiIds, char** helpText, ZQTimestamp* timestamp, ZQAccessNameType owner,
    ZQAccessNameType lastChanged, char** changeDiary, ZQPropList* properties, uint32_t* option,
    ZQStatusList* status) {
  (void)parsed;
  (void)name;
  (void)appBlockName;
  (void)appOwner;
  (void)schema;
  (void)inheritance;
  (void)permissions;
  (void)subAdminGroups;
  (void)getListFields;
  (void)sort;
  (void)indexes;
  (void)archive;
  (void)audit;
  (void)defaultView;
  (void)nextFieldId;
  (void)fieldIds;
  (void)vuiIds;
  (void)helpText;
  (void)timestamp;
  (void)owner;
  (void)lastChanged;
  (void)changeDiary;
  (void)properties;
  (void)option;
  return record("GetSchemaFromXML", status);
}

ZQXMLUTIL_API int SetSchemaToXML(
    ZQXMLOutputDoc* doc, const char* name, const char* appBlockName, const char* appOwner,
    ZQCompoundSchema* schema, ZQSchemaInheritanceList* inheritance, ZQPermissionList* permissions,
    ZQInternalIdList* subAdminGroups, ZQEntryListFieldList* getListFields, ZQSortList* sort,
    ZQIndexList* indexes, ZQArchiveInfoStruct* archive, ZQAuditInfoStruct* audit,
    const char* defaultView, uint32_t nextFieldId, ZQInternalIdList* fieldIds,
    ZQInternalIdList* vuiIds, const char* helpText, ZQTimestamp timestamp, const char* owner,
    const char* lastChanged, const char* changeDiary, ZQPropList* properties, uint32_t option,
    ZQStatusList* status) {
  (void)doc;
  (void)name;
  (void)appBlockName;
  (void)appOwner;
  (void)schema;
  (void)inheritance;
  (void)permissions;
  (void)subAdminGroups;
  (void)getListFields;
  (void)sort;
  (void)indexes;
  (void)archive;
  (void)audit;
  (void)defaultView;
  (void)nextFieldId;
  (void)fieldIds;
  (void)vuiIds;
  (void)helpText;
  (void)timestamp;
  (void)owner;
  (void)lastChanged;
  (void)changeDiary;
  (void)properties;
  (void)option;
  return record("SetSchemaToXML", status);
}

ZQXMLUTIL_API int GetFilterFromXML(ZQXMLParsedStream* parsed, const char* name, char** appBlockName,
                                   char** appOwner, uint32_t* order, ZQWorkflowConnectStruct* forms,
                                   uint32_t* opSet, uint32_t* enable, ZQQualifierStruct* query,
                                   ZQFilterActionList* actions, ZQFilterActionList* elseActions,
                                   char** helpText, ZQTimestamp* timestamp, ZQAccessNameType owner,
                                   ZQAccessNameType lastChanged, char** changeDiary,
                                   ZQPropList* properties, uint32_t* errorOptions,
                                   ZQNameType errorFilter, ZQStatusList* status) {
  (void)parsed;
  (void)name;
  (void)appBlockName;
  (void)appOwner;
  (void)order;
  (void)forms;
  (void)opSet;
  (void)enable;
  (void)query;
  (void)actions;
  (void)elseActions;
  (void)helpText;
  (void)timestamp;
  (void)owner;
  (void)lastChanged;
  (void)changeDiary;
  (void)properties;
  (void)errorOptions;
  (void)errorFilter;
  return record("GetFilterFromXML", status);
}

ZQXMLUTIL_API int SetFilterToXML(ZQXMLOutputDoc* doc, const char* name, const char* appBlockName,
                                 const char* appOwner, uint32_t order,
                                 ZQWorkflowConnectStruct* forms, uint32_t opSet, uint32_t enable,
                                 ZQQualifierStruct* query, ZQFilterActionList* actions,
                                 ZQFilterActionList* elseActions, const char* helpText,
                                 ZQTimestamp timestamp, const char* owner, const char* lastChanged,
                                 const char* changeDiary, ZQPropList* properties,
                                 uint32_t errorOptions, const char* errorFilter,
                                 ZQStatusList* status) {
  (void)doc;
  (void)name;
  (void)appBlockName;
  (void)appOwner;
  (void)order;
  (void)forms;
  (void)opSet;
  (void)enable;
  (void)query;
  (void)actions;
  (void)elseActions;
  (void)helpText;
  (void)timestamp;
  (void)owner;
  (void)lastChanged;
  (void)changeDiary;
  (void)properties;
  (void)errorOptions;
  (void)errorFilter;
  return record("SetFilterToXML", status);
}

ZQXMLUTIL_API int GetActiveLinkFromXML(
    ZQXMLParsedStream* parsed, const char* name, char** appBlockName, char** appOwner,
    uint32_t* order, ZQWorkflowConnectStruct* forms, ZQInternalIdList* groups,
    uint32_t* executeMask, ZQInternalId* controlField, ZQInternalId* focusField, uint32_t* enable,
    ZQQualifierStruct* query, ZQActiveLinkActionList* actions, ZQActiveLinkActionList* elseActions,
    ZQInternalIdList* subAdminGroups, char** helpText, ZQTimestamp* timestamp,
    ZQAccessNameType owner, ZQAccessNameType lastChanged, char** changeDiary,
    ZQPropList* properties, uint32_t* errorOptions, ZQNameType errorActiveLink,
    ZQStatusList* status) {
  (void)parsed;
  (void)name;
  (void)appBlockName;
  (void)appOwner;
  (void)order;
  (void)forms;
  (void)groups;
  (void)executeMask;
  (void)controlField;
  (void)focusField;
  (void)enable;
  (void)query;
  (void)actions;
  (void)elseActions;
  (void)subAdminGroups;
  (void)helpText;
  (void)timestamp;
  (void)owner;
  (void)lastChanged;
  (void)changeDiary;
  (void)properties;
  (void)errorOptions;
  (void)errorActiveLink;
  return record("GetActiveLinkFromXML", status);
}

ZQXMLUTIL_API int SetActiveLinkToXML(
    ZQXMLOutputDoc* doc, const char* name, const char* appBlockName, const char* appOwner,
    uint32_t order, ZQWorkflowConnectStruct* forms, ZQInternalIdList* groups, uint32_t executeMask,
    ZQInternalId controlField, ZQInternalId focusField, uint32_t enable, ZQQualifierStruct* query,
    ZQActiveLinkActionList* actions, ZQActiveLinkActionList* elseActions,
    ZQInternalIdList* subAdminGroups, const char* helpText, ZQTimestamp timestamp,
    const char* owner, const char* lastChanged, const char* changeDiary, ZQPropList* properties,
    uint32_t errorOptions, const char* errorActiveLink, ZQStatusList* status) {
  (void)doc;
  (void)name;
  (void)appBlockName;
  (void)appOwner;
  (void)order;
  (void)forms;
  (void)groups;
  (void)executeMask;
  (void)controlField;
  (void)focusField;
  (void)enable;
  (void)query;
  (void)actions;
  (void)elseActions;
  (void)subAdminGroups;
  (void)helpText;
  (void)timestamp;
  (void)owner;
  (void)lastChanged;
  (void)changeDiary;
  (void)properties;
  (void)errorOptions;
  (void)errorActiveLink;
  return record("SetActiveLinkToXML", status);
}

ZQXMLUTIL_API int GetEscalationFromXML(ZQXMLParsedStream* parsed, const char* name,
                                       char** appBlockName, char** appOwner, uint32_t* interval,
                                       ZQWorkflowConnectStruct* forms, uint32_t* enable,
                                       ZQQualifierStruct* query, ZQFilterActionList* actions,
                                       ZQFilterActionList* elseActions, char** helpText,
                                       ZQTimestamp* timestamp, ZQAccessNameType owner,
                                       ZQAccessNameType lastChanged, char** changeDiary,
                                       ZQPropList* properties, ZQStatusList* status) {
  (void)parsed;
  (void)name;
  (void)appBlockName;
  (void)appOwner;
  (void)interval;
  (void)forms;
  (void)enable;
  (void)query;
  (void)actions;
  (void)elseActions;
  (void)helpText;
  (void)timestamp;
  (void)owner;
  (void)lastChanged;
  (void)changeDiary;
  (void)properties;
  return record("GetEscalationFromXML", status);
}

ZQXMLUTIL_API int SetEscalationToXML(ZQXMLOutputDoc* doc, const char* name,
                                     const char* appBlockName, const char* appOwner,
                                     uint32_t interval, ZQWorkflowConnectStruct* forms,
                                     uint32_t enable, ZQQualifierStruct* query,
                                     ZQFilterActionList* actions, ZQFilterActionList* elseActions,
                                     const char* helpText, ZQTimestamp timestamp, const char* owner,
                                     const char* lastChanged, const char* changeDiary,
                                     ZQPropList* properties, ZQStatusList* status) {
  (void)doc;
  (void)name;
  (void)appBlockName;
  (void)appOwner;
  (void)interval;
  (void)forms;
  (void)enable;
  (void)query;
  (void)actions;
  (void)elseActions;
  (void)helpText;
  (void)timestamp;
  (void)owner;
  (void)lastChanged;
  (void)changeDiary;
  (void)properties;
  return record("SetEscalationToXML", status);
}

ZQXMLUTIL_API int GetContainerFromXML(
    ZQXMLParsedStream* parsed, const char* name, char** appBlockName, char** appOwner,
    ZQPermissionList* permissions, ZQInternalIdList* subAdminGroups,
    ZQContainerOwnerObjList* ownerObjects, char** label, char** description, uint32_t* type,
    ZQReferenceList* references, char** helpText, ZQTimestamp* timestamp, ZQAccessNameType owner,
    ZQAccessNameType lastChanged, char** changeDiary, ZQPropList* properties,
    ZQStatusList* status) {
  (void)parsed;
  (void)name;
  (void)appBlockName;
  (void)appOwner;
  (void)permissions;
  (void)subAdminGroups;
  (void)ownerObjects;
  (void)label;
  (void)description;
  (void)type;
  (void)references;
  (void)helpText;
  (void)timestamp;
  (void)owner;
  (void)lastChanged;
  (void)changeDiary;
  (void)properties;
  return record("GetContainerFromXML", status);
}

ZQXMLUTIL_API int SetContainerToXML(ZQXMLOutputDoc* doc, const char* name, const char* appBlockName,
                                    const char* appOwner, ZQPermissionList* permissions,
                                    ZQInternalIdList* subAdminGroups,
                                    ZQContainerOwnerObjList* ownerObjects, const char* label,
                                    const char* description, uint32_t type,
                                    ZQReferenceList* references, const char* helpText,
                                    ZQTimestamp timestamp, const char* owner,
                                    const char* lastChanged, const char* changeDiary,
                                    ZQPropList* properties, ZQStatusList* status) {
  (void)doc;
  (void)name;
  (void)appBlockName;
  (void)appOwner;
  (void)permissions;
  (void)subAdminGroups;
  (void)ownerObjects;
  (void)label;
  (void)description;
  (void)type;
  (void)references;
  (void)helpText;
  (void)timestamp;
  (void)owner;
  (void)lastChanged;
  (void)changeDiary;
  (void)properties;
  return record("SetContainerToXML", status);
}

ZQXMLUTIL_API int GetMenuFromXML(ZQXMLParsedStream* parsed, const char* name, char** appBlockName,
                                 char** appOwner, uint32_t* refreshCode, ZQCharMenuStruct* menu,
                                 char** helpText, ZQTimestamp* timestamp, ZQAccessNameType owner,
                                 ZQAccessNameType lastChanged, char** changeDiary,
                                 ZQPropList* properties, ZQStatusList* status) {
  (void)parsed;
  (void)name;
  (void)appBlockName;
  (void)appOwner;
  (void)refreshCode;
  (void)menu;
  (void)helpText;
  (void)timestamp;
  (void)owner;
  (void)lastChanged;
  (void)changeDiary;
  (void)properties;
  return record("GetMenuFromXML", status);
}

ZQXMLUTIL_API int SetMenuToXML(ZQXMLOutputDoc* doc, const char* name, const char* appBlockName,
                               const char* appOwner, uint32_t refreshCode, ZQCharMenuStruct* menu,
                               const char* helpText, ZQTimestamp timestamp, const char* owner,
                               const char* lastChanged, const char* changeDiary,
                               ZQPropList* properties, ZQStatusList* status) {
  (void)doc;
  (void)name;
  (void)appBlockName;
  (void)appOwner;
  (void)refreshCode;
  (void)menu;
  (void)helpText;
  (void)timestamp;
  (void)owner;
  (void)lastChanged;
  (void)changeDiary;
  (void)properties;
  return record("SetMenuToXML", status);
}

ZQXMLUTIL_API int GetVUIFromXML(ZQXMLParsedStream* parsed, const char* form, const char* name,
                                ZQInternalId* vuiId, char** locale, uint32_t* vuiType,
                                ZQPropList* displayProperties, ZQStatusList* status) {
  (void)parsed;
  (void)form;
  (void)name;
  (void)vuiId;
  (void)locale;
  (void)vuiType;
  (void)displayProperties;
  return record("GetVUIFromXML", status);
}

ZQXMLUTIL_API int SetVUIToXML(ZQXMLOutputDoc* doc, const char* form, const char* name,
                              ZQInternalId vuiId, const char* locale, uint32_t vuiType,
                              ZQPropList* displayProperties, ZQStatusList* status) {
  (void)doc;
  (void)form;
  (void)name;
  (void)vuiId;
  (void)locale;
  (void)vuiType;
  (void)displayProperties;
  return record("SetVUIToXML", status);
}

ZQXMLUTIL_API int GetDSOMappingFromXML(
    ZQXMLParsedStream* parsed, const char* name, char** appBlockName, char** appOwner,
    ZQNameType fromForm, ZQServerNameType fromServer, ZQNameType toForm, ZQServerNameType toServer,
    uint32_t* enable, uint32_t* updateCode, uint32_t* transferMode, uint32_t* mapType,
    uint32_t* returnMapType, uint32_t* defaultMap, uint32_t* duplicateAction,
    uint32_t* returnDuplicateAction, uint32_t* patternMatch, uint32_t* requiredFields,
    char** mapping, char** returnMapping, ZQQualifierStruct* match, char** helpText,
    ZQTimestamp* timestamp, ZQAccessNameType owner, ZQAccessNameType lastChanged,
    char** changeDiary, ZQPropList* properties, ZQStatusList* status) {
  (void)parsed;
  (void)name;
  (void)appBlockName;
  (void)appOwner;
  (void)fromForm;
  (void)fromServer;
  (void)toForm;
  (void)toServer;
  (void)enable;
  (void)updateCode;
  (void)transferMode;
  (void)mapType;
  (void)returnMapType;
  (void)defaultMap;
  (void)duplicateAction;
  (void)returnDuplicateAction;
  (void)patternMatch;
  (void)requiredFields;
  (void)mapping;
  (void)returnMapping;
  (void)match;
  (void)helpText;
  (void)timestamp;
  (void)owner;
  (void)lastChanged;
  (void)changeDiary;
  (void)properties;
  return record("GetDSOMappingFromXML", status);
}

ZQXMLUTIL_API int SetDSOMappingToXML(
    ZQXMLOutputDoc* doc, const char* name, const char* appBlockName, const char* appOwner,
    const char* fromForm, const char* fromServer, const char* toForm, const char* toServer,
    uint32_t enable, uint32_t updateCode, uint32_t transferMode, uint32_t mapType,
    uint32_t returnMapType, uint32_t defaultMap, uint32_t duplicateAction,
    uint32_t returnDuplicateAction, uint32_t patternMatch, uint32_t requiredFields,
    const char* mapping, const char* returnMapping, ZQQualifierStruct* match, const char* helpText,
    ZQTimestamp timestamp, const char* owner, const char* lastChanged, const char* changeDiary,
    ZQPropList* properties, ZQStatusList* status) {
  (void)doc;
  (void)name;
  (void)appBlockName;
  (void)appOwner;
  (void)fromForm;
  (void)fromServer;
  (void)toForm;
  (void)toServer;
  (void)enable;
  (void)updateCode;
  (void)transferMode;
  (void)mapType;
  (void)returnMapType;
  (void)defaultMap;
  (void)duplicateAction;
  (void)returnDuplicateAction;
  (void)patternMatch;
  (void)requiredFields;
  (void)mapping;
  (void)returnMapping;
  (void)match;
  (void)helpText;
  (void)timestamp;
  (void)owner;
  (void)lastChanged;
  (void)changeDiary;
  (void)properties;
  return record("SetDSOMappingToXML", status);
}

ZQXMLUTIL_API int GetDSOPoolFromXML(ZQXMLParsedStream* parsed, const char* name,
                                    char** appBlockName, char** appOwner, uint32_t* enable,
                                    uint32_t* defaultPool, uint32_t* threadCount, char** connection,
                                    uint32_t* polling, uint32_t* pollingInterval, char** helpText,
                                    ZQTimestamp* timestamp, ZQAccessNameType owner,
                                    ZQAccessNameType lastChanged, char** changeDiary,
                                    ZQPropList* properties, ZQStatusList* status) {
  (void)parsed;
  (void)name;
  (void)appBlockName;
  (void)appOwner;
  (void)enable;
  (void)defaultPool;
  (void)threadCount;
  (void)connection;
  (void)polling;
  (void)pollingInterval;
  (void)helpText;
  (void)timestamp;
  (void)owner;
  (void)lastChanged;
  (void)changeDiary;
  (void)properties;
  return record("GetDSOPoolFromXML", status);
}

ZQXMLUTIL_API int SetDSOPoolToXML(ZQXMLOutputDoc* doc, const char* name, const char* appBlockName,
                                  const char* appOwner, uint32_t enable, uint32_t defaultPool,
                                  uint32_t threadCount, const char* connection, uint32_t polling,
                                  uint32_t pollingInterval, const char* helpText,
                                  ZQTimestamp timestamp, const char* owner, const char* lastChanged,
                                  const char* changeDiary, ZQPropList* properties,
                                  ZQStatusList* status) {
  (void)doc;
  (void)name;
  (void)appBlockName;
  (void)appOwner;
  (void)enable;
  (void)defaultPool;
  (void)threadCount;
  (void)connection;
  (void)polling;
  (void)pollingInterval;
  (void)helpText;
  (void)timestamp;
  (void)owner;
  (void)lastChanged;
  (void)changeDiary;
  (void)properties;
  return record("SetDSOPoolToXML", status);
}

ZQXMLUTIL_API int GetFieldFromXML(ZQXMLParsedStream* parsed, const char* form, const char* name,
                                  ZQInternalId* fieldId, ZQFieldMappingStruct* mapping,
                                  uint32_t* dataType, uint32_t* option, uint32_t* createMode,
                                  uint32_t* optionBits, ZQValueStruct* defaultValue,
                                  ZQPermissionList* permissions, ZQFieldLimitStruct* limit,
                                  ZQDisplayInstanceList* displays, char** helpText,
                                  ZQTimestamp* timestamp, ZQAccessNameType owner,
                                  ZQAccessNameType lastChanged, char** changeDiary,
                                  ZQPropList* properties, ZQStatusList* status) {
  (void)parsed;
  (void)form;
  (void)name;
  (void)fieldId;
  (void)mapping;
  (void)dataType;
  (void)option;
  (void)createMode;
  (void)optionBits;
  (void)defaultValue;
  (void)permissions;
  (void)limit;
  (void)displays;
  (void)helpText;
  (void)timestamp;
  (void)owner;
  (void)lastChanged;
  (void)changeDiary;
  (void)properties;
  return record("GetFieldFromXML", status);
}

ZQXMLUTIL_API int SetFieldToXML(ZQXMLOutputDoc* doc, const char* form, const char* name,
                                ZQInternalId fieldId, ZQFieldMappingStruct* mapping,
                                uint32_t dataType, uint32_t option, uint32_t createMode,
                                uint32_t optionBits, ZQValueStruct* defaultValue,
                                ZQPermissionList* permissions, ZQFieldLimitStruct* limit,
                                ZQDisplayInstanceList* displays, const char* helpText,
                                ZQTimestamp timestamp, const char* owner, const char* lastChanged,
                                const char* changeDiary, ZQPropList* properties,
                                ZQStatusList* status) {
  (void)doc;
  (void)form;
  (void)name;
  (void)fieldId;
  (void)mapping;
  (void)dataType;
  (void)option;
  (void)createMode;
  (void)optionBits;
  (void)defaultValue;
  (void)permissions;
  (void)limit;
  (void)displays;
  (void)helpText;
  (void)timestamp;
  (void)owner;
  (void)lastChanged;
  (void)changeDiary;
  (void)properties;
  return record("SetFieldToXML", status);
}

ZQXMLUTIL_API int PushCreateEntryToXML(ZQXMLOutputDoc* doc, uint32_t parts, uint32_t options,
                                       const char* form, ZQFieldValueList* values,
                                       const char* entryId, ZQStatusList* replyStatus,
                                       ZQStatusList* status) {
  (void)doc;
  (void)parts;
  (void)options;
  (void)form;
  (void)values;
  (void)entryId;
  (void)replyStatus;
  return record("PushCreateEntryToXML", status);
}

ZQXMLUTIL_API int PullCreateEntryFromXML(ZQXMLInputDoc* input, ZQNameType form,
                                         ZQFieldValueList* values, ZQEntryIdType entryId,
                                         ZQStatusList* replyStatus, ZQStatusList* status) {
  (void)input;
  (void)form;
  (void)values;
  (void)entryId;
  (void)replyStatus;
  return record("PullCreateEntryFromXML", status);
}

ZQXMLUTIL_API int PushSetEntryToXML(ZQXMLOutputDoc* doc, uint32_t parts, uint32_t options,
                                    const char* form, ZQEntryIdList* entryId,
                                    ZQFieldValueList* values, ZQTimestamp getTime, uint32_t option,
                                    ZQStatusList* replyStatus, ZQStatusList* status) {
  (void)doc;
  (void)parts;
  (void)options;
  (void)form;
  (void)entryId;
  (void)values;
  (void)getTime;
  (void)option;
  (void)replyStatus;
  return record("PushSetEntryToXML", status);
}

ZQXMLUTIL_API int PullSetEntryFromXML(ZQXMLInputDoc* input, ZQNameType form, ZQEntryIdList* entryId,
                                      ZQFieldValueList* values, ZQTimestamp* getTime,
                                      uint32_t* option, ZQStatusList* replyStatus,
                                      ZQStatusList* status) {
  (void)input;
  (void)form;
  (void)entryId;
  (void)values;
  (void)getTime;
  (void)option;
  (void)replyStatus;
  return record("PullSetEntryFromXML", status);
}

ZQXMLUTIL_API int PushDeleteEntryToXML(ZQXMLOutputDoc* doc, uint32_t parts, uint32_t options,
                                       const char* form, ZQEntryIdList* entryId, uint32_t option,
                                       ZQStatusList* replyStatus, ZQStatusList* status) {
  (void)doc;
  (void)parts;
  (void)options;
  (void)form;
  (void)entryId;
  (void)option;
  (void)replyStatus;
  return record("PushDeleteEntryToXML", status);
}

ZQXMLUTIL_API int PullDeleteEntryFromXML(ZQXMLInputDoc* input, ZQNameType form,
                                         ZQEntryIdList* entryId, uint32_t* option,
                                         ZQStatusList* replyStatus, ZQStatusList* status) {
  (void)input;
  (void)form;
  (void)entryId;
  (void)option;
  (void)replyStatus;
  return record("PullDeleteEntryFromXML", status);
}

ZQXMLUTIL_API int PushMergeEntryToXML(ZQXMLOutputDoc* doc, uint32_t parts, uint32_t options,
                                      const char* form, ZQFieldValueList* values,
                                      uint32_t mergeType, const char* entryId,
                                      ZQStatusList* replyStatus, ZQStatusList* status) {
  (void)doc;
  (void)parts;
  (void)options;
  (void)form;
  (void)values;
  (void)mergeType;
  (void)entryId;
  (void)replyStatus;
  return record("PushMergeEntryToXML", status);
}

ZQXMLUTIL_API int PullMergeEntryFromXML(ZQXMLInputDoc* input, ZQNameType form,
                                        ZQFieldValueList* values, uint32_t* mergeType,
                                        ZQEntryIdType entryId, ZQStatusList* replyStatus,
                                        ZQStatusList* status) {
  (void)input;
  (void)form;
  (void)values;
  (void)mergeType;
  (void)entryId;
  (void)replyStatus;
  return record("PullMergeEntryFromXML", status);
}

ZQXMLUTIL_API int PushGetEntryToXML(ZQXMLOutputDoc* doc, uint32_t parts, uint32_t options,
                                    const char* form, ZQEntryIdList* entryId,
                                    ZQInternalIdList* fieldIds, ZQFieldValueList* values,
                                    ZQStatusList* replyStatus, ZQStatusList* status) {
  (void)doc;
  (void)parts;
  (void)options;
  (void)form;
  (void)entryId;
  (void)fieldIds;
  (void)values;
  (void)replyStatus;
  return record("PushGetEntryToXML", status);
}

ZQXMLUTIL_API int PullGetEntryFromXML(ZQXMLInputDoc* input, ZQNameType form, ZQEntryIdList* entryId,
                                      ZQInternalIdList* fieldIds, ZQFieldValueList* values,
                                      ZQStatusList* replyStatus, ZQStatusList* status) {
  (void)input;
  (void)form;
  (void)entryId;
  (void)fieldIds;
  (void)values;
  (void)replyStatus;
  return record("PullGetEntryFromXML", status);
}

ZQXMLUTIL_API int PushGetEntryBlobToXML(ZQXMLOutputDoc* doc, uint32_t parts, uint32_t options,
                                        const char* form, ZQEntryIdList* entryId,
                                        ZQInternalId fieldId, ZQLocStruct* location,
                                        ZQStatusList* replyStatus, ZQStatusList* status) {
  (void)doc;
  (void)parts;
  (void)options;
  (void)form;
  (void)entryId;
  (void)fieldId;
  (void)location;
  (void)replyStatus;
  return record("PushGetEntryBlobToXML", status);
}

ZQXMLUTIL_API int PullGetEntryBlobFromXML(ZQXMLInputDoc* input, ZQNameType form,
                                          ZQEntryIdList* entryId, ZQInternalId* fieldId,
                                          ZQLocStruct* location, ZQStatusList* replyStatus,
                                          ZQStatusList* status) {
  (void)input;
  (void)form;
  (void)entryId;
  (void)fieldId;
  (void)location;
  (void)replyStatus;
  return record("PullGetEntryBlobFromXML", status);
}

ZQXMLUTIL_API int PushGetListEntryWithFieldsToXML(
    ZQXMLOutputDoc* doc, uint32_t parts, uint32_t options, const char* form,
    ZQQualifierStruct* qualifier, ZQEntryListFieldList* fields, ZQSortList* sort,
    uint32_t firstRetrieve, uint32_t maxRetrieve, ZQBoolean useLocale,
    ZQEntryListFieldValueList* entries, uint32_t numMatches, ZQStatusList* status) {
  (void)doc;
  (void)parts;
  (void)options;
  (void)form;
  (void)qualifier;
  (void)fields;
  (void)sort;
  (void)firstRetrieve;
  (void)maxRetrieve;
  (void)useLocale;
  (void)entries;
  (void)numMatches;
  return record("PushGetListEntryWithFieldsToXML", status);
}

ZQXMLUTIL_API int PullGetListEntryWithFieldsFromXML(ZQXMLInputDoc* input, ZQNameType form,
                                                    ZQQualifierStruct* qualifier,
                                                    ZQEntryListFieldList* fields, ZQSortList* sort,
                                                    uint32_t* firstRetrieve, uint32_t* maxRetrieve,
                                                    ZQBoolean* useLocale,
                                                    ZQEntryListFieldValueList* entries,
                                                    uint32_t* numMatches, ZQStatusList* status) {
  (void)input;
  (void)form;
  (void)qualifier;
  (void)fields;
  (void)sort;
  (void)firstRetrieve;
  (void)maxRetrieve;
  (void)useLocale;
  (void)entries;
  (void)numMatches;
  return record("PullGetListEntryWithFieldsFromXML", status);
}

ZQXMLUTIL_API int PushGetMultipleEntriesToXML(ZQXMLOutputDoc* doc, uint32_t parts, uint32_t options,
                                              const char* form, ZQEntryIdListList* ids,
                                              ZQInternalIdList* fields, ZQBooleanList* exists,
                                              ZQFieldValueListList* values,
                                              ZQStatusList* replyStatus, ZQStatusList* status) {
  (void)doc;
  (void)parts;
  (void)options;
  (void)form;
  (void)ids;
  (void)fields;
  (void)exists;
  (void)values;
  (void)replyStatus;
  return record("PushGetMultipleEntriesToXML", status);
}

ZQXMLUTIL_API int PullGetMultipleEntriesFromXML(ZQXMLInputDoc* input, ZQNameType form,
                                                ZQEntryIdListList* ids, ZQInternalIdList* fields,
                                                ZQBooleanList* exists, ZQFieldValueListList* values,
                                                ZQStatusList* status) {
  (void)input;
  (void)form;
  (void)ids;
  (void)fields;
  (void)exists;
  (void)values;
  return record("PullGetMultipleEntriesFromXML", status);
}

ZQXMLUTIL_API int PushGetListEntryToXML(ZQXMLOutputDoc* doc, uint32_t parts, uint32_t options,
                                        const char* form, ZQQualifierStruct* qualifier,
                                        ZQEntryListFieldList* fields, ZQSortList* sort,
                                        uint32_t firstRetrieve, uint32_t maxRetrieve,
                                        ZQBoolean useLocale, ZQEntryListList* entries,
                                        uint32_t numMatches, ZQStatusList* status) {
  (void)doc;
  (void)parts;
  (void)options;
  (void)form;
  (void)qualifier;
  (void)fields;
  (void)sort;
  (void)firstRetrieve;
  (void)maxRetrieve;
  (void)useLocale;
  (void)entries;
  (void)numMatches;
  return record("PushGetListEntryToXML", status);
}

#ifndef ZQ_TEST_XML_INCOMPLETE
ZQXMLUTIL_API int PullGetListEntryFromXML(ZQXMLInputDoc* input, ZQNameType form,
                                          ZQQualifierStruct* qualifier,
                                          ZQEntryListFieldList* fields, ZQSortList* sort,
                                          uint32_t* firstRetrieve, uint32_t* maxRetrieve,
                                          ZQBoolean* useLocale, ZQEntryListList* entries,
                                          uint32_t* numMatches, ZQStatusList* status) {
  (void)input;
  (void)form;
  (void)qualifier;
  (void)fields;
  (void)sort;
  (void)firstRetrieve;
  (void)maxRetrieve;
  (void)useLocale;
  (void)entries;
  (void)numMatches;
  return record("PullGetListEntryFromXML", status);
}
#endif
