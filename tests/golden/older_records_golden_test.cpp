// Whole records of form creation and retrieval at the older protocol
// versions, against bytes written by hand from the rules of each version:
// the three header forms, names of 31 characters in version 7 (user names
// up to 11), index names and flags, archiving and auditing from 10, the
// audit flags word from 14.
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

void put(Bytes& b, uint32_t w) {
  for (int s = 24; s >= 0; s -= 8) b.push_back(static_cast<unsigned char>(w >> s));
}
void putText(Bytes& b, const std::string& s) {  // string: length, bytes, padding
  put(b, static_cast<uint32_t>(s.size()));
  for (char c : s) b.push_back(static_cast<unsigned char>(c));
  while (b.size() % 4) b.push_back(0);
}
void putFixed(Bytes& b, const std::string& s, size_t width) {  // fixed name, padded
  for (size_t i = 0; i < width; ++i) b.push_back(i < s.size() ? s[i] : 0);
  while (b.size() % 4) b.push_back(0);
}
// Names inside structures: 31 characters (and the terminator) in version 7,
// 255 later; user and group names 31 up to version 11.
void putName(Bytes& b, const std::string& s, int version) {
  putFixed(b, s, version <= 7 ? 32 : 256);
}
void putAccessName(Bytes& b, const std::string& s, int version) {
  putFixed(b, s, version <= 11 ? 32 : 256);
}
void zeros(Bytes& b, int words) {
  for (int i = 0; i < words; ++i) put(b, 0);
}

// An all-zero request header in the form of its version.
void putZeroHeader(Bytes& b, int version) {
  if (version >= 12) {
    // cache id, time, user and password texts, client information (type,
    // count), reserved text, six locale texts, four words, no properties,
    // call words A to C, flags, D, E, header byte
    zeros(b, 2 + 2 + 2 + 1 + 6 + 4 + 1 + 7);
  } else if (version == 11) {
    zeros(b, 2);
    zeros(b, 8 + 8);  // user and password: 31 bytes each, padded to 32
    zeros(b, 2);      // client information
    zeros(b, 8);      // reserved text: 31 bytes
    zeros(b, 6 + 4 + 1 + 7);
  } else {
    zeros(b, 2);
    zeros(b, 8 + 8);  // user and password
    zeros(b, 4);      // locale: 16 bytes
    zeros(b, 2);      // client information
    zeros(b, 4 + 6 + 1);
  }
}

// One index over fields 1 and 8, unique, named "ByKey" (the name and its
// flags word travel from version 10).
void putIndex(Bytes& b, int version) {
  put(b, 1);
  put(b, 2);
  put(b, 1);
  put(b, 8);
  zeros(b, 14);
  put(b, 1);
  if (version >= 10) {
    putName(b, "ByKey", version);
    put(b, 0);
  }
}

// No archiving; auditing into "Log"; both only from version 10, the audit
// flags from 14.
void putArchiveAndAudit(Bytes& b, int version) {
  if (version < 10) return;
  zeros(b, 3);  // archive: enable, type, selector 0 (no destination)
  zeros(b, 4);  // month day, weekday, hour mask, minute
  put(b, 0);    // qualifier: none
  putName(b, "", version);
  put(b, 1);  // audit: enabled, type 2
  put(b, 2);
  putName(b, "Log", version);
  put(b, 0);  // qualifier: none
  if (version >= 14) put(b, 9);
}

// Permissions, sub-administrators, get-list fields and sort of both records.
void putMiddle(Bytes& b) {
  put(b, 0);  // inheritance
  put(b, 1);  // permissions: group 4 may view
  put(b, 4);
  put(b, 1);
  put(b, 0);  // sub-administrator groups
  put(b, 1);  // get-list fields: field 1, width 20, separator of 10 + 2
  put(b, 1);
  put(b, 20);
  putFixed(b, " ", 10);
  put(b, 1);  // sort: field 1 descending
  put(b, 1);
  put(b, 2);
}

struct Schema {
  ZQPermissionStruct perm{4, ZQ_PERMISSIONS_VIEW};
  ZQEntryListFieldStruct column{1, 20, " "};
  ZQSortStruct sort{1, ZQ_SORT_DESCENDING};
  ZQIndexStruct index{};
  void fill(t::SchemaParts& s) {
    s.kind.schemaType = ZQ_SCHEMA_REGULAR;
    s.permissions = {1, &perm};
    s.getListFields = {1, &column};
    s.sort = {1, &sort};
    index.numberOfFields = 2;
    index.fieldId[0] = 1;
    index.fieldId[1] = 8;
    index.uniqueFlag = 1;
    strcpy(index.indexName, "ByKey");
    s.indexes = {1, &index};
    s.audit.enable = 1;
    s.audit.auditType = 2;
    strcpy(s.audit.formName, "Log");
    s.audit.auditFlags = 9;
    strcpy(s.defaultView, "Main");
  }
};

Bytes createSchemaBytes(int version) {
  Bytes b;
  putZeroHeader(b, version);
  putText(b, "Tickets");
  put(b, ZQ_SCHEMA_REGULAR);
  putMiddle(b);
  putIndex(b, version);
  putArchiveAndAudit(b, version);
  putName(b, "Main", version);
  put(b, 0);  // help text: null travels empty
  putAccessName(b, "", version);
  put(b, 0);  // diary
  put(b, 0);  // object properties
  put(b, 3);  // option word
  return b;
}

Bytes getSchemaReplyBytes(int version) {
  Bytes b;
  putZeroHeader(b, version);
  put(b, ZQ_SCHEMA_REGULAR);
  putMiddle(b);
  putIndex(b, version);
  putArchiveAndAudit(b, version);
  putName(b, "Main", version);
  putText(b, "help");
  put(b, 77);  // timestamp
  putAccessName(b, "Owner", version);
  putAccessName(b, "Changer", version);
  putText(b, "");
  put(b, 0);  // object properties
  put(b, 0);  // status list: none
  return b;
}

class OlderRecordsGolden : public ::testing::TestWithParam<int> {
 protected:
  zqtest::Session session;
};

TEST_P(OlderRecordsGolden, CreateSchemaRequest) {
  const int version = GetParam();
  zq::model::CodecScope scope(version, session.context());
  Schema parts;
  t::CreateSchemaArgs a{};
  a.name = const_cast<char*>("Tickets");
  parts.fill(a.schema);
  a.option = 3;
  std::vector<char> out;
  ASSERT_TRUE(zq::model::encodeToBuffer(a, version, out));
  EXPECT_EQ(Bytes(out.begin(), out.end()), createSchemaBytes(version));
}

// What an older server sends reads into the newest record; what its version
// lacks stays zero.
TEST_P(OlderRecordsGolden, GetSchemaReply) {
  const int version = GetParam();
  zq::model::CodecScope scope(version, session.context());
  const Bytes b = getSchemaReplyBytes(version);
  t::GetSchemaReply r{};
  ASSERT_TRUE(zq::model::decodeFromBuffer(reinterpret_cast<const char*>(b.data()), b.size(), r,
                                          version));
  ASSERT_EQ(r.schema.indexes.count, 1u);
  EXPECT_EQ(r.schema.indexes.items[0].fieldId[1], 8u);
  EXPECT_STREQ(r.schema.indexes.items[0].indexName, version >= 10 ? "ByKey" : "");
  EXPECT_EQ(r.schema.audit.enable, version >= 10 ? 1u : 0u);
  EXPECT_STREQ(r.schema.audit.formName, version >= 10 ? "Log" : "");
  EXPECT_EQ(r.schema.audit.auditFlags, version >= 14 ? 9u : 0u);
  EXPECT_STREQ(r.schema.defaultView, "Main");
  EXPECT_STREQ(r.schema.common.owner, "Owner");
  EXPECT_STREQ(r.schema.common.lastChanged, "Changer");
  EXPECT_EQ(r.schema.common.timestamp, 77);
  // And written back in the same version's form.
  std::vector<char> out;
  ASSERT_TRUE(zq::model::encodeToBuffer(r, version, out));
  EXPECT_EQ(Bytes(out.begin(), out.end()), b);
  zq::model::release(r);
}

INSTANTIATE_TEST_SUITE_P(Versions, OlderRecordsGolden, ::testing::Values(7, 9, 10, 11, 12, 13, 14),
                         [](const ::testing::TestParamInfo<int>& info) {
                           return "V" + std::to_string(info.param);
                         });

}  // namespace
