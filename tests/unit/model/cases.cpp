#include "unit/model/cases.h"

namespace zqtest {

using namespace fx;

namespace {

template <class L, class I>
L listOf(std::initializer_list<I> items) {
  L l{};
  l.count = static_cast<uint32_t>(items.size());
  l.items = array(items);
  return l;
}

std::vector<ModelCase> buildCases() {
  std::vector<ModelCase> c;
  auto value = [&](const char* name, ZQValueStruct (*build)(), int minVersion = 7) {
    c.push_back(makeCase<ZQValueStruct>(std::string("value ") + name, build, FreeZQValueStruct,
                                        ZQCopyValueStruct, minVersion));
  };
  // ---- every value tag ----
  value(
      "null", +[] { return ZQValueStruct{}; });
  value(
      "keyword", +[] { return wordValue(ZQ_DATA_TYPE_KEYWORD, 6); });
  value(
      "integer", +[] { return intValue(-123456); });
  value(
      "real", +[] { return realValue(-1.0 / 3); });
  value(
      "char", +[] { return charValue("some text"); });
  value(
      "null char", +[] { return charValue(nullptr); });
  value(
      "diary", +[] { return charValue("diary", ZQ_DATA_TYPE_DIARY); });
  value(
      "enum", +[] { return wordValue(ZQ_DATA_TYPE_ENUM, 4); });
  value(
      "time", +[] { return wordValue(ZQ_DATA_TYPE_TIME, 1234567890); });
  value(
      "bitmask", +[] { return wordValue(ZQ_DATA_TYPE_BITMASK, 0x80000001u); });
  value(
      "bytes", +[] {
        return byteListValue({0, 255, 7});
      });
  value(
      "empty bytes", +[] { return byteListValue({}); });
  value(
      "decimal", +[] { return charValue("-12.345", ZQ_DATA_TYPE_DECIMAL); });
  value(
      "attachment buffer", +[] {
        return attachValue(ZQ_LOC_BUFFER, {1, 2, 3, 4, 5});
      });
  value(
      "attachment no location", +[] { return attachValue(0, {}); });
  value(
      "attachment file", +[] { return attachValue(ZQ_LOC_FILENAME, {}); }, 12);
  value("currency", currencyValue);
  value(
      "date", +[] { return wordValue(ZQ_DATA_TYPE_DATE, 2455198); });
  value(
      "time of day", +[] { return wordValue(ZQ_DATA_TYPE_TIME_OF_DAY, 3600); });
  value(
      "join", +[] { return wordValue(ZQ_DATA_TYPE_JOIN, 0); });
  value(
      "trim", +[] { return wordValue(ZQ_DATA_TYPE_TRIM, 0); });
  value(
      "control", +[] { return wordValue(ZQ_DATA_TYPE_CONTROL, 0); });
  value(
      "ulong", +[] { return wordValue(ZQ_DATA_TYPE_ULONG, 0xFFFFFFFFu); });
  value("coords", coordValue);
  value(
      "view", +[] { return charValue("<html/>", ZQ_DATA_TYPE_VIEW); });
  value(
      "display", +[] { return charValue("disp", ZQ_DATA_TYPE_DISPLAY); });

  // ---- value containers ----
  c.push_back(
      makeCase<ZQCurrencyStruct>("currency struct", currency, nullptr, ZQCopyCurrencyStruct));
  c.push_back(makeCase<ZQValueList>("value list", mixedValues, FreeZQValueList, ZQCopyValueList));
  c.push_back(makeCase<ZQValueListList>(
      "value list list",
      +[] {
        return listOf<ZQValueListList>({mixedValues(), ZQValueList{}, mixedValues()});
      },
      FreeZQValueListList, nullptr));
  c.push_back(makeCase<ZQFieldValueStruct>(
      "field value",
      +[] {
        return ZQFieldValueStruct{536870913, currencyValue()};
      },
      FreeZQFieldValueStruct, ZQCopyFieldValueStruct));
  c.push_back(makeCase<ZQFieldValueList>("field value list", fieldValues, FreeZQFieldValueList,
                                         ZQCopyFieldValueList));
  c.push_back(makeCase<ZQFieldValueListList>(
      "field value list list",
      +[] {
        return listOf<ZQFieldValueListList>({fieldValues(), fieldValues()});
      },
      FreeZQFieldValueListList, nullptr));
  c.push_back(makeCase<ZQServerInfoList>(
      "server info list",
      +[] {
        return listOf<ZQServerInfoList>(
            {ZQServerInfoStruct{6, intValue(1)}, ZQServerInfoStruct{49, charValue("srv")}});
      },
      FreeZQServerInfoList, nullptr));
  c.push_back(makeCase<ZQServerInfoStruct>(
      "server info",
      +[] {
        return ZQServerInfoStruct{3, charValue("7.5")};
      },
      nullptr, ZQCopyServerInfoStruct));
  c.push_back(makeCase<ZQPropList>("prop list", props, FreeZQPropList, ZQCopyPropList));
  c.push_back(makeCase<ZQPropListList>(
      "prop list list",
      +[] {
        return listOf<ZQPropListList>({props(), props()});
      },
      FreeZQPropListList, nullptr));

  // ---- identifiers ----
  c.push_back(makeCase<ZQNameList>(
      "name list",
      +[] {
        return names({"Form A", "", "Help Desk Cases"});
      },
      FreeZQNameList, nullptr));
  c.push_back(makeCase<ZQAccessNameList>(
      "access name list",
      +[] {
        return accessNames({"Demo", "Allen Allbrook"});
      },
      FreeZQAccessNameList, ZQCopyAccessNameList));
  c.push_back(makeCase<ZQServerNameList>(
      "server name list",
      +[] {
        ZQServerNameList l{};
        l.count = 2;
        l.items = static_cast<ZQServerNameType*>(ZQCalloc(2, sizeof(ZQServerNameType)));
        setName(l.items[0], "alpha.example.com");
        setName(l.items[1], "b");
        return l;
      },
      FreeZQServerNameList, nullptr));
  c.push_back(makeCase<ZQEntryIdList>(
      "entry id list",
      +[] {
        return entryIds({"000000000000001", "AB"});
      },
      FreeZQEntryIdList, ZQCopyEntryIdList));
  c.push_back(makeCase<ZQEntryIdListList>(
      "entry id list list",
      +[] {
        return listOf<ZQEntryIdListList>({entryIds({"1"}), entryIds({"2", "3"})});
      },
      FreeZQEntryIdListList, nullptr));
  c.push_back(makeCase<ZQInternalIdList>(
      "internal id list",
      +[] {
        return listOf<ZQInternalIdList>({1u, 7u, 536870913u});
      },
      FreeZQInternalIdList, ZQCopyInternalIdList));
  c.push_back(makeCase<ZQInternalIdListList>(
      "internal id list list",
      +[] {
        return listOf<ZQInternalIdListList>({listOf<ZQInternalIdList>({1u}), ZQInternalIdList{},
                                             listOf<ZQInternalIdList>({2u, 3u})});
      },
      FreeZQInternalIdListList, nullptr));
  c.push_back(makeCase<ZQUnsignedIntList>(
      "unsigned list",
      +[] {
        return listOf<ZQUnsignedIntList>({0u, 0xFFFFFFFFu});
      },
      FreeZQUnsignedIntList, nullptr));
  c.push_back(makeCase<ZQBooleanList>(
      "boolean list",
      +[] {
        return listOf<ZQBooleanList>({ZQBoolean{0}, ZQBoolean{1}, ZQBoolean{255}});
      },
      FreeZQBooleanList, nullptr));
  c.push_back(makeCase<ZQBooleanListList>(
      "boolean list list",
      +[] {
        return listOf<ZQBooleanListList>({listOf<ZQBooleanList>({ZQBoolean{1}}), ZQBooleanList{}});
      },
      FreeZQBooleanListList, nullptr));
  c.push_back(makeCase<ZQTimestampList>(
      "timestamp list",
      +[] {
        return listOf<ZQTimestampList>({ZQTimestamp{-1}, ZQTimestamp{5}});
      },
      FreeZQTimestampList, nullptr));
  c.push_back(makeCase<ZQTextStringList>(
      "text string list",
      +[] {
        return listOf<ZQTextStringList>({str("one"), str(""), str("three")});
      },
      FreeZQTextStringList, ZQCopyTextStringList));
  c.push_back(makeCase<ZQNamePtrList>(
      "name pointer list",
      +[] {
        ZQNameList n = names({"Ptr One", "Ptr Two"});
        ZQNamePtrList l{2, static_cast<ZQNameType**>(ZQCalloc(2, sizeof(ZQNameType*)))};
        l.items[0] = node(n.items[0]);
        l.items[1] = node(n.items[1]);
        FreeZQNameList(&n, 0);
        return l;
      },
      FreeZQNamePtrList, nullptr));
  c.push_back(makeCase<ZQAccessNamePtrList>(
      "access name pointer list",
      +[] {
        ZQAccessNameList n = accessNames({"Mary"});
        ZQAccessNamePtrList l{1, static_cast<ZQAccessNameType**>(ZQCalloc(1, sizeof(void*)))};
        l.items[0] = node(n.items[0]);
        FreeZQAccessNameList(&n, 0);
        return l;
      },
      FreeZQAccessNamePtrList, nullptr));
  c.push_back(makeCase<ZQUnsignedIntPtrList>(
      "unsigned pointer list",
      +[] {
        ZQUnsignedIntPtrList l{2, static_cast<uint32_t**>(ZQCalloc(2, sizeof(uint32_t*)))};
        l.items[0] = node(uint32_t{9});
        l.items[1] = node(uint32_t{10});
        return l;
      },
      FreeZQUnsignedIntPtrList, nullptr));

  // ---- entries ----
  c.push_back(makeCase<ZQEntryListFieldList>(
      "entry list field list",
      +[] {
        ZQEntryListFieldStruct a{1, 15, " | "}, b{8, 40, ""};
        return listOf<ZQEntryListFieldList>({a, b});
      },
      FreeZQEntryListFieldList, ZQCopyEntryListFieldList));
  c.push_back(makeCase<ZQEntryListFieldListList>(
      "entry list field list list",
      +[] {
        ZQEntryListFieldStruct a{1, 15, ","};
        return listOf<ZQEntryListFieldListList>({listOf<ZQEntryListFieldList>({a})});
      },
      FreeZQEntryListFieldListList, nullptr));
  c.push_back(makeCase<ZQEntryListList>(
      "entry list list",
      +[] {
        return listOf<ZQEntryListList>(
            {ZQEntryListStruct{entryIds({"000000000000001"}), str("First")},
             ZQEntryListStruct{entryIds({"A", "B"}), nullptr}});
      },
      FreeZQEntryListList, nullptr));
  c.push_back(makeCase<ZQEntryListFieldValueList>(
      "entry list field value list",
      +[] {
        return listOf<ZQEntryListFieldValueList>(
            {ZQEntryListFieldValueStruct{entryIds({"7"}), node(fieldValues())},
             ZQEntryListFieldValueStruct{entryIds({"8"}), nullptr}});
      },
      FreeZQEntryListFieldValueList, ZQCopyEntryListFieldValueList));
  c.push_back(makeCase<ZQSortList>(
      "sort list",
      +[] {
        return listOf<ZQSortList>(
            {ZQSortStruct{1, ZQ_SORT_ASCENDING}, ZQSortStruct{3, ZQ_SORT_DESCENDING}});
      },
      FreeZQSortList, ZQCopySortList));
  c.push_back(makeCase<ZQSortListList>(
      "sort list list",
      +[] {
        return listOf<ZQSortListList>({listOf<ZQSortList>({ZQSortStruct{1, 2}})});
      },
      FreeZQSortListList, nullptr));
  c.push_back(makeCase<ZQIndexList>(
      "index list",
      +[] {
        ZQIndexStruct i{};
        i.numberOfFields = 2;
        i.fieldId[0] = 536870913;
        i.fieldId[1] = 3;
        i.uniqueFlag = 1;
        setName(i.indexName, "Idx Name");
        i.indexFlags = 5;
        ZQIndexStruct j{};
        return listOf<ZQIndexList>({i, j});
      },
      FreeZQIndexList, nullptr));
  c.push_back(makeCase<ZQIndexListList>(
      "index list list",
      +[] { return listOf<ZQIndexListList>({listOf<ZQIndexList>({ZQIndexStruct{}})}); },
      FreeZQIndexListList, nullptr));

  // ---- history, diary, permissions, groups, status, display ----
  c.push_back(makeCase<ZQStatusHistoryList>(
      "status history list",
      +[] {
        ZQStatusHistoryStruct a{}, b{};
        setName(a.user, "Demo");
        a.timestamp = 1000;
        return listOf<ZQStatusHistoryList>({a, b});
      },
      FreeZQStatusHistoryList, ZQCopyStatusHistoryList));
  c.push_back(makeCase<ZQDiaryList>(
      "diary list",
      +[] {
        ZQDiaryStruct a{};
        setName(a.user, "Joe");
        a.timestamp = 77;
        a.value = str("called back");
        return listOf<ZQDiaryList>({a});
      },
      FreeZQDiaryList, nullptr));
  c.push_back(makeCase<ZQPermissionList>(
      "permission list",
      +[] {
        return listOf<ZQPermissionList>({ZQPermissionStruct{1, 2}, ZQPermissionStruct{3, 1}});
      },
      FreeZQPermissionList, ZQCopyPermissionList));
  c.push_back(makeCase<ZQPermissionListList>(
      "permission list list",
      +[] {
        return listOf<ZQPermissionListList>({listOf<ZQPermissionList>({ZQPermissionStruct{1, 2}})});
      },
      FreeZQPermissionListList, nullptr));
  c.push_back(makeCase<ZQGroupInfoList>(
      "group info list",
      +[] {
        return listOf<ZQGroupInfoList>(
            {ZQGroupInfoStruct{3, 1, accessNames({"Sub Admin", "SA"}), 9},
             ZQGroupInfoStruct{4, 2, ZQAccessNameList{}, 0}});
      },
      FreeZQGroupInfoList, nullptr));
  c.push_back(makeCase<ZQStatusList>(
      "status list",
      +[] {
        return listOf<ZQStatusList>(
            {ZQStatusStruct{2, 302, str("Entry does not exist"), str("000001")},
             ZQStatusStruct{0, 8914, str("log text"), nullptr}});
      },
      FreeZQStatusList, ZQCopyStatusList));
  c.push_back(makeCase<ZQStatusListList>(
      "status list list",
      +[] {
        return listOf<ZQStatusListList>(
            {listOf<ZQStatusList>({ZQStatusStruct{1, 50, str("warn"), nullptr}}), ZQStatusList{}});
      },
      FreeZQStatusListList, nullptr));
  c.push_back(makeCase<ZQDisplayInstanceList>(
      "display instance list",
      +[] {
        ZQDisplayInstanceList d{};
        d.commonProperties = props();
        d.count = 2;
        d.items = array({ZQDisplayInstanceStruct{536870912, props()},
                         ZQDisplayInstanceStruct{2, ZQPropList{}}});
        return d;
      },
      FreeZQDisplayInstanceList, ZQCopyDisplayInstanceList));
  c.push_back(makeCase<ZQDisplayInstanceListList>(
      "display instance list list",
      +[] {
        ZQDisplayInstanceList d{};
        d.commonProperties = props();
        return listOf<ZQDisplayInstanceListList>({d});
      },
      FreeZQDisplayInstanceListList, nullptr));

  // ---- qualifications ----
  c.push_back(makeCase<ZQQualifierStruct>("qualifier tree", richQualifier, FreeZQQualifierStruct,
                                          ZQCopyQualifierStruct));
  c.push_back(makeCase<ZQQualifierStruct>(
      "qualifier from field",
      +[] {
        ZQQualifierStruct q{};
        q.operation = ZQ_COND_OP_FROM_FIELD;
        q.u.fieldId = 536870950;
        return q;
      },
      FreeZQQualifierStruct, ZQCopyQualifierStruct, 8));
  c.push_back(makeCase<ZQQualifierStruct>(
      "qualifier with version-8 operands",
      +[] {
        return both(
            ZQ_COND_OP_AND,
            relation(ZQ_REL_OP_EQUAL, currencyOperand(), currencyOperand(ZQ_CURRENCY_FLD_DB)),
            relation(ZQ_REL_OP_GREATER, fieldOperand(9, 25),
                     currencyOperand(ZQ_CURRENCY_FLD_CURRENT)));
      },
      FreeZQQualifierStruct, ZQCopyQualifierStruct, 8));
  c.push_back(makeCase<ZQQualifierList>(
      "qualifier list",
      +[] {
        return listOf<ZQQualifierList>({richQualifier(), ZQQualifierStruct{}});
      },
      FreeZQQualifierList, nullptr));
  c.push_back(makeCase<ZQFieldValueOrArithStruct>(
      "operand query", +[] { return queryOperand(nullptr); }, FreeZQFieldValueOrArithStruct,
      ZQCopyFieldValueOrArithStruct));
  c.push_back(makeCase<ZQArithOpStruct>(
      "arithmetic",
      +[] {
        return ZQArithOpStruct{ZQ_ARITH_OP_MODULO, fieldOperand(1), valueSetOperand()};
      },
      FreeZQArithOpStruct, ZQCopyArithOpStruct));
  c.push_back(makeCase<ZQRelOpStruct>(
      "relation",
      +[] {
        return ZQRelOpStruct{ZQ_REL_OP_GREATER_EQUAL, statHistoryOperand(),
                             valueOperand(realValue(1.5))};
      },
      FreeZQRelOpStruct, ZQCopyRelOpStruct));

  // ---- assignments ----
  auto assign = [&](const char* name, ZQAssignStruct (*build)(), int minVersion = 7) {
    c.push_back(makeCase<ZQAssignStruct>(std::string("assign ") + name, build, FreeZQAssignStruct,
                                         ZQCopyAssignStruct, minVersion));
  };
  assign(
      "none", +[] { return ZQAssignStruct{}; });
  assign(
      "value", +[] { return valueAssign(coordValue()); });
  assign(
      "field", +[] { return fieldAssign(); });
  assign(
      "field history", +[] { return fieldAssign(ZQ_STAT_HISTORY); });
  assign(
      "field currency", +[] { return fieldAssign(ZQ_CURRENCY_FLD); });
  assign(
      "process", +[] { return processAssign("$PROCESS$ echo hello"); });
  assign(
      "arith",
      +[] { return arithAssign(ZQ_ARITH_OP_ADD, valueAssign(intValue(1)), fieldAssign()); });
  assign(
      "negate",
      +[] { return arithAssign(ZQ_ARITH_OP_NEGATE, ZQAssignStruct{}, valueAssign(intValue(1))); });
  assign("function", functionAssign);
  assign("dde", ddeAssign);
  assign("sql", sqlAssign);
  assign("filter api", filterApiAssign, 8);
  c.push_back(makeCase<ZQFieldAssignList>(
      "field assign list",
      +[] {
        return listOf<ZQFieldAssignList>({ZQFieldAssignStruct{8, functionAssign()},
                                          ZQFieldAssignStruct{536870913, sqlAssign()}});
      },
      FreeZQFieldAssignList, ZQCopyFieldAssignList));
  return c;
}

}  // namespace

const std::vector<ModelCase>& modelCases() {
  static const std::vector<ModelCase> cases = buildCases();
  return cases;
}

}  // namespace zqtest
