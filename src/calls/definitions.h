// The pieces every definition call is made of, whatever its kind: the
// wanted-output mask of a get, the changed-parts mask and the warning 54 of
// a set, the new name of a rename, the conversion of returned name lists,
// the clearing of outputs and the hand-over of reply members to them.
#pragma once

#include <cstdint>
#include <cstring>
#include <type_traits>

#include "call/call.h"
#include "diag/diag.h"
#include "frame/frame.h"
#include "transport/transport.h"

namespace zq::calls::defs {

// A mask with one bit per part: the bit is set when the part is given.
class Mask {
 public:
  Mask& operator()(bool given, uint32_t bit) {
    if (given) mask_ |= bit;
    return *this;
  }
  Mask& operator()(const void* given, uint32_t bit) { return (*this)(given != nullptr, bit); }
  uint32_t value() const { return mask_; }
  bool empty() const { return mask_ == 0; }

 private:
  uint32_t mask_ = 0;
};

// The data types a field may be created with.
inline bool isFieldType(uint32_t type) {
  return type >= ZQ_DATA_TYPE_INTEGER && type <= ZQ_DATA_TYPE_DISPLAY;
}

// The new name a set sends: only a non-empty name that differs from the
// current one by exact comparison, otherwise the empty text.
inline const char* renameTo(const char* name, const char* newName) {
  if (!newName || !*newName || (name && strcmp(name, newName) == 0)) return "";
  return newName;
}

// Nothing to change: the warning 54 ends the call with 1, before anything
// is recorded or sent.
inline int nothingToChange(call::Frame& call) {
  call.setRc(addWarning(call.status(), kMsgNothingToChange));
  return call.rc();
}

// A returned list of counted texts into the caller's fixed-width names. A
// name of 255 characters or more leaves the output empty and adds 103 (154
// when memory runs out); the call goes on. The reply's texts are released.
int convertNames(transport::WireTextList& wire, ZQNameList* out, ZQStatusList* status);

// ---- outputs ---------------------------------------------------------------------------------

// Clears every output passed: lists to count 0, texts to null, names to
// empty, numbers to 0. A fixed name is passed as a char* buffer.
inline void clear(char* name) {
  if (name) name[0] = '\0';
}
inline void clear(char** text) {
  if (text) *text = nullptr;
}
template <class T>
void clear(T* out) {
  if (out) *out = T{};
}
template <class... T>
void clearAll(T*... outs) {
  (clear(outs), ...);
}

// Hands a reply member over to the caller's output, leaving the reply
// member empty; nothing when the output was not passed.
template <class T>
void take(T* out, T& from) {
  if (!out) return;
  *out = from;
  from = T{};
}
inline void take(char** out, char*& from) {
  if (!out) return;
  *out = from;
  from = nullptr;
}
// A fixed name into a caller's buffer of width bytes.
inline void takeName(char* out, const char* from, size_t width) {
  if (out) copyName(out, from, width);
}

// The members every get-multiple of a workflow kind returns, after its own.
inline void takeCommon(transport::MultipleCommon& from, ZQTextStringList* helpTexts,
                       ZQTimestampList* timestamps, ZQAccessNameList* owners,
                       ZQAccessNameList* lastChanged, ZQTextStringList* changeDiaries,
                       ZQPropListList* properties) {
  take(helpTexts, from.helpTexts);
  take(timestamps, from.timestamps);
  take(owners, from.owners);
  take(lastChanged, from.lastChanged);
  take(changeDiaries, from.diaries);
  take(properties, from.properties);
}

// The delete of a definition known by its name (forms, images and the
// workflow kinds): the name check, the command record, the delete option.
template <class P>
int deleteByName(diag::Command command, ZQControlStruct* control, const char* name, uint32_t option,
                 ZQStatusList* status) {
  call::Call<P> call(control, status);
  if (!call || call.refusedControl() || call.refused(ZQCheckName(name, 0, status)))
    return call.rc();
  call.record(command, name, option);
  if (call.bind()) {
    call.args().name = const_cast<char*>(name);
    call.args().option = option;
    call.send();
  }
  return call.finish();
}

}  // namespace zq::calls::defs
