// Argument checks of the form and field calls that end the call before it
// binds: the control record names a host that does not resolve, so a check
// that let its argument through would fail on the connection instead.
#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <string>

#include "frame/message_numbers.h"
#include "support/session.h"
#include "zqapi/zqapi.h"

using zqtest::Status;

namespace {

class DefinitionChecks : public ::testing::Test {
 protected:
  void SetUp() override {
    control_ = zqtest::makeControl("Demo", "zq-unreachable.invalid");
    Status s;
    ASSERT_LT(ZQInitialization(&control_, &s), 2);
  }
  void TearDown() override {
    Status s;
    ZQTermination(&control_, &s);
  }

  int createField(ZQFieldMappingStruct* mapping, uint32_t dataType, ZQValueStruct* value,
                  Status& s) {
    ZQInternalId id = 0;
    return ZQCreateField(&control_, "Tickets", &id, 0, "Title", mapping, dataType,
                         ZQ_FIELD_OPTION_OPTIONAL, ZQ_FIELD_OPEN_AT_CREATE, 0, value, nullptr,
                         nullptr, nullptr, nullptr, nullptr, nullptr, &s);
  }
  int createForm(ZQCompoundSchema* kind, Status& s) {
    return ZQCreateSchema(&control_, "Tickets", kind, nullptr, nullptr, nullptr, nullptr, nullptr,
                          nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                          0, &s);
  }

  ZQControlStruct control_{};
};

TEST_F(DefinitionChecks, FieldMappingsOfEveryType) {
  const struct {
    const char* what;
    std::function<void(ZQFieldMappingStruct&)> make;
    int32_t message;
  } cases[] = {
      {"join member index 2",
       [](ZQFieldMappingStruct& m) {
         m.fieldType = ZQ_FIELD_MAPPING_JOIN;
         m.u.join.schemaIndex = 2;
       },
       zq::kMsgBadJoinMemberIndex},
      {"view column without a name",
       [](ZQFieldMappingStruct& m) { m.fieldType = ZQ_FIELD_MAPPING_VIEW; },
       zq::kMsgBadViewColumn},
      {"view column without a terminator",
       [](ZQFieldMappingStruct& m) {
         m.fieldType = ZQ_FIELD_MAPPING_VIEW;
         memset(m.u.view.externalFieldName, 'c', sizeof m.u.view.externalFieldName);
       },
       zq::kMsgBadViewColumn},
      {"vendor field without a name",
       [](ZQFieldMappingStruct& m) { m.fieldType = ZQ_FIELD_MAPPING_VENDOR; },
       zq::kMsgBadExternalFieldName},
      {"mapping type 9", [](ZQFieldMappingStruct& m) { m.fieldType = 9; },
       zq::kMsgBadMappingType},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    ZQFieldMappingStruct mapping{};
    c.make(mapping);
    Status s;
    EXPECT_GE(createField(&mapping, ZQ_DATA_TYPE_CHAR, nullptr, s), ZQ_RETURN_ERROR);
    EXPECT_TRUE(s.has(c.message));
  }
}

TEST_F(DefinitionChecks, DefaultValues) {
  const struct {
    const char* what;
    uint32_t fieldType;
    ZQValueStruct value;
    int32_t message;
  } cases[] = {
      // Attachments, tables, columns and views take no default.
      {"text default of an attachment field", ZQ_DATA_TYPE_ATTACH,
       {ZQ_DATA_TYPE_CHAR, {.charValue = const_cast<char*>("x")}}, zq::kMsgBadDefaultValue},
      {"default of an unknown type", ZQ_DATA_TYPE_CHAR, {99, {}}, zq::kMsgBadDefaultValue},
  };
  for (auto c : cases) {
    SCOPED_TRACE(c.what);
    Status s;
    EXPECT_GE(createField(nullptr, c.fieldType, &c.value, s), ZQ_RETURN_ERROR);
    EXPECT_TRUE(s.has(c.message));
  }
}

TEST_F(DefinitionChecks, FormKindsAndJoins) {
  ZQRelOpStruct relation{};
  relation.operation = 99;  // no such relation
  const struct {
    const char* what;
    std::function<void(ZQCompoundSchema&)> make;
    int32_t message;
  } cases[] = {
      {"no kind", [](ZQCompoundSchema&) {}, zq::kMsgSchemaTypeMissing},
      {"kind 9", [](ZQCompoundSchema& k) { k.schemaType = 9; }, zq::kMsgBadSchemaType},
      {"join without a second member",
       [](ZQCompoundSchema& k) {
         k.schemaType = ZQ_SCHEMA_JOIN;
         strcpy(k.u.join.joinMemberA, "Left");
       },
       zq::kMsgBadJoinMembers},
      {"join on an unknown relation",
       [&](ZQCompoundSchema& k) {
         k.schemaType = ZQ_SCHEMA_JOIN;
         strcpy(k.u.join.joinMemberA, "Left");
         strcpy(k.u.join.joinMemberB, "Right");
         k.u.join.joinQualifier.operation = ZQ_COND_OP_REL_OP;
         k.u.join.joinQualifier.u.relation = &relation;
       },
       zq::kMsgBadJoinQualifier},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    ZQCompoundSchema kind{};
    c.make(kind);
    Status s;
    EXPECT_GE(createForm(&kind, s), ZQ_RETURN_ERROR);
    EXPECT_TRUE(s.has(c.message));
  }
}

}  // namespace
