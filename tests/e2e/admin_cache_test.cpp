// What a client that caches definitions asks the server: the change times of
// each kind, whether a cached form is still current, the entry points, and
// the full-text settings it keeps.
#include <gtest/gtest.h>

#include <ctime>
#include <map>
#include <string>

#include "definitions_fixture.h"
#include "frame/message_numbers.h"

using zqtest::Status;

namespace {

class CacheChecks : public zqtest::DefinitionTest {
 protected:
  // Kind -> times, as the server reports them now.
  std::map<int32_t, ZQObjectChangeTimesStruct> changeTimes() {
    ZQObjectChangeTimesList list{0, nullptr};
    Status s;
    EXPECT_EQ(ZQGetObjectChangeTimes(&control_, &list, &s), 0);
    std::map<int32_t, ZQObjectChangeTimesStruct> out;
    for (uint32_t i = 0; i < list.count; ++i) out[list.items[i].objectType] = list.items[i];
    FreeZQObjectChangeTimesList(&list, 0);
    return out;
  }
  uint32_t definitionEvents() {
    uint32_t wanted = ZQ_CACHE_EVENT_DEFINITION_CHANGE;
    ZQUnsignedIntList ids{1, &wanted};
    uint32_t count = 99;
    Status s;
    EXPECT_EQ(ZQGetCacheEvent(&control_, &ids, ZQ_CACHE_EVENT_RETURN_NOW, nullptr, &count, &s), 0);
    return count;
  }
};

constexpr int32_t kForms = 1, kFields = 2;

// Every definition the store writes moves its kind's change time and raises
// a definition-change event: a client's cache learns of it.
TEST_F(CacheChecks, DefinitionChangesMoveTheTimesAndRaiseEvents) {
  const ZQTimestamp start = static_cast<ZQTimestamp>(time(nullptr));
  EXPECT_EQ(definitionEvents(), 0u);  // the session starts watching
  Status s;
  ASSERT_EQ(createForm("Cached", s), 0);
  ASSERT_EQ(createField("Cached", 536870913, "Title", ZQ_DATA_TYPE_CHAR, s), 0);
  auto times = changeTimes();
  ASSERT_TRUE(times.count(kForms));
  EXPECT_GE(times[kForms].createTime, start);
  EXPECT_GE(times[kFields].createTime, start);
  EXPECT_EQ(times[kFields].deleteTime, 0);
  EXPECT_EQ(definitionEvents(), 1u);
  EXPECT_EQ(definitionEvents(), 0u);  // seen once

  ASSERT_EQ(ZQDeleteField(&control_, "Cached", 536870913, 0, &s), 0);
  times = changeTimes();
  EXPECT_GE(times[kFields].deleteTime, start);
  EXPECT_EQ(definitionEvents(), 1u);

  ZQTimestamp formChanged = 0, groups = 0, users = 0;
  int32_t links = -1, changedLinks = -1;
  ZQNameList menus{0, nullptr}, guides{0, nullptr};
  ASSERT_EQ(ZQValidateFormCache(&control_, "Cached", 0, 0, 0, &formChanged, &links, &changedLinks,
                                &menus, &groups, &users, &guides, &s),
            0);
  EXPECT_GE(formChanged, start);
  EXPECT_EQ(links, 0);
  EXPECT_EQ(changedLinks, 0);
  EXPECT_EQ(menus.count, 0u);
  FreeZQNameList(&menus, 0);
  FreeZQNameList(&guides, 0);
  EXPECT_EQ(ZQValidateFormCache(&control_, "Missing", 0, 0, 0, &formChanged, nullptr, nullptr,
                                nullptr, nullptr, nullptr, nullptr, s.fresh()),
            2);
  EXPECT_TRUE(s.has(zq::kMsgNoSuchForm));
}

TEST_F(CacheChecks, FormsAreEntryPointsOfTheirOwn) {
  Status s;
  ASSERT_EQ(createForm("Desk", s), 0);
  ZQNameList names{0, nullptr};
  ZQUnsignedIntList types{0, nullptr};
  ZQTextStringList labels{0, nullptr};
  ZQTimestampList stamps{0, nullptr};
  ASSERT_EQ(ZQGetMultipleEntryPoints(&control_, 0, nullptr, nullptr, nullptr, 0, 0, &names, &types,
                                     &labels, nullptr, nullptr, nullptr, nullptr, nullptr,
                                     nullptr, nullptr, &stamps, nullptr, &s),
            0);
  bool found = false;
  for (uint32_t i = 0; i < names.count; ++i)
    if (std::string(names.items[i]) == "Desk") {
      found = true;
      EXPECT_EQ(types.items[i], 1u);
      EXPECT_STREQ(labels.items[i], "Desk");
    }
  EXPECT_TRUE(found);
  FreeZQNameList(&names, 0);
  FreeZQUnsignedIntList(&types, 0);
  FreeZQTextStringList(&labels, 0);
  FreeZQTimestampList(&stamps, 0);

  // The two required outputs, and an application without entry points.
  const struct {
    ZQNameList* names;
    ZQUnsignedIntList* types;
    const char* appended;
  } missing[] = {{nullptr, &types, "entryPointNameList"}, {&names, nullptr, "entryPointTypeList"}};
  for (const auto& m : missing) {
    EXPECT_EQ(ZQGetMultipleEntryPoints(&control_, 0, nullptr, nullptr, nullptr, 0, 0, m.names,
                                       m.types, nullptr, nullptr, nullptr, nullptr, nullptr,
                                       nullptr, nullptr, nullptr, nullptr, nullptr, s.fresh()),
              2);
    ASSERT_GE(s.count, 1u);
    EXPECT_EQ(s.items[0].messageNumber, 105);
    EXPECT_STREQ(s.items[0].appended, m.appended);
  }
  zqtest::Names apps{"Desk Suite"};
  ASSERT_EQ(ZQGetMultipleEntryPoints(&control_, 0, &apps.list, nullptr, nullptr, 0, 0, &names,
                                     &types, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                                     nullptr, nullptr, nullptr, nullptr, s.fresh()),
            0);
  EXPECT_EQ(names.count, 0u);
  FreeZQNameList(&names, 0);
  FreeZQUnsignedIntList(&types, 0);
}

TEST_F(CacheChecks, FullTextSettingsAreKept) {
  ZQValueStruct words[] = {zqtest::charValue("the"), zqtest::charValue("a")};
  ZQFullTextInfoStruct set[3] = {};
  set[0].infoType = ZQ_FULLTEXT_STOPWORD;
  set[0].u.valueList = {2, words};
  set[1].infoType = ZQ_FULLTEXT_CASE_SENSITIVE_SRCH;
  set[1].u.value = zqtest::intValue(1);
  set[2].infoType = ZQ_FULLTEXT_COLLECTION_DIRECTORY;
  set[2].u.value = zqtest::charValue("/var/lib/zq/ft");
  ZQFullTextInfoList settings{3, set};
  Status s;
  ASSERT_EQ(ZQSetFullTextInfo(&control_, &settings, &s), 0);

  uint32_t asked[] = {ZQ_FULLTEXT_STOPWORD, ZQ_FULLTEXT_CASE_SENSITIVE_SRCH,
                      ZQ_FULLTEXT_COLLECTION_DIRECTORY};
  ZQFullTextInfoRequestList request{3, asked};
  ZQFullTextInfoList got{0, nullptr};
  ASSERT_EQ(ZQGetFullTextInfo(&control_, &request, &got, &s), 0);
  ASSERT_EQ(got.count, 3u);
  ASSERT_EQ(got.items[0].u.valueList.count, 2u);
  EXPECT_STREQ(got.items[0].u.valueList.items[1].u.charValue, "a");
  EXPECT_EQ(got.items[1].u.value.u.integerValue, 1);
  EXPECT_STREQ(got.items[2].u.value.u.charValue, "/var/lib/zq/ft");
  FreeZQFullTextInfoList(&got, 0);

  // Checked before anything is sent.
  const uint64_t before = calls();
  uint32_t unknown = 10;
  ZQFullTextInfoRequestList bad{1, &unknown};
  EXPECT_EQ(ZQGetFullTextInfo(&control_, &bad, &got, s.fresh()), 2);
  EXPECT_TRUE(s.has(654));
  ZQFullTextInfoList none{0, nullptr};
  EXPECT_EQ(ZQSetFullTextInfo(&control_, &none, s.fresh()), 2);
  EXPECT_TRUE(s.has(651));
  EXPECT_EQ(calls(), before);
}

}  // namespace
