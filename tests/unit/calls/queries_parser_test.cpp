// The entry list text parsers: every value form, malformed streams, running
// out of memory, and truncated or mutated streams.
#include <gtest/gtest.h>

#include <random>
#include <string>

#include "calls/entry_list_text.h"
#include "frame/alloc.h"
#include "zqapi/zq_free.h"

using zq::calls::parseEntryListText;
using zq::calls::parseMultiSchemaText;
using zq::calls::ParseResult;

namespace {

// Two entries, columns 1, 8, 536870913 (integer), 536870914 (real),
// 536870915 (byte list), 536870916 (attachment); the second entry is a
// join entry and has a null text, an empty real and an empty byte list.
const std::string kText =
    "2\n7\n6\n1\n8\n536870913\n536870914\n536870915\n536870916\n"
    "000000000000001\n"
    "4\\5\\hello\\2\\3\\-42\\3\\12\\P/gAAAAAAAA=\\9\\7\\1\\3\\a\\c\\11\\12\\10;4;a b.txt\\"
    "000000000000002|000000000000009\n"
    "0\\0\\\\2\\1\\7\\3\\0\\\\9\\4\\0\\0\\\\0\\0\\\\";

struct Owned : ZQEntryListFieldValueList {
  Owned() : ZQEntryListFieldValueList{0, nullptr} {}
  ~Owned() { FreeZQEntryListFieldValueList(this, 0); }
};

ParseResult parse(const std::string& text, ZQEntryListFieldValueList* out, uint32_t* matches) {
  return parseEntryListText(text.data(), text.size(), {}, out, matches);
}

}  // namespace

TEST(EntryListText, EveryValueForm) {
  Owned out;
  uint32_t matches = 0;
  ParseResult r = parse(kText, &out, &matches);
  ASSERT_TRUE(r.ok()) << r.message << " " << (r.detail ? r.detail : "");
  EXPECT_EQ(matches, 7u);
  ASSERT_EQ(out.count, 2u);

  const ZQEntryListFieldValueStruct& a = out.items[0];
  ASSERT_EQ(a.entryId.count, 1u);
  EXPECT_STREQ(a.entryId.items[0], "000000000000001");
  const ZQFieldValueList& v = *a.fieldValues;
  ASSERT_EQ(v.count, 6u);
  EXPECT_EQ(v.items[0].fieldId, 1u);  // field 1 repeats the id line
  EXPECT_STREQ(v.items[0].value.u.charValue, "000000000000001");
  EXPECT_STREQ(v.items[1].value.u.charValue, "hello");
  EXPECT_EQ(v.items[2].value.u.integerValue, -42);
  EXPECT_EQ(v.items[3].value.dataType, (uint32_t)ZQ_DATA_TYPE_REAL);
  EXPECT_DOUBLE_EQ(v.items[3].value.u.realValue, 1.5);
  const ZQByteList* bytes = v.items[4].value.u.byteListValue;
  ASSERT_NE(bytes, nullptr);
  EXPECT_EQ(bytes->type, 1u);
  EXPECT_EQ(std::string(reinterpret_cast<char*>(bytes->bytes), bytes->count), "a\\c");
  const ZQAttachStruct* att = v.items[5].value.u.attachmentValue;
  ASSERT_NE(att, nullptr);
  EXPECT_EQ(att->originalSize, 10);
  EXPECT_EQ(att->compressedSize, 4);
  EXPECT_STREQ(att->name, "a b.txt");

  const ZQEntryListFieldValueStruct& b = out.items[1];
  ASSERT_EQ(b.entryId.count, 2u);
  EXPECT_STREQ(b.entryId.items[1], "000000000000009");
  const ZQFieldValueList& w = *b.fieldValues;
  EXPECT_STREQ(w.items[0].value.u.charValue, "000000000000002|000000000000009");
  EXPECT_EQ(w.items[1].value.dataType, (uint32_t)ZQ_DATA_TYPE_NULL);
  EXPECT_EQ(w.items[2].value.u.integerValue, 7);
  EXPECT_EQ(w.items[3].value.u.realValue, 0.0);  // an empty real is 0.0
  EXPECT_EQ(w.items[4].value.u.byteListValue->count, 0u);
  EXPECT_EQ(w.items[5].value.dataType, (uint32_t)ZQ_DATA_TYPE_NULL);
}

TEST(EntryListText, EmptyTextAndNoEntries) {
  Owned out;
  uint32_t matches = 5;
  EXPECT_TRUE(parse("", &out, &matches).ok());
  EXPECT_EQ(out.count, 0u);
  EXPECT_EQ(matches, 0u);
  EXPECT_TRUE(parse("0\n12\n1\n8\n", &out, &matches).ok());
  EXPECT_EQ(out.count, 0u);
  EXPECT_EQ(matches, 12u);
}

TEST(EntryListText, MalformedStreamsFailWithNothingReturned) {
  struct Case {
    const char* why;
    std::string text;
  } cases[] = {
      {"more entries than the text holds", "3\n3\n1\n8\n1\n4\\1\\a\\2\n4\\1\\b\\"},
      {"fewer columns than announced", "1\n1\n4\n8\n9\n"},
      {"a length past the end", "1\n1\n1\n8\n1\n4\\50\\abc\\"},
      {"a length without its separator", "1\n1\n1\n8\n1\n4\\3\\abc"},
      {"an undecodable real", "1\n1\n1\n8\n1\n3\\4\\AAAA\\"},
      {"an unknown data type", "1\n1\n1\n8\n1\n77\\1\\a\\"},
      {"a letter in an integer", "1\n1\n1\n8\n1\n2\\2\\4x\\"},
      {"a count that is no number", "x\n1\n1\n8\n"},
      {"a huge count", "99999999999\n1\n1\n8\n"},
      {"a byte list shorter than its count", "1\n1\n1\n8\n1\n9\\6\\1\\9\\ab\\"},
      {"an attachment without sizes", "1\n1\n1\n8\n1\n11\\3\\abc\\"},
      {"an entry without its id line", "1\n1\n1\n1\n"},
      // Numbers beyond one 32-bit word are refused, never wrapped.
      {"an integer below the signed range", "1\n1\n1\n8\n1\n2\\11\\-2147483649\\"},
      {"an integer above the signed range", "1\n1\n1\n8\n1\n2\\10\\4294967295\\"},
      {"a time one past the signed range", "1\n1\n1\n8\n1\n7\\10\\2147483648\\"},
      {"a bitmask above 32 bits", "1\n1\n1\n8\n1\n8\\10\\4294967296\\"},
  };
  for (const Case& c : cases) {
    Owned out;
    uint32_t matches = 9;
    ParseResult r = parse(c.text, &out, &matches);
    EXPECT_EQ(r.message, 9009) << c.why;
    EXPECT_NE(r.detail, nullptr) << c.why;
    EXPECT_EQ(out.count, 0u) << c.why;
    EXPECT_EQ(out.items, nullptr) << c.why;
    EXPECT_EQ(matches, 0u) << c.why;
  }
}

TEST(EntryListText, NumbersAtTheEdgesOfTheirWord) {
  Owned out;
  ASSERT_TRUE(
      parse("1\n1\n2\n8\n9\n1\n2\\11\\-2147483648\\8\\10\\4294967295\\", &out, nullptr).ok());
  EXPECT_EQ(out.items[0].fieldValues->items[0].value.u.integerValue, INT32_MIN);
  EXPECT_EQ(out.items[0].fieldValues->items[1].value.u.bitmaskValue, UINT32_MAX);
}

// Columns of field 1 take no text but cost a value in every entry: a few
// bytes announcing 6,000 entries of 6,000 such columns must be refused
// before they become gigabytes (and quickly: the parse stays linear).
TEST(EntryListText, ColumnsWithoutTextCannotAmplifyTheResult) {
  std::string text = "6000\n6000\n6000\n";
  for (int i = 0; i < 6000; ++i) text += "1\n";
  for (int i = 0; i < 6000; ++i) text += "000000000000001\n";
  Owned out;
  ParseResult r = parseEntryListText(text.data(), text.size(), {}, &out, nullptr, 64u << 20);
  EXPECT_EQ(r.message, 9009);
  EXPECT_EQ(out.count, 0u);
  // The same shape within the bound parses.
  std::string small = "20\n20\n3\n1\n1\n1\n";
  for (int i = 0; i < 20; ++i) small += "000000000000001\n";
  ASSERT_TRUE(parse(small, &out, nullptr).ok());
  EXPECT_EQ(out.count, 20u);
}

TEST(EntryListText, RunningOutOfMemoryReturnsNothing) {
  // Every allocation of the parse fails in turn; each gives 154 and an
  // empty list (ASan checks that nothing leaks).
  for (long n = 0;; ++n) {
    Owned out;
    zq::testing::failAllocationsAfter(n);
    ParseResult r = parse(kText, &out, nullptr);
    const long failed = zq::testing::failedAllocations();
    zq::testing::failAllocationsAfter(-1);
    if (failed == 0) {
      EXPECT_TRUE(r.ok());
      EXPECT_EQ(out.count, 2u);
      EXPECT_GT(n, 10);
      break;
    }
    EXPECT_EQ(r.message, 154) << n;
    EXPECT_EQ(out.count, 0u) << n;
    EXPECT_EQ(out.items, nullptr) << n;
  }
}

TEST(EntryListText, TruncatedAndMutatedStreamsNeverCrash) {
  // Every prefix of a valid stream is either refused with nothing returned
  // or parses (when it ends on a boundary the counts still allow).
  for (size_t n = 1; n < kText.size(); ++n) {
    Owned out;
    ParseResult r = parse(kText.substr(0, n), &out, nullptr);
    if (!r.ok()) {
      EXPECT_EQ(r.message, 9009) << n;
      EXPECT_EQ(out.count, 0u) << n;
    }
  }
  std::mt19937 random(2024);
  const char alphabet[] = "0123456789\\\n|;-=+/Ax";
  for (int round = 0; round < 3000; ++round) {
    std::string text = kText;
    const int edits = 1 + static_cast<int>(random() % 4);
    for (int e = 0; e < edits; ++e) {
      const size_t at = random() % text.size();
      switch (random() % 3) {
        case 0:
          text[at] = alphabet[random() % (sizeof alphabet - 1)];
          break;
        case 1:
          text.erase(at, 1 + random() % 3);
          break;
        default:
          text.insert(at, 1, alphabet[random() % (sizeof alphabet - 1)]);
          break;
      }
      if (text.empty()) text = "0";
    }
    Owned out;
    ParseResult r = parse(text, &out, nullptr);
    if (!r.ok()) {
      EXPECT_EQ(out.count, 0u);
      EXPECT_EQ(out.items, nullptr);
    }
  }
}

TEST(MultiSchemaText, RowsCarryTheirColumnsAliasAndField) {
  const std::string text =
      "2\n2\n2\n8\\p\n536870913\\team alias\n"
      "4\\3\\Ada\\2\\1\\1\\"
      "4\\3\\Bob\\0\\0\\\\";
  ZQMultiSchemaFieldValueListList out{};
  uint32_t matches = 0;
  ASSERT_TRUE(parseMultiSchemaText(text.data(), text.size(), {}, &out, &matches).ok());
  EXPECT_EQ(matches, 2u);
  ASSERT_EQ(out.count, 2u);
  ASSERT_EQ(out.items[0].count, 2u);
  EXPECT_STREQ(out.items[0].items[0].fieldId.queryFromAlias, "p");
  EXPECT_EQ(out.items[0].items[0].fieldId.fieldId, 8u);
  EXPECT_STREQ(out.items[0].items[0].value.u.charValue, "Ada");
  EXPECT_STREQ(out.items[0].items[1].fieldId.queryFromAlias, "team alias");
  EXPECT_EQ(out.items[0].items[1].value.u.integerValue, 1);
  EXPECT_EQ(out.items[1].items[1].value.dataType, (uint32_t)ZQ_DATA_TYPE_NULL);
  FreeZQMultiSchemaFieldValueListList(&out, 0);

  // Cut anywhere, the stream is refused or parses; nothing leaks.
  for (size_t n = 1; n < text.size(); ++n) {
    ParseResult r = parseMultiSchemaText(text.data(), n, {}, &out, nullptr);
    if (!r.ok()) {
      EXPECT_EQ(out.count, 0u) << n;
    }
    FreeZQMultiSchemaFieldValueListList(&out, 0);
  }
}
