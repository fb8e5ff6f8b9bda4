// Wire vectors of the core and qualification types, written by hand from the
// XDR rules: every word big-endian, names as fixed opaque fields padded to a
// multiple of 4, strings as length + bytes + padding, optional nodes behind a
// presence word.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/session.h"
#include "unit/model/dump.h"
#include "unit/model/fixtures.h"

namespace {

using namespace zqtest::fx;

// Hand-written wire bytes.
struct Wire {
  std::vector<char> b;
  Wire& w(uint32_t v) {
    for (int shift = 24; shift >= 0; shift -= 8) b.push_back(static_cast<char>(v >> shift));
    return *this;
  }
  Wire& raw(std::initializer_list<unsigned char> bytes) {
    for (unsigned char c : bytes) b.push_back(static_cast<char>(c));
    return *this;
  }
  // width bytes of text and zeros, then zeros up to a multiple of 4
  Wire& name(const std::string& text, size_t width) {
    std::string field = text;
    field.resize(width, '\0');
    field.resize((width + 3) / 4 * 4, '\0');
    b.insert(b.end(), field.begin(), field.end());
    return *this;
  }
  Wire& str(const std::string& text) {
    w(static_cast<uint32_t>(text.size()));
    std::string field = text;
    field.resize((text.size() + 3) / 4 * 4, '\0');
    b.insert(b.end(), field.begin(), field.end());
    return *this;
  }
};

class Golden : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(session_.initResult(), 0);
    session_.context()->clientCharset = 65;
    session_.context()->serverCharset = 65;
    zq::setCurrentContext(session_.context());
  }

  // Encodes to exactly the expected bytes, and the bytes decode to a
  // structure equal to the original.
  template <class T>
  void expectWire(const T& value, int version, const Wire& expected) {
    std::vector<char> wire;
    ASSERT_TRUE(zq::model::encodeToBuffer(value, version, wire));
    EXPECT_EQ(wire, expected.b);
    T decoded{};
    ASSERT_TRUE(
        zq::model::decodeFromBuffer(expected.b.data(), expected.b.size(), decoded, version));
    EXPECT_EQ(zqtest::dump(decoded, version), zqtest::dump(value, version));
    zq::model::release(decoded);
  }

  zqtest::Session session_;
};

// A value and its wire form after the 4-byte tag.
struct ValueVector {
  const char* name;
  ZQValueStruct (*build)();
  Wire wire;
};

TEST_F(Golden, EveryValueTag) {
  const ValueVector vectors[] = {
      {"null", +[] { return ZQValueStruct{}; }, Wire().w(0)},
      {"keyword", +[] { return wordValue(1, 6); }, Wire().w(1).w(6)},
      {"integer", +[] { return intValue(-2); }, Wire().w(2).w(0xFFFFFFFE)},
      {"real", +[] { return realValue(1.5); }, Wire().w(3).w(0x3FF80000).w(0)},
      {"char", +[] { return charValue("abc"); }, Wire().w(4).w(3).raw({'a', 'b', 'c', 0})},
      {"null char", +[] { return charValue(nullptr); }, Wire().w(4).w(0)},
      {"diary", +[] { return charValue("d", 5); }, Wire().w(5).w(1).raw({'d', 0, 0, 0})},
      {"enum", +[] { return wordValue(6, 4); }, Wire().w(6).w(4)},
      {"timestamp", +[] { return wordValue(7, 0x5A000000); }, Wire().w(7).w(0x5A000000)},
      {"bitmask", +[] { return wordValue(8, 0x80000001); }, Wire().w(8).w(0x80000001)},
      // type, then a byte list: count and one 4-byte unit per byte
      {"byte list of 3",
       +[] {
         return byteListValue({0x01, 0xFE, 0x03}, 7);
       },
       Wire().w(9).w(1).w(7).w(3).w(0x01).w(0xFE).w(0x03)},
      {"decimal", +[] { return charValue("1.5", 10); }, Wire().w(10).w(3).raw({'1', '.', '5', 0})},
      {"currency",
       +[] {
         ZQCurrencyStruct c{};
         c.value = str("12.5");
         setName(c.currencyCode, "EUR");
         c.conversionDate = 16;
         ZQFunctionalCurrencyStruct f{};
         f.value = str("1");
         setName(f.currencyCode, "USD");
         c.functionalCurrencies.count = 1;
         c.functionalCurrencies.items = array({f});
         ZQValueStruct v{};
         v.dataType = 12;
         v.u.currencyValue = node(c);
         return v;
       },
       Wire()
           .w(12)
           .w(1)
           .w(4)
           .raw({'1', '2', '.', '5'})
           .raw({'E', 'U', 'R', 0})
           .w(16)
           .w(1)
           .w(1)
           .raw({'1', 0, 0, 0})
           .raw({'U', 'S', 'D', 0})},
      {"date", +[] { return wordValue(13, 2455198); }, Wire().w(13).w(2455198)},
      {"time of day", +[] { return wordValue(14, 3600); }, Wire().w(14).w(3600)},
      {"join", +[] { return wordValue(30, 0); }, Wire().w(30)},
      {"trim", +[] { return wordValue(31, 0); }, Wire().w(31)},
      {"control", +[] { return wordValue(32, 0); }, Wire().w(32)},
      {"ulong", +[] { return wordValue(40, 0xFFFFFFFF); }, Wire().w(40).w(0xFFFFFFFF)},
      {"coordinates",
       +[] {
         ZQCoordList c{};
         c.count = 1;
         c.items = array<ZQCoordStruct>({{1, -1}});
         ZQValueStruct v{};
         v.dataType = 41;
         v.u.coordListValue = node(c);
         return v;
       },
       Wire().w(41).w(1).w(1).w(1).w(0xFFFFFFFF)},
      {"view", +[] { return charValue("<v>", 42); }, Wire().w(42).w(3).raw({'<', 'v', '>', 0})},
      {"display", +[] { return charValue("disp", 43); },
       Wire().w(43).w(4).raw({'d', 'i', 's', 'p'})},
  };
  for (const auto& vec : vectors) {
    SCOPED_TRACE(vec.name);
    ZQValueStruct value = vec.build();
    expectWire(value, 14, vec.wire);
    FreeZQValueStruct(&value, 0);
  }
}

TEST_F(Golden, FieldOnlyAndUnknownTagsDoNotTravel) {
  for (uint32_t tag : {35u, 36u, 37u, 15u, 49u, 50u, 99u}) {
    SCOPED_TRACE(tag);
    ZQValueStruct value = wordValue(tag, 1);
    std::vector<char> wire;
    EXPECT_FALSE(zq::model::encodeToBuffer(value, 14, wire));
    const Wire w = Wire().w(tag).w(1);
    ZQValueStruct decoded{};
    EXPECT_FALSE(zq::model::decodeFromBuffer(w.b.data(), w.b.size(), decoded, 14));
    FreeZQValueStruct(&decoded, 0);
  }
}

// Version 7: tag 11 and the bytes one per unit; 8 to 11: tag 49 and a counted
// buffer; 12 on: tag 49 and the location union. The caller's tag stays 11.
TEST_F(Golden, AttachmentByVersion) {
  const Wire head = Wire().str("a.txt").w(100).w(2).w(2);  // name, sizes, location type 2
  Wire v7 = Wire().w(11).w(1);
  v7.b.insert(v7.b.end(), head.b.begin(), head.b.end());
  v7.w(2).w(0xAA).w(0xBB);
  Wire v8 = Wire().w(49).w(1);
  v8.b.insert(v8.b.end(), head.b.begin(), head.b.end());
  v8.w(2).raw({0xAA, 0xBB, 0, 0});

  for (int version = 7; version <= 14; ++version) {
    SCOPED_TRACE(version);
    ZQValueStruct value = attachValue(ZQ_LOC_BUFFER, {0xAA, 0xBB});
    ZQFree(value.u.attachmentValue->name);
    value.u.attachmentValue->name = str("a.txt");
    value.u.attachmentValue->compressedSize = 2;
    expectWire(value, version, version == 7 ? v7 : v8);
    EXPECT_EQ(value.dataType, 11u);
    FreeZQValueStruct(&value, 0);
  }

  // A file location travels only where the location union does.
  const Wire file = Wire().w(49).w(1).str("a.txt").w(100).w(0).w(1).str("/tmp/a.txt");
  for (int version = 7; version <= 14; ++version) {
    SCOPED_TRACE(version);
    ZQValueStruct value = attachValue(ZQ_LOC_FILENAME, {}, "/tmp/a.txt");
    ZQFree(value.u.attachmentValue->name);
    value.u.attachmentValue->name = str("a.txt");
    if (version >= 12) {
      expectWire(value, version, file);
    } else {
      std::vector<char> wire;
      EXPECT_FALSE(zq::model::encodeToBuffer(value, version, wire));
    }
    EXPECT_EQ(value.dataType, 11u);
    FreeZQValueStruct(&value, 0);
  }
}

TEST_F(Golden, AttachmentTagOutOfItsVersionIsRefused) {
  const Wire tag49 = Wire().w(49).w(0);
  const Wire tag11 = Wire().w(11).w(0);
  ZQValueStruct decoded{};
  EXPECT_FALSE(zq::model::decodeFromBuffer(tag49.b.data(), tag49.b.size(), decoded, 7));
  FreeZQValueStruct(&decoded, 0);
  EXPECT_FALSE(zq::model::decodeFromBuffer(tag11.b.data(), tag11.b.size(), decoded, 8));
  FreeZQValueStruct(&decoded, 0);
  ASSERT_TRUE(zq::model::decodeFromBuffer(tag49.b.data(), tag49.b.size(), decoded, 12));
  EXPECT_EQ(decoded.dataType, 11u);  // absent node
  EXPECT_EQ(decoded.u.attachmentValue, nullptr);
}

TEST_F(Golden, NamesOfEveryWidth) {
  // 254 characters, its terminator and one byte of padding: 256 bytes.
  const std::string longName(254, 'n');
  ZQNameList full = names({longName.c_str()});
  expectWire(full, 14, Wire().w(1).name(longName, 255));
  EXPECT_EQ(Wire().name(longName, 255).b.size(), 256u);
  // Version 7 carries names in 31 bytes plus one of padding.
  ZQNameList old = names({"Form"});
  expectWire(old, 7, Wire().w(1).name("Form", 31));
  expectWire(old, 8, Wire().w(1).name("Form", 255));
  FreeZQNameList(&full, 0);
  FreeZQNameList(&old, 0);

  // Server names: 65 bytes plus 3.
  ZQServerNameList servers{1,
                           static_cast<ZQServerNameType*>(ZQCalloc(1, sizeof(ZQServerNameType)))};
  setName(servers.items[0], "srv");
  expectWire(servers, 14, Wire().w(1).name("srv", 65));
  EXPECT_EQ(Wire().name("srv", 65).b.size(), 68u);
  FreeZQServerNameList(&servers, 0);

  // Entry ids: 16 bytes, no padding.
  ZQEntryIdList ids = entryIds({"000000000000001"});
  expectWire(ids, 14, Wire().w(1).name("000000000000001", 16));
  FreeZQEntryIdList(&ids, 0);

  // User names: 31 bytes up to version 11, 255 from 12.
  ZQStatusHistoryStruct h{};
  setName(h.user, "Demo");
  h.timestamp = 9;
  ZQStatusHistoryList history{1, array({h})};
  expectWire(history, 11, Wire().w(1).name("Demo", 31).w(9));
  expectWire(history, 12, Wire().w(1).name("Demo", 255).w(9));
  FreeZQStatusHistoryList(&history, 0);

  // Column separator: 10 bytes plus 2.
  ZQEntryListFieldStruct column{1, 20, "; "};
  ZQEntryListFieldList columns{1, array({column})};
  expectWire(columns, 14, Wire().w(1).w(1).w(20).name("; ", 10));
  FreeZQEntryListFieldList(&columns, 0);
}

TEST_F(Golden, LongNameIsCutAtTheWireWidth) {
  // A 40-character name sent to a version-7 server: its first 31 bytes; read
  // back, the last byte of the name is its terminator.
  const std::string name(40, 'x');
  ZQNameList list = names({name.c_str()});
  std::vector<char> wire;
  ASSERT_TRUE(zq::model::encodeToBuffer(list, 7, wire));
  EXPECT_EQ(wire, Wire().w(1).name(std::string(31, 'x'), 31).b);
  ZQNameList back{};
  ASSERT_TRUE(zq::model::decodeFromBuffer(wire.data(), wire.size(), back, 7));
  EXPECT_EQ(std::string(back.items[0]), std::string(30, 'x'));
  FreeZQNameList(&list, 0);
  FreeZQNameList(&back, 0);
}

TEST_F(Golden, StringAtAndPastItsMaximum) {
  // The appended text of a status entry travels with at most 256 bytes.
  const std::string at(256, 'a');
  ZQStatusStruct fits{2, 91, str("m"), str(at.c_str())};
  ZQStatusList list{1, array({fits})};
  expectWire(list, 14, Wire().w(1).w(2).w(91).str("m").str(at));
  ZQFree(list.items[0].appended);
  list.items[0].appended = str((at + "a").c_str());
  std::vector<char> wire;
  EXPECT_FALSE(zq::model::encodeToBuffer(list, 14, wire));
  // and is refused the same way when read
  const Wire tooLong = Wire().w(1).w(2).w(91).str("m").str(at + "a");
  ZQStatusList back{};
  EXPECT_FALSE(zq::model::decodeFromBuffer(tooLong.b.data(), tooLong.b.size(), back, 14));
  FreeZQStatusList(&back, 0);
  FreeZQStatusList(&list, 0);

  // A short description: 129 bytes in version 7, 255 from 8.
  ZQEntryListStruct hit{entryIds({"1"}), str(std::string(130, 'd').c_str())};
  ZQEntryListList hits{1, array({hit})};
  EXPECT_FALSE(zq::model::encodeToBuffer(hits, 7, wire));
  expectWire(hits, 8, Wire().w(1).w(1).name("1", 16).str(std::string(130, 'd')));
  FreeZQEntryListList(&hits, 0);
}

// AND(NOT(field 7 = 5), no condition)
TEST_F(Golden, QualifierTree) {
  ZQQualifierStruct none{};
  ZQQualifierStruct tree =
      both(ZQ_COND_OP_AND,
           negation(relation(ZQ_REL_OP_EQUAL, fieldOperand(7), valueOperand(intValue(5)))), none);
  const Wire expected = Wire()
                            .w(1)  // AND
                            .w(1)  // left present
                            .w(3)  // NOT
                            .w(1)  // operand present
                            .w(4)  // relational test
                            .w(1)  // relation present
                            .w(1)  // EQUAL
                            .w(1)
                            .w(7)  // field 7
                            .w(2)
                            .w(2)
                            .w(5)   // value: integer 5
                            .w(1)   // right present
                            .w(0);  // no condition
  for (int version : {7, 14}) expectWire(tree, version, expected);
  FreeZQQualifierStruct(&tree, 0);
}

TEST_F(Golden, ArithmeticNegateCarriesItsLeftOperand) {
  ZQArithOpStruct negate{ZQ_ARITH_OP_NEGATE, fieldOperand(3), fieldOperand(4)};
  std::vector<char> wire;
  ASSERT_TRUE(zq::model::encodeToBuffer(negate, 14, wire));
  EXPECT_EQ(wire, Wire().w(6).w(1).w(3).w(1).w(4).b);
  // Read back, the left operand is not kept: nothing would ever release it.
  ZQArithOpStruct back{};
  ASSERT_TRUE(zq::model::decodeFromBuffer(wire.data(), wire.size(), back, 14));
  EXPECT_EQ(back.left.tag, 0u);
  EXPECT_EQ(back.right.u.fieldId, 4u);
  FreeZQArithOpStruct(&back, 0);
}

TEST_F(Golden, OperandTagsByVersion) {
  struct {
    uint32_t tag;
    bool inVersion7;
  } tags[] = {{1, true},  {12, true}, {23, true}, {24, false}, {26, false}, {50, true},
              {51, true}, {52, true}, {99, true}, {27, false}, {49, false}, {100, false}};
  for (const auto& t : tags) {
    SCOPED_TRACE(t.tag);
    ZQFieldValueOrArithStruct operand = fieldOperand(77, t.tag);
    const bool known = t.tag <= 26 || (t.tag >= 50 && t.tag <= 52) || t.tag == 99;
    std::vector<char> wire;
    EXPECT_EQ(zq::model::encodeToBuffer(operand, 7, wire), t.inVersion7);
    if (known)
      expectWire(operand, 8, Wire().w(t.tag).w(77));
    else
      EXPECT_FALSE(zq::model::encodeToBuffer(operand, 8, wire));
  }
}

TEST_F(Golden, AssignmentOfEveryType) {
  ZQAssignStruct none{};
  expectWire(none, 14, Wire().w(0));

  ZQAssignStruct value = valueAssign(intValue(5));
  expectWire(value, 14, Wire().w(1).w(2).w(5));
  FreeZQAssignStruct(&value, 0);

  ZQAssignFieldStruct f{};
  setName(f.server, "s");
  setName(f.schema, "F");
  f.tag = 1;
  f.u.fieldId = 8;
  f.noMatchOption = 2;
  f.multiMatchOption = 3;
  ZQAssignStruct field{};
  field.assignType = 2;
  field.u.field = node(f);
  const auto fieldWire = [](size_t schemaWidth) {
    return Wire().w(2).w(1).name("s", 65).name("F", schemaWidth).w(0).w(1).w(8).w(2).w(3);
  };
  expectWire(field, 14, fieldWire(255));
  expectWire(field, 7, fieldWire(31));
  FreeZQAssignStruct(&field, 0);

  ZQAssignStruct process = processAssign("ls");
  expectWire(process, 14, Wire().w(3).str("ls"));
  FreeZQAssignStruct(&process, 0);

  ZQAssignStruct arith = arithAssign(ZQ_ARITH_OP_ADD, valueAssign(intValue(1)), ZQAssignStruct{});
  expectWire(arith, 14, Wire().w(4).w(1).w(1).w(1).w(2).w(1).w(0));
  FreeZQAssignStruct(&arith, 0);

  ZQFunctionAssignStruct fn{};
  fn.functionCode = 16;
  fn.count = 1;
  fn.items = array({processAssign("x")});
  ZQAssignStruct function{};
  function.assignType = 5;
  function.u.function = node(fn);
  expectWire(function, 14, Wire().w(5).w(1).w(16).w(1).w(3).str("x"));
  FreeZQAssignStruct(&function, 0);

  ZQAssignStruct dde = ddeAssign();
  expectWire(dde, 14,
             Wire().w(6).w(1).str("excel").str("sheet1").w(0).w(2).str("C:\\x.exe").str("run"));
  FreeZQAssignStruct(&dde, 0);

  ZQAssignStruct sql = sqlAssign();
  expectWire(sql, 14, Wire().w(7).w(1).name("db", 65).str("select 1").w(1).w(1).w(4));
  FreeZQAssignStruct(&sql, 0);

  ZQAssignFilterApiStruct api{};
  setName(api.serviceName, "p");
  api.valueIndex = 2;
  ZQAssignStruct filterApi{};
  filterApi.assignType = 8;
  filterApi.u.filterApi = node(api);
  expectWire(filterApi, 8, Wire().w(8).w(1).name("p", 255).w(0).w(2));
  std::vector<char> wire;
  EXPECT_FALSE(zq::model::encodeToBuffer(filterApi, 7, wire));  // arrived with version 8
  FreeZQAssignStruct(&filterApi, 0);

  ZQAssignStruct unknown{};
  unknown.assignType = 9;
  EXPECT_FALSE(zq::model::encodeToBuffer(unknown, 14, wire));
}

TEST_F(Golden, IndexAndGroupByVersion) {
  ZQIndexStruct index{};
  index.numberOfFields = 1;
  index.fieldId[0] = 536870913;
  index.uniqueFlag = 1;
  setName(index.indexName, "I");
  index.indexFlags = 4;
  ZQIndexList indexes{1, array({index})};
  Wire v9 = Wire().w(1).w(1).w(536870913);
  for (int i = 1; i < 16; ++i) v9.w(0);
  v9.w(1);
  Wire v10 = v9;
  v10.name("I", 255).w(4);
  expectWire(indexes, 9, v9);
  expectWire(indexes, 10, v10);
  FreeZQIndexList(&indexes, 0);

  ZQGroupInfoStruct group{3, 1, accessNames({"G"}), 9};
  ZQGroupInfoList groups{1, array({group})};
  expectWire(groups, 9, Wire().w(1).w(3).w(1).w(1).name("G", 31));
  expectWire(groups, 11, Wire().w(1).w(3).w(1).w(1).name("G", 31).w(9));
  expectWire(groups, 12, Wire().w(1).w(3).w(1).w(1).name("G", 255).w(9));
  FreeZQGroupInfoList(&groups, 0);
}

}  // namespace
