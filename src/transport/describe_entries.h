// Wire descriptions of the entry and transaction records.
#pragma once

#include "model/model.h"
#include "transport/describe_records.h"
#include "transport/records_entries.h"

namespace zq::model {

namespace detail {
// A form name that is a call argument: a string of at most 255 bytes, 31 in
// version 7.
template <class V>
void formName(V& v, char*& form) {
  v.string(form, v.version() == 7 ? 31 : 255, "form");
}

template <class V>
void internalIds(V& v, ZQInternalIdList& ids, Label label) {
  list(
      v, ids, [](auto& w, ZQInternalId& x) { w.u32(x); }, label);
}
}  // namespace detail

template <class V>
void describe(V& v, transport::GetEntryArgs& r) {
  v.member(r.header);
  detail::formName(v, r.form);
  v.member(r.entryId, "entryId");
  detail::internalIds(v, r.fieldIds, "fieldIds");
  v.u32(r.word, "word");
}

template <class V>
void describe(V& v, transport::GetEntryReply& r) {
  v.member(r.header);
  describeEntryValues(v, r.values);
  v.member(r.status);
}

template <class V>
void describe(V& v, transport::SetEntryArgs& r) {
  v.member(r.header);
  detail::formName(v, r.form);
  v.member(r.entryId, "entryId");
  describeEntryValues(v, r.values);
  v.i32(r.getTime, "getTime");
  v.u32(r.option, "option");
}

template <class V>
void describe(V& v, transport::CreateEntryArgs& r) {
  v.member(r.header);
  detail::formName(v, r.form);
  describeEntryValues(v, r.values);
}

template <class V>
void describe(V& v, transport::EntryIdReply& r) {
  v.member(r.header);
  v.name(r.entryId, "entryId");
  v.member(r.status);
}

template <class V>
void describe(V& v, transport::DeleteEntryArgs& r) {
  v.member(r.header);
  detail::formName(v, r.form);
  v.member(r.entryId, "entryId");
  v.u32(r.option, "option");
}

template <class V>
void describe(V& v, transport::MergeEntryArgs& r) {
  v.member(r.header);
  detail::formName(v, r.form);
  describeEntryValues(v, r.values);
  v.u32(r.mergeType, "mergeType");
}

template <class V>
void describe(V& v, transport::ServiceEntryArgs& r) {
  v.member(r.header);
  detail::formName(v, r.form);
  v.member(r.entryId, "entryId");
  describeEntryValues(v, r.values);
  detail::internalIds(v, r.outputIds, "outputIds");
}

namespace detail {
template <class V>
void xmlDocuments(V& v, char** docs, uint32_t n) {
  static constexpr const char* kLabels[6] = {"document1", "document2", "document3",
                                             "document4", "document5", "document6"};
  for (uint32_t i = 0; i < n; ++i) v.string(docs[i], kUnbounded, kLabels[i]);
}
}  // namespace detail

template <class V, uint32_t N>
void describe(V& v, transport::XmlDocumentsArgs<N>& r) {
  v.member(r.header);
  detail::xmlDocuments(v, r.documents, N);
}

template <class V>
void describe(V& v, transport::XmlDocumentReply& r) {
  v.member(r.header);
  v.string(r.outputDoc, kUnbounded, "outputDoc");
  v.member(r.status);
}

// A queued operation: kind, header, then the arguments of its kind in the
// order of its own procedure's record (the XML kinds: their documents).
template <class V>
void describe(V& v, transport::BulkOperation& op) {
  v.u32(op.kind, "kind");
  v.member(op.header);
  if (const uint32_t n = transport::xmlDocumentCount(op.kind)) {
    detail::xmlDocuments(v, op.documents, n);
    return;
  }
  detail::formName(v, op.form);
  switch (op.kind) {
    case ZQ_BULK_ENTRY_CREATE:
      describeEntryValues(v, op.values);
      break;
    case ZQ_BULK_ENTRY_SET:
      v.member(op.entryId, "entryId");
      describeEntryValues(v, op.values);
      v.i32(op.getTime, "getTime");
      v.u32(op.option, "option");
      break;
    case ZQ_BULK_ENTRY_DELETE:
      v.member(op.entryId, "entryId");
      v.u32(op.option, "option");
      break;
    case ZQ_BULK_ENTRY_MERGE:
      describeEntryValues(v, op.values);
      v.u32(op.option, "mergeType");
      break;
    default:
      v.badTag();
      break;
  }
}

template <class V>
void describe(V& v, transport::BulkEntryArgs& r) {
  v.member(r.header);
  v.list(r.count, r.operations, "operations");
}

template <class V>
void describe(V& v, ZQBulkEntryReturn& s) {
  v.u32(s.entryCallType, "entryCallType");
  switch (s.entryCallType) {
    case ZQ_BULK_ENTRY_CREATE:
    case ZQ_BULK_ENTRY_MERGE:
      v.name(s.u.entry.entryId, "entryId");
      v.member(s.u.entry.status, "status");
      break;
    case ZQ_BULK_ENTRY_SET:
    case ZQ_BULK_ENTRY_DELETE:
    case ZQ_BULK_ENTRY_XML_DELETE:
      v.member(s.u.status, "status");
      break;
    case ZQ_BULK_ENTRY_XML_CREATE:
    case ZQ_BULK_ENTRY_XML_SET:
      v.string(s.u.xml.outputDoc, kUnbounded, "outputDoc");
      v.member(s.u.xml.status, "status");
      break;
    default:
      v.badTag();
      break;
  }
}

template <class V>
void describe(V& v, ZQBulkEntryReturnList& s) {
  list(v, s);
}

template <class V>
void describe(V& v, transport::BulkEntryReply& r) {
  v.member(r.header);
  v.member(r.results, "results");
  v.member(r.status);
}

template <class V>
void describe(V& v, transport::BeginTransactionReply& r) {
  v.member(r.header);
  detail::countedBytes(v, r.handleLength, r.handle, "handle");
  v.member(r.status);
}

template <class V>
void describe(V& v, transport::EndTransactionArgs& r) {
  v.member(r.header);
  v.u32(r.action, "action");
}

}  // namespace zq::model
