// 10,000 entries of eight mixed fields pushed to XML (a createEntry request
// each, through libzqapi and libzqxmlutil) and pulled back, against the
// same entries encoded to and decoded from XDR by the record codec. Compare
// Xml_PushEntries with Xdr_EncodeEntries and Xml_PullEntries with
// Xdr_DecodeEntries: the items/s of each line are entries per second.
#include <benchmark/benchmark.h>
#include <rpc/rpc.h>

#include <string>
#include <vector>

#include "frame/context.h"
#include "model/codec.h"
#include "model/describe.h"
#include "zqapi/zqapi.h"

namespace {

constexpr int kEntries = 10000;
constexpr int kFields = 8;

ZQFieldValueList entry(int e) {
  ZQFieldValueList l{
      kFields, static_cast<ZQFieldValueStruct*>(ZQCalloc(kFields, sizeof(ZQFieldValueStruct)))};
  for (int i = 0; i < kFields; ++i) {
    ZQFieldValueStruct& fv = l.items[i];
    fv.fieldId = 536870913 + i;
    ZQValueStruct& v = fv.value;
    switch (i % 4) {
      case 0:
        v.dataType = ZQ_DATA_TYPE_CHAR;
        v.u.charValue = zq::dupString(
            ("entry " + std::to_string(e) + " & field <" + std::to_string(i) + ">").c_str());
        break;
      case 1:
        v.dataType = ZQ_DATA_TYPE_INTEGER;
        v.u.integerValue = e * 31 - i;
        break;
      case 2:
        v.dataType = ZQ_DATA_TYPE_ENUM;
        v.u.enumValue = static_cast<uint32_t>(e % 5);
        break;
      default:
        v.dataType = ZQ_DATA_TYPE_TIME;
        v.u.timestampValue = 1700000000 + e;
    }
  }
  return l;
}

struct Entries {
  std::vector<ZQFieldValueList> rows;
  Entries() {
    for (int e = 0; e < kEntries; ++e) rows.push_back(entry(e));
  }
  ~Entries() {
    for (ZQFieldValueList& l : rows) FreeZQFieldValueList(&l, 0);
  }
};

// A session of the library (the XML calls need one).
struct Session {
  Session() { ok = ZQInitialization(&control, &status) < ZQ_RETURN_ERROR; }
  ~Session() {
    ZQTermination(&control, &status);
    FreeZQStatusList(&status, 0);
  }
  ZQControlStruct control{};
  ZQStatusList status{};
  bool ok = false;
};

// A context whose character sets match, as on a connection without conversion.
struct Context {
  Context() : ctx(zq::createContext()) {
    ctx->clientCharset = ctx->serverCharset = 65;
    zq::setCurrentContext(ctx);
  }
  ~Context() { zq::destroyContext(ctx); }
  ZQThreadContext* ctx;
};

bool push(Session& s, ZQFieldValueList& values, std::string& out) {
  ZQXMLOutputDoc doc{};
  const int rc = ZQPushCreateEntryToXML(&s.control, &doc, ZQ_XML_PART_REQUEST, 0, "Tickets",
                                        &values, nullptr, nullptr, &s.status);
  if (rc == 0) out = doc.u.charBuffer;
  FreeZQXMLOutputDoc(&doc, 0);
  return rc == 0;
}

void Xml_PushEntries(benchmark::State& state) {
  Session s;
  Entries entries;
  if (!s.ok) return state.SkipWithError("no session");
  std::string text;
  size_t bytes = 0;
  for (auto _ : state) {
    for (ZQFieldValueList& l : entries.rows) {
      if (!push(s, l, text)) return state.SkipWithError("push failed");
      bytes += text.size();
    }
  }
  state.SetItemsProcessed(state.iterations() * kEntries);
  state.SetBytesProcessed(static_cast<int64_t>(bytes));
}

void Xml_PullEntries(benchmark::State& state) {
  Session s;
  Entries entries;
  if (!s.ok) return state.SkipWithError("no session");
  std::vector<std::string> texts(kEntries);
  for (int e = 0; e < kEntries; ++e)
    if (!push(s, entries.rows[e], texts[e])) return state.SkipWithError("push failed");
  size_t bytes = 0;
  for (auto _ : state) {
    for (std::string& text : texts) {
      ZQXMLInputDoc in{};
      in.docType = ZQ_XML_DOC_CHAR_STR;
      in.u.charBuffer = text.data();
      ZQNameType form;
      ZQFieldValueList values{};
      if (ZQPullCreateEntryFromXML(&s.control, &in, form, &values, nullptr, nullptr, &s.status))
        return state.SkipWithError("pull failed");
      FreeZQFieldValueList(&values, 0);
      bytes += text.size();
    }
  }
  state.SetItemsProcessed(state.iterations() * kEntries);
  state.SetBytesProcessed(static_cast<int64_t>(bytes));
}

struct Buffer {
  std::vector<char> bytes = std::vector<char>(1 << 16);
  XDR xdrs;
  XDR* at(xdr_op op) {
    xdrmem_create(&xdrs, bytes.data(), static_cast<u_int>(bytes.size()), op);
    return &xdrs;
  }
};

bool encode(Buffer& buf, ZQFieldValueList& values, std::string& out) {
  XDR* x = buf.at(XDR_ENCODE);
  if (!zq::model::encodeWith(x, 14, [&](auto& v) { zq::model::describeEntryValues(v, values); }))
    return false;
  out.assign(buf.bytes.data(), xdr_getpos(x));
  return true;
}

void Xdr_EncodeEntries(benchmark::State& state) {
  Context context;
  Entries entries;
  Buffer buf;
  std::string record;
  size_t bytes = 0;
  for (auto _ : state) {
    for (ZQFieldValueList& l : entries.rows) {
      if (!encode(buf, l, record)) return state.SkipWithError("encode failed");
      bytes += record.size();
    }
  }
  state.SetItemsProcessed(state.iterations() * kEntries);
  state.SetBytesProcessed(static_cast<int64_t>(bytes));
}

void Xdr_DecodeEntries(benchmark::State& state) {
  Context context;
  Entries entries;
  Buffer buf;
  std::vector<std::string> records(kEntries);
  for (int e = 0; e < kEntries; ++e)
    if (!encode(buf, entries.rows[e], records[e])) return state.SkipWithError("encode failed");
  size_t bytes = 0;
  for (auto _ : state) {
    for (std::string& record : records) {
      XDR x;
      xdrmem_create(&x, record.data(), static_cast<u_int>(record.size()), XDR_DECODE);
      ZQFieldValueList values{};
      if (!zq::model::decodeWith(&x, 14,
                                 [&](auto& v) { zq::model::describeEntryValues(v, values); }))
        return state.SkipWithError("decode failed");
      FreeZQFieldValueList(&values, 0);
      bytes += record.size();
    }
  }
  state.SetItemsProcessed(state.iterations() * kEntries);
  state.SetBytesProcessed(static_cast<int64_t>(bytes));
}

}  // namespace

BENCHMARK(Xml_PushEntries)->Unit(benchmark::kMillisecond);
BENCHMARK(Xdr_EncodeEntries)->Unit(benchmark::kMillisecond);
BENCHMARK(Xml_PullEntries)->Unit(benchmark::kMillisecond);
BENCHMARK(Xdr_DecodeEntries)->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
