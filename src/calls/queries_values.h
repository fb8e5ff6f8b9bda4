// Several entries by id (procedure 67): the values of every reply gathered
// into one flat sequence, joining a text the server cut between replies.
#pragma once

#include <vector>

#include "transport/transport.h"

namespace zq::calls {

class FlatValues {
 public:
  FlatValues() = default;
  ~FlatValues();
  FlatValues(const FlatValues&) = delete;
  FlatValues& operator=(const FlatValues&) = delete;
  std::vector<ZQFieldValueStruct>& values() { return values_; }

  // Appends a reply's values (they move out of it). The reply's first value
  // continues the last gathered one only where the server marked the cut,
  // the field ids agree, both are texts, and the field is neither 0 nor the
  // status history (15). False when memory runs out.
  bool append(transport::MultipleEntriesReply& reply);

 private:
  bool continues(const ZQFieldValueStruct& fv) const;
  static bool join(ZQValueStruct& into, const ZQValueStruct& rest);

  std::vector<ZQFieldValueStruct> values_;
};

}  // namespace zq::calls
