#include "transport/procedures.h"

#include <algorithm>
#include <array>

#include "transport/describe_admin.h"
#include "transport/describe_alerts.h"
#include "transport/describe_debugger.h"
#include "transport/describe_definitions.h"
#include "transport/describe_entries.h"
#include "transport/describe_menus.h"
#include "transport/describe_queries.h"
#include "transport/describe_records.h"
#include "transport/describe_workflow_defs.h"

namespace zq::transport {
namespace {

constexpr uint32_t Admin = kQueueAdmin, Fast = kQueueFast, List = kQueueList;
constexpr Timeout Normal{TimeoutClass::normal, 0};
constexpr Timeout Long{TimeoutClass::long_, 0};
constexpr Timeout ExtraLong{TimeoutClass::extraLong, 0};
constexpr Timeout Fixed(uint32_t seconds) {
  return Timeout{TimeoutClass::fixed, seconds};
}
constexpr Timeout ExtraLongAtLeast(uint32_t seconds) {
  return Timeout{TimeoutClass::extraLongAtLeast, seconds};
}

// Records of procedures 90 to 93 carry no request header.
template <class R>
concept WithHeader = requires(R r) {
  r.header;
};

template <class R>
RequestHeader* headerOf(void* record) {
  return &static_cast<R*>(record)->header;
}

template <class R>
constexpr RequestHeader* (*headerRoutine())(void*) {
  if constexpr (WithHeader<R>)
    return &headerOf<R>;
  else
    return nullptr;
}

template <class R>
ZQStatusList* statusOf(void* record) {
  return &static_cast<R*>(record)->status;
}

template <class R>
void releaseRecord(void* record) {
  model::release(*static_cast<R*>(record));
}

template <class R>
size_t sizeOf(void* record, int version) {
  return model::encodedSize(*static_cast<R*>(record), version).value_or(0);
}

template <class Args, class Reply>
constexpr Procedure row(uint32_t number, int first, int last, uint32_t queue, Timeout timeout,
                        int32_t message, const char* name) {
  Procedure p{number, first, last,    queue,   timeout, message, name,    nullptr, nullptr,
              0,      0,     nullptr, nullptr, nullptr, nullptr, nullptr, nullptr};
  if constexpr (!std::is_void_v<Args> && !std::is_void_v<Reply>) {
    p.args = reinterpret_cast<platform::XdrProc>(model::xdrProc<Args>());
    p.reply = reinterpret_cast<platform::XdrProc>(model::xdrProc<Reply>());
    p.argsSize = sizeof(Args);
    p.replySize = sizeof(Reply);
    p.statusOf = &statusOf<Reply>;
    p.argsHeader = headerRoutine<Args>();
    p.replyHeader = headerRoutine<Reply>();
    p.freeArgs = &releaseRecord<Args>;
    p.freeReply = &releaseRecord<Reply>;
    p.argsEncodedSize = &sizeOf<Args>;
  }
  return p;
}

const Procedure kProcedures[] = {
#define ZQ_PROCEDURE_ROW(Name, number, first, last, queue, timeout, message, Args, Reply) \
  row<Args, Reply>(number, first, last, queue, timeout, message, #Name),
    ZQ_PROCEDURES(ZQ_PROCEDURE_ROW)
#undef ZQ_PROCEDURE_ROW
};

constexpr uint32_t kHighestNumber = 182;

// Row index by procedure number, for a look-up without a search.
const std::array<int16_t, kHighestNumber + 1>& rowIndex() {
  static const auto index = [] {
    std::array<int16_t, kHighestNumber + 1> a;
    a.fill(-1);
    for (size_t i = 0; i < std::size(kProcedures); ++i)
      if (kProcedures[i].number <= kHighestNumber)
        a[kProcedures[i].number] = static_cast<int16_t>(i);
    return a;
  }();
  return index;
}

}  // namespace

std::span<const Procedure> procedures() {
  return kProcedures;
}

const Procedure* findProcedure(uint32_t number) {
  if (number > kHighestNumber) return nullptr;
  const int16_t i = rowIndex()[number];
  return i < 0 ? nullptr : &kProcedures[i];
}

}  // namespace zq::transport
