// Day numbers, validity and date arithmetic, checked against calendar rules
// written out independently here.
#include <gtest/gtest.h>

#include <cstring>
#include <limits>

#include "frame/alloc.h"
#include "text/dates_calendar.h"
#include "zqapi/zqapi.h"

namespace {

namespace dates = zq::text::dates;

// ---- an independent calendar ---------------------------------------------

bool julianLeap(int64_t y) {
  return ((y % 4) + 4) % 4 == 0;
}
bool gregorianLeap(int64_t y) {
  return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
}

int daysIn(int64_t y, int m) {
  static const int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  bool leap = y > 1582 ? gregorianLeap(y) : julianLeap(y);
  return m == 2 && leap ? 29 : kDays[m - 1];
}

// Days since 1970-01-01 of a proleptic Gregorian date (H. Hinnant's
// days_from_civil).
int64_t daysFromCivil(int64_t y, int64_t m, int64_t d) {
  y -= m <= 2;
  const int64_t era = (y >= 0 ? y : y - 399) / 400;
  const int64_t yoe = y - era * 400;
  const int64_t doy = (153 * (m > 2 ? m - 3 : m + 9) + 2) / 5 + d - 1;
  const int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + doe - 719468;
}

struct Ymd {
  int64_t y, m, d;
};

Ymd nextDay(Ymd a) {
  if (a.y == 1582 && a.m == 10 && a.d == 4) return {1582, 10, 15};
  if (a.d < daysIn(a.y, static_cast<int>(a.m))) return {a.y, a.m, a.d + 1};
  if (a.m < 12) return {a.y, a.m + 1, 1};
  return {a.y + 1, 1, 1};
}

ZQDateStruct date(int32_t y, int32_t m, int32_t d) {
  return ZQDateStruct{y, m, d};
}

struct Status : ZQStatusList {
  Status() : ZQStatusList{0, nullptr} {}
  ~Status() { FreeZQStatusList(this, 0); }
  int32_t firstNumber() const { return count ? items[0].messageNumber : 0; }
};

// ---- day numbers -----------------------------------------------------------

TEST(DateCalendar, KnownDayNumbers) {
  struct Case {
    int32_t y, m, d, day;
  } cases[] = {
      {-4712, 1, 1, 0},         // the epoch, 1 January 4713 BC
      {-4712, 12, 31, 365},     // 4713 BC is a Julian leap year
      {-4711, 1, 1, 366},       //
      {0, 12, 31, 1721423},     // 31 December 1 BC
      {1, 1, 1, 1721424},       // 1 January 1 AD (Julian)
      {1582, 10, 4, 2299160},   // last Julian day
      {1582, 10, 15, 2299161},  // first Gregorian day
      {1858, 11, 17, 2400001},  // modified Julian day 0
      {1970, 1, 1, 2440588},    // the Unix epoch
      {2000, 1, 1, 2451545},    // J2000
      {9999, 1, 1, 5373120},    // the last date value
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.y << "-" << c.m << "-" << c.d);
    Status status;
    ZQDateStruct in = date(c.y, c.m, c.d);
    int32_t day = -1;
    ASSERT_EQ(ZQDateToJulianDate(nullptr, &in, &day, &status), 0);
    EXPECT_EQ(day, c.day);
    ZQDateStruct out{};
    ASSERT_EQ(ZQJulianDateToDate(nullptr, c.day, &out, &status), 0);
    EXPECT_EQ(out.year, c.y);
    EXPECT_EQ(out.month, c.m);
    EXPECT_EQ(out.day, c.d);
    EXPECT_EQ(status.count, 0u);
  }
}

// Dates nobody validated still get the day number the written rule gives:
// its divisions truncate toward zero (worked out by hand below), which
// differs from flooring for month 15 and for years before -4800.
TEST(DayNumbers, UnvalidatedDatesDivideTowardZero) {
  struct Case {
    int y, m, d;
    int32_t day;
  } cases[] = {
      // a = (14 - 15) / 12 = 0, y = 6824, m = 12: 1 + 367 + 2490760 + 1706 - 68 + 17 - 32045
      {2024, 15, 1, 2460738},
      // a = 1, y = -2, m = 10: 1 + 306 - 730 + 0 - 32083 (y / 4 = 0, not -1)
      {-4801, 1, 1, -32506},
      {2024, 13, 1, 2460677},  // the same either way
      {2024, 1, 0, 2460310},
      {2024, 1, 32, 2460342},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.y << "-" << c.m << "-" << c.d);
    Status status;
    ZQDateStruct in = date(c.y, c.m, c.d);
    int32_t day = 0;
    ASSERT_EQ(ZQDateToJulianDate(nullptr, &in, &day, &status), 0);
    EXPECT_EQ(day, c.day);
  }
}

TEST(DateCalendar, GregorianDaysAgreeWithCivilDayCount) {
  for (int64_t y : {1583, 1600, 1700, 1899, 1900, 1999, 2000, 2024, 2100, 4000, 9998}) {
    for (int m = 1; m <= 12; ++m) {
      for (int d : {1, 28, daysIn(y, m)}) {
        EXPECT_EQ(dates::dayNumberOf(y, m, d), daysFromCivil(y, m, d) + 2440588)
            << y << "-" << m << "-" << d;
      }
    }
  }
}

// Walks every day from day 0 to 1 January 9999 with the independent calendar:
// each day number converts to the next calendar day and back.
TEST(DateCalendar, WholeRangeRoundTripsDayByDay) {
  Ymd expected{-4712, 1, 1};
  for (int64_t j = dates::kMinDayNumber; j <= dates::kMaxDayNumber; ++j) {
    dates::CalendarDate c = dates::dateOf(j);
    if (c.year != expected.y || c.month != expected.m || c.day != expected.d) {
      FAIL() << "day " << j << " gave " << c.year << "-" << c.month << "-" << c.day << ", expected "
             << expected.y << "-" << expected.m << "-" << expected.d;
    }
    if (dates::dayNumberOf(c.year, c.month, c.day) != j)
      FAIL() << "day " << j << " came back wrong";
    if (!dates::isValidDate(c.year, c.month, c.day)) FAIL() << "day " << j << " is not valid";
    expected = nextDay(expected);
  }
}

TEST(DateCalendar, BeyondTheRangeStaysConsistent) {
  // Below day 0 and far beyond 9999 the formulas keep counting days.
  for (int64_t j : {-1LL, -32083LL, -1000000LL, 5373121LL, 2147483647LL, -2147483648LL}) {
    dates::CalendarDate c = dates::dateOf(j);
    EXPECT_GE(c.month, 1);
    EXPECT_LE(c.month, 12);
    EXPECT_EQ(dates::dayNumberOf(c.year, c.month, c.day), j) << j;
  }
  dates::CalendarDate c = dates::dateOf(-1);
  EXPECT_EQ(c.year, -4713);
  EXPECT_EQ(c.month, 12);
  EXPECT_EQ(c.day, 31);
}

TEST(DateCalendar, ExportedConversionsCheckTheirArguments) {
  ZQDateStruct in = date(2000, 1, 1);
  int32_t day = 7;
  EXPECT_EQ(ZQDateToJulianDate(nullptr, &in, &day, nullptr), ZQ_RETURN_BAD_STATUS);
  ZQDateStruct out{};
  EXPECT_EQ(ZQJulianDateToDate(nullptr, 0, &out, nullptr), ZQ_RETURN_BAD_STATUS);

  Status s1;
  EXPECT_EQ(ZQDateToJulianDate(nullptr, nullptr, &day, &s1), ZQ_RETURN_ERROR);
  EXPECT_EQ(day, 0);
  EXPECT_EQ(s1.firstNumber(), 105);
  Status s2;
  EXPECT_EQ(ZQDateToJulianDate(nullptr, &in, nullptr, &s2), ZQ_RETURN_ERROR);
  EXPECT_EQ(s2.firstNumber(), 105);
  Status s3;
  EXPECT_EQ(ZQJulianDateToDate(nullptr, 0, nullptr, &s3), ZQ_RETURN_ERROR);
  EXPECT_EQ(s3.firstNumber(), 105);

  // No validation, but no overflow either: a day number that does not fit is
  // an error, not a wrapped value.
  Status s4;
  ZQDateStruct huge = date(std::numeric_limits<int32_t>::max(), 12, 31);
  EXPECT_EQ(ZQDateToJulianDate(nullptr, &huge, &day, &s4), ZQ_RETURN_ERROR);
  EXPECT_EQ(s4.firstNumber(), 8957);
  Status s5;
  ZQDateStruct odd = date(2000, 14, 40);  // carried arithmetically
  EXPECT_EQ(ZQDateToJulianDate(nullptr, &odd, &day, &s5), 0);
  EXPECT_EQ(day, dates::dayNumberOf(2001, 2, 40));
}

TEST(DateCalendar, StatusAllocationFailureLeavesListReleasable) {
  Status status;
  int32_t day;
  zq::testing::failAllocationsAfter(0);
  int rc = ZQDateToJulianDate(nullptr, nullptr, &day, &status);
  zq::testing::failAllocationsAfter(-1);
  EXPECT_EQ(rc, ZQ_RETURN_FATAL);
}

// ---- validity ----------------------------------------------------------------

TEST(DateCalendar, Validity) {
  struct Case {
    int32_t y, m, d;
    bool valid;
  } cases[] = {
      {-4712, 1, 1, true},  {-4713, 12, 31, false}, {9999, 1, 1, true},   {9999, 1, 2, false},
      {9998, 12, 31, true}, {1582, 10, 4, true},    {1582, 10, 5, false}, {1582, 10, 14, false},
      {1582, 10, 15, true}, {1500, 2, 29, true},    {1582, 2, 29, false}, {1700, 2, 29, false},
      {1900, 2, 29, false}, {2000, 2, 29, true},    {2023, 2, 29, false}, {2024, 2, 29, true},
      {0, 2, 29, true},     {-1, 2, 29, false},     {2024, 0, 1, false},  {2024, 13, 1, false},
      {2024, 4, 31, false}, {2024, 4, 0, false},    {2024, 12, 31, true},
  };
  for (const Case& c : cases) {
    ZQDateStruct d = date(c.y, c.m, c.d);
    EXPECT_EQ(ZQIsValidDate(&d), c.valid ? 1 : 0) << c.y << "-" << c.m << "-" << c.d;
  }
  EXPECT_EQ(ZQIsValidDate(nullptr), 0);
}

// ---- arithmetic ----------------------------------------------------------------

int32_t dn(int64_t y, int64_t m, int64_t d) {
  return static_cast<int32_t>(dates::dayNumberOf(y, m, d));
}

TEST(DateCalendar, Addition) {
  struct Case {
    int unit, amount;
    int32_t from, expected;
  } cases[] = {
      {ZQ_DATE_UNIT_MONTHS, 1, dn(2023, 1, 31), dn(2023, 2, 28)},
      {ZQ_DATE_UNIT_MONTHS, 1, dn(2024, 1, 31), dn(2024, 2, 29)},
      {ZQ_DATE_UNIT_MONTHS, 1, dn(2023, 12, 15), dn(2024, 1, 15)},
      {ZQ_DATE_UNIT_MONTHS, -1, dn(2024, 1, 15), dn(2023, 12, 15)},
      {ZQ_DATE_UNIT_MONTHS, -14, dn(2024, 3, 31), dn(2023, 1, 31)},
      {ZQ_DATE_UNIT_MONTHS, 3, dn(2024, 11, 30), dn(2025, 2, 28)},
      {ZQ_DATE_UNIT_MONTHS, 1, dn(1500, 1, 31), dn(1500, 2, 29)},  // Julian leap year
      {ZQ_DATE_UNIT_YEARS, 1, dn(2024, 2, 29), dn(2025, 3, 1)},
      {ZQ_DATE_UNIT_YEARS, 4, dn(2024, 2, 29), dn(2028, 2, 29)},
      {ZQ_DATE_UNIT_YEARS, -2024, dn(2024, 6, 1), dn(0, 6, 1)},
      {ZQ_DATE_UNIT_DAYS, 1, dn(1582, 10, 4), dn(1582, 10, 15)},
      {ZQ_DATE_UNIT_DAYS, -1, 2440588, 2440587},
      {ZQ_DATE_UNIT_WEEKS, 2, 2440588, 2440602},
      // The result stays within the range of date values.
      {ZQ_DATE_UNIT_DAYS, -10, 5, 0},
      {ZQ_DATE_UNIT_DAYS, 10, 5373115, 5373120},
      {ZQ_DATE_UNIT_WEEKS, std::numeric_limits<int32_t>::max(), 0, 5373120},
      {ZQ_DATE_UNIT_YEARS, std::numeric_limits<int32_t>::min(), 2440588, 0},
      {ZQ_DATE_UNIT_MONTHS, std::numeric_limits<int32_t>::max(), 2440588, 5373120},
  };
  for (const Case& c : cases) {
    int32_t result = -1;
    EXPECT_EQ(ZQDateAdd(c.unit, c.amount, c.from, &result), 0);
    EXPECT_EQ(result, c.expected) << "unit " << c.unit << " amount " << c.amount << " from "
                                  << c.from;
  }
  int32_t result = 99;
  EXPECT_EQ(ZQDateAdd(5, 1, 0, &result), 8956);
  EXPECT_EQ(result, 0);
  EXPECT_EQ(ZQDateAdd(0, 1, 0, &result), 8956);
  EXPECT_EQ(ZQDateAdd(ZQ_DATE_UNIT_DAYS, 1, 0, nullptr), 105);
}

TEST(DateCalendar, Difference) {
  const int32_t saturday = dn(2024, 5, 4), sunday = dn(2024, 5, 5), nextSaturday = dn(2024, 5, 11);
  struct Case {
    int unit;
    int32_t a, b, expected;
  } cases[] = {
      {ZQ_DATE_UNIT_DAYS, dn(1582, 10, 4), dn(1582, 10, 15), 1},
      {ZQ_DATE_UNIT_DAYS, 2440588, 0, -2440588},
      {ZQ_DATE_UNIT_WEEKS, saturday, sunday, 1},  // a new week begins on Sunday
      {ZQ_DATE_UNIT_WEEKS, sunday, nextSaturday, 0},
      {ZQ_DATE_UNIT_WEEKS, sunday, nextSaturday + 1, 1},
      {ZQ_DATE_UNIT_WEEKS, nextSaturday, saturday, -1},
      {ZQ_DATE_UNIT_DAYS, std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::max(),
       std::numeric_limits<int32_t>::max()},
  };
  for (const Case& c : cases) {
    int32_t result = 12345;
    EXPECT_EQ(ZQDateDifference(c.unit, c.a, c.b, &result), 0);
    EXPECT_EQ(result, c.expected) << c.unit << " " << c.a << " " << c.b;
  }
  int32_t result;
  for (int unit : {ZQ_DATE_UNIT_YEARS, ZQ_DATE_UNIT_MONTHS, 0, 5})
    EXPECT_EQ(ZQDateDifference(unit, 0, 1, &result), 8956);
  EXPECT_EQ(ZQDateDifference(ZQ_DATE_UNIT_DAYS, 0, 1, nullptr), 105);
}

// ---- parts and names -----------------------------------------------------------

// ISO 8601 week from the independent calendar.
int isoWeek(int64_t y, int m, int d) {
  auto weekday = [](int64_t yy, int mm, int dd) {  // 1 Monday .. 7 Sunday
    int64_t days = daysFromCivil(yy, mm, dd);
    return static_cast<int>(((days + 3) % 7 + 7) % 7) + 1;
  };
  auto weeksIn = [&](int64_t yy) {
    int jan1 = weekday(yy, 1, 1);
    return (jan1 == 4 || (jan1 == 3 && gregorianLeap(yy))) ? 53 : 52;
  };
  int doy = static_cast<int>(daysFromCivil(y, m, d) - daysFromCivil(y, 1, 1)) + 1;
  int week = (doy - weekday(y, m, d) + 10) / 7;
  if (week < 1) return weeksIn(y - 1);
  if (week > weeksIn(y)) return 1;
  return week;
}

TEST(DateCalendar, IsoWeekAgreesWithTheStandardRuleEveryDayFor1900To2100) {
  Ymd day{1900, 1, 1};
  while (day.y < 2101) {
    int32_t week = 0;
    ASSERT_EQ(ZQGetDatePart(ZQ_DATE_PART_WEEK, dn(day.y, day.m, day.d), &week), 0);
    ASSERT_EQ(week, isoWeek(day.y, static_cast<int>(day.m), static_cast<int>(day.d)))
        << day.y << "-" << day.m << "-" << day.d;
    day = nextDay(day);
  }
}

TEST(DateCalendar, Parts) {
  struct Case {
    int part;
    int32_t day, expected;
  } cases[] = {
      {ZQ_DATE_PART_YEAR, 0, -4712},
      {ZQ_DATE_PART_MONTH, 2299160, 10},
      {ZQ_DATE_PART_DAY, 2299161, 15},
      {ZQ_DATE_PART_WEEKDAY, 2440588, 5},  // Thursday
      {ZQ_DATE_PART_WEEKDAY, 2299160, 5},
      {ZQ_DATE_PART_WEEKDAY, 2299161, 6},         // Friday
      {ZQ_DATE_PART_WEEKDAY, dn(2024, 5, 5), 1},  // Sunday
      {ZQ_DATE_PART_WEEKDAY, dn(2024, 5, 4), 7},  // Saturday
      {ZQ_DATE_PART_WEEK, dn(2021, 1, 1), 53},
      {ZQ_DATE_PART_WEEK, dn(2024, 12, 30), 1},
  };
  for (const Case& c : cases) {
    int32_t result = -1;
    EXPECT_EQ(ZQGetDatePart(c.part, c.day, &result), 0);
    EXPECT_EQ(result, c.expected) << "part " << c.part << " day " << c.day;
  }
  int32_t result = 3;
  EXPECT_EQ(ZQGetDatePart(6, 0, &result), 8956);
  EXPECT_EQ(result, 0);
  EXPECT_EQ(ZQGetDatePart(ZQ_DATE_PART_YEAR, 0, nullptr), 105);
}

TEST(DateCalendar, NamesComeFromTheCatalog) {
  char name[64];
  struct Case {
    int kind;
    int32_t day;
    const char* expected;
  } cases[] = {
      {ZQ_DATE_NAME_MONTH, dn(1999, 12, 25), "December"},
      {ZQ_DATE_NAME_MONTH, 0, "January"},
      {ZQ_DATE_NAME_WEEKDAY, 2440588, "Thursday"},
      {ZQ_DATE_NAME_WEEKDAY, dn(2024, 5, 5), "Sunday"},
      {ZQ_DATE_NAME_WEEKDAY, dn(2024, 5, 6), "Monday"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ZQGetDateName(c.kind, c.day, name, sizeof name), 0);
    EXPECT_STREQ(name, c.expected);
  }
  char small[4];
  EXPECT_EQ(ZQGetDateName(ZQ_DATE_NAME_MONTH, 0, small, sizeof small), 0);
  EXPECT_STREQ(small, "Jan");
  strcpy(name, "stale");
  EXPECT_EQ(ZQGetDateName(3, 0, name, sizeof name), 8956);
  EXPECT_STREQ(name, "");
  EXPECT_EQ(ZQGetDateName(ZQ_DATE_NAME_MONTH, 0, nullptr, 10), 105);
  EXPECT_EQ(ZQGetDateName(ZQ_DATE_NAME_MONTH, 0, name, 0), 105);
}

}  // namespace
