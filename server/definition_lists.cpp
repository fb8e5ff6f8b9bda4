#include "definition_lists.h"

#include "model/describe_core.h"

namespace zqserver {

namespace {
bool sameValue(ZQValueStruct& a, ZQValueStruct& b) {
  std::lock_guard<std::recursive_mutex> hold(recordCodecMutex());
  zq::model::CodecScope scope(kDefinitionRecordVersion, recordContext());
  std::vector<char> x, y;
  return zq::model::encodeToBuffer(a, kDefinitionRecordVersion, x) &&
         zq::model::encodeToBuffer(b, kDefinitionRecordVersion, y) && x == y;
}
}  // namespace

bool propertiesMatch(const ZQPropList& have, const ZQPropList& wanted) {
  for (uint32_t i = 0; wanted.items && i < wanted.count; ++i) {
    bool found = false;
    for (uint32_t j = 0; !found && have.items && j < have.count; ++j)
      found = have.items[j].propertyTag == wanted.items[i].propertyTag &&
              sameValue(have.items[j].value, wanted.items[i].value);
    if (!found) return false;
  }
  return true;
}

bool wireNames(const std::vector<std::string>& names, zq::transport::WireTextList& out) {
  out = zq::transport::WireTextList{};
  if (names.empty()) return true;
  out.items = static_cast<zq::transport::WireText*>(
      ZQCalloc(names.size(), sizeof(zq::transport::WireText)));
  if (!out.items) return false;
  out.count = static_cast<uint32_t>(names.size());
  for (size_t i = 0; i < names.size(); ++i) {
    out.items[i].text = zq::dupString(names[i].c_str());
    if (!out.items[i].text) return false;  // the reply releases what was made
    out.items[i].length = static_cast<uint32_t>(names[i].size() + 1);
  }
  return true;
}

}  // namespace zqserver
