// Day numbers and the Julian/Gregorian calendar.
//
// Day 0 is 1 January 4713 BC of the Julian calendar. Dates up to 4 October
// 1582 are Julian, dates from 15 October 1582 on Gregorian; the ten days in
// between do not exist. Years are astronomical: 0 is 1 BC, -1 is 2 BC.
#pragma once

#include <cstdint>

namespace zq::text::dates {

inline constexpr int32_t kMinDayNumber = 0;
inline constexpr int32_t kMaxDayNumber = 5373120;       // 1 January 9999
inline constexpr int32_t kFirstGregorianDay = 2299161;  // 15 October 1582
inline constexpr int32_t kMinYear = -4712;
inline constexpr int32_t kMaxYear = 9999;

struct CalendarDate {
  int64_t year = 0;
  int64_t month = 0;
  int64_t day = 0;
};

// Calendar date to day number; no validation, so any month or day is
// accepted and carried arithmetically. Computed in 64 bits.
int64_t dayNumberOf(int64_t year, int64_t month, int64_t day);
// The same with C's integer division (truncating toward zero): the day
// number ZQDateToJulianDate gives, on which its callers rely for dates
// nobody validated (month 15, years before -4800). Valid dates come out
// as with dayNumberOf; dayNumberOf stays the exact inverse of dateOf.
int64_t dayNumberAsWritten(int64_t year, int64_t month, int64_t day);
CalendarDate dateOf(int64_t dayNumber);

bool isLeapYear(int64_t year);
int monthLength(int64_t year, int64_t month);  // 0 for a month outside 1..12
// Year -4712..9999, month and day within the month, 9999 only on 1 January,
// 5 to 14 October 1582 refused.
bool isValidDate(int64_t year, int64_t month, int64_t day);

// 0 Sunday .. 6 Saturday.
int weekdayOf(int64_t dayNumber);
int isoWeekOf(int64_t dayNumber);
// 1-based day of the year (the 1582 gap makes that year 355 days long).
int dayOfYear(int64_t dayNumber);

enum Unit { kUnitYears = 1, kUnitMonths = 2, kUnitDays = 3, kUnitWeeks = 4 };
enum Part { kPartYear = 1, kPartMonth = 2, kPartDay = 3, kPartWeek = 4, kPartWeekday = 5 };

// Both return false for an unknown unit or part.
bool addToDay(int unit, int64_t amount, int64_t dayNumber, int32_t& result);
bool differenceOf(int unit, int64_t from, int64_t to, int32_t& result);
bool partOf(int part, int64_t dayNumber, int32_t& result);

// Floor division and remainder: the calendar formulas stay right below day 0.
inline int64_t floorDiv(int64_t a, int64_t b) {
  int64_t q = a / b;
  return (a % b != 0 && ((a < 0) != (b < 0))) ? q - 1 : q;
}
inline int64_t floorMod(int64_t a, int64_t b) {
  return a - floorDiv(a, b) * b;
}

}  // namespace zq::text::dates
