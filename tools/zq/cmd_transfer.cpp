// zq export and zq import: definitions written out as text and read back.
#include <cerrno>
#include <cstring>
#include <fstream>
#include <iostream>
#include <sstream>

#include "args.h"
#include "commands_impl.h"
#include "progress.h"

namespace zqcli {
namespace {

struct ItemKind {
  const char* name;
  uint32_t type;
};

constexpr ItemKind kItemKinds[] = {
    {"form", ZQ_STRUCT_ITEM_SCHEMA},
    {"form-data", ZQ_STRUCT_ITEM_SCHEMA_DATA},
    {"filter", ZQ_STRUCT_ITEM_FILTER},
    {"form-mail", ZQ_STRUCT_ITEM_SCHEMA_MAIL},
    {"active-link", ZQ_STRUCT_ITEM_ACTIVE_LINK},
    {"menu", ZQ_STRUCT_ITEM_CHAR_MENU},
    {"escalation", ZQ_STRUCT_ITEM_ESCALATION},
    {"container", ZQ_STRUCT_ITEM_CONTAINER},
    {"image", ZQ_STRUCT_ITEM_IMAGE},
};

// "[KIND:]NAME", a form when no kind is given. A name may hold a colon when
// its kind is written out ("form:a:b").
bool parseItem(const std::string& text, ZQStructItemStruct& item, std::string& error) {
  item = ZQStructItemStruct{};
  item.type = ZQ_STRUCT_ITEM_SCHEMA;
  std::string name = text;
  const size_t colon = text.find(':');
  if (colon != std::string::npos) {
    const std::string kind = text.substr(0, colon);
    bool known = false;
    for (const ItemKind& k : kItemKinds)
      if (kind == k.name) {
        item.type = k.type;
        known = true;
      }
    if (known) name = text.substr(colon + 1);
  }
  if (name.empty() || name.size() > ZQ_MAX_NAME_SIZE) {
    error = "'" + text + "' is not an item: expected [KIND:]NAME, NAME of 1 to " +
            std::to_string(ZQ_MAX_NAME_SIZE) + " characters";
    return false;
  }
  memcpy(item.name, name.c_str(), name.size() + 1);
  return true;
}

bool parseItems(Session& session, const std::vector<std::string>& texts,
                std::vector<ZQStructItemStruct>& items) {
  for (const std::string& text : texts) {
    ZQStructItemStruct item;
    std::string error;
    if (!parseItem(text, item, error)) {
      session.fail(error);
      return false;
    }
    items.push_back(item);
  }
  return true;
}

// A whole export text from a file ("-": standard input).
bool readText(const std::string& path, std::string& text, std::string& error) {
  std::ifstream file;
  std::istream* in = &std::cin;
  if (path != "-") {
    file.open(path, std::ios::binary);
    if (!file) {
      error = "cannot read " + path + ": " + strerror(errno);
      return false;
    }
    in = &file;
  }
  std::stringstream all;
  all << in->rdbuf();
  if (in->bad()) {
    error = "cannot read " + path + ": " + strerror(errno);
    return false;
  }
  text = all.str();
  // The library takes the text as a C string: a NUL would cut it short
  // without a word.
  if (text.find('\0') != std::string::npos) {
    error = path + " is not an export text: it holds a NUL byte";
    return false;
  }
  return true;
}

}  // namespace

int runExport(Session& session, std::vector<std::string>& args) {
  ParsedArgs parsed;
  std::string error;
  if (!parseArgs(args, {}, parsed, error)) return session.fail(error);
  if (parsed.positional.empty())
    return session.fail("export needs at least one ITEM (see zq export --help)");
  std::vector<ZQStructItemStruct> items;
  if (!parseItems(session, parsed.positional, items)) return kExitError;
  ZQStructItemList list{static_cast<uint32_t>(items.size()), items.data()};
  Progress progress("exporting", items.size(), session.settings().quiet);
  progress.update(0);
  char* text = nullptr;
  ZQStatusList status{0, nullptr};
  const int rc = session.report(
      ZQExport(session.control(), &list, nullptr, 0, nullptr, &text, &status), status);
  if (rc < ZQ_RETURN_ERROR) progress.update(items.size());
  progress.finish();
  if (rc < ZQ_RETURN_ERROR && text) {
    fputs(text, stdout);
    if (fflush(stdout) != 0 && errno != EPIPE) {
      ZQFree(text);
      return session.fail(std::string("cannot write the export: ") + strerror(errno));
    }
  }
  ZQFree(text);
  return session.exitStatus();
}

int runImport(Session& session, std::vector<std::string>& args) {
  ParsedArgs parsed;
  std::string error;
  if (!parseArgs(args, {{"no-overwrite", false}}, parsed, error)) return session.fail(error);
  if (parsed.positional.empty()) return session.fail("import needs FILE (see zq import --help)");
  const std::string path = parsed.positional.front();
  std::vector<ZQStructItemStruct> items;
  if (!parseItems(session, {parsed.positional.begin() + 1, parsed.positional.end()}, items))
    return kExitError;
  std::string text;
  if (!readText(path, text, error)) return session.fail(error);
  const uint32_t option = parsed.has("no-overwrite") ? ZQ_IMPORT_OPTION_NO_OVERWRITE : 0;

  // The listed items one call each, so that the bar moves; none: the whole
  // text in one call.
  const size_t steps = items.empty() ? 1 : items.size();
  Progress progress("importing " + path, steps, session.settings().quiet);
  progress.update(0);
  for (size_t i = 0; i < steps; ++i) {
    ZQStructItemList one{items.empty() ? 0u : 1u, items.empty() ? nullptr : &items[i]};
    ZQStatusList status{0, nullptr};
    const int rc = session.report(
        ZQImport(session.control(), items.empty() ? nullptr : &one, text.c_str(), option, &status),
        status);
    if (rc >= ZQ_RETURN_ERROR) break;
    progress.update(i + 1);
  }
  progress.finish();
  return session.exitStatus();
}

}  // namespace zqcli
