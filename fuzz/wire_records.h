// Shared by the reply and request targets: the procedure table's records
// decoded from the input as the library (replies) and zqserverd (requests)
// decode them. Input: procedure number (2 bytes, big-endian), protocol
// version (1 byte, 7 + n % 8), then the record.
#pragma once

#include <rpc/xdr.h>

#include <cstdlib>

#include "frame/context.h"
#include "model/codec_base.h"
#include "transport/procedures.h"

namespace zqfuzz {

inline const std::vector<const zq::transport::Procedure*>& described() {
  static const std::vector<const zq::transport::Procedure*> all = [] {
    std::vector<const zq::transport::Procedure*> v;
    for (const zq::transport::Procedure& p : zq::transport::procedures())
      if (p.described()) v.push_back(&p);
    return v;
  }();
  return all;
}

inline int decodeRecord(const uint8_t* data, size_t size, bool replies) {
  if (size < 3) return 0;
  const uint32_t number = (uint32_t{data[0]} << 8) | data[1];
  const zq::transport::Procedure* p = zq::transport::findProcedure(number);
  if (!p || !p->described()) p = described()[number % described().size()];
  const int version = 7 + data[2] % 8;
  if (!zq::transport::procedureInVersion(*p, version)) return 0;
  static ZQThreadContext* ctx = zq::createContext();
  zq::model::CodecScope scope(version, ctx);
  const size_t recordSize = replies ? p->replySize : p->argsSize;
  void* record = calloc(1, recordSize);
  if (!record) return 0;
  XDR x;
  xdrmem_create(&x, reinterpret_cast<char*>(const_cast<uint8_t*>(data + 3)),
                static_cast<u_int>(size - 3), XDR_DECODE);
  (replies ? p->reply : p->args)(&x, record, 0);
  xdr_destroy(&x);
  (replies ? p->freeReply : p->freeArgs)(record);
  free(record);
  return 0;
}

}  // namespace zqfuzz
