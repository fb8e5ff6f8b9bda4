// The per-type rules of the Free family and of the copies for workflow and
// definition structures: what a kept structure looks like after a free, the
// pointer form of the advanced notify block, rounded capacities, the menu
// copy results, and members that belong to the client or to one tag only.
#include "unit/model/defs_fixtures.h"

#include <gtest/gtest.h>

#include "zqapi/zq_session.h"
#include "support/session.h"
#include "zqapi/zq_copy.h"

namespace {

namespace d = zqtest::defs;
using namespace zqtest::fx;

template <class T>
bool allZero(const T& s) {
  const auto* p = reinterpret_cast<const unsigned char*>(&s);
  for (size_t i = 0; i < sizeof s; ++i)
    if (p[i]) return false;
  return true;
}

// ---- FreeZQFilterActionNotifyAdvanced ------------------------------------------------------

TEST(DefsFree, AdvancedNotifyBlockKeptByTheCallerCanBeFreedAgain) {
  FreeZQFilterActionNotifyAdvanced(nullptr, 1);
  ZQFilterActionNotifyAdvanced* none = nullptr;
  FreeZQFilterActionNotifyAdvanced(&none, 1);
  EXPECT_EQ(none, nullptr);

  ZQFilterActionNotifyAdvanced* block = d::advanced();
  ZQFilterActionNotifyAdvanced* const kept = block;
  FreeZQFilterActionNotifyAdvanced(&block, 0);
  ASSERT_EQ(block, kept);  // the block stays where it was
  // Released strings are nulled, not left dangling, so a second free is harmless.
  EXPECT_EQ(block->fromUser, nullptr);
  EXPECT_EQ(block->contentTemplate, nullptr);
  EXPECT_EQ(block->option3, 3u);
  FreeZQFilterActionNotifyAdvanced(&block, 0);
  FreeZQFilterActionNotifyAdvanced(&block, 1);
  EXPECT_EQ(block, nullptr);
}

// ---- reset rules of structures kept by the caller --------------------------------------------

TEST(DefsFree, KeptStructuresAreResetAndCanBeFreedAgain) {
  ZQFilterActionStruct filter = d::filterAction(ZQ_FILTER_ACTION_NOTIFY);
  FreeZQFilterActionStruct(&filter, 0);
  EXPECT_EQ(filter.action, 0u);
  EXPECT_EQ(filter.u.notify.advanced, nullptr);
  FreeZQFilterActionStruct(&filter, 0);

  ZQActiveLinkActionStruct link = d::alAction(ZQ_ACTIVE_LINK_ACTION_OPENDLG);
  FreeZQActiveLinkActionStruct(&link, 0);
  EXPECT_EQ(link.action, 0u);
  FreeZQActiveLinkActionStruct(&link, 0);

  ZQCharMenuStruct menu = d::menu(ZQ_CHAR_MENU_SS);
  FreeZQCharMenuSSStruct(&menu.u.menuSS, 0);
  EXPECT_EQ(menu.u.menuSS.serverName, nullptr);
  EXPECT_EQ(menu.u.menuSS.extra, nullptr);
  EXPECT_EQ(menu.u.menuSS.keywordList.count, 0u);
  FreeZQCharMenuStruct(&menu, 0);
  EXPECT_EQ(menu.menuType, 0u);

  ZQCharMenuItemStruct item = d::subMenuItem("x", node(d::nestedMenu()));
  FreeZQCharMenuItemStruct(&item, 0);
  EXPECT_TRUE(allZero(item));

  ZQFieldLimitStruct limit = d::limit(ZQ_DATA_TYPE_ENUM, ZQ_ENUM_STYLE_QUERY);
  FreeZQFieldLimitStruct(&limit, 0);
  EXPECT_EQ(limit.dataType, 0u);
  FreeZQFieldLimitStruct(&limit, 0);

  ZQCompoundSchema schema = d::schema(ZQ_SCHEMA_JOIN);
  FreeZQCompoundSchema(&schema, 0);
  EXPECT_EQ(schema.schemaType, 0u);

  ZQWorkflowConnectStruct connection = d::connection({"A"});
  FreeZQWorkflowConnectStruct(&connection, 0);
  EXPECT_EQ(connection.type, 0u);
  EXPECT_EQ(connection.schemaList, nullptr);

  ZQArchiveInfoStruct archive = d::archive(ZQ_ARCHIVE_FILE_ARX);
  FreeZQArchiveInfoStruct(&archive, 0);
  EXPECT_TRUE(allZero(archive));

  ZQReferenceStruct reference = d::reference(ZQ_REFERENCE_EXTERNAL);
  FreeZQReferenceStruct(&reference, 0);
  EXPECT_EQ(reference.label, nullptr);
  EXPECT_EQ(reference.type, 0u);
  EXPECT_EQ(reference.reference.dataType, 0u);

  ZQCOMValueStruct com = d::comValue(ZQ_COM_VALUE_VALUE);
  FreeZQCOMValueStruct(&com, 0);
  EXPECT_EQ(com.valueType, 0u);
  EXPECT_EQ(com.interfaceId, nullptr);

  ZQSQLStruct sql = d::sql();
  FreeZQSQLStruct(&sql, 0);
  EXPECT_EQ(sql.server[0], '\0');
  EXPECT_EQ(sql.sqlCommand, nullptr);

  // Lists that the table leaves "not reset" are reset too: their arrays are gone.
  ZQContainerOwnerObjList owners{1, array({ZQContainerOwnerObj{1, "o"}})};
  ZQContainerOwnerObjListList ownerLists{1, array({owners})};
  FreeZQContainerOwnerObjListList(&ownerLists, 0);
  EXPECT_EQ(ownerLists.count, 0u);
  EXPECT_EQ(ownerLists.items, nullptr);
  FreeZQContainerOwnerObjListList(&ownerLists, 0);
}

TEST(DefsFree, ImageWithoutBytesKeepsItsSize) {
  ZQImageDataStruct empty{12, nullptr};
  FreeZQImageDataStruct(&empty, 0);
  EXPECT_EQ(empty.size, 12u);
  ZQImageDataStruct full{2, d::bytesOf<unsigned char>({1, 2})};
  FreeZQImageDataStruct(&full, 0);
  EXPECT_EQ(full.size, 0u);
  EXPECT_EQ(full.bytes, nullptr);
}

TEST(DefsFree, ListMenuFreeReleasesOnlyListItems) {
  ZQCharMenuStruct list = d::nestedMenu();
  FreeListZQCharMenuStruct(&list, 0);
  EXPECT_EQ(list.menuType, 0u);
  EXPECT_EQ(list.u.menuList.items, nullptr);

  ZQCharMenuStruct file = d::menu(ZQ_CHAR_MENU_FILE);
  FreeListZQCharMenuStruct(&file, 0);  // not a list: left as it is
  ASSERT_EQ(file.menuType, static_cast<uint32_t>(ZQ_CHAR_MENU_FILE));
  ASSERT_NE(file.u.menuFile.filename, nullptr);
  FreeZQCharMenuStruct(&file, 0);
}

TEST(DefsFree, LimitPointerListReleasesOnlyTheContentsOfItsLimits) {
  ZQFieldLimitStruct a = d::limit(ZQ_DATA_TYPE_CHAR), b = d::limit(ZQ_DATA_TYPE_CURRENCY);
  ZQFieldLimitPtrList list{2, array({&a, &b})};
  FreeZQFieldLimitPtrList(&list, 0);
  EXPECT_EQ(list.count, 0u);
  EXPECT_EQ(list.items, nullptr);
  EXPECT_EQ(a.dataType, 0u);  // still ours, emptied
  EXPECT_EQ(b.dataType, 0u);
}

TEST(DefsFree, NullStructuresAreIgnored) {
  FreeZQFilterActionStruct(nullptr, 1);
  FreeZQActiveLinkActionListList(nullptr, 1);
  FreeZQCharMenuStruct(nullptr, 1);
  FreeListZQCharMenuStruct(nullptr, 1);
  FreeZQFieldLimitPtrList(nullptr, 1);
  FreeZQArchiveInfoList(nullptr, 1);
  FreeZQMultiSchemaQueryFromList(nullptr, 1);
  SUCCEED();
}

// The notify field list belongs to the action only for kind 2: other kinds
// may hold anything there, and nothing reads it.
TEST(DefsFree, NotifyFieldListOutsideKindTwoIsNeverTouched) {
  zqtest::Session session;
  ASSERT_EQ(session.initResult(), 0);
  zq::setCurrentContext(session.context());
  ZQInternalId garbageIds[2] = {1, 2};
  ZQFilterActionStruct action = d::filterAction(ZQ_FILTER_ACTION_NOTIFY);
  ZQFree(action.u.notify.fieldIdList.items);
  action.u.notify.fieldIdListKind = ZQ_NOTIFY_FIELDS_CHANGED;
  action.u.notify.fieldIdList = {2, garbageIds};  // not the library's memory

  ZQFilterActionStruct copy;
  ASSERT_EQ(ZQCopyFilterActionStruct(&copy, &action), 0);
  EXPECT_EQ(copy.u.notify.fieldIdList.count, 0u);
  EXPECT_EQ(copy.u.notify.fieldIdList.items, nullptr);

  // An empty list travels, and a list received with another kind is dropped.
  std::vector<char> wire;
  ASSERT_TRUE(zq::model::encodeToBuffer(action, 14, wire));
  ZQFilterActionStruct two = d::filterAction(ZQ_FILTER_ACTION_NOTIFY);
  std::vector<char> withList;
  ASSERT_TRUE(zq::model::encodeToBuffer(two, 14, withList));
  EXPECT_EQ(withList.size(), wire.size() + 4 * 3);  // three ids
  const size_t kindAt = 4 + 8 + 24 + 12 + 12;       // action, user, text, 3 words, subject
  ASSERT_EQ(withList[kindAt + 3], ZQ_NOTIFY_FIELDS_LIST);
  withList[kindAt + 3] = ZQ_NOTIFY_FIELDS_ALL;
  ZQFilterActionStruct decoded{};
  ASSERT_TRUE(zq::model::decodeFromBuffer(withList.data(), withList.size(), decoded, 14));
  EXPECT_EQ(decoded.u.notify.fieldIdListKind, static_cast<uint32_t>(ZQ_NOTIFY_FIELDS_ALL));
  EXPECT_EQ(decoded.u.notify.fieldIdList.items, nullptr);

  FreeZQFilterActionStruct(&action, 0);  // leaves garbageIds alone
  FreeZQFilterActionStruct(&copy, 0);
  FreeZQFilterActionStruct(&two, 0);
  FreeZQFilterActionStruct(&decoded, 0);
}

TEST(DefsWire, ServerSideMenuKeepsItsClientStringsOffTheWire) {
  zqtest::Session session;
  ASSERT_EQ(session.initResult(), 0);
  zq::setCurrentContext(session.context());
  ZQCharMenuStruct menu = d::menu(ZQ_CHAR_MENU_SS);
  std::vector<char> wire;
  ASSERT_TRUE(zq::model::encodeToBuffer(menu, 14, wire));
  const std::string bytes(wire.begin(), wire.end());
  EXPECT_EQ(bytes.find("client-only"), std::string::npos);
  ZQCharMenuStruct decoded{};
  ASSERT_TRUE(zq::model::decodeFromBuffer(wire.data(), wire.size(), decoded, 14));
  EXPECT_EQ(decoded.u.menuSS.serverName, nullptr);
  EXPECT_EQ(decoded.u.menuSS.extra, nullptr);
  EXPECT_EQ(decoded.u.menuSS.keywordList.count, 4u);
  FreeZQCharMenuStruct(&decoded, 0);
  FreeZQCharMenuStruct(&menu, 0);
}

TEST(DefsWire, TagsOutsideTheTablesFailToEncode) {
  zqtest::Session session;
  ASSERT_EQ(session.initResult(), 0);
  zq::setCurrentContext(session.context());
  std::vector<char> wire;
  struct Case {
    const char* name;
    bool encodes;
  };
  ZQFilterActionStruct filter{};
  filter.action = 13;
  ZQActiveLinkActionStruct link{};
  link.action = 19;
  ZQCharMenuStruct menu{};
  menu.menuType = 7;
  ZQFieldLimitStruct timeOfDay{};
  timeOfDay.dataType = ZQ_DATA_TYPE_TIME_OF_DAY;
  ZQFieldLimitStruct currency{};
  currency.dataType = ZQ_DATA_TYPE_CURRENCY;
  ZQEnumeratedLimits noKind{};
  ZQCompoundSchema schema{};
  schema.schemaType = 6;
  ZQFieldMappingStruct mapping{};
  mapping.fieldType = 6;
  ZQArchiveInfoStruct archive{};
  ZQFullTextInfoStruct fullText{};
  fullText.infoType = 7;
  ZQReferenceStruct reference{};
  reference.reference.dataType = 2;
  ZQMultiSchemaQueryFromStruct nested{};
  nested.type = ZQ_MULTI_SCHEMA_SOURCE_NESTED;
  const Case cases[] = {
      {"filter action 13", zq::model::encodeToBuffer(filter, 14, wire)},
      {"active link action 19", zq::model::encodeToBuffer(link, 14, wire)},
      {"menu type 7", zq::model::encodeToBuffer(menu, 14, wire)},
      {"time-of-day limit", zq::model::encodeToBuffer(timeOfDay, 14, wire)},
      {"currency limit in 7", zq::model::encodeToBuffer(currency, 7, wire)},
      {"enumeration kind 0", zq::model::encodeToBuffer(noKind, 14, wire)},
      {"schema type 6", zq::model::encodeToBuffer(schema, 14, wire)},
      {"mapping type 6", zq::model::encodeToBuffer(mapping, 14, wire)},
      {"full text type 7", zq::model::encodeToBuffer(fullText, 14, wire)},
      {"reference type 2", zq::model::encodeToBuffer(reference, 14, wire)},
      {"nested query source", zq::model::encodeToBuffer(nested, 14, wire)},
  };
  for (const Case& c : cases) EXPECT_FALSE(c.encodes) << c.name;
  // An archive selector outside 0, 1, 2, 3, 4, 8 is refused on the way in.
  ASSERT_TRUE(zq::model::encodeToBuffer(archive, 14, wire));
  wire[11] = 5;  // the selector word
  ZQArchiveInfoStruct decoded{};
  EXPECT_FALSE(zq::model::decodeFromBuffer(wire.data(), wire.size(), decoded, 14));
  FreeZQArchiveInfoStruct(&decoded, 0);
}

TEST(DefsWire, ReceivedArchiveSelectorsSayWhichDestinationIsHeld) {
  zqtest::Session session;
  ASSERT_EQ(session.initResult(), 0);
  zq::setCurrentContext(session.context());
  struct Case {
    uint32_t wireType, selector, expectedType;
    bool path;
  };
  const Case cases[] = {
      {1, 1, 0x21, false}, {1, 3, 0x61, false}, {0, 2, 0x40, false},
      {0, 0, 0, false},    {4, 4, 4, true},     {1, 8, 8, true},  // a path clears the form bit
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.selector);
    ZQArchiveInfoStruct a{};
    a.archiveType = c.expectedType;
    if (c.path) a.u.dirPath = const_cast<char*>("/p");
    std::vector<char> wire;
    ASSERT_TRUE(zq::model::encodeToBuffer(a, 14, wire));
    // Rewrite type and selector as a server would send them.
    for (int i = 0; i < 4; ++i) {
      wire[4 + i] = static_cast<char>(c.wireType >> (24 - 8 * i));
      wire[8 + i] = static_cast<char>(c.selector >> (24 - 8 * i));
    }
    ZQArchiveInfoStruct decoded{};
    ASSERT_TRUE(zq::model::decodeFromBuffer(wire.data(), wire.size(), decoded, 14));
    EXPECT_EQ(decoded.archiveType, c.expectedType);
    if (c.path) {
      EXPECT_STREQ(decoded.u.dirPath, "/p");
    }
    FreeZQArchiveInfoStruct(&decoded, 0);
  }
}

// ---- copies ------------------------------------------------------------------------------

TEST(DefsCopy, MenuTypesOutsideTheTableAreRefused) {
  ZQCharMenuStruct bad{};
  bad.menuType = 7;
  ZQCharMenuStruct out;
  memset(&out, 0x5A, sizeof out);
  EXPECT_EQ(ZQCopyCharMenuStruct(&out, &bad), ZQ_COPY_BAD_MENU_TYPE);
  EXPECT_EQ(out.menuType, 0u);

  // Deep inside a tree: nothing is half copied.
  ZQCharMenuStruct inner{};
  inner.menuType = 9;
  ZQCharMenuStruct tree = d::listMenu({d::valueItem("a", "1"), d::subMenuItem("b", node(inner))});
  memset(&out, 0x5A, sizeof out);
  EXPECT_EQ(ZQCopyCharMenuStruct(&out, &tree), ZQ_COPY_BAD_MENU_TYPE);
  EXPECT_TRUE(allZero(out));

  ZQCharMenuItemStruct badItem = d::valueItem("c", "3");
  badItem.type = 3;
  ZQCharMenuStruct withBadItem = d::listMenu({badItem});
  EXPECT_EQ(ZQCopyCharMenuStruct(&out, &withBadItem), ZQ_COPY_BAD_MENU_ITEM_TYPE);
  EXPECT_TRUE(allZero(out));
  ZQCharMenuItemStruct itemOut;
  EXPECT_EQ(ZQCopyCharMenuItemStruct(&itemOut, &badItem), ZQ_COPY_BAD_MENU_ITEM_TYPE);
  EXPECT_TRUE(allZero(itemOut));
  withBadItem.u.menuList.items[0].type = ZQ_MENU_ITEM_VALUE;  // so that it is released
  FreeZQCharMenuStruct(&withBadItem, 0);
  FreeZQCharMenuStruct(&tree, 0);
}

TEST(DefsCopy, CopiedListsGetRoomToGrow) {
  // Form names of a connection: the next multiple of 10, spare slots zeroed.
  ZQWorkflowConnectStruct c = d::connection({"1", "2", "3", "4", "5", "6", "7", "8", "9", "10"});
  ZQWorkflowConnectStruct copy;
  ASSERT_EQ(ZQCopyWorkflowConnectStruct(&copy, &c), 0);
  ASSERT_EQ(copy.schemaList->count, 10u);
  EXPECT_STREQ(copy.schemaList->items[9], "10");
  for (int i = 10; i < 20; ++i) EXPECT_EQ(copy.schemaList->items[i][0], '\0');
  FreeZQWorkflowConnectStruct(&copy, 0);
  FreeZQWorkflowConnectStruct(&c, 0);

  ZQWorkflowConnectStruct empty{ZQ_WORKFLOW_CONN_SCHEMA_LIST, node(ZQNameList{})};
  ASSERT_EQ(ZQCopyWorkflowConnectStruct(&copy, &empty), 0);
  EXPECT_EQ(copy.schemaList->items, nullptr);
  FreeZQWorkflowConnectStruct(&copy, 0);
  FreeZQWorkflowConnectStruct(&empty, 0);

  // Notify field ids: the next multiple of 100.
  ZQNotifyStruct n = d::notify();
  ZQNotifyStruct nCopy;
  ASSERT_EQ(ZQCopyNotifyStruct(&nCopy, &n), 0);
  EXPECT_EQ(nCopy.fieldIdList.items[2], 536870913u);
  EXPECT_EQ(nCopy.fieldIdList.items[99], 0u);
  EXPECT_STREQ(nCopy.advanced->fromUser, "from@x");
  EXPECT_NE(nCopy.advanced, n.advanced);
  zq::model::release(nCopy);
  zq::model::release(n);
}

TEST(DefsCopy, OpenWindowCopyOwnsEveryStringAndList) {
  ZQActiveLinkActionStruct a = d::alAction(ZQ_ACTIVE_LINK_ACTION_OPENDLG);
  ZQActiveLinkActionStruct copy;
  ASSERT_EQ(ZQCopyActiveLinkActionStruct(&copy, &a), 0);
  EXPECT_NE(copy.u.openDialog.message.message, a.u.openDialog.message.message);
  EXPECT_NE(copy.u.openDialog.reportString, a.u.openDialog.reportString);
  EXPECT_NE(copy.u.openDialog.sortList.items, a.u.openDialog.sortList.items);
  FreeZQActiveLinkActionStruct(&a, 0);  // the copy must survive its source
  EXPECT_STREQ(copy.u.openDialog.message.message, "none found");
  FreeZQActiveLinkActionStruct(&copy, 0);
}

TEST(DefsCopy, NullSourceEmptiesTheDestination) {
  ZQFilterActionList list;
  memset(&list, 0x5A, sizeof list);
  EXPECT_EQ(ZQCopyFilterActionList(&list, nullptr), 0);
  EXPECT_TRUE(allZero(list));
  ZQFieldLimitStruct limit;
  memset(&limit, 0x5A, sizeof limit);
  EXPECT_EQ(ZQCopyFieldLimitStruct(&limit, nullptr), 0);
  EXPECT_TRUE(allZero(limit));
  EXPECT_EQ(ZQCopyCharMenuStruct(nullptr, nullptr), 0);
}

TEST(DefsCopy, OrdinalsGiveTheCopyFunctions) {
  const std::pair<unsigned, void*> expected[] = {
      {1009, reinterpret_cast<void*>(&ZQCopyEnumItemList)},
      {1052, reinterpret_cast<void*>(&ZQCopyEnumItemList)},
      {1010, reinterpret_cast<void*>(&ZQCopyFieldLimitStruct)},
      {1021, reinterpret_cast<void*>(&ZQCopyNotifyStruct)},
      {1038, reinterpret_cast<void*>(&ZQCopyPushFieldsList)},
      {1040, reinterpret_cast<void*>(&ZQCopyFilterActionStruct)},
      {1043, reinterpret_cast<void*>(&ZQCopyCharMenuStruct)},
      {1049, reinterpret_cast<void*>(&ZQCopyWorkflowConnectStruct)},
      {1051, reinterpret_cast<void*>(&ZQCopyActiveLinkActionList)},
      {1053, reinterpret_cast<void*>(&ZQCopyReferenceList)},
      {1055, reinterpret_cast<void*>(&ZQCopySupportFileInfoList)},
      {1060, reinterpret_cast<void*>(&ZQCopyCurrencyPrecisionList)},
  };
  for (const auto& [ordinal, fn] : expected) EXPECT_EQ(ZQGetOrdinal(ordinal), fn) << ordinal;
  for (unsigned ordinal :
       {1009u, 1010u, 1021u, 1037u, 1038u, 1039u, 1040u, 1041u, 1042u, 1043u, 1045u,
        1046u, 1047u, 1048u, 1049u, 1050u, 1051u, 1052u, 1053u, 1054u, 1055u, 1060u})
    EXPECT_NE(ZQGetOrdinal(ordinal), nullptr) << ordinal;
}

}  // namespace
