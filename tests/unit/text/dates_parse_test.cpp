// Reading dates, time stamps and times of day in every accepted form.
#include <gtest/gtest.h>

#include <string>

#include "dates_fixture.h"
#include "text/dates_calendar.h"
#include "zqapi/zqapi.h"

namespace {

namespace dates = zq::text::dates;

int32_t dn(int64_t y, int64_t m, int64_t d) {
  return static_cast<int32_t>(dates::dayNumberOf(y, m, d));
}

int64_t utc(int y, int mo, int d, int h = 0, int mi = 0, int s = 0) {
  struct tm tm {};
  tm.tm_year = y - 1900;
  tm.tm_mon = mo - 1;
  tm.tm_mday = d;
  tm.tm_hour = h;
  tm.tm_min = mi;
  tm.tm_sec = s;
  return timegm(&tm);
}

struct DateCase {
  const char* text;
  int32_t expected;  // -1: not a date
  const char* rest;  // what is left after the date
};

void expectDates(const DateCase* cases, size_t n, int pivot = 2055) {
  for (size_t i = 0; i < n; ++i) {
    const DateCase& c = cases[i];
    SCOPED_TRACE(c.text);
    int32_t day = -5;
    const char* end = nullptr;
    int rc = ZQParseDate(pivot, c.text, &end, &day);
    if (c.expected < 0) {
      EXPECT_EQ(rc, 8958);
      EXPECT_EQ(day, 0);
      EXPECT_EQ(end, c.text);
      continue;
    }
    EXPECT_EQ(rc, 0);
    EXPECT_EQ(day, c.expected);
    EXPECT_STREQ(end, c.rest);
  }
}

// ---- dates -------------------------------------------------------------------

TEST(DateParse, MonthFirstLocale) {
  datetest::Settings settings("C");  // date format %m/%d/%y
  const DateCase cases[] = {
      {"12/25/99", dn(1999, 12, 25), ""},
      {"12/25/1999", dn(1999, 12, 25), ""},
      {"1/1/55", dn(2055, 1, 1), ""},    // the pivot year itself
      {"1/1/56", dn(1956, 1, 1), ""},    // one past it: the century before
      {"01/01/0056", dn(56, 1, 1), ""},  // four digits: the year as written
      {"2024-05-04", dn(2024, 5, 4), ""},
      {"2024/05/04", dn(2024, 5, 4), ""},
      {"24/05/04", dn(2024, 5, 4), ""},
      {"2024 05 04", dn(2024, 5, 4), ""},
      {"20240504", dn(2024, 5, 4), ""},
      {"12-25-1999", dn(1999, 12, 25), ""},
      {"Dec 25 1999", dn(1999, 12, 25), ""},
      {"dec 25, 1999", dn(1999, 12, 25), ""},
      {"DECEMBER 25, 99", dn(1999, 12, 25), ""},
      {"Saturday, December 25, 1999", dn(1999, 12, 25), ""},
      {"25 Dec 1999", dn(1999, 12, 25), ""},
      {"  (12/25/1999)", dn(1999, 12, 25), ")"},
      {"12/25/1999 10:30", dn(1999, 12, 25), " 10:30"},
      {"12/25/19999", -1, ""},  // a field may not stop inside a number
      {"March 15, 44 BC", dn(-43, 3, 15), ""},
      {"1/1/1 b.c. and more", dn(0, 1, 1), " and more"},
      {"1 January 4713 BC", 0, ""},
      {"Oct 4 1582", 2299160, ""},
      {"Oct 15 1582", 2299161, ""},
      {"October 5, 1582", -1, ""},  // in the calendar gap
      {"Jan 2 9999", -1, ""},       // beyond the last date value
      {"2/29/2023", -1, ""},
      {"2440588", 2440588, ""},  // a bare day number
      {"  2440588 \t\r\n", 2440588, ""},
      {"0", 0, ""},
      {"5373121", dn(5373, 12, 1), ""},  // a compact year, month and day
      {"9999999", -1, ""},               // no date, and beyond the last day number
      {"99999999999999999999", -1, ""},
      {"2440588x", -1, ""},
      {"hello", -1, ""},
      {"", -1, ""},
      {"   ", -1, ""},
  };
  expectDates(cases, std::size(cases));
}

TEST(DateParse, DayFirstLocales) {
  SKIP_WITHOUT_LOCALE("en_GB.UTF-8");
  {
    datetest::Settings settings("en_GB.UTF-8");  // %d/%m/%y
    const DateCase cases[] = {
        {"25/12/99", dn(1999, 12, 25), ""},
        {"05/04/2024", dn(2024, 4, 5), ""},  // a four-digit year in a two-digit format
        {"05/04/24", dn(2024, 4, 5), ""},
        {"12/25/99", dn(1999, 12, 25), ""},  // no such month: read month first
        {"25 Dec 1999", dn(1999, 12, 25), ""},
        {"1/1/55", dn(2055, 1, 1), ""},
        {"1/1/56", dn(1956, 1, 1), ""},
    };
    expectDates(cases, std::size(cases));
  }
  SKIP_WITHOUT_LOCALE("de_DE.UTF-8");
  datetest::Settings settings("de_DE.UTF-8");  // %d.%m.%Y
  const DateCase cases[] = {
      {"25.12.1999", dn(1999, 12, 25), ""},
      {"4. Mai 2024", dn(2024, 5, 4), ""},
      {"4 März 2024", dn(2024, 3, 4), ""},
      {"Dez 24 2023", dn(2023, 12, 24), ""},
      {"Dec 24 2023", -1, ""},  // English names are not German ones
  };
  expectDates(cases, std::size(cases));
}

TEST(DateParse, PivotYear) {
  datetest::Settings settings("C");
  struct Case {
    int pivot;
    const char* text;
    int32_t expected;
  } cases[] = {
      {2055, "6/1/55", dn(2055, 6, 1)}, {2055, "6/1/56", dn(1956, 6, 1)},
      {1999, "6/1/99", dn(1999, 6, 1)}, {1999, "6/1/00", dn(1900, 6, 1)},
      {2000, "6/1/00", dn(2000, 6, 1)},
  };
  for (const Case& c : cases) {
    int32_t day;
    EXPECT_EQ(ZQParseDate(c.pivot, c.text, nullptr, &day), 0);
    EXPECT_EQ(day, c.expected) << c.pivot << " " << c.text;
  }
  // The default pivot is this year + 29.
  time_t now = time(nullptr);
  struct tm local {};
  localtime_r(&now, &local);
  int pivot = local.tm_year + 1900 + 29;
  char text[32];
  snprintf(text, sizeof text, "1/1/%02d", pivot % 100);
  int32_t day;
  ASSERT_EQ(ZQParseDate(ZQ_DATE_PIVOT_DEFAULT, text, nullptr, &day), 0);
  EXPECT_EQ(day, dn(pivot, 1, 1));
  snprintf(text, sizeof text, "1/1/%02d", (pivot + 1) % 100);
  ASSERT_EQ(ZQParseDate(ZQ_DATE_PIVOT_DEFAULT, text, nullptr, &day), 0);
  EXPECT_EQ(day, dn(pivot + 1 - 100, 1, 1));
}

TEST(DateParse, NullArguments) {
  datetest::Settings settings("C");
  int32_t day = 4;
  const char* end = "x";
  EXPECT_EQ(ZQParseDate(-1, nullptr, &end, &day), 8958);
  EXPECT_EQ(day, 0);
  EXPECT_EQ(end, nullptr);
  EXPECT_EQ(ZQParseDate(-1, "12/25/99", &end, nullptr), 105);
}

// ---- time stamps -------------------------------------------------------------

struct StampCase {
  const char* text;
  bool ok;
  int64_t expected;
  bool interval = false;
};

void expectStamps(const StampCase* cases, size_t n, bool timeOnly = false) {
  for (size_t i = 0; i < n; ++i) {
    const StampCase& c = cases[i];
    SCOPED_TRACE(c.text);
    ZQTimestamp value = -7;
    ZQBoolean interval = 9;
    EXPECT_EQ(ZQParseTimestamp(c.text, timeOnly, &value, &interval), c.ok ? 1 : 0);
    EXPECT_EQ(value, c.ok ? c.expected : 0);
    EXPECT_EQ(interval, c.ok && c.interval ? 1 : 0);
  }
}

TEST(TimeParse, TimestampFormsMonthFirst) {
  datetest::Settings settings("C");  // %m/%d/%y, %H:%M:%S, "%a %b %e %H:%M:%S %Y"
  const int64_t xmas = utc(1999, 12, 25);
  const StampCase cases[] = {
      {"Sat Dec 25 22:30:05 1999", true, xmas + 81005},  // the locale's own form
      {"12/25/99", true, xmas},
      {"12/25/99 22:30:05", true, xmas + 81005},
      {"12/25/1999 10:30 PM", true, xmas + 81000},
      {"12/25/1999 10:30:05 pm", true, xmas + 81005},
      {"12/25/99 PM 10:30:05", true, xmas + 81005},
      {"12/25/99 12:15:00 AM", true, xmas + 900},
      {"12/25/99 12:15:00 PM", true, xmas + 44100},
      {"12/25/99 13:15:00 AM", false, 0},  // an afternoon hour in the morning
      {"99/12/25 22:30:05", true, xmas + 81005},
      {"1999/12/25 22:30:05", true, xmas + 81005},
      {"99 12 25 22:30:05", true, xmas + 81005},
      {"Dec 25 1999 22:30:05", true, xmas + 81005},
      {"Dec 25 99 22:30", true, xmas + 81000},
      {"Dec 25, 1999 22:30", true, xmas + 81000},
      {"December 25, 1999 10:30:05 PM", true, xmas + 81005},
      {"Dec 25 1999 10:30 PM", true, xmas + 81000},
      {"Dec 25, 99", true, xmas},
      {"Saturday, December 25, 1999 10:30:05 PM", true, xmas + 81005},
      {"25 Dec 1999 22:30:05", true, xmas + 81005},
      {"25 Dec 1999 10:30:05PM", true, xmas + 81005},
      {"25 Dec 1999 22:30", true, xmas + 81000},
      {"25 Dec 1999 10PM", true, xmas + 79200},
      {"25/12/99 22:30", false, 0},                       // month first: no month 25
      {"Sat, Dec 25 1999 22:30:05", true, xmas + 81005},  // a weekday before the date
      {"Saturday  12/25/99", true, xmas},
      {"946117800", true, 946117800},  // digits: seconds since 1970
      {" 946117805 ", true, 946117805},
      {"12/25/99 garbage", false, 0},
      {"Dec 32 1999", false, 0},
      {"2/29/2023 10:00", false, 0},
      {"12/25/1960", false, 0},   // before 1970
      {"1/1/2040", false, 0},     // beyond 32-bit seconds
      {"99999999999", false, 0},  // the same as digits
      {"nonsense", false, 0},
      {"", false, 0},
  };
  expectStamps(cases, std::size(cases));
}

TEST(TimeParse, IntervalsWhenNothingElseMatches) {
  datetest::Settings settings("C");
  const StampCase cases[] = {
      {"2:30", true, 9000, true},
      {"2:30:15", true, 9015, true},
      {"1:0:1 \t", true, 3601, true},
      {" -1:30", true, -3600 + 30 * 60, true},
      {"100:00", true, 360000, true},
      {"2:30x", false, 0},
      {"2:", false, 0},
      {"596524:00:00", false, 0},  // beyond 32 bits
      {"2:30:15:10", false, 0},
  };
  expectStamps(cases, std::size(cases));
}

TEST(TimeParse, TimeOnlyTakesToday) {
  datetest::Settings settings("C");
  time_t now = time(nullptr);
  struct tm today {};
  gmtime_r(&now, &today);
  const int64_t midnight = utc(today.tm_year + 1900, today.tm_mon + 1, today.tm_mday);
  const StampCase cases[] = {
      {"2:30", true, midnight + 9000},
      {"14:30:15", true, midnight + 52215},
      {"2:30 PM", true, midnight + 52200},
      {"2:30:00 am", true, midnight + 9000},
      {"12/25/99 22:30:05", true, utc(1999, 12, 25, 22, 30, 5)},  // a full text still wins
      {"2:30 PM extra", false, 0},
      {"25:00", false, 0},
  };
  expectStamps(cases, std::size(cases), true);
}

TEST(TimeParse, DateFirstOrderFollowsTheSettings) {
  // ZQDATE decides the order of a numeric date and is tried first, whole.
  datetest::Settings settings("C", {{"ZQDATE", "%d/%m/%Y %H:%M:%S"}});
  const StampCase cases[] = {
      {"25/12/1999 22:30:05", true, utc(1999, 12, 25, 22, 30, 5)},
      {"25/12/99 22:30", true, utc(1999, 12, 25, 22, 30)},  // %D reads day first now
      {"12/25/99 22:30", true, utc(1999, 12, 25, 22, 30)},  // the locale's date format
  };
  expectStamps(cases, std::size(cases));
}

TEST(TimeParse, PatternsWithPrintingFlags) {
  datetest::Settings settings("C", {{"ZQDATE", "%-m/%-d/%Y %-I:%M %p"}});
  const StampCase cases[] = {
      {"5/4/2024 3:07 PM", true, utc(2024, 5, 4, 15, 7)},
      {"05/04/2024 03:07 pm", true, utc(2024, 5, 4, 15, 7)},
  };
  expectStamps(cases, std::size(cases));
  int32_t day = 0;
  EXPECT_EQ(ZQParseDate(2055, "5/4/2024", nullptr, &day), 0);
  EXPECT_EQ(day, dn(2024, 5, 4));
}

TEST(TimeParse, TheLocalesOwnDateAndTimeForm) {
  SKIP_WITHOUT_LOCALE("en_US.UTF-8");
  datetest::Settings settings("en_US.UTF-8");  // "%a %d %b %Y %r %Z"
  const StampCase cases[] = {
      {"Sat 25 Dec 1999 10:30:05 PM UTC", true, utc(1999, 12, 25, 22, 30, 5)},
      {"12/25/1999 10:30:05 PM", true, utc(1999, 12, 25, 22, 30, 5)},
      {"12/25/99 10:30 AM", true, utc(1999, 12, 25, 10, 30)},
  };
  expectStamps(cases, std::size(cases));
}

TEST(TimeParse, DayFirstLocale) {
  SKIP_WITHOUT_LOCALE("en_GB.UTF-8");
  datetest::Settings settings("en_GB.UTF-8");
  const StampCase cases[] = {
      {"25/12/1999 22:30:05", true, utc(1999, 12, 25, 22, 30, 5)},
      {"05/04/24 08:00", true, utc(2024, 4, 5, 8)},
      {"25 Dec 1999 22:30", true, utc(1999, 12, 25, 22, 30)},
  };
  expectStamps(cases, std::size(cases));
}

TEST(TimeParse, NumericDatesWithOtherSeparatorsFollowTheOrderOfTheLocale) {
  SKIP_WITHOUT_LOCALE("de_DE.UTF-8");
  datetest::Settings settings("de_DE.UTF-8");  // %d.%m.%Y: day first
  const StampCase cases[] = {
      {"25.12.1999 22:30:05", true, utc(1999, 12, 25, 22, 30, 5)},
      {"25/12/99 10PM", true, utc(1999, 12, 25, 22)},
      {"25/12/99PM", true, utc(1999, 12, 25, 12)},
      {"25/12/99 10:30:05 PM", true, utc(1999, 12, 25, 22, 30, 5)},
      {"12/25/99 10:30", false, 0},
  };
  expectStamps(cases, std::size(cases));
}

TEST(TimeParse, DaylightTimeIsTakenAsTheWallClock) {
  // Eastern time without depending on the time-zone database.
  datetest::Settings settings("C", {}, "EST5EDT,M3.2.0,M11.1.0");
  const StampCase cases[] = {
      {"7/4/2024 12:00:00", true, utc(2024, 7, 4, 16)},    // daylight time, UTC-4
      {"1/15/2024 12:00:00", true, utc(2024, 1, 15, 17)},  // standard time, UTC-5
      {"1720108800", true, 1720108800},                    // digits are taken as they are
  };
  expectStamps(cases, std::size(cases));
}

TEST(TimeParse, NullArguments) {
  datetest::Settings settings("C");
  ZQTimestamp value = 5;
  EXPECT_EQ(ZQParseTimestamp(nullptr, 0, &value, nullptr), 0);
  EXPECT_EQ(value, 0);
  EXPECT_EQ(ZQParseTimestamp("12/25/99", 0, nullptr, nullptr), 0);
  EXPECT_EQ(ZQParseTimestamp("12/25/99", 0, &value, nullptr), 1);  // the flag is optional
  int32_t seconds = 5;
  EXPECT_EQ(ZQParseTimeOfDay(nullptr, &seconds), 0);
  EXPECT_EQ(seconds, 0);
  EXPECT_EQ(ZQParseTimeOfDay("10:00", nullptr), 0);
}

// ---- times of day ------------------------------------------------------------

TEST(TimeParse, TimeOfDay) {
  datetest::Settings settings("C");
  struct Case {
    const char* text;
    bool ok;
    int32_t seconds;
  } cases[] = {
      {"10:30", true, 37800},
      {"10:30:15", true, 37815},
      {"2:30 PM", true, 52200},
      {"12:00:00 AM", true, 0},
      {"23:59:59", true, 86399},
      {"3600", true, 3600},  // digits: seconds since 1970, in UTC
      {"86399", true, 86399},
      {"90000", true, 86399},  // a later day: its last second
      {"99999999999999999999999", true, 86399},
      {"12/25/99 22:30:05", true, 81005},  // a full time stamp gives its time
      {"Dec 25 1999", true, 0},
      {"24:00", false, 0},
      {"10:60", false, 0},
      {"10:30 tomorrow", false, 0},
      {"", false, 0},
  };
  for (const Case& c : cases) {
    int32_t seconds = -1;
    EXPECT_EQ(ZQParseTimeOfDay(c.text, &seconds), c.ok ? 1 : 0) << c.text;
    EXPECT_EQ(seconds, c.seconds) << c.text;
  }
}

TEST(TimeParse, TimeOfDayInALocaleWithTwelveHourClock) {
  SKIP_WITHOUT_LOCALE("en_US.UTF-8");
  datetest::Settings settings("en_US.UTF-8");  // time format %r
  int32_t seconds = 0;
  EXPECT_EQ(ZQParseTimeOfDay("10:30:15 PM", &seconds), 1);
  EXPECT_EQ(seconds, 81015);
  EXPECT_EQ(ZQParseTimeOfDay("22:30:15", &seconds), 1);
  EXPECT_EQ(seconds, 81015);
}

}  // namespace
