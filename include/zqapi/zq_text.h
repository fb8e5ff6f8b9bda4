/** \file
 * Text forms of entry data and definitions: status histories, diaries,
 * qualifications, assignments and single values. */
#ifndef ZQAPI_ZQ_TEXT_H
#define ZQAPI_ZQ_TEXT_H

#include "zq_qual.h"
#include "zq_session.h"
#include "zq_types.h"

#ifdef __cplusplus
extern "C" {
#endif

/** \name Status histories and diaries
 * Records are separated by nothing: each ends with the byte 0x03, and its
 * fields are separated by the byte 0x04. Nothing is escaped, so user names
 * and diary texts should not contain either byte.
 * Encoded text is allocated by the library and released with ZQFree (or
 * free); decoded lists are released with FreeZQStatusHistoryList and
 * FreeZQDiaryList. An empty list encodes to a null text, and a null or empty
 * text decodes to an empty list. */
/**@{*/
/** A status history to its text (*text null for an empty list). */
int ZQEncodeStatusHistory(ZQControlStruct* control, const ZQStatusHistoryList* list, char** text,
                          ZQStatusList* status);
/** A status-history text to a list. */
int ZQDecodeStatusHistory(ZQControlStruct* control, const char* text, ZQStatusHistoryList* list,
                          ZQStatusList* status);
/** A diary to its text (*text null for an empty list). */
int ZQEncodeDiary(ZQControlStruct* control, const ZQDiaryList* list, char** text,
                  ZQStatusList* status);
/** A diary text to a list of diary entries. */
int ZQDecodeDiary(ZQControlStruct* control, const char* text, ZQDiaryList* list,
                  ZQStatusList* status);

/**@}*/

/** \name Qualifications and assignments
 * A compact machine text: every number is decimal followed by a backslash,
 * every string is its byte length, a backslash, the bytes as they are and a
 * backslash. Nothing is escaped; the codes give the structure. An AND of
 * field 7 = 3 and field 8 = "abc" reads `1\4\1\1\7\2\2\3\4\1\1\8\2\4\3\abc\` (one line).
 *
 * The encoders check the tree first (one ERROR entry for the first fault),
 * return the text in *text (release with ZQFree or free) and leave it null
 * for an empty qualification or assignment. The decoders fill the caller's
 * structure (release its contents with FreeZQQualifierStruct or
 * FreeZQAssignStruct and freeStruct 0); on failure it is left empty and the
 * error entry carries a detail of what was wrong where. Text after the end
 * of the structure gives warning 8036 with the offset of the last byte read.
 *
 * The ...C variants take a character set: length fields then count bytes in
 * that character set (an identifier of the library's character-set table);
 * -2, the session's client character set, and other negative values count
 * the bytes as they are in memory. The other calls pass -2. */
#define ZQ_CHARSET_OF_SESSION (-2)

/**@{*/
/** A qualification to its text. */
int ZQEncodeZQQualifierStruct(ZQControlStruct* control, const ZQQualifierStruct* qual, char** text,
                              ZQStatusList* status);
/** A qualification to its text, lengths counted in charset. */
int ZQEncodeZQQualifierStructC(ZQControlStruct* control, int charset, const ZQQualifierStruct* qual,
                               char** text, ZQStatusList* status);
/** A qualification text to the tree. */
int ZQDecodeZQQualifierStruct(ZQControlStruct* control, const char* text, ZQQualifierStruct* qual,
                              ZQStatusList* status);
/** A qualification text to the tree, lengths counted in charset. */
int ZQDecodeZQQualifierStructC(ZQControlStruct* control, int charset, const char* text,
                               ZQQualifierStruct* qual, ZQStatusList* status);
/** An assignment to its text. */
int ZQEncodeZQAssignStruct(ZQControlStruct* control, const ZQAssignStruct* assign, char** text,
                           ZQStatusList* status);
/** An assignment to its text, lengths counted in charset. */
int ZQEncodeZQAssignStructC(ZQControlStruct* control, int charset, const ZQAssignStruct* assign,
                            char** text, ZQStatusList* status);
/** An assignment text to the tree. */
int ZQDecodeZQAssignStruct(ZQControlStruct* control, const char* text, ZQAssignStruct* assign,
                           ZQStatusList* status);
/** An assignment text to the tree, lengths counted in charset. */
int ZQDecodeZQAssignStructC(ZQControlStruct* control, int charset, const char* text,
                            ZQAssignStruct* assign, ZQStatusList* status);

/**@}*/

/** \name Single values (also ordinals 847 and 848)
 * ZQEncodeValueText writes one value in the same text form at
 * buffer[*position], never at or past buffer[limit], terminates it and
 * advances *position. Returns 0; -3 when it does not fit (nothing changes);
 * 233 for a null argument, 110 for a data type above 43, 300 out of memory.
 * ZQDecodeValueText reads one value at *cursor into value and advances
 * *cursor past it. Returns 0 or the error number (402 malformed, 110 bad
 * data type, 233 null argument, 300 out of memory); on failure the value is
 * NULL and the cursor unchanged. Lengths count bytes as they are. */
/**@{*/
/** One value to its text at buffer[*position]. */
int ZQEncodeValueText(const ZQValueStruct* value, uint32_t* position, uint32_t limit, char* buffer);
/** One value from its text at *cursor. */
int ZQDecodeValueText(const char** cursor, ZQValueStruct* value);
/**@}*/

/** \name The qualification language (also ordinal 849)
 * ZQLoadZQQualifierStruct reads a qualification typed by a person, such as
 * `'Status' = "Open" AND 'Priority' > 2`, against the live definition of
 * form on the control record's server: fields by name (or by their label in
 * the view named viewLabel, else in the form's first view), by digit-only
 * id, currency parts as 'Field.VALUE', 'Field.TYPE', 'Field.DATE' or a
 * currency code, the status history as 'Status History.Fixed.TIME', and
 * keywords between dollar signs ($USER$, $TIMESTAMP$). Text compared with
 * enumeration, time-stamp, date and time-of-day fields becomes a value of
 * the field's type. On failure the output is empty, the call returns 2 and
 * the error entry says where reading stopped.
 *
 * ZQExpandKeywords turns one text into a value: exactly one keyword gives
 * a value of type keyword ($NULL$ or $--1$: a NULL value); otherwise each
 * keyword is replaced by its current value and the text is a char value
 * (release it with FreeZQValueStruct). form and viewLabel may be null; they
 * are what $SCHEMA$ and $VUI$ give. */
/**@{*/
/** A typed qualification to its structure (release it with FreeZQQualifierStruct). */
int ZQLoadZQQualifierStruct(ZQControlStruct* control, const char* form, const char* viewLabel,
                            const char* text, ZQQualifierStruct* qual, ZQStatusList* status);
/** The keywords of one text to their values. */
int ZQExpandKeywords(ZQControlStruct* control, const char* form, const char* viewLabel,
                     const char* text, ZQValueStruct* value, ZQStatusList* status);
/**@}*/

#ifdef __cplusplus
}
#endif

#endif /* ZQAPI_ZQ_TEXT_H */
