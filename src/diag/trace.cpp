// The trace log: the per-context state, the result records with their
// timing lines, and the session entries of initialization and termination.
#include <sys/time.h>
#include <time.h>

#include <cstdarg>
#include <cstring>

#include "diag/hooks.h"
#include "diag/lifecycle.h"
#include "diag/outputs.h"
#include "diag/state.h"
#include "diag/print_visitor.h"
#include "frame/frame.h"

namespace zq::diag {

// ---- state ------------------------------------------------------------------------------

DiagState::~DiagState() {
  closeFiles();
}

void DiagState::closeFiles() {
  if (commandFile) fclose(commandFile);
  if (resultFile && resultFile != commandFile) fclose(resultFile);
  commandFile = nullptr;
  resultFile = nullptr;
}

DiagState* existingState(ZQThreadContext* ctx) {
  return ctx ? static_cast<DiagState*>(ctx->diag.get()) : nullptr;
}

DiagState* stateOf(ZQThreadContext* ctx) {
  if (!ctx) return nullptr;
  if (!ctx->diag) ctx->diag.reset(new (std::nothrow) DiagState);
  return static_cast<DiagState*>(ctx->diag.get());
}

bool writeAll(FILE* file, const std::string& text) {
  if (!file) return false;
  if (text.empty()) return true;
  return fwrite(text.data(), 1, text.size(), file) == text.size();
}

namespace {
bool systemClock(timeval* t) {
  return gettimeofday(t, nullptr) == 0;
}
bool (*g_clock)(timeval*) = systemClock;
}  // namespace

bool g_hooksBypassed = false;

namespace testing {
void setClock(bool (*clock)(timeval*)) {
  g_clock = clock ? clock : systemClock;
}
void bypassHooks(bool on) {
  g_hooksBypassed = on;
}
}  // namespace testing

void appendf(std::string& out, const char* fmt, ...) {
  char small[512];
  va_list args;
  va_start(args, fmt);
  va_list copy;
  va_copy(copy, args);
  const int n = vsnprintf(small, sizeof small, fmt, args);
  if (n > 0 && static_cast<size_t>(n) < sizeof small) {
    out.append(small, static_cast<size_t>(n));
  } else if (n > 0) {
    std::string big(static_cast<size_t>(n) + 1, '\0');
    vsnprintf(big.data(), big.size(), fmt, copy);
    out.append(big.data(), static_cast<size_t>(n));
  }
  va_end(copy);
  va_end(args);
}

timeval now() {
  timeval t{};
  if (!g_clock(&t)) t = timeval{};
  return t;
}

namespace {

// "%a %b %d %Y %H:%M:%S" of a time rounded to the nearest second.
std::string localText(timeval t) {
  time_t seconds = t.tv_sec + (t.tv_usec > 500000 ? 1 : 0);
  struct tm parts;
  char buf[64] = "";
  if (localtime_r(&seconds, &parts)) strftime(buf, sizeof buf, "%a %b %d %Y %H:%M:%S", &parts);
  return buf;
}

const char* returnCodeWord(int rc) {
  static const char* const kWords[] = {"OK", "WARNING", "ERROR", "FATAL", "BAD STATUS"};
  return rc >= 0 && rc <= 4 ? kWords[rc] : "<unknown return>";
}

// The timing lines; the finish closes the outermost call or the nested one.
void timing(DiagState* st, int32_t flags, std::string& out) {
  if (!(flags & kTimingFlags)) return;
  const timeval finish = now();
  const timeval begin = st->nested ? st->nestedStart : st->start;
  if (flags & kFlagTimingLines) {
    appendf(out, "Start Time:    %u.%06u (%s)\n", static_cast<unsigned>(begin.tv_sec),
            static_cast<unsigned>(begin.tv_usec), localText(begin).c_str());
    appendf(out, "Finish Time:   %u.%06u (%s)\n", static_cast<unsigned>(finish.tv_sec),
            static_cast<unsigned>(finish.tv_usec), localText(finish).c_str());
    const double elapsed = static_cast<double>(finish.tv_sec - begin.tv_sec) +
                           static_cast<double>(finish.tv_usec - begin.tv_usec) / 1e6;
    appendf(out, "Elapsed Time:  %f\n", elapsed);
  }
  if (st->nested) {
    st->nested = false;
  } else {
    st->lastFinish = finish;
    st->start = timeval{};
  }
}

}  // namespace

// ---- result records -------------------------------------------------------------------------

void setOutputs(ZQThreadContext* ctx, std::vector<OutputRef>&& refs) {
  DiagState* st = existingState(ctx);
  if (!st || st->calls.empty()) return;
  st->calls.back().outputs = std::move(refs);
  st->calls.back().outputsSet = true;
}

void writeResult(ZQThreadContext* ctx, int rc, const ZQStatusList* status) {
  DiagState* st = existingState(ctx);
  if (!st || !ctx->traceOn || st->calls.empty()) return;
  CallFrame frame = std::move(st->calls.back());
  st->calls.pop_back();
  const CommandInfo& info = commandInfo(frame.command);
  const int32_t flags = ctx->loggingFlags;

  std::string out;
  appendf(out, "\n   %s results\n", frame.name.c_str());
  appendf(out, "Return Code: %s\n", returnCodeWord(rc));
  bool show = !(flags & kFlagNoResults) && frame.outputsSet;
  switch (info.show) {
    case Show::belowError:
    case Show::afterStatus:
      show = show && rc < ZQ_RETURN_ERROR;
      break;
    case Show::wheneverReplied:
    case Show::wheneverPassed:
      break;
  }
  if (show && info.show != Show::afterStatus) printOutputs(out, info, frame.outputs);
  printStatusList(out, status);
  if (show && info.show == Show::afterStatus) printOutputs(out, info, frame.outputs);
  timing(st, flags, out);
  if (flags & kFlagSingleFile) out += '\n';
  writeAll(st->resultFile, out);  // the trace never changes a call's result
}

void callEpilogue(ZQThreadContext* ctx, int rc, ZQStatusList* status) {
  if (g_hooksBypassed) return;
  if (!ctx || !ctx->traceOn) return;
  try {  // a result record that cannot be built is lost, the call is not
    writeResult(ctx, rc, status);
  } catch (...) {
  }
}

// ---- session entries --------------------------------------------------------------------------

namespace {

bool openFile(const char* name, int32_t flags, FILE** file) {
  FILE* f = fopen(name, "a+");
  if (!f) return false;
  if (!(flags & kFlagBuffered)) setvbuf(f, nullptr, _IONBF, 0);
  *file = f;
  return true;
}

}  // namespace

int openLogs(ZQThreadContext* ctx, const char* commandName, const char* resultName) {
  DiagState* st = stateOf(ctx);
  if (!st) return ZQ_RETURN_ERROR;
  const int32_t flags = ctx->loggingFlags;
  if (!commandName) commandName = "zqapicmd.log";
  if (!resultName) resultName = "zqapires.log";
  FILE* command = nullptr;
  FILE* result = nullptr;
  std::string commandCopy, resultCopy;
  try {
    commandCopy = commandName;
    resultCopy = resultName;
  } catch (...) {
    return ZQ_RETURN_ERROR;
  }
  const bool wantCommand = !(flags & kFlagSingleFile) && !st->commandFile;
  if (wantCommand && !openFile(commandName, flags, &command)) return ZQ_RETURN_ERROR;
  if (!st->resultFile && !openFile(resultName, flags, &result)) {
    if (command) fclose(command);  // what this call opened goes again
    return ZQ_RETURN_ERROR;
  }
  if (command) {
    st->commandFile = command;
    ctx->recordCommandFile = std::move(commandCopy);
  }
  if (result) {
    st->resultFile = result;
    ctx->recordResultFile = std::move(resultCopy);
  }
  ctx->traceOn = true;
  if (!isSetTime(st->lastFinish)) st->lastFinish = now();  // the first pause runs from here
  return ZQ_RETURN_OK;
}

void closeLogs(ZQThreadContext* ctx) {
  ctx->traceOn = false;
  ctx->recordCommandFile.clear();
  ctx->recordResultFile.clear();
  if (DiagState* st = existingState(ctx)) {
    st->closeFiles();
    st->calls.clear();
    st->start = st->nestedStart = timeval{};
    st->nested = false;
  }
}

int startRecording(ZQThreadContext* ctx, const char* commandFile, const char* resultFile,
                   ZQStatusList* status) {
  if (openLogs(ctx, commandFile, resultFile) < ZQ_RETURN_ERROR) {
    if (DiagState* st = existingState(ctx)) st->lastFinish = now();
    return ZQ_RETURN_OK;
  }
  // Logging was asked for but cannot be written: the session goes on
  // without it, and says so.
  return addWarning(status, kMsgLogFileOpen, resultFile ? resultFile : "zqapires.log");
}

void traceInitialization(ZQThreadContext* ctx, ZQControlStruct* control, ZQStatusList* status) {
  command(ctx, control, Command::Initialization);
  callEpilogue(ctx, returnCode(status), status);
}

void traceTerminationStart(ZQThreadContext* ctx, ZQControlStruct* control) {
  command(ctx, control, Command::Termination);
}

void traceTerminationEnd(ZQThreadContext* ctx, ZQStatusList* status) {
  callEpilogue(ctx, returnCode(status), status);
}

void releaseContext(ZQThreadContext* ctx) {
  closeLogs(ctx);
  ctx->diag.reset();
}

}  // namespace zq::diag
