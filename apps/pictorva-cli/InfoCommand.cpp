#include "InfoCommand.h"

#include "CommandLine.h"
#include "PictureFile.h"
#include "Platform.h"
#include "s/str/Decimal.h"

namespace pictorva::cli {

namespace {

using s::str::decimal;

constexpr char kUsage[] =
    "usage: pictorva-cli info FILE...\n"
    "\n"
    "Prints one line per file, fields separated by tabs: the path, the format found in\n"
    "the content (bmp, jpg, gif, png, ico, tiff, heic, avif, webp or unknown), then for\n"
    "pictures the width, height, bit depth, number of images (pages of a TIFF, top-level\n"
    "images of a HEIC or AVIF) and \"animated\" or \"still\".\n"
    "Exits 0 when every file could be read, 1 otherwise.\n";

}  // namespace

int runInfoCommand(const std::vector<std::u16string>& arguments) {
  std::vector<std::u16string> files;
  bool onlyFiles = false;
  for (const std::u16string& argument : arguments) {
    if (!onlyFiles && (argument == u"--help" || argument == u"-h")) {
      writeText(Stream::kOut, widen(kUsage));
      return kExitDone;
    }
    if (!onlyFiles && argument == u"--") {
      onlyFiles = true;
      continue;
    }
    if (!onlyFiles && argument.size() > 1 && argument[0] == u'-') {
      writeText(Stream::kErr, u"pictorva-cli: unknown option \"" + argument + u"\"\n" + widen(kUsage));
      return kExitUsage;
    }
    files.push_back(argument);
  }
  if (files.empty()) {
    writeText(Stream::kErr, u"pictorva-cli: info needs at least one file\n" + widen(kUsage));
    return kExitUsage;
  }
  bool allRead = true;
  for (const std::u16string& path : files) {
    const PictureFile picture = readPicture(absolutePath(path));
    std::u16string line = path + u"\t" + picture.typeWord();
    const bool readable = picture.codec && picture.whole && picture.codec->getWidth() > 0;
    if (picture.codec) {
      const s::image::IEncodedImage& codec = *picture.codec;
      line += u"\t" + decimal(codec.getWidth()) + u"\t" + decimal(codec.getHeight()) + u"\t" +
              decimal(picture.keptDepth()) + u"\t" + decimal(codec.getImageCount()) + u"\t" +
              (picture.isAnimated() ? u"animated" : u"still");
    }
    writeText(Stream::kOut, line + u"\n");
    allRead = allRead && readable;
  }
  return allRead ? kExitDone : kExitFailed;
}

}  // namespace pictorva::cli
