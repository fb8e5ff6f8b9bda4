// Form calls against zqserverd: forms made through the API take entries at
// once, read back with every output or none, change part by part, rename,
// list and delete as a server would.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "definitions_fixture.h"
#include "entry_store.h"
#include "transport/records_definitions.h"

using zqtest::charValue;
using zqtest::intValue;
using zqtest::Names;
using zqtest::namesOf;
using zqtest::Relation;
using zqtest::Status;

namespace {

constexpr ZQInternalId kFirst = 536870913;

class Forms : public zqtest::DefinitionTest {
 protected:
  ZQFieldValueStruct fv(ZQInternalId id, ZQValueStruct v) { return {id, v}; }

  int createEntry(const char* form, std::vector<ZQFieldValueStruct> values, Status& s) {
    ZQFieldValueList list{static_cast<uint32_t>(values.size()), values.data()};
    ZQEntryIdType id{};
    return ZQCreateEntry(&control_, form, &list, id, &s);
  }

  // The values of one field over a query of a form, in the order the sort
  // gives (empty texts for entries without a value).
  std::vector<std::string> column(const char* form, ZQInternalId field, ZQQualifierStruct* q,
                                  ZQSortList* sort, Status& s) {
    ZQEntryListFieldStruct lf{field, 10, " "};
    ZQEntryListFieldList fields{1, &lf};
    ZQEntryListFieldValueList out{};
    std::vector<std::string> values;
    EXPECT_EQ(
        ZQGetListEntryWithFields(&control_, form, q, &fields, sort, 0, 0, 0, &out, nullptr, &s), 0)
        << (s.count ? s.items[0].messageNumber : 0);
    for (uint32_t i = 0; i < out.count; ++i) {
      std::string v;
      const ZQFieldValueList* l = out.items[i].fieldValues;
      for (uint32_t j = 0; l && j < l->count; ++j) {
        const ZQValueStruct& x = l->items[j].value;
        if (x.dataType == ZQ_DATA_TYPE_CHAR) v = x.u.charValue;
        if (x.dataType == ZQ_DATA_TYPE_INTEGER) v = std::to_string(x.u.integerValue);
      }
      values.push_back(v);
    }
    FreeZQEntryListFieldValueList(&out, 0);
    return values;
  }
};

// Every data type a field can have; entries and queries work on the form
// right after it was made, and deleting goes as far as the entries.
TEST_F(Forms, MadeThroughTheApiTakesEntriesAndQueriesAtOnce) {
  Status s;
  ASSERT_EQ(createForm("Assets", s), 0);
  for (uint32_t type = ZQ_DATA_TYPE_INTEGER; type <= ZQ_DATA_TYPE_DISPLAY; ++type) {
    const std::string name = "Type " + std::to_string(type);
    EXPECT_EQ(createField("Assets", kFirst + type, name.c_str(), type, s), 0) << type;
  }
  const ZQInternalId kNumber = kFirst + ZQ_DATA_TYPE_INTEGER, kText = kFirst + ZQ_DATA_TYPE_CHAR;

  ZQInternalIdList ids{};
  ASSERT_EQ(ZQGetListField(&control_, "Assets", 0, ZQ_FIELD_TYPE_TRIM, &ids, &s), 0);
  ASSERT_EQ(ids.count, 1u);
  EXPECT_EQ(ids.items[0], kFirst + ZQ_DATA_TYPE_TRIM);
  FreeZQInternalIdList(&ids, 0);
  ASSERT_EQ(ZQGetListField(&control_, "Assets", 0, ZQ_FIELD_TYPE_ALL, &ids, &s), 0);
  EXPECT_GE(ids.count, 42u);  // the types 2 to 43 and the core fields
  FreeZQInternalIdList(&ids, 0);

  ASSERT_EQ(createEntry("Assets", {fv(kNumber, intValue(2)), fv(kText, charValue("two"))}, s), 0);
  ASSERT_EQ(createEntry("Assets", {fv(kNumber, intValue(7)), fv(kText, charValue("seven"))}, s), 0);
  ASSERT_EQ(createEntry("Assets", {fv(kNumber, intValue(5)), fv(kText, charValue("five"))}, s), 0);
  ZQSortStruct byNumber{kNumber, ZQ_SORT_DESCENDING};
  ZQSortList sort{1, &byNumber};
  Relation atLeast5(ZQ_REL_OP_GREATER_EQUAL, kNumber, intValue(5));
  EXPECT_EQ(column("Assets", kText, &atLeast5.qual, &sort, s),
            (std::vector<std::string>{"seven", "five"}));

  // A deleted field's values are no longer returned, nor can they be written.
  ASSERT_EQ(ZQDeleteField(&control_, "Assets", kText, 0, &s), 0);
  EXPECT_EQ(column("Assets", kNumber, nullptr, &sort, s),
            (std::vector<std::string>{"7", "5", "2"}));
  EXPECT_EQ(createEntry("Assets", {fv(kText, charValue("again"))}, s), 2);
  s.reset();
  ASSERT_EQ(createField("Assets", kText, "Text again", ZQ_DATA_TYPE_CHAR, s), 0);
  EXPECT_EQ(column("Assets", kText, nullptr, &sort, s), (std::vector<std::string>{"", "", ""}));

  // Entries of a deleted form are gone, also for a new form of that name.
  ASSERT_EQ(ZQDeleteSchema(&control_, "Assets", ZQ_DELETE_NORMAL, &s), 0);
  EXPECT_EQ(createEntry("Assets", {fv(kNumber, intValue(1))}, s), 2);
  EXPECT_TRUE(s.has(303));
  s.reset();
  ASSERT_EQ(createForm("Assets", s), 0);
  ASSERT_EQ(createField("Assets", kNumber, "Number", ZQ_DATA_TYPE_INTEGER, s), 0);
  EXPECT_TRUE(column("Assets", kNumber, nullptr, nullptr, s).empty());
}

// The parts a form is made with, read back with every output, and with
// none (mask 0: the inheritance list, default view and timestamp still come).
TEST_F(Forms, GetReturnsEveryOutputAskedForAndTheAlwaysReturnedOnes) {
  Status s;
  ASSERT_EQ(createForm("Archive", s), 0);
  ZQCompoundSchema kind = zqtest::regularKind();
  ZQPermissionStruct perms[] = {{3, ZQ_PERMISSIONS_VIEW}, {4, ZQ_PERMISSIONS_CHANGE}};
  ZQPermissionList permissions{2, perms};
  ZQInternalId admins[] = {7};
  ZQInternalIdList subAdmins{1, admins};
  ZQEntryListFieldStruct lf{1, 15, " "};
  ZQEntryListFieldList getList{1, &lf};
  ZQSortStruct order{1, ZQ_SORT_DESCENDING};
  ZQSortList sort{1, &order};
  ZQIndexStruct index{};
  index.numberOfFields = 1;
  index.fieldId[0] = 1;
  index.uniqueFlag = 1;
  strcpy(index.indexName, "ById");
  ZQIndexList indexes{1, &index};
  ZQArchiveInfoStruct archive{};
  archive.enable = 1;
  archive.archiveType = ZQ_ARCHIVE_FORM;
  strcpy(archive.u.formName, "Archive");
  archive.weekday = 1;  // Sundays at 2:30
  archive.hourmask = 1 << 2;
  archive.minute = 30;
  ZQAuditInfoStruct audit{};
  ZQPropStruct prop{60001, intValue(42)};
  ZQPropList props{1, &prop};
  ASSERT_EQ(ZQCreateSchema(&control_, "Full", &kind, nullptr, &permissions, &subAdmins, &getList,
                           &sort, &indexes, &archive, &audit, "Main view", "Help me", "Alice",
                           "first note", &props, 0, &s),
            0)
      << (s.count ? s.items[0].messageNumber : 0);

  ZQCompoundSchema gotKind{};
  ZQSchemaInheritanceList inheritance{};
  ZQPermissionList gotPerms{};
  ZQInternalIdList gotAdmins{};
  ZQEntryListFieldList gotGetList{};
  ZQSortList gotSort{};
  ZQIndexList gotIndexes{};
  ZQArchiveInfoStruct gotArchive{};
  ZQAuditInfoStruct gotAudit{};
  ZQNameType defaultView{};
  char* help = nullptr;
  ZQTimestamp timestamp = 0;
  ZQAccessNameType owner{}, lastChanged{};
  char* diary = nullptr;
  ZQPropList gotProps{};
  ASSERT_EQ(ZQGetSchema(&control_, "Full", &gotKind, &inheritance, &gotPerms, &gotAdmins,
                        &gotGetList, &gotSort, &gotIndexes, &gotArchive, &gotAudit, defaultView,
                        &help, &timestamp, owner, lastChanged, &diary, &gotProps, &s),
            0);
  EXPECT_EQ(server_->faults().lastWantedMask, 8191u);
  EXPECT_EQ(gotKind.schemaType, uint32_t{ZQ_SCHEMA_REGULAR});
  ASSERT_EQ(gotPerms.count, 2u);
  EXPECT_EQ(gotPerms.items[1].groupId, 4u);
  EXPECT_EQ(gotPerms.items[1].permissions, uint32_t{ZQ_PERMISSIONS_CHANGE});
  ASSERT_EQ(gotAdmins.count, 1u);
  EXPECT_EQ(gotAdmins.items[0], 7u);
  ASSERT_EQ(gotGetList.count, 1u);
  EXPECT_EQ(gotGetList.items[0].columnWidth, 15u);
  ASSERT_EQ(gotSort.count, 1u);
  EXPECT_EQ(gotSort.items[0].sortOrder, uint32_t{ZQ_SORT_DESCENDING});
  ASSERT_EQ(gotIndexes.count, 1u);
  EXPECT_STREQ(gotIndexes.items[0].indexName, "ById");
  // Read back, a form destination carries its selector bit.
  EXPECT_EQ(gotArchive.archiveType, uint32_t{ZQ_ARCHIVE_FORM | ZQ_ARCHIVE_SELECTOR_FORM});
  EXPECT_STREQ(gotArchive.u.formName, "Archive");
  EXPECT_EQ(gotArchive.minute, 30u);
  EXPECT_STREQ(defaultView, "Main view");
  EXPECT_STREQ(help, "Help me");
  EXPECT_GT(timestamp, 0);
  EXPECT_STREQ(owner, "Alice");
  EXPECT_STREQ(lastChanged, "Demo");
  ASSERT_NE(diary, nullptr);
  EXPECT_NE(std::string(diary).find("first note"), std::string::npos);
  ASSERT_EQ(gotProps.count, 1u);
  EXPECT_EQ(gotProps.items[0].value.u.integerValue, 42);
  FreeZQPermissionList(&gotPerms, 0);
  FreeZQInternalIdList(&gotAdmins, 0);
  FreeZQEntryListFieldList(&gotGetList, 0);
  FreeZQSortList(&gotSort, 0);
  FreeZQIndexList(&gotIndexes, 0);
  FreeZQArchiveInfoStruct(&gotArchive, 0);
  FreeZQAuditInfoStruct(&gotAudit, 0);
  FreeZQSchemaInheritanceList(&inheritance, 0);
  FreeZQCompoundSchema(&gotKind, 0);
  FreeZQPropList(&gotProps, 0);
  ZQFree(help);
  ZQFree(diary);

  ZQNameType view2{};
  ZQTimestamp stamp2 = 0;
  ZQSchemaInheritanceList inheritance2{};
  ASSERT_EQ(ZQGetSchema(&control_, "Full", nullptr, &inheritance2, nullptr, nullptr, nullptr,
                        nullptr, nullptr, nullptr, nullptr, view2, nullptr, &stamp2, nullptr,
                        nullptr, nullptr, nullptr, &s),
            0);
  EXPECT_EQ(server_->faults().lastWantedMask, 0u);
  EXPECT_STREQ(view2, "Main view");
  EXPECT_EQ(stamp2, timestamp);
  FreeZQSchemaInheritanceList(&inheritance2, 0);
}

// Each part changed on its own travels with its own bit and is read back;
// the server observes the mask.
TEST_F(Forms, SetChangesEachPartWithItsBit) {
  namespace c = zq::transport::changed;
  Status s;
  ASSERT_EQ(createForm("Parts", s), 0);
  ZQCompoundSchema vendor{};
  vendor.schemaType = ZQ_SCHEMA_DIALOG;
  ZQPermissionStruct perm{9, ZQ_PERMISSIONS_VIEW};
  ZQPermissionList perms{1, &perm};
  ZQInternalId admin = 11;
  ZQInternalIdList admins{1, &admin};
  ZQEntryListFieldStruct lf{1, 30, ";"};
  ZQEntryListFieldList getList{1, &lf};
  ZQSortStruct so{1, ZQ_SORT_ASCENDING};
  ZQSortList sort{1, &so};
  ZQIndexStruct ix{};
  ix.numberOfFields = 1;
  ix.fieldId[0] = 1;
  ZQIndexList indexes{1, &ix};
  ZQAuditInfoStruct audit{};
  ZQPropStruct prop{60002, charValue("p")};
  ZQPropList props{1, &prop};
  struct Case {
    const char* part;
    uint32_t mask;
    std::function<int(Status&)> set;
  } cases[] = {
      {"kind", c::kSchemaKind,
       [&](Status& st) {
         return ZQSetSchema(&control_, "Parts", nullptr, &vendor, nullptr, nullptr, nullptr,
                            nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                            nullptr, nullptr, 0, &st);
       }},
      {"permissions", c::kSchemaPermissions,
       [&](Status& st) {
         return ZQSetSchema(&control_, "Parts", nullptr, nullptr, nullptr, &perms, nullptr, nullptr,
                            nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                            nullptr, 0, &st);
       }},
      {"sub-administrators", c::kSchemaSubAdmins,
       [&](Status& st) {
         return ZQSetSchema(&control_, "Parts", nullptr, nullptr, nullptr, nullptr, &admins,
                            nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                            nullptr, nullptr, 0, &st);
       }},
      {"get-list fields", c::kSchemaGetListFields,
       [&](Status& st) {
         return ZQSetSchema(&control_, "Parts", nullptr, nullptr, nullptr, nullptr, nullptr,
                            &getList, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                            nullptr, nullptr, 0, &st);
       }},
      {"sort", c::kSchemaSort,
       [&](Status& st) {
         return ZQSetSchema(&control_, "Parts", nullptr, nullptr, nullptr, nullptr, nullptr,
                            nullptr, &sort, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                            nullptr, nullptr, 0, &st);
       }},
      {"indexes", c::kSchemaIndexes,
       [&](Status& st) {
         return ZQSetSchema(&control_, "Parts", nullptr, nullptr, nullptr, nullptr, nullptr,
                            nullptr, nullptr, &indexes, nullptr, nullptr, nullptr, nullptr, nullptr,
                            nullptr, nullptr, 0, &st);
       }},
      {"audit", c::kSchemaAudit,
       [&](Status& st) {
         return ZQSetSchema(&control_, "Parts", nullptr, nullptr, nullptr, nullptr, nullptr,
                            nullptr, nullptr, nullptr, nullptr, &audit, nullptr, nullptr, nullptr,
                            nullptr, nullptr, 0, &st);
       }},
      {"default view", c::kSchemaDefaultView,
       [&](Status& st) {
         return ZQSetSchema(&control_, "Parts", nullptr, nullptr, nullptr, nullptr, nullptr,
                            nullptr, nullptr, nullptr, nullptr, nullptr, "Other view", nullptr,
                            nullptr, nullptr, nullptr, 0, &st);
       }},
      {"help", c::kSchemaHelp,
       [&](Status& st) {
         return ZQSetSchema(&control_, "Parts", nullptr, nullptr, nullptr, nullptr, nullptr,
                            nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, "New help",
                            nullptr, nullptr, nullptr, 0, &st);
       }},
      {"owner", c::kSchemaOwner,
       [&](Status& st) {
         return ZQSetSchema(&control_, "Parts", nullptr, nullptr, nullptr, nullptr, nullptr,
                            nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, "Bob",
                            nullptr, nullptr, 0, &st);
       }},
      {"diary", c::kSchemaDiary,
       [&](Status& st) {
         return ZQSetSchema(&control_, "Parts", nullptr, nullptr, nullptr, nullptr, nullptr,
                            nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                            "second note", nullptr, 0, &st);
       }},
      {"properties", c::kSchemaProperties,
       [&](Status& st) {
         return ZQSetSchema(&control_, "Parts", nullptr, nullptr, nullptr, nullptr, nullptr,
                            nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                            nullptr, &props, 0, &st);
       }},
  };
  for (auto& c : cases) {
    Status st;
    EXPECT_EQ(c.set(st), 0) << c.part << " " << (st.count ? st.items[0].messageNumber : 0);
    EXPECT_EQ(server_->faults().lastChangedMask, c.mask) << c.part;
  }

  ZQCompoundSchema kind{};
  ZQSchemaInheritanceList inheritance{};
  ZQPermissionList gotPerms{};
  ZQInternalIdList gotAdmins{};
  ZQEntryListFieldList gotGetList{};
  ZQSortList gotSort{};
  ZQIndexList gotIndexes{};
  ZQNameType view{};
  char* help = nullptr;
  char* diary = nullptr;
  ZQAccessNameType owner{};
  ZQPropList gotProps{};
  ASSERT_EQ(ZQGetSchema(&control_, "Parts", &kind, &inheritance, &gotPerms, &gotAdmins, &gotGetList,
                        &gotSort, &gotIndexes, nullptr, nullptr, view, &help, nullptr, owner,
                        nullptr, &diary, &gotProps, &s),
            0);
  EXPECT_EQ(kind.schemaType, uint32_t{ZQ_SCHEMA_DIALOG});
  ASSERT_EQ(gotPerms.count, 1u);
  EXPECT_EQ(gotPerms.items[0].groupId, 9u);
  ASSERT_EQ(gotAdmins.count, 1u);
  EXPECT_EQ(gotAdmins.items[0], 11u);
  ASSERT_EQ(gotGetList.count, 1u);
  EXPECT_STREQ(gotGetList.items[0].separator, ";");
  ASSERT_EQ(gotSort.count, 1u);
  EXPECT_EQ(gotSort.items[0].sortOrder, uint32_t{ZQ_SORT_ASCENDING});
  EXPECT_EQ(gotIndexes.count, 1u);
  EXPECT_STREQ(view, "Other view");
  EXPECT_STREQ(help, "New help");
  EXPECT_STREQ(owner, "Bob");
  ASSERT_NE(diary, nullptr);
  EXPECT_NE(std::string(diary).find("second note"), std::string::npos);
  ASSERT_EQ(gotProps.count, 1u);
  EXPECT_STREQ(gotProps.items[0].value.u.charValue, "p");
  FreeZQCompoundSchema(&kind, 0);
  FreeZQSchemaInheritanceList(&inheritance, 0);
  FreeZQPermissionList(&gotPerms, 0);
  FreeZQInternalIdList(&gotAdmins, 0);
  FreeZQEntryListFieldList(&gotGetList, 0);
  FreeZQSortList(&gotSort, 0);
  FreeZQIndexList(&gotIndexes, 0);
  FreeZQPropList(&gotProps, 0);
  ZQFree(help);
  ZQFree(diary);
}

// A rename keeps the fields, the entries and what refers to the form by name.
TEST_F(Forms, RenameKeepsFieldsEntriesAndJoinReferences) {
  Status s;
  ASSERT_EQ(createForm("Old", s), 0);
  ASSERT_EQ(createField("Old", kFirst, "Title", ZQ_DATA_TYPE_CHAR, s), 0);
  ASSERT_EQ(createForm("Other", s), 0);
  ZQCompoundSchema join{};
  join.schemaType = ZQ_SCHEMA_JOIN;
  strcpy(join.u.join.joinMemberA, "Old");
  strcpy(join.u.join.joinMemberB, "Other");
  Relation same(ZQ_REL_OP_EQUAL, 1, ZQ_FIELD_DB, 1);
  join.u.join.joinQualifier = same.qual;
  ASSERT_EQ(createForm("Both", s, join), 0);
  ZQFieldValueStruct title{kFirst, charValue("kept")};
  ZQFieldValueList values{1, &title};
  ZQEntryIdType id{};
  ASSERT_EQ(ZQCreateEntry(&control_, "Old", &values, id, &s), 0);

  ASSERT_EQ(
      ZQSetSchema(&control_, "Old", "New", nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                  nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, 0, &s),
      0);
  EXPECT_EQ(server_->faults().lastChangedMask, 1u);
  EXPECT_EQ(ZQGetSchema(&control_, "Old", nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                        nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                        nullptr, nullptr, &s),
            2);
  EXPECT_TRUE(s.has(303));
  s.reset();
  EXPECT_EQ(column("New", kFirst, nullptr, nullptr, s), (std::vector<std::string>{"kept"}));
  ZQCompoundSchema kind{};
  ASSERT_EQ(ZQGetSchema(&control_, "Both", &kind, nullptr, nullptr, nullptr, nullptr, nullptr,
                        nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                        nullptr, nullptr, &s),
            0);
  EXPECT_STREQ(kind.u.join.joinMemberA, "New");
  FreeZQCompoundSchema(&kind, 0);

  // A member of a join is kept unless the delete is forced.
  EXPECT_EQ(ZQDeleteSchema(&control_, "New", ZQ_DELETE_NORMAL, &s), 2);
  s.reset();
  EXPECT_EQ(ZQDeleteSchema(&control_, "New", ZQ_DELETE_FORCE, &s), 0);
}

// A join form answers entry calls with the joined entries of its members.
TEST_F(Forms, JoinFormJoinsItsMembers) {
  Status s;
  ASSERT_EQ(createForm("People", s), 0);
  ASSERT_EQ(createField("People", kFirst, "Name", ZQ_DATA_TYPE_CHAR, s), 0);
  ASSERT_EQ(createField("People", kFirst + 1, "Team", ZQ_DATA_TYPE_INTEGER, s), 0);
  ASSERT_EQ(createForm("Teams", s), 0);
  ASSERT_EQ(createField("Teams", kFirst, "Number", ZQ_DATA_TYPE_INTEGER, s), 0);
  ASSERT_EQ(createField("Teams", kFirst + 1, "Label", ZQ_DATA_TYPE_CHAR, s), 0);
  ASSERT_EQ(createEntry("People", {fv(kFirst, charValue("ann")), fv(kFirst + 1, intValue(1))}, s),
            0);
  ASSERT_EQ(createEntry("People", {fv(kFirst, charValue("bo")), fv(kFirst + 1, intValue(2))}, s),
            0);
  ASSERT_EQ(createEntry("Teams", {fv(kFirst, intValue(2)), fv(kFirst + 1, charValue("blue"))}, s),
            0);

  ZQCompoundSchema join{};
  join.schemaType = ZQ_SCHEMA_JOIN;
  strcpy(join.u.join.joinMemberA, "People");
  strcpy(join.u.join.joinMemberB, "Teams");
  Relation onTeam(ZQ_REL_OP_EQUAL, kFirst + 1, ZQ_FIELD_DB, kFirst);
  join.u.join.joinQualifier = onTeam.qual;
  ASSERT_EQ(createForm("Membership", s, join), 0);
  ZQFieldMappingStruct fromA{}, fromB{};
  fromA.fieldType = fromB.fieldType = ZQ_FIELD_MAPPING_JOIN;
  fromA.u.join = {0, kFirst};
  fromB.u.join = {1, kFirst + 1};
  ASSERT_EQ(createField("Membership", kFirst, "Who", ZQ_DATA_TYPE_CHAR, s, nullptr, &fromA), 0);
  ASSERT_EQ(createField("Membership", kFirst + 1, "Team", ZQ_DATA_TYPE_CHAR, s, nullptr, &fromB),
            0);
  EXPECT_EQ(column("Membership", kFirst, nullptr, nullptr, s), (std::vector<std::string>{"bo"}));
  EXPECT_EQ(column("Membership", kFirst + 1, nullptr, nullptr, s),
            (std::vector<std::string>{"blue"}));

  // A join mapping to a field its member lacks is refused, and so is a join
  // of a form that does not exist.
  ZQFieldMappingStruct missing{};
  missing.fieldType = ZQ_FIELD_MAPPING_JOIN;
  missing.u.join = {1, kFirst + 9};
  EXPECT_EQ(createField("Membership", kFirst + 2, "Gone", ZQ_DATA_TYPE_CHAR, s, nullptr, &missing),
            2);
  s.reset();
  strcpy(join.u.join.joinMemberB, "Nowhere");
  EXPECT_EQ(createForm("Broken", s, join), 2);
  EXPECT_TRUE(s.has(303));
}

// A view form reads and writes a table of the server's store; its fields
// name the table's columns.
TEST_F(Forms, ViewFormMapsToATable) {
  ASSERT_TRUE(server_->store().exec(
      "CREATE TABLE parts(label TEXT, stock INTEGER);"
      "INSERT INTO parts VALUES('bolt', 40); INSERT INTO parts VALUES('nut', 7);"));
  Status s;
  ZQCompoundSchema view{};
  view.schemaType = ZQ_SCHEMA_VIEW;
  strcpy(view.u.view.viewTableName, "parts");
  ASSERT_EQ(createForm("Parts", s, view), 0) << (s.count ? s.items[0].messageNumber : 0);
  ZQFieldMappingStruct label{}, stock{}, missing{};
  label.fieldType = stock.fieldType = missing.fieldType = ZQ_FIELD_MAPPING_VIEW;
  strcpy(label.u.view.externalFieldName, "label");
  strcpy(stock.u.view.externalFieldName, "stock");
  strcpy(missing.u.view.externalFieldName, "price");
  ASSERT_EQ(createField("Parts", kFirst, "Label", ZQ_DATA_TYPE_CHAR, s, nullptr, &label), 0);
  ASSERT_EQ(createField("Parts", kFirst + 1, "Stock", ZQ_DATA_TYPE_INTEGER, s, nullptr, &stock), 0);
  EXPECT_EQ(createField("Parts", kFirst + 2, "Price", ZQ_DATA_TYPE_INTEGER, s, nullptr, &missing),
            2);
  s.reset();

  ASSERT_EQ(
      createEntry("Parts", {fv(kFirst, charValue("washer")), fv(kFirst + 1, intValue(12))}, s), 0);
  ZQSortStruct byStock{kFirst + 1, ZQ_SORT_ASCENDING};
  ZQSortList sort{1, &byStock};
  EXPECT_EQ(column("Parts", kFirst, nullptr, &sort, s),
            (std::vector<std::string>{"nut", "washer", "bolt"}));

  // A view form of a table that does not exist is refused.
  strcpy(view.u.view.viewTableName, "nowhere");
  EXPECT_EQ(createForm("Nowhere", s, view), 2);
}

// Get-multiple with and without names, the list calls' conditions, and the
// failed set that leaves the stored form as it was.
TEST_F(Forms, ListsAndGetMultipleSelectAsAsked) {
  Status s;
  ZQPropStruct tag{60003, intValue(1)};
  ZQPropList tagged{1, &tag};
  ZQCompoundSchema kind = zqtest::regularKind();
  ASSERT_EQ(
      ZQCreateSchema(&control_, "Tagged", &kind, nullptr, nullptr, nullptr, nullptr, nullptr,
                     nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &tagged, 0, &s),
      0);
  ASSERT_EQ(createForm("Plain", s), 0);
  ZQCompoundSchema dialog{};
  dialog.schemaType = ZQ_SCHEMA_DIALOG;
  ASSERT_EQ(createForm("Dialog", s, dialog), 0);
  age("Plain", 1000);
  age("Dialog", 1000);

  ZQNameList names{};
  ASSERT_EQ(
      ZQGetListSchema(&control_, 0, ZQ_LIST_SCHEMA_ALL, nullptr, nullptr, nullptr, &names, &s), 0);
  EXPECT_EQ(namesOf(names), (std::vector<std::string>{"Dialog", "Plain", "Tagged"}));
  FreeZQNameList(&names, 0);
  ASSERT_EQ(
      ZQGetListSchema(&control_, 2000, ZQ_LIST_SCHEMA_ALL, nullptr, nullptr, nullptr, &names, &s),
      0);
  EXPECT_EQ(namesOf(names), (std::vector<std::string>{"Tagged"}));
  FreeZQNameList(&names, 0);
  ASSERT_EQ(ZQGetListSchema(&control_, 0, ZQ_SCHEMA_DIALOG, nullptr, nullptr, nullptr, &names, &s),
            0);
  EXPECT_EQ(namesOf(names), (std::vector<std::string>{"Dialog"}));
  FreeZQNameList(&names, 0);
  ASSERT_EQ(
      ZQGetListSchema(&control_, 0, ZQ_LIST_SCHEMA_ALL, nullptr, nullptr, &tagged, &names, &s), 0);
  EXPECT_EQ(namesOf(names), (std::vector<std::string>{"Tagged"}));
  FreeZQNameList(&names, 0);

  // The alias of a form is its first view's name, else its own.
  ZQInternalId viewId = 0;
  ASSERT_EQ(ZQCreateVUI(&control_, "Plain", &viewId, "Plain view", "", 0, nullptr, nullptr, nullptr,
                        nullptr, &s),
            0);
  ZQNameList aliases{};
  ASSERT_EQ(ZQGetListSchemaWithAlias(&control_, 0, ZQ_LIST_SCHEMA_ALL, nullptr, nullptr, nullptr,
                                     nullptr, nullptr, &names, &aliases, &s),
            0);
  EXPECT_EQ(namesOf(names), (std::vector<std::string>{"Dialog", "Plain", "Tagged"}));
  EXPECT_EQ(namesOf(aliases), (std::vector<std::string>{"Dialog", "Plain view", "Tagged"}));
  FreeZQNameList(&names, 0);
  FreeZQNameList(&aliases, 0);

  Names wanted{"Plain", "Missing"};
  ZQBooleanList exists{};
  ZQNameList got{};
  ZQCompoundSchemaList kinds{};
  ASSERT_EQ(ZQGetMultipleSchemas(&control_, 0, ZQ_LIST_SCHEMA_ALL, &wanted.list, nullptr, &exists,
                                 &got, &kinds, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                                 nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                                 nullptr, nullptr, &s),
            0);
  EXPECT_EQ(server_->faults().lastWantedMask, 7u);
  ASSERT_EQ(exists.count, 2u);
  EXPECT_EQ(exists.items[0], 1);
  EXPECT_EQ(exists.items[1], 0);
  EXPECT_EQ(namesOf(got), (std::vector<std::string>{"Plain", "Missing"}));
  ASSERT_EQ(kinds.count, 2u);
  EXPECT_EQ(kinds.items[0].schemaType, uint32_t{ZQ_SCHEMA_REGULAR});
  FreeZQBooleanList(&exists, 0);
  FreeZQNameList(&got, 0);
  FreeZQCompoundSchemaList(&kinds, 0);
  ASSERT_EQ(ZQGetMultipleSchemas(&control_, 0, ZQ_LIST_SCHEMA_ALL, nullptr, nullptr, &exists, &got,
                                 nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                                 nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                                 nullptr, nullptr, &s),
            0);
  EXPECT_EQ(namesOf(got), (std::vector<std::string>{"Dialog", "Plain", "Tagged"}));
  FreeZQBooleanList(&exists, 0);
  FreeZQNameList(&got, 0);

  // A rename onto a name taken fails and changes nothing.
  EXPECT_EQ(ZQSetSchema(&control_, "Plain", "Tagged", nullptr, nullptr, nullptr, nullptr, nullptr,
                        nullptr, nullptr, nullptr, nullptr, nullptr, "Changed help", nullptr,
                        nullptr, nullptr, 0, &s),
            2);
  EXPECT_TRUE(s.has(305));
  s.reset();
  char* help = nullptr;
  ASSERT_EQ(ZQGetSchema(&control_, "Plain", nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                        nullptr, nullptr, nullptr, nullptr, &help, nullptr, nullptr, nullptr,
                        nullptr, nullptr, &s),
            0);
  EXPECT_TRUE(help == nullptr || *help == '\0');
  ZQFree(help);
  EXPECT_EQ(createForm("plain", s), 2);  // names compare without case
  EXPECT_TRUE(s.has(305));
}

// A name of 255 characters does not fit a name list: the list comes back
// empty with 103, whichever call lists names.
TEST_F(Forms, ReturnedNameTooLongGivesEmptyListAnd103) {
  Status s;
  ASSERT_EQ(createForm("Short", s), 0);
  ZQImageDataStruct data{3,
                         const_cast<unsigned char*>(reinterpret_cast<const unsigned char*>("GIF"))};
  ASSERT_EQ(ZQCreateImage(&control_, "Short", &data, "gif", nullptr, nullptr, nullptr, nullptr,
                          nullptr, &s),
            0);
  const std::string longName(255, 'n');
  ASSERT_TRUE(server_->store().exec("UPDATE zq_definitions SET name = '" + longName +
                                    "' WHERE name = 'Short'"));
  struct Case {
    const char* call;
    std::function<int(ZQNameList&, Status&)> run;
  } cases[] = {
      {"ZQGetListSchema",
       [&](ZQNameList& out, Status& st) {
         return ZQGetListSchema(&control_, 0, 0, nullptr, nullptr, nullptr, &out, &st);
       }},
      {"ZQGetListSchemaWithAlias",
       [&](ZQNameList& out, Status& st) {
         return ZQGetListSchemaWithAlias(&control_, 0, 0, nullptr, nullptr, nullptr, nullptr,
                                         nullptr, &out, nullptr, &st);
       }},
      {"ZQGetListImage",
       [&](ZQNameList& out, Status& st) {
         return ZQGetListImage(&control_, nullptr, 0, nullptr, &out, &st);
       }},
  };
  for (auto& c : cases) {
    Status st;
    ZQNameList out{};
    EXPECT_EQ(c.run(out, st), 2) << c.call;
    EXPECT_EQ(out.count, 0u) << c.call;
    EXPECT_EQ(out.items, nullptr) << c.call;
    EXPECT_TRUE(st.has(103)) << c.call;
  }
}

}  // namespace
