// How the coverage of a structure is judged (coverage_check.h).
#include "unit/model/coverage_check.h"

#include <sstream>

namespace zqtest::coverage {

namespace {

std::string bytesText(const std::vector<bool>& missing, size_t shift = 0) {
  std::ostringstream out;
  for (size_t i = 0; i < missing.size();) {
    if (!missing[i]) {
      ++i;
      continue;
    }
    size_t j = i;
    while (j < missing.size() && missing[j]) ++j;
    out << " " << i + shift << ".." << j - 1 + shift;
    i = j;
  }
  return out.str();
}

// The judgement of one structure: what the accepted runs visited, checked
// against its value bytes, the arms of its unions and its item sites.
class Judge {
 public:
  Judge(const std::vector<bool>& required, const std::vector<Exemption>& exemptions,
        const std::vector<Union>& unions)
      : required_(required),
        exemptions_(exemptions),
        unions_(unions),
        covered_(required.size(), false) {
    for (const Union& u : unions) {
      armCovered_.emplace_back();
      for (const Arm& a : u.arms) armCovered_.back().emplace_back(a.range.size, false);
    }
  }

  void onRun(const Trace& t, const void* object) {
    if (t.refused) return;
    for (size_t i = 0; i < covered_.size(); ++i)
      if (t.visited[i]) covered_[i] = true;
    for (size_t k = 0; k < unions_.size(); ++k) onUnion(k, t, object);
  }

  std::vector<std::string> verdict(const Findings& findings) {
    checkMembers();
    checkArms();
    checkSites(findings);
    return {problems_.begin(), problems_.end()};
  }

 private:
  // The bytes a run visits in a union must lie in the arm its selector picks.
  void onUnion(size_t k, const Trace& t, const void* object) {
    const Union& u = unions_[k];
    uint32_t selector = 0;
    memcpy(&selector, static_cast<const char*>(object) + u.selectorAt, sizeof selector);
    size_t chosen = u.arms.size();
    for (size_t a = 0; a < u.arms.size() && chosen == u.arms.size(); ++a)
      if (u.arms[a].selects(selector)) chosen = a;
    std::vector<bool> stray(required_.size(), false);
    bool anyStray = false;
    for (size_t i = u.region.offset; i < u.region.offset + u.region.size; ++i) {
      if (!t.visited[i]) continue;
      if (chosen < u.arms.size() && u.arms[chosen].range.contains(i)) {
        armCovered_[k][chosen][i - u.arms[chosen].range.offset] = true;
      } else {
        stray[i] = anyStray = true;
      }
    }
    if (anyStray)
      problems_.insert(u.name + ": " + u.selector + " " + std::to_string(selector) +
                       " visits bytes" + bytesText(stray) + " outside " +
                       (chosen < u.arms.size() ? "its arm " + u.arms[chosen].name
                                               : std::string("every arm of the table")));
  }

  void checkMembers() {
    for (const Exemption& e : exemptions_) {
      if (e.site) continue;
      bool needed = false;
      for (size_t i = e.range.offset; i < e.range.offset + e.range.size; ++i) {
        needed = needed || !covered_[i];
        covered_[i] = true;
      }
      if (!needed) problems_.insert(e.what + " is listed as not visited but is visited");
    }
    std::vector<bool> missing(required_.size(), false);
    bool any = false;
    for (size_t i = 0; i < required_.size(); ++i)
      if (required_[i] && !covered_[i]) missing[i] = any = true;
    if (any)
      problems_.insert("bytes" + bytesText(missing) + " of " + std::to_string(required_.size()) +
                       " are never visited");
  }

  void checkArms() {
    for (size_t k = 0; k < unions_.size(); ++k) {
      const Union& u = unions_[k];
      std::vector<bool> byArms(required_.size(), false);
      for (size_t a = 0; a < u.arms.size(); ++a) {
        const Arm& arm = u.arms[a];
        std::vector<bool> missing(arm.range.size, false);
        bool any = false;
        for (size_t i = 0; i < arm.range.size; ++i) {
          if (arm.mask[i]) byArms[arm.range.offset + i] = true;
          if (arm.mask[i] && !armCovered_[k][a][i]) missing[i] = any = true;
        }
        if (any)
          problems_.insert(arm.name + ": bytes" + bytesText(missing) +
                           " of the arm are never visited by the tags that select it");
      }
      std::vector<bool> unclaimed(required_.size(), false);
      bool any = false;
      for (size_t i = u.region.offset; i < u.region.offset + u.region.size; ++i)
        if (required_[i] && !byArms[i]) unclaimed[i] = any = true;
      if (any)
        problems_.insert(u.name + ": bytes" + bytesText(unclaimed) +
                         " belong to no arm of the table (an arm is missing from it)");
    }
  }

  void checkSites(const Findings& findings) {
    std::set<std::string> used;
    for (const auto& [path, site] : findings.sites) {
      std::vector<bool> missing(site.required.size(), false);
      bool any = false;
      for (size_t i = 0; i < site.required.size(); ++i)
        if (site.required[i] && !site.covered[i]) missing[i] = any = true;
      if (!any) continue;
      bool exempt = false;
      for (const Exemption& e : exemptions_)
        if (e.site && path.size() >= e.what.size() &&
            path.compare(path.size() - e.what.size(), e.what.size(), e.what) == 0) {
          exempt = true;
          used.insert(e.what);
        }
      if (!exempt)
        problems_.insert(path + ": bytes" + bytesText(missing) + " of each " + site.itemType +
                         " item are never visited");
    }
    for (const Exemption& e : exemptions_)
      if (e.site && !used.count(e.what))
        problems_.insert(e.what + " is listed as not visited but is visited");
  }

  const std::vector<bool>& required_;
  const std::vector<Exemption>& exemptions_;
  const std::vector<Union>& unions_;
  std::vector<bool> covered_;
  std::vector<std::vector<std::vector<bool>>> armCovered_;  // per union, per arm
  std::set<std::string> problems_;
};

}  // namespace

std::vector<std::string> judge(const Subject& subject, const std::string& name,
                               const std::vector<bool>& required,
                               const std::vector<Exemption>& exemptions,
                               const std::vector<Union>& unions,
                               std::set<std::type_index>& reached) {
  Judge judgement(required, exemptions, unions);
  Findings findings;
  std::vector<int> versions;
  for (int v = zq::model::kOldestVersion; v <= zq::model::kNewestVersion; ++v)
    versions.push_back(v);
  explore(subject, versions, {Pass::encode, Pass::decode}, findings, name,
          [&](const Trace& t, const void* object) { judgement.onRun(t, object); });
  reached.insert(findings.reached.begin(), findings.reached.end());
  return judgement.verdict(findings);
}

}  // namespace zqtest::coverage
