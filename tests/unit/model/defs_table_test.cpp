// Every sample workflow and definition structure through every protocol
// version it can travel in, through its copy function under a failing
// allocator, and through truncated input.
//
// The descriptions must be seen before dump.h (its visitor finds them
// through a using-declaration).
#include "unit/model/defs_fixtures.h"

#include <gtest/gtest.h>

#include <type_traits>

#include "frame/alloc.h"
#include "support/session.h"
#include "unit/model/cases.h"

namespace {

using zqtest::ModelCase;
using zqtest::Slot;
namespace d = zqtest::defs;
using namespace zqtest::fx;

// The sample's type comes from its builder alone, so that null stands for
// "no exported function" (release or deepCopy is used instead).
template <class T>
ModelCase C(std::string name, T (*build)(),
            void (*freeFn)(std::type_identity_t<T>*, ZQBoolean) = nullptr,
            int32_t (*copyFn)(std::type_identity_t<T>*, const std::type_identity_t<T>*) = nullptr,
            int minVersion = 7) {
  return zqtest::makeCase<T>(std::move(name), build, freeFn, copyFn, minVersion);
}

// Moves a member out of a sample and releases the rest of the sample.
template <class Whole, class Member>
Member take(Whole& whole, Member& member, void (*freeWhole)(Whole*, ZQBoolean)) {
  Member out = member;
  member = Member{};
  freeWhole(&whole, 0);
  return out;
}

template <class List, class Item>
List listOf(std::initializer_list<Item> items) {
  List l{};
  l.count = static_cast<uint32_t>(items.size());
  l.items = array(items);
  return l;
}

// The oldest version each filter and active link action travels in.
int filterMinVersion(uint32_t action) {
  if (action == ZQ_FILTER_ACTION_SERVICE) return 14;
  return action >= ZQ_FILTER_ACTION_CALLGUIDE ? 8 : 7;
}

std::vector<ModelCase> actionCases() {
  std::vector<ModelCase> cases;
  static ZQFilterActionStruct (*const filters[])() = {
      [] { return d::filterAction(0); },  [] { return d::filterAction(1); },
      [] { return d::filterAction(2); },  [] { return d::filterAction(3); },
      [] { return d::filterAction(4); },  [] { return d::filterAction(5); },
      [] { return d::filterAction(6); },  [] { return d::filterAction(7); },
      [] { return d::filterAction(8); },  [] { return d::filterAction(9); },
      [] { return d::filterAction(10); }, [] { return d::filterAction(11); },
      [] { return d::filterAction(12); }};
  for (uint32_t a = 0; a < std::size(filters); ++a)
    cases.push_back(C("filter action " + std::to_string(a), filters[a], FreeZQFilterActionStruct,
                      ZQCopyFilterActionStruct, filterMinVersion(a)));
  static ZQActiveLinkActionStruct (*const links[])() = {
      [] { return d::alAction(0); },  [] { return d::alAction(1); },
      [] { return d::alAction(2); },  [] { return d::alAction(3); },
      [] { return d::alAction(4); },  [] { return d::alAction(5); },
      [] { return d::alAction(6); },  [] { return d::alAction(7); },
      [] { return d::alAction(8); },  [] { return d::alAction(9); },
      [] { return d::alAction(10); }, [] { return d::alAction(11); },
      [] { return d::alAction(12); }, [] { return d::alAction(13); },
      [] { return d::alAction(14); }, [] { return d::alAction(15); },
      [] { return d::alAction(16); }, [] { return d::alAction(17); },
      [] { return d::alAction(18); }};
  for (uint32_t a = 0; a < std::size(links); ++a)
    cases.push_back(C("active link action " + std::to_string(a), links[a],
                      FreeZQActiveLinkActionStruct, ZQCopyActiveLinkActionStruct,
                      a == ZQ_ACTIVE_LINK_ACTION_SERVICE ? 13 : 7));
  cases.push_back(C(
      "filter action list list",
      +[] {
        ZQFilterActionList a = listOf<ZQFilterActionList>({d::filterAction(1), d::filterAction(4)});
        ZQFilterActionList b = listOf<ZQFilterActionList>({d::filterAction(0)});
        return listOf<ZQFilterActionListList>({a, b, ZQFilterActionList{}});
      },
      FreeZQFilterActionListList));
  cases.push_back(C(
      "filter action list",
      +[] {
        return listOf<ZQFilterActionList>({d::filterAction(6), d::filterAction(2)});
      },
      FreeZQFilterActionList, ZQCopyFilterActionList));
  cases.push_back(C(
      "active link action list list",
      +[] {
        ZQActiveLinkActionList a =
            listOf<ZQActiveLinkActionList>({d::alAction(10), d::alAction(11)});
        return listOf<ZQActiveLinkActionListList>({a, ZQActiveLinkActionList{}});
      },
      FreeZQActiveLinkActionListList));
  cases.push_back(C(
      "active link action list",
      +[] {
        return listOf<ZQActiveLinkActionList>({d::alAction(9), d::alAction(1)});
      },
      FreeZQActiveLinkActionList, ZQCopyActiveLinkActionList));
  cases.push_back(C(
      "notify", +[] { return d::notify(); }, nullptr, ZQCopyNotifyStruct));
  cases.push_back(C(
      "notify without advanced", +[] { return d::notify(false); }, nullptr, ZQCopyNotifyStruct));
  cases.push_back(C(
      "push fields item",
      +[] {
        ZQPushFieldsList list = d::pushFields().pushFieldsList;
        ZQPushFieldsStruct item = list.items[0];
        ZQFree(list.items);
        return item;
      },
      nullptr, ZQCopyPushFieldsStruct));
  cases.push_back(C(
      "push fields list", +[] { return d::pushFields().pushFieldsList; }, FreeZQPushFieldsList,
      ZQCopyPushFieldsList));
  cases.push_back(C(
      "sql", +[] { return d::sql(); }, FreeZQSQLStruct, ZQCopySQLStruct));
  cases.push_back(C(
      "macro parms",
      +[] {
        ZQActiveLinkActionStruct a = d::alAction(1);
        return take(a, a.u.macro.macroParms, FreeZQActiveLinkActionStruct);
      },
      FreeZQMacroParmList));
  cases.push_back(C(
      "com methods",
      +[] {
        ZQActiveLinkActionStruct a = d::alAction(9);
        return take(a, a.u.automation.methods, FreeZQActiveLinkActionStruct);
      },
      FreeZQCOMMethodList));
  cases.push_back(C(
      "com method parms",
      +[] {
        ZQActiveLinkActionStruct a = d::alAction(9);
        return take(a, a.u.automation.methods.items[0].parameters, FreeZQActiveLinkActionStruct);
      },
      FreeZQCOMMethodParmList));
  cases.push_back(C(
      "com value", +[] { return d::comValue(ZQ_COM_VALUE_VALUE); }, FreeZQCOMValueStruct));
  return cases;
}

std::vector<ModelCase> menuAndLimitCases() {
  std::vector<ModelCase> cases;
  static ZQCharMenuStruct (*const menus[])() = {
      [] { return d::menu(0); }, [] { return d::menu(1); }, [] { return d::menu(2); },
      [] { return d::menu(3); }, [] { return d::menu(4); }, [] { return d::menu(5); },
      [] { return d::menu(6); }};
  for (uint32_t t = 0; t < std::size(menus); ++t)
    cases.push_back(C("menu " + std::to_string(t), menus[t], FreeZQCharMenuStruct,
                      ZQCopyCharMenuStruct, t >= ZQ_CHAR_MENU_SS ? 8 : 7));
  cases.push_back(C(
      "menu list",
      +[] {
        return listOf<ZQCharMenuStructList>({d::menu(1), d::menu(4)});
      },
      FreeZQCharMenuStructList));
  cases.push_back(C(
      "menu items", +[] { return d::nestedMenu().u.menuList; }, FreeZQCharMenuList));
  cases.push_back(C(
      "menu item", +[] { return d::subMenuItem("Sub", node(d::nestedMenu())); },
      FreeZQCharMenuItemStruct, ZQCopyCharMenuItemStruct));

  struct LimitCase {
    const char* name;
    ZQFieldLimitStruct (*build)();
    int minVersion;
  };
  static const LimitCase limits[] = {
      {"none", [] { return d::limit(0); }, 7},
      {"integer", [] { return d::limit(2); }, 7},
      {"real", [] { return d::limit(3); }, 7},
      {"character", [] { return d::limit(4); }, 7},
      {"diary", [] { return d::limit(5); }, 7},
      {"enum names", [] { return d::limit(6, ZQ_ENUM_STYLE_REGULAR); }, 7},
      {"enum custom", [] { return d::limit(6, ZQ_ENUM_STYLE_CUSTOM); }, 8},
      {"enum query", [] { return d::limit(6, ZQ_ENUM_STYLE_QUERY); }, 8},
      {"timestamp", [] { return d::limit(7); }, 7},
      {"bitmask names", [] { return d::limit(8, ZQ_ENUM_STYLE_REGULAR); }, 7},
      {"bitmask query", [] { return d::limit(8, ZQ_ENUM_STYLE_QUERY); }, 8},
      {"type 9", [] { return d::limit(9); }, 7},
      {"decimal", [] { return d::limit(10); }, 7},
      {"attachment", [] { return d::limit(11); }, 7},
      {"currency", [] { return d::limit(12); }, 8},
      {"date", [] { return d::limit(13); }, 8},
      {"table", [] { return d::limit(33); }, 7},
      {"column", [] { return d::limit(34); }, 7},
      {"view", [] { return d::limit(42); }, 8},
      {"display", [] { return d::limit(43); }, 8},
  };
  for (const LimitCase& l : limits)
    cases.push_back(C(std::string("limit ") + l.name, l.build, FreeZQFieldLimitStruct,
                      ZQCopyFieldLimitStruct, l.minVersion));
  cases.push_back(C(
      "limit list",
      +[] {
        return listOf<ZQFieldLimitList>({d::limit(4), d::limit(12)});
      },
      FreeZQFieldLimitList, nullptr, 8));
  cases.push_back(C(
      "enum items", +[] { return d::limit(6).u.enumLimits.u.customValues; }, FreeZQEnumItemList,
      ZQCopyEnumItemList));
  cases.push_back(C(
      "currency precisions",
      +[] {
        ZQFieldLimitStruct l = d::limit(12);
        return take(l, l.u.currencyLimits.allowedCurrencies, FreeZQFieldLimitStruct);
      },
      nullptr, ZQCopyCurrencyPrecisionList));
  return cases;
}

std::vector<ModelCase> definitionCases() {
  std::vector<ModelCase> cases;
  cases.push_back(C(
      "connection none", +[] { return ZQWorkflowConnectStruct{}; }, FreeZQWorkflowConnectStruct,
      ZQCopyWorkflowConnectStruct));
  cases.push_back(C(
      "connection forms",
      +[] {
        return d::connection({"Form A", "Form B", ""});
      },
      FreeZQWorkflowConnectStruct, ZQCopyWorkflowConnectStruct));
  cases.push_back(C(
      "connection list",
      +[] {
        return listOf<ZQWorkflowConnectList>({d::connection({"X"}), ZQWorkflowConnectStruct{}});
      },
      FreeZQWorkflowConnectList));
  static ZQCompoundSchema (*const schemas[])() = {
      [] { return d::schema(0); }, [] { return d::schema(1); }, [] { return d::schema(2); },
      [] { return d::schema(3); }, [] { return d::schema(4); }, [] { return d::schema(5); }};
  for (uint32_t t = 0; t < std::size(schemas); ++t)
    cases.push_back(C("schema " + std::to_string(t), schemas[t], FreeZQCompoundSchema));
  cases.push_back(C(
      "schema list",
      +[] {
        return listOf<ZQCompoundSchemaList>({d::schema(2), d::schema(5)});
      },
      FreeZQCompoundSchemaList));
  static ZQFieldMappingList (*const mappings[])() = {
      [] {
        return listOf<ZQFieldMappingList>(
            {d::mapping(0), d::mapping(1), d::mapping(2), d::mapping(3)});
      },
      [] { return listOf<ZQFieldMappingList>({d::mapping(4)}); },
      [] { return listOf<ZQFieldMappingList>({d::mapping(5)}); }};
  const int mappingVersions[] = {7, 8, 10};  // type 4 arrived with 8, type 5 with 10
  for (int i = 0; i < 3; ++i)
    cases.push_back(C("mappings " + std::to_string(i), mappings[i], FreeZQFieldMappingList, nullptr,
                      mappingVersions[i]));
  cases.push_back(C(
      "mapping pointers",
      +[] {
        ZQFieldMappingPtrList l{};
        l.count = 2;
        l.items = array({node(d::mapping(2)), node(d::mapping(3))});
        return l;
      },
      FreeZQFieldMappingPtrList));
  cases.push_back(C(
      "inheritance",
      +[] {
        ZQDataMappingInfoStruct m{};
        m.mappingType = 1;
        setName(m.sourceName, "A");
        setName(m.targetName, "B");
        m.fieldIds.count = 2;
        m.fieldIds.items = array<ZQInternalId>({1, 2});
        m.word1 = 1, m.word2 = 2, m.word3 = 3;
        ZQSchemaInheritanceStruct s{};
        setName(s.schemaName, "Parent");
        s.flag = 1;
        s.inheritanceType = 2;
        s.dataMappingList = listOf<ZQDataMappingInfoList>({m});
        ZQSchemaInheritanceList l = listOf<ZQSchemaInheritanceList>({s});
        return listOf<ZQSchemaInheritanceListList>({l, ZQSchemaInheritanceList{}});
      },
      FreeZQSchemaInheritanceListList));
  static ZQArchiveInfoStruct (*const archives[])() = {
      [] { return d::archive(0); },
      [] { return d::archive(ZQ_ARCHIVE_FORM); },
      [] { return d::archive(ZQ_ARCHIVE_FILE_XML); },
      [] { return d::archive(ZQ_ARCHIVE_FILE_ARX | 0x100); },
      [] { return d::archive(ZQ_ARCHIVE_FORM | ZQ_ARCHIVE_SELECTOR_TWO); },
      [] { return d::archive(ZQ_ARCHIVE_SELECTOR_TWO); }};
  for (size_t i = 0; i < std::size(archives); ++i)
    cases.push_back(C("archive " + std::to_string(i), archives[i], FreeZQArchiveInfoStruct));
  cases.push_back(C(
      "audit list",
      +[] {
        ZQAuditInfoStruct a{
            1, 2, {}, relation(ZQ_REL_OP_EQUAL, fieldOperand(1), fieldOperand(2)), 4};
        setName(a.formName, "Audit Form");
        return listOf<ZQAuditInfoList>({a, ZQAuditInfoStruct{}});
      },
      FreeZQAuditInfoList));
  cases.push_back(C(
      "container owners list list",
      +[] {
        ZQContainerOwnerObj o{};
        o.type = 1;
        setName(o.ownerName, "Owner");
        return listOf<ZQContainerOwnerObjListList>({listOf<ZQContainerOwnerObjList>({o, o})});
      },
      FreeZQContainerOwnerObjListList));
  cases.push_back(C(
      "container infos",
      +[] {
        ZQContainerOwnerObj o{};
        o.type = 2;
        setName(o.ownerName, "Form");
        ZQContainerInfo c{};
        setName(c.name, "Guide");
        c.type = 1;
        c.ownerList = listOf<ZQContainerOwnerObjList>({o});
        return listOf<ZQContainerInfoList>({c});
      },
      FreeZQContainerInfoList));
  cases.push_back(C(
      "container types",
      +[] {
        return listOf<ZQContainerTypeList>({1, -2});
      },
      FreeZQContainerTypeList));
  cases.push_back(C(
      "reference types",
      +[] {
        return listOf<ZQReferenceTypeList>({32793, 0});
      },
      FreeZQReferenceTypeList));
  cases.push_back(C(
      "references",
      +[] {
        return listOf<ZQReferenceList>({d::reference(0), d::reference(1)});
      },
      FreeZQReferenceList, ZQCopyReferenceList));
  cases.push_back(C(
      "reference list list",
      +[] { return listOf<ZQReferenceListList>({listOf<ZQReferenceList>({d::reference(1)})}); },
      FreeZQReferenceListList));
  cases.push_back(C(
      "images",
      +[] {
        ZQImageDataStruct a{4, d::bytesOf<unsigned char>({0x89, 'P', 0, 0xff})};
        return listOf<ZQImageDataList>({a, ZQImageDataStruct{}});
      },
      FreeZQImageDataList));
  cases.push_back(C(
      "entry blocks",
      +[] {
        ZQEntryBlockStruct a{3, d::bytesOf<unsigned char>({0x78, 0x9c, 0x80})};
        return listOf<ZQEntryBlockList>({a});
      },
      FreeZQEntryBlockList));
  cases.push_back(C(
      "statistics",
      +[] {
        ZQStatisticsResultStruct a{mixedValues(), intValue(3)}, b{ZQValueList{}, realValue(2.5)};
        return listOf<ZQStatisticsResultList>({a, b});
      },
      FreeZQStatisticsResultList));
  cases.push_back(C(
      "full text infos",
      +[] {
        ZQFullTextInfoStruct a{}, b{};
        a.infoType = ZQ_FULLTEXT_STOPWORD;
        a.u.valueList = mixedValues();
        b.infoType = ZQ_FULLTEXT_STATE;
        b.u.value = intValue(1);
        return listOf<ZQFullTextInfoList>({a, b});
      },
      FreeZQFullTextInfoList));
  cases.push_back(C(
      "full text requests",
      +[] {
        return listOf<ZQFullTextInfoRequestList>({1u, 2u, 6u});
      },
      FreeZQFullTextInfoRequestList));
  cases.push_back(C(
      "roles",
      +[] {
        ZQRoleInfoStruct r{};
        r.roleId = 5;
        setName(r.roleName, "Admin");
        r.roleType = 1;
        return listOf<ZQRoleInfoList>({r});
      },
      FreeZQRoleInfoList));
  cases.push_back(C(
      "server info requests",
      +[] {
        return listOf<ZQServerInfoRequestList>({1u, 96u});
      },
      FreeZQServerInfoRequestList));
  cases.push_back(C(
      "signals",
      +[] {
        return listOf<ZQSignalList>({ZQSignalStruct{1, str("arg")}, ZQSignalStruct{2, nullptr}});
      },
      FreeZQSignalList));
  cases.push_back(C(
      "field infos",
      +[] {
        ZQFieldInfoStruct f{};
        f.fieldId = 536870913;
        setName(f.fieldName, "Status");
        f.fieldMap = d::mapping(2);
        f.dataType = 6;
        f.defaultValue = charValue("New");
        f.permList = listOf<ZQPermissionList>({ZQPermissionStruct{1, 2}});
        f.limit = d::limit(6, ZQ_ENUM_STYLE_REGULAR);
        f.dInstanceList.commonProperties = props();
        f.helpText = str("help");
        return listOf<ZQFieldInfoList>({f});
      },
      FreeZQFieldInfoList, ZQCopyFieldInfoList));
  cases.push_back(C(
      "view infos",
      +[] {
        ZQVuiInfoStruct v{};
        v.vuiId = 536870912;
        setName(v.vuiName, "Default");
        v.dPropList = props();
        setName(v.locale, "en_US");
        v.changeDiary = str("diary");
        return listOf<ZQVuiInfoList>({v});
      },
      FreeZQVuiInfoList, ZQCopyVuiInfoList));
  cases.push_back(C(
      "support file infos",
      +[] {
        ZQSupportFileInfoStruct s{};
        s.fileType = 1;
        setName(s.name, "report.rep");
        s.contentSize = 3;
        s.content = d::bytesOf<char>({'a', 0, 'b'});
        return listOf<ZQSupportFileInfoList>({s, ZQSupportFileInfoStruct{}});
      },
      FreeZQSupportFileInfoList, ZQCopySupportFileInfoList));
  cases.push_back(C(
      "multi-form qualifier", +[] { return d::msQualifier(); }, FreeZQMultiSchemaQualifierStruct,
      nullptr, 14));
  cases.push_back(C(
      "multi-form sources", +[] { return d::queryFromList(); }, FreeZQMultiSchemaQueryFromList,
      nullptr, 14));
  cases.push_back(C(
      "multi-form sort",
      +[] {
        return listOf<ZQMultiSchemaSortList>({ZQMultiSchemaSortStruct{d::aliased("a", 1), 2}});
      },
      FreeZQMultiSchemaSortList, nullptr, 14));
  cases.push_back(C(
      "multi-form field ids",
      +[] {
        return listOf<ZQMultiSchemaFieldIdList>({d::aliased("a", 1), d::aliased("b", 2)});
      },
      FreeZQMultiSchemaFieldIdList, nullptr, 14));
  cases.push_back(C(
      "multi-form field values",
      +[] {
        ZQMultiSchemaFieldValueList row = listOf<ZQMultiSchemaFieldValueList>(
            {ZQMultiSchemaFieldValueStruct{d::aliased("a", 1), charValue("x")},
             ZQMultiSchemaFieldValueStruct{d::aliased("b", 2), currencyValue()}});
        return listOf<ZQMultiSchemaFieldValueListList>({row, ZQMultiSchemaFieldValueList{}});
      },
      FreeZQMultiSchemaFieldValueListList, nullptr, 14));
  return cases;
}

const std::vector<ModelCase>& defsCases() {
  static const std::vector<ModelCase> all = [] {
    std::vector<ModelCase> cases = actionCases();
    for (auto* group : {menuAndLimitCases, definitionCases})
      for (ModelCase& c : group()) cases.push_back(std::move(c));
    return cases;
  }();
  return all;
}

class DefsTable : public ::testing::TestWithParam<ModelCase> {
 protected:
  void SetUp() override {
    ASSERT_EQ(session_.initResult(), 0);
    session_.context()->clientCharset = 65;
    session_.context()->serverCharset = 65;
    zq::setCurrentContext(session_.context());
  }
  void TearDown() override { zq::testing::failAllocationsAfter(-1); }
  zqtest::Session session_;
};

TEST_P(DefsTable, RoundTripsInEveryVersion) {
  const ModelCase& c = GetParam();
  c.withSample([&](void* sample) {
    for (int version = c.minVersion; version <= zq::model::kNewestVersion; ++version) {
      SCOPED_TRACE("version " + std::to_string(version));
      std::vector<char> wire;
      ASSERT_TRUE(c.encode(sample, version, wire));
      Slot decoded(c.size);
      ASSERT_TRUE(c.decodePrefix(wire, wire.size(), decoded.get(), version));
      EXPECT_EQ(c.dumpAt(decoded.get(), version), c.dumpAt(sample, version));
      std::vector<char> again;
      EXPECT_TRUE(c.encode(decoded.get(), version, again));
      EXPECT_EQ(again, wire);
      c.releaseInPlace(decoded.get());
      EXPECT_TRUE(c.blocks(decoded.get()).empty());
    }
  });
}

// The version before the oldest one of each sample refuses it instead of
// sending something the server would misread.
TEST(DefsVersions, OlderVersionsRefuseWhatTheyCannotCarry) {
  zqtest::Session session;
  ASSERT_EQ(session.initResult(), 0);
  zq::setCurrentContext(session.context());
  int checked = 0;
  for (const ModelCase& c : defsCases()) {
    if (c.minVersion <= 7) continue;
    SCOPED_TRACE(c.name);
    c.withSample([&](void* sample) {
      std::vector<char> wire;
      EXPECT_FALSE(c.encode(sample, c.minVersion - 1, wire));
      EXPECT_TRUE(c.encode(sample, c.minVersion, wire));
    });
    ++checked;
  }
  EXPECT_GT(checked, 10);
}

TEST_P(DefsTable, CopyIsIndependentOfItsSource) {
  const ModelCase& c = GetParam();
  c.withSample([&](void* sample) {
    const std::string before = c.dumpAt(sample, zq::model::kNewestVersion);
    Slot copy(c.size);
    ASSERT_EQ(c.copy(copy.get(), sample), 0);
    EXPECT_EQ(c.dumpAt(copy.get(), zq::model::kNewestVersion), before);
    const auto sourceBlocks = c.blocks(sample);
    for (const void* block : c.blocks(copy.get())) EXPECT_EQ(sourceBlocks.count(block), 0u);
    c.releaseInPlace(copy.get());
    EXPECT_EQ(c.dumpAt(sample, zq::model::kNewestVersion), before);
  });
}

// Each allocation of the copy fails in turn: 300 and an empty destination
// that can be released; ASan reports anything left behind.
TEST_P(DefsTable, CopyFailsCleanlyAtEveryAllocation) {
  const ModelCase& c = GetParam();
  c.withSample([&](void* sample) {
    const std::string before = c.dumpAt(sample, zq::model::kNewestVersion);
    for (long n = 0;; ++n) {
      Slot copy(c.size);
      memset(copy.get(), 0xA5, c.size);  // the destination is never read
      zq::testing::failAllocationsAfter(n);
      const int32_t rc = c.copy(copy.get(), sample);
      const bool failed = zq::testing::failedAllocations() > 0;
      zq::testing::failAllocationsAfter(-1);
      if (!failed) {
        ASSERT_EQ(rc, 0);
        c.releaseInPlace(copy.get());
        break;
      }
      SCOPED_TRACE("allocation " + std::to_string(n));
      ASSERT_EQ(rc, 300);
      EXPECT_TRUE(copy.zeroed());
      c.releaseInPlace(copy.get());
      ASSERT_LT(n, 2000);
    }
    EXPECT_EQ(c.dumpAt(sample, zq::model::kNewestVersion), before);
  });
}

TEST_P(DefsTable, TruncatedInputFailsAndStaysReleasable) {
  const ModelCase& c = GetParam();
  c.withSample([&](void* sample) {
    for (int version : {c.minVersion, zq::model::kNewestVersion}) {
      std::vector<char> wire;
      ASSERT_TRUE(c.encode(sample, version, wire));
      for (size_t cut = 0; cut < wire.size(); cut += 4) {
        Slot decoded(c.size);
        EXPECT_FALSE(c.decodePrefix(wire, cut, decoded.get(), version)) << "cut at " << cut;
        c.releaseInPlace(decoded.get());
      }
    }
  });
}

TEST_P(DefsTable, DecodeFailsCleanlyAtEveryAllocation) {
  const ModelCase& c = GetParam();
  c.withSample([&](void* sample) {
    std::vector<char> wire;
    ASSERT_TRUE(c.encode(sample, zq::model::kNewestVersion, wire));
    for (long n = 0;; ++n) {
      Slot decoded(c.size);
      zq::testing::failAllocationsAfter(n);
      const bool ok = c.decodePrefix(wire, wire.size(), decoded.get(), zq::model::kNewestVersion);
      const bool failed = zq::testing::failedAllocations() > 0;
      zq::testing::failAllocationsAfter(-1);
      c.releaseInPlace(decoded.get());
      if (!failed) {
        EXPECT_TRUE(ok);
        break;
      }
      EXPECT_FALSE(ok);
      ASSERT_LT(n, 2000);
    }
  });
}

std::string caseName(const ::testing::TestParamInfo<ModelCase>& info) {
  std::string name;
  for (char ch : info.param.name) name += isalnum(static_cast<unsigned char>(ch)) ? ch : '_';
  return name;
}

INSTANTIATE_TEST_SUITE_P(WorkflowAndDefinitions, DefsTable, ::testing::ValuesIn(defsCases()),
                         caseName);

}  // namespace
