#include "server_log.h"

#include <cstdio>
#include <string>

#include "frame/alloc.h"
#include "frame/message_numbers.h"

namespace zqserver {
namespace {

// The log types a client can ask for, and the tag each line carries.
struct LogType {
  uint32_t bit;
  const char* tag;
};
constexpr LogType kLogTypes[] = {{0x01, "SQL "}, {0x02, "FLTR"}, {0x10, "API "}};

}  // namespace

void addServerLog(Call& call) {
  if (!call.status || !call.procedure.argsHeader) return;
  const zq::transport::RequestHeader* in = call.procedure.argsHeader(call.argsRecord);
  if (!in || !in->logMask) return;
  std::string text;
  for (const LogType& type : kLogTypes) {
    if (!(in->logMask & type.bit)) continue;
    char line[160];
    snprintf(line, sizeof line, "<%s> /* procedure %u, protocol version %d */ user %s\n", type.tag,
             call.procedure.number, call.version, in->user ? in->user : "");
    text += line;
  }
  if (text.empty()) return;
  char* message = zq::dupString(text.c_str());
  if (!message) return;  // the reply goes out without its log
  if (ZQAddStatus(call.status, ZQ_MESSAGE_NOTE, zq::kMsgServerLogNote, nullptr) > ZQ_RETURN_ERROR ||
      call.status->count == 0) {
    ZQFree(message);
    return;
  }
  // The newest note stands first among the notes; its message is the log text.
  for (uint32_t i = 0; i < call.status->count; ++i) {
    ZQStatusStruct& s = call.status->items[i];
    if (s.messageType == ZQ_MESSAGE_NOTE && s.messageNumber == zq::kMsgServerLogNote) {
      ZQFree(s.message);
      s.message = message;
      return;
    }
  }
  ZQFree(message);
}

}  // namespace zqserver
