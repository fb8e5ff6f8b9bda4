// Descriptions of the records of the workflow debugger calls (zq_debugger.h).
// The debugger procedures exist in protocol version 14 only, and so do these
// records on the wire.
#pragma once

#include <cstring>

#include "frame/frame.h"
#include "model/describe_qual.h"
#include "zqapi/zq_debugger.h"

namespace zq::model {

template <class V>
bool debuggerVersion(V& v) {
  if (since(v, 14)) return true;
  v.badTag();
  return false;
}

// A fixed name copied up to its terminator, never beyond its array, and
// always terminated: the bytes after the name are not the source's.
template <size_t M>
void copyNameToTerminator(char (&name)[M]) {
  const size_t n = strnlen(name, M - 1);
  memset(name + n, 0, M - n);
}

template <class V>
void describe(V& v, ZQWfdCurrentLocation& s) {
  if (!debuggerVersion(v)) return;
  v.u32(s.apiCall, "apiCall");
  v.u32(s.stage, "stage");
  v.string(s.formName, kUnbounded, "formName");
  v.string(s.workflowName, kUnbounded, "workflowName");
  v.string(s.guideName, kUnbounded, "guideName");
  v.string(s.detail, kUnbounded, "detail");
  v.u32(s.executionOrder, "executionOrder");
  v.u32(s.actionIndex, "actionIndex");
  v.flag(s.elseActions, "elseActions");
  v.member(s.entryIds, "entryIds");
}
inline void resetFreed(FreeVisitor&, ZQWfdCurrentLocation& s) {
  s = ZQWfdCurrentLocation{};
}

template <class V>
void describe(V& v, ZQWfdStepStruct& s) {
  if (!debuggerVersion(v)) return;
  v.u32(s.type, "type");
  v.u32(s.actionIndex, "actionIndex");
  v.flag(s.elseActions, "elseActions");
  if (s.type == ZQ_WFD_STEP_QUALIFIER) {
    v.member(s.qualifier, "qualifier");
  } else if constexpr (V::kPass == Pass::copy) {
    s.qualifier = ZQQualifierStruct{};  // not the step's: the copy does not carry it
  }
}
inline void resetFreed(FreeVisitor&, ZQWfdStepStruct& s) {
  s = ZQWfdStepStruct{};
}

// The condition travels inline; an absent one travels as the empty
// qualification and comes back as a node of its own holding it.
template <class V>
void describeCondition(V& v, ZQQualifierStruct*& q) {
  if constexpr (V::kPass == Pass::encode || V::kPass == Pass::size) {
    ZQQualifierStruct none{};
    v.member(q ? *q : none, "qualifier");
  } else if constexpr (V::kPass == Pass::decode) {
    q = static_cast<ZQQualifierStruct*>(zq::allocZeroed(1, sizeof(ZQQualifierStruct)));
    if (!q) return v.fail();
    v.member(*q, "qualifier");
  } else {
    v.pointer(q, "qualifier");
  }
}

template <class V>
void describe(V& v, ZQWfdBreakpoint& s) {
  if (!debuggerVersion(v)) return;
  v.u32(s.id, "id");
  v.flag(s.disabled, "disabled");
  v.u32(s.passCount, "passCount");
  describeCondition(v, s.qualifier);
  v.u32Array(s.words, 4, "words");
  v.flag(s.flag, "flag");
  v.u32(s.flags, "flags");
  if (s.flags & ZQ_WFD_BREAKPOINT_NAME_INLINE) {
    v.name(s.name.buffer, NameKind::plain, "name");
    if constexpr (V::kPass == Pass::copy) copyNameToTerminator(s.name.buffer);
  } else {
    v.string(s.name.text, ZQ_MAX_NAME_SIZE, "name");
  }
}
inline void resetFreed(FreeVisitor&, ZQWfdBreakpoint& s) {
  s = ZQWfdBreakpoint{};
}

template <class V>
void describe(V& v, ZQWfdBreakpointList& s) {
  list(v, s);
}

template <class V>
void describe(V& v, ZQWfdUserContext& s) {
  if (!debuggerVersion(v)) return;
  v.name(s.userName, NameKind::access, "userName");
  if constexpr (V::kPass == Pass::copy) copyNameToTerminator(s.userName);
  v.u32(s.licenseType, "licenseType");
  v.u32(s.currentLicenseType, "currentLicenseType");
  v.u32(s.notifyMechanism, "notifyMechanism");
  v.member(s.groupIds, "groupIds");
  v.member(s.roleIds, "roleIds");
}
inline void resetFreed(FreeVisitor&, ZQWfdUserContext& s) {
  s = ZQWfdUserContext{};
}

template <class V>
void describe(V& v, ZQWfdUserContextList& s) {
  list(v, s);
}

}  // namespace zq::model
