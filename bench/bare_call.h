// The bare side of the frame benchmarks: the request's bytes, encoded once,
// sent as they are by clnt_call (the reply is read with
// zq::model::xdrProc<Reply>()).
#pragma once

#include <rpc/rpc.h>

#include <vector>

namespace zqbench {

inline bool_t putRaw(XDR* xdrs, void* data, u_int) {
  auto* bytes = static_cast<std::vector<char>*>(data);
  return xdr_opaque(xdrs, bytes->data(), static_cast<u_int>(bytes->size()));
}

inline xdrproc_t rawRequest() {
  return reinterpret_cast<xdrproc_t>(&putRaw);
}

}  // namespace zqbench
