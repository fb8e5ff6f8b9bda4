// The character menu and container calls: ZQGetCharMenu, ZQSetCharMenu,
// ZQCreateCharMenu, ZQDeleteCharMenu, ZQGetListCharMenu,
// ZQGetMultipleCharMenus and their container counterparts.
#include <cstring>

#include "calls/workflow_definitions.h"
#include "model/model.h"

namespace zq::calls {
namespace {

using call::Call;
using defs::Mask;
namespace proc = transport::proc;
namespace wanted = transport::wanted;
namespace changed = transport::changed;

int checkRefresh(const uint32_t* refreshCode, ZQStatusList* status) {
  if (refreshCode &&
      (*refreshCode < ZQ_MENU_REFRESH_CONNECT || *refreshCode > ZQ_MENU_REFRESH_INTERVAL))
    return addError(status, kMsgBadMenuRefresh);
  return ZQ_RETURN_OK;
}

int checkMenuInput(const uint32_t* refreshCode, ZQCharMenuStruct* menu, const char* owner,
                   ZQPropList* properties, ZQStatusList* status) {
  int rc = checkRefresh(refreshCode, status);
  if (rc < ZQ_RETURN_ERROR) rc = checks::checkMenu(menu, status);
  if (rc < ZQ_RETURN_ERROR) rc = workflow::checkCommon(owner, properties, status);
  return rc;
}

void fillMenu(transport::MenuParts& p, const uint32_t* refreshCode, ZQCharMenuStruct* menu,
              const char* helpText, const char* owner, const char* changeDiary,
              ZQPropList* properties) {
  if (refreshCode) p.refreshCode = *refreshCode;
  if (menu) p.menu = *menu;
  workflow::fillCommon(p.common, helpText, owner, changeDiary, properties);
}

int checkContainerInput(ZQPermissionList* permissions, ZQInternalIdList* subAdminGroups,
                        ZQContainerOwnerObjList* ownerObjects, ZQReferenceList* references,
                        const char* owner, ZQPropList* properties, ZQStatusList* status) {
  int rc = checks::checkPermissions(permissions, true, status);
  if (rc < ZQ_RETURN_ERROR) rc = checks::checkItems(subAdminGroups, status);
  if (rc < ZQ_RETURN_ERROR) rc = checks::checkContainerOwners(ownerObjects, status);
  if (rc < ZQ_RETURN_ERROR) rc = checks::checkReferences(references, status);
  if (rc < ZQ_RETURN_ERROR) rc = workflow::checkCommon(owner, properties, status);
  return rc;
}

void fillContainer(transport::ContainerParts& p, ZQPermissionList* permissions,
                   ZQInternalIdList* subAdminGroups, ZQContainerOwnerObjList* ownerObjects,
                   const char* label, const char* description, const uint32_t* type,
                   ZQReferenceList* references, const char* helpText, const char* owner,
                   const char* changeDiary, ZQPropList* properties) {
  if (permissions) p.permissions = *permissions;
  if (subAdminGroups) p.subAdminGroups = *subAdminGroups;
  if (ownerObjects) p.ownerObjects = *ownerObjects;
  p.label = const_cast<char*>(label);
  p.description = const_cast<char*>(description);
  if (type) p.type = *type;
  if (references) p.references = *references;
  workflow::fillCommon(p.common, helpText, owner, changeDiary, properties);
}

}  // namespace
}  // namespace zq::calls

using namespace zq;
using namespace zq::calls;

extern "C" {

// ---- menus -----------------------------------------------------------------------------------

int ZQGetCharMenu(ZQControlStruct* control, const char* name, uint32_t* refreshCode,
                  ZQCharMenuStruct* menu, char** helpText, ZQTimestamp* timestamp,
                  ZQAccessNameType owner, ZQAccessNameType lastChanged, char** changeDiary,
                  ZQPropList* properties, ZQStatusList* status) {
  defs::clearAll(refreshCode, menu, helpText, timestamp, owner, lastChanged, changeDiary,
                 properties);
  Call<proc::GetCharMenu> call(control, status);
  if (!call || call.refusedControl() || call.refused(ZQCheckName(name, 0, status)))
    return call.rc();
  call.record(diag::Command::GetCharMenu, name);
  if (call.bind()) {
    auto& a = call.args();
    a.name = const_cast<char*>(name);
    a.wanted = Mask()(menu, wanted::kMenuDefinition)(helpText, wanted::kMenuHelp)(
                   changeDiary, wanted::kMenuDiary)(properties, wanted::kMenuProperties)(
                   owner, wanted::kMenuOwner)(lastChanged, wanted::kMenuLastChanged)
                   .value();
    if (auto* reply = call.send()) {
      transport::MenuParts& p = reply->parts;
      if (refreshCode) *refreshCode = p.refreshCode;
      defs::take(menu, p.menu);
      defs::take(helpText, p.common.helpText);
      if (timestamp) *timestamp = p.common.timestamp;
      defs::takeName(owner, p.common.owner, sizeof(ZQAccessNameType));
      defs::takeName(lastChanged, p.common.lastChanged, sizeof(ZQAccessNameType));
      defs::take(changeDiary, p.common.changeDiary);
      defs::take(properties, p.common.properties);
    }
  }
  if (call.rc() >= ZQ_RETURN_ERROR) return call.finish();
  return call.finish(refreshCode, menu, helpText, timestamp, owner, lastChanged, changeDiary,
                     properties);
}

int ZQSetCharMenu(ZQControlStruct* control, const char* name, const char* newName,
                  uint32_t* refreshCode, ZQCharMenuStruct* menu, const char* helpText,
                  const char* owner, const char* changeDiary, ZQPropList* properties,
                  ZQStatusList* status) {
  Call<proc::SetCharMenu> call(control, status);
  if (!call || call.refused(ZQCheckControlAndNames(control, name, newName, status)))
    return call.rc();
  if (call.refused(checkRefresh(refreshCode, status))) return call.rc();
  const char* rename = defs::renameTo(name, newName);
  const uint32_t parts =
      Mask()(*rename != '\0', changed::kMenuName)(refreshCode, changed::kMenuRefresh)(
          menu, changed::kMenuDefinition)(helpText, changed::kMenuHelp)(owner, changed::kMenuOwner)(
          changeDiary, changed::kMenuDiary)(properties, changed::kMenuProperties)
          .value();
  if (parts == 0) return defs::nothingToChange(call);
  if (call.refused(checkMenuInput(refreshCode, menu, owner, properties, status))) return call.rc();
  call.record(diag::Command::SetCharMenu, name, newName, diag::optional(refreshCode),
              diag::described(menu), diag::LongText{helpText}, owner, diag::LongText{changeDiary},
              diag::described(properties));
  if (call.bind()) {
    auto& a = call.args();
    a.name = const_cast<char*>(name);
    a.newName = const_cast<char*>(rename);
    a.changed = parts;
    fillMenu(a.parts, refreshCode, menu, helpText, owner, changeDiary, properties);
    call.send();
  }
  return call.finish();
}

int ZQCreateCharMenu(ZQControlStruct* control, const char* name, uint32_t refreshCode,
                     ZQCharMenuStruct* menu, const char* helpText, const char* owner,
                     const char* changeDiary, ZQPropList* properties, ZQStatusList* status) {
  Call<proc::CreateCharMenu> call(control, status);
  if (!call || call.refusedControl() || call.refused(ZQCheckName(name, 0, status)) ||
      call.refused(checkMenuInput(&refreshCode, menu, owner, properties, status)))
    return call.rc();
  call.record(diag::Command::CreateCharMenu, name, refreshCode, diag::described(menu),
              diag::LongText{helpText}, owner, diag::LongText{changeDiary},
              diag::described(properties));
  if (call.bind()) {
    call.args().name = const_cast<char*>(name);
    fillMenu(call.args().parts, &refreshCode, menu, helpText, owner, changeDiary, properties);
    call.send();
  }
  return call.finish();
}

int ZQDeleteCharMenu(ZQControlStruct* control, const char* name, uint32_t deleteOption,
                     ZQStatusList* status) {
  return defs::deleteByName<proc::DeleteCharMenu>(diag::Command::DeleteCharMenu, control, name,
                                                  deleteOption, status);
}

int ZQGetListCharMenu(ZQControlStruct* control, ZQTimestamp changedSince, ZQNameList* forms,
                      ZQNameList* referencing, ZQPropList* properties, ZQNameList* names,
                      ZQStatusList* status) {
  defs::clear(names);
  Call<proc::GetListCharMenu> call(control, status);
  if (!call || call.refusedControl()) return call.rc();
  if (!names) return call.fail(kMsgNoResultOutput);
  call.record(diag::Command::GetListCharMenu, static_cast<uint32_t>(changedSince), forms,
              referencing);
  if (call.bind()) {
    auto& a = call.args();
    a.changedSince = changedSince;
    if (forms) a.forms = *forms;
    if (referencing) a.referencing = *referencing;
    if (properties) a.properties = *properties;
    if (auto* reply = call.send()) call.raise(defs::convertNames(reply->names, names, status));
  }
  return call.finish(names);
}

int ZQGetMultipleCharMenus(ZQControlStruct* control, ZQTimestamp changedSince,
                           ZQNameList* wantedNames, ZQBooleanList* exists, ZQNameList* names,
                           ZQUnsignedIntList* refreshCodes, ZQCharMenuStructList* menus,
                           ZQTextStringList* helpTexts, ZQTimestampList* timestamps,
                           ZQAccessNameList* owners, ZQAccessNameList* lastChanged,
                           ZQTextStringList* changeDiaries, ZQPropListList* properties,
                           ZQStatusList* status) {
  defs::clearAll(exists, names, refreshCodes, menus, helpTexts, timestamps, owners, lastChanged,
                 changeDiaries, properties);
  Call<proc::GetMultipleCharMenus> call(control, status);
  if (!call || call.refusedControl() ||
      call.refused(checks::checkNameList(wantedNames, true, status)))
    return call.rc();
  call.record(diag::Command::GetMultipleCharMenus, static_cast<uint32_t>(changedSince),
              wantedNames);
  bool replied = false;
  if (call.bind()) {
    namespace w = transport::wanted;
    auto& a = call.args();
    a.changedSince = changedSince;
    if (wantedNames) a.names = *wantedNames;
    a.wanted = Mask()(exists, w::kMultiMenuExists)(names, w::kMultiMenuNames)(
                   refreshCodes, w::kMultiMenuRefresh)(menus, w::kMultiMenuDefinitions)(
                   helpTexts, w::kMultiMenuHelp)(timestamps, w::kMultiMenuTimestamps)(
                   owners, w::kMultiMenuOwners)(lastChanged, w::kMultiMenuLastChanged)(
                   changeDiaries, w::kMultiMenuDiaries)(properties, w::kMultiMenuProperties)
                   .value();
    if (auto* r = call.send()) {
      replied = true;
      defs::take(exists, r->exists);
      defs::take(names, r->names);
      defs::take(refreshCodes, r->refreshCodes);
      defs::take(menus, r->menus);
      defs::takeCommon(r->common, helpTexts, timestamps, owners, lastChanged, changeDiaries,
                       properties);
    }
  }
  if (!replied) return call.finish();
  return call.finish(exists, names, refreshCodes, menus, helpTexts, timestamps, owners, lastChanged,
                     changeDiaries, properties);
}

// ---- containers ------------------------------------------------------------------------------

int ZQGetContainer(ZQControlStruct* control, const char* name, ZQReferenceTypeList* refTypes,
                   ZQPermissionList* permissions, ZQInternalIdList* subAdminGroups,
                   ZQContainerOwnerObjList* ownerObjects, char** label, char** description,
                   uint32_t* type, ZQReferenceList* references, char** helpText,
                   ZQTimestamp* timestamp, ZQAccessNameType owner, ZQAccessNameType lastChanged,
                   char** changeDiary, ZQPropList* properties, ZQStatusList* status) {
  defs::clearAll(permissions, subAdminGroups, ownerObjects, label, description, type, references,
                 helpText, timestamp, owner, lastChanged, changeDiary, properties);
  Call<proc::GetContainer> call(control, status);
  if (!call || call.refusedControl() || call.refused(ZQCheckName(name, 0, status)) ||
      call.refused(checks::checkItems(refTypes, status)))
    return call.rc();
  call.record(diag::Command::GetContainer, name);
  if (call.bind()) {
    auto& a = call.args();
    a.name = const_cast<char*>(name);
    if (refTypes) a.refTypes = *refTypes;
    a.wanted = Mask()(permissions, wanted::kContainerPermissions)(subAdminGroups,
                                                                  wanted::kContainerSubAdmins)(
                   ownerObjects, wanted::kContainerOwnerObjects)(label, wanted::kContainerLabel)(
                   description, wanted::kContainerDescription)(
                   references, wanted::kContainerReferences)(helpText, wanted::kContainerHelp)(
                   changeDiary, wanted::kContainerDiary)(properties, wanted::kContainerProperties)(
                   owner, wanted::kContainerOwner)(lastChanged, wanted::kContainerLastChanged)
                   .value();
    if (auto* reply = call.send()) {
      transport::ContainerParts& p = reply->parts;
      defs::take(permissions, p.permissions);
      defs::take(subAdminGroups, p.subAdminGroups);
      defs::take(ownerObjects, p.ownerObjects);
      defs::take(label, p.label);
      defs::take(description, p.description);
      if (type) *type = p.type;
      defs::take(references, p.references);
      defs::take(helpText, p.common.helpText);
      if (timestamp) *timestamp = p.common.timestamp;
      defs::takeName(owner, p.common.owner, sizeof(ZQAccessNameType));
      defs::takeName(lastChanged, p.common.lastChanged, sizeof(ZQAccessNameType));
      defs::take(changeDiary, p.common.changeDiary);
      defs::take(properties, p.common.properties);
    }
  }
  if (call.rc() >= ZQ_RETURN_ERROR) return call.finish();
  return call.finish(permissions, subAdminGroups, ownerObjects, label, description, type,
                     references, helpText, timestamp, owner, lastChanged, changeDiary, properties);
}

int ZQSetContainer(ZQControlStruct* control, const char* name, const char* newName,
                   ZQPermissionList* permissions, ZQInternalIdList* subAdminGroups,
                   ZQContainerOwnerObjList* ownerObjects, const char* label,
                   const char* description, uint32_t* type, ZQReferenceList* references,
                   uint32_t option, const char* helpText, const char* owner,
                   const char* changeDiary, ZQPropList* properties, ZQStatusList* status) {
  Call<proc::SetContainer> call(control, status);
  if (!call || call.refused(ZQCheckControlAndNames(control, name, newName, status)))
    return call.rc();
  const char* rename = defs::renameTo(name, newName);
  const uint32_t parts =
      Mask()(*rename != '\0', changed::kContainerName)(permissions, changed::kContainerPermissions)(
          subAdminGroups, changed::kContainerSubAdmins)(
          ownerObjects, changed::kContainerOwnerObjects)(label, changed::kContainerLabel)(
          description, changed::kContainerDescription)(type, changed::kContainerType)(
          references, changed::kContainerReferences)(helpText, changed::kContainerHelp)(
          owner, changed::kContainerOwner)(changeDiary, changed::kContainerDiary)(
          properties, changed::kContainerProperties)
          .value();
  if (parts == 0) return defs::nothingToChange(call);
  if (call.refused(checkContainerInput(permissions, subAdminGroups, ownerObjects, references, owner,
                                       properties, status)))
    return call.rc();
  call.record(diag::Command::SetContainer, name, newName, label, description, diag::optional(type),
              option, diag::LongText{helpText}, owner, diag::LongText{changeDiary});
  if (call.bind()) {
    auto& a = call.args();
    a.name = const_cast<char*>(name);
    a.newName = const_cast<char*>(rename);
    a.changed = parts;
    a.option = option;
    fillContainer(a.parts, permissions, subAdminGroups, ownerObjects, label, description, type,
                  references, helpText, owner, changeDiary, properties);
    call.send();
  }
  return call.finish();
}

int ZQCreateContainer(ZQControlStruct* control, const char* name, ZQPermissionList* permissions,
                      ZQInternalIdList* subAdminGroups, ZQContainerOwnerObjList* ownerObjects,
                      const char* label, const char* description, uint32_t type,
                      ZQReferenceList* references, uint32_t option, const char* helpText,
                      const char* owner, const char* changeDiary, ZQPropList* properties,
                      ZQStatusList* status) {
  Call<proc::CreateContainer> call(control, status);
  if (!call || call.refusedControl() || call.refused(ZQCheckName(name, 0, status)) ||
      call.refused(checkContainerInput(permissions, subAdminGroups, ownerObjects, references, owner,
                                       properties, status)))
    return call.rc();
  call.record(diag::Command::CreateContainer, name, label, description, type, option,
              diag::LongText{helpText}, owner, diag::LongText{changeDiary});
  if (call.bind()) {
    auto& a = call.args();
    a.name = const_cast<char*>(name);
    a.option = option;
    fillContainer(a.parts, permissions, subAdminGroups, ownerObjects, label, description, &type,
                  references, helpText, owner, changeDiary, properties);
    call.send();
  }
  return call.finish();
}

int ZQDeleteContainer(ZQControlStruct* control, const char* name, uint32_t deleteOption,
                      ZQStatusList* status) {
  return defs::deleteByName<proc::DeleteContainer>(diag::Command::DeleteContainer, control, name,
                                                   deleteOption, status);
}

int ZQGetListContainer(ZQControlStruct* control, ZQTimestamp changedSince,
                       ZQContainerTypeList* types, uint32_t attributes,
                       ZQContainerOwnerObjList* ownerObjects, ZQPropList* properties,
                       ZQContainerInfoList* containers, ZQStatusList* status) {
  defs::clear(containers);
  Call<proc::GetListContainer> call(control, status);
  if (!call || call.refusedControl() || call.refused(checks::checkItems(types, status)) ||
      call.refused(checks::checkContainerOwners(ownerObjects, status)))
    return call.rc();
  if (!containers) return call.fail(kMsgNoResultOutput);
  call.record(diag::Command::GetListContainer, static_cast<uint32_t>(changedSince), attributes);
  if (call.bind()) {
    auto& a = call.args();
    a.changedSince = changedSince;
    if (types) a.types = *types;
    a.attributes = attributes;
    if (ownerObjects) a.ownerObjects = *ownerObjects;
    if (properties) a.properties = *properties;
    if (auto* reply = call.send()) defs::take(containers, reply->containers);
  }
  return call.finish(containers);
}

int ZQGetMultipleContainers(ZQControlStruct* control, ZQTimestamp changedSince,
                            ZQNameList* wantedNames, ZQContainerTypeList* typeFilter,
                            uint32_t attributes, ZQContainerOwnerObjList* ownerObjects,
                            ZQReferenceTypeList* refTypes, ZQBooleanList* exists, ZQNameList* names,
                            ZQPermissionListList* permissions, ZQInternalIdListList* subAdminGroups,
                            ZQContainerOwnerObjListList* ownerObjectLists, ZQTextStringList* labels,
                            ZQTextStringList* descriptions, ZQUnsignedIntList* containerTypes,
                            ZQReferenceListList* references, ZQTextStringList* helpTexts,
                            ZQTimestampList* timestamps, ZQAccessNameList* owners,
                            ZQAccessNameList* lastChanged, ZQTextStringList* changeDiaries,
                            ZQPropListList* properties, ZQStatusList* status) {
  defs::clearAll(exists, names, permissions, subAdminGroups, ownerObjectLists, labels, descriptions,
                 containerTypes, references, helpTexts, timestamps, owners, lastChanged,
                 changeDiaries, properties);
  Call<proc::GetMultipleContainers> call(control, status);
  if (!call || call.refusedControl() ||
      call.refused(checks::checkNameList(wantedNames, true, status)) ||
      call.refused(checks::checkItems(typeFilter, status)) ||
      call.refused(checks::checkItems(refTypes, status)))
    return call.rc();
  call.record(diag::Command::GetMultipleContainers, static_cast<uint32_t>(changedSince),
              wantedNames);
  bool replied = false;
  if (call.bind()) {
    namespace w = transport::wanted;
    auto& a = call.args();
    a.changedSince = changedSince;
    if (wantedNames) a.names = *wantedNames;
    if (typeFilter) a.types = *typeFilter;
    a.attributes = attributes;
    if (ownerObjects) a.ownerObjects = *ownerObjects;
    if (refTypes) a.refTypes = *refTypes;
    a.wanted =
        Mask()(exists, w::kMultiContainerExists)(names, w::kMultiContainerNames)(
            permissions, w::kMultiContainerPermissions)(subAdminGroups,
                                                        w::kMultiContainerSubAdmins)(
            ownerObjectLists, w::kMultiContainerOwnerObjects)(labels, w::kMultiContainerLabels)(
            descriptions, w::kMultiContainerDescriptions)(containerTypes, w::kMultiContainerTypes)(
            references, w::kMultiContainerReferences)(helpTexts, w::kMultiContainerHelp)(
            timestamps, w::kMultiContainerTimestamps)(owners, w::kMultiContainerOwners)(
            lastChanged, w::kMultiContainerLastChanged)(changeDiaries, w::kMultiContainerDiaries)(
            properties, w::kMultiContainerProperties)
            .value();
    if (auto* r = call.send()) {
      replied = true;
      defs::take(exists, r->exists);
      defs::take(names, r->names);
      defs::take(permissions, r->permissions);
      defs::take(subAdminGroups, r->subAdminGroups);
      defs::take(ownerObjectLists, r->ownerObjects);
      defs::take(labels, r->labels);
      defs::take(descriptions, r->descriptions);
      defs::take(containerTypes, r->types);
      defs::take(references, r->references);
      defs::takeCommon(r->common, helpTexts, timestamps, owners, lastChanged, changeDiaries,
                       properties);
    }
  }
  if (!replied) return call.finish();
  return call.finish(exists, names, permissions, subAdminGroups, ownerObjectLists, labels,
                     descriptions, containerTypes, references, helpTexts, timestamps, owners,
                     lastChanged, changeDiaries, properties);
}

}  // extern "C"
