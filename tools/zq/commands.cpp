// The command table of zq. Commands that wait for calls the library does not
// offer yet (forms, fields, export, import, alerts) join as rows here.
#include <cstdio>

#include "commands_impl.h"

namespace zqcli {

const std::vector<Command>& commands() {
  static const std::vector<Command> table = {
      {"info", "[SETTING...]", "show server settings",
       "Shows the server's settings: by default its version, database, language,\n"
       "time, argument limit and maximum attachment size; or the settings whose\n"
       "numbers are given.\n",
       "", true, runInfo},
      {"get", "FORM ID [--fields IDS] [--save FIELD=FILE]...", "show one entry",
       "Shows the fields of entry ID of FORM (all of them, or the field ids listed\n"
       "with --fields, e.g. --fields 1,8,536870913). --save FIELD=FILE writes the\n"
       "content of attachment field FIELD into FILE (repeatable).\n",
       "--fields --save", true, runGet},
      {"create", "FORM ID[:TYPE]=VALUE...", "create an entry",
       "Creates an entry of FORM and prints its id. Each argument sets one field:\n"
       "ID=VALUE sends a whole number as an integer and anything else as text;\n"
       "ID:TYPE=VALUE names the type: char, integer, real, decimal, enum, bitmask,\n"
       "ulong, time (a date and time), date, timeofday, diary, null, or attach\n"
       "(VALUE is a file to attach). ID= clears the field.\n",
       "", true, runCreate},
      {"set", "FORM ID ID[:TYPE]=VALUE...", "change fields of an entry",
       "Changes the given fields of entry ID of FORM; values as for create.\n", "", true, runSet},
      {"delete", "FORM ID...", "delete entries",
       "Deletes the entries of FORM with the given ids.\n", "", true, runDelete},
      {"query", "FORM [QUALIFICATION] [--fields IDS] [--sort IDS] [--limit N] [--first N]",
       "list entries matching a qualification",
       "Lists the entries of FORM that match QUALIFICATION (none: every entry),\n"
       "in chunks of --chunk entries (default 500), with a progress bar on a\n"
       "terminal. The qualification is given in the library's text form of\n"
       "qualifications, for example '4\\1\\1\\536870914\\2\\2\\3\\' for\n"
       "field 536870914 = 3 (operation 4 compares, 1 is =, 1\\ID\\ a field,\n"
       "2\\TYPE\\VALUE\\ a value).\n"
       "  --fields IDS   the columns (default: every field of the first entry)\n"
       "  --sort ORDER   ID[:asc|desc],... (e.g. --sort 536870914:desc,1)\n"
       "  --limit N      at most N entries\n"
       "  --first N      skip the first N matches\n"
       "  --chunk N      entries per server call\n",
       "--fields --sort --limit --first --chunk", true, runQuery},
      {"replay", "[--run [--no-wait]] LOG", "check or replay an API command log",
       "Reads an API command log (zqapicmd.log, written with ZQAPILOGGING=1) back\n"
       "and summarises it. With --run it plays the calls against zq's server,\n"
       "keeping the recorded pauses unless --no-wait. Runs zqreplay.\n",
       "--run --no-wait", false, runReplay},
  };
  return table;
}

const Command* findCommand(const std::string& name) {
  for (const Command& c : commands())
    if (name == c.name) return &c;
  return nullptr;
}

void complain(const std::string& text) {
  fprintf(stderr, "zq: %s\n", text.c_str());
}

}  // namespace zqcli
