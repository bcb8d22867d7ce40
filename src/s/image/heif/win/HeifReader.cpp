#include "s/image/heif/win/HeifReader.h"

#include <libheif/heif.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <mutex>
#include <vector>

#include "s/image/ColourProfile.h"
#include "s/image/bmp/win/Bitmap.h"
#include "s/image/heif/win/Heif.h"

namespace s::image::heif::win {

namespace {

using bmp::win::Bitmap;

struct ContextFree {
  void operator()(heif_context* context) const { heif_context_free(context); }
};
struct HandleRelease {
  void operator()(heif_image_handle* handle) const { heif_image_handle_release(handle); }
};
struct ImageRelease {
  void operator()(heif_image* image) const { heif_image_release(image); }
};
struct OptionsFree {
  void operator()(heif_decoding_options* options) const { heif_decoding_options_free(options); }
};

void initialiseLibrary() {
  static std::once_flag once;
  std::call_once(once, [] { (void)heif_init(nullptr); });
}

// The primary image's ICC profile, when its colour is described by one.
ColourProfile profileOf(const heif_image_handle* handle) {
  const heif_color_profile_type type = heif_image_handle_get_color_profile_type(handle);
  if (type != heif_color_profile_type_prof && type != heif_color_profile_type_rICC) return {};
  const size_t size = heif_image_handle_get_raw_color_profile_size(handle);
  // An empty "prof" box (some files hold one) has no profile.
  if (size == 0 || size > ColourProfile::kMaxBytes) return {};
  std::vector<uint8_t> bytes(size);
  if (heif_image_handle_get_raw_color_profile(handle, bytes.data()).code != heif_error_Ok) return {};
  return ColourProfile::fromBytes(bytes.data(), bytes.size());
}

// A colour description libheif cannot use: an nclx box it fails to read (it does
// so for matrix coefficients it does not know, such as YCgCo-Re and YCgCo-Ro,
// H.273 codes 16 and 17, and would then decode with another matrix, to wrong
// colours), or one that names those codes.
bool hasUnknownMatrix(const heif_image_handle* handle) {
  if (heif_image_handle_get_color_profile_type(handle) != heif_color_profile_type_nclx) return false;
  heif_color_profile_nclx* nclx = nullptr;
  const bool read = heif_image_handle_get_nclx_color_profile(handle, &nclx).code == heif_error_Ok;
  const int matrix = nclx ? nclx->matrix_coefficients : 0;
  if (nclx) heif_nclx_color_profile_free(nclx);
  return !read || matrix == 16 || matrix == 17;
}

// One row of interleaved 8-bit samples (RGB or RGBA) as blue, green, red, alpha;
// answers the and of the alphas. Premultiplied colour is divided by its alpha
// again, rounded.
uint8_t convertRow(const uint8_t* samples, int width, bool withAlpha, bool premultiplied, uint8_t* bgra) {
  if (!withAlpha) {
    for (int x = 0; x < width; ++x, samples += 3, bgra += 4) {
      bgra[0] = samples[2];
      bgra[1] = samples[1];
      bgra[2] = samples[0];
      bgra[3] = 255;
    }
    return 255;
  }
  uint8_t alphas = 255;
  if (!premultiplied) {
    // Red and blue swapped within each 32-bit pixel, read as a little-endian word.
    static_assert(__BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__, "pixels are read as little-endian words");
    uint32_t alphaBits = 0xFF000000u;
    for (int x = 0; x < width; ++x, samples += 4, bgra += 4) {
      uint32_t pixel;
      std::memcpy(&pixel, samples, 4);
      alphaBits &= pixel;
      pixel = (pixel & 0xFF00FF00u) | ((pixel >> 16) & 0xFFu) | ((pixel & 0xFFu) << 16);
      std::memcpy(bgra, &pixel, 4);
    }
    return static_cast<uint8_t>(alphaBits >> 24);
  }
  for (int x = 0; x < width; ++x, samples += 4, bgra += 4) {
    const unsigned alpha = samples[3];
    alphas &= samples[3];
    for (int k = 0; k < 3; ++k) {
      // A premultiplied sample is at most its alpha; a damaged one is clamped.
      const unsigned value = alpha == 0 || alpha == 255 ? samples[2 - k] : (samples[2 - k] * 255u + alpha / 2) / alpha;
      bgra[k] = static_cast<uint8_t>(value > 255 ? 255 : value);
    }
    bgra[3] = static_cast<uint8_t>(alpha);
  }
  return alphas;
}

// The top-level images libheif lists that are no part of another picture. (libheif
// 1.15 lists grid tiles and other derivation inputs that the file does not mark
// hidden.)
int countPictures(heif_context* context, const HeifStructure& structure) {
  const int listed = heif_context_get_number_of_top_level_images(context);
  if (listed <= 0) return 0;
  std::vector<heif_item_id> ids(static_cast<size_t>(listed));
  const int got = heif_context_get_list_of_top_level_image_IDs(context, ids.data(), listed);
  int pictures = 0;
  for (int i = 0; i < got && i < listed; ++i)
    if (!std::binary_search(structure.derivationInputs.begin(), structure.derivationInputs.end(),
                            static_cast<uint32_t>(ids[static_cast<size_t>(i)])))
      ++pictures;
  // The primary image is a picture whatever the references say.
  return pictures > 0 ? pictures : 1;
}

}  // namespace

HeifReader::HeifReader(Heif& heif, int64_t maxPixels)
    : heif_(heif), maxPixels_(maxPixels < Bitmap::kMaxPixels ? maxPixels : Bitmap::kMaxPixels) {}

HeifReadStatus HeifReader::read(const uint8_t* data, size_t size) {
  HeifStructure structure;
  check_ = IsoBoxes::check(data, size, maxPixels_, &structure);
  if (check_ == HeifCheck::kPictureTooLarge) return HeifReadStatus::kPictureTooLarge;
  if (check_ != HeifCheck::kOk) return HeifReadStatus::kStructure;
  try {
    return decode(data, size, structure);
  } catch (...) {
    return HeifReadStatus::kLibrary;
  }
}

HeifReadStatus HeifReader::decode(const uint8_t* data, size_t size, const HeifStructure& structure) {
  initialiseLibrary();
  std::unique_ptr<heif_context, ContextFree> context(heif_context_alloc());
  if (!context) return HeifReadStatus::kLibrary;
  heif_context_set_maximum_image_size_limit(context.get(), static_cast<int>(IsoBoxes::kMaxSide));
  if (heif_context_read_from_memory_without_copy(context.get(), data, size, nullptr).code != heif_error_Ok)
    return HeifReadStatus::kLibrary;
  heif_image_handle* primary = nullptr;
  if (heif_context_get_primary_image_handle(context.get(), &primary).code != heif_error_Ok || !primary)
    return HeifReadStatus::kLibrary;
  std::unique_ptr<heif_image_handle, HandleRelease> handle(primary);
  // The size after the file's geometry (clap, irot) is applied.
  const int width = heif_image_handle_get_width(handle.get());
  const int height = heif_image_handle_get_height(handle.get());
  if (width <= 0 || height <= 0) return HeifReadStatus::kLibrary;
  if (static_cast<int64_t>(width) * height > maxPixels_) return HeifReadStatus::kPictureTooLarge;
  const bool withAlpha = heif_image_handle_has_alpha_channel(handle.get()) != 0;
  if (hasUnknownMatrix(handle.get())) return HeifReadStatus::kUnsupportedColour;

  std::unique_ptr<heif_decoding_options, OptionsFree> options(heif_decoding_options_alloc());
  if (!options) return HeifReadStatus::kLibrary;
  options->convert_hdr_to_8bit = 1;
  heif_image* decodedImage = nullptr;
  if (heif_decode_image(handle.get(), &decodedImage, heif_colorspace_RGB,
                        withAlpha ? heif_chroma_interleaved_RGBA : heif_chroma_interleaved_RGB, options.get())
              .code != heif_error_Ok ||
      !decodedImage)
    return HeifReadStatus::kLibrary;
  std::unique_ptr<heif_image, ImageRelease> image(decodedImage);
  const int imageWidth = heif_image_get_width(image.get(), heif_channel_interleaved);
  const int imageHeight = heif_image_get_height(image.get(), heif_channel_interleaved);
  int stride = 0;
  const uint8_t* plane = heif_image_get_plane_readonly(image.get(), heif_channel_interleaved, &stride);
  const int channels = withAlpha ? 4 : 3;
  if (!plane || imageWidth <= 0 || imageHeight <= 0 ||
      heif_image_get_bits_per_pixel_range(image.get(), heif_channel_interleaved) != 8 ||
      stride < imageWidth * channels)
    return HeifReadStatus::kUnexpectedImage;
  if (static_cast<int64_t>(imageWidth) * imageHeight > maxPixels_) return HeifReadStatus::kPictureTooLarge;

  Bitmap& raster = *heif_.getRaster();
  // Every row is converted below.
  if (!raster.createForOverwrite(imageWidth, imageHeight, 32)) return HeifReadStatus::kRasterRefused;
  const bool premultiplied = withAlpha && heif_image_is_premultiplied_alpha(image.get()) != 0;
  uint8_t alphas = 255;
  for (int y = 0; y < imageHeight; ++y)
    alphas &= convertRow(plane + static_cast<ptrdiff_t>(y) * stride, imageWidth, withAlpha, premultiplied,
                         raster.getRow(y));
  heif_.setColourProfile(profileOf(handle.get()));
  const int bitDepth = heif_image_handle_get_luma_bits_per_pixel(handle.get());
  heif_.setFileValues(structure.kind == HeifKind::kAvif,
                      countPictures(context.get(), structure), bitDepth > 0 ? bitDepth : 8,
                      alphas != 255);
  return HeifReadStatus::kDecoded;
}

}  // namespace s::image::heif::win
