// Descriptions of the lists the definition calls add (zq_definitions.h):
// locales, field displays and object trees. They live in memory only.
#pragma once

#include "model/codec.h"
#include "model/describe_admin.h"
#include "zqapi/zq_definitions.h"

namespace zq::model {

template <class V>
void describe(V& v, ZQDisplayStruct& s) {
  v.name(s.displayTag, NameKind::plain, "displayTag");
  v.name(s.label, NameKind::plain, "label");
  v.u32(s.labelLocation, "labelLocation");
  v.u32(s.type, "type");
  v.u32(s.length, "length");
  v.u32(s.numberOfRows, "numberOfRows");
  v.u32(s.option, "option");
  v.i32(s.x, "x");
  v.i32(s.y, "y");
}

template <class V>
void describe(V& v, ZQDisplayList& s) {
  list(v, s);
}

template <class V>
void describe(V& v, ZQObjectInfoList& s);

template <class V>
void describe(V& v, ZQObjectInfoStruct& s) {
  v.u32(s.type, "type");
  v.name(s.name, NameKind::plain, "name");
  v.member(s.objects, "objects");
}

template <class V>
void describe(V& v, ZQObjectInfoList& s) {
  list(v, s);
}

}  // namespace zq::model
