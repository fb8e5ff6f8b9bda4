#include "definitions_file.h"

#include <ctime>
#include <fstream>
#include <sstream>
#include <vector>

#include "entry_store.h"
#include "form_definitions.h"
#include "frame/alloc.h"

namespace zqserver {
namespace {

using zq::transport::ImageParts;
using zq::transport::ViewParts;

std::vector<std::string> split(const std::string& text, char by, size_t parts) {
  std::vector<std::string> out;
  size_t from = 0;
  while (out.size() + 1 < parts) {
    const size_t at = text.find(by, from);
    if (at == std::string::npos) break;
    out.push_back(text.substr(from, at - from));
    from = at + 1;
  }
  out.push_back(text.substr(from));
  return out;
}

bool readFile(const std::string& path, std::string& out) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  std::ostringstream content;
  content << in.rdbuf();
  out = content.str();
  return true;
}

bool number(const std::string& text, uint32_t& out) {
  if (text.empty() || text.size() > 10 || text.find_first_not_of("0123456789") != text.npos)
    return false;
  const unsigned long long n = std::stoull(text);
  if (n > UINT32_MAX) return false;
  out = static_cast<uint32_t>(n);
  return true;
}

std::string reason(const StoreResult& r) {
  return "refused with message " + std::to_string(r.message) +
         (r.appended.empty() ? "" : " (" + r.appended + ")");
}

class Loader {
 public:
  Loader(Store& store, std::string folder) : store_(store), folder_(std::move(folder)) {}

  // False with a reason.
  bool line(const std::string& text, std::string& why) {
    const size_t space = text.find(' ');
    const std::string kind = text.substr(0, space);
    const std::string rest = space == std::string::npos ? "" : text.substr(space + 1);
    if (kind == "form") return form(rest, why);
    if (kind == "view") return view(rest, why);
    if (kind == "image") return image(rest, why);
    if (kind == "support-file") return supportFile(rest, why);
    why = "unknown kind \"" + kind + "\"";
    return false;
  }

 private:
  std::string pathOf(const std::string& p) const {
    return p.empty() || p[0] == '/' ? p : folder_ + p;
  }

  bool form(const std::string& description, std::string& why) {
    const StoreResult r = EntryStore(store_).createFormFromDescription(description);
    if (!r.ok()) why = reason(r);
    return r.ok();
  }

  bool view(const std::string& text, std::string& why) {
    const auto p = split(text, ':', 4);
    uint32_t id = 0;
    if (p.size() < 3 || !number(p[1], id)) {
      why = "expected FORM:ID:NAME[:LOCALE]";
      return false;
    }
    OwnedParts<ViewParts> v;
    zq::copyName(v.p.viewName, p[2].c_str(), sizeof v.p.viewName);
    v.p.locale = zq::dupString(p.size() > 3 ? p[3].c_str() : "");
    ZQInternalId chosen = id;
    const StoreResult r = FormDefinitions(store_).createView(p[0], chosen, v.p, actor());
    if (!r.ok()) why = reason(r);
    return r.ok();
  }

  bool image(const std::string& text, std::string& why) {
    const auto p = split(text, ':', 3);
    std::string bytes;
    if (p.size() < 3 || p[0].empty() || p[1].empty()) {
      why = "expected NAME:TYPE:PATH";
      return false;
    }
    if (!readFile(pathOf(p[2]), bytes) || bytes.empty()) {
      why = "cannot read a non-empty image from " + pathOf(p[2]);
      return false;
    }
    OwnedParts<ImageParts> image;
    image.p.data.bytes = static_cast<unsigned char*>(ZQAlloc(bytes.size()));
    if (!image.p.data.bytes) {
      why = "out of memory";
      return false;
    }
    memcpy(image.p.data.bytes, bytes.data(), bytes.size());
    image.p.data.size = static_cast<uint32_t>(bytes.size());
    image.p.imageType = zq::dupString(p[1].c_str());
    const StoreResult r = FormDefinitions(store_).createImage(p[0], image.p, actor());
    if (!r.ok()) why = reason(r);
    return r.ok();
  }

  bool supportFile(const std::string& text, std::string& why) {
    const auto p = split(text, ':', 3);
    uint32_t fileId = 0;
    std::string content;
    if (p.size() < 3 || !number(p[1], fileId)) {
      why = "expected FORM:FILE-ID:PATH";
      return false;
    }
    FormDefinitions defs(store_);
    if (!defs.findForm(p[0])) {
      why = "no form " + p[0];
      return false;
    }
    if (!readFile(pathOf(p[2]), content)) {
      why = "cannot read " + pathOf(p[2]);
      return false;
    }
    const StoreResult r =
        defs.store().putSupportFile(ZQ_SUPPORT_FILE_FORM, p[0], 0, fileId, content, time(nullptr));
    if (!r.ok()) why = reason(r);
    return r.ok();
  }

  static Actor actor() { return Actor{"", static_cast<int64_t>(time(nullptr))}; }

  Store& store_;
  std::string folder_;
};

}  // namespace

bool loadDefinitionsFile(Store& store, const std::string& path, std::string& error) {
  std::string text;
  if (!readFile(path, text)) {
    error = path + ": cannot be read";
    return false;
  }
  const size_t slash = path.rfind('/');
  Loader loader(store, slash == std::string::npos ? "" : path.substr(0, slash + 1));
  DefinitionUnit unit(store);
  std::istringstream lines(text);
  std::string line;
  for (int n = 1; std::getline(lines, line); ++n) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    const size_t first = line.find_first_not_of(" \t");
    if (first == std::string::npos || line[first] == '#') continue;
    std::string why;
    if (!loader.line(line.substr(first), why)) {
      error = path + ":" + std::to_string(n) + ": " + why;
      return false;
    }
  }
  if (!unit.commit()) {
    error = path + ": the store failed";
    return false;
  }
  return true;
}

}  // namespace zqserver
