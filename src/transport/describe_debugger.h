// Wire descriptions of the workflow debugger records (records_debugger.h).
#pragma once

#include "model/describe.h"
#include "transport/describe_entries.h"
#include "transport/describe_records.h"
#include "transport/records_debugger.h"

namespace zq::model {

template <class V>
void describe(V& v, transport::WfdWordArgs& r) {
  v.member(r.header);
  v.u32(r.value, "value");
}

template <class V>
void describe(V& v, transport::WfdExecuteReply& r) {
  v.member(r.header);
  v.u32Array(r.result, 3, "result");
  v.member(r.status);
}

template <class V>
void describe(V& v, transport::WfdLocationReply& r) {
  v.member(r.header);
  v.member(r.location, "location");
  v.member(r.status);
}

template <class V>
void describe(V& v, transport::WfdFieldValuesReply& r) {
  v.member(r.header);
  describeEntryValues(v, r.entryValues);
  describeEntryValues(v, r.databaseValues);
  v.member(r.status);
}

template <class V>
void describe(V& v, transport::WfdSetFieldValuesArgs& r) {
  v.member(r.header);
  describeEntryValues(v, r.entryValues);
  describeEntryValues(v, r.databaseValues);
}

template <class V>
void describe(V& v, transport::WfdWordReply& r) {
  v.member(r.header);
  v.u32(r.value, "value");
  v.member(r.status);
}

template <class V>
void describe(V& v, transport::WfdQualifierReply& r) {
  v.member(r.header);
  v.member(r.qualifier, "qualifier");
  v.member(r.status);
}

template <class V>
void describe(V& v, transport::WfdKeywordReply& r) {
  v.member(r.header);
  v.member(r.value, "value");
  v.member(r.status);
}

template <class V>
void describe(V& v, transport::WfdUserContextReply& r) {
  v.member(r.header);
  v.member(r.context, "context");
  v.member(r.status);
}

template <class V>
void describe(V& v, transport::WfdBreakpointArgs& r) {
  v.member(r.header);
  v.member(r.breakpoint, "breakpoint");
}

template <class V>
void describe(V& v, transport::WfdBreakpointListReply& r) {
  v.member(r.header);
  v.member(r.breakpoints, "breakpoints");
  v.member(r.status);
}

}  // namespace zq::model
