// A command's own options: "--name VALUE", "--name=VALUE" or "--flag";
// "--" ends them. Everything else is positional, in order.
#pragma once

#include <map>
#include <set>
#include <string>
#include <vector>

namespace zqcli {

struct OptionRule {
  const char* name;  // without the dashes
  bool takesValue;
};

struct ParsedArgs {
  std::vector<std::string> positional;
  std::map<std::string, std::string> values;              // the last value given
  std::map<std::string, std::vector<std::string>> lists;  // every value, in order
  std::set<std::string> flags;
  bool has(const std::string& name) const { return values.count(name) || flags.count(name); }
  std::string value(const std::string& name) const {
    auto it = values.find(name);
    return it == values.end() ? "" : it->second;
  }
};

// false with a one-line reason for an unknown option or a missing value.
bool parseArgs(const std::vector<std::string>& args, const std::vector<OptionRule>& rules,
               ParsedArgs& out, std::string& error);

}  // namespace zqcli
