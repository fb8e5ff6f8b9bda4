// The date and time services as the exported calls offer them: each takes
// and returns what its export does and throws nothing (a failure to load
// the settings is reported in the export's own way).
#pragma once

#include <cstddef>
#include <cstdint>
#include <ctime>
#include <string>

#include "zqapi/zq_datetime.h"

namespace zq::text::dates {

// Day number of a calendar date, and back; 0, or the date error number
// added to status.
int toDayNumber(const ZQDateStruct* date, int32_t* julianDate, ZQStatusList* status);
int toCalendarDate(int32_t julianDate, ZQDateStruct* date, ZQStatusList* status);

// Ordinals 809, 810, 811: the length of the text, 0 for nothing.
int formatTimestampDate(char* buffer, size_t size, const struct tm* time);
int formatTimestamp(char* buffer, size_t size, const struct tm* time);
int formatTimestampTime(char* buffer, size_t size, const struct tm* time);
// A time in the local zone through one of the three above.
std::string localTimeText(int (*format)(char*, size_t, const struct tm*), time_t when);
// Ordinal 812.
bool parseTimestampText(const char* text, bool timeOnly, ZQTimestamp* value, ZQBoolean* isInterval);
// Ordinals 830 to 834: 0 or a date error number.
int dateDifference(int unit, int32_t from, int32_t to, int32_t* result);
int dateAdd(int unit, int32_t amount, int32_t dayNumber, int32_t* result);
bool isValidDate(const ZQDateStruct* date);
int dateName(int kind, int32_t dayNumber, char* name, size_t size);
int datePart(int part, int32_t dayNumber, int32_t* result);
// Ordinals 837, 838, 839.
int parseDateText(int pivotYear, const char* text, const char** end, int32_t* dayNumber);
bool parseTimeOfDayText(const char* text, int32_t* seconds);
int formatDate(int32_t dayNumber, char* buffer);

}  // namespace zq::text::dates
