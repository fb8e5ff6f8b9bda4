// The language a registration for alerts sends, from the configured one.
#include <gtest/gtest.h>

#include "calls/alerts.h"

TEST(AlertLanguage, EnglishGoesAsNoneJapaneseGetsItsCodePage) {
  const struct {
    const char* configured;
    const char* sent;
  } cases[] = {
      {"", ""},
      {"enu", ""},
      {"ENU", ""},
      {"Enu", "Enu"},  // only the two exact spellings
      {"English (United States)", ""},
      {"en_US.UTF-8", ""},
      {"jpn", "jpn;SJIS"},
      {"JPN", "JPN;SJIS"},
      {"ja_JP", "ja_JP;SJIS"},
      {"Japanese", "Japanese;SJIS"},
      {"deu", "deu"},
      {"fr_FR", "fr_FR"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.configured);
    EXPECT_EQ(zq::calls::alertLanguage(c.configured), c.sent);
  }
}
