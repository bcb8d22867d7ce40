#!/usr/bin/env python3
"""Checks the language document res/lang.xml independently of the program.

The document is read twice: with python's XML parser, and text by text with
the element-text rules of the program's own lenient reader (leading white
space skipped, "&#160;" a blank that survives trimming, only a handful of
entities known). Both readings must agree, and the packs built from them must
give every language a usable text for every id.

Usage: check_lang_document.py [path]   (default: res/lang.xml of this checkout)
Prints, per language, how many of the translatable texts it carries; exits 1
on any failure, after listing all of them.
"""

import re
import sys
import xml.etree.ElementTree as ET
from pathlib import Path

# The packs in menu order: tag of the language's elements, English name
# (the key saved as the chosen language), name shown in the language menu.
LANGUAGES = [
    ("eng", "English", "English"),
    ("bel", "Belarusian", "Беларускі"),
    ("zhs", "Chinese_Simplified", "简体中文"),
    ("deu", "German", "Deutsch"),
    ("ell", "Greek", "Ελληνικά"),
    ("fra", "French", "Français"),
    ("spa", "Spanish", "Español Latino"),
    ("ita", "Italian", "Italiano"),
    ("jpn", "Japanese", "日本語"),
    ("kor", "Korean", "한국어"),
    ("hun", "Hungarian", "Magyar"),
    ("rus", "Russian", "Русский"),
    ("swe", "Swedish", "Svenska"),
    ("tur", "Turkish", "Türkçe"),
    ("vec", "Venetian", "Vèneto (vec-to)"),
    ("ara", "Arabic", "عربي (Partial)"),
    ("ind", "Indonesian", "Bahasa Indonesia (Partial)"),
    ("bul", "Bulgarian", "Български (Partial)"),
    ("zht", "Chinese_Traditional", "繁體中文 (Partial)"),
    ("cze", "Czech", "Cestina (Partial)"),
    ("cpn", "Serbian_Cyrillic", "Српски (Partial)"),
    ("dan", "Danish", "Dansk (Partial)"),
    ("est", "Estonian", "Eesti (Partial)"),
    ("hrv", "Croatian", "Hrvatski (Partial)"),
    ("nld", "Dutch", "Nederlands (Partial)"),
    ("per", "Persian", "فارسی (Partial)"),
    ("pol", "Polish", "Polski (Partial)"),
    ("bra", "Portuguese_Brazilian", "Portugus Brasileiro (Partial)"),
    ("rom", "Romanian", "Română (Partial)"),
    ("slk", "Slovak", "Slovensky (Partial)"),
    ("srp", "Serbian_Latin", "Srpski (Partial)"),
    ("fin", "Finnish", "Suomeksi (Partial)"),
    ("ukr", "Ukrainian", "Українська (Partial)"),
    # The dot below is a combining mark (U+0323) after ê, as the name is stored.
    ("vie", "Vietnamese", "Vi\u00ea\u0323t Nam (Partial)"),
]
PARTIAL_SUFFIX = " (Partial)"

ENTRY_COUNT = 82
# Ids the program and its frame ask for.
REQUIRED_IDS = (
    100000, 101000, 107000, 108000, 108500, 300000,
    400010, 400020, 400030, 400080, 400100, 400120,
    500000, 500002, 500003, 500004, 500006, 500010, 500020, 500030,
    609000, 609100, 609200, 609300, 609350, 609400, 609420, 609430, 609440,
    609450, 609460, 700000, 700001, 701000, 701100, 701200, 701300,
    1000000, 1001000, 1002000, 1003000, 1004000, 1005000, 1006000,
    1101000, 1102000, 1103000, 1105000, 1106000, 1107000, 1108000, 1109000,
    1120000, 1120100, 1120200, 1120300, 1120400,
    2010000000, 2010001000,
)
# Ids the program asks for and finds missing on purpose (it then shows a
# built-in English text); the document must not carry them.
ABSENT_IDS = (608225, 608299, 1006050)

# The same in every language: site name and addresses, software id and
# product name, anchor name, version, date, systems, file types. Only the
# English element carries them; every other pack falls back to it.
UNTRANSLATED = {
    100000, 101000, 108000, 108500, 300000, 500000, 500002, 500003, 500004,
    500006, 500010, 500020, 500030, 1003000,
}
SITE = "https://pictorva.example/"
SITE_NAME_ID = 100000
ADDRESS_IDS = (101000, 108000, 108500, 500003, 500004, 500006)

# Texts of the main window, which even a partial translation carries.
MAIN_WINDOW_RANGES = ((609000, 609460), (1000000, 1108000))
# Romanian deliberately leaves "Drop Box" to the English fallback.
LEFT_TO_ENGLISH = {(1001000, "rom")}
# Words that rightly read the same as the English in that language.
SAME_AS_ENGLISH = {
    400010: {"deu", "swe", "dan"},  # "Version:"
    400080: {"deu", "jpn", "kor", "vec"},  # "URL:"
    1103000: {"deu", "fra", "ita", "hun", "swe", "vec", "ind", "cze", "dan", "est",
              "hrv", "nld", "pol", "rom", "slk", "srp"},  # "Album"
}
# Entries of one list: the saved choice is found again by its text, ignoring
# case, so two entries that read alike make the second one unreachable.
CHOICE_LISTS = ((1101000, 1102000, 1103000),)

# Script slips that pass unseen on screen: a Latin letter typed inside a
# Cyrillic word, Cyrillic in Serbian's Latin pack, Arabic yeh and kaf in
# Persian (which writes \u06cc and \u06a9), the other Chinese character set.
CYRILLIC_PACKS = ("bel", "bul", "cpn", "rus", "ukr")
LATIN_SERBIAN = "srp"
MAKER = "Tarn"  # the maker's name stays in Latin letters in every pack
ARABIC_ONLY = set("\u064a\u0643")
# Simplified and traditional forms, in pairs, of characters such texts use.
CHINESE_PAIRS = (
    "与與个個关關写寫击擊动動区區单單发發图圖复複夹夾宽寬层層态態择擇换換"
    "浏瀏显顯标標栏欄样樣状狀览覽级級线線统統绪緒缩縮网網联聯见見视視访訪"
    "译譯该該语語请請读讀轮輪软軟轻輕输輸选選钮鈕键鍵闭閉间間隐隱页頁项項"
    "题題开開体體设設资資讯訊检檢这這为為档檔进進时時条條处處护護帮幫库庫"
    "边邊铺鋪顶頂问問终終滚滾启啟传傳协協员員让讓给給络絡业業阶階块塊无無"
    "并並内內称稱"
)
SIMPLIFIED_ONLY = set(CHINESE_PAIRS[0::2])
TRADITIONAL_ONLY = set(CHINESE_PAIRS[1::2])

# Entities the program's reader decodes in element text; anything else
# beginning with "&" stays literal there (so "&quot;" would show as typed).
TEXT_ENTITIES = (
    ("&amp;", "&"), ("&lt;", "<"), ("&gt;", ">"),
    ("&#160;", " "), ("&#13;", "\r"), ("&#10;", "\n"),
)
LEADING_SKIPPED = "\t\n\r "
TRAILING_TRIMMED = " \t\n\r\u3000"
# The reader splits an attribute name at "=" or a blank and stops a tag's
# attributes at "/" or ">": one blank before each name, none elsewhere.
TAG_SHAPE = re.compile(r'</?[A-Za-z]+(?: [A-Za-z]+="[^"<>]*")*/?>')
LEAF = re.compile(r"<([A-Za-z]+)>([^<]*)</\1>")
INT32_MAX = 2**31 - 1


def program_text(raw):
    """The text the program's reader makes of an element's raw content."""
    i = len(raw) - len(raw.lstrip(LEADING_SKIPPED))
    out = []
    kept = 0  # characters up to the last one produced by an entity
    while i < len(raw):
        for entity, value in TEXT_ENTITIES:
            if raw.startswith(entity, i):
                out.append(value)
                i += len(entity)
                kept = len(out)
                break
        else:
            out.append(raw[i])
            i += 1
    while len(out) > kept and out[-1] in TRAILING_TRIMMED:
        out.pop()
    return "".join(out)


def is_cyrillic(char):
    return "\u0400" <= char <= "\u04ff"


def foreign_letters(tag, text):
    """Letters of another script than the pack's own."""
    if tag in CYRILLIC_PACKS:
        return {c for c in text.replace(MAKER, "") if c.isalpha() and not is_cyrillic(c)}
    if tag == LATIN_SERBIAN:
        return {c for c in text if is_cyrillic(c)}
    if tag == "per":
        return set(text) & ARABIC_ONLY
    if tag == "zhs":
        return set(text) & TRADITIONAL_ONLY
    if tag == "zht":
        return set(text) & SIMPLIFIED_ONLY
    return set()


def independent_text(element):
    """The element's text as python's parser reads it, with the no-break
    space of "&#160;" taken as the plain blank the program makes of it."""
    return (element.text or "").replace("\u00a0", " ")


class Checker:
    def __init__(self, path):
        self.path = path
        self.failures = []

    def fail(self, message):
        self.failures.append(message)

    def run(self):
        raw_bytes = self.path.read_bytes()
        if raw_bytes.startswith(b"\xef\xbb\xbf"):
            self.fail("the document starts with a byte-order mark")
        try:
            raw = raw_bytes.decode("utf-8")
        except UnicodeDecodeError as error:
            self.fail(f"the document is not UTF-8: {error}")
            return
        self.check_raw(raw)
        try:
            root = ET.fromstring(raw)
        except ET.ParseError as error:
            self.fail(f"the document is not well-formed XML: {error}")
            return
        self.check_readers_agree(raw, root)
        entries = self.check_structure(root)
        if entries is not None:
            self.check_texts(entries)

    def check_raw(self, raw):
        # The reader takes the first element as the root and knows no
        # declaration, comment before the root, DOCTYPE or CDATA.
        if not raw.startswith("<lang>"):
            self.fail('the document does not begin directly with "<lang>"')
        for marker in ("<?", "<!"):
            if marker in raw:
                self.fail(f'the document holds "{marker}", which the reader does not know')
        for tag in re.findall(r"<[^<>]*>", raw):
            if not TAG_SHAPE.fullmatch(tag):
                self.fail(f"tag written in a form the reader misreads: {tag}")

    def check_readers_agree(self, raw, root):
        leaves = [child for entry in root.iter("entry") for child in entry]
        raw_leaves = LEAF.findall(raw)
        if len(raw_leaves) != len(leaves):
            self.fail(f"{len(leaves)} text elements, but {len(raw_leaves)} written as plain <x>text</x>")
            return
        for element, (name, content) in zip(leaves, raw_leaves):
            ours, theirs = program_text(content), independent_text(element)
            if name != element.tag or ours != theirs:
                self.fail(f"<{name}>{content}</{name}>: the program reads {ours!r}, "
                          f"an XML parser {theirs!r}")

    def check_structure(self, root):
        if root.tag != "lang" or [c.tag for c in root] != ["languages", "entries"]:
            self.fail('the root must be "lang" holding "languages" then "entries"')
            return None
        languages, entries = root
        found = []
        for element in languages:
            if element.tag != "entry" or set(element.attrib) != {"tagName", "engName", "trueName"}:
                self.fail(f"language element {element.tag} {element.attrib} is malformed")
            found.append((element.get("tagName"), element.get("engName"), element.get("trueName")))
        if found != LANGUAGES:
            for index in range(max(len(found), len(LANGUAGES))):
                have = found[index] if index < len(found) else None
                want = LANGUAGES[index] if index < len(LANGUAGES) else None
                if have != want:
                    self.fail(f"language {index}: found {have}, expected {want}")
        tags = [tag for tag, _, _ in LANGUAGES]

        table = {}
        previous = -1
        for entry in entries:
            ident_text = entry.get("id", "")
            if entry.tag != "entry" or not re.fullmatch(r"[0-9]+", ident_text):
                self.fail(f"entry {entry.tag} id={ident_text!r} needs a numeric id")
                continue
            ident = int(ident_text)
            if ident > INT32_MAX:
                self.fail(f"id {ident} does not fit a signed 32-bit number")
            if ident <= previous:
                self.fail(f"id {ident} does not ascend after {previous}")
            previous = ident
            children = list(entry)
            if not children or children[0].tag != "eng":
                self.fail(f"id {ident}: the first child is not eng")
            texts = {}
            for child in children:
                if child.tag not in tags:
                    self.fail(f"id {ident}: unknown language tag {child.tag}")
                elif child.tag in texts:
                    self.fail(f"id {ident}: {child.tag} appears twice")
                elif len(child) or child.attrib:
                    self.fail(f"id {ident}: {child.tag} holds elements or attributes")
                texts.setdefault(child.tag, independent_text(child))
            table[ident] = texts
        if len(table) != ENTRY_COUNT:
            self.fail(f"{len(table)} entries, expected {ENTRY_COUNT}")
        for ident in REQUIRED_IDS:
            if ident not in table:
                self.fail(f"id {ident} is missing")
        for ident in ABSENT_IDS:
            if ident in table:
                self.fail(f"id {ident} must stay out of the document")
        return table

    def check_texts(self, table):
        english = {ident: texts.get("eng", "") for ident, texts in table.items()}
        for ident, text in english.items():
            if not text.strip():
                self.fail(f"id {ident}: empty English text")
        for ident in ADDRESS_IDS:
            if not english.get(ident, "").startswith(SITE):
                self.fail(f"id {ident}: address {english.get(ident)!r} is not under {SITE}")
        site_name = SITE.split("/")[2]
        if english.get(SITE_NAME_ID) != site_name:
            self.fail(f"id {SITE_NAME_ID}: site name should be {site_name!r}")

        for tag, _, true_name in LANGUAGES[1:]:
            partial = true_name.endswith(PARTIAL_SUFFIX)
            for ident, texts in table.items():
                text = texts.get(tag)
                if (ident, tag) in LEFT_TO_ENGLISH:
                    if text is not None:
                        self.fail(f"id {ident}: {tag} must be left to the English text")
                    continue
                if ident in UNTRANSLATED:
                    if text is not None and text != english[ident]:
                        self.fail(f"id {ident}: {tag} changes a text that stays as it is")
                    continue
                if text is None:
                    if not partial or in_main_window(ident):
                        self.fail(f"id {ident}: no {tag} text")
                    continue
                self.check_translation(ident, tag, english[ident], text)
            for choices in CHOICE_LISTS:
                for at, first in enumerate(choices):
                    for second in choices[at + 1:]:
                        a = table.get(first, {}).get(tag, english.get(first, ""))
                        b = table.get(second, {}).get(tag, english.get(second, ""))
                        if a.casefold() == b.casefold():
                            self.fail(f"ids {first} and {second}: {tag} entries read alike ({a!r})")

    def check_translation(self, ident, tag, english, text):
        where = f"id {ident} {tag} {text!r}"
        if not text.strip():
            self.fail(f"{where}: empty")
            return
        if text == english and tag not in SAME_AS_ENGLISH.get(ident, ()):
            self.fail(f"{where}: same as the English")
        # A label's trailing blank keeps it off the field beside it.
        if english.endswith(" ") != text.endswith(" ") or text.startswith(" "):
            self.fail(f"{where}: blank at the ends differs from the English {english!r}")
        if english.rstrip().endswith(":") and not text.rstrip().endswith((":", "：")):
            self.fail(f"{where}: the label lost its colon")
        if english.endswith(">>") and not text.endswith(">>"):
            self.fail(f"{where}: the button lost its closing >>")
        if english.startswith("<<") and not text.startswith("<<"):
            self.fail(f"{where}: the button lost its opening <<")
        if any(c in text for c in "\r\n\t"):
            self.fail(f"{where}: holds a line break or tab")
        foreign = foreign_letters(tag, text)
        if foreign:
            self.fail(f"{where}: letters of another script: {''.join(sorted(foreign))}")

    def report_counts(self):
        root = ET.parse(self.path).getroot()
        translatable = [e for e in root.find("entries") if int(e.get("id")) not in UNTRANSLATED]
        print(f"translatable texts: {len(translatable)}")
        for tag, english_name, _ in LANGUAGES:
            carried = sum(1 for e in translatable
                          if e.find(tag) is not None and independent_text(e.find(tag)).strip())
            print(f"  {tag} {english_name:<22} {carried}")


def in_main_window(ident):
    return any(low <= ident <= high for low, high in MAIN_WINDOW_RANGES)


def main():
    default = Path(__file__).resolve().parents[2] / "res" / "lang.xml"
    path = Path(sys.argv[1]) if len(sys.argv) > 1 else default
    checker = Checker(path)
    checker.run()
    if not checker.failures:
        checker.report_counts()
    for message in checker.failures:
        print(f"FAIL: {message}")
    print(f"{path}: {'ok' if not checker.failures else f'{len(checker.failures)} failures'}")
    return 1 if checker.failures else 0


if __name__ == "__main__":
    sys.exit(main())
