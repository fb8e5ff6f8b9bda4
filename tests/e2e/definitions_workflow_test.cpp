// Filter, active link, escalation, character menu and container calls
// against zqserverd: the family of calls over every kind, a filter's round
// trip member by member, and the checks that end a call before anything is
// sent.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <ctime>
#include <functional>
#include <string>
#include <vector>

#include "definitions_fixture.h"

using zqtest::charValue;
using zqtest::Connection;
using zqtest::intValue;
using zqtest::Names;
using zqtest::namesOf;
using zqtest::Status;

namespace {

ZQFilterActionStruct messageAction(const char* text, uint32_t type = 2, int32_t number = 10001) {
  ZQFilterActionStruct a{};
  a.action = ZQ_FILTER_ACTION_MESSAGE;
  a.u.message.messageType = type;
  a.u.message.messageNumber = number;
  a.u.message.message = const_cast<char*>(text);
  return a;
}

ZQActiveLinkActionStruct linkMessage(const char* text) {
  ZQActiveLinkActionStruct a{};
  a.action = ZQ_ACTIVE_LINK_ACTION_MESSAGE;
  a.u.message.messageType = 0;
  a.u.message.messageNumber = 10001;
  a.u.message.message = const_cast<char*>(text);
  return a;
}

ZQCharMenuItemStruct valueItem(const char* label, const char* value) {
  ZQCharMenuItemStruct item{};
  zq::copyName(item.label, label, sizeof item.label);
  item.type = ZQ_MENU_ITEM_VALUE;
  item.u.value = const_cast<char*>(value);
  return item;
}

class WorkflowDefinitions : public zqtest::DefinitionTest {
 protected:
  void SetUp() override {
    zqtest::DefinitionTest::SetUp();
    Status s;
    ASSERT_EQ(createForm("Form", s), 0);
  }

  ZQFilterActionStruct message_ = messageAction("stop");
  ZQFilterActionList actions_{1, &message_};
  ZQActiveLinkActionStruct linkAction_ = linkMessage("hello");
  ZQActiveLinkActionList linkActions_{1, &linkAction_};
  Connection forms_{"Form"};
  ZQCharMenuItemStruct item_ = valueItem("One", "1");
  ZQCharMenuStruct menu_{};

  int createFilter(const char* name, Status& s, uint32_t order = 500) {
    return ZQCreateFilter(&control_, name, order, &forms_.c, ZQ_OPERATION_CREATE, 1, nullptr,
                          &actions_, nullptr, "help", "", nullptr, nullptr, 0, nullptr, &s);
  }
};

// ---- the family over every kind ------------------------------------------------------------

struct KindCalls {
  const char* kind;
  std::function<int(WorkflowDefinitions&, const char*, Status&)> create;
  std::function<int(WorkflowDefinitions&, const char*, Status&)> get;  // the help text back
  std::function<int(WorkflowDefinitions&, const char*, const char*, Status&)> rename;
  std::function<int(WorkflowDefinitions&, const char*, Status&)> remove;
  std::function<int(WorkflowDefinitions&, std::vector<std::string>&, Status&)> list;
  // names and exists flags of "A", "missing", "B"
  std::function<int(WorkflowDefinitions&, ZQNameList&, ZQBooleanList&, Status&)> multiple;
};

class WorkflowFamily : public WorkflowDefinitions, public ::testing::WithParamInterface<KindCalls> {
 public:
  // Friends of the fixture's members for the table's lambdas.
  ZQControlStruct* control() { return &control_; }
  ZQFilterActionList* actions() { return &actions_; }
  ZQActiveLinkActionList* linkActions() { return &linkActions_; }
  ZQWorkflowConnectStruct* forms() { return &forms_.c; }
  ZQCharMenuStruct* menu() {
    menu_.menuType = ZQ_CHAR_MENU_LIST;
    menu_.u.menuList = {1, &item_};
    return &menu_;
  }
  void TestBody() override {}
};

std::vector<std::string> toNames(ZQNameList& l) {
  auto out = namesOf(l);
  FreeZQNameList(&l, 0);
  return out;
}

ZQEscalationTimeStruct everyHour() {
  ZQEscalationTimeStruct t{};
  t.kind = ZQ_ESCALATION_INTERVAL;
  t.u.interval = 3600;
  return t;
}

const KindCalls kKinds[] = {
    {"filter",
     [](WorkflowDefinitions& t, const char* n, Status& s) {
       auto& f = static_cast<WorkflowFamily&>(t);
       return ZQCreateFilter(f.control(), n, 1, f.forms(), 1, 1, nullptr, f.actions(), nullptr,
                             "help", "", nullptr, nullptr, 0, nullptr, &s);
     },
     [](WorkflowDefinitions& t, const char* n, Status& s) {
       char* help = nullptr;
       int rc = ZQGetFilter(static_cast<WorkflowFamily&>(t).control(), n, nullptr, nullptr, nullptr,
                            nullptr, nullptr, nullptr, nullptr, &help, nullptr, nullptr, nullptr,
                            nullptr, nullptr, nullptr, nullptr, &s);
       if (rc == 0 && (!help || strcmp(help, "help") != 0)) rc = 99;
       ZQFree(help);
       return rc;
     },
     [](WorkflowDefinitions& t, const char* n, const char* to, Status& s) {
       return ZQSetFilter(static_cast<WorkflowFamily&>(t).control(), n, to, nullptr, nullptr,
                          nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                          nullptr, nullptr, nullptr, &s);
     },
     [](WorkflowDefinitions& t, const char* n, Status& s) {
       return ZQDeleteFilter(static_cast<WorkflowFamily&>(t).control(), n, 0, &s);
     },
     [](WorkflowDefinitions& t, std::vector<std::string>& out, Status& s) {
       ZQNameList l{0, nullptr};
       int rc =
           ZQGetListFilter(static_cast<WorkflowFamily&>(t).control(), "Form", 0, nullptr, &l, &s);
       out = toNames(l);
       return rc;
     },
     [](WorkflowDefinitions& t, ZQNameList& names, ZQBooleanList& exists, Status& s) {
       Names wanted{"A", "missing", "B"};
       return ZQGetMultipleFilters(static_cast<WorkflowFamily&>(t).control(), 0, &wanted.list,
                                   &exists, &names, nullptr, nullptr, nullptr, nullptr, nullptr,
                                   nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                                   nullptr, nullptr, nullptr, &s);
     }},
    {"active link",
     [](WorkflowDefinitions& t, const char* n, Status& s) {
       auto& f = static_cast<WorkflowFamily&>(t);
       return ZQCreateActiveLink(f.control(), n, 1, f.forms(), nullptr, 1, nullptr, nullptr, 1,
                                 nullptr, f.linkActions(), nullptr, "help", "", nullptr, nullptr, 0,
                                 nullptr, &s);
     },
     [](WorkflowDefinitions& t, const char* n, Status& s) {
       char* help = nullptr;
       int rc =
           ZQGetActiveLink(static_cast<WorkflowFamily&>(t).control(), n, nullptr, nullptr, nullptr,
                           nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &help,
                           nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &s);
       if (rc == 0 && (!help || strcmp(help, "help") != 0)) rc = 99;
       ZQFree(help);
       return rc;
     },
     [](WorkflowDefinitions& t, const char* n, const char* to, Status& s) {
       return ZQSetActiveLink(static_cast<WorkflowFamily&>(t).control(), n, to, nullptr, nullptr,
                              nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                              nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &s);
     },
     [](WorkflowDefinitions& t, const char* n, Status& s) {
       return ZQDeleteActiveLink(static_cast<WorkflowFamily&>(t).control(), n, 0, &s);
     },
     [](WorkflowDefinitions& t, std::vector<std::string>& out, Status& s) {
       ZQNameList l{0, nullptr};
       int rc = ZQGetListActiveLink(static_cast<WorkflowFamily&>(t).control(), "Form", 0, nullptr,
                                    &l, &s);
       out = toNames(l);
       return rc;
     },
     [](WorkflowDefinitions& t, ZQNameList& names, ZQBooleanList& exists, Status& s) {
       Names wanted{"A", "missing", "B"};
       return ZQGetMultipleActiveLinks(
           static_cast<WorkflowFamily&>(t).control(), 0, &wanted.list, &exists, &names, nullptr,
           nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
           nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &s);
     }},
    {"escalation",
     [](WorkflowDefinitions& t, const char* n, Status& s) {
       auto& f = static_cast<WorkflowFamily&>(t);
       ZQEscalationTimeStruct time = everyHour();
       ZQFilterActionStruct log{};
       log.action = ZQ_FILTER_ACTION_LOG;
       log.u.logFile = const_cast<char*>("/dev/null");
       ZQFilterActionList actions{1, &log};
       return ZQCreateEscalation(f.control(), n, &time, f.forms(), 1, nullptr, &actions, nullptr,
                                 "help", "", nullptr, nullptr, &s);
     },
     [](WorkflowDefinitions& t, const char* n, Status& s) {
       char* help = nullptr;
       ZQEscalationTimeStruct time{};
       int rc = ZQGetEscalation(static_cast<WorkflowFamily&>(t).control(), n, &time, nullptr,
                                nullptr, nullptr, nullptr, nullptr, &help, nullptr, nullptr,
                                nullptr, nullptr, nullptr, &s);
       if (rc == 0 && (!help || strcmp(help, "help") != 0 || time.u.interval != 3600)) rc = 99;
       ZQFree(help);
       return rc;
     },
     [](WorkflowDefinitions& t, const char* n, const char* to, Status& s) {
       return ZQSetEscalation(static_cast<WorkflowFamily&>(t).control(), n, to, nullptr, nullptr,
                              nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                              nullptr, &s);
     },
     [](WorkflowDefinitions& t, const char* n, Status& s) {
       return ZQDeleteEscalation(static_cast<WorkflowFamily&>(t).control(), n, 0, &s);
     },
     [](WorkflowDefinitions& t, std::vector<std::string>& out, Status& s) {
       ZQNameList l{0, nullptr};
       int rc = ZQGetListEscalation(static_cast<WorkflowFamily&>(t).control(), "Form", 0, nullptr,
                                    &l, &s);
       out = toNames(l);
       return rc;
     },
     [](WorkflowDefinitions& t, ZQNameList& names, ZQBooleanList& exists, Status& s) {
       Names wanted{"A", "missing", "B"};
       return ZQGetMultipleEscalations(static_cast<WorkflowFamily&>(t).control(), 0, &wanted.list,
                                       &exists, &names, nullptr, nullptr, nullptr, nullptr, nullptr,
                                       nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                                       nullptr, &s);
     }},
    {"character menu",
     [](WorkflowDefinitions& t, const char* n, Status& s) {
       auto& f = static_cast<WorkflowFamily&>(t);
       return ZQCreateCharMenu(f.control(), n, ZQ_MENU_REFRESH_OPEN, f.menu(), "help", "", nullptr,
                               nullptr, &s);
     },
     [](WorkflowDefinitions& t, const char* n, Status& s) {
       char* help = nullptr;
       ZQCharMenuStruct menu{};
       int rc = ZQGetCharMenu(static_cast<WorkflowFamily&>(t).control(), n, nullptr, &menu, &help,
                              nullptr, nullptr, nullptr, nullptr, nullptr, &s);
       if (rc == 0 &&
           (!help || strcmp(help, "help") != 0 || menu.menuType != ZQ_CHAR_MENU_LIST ||
            menu.u.menuList.count != 1 || strcmp(menu.u.menuList.items[0].u.value, "1") != 0))
         rc = 99;
       ZQFree(help);
       FreeZQCharMenuStruct(&menu, 0);
       return rc;
     },
     [](WorkflowDefinitions& t, const char* n, const char* to, Status& s) {
       return ZQSetCharMenu(static_cast<WorkflowFamily&>(t).control(), n, to, nullptr, nullptr,
                            nullptr, nullptr, nullptr, nullptr, &s);
     },
     [](WorkflowDefinitions& t, const char* n, Status& s) {
       return ZQDeleteCharMenu(static_cast<WorkflowFamily&>(t).control(), n, 0, &s);
     },
     [](WorkflowDefinitions& t, std::vector<std::string>& out, Status& s) {
       ZQNameList l{0, nullptr};
       int rc = ZQGetListCharMenu(static_cast<WorkflowFamily&>(t).control(), 0, nullptr, nullptr,
                                  nullptr, &l, &s);
       out = toNames(l);
       return rc;
     },
     [](WorkflowDefinitions& t, ZQNameList& names, ZQBooleanList& exists, Status& s) {
       Names wanted{"A", "missing", "B"};
       return ZQGetMultipleCharMenus(static_cast<WorkflowFamily&>(t).control(), 0, &wanted.list,
                                     &exists, &names, nullptr, nullptr, nullptr, nullptr, nullptr,
                                     nullptr, nullptr, nullptr, &s);
     }},
    {"container",
     [](WorkflowDefinitions& t, const char* n, Status& s) {
       ZQContainerOwnerObj owner{1, "Form"};
       ZQContainerOwnerObjList owners{1, &owner};
       return ZQCreateContainer(static_cast<WorkflowFamily&>(t).control(), n, nullptr, nullptr,
                                &owners, "label", "description", 1, nullptr, 0, "help", "", nullptr,
                                nullptr, &s);
     },
     [](WorkflowDefinitions& t, const char* n, Status& s) {
       char* help = nullptr;
       char* label = nullptr;
       ZQContainerOwnerObjList owners{0, nullptr};
       int rc = ZQGetContainer(static_cast<WorkflowFamily&>(t).control(), n, nullptr, nullptr,
                               nullptr, &owners, &label, nullptr, nullptr, nullptr, &help, nullptr,
                               nullptr, nullptr, nullptr, nullptr, &s);
       if (rc == 0 &&
           (!help || strcmp(help, "help") != 0 || !label || strcmp(label, "label") != 0 ||
            owners.count != 1 || strcmp(owners.items[0].ownerName, "Form") != 0))
         rc = 99;
       ZQFree(help);
       ZQFree(label);
       FreeZQContainerOwnerObjList(&owners, 0);
       return rc;
     },
     [](WorkflowDefinitions& t, const char* n, const char* to, Status& s) {
       return ZQSetContainer(static_cast<WorkflowFamily&>(t).control(), n, to, nullptr, nullptr,
                             nullptr, nullptr, nullptr, nullptr, nullptr, 0, nullptr, nullptr,
                             nullptr, nullptr, &s);
     },
     [](WorkflowDefinitions& t, const char* n, Status& s) {
       return ZQDeleteContainer(static_cast<WorkflowFamily&>(t).control(), n, 0, &s);
     },
     [](WorkflowDefinitions& t, std::vector<std::string>& out, Status& s) {
       ZQContainerInfoList l{0, nullptr};
       int rc = ZQGetListContainer(static_cast<WorkflowFamily&>(t).control(), 0, nullptr, 0,
                                   nullptr, nullptr, &l, &s);
       out.clear();
       for (uint32_t i = 0; i < l.count; ++i) out.emplace_back(l.items[i].name);
       FreeZQContainerInfoList(&l, 0);
       return rc;
     },
     [](WorkflowDefinitions& t, ZQNameList& names, ZQBooleanList& exists, Status& s) {
       Names wanted{"A", "missing", "B"};
       return ZQGetMultipleContainers(static_cast<WorkflowFamily&>(t).control(), 0, &wanted.list,
                                      nullptr, 0, nullptr, nullptr, &exists, &names, nullptr,
                                      nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                                      nullptr, nullptr, nullptr, nullptr, nullptr, &s);
     }},
};

TEST_P(WorkflowFamily, CreateGetRenameListGetMultipleDelete) {
  const KindCalls& k = GetParam();
  Status s;
  ASSERT_EQ(k.create(*this, "A", s), 0) << k.kind;
  ASSERT_EQ(k.create(*this, "Old", s), 0) << k.kind;
  EXPECT_EQ(k.create(*this, "A", s), 2) << "a name taken";
  s.reset();
  EXPECT_EQ(k.get(*this, "A", s), 0);
  EXPECT_EQ(k.rename(*this, "Old", "B", s), 0);
  EXPECT_EQ(k.get(*this, "B", s), 0) << "the parts stay with the new name";
  EXPECT_EQ(k.get(*this, "Old", s), 2);
  s.reset();

  std::vector<std::string> listed;
  ASSERT_EQ(k.list(*this, listed, s), 0);
  EXPECT_EQ(listed, (std::vector<std::string>{"A", "B"}));

  ZQNameList names{0, nullptr};
  ZQBooleanList exists{0, nullptr};
  ASSERT_EQ(k.multiple(*this, names, exists, s), 0);
  ASSERT_EQ(exists.count, 3u);
  EXPECT_EQ(exists.items[0], 1);
  EXPECT_EQ(exists.items[1], 0);
  EXPECT_EQ(exists.items[2], 1);
  EXPECT_EQ(toNames(names), (std::vector<std::string>{"A", "missing", "B"}));
  FreeZQBooleanList(&exists, 0);

  EXPECT_EQ(k.remove(*this, "A", s), 0);
  EXPECT_EQ(k.get(*this, "A", s), 2);
  s.reset();
  ASSERT_EQ(k.list(*this, listed, s), 0);
  EXPECT_EQ(listed, (std::vector<std::string>{"B"}));
}

INSTANTIATE_TEST_SUITE_P(Kinds, WorkflowFamily, ::testing::ValuesIn(kKinds), [](const auto& info) {
  std::string n = info.param.kind;
  for (char& c : n)
    if (c == ' ') c = '_';
  return n;
});

// ---- filters ---------------------------------------------------------------------------------

TEST_F(WorkflowDefinitions, FilterRoundTripsMemberByMember) {
  // SET FIELDS of a value, NOTIFY with its advanced block, MESSAGE; an else
  // list with a LOG action; a qualification.
  ZQFieldAssignStruct assign{8, {}};
  assign.assignment.assignType = ZQ_ASSIGN_TYPE_VALUE;
  assign.assignment.u.value = charValue("set by filter");
  ZQFilterActionStruct acts[3]{};
  acts[0].action = ZQ_FILTER_ACTION_FIELDS;
  acts[0].u.setFields.fieldAssignList = {1, &assign};
  ZQFilterActionNotifyAdvanced advanced{};
  advanced.fromUser = const_cast<char*>("from@example");
  acts[1].action = ZQ_FILTER_ACTION_NOTIFY;
  acts[1].u.notify.user = const_cast<char*>("Demo");
  acts[1].u.notify.text = const_cast<char*>("changed");
  acts[1].u.notify.subject = const_cast<char*>("subject");
  acts[1].u.notify.mechanism = ZQ_NOTIFY_EMAIL;
  acts[1].u.notify.priority = 3;
  acts[1].u.notify.fieldIdListKind = ZQ_NOTIFY_FIELDS_ALL;
  acts[1].u.notify.advanced = &advanced;
  acts[2] = messageAction("refused", 1, 10002);
  ZQFilterActionList ifs{3, acts};
  ZQFilterActionStruct log{};
  log.action = ZQ_FILTER_ACTION_LOG;
  log.u.logFile = const_cast<char*>("/tmp/zq.log");
  ZQFilterActionList elses{1, &log};
  zqtest::Relation qual(ZQ_REL_OP_EQUAL, 7, intValue(1));
  ZQPropStruct prop{90001, intValue(5)};
  ZQPropList props{1, &prop};

  Status s;
  ASSERT_EQ(ZQCreateFilter(&control_, "Full", 42, &forms_.c, ZQ_OPERATION_CREATE | ZQ_OPERATION_SET,
                           1, &qual.qual, &ifs, &elses, "the help", "Demo", "first note", &props,
                           ZQ_ERROR_HANDLER_ENABLED, "Handler", &s),
            0);

  uint32_t order = 0, operations = 0, enable = 0, errorOptions = 0;
  ZQWorkflowConnectStruct forms{};
  ZQQualifierStruct q{};
  ZQFilterActionList gotIf{0, nullptr}, gotElse{0, nullptr};
  char* help = nullptr;
  char* diary = nullptr;
  ZQTimestamp stamp = 0;
  ZQAccessNameType owner{}, changer{};
  ZQPropList gotProps{0, nullptr};
  ZQNameType errorName{};
  ASSERT_EQ(
      ZQGetFilter(&control_, "Full", &order, &forms, &operations, &enable, &q, &gotIf, &gotElse,
                  &help, &stamp, owner, changer, &diary, &gotProps, &errorOptions, errorName, &s),
      0);
  EXPECT_EQ(order, 42u);
  ASSERT_EQ(forms.type, static_cast<uint32_t>(ZQ_WORKFLOW_CONN_SCHEMA_LIST));
  ASSERT_NE(forms.schemaList, nullptr);
  EXPECT_EQ(namesOf(*forms.schemaList), (std::vector<std::string>{"Form"}));
  EXPECT_EQ(operations, static_cast<uint32_t>(ZQ_OPERATION_CREATE | ZQ_OPERATION_SET));
  EXPECT_EQ(enable, 1u);
  EXPECT_EQ(q.operation, static_cast<uint32_t>(ZQ_COND_OP_REL_OP));
  ASSERT_NE(q.u.relation, nullptr);
  EXPECT_EQ(q.u.relation->left.u.fieldId, 7u);
  EXPECT_EQ(q.u.relation->right.u.value.u.integerValue, 1);
  ASSERT_EQ(gotIf.count, 3u);
  const ZQFilterActionStruct& set = gotIf.items[0];
  EXPECT_EQ(set.action, static_cast<uint32_t>(ZQ_FILTER_ACTION_FIELDS));
  ASSERT_EQ(set.u.setFields.fieldAssignList.count, 1u);
  EXPECT_EQ(set.u.setFields.fieldAssignList.items[0].fieldId, 8u);
  EXPECT_STREQ(set.u.setFields.fieldAssignList.items[0].assignment.u.value.u.charValue,
               "set by filter");
  const ZQNotifyStruct& n = gotIf.items[1].u.notify;
  EXPECT_EQ(gotIf.items[1].action, static_cast<uint32_t>(ZQ_FILTER_ACTION_NOTIFY));
  EXPECT_STREQ(n.user, "Demo");
  EXPECT_STREQ(n.text, "changed");
  EXPECT_STREQ(n.subject, "subject");
  EXPECT_EQ(n.mechanism, static_cast<uint32_t>(ZQ_NOTIFY_EMAIL));
  EXPECT_EQ(n.priority, 3u);
  ASSERT_NE(n.advanced, nullptr);
  EXPECT_STREQ(n.advanced->fromUser, "from@example");
  const ZQFilterStatusStruct& m = gotIf.items[2].u.message;
  EXPECT_EQ(m.messageType, 1u);
  EXPECT_EQ(m.messageNumber, 10002);
  EXPECT_STREQ(m.message, "refused");
  ASSERT_EQ(gotElse.count, 1u);
  EXPECT_STREQ(gotElse.items[0].u.logFile, "/tmp/zq.log");
  EXPECT_STREQ(help, "the help");
  EXPECT_NE(stamp, 0);
  EXPECT_STREQ(owner, "Demo");
  EXPECT_NE(std::string(changer), "");
  ASSERT_NE(diary, nullptr);
  EXPECT_NE(std::string(diary).find("first note"), std::string::npos);
  ASSERT_EQ(gotProps.count, 1u);
  EXPECT_EQ(gotProps.items[0].propertyTag, 90001u);
  EXPECT_EQ(errorOptions, static_cast<uint32_t>(ZQ_ERROR_HANDLER_ENABLED));
  EXPECT_STREQ(errorName, "Handler");

  FreeZQWorkflowConnectStruct(&forms, 0);
  FreeZQQualifierStruct(&q, 0);
  FreeZQFilterActionList(&gotIf, 0);
  FreeZQFilterActionList(&gotElse, 0);
  FreeZQPropList(&gotProps, 0);
  ZQFree(help);
  ZQFree(diary);
}

TEST_F(WorkflowDefinitions, FilterGetAsksOnlyForTheOutputsPassed) {
  Status s;
  ASSERT_EQ(createFilter("F", s), 0);
  char* help = nullptr;
  ZQNameType errorName{};
  ASSERT_EQ(
      ZQGetFilter(&control_, "F", nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                  &help, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, errorName, &s),
      0);
  EXPECT_EQ(server_->faults().lastWantedMask.load(), 8u | 512u);
  ZQFree(help);
}

TEST_F(WorkflowDefinitions, FilterSetSendsOnlyWhatChanges) {
  Status s;
  ASSERT_EQ(createFilter("F", s), 0);
  const uint64_t before = calls();
  // The same name and nothing else: the warning 54 and nothing sent.
  EXPECT_EQ(ZQSetFilter(&control_, "F", "F", nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                        nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &s),
            1);
  EXPECT_EQ(s.entries(), (std::vector<std::pair<uint32_t, int32_t>>{{1, 54}}));
  EXPECT_EQ(calls(), before);
  // A differing new name only: mask 1, and the enable flag travels as 1.
  s.reset();
  ASSERT_EQ(ZQSetFilter(&control_, "F", "f2", nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                        nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &s),
            0);
  EXPECT_EQ(server_->faults().lastChangedMask.load(), 1u);
  uint32_t enable = 0, order = 0;
  ASSERT_EQ(
      ZQGetFilter(&control_, "f2", &order, nullptr, nullptr, &enable, nullptr, nullptr, nullptr,
                  nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &s),
      0);
  EXPECT_EQ(enable, 1u);
  EXPECT_EQ(order, 500u) << "unchanged parts stay";
  // Disabling changes the flag only.
  uint32_t off = 0;
  ASSERT_EQ(ZQSetFilter(&control_, "f2", nullptr, nullptr, nullptr, nullptr, &off, nullptr, nullptr,
                        nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &s),
            0);
  EXPECT_EQ(server_->faults().lastChangedMask.load(), 16u);
  ASSERT_EQ(
      ZQGetFilter(&control_, "f2", &order, nullptr, nullptr, &enable, nullptr, nullptr, nullptr,
                  nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &s),
      0);
  EXPECT_EQ(enable, 0u);
  EXPECT_EQ(order, 500u);
}

// Each row breaks one rule of a filter's create; nothing reaches the server.
TEST_F(WorkflowDefinitions, FilterCreateChecksEndTheCallBeforeSending) {
  std::vector<ZQFilterActionStruct> many(26, messageAction("x"));
  ZQFilterActionList tooMany{26, many.data()};
  ZQFilterActionList none{0, nullptr};
  ZQFilterActionList noItems{2, nullptr};
  ZQWorkflowConnectStruct noList{};
  const std::string longName(256, 'e');
  struct Row {
    const char* what;
    uint32_t order, operations, enable;
    ZQWorkflowConnectStruct* forms;
    ZQFilterActionList* actions;
    uint32_t errorOptions;
    const char* errorName;
    int32_t message;
  } rows[] = {
      {"order 1001", 1001, 1, 1, &forms_.c, &actions_, 0, nullptr, 169},
      {"a connection of no forms", 1, 1, 1, &noList, &actions_, 0, nullptr, 8923},
      {"operation set 128", 1, 128, 1, &forms_.c, &actions_, 0, nullptr, 115},
      {"enable 2", 1, 1, 2, &forms_.c, &actions_, 0, nullptr, 251},
      {"no actions", 1, 1, 1, &forms_.c, &none, 0, nullptr, 116},
      {"no action list", 1, 1, 1, &forms_.c, nullptr, 0, nullptr, 116},
      {"a count without items", 1, 1, 1, &forms_.c, &noItems, 0, nullptr, 165},
      {"26 actions", 1, 1, 1, &forms_.c, &tooMany, 0, nullptr, 182},
      {"an error handler name of 256", 1, 1, 1, &forms_.c, &actions_, 0, longName.c_str(), 8001},
      {"an enabled error handler without name", 1, 1, 1, &forms_.c, &actions_, 1, "", 8000},
  };
  for (const Row& r : rows) {
    Status s;
    const uint64_t before = calls();
    EXPECT_EQ(ZQCreateFilter(&control_, "Bad", r.order, r.forms, r.operations, r.enable, nullptr,
                             r.actions, nullptr, nullptr, nullptr, nullptr, nullptr, r.errorOptions,
                             r.errorName, &s),
              2)
        << r.what;
    EXPECT_EQ(s.entries(), (std::vector<std::pair<uint32_t, int32_t>>{{2, r.message}})) << r.what;
    EXPECT_EQ(calls(), before) << r.what;
  }
  // The limits themselves pass.
  std::vector<ZQFilterActionStruct> most(25, messageAction("x"));
  ZQFilterActionList atMost{25, most.data()};
  Status s;
  EXPECT_EQ(ZQCreateFilter(&control_, "Edge", 1000, &forms_.c, 127, 0, nullptr, &atMost, nullptr,
                           nullptr, nullptr, nullptr, nullptr, 0, nullptr, &s),
            0);
}

TEST_F(WorkflowDefinitions, ListOfFiltersIsByFormAndRefusesLongFormNames) {
  Status s;
  ASSERT_EQ(createForm("Other", s), 0);
  ASSERT_EQ(createFilter("OnForm", s), 0);
  Connection other{"Other"};
  ASSERT_EQ(ZQCreateFilter(&control_, "OnOther", 1, &other.c, 1, 1, nullptr, &actions_, nullptr,
                           nullptr, nullptr, nullptr, nullptr, 0, nullptr, &s),
            0);
  ZQNameList l{0, nullptr};
  ASSERT_EQ(ZQGetListFilter(&control_, "other", 0, nullptr, &l, &s), 0);
  EXPECT_EQ(toNames(l), (std::vector<std::string>{"OnOther"}));
  ASSERT_EQ(ZQGetListFilter(&control_, nullptr, 0, nullptr, &l, &s), 0);
  EXPECT_EQ(toNames(l), (std::vector<std::string>{"OnForm", "OnOther"}));
  const std::string at254(254, 'f'), at255(255, 'f');
  EXPECT_EQ(ZQGetListFilter(&control_, at254.c_str(), 0, nullptr, &l, &s), 0);
  FreeZQNameList(&l, 0);
  EXPECT_EQ(ZQGetListFilter(&control_, at255.c_str(), 0, nullptr, &l, &s), 2);
  EXPECT_TRUE(s.has(103));
}

// ---- the other kinds' own checks -------------------------------------------------------------

TEST_F(WorkflowDefinitions, EscalationChecks) {
  ZQFilterActionList none{0, nullptr};
  ZQFilterActionStruct message = messageAction("not here");
  ZQFilterActionList withMessage{1, &message};
  ZQFilterActionStruct log{};
  log.action = ZQ_FILTER_ACTION_LOG;
  ZQFilterActionList logs{1, &log};
  ZQEscalationTimeStruct good = everyHour(), zero{}, noHour{}, minute60{};
  zero.kind = ZQ_ESCALATION_INTERVAL;
  noHour.kind = ZQ_ESCALATION_CALENDAR;
  noHour.u.date.weekday = 1;
  minute60 = noHour;
  minute60.u.date.hourmask = 1;
  minute60.u.date.minute = 60;
  struct Row {
    const char* what;
    ZQEscalationTimeStruct* time;
    ZQFilterActionList* ifs;
    ZQFilterActionList* elses;
    int32_t message;
  } rows[] = {
      {"no time", nullptr, &logs, nullptr, 247},
      {"an interval of 0", &zero, &logs, nullptr, 247},
      {"a calendar without hours", &noHour, &logs, nullptr, 247},
      {"minute 60", &minute60, &logs, nullptr, 247},
      {"no actions", &good, &none, nullptr, 284},
      {"a message in an escalation", &good, &withMessage, nullptr, 46},
      {"a log in the else list", &good, &logs, &logs, 46},
  };
  for (const Row& r : rows) {
    Status s;
    const uint64_t before = calls();
    EXPECT_EQ(ZQCreateEscalation(&control_, "E", r.time, &forms_.c, 1, nullptr, r.ifs, r.elses,
                                 nullptr, nullptr, nullptr, nullptr, &s),
              2)
        << r.what;
    EXPECT_EQ(s.entries(), (std::vector<std::pair<uint32_t, int32_t>>{{2, r.message}})) << r.what;
    EXPECT_EQ(calls(), before) << r.what;
  }
}

TEST_F(WorkflowDefinitions, ActiveLinkChecksAndTheEmptyGroupWarning) {
  Status s;
  ZQInternalIdList noGroups{0, nullptr};
  ASSERT_EQ(ZQCreateActiveLink(&control_, "L", 1, &forms_.c, &noGroups, 1, nullptr, nullptr, 1,
                               nullptr, &linkActions_, nullptr, nullptr, nullptr, nullptr, nullptr,
                               0, nullptr, &s),
            1);
  EXPECT_EQ(s.entries(), (std::vector<std::pair<uint32_t, int32_t>>{{1, 71}}));
  s.reset();
  uint32_t order = 0;
  EXPECT_EQ(ZQGetActiveLink(&control_, "L", &order, nullptr, nullptr, nullptr, nullptr, nullptr,
                            nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                            nullptr, nullptr, nullptr, nullptr, &s),
            0)
      << "the warning let the create go on";

  ZQActiveLinkActionList none{0, nullptr};
  ZQActiveLinkActionStruct bad{};
  bad.action = 19;
  ZQActiveLinkActionList badList{1, &bad};
  struct Row {
    const char* what;
    uint32_t executeMask;
    ZQActiveLinkActionList* actions;
    int32_t message;
  } rows[] = {
      {"execute mask above 134217727", 134217728, &linkActions_, 187},
      {"no actions", 1, &none, 189},
      {"an unknown action", 1, &badList, 190},
  };
  for (const Row& r : rows) {
    s.reset();
    const uint64_t before = calls();
    EXPECT_EQ(ZQCreateActiveLink(&control_, "Bad", 1, &forms_.c, nullptr, r.executeMask, nullptr,
                                 nullptr, 1, nullptr, r.actions, nullptr, nullptr, nullptr, nullptr,
                                 nullptr, 0, nullptr, &s),
              2)
        << r.what;
    EXPECT_EQ(s.entries(), (std::vector<std::pair<uint32_t, int32_t>>{{2, r.message}})) << r.what;
    EXPECT_EQ(calls(), before);
  }
}

// A list menu holding a sub-menu in its only item, depth levels deep.
struct NestedMenu {
  std::vector<ZQCharMenuStruct> menus;
  std::vector<ZQCharMenuItemStruct> items;
  explicit NestedMenu(int depth) : menus(depth + 1), items(depth + 1) {
    for (int i = 0; i <= depth; ++i) {
      zq::copyName(items[i].label, "Level", sizeof items[i].label);
      if (i < depth) {
        items[i].type = ZQ_MENU_ITEM_MENU;
        items[i].u.childMenu = &menus[i + 1];
      } else {
        items[i].type = ZQ_MENU_ITEM_VALUE;
        items[i].u.value = const_cast<char*>("leaf");
      }
      menus[i].menuType = ZQ_CHAR_MENU_LIST;
      menus[i].u.menuList = {1, &items[i]};
    }
  }
};

TEST_F(WorkflowDefinitions, MenuChecks) {
  NestedMenu deepest(15), tooDeep(16);
  std::vector<ZQCharMenuItemStruct> items(200, valueItem("x", "y"));
  ZQCharMenuStruct many{}, most{}, badType{}, badFile{};
  many.menuType = most.menuType = ZQ_CHAR_MENU_LIST;
  many.u.menuList = {200, items.data()};
  most.u.menuList = {199, items.data()};
  badType.menuType = 7;
  badFile.menuType = ZQ_CHAR_MENU_FILE;
  badFile.u.menuFile.fileLocation = 3;
  struct Row {
    const char* what;
    ZQCharMenuStruct* menu;
    uint32_t refresh;
    int32_t message;  // 0: passes
  } rows[] = {
      {"15 levels", &deepest.menus[0], 1, 0},
      {"16 levels", &tooDeep.menus[0], 1, 321},
      {"199 items", &most, 1, 0},
      {"200 items", &many, 1, 357},
      {"menu type 7", &badType, 1, 206},
      {"file location 3", &badFile, 1, 208},
      {"refresh code 4", &most, 4, 207},
  };
  int n = 0;
  for (const Row& r : rows) {
    Status s;
    const std::string name = "M" + std::to_string(n++);
    EXPECT_EQ(ZQCreateCharMenu(&control_, name.c_str(), r.refresh, r.menu, nullptr, nullptr,
                               nullptr, nullptr, &s),
              r.message ? 2 : 0)
        << r.what;
    if (r.message) {
      EXPECT_TRUE(s.has(r.message)) << r.what;
    }
  }
}

TEST_F(WorkflowDefinitions, ContainerChecks) {
  ZQContainerOwnerObj badOwner{7, "Form"};
  ZQContainerOwnerObjList owners{1, &badOwner};
  ZQReferenceStruct ref{};
  ref.reference.dataType = 5;
  ZQReferenceList refs{1, &ref};
  Status s;
  EXPECT_EQ(ZQCreateContainer(&control_, "C", nullptr, nullptr, &owners, nullptr, nullptr, 1,
                              nullptr, 0, nullptr, nullptr, nullptr, nullptr, &s),
            2);
  EXPECT_TRUE(s.has(8800));
  s.reset();
  EXPECT_EQ(ZQCreateContainer(&control_, "C", nullptr, nullptr, nullptr, nullptr, nullptr, 1, &refs,
                              0, nullptr, nullptr, nullptr, nullptr, &s),
            2);
  EXPECT_TRUE(s.has(8801));
  s.reset();
  EXPECT_EQ(ZQSetContainer(&control_, "C", "C", nullptr, nullptr, nullptr, nullptr, nullptr,
                           nullptr, nullptr, 0, nullptr, nullptr, nullptr, nullptr, &s),
            1);
  EXPECT_TRUE(s.has(54));
}

}  // namespace

// A client's form cache check counts the active links of the form and names
// the menus and the form's guides changed since the client's copies; a
// time after every change leaves only the count of links.
TEST_F(WorkflowDefinitions, FormCacheCheckSeesLinksMenusAndGuides) {
  Status s;
  ASSERT_EQ(createForm("Other", s), 0);
  Connection other{"Other"};
  for (auto [name, forms] :
       {std::pair{"L1", &forms_.c}, {"L2", &forms_.c}, {"Elsewhere", &other.c}})
    ASSERT_EQ(ZQCreateActiveLink(&control_, name, 1, forms, nullptr, 1, nullptr, nullptr, 1,
                                 nullptr, &linkActions_, nullptr, nullptr, nullptr, nullptr,
                                 nullptr, 0, nullptr, s.fresh()),
              0);
  menu_.menuType = ZQ_CHAR_MENU_LIST;
  menu_.u.menuList = {1, &item_};
  ASSERT_EQ(ZQCreateCharMenu(&control_, "Colours", ZQ_MENU_REFRESH_OPEN, &menu_, nullptr, nullptr,
                             nullptr, nullptr, s.fresh()),
            0);
  struct Container {
    const char* name;
    const char* owner;
    uint32_t type;
  } containers[] = {{"Guide", "Form", 1},
                    {"FilterGuide", "Form", 4},
                    {"App", "Form", 2},
                    {"OtherGuide", "Other", 1}};
  for (const Container& c : containers) {
    ZQContainerOwnerObj owner{1, ""};
    zq::copyName(owner.ownerName, c.owner, sizeof owner.ownerName);
    ZQContainerOwnerObjList owners{1, &owner};
    ASSERT_EQ(ZQCreateContainer(&control_, c.name, nullptr, nullptr, &owners, nullptr, nullptr,
                                c.type, nullptr, 0, nullptr, nullptr, nullptr, nullptr, s.fresh()),
              0)
        << c.name;
  }

  auto check = [&](ZQTimestamp since) {
    ZQTimestamp formChanged = 0, groups = 0, users = 0;
    int32_t links = -1, changed = -1;
    ZQNameList menus{0, nullptr}, guides{0, nullptr};
    EXPECT_EQ(ZQValidateFormCache(&control_, "Form", since, since, since, &formChanged, &links,
                                  &changed, &menus, &groups, &users, &guides, s.fresh()),
              0);
    std::vector<std::string> out{std::to_string(links), std::to_string(changed)};
    for (const auto& n : toNames(menus)) out.push_back("menu " + n);
    for (const auto& n : toNames(guides)) out.push_back("guide " + n);
    FreeZQNameList(&menus, 0);
    FreeZQNameList(&guides, 0);
    std::sort(out.begin() + 2, out.end());
    return out;
  };
  EXPECT_EQ(check(0), (std::vector<std::string>{"2", "2", "guide FilterGuide", "guide Guide",
                                                "menu Colours"}));
  const auto later = static_cast<ZQTimestamp>(time(nullptr) + 3600);
  EXPECT_EQ(check(later), (std::vector<std::string>{"2", "0"}));
}
