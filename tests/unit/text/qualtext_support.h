// Builders and a deep comparison for qualification and assignment trees in
// tests. Every node comes from the library heap, so that the Free family
// releases trees built here exactly as it releases decoded ones.
#pragma once

#include <cstring>
#include <initializer_list>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "frame/alloc.h"
#include "zqapi/zqapi.h"

namespace qt {

template <class T>
T* node() {
  auto* p = static_cast<T*>(ZQCalloc(1, sizeof(T)));
  if (!p) abort();
  return p;
}

inline char* str(const char* s) {
  return zq::dupString(s);
}

// ---- values ------------------------------------------------------------------
inline ZQValueStruct nullValue() {
  return ZQValueStruct{};
}
inline ZQValueStruct keyword(uint32_t n) {
  ZQValueStruct v{};
  v.dataType = ZQ_DATA_TYPE_KEYWORD;
  v.u.keywordNumber = n;
  return v;
}
inline ZQValueStruct integer(int32_t n) {
  ZQValueStruct v{};
  v.dataType = ZQ_DATA_TYPE_INTEGER;
  v.u.integerValue = n;
  return v;
}
inline ZQValueStruct real(double d) {
  ZQValueStruct v{};
  v.dataType = ZQ_DATA_TYPE_REAL;
  v.u.realValue = d;
  return v;
}
// Types whose payload is one string: char, diary, decimal, view, display.
inline ZQValueStruct text(uint32_t type, const char* s) {
  ZQValueStruct v{};
  v.dataType = type;
  v.u.charValue = str(s);
  return v;
}
inline ZQValueStruct chars(const char* s) {
  return text(ZQ_DATA_TYPE_CHAR, s);
}
// Types whose payload is one 32-bit word.
inline ZQValueStruct word(uint32_t type, uint32_t n) {
  ZQValueStruct v{};
  v.dataType = type;
  v.u.ulongValue = n;
  return v;
}
inline ZQValueStruct bytes(uint32_t kind, std::initializer_list<unsigned char> data) {
  ZQValueStruct v{};
  v.dataType = ZQ_DATA_TYPE_BYTES;
  auto* b = node<ZQByteList>();
  b->type = kind;
  if (data.size()) {
    b->count = static_cast<uint32_t>(data.size());
    b->bytes = static_cast<unsigned char*>(ZQAlloc(data.size()));
    memcpy(b->bytes, data.begin(), data.size());
  }
  v.u.byteListValue = b;
  return v;
}
inline ZQValueStruct attachment(const char* name, int32_t orig, int32_t comp,
                                std::initializer_list<unsigned char> buffer = {}) {
  ZQValueStruct v{};
  v.dataType = ZQ_DATA_TYPE_ATTACH;
  auto* a = node<ZQAttachStruct>();
  a->name = str(name);
  a->originalSize = orig;
  a->compressedSize = comp;
  if (buffer.size()) {
    a->location.locationType = ZQ_LOC_BUFFER;
    a->location.u.buffer.size = static_cast<uint32_t>(buffer.size());
    a->location.u.buffer.bytes = static_cast<unsigned char*>(ZQAlloc(buffer.size()));
    memcpy(a->location.u.buffer.bytes, buffer.begin(), buffer.size());
  }
  v.u.attachmentValue = a;
  return v;
}
struct Functional {
  const char* value;
  const char* code;
};
inline ZQValueStruct currency(const char* amount, const char* code, int32_t date,
                              std::initializer_list<Functional> functional = {}) {
  ZQValueStruct v{};
  v.dataType = ZQ_DATA_TYPE_CURRENCY;
  auto* c = node<ZQCurrencyStruct>();
  c->value = str(amount);
  memcpy(c->currencyCode, code, strnlen(code, 3));
  c->conversionDate = date;
  if (functional.size()) {
    c->functionalCurrencies.count = static_cast<uint32_t>(functional.size());
    c->functionalCurrencies.items = static_cast<ZQFunctionalCurrencyStruct*>(
        ZQCalloc(functional.size(), sizeof(ZQFunctionalCurrencyStruct)));
    size_t i = 0;
    for (const auto& f : functional) {
      c->functionalCurrencies.items[i].value = str(f.value);
      memcpy(c->functionalCurrencies.items[i].currencyCode, f.code, strnlen(f.code, 3));
      ++i;
    }
  }
  v.u.currencyValue = c;
  return v;
}
inline ZQValueStruct coords(std::initializer_list<ZQCoordStruct> points) {
  ZQValueStruct v{};
  v.dataType = ZQ_DATA_TYPE_COORDS;
  auto* c = node<ZQCoordList>();
  if (points.size()) {
    c->count = static_cast<uint32_t>(points.size());
    c->items = static_cast<ZQCoordStruct*>(ZQAlloc(points.size() * sizeof(ZQCoordStruct)));
    memcpy(c->items, points.begin(), points.size() * sizeof(ZQCoordStruct));
  }
  v.u.coordListValue = c;
  return v;
}

// ---- operands ------------------------------------------------------------------
using Operand = ZQFieldValueOrArithStruct;

inline Operand field(ZQInternalId id, uint32_t tag = ZQ_FIELD) {
  Operand o{};
  o.tag = tag;
  o.u.fieldId = id;
  return o;
}
inline Operand value(ZQValueStruct v) {
  Operand o{};
  o.tag = ZQ_VALUE;
  o.u.value = v;
  return o;
}
inline Operand arith(uint32_t op, Operand left, Operand right) {
  Operand o{};
  o.tag = ZQ_ARITHMETIC;
  o.u.arithOp = node<ZQArithOpStruct>();
  o.u.arithOp->operation = op;
  if (op != ZQ_ARITH_OP_NEGATE) o.u.arithOp->left = left;
  o.u.arithOp->right = right;
  return o;
}
inline Operand statHistory(uint32_t index, uint32_t userOrTime) {
  Operand o{};
  o.tag = ZQ_STAT_HISTORY;
  o.u.statHistory = {index, userOrTime};
  return o;
}
inline Operand valueSet(std::initializer_list<ZQValueStruct> values) {
  Operand o{};
  o.tag = ZQ_VALUE_SET;
  o.u.valueSet.count = static_cast<uint32_t>(values.size());
  o.u.valueSet.items = static_cast<ZQValueStruct*>(ZQAlloc(values.size() * sizeof(ZQValueStruct)));
  memcpy(o.u.valueSet.items, values.begin(), values.size() * sizeof(ZQValueStruct));
  return o;
}
inline ZQCurrencyPartStruct* currencyPart(ZQInternalId id, uint32_t part, const char* code = "") {
  auto* p = node<ZQCurrencyPartStruct>();
  p->fieldId = id;
  p->partTag = part;
  memcpy(p->currencyCode, code, strnlen(code, 3));
  return p;
}
inline Operand currencyField(ZQInternalId id, uint32_t part, const char* code = "",
                             uint32_t tag = ZQ_CURRENCY_FLD) {
  Operand o{};
  o.tag = tag;
  o.u.currencyField = currencyPart(id, part, code);
  return o;
}
inline Operand localVariable(uint32_t n) {
  Operand o{};
  o.tag = ZQ_LOCAL_VARIABLE;
  o.u.variable = n;
  return o;
}
inline Operand query(const char* form, const char* server, ZQQualifierStruct* qual,
                     ZQInternalId valueField, uint32_t multi) {
  Operand o{};
  o.tag = ZQ_QUERY;
  auto* q = node<ZQQueryStruct>();
  strncpy(q->schema, form, ZQ_MAX_NAME_SIZE);
  strncpy(q->server, server, ZQ_MAX_SERVER_SIZE);
  q->qualifier = qual;
  q->valueFieldId = valueField;
  q->multiValueCode = multi;
  o.u.query = q;
  return o;
}

// ---- qualifications ---------------------------------------------------------------
inline ZQQualifierStruct* rel(uint32_t op, Operand left, Operand right) {
  auto* q = node<ZQQualifierStruct>();
  q->operation = ZQ_COND_OP_REL_OP;
  q->u.relation = node<ZQRelOpStruct>();
  q->u.relation->operation = op;
  q->u.relation->left = left;
  q->u.relation->right = right;
  return q;
}
inline ZQQualifierStruct* both(uint32_t op, ZQQualifierStruct* l, ZQQualifierStruct* r) {
  auto* q = node<ZQQualifierStruct>();
  q->operation = op;
  q->u.andOr.left = l;
  q->u.andOr.right = r;
  return q;
}
inline ZQQualifierStruct* andq(ZQQualifierStruct* l, ZQQualifierStruct* r) {
  return both(ZQ_COND_OP_AND, l, r);
}
inline ZQQualifierStruct* orq(ZQQualifierStruct* l, ZQQualifierStruct* r) {
  return both(ZQ_COND_OP_OR, l, r);
}
inline ZQQualifierStruct* notq(ZQQualifierStruct* q) {
  auto* n = node<ZQQualifierStruct>();
  n->operation = ZQ_COND_OP_NOT;
  n->u.operand = q;
  return n;
}
inline ZQQualifierStruct* fromField(ZQInternalId id) {
  auto* q = node<ZQQualifierStruct>();
  q->operation = ZQ_COND_OP_FROM_FIELD;
  q->u.fieldId = id;
  return q;
}

struct QualDeleter {
  void operator()(ZQQualifierStruct* q) const { FreeZQQualifierStruct(q, 1); }
};
using Qual = std::unique_ptr<ZQQualifierStruct, QualDeleter>;

// ---- assignments --------------------------------------------------------------------
inline ZQAssignStruct assignValue(ZQValueStruct v) {
  ZQAssignStruct a{};
  a.assignType = ZQ_ASSIGN_TYPE_VALUE;
  a.u.value = v;
  return a;
}
inline ZQAssignStruct assignProcess(const char* command) {
  ZQAssignStruct a{};
  a.assignType = ZQ_ASSIGN_TYPE_PROCESS;
  a.u.process = str(command);
  return a;
}
// qual is moved into the field source (the pointer's node is released).
inline ZQAssignStruct assignField(const char* server, const char* form, uint32_t tag,
                                  ZQInternalId id, ZQQualifierStruct* qual, uint32_t noMatch,
                                  uint32_t multiMatch) {
  ZQAssignStruct a{};
  a.assignType = ZQ_ASSIGN_TYPE_FIELD;
  auto* f = node<ZQAssignFieldStruct>();
  strncpy(f->server, server, ZQ_MAX_SERVER_SIZE);
  strncpy(f->schema, form, ZQ_MAX_NAME_SIZE);
  f->tag = tag;
  f->u.fieldId = id;
  if (qual) {
    f->qualifier = *qual;
    ZQFree(qual);
  }
  f->noMatchOption = noMatch;
  f->multiMatchOption = multiMatch;
  a.u.field = f;
  return a;
}
inline ZQAssignStruct assignArith(uint32_t op, ZQAssignStruct left, ZQAssignStruct right) {
  ZQAssignStruct a{};
  a.assignType = ZQ_ASSIGN_TYPE_ARITH;
  a.u.arithOp = node<ZQArithOpAssignStruct>();
  a.u.arithOp->operation = op;
  if (op != ZQ_ARITH_OP_NEGATE) a.u.arithOp->left = left;
  a.u.arithOp->right = right;
  return a;
}
inline ZQAssignStruct* assignArray(std::initializer_list<ZQAssignStruct> items) {
  if (!items.size()) return nullptr;
  auto* p = static_cast<ZQAssignStruct*>(ZQAlloc(items.size() * sizeof(ZQAssignStruct)));
  memcpy(p, items.begin(), items.size() * sizeof(ZQAssignStruct));
  return p;
}
inline ZQAssignStruct assignFunction(uint32_t code, std::initializer_list<ZQAssignStruct> args) {
  ZQAssignStruct a{};
  a.assignType = ZQ_ASSIGN_TYPE_FUNCTION;
  a.u.function = node<ZQFunctionAssignStruct>();
  a.u.function->functionCode = code;
  a.u.function->count = static_cast<uint32_t>(args.size());
  a.u.function->items = assignArray(args);
  return a;
}
inline ZQAssignStruct assignDde(const char* service, const char* topic, const char* item,
                                uint32_t action, const char* path, const char* command) {
  ZQAssignStruct a{};
  a.assignType = ZQ_ASSIGN_TYPE_DDE;
  auto* d = node<ZQDDEStruct>();
  d->serviceName = str(service);
  d->topic = str(topic);
  d->item = str(item);
  d->action = action;
  d->pathToProgram = str(path);
  d->command = str(command);
  a.u.dde = d;
  return a;
}
inline ZQAssignStruct assignSql(const char* server, const char* command, uint32_t index,
                                uint32_t noMatch, uint32_t multiMatch) {
  ZQAssignStruct a{};
  a.assignType = ZQ_ASSIGN_TYPE_SQL;
  auto* s = node<ZQAssignSQLStruct>();
  strncpy(s->server, server, ZQ_MAX_SERVER_SIZE);
  s->sqlCommand = str(command);
  s->valueIndex = index;
  s->noMatchOption = noMatch;
  s->multiMatchOption = multiMatch;
  a.u.sql = s;
  return a;
}
inline ZQAssignStruct assignFilterApi(const char* service,
                                      std::initializer_list<ZQAssignStruct> inputs,
                                      uint32_t index) {
  ZQAssignStruct a{};
  a.assignType = ZQ_ASSIGN_TYPE_FILTER_API;
  auto* f = node<ZQAssignFilterApiStruct>();
  strncpy(f->serviceName, service, ZQ_MAX_NAME_SIZE);
  f->count = static_cast<uint32_t>(inputs.size());
  f->items = assignArray(inputs);
  f->valueIndex = index;
  a.u.filterApi = f;
  return a;
}

// Owns an assignment held inline.
struct Assign {
  ZQAssignStruct a;
  explicit Assign(ZQAssignStruct value = ZQAssignStruct{}) : a(value) {}
  ~Assign() { FreeZQAssignStruct(&a, 0); }
  Assign(const Assign&) = delete;
  Assign& operator=(const Assign&) = delete;
};

// ---- deep comparison: empty when equal, else the path of the first difference -----
class Compare {
 public:
  std::string result() const { return diff_; }

  void value(const ZQValueStruct& a, const ZQValueStruct& b, const std::string& at);
  void operand(const Operand& a, const Operand& b, const std::string& at);
  void qualifier(const ZQQualifierStruct* a, const ZQQualifierStruct* b, const std::string& at);
  void assign(const ZQAssignStruct& a, const ZQAssignStruct& b, const std::string& at);

 private:
  template <class T>
  bool same(const T& x, const T& y, const std::string& at) {
    if (!diff_.empty()) return false;
    if (x == y) return true;
    std::ostringstream s;
    s << at << ": " << x << " != " << y;
    diff_ = s.str();
    return false;
  }
  bool sameText(const char* x, const char* y, const std::string& at) {
    // An absent text and an empty one mean the same in the text form.
    return same(std::string(x ? x : ""), std::string(y ? y : ""), at);
  }
  std::string diff_;
};

inline void Compare::value(const ZQValueStruct& a, const ZQValueStruct& b, const std::string& at) {
  if (!same(a.dataType, b.dataType, at + ".dataType")) return;
  switch (a.dataType) {
    case ZQ_DATA_TYPE_REAL:
      same(a.u.realValue, b.u.realValue, at + ".real");
      break;
    case ZQ_DATA_TYPE_INTEGER:
      same(a.u.integerValue, b.u.integerValue, at + ".integer");
      break;
    case ZQ_DATA_TYPE_CHAR:
    case ZQ_DATA_TYPE_DIARY:
    case ZQ_DATA_TYPE_DECIMAL:
    case ZQ_DATA_TYPE_VIEW:
    case ZQ_DATA_TYPE_DISPLAY:
      sameText(a.u.charValue, b.u.charValue, at + ".text");
      break;
    case ZQ_DATA_TYPE_BYTES: {
      const ZQByteList &x = *a.u.byteListValue, &y = *b.u.byteListValue;
      if (!same(x.type, y.type, at + ".bytes.type") || !same(x.count, y.count, at + ".bytes.count"))
        return;
      for (uint32_t i = 0; i < x.count; ++i)
        same(int(x.bytes[i]), int(y.bytes[i]), at + ".bytes[" + std::to_string(i) + "]");
      break;
    }
    case ZQ_DATA_TYPE_ATTACH: {
      const ZQAttachStruct &x = *a.u.attachmentValue, &y = *b.u.attachmentValue;
      sameText(x.name, y.name, at + ".attach.name");
      same(x.originalSize, y.originalSize, at + ".attach.original");
      same(x.compressedSize, y.compressedSize, at + ".attach.compressed");
      if (!same(x.location.locationType, y.location.locationType, at + ".attach.loc")) return;
      if (x.location.locationType == ZQ_LOC_BUFFER) {
        const ZQBufStruct &p = x.location.u.buffer, &q = y.location.u.buffer;
        if (!same(p.size, q.size, at + ".attach.size")) return;
        for (uint32_t i = 0; i < p.size; ++i)
          same(int(p.bytes[i]), int(q.bytes[i]), at + ".attach.bytes");
      }
      break;
    }
    case ZQ_DATA_TYPE_CURRENCY: {
      const ZQCurrencyStruct &x = *a.u.currencyValue, &y = *b.u.currencyValue;
      sameText(x.value, y.value, at + ".currency.value");
      same(std::string(x.currencyCode), std::string(y.currencyCode), at + ".currency.code");
      same(x.conversionDate, y.conversionDate, at + ".currency.date");
      const auto &f = x.functionalCurrencies, &g = y.functionalCurrencies;
      if (!same(f.count, g.count, at + ".currency.functional")) return;
      for (uint32_t i = 0; i < f.count; ++i) {
        sameText(f.items[i].value, g.items[i].value, at + ".functional.value");
        same(std::string(f.items[i].currencyCode), std::string(g.items[i].currencyCode),
             at + ".functional.code");
      }
      break;
    }
    case ZQ_DATA_TYPE_COORDS: {
      const ZQCoordList &x = *a.u.coordListValue, &y = *b.u.coordListValue;
      if (!same(x.count, y.count, at + ".coords.count")) return;
      for (uint32_t i = 0; i < x.count; ++i) {
        same(x.items[i].x, y.items[i].x, at + ".coords.x");
        same(x.items[i].y, y.items[i].y, at + ".coords.y");
      }
      break;
    }
    case ZQ_DATA_TYPE_NULL:
      break;
    default:
      if (a.dataType <= ZQ_DATA_TYPE_TIME_OF_DAY || a.dataType == ZQ_DATA_TYPE_ULONG)
        same(a.u.ulongValue, b.u.ulongValue, at + ".word");
      break;
  }
}

inline void Compare::operand(const Operand& a, const Operand& b, const std::string& at) {
  if (!same(a.tag, b.tag, at + ".tag")) return;
  switch (a.tag) {
    case ZQ_VALUE:
      value(a.u.value, b.u.value, at + ".value");
      break;
    case ZQ_ARITHMETIC:
      if (!same(a.u.arithOp->operation, b.u.arithOp->operation, at + ".arith.op")) return;
      if (a.u.arithOp->operation != ZQ_ARITH_OP_NEGATE)
        operand(a.u.arithOp->left, b.u.arithOp->left, at + ".arith.left");
      operand(a.u.arithOp->right, b.u.arithOp->right, at + ".arith.right");
      break;
    case ZQ_STAT_HISTORY:
      same(a.u.statHistory.enumeratedValueIndex, b.u.statHistory.enumeratedValueIndex,
           at + ".index");
      same(a.u.statHistory.userOrTime, b.u.statHistory.userOrTime, at + ".userOrTime");
      break;
    case ZQ_VALUE_SET:
      if (!same(a.u.valueSet.count, b.u.valueSet.count, at + ".set.count")) return;
      for (uint32_t i = 0; i < a.u.valueSet.count; ++i)
        value(a.u.valueSet.items[i], b.u.valueSet.items[i], at + ".set[" + std::to_string(i) + "]");
      break;
    case ZQ_CURRENCY_FLD:
    case ZQ_CURRENCY_FLD_TRAN:
    case ZQ_CURRENCY_FLD_DB:
    case ZQ_CURRENCY_FLD_CURRENT: {
      const ZQCurrencyPartStruct &x = *a.u.currencyField, &y = *b.u.currencyField;
      same(x.fieldId, y.fieldId, at + ".currency.field");
      same(x.partTag, y.partTag, at + ".currency.part");
      if (x.partTag == 4)
        same(std::string(x.currencyCode), std::string(y.currencyCode), at + ".currency.code");
      break;
    }
    case ZQ_LOCAL_VARIABLE:
      same(a.u.variable, b.u.variable, at + ".variable");
      break;
    case ZQ_QUERY: {
      const ZQQueryStruct &x = *a.u.query, &y = *b.u.query;
      same(std::string(x.schema), std::string(y.schema), at + ".query.schema");
      same(std::string(x.server), std::string(y.server), at + ".query.server");
      same(x.valueFieldId, y.valueFieldId, at + ".query.valueField");
      same(x.multiValueCode, y.multiValueCode, at + ".query.multi");
      qualifier(x.qualifier, y.qualifier, at + ".query.qual");
      break;
    }
    default:
      same(a.u.fieldId, b.u.fieldId, at + ".fieldId");
      break;
  }
}

inline void Compare::qualifier(const ZQQualifierStruct* a, const ZQQualifierStruct* b,
                               const std::string& at) {
  // A missing qualification and one of operation 0 are the same condition.
  uint32_t opA = a ? a->operation : 0, opB = b ? b->operation : 0;
  if (!same(opA, opB, at + ".operation")) return;
  switch (opA) {
    case ZQ_COND_OP_AND:
    case ZQ_COND_OP_OR:
      qualifier(a->u.andOr.left, b->u.andOr.left, at + ".left");
      qualifier(a->u.andOr.right, b->u.andOr.right, at + ".right");
      break;
    case ZQ_COND_OP_NOT:
      qualifier(a->u.operand, b->u.operand, at + ".not");
      break;
    case ZQ_COND_OP_REL_OP:
      if (!same(a->u.relation->operation, b->u.relation->operation, at + ".rel.op")) return;
      operand(a->u.relation->left, b->u.relation->left, at + ".rel.left");
      operand(a->u.relation->right, b->u.relation->right, at + ".rel.right");
      break;
    case ZQ_COND_OP_FROM_FIELD:
      same(a->u.fieldId, b->u.fieldId, at + ".fieldId");
      break;
    default:
      break;
  }
}

inline void Compare::assign(const ZQAssignStruct& a, const ZQAssignStruct& b,
                            const std::string& at) {
  if (!same(a.assignType, b.assignType, at + ".type")) return;
  switch (a.assignType) {
    case ZQ_ASSIGN_TYPE_VALUE:
      value(a.u.value, b.u.value, at + ".value");
      break;
    case ZQ_ASSIGN_TYPE_FIELD: {
      const ZQAssignFieldStruct &x = *a.u.field, &y = *b.u.field;
      same(std::string(x.server), std::string(y.server), at + ".server");
      same(std::string(x.schema), std::string(y.schema), at + ".schema");
      if (!same(x.tag, y.tag, at + ".tag")) return;
      if (x.tag == ZQ_STAT_HISTORY) {
        same(x.u.statHistory.enumeratedValueIndex, y.u.statHistory.enumeratedValueIndex,
             at + ".index");
        same(x.u.statHistory.userOrTime, y.u.statHistory.userOrTime, at + ".userOrTime");
      } else if (x.tag == ZQ_CURRENCY_FLD) {
        same(x.u.currencyField->fieldId, y.u.currencyField->fieldId, at + ".currency.field");
        same(x.u.currencyField->partTag, y.u.currencyField->partTag, at + ".currency.part");
      } else {
        same(x.u.fieldId, y.u.fieldId, at + ".fieldId");
      }
      qualifier(&x.qualifier, &y.qualifier, at + ".qual");
      same(x.noMatchOption, y.noMatchOption, at + ".noMatch");
      same(x.multiMatchOption, y.multiMatchOption, at + ".multiMatch");
      break;
    }
    case ZQ_ASSIGN_TYPE_PROCESS:
      sameText(a.u.process, b.u.process, at + ".process");
      break;
    case ZQ_ASSIGN_TYPE_ARITH:
      if (!same(a.u.arithOp->operation, b.u.arithOp->operation, at + ".arith.op")) return;
      if (a.u.arithOp->operation != ZQ_ARITH_OP_NEGATE)
        assign(a.u.arithOp->left, b.u.arithOp->left, at + ".arith.left");
      assign(a.u.arithOp->right, b.u.arithOp->right, at + ".arith.right");
      break;
    case ZQ_ASSIGN_TYPE_FUNCTION: {
      const ZQFunctionAssignStruct &x = *a.u.function, &y = *b.u.function;
      same(x.functionCode, y.functionCode, at + ".function");
      if (!same(x.count, y.count, at + ".function.count")) return;
      for (uint32_t i = 0; i < x.count; ++i)
        assign(x.items[i], y.items[i], at + ".arg[" + std::to_string(i) + "]");
      break;
    }
    case ZQ_ASSIGN_TYPE_DDE: {
      const ZQDDEStruct &x = *a.u.dde, &y = *b.u.dde;
      sameText(x.serviceName, y.serviceName, at + ".service");
      sameText(x.topic, y.topic, at + ".topic");
      sameText(x.item, y.item, at + ".item");
      same(x.action, y.action, at + ".action");
      sameText(x.pathToProgram, y.pathToProgram, at + ".path");
      sameText(x.command, y.command, at + ".command");
      break;
    }
    case ZQ_ASSIGN_TYPE_SQL: {
      const ZQAssignSQLStruct &x = *a.u.sql, &y = *b.u.sql;
      same(std::string(x.server), std::string(y.server), at + ".server");
      sameText(x.sqlCommand, y.sqlCommand, at + ".sql");
      same(x.valueIndex, y.valueIndex, at + ".index");
      same(x.noMatchOption, y.noMatchOption, at + ".noMatch");
      same(x.multiMatchOption, y.multiMatchOption, at + ".multiMatch");
      break;
    }
    case ZQ_ASSIGN_TYPE_FILTER_API: {
      const ZQAssignFilterApiStruct &x = *a.u.filterApi, &y = *b.u.filterApi;
      same(std::string(x.serviceName), std::string(y.serviceName), at + ".service");
      same(x.valueIndex, y.valueIndex, at + ".index");
      if (!same(x.count, y.count, at + ".count")) return;
      for (uint32_t i = 0; i < x.count; ++i)
        assign(x.items[i], y.items[i], at + ".input[" + std::to_string(i) + "]");
      break;
    }
    default:
      break;
  }
}

inline std::string diffQualifiers(const ZQQualifierStruct* a, const ZQQualifierStruct* b) {
  Compare c;
  c.qualifier(a, b, "qual");
  return c.result();
}
inline std::string diffAssigns(const ZQAssignStruct& a, const ZQAssignStruct& b) {
  Compare c;
  c.assign(a, b, "assign");
  return c.result();
}

}  // namespace qt
