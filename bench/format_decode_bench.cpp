// Decoding HEIC, AVIF, WebP and TIFF: our path (the file's bytes through the
// codec into a pixel image: our structure checks, the library's decode, the
// conversion into blue, green, red, alpha and the copy into the pixel image)
// against the library's own decode to RGBA, on the same files in the same run.
//
// Files: a few of the shared test data (when present) and, per format, a larger
// photo-like picture made at start with the library's own encoder (the sample
// meadow.jpg, enlarged, with a little noise): 3200 x 2400 for WebP and TIFF,
// 1600 x 1200 for HEIC and AVIF (their encoders are slow).
#include <benchmark/benchmark.h>

#include <libheif/heif.h>
#include <tiffio.h>
#include <webp/decode.h>
#include <webp/encode.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "s/image/heif/win/Heif.h"
#include "s/image/jpg/win/Jpeg.h"
#include "s/image/tiff/win/Tiff.h"
#include "s/image/webp/win/Webp.h"
#include "s/image/win/BufferedImage.h"
#include "s/io/IInputStream.h"
#include "s/io/MemoryInput.h"
#include "s/thread/Owned.h"

namespace {

using s::image::win::BufferedImage;
using s::io::MemoryInput;
using s::thread::Owned;

using Bytes = std::vector<uint8_t>;

Bytes readFile(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  return Bytes(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

// The bytes as a stream, without a copy.

// ---- the photo-like source: meadow.jpg enlarged, RGB top row first ----

struct Rgb {
  int width = 0;
  int height = 0;
  Bytes pixels;
};

Rgb photoLike(int width, int height) {
  const Bytes meadow = readFile(std::string(PICTORVA_SOURCE_DIR) + "/samples/meadow.jpg");
  MemoryInput in(meadow.data(), meadow.size());
  Rgb rgb;
  Owned<s::image::jpg::win::Jpeg> jpeg(s::image::jpg::win::Jpeg::create());
  if (!jpeg->read(in)) return rgb;
  Owned<BufferedImage> small(jpeg->toBufferedImage(0, nullptr));
  BufferedImage* large = small->scaledCopy(width, height, false);
  rgb.width = large->getWidth();
  rgb.height = large->getHeight();
  uint32_t noise = 1;
  for (int y = 0; y < rgb.height; ++y) {
    const uint8_t* line = large->getLine(y);
    for (int x = 0; x < rgb.width; ++x, line += 4) {
      noise = noise * 1664525u + 1013904223u;
      const int grain = static_cast<int>((noise >> 28) & 7) - 3;
      for (int c = 2; c >= 0; --c) rgb.pixels.push_back(static_cast<uint8_t>(std::clamp(line[c] + grain, 0, 255)));
    }
  }
  return rgb;
}

Bytes encodeWebp(const Rgb& rgb) {
  uint8_t* output = nullptr;
  const size_t size = WebPEncodeRGB(rgb.pixels.data(), rgb.width, rgb.height, rgb.width * 3, 75, &output);
  Bytes bytes(output, output + size);
  WebPFree(output);
  return bytes;
}

struct HeifWriter {
  static heif_error write(heif_context*, const void* data, size_t size, void* userdata) {
    auto* bytes = static_cast<Bytes*>(userdata);
    bytes->insert(bytes->end(), static_cast<const uint8_t*>(data), static_cast<const uint8_t*>(data) + size);
    return heif_error{heif_error_Ok, heif_suberror_Unspecified, ""};
  }
};

Bytes encodeHeif(const Rgb& rgb, heif_compression_format format) {
  Bytes bytes;
  heif_context* context = heif_context_alloc();
  heif_encoder* encoder = nullptr;
  heif_image* image = nullptr;
  if (heif_context_get_encoder_for_format(context, format, &encoder).code == heif_error_Ok &&
      heif_image_create(rgb.width, rgb.height, heif_colorspace_RGB, heif_chroma_interleaved_RGB, &image).code ==
          heif_error_Ok &&
      heif_image_add_plane(image, heif_channel_interleaved, rgb.width, rgb.height, 8).code == heif_error_Ok) {
    int stride = 0;
    uint8_t* plane = heif_image_get_plane(image, heif_channel_interleaved, &stride);
    for (int y = 0; y < rgb.height; ++y)
      std::memcpy(plane + static_cast<ptrdiff_t>(y) * stride, rgb.pixels.data() + static_cast<size_t>(y) * rgb.width * 3,
                  static_cast<size_t>(rgb.width) * 3);
    heif_encoder_set_lossy_quality(encoder, 60);
    if (format == heif_compression_AV1) heif_encoder_set_parameter_integer(encoder, "speed", 8);
    heif_writer writer{1, HeifWriter::write};
    if (heif_context_encode_image(context, image, encoder, nullptr, nullptr).code == heif_error_Ok)
      heif_context_write(context, &writer, &bytes);
  }
  if (image) heif_image_release(image);
  if (encoder) heif_encoder_release(encoder);
  heif_context_free(context);
  return bytes;
}

Bytes encodeTiff(const Rgb& rgb, uint16_t compression) {
  const std::filesystem::path path = std::filesystem::temp_directory_path() / "pictorva-bench.tif";
  TIFF* tif = TIFFOpen(path.string().c_str(), "w");
  if (!tif) return {};
  TIFFSetField(tif, TIFFTAG_IMAGEWIDTH, rgb.width);
  TIFFSetField(tif, TIFFTAG_IMAGELENGTH, rgb.height);
  TIFFSetField(tif, TIFFTAG_BITSPERSAMPLE, 8);
  TIFFSetField(tif, TIFFTAG_SAMPLESPERPIXEL, 3);
  TIFFSetField(tif, TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_RGB);
  TIFFSetField(tif, TIFFTAG_PLANARCONFIG, PLANARCONFIG_CONTIG);
  TIFFSetField(tif, TIFFTAG_COMPRESSION, compression);
  if (compression == COMPRESSION_ADOBE_DEFLATE || compression == COMPRESSION_LZW)
    TIFFSetField(tif, TIFFTAG_PREDICTOR, PREDICTOR_HORIZONTAL);
  TIFFSetField(tif, TIFFTAG_ROWSPERSTRIP, 16);
  for (int y = 0; y < rgb.height; ++y)
    TIFFWriteScanline(tif, const_cast<uint8_t*>(rgb.pixels.data()) + static_cast<size_t>(y) * rgb.width * 3,
                      static_cast<uint32_t>(y), 0);
  TIFFClose(tif);
  Bytes bytes = readFile(path.string());
  std::filesystem::remove(path);
  return bytes;
}

// ---- the libraries' own decodes to RGBA ----

void libheifDecode(const Bytes& bytes) {
  heif_context* context = heif_context_alloc();
  heif_image_handle* handle = nullptr;
  heif_image* image = nullptr;
  heif_decoding_options* options = heif_decoding_options_alloc();
  options->convert_hdr_to_8bit = 1;
  if (heif_context_read_from_memory_without_copy(context, bytes.data(), bytes.size(), nullptr).code == heif_error_Ok &&
      heif_context_get_primary_image_handle(context, &handle).code == heif_error_Ok)
    heif_decode_image(handle, &image, heif_colorspace_RGB, heif_chroma_interleaved_RGBA, options);
  if (!image) std::abort();
  int stride = 0;
  benchmark::DoNotOptimize(heif_image_get_plane_readonly(image, heif_channel_interleaved, &stride));
  heif_image_release(image);
  heif_decoding_options_free(options);
  heif_image_handle_release(handle);
  heif_context_free(context);
}

void libwebpDecode(const Bytes& bytes) {
  int width = 0;
  int height = 0;
  uint8_t* pixels = WebPDecodeRGBA(bytes.data(), bytes.size(), &width, &height);
  if (!pixels) std::abort();
  benchmark::DoNotOptimize(pixels);
  WebPFree(pixels);
}

struct TiffMemory {
  const Bytes* bytes;
  uint64_t position;
};

void libtiffDecode(const Bytes& bytes) {
  TiffMemory memory{&bytes, 0};
  auto read = [](thandle_t h, void* buffer, tmsize_t count) -> tmsize_t {
    auto* m = static_cast<TiffMemory*>(h);
    const uint64_t left = m->position < m->bytes->size() ? m->bytes->size() - m->position : 0;
    const uint64_t n = std::min<uint64_t>(left, static_cast<uint64_t>(count));
    std::memcpy(buffer, m->bytes->data() + m->position, n);
    m->position += n;
    return static_cast<tmsize_t>(n);
  };
  auto write = [](thandle_t, void*, tmsize_t) -> tmsize_t { return 0; };
  auto seek = [](thandle_t h, toff_t offset, int whence) -> toff_t {
    auto* m = static_cast<TiffMemory*>(h);
    m->position = whence == SEEK_SET ? offset : whence == SEEK_CUR ? m->position + offset : m->bytes->size() + offset;
    return m->position;
  };
  auto close = [](thandle_t) { return 0; };
  auto size = [](thandle_t h) -> toff_t { return static_cast<TiffMemory*>(h)->bytes->size(); };
  auto map = [](thandle_t h, void** base, toff_t* length) {
    auto* m = static_cast<TiffMemory*>(h);
    *base = const_cast<uint8_t*>(m->bytes->data());
    *length = m->bytes->size();
    return 1;
  };
  auto unmap = [](thandle_t, void*, toff_t) {};
  TIFF* tif = TIFFClientOpen("bench", "r", &memory, read, write, seek, close, size, map, unmap);
  if (!tif) std::abort();
  uint32_t width = 0;
  uint32_t height = 0;
  TIFFGetField(tif, TIFFTAG_IMAGEWIDTH, &width);
  TIFFGetField(tif, TIFFTAG_IMAGELENGTH, &height);
  std::vector<uint32_t> raster(static_cast<size_t>(width) * height);
  if (!TIFFReadRGBAImageOriented(tif, width, height, raster.data(), ORIENTATION_TOPLEFT, 0)) std::abort();
  benchmark::DoNotOptimize(raster.data());
  TIFFClose(tif);
}

// ---- ours ----

template <class Codec>
void ourDecode(const Bytes& bytes) {
  MemoryInput in(bytes.data(), bytes.size());
  Owned<Codec> codec(Codec::create());
  if (!codec->read(in)) std::abort();
  Owned<BufferedImage> image(codec->toBufferedImage(0, nullptr));
  benchmark::DoNotOptimize(image->getBits());
}

// ---- registration ----

void add(const std::string& name, const Bytes& bytes, void (*ours)(const Bytes&), void (*library)(const Bytes&)) {
  if (bytes.empty()) {
    std::fprintf(stderr, "%s: no file\n", name.c_str());
    return;
  }
  benchmark::RegisterBenchmark((name + "/ours").c_str(), [&bytes, ours](benchmark::State& state) {
    for (auto _ : state) ours(bytes);
  })->Unit(benchmark::kMillisecond)->UseRealTime();
  benchmark::RegisterBenchmark((name + "/library").c_str(), [&bytes, library](benchmark::State& state) {
    for (auto _ : state) library(bytes);
  })->Unit(benchmark::kMillisecond)->UseRealTime();
}

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  const std::string testdata = PICTORVA_TESTDATA;
  const Rgb large = photoLike(3200, 2400);
  const Rgb medium = photoLike(1600, 1200);
  // Kept for the whole run: the benchmarks hold references.
  static std::vector<std::pair<std::string, Bytes>> files;
  files.reserve(16);
  auto keep = [](const std::string& name, Bytes bytes) -> const Bytes& {
    files.emplace_back(name, std::move(bytes));
    return files.back().second;
  };
  using s::image::heif::win::Heif;
  using s::image::tiff::win::Tiff;
  using s::image::webp::win::Webp;
  add("heic/photo-1600x1200", keep("heic", encodeHeif(medium, heif_compression_HEVC)), ourDecode<Heif>, libheifDecode);
  add("heic/example-1280x854", keep("", readFile(testdata + "/heif/libheif/examples/example.heic")), ourDecode<Heif>,
      libheifDecode);
  add("heic/spatial-2560x2560-grid", keep("", readFile(testdata + "/heif/pillow_heif/heif_other/spatial_photo.heic")),
      ourDecode<Heif>, libheifDecode);
  add("avif/photo-1600x1200", keep("avif", encodeHeif(medium, heif_compression_AV1)), ourDecode<Heif>, libheifDecode);
  add("avif/kimono-722x1024", keep("", readFile(testdata + "/avif/link-u/kimono.avif")), ourDecode<Heif>,
      libheifDecode);
  add("avif/bbb-alpha-3840x2160", keep("", readFile(testdata + "/avif/av1-avif/Microsoft/bbb_alpha_inverted.avif")),
      ourDecode<Heif>, libheifDecode);
  add("webp/photo-3200x2400-lossy", keep("webp", encodeWebp(large)), ourDecode<Webp>, libwebpDecode);
  add("webp/yellow-rose-400x301-alpha", keep("", readFile(testdata + "/webp/golang-image/yellow_rose.lossy-with-alpha.webp")),
      ourDecode<Webp>, libwebpDecode);
  add("webp/multi-color-300x300-lossless",
      keep("", readFile(testdata + "/webp/image-rs/images/webp/lossless_images/multi-color.webp")), ourDecode<Webp>,
      libwebpDecode);
  add("tiff/photo-3200x2400-none", keep("tiff", encodeTiff(large, COMPRESSION_NONE)), ourDecode<Tiff>, libtiffDecode);
  add("tiff/photo-3200x2400-lzw", keep("tiff", encodeTiff(large, COMPRESSION_LZW)), ourDecode<Tiff>, libtiffDecode);
  add("tiff/photo-3200x2400-deflate", keep("tiff", encodeTiff(large, COMPRESSION_ADOBE_DEFLATE)), ourDecode<Tiff>,
      libtiffDecode);
  add("tiff/g4-multi-3307x4677", keep("", readFile(testdata + "/tiff/pillow/g4-multi.tiff")), ourDecode<Tiff>,
      libtiffDecode);
  add("tiff/quad-jpeg-512x384", keep("", readFile(testdata + "/tiff/image-tiff/libtiffpic/quad-jpeg.tif")),
      ourDecode<Tiff>, libtiffDecode);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
