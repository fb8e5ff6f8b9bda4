// Trace forms of the structures whose lines are not a walk of their members:
// members shown only for some values of another, labels chosen by a tag,
// lists written on one line.
#include <cstring>

#include "diag/print_visitor.h"

namespace zq::diag {

namespace {

using Nest = PrintVisitor::Nest;

// The currency code means something for the code part only.
constexpr uint32_t kCurrencyCodePart = 4;

// Menu label columns: those before the first 0, joined by ", ".
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

void printMember(PrintVisitor& v, ZQCurrencyPartStruct& s, Label) {
  v.line("Field Id: %u\n", s.fieldId);
  v.line("Currency part tag: %u\n", s.partTag);
  if (s.partTag == kCurrencyCodePart)
    v.line("Currency Code: %s\n", fixedString(s.currencyCode, sizeof s.currencyCode).c_str());
}

// The cross-reference field and the field list show only when the
// mechanism and the list kind use them.
void printMember(PrintVisitor& v, ZQNotifyStruct& s, Label) {
  v.line("Notify Struct:\n");
  v.text("   User:", s.user);
  v.text("   Text:", s.text);
  v.line("   Priority: %u\n", s.priority);
  v.line("   Mechanism: %s\n", wordOf(words::kMechanisms, s.mechanism).c_str());
  if (s.mechanism == ZQ_NOTIFY_XREF)
    v.line("      Cross reference field id: %d\n", static_cast<int32_t>(s.crossReferenceFieldId));
  v.text("   Subject:", s.subject);
  v.line("   Field Id List: %s\n", wordOf(words::kNotifyFields, s.fieldIdListKind).c_str());
  if (s.fieldIdListKind == ZQ_NOTIFY_FIELDS_LIST) {
    Nest nest(v);
    v.member(s.fieldIdList, "Field Ids:");
  }
  v.line("   Behavior: %u\n", s.behavior);
  v.line("   Permission: %u\n", s.permission);
  if (s.advanced) describe(v, *s.advanced);
}

// The target's label depends on the tag.
void printMember(PrintVisitor& v, ZQGotoActionStruct& s, Label) {
  static const char* const kTargets[] = {
      "   Field Id:", "   Execution Order:", "   Execution Order Advance By:",
      "   Execution Order Backup By:"};
  v.line("Goto Action Struct:\n");
  v.line("   Tag: %s\n", wordOf(words::kGotoTags, s.tag).c_str());
  const char* target = s.tag >= 1 && s.tag <= 4 ? kTargets[s.tag - 1] : "   Target Value:";
  v.line("%s %u\n", target, s.targetValue);
}

void printMember(PrintVisitor& v, ZQMacroParmList& s, Label) {
  v.line("   Macro Parms: %u\n", s.count);
  for (uint32_t i = 0; i < (s.items ? s.count : 0); ++i) {
    v.line("      Macro parm (%d): %s", static_cast<int>(i),
           fixedString(s.items[i].name, sizeof s.items[i].name).c_str());
    if (s.items[i].value) v.raw(" =  %s", s.items[i].value);
    v.raw("\n");
  }
}

void printMember(PrintVisitor& v, ZQCharMenuSQLStruct& s, Label) {
  v.line("Char Menu SQL Struct:\n");
  v.line("   Server name: %s\n", fixedString(s.serverName, sizeof s.serverName).c_str());
  v.text("   SQL Command:", s.sqlCommand);
  v.line("   Label Index: %s\n", joinedUntilZero(s.labelIndex, ZQ_MENU_LABEL_FIELDS).c_str());
  v.line("   Value Index: %d\n", s.valueIndex);
}

// The keyword and parameter lists go under captions, the qualifications
// without a list heading.
void printMember(PrintVisitor& v, ZQCharMenuSSStruct& s, Label) {
  v.line("Char Menu SS Struct:\n");
  v.line("   Menu Name: %s\n", fixedString(s.menuName, sizeof s.menuName).c_str());
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

// Regular items are numbered by position, custom items carry their number.
// The label says whether the limits are an enumeration's or a bitmask's.
void printMember(PrintVisitor& v, ZQEnumeratedLimits& s, Label label) {
  const bool bitmask = label && strcmp(label, "   Bitmask values:") == 0;
  std::vector<std::string> items;
  switch (s.enumKind) {
    case ZQ_ENUM_STYLE_REGULAR: {
      const ZQNameList& l = s.u.values;
      for (uint32_t i = 0; i < (l.items ? l.count : 0); ++i)
        items.push_back(fixedString(l.items[i], sizeof l.items[i]) + " (" + std::to_string(i) +
                        ")");
      break;
    }
    case ZQ_ENUM_STYLE_CUSTOM: {
      const ZQEnumItemList& l = s.u.customValues;
      for (uint32_t i = 0; i < (l.items ? l.count : 0); ++i)
        items.push_back(fixedString(l.items[i].itemName, sizeof l.items[i].itemName) + " (" +
                        std::to_string(l.items[i].itemNumber) + ")");
      break;
    }
    case ZQ_ENUM_STYLE_QUERY:
      v.line("%s\n", bitmask ? "   Bitmask values query:" : "   Enum values query:");
      describe(v, s.u.query);
      return;
    default:
      v.line("<undefined tag = %u>\n", s.enumKind);
      return;
  }
  v.packed(bitmask ? "   Bitmask values:" : "   Enum values:", items, true);
}

// The field ids are as many as the index has fields.
void printMember(PrintVisitor& v, ZQIndexStruct& s, Label) {
  v.line("Index Struct:\n");
  v.line("   Number of Fields: %u\n", s.numberOfFields);
  std::vector<std::string> ids;
  for (uint32_t k = 0; k < s.numberOfFields && k < ZQ_MAX_INDEX_FIELDS; ++k)
    ids.push_back(std::to_string(s.fieldId[k]));
  v.packed("   Field Ids:", ids, false);
  v.line("   Unique Flag: %s\n", s.uniqueFlag ? "TRUE" : "FALSE");
  v.line("   Index Name: %s\n", fixedString(s.indexName, sizeof s.indexName).c_str());
  v.line("   Index Flags: %u\n", s.indexFlags);
}

// A block shows its size only, as a signed number.
void printMember(PrintVisitor& v, ZQEntryBlockStruct& s, Label) {
  v.line("Entry Block:\n");
  v.line("   Block size: %d\n", static_cast<int32_t>(s.blockSize));
}

// The licences are the server's business: only their number shows.
void printMember(PrintVisitor& v, ZQUserInfoStruct& s, Label) {
  v.line("   User Info Struct:\n");
  v.line("      User name: %s\n", fixedString(s.userName, sizeof s.userName).c_str());
  v.line("      Licenses: %u\n", s.licenses.count);
  v.line("      Connect time: %d\n", static_cast<int32_t>(s.connectTime));
  v.line("      Last access: %d\n", static_cast<int32_t>(s.lastAccess));
  v.text("      Email address:", s.emailAddress);
  v.line("      Default notify mechanism: %u\n", s.defaultNotifyMechanism);
}

void printMember(PrintVisitor& v, ZQObjectChangeTimesStruct& s, Label) {
  v.line("   Object %d \tcreated %d\tmodified %d\tdeleted %d\n", s.objectType,
         static_cast<int32_t>(s.createTime), static_cast<int32_t>(s.changeTime),
         static_cast<int32_t>(s.deleteTime));
}

}  // namespace zq::diag
