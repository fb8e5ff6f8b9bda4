// Encode and decode of a 1,000-node qualification in the text form, against
// a plain copy of the same text as the baseline of the run.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <cstring>
#include <string>

#include "frame/alloc.h"
#include "support/session.h"
#include "zqapi/zqapi.h"

namespace {

ZQQualifierStruct* node() {
  return static_cast<ZQQualifierStruct*>(ZQCalloc(1, sizeof(ZQQualifierStruct)));
}

// A relational leaf: field i compared with a value whose type cycles.
ZQQualifierStruct* leaf(int i) {
  ZQQualifierStruct* q = node();
  q->operation = ZQ_COND_OP_REL_OP;
  auto* r = static_cast<ZQRelOpStruct*>(ZQCalloc(1, sizeof(ZQRelOpStruct)));
  r->operation = 1 + i % 8;
  r->left.tag = ZQ_FIELD;
  r->left.u.fieldId = 536870912u + static_cast<uint32_t>(i);
  r->right.tag = ZQ_VALUE;
  ZQValueStruct& v = r->right.u.value;
  switch (i % 4) {
    case 0:
      v.dataType = ZQ_DATA_TYPE_CHAR;
      v.u.charValue = zq::dupString(("value number " + std::to_string(i)).c_str());
      break;
    case 1:
      v.dataType = ZQ_DATA_TYPE_INTEGER;
      v.u.integerValue = i * 7919;
      break;
    case 2:
      v.dataType = ZQ_DATA_TYPE_REAL;
      v.u.realValue = i / 8.0;
      break;
    default:
      v.dataType = ZQ_DATA_TYPE_TIME;
      v.u.timestampValue = 1700000000 + i;
      break;
  }
  q->u.relation = r;
  return q;
}

// A balanced tree of `leaves` relational tests joined by AND and OR:
// 2 * leaves - 1 qualification nodes.
ZQQualifierStruct* tree(int first, int leaves) {
  if (leaves == 1) return leaf(first);
  ZQQualifierStruct* q = node();
  q->operation = (first % 2) ? ZQ_COND_OP_OR : ZQ_COND_OP_AND;
  q->u.andOr.left = tree(first, leaves / 2);
  q->u.andOr.right = tree(first + leaves / 2, leaves - leaves / 2);
  return q;
}

struct Fixture {
  zqtest::Session session;
  ZQQualifierStruct* qual = tree(0, 500);  // 999 nodes
  std::string text;
  Fixture() {
    ZQStatusList status{0, nullptr};
    char* out = nullptr;
    if (ZQEncodeZQQualifierStruct(session.control(), qual, &out, &status) != 0) abort();
    text = out;
    ZQFree(out);
  }
  ~Fixture() { FreeZQQualifierStruct(qual, 1); }
};

Fixture& fixture() {
  static Fixture* f = new Fixture;
  return *f;
}

void BM_CopyTextBaseline(benchmark::State& state) {
  const std::string& text = fixture().text;
  for (auto _ : state) {
    char* copy = static_cast<char*>(malloc(text.size() + 1));
    memcpy(copy, text.c_str(), text.size() + 1);
    benchmark::DoNotOptimize(copy);
    free(copy);
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size()));
}
BENCHMARK(BM_CopyTextBaseline);

void BM_EncodeQualifier1000(benchmark::State& state) {
  Fixture& f = fixture();
  ZQStatusList status{0, nullptr};
  for (auto _ : state) {
    char* out = nullptr;
    ZQEncodeZQQualifierStruct(f.session.control(), f.qual, &out, &status);
    benchmark::DoNotOptimize(out);
    ZQFree(out);
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * f.text.size()));
  state.counters["nodes/s"] =
      benchmark::Counter(999.0 * static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_EncodeQualifier1000);

void BM_DecodeQualifier1000(benchmark::State& state) {
  Fixture& f = fixture();
  ZQStatusList status{0, nullptr};
  for (auto _ : state) {
    ZQQualifierStruct q{};
    ZQDecodeZQQualifierStruct(f.session.control(), f.text.c_str(), &q, &status);
    benchmark::DoNotOptimize(q.operation);
    FreeZQQualifierStruct(&q, 0);
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * f.text.size()));
  state.counters["nodes/s"] =
      benchmark::Counter(999.0 * static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_DecodeQualifier1000);

}  // namespace

BENCHMARK_MAIN();
