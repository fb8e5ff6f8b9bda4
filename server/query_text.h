// Writers of the query results the server sends: the entry list text (and
// its multi-form variant), and the slicing of results into replies no
// larger than the client's response size.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "query_engine.h"

namespace zqserver {

// Appends one value in its entry list form: "type\length\" bytes "\".
void appendValueText(std::string& out, const ZQValueStruct* value);

// The entry list text of rows for the given columns.
std::string entryListText(const QueryResult& result, const std::vector<ZQInternalId>& columns);
std::string multiSchemaText(const JoinResult& result,
                            const std::vector<ZQMultiSchemaFieldIdStruct>& columns);

// Results waiting for their next slices, by chunk token. A client that
// stops asking leaves its entry behind; the oldest are dropped beyond a
// small number.
struct PendingResult {
  virtual ~PendingResult() = default;
};
int32_t keepPending(std::unique_ptr<PendingResult> pending);
PendingResult* findPending(int32_t token);
void dropPending(int32_t token);

// Bytes of payload a reply may carry for a response size.
size_t sliceBytes(uint32_t responseSize);

}  // namespace zqserver
