// Query execution of the reference server: qualifications evaluated in C++
// over the rows of a form, sorting, retrieval windows and statistics.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "entry_store.h"
#include "zqapi/zq_defs.h"
#include "zqapi/zq_qual.h"

namespace zqserver {

// One entry with its values (owned; released by the destructor).
struct Row {
  std::string id;
  ZQFieldValueList values{0, nullptr};
  Row() = default;
  Row(Row&& other) noexcept;
  Row& operator=(Row&& other) noexcept;
  Row(const Row&) = delete;
  Row& operator=(const Row&) = delete;
  ~Row();
  // The value of a field, or null when the entry has none.
  const ZQValueStruct* find(ZQInternalId field) const;
};

// Whether a join qualification accepts a pair of member entries: fields of
// tag ZQ_FIELD_DB are member B's, the others member A's. No qualification
// accepts every pair.
bool joinMatches(const ZQQualifierStruct* qualifier, const Row& a, const Row* b);

// A failure to report: message number and appended text.
struct QueryError {
  int32_t message = 0;
  std::string appended;
};

// Whether one entry matches a qualification (none: it does); with a form,
// a field the form lacks sets error.
bool rowMatches(const ZQQualifierStruct* qualifier, const Row& row, const FormDef* form,
                QueryError& error);

// The matching rows of a form, sorted, with the number of matches before
// the window was applied. firstRetrieve skips, maxRetrieve 0 means all.
struct QueryResult {
  std::vector<Row> rows;
  uint32_t matches = 0;
  FormDef form;
};

bool runQuery(EntryStore& store, const std::string& form, const ZQQualifierStruct* qualifier,
              const ZQSortList* sort, uint32_t firstRetrieve, uint32_t maxRetrieve,
              QueryResult& out, QueryError& error);

// Statistics 1 count, 2 sum, 3 average, 4 minimum, 5 maximum, per group of
// the group-by fields (one result without grouping).
bool runStatistics(EntryStore& store, const std::string& form,
                   const ZQQualifierStruct* qualifier, const ZQFieldValueOrArithStruct* target,
                   uint32_t statistic, const ZQInternalIdList* groupBy,
                   ZQStatisticsResultList& out, QueryError& error);

// A join over several forms (procedure 171): rows of values by alias.
struct JoinedRow {
  std::vector<const Row*> parts;  // one per source, null for a missing outer side
};
struct JoinResult {
  std::vector<std::vector<Row>> sources;  // rows of each source
  std::vector<std::string> aliases;
  std::vector<JoinedRow> rows;
  uint32_t matches = 0;
};
bool runJoin(EntryStore& store, const ZQMultiSchemaQueryFromList& from,
             const ZQMultiSchemaQualifierStruct* qualifier, const ZQMultiSchemaSortList* sort,
             uint32_t firstRetrieve, uint32_t maxRetrieve, JoinResult& out, QueryError& error);
// The value of an aliased field in a joined row (null when absent).
const ZQValueStruct* joinedValue(const JoinResult& r, const JoinedRow& row,
                                 const ZQMultiSchemaFieldIdStruct& field);

// Server messages of queries.
using zq::kMsgQueryNotSupported;

}  // namespace zqserver
