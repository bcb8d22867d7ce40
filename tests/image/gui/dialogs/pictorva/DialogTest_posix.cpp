// The gallery window over an in-memory store: the view it starts in, switching views
// with each view's own size, the "Create:" choice read back, and what the apply hook
// fills and stores. The window is kept in memory (the end-to-end checks under Wine
// drive the real one).
#include "s/image/gui/dialogs/pictorva/Dialog.h"

#include <gtest/gtest.h>

#include <thread>

#include "s/app/win/AppBase.h"
#include "s/app/win/AppWindow.h"
#include "s/gui/win/Window.h"
#include "s/app/SavedValues.h"
#include "s/image/gui/dialogs/pictorva/Setting.h"
#include "s/thread/Clock.h"
#include "s/thread/Owned.h"
#include "s/xml/MappedData.h"

namespace s::image::gui::dialogs::pictorva {
namespace {

using s::app::SavedValues;
using thread::Owned;

class DialogTest : public ::testing::Test {
 protected:
  void SetUp() override {
    store = xml::MappedData::create();
    app.reset(app::win::AppBase::create());
    app->initialize(Owned<map::IMappedData>(store));
    record.reset(app::win::AppWindow::create());
    record->setUp(app.get(), u"MainWindow", app->getTextBase(), 250, 250, u"Close");
  }
  void TearDown() override { close(); }

  // Runs the dialog on a thread of its own, as the program's main thread does, and
  // waits until its window is shown.
  void open() {
    dialog.reset(Dialog::create());
    dialog->bind(record.get());
    runner = std::thread([this] { dialog->buildAndRun(); });
    for (int waited = 0; waited < 10000; waited += 10) {
      if (dialog->getWindow() && dialog->getWindow()->isWindowShown()) return;
      thread::sleepMs(10);
    }
    FAIL() << "the window did not open";
  }
  void close() {
    if (!runner.joinable()) return;
    dialog->getWindow()->close();
    runner.join();
    dialog.reset();
  }
  s::gui::Size size() {
    const s::gui::Rect placement = dialog->getWindow()->getPlacement();
    return {placement.width, placement.height};
  }
  void onWindow(const std::function<void()>& f) { dialog->getWindow()->invoke(f); }

  xml::MappedData* store = nullptr;
  Owned<app::win::AppBase> app;
  Owned<app::win::AppWindow> record;
  Owned<Dialog> dialog;
  std::thread runner;
};

TEST_F(DialogTest, AFirstStartIsCompactAndEachViewKeepsItsOwnSize) {
  open();
  EXPECT_TRUE(dialog->isCompact());
  EXPECT_EQ(size().width, 250);
  EXPECT_EQ(size().height, 250);
  EXPECT_TRUE(SavedValues::readFlag(*store, SavedValues::kCompactView));

  onWindow([&] { dialog->switchView(); });
  EXPECT_FALSE(dialog->isCompact());
  EXPECT_EQ(size().width, 470);
  EXPECT_EQ(size().height, 400);
  EXPECT_EQ(SavedValues::readNumber(*store, SavedValues::kSmallWidth), 250);
  EXPECT_FALSE(SavedValues::readFlag(*store, SavedValues::kCompactView));

  // The expanded size made larger, then back to compact and expanded again.
  dialog->getWindow()->setPlacement({10, 10, 520, 430});
  onWindow([&] { dialog->switchView(); });
  EXPECT_EQ(size().width, 250);
  EXPECT_EQ(SavedValues::readNumber(*store, SavedValues::kLargeWidth), 520);
  EXPECT_EQ(SavedValues::readNumber(*store, SavedValues::kLargeHeight), 430);
  onWindow([&] { dialog->switchView(); });
  EXPECT_EQ(size().width, 520);
  EXPECT_EQ(size().height, 430);

  // Closing stores the size of the view shown.
  dialog->getWindow()->setPlacement({10, 10, 480, 410});
  close();
  EXPECT_EQ(SavedValues::readNumber(*store, SavedValues::kLargeWidth), 480);
  EXPECT_EQ(SavedValues::readNumber(*store, SavedValues::kLargeHeight), 410);
}

TEST_F(DialogTest, TheStoredViewAndSizesComeBack) {
  SavedValues::writeFlag(*store, SavedValues::kCompactView, false);
  SavedValues::writeNumber(*store, SavedValues::kLargeWidth, 500);
  SavedValues::writeNumber(*store, SavedValues::kLargeHeight, 420);
  open();
  EXPECT_FALSE(dialog->isCompact());
  EXPECT_EQ(size().width, 500);
  EXPECT_EQ(size().height, 420);
}

TEST_F(DialogTest, TheApplyHookFillsTheSettingOfTheChosenEntry) {
  const struct {
    const char16_t* convertTo;
    int32_t style;
    std::u16string_view title;
    bool storesCellSize;
  } cases[] = {
      {u"", Setting::kStyleTile, u"Thumbnail (Tile)", true},
      {u"flat", Setting::kStyleFlat, u"Thumbnail (Flat)", false},  // letter case ignored
      {u"Kachel", Setting::kStyleTile, u"Thumbnail (Tile)", true},  // another language's text
  };
  for (const auto& c : cases) {
    store->deleteKey(u"MainWindow\\ConvertTo\\Tile");
    SavedValues::writeText(*store, SavedValues::kConvertTo, c.convertTo);
    SavedValues::writeNumber(*store, SavedValues::kCellHeight, 90);
    open();
    Owned<Setting> setting(Setting::create());
    bool agreed = false;
    onWindow([&] { agreed = dialog->apply(*setting); });
    EXPECT_TRUE(agreed);
    EXPECT_EQ(setting->style, c.style) << static_cast<int>(c.storesCellSize);
    EXPECT_EQ(setting->title->view(), c.title);
    if (c.storesCellSize) {
      // The fields hold the stored cell size; the run stores what it uses.
      EXPECT_EQ(setting->cellWidth, 150);
      EXPECT_EQ(setting->cellHeight, 90);
      EXPECT_TRUE(store->hasValue(SavedValues::kTileKey, u"CellWidth"));
    } else {
      EXPECT_FALSE(store->hasValue(SavedValues::kTileKey, u"CellWidth"));
    }
    close();
  }
}

}  // namespace
}  // namespace s::image::gui::dialogs::pictorva
