// The fuzz targets (fuzz/) as a regression test of the ordinary build: each
// runs over its seed corpus and over every input that once crashed it, so
// that a finding stays fixed without clang or libFuzzer.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <string>

#include "fuzz_target.h"

namespace fs = std::filesystem;

TEST(FuzzRegressions, EveryTargetRunsItsSeedsAndPastFindings) {
  std::set<std::string> names;
  size_t inputs = 0;
  for (const zqfuzz::Registered& target : zqfuzz::registry()) {
    names.insert(target.name);
    for (const char* folder : {"seeds", "regressions"}) {
      const fs::path dir = fs::path(ZQ_FUZZ_DIR) / folder / target.name;
      if (!fs::is_directory(dir)) continue;
      for (const fs::directory_entry& file : fs::directory_iterator(dir)) {
        SCOPED_TRACE(file.path().string());
        std::ifstream in(file.path(), std::ios::binary);
        const std::string bytes((std::istreambuf_iterator<char>(in)), {});
        EXPECT_EQ(target.run(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size()), 0);
        ++inputs;
      }
    }
  }
  EXPECT_EQ(names, (std::set<std::string>{"alerts", "blocks", "dates", "entrylist", "history",
                                          "menus", "qualify", "qualtext", "records", "replies",
                                          "requests", "xml"}));
  EXPECT_GT(inputs, 0u);
}
