// Argument and reply records of the workflow debugger procedures (159 to
// 179 without 163, 166, 171 to 173) and of the escalation run (169). They
// travel in protocol version 14 only.
#pragma once

#include "transport/records.h"
#include "zqapi/zq_debugger.h"

namespace zq::transport {

// Procedures 159, 160, 161, 165, 168, 169, 170, 174, 176, 179: one word the
// server gives its meaning to.
struct WfdWordArgs {
  RequestHeader header;
  uint32_t value;
};

// Procedure 159: three result words.
struct WfdExecuteReply {
  RequestHeader header;
  uint32_t result[3];
  ZQStatusList status;
};

// Procedure 160.
struct WfdLocationReply {
  RequestHeader header;
  ZQWfdCurrentLocation location;
  ZQStatusList status;
};

// Procedures 161 (reply) and 162 (arguments): the entry's values as the
// workflow sees them, then the values stored in the database.
struct WfdFieldValuesReply {
  RequestHeader header;
  ZQFieldValueList entryValues;
  ZQFieldValueList databaseValues;
  ZQStatusList status;
};
struct WfdSetFieldValuesArgs {
  RequestHeader header;
  ZQFieldValueList entryValues;
  ZQFieldValueList databaseValues;
};

// Procedure 164: the session's debug mode.
struct WfdWordReply {
  RequestHeader header;
  uint32_t value;
  ZQStatusList status;
};

// Procedure 167: the qualification of the filter at the current location.
struct WfdQualifierReply {
  RequestHeader header;
  ZQQualifierStruct qualifier;
  ZQStatusList status;
};

// Procedure 174: a keyword's value.
struct WfdKeywordReply {
  RequestHeader header;
  ZQValueStruct value;
  ZQStatusList status;
};

// Procedure 179: the user the call under debug runs for.
struct WfdUserContextReply {
  RequestHeader header;
  ZQWfdUserContext context;
  ZQStatusList status;
};

// Procedure 175: the breakpoint, its condition inline.
struct WfdBreakpointArgs {
  RequestHeader header;
  ZQWfdBreakpoint breakpoint;
};

// Procedure 177: every breakpoint of the session.
struct WfdBreakpointListReply {
  RequestHeader header;
  ZQWfdBreakpointList breakpoints;
  ZQStatusList status;
};

}  // namespace zq::transport
