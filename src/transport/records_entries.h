// Argument and reply records of the entry and transaction procedures
// (1, 2, 3, 4, 37, 119 to 122, 134, 136, 153, 172, 173). Form names are borrowed in requests
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

// Procedures 119 to 122 and 153: the XML entry calls carry N documents as
// unbounded strings (an empty one for null).
template <uint32_t N>
struct XmlDocumentsArgs {
  static constexpr uint32_t kCount = N;
  RequestHeader header;
  char* documents[N];
};
using XmlCreateEntryArgs = XmlDocumentsArgs<4>;
using XmlSetEntryArgs = XmlDocumentsArgs<6>;
using XmlGetEntryArgs = XmlDocumentsArgs<4>;
using XmlServiceEntryArgs = XmlDocumentsArgs<6>;
using XmlDeleteEntryArgs = XmlDocumentsArgs<5>;
// Procedures 119 to 121 and 153 answer with a document.
struct XmlDocumentReply {
  RequestHeader header;
  char* outputDoc;
  ZQStatusList status;
};

// The number of documents an XML bulk kind carries (0 for the others).
constexpr uint32_t xmlDocumentCount(uint32_t kind) {
  return kind == ZQ_BULK_ENTRY_XML_CREATE   ? 4
         : kind == ZQ_BULK_ENTRY_XML_SET    ? 6
         : kind == ZQ_BULK_ENTRY_XML_DELETE ? 5
                                            : 0;
}

// One queued operation of a bulk transaction: its kind, the request header
// the binding built for it, and the arguments of its kind.
struct BulkOperation {
  uint32_t kind;  // ZQ_BULK_ENTRY_CREATE ... ZQ_BULK_ENTRY_XML_DELETE
  RequestHeader header;
  char* form;               // all but the XML kinds
  ZQEntryIdList entryId;    // set, delete
  ZQFieldValueList values;  // create, set, merge
  ZQTimestamp getTime;      // set
  uint32_t option;          // set, delete: option; merge: merge type
  char* documents[6];       // the XML kinds: their documents, in call order
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
