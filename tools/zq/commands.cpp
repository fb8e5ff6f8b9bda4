// The command table of zq: a command is a row here and a function.
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
      {"query",
       "FORM [QUALIFICATION] [--fields IDS] [--sort IDS] [--limit N] [--first N] [--view LABEL]",
       "list entries matching a qualification",
       "Lists the entries of FORM that match QUALIFICATION (none: every entry),\n"
       "in chunks of --chunk entries (default 500), with a progress bar on a\n"
       "terminal. The qualification is written in the qualification language,\n"
       "with fields by name, by label or by id between single quotes and texts\n"
       "between double quotes, for example\n"
       "  'Status' = \"Open\" AND ('Priority' > 2 OR 'Title' LIKE \"%disk%\")\n"
       "Fields are looked up in the form's definition; labels are those of the\n"
       "view --view names, else of the form's first view. The library's encoded\n"
       "form of qualifications (digits and backslashes, for example\n"
       "'4\\1\\1\\536870914\\2\\2\\3\\' for field 536870914 = 3) is read as such.\n"
       "  --fields IDS   the columns (default: every field of the first entry)\n"
       "  --sort ORDER   ID[:asc|desc],... (e.g. --sort 536870914:desc,1)\n"
       "  --limit N      at most N entries\n"
       "  --first N      skip the first N matches\n"
       "  --chunk N      entries per server call\n"
       "  --view LABEL   the view whose field labels the qualification uses\n",
       "--fields --sort --limit --first --chunk --view", true, runQuery},
      {"replay", "[--run [--no-wait]] LOG", "check or replay an API command log",
       "Reads an API command log (zqapicmd.log, written with ZQAPILOGGING=1) back\n"
       "and summarises it. With --run it plays the calls against zq's server,\n"
       "keeping the recorded pauses unless --no-wait. Runs zqreplay.\n",
       "--run --no-wait", false, runReplay},
      {"forms", "[--type KIND]", "list the forms",
       "Lists the names of the server's forms; --type keeps one kind: regular,\n"
       "join, view, dialog or vendor.\n",
       "--type", true, runForms},
      {"fields", "FORM", "list the fields of a form",
       "Lists the fields of FORM: id, name, data type and option (required,\n"
       "optional, system or display).\n",
       "", true, runFields},
      {"export", "ITEM...", "write definitions as an export text",
       "Writes the definitions listed to standard output as an export text that\n"
       "zq import reads back (zq export Tickets > tickets.def). An ITEM is\n"
       "[KIND:]NAME, a form when no KIND is given; KIND is one of form,\n"
       "form-data, form-mail, filter, active-link, menu, escalation, container\n"
       "and image.\n",
       "", true, runExport},
      {"import", "FILE [ITEM...] [--no-overwrite]", "create definitions from an export text",
       "Reads an export text from FILE (- : standard input) and creates its\n"
       "definitions on the server, replacing those that exist; with ITEMs\n"
       "([KIND:]NAME, as for export) only those, one at a time. A progress bar\n"
       "shows on a terminal.\n"
       "  --no-overwrite  refuse the import when a definition exists already\n",
       "--no-overwrite", true, runImport},
      {"alerts", "listen [--listen-port N] [--count N]", "print alerts as they arrive",
       "Registers for the alerts of zq's user and prints each one as it arrives\n"
       "(time, priority, form, entry, text), until Ctrl-C (SIGINT) or SIGTERM,\n"
       "which end it cleanly: the registration is removed before zq exits.\n"
       "  --listen-port N  the port the server delivers to (default: any free)\n"
       "  --count N        stop after N alerts\n",
       "listen --listen-port --count", true, runAlerts},
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
