// The remote procedure table. Every procedure of the protocol is a row:
// its number, the protocol versions that have it, the queue, time-out and
// time-out message of its calls, and the routines of its records. Client
// calls and the reference server's dispatcher both come from it, so the
// server decodes exactly what the client encodes, in every version.
//
// Calls name a procedure by its type (`proc::GetEntry`), which carries the
// record types: a call that fills the wrong record does not compile.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <type_traits>

#include "frame/frame.h"
#include "platform/platform.h"
#include "transport/procedure_list.h"
#include "transport/records.h"
#include "transport/records_admin.h"
#include "transport/records_alerts.h"
#include "transport/records_debugger.h"
#include "transport/records_definitions.h"
#include "transport/records_entries.h"
#include "transport/records_menus.h"
#include "transport/records_queries.h"
#include "transport/records_workflow.h"

namespace zq::transport {

enum class TimeoutClass : uint8_t { normal, long_, extraLong, extraLongAtLeast, fixed };

struct Timeout {
  TimeoutClass kind;
  uint32_t seconds;  // fixed: the time-out; extraLongAtLeast: its floor
};

// The seconds of a time-out under a session's settings.
inline uint32_t timeoutSeconds(const Settings& s, Timeout t) {
  switch (t.kind) {
    case TimeoutClass::normal:
      return s.timeoutNormal;
    case TimeoutClass::long_:
      return s.timeoutLong;
    case TimeoutClass::extraLong:
      return s.timeoutExtraLong;
    case TimeoutClass::extraLongAtLeast:
      return s.timeoutExtraLong > t.seconds ? s.timeoutExtraLong : t.seconds;
    case TimeoutClass::fixed:
      return t.seconds;
  }
  return s.timeoutNormal;
}

struct Procedure {
  uint32_t number;
  int firstVersion;  // protocol versions that have it
  int lastVersion;
  uint32_t queue;  // queue of its calls
  Timeout timeout;
  int32_t timeoutMessage;
  const char* name;

  // Record routines for both directions; the protocol version comes from
  // the codec session of the calling thread. All null while no call has
  // described the procedure's records.
  platform::XdrProc args;
  platform::XdrProc reply;
  size_t argsSize;
  size_t replySize;
  // Where the reply's status list sits; null for none.
  ZQStatusList* (*statusOf)(void* reply);
  // Where the request header sits in each record; null for none (90 to 93).
  RequestHeader* (*argsHeader)(void* args);
  RequestHeader* (*replyHeader)(void* reply);
  // Releases what a decoded record holds (not the record itself).
  void (*freeArgs)(void* args);
  void (*freeReply)(void* reply);
  // Encoded size of an argument record; 0 when it cannot be encoded.
  size_t (*argsEncodedSize)(void* args, int version);

  bool described() const { return args != nullptr; }
};

// Every procedure, in number order.
std::span<const Procedure> procedures();
// The row of a number, or null for a number outside the table.
const Procedure* findProcedure(uint32_t number);

inline bool procedureInVersion(const Procedure& p, int version) {
  return version >= p.firstVersion && version <= p.lastVersion;
}

// Encoded size of an argument record in a protocol version (0 on failure).
inline size_t encodedSize(const Procedure& p, void* args, int version) {
  return p.argsEncodedSize ? p.argsEncodedSize(args, version) : 0;
}

// ---- procedures as types ----------------------------------------------------------------

template <uint32_t N, class A, class R>
struct Proc {
  static constexpr uint32_t number = N;
  using Args = A;
  using Reply = R;
  // The procedure's row of the table.
  static const Procedure& row() {
    static const Procedure* const p = findProcedure(N);
    return *p;
  }
};

namespace proc {
#define ZQ_PROCEDURE_TYPE(Name, number, first, last, queue, timeout, message, Args, Reply) \
  using Name = Proc<number, Args, Reply>;
ZQ_PROCEDURES(ZQ_PROCEDURE_TYPE)
#undef ZQ_PROCEDURE_TYPE
}  // namespace proc

}  // namespace zq::transport
