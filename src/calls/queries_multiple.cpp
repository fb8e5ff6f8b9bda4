// ZQGetMultipleEntries (procedure 67) and ZQGetEntryStatistics (procedure 6).
#include <cstring>
#include <vector>

#include "calls/attachments.h"
#include "calls/checks.h"
#include "calls/queries.h"
#include "calls/queries_values.h"
#include "diag/diag.h"
#include "frame/frame.h"
#include "model/model.h"
#include "transport/transport.h"
#include "zqapi/zq_free.h"

namespace zq::calls {
namespace {

// Password values of exactly this length in whole entries are left as they are.
constexpr size_t kEntryPasswordLength = 254;

// Cuts the flat values into one list per entry; false on memory.
bool cutIntoLists(std::vector<ZQFieldValueStruct>& flat, uint32_t entries, uint32_t per,
                  const ZQInternalIdList* wanted, ZQFieldValueListList& out) {
  out.items = static_cast<ZQFieldValueList*>(
      zq::allocZeroed(entries ? entries : 1, sizeof(ZQFieldValueList)));
  if (!out.items) return false;
  out.count = entries;
  size_t next = 0;
  for (uint32_t e = 0; e < entries; ++e) {
    if (!per) continue;
    ZQFieldValueList& list = out.items[e];
    list.items = static_cast<ZQFieldValueStruct*>(zq::allocZeroed(per, sizeof(ZQFieldValueStruct)));
    if (!list.items) return false;
    list.count = per;
    for (uint32_t k = 0; k < per; ++k, ++next) {
      list.items[k] = flat[next];
      flat[next] = ZQFieldValueStruct{};
      if (list.items[k].fieldId == 0 && wanted && wanted->items && k < wanted->count)
        list.items[k].fieldId = wanted->items[k];
    }
  }
  return true;
}

}  // namespace

FlatValues::~FlatValues() {
  for (auto& v : values_) zq::model::release(v);
}

bool FlatValues::append(transport::MultipleEntriesReply& reply) {
  const uint32_t per = reply.valuesPerEntry;
  bool firstOfReply = true;
  for (uint32_t l = 0; reply.values.items && l < reply.values.count; ++l) {
    ZQFieldValueList& list = reply.values.items[l];
    const uint32_t n = list.items ? (per && list.count > per ? per : list.count) : 0;
    for (uint32_t k = 0; k < n; ++k) {
      ZQFieldValueStruct& fv = list.items[k];
      if (firstOfReply && reply.header.continuation == transport::kContinuesPreviousValue &&
          continues(fv)) {
        if (!join(values_.back().value, fv.value)) return false;
      } else {
        values_.push_back(fv);
        fv = ZQFieldValueStruct{};
      }
      firstOfReply = false;
    }
  }
  return true;
}

bool FlatValues::continues(const ZQFieldValueStruct& fv) const {
  if (values_.empty()) return false;
  const ZQFieldValueStruct& last = values_.back();
  return fv.fieldId == last.fieldId && fv.fieldId != 0 && fv.fieldId != 15 &&
         fv.value.dataType == ZQ_DATA_TYPE_CHAR && last.value.dataType == ZQ_DATA_TYPE_CHAR;
}

bool FlatValues::join(ZQValueStruct& into, const ZQValueStruct& rest) {
  const char* a = into.u.charValue ? into.u.charValue : "";
  const char* b = rest.u.charValue ? rest.u.charValue : "";
  const size_t an = strlen(a), bn = strlen(b);
  auto* joined = static_cast<char*>(zq::alloc(an + bn + 1));
  if (!joined) return false;
  memcpy(joined, a, an);
  memcpy(joined + an, b, bn + 1);
  zq::freeBlock(into.u.charValue);
  into.u.charValue = joined;
  return true;
}

}  // namespace zq::calls

using namespace zq;

extern "C" int ZQGetMultipleEntries(ZQControlStruct* control, const char* form,
                                    ZQEntryIdListList* ids, ZQInternalIdList* fields,
                                    ZQBooleanList* exists, ZQFieldValueListList* values,
                                    ZQStatusList* status) {
  call::Call<transport::proc::GetMultipleEntries> call(control, status);
  if (!call) return call.rc();
  if (!exists) return call.fail(kMsgNoExistsOutput);
  *exists = {0, nullptr};
  if (values) *values = {0, nullptr};
  if (call.refusedControl() || call.refused(zq::checkName(form, false, status))) return call.rc();
  if (!ids || ids->count == 0) return ZQ_RETURN_OK;
  if (call.refused(checks::checkEntryIdLists(ids, false, status))) return call.rc();
  call.record(diag::Command::GetMultipleEntries, form, fields);
  auto& args = call.args();
  args.form = const_cast<char*>(form);
  args.ids = *ids;
  if (fields) args.fields = *fields;

  ZQBooleanList found{0, nullptr};
  calls::FlatValues flat;
  uint32_t per = 0;
  bool first = true, memoryFailed = false, replyFailed = false;
  calls::runChunked(call, [&](transport::MultipleEntriesReply& reply, calls::Chunk& chunk) {
    chunk.empty = reply.valueCount == 0 && reply.values.count == 0;
    if (chunk.failed) {
      replyFailed = true;
      return false;
    }
    if (first) {
      found = reply.exists;
      reply.exists = {0, nullptr};
      per = reply.valuesPerEntry;
      first = false;
      if (!values) return false;  // the first reply is the whole result
    }
    memoryFailed = !flat.append(reply);
    return !memoryFailed;
  });
  if (memoryFailed) call.failAfterRecord(kMsgNoMemory);
  ZQFieldValueListList lists{0, nullptr};
  if (call.rc() < ZQ_RETURN_ERROR && !replyFailed && values) {
    if (flat.values().size() != size_t{found.count} * per) {
      call.failAfterRecord(kMsgBadEncoding, "number of values");
    } else if (!calls::cutIntoLists(flat.values(), found.count, per, fields, lists)) {
      call.failAfterRecord(kMsgNoMemory);
    } else {
      const calls::ServerTraits server = calls::boundServer(call.context(), control);
      for (uint32_t i = 0; i < lists.count && call.rc() < ZQ_RETURN_ERROR; ++i)
        call.raise(calls::postProcessValues(call.context(), server, &lists.items[i],
                                            calls::kEntryPasswordLength, status));
    }
  }
  if (call.rc() >= ZQ_RETURN_ERROR || replyFailed) {
    zq::model::release(lists);
    zq::model::release(found);
    if (call.rc() < ZQ_RETURN_ERROR) call.setRc(returnCode(status));
    return call.finish(nullptr, values);
  }
  *exists = found;
  if (values) *values = lists;
  return call.finish(nullptr, values);
}

extern "C" int ZQGetEntryStatistics(ZQControlStruct* control, const char* form,
                                    ZQQualifierStruct* qualifier, ZQFieldValueOrArithStruct* target,
                                    uint32_t statistic, ZQInternalIdList* groupBy,
                                    ZQStatisticsResultList* results, ZQStatusList* status) {
  if (results) *results = {0, nullptr};
  call::Call<transport::proc::GetEntryStatistics> call(control, status);
  if (!call || call.refused(calls::checkQuery(control, form, qualifier, nullptr, nullptr, status)))
    return call.rc();
  if (target && target->tag != 0 && call.refused(checks::checkOperand(target, status)))
    return call.rc();
  if (statistic < 1 || statistic > 5) return call.fail(kMsgBadStatistic);
  if (!results) return call.fail(kMsgNoResultOutput);
  call.record(diag::Command::GetEntryStatistics, form, qualifier, statistic, groupBy);
  if (call.bind()) {
    auto& args = call.args();
    args.form = const_cast<char*>(form);
    if (qualifier) args.qualifier = *qualifier;
    if (target) args.target = *target;
    args.statistic = statistic;
    if (groupBy) args.groupBy = *groupBy;
    auto* reply = call.send();
    if (reply && call.rc() < ZQ_RETURN_ERROR) {
      *results = reply->results;
      reply->results = {0, nullptr};
    }
  }
  return call.finish(results);
}
