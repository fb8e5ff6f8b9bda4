// Entry lists parsed while they inflate: pieces of text cut anywhere, large
// results and what the Free and Copy families do with them, failures
// half-way, broken streams.
#include <gtest/gtest.h>

#include <string>

#include "calls/entry_list_text.h"
#include "frame/alloc.h"
#include "platform/compress.h"
#include "zqapi/zq_copy.h"
#include "zqapi/zq_free.h"

using zq::calls::inflateEntryListText;
using zq::calls::inflateMultiSchemaText;
using zq::calls::parseEntryListText;
using zq::calls::ParseResult;

namespace {

// Every value form; the second entry is a join entry.
const std::string kSmall =
    "2\n7\n6\n1\n8\n536870913\n536870914\n536870915\n536870916\n"
    "000000000000001\n"
    "4\\5\\hello\\2\\3\\-42\\3\\12\\P/gAAAAAAAA=\\9\\7\\1\\3\\a\\c\\11\\12\\10;4;a b.txt\\"
    "000000000000002|000000000000009\n"
    "0\\0\\\\2\\11\\-2147483648\\3\\0\\\\9\\4\\0\\0\\\\0\\0\\\\";

struct Owned : ZQEntryListFieldValueList {
  Owned() : ZQEntryListFieldValueList{0, nullptr} {}
  ~Owned() { FreeZQEntryListFieldValueList(this, 0); }
};

std::string pack(const std::string& text) {
  zq::platform::ZBuffer z;
  if (zq::platform::compressBytes(text.data(), text.size(), z) != zq::platform::ZResult::ok)
    return {};
  std::string out(reinterpret_cast<char*>(z.data), z.size);
  zq::freeBlock(z.data);
  return out;
}

// A readable form of a result, to compare two results.
std::string dump(const ZQEntryListFieldValueList& list) {
  std::string out = std::to_string(list.count) + ":";
  for (uint32_t e = 0; e < list.count; ++e) {
    const ZQEntryListFieldValueStruct& entry = list.items[e];
    out += "[";
    for (uint32_t i = 0; i < entry.entryId.count; ++i) out += entry.entryId.items[i] + std::string("|");
    const ZQFieldValueList* values = entry.fieldValues;
    for (uint32_t k = 0; values && k < values->count; ++k) {
      const ZQValueStruct& v = values->items[k].value;
      out += " " + std::to_string(values->items[k].fieldId) + "=" + std::to_string(v.dataType) + ":";
      switch (v.dataType) {
        case ZQ_DATA_TYPE_CHAR:
          out += v.u.charValue;
          break;
        case ZQ_DATA_TYPE_INTEGER:
          out += std::to_string(v.u.integerValue);
          break;
        case ZQ_DATA_TYPE_REAL:
          out += std::to_string(v.u.realValue);
          break;
        case ZQ_DATA_TYPE_BYTES:
          out += std::to_string(v.u.byteListValue->type) + "/" +
                 std::string(reinterpret_cast<char*>(v.u.byteListValue->bytes),
                             v.u.byteListValue->count);
          break;
        case ZQ_DATA_TYPE_ATTACH:
          out += std::string(v.u.attachmentValue->name) + "/" +
                 std::to_string(v.u.attachmentValue->originalSize) + "/" +
                 std::to_string(v.u.attachmentValue->compressedSize);
          break;
        default:
          break;
      }
    }
    out += "]";
  }
  return out;
}

// entries entries of 10 columns (char, integer, real, bytes...); bad (when
// >= 0) spoils that entry's integer.
std::string largeText(int entries, int bad = -1) {
  std::string out = std::to_string(entries) + "\n" + std::to_string(entries) + "\n10\n";
  for (const char* c : {"1", "2", "4", "8", "536870913", "536870914", "536870915", "536870916",
                        "536870917", "7"})
    out += std::string(c) + "\n";
  for (int i = 0; i < entries; ++i) {
    char id[16];
    snprintf(id, sizeof id, "%015d", i + 1);
    const std::string text = "entry " + std::to_string(i) + " text";
    const std::string number = i == bad ? "1x" : std::to_string(i * 7);
    out += std::string(id) + "\n";
    out += "4\\4\\Demo\\";
    out += "4\\" + std::to_string(text.size()) + "\\" + text + "\\";
    out += "4\\0\\\\";
    out += "2\\" + std::to_string(number.size()) + "\\" + number + "\\";
    out += "3\\12\\P/gAAAAAAAA=\\";
    out += "9\\7\\1\\3\\x\\y\\";
    out += "11\\9\\5;3;f.txt\\";
    out += "0\\0\\\\";
    out += "6\\1\\" + std::to_string(i % 5) + "\\";
  }
  return out;
}

}  // namespace

// The window the text is read through is cut at every byte: mid-number,
// mid-value, between a backslash and its length, inside the id line. Every
// cut gives the result of the whole text.
TEST(EntryListStream, PiecesCutAnywhereGiveTheWholeResult) {
  Owned whole;
  uint32_t matches = 0;
  ASSERT_TRUE(parseEntryListText(kSmall.data(), kSmall.size(), {}, &whole, &matches).ok());
  const std::string expected = dump(whole);
  const std::string packed = pack(kSmall);
  for (size_t window = 1; window <= kSmall.size() + 1; ++window) {
    Owned out;
    uint32_t m = 0;
    ParseResult r =
        inflateEntryListText(packed.data(), packed.size(), {}, &out, &m, 1 << 20, window);
    ASSERT_TRUE(r.ok()) << window << ": " << r.message << " " << (r.detail ? r.detail : "");
    EXPECT_EQ(m, 7u);
    EXPECT_EQ(dump(out), expected) << window;
  }
  // The same for a large result, through a few odd windows.
  const std::string large = largeText(300);
  Owned big;
  ASSERT_TRUE(parseEntryListText(large.data(), large.size(), {}, &big, nullptr).ok());
  const std::string bigExpected = dump(big);
  const std::string bigPacked = pack(large);
  for (size_t window : {7, 64, 333, 4096}) {
    Owned out;
    ASSERT_TRUE(inflateEntryListText(bigPacked.data(), bigPacked.size(), {}, &out, nullptr,
                                     64 << 20, window)
                    .ok());
    EXPECT_EQ(dump(out), bigExpected) << window;
  }
}

TEST(EntryListStream, MultiSchemaRowsCutAnywhere) {
  const std::string text =
      "2\n2\n2\n8\\p\n536870913\\team alias\n"
      "4\\3\\Ada\\2\\1\\1\\"
      "4\\3\\Bob\\0\\0\\\\";
  const std::string packed = pack(text);
  for (size_t window = 1; window <= text.size(); ++window) {
    ZQMultiSchemaFieldValueListList out{};
    uint32_t matches = 0;
    ASSERT_TRUE(
        inflateMultiSchemaText(packed.data(), packed.size(), {}, &out, &matches, 1 << 20, window)
            .ok())
        << window;
    ASSERT_EQ(out.count, 2u);
    EXPECT_STREQ(out.items[0].items[1].fieldId.queryFromAlias, "team alias");
    EXPECT_STREQ(out.items[1].items[0].value.u.charValue, "Bob");
    EXPECT_EQ(out.items[0].items[1].value.u.integerValue, 1);
    FreeZQMultiSchemaFieldValueListList(&out, 0);
  }
}

// A large result is one the ordinary functions handle: values freed one by
// one, a value replaced by the caller's own, the item array grown, copies
// that outlive the original.
TEST(EntryListStream, LargeResultFreesAndCopiesLikeAnyOther) {
  const std::string text = largeText(300);
  const std::string packed = pack(text);
  ZQEntryListFieldValueList list{0, nullptr};
  ASSERT_TRUE(inflateEntryListText(packed.data(), packed.size(), {}, &list, nullptr).ok());
  ASSERT_EQ(list.count, 300u);
  const std::string expected = dump(list);

  ZQEntryListFieldValueList copy{0, nullptr};
  ASSERT_EQ(ZQCopyEntryListFieldValueList(&copy, &list), 0);
  EXPECT_EQ(dump(copy), expected);

  // The caller frees one value and puts its own in; frees a whole value list.
  ZQValueStruct& v = list.items[3].fieldValues->items[1].value;
  ZQFree(v.u.charValue);
  v.u.charValue = zq::dupString("mine");
  FreeZQFieldValueList(list.items[4].fieldValues, 1);
  list.items[4].fieldValues = nullptr;
  // A string of the result reallocated by the caller.
  char*& s = list.items[5].fieldValues->items[2].value.u.charValue;
  char* longer = static_cast<char*>(ZQRealloc(s, 64));
  ASSERT_NE(longer, nullptr);
  EXPECT_STREQ(longer, "entry 5 text");
  s = longer;
  // The item array grown by the caller still releases the values.
  auto* grown = static_cast<ZQEntryListFieldValueStruct*>(
      ZQRealloc(list.items, 400 * sizeof(ZQEntryListFieldValueStruct)));
  ASSERT_NE(grown, nullptr);
  list.items = grown;
  EXPECT_STREQ(list.items[3].fieldValues->items[1].value.u.charValue, "mine");
  FreeZQEntryListFieldValueList(&list, 0);
  EXPECT_EQ(list.count, 0u);

  // The copy outlives the original, and copies again.
  EXPECT_EQ(dump(copy), expected);
  ZQEntryListFieldValueList second{0, nullptr};
  ASSERT_EQ(ZQCopyEntryListFieldValueList(&second, &copy), 0);
  FreeZQEntryListFieldValueList(&copy, 0);
  EXPECT_EQ(dump(second), expected);
  FreeZQEntryListFieldValueList(&second, 0);

  // Released with freeStruct set.
  auto* heapList =
      static_cast<ZQEntryListFieldValueList*>(ZQCalloc(1, sizeof(ZQEntryListFieldValueList)));
  ASSERT_NE(heapList, nullptr);
  ASSERT_TRUE(parseEntryListText(text.data(), text.size(), {}, heapList, nullptr).ok());
  FreeZQEntryListFieldValueList(heapList, 1);
}

// A failure half-way through a large result returns nothing and keeps
// nothing (the sanitizer's leak check sees the rest).
TEST(EntryListStream, FailureHalfWayReleasesEverything) {
  const std::string bad = largeText(400, 250);
  for (size_t window : {size_t{0}, size_t{100}}) {
    Owned out;
    uint32_t matches = 3;
    const std::string packed = pack(bad);
    ParseResult r = inflateEntryListText(packed.data(), packed.size(), {}, &out, &matches, 64 << 20, window);
    EXPECT_EQ(r.message, 9009);
    EXPECT_STREQ(r.detail, "numeric value");
    EXPECT_EQ(out.count, 0u);
    EXPECT_EQ(out.items, nullptr);
    EXPECT_EQ(matches, 0u);
  }
  // Every allocation of a result fails in turn.
  const std::string text = largeText(30);
  const std::string packed = pack(text);
  for (long n = 0;; ++n) {
    Owned out;
    zq::testing::failAllocationsAfter(n);
    ParseResult r = inflateEntryListText(packed.data(), packed.size(), {}, &out, nullptr);
    const long failed = zq::testing::failedAllocations();
    zq::testing::failAllocationsAfter(-1);
    if (failed == 0) {
      EXPECT_TRUE(r.ok());
      EXPECT_EQ(out.count, 30u);
      break;
    }
    EXPECT_EQ(r.message, 154) << n;
    EXPECT_EQ(out.count, 0u) << n;
    EXPECT_EQ(out.items, nullptr) << n;
  }
}

TEST(EntryListStream, BrokenStreamsFailWithNothingReturned) {
  const std::string text = largeText(300);
  const std::string packed = pack(text);
  std::string flipped = packed;
  flipped[flipped.size() / 2] ^= 0x55;
  std::string badChecksum = packed;
  badChecksum[badChecksum.size() - 1] ^= 1;
  // Bytes after the last entry are ignored, but they count against the bound.
  const std::string padded = kSmall + std::string(5000, ' ');
  struct Case {
    const char* why;
    std::string bytes;
    size_t bound;
  } cases[] = {
      {"cut short", packed.substr(0, packed.size() / 2), 64 << 20},
      {"cut in its checksum", packed.substr(0, packed.size() - 2), 64 << 20},
      {"a byte changed", flipped, 64 << 20},
      {"a wrong checksum after the last entry", badChecksum, 64 << 20},
      {"no stream at all", "not compressed", 64 << 20},
      {"inflating beyond the bound", pack(padded), padded.size() - 1},
  };
  for (const Case& c : cases) {
    Owned out;
    uint32_t matches = 4;
    ParseResult r =
        inflateEntryListText(c.bytes.data(), c.bytes.size(), {}, &out, &matches, c.bound);
    EXPECT_TRUE(r.message == 160 || r.message == 9009) << c.why << " " << r.message;
    EXPECT_EQ(out.count, 0u) << c.why;
    EXPECT_EQ(out.items, nullptr) << c.why;
    EXPECT_EQ(matches, 0u) << c.why;
  }
  // Exactly at the bound the text parses.
  Owned out;
  const std::string packedPadded = pack(padded);
  EXPECT_TRUE(inflateEntryListText(packedPadded.data(), packedPadded.size(), {}, &out, nullptr,
                                   padded.size())
                  .ok());
  EXPECT_EQ(out.count, 2u);
  // An empty text (a zlib stream of no bytes) is an empty result.
  const unsigned char empty[] = {0x78, 0x9C, 0x03, 0x00, 0x00, 0x00, 0x00, 0x01};
  ZQEntryListFieldValueList none{0, nullptr};
  uint32_t matches = 8;
  EXPECT_TRUE(inflateEntryListText(empty, sizeof empty, {}, &none, &matches).ok());
  EXPECT_EQ(none.count, 0u);
  EXPECT_EQ(matches, 0u);
}

// A few compressed bytes announcing millions of entries: refused once the
// text runs out, the item array grown only as far as entries came.
TEST(EntryListStream, AnnouncedCountsAreNotTakenOnTrust) {
  std::string text = "3000000\n3000000\n1\n8\n";
  for (int i = 0; i < 10; ++i) text += "000000000000001\n4\\1\\a\\";
  const std::string packed = pack(text);
  Owned out;
  ParseResult r = inflateEntryListText(packed.data(), packed.size(), {}, &out, nullptr);
  EXPECT_EQ(r.message, 9009);
  EXPECT_EQ(out.count, 0u);
}
