// ZQExpandSSMenu (procedure 108): a menu the server defines, built by the
// server from the request's name and value lists.
#include <cstring>

#include "call/call.h"
#include "calls/definition_checks.h"
#include "diag/diag.h"
#include "frame/frame.h"
#include "zqapi/zq_free.h"
#include "zqapi/zq_menus.h"

namespace {

namespace proc = zq::transport::proc;

// Empty lists travel without items.
template <class L>
L sent(const L& list) {
  return list.count ? list : L{0, nullptr};
}

}  // namespace

int ZQExpandSSMenu(ZQControlStruct* control, ZQCharMenuSSStruct* request, ZQCharMenuStruct* menu,
                   ZQStatusList* status) {
  if (menu) *menu = ZQCharMenuStruct{};
  zq::call::Call<proc::ExpandSSMenu> call(control, status);
  if (!call || call.refusedControl()) return call.rc();
  // The menu's name is required and must fit a name.
  if (!request || !request->menuName[0] ||
      strnlen(request->menuName, sizeof request->menuName) >= sizeof request->menuName - 1)
    return call.fail(zq::kMsgBadCharMenu);
  if (call.refused(zq::checks::checkItems(&request->keywordList, status)) ||
      call.refused(zq::checks::checkItems(&request->parameterList, status)) ||
      call.refused(zq::checks::checkItems(&request->qualifierList, status)))
    return call.rc();
  if (!menu) return call.rc();
  call.record(zq::diag::Command::ExpandSSMenu);
  if (call.bind()) {
    ZQCharMenuSSStruct& args = call.args().request;
    memcpy(args.menuName, request->menuName, sizeof args.menuName);
    args.keywordList = sent(request->keywordList);
    args.parameterList = sent(request->parameterList);
    args.qualifierList = sent(request->qualifierList);
    if (auto* reply = call.send()) {
      *menu = reply->menu;
      reply->menu = ZQCharMenuStruct{};
    }
  }
  if (call.rc() >= ZQ_RETURN_ERROR) {
    FreeZQCharMenuStruct(menu, 0);
    *menu = ZQCharMenuStruct{};
  }
  return call.finish(menu);
}
