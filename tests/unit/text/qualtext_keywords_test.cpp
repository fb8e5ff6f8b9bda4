// The keyword tables of the qualification language: built once per process,
// shared by every thread, words from the catalog with built-in fallbacks.
#include <gtest/gtest.h>

#include <thread>
#include <vector>

#include "text/keyword_tables.h"

namespace {

using zq::text::KeywordTables;
using zq::text::keywordTables;

TEST(KeywordTables, WordsInKeywordOrder) {
  const KeywordTables& t = keywordTables();
  EXPECT_EQ(t.keywords[0], "DEFAULT");
  EXPECT_EQ(t.keywords[2], "TIMESTAMP");
  EXPECT_EQ(t.keywords[22], "CLIENT-TYPE");
  EXPECT_EQ(t.keywords[46], "NO");
  EXPECT_EQ(t.keywordNumber("SERVERTIMESTAMP"), 39);
  EXPECT_EQ(t.keywordNumber("TIME"), 3);
  EXPECT_EQ(t.keywordNumber("time"), -1);
  EXPECT_EQ(t.keywordNumber(""), -1);
  EXPECT_EQ(t.like, "LIKE");
  EXPECT_EQ(t.andWord, "AND");
  EXPECT_EQ(t.orWord, "OR");
  EXPECT_EQ(t.notWord, "NOT");
  EXPECT_EQ(t.user, "USER");
  EXPECT_EQ(t.time, "TIME");
  EXPECT_EQ(t.nullWord, "NULL");
  EXPECT_EQ(t.currencyParts[0], "VALUE");
  EXPECT_EQ(t.currencyParts[2], "DATE");
  // Every catalog word equals the built-in one in the shipped catalog.
  for (int i = 0; i < zq::text::kKeywordCount; ++i)
    EXPECT_EQ(t.keywords[i], zq::text::builtInKeyword(i)) << i;
  EXPECT_EQ(zq::text::builtInKeyword(47), nullptr);
  EXPECT_EQ(zq::text::builtInKeyword(-1), nullptr);
}

TEST(KeywordTables, BuiltOnceForAllThreads) {
  std::vector<const KeywordTables*> seen(8);
  std::vector<std::thread> threads;
  for (size_t i = 0; i < seen.size(); ++i)
    threads.emplace_back([&seen, i] { seen[i] = &keywordTables(); });
  for (auto& t : threads) t.join();
  for (const auto* p : seen) EXPECT_EQ(p, &keywordTables());
}

}  // namespace
