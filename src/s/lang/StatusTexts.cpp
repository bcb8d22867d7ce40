#include "s/lang/StatusTexts.h"

namespace s::lang {

std::u16string_view StatusTexts::english(int32_t id) {
  switch (id) {
    case kReady: return u"Ready";
    case kDone: return u"Done!";
    case kCanceling: return u"Canceling..";
    case kMakingThumbnails: return u"Making thumbnails...";
    case kReadingSizes: return u"Reading picture sizes...";
    case kFailed: return u"Failed: not everything could be written.";
    case kUnreadableCount: return u"%1 of %2 pictures could not be read";
    case kAndMore: return u"and %1 more";
    case kUnreadableHeading: return u"These pictures could not be read:";
    case kCouldNotCreateFolder: return u"Could not create the gallery folder";
    case kCouldNotCopy: return u"Could not copy";
    case kCouldNotMakeSmallCopy: return u"Could not make the small copy";
    case kCouldNotWriteSmallCopy: return u"Could not write the small copy";
    case kCouldNotWritePage: return u"Could not write the page";
    case kCouldNotMakeAlbumCopies: return u"Could not make the album copies of";
    case kCouldNotMakeBrowserCopy: return u"Could not make the browser copy of";
    case kCouldNotWriteBrowserCopy: return u"Could not write the browser copy";
    case kDamaged: return u"damaged or truncated";
    case kTooLarge: return u"larger than the limit: %1 x %2 pixels, the limit is %3 pixels";
    case kUnsupported: return u"a variant that is not supported: %1";
    case kAnimationCut: return u"an animation cut at %1 frames, the limit";
    case kNoPicturesInFolder: return u"a folder without pictures";
    case kTooManyFramePixels: return u"larger than the limit: %1 pixels in its frames, the limit is %2 pixels";
    default: return {};
  }
}

std::u16string StatusTexts::fill(std::u16string_view text, std::initializer_list<std::u16string_view> values) {
  std::u16string out;
  out.reserve(text.size() + 16);
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == u'%' && i + 1 < text.size() && text[i + 1] >= u'1' && text[i + 1] <= u'9') {
      const size_t n = static_cast<size_t>(text[i + 1] - u'1');
      if (n < values.size()) {
        out += *(values.begin() + n);
        ++i;
        continue;
      }
    }
    out.push_back(text[i]);
  }
  return out;
}

}  // namespace s::lang
