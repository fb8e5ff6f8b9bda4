// The remote procedure table, checked against a second, hand-written copy of
// the protocol: number, protocol versions, queue, time-out class and time-out
// message of every procedure. The stubs and the reference server's dispatcher
// are both built from the table, so a wrong entry would never show end to end.
#include <gtest/gtest.h>

#include <cstdint>
#include <iterator>
#include <set>
#include <vector>

#include "frame/context.h"
#include "transport/procedures.h"

namespace {

using zq::transport::findProcedure;
using zq::transport::Procedure;
using zq::transport::procedures;
using zq::transport::TimeoutClass;

constexpr uint32_t kAdmin = zq::kQueueAdmin;
constexpr uint32_t kFast = zq::kQueueFast;
constexpr uint32_t kList = zq::kQueueList;

constexpr TimeoutClass kNormal = TimeoutClass::normal;
constexpr TimeoutClass kLong = TimeoutClass::long_;
constexpr TimeoutClass kExtraLong = TimeoutClass::extraLong;
constexpr TimeoutClass kExtraLongAtLeast = TimeoutClass::extraLongAtLeast;
constexpr TimeoutClass kFixed = TimeoutClass::fixed;

constexpr int kNewest = 14;
constexpr int kOldest = 7;

struct Row {
  uint32_t number;
  int firstVersion;
  int lastVersion;
  uint32_t queue;
  TimeoutClass timeout;
  uint32_t seconds;  // compared only where the time-out names seconds
  int32_t message;
};

const Row kExpected[] = {
    // Entries.
    {1, 7, 14, kFast, kNormal, 0, 93},  // ZQGetEntry
    {2, 7, 14, kFast, kNormal, 0, 92},  // ZQSetEntry
    {3, 7, 14, kFast, kNormal, 0, 92},  // ZQCreateEntry, ZQCreateAlertEvent
    {4, 7, 14, kFast, kNormal, 0, 92},  // ZQDeleteEntry
    {5, 7, 14, kList, kLong, 0, 94},    // ZQGetListEntry
    {6, 7, 14, kList, kLong, 0, 94},    // ZQGetEntryStatistics
    // Forms, fields, menus, filters.
    {7, 7, 14, kFast, kNormal, 0, 93},       // ZQGetSchema
    {8, 7, 14, kAdmin, kExtraLong, 0, 92},   // ZQSetSchema
    {9, 7, 14, kAdmin, kExtraLong, 0, 92},   // ZQCreateSchema
    {10, 7, 14, kAdmin, kExtraLong, 0, 92},  // ZQDeleteSchema
    {11, 7, 14, kFast, kNormal, 0, 93},      // ZQGetListSchema
    {12, 7, 14, kFast, kNormal, 0, 93},      // ZQGetField
    {13, 7, 14, kAdmin, kExtraLong, 0, 92},  // ZQSetField
    {14, 7, 14, kAdmin, kExtraLong, 0, 92},  // ZQCreateField
    {15, 7, 14, kFast, kNormal, 0, 93},      // ZQGetListField
    {16, 7, 14, kFast, kNormal, 0, 93},      // ZQGetCharMenu
    {17, 7, 14, kAdmin, kLong, 0, 92},       // ZQSetCharMenu
    {18, 7, 14, kAdmin, kLong, 0, 92},       // ZQCreateCharMenu
    {19, 7, 14, kAdmin, kLong, 0, 92},       // ZQDeleteCharMenu
    {20, 7, 14, kFast, kNormal, 0, 93},      // ZQGetListCharMenu
    {21, 7, 14, kFast, kNormal, 0, 93},      // ZQGetFilter
    {22, 7, 14, kAdmin, kNormal, 0, 92},     // ZQSetFilter
    {23, 7, 14, kAdmin, kNormal, 0, 92},     // ZQCreateFilter
    {24, 7, 14, kAdmin, kNormal, 0, 92},     // ZQDeleteFilter
    {25, 7, 14, kFast, kNormal, 0, 93},      // ZQGetListFilter
    // 26 to 31 left the protocol with version 10.
    {32, 7, 14, kFast, kNormal, 0, 93},  // ZQVerifyUser
    {33, 7, 14, kFast, kNormal, 0, 93},  // ZQGetListGroup
    // Export and import raise the extra-long time-out to at least 28800 s.
    {34, 7, 14, kList, kExtraLongAtLeast, 28800, 93},   // ZQExport, ZQExportToFile
    {35, 7, 14, kAdmin, kExtraLongAtLeast, 28800, 92},  // ZQImport, ZQImportFromFile
    {36, 7, 14, kFast, kNormal, 0, 93},      // ZQGetServerInfo, first-contact settings
    {37, 7, 14, kFast, kNormal, 0, 92},      // ZQMergeEntry
    {38, 7, 14, kFast, kNormal, 0, 93},      // ZQGetActiveLink
    {39, 7, 14, kAdmin, kNormal, 0, 92},     // ZQSetActiveLink
    {40, 7, 14, kAdmin, kNormal, 0, 92},     // ZQCreateActiveLink
    {41, 7, 14, kAdmin, kNormal, 0, 92},     // ZQDeleteActiveLink
    {42, 7, 14, kFast, kNormal, 0, 93},      // ZQGetListActiveLink
    {43, 7, 14, kAdmin, kExtraLong, 0, 92},  // ZQDeleteField
    {44, 7, 14, kAdmin, kNormal, 0, 92},     // ZQSetServerInfo
    {45, 7, 14, kFast, kNormal, 0, 93},      // menu file content (ZQExpandCharMenu)
    {46, 7, 14, kFast, kNormal, 0, 93},      // ZQGetListUser
    // 47 has three callers: ending an impersonation (admin, 1 s, 92),
    // termination (every queue in turn, 1 s, 92) and ordinal 311 (every queue,
    // normal time-out, 92). The row holds the impersonation call's values.
    {47, 7, 14, kAdmin, kFixed, 1, 92},      // ZQSetImpersonatedUser
    {48, 7, 14, kFast, kNormal, 0, 93},      // ZQGetEscalation
    {49, 7, 14, kAdmin, kNormal, 0, 92},     // ZQSetEscalation
    {50, 7, 14, kAdmin, kNormal, 0, 92},     // ZQCreateEscalation
    {51, 7, 14, kAdmin, kNormal, 0, 92},     // ZQDeleteEscalation
    {52, 7, 14, kFast, kNormal, 0, 93},      // ZQGetListEscalation
    {53, 7, 14, kAdmin, kLong, 0, 92},       // ZQSetFullTextInfo
    {54, 7, 14, kFast, kNormal, 0, 93},      // ZQGetFullTextInfo
    {55, 7, 14, kList, kLong, 0, 93},        // query menu (ZQExpandCharMenu)
    {56, 7, 14, kAdmin, kExtraLong, 0, 92},  // ZQDeleteMultipleFields
    {57, 7, 14, kFast, kNormal, 0, 93},      // ZQGetServerStatistics
    {59, 7, 14, kList, kLong, 0, 93},        // ZQGetListSQL
    {60, 7, 14, kFast, kNormal, 0, 93},      // ordinal 312
    {61, 7, 14, kList, kNormal, 0, 92},      // ZQExecuteProcess
    {62, 7, 14, kFast, kNormal, 0, 93},      // ZQGetVUI
    {63, 7, 14, kAdmin, kNormal, 0, 92},     // ZQSetVUI
    {64, 7, 14, kAdmin, kNormal, 0, 92},     // ZQCreateVUI
    {65, 7, 14, kAdmin, kNormal, 0, 92},     // ZQDeleteVUI
    {66, 7, 14, kFast, kNormal, 0, 93},      // ZQGetListVUI
    {67, 7, 14, kFast, kNormal, 0, 93},      // ZQGetMultipleEntries
    {68, 7, 14, kFast, kNormal, 0, 93},      // ZQGetSupportFile
    {69, 7, 14, kAdmin, kLong, 0, 92},       // ZQSetSupportFile, ZQCreateSupportFile
    {71, 7, 14, kAdmin, kNormal, 0, 92},     // ZQDeleteSupportFile
    {72, 7, 14, kFast, kNormal, 0, 93},      // ZQGetListSupportFile
    {73, 7, 14, kList, kLong, 0, 94},        // ZQGetListEntryWithFields
    {74, 7, 14, kFast, kNormal, 0, 93},      // ZQGetContainer
    {75, 7, 14, kAdmin, kExtraLong, 0, 92},  // ZQSetContainer
    {76, 7, 14, kAdmin, kExtraLong, 0, 92},  // ZQCreateContainer
    {77, 7, 14, kAdmin, kExtraLong, 0, 92},  // ZQDeleteContainer
    {78, 7, 14, kFast, kNormal, 0, 93},      // ZQGetListContainer
    {79, 7, 14, kFast, kNormal, 0, 93},      // ZQGetMultipleFields
    {80, 7, 14, kFast, kLong, 0, 93},        // ZQGetEntryBLOB
    {81, 7, 14, kFast, kNormal, 0, 92},      // ZQCancel
    {82, 8, 14, kList, kLong, 0, 93},        // ZQGetMultipleActiveLinks
    {83, 8, 14, kFast, kNormal, 0, 93},      // ZQGetMultipleFilters
    {84, 8, 14, kFast, kNormal, 0, 93},      // ZQGetMultipleEscalations
    {85, 8, 14, kFast, kNormal, 0, 93},      // ZQGetMultipleContainers
    {86, 8, 14, kFast, kNormal, 0, 93},      // ZQGetMultipleSchemas
    {87, 8, 14, kFast, kNormal, 0, 93},      // ZQGetMultipleCharMenus
    {88, 8, 14, kFast, kNormal, 0, 93},      // ZQGetMultipleVUIs
    // 90 to 93 run in a private context and carry no request header.
    {90, 7, 14, kFast, kNormal, 0, 92},  // ZQCreateUser
    {91, 7, 14, kFast, kNormal, 0, 92},  // ZQDeleteUser
    {92, 7, 14, kFast, kNormal, 0, 92},  // ZQCreateGroup
    {93, 7, 14, kFast, kNormal, 0, 92},  // ZQDeleteGroup
    {94, 7, 14, kFast, kNormal, 0, 93},  // ZQValidateFormCache
    // The key exchange has no call of its own: it runs on the queue of the
    // binding it is for. Read like the first-contact settings request: fast
    // queue, normal time-out, 93.
    {95, 8, 14, kFast, kNormal, 0, 93},   // key exchange, hello
    {96, 8, 14, kFast, kNormal, 0, 93},   // key exchange, key transfer
    {97, 8, 14, kFast, kNormal, 0, 93},   // encryption information
    {99, 8, 14, kList, kNormal, 0, 93},   // ZQGetLocalizedValue
    {100, 7, 14, kFast, kNormal, 0, 93},  // ZQSignal
    // A version-7 server gets it emulated through 11; the protocol has it from 8.
    {101, 8, 14, kFast, kNormal, 0, 93},       // ZQGetListSchemaWithAlias
    {102, 8, 14, kFast, kNormal, 0, 93},       // ZQRegisterForAlerts
    {103, 8, 14, kFast, kNormal, 0, 93},       // ZQDeregisterForAlerts
    {104, 8, 14, kFast, kNormal, 0, 93},       // ZQGetListAlertUser
    {106, 8, 14, kList, kExtraLong, 0, 93},    // ZQGetListExtSchemaCandidates
    {107, 8, 14, kList, kExtraLong, 0, 93},    // ZQGetMultipleExtFieldCandidates
    {108, 8, 14, kFast, kNormal, 0, 93},       // ZQExpandSSMenu
    {114, 8, 14, kList, kNormal, 0, 93},       // ZQGetMultipleLocalizedValues
    {115, 8, 14, kFast, kNormal, 0, 93},       // ZQGetAlertCount
    {116, 8, 14, kList, kLong, 0, 93},         // ZQGetListSQLForActiveLink
    {117, 8, 14, kList, kNormal, 0, 92},       // ZQExecuteProcessForActiveLink
    {118, 8, 14, kFast, kNormal, 0, 93},       // data-dictionary menu (ZQExpandCharMenu)
    {119, 9, 14, kFast, kNormal, 0, 93},       // ZQXMLCreateEntry
    {120, 9, 14, kFast, kNormal, 0, 93},       // ZQXMLSetEntry
    {121, 9, 14, kFast, kLong, 0, 93},         // ZQXMLGetEntry
    {122, 9, 14, kFast, kNormal, 0, 93},       // ZQXMLDeleteEntry
    {123, 9, 14, kFast, kNormal, 0, 93},       // ZQGetMultipleCurrencyRatioSets
    {124, 10, 14, kAdmin, kExtraLong, 0, 92},  // ZQUnImport (no 28800 s floor)
    {125, 10, 14, kFast, kNormal, 0, 93},      // ZQGetMultipleEntryPoints
    {126, 10, 14, kFast, kNormal, 0, 93},      // ZQGetListRole
    {127, 10, 14, kFast, kNormal, 0, 93},      // ZQGetListApplicationState
    {128, 10, 14, kFast, kNormal, 0, 93},      // ZQGetApplicationState
    // No queue is named for it: a change, so the admin queue, normal
    // time-out and 92 that changes of this family use.
    {129, 10, 14, kAdmin, kNormal, 0, 92},     // ZQSetApplicationState
    {132, 10, 14, kFast, kNormal, 0, 93},      // ordinal 845
    {133, 10, 14, kFast, kNormal, 0, 93},      // ordinal 846
    {134, 10, 14, kList, kLong, 0, 92},        // ZQEndBulkEntryTransaction
    {135, 11, 14, kList, kLong, 0, 94},        // ZQGetListEntryBlocks
    {136, 12, 14, kFast, kNormal, 0, 93},      // ZQServiceEntry
    {151, 13, 14, kAdmin, kExtraLong, 0, 92},  // ZQCreateMultipleFields
    {152, 13, 14, kAdmin, kExtraLong, 0, 92},  // ZQSetMultipleFields
    {153, 13, 14, kFast, kNormal, 0, 93},      // ZQXMLServiceEntry
    {154, 14, 14, kFast, kNormal, 0, 93},      // ZQGetListImage
    {155, 14, 14, kFast, kNormal, 0, 93},      // ZQGetImage
    {156, 14, 14, kAdmin, kLong, 0, 92},       // ZQSetImage
    {157, 14, 14, kAdmin, kLong, 0, 92},       // ZQCreateImage
    {158, 14, 14, kAdmin, kNormal, 0, 92},     // ZQDeleteImage
    // The workflow debugger waits up to a day for a breakpoint.
    {159, 14, 14, kAdmin, kFixed, 86400, 93},  // ZQWfdExecute
    {160, 14, 14, kAdmin, kFixed, 86400, 93},  // ZQWfdGetCurrentLocation
    {161, 14, 14, kAdmin, kFixed, 86400, 93},  // ZQWfdGetFieldValues
    {162, 14, 14, kAdmin, kFixed, 86400, 93},  // ZQWfdSetFieldValues
    // A read, yet it reports 92 on a time-out: kept as the call names it.
    {163, 14, 14, kFast, kNormal, 0, 92},      // ZQGetObjectChangeTimes
    {164, 14, 14, kAdmin, kFixed, 86400, 93},  // ZQWfdGetDebugMode
    {165, 14, 14, kAdmin, kFixed, 86400, 93},  // ZQWfdSetDebugMode
    {166, 14, 14, kList, kNormal, 0, 93},      // ZQGetMultipleImages
    {167, 14, 14, kAdmin, kFixed, 86400, 93},  // ZQWfdGetFilterQual
    {168, 14, 14, kAdmin, kFixed, 86400, 93},  // ZQWfdSetQualifierResult
    {169, 14, 14, kAdmin, kFixed, 86400, 93},  // ZQRunEscalation
    {170, 14, 14, kAdmin, kFixed, 86400, 93},  // ZQWfdTerminateAPI
    {171, 14, 14, kList, kLong, 0, 94},        // ZQGetListEntryWithMultiSchemaFields
    {172, 14, 14, kFast, kNormal, 0, 93},      // ZQBeginClientManagedTransaction
    {173, 14, 14, kFast, kNormal, 0, 93},      // ZQEndClientManagedTransaction
    {174, 14, 14, kAdmin, kFixed, 86400, 93},  // ZQWfdGetKeywordValue
    {175, 14, 14, kAdmin, kFixed, 86400, 93},  // ZQWfdSetBreakpoint
    {176, 14, 14, kAdmin, kFixed, 86400, 93},  // ZQWfdClearBreakpoint
    {177, 14, 14, kAdmin, kFixed, 86400, 93},  // ZQWfdListBreakpoints
    {178, 14, 14, kAdmin, kFixed, 86400, 93},  // ZQWfdClearAllBreakpoints
    {179, 14, 14, kAdmin, kFixed, 86400, 93},  // ZQWfdGetUserContext
    {181, 14, 14, kList, kLong, 0, 94},        // ZQGetOneEntryWithFields
    // No time-out message is named for it; a read, so 93.
    {182, 14, 14, kFast, kFixed, 28800, 93},  // ZQGetCacheEvent
};

// Numbers the library never calls.
// clang-format off
const uint32_t kAbsent[] = {
    0, 89, 105, 183,                                    // never used
    26, 27, 28, 29, 30, 31,                             // versions 7 to 9 only
    58, 70, 98, 109, 110, 111, 112, 113, 130, 131,      // no call uses them
    137, 138, 139, 140, 141, 142, 143, 144, 145, 146,   // no call uses them
    147, 148, 149, 150, 180,                            // no call uses them
    0x8001,       // the encrypted form of procedure 1, not a procedure of its own
    0xffffffffu,  // garbage
};
// clang-format on

// The version table of the protocol: what each version adds to the one before.
struct Span {
  uint32_t first, last;
};
struct VersionChange {
  int version;
  std::vector<Span> adds;
  std::vector<Span> drops;
};
const VersionChange kVersionTable[] = {
    {7, {{1, 81}, {90, 94}, {100, 100}}, {}},  // 1 to 100 without 82 to 89 and 95 to 99
    {8, {{82, 88}, {95, 99}, {101, 104}, {106, 108}, {114, 118}}, {}},
    {9, {{119, 123}}, {}},
    {10, {{124, 129}, {132, 134}}, {{26, 31}}},
    {11, {{135, 135}}, {}},
    {12, {{136, 150}}, {}},
    {13, {{151, 153}}, {}},
    {14, {{154, 182}}, {}},
};

bool inSpans(const std::vector<Span>& spans, uint32_t number) {
  for (const Span& s : spans) {
    if (number >= s.first && number <= s.last) return true;
  }
  return false;
}

// Replays the version table up to `version`.
bool existsInVersion(int version, uint32_t number) {
  bool exists = false;
  for (const VersionChange& change : kVersionTable) {
    if (change.version > version) break;
    if (inSpans(change.adds, number)) exists = true;
    if (inSpans(change.drops, number)) exists = false;
  }
  return exists;
}

TEST(ProcedureTable, EveryProcedureHasItsVersionsQueueAndTimeout) {
  for (const Row& row : kExpected) {
    SCOPED_TRACE(testing::Message() << "procedure " << row.number);
    const Procedure* p = findProcedure(row.number);
    ASSERT_NE(p, nullptr);
    EXPECT_EQ(p->number, row.number);
    EXPECT_EQ(p->firstVersion, row.firstVersion);
    EXPECT_EQ(p->lastVersion, row.lastVersion);
    EXPECT_EQ(p->queue, row.queue);
    EXPECT_EQ(p->timeout.kind, row.timeout);
    if (row.timeout == kFixed || row.timeout == kExtraLongAtLeast) {
      EXPECT_EQ(p->timeout.seconds, row.seconds);
    }
    EXPECT_EQ(p->timeoutMessage, row.message);
    ASSERT_NE(p->name, nullptr);  // traces print it
    EXPECT_NE(p->name[0], '\0');
  }
}

TEST(ProcedureTable, HoldsExactlyTheCalledProceduresInAscendingOrder) {
  ASSERT_EQ(std::size(kExpected), 149u);  // the hand-written rows themselves
  std::set<uint32_t> expected;
  for (const Row& row : kExpected) expected.insert(row.number);
  ASSERT_EQ(expected.size(), 149u);

  auto all = procedures();
  ASSERT_EQ(all.size(), 149u);
  for (size_t i = 0; i < all.size(); ++i) {
    EXPECT_EQ(expected.count(all[i].number), 1u) << "unexpected procedure " << all[i].number;
    if (i > 0) {
      EXPECT_LT(all[i - 1].number, all[i].number) << "at index " << i;
    }
  }
}

TEST(ProcedureTable, UnusedNumbersAreAbsent) {
  for (uint32_t number : kAbsent) {
    EXPECT_EQ(findProcedure(number), nullptr) << "procedure " << number;
  }
}

// A procedure of version N exists in every later version, and its range is
// the one the version table gives it.
TEST(ProcedureTable, VersionRangesFollowTheVersionTable) {
  for (const Procedure& p : procedures()) {
    SCOPED_TRACE(testing::Message() << "procedure " << p.number);
    EXPECT_GE(p.firstVersion, kOldest);
    EXPECT_EQ(p.lastVersion, kNewest);
    for (int version = kOldest; version <= kNewest; ++version) {
      bool inRange = p.firstVersion <= version && version <= p.lastVersion;
      EXPECT_EQ(inRange, existsInVersion(version, p.number)) << "version " << version;
    }
  }
}

}  // namespace
