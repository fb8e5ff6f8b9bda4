/* Definitions on the server: forms (schemas), fields, views (VUIs), images
 * and support files.
 *
 * Every call of a kind follows one pattern:
 *   get       fills the outputs passed (a null pointer: not wanted, and the
 *             server is not asked for it); outputs are cleared first;
 *   set       changes the parts passed (a null pointer: unchanged); nothing
 *             to change returns the warning 54 without contacting the server;
 *   create    creates the definition from the parts passed;
 *   delete    removes it (the delete option is passed to the server);
 *   list      returns the names or ids, optionally only those changed since
 *             a time;
 *   multiple  returns several definitions at once, one item per definition
 *             in every list output, with an exists flag for each.
 * Text outputs (char**) and list outputs are allocated by the library and
 * released by the caller with ZQFree and the FreeZQ... functions.
 *
 * zqserverd keeps join forms (ZQ_SCHEMA_JOIN) as the join of their two
 * member forms: in the join qualification a field operand with tag ZQ_FIELD
 * (or ZQ_FIELD_TRAN, ZQ_FIELD_CURRENT) names a field of member A, one with
 * tag ZQ_FIELD_DB a field of member B; a join option of 1 keeps the entries
 * of member A that have no partner (outer join). The entry id of a join entry
 * is the two member ids, in this order. */
#ifndef ZQAPI_ZQ_DEFINITIONS_H
#define ZQAPI_ZQ_DEFINITIONS_H

#include <stdio.h>

#include "zq_defs.h"
#include "zq_session.h"
#include "zq_types.h"
#include "zq_workflow.h"

#ifdef __cplusplus
extern "C" {
#endif

/* ---- lists of the definition calls ---------------------------------------- */

/* ZQLocaleList (locales of views and localized values): zq_defs.h */

/* Where a field shows in a view: its label and its place (flat items). */
typedef struct ZQDisplayStruct {
  ZQNameType displayTag;
  ZQNameType label;
  uint32_t labelLocation;
  uint32_t type;
  uint32_t length;
  uint32_t numberOfRows;
  uint32_t option;
  int32_t x;
  int32_t y;
} ZQDisplayStruct;

typedef struct ZQDisplayList {
  uint32_t count;
  ZQDisplayStruct* items;
} ZQDisplayList;

/* An object with the objects it holds (a tree). */
struct ZQObjectInfoStruct;

typedef struct ZQObjectInfoList {
  uint32_t count;
  struct ZQObjectInfoStruct* items;
} ZQObjectInfoList;

typedef struct ZQObjectInfoStruct {
  uint32_t type;
  ZQNameType name;
  ZQObjectInfoList objects;
} ZQObjectInfoStruct;

/* ---- forms --------------------------------------------------------------------- */

/* Form-type selectors of the list calls: 0 every form, otherwise a form kind
 * (ZQ_SCHEMA_REGULAR ... ZQ_SCHEMA_VENDOR). */
#define ZQ_LIST_SCHEMA_ALL 0

/* The inheritance list, the default view and the timestamp come back
 * whenever their pointers are given; the other outputs are asked for. */
int ZQGetSchema(ZQControlStruct* control, const char* name, ZQCompoundSchema* schema,
                ZQSchemaInheritanceList* inheritance, ZQPermissionList* permissions,
                ZQInternalIdList* subAdminGroups, ZQEntryListFieldList* getListFields,
                ZQSortList* sort, ZQIndexList* indexes, ZQArchiveInfoStruct* archive,
                ZQAuditInfoStruct* audit, ZQNameType defaultView, char** helpText,
                ZQTimestamp* timestamp, ZQAccessNameType owner, ZQAccessNameType lastChanged,
                char** changeDiary, ZQPropList* properties, ZQStatusList* status);

/* newName (null or equal to name: no rename); a schema of type 0 leaves the
 * form kind as it is. changeDiary is text to append to the diary. */
int ZQSetSchema(ZQControlStruct* control, const char* name, const char* newName,
                ZQCompoundSchema* schema, ZQSchemaInheritanceList* inheritance,
                ZQPermissionList* permissions, ZQInternalIdList* subAdminGroups,
                ZQEntryListFieldList* getListFields, ZQSortList* sort, ZQIndexList* indexes,
                ZQArchiveInfoStruct* archive, ZQAuditInfoStruct* audit, const char* defaultView,
                const char* helpText, const char* owner, const char* changeDiary,
                ZQPropList* properties, uint32_t option, ZQStatusList* status);

int ZQCreateSchema(ZQControlStruct* control, const char* name, ZQCompoundSchema* schema,
                   ZQSchemaInheritanceList* inheritance, ZQPermissionList* permissions,
                   ZQInternalIdList* subAdminGroups, ZQEntryListFieldList* getListFields,
                   ZQSortList* sort, ZQIndexList* indexes, ZQArchiveInfoStruct* archive,
                   ZQAuditInfoStruct* audit, const char* defaultView, const char* helpText,
                   const char* owner, const char* changeDiary, ZQPropList* properties,
                   uint32_t option, ZQStatusList* status);

/* Delete options: 0 refuses to delete a form that a join form uses;
 * ZQ_DELETE_FORCE deletes it anyway. */
#define ZQ_DELETE_NORMAL 0
#define ZQ_DELETE_FORCE 1

int ZQDeleteSchema(ZQControlStruct* control, const char* name, uint32_t deleteOption,
                   ZQStatusList* status);

/* The forms changed since changedSince (0: all) of the kind schemaType
 * selects, having every field of fieldIds (null or empty: any) and every
 * property of properties (null or empty: any). name is passed unchanged. */
int ZQGetListSchema(ZQControlStruct* control, ZQTimestamp changedSince, uint32_t schemaType,
                    const char* name, ZQInternalIdList* fieldIds, ZQPropList* properties,
                    ZQNameList* names, ZQStatusList* status);

/* As ZQGetListSchema, with the alias of each form: the name of its first
 * view of the given locale (empty: any) and of one of viewTypes (null or
 * empty: any), else the form name. Both outputs are optional. */
int ZQGetListSchemaWithAlias(ZQControlStruct* control, ZQTimestamp changedSince,
                             uint32_t schemaType, const char* name, ZQInternalIdList* fieldIds,
                             ZQPropList* properties, const char* locale,
                             ZQUnsignedIntList* viewTypes, ZQNameList* names,
                             ZQNameList* aliases, ZQStatusList* status);

/* wantedNames null or empty: every form. */
int ZQGetMultipleSchemas(ZQControlStruct* control, ZQTimestamp changedSince, uint32_t schemaType,
                         ZQNameList* wantedNames, ZQInternalIdList* fieldIds,
                         ZQBooleanList* exists, ZQNameList* names, ZQCompoundSchemaList* schemas,
                         ZQSchemaInheritanceListList* inheritance,
                         ZQPermissionListList* permissions, ZQInternalIdListList* subAdminGroups,
                         ZQEntryListFieldListList* getListFields, ZQSortListList* sorts,
                         ZQIndexListList* indexes, ZQArchiveInfoList* archives,
                         ZQAuditInfoList* audits, ZQNameList* defaultViews,
                         ZQTextStringList* helpTexts, ZQTimestampList* timestamps,
                         ZQAccessNameList* owners, ZQAccessNameList* lastChanged,
                         ZQTextStringList* changeDiaries, ZQPropListList* properties,
                         ZQStatusList* status);

/* ---- fields -------------------------------------------------------------------- */

#define ZQ_FIELD_OPTION_REQUIRED 1
#define ZQ_FIELD_OPTION_OPTIONAL 2
#define ZQ_FIELD_OPTION_SYSTEM 3
#define ZQ_FIELD_OPTION_DISPLAY 4

#define ZQ_FIELD_OPEN_AT_CREATE 1
#define ZQ_FIELD_PROTECTED_AT_CREATE 2

/* Field-type selectors of ZQGetListField (bits; 0: every field). */
#define ZQ_FIELD_TYPE_DATA 0x01
#define ZQ_FIELD_TYPE_TRIM 0x02
#define ZQ_FIELD_TYPE_CONTROL 0x04
#define ZQ_FIELD_TYPE_PAGE 0x08
#define ZQ_FIELD_TYPE_PAGE_HOLDER 0x10
#define ZQ_FIELD_TYPE_TABLE 0x20
#define ZQ_FIELD_TYPE_COLUMN 0x40
#define ZQ_FIELD_TYPE_ATTACH_POOL 0x80
#define ZQ_FIELD_TYPE_ALL 0xFF

/* Display property holding a field's label (a char value) in a view; the
 * qualification language knows the field by this label in the chosen view. */
#define ZQ_DPROP_LABEL 20

/* The timestamp comes back whenever its pointer is given. */
int ZQGetField(ZQControlStruct* control, const char* form, ZQInternalId fieldId,
               ZQNameType fieldName, ZQFieldMappingStruct* mapping, uint32_t* dataType,
               uint32_t* option, uint32_t* createMode, uint32_t* optionBits,
               ZQValueStruct* defaultValue, ZQPermissionList* permissions,
               ZQFieldLimitStruct* limit, ZQDisplayInstanceList* displays, char** helpText,
               ZQTimestamp* timestamp, ZQAccessNameType owner, ZQAccessNameType lastChanged,
               char** changeDiary, ZQStatusList* status);

/* setOption: its two low bits are passed to the server (both together are
 * refused with 182). */
int ZQSetField(ZQControlStruct* control, const char* form, ZQInternalId fieldId,
               const char* fieldName, ZQFieldMappingStruct* mapping, uint32_t* option,
               uint32_t* createMode, uint32_t* optionBits, ZQValueStruct* defaultValue,
               ZQPermissionList* permissions, ZQFieldLimitStruct* limit,
               ZQDisplayInstanceList* displays, const char* helpText, const char* owner,
               const char* changeDiary, uint32_t setOption, ZQStatusList* status);

/* *fieldId 0 lets the server choose the id, which it writes back. */
int ZQCreateField(ZQControlStruct* control, const char* form, ZQInternalId* fieldId,
                  uint32_t reservedIdOk, const char* fieldName, ZQFieldMappingStruct* mapping,
                  uint32_t dataType, uint32_t option, uint32_t createMode, uint32_t optionBits,
                  ZQValueStruct* defaultValue, ZQPermissionList* permissions,
                  ZQFieldLimitStruct* limit, ZQDisplayInstanceList* displays,
                  const char* helpText, const char* owner, const char* changeDiary,
                  ZQStatusList* status);

int ZQDeleteField(ZQControlStruct* control, const char* form, ZQInternalId fieldId,
                  uint32_t deleteOption, ZQStatusList* status);
int ZQDeleteMultipleFields(ZQControlStruct* control, const char* form, ZQInternalIdList* fieldIds,
                           uint32_t deleteOption, ZQStatusList* status);

int ZQGetListField(ZQControlStruct* control, const char* form, ZQTimestamp changedSince,
                   uint32_t fieldType, ZQInternalIdList* fieldIds, ZQStatusList* status);

/* wantedIds null or empty: every field. exists is required. */
int ZQGetMultipleFields(ZQControlStruct* control, const char* form, ZQInternalIdList* wantedIds,
                        ZQBooleanList* exists, ZQInternalIdList* fieldIds, ZQNameList* names,
                        ZQFieldMappingList* mappings, ZQUnsignedIntList* dataTypes,
                        ZQUnsignedIntList* options, ZQUnsignedIntList* createModes,
                        ZQUnsignedIntList* optionBits, ZQValueList* defaults,
                        ZQPermissionListList* permissions, ZQFieldLimitList* limits,
                        ZQDisplayInstanceListList* displays, ZQTextStringList* helpTexts,
                        ZQTimestampList* timestamps, ZQAccessNameList* owners,
                        ZQAccessNameList* lastChanged, ZQTextStringList* changeDiaries,
                        ZQStatusList* status);

/* One item per field id in every list given; a null item (or a null
 * optional list) leaves that part at its default. reservedIdOk, mappings,
 * dataTypes, options, createModes and optionBits are required. */
int ZQCreateMultipleFields(ZQControlStruct* control, const char* form, ZQInternalIdList* fieldIds,
                           ZQUnsignedIntList* reservedIdOk, ZQNamePtrList* names,
                           ZQFieldMappingPtrList* mappings, ZQUnsignedIntPtrList* dataTypes,
                           ZQUnsignedIntPtrList* options, ZQUnsignedIntPtrList* createModes,
                           ZQUnsignedIntPtrList* optionBits, ZQValuePtrList* defaults,
                           ZQPermissionListPtrList* permissions, ZQFieldLimitPtrList* limits,
                           ZQDisplayInstanceListPtrList* displays, ZQTextStringList* helpTexts,
                           ZQAccessNamePtrList* owners, ZQTextStringList* changeDiaries,
                           ZQStatusList* status);

/* A null list or a null item leaves that part unchanged; dataTypes only
 * serve the checks of the default values. fieldStatus (required) receives
 * one status list per field. */
int ZQSetMultipleFields(ZQControlStruct* control, const char* form, ZQInternalIdList* fieldIds,
                        ZQNamePtrList* names, ZQFieldMappingPtrList* mappings,
                        ZQUnsignedIntPtrList* dataTypes, ZQUnsignedIntPtrList* options,
                        ZQUnsignedIntPtrList* createModes, ZQUnsignedIntPtrList* optionBits,
                        ZQValuePtrList* defaults, ZQPermissionListPtrList* permissions,
                        ZQFieldLimitPtrList* limits, ZQDisplayInstanceListPtrList* displays,
                        ZQTextStringList* helpTexts, ZQAccessNamePtrList* owners,
                        ZQTextStringList* changeDiaries, ZQUnsignedIntList* setOptions,
                        ZQStatusListList* fieldStatus, ZQStatusList* status);

/* ---- views ---------------------------------------------------------------------- */

/* locale (may be null) has room for ZQ_MAX_LOCALE_SIZE characters and the
 * terminator. */
int ZQGetVUI(ZQControlStruct* control, const char* form, ZQInternalId vuiId, ZQNameType vuiName,
             char* locale, uint32_t* vuiType, ZQPropList* displayProperties, char** helpText,
             ZQTimestamp* timestamp, ZQAccessNameType owner, ZQAccessNameType lastChanged,
             char** changeDiary, ZQStatusList* status);

int ZQSetVUI(ZQControlStruct* control, const char* form, ZQInternalId vuiId, const char* vuiName,
             const char* locale, uint32_t* vuiType, ZQPropList* displayProperties,
             const char* helpText, const char* owner, const char* changeDiary,
             ZQStatusList* status);

/* *vuiId 0 lets the server choose the id, which it writes back. */
int ZQCreateVUI(ZQControlStruct* control, const char* form, ZQInternalId* vuiId,
                const char* vuiName, const char* locale, uint32_t vuiType,
                ZQPropList* displayProperties, const char* helpText, const char* owner,
                const char* changeDiary, ZQStatusList* status);

int ZQDeleteVUI(ZQControlStruct* control, const char* form, ZQInternalId vuiId,
                ZQStatusList* status);

int ZQGetListVUI(ZQControlStruct* control, const char* form, ZQTimestamp changedSince,
                 ZQInternalIdList* vuiIds, ZQStatusList* status);

int ZQGetMultipleVUIs(ZQControlStruct* control, const char* form, ZQInternalIdList* wantedIds,
                      ZQTimestamp changedSince, ZQBooleanList* exists, ZQInternalIdList* vuiIds,
                      ZQNameList* names, ZQLocaleList* locales, ZQUnsignedIntList* types,
                      ZQPropListList* displayProperties, ZQTextStringList* helpTexts,
                      ZQTimestampList* timestamps, ZQAccessNameList* owners,
                      ZQAccessNameList* lastChanged, ZQTextStringList* changeDiaries,
                      ZQStatusList* status);

/* ---- images --------------------------------------------------------------------- */

/* The timestamp comes back whenever its pointer is given. */
int ZQGetImage(ZQControlStruct* control, const char* name, ZQImageDataStruct* data,
               char** imageType, ZQTimestamp* timestamp, char** checksum, char** description,
               char** helpText, ZQAccessNameType owner, ZQAccessNameType lastChanged,
               char** changeDiary, ZQPropList* properties, ZQStatusList* status);

int ZQSetImage(ZQControlStruct* control, const char* name, const char* newName,
               ZQImageDataStruct* data, const char* imageType, const char* description,
               const char* helpText, const char* owner, const char* changeDiary,
               ZQPropList* properties, ZQStatusList* status);

int ZQCreateImage(ZQControlStruct* control, const char* name, ZQImageDataStruct* data,
                  const char* imageType, const char* description, const char* helpText,
                  const char* owner, const char* changeDiary, ZQPropList* properties,
                  ZQStatusList* status);

int ZQDeleteImage(ZQControlStruct* control, const char* name, uint32_t deleteOption,
                  ZQStatusList* status);

/* forms is passed unchanged; imageType null or empty: every type. */
int ZQGetListImage(ZQControlStruct* control, ZQNameList* forms, ZQTimestamp changedSince,
                   const char* imageType, ZQNameList* names, ZQStatusList* status);

int ZQGetMultipleImages(ZQControlStruct* control, ZQTimestamp changedSince, ZQNameList* wantedNames,
                        ZQBooleanList* exists, ZQNameList* names, ZQImageDataList* images,
                        ZQTextStringList* types, ZQTimestampList* timestamps,
                        ZQTextStringList* checksums, ZQTextStringList* descriptions,
                        ZQTextStringList* helpTexts, ZQAccessNameList* owners,
                        ZQAccessNameList* lastChanged, ZQTextStringList* changeDiaries,
                        ZQPropListList* properties, ZQStatusList* status);

/* ---- support files ---------------------------------------------------------------- */

/* File types: a file of a form (name: the form; id: an object of it, or 0)
 * or of an active link (name: the active link; id 0). */
#define ZQ_SUPPORT_FILE_FORM 0
#define ZQ_SUPPORT_FILE_ACTIVE_LINK 1

/* Writes the file's content into file (open for writing); what was written
 * stays in it when a later slice fails. */
int ZQGetSupportFile(ZQControlStruct* control, uint32_t fileType, const char* name,
                     ZQInternalId id, ZQInternalId fileId, FILE* file, ZQTimestamp* timestamp,
                     ZQStatusList* status);

/* Stores the whole content of file (open for reading, from its start). */
int ZQSetSupportFile(ZQControlStruct* control, uint32_t fileType, const char* name,
                     ZQInternalId id, ZQInternalId fileId, FILE* file, ZQStatusList* status);
int ZQCreateSupportFile(ZQControlStruct* control, uint32_t fileType, const char* name,
                        ZQInternalId id, ZQInternalId fileId, FILE* file, ZQStatusList* status);

int ZQDeleteSupportFile(ZQControlStruct* control, uint32_t fileType, const char* name,
                        ZQInternalId id, ZQInternalId fileId, ZQStatusList* status);

int ZQGetListSupportFile(ZQControlStruct* control, uint32_t fileType, const char* name,
                         ZQInternalId id, ZQTimestamp changedSince, ZQInternalIdList* fileIds,
                         ZQStatusList* status);

/* ---- release ---------------------------------------------------------------------- */

void FreeZQLocaleList(ZQLocaleList* value, ZQBoolean freeStruct);
void FreeZQDisplayList(ZQDisplayList* value, ZQBoolean freeStruct);
/* Each object's nested objects, recursively; the structure itself is not
 * reset when kept. */
void FreeZQObjectInfoStruct(ZQObjectInfoStruct* value, ZQBoolean freeStruct);
void FreeZQObjectInfoList(ZQObjectInfoList* value, ZQBoolean freeStruct);

#ifdef __cplusplus
}
#endif

#endif /* ZQAPI_ZQ_DEFINITIONS_H */
