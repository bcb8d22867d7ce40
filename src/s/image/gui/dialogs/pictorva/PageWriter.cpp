#include "s/image/gui/dialogs/pictorva/PageWriter.h"

namespace s::image::gui::dialogs::pictorva {

namespace {

// The lines of a page that the builder writes into the template.
enum class Hole { kNone, kTitle, kCellWidth, kInsertTable, kRows };

struct TemplateLine {
  int tabs;
  const char* text;  // nullptr for a hole
  Hole hole = Hole::kNone;
};

#include "s/image/gui/dialogs/pictorva/PageTemplates.inc"

constexpr char16_t kHexDigits[] = u"0123456789ABCDEF";

void appendAscii(std::u16string& out, const char* text) {
  while (*text) out.push_back(static_cast<char16_t>(static_cast<unsigned char>(*text++)));
}

void appendNumber(std::u16string& out, int64_t value) {
  const std::string digits = std::to_string(value);
  appendAscii(out, digits.c_str());
}

void appendLine(std::u16string& out, int tabs, std::u16string_view text) {
  out.append(static_cast<size_t>(tabs), u'\t');
  out.append(text);
  out.append(u"\r\n");
}

// %XX of each UTF-8 byte of one code point.
void appendPercentUtf8(std::u16string& out, char32_t codePoint) {
  unsigned char bytes[4];
  int count;
  if (codePoint < 0x80) {
    bytes[0] = static_cast<unsigned char>(codePoint);
    count = 1;
  } else if (codePoint < 0x800) {
    bytes[0] = static_cast<unsigned char>(0xC0 | (codePoint >> 6));
    bytes[1] = static_cast<unsigned char>(0x80 | (codePoint & 0x3F));
    count = 2;
  } else {
    bytes[0] = static_cast<unsigned char>(0xE0 | (codePoint >> 12));
    bytes[1] = static_cast<unsigned char>(0x80 | ((codePoint >> 6) & 0x3F));
    bytes[2] = static_cast<unsigned char>(0x80 | (codePoint & 0x3F));
    count = 3;
  }
  for (int i = 0; i < count; ++i) {
    out.push_back(u'%');
    out.push_back(kHexDigits[bytes[i] >> 4]);
    out.push_back(kHexDigits[bytes[i] & 0xF]);
  }
}

bool isLineSeparator(char16_t unit) { return unit == 0x2028 || unit == 0x2029; }
bool isControl(char16_t unit) { return unit < 0x20 || unit == 0x7F; }
bool isHighSurrogate(char16_t unit) { return unit >= 0xD800 && unit <= 0xDBFF; }
bool isLowSurrogate(char16_t unit) { return unit >= 0xDC00 && unit <= 0xDFFF; }

// Appends one unit of a display name in its script-string form.
void appendDisplayUnit(std::u16string& out, char16_t unit) {
  switch (unit) {
    case u'\'': out.append(u"\\'"); return;
    case u'\\': out.append(u"\\\\"); return;
    case u'"': out.append(u"&quot;"); return;
    case u'<': out.append(u"&lt;"); return;
    case u'>': out.append(u"&gt;"); return;
    default: break;
  }
  if (isControl(unit) || isLineSeparator(unit)) {
    out.append(u"\\u");
    for (int shift = 12; shift >= 0; shift -= 4) out.push_back(kHexDigits[(unit >> shift) & 0xF]);
    return;
  }
  out.push_back(unit);
}

void appendRowLine(std::u16string& out, const PageRow& row, bool tile, int64_t nameLimit) {
  std::u16string_view base, type;
  PageWriter::splitName(row.sourceName, &base, &type);
  std::u16string line = u"window.thumb.addImage('simg/";
  if (tile) {
    line += PageWriter::linkName(row.smallName);
    line += u"', ";
    appendNumber(line, row.smallWidth);
    line += u", ";
    appendNumber(line, row.smallHeight);
  } else {
    line += u"', 0, 0";
  }
  line += u", '";
  line += PageWriter::displayName(base, tile, nameLimit);
  line += u"', 'img/";
  line += PageWriter::linkName(row.sourceName);
  line += u"', ";
  appendNumber(line, row.sourceWidth);
  line += u", ";
  appendNumber(line, row.sourceHeight);
  line += u", '";
  line += PageWriter::sizeText(row.sourceSize, tile ? u"k" : u"KB");
  line += u"', '";
  line += type;
  line += u"');";
  appendLine(out, 0, line);
}

// The template's lines in order; substitute(hole, out) writes the lines the
// template leaves open.
template <size_t kLineCount, class Substitute>
std::u16string fillTemplate(const TemplateLine (&lines)[kLineCount], size_t rowCount, Substitute substitute) {
  std::u16string out;
  out.reserve(6000 + rowCount * 200);
  for (size_t i = 0; i < kLineCount; ++i) {
    if (lines[i].hole != Hole::kNone) {
      substitute(lines[i].hole, out);
      continue;
    }
    out.append(static_cast<size_t>(lines[i].tabs), u'\t');
    appendAscii(out, lines[i].text);
    out.append(u"\r\n");
  }
  return out;
}

void appendTitleLine(std::u16string& out, std::u16string_view title) {
  // The title goes in as the user typed it, unescaped.
  std::u16string line = u"<title>";
  line += title;
  line += u"</title>";
  appendLine(out, 0, line);
}

void appendInsertTableLine(std::u16string& out, size_t rowCount) {
  std::u16string line = u"window.thumb.insertTable(";
  appendNumber(line, static_cast<int64_t>(rowCount));
  line += u");";
  appendLine(out, 0, line);
}

}  // namespace

std::u16string PageWriter::linkName(std::u16string_view fileName) {
  std::u16string out;
  out.reserve(fileName.size() + 16);
  for (char16_t unit : fileName) {
    switch (unit) {
      case u'%': out.append(u"%25"); break;
      case u' ': out.append(u"%20"); break;
      case u'&': out.append(u"%26"); break;
      case u';': out.append(u"%3B"); break;
      case u'@': out.append(u"%40"); break;
      case u'\'': out.append(u"\\'"); break;
      // A '#' would end the path at a fragment; the others cannot occur in Windows
      // names but can on Linux, where they would break the attribute or the string.
      case u'#':
      case u'"':
      case u'<':
      case u'>':
      case u'\\':
      case u'?': appendPercentUtf8(out, unit); break;
      default:
        if (isControl(unit) || isLineSeparator(unit)) {
          appendPercentUtf8(out, unit);
        } else {
          out.push_back(unit);
        }
    }
  }
  return out;
}

void PageWriter::splitName(std::u16string_view fileName, std::u16string_view* base, std::u16string_view* type) {
  const size_t dot = fileName.rfind(u'.');
  if (dot == std::u16string_view::npos) {
    *base = {};
    *type = {};
    return;
  }
  *base = fileName.substr(0, dot);
  *type = fileName.substr(dot + 1);
}

std::u16string PageWriter::displayName(std::u16string_view base, bool shorten, int64_t limit) {
  // Walk the name as the classic rule sees it (an apostrophe already written as \',
  // i.e. two units of width 1), but keep whole what one source unit or one surrogate
  // pair became, so a cut never lands inside an escape or a pair.
  size_t keep = base.size();
  bool cut = false;
  if (shorten) {
    int64_t width = 0;
    for (size_t i = 0; i < base.size(); ++i) {
      const char16_t unit = base[i];
      const int units = unit == u'\'' ? 2 : 1;
      width += unit < 256 ? units : 2;
      if (width >= limit) {
        keep = i + 1;
        if (isHighSurrogate(unit) && keep < base.size() && isLowSurrogate(base[keep])) ++keep;
        cut = true;
        break;
      }
    }
  }
  std::u16string out;
  out.reserve(keep + 8);
  for (size_t i = 0; i < keep; ++i) appendDisplayUnit(out, base[i]);
  if (cut) out.append(u"...");
  return out;
}

std::u16string PageWriter::sizeText(uint64_t bytes, std::u16string_view unit) {
  std::u16string out;
  appendAscii(out, std::to_string((bytes >> 10) + 1).c_str());
  out.append(unit);
  return out;
}

std::u16string PageWriter::tilePage(std::u16string_view title, const std::vector<PageRow>& rows, int32_t cellWidth) {
  // Integer division truncating toward zero, as C++ does.
  const int64_t nameLimit = cellWidth / 10;
  return fillTemplate(kTileTemplate, rows.size(), [&](Hole hole, std::u16string& out) {
    switch (hole) {
      case Hole::kTitle: appendTitleLine(out, title); break;
      case Hole::kCellWidth: {
        // No semicolon here; 64-bit so that a huge cell width cannot overflow.
        std::u16string text = u"window.thumb.cellWidth = ";
        appendNumber(text, static_cast<int64_t>(cellWidth) + 5);
        appendLine(out, 0, text);
        break;
      }
      case Hole::kInsertTable: appendInsertTableLine(out, rows.size()); break;
      case Hole::kRows:
        for (const PageRow& row : rows) appendRowLine(out, row, true, nameLimit);
        break;
      case Hole::kNone: break;
    }
  });
}

std::u16string PageWriter::flatPage(std::u16string_view title, const std::vector<PageRow>& rows) {
  return fillTemplate(kFlatTemplate, rows.size(), [&](Hole hole, std::u16string& out) {
    switch (hole) {
      case Hole::kTitle: appendTitleLine(out, title); break;
      case Hole::kInsertTable: appendInsertTableLine(out, rows.size()); break;
      case Hole::kRows:
        for (const PageRow& row : rows) appendRowLine(out, row, false, 0);
        break;
      case Hole::kCellWidth:
      case Hole::kNone: break;
    }
  });
}

}  // namespace s::image::gui::dialogs::pictorva
