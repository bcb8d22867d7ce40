#pragma once
// giflib as an independent LZW implementation to compare with: whole GIF files in
// memory with one image, written with EGifPutLine and read with DGifGetLine. Used by
// the tests and by bench/lzw_bench.cpp; only compiled where giflib is linked.
#include <gif_lib.h>

#include <cstdint>
#include <cstring>
#include <vector>

namespace giflibpeer {

using Bytes = std::vector<uint8_t>;

struct Reader {
  const Bytes* file;
  size_t position;
};

inline int writeToVector(GifFileType* gif, const GifByteType* bytes, int count) {
  static_cast<Bytes*>(gif->UserData)->insert(static_cast<Bytes*>(gif->UserData)->end(), bytes, bytes + count);
  return count;
}

inline int readFromVector(GifFileType* gif, GifByteType* bytes, int count) {
  Reader* reader = static_cast<Reader*>(gif->UserData);
  size_t left = reader->file->size() - reader->position;
  size_t taken = static_cast<size_t>(count) < left ? static_cast<size_t>(count) : left;
  std::memcpy(bytes, reader->file->data() + reader->position, taken);
  reader->position += taken;
  return static_cast<int>(taken);
}

// A GIF of one width x height image of indices below 2^depth, top row first; empty on
// failure. giflib picks the code size: the depth, at least 2.
inline Bytes encode(const uint8_t* pixels, int width, int height, int depth) {
  Bytes file;
  int error = 0;
  GifFileType* gif = EGifOpen(&file, writeToVector, &error);
  if (!gif) return {};
  ColorMapObject* colours = GifMakeMapObject(1 << depth, nullptr);
  bool ok = colours && EGifPutScreenDesc(gif, width, height, depth, 0, colours) == GIF_OK &&
            EGifPutImageDesc(gif, 0, 0, width, height, false, nullptr) == GIF_OK;
  for (int y = 0; ok && y < height; ++y) {
    ok = EGifPutLine(gif, const_cast<GifPixelType*>(pixels + static_cast<size_t>(y) * width), width) == GIF_OK;
  }
  if (EGifCloseFile(gif, &error) != GIF_OK) ok = false;
  GifFreeMapObject(colours);
  return ok ? file : Bytes{};
}

// Decodes the first image of a GIF into width x height indices; false on any error.
inline bool decode(const Bytes& file, Bytes* pixels, int* width = nullptr, int* height = nullptr) {
  Reader reader{&file, 0};
  int error = 0;
  GifFileType* gif = DGifOpen(&reader, readFromVector, &error);
  if (!gif) return false;
  bool ok = false;
  GifRecordType record;
  while (DGifGetRecordType(gif, &record) == GIF_OK && record != TERMINATE_RECORD_TYPE) {
    if (record == EXTENSION_RECORD_TYPE) {
      int code;
      GifByteType* extension;
      if (DGifGetExtension(gif, &code, &extension) != GIF_OK) break;
      while (extension && DGifGetExtensionNext(gif, &extension) == GIF_OK) {
      }
      continue;
    }
    if (record != IMAGE_DESC_RECORD_TYPE || DGifGetImageDesc(gif) != GIF_OK) break;
    const int w = gif->Image.Width;
    const int h = gif->Image.Height;
    pixels->assign(static_cast<size_t>(w) * static_cast<size_t>(h), 0);
    ok = true;
    for (int y = 0; ok && y < h; ++y) ok = DGifGetLine(gif, pixels->data() + static_cast<size_t>(y) * w, w) == GIF_OK;
    if (width) *width = w;
    if (height) *height = h;
    break;
  }
  DGifCloseFile(gif, &error);
  return ok;
}

// The first image's minimum code size and its sub-blocks gathered without their
// length bytes, from a GIF without extensions before the image (as encode writes it).
inline bool imageData(const Bytes& file, int* codeSize, Bytes* data) {
  if (file.size() < 13) return false;
  size_t at = 13;
  if (file[10] & 0x80) at += 3u << ((file[10] & 7) + 1);
  if (at + 11 > file.size() || file[at] != 0x2C) return false;
  const uint8_t packed = file[at + 9];
  at += 10;
  if (packed & 0x80) at += 3u << ((packed & 7) + 1);
  if (at >= file.size()) return false;
  *codeSize = file[at++];
  data->clear();
  while (at < file.size()) {
    size_t length = file[at++];
    if (length == 0) return true;
    if (file.size() - at < length) return false;
    data->insert(data->end(), file.begin() + static_cast<ptrdiff_t>(at),
                 file.begin() + static_cast<ptrdiff_t>(at + length));
    at += length;
  }
  return false;
}

// A minimal GIF around LZW sub-blocks (terminator included): no colour tables.
inline Bytes wrap(int codeSize, const Bytes& blocks, int width, int height) {
  Bytes file = {'G', 'I', 'F', '8', '9', 'a'};
  auto put16 = [&file](int value) {
    file.push_back(static_cast<uint8_t>(value & 0xFF));
    file.push_back(static_cast<uint8_t>((value >> 8) & 0xFF));
  };
  put16(width);
  put16(height);
  file.insert(file.end(), {0x00, 0x00, 0x00});  // no global table, background, aspect
  file.push_back(0x2C);
  put16(0);
  put16(0);
  put16(width);
  put16(height);
  file.push_back(0x00);  // no local table, not interlaced
  file.push_back(static_cast<uint8_t>(codeSize));
  file.insert(file.end(), blocks.begin(), blocks.end());
  file.push_back(0x3B);
  return file;
}

}  // namespace giflibpeer
