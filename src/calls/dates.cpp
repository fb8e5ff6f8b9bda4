// The date and time calls: day numbers by name, the other services by
// ordinal (809 to 812, 830 to 834, 837 to 839). None of them contacts a server
// or needs a thread context.
#include "frame/frame.h"
#include "text/text.h"
#include "zqapi/zq_datetime.h"

namespace dates = zq::text::dates;

extern "C" {

int ZQDateToJulianDate(ZQControlStruct* /*control*/, const ZQDateStruct* date, int32_t* julianDate,
                       ZQStatusList* status) {
  if (!status) return ZQ_RETURN_BAD_STATUS;
  zq::clearStatus(status);
  return dates::toDayNumber(date, julianDate, status);
}

int ZQJulianDateToDate(ZQControlStruct* /*control*/, int32_t julianDate, ZQDateStruct* date,
                       ZQStatusList* status) {
  if (!status) return ZQ_RETURN_BAD_STATUS;
  zq::clearStatus(status);
  return dates::toCalendarDate(julianDate, date, status);
}

int ZQFormatTimestampDate(char* buffer, size_t size, const struct tm* time) {
  return dates::formatTimestampDate(buffer, size, time);
}

int ZQFormatTimestamp(char* buffer, size_t size, const struct tm* time) {
  return dates::formatTimestamp(buffer, size, time);
}

int ZQFormatTimestampTime(char* buffer, size_t size, const struct tm* time) {
  return dates::formatTimestampTime(buffer, size, time);
}

ZQBoolean ZQParseTimestamp(const char* text, ZQBoolean timeOnly, ZQTimestamp* value,
                           ZQBoolean* isInterval) {
  return dates::parseTimestampText(text, timeOnly != 0, value, isInterval) ? 1 : 0;
}

int ZQDateDifference(int unit, int32_t from, int32_t to, int32_t* result) {
  return dates::dateDifference(unit, from, to, result);
}

int ZQDateAdd(int unit, int32_t amount, int32_t dayNumber, int32_t* result) {
  return dates::dateAdd(unit, amount, dayNumber, result);
}

ZQBoolean ZQIsValidDate(const ZQDateStruct* date) {
  return dates::isValidDate(date) ? 1 : 0;
}

int ZQGetDateName(int kind, int32_t dayNumber, char* name, size_t size) {
  return dates::dateName(kind, dayNumber, name, size);
}

int ZQGetDatePart(int part, int32_t dayNumber, int32_t* result) {
  return dates::datePart(part, dayNumber, result);
}

int ZQParseDate(int pivotYear, const char* text, const char** end, int32_t* dayNumber) {
  return dates::parseDateText(pivotYear, text, end, dayNumber);
}

ZQBoolean ZQParseTimeOfDay(const char* text, int32_t* seconds) {
  return dates::parseTimeOfDayText(text, seconds) ? 1 : 0;
}

int ZQFormatDate(int32_t dayNumber, char* buffer) {
  return dates::formatDate(dayNumber, buffer);
}

}  // extern "C"
