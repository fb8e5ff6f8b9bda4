// Parsing a 200-term typed qualification against a cached field table,
// against encoding the tree it gives to the machine text form as the
// baseline of the same run (the goal: parsing within 3 times the encoding).
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <string>

#include "qualify/qualify.h"
#include "support/session.h"
#include "zqapi/zqapi.h"

namespace {

namespace qualify = zq::qualify;

qualify::FieldTable table() {
  qualify::FieldTable t;
  t.fields.push_back({7, ZQ_DATA_TYPE_ENUM, "Status", {{"New", 0}, {"Open", 1}, {"Closed", 2}}});
  t.fields.push_back({8, ZQ_DATA_TYPE_CHAR, "Short Description", {}});
  for (ZQInternalId i = 0; i < 40; ++i)
    t.fields.push_back({536870913 + i,
                        i % 2 ? uint32_t{ZQ_DATA_TYPE_INTEGER} : uint32_t{ZQ_DATA_TYPE_CHAR},
                        "Field number " + std::to_string(i),
                        {}});
  return t;
}

// 200 relations of four kinds joined by AND and OR, with some arithmetic.
std::string typedText() {
  std::string text;
  for (int i = 0; i < 200; ++i) {
    if (i) text += i % 3 ? " AND " : " OR ";
    switch (i % 4) {
      case 0:
        text += "'Status' = \"Open\"";
        break;
      case 1:
        text += "'Field number " + std::to_string(i % 40 | 1) + "' + 2 * 3 > " + std::to_string(i);
        break;
      case 2:
        text += "'Field number " + std::to_string(i % 40 & ~1) + "' LIKE \"%disk " +
                std::to_string(i) + "%\"";
        break;
      default:
        text += "NOT ('Short Description' = \"value " + std::to_string(i) + "\")";
        break;
    }
  }
  return text;
}

int32_t noKeywords(int, std::string&) {
  return 0;
}

struct Fixture {
  zqtest::Session session;
  qualify::FieldTable fields = table();
  std::string text = typedText();
  ZQQualifierStruct qual{};
  Fixture() {
    ZQStatusList status{0, nullptr};
    if (qualify::parse(fields, text.c_str(), noKeywords, &qual, &status) != 0) abort();
  }
};

Fixture& fixture() {
  static Fixture* f = new Fixture;
  return *f;
}

void BM_EncodeParsedTreeBaseline(benchmark::State& state) {
  Fixture& f = fixture();
  ZQStatusList status{0, nullptr};
  for (auto _ : state) {
    char* out = nullptr;
    ZQEncodeZQQualifierStruct(f.session.control(), &f.qual, &out, &status);
    benchmark::DoNotOptimize(out);
    ZQFree(out);
  }
}
BENCHMARK(BM_EncodeParsedTreeBaseline);

void BM_ParseTypedQualification200(benchmark::State& state) {
  Fixture& f = fixture();
  ZQStatusList status{0, nullptr};
  for (auto _ : state) {
    ZQQualifierStruct q{};
    qualify::parse(f.fields, f.text.c_str(), noKeywords, &q, &status);
    benchmark::DoNotOptimize(q.operation);
    FreeZQQualifierStruct(&q, 0);
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * f.text.size()));
}
BENCHMARK(BM_ParseTypedQualification200);

}  // namespace

BENCHMARK_MAIN();
