// Diary text: per entry the time stamp, 0x04, the user, 0x04, the text, 0x03.
#pragma once

#include "text/history.h"

namespace zq::text {

int encodeDiary(const ZQDiaryList* list, char** text, ZQStatusList* status);
int decodeDiary(const char* text, ZQDiaryList* list, ZQStatusList* status);

}  // namespace zq::text
