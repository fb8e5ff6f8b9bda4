// Date and time texts under several locales and settings.
#include <gtest/gtest.h>
#include <unistd.h>

#include <atomic>
#include <cstdio>
#include <ctime>
#include <cstring>
#include <fstream>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "dates_fixture.h"
#include "platform/catalog.h"
#include "text/dates_calendar.h"
#include "text/dates_locale.h"
#include "zqapi/zqapi.h"

namespace {

namespace dates = zq::text::dates;

int32_t dn(int64_t y, int64_t m, int64_t d) {
  return static_cast<int32_t>(dates::dayNumberOf(y, m, d));
}

// Saturday 25 December 1999, 22:30:05.
struct tm christmasEvening() {
  struct tm tm {};
  tm.tm_year = 99;
  tm.tm_mon = 11;
  tm.tm_mday = 25;
  tm.tm_hour = 22;
  tm.tm_min = 30;
  tm.tm_sec = 5;
  tm.tm_wday = 6;
  tm.tm_yday = 358;
  return tm;
}

using Formatter = int (*)(char*, size_t, const struct tm*);

std::string format(Formatter f, const struct tm& tm) {
  char buffer[256];
  memset(buffer, 'x', sizeof buffer);
  int n = f(buffer, sizeof buffer, &tm);
  EXPECT_EQ(n, static_cast<int>(strlen(buffer)));
  return buffer;
}

std::string formatDay(int32_t day) {
  char buffer[ZQ_DATE_TEXT_SIZE + 8];
  memset(buffer, 'x', sizeof buffer);
  int n = ZQFormatDate(day, buffer);
  EXPECT_EQ(n, static_cast<int>(strlen(buffer)));
  EXPECT_LT(strlen(buffer), static_cast<size_t>(ZQ_DATE_TEXT_SIZE));
  return buffer;
}

// A config file for the pictures that stand in for the system's values.
class ConfigFile {
 public:
  explicit ConfigFile(const std::string& contents) {
    char name[] = "/tmp/zqdates-configXXXXXX";
    int fd = mkstemp(name);
    EXPECT_GE(fd, 0);
    if (fd >= 0) close(fd);
    path_ = name;
    std::ofstream(path_) << contents;
  }
  ~ConfigFile() { unlink(path_.c_str()); }
  const std::string& path() const { return path_; }

 private:
  std::string path_;
};

// ---- broken-down times ---------------------------------------------------------

struct LocaleCase {
  const char* locale;
  const char* date;
  const char* dateTime;
  const char* time;
};

TEST(DateFormat, LocaleDefaults) {
  const LocaleCase cases[] = {
      {"C", "12/25/99", "12/25/99 22:30:05", "22:30:05"},
      {"en_US.UTF-8", "12/25/1999", "12/25/1999 10:30:05 PM", "10:30:05 PM"},
      {"de_DE.UTF-8", "25.12.1999", "25.12.1999 22:30:05", "22:30:05"},
      {"en_GB.UTF-8", "25/12/99", "25/12/99 22:30:05", "22:30:05"},
  };
  const struct tm tm = christmasEvening();
  int tested = 0;
  for (const LocaleCase& c : cases) {
    if (!datetest::localeInstalled(c.locale)) continue;
    SCOPED_TRACE(c.locale);
    datetest::Settings settings(c.locale);
    EXPECT_EQ(format(ZQFormatTimestampDate, tm), c.date);
    EXPECT_EQ(format(ZQFormatTimestamp, tm), c.dateTime);
    EXPECT_EQ(format(ZQFormatTimestampTime, tm), c.time);
    ++tested;
  }
  if (tested < 2) GTEST_SKIP() << "fewer than two locales installed";
}

TEST(DateFormat, EnvironmentPatterns) {
  const struct tm tm = christmasEvening();
  {
    datetest::Settings settings("C", {{"ZQDATE", "%Y-%m-%d %H:%M"},
                                      {"ZQDATEONLY", "dddd, d MMMM yyyy"},
                                      {"ZQTIMEONLY", "h:mm tt"}});
    EXPECT_EQ(format(ZQFormatTimestamp, tm), "1999-12-25 22:30");
    EXPECT_EQ(format(ZQFormatTimestampDate, tm), "Saturday, 25 December 1999");
    EXPECT_EQ(format(ZQFormatTimestampTime, tm), "10:30 PM");
  }
  {
    datetest::Settings settings(
        "C", {{"ZQDATEONLY", "ddd d-MMM-yy"}, {"ZQTIMEONLY", "HH 'h' mm''ss t"}});
    EXPECT_EQ(format(ZQFormatTimestampDate, tm), "Sat 25-Dec-99");
    EXPECT_EQ(format(ZQFormatTimestampTime, tm), "22 h 30'05 P");
  }
  SKIP_WITHOUT_LOCALE("de_DE.UTF-8");
  datetest::Settings settings("de_DE.UTF-8",
                              {{"ZQDATE", "%A, %d. %B %Y"}, {"ZQDATEONLY", "dddd, d. MMMM yyyy"}});
  EXPECT_EQ(format(ZQFormatTimestamp, tm), "Samstag, 25. Dezember 1999");
  EXPECT_EQ(format(ZQFormatTimestampDate, tm), "Samstag, 25. Dezember 1999");
}

TEST(DateFormat, ConfigPicturesStandInForTheSystemDefaults) {
  ConfigFile config("# user settings\nsShortDate = yyyy-MM-dd\nsTimeFormat=H.mm\n");
  datetest::Settings settings("C", {{"ZQAPI_CONFIG", config.path()}});
  const struct tm tm = christmasEvening();
  EXPECT_EQ(format(ZQFormatTimestampDate, tm), "1999-12-25");
  EXPECT_EQ(format(ZQFormatTimestamp, tm), "1999-12-25 22.30");
  EXPECT_EQ(format(ZQFormatTimestampTime, tm), "22.30");
  EXPECT_EQ(formatDay(dn(2024, 5, 4)), "2024-05-04");
}

TEST(DateFormat, EnvironmentWinsOverConfig) {
  ConfigFile config("sShortDate=yyyy-MM-dd\nsTimeFormat=H.mm\n");
  datetest::Settings settings(
      "C", {{"ZQAPI_CONFIG", config.path()}, {"ZQDATEONLY", "d/M/yyyy"}, {"ZQTIMEONLY", "HH:mm"}});
  const struct tm tm = christmasEvening();
  EXPECT_EQ(format(ZQFormatTimestampDate, tm), "25/12/1999");
  EXPECT_EQ(format(ZQFormatTimestampTime, tm), "22:30");
  EXPECT_EQ(format(ZQFormatTimestamp, tm), "1999-12-25 22.30");  // no ZQDATE: the defaults
  EXPECT_EQ(formatDay(dn(2024, 5, 4)), "4/5/2024");
}

TEST(DateFormat, BadArgumentsGiveEmptyText) {
  datetest::Settings settings("C");
  struct tm tm = christmasEvening();
  char buffer[64] = "stale";
  for (Formatter f : {ZQFormatTimestampDate, ZQFormatTimestamp, ZQFormatTimestampTime}) {
    strcpy(buffer, "stale");
    EXPECT_EQ(f(buffer, sizeof buffer, nullptr), 0);
    EXPECT_STREQ(buffer, "");
    EXPECT_EQ(f(nullptr, 10, &tm), 0);
    strcpy(buffer, "stale");
    EXPECT_EQ(f(buffer, 0, &tm), 0);
    EXPECT_STREQ(buffer, "stale");  // a zero-sized buffer is not touched
    strcpy(buffer, "stale");
    EXPECT_EQ(f(buffer, 5, &tm), 0);  // too small: nothing rather than a cut date
    EXPECT_STREQ(buffer, "");
  }
  EXPECT_EQ(ZQFormatTimestampDate(buffer, 9, &tm), 8);  // exactly enough
  EXPECT_STREQ(buffer, "12/25/99");

  struct Bad {
    int std::tm::*field;
    int value;
  } bad[] = {{&std::tm::tm_mon, 12},   {&std::tm::tm_mon, -1},  {&std::tm::tm_mday, 0},
             {&std::tm::tm_wday, 7},   {&std::tm::tm_hour, 24}, {&std::tm::tm_min, 60},
             {&std::tm::tm_yday, 366}, {&std::tm::tm_sec, -1}};
  for (const Bad& b : bad) {
    struct tm broken = christmasEvening();
    broken.*(b.field) = b.value;
    strcpy(buffer, "stale");
    EXPECT_EQ(ZQFormatTimestamp(buffer, sizeof buffer, &broken), 0);
    EXPECT_STREQ(buffer, "");
  }
}

// ---- day numbers ---------------------------------------------------------------

TEST(DateFormat, DayNumbersInTheLocaleFormat) {
  {
    datetest::Settings settings("C");
    EXPECT_EQ(formatDay(dn(1999, 12, 25)), "12/25/99");
    EXPECT_EQ(formatDay(0), "01/01/13 BC");
  }
  struct Case {
    const char* locale;
    const char* christmas;
    const char* epoch;
  } cases[] = {{"en_US.UTF-8", "12/25/1999", "01/01/4713 BC"},
               {"de_DE.UTF-8", "25.12.1999", "01.01.4713 BC"}};
  for (const Case& c : cases) {
    if (!datetest::localeInstalled(c.locale)) continue;
    datetest::Settings settings(c.locale);
    EXPECT_EQ(formatDay(dn(1999, 12, 25)), c.christmas) << c.locale;
    EXPECT_EQ(formatDay(0), c.epoch) << c.locale;
  }
}

TEST(DateFormat, DayNumbersWithPictures) {
  struct Case {
    const char* picture;
    int32_t day;
    const char* expected;
  } cases[] = {
      {"d MMMM yyyy", dn(1999, 12, 25), "25 December 1999"},
      {"d MMMM yyyy", 0, "1 January 4713 BC"},
      {"d MMMM yyyy", dn(1, 1, 1), "1 January 0001"},
      {"d MMMM yyyy", dn(0, 1, 1), "1 January 0001 BC"},
      {"dd.MM.yy", dn(2024, 5, 4), "04.05.24"},
      {"d.M.y", dn(2005, 5, 4), "4.5.5"},
      {"ddd dd MMM", dn(2024, 5, 4), "Sat 04 May"},
      {"d 'de' MMMM", dn(1999, 12, 25), "25 de December"},
      {"'It''s' d", dn(1999, 12, 25), "It's 25"},
      {"d''M", dn(1999, 12, 25), "25'12"},
      {"'100%' d", dn(1999, 12, 25), "100% 25"},
      {"'unterminated d", dn(1999, 12, 25), "unterminated d"},
      {"yyyyy", dn(1999, 12, 25), "199999"},  // four, then one
      // Directives written directly.
      {"%j|%u|%w|%e|%A|%h|%%", dn(1999, 12, 25), "359|6|6|25|Saturday|Dec|%"},
      {"%D %x", dn(1999, 12, 25), "12/25/99 12/25/1999"},
      {"%05Y|% 5j|%03e|%e|%1j", dn(2024, 1, 5), "02024|    5|005| 5|5"},
      {"%j", dn(1582, 12, 31), "355"},  // the year without its ten days
      {"%q %", dn(1999, 12, 25), "%q %"},
      {"%D", 0, "01/01/13 BC"},
  };
  for (const Case& c : cases) {
    datetest::Settings settings("C", {{"ZQDATEONLY", c.picture}});
    EXPECT_EQ(formatDay(c.day), c.expected) << c.picture;
  }
}

TEST(DateFormat, DayFirstNumericDirectives) {
  SKIP_WITHOUT_LOCALE("de_DE.UTF-8");
  datetest::Settings settings("de_DE.UTF-8", {{"ZQDATEONLY", "%D %x MMMM"}});
  EXPECT_EQ(formatDay(dn(1999, 12, 25)), "25/12/99 25/12/1999 Dezember");
}

TEST(DateFormat, LongTextsAreCutAtACharacterBoundary) {
  {
    datetest::Settings settings("C", {{"ZQDATEONLY", "dddd dddd dddd dddd"}});
    std::string text = formatDay(dn(1999, 12, 25));
    EXPECT_EQ(text, std::string("Saturday Saturday Saturday Saturday").substr(0, 30));
  }
  SKIP_WITHOUT_LOCALE("de_DE.UTF-8");
  // 28 letters, "M", then the two bytes of "ä": the cut falls inside it.
  datetest::Settings settings("de_DE.UTF-8",
                              {{"ZQDATEONLY", "'xxxxxxxxxxxxxxxxxxxxxxxxxxxx'MMMM"}});
  EXPECT_EQ(formatDay(dn(2024, 3, 1)), std::string(28, 'x') + "M");
  EXPECT_EQ(ZQFormatDate(0, nullptr), 0);
}

TEST(DateFormat, FormattedDatesReadBackAcrossTheWholeRange) {
  datetest::Settings settings("C", {{"ZQDATEONLY", "d MMMM yyyy"}});
  for (int32_t day = dates::kMinDayNumber; day <= dates::kMaxDayNumber; day += 97) {
    std::string text = formatDay(day);
    int32_t back = -1;
    ASSERT_EQ(ZQParseDate(ZQ_DATE_PIVOT_DEFAULT, text.c_str(), nullptr, &back), 0) << text;
    ASSERT_EQ(back, day) << text;
  }
}

// ---- the settings themselves ---------------------------------------------------

TEST(DateSettings, LoadedOncePerProcess) {
  datetest::Settings settings("C");
  const dates::LocaleTables* first = &dates::tables();
  EXPECT_EQ(&dates::tables(), first);
  // A changed environment is not seen until the tables are reloaded.
  setenv("ZQDATE", "%Y", 1);
  EXPECT_FALSE(dates::tables().envDate.has_value());
  unsetenv("ZQDATE");

  zq::testing::resetDateTables("C");
  std::vector<const dates::LocaleTables*> seen(8, nullptr);
  std::vector<std::thread> threads;
  for (size_t i = 0; i < seen.size(); ++i)
    threads.emplace_back([&seen, i] { seen[i] = &dates::tables(); });
  for (auto& t : threads) t.join();
  for (const auto* t : seen) EXPECT_EQ(t, seen[0]);
  EXPECT_EQ(first->dateFormat, "%m/%d/%y");  // older tables stay usable
}

TEST(DateSettings, MonthFirstDecision) {
  struct Case {
    const char* pattern;
    bool monthFirst;
  } cases[] = {
      {"%m/%d/%y", true},       {"%d/%m/%y", false},    {"%d.%m.%Y", false},
      {"%a %b %e %H:%M", true}, {"%a %d %b %Y", false}, {"%e-%h-%Y", false},
      {"%Y-%m-%d", true},       {"%H:%M", true},        {"", true},
      {"date %Y %B %d", true},  {"%-d/%-m/%Y", false},  {"%%d %m", true},
  };
  for (const Case& c : cases) EXPECT_EQ(dates::monthFirstOf(c.pattern), c.monthFirst) << c.pattern;
  {
    datetest::Settings settings("C", {{"ZQDATE", "%d/%m/%Y %H:%M"}});
    EXPECT_FALSE(dates::tables().monthFirst);
  }
  {
    datetest::Settings settings("C");
    EXPECT_TRUE(dates::tables().monthFirst);
  }
  if (datetest::localeInstalled("en_US.UTF-8")) {
    datetest::Settings settings("en_US.UTF-8");
    EXPECT_TRUE(dates::tables().monthFirst);
  }
  if (datetest::localeInstalled("en_GB.UTF-8")) {
    datetest::Settings settings("en_GB.UTF-8");
    EXPECT_FALSE(dates::tables().monthFirst);
  }
}

TEST(DateSettings, OutOfMemoryWhileLoadingIsReportedAndRetried) {
  datetest::Settings settings("C");
  struct Call {
    const char* name;
    std::function<bool()> failedCleanly;
  } calls[] = {
      {"ZQParseDate",
       [] {
         int32_t day = 9;
         const char* end = nullptr;
         const char* text = "12/25/99";
         return ZQParseDate(-1, text, &end, &day) == 300 && day == 0 && end == text;
       }},
      {"ZQGetDateName",
       [] {
         char name[16] = "stale";
         return ZQGetDateName(ZQ_DATE_NAME_MONTH, 0, name, sizeof name) == 300 && !*name;
       }},
      {"ZQParseTimestamp",
       [] {
         ZQTimestamp value = 9;
         return ZQParseTimestamp("12/25/99", 0, &value, nullptr) == 0 && value == 0;
       }},
      {"ZQParseTimeOfDay",
       [] {
         int32_t seconds = 9;
         return ZQParseTimeOfDay("10:00", &seconds) == 0 && seconds == 0;
       }},
      {"ZQFormatDate",
       [] {
         char text[ZQ_DATE_TEXT_SIZE] = "stale";
         return ZQFormatDate(0, text) == 0 && !*text;
       }},
      {"ZQFormatTimestamp",
       [] {
         struct tm tm = christmasEvening();
         char text[64] = "stale";
         return ZQFormatTimestamp(text, sizeof text, &tm) == 0 && !*text;
       }},
  };
  for (const Call& call : calls) {
    zq::testing::resetDateTables("C");
    zq::testing::failNextDateTableLoad();
    EXPECT_TRUE(call.failedCleanly()) << call.name;
    // The failed load left nothing behind: the next call loads and works.
    int32_t day = 0;
    EXPECT_EQ(ZQParseDate(-1, "12/25/99", nullptr, &day), 0) << call.name;
    EXPECT_EQ(day, dn(1999, 12, 25));
  }
}

TEST(DateSettings, MissingLocaleFallsBackToC) {
  datetest::Settings settings("xx_NOWHERE.UTF-8");
  EXPECT_EQ(dates::tables().dateFormat, "%m/%d/%y");
  EXPECT_EQ(formatDay(dn(1999, 12, 25)), "12/25/99");
}

// The catalog may rename the variables and translate the names.
TEST(DateSettings, CatalogRenamesVariablesAndNames) {
  if (system("command -v gencat >/dev/null 2>&1") != 0) GTEST_SKIP() << "gencat is missing";
  char dir[] = "/tmp/zqdates-catXXXXXX";
  ASSERT_NE(mkdtemp(dir), nullptr);
  std::string source = std::string(dir) + "/test.msg", catalog = std::string(dir) + "/test.cat";
  std::ofstream(source) << "$quote \"\n$set 1\n5115 \"Januar\"\n2787 \"Sonntag\"\n"
                           "$set 255\n101 \"MYDATEFORMAT\"\n";
  ASSERT_EQ(system(("gencat " + catalog + " " + source).c_str()), 0);

  int savedHandle = ZQMessageCatalogHandle;
  ZQMessageCatalogHandle = -1;
  zq::platform::setCatalogPathForTesting(catalog);
  {
    datetest::Settings settings("C", {{"MYDATEFORMAT", "%d|%m|%Y"}, {"ZQDATE", "%Y"}});
    struct tm tm = christmasEvening();
    EXPECT_EQ(format(ZQFormatTimestamp, tm), "25|12|1999");
    char name[32];
    EXPECT_EQ(ZQGetDateName(ZQ_DATE_NAME_MONTH, dn(2024, 1, 10), name, sizeof name), 0);
    EXPECT_STREQ(name, "Januar");
    EXPECT_EQ(ZQGetDateName(ZQ_DATE_NAME_WEEKDAY, dn(2024, 5, 5), name, sizeof name), 0);
    EXPECT_STREQ(name, "Sonntag");
    EXPECT_EQ(ZQGetDateName(ZQ_DATE_NAME_MONTH, dn(2024, 2, 10), name, sizeof name), 0);
    EXPECT_STREQ(name, "February");  // not in this catalog: the English name
  }
  {
    // Without any catalog: the built-in variable name and English names.
    zq::platform::setCatalogPathForTesting(std::string(dir) + "/missing.cat");
    datetest::Settings settings("C", {{"ZQDATE", "%Y"}});
    EXPECT_EQ(format(ZQFormatTimestamp, christmasEvening()), "1999");
    char name[32];
    EXPECT_EQ(ZQGetDateName(ZQ_DATE_NAME_WEEKDAY, dn(2024, 5, 5), name, sizeof name), 0);
    EXPECT_STREQ(name, "Sunday");
  }
  zq::platform::setCatalogPathForTesting("");
  ZQMessageCatalogHandle = savedHandle;
  zq::testing::resetDateTables("C");
  unlink(source.c_str());
  unlink(catalog.c_str());
  rmdir(dir);
}

TEST(DateSettings, OrdinalsAreExported) {
  struct Case {
    unsigned ordinal;
    void* address;
  } cases[] = {
      {809, reinterpret_cast<void*>(&ZQFormatTimestampDate)},
      {810, reinterpret_cast<void*>(&ZQFormatTimestamp)},
      {811, reinterpret_cast<void*>(&ZQFormatTimestampTime)},
      {812, reinterpret_cast<void*>(&ZQParseTimestamp)},
      {830, reinterpret_cast<void*>(&ZQDateDifference)},
      {831, reinterpret_cast<void*>(&ZQDateAdd)},
      {832, reinterpret_cast<void*>(&ZQIsValidDate)},
      {833, reinterpret_cast<void*>(&ZQGetDateName)},
      {834, reinterpret_cast<void*>(&ZQGetDatePart)},
      {837, reinterpret_cast<void*>(&ZQParseDate)},
      {838, reinterpret_cast<void*>(&ZQParseTimeOfDay)},
      {839, reinterpret_cast<void*>(&ZQFormatDate)},
  };
  for (const Case& c : cases) EXPECT_EQ(ZQGetOrdinal(c.ordinal), c.address) << c.ordinal;
}

}  // namespace
