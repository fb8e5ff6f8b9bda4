// Compression of attachments, entry lists and blocks: zlib streams (deflate
// with the zlib wrapper). Client and server both use these routines, so they
// always agree on the format. Every buffer handed out comes from the library
// heap (platform/heap.h), so that callers release it with ZQFree; zlib's own
// working memory comes from there too.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>

namespace zq::platform {

enum class ZResult {
  ok,
  noMemory,  // an allocation failed
  corrupt,   // the input is not a complete compressed stream, or too large
  io,        // reading or writing a file failed
};

// A buffer of the library heap (data null when size is 0).
struct ZBuffer {
  unsigned char* data = nullptr;
  size_t size = 0;
};

// Compresses size bytes. An empty input gives an empty output.
ZResult compressBytes(const void* data, size_t size, ZBuffer& out);

// Reads at most limit bytes (0: up to the end) from an open file and
// compresses them; read receives the number of bytes read.
ZResult compressFile(FILE* file, size_t limit, ZBuffer& out, size_t& read);

// Decompresses a complete stream. expectedSize (0: unknown) sizes the first
// allocation only; the output is never allowed to exceed maxSize bytes.
ZResult decompressBytes(const void* data, size_t size, size_t expectedSize, ZBuffer& out,
                        size_t maxSize = 0x7FFFFFFF);

// Decompresses a complete stream into an open file; written receives the
// number of bytes written, never more than maxSize (corrupt beyond it).
ZResult decompressToFile(const void* data, size_t size, FILE* file, size_t& written,
                         size_t maxSize = SIZE_MAX);

// Decompresses a complete stream in pieces, for a reader that consumes the
// output as it comes (never more than maxSize bytes in all).
class InflateStream {
 public:
  InflateStream(const void* data, size_t size, size_t maxSize = 0x7FFFFFFF);
  ~InflateStream();
  InflateStream(const InflateStream&) = delete;
  InflateStream& operator=(const InflateStream&) = delete;

  // Writes up to room bytes to out; produced receives how many. ok with
  // produced 0 only at the end of the stream (finished() then true).
  ZResult read(unsigned char* out, size_t room, size_t& produced);
  bool finished() const { return finished_; }
  size_t total() const { return total_; }

 private:
  struct State;
  State* state_ = nullptr;
  ZResult failure_ = ZResult::ok;
  bool finished_ = false;
  size_t total_ = 0;
  size_t maxSize_;
};

}  // namespace zq::platform
