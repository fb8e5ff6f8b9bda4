// The record-marking reader and the reply header of the stream client: the
// bytes a server sends, read in pieces of a size the input chooses.
#include "fuzz_target.h"
#include "platform/rpc_stream.h"

using zq::platform::RecordReader;

ZQ_FUZZ_TARGET(records)(const uint8_t* data, size_t size) {
  if (size < 1) return 0;
  const size_t step = 1 + data[0] % 64;
  RecordReader reader(4096);
  size_t at = 1;
  while (at < size) {
    RecordReader::State state;
    const size_t n = std::min(step, size - at);
    const size_t used = reader.feed(data + at, n, state);
    at += used;
    if (state == RecordReader::State::tooLarge) break;
    if (state == RecordReader::State::complete) {
      zq::platform::ReplyHead head;
      if (zq::platform::parseReplyHead(reader.record(), reader.recordSize(), head) &&
          head.status == 0 && head.body > reader.recordSize())
        __builtin_trap();  // the results cannot start past the record
      reader.reset();
    } else if (used < n) {
      __builtin_trap();  // a reader that needs more must take what it was given
    }
  }
  return 0;
}
