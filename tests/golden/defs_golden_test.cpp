// Wire vectors of the definition and administration records, written by hand
// from the XDR rules and the version differences of each structure: form
// kinds, field mappings, field limits, permissions, archiving and auditing,
// containers and references, roles, full-text settings, inheritance and
// signals. Each vector is checked against the encoder and read back member by
// member.
#include <functional>

#include "golden/wire.h"
#include "model/describe_defs.h"

namespace zqgolden {
namespace {

class DefsGolden : public GoldenTest {};

// ---- form kinds ---------------------------------------------------------------------------

TEST_F(DefsGolden, CompoundSchemaOfEveryKind) {
  for (uint32_t kind : {ZQ_SCHEMA_NONE, ZQ_SCHEMA_REGULAR, ZQ_SCHEMA_DIALOG}) {
    ZQCompoundSchema s{};
    s.schemaType = kind;
    for (int version : {7, 14}) {
      expectEncodes(s, version, Wire().w(kind));  // the type alone
      ZQCompoundSchema back = decodes<ZQCompoundSchema>(Wire().w(kind), version);
      EXPECT_EQ(back.schemaType, kind);
    }
  }

  // Join: two member names, the qualification inline, the option word.
  ZQCompoundSchema join{};
  join.schemaType = ZQ_SCHEMA_JOIN;
  setName(join.u.join.joinMemberA, "Orders");
  setName(join.u.join.joinMemberB, "Lines");
  join.u.join.joinOption = 3;
  for (int version : {7, 14}) {
    const size_t width = version == 7 ? 31 : 255;
    const Wire golden = Wire().w(2).name("Orders", width).name("Lines", width).w(0).w(3);
    expectEncodes(join, version, golden);
    ZQCompoundSchema back = decodes<ZQCompoundSchema>(golden, version);
    EXPECT_EQ(back.schemaType, uint32_t{ZQ_SCHEMA_JOIN});
    EXPECT_STREQ(back.u.join.joinMemberA, "Orders");
    EXPECT_STREQ(back.u.join.joinMemberB, "Lines");
    EXPECT_EQ(back.u.join.joinQualifier.operation, 0u);
    EXPECT_EQ(back.u.join.joinOption, 3u);
    zq::model::release(back);
  }
  // A join condition taken from a field needs version 8.
  join.u.join.joinQualifier.operation = ZQ_COND_OP_FROM_FIELD;
  join.u.join.joinQualifier.u.fieldId = 536870913;
  expectRefused(join, 7);
  expectEncodes(join, 8, Wire().w(2).name("Orders", 255).name("Lines", 255).w(5).w(536870913).w(3));

  // Vendor: the name, then the table name one character per unit, 256
  // characters up to version 11 and 2048 from 12.
  ZQCompoundSchema vendor{};
  vendor.schemaType = ZQ_SCHEMA_VENDOR;
  setName(vendor.u.vendor.vendorName, "ODBC");
  setName(vendor.u.vendor.vendorTableName, "dbo.T");
  for (int version : {11, 12}) {
    const Wire golden = Wire().w(5).name("ODBC", 255).chars("dbo.T", version == 11 ? 256 : 2048);
    expectEncodes(vendor, version, golden);
    ZQCompoundSchema back = decodes<ZQCompoundSchema>(golden, version);
    EXPECT_STREQ(back.u.vendor.vendorName, "ODBC");
    EXPECT_STREQ(back.u.vendor.vendorTableName, "dbo.T");
  }

  ZQCompoundSchema unknown{};
  unknown.schemaType = 6;
  expectRefused(unknown, 14);
  expectUnreadable<ZQCompoundSchema>(Wire().w(6), 14);
}

// ---- field mappings --------------------------------------------------------------------------

TEST_F(DefsGolden, FieldMappingByVersion) {
  ZQFieldMappingStruct join{};
  join.fieldType = ZQ_FIELD_MAPPING_JOIN;
  join.u.join.schemaIndex = 1;
  join.u.join.fieldId = 536870917;
  for (int version : {7, 14}) {
    const Wire golden = Wire().w(2).w(1).w(536870917);
    expectEncodes(join, version, golden);
    ZQFieldMappingStruct back = decodes<ZQFieldMappingStruct>(golden, version);
    EXPECT_EQ(back.u.join.schemaIndex, 1u);
    EXPECT_EQ(back.u.join.fieldId, 536870917u);
  }

  ZQFieldMappingStruct view{};
  view.fieldType = ZQ_FIELD_MAPPING_VIEW;
  setName(view.u.view.externalFieldName, "col_a");
  expectEncodes(view, 7, Wire().w(3).name("col_a", 31));
  expectEncodes(view, 8, Wire().w(3).name("col_a", 255));
  ZQFieldMappingStruct viewBack = decodes<ZQFieldMappingStruct>(Wire().w(3).name("col_a", 31), 7);
  EXPECT_STREQ(viewBack.u.view.externalFieldName, "col_a");

  // Type 4 arrived with version 8, type 5 with version 10.
  ZQFieldMappingStruct vendor{};
  vendor.fieldType = ZQ_FIELD_MAPPING_VENDOR;
  setName(vendor.u.vendor.externalFieldName, "ext");
  expectRefused(vendor, 7);
  expectEncodes(vendor, 8, Wire().w(4).name("ext", 255));

  ZQFieldMappingStruct inherited{};
  inherited.fieldType = ZQ_FIELD_MAPPING_INHERITED;
  setName(inherited.u.inherited.externalFieldName, "base");
  inherited.u.inherited.word1 = 11;
  inherited.u.inherited.word2 = 12;
  expectRefused(inherited, 9);
  const Wire golden = Wire().w(5).name("base", 255).w(11).w(12);
  expectEncodes(inherited, 10, golden);
  ZQFieldMappingStruct back = decodes<ZQFieldMappingStruct>(golden, 10);
  EXPECT_STREQ(back.u.inherited.externalFieldName, "base");
  EXPECT_EQ(back.u.inherited.word1, 11u);
  EXPECT_EQ(back.u.inherited.word2, 12u);
  expectUnreadable<ZQFieldMappingStruct>(golden, 9);

  for (uint32_t type : {ZQ_FIELD_MAPPING_NONE, ZQ_FIELD_MAPPING_REGULAR})
    expectEncodes(ZQFieldMappingStruct{type, {}}, 14, Wire().w(type));
  expectRefused(ZQFieldMappingStruct{6, {}}, 14);
}

// ---- field limits ------------------------------------------------------------------------------

// A field limit in the versions where it travels, its bytes, and what must
// read back.
struct LimitCase {
  const char* name;
  std::function<ZQFieldLimitStruct()> build;
  std::vector<int> refusedIn;
  std::vector<std::pair<int, Wire>> wires;
  std::function<void(const ZQFieldLimitStruct&, int)> check;
};

std::vector<LimitCase> limitCases() {
  static ZQCurrencyPrecision functional[] = {{"USD", 2}};
  static ZQCurrencyPrecision allowed[] = {{"EUR", 2}, {"JPY", 0}};
  static ZQNameType itemNames[] = {"Low", "High"};
  static ZQEnumItemStruct bits[] = {{"Bit", 4}};
  return {
      {"no limits",
       [] { return ZQFieldLimitStruct{}; },
       {},
       {{7, Wire().w(0)}, {14, Wire().w(0)}},
       [](const ZQFieldLimitStruct& l, int) { EXPECT_EQ(l.dataType, 0u); }},
      {"timestamp carries nothing",
       [] {
         return ZQFieldLimitStruct{ZQ_DATA_TYPE_TIME, {}};
       },
       {},
       {{7, Wire().w(7)}},
       [](const ZQFieldLimitStruct& l, int) { EXPECT_EQ(l.dataType, 7u); }},
      {"integer",
       [] {
         ZQFieldLimitStruct l{ZQ_DATA_TYPE_INTEGER, {}};
         l.u.intLimits = {-5, 100};
         return l;
       },
       {},
       {{7, Wire().w(2).i(-5).w(100)}},
       [](const ZQFieldLimitStruct& l, int) {
         EXPECT_EQ(l.u.intLimits.lowRange, -5);
         EXPECT_EQ(l.u.intLimits.highRange, 100);
       }},
      {"real: two doubles and the precision",
       [] {
         ZQFieldLimitStruct l{ZQ_DATA_TYPE_REAL, {}};
         l.u.realLimits = {-1.5, 2.0, 2};
         return l;
       },
       {},
       {{14, Wire().w(3).w(0xBFF80000).w(0).w(0x40000000).w(0).w(2)}},
       [](const ZQFieldLimitStruct& l, int) {
         EXPECT_EQ(l.u.realLimits.lowRange, -1.5);
         EXPECT_EQ(l.u.realLimits.highRange, 2.0);
         EXPECT_EQ(l.u.realLimits.precision, 2);
       }},
      {"diary",
       [] {
         ZQFieldLimitStruct l{ZQ_DATA_TYPE_DIARY, {}};
         l.u.diaryLimits.fullTextOptions = 4;
         return l;
       },
       {},
       {{14, Wire().w(5).w(4)}},
       [](const ZQFieldLimitStruct& l, int) { EXPECT_EQ(l.u.diaryLimits.fullTextOptions, 4u); }},
      {"decimal: two strings and the precision",
       [] {
         ZQFieldLimitStruct l{ZQ_DATA_TYPE_DECIMAL, {}};
         l.u.decimalLimits = {text("-1.5"), text("99.99"), 2};
         return l;
       },
       {},
       {{14, Wire().w(10).str("-1.5").str("99.99").w(2)}},
       [](const ZQFieldLimitStruct& l, int) {
         EXPECT_STREQ(l.u.decimalLimits.lowRange, "-1.5");
         EXPECT_STREQ(l.u.decimalLimits.highRange, "99.99");
         EXPECT_EQ(l.u.decimalLimits.precision, 2);
       }},
      {"attachment gains its full-text word in version 12",
       [] {
         ZQFieldLimitStruct l{ZQ_DATA_TYPE_ATTACH, {}};
         l.u.attachLimits = {1000, ZQ_ATTACH_EMBEDDED, 3};
         return l;
       },
       {},
       {{11, Wire().w(11).w(1000).w(1)}, {12, Wire().w(11).w(1000).w(1).w(3)}},
       [](const ZQFieldLimitStruct& l, int version) {
         EXPECT_EQ(l.u.attachLimits.maximumSize, 1000u);
         EXPECT_EQ(l.u.attachLimits.attachType, 1u);
         EXPECT_EQ(l.u.attachLimits.fullTextOptions, version >= 12 ? 3u : 0u);
       }},
      {"currency: range, precision, functional and allowed currencies",
       [] {
         ZQFieldLimitStruct l{ZQ_DATA_TYPE_CURRENCY, {}};
         l.u.currencyLimits = {text("0"), text("100"), 2, {1, functional}, {2, allowed}};
         return l;
       },
       {7},
       {{8, Wire()
                .w(12)
                .str("0")
                .str("100")
                .w(2)
                .w(1)
                .name("USD", 4)
                .w(2)
                .w(2)
                .name("EUR", 4)
                .w(2)
                .name("JPY", 4)
                .w(0)}},
       [](const ZQFieldLimitStruct& l, int) {
         const ZQCurrencyFieldLimits& c = l.u.currencyLimits;
         EXPECT_STREQ(c.lowRange, "0");
         EXPECT_STREQ(c.highRange, "100");
         EXPECT_EQ(c.precision, 2);
         ASSERT_EQ(c.functionalCurrencies.count, 1u);
         EXPECT_STREQ(c.functionalCurrencies.items[0].currencyCode, "USD");
         EXPECT_EQ(c.functionalCurrencies.items[0].precision, 2);
         ASSERT_EQ(c.allowedCurrencies.count, 2u);
         EXPECT_STREQ(c.allowedCurrencies.items[1].currencyCode, "JPY");
         EXPECT_EQ(c.allowedCurrencies.items[1].precision, 0);
       }},
      {"date",
       [] {
         ZQFieldLimitStruct l{ZQ_DATA_TYPE_DATE, {}};
         l.u.dateLimits = {2440588, 2488069};
         return l;
       },
       {7},
       {{8, Wire().w(13).w(2440588).w(2488069)}},
       [](const ZQFieldLimitStruct& l, int) {
         EXPECT_EQ(l.u.dateLimits.minimumDate, 2440588);
         EXPECT_EQ(l.u.dateLimits.maximumDate, 2488069);
       }},
      {"time of day never travels",
       [] {
         return ZQFieldLimitStruct{ZQ_DATA_TYPE_TIME_OF_DAY, {}};
       },
       {7, 8, 14},
       {},
       nullptr},
      {"table: samples from version 10",
       [] {
         ZQFieldLimitStruct l{ZQ_DATA_TYPE_TABLE, {}};
         ZQTableFieldLimits& t = l.u.tableLimits;
         t.numberOfColumns = 3;
         t.maxRowsToRetrieve = 50;
         setName(t.schemaName, "Src");
         setName(t.serverName, "srv");
         setName(t.sampleSchemaName, "S");
         setName(t.sampleServerName, "T");
         return l;
       },
       {},
       {{7, Wire().w(33).w(3).w(0).w(50).name("Src", 31).name("srv", 65)},
        {9, Wire().w(33).w(3).w(0).w(50).name("Src", 255).name("srv", 65)},
        {10, Wire()
                 .w(33)
                 .w(3)
                 .w(0)
                 .w(50)
                 .name("Src", 255)
                 .name("srv", 65)
                 .name("S", 255)
                 .name("T", 65)}},
       [](const ZQFieldLimitStruct& l, int version) {
         const ZQTableFieldLimits& t = l.u.tableLimits;
         EXPECT_EQ(t.numberOfColumns, 3u);
         EXPECT_EQ(t.qualifier.operation, 0u);
         EXPECT_EQ(t.maxRowsToRetrieve, 50u);
         EXPECT_STREQ(t.schemaName, "Src");
         EXPECT_STREQ(t.serverName, "srv");
         EXPECT_STREQ(t.sampleSchemaName, version >= 10 ? "S" : "");
         EXPECT_STREQ(t.sampleServerName, version >= 10 ? "T" : "");
       }},
      {"column: display length from version 8",
       [] {
         ZQFieldLimitStruct l{ZQ_DATA_TYPE_COLUMN, {}};
         l.u.columnLimits = {536870920, 8, 1, 20};
         return l;
       },
       {},
       {{7, Wire().w(34).w(536870920).w(8).w(1)}, {8, Wire().w(34).w(536870920).w(8).w(1).w(20)}},
       [](const ZQFieldLimitStruct& l, int version) {
         EXPECT_EQ(l.u.columnLimits.parentTableFieldId, 536870920u);
         EXPECT_EQ(l.u.columnLimits.dataFieldId, 8u);
         EXPECT_EQ(l.u.columnLimits.dataSource, 1u);
         EXPECT_EQ(l.u.columnLimits.lengthToDisplay, version >= 8 ? 20u : 0u);
       }},
      {"view",
       [] {
         ZQFieldLimitStruct l{ZQ_DATA_TYPE_VIEW, {}};
         l.u.viewLimits.maximumLength = 100;
         return l;
       },
       {7},
       {{8, Wire().w(42).w(100)}},
       [](const ZQFieldLimitStruct& l, int) { EXPECT_EQ(l.u.viewLimits.maximumLength, 100u); }},
      {"display: length units from version 14",
       [] {
         ZQFieldLimitStruct l{ZQ_DATA_TYPE_DISPLAY, {}};
         l.u.displayLimits = {80, 1};
         return l;
       },
       {7},
       {{13, Wire().w(43).w(80)}, {14, Wire().w(43).w(80).w(1)}},
       [](const ZQFieldLimitStruct& l, int version) {
         EXPECT_EQ(l.u.displayLimits.maximumLength, 80u);
         EXPECT_EQ(l.u.displayLimits.lengthUnits, version >= 14 ? 1u : 0u);
       }},
      {"enumeration: a plain name list in version 7, the kind first from 8",
       [] {
         ZQFieldLimitStruct l{ZQ_DATA_TYPE_ENUM, {}};
         l.u.enumLimits.enumKind = ZQ_ENUM_STYLE_REGULAR;
         l.u.enumLimits.u.values = {2, itemNames};
         return l;
       },
       {},
       {{7, Wire().w(6).w(2).name("Low", 31).name("High", 31)},
        {8, Wire().w(6).w(1).w(2).name("Low", 255).name("High", 255)}},
       [](const ZQFieldLimitStruct& l, int) {
         EXPECT_EQ(l.u.enumLimits.enumKind, uint32_t{ZQ_ENUM_STYLE_REGULAR});
         ASSERT_EQ(l.u.enumLimits.u.values.count, 2u);
         EXPECT_STREQ(l.u.enumLimits.u.values.items[1], "High");
       }},
      {"bitmask of numbered items",
       [] {
         ZQFieldLimitStruct l{ZQ_DATA_TYPE_BITMASK, {}};
         l.u.maskLimits.enumKind = ZQ_ENUM_STYLE_CUSTOM;
         l.u.maskLimits.u.customValues = {1, bits};
         return l;
       },
       {7},
       {{8, Wire().w(8).w(2).w(1).name("Bit", 255).w(4)}},
       [](const ZQFieldLimitStruct& l, int) {
         ASSERT_EQ(l.u.maskLimits.u.customValues.count, 1u);
         EXPECT_STREQ(l.u.maskLimits.u.customValues.items[0].itemName, "Bit");
         EXPECT_EQ(l.u.maskLimits.u.customValues.items[0].itemNumber, 4u);
       }},
      {"unknown data types",
       [] {
         return ZQFieldLimitStruct{1, {}};
       },
       {7, 14},
       {},
       nullptr},
      {"beyond display",
       [] {
         return ZQFieldLimitStruct{44, {}};
       },
       {14},
       {},
       nullptr},
  };
}

TEST_F(DefsGolden, FieldLimitsOfEveryKind) {
  for (const LimitCase& c : limitCases()) {
    SCOPED_TRACE(c.name);
    const ZQFieldLimitStruct limit = c.build();
    for (int version : c.refusedIn) expectRefused(limit, version);
    for (const auto& [version, golden] : c.wires) {
      expectEncodes(limit, version, golden);
      ZQFieldLimitStruct back = decodes<ZQFieldLimitStruct>(golden, version);
      EXPECT_EQ(back.dataType, limit.dataType);
      c.check(back, version);
      FreeZQFieldLimitStruct(&back, 0);
    }
  }
}

// ---- indexes and groups ---------------------------------------------------------------------

// Versions 7 to 9: field count, 16 field ids, unique flag; from 10 the index
// name and the flags word.
TEST_F(DefsGolden, IndexReadsBackByVersion) {
  Wire v9 = Wire().w(1).w(2).w(1).w(536870913);
  v9.zeros(14).w(1);
  const Wire v10 = Wire(v9).name("ByCustomer", 255).w(4);
  for (const auto& [version, golden] : {std::pair{9, v9}, std::pair{10, v10}}) {
    ZQIndexList back = decodes<ZQIndexList>(golden, version);
    ASSERT_EQ(back.count, 1u);
    const ZQIndexStruct& index = back.items[0];
    EXPECT_EQ(index.numberOfFields, 2u);
    EXPECT_EQ(index.fieldId[0], 1u);
    EXPECT_EQ(index.fieldId[1], 536870913u);
    EXPECT_EQ(index.fieldId[15], 0u);
    EXPECT_EQ(index.uniqueFlag, 1);
    EXPECT_STREQ(index.indexName, version >= 10 ? "ByCustomer" : "");
    EXPECT_EQ(index.indexFlags, version >= 10 ? 4u : 0u);
    expectEncodes(back, version, golden);
    FreeZQIndexList(&back, 0);
  }
}

// Versions 7 to 9: id, type, names; 10 and 11 add the extra word; from 12
// the names are 255 characters.
TEST_F(DefsGolden, GroupInfoReadsBackByVersion) {
  const Wire v9 = Wire().w(1).w(3).w(2).w(2).name("Staff", 31).name("Personal", 31);
  const Wire v11 = Wire(v9).w(9);
  const Wire v12 = Wire().w(1).w(3).w(2).w(2).name("Staff", 255).name("Personal", 255).w(9);
  for (const auto& [version, golden] : {std::pair{9, v9}, std::pair{11, v11}, std::pair{12, v12}}) {
    ZQGroupInfoList back = decodes<ZQGroupInfoList>(golden, version);
    ASSERT_EQ(back.count, 1u);
    const ZQGroupInfoStruct& group = back.items[0];
    EXPECT_EQ(group.groupId, 3u);
    EXPECT_EQ(group.groupType, 2u);
    ASSERT_EQ(group.groupNames.count, 2u);
    EXPECT_STREQ(group.groupNames.items[1], "Personal");
    EXPECT_EQ(group.groupExtra, version >= 10 ? 9u : 0u);
    expectEncodes(back, version, golden);
    FreeZQGroupInfoList(&back, 0);
  }
}

// ---- permissions, archiving, auditing
// ------------------------------------------------------------

TEST_F(DefsGolden, PermissionLists) {
  ZQPermissionStruct items[] = {{3, ZQ_PERMISSIONS_VIEW}, {0x80000001, ZQ_PERMISSIONS_CHANGE}};
  ZQPermissionList list{2, items};
  const Wire golden = Wire().w(2).w(3).w(1).w(0x80000001).w(2);
  expectEncodes(list, 7, golden);
  ZQPermissionList back = decodes<ZQPermissionList>(golden, 7);
  ASSERT_EQ(back.count, 2u);
  EXPECT_EQ(back.items[0].groupId, 3u);
  EXPECT_EQ(back.items[0].permissions, 1u);
  EXPECT_EQ(back.items[1].groupId, 0x80000001u);
  EXPECT_EQ(back.items[1].permissions, 2u);
  FreeZQPermissionList(&back, 0);

  ZQPermissionList lists[] = {list, {0, nullptr}};
  ZQPermissionListList nested{2, lists};
  expectEncodes(nested, 14, Wire().w(2).then(golden).w(0));
}

TEST_F(DefsGolden, AuditFlagsTravelFromVersion14) {
  ZQAuditInfoStruct audit{};
  audit.enable = 1;
  audit.auditType = 2;
  setName(audit.formName, "Audit");
  audit.auditFlags = 6;
  const Wire v7 = Wire().w(1).w(2).name("Audit", 31).w(0);
  const Wire v13 = Wire().w(1).w(2).name("Audit", 255).w(0);
  const Wire v14 = Wire(v13).w(6);
  expectEncodes(audit, 7, v7);
  expectEncodes(audit, 13, v13);
  expectEncodes(audit, 14, v14);
  for (const auto& [version, golden] : {std::pair{13, v13}, std::pair{14, v14}}) {
    ZQAuditInfoStruct back = decodes<ZQAuditInfoStruct>(golden, version);
    EXPECT_EQ(back.enable, 1u);
    EXPECT_EQ(back.auditType, 2u);
    EXPECT_STREQ(back.formName, "Audit");
    EXPECT_EQ(back.qualifier.operation, 0u);
    EXPECT_EQ(back.auditFlags, version >= 14 ? 6u : 0u);
  }
}

// The selector before the destination: 1 or 3 a form, 4 or 8 a path, 0 or 2
// nothing, anything else is refused.
TEST_F(DefsGolden, ArchiveDestinationsReadBack) {
  const auto tail = [] {
    return Wire().i(15).i(-1).i(0x00FFFFFF).w(30).w(5).w(7).name("Live", 255);
  };
  struct {
    uint32_t selector;
    Wire destination;
    uint32_t type;  // archiveType read back
  } cases[] = {
      {0, Wire(), 2},
      {2, Wire(), 2 | ZQ_ARCHIVE_SELECTOR_TWO},
      {1, Wire().name("Dest", 255), 1 | ZQ_ARCHIVE_SELECTOR_FORM},
      {3, Wire().name("Dest", 255), 1 | ZQ_ARCHIVE_SELECTOR_FORM | ZQ_ARCHIVE_SELECTOR_TWO},
      {8, Wire().str("/arch"), ZQ_ARCHIVE_FILE_ARX},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.selector);
    const uint32_t wireType = c.selector == 8 ? 8 : c.selector == 0 || c.selector == 2 ? 2 : 1;
    const Wire golden = Wire().w(1).w(wireType).w(c.selector).then(c.destination).then(tail());
    ZQArchiveInfoStruct back = decodes<ZQArchiveInfoStruct>(golden, 14);
    EXPECT_EQ(back.enable, 1u);
    EXPECT_EQ(back.archiveType, c.type);
    if (c.selector == 1 || c.selector == 3) {
      EXPECT_STREQ(back.u.formName, "Dest");
    } else if (c.selector == 8) {
      EXPECT_STREQ(back.u.dirPath, "/arch");
    }
    EXPECT_EQ(back.monthday, 15);
    EXPECT_EQ(back.weekday, -1);
    EXPECT_EQ(back.hourmask, 0x00FFFFFF);
    EXPECT_EQ(back.minute, 30u);
    EXPECT_EQ(back.qualifier.operation, uint32_t{ZQ_COND_OP_FROM_FIELD});
    EXPECT_EQ(back.qualifier.u.fieldId, 7u);
    EXPECT_STREQ(back.archiveFrom, "Live");
    // and goes out again with the selector it came with
    expectEncodes(back, 14, golden);
    FreeZQArchiveInfoStruct(&back, 0);
  }
  expectUnreadable<ZQArchiveInfoStruct>(Wire().w(1).w(1).w(5).then(tail()), 14);
}

// ---- containers and references ----------------------------------------------------------------

TEST_F(DefsGolden, ContainerOwnersAndInfo) {
  ZQContainerOwnerObj owners[2] = {};
  owners[0].type = 1;
  setName(owners[0].ownerName, "Form");
  owners[1].type = 2;
  setName(owners[1].ownerName, "App");
  ZQContainerOwnerObjList list{2, owners};
  for (int version : {7, 14}) {
    const size_t width = version == 7 ? 31 : 255;
    const Wire golden = Wire().w(2).w(1).name("Form", width).w(2).name("App", width);
    expectEncodes(list, version, golden);
    ZQContainerOwnerObjList back = decodes<ZQContainerOwnerObjList>(golden, version);
    ASSERT_EQ(back.count, 2u);
    EXPECT_EQ(back.items[1].type, 2u);
    EXPECT_STREQ(back.items[1].ownerName, "App");
    FreeZQContainerOwnerObjList(&back, 0);

    ZQContainerOwnerObjList lists[] = {list};
    ZQContainerOwnerObjListList nested{1, lists};
    expectEncodes(nested, version, Wire().w(1).then(golden));

    ZQContainerInfo info{};
    setName(info.name, "Guide");
    info.type = 1;
    info.ownerList = list;
    ZQContainerInfoList infos{1, &info};
    expectEncodes(infos, version, Wire().w(1).name("Guide", width).w(1).then(golden));
  }

  int32_t types[] = {1, -1};
  const Wire typesWire = Wire().w(2).w(1).i(-1);
  expectEncodes(ZQContainerTypeList{2, types}, 14, typesWire);
  expectEncodes(ZQReferenceTypeList{2, types}, 14, typesWire);
  ZQReferenceTypeList typesBack = decodes<ZQReferenceTypeList>(typesWire, 14);
  ASSERT_EQ(typesBack.count, 2u);
  EXPECT_EQ(typesBack.items[1], -1);
  FreeZQReferenceTypeList(&typesBack, 0);
}

TEST_F(DefsGolden, ReferencesInternalAndExternal) {
  ZQInternalId groups[] = {1, 3};
  ZQReferenceStruct refs[2] = {};
  refs[0].label = text("Main form");
  refs[0].description = nullptr;  // a null string travels as an empty one
  refs[0].type = 32793;
  refs[0].reference.dataType = ZQ_REFERENCE_INTERNAL;
  setName(refs[0].reference.u.name, "Orders");
  refs[1].label = text("Help");
  refs[1].description = text("site");
  refs[1].type = 32795;
  refs[1].reference.dataType = ZQ_REFERENCE_EXTERNAL;
  refs[1].reference.u.extRef.groupList = {2, groups};
  refs[1].reference.u.extRef.value.dataType = ZQ_DATA_TYPE_CHAR;
  refs[1].reference.u.extRef.value.u.charValue = text("http://h/");
  ZQReferenceList list{2, refs};
  const Wire golden = Wire()
                          .w(2)
                          .str("Main form")
                          .str("")
                          .w(32793)
                          .w(0)
                          .name("Orders", 255)  // a name
                          .str("Help")
                          .str("site")
                          .w(32795)
                          .w(1)
                          .w(2)
                          .w(1)
                          .w(3)  // groups, then the value
                          .w(4)
                          .str("http://h/");
  expectEncodes(list, 14, golden);
  ZQReferenceList back = decodes<ZQReferenceList>(golden, 14);
  ASSERT_EQ(back.count, 2u);
  EXPECT_STREQ(back.items[0].label, "Main form");
  EXPECT_STREQ(back.items[0].description, "");
  EXPECT_EQ(back.items[0].type, 32793u);
  EXPECT_STREQ(back.items[0].reference.u.name, "Orders");
  const ZQReferenceStruct& ext = back.items[1];
  EXPECT_STREQ(ext.description, "site");
  EXPECT_EQ(ext.reference.dataType, uint32_t{ZQ_REFERENCE_EXTERNAL});
  ASSERT_EQ(ext.reference.u.extRef.groupList.count, 2u);
  EXPECT_EQ(ext.reference.u.extRef.groupList.items[1], 3u);
  EXPECT_STREQ(ext.reference.u.extRef.value.u.charValue, "http://h/");
  FreeZQReferenceList(&back, 0);

  ZQReferenceList lists[] = {list};
  expectEncodes(ZQReferenceListList{1, lists}, 14, Wire().w(1).then(golden));

  refs[1].reference.dataType = 2;
  expectRefused(list, 14);
}

// ---- roles, full text, inheritance, signals -----------------------------------------------------

TEST_F(DefsGolden, RoleNamesAre31CharactersUpTo11) {
  ZQRoleInfoStruct role{};
  role.roleId = 5;
  setName(role.roleName, "Admins");
  role.roleType = 1;
  ZQRoleInfoList roles{1, &role};
  for (int version : {11, 12}) {
    const Wire golden = Wire().w(1).w(5).name("Admins", version == 11 ? 31 : 255).w(1);
    expectEncodes(roles, version, golden);
    ZQRoleInfoList back = decodes<ZQRoleInfoList>(golden, version);
    ASSERT_EQ(back.count, 1u);
    EXPECT_EQ(back.items[0].roleId, 5u);
    EXPECT_STREQ(back.items[0].roleName, "Admins");
    EXPECT_EQ(back.items[0].roleType, 1u);
    FreeZQRoleInfoList(&back, 0);
  }
}

TEST_F(DefsGolden, FullTextInfoCarriesAListOrAValue) {
  ZQValueStruct words[2] = {};
  words[0].dataType = ZQ_DATA_TYPE_CHAR;
  words[0].u.charValue = text("a");
  words[1].dataType = ZQ_DATA_TYPE_CHAR;
  words[1].u.charValue = text("the");
  ZQFullTextInfoStruct infos[2] = {};
  infos[0].infoType = ZQ_FULLTEXT_STOPWORD;
  infos[0].u.valueList = {2, words};
  infos[1].infoType = ZQ_FULLTEXT_STATE;
  infos[1].u.value.dataType = ZQ_DATA_TYPE_INTEGER;
  infos[1].u.value.u.integerValue = 1;
  ZQFullTextInfoList list{2, infos};
  const Wire golden = Wire().w(2).w(2).w(2).w(4).str("a").w(4).str("the").w(5).w(2).w(1);
  expectEncodes(list, 14, golden);
  ZQFullTextInfoList back = decodes<ZQFullTextInfoList>(golden, 14);
  ASSERT_EQ(back.count, 2u);
  ASSERT_EQ(back.items[0].u.valueList.count, 2u);
  EXPECT_STREQ(back.items[0].u.valueList.items[1].u.charValue, "the");
  EXPECT_EQ(back.items[1].u.value.u.integerValue, 1);
  FreeZQFullTextInfoList(&back, 0);

  infos[1].infoType = 7;
  expectRefused(list, 14);

  uint32_t wanted[] = {1, 5};
  expectEncodes(ZQFullTextInfoRequestList{2, wanted}, 14, Wire().w(2).w(1).w(5));
}

TEST_F(DefsGolden, InheritanceIsCarriedUnchanged) {
  ZQInternalId ids[] = {8};
  ZQDataMappingInfoStruct mapping{};
  mapping.mappingType = 3;
  setName(mapping.sourceName, "S");
  setName(mapping.targetName, "T");
  mapping.fieldIds = {1, ids};
  mapping.word1 = 4;
  mapping.word2 = 5;
  mapping.word3 = 6;
  ZQSchemaInheritanceStruct base{};
  setName(base.schemaName, "Base");
  base.flag = 1;
  base.inheritanceType = 2;
  base.dataMappingList = {1, &mapping};
  ZQSchemaInheritanceList list{1, &base};
  const Wire golden = Wire()
                          .w(1)
                          .name("Base", 255)
                          .w(1)
                          .w(2)
                          .w(1)
                          .w(3)
                          .name("S", 255)
                          .name("T", 255)
                          .w(1)
                          .w(8)
                          .w(4)
                          .w(5)
                          .w(6);
  expectEncodes(list, 14, golden);
  ZQSchemaInheritanceList back = decodes<ZQSchemaInheritanceList>(golden, 14);
  ASSERT_EQ(back.count, 1u);
  EXPECT_STREQ(back.items[0].schemaName, "Base");
  EXPECT_EQ(back.items[0].flag, 1);
  EXPECT_EQ(back.items[0].inheritanceType, 2u);
  ASSERT_EQ(back.items[0].dataMappingList.count, 1u);
  const ZQDataMappingInfoStruct& m = back.items[0].dataMappingList.items[0];
  EXPECT_EQ(m.mappingType, 3u);
  EXPECT_STREQ(m.sourceName, "S");
  EXPECT_STREQ(m.targetName, "T");
  ASSERT_EQ(m.fieldIds.count, 1u);
  EXPECT_EQ(m.fieldIds.items[0], 8u);
  EXPECT_EQ(m.word1, 4u);
  EXPECT_EQ(m.word2, 5u);
  EXPECT_EQ(m.word3, 6u);
  FreeZQSchemaInheritanceList(&back, 0);
}

TEST_F(DefsGolden, Signals) {
  ZQSignalStruct signals[] = {{2, text("arg")}, {5, nullptr}};
  ZQSignalList list{2, signals};
  const Wire golden = Wire().w(2).w(2).str("arg").w(5).str("");
  expectEncodes(list, 14, golden);
  ZQSignalList back = decodes<ZQSignalList>(golden, 14);
  ASSERT_EQ(back.count, 2u);
  EXPECT_EQ(back.items[0].type, 2u);
  EXPECT_STREQ(back.items[0].argument, "arg");
  EXPECT_EQ(back.items[1].type, 5u);
  FreeZQSignalList(&back, 0);
}

}  // namespace
}  // namespace zqgolden
