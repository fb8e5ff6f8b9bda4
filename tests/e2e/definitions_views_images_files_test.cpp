// View, image and support-file calls against zqserverd, and the checks of
// every definition kind that end a call before anything is sent.
#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <string>

#include "definitions_fixture.h"
#include "form_definitions.h"
#include "frame/message_numbers.h"

using zqtest::charValue;
using zqtest::intValue;
using zqtest::Names;
using zqtest::namesOf;
using zqtest::Status;

namespace {

constexpr ZQInternalId kFirst = 536870913;

class ViewsImagesFiles : public zqtest::DefinitionTest {
 protected:
  void SetUp() override {
    zqtest::DefinitionTest::SetUp();
    Status s;
    ASSERT_EQ(createForm("Form", s), 0);
  }

  void setResponseSize(int32_t size) {
    ZQValueStruct v = intValue(size);
    Status s;
    ASSERT_EQ(ZQSetSessionVariable(&control_, ZQ_SESSVAR_RESPONSE_SIZE, &v, &s), 0);
  }

  // The exchanges of a call with a procedure, oldest first.
  std::vector<zqserver::Sessions::Exchange> exchangesOf(uint32_t procedure,
                                                        const std::function<void()>& call) {
    const uint64_t before = calls();
    call();
    const uint64_t n = calls() - before;
    auto all = server_->sessions().recentExchanges();
    std::vector<zqserver::Sessions::Exchange> out;
    for (size_t i = all.size() - std::min<size_t>(n, all.size()); i < all.size(); ++i)
      if (all[i].procedure == procedure) out.push_back(all[i]);
    return out;
  }

  static std::string content(size_t n) {
    std::string s(n, '\0');
    for (size_t i = 0; i < n; ++i) s[i] = static_cast<char>((i * 31 + i / 251) & 0xFF);
    return s;
  }

  // A temporary file holding text, positioned at its start.
  static FILE* fileOf(const std::string& text) {
    FILE* f = tmpfile();
    fwrite(text.data(), 1, text.size(), f);
    rewind(f);
    return f;
  }
  static std::string read(FILE* f) {
    std::string out;
    rewind(f);
    char buf[4096];
    size_t n;
    while ((n = fread(buf, 1, sizeof buf, f)) > 0) out.append(buf, n);
    return out;
  }
};

TEST_F(ViewsImagesFiles, ViewsRoundTrip) {
  Status s;
  ZQPropStruct prop{5, charValue("blue")};
  ZQPropList props{1, &prop};
  ZQInternalId id = 0;  // the server chooses
  ASSERT_EQ(
      ZQCreateVUI(&control_, "Form", &id, "Main", "en_US", 1, &props, "Help", "Alice", "made", &s),
      0)
      << (s.count ? s.items[0].messageNumber : 0);
  EXPECT_EQ(id, zqserver::kFirstFreeId);
  ZQInternalId second = kFirst + 100;
  ASSERT_EQ(ZQCreateVUI(&control_, "Form", &second, "Small", "fr_FR", 2, nullptr, nullptr, nullptr,
                        nullptr, &s),
            0);

  ZQNameType name{};
  char locale[ZQ_MAX_LOCALE_SIZE + 1] = "junk";
  uint32_t type = 0;
  ZQPropList gotProps{};
  char* help = nullptr;
  char* diary = nullptr;
  ZQTimestamp timestamp = 0;
  ZQAccessNameType owner{}, lastChanged{};
  ASSERT_EQ(ZQGetVUI(&control_, "Form", id, name, locale, &type, &gotProps, &help, &timestamp,
                     owner, lastChanged, &diary, &s),
            0);
  EXPECT_EQ(server_->faults().lastWantedMask, 255u);
  EXPECT_STREQ(name, "Main");
  EXPECT_STREQ(locale, "en_US");
  EXPECT_EQ(type, 1u);
  ASSERT_EQ(gotProps.count, 1u);
  EXPECT_STREQ(gotProps.items[0].value.u.charValue, "blue");
  EXPECT_STREQ(help, "Help");
  EXPECT_GT(timestamp, 0);
  EXPECT_STREQ(owner, "Alice");
  EXPECT_STREQ(lastChanged, "Demo");
  ASSERT_NE(diary, nullptr);
  EXPECT_NE(std::string(diary).find("made"), std::string::npos);
  FreeZQPropList(&gotProps, 0);
  ZQFree(help);
  ZQFree(diary);
  ZQTimestamp only = 0;
  ASSERT_EQ(ZQGetVUI(&control_, "Form", id, nullptr, nullptr, nullptr, nullptr, nullptr, &only,
                     nullptr, nullptr, nullptr, &s),
            0);
  EXPECT_EQ(server_->faults().lastWantedMask, 0u);
  EXPECT_EQ(only, timestamp);

  uint32_t newType = 3;
  ASSERT_EQ(ZQSetVUI(&control_, "Form", id, "Renamed", nullptr, &newType, nullptr, nullptr, nullptr,
                     nullptr, &s),
            0);
  EXPECT_EQ(server_->faults().lastChangedMask, 1u | 4u);
  ASSERT_EQ(ZQGetVUI(&control_, "Form", id, name, nullptr, &type, nullptr, nullptr, nullptr,
                     nullptr, nullptr, nullptr, &s),
            0);
  EXPECT_STREQ(name, "Renamed");
  EXPECT_EQ(type, 3u);

  ZQInternalIdList ids{};
  ASSERT_EQ(ZQGetListVUI(&control_, "Form", 0, &ids, &s), 0);
  ASSERT_EQ(ids.count, 2u);
  FreeZQInternalIdList(&ids, 0);
  age("Small", 1000);
  ASSERT_EQ(ZQGetListVUI(&control_, "Form", 2000, &ids, &s), 0);
  ASSERT_EQ(ids.count, 1u);
  EXPECT_EQ(ids.items[0], id);
  FreeZQInternalIdList(&ids, 0);

  ZQInternalId wantedIds[] = {second, kFirst + 999};
  ZQInternalIdList wanted{2, wantedIds};
  ZQBooleanList exists{};
  ZQNameList names{};
  ZQLocaleList locales{};
  ASSERT_EQ(ZQGetMultipleVUIs(&control_, "Form", &wanted, 0, &exists, &ids, &names, &locales,
                              nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &s),
            0);
  ASSERT_EQ(exists.count, 2u);
  EXPECT_EQ(exists.items[0], 1);
  EXPECT_EQ(exists.items[1], 0);
  ASSERT_EQ(ids.count, 2u);
  EXPECT_EQ(ids.items[0], second);
  EXPECT_EQ(namesOf(names)[0], "Small");
  ASSERT_EQ(locales.count, 2u);
  EXPECT_STREQ(locales.items[0], "fr_FR");
  FreeZQBooleanList(&exists, 0);
  FreeZQInternalIdList(&ids, 0);
  FreeZQNameList(&names, 0);
  FreeZQLocaleList(&locales, 0);

  ASSERT_EQ(ZQDeleteVUI(&control_, "Form", second, &s), 0);
  EXPECT_EQ(ZQGetVUI(&control_, "Form", second, name, nullptr, nullptr, nullptr, nullptr, nullptr,
                     nullptr, nullptr, nullptr, &s),
            2);
  s.reset();
  // Two views of a form cannot share a name.
  ZQInternalId clash = 0;
  EXPECT_EQ(ZQCreateVUI(&control_, "Form", &clash, "Renamed", "", 0, nullptr, nullptr, nullptr,
                        nullptr, &s),
            2);
  EXPECT_TRUE(s.has(305));
}

TEST_F(ViewsImagesFiles, ImagesRoundTrip) {
  Status s;
  unsigned char bytes[] = {'G', 'I', 'F', '8', '9', 'a', 0, 1, 2};
  ZQImageDataStruct data{sizeof bytes, bytes};
  ZQPropStruct prop{7, intValue(3)};
  ZQPropList props{1, &prop};
  ASSERT_EQ(ZQCreateImage(&control_, "Logo", &data, "gif", "The logo", "Help", "Alice", "made",
                          &props, &s),
            0)
      << (s.count ? s.items[0].messageNumber : 0);
  ASSERT_EQ(ZQCreateImage(&control_, "Icon", &data, "png", nullptr, nullptr, nullptr, nullptr,
                          nullptr, &s),
            0);

  ZQImageDataStruct got{};
  char *type = nullptr, *checksum = nullptr, *description = nullptr, *help = nullptr,
       *diary = nullptr;
  ZQTimestamp timestamp = 0;
  ZQAccessNameType owner{}, lastChanged{};
  ZQPropList gotProps{};
  ASSERT_EQ(ZQGetImage(&control_, "Logo", &got, &type, &timestamp, &checksum, &description, &help,
                       owner, lastChanged, &diary, &gotProps, &s),
            0);
  EXPECT_EQ(server_->faults().lastWantedMask, 511u);
  ASSERT_EQ(got.size, sizeof bytes);
  EXPECT_EQ(memcmp(got.bytes, bytes, sizeof bytes), 0);
  EXPECT_STREQ(type, "gif");
  EXPECT_GT(timestamp, 0);
  ASSERT_NE(checksum, nullptr);
  EXPECT_NE(*checksum, '\0');
  EXPECT_STREQ(description, "The logo");
  EXPECT_STREQ(help, "Help");
  EXPECT_STREQ(owner, "Alice");
  EXPECT_STREQ(lastChanged, "Demo");
  EXPECT_EQ(gotProps.count, 1u);
  FreeZQImageDataStruct(&got, 0);
  FreeZQPropList(&gotProps, 0);
  for (char* t : {type, checksum, description, help, diary}) ZQFree(t);

  // Renamed: the old name is gone, the new one lists.
  ASSERT_EQ(ZQSetImage(&control_, "Logo", "Brand", nullptr, nullptr, nullptr, nullptr, nullptr,
                       nullptr, nullptr, &s),
            0);
  EXPECT_EQ(server_->faults().lastChangedMask, 1u);
  ZQNameList names{};
  ASSERT_EQ(ZQGetListImage(&control_, nullptr, 0, nullptr, &names, &s), 0);
  EXPECT_EQ(namesOf(names), (std::vector<std::string>{"Brand", "Icon"}));
  FreeZQNameList(&names, 0);
  ASSERT_EQ(ZQGetListImage(&control_, nullptr, 0, "png", &names, &s), 0);
  EXPECT_EQ(namesOf(names), (std::vector<std::string>{"Icon"}));
  FreeZQNameList(&names, 0);

  Names wanted{"Icon", "Logo"};
  ZQBooleanList exists{};
  ZQImageDataList images{};
  ASSERT_EQ(
      ZQGetMultipleImages(&control_, 0, &wanted.list, &exists, &names, &images, nullptr, nullptr,
                          nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &s),
      0);
  ASSERT_EQ(exists.count, 2u);
  EXPECT_EQ(exists.items[0], 1);
  EXPECT_EQ(exists.items[1], 0);
  ASSERT_EQ(images.count, 2u);
  EXPECT_EQ(images.items[0].size, sizeof bytes);
  FreeZQBooleanList(&exists, 0);
  FreeZQNameList(&names, 0);
  FreeZQImageDataList(&images, 0);

  ASSERT_EQ(ZQDeleteImage(&control_, "Icon", 0, &s), 0);
  EXPECT_EQ(ZQDeleteImage(&control_, "Icon", 0, &s), 2);
  EXPECT_TRUE(s.has(307));
}

// A file of exactly the response size travels in one chunk marked last, a
// larger one in several; both read back byte for byte, in slices too.
TEST_F(ViewsImagesFiles, SupportFilesTravelInChunks) {
  setResponseSize(4096);
  struct Case {
    ZQInternalId fileId;
    size_t size;
    size_t uploads;
  } cases[] = {{1, 4096, 1}, {2, 4096 * 2 + 100, 3}, {3, 1, 1}};
  for (const Case& c : cases) {
    const std::string text = content(c.size);
    FILE* f = fileOf(text);
    Status s;
    auto up = exchangesOf(69, [&] {
      EXPECT_EQ(ZQSetSupportFile(&control_, ZQ_SUPPORT_FILE_FORM, "Form", 0, c.fileId, f, &s), 0)
          << c.size << " " << (s.count ? s.items[0].messageNumber : 0);
    });
    fclose(f);
    ASSERT_EQ(up.size(), c.uploads) << c.size;
    for (size_t i = 0; i < up.size(); ++i) EXPECT_EQ(up[i].lastChunk, i + 1 == up.size()) << i;

    FILE* out = tmpfile();
    ZQTimestamp stamp = 0;
    auto down = exchangesOf(68, [&] {
      EXPECT_EQ(
          ZQGetSupportFile(&control_, ZQ_SUPPORT_FILE_FORM, "Form", 0, c.fileId, out, &stamp, &s),
          0);
    });
    EXPECT_EQ(down.size(), (c.size + 3071) / 3072) << c.size;  // the server's slices
    EXPECT_GT(stamp, 0);
    EXPECT_EQ(read(out), text) << c.size;
    fclose(out);
  }

  Status s;
  ZQInternalIdList ids{};
  ASSERT_EQ(ZQGetListSupportFile(&control_, ZQ_SUPPORT_FILE_FORM, "Form", 0, 0, &ids, &s), 0);
  EXPECT_EQ(ids.count, 3u);
  FreeZQInternalIdList(&ids, 0);
  ASSERT_EQ(ZQDeleteSupportFile(&control_, ZQ_SUPPORT_FILE_FORM, "Form", 0, 2, &s), 0);
  FILE* out = tmpfile();
  EXPECT_EQ(ZQGetSupportFile(&control_, ZQ_SUPPORT_FILE_FORM, "Form", 0, 2, out, nullptr, &s), 2);
  EXPECT_EQ(read(out), "");
  fclose(out);
  s.reset();

  // A file that cannot take what arrives: 301 with the system's reason.
  if (FILE* full = fopen("/dev/full", "w")) {
    setvbuf(full, nullptr, _IONBF, 0);
    EXPECT_EQ(ZQGetSupportFile(&control_, ZQ_SUPPORT_FILE_FORM, "Form", 0, 1, full, nullptr, &s),
              2);
    EXPECT_TRUE(s.has(zq::kMsgWriteFailed));
    fclose(full);
    s.reset();
  }

  // The files of a form go with it.
  ASSERT_EQ(ZQDeleteSchema(&control_, "Form", 0, &s), 0);
  ASSERT_EQ(createForm("Form", s), 0);
  ASSERT_EQ(ZQGetListSupportFile(&control_, ZQ_SUPPORT_FILE_FORM, "Form", 0, 0, &ids, &s), 0);
  EXPECT_EQ(ids.count, 0u);
  FreeZQInternalIdList(&ids, 0);
}

// Nothing to change: the warning 54 alone, and the server sees nothing.
TEST_F(ViewsImagesFiles, NothingToChangeWarns54WithoutCallingTheServer) {
  Status s;
  ASSERT_EQ(createField("Form", kFirst, "Title", ZQ_DATA_TYPE_CHAR, s), 0);
  struct Case {
    const char* call;
    std::function<int(Status&)> run;
  } cases[] = {
      {"ZQSetSchema, same name",
       [&](Status& st) {
         return ZQSetSchema(&control_, "Form", "Form", nullptr, nullptr, nullptr, nullptr, nullptr,
                            nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                            nullptr, 0, &st);
       }},
      {"ZQSetField",
       [&](Status& st) {
         return ZQSetField(&control_, "Form", kFirst, nullptr, nullptr, nullptr, nullptr, nullptr,
                           nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, 0, &st);
       }},
      {"ZQSetMultipleFields",
       [&](Status& st) {
         ZQInternalId id = kFirst;
         ZQInternalIdList ids{1, &id};
         ZQStatusListList out{};
         return ZQSetMultipleFields(&control_, "Form", &ids, nullptr, nullptr, nullptr, nullptr,
                                    nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                                    nullptr, nullptr, nullptr, &out, &st);
       }},
      {"ZQSetVUI",
       [&](Status& st) {
         return ZQSetVUI(&control_, "Form", kFirst, nullptr, nullptr, nullptr, nullptr, nullptr,
                         nullptr, nullptr, &st);
       }},
      {"ZQSetImage, same name",
       [&](Status& st) {
         return ZQSetImage(&control_, "Logo", "Logo", nullptr, nullptr, nullptr, nullptr, nullptr,
                           nullptr, nullptr, &st);
       }},
  };
  for (auto& c : cases) {
    Status st;
    const uint64_t before = calls();
    EXPECT_EQ(c.run(st), 1) << c.call;
    EXPECT_EQ(st.entries(), (std::vector<std::pair<uint32_t, int32_t>>{{1u, 54}})) << c.call;
    EXPECT_EQ(calls(), before) << c.call;
  }
}

// Each check ends the call with its message before anything is sent.
TEST_F(ViewsImagesFiles, ChecksEndTheCallBeforeAnythingIsSent) {
  ZQPermissionStruct perm{1, ZQ_PERMISSIONS_CHANGE};
  ZQPermissionList perms{1, &perm};
  auto field = [&](ZQInternalId* id, uint32_t dataType, uint32_t option, uint32_t mode,
                   ZQValueStruct* def, ZQFieldMappingStruct* mapping, Status& st) {
    const std::string name = "F" + std::to_string(id ? *id : 0);
    return ZQCreateField(&control_, "Form", id, 0, name.c_str(), mapping, dataType, option, mode, 0,
                         def, &perms, nullptr, nullptr, nullptr, nullptr, nullptr, &st);
  };
  ZQInternalId id = kFirst;
  const std::string text255(255, 'x'), text256(256, 'x'), name255(255, 'n');
  ZQValueStruct long256 = charValue(text256.c_str());
  ZQValueStruct wrongType = intValue(1);
  ZQFieldMappingStruct badJoin{}, badType{};
  badJoin.fieldType = ZQ_FIELD_MAPPING_JOIN;
  badJoin.u.join.schemaIndex = 2;
  badType.fieldType = 9;
  ZQCompoundSchema kind0{}, kind6{}, joinNoMember{};
  kind6.schemaType = 6;
  joinNoMember.schemaType = ZQ_SCHEMA_JOIN;
  strcpy(joinNoMember.u.join.joinMemberA, "Form");
  FILE* empty = tmpfile();
  FILE* one = tmpfile();
  fputc('x', one);
  rewind(one);
  unsigned char pixel = 0;
  ZQImageDataStruct image{1, &pixel}, noImage{0, nullptr};

  struct Case {
    const char* what;
    int32_t message;
    std::function<int(Status&)> run;
  } cases[] = {
      {"field data type 1", 110,
       [&](Status& st) { return field(&id, ZQ_DATA_TYPE_KEYWORD, 2, 1, nullptr, nullptr, st); }},
      {"field data type 44", 110,
       [&](Status& st) { return field(&id, 44, 2, 1, nullptr, nullptr, st); }},
      {"null field id", 178,
       [&](Status& st) { return field(nullptr, ZQ_DATA_TYPE_CHAR, 2, 1, nullptr, nullptr, st); }},
      {"field option 5", 118,
       [&](Status& st) { return field(&id, ZQ_DATA_TYPE_CHAR, 5, 1, nullptr, nullptr, st); }},
      {"create mode 3", 119,
       [&](Status& st) { return field(&id, ZQ_DATA_TYPE_CHAR, 2, 3, nullptr, nullptr, st); }},
      {"default of 256 characters", 180,
       [&](Status& st) { return field(&id, ZQ_DATA_TYPE_CHAR, 2, 1, &long256, nullptr, st); }},
      {"default of another type", 166,
       [&](Status& st) { return field(&id, ZQ_DATA_TYPE_CHAR, 2, 1, &wrongType, nullptr, st); }},
      {"join mapping of member 2", 271,
       [&](Status& st) { return field(&id, ZQ_DATA_TYPE_CHAR, 2, 1, nullptr, &badJoin, st); }},
      {"mapping type 9", 273,
       [&](Status& st) { return field(&id, ZQ_DATA_TYPE_CHAR, 2, 1, nullptr, &badType, st); }},
      {"form kind 0 on create", 265, [&](Status& st) { return createForm("New", st, kind0); }},
      {"form kind 6", 269, [&](Status& st) { return createForm("New", st, kind6); }},
      {"join without member B", 266,
       [&](Status& st) { return createForm("New", st, joinNoMember); }},
      {"form name of 255 characters", 103,
       [&](Status& st) { return createForm(name255.c_str(), st); }},
      {"short name list", 486,
       [&](Status& st) {
         ZQInternalId ids[] = {kFirst, kFirst + 1};
         ZQInternalIdList idList{2, ids};
         uint32_t flags[] = {0, 0};
         ZQUnsignedIntList flagList{2, flags};
         ZQNameType n = "one";
         ZQNameType* names[] = {&n};
         ZQNamePtrList nameList{1, names};
         return ZQCreateMultipleFields(&control_, "Form", &idList, &flagList, &nameList, nullptr,
                                       nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                                       nullptr, nullptr, nullptr, nullptr, nullptr, &st);
       }},
      {"no flags list", 485,
       [&](Status& st) {
         ZQInternalIdList idList{1, &id};
         return ZQCreateMultipleFields(&control_, "Form", &idList, nullptr, nullptr, nullptr,
                                       nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                                       nullptr, nullptr, nullptr, nullptr, nullptr, &st);
       }},
      {"no mapping list", 270,
       [&](Status& st) {
         ZQInternalIdList idList{1, &id};
         uint32_t flag = 0;
         ZQUnsignedIntList flags{1, &flag};
         return ZQCreateMultipleFields(&control_, "Form", &idList, &flags, nullptr, nullptr,
                                       nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                                       nullptr, nullptr, nullptr, nullptr, nullptr, &st);
       }},
      {"empty field id list", 178,
       [&](Status& st) {
         ZQInternalIdList idList{0, nullptr};
         uint32_t flag = 0;
         ZQUnsignedIntList flags{1, &flag};
         return ZQCreateMultipleFields(&control_, "Form", &idList, &flags, nullptr, nullptr,
                                       nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                                       nullptr, nullptr, nullptr, nullptr, nullptr, &st);
       }},
      {"no exists output", 292,
       [&](Status& st) {
         return ZQGetMultipleFields(&control_, "Form", nullptr, nullptr, nullptr, nullptr, nullptr,
                                    nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                                    nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &st);
       }},
      {"no per-field status output", 487,
       [&](Status& st) {
         ZQInternalIdList ids{1, &id};
         char h[] = "h";
         char* hs[] = {h};
         ZQTextStringList helps{1, hs};
         return ZQSetMultipleFields(&control_, "Form", &ids, nullptr, nullptr, nullptr, nullptr,
                                    nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &helps,
                                    nullptr, nullptr, nullptr, nullptr, &st);
       }},
      {"null view id", 178,
       [&](Status& st) {
         return ZQCreateVUI(&control_, "Form", nullptr, "V", "", 0, nullptr, nullptr, nullptr,
                            nullptr, &st);
       }},
      {"locale of 65 characters", 103,
       [&](Status& st) {
         const std::string locale(ZQ_MAX_LOCALE_SIZE + 1, 'l');
         return ZQCreateVUI(&control_, "Form", &id, "V", locale.c_str(), 0, nullptr, nullptr,
                            nullptr, nullptr, &st);
       }},
      {"image without data", 884,
       [&](Status& st) {
         return ZQCreateImage(&control_, "I", &noImage, "gif", nullptr, nullptr, nullptr, nullptr,
                              nullptr, &st);
       }},
      {"image without type", 885,
       [&](Status& st) {
         return ZQCreateImage(&control_, "I", &image, nullptr, nullptr, nullptr, nullptr, nullptr,
                              nullptr, &st);
       }},
      {"empty support file", 295,
       [&](Status& st) {
         return ZQSetSupportFile(&control_, ZQ_SUPPORT_FILE_FORM, "Form", 0, 1, empty, &st);
       }},
      {"null support file", 295,
       [&](Status& st) {
         return ZQCreateSupportFile(&control_, ZQ_SUPPORT_FILE_FORM, "Form", 0, 1, nullptr, &st);
       }},
      {"support file type 2", 296,
       [&](Status& st) { return ZQSetSupportFile(&control_, 2, "Form", 0, 1, one, &st); }},
      {"support file type 2 on get", 296,
       [&](Status& st) { return ZQGetSupportFile(&control_, 2, "Form", 0, 1, one, nullptr, &st); }},
  };
  for (auto& c : cases) {
    Status st;
    const uint64_t before = calls();
    EXPECT_EQ(c.run(st), 2) << c.what;
    EXPECT_TRUE(st.has(c.message)) << c.what << ": " << (st.count ? st.items[0].messageNumber : 0);
    EXPECT_EQ(calls(), before) << c.what;
  }
  fclose(empty);
  fclose(one);

  // The boundaries that pass: a default of 255 characters, data types 2 and 43.
  ZQValueStruct long255 = charValue(text255.c_str());
  Status s;
  ZQInternalId a = kFirst, b = kFirst + 1, c = kFirst + 2;
  EXPECT_EQ(field(&a, ZQ_DATA_TYPE_CHAR, 2, 1, &long255, nullptr, s), 0);
  EXPECT_EQ(field(&b, ZQ_DATA_TYPE_INTEGER, 2, 1, nullptr, nullptr, s), 0);
  EXPECT_EQ(field(&c, ZQ_DATA_TYPE_DISPLAY, 2, 1, nullptr, nullptr, s), 0);
}

}  // namespace
