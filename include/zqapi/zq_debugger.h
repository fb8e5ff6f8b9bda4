/** \file
 * Records of the workflow debugger calls.
 *
 * The numbers these records carry (stages, counts, words) mean what the
 * server's workflow engine says they mean; the library passes them
 * unchanged. The records travel in protocol version 14 only. */
#ifndef ZQAPI_ZQ_DEBUGGER_H
#define ZQAPI_ZQ_DEBUGGER_H

#include "zq_qual.h"
#include "zq_types.h"

#ifdef __cplusplus
extern "C" {
#endif

/* ---- where the workflow engine stopped -------------------------------- */
typedef struct ZQWfdCurrentLocation {
  uint32_t apiCall;        /* the call under debug */
  uint32_t stage;          /* the stage of workflow it is in */
  char* formName;          /* form the workflow runs on */
  char* workflowName;      /* filter or escalation being run */
  char* guideName;         /* guide being run, when there is one */
  char* detail;            /* the server's description of the step */
  uint32_t executionOrder; /* execution order of the workflow */
  uint32_t actionIndex;    /* action being run */
  ZQBoolean elseActions;   /* in the else actions */
  ZQEntryIdList entryIds;  /* the entry being worked on */
} ZQWfdCurrentLocation;

/* ---- one step of workflow ---------------------------------------------- */
#define ZQ_WFD_STEP_NONE 0
#define ZQ_WFD_STEP_ACTION 1
#define ZQ_WFD_STEP_QUALIFIER 2

/* The step the engine is at; at a qualifier step it carries the
 * qualification under evaluation. Other types are the server's and carry
 * nothing beyond their numbers. */
typedef struct ZQWfdStepStruct {
  uint32_t type; /* ZQ_WFD_STEP_... */
  uint32_t actionIndex;
  ZQBoolean elseActions;
  ZQQualifierStruct qualifier; /* ZQ_WFD_STEP_QUALIFIER only */
} ZQWfdStepStruct;

/* ---- breakpoints --------------------------------------------------------- */

/* Bit of a breakpoint's flags: the name is held in name.buffer; otherwise
 * name.text is a string of its own (or null). */
#define ZQ_WFD_BREAKPOINT_NAME_INLINE 0x1u

typedef struct ZQWfdBreakpoint {
  uint32_t id;
  ZQBoolean disabled;
  uint32_t passCount;           /* hits before the breakpoint stops */
  ZQQualifierStruct* qualifier; /* condition; null: none */
  uint32_t words[4];            /* where it stops: the server's words */
  ZQBoolean flag;               /* the server's flag, carried unchanged */
  uint32_t flags;               /* ZQ_WFD_BREAKPOINT_... */
  union {
    char* text;
    ZQNameType buffer;
  } name; /* the workflow object the breakpoint is set on */
} ZQWfdBreakpoint;

typedef struct ZQWfdBreakpointList {
  uint32_t count;
  ZQWfdBreakpoint* items;
} ZQWfdBreakpointList;

/* ---- the user the call under debug runs for -------------------------- */
typedef struct ZQWfdUserContext {
  ZQAccessNameType userName;
  uint32_t licenseType;
  uint32_t currentLicenseType;
  uint32_t notifyMechanism;
  ZQInternalIdList groupIds;
  ZQInternalIdList roleIds;
} ZQWfdUserContext;

typedef struct ZQWfdUserContextList {
  uint32_t count;
  ZQWfdUserContext* items;
} ZQWfdUserContextList;

/* ---- releasing ------------------------------------------------------------ */
/**@{*/
/** Kept structures are zero-filled; lists keep count 0 and null items. */
void FreeZQWfdCurrentLocation(ZQWfdCurrentLocation* value, ZQBoolean freeStruct);
void FreeZQWfdStepStruct(ZQWfdStepStruct* value, ZQBoolean freeStruct);
void FreeZQWfdBreakpoint(ZQWfdBreakpoint* value, ZQBoolean freeStruct);
void FreeZQWfdBreakpointList(ZQWfdBreakpointList* value, ZQBoolean freeStruct);
void FreeZQWfdUserContext(ZQWfdUserContext* value, ZQBoolean freeStruct);
void FreeZQWfdUserContextList(ZQWfdUserContextList* value, ZQBoolean freeStruct);
/**@}*/

/* ---- deep copies (zq_copy.h gives the common rules), also exported by the
 * ordinal given beside each ------------------------------------------------- */

/** ordinal 1011: the qualification is copied at a qualifier step only */
int32_t ZQCopyWfdStepStruct(ZQWfdStepStruct* destination, const ZQWfdStepStruct* source);
/** ordinal 1014: a new condition node; the name duplicated or copied as its
 * flags say */
int32_t ZQCopyWfdBreakpoint(ZQWfdBreakpoint* destination, const ZQWfdBreakpoint* source);
/** ordinal 1063 */
int32_t ZQCopyWfdUserContextList(ZQWfdUserContextList* destination,
                                 const ZQWfdUserContextList* source);
/** ordinal 1064 */
int32_t ZQCopyWfdUserContext(ZQWfdUserContext* destination, const ZQWfdUserContext* source);

/* ---- the debugger calls --------------------------------------------------- */
/* Each runs one procedure on the admin queue with a time-out of 86400 s
 * (93 when it expires). The unsigned words mean what the server says they
 * mean (zqserverd's meanings are in its --help and README); the library
 * passes them unchanged. Output pointers are required: a null one gives 155.
 * A server other than version 14 answers none of them. */

/** Runs the call under debug on as mode asks (continue, step, wait: the
 * server's words); the three words of the reply go to result1..3. */
int ZQWfdExecute(ZQControlStruct* control, uint32_t mode, uint32_t* result1, uint32_t* result2,
                 uint32_t* result3, ZQStatusList* status);
/** Where the workflow engine stopped; the entry id list is the caller's
 * copy. Release with FreeZQWfdCurrentLocation. */
int ZQWfdGetCurrentLocation(ZQControlStruct* control, uint32_t value,
                            ZQWfdCurrentLocation* location, ZQStatusList* status);
/** The field values of the entry under debug as the workflow sees them and
 * as the database holds them. Release both with FreeZQFieldValueList. */
int ZQWfdGetFieldValues(ZQControlStruct* control, uint32_t value, ZQFieldValueList* entryValues,
                        ZQFieldValueList* databaseValues, ZQStatusList* status);
/** Changes the field values of the entry under debug, in the order of
 * ZQWfdGetFieldValues; a null list is sent empty. */
int ZQWfdSetFieldValues(ZQControlStruct* control, ZQFieldValueList* entryValues,
                        ZQFieldValueList* databaseValues, ZQStatusList* status);
/** The debug mode of this session. */
int ZQWfdGetDebugMode(ZQControlStruct* control, uint32_t* mode, ZQStatusList* status);
/** Switches the debug mode of this session. */
int ZQWfdSetDebugMode(ZQControlStruct* control, uint32_t mode, ZQStatusList* status);
/** The qualification of the workflow at the current location. Release with
 * FreeZQQualifierStruct (freeStruct false). */
int ZQWfdGetFilterQual(ZQControlStruct* control, ZQQualifierStruct* qualifier,
                       ZQStatusList* status);
/** Forces the result of the qualification at the current location. */
int ZQWfdSetQualifierResult(ZQControlStruct* control, uint32_t result, ZQStatusList* status);
/** Ends the call under debug. */
int ZQWfdTerminateAPI(ZQControlStruct* control, uint32_t value, ZQStatusList* status);
/** The value of a keyword as the call under debug sees it (a deep copy:
 * release with FreeZQValueStruct, freeStruct false). */
int ZQWfdGetKeywordValue(ZQControlStruct* control, uint32_t keyword, ZQValueStruct* value,
                         ZQStatusList* status);
/** The user the call under debug runs for; its id lists are the caller's
 * copies (release with FreeZQWfdUserContext, freeStruct false). */
int ZQWfdGetUserContext(ZQControlStruct* control, uint32_t value, ZQWfdUserContext* context,
                        ZQStatusList* status);
/** Sets a breakpoint. Its condition travels inline; a null one travels as
 * the empty qualification. A null breakpoint gives 233. */
int ZQWfdSetBreakpoint(ZQControlStruct* control, ZQWfdBreakpoint* breakpoint,
                       ZQStatusList* status);
/** Clears the breakpoint of that id. */
int ZQWfdClearBreakpoint(ZQControlStruct* control, uint32_t id, ZQStatusList* status);
/** Every breakpoint of this session: none gives count 0 and null items;
 * each breakpoint holds a condition node of its own (the empty
 * qualification for one set without). Release with
 * FreeZQWfdBreakpointList. */
int ZQWfdListBreakpoints(ZQControlStruct* control, ZQWfdBreakpointList* list,
                         ZQStatusList* status);
/** Clears every breakpoint of this session. */
int ZQWfdClearAllBreakpoints(ZQControlStruct* control, ZQStatusList* status);
/** Runs escalations now; value says which (the server's word). */
int ZQRunEscalation(ZQControlStruct* control, uint32_t value, ZQStatusList* status);

#ifdef __cplusplus
}
#endif

#endif /* ZQAPI_ZQ_DEBUGGER_H */
