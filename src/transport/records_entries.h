// Argument and reply records of the entry and transaction procedures
// (1, 2, 3, 4, 37, 134, 136, 172, 173). Form names are borrowed in requests
// the client builds and owned in decoded records.
#pragma once

#include "transport/records.h"
#include "zqapi/zq_entries.h"

namespace zq::transport {

// Procedure 1: get entry.
struct GetEntryArgs {
  RequestHeader header;
  char* form;
  ZQEntryIdList entryId;
  ZQInternalIdList fieldIds;
  uint32_t word;
};
struct GetEntryReply {
  RequestHeader header;
  ZQFieldValueList values;
  ZQStatusList status;
};

// Procedure 2: set entry.
struct SetEntryArgs {
  RequestHeader header;
  char* form;
  ZQEntryIdList entryId;
  ZQFieldValueList values;
  ZQTimestamp getTime;
  uint32_t option;
};

// Procedure 3: create entry.
struct CreateEntryArgs {
  RequestHeader header;
  char* form;
  ZQFieldValueList values;
};
// Procedures 3 and 37 answer with the new entry id.
struct EntryIdReply {
  RequestHeader header;
  ZQEntryIdType entryId;
  ZQStatusList status;
};

// Procedure 4: delete entry.
struct DeleteEntryArgs {
  RequestHeader header;
  char* form;
  ZQEntryIdList entryId;
  uint32_t option;
};

// Procedure 37: merge entry.
struct MergeEntryArgs {
  RequestHeader header;
  char* form;
  ZQFieldValueList values;
  uint32_t mergeType;
};

// Procedure 136: service entry (answered with GetEntryReply).
struct ServiceEntryArgs {
  RequestHeader header;
  char* form;
  ZQEntryIdList entryId;
  ZQFieldValueList values;
  ZQInternalIdList outputIds;
};

// One queued operation of a bulk transaction: its kind, the request header
// the binding built for it, and the arguments of its kind.
struct BulkOperation {
  uint32_t kind;  // ZQ_BULK_ENTRY_CREATE ... ZQ_BULK_ENTRY_MERGE
  RequestHeader header;
  char* form;
  ZQEntryIdList entryId;    // set, delete
  ZQFieldValueList values;  // create, set, merge
  ZQTimestamp getTime;      // set
  uint32_t option;          // set, delete: option; merge: merge type
};

// Procedure 134: end of a bulk transaction.
struct BulkEntryArgs {
  RequestHeader header;
  uint32_t count;
  BulkOperation* operations;
};
struct BulkEntryReply {
  RequestHeader header;
  ZQBulkEntryReturnList results;
  ZQStatusList status;
};

// Procedure 172 answers with the transaction handle as bytes.
struct BeginTransactionReply {
  RequestHeader header;
  uint32_t handleLength;
  unsigned char* handle;
  ZQStatusList status;
};

// Procedure 173.
struct EndTransactionArgs {
  RequestHeader header;
  uint32_t action;
};

}  // namespace zq::transport
