// zq query: entries matching a qualification, fetched in chunks.
#include <map>

#include "args.h"
#include "commands_impl.h"
#include "progress.h"
#include "values.h"

namespace zqcli {
namespace {

constexpr long long kDefaultChunk = 500;

// The text form the library writes ("4\\1\\1\\536870914\\..."): digits and
// a backslash. Anything else is read with the qualification language.
bool isEncodedForm(const std::string& text) {
  size_t digits = 0;
  while (digits < text.size() && text[digits] >= '0' && text[digits] <= '9') ++digits;
  return digits > 0 && digits < text.size() && text[digits] == '\\';
}

// The qualification to its structure; false (the reason reported) when it
// cannot be read. A failure is one line: its first status entry, the one
// that says where reading stopped.
bool readQualification(Session& session, const std::string& form, const std::string& view,
                       const std::string& text, ZQQualifierStruct& qualifier) {
  ZQStatusList status{0, nullptr};
  const int rc =
      isEncodedForm(text)
          ? ZQDecodeZQQualifierStruct(session.control(), text.c_str(), &qualifier, &status)
          : ZQLoadZQQualifierStruct(session.control(), form.c_str(),
                                    view.empty() ? nullptr : view.c_str(), text.c_str(), &qualifier,
                                    &status);
  session.report(rc, status, rc >= ZQ_RETURN_ERROR ? 1 : UINT32_MAX);
  return rc < ZQ_RETURN_ERROR;
}

std::string entryIdText(const ZQEntryIdList& id) {
  std::string text;
  for (uint32_t i = 0; i < id.count; ++i) text += (i ? "|" : "") + std::string(id.items[i]);
  return text;
}

}  // namespace

int runQuery(Session& session, std::vector<std::string>& args) {
  ParsedArgs parsed;
  std::string error, form;
  if (!parseArgs(args,
                 {{"fields", true},
                  {"sort", true},
                  {"limit", true},
                  {"first", true},
                  {"chunk", true},
                  {"view", true}},
                 parsed, error))
    return session.fail(error);
  if (!session.takeForm(parsed.positional, 2, form) || parsed.positional.size() > 1)
    return session.fail("query needs FORM and at most one qualification (see zq query --help)");
  std::vector<ZQInternalId> fieldIds;
  if (parsed.has("fields") && !parseFieldIds(parsed.value("fields"), fieldIds, error))
    return session.fail("--fields: " + error);
  std::vector<ZQSortStruct> sortItems;
  if (parsed.has("sort") && !parseSort(parsed.value("sort"), sortItems, error))
    return session.fail("--sort: " + error);
  long long limit = 0, first = 0, chunk = kDefaultChunk;
  if (parsed.has("limit") && !parseNumber(parsed.value("limit"), 0, UINT32_MAX, limit))
    return session.fail("--limit " + parsed.value("limit") + ": expected a number of entries");
  if (parsed.has("first") && !parseNumber(parsed.value("first"), 0, UINT32_MAX, first))
    return session.fail("--first " + parsed.value("first") + ": expected an entry position");
  if (parsed.has("chunk") && !parseNumber(parsed.value("chunk"), 1, 1000000, chunk))
    return session.fail("--chunk " + parsed.value("chunk") + ": expected 1 to 1000000 entries");

  // None: every entry.
  ZQQualifierStruct qualifier{};
  ZQQualifierStruct* where = nullptr;
  if (!parsed.positional.empty() && !parsed.positional[0].empty()) {
    if (!readQualification(session, form, parsed.value("view"), parsed.positional[0], qualifier)) {
      FreeZQQualifierStruct(&qualifier, 0);
      return session.exitStatus();
    }
    where = &qualifier;
  }
  std::vector<ZQEntryListFieldStruct> listFields;
  // The width matters to the short-description lists only, but must not be 0.
  for (ZQInternalId id : fieldIds) listFields.push_back({id, 255, " "});
  ZQEntryListFieldList fields{static_cast<uint32_t>(listFields.size()), listFields.data()};
  ZQSortList sort{static_cast<uint32_t>(sortItems.size()), sortItems.data()};

  auto out = session.writer();
  std::vector<ZQInternalId> columns = fieldIds;
  bool begun = false;
  uint64_t fetched = 0;
  Progress progress("query " + form, 0, session.settings().quiet);
  for (;;) {
    uint32_t page = static_cast<uint32_t>(chunk);
    if (limit && static_cast<uint64_t>(limit) - fetched < page)
      page = static_cast<uint32_t>(limit - fetched);
    ZQEntryListFieldValueList entries{0, nullptr};
    uint32_t matches = 0;
    ZQStatusList status{0, nullptr};
    const int rc =
        session.report(ZQGetListEntryWithFields(session.control(), form.c_str(), where, &fields,
                                                &sort, static_cast<uint32_t>(first + fetched), page,
                                                0, &entries, &matches, &status),
                       status);
    if (rc >= ZQ_RETURN_ERROR) {
      FreeZQEntryListFieldValueList(&entries, 0);
      break;
    }
    uint64_t wanted = matches > first ? matches - first : 0;
    if (limit && static_cast<uint64_t>(limit) < wanted) wanted = limit;
    progress.setTotal(wanted);
    if (!begun) {
      // Without --fields the columns are the fields of the first entry.
      if (columns.empty() && entries.count && entries.items[0].fieldValues)
        for (uint32_t k = 0; k < entries.items[0].fieldValues->count; ++k)
          columns.push_back(entries.items[0].fieldValues->items[k].fieldId);
      std::vector<std::string> names{"id"};
      for (ZQInternalId id : columns) names.push_back(std::to_string(id));
      out->begin(names);
      begun = true;
    }
    for (uint32_t i = 0; i < entries.count; ++i) {
      std::map<ZQInternalId, const ZQValueStruct*> byField;
      if (const ZQFieldValueList* row = entries.items[i].fieldValues)
        for (uint32_t k = 0; k < row->count; ++k)
          byField[row->items[k].fieldId] = &row->items[k].value;
      const std::string id = entryIdText(entries.items[i].entryId);
      std::vector<Cell> cells{{id, id}};
      for (ZQInternalId column : columns) {
        auto it = byField.find(column);
        if (it == byField.end())
          cells.push_back({"", nullptr});
        else
          cells.push_back({valueText(*it->second), valueJson(*it->second)});
      }
      out->row(cells);
    }
    fetched += entries.count;
    const bool last = entries.count < page || fetched >= wanted;
    FreeZQEntryListFieldValueList(&entries, 0);
    progress.update(fetched);
    if (!out->flush() || last) break;
  }
  progress.finish();
  if (begun && !outputBroken()) {
    out->end();
    out->flush();
  }
  FreeZQQualifierStruct(&qualifier, 0);
  return session.exitStatus();
}

}  // namespace zqcli
