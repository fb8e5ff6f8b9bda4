// Every remote procedure of the protocol, in number order:
//   X(Name, number, first version, last version, queue, time-out, time-out message, Args, Reply)
// queue: the queue its calls use (Admin, Fast, List); time-out: the class of
// the session's time-outs (Normal, Long, ExtraLong) or Fixed(seconds);
// Args, Reply: its records, void until a call describes them.
#pragma once

#define ZQ_PROCEDURES(X)                                                                     \
  X(GetEntry, 1, 7, 14, Fast, Normal, kMsgTimeoutRetrieve, GetEntryArgs, GetEntryReply)      \
  X(SetEntry, 2, 7, 14, Fast, Normal, kMsgTimeoutChange, SetEntryArgs, StatusReply)          \
  X(CreateEntry, 3, 7, 14, Fast, Normal, kMsgTimeoutChange, CreateEntryArgs, EntryIdReply)   \
  X(DeleteEntry, 4, 7, 14, Fast, Normal, kMsgTimeoutChange, DeleteEntryArgs, StatusReply)    \
  X(GetListEntry, 5, 7, 14, List, Long, kMsgTimeoutQuery, ListEntryArgs, ListEntryReply)     \
  X(GetEntryStatistics, 6, 7, 14, List, Long, kMsgTimeoutQuery, StatisticsArgs,              \
    StatisticsReply)                                                                         \
  X(GetServerInfo, 36, 7, 14, Fast, Normal, kMsgTimeoutRetrieve, ServerInfoArgs,             \
    ServerInfoReply)                                                                         \
  X(MergeEntry, 37, 7, 14, Fast, Normal, kMsgTimeoutChange, MergeEntryArgs, EntryIdReply)    \
  X(EndSession, 47, 7, 14, Fast, Fixed(1), kMsgTimeoutChange, HeaderOnlyArgs, StatusReply)   \
  X(GetMultipleEntries, 67, 7, 14, Fast, Normal, kMsgTimeoutRetrieve, MultipleEntriesArgs,   \
    MultipleEntriesReply)                                                                    \
  X(GetListEntryWithFields, 73, 7, 14, List, Long, kMsgTimeoutQuery, ListEntryArgs,          \
    ListEntryWithFieldsReply)                                                                \
  X(GetEntryBLOB, 80, 7, 14, Fast, Long, kMsgTimeoutRetrieve, EntryBlobArgs, EntryBlobReply) \
  X(KeyHello, 95, 8, 14, Fast, Normal, kMsgTimeoutRetrieve, KeyHelloArgs, KeyHelloReply)     \
  X(KeyTransfer, 96, 8, 14, Fast, Normal, kMsgTimeoutRetrieve, KeyTransferArgs,              \
    KeyTransferReply)                                                                        \
  X(EncryptionInfo, 97, 8, 14, Fast, Normal, kMsgTimeoutRetrieve, ServerInfoArgs,            \
    ServerInfoReply)                                                                         \
  X(EndBulkEntryTransaction, 134, 10, 14, List, Long, kMsgTimeoutChange, BulkEntryArgs,      \
    BulkEntryReply)                                                                          \
  X(GetListEntryBlocks, 135, 11, 14, List, Long, kMsgTimeoutQuery, ListEntryBlocksArgs,      \
    ListEntryBlocksReply)                                                                    \
  X(ServiceEntry, 136, 12, 14, Fast, Normal, kMsgTimeoutRetrieve, ServiceEntryArgs,          \
    GetEntryReply)                                                                           \
  X(GetListEntryWithMultiSchemaFields, 171, 14, 14, List, Long, kMsgTimeoutQuery,            \
    MultiSchemaArgs, TextSliceReply)                                                         \
  X(BeginClientManagedTransaction, 172, 14, 14, Fast, Normal, kMsgTimeoutRetrieve,           \
    HeaderOnlyArgs, BeginTransactionReply)                                                   \
  X(EndClientManagedTransaction, 173, 14, 14, Fast, Normal, kMsgTimeoutRetrieve,             \
    EndTransactionArgs, StatusReply)                                                         \
  X(GetOneEntryWithFields, 181, 14, 14, List, Long, kMsgTimeoutQuery, OneEntryArgs,          \
    OneEntryReply)
