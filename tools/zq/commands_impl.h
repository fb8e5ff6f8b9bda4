// The functions behind the rows of the command table.
#pragma once

#include <string>
#include <vector>

#include "session.h"

namespace zqcli {

int runInfo(Session& session, std::vector<std::string>& args);
int runGet(Session& session, std::vector<std::string>& args);
int runCreate(Session& session, std::vector<std::string>& args);
int runSet(Session& session, std::vector<std::string>& args);
int runDelete(Session& session, std::vector<std::string>& args);
int runQuery(Session& session, std::vector<std::string>& args);
int runReplay(Session& session, std::vector<std::string>& args);
int runForms(Session& session, std::vector<std::string>& args);
int runFields(Session& session, std::vector<std::string>& args);
int runExport(Session& session, std::vector<std::string>& args);
int runImport(Session& session, std::vector<std::string>& args);
int runAlerts(Session& session, std::vector<std::string>& args);

}  // namespace zqcli
