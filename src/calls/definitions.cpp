#include "calls/definitions.h"

#include "model/model.h"
#include "transport/describe.h"

namespace zq::calls::defs {

int convertNames(transport::WireTextList& wire, ZQNameList* out, ZQStatusList* status) {
  struct Release {
    transport::WireTextList& list;
    ~Release() { model::release(list); }
  } release{wire};
  if (!out) return ZQ_RETURN_OK;
  *out = ZQNameList{};
  if (wire.count == 0 || !wire.items) return ZQ_RETURN_OK;
  for (uint32_t i = 0; i < wire.count; ++i) {
    const transport::WireText& t = wire.items[i];
    if (t.text && strnlen(t.text, t.length) >= sizeof(ZQNameType))
      return addError(status, kMsgTooLong);
  }
  auto* names = static_cast<ZQNameType*>(ZQCalloc(wire.count, sizeof(ZQNameType)));
  if (!names) return addError(status, kMsgNoMemory);
  for (uint32_t i = 0; i < wire.count; ++i) {
    const transport::WireText& t = wire.items[i];
    if (t.text) memcpy(names[i], t.text, strnlen(t.text, t.length));
  }
  out->count = wire.count;
  out->items = names;
  return ZQ_RETURN_OK;
}

}  // namespace zq::calls::defs
