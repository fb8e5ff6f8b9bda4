// The XML library loaded by 8 threads at once. It lives here because the
// thread-sanitizer phase runs this program: the race of the first calls is
// what it has to watch.
#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

#include "xml/xml.h"
#include "zqapi/zqapi.h"

namespace {

TEST(XmlLoader, EightConcurrentFirstCallsLoadTheRealLibraryOnce) {
  zq::xml::testing::setLibraryName(nullptr);
  zq::xml::testing::resetLoader();
  ZQControlStruct control{};
  ZQStatusList status{};
  ASSERT_LT(ZQInitialization(&control, &status), 2);
  FreeZQStatusList(&status, 0);

  const int before = zq::xml::testing::completeLoads();
  std::atomic<int> ready{0};
  std::atomic<int> failures{0};
  std::vector<std::thread> threads;
  for (int i = 0; i < 8; ++i)
    threads.emplace_back([&] {
      ++ready;
      while (ready.load() < 8) std::this_thread::yield();  // start together
      ZQStatusList s{};
      ZQXMLOutputDoc doc{};
      if (ZQSetDocHeaderToXML(&control, &doc, &s) != 0 ||
          ZQSetDocFooterToXML(&control, &doc, &s) != 0 || !doc.u.charBuffer)
        ++failures;
      FreeZQXMLOutputDoc(&doc, 0);
      FreeZQStatusList(&s, 0);
    });
  for (auto& t : threads) t.join();
  EXPECT_EQ(failures.load(), 0);
  EXPECT_EQ(zq::xml::testing::completeLoads(), before + 1);

  ZQTermination(&control, &status);
  FreeZQStatusList(&status, 0);
}

}  // namespace
