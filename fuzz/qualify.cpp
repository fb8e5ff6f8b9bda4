// The qualification language a person types, against a small form: text,
// numbers, an enumeration, a date and the status history.
#include "fuzz_target.h"
#include "qualify/qualify.h"

namespace {

const zq::qualify::FieldTable& table() {
  static const zq::qualify::FieldTable fields = [] {
    zq::qualify::FieldTable t;
    t.fields.push_back({1, ZQ_DATA_TYPE_CHAR, "Request ID", {}});
    t.fields.push_back({zq::qualify::kStatusField, ZQ_DATA_TYPE_ENUM, "Status",
                        {{"New", 0}, {"Open", 1}, {"Closed", 2}}});
    t.fields.push_back({8, ZQ_DATA_TYPE_CHAR, "Short Description", {}});
    t.fields.push_back({zq::qualify::kStatusHistoryField, ZQ_DATA_TYPE_CHAR, "Status-History", {}});
    t.fields.push_back({536870913, ZQ_DATA_TYPE_INTEGER, "Priority", {}});
    t.fields.push_back({536870914, ZQ_DATA_TYPE_REAL, "Cost", {}});
    t.fields.push_back({536870915, ZQ_DATA_TYPE_TIME, "Due", {}});
    t.fields.push_back({536870916, ZQ_DATA_TYPE_DECIMAL, "Amount", {}});
    t.fields.push_back({536870917, ZQ_DATA_TYPE_CURRENCY, "Price", {}});
    return t;
  }();
  return fields;
}

}  // namespace

ZQ_FUZZ_TARGET(qualify)(const uint8_t* data, size_t size) {
  const std::string text = zqfuzz::text(data, size);
  const auto keywords = [](int keyword, std::string& value) -> int32_t {
    value = keyword % 2 ? "Demo" : "";
    return 0;
  };
  ZQStatusList s{0, nullptr};
  ZQQualifierStruct qual{};
  zq::qualify::parse(table(), text.c_str(), keywords, &qual, &s);
  FreeZQQualifierStruct(&qual, 0);
  FreeZQStatusList(&s, 0);
  return 0;
}
