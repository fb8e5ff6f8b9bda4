// Menus built in the library: menu files written in the test, SQL rows,
// and the locale variants of a file name. Menus are compared in a compact
// form: "label=value" items, "label{...}" sub-menus, separated by ", ".
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "menus/menus.h"
#include "support/menu_show.h"
#include "zqapi/zqapi.h"

namespace {

namespace menus = zq::menus;

using zqtest::show;

struct Parsed {
  ZQCharMenuStruct menu{};
  int32_t rc;
  explicit Parsed(const std::string& content) : rc(menus::parseMenuFile(content, menu)) {}
  ~Parsed() { FreeZQCharMenuStruct(&menu, 0); }
};

TEST(MenuFile, LinesGiveItemsAndTabsGiveLevels) {
  const struct {
    std::string content, menu;
  } cases[] = {
      {"Open\\1\nClosed\n", "Open=1, Closed=Closed"},
      {"Open\\1\r\nClosed", "Open=1, Closed=Closed"},  // CR LF, no final line feed
      {"# comment\n\nA\n#\tnot a level\n", "A=A"},
      {"a\\b\\c\n\\only value\nlabel only\\\n", "a=b\\c, =only value, label only="},
      // Three tabs under a top-level line open a single level.
      {"Top\n\t\t\tDeep\n\t\t\tDeeper\n", "Top{Deep=Deep, Deeper=Deeper}"},
      {"Top\n\tA\n\t\tA1\n\tB\nNext\n\tN1\n", "Top{A{A1=A1}, B=B}, Next{N1=N1}"},
      {"Top\n\tA\n\t\tA1\nBack\n", "Top{A{A1=A1}}, Back=Back"},
      // A level opened by several tabs: lines indented alike stay siblings,
      // a line between two levels joins the shallower one.
      {"Top\n\t\tA\n\t\t\t\tA1\n\t\t\tA2\n\tB\n", "Top{A{A1=A1}, A2=A2}, B=B"},
      {"", ""},
  };
  for (const auto& c : cases) {
    Parsed p(c.content);
    ASSERT_EQ(p.rc, 0) << c.content;
    EXPECT_EQ(show(p.menu), c.menu) << c.content;
  }
}

TEST(MenuFile, LabelsAndValuesAreCutAndLongLinesComeInPieces) {
  const std::string label(300, 'L'), value(300, 'V');
  Parsed p(label + "\\" + value + "\n");
  ASSERT_EQ(p.rc, 0);
  // 601 characters: read as 528, then the rest as a line of its own.
  ASSERT_EQ(p.menu.u.menuList.count, 2u);
  const ZQCharMenuItemStruct& first = p.menu.u.menuList.items[0];
  EXPECT_EQ(std::string(first.label), std::string(254, 'L'));
  EXPECT_EQ(std::string(first.u.value), std::string(227, 'V'));
  EXPECT_EQ(std::string(p.menu.u.menuList.items[1].label), std::string(73, 'V'));

  Parsed longValue("x\\" + value + "\n");
  EXPECT_EQ(std::string(longValue.menu.u.menuList.items[0].u.value), std::string(255, 'V'));
}

TEST(MenuFile, FaultsStopTheParse) {
  const struct {
    std::string content;
    int32_t message;
  } cases[] = {
      {"\tOrphan\n", zq::kMsgBadCharMenu},
      {"# only a comment\n\t\tOrphan\n", zq::kMsgBadCharMenu},
      {"Top\n" + std::string(15, '\t') + "Too deep\n", zq::kMsgMenuTooDeep},
      {"Top\n" + std::string(14, '\t') + "Deepest allowed\n", 0},
      {"Top\n" + std::string(10000, '\t') + "x\n", zq::kMsgMenuTooDeep},
      {std::string("A\0B\n\x01\x02\xff\n", 8), 0},
  };
  for (const auto& c : cases) {
    Parsed p(c.content);
    EXPECT_EQ(p.rc, c.message) << c.content.substr(0, 30);
  }
  Parsed binary(std::string("A\0B\n\x01\x02\xff\n", 8));
  EXPECT_EQ(show(binary.menu), "A=A, \x01\x02\xff=\x01\x02\xff");
}

// ---- SQL rows -----------------------------------------------------------------------------

struct Rows {
  std::vector<std::vector<std::string>> texts;
  std::vector<std::vector<ZQValueStruct>> values;
  std::vector<ZQValueList> lists;
  ZQValueListList rows{0, nullptr};
  explicit Rows(std::vector<std::vector<std::string>> t) : texts(std::move(t)) {
    for (auto& row : texts) {
      values.emplace_back();
      for (auto& cell : row) {
        ZQValueStruct v{};
        v.dataType = ZQ_DATA_TYPE_CHAR;
        v.u.charValue = cell.data();
        values.back().push_back(v);
      }
    }
    for (auto& row : values) lists.push_back({static_cast<uint32_t>(row.size()), row.data()});
    rows = {static_cast<uint32_t>(lists.size()), lists.data()};
  }
};

TEST(SqlMenu, RowsNestByTheirLabelColumns) {
  const struct {
    std::vector<std::vector<std::string>> rows;
    int32_t labels[ZQ_MENU_LABEL_FIELDS];
    int32_t value;
    const char* menu;
  } cases[] = {
      {{{"A", "x", "1"}, {"A", "y", "2"}, {"B", "z", "3"}}, {1, 2}, 3, "A{x=1, y=2}, B{z=3}"},
      {{{"A", "x"}, {"A", "x"}}, {1}, 2, "A=x"},                      // identical rows: one item
      {{{"A", "x"}, {"A", "y"}}, {1}, 2, "A=x, A=y"},                 // same label, other value
      {{{"A", "", "1"}, {"B", "b", "2"}}, {1, 2}, 3, "A=1, B{b=2}"},  // an empty label collapses
      {{{"A", "x"}, {"B", "y"}, {"A", "z"}}, {1, 2}, 0, "A{x=}, B{y=}, A{z=}"},
      {{{"A", "x", "1"}}, {0, 2}, 3, "=1"},      // no label columns: the first (0) counts
      {{{"A"}}, {1, 5}, 9, "A="},                // columns beyond the row are empty
      {{{"A", "x", "1"}}, {1, 0, 3}, 2, "A=x"},  // the list ends at the first 0
      {{}, {1}, 1, ""},
  };
  for (const auto& c : cases) {
    Rows rows(c.rows);
    ZQCharMenuStruct menu{};
    ASSERT_EQ(menus::menuFromRows(rows.rows, c.labels, c.value, menu), 0);
    EXPECT_EQ(show(menu), c.menu);
    FreeZQCharMenuStruct(&menu, 0);
  }
}

TEST(SqlMenu, ValuesAreFormattedByType) {
  ZQValueStruct cells[4]{};
  cells[0].dataType = ZQ_DATA_TYPE_INTEGER;
  cells[0].u.integerValue = -7;
  cells[1].dataType = ZQ_DATA_TYPE_REAL;
  cells[1].u.realValue = 2.5;
  cells[2].dataType = ZQ_DATA_TYPE_ENUM;
  cells[2].u.enumValue = 3;
  ZQCurrencyStruct money{};
  money.value = const_cast<char*>("12.50");
  strcpy(money.currencyCode, "EUR");
  cells[3].dataType = ZQ_DATA_TYPE_CURRENCY;
  cells[3].u.currencyValue = &money;
  ZQValueList row{4, cells};
  ZQValueListList rows{1, &row};
  const int32_t labels[ZQ_MENU_LABEL_FIELDS] = {1, 2, 3};
  ZQCharMenuStruct menu{};
  ASSERT_EQ(menus::menuFromRows(rows, labels, 4, menu), 0);
  EXPECT_EQ(show(menu), "-7{2.5{3=12.50 EUR}}");
  FreeZQCharMenuStruct(&menu, 0);
}

TEST(MenuFileNames, LocaleVariantsComeBeforeThePlainName) {
  using V = std::vector<std::string>;
  EXPECT_EQ(menus::localeVariants("m", "fr_CA.UTF-8@euro"), (V{"m.fr_CA", "m.fr", "m"}));
  EXPECT_EQ(menus::localeVariants("m", "de.ISO-8859-1"), (V{"m.de", "m"}));
  EXPECT_EQ(menus::localeVariants("m", "en_US"), (V{"m.en_US", "m.en", "m"}));
  EXPECT_EQ(menus::localeVariants("m", ""), (V{"m"}));
}

}  // namespace
