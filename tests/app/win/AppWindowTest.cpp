// The application object and the window record over an in-memory store: what a
// first start writes, and how the window record reads its values back.
#include "s/app/win/AppWindow.h"

#include <gtest/gtest.h>

#include "s/app/win/AppBase.h"
#include "s/thread/Owned.h"
#include "s/xml/MappedData.h"

namespace s::app::win {
namespace {

using thread::Owned;

class AppWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    store = xml::MappedData::create();
    app.reset(AppBase::create());
    app->initialize(Owned<map::IMappedData>(store));
    record.reset(AppWindow::create());
    record->setUp(app.get(), u"MainWindow", app->getTextBase(), 250, 250, u"Close");
  }
  std::u16string text(const char16_t* key, const char16_t* name = u"") {
    return store->getString(key, name, u"(none)");
  }

  xml::MappedData* store = nullptr;  // the application's
  Owned<AppBase> app;
  Owned<AppWindow> record;
};

TEST_F(AppWindowTest, AFirstStartWritesTheProgramsAndTheWindowsKeys) {
  EXPECT_EQ(text(u"SoftwareID"), u"Tarn Pictorva");
  EXPECT_EQ(text(u"Version"), u"1.23");
  EXPECT_EQ(text(u"Language"), app->getSavedLanguage());
  EXPECT_EQ(text(u"MainWindow\\SoftwareID"), u"Tarn Pictorva");
  EXPECT_EQ(text(u"MainWindow\\Version"), u"1.23");
  // Nothing of the placement until the window stores it.
  EXPECT_FALSE(record->hasPosition());
  EXPECT_EQ(record->getWidth(), 250);
  EXPECT_TRUE(record->getEasyDrag());
  EXPECT_TRUE(record->getKeepOnTop());
  EXPECT_FALSE(record->getMaximized());
}

TEST_F(AppWindowTest, StoredMiddleClickActionsReadAsOneOfThree) {
  const struct {
    const char16_t* stored;
    std::u16string_view read;
  } cases[] = {{u"iconize", u"Iconize"}, {u"CLOSE", u"Close"}, {u"Minimize", u"DoNothing"}, {u"", u"DoNothing"}};
  for (const auto& c : cases) {
    store->setString(u"MainWindow\\View", u"OnMClick", c.stored);
    EXPECT_EQ(record->getMiddleClickAction(), c.read);
  }
  store->deleteValue(u"MainWindow\\View", u"OnMClick");
  EXPECT_EQ(record->getMiddleClickAction(), u"Close");  // the default given at set-up
  EXPECT_TRUE(record->isMiddleClickClose());
  record->setMiddleClickAction(u"Iconize");
  EXPECT_TRUE(record->isMiddleClickIconize());
  EXPECT_EQ(text(u"MainWindow\\View", u"OnMClick"), u"Iconize");
}

TEST_F(AppWindowTest, SizesAreValidBetweenTenAndTheVirtualScreen) {
  const struct {
    int size;
    bool valid;
  } cases[] = {{5, false}, {9, false}, {10, true}, {AppWindow::virtualScreenWidth(), true},
               {AppWindow::virtualScreenWidth() + 1, false}};
  for (const auto& c : cases) {
    record->setWidth(c.size);
    EXPECT_EQ(record->isWidthValid(), c.valid) << c.size;
  }
  record->setHeight(AppWindow::virtualScreenHeight() + 1);
  EXPECT_FALSE(record->isHeightValid());
}

TEST_F(AppWindowTest, APlacementIsStoredAndForgotten) {
  record->setPlacement(-20, 30, 400, 300);
  EXPECT_TRUE(record->hasPosition());
  EXPECT_EQ(record->getX(), -20);
  EXPECT_EQ(record->getY(), 30);
  EXPECT_EQ(record->getHeight(), 300);
  record->forgetPlacement();
  EXPECT_FALSE(record->hasPosition());
  EXPECT_EQ(record->getWidth(), 250);
  EXPECT_EQ(std::u16string(record->sectionKey(u"View")), u"MainWindow\\View");
}

}  // namespace
}  // namespace s::app::win
