#include "transport/translation.h"

#include "frame/frame.h"
#include "model/model.h"
#include "transport/describe_definitions.h"
#include "transport/wrapper.h"

namespace zq::transport {
namespace {

// The steps 11 to 10 and 8 to 7 keep the stubs of procedures their older
// version lacks; the server then answers that it has no such procedure.
// The newest version that answers procedure 73 with structured entries.
constexpr int kLastStructuredVersion = 9;

bool stepLeavesToServer(int newerVersion) {
  return newerVersion == 11 || newerVersion == 8;
}

const ZQFieldValueList* entryValues(const Procedure& p, const void* args) {
  switch (p.number) {
    case proc::SetEntry::number:
      return &static_cast<const SetEntryArgs*>(args)->values;
    case proc::CreateEntry::number:
      return &static_cast<const CreateEntryArgs*>(args)->values;
    case proc::MergeEntry::number:
      return &static_cast<const MergeEntryArgs*>(args)->values;
    default:
      return nullptr;
  }
}

}  // namespace

int firstVersionOfDataType(uint32_t dataType) {
  switch (dataType) {
    case ZQ_DATA_TYPE_CURRENCY:
    case ZQ_DATA_TYPE_DATE:
    case ZQ_DATA_TYPE_TIME_OF_DAY:
      return 9;
    case ZQ_DATA_TYPE_ATTACH_POOL:
    case ZQ_DATA_TYPE_VIEW:
    case ZQ_DATA_TYPE_DISPLAY:
      return 8;
    default:
      return kOldestVersion;
  }
}

bool stepRefusesMissing(const Procedure& p, int version) {
  // Walk the steps newest first: the first step whose older side lacks the
  // procedure decides; a step that leaves it alone hands an older stub to
  // the steps below, which do not know it and pass it on.
  for (int newer = kNewestVersion; newer > version; --newer) {
    if (p.firstVersion == newer) return !stepLeavesToServer(newer);
  }
  return false;
}

Verdict stepDown(const Procedure& p, const void* args, int version) {
  if (p.lastVersion < version) return {Passage::refuse, kMsgOperationUnsupported};
  if (!procedureInVersion(p, version)) {
    if (stepRefusesMissing(p, version)) return {Passage::refuse, kMsgOperationUnsupported};
    if (p.number == proc::GetListSchemaWithAlias::number && version == kOldestVersion)
      return {Passage::emulate, 0};
    return {Passage::send, 0};
  }
  if (const ZQFieldValueList* values = args ? entryValues(p, args) : nullptr) {
    for (uint32_t i = 0; i < values->count && values->items; ++i)
      if (firstVersionOfDataType(values->items[i].value.dataType) > version)
        return {Passage::refuse, kMsgValueTypeUnsupported};
  }
  return {Passage::send, 0};
}

void stepUp(ZQThreadContext* ctx, const Procedure& p, int version) {
  if (p.number == proc::GetListEntryWithFields::number && version <= kLastStructuredVersion)
    ctx->translateResults = 1;
}

void* emulateListWithAlias(ZQThreadContext* ctx, ClientHandle& handle, void* args, int* rpcStatus) {
  const Procedure& list = proc::GetListSchema::row();
  const Procedure& alias = proc::GetListSchemaWithAlias::row();
  auto* in = static_cast<ListSchemaWithAliasArgs*>(args);
  ListSchemaArgs request{};
  request.header = in->header;
  request.changedSince = in->changedSince;
  request.schemaType = in->schemaType;
  request.name = in->name;
  request.fieldIds = in->fieldIds;
  request.properties = in->properties;
  auto* reply = static_cast<NamesAndAliasesReply*>(resultSlot(ctx, alias, kOldestVersion));
  if (!reply) {
    *rpcStatus = 0;
    return nullptr;
  }
  auto* names = static_cast<TextNameListReply*>(
      callStub(ctx, list, kOldestVersion, handle, &request, rpcStatus));
  if (!names) return nullptr;
  // The reply of 11 is emptied into the reply of 101: nothing is owned twice.
  reply->header = names->header;
  names->header = RequestHeader{};
  reply->status = names->status;
  names->status = ZQStatusList{};
  reply->names = names->names;
  names->names = WireTextList{};
  if (!model::deepCopy(reply->aliases, reply->names)) {
    reply->aliases = WireTextList{};
    addError(&reply->status, kMsgNoMemory);
  }
  return reply;
}

}  // namespace zq::transport
