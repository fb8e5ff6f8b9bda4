// Export and import against zqserverd on loopback: a form exported,
// deleted, imported back and exported again the same; uploads in several
// slices; malformed texts refused whole; the removal of an import.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "definitions_fixture.h"
#include "entry_store.h"
#include "definitions_export.h"
#include "form_definitions.h"
#include "support/server_fixture.h"
#include "zqapi/zq_transfer.h"
#include "zqapi/zq_workflow_definitions.h"

using zqtest::Status;

namespace {

constexpr ZQInternalId kTitle = 536870913;

struct Items {
  std::vector<ZQStructItemStruct> items;
  ZQStructItemList list{0, nullptr};
  Items(std::initializer_list<std::pair<uint32_t, const char*>> named) {
    for (auto [type, name] : named) {
      ZQStructItemStruct i{};
      i.type = type;
      strncpy(i.name, name, sizeof i.name - 1);
      items.push_back(i);
    }
    list = {static_cast<uint32_t>(items.size()), items.data()};
  }
};

}  // namespace

class ExportImport : public zqtest::ServerTest {
 protected:
  void SetUp() override {
    zqtest::ServerTest::SetUp();
    // The client's character set, whatever the test's locale.
    snprintf(control_.charSet, sizeof control_.charSet, "%s", "UTF-8");
    zqserver::EntryStore store(server_->store());
    ASSERT_TRUE(store.createForm("Tickets", {{kTitle, ZQ_DATA_TYPE_CHAR, "Title"}}).ok());
  }

  std::string exportOf(const char* form, int expectRc = 0) {
    Items items{{ZQ_STRUCT_ITEM_SCHEMA, form}};
    char* text = nullptr;
    Status s;
    EXPECT_EQ(ZQExport(&control_, &items.list, nullptr, 0, nullptr, &text, s.fresh()), expectRc);
    std::string out = text ? text : "";
    ZQFree(text);
    return out;
  }
  bool formExists(const char* name) {
    return zqserver::EntryStore(server_->store()).form(name).has_value();
  }
  void putSupportFile(const std::string& content) {
    zqserver::FormDefinitions defs(server_->store());
    ASSERT_TRUE(defs.store()
                    .putSupportFile(ZQ_SUPPORT_FILE_FORM, "Tickets", 0, 3, content, 1700000000)
                    .ok());
  }
  std::string supportFile() {
    zqserver::FormDefinitions defs(server_->store());
    auto f = defs.store().supportFile(ZQ_SUPPORT_FILE_FORM, "Tickets", 0, 3);
    return f ? f->content : "<none>";
  }
  void setResponseSize(int32_t size) {
    ZQValueStruct v{};
    v.dataType = ZQ_DATA_TYPE_INTEGER;
    v.u.integerValue = size;
    Status s;
    ASSERT_EQ(ZQSetSessionVariable(&control_, ZQ_SESSVAR_RESPONSE_SIZE, &v, s.fresh()), 0);
  }
};

TEST_F(ExportImport, FormRoundTripsThroughDeleteAndImport) {
  putSupportFile("help text");
  const std::string first = exportOf("Tickets");
  ASSERT_EQ(first.rfind("char-set: UTF-8\n", 0), 0u) << first.substr(0, 40);
  EXPECT_NE(first.find("\nform: Tickets\n"), std::string::npos);
  EXPECT_NE(first.find("\nfield: Tickets\n  id: 536870913\n  name: Title\n"), std::string::npos);
  EXPECT_NE(first.find("\nsupport-file: Tickets\n"), std::string::npos);

  Status s;
  ASSERT_EQ(ZQDeleteSchema(&control_, "Tickets", ZQ_DELETE_FORCE, s.fresh()), 0);
  ASSERT_FALSE(formExists("Tickets"));
  ASSERT_EQ(ZQImport(&control_, nullptr, first.c_str(), 0, s.fresh()), 0);
  ASSERT_TRUE(formExists("Tickets"));
  EXPECT_EQ(supportFile(), "help text");

  ZQNameType name{};
  uint32_t dataType = 0;
  ASSERT_EQ(ZQGetField(&control_, "Tickets", kTitle, name, nullptr, &dataType, nullptr, nullptr,
                       nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                       nullptr, nullptr, s.fresh()),
            0);
  EXPECT_STREQ(name, "Title");
  EXPECT_EQ(dataType, static_cast<uint32_t>(ZQ_DATA_TYPE_CHAR));
  EXPECT_EQ(exportOf("Tickets"), first);

  // Importing over what exists replaces it, unless asked not to.
  EXPECT_EQ(ZQImport(&control_, nullptr, first.c_str(), 0, s.fresh()), 0);
  EXPECT_EQ(ZQImport(&control_, nullptr, first.c_str(), ZQ_IMPORT_OPTION_NO_OVERWRITE, s.fresh()),
            2);
  EXPECT_TRUE(s.has(305));

  ASSERT_EQ(ZQUnImport(&control_, nullptr, first.c_str(), 0, s.fresh()), 0);
  EXPECT_FALSE(formExists("Tickets"));
  EXPECT_EQ(supportFile(), "<none>");
}

// Entry data (item type 2) travels with its form: the entries come back
// with their ids and values, an import over them replaces them unless asked
// not to, and the removal of the import takes them away.
TEST_F(ExportImport, EntryDataRoundTripsWithItsForm) {
  Status s;
  std::vector<std::string> ids;
  for (const char* title : {"first", "second"}) {
    ZQFieldValueStruct v{};
    v.fieldId = kTitle;
    v.value.dataType = ZQ_DATA_TYPE_CHAR;
    v.value.u.charValue = const_cast<char*>(title);
    ZQFieldValueList values{1, &v};
    ZQEntryIdType id = "";
    ASSERT_EQ(ZQCreateEntry(&control_, "Tickets", &values, id, s.fresh()), 0);
    ids.push_back(id);
  }
  Items items{{ZQ_STRUCT_ITEM_SCHEMA, "Tickets"}, {ZQ_STRUCT_ITEM_SCHEMA_DATA, "Tickets"}};
  char* text = nullptr;
  ASSERT_EQ(ZQExport(&control_, &items.list, nullptr, 0, nullptr, &text, s.fresh()), 0);
  const std::string exported = text ? text : "";
  ZQFree(text);
  EXPECT_NE(exported.find("\nentry: Tickets\n  id: " + ids[1] + "\n"), std::string::npos);

  auto titleOf = [&](const std::string& id) {
    zqserver::EntryStore store(server_->store());
    ZQFieldValueList values{0, nullptr};
    std::string title = "<none>";
    if (store.get("Tickets", id, nullptr, values).ok())
      for (uint32_t i = 0; i < values.count; ++i)
        if (values.items[i].fieldId == kTitle) title = values.items[i].value.u.charValue;
    FreeZQFieldValueList(&values, 0);
    return title;
  };
  ASSERT_EQ(ZQDeleteSchema(&control_, "Tickets", ZQ_DELETE_FORCE, s.fresh()), 0);
  ASSERT_EQ(ZQImport(&control_, nullptr, exported.c_str(), 0, s.fresh()), 0);
  EXPECT_EQ(titleOf(ids[0]), "first");
  EXPECT_EQ(titleOf(ids[1]), "second");

  EXPECT_EQ(ZQImport(&control_, nullptr, exported.c_str(), 0, s.fresh()), 0);
  EXPECT_EQ(titleOf(ids[1]), "second");
  // Asked not to overwrite, what exists refuses the import whole.
  EXPECT_EQ(
      ZQImport(&control_, nullptr, exported.c_str(), ZQ_IMPORT_OPTION_NO_OVERWRITE, s.fresh()), 2);

  ASSERT_EQ(ZQUnImport(&control_, nullptr, exported.c_str(), 0, s.fresh()), 0);
  EXPECT_FALSE(formExists("Tickets"));
  EXPECT_EQ(titleOf(ids[0]), "<none>");
}

// A form with its field and view, and the filter, active link and menu that
// go with it, exported from one server and imported into a fresh one,
// export the same there; the removal of the import takes it all away.
TEST_F(ExportImport, EveryKindMovesToAFreshServerUnchanged) {
  Status s;
  ZQInternalId view = 0;
  ASSERT_EQ(ZQCreateVUI(&control_, "Tickets", &view, "Main", "en_US", 1, nullptr, "help", nullptr,
                        nullptr, s.fresh()),
            0);
  zqtest::Names tickets{"Tickets"};
  ZQWorkflowConnectStruct forms{};
  forms.type = ZQ_WORKFLOW_CONN_SCHEMA_LIST;
  forms.schemaList = &tickets.list;
  ASSERT_EQ(zqtest::createNoteFilter(&control_, "Seen", 1, &forms, "seen", nullptr, s.fresh()), 0);
  ZQActiveLinkActionStruct hello{};
  hello.action = ZQ_ACTIVE_LINK_ACTION_MESSAGE;
  hello.u.message.messageType = ZQ_MESSAGE_NOTE;
  hello.u.message.messageNumber = 10001;
  hello.u.message.message = const_cast<char*>("hello");
  ZQActiveLinkActionList hellos{1, &hello};
  ASSERT_EQ(ZQCreateActiveLink(&control_, "Hello", 1, &forms, nullptr, 1, nullptr, nullptr, 1,
                               nullptr, &hellos, nullptr, nullptr, nullptr, nullptr, nullptr, 0,
                               nullptr, s.fresh()),
            0);
  ASSERT_EQ(zqtest::createOneItemMenu(&control_, "Numbers", s.fresh()), 0);

  Items all{{ZQ_STRUCT_ITEM_SCHEMA, "Tickets"},
            {ZQ_STRUCT_ITEM_FILTER, "Seen"},
            {ZQ_STRUCT_ITEM_ACTIVE_LINK, "Hello"},
            {ZQ_STRUCT_ITEM_CHAR_MENU, "Numbers"}};
  auto exportAll = [&] {
    char* text = nullptr;
    EXPECT_EQ(ZQExport(&control_, &all.list, nullptr, 0, nullptr, &text, s.fresh()), 0);
    std::string out = text ? text : "";
    ZQFree(text);
    return out;
  };
  const std::string first = exportAll();
  for (const char* block :
       {"\nview: Tickets\n", "\nfilter: Seen\n", "\nactive-link: Hello\n", "\nmenu: Numbers\n"})
    EXPECT_NE(first.find(block), std::string::npos) << block;

  // A fresh server: nothing of the first one.
  ZQTermination(&control_, s.fresh());
  server_->stop();
  server_ = std::make_unique<zqserver::Server>(zqserver::Options{});
  ASSERT_TRUE(server_->start()) << server_->error();
  control_ = zqtest::makeControl("Demo", "127.0.0.1");
  ASSERT_LT(ZQInitialization(&control_, s.fresh()), 2);
  usePort(&control_);
  ASSERT_FALSE(formExists("Tickets"));
  ASSERT_EQ(ZQImport(&control_, nullptr, first.c_str(), 0, s.fresh()), 0);
  EXPECT_EQ(exportAll(), first);

  ASSERT_EQ(ZQUnImport(&control_, nullptr, first.c_str(), 0, s.fresh()), 0);
  EXPECT_FALSE(formExists("Tickets"));
  char* none = nullptr;
  EXPECT_EQ(ZQExport(&control_, &all.list, nullptr, 0, nullptr, &none, s.fresh()), 2);
  EXPECT_TRUE(s.has(303));
  ZQFree(none);
}

TEST_F(ExportImport, CompressedImportInSeveralSlices) {
  std::mt19937 random(7);
  std::string noise(20000, '\0');
  for (char& c : noise) c = static_cast<char>(random());
  putSupportFile(noise);
  setResponseSize(1500);  // slices of 1000 bytes
  const std::string text = exportOf("Tickets");
  Status s;
  ASSERT_EQ(ZQDeleteSchema(&control_, "Tickets", ZQ_DELETE_FORCE, s.fresh()), 0);
  const uint64_t before = server_->faults().callsReceived;
  ASSERT_EQ(ZQImport(&control_, nullptr, text.c_str(), 0, s.fresh()), 0);
  EXPECT_GT(server_->faults().callsReceived - before, 20u);
  EXPECT_EQ(supportFile(), noise);
}

TEST_F(ExportImport, MalformedTextsAreRefusedWhole) {
  const std::string good = exportOf("Tickets");
  Status s;
  ASSERT_EQ(ZQDeleteSchema(&control_, "Tickets", ZQ_DELETE_FORCE, s.fresh()), 0);
  const size_t fieldAt = good.find("\nfield:");
  ASSERT_NE(fieldAt, std::string::npos);
  const struct {
    const char* what;
    std::string text;
  } cases[] = {
      {"cut inside the second block", good.substr(0, fieldAt + 30)},
      {"a record that does not decode", good.substr(0, fieldAt) +
                                            "\nfield: Tickets\n  id: 7\n  name: X\n  created: 0\n"
                                            "  changed: 0\n  record: AAAA\n"},
      {"an unknown kind", good + "\nwidget: Tickets\n"},
      {"a key outside a block", good + "\n  owner: nobody\n"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(ZQImport(&control_, nullptr, c.text.c_str(), 0, s.fresh()), 2);
    EXPECT_TRUE(s.has(156));
    EXPECT_FALSE(formExists("Tickets"));  // the form block before the fault is rolled back
  }
}

TEST_F(ExportImport, TextInAnotherCharacterSet) {
  zqserver::EntryStore store(server_->store());
  ASSERT_TRUE(store.createForm("Caf\xc3\xa9", {{kTitle, ZQ_DATA_TYPE_CHAR, "Title"}}).ok());
  std::string text = exportOf("Caf\xc3\xa9");
  Status s;
  ASSERT_EQ(ZQDeleteSchema(&control_, "Caf\xc3\xa9", ZQ_DELETE_FORCE, s.fresh()), 0);
  // The same text in ISO-8859-1, saying so on its first line.
  ASSERT_EQ(text.rfind("char-set: UTF-8\n", 0), 0u);
  text.replace(0, 15, "char-set: ISO-8859-1");
  for (size_t at; (at = text.find("Caf\xc3\xa9")) != std::string::npos;)
    text.replace(at, 5, "Caf\xe9");
  ASSERT_EQ(ZQImport(&control_, nullptr, text.c_str(), 0, s.fresh()), 0);
  EXPECT_TRUE(formExists("Caf\xc3\xa9"));
  EXPECT_FALSE(formExists("Caf\xe9"));
}

TEST_F(ExportImport, ItemListsChooseWhatMoves) {
  zqserver::EntryStore store(server_->store());
  ASSERT_TRUE(store.createForm("Other", {{kTitle, ZQ_DATA_TYPE_CHAR, "Title"}}).ok());
  Items both{{ZQ_STRUCT_ITEM_SCHEMA, "Tickets"}, {ZQ_STRUCT_ITEM_SCHEMA, "Other"}};
  char* text = nullptr;
  Status s;
  ASSERT_EQ(ZQExport(&control_, &both.list, nullptr, 0, nullptr, &text, s.fresh()), 0);
  const std::string all = text;
  ZQFree(text);
  ASSERT_EQ(ZQDeleteSchema(&control_, "Tickets", ZQ_DELETE_FORCE, s.fresh()), 0);
  ASSERT_EQ(ZQDeleteSchema(&control_, "Other", ZQ_DELETE_FORCE, s.fresh()), 0);
  Items one{{ZQ_STRUCT_ITEM_SCHEMA, "Other"}};
  ASSERT_EQ(ZQImport(&control_, &one.list, all.c_str(), 0, s.fresh()), 0);
  EXPECT_TRUE(formExists("Other"));
  EXPECT_FALSE(formExists("Tickets"));

  Items missing{{ZQ_STRUCT_ITEM_SCHEMA, "Nowhere"}};
  ASSERT_EQ(ZQExport(&control_, &missing.list, nullptr, 0, nullptr, &text, s.fresh()), 2);
  EXPECT_TRUE(s.has(303));
  EXPECT_EQ(text, nullptr);
}

TEST_F(ExportImport, Files) {
  FILE* out = tmpfile();
  ASSERT_NE(out, nullptr);
  Items items{{ZQ_STRUCT_ITEM_SCHEMA, "Tickets"}};
  Status s;
  ASSERT_EQ(ZQExportToFile(&control_, &items.list, nullptr, 0, nullptr, out, s.fresh()), 0);
  ASSERT_EQ(ZQDeleteSchema(&control_, "Tickets", ZQ_DELETE_FORCE, s.fresh()), 0);
  ASSERT_EQ(ZQImportFromFile(&control_, nullptr, out, 0, s.fresh()), 0);
  EXPECT_TRUE(formExists("Tickets"));
  fclose(out);

  FILE* empty = tmpfile();
  EXPECT_EQ(ZQImportFromFile(&control_, nullptr, empty, 0, s.fresh()), 2);
  EXPECT_TRUE(s.has(295));
  fclose(empty);
  EXPECT_EQ(ZQImportFromFile(&control_, nullptr, nullptr, 0, s.fresh()), 2);
  EXPECT_TRUE(s.has(295));
  EXPECT_EQ(ZQExportToFile(&control_, &items.list, nullptr, 0, nullptr, nullptr, s.fresh()), 2);
  EXPECT_TRUE(s.has(295));
}

// A server of a major version below 6 takes the text as it is, terminated,
// in slices of the response size less 500 bytes.
class ExportImportOlderServer : public ExportImport {
 protected:
  void configure(zqserver::Options& options) override {
    options.settings[4] = std::string("5.1.00");
  }
};

TEST_F(ExportImportOlderServer, TextTravelsAsItIsInSlices) {
  Items items{{ZQ_STRUCT_ITEM_SCHEMA, "Tickets"}};
  std::string text;
  ASSERT_TRUE(zqserver::exportDefinitions(server_->store(), items.list, text).ok());
  ASSERT_GT(text.size(), 600u);
  // With its terminator the text is exactly one slice, then one byte more.
  for (const size_t size : {text.size() + 1 + 500, text.size() + 500}) {
    SCOPED_TRACE(size);
    Status s;
    ASSERT_EQ(ZQDeleteSchema(&control_, "Tickets", ZQ_DELETE_FORCE, s.fresh()), 0);
    setResponseSize(static_cast<int32_t>(size));
    const uint64_t before = server_->faults().callsReceived;
    ASSERT_EQ(ZQImport(&control_, nullptr, text.c_str(), 0, s.fresh()), 0);
    EXPECT_EQ(server_->faults().callsReceived - before, size == text.size() + 501 ? 1u : 2u);
    EXPECT_TRUE(formExists("Tickets"));
  }
}
