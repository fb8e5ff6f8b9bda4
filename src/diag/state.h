// The trace log's per-context state: its files, the calls in progress, the
// timing, and the server-log settings of ZQSetLogging.
#pragma once

#include <sys/time.h>

#include <cstdio>
#include <string>
#include <vector>

#include "diag/commands.h"
#include "diag/record.h"
#include "frame/frame.h"

namespace zq::diag {

// Bits of the logging flags.
inline constexpr int32_t kFlagPauseSeconds = 0x02;
inline constexpr int32_t kFlagPauseMillis = 0x04;
inline constexpr int32_t kFlagTimingLines = 0x08;
inline constexpr int32_t kFlagSingleFile = 0x10;
inline constexpr int32_t kFlagNoResults = 0x20;
inline constexpr int32_t kFlagBuffered = 0x40;
inline constexpr int32_t kFlagsLongHeader = 24;  // the value exactly
inline constexpr int32_t kTimingFlags = kFlagPauseSeconds | kFlagPauseMillis | kFlagTimingLines;

inline constexpr size_t kMaxCallName = 50;

// One logged call in progress (calls nest: an import performs others).
struct CallFrame {
  Command command;
  std::string name;
  std::vector<OutputRef> outputs;
  bool outputsSet = false;
};

struct DiagState : SubsystemState {
  ~DiagState() override;

  FILE* commandFile = nullptr;
  FILE* resultFile = nullptr;

  std::vector<CallFrame> calls;  // innermost last
  std::string lastCallName;      // of the last command record

  timeval start{};  // of the outermost logged call; zero when none runs
  timeval nestedStart{};
  bool nested = false;
  timeval lastFinish{};

  // ZQSetLogging: the mask travels in ctx->serverLogMask.
  uint32_t serverLogDestination = 0;
  FILE* serverLogFile = nullptr;

  void closeFiles();
  // Where command records go: the command file, or the result file in
  // single-file mode.
  FILE* commandSink(int32_t flags) const {
    return (flags & kFlagSingleFile) || !commandFile ? resultFile : commandFile;
  }
};

// The context's state, created on first use (null when memory runs out).
DiagState* stateOf(ZQThreadContext* ctx);
// The state when it exists; never creates it.
DiagState* existingState(ZQThreadContext* ctx);

// printf into a string.
void appendf(std::string& out, const char* fmt, ...) __attribute__((format(printf, 2, 3)));

// Writes a whole buffer to a file; false when the write failed.
bool writeAll(FILE* file, const std::string& text);

namespace testing {
// Seam for tests: the clock the trace log reads.
void setClock(bool (*clock)(timeval*));
// Benchmarks: the frame's out-of-line hooks return at once (the inline tests
// of command() and outputs() stay), to measure what logging off costs.
void bypassHooks(bool on);
}  // namespace testing
extern bool g_hooksBypassed;
timeval now();
inline bool isSetTime(const timeval& t) {
  return t.tv_sec != 0 || t.tv_usec != 0;
}

}  // namespace zq::diag
