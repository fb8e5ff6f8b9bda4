// Writing dates and times as text in the user's conventions.
#pragma once

#include <ctime>
#include <string>

#include "text/dates_locale.h"

namespace zq::text::dates {

// The calendar fields a date directive can print.
struct DateParts {
  int64_t year = 0;  // astronomical
  int month = 1;     // 1..12
  int day = 1;
  int weekday = 0;    // 0 Sunday
  int dayOfYear = 1;  // 1-based
};

// Date picture letters (d, M, y; text in single quotes kept as it is) into
// the directives formatDirectives understands.
std::string datePictureToDirectives(const std::string& picture);

// Directives: %% A a B b h D x Y y d e j m n t u w, each optionally with a
// '0' or ' ' padding flag and a width. Years below 1 print as 1 - year and
// add " BC" at the end.
std::string formatDirectives(const LocaleTables& t, const std::string& directives,
                             const DateParts& date);

// A day number as date text (the date picture, else the locale's format).
std::string formatDayNumber(const LocaleTables& t, int64_t dayNumber);

// Time pictures: h hh H HH m mm s ss t tt and quoted text.
std::string formatTimePicture(const LocaleTables& t, const std::string& picture,
                              const struct tm& time);

// strftime in the tables' locale; empty when the text would be unreasonably
// long.
std::string strftimeText(const LocaleTables& t, const std::string& format, const struct tm& time);

// True when the fields stay in the ranges strftime and the name tables index.
bool usableTime(const struct tm& time);

// Date, date-and-time and time texts of a broken-down time.
std::string formatTimeDate(const LocaleTables& t, const struct tm& time);
std::string formatTimeDateTime(const LocaleTables& t, const struct tm& time);
std::string formatTimeOfDay(const LocaleTables& t, const struct tm& time);

}  // namespace zq::text::dates
