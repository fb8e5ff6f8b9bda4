// Wire descriptions of the request header and of the transport's records.
#pragma once

#include "frame/alloc.h"
#include "model/codec.h"
#include "model/describe_core.h"
#include "transport/records.h"

namespace zq::model {

namespace detail {

// A header text that older versions send as a fixed name of `width` bytes.
// In memory it is a string pointer: borrowed in requests, owned once decoded.
template <class V>
void fixedText(V& v, char*& text, size_t width, Label label) {
  char buffer[256] = {};
  if constexpr (V::kPass == Pass::encode || V::kPass == Pass::size) {
    copyName(buffer, text, width + 1);
    v.name(buffer, width + 1, width, label);
  } else if constexpr (V::kPass == Pass::decode) {
    v.name(buffer, width + 1, width, label);
    text = dupString(buffer);
    if (!text) v.fail();
  }
}

}  // namespace detail

template <class V>
void describe(V& v, transport::RequestHeader& h) {
  if constexpr (V::kPass == Pass::release || V::kPass == Pass::copy) {
    // Every pointer member, whatever the version it came from.
    v.string(h.user);
    v.string(h.password);
    v.byteArray(h.clientInfo.count, h.clientInfo.bytes);
    v.string(h.reserved);
    for (char*& s : h.localeBlock) v.string(s);
    v.list(h.properties.count, h.properties.items);
    return;
  }
  const int version = v.version();
  v.i32(h.cacheId, "cacheId");
  v.i32(h.operationTime, "operationTime");
  if (version >= 12) {
    v.string(h.user, kUnbounded, "user");
    v.string(h.password, kUnbounded, "password");
  } else {
    detail::fixedText(v, h.user, 31, "user");
    v.suspend(Suspend::namesWhenEncoding);  // the protected password is not text
    detail::fixedText(v, h.password, 31, "password");
    v.resume(Suspend::namesWhenEncoding);
  }
  if (version <= 10) {
    // Only the locale travels, in at most 15 characters.
    detail::fixedText(v, h.localeBlock[0], 15, "locale");
  }
  v.u32(h.clientInfo.type, "clientInfo.type");
  v.byteArray(h.clientInfo.count, h.clientInfo.bytes, "clientInfo");
  if (version >= 11) {
    if (version >= 12)
      v.string(h.reserved, kUnbounded, "reserved");
    else
      detail::fixedText(v, h.reserved, 31, "reserved");
    for (char*& s : h.localeBlock) v.string(s, kUnbounded, "locale");
  }
  v.u32(h.logMask, "logMask");
  v.u32(h.clientOption, "clientOption");
  v.u32(h.clientType, "clientType");
  v.u32(h.timeout, "timeout");
  if (version >= 11) v.list(h.properties.count, h.properties.items, "properties");
  v.i32(h.wordA, "wordA");
  v.u32(h.wordB, "wordB");
  v.u32(h.wordC, "wordC");
  v.u32(h.flags, "flags");
  v.u32(h.wordD, "wordD");
  v.i32(h.wordE, "wordE");
  v.flag(h.headerByte, "headerByte");
}

template <class V>
void describe(V& v, transport::ServerInfoArgs& r) {
  v.member(r.header);
  v.list(r.settings.count, r.settings.items, [](auto& w, uint32_t& x) { w.u32(x); }, "settings");
}

template <class V>
void describe(V& v, transport::ServerInfoReply& r) {
  v.member(r.header);
  v.list(r.settings.count, r.settings.items, "settings");
  v.member(r.status);
}

template <class V>
void describe(V& v, transport::HeaderOnlyArgs& r) {
  v.member(r.header);
}

template <class V>
void describe(V& v, transport::StatusReply& r) {
  v.member(r.header);
  v.member(r.status);
}

}  // namespace zq::model
