/** \file
 * Alerts: register a listener, create alert events, list the users registered
 * for alerts, count alerts, and decode the message a listener received. */
#ifndef ZQAPI_ZQ_ALERTS_H
#define ZQAPI_ZQ_ALERTS_H

#include "zq_qual.h"
#include "zq_session.h"
#include "zq_types.h"

#ifdef __cplusplus
extern "C" {
#endif

/* The form the server keeps its alert entries in, and its fields. */
#define ZQ_ALERT_FORM "Alert Events"
#define ZQ_ALERT_FIELD_USER 2
#define ZQ_ALERT_FIELD_SOURCE_TAG 4
#define ZQ_ALERT_FIELD_FORM 701
#define ZQ_ALERT_FIELD_OBJECT_ID 702
#define ZQ_ALERT_FIELD_SERVER 703
#define ZQ_ALERT_FIELD_TEXT 704
#define ZQ_ALERT_FIELD_PRIORITY 705

/** Registers this machine's listener on clientPort for the user of the
 * control record. The language sent with it comes from the configuration
 * file's "sLanguage" value (English names: none; Japanese names get ";SJIS"). */
int ZQRegisterForAlerts(ZQControlStruct* control, uint32_t clientPort, uint32_t flags,
                        ZQStatusList* status);
/** Removes the registration of this machine's listener on clientPort. */
int ZQDeregisterForAlerts(ZQControlStruct* control, uint32_t clientPort, ZQStatusList* status);

/** Creates an alert for user. The text is required (162 without it); the
 * last four texts may be null. entryId (may be null) receives the alert
 * entry's id. */
int ZQCreateAlertEvent(ZQControlStruct* control, const char* user, const char* alertText,
                       int32_t priority, const char* sourceTag, const char* serverName,
                       const char* formName, const char* objectId, ZQEntryIdType entryId,
                       ZQStatusList* status);

/** The users registered for alerts; release with FreeZQAccessNameList. */
int ZQGetListAlertUser(ZQControlStruct* control, ZQAccessNameList* users, ZQStatusList* status);

/** The number of alert entries matching qualifier (null: all). */
int ZQGetAlertCount(ZQControlStruct* control, ZQQualifierStruct* qualifier, uint32_t* count,
                    ZQStatusList* status);

/** Decodes an alert message of length bytes, plain or in its compressed
 * envelope. Every output may be null; strings are allocated for the caller
 * (release with ZQFree). A malformed message gives 3317 and leaves every
 * string output null. */
int ZQDecodeAlertMessage(ZQControlStruct* control, const unsigned char* message, uint32_t length,
                         ZQTimestamp* timestamp, uint32_t* sourceType, uint32_t* priority,
                         char** alertText, char** sourceTag, char** serverName,
                         char** serverAddress, char** formName, char** objectId,
                         ZQStatusList* status);

#ifdef __cplusplus
}
#endif

#endif /* ZQAPI_ZQ_ALERTS_H */
