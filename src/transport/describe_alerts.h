// Wire descriptions of the alert, export and import records (records_alerts.h).
#pragma once

#include "model/describe.h"
#include "transport/describe_records.h"
#include "transport/records_alerts.h"

namespace zq::model {

template <class V>
void describe(V& v, transport::AlertRegistrationArgs& r) {
  v.member(r.header);
  v.string(r.clientAddress, 64, "clientAddress");
  v.u32(r.port, "port");
  v.u32(r.flags, "flags");
  v.string(r.serverAddress, 15, "serverAddress");
}

template <class V>
void describe(V& v, transport::AlertUsersReply& r) {
  v.member(r.header);
  v.member(r.users, "users");
  v.member(r.status);
}

template <class V>
void describe(V& v, transport::AlertCountArgs& r) {
  v.member(r.header);
  v.withVersion(7, [&] { v.member(r.qualifier, "qualifier"); });
}

template <class V>
void describe(V& v, transport::AlertCountReply& r) {
  v.member(r.header);
  v.u32(r.count, "count");
  v.member(r.status);
}

template <class V>
void describe(V& v, transport::ExportArgs& r) {
  v.member(r.header);
  v.member(r.items, "items");
  v.string(r.displayTag, 255, "displayTag");
  v.u32(r.viewType, "viewType");
  v.u32(r.lockType, "lockType");
  v.string(r.lockKey, kUnbounded, "lockKey");
}

template <class V>
void describe(V& v, transport::ExportReply& r) {
  v.member(r.header);
  detail::countedBytes(v, r.length, r.bytes, "bytes");
  v.member(r.status);
}

template <class V>
void describe(V& v, transport::ImportArgs& r) {
  v.member(r.header);
  v.member(r.items, "items");
  detail::countedBytes(v, r.length, r.bytes, "bytes");
  v.u32(r.option, "option");
}

}  // namespace zq::model
