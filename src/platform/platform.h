// What the platform layer offers the rest of the library: the stand-ins for
// the system's services (heap, process locks, message catalog, character
// sets, compression, settings file, host lookup, RPC client operations).
// Other subsystems include this header only.
#pragma once

#include "platform/catalog.h"
#include "platform/charset.h"
#include "platform/compress.h"
#include "platform/config.h"
#include "platform/heap.h"
#include "platform/modules.h"
#include "platform/host.h"
#include "platform/rpc.h"
#include "platform/rpc_stream.h"
#include "platform/sync.h"
