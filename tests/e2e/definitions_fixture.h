// Definition calls against zqserverd on loopback: the fixture and the small
// builders the form, field, view, image and support-file tests share.
#pragma once

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "entry_store.h"
#include "store.h"
#include "support/server_fixture.h"

namespace zqtest {

inline ZQCompoundSchema regularKind() {
  ZQCompoundSchema k{};
  k.schemaType = ZQ_SCHEMA_REGULAR;
  return k;
}

inline ZQValueStruct intValue(int32_t x) {
  ZQValueStruct v{};
  v.dataType = ZQ_DATA_TYPE_INTEGER;
  v.u.integerValue = x;
  return v;
}

inline ZQValueStruct charValue(const char* s) {
  ZQValueStruct v{};
  v.dataType = ZQ_DATA_TYPE_CHAR;
  v.u.charValue = const_cast<char*>(s);
  return v;
}

// A relational qualifier node owning its parts: field <op> value, or
// field <op> field with a right operand tag of its own (joins).
struct Relation {
  ZQRelOpStruct rel{};
  ZQQualifierStruct qual{};
  Relation(uint32_t op, ZQInternalId field, ZQValueStruct value) {
    rel.operation = op;
    rel.left.tag = ZQ_FIELD;
    rel.left.u.fieldId = field;
    rel.right.tag = ZQ_VALUE;
    rel.right.u.value = value;
    qual.operation = ZQ_COND_OP_REL_OP;
    qual.u.relation = &rel;
  }
  Relation(uint32_t op, ZQInternalId left, uint32_t rightTag, ZQInternalId right) {
    rel.operation = op;
    rel.left.tag = ZQ_FIELD;
    rel.left.u.fieldId = left;
    rel.right.tag = rightTag;
    rel.right.u.fieldId = right;
    qual.operation = ZQ_COND_OP_REL_OP;
    qual.u.relation = &rel;
  }
};

// A name list over names held by the caller.
struct Names {
  std::vector<ZQNameType> items;
  ZQNameList list{0, nullptr};
  Names(std::initializer_list<const char*> names) : items(names.size()) {
    size_t i = 0;
    for (const char* n : names) {
      memset(items[i], 0, sizeof(ZQNameType));
      strncpy(items[i++], n, sizeof(ZQNameType) - 1);
    }
    list = {static_cast<uint32_t>(items.size()), items.data()};
  }
};

// A workflow connection to the forms named (the names owned here).
struct Connection {
  Names forms;
  ZQWorkflowConnectStruct c{};
  explicit Connection(std::initializer_list<const char*> names) : forms(names) {
    c.type = ZQ_WORKFLOW_CONN_SCHEMA_LIST;
    c.schemaList = &forms.list;
  }
};

inline std::vector<std::string> namesOf(const ZQNameList& l) {
  std::vector<std::string> out;
  for (uint32_t i = 0; i < l.count; ++i) out.emplace_back(l.items[i]);
  return out;
}

// A filter on the given forms whose only action is a note with this text.
inline int createNoteFilter(ZQControlStruct* control, const char* name, uint32_t order,
                            ZQWorkflowConnectStruct* forms, const char* note, const char* help,
                            ZQStatusList* status) {
  ZQFilterActionStruct action{};
  action.action = ZQ_FILTER_ACTION_MESSAGE;
  action.u.message = {ZQ_MESSAGE_NOTE, 10001, const_cast<char*>(note)};
  ZQFilterActionList actions{1, &action};
  return ZQCreateFilter(control, name, order, forms, ZQ_OPERATION_CREATE, 1, nullptr, &actions,
                        nullptr, help, nullptr, nullptr, nullptr, 0, nullptr, status);
}

// A character menu of one item, "One" for the value 1.
inline int createOneItemMenu(ZQControlStruct* control, const char* name, ZQStatusList* status) {
  ZQCharMenuItemStruct one{};
  strncpy(one.label, "One", sizeof one.label - 1);
  one.type = ZQ_MENU_ITEM_VALUE;
  one.u.value = const_cast<char*>("1");
  ZQCharMenuStruct menu{};
  menu.menuType = ZQ_CHAR_MENU_LIST;
  menu.u.menuList = {1, &one};
  return ZQCreateCharMenu(control, name, ZQ_MENU_REFRESH_OPEN, &menu, nullptr, nullptr, nullptr,
                          nullptr, status);
}

class DefinitionTest : public ServerTest {
 protected:
  uint64_t calls() { return server_->faults().callsReceived.load(); }

  int createForm(const char* name, Status& s, ZQCompoundSchema kind = regularKind()) {
    return ZQCreateSchema(&control_, name, &kind, nullptr, nullptr, nullptr, nullptr, nullptr,
                          nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, 0,
                          &s);
  }

  // A field with group 1 allowed to change it; the id chosen is returned
  // through *id when it is 0.
  int createField(const char* form, ZQInternalId id, const char* name, uint32_t dataType, Status& s,
                  ZQValueStruct* defaultValue = nullptr, ZQFieldMappingStruct* mapping = nullptr,
                  ZQInternalId* chosen = nullptr) {
    ZQPermissionStruct perm{1, ZQ_PERMISSIONS_CHANGE};
    ZQPermissionList perms{1, &perm};
    const int rc = ZQCreateField(&control_, form, &id, 0, name, mapping, dataType,
                                 ZQ_FIELD_OPTION_OPTIONAL, ZQ_FIELD_OPEN_AT_CREATE, 0, defaultValue,
                                 &perms, nullptr, nullptr, nullptr, nullptr, nullptr, &s);
    if (chosen) *chosen = id;
    return rc;
  }

  // Sets a definition's last-change time straight in the store, so that
  // changed-since conditions can be tried without waiting.
  void age(const char* name, int64_t changed) {
    ASSERT_TRUE(server_->store().exec("UPDATE zq_definitions SET changed = " +
                                      std::to_string(changed) + " WHERE name = '" + name + "'"));
  }
};

// The form the workflow tests work on: "Tickets" with a title and a count.
class TicketsTest : public DefinitionTest {
 public:
  static constexpr ZQInternalId kTitle = 536870913;
  static constexpr ZQInternalId kCount = 536870914;

 protected:
  void SetUp() override {
    DefinitionTest::SetUp();
    if (HasFatalFailure()) return;
    zqserver::EntryStore store(server_->store());
    ASSERT_TRUE(store
                    .createForm("Tickets", {{kTitle, ZQ_DATA_TYPE_CHAR, "Title"},
                                            {kCount, ZQ_DATA_TYPE_INTEGER, "Count"}})
                    .ok());
  }

  // Title and count of a ticket as stored ({"", -1} when there is none);
  // *found says whether there is one.
  std::pair<std::string, int32_t> ticket(const std::string& id, bool* found = nullptr) {
    zqserver::EntryStore store(server_->store());
    ZQFieldValueList values{0, nullptr};
    std::pair<std::string, int32_t> out{"", -1};
    const bool there = store.get("Tickets", id, nullptr, values).ok();
    if (found) *found = there;
    for (uint32_t i = 0; there && i < values.count; ++i) {
      const ZQFieldValueStruct& v = values.items[i];
      if (v.fieldId == kTitle && v.value.dataType == ZQ_DATA_TYPE_CHAR)
        out.first = v.value.u.charValue;
      if (v.fieldId == kCount && v.value.dataType == ZQ_DATA_TYPE_INTEGER)
        out.second = v.value.u.integerValue;
    }
    FreeZQFieldValueList(&values, 0);
    return out;
  }
};

}  // namespace zqtest
