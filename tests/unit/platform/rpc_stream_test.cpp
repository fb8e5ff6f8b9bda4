// The stream client's record reassembly and reply header, against bytes
// written by hand from the record-marking and reply rules.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/rpc_stream.h"

namespace {

using zq::platform::parseReplyHead;
using zq::platform::RecordReader;
using zq::platform::ReplyHead;
using State = RecordReader::State;

std::string w(uint32_t v) {
  return {static_cast<char>(v >> 24), static_cast<char>(v >> 16), static_cast<char>(v >> 8),
          static_cast<char>(v)};
}
const unsigned char* bytes(const std::string& s) {
  return reinterpret_cast<const unsigned char*>(s.data());
}

// Feeds the bytes in pieces of `step`; returns the final state and how many
// bytes were taken.
State feedAll(RecordReader& r, const std::string& s, size_t step, size_t& used) {
  State state = State::needMore;
  used = 0;
  while (used < s.size() && state == State::needMore) {
    const size_t n = std::min(step, s.size() - used);
    used += r.feed(bytes(s) + used, n, state);
    if (state != State::needMore) break;
  }
  return state;
}

TEST(RecordReader, JoinsFragmentsWhateverTheReadSizes) {
  // "abcd" in two fragments, then the start of the next record.
  const std::string wire = w(2) + "ab" + w(0x80000002u) + "cd" + w(0x80000004u);
  for (size_t step : {1u, 3u, 5u, 64u}) {
    SCOPED_TRACE(step);
    RecordReader r(1024);
    size_t used;
    ASSERT_EQ(feedAll(r, wire, step, used), State::complete);
    EXPECT_EQ(used, 12u);  // the next record's mark stays unread
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(r.record()), r.recordSize()), "abcd");
    r.reset();
    State s;
    EXPECT_EQ(r.feed(bytes(wire) + used, wire.size() - used, s), 4u);
    EXPECT_EQ(s, State::needMore);
  }
}

TEST(RecordReader, EmptyFragmentsMakeAnEmptyRecord) {
  RecordReader r(1024);
  size_t used;
  ASSERT_EQ(feedAll(r, w(0) + w(0x80000000u), 64, used), State::complete);
  EXPECT_EQ(r.recordSize(), 0u);
}

TEST(RecordReader, TheBoundCountsMarksAndRefusesBeforeReading) {
  struct Case {
    const char* why;
    std::string wire;
    State state;
  } cases[] = {
      {"a record of exactly the bound", w(0x80000000u | 12) + std::string(12, 'x'),
       State::complete},
      {"one byte over", w(0x80000000u | 13) + std::string(13, 'x'), State::tooLarge},
      {"a mark announcing 2 GiB", w(0xFFFFFFFFu), State::tooLarge},
      {"empty fragments count", w(0) + w(0) + w(0) + w(0) + w(0x80000000u), State::tooLarge},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.why);
    RecordReader r(16);
    size_t used;
    EXPECT_EQ(feedAll(r, c.wire, 64, used), c.state);
  }
}

// ---- reply headers -----------------------------------------------------------------

TEST(ReplyHead, EveryFormOfReply) {
  const std::string accepted = w(7) + w(1) + w(0);
  struct Case {
    const char* why;
    std::string bytes;
    bool ok;
    int status;
    int detail;
    size_t body;
  } cases[] = {
      {"success", accepted + w(0) + w(0) + w(0) + "RES!", true, 0, 0, 24},
      {"success, verifier of 5 bytes",
       accepted + w(1) + w(5) + "12345" + std::string(3, '\0') + w(0), true, 0, 0, 32},
      {"program unavailable", accepted + w(0) + w(0) + w(1), true, 8, 0, 0},
      {"version mismatch", accepted + w(0) + w(0) + w(2) + w(7) + w(14), true, 9, 0, 0},
      {"procedure unavailable", accepted + w(0) + w(0) + w(3), true, 10, 0, 0},
      {"garbage arguments", accepted + w(0) + w(0) + w(4), true, 11, 0, 0},
      {"rejected credentials", w(7) + w(1) + w(1) + w(1) + w(2), true, 7, 2, 0},
      {"RPC version mismatch", w(7) + w(1) + w(1) + w(0) + w(2) + w(2), true, 6, 0, 0},
      {"a call, not a reply", w(7) + w(0) + w(2), false, 0, 0, 0},
      {"unknown reply status", w(7) + w(1) + w(2), false, 0, 0, 0},
      {"unknown accept status", accepted + w(0) + w(0) + w(6), false, 0, 0, 0},
      {"verifier over 400 bytes", accepted + w(1) + w(401) + std::string(404, 'v') + w(0), false, 0,
       0, 0},
      {"verifier past the end", accepted + w(1) + w(8) + "1234", false, 0, 0, 0},
      {"cut inside the header", w(7) + w(1), false, 0, 0, 0},
      {"nothing at all", "", false, 0, 0, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.why);
    ReplyHead h;
    ASSERT_EQ(parseReplyHead(bytes(c.bytes), c.bytes.size(), h), c.ok);
    if (!c.ok) continue;
    EXPECT_EQ(h.xid, 7u);
    EXPECT_EQ(h.status, c.status);
    EXPECT_EQ(h.detail, c.detail);
    if (c.status == 0) {
      EXPECT_EQ(h.body, c.body);
    }
  }
}

}  // namespace
