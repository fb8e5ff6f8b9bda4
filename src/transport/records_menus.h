// Argument and reply records of the menu-expansion procedures: 45 (the
// content of a menu file on the server), 55 (a query menu), 108 (a menu the
// server defines) and 118 (a data-dictionary menu). Strings are borrowed in
// requests the client builds and owned in decoded records.
#pragma once

#include "transport/records.h"
#include "zqapi/zq_workflow.h"

namespace zq::transport {

// Procedure 45: the file name; the reply carries a slice of the content.
struct MenuFileArgs {
  RequestHeader header;
  char* fileName;  // at most 255 characters
};
struct MenuFileReply {
  RequestHeader header;
  char* content;  // this reply's slice
  ZQStatusList status;
};

// Procedure 55: the query part of a menu definition.
struct QueryMenuArgs {
  RequestHeader header;
  ZQCharMenuQueryStruct query;
};

// Procedure 108: the name and the three value lists of the request.
struct ServerMenuArgs {
  RequestHeader header;
  ZQCharMenuSSStruct request;
};

// Procedure 118: the data-dictionary part of a menu definition.
struct DataDictionaryMenuArgs {
  RequestHeader header;
  ZQCharMenuDDStruct dictionary;
};

// Procedures 55, 108 and 118: the menu built.
struct MenuReply {
  RequestHeader header;
  ZQCharMenuStruct menu;
  ZQStatusList status;
};

}  // namespace zq::transport
