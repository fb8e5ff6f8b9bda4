// Wire descriptions of the request header and of the transport's records
// (the envelope's are security's: describe_envelope.h).
#pragma once

#include <cstring>
#include <string>

#include "frame/frame.h"
#include "model/model.h"
#include "security/describe_envelope.h"
#include "transport/records.h"

namespace zq::model {

namespace detail {

// A header text that older versions send as a fixed field of `width` bytes,
// the last kept for the terminator (a 31-byte user holds 30 characters).
// In memory it is a string pointer: borrowed in requests, owned once decoded.
template <class V>
void fixedText(V& v, char*& text, size_t width, Label label) {
  char buffer[256] = {};
  if constexpr (V::kPass == Pass::encode || V::kPass == Pass::size) {
    copyName(buffer, text, width);
    v.name(buffer, width + 1, width, label);
  } else if constexpr (V::kPass == Pass::decode) {
    v.name(buffer, width + 1, width, label);
    text = dupString(buffer);
    if (!text) v.fail();
  }
}

// Version 9 and older take only the authentication string of the client
// information ("length:authentication:host"): the same number of bytes, the
// string first and zeros after it. A text without its leading length loses
// everything.
template <class V>
void legacyClientInfo(V& v, const ZQByteList& info) {
  std::string reduced(info.count, '\0');
  if (info.bytes && info.count) {
    const char* text = reinterpret_cast<const char*>(info.bytes);
    size_t digits = 0;
    size_t length = 0;
    while (digits < info.count && text[digits] >= '0' && text[digits] <= '9' && length < info.count)
      length = length * 10 + static_cast<size_t>(text[digits++] - '0');
    if (digits > 0 && digits < info.count && text[digits] == ':') {
      const size_t start = digits + 1;
      // The terminator of the whole text stays within the bytes.
      const size_t room = info.count > start ? info.count - start - 1 : 0;
      const size_t n = length < room ? length : room;
      memcpy(reduced.data(), text + start, n);
    }
  }
  uint32_t count = info.count;
  auto* bytes = reinterpret_cast<unsigned char*>(reduced.data());
  v.byteArray(count, bytes, "clientInfo");
}

// Counted bytes that no conversion may touch.
template <class V>
void countedBytes(V& v, uint32_t& length, unsigned char*& bytes, Label label) {
  v.suspend(Suspend::binaryText);
  v.bytes(length, bytes, label);
  v.resume(Suspend::binaryText);
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
    list(v, h.properties);
    return;
  }
  const int version = v.version();
  v.i32(h.cacheId, "cacheId");
  v.i32(h.operationTime, "operationTime");
  if (since(v, 12)) {
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
    detail::fixedText(v, h.localeBlock[0], 16, "locale");
  }
  v.u32(h.clientInfo.type, "clientInfo.type");
  if constexpr (V::kPass == Pass::encode || V::kPass == Pass::size) {
    if (version <= 9) {
      detail::legacyClientInfo(v, h.clientInfo);
    } else {
      v.byteArray(h.clientInfo.count, h.clientInfo.bytes, "clientInfo");
    }
  } else {
    v.byteArray(h.clientInfo.count, h.clientInfo.bytes, "clientInfo");
  }
  if (since(v, 11)) {
    if (since(v, 12))
      v.string(h.reserved, kUnbounded, "reserved");
    else
      detail::fixedText(v, h.reserved, 31, "reserved");
    for (char*& s : h.localeBlock) v.string(s, kUnbounded, "locale");
  }
  v.u32(h.logMask, "logMask");
  v.u32(h.clientOption, "clientOption");
  v.u32(h.clientType, "clientType");
  v.u32(h.timeout, "timeout");
  if (since(v, 11)) list(v, h.properties, "properties");
  v.i32(h.callWordA, "callWordA");
  v.u32(h.continuation, "continuation");
  v.u32(h.callWordC, "callWordC");
  v.u32(h.flags, "flags");
  v.u32(h.responseSize, "responseSize");
  v.i32(h.chunkToken, "chunkToken");
  v.flag(h.lastChunk, "lastChunk");
}

template <class V>
void describe(V& v, transport::ServerInfoArgs& r) {
  v.member(r.header);
  list(
      v, r.settings, [](auto& w, uint32_t& x) { w.u32(x); }, "settings");
}

template <class V>
void describe(V& v, transport::ServerInfoReply& r) {
  v.member(r.header);
  list(v, r.settings, "settings");
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

template <class V>
void describe(V& v, transport::KeyHelloArgs& r) {
  v.member(r.header);
  fixedOpaque(v, r.clientRandom, "clientRandom");
}

template <class V>
void describe(V& v, transport::KeyHelloReply& r) {
  v.member(r.header);
  fixedOpaque(v, r.serverRandom, "serverRandom");
  v.i32(r.word, "word");
  v.member(r.status);
}

template <class V>
void describe(V& v, transport::KeyTransferArgs& r) {
  v.member(r.header);
  v.i32(r.verifier, "verifier");
  detail::countedBytes(v, r.secretLength, r.secret, "secret");
}

template <class V>
void describe(V& v, transport::KeyTransferReply& r) {
  v.member(r.header);
  detail::countedBytes(v, r.blockLength, r.block, "block");
  v.member(r.status);
}

}  // namespace zq::model
