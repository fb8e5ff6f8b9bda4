// Procedure handlers of the reference server, by procedure number.
#include <ctime>
#include <variant>

#include "dispatch.h"
#include "handlers_entries.h"
#include "handlers_queries.h"
#include "frame/alloc.h"
#include "server.h"

namespace zqserver {
namespace {

using namespace zq::transport;

void fillSetting(ZQServerInfoStruct& item, uint32_t number, const Options& options) {
  item.operation = number;
  item.value = ZQValueStruct{};
  if (number == 116) {  // current server time
    item.value.dataType = ZQ_DATA_TYPE_TIME;
    item.value.u.timestampValue = static_cast<ZQTimestamp>(time(nullptr));
    return;
  }
  auto it = options.settings.find(number);
  if (it == options.settings.end()) return;  // unknown here: no value
  if (const auto* text = std::get_if<std::string>(&it->second)) {
    item.value.dataType = ZQ_DATA_TYPE_CHAR;
    item.value.u.charValue = zq::dupString(text->c_str());
  } else {
    item.value.dataType = ZQ_DATA_TYPE_INTEGER;
    item.value.u.integerValue = std::get<int32_t>(it->second);
  }
}

void serverInfo(Call& call) {
  auto& args = *static_cast<ServerInfoArgs*>(call.args);
  auto& reply = *static_cast<ServerInfoReply*>(call.reply);
  const uint32_t refused = call.server.faults().refuseSetting.load();
  for (uint32_t i = 0; i < args.settings.count; ++i) {
    uint32_t n = args.settings.items[i];
    if (n == 0 || (refused && n == refused)) {
      ZQAddStatusNumber(call.status, ZQ_MESSAGE_ERROR, 123, n);
      return;
    }
  }
  reply.settings.items = static_cast<ZQServerInfoStruct*>(
      ZQCalloc(args.settings.count ? args.settings.count : 1, sizeof(ZQServerInfoStruct)));
  if (!reply.settings.items) {
    ZQAddStatus(call.status, ZQ_MESSAGE_ERROR, 154, nullptr);
    return;
  }
  for (uint32_t i = 0; i < args.settings.count; ++i)
    fillSetting(reply.settings.items[i], args.settings.items[i], call.server.options());
  reply.settings.count = args.settings.count;
}

void endSession(Call& call) {
  auto& args = *static_cast<HeaderOnlyArgs*>(call.args);
  call.server.sessions().end(args.header.cacheId);
}

}  // namespace

// handlers_crypto.cpp
void keyHello(Call& call);
void keyTransfer(Call& call);
void encryptionInfo(Call& call);

Handler handlerFor(uint32_t procedure) {
  switch (procedure) {
    case 1: return getEntry;
    case 2: return setEntry;
    case 3: return createEntry;
    case 4: return deleteEntry;
    case 5: return getListEntry;
    case 6: return getEntryStatistics;
    case 36: return serverInfo;
    case 37: return mergeEntry;
    case 47: return endSession;
    case 67: return getMultipleEntries;
    case 73: return getListEntryWithFields;
    case 80: return getEntryBlob;
    case 95: return keyHello;
    case 96: return keyTransfer;
    case 97: return encryptionInfo;
    case 134: return bulkEntryTransaction;
    case 135: return getListEntryBlocks;
    case 136: return serviceEntry;
    case 171: return getListEntryWithMultiSchemaFields;
    case 172: return beginClientManagedTransaction;
    case 173: return endClientManagedTransaction;
    case 181: return getOneEntryWithFields;
    default: return nullptr;
  }
}

}  // namespace zqserver
