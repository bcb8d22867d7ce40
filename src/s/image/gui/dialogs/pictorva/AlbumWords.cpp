#include "s/image/gui/dialogs/pictorva/AlbumWords.h"

#include "s/str/strbuffer/StrBuffer.h"

namespace s::image::gui::dialogs::pictorva {

namespace {

struct TagPair {
  std::u16string_view pack;
  std::u16string_view standard;
};

// Every pack of the language document. Spanish is the Latin American one, and the
// Serbian packs differ by their script.
constexpr TagPair kTags[] = {
    {u"eng", u"en"},      {u"bel", u"be"},      {u"zhs", u"zh-Hans"}, {u"deu", u"de"},      {u"ell", u"el"},
    {u"fra", u"fr"},      {u"spa", u"es-419"},  {u"ita", u"it"},      {u"jpn", u"ja"},      {u"kor", u"ko"},
    {u"hun", u"hu"},      {u"rus", u"ru"},      {u"swe", u"sv"},      {u"tur", u"tr"},      {u"vec", u"vec"},
    {u"ara", u"ar"},      {u"ind", u"id"},      {u"bul", u"bg"},      {u"zht", u"zh-Hant"}, {u"cze", u"cs"},
    {u"cpn", u"sr-Cyrl"}, {u"dan", u"da"},      {u"est", u"et"},      {u"hrv", u"hr"},      {u"nld", u"nl"},
    {u"per", u"fa"},      {u"pol", u"pl"},      {u"bra", u"pt-BR"},   {u"rom", u"ro"},      {u"slk", u"sk"},
    {u"srp", u"sr-Latn"}, {u"fin", u"fi"},      {u"ukr", u"uk"},      {u"vie", u"vi"},
};

bool sameTag(std::u16string_view a, std::u16string_view b) { return str::strbuffer::StrBuffer(a).equalsIgnoreCase(b); }

}  // namespace

std::u16string_view AlbumWords::standardTag(std::u16string_view packTag) {
  for (const TagPair& pair : kTags) {
    if (sameTag(pair.pack, packTag)) return pair.standard;
  }
  return u"en";
}

bool AlbumWords::isRightToLeft(std::u16string_view packTag) { return sameTag(packTag, u"ara") || sameTag(packTag, u"per"); }

AlbumWords AlbumWords::of(std::u16string_view packTag, const std::function<std::u16string(int32_t id)>& text) {
  AlbumWords words;
  words.languageTag = std::u16string(standardTag(packTag));
  words.rightToLeft = isRightToLeft(packTag);
  if (!text) return words;
  auto take = [&](int32_t id, std::u16string& word) {
    std::u16string found = text(id);
    if (!found.empty()) word = std::move(found);
  };
  take(kCloseText, words.close);
  take(kPreviousText, words.previous);
  take(kNextText, words.next);
  take(kDownloadText, words.download);
  take(kTakenText, words.taken);
  return words;
}

}  // namespace s::image::gui::dialogs::pictorva
