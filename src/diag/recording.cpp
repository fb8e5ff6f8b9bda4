// The command log: pause records, record headers and the argument lines a
// replay reads back.
#include <cinttypes>
#include <cstdio>
#include <cstring>

#include "diag/state.h"
#include "transport/transport.h"

namespace zq::diag {
namespace {

constexpr size_t kMaxLongText = 1023;
constexpr unsigned kMaxQualDepth = 512;  // a runaway tree stops being written here

std::string fixed(const char* buf, size_t width) {
  return std::string(buf, strnlen(buf, width));
}

int64_t micros(const timeval& t) {
  return int64_t{t.tv_sec} * 1000000 + t.tv_usec;
}

}  // namespace

// ---- argument lines --------------------------------------------------------------------

void CommandWriter::u32(uint32_t x) {
  appendf(out_, "%u\n", x);
}
void CommandWriter::i32(int32_t x) {
  appendf(out_, "%d\n", x);
}

void CommandWriter::name(const char* s) {
  if (s) out_ += s;
  out_ += '\n';
}

void CommandWriter::longText(const char* s) {
  if (s) {
    const size_t n = strnlen(s, kMaxLongText);
    const size_t at = out_.size();
    out_.append(s, n);
    for (size_t i = at; i < out_.size(); ++i)
      if (out_[i] == '\n' || out_[i] == '\r') out_[i] = ' ';
  }
  out_ += '\n';
}

void CommandWriter::boolean(bool b) {
  out_ += b ? "T\n" : "F\n";
}
void CommandWriter::password() {
  out_ += "<password here>\n";
}
void CommandWriter::fileName() {
  out_ += "****** FILE NAME ******\n";
}

void CommandWriter::blob(const ZQLocStruct* locator) {
  if (!locator) {
    out_ += "<Call was made with NULL locator>\n";
  } else if (locator->locationType == ZQ_LOC_FILENAME) {
    name(locator->u.filename);
  } else {
    out_ += "<Call was made with memory buffer>\n";
  }
}

void CommandWriter::value(const ZQValueStruct* v) {
  if (!v) {
    u32(ZQ_DATA_TYPE_NULL);
    return;
  }
  u32(v->dataType);
  switch (v->dataType) {
    case ZQ_DATA_TYPE_KEYWORD:
    case ZQ_DATA_TYPE_ULONG:
      u32(v->u.ulongValue);
      break;
    case ZQ_DATA_TYPE_INTEGER:
    case ZQ_DATA_TYPE_ENUM:
    case ZQ_DATA_TYPE_TIME:
    case ZQ_DATA_TYPE_BITMASK:
    case ZQ_DATA_TYPE_DATE:
    case ZQ_DATA_TYPE_TIME_OF_DAY:
      i32(v->u.integerValue);
      break;
    case ZQ_DATA_TYPE_REAL:
      appendf(out_, "%lf\n", v->u.realValue);
      break;
    case ZQ_DATA_TYPE_CHAR:
    case ZQ_DATA_TYPE_DIARY:
    case ZQ_DATA_TYPE_DECIMAL:
    case ZQ_DATA_TYPE_VIEW:
    case ZQ_DATA_TYPE_DISPLAY:
      longText(v->u.charValue);
      break;
    case ZQ_DATA_TYPE_BYTES: {
      const ZQByteList* b = v->u.byteListValue;
      const uint32_t n = b && b->bytes ? b->count : 0;
      u32(b ? b->type : 0);
      u32(n);
      for (uint32_t i = 0; i < n; ++i) appendf(out_, "%x\n", b->bytes[i]);
      if (n) out_ += '\n';
      break;
    }
    case ZQ_DATA_TYPE_ATTACH: {
      const ZQAttachStruct* a = v->u.attachmentValue;
      if (!a) {
        out_ += '\n';
        break;
      }
      if (a->name) name(a->name);
      u32(a->location.locationType);
      if (a->location.locationType == ZQ_LOC_FILENAME) name(a->location.u.filename);
      break;
    }
    case ZQ_DATA_TYPE_CURRENCY: {
      const ZQCurrencyStruct* c = v->u.currencyValue;
      if (!c) {
        out_ += '\n';
        break;
      }
      name(c->value);
      name(fixed(c->currencyCode, sizeof c->currencyCode).c_str());
      i32(c->conversionDate);
      break;
    }
    case ZQ_DATA_TYPE_COORDS: {
      const ZQCoordList* c = v->u.coordListValue;
      const uint32_t n = c && c->items ? c->count : 0;
      u32(n);
      for (uint32_t i = 0; i < n; ++i) appendf(out_, "%d\n%d\n", c->items[i].x, c->items[i].y);
      break;
    }
    default:
      break;
  }
}

// Passwords (102) and the field 123 never reach the log.
void CommandWriter::fieldValue(const ZQFieldValueStruct& fv) {
  u32(fv.fieldId);
  if (fv.fieldId == 102 || fv.fieldId == 123) {
    u32(ZQ_DATA_TYPE_CHAR);
    out_ += "****\n";
    return;
  }
  value(&fv.value);
}

void CommandWriter::fieldValues(const ZQFieldValueList* list) {
  const uint32_t n = list && list->items ? list->count : 0;
  u32(n);
  for (uint32_t i = 0; i < n; ++i) fieldValue(list->items[i]);
}

void CommandWriter::qualifier(const ZQQualifierStruct* q) {
  if (!q || depth_ >= kMaxQualDepth) {
    u32(0);
    return;
  }
  ++depth_;
  u32(q->operation);
  switch (q->operation) {
    case ZQ_COND_OP_AND:
    case ZQ_COND_OP_OR:
      qualifier(q->u.andOr.left);
      qualifier(q->u.andOr.right);
      break;
    case ZQ_COND_OP_NOT:
      qualifier(q->u.operand);
      break;
    case ZQ_COND_OP_REL_OP:
      if (const ZQRelOpStruct* r = q->u.relation) {
        u32(r->operation);
        operand(r->left);
        operand(r->right);
      } else {
        u32(0);
        u32(0);
        u32(0);
      }
      break;
    default:
      break;
  }
  --depth_;
}

void CommandWriter::operand(const ZQFieldValueOrArithStruct& o) {
  u32(o.tag);
  switch (o.tag) {
    case ZQ_FIELD:
    case ZQ_FIELD_TRAN:
    case ZQ_FIELD_DB:
    case ZQ_FIELD_CURRENT:
      u32(o.u.fieldId);
      break;
    case ZQ_VALUE:
      value(&o.u.value);
      break;
    case ZQ_ARITHMETIC:
      if (const ZQArithOpStruct* a = o.u.arithOp; a && depth_ < kMaxQualDepth) {
        ++depth_;
        u32(a->operation);
        if (a->operation != ZQ_ARITH_OP_NEGATE) operand(a->left);
        operand(a->right);
        --depth_;
      } else {
        u32(0);
      }
      break;
    case ZQ_STAT_HISTORY:
      u32(o.u.statHistory.enumeratedValueIndex);
      u32(o.u.statHistory.userOrTime);
      break;
    case ZQ_VALUE_SET:
      valueList(&o.u.valueSet);
      break;
    case ZQ_CURRENCY_FLD:
    case ZQ_CURRENCY_FLD_TRAN:
    case ZQ_CURRENCY_FLD_DB:
    case ZQ_CURRENCY_FLD_CURRENT: {
      const ZQCurrencyPartStruct* c = o.u.currencyField;
      u32(c ? c->fieldId : 0);
      u32(c ? c->partTag : 0);
      if (c && c->partTag == 4) name(fixed(c->currencyCode, sizeof c->currencyCode).c_str());
      break;
    }
    case ZQ_QUERY:
      if (const ZQQueryStruct* q = o.u.query) {
        name(fixed(q->schema, sizeof q->schema).c_str());
        name(fixed(q->server, sizeof q->server).c_str());
        qualifier(q->qualifier);
        u32(q->valueFieldId);
        u32(q->multiValueCode);
      } else {
        out_ += "\n\n0\n0\n0\n";
      }
      break;
    case ZQ_LOCAL_VARIABLE:
      u32(o.u.variable);
      break;
    default:
      break;
  }
}

void CommandWriter::entryId(const ZQEntryIdList* ids) {
  const uint32_t n = ids && ids->items ? ids->count : 0;
  u32(n);
  for (uint32_t i = 0; i < n; ++i) name(fixed(ids->items[i], sizeof ids->items[i]).c_str());
}

void CommandWriter::internalIds(const ZQInternalIdList* ids) {
  unsignedList(ids ? ids->count : 0, ids ? ids->items : nullptr);
}

void CommandWriter::unsignedList(uint32_t count, const uint32_t* items) {
  const uint32_t n = items ? count : 0;
  u32(n);
  for (uint32_t i = 0; i < n; ++i) u32(items[i]);
}

void CommandWriter::names(const ZQNameList* list) {
  const uint32_t n = list && list->items ? list->count : 0;
  u32(n);
  for (uint32_t i = 0; i < n; ++i) name(fixed(list->items[i], sizeof list->items[i]).c_str());
}

void CommandWriter::sortList(const ZQSortList* list) {
  const uint32_t n = list && list->items ? list->count : 0;
  u32(n);
  for (uint32_t i = 0; i < n; ++i) {
    u32(list->items[i].fieldId);
    u32(list->items[i].sortOrder);
  }
}

void CommandWriter::entryListFields(const ZQEntryListFieldList* list) {
  const uint32_t n = list && list->items ? list->count : 0;
  u32(n);
  for (uint32_t i = 0; i < n; ++i) {
    u32(list->items[i].fieldId);
    u32(list->items[i].columnWidth);
    name(fixed(list->items[i].separator, sizeof list->items[i].separator).c_str());
  }
}

void CommandWriter::valueList(const ZQValueList* list) {
  const uint32_t n = list && list->items ? list->count : 0;
  u32(n);
  for (uint32_t i = 0; i < n; ++i) value(&list->items[i]);
}

// Per entry its time stamp, user and text (one line).
void CommandWriter::diary(const ZQDiaryList* list) {
  const uint32_t n = list && list->items ? list->count : 0;
  u32(n);
  for (uint32_t i = 0; i < n; ++i) {
    u32(list->items[i].timestamp);
    name(fixed(list->items[i].user, sizeof list->items[i].user).c_str());
    longText(list->items[i].value);
  }
}

void CommandWriter::statusHistory(const ZQStatusHistoryList* list) {
  const uint32_t n = list && list->items ? list->count : 0;
  u32(n);
  for (uint32_t i = 0; i < n; ++i) {
    u32(list->items[i].timestamp);
    name(fixed(list->items[i].user, sizeof list->items[i].user).c_str());
  }
}

// ---- records ------------------------------------------------------------------------------

bool beginCommand(ZQThreadContext* ctx, ZQControlStruct* control, Command cmd, RecordScope& scope) {
  ctx->callControl = control;
  const CommandInfo& info = commandInfo(cmd);
  if (info.records == Records::nothing) return false;
  DiagState* st = stateOf(ctx);
  if (!st) return false;
  const int32_t flags = ctx->loggingFlags;

  std::string name =
      info.records == Records::resultUnderLastName ? st->lastCallName : info.recorded;
  if (name.size() > kMaxCallName) name.resize(kMaxCallName);
  // A call that left without finishing must not make every later call look
  // nested forever.
  if (st->calls.size() >= 16) st->calls.erase(st->calls.begin());
  st->calls.push_back(CallFrame{cmd, name, {}, false});
  const bool writes = info.records == Records::commandAndResult;
  if (writes) st->lastCallName = name;

  std::string& out = scope.buffer;
  if (flags & kTimingFlags) {
    const timeval t = now();
    if (isSetTime(st->start)) {
      st->nestedStart = t;
      st->nested = true;
    } else {
      st->start = t;
      if (writes && (flags & (kFlagPauseSeconds | kFlagPauseMillis)) && isSetTime(st->lastFinish)) {
        const int64_t pause = micros(t) - micros(st->lastFinish);
        if (flags & kFlagPauseSeconds) {
          const int64_t seconds = (pause + 500000) / 1000000;
          if (pause > 0 && seconds > 0)
            appendf(out, "#\n# (Pause)\n#\nst\n%d\n", static_cast<int>(seconds));
        } else {
          const int64_t millis = (pause + 500) / 1000;
          if (pause > 0 && millis > 0)
            appendf(out, "#\n# (Pause)\n#\nmsst\n%d\n", static_cast<int>(millis));
        }
      }
    }
  }
  if (!writes) return false;

  if (flags == kFlagsLongHeader) {
    std::string server, user;
    uint32_t port = 0;
    if (control) {
      server = fixed(control->server, sizeof control->server);
      user = fixed(control->user, sizeof control->user);
      if (const transport::ServerRecord* r = transport::findServer(ctx, control->server))
        port = r->port;
    }
    out += "#\n# " + name + "\n# Server: \"" + server + "\"\n# Username: \"" + user +
           "\"\n# Port: \"" + std::to_string(port) + "\"\n#\n";
  } else {
    out += "#\n# " + name + "\n#\n";
  }
  out += info.code;
  out += '\n';
  return true;
}

void finishCommand(RecordScope& scope) {
  DiagState* st = existingState(scope.ctx);
  if (!st) return;
  writeAll(st->commandSink(scope.ctx->loggingFlags), scope.buffer);  // errors are ignored
}

}  // namespace zq::diag
