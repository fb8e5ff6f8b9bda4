// The call frame: the steps every exported call takes, so that a call
// family states only its arguments, checks, procedure and post-processing.
//
//   int ZQGetEntry(ZQControlStruct* control, ..., ZQFieldValueList* values,
//                  ZQStatusList* status) {
//     if (values) *values = {};                   // outputs are cleared first
//     call::Call<proc::GetEntry> call(control, status);
//     if (!call || call.refusedControl() || call.refused(zq::checkName(form, false, status)))
//       return call.rc();                         // checks end the call as they are
//     call.record(diag::Command::GetEntry, form, entryId, fieldIds);
//     if (call.bind()) {                          // binds and fills the request header
//       call.args().form = ...;                   // the typed argument record
//       if (auto* reply = call.send()) ...;       // the typed reply, merged status
//     }
//     return call.finish(values);                 // result record, trace epilogue
//   }
//
// A frame holds the context's call lock from entry to its end, so two
// threads sharing a control record never check it while the other binds it.
#pragma once

#include <cstdint>
#include <mutex>

#include "call/remote.h"
#include "diag/diag.h"
#include "frame/frame.h"
#include "transport/transport.h"

namespace zq::call {

// What entering a call does with the caller's status list.
enum class OnEntry : uint8_t {
  emptyStatus,  // the common case
  keepStatus,   // calls that append to the caller's list
};

class Frame {
 public:
  // Frame steps 1 and 2: a null status list gives 4; the list is emptied
  // (unless kept); the thread context is looked up and made current (none: 3).
  Frame(ZQControlStruct* control, ZQStatusList* status, OnEntry onEntry = OnEntry::emptyStatus);
  Frame(const Frame&) = delete;
  Frame& operator=(const Frame&) = delete;

  // True once the call has entered.
  explicit operator bool() const { return ctx_ != nullptr; }
  int rc() const { return rc_; }
  ZQThreadContext* context() const { return ctx_; }
  ZQControlStruct* control() const { return control_; }
  ZQStatusList* status() const { return status_; }

  // Step 3. A check's result of 2 or more ends the call as it is: these
  // return true and leave it in rc().
  bool refused(int checkResult) {
    if (checkResult < ZQ_RETURN_ERROR) return false;
    rc_ = checkResult;
    return true;
  }
  bool refusedControl();
  // Adds an error message and returns its code (a failed check, or a failure
  // before anything was recorded).
  int fail(int32_t message, const char* appended = nullptr) {
    rc_ = addError(status_, message, appended);
    return rc_;
  }

  // Step 4: the command record, when logging is on.
  template <class... A>
  void record(diag::Command command, const A&... args) {
    diag::command(ctx_, control_, command, args...);
  }

  // Step 5: binds the control record for a queue and fills the header.
  // False (with the code in rc()) when binding failed.
  bool bind(uint32_t queue, transport::RequestHeader* header);
  // Steps 7 and 8 for a bound request: the driver, then the reply's cache
  // id, operation time and status list. The reply, or null (rc() 2).
  void* send(const Send& send, void* args, int* replyCode = nullptr);
  // A remote step of the call with its own bind and send (several requests
  // of one call, internal steps): binds afresh and sends.
  void* bindAndSend(const Send& send, transport::RequestHeader* header, void* args);

  // Post-processing: a later step's code, when worse than the current one.
  void raise(int rc) {
    if (rc > rc_) rc_ = rc;
  }
  // A failure after the command record: the message, and the call goes on
  // to its finish.
  void failAfterRecord(int32_t message, const char* appended = nullptr) {
    raise(addError(status_, message, appended));
  }
  void setRc(int rc) { rc_ = rc; }

  // Another exported call runs in place of this one's outcome (a redirect
  // followed on a second control record): what the status list holds so
  // far is released, the nested call fills it, and its code is this call's.
  template <class Run>
  int runNested(Run&& run) {
    releaseStatusList(status_);
    rc_ = run(status_);
    return rc_;
  }

  // A failure after the command record that ends the call at once.
  template <class... O>
  int finishWithError(int32_t message, O... outputs) {
    failAfterRecord(message);
    return finish(outputs...);
  }

  // Step 9: the result record of the outputs (in parameter order, null for
  // those the caller did not pass), the trace epilogue, the return code.
  template <class... O>
  int finish(O... outputs) {
    if constexpr (sizeof...(O) > 0) diag::outputs(ctx_, outputs...);
    return end();
  }

 private:
  int end();

  ZQControlStruct* control_;
  ZQStatusList* status_;
  ZQThreadContext* ctx_ = nullptr;
  int rc_ = ZQ_RETURN_OK;
  std::unique_lock<std::recursive_mutex> lock_;
};

// A call of one procedure: its argument record, its queue, time-out and
// time-out message from the procedure table, its reply typed.
template <class P>
class Call : public Frame {
 public:
  using Args = typename P::Args;
  using Reply = typename P::Reply;

  Call(ZQControlStruct* control, ZQStatusList* status, OnEntry onEntry = OnEntry::emptyStatus)
      : Frame(control, status, onEntry) {}

  Args& args() { return args_; }
  uint32_t queue() const { return queue_; }
  // A call that uses another queue than its procedure's.
  void useQueue(uint32_t queue) { queue_ = queue; }

  bool bind() { return Frame::bind(queue_, &args_.header); }
  // replyCode, when given, receives the code of the reply's own status list.
  Reply* send(int* replyCode = nullptr) {
    return static_cast<Reply*>(Frame::send(sendStep(), &args_, replyCode));
  }
  // The header as binding filled it (chunk words go in between bind and send).
  transport::RequestHeader& header() { return args_.header; }

 private:
  Send sendStep() const {
    const transport::Procedure& p = P::row();
    return Send{control(), p, queue_, transport::timeoutSeconds(context()->settings, p.timeout)};
  }

  uint32_t queue_ = P::row().queue;
  Args args_{};
};

}  // namespace zq::call
