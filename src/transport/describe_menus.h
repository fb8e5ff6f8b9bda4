// Wire descriptions of the menu-expansion records (records_menus.h).
#pragma once

#include "model/describe.h"
#include "transport/describe_records.h"
#include "transport/records_menus.h"

namespace zq::model {

template <class V>
void describe(V& v, transport::MenuFileArgs& r) {
  v.member(r.header);
  v.string(r.fileName, 255, "fileName");
}

template <class V>
void describe(V& v, transport::MenuFileReply& r) {
  v.member(r.header);
  v.string(r.content, kUnbounded, "content");
  v.member(r.status);
}

template <class V>
void describe(V& v, transport::QueryMenuArgs& r) {
  v.member(r.header);
  v.member(r.query, "query");
}

template <class V>
void describe(V& v, transport::ServerMenuArgs& r) {
  v.member(r.header);
  v.member(r.request, "request");
}

template <class V>
void describe(V& v, transport::DataDictionaryMenuArgs& r) {
  v.member(r.header);
  v.member(r.dictionary, "dictionary");
}

template <class V>
void describe(V& v, transport::MenuReply& r) {
  v.member(r.header);
  v.member(r.menu, "menu");
  v.member(r.status);
}

}  // namespace zq::model
