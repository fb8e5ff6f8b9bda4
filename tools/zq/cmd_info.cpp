// zq info: server settings.
#include "args.h"
#include "commands_impl.h"
#include "values.h"

namespace zqcli {
namespace {

struct KnownSetting {
  uint32_t number;
  const char* name;
};

// What `zq info` shows without arguments.
constexpr KnownSetting kKnown[] = {
    {4, "server version"},
    {1, "database type"},
    {27, "database version"},
    {55, "server language"},
    {116, "server time"},
    {246, "argument limit"},
    {333, "maximum attachment size"},
};

const char* settingName(uint32_t number) {
  for (const KnownSetting& k : kKnown)
    if (k.number == number) return k.name;
  return "";
}

}  // namespace

int runInfo(Session& session, std::vector<std::string>& args) {
  ParsedArgs parsed;
  std::string error;
  if (!parseArgs(args, {}, parsed, error)) return session.fail(error);
  std::vector<uint32_t> numbers;
  for (const std::string& a : parsed.positional) {
    long long n = 0;
    if (!parseNumber(a, 1, UINT32_MAX, n))
      return session.fail("'" + a + "' is not a setting number (1 to 4294967295)");
    numbers.push_back(static_cast<uint32_t>(n));
  }
  if (numbers.empty())
    for (const KnownSetting& k : kKnown) numbers.push_back(k.number);
  ZQServerInfoRequestList request{static_cast<uint32_t>(numbers.size()), numbers.data()};
  ZQServerInfoList info{0, nullptr};
  ZQStatusList status{0, nullptr};
  const int rc =
      session.report(ZQGetServerInfo(session.control(), &request, &info, &status), status);
  if (rc < ZQ_RETURN_ERROR) {
    auto out = session.writer();
    out->begin({"setting", "name", "value"});
    for (uint32_t i = 0; i < info.count; ++i) {
      const ZQServerInfoStruct& s = info.items[i];
      out->row({{std::to_string(s.operation), s.operation},
                {settingName(s.operation), settingName(s.operation)},
                {valueText(s.value), valueJson(s.value)}});
    }
    out->end();
    out->flush();
  }
  FreeZQServerInfoList(&info, 0);
  return rc;
}

}  // namespace zqcli
