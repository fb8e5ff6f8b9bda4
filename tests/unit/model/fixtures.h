// Test helper: sample structures of every core and qualification type, built
// on the library heap so that the Free family releases them.
#pragma once

#include <cstring>
#include <initializer_list>
#include <string>

#include "frame/alloc.h"
#include "zqapi/zqapi.h"

namespace zqtest::fx {

inline char* str(const char* s) {
  return zq::dupString(s);
}

template <class T>
T* node(const T& value) {
  auto* p = static_cast<T*>(ZQAlloc(sizeof(T)));
  memcpy(static_cast<void*>(p), &value, sizeof(T));
  return p;
}

template <class T>
T* array(std::initializer_list<T> items) {
  auto* p = static_cast<T*>(ZQCalloc(items.size() ? items.size() : 1, sizeof(T)));
  size_t i = 0;
  for (const T& item : items) memcpy(static_cast<void*>(&p[i++]), &item, sizeof(T));
  return p;
}

template <size_t M>
void setName(char (&dst)[M], const char* src) {
  memset(dst, 0, M);
  memcpy(dst, src, strnlen(src, M - 1));
}

// ---- values --------------------------------------------------------------------

inline ZQValueStruct intValue(int32_t v) {
  ZQValueStruct s{};
  s.dataType = ZQ_DATA_TYPE_INTEGER;
  s.u.integerValue = v;
  return s;
}

inline ZQValueStruct charValue(const char* text, uint32_t type = ZQ_DATA_TYPE_CHAR) {
  ZQValueStruct s{};
  s.dataType = type;
  s.u.charValue = str(text);
  return s;
}

inline ZQValueStruct realValue(double d) {
  ZQValueStruct s{};
  s.dataType = ZQ_DATA_TYPE_REAL;
  s.u.realValue = d;
  return s;
}

inline ZQValueStruct wordValue(uint32_t type, uint32_t word) {
  ZQValueStruct s{};
  s.dataType = type;
  s.u.ulongValue = word;
  return s;
}

inline ZQValueStruct byteListValue(std::initializer_list<unsigned char> bytes, uint32_t type = 7) {
  ZQByteList b{};
  b.type = type;
  b.count = static_cast<uint32_t>(bytes.size());
  b.bytes = bytes.size() ? array(bytes) : nullptr;
  ZQValueStruct s{};
  s.dataType = ZQ_DATA_TYPE_BYTES;
  s.u.byteListValue = node(b);
  return s;
}

inline ZQValueStruct coordValue() {
  ZQCoordList c{};
  c.count = 2;
  c.items = array<ZQCoordStruct>({{1, -2}, {300, 40000}});
  ZQValueStruct s{};
  s.dataType = ZQ_DATA_TYPE_COORDS;
  s.u.coordListValue = node(c);
  return s;
}

inline ZQCurrencyStruct currency() {
  ZQCurrencyStruct c{};
  c.value = str("12.50");
  setName(c.currencyCode, "EUR");
  c.conversionDate = 1262304000;
  c.functionalCurrencies.count = 2;
  ZQFunctionalCurrencyStruct a{}, b{};
  a.value = str("13.75");
  setName(a.currencyCode, "USD");
  b.value = nullptr;
  setName(b.currencyCode, "GBP");
  c.functionalCurrencies.items = array({a, b});
  return c;
}

inline ZQValueStruct currencyValue() {
  ZQValueStruct s{};
  s.dataType = ZQ_DATA_TYPE_CURRENCY;
  s.u.currencyValue = node(currency());
  return s;
}

inline ZQValueStruct attachValue(uint32_t locationType, std::initializer_list<unsigned char> bytes,
                                 const char* filename = "/tmp/report.txt") {
  ZQAttachStruct a{};
  a.name = str("report.txt");
  a.originalSize = 100;
  a.compressedSize = static_cast<int32_t>(bytes.size());
  a.location.locationType = locationType;
  if (locationType == ZQ_LOC_FILENAME) a.location.u.filename = str(filename);
  if (locationType == ZQ_LOC_BUFFER) {
    a.location.u.buffer.size = static_cast<uint32_t>(bytes.size());
    a.location.u.buffer.bytes = bytes.size() ? array(bytes) : nullptr;
  }
  ZQValueStruct s{};
  s.dataType = ZQ_DATA_TYPE_ATTACH;
  s.u.attachmentValue = node(a);
  return s;
}

inline ZQValueList mixedValues() {
  ZQValueList l{};
  l.count = 6;
  l.items = array({intValue(-5), charValue("text"), realValue(2.5), currencyValue(),
                   wordValue(ZQ_DATA_TYPE_ENUM, 3), ZQValueStruct{}});
  return l;
}

inline ZQFieldValueList fieldValues() {
  ZQFieldValueList l{};
  ZQFieldValueStruct a{1, charValue("Demo")}, b{7, wordValue(ZQ_DATA_TYPE_ENUM, 2)},
      c{102, charValue("secret")}, d{536870913, byteListValue({1, 2, 3})};
  l.count = 4;
  l.items = array({a, b, c, d});
  return l;
}

// ---- identifiers ----------------------------------------------------------------

inline ZQNameList names(std::initializer_list<const char*> list) {
  ZQNameList l{};
  l.count = static_cast<uint32_t>(list.size());
  l.items = static_cast<ZQNameType*>(ZQCalloc(list.size() ? list.size() : 1, sizeof(ZQNameType)));
  size_t i = 0;
  for (const char* n : list) setName(l.items[i++], n);
  return l;
}

inline ZQAccessNameList accessNames(std::initializer_list<const char*> list) {
  ZQNameList n = names(list);
  return ZQAccessNameList{n.count, reinterpret_cast<ZQAccessNameType*>(n.items)};
}

inline ZQEntryIdList entryIds(std::initializer_list<const char*> list) {
  ZQEntryIdList l{};
  l.count = static_cast<uint32_t>(list.size());
  l.items =
      static_cast<ZQEntryIdType*>(ZQCalloc(list.size() ? list.size() : 1, sizeof(ZQEntryIdType)));
  size_t i = 0;
  for (const char* n : list) setName(l.items[i++], n);
  return l;
}

inline ZQPropList props() {
  ZQPropList l{};
  l.count = 2;
  l.items = array<ZQPropStruct>({{20, charValue("Label")}, {5, intValue(9)}});
  return l;
}

// ---- qualifications ----------------------------------------------------------------

inline ZQFieldValueOrArithStruct fieldOperand(uint32_t id, uint32_t tag = ZQ_FIELD) {
  ZQFieldValueOrArithStruct o{};
  o.tag = tag;
  o.u.fieldId = id;
  return o;
}

inline ZQFieldValueOrArithStruct valueOperand(ZQValueStruct v) {
  ZQFieldValueOrArithStruct o{};
  o.tag = ZQ_VALUE;
  o.u.value = v;
  return o;
}

inline ZQQualifierStruct relation(uint32_t op, ZQFieldValueOrArithStruct left,
                                  ZQFieldValueOrArithStruct right) {
  ZQRelOpStruct r{op, left, right};
  ZQQualifierStruct q{};
  q.operation = ZQ_COND_OP_REL_OP;
  q.u.relation = node(r);
  return q;
}

inline ZQQualifierStruct both(uint32_t op, ZQQualifierStruct left, ZQQualifierStruct right) {
  ZQQualifierStruct q{};
  q.operation = op;
  q.u.andOr.left = node(left);
  q.u.andOr.right = node(right);
  return q;
}

inline ZQQualifierStruct negation(ZQQualifierStruct operand) {
  ZQQualifierStruct q{};
  q.operation = ZQ_COND_OP_NOT;
  q.u.operand = node(operand);
  return q;
}

inline ZQFieldValueOrArithStruct arithOperand(uint32_t op, ZQFieldValueOrArithStruct left,
                                              ZQFieldValueOrArithStruct right) {
  ZQArithOpStruct a{op, left, right};
  ZQFieldValueOrArithStruct o{};
  o.tag = ZQ_ARITHMETIC;
  o.u.arithOp = node(a);
  return o;
}

inline ZQFieldValueOrArithStruct currencyOperand(uint32_t tag = ZQ_CURRENCY_FLD) {
  ZQCurrencyPartStruct c{};
  c.fieldId = 536870920;
  c.partTag = 4;
  setName(c.currencyCode, "JPY");
  ZQFieldValueOrArithStruct o{};
  o.tag = tag;
  o.u.currencyField = node(c);
  return o;
}

inline ZQFieldValueOrArithStruct queryOperand(ZQQualifierStruct* qualifier) {
  ZQQueryStruct q{};
  setName(q.schema, "Other Form");
  setName(q.server, "remote");
  q.qualifier = qualifier;
  q.valueFieldId = 8;
  q.multiValueCode = ZQ_QUERY_VALUE_MULTI_FIRST;
  ZQFieldValueOrArithStruct o{};
  o.tag = ZQ_QUERY;
  o.u.query = node(q);
  return o;
}

inline ZQFieldValueOrArithStruct valueSetOperand() {
  ZQFieldValueOrArithStruct o{};
  o.tag = ZQ_VALUE_SET;
  o.u.valueSet = mixedValues();
  return o;
}

inline ZQFieldValueOrArithStruct statHistoryOperand() {
  ZQFieldValueOrArithStruct o{};
  o.tag = ZQ_STAT_HISTORY;
  o.u.statHistory = {2, ZQ_STAT_HISTORY_TIME};
  return o;
}

// A tree using every operation and operand tag of version 7.
inline ZQQualifierStruct richQualifier() {
  ZQQualifierStruct inner = relation(ZQ_REL_OP_EQUAL, fieldOperand(1), valueOperand(intValue(3)));
  ZQFieldValueOrArithStruct negate =
      arithOperand(ZQ_ARITH_OP_NEGATE, ZQFieldValueOrArithStruct{}, fieldOperand(7, ZQ_FIELD_DB));
  return both(
      ZQ_COND_OP_OR,
      both(ZQ_COND_OP_AND,
           relation(ZQ_REL_OP_LIKE, fieldOperand(8, ZQ_FIELD_TRAN), valueOperand(charValue("%a%"))),
           negation(relation(ZQ_REL_OP_IN, statHistoryOperand(), valueSetOperand()))),
      both(ZQ_COND_OP_AND,
           relation(ZQ_REL_OP_LESS, arithOperand(ZQ_ARITH_OP_ADD, fieldOperand(3, 15), negate),
                    queryOperand(node(inner))),
           relation(ZQ_REL_OP_NOT_EQUAL, fieldOperand(52, ZQ_LOCAL_VARIABLE),
                    fieldOperand(4, ZQ_FIELD_CURRENT))));
}

// ---- assignments --------------------------------------------------------------------

inline ZQAssignStruct valueAssign(ZQValueStruct v) {
  ZQAssignStruct a{};
  a.assignType = ZQ_ASSIGN_TYPE_VALUE;
  a.u.value = v;
  return a;
}

inline ZQAssignStruct fieldAssign(uint32_t tag = ZQ_FIELD) {
  ZQAssignFieldStruct f{};
  setName(f.server, "srv");
  setName(f.schema, "Source Form");
  f.qualifier = relation(ZQ_REL_OP_EQUAL, fieldOperand(1), valueOperand(charValue("x")));
  f.tag = tag;
  if (tag == ZQ_FIELD) f.u.fieldId = 536870999;
  if (tag == ZQ_STAT_HISTORY) f.u.statHistory = {1, ZQ_STAT_HISTORY_USER};
  if (tag == ZQ_CURRENCY_FLD) f.u.currencyField = currencyOperand().u.currencyField;
  f.noMatchOption = ZQ_NO_MATCH_NULL;
  f.multiMatchOption = ZQ_MULTI_MATCH_FIRST;
  ZQAssignStruct a{};
  a.assignType = ZQ_ASSIGN_TYPE_FIELD;
  a.u.field = node(f);
  return a;
}

inline ZQAssignStruct processAssign(const char* command) {
  ZQAssignStruct a{};
  a.assignType = ZQ_ASSIGN_TYPE_PROCESS;
  a.u.process = str(command);
  return a;
}

inline ZQAssignStruct arithAssign(uint32_t op, ZQAssignStruct left, ZQAssignStruct right) {
  ZQArithOpAssignStruct x{op, left, right};
  ZQAssignStruct a{};
  a.assignType = ZQ_ASSIGN_TYPE_ARITH;
  a.u.arithOp = node(x);
  return a;
}

inline ZQAssignStruct functionAssign() {
  ZQFunctionAssignStruct f{};
  f.functionCode = 16;  // SUBSTR
  f.count = 3;
  f.items = array({fieldAssign(), valueAssign(intValue(0)), valueAssign(intValue(4))});
  ZQAssignStruct a{};
  a.assignType = ZQ_ASSIGN_TYPE_FUNCTION;
  a.u.function = node(f);
  return a;
}

inline ZQAssignStruct ddeAssign() {
  ZQDDEStruct d{str("excel"), str("sheet1"), nullptr, 2, str("C:\\x.exe"), str("run")};
  ZQAssignStruct a{};
  a.assignType = ZQ_ASSIGN_TYPE_DDE;
  a.u.dde = node(d);
  return a;
}

inline ZQAssignStruct sqlAssign() {
  ZQAssignSQLStruct q{};
  setName(q.server, "db");
  q.sqlCommand = str("select 1");
  q.valueIndex = 1;
  q.noMatchOption = ZQ_NO_MATCH_ERROR;
  q.multiMatchOption = ZQ_MULTI_MATCH_PICKLIST;
  ZQAssignStruct a{};
  a.assignType = ZQ_ASSIGN_TYPE_SQL;
  a.u.sql = node(q);
  return a;
}

inline ZQAssignStruct filterApiAssign() {
  ZQAssignFilterApiStruct f{};
  setName(f.serviceName, "plugin");
  f.count = 2;
  f.items = array({valueAssign(charValue("in")), processAssign("echo")});
  f.valueIndex = 3;
  ZQAssignStruct a{};
  a.assignType = ZQ_ASSIGN_TYPE_FILTER_API;
  a.u.filterApi = node(f);
  return a;
}

}  // namespace zqtest::fx
