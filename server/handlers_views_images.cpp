// Handlers of the view and image procedures.
#include <string>
#include <vector>

#include "form_handlers.h"
#include "server.h"

namespace zqserver {
namespace {

using namespace zq::transport;
namespace w = zq::transport::wanted;

// ---- views -----------------------------------------------------------------------------------

void getView(Request<proc::GetVUI>& call) {
  auto& a = call.args();
  call.server.faults().lastWantedMask = a.wanted;
  FormDefinitions defs(call.server.store());
  answerGet(call, defs, a.form, DefinitionKind::view, a.viewId, zq::kMsgNoSuchDefinition, a.wanted,
            call.reply().view, &FormDefinitions::readView, viewPartRules());
}

void setView(Request<proc::SetVUI>& call) {
  auto& a = call.args();
  call.server.faults().lastChangedMask = a.changed;
  FormDefinitions defs(call.server.store());
  report(call, defs.setView(textOf(a.form), a.viewId, a.changed, a.view, actorOf(a.header)));
}

void createView(Request<proc::CreateVUI>& call) {
  auto& a = call.args();
  FormDefinitions defs(call.server.store());
  ZQInternalId id = a.viewId;
  if (report(call, defs.createView(textOf(a.form), id, a.view, actorOf(a.header))))
    call.reply().id = id;
}

void deleteView(Request<proc::DeleteVUI>& call) {
  auto& a = call.args();
  FormDefinitions defs(call.server.store());
  report(call, defs.deleteView(textOf(a.form), a.viewId));
}

void getListView(Request<proc::GetListVUI>& call) {
  auto& a = call.args();
  FormDefinitions defs(call.server.store());
  auto form = formOf(call, defs, a.form);
  if (!form) return;
  const auto rows = defs.store().list(DefinitionKind::view, form->rowId, a.changedSince);
  ZQInternalIdList& out = call.reply().ids;
  if (!sized(out, static_cast<uint32_t>(rows.size()), true)) return report(call, zq::kMsgNoMemory);
  for (size_t i = 0; i < rows.size(); ++i) out.items[i] = rows[i].objectId;
}

void getMultipleViews(Request<proc::GetMultipleVUIs>& call) {
  auto& a = call.args();
  auto& r = call.reply();
  call.server.faults().lastWantedMask = a.wanted;
  FormDefinitions defs(call.server.store());
  auto form = formOf(call, defs, a.form);
  if (!form) return;
  std::vector<ZQInternalId> ids;
  if (a.viewIds.count && a.viewIds.items) {
    ids.assign(a.viewIds.items, a.viewIds.items + a.viewIds.count);
  } else {
    for (const Definition& row :
         defs.store().list(DefinitionKind::view, form->rowId, a.changedSince))
      ids.push_back(row.objectId);
  }
  const uint32_t n = static_cast<uint32_t>(ids.size());
  const uint32_t m = a.wanted;
  const bool ok =
      sized(r.exists, n, m & w::kMultiViewExists) && sized(r.ids, n, m & w::kMultiViewIds) &&
      sized(r.names, n, m & w::kMultiViewNames) && sized(r.locales, n, m & w::kMultiViewLocales) &&
      sized(r.types, n, m & w::kMultiViewTypes) &&
      sized(r.properties, n, m & w::kMultiViewProperties) &&
      sized(r.helpTexts, n, m & w::kMultiViewHelp) &&
      sized(r.timestamps, n, m & w::kMultiViewTimestamps) &&
      sized(r.owners, n, m & w::kMultiViewOwners) &&
      sized(r.lastChanged, n, m & w::kMultiViewLastChanged) &&
      sized(r.diaries, n, m & w::kMultiViewDiaries);
  if (!ok) return report(call, zq::kMsgNoMemory);
  for (uint32_t i = 0; i < n; ++i) {
    ZQInternalId id = ids[i];  // putItem takes what it is given
    putItem(r.ids, i, id);
    auto row = defs.store().findById(DefinitionKind::view, form->rowId, ids[i]);
    OwnedParts<ViewParts> v;
    if (!row || row->changed < a.changedSince || !defs.readView(*row, v.p).ok()) continue;
    ZQBoolean there = 1;
    putItem(r.exists, i, there);
    putItem(r.names, i, v.p.viewName);
    putItem(r.locales, i, v.p.locale);
    putItem(r.types, i, v.p.viewType);
    putItem(r.properties, i, v.p.displayProperties);
    putItem(r.helpTexts, i, v.p.common.helpText);
    putItem(r.timestamps, i, v.p.common.timestamp);
    putItem(r.owners, i, v.p.common.owner);
    putItem(r.lastChanged, i, v.p.common.lastChanged);
    putItem(r.diaries, i, v.p.common.changeDiary);
  }
}

// ---- images ----------------------------------------------------------------------------------

void getImage(Request<proc::GetImage>& call) {
  auto& a = call.args();
  call.server.faults().lastWantedMask = a.wanted;
  FormDefinitions defs(call.server.store());
  auto row = defs.store().find(DefinitionKind::image, 0, textOf(a.name));
  if (!row) return report(call, zq::kMsgNoSuchDefinition, textOf(a.name));
  if (report(call, defs.readImage(*row, call.reply().image)))
    keepWanted(call.reply().image, a.wanted, imagePartRules());
}

void setImage(Request<proc::SetImage>& call) {
  auto& a = call.args();
  call.server.faults().lastChangedMask = a.changed;
  FormDefinitions defs(call.server.store());
  report(call,
         defs.setImage(textOf(a.name), textOf(a.newName), a.changed, a.image, actorOf(a.header)));
}

void createImage(Request<proc::CreateImage>& call) {
  auto& a = call.args();
  FormDefinitions defs(call.server.store());
  report(call, defs.createImage(textOf(a.name), a.image, actorOf(a.header)));
}

void deleteImage(Request<proc::DeleteImage>& call) {
  auto& a = call.args();
  FormDefinitions defs(call.server.store());
  report(call, defs.deleteImage(textOf(a.name)));
}

// The forms of the request are not related to images here: every image of
// the type (empty: any) changed since the time is listed.
void getListImage(Request<proc::GetListImage>& call) {
  auto& a = call.args();
  FormDefinitions defs(call.server.store());
  const std::string type = textOf(a.imageType);
  std::vector<std::string> names;
  for (const Definition& row : defs.store().list(DefinitionKind::image, 0, a.changedSince)) {
    OwnedParts<ImageParts> image;
    if (!defs.readImage(row, image.p).ok()) continue;
    if (type.empty() || type == textOf(image.p.imageType)) names.push_back(row.name);
  }
  if (!wireNames(names, call.reply().names)) report(call, zq::kMsgNoMemory);
}

void getMultipleImages(Request<proc::GetMultipleImages>& call) {
  auto& a = call.args();
  auto& r = call.reply();
  call.server.faults().lastWantedMask = a.wanted;
  FormDefinitions defs(call.server.store());
  std::vector<std::string> names;
  if (a.names.count && a.names.items) {
    for (uint32_t i = 0; i < a.names.count; ++i)
      names.emplace_back(a.names.items[i], strnlen(a.names.items[i], sizeof(ZQNameType)));
  } else {
    for (const Definition& row : defs.store().list(DefinitionKind::image, 0, a.changedSince))
      names.push_back(row.name);
  }
  const uint32_t n = static_cast<uint32_t>(names.size());
  const uint32_t m = a.wanted;
  const bool ok =
      sized(r.exists, n, m & w::kMultiImageExists) && sized(r.names, n, m & w::kMultiImageNames) &&
      sized(r.images, n, m & w::kMultiImageData) && sized(r.types, n, m & w::kMultiImageTypes) &&
      sized(r.timestamps, n, m & w::kMultiImageTimestamps) &&
      sized(r.checksums, n, m & w::kMultiImageChecksums) &&
      sized(r.descriptions, n, m & w::kMultiImageDescriptions) &&
      sized(r.helpTexts, n, m & w::kMultiImageHelp) &&
      sized(r.owners, n, m & w::kMultiImageOwners) &&
      sized(r.lastChanged, n, m & w::kMultiImageLastChanged) &&
      sized(r.diaries, n, m & w::kMultiImageDiaries) &&
      sized(r.properties, n, m & w::kMultiImageProperties);
  if (!ok) return report(call, zq::kMsgNoMemory);
  for (uint32_t i = 0; i < n; ++i) {
    auto row = defs.store().find(DefinitionKind::image, 0, names[i]);
    ZQNameType name{};
    zq::copyName(name, row ? row->name.c_str() : names[i].c_str(), sizeof name);
    putItem(r.names, i, name);
    OwnedParts<ImageParts> image;
    if (!row || row->changed < a.changedSince || !defs.readImage(*row, image.p).ok()) continue;
    ZQBoolean there = 1;
    putItem(r.exists, i, there);
    putItem(r.images, i, image.p.data);
    putItem(r.types, i, image.p.imageType);
    putItem(r.timestamps, i, image.p.common.timestamp);
    putItem(r.checksums, i, image.p.checksum);
    putItem(r.descriptions, i, image.p.description);
    putItem(r.helpTexts, i, image.p.common.helpText);
    putItem(r.owners, i, image.p.common.owner);
    putItem(r.lastChanged, i, image.p.common.lastChanged);
    putItem(r.diaries, i, image.p.common.changeDiary);
    putItem(r.properties, i, image.p.common.properties);
  }
}

}  // namespace

void serveViewsAndImages(Handlers& h) {
  h.serve<proc::GetVUI, getView>();
  h.serve<proc::SetVUI, setView>();
  h.serve<proc::CreateVUI, createView>();
  h.serve<proc::DeleteVUI, deleteView>();
  h.serve<proc::GetListVUI, getListView>();
  h.serve<proc::GetMultipleVUIs, getMultipleViews>();
  h.serve<proc::GetImage, getImage>();
  h.serve<proc::SetImage, setImage>();
  h.serve<proc::CreateImage, createImage>();
  h.serve<proc::DeleteImage, deleteImage>();
  h.serve<proc::GetListImage, getListImage>();
  h.serve<proc::GetMultipleImages, getMultipleImages>();
}

}  // namespace zqserver
