/* Control record, thread context, status lists, message texts, session
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
void* ZQAlloc(size_t size);
void* ZQRealloc(void* ptr, size_t size);
void ZQFree(void* ptr);
void* ZQCalloc(size_t count, size_t size);

/* ---- status lists ------------------------------------------------------ */
int ZQAddStatus(ZQStatusList* status, uint32_t messageType, int32_t messageNumber,
                const char* appended);
int ZQAddStatusNumber(ZQStatusList* status, uint32_t messageType, int32_t messageNumber,
                      uint32_t number);
ZQStatusList* ZQMergeStatusLists(ZQStatusList* first, ZQStatusList* second,
                                 ZQStatusList* result);
void FreeZQStatusList(ZQStatusList* status, ZQBoolean freeStruct);

/* ---- message catalog and texts ----------------------------------------- */
#define ZQ_MESSAGE_TEXT_SIZE 256
void ZQGetMessageText(int32_t messageNumber, char* buffer /* 256 bytes */);
char* ZQGetCatalogString(int set, int number);
char* ZQGetErrnoText(const char* text);
char* ZQFormatVersionString(char* text);
int ZQOpenMessageCatalog(void);
int ZQGetSystemErrorText(int errorNumber, char* buffer, size_t length);
ZQBoolean ZQIsReservedRangeMessage(int32_t messageNumber);
/* Process-wide catalog handle; -1 while not open. */
extern int ZQMessageCatalogHandle;
/* A new 256-byte buffer (release with ZQFree), or null. */
char* ZQGetTextForErrorMessage(int32_t messageNumber);

/* Address of a function or datum exported by ordinal, or null. */
void* ZQGetOrdinal(unsigned ordinal);

/* ---- thread context and checks ---------------------------------------- */
ZQThreadContext* ZQGetThreadContext(ZQControlStruct* control, ZQStatusList* status);
int ZQCheckControl(ZQControlStruct* control, ZQStatusList* status);
int ZQCheckName(const char* name, ZQBoolean emptyAllowed, ZQStatusList* status);
int ZQCheckControlAndName(ZQControlStruct* control, const char* name, ZQBoolean emptyAllowed,
                          ZQStatusList* status);
int ZQCheckControlAndNames(ZQControlStruct* control, const char* requiredName,
                           const char* optionalName, ZQStatusList* status);
size_t ZQServerTextLength(const char* text);

/* ---- caller sources ----------------------------------------------------- */
typedef void (*ZQUserNameSource)(char* user /* ZQControlStruct.user */);
typedef void (*ZQAuthStringSource)(char* authString /* ZQControlStruct.authString */);
/* Called with 1 and the address of a text pointer; returns 0 on success. */
typedef int (*ZQNativeAuthenticationSource)(int request, char** text);

int ZQSetUserNameSource(ZQControlStruct* control, ZQUserNameSource source,
                        ZQStatusList* status);
int ZQSetAuthStringSource(ZQControlStruct* control, ZQAuthStringSource source,
                          ZQStatusList* status);
int ZQSetNativeAuthenticationSource(ZQControlStruct* control,
                                    ZQNativeAuthenticationSource source, ZQStatusList* status);

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

int ZQSetSessionVariable(ZQControlStruct* control, uint32_t variableId,
                         const ZQValueStruct* value, ZQStatusList* status);
int ZQGetSessionVariable(ZQControlStruct* control, uint32_t variableId, ZQValueStruct* value,
                         ZQStatusList* status);

/* ---- initialization and termination ----------------------------------- */
int ZQInitialization(ZQControlStruct* control, ZQStatusList* status);
int ZQInitializationWithLogs(ZQControlStruct* control, const char* commandFile,
                             const char* resultFile, ZQBoolean tracePrint,
                             ZQStatusList* status);
int ZQTermination(ZQControlStruct* control, ZQStatusList* status);

/* The library's version text. */
#define ZQ_LIBRARY_VERSION "7.5.00 Patch 007 201009161400"

#ifdef __cplusplus
}
#endif

#endif /* ZQAPI_ZQ_SESSION_H */
