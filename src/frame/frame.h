// What the frame offers the rest of the library: the heap under its library
// names, status lists and message texts, the thread context and its checks,
// the environment settings and the session variables. Other subsystems
// include this header only.
#pragma once

#include "frame/alloc.h"
#include "frame/checks.h"
#include "frame/context.h"
#include "frame/env.h"
#include "frame/messages.h"
#include "frame/session_vars.h"
#include "frame/status.h"
