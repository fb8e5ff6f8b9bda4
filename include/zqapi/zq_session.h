/** \file
 * Control record, thread context, status lists, message texts, session
 * variables, initialization and termination. */
#ifndef ZQAPI_ZQ_SESSION_H
#define ZQAPI_ZQ_SESSION_H

#include "zq_types.h"

#ifdef __cplusplus
extern "C" {
#endif

/* Opaque per-control-record state; created by ZQInitialization. */
typedef struct ZQThreadContext ZQThreadContext;

/* The caller's control record. Field order and widths are part of the ABI. */
typedef struct ZQControlStruct {
  int32_t cacheId;       /* server session; maintained by the library */
  int32_t operationTime; /* set each time the record is bound */
  char user[255];
  char password[31];
  char locale[65];  /* empty: the system language */
  char charSet[16]; /* empty: derived from the locale */
  char localeExtra1[65];
  char localeExtra2[33];
  char localeExtra3[33];
  char localeExtra4[18];
  ZQThreadContext* context; /* opaque; written by ZQInitialization */
  char authString[2048];
  char server[65];
} ZQControlStruct;

/* ---- allocation: memory handed to callers comes from here ------------- */
/**@{*/
/** The library's heap (the C library's malloc family): memory the library
 * hands over is released with ZQFree, and memory a caller hands to the
 * library for it to own comes from ZQAlloc. */
void* ZQAlloc(size_t size);
void* ZQRealloc(void* ptr, size_t size);
void ZQFree(void* ptr);
void* ZQCalloc(size_t count, size_t size);
/**@}*/

/* ---- status lists ------------------------------------------------------ */
/** Adds a message (type 0 note, 1 warning, 2 error; its text from the
 * catalog; appended may be null) and keeps the list ordered by type, the
 * newest first within a type. Returns the list's return code afterwards
 * (the type of its first entry), 2 for a null list, 3 out of memory. */
int ZQAddStatus(ZQStatusList* status, uint32_t messageType, int32_t messageNumber,
                const char* appended);
/** ZQAddStatus with the number, written as unsigned decimal, as the
 * appended text. */
int ZQAddStatusNumber(ZQStatusList* status, uint32_t messageType, int32_t messageNumber,
                      uint32_t number);
/** Merges two lists into result (which may be either of them) in type
 * order, the entries of first before those of second within a type, and
 * returns result. */
ZQStatusList* ZQMergeStatusLists(ZQStatusList* first, ZQStatusList* second,
                                 ZQStatusList* result);
/** Releases the entries of a status list and leaves it empty; with
 * freeStruct the list's own block too. */
void FreeZQStatusList(ZQStatusList* status, ZQBoolean freeStruct);

/* ---- message catalog and texts ----------------------------------------- */
/** Size of the buffer of ZQGetMessageText. */
#define ZQ_MESSAGE_TEXT_SIZE 256
/** The catalog text of a message into buffer (ZQ_MESSAGE_TEXT_SIZE bytes);
 * a text of its own when the catalog or the message is missing. */
void ZQGetMessageText(int32_t messageNumber, char* buffer /* 256 bytes */);
/** Text (set, number) of the catalog in a buffer of the calling thread's
 * context (at most 255 characters), or null when there is no context or
 * the text is empty. */
char* ZQGetCatalogString(int set, int number);
/** The system error text of errno, " : " and text, in a buffer of the
 * current context (at most 255 characters); text itself without a context. */
char* ZQGetErrnoText(const char* text);
/** A version text as shown to people: "7.5.00 Patch 004" becomes
 * " 7.05.00 patch 004", in a buffer of the current context; text itself
 * when it is not a version text or there is no context. */
char* ZQFormatVersionString(char* text);
/** (Re)opens the message catalog for the whole process and returns its
 * handle, -1 when it cannot be found. Call it before threads use the
 * library; without it each message opens the catalog for itself. */
int ZQOpenMessageCatalog(void);
/** The system's text of an error number into buffer; 0, or 34 when the text
 * was cut to length - 1 characters. */
int ZQGetSystemErrorText(int errorNumber, char* buffer, size_t length);
/** 1 for the message numbers 50 to 89 and 8031 to 8200, which the server
 * does not use for its own messages; 0 otherwise. */
ZQBoolean ZQIsReservedRangeMessage(int32_t messageNumber);
/** Process-wide catalog handle; -1 while not open. */
extern int ZQMessageCatalogHandle;
/** A new 256-byte buffer (release with ZQFree), or null. */
char* ZQGetTextForErrorMessage(int32_t messageNumber);

/** Address of a function or datum exported by ordinal, or null. */
void* ZQGetOrdinal(unsigned ordinal);

/* ---- thread context and checks ---------------------------------------- */
/** The control record's context made the calling thread's current one; a
 * null control record gives the current context. Null (and error 161 when
 * status is given) for a record without a valid context. */
ZQThreadContext* ZQGetThreadContext(ZQControlStruct* control, ZQStatusList* status);
/** Checks a control record as every call does: its context (3), a user
 * (149), the lengths of user, password and authentication string (103), a
 * server (150) and the character set (8853). 0, or the list's return code
 * after the failure message. */
int ZQCheckControl(ZQControlStruct* control, ZQStatusList* status);
/** A name of at most 254 characters as the server counts them: 103 when
 * longer, 102 when null or empty unless emptyAllowed; 0 when good. */
int ZQCheckName(const char* name, ZQBoolean emptyAllowed, ZQStatusList* status);
/** ZQCheckControl, then ZQCheckName when the first passed. */
int ZQCheckControlAndName(ZQControlStruct* control, const char* name, ZQBoolean emptyAllowed,
                          ZQStatusList* status);
/** ZQCheckControl, then a required name (102 empty, 103 too long) and an
 * optional one (103 too long). */
int ZQCheckControlAndNames(ZQControlStruct* control, const char* requiredName,
                           const char* optionalName, ZQStatusList* status);
/** The byte length of text in the server's character set (0 for null or
 * without a current context). */
size_t ZQServerTextLength(const char* text);

/* ---- caller sources ----------------------------------------------------- */
typedef void (*ZQUserNameSource)(char* user /* ZQControlStruct.user */);
typedef void (*ZQAuthStringSource)(char* authString /* ZQControlStruct.authString */);
/* Called with 1 and the address of a text pointer; returns 0 on success. */
typedef int (*ZQNativeAuthenticationSource)(int request, char** text);

/**@{*/
/** Installs a function that fills the control record's user name, its
 * authentication string, or a native authentication text before the record
 * is bound (null removes it). 0, or 3 without a context. */
int ZQSetUserNameSource(ZQControlStruct* control, ZQUserNameSource source,
                        ZQStatusList* status);
int ZQSetAuthStringSource(ZQControlStruct* control, ZQAuthStringSource source,
                          ZQStatusList* status);
int ZQSetNativeAuthenticationSource(ZQControlStruct* control,
                                    ZQNativeAuthenticationSource source, ZQStatusList* status);
/**@}*/

/* ---- session variables -------------------------------------------------- */
#define ZQ_SESSVAR_RESPONSE_SIZE 1
#define ZQ_SESSVAR_TIMEOUT_NORMAL 2
#define ZQ_SESSVAR_TIMEOUT_LONG 3
#define ZQ_SESSVAR_TIMEOUT_XLONG 4
#define ZQ_SESSVAR_RPC_PROGRAM 5
#define ZQ_SESSVAR_CACHE_ID_MANAGED 6
#define ZQ_SESSVAR_CLIENT_TYPE 7
#define ZQ_SESSVAR_CLIENT_OPTION 8
#define ZQ_SESSVAR_HEADER_FLAG 9
#define ZQ_SESSVAR_RECORDING_COMMAND_FILE 10
#define ZQ_SESSVAR_RECORDING_RESULT_FILE 11
#define ZQ_SESSVAR_SETTINGS_FLAG 1955
#define ZQ_SESSVAR_LAST_MATCH_COUNT 1956
#define ZQ_SESSVAR_EMPTY_TEXT 1957
#define ZQ_SESSVAR_PROGRAM_GIVEN 1958
#define ZQ_SESSVAR_CALLER_WORD 1959
#define ZQ_SESSVAR_CLIENT_IDENTITY 1960
/* The most one server reply, or one result gathered over chunks or
 * inflated from a compressed list or attachment, may take: bytes as an
 * unsigned long (ZQ_DATA_TYPE_ULONG), at least 65536; default 268435456
 * (256 MiB). A reply or result beyond it fails with 91 or 9009 instead of
 * exhausting memory. */
#define ZQ_SESSVAR_MAX_RESULT_SIZE 1961

/** Sets a session variable of the control record (ZQ_SESSVAR_...); the
 * value must have the variable's data type (integer, character or unsigned).
 * 2 without a message for an unknown variable or a wrong type. */
int ZQSetSessionVariable(ZQControlStruct* control, uint32_t variableId,
                         const ZQValueStruct* value, ZQStatusList* status);
/** Reads a session variable into value; a character value is a new copy
 * (release with FreeZQValueStruct). 2 for an unknown variable. */
int ZQGetSessionVariable(ZQControlStruct* control, uint32_t variableId, ZQValueStruct* value,
                         ZQStatusList* status);

/* ---- initialization and termination ----------------------------------- */
/** Gives a filled control record its context: reads the environment
 * settings (ZQAPILOGGING, ZQRPC_RESPONSE_SIZE, ZQTCPPORT, ...), loads the
 * encryption provider and opens the recording when asked. Call once per
 * control record before any other call; end with ZQTermination. */
int ZQInitialization(ZQControlStruct* control, ZQStatusList* status);
/** ZQInitialization with the names of the recording's command and result
 * files (null: the default names) when logging is on; tracePrint 0 leaves
 * the initialization entry out of the trace log. A control record that had a
 * context keeps its client identity. */
int ZQInitializationWithLogs(ZQControlStruct* control, const char* commandFile,
                             const char* resultFile, ZQBoolean tracePrint,
                             ZQStatusList* status);
/** Ends the server sessions the control record opened, releases its
 * context and every cache, and clears control->context. */
int ZQTermination(ZQControlStruct* control, ZQStatusList* status);

/* The library's version text. */
#define ZQ_LIBRARY_VERSION "7.5.00 Patch 007 201009161400"

#ifdef __cplusplus
}
#endif

#endif /* ZQAPI_ZQ_SESSION_H */
