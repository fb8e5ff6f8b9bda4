// Set...ToXML and Get...FromXML of every definition kind, and the listing
// of a document's objects. Writing and reading go through the one
// description of each object (definitions.h).
#include "definitions.h"

#include <cstring>

#include "zqapi/zq_transfer.h"

#include "documents.h"
#include "object_io.h"
#include "objects.h"

namespace zq::xmlutil {

namespace {

struct KindName {
  const char* element;
  uint32_t kind;
};
constexpr KindName kKinds[] = {
    {"form", ZQ_STRUCT_ITEM_SCHEMA},
    {"field", ZQ_XML_OBJECT_FIELD},
    {"view", ZQ_XML_OBJECT_VIEW},
    {"image", ZQ_STRUCT_ITEM_IMAGE},
    {"filter", ZQ_STRUCT_ITEM_FILTER},
    {"activeLink", ZQ_STRUCT_ITEM_ACTIVE_LINK},
    {"escalation", ZQ_STRUCT_ITEM_ESCALATION},
    {"menu", ZQ_STRUCT_ITEM_CHAR_MENU},
    {"container", ZQ_STRUCT_ITEM_CONTAINER},
    {"dsoMapping", ZQ_XML_OBJECT_DSO_MAPPING},
    {"dsoPool", ZQ_XML_OBJECT_DSO_POOL},
};

char* text(const char* s) {
  return const_cast<char*>(s);
}
void setCommon(CommonProps& c, const char* helpText, ZQTimestamp timestamp, const char* owner,
               const char* lastChanged, const char* changeDiary, ZQPropList* properties) {
  c.helpText = text(helpText);
  c.timestamp = timestamp;
  copyName(c.owner, owner, sizeof c.owner);
  copyName(c.lastChanged, lastChanged, sizeof c.lastChanged);
  c.changeDiary = text(changeDiary);
  if (properties) c.properties = *properties;
}
void giveCommon(CommonProps& c, char** helpText, ZQTimestamp* timestamp, ZQAccessNameType owner,
                ZQAccessNameType lastChanged, char** changeDiary, ZQPropList* properties) {
  give(helpText, c.helpText);
  give(timestamp, c.timestamp);
  giveName(owner, c.owner, sizeof c.owner);
  giveName(lastChanged, c.lastChanged, sizeof c.lastChanged);
  give(changeDiary, c.changeDiary);
  give(properties, c.properties);
}
AppBlock appBlock(const char* name, const char* owner) {
  return AppBlock{text(name), text(owner)};
}
void giveApp(AppBlock& a, char** name, char** owner) {
  give(name, a.blockName);
  give(owner, a.owner);
}

}  // namespace

uint32_t objectKind(const char* element) {
  for (const KindName& k : kKinds)
    if (strcmp(k.element, element) == 0) return k.kind;
  return 0;
}

bool listObjects(xmlDocPtr doc, ZQStructItemList& objects) {
  objects = ZQStructItemList{};
  uint32_t n = 0;
  for (xmlNodePtr c = xmlDocGetRootElement(doc)->children; c; c = c->next)
    if (c->type == XML_ELEMENT_NODE && objectKind(C(c->name))) ++n;
  if (n == 0) return true;
  auto* items = static_cast<ZQStructItemStruct*>(zq::allocZeroed(n, sizeof(ZQStructItemStruct)));
  if (!items) return false;
  objects.items = items;
  for (xmlNodePtr c = xmlDocGetRootElement(doc)->children; c; c = c->next) {
    const uint32_t kind = c->type == XML_ELEMENT_NODE ? objectKind(C(c->name)) : 0;
    if (!kind) continue;
    ZQStructItemStruct& item = items[objects.count++];
    item.type = kind;
    copyName(item.name, attribute(c, "name").c_str(), sizeof item.name);
    // A field or view names its form as its one selected element.
    const std::string form = attribute(c, "form");
    if (!form.empty()) {
      item.selectedElements.items =
          static_cast<ZQNameType*>(zq::allocZeroed(1, sizeof(ZQNameType)));
      if (!item.selectedElements.items) {
        model::FreeVisitor f;
        model::describe(f, objects);
        objects = ZQStructItemList{};
        return false;
      }
      item.selectedElements.count = 1;
      copyName(item.selectedElements.items[0], form.c_str(), sizeof(ZQNameType));
    }
  }
  return true;
}

}  // namespace zq::xmlutil

using namespace zq;
using namespace zq::xmlutil;

extern "C" {

int GetListXMLObjects(ZQXMLParserHandle*, ZQXMLParsedStream* parsed, ZQStructItemList* objects,
                      ZQStatusList* status) {
  if (!parsed || !parsed->state || !objects) return addError(status, kMsgNullArgument);
  ZQStructItemList list;
  if (!listObjects(static_cast<xmlDocPtr>(parsed->state), list))
    return addError(status, kMsgNoMemory);
  *objects = list;
  return 0;
}

// ---- forms, fields, views, images -------------------------------------------------------------

int SetSchemaToXML(ZQXMLOutputDoc* doc, const char* name, const char* appBlockName,
                   const char* appOwner, ZQCompoundSchema* schema,
                   ZQSchemaInheritanceList* inheritance, ZQPermissionList* permissions,
                   ZQInternalIdList* subAdminGroups, ZQEntryListFieldList* getListFields,
                   ZQSortList* sort, ZQIndexList* indexes, ZQArchiveInfoStruct* archive,
                   ZQAuditInfoStruct* audit, const char* defaultView, uint32_t nextFieldId,
                   ZQInternalIdList* fieldIds, ZQInternalIdList* vuiIds, const char* helpText,
                   ZQTimestamp timestamp, const char* owner, const char* lastChanged,
                   const char* changeDiary, ZQPropList* properties, uint32_t option,
                   ZQStatusList* status) {
  SchemaObject o{};
  o.app = appBlock(appBlockName, appOwner);
  o.nextFieldId = nextFieldId;
  if (fieldIds) o.fieldIds = *fieldIds;
  if (vuiIds) o.vuiIds = *vuiIds;
  o.option = option;
  transport::SchemaParts& p = o.parts;
  if (schema) p.kind = *schema;
  if (inheritance) p.inheritance = *inheritance;
  if (permissions) p.permissions = *permissions;
  if (subAdminGroups) p.subAdminGroups = *subAdminGroups;
  if (getListFields) p.getListFields = *getListFields;
  if (sort) p.sort = *sort;
  if (indexes) p.indexes = *indexes;
  if (archive) p.archive = *archive;
  if (audit) p.audit = *audit;
  copyName(p.defaultView, defaultView, sizeof p.defaultView);
  setCommon(p.common, helpText, timestamp, owner, lastChanged, changeDiary, properties);
  return setObject(doc, "form", nullptr, name, o, status);
}

int GetSchemaFromXML(ZQXMLParsedStream* parsed, const char* name, char** appBlockName,
                     char** appOwner, ZQCompoundSchema* schema,
                     ZQSchemaInheritanceList* inheritance, ZQPermissionList* permissions,
                     ZQInternalIdList* subAdminGroups, ZQEntryListFieldList* getListFields,
                     ZQSortList* sort, ZQIndexList* indexes, ZQArchiveInfoStruct* archive,
                     ZQAuditInfoStruct* audit, ZQNameType defaultView, uint32_t* nextFieldId,
                     ZQInternalIdList* fieldIds, ZQInternalIdList* vuiIds, char** helpText,
                     ZQTimestamp* timestamp, ZQAccessNameType owner, ZQAccessNameType lastChanged,
                     char** changeDiary, ZQPropList* properties, uint32_t* option,
                     ZQStatusList* status) {
  SchemaObject o;
  if (int rc = getObject(parsed, "form", nullptr, name, o, status)) return rc;
  giveApp(o.app, appBlockName, appOwner);
  transport::SchemaParts& p = o.parts;
  give(schema, p.kind);
  give(inheritance, p.inheritance);
  give(permissions, p.permissions);
  give(subAdminGroups, p.subAdminGroups);
  give(getListFields, p.getListFields);
  give(sort, p.sort);
  give(indexes, p.indexes);
  give(archive, p.archive);
  give(audit, p.audit);
  giveName(defaultView, p.defaultView, sizeof p.defaultView);
  give(nextFieldId, o.nextFieldId);
  give(fieldIds, o.fieldIds);
  give(vuiIds, o.vuiIds);
  giveCommon(p.common, helpText, timestamp, owner, lastChanged, changeDiary, properties);
  give(option, o.option);
  release(o);
  return 0;
}

int SetFieldToXML(ZQXMLOutputDoc* doc, const char* form, const char* name, ZQInternalId fieldId,
                  ZQFieldMappingStruct* mapping, uint32_t dataType, uint32_t option,
                  uint32_t createMode, uint32_t optionBits, ZQValueStruct* defaultValue,
                  ZQPermissionList* permissions, ZQFieldLimitStruct* limit,
                  ZQDisplayInstanceList* displays, const char* helpText, ZQTimestamp timestamp,
                  const char* owner, const char* lastChanged, const char* changeDiary,
                  ZQPropList* properties, ZQStatusList* status) {
  if (!form) return addError(status, kMsgNullArgument);
  FieldObject o{};
  o.fieldId = fieldId;
  transport::FieldParts& p = o.parts;
  copyName(p.fieldName, name, sizeof p.fieldName);
  if (mapping) p.mapping = *mapping;
  p.dataType = dataType;
  p.option = option;
  p.createMode = createMode;
  p.optionBits = optionBits;
  if (defaultValue) p.defaultValue = *defaultValue;
  if (permissions) p.permissions = *permissions;
  if (limit) p.limit = *limit;
  if (displays) p.displays = *displays;
  setCommon(p.common, helpText, timestamp, owner, lastChanged, changeDiary, properties);
  return setObject(doc, "field", form, name, o, status);
}

int GetFieldFromXML(ZQXMLParsedStream* parsed, const char* form, const char* name,
                    ZQInternalId* fieldId, ZQFieldMappingStruct* mapping, uint32_t* dataType,
                    uint32_t* option, uint32_t* createMode, uint32_t* optionBits,
                    ZQValueStruct* defaultValue, ZQPermissionList* permissions,
                    ZQFieldLimitStruct* limit, ZQDisplayInstanceList* displays, char** helpText,
                    ZQTimestamp* timestamp, ZQAccessNameType owner, ZQAccessNameType lastChanged,
                    char** changeDiary, ZQPropList* properties, ZQStatusList* status) {
  FieldObject o;
  if (!form) return addError(status, kMsgNullArgument);
  if (int rc = getObject(parsed, "field", form, name, o, status)) return rc;
  transport::FieldParts& p = o.parts;
  give(fieldId, o.fieldId);
  give(mapping, p.mapping);
  give(dataType, p.dataType);
  give(option, p.option);
  give(createMode, p.createMode);
  give(optionBits, p.optionBits);
  give(defaultValue, p.defaultValue);
  give(permissions, p.permissions);
  give(limit, p.limit);
  give(displays, p.displays);
  giveCommon(p.common, helpText, timestamp, owner, lastChanged, changeDiary, properties);
  release(o);
  return 0;
}

int SetVUIToXML(ZQXMLOutputDoc* doc, const char* form, const char* name, ZQInternalId vuiId,
                const char* locale, uint32_t vuiType, ZQPropList* displayProperties,
                ZQStatusList* status) {
  if (!form) return addError(status, kMsgNullArgument);
  if (locale && strlen(locale) > ZQ_MAX_LOCALE_SIZE)
    return addError(status, kMsgXmlUnreadable, "the locale is too long");
  ViewObject o{};
  o.vuiId = vuiId;
  copyName(o.parts.viewName, name, sizeof o.parts.viewName);
  o.parts.locale = text(locale);
  o.parts.viewType = vuiType;
  if (displayProperties) o.parts.displayProperties = *displayProperties;
  return setObject(doc, "view", form, name, o, status);
}

int GetVUIFromXML(ZQXMLParsedStream* parsed, const char* form, const char* name,
                  ZQInternalId* vuiId, char** locale, uint32_t* vuiType,
                  ZQPropList* displayProperties, ZQStatusList* status) {
  ViewObject o;
  if (!form) return addError(status, kMsgNullArgument);
  if (int rc = getObject(parsed, "view", form, name, o, status)) return rc;
  give(vuiId, o.vuiId);
  give(locale, o.parts.locale);
  give(vuiType, o.parts.viewType);
  give(displayProperties, o.parts.displayProperties);
  release(o);
  return 0;
}

int SetImageToXML(ZQXMLOutputDoc* doc, const char* name, const char* appBlockName,
                  const char* appOwner, ZQImageDataStruct* data, const char* imageType,
                  ZQTimestamp timestamp, const char* description, const char* helpText,
                  const char* owner, const char* lastChanged, const char* changeDiary,
                  ZQPropList* properties, ZQStatusList* status) {
  ImageObject o{};
  o.app = appBlock(appBlockName, appOwner);
  if (data) o.parts.data = *data;
  o.parts.imageType = text(imageType);
  o.parts.description = text(description);
  setCommon(o.parts.common, helpText, timestamp, owner, lastChanged, changeDiary, properties);
  return setObject(doc, "image", nullptr, name, o, status);
}

int GetImageFromXML(ZQXMLParsedStream* parsed, const char* name, char** appBlockName,
                    char** appOwner, ZQImageDataStruct* data, char** imageType,
                    ZQTimestamp* timestamp, char** checksum, char** description, char** helpText,
                    ZQAccessNameType owner, ZQAccessNameType lastChanged, char** changeDiary,
                    ZQPropList* properties, ZQStatusList* status) {
  ImageObject o;
  if (int rc = getObject(parsed, "image", nullptr, name, o, status)) return rc;
  giveApp(o.app, appBlockName, appOwner);
  give(data, o.parts.data);
  give(imageType, o.parts.imageType);
  give(checksum, o.parts.checksum);
  give(description, o.parts.description);
  giveCommon(o.parts.common, helpText, timestamp, owner, lastChanged, changeDiary, properties);
  release(o);
  return 0;
}

// ---- workflow ---------------------------------------------------------------------------------

int SetFilterToXML(ZQXMLOutputDoc* doc, const char* name, const char* appBlockName,
                   const char* appOwner, uint32_t order, ZQWorkflowConnectStruct* forms,
                   uint32_t opSet, uint32_t enable, ZQQualifierStruct* query,
                   ZQFilterActionList* actions, ZQFilterActionList* elseActions,
                   const char* helpText, ZQTimestamp timestamp, const char* owner,
                   const char* lastChanged, const char* changeDiary, ZQPropList* properties,
                   uint32_t errorOptions, const char* errorFilter, ZQStatusList* status) {
  NamedObject<transport::FilterParts> o{};
  o.app = appBlock(appBlockName, appOwner);
  transport::FilterParts& p = o.parts;
  p.order = order;
  if (forms) p.forms = *forms;
  p.operations = opSet;
  p.enable = enable;
  if (query) p.qualifier = *query;
  if (actions) p.ifActions = *actions;
  if (elseActions) p.elseActions = *elseActions;
  setCommon(p.common, helpText, timestamp, owner, lastChanged, changeDiary, properties);
  p.errorOptions = errorOptions;
  copyName(p.errorName, errorFilter, sizeof p.errorName);
  return setObject(doc, "filter", nullptr, name, o, status);
}

int GetFilterFromXML(ZQXMLParsedStream* parsed, const char* name, char** appBlockName,
                     char** appOwner, uint32_t* order, ZQWorkflowConnectStruct* forms,
                     uint32_t* opSet, uint32_t* enable, ZQQualifierStruct* query,
                     ZQFilterActionList* actions, ZQFilterActionList* elseActions, char** helpText,
                     ZQTimestamp* timestamp, ZQAccessNameType owner, ZQAccessNameType lastChanged,
                     char** changeDiary, ZQPropList* properties, uint32_t* errorOptions,
                     ZQNameType errorFilter, ZQStatusList* status) {
  NamedObject<transport::FilterParts> o;
  if (int rc = getObject(parsed, "filter", nullptr, name, o, status)) return rc;
  giveApp(o.app, appBlockName, appOwner);
  transport::FilterParts& p = o.parts;
  give(order, p.order);
  give(forms, p.forms);
  give(opSet, p.operations);
  give(enable, p.enable);
  give(query, p.qualifier);
  give(actions, p.ifActions);
  give(elseActions, p.elseActions);
  giveCommon(p.common, helpText, timestamp, owner, lastChanged, changeDiary, properties);
  give(errorOptions, p.errorOptions);
  giveName(errorFilter, p.errorName, sizeof p.errorName);
  release(o);
  return 0;
}

int SetActiveLinkToXML(ZQXMLOutputDoc* doc, const char* name, const char* appBlockName,
                       const char* appOwner, uint32_t order, ZQWorkflowConnectStruct* forms,
                       ZQInternalIdList* groups, uint32_t executeMask, ZQInternalId controlField,
                       ZQInternalId focusField, uint32_t enable, ZQQualifierStruct* query,
                       ZQActiveLinkActionList* actions, ZQActiveLinkActionList* elseActions,
                       ZQInternalIdList* subAdminGroups, const char* helpText,
                       ZQTimestamp timestamp, const char* owner, const char* lastChanged,
                       const char* changeDiary, ZQPropList* properties, uint32_t errorOptions,
                       const char* errorActiveLink, ZQStatusList* status) {
  ActiveLinkObject o{};
  o.app = appBlock(appBlockName, appOwner);
  if (subAdminGroups) o.subAdminGroups = *subAdminGroups;
  transport::ActiveLinkParts& p = o.parts;
  p.order = order;
  if (forms) p.forms = *forms;
  if (groups) p.groups = *groups;
  p.executeMask = executeMask;
  p.controlField = controlField;
  p.focusField = focusField;
  p.enable = enable;
  if (query) p.qualifier = *query;
  if (actions) p.ifActions = *actions;
  if (elseActions) p.elseActions = *elseActions;
  setCommon(p.common, helpText, timestamp, owner, lastChanged, changeDiary, properties);
  p.errorOptions = errorOptions;
  copyName(p.errorName, errorActiveLink, sizeof p.errorName);
  return setObject(doc, "activeLink", nullptr, name, o, status);
}

int GetActiveLinkFromXML(ZQXMLParsedStream* parsed, const char* name, char** appBlockName,
                         char** appOwner, uint32_t* order, ZQWorkflowConnectStruct* forms,
                         ZQInternalIdList* groups, uint32_t* executeMask,
                         ZQInternalId* controlField, ZQInternalId* focusField, uint32_t* enable,
                         ZQQualifierStruct* query, ZQActiveLinkActionList* actions,
                         ZQActiveLinkActionList* elseActions, ZQInternalIdList* subAdminGroups,
                         char** helpText, ZQTimestamp* timestamp, ZQAccessNameType owner,
                         ZQAccessNameType lastChanged, char** changeDiary, ZQPropList* properties,
                         uint32_t* errorOptions, ZQNameType errorActiveLink, ZQStatusList* status) {
  ActiveLinkObject o;
  if (int rc = getObject(parsed, "activeLink", nullptr, name, o, status)) return rc;
  giveApp(o.app, appBlockName, appOwner);
  transport::ActiveLinkParts& p = o.parts;
  give(order, p.order);
  give(forms, p.forms);
  give(groups, p.groups);
  give(executeMask, p.executeMask);
  give(controlField, p.controlField);
  give(focusField, p.focusField);
  give(enable, p.enable);
  give(query, p.qualifier);
  give(actions, p.ifActions);
  give(elseActions, p.elseActions);
  give(subAdminGroups, o.subAdminGroups);
  giveCommon(p.common, helpText, timestamp, owner, lastChanged, changeDiary, properties);
  give(errorOptions, p.errorOptions);
  giveName(errorActiveLink, p.errorName, sizeof p.errorName);
  release(o);
  return 0;
}

int SetEscalationToXML(ZQXMLOutputDoc* doc, const char* name, const char* appBlockName,
                       const char* appOwner, uint32_t interval, ZQWorkflowConnectStruct* forms,
                       uint32_t enable, ZQQualifierStruct* query, ZQFilterActionList* actions,
                       ZQFilterActionList* elseActions, const char* helpText, ZQTimestamp timestamp,
                       const char* owner, const char* lastChanged, const char* changeDiary,
                       ZQPropList* properties, ZQStatusList* status) {
  if (interval > INT32_MAX)
    return addError(status, kMsgXmlUnreadable, "the interval is out of range");
  NamedObject<transport::EscalationParts> o{};
  o.app = appBlock(appBlockName, appOwner);
  transport::EscalationParts& p = o.parts;
  p.time.kind = ZQ_ESCALATION_INTERVAL;
  p.time.u.interval = static_cast<int32_t>(interval);
  if (forms) p.forms = *forms;
  p.enable = enable;
  if (query) p.qualifier = *query;
  if (actions) p.ifActions = *actions;
  if (elseActions) p.elseActions = *elseActions;
  setCommon(p.common, helpText, timestamp, owner, lastChanged, changeDiary, properties);
  return setObject(doc, "escalation", nullptr, name, o, status);
}

int GetEscalationFromXML(ZQXMLParsedStream* parsed, const char* name, char** appBlockName,
                         char** appOwner, uint32_t* interval, ZQWorkflowConnectStruct* forms,
                         uint32_t* enable, ZQQualifierStruct* query, ZQFilterActionList* actions,
                         ZQFilterActionList* elseActions, char** helpText, ZQTimestamp* timestamp,
                         ZQAccessNameType owner, ZQAccessNameType lastChanged, char** changeDiary,
                         ZQPropList* properties, ZQStatusList* status) {
  NamedObject<transport::EscalationParts> o;
  if (int rc = getObject(parsed, "escalation", nullptr, name, o, status)) return rc;
  transport::EscalationParts& p = o.parts;
  // This call returns an interval only: a calendar time cannot be told.
  if (p.time.kind != ZQ_ESCALATION_INTERVAL || p.time.u.interval < 0) {
    release(o);
    return addError(status, kMsgXmlUnreadable, "the escalation has no interval");
  }
  giveApp(o.app, appBlockName, appOwner);
  if (interval) *interval = static_cast<uint32_t>(p.time.u.interval);
  give(forms, p.forms);
  give(enable, p.enable);
  give(query, p.qualifier);
  give(actions, p.ifActions);
  give(elseActions, p.elseActions);
  giveCommon(p.common, helpText, timestamp, owner, lastChanged, changeDiary, properties);
  release(o);
  return 0;
}

int SetMenuToXML(ZQXMLOutputDoc* doc, const char* name, const char* appBlockName,
                 const char* appOwner, uint32_t refreshCode, ZQCharMenuStruct* menu,
                 const char* helpText, ZQTimestamp timestamp, const char* owner,
                 const char* lastChanged, const char* changeDiary, ZQPropList* properties,
                 ZQStatusList* status) {
  NamedObject<transport::MenuParts> o{};
  o.app = appBlock(appBlockName, appOwner);
  o.parts.refreshCode = refreshCode;
  if (menu) o.parts.menu = *menu;
  setCommon(o.parts.common, helpText, timestamp, owner, lastChanged, changeDiary, properties);
  return setObject(doc, "menu", nullptr, name, o, status);
}

int GetMenuFromXML(ZQXMLParsedStream* parsed, const char* name, char** appBlockName,
                   char** appOwner, uint32_t* refreshCode, ZQCharMenuStruct* menu, char** helpText,
                   ZQTimestamp* timestamp, ZQAccessNameType owner, ZQAccessNameType lastChanged,
                   char** changeDiary, ZQPropList* properties, ZQStatusList* status) {
  NamedObject<transport::MenuParts> o;
  if (int rc = getObject(parsed, "menu", nullptr, name, o, status)) return rc;
  giveApp(o.app, appBlockName, appOwner);
  give(refreshCode, o.parts.refreshCode);
  give(menu, o.parts.menu);
  giveCommon(o.parts.common, helpText, timestamp, owner, lastChanged, changeDiary, properties);
  release(o);
  return 0;
}

int SetContainerToXML(ZQXMLOutputDoc* doc, const char* name, const char* appBlockName,
                      const char* appOwner, ZQPermissionList* permissions,
                      ZQInternalIdList* subAdminGroups, ZQContainerOwnerObjList* ownerObjects,
                      const char* label, const char* description, uint32_t type,
                      ZQReferenceList* references, const char* helpText, ZQTimestamp timestamp,
                      const char* owner, const char* lastChanged, const char* changeDiary,
                      ZQPropList* properties, ZQStatusList* status) {
  NamedObject<transport::ContainerParts> o{};
  o.app = appBlock(appBlockName, appOwner);
  transport::ContainerParts& p = o.parts;
  if (permissions) p.permissions = *permissions;
  if (subAdminGroups) p.subAdminGroups = *subAdminGroups;
  if (ownerObjects) p.ownerObjects = *ownerObjects;
  p.label = text(label);
  p.description = text(description);
  p.type = type;
  if (references) p.references = *references;
  setCommon(p.common, helpText, timestamp, owner, lastChanged, changeDiary, properties);
  return setObject(doc, "container", nullptr, name, o, status);
}

int GetContainerFromXML(ZQXMLParsedStream* parsed, const char* name, char** appBlockName,
                        char** appOwner, ZQPermissionList* permissions,
                        ZQInternalIdList* subAdminGroups, ZQContainerOwnerObjList* ownerObjects,
                        char** label, char** description, uint32_t* type,
                        ZQReferenceList* references, char** helpText, ZQTimestamp* timestamp,
                        ZQAccessNameType owner, ZQAccessNameType lastChanged, char** changeDiary,
                        ZQPropList* properties, ZQStatusList* status) {
  NamedObject<transport::ContainerParts> o;
  if (int rc = getObject(parsed, "container", nullptr, name, o, status)) return rc;
  giveApp(o.app, appBlockName, appOwner);
  transport::ContainerParts& p = o.parts;
  give(permissions, p.permissions);
  give(subAdminGroups, p.subAdminGroups);
  give(ownerObjects, p.ownerObjects);
  give(label, p.label);
  give(description, p.description);
  give(type, p.type);
  give(references, p.references);
  giveCommon(p.common, helpText, timestamp, owner, lastChanged, changeDiary, properties);
  release(o);
  return 0;
}

// ---- data distribution ------------------------------------------------------------------------

int SetDSOMappingToXML(ZQXMLOutputDoc* doc, const char* name, const char* appBlockName,
                       const char* appOwner, const char* fromForm, const char* fromServer,
                       const char* toForm, const char* toServer, uint32_t enable,
                       uint32_t updateCode, uint32_t transferMode, uint32_t mapType,
                       uint32_t returnMapType, uint32_t defaultMap, uint32_t duplicateAction,
                       uint32_t returnDuplicateAction, uint32_t patternMatch,
                       uint32_t requiredFields, const char* mapping, const char* returnMapping,
                       ZQQualifierStruct* match, const char* helpText, ZQTimestamp timestamp,
                       const char* owner, const char* lastChanged, const char* changeDiary,
                       ZQPropList* properties, ZQStatusList* status) {
  DsoMappingObject o{};
  o.app = appBlock(appBlockName, appOwner);
  copyName(o.fromForm, fromForm, sizeof o.fromForm);
  copyName(o.fromServer, fromServer, sizeof o.fromServer);
  copyName(o.toForm, toForm, sizeof o.toForm);
  copyName(o.toServer, toServer, sizeof o.toServer);
  o.enable = enable;
  o.updateCode = updateCode;
  o.transferMode = transferMode;
  o.mapType = mapType;
  o.returnMapType = returnMapType;
  o.defaultMap = defaultMap;
  o.duplicateAction = duplicateAction;
  o.returnDuplicateAction = returnDuplicateAction;
  o.patternMatch = patternMatch;
  o.requiredFields = requiredFields;
  o.mapping = text(mapping);
  o.returnMapping = text(returnMapping);
  if (match) o.match = *match;
  setCommon(o.common, helpText, timestamp, owner, lastChanged, changeDiary, properties);
  return setObject(doc, "dsoMapping", nullptr, name, o, status);
}

int GetDSOMappingFromXML(ZQXMLParsedStream* parsed, const char* name, char** appBlockName,
                         char** appOwner, ZQNameType fromForm, ZQServerNameType fromServer,
                         ZQNameType toForm, ZQServerNameType toServer, uint32_t* enable,
                         uint32_t* updateCode, uint32_t* transferMode, uint32_t* mapType,
                         uint32_t* returnMapType, uint32_t* defaultMap, uint32_t* duplicateAction,
                         uint32_t* returnDuplicateAction, uint32_t* patternMatch,
                         uint32_t* requiredFields, char** mapping, char** returnMapping,
                         ZQQualifierStruct* match, char** helpText, ZQTimestamp* timestamp,
                         ZQAccessNameType owner, ZQAccessNameType lastChanged, char** changeDiary,
                         ZQPropList* properties, ZQStatusList* status) {
  DsoMappingObject o;
  if (int rc = getObject(parsed, "dsoMapping", nullptr, name, o, status)) return rc;
  giveApp(o.app, appBlockName, appOwner);
  giveName(fromForm, o.fromForm, sizeof o.fromForm);
  giveName(fromServer, o.fromServer, sizeof o.fromServer);
  giveName(toForm, o.toForm, sizeof o.toForm);
  giveName(toServer, o.toServer, sizeof o.toServer);
  give(enable, o.enable);
  give(updateCode, o.updateCode);
  give(transferMode, o.transferMode);
  give(mapType, o.mapType);
  give(returnMapType, o.returnMapType);
  give(defaultMap, o.defaultMap);
  give(duplicateAction, o.duplicateAction);
  give(returnDuplicateAction, o.returnDuplicateAction);
  give(patternMatch, o.patternMatch);
  give(requiredFields, o.requiredFields);
  give(mapping, o.mapping);
  give(returnMapping, o.returnMapping);
  give(match, o.match);
  giveCommon(o.common, helpText, timestamp, owner, lastChanged, changeDiary, properties);
  release(o);
  return 0;
}

int SetDSOPoolToXML(ZQXMLOutputDoc* doc, const char* name, const char* appBlockName,
                    const char* appOwner, uint32_t enable, uint32_t defaultPool,
                    uint32_t threadCount, const char* connection, uint32_t polling,
                    uint32_t pollingInterval, const char* helpText, ZQTimestamp timestamp,
                    const char* owner, const char* lastChanged, const char* changeDiary,
                    ZQPropList* properties, ZQStatusList* status) {
  DsoPoolObject o{};
  o.app = appBlock(appBlockName, appOwner);
  o.enable = enable;
  o.defaultPool = defaultPool;
  o.threadCount = threadCount;
  o.connection = text(connection);
  o.polling = polling;
  o.pollingInterval = pollingInterval;
  setCommon(o.common, helpText, timestamp, owner, lastChanged, changeDiary, properties);
  return setObject(doc, "dsoPool", nullptr, name, o, status);
}

int GetDSOPoolFromXML(ZQXMLParsedStream* parsed, const char* name, char** appBlockName,
                      char** appOwner, uint32_t* enable, uint32_t* defaultPool,
                      uint32_t* threadCount, char** connection, uint32_t* polling,
                      uint32_t* pollingInterval, char** helpText, ZQTimestamp* timestamp,
                      ZQAccessNameType owner, ZQAccessNameType lastChanged, char** changeDiary,
                      ZQPropList* properties, ZQStatusList* status) {
  DsoPoolObject o;
  if (int rc = getObject(parsed, "dsoPool", nullptr, name, o, status)) return rc;
  giveApp(o.app, appBlockName, appOwner);
  give(enable, o.enable);
  give(defaultPool, o.defaultPool);
  give(threadCount, o.threadCount);
  give(connection, o.connection);
  give(polling, o.polling);
  give(pollingInterval, o.pollingInterval);
  giveCommon(o.common, helpText, timestamp, owner, lastChanged, changeDiary, properties);
  release(o);
  return 0;
}

}  // extern "C"
