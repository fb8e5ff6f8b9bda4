// Message texts from the catalog, and the small text services built on them.
#pragma once

#include <cstddef>
#include <cstdint>

#include "zqapi/zq_session.h"

namespace zq {

// The text of a message (catalog set 1, or set 20 for 120000 to 120999) in
// buffer (ZQ_MESSAGE_TEXT_SIZE bytes); a built-in text when the catalog or
// the message is missing.
void messageText(int32_t messageNumber, char* buffer);
// A new buffer of ZQ_MESSAGE_TEXT_SIZE bytes with the message text, or null.
char* textForErrorMessage(int32_t messageNumber);
// The catalog text of (set, number) in the current context's buffer; null
// without a context, a catalog or a text.
char* catalogString(int set, int number);
// (Re)opens the process-wide catalog handle (ZQMessageCatalogHandle).
int openMessageCatalog();
// The C library's text of an error number into buffer; 34 when it was cut.
int systemErrorText(int errorNumber, char* buffer, size_t length);
// errno's text, " : ", then text, in the current context's buffer.
char* errnoText(const char* text);
bool isReservedRangeMessage(int32_t messageNumber);
// "7.5.00 Patch 007 ..." as " 7.05.00 patch 007 ..." in the current
// context's buffer; text itself when it is no version.
char* formatVersionString(char* text);

}  // namespace zq
