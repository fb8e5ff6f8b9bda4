/* Text forms of entry data and definitions: status histories and diaries. */
#ifndef ZQAPI_ZQ_TEXT_H
#define ZQAPI_ZQ_TEXT_H

#include "zq_session.h"
#include "zq_types.h"

#ifdef __cplusplus
extern "C" {
#endif

/* ---- status histories and diaries --------------------------------------
 * Records are separated by nothing: each ends with the byte 0x03, and its
 * fields are separated by the byte 0x04. Nothing is escaped, so user names
 * and diary texts should not contain either byte.
 * Encoded text is allocated by the library and released with ZQFree (or
 * free); decoded lists are released with FreeZQStatusHistoryList and
 * FreeZQDiaryList. An empty list encodes to a null text, and a null or empty
 * text decodes to an empty list. */
int ZQEncodeStatusHistory(ZQControlStruct* control, const ZQStatusHistoryList* list, char** text,
                          ZQStatusList* status);
int ZQDecodeStatusHistory(ZQControlStruct* control, const char* text, ZQStatusHistoryList* list,
                          ZQStatusList* status);
int ZQEncodeDiary(ZQControlStruct* control, const ZQDiaryList* list, char** text,
                  ZQStatusList* status);
int ZQDecodeDiary(ZQControlStruct* control, const char* text, ZQDiaryList* list,
                  ZQStatusList* status);

#ifdef __cplusplus
}
#endif

#endif /* ZQAPI_ZQ_TEXT_H */
