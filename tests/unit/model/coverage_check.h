// Test helper: how the coverage of a structure is judged. A Check<T> names
// the unions of T (region, selector, and the tags that select each arm) and
// the members the visitor cannot see, with their reasons; the TypeCheck it
// becomes explores the description (coverage_visitor.h) and returns what the
// description leaves out.
#pragma once

#include <functional>
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

// Runs a description over every protocol version, both wire directions and
// every candidate selector value, and returns what it leaves out of the
// structure (required: its value bytes), of the arms of its unions and of the
// items it visits through a function of its own.
std::vector<std::string> judge(const Subject& subject, const std::string& name,
                               const std::vector<bool>& required,
                               const std::vector<Exemption>& exemptions,
                               const std::vector<Union>& unions,
                               std::set<std::type_index>& reached);

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
      static constexpr auto describeIt = [](auto& v, T& s) { describe(v, s); };
      return judge(subjectOf<T>(describeIt), name, valueBytes<T>(), exemptions, unions, reached);
    };
    return c;
  }

 private:
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
