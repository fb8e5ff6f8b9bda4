// The crypto trace file and its texts.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <regex>
#include <sstream>
#include <string>

#include "helpers.h"
#include "security/builtin.h"
#include "security/trace.h"

using namespace zq::security;

namespace {

class CryptoTrace : public ::testing::Test {
 protected:
  void SetUp() override {
    path_ = ::testing::TempDir() + "zq_crypto_trace_" + std::to_string(getpid()) + ".txt";
    std::remove(path_.c_str());
    setenv("ZQCRYPTOTRACE", path_.c_str(), 1);
    unsetenv("ZQCRYPTOTRACELEVEL");
    trace::testing::reset();
  }
  void TearDown() override {
    unsetenv("ZQCRYPTOTRACE");
    unsetenv("ZQCRYPTOTRACELEVEL");
    trace::testing::reset();
    std::remove(path_.c_str());
  }
  std::string contents() {
    trace::testing::reset();  // closes the file
    std::ifstream in(path_);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
  }
  std::string path_;
};

const char kStamp[] = "[A-Z][a-z]{2} [A-Z][a-z]{2} [0-9]{2} [0-9]{4} [0-9]{2}:[0-9]{2}:[0-9]{2} ";

}  // namespace

TEST_F(CryptoTrace, OpensWithTheLevelAndTracesFailures) {
  setenv("ZQCRYPTOTRACELEVEL", "0x204", 1);

  // A buffer whose length word claims 16 bytes of 7.
  uint8_t k[16] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16};
  ZQEncryptKeyStruct key{k, 16, {}, ZQ_DATA_ALG_DES};
  const uint8_t plain[] = {'a', 'b', 'c', 0x10, 0, 0, 0};
  unsigned char* block = nullptr;
  uint32_t length = 0;
  ASSERT_EQ(builtin::encryptData(nullptr, &key, plain, 7, &block, &length), 0);
  unsigned char* out = nullptr;
  uint32_t outLength = 0;
  EXPECT_EQ(CRYPTLIB_DecryptBuffer(&key, 0, block, length, &out, &outLength), 9014);
  // A MAC mismatch.
  key.macKey[0] = 1;
  EXPECT_EQ(CRYPTLIB_DecryptBuffer(&key, 0, block, length, &out, &outLength), 9004);
  ZQFree(block);

  std::string text = contents();
  std::regex opened(std::string("^") + kStamp + "Trace file Opened TraceLevel\\(535\\)\n-{80}\n");
  EXPECT_TRUE(std::regex_search(text, opened)) << text;
  EXPECT_NE(
      text.find("-->CRYPTLIB_DecryptBuffer Failed:(9014) bufSize (20) > unsaltedBufitem (7)\n"),
      std::string::npos)
      << text;
  EXPECT_NE(text.find("DecryptData: macVerifierLocal <> macVerifierRemote\n"), std::string::npos);
  EXPECT_NE(text.find("-->CRYPTLIB_DecryptBuffer Failed:(9004)\n"), std::string::npos);
  // Entry lines (0x100) were not asked for.
  EXPECT_EQ(text.find("-->CRYPTLIB_DecryptBuffer\n"), std::string::npos);
  // Every line carries the time stamp, except the line of dashes.
  std::istringstream lines(text);
  std::regex stamped(std::string("^") + kStamp);
  for (std::string line; std::getline(lines, line);) {
    if (line[0] != '-') {
      EXPECT_TRUE(std::regex_search(line, stamped)) << line;
    }
  }
}

TEST_F(CryptoTrace, DefaultLevelAndDumps) {
  std::string bytes = std::string("a\0b\nc\rd\ae", 9) + std::string(100, 'x');
  trace::dump(trace::kFailures, "label", reinterpret_cast<const uint8_t*>(bytes.data()),
              bytes.size());
  trace::dump(trace::kFailures, "nothing", nullptr, 0);
  trace::dump(trace::kKeys, "not at level 3", nullptr, 0);
  std::string text = contents();
  EXPECT_NE(text.find("TraceLevel(3)\n"), std::string::npos) << text;
  std::string first = "a_bNcRdBe" + std::string(72, 'x') + "\n";
  std::regex dumpLines(std::string(kStamp) + "label \\(109\\)\n" + kStamp + first + kStamp +
                       std::string(28, 'x') + "\n");
  EXPECT_TRUE(std::regex_search(text, dumpLines)) << text;
  EXPECT_NE(text.find("nothing (0)\n"), std::string::npos);
  EXPECT_NE(text.find("<-- Zero Length -->\n"), std::string::npos);
  EXPECT_EQ(text.find("not at level 3"), std::string::npos);
}

TEST_F(CryptoTrace, NothingWithoutTheVariable) {
  unsetenv("ZQCRYPTOTRACE");
  trace::testing::reset();
  EXPECT_FALSE(trace::enabled(0xffffffff));
  trace::line(trace::kFailures, "never\n");
  EXPECT_EQ(contents(), "");
}
