#include "args.h"

namespace zqcli {

bool parseArgs(const std::vector<std::string>& args, const std::vector<OptionRule>& rules,
               ParsedArgs& out, std::string& error) {
  bool optionsEnded = false;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    if (optionsEnded || a.size() < 3 || a.compare(0, 2, "--") != 0) {
      if (a == "--")
        optionsEnded = true;
      else
        out.positional.push_back(a);
      continue;
    }
    const size_t eq = a.find('=');
    const std::string name = a.substr(2, eq == std::string::npos ? std::string::npos : eq - 2);
    const OptionRule* rule = nullptr;
    for (const OptionRule& s : rules)
      if (name == s.name) rule = &s;
    if (!rule) {
      error = "unknown option --" + name;
      return false;
    }
    if (!rule->takesValue) {
      if (eq != std::string::npos) {
        error = "--" + name + " takes no value";
        return false;
      }
      out.flags.insert(name);
    } else if (eq != std::string::npos || i + 1 < args.size()) {
      out.values[name] = eq != std::string::npos ? a.substr(eq + 1) : args[++i];
      out.lists[name].push_back(out.values[name]);
    } else {
      error = "--" + name + " needs a value";
      return false;
    }
  }
  return true;
}

}  // namespace zqcli
