#include "frame/alloc.h"

#include <cstring>

namespace zq {

char* dupString(const char* text, size_t maxLength) {
  if (!text) return nullptr;
  size_t len = strnlen(text, maxLength);
  auto* copy = static_cast<char*>(alloc(len + 1));
  if (!copy) return nullptr;
  memcpy(copy, text, len);
  copy[len] = '\0';
  return copy;
}

void copyName(char* dst, const char* src, size_t width) {
  if (!dst || width == 0) return;
  if (!src) {
    dst[0] = '\0';
    return;
  }
  size_t len = strnlen(src, width - 1);
  memcpy(dst, src, len);
  dst[len] = '\0';
}

}  // namespace zq
