// The client side of ZQGetListEntryWithFields on a result of 100,000
// entries of 10 fields: inflating and parsing the entry list text, against
// inflating the same stream alone (zlib) in the same run; and the peak heap
// of inflate-and-parse against the heap the decoded result holds.
//
//   queries_list --benchmark_counters_tabular=true
//
// Counters: "ratio" (the parse run's thread CPU time over the inflate-only
// run's, printed by the parse run), "peak_over_result" with the allocations
// per entry, and the parse of the inflated text alone in MB/s.
#include <benchmark/benchmark.h>
#include <malloc.h>

#include <algorithm>
#include <atomic>
#include <ctime>
#include <cstdlib>
#include <cstring>
#include <string>

#include "calls/entry_list_text.h"
#include "frame/alloc.h"
#include "platform/compress.h"
#include "zqapi/zq_free.h"

// ---- heap accounting: live and peak bytes while measuring -------------------------------

extern "C" {
void* __libc_malloc(size_t);
void* __libc_calloc(size_t, size_t);
void* __libc_realloc(void*, size_t);
void __libc_free(void*);
}

namespace {
std::atomic<bool> g_counting{false};
long long g_live = 0, g_peak = 0, g_allocations = 0;

void counted(void* p, bool add) {
  if (!p || !g_counting.load(std::memory_order_relaxed)) return;
  const long long n = static_cast<long long>(malloc_usable_size(p));
  g_allocations += add;
  g_live += add ? n : -n;
  g_peak = std::max(g_peak, g_live);
}
}  // namespace

extern "C" {
void* malloc(size_t n) {
  void* p = __libc_malloc(n);
  counted(p, true);
  return p;
}
void* calloc(size_t n, size_t size) {
  void* p = __libc_calloc(n, size);
  counted(p, true);
  return p;
}
void* realloc(void* old, size_t n) {
  counted(old, false);
  void* p = __libc_realloc(old, n);
  counted(p ? p : old, true);
  return p;
}
void free(void* p) {
  counted(p, false);
  __libc_free(p);
}
}

namespace {

constexpr int kEntries = 100000;

void appendValue(std::string& out, int type, const std::string& text) {
  out += std::to_string(type) + "\\" + std::to_string(text.size()) + "\\" + text + "\\";
}

// 10 columns: the entry id, 4 character fields, 3 integers, a real, and a
// longer character field.
std::string makeText() {
  const int columns[] = {1, 2, 4, 5, 8, 7, 536870913, 536870914, 536870915, 536870916};
  std::string out = std::to_string(kEntries) + "\n" + std::to_string(kEntries) + "\n10\n";
  for (int c : columns) out += std::to_string(c) + "\n";
  char id[16];
  for (int i = 0; i < kEntries; ++i) {
    snprintf(id, sizeof id, "%015d", i + 1);
    out += id;
    out += '\n';
    appendValue(out, 4, "Demo");
    appendValue(out, 4, i % 3 ? "Support" : "Network");
    appendValue(out, 4, "Admin");
    appendValue(out, 4, "Ticket number " + std::to_string(i) + " about the printer");
    appendValue(out, 6, std::to_string(i % 5));
    appendValue(out, 2, std::to_string(i * 7));
    appendValue(out, 7, std::to_string(1700000000 + i));
    appendValue(out, 3, "P/gAAAAAAAA=");
    appendValue(out, 4,
                "A longer description of the problem, entry " + std::to_string(i) +
                    ", with a few more words so that it looks like a real text.");
  }
  return out;
}

struct Stream {
  std::string text;
  zq::platform::ZBuffer packed;
  Stream() : text(makeText()) {
    if (zq::platform::compressBytes(text.data(), text.size(), packed) != zq::platform::ZResult::ok)
      abort();
  }
};
Stream& stream() {
  static Stream s;
  return s;
}

double g_inflateSeconds = 0;

// Thread CPU time: other processes on the machine do not skew the ratio.
double cpuNow() {
  timespec t;
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
  return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

void BM_InflateOnly(benchmark::State& state) {
  Stream& s = stream();
  double total = 0;
  for (auto _ : state) {
    const double start = cpuNow();
    zq::platform::ZBuffer plain;
    if (zq::platform::decompressBytes(s.packed.data, s.packed.size, 0, plain) !=
        zq::platform::ZResult::ok)
      abort();
    benchmark::DoNotOptimize(plain.data);
    ZQFree(plain.data);
    total += cpuNow() - start;
  }
  g_inflateSeconds = total / static_cast<double>(state.iterations());
  state.counters["compressed_MB"] = static_cast<double>(s.packed.size) / 1e6;
  state.counters["text_MB"] = static_cast<double>(s.text.size()) / 1e6;
}
BENCHMARK(BM_InflateOnly)->Unit(benchmark::kMillisecond);

// What the call does after the last slice: inflate and parse.
bool inflateAndParse(ZQEntryListFieldValueList& out) {
  Stream& s = stream();
  uint32_t matches = 0;
  auto r = zq::calls::inflateEntryListText(s.packed.data, s.packed.size, {}, &out, &matches);
  return r.ok() && out.count == kEntries;
}

void BM_InflateAndParse(benchmark::State& state) {
  double total = 0;
  for (auto _ : state) {
    ZQEntryListFieldValueList out{0, nullptr};
    const double start = cpuNow();
    if (!inflateAndParse(out)) abort();
    total += cpuNow() - start;
    state.PauseTiming();
    FreeZQEntryListFieldValueList(&out, 0);
    state.ResumeTiming();
  }
  const double seconds = total / static_cast<double>(state.iterations());
  if (g_inflateSeconds > 0) state.counters["ratio"] = seconds / g_inflateSeconds;
}
BENCHMARK(BM_InflateAndParse)->Unit(benchmark::kMillisecond);

// The parse of the text already inflated, in MB of text per second.
void BM_ParseOnly(benchmark::State& state) {
  Stream& s = stream();
  double total = 0;
  for (auto _ : state) {
    ZQEntryListFieldValueList out{0, nullptr};
    const double start = cpuNow();
    uint32_t matches = 0;
    if (!zq::calls::parseEntryListText(s.text.data(), s.text.size(), {}, &out, &matches).ok() ||
        out.count != kEntries)
      abort();
    total += cpuNow() - start;
    state.PauseTiming();
    FreeZQEntryListFieldValueList(&out, 0);
    state.ResumeTiming();
  }
  const double seconds = total / static_cast<double>(state.iterations());
  state.counters["parse_MB_per_s"] = static_cast<double>(s.text.size()) / 1e6 / seconds;
  if (g_inflateSeconds > 0) state.counters["ratio"] = seconds / g_inflateSeconds;
}
BENCHMARK(BM_ParseOnly)->Unit(benchmark::kMillisecond);

// Peak heap during inflate-and-parse over the heap the result keeps.
void BM_PeakMemory(benchmark::State& state) {
  stream();
  double ratio = 0, resultMB = 0, peakMB = 0, perEntry = 0;
  for (auto _ : state) {
    ZQEntryListFieldValueList out{0, nullptr};
    g_live = g_peak = g_allocations = 0;
    g_counting = true;
    const bool ok = inflateAndParse(out);
    const long long result = g_live, peak = g_peak;
    g_counting = false;
    if (!ok) abort();
    FreeZQEntryListFieldValueList(&out, 0);
    ratio = static_cast<double>(peak) / static_cast<double>(result);
    resultMB = static_cast<double>(result) / 1e6;
    peakMB = static_cast<double>(peak) / 1e6;
    perEntry = static_cast<double>(g_allocations) / kEntries;
  }
  state.counters["peak_over_result"] = ratio;
  state.counters["result_MB"] = resultMB;
  state.counters["peak_MB"] = peakMB;
  state.counters["allocs_per_entry"] = perEntry;
}
BENCHMARK(BM_PeakMemory)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace

BENCHMARK_MAIN();
