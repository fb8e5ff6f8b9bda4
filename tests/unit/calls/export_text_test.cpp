// Export and import texts: the item list check, XML recognition and its
// encoding declaration, the character set an import text names.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "calls/export_text.h"
#include "platform/charset.h"
#include "support/session.h"

using zqtest::Status;

namespace {

ZQStructItemStruct item(uint32_t type, const char* name) {
  ZQStructItemStruct i{};
  i.type = type;
  strncpy(i.name, name, sizeof i.name - 1);
  return i;
}

// A name filling its whole array, without a terminator.
ZQStructItemStruct unterminated() {
  ZQStructItemStruct i{};
  i.type = 1;
  memset(i.name, 'n', sizeof i.name);
  return i;
}

}  // namespace

TEST(ExportItems, Check) {
  zqtest::Session session;
  using Messages = std::vector<std::pair<uint32_t, int32_t>>;
  const struct {
    const char* what;
    std::vector<ZQStructItemStruct> items;
    bool exporting;
    Messages messages;     // newest first, as status lists hold them
    std::string appended;  // of 133
  } cases[] = {
      {"empty export", {}, true, {{2, 132}}, ""},
      {"empty import", {}, false, {}, ""},
      {"modifier ignored", {item(0x20000005, "F")}, true, {}, ""},
      {"highest valid", {item(0x4000001E, "F")}, false, {}, ""},
      {"type 19", {item(19, "F")}, true, {{2, 134}, {2, 133}}, "19"},
      {"between ranges", {item(0x4000000B, "F")}, true, {{2, 134}, {2, 133}}, "1073741835"},
      {"103 exported", {item(103, "F")}, true, {}, ""},
      {"103 imported", {item(103, "F")}, false, {{2, 134}, {2, 133}}, "103"},
      {"2 imported with modifier", {item(0x20000002, "F")}, false, {{2, 134}, {2, 133}}, ""},
      {"empty name", {item(1, "")}, false, {{2, 134}, {2, 102}}, ""},
      {"254 characters", {item(1, std::string(254, 'n').c_str())}, true, {}, ""},
      {"no terminator", {unterminated()}, true, {{2, 134}, {2, 103}}, ""},
      {"first bad item ends it",
       {item(1, "A"), item(19, ""), item(20, "")},
       true,
       {{2, 134}, {2, 133}},
       "19"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    std::vector<ZQStructItemStruct> items = c.items;
    ZQStructItemList list{static_cast<uint32_t>(items.size()), items.data()};
    Status s;
    zq::calls::checkItemList(&list, c.exporting, &s);
    EXPECT_EQ(s.entries(), c.messages);
    if (!c.appended.empty()) {
      EXPECT_EQ(s.appendedOf(133), c.appended);
    }
  }
  Status s;
  ZQStructItemList countOnly{2, nullptr};
  zq::calls::checkItemList(&countOnly, false, &s);
  EXPECT_TRUE(s.has(165));
  s.reset();
  zq::calls::checkItemList(nullptr, true, &s);
  EXPECT_TRUE(s.has(132));
}

TEST(ExportText, XmlAndItsDeclaration) {
  using zq::calls::isXmlText;
  const std::string xml = "  \n<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?><a/>";
  EXPECT_TRUE(isXmlText(xml.data(), xml.size()));
  const std::string late = "<a>" + std::string(100, ' ') + "<?xml version=\"1.0\"?>";
  EXPECT_FALSE(isXmlText(late.data(), late.size()));
  const std::string native = "char-set: UTF-8\nform: x\n";
  EXPECT_FALSE(isXmlText(native.data(), native.size()));

  EXPECT_EQ(zq::calls::xmlDeclaredEncoding(xml), "ISO-8859-1");
  EXPECT_EQ(zq::calls::rewriteXmlEncoding(xml, "UTF-8"),
            "  \n<?xml version=\"1.0\" encoding=\"UTF-8\"?><a/>");
  EXPECT_EQ(zq::calls::rewriteXmlEncoding("<?xml version=\"1.0\" ?><a/>", "UTF-8"),
            "<?xml version=\"1.0\" encoding=\"UTF-8\" ?><a/>");
  EXPECT_EQ(zq::calls::rewriteXmlEncoding("<a/>", "UTF-8"), "<a/>");
}

TEST(ExportText, ImportCharacterSet) {
  using zq::calls::importCharset;
  using zq::platform::charsetId;
  const uint32_t client = zq::platform::kCharsetUtf8;
  const uint32_t latin1 = charsetId("ISO-8859-1");
  ASSERT_NE(latin1, zq::platform::kCharsetUnknown);
  const struct {
    const char* what;
    std::string text;
    uint32_t charset;
  } cases[] = {
      {"first line", "char-set: ISO-8859-1\nform: x\n", latin1},
      {"after comments and blank lines", "# made by hand\n\n\r\nchar-set: ISO-8859-1\n", latin1},
      {"not the first real line", "form: x\nchar-set: ISO-8859-1\n", client},
      {"no line", "form: x\n", client},
      {"unknown name", "char-set: no-such-set\n", zq::platform::kCharsetUnknown},
      {"xml declaration", "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?><a/>", latin1},
      {"xml without encoding", "<?xml version=\"1.0\"?><a/>", client},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(importCharset(c.text, client), c.charset);
  }
}

TEST(ExportText, UploadSlice) {
  EXPECT_EQ(zq::calls::uploadSlice(500000), 499500u);
  EXPECT_EQ(zq::calls::uploadSlice(100), zq::calls::kMinUploadSlice);
}
