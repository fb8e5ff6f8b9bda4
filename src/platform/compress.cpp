#include "platform/compress.h"

#include <zlib.h>

#include <cstdint>
#include <cstring>
#include <new>

#include "platform/heap.h"

namespace zq::platform {
namespace {

constexpr size_t kChunk = 64 * 1024;

voidpf zAlloc(voidpf, uInt items, uInt size) { return heapAllocZeroed(items, size); }
void zFree(voidpf, voidpf p) { heapFree(p); }

// A growing output buffer of the library heap.
struct Sink {
  ZBuffer buf;
  size_t capacity = 0;
  size_t maxSize = SIZE_MAX;

  ~Sink() { heapFree(buf.data); }
  // Makes room for at least `more` bytes; false without memory or over the maximum.
  bool reserve(size_t more, bool& tooLarge) {
    if (buf.size + more <= capacity) return true;
    size_t want = capacity ? capacity * 2 : more;
    if (want < buf.size + more) want = buf.size + more;
    if (want > maxSize) want = maxSize;
    if (want < buf.size + more) {
      tooLarge = true;
      return false;
    }
    auto* p = static_cast<unsigned char*>(heapReallocate(buf.data, want));
    if (!p) return false;
    buf.data = p;
    capacity = want;
    return true;
  }
  void release(ZBuffer& out) {
    if (buf.size == 0) {
      heapFree(buf.data);
      buf.data = nullptr;
    }
    out = buf;
    buf = ZBuffer{};
    capacity = 0;
  }
};

struct Deflater {
  z_stream z{};
  bool ready = false;
  Deflater() {
    z.zalloc = zAlloc;
    z.zfree = zFree;
    ready = deflateInit(&z, Z_DEFAULT_COMPRESSION) == Z_OK;
  }
  ~Deflater() {
    if (ready) deflateEnd(&z);
  }
  // Feeds n bytes (flush on the last piece) into the sink.
  ZResult feed(const unsigned char* data, size_t n, bool last, Sink& sink) {
    z.next_in = const_cast<Bytef*>(data);
    z.avail_in = static_cast<uInt>(n);
    int rc;
    do {
      bool tooLarge = false;
      if (!sink.reserve(kChunk, tooLarge)) return ZResult::noMemory;
      z.next_out = sink.buf.data + sink.buf.size;
      z.avail_out = static_cast<uInt>(kChunk);
      rc = deflate(&z, last ? Z_FINISH : Z_NO_FLUSH);
      if (rc == Z_STREAM_ERROR) return ZResult::corrupt;
      if (rc == Z_MEM_ERROR) return ZResult::noMemory;
      sink.buf.size += kChunk - z.avail_out;
    } while (z.avail_out == 0 || (last && rc != Z_STREAM_END));
    return ZResult::ok;
  }
};

}  // namespace

ZResult compressBytes(const void* data, size_t size, ZBuffer& out) {
  out = ZBuffer{};
  if (size == 0) return ZResult::ok;
  Deflater d;
  if (!d.ready) return ZResult::noMemory;
  Sink sink;
  const auto* p = static_cast<const unsigned char*>(data);
  while (size > 0) {
    const size_t n = size > (1u << 30) ? (1u << 30) : size;
    size -= n;
    ZResult r = d.feed(p, n, size == 0, sink);
    if (r != ZResult::ok) return r;
    p += n;
  }
  sink.release(out);
  return ZResult::ok;
}

ZResult compressFile(FILE* file, size_t limit, ZBuffer& out, size_t& read) {
  out = ZBuffer{};
  read = 0;
  if (!file) return ZResult::io;
  Deflater d;
  if (!d.ready) return ZResult::noMemory;
  Sink sink;
  auto* chunk = static_cast<unsigned char*>(heapAlloc(kChunk));
  if (!chunk) return ZResult::noMemory;
  ZResult r = ZResult::ok;
  for (;;) {
    size_t want = kChunk;
    if (limit && limit - read < want) want = limit - read;
    const size_t n = want ? fread(chunk, 1, want, file) : 0;
    if (n < want && ferror(file)) {
      r = ZResult::io;
      break;
    }
    read += n;
    const bool last = n < want || (limit && read == limit) || want == 0;
    r = d.feed(chunk, n, last, sink);
    if (r != ZResult::ok || last) break;
  }
  heapFree(chunk);
  if (r == ZResult::ok) sink.release(out);
  return r;
}

ZResult decompressBytes(const void* data, size_t size, size_t expectedSize, ZBuffer& out,
                        size_t maxSize) {
  out = ZBuffer{};
  if (size == 0 || size > UINT32_MAX) return ZResult::corrupt;
  z_stream z{};
  z.zalloc = zAlloc;
  z.zfree = zFree;
  const int init = inflateInit(&z);
  if (init != Z_OK) return init == Z_MEM_ERROR ? ZResult::noMemory : ZResult::corrupt;
  z.next_in = static_cast<Bytef*>(const_cast<void*>(data));
  z.avail_in = static_cast<uInt>(size);
  Sink sink;
  sink.maxSize = maxSize;
  ZResult r = ZResult::ok;
  // A declared size is believed only as far as the input can inflate
  // (deflate expands at most about 1032 to 1).
  const size_t plausible = size > (SIZE_MAX - 1024) / 1032 ? SIZE_MAX : size * 1032 + 1024;
  if (expectedSize > plausible) expectedSize = plausible;
  size_t step = expectedSize && expectedSize <= maxSize ? expectedSize : kChunk;
  for (;;) {
    bool tooLarge = false;
    // One spare byte, so that a stream of exactly the expected size ends
    // without growing the buffer again.
    if (!sink.reserve(step < maxSize ? step + 1 : step, tooLarge) &&
        !sink.reserve(1, tooLarge)) {
      r = tooLarge ? ZResult::corrupt : ZResult::noMemory;
      break;
    }
    const size_t room = sink.capacity - sink.buf.size;
    z.next_out = sink.buf.data + sink.buf.size;
    z.avail_out = static_cast<uInt>(room > UINT32_MAX ? UINT32_MAX : room);
    const uInt before = z.avail_out;
    const int rc = inflate(&z, Z_NO_FLUSH);
    sink.buf.size += before - z.avail_out;
    if (rc == Z_STREAM_END) break;
    if (rc == Z_MEM_ERROR) {
      r = ZResult::noMemory;
      break;
    }
    if (rc != Z_OK && rc != Z_BUF_ERROR) {
      r = ZResult::corrupt;
      break;
    }
    if (z.avail_in == 0 && z.avail_out != 0) {  // truncated stream
      r = ZResult::corrupt;
      break;
    }
    step = kChunk;
  }
  inflateEnd(&z);
  if (r == ZResult::ok) sink.release(out);
  return r;
}

ZResult decompressToFile(const void* data, size_t size, FILE* file, size_t& written,
                         size_t maxSize) {
  written = 0;
  if (!file) return ZResult::io;
  if (size == 0 || size > UINT32_MAX) return ZResult::corrupt;
  z_stream z{};
  z.zalloc = zAlloc;
  z.zfree = zFree;
  const int init = inflateInit(&z);
  if (init != Z_OK) return init == Z_MEM_ERROR ? ZResult::noMemory : ZResult::corrupt;
  auto* chunk = static_cast<unsigned char*>(heapAlloc(kChunk));
  if (!chunk) {
    inflateEnd(&z);
    return ZResult::noMemory;
  }
  z.next_in = static_cast<Bytef*>(const_cast<void*>(data));
  z.avail_in = static_cast<uInt>(size);
  ZResult r = ZResult::ok;
  for (;;) {
    z.next_out = chunk;
    z.avail_out = static_cast<uInt>(kChunk);
    const int rc = inflate(&z, Z_NO_FLUSH);
    const size_t n = kChunk - z.avail_out;
    if (n > maxSize - written) {
      r = ZResult::corrupt;
      break;
    }
    if (n && fwrite(chunk, 1, n, file) != n) {
      r = ZResult::io;
      break;
    }
    written += n;
    if (rc == Z_STREAM_END) break;
    if (rc == Z_MEM_ERROR) {
      r = ZResult::noMemory;
      break;
    }
    if ((rc != Z_OK && rc != Z_BUF_ERROR) || (z.avail_in == 0 && z.avail_out != 0)) {
      r = ZResult::corrupt;
      break;
    }
  }
  heapFree(chunk);
  inflateEnd(&z);
  return r;
}

struct InflateStream::State {
  z_stream z{};
};

InflateStream::InflateStream(const void* data, size_t size, size_t maxSize) : maxSize_(maxSize) {
  if (size == 0 || size > UINT32_MAX) {
    failure_ = ZResult::corrupt;
    return;
  }
  void* memory = heapAlloc(sizeof(State));
  if (!memory) {
    failure_ = ZResult::noMemory;
    return;
  }
  auto* s = new (memory) State;
  s->z.zalloc = zAlloc;
  s->z.zfree = zFree;
  const int init = inflateInit(&s->z);
  if (init != Z_OK) {
    heapFree(s);
    failure_ = init == Z_MEM_ERROR ? ZResult::noMemory : ZResult::corrupt;
    return;
  }
  s->z.next_in = static_cast<Bytef*>(const_cast<void*>(data));
  s->z.avail_in = static_cast<uInt>(size);
  state_ = s;
}

InflateStream::~InflateStream() {
  if (!state_) return;
  inflateEnd(&state_->z);
  heapFree(state_);
}

ZResult InflateStream::read(unsigned char* out, size_t room, size_t& produced) {
  produced = 0;
  if (failure_ != ZResult::ok) return failure_;
  if (finished_ || room == 0) return ZResult::ok;
  if (room > UINT32_MAX) room = UINT32_MAX;
  // One byte beyond the bound is asked for, so that a stream exceeding it
  // is told from one that ends exactly there.
  const size_t left = maxSize_ - total_;
  if (room > left) room = left + 1;
  z_stream& z = state_->z;
  while (produced == 0) {
    z.next_out = out;
    z.avail_out = static_cast<uInt>(room);
    const int rc = inflate(&z, Z_NO_FLUSH);
    produced = room - z.avail_out;
    if (produced > left) return failure_ = ZResult::corrupt;
    total_ += produced;
    if (rc == Z_STREAM_END) {
      finished_ = true;
      break;
    }
    if (rc == Z_MEM_ERROR) return failure_ = ZResult::noMemory;
    if ((rc != Z_OK && rc != Z_BUF_ERROR) || (z.avail_in == 0 && z.avail_out != 0))
      return failure_ = ZResult::corrupt;  // broken or truncated
  }
  return ZResult::ok;
}

}  // namespace zq::platform
