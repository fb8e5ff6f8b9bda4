// What the call layer offers the exported calls: the call frame and its
// remote steps, session start and stop, the client identity.
#pragma once

#include "call/frame.h"
#include "call/identity.h"
#include "call/remote.h"
#include "call/session.h"
