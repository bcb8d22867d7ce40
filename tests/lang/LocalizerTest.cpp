#include "s/lang/Localizer.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "s/archive/IResourceSource.h"
#include "s/col/_array/ArrayU08.h"
#include "s/gui/events/IEventListener.h"
#include "s/xml/MappedData.h"

namespace {

using s::lang::LangPack;
using s::lang::Localizer;
using s::thread::Owned;

std::string narrow(std::u16string_view text) {
  s::str::strbuffer::StrBuffer buffer(text);
  return buffer.toUtf8();
}

// Holds one document as the resource "IDR_XML" 130.
class DocumentSource final : public s::archive::IResourceSource {
 public:
  explicit DocumentSource(std::string document) : document_(std::move(document)) {}
  bool readResource(std::u16string_view type, uint32_t number, s::col::_array::ArrayU08* out) override {
    out->clear();
    if (type != Localizer::kResourceType || number != Localizer::kResourceNumber) return false;
    out->writeRaw(document_.data(), document_.size(), 0, 0);
    return true;
  }

 private:
  std::string document_;
};

// Languages named in odd ways, and entries that exercise every building rule.
const char kDocument[] =
    "<lang>\n"
    "  <languages>\n"
    "    <entry tagName=\"eng\" engName=\"English\" trueName=\"English\"/>\n"
    "    <entry tagName=\"jpn\" engName=\"Japanese\" trueName=\"日本語\"/>\n"
    "    <entry tagName=\"vec\" engName=\"Venetian\" trueName=\"Vèneto\"/>\n"
    "    <entry tagName=\"zht\" engName=\"Chinese_Traditional\" trueName=\"繁體中文\"/>\n"
    "    <entry tagName=\"srp\" engName=\"Serbian_Latin\" trueName=\"Srpski\"/>\n"
    "    <note tagName=\"xxx\" engName=\"Not a language\"/>\n"
    "    <ENTRY tagName=\"abc\"/>\n"
    "  </languages>\n"
    "  <entries>\n"
    "    <entry id=\"1\">a note<eng>One</eng><JPN>一</JPN><vec>ƚuni ƚ</vec><tlh>wa'</tlh></entry>\n"
    "    <entry id=\"2\"><jpn>二</jpn><eng>Two</eng></entry>\n"
    "    <entry id=\"3\"><eng>Create:&#160;</eng><jpn>作成:&#160;</jpn><jpn>second</jpn></entry>\n"
    "    <entry id=\"99999999999\"><eng>Large</eng></entry>\n"
    "    <entry id=\"menu.file\"><eng>File</eng><jpn>ファイル</jpn></entry>\n"
    "    <entry><eng>No id</eng></entry>\n"
    "    <entry id=\"4\"/>\n"
    "    <other id=\"5\"><eng>Not an entry</eng></other>\n"
    "  </entries>\n"
    "</lang>";

Owned<Localizer> loaded(const std::string& document, std::u16string_view system = u"English",
                        bool olderThanVista = false) {
  DocumentSource source(document);
  Owned<Localizer> localizer = s::thread::make<Localizer>();
  localizer->setSystemLanguage(system);
  localizer->setOlderThanVista(olderThanVista);
  localizer->loadFrom(source);
  return localizer;
}

std::vector<std::string> englishNames(const Localizer& localizer) {
  std::vector<std::string> names;
  for (size_t i = 0; i < localizer.packCount(); ++i) names.push_back(narrow(localizer.packAt(i)->englishName().view()));
  return names;
}

TEST(Localizer, BuildsOnePackPerLanguageEntryInDocumentOrder) {
  Owned<Localizer> localizer = loaded(kDocument);
  EXPECT_EQ(englishNames(*localizer),
            (std::vector<std::string>{"English", "Japanese", "Venetian", "Chinese_Traditional", "Serbian_Latin", ""}));
  const LangPack& japanese = *localizer->packAt(1);
  EXPECT_EQ(narrow(japanese.tag().view()), "jpn");
  EXPECT_EQ(narrow(japanese.trueName().view()), "日本語");
  // Missing attributes give empty names.
  EXPECT_EQ(narrow(localizer->packAt(5)->tag().view()), "abc");
  EXPECT_TRUE(localizer->packAt(5)->trueName().isEmpty());
}

TEST(Localizer, EveryPackAnswersEveryIdWithItsOwnTextOrTheFirstOne) {
  Owned<Localizer> localizer = loaded(kDocument);
  struct Case {
    const char16_t* language;
    int32_t id;
    const char* text;
  };
  const Case cases[] = {
      {u"English", 1, "One"},
      {u"Japanese", 1, "一"},  // the tag matches ignoring case
      {u"Venetian", 1, "ƚuni ƚ"},
      {u"Serbian_Latin", 1, "One"},
      {u"Serbian_Latin", 2, "二"},  // the first child, whatever its language
      {u"English", 2, "Two"},
      {u"Japanese", 3, "作成: "},  // the first of two; the blank survives
      {u"English", 3, "Create: "},
      {u"Venetian", 2147483647, "Large"},  // the id saturates
      {u"Japanese", 4, ""},
      {u"Japanese", 5, ""},  // not an entry element
      {u"Japanese", 608299, ""},
  };
  for (const Case& c : cases) {
    localizer->selectLanguage(c.language);
    EXPECT_EQ(narrow(localizer->getText(c.id)), c.text) << narrow(c.language) << " " << c.id;
  }
  for (size_t i = 0; i < localizer->packCount(); ++i) {
    const LangPack& pack = *localizer->packAt(i);
    for (int32_t id : {1, 2, 3, 4, 2147483647}) EXPECT_TRUE(pack.holds(id)) << i << " " << id;
    EXPECT_TRUE(pack.holds(u"menu.file"));
    EXPECT_TRUE(pack.holds(u""));
  }
  localizer->selectLanguage(u"Japanese");
  EXPECT_EQ(narrow(localizer->getText(u"menu.file")), "ファイル");
  EXPECT_EQ(narrow(localizer->getText(u"MENU.FILE")), "");  // string ids are exact
  EXPECT_EQ(narrow(localizer->getText(u"")), "No id");
  localizer->selectLanguage(u"Venetian");
  EXPECT_EQ(narrow(localizer->getText(u"menu.file")), "File");
  // Translated entries: 1, 2, 3 and menu.file (twice-written 3 counts once).
  EXPECT_EQ(localizer->packAt(1)->translatedCount(), 4u);
  EXPECT_EQ(localizer->packAt(0)->translatedCount(), 6u);
  EXPECT_EQ(localizer->packAt(4)->translatedCount(), 0u);
}

TEST(Localizer, OlderWindowsShowStrokedLInVenetianOnly) {
  for (bool older : {false, true}) {
    Owned<Localizer> localizer = loaded(
        "<lang><languages><entry tagName=\"eng\" engName=\"English\"/><entry tagName=\"VEC\" engName=\"Venetian\"/>"
        "<entry tagName=\"pol\" engName=\"Polish\"/></languages>"
        "<entries><entry id=\"1\"><eng>ƚ</eng><vec>ƚa ƚuse</vec></entry><entry id=\"2\"><eng>ƚ2</eng></entry>"
        "</entries></lang>",
        u"English", older);
    localizer->selectLanguage(u"Venetian");
    EXPECT_EQ(narrow(localizer->getText(1)), older ? "ła łuse" : "ƚa ƚuse");
    EXPECT_EQ(narrow(localizer->getText(2)), older ? "ł2" : "ƚ2");  // fallbacks too
    localizer->selectLanguage(u"Polish");
    EXPECT_EQ(narrow(localizer->getText(1)), "ƚ");
    localizer->selectLanguage(u"English");
    EXPECT_EQ(narrow(localizer->getText(2)), "ƚ2");
  }
}

TEST(Localizer, NamesFindPacksThroughTheirLanguageFamily) {
  Owned<Localizer> localizer = loaded(kDocument);
  struct Case {
    const char16_t* name;
    const char* found;
  };
  const Case cases[] = {
      {u"japanese", "Japanese"},
      {u"CHINESE_TRADITIONAL", "Chinese_Traditional"},
      // No Simplified Chinese pack: any Chinese takes the Traditional one.
      {u"Chinese_simplified", "Chinese_Traditional"},
      {u"Chinese", "Chinese_Traditional"},
      // No Cyrillic Serbian pack: the Latin one.
      {u"Serbian_cyrillic", "Serbian_Latin"},
      {u"Serbian", "Serbian_Latin"},
      // No Portuguese at all.
      {u"Portuguese_portugal", nullptr},
      {u"Thai", nullptr},
      {u"", ""},  // the nameless pack
  };
  for (const Case& c : cases) {
    const LangPack* pack = localizer->findPack(c.name);
    if (!c.found) {
      EXPECT_EQ(pack, nullptr) << narrow(c.name);
    } else {
      ASSERT_NE(pack, nullptr) << narrow(c.name);
      EXPECT_EQ(narrow(pack->englishName().view()), c.found);
    }
  }
}

class Recorder final : public s::gui::events::IEventListener {
 public:
  Recorder(std::vector<std::string>* log, const char* name) : log_(log), name_(name) {}
  void onEvent(s::base::IObject* source, int eventType) override {
    auto* localizer = dynamic_cast<Localizer*>(source);
    log_->push_back(name_ + ":" + std::to_string(eventType) + ":" +
                    (localizer ? narrow(localizer->currentPack()->englishName().view()) : "?"));
  }

 private:
  std::vector<std::string>* log_;
  std::string name_;
};

TEST(Localizer, ListenersHearOfEveryChangeInTheOrderTheyRegistered) {
  Owned<Localizer> localizer = loaded(kDocument, u"Japanese");
  std::vector<std::string> log;
  Recorder first(&log, "first"), second(&log, "second");
  localizer->addListener(&first);
  localizer->addListener(&second);
  localizer->selectLanguage(u"JAPANESE");  // already current
  localizer->selectLanguageAt(1);          // the same pack
  localizer->selectLanguageAt(99);         // no such pack
  EXPECT_TRUE(log.empty());
  localizer->selectLanguage(u"Klingon");  // no pack: English
  localizer->selectLanguageAt(2);
  localizer->removeListener(&first);
  localizer->selectLanguage(u"Chinese");
  EXPECT_EQ(log, (std::vector<std::string>{"first:0:English", "second:0:English", "first:0:Venetian",
                                           "second:0:Venetian", "second:0:Chinese_Traditional"}));
}

TEST(Localizer, WithoutADocumentEveryLookupIsEmpty) {
  const std::string documents[] = {
      "",                                     // no resource at all (see below)
      "<lang><entries><entry id=\"1\"><eng>One</eng></entry></entries></lang>",  // no languages
      "not XML",
  };
  for (const std::string& document : documents) {
    Owned<Localizer> localizer = document.empty() ? s::thread::make<Localizer>() : loaded(document);
    if (document.empty()) {
      DocumentSource source("<lang/>");
      localizer->loadFrom(source, u"IDR_JPG", 131);  // a resource the source does not hold
    }
    EXPECT_EQ(localizer->packCount(), 0u);
    EXPECT_EQ(localizer->currentPack(), nullptr);
    EXPECT_TRUE(localizer->getText(1).empty());
    EXPECT_FALSE(localizer->hasText());
    localizer->selectLanguage(u"English");
    localizer->selectLanguageAt(0);
    Owned<s::xml::MappedData> store = s::thread::make<s::xml::MappedData>();
    localizer->selectSaved(*store);
    EXPECT_FALSE(store->hasValue(Localizer::kLanguageKey, u""));
  }
  // Languages without entries: packs without texts.
  Owned<Localizer> localizer = loaded("<lang><languages><entry tagName=\"eng\" engName=\"English\"/></languages></lang>");
  ASSERT_EQ(localizer->packCount(), 1u);
  EXPECT_EQ(localizer->packAt(0)->idCount(), 0u);
  EXPECT_TRUE(localizer->getText(1).empty());
}

}  // namespace
