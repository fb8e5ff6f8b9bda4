// Argument checks of the entry calls, in the order each call runs them, and
// the shared checks every call family reuses. No server is involved: every
// case here ends before binding.
#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "calls/checks.h"
#include "support/session.h"
#include "zqapi/zqapi.h"

using zqtest::Status;

namespace {

using Messages = std::vector<int32_t>;

Messages numbers(const Status& s) {
  Messages out;
  for (const auto& [type, number] : s.entries()) out.push_back(number);
  return out;
}

ZQFieldValueStruct textValue(ZQInternalId id, const char* s) {
  ZQFieldValueStruct fv{};
  fv.fieldId = id;
  fv.value.dataType = ZQ_DATA_TYPE_CHAR;
  fv.value.u.charValue = const_cast<char*>(s);
  return fv;
}

class EntryChecks : public ::testing::Test {
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
  ZQControlStruct control_{};
};

// Arguments a case changes from a sound default.
struct Args {
  ZQControlStruct* control;
  const char* form = "Tickets";
  ZQEntryIdType id = "000000000000001";
  ZQEntryIdList ids{1, nullptr};
  ZQEntryIdList* idsArg = &ids;
  ZQFieldValueStruct value = textValue(536870913, "x");
  ZQFieldValueList values{1, nullptr};
  ZQFieldValueList* valuesArg = &values;
  Args(ZQControlStruct* c) : control(c) {
    ids.items = &id;
    values.items = &value;
  }
};

enum class Call { create, set, remove, merge, get, service };

int run(Call call, Args& a, ZQStatusList* status) {
  ZQEntryIdType out = "junk";
  ZQFieldValueList got{5, reinterpret_cast<ZQFieldValueStruct*>(0x1)};
  int rc = 0;
  switch (call) {
    case Call::create:
      rc = ZQCreateEntry(a.control, a.form, a.valuesArg, out, status);
      EXPECT_STREQ(out, "");
      break;
    case Call::merge:
      rc = ZQMergeEntry(a.control, a.form, a.valuesArg, 1, out, status);
      EXPECT_STREQ(out, "");
      break;
    case Call::set:
      rc = ZQSetEntry(a.control, a.form, a.idsArg, a.valuesArg, 0, 0, status);
      break;
    case Call::remove:
      rc = ZQDeleteEntry(a.control, a.form, a.idsArg, 0, status);
      break;
    case Call::get:
      rc = ZQGetEntry(a.control, a.form, a.idsArg, nullptr, &got, status);
      EXPECT_EQ(got.count, 0u);  // cleared first, whatever happens
      FreeZQFieldValueList(&got, 0);
      break;
    case Call::service:
      rc = ZQServiceEntry(a.control, a.form, a.idsArg, a.valuesArg, nullptr, &got, status);
      EXPECT_EQ(got.count, 0u);
      FreeZQFieldValueList(&got, 0);
      break;
  }
  return rc;
}

const char* nameOf(Call c) {
  static const char* names[] = {"create", "set", "delete", "merge", "get", "service"};
  return names[static_cast<int>(c)];
}

TEST_F(EntryChecks, EachCallChecksInTheOrderOfItsTable) {
  const std::string longName(255, 'f');
  const ZQControlStruct uninitialized = zqtest::makeControl("Demo", "x");
  struct Case {
    const char* label;
    std::vector<Call> calls;
    std::function<void(Args&)> change;
    int rc;
    Messages messages;
  };
  const std::vector<Call> all = {Call::create, Call::set,  Call::remove,
                                 Call::merge,  Call::get,  Call::service};
  const std::vector<Case> cases = {
      {"no context", all,
       [&](Args& a) { a.control = const_cast<ZQControlStruct*>(&uninitialized); }, 3, {161}},
      {"control before form", all,
       [](Args& a) {
         a.control->user[0] = '\0';
         a.form = "";
       },
       2, {149}},
      {"form missing", all, [](Args& a) { a.form = nullptr; }, 2, {102}},
      {"form empty", all, [](Args& a) { a.form = ""; }, 2, {102}},
      {"form too long", all, [&](Args& a) { a.form = longName.c_str(); }, 2, {103}},
      {"null id list returns at once", {Call::set, Call::get},
       [](Args& a) { a.idsArg = nullptr; }, 0, {}},
      {"null id list", {Call::remove}, [](Args& a) { a.idsArg = nullptr; }, 2, {106}},
      {"empty id list", {Call::set, Call::remove, Call::get},
       [](Args& a) { a.ids.count = 0; }, 2, {106}},
      {"ids without items", {Call::set, Call::remove, Call::get},
       [](Args& a) { a.ids.items = nullptr; }, 2, {165}},
      {"id of 16 characters", {Call::set, Call::remove, Call::get},
       [](Args& a) { memset(a.id, '1', sizeof a.id); }, 2, {121}},
      {"only empty ids", {Call::set, Call::remove, Call::get},
       [](Args& a) { a.id[0] = '\0'; }, 2, {100}},
      {"ids before values", {Call::set},
       [](Args& a) {
         a.id[0] = '\0';
         a.value.value.dataType = 44;
       },
       2, {100}},
      {"empty values not allowed", {Call::merge},
       [](Args& a) { a.values.count = 0; }, 2, {104}},
      {"values without items", {Call::create, Call::set, Call::merge, Call::service},
       [](Args& a) { a.values.items = nullptr; }, 2, {165}},
      {"data type 44", {Call::create, Call::set, Call::merge, Call::service},
       [](Args& a) { a.value.value.dataType = 44; }, 2, {124, 110}},
      {"keyword above 46", {Call::create, Call::set, Call::merge, Call::service},
       [](Args& a) {
         a.value.value.dataType = ZQ_DATA_TYPE_KEYWORD;
         a.value.value.u.keywordNumber = 47;
       },
       2, {124, 197}},
      {"unusable service id leaves no message", {Call::service},
       [](Args& a) {
         memset(a.id, '1', sizeof a.id);
         a.value.value.dataType = 44;
       },
       2, {124, 110}},
  };
  for (const Case& c : cases) {
    for (Call call : c.calls) {
      SCOPED_TRACE(std::string(c.label) + " / " + nameOf(call));
      ZQControlStruct saved = control_;
      Args a(&control_);
      c.change(a);
      Status s;
      EXPECT_EQ(run(call, a, &s), c.rc);
      // Newest first within a type: the check's own message, then 124.
      EXPECT_EQ(numbers(s), c.messages);
      control_ = saved;
    }
  }
}

TEST_F(EntryChecks, MissingStatusListIsRefusedAndOutputsCleared) {
  Args a(&control_);
  for (Call call : {Call::create, Call::set, Call::remove, Call::merge, Call::get,
                    Call::service}) {
    SCOPED_TRACE(nameOf(call));
    EXPECT_EQ(run(call, a, nullptr), 4);
  }
}

TEST_F(EntryChecks, SetWithNothingToChangeSkipsEveryCheck) {
  ZQControlStruct broken = zqtest::makeControl("", "");
  ZQFieldValueList empty{0, nullptr};
  Status s;
  EXPECT_EQ(ZQSetEntry(&broken, nullptr, nullptr, &empty, 0, 0, &s), 0);
  EXPECT_EQ(ZQSetEntry(&broken, nullptr, nullptr, nullptr, 0, 0, &s), 0);
  EXPECT_EQ(s.count, 0u);
}

// ---- the shared checks ------------------------------------------------------------------

TEST(SharedChecks, ValueCheckNullsPointerlessValues) {
  const uint32_t pointerTypes[] = {ZQ_DATA_TYPE_CHAR,   ZQ_DATA_TYPE_DIARY,  ZQ_DATA_TYPE_BYTES,
                                   ZQ_DATA_TYPE_DECIMAL, ZQ_DATA_TYPE_ATTACH, ZQ_DATA_TYPE_COORDS,
                                   ZQ_DATA_TYPE_VIEW,   ZQ_DATA_TYPE_DISPLAY,
                                   ZQ_DATA_TYPE_CURRENCY};
  for (uint32_t type : pointerTypes) {
    SCOPED_TRACE(type);
    ZQValueStruct v{};
    v.dataType = type;
    Status s;
    EXPECT_EQ(zq::checks::checkValue(&v, &s), 0);
    EXPECT_EQ(v.dataType, uint32_t{ZQ_DATA_TYPE_NULL});
  }
  // A currency without amount text is released, not lost.
  ZQValueStruct v{};
  v.dataType = ZQ_DATA_TYPE_CURRENCY;
  v.u.currencyValue = static_cast<ZQCurrencyStruct*>(ZQCalloc(1, sizeof(ZQCurrencyStruct)));
  Status s;
  EXPECT_EQ(zq::checks::checkValue(&v, &s), 0);
  EXPECT_EQ(v.dataType, uint32_t{ZQ_DATA_TYPE_NULL});
  EXPECT_EQ(v.u.currencyValue, nullptr);
}

// Types that have no wire form as a value are refused by the check, not
// later by the encoder (which would report 91 "Can't encode arguments").
TEST(SharedChecks, ValuesOfTypesThatCannotTravel) {
  for (uint32_t type : {15u, 29u, 33u, 34u, 35u, 36u, 37u, 38u, 39u, 44u}) {
    SCOPED_TRACE(type);
    ZQValueStruct v{};
    v.dataType = type;
    Status s;
    EXPECT_EQ(zq::checks::checkValue(&v, &s), 2);
    EXPECT_EQ(numbers(s), Messages{110});
  }
  for (uint32_t type : {0u, 2u, 14u, 30u, 31u, 32u, 40u}) {
    SCOPED_TRACE(type);
    ZQValueStruct v{};
    v.dataType = type;
    Status s;
    EXPECT_EQ(zq::checks::checkValue(&v, &s), 0);
  }
}

TEST(SharedChecks, AttachmentNames) {
  const std::string longName(256, 'n');
  struct Case {
    const char* name;
    int rc;
    Messages messages;
  } cases[] = {{nullptr, 0, {}}, {"", 2, {102}}, {longName.c_str(), 2, {109}}, {"a.txt", 0, {}}};
  for (const Case& c : cases) {
    ZQAttachStruct a{};
    a.name = const_cast<char*>(c.name);
    ZQValueStruct v{};
    v.dataType = ZQ_DATA_TYPE_ATTACH;
    v.u.attachmentValue = &a;
    Status s;
    EXPECT_EQ(zq::checks::checkValue(&v, &s), c.rc);
    EXPECT_EQ(numbers(s), c.messages);
  }
}

TEST(SharedChecks, NameListsEntryIdListsColumnsAndSorts) {
  Status s;
  EXPECT_EQ(zq::checks::checkNameList(nullptr, false, &s), 2);
  EXPECT_EQ(numbers(s), Messages{113});
  s.reset();
  EXPECT_EQ(zq::checks::checkNameList(nullptr, true, &s), 0);
  ZQNameType names[2] = {"Good", ""};
  ZQNameList list{2, names};
  EXPECT_EQ(zq::checks::checkNameList(&list, false, &s), 2);
  EXPECT_EQ(numbers(s), (Messages{114, 102}));
  s.reset();

  ZQEntryIdType ids[2] = {"1", ""};
  ZQEntryIdList inner[2] = {{2, ids}, {0, nullptr}};
  ZQEntryIdListList lists{2, inner};
  EXPECT_EQ(zq::checks::checkEntryIdLists(&lists, false, &s), 2);
  EXPECT_EQ(numbers(s), Messages{106});  // the second inner list
  s.reset();
  EXPECT_EQ(zq::checks::checkEntryIdLists(nullptr, true, &s), 0);

  ZQEntryListFieldStruct columns[] = {{99, 0, ""}, {536870913, 10, " "}, {536870913, 0, ""}};
  ZQEntryListFieldList fields{3, columns};
  EXPECT_EQ(zq::checks::checkEntryListFields(&fields, &s), 2);
  EXPECT_EQ(numbers(s), Messages{214});
  s.reset();
  fields.count = 2;
  EXPECT_EQ(zq::checks::checkEntryListFields(&fields, &s), 0);

  ZQSortStruct sorts[] = {{1, 1}, {2, 3}};
  ZQSortList sort{2, sorts};
  EXPECT_EQ(zq::checks::checkSortList(&sort, &s), 2);
  EXPECT_EQ(numbers(s), (Messages{152, 153}));
}

TEST(SharedChecks, QualifierTree) {
  auto field = [](ZQInternalId id) {
    ZQFieldValueOrArithStruct o{};
    o.tag = ZQ_FIELD;
    o.u.fieldId = id;
    return o;
  };
  ZQRelOpStruct rel{ZQ_REL_OP_EQUAL, field(1), field(2)};
  ZQQualifierStruct leaf{};
  leaf.operation = ZQ_COND_OP_REL_OP;
  leaf.u.relation = &rel;
  ZQQualifierStruct none{};
  ZQArithOpStruct negate{ZQ_ARITH_OP_NEGATE, {}, field(3)};
  negate.left.tag = 77;
  ZQCurrencyPartStruct part{1, 4, "EU"};

  struct Case {
    const char* label;
    std::function<void(ZQQualifierStruct&, ZQRelOpStruct&)> build;
    bool noConditionAllowed;
    int rc;
    Messages messages;
  };
  const std::vector<Case> cases = {
      {"no condition at the top", [](auto& q, auto&) { q.operation = 0; }, true, 0, {}},
      {"no condition refused", [](auto& q, auto&) { q.operation = 0; }, false, 2, {141}},
      {"operation above 5", [](auto& q, auto&) { q.operation = 6; }, true, 2, {142}},
      {"AND without right",
       [&](auto& q, auto&) {
         q.operation = ZQ_COND_OP_AND;
         q.u.andOr.left = &leaf;
         q.u.andOr.right = nullptr;
       },
       true, 2, {141}},
      {"no condition below the top",
       [&](auto& q, auto&) {
         q.operation = ZQ_COND_OP_NOT;
         q.u.operand = &none;
       },
       true, 2, {141}},
      {"relation missing",
       [](auto& q, auto&) {
         q.operation = ZQ_COND_OP_REL_OP;
         q.u.relation = nullptr;
       },
       true, 2, {143}},
      {"operator 9", [](auto&, auto& r) { r.operation = 9; }, true, 2, {144}},
      {"status history selector", [](auto&, auto& r) {
         r.right.tag = ZQ_STAT_HISTORY;
         r.right.u.statHistory.userOrTime = 3;
       },
       true, 2, {170}},
      {"empty value set",
       [](auto&, auto& r) {
         r.right.tag = ZQ_VALUE_SET;
         r.right.u.valueSet = ZQValueList{0, nullptr};
       },
       true, 2, {203}},
      {"local variable 11",
       [](auto&, auto& r) {
         r.right.tag = ZQ_LOCAL_VARIABLE;
         r.right.u.variable = 11;
       },
       true, 2, {220}},
      {"currency code of two characters",
       [&](auto&, auto& r) {
         r.right.tag = ZQ_CURRENCY_FLD;
         r.right.u.currencyField = &part;
       },
       true, 2, {8734}},
      {"unknown operand", [](auto&, auto& r) { r.left.tag = 12; }, true, 2, {148}},
      {"arithmetic missing",
       [](auto&, auto& r) {
         r.left.tag = ZQ_ARITHMETIC;
         r.left.u.arithOp = nullptr;
       },
       true, 2, {145}},
      {"negation ignores its left operand",
       [&](auto&, auto& r) {
         r.left.tag = ZQ_ARITHMETIC;
         r.left.u.arithOp = &negate;
       },
       true, 0, {}},
      {"embedded query missing",
       [](auto&, auto& r) {
         r.right.tag = ZQ_QUERY;
         r.right.u.query = nullptr;
       },
       true, 2, {221}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    ZQRelOpStruct r{ZQ_REL_OP_EQUAL, field(1), field(2)};
    ZQQualifierStruct q{};
    q.operation = ZQ_COND_OP_REL_OP;
    q.u.relation = &r;
    c.build(q, r);
    Status s;
    EXPECT_EQ(zq::checks::checkQualifier(&q, c.noConditionAllowed, &s), c.rc);
    EXPECT_EQ(numbers(s), c.messages);
  }
  EXPECT_EQ(negate.left.tag, uint32_t{ZQ_FIELD});
}

}  // namespace
