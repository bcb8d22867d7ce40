#pragma once
// What the gallery run's tests share: pictures made on the fly, file helpers, and a
// run whose events this thread receives and records.
#include <gtest/gtest.h>

#include <condition_variable>
#include <algorithm>
#include <cctype>
#include <cstring>
#include <filesystem>
#include <functional>
#include <memory>
#include <mutex>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "file/TempFolder.h"
#include "s/thread/JobEvent.h"
#include "s/image/gui/dialogs/pictorva/GalleryRun.h"
#include "s/image/gui/dialogs/pictorva/IGalleryProgress.h"
#include "s/image/win/BufferedImage.h"
#include "s/str/strarray/StrArray.h"

namespace gallery_testing {

using s::thread::JobEvent;
using s::image::gui::dialogs::pictorva::GalleryRun;
using s::image::gui::dialogs::pictorva::Setting;
using s::image::win::BufferedImage;
using s::thread::Owned;
namespace pictorva = s::image::gui::dialogs::pictorva;

// A 24-bit bottom-up BMP of width x height in one grey level.
inline std::vector<uint8_t> bmpBytes(int width, int height, uint8_t grey = 128) {
  const int rowBytes = (width * 3 + 3) & ~3;
  const uint32_t pixelBytes = static_cast<uint32_t>(rowBytes * height);
  std::vector<uint8_t> bytes(54 + pixelBytes, grey);
  auto put32 = [&](size_t at, uint32_t value) { std::memcpy(&bytes[at], &value, 4); };
  auto put16 = [&](size_t at, uint16_t value) { std::memcpy(&bytes[at], &value, 2); };
  bytes[0] = 'B';
  bytes[1] = 'M';
  put32(2, 54 + pixelBytes);  // file size
  put32(6, 0);                // reserved
  put32(10, 54);              // pixel data offset
  put32(14, 40);              // information header size
  put32(18, static_cast<uint32_t>(width));
  put32(22, static_cast<uint32_t>(height));
  put16(26, 1);   // planes
  put16(28, 24);  // bits per pixel
  put32(30, 0);   // no compression
  put32(34, pixelBytes);
  put32(38, 2835);  // 72 dpi
  put32(42, 2835);
  put32(46, 0);  // colours used
  put32(50, 0);  // important colours
  return bytes;
}

inline void writeFile(const std::u16string& path, const std::vector<uint8_t>& bytes) {
  auto file = s::file::testing::pathOf(path);
  ASSERT_TRUE(file->writeAll(bytes.data(), bytes.size(), false));
}

inline bool exists(const std::u16string& path) { return s::file::testing::pathOf(path)->exists(); }

inline std::string readText(const std::u16string& path) {
  s::col::_array::ArrayU08* bytes = s::col::_array::ArrayU08::create();
  s::file::testing::pathOf(path)->readAll(bytes);
  std::string text(reinterpret_cast<const char*>(bytes->data()), bytes->getCount());
  bytes->release();
  return text;
}

inline std::vector<std::u16string> names(const std::u16string& folder) {
  auto names = s::thread::make<s::str::strarray::StrArray>();
  s::file::testing::pathOf(folder)->listNames(true, names.get());
  return s::file::testing::sortedNames(*names);
}

// What the core reports, as the run's events would say it.
class RecordedProgress final : public pictorva::IGalleryProgress {
 public:
  struct Step {
    size_t total, index;
    std::u16string fileName;
    bool operator==(const Step&) const = default;
  };
  void started() override { ++starts; }
  void stepStarted(size_t total, size_t index, std::u16string_view fileName) override {
    steps.push_back({total, index, std::u16string(fileName)});
    if (onStep) onStep(steps.back());
  }
  void ended(const pictorva::GalleryOutcome& outcome) override {
    ++ends;
    endedWith = outcome;
  }

  int starts = 0;
  int ends = 0;
  std::vector<Step> steps;
  pictorva::GalleryOutcome endedWith;
  std::function<void(const Step&)> onStep;
};

// A run with this thread as its event receiver, recording the events.
class Harness {
 public:
  struct Seen {
    std::u16string name;
    uint32_t first, second;
    std::u16string text;
    bool operator==(const Seen&) const = default;
  };

  explicit Harness(Setting defaults = {}) {
    style = defaults.style;
    events.bindReceiver([this](const s::thread::RelayRecord& record) {
      const JobEvent event = JobEvent::fromRecord(record);
      seen.push_back({event.name, event.first, event.second, std::u16string(event.textView())});
      if (onEvent) onEvent(event);
      if (event.is(s::thread::kProcessStatusEnd)) ended = true;
      return uintptr_t{0};
    }, [this] {
      // On the worker's thread: a record was queued (or the relay woken).
      std::lock_guard<std::mutex> lock(queuedLock);
      ++queuedCount;
      senders.insert(std::this_thread::get_id());
      queued.notify_all();
    });
    GalleryRun::Hooks hooks;
    hooks.apply = [this](Setting& setting) {
      setting.style = style;
      setting.title->assign(title);
      setting.cellWidth = cellWidth;
      setting.cellHeight = cellHeight;
      setting.rowHeight = rowHeight;
    };
    hooks.showMessage = [this](std::u16string_view text) { messages.emplace_back(text); };
    run = std::make_unique<GalleryRun>(&events, hooks);
  }

  // Starts a run and handles its events until it ends.
  GalleryRun::StartResult make(const std::vector<std::u16string>& files) {
    ended = false;
    run->setJobs(jobs);
    const GalleryRun::StartResult result = run->start(files);
    if (result != GalleryRun::StartResult::kStarted) return result;
    while (!ended) events.waitAndPump(20);
    run->finish();
    run->waitIdle();
    return result;
  }

  std::vector<std::u16string> eventNames() const {
    std::vector<std::u16string> out;
    for (const Seen& event : seen) out.push_back(event.name);
    return out;
  }

  int32_t style = Setting::kStyleTile;
  std::u16string title = u"Thumbnail (Tile)";
  int32_t cellWidth = 150;
  int32_t cellHeight = 150;
  int32_t rowHeight = 200;
  int jobs = 0;  // the run's default: the number of cores
  s::thread::SyncRelay events;
  std::vector<Seen> seen;
  std::vector<std::u16string> messages;
  std::function<void(const JobEvent&)> onEvent;
  bool ended = false;
  std::mutex queuedLock;
  std::condition_variable queued;
  int queuedCount = 0;
  std::set<std::thread::id> senders;  // guarded by queuedLock
  std::unique_ptr<GalleryRun> run;
};

// A picture of width x height whose colours change along the row and with seed.
inline Owned<BufferedImage> gradient(int width, int height, int seed) {
  Owned<BufferedImage> image(BufferedImage::create());
  image->create(width, height);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      uint8_t* p = image->getLine(y) + 4 * x;
      p[0] = static_cast<uint8_t>(x + seed), p[1] = static_cast<uint8_t>(y * 3), p[2] = static_cast<uint8_t>(seed * 7);
      p[3] = 255;
    }
  return image;
}

// The picture files of the shared test data of the formats read here, sorted, after
// one made here (the gallery goes beside it).
inline std::vector<std::u16string> sharedPictures(const s::file::testing::TempFolder& folder) {
  std::vector<std::u16string> files;
  writeFile(files.emplace_back(folder / u"first.bmp"), bmpBytes(50, 40));
  std::error_code error;
  std::vector<std::filesystem::path> found;
  using Walk = std::filesystem::recursive_directory_iterator;
  for (Walk it(PICTORVA_TESTDATA, error), end; !error && it != end; it.increment(error)) {
    std::string extension = it->path().extension().string();
    for (char& c : extension) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (extension == ".bmp" || extension == ".gif" || extension == ".jpg" || extension == ".jpeg" ||
        extension == ".png" || extension == ".ico") {
      found.push_back(it->path());
    }
  }
  std::sort(found.begin(), found.end());
  for (const std::filesystem::path& path : found) files.push_back(path.u16string());
  return files;
}

}  // namespace gallery_testing
