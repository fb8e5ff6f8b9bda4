// zqserverd's --definitions file: every kind it knows lands in the store
// through the same operations as the calls, and a bad line loads nothing.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <string>

#include "definitions_file.h"
#include "form_definitions.h"
#include "store.h"

namespace {

class DefinitionsFile : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(store_.open(":memory:"));
    folder_ = ::testing::TempDir() + "zq-defs-" + std::to_string(getpid()) + "/";
    ASSERT_EQ(system(("mkdir -p " + folder_).c_str()), 0);
    write("logo.gif", "GIF89a");
    write("help.txt", "read me");
  }
  void TearDown() override { system(("rm -rf " + folder_).c_str()); }

  void write(const std::string& name, const std::string& text) {
    FILE* f = fopen((folder_ + name).c_str(), "wb");
    ASSERT_NE(f, nullptr);
    fwrite(text.data(), 1, text.size(), f);
    fclose(f);
  }
  bool load(const std::string& text, std::string& error) {
    write("defs.txt", text);
    return zqserver::loadDefinitionsFile(store_, folder_ + "defs.txt", error);
  }

  zqserver::Store store_;
  std::string folder_;
};

TEST_F(DefinitionsFile, LoadsEveryKind) {
  std::string error;
  ASSERT_TRUE(
      load("# a test set\n"
           "form Tickets:536870913:char:Title,536870914:integer\n"
           "\n"
           "  view Tickets:536870920:Main:en_US\r\n"
           "image Logo:gif:logo.gif\n"
           "support-file Tickets:3:help.txt\n",
           error))
      << error;
  zqserver::FormDefinitions defs(store_);
  auto form = defs.formDef("Tickets");
  ASSERT_TRUE(form.has_value());
  auto row = defs.findForm("Tickets");
  ASSERT_TRUE(row.has_value());
  EXPECT_TRUE(defs.store().findById(zqserver::DefinitionKind::field, row->rowId, 536870914));
  auto view = defs.store().findById(zqserver::DefinitionKind::view, row->rowId, 536870920);
  ASSERT_TRUE(view.has_value());
  EXPECT_EQ(view->name, "Main");
  EXPECT_TRUE(defs.store().find(zqserver::DefinitionKind::image, 0, "Logo").has_value());
  auto file = defs.store().supportFile(ZQ_SUPPORT_FILE_FORM, "Tickets", 0, 3);
  ASSERT_TRUE(file.has_value());
  EXPECT_EQ(file->content, "read me");
}

TEST_F(DefinitionsFile, ABadLineLoadsNothingAndSaysWhere) {
  struct Case {
    const char* text;
    const char* where;
  } cases[] = {
      {"form A:536870913:char\nfrom B:1:char\n", ":2: unknown kind \"from\""},
      {"form A:536870913:char\nview A:x:Main\n", ":2: expected FORM:ID:NAME"},
      {"form A:536870913:char\nview Nowhere:0:Main\n", ":2: refused with message 303"},
      {"form A:536870913:char\nimage Logo:gif:missing.gif\n", ":2: cannot read"},
      {"form A:536870913:char\nform A:536870913:char\n", ":2:"},
      {"form A:536870913:char\nsupport-file B:1:help.txt\n", ":2: no form B"},
  };
  for (const Case& c : cases) {
    std::string error;
    EXPECT_FALSE(load(c.text, error)) << c.text;
    EXPECT_NE(error.find(c.where), std::string::npos) << error;
    EXPECT_FALSE(zqserver::FormDefinitions(store_).findForm("A").has_value()) << c.text;
  }
  std::string error;
  EXPECT_FALSE(zqserver::loadDefinitionsFile(store_, folder_ + "none.txt", error));
  EXPECT_NE(error.find("cannot be read"), std::string::npos);
}

}  // namespace
