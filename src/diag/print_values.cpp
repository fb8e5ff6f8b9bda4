// Trace forms of values and status entries, which are not a walk of their
// members: a value is its type word and its payload on one line, diaries and
// status histories print decoded.
#include <cstring>

#include "diag/print_visitor.h"
#include "frame/frame.h"
#include "model/model.h"

namespace zq::diag {

namespace {

using Nest = PrintVisitor::Nest;

// The field whose character value is the entry's status history.
constexpr ZQInternalId kStatusHistoryField = 15;

void statusEntryLines(PrintVisitor& v, const ZQStatusStruct& s) {
  v.line("   Message type: %s\n", wordOf(words::kMessageTypes, s.messageType).c_str());
  v.line("   Message number: %d\n", s.messageNumber);
  if (s.message && *s.message)
    v.line("   Message: %s\n", s.message);
  else
    v.line("   Message:\n");
  if (s.appended && *s.appended)
    v.line("   Appended: %s\n", s.appended);
  else
    v.line("   Appended:\n");
}

void printDiary(PrintVisitor& v, const char* text) {
  ZQDiaryList list{0, nullptr};
  ZQStatusList status{0, nullptr};
  if (model::decodeDiary(text, &list, &status) >= ZQ_RETURN_ERROR) {
    v.raw("   DECODE DIARY FAILURE\n");
    Nest nest(v);
    v.member(status);
  } else {
    v.raw(" %u diary entries\n", list.count);
    for (uint32_t i = 0; i < list.count && list.items; ++i) {
      const ZQDiaryStruct& d = list.items[i];
      v.line(" %d   %s\n", static_cast<int32_t>(d.timestamp),
             fixedString(d.user, sizeof d.user).c_str());
      v.line("%s\n", d.value ? d.value : "");
    }
  }
  zq::model::release(list);
  zq::releaseStatusList(&status);
}

void printStatusHistory(PrintVisitor& v, const char* text) {
  ZQStatusHistoryList list{0, nullptr};
  ZQStatusList status{0, nullptr};
  if (model::decodeStatusHistory(text, &list, &status) >= ZQ_RETURN_ERROR) {
    v.raw("   DECODE STATUS-HISTORY FAILURE\n");
    Nest nest(v);
    v.member(status);
  } else {
    v.raw(" %u stat hist items\n", list.count);
    for (uint32_t i = 0; i < list.count && list.items; ++i) {
      const ZQStatusHistoryStruct& h = list.items[i];
      if (h.user[0])
        v.line(" %u - %d   %s\n", i, static_cast<int32_t>(h.timestamp),
               fixedString(h.user, sizeof h.user).c_str());
      else
        v.line(" %u - \n", i);
    }
  }
  zq::model::release(list);
  zq::releaseStatusList(&status);
}

// The bytes in hexadecimal, (80 - prefix length) / 2 to a line.
void printByteList(PrintVisitor& v, const ZQByteList* b) {
  if (!b) {
    v.raw("\n");
    return;
  }
  const uint32_t n = b->bytes ? b->count : 0;
  v.raw(" type - %u with %u bytes", b->type, n);
  const size_t prefixLength = v.prefix().size();
  const size_t perLine = prefixLength < 78 ? (80 - prefixLength) / 2 : 1;
  for (uint32_t i = 0; i < n; ++i) {
    if (i % perLine == 0) v.raw("\n%s", v.prefix().c_str());
    v.raw("%02X", b->bytes[i]);
  }
  v.raw("\n");
}

// "%sValue: " and the value.
void printValue(PrintVisitor& v, ZQValueStruct& s, bool statusHistory = false) {
  const uint32_t t = s.dataType;
  if (statusHistory && t == ZQ_DATA_TYPE_CHAR && s.u.charValue) {
    v.line("Value:");
    printStatusHistory(v, s.u.charValue);
    return;
  }
  v.line("Value: %s", wordOf(words::kDataTypes, t).c_str());
  switch (t) {
    // Unsigned members print unsigned: a bitmask with its top bit set is no
    // negative number.
    case ZQ_DATA_TYPE_KEYWORD:
    case ZQ_DATA_TYPE_ENUM:
    case ZQ_DATA_TYPE_BITMASK:
    case ZQ_DATA_TYPE_ULONG:
      v.raw(" %u\n", s.u.ulongValue);
      break;
    case ZQ_DATA_TYPE_INTEGER:
    case ZQ_DATA_TYPE_TIME:
    case ZQ_DATA_TYPE_DATE:
    case ZQ_DATA_TYPE_TIME_OF_DAY:
      v.raw(" %d\n", s.u.integerValue);
      break;
    case ZQ_DATA_TYPE_REAL:
      v.raw(" %f\n", s.u.realValue);
      break;
    case ZQ_DATA_TYPE_CHAR:
    case ZQ_DATA_TYPE_DECIMAL:
    case ZQ_DATA_TYPE_VIEW:
    case ZQ_DATA_TYPE_DISPLAY:
      if (s.u.charValue) v.raw(" %s", s.u.charValue);
      v.raw("\n");
      break;
    case ZQ_DATA_TYPE_DIARY:
      if (s.u.diaryValue)
        printDiary(v, s.u.diaryValue);
      else
        v.raw(" 0 diary entries\n");
      break;
    case ZQ_DATA_TYPE_BYTES:
      printByteList(v, s.u.byteListValue);
      break;
    case ZQ_DATA_TYPE_COORDS: {
      const ZQCoordList* c = s.u.coordListValue;
      const uint32_t n = c && c->items ? c->count : 0;
      v.raw("  %u items\n", n);
      Nest nest(v);
      for (uint32_t i = 0; i < n; ++i) v.line("x: %d, y: %d\n", c->items[i].x, c->items[i].y);
      break;
    }
    case ZQ_DATA_TYPE_ATTACH: {
      v.raw("\n");
      if (const ZQAttachStruct* a = s.u.attachmentValue) {
        Nest nest(v);
        v.line("Original Size: %d\n", a->originalSize);
        v.line("Compressed Size: %d\n", a->compressedSize);
        v.line("Name: %s\n", a->name ? a->name : "");
      }
      break;
    }
    case ZQ_DATA_TYPE_CURRENCY:
      v.raw("\n");
      if (s.u.currencyValue) {
        Nest nest(v);
        printMember(v, *s.u.currencyValue, nullptr);
      }
      break;
    default:
      v.raw("\n");
      break;
  }
}

// A value on the line of the text it follows ("(integer) 5").
std::string inlineValue(ZQValueStruct& value) {
  std::string out;
  PrintVisitor v(out);
  printValue(v, value);
  // "Value: (integer) 5\n": keep what follows "Value: " on the first line.
  std::string first = out.substr(0, out.find('\n'));
  return first.size() > 7 ? first.substr(7) : first;
}

}  // namespace

void printMember(PrintVisitor& v, ZQValueStruct& s, Label label) {
  // A label other than the description's own is a caller's prefix word
  // ("Localized " makes "Localized Value: ...").
  if (label && std::string(label) != "value") {
    Nest nest(v, v.prefix() + label);
    printValue(v, s);
    return;
  }
  printValue(v, s);
}

void printMember(PrintVisitor& v, ZQCurrencyStruct& s, Label) {
  v.line("Value          : %s\n", s.value ? s.value : "<null>");
  v.line("Currency Code  : %s\n", fixedString(s.currencyCode, sizeof s.currencyCode).c_str());
  v.line("Conversion Date: %d\n", s.conversionDate);
  const ZQFunctionalCurrencyList& f = s.functionalCurrencies;
  const uint32_t n = f.items ? f.count : 0;
  v.line("Functional Currency List: %u items\n", n);
  Nest nest(v);
  for (uint32_t i = 0; i < n; ++i) {
    v.line("Functional Currency Struct:\n");
    Nest inner(v);
    v.line("Value          : %s\n", f.items[i].value ? f.items[i].value : "<null>");
    v.line("Currency Code  : %s\n",
           fixedString(f.items[i].currencyCode, sizeof f.items[i].currencyCode).c_str());
  }
}

void printMember(PrintVisitor& v, ZQFieldValueStruct& s, Label) {
  v.line("Field Value Struct:\n");
  Nest nest(v);
  v.line("Field Id: %u\n", s.fieldId);
  printValue(v, s.value, s.fieldId == kStatusHistoryField);
}

void printMember(PrintVisitor& v, ZQStatisticsResultList& s, Label) {
  v.line("Statistics Result List: %u items\n", s.count);
  for (uint32_t i = 0; i < (s.items ? s.count : 0); ++i) {
    ZQStatisticsResultStruct& r = s.items[i];
    const ZQValueList& g = r.groupByValues;
    if (g.count && g.items) {
      v.line("Grouped by ");
      for (uint32_t k = 0; k < g.count; ++k) {
        if (k) v.raw(" then by ");
        v.raw("%s", inlineValue(g.items[k]).c_str());
      }
      v.raw("\n");
    }
    v.line("   Stat %s\n", inlineValue(r.result).c_str());
  }
}

// Entry ids of a join: the member ids joined by '|'.
void printMember(PrintVisitor& v, ZQEntryIdList& s, Label label) {
  std::string joined;
  for (uint32_t i = 0; i < (s.items ? s.count : 0); ++i) {
    if (i) joined += '|';
    joined += fixedString(s.items[i], sizeof s.items[i]);
  }
  v.text(label && std::string(label) != "entryId" ? label : "Entry Id:", joined.c_str());
}

// Empty texts print as absent ones.
void printMember(PrintVisitor& v, ZQStatusStruct& s, Label) {
  v.line("Status Struct :\n");
  statusEntryLines(v, s);
}

void printStatusList(std::string& out, const ZQStatusList* status) {
  PrintVisitor v(out);
  const uint32_t n = status && status->items ? status->count : 0;
  v.line("Status List: %u items\n", status ? status->count : 0);
  for (uint32_t i = 0; i < n; ++i) {
    v.line("Status Struct:\n");
    statusEntryLines(v, status->items[i]);
  }
}

}  // namespace zq::diag
