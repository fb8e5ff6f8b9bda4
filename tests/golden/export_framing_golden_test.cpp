// The slices of an export against bytes written by hand: the first slice
// of a framed export begins with two big-endian words, the compression
// marker and the length of everything that follows in this and later slices.
#include <gtest/gtest.h>
#include <zlib.h>

#include <string>
#include <vector>

#include "calls/export_text.h"
#include "support/session.h"

namespace {

using zq::calls::ExportGatherer;
using Bytes = std::vector<unsigned char>;

Bytes bytes(const std::string& s) {
  return {s.begin(), s.end()};
}

// Feeds the slices; the text, or "<failed N>" with the message number.
std::string gather(bool framed, const std::vector<Bytes>& slices) {
  ExportGatherer g(framed);
  int32_t message = 0;
  for (const Bytes& s : slices)
    if (!g.take(s.data(), s.size(), message)) return "<failed " + std::to_string(message) + ">";
  std::string text;
  if (!g.finish(text, message)) return "<failed " + std::to_string(message) + ">";
  return text;
}

TEST(ExportFraming, PlainTextAcrossSlices) {
  // marker 0, length 11, then "hello world" split over three slices
  EXPECT_EQ(gather(true, {{0, 0, 0, 0, 0, 0, 0, 11, 'h', 'e'}, bytes("llo w"), bytes("orld")}),
            "hello world");
}

TEST(ExportFraming, CompressedText) {
  const std::string text = "form: Tickets\n  record: AAAA\n";
  uLongf size = compressBound(text.size());
  Bytes packed(size);
  ASSERT_EQ(
      compress2(packed.data(), &size, reinterpret_cast<const Bytef*>(text.data()), text.size(), 9),
      Z_OK);
  packed.resize(size);
  Bytes first = {0, 0, 0, 1, 0, 0, 0, static_cast<unsigned char>(size)};
  first.insert(first.end(), packed.begin(), packed.begin() + 5);
  const Bytes rest(packed.begin() + 5, packed.end());
  EXPECT_EQ(gather(true, {first, rest}), text);
}

TEST(ExportFraming, BrokenFraming) {
  const struct {
    const char* what;
    std::vector<Bytes> slices;
    std::string result;
  } cases[] = {
      {"first slice shorter than its words", {{0, 0, 0}}, "<failed 9009>"},
      {"more than announced", {{0, 0, 0, 0, 0, 0, 0, 2, 'a', 'b', 'c'}}, "<failed 9009>"},
      {"less than announced", {{0, 0, 0, 0, 0, 0, 0, 4, 'a', 'b', 'c'}}, "<failed 9009>"},
      {"no slice at all", {}, "<failed 9009>"},
      {"compressed marker on bytes that do not inflate",
       {{0, 0, 0, 7, 0, 0, 0, 2, 'a', 'b'}},
       "<failed 160>"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(gather(true, c.slices), c.result);
  }
}

TEST(ExportFraming, OlderServersSendPlainSlices) {
  EXPECT_EQ(gather(false, {bytes("form: "), bytes("Tickets")}), "form: Tickets");
}

}  // namespace
