#include "query_engine.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <map>
#include <utility>

#include "frame/alloc.h"
#include "zqapi/zq_copy.h"
#include "zqapi/zq_free.h"

namespace zqserver {

Row::Row(Row&& other) noexcept : id(std::move(other.id)), values(other.values) {
  other.values = {0, nullptr};
}
Row& Row::operator=(Row&& other) noexcept {
  if (this != &other) {
    FreeZQFieldValueList(&values, 0);
    id = std::move(other.id);
    values = other.values;
    other.values = {0, nullptr};
  }
  return *this;
}
Row::~Row() { FreeZQFieldValueList(&values, 0); }

const ZQValueStruct* Row::find(ZQInternalId field) const {
  for (uint32_t i = 0; i < values.count; ++i)
    if (values.items[i].fieldId == field) return &values.items[i].value;
  return nullptr;
}

namespace {

// A value reduced to what comparisons and arithmetic need.
struct Scalar {
  enum Kind { null, integer, real, text, set } kind = null;
  int64_t i = 0;
  double d = 0;
  std::string s;
  std::vector<Scalar> items;

  bool numeric() const { return kind == integer || kind == real; }
  double asReal() const { return kind == integer ? static_cast<double>(i) : d; }
};

bool parseNumber(const std::string& s, double& out) {
  if (s.empty()) return false;
  char* end = nullptr;
  out = strtod(s.c_str(), &end);
  return end && *end == '\0';
}

Scalar fromValue(const ZQValueStruct* v) {
  Scalar r;
  if (!v) return r;
  switch (v->dataType) {
    case ZQ_DATA_TYPE_KEYWORD:
    case ZQ_DATA_TYPE_ENUM:
    case ZQ_DATA_TYPE_BITMASK:
    case ZQ_DATA_TYPE_ULONG:
      r.kind = Scalar::integer;
      r.i = v->u.enumValue;
      break;
    case ZQ_DATA_TYPE_INTEGER:
    case ZQ_DATA_TYPE_TIME:
    case ZQ_DATA_TYPE_DATE:
    case ZQ_DATA_TYPE_TIME_OF_DAY:
      r.kind = Scalar::integer;
      r.i = v->u.integerValue;
      break;
    case ZQ_DATA_TYPE_REAL:
      r.kind = Scalar::real;
      r.d = v->u.realValue;
      break;
    case ZQ_DATA_TYPE_CHAR:
    case ZQ_DATA_TYPE_DIARY:
    case ZQ_DATA_TYPE_VIEW:
    case ZQ_DATA_TYPE_DISPLAY:
      if (v->u.charValue) {
        r.kind = Scalar::text;
        r.s = v->u.charValue;
      }
      break;
    case ZQ_DATA_TYPE_DECIMAL:
      if (v->u.decimalValue && parseNumber(v->u.decimalValue, r.d)) r.kind = Scalar::real;
      break;
    case ZQ_DATA_TYPE_CURRENCY:
      if (v->u.currencyValue && v->u.currencyValue->value &&
          parseNumber(v->u.currencyValue->value, r.d))
        r.kind = Scalar::real;
      break;
    default:
      break;
  }
  return r;
}

// -1, 0, 1; nulls sort first and equal each other.
int compare(const Scalar& a, const Scalar& b) {
  if (a.kind == Scalar::null || b.kind == Scalar::null)
    return (a.kind != Scalar::null) - (b.kind != Scalar::null);
  if (a.kind == Scalar::integer && b.kind == Scalar::integer) return (a.i > b.i) - (a.i < b.i);
  double x, y;
  if (a.numeric() && b.numeric()) {
    x = a.asReal();
    y = b.asReal();
    return (x > y) - (x < y);
  }
  if (a.kind == Scalar::text && b.numeric() && parseNumber(a.s, x)) {
    y = b.asReal();
    return (x > y) - (x < y);
  }
  if (b.kind == Scalar::text && a.numeric() && parseNumber(b.s, y)) {
    x = a.asReal();
    return (x > y) - (x < y);
  }
  auto str = [](const Scalar& v) {
    if (v.kind == Scalar::text) return v.s;
    return v.kind == Scalar::integer ? std::to_string(v.i) : std::to_string(v.d);
  };
  int c = str(a).compare(str(b));
  return (c > 0) - (c < 0);
}

// SQL-style pattern: % any run, _ one character.
bool like(const char* s, const char* p) {
  const char* star = nullptr;
  const char* resume = nullptr;
  while (*s) {
    if (*p == '_' || (*p && *p != '%' && *p == *s)) {
      ++s;
      ++p;
    } else if (*p == '%') {
      star = p++;
      resume = s;
    } else if (star) {
      p = star + 1;
      s = ++resume;
    } else {
      return false;
    }
  }
  while (*p == '%') ++p;
  return *p == '\0';
}

struct Evaluator {
  const FormDef* form = nullptr;  // for field checks; null: no check
  QueryError* error = nullptr;
  // A join qualification: fields of tag ZQ_FIELD_DB are member B's.
  const Row* memberB = nullptr;

  bool knownField(ZQInternalId id) {
    if (!form || form->field(id)) return true;
    if (error && error->message == 0) {
      error->message = kMsgNoSuchField;
      error->appended = std::to_string(id);
    }
    return false;
  }

  Scalar arith(uint32_t op, const Scalar& a, const Scalar& b) {
    Scalar r;
    if (op == ZQ_ARITH_OP_NEGATE) {
      if (b.kind == Scalar::integer) {
        r.kind = Scalar::integer;
        r.i = -b.i;
      } else if (b.kind == Scalar::real) {
        r.kind = Scalar::real;
        r.d = -b.d;
      }
      return r;
    }
    if (op == ZQ_ARITH_OP_ADD && a.kind == Scalar::text && b.kind == Scalar::text) {
      r.kind = Scalar::text;
      r.s = a.s + b.s;
      return r;
    }
    if (!a.numeric() || !b.numeric()) return r;
    if (a.kind == Scalar::integer && b.kind == Scalar::integer) {
      r.kind = Scalar::integer;
      switch (op) {
        case ZQ_ARITH_OP_ADD: r.i = a.i + b.i; break;
        case ZQ_ARITH_OP_SUBTRACT: r.i = a.i - b.i; break;
        case ZQ_ARITH_OP_MULTIPLY: r.i = a.i * b.i; break;
        case ZQ_ARITH_OP_DIVIDE:
          if (b.i == 0) return Scalar{};
          r.i = a.i / b.i;
          break;
        case ZQ_ARITH_OP_MODULO:
          if (b.i == 0) return Scalar{};
          r.i = a.i % b.i;
          break;
        default: return Scalar{};
      }
      return r;
    }
    double x = a.asReal(), y = b.asReal();
    r.kind = Scalar::real;
    switch (op) {
      case ZQ_ARITH_OP_ADD: r.d = x + y; break;
      case ZQ_ARITH_OP_SUBTRACT: r.d = x - y; break;
      case ZQ_ARITH_OP_MULTIPLY: r.d = x * y; break;
      case ZQ_ARITH_OP_DIVIDE:
        if (y == 0) return Scalar{};
        r.d = x / y;
        break;
      case ZQ_ARITH_OP_MODULO:
        if (y == 0) return Scalar{};
        r.d = std::fmod(x, y);
        break;
      default: return Scalar{};
    }
    return r;
  }

  Scalar operand(const ZQFieldValueOrArithStruct& o, const Row& row) {
    const uint32_t tag = o.tag;
    if (memberB && tag == ZQ_FIELD_DB) return fromValue(memberB->find(o.u.fieldId));
    if (tag == ZQ_FIELD || tag == ZQ_FIELD_TRAN || tag == ZQ_FIELD_DB || tag == ZQ_FIELD_CURRENT ||
        (tag >= 12 && tag <= 26)) {
      knownField(o.u.fieldId);
      return fromValue(row.find(o.u.fieldId));
    }
    switch (tag) {
      case ZQ_VALUE: return fromValue(&o.u.value);
      case ZQ_ARITHMETIC: {
        if (!o.u.arithOp) return Scalar{};
        Scalar b = operand(o.u.arithOp->right, row);
        if (o.u.arithOp->operation == ZQ_ARITH_OP_NEGATE) return arith(ZQ_ARITH_OP_NEGATE, {}, b);
        return arith(o.u.arithOp->operation, operand(o.u.arithOp->left, row), b);
      }
      case ZQ_VALUE_SET: {
        Scalar r;
        r.kind = Scalar::set;
        for (uint32_t i = 0; o.u.valueSet.items && i < o.u.valueSet.count; ++i)
          r.items.push_back(fromValue(&o.u.valueSet.items[i]));
        return r;
      }
      case ZQ_CURRENCY_FLD:
      case ZQ_CURRENCY_FLD_TRAN:
      case ZQ_CURRENCY_FLD_DB:
      case ZQ_CURRENCY_FLD_CURRENT:
        if (!o.u.currencyField || !knownField(o.u.currencyField->fieldId)) return Scalar{};
        return fromValue(row.find(o.u.currencyField->fieldId));
      default:
        return Scalar{};  // status history, variables, embedded queries: no value here
    }
  }

  bool relation(uint32_t op, const Scalar& a, const Scalar& b) {
    if (op == ZQ_REL_OP_IN) {
      if (b.kind != Scalar::set) return compare(a, b) == 0;
      for (const Scalar& item : b.items)
        if (a.kind != Scalar::null && compare(a, item) == 0) return true;
      return false;
    }
    if (op == ZQ_REL_OP_LIKE) {
      if (a.kind == Scalar::null || b.kind == Scalar::null) return false;
      Scalar ta = a, tb = b;
      if (ta.kind != Scalar::text) ta.s = ta.kind == Scalar::integer ? std::to_string(ta.i) : "";
      if (tb.kind != Scalar::text) tb.s = tb.kind == Scalar::integer ? std::to_string(tb.i) : "";
      return like(ta.s.c_str(), tb.s.c_str());
    }
    const bool nulls = a.kind == Scalar::null || b.kind == Scalar::null;
    int c = compare(a, b);
    switch (op) {
      case ZQ_REL_OP_EQUAL: return c == 0;
      case ZQ_REL_OP_NOT_EQUAL: return c != 0;
      case ZQ_REL_OP_GREATER: return !nulls && c > 0;
      case ZQ_REL_OP_GREATER_EQUAL: return !nulls && c >= 0;
      case ZQ_REL_OP_LESS: return !nulls && c < 0;
      case ZQ_REL_OP_LESS_EQUAL: return !nulls && c <= 0;
      default: return false;
    }
  }

  bool matches(const ZQQualifierStruct* q, const Row& row) {
    if (!q) return true;
    switch (q->operation) {
      case ZQ_COND_OP_NONE: return true;
      case ZQ_COND_OP_AND: return matches(q->u.andOr.left, row) && matches(q->u.andOr.right, row);
      case ZQ_COND_OP_OR: return matches(q->u.andOr.left, row) || matches(q->u.andOr.right, row);
      case ZQ_COND_OP_NOT: return !matches(q->u.operand, row);
      case ZQ_COND_OP_REL_OP:
        if (!q->u.relation) return false;
        return relation(q->u.relation->operation, operand(q->u.relation->left, row),
                        operand(q->u.relation->right, row));
      default: return false;  // a qualification held in a field is not evaluated here
    }
  }
};

bool loadRows(EntryStore& store, const std::string& form, std::vector<Row>& rows,
              QueryError& error) {
  bool copyFailed = false;
  StoreResult r = store.forEachEntry(form, [&](const std::string& id, const ZQFieldValueList& v) {
    Row row;
    row.id = id;
    if (ZQCopyFieldValueList(&row.values, &v) != 0) {
      copyFailed = true;
      return false;
    }
    rows.push_back(std::move(row));
    return true;
  });
  if (!r.ok()) {
    error = {r.message, r.appended};
    return false;
  }
  if (copyFailed) {
    error = {zq::kMsgNoMemory, ""};
    return false;
  }
  return true;
}

}  // namespace

bool joinMatches(const ZQQualifierStruct* qualifier, const Row& a, const Row* b) {
  Evaluator eval;
  eval.memberB = b;
  return eval.matches(qualifier, a);
}

bool rowMatches(const ZQQualifierStruct* qualifier, const Row& row, const FormDef* form,
                QueryError& error) {
  Evaluator eval{form, &error};
  return eval.matches(qualifier, row);
}

bool runQuery(EntryStore& store, const std::string& form, const ZQQualifierStruct* qualifier,
              const ZQSortList* sort, uint32_t firstRetrieve, uint32_t maxRetrieve,
              QueryResult& out, QueryError& error) {
  auto def = store.form(form);
  if (!def) {
    error = {kMsgNoSuchForm, form};
    return false;
  }
  out.form = *def;
  std::vector<Row> rows;
  if (!loadRows(store, form, rows, error)) return false;
  Evaluator eval{&out.form, &error};
  std::vector<Row> matched;
  for (Row& row : rows) {
    if (eval.matches(qualifier, row)) matched.push_back(std::move(row));
    if (error.message) return false;
  }
  if (sort && sort->items && sort->count) {
    for (uint32_t i = 0; i < sort->count; ++i)
      if (!eval.knownField(sort->items[i].fieldId)) return false;
    std::stable_sort(matched.begin(), matched.end(), [&](const Row& a, const Row& b) {
      for (uint32_t i = 0; i < sort->count; ++i) {
        const ZQSortStruct& s = sort->items[i];
        int c = compare(fromValue(a.find(s.fieldId)), fromValue(b.find(s.fieldId)));
        if (c) return s.sortOrder == ZQ_SORT_DESCENDING ? c > 0 : c < 0;
      }
      return false;
    });
  }
  out.matches = static_cast<uint32_t>(matched.size());
  size_t first = std::min<size_t>(firstRetrieve, matched.size());
  size_t last = maxRetrieve ? std::min<size_t>(matched.size(), first + maxRetrieve) : matched.size();
  out.rows.clear();
  for (size_t i = first; i < last; ++i) out.rows.push_back(std::move(matched[i]));
  return true;
}

bool runStatistics(EntryStore& store, const std::string& form,
                   const ZQQualifierStruct* qualifier, const ZQFieldValueOrArithStruct* target,
                   uint32_t statistic, const ZQInternalIdList* groupBy,
                   ZQStatisticsResultList& out, QueryError& error) {
  out = {0, nullptr};
  if (statistic < 1 || statistic > 5) {
    error = {zq::kMsgBadStatistic, ""};
    return false;
  }
  QueryResult q;
  if (!runQuery(store, form, qualifier, nullptr, 0, 0, q, error)) return false;
  Evaluator eval{&q.form, &error};
  const uint32_t groups = groupBy && groupBy->items ? groupBy->count : 0;
  for (uint32_t i = 0; i < groups; ++i)
    if (!eval.knownField(groupBy->items[i])) return false;

  struct Acc {
    const Row* sample = nullptr;  // a row of the group, for its group-by values
    uint64_t count = 0;
    bool anyReal = false, any = false;
    double sum = 0;
    Scalar min, max;
  };
  // Groups in the order of their values.
  auto key = [&](const Row& row) {
    std::vector<Scalar> k;
    for (uint32_t i = 0; i < groups; ++i) k.push_back(fromValue(row.find(groupBy->items[i])));
    return k;
  };
  auto less = [](const std::vector<Scalar>& a, const std::vector<Scalar>& b) {
    for (size_t i = 0; i < a.size(); ++i) {
      int c = compare(a[i], b[i]);
      if (c) return c < 0;
    }
    return false;
  };
  std::map<std::vector<Scalar>, Acc, decltype(less)> acc(less);
  for (const Row& row : q.rows) {
    Acc& a = acc[key(row)];
    a.sample = &row;
    const bool hasTarget = target && target->tag != 0;
    Scalar v = hasTarget ? eval.operand(*target, row) : Scalar{};
    if (error.message) return false;
    if (statistic == 1) {
      if (!hasTarget || v.kind != Scalar::null) ++a.count;
      continue;
    }
    if (!v.numeric()) continue;
    ++a.count;
    a.sum += v.asReal();
    a.anyReal |= v.kind == Scalar::real;
    if (!a.any || compare(v, a.min) < 0) a.min = v;
    if (!a.any || compare(v, a.max) > 0) a.max = v;
    a.any = true;
  }
  if (acc.empty() && groups == 0) acc[{}];  // one result without grouping, even for no rows
  out.items = static_cast<ZQStatisticsResultStruct*>(
      ZQCalloc(acc.size(), sizeof(ZQStatisticsResultStruct)));
  if (!out.items) {
    error = {zq::kMsgNoMemory, ""};
    return false;
  }
  for (auto& [k, a] : acc) {
    ZQStatisticsResultStruct& item = out.items[out.count++];
    if (groups) {
      ZQValueStruct* values = static_cast<ZQValueStruct*>(ZQCalloc(groups, sizeof(ZQValueStruct)));
      if (!values) {
        error = {zq::kMsgNoMemory, ""};
        FreeZQStatisticsResultList(&out, 0);
        return false;
      }
      item.groupByValues = {groups, values};
      for (uint32_t i = 0; i < groups; ++i) {
        const ZQValueStruct* v = a.sample->find(groupBy->items[i]);
        if (v && ZQCopyValueStruct(&values[i], v) != 0) {
          error = {zq::kMsgNoMemory, ""};
          FreeZQStatisticsResultList(&out, 0);
          return false;
        }
      }
    }
    ZQValueStruct& r = item.result;
    auto setNumber = [&](const Scalar& s) {
      if (s.kind == Scalar::integer) {
        r.dataType = ZQ_DATA_TYPE_INTEGER;
        r.u.integerValue = static_cast<int32_t>(s.i);
      } else if (s.kind == Scalar::real) {
        r.dataType = ZQ_DATA_TYPE_REAL;
        r.u.realValue = s.d;
      }
    };
    switch (statistic) {
      case 1:
        r.dataType = ZQ_DATA_TYPE_INTEGER;
        r.u.integerValue = static_cast<int32_t>(a.count);
        break;
      case 2:
        if (!a.any) break;
        if (a.anyReal) {
          r.dataType = ZQ_DATA_TYPE_REAL;
          r.u.realValue = a.sum;
        } else {
          r.dataType = ZQ_DATA_TYPE_INTEGER;
          r.u.integerValue = static_cast<int32_t>(std::llround(a.sum));
        }
        break;
      case 3:
        if (!a.any) break;
        r.dataType = ZQ_DATA_TYPE_REAL;
        r.u.realValue = a.sum / static_cast<double>(a.count);
        break;
      case 4: setNumber(a.min); break;
      case 5: setNumber(a.max); break;
    }
  }
  return true;
}

// ---- joins of several forms ------------------------------------------------------------

namespace {

struct JoinEvaluator {
  const JoinResult& result;
  Evaluator base;

  int sourceOf(const char* alias) const {
    for (size_t i = 0; i < result.aliases.size(); ++i)
      if (strcasecmp(result.aliases[i].c_str(), alias) == 0) return static_cast<int>(i);
    return -1;
  }

  Scalar operand(const ZQMultiSchemaFieldValueOrArithStruct& o, const JoinedRow& row) {
    switch (o.tag) {
      case ZQ_FIELD:
        return fromValue(joinedValue(result, row, o.u.fieldId));
      case ZQ_VALUE: return fromValue(&o.u.value);
      case ZQ_ARITHMETIC: {
        if (!o.u.arithOp) return Scalar{};
        Scalar b = operand(o.u.arithOp->right, row);
        if (o.u.arithOp->operation == ZQ_ARITH_OP_NEGATE)
          return base.arith(ZQ_ARITH_OP_NEGATE, {}, b);
        return base.arith(o.u.arithOp->operation, operand(o.u.arithOp->left, row), b);
      }
      case ZQ_VALUE_SET: {
        Scalar r;
        r.kind = Scalar::set;
        for (uint32_t i = 0; o.u.valueSet.items && i < o.u.valueSet.count; ++i)
          r.items.push_back(fromValue(&o.u.valueSet.items[i]));
        return r;
      }
      default: return Scalar{};
    }
  }

  bool matches(const ZQMultiSchemaQualifierStruct* q, const JoinedRow& row) {
    if (!q) return true;
    switch (q->operation) {
      case ZQ_COND_OP_NONE: return true;
      case ZQ_COND_OP_AND: return matches(q->u.andor.left, row) && matches(q->u.andor.right, row);
      case ZQ_COND_OP_OR: return matches(q->u.andor.left, row) || matches(q->u.andor.right, row);
      case ZQ_COND_OP_NOT: return !matches(q->u.notQual, row);
      case ZQ_COND_OP_REL_OP:
        if (!q->u.relOp) return false;
        return base.relation(q->u.relOp->operation, operand(q->u.relOp->left, row),
                             operand(q->u.relOp->right, row));
      default: return false;
    }
  }

  // Operands this server cannot evaluate, found before any row is read.
  bool supported(const ZQMultiSchemaQualifierStruct* q, std::string& why) {
    if (!q) return true;
    switch (q->operation) {
      case ZQ_COND_OP_AND:
      case ZQ_COND_OP_OR: return supported(q->u.andor.left, why) && supported(q->u.andor.right, why);
      case ZQ_COND_OP_NOT: return supported(q->u.notQual, why);
      case ZQ_COND_OP_REL_OP:
        return !q->u.relOp ||
               (supportedOperand(q->u.relOp->left, why) && supportedOperand(q->u.relOp->right, why));
      case ZQ_COND_OP_FROM_FIELD: why = "qualification from a field"; return false;
      default: return true;
    }
  }
  bool supportedOperand(const ZQMultiSchemaFieldValueOrArithStruct& o, std::string& why) {
    switch (o.tag) {
      case ZQ_FIELD:
        if (sourceOf(o.u.fieldId.queryFromAlias) < 0) {
          why = std::string("unknown alias ") + o.u.fieldId.queryFromAlias;
          return false;
        }
        return true;
      case ZQ_VALUE:
      case ZQ_VALUE_SET: return true;
      case ZQ_ARITHMETIC:
        return !o.u.arithOp || (supportedOperand(o.u.arithOp->left, why) &&
                                supportedOperand(o.u.arithOp->right, why));
      default:
        why = "operand type " + std::to_string(o.tag);
        return false;
    }
  }
};

}  // namespace

const ZQValueStruct* joinedValue(const JoinResult& r, const JoinedRow& row,
                                 const ZQMultiSchemaFieldIdStruct& field) {
  for (size_t i = 0; i < r.aliases.size(); ++i)
    if (strcasecmp(r.aliases[i].c_str(), field.queryFromAlias) == 0)
      return row.parts[i] ? row.parts[i]->find(field.fieldId) : nullptr;
  return nullptr;
}

bool runJoin(EntryStore& store, const ZQMultiSchemaQueryFromList& from,
             const ZQMultiSchemaQualifierStruct* qualifier, const ZQMultiSchemaSortList* sort,
             uint32_t firstRetrieve, uint32_t maxRetrieve, JoinResult& out, QueryError& error) {
  if (!from.items || from.count == 0) {
    error = {zq::kMsgQuerySourcesEmpty, ""};
    return false;
  }
  for (uint32_t i = 0; i < from.count; ++i) {
    const ZQMultiSchemaQueryFromStruct& f = from.items[i];
    if (f.type != ZQ_MULTI_SCHEMA_SOURCE_FORM) {
      error = {kMsgQueryNotSupported, "sources other than forms"};
      return false;
    }
    if (f.joinType > 1) {
      error = {kMsgQueryNotSupported, "right outer join"};
      return false;
    }
    out.aliases.push_back(f.queryFromAlias[0] ? f.queryFromAlias : f.u.schemaName);
    out.sources.emplace_back();
    if (!loadRows(store, f.u.schemaName, out.sources.back(), error)) return false;
  }
  JoinEvaluator eval{out, Evaluator{nullptr, &error}};
  std::string why;
  bool ok = eval.supported(qualifier, why);
  for (uint32_t i = 0; ok && i < from.count; ++i) ok = eval.supported(from.items[i].joinQual, why);
  for (uint32_t i = 0; ok && sort && sort->items && i < sort->count; ++i)
    if (eval.sourceOf(sort->items[i].fieldId.queryFromAlias) < 0) {
      why = std::string("unknown alias ") + sort->items[i].fieldId.queryFromAlias;
      ok = false;
    }
  if (!ok) {
    error = {kMsgQueryNotSupported, why};
    return false;
  }
  // Nested loops, one source after the other, each with its join condition.
  std::vector<JoinedRow> partial(1);
  partial[0].parts.clear();
  for (uint32_t s = 0; s < from.count; ++s) {
    std::vector<JoinedRow> next;
    for (JoinedRow& left : partial) {
      bool any = false;
      for (const Row& r : out.sources[s]) {
        JoinedRow candidate = left;
        candidate.parts.push_back(&r);
        candidate.parts.resize(from.count, nullptr);
        if (s > 0 && !eval.matches(from.items[s].joinQual, candidate)) continue;
        candidate.parts.resize(s + 1);
        next.push_back(std::move(candidate));
        any = true;
      }
      if (!any && s > 0 && from.items[s].joinType == 1) {  // left outer: keep the left side
        JoinedRow kept = left;
        kept.parts.push_back(nullptr);
        next.push_back(std::move(kept));
      }
    }
    partial = std::move(next);
  }
  std::vector<JoinedRow> matched;
  for (JoinedRow& row : partial)
    if (eval.matches(qualifier, row)) matched.push_back(std::move(row));
  if (sort && sort->items && sort->count) {
    std::stable_sort(matched.begin(), matched.end(), [&](const JoinedRow& a, const JoinedRow& b) {
      for (uint32_t i = 0; i < sort->count; ++i) {
        const ZQMultiSchemaSortStruct& s = sort->items[i];
        int c = compare(fromValue(joinedValue(out, a, s.fieldId)),
                        fromValue(joinedValue(out, b, s.fieldId)));
        if (c) return s.sortOrder == ZQ_SORT_DESCENDING ? c > 0 : c < 0;
      }
      return false;
    });
  }
  out.matches = static_cast<uint32_t>(matched.size());
  size_t first = std::min<size_t>(firstRetrieve, matched.size());
  size_t last = maxRetrieve ? std::min<size_t>(matched.size(), first + maxRetrieve) : matched.size();
  out.rows.assign(matched.begin() + first, matched.begin() + last);
  return error.message == 0;
}

}  // namespace zqserver
