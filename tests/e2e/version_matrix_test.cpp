// Representative calls of every family against zqserverd limited to one
// protocol version (7 to 14) and against a 7-14 server. The expected outcome
// of each cell is written by hand from the procedure table (the versions of
// each procedure) and the stepping rules: a procedure the older version lacks
// is refused here (288) unless only the steps 11-to-10 or 8-to-7 lost it,
// which leave it to the server (91); currency, date and time-of-day values
// do not travel below 9, view and display values not below 8 (283).
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstring>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "entry_store.h"
#include "platform/compress.h"
#include "store.h"
#include "support/server_fixture.h"
#include "zqapi/zqapi.h"

namespace {

using zqtest::Status;

constexpr int kWorks = 0;
constexpr int kRange = 0;  // the parameter of the 7-14 server

using Row = std::array<int, 8>;  // versions 7 to 14: kWorks or the refusal's message

// Rows by the version a procedure first appears in. Only the steps 11-to-10
// and 8-to-7 leave a missing procedure to the server (91); the stub they
// keep is unknown to the steps below, so the older servers answer the same.
// Every other step refuses here (288), and so does each version below it.
constexpr Row kAll{kWorks, kWorks, kWorks, kWorks, kWorks, kWorks, kWorks, kWorks};
constexpr Row kFrom8{91, kWorks, kWorks, kWorks, kWorks, kWorks, kWorks, kWorks};
constexpr Row kFrom9{288, 288, kWorks, kWorks, kWorks, kWorks, kWorks, kWorks};
constexpr Row kFrom10{288, 288, 288, kWorks, kWorks, kWorks, kWorks, kWorks};
constexpr Row kFrom11{91, 91, 91, 91, kWorks, kWorks, kWorks, kWorks};
constexpr Row kFrom12{288, 288, 288, 288, 288, kWorks, kWorks, kWorks};
constexpr Row kFrom13{288, 288, 288, 288, 288, 288, kWorks, kWorks};
constexpr Row kFrom14{288, 288, 288, 288, 288, 288, 288, kWorks};
// Values of types 12 to 14 in the entry changes do not travel below 9,
// types 37, 42 and 43 not below 8.
constexpr Row kDateValue{283, 283, kWorks, kWorks, kWorks, kWorks, kWorks, kWorks};
constexpr Row kViewValue{283, kWorks, kWorks, kWorks, kWorks, kWorks, kWorks, kWorks};

constexpr ZQInternalId kText = 536870913;
constexpr ZQInternalId kDate = 536870914;
constexpr ZQInternalId kMoney = 536870915;
constexpr ZQInternalId kView = 536870916;
constexpr ZQInternalId kFile = 536870917;
constexpr const char* kSeeded = "000000000000001";

// What one cell leaves for a later one on the same server.
struct Scratch {
  std::string created;   // id of the entry the create cell made
  std::string exported;  // definitions text of the export cell
};
Scratch& scratch() {
  static Scratch s;
  return s;
}

struct Cell {
  const char* name;
  std::function<int(ZQControlStruct*, Status&)> run;
  Row expected;
};

ZQFieldValueStruct textValue(ZQInternalId id, const char* text) {
  ZQFieldValueStruct v{};
  v.fieldId = id;
  v.value.dataType = ZQ_DATA_TYPE_CHAR;
  v.value.u.charValue = const_cast<char*>(text);
  return v;
}

struct SeededId {
  ZQEntryIdType id{};
  ZQEntryIdList list{1, &id};
  explicit SeededId(const std::string& text = kSeeded) {
    memcpy(id, text.data(), std::min(text.size(), sizeof id - 1));
  }
};

struct OneName {
  ZQNameType name{};
  ZQNameList list{1, &name};
  explicit OneName(const char* text) { strncpy(name, text, sizeof name - 1); }
};

int setEntryWithDate(ZQControlStruct* c, Status& s) {
  SeededId entry;
  ZQFieldValueStruct v{};
  v.fieldId = kDate;
  v.value.dataType = ZQ_DATA_TYPE_DATE;
  v.value.u.dateValue = 2460000;
  ZQFieldValueList values{1, &v};
  return ZQSetEntry(c, "Matrix", &entry.list, &values, 0, 0, &s);
}

int createEntryWithText(ZQControlStruct* c, Status& s) {
  ZQFieldValueStruct v = textValue(kText, "text");
  ZQFieldValueList values{1, &v};
  ZQEntryIdType id = "";
  const int rc = ZQCreateEntry(c, "Matrix", &values, id, &s);
  scratch().created = id;
  return rc;
}

int createEntryWithView(ZQControlStruct* c, Status& s) {
  ZQFieldValueStruct v{};
  v.fieldId = kView;
  v.value.dataType = ZQ_DATA_TYPE_VIEW;
  v.value.u.charValue = const_cast<char*>("<view/>");
  ZQFieldValueList values{1, &v};
  ZQEntryIdType id = "";
  return ZQCreateEntry(c, "Matrix", &values, id, &s);
}

int mergeEntryWithCurrency(ZQControlStruct* c, Status& s) {
  ZQCurrencyStruct money{};
  money.value = const_cast<char*>("12.50");
  strcpy(money.currencyCode, "EUR");
  ZQFieldValueStruct v{};
  v.fieldId = kMoney;
  v.value.dataType = ZQ_DATA_TYPE_CURRENCY;
  v.value.u.currencyValue = &money;
  ZQFieldValueList values{1, &v};
  ZQEntryIdType id = "";
  return ZQMergeEntry(c, "Matrix", &values, 2, id, &s);
}

ZQFilterActionStruct filterMessage() {
  ZQFilterActionStruct a{};
  a.action = ZQ_FILTER_ACTION_MESSAGE;
  a.u.message.messageType = 2;
  a.u.message.messageNumber = 10001;
  a.u.message.message = const_cast<char*>("stop");
  return a;
}

// The form list of a workflow object attached to "Matrix".
struct OnMatrix {
  OneName form{"Matrix"};
  ZQWorkflowConnectStruct c{};
  OnMatrix() {
    c.type = ZQ_WORKFLOW_CONN_SCHEMA_LIST;
    c.schemaList = &form.list;
  }
};

ZQCharMenuStruct listMenu(ZQCharMenuItemStruct& item) {
  memset(&item, 0, sizeof item);
  strcpy(item.label, "One");
  item.type = ZQ_MENU_ITEM_VALUE;
  item.u.value = const_cast<char*>("1");
  ZQCharMenuStruct m{};
  m.menuType = ZQ_CHAR_MENU_LIST;
  m.u.menuList = {1, &item};
  return m;
}

const std::vector<Cell>& cells() {
  static const std::vector<Cell> table = {
      // ---- server information and administration ----
      {"GetServerInfo (36)",
       [](ZQControlStruct* c, Status& s) {
         uint32_t tag = 4;
         ZQServerInfoRequestList request{1, &tag};
         ZQServerInfoList out{};
         int rc = ZQGetServerInfo(c, &request, &out, &s);
         FreeZQServerInfoList(&out, 0);
         return rc;
       },
       kAll},
      {"GetServerStatistics (57)",
       [](ZQControlStruct* c, Status& s) {
         uint32_t tag = 1;
         ZQServerInfoRequestList request{1, &tag};
         ZQServerInfoList out{};
         int rc = ZQGetServerStatistics(c, &request, &out, &s);
         FreeZQServerInfoList(&out, 0);
         return rc;
       },
       kAll},
      {"VerifyUser (32)",
       [](ZQControlStruct* c, Status& s) {
         ZQBoolean admin = 0, subAdmin = 0, customize = 0;
         return ZQVerifyUser(c, &admin, &subAdmin, &customize, &s);
       },
       kAll},
      {"GetListUser (46)",
       [](ZQControlStruct* c, Status& s) {
         ZQUserInfoList users{};
         int rc = ZQGetListUser(c, 0, 0, &users, &s);
         FreeZQUserInfoList(&users, 0);
         return rc;
       },
       kAll},
      {"GetListGroup (33)",
       [](ZQControlStruct* c, Status& s) {
         ZQGroupInfoList groups{};
         int rc = ZQGetListGroup(c, nullptr, nullptr, &groups, &s);
         FreeZQGroupInfoList(&groups, 0);
         return rc;
       },
       kAll},
      {"GetListRole (126)",
       [](ZQControlStruct* c, Status& s) {
         ZQRoleInfoList roles{};
         int rc = ZQGetListRole(c, "App", nullptr, nullptr, &roles, &s);
         FreeZQRoleInfoList(&roles, 0);
         return rc;
       },
       kFrom10},
      {"GetListApplicationState (127)",
       [](ZQControlStruct* c, Status& s) {
         ZQNameList states{};
         int rc = ZQGetListApplicationState(c, &states, &s);
         FreeZQNameList(&states, 0);
         return rc;
       },
       kFrom10},
      {"GetListSQL (59)",
       [](ZQControlStruct* c, Status& s) {
         ZQValueListList rows{};
         uint32_t matches = 0;
         int rc = ZQGetListSQL(c, "select 1", 1, &rows, &matches, &s);
         FreeZQValueListList(&rows, 0);
         return rc;
       },
       kAll},

      // ---- entries ----
      {"CreateEntry, text value (3)", createEntryWithText, kAll},
      {"CreateEntry, view value (3)", createEntryWithView, kViewValue},
      {"SetEntry, text value (2)",
       [](ZQControlStruct* c, Status& s) {
         SeededId entry;
         ZQFieldValueStruct v = textValue(kText, "changed");
         ZQFieldValueList values{1, &v};
         return ZQSetEntry(c, "Matrix", &entry.list, &values, 0, 0, &s);
       },
       kAll},
      {"SetEntry, date value (2)", setEntryWithDate, kDateValue},
      {"MergeEntry, currency value (37)", mergeEntryWithCurrency, kDateValue},
      {"GetEntry (1)",
       [](ZQControlStruct* c, Status& s) {
         SeededId entry;
         ZQInternalId wanted = kText;
         ZQInternalIdList fields{1, &wanted};
         ZQFieldValueList values{};
         int rc = ZQGetEntry(c, "Matrix", &entry.list, &fields, &values, &s);
         if (rc < 2 && values.count != 1) rc = 99;
         FreeZQFieldValueList(&values, 0);
         return rc;
       },
       kAll},
      {"GetMultipleEntries (67)",
       [](ZQControlStruct* c, Status& s) {
         SeededId entry;
         ZQEntryIdListList ids{1, &entry.list};
         ZQBooleanList exists{};
         ZQFieldValueListList values{};
         int rc = ZQGetMultipleEntries(c, "Matrix", &ids, nullptr, &exists, &values, &s);
         if (rc < 2 && (exists.count != 1 || !exists.items[0])) rc = 99;
         FreeZQBooleanList(&exists, 0);
         FreeZQFieldValueListList(&values, 0);
         return rc;
       },
       kAll},
      {"GetEntryBLOB (80)",
       [](ZQControlStruct* c, Status& s) {
         SeededId entry;
         ZQLocStruct buffer{};
         buffer.locationType = ZQ_LOC_BUFFER;
         int rc = ZQGetEntryBLOB(c, "Matrix", &entry.list, kFile, &buffer, &s);
         if (rc < 2 && buffer.u.buffer.size != 5) rc = 99;
         ZQFree(buffer.u.buffer.bytes);
         return rc;
       },
       kAll},
      {"DeleteEntry (4)",
       [](ZQControlStruct* c, Status& s) {
         SeededId entry(scratch().created);
         return ZQDeleteEntry(c, "Matrix", &entry.list, 0, &s);
       },
       kAll},
      {"ServiceEntry (136)",
       [](ZQControlStruct* c, Status& s) {
         SeededId entry;
         ZQFieldValueStruct in = textValue(kText, "asked");
         ZQFieldValueList inputs{1, &in};
         ZQInternalId wanted = kText;
         ZQInternalIdList outputIds{1, &wanted};
         ZQFieldValueList out{};
         int rc = ZQServiceEntry(c, "Matrix", &entry.list, &inputs, &outputIds, &out, &s);
         FreeZQFieldValueList(&out, 0);
         return rc;
       },
       kFrom12},

      // ---- queries ----
      {"GetListEntry (5)",
       [](ZQControlStruct* c, Status& s) {
         ZQEntryListList entries{};
         uint32_t matches = 0;
         int rc = ZQGetListEntry(c, "Matrix", nullptr, nullptr, nullptr, 0, 0, 0, &entries,
                                 &matches, &s);
         if (rc < 2 && entries.count == 0) rc = 99;
         FreeZQEntryListList(&entries, 0);
         return rc;
       },
       kAll},
      {"GetListEntryWithFields (73)",
       [](ZQControlStruct* c, Status& s) {
         ZQEntryListFieldStruct column{kText, 10, ""};
         ZQEntryListFieldList fields{1, &column};
         ZQEntryListFieldValueList entries{};
         uint32_t matches = 0;
         int rc = ZQGetListEntryWithFields(c, "Matrix", nullptr, &fields, nullptr, 0, 0, 0,
                                           &entries, &matches, &s);
         if (rc < 2 && (entries.count == 0 || matches != entries.count)) rc = 99;
         FreeZQEntryListFieldValueList(&entries, 0);
         return rc;
       },
       kAll},
      {"GetEntryStatistics (6)",
       [](ZQControlStruct* c, Status& s) {
         ZQStatisticsResultList out{};
         int rc = ZQGetEntryStatistics(c, "Matrix", nullptr, nullptr, 1, nullptr, &out, &s);
         FreeZQStatisticsResultList(&out, 0);
         return rc;
       },
       kAll},
      {"GetListEntryBlocks (135)",
       [](ZQControlStruct* c, Status& s) {
         ZQEntryListFieldStruct column{kText, 10, ""};
         ZQEntryListFieldList fields{1, &column};
         ZQEntryBlockList blocks{};
         uint32_t rows = 0, matches = 0;
         int rc = ZQGetListEntryBlocks(c, "Matrix", nullptr, &fields, nullptr, 10, 0, 0, 0,
                                       &blocks, &rows, &matches, &s);
         FreeZQEntryBlockList(&blocks, 0);
         return rc;
       },
       kFrom11},
      {"GetOneEntryWithFields (181)",
       [](ZQControlStruct* c, Status& s) {
         ZQEntryListFieldStruct column{kText, 10, ""};
         ZQEntryListFieldList fields{1, &column};
         ZQEntryListFieldValueList entries{};
         uint32_t matches = 0;
         int rc = ZQGetOneEntryWithFields(c, "Matrix", nullptr, &fields, nullptr, 0, &entries,
                                          &matches, &s);
         FreeZQEntryListFieldValueList(&entries, 0);
         return rc;
       },
       kFrom14},

      // ---- forms and fields ----
      {"CreateSchema (9)",
       [](ZQControlStruct* c, Status& s) {
         ZQCompoundSchema kind{};
         kind.schemaType = ZQ_SCHEMA_REGULAR;
         return ZQCreateSchema(c, "Made", &kind, nullptr, nullptr, nullptr, nullptr, nullptr,
                               nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                               nullptr, 0, &s);
       },
       kAll},
      {"GetSchema (7)",
       [](ZQControlStruct* c, Status& s) {
         ZQCompoundSchema kind{};
         int rc = ZQGetSchema(c, "Matrix", &kind, nullptr, nullptr, nullptr, nullptr, nullptr,
                              nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                              nullptr, nullptr, nullptr, &s);
         if (rc < 2 && kind.schemaType != ZQ_SCHEMA_REGULAR) rc = 99;
         FreeZQCompoundSchema(&kind, 0);
         return rc;
       },
       kAll},
      {"GetListSchema (11)",
       [](ZQControlStruct* c, Status& s) {
         ZQNameList names{};
         int rc = ZQGetListSchema(c, 0, 0, nullptr, nullptr, nullptr, &names, &s);
         FreeZQNameList(&names, 0);
         return rc;
       },
       kAll},
      {"GetListSchemaWithAlias (101, emulated at 7)",
       [](ZQControlStruct* c, Status& s) {
         ZQNameList names{}, aliases{};
         int rc = ZQGetListSchemaWithAlias(c, 0, 0, nullptr, nullptr, nullptr, nullptr, nullptr,
                                           &names, &aliases, &s);
         if (rc < 2 && (names.count == 0 || names.count != aliases.count)) rc = 99;
         FreeZQNameList(&names, 0);
         FreeZQNameList(&aliases, 0);
         return rc;
       },
       kAll},
      {"GetMultipleSchemas (86)",
       [](ZQControlStruct* c, Status& s) {
         ZQNameList names{};
         int rc = ZQGetMultipleSchemas(c, 0, 0, nullptr, nullptr, nullptr, &names, nullptr, nullptr,
                                       nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                                       nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                                       nullptr, nullptr, &s);
         FreeZQNameList(&names, 0);
         return rc;
       },
       kFrom8},
      {"CreateField (14)",
       [](ZQControlStruct* c, Status& s) {
         ZQInternalId id = 536870930;
         ZQPermissionStruct perm{1, ZQ_PERMISSIONS_CHANGE};
         ZQPermissionList perms{1, &perm};
         return ZQCreateField(c, "Made", &id, 0, "Made field", nullptr, ZQ_DATA_TYPE_CHAR,
                              ZQ_FIELD_OPTION_OPTIONAL, ZQ_FIELD_OPEN_AT_CREATE, 0, nullptr,
                              &perms, nullptr, nullptr, nullptr, nullptr, nullptr, &s);
       },
       kAll},
      {"CreateMultipleFields (151)",
       [](ZQControlStruct* c, Status& s) {
         ZQInternalId id = 536870931;
         ZQInternalIdList ids{1, &id};
         uint32_t reserved = 0, type = ZQ_DATA_TYPE_INTEGER, option = ZQ_FIELD_OPTION_OPTIONAL,
                  mode = ZQ_FIELD_OPEN_AT_CREATE, bits = 0;
         uint32_t *typePtr = &type, *optionPtr = &option, *modePtr = &mode, *bitsPtr = &bits;
         ZQUnsignedIntList reservedOk{1, &reserved};
         ZQUnsignedIntPtrList types{1, &typePtr}, options{1, &optionPtr}, modes{1, &modePtr},
             optionBits{1, &bitsPtr};
         ZQFieldMappingStruct mapping{};
         mapping.fieldType = ZQ_FIELD_MAPPING_REGULAR;
         ZQFieldMappingStruct* mappingPtr = &mapping;
         ZQFieldMappingPtrList mappings{1, &mappingPtr};
         ZQNameType name = "Made number";
         ZQNameType* namePtr = &name;
         ZQNamePtrList names{1, &namePtr};
         return ZQCreateMultipleFields(c, "Made", &ids, &reservedOk, &names, &mappings, &types,
                                       &options, &modes, &optionBits, nullptr, nullptr, nullptr,
                                       nullptr, nullptr, nullptr, nullptr, &s);
       },
       kFrom13},
      {"GetField (12)",
       [](ZQControlStruct* c, Status& s) {
         uint32_t dataType = 0;
         int rc = ZQGetField(c, "Matrix", kText, nullptr, nullptr, &dataType, nullptr, nullptr,
                             nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                             nullptr, nullptr, nullptr, &s);
         if (rc < 2 && dataType != ZQ_DATA_TYPE_CHAR) rc = 99;
         return rc;
       },
       kAll},
      {"GetMultipleFields (79)",
       [](ZQControlStruct* c, Status& s) {
         ZQInternalId wanted = kText;
         ZQInternalIdList wantedIds{1, &wanted};
         ZQBooleanList exists{};
         ZQInternalIdList ids{};
         int rc = ZQGetMultipleFields(c, "Matrix", &wantedIds, &exists, &ids, nullptr, nullptr,
                                      nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                                      nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                                      nullptr, &s);
         if (rc < 2 && (exists.count != 1 || !exists.items[0])) rc = 99;
         FreeZQBooleanList(&exists, 0);
         FreeZQInternalIdList(&ids, 0);
         return rc;
       },
       kAll},
      {"GetListVUI (66)",
       [](ZQControlStruct* c, Status& s) {
         ZQInternalIdList ids{};
         int rc = ZQGetListVUI(c, "Matrix", 0, &ids, &s);
         FreeZQInternalIdList(&ids, 0);
         return rc;
       },
       kAll},
      {"GetMultipleVUIs (88)",
       [](ZQControlStruct* c, Status& s) {
         ZQInternalIdList ids{};
         int rc = ZQGetMultipleVUIs(c, "Matrix", nullptr, 0, nullptr, &ids, nullptr, nullptr,
                                    nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                                    &s);
         FreeZQInternalIdList(&ids, 0);
         return rc;
       },
       kFrom8},
      {"GetListSupportFile (72)",
       [](ZQControlStruct* c, Status& s) {
         ZQInternalIdList ids{};
         int rc = ZQGetListSupportFile(c, 0, "Matrix", 0, 0, &ids, &s);
         FreeZQInternalIdList(&ids, 0);
         return rc;
       },
       kAll},

      // ---- workflow objects ----
      {"CreateFilter (23)",
       [](ZQControlStruct* c, Status& s) {
         OnMatrix forms;
         ZQFilterActionStruct action = filterMessage();
         ZQFilterActionList actions{1, &action};
         // Disabled: the entry changes of later cells must not meet it.
         return ZQCreateFilter(c, "Filter", 500, &forms.c, ZQ_OPERATION_CREATE, 0, nullptr,
                               &actions, nullptr, "help", "", nullptr, nullptr, 0, nullptr, &s);
       },
       kAll},
      {"GetFilter (21)",
       [](ZQControlStruct* c, Status& s) {
         uint32_t order = 0;
         int rc = ZQGetFilter(c, "Filter", &order, nullptr, nullptr, nullptr, nullptr, nullptr,
                              nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                              nullptr, nullptr, &s);
         if (rc < 2 && order != 500) rc = 99;
         return rc;
       },
       kAll},
      {"GetMultipleFilters (83)",
       [](ZQControlStruct* c, Status& s) {
         OneName wanted("Filter");
         ZQBooleanList exists{};
         int rc = ZQGetMultipleFilters(c, 0, &wanted.list, &exists, nullptr, nullptr, nullptr,
                                       nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                                       nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                                       nullptr, &s);
         if (rc < 2 && (exists.count != 1 || !exists.items[0])) rc = 99;
         FreeZQBooleanList(&exists, 0);
         return rc;
       },
       kFrom8},
      {"CreateActiveLink (40)",
       [](ZQControlStruct* c, Status& s) {
         OnMatrix forms;
         ZQActiveLinkActionStruct action{};
         action.action = ZQ_ACTIVE_LINK_ACTION_MESSAGE;
         action.u.message.messageNumber = 10001;
         action.u.message.message = const_cast<char*>("hello");
         ZQActiveLinkActionList actions{1, &action};
         return ZQCreateActiveLink(c, "Link", 7, &forms.c, nullptr, 1, nullptr, nullptr, 1,
                                   nullptr, &actions, nullptr, "help", "", nullptr, nullptr, 0,
                                   nullptr, &s);
       },
       kAll},
      {"GetActiveLink (38)",
       [](ZQControlStruct* c, Status& s) {
         uint32_t order = 0;
         int rc = ZQGetActiveLink(c, "Link", &order, nullptr, nullptr, nullptr, nullptr, nullptr,
                                  nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                                  nullptr, nullptr, nullptr, nullptr, nullptr, &s);
         if (rc < 2 && order != 7) rc = 99;
         return rc;
       },
       kAll},
      {"GetMultipleActiveLinks (82)",
       [](ZQControlStruct* c, Status& s) {
         OneName wanted("Link");
         ZQBooleanList exists{};
         int rc = ZQGetMultipleActiveLinks(c, 0, &wanted.list, &exists, nullptr, nullptr, nullptr,
                                           nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                                           nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                                           nullptr, nullptr, nullptr, nullptr, &s);
         if (rc < 2 && (exists.count != 1 || !exists.items[0])) rc = 99;
         FreeZQBooleanList(&exists, 0);
         return rc;
       },
       kFrom8},
      {"CreateEscalation (50)",
       [](ZQControlStruct* c, Status& s) {
         OnMatrix forms;
         ZQEscalationTimeStruct time{};
         time.kind = ZQ_ESCALATION_INTERVAL;
         time.u.interval = 3600;
         ZQFilterActionStruct log{};
         log.action = ZQ_FILTER_ACTION_LOG;
         log.u.logFile = const_cast<char*>("/dev/null");
         ZQFilterActionList actions{1, &log};
         return ZQCreateEscalation(c, "Escalation", &time, &forms.c, 1, nullptr, &actions,
                                   nullptr, "help", "", nullptr, nullptr, &s);
       },
       kAll},
      {"GetListEscalation (52)",
       [](ZQControlStruct* c, Status& s) {
         ZQNameList names{};
         int rc = ZQGetListEscalation(c, "Matrix", 0, nullptr, &names, &s);
         if (rc < 2 && names.count != 1) rc = 99;
         FreeZQNameList(&names, 0);
         return rc;
       },
       kAll},
      {"GetListContainer (78)",
       [](ZQControlStruct* c, Status& s) {
         ZQContainerInfoList containers{};
         int rc = ZQGetListContainer(c, 0, nullptr, 0, nullptr, nullptr, &containers, &s);
         FreeZQContainerInfoList(&containers, 0);
         return rc;
       },
       kAll},

      // ---- menus ----
      {"CreateCharMenu (18)",
       [](ZQControlStruct* c, Status& s) {
         ZQCharMenuItemStruct item;
         ZQCharMenuStruct menu = listMenu(item);
         return ZQCreateCharMenu(c, "Menu", ZQ_MENU_REFRESH_OPEN, &menu, "help", "", nullptr,
                                 nullptr, &s);
       },
       kAll},
      {"GetCharMenu (16)",
       [](ZQControlStruct* c, Status& s) {
         ZQCharMenuStruct menu{};
         int rc = ZQGetCharMenu(c, "Menu", nullptr, &menu, nullptr, nullptr, nullptr, nullptr,
                                nullptr, nullptr, &s);
         if (rc < 2 && (menu.menuType != ZQ_CHAR_MENU_LIST || menu.u.menuList.count != 1)) rc = 99;
         FreeZQCharMenuStruct(&menu, 0);
         return rc;
       },
       kAll},
      {"GetListCharMenu (20)",
       [](ZQControlStruct* c, Status& s) {
         ZQNameList names{};
         int rc = ZQGetListCharMenu(c, 0, nullptr, nullptr, nullptr, &names, &s);
         FreeZQNameList(&names, 0);
         return rc;
       },
       kAll},
      {"GetMultipleCharMenus (87)",
       [](ZQControlStruct* c, Status& s) {
         OneName wanted("Menu");
         ZQBooleanList exists{};
         int rc = ZQGetMultipleCharMenus(c, 0, &wanted.list, &exists, nullptr, nullptr, nullptr,
                                         nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                                         &s);
         if (rc < 2 && (exists.count != 1 || !exists.items[0])) rc = 99;
         FreeZQBooleanList(&exists, 0);
         return rc;
       },
       kFrom8},
      {"ExpandCharMenu, query menu (55)",
       [](ZQControlStruct* c, Status& s) {
         ZQCharMenuStruct query{};
         query.menuType = ZQ_CHAR_MENU_QUERY;
         strcpy(query.u.menuQuery.schemaName, "Matrix");
         strcpy(query.u.menuQuery.serverName, "@");
         query.u.menuQuery.labelFieldId[0] = kText;
         query.u.menuQuery.valueFieldId = kText;
         ZQCharMenuStruct out{};
         int rc = ZQExpandCharMenu(c, &query, &out, &s);
         FreeZQCharMenuStruct(&out, 0);
         return rc;
       },
       kAll},
      {"ExpandSSMenu (108)",
       [](ZQControlStruct* c, Status& s) {
         ZQCharMenuSSStruct request{};
         strcpy(request.menuName, "Menu");
         ZQCharMenuStruct out{};
         int rc = ZQExpandSSMenu(c, &request, &out, &s);
         FreeZQCharMenuStruct(&out, 0);
         return rc;
       },
       kFrom8},

      // ---- images ----
      {"CreateImage (157)",
       [](ZQControlStruct* c, Status& s) {
         unsigned char bytes[] = {'G', 'I', 'F', '8', '9', 'a'};
         ZQImageDataStruct data{sizeof bytes, bytes};
         return ZQCreateImage(c, "Logo", &data, "gif", nullptr, nullptr, nullptr, nullptr,
                              nullptr, &s);
       },
       kFrom14},
      {"GetImage (155)",
       [](ZQControlStruct* c, Status& s) {
         ZQImageDataStruct data{};
         int rc = ZQGetImage(c, "Logo", &data, nullptr, nullptr, nullptr, nullptr, nullptr,
                             nullptr, nullptr, nullptr, nullptr, &s);
         if (rc < 2 && data.size != 6) rc = 99;
         FreeZQImageDataStruct(&data, 0);
         return rc;
       },
       kFrom14},
      {"GetListImage (154)",
       [](ZQControlStruct* c, Status& s) {
         ZQNameList names{};
         int rc = ZQGetListImage(c, nullptr, 0, nullptr, &names, &s);
         FreeZQNameList(&names, 0);
         return rc;
       },
       kFrom14},

      // ---- alerts ----
      {"CreateAlertEvent (3)",
       [](ZQControlStruct* c, Status& s) {
         SeededId entry;
         return ZQCreateAlertEvent(c, "Demo", "look", 1, "AR", "@", "Matrix", nullptr,
                                   entry.id, &s);
       },
       kAll},
      {"GetAlertCount (115)",
       [](ZQControlStruct* c, Status& s) {
         uint32_t count = 0;
         return ZQGetAlertCount(c, nullptr, &count, &s);
       },
       kFrom8},
      {"GetListAlertUser (104)",
       [](ZQControlStruct* c, Status& s) {
         ZQAccessNameList users{};
         int rc = ZQGetListAlertUser(c, &users, &s);
         FreeZQAccessNameList(&users, 0);
         return rc;
       },
       kFrom8},

      // ---- the workflow debugger ----
      {"WfdGetDebugMode (164)",
       [](ZQControlStruct* c, Status& s) {
         uint32_t mode = 0;
         return ZQWfdGetDebugMode(c, &mode, &s);
       },
       kFrom14},
      {"WfdSetDebugMode, WfdListBreakpoints (165, 177)",
       [](ZQControlStruct* c, Status& s) {
         int rc = ZQWfdSetDebugMode(c, 1, &s);
         if (rc >= 2) return rc;
         ZQWfdBreakpointList list{};
         rc = ZQWfdListBreakpoints(c, &list, s.fresh());
         FreeZQWfdBreakpointList(&list, 0);
         Status off;
         if (ZQWfdSetDebugMode(c, 0, &off) >= 2) rc = 97;
         return rc;
       },
       kFrom14},

      // ---- export and import ----
      {"Export (34)",
       [](ZQControlStruct* c, Status& s) {
         ZQStructItemStruct item{};
         item.type = ZQ_STRUCT_ITEM_SCHEMA;
         strcpy(item.name, "Extra");
         ZQStructItemList items{1, &item};
         char* text = nullptr;
         int rc = ZQExport(c, &items, nullptr, 0, nullptr, &text, &s);
         scratch().exported = text ? text : "";
         ZQFree(text);
         if (rc < 2 && scratch().exported.find("Extra") == std::string::npos) rc = 99;
         return rc;
       },
       kAll},
      {"Import (35)",
       [](ZQControlStruct* c, Status& s) {
         return ZQImport(c, nullptr, scratch().exported.c_str(), 0, &s);
       },
       kAll},
      {"UnImport (124)",
       [](ZQControlStruct* c, Status& s) {
         return ZQUnImport(c, nullptr, scratch().exported.c_str(), 0, &s);
       },
       kFrom10},

      // ---- XML entries ----
      {"XMLCreateEntry (119)",
       [](ZQControlStruct* c, Status& s) {
         ZQXMLOutputDoc doc{};
         doc.docType = ZQ_XML_DOC_CHAR_STR;
         ZQFieldValueStruct v = textValue(kText, "from XML");
         ZQFieldValueList values{1, &v};
         Status pushed;
         if (ZQPushCreateEntryToXML(c, &doc, ZQ_XML_PART_REQUEST, 0, "Matrix", &values, nullptr,
                                    nullptr, &pushed) != 0)
           return 98;
         char* out = nullptr;
         int rc = ZQXMLCreateEntry(c, nullptr, doc.u.charBuffer, nullptr, nullptr, &out, &s);
         ZQFree(out);
         FreeZQXMLOutputDoc(&doc, 0);
         return rc;
       },
       kFrom9},
      {"XMLGetEntry (121)",
       [](ZQControlStruct* c, Status& s) {
         ZQXMLOutputDoc doc{};
         doc.docType = ZQ_XML_DOC_CHAR_STR;
         SeededId entry;
         Status pushed;
         if (ZQPushGetEntryToXML(c, &doc, ZQ_XML_PART_REQUEST, 0, "Matrix", &entry.list,
                                 nullptr, nullptr, nullptr, &pushed) != 0)
           return 98;
         char* out = nullptr;
         int rc = ZQXMLGetEntry(c, nullptr, doc.u.charBuffer, nullptr, nullptr, &out, &s);
         ZQFree(out);
         FreeZQXMLOutputDoc(&doc, 0);
         return rc;
       },
       kFrom9},

      // ---- transactions (last: they change how the calls after them travel) ----
      {"BeginClientManagedTransaction (172)",
       [](ZQControlStruct* c, Status& s) {
         char* handle = nullptr;
         int rc = ZQBeginClientManagedTransaction(c, &handle, &s);
         ZQFree(handle);
         if (rc < 2) {
           Status ended;
           if (ZQEndClientManagedTransaction(c, ZQ_CMT_ACTION_COMMIT, &ended) >= 2) rc = 97;
         }
         return rc;
       },
       kFrom14},
      {"Bulk entry transaction (134)",
       [](ZQControlStruct* c, Status& s) {
         Status begun;
         if (ZQBeginBulkEntryTransaction(c, &begun) != 0) return 98;
         int rc = createEntryWithText(c, s);
         if (rc >= 2) return rc;
         ZQBulkEntryReturnList results{};
         s.reset();
         rc = ZQEndBulkEntryTransaction(c, ZQ_BULK_ENTRY_ACTION_SEND, &results, &s);
         if (rc < 2 && results.count != 1) rc = 99;
         FreeZQBulkEntryReturnList(&results, 0);
         return rc;
       },
       kFrom10},
  };
  return table;
}

std::string show(const Status& s) {
  std::string out;
  for (auto [type, number] : s.entries()) out += " " + std::to_string(number);
  return out.empty() ? out : " status" + out;
}

struct Counts {
  int run = 0, worked = 0;
  std::map<int, int> refused;
};
Counts& totals() {
  static Counts c;
  return c;
}

class VersionMatrix : public zqtest::ServerTest, public ::testing::WithParamInterface<int> {
 protected:
  void configure(zqserver::Options& o) override {
    if (GetParam() != kRange) o.minVersion = o.maxVersion = GetParam();
  }
  // Form "Matrix" with one entry (a text and a five-byte attachment), and
  // form "Extra" for the export and import cells.
  void SetUp() override {
    zqtest::ServerTest::SetUp();
    if (HasFatalFailure()) return;
    scratch() = Scratch{};
    zqserver::EntryStore store(server_->store());
    ASSERT_TRUE(store
                    .createForm("Matrix", {{kText, ZQ_DATA_TYPE_CHAR, "Text"},
                                           {kDate, ZQ_DATA_TYPE_DATE, "Date"},
                                           {kMoney, ZQ_DATA_TYPE_CURRENCY, "Money"},
                                           {kView, ZQ_DATA_TYPE_VIEW, "View"},
                                           {kFile, ZQ_DATA_TYPE_ATTACH, "File"}})
                    .ok());
    ASSERT_TRUE(store.createForm("Extra", {{kText, ZQ_DATA_TYPE_CHAR, "Text"}}).ok());
    zq::platform::ZBuffer packed;
    ASSERT_EQ(zq::platform::compressBytes("hello", 5, packed), zq::platform::ZResult::ok);
    ZQAttachStruct file{};
    file.name = const_cast<char*>("hello.txt");
    file.originalSize = 5;
    file.compressedSize = static_cast<int32_t>(packed.size);
    file.location.locationType = ZQ_LOC_BUFFER;
    file.location.u.buffer = {static_cast<uint32_t>(packed.size), packed.data};
    ZQFieldValueStruct items[2] = {textValue(kText, "seed"), {}};
    items[1].fieldId = kFile;
    items[1].value.dataType = ZQ_DATA_TYPE_ATTACH;
    items[1].value.u.attachmentValue = &file;
    ZQFieldValueList values{2, items};
    std::string id;
    const bool created = store.create("Matrix", values, "Demo", id).ok();
    ZQFree(packed.data);
    ASSERT_TRUE(created);
    ASSERT_EQ(id, kSeeded);
  }
};

TEST_P(VersionMatrix, EveryCallWorksOrIsRefusedAsTheRulesSay) {
  const int version = GetParam() == kRange ? 14 : GetParam();
  for (const Cell& cell : cells()) {
    Status s;
    const uint64_t before = server_->faults().callsReceived;
    const int rc = cell.run(&control_, s);
    const int want = cell.expected[version - 7];
    int got = kWorks;
    for (int refusal : {283, 288, 91})
      if (s.has(refusal)) got = refusal;
    EXPECT_EQ(got, want) << cell.name << " at version " << version << " rc " << rc << show(s);
    if (want == kWorks) {
      EXPECT_LT(rc, 2) << cell.name << " at version " << version << show(s);
    }
    if (want == 283 || want == 288) {
      EXPECT_EQ(rc, 2) << cell.name;
      // Refused here: the server saw nothing of it.
      EXPECT_EQ(server_->faults().callsReceived.load(), before) << cell.name;
    } else if (want == kWorks) {
      EXPECT_GT(server_->faults().callsReceived.load(), before) << cell.name;
    }
    if (want == 91) {
      EXPECT_EQ(rc, 2) << cell.name;
    }
    Counts& t = totals();
    t.run++;
    if (got != kWorks)
      t.refused[got]++;
    else if (rc < 2)
      t.worked++;
  }
  // A 7-14 server keeps the client at 14.
  if (GetParam() == kRange) {
    EXPECT_EQ(server_->faults().lastVersion.load(), 14u);
  }
}

INSTANTIATE_TEST_SUITE_P(Versions, VersionMatrix,
                         ::testing::Values(7, 8, 9, 10, 11, 12, 13, 14, kRange),
                         [](const ::testing::TestParamInfo<int>& info) {
                           return info.param == kRange ? std::string("Range7to14")
                                                       : "V" + std::to_string(info.param);
                         });

class MatrixCounts : public ::testing::Environment {
 public:
  void TearDown() override {
    const Counts& t = totals();
    if (t.run == 0) return;
    std::printf("version matrix: %zu calls x 9 servers (7 to 14 and a 7-14 range) = %d cells, "
                "%d worked",
                cells().size(), t.run, t.worked);
    for (auto [message, n] : t.refused) std::printf(", %d refused with %d", n, message);
    std::printf("\n");
  }
};
const auto* const kCounts = ::testing::AddGlobalTestEnvironment(new MatrixCounts);

// A server of an older version reads the field values of an entry change
// as that version knows them: a value type it lacks is a request it cannot
// decode (the RPC's garbage-arguments answer), never a value it stores.
// The requests are written by hand: the client refuses such values itself.
class VersionMatrixRawValues : public zqtest::ServerTest {
 protected:
  void configure(zqserver::Options& o) override {
    o.minVersion = 7;
    o.maxVersion = 9;
  }
  void SetUp() override {
    zqtest::ServerTest::SetUp();
    if (HasFatalFailure()) return;
    ASSERT_TRUE(zqserver::EntryStore(server_->store())
                    .createForm("Raw", {{kText, ZQ_DATA_TYPE_CHAR, "Text"},
                                        {kDate, ZQ_DATA_TYPE_DATE, "Date"},
                                        {kView, ZQ_DATA_TYPE_VIEW, "View"}})
                    .ok());
  }
  uint64_t entries() {
    uint64_t n = 0;
    EXPECT_TRUE(zqserver::EntryStore(server_->store()).count("Raw", n).ok());
    return n;
  }
};

std::string be32(uint32_t v) {
  std::string out(4, '\0');
  for (int i = 0; i < 4; ++i) out[i] = static_cast<char>(v >> (24 - 8 * i));
  return out;
}
std::string fixedText(const std::string& text, size_t width) {  // padded to whole words
  std::string out = text;
  out.resize((width + 3) / 4 * 4, '\0');
  return out;
}
std::string xdrString(const std::string& text) {
  return be32(static_cast<uint32_t>(text.size())) + fixedText(text, text.size());
}

// Procedure 3 of the fast program at `version` (7 to 10 share the header
// form): the header, the form name, one field value of `type` with its
// payload words.
std::string createRequest(uint32_t xid, uint32_t version, uint32_t type, const std::string& payload,
                          ZQInternalId field) {
  std::string call = be32(xid) + be32(0) + be32(2) + be32(390620) + be32(version) + be32(3) +
                     be32(0) + be32(0) + be32(0) + be32(0);
  std::string header = be32(0) + be32(0);                           // cache id, operation time
  header += fixedText("Demo", 31) + fixedText("", 31);              // user, password
  header += fixedText("", 16);                                      // locale
  header += be32(7) + be32(0);                                      // client information
  for (int i = 0; i < 4; ++i) header += be32(0);                    // mask, option, type, time-out
  for (int i = 0; i < 6; ++i) header += be32(0);                    // call words A to C, flags, D, E
  header += be32(1);                                                // header byte
  std::string body = xdrString("Raw") + be32(1) + be32(field) + be32(type) + payload;
  const std::string record = call + header + body;
  return be32(0x80000000u | static_cast<uint32_t>(record.size())) + record;
}

// Sends one record and returns the accept status of the reply (-1: none).
int acceptStatus(uint16_t port, const std::string& request) {
  int fd = socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in a{};
  a.sin_family = AF_INET;
  a.sin_port = htons(port);
  a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  if (fd < 0 || connect(fd, reinterpret_cast<sockaddr*>(&a), sizeof a) != 0 ||
      send(fd, request.data(), request.size(), 0) != static_cast<ssize_t>(request.size())) {
    if (fd >= 0) close(fd);
    return -1;
  }
  // Mark, xid, message type, reply status, verifier (flavor, length), accept status.
  std::string got;
  char buf[512];
  while (got.size() < 28) {
    pollfd p{fd, POLLIN, 0};
    if (poll(&p, 1, 2000) <= 0) break;
    const ssize_t n = recv(fd, buf, sizeof buf, 0);
    if (n <= 0) break;
    got.append(buf, static_cast<size_t>(n));
  }
  close(fd);
  if (got.size() < 28) return -1;
  auto word = [&](size_t at) {
    uint32_t v = 0;
    for (size_t i = 0; i < 4; ++i) v = v << 8 | static_cast<unsigned char>(got[at + i]);
    return v;
  };
  if (word(8) != 1 || word(12) != 0) return -1;  // not an accepted reply
  return static_cast<int>(word(24));
}

TEST_F(VersionMatrixRawValues, ValueTypesTheVersionLacksAreNotDecoded) {
  constexpr int kSuccess = 0, kGarbageArgs = 4;
  const std::string currencyPayload = be32(0);  // no currency record
  const std::string datePayload = be32(2460000);
  const std::string viewPayload = xdrString("<v/>");
  struct Case {
    const char* name;
    uint32_t version, type;
    std::string payload;
    ZQInternalId field;
    int accept;
  };
  const Case cases[] = {
      {"date at 8", 8, ZQ_DATA_TYPE_DATE, datePayload, kDate, kGarbageArgs},
      {"time of day at 8", 8, ZQ_DATA_TYPE_TIME_OF_DAY, datePayload, kDate, kGarbageArgs},
      {"currency at 8", 8, ZQ_DATA_TYPE_CURRENCY, currencyPayload, kDate, kGarbageArgs},
      {"view at 7", 7, ZQ_DATA_TYPE_VIEW, viewPayload, kView, kGarbageArgs},
      {"display at 7", 7, ZQ_DATA_TYPE_DISPLAY, viewPayload, kView, kGarbageArgs},
      {"attachment pool at 7", 7, ZQ_DATA_TYPE_ATTACH_POOL, be32(0), kView, kGarbageArgs},
      // The same bytes where the version knows the type are read.
      {"date at 9", 9, ZQ_DATA_TYPE_DATE, datePayload, kDate, kSuccess},
      {"view at 8", 8, ZQ_DATA_TYPE_VIEW, viewPayload, kView, kSuccess},
      {"text at 8", 8, ZQ_DATA_TYPE_CHAR, xdrString("plain"), kText, kSuccess},
  };
  uint32_t xid = 100;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const uint64_t before = entries();
    EXPECT_EQ(acceptStatus(server_->port(), createRequest(++xid, c.version, c.type, c.payload,
                                                          c.field)),
              c.accept);
    if (c.accept == kGarbageArgs) {
      EXPECT_EQ(entries(), before);
    }
  }
  // The server goes on serving.
  Status s;
  EXPECT_EQ(ping(&control_, s), 0);
}

}  // namespace
