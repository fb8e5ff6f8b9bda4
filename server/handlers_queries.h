// Handlers of the query procedures.
#pragma once

#include "dispatch.h"

namespace zqserver {

void getListEntry(Call& call);
void getEntryStatistics(Call& call);
void getMultipleEntries(Call& call);
void getListEntryWithFields(Call& call);
void getEntryBlob(Call& call);
void getListEntryBlocks(Call& call);
void getListEntryWithMultiSchemaFields(Call& call);
void getOneEntryWithFields(Call& call);

}  // namespace zqserver
