// libFuzzer target for format detection and the BMP reader.
//
// Each input is detected, read as a BMP file (pictures capped at 2^18 pixels by the
// reader's own limit), converted to a pixel image whose every byte is read, and,
// when small, encoded again at its own depth and read back. The last input byte
// also selects a read as a DIB (no file header), which icon files use.
//
// Seeds: PICTORVA_WRITE_SEEDS=dir bmp_fuzzer writes small valid BMPs of every kind
// into dir and exits.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "codec_fuzz_support.h"
#include "s/image/ImageFormat.h"
#include "s/image/bmp/EncodeSetting.h"
#include "s/image/bmp/win/Bitmap.h"
#include "s/image/win/BufferedImage.h"
#include "s/io/IInputStream.h"
#include "s/io/IOutputStream.h"
#include "s/thread/Owned.h"

namespace {

using s::image::bmp::win::Bitmap;
using s::image::win::BufferedImage;
using s::thread::Owned;

constexpr int64_t kMaxPixels = int64_t{1} << 18;

using codec_fuzz::Input;
using codec_fuzz::Output;
using codec_fuzz::sink;
using codec_fuzz::touch;

void exercise(Bitmap* bitmap, bool encodeAgain) {
  Owned<BufferedImage> image(bitmap->toBufferedImage(0, nullptr));
  touch(image.get());
  if (!encodeAgain || image->getPixelCount() == 0 || image->getPixelCount() > 4096) return;
  Owned<s::image::IEncodedImage> again(bitmap->createLike(image.get()));
  if (!again) return;
  Output out;
  again->write(out);
  Input in(out.data.data(), out.data.size());
  Owned<Bitmap> back(Bitmap::create());
  if (!back->read(in)) std::abort();  // what the writer wrote must read back
  Owned<BufferedImage> backImage(back->toBufferedImage(0, nullptr));
  touch(backImage.get());
}

void writeSeed(const std::string& dir, const std::string& name, const std::vector<uint8_t>& bytes) {
  std::string path = dir + "/" + name + ".bmp";
  if (FILE* file = std::fopen(path.c_str(), "wb")) {
    std::fwrite(bytes.data(), 1, bytes.size(), file);
    std::fclose(file);
  }
}

void writeSeeds(const std::string& dir) {
  Owned<BufferedImage> picture(BufferedImage::create());
  picture->create(7, 5);
  for (int y = 0; y < 5; ++y)
    for (int x = 0; x < 7; ++x) {
      uint8_t* p = picture->getLine(y) + 4 * x;
      p[0] = static_cast<uint8_t>(x * 36);
      p[1] = static_cast<uint8_t>(y * 60);
      p[2] = static_cast<uint8_t>((x ^ y) * 30);
      p[3] = static_cast<uint8_t>(x == 3 ? 128 : 255);
    }
  picture->setAlpha(true);
  for (int bitCount : {1, 4, 8, 16, 24, 32}) {
    Owned<s::image::bmp::EncodeSetting> setting = s::thread::make<s::image::bmp::EncodeSetting>();
    setting->bitsPerPixel = bitCount;
    Output out;
    Owned<BufferedImage> copy(picture->copyTo(nullptr));
    copy->writeBmp(out, *setting);
    writeSeed(dir, "depth" + std::to_string(bitCount), out.data);
  }
  // Run-length, bit-field, top-down and OS/2 files, assembled by hand.
  auto header = [](std::vector<uint8_t>& b, uint32_t headerSize, int32_t width, int32_t height, uint16_t bits,
                   uint32_t compression, uint32_t colours) {
    auto u16 = [&](uint32_t v) { b.push_back(static_cast<uint8_t>(v)), b.push_back(static_cast<uint8_t>(v >> 8)); };
    auto u32 = [&](uint32_t v) { u16(v), u16(v >> 16); };
    b = {'B', 'M'};
    u32(0), u32(0), u32(0);  // size, reserved, offset: patched below
    u32(headerSize), u32(static_cast<uint32_t>(width)), u32(static_cast<uint32_t>(height)), u16(1), u16(bits);
    u32(compression), u32(0), u32(0), u32(0), u32(colours), u32(0);
    b.resize(14 + headerSize, 0);
  };
  auto finish = [](std::vector<uint8_t>& b, size_t pixelOffset) {
    for (int i = 0; i < 4; ++i) b[2 + i] = static_cast<uint8_t>(b.size() >> (8 * i));
    for (int i = 0; i < 4; ++i) b[10 + i] = static_cast<uint8_t>(pixelOffset >> (8 * i));
  };
  std::vector<uint8_t> b;
  header(b, 40, 4, 2, 8, 1, 2);
  b.insert(b.end(), {0, 0, 255, 0, 255, 0, 0, 0});  // two colours
  size_t offset = b.size();
  b.insert(b.end(), {3, 1, 0, 0, 0, 4, 1, 0, 1, 0, 0, 1});
  finish(b, offset);
  writeSeed(dir, "rle8", b);
  header(b, 40, 5, 2, 4, 2, 2);
  b.insert(b.end(), {0, 0, 255, 0, 255, 0, 0, 0});
  offset = b.size();
  b.insert(b.end(), {5, 0x10, 0, 0, 0, 2, 1, 1, 0, 3, 0x10, 0x10, 0, 1});
  finish(b, offset);
  writeSeed(dir, "rle4", b);
  header(b, 40, 2, 1, 16, 3, 0);
  b.insert(b.end(), {0, 0xF8, 0, 0, 0xE0, 0x07, 0, 0, 0x1F, 0, 0, 0});  // 5-6-5 masks
  offset = b.size();
  b.insert(b.end(), {0x00, 0xF8, 0xE0, 0x07});
  finish(b, offset);
  writeSeed(dir, "rgb565", b);
  header(b, 124, 2, -2, 32, 3, 0);
  const uint8_t masks[16] = {0, 0, 0xFF, 0, 0, 0xFF, 0, 0, 0xFF, 0, 0, 0, 0, 0, 0, 0xFF};
  std::memcpy(b.data() + 14 + 40, masks, sizeof(masks));
  offset = b.size();
  for (int i = 0; i < 16; ++i) b.push_back(static_cast<uint8_t>(i * 16));
  finish(b, offset);
  writeSeed(dir, "v5topdown", b);
  b = {'B', 'M', 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 12, 0, 0, 0, 2, 0, 1, 0, 1, 0, 8, 0};
  b.insert(b.end(), {0, 0, 255, 255, 0, 0});  // OS/2 core header and 3-byte palette
  offset = b.size();
  b.insert(b.end(), {0, 1, 0, 0});
  finish(b, offset);
  writeSeed(dir, "os2", b);
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  if (const char* dir = std::getenv("PICTORVA_WRITE_SEEDS")) {
    writeSeeds(dir);
    std::exit(0);
  }
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const size_t prefix = size < 100 ? size : 100;
  sink = static_cast<uint32_t>(s::image::ImageFormat::detect(data, prefix, static_cast<int64_t>(size)));
  const uint8_t options = size ? data[size - 1] : 0;

  Input in(data, size);
  Owned<Bitmap> bitmap(Bitmap::create());
  (void)bitmap->readLimited(in, kMaxPixels);
  exercise(bitmap.get(), (options & 2) != 0);

  if ((options & 1) && size > 14) {
    // The same bytes as a DIB, as an icon file holds them.
    Input dib(data + 14, size - 14);
    Owned<Bitmap> fromDib(Bitmap::create());
    (void)fromDib->readDibLimited(dib, kMaxPixels);
    exercise(fromDib.get(), false);
  }
  return 0;
}
