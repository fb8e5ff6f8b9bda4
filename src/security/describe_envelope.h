// Wire descriptions of the envelope records.
#pragma once

#include "model/model.h"
#include "security/envelope.h"

namespace zq::model {

template <class V>
void describe(V& v, security::EnvelopeArgs& r) {
  v.bytes(r.blockLength, r.block, "block");
  v.i32(r.verifier, "verifier");
}

template <class V>
void describe(V& v, security::EnvelopeReply& r) {
  v.bytes(r.blockLength, r.block, "block");
  v.u32(r.word, "word");
}

}  // namespace zq::model
