// Test helper: how the coverage of a structure is judged. A Check<T> names
// the unions of T (region, selector, and the tags that select each arm) and
// the members the visitor cannot see, with their reasons; run() explores the
// description (coverage_visitor.h) and returns what it left out.
#pragma once

#include <functional>
#include <sstream>
#include <string>
#include <type_traits>
#include <typeindex>
#include <vector>

#include "unit/model/coverage_visitor.h"

namespace zqtest::coverage {

// True when a description of T is found.
template <class T>
concept Described = requires(zq::model::FreeVisitor& v, T& s) {
  describe(v, s);
};

struct Range {
  size_t offset = 0;
  size_t size = 0;
  bool contains(size_t i) const { return i >= offset && i < offset + size; }
};

template <class T, class M>
Range rangeOf(M member) {
  T probe;
  memset(static_cast<void*>(&probe), 0, sizeof probe);
  const auto& m = member(probe);
  return {static_cast<size_t>(reinterpret_cast<const char*>(&m) -
                              reinterpret_cast<const char*>(&probe)),
          sizeof m};
}

inline std::string bytesText(const std::vector<bool>& missing, size_t shift = 0) {
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

struct Arm {
  std::string name;
  Range range;
  std::vector<bool> mask;  // value bytes of the arm type
  std::type_index type;
  std::function<bool(uint32_t)> selects;
};

struct Union {
  std::string name;
  Range region;
  size_t selectorAt = 0;
  std::string selector;
  std::vector<Arm> arms;
};

struct Exemption {
  std::string what;  // member, or path of item site
  Range range;
  bool site = false;
  std::string reason;
};

// One checked structure, type-erased.
struct TypeCheck {
  std::string name;
  std::type_index type;
  std::vector<std::type_index> armTypes;
  std::function<std::vector<std::string>(std::set<std::type_index>& reached)> run;
};

inline std::function<bool(uint32_t)> is(std::initializer_list<uint32_t> values) {
  std::set<uint32_t> set(values);
  return [set](uint32_t t) { return set.count(t) != 0; };
}

template <class T>
class Check {
 public:
  explicit Check(std::string name) : name_(std::move(name)) {
    static_assert(Described<T>, "a checked type must have a description");
  }

  // A member the visitor cannot see, with the reason.
  template <class M>
  Check& notVisited(const char* what, M member, const char* reason) {
    exemptions_.push_back({what, rangeOf<T>(member), false, reason});
    return *this;
  }
  // The items of an item site (a path ending as the failure message shows it).
  Check& itemsNotVisited(const char* path, const char* reason) {
    exemptions_.push_back({path, {}, true, reason});
    return *this;
  }
  template <class R, class S>
  Check& tagged(const char* name, R region, const char* selector, S selectorMember) {
    unions_.push_back({name, rangeOf<T>(region), rangeOf<T>(selectorMember).offset, selector, {}});
    return *this;
  }
  template <class M>
  Check& arm(const char* name, M member, std::function<bool(uint32_t)> selects) {
    using A = std::remove_cvref_t<decltype(member(std::declval<T&>()))>;
    unions_.back().arms.push_back(
        {name, rangeOf<T>(member), valueBytes<A>(), typeid(A), std::move(selects)});
    return *this;
  }

  operator TypeCheck() const {
    TypeCheck c{name_, typeid(T), {}, {}};
    for (const Union& u : unions_)
      for (const Arm& a : u.arms) c.armTypes.push_back(a.type);
    c.run = [name = name_, exemptions = exemptions_,
             unions = unions_](std::set<std::type_index>& reached) {
      return run(name, exemptions, unions, reached);
    };
    return c;
  }

 private:
  // The judgement of one structure: what the accepted runs visited, checked
  // against the value bytes of T, the arms of its unions and its item sites.
  class Judge {
   public:
    Judge(const std::vector<Exemption>& exemptions, const std::vector<Union>& unions)
        : exemptions_(exemptions), unions_(unions), covered_(sizeof(T), false) {
      for (const Union& u : unions) {
        armCovered_.emplace_back();
        for (const Arm& a : u.arms) armCovered_.back().emplace_back(a.range.size, false);
      }
    }

    void onRun(const Trace& t, const T& object) {
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
    void onUnion(size_t k, const Trace& t, const T& object) {
      const Union& u = unions_[k];
      uint32_t selector = 0;
      memcpy(&selector, reinterpret_cast<const char*>(&object) + u.selectorAt, sizeof selector);
      size_t chosen = u.arms.size();
      for (size_t a = 0; a < u.arms.size() && chosen == u.arms.size(); ++a)
        if (u.arms[a].selects(selector)) chosen = a;
      std::vector<bool> stray(sizeof(T), false);
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
      std::vector<bool> missing(sizeof(T), false);
      bool any = false;
      for (size_t i = 0; i < required_.size(); ++i)
        if (required_[i] && !covered_[i]) missing[i] = any = true;
      if (any)
        problems_.insert("bytes" + bytesText(missing) + " of " + std::to_string(sizeof(T)) +
                         " are never visited");
    }

    void checkArms() {
      for (size_t k = 0; k < unions_.size(); ++k) {
        const Union& u = unions_[k];
        std::vector<bool> byArms(sizeof(T), false);
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
        std::vector<bool> unclaimed(sizeof(T), false);
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

    const std::vector<Exemption>& exemptions_;
    const std::vector<Union>& unions_;
    const std::vector<bool> required_ = valueBytes<T>();
    std::vector<bool> covered_;
    std::vector<std::vector<std::vector<bool>>> armCovered_;  // per union, per arm
    std::set<std::string> problems_;
  };

  static std::vector<std::string> run(const std::string& name,
                                      const std::vector<Exemption>& exemptions,
                                      const std::vector<Union>& unions,
                                      std::set<std::type_index>& reached) {
    Judge judge(exemptions, unions);
    Findings findings;
    auto describeIt = [](auto& v, T& s) { describe(v, s); };
    std::vector<int> versions;
    for (int v = zq::model::kOldestVersion; v <= zq::model::kNewestVersion; ++v)
      versions.push_back(v);
    explore<T>(describeIt, versions, {Pass::encode, Pass::decode}, findings, name,
               [&](const Trace& t, const T& object, int, Pass) { judge.onRun(t, object); });
    reached.insert(findings.reached.begin(), findings.reached.end());
    return judge.verdict(findings);
  }

  std::string name_;
  std::vector<Exemption> exemptions_;
  std::vector<Union> unions_;
};

// A structure with no description of its own, with the reason.
struct Undescribed {
  std::string name;
  std::type_index type;
  bool inlineArm;  // described inline, as an arm of a union of the table
  std::string reason;
};

template <class T>
Undescribed undescribed(const char* name, bool inlineArm, const char* reason) {
  static_assert(!Described<T>, "a type with a description belongs in the checked table");
  return {name, typeid(T), inlineArm, reason};
}

}  // namespace zqtest::coverage
