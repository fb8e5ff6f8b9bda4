// Small helpers shared by the security tests.
#pragma once

#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "zqapi/zq_security.h"
#include "frame/alloc.h"
#include "zqapi/zq_session.h"

namespace zqtest {

using Bytes = std::vector<uint8_t>;

inline Bytes fromHex(const std::string& hex) {
  Bytes out;
  for (size_t i = 0; i + 1 < hex.size(); i += 2)
    out.push_back(static_cast<uint8_t>(std::stoul(hex.substr(i, 2), nullptr, 16)));
  return out;
}

inline Bytes bytesOf(const std::string& text) {
  return Bytes(text.begin(), text.end());
}

// Takes a (pointer, length) output of the library and frees it.
inline Bytes take(unsigned char* data, uint32_t length) {
  Bytes out(data, data + length);
  ZQFree(data);
  return out;
}

// A DES key record over owned bytes.
struct DesKey {
  Bytes bytes;
  ZQEncryptKeyStruct record{};
  DesKey(const std::string& keyAndVectorHex, const std::string& macHex) {
    bytes = fromHex(keyAndVectorHex);
    record.keyBytes = bytes.data();
    record.keyLength = static_cast<int32_t>(bytes.size());
    Bytes mac = fromHex(macHex);
    for (size_t i = 0; i < 8 && i < mac.size(); ++i) record.macKey[i] = mac[i];
    record.algorithm = ZQ_DATA_ALG_DES;
  }
};

}  // namespace zqtest
