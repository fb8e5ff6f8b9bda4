/** \file
 * Workflow actions (filters, escalations, active links), character menus and
 * field limits.
 *
 * Every structure here is a tag followed by the member the tag selects, held
 * in the union `u`; members the tag does not select are meaningless. Strings
 * are separately allocated and may be null; everything a caller receives is
 * released with the matching FreeZQ... function. */
#ifndef ZQAPI_ZQ_WORKFLOW_H
#define ZQAPI_ZQ_WORKFLOW_H

#include "zq_types.h"
#include "zq_qual.h"

#ifdef __cplusplus
extern "C" {
#endif

/* ======================================================================
 * Action payloads
 * ====================================================================== */

#define ZQ_NOTIFY_ALERT 1
#define ZQ_NOTIFY_EMAIL 2
#define ZQ_NOTIFY_DEFAULT 3
#define ZQ_NOTIFY_XREF 99

#define ZQ_NOTIFY_FIELDS_NONE 0
#define ZQ_NOTIFY_FIELDS_ALL 1
#define ZQ_NOTIFY_FIELDS_LIST 2
#define ZQ_NOTIFY_FIELDS_CHANGED 3

/* Extra e-mail settings of a notify action (each string at most 256
 * characters on the wire). The three words are carried unchanged. */
typedef struct ZQFilterActionNotifyAdvanced {
  char* fromUser;
  char* replyTo;
  char* ccUser;
  char* bccUser;
  char* organization;
  char* mailboxName;
  char* headerTemplate;
  char* footerTemplate;
  char* contentTemplate;
  uint32_t option1;
  uint32_t option2;
  uint32_t option3;
} ZQFilterActionNotifyAdvanced;

typedef struct ZQNotifyStruct {
  char* user; /* at most 256 characters on the wire */
  char* text;
  uint32_t priority;
  uint32_t mechanism;                 /* ZQ_NOTIFY_... */
  ZQInternalId crossReferenceFieldId; /* mechanism ZQ_NOTIFY_XREF */
  char* subject;                      /* at most 256 characters on the wire */
  uint32_t fieldIdListKind;           /* ZQ_NOTIFY_FIELDS_... */
  ZQInternalIdList fieldIdList;       /* read only for kind ZQ_NOTIFY_FIELDS_LIST */
  uint32_t behavior;
  uint32_t permission;
  ZQFilterActionNotifyAdvanced* advanced; /* may be null */
} ZQNotifyStruct;

/* Message of a filter. */
typedef struct ZQFilterStatusStruct {
  uint32_t messageType; /* 0 note, 1 warning, 2 error */
  int32_t messageNumber;
  char* message; /* at most 256 characters on the wire */
} ZQFilterStatusStruct;

#define ZQ_MESSAGE_PROMPT 5
#define ZQ_MESSAGE_ACCESSIBLE 6
#define ZQ_MESSAGE_TOOLTIP 7

/* Message of an active link. */
typedef struct ZQMessageStruct {
  uint32_t messageType; /* 0 note, 1 warning, 2 error, 5 prompt, 6 accessible, 7 tooltip */
  int32_t messageNumber;
  char* message; /* at most 4096 characters on the wire */
  ZQBoolean usePromptingPane;
} ZQMessageStruct;

typedef struct ZQSetFieldsStruct {
  ZQFieldAssignList fieldAssignList;
  ZQServerNameType sampleServer;
  ZQNameType sampleSchema;
} ZQSetFieldsStruct;

typedef struct ZQPushFieldsStruct {
  ZQAssignFieldStruct target; /* server, form, qualification and field to change */
  ZQAssignStruct source;      /* the value pushed */
} ZQPushFieldsStruct;

typedef struct ZQPushFieldsList {
  uint32_t count;
  ZQPushFieldsStruct* items;
} ZQPushFieldsList;

typedef struct ZQPushFieldsAction {
  ZQPushFieldsList pushFieldsList;
  ZQServerNameType sampleServer;
  ZQNameType sampleSchema;
} ZQPushFieldsAction;

typedef struct ZQSQLStruct {
  ZQServerNameType server;
  char* sqlCommand;
} ZQSQLStruct;

#define ZQ_GOTO_FIELD_XREF 1
#define ZQ_GOTO_ABSOLUTE_ORDER 2
#define ZQ_GOTO_OFFSET_FORWARD 3
#define ZQ_GOTO_OFFSET_BACKWARD 4

typedef struct ZQGotoActionStruct {
  uint32_t tag;         /* ZQ_GOTO_... */
  uint32_t targetValue; /* field id, execution order or distance */
} ZQGotoActionStruct;

typedef struct ZQCallGuideStruct {
  ZQServerNameType serverName;
  ZQNameType guideName;
  uint32_t guideMode;
  ZQInternalId guideTableId;
  ZQFieldAssignList inputMappings;
  ZQFieldAssignList outputMappings;
  ZQServerNameType sampleServerName;
  ZQNameType sampleGuideName;
} ZQCallGuideStruct;

typedef struct ZQExitGuideStruct {
  ZQBoolean closeAllWindows;
} ZQExitGuideStruct;

typedef struct ZQCloseWindowStruct {
  ZQBoolean closeAllWindows;
} ZQCloseWindowStruct;

typedef struct ZQGotoGuideLabelStruct {
  char* label; /* at most 128 characters on the wire */
} ZQGotoGuideLabelStruct;

typedef struct ZQWaitStruct {
  char* continueButtonTitle; /* at most 64 characters on the wire */
} ZQWaitStruct;

typedef struct ZQSvcActionStruct {
  ZQServerNameType server;
  ZQNameType schema;
  ZQInternalId requestIdMap;
  ZQFieldAssignList inputMappings;
  ZQFieldAssignList outputMappings;
  ZQServerNameType sampleServer;
  ZQNameType sampleSchema;
} ZQSvcActionStruct;

typedef struct ZQMacroParmStruct {
  ZQNameType name;
  char* value;
} ZQMacroParmStruct;

typedef struct ZQMacroParmList {
  uint32_t count;
  ZQMacroParmStruct* items;
} ZQMacroParmList;

typedef struct ZQActiveLinkMacroStruct {
  ZQNameType macroName;
  char* macroText;
  ZQMacroParmList macroParms;
} ZQActiveLinkMacroStruct;

typedef struct ZQFieldCharacteristicsStruct {
  uint32_t option; /* carried unchanged */
  ZQInternalId fieldId;
  char* charMenu; /* at most 255 characters on the wire */
  ZQPropList properties;
  uint32_t resetFocus;
  uint32_t accessOption;
} ZQFieldCharacteristicsStruct;

#define ZQ_COM_VALUE_NONE 0
#define ZQ_COM_VALUE_FIELD 1
#define ZQ_COM_VALUE_VALUE 2

typedef struct ZQCOMValueStruct {
  char* interfaceId; /* at most 128 characters on the wire */
  ZQInternalId number;
  uint32_t valueType; /* ZQ_COM_VALUE_... */
  union {
    ZQInternalId fieldId;
    ZQValueStruct value;
  } u;
} ZQCOMValueStruct;

typedef struct ZQCOMMethodParmStruct {
  char* parameterName; /* at most 1025 characters on the wire */
  uint32_t parameterType;
  ZQCOMValueStruct parameterValue;
} ZQCOMMethodParmStruct;

typedef struct ZQCOMMethodParmList {
  uint32_t count;
  ZQCOMMethodParmStruct* items;
} ZQCOMMethodParmList;

typedef struct ZQCOMMethodStruct {
  char* methodName;        /* at most 128 characters on the wire */
  char* methodInterfaceId; /* at most 128 characters on the wire */
  uint32_t methodType;
  ZQCOMValueStruct methodValue;
  ZQCOMMethodParmList parameters;
} ZQCOMMethodStruct;

typedef struct ZQCOMMethodList {
  uint32_t count;
  ZQCOMMethodStruct* items;
} ZQCOMMethodList;

typedef struct ZQOutboundAutomationStruct {
  char* autoServerName;   /* at most 1025 characters on the wire */
  char* classId;          /* at most 128 */
  char* automationAction; /* at most 2000 */
  ZQBoolean serverShowingFlag;
  ZQCOMMethodList methods;
} ZQOutboundAutomationStruct;

typedef struct ZQOpenDialogStruct {
  ZQServerNameType serverName;
  ZQNameType schemaName;
  ZQNameType vuiLabel;
  ZQBoolean closeBoxShowingFlag;
  ZQFieldAssignList inputValues;
  ZQFieldAssignList outputValues;
  int32_t windowMode;
  char* targetLocation;
  ZQQualifierStruct qualifier;
  ZQBoolean noMatchContinue;
  ZQBoolean suppressEmptyList;
  ZQMessageStruct message;
  int32_t pollingInterval;
  char* reportString;
  ZQSortList sortList;
} ZQOpenDialogStruct;

/* ======================================================================
 * Filter and escalation actions
 * ====================================================================== */

#define ZQ_FILTER_ACTION_NONE 0
#define ZQ_FILTER_ACTION_NOTIFY 1
#define ZQ_FILTER_ACTION_MESSAGE 2
#define ZQ_FILTER_ACTION_LOG 3
#define ZQ_FILTER_ACTION_FIELDS 4
#define ZQ_FILTER_ACTION_PROCESS 5
#define ZQ_FILTER_ACTION_FIELDP 6
#define ZQ_FILTER_ACTION_SQL 7
#define ZQ_FILTER_ACTION_GOTOACTION 8
#define ZQ_FILTER_ACTION_CALLGUIDE 9
#define ZQ_FILTER_ACTION_EXITGUIDE 10
#define ZQ_FILTER_ACTION_GOTOGUIDELABEL 11
#define ZQ_FILTER_ACTION_SERVICE 12

typedef struct ZQFilterActionStruct {
  uint32_t action; /* ZQ_FILTER_ACTION_... */
  union {
    ZQNotifyStruct notify;
    ZQFilterStatusStruct message;
    char* logFile;
    ZQSetFieldsStruct setFields;
    char* process;
    ZQPushFieldsAction pushFields;
    ZQSQLStruct sqlCommand;
    ZQGotoActionStruct gotoAction;
    ZQCallGuideStruct callGuide;
    ZQExitGuideStruct exitGuide;
    ZQGotoGuideLabelStruct gotoGuideLabel;
    ZQSvcActionStruct serviceAction;
  } u;
} ZQFilterActionStruct;

typedef struct ZQFilterActionList {
  uint32_t count;
  ZQFilterActionStruct* items;
} ZQFilterActionList;

typedef struct ZQFilterActionListList {
  uint32_t count;
  ZQFilterActionList* items;
} ZQFilterActionListList;

/* ======================================================================
 * Active link actions
 * ====================================================================== */

#define ZQ_ACTIVE_LINK_ACTION_NONE 0
#define ZQ_ACTIVE_LINK_ACTION_MACRO 1
#define ZQ_ACTIVE_LINK_ACTION_FIELDS 2
#define ZQ_ACTIVE_LINK_ACTION_PROCESS 3
#define ZQ_ACTIVE_LINK_ACTION_MESSAGE 4
#define ZQ_ACTIVE_LINK_ACTION_SET_CHAR 5
#define ZQ_ACTIVE_LINK_ACTION_DDE 6
#define ZQ_ACTIVE_LINK_ACTION_FIELDP 7
#define ZQ_ACTIVE_LINK_ACTION_SQL 8
#define ZQ_ACTIVE_LINK_ACTION_AUTO 9
#define ZQ_ACTIVE_LINK_ACTION_OPENDLG 10
#define ZQ_ACTIVE_LINK_ACTION_COMMITC 11
#define ZQ_ACTIVE_LINK_ACTION_CLOSEWND 12
#define ZQ_ACTIVE_LINK_ACTION_CALLGUIDE 13
#define ZQ_ACTIVE_LINK_ACTION_EXITGUIDE 14
#define ZQ_ACTIVE_LINK_ACTION_GOTOGUIDELABEL 15
#define ZQ_ACTIVE_LINK_ACTION_WAIT 16
#define ZQ_ACTIVE_LINK_ACTION_GOTOACTION 17
#define ZQ_ACTIVE_LINK_ACTION_SERVICE 18

typedef struct ZQActiveLinkActionStruct {
  uint32_t action; /* ZQ_ACTIVE_LINK_ACTION_... */
  union {
    ZQActiveLinkMacroStruct macro;
    ZQSetFieldsStruct setFields;
    char* process; /* at most 256 characters on the wire before version 14 */
    ZQMessageStruct message;
    ZQFieldCharacteristicsStruct characteristics;
    ZQDDEStruct dde;
    ZQPushFieldsAction pushFields;
    ZQSQLStruct sqlCommand;
    ZQOutboundAutomationStruct automation;
    ZQOpenDialogStruct openDialog;
    ZQCloseWindowStruct closeWindow;
    ZQCallGuideStruct callGuide;
    ZQExitGuideStruct exitGuide;
    ZQGotoGuideLabelStruct gotoGuideLabel;
    ZQWaitStruct waitAction;
    ZQGotoActionStruct gotoAction;
    ZQSvcActionStruct serviceAction;
  } u;
} ZQActiveLinkActionStruct;

typedef struct ZQActiveLinkActionList {
  uint32_t count;
  ZQActiveLinkActionStruct* items;
} ZQActiveLinkActionList;

typedef struct ZQActiveLinkActionListList {
  uint32_t count;
  ZQActiveLinkActionList* items;
} ZQActiveLinkActionListList;

/* ======================================================================
 * Character menus
 * ====================================================================== */

#define ZQ_CHAR_MENU_NONE 0
#define ZQ_CHAR_MENU_LIST 1
#define ZQ_CHAR_MENU_QUERY 2
#define ZQ_CHAR_MENU_FILE 3
#define ZQ_CHAR_MENU_SQL 4
#define ZQ_CHAR_MENU_SS 5
#define ZQ_CHAR_MENU_DATA_DICTIONARY 6

#define ZQ_MENU_ITEM_NONE 0
#define ZQ_MENU_ITEM_VALUE 1
#define ZQ_MENU_ITEM_MENU 2

#define ZQ_MENU_LABEL_FIELDS 5

struct ZQCharMenuStruct;

typedef struct ZQCharMenuItemStruct {
  ZQNameType label;
  uint32_t type; /* ZQ_MENU_ITEM_... */
  union {
    char* value;                        /* at most 256 characters on the wire */
    struct ZQCharMenuStruct* childMenu; /* may be null */
  } u;
} ZQCharMenuItemStruct;

/* The items of a list menu. */
typedef struct ZQCharMenuList {
  uint32_t count;
  ZQCharMenuItemStruct* items;
} ZQCharMenuList;

typedef struct ZQCharMenuQueryStruct {
  ZQNameType schemaName;
  ZQServerNameType serverName;
  ZQQualifierStruct qualifier;
  ZQInternalId labelFieldId[ZQ_MENU_LABEL_FIELDS]; /* used up to the first 0 */
  ZQInternalId valueFieldId;
  ZQBoolean sortOnLabel;
  ZQNameType sampleSchemaName;
  ZQServerNameType sampleServerName;
} ZQCharMenuQueryStruct;

#define ZQ_MENU_FILE_SERVER 1
#define ZQ_MENU_FILE_CLIENT 2

typedef struct ZQCharMenuFileStruct {
  uint32_t fileLocation; /* ZQ_MENU_FILE_... */
  char* filename;
} ZQCharMenuFileStruct;

typedef struct ZQCharMenuSQLStruct {
  ZQServerNameType serverName;
  char* sqlCommand;
  int32_t labelIndex[ZQ_MENU_LABEL_FIELDS]; /* column numbers, used up to the first 0 */
  int32_t valueIndex;
} ZQCharMenuSQLStruct;

/* A menu the server builds. serverName and extra belong to the client: they
 * never travel and read back as null. */
typedef struct ZQCharMenuSSStruct {
  ZQNameType menuName;
  ZQFieldValueList keywordList;
  ZQFieldValueList parameterList;
  ZQQualifierList qualifierList;
  char* serverName;
  char* extra;
} ZQCharMenuSSStruct;

#define ZQ_MENU_DD_FORM 1
#define ZQ_MENU_DD_FIELD 2

typedef struct ZQCharMenuDDFormStruct {
  uint32_t schemaType;
  ZQBoolean includeHidden;
} ZQCharMenuDDFormStruct;

typedef struct ZQCharMenuDDFieldStruct {
  uint32_t fieldType;
  ZQNameType formName;
} ZQCharMenuDDFieldStruct;

typedef struct ZQCharMenuDDStruct {
  ZQServerNameType serverName;
  uint32_t nameType;
  uint32_t valueFormat;
  uint32_t menuKind; /* ZQ_MENU_DD_... */
  union {
    ZQCharMenuDDFormStruct formDefn;
    ZQCharMenuDDFieldStruct fieldDefn;
  } u;
} ZQCharMenuDDStruct;

typedef struct ZQCharMenuStruct {
  uint32_t menuType; /* ZQ_CHAR_MENU_... */
  union {
    ZQCharMenuList menuList;
    ZQCharMenuQueryStruct menuQuery;
    ZQCharMenuFileStruct menuFile;
    ZQCharMenuSQLStruct menuSQL;
    ZQCharMenuSSStruct menuSS;
    ZQCharMenuDDStruct menuDD;
  } u;
} ZQCharMenuStruct;

typedef struct ZQCharMenuStructList {
  uint32_t count;
  ZQCharMenuStruct* items;
} ZQCharMenuStructList;

/* ======================================================================
 * Field limits
 * ====================================================================== */

#define ZQ_DATA_TYPE_TABLE 33
#define ZQ_DATA_TYPE_COLUMN 34

typedef struct ZQIntegerLimits {
  int32_t lowRange;
  int32_t highRange;
} ZQIntegerLimits;

typedef struct ZQRealLimits {
  double lowRange;
  double highRange;
  int32_t precision;
} ZQRealLimits;

typedef struct ZQCharacterLimits {
  uint32_t maximumLength;
  uint32_t menuStyle;
  uint32_t qbeMatchOperation;
  ZQNameType characterMenu;
  char* pattern; /* at most 256 characters on the wire */
  uint32_t fullTextOptions;
  uint32_t lengthUnits;
  uint32_t storageOption;
} ZQCharacterLimits;

typedef struct ZQDiaryLimits {
  uint32_t fullTextOptions;
} ZQDiaryLimits;

typedef struct ZQEnumItemStruct {
  ZQNameType itemName;
  uint32_t itemNumber;
} ZQEnumItemStruct;

typedef struct ZQEnumItemList {
  uint32_t count;
  ZQEnumItemStruct* items;
} ZQEnumItemList;

/* The values of an enumeration read from a form.
 *
 * The qualification is held inline, followed by the two field ids, in every
 * place of the library (wire, free, copy, trace, checks). On the wire it
 * travels through a pointer; an absent one reads back as operation 0. */
typedef struct ZQEnumeratedQuery {
  ZQNameType schemaName;
  ZQServerNameType serverName;
  ZQQualifierStruct qualifier;
  ZQInternalId nameFieldId;
  ZQInternalId numberFieldId;
} ZQEnumeratedQuery;

#define ZQ_ENUM_STYLE_REGULAR 1
#define ZQ_ENUM_STYLE_CUSTOM 2
#define ZQ_ENUM_STYLE_QUERY 3

typedef struct ZQEnumeratedLimits {
  uint32_t enumKind; /* ZQ_ENUM_STYLE_... */
  union {
    ZQNameList values; /* item names in order */
    ZQEnumItemList customValues;
    ZQEnumeratedQuery query;
  } u;
} ZQEnumeratedLimits;

typedef struct ZQDecimalLimits {
  char* lowRange; /* decimal numbers in text form */
  char* highRange;
  int32_t precision;
} ZQDecimalLimits;

#define ZQ_ATTACH_EMBEDDED 1
#define ZQ_ATTACH_LINK 2

typedef struct ZQAttachLimits {
  uint32_t maximumSize;
  uint32_t attachType; /* ZQ_ATTACH_... */
  uint32_t fullTextOptions;
} ZQAttachLimits;

typedef struct ZQCurrencyPrecision {
  ZQCurrencyCodeType currencyCode;
  int32_t precision;
} ZQCurrencyPrecision;

typedef struct ZQCurrencyPrecisionList {
  uint32_t count;
  ZQCurrencyPrecision* items;
} ZQCurrencyPrecisionList;

typedef struct ZQCurrencyFieldLimits {
  char* lowRange;
  char* highRange;
  int32_t precision;
  ZQCurrencyPrecisionList functionalCurrencies;
  ZQCurrencyPrecisionList allowedCurrencies;
} ZQCurrencyFieldLimits;

typedef struct ZQDateLimits {
  int32_t minimumDate; /* day numbers */
  int32_t maximumDate;
} ZQDateLimits;

typedef struct ZQTableFieldLimits {
  uint32_t numberOfColumns;
  ZQQualifierStruct qualifier;
  uint32_t maxRowsToRetrieve;
  ZQNameType schemaName;
  ZQServerNameType serverName;
  ZQNameType sampleSchemaName;
  ZQServerNameType sampleServerName;
} ZQTableFieldLimits;

typedef struct ZQColumnFieldLimits {
  ZQInternalId parentTableFieldId;
  ZQInternalId dataFieldId;
  uint32_t dataSource;
  uint32_t lengthToDisplay;
} ZQColumnFieldLimits;

typedef struct ZQViewLimits {
  uint32_t maximumLength;
} ZQViewLimits;

typedef struct ZQDisplayLimits {
  uint32_t maximumLength;
  uint32_t lengthUnits;
} ZQDisplayLimits;

/* dataType is a field data type (ZQ_DATA_TYPE_...); 0 means no limits. */
typedef struct ZQFieldLimitStruct {
  uint32_t dataType;
  union {
    ZQIntegerLimits intLimits;            /* 2 */
    ZQRealLimits realLimits;              /* 3 */
    ZQCharacterLimits charLimits;         /* 4 */
    ZQDiaryLimits diaryLimits;            /* 5 */
    ZQEnumeratedLimits enumLimits;        /* 6 */
    ZQEnumeratedLimits maskLimits;        /* 8 */
    ZQDecimalLimits decimalLimits;        /* 10 */
    ZQAttachLimits attachLimits;          /* 11 */
    ZQCurrencyFieldLimits currencyLimits; /* 12 */
    ZQDateLimits dateLimits;              /* 13 */
    ZQTableFieldLimits tableLimits;       /* 33 */
    ZQColumnFieldLimits columnLimits;     /* 34 */
    ZQViewLimits viewLimits;              /* 42 */
    ZQDisplayLimits displayLimits;        /* 43 */
  } u;
} ZQFieldLimitStruct;

typedef struct ZQFieldLimitList {
  uint32_t count;
  ZQFieldLimitStruct* items;
} ZQFieldLimitList;

/* Does not own the limits beyond their contents. */
typedef struct ZQFieldLimitPtrList {
  uint32_t count;
  ZQFieldLimitStruct** items;
} ZQFieldLimitPtrList;

/* ======================================================================
 * Release. freeStruct true also releases the structure's own block; false
 * leaves it reset (tag 0, count 0, null pointers) for reuse.
 * ====================================================================== */

/**@{*/
/** Releases everything the structure owns; with freeStruct its own block
 * too, otherwise it is left reset for reuse (see the rule above). */
void FreeZQFilterActionNotifyAdvanced(ZQFilterActionNotifyAdvanced** value, ZQBoolean freeStruct);
void FreeZQFilterActionStruct(ZQFilterActionStruct* value, ZQBoolean freeStruct);
void FreeZQFilterActionList(ZQFilterActionList* value, ZQBoolean freeStruct);
void FreeZQFilterActionListList(ZQFilterActionListList* value, ZQBoolean freeStruct);
void FreeZQActiveLinkActionStruct(ZQActiveLinkActionStruct* value, ZQBoolean freeStruct);
void FreeZQActiveLinkActionList(ZQActiveLinkActionList* value, ZQBoolean freeStruct);
void FreeZQActiveLinkActionListList(ZQActiveLinkActionListList* value, ZQBoolean freeStruct);
void FreeZQPushFieldsList(ZQPushFieldsList* value, ZQBoolean freeStruct);
void FreeZQMacroParmList(ZQMacroParmList* value, ZQBoolean freeStruct);
void FreeZQCOMValueStruct(ZQCOMValueStruct* value, ZQBoolean freeStruct);
void FreeZQCOMMethodList(ZQCOMMethodList* value, ZQBoolean freeStruct);
void FreeZQCOMMethodParmList(ZQCOMMethodParmList* value, ZQBoolean freeStruct);
void FreeZQCharMenuStruct(ZQCharMenuStruct* value, ZQBoolean freeStruct);
void FreeZQCharMenuItemStruct(ZQCharMenuItemStruct* value, ZQBoolean freeStruct);
void FreeZQCharMenuList(ZQCharMenuList* value, ZQBoolean freeStruct);
/**@}*/
/** Releases only the items of a list menu; other menu types are left alone. */
void FreeListZQCharMenuStruct(ZQCharMenuStruct* value, ZQBoolean freeStruct);
/**@{*/
/** Releases everything the structure owns; with freeStruct its own block
 * too, otherwise it is left reset for reuse (see the rule above). */
void FreeZQCharMenuStructList(ZQCharMenuStructList* value, ZQBoolean freeStruct);
void FreeZQCharMenuSSStruct(ZQCharMenuSSStruct* value, ZQBoolean freeStruct);
void FreeZQFieldLimitStruct(ZQFieldLimitStruct* value, ZQBoolean freeStruct);
void FreeZQFieldLimitList(ZQFieldLimitList* value, ZQBoolean freeStruct);
void FreeZQFieldLimitPtrList(ZQFieldLimitPtrList* value, ZQBoolean freeStruct);
void FreeZQEnumItemList(ZQEnumItemList* value, ZQBoolean freeStruct);
void FreeZQSQLStruct(ZQSQLStruct* value, ZQBoolean freeStruct);
/**@}*/

/* ======================================================================
 * Deep copies (zq_copy.h gives the common rules). Each is also exported by
 * the ordinal given beside it. The menu copies can also return
 * ZQ_COPY_BAD_MENU_TYPE (destination left with type 0) and
 * ZQ_COPY_BAD_MENU_ITEM_TYPE (destination left empty).
 * ====================================================================== */

#define ZQ_COPY_BAD_MENU_ITEM_TYPE 131
#define ZQ_COPY_BAD_MENU_TYPE 206

/** Deep copy (zq_copy.h gives the rules); ordinals 1009 and 1052 */
int32_t ZQCopyEnumItemList(ZQEnumItemList* destination, const ZQEnumItemList* source);
/** Deep copy (zq_copy.h gives the rules); ordinal 1010 */
int32_t ZQCopyFieldLimitStruct(ZQFieldLimitStruct* destination, const ZQFieldLimitStruct* source);
/** Deep copy (zq_copy.h gives the rules); ordinal 1021 */
int32_t ZQCopyNotifyStruct(ZQNotifyStruct* destination, const ZQNotifyStruct* source);
/** Deep copy (zq_copy.h gives the rules); ordinal 1037 */
int32_t ZQCopyPushFieldsStruct(ZQPushFieldsStruct* destination, const ZQPushFieldsStruct* source);
/** Deep copy (zq_copy.h gives the rules); ordinal 1038 */
int32_t ZQCopyPushFieldsList(ZQPushFieldsList* destination, const ZQPushFieldsList* source);
/** Deep copy (zq_copy.h gives the rules); ordinal 1039 */
int32_t ZQCopySQLStruct(ZQSQLStruct* destination, const ZQSQLStruct* source);
/** Deep copy (zq_copy.h gives the rules); ordinal 1040 */
int32_t ZQCopyFilterActionStruct(ZQFilterActionStruct* destination,
                                 const ZQFilterActionStruct* source);
/** Deep copy (zq_copy.h gives the rules); ordinal 1041 */
int32_t ZQCopyFilterActionList(ZQFilterActionList* destination, const ZQFilterActionList* source);
/** Deep copy (zq_copy.h gives the rules); ordinal 1042 */
int32_t ZQCopyCharMenuItemStruct(ZQCharMenuItemStruct* destination,
                                 const ZQCharMenuItemStruct* source);
/** Deep copy (zq_copy.h gives the rules); ordinal 1043 */
int32_t ZQCopyCharMenuStruct(ZQCharMenuStruct* destination, const ZQCharMenuStruct* source);
/** Deep copy (zq_copy.h gives the rules); ordinal 1050 */
int32_t ZQCopyActiveLinkActionStruct(ZQActiveLinkActionStruct* destination,
                                     const ZQActiveLinkActionStruct* source);
/** Deep copy (zq_copy.h gives the rules); ordinal 1051 */
int32_t ZQCopyActiveLinkActionList(ZQActiveLinkActionList* destination,
                                   const ZQActiveLinkActionList* source);
/** Deep copy (zq_copy.h gives the rules); ordinal 1060 */
int32_t ZQCopyCurrencyPrecisionList(ZQCurrencyPrecisionList* destination,
                                    const ZQCurrencyPrecisionList* source);

#ifdef __cplusplus
}
#endif

#endif /* ZQAPI_ZQ_WORKFLOW_H */
