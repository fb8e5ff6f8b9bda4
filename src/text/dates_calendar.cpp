#include "text/dates_calendar.h"

#include <algorithm>
#include <limits>

namespace zq::text::dates {

int64_t dayNumberOf(int64_t year, int64_t month, int64_t day) {
  int64_t a = floorDiv(14 - month, 12);
  int64_t y = year + 4800 - a;
  int64_t m = month + 12 * a - 3;
  bool julian = year < 1582 || (year == 1582 && (month < 10 || (month == 10 && day <= 4)));
  int64_t base = day + floorDiv(153 * m + 2, 5) + 365 * y + floorDiv(y, 4);
  if (julian) return base - 32083;
  return base - floorDiv(y, 100) + floorDiv(y, 400) - 32045;
}

int64_t dayNumberAsWritten(int64_t year, int64_t month, int64_t day) {
  const int64_t a = (14 - month) / 12;
  const int64_t y = year + 4800 - a;
  const int64_t m = month + 12 * a - 3;
  const bool julian = year < 1582 || (year == 1582 && (month < 10 || (month == 10 && day <= 4)));
  const int64_t base = day + (153 * m + 2) / 5 + 365 * y + y / 4;
  if (julian) return base - 32083;
  return base - y / 100 + y / 400 - 32045;
}

CalendarDate dateOf(int64_t j) {
  int64_t b = 0, c;
  if (j >= kFirstGregorianDay) {
    c = j + 32044;
    b = floorDiv(4 * c + 3, 146097);
    c -= floorDiv(146097 * b, 4);
  } else {
    c = j + 32082;
  }
  int64_t d = floorDiv(4 * c + 3, 1461);
  int64_t e = c - floorDiv(1461 * d, 4);
  int64_t m = floorDiv(5 * e + 2, 153);
  CalendarDate out;
  out.day = e - floorDiv(153 * m + 2, 5) + 1;
  out.month = m + 3 - 12 * floorDiv(m, 10);
  out.year = 100 * (b - 48) + d + floorDiv(m, 10);
  return out;
}

bool isLeapYear(int64_t year) {
  if (year > 1582) return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
  return floorMod(year, 4) == 0;
}

int monthLength(int64_t year, int64_t month) {
  static constexpr int kLengths[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (month < 1 || month > 12) return 0;
  if (month == 2 && isLeapYear(year)) return 29;
  return kLengths[month - 1];
}

bool isValidDate(int64_t year, int64_t month, int64_t day) {
  if (year < kMinYear || year > kMaxYear) return false;
  if (day < 1 || day > monthLength(year, month)) return false;
  if (year == kMaxYear && (month != 1 || day != 1)) return false;
  if (year == 1582 && month == 10 && day >= 5 && day <= 14) return false;
  return true;
}

int weekdayOf(int64_t j) {
  return static_cast<int>(floorMod(floorMod(j, 7) + 8, 7));
}

int isoWeekOf(int64_t j) {
  int64_t d4 = floorMod(floorMod(floorMod(j + 31741 - floorMod(j, 7), 146097), 36524), 1461);
  int64_t leap = d4 / 1460;
  int64_t d1 = floorMod(d4 - leap, 365) + leap;
  return static_cast<int>(d1 / 7 + 1);
}

int dayOfYear(int64_t j) {
  CalendarDate d = dateOf(j);
  return static_cast<int>(j - dayNumberOf(d.year, 1, 1) + 1);
}

namespace {

int32_t clampToRange(int64_t j) {
  return static_cast<int32_t>(std::clamp<int64_t>(j, kMinDayNumber, kMaxDayNumber));
}

int32_t clampToInt32(int64_t v) {
  return static_cast<int32_t>(std::clamp<int64_t>(v, std::numeric_limits<int32_t>::min(),
                                                  std::numeric_limits<int32_t>::max()));
}

}  // namespace

bool addToDay(int unit, int64_t amount, int64_t j, int32_t& result) {
  switch (unit) {
    case kUnitYears: {
      // 29 February of a common target year rolls on to 1 March.
      CalendarDate d = dateOf(j);
      result = clampToRange(dayNumberOf(d.year + amount, d.month, d.day));
      return true;
    }
    case kUnitMonths: {
      CalendarDate d = dateOf(j);
      int64_t months = d.year * 12 + (d.month - 1) + amount;
      int64_t year = floorDiv(months, 12);
      int64_t month = floorMod(months, 12) + 1;
      int64_t day = std::min<int64_t>(d.day, monthLength(year, month));
      result = clampToRange(dayNumberOf(year, month, day));
      return true;
    }
    case kUnitDays:
      result = clampToRange(j + amount);
      return true;
    case kUnitWeeks:
      result = clampToRange(j + amount * 7);
      return true;
    default:
      return false;
  }
}

bool differenceOf(int unit, int64_t from, int64_t to, int32_t& result) {
  switch (unit) {
    case kUnitDays:
      result = clampToInt32(to - from);
      return true;
    case kUnitWeeks:
      // Weeks run Sunday to Saturday: day numbers 6, 13, ... are Sundays.
      result = clampToInt32(floorDiv(to + 1, 7) - floorDiv(from + 1, 7));
      return true;
    default:
      return false;
  }
}

bool partOf(int part, int64_t j, int32_t& result) {
  switch (part) {
    case kPartYear:
      result = clampToInt32(dateOf(j).year);
      return true;
    case kPartMonth:
      result = static_cast<int32_t>(dateOf(j).month);
      return true;
    case kPartDay:
      result = static_cast<int32_t>(dateOf(j).day);
      return true;
    case kPartWeek:
      result = isoWeekOf(j);
      return true;
    case kPartWeekday:
      result = weekdayOf(j) + 1;
      return true;
    default:
      return false;
  }
}

}  // namespace zq::text::dates
