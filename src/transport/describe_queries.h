// Wire descriptions of the query records (records_queries.h).
#pragma once

#include "model/describe.h"
#include "transport/describe_records.h"
#include "transport/records_queries.h"

namespace zq::model {

namespace detail {

// A name that is a call argument: a string of at most 255 (31 in version 7).
template <class V>
void argumentName(V& v, char*& name, Label label) {
  v.string(name, v.version() <= 7 ? 31 : 255, label);
}

// The query part shared by procedures 5, 73, 135 and 181.
template <class V, class R>
void describeQuery(V& v, R& r) {
  v.member(r.header);
  argumentName(v, r.form, "form");
  v.member(r.qualifier, "qualifier");
  v.member(r.fields, "fields");
  v.member(r.sort, "sort");
}

}  // namespace detail

template <class V>
void describe(V& v, transport::ListEntryArgs& r) {
  detail::describeQuery(v, r);
  v.u32(r.firstRetrieve, "firstRetrieve");
  v.u32(r.maxRetrieve, "maxRetrieve");
  v.flag(r.useLocale, "useLocale");
  v.u32(r.option, "option");
}

template <class V>
void describe(V& v, transport::ListEntryReply& r) {
  v.member(r.header);
  v.member(r.entries, "entries");
  v.u32(r.matches, "matches");
  v.member(r.status);
}

// Versions 7 to 9 answer procedure 73 with the entries themselves.
template <class V>
void describe(V& v, transport::ListEntryWithFieldsReply& r) {
  if constexpr (V::kPass == Pass::release || V::kPass == Pass::copy) {
    v.member(r.header);
    v.bytes(r.textLength, r.text);
    v.member(r.entries);
    v.member(r.status);
    return;
  }
  v.member(r.header);
  if (v.version() <= 9) {
    v.member(r.entries, "entries");
    v.u32(r.matches, "matches");
  } else {
    detail::countedBytes(v, r.textLength, r.text, "text");
  }
  v.member(r.status);
}

template <class V>
void describe(V& v, transport::OneEntryArgs& r) {
  detail::describeQuery(v, r);
  v.flag(r.useLocale, "useLocale");
}

template <class V>
void describe(V& v, transport::OneEntryReply& r) {
  v.member(r.header);
  v.member(r.entries, "entries");
  v.u32(r.matches, "matches");
  v.member(r.status);
}

template <class V>
void describe(V& v, transport::ListEntryBlocksArgs& r) {
  detail::describeQuery(v, r);
  v.u32(r.rowsPerBlock, "rowsPerBlock");
  v.u32(r.firstRetrieve, "firstRetrieve");
  v.u32(r.maxRetrieve, "maxRetrieve");
  v.flag(r.useLocale, "useLocale");
}

template <class V>
void describe(V& v, transport::ListEntryBlocksReply& r) {
  v.member(r.header);
  v.member(r.blocks, "blocks");
  v.u32(r.returnedRows, "returnedRows");
  v.u32(r.matches, "matches");
  v.member(r.status);
}

template <class V>
void describe(V& v, transport::StatisticsArgs& r) {
  v.member(r.header);
  detail::argumentName(v, r.form, "form");
  v.member(r.qualifier, "qualifier");
  v.member(r.target, "target");
  v.u32(r.statistic, "statistic");
  v.member(r.groupBy, "groupBy");
}

template <class V>
void describe(V& v, transport::StatisticsReply& r) {
  v.member(r.header);
  v.member(r.results, "results");
  v.member(r.status);
}

template <class V>
void describe(V& v, transport::MultipleEntriesArgs& r) {
  v.member(r.header);
  detail::argumentName(v, r.form, "form");
  v.member(r.ids, "ids");
  v.member(r.fields, "fields");
}

template <class V>
void describe(V& v, transport::MultipleEntriesReply& r) {
  v.member(r.header);
  v.member(r.exists, "exists");
  list(
      v, r.values, [](auto& w, ZQFieldValueList& list) { describeEntryValues(w, list); }, "values");
  v.u32(r.valueCount, "valueCount");
  v.u32(r.valuesPerEntry, "valuesPerEntry");
  v.member(r.status);
}

template <class V>
void describe(V& v, transport::EntryBlobArgs& r) {
  v.member(r.header);
  detail::argumentName(v, r.form, "form");
  v.member(r.id, "id");
  v.u32(r.fieldId, "fieldId");
}

template <class V>
void describe(V& v, transport::EntryBlobReply& r) {
  v.member(r.header);
  detail::countedBytes(v, r.length, r.bytes, "bytes");
  v.member(r.status);
}

template <class V>
void describe(V& v, transport::MultiSchemaArgs& r) {
  v.member(r.header);
  v.member(r.from, "from");
  v.member(r.fields, "fields");
  v.member(r.qualifier, "qualifier");
  v.member(r.sort, "sort");
  v.u32(r.firstRetrieve, "firstRetrieve");
  v.u32(r.maxRetrieve, "maxRetrieve");
  v.flag(r.useLocale, "useLocale");
}

template <class V>
void describe(V& v, transport::TextSliceReply& r) {
  v.member(r.header);
  detail::countedBytes(v, r.textLength, r.text, "text");
  v.member(r.status);
}

}  // namespace zq::model
