// Base64 of the RFC 4648 standard alphabet.
#pragma once

#include <cstddef>
#include <cstdint>

#include "security/buffer.h"

namespace zq::security::base64 {

inline constexpr size_t kLineLength = 76;

// Encodes into text (terminated). lineLength 0: one line without a line
// feed; otherwise a line feed after every lineLength characters and after the
// last line. False only when memory runs out.
bool encode(const uint8_t* data, size_t n, size_t lineLength, Buffer& text);

// Decodes, skipping every character outside the alphabet; a trailing group
// of a single character carries no whole byte and is dropped.
bool decode(const char* text, size_t length, Buffer& data);

}  // namespace zq::security::base64
