// Skinners and skin choice: which skins a family holds and in what order, lookup by
// exact name, and the choice kept in the save-data store.
#include <gtest/gtest.h>

#include <string>

#include "../GuiTestSupport.h"
#include "s/gui/drawer/ISkin.h"
#include "s/gui/drawer/Skinner.h"
#include "s/gui/drawer/skin/Themes.h"
#include "s/gui/drawer/skin/Thin.h"
#include "s/gui/drawer/skin/ThinWindow.h"
#include "s/thread/Owned.h"
#include "s/xml/MappedData.h"

namespace s::gui::drawer {
namespace {

using thread::Owned;

TEST(Skinner, FamiliesHoldTheirSkinsInOrder) {
  Owned<Skinner> windows(Skinner::newSkinner(Skinner::kFamilyThinWindow));
  const char16_t* order[] = {u"White",     u"Ivory", u"Black",      u"Black II", u"Black Black", u"Black Black II",
                             u"Classic LG", u"Beige", u"Sky Blue",   u"Pink",     u"Salmon Red",  u"Yellow",
                             u"Green",     u"Orange", u"Khaki",     u"Indigo"};
  ASSERT_EQ(windows->getSkinCount(), 16);
  for (int i = 0; i < 16; ++i) {
    EXPECT_EQ(windows->getSkinName(i), order[i]);
    EXPECT_EQ(windows->getSkin(i)->getSkinName(), order[i]);
    EXPECT_EQ(std::u16string(windows->getSkin(i)->getRegistrationName()), u"s_gui_drawer_skin_ThinWindow");
  }
  EXPECT_EQ(windows->getSkin(16), nullptr);
  EXPECT_EQ(windows->getFamilyName(), u"ThinWindow");

  Owned<Skinner> thin(Skinner::newSkinner(Skinner::kFamilyThin));
  EXPECT_EQ(thin->getSkinCount(), 13);
  EXPECT_EQ(std::u16string(thin->getSkin(0)->getRegistrationName()), u"s_gui_drawer_skin_Thin");
  Owned<Skinner> other(Skinner::newSkinner(u"Thick"));
  EXPECT_EQ(other->getSkinCount(), 0);
}

TEST(Skinner, UnknownThemeNumbersGiveNoSkin) {
  for (int id : {-1, 0, 5, 14, 15, 20, 1000}) {
    Owned<skin::ThinWindow> skin(skin::ThinWindow::newThinWindowSkin(id));
    EXPECT_FALSE(skin) << id;
  }
  Owned<Skinner> skinner(Skinner::create());
  skinner->addSkin(nullptr);
  EXPECT_EQ(skinner->getSkinCount(), 0);
}

// The second themes of the black pairs differ from the first in one colour, c6.
TEST(Skinner, BlackPairsDifferOnlyInTheSixthColour) {
  for (auto [first, second] : {std::pair{1, 16}, std::pair{17, 18}}) {
    const skin::ThinWindowTheme* a = skin::findThinWindowTheme(first);
    const skin::ThinWindowTheme* b = skin::findThinWindowTheme(second);
    ASSERT_TRUE(a && b);
    for (int c = 0; c < 15; ++c) {
      const bool same = toColour(a->colours[c]) == toColour(b->colours[c]);
      EXPECT_EQ(same, c != 5) << c;
    }
    EXPECT_EQ(toColour(b->colours[5]), rgb(221, 221, 221));
  }
}

TEST(Skinner, FindIsExact) {
  Owned<Skinner> skinner(Skinner::newSkinner(Skinner::kFamilyThinWindow));
  int index = 99;
  EXPECT_TRUE(skinner->findSkin(u"Classic LG", &index));
  EXPECT_EQ(index, 6);
  EXPECT_FALSE(skinner->findSkin(u"classic lg", &index));
  EXPECT_EQ(index, -1);
  EXPECT_FALSE(skinner->findSkin(u"Classic LG ", &index));
  EXPECT_FALSE(skinner->findSkin(u"", nullptr));
}

// The stored name chooses the skin when it names one exactly; otherwise the window's
// default does. A choice is stored under the same value name.
TEST(Skinner, ChoiceComesFromTheStoreAndFallsBackToTheDefault) {
  Owned<Skinner> skinner(Skinner::newSkinner(Skinner::kFamilyThinWindow));
  // The XML store without a file: everything stays in memory.
  Owned<xml::MappedData> saved(xml::MappedData::create());
  map::IMappedData& store = *saved;
  struct Case {
    const char16_t* stored;  // nullptr: no value
    const char16_t* chosen;
  };
  const Case cases[] = {
      {nullptr, u"Classic LG"},
      {u"Pink", u"Pink"},
      {u"classic lg", u"Classic LG"},
      {u"Green2", u"Classic LG"},  // a theme of the other family
      {u"", u"Classic LG"},
  };
  for (const Case& c : cases) {
    store.deleteValue(u"AboutWindow", u"Skin");
    if (c.stored) store.setString(u"AboutWindow", u"Skin", c.stored);
    const ISkin* skin = skinner->chooseSkin(&store, u"AboutWindow", u"Classic LG");
    ASSERT_NE(skin, nullptr);
    EXPECT_EQ(skin->getSkinName(), c.chosen);
  }
  EXPECT_EQ(skinner->chooseSkin(nullptr, u"", u"Indigo")->getSkinName(), u"Indigo");
  EXPECT_EQ(skinner->chooseSkin(&store, u"", u"No Such Theme"), nullptr);

  Skinner::storeSkinChoice(store, u"AboutWindow", u"Khaki");
  EXPECT_EQ(std::u16string_view(store.getString(u"AboutWindow", u"Skin", u"")), u"Khaki");
  EXPECT_EQ(skinner->chooseSkin(&store, u"AboutWindow", u"Classic LG")->getSkinName(), u"Khaki");
  // The application's choice lives under the root key path, apart from the window's.
  EXPECT_EQ(skinner->chooseSkin(&store, u"", u"White")->getSkinName(), u"White");
}

TEST(Skinner, ReleasingReturnsEverySkinToItsPool) {
  Owned<Skinner> skinner(Skinner::newSkinner(Skinner::kFamilyThin));
  const int idle = thread::poolOf<skin::Thin>().idleCount();
  skinner.reset();
  EXPECT_EQ(thread::poolOf<skin::Thin>().idleCount(), idle + 13);
}

}  // namespace
}  // namespace s::gui::drawer
