// Argument and reply records of the definition procedures of forms, fields,
// views, images and support files (7 to 15, 43, 56, 62 to 66, 68, 69, 71,
// 72, 79, 86, 88, 101, 151, 152, 154 to 158, 166).
//
// A definition's parts are one structure per kind (SchemaParts, FieldParts,
// ViewParts, ImageParts) shared by its get reply, its set and create
// requests and the server's stored copy. The reply and the stored copy carry
// every part (Shape::stored); requests leave out what only the server
// writes: the timestamp, the last changer and, for images, the checksum
// (Shape::request). Names that are call arguments are borrowed in requests
// and owned once decoded.
#pragma once

#include <cstdint>

#include "transport/records.h"
#include "zqapi/zq_defs.h"
#include "zqapi/zq_workflow.h"

namespace zq::transport {

enum class Shape : uint8_t {
  stored,   // everything: get replies and the server's own copy
  request,  // what a caller sends: no timestamp, last changer or checksum
};

// The properties every definition kind has. Fields and views have no
// object properties of their own; their list stays empty.
struct CommonProps {
  char* helpText;
  ZQTimestamp timestamp;  // read only
  ZQAccessNameType owner;
  ZQAccessNameType lastChanged;  // read only
  char* changeDiary;  // requests: text to append; replies: the whole diary
  ZQPropList properties;
};

// A name travelling as a counted text holding the name and its terminator
// (the replies of the list procedures).
struct WireText {
  uint32_t length;
  char* text;
};
struct WireTextList {
  uint32_t count;
  WireText* items;
};

// ---- wanted-output and changed-parts masks ------------------------------------------------
// One bit per optional output of a get, in the order the outputs were
// given their bits; one bit per part a set changes.

namespace wanted {
// ZQGetSchema; the inheritance list, default view and timestamp always come back.
inline constexpr uint32_t kSchemaKind = 1, kSchemaPermissions = 2, kSchemaSubAdmins = 4,
                          kSchemaGetListFields = 8, kSchemaSort = 16, kSchemaIndexes = 32,
                          kSchemaHelp = 64, kSchemaDiary = 128, kSchemaProperties = 256,
                          kSchemaArchive = 512, kSchemaAudit = 1024, kSchemaOwner = 2048,
                          kSchemaLastChanged = 4096;
// ZQGetField; the timestamp always comes back.
inline constexpr uint32_t kFieldName = 1, kFieldMapping = 2, kFieldDataType = 4, kFieldOption = 8,
                          kFieldCreateMode = 16, kFieldOptionBits = 32, kFieldDefault = 64,
                          kFieldPermissions = 128, kFieldLimit = 256, kFieldDisplays = 512,
                          kFieldHelp = 1024, kFieldDiary = 2048, kFieldOwner = 4096,
                          kFieldLastChanged = 8192;
// ZQGetVUI; the timestamp always comes back.
inline constexpr uint32_t kViewName = 1, kViewLocale = 2, kViewType = 4, kViewProperties = 8,
                          kViewHelp = 16, kViewDiary = 32, kViewOwner = 64,
                          kViewLastChanged = 128;
// ZQGetImage; the timestamp always comes back.
inline constexpr uint32_t kImageData = 1, kImageType = 2, kImageChecksum = 4,
                          kImageDescription = 8, kImageHelp = 16, kImageDiary = 32,
                          kImageProperties = 64, kImageOwner = 128, kImageLastChanged = 256;

// The get-multiple calls: one bit per output list in output order.
inline constexpr uint32_t kMultiSchemaExists = 1, kMultiSchemaNames = 2, kMultiSchemaKinds = 4,
                          kMultiSchemaInheritance = 8, kMultiSchemaPermissions = 16,
                          kMultiSchemaSubAdmins = 32, kMultiSchemaGetListFields = 64,
                          kMultiSchemaSort = 128, kMultiSchemaIndexes = 256,
                          kMultiSchemaArchive = 512, kMultiSchemaAudit = 1024,
                          kMultiSchemaDefaultView = 2048, kMultiSchemaHelp = 4096,
                          kMultiSchemaTimestamps = 8192, kMultiSchemaOwners = 16384,
                          kMultiSchemaLastChanged = 32768, kMultiSchemaDiaries = 65536,
                          kMultiSchemaProperties = 131072;
inline constexpr uint32_t kMultiFieldExists = 1, kMultiFieldIds = 2, kMultiFieldNames = 4,
                          kMultiFieldMappings = 8, kMultiFieldDataTypes = 16,
                          kMultiFieldOptions = 32, kMultiFieldCreateModes = 64,
                          kMultiFieldOptionBits = 128, kMultiFieldDefaults = 256,
                          kMultiFieldPermissions = 512, kMultiFieldLimits = 1024,
                          kMultiFieldDisplays = 2048, kMultiFieldHelp = 4096,
                          kMultiFieldTimestamps = 8192, kMultiFieldOwners = 16384,
                          kMultiFieldLastChanged = 32768, kMultiFieldDiaries = 65536;
inline constexpr uint32_t kMultiViewExists = 1, kMultiViewIds = 2, kMultiViewNames = 4,
                          kMultiViewLocales = 8, kMultiViewTypes = 16, kMultiViewProperties = 32,
                          kMultiViewHelp = 64, kMultiViewTimestamps = 128, kMultiViewOwners = 256,
                          kMultiViewLastChanged = 512, kMultiViewDiaries = 1024;
inline constexpr uint32_t kMultiImageExists = 1, kMultiImageNames = 2, kMultiImageData = 4,
                          kMultiImageTypes = 8, kMultiImageTimestamps = 16,
                          kMultiImageChecksums = 32, kMultiImageDescriptions = 64,
                          kMultiImageHelp = 128, kMultiImageOwners = 256,
                          kMultiImageLastChanged = 512, kMultiImageDiaries = 1024,
                          kMultiImageProperties = 2048;
}  // namespace wanted

namespace changed {
// ZQSetSchema, in argument order.
inline constexpr uint32_t kSchemaName = 1, kSchemaKind = 2, kSchemaInheritance = 4,
                          kSchemaPermissions = 8, kSchemaSubAdmins = 16,
                          kSchemaGetListFields = 32, kSchemaSort = 64, kSchemaIndexes = 128,
                          kSchemaArchive = 256, kSchemaAudit = 512, kSchemaDefaultView = 1024,
                          kSchemaHelp = 2048, kSchemaOwner = 4096, kSchemaDiary = 8192,
                          kSchemaProperties = 16384;
// ZQSetField; bits 12 and 13 carry the two low bits of the set option word.
inline constexpr uint32_t kFieldName = 1, kFieldOption = 2, kFieldCreateMode = 4,
                          kFieldDefault = 8, kFieldPermissions = 16, kFieldLimit = 32,
                          kFieldDisplays = 64, kFieldHelp = 128, kFieldOwner = 256,
                          kFieldDiary = 512, kFieldMapping = 1024, kFieldOptionBits = 2048,
                          kFieldSetOptionShift = 12, kFieldSetOptions = 4096 | 8192;
// ZQSetVUI, in argument order.
inline constexpr uint32_t kViewName = 1, kViewLocale = 2, kViewType = 4, kViewProperties = 8,
                          kViewHelp = 16, kViewOwner = 32, kViewDiary = 64;
// ZQSetImage, in argument order.
inline constexpr uint32_t kImageName = 1, kImageData = 2, kImageType = 4,
                          kImageDescription = 8, kImageHelp = 16, kImageOwner = 32,
                          kImageDiary = 64, kImageProperties = 128;
}  // namespace changed

// ---- forms (7 to 11, 86, 101) --------------------------------------------------------------

struct SchemaParts {
  ZQCompoundSchema kind;
  ZQSchemaInheritanceList inheritance;
  ZQPermissionList permissions;
  ZQInternalIdList subAdminGroups;
  ZQEntryListFieldList getListFields;
  ZQSortList sort;
  ZQIndexList indexes;
  ZQArchiveInfoStruct archive;  // versions 10 to 14
  ZQAuditInfoStruct audit;      // versions 10 to 14
  ZQNameType defaultView;
  CommonProps common;
};

struct GetSchemaArgs {
  RequestHeader header;
  char* name;
  uint32_t wanted;
};
struct GetSchemaReply {
  RequestHeader header;
  SchemaParts schema;
  ZQStatusList status;
};

struct SetSchemaArgs {
  RequestHeader header;
  char* name;
  char* newName;  // empty unless the form is renamed
  uint32_t changed;
  SchemaParts schema;
  uint32_t option;
};

struct CreateSchemaArgs {
  RequestHeader header;
  char* name;
  SchemaParts schema;
  uint32_t option;
};

// Procedures 10 and 158: a name and a delete option.
struct DeleteByNameArgs {
  RequestHeader header;
  char* name;
  uint32_t option;
};

struct ListSchemaArgs {
  RequestHeader header;
  ZQTimestamp changedSince;
  uint32_t schemaType;
  char* name;
  ZQInternalIdList fieldIds;
  ZQPropList properties;
};
// Procedures 11 and 154: the names as counted texts.
struct TextNameListReply {
  RequestHeader header;
  WireTextList names;
  ZQStatusList status;
};

struct ListSchemaWithAliasArgs {
  RequestHeader header;
  ZQTimestamp changedSince;
  uint32_t schemaType;
  char* name;
  ZQInternalIdList fieldIds;
  ZQPropList properties;
  char* locale;
  ZQUnsignedIntList viewTypes;
};
struct NamesAndAliasesReply {
  RequestHeader header;
  WireTextList names;
  WireTextList aliases;
  ZQStatusList status;
};

struct GetMultipleSchemasArgs {
  RequestHeader header;
  ZQTimestamp changedSince;
  uint32_t schemaType;
  ZQNameList names;
  ZQInternalIdList fieldIds;
  uint32_t wanted;
};
struct GetMultipleSchemasReply {
  RequestHeader header;
  ZQBooleanList exists;
  ZQNameList names;
  ZQCompoundSchemaList kinds;
  ZQSchemaInheritanceListList inheritance;
  ZQPermissionListList permissions;
  ZQInternalIdListList subAdminGroups;
  ZQEntryListFieldListList getListFields;
  ZQSortListList sorts;
  ZQIndexListList indexes;
  ZQArchiveInfoList archives;
  ZQAuditInfoList audits;
  ZQNameList defaultViews;
  ZQTextStringList helpTexts;
  ZQTimestampList timestamps;
  ZQAccessNameList owners;
  ZQAccessNameList lastChanged;
  ZQTextStringList diaries;
  ZQPropListList properties;
  ZQStatusList status;
};

// ---- fields (12 to 15, 43, 56, 79, 151, 152) ----------------------------------------------

struct FieldParts {
  ZQNameType fieldName;
  ZQFieldMappingStruct mapping;
  uint32_t dataType;  // not part of a set request
  uint32_t option;
  uint32_t createMode;
  uint32_t optionBits;
  ZQValueStruct defaultValue;
  ZQPermissionList permissions;
  ZQFieldLimitStruct limit;
  ZQDisplayInstanceList displays;
  CommonProps common;
};

struct GetFieldArgs {
  RequestHeader header;
  char* form;
  ZQInternalId fieldId;
  uint32_t wanted;
};
struct GetFieldReply {
  RequestHeader header;
  FieldParts field;
  ZQStatusList status;
};

struct SetFieldArgs {
  RequestHeader header;
  char* form;
  ZQInternalId fieldId;
  uint32_t changed;
  FieldParts field;
};

struct CreateFieldArgs {
  RequestHeader header;
  char* form;
  ZQInternalId fieldId;  // 0: the server chooses
  uint32_t reservedIdOk;
  FieldParts field;
};
// Procedures 14 and 64: the id the object was created under.
struct IdReply {
  RequestHeader header;
  ZQInternalId id;
  ZQStatusList status;
};

// Procedure 43 (a field) and 65 (a view, option 0).
struct DeleteByIdArgs {
  RequestHeader header;
  char* form;
  ZQInternalId id;
  uint32_t option;
};

struct DeleteFieldsArgs {
  RequestHeader header;
  char* form;
  ZQInternalIdList fieldIds;
  uint32_t option;
};

struct ListFieldArgs {
  RequestHeader header;
  char* form;
  ZQTimestamp changedSince;
  uint32_t fieldType;
};
// Procedures 15, 66 and 72: a list of ids.
struct IdListReply {
  RequestHeader header;
  ZQInternalIdList ids;
  ZQStatusList status;
};

struct GetMultipleFieldsArgs {
  RequestHeader header;
  char* form;
  ZQInternalIdList fieldIds;
  uint32_t wanted;
};
struct GetMultipleFieldsReply {
  RequestHeader header;
  ZQBooleanList exists;
  ZQInternalIdList ids;
  ZQNameList names;
  ZQFieldMappingList mappings;
  ZQUnsignedIntList dataTypes;
  ZQUnsignedIntList options;
  ZQUnsignedIntList createModes;
  ZQUnsignedIntList optionBits;
  ZQValueList defaults;
  ZQPermissionListList permissions;
  ZQFieldLimitList limits;
  ZQDisplayInstanceListList displays;
  ZQTextStringList helpTexts;
  ZQTimestampList timestamps;
  ZQAccessNameList owners;
  ZQAccessNameList lastChanged;
  ZQTextStringList diaries;
  ZQStatusList status;
};

// The per-field lists of procedures 151 and 152: one item per field id, an
// absent item (a null pointer) leaving that part of that field as it is
// (set) or at its default (create). An absent list travels empty.
struct FieldLists {
  ZQNamePtrList names;
  ZQFieldMappingPtrList mappings;
  ZQUnsignedIntPtrList dataTypes;
  ZQUnsignedIntPtrList options;
  ZQUnsignedIntPtrList createModes;
  ZQUnsignedIntPtrList optionBits;
  ZQValuePtrList defaults;
  ZQPermissionListPtrList permissions;
  ZQFieldLimitPtrList limits;
  ZQDisplayInstanceListPtrList displays;
  ZQTextStringList helpTexts;
  ZQAccessNamePtrList owners;
  ZQTextStringList diaries;
};

struct CreateFieldsArgs {
  RequestHeader header;
  char* form;
  ZQInternalIdList fieldIds;
  ZQUnsignedIntList reservedIdOk;
  FieldLists fields;
};

struct SetFieldsArgs {
  RequestHeader header;
  char* form;
  ZQInternalIdList fieldIds;
  FieldLists fields;
  ZQUnsignedIntList setOptions;
};
struct SetFieldsReply {
  RequestHeader header;
  ZQStatusListList fieldStatus;
  ZQStatusList status;
};

// ---- views (62 to 66, 88) -------------------------------------------------------------------

struct ViewParts {
  ZQNameType viewName;
  char* locale;  // at most 64 characters
  uint32_t viewType;
  ZQPropList displayProperties;
  CommonProps common;
};

struct GetViewArgs {
  RequestHeader header;
  char* form;
  ZQInternalId viewId;
  uint32_t wanted;
};
struct GetViewReply {
  RequestHeader header;
  ViewParts view;
  ZQStatusList status;
};

struct SetViewArgs {
  RequestHeader header;
  char* form;
  ZQInternalId viewId;
  uint32_t changed;
  ViewParts view;
};

struct CreateViewArgs {
  RequestHeader header;
  char* form;
  ZQInternalId viewId;  // 0: the server chooses
  ViewParts view;
};

struct DeleteViewArgs {
  RequestHeader header;
  char* form;
  ZQInternalId viewId;
};

struct ListViewArgs {
  RequestHeader header;
  char* form;
  ZQTimestamp changedSince;
};

struct GetMultipleViewsArgs {
  RequestHeader header;
  char* form;
  ZQInternalIdList viewIds;
  ZQTimestamp changedSince;
  uint32_t wanted;
};
struct GetMultipleViewsReply {
  RequestHeader header;
  ZQBooleanList exists;
  ZQInternalIdList ids;
  ZQNameList names;
  ZQTextStringList locales;  // converted into the caller's ZQLocaleList
  ZQUnsignedIntList types;
  ZQPropListList properties;
  ZQTextStringList helpTexts;
  ZQTimestampList timestamps;
  ZQAccessNameList owners;
  ZQAccessNameList lastChanged;
  ZQTextStringList diaries;
  ZQStatusList status;
};

// ---- images (154 to 158, 166) ---------------------------------------------------------------

struct ImageParts {
  ZQImageDataStruct data;
  char* imageType;
  char* checksum;  // computed by the server
  char* description;
  CommonProps common;
};

struct GetImageArgs {
  RequestHeader header;
  char* name;
  uint32_t wanted;
};
struct GetImageReply {
  RequestHeader header;
  ImageParts image;
  ZQStatusList status;
};

struct SetImageArgs {
  RequestHeader header;
  char* name;
  char* newName;
  uint32_t changed;
  ImageParts image;
};

struct CreateImageArgs {
  RequestHeader header;
  char* name;
  ImageParts image;
};

struct ListImageArgs {
  RequestHeader header;
  ZQNameList forms;
  ZQTimestamp changedSince;
  char* imageType;
};

struct GetMultipleImagesArgs {
  RequestHeader header;
  ZQTimestamp changedSince;
  ZQNameList names;
  uint32_t wanted;
};
struct GetMultipleImagesReply {
  RequestHeader header;
  ZQBooleanList exists;
  ZQNameList names;
  ZQImageDataList images;
  ZQTextStringList types;
  ZQTimestampList timestamps;
  ZQTextStringList checksums;
  ZQTextStringList descriptions;
  ZQTextStringList helpTexts;
  ZQAccessNameList owners;
  ZQAccessNameList lastChanged;
  ZQTextStringList diaries;
  ZQPropListList properties;
  ZQStatusList status;
};

// ---- support files (68, 69, 71, 72) -----------------------------------------------------------
// The content travels in slices: a download in replies of at most the
// response size, an upload in requests of at most the response size, the
// header's last-chunk byte set on the slice that completes the file and the
// chunk token of each reply carried into the next request.

struct SupportFileKey {
  uint32_t fileType;
  char* name;
  ZQInternalId id;
  ZQInternalId fileId;
};

struct GetSupportFileArgs {
  RequestHeader header;
  SupportFileKey key;
};
struct GetSupportFileReply {
  RequestHeader header;
  ZQTimestamp timestamp;
  uint32_t length;
  unsigned char* bytes;  // this reply's slice, never converted
  ZQStatusList status;
};

struct SetSupportFileArgs {
  RequestHeader header;
  SupportFileKey key;
  uint32_t totalSize;  // of the whole file, in every slice
  uint32_t length;
  unsigned char* bytes;  // this request's slice, never converted
};

struct DeleteSupportFileArgs {
  RequestHeader header;
  SupportFileKey key;
};

struct ListSupportFileArgs {
  RequestHeader header;
  uint32_t fileType;
  char* name;
  ZQInternalId id;
  ZQTimestamp changedSince;
};

}  // namespace zq::transport
