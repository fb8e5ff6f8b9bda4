/** \file
 * Definitions on the server: forms (schemas), fields, views (VUIs), images
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

/** Reads a form by name (required: 102, 103), as the get pattern says.
 * The inheritance list, the default view and the timestamp come back
 * whenever their pointers are given; the other outputs are asked for. */
int ZQGetSchema(ZQControlStruct* control, const char* name, ZQCompoundSchema* schema,
                ZQSchemaInheritanceList* inheritance, ZQPermissionList* permissions,
                ZQInternalIdList* subAdminGroups, ZQEntryListFieldList* getListFields,
                ZQSortList* sort, ZQIndexList* indexes, ZQArchiveInfoStruct* archive,
                ZQAuditInfoStruct* audit, ZQNameType defaultView, char** helpText,
                ZQTimestamp* timestamp, ZQAccessNameType owner, ZQAccessNameType lastChanged,
                char** changeDiary, ZQPropList* properties, ZQStatusList* status);

/** Changes the parts of a form that are given, as the set pattern says.
 * newName (null or equal to name: no rename); a schema of type 0 leaves the
 * form kind as it is. changeDiary is text to append to the diary; option is
 * passed to the server. A join needs two valid member names (266) and a
 * valid join qualification (267); an unknown form kind gives 269, a
 * permission above 2 gives 128 and 127, an index without fields or with
 * more than 16 gives 211. */
int ZQSetSchema(ZQControlStruct* control, const char* name, const char* newName,
                ZQCompoundSchema* schema, ZQSchemaInheritanceList* inheritance,
                ZQPermissionList* permissions, ZQInternalIdList* subAdminGroups,
                ZQEntryListFieldList* getListFields, ZQSortList* sort, ZQIndexList* indexes,
                ZQArchiveInfoStruct* archive, ZQAuditInfoStruct* audit, const char* defaultView,
                const char* helpText, const char* owner, const char* changeDiary,
                ZQPropList* properties, uint32_t option, ZQStatusList* status);

/** Creates a form from the parts given; option is passed to the server.
 * schema is required (null or type 0: 265); the other checks are those of
 * ZQSetSchema. */
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

/** Deletes a form; deleteOption ZQ_DELETE_NORMAL or ZQ_DELETE_FORCE. */
int ZQDeleteSchema(ZQControlStruct* control, const char* name, uint32_t deleteOption,
                   ZQStatusList* status);

/** The forms changed since changedSince (0: all) of the kind schemaType
 * selects, having every field of fieldIds (null or empty: any) and every
 * property of properties (null or empty: any). name is passed unchanged.
 * names (null: 105) is released with FreeZQNameList; a returned name of 255
 * or more characters leaves it empty and adds 103. */
int ZQGetListSchema(ZQControlStruct* control, ZQTimestamp changedSince, uint32_t schemaType,
                    const char* name, ZQInternalIdList* fieldIds, ZQPropList* properties,
                    ZQNameList* names, ZQStatusList* status);

/** As ZQGetListSchema, with the alias of each form: the name of its first
 * view of the given locale (empty: any) and of one of viewTypes (null or
 * empty: any), else the form name. Both outputs are optional. A locale of
 * more than 64 characters gives 103. */
int ZQGetListSchemaWithAlias(ZQControlStruct* control, ZQTimestamp changedSince,
                             uint32_t schemaType, const char* name, ZQInternalIdList* fieldIds,
                             ZQPropList* properties, const char* locale,
                             ZQUnsignedIntList* viewTypes, ZQNameList* names,
                             ZQNameList* aliases, ZQStatusList* status);

/** Several forms at once, as the multiple pattern says, each part as
 * ZQGetSchema returns it; changedSince, schemaType and fieldIds select as
 * for ZQGetListSchema. wantedNames null or empty: every form. */
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

/** Display property holding a field's label (a char value) in a view; the
 * qualification language knows the field by this label in the chosen view. */
#define ZQ_DPROP_LABEL 20

/** Reads a field of a form by id, as the get pattern says; fieldName is
 * a buffer of ZQNameType. The timestamp comes back whenever its pointer is
 * given. */
int ZQGetField(ZQControlStruct* control, const char* form, ZQInternalId fieldId,
               ZQNameType fieldName, ZQFieldMappingStruct* mapping, uint32_t* dataType,
               uint32_t* option, uint32_t* createMode, uint32_t* optionBits,
               ZQValueStruct* defaultValue, ZQPermissionList* permissions,
               ZQFieldLimitStruct* limit, ZQDisplayInstanceList* displays, char** helpText,
               ZQTimestamp* timestamp, ZQAccessNameType owner, ZQAccessNameType lastChanged,
               char** changeDiary, ZQStatusList* status);

/** Changes the parts of a field that are given, as the set pattern says.
 * setOption: its two low bits are passed to the server (both together are
 * refused with 182). An option outside 1 to 4 gives 118, a create mode
 * other than 1 or 2 gives 119, a bad default value 111 (180 when a text is
 * longer than 255 characters), a bad limit 129. */
int ZQSetField(ZQControlStruct* control, const char* form, ZQInternalId fieldId,
               const char* fieldName, ZQFieldMappingStruct* mapping, uint32_t* option,
               uint32_t* createMode, uint32_t* optionBits, ZQValueStruct* defaultValue,
               ZQPermissionList* permissions, ZQFieldLimitStruct* limit,
               ZQDisplayInstanceList* displays, const char* helpText, const char* owner,
               const char* changeDiary, uint32_t setOption, ZQStatusList* status);

/** Creates a field of a form. fieldId is required (178); reservedIdOk is
 * passed to the server.
 * *fieldId 0 lets the server choose the id, which it writes back. A data
 * type outside ZQ_DATA_TYPE_INTEGER to ZQ_DATA_TYPE_DISPLAY gives 110, a
 * default of another type than the field's 166, a limit of another type
 * 167; no permissions add the warning 50 except for a control field. The
 * other checks are those of ZQSetField. */
int ZQCreateField(ZQControlStruct* control, const char* form, ZQInternalId* fieldId,
                  uint32_t reservedIdOk, const char* fieldName, ZQFieldMappingStruct* mapping,
                  uint32_t dataType, uint32_t option, uint32_t createMode, uint32_t optionBits,
                  ZQValueStruct* defaultValue, ZQPermissionList* permissions,
                  ZQFieldLimitStruct* limit, ZQDisplayInstanceList* displays,
                  const char* helpText, const char* owner, const char* changeDiary,
                  ZQStatusList* status);

/** Deletes a field of a form; deleteOption is passed to the server. */
int ZQDeleteField(ZQControlStruct* control, const char* form, ZQInternalId fieldId,
                  uint32_t deleteOption, ZQStatusList* status);
/** Deletes the fields of fieldIds of a form at once; deleteOption is passed
 * to the server. */
int ZQDeleteMultipleFields(ZQControlStruct* control, const char* form, ZQInternalIdList* fieldIds,
                           uint32_t deleteOption, ZQStatusList* status);

/** The ids of a form's fields of the kinds fieldType selects
 * (ZQ_FIELD_TYPE_... bits), changed since changedSince (0: all). fieldIds
 * (null: 105) is released with FreeZQInternalIdList. */
int ZQGetListField(ZQControlStruct* control, const char* form, ZQTimestamp changedSince,
                   uint32_t fieldType, ZQInternalIdList* fieldIds, ZQStatusList* status);

/** Several fields of a form at once, as the multiple pattern says.
 * wantedIds null or empty: every field. exists is required (292). */
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

/** Creates several fields of a form at once, checked as ZQCreateField.
 * One item per field id in every list given; a null item (or a null
 * optional list) leaves that part at its default. reservedIdOk, mappings,
 * dataTypes, options, createModes and optionBits are required. No field ids
 * give 178, a list of another length 486, a missing reservedIdOk 485 and a
 * missing mappings 270; the messages 110, 111, 118, 119, 166, 167 and 180
 * carry the id of the field they are about. */
int ZQCreateMultipleFields(ZQControlStruct* control, const char* form, ZQInternalIdList* fieldIds,
                           ZQUnsignedIntList* reservedIdOk, ZQNamePtrList* names,
                           ZQFieldMappingPtrList* mappings, ZQUnsignedIntPtrList* dataTypes,
                           ZQUnsignedIntPtrList* options, ZQUnsignedIntPtrList* createModes,
                           ZQUnsignedIntPtrList* optionBits, ZQValuePtrList* defaults,
                           ZQPermissionListPtrList* permissions, ZQFieldLimitPtrList* limits,
                           ZQDisplayInstanceListPtrList* displays, ZQTextStringList* helpTexts,
                           ZQAccessNamePtrList* owners, ZQTextStringList* changeDiaries,
                           ZQStatusList* status);

/** Changes several fields of a form at once, checked as ZQSetField.
 * A null list or a null item leaves that part unchanged; dataTypes only
 * serve the checks of the default values. fieldStatus (required) receives
 * one status list per field. No field ids give 178, a list of another
 * length 486, no list at all the warning 54, a null fieldStatus 487. */
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

/** Reads a view of a form by id, as the get pattern says; vuiName is a
 * buffer of ZQNameType.
 * locale (may be null) has room for ZQ_MAX_LOCALE_SIZE characters and the
 * terminator. */
int ZQGetVUI(ZQControlStruct* control, const char* form, ZQInternalId vuiId, ZQNameType vuiName,
             char* locale, uint32_t* vuiType, ZQPropList* displayProperties, char** helpText,
             ZQTimestamp* timestamp, ZQAccessNameType owner, ZQAccessNameType lastChanged,
             char** changeDiary, ZQStatusList* status);

/** Changes the parts of a view that are given, as the set pattern says. A
 * locale of more than 64 characters gives 103. */
int ZQSetVUI(ZQControlStruct* control, const char* form, ZQInternalId vuiId, const char* vuiName,
             const char* locale, uint32_t* vuiType, ZQPropList* displayProperties,
             const char* helpText, const char* owner, const char* changeDiary,
             ZQStatusList* status);

/** Creates a view of a form. vuiId is required (178).
 * *vuiId 0 lets the server choose the id, which it writes back. A locale of
 * more than 64 characters gives 103. */
int ZQCreateVUI(ZQControlStruct* control, const char* form, ZQInternalId* vuiId,
                const char* vuiName, const char* locale, uint32_t vuiType,
                ZQPropList* displayProperties, const char* helpText, const char* owner,
                const char* changeDiary, ZQStatusList* status);

/** Deletes a view of a form. */
int ZQDeleteVUI(ZQControlStruct* control, const char* form, ZQInternalId vuiId,
                ZQStatusList* status);

/** The ids of a form's views changed since changedSince (0: all). vuiIds
 * (null: 105) is released with FreeZQInternalIdList. */
int ZQGetListVUI(ZQControlStruct* control, const char* form, ZQTimestamp changedSince,
                 ZQInternalIdList* vuiIds, ZQStatusList* status);

/** Several views of a form at once, as the multiple pattern says.
 * wantedIds null or empty: every view. A returned locale longer than 64
 * characters leaves locales empty and adds 233. */
int ZQGetMultipleVUIs(ZQControlStruct* control, const char* form, ZQInternalIdList* wantedIds,
                      ZQTimestamp changedSince, ZQBooleanList* exists, ZQInternalIdList* vuiIds,
                      ZQNameList* names, ZQLocaleList* locales, ZQUnsignedIntList* types,
                      ZQPropListList* displayProperties, ZQTextStringList* helpTexts,
                      ZQTimestampList* timestamps, ZQAccessNameList* owners,
                      ZQAccessNameList* lastChanged, ZQTextStringList* changeDiaries,
                      ZQStatusList* status);

/* ---- images --------------------------------------------------------------------- */

/** Reads an image by name, as the get pattern says; release data with
 * FreeZQImageDataStruct.
 * The timestamp comes back whenever its pointer is given. */
int ZQGetImage(ZQControlStruct* control, const char* name, ZQImageDataStruct* data,
               char** imageType, ZQTimestamp* timestamp, char** checksum, char** description,
               char** helpText, ZQAccessNameType owner, ZQAccessNameType lastChanged,
               char** changeDiary, ZQPropList* properties, ZQStatusList* status);

/** Changes the parts of an image that are given, as the set pattern says;
 * newName (null or equal to name: no rename). */
int ZQSetImage(ZQControlStruct* control, const char* name, const char* newName,
               ZQImageDataStruct* data, const char* imageType, const char* description,
               const char* helpText, const char* owner, const char* changeDiary,
               ZQPropList* properties, ZQStatusList* status);

/** Creates an image. data must hold bytes (884) and imageType must be
 * given (885). */
int ZQCreateImage(ZQControlStruct* control, const char* name, ZQImageDataStruct* data,
                  const char* imageType, const char* description, const char* helpText,
                  const char* owner, const char* changeDiary, ZQPropList* properties,
                  ZQStatusList* status);

/** Deletes an image; deleteOption is passed to the server. */
int ZQDeleteImage(ZQControlStruct* control, const char* name, uint32_t deleteOption,
                  ZQStatusList* status);

/** The names of the images changed since changedSince (0: all).
 * forms is passed unchanged; imageType null or empty: every type. names
 * (null: 105) is released with FreeZQNameList. */
int ZQGetListImage(ZQControlStruct* control, ZQNameList* forms, ZQTimestamp changedSince,
                   const char* imageType, ZQNameList* names, ZQStatusList* status);

/** Several images at once, as the multiple pattern says. wantedNames null
 * or empty: every image. */
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

/** Writes the file's content into file (open for writing); what was written
 * stays in it when a later slice fails. fileType ZQ_SUPPORT_FILE_... (else
 * 296); name is required; a null file gives 295, a failed write 301 with
 * the system's error text. */
int ZQGetSupportFile(ZQControlStruct* control, uint32_t fileType, const char* name,
                     ZQInternalId id, ZQInternalId fileId, FILE* file, ZQTimestamp* timestamp,
                     ZQStatusList* status);

/**@{*/
/** Stores the whole content of file (open for reading, from its start).
 * ZQCreateSupportFile does the same. A null or empty file gives 295, a
 * failed read 316; fileType and name as for ZQGetSupportFile. */
int ZQSetSupportFile(ZQControlStruct* control, uint32_t fileType, const char* name,
                     ZQInternalId id, ZQInternalId fileId, FILE* file, ZQStatusList* status);
int ZQCreateSupportFile(ZQControlStruct* control, uint32_t fileType, const char* name,
                        ZQInternalId id, ZQInternalId fileId, FILE* file, ZQStatusList* status);
/**@}*/

/** Deletes a support file; fileType and name as for ZQGetSupportFile. */
int ZQDeleteSupportFile(ZQControlStruct* control, uint32_t fileType, const char* name,
                        ZQInternalId id, ZQInternalId fileId, ZQStatusList* status);

/** The ids of the support files of a form or active link changed since
 * changedSince (0: all). fileIds (null: 105) is released with
 * FreeZQInternalIdList. */
int ZQGetListSupportFile(ZQControlStruct* control, uint32_t fileType, const char* name,
                         ZQInternalId id, ZQTimestamp changedSince, ZQInternalIdList* fileIds,
                         ZQStatusList* status);

/* ---- release ---------------------------------------------------------------------- */

/**@{*/
/** Releases what the structure owns; with freeStruct its own block
 * too, otherwise it is left reset for reuse. */
void FreeZQLocaleList(ZQLocaleList* value, ZQBoolean freeStruct);
void FreeZQDisplayList(ZQDisplayList* value, ZQBoolean freeStruct);
/**@}*/
/** Releases each object's nested objects, recursively; the structure
 * itself is not reset when kept. */
void FreeZQObjectInfoStruct(ZQObjectInfoStruct* value, ZQBoolean freeStruct);
/** Releases the objects of the list and, recursively, their nested
 * objects; with freeStruct the list's own block too. */
void FreeZQObjectInfoList(ZQObjectInfoList* value, ZQBoolean freeStruct);

#ifdef __cplusplus
}
#endif

#endif /* ZQAPI_ZQ_DEFINITIONS_H */
