// Definition objects through libzqxmlutil: a document of several objects
// written between a header and a footer, valid against docs/zqxml.xsd,
// listed and read back member by member; the other kinds through a table;
// refused documents and damaged objects leave the caller's outputs alone.
#include <gtest/gtest.h>
#include <libxml/parser.h>
#include <libxml/xmlschemas.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <string>

#include "frame/frame.h"
#include "support/xml_schema.h"
#include "zqapi/zqapi.h"

namespace {

// make fuzz-seeds style: with ZQ_FUZZ_SEEDS set, the documents written here
// become seeds of the xml fuzz target.
void keepAsSeed(const std::string& name, const char* text) {
  const char* dir = getenv("ZQ_FUZZ_SEEDS");
  if (!dir || !text) return;
  if (FILE* f = fopen((std::string(dir) + "/xml/" + name).c_str(), "w")) {
    fputs(text, f);
    fclose(f);
  }
}

template <class T>
T* items(uint32_t n) {
  return static_cast<T*>(zq::allocZeroed(n, sizeof(T)));
}

ZQWorkflowConnectStruct onForm(const char* form) {
  ZQWorkflowConnectStruct c{};
  c.type = ZQ_WORKFLOW_CONN_SCHEMA_LIST;
  c.schemaList = items<ZQNameList>(1);
  c.schemaList->count = 1;
  c.schemaList->items = items<ZQNameType>(1);
  strcpy(c.schemaList->items[0], form);
  return c;
}

// A log action and a process action (text that needs escaping).
ZQFilterActionList filterActions(const char* logFile) {
  ZQFilterActionList l{};
  l.count = 2;
  l.items = items<ZQFilterActionStruct>(2);
  l.items[0].action = ZQ_FILTER_ACTION_LOG;
  l.items[0].u.logFile = zq::dupString(logFile);
  l.items[1].action = ZQ_FILTER_ACTION_PROCESS;
  l.items[1].u.process = zq::dupString("notify <ops> & \"on-call\"");
  return l;
}

void expectSameActions(const ZQFilterActionList& a, const ZQFilterActionList& b) {
  ASSERT_EQ(a.count, b.count);
  EXPECT_EQ(b.items[0].action, uint32_t{ZQ_FILTER_ACTION_LOG});
  EXPECT_STREQ(a.items[0].u.logFile, b.items[0].u.logFile);
  EXPECT_EQ(b.items[1].action, uint32_t{ZQ_FILTER_ACTION_PROCESS});
  EXPECT_STREQ(a.items[1].u.process, b.items[1].u.process);
}

void expectOnForm(const ZQWorkflowConnectStruct& c, const char* form) {
  EXPECT_EQ(c.type, uint32_t{ZQ_WORKFLOW_CONN_SCHEMA_LIST});
  ASSERT_NE(c.schemaList, nullptr);
  ASSERT_EQ(c.schemaList->count, 1u);
  EXPECT_STREQ(c.schemaList->items[0], form);
}

// A list menu: a value, then a sub-menu of one value.
ZQCharMenuStruct listMenu() {
  ZQCharMenuStruct m{};
  m.menuType = ZQ_CHAR_MENU_LIST;
  m.u.menuList.count = 2;
  m.u.menuList.items = items<ZQCharMenuItemStruct>(2);
  strcpy(m.u.menuList.items[0].label, "High");
  m.u.menuList.items[0].type = ZQ_MENU_ITEM_VALUE;
  m.u.menuList.items[0].u.value = zq::dupString("1");
  strcpy(m.u.menuList.items[1].label, "More");
  m.u.menuList.items[1].type = ZQ_MENU_ITEM_MENU;
  auto* child = items<ZQCharMenuStruct>(1);
  child->menuType = ZQ_CHAR_MENU_LIST;
  child->u.menuList.count = 1;
  child->u.menuList.items = items<ZQCharMenuItemStruct>(1);
  strcpy(child->u.menuList.items[0].label, "Low");
  child->u.menuList.items[0].type = ZQ_MENU_ITEM_VALUE;
  child->u.menuList.items[0].u.value = zq::dupString("3");
  m.u.menuList.items[1].u.childMenu = child;
  return m;
}

ZQPermissionList permissions() {
  ZQPermissionList p{};
  p.count = 2;
  p.items = items<ZQPermissionStruct>(2);
  p.items[0] = {3, ZQ_PERMISSIONS_CHANGE};
  p.items[1] = {1001, ZQ_PERMISSIONS_VIEW};
  return p;
}

void expectSamePermissions(const ZQPermissionList& a, const ZQPermissionList& b) {
  ASSERT_EQ(a.count, b.count);
  for (uint32_t i = 0; i < a.count; ++i) {
    EXPECT_EQ(a.items[i].groupId, b.items[i].groupId);
    EXPECT_EQ(a.items[i].permissions, b.items[i].permissions);
  }
}

class XmlDefinitions : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_LT(ZQInitialization(&control_, &status_), 2);
    FreeZQStatusList(&status_, 0);
  }
  void TearDown() override {
    FreeZQXMLOutputDoc(&out_, 0);
    FreeZQXMLParsedStream(&parsed_, 0);
    FreeZQStatusList(&status_, 0);
    ZQTermination(&control_, &status_);
    FreeZQStatusList(&status_, 0);
  }
  std::string why() const {
    return status_.count && status_.items[0].appended ? status_.items[0].appended : "";
  }
  // Parses the document written into out_ into parsed_.
  int parse(const char* text = nullptr) {
    ZQXMLInputDoc in{};
    in.docType = ZQ_XML_DOC_CHAR_STR;
    in.u.charBuffer = const_cast<char*>(text ? text : out_.u.charBuffer);
    return ZQParseXMLDocument(&control_, &in, nullptr, &parsed_, nullptr, nullptr, &status_);
  }

  ZQControlStruct control_{};
  ZQStatusList status_{};
  ZQXMLOutputDoc out_{};
  ZQXMLParsedStream parsed_{};
};

TEST_F(XmlDefinitions, DocumentOfFormFieldsFiltersAndMenuIsListedAndReadBack) {
  ASSERT_EQ(ZQSetDocHeaderToXML(&control_, &out_, &status_), 0);

  // The form.
  ZQCompoundSchema kind{};
  kind.schemaType = ZQ_SCHEMA_REGULAR;
  ZQPermissionList perms = permissions();
  ZQInternalId ids[] = {1, 8, 536870913u};
  ZQInternalIdList fieldIds{3, ids};
  ZQInternalId views[] = {536870912u};
  ZQInternalIdList vuiIds{1, views};
  ASSERT_EQ(
      ZQSetSchemaToXML(&control_, &out_, "HelpDesk", "Service", "ACME", &kind, nullptr, &perms,
                       nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, "Default Admin View",
                       536870914u, &fieldIds, &vuiIds, "Tickets & <requests>", 1700000000, "Demo",
                       "Admin", "created", nullptr, 0, &status_),
      0)
      << why();

  // Two fields of the form, one of them with a default value.
  ZQFieldMappingStruct regular{};
  regular.fieldType = ZQ_FIELD_MAPPING_REGULAR;
  ZQValueStruct def{};
  def.dataType = ZQ_DATA_TYPE_CHAR;
  def.u.charValue = zq::dupString("New");
  ZQFieldLimitStruct noLimit{};
  ASSERT_EQ(ZQSetFieldToXML(&control_, &out_, "HelpDesk", "Status", 7, &regular, ZQ_DATA_TYPE_CHAR,
                            1, 2, 0, &def, &perms, &noLimit, nullptr, "the ticket's state",
                            1700000001, "Demo", "Admin", nullptr, nullptr, &status_),
            0)
      << why();
  ASSERT_EQ(ZQSetFieldToXML(&control_, &out_, "HelpDesk", "Summary", 8, &regular, ZQ_DATA_TYPE_CHAR,
                            2, 1, 0, nullptr, nullptr, &noLimit, nullptr, nullptr, 0, "Demo", "",
                            nullptr, nullptr, &status_),
            0)
      << why();

  // Two filters.
  ZQWorkflowConnectStruct forms = onForm("HelpDesk");
  ZQQualifierStruct none{};
  ZQFilterActionList ifs = filterActions("/var/log/zq/a.log");
  ZQFilterActionList elses = filterActions("/var/log/zq/else.log");
  for (const char* name : {"HD:Notify", "HD:Audit"}) {
    ASSERT_EQ(ZQSetFilterToXML(&control_, &out_, name, nullptr, nullptr, 500, &forms, 3, 1, &none,
                               &ifs, &elses, "help", 1700000002, "Demo", "Admin", "diary", nullptr,
                               4, "HD:OnError", &status_),
              0)
        << why();
  }

  // A menu.
  ZQCharMenuStruct menu = listMenu();
  ASSERT_EQ(ZQSetMenuToXML(&control_, &out_, "Priorities", nullptr, nullptr, 2, &menu, nullptr,
                           1700000003, "Demo", "Admin", nullptr, nullptr, &status_),
            0)
      << why();

  ASSERT_EQ(ZQSetDocFooterToXML(&control_, &out_, &status_), 0) << why();
  ASSERT_NE(out_.u.charBuffer, nullptr);
  EXPECT_TRUE(zqtest::validAgainstXmlSchema(out_.u.charBuffer)) << out_.u.charBuffer;
  keepAsSeed("form_fields_filters_menu", out_.u.charBuffer);
  ASSERT_EQ(parse(), 0) << why();

  // The objects, in document order; fields name their form.
  ZQStructItemList objects{};
  ASSERT_EQ(ZQGetListXMLObjects(&control_, &parsed_, &objects, &status_), 0) << why();
  struct Listed {
    uint32_t type;
    const char* name;
  } expected[] = {{ZQ_STRUCT_ITEM_SCHEMA, "HelpDesk"}, {ZQ_XML_OBJECT_FIELD, "Status"},
                  {ZQ_XML_OBJECT_FIELD, "Summary"},    {ZQ_STRUCT_ITEM_FILTER, "HD:Notify"},
                  {ZQ_STRUCT_ITEM_FILTER, "HD:Audit"}, {ZQ_STRUCT_ITEM_CHAR_MENU, "Priorities"}};
  ASSERT_EQ(objects.count, 6u);
  for (uint32_t i = 0; i < 6; ++i) {
    EXPECT_EQ(objects.items[i].type, expected[i].type) << i;
    EXPECT_STREQ(objects.items[i].name, expected[i].name) << i;
  }
  ASSERT_EQ(objects.items[1].selectedElements.count, 1u);
  EXPECT_STREQ(objects.items[1].selectedElements.items[0], "HelpDesk");
  EXPECT_EQ(objects.items[0].selectedElements.count, 0u);
  FreeZQStructItemList(&objects, 0);

  {  // the form, member by member
    char* app = nullptr;
    char* appOwner = nullptr;
    ZQCompoundSchema k{};
    ZQPermissionList p{};
    ZQNameType defaultView = {};
    uint32_t nextId = 0, option = 9;
    ZQInternalIdList f{}, v{};
    char* help = nullptr;
    char* diary = nullptr;
    ZQTimestamp ts = 0;
    ZQAccessNameType owner = {}, changed = {};
    ASSERT_EQ(ZQGetSchemaFromXML(&control_, &parsed_, "HelpDesk", &app, &appOwner, &k, nullptr, &p,
                                 nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, defaultView,
                                 &nextId, &f, &v, &help, &ts, owner, changed, &diary, nullptr,
                                 &option, &status_),
              0)
        << why();
    EXPECT_STREQ(app, "Service");
    EXPECT_STREQ(appOwner, "ACME");
    EXPECT_EQ(k.schemaType, uint32_t{ZQ_SCHEMA_REGULAR});
    expectSamePermissions(perms, p);
    EXPECT_STREQ(defaultView, "Default Admin View");
    EXPECT_EQ(nextId, 536870914u);
    ASSERT_EQ(f.count, 3u);
    EXPECT_EQ(f.items[2], 536870913u);
    ASSERT_EQ(v.count, 1u);
    EXPECT_EQ(v.items[0], 536870912u);
    EXPECT_STREQ(help, "Tickets & <requests>");
    EXPECT_EQ(ts, 1700000000);
    EXPECT_STREQ(owner, "Demo");
    EXPECT_STREQ(changed, "Admin");
    EXPECT_STREQ(diary, "created");
    EXPECT_EQ(option, 0u);
    FreeZQPermissionList(&p, 0);
    FreeZQInternalIdList(&f, 0);
    FreeZQInternalIdList(&v, 0);
    zq::freeBlock(app);
    zq::freeBlock(appOwner);
    zq::freeBlock(help);
    zq::freeBlock(diary);
  }
  {  // a field, member by member; the other field of the form is not it
    ZQInternalId id = 0;
    ZQFieldMappingStruct m{};
    uint32_t dataType = 0, option = 0, createMode = 0, bits = 9;
    ZQValueStruct d{};
    ZQPermissionList p{};
    char* help = nullptr;
    ZQTimestamp ts = 0;
    ZQAccessNameType owner = {};
    ASSERT_EQ(ZQGetFieldFromXML(&control_, &parsed_, "HelpDesk", "Status", &id, &m, &dataType,
                                &option, &createMode, &bits, &d, &p, nullptr, nullptr, &help, &ts,
                                owner, nullptr, nullptr, nullptr, &status_),
              0)
        << why();
    EXPECT_EQ(id, 7u);
    EXPECT_EQ(m.fieldType, uint32_t{ZQ_FIELD_MAPPING_REGULAR});
    EXPECT_EQ(dataType, uint32_t{ZQ_DATA_TYPE_CHAR});
    EXPECT_EQ(option, 1u);
    EXPECT_EQ(createMode, 2u);
    EXPECT_EQ(bits, 0u);
    EXPECT_EQ(d.dataType, uint32_t{ZQ_DATA_TYPE_CHAR});
    EXPECT_STREQ(d.u.charValue, "New");
    expectSamePermissions(perms, p);
    EXPECT_STREQ(help, "the ticket's state");
    EXPECT_EQ(ts, 1700000001);
    EXPECT_STREQ(owner, "Demo");
    FreeZQValueStruct(&d, 0);
    FreeZQPermissionList(&p, 0);
    zq::freeBlock(help);
    // The same field name on another form is not in the document.
    EXPECT_EQ(ZQGetFieldFromXML(&control_, &parsed_, "Other", "Status", &id, nullptr, nullptr,
                                nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                                nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &status_),
              ZQ_RETURN_ERROR);
    FreeZQStatusList(&status_, 0);
  }
  {  // the second filter, member by member
    char* app = reinterpret_cast<char*>(1);
    uint32_t order = 0, ops = 0, enable = 0, errOptions = 0;
    ZQWorkflowConnectStruct c{};
    ZQQualifierStruct q{};
    ZQFilterActionList a{}, e{};
    char* diary = nullptr;
    ZQNameType errorFilter = {};
    ASSERT_EQ(ZQGetFilterFromXML(&control_, &parsed_, "HD:Audit", &app, nullptr, &order, &c, &ops,
                                 &enable, &q, &a, &e, nullptr, nullptr, nullptr, nullptr, &diary,
                                 nullptr, &errOptions, errorFilter, &status_),
              0)
        << why();
    EXPECT_EQ(app, nullptr);  // no application block
    EXPECT_EQ(order, 500u);
    expectOnForm(c, "HelpDesk");
    EXPECT_EQ(ops, 3u);
    EXPECT_EQ(enable, 1u);
    expectSameActions(ifs, a);
    expectSameActions(elses, e);
    EXPECT_STREQ(diary, "diary");
    EXPECT_EQ(errOptions, 4u);
    EXPECT_STREQ(errorFilter, "HD:OnError");
    FreeZQWorkflowConnectStruct(&c, 0);
    FreeZQQualifierStruct(&q, 0);
    FreeZQFilterActionList(&a, 0);
    FreeZQFilterActionList(&e, 0);
    zq::freeBlock(diary);
  }
  {  // the menu, nested item included
    uint32_t refresh = 0;
    ZQCharMenuStruct m{};
    ASSERT_EQ(ZQGetMenuFromXML(&control_, &parsed_, "Priorities", nullptr, nullptr, &refresh, &m,
                               nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &status_),
              0)
        << why();
    EXPECT_EQ(refresh, 2u);
    ASSERT_EQ(m.menuType, uint32_t{ZQ_CHAR_MENU_LIST});
    ASSERT_EQ(m.u.menuList.count, 2u);
    EXPECT_STREQ(m.u.menuList.items[0].label, "High");
    EXPECT_STREQ(m.u.menuList.items[0].u.value, "1");
    ASSERT_EQ(m.u.menuList.items[1].type, uint32_t{ZQ_MENU_ITEM_MENU});
    const ZQCharMenuStruct* child = m.u.menuList.items[1].u.childMenu;
    ASSERT_NE(child, nullptr);
    ASSERT_EQ(child->u.menuList.count, 1u);
    EXPECT_STREQ(child->u.menuList.items[0].label, "Low");
    EXPECT_STREQ(child->u.menuList.items[0].u.value, "3");
    FreeZQCharMenuStruct(&m, 0);
  }

  // Wanted objects: found and missing.
  {
    ZQStructItemList wanted{};
    wanted.count = 2;
    wanted.items = items<ZQStructItemStruct>(2);
    wanted.items[0].type = ZQ_STRUCT_ITEM_FILTER;
    strcpy(wanted.items[0].name, "HD:Audit");
    wanted.items[1].type = ZQ_STRUCT_ITEM_FILTER;
    strcpy(wanted.items[1].name, "HD:Nowhere");
    ZQXMLInputDoc in{};
    in.docType = ZQ_XML_DOC_CHAR_STR;
    in.u.charBuffer = out_.u.charBuffer;
    ZQXMLParsedStream again{};
    ZQStructItemList found{}, missing{};
    ASSERT_EQ(ZQParseXMLDocument(&control_, &in, &wanted, &again, &found, &missing, &status_), 0);
    ASSERT_EQ(found.count, 1u);
    EXPECT_STREQ(found.items[0].name, "HD:Audit");
    ASSERT_EQ(missing.count, 1u);
    EXPECT_STREQ(missing.items[0].name, "HD:Nowhere");
    FreeZQStructItemList(&wanted, 0);
    FreeZQStructItemList(&found, 0);
    FreeZQStructItemList(&missing, 0);
    FreeZQXMLParsedStream(&again, 0);
  }

  FreeZQPermissionList(&perms, 0);
  FreeZQValueStruct(&def, 0);
  FreeZQWorkflowConnectStruct(&forms, 0);
  FreeZQFilterActionList(&ifs, 0);
  FreeZQFilterActionList(&elses, 0);
  FreeZQCharMenuStruct(&menu, 0);
}

// The other kinds: each written as a document of one object, valid, listed
// under its kind, and read back.
TEST_F(XmlDefinitions, EveryOtherKindRoundTrips) {
  struct Case {
    const char* what;
    uint32_t kind;
    std::function<int(ZQControlStruct*, ZQXMLOutputDoc*, ZQStatusList*)> set;
    std::function<void(ZQControlStruct*, ZQXMLParsedStream*, ZQStatusList*)> check;
  };
  ZQPropList noProps{};
  const Case cases[] = {
      {"view", ZQ_XML_OBJECT_VIEW,
       [&](auto* c, auto* d, auto* s) {
         return ZQSetVUIToXML(c, d, "HelpDesk", "Web View", 536870913u, "fr_FR", 2, &noProps, s);
       },
       [](auto* c, auto* p, auto* s) {
         ZQInternalId id = 0;
         char* locale = nullptr;
         uint32_t type = 0;
         ASSERT_EQ(ZQGetVUIFromXML(c, p, "HelpDesk", "Web View", &id, &locale, &type, nullptr, s),
                   0);
         EXPECT_EQ(id, 536870913u);
         EXPECT_STREQ(locale, "fr_FR");
         EXPECT_EQ(type, 2u);
         zq::freeBlock(locale);
       }},
      {"image", ZQ_STRUCT_ITEM_IMAGE,
       [&](auto* c, auto* d, auto* s) {
         unsigned char png[] = {0x89, 'P', 'N', 'G', 0};
         ZQImageDataStruct data{5, png};
         return ZQSetImageToXML(c, d, "Logo", nullptr, nullptr, &data, "png", 17, "the logo",
                                nullptr, "Demo", "Admin", nullptr, nullptr, s);
       },
       [](auto* c, auto* p, auto* s) {
         ZQImageDataStruct data{};
         char* type = nullptr;
         char* checksum = reinterpret_cast<char*>(1);
         char* description = nullptr;
         ASSERT_EQ(
             ZQGetImageFromXML(c, p, "Logo", nullptr, nullptr, &data, &type, nullptr, &checksum,
                               &description, nullptr, nullptr, nullptr, nullptr, nullptr, s),
             0);
         ASSERT_EQ(data.size, 5u);
         EXPECT_EQ(memcmp(data.bytes, "\x89PNG\0", 5), 0);
         EXPECT_STREQ(type, "png");
         EXPECT_EQ(checksum, nullptr);  // only a server computes it
         EXPECT_STREQ(description, "the logo");
         zq::freeBlock(data.bytes);
         zq::freeBlock(type);
         zq::freeBlock(description);
       }},
      {"active link", ZQ_STRUCT_ITEM_ACTIVE_LINK,
       [&](auto* c, auto* d, auto* s) {
         ZQWorkflowConnectStruct forms = onForm("HelpDesk");
         ZQInternalId g[] = {0, 3};
         ZQInternalIdList groups{2, g};
         ZQInternalId sa[] = {1001};
         ZQInternalIdList subAdmins{1, sa};
         int rc = ZQSetActiveLinkToXML(c, d, "HD:Open", nullptr, nullptr, 10, &forms, &groups, 4,
                                       536870913u, 8, 1, nullptr, nullptr, nullptr, &subAdmins,
                                       nullptr, 0, "Demo", "", nullptr, nullptr, 1, "HD:Err", s);
         FreeZQWorkflowConnectStruct(&forms, 0);
         return rc;
       },
       [](auto* c, auto* p, auto* s) {
         ZQWorkflowConnectStruct forms{};
         ZQInternalIdList groups{}, subAdmins{};
         uint32_t order = 0, mask = 0, enable = 0, errOptions = 0;
         ZQInternalId control = 0, focus = 0;
         ZQNameType errName = {};
         ASSERT_EQ(ZQGetActiveLinkFromXML(c, p, "HD:Open", nullptr, nullptr, &order, &forms,
                                          &groups, &mask, &control, &focus, &enable, nullptr,
                                          nullptr, nullptr, &subAdmins, nullptr, nullptr, nullptr,
                                          nullptr, nullptr, nullptr, &errOptions, errName, s),
                   0);
         EXPECT_EQ(order, 10u);
         expectOnForm(forms, "HelpDesk");
         ASSERT_EQ(groups.count, 2u);
         EXPECT_EQ(groups.items[1], 3u);
         EXPECT_EQ(mask, 4u);
         EXPECT_EQ(control, 536870913u);
         EXPECT_EQ(focus, 8u);
         EXPECT_EQ(enable, 1u);
         ASSERT_EQ(subAdmins.count, 1u);
         EXPECT_EQ(subAdmins.items[0], 1001u);
         EXPECT_EQ(errOptions, 1u);
         EXPECT_STREQ(errName, "HD:Err");
         FreeZQWorkflowConnectStruct(&forms, 0);
         FreeZQInternalIdList(&groups, 0);
         FreeZQInternalIdList(&subAdmins, 0);
       }},
      {"escalation", ZQ_STRUCT_ITEM_ESCALATION,
       [&](auto* c, auto* d, auto* s) {
         ZQWorkflowConnectStruct forms = onForm("HelpDesk");
         ZQFilterActionList acts = filterActions("/tmp/esc.log");
         int rc =
             ZQSetEscalationToXML(c, d, "HD:Stale", "Service", "ACME", 3600, &forms, 1, nullptr,
                                  &acts, nullptr, nullptr, 5, "Demo", "Admin", nullptr, nullptr, s);
         FreeZQWorkflowConnectStruct(&forms, 0);
         FreeZQFilterActionList(&acts, 0);
         return rc;
       },
       [](auto* c, auto* p, auto* s) {
         uint32_t interval = 0, enable = 0;
         ZQFilterActionList acts{}, elses{};
         char* app = nullptr;
         ASSERT_EQ(ZQGetEscalationFromXML(c, p, "HD:Stale", &app, nullptr, &interval, nullptr,
                                          &enable, nullptr, &acts, &elses, nullptr, nullptr,
                                          nullptr, nullptr, nullptr, nullptr, s),
                   0);
         EXPECT_STREQ(app, "Service");
         EXPECT_EQ(interval, 3600u);
         EXPECT_EQ(enable, 1u);
         ASSERT_EQ(acts.count, 2u);
         EXPECT_STREQ(acts.items[0].u.logFile, "/tmp/esc.log");
         EXPECT_EQ(elses.count, 0u);
         FreeZQFilterActionList(&acts, 0);
         zq::freeBlock(app);
       }},
      {"container", ZQ_STRUCT_ITEM_CONTAINER,
       [&](auto* c, auto* d, auto* s) {
         ZQPermissionList perms = permissions();
         ZQContainerOwnerObj owners[] = {{1, "HelpDesk"}};
         ZQContainerOwnerObjList ownerObjects{1, owners};
         int rc = ZQSetContainerToXML(c, d, "HD:Guide", nullptr, nullptr, &perms, nullptr,
                                      &ownerObjects, "Guide", "steps", 1, nullptr, nullptr, 0,
                                      "Demo", "", nullptr, nullptr, s);
         FreeZQPermissionList(&perms, 0);
         return rc;
       },
       [](auto* c, auto* p, auto* s) {
         ZQPermissionList perms{};
         ZQContainerOwnerObjList owners{};
         char* label = nullptr;
         uint32_t type = 0;
         ASSERT_EQ(ZQGetContainerFromXML(c, p, "HD:Guide", nullptr, nullptr, &perms, nullptr,
                                         &owners, &label, nullptr, &type, nullptr, nullptr, nullptr,
                                         nullptr, nullptr, nullptr, nullptr, s),
                   0);
         ZQPermissionList expected = permissions();
         expectSamePermissions(expected, perms);
         ASSERT_EQ(owners.count, 1u);
         EXPECT_STREQ(owners.items[0].ownerName, "HelpDesk");
         EXPECT_STREQ(label, "Guide");
         EXPECT_EQ(type, 1u);
         FreeZQPermissionList(&expected, 0);
         FreeZQPermissionList(&perms, 0);
         FreeZQContainerOwnerObjList(&owners, 0);
         zq::freeBlock(label);
       }},
      {"data-distribution mapping", ZQ_XML_OBJECT_DSO_MAPPING,
       [&](auto* c, auto* d, auto* s) {
         return ZQSetDSOMappingToXML(c, d, "Sync", nullptr, nullptr, "HelpDesk", "east", "HelpDesk",
                                     "west", 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, "1=1", nullptr, nullptr,
                                     "help", 0, "Demo", "", nullptr, nullptr, s);
       },
       [](auto* c, auto* p, auto* s) {
         ZQNameType from = {}, to = {};
         ZQServerNameType toServer = {};
         uint32_t enable = 0, required = 0;
         char* mapping = nullptr;
         char* back = reinterpret_cast<char*>(1);
         ASSERT_EQ(
             ZQGetDSOMappingFromXML(c, p, "Sync", nullptr, nullptr, from, nullptr, to, toServer,
                                    &enable, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                                    nullptr, nullptr, &required, &mapping, &back, nullptr, nullptr,
                                    nullptr, nullptr, nullptr, nullptr, nullptr, s),
             0);
         EXPECT_STREQ(from, "HelpDesk");
         EXPECT_STREQ(toServer, "west");
         EXPECT_EQ(enable, 1u);
         EXPECT_EQ(required, 10u);
         EXPECT_STREQ(mapping, "1=1");
         EXPECT_EQ(back, nullptr);
         zq::freeBlock(mapping);
       }},
      {"data-distribution pool", ZQ_XML_OBJECT_DSO_POOL,
       [&](auto* c, auto* d, auto* s) {
         return ZQSetDSOPoolToXML(c, d, "Pool", nullptr, nullptr, 1, 0, 4, "host=west", 1, 30,
                                  nullptr, 0, "Demo", "", nullptr, nullptr, s);
       },
       [](auto* c, auto* p, auto* s) {
         uint32_t threads = 0, interval = 0;
         char* connection = nullptr;
         ASSERT_EQ(ZQGetDSOPoolFromXML(c, p, "Pool", nullptr, nullptr, nullptr, nullptr, &threads,
                                       &connection, nullptr, &interval, nullptr, nullptr, nullptr,
                                       nullptr, nullptr, nullptr, s),
                   0);
         EXPECT_EQ(threads, 4u);
         EXPECT_STREQ(connection, "host=west");
         EXPECT_EQ(interval, 30u);
         zq::freeBlock(connection);
       }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ASSERT_EQ(c.set(&control_, &out_, &status_), 0) << why();
    ASSERT_NE(out_.u.charBuffer, nullptr);
    EXPECT_TRUE(zqtest::validAgainstXmlSchema(out_.u.charBuffer)) << out_.u.charBuffer;
    keepAsSeed(std::to_string(c.kind), out_.u.charBuffer);
    ASSERT_EQ(parse(), 0) << why();
    ZQStructItemList objects{};
    ASSERT_EQ(ZQGetListXMLObjects(&control_, &parsed_, &objects, &status_), 0);
    ASSERT_EQ(objects.count, 1u);
    EXPECT_EQ(objects.items[0].type, c.kind);
    FreeZQStructItemList(&objects, 0);
    c.check(&control_, &parsed_, &status_);
    EXPECT_EQ(status_.count, 0u) << why();
    FreeZQXMLParsedStream(&parsed_, 0);
    FreeZQXMLOutputDoc(&out_, 0);
    FreeZQStatusList(&status_, 0);
  }
}

TEST_F(XmlDefinitions, HostileDocumentsAreRefused) {
  const std::string deep = [] {
    std::string s = "<document xmlns=\"urn:zqapi:xml\" version=\"1\">";
    for (int i = 0; i < 3000; ++i) s += "<a>";
    for (int i = 0; i < 3000; ++i) s += "</a>";
    return s + "</document>";
  }();
  const struct {
    const char* what;
    std::string text;
  } cases[] = {
      {"malformed", "<document xmlns=\"urn:zqapi:xml\" version=\"1\"><form name=\"x\"></document>"},
      {"truncated", "<?xml version=\"1.0\"?><document xmlns=\"urn:zqapi:xml\" version=\"1\"><fi"},
      {"entity expansion",
       "<?xml version=\"1.0\"?><!DOCTYPE d [<!ENTITY a \"aaaaaaaaaa\"><!ENTITY b "
       "\"&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;\">]><document xmlns=\"urn:zqapi:xml\" "
       "version=\"1\"><form name=\"&b;\"/></document>"},
      {"external entity",
       "<?xml version=\"1.0\"?><!DOCTYPE d [<!ENTITY x SYSTEM \"file:///etc/passwd\">]>"
       "<document xmlns=\"urn:zqapi:xml\" version=\"1\"><form name=\"&x;\"/></document>"},
      {"other version", "<document xmlns=\"urn:zqapi:xml\" version=\"2\"/>"},
      {"deeply nested", deep},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(parse(c.text.c_str()), ZQ_RETURN_ERROR);
    EXPECT_EQ(parsed_.state, nullptr);
    ASSERT_GE(status_.count, 1u);
    EXPECT_EQ(status_.items[0].messageNumber, 8954);
    FreeZQStatusList(&status_, 0);
  }
}

// A damaged object fails whole: every output keeps what the caller put in.
TEST_F(XmlDefinitions, DamagedObjectLeavesTheOutputsAlone) {
  // Written by hand: a field whose data type is not a number.
  const std::string doc =
      "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
      "<document xmlns=\"urn:zqapi:xml\" version=\"1\">"
      "<field name=\"Status\" form=\"HelpDesk\"><fieldId>7</fieldId><parts>"
      "<fieldName>Status</fieldName><mapping><fieldType>1</fieldType></mapping>"
      "<dataType>four</dataType></parts><properties><items/></properties></field>"
      "</document>";
  ASSERT_EQ(parse(doc.c_str()), 0) << why();

  ZQInternalId id = 77;
  ZQFieldMappingStruct mapping{};
  mapping.fieldType = 99;
  char* help = reinterpret_cast<char*>(0x1);
  ZQAccessNameType owner = "untouched";
  EXPECT_EQ(ZQGetFieldFromXML(&control_, &parsed_, "HelpDesk", "Status", &id, &mapping, nullptr,
                              nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &help,
                              nullptr, owner, nullptr, nullptr, nullptr, &status_),
            ZQ_RETURN_ERROR);
  EXPECT_EQ(id, 77u);
  EXPECT_EQ(mapping.fieldType, 99u);
  EXPECT_EQ(help, reinterpret_cast<char*>(0x1));
  EXPECT_STREQ(owner, "untouched");
  ASSERT_GE(status_.count, 1u);
  EXPECT_EQ(status_.items[0].messageNumber, 8954);
  FreeZQStatusList(&status_, 0);

  // A menu nested deeper than the reader follows (the writer has no
  // bound): written, then refused whole when read.
  ZQCharMenuStruct deep = listMenu();
  ZQCharMenuStruct* at = &deep;
  for (int i = 0; i < 40; ++i) {
    at = at->u.menuList.items[1].u.childMenu;
    at->u.menuList.count = 2;
    at->u.menuList.items = static_cast<ZQCharMenuItemStruct*>(
        zq::reallocate(at->u.menuList.items, 2 * sizeof(ZQCharMenuItemStruct)));
    at->u.menuList.items[1] = ZQCharMenuItemStruct{};
    strcpy(at->u.menuList.items[1].label, "Deeper");
    at->u.menuList.items[1].type = ZQ_MENU_ITEM_MENU;
    ZQCharMenuStruct next = listMenu();
    FreeZQCharMenuStruct(next.u.menuList.items[1].u.childMenu, 1);
    next.u.menuList.items[1].u.childMenu = nullptr;
    auto* child = static_cast<ZQCharMenuStruct*>(zq::allocZeroed(1, sizeof(ZQCharMenuStruct)));
    *child = next;
    at->u.menuList.items[1].u.childMenu = child;
  }
  ASSERT_EQ(ZQSetMenuToXML(&control_, &out_, "Deep", nullptr, nullptr, 1, &deep, nullptr, 0, "", "",
                           nullptr, nullptr, &status_),
            0)
      << why();
  FreeZQCharMenuStruct(&deep, 0);
  FreeZQXMLParsedStream(&parsed_, 0);
  ASSERT_EQ(parse(), 0) << why();
  uint32_t refresh = 5;
  ZQCharMenuStruct menu{};
  menu.menuType = 42;
  EXPECT_EQ(ZQGetMenuFromXML(&control_, &parsed_, "Deep", nullptr, nullptr, &refresh, &menu,
                             nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &status_),
            ZQ_RETURN_ERROR);
  EXPECT_EQ(refresh, 5u);
  EXPECT_EQ(menu.menuType, 42u);
  ASSERT_GE(status_.count, 1u);
  EXPECT_NE(std::string(status_.items[0].appended).find("nesting"), std::string::npos) << why();
  FreeZQStatusList(&status_, 0);
  FreeZQXMLOutputDoc(&out_, 0);

  // An object not in the document, and no name at all.
  EXPECT_EQ(ZQGetMenuFromXML(&control_, &parsed_, "Nowhere", nullptr, nullptr, &refresh, nullptr,
                             nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &status_),
            ZQ_RETURN_ERROR);
  EXPECT_EQ(ZQSetMenuToXML(&control_, &out_, "", nullptr, nullptr, 1, nullptr, nullptr, 0, "", "",
                           nullptr, nullptr, &status_),
            ZQ_RETURN_ERROR);
  EXPECT_EQ(out_.u.charBuffer, nullptr);
}

}  // namespace
