#include "definitions_export.h"

#include <strings.h>

#include <cstring>
#include <map>
#include <optional>
#include <sstream>
#include <vector>

#include "definition_store.h"
#include "form_definitions.h"
#include "query_engine.h"
#include "security/base64.h"
#include "store.h"
#include "zqapi/zq_definitions.h"

namespace zqserver {
namespace {

using zq::transport::FieldParts;
using zq::transport::ImageParts;
using zq::transport::SchemaParts;
using zq::transport::ViewParts;

template <class Parts>
bool decodes(const std::vector<char>& record) {
  OwnedParts<Parts> parts;
  return decodeRecord(record, parts.p);
}

StoreResult removeForm(FormDefinitions& defs, const Definition& d) {
  return defs.deleteForm(d.name, ZQ_DELETE_FORCE);
}
StoreResult removeImage(FormDefinitions& defs, const Definition& d) {
  return defs.deleteImage(d.name);
}

// One kind of the definition store as export text knows it.
struct ExportKind {
  DefinitionKind kind;
  const char* word;
  uint32_t itemType;  // the item type naming it; 0: it goes with its form
  bool (*valid)(const std::vector<char>& record);              // null: not checked
  StoreResult (*remove)(FormDefinitions&, const Definition&);  // null: the row and what is below
};

constexpr ExportKind kExportKinds[] = {
    {DefinitionKind::form, "form", ZQ_STRUCT_ITEM_SCHEMA, &decodes<SchemaParts>, &removeForm},
    {DefinitionKind::field, "field", 0, &decodes<FieldParts>, nullptr},
    {DefinitionKind::view, "view", 0, &decodes<ViewParts>, nullptr},
    {DefinitionKind::image, "image", ZQ_STRUCT_ITEM_IMAGE, &decodes<ImageParts>, &removeImage},
    {DefinitionKind::menu, "menu", ZQ_STRUCT_ITEM_CHAR_MENU, nullptr, nullptr},
    {DefinitionKind::filter, "filter", ZQ_STRUCT_ITEM_FILTER, nullptr, nullptr},
    {DefinitionKind::activeLink, "active-link", ZQ_STRUCT_ITEM_ACTIVE_LINK, nullptr, nullptr},
    {DefinitionKind::escalation, "escalation", ZQ_STRUCT_ITEM_ESCALATION, nullptr, nullptr},
    {DefinitionKind::container, "container", ZQ_STRUCT_ITEM_CONTAINER, nullptr, nullptr},
};
constexpr const char* kSupportFileWord = "support-file";
constexpr const char* kEntryWord = "entry";

const ExportKind* kindOf(DefinitionKind k) {
  for (const ExportKind& row : kExportKinds)
    if (row.kind == k) return &row;
  return nullptr;
}
const ExportKind* kindOfWord(const std::string& word) {
  for (const ExportKind& row : kExportKinds)
    if (word == row.word) return &row;
  return nullptr;
}
const ExportKind* kindOfItem(uint32_t type) {
  type &= ~ZQ_STRUCT_ITEM_MODIFIER;
  for (const ExportKind& row : kExportKinds)
    if (row.itemType && row.itemType == type) return &row;
  return nullptr;
}

StoreResult fail(int32_t message, std::string appended = {}) {
  return StoreResult{message, std::move(appended)};
}

std::string base64(const void* data, size_t n) {
  zq::security::Buffer text;
  if (!zq::security::base64::encode(static_cast<const uint8_t*>(data), n, 0, text)) return {};
  return std::string(reinterpret_cast<const char*>(text.data()), text.size());
}

bool unbase64(const std::string& text, std::string& out) {
  zq::security::Buffer data;
  if (!zq::security::base64::decode(text.data(), text.size(), data)) return false;
  out.assign(reinterpret_cast<const char*>(data.data()), data.size());
  return true;
}

bool sameName(const std::string& a, const char* b) {
  return strcasecmp(a.c_str(), b) == 0;
}

// ---- writing ----------------------------------------------------------------------------------

void writeDefinition(std::string& out, const ExportKind& k, const Definition& d,
                     const std::string& parent) {
  out += "\n";
  out += std::string(k.word) + ": " + (parent.empty() ? d.name : parent) + "\n";
  if (!parent.empty()) {
    out += "  id: " + std::to_string(d.objectId) + "\n";
    out += "  name: " + d.name + "\n";
  }
  out += "  owner: " + d.owner + "\n";
  out += "  last-changed: " + d.lastChanged + "\n";
  out += "  created: " + std::to_string(d.created) + "\n";
  out += "  changed: " + std::to_string(d.changed) + "\n";
  out += "  record: " + base64(d.record.data(), d.record.size()) + "\n";
}

void writeForm(std::string& out, DefinitionStore& defs, const Definition& form) {
  writeDefinition(out, *kindOf(DefinitionKind::form), form, "");
  for (const ExportKind& k : kExportKinds) {
    if (k.itemType) continue;  // only the kinds that live below a form
    for (const Definition& child : defs.list(k.kind, form.rowId))
      writeDefinition(out, k, child, form.name);
  }
  for (uint32_t fileId : defs.supportFileIds(ZQ_SUPPORT_FILE_FORM, form.name, 0, 0)) {
    auto file = defs.supportFile(ZQ_SUPPORT_FILE_FORM, form.name, 0, fileId);
    if (!file) continue;
    out += "\n" + std::string(kSupportFileWord) + ": " + form.name + "\n";
    out += "  file-id: " + std::to_string(fileId) + "\n";
    out += "  changed: " + std::to_string(file->changed) + "\n";
    out += "  content: " + base64(file->content.data(), file->content.size()) + "\n";
  }
}

// The entries of a form (item type 2): one block each, its values as the
// store holds them, through the codec.
StoreResult writeEntries(std::string& out, Store& store, const std::string& form) {
  EntryStore entries(store);
  QueryResult result;
  QueryError error;
  if (!runQuery(entries, form, nullptr, nullptr, 0, 0, result, error))
    return fail(error.message, error.appended);
  for (Row& row : result.rows) {
    std::vector<char> bytes;
    if (!encodeRecord(row.values, bytes)) return fail(zq::kMsgNoMemory);
    out += "\n" + std::string(kEntryWord) + ": " + form + "\n";
    out += "  id: " + row.id + "\n";
    out += "  values: " + base64(bytes.data(), bytes.size()) + "\n";
  }
  return {};
}

// ---- reading ----------------------------------------------------------------------------------

struct Block {
  std::string word;
  std::string subject;  // the name, or the form of a definition below one
  std::map<std::string, std::string> keys;
  int line = 0;
};

bool number(const std::string& text, int64_t& out) {
  if (text.empty() || text.size() > 19) return false;
  size_t i = text[0] == '-' ? 1 : 0;
  if (i == text.size()) return false;
  for (size_t k = i; k < text.size(); ++k)
    if (text[k] < '0' || text[k] > '9') return false;
  out = std::stoll(text);
  return true;
}

// The blocks of a text, or a failure naming the line.
StoreResult parse(const std::string& text, std::vector<Block>& blocks) {
  std::istringstream in(text);
  std::string line;
  Block* current = nullptr;
  for (int n = 1; std::getline(in, line); ++n) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.empty() || line[0] == '#') {
      current = nullptr;
      continue;
    }
    if (line.compare(0, 9, "char-set:") == 0 && blocks.empty() && !current) continue;
    const size_t colon = line.find(": ");
    const bool indented = line.compare(0, 2, "  ") == 0;
    if (colon == std::string::npos && !(line.back() == ':'))
      return fail(zq::kMsgBadImportText, "line " + std::to_string(n));
    const std::string key = line.substr(indented ? 2 : 0, colon == std::string::npos
                                                              ? line.size() - 1 - (indented ? 2 : 0)
                                                              : colon - (indented ? 2 : 0));
    const std::string value = colon == std::string::npos ? "" : line.substr(colon + 2);
    if (indented) {
      if (!current) return fail(zq::kMsgBadImportText, "line " + std::to_string(n));
      current->keys[key] = value;
    } else {
      blocks.push_back(Block{key, value, {}, n});
      current = &blocks.back();
    }
  }
  return {};
}

std::string key(const Block& b, const char* name) {
  auto it = b.keys.find(name);
  return it == b.keys.end() ? "" : it->second;
}

StoreResult malformed(const Block& b, const char* what) {
  return fail(zq::kMsgBadImportText, "line " + std::to_string(b.line) + ": " + what);
}

// The definition a block describes (parent resolved by the caller).
StoreResult definitionOf(const Block& b, const ExportKind& k, Definition& d) {
  d.kind = k.kind;
  d.name = k.itemType ? b.subject : key(b, "name");
  if (d.name.empty()) return malformed(b, "no name");
  int64_t id = 0, created = 0, changed = 0;
  if (!k.itemType && (!number(key(b, "id"), id) || id <= 0 || id > UINT32_MAX))
    return malformed(b, "no id");
  if (!number(key(b, "created"), created) || !number(key(b, "changed"), changed))
    return malformed(b, "no times");
  d.objectId = static_cast<uint32_t>(id);
  d.owner = key(b, "owner");
  d.lastChanged = key(b, "last-changed");
  d.created = created;
  d.changed = changed;
  std::string record;
  if (!b.keys.count("record") || !unbase64(key(b, "record"), record) || record.empty())
    return malformed(b, "no record");
  d.record.assign(record.begin(), record.end());
  if (k.valid && !k.valid(d.record)) return malformed(b, "the record does not decode");
  return {};
}

// An entry block: the entry of that id made or replaced (refused when it
// exists and the option says not to overwrite).
StoreResult importEntry(Store& store, const Block& b, uint32_t option) {
  std::string bytes;
  if (key(b, "id").empty() || !b.keys.count("values") || !unbase64(key(b, "values"), bytes) ||
      bytes.empty())
    return malformed(b, "bad entry");
  std::vector<char> record(bytes.begin(), bytes.end());
  OwnedParts<ZQFieldValueList> values;
  if (!decodeRecord(record, values.p)) return malformed(b, "the values do not decode");
  bool carriesId = false;
  for (uint32_t i = 0; i < values.p.count; ++i) {
    const ZQFieldValueStruct& v = values.p.items[i];
    carriesId |= v.fieldId == 1 && v.value.dataType == ZQ_DATA_TYPE_CHAR && v.value.u.charValue &&
                 key(b, "id") == v.value.u.charValue;
  }
  if (!carriesId) return malformed(b, "the values do not carry the entry id");
  EntryStore entries(store);
  std::string id;
  const uint32_t merge = option & ZQ_IMPORT_OPTION_NO_OVERWRITE ? 1 : 3;  // refuse or replace
  return entries.merge(b.subject, values.p, merge, "", id);
}

// Whether an item list (empty: everything) takes a top-level block.
bool wanted(const ZQStructItemList& items, const ExportKind& k, const std::string& name) {
  if (!items.count) return true;
  for (uint32_t i = 0; i < items.count; ++i)
    if (kindOfItem(items.items[i].type) == &k && sameName(name, items.items[i].name)) return true;
  return false;
}

}  // namespace

StoreResult exportDefinitions(Store& store, const ZQStructItemList& items, std::string& text) {
  FormDefinitions forms(store);
  DefinitionStore& defs = forms.store();
  text = "# zqserverd definitions\n";
  for (uint32_t i = 0; i < items.count; ++i) {
    const ZQStructItemStruct& item = items.items[i];
    if ((item.type & ~ZQ_STRUCT_ITEM_MODIFIER) == ZQ_STRUCT_ITEM_SCHEMA_DATA) {
      if (!defs.find(DefinitionKind::form, 0, item.name))
        return fail(zq::kMsgNoSuchForm, item.name);
      if (StoreResult r = writeEntries(text, store, item.name); !r.ok()) return r;
      continue;
    }
    const ExportKind* k = kindOfItem(item.type);
    if (!k) return fail(zq::kMsgBadItemType, std::to_string(item.type));
    auto d = defs.find(k->kind, 0, item.name);
    if (!d)
      return fail(k->kind == DefinitionKind::form ? zq::kMsgNoSuchForm : zq::kMsgNoSuchDefinition,
                  item.name);
    if (k->kind == DefinitionKind::form)
      writeForm(text, defs, *d);
    else
      writeDefinition(text, *k, *d, "");
  }
  return {};
}

StoreResult importDefinitions(Store& store, const ZQStructItemList& items, const std::string& text,
                              uint32_t option) {
  std::vector<Block> blocks;
  StoreResult r = parse(text, blocks);
  if (!r.ok()) return r;
  FormDefinitions forms(store);
  DefinitionStore& defs = forms.store();
  DefinitionUnit unit(store);
  bool taking = false;  // the last top-level block was wanted
  for (const Block& b : blocks) {
    if (b.word == kEntryWord) {
      if (items.count) continue;  // data is imported only with everything
      if (!(r = importEntry(store, b, option)).ok()) return r;
      continue;
    }
    if (b.word == kSupportFileWord) {
      if (!taking) continue;
      int64_t fileId = 0, changed = 0;
      std::string content;
      if (!number(key(b, "file-id"), fileId) || fileId < 0 || fileId > UINT32_MAX ||
          !number(key(b, "changed"), changed) || !b.keys.count("content") ||
          !unbase64(key(b, "content"), content))
        return malformed(b, "bad support file");
      if (!defs.find(DefinitionKind::form, 0, b.subject))
        return fail(zq::kMsgNoSuchForm, b.subject);
      r = defs.putSupportFile(ZQ_SUPPORT_FILE_FORM, b.subject, 0, static_cast<uint32_t>(fileId),
                              content, changed);
      if (!r.ok()) return r;
      continue;
    }
    const ExportKind* k = kindOfWord(b.word);
    if (!k) return malformed(b, "unknown kind");
    Definition d;
    if (!(r = definitionOf(b, *k, d)).ok()) return r;
    if (k->itemType) {
      taking = wanted(items, *k, d.name);
      if (!taking) continue;
    } else {
      if (!taking) continue;
      auto form = defs.find(DefinitionKind::form, 0, b.subject);
      if (!form) return fail(zq::kMsgNoSuchForm, b.subject);
      d.parentId = form->rowId;
    }
    auto existing = k->itemType ? defs.find(k->kind, 0, d.name)
                                : defs.findById(k->kind, d.parentId, d.objectId);
    if (existing) {
      if (option & ZQ_IMPORT_OPTION_NO_OVERWRITE) return fail(zq::kMsgDefinitionExists, d.name);
      d.rowId = existing->rowId;
      r = defs.update(d);
    } else {
      r = defs.insert(d);
    }
    if (!r.ok()) return r;
  }
  return unit.commit() ? StoreResult{} : fail(zq::kMsgStoreFailure, store.error());
}

StoreResult removeImported(Store& store, const ZQStructItemList& items, const std::string& text) {
  std::vector<Block> blocks;
  StoreResult r = parse(text, blocks);
  if (!r.ok()) return r;
  FormDefinitions forms(store);
  DefinitionStore& defs = forms.store();
  DefinitionUnit unit(store);
  for (const Block& b : blocks) {
    if (b.word == kEntryWord) {
      if (items.count) continue;
      EntryStore entries(store);
      Row gone;
      if (entries.get(b.subject, key(b, "id"), nullptr, gone.values).ok() &&
          !(r = entries.remove(b.subject, key(b, "id"))).ok())
        return r;
      continue;
    }
    const ExportKind* k = kindOfWord(b.word);
    if (b.word == kSupportFileWord || (k && !k->itemType)) continue;  // go with their form
    if (!k) return malformed(b, "unknown kind");
    if (!wanted(items, *k, b.subject)) continue;
    auto d = defs.find(k->kind, 0, b.subject);
    if (!d) continue;
    r = k->remove ? k->remove(forms, *d) : defs.remove(d->rowId);
    if (!r.ok()) return r;
  }
  return unit.commit() ? StoreResult{} : fail(zq::kMsgStoreFailure, store.error());
}

}  // namespace zqserver
