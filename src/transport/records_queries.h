// Argument and reply records of the query procedures: 5, 6, 67, 73, 80,
// 135, 171 and 181. Chunked replies carry their chunk token in header word
// E and their last-chunk flag in the header byte; requests carry the
// client's response size in word D.
#pragma once

#include <cstdint>

#include "transport/records.h"
#include "zqapi/zq_defs.h"
#include "zqapi/zq_qual.h"

namespace zq::transport {

// Procedures 5 (entry list) and 73 (entry list with field values). Names
// are borrowed from the caller in a request and owned once decoded; a
// missing qualifier travels as operation 0.
struct ListEntryArgs {
  RequestHeader header;
  char* form;
  ZQQualifierStruct qualifier;
  ZQEntryListFieldList fields;
  ZQSortList sort;
  uint32_t firstRetrieve;
  uint32_t maxRetrieve;
  ZQBoolean useLocale;
  uint32_t option;  // reserved, 0
};

struct ListEntryReply {
  RequestHeader header;
  ZQEntryListList entries;
  uint32_t matches;
  ZQStatusList status;
};

// Procedure 73. From version 10 on the result is a compressed entry list
// text in slices; older servers send the entries themselves, possibly with
// one entry split between two replies (the context's result-translation
// switch tells which form a reply was read in).
struct ListEntryWithFieldsReply {
  RequestHeader header;
  uint32_t textLength;
  unsigned char* text;
  ZQEntryListFieldValueList entries;
  uint32_t matches;
  ZQStatusList status;
};

// Procedure 181: one entry with field values, no retrieval window.
struct OneEntryArgs {
  RequestHeader header;
  char* form;
  ZQQualifierStruct qualifier;
  ZQEntryListFieldList fields;
  ZQSortList sort;
  ZQBoolean useLocale;
};

struct OneEntryReply {
  RequestHeader header;
  ZQEntryListFieldValueList entries;
  uint32_t matches;
  ZQStatusList status;
};

// Procedure 135: the result as compressed blocks.
struct ListEntryBlocksArgs {
  RequestHeader header;
  char* form;
  ZQQualifierStruct qualifier;
  ZQEntryListFieldList fields;
  ZQSortList sort;
  uint32_t rowsPerBlock;
  uint32_t firstRetrieve;
  uint32_t maxRetrieve;
  ZQBoolean useLocale;
};

struct ListEntryBlocksReply {
  RequestHeader header;
  ZQEntryBlockList blocks;
  uint32_t returnedRows;
  uint32_t matches;
  ZQStatusList status;
};

// Procedure 6: statistics; a missing target travels as tag 0.
struct StatisticsArgs {
  RequestHeader header;
  char* form;
  ZQQualifierStruct qualifier;
  ZQFieldValueOrArithStruct target;
  uint32_t statistic;
  ZQInternalIdList groupBy;
};

struct StatisticsReply {
  RequestHeader header;
  ZQStatisticsResultList results;
  ZQStatusList status;
};

// Procedure 67: several entries by id. Every reply carries a slice of the
// flat sequence of values (the last value of one reply may continue in the
// first value of the next); the exists flags come with the first reply.
struct MultipleEntriesArgs {
  RequestHeader header;
  char* form;
  ZQEntryIdListList ids;
  ZQInternalIdList fields;
};

struct MultipleEntriesReply {
  RequestHeader header;
  ZQBooleanList exists;
  ZQFieldValueListList values;
  uint32_t valueCount;      // values in this reply
  uint32_t valuesPerEntry;  // the same in every reply
  ZQStatusList status;
};

// Procedure 80: the content of an attachment field in slices. The first
// slice starts with two big-endian words: compressed (non-zero) and the
// total length of the content.
struct EntryBlobArgs {
  RequestHeader header;
  char* form;
  ZQEntryIdList id;
  ZQInternalId fieldId;
};

struct EntryBlobReply {
  RequestHeader header;
  uint32_t length;
  unsigned char* bytes;
  ZQStatusList status;
};

// Procedure 171: a query over several forms (version 14 only); the reply
// is a compressed entry list text in slices, as procedure 73's.
struct MultiSchemaArgs {
  RequestHeader header;
  ZQMultiSchemaQueryFromList from;
  ZQMultiSchemaFieldIdList fields;
  ZQMultiSchemaQualifierStruct qualifier;
  ZQMultiSchemaSortList sort;
  uint32_t firstRetrieve;
  uint32_t maxRetrieve;
  ZQBoolean useLocale;
};

struct TextSliceReply {
  RequestHeader header;
  uint32_t textLength;
  unsigned char* text;
  ZQStatusList status;
};

}  // namespace zq::transport
