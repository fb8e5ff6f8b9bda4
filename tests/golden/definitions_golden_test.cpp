// Form, field and view records at protocol version 14, one request and one
// reply each, against bytes written by hand from the XDR rules.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "model/codec.h"
#include "support/session.h"
#include "transport/describe_definitions.h"

namespace {

using Bytes = std::vector<unsigned char>;
namespace t = zq::transport;

constexpr int kVersion = 14;

void put(Bytes& b, uint32_t w) {
  for (int s = 24; s >= 0; s -= 8) b.push_back(static_cast<unsigned char>(w >> s));
}
void putText(Bytes& b, const std::string& s) {  // string: length, bytes, padding
  put(b, static_cast<uint32_t>(s.size()));
  for (char c : s) b.push_back(static_cast<unsigned char>(c));
  while (b.size() % 4) b.push_back(0);
}
void putOpaque(Bytes& b, const std::string& s, size_t width) {  // fixed name, padded
  for (size_t i = 0; i < width; ++i) b.push_back(i < s.size() ? s[i] : 0);
  while (b.size() % 4) b.push_back(0);
}
void putName(Bytes& b, const std::string& s) {  // ZQNameType and ZQAccessNameType: 255 + 1
  putOpaque(b, s, 255);
}
// An all-zero request header of version 14: cache id, operation time, user
// and password texts, client info (type, count), reserved text, locale
// text and five locale words, log mask, client option, client type,
// time-out, property count, and the seven words of its tail.
void putZeroHeader(Bytes& b) {
  for (int i = 0; i < 25; ++i) put(b, 0);
}
void putCharValue(Bytes& b, const std::string& s) {
  put(b, ZQ_DATA_TYPE_CHAR);
  putText(b, s);
}

template <class R>
Bytes encode(R& record) {
  std::vector<char> out;
  EXPECT_TRUE(zq::model::encodeToBuffer(record, kVersion, out));
  return Bytes(out.begin(), out.end());
}
template <class R>
bool decode(const Bytes& b, R& record) {
  return zq::model::decodeFromBuffer(reinterpret_cast<const char*>(b.data()), b.size(), record,
                                     kVersion);
}

class DefinitionsGolden : public ::testing::Test {
 protected:
  zqtest::Session session;
  zq::model::CodecScope scope{kVersion, session.context()};
};

// ---- views -------------------------------------------------------------------------------

TEST_F(DefinitionsGolden, CreateViewRequest) {
  ZQPropStruct prop{5, {}};
  prop.value.dataType = ZQ_DATA_TYPE_CHAR;
  prop.value.u.charValue = const_cast<char*>("blue");
  t::CreateViewArgs a{};
  a.form = const_cast<char*>("Form");
  a.viewId = 536870913;
  strcpy(a.view.viewName, "Main");
  a.view.locale = const_cast<char*>("en");
  a.view.viewType = 1;
  a.view.displayProperties = {1, &prop};
  a.view.common.helpText = const_cast<char*>("H");
  strcpy(a.view.common.owner, "Al");
  a.view.common.changeDiary = const_cast<char*>("note");

  Bytes b;
  putZeroHeader(b);
  putText(b, "Form");
  put(b, 536870913);
  putName(b, "Main");
  putText(b, "en");
  put(b, 1);
  put(b, 1);  // one display property
  put(b, 5);
  putCharValue(b, "blue");
  putText(b, "H");  // a request carries no timestamp and no last changer
  putName(b, "Al");
  putText(b, "note");
  EXPECT_EQ(encode(a), b);
}

TEST_F(DefinitionsGolden, GetViewReply) {
  Bytes b;
  putZeroHeader(b);
  putName(b, "Main");
  putText(b, "fr_FR");
  put(b, 2);
  put(b, 0);  // no display properties
  putText(b, "Help");
  put(b, 0x5F000000);  // timestamp
  putName(b, "Owner");
  putName(b, "Changer");
  putText(b, "");  // empty diary
  put(b, 0);       // status list: none

  t::GetViewReply r{};
  ASSERT_TRUE(decode(b, r));
  EXPECT_STREQ(r.view.viewName, "Main");
  EXPECT_STREQ(r.view.locale, "fr_FR");
  EXPECT_EQ(r.view.viewType, 2u);
  EXPECT_STREQ(r.view.common.helpText, "Help");
  EXPECT_EQ(r.view.common.timestamp, 0x5F000000);
  EXPECT_STREQ(r.view.common.owner, "Owner");
  EXPECT_STREQ(r.view.common.lastChanged, "Changer");
  EXPECT_EQ(r.status.count, 0u);
  EXPECT_EQ(encode(r), b);
  zq::model::release(r);
}

// ---- fields ------------------------------------------------------------------------------

TEST_F(DefinitionsGolden, CreateFieldRequest) {
  ZQPermissionStruct perm{3, ZQ_PERMISSIONS_CHANGE};
  ZQDisplayInstanceStruct instance{7, {0, nullptr}};
  t::CreateFieldArgs a{};
  a.form = const_cast<char*>("Form");
  a.fieldId = 536870914;
  a.reservedIdOk = 1;
  strcpy(a.field.fieldName, "Title");
  a.field.mapping.fieldType = ZQ_FIELD_MAPPING_JOIN;
  a.field.mapping.u.join = {1, 8};
  a.field.dataType = ZQ_DATA_TYPE_CHAR;
  a.field.option = ZQ_FIELD_OPTION_OPTIONAL;
  a.field.createMode = ZQ_FIELD_OPEN_AT_CREATE;
  a.field.optionBits = 4;
  a.field.defaultValue.dataType = ZQ_DATA_TYPE_CHAR;
  a.field.defaultValue.u.charValue = const_cast<char*>("x");
  a.field.permissions = {1, &perm};
  a.field.displays = {{0, nullptr}, 1, &instance};

  Bytes b;
  putZeroHeader(b);
  putText(b, "Form");
  put(b, 536870914);
  put(b, 1);
  putName(b, "Title");
  put(b, ZQ_FIELD_MAPPING_JOIN);  // mapping: member B's field 8
  put(b, 1);
  put(b, 8);
  put(b, ZQ_DATA_TYPE_CHAR);  // a create carries the data type
  put(b, 2);
  put(b, 1);
  put(b, 4);
  putCharValue(b, "x");
  put(b, 1);  // permissions: group 3 may change
  put(b, 3);
  put(b, 2);
  put(b, 0);  // limit of data type 0: nothing follows
  put(b, 0);  // display instances: no common properties,
  put(b, 1);  // one instance, view 7, no properties
  put(b, 7);
  put(b, 0);
  put(b, 0);  // help text: null travels empty
  putName(b, "");
  put(b, 0);  // diary
  EXPECT_EQ(encode(a), b);
}

TEST_F(DefinitionsGolden, GetFieldReply) {
  Bytes b;
  putZeroHeader(b);
  putName(b, "Title");
  put(b, ZQ_FIELD_MAPPING_REGULAR);
  put(b, ZQ_DATA_TYPE_CHAR);
  put(b, ZQ_FIELD_OPTION_REQUIRED);
  put(b, ZQ_FIELD_PROTECTED_AT_CREATE);
  put(b, 0);
  put(b, ZQ_DATA_TYPE_NULL);  // no default
  put(b, 0);                  // no permissions
  put(b, ZQ_DATA_TYPE_CHAR);  // character limits, as version 14 has them:
  put(b, 40);                 // maximum length
  put(b, 1);                  // menu style
  put(b, 2);                  // QBE match
  putName(b, "Menu");         // character menu
  putText(b, "[a-z]*");       // pattern
  put(b, 0);                  // full text options
  put(b, 1);                  // length units
  put(b, 3);                  // storage option
  put(b, 0);                  // display instances: no common properties,
  put(b, 0);                  // no instances
  putText(b, "");
  put(b, 1234);
  putName(b, "Owner");
  putName(b, "Changer");
  putText(b, "");
  put(b, 0);

  t::GetFieldReply r{};
  ASSERT_TRUE(decode(b, r));
  EXPECT_STREQ(r.field.fieldName, "Title");
  EXPECT_EQ(r.field.dataType, uint32_t{ZQ_DATA_TYPE_CHAR});
  EXPECT_EQ(r.field.createMode, uint32_t{ZQ_FIELD_PROTECTED_AT_CREATE});
  ASSERT_EQ(r.field.limit.dataType, uint32_t{ZQ_DATA_TYPE_CHAR});
  EXPECT_EQ(r.field.limit.u.charLimits.maximumLength, 40u);
  EXPECT_STREQ(r.field.limit.u.charLimits.characterMenu, "Menu");
  EXPECT_STREQ(r.field.limit.u.charLimits.pattern, "[a-z]*");
  EXPECT_EQ(r.field.limit.u.charLimits.lengthUnits, 1u);
  EXPECT_EQ(r.field.limit.u.charLimits.storageOption, 3u);
  EXPECT_EQ(r.field.common.timestamp, 1234);
  EXPECT_EQ(encode(r), b);
  zq::model::release(r);
}

// ---- forms -------------------------------------------------------------------------------

// The archive information (no archiving) and the audit information as they
// travel from version 10 on, the audit flags from 14.
void putNoArchiveNoAudit(Bytes& b) {
  put(b, 0);  // archive: enable, type, selector 0 (no destination),
  put(b, 0);
  put(b, 0);
  for (int i = 0; i < 4; ++i) put(b, 0);  // month day, weekday, hour mask, minute
  put(b, 0);                              // qualifier: none
  putName(b, "");                         // archive from
  put(b, 1);                              // audit: enable, type 2 into "Log"
  put(b, 2);
  putName(b, "Log");
  put(b, 0);  // qualifier: none
  put(b, 9);  // audit flags
}

TEST_F(DefinitionsGolden, CreateSchemaRequest) {
  ZQPermissionStruct perm{4, ZQ_PERMISSIONS_VIEW};
  ZQEntryListFieldStruct column{1, 20, " "};
  ZQSortStruct sort{1, ZQ_SORT_DESCENDING};
  t::CreateSchemaArgs a{};
  a.name = const_cast<char*>("Tickets");
  a.schema.kind.schemaType = ZQ_SCHEMA_REGULAR;
  a.schema.permissions = {1, &perm};
  a.schema.getListFields = {1, &column};
  a.schema.sort = {1, &sort};
  a.schema.audit.enable = 1;
  a.schema.audit.auditType = 2;
  strcpy(a.schema.audit.formName, "Log");
  a.schema.audit.auditFlags = 9;
  strcpy(a.schema.defaultView, "Main");
  a.option = 3;

  Bytes b;
  putZeroHeader(b);
  putText(b, "Tickets");
  put(b, ZQ_SCHEMA_REGULAR);
  put(b, 0);  // inheritance
  put(b, 1);  // permissions
  put(b, 4);
  put(b, 1);
  put(b, 0);  // sub-administrator groups
  put(b, 1);  // get-list fields: field 1, width 20, separator of 10 + 2
  put(b, 1);
  put(b, 20);
  putOpaque(b, " ", 10);
  put(b, 1);  // sort
  put(b, 1);
  put(b, 2);
  put(b, 0);  // indexes
  putNoArchiveNoAudit(b);
  putName(b, "Main");
  put(b, 0);  // help text
  putName(b, "");
  put(b, 0);  // diary
  put(b, 0);  // object properties
  put(b, 3);  // option word
  EXPECT_EQ(encode(a), b);
}

TEST_F(DefinitionsGolden, GetSchemaReply) {
  Bytes b;
  putZeroHeader(b);
  put(b, ZQ_SCHEMA_JOIN);
  putName(b, "A");
  putName(b, "B");
  put(b, 0);  // join qualifier: none
  put(b, 1);  // join option
  put(b, 0);  // inheritance
  put(b, 0);  // permissions
  put(b, 1);  // sub-administrator groups: 12
  put(b, 12);
  put(b, 0);  // get-list fields
  put(b, 0);  // sort
  put(b, 1);  // one index: 2 fields of 16, unique, named, flags
  put(b, 2);
  put(b, 1);
  put(b, 8);
  for (int i = 2; i < 16; ++i) put(b, 0);
  put(b, 1);
  putName(b, "ByKey");
  put(b, 0);
  putNoArchiveNoAudit(b);
  putName(b, "Default");
  putText(b, "help");
  put(b, 77);
  putName(b, "Owner");
  putName(b, "Changer");
  putText(b, "");
  put(b, 1);  // one object property
  put(b, 90);
  put(b, ZQ_DATA_TYPE_INTEGER);
  put(b, 0xFFFFFFFF);  // -1
  put(b, 0);           // status list: none

  t::GetSchemaReply r{};
  ASSERT_TRUE(decode(b, r));
  ASSERT_EQ(r.schema.kind.schemaType, uint32_t{ZQ_SCHEMA_JOIN});
  EXPECT_STREQ(r.schema.kind.u.join.joinMemberB, "B");
  EXPECT_EQ(r.schema.kind.u.join.joinOption, 1u);
  ASSERT_EQ(r.schema.indexes.count, 1u);
  EXPECT_EQ(r.schema.indexes.items[0].fieldId[1], 8u);
  EXPECT_STREQ(r.schema.indexes.items[0].indexName, "ByKey");
  EXPECT_EQ(r.schema.audit.auditFlags, 9u);
  EXPECT_STREQ(r.schema.defaultView, "Default");
  EXPECT_EQ(r.schema.common.timestamp, 77);
  ASSERT_EQ(r.schema.common.properties.count, 1u);
  EXPECT_EQ(r.schema.common.properties.items[0].value.u.integerValue, -1);
  EXPECT_EQ(encode(r), b);
  zq::model::release(r);
}

}  // namespace
