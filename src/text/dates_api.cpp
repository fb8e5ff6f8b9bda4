#include "text/dates_api.h"

#include <cstring>
#include <limits>
#include <new>
#include <string>

#include "frame/frame.h"
#include "text/dates_calendar.h"
#include "text/dates_format.h"
#include "text/dates_locale.h"
#include "text/dates_parse.h"

namespace zq::text::dates {
namespace {

// Copies text into a buffer of size bytes, cut at a character boundary.
size_t copyCut(const std::string& text, char* buffer, size_t size) {
  size_t n = text.size();
  if (n >= size) {
    n = size - 1;
    while (n > 0 && (static_cast<unsigned char>(text[n]) & 0xC0) == 0x80) --n;
  }
  memcpy(buffer, text.data(), n);
  buffer[n] = '\0';
  return n;
}

using TimeFormatter = std::string (*)(const LocaleTables&, const struct tm&);

int formatTime(char* buffer, size_t size, const struct tm* time, TimeFormatter formatter) {
  if (!buffer || size == 0) return 0;
  buffer[0] = '\0';
  if (!time || !usableTime(*time)) return 0;
  std::string text;
  try {
    text = formatter(tables(), *time);
  } catch (...) {
    return 0;
  }
  // A cut date would read as another date: nothing rather than a part.
  if (text.size() >= size || text.size() > static_cast<size_t>(std::numeric_limits<int>::max()))
    return 0;
  memcpy(buffer, text.c_str(), text.size() + 1);
  return static_cast<int>(text.size());
}

}  // namespace

int toDayNumber(const ZQDateStruct* date, int32_t* julianDate, ZQStatusList* status) {
  if (julianDate) *julianDate = 0;
  if (!date || !julianDate) return addError(status, ZQ_DATE_ERROR_NO_OUTPUT);
  int64_t j = dayNumberAsWritten(date->year, date->month, date->day);
  if (j < std::numeric_limits<int32_t>::min() || j > std::numeric_limits<int32_t>::max())
    return addError(status, ZQ_DATE_ERROR_RANGE);
  *julianDate = static_cast<int32_t>(j);
  return ZQ_RETURN_OK;
}

int toCalendarDate(int32_t julianDate, ZQDateStruct* date, ZQStatusList* status) {
  if (!date) return addError(status, ZQ_DATE_ERROR_NO_OUTPUT);
  // Any 32-bit day number lands within a few million years: the fields fit.
  CalendarDate d = dateOf(julianDate);
  date->year = static_cast<int32_t>(d.year);
  date->month = static_cast<int32_t>(d.month);
  date->day = static_cast<int32_t>(d.day);
  return ZQ_RETURN_OK;
}

int formatTimestampDate(char* buffer, size_t size, const struct tm* time) {
  return formatTime(buffer, size, time, formatTimeDate);
}

int formatTimestamp(char* buffer, size_t size, const struct tm* time) {
  return formatTime(buffer, size, time, formatTimeDateTime);
}

int formatTimestampTime(char* buffer, size_t size, const struct tm* time) {
  return formatTime(buffer, size, time, formatTimeOfDay);
}

std::string localTimeText(int (*format)(char*, size_t, const struct tm*), time_t when) {
  struct tm local {};
  localtime_r(&when, &local);
  char buffer[256];
  format(buffer, sizeof buffer, &local);
  return buffer;
}

bool parseTimestampText(const char* text, bool timeOnly, ZQTimestamp* value,
                        ZQBoolean* isInterval) {
  if (isInterval) *isInterval = 0;
  if (!value) return false;
  *value = 0;
  try {
    int32_t parsed;
    bool interval;
    if (!parseTimestamp(tables(), text, timeOnly, parsed, interval)) return false;
    *value = parsed;
    if (isInterval) *isInterval = interval ? 1 : 0;
    return true;
  } catch (...) {
    return false;
  }
}

int dateDifference(int unit, int32_t from, int32_t to, int32_t* result) {
  if (!result) return ZQ_DATE_ERROR_NO_OUTPUT;
  *result = 0;
  return differenceOf(unit, from, to, *result) ? 0 : ZQ_DATE_ERROR_BAD_CODE;
}

int dateAdd(int unit, int32_t amount, int32_t dayNumber, int32_t* result) {
  if (!result) return ZQ_DATE_ERROR_NO_OUTPUT;
  *result = 0;
  return addToDay(unit, amount, dayNumber, *result) ? 0 : ZQ_DATE_ERROR_BAD_CODE;
}

bool isValidDate(const ZQDateStruct* date) {
  return date && isValidDate(date->year, date->month, date->day);
}

int dateName(int kind, int32_t dayNumber, char* name, size_t size) {
  if (!name || size == 0) return ZQ_DATE_ERROR_NO_OUTPUT;
  name[0] = '\0';
  if (kind != ZQ_DATE_NAME_MONTH && kind != ZQ_DATE_NAME_WEEKDAY) return ZQ_DATE_ERROR_BAD_CODE;
  try {
    const LocaleTables& t = tables();
    if (kind == ZQ_DATE_NAME_MONTH)
      copyCut(t.catalogMonths[dateOf(dayNumber).month - 1], name, size);
    else
      copyCut(t.catalogWeekdays[weekdayOf(dayNumber)], name, size);
    return 0;
  } catch (...) {
    return ZQ_DATE_ERROR_NO_MEMORY;
  }
}

int datePart(int part, int32_t dayNumber, int32_t* result) {
  if (!result) return ZQ_DATE_ERROR_NO_OUTPUT;
  *result = 0;
  return partOf(part, dayNumber, *result) ? 0 : ZQ_DATE_ERROR_BAD_CODE;
}

int parseDateText(int pivotYear, const char* text, const char** end, int32_t* dayNumber) {
  if (end) *end = text;
  if (!dayNumber) return ZQ_DATE_ERROR_NO_OUTPUT;
  *dayNumber = 0;
  try {
    const char* stop = text;
    int32_t j;
    if (!parseDate(tables(), pivotYear, text, j, stop)) return ZQ_DATE_ERROR_BAD_TEXT;
    *dayNumber = j;
    if (end) *end = stop;
    return 0;
  } catch (...) {
    return ZQ_DATE_ERROR_NO_MEMORY;
  }
}

bool parseTimeOfDayText(const char* text, int32_t* seconds) {
  if (!seconds) return false;
  *seconds = 0;
  try {
    int32_t parsed;
    if (!parseTimeOfDay(tables(), text, parsed)) return false;
    *seconds = parsed;
    return true;
  } catch (...) {
    return false;
  }
}

int formatDate(int32_t dayNumber, char* buffer) {
  if (!buffer) return 0;
  buffer[0] = '\0';
  try {
    return static_cast<int>(
        copyCut(formatDayNumber(tables(), dayNumber), buffer, ZQ_DATE_TEXT_SIZE));
  } catch (...) {
    buffer[0] = '\0';
    return 0;
  }
}

}  // namespace zq::text::dates
