// Report files of active links against zqserverd: a report line naming a
// file here travels as a numbered reference, and the file is stored as a
// support file of the active link; a reference let go deletes it.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

#include "definitions_fixture.h"
#include "frame/message_numbers.h"

using zqtest::Status;

namespace {

// Key k of a report line: the byte 1, k and "=".
std::string key(int k, const std::string& value) {
  return "\x01" + std::to_string(k) + "=" + value;
}

class ReportFiles : public zqtest::DefinitionTest {
 protected:
  void SetUp() override {
    zqtest::DefinitionTest::SetUp();
    Status s;
    ASSERT_EQ(createForm("Form", s), 0);
    path_ = ::testing::TempDir() + "zq-report-" + std::to_string(getpid()) + ".rep";
    std::ofstream(path_, std::ios::binary).write("REPORT\0BYTES", 12);
  }
  void TearDown() override {
    unlink(path_.c_str());
    zqtest::DefinitionTest::TearDown();
  }

  ZQActiveLinkActionStruct openWindow(char* reportString) {
    ZQActiveLinkActionStruct a{};
    a.action = ZQ_ACTIVE_LINK_ACTION_OPENDLG;
    zq::copyName(a.u.openDialog.serverName, "@", sizeof a.u.openDialog.serverName);
    zq::copyName(a.u.openDialog.schemaName, "Form", sizeof a.u.openDialog.schemaName);
    a.u.openDialog.reportString = reportString;
    return a;
  }
  ZQActiveLinkActionStruct macro(char* text) {
    ZQActiveLinkActionStruct a{};
    a.action = ZQ_ACTIVE_LINK_ACTION_MACRO;
    zq::copyName(a.u.macro.macroName, "Report", sizeof a.u.macro.macroName);
    a.u.macro.macroText = text;
    return a;
  }
  int create(const char* name, ZQActiveLinkActionStruct action, Status& s) {
    ZQActiveLinkActionList actions{1, &action};
    Names forms{"Form"};
    ZQWorkflowConnectStruct connect{};
    connect.type = ZQ_WORKFLOW_CONN_SCHEMA_LIST;
    connect.schemaList = &forms.list;
    return ZQCreateActiveLink(&control_, name, 1, &connect, nullptr, 1, nullptr, nullptr, 1,
                              nullptr, &actions, nullptr, nullptr, nullptr, nullptr, nullptr, 0,
                              nullptr, s.fresh());
  }
  // The text of the stored link's first if action.
  std::string storedText(const char* name) {
    ZQActiveLinkActionList actions{0, nullptr};
    Status s;
    EXPECT_EQ(ZQGetActiveLink(&control_, name, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                              nullptr, nullptr, &actions, nullptr, nullptr, nullptr, nullptr,
                              nullptr, nullptr, nullptr, nullptr, nullptr, &s),
              0);
    std::string text;
    if (actions.count) {
      const ZQActiveLinkActionStruct& a = actions.items[0];
      const char* t = a.action == ZQ_ACTIVE_LINK_ACTION_MACRO ? a.u.macro.macroText
                                                              : a.u.openDialog.reportString;
      text = t ? t : "";
    }
    FreeZQActiveLinkActionList(&actions, 0);
    return text;
  }
  // Support file n of the link, or "<none>".
  std::string supportFile(const char* name, ZQInternalId n) {
    FILE* out = tmpfile();
    Status s;
    const int rc =
        ZQGetSupportFile(&control_, ZQ_SUPPORT_FILE_ACTIVE_LINK, name, 0, n, out, nullptr, &s);
    std::string bytes = "<none>";
    if (rc < ZQ_RETURN_ERROR) {
      rewind(out);
      std::stringstream all;
      for (int c; (c = fgetc(out)) != EOF;) all.put(static_cast<char>(c));
      bytes = all.str();
    }
    fclose(out);
    return bytes;
  }

  using Names = zqtest::Names;
  std::string path_;
};

TEST_F(ReportFiles, AReportFileTravelsAsAReferenceAndIsStored) {
  const std::string line = "Open\nReport: " + key(30, "0") + key(21, "2") + key(22, path_);
  std::string text = line;
  char* own = text.data();
  Status s;
  ASSERT_EQ(create("Link", openWindow(own), s), 0) << s.count;
  EXPECT_EQ(text, line) << "the caller's text is its own again";

  const std::string sent = "Open\nReport: " + key(30, "0") + key(21, "2") + key(22, "!1!" + path_);
  EXPECT_EQ(storedText("Link"), sent);
  EXPECT_EQ(supportFile("Link", 1), std::string("REPORT\0BYTES", 12));

  // A set without actions leaves the files alone; one whose report line
  // (mode 1) holds the reference lets the file go and sends it without it.
  uint32_t order = 2;
  ASSERT_EQ(ZQSetActiveLink(&control_, "Link", nullptr, &order, nullptr, nullptr, nullptr, nullptr,
                            nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                            nullptr, nullptr, nullptr, s.fresh()),
            0);
  EXPECT_NE(supportFile("Link", 1), "<none>");
  std::string release = "Open\nReport: " + key(30, "1") + key(21, "2") + key(22, "!1!" + path_);
  ZQActiveLinkActionStruct action = openWindow(release.data());
  ZQActiveLinkActionList actions{1, &action};
  ASSERT_EQ(ZQSetActiveLink(&control_, "Link", nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                            nullptr, nullptr, nullptr, &actions, nullptr, nullptr, nullptr, nullptr,
                            nullptr, nullptr, nullptr, s.fresh()),
            0);
  EXPECT_EQ(supportFile("Link", 1), "<none>");
  EXPECT_EQ(storedText("Link"), "Open\nReport: " + key(30, "1") + key(21, "2") + key(22, path_));
}

TEST_F(ReportFiles, LinesThatNameNoFileAndFilesThatCannotBeRead) {
  // A file that is not there: the link is made, with the warning 450.
  std::string missing = "\nReport: " + key(30, "0") + key(21, "2") + key(22, "/nonexistent/r.rep");
  Status s;
  EXPECT_EQ(create("Missing", openWindow(missing.data()), s), 1);
  ASSERT_GE(s.count, 1u);
  EXPECT_EQ(s.items[0].messageNumber, zq::kMsgReportFileUnreadable);
  EXPECT_STREQ(s.items[0].appended, "/nonexistent/r.rep");

  const struct {
    const char* what;
    std::string text;
    bool openWindowAction;
  } none[] = {
      {"macro line of kind 1", "\nReport: " + key(21, "1") + key(22, path_), false},
      {"open-window line without a mode", "\nReport: " + key(21, "2") + key(22, path_), true},
      {"open-window line of mode 1 without a reference",
       "\nReport: " + key(30, "1") + key(21, "2") + key(22, path_), true},
      {"line without key 22", "\nReport: " + key(30, "0") + key(21, "2"), true},
  };
  int n = 0;
  for (auto c : none) {
    SCOPED_TRACE(c.what);
    const std::string name = "None" + std::to_string(n++);
    const std::string before = c.text;
    EXPECT_EQ(create(name.c_str(),
                     c.openWindowAction ? openWindow(c.text.data()) : macro(c.text.data()), s),
              0);
    EXPECT_EQ(storedText(name.c_str()), before);
    EXPECT_EQ(supportFile(name.c_str(), 1), "<none>");
  }

  // A macro line of another kind is stored whatever its mode.
  std::string stored = "\nReport: " + key(21, "2") + key(22, path_ + key(5, "x"));
  ASSERT_EQ(create("Macro", macro(stored.data()), s), 0);
  EXPECT_EQ(supportFile("Macro", 1), std::string("REPORT\0BYTES", 12));
  EXPECT_EQ(storedText("Macro"),
            "\nReport: " + key(21, "2") + key(22, "!1!" + path_ + key(5, "x")));
}

}  // namespace
