// Where zq connects: the URL zq://user[:password]@host[:port][/form], the
// ZQ_URL variable, the config file, and the password kept out of sight.
#pragma once

#include <string>

#include "cli.h"

namespace zqcli {

struct Url {
  std::string user, password, host, form;
  bool hasPassword = false;
  int port = 0;
};

// false with a reason (that never repeats the password) when the text is
// not such a URL.
bool parseUrl(const std::string& text, Url& url, std::string& error);

// Overwrites the password of every URL among the process's arguments and in
// ZQ_URL, in place, so that neither /proc/PID/cmdline nor /proc/PID/environ
// shows it once zq has started. Call it after copying what it overwrites.
void hidePasswords(int argc, char** argv);

// The config file: $ZQ_CONFIG, else $XDG_CONFIG_HOME/zq/config, else
// ~/.config/zq/config; "key = value" lines (url, format), '#' comments.
std::string configPath();
// The value of key in the config file, or empty.
std::string configValue(const std::string& key);

// Reads a password from the terminal without echo; false when there is no
// terminal to ask.
bool promptPassword(const std::string& prompt, std::string& password);

// The first line of a file (the password file of --password-file).
bool readFirstLine(const std::string& path, std::string& line, std::string& error);

}  // namespace zqcli
