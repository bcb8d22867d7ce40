# The languages command, and the language of the gallery's progress texts: the
# system's (natively LC_ALL, LC_MESSAGES or LANG; under Wine the prefix's, which the
# checks cannot change, so --lang stands in) or the one --lang names.

# A language's text of an id, read from the document itself.
document_text() {  # id, tag
  sed -n "/<entry id=\"$1\"/,/<\/entry>/s/.*<$2>\(.*\)<\/$2>.*/\1/p" "$root/res/lang.xml"
}
# The count of entries a language translates: its elements in the document.
document_count() { grep -c "<$1>" "$root/res/lang.xml"; }

cli languages >"$work/list" 2>"$work/err"
check "languages exits 0" test $? -eq 0
check "languages lists 34 languages" test "$(wc -l <"$work/list")" -eq 34
check "English translates all 82 texts" grep -qE '^[* ] English +82  English$' "$work/list"
check "Japanese shows its count and own name" \
  grep -qE "^[* ] Japanese +$(document_count jpn)  日本語\$" "$work/list"
check "Romanian leaves one text to English" grep -qE "^[* ] Romanian +$(document_count rom)  " "$work/list"
check "the English system's language is marked" grep -qE '^\* English ' "$work/list"

cli languages --dump >"$work/dump" 2>"$work/err"
check "the program reads the document as python's XML parser does" \
  python3 "$root/tests/lang/compare_lang_dump.py" "$work/dump"

cli languages --lang Klingon >/dev/null 2>"$work/err"
check "an unknown --lang is a usage error" test $? -eq 2
cli languages --lang japanese >"$work/list" 2>/dev/null
check "--lang takes an English name in any case" grep -qE '^\* Japanese ' "$work/list"

mkdir -p "$work/pictures"
cp "$root/samples/autumn.bmp" "$work/pictures/"
picture=$(native_path "$work/pictures/autumn.bmp")
done_ja=$(document_text 609460 jpn)
ready_ja=$(document_text 609450 jpn)
making_ja=$(document_text 609480 jpn)

cli gallery --lang Japanese "$picture" >/dev/null 2>"$work/err"
check "--lang Japanese: the gallery says Done! in Japanese" grep -qxF "$done_ja" "$work/err"
check "--lang Japanese: then Ready in Japanese" test "$(tail -n 1 "$work/err")" = "$ready_ja"
check "--lang Japanese: the start in Japanese" grep -qxF "$making_ja" "$work/err"
cli gallery --lang Klingon "$picture" >/dev/null 2>"$work/err"
check "gallery: an unknown --lang is a usage error" test $? -eq 2

if ! on_windows; then
  LANG=ja_JP.UTF-8 cli gallery "$picture" >/dev/null 2>"$work/err"
  check "LANG=ja_JP.UTF-8: the gallery speaks Japanese" grep -qxF "$done_ja" "$work/err"
  check "LANG=ja_JP.UTF-8: then Ready in Japanese" test "$(tail -n 1 "$work/err")" = "$ready_ja"
  # (bash itself complains that it has no such locale; only the program's output counts)
  { LC_ALL=ja_JP.UTF-8 LANG=de_DE.UTF-8 cli gallery "$picture" >/dev/null 2>"$work/err"; } 2>/dev/null
  check "LC_ALL wins over LANG" grep -qxF "$done_ja" "$work/err"
  LANG=ja_JP.UTF-8 cli gallery --lang English "$picture" >/dev/null 2>"$work/err"
  check "--lang wins over the system's language" grep -qx "Done!" "$work/err"
  LANG=th_TH.UTF-8 cli languages >"$work/list" 2>/dev/null
  check "a language without a pack speaks English" grep -qE '^\* English ' "$work/list"
  LANG=pt_PT.UTF-8 cli languages >"$work/list" 2>/dev/null
  check "Portugal's Portuguese speaks Brazilian Portuguese" grep -qE '^\* Portuguese_Brazilian ' "$work/list"
fi
