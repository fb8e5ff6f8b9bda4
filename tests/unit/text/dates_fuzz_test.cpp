// Mutated texts and patterns fed to every date and time reader and writer:
// no crash, no leak, and every failure a clean result.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "dates_fixture.h"
#include "text/dates_calendar.h"
#include "text/dates_format.h"
#include "text/dates_locale.h"
#include "zqapi/zqapi.h"

namespace {

namespace dates = zq::text::dates;

const std::vector<std::string> kSeeds = {
    "12/25/99",
    "12/25/1999 10:30:05 PM",
    "Saturday, December 25, 1999 10:30:05 PM",
    "Sat Dec 25 22:30:05 1999",
    "25 Dec 1999 22:30:05PM",
    "Dec 25, 99 10:30 PM",
    "1999/12/25 22:30:05",
    "2024-05-04",
    "March 15, 44 B.C.",
    "2440588",
    "946117800",
    "2:30:15",
    "12:00:00 AM",
    "Sat, 12/25/99 PM 10:30",
    "%Y%m%d %p %%",
    "dddd, d 'de' MMMM yyyy HH:mm:ss tt",
};

const char kAlphabet[] = "0123456789/:-., %'APMapmBCbcDdHhMmSsYyjtTxX\t\r\n\x80\xc3\xa4\xff";

std::string mutate(std::mt19937& rng, std::string text) {
  std::uniform_int_distribution<int> op(0, 5), byte(1, 255);
  std::uniform_int_distribution<size_t> pick(0, sizeof kAlphabet - 2);
  int steps = 1 + static_cast<int>(rng() % 4);
  for (int i = 0; i < steps; ++i) {
    size_t pos = text.empty() ? 0 : rng() % (text.size() + 1);
    switch (op(rng)) {
      case 0:
        if (pos < text.size()) text[pos] = kAlphabet[pick(rng)];
        break;
      case 1:
        text.insert(pos, 1, kAlphabet[pick(rng)]);
        break;
      case 2:
        if (pos < text.size()) text.erase(pos, 1 + rng() % 3);
        break;
      case 3:
        if (pos < text.size()) text[pos] = static_cast<char>(byte(rng));
        break;
      case 4:
        text.insert(pos, text.substr(0, pos));  // repeat a prefix
        break;
      default:
        text.resize(pos);
        break;
    }
  }
  return text;
}

void readEverything(const std::string& text) {
  SCOPED_TRACE(text);
  int32_t day = -1;
  const char* end = nullptr;
  int rc = ZQParseDate(ZQ_DATE_PIVOT_DEFAULT, text.c_str(), &end, &day);
  if (rc == 0) {
    EXPECT_GE(day, dates::kMinDayNumber);
    EXPECT_LE(day, dates::kMaxDayNumber);
    EXPECT_GE(end, text.c_str());
    EXPECT_LE(end, text.c_str() + text.size());
  } else {
    EXPECT_EQ(rc, 8958);
    EXPECT_EQ(day, 0);
    EXPECT_EQ(end, text.c_str());
  }

  for (ZQBoolean timeOnly : {0, 1}) {
    ZQTimestamp value = -1;
    ZQBoolean interval = 7;
    ZQBoolean ok = ZQParseTimestamp(text.c_str(), timeOnly, &value, &interval);
    EXPECT_TRUE(ok == 0 || ok == 1);
    if (!ok) {
      EXPECT_EQ(value, 0);
    } else if (!interval) {
      EXPECT_GE(value, 0);
    }
    EXPECT_TRUE(interval == 0 || (interval == 1 && ok && !timeOnly));
  }

  int32_t seconds = -1;
  ZQBoolean ok = ZQParseTimeOfDay(text.c_str(), &seconds);
  if (ok) {
    EXPECT_GE(seconds, 0);
    EXPECT_LE(seconds, 86399);
  } else {
    EXPECT_EQ(seconds, 0);
  }
}

TEST(DateFuzz, ReadersSurviveMutatedTexts) {
  datetest::Settings settings("C");
  std::mt19937 rng(20240504);
  for (int round = 0; round < 3000; ++round) {
    const std::string& seed = kSeeds[rng() % kSeeds.size()];
    readEverything(mutate(rng, seed));
  }
  readEverything(std::string(20000, '9'));
  readEverything(std::string(5000, ' ') + "12/25/99");
  std::string many;
  for (int i = 0; i < 2000; ++i) many += "Sat, ";
  readEverything(many + "12/25/99");
}

TEST(DateFuzz, WritersSurviveMutatedPatterns) {
  datetest::Settings settings("C");
  const dates::LocaleTables& t = dates::tables();
  struct tm tm {};
  tm.tm_year = 99;
  tm.tm_mon = 11;
  tm.tm_mday = 25;
  tm.tm_hour = 22;
  tm.tm_wday = 6;
  std::mt19937 rng(839);
  for (int round = 0; round < 3000; ++round) {
    std::string pattern = mutate(rng, kSeeds[rng() % kSeeds.size()]);
    dates::DateParts parts;
    parts.year = static_cast<int64_t>(rng() % 20000) - 5000;
    std::string a = dates::formatDirectives(t, pattern, parts);
    std::string b = dates::formatDirectives(t, dates::datePictureToDirectives(pattern), parts);
    std::string c = dates::formatTimePicture(t, pattern, tm);
    std::string d = dates::strftimeText(t, pattern, tm);
    EXPECT_LT(a.size() + b.size() + c.size() + d.size(), 64u * 1024);
  }
}

// Patterns from the environment drive the readers too: a hostile ZQDATE must
// not make them recurse or read out of bounds.
TEST(DateFuzz, ReadersSurviveMutatedEnvironmentPatterns) {
  std::mt19937 rng(812);
  for (int round = 0; round < 150; ++round) {
    std::string pattern = mutate(rng, kSeeds[rng() % kSeeds.size()]);
    pattern.erase(std::remove(pattern.begin(), pattern.end(), '\0'), pattern.end());
    datetest::Settings settings(
        "C", {{"ZQDATE", pattern}, {"ZQDATEONLY", pattern}, {"ZQTIMEONLY", pattern}});
    for (int i = 0; i < 5; ++i) readEverything(mutate(rng, kSeeds[rng() % kSeeds.size()]));
    readEverything(pattern);
    char buffer[ZQ_DATE_TEXT_SIZE];
    EXPECT_LT(ZQFormatDate(static_cast<int32_t>(rng()), buffer), ZQ_DATE_TEXT_SIZE);
    struct tm tm {};
    tm.tm_mday = 1;
    char text[128];
    EXPECT_LT(ZQFormatTimestamp(text, sizeof text, &tm), 128);
    EXPECT_LT(ZQFormatTimestampDate(text, sizeof text, &tm), 128);
    EXPECT_LT(ZQFormatTimestampTime(text, sizeof text, &tm), 128);
  }
}

}  // namespace
