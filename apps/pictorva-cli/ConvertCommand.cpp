#include "ConvertCommand.h"

#include <cstdint>
#include <cstdlib>

#include "CommandLine.h"
#include "PictureFile.h"
#include "Platform.h"
#include "s/file/win/PathWin.h"
#include "s/image/ISettingStore.h"
#include "s/image/bmp/EncodeSetting.h"
#include "s/image/filters/sharpness/Sharpness.h"
#include "s/image/gif/EncodeSetting.h"
#include "s/image/ico/EncodeSetting.h"
#include "s/image/jpg/EncodeSetting.h"
#include "s/image/png/EncodeSetting.h"
#include "s/image/webp/EncodeSetting.h"
#include "s/image/win/BufferedImage.h"
#include "s/image/win/BufferedImageSet.h"
#include "s/str/strbuffer/CaseMap.h"

namespace pictorva::cli {

namespace {

using s::image::IEncodedImage;
using s::image::IEncodeSetting;
using s::image::ImageType;
using s::image::win::BufferedImageSet;
using s::thread::Owned;

constexpr char kUsage[] =
    "usage: pictorva-cli convert IN OUT [--sharpen N]\n"
    "\n"
    "Reads IN (its format is found in the content: also TIFF, HEIC, AVIF and WebP) and\n"
    "writes OUT in the format its extension names: .bmp, .jpg, .jpeg, .gif, .png, .ico or\n"
    ".webp. Between files of one format the picture keeps its depth, its images and its\n"
    "animation, as gallery small copies do (a WebP stays lossy or lossless); otherwise\n"
    "the first picture is written with the format's default settings (WebP: lossy at\n"
    "quality 75). JPEG, PNG and WebP carry IN's colour profile. An existing OUT is never\n"
    "replaced.\n"
    "\n"
    "  --sharpen N   sharpen with strength N first (1..152; a negative N blurs)\n";

// The settings store of a program without saved settings: every read answers its
// default.
class DefaultsOnlyStore final : public s::image::ISettingStore {
 public:
  int32_t getS32(const char16_t*, const char16_t*, int32_t defaultValue) override { return defaultValue; }
  bool getBool(const char16_t*, const char16_t*, bool defaultValue) override { return defaultValue; }
  void setS32(const char16_t*, const char16_t*, int32_t) override {}
  void setBool(const char16_t*, const char16_t*, bool) override {}
};

ImageType typeOfExtension(std::u16string_view extension) {
  std::u16string lower(extension);
  for (char16_t& unit : lower) unit = s::str::strbuffer::CaseMap::toLowerAscii(unit);
  if (lower == u".bmp") return ImageType::kBmp;
  if (lower == u".jpg" || lower == u".jpeg") return ImageType::kJpg;
  if (lower == u".gif") return ImageType::kGif;
  if (lower == u".png") return ImageType::kPng;
  if (lower == u".ico") return ImageType::kIco;
  if (lower == u".webp") return ImageType::kWebp;
  return ImageType::kUnknown;
}

// The format's settings record as load fills it from the store's defaults.
Owned<IEncodeSetting> defaultSettings(ImageType type) {
  Owned<IEncodeSetting> setting;
  switch (type) {
    case ImageType::kBmp: setting.reset(s::image::bmp::EncodeSetting::create()); break;
    case ImageType::kJpg: setting.reset(s::image::jpg::EncodeSetting::create()); break;
    case ImageType::kGif: setting.reset(s::image::gif::EncodeSetting::create()); break;
    case ImageType::kPng: setting.reset(s::image::png::EncodeSetting::create()); break;
    case ImageType::kIco: setting.reset(s::image::ico::EncodeSetting::create()); break;
    case ImageType::kWebp: setting.reset(s::image::webp::EncodeSetting::create()); break;
    default: return setting;
  }
  DefaultsOnlyStore store;
  setting->bind(u"", &store);
  // The record keeps no use of the store after loading.
  setting->bind(u"", nullptr);
  return setting;
}

// A whole decimal number within int's range.
bool parseStrength(std::u16string_view text, int* value) {
  std::string digits(text.begin(), text.end());
  if (digits.empty() || digits.size() > 11) return false;
  char* end = nullptr;
  const long long parsed = std::strtoll(digits.c_str(), &end, 10);
  if (*end != '\0' || parsed < INT32_MIN || parsed > INT32_MAX) return false;
  *value = static_cast<int>(parsed);
  return true;
}

int fail(const std::u16string& message) {
  writeText(Stream::kErr, u"pictorva-cli: " + message + u"\n");
  return kExitFailed;
}

}  // namespace

int runConvertCommand(const std::vector<std::u16string>& arguments) {
  std::vector<std::u16string> paths;
  bool sharpen = false;
  int strength = 0;
  for (size_t i = 0; i < arguments.size(); ++i) {
    const std::u16string& argument = arguments[i];
    if (argument == u"--help" || argument == u"-h") {
      writeText(Stream::kOut, widen(kUsage));
      return kExitDone;
    }
    if (argument == u"--sharpen" || argument.rfind(u"--sharpen=", 0) == 0) {
      std::u16string value;
      if (argument != u"--sharpen") {
        value = argument.substr(std::u16string_view(u"--sharpen=").size());
      } else if (i + 1 < arguments.size()) {
        value = arguments[++i];
      }
      if (!parseStrength(value, &strength)) {
        writeText(Stream::kErr, u"pictorva-cli: --sharpen needs a whole number\n" + widen(kUsage));
        return kExitUsage;
      }
      sharpen = true;
      continue;
    }
    if (argument.size() > 1 && argument[0] == u'-') {
      writeText(Stream::kErr, u"pictorva-cli: unknown option \"" + argument + u"\"\n" + widen(kUsage));
      return kExitUsage;
    }
    paths.push_back(argument);
  }
  if (paths.size() != 2) {
    writeText(Stream::kErr, u"pictorva-cli: convert needs IN and OUT\n" + widen(kUsage));
    return kExitUsage;
  }
  const std::u16string& in = paths[0];
  const std::u16string& out = paths[1];

  Owned<s::file::win::PathWin> target(s::file::win::PathWin::fromText(absolutePath(out)));
  const ImageType targetType = typeOfExtension(target->getExtension().view());
  if (targetType == ImageType::kUnknown)
    return fail(u"\"" + out + u"\": unknown output format (use .bmp, .jpg, .jpeg, .gif, .png, .ico or .webp)");
  const std::u16string taken = u"\"" + out + u"\" already exists; it is not replaced";
  if (target->exists()) return fail(taken);

  PictureFile picture = readPicture(absolutePath(in));
  if (!picture.codec || picture.codec->getWidth() <= 0 || picture.codec->getHeight() <= 0)
    return fail(u"\"" + in + u"\" could not be read as a picture");

  Owned<BufferedImageSet> set(picture.codec->toImageSet(0));
  if (set && set->isAnimated()) {
    Owned<BufferedImageSet> composed(set->composeFrames());
    set = std::move(composed);
  }
  if (!set || set->getCount() == 0 || !set->getPrimary())
    return fail(u"\"" + in + u"\" could not be read as a picture");
  if (sharpen) {
    for (int i = 0; i < set->getCount(); ++i)
      set->getImage(i)->addFilter(s::image::filters::sharpness::Sharpness::newSharpness(strength));
  }

  Owned<IEncodedImage> result;
  if (targetType == picture.type) {
    // As a gallery's small copy: depth, images and animation kept.
    result.reset(picture.codec->createLike(set.get()));
  } else {
    Owned<IEncodeSetting> setting = defaultSettings(targetType);
    result.reset(setting->encodeImage(set->getPrimary()));
    if (result) result->setColourProfile(set->getColourProfile());
  }
  if (!result) return fail(u"\"" + in + u"\" could not be encoded for \"" + out + u"\"");
  if (target->exists()) return fail(taken);  // made while IN was read
  if (!result->save(target.get())) {
    // A file left incomplete by a failed write is not left behind.
    target->remove(false);
    return fail(u"\"" + out + u"\" could not be written");
  }
  return kExitDone;
}

}  // namespace pictorva::cli
