// Wire vectors of the query over several forms (procedure 171, protocol
// version 14 only): sources, aliased field references, qualifications,
// operands, sorting and result rows, written by hand from the XDR rules,
// checked against the encoder and read back member by member.
#include "golden/wire.h"
#include "transport/describe_queries.h"

namespace zqgolden {
namespace {

namespace tr = zq::transport;

class MultiSchemaGolden : public GoldenTest {};

ZQMultiSchemaFieldIdStruct field(const char* alias, ZQInternalId id) {
  ZQMultiSchemaFieldIdStruct f{};
  setName(f.queryFromAlias, alias);
  f.fieldId = id;
  return f;
}

// alias (a name of 255) and field id
Wire fieldWire(const char* alias, ZQInternalId id) {
  return Wire().name(alias, 255).w(id);
}

TEST_F(MultiSchemaGolden, SourcesFieldsQualificationAndSort) {
  // o.1 = c.2
  ZQMultiSchemaRelOpStruct equal{};
  equal.operation = ZQ_REL_OP_EQUAL;
  equal.left.tag = ZQ_FIELD;
  equal.left.u.fieldId = field("o", 1);
  equal.right.tag = ZQ_FIELD;
  equal.right.u.fieldId = field("c", 2);
  ZQMultiSchemaQualifierStruct join{};
  join.operation = ZQ_COND_OP_REL_OP;
  join.u.relOp = &equal;

  ZQMultiSchemaRecursiveQueryStruct tree{};
  setName(tree.queryFromAlias, "r");
  tree.levelsToRetrieve = 3;

  ZQMultiSchemaQueryFromStruct from[2] = {};
  from[0].type = ZQ_MULTI_SCHEMA_SOURCE_FORM;
  setName(from[0].u.schemaName, "Orders");
  setName(from[0].queryFromAlias, "o");
  from[1].type = ZQ_MULTI_SCHEMA_SOURCE_RECURSIVE;
  from[1].u.recursiveQuery = &tree;
  setName(from[1].queryFromAlias, "c");
  from[1].joinType = 1;
  from[1].joinQual = &join;

  ZQMultiSchemaFieldIdStruct fields[] = {field("o", 1), field("c", 8)};
  ZQMultiSchemaSortStruct sort[] = {{field("o", 3), ZQ_SORT_DESCENDING}};
  tr::MultiSchemaArgs args{};
  args.from = {2, from};
  args.fields = {2, fields};
  args.qualifier.operation = ZQ_COND_OP_FROM_FIELD;
  args.qualifier.u.fieldId = field("o", 536870913);
  args.sort = {1, sort};
  args.firstRetrieve = 10;
  args.maxRetrieve = 100;
  args.useLocale = 1;

  const Wire sources = Wire()
                           .w(2)
                           .w(0)
                           .name("Orders", 255)  // a form
                           .name("o", 255)
                           .w(0)
                           .w(0)  // join type, no join condition
                           .w(2)
                           .w(1)            // a recursive query, present
                           .name("r", 255)  // its alias
                           .w(0)            // its sources
                           .w(0)            // its fields
                           .w(0)            // no start condition
                           .w(0)            // no recursion condition
                           .w(3)            // levels
                           .name("c", 255)  // the source's alias
                           .w(1)            // join type
                           .w(1)            // join condition present
                           .w(4)            // a relational test
                           .w(1)            // present
                           .w(1)            // equal
                           .w(1)
                           .then(fieldWire("o", 1))
                           .w(1)
                           .then(fieldWire("c", 2));
  const Wire golden = emptyHeader()
                          .then(sources)
                          .w(2)
                          .then(fieldWire("o", 1))
                          .then(fieldWire("c", 8))
                          .w(5)
                          .then(fieldWire("o", 536870913))  // a condition from a field
                          .w(1)
                          .then(fieldWire("o", 3))
                          .w(2)
                          .w(10)
                          .w(100)
                          .w(1);
  expectEncodes(args, 14, golden);
  expectRefused(args, 13);

  tr::MultiSchemaArgs back = decodes<tr::MultiSchemaArgs>(golden, 14);
  ASSERT_EQ(back.from.count, 2u);
  EXPECT_STREQ(back.from.items[0].u.schemaName, "Orders");
  EXPECT_STREQ(back.from.items[0].queryFromAlias, "o");
  EXPECT_EQ(back.from.items[0].joinQual, nullptr);
  const ZQMultiSchemaQueryFromStruct& second = back.from.items[1];
  ASSERT_NE(second.u.recursiveQuery, nullptr);
  EXPECT_STREQ(second.u.recursiveQuery->queryFromAlias, "r");
  EXPECT_EQ(second.u.recursiveQuery->levelsToRetrieve, 3);
  EXPECT_EQ(second.joinType, 1u);
  ASSERT_NE(second.joinQual, nullptr);
  ASSERT_NE(second.joinQual->u.relOp, nullptr);
  EXPECT_STREQ(second.joinQual->u.relOp->right.u.fieldId.queryFromAlias, "c");
  EXPECT_EQ(second.joinQual->u.relOp->right.u.fieldId.fieldId, 2u);
  ASSERT_EQ(back.fields.count, 2u);
  EXPECT_EQ(back.fields.items[1].fieldId, 8u);
  EXPECT_EQ(back.qualifier.u.fieldId.fieldId, 536870913u);
  ASSERT_EQ(back.sort.count, 1u);
  EXPECT_EQ(back.sort.items[0].fieldId.fieldId, 3u);
  EXPECT_EQ(back.sort.items[0].sortOrder, uint32_t{ZQ_SORT_DESCENDING});
  EXPECT_EQ(back.firstRetrieve, 10u);
  EXPECT_EQ(back.maxRetrieve, 100u);
  EXPECT_EQ(back.useLocale, 1);
  zq::model::release(back);

  // A nested query as a source is refused.
  from[0].type = ZQ_MULTI_SCHEMA_SOURCE_NESTED;
  expectRefused(args, 14);
}

TEST_F(MultiSchemaGolden, OperandsWithAliases) {
  ZQMultiSchemaFieldValueOrArithStruct history{};
  history.tag = ZQ_STAT_HISTORY;
  setName(history.u.statHistory.queryFromAlias, "o");
  history.u.statHistory.enumeratedValueIndex = 2;
  history.u.statHistory.userOrTime = ZQ_STAT_HISTORY_USER;
  const Wire historyWire = Wire().w(4).name("o", 255).w(2).w(1);
  expectEncodes(history, 14, historyWire);
  ZQMultiSchemaFieldValueOrArithStruct back =
      decodes<ZQMultiSchemaFieldValueOrArithStruct>(historyWire, 14);
  EXPECT_STREQ(back.u.statHistory.queryFromAlias, "o");
  EXPECT_EQ(back.u.statHistory.enumeratedValueIndex, 2u);
  EXPECT_EQ(back.u.statHistory.userOrTime, 1u);

  ZQMultiSchemaCurrencyPartStruct part{field("o", 9), 4, "USD"};
  ZQMultiSchemaFieldValueOrArithStruct currency{};
  currency.tag = ZQ_CURRENCY_FLD;
  currency.u.currencyField = &part;
  const Wire currencyWire = Wire().w(6).w(1).then(fieldWire("o", 9)).w(4).name("USD", 4);
  expectEncodes(currency, 14, currencyWire);
  back = decodes<ZQMultiSchemaFieldValueOrArithStruct>(currencyWire, 14);
  ASSERT_NE(back.u.currencyField, nullptr);
  EXPECT_EQ(back.u.currencyField->fieldId.fieldId, 9u);
  EXPECT_EQ(back.u.currencyField->partTag, 4u);
  EXPECT_STREQ(back.u.currencyField->currencyCode, "USD");
  FreeZQMultiSchemaFieldValueOrArithStruct(&back, 0);

  // Tag 7: the sources, the field and the condition of a value-set query.
  ZQMultiSchemaQueryFromStruct source{};
  setName(source.u.schemaName, "Lines");
  setName(source.queryFromAlias, "l");
  ZQMultiSchemaValueSetQueryStruct set{};
  set.queryFromList = {1, &source};
  set.fieldId = field("l", 1);
  ZQMultiSchemaFieldValueOrArithStruct valueSet{};
  valueSet.tag = ZQ_MULTI_VALUE_SET_QUERY;
  valueSet.u.valueSetQuery = &set;
  const Wire setWire = Wire()
                           .w(7)
                           .w(1)
                           .w(1)
                           .w(0)
                           .name("Lines", 255)
                           .name("l", 255)
                           .w(0)
                           .w(0)
                           .then(fieldWire("l", 1))
                           .w(0);
  expectEncodes(valueSet, 14, setWire);
  back = decodes<ZQMultiSchemaFieldValueOrArithStruct>(setWire, 14);
  ASSERT_NE(back.u.valueSetQuery, nullptr);
  ASSERT_EQ(back.u.valueSetQuery->queryFromList.count, 1u);
  EXPECT_STREQ(back.u.valueSetQuery->queryFromList.items[0].u.schemaName, "Lines");
  EXPECT_STREQ(back.u.valueSetQuery->fieldId.queryFromAlias, "l");
  EXPECT_EQ(back.u.valueSetQuery->qualifier, nullptr);
  FreeZQMultiSchemaFieldValueOrArithStruct(&back, 0);

  // Arithmetic: operation, then both operands (NEGATE sends its left too).
  ZQMultiSchemaArithOpStruct sum{};
  sum.operation = ZQ_ARITH_OP_ADD;
  sum.left.tag = ZQ_FIELD;
  sum.left.u.fieldId = field("o", 7);
  sum.right.tag = ZQ_VALUE;
  sum.right.u.value.dataType = ZQ_DATA_TYPE_INTEGER;
  sum.right.u.value.u.integerValue = 1;
  expectEncodes(sum, 14, Wire().w(1).w(1).then(fieldWire("o", 7)).w(2).w(2).w(1));
  expectRefused(sum, 13);
}

TEST_F(MultiSchemaGolden, ResultRows) {
  ZQMultiSchemaFieldValueStruct cells[2] = {};
  cells[0].fieldId = field("o", 1);
  cells[0].value.dataType = ZQ_DATA_TYPE_CHAR;
  cells[0].value.u.charValue = text("A1");
  cells[1].fieldId = field("c", 8);
  ZQMultiSchemaFieldValueList row{2, cells};
  ZQMultiSchemaFieldValueListList rows{1, &row};
  const Wire golden =
      Wire().w(1).w(2).then(fieldWire("o", 1)).w(4).str("A1").then(fieldWire("c", 8)).w(0);
  expectEncodes(rows, 14, golden);
  expectRefused(rows, 13);
  ZQMultiSchemaFieldValueListList back = decodes<ZQMultiSchemaFieldValueListList>(golden, 14);
  ASSERT_EQ(back.count, 1u);
  ASSERT_EQ(back.items[0].count, 2u);
  EXPECT_STREQ(back.items[0].items[0].fieldId.queryFromAlias, "o");
  EXPECT_STREQ(back.items[0].items[0].value.u.charValue, "A1");
  EXPECT_EQ(back.items[0].items[1].fieldId.fieldId, 8u);
  EXPECT_EQ(back.items[0].items[1].value.dataType, 0u);
  FreeZQMultiSchemaFieldValueListList(&back, 0);
}

}  // namespace
}  // namespace zqgolden
