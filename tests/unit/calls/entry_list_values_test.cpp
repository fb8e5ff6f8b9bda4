// Entry list values written by hand from the value table, one row per data
// type and the awkward values of each: both parsers (plain and multi-form)
// read every row into the expected value, and zqserverd's writers produce
// the same bytes for the rows in the form the server writes.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "calls/entry_list_text.h"
#include "frame/alloc.h"
#include "query_engine.h"
#include "query_text.h"
#include "unit/model/dump.h"
#include "zqapi/zq_copy.h"
#include "zqapi/zq_free.h"

using namespace std::string_literals;
using zq::calls::ParseResult;

namespace {

constexpr ZQInternalId kValueColumn = 536870913;
constexpr ZQInternalId kCheckColumn = 536870914;  // the integer 7 after every value

ZQValueStruct number(uint32_t type, int32_t n) {
  ZQValueStruct v{};
  v.dataType = type;
  v.u.integerValue = n;
  return v;
}
ZQValueStruct real(double d) {
  ZQValueStruct v{};
  v.dataType = ZQ_DATA_TYPE_REAL;
  v.u.realValue = d;
  return v;
}
ZQValueStruct text(uint32_t type, const char* s) {
  ZQValueStruct v{};
  v.dataType = type;
  v.u.charValue = const_cast<char*>(s);
  return v;
}
ZQValueStruct bytes(ZQByteList* list) {
  ZQValueStruct v{};
  v.dataType = ZQ_DATA_TYPE_BYTES;
  v.u.byteListValue = list;
  return v;
}
ZQValueStruct attachment(ZQAttachStruct* a) {
  ZQValueStruct v{};
  v.dataType = ZQ_DATA_TYPE_ATTACH;
  v.u.attachmentValue = a;
  return v;
}
ZQValueStruct currency(ZQCurrencyStruct* c) {
  ZQValueStruct v{};
  v.dataType = ZQ_DATA_TYPE_CURRENCY;
  v.u.currencyValue = c;
  return v;
}

unsigned char kOddBytes[] = {0x00, 0x5C, 0xFF, 0x0A};
ZQByteList kByteList{1, 4, kOddBytes};
ZQByteList kNoBytes{0, 0, nullptr};
ZQAttachStruct kAttachment{const_cast<char*>("a;b\\c.txt"), 10, 4, {}};
ZQAttachStruct kUnsizedAttachment{const_cast<char*>("x"), -1, 0, {}};
ZQCurrencyStruct kDollars{const_cast<char*>("1.50"), "USD", 1700000000, {0, nullptr}};
ZQFunctionalCurrencyStruct kTwoFunctional[2] = {{const_cast<char*>("11.00"), "EUR"},
                                                {const_cast<char*>("9"), "GBP"}};
ZQCurrencyStruct kConverted{const_cast<char*>("12.50"), "USD", 1700000000, {2, kTwoFunctional}};
ZQCurrencyStruct kBare{const_cast<char*>("0"), "", 0, {0, nullptr}};

struct Case {
  const char* what;
  std::string value;  // "type\length\" + the value bytes + the separator
  ZQValueStruct expected;
  bool serverForm;  // the very bytes zqserverd writes for the value
};

// Lengths counted by hand; every row is one value of the table.
const std::vector<Case>& cases() {
  static const std::vector<Case> table = {
      {"null", "0\\0\\\\", ZQValueStruct{}, true},
      {"keyword", "1\\2\\37\\", number(ZQ_DATA_TYPE_KEYWORD, 37), true},
      {"date", "13\\7\\2460000\\", number(ZQ_DATA_TYPE_DATE, 2460000), true},
      {"integer, lowest", "2\\11\\-2147483648\\", number(ZQ_DATA_TYPE_INTEGER, INT32_MIN), true},
      {"integer, highest", "2\\10\\2147483647\\", number(ZQ_DATA_TYPE_INTEGER, INT32_MAX), true},
      {"integer, empty", "2\\0\\\\", number(ZQ_DATA_TYPE_INTEGER, 0), false},
      {"enumerated", "6\\1\\3\\", number(ZQ_DATA_TYPE_ENUM, 3), true},
      {"timestamp", "7\\10\\1700000000\\", number(ZQ_DATA_TYPE_TIME, 1700000000), true},
      {"bitmask, every bit", "8\\10\\4294967295\\", number(ZQ_DATA_TYPE_BITMASK, -1), true},
      {"time of day", "14\\5\\86399\\", number(ZQ_DATA_TYPE_TIME_OF_DAY, 86399), true},
      {"real", "3\\12\\P7mZmZmZmZo=\\", real(0.1), true},
      {"real, negative", "3\\12\\v/gAAAAAAAA=\\", real(-1.5), true},
      {"real, a line feed inside", "3\\13\\P7mZm\nZmZmZo=\\", real(0.1), false},
      {"real, other characters inside", "3\\16\\P7mZ*mZmZ\r\nmZo= \\", real(0.1), false},
      {"real, unpadded", "3\\11\\P7mZmZmZmZo\\", real(0.1), false},
      {"real, empty", "3\\0\\\\", real(0.0), false},
      {"character with separators, a line feed and a value header", "4\\12\\a\\b\n4\\3\\xyz\\\\",
       text(ZQ_DATA_TYPE_CHAR, "a\\b\n4\\3\\xyz\\"), true},
      {"character, empty", "4\\0\\\\", text(ZQ_DATA_TYPE_CHAR, ""), true},
      {"character, an entry's worth of text", "4\\24\\2\n1\n1\n8\n000000000000007\n\\",
       text(ZQ_DATA_TYPE_CHAR, "2\n1\n1\n8\n000000000000007\n"), true},
      {"diary", "5\\8\\line1\nl2\\", text(ZQ_DATA_TYPE_DIARY, "line1\nl2"), true},
      {"decimal", "10\\7\\-12.345\\", text(ZQ_DATA_TYPE_DECIMAL, "-12.345"), true},
      {"view", "42\\11\\<b>x\\y</b>\n\\", text(ZQ_DATA_TYPE_VIEW, "<b>x\\y</b>\n"), true},
      {"display", "43\\3\\a|b\\", text(ZQ_DATA_TYPE_DISPLAY, "a|b"), true},
      {"byte list with NUL, backslash, 0xFF and a line feed", "9\\8\\1\\4\\\x00\\\xff\n\\"s,
       bytes(&kByteList), true},
      {"byte list, empty", "9\\4\\0\\0\\\\", bytes(&kNoBytes), true},
      {"attachment, a name with ';' and a backslash", "11\\14\\10;4;a;b\\c.txt\\",
       attachment(&kAttachment), true},
      {"attachment, a negative size", "11\\6\\-1;0;x\\", attachment(&kUnsizedAttachment), true},
      {"currency, no functional currencies", "12\\26\\4\\1.50\\3\\USD\\1700000000\\0\\\\",
       currency(&kDollars), true},
      {"currency, two functional currencies",
       "12\\51\\5\\12.50\\3\\USD\\1700000000\\2\\5\\11.00\\3\\EUR\\1\\9\\3\\GBP\\\\",
       currency(&kConverted), true},
      {"currency, no code and no date", "12\\11\\1\\0\\0\\\\0\\0\\\\", currency(&kBare), true},
  };
  return table;
}

// One entry; the value in the first column, the integer 7 in the second
// shows that the value ended where its length said.
std::string plainStream(const std::string& value) {
  return "1\n1\n2\n536870913\n536870914\n000000000000001\n" + value + "2\\1\\7\\";
}
std::string multiStream(const std::string& value) {
  return "1\n1\n2\n536870913\\a\n536870914\\a\n" + value + "2\\1\\7\\";
}

std::string dumpOf(const ZQValueStruct& v) {
  return zqtest::dump(v);
}

// The row zqserverd would query: the value and the integer 7.
zqserver::Row rowOf(const ZQValueStruct& value) {
  zqserver::Row row;
  row.id = "000000000000001";
  row.values.items = static_cast<ZQFieldValueStruct*>(ZQCalloc(2, sizeof(ZQFieldValueStruct)));
  row.values.count = 2;
  row.values.items[0].fieldId = kValueColumn;
  EXPECT_EQ(ZQCopyValueStruct(&row.values.items[0].value, &value), 0);
  row.values.items[1].fieldId = kCheckColumn;
  row.values.items[1].value = number(ZQ_DATA_TYPE_INTEGER, 7);
  return row;
}

}  // namespace

TEST(EntryListValues, EveryTypeParsesAsWrittenByHand) {
  for (const Case& c : cases()) {
    SCOPED_TRACE(c.what);
    const std::string plain = plainStream(c.value);
    ZQEntryListFieldValueList entries{0, nullptr};
    uint32_t matches = 0;
    ParseResult r =
        zq::calls::parseEntryListText(plain.data(), plain.size(), {}, &entries, &matches);
    ASSERT_TRUE(r.ok()) << r.message << " " << (r.detail ? r.detail : "");
    EXPECT_EQ(matches, 1u);
    ASSERT_EQ(entries.count, 1u);
    const ZQFieldValueList* values = entries.items[0].fieldValues;
    ASSERT_EQ(values->count, 2u);
    EXPECT_EQ(values->items[0].fieldId, kValueColumn);
    EXPECT_EQ(dumpOf(values->items[0].value), dumpOf(c.expected));
    EXPECT_EQ(dumpOf(values->items[1].value), dumpOf(number(ZQ_DATA_TYPE_INTEGER, 7)));
    FreeZQEntryListFieldValueList(&entries, 0);

    const std::string multi = multiStream(c.value);
    ZQMultiSchemaFieldValueListList rows{0, nullptr};
    r = zq::calls::parseMultiSchemaText(multi.data(), multi.size(), {}, &rows, &matches);
    ASSERT_TRUE(r.ok()) << r.message << " " << (r.detail ? r.detail : "");
    ASSERT_EQ(rows.count, 1u);
    ASSERT_EQ(rows.items[0].count, 2u);
    EXPECT_STREQ(rows.items[0].items[0].fieldId.queryFromAlias, "a");
    EXPECT_EQ(rows.items[0].items[0].fieldId.fieldId, kValueColumn);
    EXPECT_EQ(dumpOf(rows.items[0].items[0].value), dumpOf(c.expected));
    EXPECT_EQ(rows.items[0].items[1].value.u.integerValue, 7);
    FreeZQMultiSchemaFieldValueListList(&rows, 0);
  }
}

TEST(EntryListValues, ServerWritesTheSameBytes) {
  for (const Case& c : cases()) {
    if (!c.serverForm) continue;
    SCOPED_TRACE(c.what);
    zqserver::QueryResult plain;
    plain.matches = 1;
    plain.rows.push_back(rowOf(c.expected));
    EXPECT_EQ(zqserver::entryListText(plain, {kValueColumn, kCheckColumn}), plainStream(c.value));

    zqserver::JoinResult joined;
    joined.matches = 1;
    joined.sources.emplace_back();
    joined.sources[0].push_back(rowOf(c.expected));
    joined.aliases = {"a"};
    joined.rows.push_back({{&joined.sources[0][0]}});
    ZQMultiSchemaFieldIdStruct columns[2]{};
    strcpy(columns[0].queryFromAlias, "a");
    columns[0].fieldId = kValueColumn;
    strcpy(columns[1].queryFromAlias, "a");
    columns[1].fieldId = kCheckColumn;
    EXPECT_EQ(zqserver::multiSchemaText(joined, {columns[0], columns[1]}), multiStream(c.value));
  }
}

TEST(EntryListValues, ServerWritesValuesItCannotCarryAsNull) {
  // A currency without an amount, and types outside the value table.
  ZQCurrencyStruct noAmount{nullptr, "USD", 0, {0, nullptr}};
  ZQValueStruct ulong{};
  ulong.dataType = ZQ_DATA_TYPE_ULONG;
  ulong.u.ulongValue = 5;
  for (const ZQValueStruct& v : {currency(&noAmount), ulong}) {
    std::string out;
    zqserver::appendValueText(out, &v);
    EXPECT_EQ(out, "0\\0\\\\");
  }
}

TEST(EntryListValues, MalformedValuesFailTheWholeParse) {
  // Each value is wrong in one way; the stream fails with 9009 and returns
  // nothing, also when the value sits after good ones.
  const char* malformed[] = {
      "3\\16\\P7mZmZmZmZmZmZo=\\",                             // more than eight bytes
      "3\\4\\AAAA\\",                                          // fewer than eight bytes
      "12\\25\\4\\1.50\\3\\USD\\1700000000\\0\\",              // the currency text cut short
      "12\\27\\4\\1.50\\3\\USD\\1700000000\\0\\x\\",           // text after the currency
      "12\\26\\4\\1.50\\3\\USD\\1700000000\\1\\\\",            // a functional currency missing
      "12\\27\\4\\1.50\\4\\USDX\\1700000000\\0\\\\",           // a code of four bytes
      "12\\33\\12\\26\\4\\1.50\\3\\USD\\1700000000\\0\\\\\\",  // a whole value, not its text
      "9\\7\\1\\4\\abc\\",                                     // a byte list shorter than its count
      "11\\5\\10;4x\\",  // an attachment without its second ';'
      "2\\3\\1-2\\",     // a sign inside an integer
  };
  for (const char* value : malformed) {
    SCOPED_TRACE(value);
    const std::string stream =
        "2\n2\n1\n536870913\n000000000000001\n2\\1\\5\\"
        "000000000000002\n" +
        std::string(value);
    ZQEntryListFieldValueList entries{0, nullptr};
    uint32_t matches = 9;
    ParseResult r =
        zq::calls::parseEntryListText(stream.data(), stream.size(), {}, &entries, &matches);
    EXPECT_EQ(r.message, 9009);
    EXPECT_EQ(entries.count, 0u);
    EXPECT_EQ(entries.items, nullptr);
    EXPECT_EQ(matches, 0u);
  }
}
