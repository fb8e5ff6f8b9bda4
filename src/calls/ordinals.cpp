// Every function and datum the library exports by ordinal, in one table, and
// ZQGetOrdinal over it. The copies' rows come from the exported type list.
#include <span>

#include "calls/exported_types.h"
#include "calls/session.h"
#include "zqapi/zq_admin.h"
#include "zqapi/zqapi.h"

namespace {

struct OrdinalEntry {
  unsigned ordinal;
  void* address;
};

#define ZQ_ORDINAL(n, fn)           \
  OrdinalEntry {                    \
    n, reinterpret_cast<void*>(&fn) \
  }

#define ZQ_COPY_ROW_generated(Name, Ordinal) ZQ_ORDINAL(Ordinal, ZQCopy##Name),
#define ZQ_COPY_ROW_own(Name, Ordinal) ZQ_ORDINAL(Ordinal, ZQCopy##Name),
#define ZQ_COPY_ROW_none(Name, Ordinal)
#define ZQ_COPY_ROW(Name, Free, Copy, Ordinal) ZQ_COPY_ROW_##Copy(Name, Ordinal)

// Built on first use, so that a look-up from another library's static
// initializer finds it complete.
std::span<const OrdinalEntry> ordinals() {
  // clang-format off
  static const OrdinalEntry table[] = {
    // Message catalog and status lists.
    ZQ_ORDINAL(804, ZQGetCatalogString),
    ZQ_ORDINAL(805, ZQGetMessageText),
    ZQ_ORDINAL(806, ZQAddStatus),
    ZQ_ORDINAL(807, ZQGetErrnoText),
    ZQ_ORDINAL(808, ZQFormatVersionString),
    ZQ_ORDINAL(821, ZQMessageCatalogHandle),
    ZQ_ORDINAL(826, ZQIsReservedRangeMessage),
    ZQ_ORDINAL(827, ZQAddStatusNumber),
    ZQ_ORDINAL(841, ZQMergeStatusLists),
    ZQ_ORDINAL(854, ZQOpenMessageCatalog),
    ZQ_ORDINAL(856, ZQGetSystemErrorText),
    // The library heap.
    ZQ_ORDINAL(850, ZQAlloc),
    ZQ_ORDINAL(851, ZQRealloc),
    ZQ_ORDINAL(852, ZQFree),
    ZQ_ORDINAL(853, ZQCalloc),
    // Dates and times.
    ZQ_ORDINAL(809, ZQFormatTimestampDate),
    ZQ_ORDINAL(810, ZQFormatTimestamp),
    ZQ_ORDINAL(811, ZQFormatTimestampTime),
    ZQ_ORDINAL(812, ZQParseTimestamp),
    ZQ_ORDINAL(830, ZQDateDifference),
    ZQ_ORDINAL(831, ZQDateAdd),
    ZQ_ORDINAL(832, ZQIsValidDate),
    ZQ_ORDINAL(833, ZQGetDateName),
    ZQ_ORDINAL(834, ZQGetDatePart),
    ZQ_ORDINAL(837, ZQParseDate),
    ZQ_ORDINAL(838, ZQParseTimeOfDay),
    ZQ_ORDINAL(839, ZQFormatDate),
    // Base64.
    ZQ_ORDINAL(828, ZQBase64Encode),
    ZQ_ORDINAL(829, ZQBase64Decode),
    // The client identity.
    ZQ_ORDINAL(835, ZQGetClientIdentity),
    // Administration helpers.
    ZQ_ORDINAL(311, ZQEndUserSessions),
    ZQ_ORDINAL(312, ZQGetFormFieldNames),
    ZQ_ORDINAL(840, ZQGetServerEntryLimit),
    ZQ_ORDINAL(845, ZQGetFormEntryIds),
    ZQ_ORDINAL(846, ZQGetOwnEntryIds),
    // One value in the qualification text form.
    ZQ_ORDINAL(847, ZQEncodeValueText),
    ZQ_ORDINAL(848, ZQDecodeValueText),
    // Reading XML documents.
    ZQ_ORDINAL(842, ZQGetComplexEntryCreateFromXML),
    ZQ_ORDINAL(843, ZQGetLockBlockFromXML),
    ZQ_ORDINAL(844, ZQGetSchemaDataFromXML),
    // Keyword expansion of the qualification language.
    ZQ_ORDINAL(849, ZQExpandKeywords),
    // The copies: one per copied type, and the rows beside the list.
    ZQ_EXPORTED_TYPES(ZQ_COPY_ROW)
    ZQ_ORDINAL(1004, ZQCopyPermissionList),
    ZQ_ORDINAL(1020, ZQCopyInternalIdListWithSpare),
    ZQ_ORDINAL(1052, ZQCopyEnumItemList),
  };
  // clang-format on
  return table;
}

}  // namespace

extern "C" void* ZQGetOrdinal(unsigned ordinal) {
  for (const OrdinalEntry& e : ordinals())
    if (e.ordinal == ordinal) return e.address;
  return nullptr;
}
