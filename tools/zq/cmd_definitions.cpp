// zq forms and zq fields: the definitions on the server.
#include "args.h"
#include "commands_impl.h"
#include "values.h"

namespace zqcli {
namespace {

struct Named {
  const char* name;
  uint32_t value;
};

constexpr Named kFormKinds[] = {
    {"regular", ZQ_SCHEMA_REGULAR}, {"join", ZQ_SCHEMA_JOIN},     {"view", ZQ_SCHEMA_VIEW},
    {"dialog", ZQ_SCHEMA_DIALOG},   {"vendor", ZQ_SCHEMA_VENDOR},
};

constexpr Named kFieldOptions[] = {
    {"required", ZQ_FIELD_OPTION_REQUIRED},
    {"optional", ZQ_FIELD_OPTION_OPTIONAL},
    {"system", ZQ_FIELD_OPTION_SYSTEM},
    {"display", ZQ_FIELD_OPTION_DISPLAY},
};

std::string optionName(uint32_t option) {
  for (const Named& n : kFieldOptions)
    if (n.value == option) return n.name;
  return std::to_string(option);
}

}  // namespace

int runForms(Session& session, std::vector<std::string>& args) {
  ParsedArgs parsed;
  std::string error;
  if (!parseArgs(args, {{"type", true}}, parsed, error)) return session.fail(error);
  if (!parsed.positional.empty())
    return session.fail("forms takes no arguments (see zq forms --help)");
  uint32_t kind = ZQ_LIST_SCHEMA_ALL;
  if (parsed.has("type")) {
    bool known = false;
    for (const Named& n : kFormKinds)
      if (parsed.value("type") == n.name) {
        kind = n.value;
        known = true;
      }
    if (!known)
      return session.fail("--type " + parsed.value("type") +
                          ": expected regular, join, view, dialog or vendor");
  }
  ZQNameList names{0, nullptr};
  ZQStatusList status{0, nullptr};
  const int rc = session.report(
      ZQGetListSchema(session.control(), 0, kind, nullptr, nullptr, nullptr, &names, &status),
      status);
  if (rc < ZQ_RETURN_ERROR) {
    auto out = session.writer();
    out->begin({"form"});
    for (uint32_t i = 0; i < names.count; ++i) out->row({{names.items[i], names.items[i]}});
    out->end();
    out->flush();
  }
  FreeZQNameList(&names, 0);
  return rc;
}

int runFields(Session& session, std::vector<std::string>& args) {
  ParsedArgs parsed;
  std::string error, form;
  if (!parseArgs(args, {}, parsed, error)) return session.fail(error);
  if (!session.takeForm(parsed.positional, 1, form) || !parsed.positional.empty())
    return session.fail("fields needs FORM (see zq fields --help)");
  ZQBooleanList exists{0, nullptr};
  ZQInternalIdList ids{0, nullptr};
  ZQNameList names{0, nullptr};
  ZQUnsignedIntList types{0, nullptr}, options{0, nullptr};
  ZQStatusList status{0, nullptr};
  const int rc = session.report(
      ZQGetMultipleFields(session.control(), form.c_str(), nullptr, &exists, &ids, &names, nullptr,
                          &types, &options, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                          nullptr, nullptr, nullptr, nullptr, nullptr, &status),
      status);
  if (rc < ZQ_RETURN_ERROR) {
    auto out = session.writer();
    out->begin({"id", "name", "type", "option"});
    for (uint32_t i = 0; i < ids.count; ++i) {
      if (i < exists.count && !exists.items[i]) continue;
      const std::string name = i < names.count ? names.items[i] : "";
      const std::string type = i < types.count ? dataTypeName(types.items[i]) : "";
      const std::string option = i < options.count ? optionName(options.items[i]) : "";
      out->row({{std::to_string(ids.items[i]), ids.items[i]},
                {name, name},
                {type, type},
                {option, option}});
    }
    out->end();
    out->flush();
  }
  FreeZQBooleanList(&exists, 0);
  FreeZQInternalIdList(&ids, 0);
  FreeZQNameList(&names, 0);
  FreeZQUnsignedIntList(&types, 0);
  FreeZQUnsignedIntList(&options, 0);
  return rc;
}

}  // namespace zqcli
