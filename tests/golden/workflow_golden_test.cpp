// Wire vectors of workflow actions, field limits and character menus, written
// by hand from the XDR rules: every word big-endian, names as fixed opaque
// fields padded to a multiple of 4 (255 -> 256, server 65 -> 68, 31 -> 32),
// strings as length + bytes + padding, optional nodes behind a presence word.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "frame/alloc.h"
#include "model/describe_defs.h"
#include "support/session.h"

namespace {

struct Bytes {
  std::vector<char> b;
  Bytes& w(uint32_t v) {
    for (int shift = 24; shift >= 0; shift -= 8) b.push_back(static_cast<char>(v >> shift));
    return *this;
  }
  Bytes& name(const std::string& text, size_t width) {
    std::string field = text;
    field.resize((width + 3) / 4 * 4, '\0');
    b.insert(b.end(), field.begin(), field.end());
    return *this;
  }
  Bytes& str(const std::string& text) {
    w(static_cast<uint32_t>(text.size()));
    std::string field = text;
    field.resize((text.size() + 3) / 4 * 4, '\0');
    b.insert(b.end(), field.begin(), field.end());
    return *this;
  }
  Bytes& then(const Bytes& more) {
    b.insert(b.end(), more.b.begin(), more.b.end());
    return *this;
  }
};

template <size_t M>
void setName(char (&dst)[M], const char* src) {
  zq::copyName(dst, src, M);
}

class WorkflowGolden : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(session_.initResult(), 0);
    session_.context()->clientCharset = 65;
    session_.context()->serverCharset = 65;
    zq::setCurrentContext(session_.context());
  }

  // The value encodes to exactly `golden`, and `golden` decodes to a value
  // that encodes to it again.
  template <class T>
  void expectWire(const T& value, int version, const Bytes& golden) {
    SCOPED_TRACE("version " + std::to_string(version));
    std::vector<char> wire;
    ASSERT_TRUE(zq::model::encodeToBuffer(value, version, wire));
    EXPECT_EQ(wire, golden.b);
    T decoded{};
    ASSERT_TRUE(zq::model::decodeFromBuffer(golden.b.data(), golden.b.size(), decoded, version));
    std::vector<char> again;
    EXPECT_TRUE(zq::model::encodeToBuffer(decoded, version, again));
    EXPECT_EQ(again, golden.b);
    zq::model::release(decoded);
  }

  zqtest::Session session_;
};

// ---- filter actions --------------------------------------------------------------------

TEST_F(WorkflowGolden, SetFieldsActionGainsItsSamplesInVersion10) {
  ZQFieldAssignStruct assign{};
  assign.fieldId = 0x20000001;
  assign.assignment.assignType = ZQ_ASSIGN_TYPE_VALUE;
  assign.assignment.u.value.dataType = ZQ_DATA_TYPE_INTEGER;
  assign.assignment.u.value.u.integerValue = -2;
  ZQFilterActionStruct action{};
  action.action = ZQ_FILTER_ACTION_FIELDS;
  action.u.setFields.fieldAssignList = {1, &assign};
  setName(action.u.setFields.sampleServer, "srv");
  setName(action.u.setFields.sampleSchema, "Form");

  Bytes v9;
  v9.w(4)             // action: set fields
      .w(1)           // one assignment
      .w(0x20000001)  // field id
      .w(1)
      .w(2)
      .w(0xFFFFFFFE);  // value assignment: integer -2
  expectWire(action, 9, v9);

  Bytes v10 = v9;
  v10.name("srv", 65).name("Form", 255);  // sample server and form
  expectWire(action, 10, v10);
}

TEST_F(WorkflowGolden, NotifyGainsBehaviorPermissionAndAdvancedBlockInVersion9) {
  ZQInternalId ids[] = {7, 0x20000002};
  ZQFilterActionStruct action{};
  action.action = ZQ_FILTER_ACTION_NOTIFY;
  ZQNotifyStruct& n = action.u.notify;
  n.user = const_cast<char*>("Demo");
  n.text = const_cast<char*>("Changed!");
  n.priority = 3;
  n.mechanism = ZQ_NOTIFY_EMAIL;
  n.crossReferenceFieldId = 0;
  n.subject = nullptr;  // a null string travels as an empty one
  n.fieldIdListKind = ZQ_NOTIFY_FIELDS_LIST;
  n.fieldIdList = {2, ids};
  n.behavior = 1;
  n.permission = 2;
  n.advanced = nullptr;

  Bytes v8;
  v8.w(1)               // action: notify
      .str("Demo")      // user
      .str("Changed!")  // text
      .w(3)
      .w(2)
      .w(0)     // priority, mechanism e-mail, cross-reference field
      .str("")  // subject
      .w(2)
      .w(2)
      .w(7)
      .w(0x20000002);  // field list kind 2 and its ids
  expectWire(action, 8, v8);

  Bytes v9 = v8;
  v9.w(1).w(2).w(0);  // behavior, permission, no advanced block
  expectWire(action, 9, v9);

  ZQFilterActionNotifyAdvanced advanced{};
  advanced.fromUser = const_cast<char*>("me@x");
  advanced.option3 = 9;
  n.advanced = &advanced;
  Bytes withBlock = v8;
  withBlock.w(1).w(2).w(1).str("me@x");  // present, then the nine strings
  for (int i = 0; i < 8; ++i) withBlock.w(0);
  withBlock.w(0).w(0).w(9);
  expectWire(action, 14, withBlock);
}

// ---- active link actions ---------------------------------------------------------------------

TEST_F(WorkflowGolden, CloseWindowCarriesItsByteFromVersion8) {
  ZQActiveLinkActionStruct action{};
  action.action = ZQ_ACTIVE_LINK_ACTION_CLOSEWND;
  action.u.closeWindow.closeAllWindows = 1;
  expectWire(action, 7, Bytes().w(12));
  expectWire(action, 8, Bytes().w(12).w(1));
}

TEST_F(WorkflowGolden, CharacteristicsGainTheirLeadingOptionWordInVersion10) {
  ZQPropStruct prop{};
  prop.propertyTag = 20;
  prop.value.dataType = ZQ_DATA_TYPE_CHAR;
  prop.value.u.charValue = const_cast<char*>("Label");
  ZQActiveLinkActionStruct action{};
  action.action = ZQ_ACTIVE_LINK_ACTION_SET_CHAR;
  ZQFieldCharacteristicsStruct& c = action.u.characteristics;
  c.option = 9;
  c.fieldId = 8;
  c.charMenu = const_cast<char*>("Menu");
  c.properties = {1, &prop};
  c.resetFocus = 1;
  c.accessOption = 2;

  Bytes tail;
  tail.w(8).str("Menu").w(1).w(20).w(4).str("Label").w(1).w(2);
  expectWire(action, 9, Bytes().w(5).then(tail));
  expectWire(action, 10, Bytes().w(5).w(9).then(tail));
}

TEST_F(WorkflowGolden, ActiveLinkProcessIsBoundedBefore14) {
  std::string command(257, 'x');
  ZQActiveLinkActionStruct action{};
  action.action = ZQ_ACTIVE_LINK_ACTION_PROCESS;
  action.u.process = command.data();
  std::vector<char> wire;
  EXPECT_FALSE(zq::model::encodeToBuffer(action, 13, wire));
  expectWire(action, 14, Bytes().w(3).str(command));
}

// ---- field limits ---------------------------------------------------------------------------

TEST_F(WorkflowGolden, CharacterLimitsByVersion) {
  ZQFieldLimitStruct limit{};
  limit.dataType = ZQ_DATA_TYPE_CHAR;
  ZQCharacterLimits& c = limit.u.charLimits;
  c.maximumLength = 10;
  c.menuStyle = 1;
  c.qbeMatchOperation = 2;
  setName(c.characterMenu, "Menu");
  c.pattern = const_cast<char*>("ab");
  c.fullTextOptions = 0;
  c.lengthUnits = 1;
  c.storageOption = 2;

  Bytes v7;
  v7.w(4).w(10).w(1).w(2).name("Menu", 31).str("ab").w(0);  // 31-character menu name
  expectWire(limit, 7, v7);
  Bytes v13;
  v13.w(4).w(10).w(1).w(2).name("Menu", 255).str("ab").w(0);
  expectWire(limit, 13, v13);
  Bytes v14 = v13;
  v14.w(1).w(2);  // length units and storage option
  expectWire(limit, 14, v14);
}

TEST_F(WorkflowGolden, EnumerationQueryCarriesItsQualificationThroughAPointer) {
  ZQFieldLimitStruct limit{};
  limit.dataType = ZQ_DATA_TYPE_ENUM;
  limit.u.enumLimits.enumKind = ZQ_ENUM_STYLE_QUERY;
  ZQEnumeratedQuery& q = limit.u.enumLimits.u.query;
  setName(q.schemaName, "Values");
  setName(q.serverName, "srv");
  q.qualifier.operation = ZQ_COND_OP_FROM_FIELD;
  q.qualifier.u.fieldId = 5;
  q.nameFieldId = 8;
  q.numberFieldId = 9;
  Bytes golden;
  golden.w(6).w(3).name("Values", 255).name("srv", 65);
  golden.w(1).w(5).w(5);  // present, operation 5, field id
  golden.w(8).w(9);
  expectWire(limit, 14, golden);

  // An absent qualification reads back as no condition.
  Bytes absent;
  absent.w(6).w(3).name("Values", 255).name("srv", 65).w(0).w(8).w(9);
  ZQFieldLimitStruct decoded{};
  ASSERT_TRUE(zq::model::decodeFromBuffer(absent.b.data(), absent.b.size(), decoded, 14));
  EXPECT_EQ(decoded.u.enumLimits.u.query.qualifier.operation, 0u);
  EXPECT_EQ(decoded.u.enumLimits.u.query.numberFieldId, 9u);
  FreeZQFieldLimitStruct(&decoded, 0);
}

// ---- character menus -------------------------------------------------------------------------

TEST_F(WorkflowGolden, ListMenuWithASubMenu) {
  ZQCharMenuItemStruct leaf{};
  setName(leaf.label, "A");
  leaf.type = ZQ_MENU_ITEM_VALUE;
  leaf.u.value = const_cast<char*>("1");
  ZQCharMenuStruct child{};
  child.menuType = ZQ_CHAR_MENU_LIST;
  child.u.menuList = {1, &leaf};
  ZQCharMenuItemStruct items[2] = {};
  setName(items[0].label, "Sub");
  items[0].type = ZQ_MENU_ITEM_MENU;
  items[0].u.childMenu = &child;
  setName(items[1].label, "Gone");
  items[1].type = ZQ_MENU_ITEM_MENU;  // a null sub-menu travels as absent
  ZQCharMenuStruct menu{};
  menu.menuType = ZQ_CHAR_MENU_LIST;
  menu.u.menuList = {2, items};

  for (int version : {7, 14}) {
    const size_t label = version == 7 ? 31 : 255;
    Bytes golden;
    golden.w(1).w(2);                                 // list menu, two items
    golden.name("Sub", label).w(2).w(1);              // sub-menu, present
    golden.w(1).w(1).name("A", label).w(1).str("1");  // the child: one value item
    golden.name("Gone", label).w(2).w(0);             // sub-menu, absent
    expectWire(menu, version, golden);
  }
}

TEST_F(WorkflowGolden, SqlMenuWritesItsIndexesAsOneRunOfWords) {
  ZQCharMenuStruct menu{};
  menu.menuType = ZQ_CHAR_MENU_SQL;
  setName(menu.u.menuSQL.serverName, "db");
  menu.u.menuSQL.sqlCommand = const_cast<char*>("select a");
  const int32_t labels[] = {1, 0, 3, 0, -1};
  memcpy(menu.u.menuSQL.labelIndex, labels, sizeof labels);
  menu.u.menuSQL.valueIndex = 2;
  Bytes v14;
  v14.w(4).name("db", 65).str("select a").w(1).w(0).w(3).w(0).w(0xFFFFFFFF).w(2);
  expectWire(menu, 14, v14);
  Bytes v7;
  v7.w(4).name("db", 65).str("select a").w(1).w(2);  // one label index in version 7
  expectWire(menu, 7, v7);

  // A stream that offers no window (a stdio stream) gets the same bytes word by word.
  FILE* file = tmpfile();
  ASSERT_NE(file, nullptr);
  XDR xdrs;
  xdrstdio_create(&xdrs, file, XDR_ENCODE);
  EXPECT_TRUE(zq::model::encode(&xdrs, menu, 14));
  xdr_destroy(&xdrs);
  fflush(file);
  std::vector<char> written(v14.b.size() + 16);
  rewind(file);
  written.resize(fread(written.data(), 1, written.size(), file));
  fclose(file);
  EXPECT_EQ(written, v14.b);
}

TEST_F(WorkflowGolden, QueryMenuByVersion) {
  ZQCharMenuStruct menu{};
  menu.menuType = ZQ_CHAR_MENU_QUERY;
  ZQCharMenuQueryStruct& q = menu.u.menuQuery;
  setName(q.schemaName, "People");
  setName(q.serverName, "srv");
  q.labelFieldId[0] = 8;
  q.labelFieldId[1] = 0;
  q.labelFieldId[2] = 99;  // beyond the first 0, still carried
  q.valueFieldId = 1;
  q.sortOnLabel = 1;
  setName(q.sampleSchemaName, "S");
  setName(q.sampleServerName, "T");
  Bytes v7, v9, v10;
  v7.w(2).name("People", 31).name("srv", 65).w(0).w(8).w(1).w(1);
  v9.w(2).name("People", 255).name("srv", 65).w(0).w(8).w(0).w(99).w(0).w(0).w(1).w(1);
  v10 = v9;
  v10.name("S", 255).name("T", 65);
  expectWire(menu, 7, v7);
  expectWire(menu, 9, v9);
  expectWire(menu, 10, v10);
}

// ---- definition structures -----------------------------------------------------------------

TEST_F(WorkflowGolden, WorkflowConnectionSendsItsFormsAsCountedTexts) {
  ZQNameType forms[2] = {"Form A", ""};
  ZQNameList list{2, forms};
  ZQWorkflowConnectStruct c{ZQ_WORKFLOW_CONN_SCHEMA_LIST, &list};
  Bytes v8;
  v8.w(1).w(1).w(2);                              // type 1, present, two names
  v8.w(7).name(std::string("Form A") + '\0', 7);  // the terminator travels
  v8.w(1).name(std::string(1, '\0'), 1);
  expectWire(c, 8, v8);
  Bytes v7;
  v7.w(1).w(1).w(2).name("Form A", 31).name("", 31);  // fixed 31-character names
  expectWire(c, 7, v7);
}

TEST_F(WorkflowGolden, ViewTableNameIs256CharactersUpTo11And2048From12) {
  ZQCompoundSchema s{};
  s.schemaType = ZQ_SCHEMA_VIEW;
  setName(s.u.view.viewTableName, "t");
  setName(s.u.view.extraName, "k");
  for (int version : {11, 12}) {
    const size_t width = version == 11 ? 256 : 2048;
    Bytes golden;
    golden.w(3).w('t');
    for (size_t i = 1; i < width; ++i) golden.w(0);  // one character per unit
    golden.name("k", 255);
    expectWire(s, version, golden);
  }
  Bytes v7;
  v7.w(3).w('t');
  for (size_t i = 1; i < 256; ++i) v7.w(0);
  v7.w(0).name("k", 31);  // version 7 also sends an (empty) string
  expectWire(s, 7, v7);

  std::string longName(300, 'v');
  setName(s.u.view.viewTableName, longName.c_str());
  std::vector<char> wire;
  EXPECT_TRUE(zq::model::encodeToBuffer(s, 12, wire));
  EXPECT_FALSE(zq::model::encodeToBuffer(s, 11, wire));
}

TEST_F(WorkflowGolden, ArchiveSendsADestinationSelector) {
  ZQArchiveInfoStruct a{};
  a.enable = 1;
  a.archiveType = ZQ_ARCHIVE_FILE_XML;
  a.u.dirPath = const_cast<char*>("/a");
  a.minute = 5;
  setName(a.archiveFrom, "F");
  Bytes golden;
  golden.w(1).w(4).w(4).str("/a");  // enable, type, selector 4: a path
  golden.w(0).w(0).w(0).w(5).w(0).name("F", 255);
  expectWire(a, 14, golden);

  a.archiveType = ZQ_ARCHIVE_FORM;
  setName(a.u.formName, "Dest");
  Bytes form;
  form.w(1).w(1).w(1).name("Dest", 255);  // selector 1: a form
  form.w(0).w(0).w(0).w(5).w(0).name("F", 255);
  expectWire(a, 14, form);
}

}  // namespace
