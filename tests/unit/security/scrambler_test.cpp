// The legacy scrambler: vectors worked out from the rules and the key
// material tables, and round trips.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "security/scrambler.h"

using namespace zq::security;

TEST(LegacyScrambler, MatchesVectorsFromTheTables) {
  struct Case {
    uint32_t key;
    std::string plain;
    std::string scrambled;
  } cases[] = {
      {1234567890u, "Secret1",
       "\x64\x29\x7d\x4e\x23\x30\x3b\x32\x31\x59\x55\x45\x79\x5a\x7d\x3a\x60\x4a\x25\x22\x6d\x74"
       "\x2a\x64\x65\xbd\x3b\x2a\x2d\x7c"},
      {7u, "abcdefghijklmnopqrstuvwxyz0123",
       "\x6f\x2b\x26\x58\x48\x29\x2c\x4d\x22\x60\x26\x69\x66\x52\x7b\x50\x30\x78\x49\x52\x6c\x4e"
       "\x66\x6d\x72\x5b\x5b\x3a\x4b\x6b"},
  };
  for (const Case& c : cases) {
    char buffer[31] = {};
    strcpy(buffer, c.plain.c_str());
    scrambleLegacy(c.key, buffer);
    EXPECT_EQ(std::string(buffer), c.scrambled) << c.plain;
    ASSERT_TRUE(unscrambleLegacy(c.key, buffer));
    EXPECT_EQ(std::string(buffer), c.plain);
  }
}

TEST(LegacyScrambler, RoundTripsUnderManyKeys) {
  const std::string texts[] = {"a",
                               "pass word",
                               "\xe9t\xe9 \xe0 la plage",
                               "tab\there",
                               "~!@#$%^&*()_+{}|:<>?",
                               std::string(30, 'x'),
                               "exactly thirty characters long"};
  for (uint32_t key : {0u, 1u, 94u, 95u, 1000003u, 0x7fffffffu, 0xffffffffu}) {
    for (const std::string& text : texts) {
      char buffer[31] = {};
      strcpy(buffer, text.c_str());
      scrambleLegacy(key, buffer);
      EXPECT_EQ(strlen(buffer), 30u);
      ASSERT_TRUE(unscrambleLegacy(key, buffer));
      EXPECT_EQ(std::string(buffer), text) << key;
    }
  }
}

TEST(LegacyScrambler, EdgeTexts) {
  char empty[31] = "";
  scrambleLegacy(5, empty);
  EXPECT_STREQ(empty, "");
  EXPECT_TRUE(unscrambleLegacy(5, empty));
  EXPECT_STREQ(empty, "");

  // Longer texts are cut to 30 characters.
  char longer[40] = "0123456789012345678901234567890123456";
  scrambleLegacy(99, longer);
  ASSERT_TRUE(unscrambleLegacy(99, longer));
  EXPECT_STREQ(longer, "012345678901234567890123456789");

  // Anything else than a scrambled text is left alone.
  char shortText[31] = "only twelve.";
  EXPECT_FALSE(unscrambleLegacy(99, shortText));
  EXPECT_STREQ(shortText, "only twelve.");
}

TEST(LegacyScrambler, LabelKeys) {
  // (7919 + byte sum of the label) * 2.718281828459045, cut to an integer.
  EXPECT_EQ(legacyKeyFromLabel(""), 21526u);
  EXPECT_EQ(legacyKeyFromLabel("A"), 21702u);
  EXPECT_EQ(remoteWorkflowKey(), 29020u);
  EXPECT_NE(serverSettingKey(), legacyEntryPasswordKey());
}
