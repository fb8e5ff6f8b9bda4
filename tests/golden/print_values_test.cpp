// Trace-log lines of values, field values, status lists and packed lists,
// written by hand from the print formats.
#include <gtest/gtest.h>

#include <string>

#include "diag/print_visitor.h"

using zq::diag::printToString;

namespace {

ZQValueStruct integerValue(int32_t n) {
  ZQValueStruct v{};
  v.dataType = ZQ_DATA_TYPE_INTEGER;
  v.u.integerValue = n;
  return v;
}

ZQValueStruct textValue(uint32_t type, const char* text) {
  ZQValueStruct v{};
  v.dataType = type;
  v.u.charValue = const_cast<char*>(text);
  return v;
}

ZQValueStruct wordValue(uint32_t type, uint32_t word) {
  ZQValueStruct v{};
  v.dataType = type;
  v.u.ulongValue = word;
  return v;
}

}  // namespace

TEST(PrintValue, EveryTagOnItsLine) {
  ZQValueStruct real{};
  real.dataType = ZQ_DATA_TYPE_REAL;
  real.u.realValue = 1.5;
  ZQValueStruct nothing{};
  ZQValueStruct timestamp = integerValue(-7);
  timestamp.dataType = ZQ_DATA_TYPE_TIME;
  const struct {
    ZQValueStruct value;
    const char* printed;
  } cases[] = {
      {nothing, "Value: NULL\n"},
      {wordValue(ZQ_DATA_TYPE_KEYWORD, 3), "Value: (keyword) 3\n"},
      {integerValue(-5), "Value: (integer) -5\n"},
      {real, "Value: (real) 1.500000\n"},
      {textValue(ZQ_DATA_TYPE_CHAR, "abc"), "Value: (char) abc\n"},
      {textValue(ZQ_DATA_TYPE_CHAR, nullptr), "Value: (char)\n"},
      {wordValue(ZQ_DATA_TYPE_ENUM, 2), "Value: (enumerated) 2\n"},
      {timestamp, "Value: (timestamp) -7\n"},
      {wordValue(ZQ_DATA_TYPE_BITMASK, 6), "Value: (bitmask) 6\n"},
      {textValue(ZQ_DATA_TYPE_DECIMAL, "1.25"), "Value: (decimal) 1.25\n"},
      {wordValue(ZQ_DATA_TYPE_DATE, 2451545), "Value: (date) 2451545\n"},
      {wordValue(ZQ_DATA_TYPE_TIME_OF_DAY, 3600), "Value: (timeofday) 3600\n"},
      {wordValue(ZQ_DATA_TYPE_JOIN, 0), "Value: (join)\n"},
      {wordValue(ZQ_DATA_TYPE_TRIM, 0), "Value: (trim)\n"},
      {wordValue(ZQ_DATA_TYPE_CONTROL, 0), "Value: (control)\n"},
      {wordValue(ZQ_DATA_TYPE_PAGE, 0), "Value: (page)\n"},
      {wordValue(ZQ_DATA_TYPE_PAGE_HOLDER, 0), "Value: (pageholder)\n"},
      {wordValue(ZQ_DATA_TYPE_ATTACH_POOL, 0), "Value: (attachmentpool)\n"},
      {wordValue(ZQ_DATA_TYPE_ULONG, 4000000000u), "Value: (ulong) 4000000000\n"},
      {textValue(ZQ_DATA_TYPE_VIEW, "<html>"), "Value: (view) <html>\n"},
      {textValue(ZQ_DATA_TYPE_DISPLAY, "shown"), "Value: (display) shown\n"},
      {wordValue(99, 1), "Value: <undefined data type tag = 99>\n"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(printToString(c.value), c.printed) << "data type " << c.value.dataType;
}

TEST(PrintValue, PayloadStructures) {
  unsigned char bytes[] = {0xAB, 0x01, 0xFF};
  ZQByteList byteList{1, 3, bytes};
  ZQValueStruct v{};
  v.dataType = ZQ_DATA_TYPE_BYTES;
  v.u.byteListValue = &byteList;
  EXPECT_EQ(printToString(v), "Value: (bytelist) type - 1 with 3 bytes\nAB01FF\n");
  // (80 - prefix length) / 2 bytes a line: 38 with a prefix of four.
  unsigned char many[40];
  for (unsigned i = 0; i < 40; ++i) many[i] = static_cast<unsigned char>(i);
  ZQByteList manyList{2, 40, many};
  v.u.byteListValue = &manyList;
  EXPECT_EQ(printToString(v, "    "),
            "    Value: (bytelist) type - 2 with 40 bytes\n"
            "    000102030405060708090A0B0C0D0E0F101112131415161718191A1B1C1D1E1F2021222324"
            "25\n"
            "    2627\n");

  ZQCoordStruct points[] = {{1, 2}, {-3, 4}};
  ZQCoordList coords{2, points};
  v.dataType = ZQ_DATA_TYPE_COORDS;
  v.u.coordListValue = &coords;
  EXPECT_EQ(printToString(v), "Value: (coordlist)  2 items\n   x: 1, y: 2\n   x: -3, y: 4\n");

  ZQAttachStruct attachment{const_cast<char*>("a.txt"), 10, 5, {}};
  v.dataType = ZQ_DATA_TYPE_ATTACH;
  v.u.attachmentValue = &attachment;
  EXPECT_EQ(printToString(v),
            "Value: (attachment)\n   Original Size: 10\n   Compressed Size: 5\n   Name: a.txt\n");

  ZQFunctionalCurrencyStruct functional{const_cast<char*>("11.00"), "EUR"};
  ZQCurrencyStruct currency{const_cast<char*>("12.50"), "USD", 7, {1, &functional}};
  v.dataType = ZQ_DATA_TYPE_CURRENCY;
  v.u.currencyValue = &currency;
  EXPECT_EQ(printToString(v),
            "Value: (currency)\n"
            "   Value          : 12.50\n"
            "   Currency Code  : USD\n"
            "   Conversion Date: 7\n"
            "   Functional Currency List: 1 items\n"
            "      Functional Currency Struct:\n"
            "         Value          : 11.00\n"
            "         Currency Code  : EUR\n");
  currency.value = nullptr;
  currency.functionalCurrencies = {0, nullptr};
  EXPECT_EQ(printToString(v),
            "Value: (currency)\n"
            "   Value          : <null>\n"
            "   Currency Code  : USD\n"
            "   Conversion Date: 7\n"
            "   Functional Currency List: 0 items\n");
}

TEST(PrintValue, DiariesAndStatusHistoriesAreDecoded) {
  ZQValueStruct diary = textValue(ZQ_DATA_TYPE_DIARY,
                                  "100\x04Joe\x04hello\x03"
                                  "200\x04"
                                  "Ann\x04second line\x03");
  EXPECT_EQ(printToString(diary),
            "Value: (diary) 2 diary entries\n"
            " 100   Joe\n"
            "hello\n"
            " 200   Ann\n"
            "second line\n");
  ZQValueStruct broken = textValue(ZQ_DATA_TYPE_DIARY, "100\x04no terminator");
  const std::string printed = printToString(broken);
  EXPECT_EQ(printed.substr(0, printed.find("      Message:")),
            "Value: (diary)   DECODE DIARY FAILURE\n"
            "   Status List : 1 items\n"
            "   Status Struct :\n"
            "      Message type: ERROR\n"
            "      Message number: 339\n");

  // Field 15 holding a char value is the status history.
  ZQFieldValueStruct history{15, textValue(ZQ_DATA_TYPE_CHAR,
                                           "1000\x04"
                                           "Ann\x03\x03")};
  EXPECT_EQ(printToString(history),
            "Field Value Struct:\n"
            "   Field Id: 15\n"
            "   Value: 2 stat hist items\n"
            "    0 - 1000   Ann\n"
            "    1 - \n");
  ZQFieldValueStruct other{16, textValue(ZQ_DATA_TYPE_CHAR,
                                         "1000\x04"
                                         "Ann\x03")};
  EXPECT_EQ(printToString(other),
            "Field Value Struct:\n   Field Id: 16\n   Value: (char) 1000\x04"
            "Ann\x03\n");
}

TEST(PrintLists, ValueAndFieldValueLists) {
  ZQValueStruct values[] = {integerValue(1), textValue(ZQ_DATA_TYPE_CHAR, "two")};
  ZQValueList list{2, values};
  EXPECT_EQ(printToString(list, "  "),
            "  Value List: 2 items\n     Value: (integer) 1\n     Value: (char) two\n");
  ZQValueListList rows{1, &list};
  EXPECT_EQ(printToString(rows),
            "Value List List: 1 items\n"
            "   Value List: 2 items\n"
            "      Value: (integer) 1\n"
            "      Value: (char) two\n");

  ZQFieldValueStruct fields[] = {{1, integerValue(7)}, {8, textValue(ZQ_DATA_TYPE_CHAR, "hi")}};
  ZQFieldValueList fieldList{2, fields};
  ZQFieldValueListList entries{1, &fieldList};
  EXPECT_EQ(printToString(entries),
            "Field Value List List: 1 items\n"
            "   Field Value List: 2 items\n"
            "      Field Value Struct:\n"
            "         Field Id: 1\n"
            "         Value: (integer) 7\n"
            "      Field Value Struct:\n"
            "         Field Id: 8\n"
            "         Value: (char) hi\n");
  // A count without items prints the count and nothing more.
  ZQValueList broken{3, nullptr};
  EXPECT_EQ(printToString(broken), "Value List: 3 items\n");
}

TEST(PrintLists, StatusListsAtTheTopAndNested) {
  ZQStatusStruct items[] = {
      {ZQ_MESSAGE_ERROR, 102, const_cast<char*>("A name is required"), const_cast<char*>("Form")},
      {ZQ_MESSAGE_NOTE, 8914, nullptr, nullptr},
      {7, 1, const_cast<char*>(""), nullptr},
  };
  ZQStatusList status{3, items};
  std::string top;
  zq::diag::printStatusList(top, &status);
  EXPECT_EQ(top,
            "Status List: 3 items\n"
            "Status Struct:\n"
            "   Message type: ERROR\n"
            "   Message number: 102\n"
            "   Message: A name is required\n"
            "   Appended: Form\n"
            "Status Struct:\n"
            "   Message type: NOTE\n"
            "   Message number: 8914\n"
            "   Message:\n"
            "   Appended:\n"
            "Status Struct:\n"
            "   Message type: <unknown type = 7>\n"
            "   Message number: 1\n"
            "   Message:\n"
            "   Appended:\n");
  ZQStatusList one{1, items};
  EXPECT_EQ(printToString(one, "> "),
            "> Status List : 1 items\n"
            "> Status Struct :\n"
            ">    Message type: ERROR\n"
            ">    Message number: 102\n"
            ">    Message: A name is required\n"
            ">    Appended: Form\n");
  std::string none;
  zq::diag::printStatusList(none, nullptr);
  EXPECT_EQ(none, "Status List: 0 items\n");
}

TEST(PrintLists, PackedListsWrapBeforeColumn79) {
  ZQServerNameType servers[] = {"alpha", "beta", "gamma"};
  ZQServerNameList short3{3, servers};
  EXPECT_EQ(printToString(short3, "", "Server List:"), " Server List: (3)  alpha, beta, gamma\n");

  ZQInternalId ids[30];
  for (int i = 0; i < 30; ++i) ids[i] = 1000000 + i;
  ZQInternalIdList idList{30, ids};
  // " Field Id List: (30)  " is 22 characters; each id and ", " take 9.
  // Items follow while the line stays under 79: 22 + 6 * 9 = 76, then the
  // seventh would reach 85. The last blank becomes the line break.
  EXPECT_EQ(printToString(idList, "", "Field Id List:"),
            " Field Id List: (30)  1000000, 1000001, 1000002, 1000003, 1000004, 1000005,\n"
            "   1000006, 1000007, 1000008, 1000009, 1000010, 1000011, 1000012, 1000013,\n"
            "   1000014, 1000015, 1000016, 1000017, 1000018, 1000019, 1000020, 1000021,\n"
            "   1000022, 1000023, 1000024, 1000025, 1000026, 1000027, 1000028, 1000029\n");

  // Long names wrap at 271.
  ZQNameType names[3];
  for (int i = 0; i < 3; ++i) {
    memset(names[i], 'a' + i, 100);
    names[i][100] = '\0';
  }
  ZQNameList nameList{3, names};
  const std::string printed = printToString(nameList, "", "Schema List:");
  const std::string a(100, 'a'), b(100, 'b'), c(100, 'c');
  EXPECT_EQ(printed, " Schema List: (3)  " + a + ", " + b + ",\n   " + c + "\n");

  // A label of 82 characters or more stands alone, cut to 81.
  const std::string label(90, 'L');
  EXPECT_EQ(printToString(short3, "", label.c_str()),
            std::string(81, 'L') + "\n   (3)  alpha, beta, gamma\n");
}

TEST(PrintLists, DeepPrefixesRestartAtTheMargin) {
  ZQValueStruct values[] = {integerValue(1)};
  ZQValueList list{1, values};
  const std::string deep(40, '.');
  EXPECT_EQ(printToString(list, deep), deep + "Value List: 1 items\nValue: (integer) 1\n");
  const std::string shallow(39, '.');
  EXPECT_EQ(printToString(list, shallow),
            shallow + "Value List: 1 items\n" + shallow + "   Value: (integer) 1\n");
}
