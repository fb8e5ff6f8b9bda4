// The server-log capture of ZQSetLogging: marker lines around each remote
// call and the server's log text (note 8914) moved into the caller's file.
#include <sys/time.h>
#include <time.h>

#include <cstring>

#include "diag/hooks.h"
#include "diag/state.h"
#include "frame/frame.h"
#include "zqapi/zq_session.h"

namespace zq::diag {
namespace {

// Log types whose output the library captures; other bits only travel.
constexpr uint32_t kCapturedTypes = 0x01 | 0x02 | 0x10;
constexpr uint32_t kToFile = 0x01;
constexpr uint32_t kKeepNote = 0x02;
constexpr size_t kMaxMarkerLine = 255;

FILE* captureFile(ZQThreadContext* ctx) {
  if (!ctx || !(ctx->serverLogMask & kCapturedTypes)) return nullptr;
  DiagState* st = existingState(ctx);
  if (!st || !(st->serverLogDestination & kToFile)) return nullptr;
  return st->serverLogFile;
}

bool writeAndFlush(FILE* file, const char* text, size_t length) {
  const bool written = length == 0 || fwrite(text, 1, length, file) == length;
  return fflush(file) == 0 && written;
}

}  // namespace

void serverLogMarker(ZQThreadContext* ctx, bool start, ZQStatusList* status) {
  if (g_hooksBypassed) return;
  FILE* file = captureFile(ctx);
  if (!file) return;
  const timeval t = now();
  const time_t seconds = t.tv_sec;
  struct tm parts;
  char when[64] = "";
  if (localtime_r(&seconds, &parts)) strftime(when, sizeof when, "%a %b %d %Y %H:%M:%S", &parts);
  char line[kMaxMarkerLine + 1];
  int n = snprintf(line, sizeof line, "<CLAT> /* %s.%04d */%s\n", when,
                   static_cast<int>(t.tv_usec / 100), start ? "+API call" : "-API call");
  if (n < 0) return;
  const size_t length =
      static_cast<size_t>(n) < sizeof line ? static_cast<size_t>(n) : kMaxMarkerLine;
  if (!writeAndFlush(file, line, length) && status) addWarning(status, kMsgServerLogWrite);
}

void captureServerLog(ZQThreadContext* ctx, ZQStatusList* reply, ZQStatusList* status) {
  if (g_hooksBypassed) return;
  if (!ctx || !(ctx->serverLogMask & kCapturedTypes) || !reply || !reply->items) return;
  uint32_t at = 0;
  while (at < reply->count && !(reply->items[at].messageType == ZQ_MESSAGE_NOTE &&
                                reply->items[at].messageNumber == kMsgServerLogNote))
    ++at;
  if (at == reply->count) return;
  ZQStatusStruct& note = reply->items[at];
  if (FILE* file = captureFile(ctx)) {
    const char* text = note.message ? note.message : "";
    if (!writeAndFlush(file, text, strlen(text)) && status) addWarning(status, kMsgServerLogWrite);
  }
  DiagState* st = existingState(ctx);
  if (st && (st->serverLogDestination & kKeepNote)) return;
  zq::freeBlock(note.message);
  zq::freeBlock(note.appended);
  memmove(&reply->items[at], &reply->items[at + 1],
          (reply->count - at - 1) * sizeof(ZQStatusStruct));
  if (--reply->count == 0) {
    zq::freeBlock(reply->items);
    reply->items = nullptr;
  }
}

}  // namespace zq::diag
