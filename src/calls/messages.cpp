// Message texts and the small text services of the catalog (ordinals 804 to
// 808, 826, 854 and 856, and ZQGetTextForErrorMessage).
#include "frame/frame.h"

extern "C" {

void ZQGetMessageText(int32_t messageNumber, char* buffer) {
  zq::messageText(messageNumber, buffer);
}

char* ZQGetTextForErrorMessage(int32_t messageNumber) {
  return zq::textForErrorMessage(messageNumber);
}

char* ZQGetCatalogString(int set, int number) { return zq::catalogString(set, number); }

int ZQOpenMessageCatalog(void) { return zq::openMessageCatalog(); }

int ZQGetSystemErrorText(int errorNumber, char* buffer, size_t length) {
  return zq::systemErrorText(errorNumber, buffer, length);
}

// errno reaches errnoText untouched: nothing runs in between.
char* ZQGetErrnoText(const char* text) { return zq::errnoText(text); }

ZQBoolean ZQIsReservedRangeMessage(int32_t messageNumber) {
  return zq::isReservedRangeMessage(messageNumber) ? 1 : 0;
}

char* ZQFormatVersionString(char* text) { return zq::formatVersionString(text); }

}  // extern "C"
