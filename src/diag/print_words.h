// The words the trace log prints for tags and keyword values, and the text
// it prints for a value that has none.
#pragma once

#include <cstdint>
#include <span>

namespace zq::diag {

// word null: the value prints nothing at all.
struct Word {
  uint32_t value;
  const char* word;
};

struct Words {
  std::span<const Word> words;
  const char* undefined;  // format for a value without a word, with its %u
};

namespace words {

inline constexpr Word kDataTypeWords[] = {
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
inline constexpr Words kDataTypes{kDataTypeWords, "<undefined data type tag = %u>"};

inline constexpr Word kMessageTypeWords[] = {{0, "NOTE"}, {1, "WARNING"}, {2, "ERROR"}};
inline constexpr Words kMessageTypes{kMessageTypeWords, "<unknown type = %u>"};

inline constexpr Word kWorkflowMessageTypeWords[] = {
    {0, "NOTE"}, {1, "WARNING"}, {2, "ERROR"}, {5, "PROMPT"}, {6, "ACCESSIBLE"}, {7, "TOOLTIP"}};
inline constexpr Words kWorkflowMessageTypes{kWorkflowMessageTypeWords, "<unknown type = %u>"};

inline constexpr Word kQualifierOperationWords[] = {
    {0, "<none>"}, {1, "AND"}, {2, "OR"}, {3, "NOT"}, {4, "RELATIONAL OPERATION"}};
inline constexpr Words kQualifierOperations{kQualifierOperationWords, "<undefined operation = %u>"};

inline constexpr Word kRelationWords[] = {{1, "EQUAL"}, {2, "GREATER"},    {3, "GREATER_EQUAL"},
                                          {4, "LESS"},  {5, "LESS_EQUAL"}, {6, "NOT_EQUAL"},
                                          {7, "LIKE"},  {8, "IN"}};
inline constexpr Words kRelations{kRelationWords, "<undefined operation = %u>"};

inline constexpr Word kArithmeticWords[] = {{1, "ADD"},      {2, "SUBTRACT"},
                                            {3, "MULTIPLY"}, {4, "DIVIDE"},
                                            {5, "MODULO"},   {6, "NEGATE (unary minus)"}};
inline constexpr Words kArithmetic{kArithmeticWords, "<undefined operation = %u>"};

inline constexpr Word kOperandTagWords[] = {
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
inline constexpr Words kOperandTags{kOperandTagWords, "<undefined tag value = %u>"};

inline constexpr Word kUserOrTimeWords[] = {{1, "USER"}, {2, "TIME"}};
inline constexpr Words kUserOrTime{kUserOrTimeWords, "<undefined value = %u>"};

inline constexpr Word kMultiValueWords[] = {{1, "ERROR"}, {2, "FIRST"}, {3, "SET"}};
inline constexpr Words kMultiValue{kMultiValueWords, "<undefined multi-match value = %u>"};

inline constexpr Word kAssignTypeWords[] = {{0, "NONE"},    {1, "VALUE"}, {2, "FIELD"},
                                            {3, "PROCESS"}, {4, "ARITH"}, {5, "FUNCTION"},
                                            {6, "DDE"},     {7, "SQL"},   {8, "FILTER API"}};
inline constexpr Words kAssignTypes{kAssignTypeWords, "<undefined assign type tag = %u>"};

inline constexpr Word kAssignFieldTagWords[] = {
    {1, "FIELD"}, {4, "STAT_HISTORY"}, {6, "CURRENCY FIELD"}};
inline constexpr Words kAssignFieldTags{kAssignFieldTagWords, "<undefined tag = %u>"};

inline constexpr Word kNoMatchWords[] = {{1, "ERROR"}, {2, "NULL"}};
inline constexpr Words kNoMatch{kNoMatchWords, "<undefined multi-match value = %u>"};

inline constexpr Word kMultiMatchWords[] = {
    {1, "ERROR"}, {2, "NULL"}, {3, "FIRST"}, {4, "PICKLIST"}};
inline constexpr Words kMultiMatch{kMultiMatchWords, "<undefined multi-match value = %u>"};

inline constexpr Word kFunctionWords[] = {
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
inline constexpr Words kFunctions{kFunctionWords, "<undefined function = %u>"};

inline constexpr Word kFilterActionWords[] = {
    {0, "NONE"},       {1, "NOTIFY"},     {2, "MESSAGE"},     {3, "LOG FILE"},
    {4, "SET FIELDS"}, {5, "PROCESS"},    {6, "PUSH FIELDS"}, {7, "DIRECT SQL"},
    {8, "GOTO"},       {9, "CALL GUIDE"}, {10, "EXIT GUIDE"}, {11, "GOTO GUIDE LABEL"},
    {12, "SERVICE"},
};
inline constexpr Words kFilterActions{kFilterActionWords, "<undefined action = %u>"};

inline constexpr Word kActiveLinkActionWords[] = {
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
inline constexpr Words kActiveLinkActions{kActiveLinkActionWords, "<undefined action = %u>"};

// An unknown mechanism prints as its number.
inline constexpr Word kMechanismWords[] = {
    {1, "ALERT"}, {2, "E-MAIL"}, {3, "DEFAULT"}, {99, "CROSS-REFERENCE"}};
inline constexpr Words kMechanisms{kMechanismWords, "%u"};

inline constexpr Word kNotifyFieldWords[] = {{0, "NONE"}, {1, "ALL"}, {2, "LIST"}, {3, "CHANGED"}};
inline constexpr Words kNotifyFields{kNotifyFieldWords, "<undefined type = %u>"};

inline constexpr Word kGotoTagWords[] = {
    {1, "FIELD XREF"}, {2, "ABSOLUTE ORDER"}, {3, "OFFSET FORWARD"}, {4, "OFFSET BACKWARD"}};
inline constexpr Words kGotoTags{kGotoTagWords, "<unknown tag = %u>"};

inline constexpr Word kMenuTypeWords[] = {{0, "NONE"},           {1, "LIST"}, {2, "QUERY"},
                                          {3, "FILE"},           {4, "SQL"},  {5, "SERVER SIDE"},
                                          {6, "DATA DICTIONARY"}};
inline constexpr Words kMenuTypes{kMenuTypeWords, "<undefined menu type = %u>"};

inline constexpr Word kFileLocationWords[] = {{1, "SERVER"}, {2, "CLIENT"}};
inline constexpr Words kFileLocations{kFileLocationWords, "   <undefined file location = %u>"};

// The kind of a data-dictionary menu is a line of its own; kind 0 none.
inline constexpr Word kDictionaryMenuWords[] = {
    {0, nullptr}, {1, "   Form Menu:"}, {2, "   Field Menu:"}};
inline constexpr Words kDictionaryMenus{kDictionaryMenuWords, "   <undefined menu type = %u>"};

inline constexpr Word kLimitTypeWords[] = {
    {0, "NO LIMITS"},  {2, "INTEGER"},   {3, "REAL"},       {4, "CHARACTER"}, {5, "DIARY"},
    {6, "ENUMERATED"}, {7, "TIMESTAMP"}, {8, "BITMASK"},    {10, "DECIMAL"},  {11, "ATTACHMENT"},
    {12, "CURRENCY"},  {13, "DATE"},     {14, "TIMEOFDAY"}, {33, "TABLE"},    {34, "COLUMN"},
    {42, "VIEW"},      {43, "DISPLAY"},
};
inline constexpr Words kLimitTypes{kLimitTypeWords, "<undefined datatype = %u>"};

inline constexpr Word kAttachTypeWords[] = {{1, "EMBEDDED"}, {2, "LINK"}};
inline constexpr Words kAttachTypes{kAttachTypeWords, "<undefined attach type = %u>"};

inline constexpr Word kPermissionWords[] = {{0, "NONE"}, {1, "VIEW"}, {2, "CHANGE"}};
inline constexpr Words kPermissions{kPermissionWords, "<undefined permission = %u>"};
inline constexpr Words kGroupTypes{kPermissionWords, "<undefined group type = %u>"};

inline constexpr Word kSortOrderWords[] = {{1, "ASCENDING"}, {2, "DESCENDING"}};
inline constexpr Words kSortOrders{kSortOrderWords, "<undefined sort order = %u>"};

inline constexpr Word kMappingWords[] = {{0, "NONE"}, {1, "REGULAR"}, {2, "JOIN"},
                                         {3, "VIEW"}, {4, "VENDOR"},  {5, "INHERITED"}};
inline constexpr Words kMappings{kMappingWords, "<undefined tag value = %u>"};

inline constexpr Word kSchemaTypeWords[] = {{0, "NONE"}, {1, "REGULAR"}, {2, "JOIN"},
                                            {3, "VIEW"}, {4, "DIALOG"},  {5, "VENDOR"}};
inline constexpr Words kSchemaTypes{kSchemaTypeWords, "<undefined tag value = %u>"};

inline constexpr Word kFullTextWords[] = {
    {1, "COLLECTION DIRECTORY"},      {2, "STOPWORD LIST"},
    {3, "COLLECTION REINDEX"},        {4, "CASE INSENSITIVE SEARCH"},
    {5, "FULLTEXT OPERATIONS STATE"}, {6, "FULLTEXT SEARCH MATCH OPERATOR"}};
inline constexpr Words kFullText{kFullTextWords, "<undefined infoType = %u>"};

// Server settings are named by the server; the trace shows their numbers.
inline constexpr Words kServerSettings{{}, "<undefined tag value = %u>"};

}  // namespace words
}  // namespace zq::diag
