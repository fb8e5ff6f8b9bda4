// The bridge to the XML library: loading it (absent, incomplete, raced by
// first calls), the forwarding rules, and the parser handle of a context.
#include <dlfcn.h>
#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>
#include <vector>

#include "frame/frame.h"
#include "xml/xml.h"
#include "zqapi/zqapi.h"

namespace {

using zq::xml::Slot;

struct XmlStubState {
  int result;
  int warn;
  int initResult;
  int calls;
  int inits;
  int handlesCreated;
  int handlesFreed;
  long lastConstant;
  const void* lastHandle;
  char lastCall[64];
};

std::string besideThisProgram(const char* name) {
  Dl_info info{};
  dladdr(reinterpret_cast<void*>(&ZQInitialization), &info);
  std::string path = info.dli_fname;
  return path.substr(0, path.rfind('/') + 1) + name;
}

const std::string kComplete = besideThisProgram("libzqtestxml_complete.so");
const std::string kIncomplete = besideThisProgram("libzqtestxml_incomplete.so");

XmlStubState* stubState(const std::string& path) {
  void* h = dlopen(path.c_str(), RTLD_NOW | RTLD_NOLOAD);
  if (!h) return nullptr;
  auto fn = reinterpret_cast<XmlStubState* (*)()>(dlsym(h, "zqTestXmlState"));
  dlclose(h);
  return fn ? fn() : nullptr;
}

class XmlBridge : public ::testing::Test {
 protected:
  void use(const std::string& library) {
    zq::xml::testing::setLibraryName(library.c_str());
    zq::xml::testing::resetLoader();
    if (XmlStubState* st = stubState(kComplete)) *st = XmlStubState{};  // from an earlier test
  }
  void SetUp() override {
    ZQStatusList s{};
    ASSERT_LT(ZQInitialization(&control_, &s), 2);
    FreeZQStatusList(&s, 0);
  }
  void TearDown() override {
    ZQStatusList s{};
    ZQTermination(&control_, &s);
    FreeZQStatusList(&s, 0);
    zq::xml::testing::setLibraryName(nullptr);
    zq::xml::testing::resetLoader();
  }
  // The stub's state after a call has loaded it, zeroed for the next case.
  XmlStubState& freshStub() {
    XmlStubState* st = stubState(kComplete);
    EXPECT_NE(st, nullptr);
    *st = XmlStubState{};
    return *st;
  }

  ZQControlStruct control_{};
};

// One call of each shape: parser handle, no set-up, InitXMLParser first,
// an inserted constant, entry requests.
struct Shape {
  const char* name;
  int (*run)(ZQControlStruct*, ZQStatusList*);
};

const Shape kShapes[] = {
    {"ParseXMLDocument",
     [](ZQControlStruct* c, ZQStatusList* s) {
       ZQXMLInputDoc in{};
       ZQXMLParsedStream parsed{};
       return ZQParseXMLDocument(c, &in, nullptr, &parsed, nullptr, nullptr, s);
     }},
    {"GetListXMLObjects",
     [](ZQControlStruct* c, ZQStatusList* s) {
       ZQXMLParsedStream parsed{};
       return ZQGetListXMLObjects(c, &parsed, nullptr, s);
     }},
    {"GetMenuFromXML",
     [](ZQControlStruct* c, ZQStatusList* s) {
       ZQXMLParsedStream parsed{};
       return ZQGetMenuFromXML(c, &parsed, "menu", nullptr, nullptr, nullptr, nullptr, nullptr,
                               nullptr, nullptr, nullptr, nullptr, nullptr, s);
     }},
    {"SetDocHeaderToXML",
     [](ZQControlStruct* c, ZQStatusList* s) {
       ZQXMLOutputDoc doc{};
       return ZQSetDocHeaderToXML(c, &doc, s);
     }},
    {"SetVUIToXML",
     [](ZQControlStruct* c, ZQStatusList* s) {
       ZQXMLOutputDoc doc{};
       return ZQSetVUIToXML(c, &doc, "form", "view", 1, "", 0, nullptr, s);
     }},
    {"GetComplexEntryCreateFromXML",
     [](ZQControlStruct* c, ZQStatusList* s) {
       using Fn =
           int (*)(ZQControlStruct*, ZQXMLInputDoc*, char*, ZQFieldValueList*, ZQStatusList*);
       auto fn = reinterpret_cast<Fn>(ZQGetOrdinal(842));
       ZQXMLInputDoc in{};
       ZQNameType form = {};
       return fn(c, &in, form, nullptr, s);
     }},
    {"PullGetListEntryFromXML",
     [](ZQControlStruct* c, ZQStatusList* s) {
       ZQXMLInputDoc in{};
       return ZQPullGetListEntryFromXML(c, &in, nullptr, nullptr, nullptr, nullptr, nullptr,
                                        nullptr, nullptr, nullptr, nullptr, s);
     }},
};

TEST_F(XmlBridge, AbsentOrIncompleteLibraryFailsEveryCallWithItsMessage) {
  for (const std::string& library : {std::string("libzqxml_not_there.so"), kIncomplete}) {
    use(library);
    for (int round = 0; round < 2; ++round) {  // and keeps failing
      for (const Shape& shape : kShapes) {
        SCOPED_TRACE(library + " " + shape.name);
        ZQStatusList s{};
        EXPECT_EQ(shape.run(&control_, &s), ZQ_RETURN_ERROR);
        ASSERT_EQ(s.count, 1u);
        EXPECT_EQ(s.items[0].messageType, uint32_t{ZQ_MESSAGE_ERROR});
        EXPECT_EQ(s.items[0].messageNumber, zq::kMsgXmlLibraryMissing);
        EXPECT_TRUE(s.items[0].appended == nullptr || s.items[0].appended[0] == '\0');
        FreeZQStatusList(&s, 0);
      }
    }
    EXPECT_FALSE(zq::xml::loaded());
    ZQXMLInputDoc in{};
    ZQXMLParserHandle handle{};
    EXPECT_EQ(FreeZQXMLInputDoc(&in, 0), zq::kMsgXmlLibraryMissing);
    EXPECT_EQ(FreeZQXMLParsedStream(nullptr, 0), zq::kMsgXmlLibraryMissing);
    EXPECT_EQ(FreeZQXMLParserHandle(&handle, 0), 0);
  }
  // The incomplete library filled the slots up to the missing entry point.
  EXPECT_NE(zq::xml::address(Slot::PushGetListEntryToXML), nullptr);
  EXPECT_EQ(zq::xml::address(Slot::PullGetListEntryFromXML), nullptr);
  EXPECT_EQ(zq::xml::testing::completeLoads(), 0);
}

TEST_F(XmlBridge, ForwardsWithInitializationConstantsAndResultMapping) {
  use(kComplete);
  ZQStatusList s{};
  ASSERT_EQ(ZQSetDocFooterToXML(&control_, nullptr, &s), 0);  // loads the stub
  FreeZQStatusList(&s, 0);

  struct Case {
    const Shape* shape;
    int initExpected;  // InitXMLParser runs before the call
    long constant;     // the constant the forwarder inserts (-1: none)
  };
  const Case cases[] = {
      {&kShapes[2], 0, -1},                       // Get...FromXML: nothing first
      {&kShapes[3], 1, 1},                        // header: InitXMLParser, then 1
      {&kShapes[4], 1, -1}, {&kShapes[5], 1, 0},  // ordinal 842 inserts 0
      {&kShapes[6], 1, -1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.shape->name);
    XmlStubState& st = freshStub();
    st.lastConstant = -1;
    EXPECT_EQ(c.shape->run(&control_, &s), 0);
    EXPECT_STREQ(st.lastCall, c.shape->name);
    EXPECT_EQ(st.inits, c.initExpected);
    EXPECT_EQ(st.lastConstant, c.constant);
    EXPECT_EQ(s.count, 0u);

    // A warning becomes 0 and stays in the list; an error is returned as is.
    st.warn = 1;
    st.result = ZQ_RETURN_WARNING;
    EXPECT_EQ(c.shape->run(&control_, &s), 0);
    ASSERT_EQ(s.count, 1u);
    EXPECT_EQ(s.items[0].messageNumber, 4242);
    FreeZQStatusList(&s, 0);
    st.warn = 0;
    st.result = ZQ_RETURN_FATAL;
    EXPECT_EQ(c.shape->run(&control_, &s), ZQ_RETURN_FATAL);

    // A failed InitXMLParser stops the call before the entry point.
    st.result = 0;
    st.initResult = ZQ_RETURN_ERROR;
    st.lastCall[0] = '\0';
    int rc = c.shape->run(&control_, &s);
    if (c.initExpected) {
      EXPECT_EQ(rc, ZQ_RETURN_ERROR);
      EXPECT_STREQ(st.lastCall, "InitXMLParser");
    } else {
      EXPECT_EQ(rc, 0);
    }
    FreeZQStatusList(&s, 0);
  }
}

TEST_F(XmlBridge, ParserHandleIsCreatedOncePerContextAndReleasedWithIt) {
  use(kComplete);
  ZQStatusList s{};
  ASSERT_EQ(ZQSetDocFooterToXML(&control_, nullptr, &s), 0);
  XmlStubState& st = freshStub();

  // Creation fails: the handle stays uncreated and the next call tries again.
  st.result = ZQ_RETURN_ERROR;
  EXPECT_EQ(kShapes[0].run(&control_, &s), ZQ_RETURN_ERROR);
  EXPECT_EQ(st.handlesCreated, 1);
  st.result = 0;
  EXPECT_EQ(kShapes[0].run(&control_, &s), 0);
  const void* first = st.lastHandle;
  EXPECT_EQ(kShapes[1].run(&control_, &s), 0);
  EXPECT_EQ(st.lastHandle, first);
  EXPECT_EQ(st.handlesCreated, 2);

  ZQControlStruct other{};
  ASSERT_LT(ZQInitialization(&other, &s), 2);
  EXPECT_EQ(kShapes[1].run(&other, &s), 0);
  EXPECT_NE(st.lastHandle, first);
  EXPECT_EQ(st.handlesCreated, 3);
  ZQTermination(&other, &s);
  EXPECT_EQ(st.handlesFreed, 1);
  FreeZQStatusList(&s, 0);

  // A control record without a live context: 3, the list untouched.
  ZQControlStruct stale{};
  stale.context = reinterpret_cast<ZQThreadContext*>(&st);
  EXPECT_EQ(kShapes[0].run(&stale, &s), ZQ_RETURN_FATAL);
  EXPECT_EQ(s.count, 0u);
}

TEST_F(XmlBridge, ConcurrentFirstCallsLoadTheLibraryOnce) {
  use(kComplete);
  const int before = zq::xml::testing::completeLoads();
  std::atomic<int> failures{0};
  std::vector<std::thread> threads;
  for (int i = 0; i < 8; ++i)
    threads.emplace_back([&] {
      ZQStatusList s{};
      if (ZQSetDocHeaderToXML(&control_, nullptr, &s) != 0) ++failures;
      FreeZQStatusList(&s, 0);
    });
  for (auto& t : threads) t.join();
  EXPECT_EQ(failures.load(), 0);
  EXPECT_EQ(zq::xml::testing::completeLoads(), before + 1);
}

}  // namespace
