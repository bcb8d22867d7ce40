#include "s/lang/SystemLanguage.h"

#include "s/str/strbuffer/StrBuffer.h"

namespace s::lang {

namespace {

// Full identifiers named before their primary language is looked at.
struct FullIdentifier {
  uint16_t id;
  const char16_t* name;
};
constexpr FullIdentifier kFullIdentifiers[] = {
    {0x0004, u"CHINESE_SIMPLIFIED"},  {0x0804, u"CHINESE_SIMPLIFIED"},  {0x1004, u"CHINESE_SIMPLIFIED"},
    {0x0404, u"CHINESE_TRADITIONAL"}, {0x0C04, u"CHINESE_TRADITIONAL"}, {0x1404, u"CHINESE_TRADITIONAL"},
    {0x7C04, u"CHINESE_TRADITIONAL"}, {0x001A, u"CROATIAN"},            {0x041A, u"CROATIAN"},
    {0x101A, u"CROATIAN"},            {0x0416, u"PORTUGUESE_BRAZILIAN"}, {0x0816, u"PORTUGUESE_PORTUGAL"},
    {0x081A, u"SERBIAN_LATIN"},       {0x181A, u"SERBIAN_LATIN"},        {0x0C1A, u"SERBIAN_CYRILLIC"},
    {0x1C1A, u"SERBIAN_CYRILLIC"},    {0x7C1A, u"SERBIAN"},              {0x201A, u"BOSNIAN"},
    {0x042E, u"UPPER_SORBIAN"},       {0x082E, u"LOWER_SORBIAN"},
};

// Primary languages: the value and name of the SDK's LANG_ constant, and the ISO 639
// codes a POSIX locale names the language by (blank-separated). Where the SDK gives
// one value two names, the table keeps the one named here (0x04 CHINESE, 0x1A
// SERBIAN, 0x29 PERSIAN, 0x2E UPPER_SORBIAN).
struct PrimaryLanguage {
  uint8_t primary;
  const char16_t* name;
  const char* codes;
};
constexpr PrimaryLanguage kPrimaryLanguages[] = {
    {0x01, u"ARABIC", "ar"},        {0x02, u"BULGARIAN", "bg"},      {0x03, u"CATALAN", "ca"},
    {0x04, u"CHINESE", "zh"},       {0x05, u"CZECH", "cs"},          {0x06, u"DANISH", "da"},
    {0x07, u"GERMAN", "de"},        {0x08, u"GREEK", "el"},          {0x09, u"ENGLISH", "en"},
    {0x0A, u"SPANISH", "es"},       {0x0B, u"FINNISH", "fi"},        {0x0C, u"FRENCH", "fr"},
    {0x0D, u"HEBREW", "he iw"},     {0x0E, u"HUNGARIAN", "hu"},      {0x0F, u"ICELANDIC", "is"},
    {0x10, u"ITALIAN", "it"},       {0x11, u"JAPANESE", "ja"},       {0x12, u"KOREAN", "ko"},
    {0x13, u"DUTCH", "nl"},         {0x14, u"NORWEGIAN", "nb nn no"}, {0x15, u"POLISH", "pl"},
    {0x16, u"PORTUGUESE", "pt"},    {0x17, u"ROMANSH", "rm"},        {0x18, u"ROMANIAN", "ro"},
    {0x19, u"RUSSIAN", "ru"},       {0x1A, u"SERBIAN", "sr hr bs"},  {0x1B, u"SLOVAK", "sk"},
    {0x1C, u"ALBANIAN", "sq"},      {0x1D, u"SWEDISH", "sv"},        {0x1E, u"THAI", "th"},
    {0x1F, u"TURKISH", "tr"},       {0x20, u"URDU", "ur"},           {0x21, u"INDONESIAN", "id in"},
    {0x22, u"UKRAINIAN", "uk"},     {0x23, u"BELARUSIAN", "be"},     {0x24, u"SLOVENIAN", "sl"},
    {0x25, u"ESTONIAN", "et"},      {0x26, u"LATVIAN", "lv"},        {0x27, u"LITHUANIAN", "lt"},
    {0x28, u"TAJIK", "tg"},         {0x29, u"PERSIAN", "fa"},        {0x2A, u"VIETNAMESE", "vi"},
    {0x2B, u"ARMENIAN", "hy"},      {0x2C, u"AZERI", "az"},          {0x2D, u"BASQUE", "eu"},
    {0x2E, u"UPPER_SORBIAN", "hsb dsb"}, {0x2F, u"MACEDONIAN", "mk"}, {0x32, u"TSWANA", "tn"},
    {0x34, u"XHOSA", "xh"},         {0x35, u"ZULU", "zu"},           {0x36, u"AFRIKAANS", "af"},
    {0x37, u"GEORGIAN", "ka"},      {0x38, u"FAEROESE", "fo"},       {0x39, u"HINDI", "hi"},
    {0x3A, u"MALTESE", "mt"},       {0x3B, u"SAMI", "se smn sms sma smj"}, {0x3C, u"IRISH", "ga"},
    {0x3E, u"MALAY", "ms"},         {0x3F, u"KAZAK", "kk"},          {0x40, u"KYRGYZ", "ky"},
    {0x41, u"SWAHILI", "sw"},       {0x42, u"TURKMEN", "tk"},        {0x43, u"UZBEK", "uz"},
    {0x44, u"TATAR", "tt"},         {0x45, u"BENGALI", "bn"},        {0x46, u"PUNJABI", "pa"},
    {0x47, u"GUJARATI", "gu"},      {0x48, u"ORIYA", "or"},          {0x49, u"TAMIL", "ta"},
    {0x4A, u"TELUGU", "te"},        {0x4B, u"KANNADA", "kn"},        {0x4C, u"MALAYALAM", "ml"},
    {0x4D, u"ASSAMESE", "as"},      {0x4E, u"MARATHI", "mr"},        {0x4F, u"SANSKRIT", "sa"},
    {0x50, u"MONGOLIAN", "mn"},     {0x51, u"TIBETAN", "bo"},        {0x52, u"WELSH", "cy"},
    {0x53, u"KHMER", "km"},         {0x54, u"LAO", "lo"},            {0x56, u"GALICIAN", "gl"},
    {0x57, u"KONKANI", "kok"},      {0x59, u"SINDHI", "sd"},         {0x5A, u"SYRIAC", "syr"},
    {0x5B, u"SINHALESE", "si"},     {0x5D, u"INUKTITUT", "iu"},      {0x5E, u"AMHARIC", "am"},
    {0x5F, u"TAMAZIGHT", "tzm ber"}, {0x60, u"KASHMIRI", "ks"},      {0x61, u"NEPALI", "ne"},
    {0x62, u"FRISIAN", "fy"},       {0x63, u"PASHTO", "ps"},         {0x64, u"FILIPINO", "fil tl"},
    {0x65, u"DIVEHI", "dv"},        {0x68, u"HAUSA", "ha"},          {0x6A, u"YORUBA", "yo"},
    {0x6B, u"QUECHUA", "qu quz"},   {0x6C, u"SOTHO", "nso"},         {0x6D, u"BASHKIR", "ba"},
    {0x6E, u"LUXEMBOURGISH", "lb"}, {0x6F, u"GREENLANDIC", "kl"},    {0x70, u"IGBO", "ig"},
    {0x73, u"TIGRIGNA", "ti"},      {0x78, u"YI", "ii"},             {0x7A, u"MAPUDUNGUN", "arn"},
    {0x7C, u"MOHAWK", "moh"},       {0x7E, u"BRETON", "br"},         {0x80, u"UIGHUR", "ug"},
    {0x81, u"MAORI", "mi"},         {0x82, u"OCCITAN", "oc"},        {0x83, u"CORSICAN", "co"},
    {0x84, u"ALSATIAN", "gsw"},     {0x85, u"YAKUT", "sah"},         {0x86, u"KICHE", "quc"},
    {0x87, u"KINYARWANDA", "rw"},   {0x88, u"WOLOF", "wo"},          {0x8C, u"DARI", "prs"},
};

// Locales whose identifier is not the primary language's default one: the
// language, the territory (nullptr: any), the modifier (nullptr: any) and the
// identifier. The first match wins.
struct LocaleIdentifier {
  const char* language;
  const char* territory;
  const char* modifier;
  uint16_t id;
};
constexpr LocaleIdentifier kLocaleIdentifiers[] = {
    {"zh", "CN", nullptr, 0x0804},  {"zh", "SG", nullptr, 0x1004},      {"zh", "TW", nullptr, 0x0404},
    {"zh", "HK", nullptr, 0x0C04},  {"zh", "MO", nullptr, 0x1404},      {"zh", nullptr, nullptr, 0x0004},
    {"pt", "BR", nullptr, 0x0416},  {"pt", "PT", nullptr, 0x0816},      {"sr", nullptr, "latin", 0x081A},
    {"sr", nullptr, nullptr, 0x0C1A}, {"hr", "BA", nullptr, 0x101A},    {"hr", nullptr, nullptr, 0x041A},
    {"bs", nullptr, "cyrillic", 0x201A}, {"bs", nullptr, nullptr, 0x141A}, {"hsb", nullptr, nullptr, 0x042E},
    {"dsb", nullptr, nullptr, 0x082E},
};

constexpr uint16_t kEnglishUnitedStates = 0x0409;
// The sublanguage of a primary language's default identifier (SUBLANG_DEFAULT << 10).
constexpr uint16_t kDefaultSublanguage = 0x0400;

const char16_t* upperCaseNameOf(uint16_t languageId) {
  for (const FullIdentifier& full : kFullIdentifiers) {
    if (full.id == languageId) return full.name;
  }
  const uint8_t primary = languageId & 0xFF;
  for (const PrimaryLanguage& language : kPrimaryLanguages) {
    if (language.primary == primary) return language.name;
  }
  return u"Unknown";
}

// Whether code is one of the blank-separated words of codes.
bool listsCode(std::string_view codes, std::string_view code) {
  while (!codes.empty()) {
    const size_t blank = codes.find(' ');
    if (codes.substr(0, blank) == code) return true;
    if (blank == std::string_view::npos) break;
    codes.remove_prefix(blank + 1);
  }
  return false;
}

bool matches(const char* wanted, std::string_view part) { return !wanted || part == wanted; }

}  // namespace

std::u16string languageNameOfId(uint16_t languageId) {
  str::strbuffer::StrBuffer name(upperCaseNameOf(languageId));
  name.capitalize();
  return std::u16string(name.view());
}

uint16_t languageIdOfLocale(std::string_view locale) {
  // language[_territory][.codeset][@modifier]
  std::string_view modifier;
  if (const size_t at = locale.find('@'); at != std::string_view::npos) {
    modifier = locale.substr(at + 1);
    locale = locale.substr(0, at);
  }
  locale = locale.substr(0, locale.find('.'));
  std::string_view territory;
  if (const size_t underscore = locale.find('_'); underscore != std::string_view::npos) {
    territory = locale.substr(underscore + 1);
    locale = locale.substr(0, underscore);
  }
  const std::string_view language = locale;
  if (language == "C" || language == "POSIX") return kEnglishUnitedStates;
  for (const LocaleIdentifier& special : kLocaleIdentifiers) {
    if (language == special.language && matches(special.territory, territory) && matches(special.modifier, modifier)) {
      return special.id;
    }
  }
  if (language.empty()) return 0;
  for (const PrimaryLanguage& primary : kPrimaryLanguages) {
    if (listsCode(primary.codes, language)) return kDefaultSublanguage | primary.primary;
  }
  return 0;
}

std::u16string_view systemLanguageName() {
  static const std::u16string name = languageNameOfId(systemLanguageId());
  return name;
}

}  // namespace s::lang
