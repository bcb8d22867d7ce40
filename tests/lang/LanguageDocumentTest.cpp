// The language document as the program carries it, read by the localizer.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <utility>

#include "s/archive/ProgramResources.h"
#include "s/col/_array/ArrayU08.h"
#include "s/lang/Localizer.h"
#include "s/xml/MappedData.h"

namespace {

using s::lang::LangPack;
using s::lang::Localizer;
using s::thread::Owned;

std::string narrow(std::u16string_view text) { return s::str::strbuffer::StrBuffer(text).toUtf8(); }

Owned<Localizer> programLocalizer(std::u16string_view system) {
  Owned<Localizer> localizer = s::thread::make<Localizer>();
  localizer->setSystemLanguage(system);
  localizer->loadFrom(s::archive::ProgramResources::instance());
  return localizer;
}

bool isPartial(const LangPack& pack) { return pack.trueName().endsWith(u" (Partial)"); }

TEST(LanguageDocument, TheProgramCarriesTheDocumentByteForByte) {
  std::ifstream file(PICTORVA_SOURCE_DIR "/res/lang.xml", std::ios::binary);
  ASSERT_TRUE(file) << "res/lang.xml";
  const std::string expected((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
  Owned<s::col::_array::ArrayU08> bytes = s::thread::make<s::col::_array::ArrayU08>();
  s::archive::IResourceSource& resources = s::archive::ProgramResources::instance();
  ASSERT_TRUE(resources.readResource(u"idr_xml", 130, bytes.get()));  // types ignore case
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(bytes->data()), bytes->getCount()), expected);
  EXPECT_FALSE(resources.readResource(u"IDR_XML", 131, bytes.get()));
  EXPECT_EQ(bytes->getCount(), 0u);
  EXPECT_FALSE(resources.readResource(u"IDR_JPG", 130, bytes.get()));
}

TEST(LanguageDocument, ThirtyFourPacksAnswerEveryId) {
  Owned<Localizer> localizer = programLocalizer(u"English");
  ASSERT_EQ(localizer->packCount(), 34u);
  const LangPack& english = *localizer->packAt(0);
  EXPECT_EQ(narrow(english.englishName().view()), "English");
  ASSERT_EQ(english.idCount(), 82u);
  EXPECT_EQ(english.translatedCount(), 82u);
  std::set<std::string> tags;
  for (size_t p = 0; p < localizer->packCount(); ++p) {
    const LangPack& pack = *localizer->packAt(p);
    EXPECT_TRUE(tags.insert(narrow(pack.tag().view())).second) << narrow(pack.tag().view());
    EXPECT_EQ(pack.idCount(), english.idCount()) << narrow(pack.englishName().view());
    EXPECT_GT(pack.translatedCount(), 0u);
    for (size_t i = 0; i < english.idCount(); ++i) {
      const int32_t id = english.idAt(i);
      if (i > 0) {
        EXPECT_LT(english.idAt(i - 1), id);  // ascending
      }
      const s::str::strbuffer::StrBuffer* text = pack.findText(id);
      ASSERT_NE(text, nullptr) << narrow(pack.englishName().view()) << " " << id;
      EXPECT_FALSE(text->isEmpty()) << narrow(pack.englishName().view()) << " " << id;
    }
  }
}

// A full language translates every text that is translated at all; a partial one at
// least the main window's. Some words rightly read as in English.
TEST(LanguageDocument, LanguagesTranslateWhatTheyPromise) {
  const std::set<std::pair<int32_t, std::string>> sameAsEnglish = {
      {400010, "German"}, {400010, "Swedish"}, {400010, "Danish"},  // "Version:"
      {400080, "German"}, {400080, "Japanese"}, {400080, "Korean"}, {400080, "Venetian"},  // "URL:"
      {1001000, "Romanian"},  // left to English on purpose
      {1103000, "German"}, {1103000, "French"}, {1103000, "Italian"}, {1103000, "Hungarian"},  // "Album"
      {1103000, "Swedish"}, {1103000, "Venetian"}, {1103000, "Indonesian"}, {1103000, "Czech"},
      {1103000, "Danish"}, {1103000, "Estonian"}, {1103000, "Croatian"}, {1103000, "Dutch"},
      {1103000, "Polish"}, {1103000, "Romanian"}, {1103000, "Slovak"}, {1103000, "Serbian_Latin"},
  };
  auto inMainWindow = [](int32_t id) { return (id >= 609000 && id <= 609460) || (id >= 1000000 && id <= 1108000); };
  Owned<Localizer> localizer = programLocalizer(u"English");
  const LangPack& english = *localizer->packAt(0);
  // Texts that stay the same in every language (addresses, the product's name, the
  // version, ...) are the ones no language changes.
  std::set<int32_t> kept;
  for (size_t i = 0; i < english.idCount(); ++i) {
    bool changed = false;
    for (size_t p = 1; p < localizer->packCount(); ++p) {
      changed |= !localizer->packAt(p)->findText(english.idAt(i))->equals(english.textAt(i).view());
    }
    if (!changed) kept.insert(english.idAt(i));
  }
  EXPECT_TRUE(kept.count(300000) && kept.count(500010) && kept.count(500020) && kept.count(101000));
  EXPECT_LT(kept.size(), 20u);
  for (size_t p = 1; p < localizer->packCount(); ++p) {
    const LangPack& pack = *localizer->packAt(p);
    const std::string name = narrow(pack.englishName().view());
    for (size_t i = 0; i < english.idCount(); ++i) {
      const int32_t id = english.idAt(i);
      if (kept.count(id) || sameAsEnglish.count({id, name}) || (isPartial(pack) && !inMainWindow(id))) continue;
      const s::str::strbuffer::StrBuffer& text = *pack.findText(id);
      EXPECT_FALSE(text.equals(english.textAt(i).view())) << name << " " << id << " " << narrow(text.view());
    }
  }
}

TEST(LanguageDocument, TextsTheWindowReliesOn) {
  Owned<Localizer> localizer = programLocalizer(u"English");
  EXPECT_EQ(narrow(localizer->getText(1004000)), "Create: ");  // the trailing blank stays
  EXPECT_EQ(narrow(localizer->getText(1005000)), "Advanced Options >>");
  EXPECT_EQ(narrow(localizer->getText(1006000)), "<< Minimize");
  EXPECT_EQ(narrow(localizer->getText(609420)), "\"Keep on Top\" Check Box");
  EXPECT_EQ(narrow(localizer->getText(500000)), "Tarn Pictorva");
  localizer->selectLanguage(u"Romanian");
  EXPECT_EQ(narrow(localizer->getText(1001000)), "Drop Box");  // Romanian leaves it to English
  for (size_t p = 0; p < localizer->packCount(); ++p) {
    localizer->selectLanguageAt(p);
    EXPECT_TRUE(localizer->getText(Localizer::kProbeId).empty());
    EXPECT_FALSE(localizer->hasText());
    EXPECT_EQ(narrow(localizer->getText(300000)), "Tarn Pictorva");
  }
}

TEST(LanguageDocument, OlderWindowsGetVenetianWithoutTheBarredL) {
  for (bool older : {false, true}) {
    Owned<Localizer> localizer = s::thread::make<Localizer>();
    localizer->setOlderThanVista(older);
    localizer->loadFrom(s::archive::ProgramResources::instance());
    localizer->selectLanguage(u"Venetian");
    const LangPack& venetian = *localizer->currentPack();
    size_t barred = 0, stroked = 0;
    for (size_t i = 0; i < venetian.idCount(); ++i) {
      for (char16_t unit : venetian.textAt(i).view()) {
        barred += unit == u'\u019A';
        stroked += unit == u'\u0142';
      }
    }
    EXPECT_EQ(barred == 0, older);
    EXPECT_EQ(stroked == 0, !older);
  }
}

// The start-up selection: the system's language first, then the saved choice, which
// is saved again when it found no pack of its own name.
TEST(LanguageDocument, StartUpSelectsBySystemThenBySavedChoice) {
  struct Case {
    const char16_t* system;
    const char16_t* saved;  // nullptr: nothing saved yet
    const char* current;
    const char* savedAfter;
  };
  const Case cases[] = {
      {u"Japanese", nullptr, "Japanese", "Japanese"},
      {u"Portuguese_portugal", nullptr, "Portuguese_Brazilian", "Portuguese_Brazilian"},
      {u"Thai", nullptr, "English", "English"},
      {u"Unknown", nullptr, "English", "English"},
      {u"Japanese", u"Klingon", "English", "English"},
      {u"Japanese", u"german", "German", "german"},  // same name but for case: kept
      {u"Japanese", u"Chinese_Hong_Kong", "Chinese_Simplified", "Chinese_Simplified"},
      {u"Thai", u"Serbian", "Serbian_Cyrillic", "Serbian_Cyrillic"},
  };
  for (const Case& c : cases) {
    Owned<Localizer> localizer = programLocalizer(c.system);
    Owned<s::xml::MappedData> store = s::thread::make<s::xml::MappedData>();
    if (c.saved) store->setString(Localizer::kLanguageKey, u"", c.saved);
    localizer->selectSaved(*store);
    EXPECT_EQ(narrow(localizer->currentPack()->englishName().view()), c.current) << narrow(c.system);
    EXPECT_EQ(narrow(store->getString(Localizer::kLanguageKey, u"", u"(none)")), c.savedAfter) << narrow(c.system);
  }
}

}  // namespace
