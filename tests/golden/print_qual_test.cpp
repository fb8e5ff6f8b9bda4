// Trace-log lines of qualifications, operands, arithmetic and assignments,
// written by hand from the print formats.
#include <gtest/gtest.h>

#include <string>

#include "diag/print_visitor.h"

using zq::diag::printToString;

namespace {

ZQFieldValueOrArithStruct field(uint32_t tag, ZQInternalId id) {
  ZQFieldValueOrArithStruct o{};
  o.tag = tag;
  o.u.fieldId = id;
  return o;
}

ZQFieldValueOrArithStruct integer(int32_t n) {
  ZQFieldValueOrArithStruct o{};
  o.tag = ZQ_VALUE;
  o.u.value.dataType = ZQ_DATA_TYPE_INTEGER;
  o.u.value.u.integerValue = n;
  return o;
}

}  // namespace

TEST(PrintQualifier, EveryOperationOfATree) {
  // NOT (1 = "x")
  ZQFieldValueOrArithStruct text{};
  text.tag = ZQ_VALUE;
  text.u.value.dataType = ZQ_DATA_TYPE_CHAR;
  text.u.value.u.charValue = const_cast<char*>("x");
  ZQRelOpStruct equal{ZQ_REL_OP_EQUAL, field(ZQ_FIELD, 1), text};
  ZQQualifierStruct relEqual{};
  relEqual.operation = ZQ_COND_OP_REL_OP;
  relEqual.u.relation = &equal;
  ZQQualifierStruct notQ{};
  notQ.operation = ZQ_COND_OP_NOT;
  notQ.u.operand = &relEqual;
  // ($TRAN 2 + 3) > status history 4 USER
  ZQArithOpStruct add{ZQ_ARITH_OP_ADD, field(ZQ_FIELD_TRAN, 2), integer(3)};
  ZQFieldValueOrArithStruct sum{};
  sum.tag = ZQ_ARITHMETIC;
  sum.u.arithOp = &add;
  ZQFieldValueOrArithStruct history{};
  history.tag = ZQ_STAT_HISTORY;
  history.u.statHistory = {4, ZQ_STAT_HISTORY_USER};
  ZQRelOpStruct greater{ZQ_REL_OP_GREATER, sum, history};
  ZQQualifierStruct relGreater{};
  relGreater.operation = ZQ_COND_OP_REL_OP;
  relGreater.u.relation = &greater;
  // OR with an operation no word names
  ZQQualifierStruct odd{};
  odd.operation = 9;
  ZQQualifierStruct orQ{};
  orQ.operation = ZQ_COND_OP_OR;
  orQ.u.andOr.left = &relGreater;
  orQ.u.andOr.right = &odd;
  ZQQualifierStruct andQ{};
  andQ.operation = ZQ_COND_OP_AND;
  andQ.u.andOr.left = &notQ;
  andQ.u.andOr.right = &orQ;

  EXPECT_EQ(printToString(andQ),
            "Qualifier Struct:\n"
            "   Operation: AND\n"
            "   Qualifier Struct:\n"
            "      Operation: NOT\n"
            "      Qualifier Struct:\n"
            "         Operation: RELATIONAL OPERATION\n"
            "         Relational Operation:\n"
            "            Operation: EQUAL\n"
            "            Field, Value, or Arithmetic Struct:\n"
            "               Tag: FIELD\n"
            "               Field Id: 1\n"
            "            Field, Value, or Arithmetic Struct:\n"
            "               Tag: VALUE\n"
            "               Value: (char) x\n"
            "   Qualifier Struct:\n"
            "      Operation: OR\n"
            "      Qualifier Struct:\n"
            "         Operation: RELATIONAL OPERATION\n"
            "         Relational Operation:\n"
            "            Operation: GREATER\n"
            "            Field, Value, or Arithmetic Struct:\n"
            "               Tag: ARITHMETIC\n"
            "               Arithmetic Operation:\n"
            "                  Operation: ADD\n"
            "                  Field, Value, or Arithmetic Struct:\n"
            "                     Tag: FIELD TRAN\n"
            "                     Field Id: 2\n"
            "                  Field, Value, or Arithmetic Struct:\n"
            "                     Tag: VALUE\n"
            "                     Value: (integer) 3\n"
            "            Field, Value, or Arithmetic Struct:\n"
            "               Tag: STAT HISTORY\n"
            "               Enumerated value index: 4\n"
            "               User or Time: USER\n"
            "      Qualifier Struct:\n"
            "         Operation: <undefined operation = 9>\n");

  ZQQualifierStruct none{};
  EXPECT_EQ(printToString(none, "  "), "  Qualifier Struct:\n     Operation: <none>\n");
  // Operation 5 has no word; an AND missing a side prints what is there.
  ZQQualifierStruct fromField{};
  fromField.operation = ZQ_COND_OP_FROM_FIELD;
  fromField.u.fieldId = 7;
  EXPECT_EQ(printToString(fromField),
            "Qualifier Struct:\n   Operation: <undefined operation = 5>\n");
  ZQQualifierStruct halfAnd{};
  halfAnd.operation = ZQ_COND_OP_AND;
  halfAnd.u.andOr.right = &none;
  EXPECT_EQ(
      printToString(halfAnd),
      "Qualifier Struct:\n   Operation: AND\n   Qualifier Struct:\n      Operation: <none>\n");
}

TEST(PrintQualifier, OperandsOfEveryTag) {
  ZQValueStruct setValues[2] = {};
  setValues[0].dataType = ZQ_DATA_TYPE_INTEGER;
  setValues[0].u.integerValue = 1;
  setValues[1].dataType = ZQ_DATA_TYPE_INTEGER;
  setValues[1].u.integerValue = 2;
  ZQFieldValueOrArithStruct valueSet{};
  valueSet.tag = ZQ_VALUE_SET;
  valueSet.u.valueSet = {2, setValues};
  ZQCurrencyPartStruct part{8, 4, "USD"};
  ZQFieldValueOrArithStruct currency{};
  currency.tag = ZQ_CURRENCY_FLD_DB;
  currency.u.currencyField = &part;
  ZQQualifierStruct none{};
  ZQQueryStruct query{"Orders", "srv", &none, 9, ZQ_QUERY_VALUE_MULTI_FIRST};
  ZQFieldValueOrArithStruct inQuery{};
  inQuery.tag = ZQ_QUERY;
  inQuery.u.query = &query;
  ZQFieldValueOrArithStruct variable{};
  variable.tag = ZQ_LOCAL_VARIABLE;
  variable.u.variable = 3;
  ZQArithOpStruct negate{ZQ_ARITH_OP_NEGATE, field(ZQ_FIELD, 77), field(ZQ_FIELD_DB, 5)};
  ZQFieldValueOrArithStruct negated{};
  negated.tag = ZQ_ARITHMETIC;
  negated.u.arithOp = &negate;

  const struct {
    ZQFieldValueOrArithStruct operand;
    const char* printed;
  } cases[] = {
      {field(ZQ_FIELD_CURRENT, 6),
       "Field, Value, or Arithmetic Struct:\n   Tag: FIELD (current screen)\n   Field Id: 6\n"},
      {field(ZQ_FIELD_DB, 6),
       "Field, Value, or Arithmetic Struct:\n   Tag: FIELD DB\n   Field Id: 6\n"},
      {valueSet,
       "Field, Value, or Arithmetic Struct:\n   Tag: VALUE SET\n   Value List: 2 items\n"
       "      Value: (integer) 1\n      Value: (integer) 2\n"},
      {currency,
       "Field, Value, or Arithmetic Struct:\n   Tag: CURRENCY FIELD DB\n   Field Id: 8\n"
       "   Currency part tag: 4\n   Currency Code: USD\n"},
      {inQuery,
       "Field, Value, or Arithmetic Struct:\n   Tag: QUERY\n   Query Schema: Orders\n"
       "   Query Server: srv\n   Qualifier Struct:\n      Operation: <none>\n"
       "   Value Field Id: 9\n   Multi Value Code: FIRST\n"},
      {variable,
       "Field, Value, or Arithmetic Struct:\n   Tag: LOCAL VARIABLE\n"
       "   Local Variable number: 3\n"},
      // NEGATE prints its right operand only.
      {negated,
       "Field, Value, or Arithmetic Struct:\n   Tag: ARITHMETIC\n   Arithmetic Operation:\n"
       "      Operation: NEGATE (unary minus)\n      Field, Value, or Arithmetic Struct:\n"
       "         Tag: FIELD DB\n         Field Id: 5\n"},
      {field(17, 4),
       "Field, Value, or Arithmetic Struct:\n   Tag: <undefined tag value = 17>\n"
       "   Field Id: 4\n"},
      {field(40, 4), "Field, Value, or Arithmetic Struct:\n   Tag: <undefined tag value = 40>\n"},
  };
  for (const auto& c : cases) EXPECT_EQ(printToString(c.operand), c.printed) << c.operand.tag;
}

// The left operand of NEGATE belongs to nobody and may hold anything: it is
// never read.
TEST(PrintQualifier, NegateLeavesItsLeftOperandAlone) {
  ZQMultiSchemaArithOpStruct negate{};
  negate.operation = ZQ_ARITH_OP_NEGATE;
  negate.left.tag = ZQ_ARITHMETIC;
  negate.left.u.arithOp = reinterpret_cast<ZQMultiSchemaArithOpStruct*>(uintptr_t{8});
  negate.right.tag = ZQ_FIELD;
  negate.right.u.fieldId = {"F", 7};
  EXPECT_EQ(printToString(negate),
            "   Operation: 6\n"
            "   Right:\n"
            "   Tag: 1\n"
            "   Field Id:\n"
            "   Query From Alias: F\n"
            "   Field Id: 7\n");
}

TEST(PrintAssign, EveryAssignmentKind) {
  ZQAssignStruct value{};
  value.assignType = ZQ_ASSIGN_TYPE_VALUE;
  value.u.value.dataType = ZQ_DATA_TYPE_INTEGER;
  value.u.value.u.integerValue = 5;
  EXPECT_EQ(printToString(value), "Assign Value: VALUE\n   Value: (integer) 5\n");

  ZQAssignStruct process{};
  process.assignType = ZQ_ASSIGN_TYPE_PROCESS;
  process.u.process = const_cast<char*>("echo hi");
  EXPECT_EQ(printToString(process), "Assign Value: PROCESS\n   Process: echo hi\n");

  ZQAssignFieldStruct source{};
  strcpy(source.server, "srv");
  strcpy(source.schema, "Orders");
  source.tag = ZQ_FIELD;
  source.u.fieldId = 8;
  source.noMatchOption = ZQ_NO_MATCH_NULL;
  source.multiMatchOption = ZQ_MULTI_MATCH_PICKLIST;
  ZQAssignStruct fromField{};
  fromField.assignType = ZQ_ASSIGN_TYPE_FIELD;
  fromField.u.field = &source;
  EXPECT_EQ(printToString(fromField),
            "Assign Value: FIELD\n"
            "   Server: srv\n"
            "   Schema: Orders\n"
            "   Qualifier Struct:\n"
            "      Operation: <none>\n"
            "   Tag: FIELD\n"
            "   Field Id: 8\n"
            "   No Match Option: NULL\n"
            "   Multi Match Option: PICKLIST\n");

  ZQAssignStruct arguments[2] = {value, process};
  ZQFunctionAssignStruct function{16, 2, arguments};
  ZQAssignStruct call{};
  call.assignType = ZQ_ASSIGN_TYPE_FUNCTION;
  call.u.function = &function;
  EXPECT_EQ(printToString(call),
            "Assign Value: FUNCTION\n"
            "   Function:\n"
            "      Function code: SUBSTR\n"
            "      Function arguments: 2 items\n"
            "      Assign Value: VALUE\n"
            "         Value: (integer) 5\n"
            "      Assign Value: PROCESS\n"
            "         Process: echo hi\n");
  function.functionCode = 28;
  function.count = 0;
  EXPECT_EQ(printToString(call),
            "Assign Value: FUNCTION\n   Function:\n      Function code: <undefined function = 28>\n"
            "      Function arguments: 0 items\n");

  ZQArithOpAssignStruct minus{ZQ_ARITH_OP_SUBTRACT, value, process};
  ZQAssignStruct arith{};
  arith.assignType = ZQ_ASSIGN_TYPE_ARITH;
  arith.u.arithOp = &minus;
  EXPECT_EQ(printToString(arith),
            "Assign Value: ARITH\n"
            "   Arithmetic Operation:\n"
            "      Operation: SUBTRACT\n"
            "   Left operand:\n"
            "      Assign Value: VALUE\n"
            "         Value: (integer) 5\n"
            "   Right operand:\n"
            "      Assign Value: PROCESS\n"
            "         Process: echo hi\n");

  ZQAssignSQLStruct sql{"db", const_cast<char*>("select 1"), 2, ZQ_NO_MATCH_ERROR,
                        ZQ_MULTI_MATCH_FIRST};
  ZQAssignStruct fromSql{};
  fromSql.assignType = ZQ_ASSIGN_TYPE_SQL;
  fromSql.u.sql = &sql;
  EXPECT_EQ(printToString(fromSql),
            "Assign Value: SQL\n   Server: db\n   SQL Command: select 1\n   Value Index: 2\n"
            "   No Match Option: ERROR\n   Multi Match Option: FIRST\n");

  ZQAssignFilterApiStruct api{"Plugin", 1, &value, 3};
  ZQAssignStruct fromApi{};
  fromApi.assignType = ZQ_ASSIGN_TYPE_FILTER_API;
  fromApi.u.filterApi = &api;
  EXPECT_EQ(printToString(fromApi),
            "Assign Value: FILTER API\n"
            "      Assign Filter Api Struct\n"
            "      Service Name: Plugin\n"
            "   Input Values List:\n"
            "   Assign List: 1 items\n"
            "      Assign Value: VALUE\n"
            "         Value: (integer) 5\n"
            "   Value Index: 3\n");

  ZQDDEStruct dde{const_cast<char*>("svc"), const_cast<char*>("topic"), nullptr, 1, nullptr,
                  const_cast<char*>("run")};
  ZQAssignStruct fromDde{};
  fromDde.assignType = ZQ_ASSIGN_TYPE_DDE;
  fromDde.u.dde = &dde;
  EXPECT_EQ(printToString(fromDde),
            "Assign Value: DDE\n   DDE Struct:\n      Service name: svc\n      Topic: topic\n"
            "      Item:\n      Action: 1\n      Path to Program:\n      Command: run\n");

  ZQAssignStruct odd{};
  odd.assignType = 12;
  EXPECT_EQ(printToString(odd), "Assign Value: <undefined assign type tag = 12>\n");
}

TEST(PrintAssign, FieldAssignLists) {
  ZQFieldAssignStruct items[1] = {};
  items[0].fieldId = 536870913;
  items[0].assignment.assignType = ZQ_ASSIGN_TYPE_NONE;
  ZQFieldAssignList list{1, items};
  EXPECT_EQ(printToString(list, "# "),
            "# Field Assign List: 1 items\n"
            "#    Field Assign Struct:\n"
            "#       Field Id: 536870913\n"
            "#       Assign Value: NONE\n");
}
