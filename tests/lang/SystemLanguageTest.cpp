#include "s/lang/SystemLanguage.h"

#include <gtest/gtest.h>

#include <cctype>
#include <set>
#include <string>

namespace {

using s::lang::languageIdOfLocale;
using s::lang::languageNameOfId;

std::string narrow(const std::u16string& text) { return std::string(text.begin(), text.end()); }

TEST(SystemLanguage, LocalesNameTheLanguageWindowsWouldName) {
  struct Case {
    const char* locale;
    const char* name;
  };
  const Case cases[] = {
      {"ja_JP.UTF-8", "Japanese"},
      {"pt_PT", "Portuguese_portugal"},
      {"pt_BR.UTF-8", "Portuguese_brazilian"},
      {"pt", "Portuguese_brazilian"},  // Windows' default Portuguese is Brazil's
      {"zh_TW", "Chinese_traditional"},
      {"zh_HK.UTF-8", "Chinese_traditional"},
      {"zh_CN.GB2312", "Chinese_simplified"},
      {"zh_SG", "Chinese_simplified"},
      {"zh", "Chinese_simplified"},
      {"sr_RS@latin", "Serbian_latin"},
      {"sr_RS.UTF-8@latin", "Serbian_latin"},
      {"sr_RS", "Serbian_cyrillic"},
      {"hr_HR.UTF-8", "Croatian"},
      {"bs_BA", "Serbian"},  // Bosnian (Latin) has no name of its own
      {"hsb_DE", "Upper_sorbian"},
      {"dsb_DE", "Lower_sorbian"},
      {"C", "English"},
      {"POSIX", "English"},
      {"C.UTF-8", "English"},
      {"en_GB.UTF-8", "English"},
      {"de_AT@euro", "German"},
      {"nn_NO", "Norwegian"},
      {"fa_IR", "Persian"},
      {"th_TH.UTF-8", "Thai"},
      {"uk_UA", "Ukrainian"},
      {"fil_PH", "Filipino"},
      {"xx_YY", "Unknown"},
      {"", "Unknown"},
      {"_JP", "Unknown"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(narrow(languageNameOfId(languageIdOfLocale(c.locale))), c.name) << c.locale;
  }
}

TEST(SystemLanguage, FullIdentifiersBeforePrimaryLanguages) {
  struct Case {
    uint16_t id;
    const char* name;
  };
  const Case cases[] = {
      {0x0411, "Japanese"},          {0x0409, "English"},           {0x0809, "English"},
      {0x0004, "Chinese_simplified"}, {0x1004, "Chinese_simplified"}, {0x7C04, "Chinese_traditional"},
      {0x1404, "Chinese_traditional"}, {0x7804, "Chinese"},          {0x0416, "Portuguese_brazilian"},
      {0x0816, "Portuguese_portugal"}, {0x0016, "Portuguese"},       {0x001A, "Croatian"},
      {0x101A, "Croatian"},          {0x181A, "Serbian_latin"},     {0x1C1A, "Serbian_cyrillic"},
      {0x7C1A, "Serbian"},           {0x141A, "Serbian"},           {0x201A, "Bosnian"},
      {0x042E, "Upper_sorbian"},     {0x082E, "Lower_sorbian"},     {0x0429, "Persian"},
      {0x048C, "Dari"},              {0x0000, "Unknown"},           {0x0458, "Unknown"},  // Manipuri
      {0x0455, "Unknown"},
  };
  for (const Case& c : cases) EXPECT_EQ(narrow(languageNameOfId(c.id)), c.name) << std::hex << c.id;
}

// Every identifier names a language of this list (or "Unknown"), and every name of
// the list is reachable.
TEST(SystemLanguage, EveryIdentifierGivesAListedName) {
  const std::set<std::string> listed = {
      "AFRIKAANS", "ALBANIAN", "ALSATIAN", "AMHARIC", "ARABIC", "ARMENIAN", "ASSAMESE", "AZERI", "BASHKIR",
      "BASQUE", "BELARUSIAN", "BENGALI", "BOSNIAN", "BRETON", "BULGARIAN", "CATALAN", "CHINESE",
      "CHINESE_SIMPLIFIED", "CHINESE_TRADITIONAL", "CORSICAN", "CROATIAN", "CZECH", "DANISH", "DARI", "DIVEHI",
      "DUTCH", "ENGLISH", "ESTONIAN", "FAEROESE", "FILIPINO", "FINNISH", "FRENCH", "FRISIAN", "GALICIAN",
      "GEORGIAN", "GERMAN", "GREEK", "GREENLANDIC", "GUJARATI", "HAUSA", "HEBREW", "HINDI", "HUNGARIAN",
      "ICELANDIC", "IGBO", "INDONESIAN", "INUKTITUT", "IRISH", "ITALIAN", "JAPANESE", "KANNADA", "KASHMIRI",
      "KAZAK", "KHMER", "KICHE", "KINYARWANDA", "KONKANI", "KOREAN", "KYRGYZ", "LAO", "LATVIAN", "LITHUANIAN",
      "LOWER_SORBIAN", "LUXEMBOURGISH", "MACEDONIAN", "MALAY", "MALAYALAM", "MALTESE", "MAORI", "MAPUDUNGUN",
      "MARATHI", "MOHAWK", "MONGOLIAN", "NEPALI", "NORWEGIAN", "OCCITAN", "ORIYA", "PASHTO", "PERSIAN",
      "POLISH", "PORTUGUESE", "PORTUGUESE_BRAZILIAN", "PORTUGUESE_PORTUGAL", "PUNJABI", "QUECHUA", "ROMANIAN",
      "ROMANSH", "RUSSIAN", "SAMI", "SANSKRIT", "SERBIAN", "SERBIAN_CYRILLIC", "SERBIAN_LATIN", "SINDHI",
      "SINHALESE", "SLOVAK", "SLOVENIAN", "SOTHO", "SPANISH", "SWAHILI", "SWEDISH", "SYRIAC", "TAJIK",
      "TAMAZIGHT", "TAMIL", "TATAR", "TELUGU", "THAI", "TIBETAN", "TIGRIGNA", "TSWANA", "TURKISH", "TURKMEN",
      "UIGHUR", "UKRAINIAN", "UPPER_SORBIAN", "URDU", "UZBEK", "VIETNAMESE", "WELSH", "WOLOF", "XHOSA",
      "YAKUT", "YI", "YORUBA", "ZULU"};
  std::set<std::string> reached;
  for (uint32_t id = 0; id <= 0xFFFF; ++id) {
    const std::string name = narrow(languageNameOfId(static_cast<uint16_t>(id)));
    if (name == "Unknown") continue;
    // Capitalised: "Chinese_simplified" is CHINESE_SIMPLIFIED.
    std::string upper = name, capitalised = name;
    for (size_t i = 0; i < name.size(); ++i) {
      upper[i] = static_cast<char>(std::toupper(static_cast<unsigned char>(name[i])));
      if (i > 0) capitalised[i] = static_cast<char>(std::tolower(static_cast<unsigned char>(name[i])));
    }
    ASSERT_EQ(name, capitalised) << std::hex << id;
    ASSERT_TRUE(listed.count(upper)) << name << " for " << std::hex << id;
    reached.insert(upper);
  }
  EXPECT_EQ(reached, listed);
}

}  // namespace
