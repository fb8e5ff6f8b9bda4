#include "call/frame.h"

#include "diag/diag.h"

namespace zq::call {

Frame::Frame(ZQControlStruct* control, ZQStatusList* status, OnEntry onEntry)
    : control_(control), status_(status) {
  if (!status) {
    rc_ = ZQ_RETURN_BAD_STATUS;
    return;
  }
  if (onEntry == OnEntry::emptyStatus) clearStatus(status);
  ctx_ = zq::findContext(control, status);
  if (!ctx_) {
    rc_ = ZQ_RETURN_FATAL;
    return;
  }
  lock_ = std::unique_lock<std::recursive_mutex>(ctx_->callLock);
}

bool Frame::refusedControl() {
  return refused(zq::checkControl(control_, status_));
}

bool Frame::bind(uint32_t queue, transport::RequestHeader* header) {
  rc_ = call::bind(control_, queue, header, true, status_);
  return rc_ < ZQ_RETURN_ERROR;
}

void* Frame::send(const Send& send, void* args, int* replyCode) {
  void* reply = sendBound(send, args, status_, replyCode);
  rc_ = reply ? returnCode(status_) : ZQ_RETURN_ERROR;
  return reply;
}

void* Frame::bindAndSend(const Send& send, transport::RequestHeader* header, void* args) {
  return bind(send.queue, header) ? this->send(send, args) : nullptr;
}

int Frame::end() {
  return diag::finishCall(ctx_, rc_, status_);
}

}  // namespace zq::call
