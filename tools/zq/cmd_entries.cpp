// zq get, create, set and delete: single entries.
#include <cstring>

#include "args.h"
#include "commands_impl.h"
#include "progress.h"
#include "values.h"

namespace zqcli {
namespace {

// One entry id as the library takes it.
struct EntryId {
  ZQEntryIdType id{};
  ZQEntryIdList list{1, &id};
};

bool makeEntryId(Session& session, const std::string& text, EntryId& out) {
  if (text.empty() || text.size() > ZQ_MAX_ENTRYID_SIZE) {
    session.fail("'" + text + "' is not an entry id (1 to 15 characters)");
    return false;
  }
  memcpy(out.id, text.c_str(), text.size() + 1);
  return true;
}

// create and set take the form unless the URL named one and the first
// argument already reads as a field value.
bool takeFormBeforeValues(Session& session, std::vector<std::string>& positional,
                          std::string& form) {
  if (!session.settings().form.empty() &&
      (positional.empty() || positional.front().find('=') != std::string::npos)) {
    form = session.settings().form;
    return true;
  }
  if (positional.empty()) return false;
  form = positional.front();
  positional.erase(positional.begin());
  return true;
}

bool readValues(Session& session, const std::vector<std::string>& texts, FieldValues& values) {
  for (const std::string& text : texts) {
    std::string error;
    if (!values.add(text, error)) {
      session.fail(error);
      return false;
    }
  }
  return true;
}

// The content of attachment field `field` of an entry into a file.
int saveAttachment(Session& session, const std::string& form, EntryId& entry,
                   const std::string& saveItem) {
  const size_t eq = saveItem.find('=');
  ZQInternalId field = 0;
  if (eq == std::string::npos || eq + 1 == saveItem.size() ||
      !parseFieldId(saveItem.substr(0, eq), field))
    return session.fail("--save " + saveItem + ": expected FIELD=FILE");
  std::string path = saveItem.substr(eq + 1);
  ZQLocStruct location{};
  location.locationType = ZQ_LOC_FILENAME;
  location.u.filename = path.data();
  Progress progress("saving " + path, 1, session.settings().quiet);
  ZQStatusList status{0, nullptr};
  const int rc =
      ZQGetEntryBLOB(session.control(), form.c_str(), &entry.list, field, &location, &status);
  progress.update(rc < ZQ_RETURN_ERROR ? 1 : 0);
  progress.finish();
  return session.report(rc, status);
}

}  // namespace

int runGet(Session& session, std::vector<std::string>& args) {
  ParsedArgs parsed;
  std::string error, form;
  if (!parseArgs(args, {{"fields", true}, {"save", true}}, parsed, error))
    return session.fail(error);
  if (!session.takeForm(parsed.positional, 2, form) || parsed.positional.size() != 1)
    return session.fail("get needs FORM and ID (see zq get --help)");
  EntryId entry;
  if (!makeEntryId(session, parsed.positional[0], entry)) return kExitError;
  std::vector<ZQInternalId> ids;
  if (parsed.has("fields") && !parseFieldIds(parsed.value("fields"), ids, error))
    return session.fail("--fields: " + error);
  ZQInternalIdList wanted{static_cast<uint32_t>(ids.size()), ids.data()};
  ZQFieldValueList values{0, nullptr};
  ZQStatusList status{0, nullptr};
  int rc = session.report(
      ZQGetEntry(session.control(), form.c_str(), &entry.list, &wanted, &values, &status), status);
  if (rc < ZQ_RETURN_ERROR) {
    auto out = session.writer();
    if (session.settings().format == Format::Json) {
      // One object: field id -> value.
      std::vector<std::string> columns;
      std::vector<Cell> cells;
      for (uint32_t i = 0; i < values.count; ++i) {
        columns.push_back(std::to_string(values.items[i].fieldId));
        cells.push_back({"", valueJson(values.items[i].value)});
      }
      out->begin(columns);
      out->row(cells);
    } else {
      out->begin({"field", "value"});
      for (uint32_t i = 0; i < values.count; ++i)
        out->row({{std::to_string(values.items[i].fieldId), values.items[i].fieldId},
                  {valueText(values.items[i].value), nullptr}});
    }
    out->end();
    out->flush();
  }
  FreeZQFieldValueList(&values, 0);
  if (rc >= ZQ_RETURN_ERROR) return rc;
  if (parsed.lists.count("save"))
    for (const std::string& saveItem : parsed.lists["save"])
      if (saveAttachment(session, form, entry, saveItem) >= ZQ_RETURN_ERROR) break;
  return session.exitStatus();
}

int runCreate(Session& session, std::vector<std::string>& args) {
  ParsedArgs parsed;
  std::string error, form;
  if (!parseArgs(args, {}, parsed, error)) return session.fail(error);
  if (!takeFormBeforeValues(session, parsed.positional, form) || parsed.positional.empty())
    return session.fail("create needs FORM and at least one ID=VALUE (see zq create --help)");
  FieldValues values;
  if (!readValues(session, parsed.positional, values)) return kExitError;
  ZQEntryIdType id{};
  ZQStatusList status{0, nullptr};
  const int rc = session.report(
      ZQCreateEntry(session.control(), form.c_str(), values.list(), id, &status), status);
  if (rc < ZQ_RETURN_ERROR) {
    auto out = session.writer();
    out->begin({"id"});
    out->row({{id, id}});
    out->end();
    out->flush();
  }
  return rc;
}

int runSet(Session& session, std::vector<std::string>& args) {
  ParsedArgs parsed;
  std::string error, form;
  if (!parseArgs(args, {}, parsed, error)) return session.fail(error);
  // FORM ID ID=VALUE...: the form may come from the URL.
  if (!session.settings().form.empty() && parsed.positional.size() >= 2 &&
      parsed.positional[1].find('=') != std::string::npos) {
    form = session.settings().form;
  } else if (!parsed.positional.empty()) {
    form = parsed.positional.front();
    parsed.positional.erase(parsed.positional.begin());
  }
  if (form.empty() || parsed.positional.size() < 2)
    return session.fail("set needs FORM, ID and at least one ID=VALUE (see zq set --help)");
  EntryId entry;
  if (!makeEntryId(session, parsed.positional[0], entry)) return kExitError;
  FieldValues values;
  if (!readValues(session, {parsed.positional.begin() + 1, parsed.positional.end()}, values))
    return kExitError;
  ZQStatusList status{0, nullptr};
  return session.report(
      ZQSetEntry(session.control(), form.c_str(), &entry.list, values.list(), 0, 0, &status),
      status);
}

int runDelete(Session& session, std::vector<std::string>& args) {
  ParsedArgs parsed;
  std::string error, form;
  if (!parseArgs(args, {}, parsed, error)) return session.fail(error);
  // FORM ID...: with a form in the URL, a single argument is an id.
  if (session.settings().form.empty() || parsed.positional.size() >= 2) {
    if (parsed.positional.size() < 2)
      return session.fail("delete needs FORM and at least one ID (see zq delete --help)");
    form = parsed.positional.front();
    parsed.positional.erase(parsed.positional.begin());
  } else {
    form = session.settings().form;
    if (parsed.positional.empty()) return session.fail("delete needs an ID");
  }
  std::vector<EntryId> entries(parsed.positional.size());
  for (size_t i = 0; i < entries.size(); ++i)
    if (!makeEntryId(session, parsed.positional[i], entries[i])) return kExitError;
  Progress progress("deleting", entries.size(), session.settings().quiet || entries.size() < 2);
  for (size_t i = 0; i < entries.size(); ++i) {
    ZQStatusList status{0, nullptr};
    entries[i].list.items = &entries[i].id;
    const int rc = ZQDeleteEntry(session.control(), form.c_str(), &entries[i].list, 0, &status);
    session.report(rc, status);
    progress.update(i + 1);
  }
  return session.exitStatus();
}

}  // namespace zqcli
