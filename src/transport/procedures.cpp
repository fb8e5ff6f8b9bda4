#include "transport/procedures.h"

#include <algorithm>

#include "transport/describe_entries.h"
#include "transport/describe_queries.h"
#include "transport/describe_records.h"

namespace zq::transport {
namespace {

template <class R>
RequestHeader* headerOf(void* record) {
  return &static_cast<R*>(record)->header;
}

template <class R>
ZQStatusList* statusOf(void* record) {
  return &static_cast<R*>(record)->status;
}

template <class R>
void releaseRecord(void* record) {
  model::release(*static_cast<R*>(record));
}

template <class R>
size_t sizeOf(void* record, int version) {
  return model::encodedSize(*static_cast<R*>(record), version).value_or(0);
}

template <class Args, class Reply>
constexpr Procedure entry(uint32_t number, int first, int last, uint32_t queue, const char* name) {
  return Procedure{number,
                   first,
                   last,
                   reinterpret_cast<platform::XdrProc>(model::xdrProc<Args>()),
                   reinterpret_cast<platform::XdrProc>(model::xdrProc<Reply>()),
                   sizeof(Args),
                   sizeof(Reply),
                   &statusOf<Reply>,
                   &headerOf<Args>,
                   &headerOf<Reply>,
                   &releaseRecord<Args>,
                   &releaseRecord<Reply>,
                   &sizeOf<Args>,
                   queue,
                   name};
}

// Sorted by number.
const Procedure kProcedures[] = {
    entry<GetEntryArgs, GetEntryReply>(1, 7, 14, kQueueFast, "get entry"),
    entry<SetEntryArgs, StatusReply>(2, 7, 14, kQueueFast, "set entry"),
    entry<CreateEntryArgs, EntryIdReply>(3, 7, 14, kQueueFast, "create entry"),
    entry<DeleteEntryArgs, StatusReply>(4, 7, 14, kQueueFast, "delete entry"),
    entry<ListEntryArgs, ListEntryReply>(5, 7, 14, kQueueList, "get list entry"),
    entry<StatisticsArgs, StatisticsReply>(6, 7, 14, kQueueList, "get entry statistics"),
    entry<ServerInfoArgs, ServerInfoReply>(36, 7, 14, kQueueFast, "get server info"),
    entry<MergeEntryArgs, EntryIdReply>(37, 7, 14, kQueueFast, "merge entry"),
    entry<HeaderOnlyArgs, StatusReply>(47, 7, 14, kQueueFast, "end session"),
    entry<MultipleEntriesArgs, MultipleEntriesReply>(67, 7, 14, kQueueFast, "get multiple entries"),
    entry<ListEntryArgs, ListEntryWithFieldsReply>(73, 7, 14, kQueueList,
                                                   "get list entry with fields"),
    entry<EntryBlobArgs, EntryBlobReply>(80, 7, 14, kQueueFast, "get entry blob"),
    // Procedures 95 to 97 exist from version 8 on.
    entry<KeyHelloArgs, KeyHelloReply>(95, 8, 14, kQueueFast, "key exchange hello"),
    entry<KeyTransferArgs, KeyTransferReply>(96, 8, 14, kQueueFast, "key exchange transfer"),
    entry<ServerInfoArgs, ServerInfoReply>(97, 8, 14, kQueueFast, "encryption information"),
    entry<BulkEntryArgs, BulkEntryReply>(134, 10, 14, kQueueList, "end bulk entry transaction"),
    entry<ListEntryBlocksArgs, ListEntryBlocksReply>(135, 11, 14, kQueueList,
                                                     "get list entry blocks"),
    entry<ServiceEntryArgs, GetEntryReply>(136, 12, 14, kQueueFast, "service entry"),
    entry<MultiSchemaArgs, TextSliceReply>(171, 14, 14, kQueueList,
                                           "get list entry with multi-form fields"),
    entry<HeaderOnlyArgs, BeginTransactionReply>(172, 14, 14, kQueueFast,
                                                  "begin client-managed transaction"),
    entry<EndTransactionArgs, StatusReply>(173, 14, 14, kQueueFast,
                                           "end client-managed transaction"),
    entry<OneEntryArgs, OneEntryReply>(181, 14, 14, kQueueList, "get one entry with fields"),
};

}  // namespace

std::span<const Procedure> procedures() { return kProcedures; }

const Procedure* findProcedure(uint32_t number) {
  auto it = std::lower_bound(std::begin(kProcedures), std::end(kProcedures), number,
                             [](const Procedure& p, uint32_t n) { return p.number < n; });
  return it != std::end(kProcedures) && it->number == number ? it : nullptr;
}

}  // namespace zq::transport
