// The frame-free halves of the exported calls of the qualification text
// form: checks, length counting by the character-set argument, the encoders
// and decoders, and the status entries of their failures. Each adds its
// messages to status and returns the list's return code. The detail text of
// a decoder failure is kept in the context's detail buffer.
#pragma once

#include <cstdint>

#include "frame/frame.h"
#include "zqapi/zq_qual.h"

namespace zq::text {

// charset: kCharsetOfSession (-2) and every other negative value count plain
// bytes; else a character-set identifier (an unknown one: kMsgBadCharset).
// An empty tree (operation or type 0) or an empty text gives nothing.
int encodeQualifier(ZQThreadContext* ctx, int charset, const ZQQualifierStruct* qual, char** text,
                    ZQStatusList* status);
int decodeQualifier(ZQThreadContext* ctx, int charset, const char* text, ZQQualifierStruct* qual,
                    ZQStatusList* status);
int encodeAssign(ZQThreadContext* ctx, int charset, const ZQAssignStruct* assign, char** text,
                 ZQStatusList* status);
int decodeAssign(ZQThreadContext* ctx, int charset, const char* text, ZQAssignStruct* assign,
                 ZQStatusList* status);

// One value (ordinals 847 and 848): 0, or an error number (-3 when the
// buffer is too small).
int encodeSingleValue(const ZQValueStruct* value, uint32_t* position, uint32_t limit, char* buffer);
int decodeSingleValue(const char** cursor, ZQValueStruct* value);

}  // namespace zq::text
