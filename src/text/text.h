// What the text subsystem offers the rest of the library: the machine text
// form of qualifications, assignments and values with its checks, the date
// and time services, and the words of the qualification language. Other
// subsystems include this header only.
#pragma once

#include "text/dates_api.h"
#include "text/keyword_tables.h"
#include "text/qual_api.h"
#include "text/qual_checks.h"
#include "text/qual_text.h"
