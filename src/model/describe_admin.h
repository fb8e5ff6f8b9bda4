// Descriptions of the administration structures of zq_admin.h: users and
// their licences, localized-text requests, locales and the change times of
// definitions.
#pragma once

#include "model/describe_core.h"
#include "zqapi/zq_admin.h"

namespace zq::model {

template <class V>
void describe(V& v, ZQUserLicenseStruct& s) {
  v.u32(s.licenseTag, "licenseTag");
  v.u32(s.licenseType, "licenseType");
  v.u32(s.currentLicenseType, "currentLicenseType");
}

template <class V>
void describe(V& v, ZQUserLicenseList& s) {
  list(v, s);
}

template <class V>
void describe(V& v, ZQUserInfoStruct& s) {
  v.name(s.userName, NameKind::access, "      User name:");
  v.member(s.licenses, "licenses");
  v.i32(s.connectTime, "      Connect time:");
  v.i32(s.lastAccess, "      Last access:");
  v.u32(s.defaultNotifyMechanism, "      Default notify mechanism:");
  v.string(s.emailAddress, kUnbounded, "      Email address:");
}

template <class V>
void describe(V& v, ZQUserInfoList& s) {
  list(v, s);
}

template <class V>
void describe(V& v, ZQLocalizedRequestStruct& s) {
  v.name(s.name, NameKind::plain, "Message Name:");
  v.u32(s.messageType, "Message Type:");
  v.u32(s.index, "Index:");
}

template <class V>
void describe(V& v, ZQLocalizedRequestList& s) {
  list(v, s);
}

template <class V>
void describe(V& v, ZQLocaleList& s) {
  list(v, s, [](auto& w, ZQLocaleType& locale) { w.name(locale, "locale"); });
}

template <class V>
void describe(V& v, ZQObjectChangeTimesStruct& s) {
  v.i32(s.objectType, "objectType");
  v.i32(s.createTime, "createTime");
  v.i32(s.changeTime, "changeTime");
  v.i32(s.deleteTime, "deleteTime");
}

template <class V>
void describe(V& v, ZQObjectChangeTimesList& s) {
  list(v, s);
}

}  // namespace zq::model
