// The exploration behind the coverage visitor (coverage_visitor.h).
#include "unit/model/coverage_visitor.h"

#include <cxxabi.h>

#include <cstdlib>

namespace zqtest::coverage {

namespace {

// Values tried in every candidate selector word: every small number (tags,
// kinds and types are below 100) and every single bit (flag words).
const std::vector<uint32_t>& selectorValues() {
  static const std::vector<uint32_t> values = [] {
    std::vector<uint32_t> v;
    for (uint32_t i = 1; i <= 100; ++i) v.push_back(i);
    for (int bit = 7; bit < 32; ++bit) v.push_back(uint32_t{1} << bit);
    return v;
  }();
  return values;
}

// One run over a fresh zeroed object (calloc: the C structures begin their
// life in it) with at most one word set.
void runOnce(const Subject& subject, Pass pass, int version, long setAt, uint32_t value,
             Findings& findings, const std::string& path,
             const std::function<void(const Trace&, const void*)>& onRun, std::set<size_t>& words) {
  void* object = calloc(1, subject.size < sizeof value ? sizeof value : subject.size);
  if (setAt >= 0) memcpy(static_cast<unsigned char*>(object) + setAt, &value, sizeof value);
  Trace trace(object, subject.size);
  if (pass == Pass::encode) {
    subject.encode(subject.fn, object, trace, findings, version, path);
  } else {
    subject.decode(subject.fn, object, trace, findings, version, path);
  }
  onRun(trace, object);
  words.insert(trace.words.begin(), trace.words.end());
  // What the description's own decoding code allocated (a node, a copied
  // text) goes back through the same description.
  if (pass == Pass::decode) subject.release(subject.fn, object);
  free(object);
}

}  // namespace

std::string typeName(const char* mangled) {
  int status = 0;
  char* readable = abi::__cxa_demangle(mangled, nullptr, nullptr, &status);
  std::string out = status == 0 && readable ? readable : mangled;
  free(readable);
  return out;
}

void explore(const Subject& subject, const std::vector<int>& versions,
             const std::vector<Pass>& passes, Findings& findings, const std::string& path,
             const std::function<void(const Trace&, const void* object)>& onRun) {
  std::set<size_t> words, explored;
  const auto all = [&](long setAt, uint32_t value) {
    for (Pass pass : passes)
      for (int version : versions)
        runOnce(subject, pass, version, setAt, value, findings, path, onRun, words);
  };
  all(-1, 0);
  for (;;) {
    auto next = words.begin();
    while (next != words.end() && explored.count(*next)) ++next;
    if (next == words.end()) break;
    const size_t at = *next;
    explored.insert(at);
    for (uint32_t value : selectorValues()) all(static_cast<long>(at), value);
  }
}

void gatherSite(const std::string& key, const Subject& subject, const std::string& itemType,
                std::vector<bool> required, int version, Pass pass, Findings& findings) {
  ItemSite& site = findings.sites[key];
  if (site.required.empty()) {
    site.itemType = itemType;
    site.covered.assign(required.size(), false);
    site.required = std::move(required);
  }
  if (!site.explored.insert({version, static_cast<int>(pass)}).second) return;
  // Map entries stay where they are while nested sites are added.
  explore(subject, {version}, {pass}, findings, key, [&site](const Trace& t, const void*) {
    if (t.refused) return;
    for (size_t i = 0; i < t.visited.size(); ++i)
      if (t.visited[i]) site.covered[i] = true;
  });
}

}  // namespace zqtest::coverage
