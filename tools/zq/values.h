// Field values typed on the command line and values printed from the server.
#pragma once

#include <memory>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "zqapi/zqapi.h"

namespace zqcli {

// Field values read from "ID[:TYPE]=VALUE" arguments. The list points into
// storage held here, so it lives as long as this object.
class FieldValues {
 public:
  // false with a one-line reason naming the argument when it is malformed.
  bool add(const std::string& argument, std::string& error);
  ZQFieldValueList* list();
  bool empty() const { return items_.empty(); }

 private:
  std::vector<ZQFieldValueStruct> items_;
  std::vector<std::unique_ptr<std::string>> texts_;
  std::vector<std::unique_ptr<ZQAttachStruct>> attachments_;
  ZQFieldValueList list_{0, nullptr};
};

// A field id: a decimal from 1 to 4294967295.
bool parseFieldId(const std::string& text, ZQInternalId& id);
// A comma-separated list of field ids ("1,8,536870913").
bool parseFieldIds(const std::string& text, std::vector<ZQInternalId>& ids, std::string& error);
// A sort list "ID[:asc|desc],...".
bool parseSort(const std::string& text, std::vector<ZQSortStruct>& sort, std::string& error);
// A whole number within [low, high].
bool parseNumber(const std::string& text, long long low, long long high, long long& value);

// The name of a data type as zq's commands write it ("char", "currency",
// "page holder"...), or its number for a type zq does not know.
std::string dataTypeName(uint32_t type);

// A value as text for a table or CSV, and as JSON.
std::string valueText(const ZQValueStruct& value);
nlohmann::json valueJson(const ZQValueStruct& value);

}  // namespace zqcli
