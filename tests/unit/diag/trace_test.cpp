// The recording and the result records without a server: argument lines,
// pauses on a test clock, nested calls, the output rules and running out of
// memory while printing.
#include <gtest/gtest.h>
#include <sys/time.h>
#include <unistd.h>

#include <cstring>
#include <fstream>
#include <sstream>
#include <string>

#include "diag/record.h"
#include "diag/state.h"
#include "frame/alloc.h"
#include "diag/hooks.h"
#include "diag/print_visitor.h"
#include "support/session.h"

using zqtest::Status;
namespace diag = zq::diag;

namespace {

std::string readFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

std::string written(void (*fn)(diag::CommandWriter&)) {
  std::string out;
  diag::CommandWriter w(out);
  fn(w);
  return out;
}

// A clock the tests move by hand.
timeval g_now{1000, 0};
bool testClock(timeval* t) {
  *t = g_now;
  return true;
}
void advance(long micros) {
  long total = g_now.tv_usec + micros;
  g_now.tv_sec += total / 1000000;
  g_now.tv_usec = total % 1000000;
}

// A session recording into two files of a fresh folder.
class Recording : public ::testing::Test {
 protected:
  void SetUp() override {
    char pattern[] = "/tmp/zqtrace-XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    dir_ = pattern;
    diag::testing::setClock(testClock);
    g_now = {1000, 0};
    ASSERT_EQ(session_.initResult(), 0);
  }
  void TearDown() override {
    diag::testing::setClock(nullptr);
    std::string cleanup = "rm -rf '" + dir_ + "'";
    EXPECT_EQ(system(cleanup.c_str()), 0);
  }
  void start(int32_t flags) {
    ctx()->loggingFlags = flags;
    Status s;
    ASSERT_EQ(ZQStartRecording(session_.control(), commandPath().c_str(), resultPath().c_str(), &s),
              0);
  }
  ZQThreadContext* ctx() { return session_.context(); }
  std::string commandPath() const { return dir_ + "/cmd.log"; }
  std::string resultPath() const { return dir_ + "/res.log"; }
  // A call's records: command on entry, result at the finish.
  template <class... O>
  void call(diag::Command c, int rc, ZQStatusList* status, O... outs) {
    diag::command(ctx(), session_.control(), c);
    diag::outputs(ctx(), outs...);
    zq::diag::finishCall(ctx(), rc, status);
  }

  std::string dir_;
  zqtest::Session session_;
};

}  // namespace

TEST(CommandWriter, ValuesOfEveryForm) {
  unsigned char bytes[] = {0x0A, 0xFF};
  ZQByteList byteList{3, 2, bytes};
  ZQCoordStruct points[] = {{1, -2}};
  ZQCoordList coords{1, points};
  ZQCurrencyStruct currency{const_cast<char*>("9.99"), "EUR", 12, {0, nullptr}};
  ZQAttachStruct attachment{const_cast<char*>("a.doc"), 1, 1, {}};
  attachment.location.locationType = ZQ_LOC_FILENAME;
  attachment.location.u.filename = const_cast<char*>("/tmp/a.doc");
  const struct {
    ZQValueStruct value;
    const char* lines;
  } cases[] = {
      {{ZQ_DATA_TYPE_NULL, {}}, "0\n"},
      {{ZQ_DATA_TYPE_KEYWORD, {.keywordNumber = 4}}, "1\n4\n"},
      {{ZQ_DATA_TYPE_INTEGER, {.integerValue = -3}}, "2\n-3\n"},
      {{ZQ_DATA_TYPE_REAL, {.realValue = 2.5}}, "3\n2.500000\n"},
      {{ZQ_DATA_TYPE_CHAR, {.charValue = const_cast<char*>("a\nb\rc")}}, "4\na b c\n"},
      {{ZQ_DATA_TYPE_CHAR, {.charValue = nullptr}}, "4\n\n"},
      {{ZQ_DATA_TYPE_TIME, {.timestampValue = 99}}, "7\n99\n"},
      {{ZQ_DATA_TYPE_BYTES, {.byteListValue = &byteList}}, "9\n3\n2\na\nff\n\n"},
      {{ZQ_DATA_TYPE_ATTACH, {.attachmentValue = &attachment}}, "11\na.doc\n1\n/tmp/a.doc\n"},
      {{ZQ_DATA_TYPE_CURRENCY, {.currencyValue = &currency}}, "12\n9.99\nEUR\n12\n"},
      {{ZQ_DATA_TYPE_CURRENCY, {.currencyValue = nullptr}}, "12\n\n"},
      {{ZQ_DATA_TYPE_ULONG, {.ulongValue = 4000000000u}}, "40\n4000000000\n"},
      {{ZQ_DATA_TYPE_COORDS, {.coordListValue = &coords}}, "41\n1\n1\n-2\n"},
      {{ZQ_DATA_TYPE_JOIN, {}}, "30\n"},
  };
  for (const auto& c : cases) {
    std::string out;
    diag::CommandWriter w(out);
    w.value(&c.value);
    EXPECT_EQ(out, c.lines) << "data type " << c.value.dataType;
  }
}

TEST(CommandWriter, PasswordsTextsAndMarkers) {
  ZQFieldValueStruct fields[3] = {};
  fields[0].fieldId = 102;
  fields[0].value.dataType = ZQ_DATA_TYPE_CHAR;
  fields[0].value.u.charValue = const_cast<char*>("secret");
  fields[1].fieldId = 123;
  fields[1].value.dataType = ZQ_DATA_TYPE_INTEGER;
  fields[2].fieldId = 8;
  fields[2].value.dataType = ZQ_DATA_TYPE_INTEGER;
  fields[2].value.u.integerValue = 1;
  static ZQFieldValueList list{3, fields};
  EXPECT_EQ(written([](diag::CommandWriter& w) { w.fieldValues(&list); }),
            "3\n102\n4\n****\n123\n4\n****\n8\n2\n1\n");
  EXPECT_EQ(written([](diag::CommandWriter& w) { w.fieldValues(nullptr); }), "0\n");

  // Long texts: one line, cut to 1023 bytes.
  static std::string longText = std::string(600, 'x') + "\r\n" + std::string(600, 'y');
  const std::string expected = std::string(600, 'x') + "  " + std::string(421, 'y') + "\n";
  EXPECT_EQ(written([](diag::CommandWriter& w) { w.longText(longText.c_str()); }), expected);

  std::string out;
  diag::CommandWriter w(out);
  writeArg(w, diag::Password{"pw"});
  writeArg(w, diag::FileName{"/etc/export.def"});
  writeArg(w, diag::optionalText(nullptr));
  writeArg(w, diag::optionalText("user"));
  writeArg(w, diag::Blob{nullptr});
  ZQLocStruct memory{};
  memory.locationType = ZQ_LOC_BUFFER;
  writeArg(w, diag::Blob{&memory});
  writeArg(w, ZQBoolean{1});
  writeArg(w, int32_t{-4});
  writeArg(w, uint32_t{4});
  ZQEntryIdType ids[2] = {"000000000000001", "7"};
  ZQEntryIdList entry{2, ids};
  writeArg(w, &entry);
  EXPECT_EQ(out,
            "<password here>\n****** FILE NAME ******\nF\nT\nuser\n"
            "<Call was made with NULL locator>\n<Call was made with memory buffer>\n"
            "T\n-4\n4\n2\n000000000000001\n7\n");
}

TEST(CommandWriter, QualificationsAsAPrefixWalk) {
  ZQFieldValueOrArithStruct left{};
  left.tag = ZQ_FIELD;
  left.u.fieldId = 7;
  ZQFieldValueOrArithStruct right{};
  right.tag = ZQ_VALUE;
  right.u.value.dataType = ZQ_DATA_TYPE_INTEGER;
  right.u.value.u.integerValue = 5;
  ZQArithOpStruct negate{ZQ_ARITH_OP_NEGATE, left, right};
  ZQFieldValueOrArithStruct arith{};
  arith.tag = ZQ_ARITHMETIC;
  arith.u.arithOp = &negate;
  ZQRelOpStruct rel{ZQ_REL_OP_LESS, arith, left};
  ZQQualifierStruct relation{};
  relation.operation = ZQ_COND_OP_REL_OP;
  relation.u.relation = &rel;
  ZQQualifierStruct notQ{};
  notQ.operation = ZQ_COND_OP_NOT;
  notQ.u.operand = &relation;
  ZQQualifierStruct andQ{};
  andQ.operation = ZQ_COND_OP_AND;
  andQ.u.andOr.left = &notQ;
  andQ.u.andOr.right = nullptr;  // a null side is the single line 0
  std::string out;
  diag::CommandWriter w(out);
  w.qualifier(&andQ);
  // AND, NOT, REL_OP LESS, (NEGATE of value 5), field 7, then the null side.
  EXPECT_EQ(out, "1\n3\n4\n4\n3\n6\n2\n2\n5\n1\n7\n0\n");
  out.clear();
  w.qualifier(nullptr);
  EXPECT_EQ(out, "0\n");
}

TEST_F(Recording, PausesAreTakenOnTheClock) {
  start(ZQ_LOGGING_PAUSE_MILLIS);
  Status s;
  advance(1500000);  // 1.5 seconds after the recording started
  call(diag::Command::GetListServer, 0, &s);
  advance(400);  // under half a millisecond: no pause
  call(diag::Command::GetListServer, 0, &s);
  EXPECT_EQ(readFile(commandPath()),
            "#\n# (Pause)\n#\nmsst\n1500\n#\n# ZQGetListServer\n#\nsvr\n"
            "#\n# ZQGetListServer\n#\nsvr\n");

  Status stop;
  ASSERT_EQ(ZQStopRecording(session_.control(), &stop), 0);
  unlink(commandPath().c_str());
  start(ZQ_LOGGING_PAUSE_SECONDS | ZQ_LOGGING_PAUSE_MILLIS);  // seconds win
  advance(2500000);
  call(diag::Command::GetListServer, 0, &s);
  EXPECT_EQ(readFile(commandPath()), "#\n# (Pause)\n#\nst\n3\n#\n# ZQGetListServer\n#\nsvr\n");
}

TEST_F(Recording, NestedCallsKeepTheirNamesAndTimes) {
  start(ZQ_LOGGING_TIMING | ZQ_LOGGING_PAUSE_SECONDS);
  Status s;
  advance(2000000);
  diag::command(ctx(), session_.control(), diag::Command::Import);  // the outer call
  advance(1000);
  call(diag::Command::GetListServer, 0, &s);  // runs inside it
  advance(1000);
  zq::diag::finishCall(ctx(), 0, &s);
  // The inner call writes no pause; each result carries its own name.
  EXPECT_EQ(readFile(commandPath()),
            "#\n# (Pause)\n#\nst\n2\n#\n# ZQImport\n#\nimp\n#\n# ZQGetListServer\n#\nsvr\n");
  const std::string result = readFile(resultPath());
  const size_t inner = result.find("   ZQGetListServer results");
  const size_t outer = result.find("   ZQImport results");
  ASSERT_NE(inner, std::string::npos);
  ASSERT_NE(outer, std::string::npos);
  EXPECT_LT(inner, outer);
  EXPECT_NE(result.find("Start Time:    1002.001000", inner), std::string::npos);
  EXPECT_NE(result.find("Elapsed Time:  0.000000", inner), std::string::npos);
  EXPECT_NE(result.find("Start Time:    1002.000000", outer), std::string::npos);
  EXPECT_NE(result.find("Elapsed Time:  0.002000", outer), std::string::npos);
}

TEST_F(Recording, OutputsFollowTheReturnCodeAndTheFlags) {
  start(0);
  Status s;
  char name[] = "UTF-8";
  call(diag::Command::GetClientCharSet, 0, &s, name);
  call(diag::Command::GetClientCharSet, 2, &s, name);  // an error shows no outputs
  call(diag::Command::GetClientCharSet, 1, &s, static_cast<char*>(nullptr));  // not passed
  int32_t count = 3;
  call(diag::Command::GetAlertCount, 0, &s, &count);
  char* text = nullptr;
  call(diag::Command::GetApplicationState, 0, &s, &text);  // passed, holding null
  ZQBoolean flags[3] = {1, 0, 1};
  call(diag::Command::VerifyUser, 0, &s, &flags[0], &flags[1], &flags[2]);
  // Images show what came back even with an error.
  call(diag::Command::GetImage, 2, &s, &text);
  EXPECT_EQ(readFile(resultPath()),
            "\n   ZQGetClientCharSet results\nReturn Code: OK\nChar Set: UTF-8\n"
            "Status List: 0 items\n"
            "\n   ZQGetClientCharSet results\nReturn Code: ERROR\nStatus List: 0 items\n"
            "\n   ZQGetClientCharSet results\nReturn Code: WARNING\nStatus List: 0 items\n"
            "\n   ZQGetAlertCount results\nReturn Code: OK\nAlert Count: 3\nStatus List: 0 items\n"
            "\n   ZQGetApplicationState results\nReturn Code: OK\nCurrent State:\n"
            "Status List: 0 items\n"
            "\n   ZQVerifyUser results\nReturn Code: OK\nAdmin Flag: TRUE\n"
            "SubAdmin Flag: FALSE\nCustomize Flag: TRUE\nStatus List: 0 items\n"
            "\n   ZQGetImage results\nReturn Code: ERROR\nImage Type:\nStatus List: 0 items\n");

  ctx()->loggingFlags = ZQ_LOGGING_NO_RESULTS;
  unlink(resultPath().c_str());
  Status stop;
  ASSERT_EQ(ZQStopRecording(session_.control(), &stop), 0);
  start(ZQ_LOGGING_NO_RESULTS);
  call(diag::Command::GetClientCharSet, 0, &s, name);
  call(diag::Command::GetAlertCount, 7, &s, &count);
  EXPECT_EQ(readFile(resultPath()),
            "\n   ZQGetClientCharSet results\nReturn Code: OK\nStatus List: 0 items\n"
            "\n   ZQGetAlertCount results\nReturn Code: <unknown return>\nStatus List: 0 items\n");
}

TEST_F(Recording, DebuggerCallsAndLongHeaders) {
  start(24);  // long headers; single-file mode and timing lines come with the value
  Status s;
  call(diag::Command::GetListServer, 0, &s);
  call(diag::Command::WfdExecute, 0, &s);  // no command record; the last name
  const std::string log = readFile(resultPath());
  EXPECT_EQ(log.find("#\n# ZQGetListServer\n# Server: \"localhost\"\n# Username: \"Demo\"\n"
                     "# Port: \"0\"\n#\nsvr\n"),
            0u);
  EXPECT_NE(log.find("\n\n   ZQGetListServer results\nReturn Code: OK\n"), std::string::npos);
  EXPECT_EQ(log.find("ZQWfdExecute"), std::string::npos);
  const size_t first = log.find("   ZQGetListServer results");
  EXPECT_NE(log.find("   ZQGetListServer results", first + 1), std::string::npos);
  EXPECT_FALSE(access(commandPath().c_str(), F_OK) == 0);  // single-file mode
}

TEST_F(Recording, LoggingOffWritesNothing) {
  Status s;
  call(diag::Command::GetListServer, 0, &s);
  EXPECT_FALSE(ctx()->traceOn);
  EXPECT_EQ(access(resultPath().c_str(), F_OK), -1);
}

TEST(PrintOutOfMemory, ADiaryThatCannotBeDecodedIsReportedNotLost) {
  ZQValueStruct diary{};
  diary.dataType = ZQ_DATA_TYPE_DIARY;
  diary.u.diaryValue = const_cast<char*>("100\x04Joe\x04hello\x03");
  for (long n = 0; n < 8; ++n) {
    zq::testing::failAllocationsAfter(n);
    const std::string printed = zq::diag::printToString(diary);
    zq::testing::failAllocationsAfter(-1);
    EXPECT_EQ(printed.rfind("Value: (diary)", 0), 0u) << n;
  }
}

TEST_F(Recording, CallsReturningSeveralDefinitionsWriteOneBlockEach) {
  start(0);
  Status s;
  ZQBoolean exists[2] = {1, 0};
  ZQBooleanList existList{2, exists};
  ZQNameType names[2] = {"Colors", "Sizes"};
  ZQNameList nameList{2, names};
  uint32_t refresh[2] = {1, 0};
  ZQUnsignedIntList refreshList{2, refresh};
  ZQCharMenuStruct menus[2] = {};
  ZQCharMenuStructList menuList{2, menus};
  char* help[2] = {const_cast<char*>("Pick one"), nullptr};
  ZQTextStringList helpList{2, help};
  ZQTimestamp times[2] = {5, 0};
  ZQTimestampList timeList{2, times};
  ZQAccessNameType owners[2] = {"Joe", ""};
  ZQAccessNameList ownerList{2, owners};
  char* diaries[2] = {const_cast<char*>("7\x04"
                                        "Ann\x04note\x03"),
                      nullptr};
  ZQTextStringList diaryList{2, diaries};
  ZQPropList props[2] = {};
  ZQPropListList propList{2, props};
  call(diag::Command::GetMultipleCharMenus, 0, &s, &existList, &nameList, &refreshList, &menuList,
       &helpList, &timeList, &ownerList, static_cast<ZQAccessNameList*>(nullptr), &diaryList,
       &propList);
  // Without the name output the blocks are named "???".
  call(diag::Command::GetMultipleCharMenus, 0, &s, &existList, static_cast<ZQNameList*>(nullptr));
  EXPECT_EQ(readFile(resultPath()),
            "\n   ZQGetMultipleCharMenus results\nReturn Code: OK\n"
            "Char Menu Name: Colors\n"
            "   Exists?: TRUE\n"
            "   Refresh Code: 1\n"
            "   Char Menu Struct:\n"
            "   Type of Menu: NONE\n"
            "   Help Text: Pick one\n"
            "   Last Update Time: 5\n"
            "   Owner: Joe\n"
            "   Change Diary: 1 diary entries\n"
            " 7   Ann\n"
            "note\n"
            "   Property List: 0 items\n"
            "Char Menu Name: Sizes\n"
            "   Exists?: FALSE\n"
            "Status List: 0 items\n"
            "\n   ZQGetMultipleCharMenus results\nReturn Code: OK\n"
            "Char Menu Name: ???\n   Exists?: TRUE\n"
            "Char Menu Name: ???\n   Exists?: FALSE\n"
            "Status List: 0 items\n");
}

TEST_F(Recording, DiaryCallsRecordTheirArgumentsAndResults) {
  start(0);
  Status s;
  ZQDiaryStruct entries[1] = {};
  strcpy(entries[0].user, "Ann");
  entries[0].timestamp = 7;
  entries[0].value = const_cast<char*>("two\nlines");
  ZQDiaryList list{1, entries};
  char* text = nullptr;
  ASSERT_EQ(ZQEncodeDiary(session_.control(), &list, &text, &s), 0);
  ZQDiaryList decoded{0, nullptr};
  ASSERT_EQ(ZQDecodeDiary(session_.control(), text, &decoded, &s), 0);
  FreeZQDiaryList(&decoded, 0);
  // The decoder writes no command record, only its result.
  EXPECT_EQ(readFile(commandPath()), "#\n# ZQEncodeDiary\n#\necdia\n1\n7\nAnn\ntwo lines\n");
  const std::string result = readFile(resultPath());
  EXPECT_EQ(result.find(std::string("\n   ZQEncodeDiary results\nReturn Code: OK\nDiary Text: ") +
                        text + "\nStatus List: 0 items\n"),
            0u);
  EXPECT_NE(result.find("\n   ZQDecodeDiary results\nReturn Code: OK\n"), std::string::npos);
  ZQFree(text);
}
