// Field calls against zqserverd: every output or none, each part set with
// its bit, the calls on several fields, their checks and memory failures.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "definitions_fixture.h"
#include "frame/alloc.h"

using zqtest::charValue;
using zqtest::intValue;
using zqtest::Status;

namespace {

constexpr ZQInternalId kFirst = 536870913;
constexpr ZQInternalId kView = 536870920;

class Fields : public zqtest::DefinitionTest {
 protected:
  void SetUp() override {
    zqtest::DefinitionTest::SetUp();
    Status s;
    ASSERT_EQ(createForm("Form", s), 0);
  }

  // The per-field lists of the calls on several fields, over ids given.
  struct Many {
    std::vector<ZQInternalId> ids;
    std::vector<uint32_t> flags, types, options, modes, bits;
    std::vector<uint32_t*> typePtrs, optionPtrs, modePtrs, bitPtrs;
    std::vector<ZQFieldMappingStruct> mappings;
    std::vector<ZQFieldMappingStruct*> mappingPtrs;
    std::vector<ZQNameType> names;
    std::vector<ZQNameType*> namePtrs;
    ZQInternalIdList idList{};
    ZQUnsignedIntList flagList{};
    ZQUnsignedIntPtrList typeList{}, optionList{}, modeList{}, bitList{};
    ZQFieldMappingPtrList mappingList{};
    ZQNamePtrList nameList{};

    Many(std::vector<ZQInternalId> fieldIds, uint32_t dataType)
        : ids(std::move(fieldIds)),
          flags(ids.size(), 0),
          types(ids.size(), dataType),
          options(ids.size(), ZQ_FIELD_OPTION_OPTIONAL),
          modes(ids.size(), ZQ_FIELD_OPEN_AT_CREATE),
          bits(ids.size(), 0),
          mappings(ids.size()),
          names(ids.size()) {
      for (size_t i = 0; i < ids.size(); ++i) {
        mappings[i].fieldType = ZQ_FIELD_MAPPING_REGULAR;
        snprintf(names[i], sizeof(ZQNameType), "Field %u", ids[i]);
        typePtrs.push_back(&types[i]);
        optionPtrs.push_back(&options[i]);
        modePtrs.push_back(&modes[i]);
        bitPtrs.push_back(&bits[i]);
        mappingPtrs.push_back(&mappings[i]);
        namePtrs.push_back(&names[i]);
      }
      const auto n = static_cast<uint32_t>(ids.size());
      idList = {n, ids.data()};
      flagList = {n, flags.data()};
      typeList = {n, typePtrs.data()};
      optionList = {n, optionPtrs.data()};
      modeList = {n, modePtrs.data()};
      bitList = {n, bitPtrs.data()};
      mappingList = {n, mappingPtrs.data()};
      nameList = {n, namePtrs.data()};
    }
  };

  int createMany(Many& m, Status& s) {
    return ZQCreateMultipleFields(&control_, "Form", &m.idList, &m.flagList, &m.nameList,
                                  &m.mappingList, &m.typeList, &m.optionList, &m.modeList,
                                  &m.bitList, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                                  nullptr, &s);
  }

  // The view that display instances name (a field may only show in views
  // of its form).
  bool createView() {
    Status s;
    ZQInternalId id = kView;
    return ZQCreateVUI(&control_, "Form", &id, "Main", "", 0, nullptr, nullptr, nullptr, nullptr,
                       &s) == 0;
  }

  bool fieldThere(ZQInternalId id) { return fieldThere("Form", id); }
  bool fieldThere(const char* form, ZQInternalId id) {
    Status s;
    ZQTimestamp t = 0;
    return ZQGetField(&control_, form, id, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                      nullptr, nullptr, nullptr, nullptr, nullptr, &t, nullptr, nullptr, nullptr,
                      &s) == 0;
  }
};

TEST_F(Fields, GetReturnsEveryOutputAskedForOrOnlyTheTimestamp) {
  Status s;
  ASSERT_TRUE(createView());
  ZQFieldMappingStruct mapping{};
  mapping.fieldType = ZQ_FIELD_MAPPING_REGULAR;
  ZQValueStruct def = charValue("none yet");
  ZQPermissionStruct perms[] = {{1, ZQ_PERMISSIONS_CHANGE}, {5, ZQ_PERMISSIONS_VIEW}};
  ZQPermissionList permissions{2, perms};
  ZQFieldLimitStruct limit{};
  limit.dataType = ZQ_DATA_TYPE_CHAR;
  limit.u.charLimits.maximumLength = 40;
  limit.u.charLimits.menuStyle = 1;
  limit.u.charLimits.qbeMatchOperation = 1;
  ZQPropStruct where{20, intValue(12)};
  ZQDisplayInstanceStruct instance{kView, {1, &where}};
  ZQDisplayInstanceList displays{{0, nullptr}, 1, &instance};
  ZQInternalId id = kFirst;
  ASSERT_EQ(ZQCreateField(&control_, "Form", &id, 0, "Title", &mapping, ZQ_DATA_TYPE_CHAR,
                          ZQ_FIELD_OPTION_REQUIRED, ZQ_FIELD_PROTECTED_AT_CREATE, 5, &def,
                          &permissions, &limit, &displays, "Say it short", "Alice", "made", &s),
            0)
      << (s.count ? s.items[0].messageNumber : 0);

  ZQNameType name{};
  ZQFieldMappingStruct gotMapping{};
  uint32_t dataType = 0, option = 0, mode = 0, bits = 0;
  ZQValueStruct gotDefault{};
  ZQPermissionList gotPerms{};
  ZQFieldLimitStruct gotLimit{};
  ZQDisplayInstanceList gotDisplays{};
  char* help = nullptr;
  char* diary = nullptr;
  ZQTimestamp timestamp = 0;
  ZQAccessNameType owner{}, lastChanged{};
  ASSERT_EQ(ZQGetField(&control_, "Form", kFirst, name, &gotMapping, &dataType, &option, &mode,
                       &bits, &gotDefault, &gotPerms, &gotLimit, &gotDisplays, &help, &timestamp,
                       owner, lastChanged, &diary, &s),
            0);
  EXPECT_EQ(server_->faults().lastWantedMask, 16383u);
  EXPECT_STREQ(name, "Title");
  EXPECT_EQ(gotMapping.fieldType, uint32_t{ZQ_FIELD_MAPPING_REGULAR});
  EXPECT_EQ(dataType, uint32_t{ZQ_DATA_TYPE_CHAR});
  EXPECT_EQ(option, uint32_t{ZQ_FIELD_OPTION_REQUIRED});
  EXPECT_EQ(mode, uint32_t{ZQ_FIELD_PROTECTED_AT_CREATE});
  EXPECT_EQ(bits, 5u);
  ASSERT_EQ(gotDefault.dataType, uint32_t{ZQ_DATA_TYPE_CHAR});
  EXPECT_STREQ(gotDefault.u.charValue, "none yet");
  ASSERT_EQ(gotPerms.count, 2u);
  EXPECT_EQ(gotPerms.items[1].groupId, 5u);
  EXPECT_EQ(gotLimit.u.charLimits.maximumLength, 40u);
  ASSERT_EQ(gotDisplays.count, 1u);
  EXPECT_EQ(gotDisplays.items[0].vuiId, kView);
  ASSERT_EQ(gotDisplays.items[0].properties.count, 1u);
  EXPECT_EQ(gotDisplays.items[0].properties.items[0].value.u.integerValue, 12);
  EXPECT_STREQ(help, "Say it short");
  EXPECT_GT(timestamp, 0);
  EXPECT_STREQ(owner, "Alice");
  EXPECT_STREQ(lastChanged, "Demo");
  ASSERT_NE(diary, nullptr);
  EXPECT_NE(std::string(diary).find("made"), std::string::npos);
  FreeZQValueStruct(&gotDefault, 0);
  FreeZQPermissionList(&gotPerms, 0);
  FreeZQFieldLimitStruct(&gotLimit, 0);
  FreeZQDisplayInstanceList(&gotDisplays, 0);
  ZQFree(help);
  ZQFree(diary);

  ZQTimestamp only = 0;
  ASSERT_EQ(
      ZQGetField(&control_, "Form", kFirst, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                 nullptr, nullptr, nullptr, nullptr, nullptr, &only, nullptr, nullptr, nullptr, &s),
      0);
  EXPECT_EQ(server_->faults().lastWantedMask, 0u);
  EXPECT_EQ(only, timestamp);
}

// The changed-parts bits are those of the rules: name 1, option 2, create
// mode 4, default 8, permissions 16, limit 32, display instances 64, help
// 128, owner 256, diary 512, mapping 1024, option bits 2048, and the set
// option word in bits 12 and 13.
TEST_F(Fields, SetChangesEachPartWithItsBit) {
  Status s;
  ASSERT_TRUE(createView());
  ASSERT_EQ(createField("Form", kFirst, "Count", ZQ_DATA_TYPE_INTEGER, s), 0);
  uint32_t option = ZQ_FIELD_OPTION_DISPLAY, mode = ZQ_FIELD_PROTECTED_AT_CREATE, bits = 3;
  ZQValueStruct def = intValue(9);
  ZQPermissionStruct perm{8, ZQ_PERMISSIONS_VIEW};
  ZQPermissionList perms{1, &perm};
  ZQFieldLimitStruct limit{};
  limit.dataType = ZQ_DATA_TYPE_INTEGER;
  limit.u.intLimits.lowRange = -5;
  limit.u.intLimits.highRange = 50;
  ZQDisplayInstanceStruct instance{kView, {0, nullptr}};
  ZQDisplayInstanceList displays{{0, nullptr}, 1, &instance};
  ZQFieldMappingStruct mapping{};
  mapping.fieldType = ZQ_FIELD_MAPPING_REGULAR;
  struct Case {
    const char* part;
    uint32_t mask;
    std::function<int(Status&)> set;
  } cases[] = {
      {"name", 1,
       [&](Status& st) {
         return ZQSetField(&control_, "Form", kFirst, "Amount", nullptr, nullptr, nullptr, nullptr,
                           nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, 0, &st);
       }},
      {"option", 2,
       [&](Status& st) {
         return ZQSetField(&control_, "Form", kFirst, nullptr, nullptr, &option, nullptr, nullptr,
                           nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, 0, &st);
       }},
      {"create mode", 4,
       [&](Status& st) {
         return ZQSetField(&control_, "Form", kFirst, nullptr, nullptr, nullptr, &mode, nullptr,
                           nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, 0, &st);
       }},
      {"default", 8,
       [&](Status& st) {
         return ZQSetField(&control_, "Form", kFirst, nullptr, nullptr, nullptr, nullptr, nullptr,
                           &def, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, 0, &st);
       }},
      {"permissions", 16,
       [&](Status& st) {
         return ZQSetField(&control_, "Form", kFirst, nullptr, nullptr, nullptr, nullptr, nullptr,
                           nullptr, &perms, nullptr, nullptr, nullptr, nullptr, nullptr, 0, &st);
       }},
      {"limit", 32,
       [&](Status& st) {
         return ZQSetField(&control_, "Form", kFirst, nullptr, nullptr, nullptr, nullptr, nullptr,
                           nullptr, nullptr, &limit, nullptr, nullptr, nullptr, nullptr, 0, &st);
       }},
      {"display instances", 64,
       [&](Status& st) {
         return ZQSetField(&control_, "Form", kFirst, nullptr, nullptr, nullptr, nullptr, nullptr,
                           nullptr, nullptr, nullptr, &displays, nullptr, nullptr, nullptr, 0, &st);
       }},
      {"help", 128,
       [&](Status& st) {
         return ZQSetField(&control_, "Form", kFirst, nullptr, nullptr, nullptr, nullptr, nullptr,
                           nullptr, nullptr, nullptr, nullptr, "More help", nullptr, nullptr, 0,
                           &st);
       }},
      {"owner", 256,
       [&](Status& st) {
         return ZQSetField(&control_, "Form", kFirst, nullptr, nullptr, nullptr, nullptr, nullptr,
                           nullptr, nullptr, nullptr, nullptr, nullptr, "Carol", nullptr, 0, &st);
       }},
      {"diary", 512,
       [&](Status& st) {
         return ZQSetField(&control_, "Form", kFirst, nullptr, nullptr, nullptr, nullptr, nullptr,
                           nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, "checked", 0, &st);
       }},
      {"mapping", 1024,
       [&](Status& st) {
         return ZQSetField(&control_, "Form", kFirst, nullptr, &mapping, nullptr, nullptr, nullptr,
                           nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, 0, &st);
       }},
      {"option bits", 2048,
       [&](Status& st) {
         return ZQSetField(&control_, "Form", kFirst, nullptr, nullptr, nullptr, nullptr, &bits,
                           nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, 0, &st);
       }},
      {"set option 2 with help", 128 | 8192,
       [&](Status& st) {
         return ZQSetField(&control_, "Form", kFirst, nullptr, nullptr, nullptr, nullptr, nullptr,
                           nullptr, nullptr, nullptr, nullptr, "Last help", nullptr, nullptr, 2,
                           &st);
       }},
  };
  for (auto& c : cases) {
    Status st;
    EXPECT_EQ(c.set(st), 0) << c.part << " " << (st.count ? st.items[0].messageNumber : 0);
    EXPECT_EQ(server_->faults().lastChangedMask, c.mask) << c.part;
  }

  ZQNameType name{};
  uint32_t gotOption = 0, gotMode = 0, gotBits = 0;
  ZQValueStruct gotDefault{};
  ZQPermissionList gotPerms{};
  ZQFieldLimitStruct gotLimit{};
  ZQDisplayInstanceList gotDisplays{};
  char* help = nullptr;
  char* diary = nullptr;
  ZQAccessNameType owner{};
  ASSERT_EQ(ZQGetField(&control_, "Form", kFirst, name, nullptr, nullptr, &gotOption, &gotMode,
                       &gotBits, &gotDefault, &gotPerms, &gotLimit, &gotDisplays, &help, nullptr,
                       owner, nullptr, &diary, &s),
            0);
  EXPECT_STREQ(name, "Amount");
  EXPECT_EQ(gotOption, option);
  EXPECT_EQ(gotMode, mode);
  EXPECT_EQ(gotBits, bits);
  EXPECT_EQ(gotDefault.u.integerValue, 9);
  ASSERT_EQ(gotPerms.count, 1u);
  EXPECT_EQ(gotPerms.items[0].groupId, 8u);
  EXPECT_EQ(gotLimit.u.intLimits.highRange, 50);
  EXPECT_EQ(gotDisplays.count, 1u);
  EXPECT_STREQ(help, "Last help");
  EXPECT_STREQ(owner, "Carol");
  ASSERT_NE(diary, nullptr);
  EXPECT_NE(std::string(diary).find("checked"), std::string::npos);
  FreeZQValueStruct(&gotDefault, 0);
  FreeZQPermissionList(&gotPerms, 0);
  FreeZQFieldLimitStruct(&gotLimit, 0);
  FreeZQDisplayInstanceList(&gotDisplays, 0);
  ZQFree(help);
  ZQFree(diary);

  // Both set options at once are refused before anything is sent.
  const uint64_t before = calls();
  EXPECT_EQ(ZQSetField(&control_, "Form", kFirst, nullptr, nullptr, nullptr, nullptr, nullptr,
                       nullptr, nullptr, nullptr, nullptr, "x", nullptr, nullptr, 3, &s),
            2);
  EXPECT_TRUE(s.has(182));
  EXPECT_EQ(calls(), before);
}

// A field without permissions warns 50 and is made all the same; a
// control field needs none.
TEST_F(Fields, NoPermissionsWarns50) {
  Status s;
  ZQInternalId id = kFirst;
  EXPECT_EQ(ZQCreateField(&control_, "Form", &id, 0, "Open", nullptr, ZQ_DATA_TYPE_CHAR,
                          ZQ_FIELD_OPTION_OPTIONAL, ZQ_FIELD_OPEN_AT_CREATE, 0, nullptr, nullptr,
                          nullptr, nullptr, nullptr, nullptr, nullptr, &s),
            1);
  EXPECT_EQ(s.entries(), (std::vector<std::pair<uint32_t, int32_t>>{{1u, 50}}));
  EXPECT_TRUE(fieldThere(kFirst));
  s.reset();
  id = kFirst + 1;
  EXPECT_EQ(ZQCreateField(&control_, "Form", &id, 0, "Button", nullptr, ZQ_DATA_TYPE_CONTROL,
                          ZQ_FIELD_OPTION_DISPLAY, ZQ_FIELD_OPEN_AT_CREATE, 0, nullptr, nullptr,
                          nullptr, nullptr, nullptr, nullptr, nullptr, &s),
            0);
}

// The server refuses a field shown in a view its form lacks, and a failed
// set leaves the field as it was.
TEST_F(Fields, DisplayInAnUnknownViewIsRefused) {
  Status s;
  ASSERT_EQ(createField("Form", kFirst, "Title", ZQ_DATA_TYPE_CHAR, s), 0);
  ZQDisplayInstanceStruct instance{kView + 5, {0, nullptr}};
  ZQDisplayInstanceList displays{{0, nullptr}, 1, &instance};
  EXPECT_EQ(ZQSetField(&control_, "Form", kFirst, "Renamed", nullptr, nullptr, nullptr, nullptr,
                       nullptr, nullptr, nullptr, &displays, nullptr, nullptr, nullptr, 0, &s),
            2);
  EXPECT_TRUE(s.has(310));
  s.reset();
  ZQNameType name{};
  ASSERT_EQ(ZQGetField(&control_, "Form", kFirst, name, nullptr, nullptr, nullptr, nullptr, nullptr,
                       nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                       nullptr, &s),
            0);
  EXPECT_STREQ(name, "Title");
}

// Created together, read together (exists flags for ids that are not
// there), changed one by one with a status list each, deleted all or none.
TEST_F(Fields, SeveralAtOnce) {
  Status s;
  Many m({kFirst, kFirst + 1, kFirst + 2}, ZQ_DATA_TYPE_CHAR);
  ASSERT_EQ(createMany(m, s), 0) << (s.count ? s.items[0].messageNumber : 0);

  ZQInternalId wantedIds[] = {kFirst + 1, kFirst + 7, kFirst};
  ZQInternalIdList wanted{3, wantedIds};
  ZQBooleanList exists{};
  ZQInternalIdList ids{};
  ZQNameList names{};
  ZQUnsignedIntList types{};
  ASSERT_EQ(ZQGetMultipleFields(&control_, "Form", &wanted, &exists, &ids, &names, nullptr, &types,
                                nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                                nullptr, nullptr, nullptr, nullptr, nullptr, &s),
            0);
  EXPECT_EQ(server_->faults().lastWantedMask, 1u | 2u | 4u | 16u);
  ASSERT_EQ(exists.count, 3u);
  EXPECT_EQ(exists.items[0], 1);
  EXPECT_EQ(exists.items[1], 0);
  EXPECT_EQ(exists.items[2], 1);
  ASSERT_EQ(ids.count, 3u);
  EXPECT_EQ(ids.items[1], kFirst + 7);
  ASSERT_EQ(names.count, 3u);
  EXPECT_STREQ(names.items[0], "Field 536870914");
  ASSERT_EQ(types.count, 3u);
  EXPECT_EQ(types.items[2], uint32_t{ZQ_DATA_TYPE_CHAR});
  FreeZQBooleanList(&exists, 0);
  FreeZQInternalIdList(&ids, 0);
  FreeZQNameList(&names, 0);
  FreeZQUnsignedIntList(&types, 0);
  ASSERT_EQ(ZQGetMultipleFields(&control_, "Form", nullptr, &exists, &ids, nullptr, nullptr,
                                nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                                nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &s),
            0);
  EXPECT_GE(ids.count, 3u);  // with the core fields
  FreeZQBooleanList(&exists, 0);
  FreeZQInternalIdList(&ids, 0);

  // The second id does not exist: its own status list says so, the others
  // are changed.
  ZQInternalId setIds[] = {kFirst, kFirst + 9, kFirst + 2};
  ZQInternalIdList setList{3, setIds};
  char h0[] = "help 0", h1[] = "help 1", h2[] = "help 2";
  char* helps[] = {h0, h1, h2};
  ZQTextStringList helpTexts{3, helps};
  ZQStatusListList fieldStatus{};
  EXPECT_EQ(ZQSetMultipleFields(&control_, "Form", &setList, nullptr, nullptr, nullptr, nullptr,
                                nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &helpTexts,
                                nullptr, nullptr, nullptr, &fieldStatus, &s),
            2);
  ASSERT_EQ(fieldStatus.count, 3u);
  EXPECT_EQ(fieldStatus.items[0].count, 0u);
  ASSERT_EQ(fieldStatus.items[1].count, 1u);
  EXPECT_EQ(fieldStatus.items[1].items[0].messageNumber, 304);
  EXPECT_EQ(fieldStatus.items[2].count, 0u);
  FreeZQStatusListList(&fieldStatus, 0);
  s.reset();
  char* help = nullptr;
  ASSERT_EQ(ZQGetField(&control_, "Form", kFirst + 2, nullptr, nullptr, nullptr, nullptr, nullptr,
                       nullptr, nullptr, nullptr, nullptr, nullptr, &help, nullptr, nullptr,
                       nullptr, nullptr, &s),
            0);
  EXPECT_STREQ(help, "help 2");
  ZQFree(help);

  ZQInternalId some[] = {kFirst, kFirst + 9};
  ZQInternalIdList someList{2, some};
  EXPECT_EQ(ZQDeleteMultipleFields(&control_, "Form", &someList, 0, &s), 2);
  s.reset();
  EXPECT_TRUE(fieldThere(kFirst));
  ZQInternalId all[] = {kFirst, kFirst + 1};
  ZQInternalIdList allList{2, all};
  ASSERT_EQ(ZQDeleteMultipleFields(&control_, "Form", &allList, 0, &s), 0);
  EXPECT_FALSE(fieldThere(kFirst));
  EXPECT_FALSE(fieldThere(kFirst + 1));
  EXPECT_TRUE(fieldThere(kFirst + 2));

  // A failure among several creates leaves none of them.
  Many again({kFirst + 20, kFirst + 2}, ZQ_DATA_TYPE_CHAR);
  EXPECT_EQ(createMany(again, s), 2);
  EXPECT_TRUE(s.has(305));
  EXPECT_FALSE(fieldThere(kFirst + 20));
}

// Every allocation failing in turn: the calls end cleanly with a memory
// message and nothing half done (the sanitizer build finds the leaks).
TEST_F(Fields, MemoryFailuresEndCleanly) {
  Status s;
  Many made({kFirst, kFirst + 1}, ZQ_DATA_TYPE_INTEGER);
  ASSERT_EQ(createMany(made, s), 0);
  ASSERT_EQ(createForm("Form2", s), 0);
  Many made2({kFirst + 10, kFirst + 11}, ZQ_DATA_TYPE_CHAR);
  struct Case {
    const char* call;
    std::function<int(Status&)> run;
    std::function<void(int)> after = [](int) {};
  } cases[] = {
      {"ZQGetSchema",
       [&](Status& st) {
         ZQCompoundSchema kind{};
         ZQPermissionList perms{};
         ZQEntryListFieldList getList{};
         char* help = nullptr;
         ZQPropList props{};
         const int rc = ZQGetSchema(&control_, "Form", &kind, nullptr, &perms, nullptr, &getList,
                                    nullptr, nullptr, nullptr, nullptr, nullptr, &help, nullptr,
                                    nullptr, nullptr, nullptr, &props, &st);
         FreeZQCompoundSchema(&kind, 0);
         FreeZQPermissionList(&perms, 0);
         FreeZQEntryListFieldList(&getList, 0);
         FreeZQPropList(&props, 0);
         ZQFree(help);
         return rc;
       }},
      {"ZQGetMultipleFields",
       [&](Status& st) {
         ZQBooleanList exists{};
         ZQNameList names{};
         ZQPermissionListList perms{};
         ZQTextStringList helps{};
         const int rc =
             ZQGetMultipleFields(&control_, "Form", nullptr, &exists, nullptr, &names, nullptr,
                                 nullptr, nullptr, nullptr, nullptr, nullptr, &perms, nullptr,
                                 nullptr, &helps, nullptr, nullptr, nullptr, nullptr, &st);
         FreeZQBooleanList(&exists, 0);
         FreeZQNameList(&names, 0);
         FreeZQPermissionListList(&perms, 0);
         FreeZQTextStringList(&helps, 0);
         return rc;
       }},
      {"ZQCreateMultipleFields",
       [&](Status& st) {
         return ZQCreateMultipleFields(&control_, "Form2", &made2.idList, &made2.flagList,
                                       &made2.nameList, &made2.mappingList, &made2.typeList,
                                       &made2.optionList, &made2.modeList, &made2.bitList, nullptr,
                                       nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &st);
       },
       [&](int rc) {
         // All or nothing, whatever failed; then back to nothing.
         const bool first = fieldThere("Form2", kFirst + 10);
         EXPECT_EQ(first, fieldThere("Form2", kFirst + 11));
         if (rc == 0) {
           EXPECT_TRUE(first);
         }
         Status cleanup;
         ZQDeleteMultipleFields(&control_, "Form2", &made2.idList, 0, &cleanup);
       }},
  };
  for (auto& c : cases) {
    for (long n = 0;; ++n) {
      Status st;
      zq::testing::failOnlyAllocation(n);
      const int rc = c.run(st);
      const long failed = zq::testing::failedAllocations();
      zq::testing::failOnlyAllocation(-1);
      c.after(rc);
      if (failed == 0) {
        EXPECT_EQ(rc, 0) << c.call;
        EXPECT_GT(n, 5) << c.call;  // the sweep went through the call's allocations
        break;
      }
      EXPECT_TRUE(rc == 0 || rc == 2) << c.call << " " << n;
      // A failure in the library says 154 or 300; one in the server comes
      // back as its reply (154 too) or as a failed exchange.
      if (rc == 2) {
        EXPECT_GT(st.count, 0u) << c.call << " " << n;
      }
      ASSERT_LT(n, 5000) << c.call;
    }
  }
}

}  // namespace
