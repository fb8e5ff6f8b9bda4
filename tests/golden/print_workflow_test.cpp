// Trace-log lines of workflow actions, character menus, field limits, entry
// lists and definition lists, written by hand from the print formats.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "diag/print_visitor.h"

using zq::diag::printToString;

TEST(PrintActions, FilterActionList) {
  ZQFilterActionStruct actions[5] = {};
  actions[0].action = ZQ_FILTER_ACTION_NOTIFY;
  ZQNotifyStruct& n = actions[0].u.notify;
  n.user = const_cast<char*>("Joe");
  n.text = const_cast<char*>("Ticket changed");
  n.priority = 2;
  n.mechanism = ZQ_NOTIFY_XREF;
  n.crossReferenceFieldId = 536870920;
  n.fieldIdListKind = ZQ_NOTIFY_FIELDS_ALL;
  actions[1].action = ZQ_FILTER_ACTION_MESSAGE;
  actions[1].u.message = {ZQ_MESSAGE_WARNING, 10000, const_cast<char*>("Careful")};
  actions[2].action = ZQ_FILTER_ACTION_LOG;
  actions[2].u.logFile = const_cast<char*>("/tmp/filter.log");
  actions[3].action = ZQ_FILTER_ACTION_GOTOACTION;
  actions[3].u.gotoAction = {ZQ_GOTO_OFFSET_BACKWARD, 3};
  actions[4].action = 40;
  ZQFilterActionList list{5, actions};
  EXPECT_EQ(printToString(list, "", "Filter If"),
            "Filter If Action List: 5 items\n"
            "   Filter Action Struct: NOTIFY\n"
            "      Notify Struct:\n"
            "         User: Joe\n"
            "         Text: Ticket changed\n"
            "         Priority: 2\n"
            "         Mechanism: CROSS-REFERENCE\n"
            "            Cross reference field id: 536870920\n"
            "         Subject:\n"
            "         Field Id List: ALL\n"
            "         Behavior: 0\n"
            "         Permission: 0\n"
            "   Filter Action Struct: MESSAGE\n"
            "      Filter Status Struct:\n"
            "         Message type: WARNING\n"
            "         Message number: 10000\n"
            "         Message: Careful\n"
            "   Filter Action Struct: LOG FILE\n"
            "         Filename: /tmp/filter.log\n"
            "   Filter Action Struct: GOTO\n"
            "      Goto Action Struct:\n"
            "         Tag: OFFSET BACKWARD\n"
            "         Execution Order Backup By: 3\n"
            "   Filter Action Struct: <undefined action = 40>\n");
}

TEST(PrintActions, ActiveLinkActionList) {
  ZQActiveLinkActionStruct actions[5] = {};
  ZQMacroParmStruct parms[2] = {};
  strcpy(parms[0].name, "p1");
  parms[0].value = const_cast<char*>("v1");
  strcpy(parms[1].name, "p2");
  actions[0].action = ZQ_ACTIVE_LINK_ACTION_MACRO;
  strcpy(actions[0].u.macro.macroName, "Mac");
  actions[0].u.macro.macroText = const_cast<char*>("text");
  actions[0].u.macro.macroParms = {2, parms};
  actions[1].action = ZQ_ACTIVE_LINK_ACTION_MESSAGE;
  actions[1].u.message = {ZQ_MESSAGE_PROMPT, 7, const_cast<char*>("Hi"), 1};
  actions[2].action = ZQ_ACTIVE_LINK_ACTION_SQL;
  strcpy(actions[2].u.sqlCommand.server, "db");
  actions[3].action = ZQ_ACTIVE_LINK_ACTION_COMMITC;
  actions[4].action = ZQ_ACTIVE_LINK_ACTION_SET_CHAR;
  actions[4].u.characteristics.fieldId = 8;
  actions[4].u.characteristics.accessOption = 2;
  ZQActiveLinkActionList list{5, actions};
  EXPECT_EQ(printToString(list, "", "Else"),
            "Active Link Else Action List: 5 items\n"
            "   Active Link Action Struct: MACRO\n"
            "      Active Link Macro Struct:\n"
            "         Macro Name: Mac\n"
            "         Macro Text: text\n"
            "         Macro Parms: 2\n"
            "            Macro parm (0): p1 =  v1\n"
            "            Macro parm (1): p2\n"
            "   Active Link Action Struct: MESSAGE\n"
            "      Message Struct:\n"
            "         Message type: PROMPT\n"
            "         Message number: 7\n"
            "         Message: Hi\n"
            "         Use Prompting Pane?: TRUE\n"
            "   Active Link Action Struct: DIRECT SQL\n"
            "      SQL Struct:\n"
            "         Server: db\n"
            "         SQL Command: NULL\n"
            "   Active Link Action Struct: COMMIT CHANGES\n"
            "   Active Link Action Struct: SET FIELD CHARACTERISTICS\n"
            "      Field Characteristics Struct:\n"
            "         Field Id: 8\n"
            "         Char Menu: NULL\n"
            "         Property List: 0 items\n"
            "         Reset Focus: 0\n"
            "         Access option: 2\n");
}

TEST(PrintMenus, ListQueryFileAndUnknownMenus) {
  ZQCharMenuItemStruct items[2] = {};
  strcpy(items[0].label, "Low");
  items[0].type = ZQ_MENU_ITEM_VALUE;
  items[0].u.value = const_cast<char*>("1");
  ZQCharMenuStruct child{};
  child.menuType = ZQ_CHAR_MENU_NONE;
  strcpy(items[1].label, "More");
  items[1].type = ZQ_MENU_ITEM_MENU;
  items[1].u.childMenu = &child;
  ZQCharMenuStruct menu{};
  menu.menuType = ZQ_CHAR_MENU_LIST;
  menu.u.menuList = {2, items};
  EXPECT_EQ(printToString(menu),
            "Char Menu Struct:\n"
            "Type of Menu: LIST\n"
            "   Character Menu List: 2 items\n"
            "      Char Menu Item Struct:\n"
            "         Label: Low\n"
            "         Type : 1\n"
            "         Value: 1\n"
            "      Char Menu Item Struct:\n"
            "         Label: More\n"
            "         Type : 2\n"
            "         Char Menu Struct:\n"
            "         Type of Menu: NONE\n");

  ZQCharMenuStruct query{};
  query.menuType = ZQ_CHAR_MENU_QUERY;
  strcpy(query.u.menuQuery.schemaName, "People");
  query.u.menuQuery.labelFieldId[0] = 8;
  query.u.menuQuery.labelFieldId[1] = 9;
  query.u.menuQuery.valueFieldId = 1;
  EXPECT_EQ(printToString(query),
            "Char Menu Struct:\n"
            "Type of Menu: QUERY\n"
            "   Char Menu Query Struct:\n"
            "      Schema name: People\n"
            "      Server name: \n"
            "      Qualifier Struct:\n"
            "         Operation: <none>\n"
            "      Label Field Id: 8, 9\n"
            "      Value Field Id: 1\n"
            "      Sort on Label: FALSE\n"
            "      Sample Schema name: \n"
            "      Sample Server name: \n");

  ZQCharMenuStruct file{};
  file.menuType = ZQ_CHAR_MENU_FILE;
  file.u.menuFile.fileLocation = 5;
  file.u.menuFile.filename = const_cast<char*>("menu.txt");
  EXPECT_EQ(printToString(file),
            "Char Menu Struct:\n"
            "Type of Menu: FILE\n"
            "   File Location:    <undefined file location = 5>\n"
            "      Filename: menu.txt\n");

  ZQCharMenuStruct odd{};
  odd.menuType = 17;
  EXPECT_EQ(printToString(odd), "Char Menu Struct:\nType of Menu: <undefined menu type = 17>\n");
}

TEST(PrintLimits, FieldLimitsOfEveryShape) {
  ZQFieldLimitStruct integer{};
  integer.dataType = ZQ_DATA_TYPE_INTEGER;
  integer.u.intLimits = {-5, 5};
  EXPECT_EQ(printToString(integer),
            "Field Limit Struct: INTEGER\n   Low Range : -5\n   High Range: 5\n");

  ZQFieldLimitStruct text{};
  text.dataType = ZQ_DATA_TYPE_CHAR;
  text.u.charLimits.maximumLength = 80;
  text.u.charLimits.pattern = const_cast<char*>("[a-z]*");
  strcpy(text.u.charLimits.characterMenu, "Colors");
  EXPECT_EQ(printToString(text),
            "Field Limit Struct: CHARACTER\n"
            "   Maximum Length: 80\n"
            "   Menu Style: 0\n"
            "   QBE Match Operation: 0\n"
            "   Character Menu: Colors\n"
            "   Pattern: [a-z]*\n"
            "   FullText Options: 0\n"
            "   Length Units: 0\n"
            "   Storage Option: 0\n");

  ZQNameType names[3] = {"Red", "Green", "Blue"};
  ZQFieldLimitStruct regular{};
  regular.dataType = ZQ_DATA_TYPE_ENUM;
  regular.u.enumLimits.enumKind = ZQ_ENUM_STYLE_REGULAR;
  regular.u.enumLimits.u.values = {3, names};
  EXPECT_EQ(printToString(regular),
            "Field Limit Struct: ENUMERATED\n"
            "    Enum values: (3)  Red (0), Green (1), Blue (2)\n");

  ZQEnumItemStruct custom[2] = {{"Low", 10}, {"High", 20}};
  ZQFieldLimitStruct mask{};
  mask.dataType = ZQ_DATA_TYPE_BITMASK;
  mask.u.maskLimits.enumKind = ZQ_ENUM_STYLE_CUSTOM;
  mask.u.maskLimits.u.customValues = {2, custom};
  EXPECT_EQ(printToString(mask),
            "Field Limit Struct: BITMASK\n    Bitmask values: (2)  Low (10), High (20)\n");

  ZQFieldLimitStruct attach{};
  attach.dataType = ZQ_DATA_TYPE_ATTACH;
  attach.u.attachLimits.maximumSize = 1024;
  attach.u.attachLimits.attachType = 9;
  EXPECT_EQ(printToString(attach),
            "Field Limit Struct: ATTACHMENT\n   Maximum Size: 1024\n"
            "   Attach Type: <undefined attach type = 9>\n   FullText Options: 0\n");

  ZQFieldLimitStruct date{};
  date.dataType = ZQ_DATA_TYPE_DATE;
  date.u.dateLimits = {2415021, 2488070};
  EXPECT_EQ(printToString(date),
            "Field Limit Struct: DATE\n   Minium Date : 2415021\n   Maxium Date : 2488070\n");

  const struct {
    uint32_t type;
    const char* printed;
  } bare[] = {{0, "Field Limit Struct: NO LIMITS\n"},
              {ZQ_DATA_TYPE_TIME, "Field Limit Struct: TIMESTAMP\n"},
              {ZQ_DATA_TYPE_TIME_OF_DAY, "Field Limit Struct: TIMEOFDAY\n"},
              {77, "Field Limit Struct: <undefined datatype = 77>\n"}};
  for (const auto& c : bare) {
    ZQFieldLimitStruct limit{};
    limit.dataType = c.type;
    EXPECT_EQ(printToString(limit), c.printed);
  }
}

TEST(PrintDefinitions, EntryListsAndDefinitionLists) {
  ZQEntryIdType ids[2] = {"000000000000001", "000000000000002"};
  ZQEntryListStruct entries[1] = {{{2, ids}, const_cast<char*>("First entry")}};
  ZQEntryListList list{1, entries};
  EXPECT_EQ(printToString(list),
            "Entry List List: 1 items\n"
            "   Entry List Struct:\n"
            "      Entry Id: 000000000000001|000000000000002\n"
            "      Short Description: First entry\n");

  ZQFieldValueStruct values[1] = {};
  values[0].fieldId = 1;
  values[0].value.dataType = ZQ_DATA_TYPE_CHAR;
  values[0].value.u.charValue = const_cast<char*>("x");
  ZQFieldValueList fieldValues{1, values};
  ZQEntryListFieldValueStruct withValues[1] = {{{1, ids}, &fieldValues}};
  ZQEntryListFieldValueList valueList{1, withValues};
  EXPECT_EQ(printToString(valueList),
            "Entry List Field Value List: 1 items\n"
            "Entry List Struct:\n"
            "   Entry Id: 000000000000001\n"
            "   Entry Field/Value List:\n"
            "   Field Value List: 1 items\n"
            "      Field Value Struct:\n"
            "         Field Id: 1\n"
            "         Value: (char) x\n");

  ZQEntryListFieldStruct columns[1] = {{8, 20, " "}};
  ZQEntryListFieldList fields{1, columns};
  EXPECT_EQ(printToString(fields, "  "),
            "  Entry List Field List: 1 items\n"
            "     Entry List Field Struct:\n"
            "        Field Id: 8\n"
            "        Column Width: 20\n"
            "        Separator:  \n");

  ZQSortStruct sorts[2] = {{1, ZQ_SORT_DESCENDING}, {2, 9}};
  ZQSortList sortList{2, sorts};
  EXPECT_EQ(printToString(sortList),
            "Sort List: 2 items\n"
            "   Sort Struct:\n      Field Id: 1\n      Sort Order: DESCENDING\n"
            "   Sort Struct:\n      Field Id: 2\n      Sort Order: <undefined sort order = 9>\n");

  ZQPermissionStruct perms[2] = {{3, ZQ_PERMISSIONS_CHANGE}, {4, 6}};
  ZQPermissionList permList{2, perms};
  EXPECT_EQ(
      printToString(permList),
      "Permission List: 2 items\n"
      "   Permission Struct:\n      Group Id: 3\n      Permissions: CHANGE\n"
      "   Permission Struct:\n      Group Id: 4\n      Permissions: <undefined permission = 6>\n");

  ZQPropStruct props[1] = {};
  props[0].propertyTag = 20;
  props[0].value.dataType = ZQ_DATA_TYPE_INTEGER;
  props[0].value.u.integerValue = 1;
  ZQPropList propList{1, props};
  EXPECT_EQ(printToString(propList),
            "Property List: 1 items\n"
            "   Property Struct:\n      Property Tag: 20\n      Value: (integer) 1\n");

  ZQAccessNameType groupNames[1] = {"Admins"};
  ZQGroupInfoStruct groups[1] = {{1, 5, {1, groupNames}, 0}};
  ZQGroupInfoList groupList{1, groups};
  EXPECT_EQ(printToString(groupList),
            "Group Info List: 1 items\n"
            "   Group Info Struct:\n"
            "      Group id: 1\n"
            "      Group type: <undefined group type = 5>\n"
            "       Group name: (1)  Admins\n");
}

// An image shows the bytes it holds; one that kept its size but holds no
// bytes shows none (it used to print nothing at all).
TEST(PrintDefinitions, ImagesShowTheBytesTheyHold) {
  unsigned char png[] = {0x89, 'P', 'N', 'G'};
  ZQImageDataStruct images[2] = {{4, png}, {12, nullptr}};
  EXPECT_EQ(printToString(images[1]), "   Bytes: 0 bytes\n");
  ZQImageDataList list{2, images};
  EXPECT_EQ(printToString(list), "2 items\n      Bytes: 4 bytes\n      Bytes: 0 bytes\n");
}

// Archives show the destination their type names; type 0 (no archiving, no
// auditing) ends the lines. A mapping names its type once.
TEST(PrintDefinitions, ArchivesAuditsAndMappings) {
  ZQArchiveInfoStruct toForm{};
  toForm.enable = 1;
  toForm.archiveType = ZQ_ARCHIVE_FORM;
  strcpy(toForm.u.formName, "Old Tickets");
  toForm.monthday = 1;
  toForm.weekday = -2;
  toForm.hourmask = 4;
  toForm.minute = 30;
  strcpy(toForm.archiveFrom, "Tickets");
  EXPECT_EQ(printToString(toForm),
            "Archive Struct:\n"
            "   Enable: 1\n"
            "   Type: 1\n"
            "   Form: Old Tickets\n"
            "   Monthday: 1\n"
            "   Weekday: -2\n"
            "   Hourmask: 4\n"
            "   Minute: 30\n"
            "   Qualifier Struct:\n"
            "      Operation: <none>\n"
            "   ArchiveFrom: Tickets\n");
  ZQArchiveInfoStruct toFile{};
  toFile.archiveType = ZQ_ARCHIVE_FILE_XML;
  toFile.u.dirPath = const_cast<char*>("/var/archive");
  const std::string pathLines =
      "Archive Struct:\n   Enable: 0\n   Type: 4\n   Dir Path: /var/archive\n   Monthday: 0\n";
  EXPECT_EQ(printToString(toFile).substr(0, pathLines.size()), pathLines);
  ZQArchiveInfoStruct none{};
  none.enable = 1;
  EXPECT_EQ(printToString(none), "Archive Struct:\n   Enable: 1\n   Type: 0\n");

  ZQAuditInfoStruct audit{1, 1, "Audit Log", {}, 7};
  EXPECT_EQ(printToString(audit),
            "Audit Struct:\n   Enable: 1\n   Type: 1\n   Form: Audit Log\n"
            "   Qualifier Struct:\n      Operation: <none>\n");
  audit.auditType = 0;
  EXPECT_EQ(printToString(audit), "Audit Struct:\n   Enable: 1\n   Type: 0\n");

  ZQFieldMappingStruct join{};
  join.fieldType = ZQ_FIELD_MAPPING_JOIN;
  join.u.join = {1, 8};
  EXPECT_EQ(printToString(join),
            "Field Mapping:\n   Type: JOIN\n   Schema Index: 1\n   Field Id: 8\n");
  ZQFieldMappingStruct odd{};
  odd.fieldType = 9;
  EXPECT_EQ(printToString(odd), "Field Mapping:\n   Type: <undefined tag value = 9>\n");
}
