// Fault injection: tests tell the server to misbehave in precise ways so
// that every failure path of the client runs for real.
#pragma once

#include <atomic>
#include <cstdint>

namespace zqserver {

struct Faults {
  // Close the connection without answering the next N calls.
  std::atomic<int> dropNext{0};
  // Sleep this long before answering the next N calls.
  std::atomic<int> delayMs{0};
  std::atomic<int> delayCalls{0};
  // Answer calls of this procedure with error 123 ("not supported") and no
  // results; 0 = none.
  std::atomic<uint32_t> refuseProcedure{0};
  // Answer a settings request that asks for this setting with 123; 0 = none.
  std::atomic<uint32_t> refuseSetting{0};
  // Read the request, then close the connection mid-call, for N calls.
  std::atomic<int> closeMidCall{0};

  // What the server saw.
  std::atomic<uint64_t> callsReceived{0};
  std::atomic<uint64_t> callsAnswered{0};
  std::atomic<uint32_t> lastProcedure{0};
  std::atomic<uint32_t> lastVersion{0};
  std::atomic<uint32_t> lastProgram{0};
  std::atomic<int32_t> lastCacheId{0};
  std::atomic<uint32_t> lastTimeout{0};

  void reset() {
    dropNext = 0;
    delayMs = 0;
    delayCalls = 0;
    refuseProcedure = 0;
    refuseSetting = 0;
    closeMidCall = 0;
    callsReceived = 0;
    callsAnswered = 0;
    lastProcedure = 0;
    lastVersion = 0;
    lastProgram = 0;
    lastCacheId = 0;
    lastTimeout = 0;
  }

  // Takes one unit of a countdown; true when the fault applies to this call.
  static bool take(std::atomic<int>& counter) {
    int n = counter.load();
    while (n > 0)
      if (counter.compare_exchange_weak(n, n - 1)) return true;
    return false;
  }
};

}  // namespace zqserver
