// Field values for building requests in tests: the value points at the
// caller's text, nothing is allocated.
#pragma once

#include "zqapi/zqapi.h"

namespace zqtest {

inline ZQFieldValueStruct text(ZQInternalId id, const char* s) {
  ZQFieldValueStruct fv{};
  fv.fieldId = id;
  fv.value.dataType = ZQ_DATA_TYPE_CHAR;
  fv.value.u.charValue = const_cast<char*>(s);
  return fv;
}

inline ZQFieldValueStruct integer(ZQInternalId id, int32_t x) {
  ZQFieldValueStruct fv{};
  fv.fieldId = id;
  fv.value.dataType = ZQ_DATA_TYPE_INTEGER;
  fv.value.u.integerValue = x;
  return fv;
}

}  // namespace zqtest
