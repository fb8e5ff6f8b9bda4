// The names of frame/message_numbers.h, generated from the catalog, against
// the compiled catalog and the message numbers of the public headers.
#include <gtest/gtest.h>

#include <string>

#include "frame/message_numbers.h"
#include "zqapi/zqapi.h"

// The public headers spell some message numbers as macros of their own.
static_assert(ZQ_DATE_ERROR_NO_OUTPUT == zq::kMsgNoResultOutput);
static_assert(ZQ_DATE_ERROR_NO_MEMORY == zq::kMsgCopyNoMemory);
static_assert(ZQ_DATE_ERROR_BAD_CODE == zq::kMsgBadDateCode);
static_assert(ZQ_DATE_ERROR_RANGE == zq::kMsgDateOutOfRange);
static_assert(ZQ_DATE_ERROR_BAD_TEXT == zq::kMsgBadDateText);
static_assert(ZQ_COPY_NO_MEMORY == zq::kMsgCopyNoMemory);
static_assert(ZQ_COPY_NO_DESTINATION == zq::kMsgMissingOutput);
static_assert(ZQ_COPY_BAD_MENU_ITEM_TYPE == zq::kMsgBadMenuItemType);
static_assert(ZQ_COPY_BAD_MENU_TYPE == zq::kMsgBadMenuType);

TEST(MessageNumbers, EveryNameHasATextInTheCatalog) {
  for (const zq::MessageName& m : zq::kMessageNames) {
    char buffer[ZQ_MESSAGE_TEXT_SIZE];
    ZQGetMessageText(m.number, buffer);
    const std::string text = buffer;
    // The lookup's two fallbacks: no catalog, or no such message in it.
    const std::string number = std::to_string(m.number);
    EXPECT_NE(text, "Cannot open catalog; Message number = " + number) << m.name;
    EXPECT_NE(text, "Message not in catalog; Message number = " + number) << m.name;
    EXPECT_FALSE(text.empty()) << m.name;
  }
}
