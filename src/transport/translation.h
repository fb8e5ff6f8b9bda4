// What an older server cannot take: the version steps a request passes on
// its way from the newest layout down to the server's version. The layouts
// themselves differ in the record descriptions (their version conditions);
// what is decided here is whether the request may travel at all.
#pragma once

#include <cstdint>

#include "transport/procedures.h"
#include "transport/state.h"

namespace zq::transport {

// How a request fares at a server version.
enum class Passage : uint8_t {
  send,     // travels (the older server may still reject a procedure it lacks)
  refuse,   // ends here with the message returned alongside
  emulate,  // answered here from procedure 11 (version 7 lacks 101)
};

struct Verdict {
  Passage passage;
  int32_t message;  // the refusal's message number
};

// The steps from the newest version down to `version`, applied to one
// request: procedures an older version lacks (only the steps that know
// them refuse; the others leave the call to the server), value types in
// the field values of entry changes that older servers do not know, and
// the emulated procedure of version 7.
Verdict stepDown(const Procedure& p, const void* args, int version);

// True when some step down to `version` refuses procedures it lacks; false
// for the versions only a step that leaves such calls to the server lost.
bool stepRefusesMissing(const Procedure& p, int version);

// The oldest version that still knows a value's data type.
int firstVersionOfDataType(uint32_t dataType);

// The steps up after a reply of the server's version. The layouts are read
// by the record descriptions; what is left here is the context's
// result-translation switch: a version-9 (or older) server answers procedure
// 73 with the entries themselves, which the steps carry straight into the
// version-11 layout (the 10-to-11 step is skipped), and the call gathers
// them as structured chunks. Set here, cleared by the calls of 73 and 181
// before each of their requests.
void stepUp(ZQThreadContext* ctx, const Procedure& p, int version);

// Procedure 101 for a version-7 server: runs procedure 11 with the same
// change time, form type, name, field list and properties, and answers in
// the procedure-101 form (each alias is its form's name; version 7 has no
// aliases). Returns the reply, or null with the RPC status set.
void* emulateListWithAlias(ZQThreadContext* ctx, ClientHandle& handle, void* args, int* rpcStatus);

}  // namespace zq::transport
