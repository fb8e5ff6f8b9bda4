// The view calls: ZQGetVUI, ZQSetVUI, ZQCreateVUI, ZQDeleteVUI,
// ZQGetListVUI and ZQGetMultipleVUIs.
#include <cstring>

#include "calls/checks.h"
#include "calls/definition_checks.h"
#include "calls/definitions.h"
#include "diag/diag.h"
#include "diag/record_described.h"
#include "model/model.h"
#include "zqapi/zq_definitions.h"

namespace zq::calls {
namespace {

using call::Call;
using defs::Mask;
namespace proc = transport::proc;
namespace wanted = transport::wanted;
namespace changed = transport::changed;

int checkLocale(const char* locale, ZQStatusList* status) {
  return locale && ZQServerTextLength(locale) > ZQ_MAX_LOCALE_SIZE ? addError(status, kMsgTooLong)
                                                                   : ZQ_RETURN_OK;
}

int checkViewInput(const char* vuiName, const char* locale, ZQPropList* properties,
                   const char* owner, ZQStatusList* status) {
  int rc = ZQCheckName(vuiName, 1, status);
  if (rc < ZQ_RETURN_ERROR) rc = checkLocale(locale, status);
  if (rc < ZQ_RETURN_ERROR) rc = checks::checkProperties(properties, status);
  if (rc < ZQ_RETURN_ERROR) rc = ZQCheckName(owner, 1, status);
  return rc;
}

void fillParts(transport::ViewParts& p, const char* vuiName, const char* locale,
               const uint32_t* vuiType, ZQPropList* properties, const char* helpText,
               const char* owner, const char* changeDiary) {
  copyName(p.viewName, vuiName, sizeof p.viewName);
  p.locale = const_cast<char*>(locale);
  if (vuiType) p.viewType = *vuiType;
  if (properties) p.displayProperties = *properties;
  p.common.helpText = const_cast<char*>(helpText);
  copyName(p.common.owner, owner, sizeof p.common.owner);
  p.common.changeDiary = const_cast<char*>(changeDiary);
}

// The returned locales into the caller's fixed-width list; a locale too long
// for it leaves the list empty and adds 233.
int convertLocales(ZQTextStringList& wire, ZQLocaleList* out, ZQStatusList* status) {
  struct Release {
    ZQTextStringList& list;
    ~Release() { model::release(list); }
  } release{wire};
  if (!out || wire.count == 0 || !wire.items) return ZQ_RETURN_OK;
  for (uint32_t i = 0; i < wire.count; ++i)
    if (wire.items[i] && strlen(wire.items[i]) > ZQ_MAX_LOCALE_SIZE)
      return addError(status, kMsgNullArgument);
  auto* items = static_cast<ZQLocaleType*>(ZQCalloc(wire.count, sizeof(ZQLocaleType)));
  if (!items) return addError(status, kMsgNoMemory);
  for (uint32_t i = 0; i < wire.count; ++i) copyName(items[i], wire.items[i], sizeof items[i]);
  out->count = wire.count;
  out->items = items;
  return ZQ_RETURN_OK;
}

}  // namespace
}  // namespace zq::calls

using namespace zq;
using namespace zq::calls;

extern "C" {

int ZQGetVUI(ZQControlStruct* control, const char* form, ZQInternalId vuiId, ZQNameType vuiName,
             char* locale, uint32_t* vuiType, ZQPropList* displayProperties, char** helpText,
             ZQTimestamp* timestamp, ZQAccessNameType owner, ZQAccessNameType lastChanged,
             char** changeDiary, ZQStatusList* status) {
  defs::clearAll(vuiName, locale, vuiType, displayProperties, helpText, timestamp, owner,
                 lastChanged, changeDiary);
  Call<proc::GetVUI> call(control, status);
  if (!call || call.refusedControl() || call.refused(ZQCheckName(form, 0, status)))
    return call.rc();
  call.record(diag::Command::GetVUI, form, vuiId);
  if (call.bind()) {
    auto& a = call.args();
    a.form = const_cast<char*>(form);
    a.viewId = vuiId;
    a.wanted = Mask()(vuiName, wanted::kViewName)(locale, wanted::kViewLocale)(
                   vuiType, wanted::kViewType)(displayProperties, wanted::kViewProperties)(
                   helpText, wanted::kViewHelp)(changeDiary, wanted::kViewDiary)(
                   owner, wanted::kViewOwner)(lastChanged, wanted::kViewLastChanged)
                   .value();
    if (auto* reply = call.send()) {
      transport::ViewParts& v = reply->view;
      defs::takeName(vuiName, v.viewName, sizeof(ZQNameType));
      defs::takeName(locale, v.locale, ZQ_MAX_LOCALE_SIZE + 1);
      if (vuiType) *vuiType = v.viewType;
      defs::take(displayProperties, v.displayProperties);
      defs::take(helpText, v.common.helpText);
      if (timestamp) *timestamp = v.common.timestamp;
      defs::takeName(owner, v.common.owner, sizeof(ZQAccessNameType));
      defs::takeName(lastChanged, v.common.lastChanged, sizeof(ZQAccessNameType));
      defs::take(changeDiary, v.common.changeDiary);
    }
  }
  return call.finish(vuiName, locale, vuiType, displayProperties, helpText, timestamp, owner,
                     lastChanged, changeDiary);
}

int ZQSetVUI(ZQControlStruct* control, const char* form, ZQInternalId vuiId, const char* vuiName,
             const char* locale, uint32_t* vuiType, ZQPropList* displayProperties,
             const char* helpText, const char* owner, const char* changeDiary,
             ZQStatusList* status) {
  Call<proc::SetVUI> call(control, status);
  if (!call || call.refusedControl() || call.refused(ZQCheckName(form, 0, status)))
    return call.rc();
  const uint32_t parts =
      Mask()(vuiName, changed::kViewName)(locale, changed::kViewLocale)(
          vuiType, changed::kViewType)(displayProperties, changed::kViewProperties)(
          helpText, changed::kViewHelp)(owner, changed::kViewOwner)(changeDiary,
                                                                    changed::kViewDiary)
          .value();
  if (parts == 0) return defs::nothingToChange(call);
  if (call.refused(checkViewInput(vuiName, locale, displayProperties, owner, status)))
    return call.rc();
  call.record(diag::Command::SetVUI, form, vuiId, vuiName, locale, diag::optional(vuiType),
              diag::described(displayProperties), diag::LongText{helpText}, owner,
              diag::LongText{changeDiary});
  if (call.bind()) {
    auto& a = call.args();
    a.form = const_cast<char*>(form);
    a.viewId = vuiId;
    a.changed = parts;
    fillParts(a.view, vuiName, locale, vuiType, displayProperties, helpText, owner, changeDiary);
    call.send();
  }
  return call.finish();
}

int ZQCreateVUI(ZQControlStruct* control, const char* form, ZQInternalId* vuiId,
                const char* vuiName, const char* locale, uint32_t vuiType,
                ZQPropList* displayProperties, const char* helpText, const char* owner,
                const char* changeDiary, ZQStatusList* status) {
  Call<proc::CreateVUI> call(control, status);
  if (!call || call.refusedControl() || call.refused(ZQCheckName(form, 0, status)))
    return call.rc();
  if (!vuiId) return call.fail(kMsgIdMissing);
  if (call.refused(checkViewInput(vuiName, locale, displayProperties, owner, status)))
    return call.rc();
  call.record(diag::Command::CreateVUI, form, *vuiId, vuiName, locale, vuiType,
              diag::described(displayProperties), diag::LongText{helpText}, owner,
              diag::LongText{changeDiary});
  if (call.bind()) {
    auto& a = call.args();
    a.form = const_cast<char*>(form);
    a.viewId = *vuiId;
    fillParts(a.view, vuiName, locale, &vuiType, displayProperties, helpText, owner, changeDiary);
    if (auto* reply = call.send()) {
      if (call.rc() < ZQ_RETURN_ERROR) *vuiId = reply->id;
    }
  }
  return call.finish(vuiId);
}

int ZQDeleteVUI(ZQControlStruct* control, const char* form, ZQInternalId vuiId,
                ZQStatusList* status) {
  Call<proc::DeleteVUI> call(control, status);
  if (!call || call.refusedControl() || call.refused(ZQCheckName(form, 0, status)))
    return call.rc();
  call.record(diag::Command::DeleteVUI, form, vuiId);
  if (call.bind()) {
    call.args().form = const_cast<char*>(form);
    call.args().viewId = vuiId;
    call.send();
  }
  return call.finish();
}

int ZQGetListVUI(ZQControlStruct* control, const char* form, ZQTimestamp changedSince,
                 ZQInternalIdList* vuiIds, ZQStatusList* status) {
  defs::clear(vuiIds);
  Call<proc::GetListVUI> call(control, status);
  if (!call || call.refusedControl() || call.refused(ZQCheckName(form, 0, status)))
    return call.rc();
  if (!vuiIds) return call.fail(kMsgNoResultOutput);
  call.record(diag::Command::GetListVUI, form, static_cast<uint32_t>(changedSince));
  if (call.bind()) {
    call.args().form = const_cast<char*>(form);
    call.args().changedSince = changedSince;
    if (auto* reply = call.send()) defs::take(vuiIds, reply->ids);
  }
  return call.finish(vuiIds);
}

int ZQGetMultipleVUIs(ZQControlStruct* control, const char* form, ZQInternalIdList* wantedIds,
                      ZQTimestamp changedSince, ZQBooleanList* exists, ZQInternalIdList* vuiIds,
                      ZQNameList* names, ZQLocaleList* locales, ZQUnsignedIntList* types,
                      ZQPropListList* displayProperties, ZQTextStringList* helpTexts,
                      ZQTimestampList* timestamps, ZQAccessNameList* owners,
                      ZQAccessNameList* lastChanged, ZQTextStringList* changeDiaries,
                      ZQStatusList* status) {
  defs::clearAll(exists, vuiIds, names, locales, types, displayProperties, helpTexts, timestamps,
                 owners, lastChanged, changeDiaries);
  Call<proc::GetMultipleVUIs> call(control, status);
  if (!call || call.refusedControl() || call.refused(ZQCheckName(form, 0, status)) ||
      call.refused(checks::checkItems(wantedIds, status)))
    return call.rc();
  call.record(diag::Command::GetMultipleVUIs, form, wantedIds, static_cast<uint32_t>(changedSince));
  if (call.bind()) {
    namespace w = transport::wanted;
    auto& a = call.args();
    a.form = const_cast<char*>(form);
    if (wantedIds) a.viewIds = *wantedIds;
    a.changedSince = changedSince;
    a.wanted =
        Mask()(exists, w::kMultiViewExists)(vuiIds, w::kMultiViewIds)(names, w::kMultiViewNames)(
            locales, w::kMultiViewLocales)(types, w::kMultiViewTypes)(
            displayProperties, w::kMultiViewProperties)(helpTexts, w::kMultiViewHelp)(
            timestamps, w::kMultiViewTimestamps)(owners, w::kMultiViewOwners)(
            lastChanged, w::kMultiViewLastChanged)(changeDiaries, w::kMultiViewDiaries)
            .value();
    if (auto* r = call.send()) {
      defs::take(exists, r->exists);
      defs::take(vuiIds, r->ids);
      defs::take(names, r->names);
      call.raise(convertLocales(r->locales, locales, status));
      defs::take(types, r->types);
      defs::take(displayProperties, r->properties);
      defs::take(helpTexts, r->helpTexts);
      defs::take(timestamps, r->timestamps);
      defs::take(owners, r->owners);
      defs::take(lastChanged, r->lastChanged);
      defs::take(changeDiaries, r->diaries);
    }
  }
  return call.finish(exists, vuiIds ? vuiIds : wantedIds, names, types, locales, helpTexts,
                     timestamps, owners, lastChanged, changeDiaries, displayProperties);
}

}  // extern "C"
