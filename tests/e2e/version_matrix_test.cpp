// Representative calls of every family against zqserverd limited to one
// protocol version (7 to 14) and against a 7-14 server. The expected outcome
// of each cell is written by hand from the procedure table (the versions of
// each procedure) and the stepping rules: a procedure the older version lacks
// is refused here (288) unless only the steps 11-to-10 or 8-to-7 lost it,
// which leave it to the server (91); date values do not travel below 9 (283).
#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "support/server_fixture.h"
#include "zqapi/zqapi.h"

namespace {

using zqtest::Status;

constexpr int kWorks = 0;
constexpr int kRange = 0;  // the parameter of the 7-14 server

struct Cell {
  const char* name;
  std::function<int(ZQControlStruct*, Status&)> run;
  int expected[8];  // versions 7 to 14: kWorks or the refusal's message
};

int setEntryWithDate(ZQControlStruct* c, Status& s) {
  ZQEntryIdType id = "000000000000001";
  ZQEntryIdList entry{1, &id};
  ZQFieldValueStruct v{};
  v.fieldId = 536870913;
  v.value.dataType = ZQ_DATA_TYPE_DATE;
  v.value.u.dateValue = 2460000;
  ZQFieldValueList values{1, &v};
  return ZQSetEntry(c, "Matrix", &entry, &values, 0, 0, &s);
}

int createEntryWithText(ZQControlStruct* c, Status& s) {
  ZQFieldValueStruct v{};
  v.fieldId = 8;
  v.value.dataType = ZQ_DATA_TYPE_CHAR;
  v.value.u.charValue = const_cast<char*>("text");
  ZQFieldValueList values{1, &v};
  ZQEntryIdType id = "";
  return ZQCreateEntry(c, "Matrix", &values, id, &s);
}

const std::vector<Cell>& cells() {
  static const std::vector<Cell> table = {
      {"GetServerInfo (36)",
       [](ZQControlStruct* c, Status& s) {
         uint32_t tag = 4;
         ZQServerInfoRequestList request{1, &tag};
         ZQServerInfoList out{};
         int rc = ZQGetServerInfo(c, &request, &out, &s);
         FreeZQServerInfoList(&out, 0);
         return rc;
       },
       {kWorks, kWorks, kWorks, kWorks, kWorks, kWorks, kWorks, kWorks}},
      {"CreateEntry, text value (3)",
       createEntryWithText,
       {kWorks, kWorks, kWorks, kWorks, kWorks, kWorks, kWorks, kWorks}},
      {"SetEntry, date value (2)",
       setEntryWithDate,
       {283, 283, kWorks, kWorks, kWorks, kWorks, kWorks, kWorks}},
      {"GetListSchema (11)",
       [](ZQControlStruct* c, Status& s) {
         ZQNameList names{};
         int rc = ZQGetListSchema(c, 0, 0, nullptr, nullptr, nullptr, &names, &s);
         FreeZQNameList(&names, 0);
         return rc;
       },
       {kWorks, kWorks, kWorks, kWorks, kWorks, kWorks, kWorks, kWorks}},
      {"GetListSchemaWithAlias (101, emulated at 7)",
       [](ZQControlStruct* c, Status& s) {
         ZQNameList names{}, aliases{};
         int rc = ZQGetListSchemaWithAlias(c, 0, 0, nullptr, nullptr, nullptr, nullptr, nullptr,
                                           &names, &aliases, &s);
         EXPECT_EQ(names.count, aliases.count);
         FreeZQNameList(&names, 0);
         FreeZQNameList(&aliases, 0);
         return rc;
       },
       {kWorks, kWorks, kWorks, kWorks, kWorks, kWorks, kWorks, kWorks}},
      {"GetMultipleSchemas (86)",
       [](ZQControlStruct* c, Status& s) {
         ZQNameList names{};
         int rc = ZQGetMultipleSchemas(c, 0, 0, nullptr, nullptr, nullptr, &names, nullptr, nullptr,
                                       nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                                       nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                                       nullptr, nullptr, &s);
         FreeZQNameList(&names, 0);
         return rc;
       },
       {91, kWorks, kWorks, kWorks, kWorks, kWorks, kWorks, kWorks}},
      {"GetListCharMenu (20)",
       [](ZQControlStruct* c, Status& s) {
         ZQNameList names{};
         int rc = ZQGetListCharMenu(c, 0, nullptr, nullptr, nullptr, &names, &s);
         FreeZQNameList(&names, 0);
         return rc;
       },
       {kWorks, kWorks, kWorks, kWorks, kWorks, kWorks, kWorks, kWorks}},
      {"GetListUser (46)",
       [](ZQControlStruct* c, Status& s) {
         ZQUserInfoList users{};
         int rc = ZQGetListUser(c, 0, 0, &users, &s);
         FreeZQUserInfoList(&users, 0);
         return rc;
       },
       {kWorks, kWorks, kWorks, kWorks, kWorks, kWorks, kWorks, kWorks}},
      {"GetListAlertUser (104)",
       [](ZQControlStruct* c, Status& s) {
         ZQAccessNameList users{};
         int rc = ZQGetListAlertUser(c, &users, &s);
         FreeZQAccessNameList(&users, 0);
         return rc;
       },
       {91, kWorks, kWorks, kWorks, kWorks, kWorks, kWorks, kWorks}},
      {"XMLGetEntry (121)",
       [](ZQControlStruct* c, Status& s) {
         char* out = nullptr;
         int rc = ZQXMLGetEntry(c, "<m/>", "<q/>", "<o/>", nullptr, &out, &s);
         ZQFree(out);
         return rc;
       },
       {288, 288, kWorks, kWorks, kWorks, kWorks, kWorks, kWorks}},
      {"GetListRole (126)",
       [](ZQControlStruct* c, Status& s) {
         ZQRoleInfoList roles{};
         int rc = ZQGetListRole(c, "App", nullptr, nullptr, &roles, &s);
         FreeZQRoleInfoList(&roles, 0);
         return rc;
       },
       {288, 288, 288, kWorks, kWorks, kWorks, kWorks, kWorks}},
      {"GetListImage (154)",
       [](ZQControlStruct* c, Status& s) {
         ZQNameList names{};
         int rc = ZQGetListImage(c, nullptr, 0, nullptr, &names, &s);
         FreeZQNameList(&names, 0);
         return rc;
       },
       {288, 288, 288, 288, 288, 288, 288, kWorks}},
      {"GetListSQL (59)",
       [](ZQControlStruct* c, Status& s) {
         ZQValueListList rows{};
         uint32_t matches = 0;
         int rc = ZQGetListSQL(c, "select 1", 1, &rows, &matches, &s);
         FreeZQValueListList(&rows, 0);
         return rc;
       },
       {kWorks, kWorks, kWorks, kWorks, kWorks, kWorks, kWorks, kWorks}},
  };
  return table;
}

struct Counts {
  int run = 0, worked = 0;
  std::map<int, int> refused;
};
Counts& totals() {
  static Counts c;
  return c;
}

class VersionMatrix : public zqtest::ServerTest, public ::testing::WithParamInterface<int> {
 protected:
  void configure(zqserver::Options& o) override {
    if (GetParam() != kRange) o.minVersion = o.maxVersion = GetParam();
  }
};

TEST_P(VersionMatrix, EveryCallWorksOrIsRefusedAsTheRulesSay) {
  const int version = GetParam() == kRange ? 14 : GetParam();
  for (const Cell& cell : cells()) {
    Status s;
    const uint64_t before = server_->faults().callsReceived;
    const int rc = cell.run(&control_, s);
    const int want = cell.expected[version - 7];
    int got = kWorks;
    for (int refusal : {283, 288, 91})
      if (s.has(refusal)) got = refusal;
    EXPECT_EQ(got, want) << cell.name << " at version " << version << " rc " << rc;
    if (want == 283 || want == 288) {
      EXPECT_EQ(rc, 2) << cell.name;
      // Refused here: the server saw nothing of it.
      EXPECT_EQ(server_->faults().callsReceived.load(), before) << cell.name;
    } else if (want == kWorks) {
      EXPECT_GT(server_->faults().callsReceived.load(), before) << cell.name;
    }
    Counts& t = totals();
    t.run++;
    if (got == kWorks)
      t.worked++;
    else
      t.refused[got]++;
  }
  // A 7-14 server keeps the client at 14.
  if (GetParam() == kRange) {
    EXPECT_EQ(server_->faults().lastVersion.load(), 14u);
  }
}

INSTANTIATE_TEST_SUITE_P(Versions, VersionMatrix,
                         ::testing::Values(7, 8, 9, 10, 11, 12, 13, 14, kRange),
                         [](const ::testing::TestParamInfo<int>& info) {
                           return info.param == kRange ? std::string("Range7to14")
                                                       : "V" + std::to_string(info.param);
                         });

class MatrixCounts : public ::testing::Environment {
 public:
  void TearDown() override {
    const Counts& t = totals();
    if (t.run == 0) return;
    std::printf("version matrix: %zu calls x 9 servers = %d cells, %d worked", cells().size(),
                t.run, t.worked);
    for (auto [message, n] : t.refused) std::printf(", %d refused with %d", n, message);
    std::printf("\n");
  }
};
const auto* const kCounts = ::testing::AddGlobalTestEnvironment(new MatrixCounts);

}  // namespace
