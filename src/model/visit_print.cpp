// Trace forms of the structures whose printed shape is not a plain walk of
// their members.
#include "model/visit_print.h"

#include <cctype>
#include <cstdio>
#include <cstring>

#include "model/history_text.h"
#include "zqapi/zq_free.h"

namespace zq::model {

// ---- the visitor ----------------------------------------------------------------------

void PrintVisitor::vappendf(const char* fmt, va_list args) {
  char small[512];
  va_list copy;
  va_copy(copy, args);
  const int n = vsnprintf(small, sizeof small, fmt, copy);
  va_end(copy);
  if (n < 0) return;
  if (static_cast<size_t>(n) < sizeof small) {
    out_.append(small, static_cast<size_t>(n));
    return;
  }
  std::string big(static_cast<size_t>(n) + 1, '\0');
  vsnprintf(big.data(), big.size(), fmt, args);
  big.resize(static_cast<size_t>(n));
  out_ += big;
}

void PrintVisitor::appendf(const char* fmt, ...) {
  va_list args;
  va_start(args, fmt);
  vappendf(fmt, args);
  va_end(args);
}

void PrintVisitor::line(const char* fmt, ...) {
  out_ += prefix_;
  va_list args;
  va_start(args, fmt);
  vappendf(fmt, args);
  va_end(args);
}

void PrintVisitor::raw(const char* fmt, ...) {
  va_list args;
  va_start(args, fmt);
  vappendf(fmt, args);
  va_end(args);
}

std::string PrintVisitor::labelText(Label label) {
  if (!label || !*label) return "";
  const std::string l(label);
  if (l.find(':') != std::string::npos || !islower(static_cast<unsigned char>(l[0]))) return l;
  // A member name: "fieldId" reads "   Field Id:".
  std::string words = "   ";
  for (size_t i = 0; i < l.size(); ++i) {
    const char c = l[i];
    if (i == 0) {
      words += static_cast<char>(toupper(static_cast<unsigned char>(c)));
    } else if (isupper(static_cast<unsigned char>(c))) {
      words += ' ';
      words += c;
    } else {
      words += c;
    }
  }
  return words + ":";
}

std::string PrintVisitor::nestedPrefix() const {
  return prefix_.size() >= 40 ? std::string() : prefix_ + "   ";
}

bool PrintVisitor::enter() {
  if (depth_ >= kMaxPrintDepth) {
    line("<nested too deeply to print>\n");
    return false;
  }
  ++depth_;
  return true;
}

void PrintVisitor::text(Label label, const char* value) {
  const std::string l = labelText(label);
  out_ += prefix_;
  out_ += l;
  if (value) {
    if (!l.empty()) out_ += ' ';
    out_ += value;
  }
  out_ += '\n';
}

void PrintVisitor::fixedText(const char* buf, size_t width, Label label) {
  text(label, std::string(buf, strnlen(buf, width)).c_str());
}

void PrintVisitor::text(uint32_t& length, char*& bytes, Label label) {
  if (!bytes) return text(label, static_cast<const char*>(nullptr));
  text(label, std::string(bytes, strnlen(bytes, length)).c_str());
}

void PrintVisitor::bytes(uint32_t& size, unsigned char*& data, Label label) {
  line("%s %u bytes\n", labelText(label).c_str(), data ? size : 0u);
}

void PrintVisitor::listHeader(Label label, uint32_t count) {
  if (!label || std::string(label) == "items")
    line("%u items\n", count);
  else
    line("%s %u items\n", labelText(label).c_str(), count);
}

namespace {

// ---- words ----------------------------------------------------------------------------

struct Word {
  uint32_t value;
  const char* word;
};

template <size_t N>
std::string wordOf(const Word (&table)[N], uint32_t value, const char* undefinedFormat) {
  for (const Word& w : table)
    if (w.value == value) return w.word;
  char buf[96];
  snprintf(buf, sizeof buf, undefinedFormat, value);
  return buf;
}

constexpr Word kDataTypes[] = {
    {0, "NULL"},         {1, "(keyword)"},     {2, "(integer)"},
    {3, "(real)"},       {4, "(char)"},        {5, "(diary)"},
    {6, "(enumerated)"}, {7, "(timestamp)"},   {8, "(bitmask)"},
    {9, "(bytelist)"},   {10, "(decimal)"},    {11, "(attachment)"},
    {12, "(currency)"},  {13, "(date)"},       {14, "(timeofday)"},
    {30, "(join)"},      {31, "(trim)"},       {32, "(control)"},
    {35, "(page)"},      {36, "(pageholder)"}, {37, "(attachmentpool)"},
    {40, "(ulong)"},     {41, "(coordlist)"},  {42, "(view)"},
    {43, "(display)"},
};
constexpr Word kMessageTypes[] = {{0, "NOTE"}, {1, "WARNING"}, {2, "ERROR"}};
constexpr Word kAlMessageTypes[] = {{0, "NOTE"},   {1, "WARNING"},    {2, "ERROR"},
                                    {5, "PROMPT"}, {6, "ACCESSIBLE"}, {7, "TOOLTIP"}};
constexpr Word kQualOps[] = {
    {0, "<none>"}, {1, "AND"}, {2, "OR"}, {3, "NOT"}, {4, "RELATIONAL OPERATION"}};
constexpr Word kRelOps[] = {{1, "EQUAL"},      {2, "GREATER"},   {3, "GREATER_EQUAL"}, {4, "LESS"},
                            {5, "LESS_EQUAL"}, {6, "NOT_EQUAL"}, {7, "LIKE"},          {8, "IN"}};
constexpr Word kArithOps[] = {{1, "ADD"},    {2, "SUBTRACT"}, {3, "MULTIPLY"},
                              {4, "DIVIDE"}, {5, "MODULO"},   {6, "NEGATE (unary minus)"}};
constexpr Word kOperandTags[] = {
    {0, "none"},
    {1, "FIELD"},
    {2, "VALUE"},
    {3, "ARITHMETIC"},
    {4, "STAT HISTORY"},
    {5, "VALUE SET"},
    {6, "CURRENCY FIELD"},
    {50, "FIELD TRAN"},
    {51, "FIELD DB"},
    {52, "LOCAL VARIABLE"},
    {53, "QUERY"},
    {54, "CURRENCY FIELD TRAN"},
    {55, "CURRENCY FIELD DB"},
    {56, "CURRENCY FIELD (current screen)"},
    {99, "FIELD (current screen)"},
};
constexpr Word kUserOrTime[] = {{1, "USER"}, {2, "TIME"}};
constexpr Word kMultiValue[] = {{1, "ERROR"}, {2, "FIRST"}, {3, "SET"}};
constexpr Word kAssignTypes[] = {{0, "NONE"},    {1, "VALUE"}, {2, "FIELD"},
                                 {3, "PROCESS"}, {4, "ARITH"}, {5, "FUNCTION"},
                                 {6, "DDE"},     {7, "SQL"},   {8, "FILTER API"}};
constexpr Word kAssignFieldTags[] = {{1, "FIELD"}, {4, "STAT_HISTORY"}, {6, "CURRENCY FIELD"}};
constexpr Word kNoMatch[] = {{1, "ERROR"}, {2, "NULL"}};
constexpr Word kMultiMatch[] = {{1, "ERROR"}, {2, "NULL"}, {3, "FIRST"}, {4, "PICKLIST"}};
constexpr Word kFunctions[] = {
    {1, "DATE"},         {2, "TIME"},          {3, "MONTH"},        {4, "DAY"},
    {5, "YEAR"},         {6, "WEEKDAY"},       {7, "HOUR"},         {8, "MINUTE"},
    {9, "SECOND"},       {10, "TRUNC"},        {11, "ROUND"},       {12, "CONVERT"},
    {13, "LENGTH"},      {14, "UPPER"},        {15, "LOWER"},       {16, "SUBSTR"},
    {17, "LEFT"},        {18, "RIGHT"},        {19, "LTRIM"},       {20, "RTRIM"},
    {21, "LPAD"},        {22, "RPAD"},         {23, "REPLACE"},     {24, "STRSTR"},
    {25, "MIN"},         {26, "MAX"},          {32, "DATEADD"},     {33, "DATEDIFF"},
    {34, "DATENAME"},    {35, "DATENUM"},      {36, "CURRCONVERT"}, {37, "CURRSETDATE"},
    {38, "CURRSETTYPE"}, {39, "CURRSETVALUE"}, {40, "LENGTHC"},     {41, "LEFTC"},
    {42, "RIGHTC"},      {43, "LPADC"},        {44, "RPADC"},       {45, "STRSTRC"},
    {46, "SUBSTRC"},     {47, "ENCRYPT"},      {48, "DECRYPT"},     {49, "HOVER"},
    {50, "TEMPLATE"},
};
constexpr Word kFilterActions[] = {
    {0, "NONE"},       {1, "NOTIFY"},     {2, "MESSAGE"},     {3, "LOG FILE"},
    {4, "SET FIELDS"}, {5, "PROCESS"},    {6, "PUSH FIELDS"}, {7, "DIRECT SQL"},
    {8, "GOTO"},       {9, "CALL GUIDE"}, {10, "EXIT GUIDE"}, {11, "GOTO GUIDE LABEL"},
    {12, "SERVICE"},
};
constexpr Word kActiveLinkActions[] = {
    {0, "NONE"},          {1, "MACRO"},
    {2, "FIELDS"},        {3, "PROCESS"},
    {4, "MESSAGE"},       {5, "SET FIELD CHARACTERISTICS"},
    {6, "DDE"},           {7, "PUSH FIELDS"},
    {8, "DIRECT SQL"},    {9, "AUTOMATION"},
    {10, "OPEN WINDOW"},  {11, "COMMIT CHANGES"},
    {12, "CLOSE WINDOW"}, {13, "CALL GUIDE"},
    {14, "EXIT GUIDE"},   {15, "GOTO GUIDE LABEL"},
    {16, "WAIT"},         {17, "GOTO"},
    {18, "SERVICE"},
};
constexpr Word kMechanisms[] = {
    {1, "ALERT"}, {2, "E-MAIL"}, {3, "DEFAULT"}, {99, "CROSS-REFERENCE"}};
constexpr Word kNotifyFieldKinds[] = {{0, "NONE"}, {1, "ALL"}, {2, "LIST"}, {3, "CHANGED"}};
constexpr Word kGotoTags[] = {
    {1, "FIELD XREF"}, {2, "ABSOLUTE ORDER"}, {3, "OFFSET FORWARD"}, {4, "OFFSET BACKWARD"}};
constexpr Word kMenuTypes[] = {{0, "NONE"}, {1, "LIST"},        {2, "QUERY"},          {3, "FILE"},
                               {4, "SQL"},  {5, "SERVER SIDE"}, {6, "DATA DICTIONARY"}};
constexpr Word kFileLocations[] = {{1, "SERVER"}, {2, "CLIENT"}};
constexpr Word kLimitTypes[] = {
    {0, "NO LIMITS"},  {2, "INTEGER"},   {3, "REAL"},       {4, "CHARACTER"}, {5, "DIARY"},
    {6, "ENUMERATED"}, {7, "TIMESTAMP"}, {8, "BITMASK"},    {10, "DECIMAL"},  {11, "ATTACHMENT"},
    {12, "CURRENCY"},  {13, "DATE"},     {14, "TIMEOFDAY"}, {33, "TABLE"},    {34, "COLUMN"},
    {42, "VIEW"},      {43, "DISPLAY"},
};
constexpr Word kAttachTypes[] = {{1, "EMBEDDED"}, {2, "LINK"}};
constexpr Word kPermissions[] = {{0, "NONE"}, {1, "VIEW"}, {2, "CHANGE"}};
constexpr Word kGroupTypes[] = {{0, "NONE"}, {1, "VIEW"}, {2, "CHANGE"}};
constexpr Word kSortOrders[] = {{1, "ASCENDING"}, {2, "DESCENDING"}};
constexpr Word kMappings[] = {{0, "NONE"}, {1, "REGULAR"}, {2, "JOIN"},
                              {3, "VIEW"}, {4, "VENDOR"},  {5, "INHERITED"}};
constexpr Word kSchemaTypes[] = {{0, "NONE"}, {1, "REGULAR"}, {2, "JOIN"},
                                 {3, "VIEW"}, {4, "DIALOG"},  {5, "VENDOR"}};
constexpr Word kFullText[] = {
    {1, "COLLECTION DIRECTORY"},      {2, "STOPWORD LIST"},
    {3, "COLLECTION REINDEX"},        {4, "CASE INSENSITIVE SEARCH"},
    {5, "FULLTEXT OPERATIONS STATE"}, {6, "FULLTEXT SEARCH MATCH OPERATOR"}};

using Nest = PrintVisitor::Nest;

std::string fixed(const char* buf, size_t width) {
  return std::string(buf, strnlen(buf, width));
}

// ---- packed lists -------------------------------------------------------------------------

// " %s (%u)  " and the items separated by ", ", wrapped before the line
// would reach the limit; a label too long for a line stands alone, cut.
template <class F>
void packed(PrintVisitor& v, const std::string& label, uint32_t count, bool longNames,
            F&& itemText) {
  const size_t limit = longNames ? 271 : 79;
  const size_t longestLabel = longNames ? 273 : 81;
  std::string& out = v.out();
  const std::string continuation = v.nestedPrefix();
  char counted[24];
  snprintf(counted, sizeof counted, "(%u)  ", count);
  std::string line;
  if (label.size() > longestLabel) {
    out.append(v.prefix()).append(label, 0, longestLabel).append("\n");
    line = continuation;
  } else {
    line = v.prefix();
    line.append(" ").append(label).append(" ");
  }
  line.append(counted);
  size_t fresh = continuation.size();  // a line holding only its prefix
  for (uint32_t i = 0; i < count; ++i) {
    std::string item = itemText(i);
    if (i + 1 < count) item += ", ";
    if (line.size() + item.size() >= limit && line.size() > fresh) {
      const size_t blank = line.find_last_of(' ');
      if (blank != std::string::npos)
        line[blank] = '\n';
      else
        line += '\n';
      out += line;
      line = continuation;
    }
    line += item;
  }
  out += line;
  out += '\n';
}

// ---- values ---------------------------------------------------------------------------------

void printNestedStatus(PrintVisitor& v, ZQStatusList& s) {
  v.member(s);
}

void printDiary(PrintVisitor& v, const char* text) {
  ZQDiaryList list{0, nullptr};
  ZQStatusList status{0, nullptr};
  if (decodeDiary(text, &list, &status) >= ZQ_RETURN_ERROR) {
    v.raw("   DECODE DIARY FAILURE\n");
    Nest nest(v);
    printNestedStatus(v, status);
  } else {
    v.raw(" %u diary entries\n", list.count);
    for (uint32_t i = 0; i < list.count && list.items; ++i) {
      const ZQDiaryStruct& d = list.items[i];
      v.line(" %d   %s\n", static_cast<int32_t>(d.timestamp), fixed(d.user, sizeof d.user).c_str());
      v.line("%s\n", d.value ? d.value : "");
    }
  }
  FreeZQDiaryList(&list, 0);
  FreeZQStatusList(&status, 0);
}

void printStatusHistory(PrintVisitor& v, const char* text) {
  ZQStatusHistoryList list{0, nullptr};
  ZQStatusList status{0, nullptr};
  if (decodeStatusHistory(text, &list, &status) >= ZQ_RETURN_ERROR) {
    v.raw("   DECODE STATUS-HISTORY FAILURE\n");
    Nest nest(v);
    printNestedStatus(v, status);
  } else {
    v.raw(" %u stat hist items\n", list.count);
    for (uint32_t i = 0; i < list.count && list.items; ++i) {
      const ZQStatusHistoryStruct& h = list.items[i];
      if (h.user[0])
        v.line(" %u - %d   %s\n", i, static_cast<int32_t>(h.timestamp),
               fixed(h.user, sizeof h.user).c_str());
      else
        v.line(" %u - \n", i);
    }
  }
  FreeZQStatusHistoryList(&list, 0);
  FreeZQStatusList(&status, 0);
}

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

// "%sValue: " and the value; intro replaces "Value: " where a caller asks.
void printValue(PrintVisitor& v, ZQValueStruct& s, bool statusHistory = false) {
  const uint32_t t = s.dataType;
  if (statusHistory && t == ZQ_DATA_TYPE_CHAR && s.u.charValue) {
    v.line("Value:");
    printStatusHistory(v, s.u.charValue);
    return;
  }
  v.line("Value: %s", wordOf(kDataTypes, t, "<undefined data type tag = %u>").c_str());
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

}  // namespace

void printMember(PrintVisitor& v, ZQCurrencyStruct& s, Label) {
  v.line("Value          : %s\n", s.value ? s.value : "<null>");
  v.line("Currency Code  : %s\n", fixed(s.currencyCode, sizeof s.currencyCode).c_str());
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
           fixed(f.items[i].currencyCode, sizeof f.items[i].currencyCode).c_str());
  }
}

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

void printMember(PrintVisitor& v, ZQValueList& s, Label) {
  const uint32_t n = s.items ? s.count : 0;
  v.line("Value List: %u items\n", s.count);
  Nest nest(v);
  for (uint32_t i = 0; i < n; ++i) printValue(v, s.items[i]);
}

void printMember(PrintVisitor& v, ZQValueListList& s, Label) {
  v.line("Value List List: %u items\n", s.count);
  Nest nest(v);
  for (uint32_t i = 0; i < (s.items ? s.count : 0); ++i) v.member(s.items[i]);
}

void printMember(PrintVisitor& v, ZQFieldValueStruct& s, Label) {
  v.line("Field Value Struct:\n");
  Nest nest(v);
  v.line("Field Id: %u\n", s.fieldId);
  printValue(v, s.value, s.fieldId == 15);
}

void printMember(PrintVisitor& v, ZQFieldValueList& s, Label) {
  v.line("Field Value List: %u items\n", s.count);
  Nest nest(v);
  for (uint32_t i = 0; i < (s.items ? s.count : 0); ++i) v.member(s.items[i]);
}

void printMember(PrintVisitor& v, ZQFieldValueListList& s, Label) {
  v.line("Field Value List List: %u items\n", s.count);
  Nest nest(v);
  for (uint32_t i = 0; i < (s.items ? s.count : 0); ++i) v.member(s.items[i]);
}

void printMember(PrintVisitor& v, ZQPropList& s, Label) {
  v.line("Property List: %u items\n", s.count);
  for (uint32_t i = 0; i < (s.items ? s.count : 0); ++i) {
    v.line("   Property Struct:\n");
    Nest nest(v, v.nestedPrefix() + "   ");
    v.line("Property Tag: %u\n", s.items[i].propertyTag);
    printValue(v, s.items[i].value);
  }
}

void printMember(PrintVisitor& v, ZQDisplayInstanceList& s, Label) {
  v.line("Display Instance List\n");
  v.line("   Common Properties:\n");
  {
    Nest nest(v, v.nestedPrefix() + "   ");
    v.member(s.commonProperties);
  }
  v.line("   VUI Specific Properties: %u items\n", s.count);
  Nest nest(v, v.nestedPrefix() + "   ");
  for (uint32_t i = 0; i < (s.items ? s.count : 0); ++i) {
    v.line("VUI Id: %u\n", s.items[i].vuiId);
    v.member(s.items[i].properties);
  }
}

// ---- packed lists ----------------------------------------------------------------------------

namespace {
std::string packedLabel(Label label, const char* fallback) {
  if (!label || std::string(label) == "items") return fallback;
  const std::string l = PrintVisitor::labelText(label);
  size_t start = l.find_first_not_of(' ');
  return start == std::string::npos ? l : l.substr(start);
}
}  // namespace

void printMember(PrintVisitor& v, ZQNameList& s, Label label) {
  packed(v, packedLabel(label, "Name List:"), s.items ? s.count : 0, true,
         [&](uint32_t i) { return fixed(s.items[i], sizeof s.items[i]); });
}
void printMember(PrintVisitor& v, ZQAccessNameList& s, Label label) {
  packed(v, packedLabel(label, "Name List:"), s.items ? s.count : 0, true,
         [&](uint32_t i) { return fixed(s.items[i], sizeof s.items[i]); });
}
void printMember(PrintVisitor& v, ZQServerNameList& s, Label label) {
  packed(v, packedLabel(label, "Server Name List:"), s.items ? s.count : 0, false,
         [&](uint32_t i) { return fixed(s.items[i], sizeof s.items[i]); });
}
void printMember(PrintVisitor& v, ZQInternalIdList& s, Label label) {
  packed(v, packedLabel(label, "Id List:"), s.items ? s.count : 0, false,
         [&](uint32_t i) { return std::to_string(s.items[i]); });
}
void printMember(PrintVisitor& v, ZQUnsignedIntList& s, Label label) {
  packed(v, packedLabel(label, "List:"), s.items ? s.count : 0, false,
         [&](uint32_t i) { return std::to_string(s.items[i]); });
}
void printMember(PrintVisitor& v, ZQEntryIdList& s, Label label) {
  std::string joined;
  for (uint32_t i = 0; i < (s.items ? s.count : 0); ++i) {
    if (i) joined += '|';
    joined += fixed(s.items[i], sizeof s.items[i]);
  }
  v.text(label && std::string(label) != "entryId" ? label : "Entry Id:", joined.c_str());
}

void PrintVisitor::u32Array(uint32_t* p, size_t n, Label label) {
  packed(*this, packedLabel(label, "List:"), static_cast<uint32_t>(n), false,
         [&](uint32_t i) { return std::to_string(p[i]); });
}

// ---- status lists ---------------------------------------------------------------------------

namespace {
void statusEntryLines(PrintVisitor& v, const ZQStatusStruct& s) {
  v.line("   Message type: %s\n",
         wordOf(kMessageTypes, s.messageType, "<unknown type = %u>").c_str());
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
}  // namespace

void printMember(PrintVisitor& v, ZQStatusStruct& s, Label) {
  v.line("Status Struct :\n");
  statusEntryLines(v, s);
}

void printMember(PrintVisitor& v, ZQStatusList& s, Label) {
  v.line("Status List : %u items\n", s.count);
  for (uint32_t i = 0; i < (s.items ? s.count : 0); ++i) printMember(v, s.items[i], nullptr);
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

// ---- qualifications --------------------------------------------------------------------------

void printMember(PrintVisitor& v, ZQQualifierStruct& s, Label) {
  v.line("Qualifier Struct:\n");
  v.line("   Operation: %s\n", wordOf(kQualOps, s.operation, "<undefined operation = %u>").c_str());
  Nest nest(v);
  switch (s.operation) {
    case ZQ_COND_OP_AND:
    case ZQ_COND_OP_OR:
      v.pointer(s.u.andOr.left);
      v.pointer(s.u.andOr.right);
      break;
    case ZQ_COND_OP_NOT:
      v.pointer(s.u.operand);
      break;
    case ZQ_COND_OP_REL_OP:
      v.pointer(s.u.relation);
      break;
    default:
      break;
  }
}

void printMember(PrintVisitor& v, ZQRelOpStruct& s, Label) {
  v.line("Relational Operation:\n");
  v.line("   Operation: %s\n", wordOf(kRelOps, s.operation, "<undefined operation = %u>").c_str());
  Nest nest(v);
  v.member(s.left);
  v.member(s.right);
}

void printMember(PrintVisitor& v, ZQArithOpStruct& s, Label) {
  v.line("Arithmetic Operation:\n");
  v.line("   Operation: %s\n",
         wordOf(kArithOps, s.operation, "<undefined operation = %u>").c_str());
  Nest nest(v);
  if (s.operation != ZQ_ARITH_OP_NEGATE) v.member(s.left);
  v.member(s.right);
}

void printMember(PrintVisitor& v, ZQFieldValueOrArithStruct& s, Label) {
  v.line("Field, Value, or Arithmetic Struct:\n");
  v.line("   Tag: %s\n", wordOf(kOperandTags, s.tag, "<undefined tag value = %u>").c_str());
  Nest nest(v);
  const uint32_t tag = s.tag;
  if (tag >= 12 && tag <= 26) {
    v.line("Field Id: %u\n", s.u.fieldId);
    return;
  }
  switch (tag) {
    case ZQ_FIELD:
    case ZQ_FIELD_TRAN:
    case ZQ_FIELD_DB:
    case ZQ_FIELD_CURRENT:
      v.line("Field Id: %u\n", s.u.fieldId);
      break;
    case ZQ_VALUE:
      printValue(v, s.u.value);
      break;
    case ZQ_ARITHMETIC:
      v.pointer(s.u.arithOp);
      break;
    case ZQ_STAT_HISTORY:
      v.line("Enumerated value index: %u\n", s.u.statHistory.enumeratedValueIndex);
      v.line("User or Time: %s\n",
             wordOf(kUserOrTime, s.u.statHistory.userOrTime, "<undefined value = %u>").c_str());
      break;
    case ZQ_VALUE_SET:
      v.member(s.u.valueSet);
      break;
    case ZQ_LOCAL_VARIABLE:
      v.line("Local Variable number: %u\n", s.u.variable);
      break;
    case ZQ_QUERY:
      if (ZQQueryStruct* q = s.u.query) {
        v.line("Query Schema: %s\n", fixed(q->schema, sizeof q->schema).c_str());
        v.line("Query Server: %s\n", fixed(q->server, sizeof q->server).c_str());
        v.pointer(q->qualifier);
        v.line("Value Field Id: %u\n", q->valueFieldId);
        v.line(
            "Multi Value Code: %s\n",
            wordOf(kMultiValue, q->multiValueCode, "<undefined multi-match value = %u>").c_str());
      }
      break;
    case ZQ_CURRENCY_FLD:
    case ZQ_CURRENCY_FLD_TRAN:
    case ZQ_CURRENCY_FLD_DB:
    case ZQ_CURRENCY_FLD_CURRENT:
      if (ZQCurrencyPartStruct* c = s.u.currencyField) {
        v.line("Field Id: %u\n", c->fieldId);
        v.line("Currency part tag: %u\n", c->partTag);
        if (c->partTag == 4)
          v.line("Currency Code: %s\n", fixed(c->currencyCode, sizeof c->currencyCode).c_str());
      }
      break;
    default:
      break;
  }
}

// ---- assignments ------------------------------------------------------------------------------

void printMember(PrintVisitor& v, ZQAssignStruct& s, Label) {
  v.line("Assign Value: %s\n",
         wordOf(kAssignTypes, s.assignType, "<undefined assign type tag = %u>").c_str());
  Nest nest(v);
  switch (s.assignType) {
    case ZQ_ASSIGN_TYPE_VALUE:
      printValue(v, s.u.value);
      break;
    case ZQ_ASSIGN_TYPE_FIELD:
      v.pointer(s.u.field);
      break;
    case ZQ_ASSIGN_TYPE_PROCESS:
      v.text("Process:", s.u.process);
      break;
    case ZQ_ASSIGN_TYPE_ARITH:
      v.pointer(s.u.arithOp);
      break;
    case ZQ_ASSIGN_TYPE_FUNCTION:
      v.pointer(s.u.function);
      break;
    case ZQ_ASSIGN_TYPE_DDE:
      v.pointer(s.u.dde);
      break;
    case ZQ_ASSIGN_TYPE_SQL:
      v.pointer(s.u.sql);
      break;
    case ZQ_ASSIGN_TYPE_FILTER_API:
      v.pointer(s.u.filterApi);
      break;
    default:
      break;
  }
}

void printMember(PrintVisitor& v, ZQAssignFieldStruct& s, Label) {
  v.line("Server: %s\n", fixed(s.server, sizeof s.server).c_str());
  v.line("Schema: %s\n", fixed(s.schema, sizeof s.schema).c_str());
  v.member(s.qualifier);
  v.line("Tag: %s\n", wordOf(kAssignFieldTags, s.tag, "<undefined tag = %u>").c_str());
  switch (s.tag) {
    case ZQ_FIELD:
      v.line("Field Id: %u\n", s.u.fieldId);
      break;
    case ZQ_STAT_HISTORY:
      v.line("Enumerated value index: %u\n", s.u.statHistory.enumeratedValueIndex);
      v.line("User or Time: %s\n",
             wordOf(kUserOrTime, s.u.statHistory.userOrTime, "<undefined value = %u>").c_str());
      break;
    case ZQ_CURRENCY_FLD:
      if (ZQCurrencyPartStruct* c = s.u.currencyField) {
        v.line("Field Id: %u\n", c->fieldId);
        v.line("Currency part tag: %u\n", c->partTag);
        if (c->partTag == 4)
          v.line("Currency Code: %s\n", fixed(c->currencyCode, sizeof c->currencyCode).c_str());
      }
      break;
    default:
      break;
  }
  v.line("No Match Option: %s\n",
         wordOf(kNoMatch, s.noMatchOption, "<undefined multi-match value = %u>").c_str());
  v.line("Multi Match Option: %s\n",
         wordOf(kMultiMatch, s.multiMatchOption, "<undefined multi-match value = %u>").c_str());
}

void printMember(PrintVisitor& v, ZQArithOpAssignStruct& s, Label) {
  v.line("Arithmetic Operation:\n");
  v.line("   Operation: %s\n",
         wordOf(kArithOps, s.operation, "<undefined operation = %u>").c_str());
  if (s.operation != ZQ_ARITH_OP_NEGATE) {
    v.line("Left operand:\n");
    Nest nest(v);
    v.member(s.left);
  }
  v.line("Right operand:\n");
  Nest nest(v);
  v.member(s.right);
}

void printMember(PrintVisitor& v, ZQFunctionAssignStruct& s, Label) {
  v.line("Function:\n");
  v.line("   Function code: %s\n",
         wordOf(kFunctions, s.functionCode, "<undefined function = %u>").c_str());
  v.line("   Function arguments: %u items\n", s.count);
  Nest nest(v);
  for (uint32_t i = 0; i < (s.items ? s.count : 0); ++i) v.member(s.items[i]);
}

void printMember(PrintVisitor& v, ZQDDEStruct& s, Label) {
  v.line("DDE Struct:\n");
  Nest nest(v);
  v.text("Service name:", s.serviceName);
  v.text("Topic:", s.topic);
  v.text("Item:", s.item);
  v.line("Action: %u\n", s.action);
  v.text("Path to Program:", s.pathToProgram);
  v.text("Command:", s.command);
}

void printMember(PrintVisitor& v, ZQAssignSQLStruct& s, Label) {
  v.line("Server: %s\n", fixed(s.server, sizeof s.server).c_str());
  v.text("SQL Command:", s.sqlCommand);
  v.line("Value Index: %u\n", s.valueIndex);
  v.line("No Match Option: %s\n",
         wordOf(kNoMatch, s.noMatchOption, "<undefined multi-match value = %u>").c_str());
  v.line("Multi Match Option: %s\n",
         wordOf(kMultiMatch, s.multiMatchOption, "<undefined multi-match value = %u>").c_str());
}

void printMember(PrintVisitor& v, ZQAssignFilterApiStruct& s, Label) {
  v.line("   Assign Filter Api Struct\n");
  v.line("   Service Name: %s\n", fixed(s.serviceName, sizeof s.serviceName).c_str());
  v.line("Input Values List:\n");
  v.line("Assign List: %u items\n", s.count);
  {
    Nest nest(v);
    for (uint32_t i = 0; i < (s.items ? s.count : 0); ++i) v.member(s.items[i]);
  }
  v.line("Value Index: %d\n", static_cast<int32_t>(s.valueIndex));
}

void printMember(PrintVisitor& v, ZQFieldAssignStruct& s, Label) {
  v.line("Field Assign Struct:\n");
  Nest nest(v);
  v.line("Field Id: %u\n", s.fieldId);
  v.member(s.assignment);
}

void printMember(PrintVisitor& v, ZQFieldAssignList& s, Label label) {
  if (label && label[0] == ' ') v.line("%s\n", label);  // "   Input Values:" and the like
  v.line("Field Assign List: %u items\n", s.count);
  Nest nest(v);
  for (uint32_t i = 0; i < (s.items ? s.count : 0); ++i) v.member(s.items[i]);
}

// ---- workflow actions
// -----------------------------------------------------------------------------

void printMember(PrintVisitor& v, ZQNotifyStruct& s, Label) {
  v.line("Notify Struct:\n");
  v.text("   User:", s.user);
  v.text("   Text:", s.text);
  v.line("   Priority: %u\n", s.priority);
  v.line("   Mechanism: %s\n", wordOf(kMechanisms, s.mechanism, "%u").c_str());
  if (s.mechanism == ZQ_NOTIFY_XREF)
    v.line("      Cross reference field id: %d\n", static_cast<int32_t>(s.crossReferenceFieldId));
  v.text("   Subject:", s.subject);
  v.line("   Field Id List: %s\n",
         wordOf(kNotifyFieldKinds, s.fieldIdListKind, "<undefined type = %u>").c_str());
  if (s.fieldIdListKind == ZQ_NOTIFY_FIELDS_LIST) {
    Nest nest(v);
    v.member(s.fieldIdList, "Field Ids:");
  }
  v.line("   Behavior: %u\n", s.behavior);
  v.line("   Permission: %u\n", s.permission);
  if (s.advanced) describe(v, *s.advanced);
}

void printMember(PrintVisitor& v, ZQFilterStatusStruct& s, Label) {
  v.line("Filter Status Struct:\n");
  v.line("   Message type: %s\n",
         wordOf(kMessageTypes, s.messageType, "<unknown type = %u>").c_str());
  v.line("   Message number: %d\n", s.messageNumber);
  v.text("   Message:", s.message);
}

void printMember(PrintVisitor& v, ZQMessageStruct& s, Label) {
  v.line("Message Struct:\n");
  v.line("   Message type: %s\n",
         wordOf(kAlMessageTypes, s.messageType, "<unknown type = %u>").c_str());
  v.line("   Message number: %d\n", s.messageNumber);
  v.text("   Message:", s.message);
  v.line("   Use Prompting Pane?: %s\n", s.usePromptingPane ? "TRUE" : "FALSE");
}

void printMember(PrintVisitor& v, ZQSetFieldsStruct& s, Label) {
  v.member(s.fieldAssignList);
  v.line("   Sample Server: %s\n", fixed(s.sampleServer, sizeof s.sampleServer).c_str());
  v.line("   Sample Schema: %s\n", fixed(s.sampleSchema, sizeof s.sampleSchema).c_str());
}

void printMember(PrintVisitor& v, ZQPushFieldsStruct& s, Label) {
  v.line("Push Fields Struct:\n");
  Nest nest(v);
  v.line("Target:\n");
  {
    Nest inner(v);
    v.member(s.target);
  }
  v.line("Source:\n");
  Nest inner(v);
  v.member(s.source);
}

void printMember(PrintVisitor& v, ZQPushFieldsList& s, Label) {
  v.line("Push Fields List: %u items\n", s.count);
  Nest nest(v);
  for (uint32_t i = 0; i < (s.items ? s.count : 0); ++i) v.member(s.items[i]);
}

void printMember(PrintVisitor& v, ZQSQLStruct& s, Label) {
  v.line("SQL Struct:\n");
  v.line("   Server: %s\n", fixed(s.server, sizeof s.server).c_str());
  v.line("   SQL Command: %s\n", s.sqlCommand ? s.sqlCommand : "NULL");
}

void printMember(PrintVisitor& v, ZQGotoActionStruct& s, Label) {
  static const char* const kTargets[] = {
      "   Field Id:", "   Execution Order:", "   Execution Order Advance By:",
      "   Execution Order Backup By:"};
  v.line("Goto Action Struct:\n");
  v.line("   Tag: %s\n", wordOf(kGotoTags, s.tag, "<unknown tag = %u>").c_str());
  const char* target = s.tag >= 1 && s.tag <= 4 ? kTargets[s.tag - 1] : "   Target Value:";
  v.line("%s %u\n", target, s.targetValue);
}

void printMember(PrintVisitor& v, ZQCallGuideStruct& s, Label) {
  v.line("Call Guide Struct:\n");
  describe(v, s);
}

void printMember(PrintVisitor& v, ZQExitGuideStruct& s, Label) {
  v.line("Exit Guide Struct:\n");
  describe(v, s);
}

void printMember(PrintVisitor& v, ZQGotoGuideLabelStruct& s, Label) {
  v.line("Goto Guide Label Struct:\n");
  describe(v, s);
}

void printMember(PrintVisitor& v, ZQWaitStruct& s, Label) {
  v.line("Wait Struct:\n");
  describe(v, s);
}

void printMember(PrintVisitor& v, ZQCloseWindowStruct& s, Label) {
  v.line("Close Window Struct:\n");
  describe(v, s);
}

void printMember(PrintVisitor& v, ZQActiveLinkMacroStruct& s, Label) {
  v.line("Active Link Macro Struct:\n");
  v.line("   Macro Name: %s\n", fixed(s.macroName, sizeof s.macroName).c_str());
  v.text("   Macro Text:", s.macroText);
  const ZQMacroParmList& p = s.macroParms;
  v.line("   Macro Parms: %u\n", p.count);
  for (uint32_t i = 0; i < (p.items ? p.count : 0); ++i) {
    v.line("      Macro parm (%d): %s", static_cast<int>(i),
           fixed(p.items[i].name, sizeof p.items[i].name).c_str());
    if (p.items[i].value) v.raw(" =  %s", p.items[i].value);
    v.raw("\n");
  }
}

void printMember(PrintVisitor& v, ZQOutboundAutomationStruct& s, Label) {
  v.line("Outbound Automation Struct:\n");
  describe(v, s);
}

void printMember(PrintVisitor& v, ZQFieldCharacteristicsStruct& s, Label) {
  v.line("Field Characteristics Struct:\n");
  v.line("   Field Id: %u\n", s.fieldId);
  v.line("   Char Menu: %s\n", s.charMenu ? s.charMenu : "NULL");
  {
    Nest nest(v);
    v.member(s.properties);
  }
  v.line("   Reset Focus: %u\n", s.resetFocus);
  v.line("   Access option: %u\n", s.accessOption);
}

void printMember(PrintVisitor& v, ZQOpenDialogStruct& s, Label) {
  v.line("Open Dialog Struct:\n");
  describe(v, s);
}

void printMember(PrintVisitor& v, ZQSvcActionStruct& s, Label) {
  v.line("Svc Action Struct:\n");
  describe(v, s);
}

void printMember(PrintVisitor& v, ZQFilterActionStruct& s, Label) {
  v.line("Filter Action Struct: %s\n",
         wordOf(kFilterActions, s.action, "<undefined action = %u>").c_str());
  Nest nest(v);
  switch (s.action) {
    case ZQ_FILTER_ACTION_NOTIFY:
      v.member(s.u.notify);
      break;
    case ZQ_FILTER_ACTION_MESSAGE:
      v.member(s.u.message);
      break;
    case ZQ_FILTER_ACTION_LOG:
      v.text("   Filename:", s.u.logFile);
      break;
    case ZQ_FILTER_ACTION_FIELDS:
      v.member(s.u.setFields);
      break;
    case ZQ_FILTER_ACTION_PROCESS:
      v.text("   Filename:", s.u.process);
      break;
    case ZQ_FILTER_ACTION_FIELDP:
      v.member(s.u.pushFields);
      break;
    case ZQ_FILTER_ACTION_SQL:
      v.member(s.u.sqlCommand);
      break;
    case ZQ_FILTER_ACTION_GOTOACTION:
      v.member(s.u.gotoAction);
      break;
    case ZQ_FILTER_ACTION_CALLGUIDE:
      v.member(s.u.callGuide);
      break;
    case ZQ_FILTER_ACTION_EXITGUIDE:
      v.member(s.u.exitGuide);
      break;
    case ZQ_FILTER_ACTION_GOTOGUIDELABEL:
      v.member(s.u.gotoGuideLabel);
      break;
    case ZQ_FILTER_ACTION_SERVICE:
      v.member(s.u.serviceAction);
      break;
    default:
      break;
  }
}

void printMember(PrintVisitor& v, ZQFilterActionList& s, Label label) {
  const char* kind = label && std::string(label) != "items" ? label : "Filter";
  v.line("%s Action List: %u items\n", kind, s.count);
  Nest nest(v);
  for (uint32_t i = 0; i < (s.items ? s.count : 0); ++i) v.member(s.items[i]);
}

void printMember(PrintVisitor& v, ZQActiveLinkActionStruct& s, Label) {
  v.line("Active Link Action Struct: %s\n",
         wordOf(kActiveLinkActions, s.action, "<undefined action = %u>").c_str());
  Nest nest(v);
  switch (s.action) {
    case ZQ_ACTIVE_LINK_ACTION_MACRO:
      v.member(s.u.macro);
      break;
    case ZQ_ACTIVE_LINK_ACTION_FIELDS:
      v.member(s.u.setFields);
      break;
    case ZQ_ACTIVE_LINK_ACTION_PROCESS:
      v.text("   Process:", s.u.process);
      break;
    case ZQ_ACTIVE_LINK_ACTION_MESSAGE:
      v.member(s.u.message);
      break;
    case ZQ_ACTIVE_LINK_ACTION_SET_CHAR:
      v.member(s.u.characteristics);
      break;
    case ZQ_ACTIVE_LINK_ACTION_DDE:
      v.member(s.u.dde);
      break;
    case ZQ_ACTIVE_LINK_ACTION_FIELDP:
      v.member(s.u.pushFields);
      break;
    case ZQ_ACTIVE_LINK_ACTION_SQL:
      v.member(s.u.sqlCommand);
      break;
    case ZQ_ACTIVE_LINK_ACTION_AUTO:
      v.member(s.u.automation);
      break;
    case ZQ_ACTIVE_LINK_ACTION_OPENDLG:
      v.member(s.u.openDialog);
      break;
    case ZQ_ACTIVE_LINK_ACTION_CLOSEWND:
      v.member(s.u.closeWindow);
      break;
    case ZQ_ACTIVE_LINK_ACTION_CALLGUIDE:
      v.member(s.u.callGuide);
      break;
    case ZQ_ACTIVE_LINK_ACTION_EXITGUIDE:
      v.member(s.u.exitGuide);
      break;
    case ZQ_ACTIVE_LINK_ACTION_GOTOGUIDELABEL:
      v.member(s.u.gotoGuideLabel);
      break;
    case ZQ_ACTIVE_LINK_ACTION_WAIT:
      v.member(s.u.waitAction);
      break;
    case ZQ_ACTIVE_LINK_ACTION_GOTOACTION:
      v.member(s.u.gotoAction);
      break;
    case ZQ_ACTIVE_LINK_ACTION_SERVICE:
      v.member(s.u.serviceAction);
      break;
    default:
      break;
  }
}

void printMember(PrintVisitor& v, ZQActiveLinkActionList& s, Label label) {
  const char* kind = label && std::string(label) != "items" ? label : "If";
  v.line("Active Link %s Action List: %u items\n", kind, s.count);
  Nest nest(v);
  for (uint32_t i = 0; i < (s.items ? s.count : 0); ++i) v.member(s.items[i]);
}

// ---- character menus ---------------------------------------------------------------------------

void printMember(PrintVisitor& v, ZQCharMenuStruct& s, Label) {
  v.line("Char Menu Struct:\n");
  v.line("Type of Menu: %s\n",
         wordOf(kMenuTypes, s.menuType, "<undefined menu type = %u>").c_str());
  Nest nest(v);
  switch (s.menuType) {
    case ZQ_CHAR_MENU_LIST:
      v.member(s.u.menuList);
      break;
    case ZQ_CHAR_MENU_QUERY:
      v.member(s.u.menuQuery);
      break;
    case ZQ_CHAR_MENU_FILE:
      v.member(s.u.menuFile);
      break;
    case ZQ_CHAR_MENU_SQL:
      v.member(s.u.menuSQL);
      break;
    case ZQ_CHAR_MENU_SS:
      v.member(s.u.menuSS);
      break;
    case ZQ_CHAR_MENU_DATA_DICTIONARY:
      v.member(s.u.menuDD);
      break;
    default:
      break;
  }
}

void printMember(PrintVisitor& v, ZQCharMenuList& s, Label) {
  v.line("Character Menu List: %u items\n", s.count);
  Nest nest(v);
  for (uint32_t i = 0; i < (s.items ? s.count : 0); ++i) v.member(s.items[i]);
}

void printMember(PrintVisitor& v, ZQCharMenuItemStruct& s, Label) {
  v.line("Char Menu Item Struct:\n");
  v.line("   Label: %s\n", fixed(s.label, sizeof s.label).c_str());
  v.line("   Type : %u\n", s.type);
  if (s.type == ZQ_MENU_ITEM_VALUE) {
    v.text("   Value:", s.u.value);
  } else if (s.type == ZQ_MENU_ITEM_MENU && s.u.childMenu) {
    Nest nest(v);
    v.member(*s.u.childMenu);
  }
}

namespace {
template <class T>
std::string joinedUntilZero(const T* items, int n) {
  std::string out;
  for (int i = 0; i < n && items[i] != 0; ++i) {
    if (i) out += ", ";
    out += std::to_string(items[i]);
  }
  return out;
}
}  // namespace

void printMember(PrintVisitor& v, ZQCharMenuQueryStruct& s, Label) {
  v.line("Char Menu Query Struct:\n");
  v.line("   Schema name: %s\n", fixed(s.schemaName, sizeof s.schemaName).c_str());
  v.line("   Server name: %s\n", fixed(s.serverName, sizeof s.serverName).c_str());
  {
    Nest nest(v);
    v.member(s.qualifier);
  }
  v.line("   Label Field Id: %s\n", joinedUntilZero(s.labelFieldId, ZQ_MENU_LABEL_FIELDS).c_str());
  v.line("   Value Field Id: %u\n", s.valueFieldId);
  v.line("   Sort on Label: %s\n", s.sortOnLabel ? "TRUE" : "FALSE");
  v.line("   Sample Schema name: %s\n",
         fixed(s.sampleSchemaName, sizeof s.sampleSchemaName).c_str());
  v.line("   Sample Server name: %s\n",
         fixed(s.sampleServerName, sizeof s.sampleServerName).c_str());
}

void printMember(PrintVisitor& v, ZQCharMenuFileStruct& s, Label) {
  const std::string where =
      wordOf(kFileLocations, s.fileLocation, "   <undefined file location = %u>");
  v.line("File Location: %s\n", where.c_str());
  v.line("   Filename: %s\n", s.filename ? s.filename : "");
}

void printMember(PrintVisitor& v, ZQCharMenuSQLStruct& s, Label) {
  v.line("Char Menu SQL Struct:\n");
  v.line("   Server name: %s\n", fixed(s.serverName, sizeof s.serverName).c_str());
  v.text("   SQL Command:", s.sqlCommand);
  v.line("   Label Index: %s\n", joinedUntilZero(s.labelIndex, ZQ_MENU_LABEL_FIELDS).c_str());
  v.line("   Value Index: %d\n", s.valueIndex);
}

void printMember(PrintVisitor& v, ZQCharMenuSSStruct& s, Label) {
  v.line("Char Menu SS Struct:\n");
  v.line("   Menu Name: %s\n", fixed(s.menuName, sizeof s.menuName).c_str());
  v.line("   Keyword List:\n");
  {
    Nest nest(v);
    v.member(s.keywordList);
  }
  v.line("   Parameter List:\n");
  {
    Nest nest(v);
    v.member(s.parameterList);
  }
  {
    Nest nest(v);
    for (uint32_t i = 0; i < (s.qualifierList.items ? s.qualifierList.count : 0); ++i)
      v.member(s.qualifierList.items[i]);
  }
  v.text("   Server Name:", s.serverName);
}

void printMember(PrintVisitor& v, ZQCharMenuDDStruct& s, Label) {
  v.line("Char Menu DD Struct:\n");
  v.line("   Server Name: %s\n", fixed(s.serverName, sizeof s.serverName).c_str());
  v.line("   Name Type: %u\n", s.nameType);
  v.line("   Value Format: %u\n", s.valueFormat);
  switch (s.menuKind) {
    case 0:
      break;
    case ZQ_MENU_DD_FORM:
      v.line("   Form Menu:\n");
      v.line("      Schema Type: %u\n", s.u.formDefn.schemaType);
      v.line("      Include hidden: %s\n", s.u.formDefn.includeHidden ? "TRUE" : "FALSE");
      break;
    case ZQ_MENU_DD_FIELD:
      v.line("   Field Menu:\n");
      v.line("      Field Type: %u\n", s.u.fieldDefn.fieldType);
      v.line("      Form Name: %s\n",
             fixed(s.u.fieldDefn.formName, sizeof s.u.fieldDefn.formName).c_str());
      break;
    default:
      v.line("   <undefined menu type = %u>\n", s.menuKind);
      break;
  }
}

// ---- field limits
// -----------------------------------------------------------------------------------

namespace {
// Regular items are numbered by position, custom items carry their number.
void printEnumLimits(PrintVisitor& v, ZQEnumeratedLimits& s, bool bitmask) {
  const char* values = bitmask ? "   Bitmask values:" : "   Enum values:";
  const char* query = bitmask ? "   Bitmask values query:" : "   Enum values query:";
  switch (s.enumKind) {
    case ZQ_ENUM_STYLE_REGULAR: {
      ZQNameList& l = s.u.values;
      packed(v, values, l.items ? l.count : 0, true, [&](uint32_t i) {
        return fixed(l.items[i], sizeof l.items[i]) + " (" + std::to_string(i) + ")";
      });
      break;
    }
    case ZQ_ENUM_STYLE_CUSTOM: {
      ZQEnumItemList& l = s.u.customValues;
      packed(v, values, l.items ? l.count : 0, true, [&](uint32_t i) {
        return fixed(l.items[i].itemName, sizeof l.items[i].itemName) + " (" +
               std::to_string(l.items[i].itemNumber) + ")";
      });
      break;
    }
    case ZQ_ENUM_STYLE_QUERY:
      v.line("%s\n", query);
      describe(v, s.u.query);
      break;
    default:
      v.line("<undefined tag = %u>\n", s.enumKind);
      break;
  }
}
}  // namespace

void printMember(PrintVisitor& v, ZQEnumeratedLimits& s, Label) {
  printEnumLimits(v, s, false);
}

void printMember(PrintVisitor& v, ZQFieldLimitStruct& s, Label) {
  v.line("Field Limit Struct: %s\n",
         wordOf(kLimitTypes, s.dataType, "<undefined datatype = %u>").c_str());
  switch (s.dataType) {
    case ZQ_DATA_TYPE_INTEGER:
      v.line("   Low Range : %d\n", s.u.intLimits.lowRange);
      v.line("   High Range: %d\n", s.u.intLimits.highRange);
      break;
    case ZQ_DATA_TYPE_REAL:
      v.line("   Low Range : %f\n", s.u.realLimits.lowRange);
      v.line("   High Range: %f\n", s.u.realLimits.highRange);
      v.line("   Precision: %d\n", s.u.realLimits.precision);
      break;
    case ZQ_DATA_TYPE_CHAR:
      describe(v, s.u.charLimits);
      break;
    case ZQ_DATA_TYPE_DIARY:
      v.line("   FullText Options: %u\n", s.u.diaryLimits.fullTextOptions);
      break;
    case ZQ_DATA_TYPE_ENUM:
      printEnumLimits(v, s.u.enumLimits, false);
      break;
    case ZQ_DATA_TYPE_BITMASK:
      printEnumLimits(v, s.u.maskLimits, true);
      break;
    case ZQ_DATA_TYPE_DECIMAL:
      v.text("   Low Range :", s.u.decimalLimits.lowRange);
      v.text("   High Range:", s.u.decimalLimits.highRange);
      v.line("   Precision: %d\n", s.u.decimalLimits.precision);
      break;
    case ZQ_DATA_TYPE_ATTACH:
      v.line("   Maximum Size: %u\n", s.u.attachLimits.maximumSize);
      v.line("   Attach Type: %s\n",
             wordOf(kAttachTypes, s.u.attachLimits.attachType, "<undefined attach type = %u>")
                 .c_str());
      v.line("   FullText Options: %u\n", s.u.attachLimits.fullTextOptions);
      break;
    case ZQ_DATA_TYPE_CURRENCY:
      v.text("   Low Range :", s.u.currencyLimits.lowRange);
      v.text("   High Range:", s.u.currencyLimits.highRange);
      v.line("   Precision: %d\n", s.u.currencyLimits.precision);
      break;
    case ZQ_DATA_TYPE_DATE:
      v.line("   Minium Date : %d\n", s.u.dateLimits.minimumDate);
      v.line("   Maxium Date : %d\n", s.u.dateLimits.maximumDate);
      break;
    case ZQ_DATA_TYPE_TABLE:
      describe(v, s.u.tableLimits);
      break;
    case ZQ_DATA_TYPE_COLUMN:
      describe(v, s.u.columnLimits);
      break;
    case ZQ_DATA_TYPE_VIEW:
      v.line("   Maximum Length: %u\n", s.u.viewLimits.maximumLength);
      break;
    case ZQ_DATA_TYPE_DISPLAY:
      v.line("   Maximum Length: %u\n", s.u.displayLimits.maximumLength);
      v.line("   Length Units: %u\n", s.u.displayLimits.lengthUnits);
      break;
    default:  // no limits, time stamps, times of day and unknown types
      break;
  }
}

// ---- definitions and results --------------------------------------------------------------------

void printMember(PrintVisitor& v, ZQPermissionList& s, Label) {
  v.line("Permission List: %u items\n", s.count);
  for (uint32_t i = 0; i < (s.items ? s.count : 0); ++i) {
    v.line("   Permission Struct:\n");
    v.line("      Group Id: %u\n", s.items[i].groupId);
    v.line("      Permissions: %s\n",
           wordOf(kPermissions, s.items[i].permissions, "<undefined permission = %u>").c_str());
  }
}

void printMember(PrintVisitor& v, ZQGroupInfoList& s, Label) {
  v.line("Group Info List: %u items\n", s.count);
  for (uint32_t i = 0; i < (s.items ? s.count : 0); ++i) {
    ZQGroupInfoStruct& g = s.items[i];
    v.line("   Group Info Struct:\n");
    v.line("      Group id: %u\n", g.groupId);
    v.line("      Group type: %s\n",
           wordOf(kGroupTypes, g.groupType, "<undefined group type = %u>").c_str());
    Nest nest(v, v.nestedPrefix() + "   ");
    v.member(g.groupNames, "Group name:");
  }
}

void printMember(PrintVisitor& v, ZQRoleInfoList& s, Label) {
  v.line("Role Info List: %u items\n", s.count);
  for (uint32_t i = 0; i < (s.items ? s.count : 0); ++i) {
    ZQRoleInfoStruct& r = s.items[i];
    v.line("   Role Info Struct:\n");
    v.line("      Role id: %u\n", r.roleId);
    v.line("      Role name: %s\n", fixed(r.roleName, sizeof r.roleName).c_str());
    v.line("      Role type: %u\n", r.roleType);
  }
}

void printMember(PrintVisitor& v, ZQSortList& s, Label) {
  v.line("Sort List: %u items\n", s.count);
  for (uint32_t i = 0; i < (s.items ? s.count : 0); ++i) {
    v.line("   Sort Struct:\n");
    v.line("      Field Id: %u\n", s.items[i].fieldId);
    v.line("      Sort Order: %s\n",
           wordOf(kSortOrders, s.items[i].sortOrder, "<undefined sort order = %u>").c_str());
  }
}

void printMember(PrintVisitor& v, ZQIndexList& s, Label) {
  v.line("Index List: %u items\n", s.count);
  Nest nest(v);
  for (uint32_t i = 0; i < (s.items ? s.count : 0); ++i) {
    ZQIndexStruct& x = s.items[i];
    v.line("Index Struct:\n");
    v.line("   Number of Fields: %u\n", x.numberOfFields);
    const uint32_t n =
        x.numberOfFields < ZQ_MAX_INDEX_FIELDS ? x.numberOfFields : ZQ_MAX_INDEX_FIELDS;
    packed(v, "   Field Ids:", n, false, [&](uint32_t k) { return std::to_string(x.fieldId[k]); });
    v.line("   Unique Flag: %s\n", x.uniqueFlag ? "TRUE" : "FALSE");
    v.line("   Index Name: %s\n", fixed(x.indexName, sizeof x.indexName).c_str());
    v.line("   Index Flags: %u\n", x.indexFlags);
  }
}

void printMember(PrintVisitor& v, ZQEntryListFieldList& s, Label) {
  v.line("Entry List Field List: %u items\n", s.count);
  Nest nest(v);
  for (uint32_t i = 0; i < (s.items ? s.count : 0); ++i) {
    v.line("Entry List Field Struct:\n");
    v.line("   Field Id: %u\n", s.items[i].fieldId);
    v.line("   Column Width: %u\n", s.items[i].columnWidth);
    v.line("   Separator: %s\n", fixed(s.items[i].separator, sizeof s.items[i].separator).c_str());
  }
}

void printMember(PrintVisitor& v, ZQEntryListList& s, Label) {
  v.line("Entry List List: %u items\n", s.count);
  for (uint32_t i = 0; i < (s.items ? s.count : 0); ++i) {
    v.line("   Entry List Struct:\n");
    Nest nest(v, v.nestedPrefix() + "   ");
    v.member(s.items[i].entryId, "Entry Id:");
    v.text("Short Description:", s.items[i].shortDescription);
  }
}

void printMember(PrintVisitor& v, ZQEntryListFieldValueList& s, Label) {
  v.line("Entry List Field Value List: %u items\n", s.count);
  for (uint32_t i = 0; i < (s.items ? s.count : 0); ++i) {
    v.line("Entry List Struct:\n");
    Nest nest(v);
    v.member(s.items[i].entryId, "Entry Id:");
    v.line("Entry Field/Value List:\n");
    if (s.items[i].fieldValues) v.member(*s.items[i].fieldValues);
  }
}

void printMember(PrintVisitor& v, ZQServerInfoList& s, Label) {
  // Setting names are the server's; the number stands in for them.
  v.line("Server Info List: %u items\n", s.count);
  for (uint32_t i = 0; i < (s.items ? s.count : 0); ++i) {
    v.line("   Server Info Struct: <undefined tag value = %u>\n", s.items[i].operation);
    Nest nest(v, v.nestedPrefix() + "   ");
    printValue(v, s.items[i].value);
  }
}

void printMember(PrintVisitor& v, ZQFullTextInfoList& s, Label) {
  v.line("FullText Info List: %u items\n", s.count);
  for (uint32_t i = 0; i < (s.items ? s.count : 0); ++i) {
    ZQFullTextInfoStruct& f = s.items[i];
    v.line("   FullText Info Struct: %s\n",
           wordOf(kFullText, f.infoType, "<undefined infoType = %u>").c_str());
    Nest nest(v, v.nestedPrefix() + "   ");
    if (f.infoType == ZQ_FULLTEXT_STOPWORD)
      v.member(f.u.valueList);
    else if (f.infoType >= 1 && f.infoType <= 6)
      printValue(v, f.u.value);
  }
}

namespace {
// A value on one line with the text it follows ("(integer) 5").
std::string inlineValue(ZQValueStruct& value) {
  std::string out;
  PrintVisitor v(out);
  printValue(v, value);
  // "Value: (integer) 5\n": keep what follows "Value: " on the first line.
  std::string first = out.substr(0, out.find('\n'));
  return first.size() > 7 ? first.substr(7) : first;
}
}  // namespace

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

void printMember(PrintVisitor& v, ZQFieldMappingStruct& s, Label) {
  v.line("Field Mapping:\n");
  v.line("   Type: %s\n", wordOf(kMappings, s.fieldType, "<undefined tag value = %u>").c_str());
  if (s.fieldType >= ZQ_FIELD_MAPPING_JOIN && s.fieldType <= ZQ_FIELD_MAPPING_INHERITED)
    describe(v, s);
}

void printMember(PrintVisitor& v, ZQCompoundSchema& s, Label) {
  v.line("Compound Schema Info: %s\n",
         wordOf(kSchemaTypes, s.schemaType, "<undefined tag value = %u>").c_str());
  switch (s.schemaType) {
    case ZQ_SCHEMA_JOIN:
      v.line("   Join member A %s\n",
             fixed(s.u.join.joinMemberA, sizeof s.u.join.joinMemberA).c_str());
      v.line("   Join member B %s\n",
             fixed(s.u.join.joinMemberB, sizeof s.u.join.joinMemberB).c_str());
      {
        Nest nest(v);
        v.member(s.u.join.joinQualifier);
      }
      v.line("   Join option %d\n", static_cast<int32_t>(s.u.join.joinOption));
      break;
    case ZQ_SCHEMA_VIEW:
      v.line("   View table name %s\n",
             fixed(s.u.view.viewTableName, sizeof s.u.view.viewTableName).c_str());
      break;
    case ZQ_SCHEMA_VENDOR:
      v.line("   Vendor name %s\n",
             fixed(s.u.vendor.vendorName, sizeof s.u.vendor.vendorName).c_str());
      v.line("   Vendor table name %s\n",
             fixed(s.u.vendor.vendorTableName, sizeof s.u.vendor.vendorTableName).c_str());
      break;
    default:
      break;
  }
}

void printMember(PrintVisitor& v, ZQArchiveInfoStruct& s, Label) {
  v.line("Archive Struct:\n");
  Nest nest(v);
  v.line("Enable: %u\n", s.enable);
  v.line("Type: %u\n", s.archiveType);
  if (s.archiveType == 0) return;  // no archiving: nothing more to say
  if (archiveHoldsForm(s.archiveType))
    v.line("Form: %s\n", fixed(s.u.formName, sizeof s.u.formName).c_str());
  else if (archiveHoldsPath(s.archiveType))
    v.text("Dir Path:", s.u.dirPath);
  v.line("Monthday: %d\n", s.monthday);
  v.line("Weekday: %d\n", s.weekday);
  v.line("Hourmask: %d\n", s.hourmask);
  v.line("Minute: %u\n", s.minute);
  v.member(s.qualifier);
  v.line("ArchiveFrom: %s\n", fixed(s.archiveFrom, sizeof s.archiveFrom).c_str());
}

void printMember(PrintVisitor& v, ZQAuditInfoStruct& s, Label) {
  v.line("Audit Struct:\n");
  Nest nest(v);
  v.line("Enable: %u\n", s.enable);
  v.line("Type: %u\n", s.auditType);
  if (s.auditType == 0) return;
  v.line("Form: %s\n", fixed(s.formName, sizeof s.formName).c_str());
  v.member(s.qualifier);
}

void printMember(PrintVisitor& v, ZQContainerOwnerObjList& s, Label) {
  v.line("Container Owner Object List: %u items\n", s.count);
  Nest nest(v);
  for (uint32_t i = 0; i < (s.items ? s.count : 0); ++i) {
    v.line("Container Owner Object:\n");
    v.line("   Type: %u\n", s.items[i].type);
    v.line("   Name: %s\n", fixed(s.items[i].ownerName, sizeof s.items[i].ownerName).c_str());
  }
}

void printMember(PrintVisitor& v, ZQContainerInfoList& s, Label) {
  v.line("Container Info List: %u items\n", s.count);
  Nest nest(v);
  for (uint32_t i = 0; i < (s.items ? s.count : 0); ++i) {
    v.line("Container Info:\n");
    v.line("   Name: %s\n", fixed(s.items[i].name, sizeof s.items[i].name).c_str());
    v.line("   Type: %u\n", s.items[i].type);
    Nest inner(v);
    v.member(s.items[i].ownerList);
  }
}

void printMember(PrintVisitor& v, ZQReferenceList& s, Label) {
  v.line("Container Reference List: %u items\n", s.count);
  Nest nest(v);
  for (uint32_t i = 0; i < (s.items ? s.count : 0); ++i) {
    ZQReferenceStruct& r = s.items[i];
    v.line("Container Reference Struct:\n");
    v.text("   Label:", r.label);
    v.text("   Description:", r.description);
    v.line("   Type: %u\n", r.type);
    v.line("   Data Type: %u\n", r.reference.dataType);
    if (r.reference.dataType == ZQ_REFERENCE_INTERNAL) {
      v.line("   ZQ Reference: %s\n", fixed(r.reference.u.name, sizeof r.reference.u.name).c_str());
    } else if (r.reference.dataType == ZQ_REFERENCE_EXTERNAL) {
      v.line("   External Reference:\n");
      Nest inner(v);
      v.member(r.reference.u.extRef.groupList, "Group List:");
      printValue(v, r.reference.u.extRef.value);
    }
  }
}

void printMember(PrintVisitor& v, ZQEntryBlockList& s, Label) {
  v.line("Entry Block List: %u items\n", s.count);
  for (uint32_t i = 0; i < (s.items ? s.count : 0); ++i) {
    v.line("Entry Block:\n");
    v.line("   Block size: %d\n", static_cast<int32_t>(s.items[i].blockSize));
  }
}

}  // namespace zq::model
