// ZQGetListEntryWithMultiSchemaFields (procedure 171): a query over several
// forms, returned as a compressed multi-form entry list text in slices.
#include <cstring>

#include "calls/attachments.h"
#include "calls/checks.h"
#include "calls/entry_list_text.h"
#include "calls/queries.h"
#include "diag/diag.h"
#include "frame/frame.h"
#include "model/describe.h"
#include "platform/platform.h"
#include "transport/transport.h"
#include "zqapi/zq_free.h"

namespace zq::calls {
namespace {

constexpr size_t kMaxName = 254;
constexpr int kMaxDepth = 512;

int checkMultiQualifier(const ZQMultiSchemaQualifierStruct* q, bool top, int depth,
                        ZQStatusList* status);
int checkFromList(const ZQMultiSchemaQueryFromList* from, int depth, ZQStatusList* status);

int checkMultiOperand(const ZQMultiSchemaFieldValueOrArithStruct& o, int depth,
                      ZQStatusList* status) {
  if (depth > kMaxDepth) return addError(status, kMsgTooDeep);
  switch (o.tag) {
    case ZQ_FIELD:
    case ZQ_FIELD_TRAN:
    case ZQ_FIELD_DB:
    case ZQ_FIELD_CURRENT:
      return strnlen(o.u.fieldId.queryFromAlias, sizeof o.u.fieldId.queryFromAlias) > kMaxName
                 ? addError(status, kMsgTooLong)
                 : ZQ_RETURN_OK;
    case ZQ_VALUE: {
      ZQValueStruct copy = o.u.value;  // the check may reset a value without payload
      return checks::checkValue(&copy, status);
    }
    case ZQ_ARITHMETIC: {
      const ZQMultiSchemaArithOpStruct* a = o.u.arithOp;
      if (!a) return addError(status, kMsgArithMissing);
      if (a->operation < ZQ_ARITH_OP_ADD || a->operation > ZQ_ARITH_OP_NEGATE)
        return addError(status, kMsgBadArithOp);
      int rc = ZQ_RETURN_OK;
      if (a->operation != ZQ_ARITH_OP_NEGATE) rc = checkMultiOperand(a->left, depth + 1, status);
      return rc >= ZQ_RETURN_ERROR ? rc : checkMultiOperand(a->right, depth + 1, status);
    }
    case ZQ_VALUE_SET:
      if (o.u.valueSet.count == 0) return addError(status, kMsgEmptyValueSet);
      return o.u.valueSet.items ? ZQ_RETURN_OK : addError(status, kMsgCountWithoutItems);
    case ZQ_MULTI_VALUE_SET_QUERY: {
      const ZQMultiSchemaValueSetQueryStruct* v = o.u.valueSetQuery;
      if (!v) return addError(status, kMsgOperandMissing);
      int rc = checkFromList(&v->queryFromList, depth + 1, status);
      return rc >= ZQ_RETURN_ERROR ? rc
                                   : checkMultiQualifier(v->qualifier, true, depth + 1, status);
    }
    case ZQ_STAT_HISTORY:
      return ZQ_RETURN_OK;
    default:
      return addError(status, kMsgBadOperandTag);
  }
}

int checkMultiQualifier(const ZQMultiSchemaQualifierStruct* q, bool top, int depth,
                        ZQStatusList* status) {
  if (depth > kMaxDepth) return addError(status, kMsgTooDeep);
  if (!q) return top ? ZQ_RETURN_OK : addError(status, kMsgQualIncomplete);
  switch (q->operation) {
    case ZQ_COND_OP_NONE:
      return top ? ZQ_RETURN_OK : addError(status, kMsgQualIncomplete);
    case ZQ_COND_OP_AND:
    case ZQ_COND_OP_OR: {
      if (!q->u.andor.left || !q->u.andor.right) return addError(status, kMsgQualIncomplete);
      int rc = checkMultiQualifier(q->u.andor.left, false, depth + 1, status);
      return rc >= ZQ_RETURN_ERROR
                 ? rc
                 : checkMultiQualifier(q->u.andor.right, false, depth + 1, status);
    }
    case ZQ_COND_OP_NOT:
      if (!q->u.notQual) return addError(status, kMsgQualIncomplete);
      return checkMultiQualifier(q->u.notQual, false, depth + 1, status);
    case ZQ_COND_OP_REL_OP: {
      const ZQMultiSchemaRelOpStruct* r = q->u.relOp;
      if (!r) return addError(status, kMsgRelOpMissing);
      if (r->operation < ZQ_REL_OP_EQUAL || r->operation > ZQ_REL_OP_IN)
        return addError(status, kMsgBadRelOp);
      int rc = checkMultiOperand(r->left, depth + 1, status);
      return rc >= ZQ_RETURN_ERROR ? rc : checkMultiOperand(r->right, depth + 1, status);
    }
    case ZQ_COND_OP_FROM_FIELD:
      return ZQ_RETURN_OK;
    default:
      return addError(status, kMsgBadQualOp);
  }
}

int checkFromList(const ZQMultiSchemaQueryFromList* from, int depth, ZQStatusList* status) {
  if (!from || from->count == 0) return addError(status, kMsgQuerySourcesEmpty);
  if (!from->items) return addError(status, kMsgCountWithoutItems);
  if (from->items[0].joinQual && from->items[0].joinQual->operation != ZQ_COND_OP_NONE)
    return addError(status, kMsgFirstSourceJoined);
  for (uint32_t i = 0; i < from->count; ++i) {
    const ZQMultiSchemaQueryFromStruct& f = from->items[i];
    const size_t alias = strnlen(f.queryFromAlias, sizeof f.queryFromAlias);
    if (f.type == ZQ_MULTI_SCHEMA_SOURCE_FORM) {
      const size_t name = strnlen(f.u.schemaName, sizeof f.u.schemaName);
      if (name == 0) return addError(status, kMsgNameRequired);
      if (name > kMaxName || alias > kMaxName) return addError(status, kMsgTooLong);
    } else if (f.type == ZQ_MULTI_SCHEMA_SOURCE_RECURSIVE) {
      const ZQMultiSchemaRecursiveQueryStruct* r = f.u.recursiveQuery;
      if (!r) return addError(status, kMsgRecursiveQueryMissing);
      if (!r->recursionQual) return addError(status, kMsgNoRecursionQual);
      int rc = checkFromList(&r->queryFromList, depth + 1, status);
      if (rc >= ZQ_RETURN_ERROR) return rc;
      if (alias == 0) return addError(status, kMsgNameRequired);
      if (alias > kMaxName) return addError(status, kMsgTooLong);
    } else {
      return addError(status, kMsgNestedQuerySource);
    }
    if (f.joinType > 2) return addError(status, kMsgBadJoinType);
    int rc = checkMultiQualifier(f.joinQual, true, depth + 1, status);
    if (rc >= ZQ_RETURN_ERROR) return rc;
  }
  return ZQ_RETURN_OK;
}

int checkFieldIds(const ZQMultiSchemaFieldIdList* fields, ZQStatusList* status) {
  if (!fields || fields->count == 0) return ZQ_RETURN_OK;
  if (!fields->items) return addError(status, kMsgCountWithoutItems);
  for (uint32_t i = 0; i < fields->count; ++i) {
    const ZQMultiSchemaFieldIdStruct& f = fields->items[i];
    if (strnlen(f.queryFromAlias, sizeof f.queryFromAlias) > kMaxName) {
      addError(status, kMsgTooLong);
      return zq::addStatusNumber(status, ZQ_MESSAGE_ERROR, kMsgBadQueryField, f.fieldId);
    }
  }
  return ZQ_RETURN_OK;
}

int checkMultiSort(const ZQMultiSchemaSortList* sort, ZQStatusList* status) {
  if (!sort || sort->count == 0) return ZQ_RETURN_OK;
  if (!sort->items) return addError(status, kMsgCountWithoutItems);
  for (uint32_t i = 0; i < sort->count; ++i)
    if (sort->items[i].sortOrder != ZQ_SORT_ASCENDING &&
        sort->items[i].sortOrder != ZQ_SORT_DESCENDING) {
      addError(status, kMsgBadSortOrder);
      return addError(status, kMsgBadSortEntry);
    }
  return ZQ_RETURN_OK;
}

}  // namespace
}  // namespace zq::calls

using namespace zq;

extern "C" int ZQGetListEntryWithMultiSchemaFields(
    ZQControlStruct* control, ZQMultiSchemaQueryFromList* from, ZQMultiSchemaFieldIdList* fields,
    ZQMultiSchemaQualifierStruct* qualifier, ZQMultiSchemaSortList* sort, uint32_t firstRetrieve,
    uint32_t maxRetrieve, ZQBoolean useLocale, ZQMultiSchemaFieldValueListList* rows,
    uint32_t* numMatches, ZQStatusList* status) {
  if (rows) *rows = {0, nullptr};
  if (numMatches) *numMatches = 0;
  call::Call<transport::proc::GetListEntryWithMultiSchemaFields> call(control, status);
  if (!call || call.refusedControl() || call.refused(calls::checkFromList(from, 0, status)) ||
      call.refused(calls::checkMultiQualifier(qualifier, true, 0, status)) ||
      call.refused(calls::checkFieldIds(fields, status)) ||
      call.refused(calls::checkMultiSort(sort, status)))
    return call.rc();
  if (!rows) return call.fail(kMsgNoResultOutput);
  call.record(diag::Command::GetListEntryWithMultiSchemaFields, firstRetrieve, maxRetrieve,
              useLocale);
  auto& args = call.args();
  args.from = *from;
  if (fields) args.fields = *fields;
  if (qualifier) args.qualifier = *qualifier;
  if (sort) args.sort = *sort;
  args.firstRetrieve = firstRetrieve;
  args.maxRetrieve = maxRetrieve;
  args.useLocale = useLocale;

  calls::SliceBuffer text;
  bool memoryFailed = false;
  calls::runChunked(call, [&](transport::TextSliceReply& reply, calls::Chunk& chunk) {
    chunk.empty = reply.textLength == 0;
    memoryFailed = !text.append(reply.textLength, reply.text);
    return !memoryFailed;
  });
  if (memoryFailed) call.failAfterRecord(kMsgNoMemory);
  ZQMultiSchemaFieldValueListList result{0, nullptr};
  uint32_t matches = 0;
  if (call.rc() < ZQ_RETURN_ERROR && text.size()) {
    const size_t bound = call.context()->settings.maxResultSize;
    const calls::ServerTraits server = calls::boundServer(call.context(), control);
    calls::ParseResult parsed =
        calls::inflateMultiSchemaText(text.data(), text.size(),
                                      {server.serverCharset, server.clientCharset}, &result,
                                      &matches, bound);
    if (!parsed.ok()) call.failAfterRecord(parsed.message, parsed.detail);
  }
  if (call.rc() >= ZQ_RETURN_ERROR) {
    zq::model::release(result);
    return call.finish();
  }
  *rows = result;
  if (numMatches) *numMatches = matches;
  calls::setLastMatchCount(call.context(), status, matches, numMatches != nullptr, result.count);
  return call.finish();
}
