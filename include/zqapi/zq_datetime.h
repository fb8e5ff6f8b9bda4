/** \file
 * Dates and times: day numbers, date arithmetic, names, formatting and
 * reading of date and time texts. None of these contacts the server.
 *
 * A day number counts days from 1 January 4713 BC (day 0) of the Julian
 * calendar; date values use 0 to 5373120 (1 January 9999). Dates up to
 * 4 October 1582 are Julian, from 15 October 1582 on Gregorian; the days in
 * between do not exist. Years are astronomical: 0 is 1 BC, -1 is 2 BC.
 *
 * Settings, read once per process at first use: ZQDATE (date-and-time text,
 * strftime notation), ZQDATEONLY (date picture: d dd ddd dddd M MM MMM MMMM
 * y yy yyyy, 'quoted text'), ZQTIMEONLY (time picture: h hh H HH m mm s ss
 * t tt), the config-file values sShortDate and sTimeFormat, and the locale
 * of the environment (LC_ALL, LC_TIME, LANG). */
#ifndef ZQAPI_ZQ_DATETIME_H
#define ZQAPI_ZQ_DATETIME_H

#include <stddef.h>
#include <stdint.h>
#include <time.h>

#include "zq_session.h"
#include "zq_types.h"

#ifdef __cplusplus
extern "C" {
#endif

typedef struct ZQDateStruct {
  int32_t year;  /* astronomical: 0 is 1 BC */
  int32_t month; /* 1..12 */
  int32_t day;   /* 1..31 */
} ZQDateStruct;

#define ZQ_MIN_DAY_NUMBER 0
#define ZQ_MAX_DAY_NUMBER 5373120

/* Units of ZQDateAdd and ZQDateDifference (the latter: days and weeks). */
#define ZQ_DATE_UNIT_YEARS 1
#define ZQ_DATE_UNIT_MONTHS 2
#define ZQ_DATE_UNIT_DAYS 3
#define ZQ_DATE_UNIT_WEEKS 4

/* Kinds of ZQGetDateName. */
#define ZQ_DATE_NAME_MONTH 2
#define ZQ_DATE_NAME_WEEKDAY 5

/* Parts of ZQGetDatePart. */
#define ZQ_DATE_PART_YEAR 1
#define ZQ_DATE_PART_MONTH 2
#define ZQ_DATE_PART_DAY 3
#define ZQ_DATE_PART_WEEK 4    /* ISO 8601 week number */
#define ZQ_DATE_PART_WEEKDAY 5 /* 1 Sunday .. 7 Saturday */

/* Pivot of ZQParseDate: two-digit years fall in the current year - 70 ..
 * the current year + 29. */
#define ZQ_DATE_PIVOT_DEFAULT (-1)

/* Size of the buffer ZQFormatDate fills, terminator included. */
#define ZQ_DATE_TEXT_SIZE 31

/* Results of the calls returning a message number: 0, or one of these. */
#define ZQ_DATE_ERROR_NO_OUTPUT 105 /* a required output pointer is null */
#define ZQ_DATE_ERROR_NO_MEMORY 300 /* the settings could not be loaded */
#define ZQ_DATE_ERROR_BAD_CODE 8956 /* unknown unit, part or kind */
#define ZQ_DATE_ERROR_RANGE 8957    /* beyond the range of day numbers */
#define ZQ_DATE_ERROR_BAD_TEXT 8958 /* the text is not a date */

/** Calendar date to day number, without validation. The control record is
 * not used and may be null. Returns 0; 2 with 105 for a null date or output,
 * 8957 when the result does not fit; 4 without a status list. */
int ZQDateToJulianDate(ZQControlStruct* control, const ZQDateStruct* date, int32_t* julianDate,
                       ZQStatusList* status);
/** Day number to calendar date. Returns 0; 2 with 105 for a null output;
 * 4 without a status list. */
int ZQJulianDateToDate(ZQControlStruct* control, int32_t julianDate, ZQDateStruct* date,
                       ZQStatusList* status);

/**@{*/
/** Texts of a broken-down time, always terminated. Each returns the length
 * written; 0 and an empty text when the time is null or out of range or the
 * text does not fit. Date: ZQDATEONLY, else the user's short date. Date and
 * time: ZQDATE (strftime), else the date, a blank and the time. Time:
 * ZQTIMEONLY, else sTimeFormat, else the locale's. (ordinals 809, 810, 811) */
int ZQFormatTimestampDate(char* buffer, size_t size, const struct tm* time);
int ZQFormatTimestamp(char* buffer, size_t size, const struct tm* time);
int ZQFormatTimestampTime(char* buffer, size_t size, const struct tm* time);
/**@}*/

/** Reads a point in time in any accepted form (a text of digits is seconds
 * since 1970). When nothing matches: with timeOnly, a time of today; else an
 * interval "h[:m[:s]]" in seconds, and *isInterval is set. Returns 1 on
 * success; 0 with *value 0 otherwise. isInterval may be null. (ordinal 812) */
ZQBoolean ZQParseTimestamp(const char* text, ZQBoolean timeOnly, ZQTimestamp* value,
                           ZQBoolean* isInterval);

/** to - from in days, or in Sunday-to-Saturday weeks crossed. Returns 0,
 * 8956 for another unit, 105 for a null result. (ordinal 830) */
int ZQDateDifference(int unit, int32_t from, int32_t to, int32_t* result);
/** dayNumber + amount units, limited to 0..5373120; a month step keeps the
 * day within the target month. Returns 0, 8956, or 105. (ordinal 831) */
int ZQDateAdd(int unit, int32_t amount, int32_t dayNumber, int32_t* result);
/** 1 when the date exists and lies in 1 January 4713 BC .. 1 January 9999.
 * (ordinal 832) */
ZQBoolean ZQIsValidDate(const ZQDateStruct* date);
/** Month or weekday name of a day number from the message catalog, cut to
 * the buffer. Returns 0, 8956, 105 for a null or empty buffer.
 * (ordinal 833) */
int ZQGetDateName(int kind, int32_t dayNumber, char* name, size_t size);
/** Year, month, day, ISO week or weekday of a day number. Returns 0, 8956,
 * or 105. (ordinal 834) */
int ZQGetDatePart(int part, int32_t dayNumber, int32_t* result);

/** Reads a date typed by a user (any accepted form, "BC" after it for a year
 * before Christ, or a bare day number). *end, when end is not null, points
 * past what was read. Returns 0, 8958 (with *dayNumber 0 and *end text),
 * 105 for a null day number, 300. (ordinal 837) */
int ZQParseDate(int pivotYear, const char* text, const char** end, int32_t* dayNumber);
/** Reads a time of day into seconds since midnight. Returns 1 on success; 0
 * with *seconds 0 otherwise. (ordinal 838) */
ZQBoolean ZQParseTimeOfDay(const char* text, int32_t* seconds);
/** A day number as date text: ZQDATEONLY, else sShortDate, else the locale's
 * date format; years before 1 AD end in " BC". The buffer holds
 * ZQ_DATE_TEXT_SIZE bytes; longer texts are cut. Returns the length, 0 with
 * an empty text on failure. (ordinal 839) */
int ZQFormatDate(int32_t dayNumber, char* buffer);

#ifdef __cplusplus
}
#endif

#endif /* ZQAPI_ZQ_DATETIME_H */
