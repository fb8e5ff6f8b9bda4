// What the text subsystem offers the rest of the library: the machine text
// form of qualifications, assignments and values with its checks, status
// history and diary texts, and the date and time services. Other subsystems
// include this header only.
#pragma once

#include "text/dates_api.h"
#include "text/diary.h"
#include "text/history.h"
#include "text/qual_api.h"
#include "text/qual_checks.h"
#include "text/qual_text.h"
