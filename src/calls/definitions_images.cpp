// The image calls: ZQGetImage, ZQSetImage, ZQCreateImage, ZQDeleteImage,
// ZQGetListImage and ZQGetMultipleImages.
#include "calls/checks.h"
#include "calls/definition_checks.h"
#include "calls/definitions.h"
#include "diag/diag.h"
#include "diag/record_described.h"
#include "zqapi/zq_definitions.h"

namespace zq::calls {
namespace {

using call::Call;
using defs::Mask;
namespace proc = transport::proc;
namespace wanted = transport::wanted;
namespace changed = transport::changed;

// The image type and the description are names; then the owner and the
// object properties.
int checkImageInput(const char* imageType, const char* description, const char* owner,
                    ZQPropList* properties, ZQStatusList* status) {
  int rc = ZQCheckName(imageType, 1, status);
  if (rc < ZQ_RETURN_ERROR) rc = ZQCheckName(description, 1, status);
  if (rc < ZQ_RETURN_ERROR) rc = ZQCheckName(owner, 1, status);
  if (rc < ZQ_RETURN_ERROR) rc = checks::checkProperties(properties, status);
  return rc;
}

void fillParts(transport::ImageParts& p, ZQImageDataStruct* data, const char* imageType,
               const char* description, const char* helpText, const char* owner,
               const char* changeDiary, ZQPropList* properties) {
  if (data) p.data = *data;
  p.imageType = const_cast<char*>(imageType);
  p.description = const_cast<char*>(description);
  p.common.helpText = const_cast<char*>(helpText);
  copyName(p.common.owner, owner, sizeof p.common.owner);
  p.common.changeDiary = const_cast<char*>(changeDiary);
  if (properties) p.common.properties = *properties;
}

}  // namespace
}  // namespace zq::calls

using namespace zq;
using namespace zq::calls;

extern "C" {

int ZQGetImage(ZQControlStruct* control, const char* name, ZQImageDataStruct* data,
               char** imageType, ZQTimestamp* timestamp, char** checksum, char** description,
               char** helpText, ZQAccessNameType owner, ZQAccessNameType lastChanged,
               char** changeDiary, ZQPropList* properties, ZQStatusList* status) {
  defs::clearAll(data, imageType, timestamp, checksum, description, helpText, owner, lastChanged,
                 changeDiary, properties);
  Call<proc::GetImage> call(control, status);
  if (!call || call.refusedControl() || call.refused(ZQCheckName(name, 0, status)))
    return call.rc();
  call.record(diag::Command::GetImage, name);
  bool replied = false;
  if (call.bind()) {
    auto& a = call.args();
    a.name = const_cast<char*>(name);
    a.wanted = Mask()(data, wanted::kImageData)(imageType, wanted::kImageType)(
                   checksum, wanted::kImageChecksum)(description, wanted::kImageDescription)(
                   helpText, wanted::kImageHelp)(changeDiary, wanted::kImageDiary)(
                   properties, wanted::kImageProperties)(owner, wanted::kImageOwner)(
                   lastChanged, wanted::kImageLastChanged)
                   .value();
    if (auto* reply = call.send()) {
      replied = true;
      transport::ImageParts& i = reply->image;
      defs::take(data, i.data);
      defs::take(imageType, i.imageType);
      if (timestamp) *timestamp = i.common.timestamp;
      defs::take(checksum, i.checksum);
      defs::take(description, i.description);
      defs::take(helpText, i.common.helpText);
      defs::takeName(owner, i.common.owner, sizeof(ZQAccessNameType));
      defs::takeName(lastChanged, i.common.lastChanged, sizeof(ZQAccessNameType));
      defs::take(changeDiary, i.common.changeDiary);
      defs::take(properties, i.common.properties);
    }
  }
  // The outputs are shown whenever a reply came, whatever it says.
  if (!replied) return call.finish();
  return call.finish(imageType, data ? &data->size : nullptr, checksum, description, helpText,
                     timestamp, owner, lastChanged, properties, changeDiary);
}

int ZQSetImage(ZQControlStruct* control, const char* name, const char* newName,
               ZQImageDataStruct* data, const char* imageType, const char* description,
               const char* helpText, const char* owner, const char* changeDiary,
               ZQPropList* properties, ZQStatusList* status) {
  Call<proc::SetImage> call(control, status);
  if (!call || call.refused(ZQCheckControlAndNames(control, name, newName, status)))
    return call.rc();
  const char* rename = defs::renameTo(name, newName);
  const uint32_t parts =
      Mask()(*rename != '\0', changed::kImageName)(data, changed::kImageData)(
          imageType, changed::kImageType)(description, changed::kImageDescription)(
          helpText, changed::kImageHelp)(owner, changed::kImageOwner)(
          changeDiary, changed::kImageDiary)(properties, changed::kImageProperties)
          .value();
  if (parts == 0) return defs::nothingToChange(call);
  if (call.refused(checkImageInput(imageType, description, owner, properties, status)))
    return call.rc();
  call.record(diag::Command::SetImage, name, newName, diag::described(data), imageType, description,
              diag::LongText{helpText}, owner, diag::LongText{changeDiary},
              diag::described(properties));
  if (call.bind()) {
    auto& a = call.args();
    a.name = const_cast<char*>(name);
    a.newName = const_cast<char*>(rename);
    a.changed = parts;
    fillParts(a.image, data, imageType, description, helpText, owner, changeDiary, properties);
    call.send();
  }
  return call.finish();
}

int ZQCreateImage(ZQControlStruct* control, const char* name, ZQImageDataStruct* data,
                  const char* imageType, const char* description, const char* helpText,
                  const char* owner, const char* changeDiary, ZQPropList* properties,
                  ZQStatusList* status) {
  Call<proc::CreateImage> call(control, status);
  if (!call || call.refusedControl() || call.refused(ZQCheckName(name, 0, status)))
    return call.rc();
  if (!data || data->size == 0 || !data->bytes) return call.fail(kMsgImageDataMissing);
  if (!imageType || !*imageType) return call.fail(kMsgImageTypeMissing);
  if (call.refused(checkImageInput(imageType, description, owner, properties, status)))
    return call.rc();
  call.record(diag::Command::CreateImage, name, diag::described(data), imageType, description,
              diag::LongText{helpText}, owner, diag::LongText{changeDiary},
              diag::described(properties));
  if (call.bind()) {
    auto& a = call.args();
    a.name = const_cast<char*>(name);
    fillParts(a.image, data, imageType, description, helpText, owner, changeDiary, properties);
    call.send();
  }
  return call.finish();
}

int ZQDeleteImage(ZQControlStruct* control, const char* name, uint32_t deleteOption,
                  ZQStatusList* status) {
  return defs::deleteByName<proc::DeleteImage>(diag::Command::DeleteImage, control, name,
                                               deleteOption, status);
}

int ZQGetListImage(ZQControlStruct* control, ZQNameList* forms, ZQTimestamp changedSince,
                   const char* imageType, ZQNameList* names, ZQStatusList* status) {
  defs::clear(names);
  Call<proc::GetListImage> call(control, status);
  if (!call || call.refusedControl() || call.refused(checks::checkItems(forms, status)) ||
      call.refused(ZQCheckName(imageType, 1, status)))
    return call.rc();
  if (!names) return call.fail(kMsgNoResultOutput);
  call.record(diag::Command::GetListImage, forms, static_cast<uint32_t>(changedSince), imageType);
  if (call.bind()) {
    auto& a = call.args();
    if (forms) a.forms = *forms;
    a.changedSince = changedSince;
    a.imageType = const_cast<char*>(imageType ? imageType : "");
    if (auto* reply = call.send()) call.raise(defs::convertNames(reply->names, names, status));
  }
  return call.finish(names);
}

int ZQGetMultipleImages(ZQControlStruct* control, ZQTimestamp changedSince, ZQNameList* wantedNames,
                        ZQBooleanList* exists, ZQNameList* names, ZQImageDataList* images,
                        ZQTextStringList* types, ZQTimestampList* timestamps,
                        ZQTextStringList* checksums, ZQTextStringList* descriptions,
                        ZQTextStringList* helpTexts, ZQAccessNameList* owners,
                        ZQAccessNameList* lastChanged, ZQTextStringList* changeDiaries,
                        ZQPropListList* properties, ZQStatusList* status) {
  defs::clearAll(exists, names, images, types, timestamps, checksums, descriptions, helpTexts,
                 owners, lastChanged, changeDiaries, properties);
  Call<proc::GetMultipleImages> call(control, status);
  if (!call || call.refusedControl() ||
      call.refused(checks::checkNameList(wantedNames, true, status)))
    return call.rc();
  call.record(diag::Command::GetMultipleImages, static_cast<uint32_t>(changedSince), wantedNames);
  bool replied = false;
  if (call.bind()) {
    namespace w = transport::wanted;
    auto& a = call.args();
    a.changedSince = changedSince;
    if (wantedNames) a.names = *wantedNames;
    a.wanted = Mask()(exists, w::kMultiImageExists)(names, w::kMultiImageNames)(
                   images, w::kMultiImageData)(types, w::kMultiImageTypes)(
                   timestamps, w::kMultiImageTimestamps)(checksums, w::kMultiImageChecksums)(
                   descriptions, w::kMultiImageDescriptions)(helpTexts, w::kMultiImageHelp)(
                   owners, w::kMultiImageOwners)(lastChanged, w::kMultiImageLastChanged)(
                   changeDiaries, w::kMultiImageDiaries)(properties, w::kMultiImageProperties)
                   .value();
    if (auto* r = call.send()) {
      replied = true;
      defs::take(exists, r->exists);
      defs::take(names, r->names);
      defs::take(images, r->images);
      defs::take(types, r->types);
      defs::take(timestamps, r->timestamps);
      defs::take(checksums, r->checksums);
      defs::take(descriptions, r->descriptions);
      defs::take(helpTexts, r->helpTexts);
      defs::take(owners, r->owners);
      defs::take(lastChanged, r->lastChanged);
      defs::take(changeDiaries, r->diaries);
      defs::take(properties, r->properties);
    }
  }
  if (!replied) return call.finish();
  return call.finish(exists, names, types, checksums, descriptions, helpTexts, timestamps, owners,
                     lastChanged, properties, changeDiaries);
}

}  // extern "C"
