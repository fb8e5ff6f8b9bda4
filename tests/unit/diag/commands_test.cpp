// The command table: complete, in enum order, codes unique, and the rows
// whose shape matters to a replay as the recording defines them.
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "diag/commands.h"

using zq::diag::Command;
using zq::diag::commandInfo;
using zq::diag::commandTable;
using zq::diag::findByCode;
using zq::diag::Records;

TEST(CommandTable, RowsFollowTheEnumAndCodesAreUnique) {
  const auto& table = commandTable();
  ASSERT_EQ(table.size(), static_cast<size_t>(Command::kCount));
  std::set<std::string> codes, calls;
  size_t withCode = 0;
  for (size_t i = 0; i < table.size(); ++i) {
    EXPECT_EQ(static_cast<size_t>(table[i].id), i) << table[i].call;
    EXPECT_TRUE(calls.insert(table[i].call).second) << table[i].call;
    const std::string code = table[i].code;
    if (code.empty()) continue;
    ++withCode;
    EXPECT_TRUE(codes.insert(code).second) << "code " << code << " twice";
    EXPECT_EQ(findByCode(code), &table[i]);
    EXPECT_EQ(table[i].records, Records::commandAndResult) << table[i].call;
  }
  // Every call with a command record has its code: 135 of them.
  EXPECT_EQ(withCode, 135u);
  EXPECT_EQ(findByCode(""), nullptr);
  EXPECT_EQ(findByCode("nope"), nullptr);
}

TEST(CommandTable, CodesAndRecordedNames) {
  const struct {
    const char* code;
    const char* recorded;
  } rows[] = {
      {"ge", "ZQGetEntry"},
      {"se", "ZQSetEntry"},
      {"glewmsf", "LogGetListEntryWithMultiSchemaFields"},
      {"lqs", "ZQLoadQualifierStruct"},
      {"gsi", "ZQGetServerInfo"},
      {"gscs", "ZQGetServerCharSet"},
      {"gccs", "ZQGetClientCharSet"},
      {"svr", "ZQGetListServer"},
      {"cnc", "ZQCloseNetworkConnections"},
      {"init", "ZQInitialization"},
      {"term", "ZQTermination"},
      {"epal", "ZQExecuteProcessForActiveLink"},
      {"sqlal", "ZQGetListSQLForActiveLink"},
      {"stat", "ZQGetEntryStatistics"},
      {"proc", "ZQExecuteProcess"},
      {"glsv", "ZQGetListVUI"},
      {"ver", "ZQVerifyUser"},
      {"essm", "ZQExpandSSMenu"},
      {"ecqal", "ZQEncodeZQQualifierStruct"},
      {"echst", "ZQEncodeStatusHistory"},
  };
  for (const auto& r : rows) {
    const auto* info = findByCode(r.code);
    ASSERT_NE(info, nullptr) << r.code;
    EXPECT_STREQ(info->recorded, r.recorded) << r.code;
  }
}

TEST(CommandTable, CallsThatRecordNothingOrOnlyTheirResult) {
  for (Command c :
       {Command::ImportFromFile, Command::CreateSupportFile, Command::GetEntryBlock,
        Command::GetListSupportFile, Command::BeginClientManagedTransaction,
        Command::EndClientManagedTransaction, Command::SetImpersonatedUser, Command::CreateUser,
        Command::DeleteUser, Command::CreateGroup, Command::DeleteGroup, Command::Cancel})
    EXPECT_EQ(commandInfo(c).records, Records::nothing) << commandInfo(c).call;
  for (Command c : {Command::RunEscalation, Command::WfdExecute, Command::WfdTerminateAPI})
    EXPECT_EQ(commandInfo(c).records, Records::resultUnderLastName) << commandInfo(c).call;
  EXPECT_EQ(commandInfo(Command::DecodeDiary).records, Records::noteOnly);
  EXPECT_EQ(commandInfo(Command::DecodeStatusHistory).records, Records::noteOnly);
}

TEST(CommandTable, ResultItemsOfAFewCalls) {
  const auto& schema = commandInfo(Command::GetSchema).items;
  ASSERT_EQ(schema.size(), 15u);
  EXPECT_STREQ(schema[2].label, "Sub Admin Group List:");
  EXPECT_STREQ(schema[9].label, "Help Text:");
  EXPECT_STREQ(schema[13].label, "Change Diary:");
  EXPECT_EQ(schema[13].form, zq::diag::Form::diary);

  const auto& filters = commandInfo(Command::GetMultipleFilters);
  EXPECT_STREQ(filters.blockLabel, "Filter Name:");
  EXPECT_STREQ(filters.items[0].label, "   Execution Order:");

  EXPECT_EQ(commandInfo(Command::GetImage).show, zq::diag::Show::wheneverReplied);
  EXPECT_EQ(commandInfo(Command::EndBulkEntryTransaction).show, zq::diag::Show::afterStatus);
  EXPECT_EQ(commandInfo(Command::GetObjectChangeTimes).show, zq::diag::Show::wheneverPassed);
}
