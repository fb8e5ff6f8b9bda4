// Mutated texts fed to every text decoder: no crash, no leak (ASan), no read
// past the text, and every failure is one numbered ERROR entry.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "support/session.h"
#include "unit/text/qualtext_support.h"

namespace {

using zqtest::Session;
using zqtest::Status;

const std::vector<std::string> kQualifierSeeds = {
    R"(1\4\1\1\7\2\2\3\4\1\1\8\2\4\3\abc\)",
    R"(2\1\4\1\1\1\2\4\3\abc\4\8\1\2\5\2\12\16\3\1.5\3\EUR\0\0\\9\1\2\0aff\3\4\1\53\1\F\1\s\8\2\4\2\1\1\2\3\1.5\2\41\1\1\2\)",
    R"(4\4\3\6\1\4\2\3\2.5\)",
    R"(4\2\3\5\1\1\2\2\-7\1\2\)",
    R"(4\1\55\9\1\2\12\21\1\2\0\\7\1\1\3\3\JPY\\)",
    R"(4\1\6\9\4\USD\2\11\3\1\2\3\4\)",
    R"(4\3\4\2\2\2\7\1700000000\)",
    R"(4\1\1\1\2\11\3\2\name\2\ab5c\)",
    R"(4\6\52\3\2\0\)",
    R"(5\42\)",
};

const std::vector<std::string> kAssignSeeds = {
    R"(101\4\3\abc\)",
    R"(102\3\srv\4\Form\4\2 1\0\1\2\)",
    R"(102\0\\1\@\1\8\4\1\1\1\1\2\4\7\)",
    R"(102\1\s\1\F\6\12\4\CHF\0\2\3\)",
    R"(103\6\ls -la\)",
    R"(104\1\101\2\1\104\6\101\2\2\)",
    R"(105\21\2\101\4\2\ab\101\2\5\)",
    R"(106\5\Excel\6\Sheet1\3\0\\0\\4\R1C1\)",
    R"(107\3\srv\8\SELECT 1\1\2\4\)",
    R"(108\6\Plugin\1\101\4\2\in\0\)",
    R"(4\hello world)",
    R"(12\3.50)",
};

const std::vector<std::string> kValueSeeds = {
    R"(2\-5\)",       R"(4\3\abc\)",   R"(12\16\3\1.5\3\EUR\0\0\\)",
    R"(9\1\2\0aff\)", R"(41\1\1\2\)",  R"(11\3\2\name\2\ab5c\)",
    R"(3\2.5\)",      R"(10\4\-1.5\)", R"(7\1700000000\)",
};

const std::vector<std::string> kHistorySeeds = {
    "\x03"
    "17\x04"
    "Demo\x03\x03",
    "5\x04u\x03"};
const std::vector<std::string> kDiarySeeds = {
    "1\x04"
    "a\x04x\x03"
    "2\x04"
    "b\x04y y\x03"};

std::string mutate(const std::string& seed, std::mt19937& rng) {
  static const char kAlphabet[] = "\\0123456789-. \x03\x04xa";
  std::string s = seed;
  int edits = 1 + static_cast<int>(rng() % 4);
  for (int e = 0; e < edits; ++e) {
    size_t pos = s.empty() ? 0 : rng() % s.size();
    switch (rng() % 7) {
      case 0:  // replace a byte
        if (!s.empty()) s[pos] = kAlphabet[rng() % (sizeof kAlphabet - 1)];
        break;
      case 1:  // insert a byte
        s.insert(s.begin() + static_cast<long>(pos), kAlphabet[rng() % (sizeof kAlphabet - 1)]);
        break;
      case 2:  // delete a run
        s.erase(pos, 1 + rng() % 6);
        break;
      case 3:  // truncate
        s.resize(pos);
        break;
      case 4:  // duplicate a run
        s.insert(pos, s.substr(rng() % (s.size() + 1), 1 + rng() % 12));
        break;
      case 5:  // a huge number where a count may be
        s.insert(pos, std::to_string(rng()));
        break;
      default:  // a random byte other than NUL
        if (!s.empty()) s[pos] = static_cast<char>(1 + rng() % 255);
        break;
    }
  }
  return s;
}

// The text in a block of exactly its size, so that ASan sees any read past it.
struct ExactText {
  char* p;
  explicit ExactText(const std::string& s) : p(static_cast<char*>(malloc(s.size() + 1))) {
    memcpy(p, s.c_str(), s.size() + 1);
  }
  ~ExactText() { free(p); }
};

void expectCleanOutcome(int rc, const Status& status, const std::string& text) {
  ASSERT_TRUE(rc == 0 || rc == 1 || rc == 2) << rc << " for " << testing::PrintToString(text);
  if (rc == 2) {
    ASSERT_EQ(status.count, 1u) << testing::PrintToString(text);
    EXPECT_EQ(status.items[0].messageType, 2u);
    EXPECT_GT(status.items[0].messageNumber, 0);
  }
  if (rc == 1) {
    EXPECT_TRUE(status.has(8036));
  }
}

TEST(QualTextFuzz, MutatedTextsFailCleanly) {
  Session session;
  std::mt19937 rng(20240601);
  const int rounds = 10000;
  int failures = 0, successes = 0;
  for (int i = 0; i < rounds; ++i) {
    {
      std::string text = mutate(kQualifierSeeds[i % kQualifierSeeds.size()], rng);
      ExactText exact(text);
      ZQQualifierStruct q;
      q.operation = 99;
      Status status;
      int rc = ZQDecodeZQQualifierStruct(session.control(), exact.p, &q, &status);
      expectCleanOutcome(rc, status, text);
      if (rc == 2) {
        EXPECT_EQ(q.operation, 0u);
        ++failures;
      } else {
        ++successes;
      }
      FreeZQQualifierStruct(&q, 0);
      // The same text counted in a character set takes the other path.
      Status status2;
      rc = ZQDecodeZQQualifierStructC(session.control(), 65, exact.p, &q, &status2);
      expectCleanOutcome(rc, status2, text);
      FreeZQQualifierStruct(&q, 0);
    }
    {
      std::string text = mutate(kAssignSeeds[i % kAssignSeeds.size()], rng);
      ExactText exact(text);
      ZQAssignStruct a;
      a.assignType = 99;
      Status status;
      int rc = ZQDecodeZQAssignStruct(session.control(), exact.p, &a, &status);
      expectCleanOutcome(rc, status, text);
      if (rc == 2) {
        EXPECT_EQ(a.assignType, 0u);
      }
      FreeZQAssignStruct(&a, 0);
    }
    {
      std::string text = mutate(kValueSeeds[i % kValueSeeds.size()], rng);
      ExactText exact(text);
      const char* cursor = exact.p;
      ZQValueStruct v;
      int rc = ZQDecodeValueText(&cursor, &v);
      EXPECT_TRUE(rc == 0 || rc == 402 || rc == 110) << rc;
      EXPECT_TRUE(cursor >= exact.p && cursor <= exact.p + text.size());
      FreeZQValueStruct(&v, 0);
    }
    {
      std::string text = mutate(kHistorySeeds[i % kHistorySeeds.size()], rng);
      ExactText exact(text);
      ZQStatusHistoryList list;
      Status status;
      int rc = ZQDecodeStatusHistory(session.control(), exact.p, &list, &status);
      expectCleanOutcome(rc, status, text);
      if (rc == 2) {
        EXPECT_EQ(status.items[0].messageNumber, 340);
      }
      FreeZQStatusHistoryList(&list, 0);
    }
    {
      std::string text = mutate(kDiarySeeds[i % kDiarySeeds.size()], rng);
      ExactText exact(text);
      ZQDiaryList list;
      Status status;
      int rc = ZQDecodeDiary(session.control(), exact.p, &list, &status);
      expectCleanOutcome(rc, status, text);
      if (rc == 2) {
        EXPECT_EQ(status.items[0].messageNumber, 339);
      }
      FreeZQDiaryList(&list, 0);
    }
  }
  // The mutations must reach both outcomes, or the test proves little.
  EXPECT_GT(failures, rounds / 10);
  EXPECT_GT(successes, rounds / 20);
}

// Whatever a decoder accepts is a tree the encoder can write again (once it
// passes the checks) and that decodes back to itself.
TEST(QualTextFuzz, AcceptedTextsReencodeStably) {
  Session session;
  std::mt19937 rng(7);
  int reencoded = 0;
  for (int i = 0; i < 2000; ++i) {
    std::string text = mutate(kQualifierSeeds[i % kQualifierSeeds.size()], rng);
    ZQQualifierStruct q{};
    Status status;
    if (ZQDecodeZQQualifierStruct(session.control(), text.c_str(), &q, &status) >= 2) continue;
    char* again = nullptr;
    Status status2;
    if (ZQEncodeZQQualifierStruct(session.control(), &q, &again, &status2) == 0 && again) {
      ZQQualifierStruct back{};
      Status status3;
      EXPECT_EQ(ZQDecodeZQQualifierStruct(session.control(), again, &back, &status3), 0) << again;
      EXPECT_EQ(qt::diffQualifiers(&q, &back), "") << again;
      FreeZQQualifierStruct(&back, 0);
      ++reencoded;
    }
    ZQFree(again);
    FreeZQQualifierStruct(&q, 0);
  }
  EXPECT_GT(reencoded, 50);
}

}  // namespace
